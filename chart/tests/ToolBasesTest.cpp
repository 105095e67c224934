// Covers chart/tools/ToolBases.cpp: a tool's place in its chart's tool list, the
// chart events it hears, a series tool whose series goes away, an axis tool's
// "AxisID" and an axis that goes away, and the owning lists of axes and tools.
#include <gtest/gtest.h>

#include <vector>

#include "chart/ChartControl.h"
#include "chart/testing/TestPointSeries.h"

namespace chart {
namespace {

using testing::TTestPointSeries;

// A tool that notes the chart and mouse events it hears.
class TNotingTool : public TKivCustomTool {
 public:
  using TKivCustomTool::TKivCustomTool;
  std::vector<int> Events, Mouse;
  bool Cancel = false;
  void ChartEvent(TChartToolEvent event) override { Events.push_back(event); }
  void ChartMouseEvent(TChartMouseEvent event, TMouseButton, TShiftState, std::int32_t, std::int32_t) override {
    Mouse.push_back(event);
    if (Cancel && ParentChart() != nullptr) ParentChart()->SetCancelMouseFlag(true);
  }
};

TEST(ToolBases, AToolTakesOnePlaceInItsChartsList) {
  TChart chart;
  auto* t = new TNotingTool(&chart);
  t->SetParentChart(&chart);
  t->SetParentChart(&chart);
  EXPECT_EQ(chart.Tools().Count(), 1);
  TChart other;
  t->SetParentChart(&other);
  EXPECT_EQ(chart.Tools().Count(), 0);
  EXPECT_EQ(other.Tools().Count(), 1);
  delete t;
  EXPECT_EQ(other.Tools().Count(), 0);
  EXPECT_EQ(TNotingTool(nullptr).Description(), "");
}

// The drawing pass calls the tools before the chart, before the series and
// after drawing; the mouse reaches them before the chart's own handling.
TEST(ToolBases, ToolsHearTheChartsEvents) {
  TChart chart;
  chart.SetBounds(300, 200);
  auto* t = new TNotingTool(&chart);
  t->SetParentChart(&chart);
  auto* off = new TNotingTool(&chart);
  off->SetParentChart(&chart);
  off->SetActive(false);
  chart.RenderToBitmap();
  EXPECT_EQ(t->Events, (std::vector<int>{cteBeforeDraw, cteBeforeDrawSeries, cteAfterDraw}));
  EXPECT_TRUE(off->Events.empty());
  int background = 0;
  chart.OnClickBackground = [&](TCustomChart&, TMouseButton, TShiftState, std::int32_t, std::int32_t) { ++background; };
  auto* s = new TTestPointSeries(&chart);
  s->SetParentChart(&chart);
  s->AddXY(0, 0);
  s->AddXY(1, 1);
  chart.RenderToBitmap();
  const TRect r = chart.ChartRect();
  chart.MouseDown(mbLeft, 0, r.Left + 5, r.Top + 5);
  chart.MouseMove(0, r.Left + 6, r.Top + 6);
  chart.MouseUp(mbLeft, 0, r.Left + 6, r.Top + 6);
  EXPECT_EQ(t->Mouse, (std::vector<int>{cmeDown, cmeMove, cmeUp}));
  EXPECT_EQ(background, 1);
  // A tool that takes the click keeps it from the chart.
  t->Cancel = true;
  chart.MouseDown(mbLeft, 0, r.Left + 5, r.Top + 5);
  EXPECT_EQ(background, 1);
}

TEST(ToolBases, ASeriesToolLosesASeriesThatGoesAway) {
  TChart chart;
  auto* s = new TTestPointSeries(&chart);
  s->SetParentChart(&chart);
  s->SetVertAxis(aRightAxis);
  TKivCustomToolSeries tool(nullptr);
  tool.SetParentChart(&chart);
  tool.SetSeries(s);
  EXPECT_EQ(tool.GetVertAxis(), chart.RightAxis());
  EXPECT_EQ(tool.EditorClassName(), "TSeriesToolEditor");
  delete s;
  EXPECT_EQ(tool.Series(), nullptr);
  EXPECT_EQ(tool.GetHorizAxis(), chart.BottomAxis());
  EXPECT_EQ(tool.GetVertAxis(), chart.LeftAxis());
  tool.SetParentChart(nullptr);
}

TEST(ToolBases, AnAxisToolStoresItsAxisByItsPlace) {
  TChart chart;
  TKivCustomToolAxis tool(nullptr);
  EXPECT_EQ(tool.AxisID(), -1);
  tool.SetAxis(chart.RightAxis());
  EXPECT_EQ(tool.ParentChart(), &chart);  // the axis brings its chart
  EXPECT_EQ(tool.AxisID(), 3);
  tool.SetAxisID(0);
  EXPECT_EQ(tool.Axis(), chart.BottomAxis());
  TChartAxis* custom = chart.CustomAxes().Add();
  tool.SetAxisID(5);
  EXPECT_EQ(tool.Axis(), custom);
  tool.SetAxisID(9);  // no such axis: unchanged
  EXPECT_EQ(tool.Axis(), custom);
  // An axis that goes away leaves the tool on its chart without an axis.
  delete custom;
  EXPECT_EQ(tool.Axis(), nullptr);
  EXPECT_EQ(tool.ParentChart(), &chart);
  tool.SetAxis(nullptr);
  EXPECT_EQ(tool.EditorClassName(), "TAxisToolEditor");
}

// The chart owns the tools on its list and its axes: it frees them as it goes,
// those nothing else owns included; a custom axis cleared from its collection
// leaves the axes list.
class TCountedTool : public TKivCustomTool {
 public:
  explicit TCountedTool(int& freed) : TKivCustomTool(nullptr), FFreed(freed) {}
  ~TCountedTool() override { ++FFreed; }

 private:
  int& FFreed;
};

class TCountedAxis : public TChartAxis {
 public:
  TCountedAxis(TCustomAxisPanel* chart, int& freed) : TChartAxis(chart), FFreed(freed) {}
  ~TCountedAxis() override { ++FFreed; }

 private:
  int& FFreed;
};

TEST(ToolBases, TheChartFreesItsToolsAndAxesAsItGoes) {
  int freed = 0;
  {
    TChart chart;
    for (int i = 0; i < 3; ++i) chart.CustomAxes().Add();
    EXPECT_EQ(chart.AxesList().Count(), 8);
    chart.CustomAxes().Clear();
    EXPECT_EQ(chart.AxesList().Count(), 5);
    for (int i = 0; i < 3; ++i) (new TCountedTool(freed))->SetParentChart(&chart);
    new TCountedAxis(&chart, freed);
    EXPECT_EQ(chart.Tools().Count(), 3);
    EXPECT_EQ(chart.AxesList().Count(), 6);
  }
  EXPECT_EQ(freed, 4);
}

}  // namespace
}  // namespace chart

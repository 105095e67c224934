// Covers chart/AxisPanel.cpp and chart/ChartSeriesList.cpp: the series list
// and its events, paging and the axis ranges it gives, which axes show, free
// series colours, the grouped drawing of a Z group, and the chart's cursor
// while the mouse is over a series.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/ChartControl.h"
#include "chart/core/KivConst.h"
#include "chart/core/KivProcsRoutines.h"
#include "chart/testing/RecordingHost.h"
#include "chart/testing/TestPointSeries.h"
#include "testing/TestSupport.h"

namespace chart {
namespace {

using orvel::testing::Raises;
using testing::TTestPointSeries;
using testing::AddPointSeries;

// A series drawn without axes, as a pie is.
class TNoAxisSeries : public TChartSeries {
 public:
  using TChartSeries::TChartSeries;
  bool UseAxis() const override { return false; }
};

TEST(AxisPanel, PagesOfPointsSetTheHorizontalRange) {
  TChart chart;
  chart.SetBounds(500, 300);
  auto* s = AddPointSeries(chart);
  for (int i = 0; i < 25; ++i) s->AddXY(i * 2, i);
  int changes = 0;
  chart.OnPageChange = [&] { ++changes; };
  EXPECT_EQ(chart.NumPages(), 1);
  chart.SetMaxPointsPerPage(10);
  EXPECT_EQ(chart.NumPages(), 3);
  chart.SetPage(3);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(chart.MinXValue(*chart.BottomAxis()), 40);  // point 20
  EXPECT_EQ(chart.MaxXValue(*chart.BottomAxis()), 48);  // point 24
  // A short last page at the scale of a full one: five points fill half the axis.
  chart.SetScaleLastPage(false);
  EXPECT_EQ(chart.MaxXValue(*chart.BottomAxis()), 40 + 8 * 10 / 5);
  // Out-of-range pages are clamped; the current page again fires nothing.
  chart.SetPage(0);
  EXPECT_EQ(chart.Page(), 1);
  chart.SetPage(99);
  EXPECT_EQ(chart.Page(), 3);
  const int before = changes;
  chart.SetPage(3);
  EXPECT_EQ(changes, before);
  // Fewer pages lower the current one.
  chart.SetMaxPointsPerPage(20);
  EXPECT_EQ(chart.Page(), 2);
  EXPECT_EQ(changes, before + 1);
  EXPECT_TRUE(Raises<ChartException>([&] { chart.SetMaxPointsPerPage(-1); }, "MaxPointsPerPage must be >= 0"));
  EXPECT_EQ(chart.MaxPointsPerPage(), 20);
}

TEST(AxisPanel, WhichAxesShow) {
  TChart chart;
  chart.SetView3D(false);
  // No series: every side axis shows; the depth axis only in 3D.
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(chart.IsAxisVisible(*chart.AxesList()[i])) << i;
  EXPECT_FALSE(chart.IsAxisVisible(*chart.DepthAxis()));
  chart.SetView3D(true);
  chart.DepthAxis()->SetVisible(true);
  EXPECT_TRUE(chart.IsAxisVisible(*chart.DepthAxis()));
  // A series on the left and bottom axes: the others hide.
  auto* s = AddPointSeries(chart);
  EXPECT_TRUE(chart.IsAxisVisible(*chart.LeftAxis()));
  EXPECT_FALSE(chart.IsAxisVisible(*chart.RightAxis()));
  EXPECT_FALSE(chart.IsAxisVisible(*chart.TopAxis()));
  // A chart whose only active series is drawn without axes shows none.
  s->SetActive(false);
  auto* pie = new TNoAxisSeries(&chart);
  pie->SetParentChart(&chart);
  EXPECT_FALSE(chart.IsAxisVisible(*chart.LeftAxis()));
  EXPECT_FALSE(chart.IsAxisVisible(*chart.BottomAxis()));
  chart.SetAxisVisible(false);
  pie->SetActive(false);
  EXPECT_FALSE(chart.IsAxisVisible(*chart.LeftAxis()));
}

TEST(AxisPanel, TheBackAxesStandAtTheBackOfTheBox) {
  TChart chart;
  EXPECT_EQ(chart.TopAxis()->ZPosition(), 100);
  EXPECT_EQ(chart.RightAxis()->ZPosition(), 100);
  EXPECT_EQ(chart.TopAxis()->Grid()->ZPosition(), 100);
  EXPECT_EQ(chart.RightAxis()->Grid()->ZPosition(), 100);
  EXPECT_EQ(chart.LeftAxis()->ZPosition(), 0);
  EXPECT_EQ(chart.LeftAxis()->Title()->Angle(), 90);
  EXPECT_EQ(chart.RightAxis()->Title()->Angle(), 270);
  EXPECT_EQ(chart.CustomAxes().Count(), 0);
  EXPECT_EQ(chart.AxesList().Count(), 5);
}

TEST(AxisPanel, SeriesListOperations) {
  TChart chart;
  struct TListener : IKivEventListener {
    std::vector<TChartSeriesEventKind> Kinds;
    void KivEvent(TKivEvent& e) override {
      if (auto* s = dynamic_cast<TKivSeriesEvent*>(&e)) Kinds.push_back(s->Event);
    }
  } listener;
  chart.AddListener(&listener);
  auto* a = AddPointSeries(chart);
  auto* b = new TNoAxisSeries(&chart);
  b->SetParentChart(&chart);
  auto* c = AddPointSeries(chart);
  EXPECT_EQ(listener.Kinds, (std::vector<TChartSeriesEventKind>{seAdd, seAdd, seAdd}));
  // New series take the first palette colours nobody uses.
  EXPECT_EQ(a->SeriesColor(), GetDefaultColor(0));
  EXPECT_EQ(b->SeriesColor(), GetDefaultColor(1));
  EXPECT_EQ(c->SeriesColor(), GetDefaultColor(2));
  chart.ExchangeSeries(0, 2);
  EXPECT_EQ(chart.Series(0), c);
  EXPECT_EQ(listener.Kinds.back(), seSwap);
  // A series of another chart is not removed from this one.
  TChart other;
  auto* stranger = AddPointSeries(other);
  chart.RemoveSeries(stranger);
  EXPECT_EQ(chart.SeriesCount(), 3);
  EXPECT_EQ(stranger->ParentChart(), &other);
  // Freeing the series of one class keeps the others in order.
  chart.FreeAllSeries(&TTestPointSeries::StaticClassInfo());
  ASSERT_EQ(chart.SeriesCount(), 1);
  EXPECT_EQ(chart.Series(0), b);
  EXPECT_EQ(listener.Kinds.back(), seRemove);
  chart.RemoveListener(&listener);
  EXPECT_EQ(SeriesTitleOrName(*b), "Series1");
}

// A Z group drawn point by point: the points at one index stand together, and
// a reversed view walks the indexes and the series the other way.
class TGroupSeries : public TChartSeries {
 public:
  TGroupSeries(classlib::TComponent* owner, std::string name, std::vector<std::string>& log)
      : TChartSeries(owner), FTag(std::move(name)), FLog(log) {}
  bool DrawInGroup() const override { return true; }
  void DrawValue(int index) override { FLog.push_back(FTag + std::to_string(index)); }

 private:
  std::string FTag;
  std::vector<std::string>& FLog;
};

TEST(AxisPanel, AZGroupIsDrawnPointByPoint) {
  TChart chart;
  chart.SetBounds(500, 300);
  chart.SetView3D(true);
  std::vector<std::string> log;
  auto* a = new TGroupSeries(&chart, "A", log);
  auto* b = new TGroupSeries(&chart, "B", log);
  for (auto* s : {a, b}) {
    s->SetParentChart(&chart);
    s->SetZOrder(0);
  }
  a->AddXY(0, 1);
  a->AddXY(1, 1);
  for (int i = 0; i < 3; ++i) b->AddXY(i, 2);
  int before = 0;
  b->BeforeDrawValues = [&](TChartSeries&) { ++before; };
  chart.RenderToBitmap();
  EXPECT_EQ(log, (std::vector<std::string>{"A0", "B0", "A1", "B1", "B2"}));
  EXPECT_EQ(before, 1);
  log.clear();
  chart.View3DOptions()->SetOrthoAngle(135);
  chart.RenderToBitmap();
  EXPECT_TRUE(chart.ReversedView());
  EXPECT_EQ(log, (std::vector<std::string>{"B2", "B1", "A1", "B0", "A0"}));
  // In 2D every series takes the ordinary road.
  log.clear();
  chart.SetView3D(false);
  chart.RenderToBitmap();
  EXPECT_EQ(log, (std::vector<std::string>{"A0", "A1", "B0", "B1", "B2"}));
}

// Over a series with a cursor the chart shows it and fires the enter event
// once; away from it the chart's own cursor comes back and the leave event fires.
TEST(AxisPanel, TheCursorOfASeriesShowsWhileTheMouseIsOverIt) {
  TChart chart;
  testing::TRecordingHost host;
  chart.SetHost(&host);
  chart.SetBounds(500, 300);
  chart.SetView3D(false);
  chart.SetCursor(crCross);
  auto* s = AddPointSeries(chart);
  for (int i = 0; i <= 4; ++i) s->AddXY(i, i);
  s->SetCursor(crHandPoint);
  int enter = 0, leave = 0;
  s->OnMouseEnter = [&](TChartSeries&) { ++enter; };
  s->OnMouseLeave = [&](TChartSeries&) { ++leave; };
  chart.RenderToBitmap();
  const std::int32_t x = s->CalcXPos(2), y = s->CalcYPos(2);
  chart.MouseMove(0, x, y);
  chart.MouseMove(0, x + 1, y);
  EXPECT_EQ(chart.ShownCursor(), crHandPoint);
  EXPECT_EQ(enter, 1);
  chart.MouseMove(0, x + 40, y - 40);
  EXPECT_EQ(chart.ShownCursor(), crCross);
  EXPECT_EQ(host.Cursors.back(), crCross);
  EXPECT_EQ(leave, 1);
  // A series leaving the chart while its cursor shows gives the chart's back.
  chart.MouseMove(0, x, y);
  EXPECT_EQ(chart.ShownCursor(), crHandPoint);
  s->SetParentChart(nullptr);
  EXPECT_EQ(chart.ShownCursor(), crCross);
  delete s;
  chart.SetHost(nullptr);
}

}  // namespace
}  // namespace chart

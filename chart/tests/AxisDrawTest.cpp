// Covers the drawing of chart/AxisLabels.cpp through the recording surface:
// the tick positions of a known axis in the order recorded, ticks, grid and
// minor marks where they belong, the grid hook, labels at the axis ends and
// the exponent form of label texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "chart/ChartControl.h"
#include "chart/testing/RecordedChart.h"
#include "chart/testing/TestPointSeries.h"

namespace chart {
namespace {

using testing::TRecordedChart;
using testing::TRecordingCanvas;
using testing::Seg;
using testing::TTestPointSeries;

// The pieces a pen drew as "x0,y0-x1,y1": each LineTo in that pen's colour
// from the point the line before it ended or moved to.
std::vector<std::string> LinesInColor(const TRecordingCanvas& c, TColor color) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "%06X", static_cast<unsigned>(color));
  const std::string pen = std::string("pen=") + hex + "/";
  std::vector<std::string> out;
  std::string from;
  for (const std::string& line : c.Log) {
    if (line.rfind("MoveTo ", 0) == 0) {
      from = line.substr(7);
    } else if (line.rfind("LineTo ", 0) == 0) {
      const std::string to = line.substr(7, line.find(' ', 7) - 7);
      if (line.find(pen) != std::string::npos) out.push_back(from + "-" + to);
      from = to;
    }
  }
  return out;
}

// A left axis from 0 to 100 by tens over a 2D chart.
class AxisDrawFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* s = R.Add<TTestPointSeries>();
    s->Pointer()->SetInflateMargins(false);  // the labels 100 and 0 at the axis ends
    s->AddXY(0, 0);
    s->AddXY(10, 100);
    TChartAxis& l = Left();
    l.SetMinMax(0, 100);
    l.SetIncrement(10);
    l.Ticks()->SetColor(clRed);
    l.Grid()->SetColor(clBlue);
    l.Grid()->SetStyle(psSolid);
    l.MinorTicks()->SetColor(clLime);
  }
  TChartAxis& Left() { return *R.Chart.LeftAxis(); }
  TRecordedChart R;
};

// The positions the labels of 100 down to 0 recorded, from the highest value.
std::vector<std::int32_t> ExpectedTicks(const TChartAxis& a) {
  std::vector<std::int32_t> out;
  for (int v = 100; v >= 0; v -= 10) out.push_back(a.CalcPosValue(v));
  return out;
}

TEST_F(AxisDrawFixture, TicksGridAndMinorTicksOfAKnownAxis) {
  R.Draw();
  const TChartAxis& l = Left();
  const std::vector<std::int32_t> ticks = ExpectedTicks(l);
  ASSERT_EQ(l.Tick(), ticks);
  EXPECT_EQ(ticks.front(), l.IStartPos());
  EXPECT_EQ(ticks.back(), l.IEndPos());
  const std::int32_t a = l.PosAxis();
  const TRect r = R.Chart.ChartRect();
  // A tick at every position: offset 1 outwards from the axis line, 4 long.
  std::vector<std::string> want;
  for (std::int32_t p : ticks) want.push_back(Seg(a - 1, p, a - 5, p));
  EXPECT_EQ(LinesInColor(*R.Canvas, clRed), want);
  // A grid line only strictly between the axis ends.
  want.clear();
  for (std::int32_t p : ticks)
    if (p > l.IStartPos() && p < l.IEndPos()) want.push_back(Seg(r.Left + 1, p, r.Right, p));
  EXPECT_EQ(want.size(), 9u);
  EXPECT_EQ(LinesInColor(*R.Canvas, clBlue), want);
  // Three minor ticks in each interval, 2 long, stepping from each recorded
  // tick towards the next.
  want.clear();
  for (std::size_t i = 1; i < ticks.size(); ++i)
    for (int k = 1; k <= 3; ++k) {
      const std::int32_t p = ticks[i - 1] - Round(k * (ticks[i - 1] - ticks[i]) / 4.0);
      want.push_back(Seg(a - 1, p, a - 3, p));
    }
  EXPECT_EQ(LinesInColor(*R.Canvas, clLime), want);
}

TEST_F(AxisDrawFixture, TheGridHookIsCalledOnceBeforeTheGrid) {
  int calls = 0;
  std::size_t ticksThen = 0, gridLinesThen = 1;
  Left().BeforeDrawGrid = [&](TChartAxis& axis) {
    ++calls;
    ticksThen = axis.Tick().size();
    gridLinesThen = LinesInColor(*R.Canvas, clBlue).size();
  };
  Left().Grid()->SetVisible(false);
  Left().MinorGrid()->SetVisible(true);
  R.Draw();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(ticksThen, 11u);
  EXPECT_EQ(gridLinesThen, 0u);
}

TEST_F(AxisDrawFixture, ACentredGridStandsBetweenTheTicks) {
  Left().SetGridCentered(true);
  R.Draw();
  const std::vector<std::int32_t> ticks = ExpectedTicks(Left());
  const TRect r = R.Chart.ChartRect();
  std::vector<std::string> want;
  for (std::size_t i = 1; i < ticks.size(); ++i) {
    const std::int32_t p = Round((ticks[i] + ticks[i - 1]) * 0.5);
    want.push_back(Seg(r.Left + 1, p, r.Right, p));
  }
  EXPECT_EQ(LinesInColor(*R.Canvas, clBlue), want);
}

TEST_F(AxisDrawFixture, LabelsOffTheAxisEndsSkipTheEnds) {
  Left().SetLabelsOnAxis(false);
  R.Draw();
  std::vector<std::int32_t> inner = ExpectedTicks(Left());
  inner.erase(inner.begin());
  inner.pop_back();
  EXPECT_EQ(Left().Tick(), inner);
  for (const std::string& t : R.Canvas->Calls("TextOut"))
    EXPECT_EQ(t.find("\"100\""), std::string::npos) << t;
}

// A recording surface that also notes the font size of every text.
class TSizedRecordingCanvas : public TRecordingCanvas {
 public:
  std::vector<std::string> Texts;

 protected:
  void RawTextOut(std::int32_t x, std::int32_t y, const std::string& text, TColor color) override {
    TRecordingCanvas::RawTextOut(x, y, text, color);
    Texts.push_back(testing::Pt(x, y) + " " + std::to_string(Font().Size()) + " " + text);
  }
};

// Labels in the exponent form: the letter E never shows, the exponent is
// drawn smaller and raised; right-aligned labels put it at the label's place
// and the mantissa before it.
TEST(AxisDraw, LabelsInTheExponentForm) {
  TChart chart;
  auto owned = std::make_unique<TSizedRecordingCanvas>();
  TSizedRecordingCanvas& canvas = *owned;
  chart.ReplaceCanvas(std::move(owned));
  chart.SetBounds(400, 300);
  chart.SetView3D(false);
  chart.Legend()->SetVisible(false);
  auto* s = new TTestPointSeries(&chart);
  s->SetParentChart(&chart);
  s->Pointer()->SetInflateMargins(false);
  s->AddXY(0, 0);
  s->AddXY(1, 1);
  s->SetVertAxis(aBothVertAxis);
  for (TChartAxis* a : {chart.LeftAxis(), chart.RightAxis()}) {
    a->SetMinMax(0, 1);
    a->SetIncrement(1);
    a->SetLabelsExponent(true);
    a->LabelsFont()->SetSize(8);
  }
  chart.BottomAxis()->SetLabels(false);
  chart.OnGetAxisLabel = [](TChartAxis&, TChartSeries*, int, std::string& text) { text = "2e5"; };
  chart.Draw(nullptr, chart.GetRectangle());
  // Every label: mantissa and exponent, never the letter.
  for (const std::string& t : canvas.Texts) EXPECT_EQ(t.find('e'), std::string::npos) << t;
  const std::int32_t f = canvas.LineHeight - 1, w = canvas.CharWidth + 1;
  // All labels read alike, so each axis draws one, at its top end.
  const TChartAxis& l = *chart.LeftAxis();
  const std::int32_t y = l.IStartPos() - canvas.LineHeight / 2;
  const std::int32_t x = l.PosLabels();
  ASSERT_EQ(canvas.Texts.size(), 4u);
  auto find = [&](const std::string& what) {
    return std::find(canvas.Texts.begin(), canvas.Texts.end(), what) != canvas.Texts.end();
  };
  EXPECT_TRUE(find(testing::Pt(x, y - f / 2 + 2) + " 6 5"));
  EXPECT_TRUE(find(testing::Pt(x - w, y) + " 8 2"));
  // The right axis' labels are left-aligned: mantissa first, exponent after it.
  const TChartAxis& r = *chart.RightAxis();
  const std::int32_t rx = r.PosLabels();
  EXPECT_TRUE(find(testing::Pt(rx, y) + " 8 2"));
  EXPECT_TRUE(find(testing::Pt(rx + w, y - f / 2 + 2) + " 6 5"));
}

}  // namespace
}  // namespace chart

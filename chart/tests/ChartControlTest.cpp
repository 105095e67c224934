// Covers chart/ChartControl.cpp, chart/AxisPanel.cpp, chart/Legend.cpp,
// chart/AxisRange.cpp: zoom, pan, wheel and undo by synthetic mouse calls,
// axis exceptions, legend layout and hit test, and pictures checked by probes.
#include <gtest/gtest.h>

#include <QImage>

#include "chart/ChartControl.h"
#include "chart/KivConst.h"
#include "chart/KivGraphics.h"
#include "chart/testing/TestPointSeries.h"
#include "testing/TestSupport.h"

namespace chart {
namespace {

using orvel::testing::Raises;
using testing::TTestPointSeries;

struct TAxisSnapshot {
  double Min, Max;
  bool Auto, AutoMin, AutoMax;
  bool operator==(const TAxisSnapshot&) const = default;
};
TAxisSnapshot Snap(const TChartAxis& a) {
  return {a.Minimum(), a.Maximum(), a.Automatic(), a.AutomaticMinimum(), a.AutomaticMaximum()};
}

class ChartFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Chart.SetBounds(600, 400);
    Chart.SetView3D(false);
    Series = new TTestPointSeries(&Chart);
    Series->SetParentChart(&Chart);
    for (int i = 0; i <= 10; ++i) Series->AddXY(i, i * 10);
    Chart.RenderToBitmap();
  }
  TChart Chart;
  TTestPointSeries* Series = nullptr;
};

TEST_F(ChartFixture, ZoomPanWheelAndUndoByMouseCalls) {
  const TAxisSnapshot bottom = Snap(*Chart.BottomAxis()), left = Snap(*Chart.LeftAxis());
  const TRect r = Chart.ChartRect();
  const std::int32_t x0 = r.Left + 50, y0 = r.Top + 50, x1 = r.Left + 200, y1 = r.Top + 150;
  const double wantMin = Chart.BottomAxis()->CalcPosPoint(x0), wantMax = Chart.BottomAxis()->CalcPosPoint(x1);
  Chart.MouseDown(mbLeft, 0, x0, y0);
  Chart.MouseMove(0, x1, y1);
  Chart.MouseUp(mbLeft, 0, x1, y1);
  EXPECT_TRUE(Chart.Zoomed());
  EXPECT_DOUBLE_EQ(Chart.BottomAxis()->Minimum(), wantMin);
  EXPECT_DOUBLE_EQ(Chart.BottomAxis()->Maximum(), wantMax);
  EXPECT_FALSE(Chart.BottomAxis()->Automatic());
  Chart.RenderToBitmap();
  // Panning with the right button moves the data with the pointer.
  const double before = Chart.BottomAxis()->Minimum();
  Chart.MouseDown(mbRight, 0, r.Left + 100, r.Top + 100);
  Chart.MouseMove(0, r.Left + 120, r.Top + 100);
  Chart.MouseUp(mbRight, 0, r.Left + 120, r.Top + 100);
  EXPECT_LT(Chart.BottomAxis()->Minimum(), before);
  // The wheel scrolls the vertical axes by 3 % of their range.
  const double lmin = Chart.LeftAxis()->Minimum(), lmax = Chart.LeftAxis()->Maximum();
  EXPECT_TRUE(Chart.DoMouseWheel(0, 120, {10, 10}));
  EXPECT_DOUBLE_EQ(Chart.LeftAxis()->Minimum(), lmin + (lmax - lmin) * 0.03);
  // Dragging up and left undoes everything.
  Chart.MouseDown(mbLeft, 0, x1, y1);
  Chart.MouseUp(mbLeft, 0, x0, y0);
  EXPECT_EQ(Snap(*Chart.BottomAxis()), bottom);
  EXPECT_EQ(Snap(*Chart.LeftAxis()), left);
  EXPECT_FALSE(Chart.Zoomed());
}

TEST_F(ChartFixture, ADragOfExactlyTheMinimumDoesNothing) {
  const TAxisSnapshot bottom = Snap(*Chart.BottomAxis());
  const TRect r = Chart.ChartRect();
  Chart.MouseDown(mbLeft, 0, r.Left + 50, r.Top + 50);
  Chart.MouseUp(mbLeft, 0, r.Left + 66, r.Top + 100);
  EXPECT_EQ(Snap(*Chart.BottomAxis()), bottom);
  EXPECT_FALSE(Chart.Zoomed());
}

TEST_F(ChartFixture, ClicksReachSeriesAndBackground) {
  int seriesClicks = 0, background = 0, hit = -1;
  Series->OnClick = [&](TChartSeries&, int index, TMouseButton, TShiftState, std::int32_t, std::int32_t) {
    ++seriesClicks;
    hit = index;
  };
  Chart.OnClickBackground = [&](TCustomChart&, TMouseButton, TShiftState, std::int32_t, std::int32_t) { ++background; };
  Chart.MouseDown(mbMiddle, 0, Series->CalcXPos(4), Series->CalcYPos(4));
  EXPECT_EQ(seriesClicks, 1);
  EXPECT_EQ(hit, 4);
  EXPECT_EQ(background, 1);  // a series click nobody handled falls to the background
  Chart.MouseDown(mbMiddle, 0, Series->CalcXPos(4) + 30, Series->CalcYPos(4) - 60);
  EXPECT_EQ(seriesClicks, 1);
  EXPECT_EQ(background, 2);
}

TEST(ChartControl, AZeroSizedChartIgnoresTheMouseAndDrawsNothing) {
  TChart chart;
  chart.SetBounds(0, 300);
  chart.MouseDown(mbLeft, 0, 10, 10);
  chart.MouseUp(mbLeft, 0, 100, 100);
  EXPECT_FALSE(chart.Zoomed());
  EXPECT_EQ(chart.RenderToBitmap()->Width(), 0);
}

TEST(ChartAxis, RangeChecksAndTheirTexts) {
  TChart chart;
  TChartAxis& a = *chart.LeftAxis();
  a.SetMinMax(5, 1);
  EXPECT_EQ(a.Minimum(), 1);
  EXPECT_EQ(a.Maximum(), 5);
  EXPECT_FALSE(a.Automatic() || a.AutomaticMinimum() || a.AutomaticMaximum());
  a.SetMinMax(3, 3);
  EXPECT_DOUBLE_EQ(a.Maximum(), 3 + 1e-10);
  a.SetMinMax(1e7, 1e7);
  EXPECT_GT(a.Maximum(), a.Minimum());  // the smallest range survives large values
  a.SetMinMax(0, 10);
  EXPECT_TRUE(Raises<AxisException>([&] { a.SetMinimum(11); }, "Axis Minimum Value must be <= Maximum"));
  EXPECT_TRUE(Raises<AxisException>([&] { a.SetMaximum(-1); }, "Axis Maximum Value must be >= Minimum"));
  EXPECT_TRUE(Raises<AxisException>([&] { a.SetIncrement(-1); }, "Axis increment must be >= 0"));
  EXPECT_TRUE(Raises<AxisException>([&] { a.SetLabelsSeparation(-1); }, "Labels Separation % must be greater than 0"));
  EXPECT_TRUE(Raises<AxisException>([&] { a.SetLogarithmicBase(1); }, "Axis Logarithmic Base should be >= 2"));
  a.SetMinMax(-5, 10);
  EXPECT_TRUE(Raises<AxisException>([&] { a.SetLogarithmic(true); }, "Logarithmic Axis Min and Max values should be >= 0"));
  EXPECT_FALSE(a.Logarithmic());
  auto* s = new TTestPointSeries(&chart);
  s->SetParentChart(&chart);
  s->XValues()->SetDateTime(true);
  s->AddXY(40000, 1);
  EXPECT_TRUE(Raises<AxisException>([&] { chart.BottomAxis()->SetLogarithmic(true); }, "DateTime Axis cannot be Logarithmic"));
  a.SetLabelsSeparation(0);
  EXPECT_EQ(a.LabelsSeparation(), 0);
  EXPECT_EQ(chart.BottomAxis()->LabelValue(-1), "");  // date-time axes label negative values with nothing
}

TEST(ChartAxis, ScrollWithLimits) {
  TChart chart;
  auto* s = new TTestPointSeries(&chart);
  s->SetParentChart(&chart);
  for (int i = 0; i <= 10; ++i) s->AddXY(i, i);
  TChartAxis& b = *chart.BottomAxis();
  b.SetMinMax(0, 10);
  b.Scroll(5, true);  // already showing the data maximum
  EXPECT_EQ(b.Maximum(), 10);
  b.Scroll(5, false);
  EXPECT_EQ(b.Minimum(), 5);
  EXPECT_EQ(b.Maximum(), 15);
}

TEST(ChartAxis, ValueLabelsKeepTheBottomEndOfANegativeRange) {
  TChart chart;
  chart.SetBounds(400, 600);
  chart.SetView3D(false);
  auto* s = new TTestPointSeries(&chart);
  s->SetParentChart(&chart);
  s->AddXY(0, -100);
  s->AddXY(1, 0);
  chart.LeftAxis()->SetMinMax(-100, 0);
  chart.LeftAxis()->SetIncrement(10);
  chart.RenderToBitmap();
  const auto& ticks = chart.LeftAxis()->Tick();
  ASSERT_EQ(ticks.size(), 11u);
  EXPECT_EQ(ticks.front(), chart.LeftAxis()->CalcPosValue(0));
  EXPECT_EQ(ticks.back(), chart.LeftAxis()->CalcPosValue(-100));
  chart.LeftAxis()->SetMinMax(0, 100);
  chart.RenderToBitmap();
  EXPECT_EQ(chart.LeftAxis()->Tick().size(), 11u);
}

TEST_F(ChartFixture, LegendListsValuesOrSeriesAndHitTests) {
  Chart.Legend()->SetAlignment(laRight);
  Chart.RenderToBitmap();
  EXPECT_EQ(Chart.Legend()->ResolvedStyle(), lsValues);
  EXPECT_EQ(Chart.Legend()->NumRows(), 11);
  const TRect lr = Chart.Legend()->ShapeBounds();
  const std::int32_t h = Chart.Legend()->ItemHeight();
  EXPECT_EQ(Chart.Legend()->Clicked(lr.Left + 5, lr.Top + 1 + h * 3 + 2), 3);
  EXPECT_EQ(Chart.Legend()->Clicked(lr.Left - 5, lr.Top + 5), -1);
  EXPECT_LE(Chart.ChartRect().Right, lr.Left);
  auto* second = new TTestPointSeries(&Chart);
  second->SetParentChart(&Chart);
  second->AddXY(0, 1);
  Chart.Legend()->SetCheckBoxes(true);
  Chart.RenderToBitmap();
  EXPECT_EQ(Chart.Legend()->ResolvedStyle(), lsSeries);
  const TRect r2 = Chart.Legend()->ShapeBounds();
  Chart.MouseDown(mbLeft, 0, r2.Left + 8, r2.Top + 1 + Chart.Legend()->ItemHeight() + 4);
  EXPECT_FALSE(second->Active());
  Chart.RenderToBitmap();
  EXPECT_EQ(Chart.Legend()->TotalItems(), 2);  // inactive series stay listed
  EXPECT_TRUE(Raises<LegendException>([&] { Chart.Legend()->SetFirstValue(-1); }, "First Legend Value must be > 0"));
  Chart.Legend()->SetFirstValue(0);
}

TEST(Legend, ATopLegendNarrowerThanOneItemShowsNone) {
  TChart chart;
  chart.SetBounds(60, 300);
  chart.SetView3D(false);
  auto* s = new TTestPointSeries(&chart);
  s->SetParentChart(&chart);
  s->AddXY(0, 1, "a rather long label that cannot fit");
  chart.Legend()->SetAlignment(laTop);
  const TRect before = [&] {
    chart.Legend()->SetVisible(false);
    chart.RenderToBitmap();
    return chart.ChartRect();
  }();
  chart.Legend()->SetVisible(true);
  chart.RenderToBitmap();
  EXPECT_EQ(chart.Legend()->NumCols(), 0);
  EXPECT_EQ(chart.ChartRect(), before);
}

}  // namespace
}  // namespace chart

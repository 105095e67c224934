// Covers chart/ChartControl.cpp: zoom, pan, wheel and undo by synthetic mouse
// calls, the parts a click hits and the events they fire.
#include <gtest/gtest.h>

#include <QImage>

#include "ToolTestSupport.h"
#include "chart/ChartControl.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/core/KivConst.h"
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

// The zoom rectangle is drawn in XOR into the kept picture while the user
// drags; the pass after the zoom must cover that whole picture again, or the
// labels of the old range stay under the new ones.
TEST_F(ChartFixture, ThePassAfterAZoomByMouseLeavesNothingOfTheLastPicture) {
  Chart.Zoom()->SetAnimated(false);
  QImage screen(600, 400, QImage::Format_RGB32);
  TCanvas screenCanvas(screen);
  Chart.Draw(&screenCanvas, Chart.GetRectangle());
  const TRect r = Chart.ChartRect();
  Chart.MouseDown(mbLeft, 0, r.Left + 40, r.Top + 30);
  Chart.MouseMove(0, r.Left + 120, r.Top + 90);
  Chart.MouseMove(0, r.Left + 200, r.Top + 150);
  Chart.MouseUp(mbLeft, 0, r.Left + 200, r.Top + 150);
  ASSERT_TRUE(Chart.Zoomed());
  Chart.Draw(&screenCanvas, Chart.GetRectangle());
  const QImage fresh = Chart.RenderToBitmap()->Image().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(screen, fresh);
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

// The window reports a double click after a second press of its own, which
// starts a zoom: the double click must still reach the series, and the zoom
// rectangle of that press must not stay in the picture.
TEST_F(ChartFixture, ADoubleClickAfterItsSecondPressReachesTheSeries) {
  int doubles = 0;
  Series->OnDblClick = [&](TChartSeries&, int, TMouseButton, TShiftState, std::int32_t, std::int32_t) { ++doubles; };
  const QImage picture = testing::PaintPicture(Chart);
  const std::int32_t x = Series->CalcXPos(4), y = Series->CalcYPos(4);
  const TShiftState left = 1u << ssLeft;
  Chart.MouseDown(mbLeft, left, x, y);
  Chart.MouseUp(mbLeft, 0, x, y);
  Chart.MouseDown(mbLeft, left, x, y);
  ASSERT_TRUE(Chart.Zoom()->Active);
  Chart.MouseDown(mbLeft, left | (1u << ssDouble), x, y);
  EXPECT_EQ(doubles, 1);
  Chart.MouseUp(mbLeft, 0, x, y);
  EXPECT_FALSE(Chart.Zoom()->Active);
  EXPECT_FALSE(Chart.Zoomed());
  EXPECT_EQ(testing::Picture(Chart), picture);  // the rectangles drawn over it are gone
}

TEST(ChartControl, AZeroSizedChartIgnoresTheMouseAndDrawsNothing) {
  TChart chart;
  chart.SetBounds(0, 300);
  chart.MouseDown(mbLeft, 0, 10, 10);
  chart.MouseUp(mbLeft, 0, 100, 100);
  EXPECT_FALSE(chart.Zoomed());
  EXPECT_EQ(chart.RenderToBitmap()->Width(), 0);
}

}  // namespace
}  // namespace chart

// Covers the whole drawing pass (chart/ChartPass.cpp, chart/AxisLabels.cpp,
// chart/Walls.cpp, chart/Titles.cpp, chart/Legend.cpp, chart/series/SeriesPointer.cpp):
// pictures written into the build folder and checked by pixel probes.
#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "chart/ChartControl.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/testing/ChartProbes.h"
#include "chart/testing/TestPointSeries.h"

namespace chart {
namespace {

using testing::PixelAt;
using testing::TTestPointSeries;

QImage Render(TChart& chart, const std::string& file) {
  std::unique_ptr<TBitmap> b = chart.RenderToBitmap();
  QImage img = b->Image().copy();
  img.save(QString::fromStdString(std::string(ORVEL_TEST_BINARY_DIR) + "/" + file));
  return img;
}

// The generator's layout: a price axis from 78 % to 100 % of the height and a
// thin one at 76-77 %, on the right.
void Build(TChart& chart, bool view3D) {
  chart.SetBounds(640, 420);
  chart.SetView3D(view3D);
  chart.SetColor(clWhite);
  chart.Title()->SetCaption("Orvel chart");
  chart.LeftAxis()->Title()->SetCaption("Value");
  chart.LeftAxis()->MinorTicks()->SetColor(clRed);
  chart.LeftAxis()->Grid()->SetColor(clBlue);
  chart.LeftAxis()->Grid()->SetStyle(psSolid);
  auto* a = new TTestPointSeries(&chart);
  a->SetParentChart(&chart);
  a->SetTitle("Close");
  a->SetSeriesColor(clGreen);
  a->Pointer()->SetStyle(psCircle);
  for (int i = 0; i <= 20; ++i) a->AddXY(i, 50 + (i % 7) * 5);
  auto* b = new TTestPointSeries(&chart);
  b->SetParentChart(&chart);
  b->SetTitle("Filter");
  b->SetSeriesColor(clRed);
  for (int i = 0; i <= 20; ++i) b->AddXY(i, 60 - i);
  TChartAxis* price = chart.CustomAxes().Add();
  price->SetHorizontal(false);
  price->SetOtherSide(true);
  price->SetStartPosition(78);
  price->SetEndPosition(100);
  TChartAxis* thin = chart.CustomAxes().Add();
  thin->SetHorizontal(false);
  thin->SetOtherSide(true);
  thin->SetStartPosition(76);
  thin->SetEndPosition(77);
  auto* c = new TTestPointSeries(&chart);
  c->SetParentChart(&chart);
  c->SetTitle("Volume");
  c->SetSeriesColor(clNavy);
  c->Pointer()->SetStyle(psDiamond);
  for (int i = 0; i <= 20; ++i) c->AddXY(i, i % 5);
  c->SetCustomVertAxis(price);
}

TEST(ChartPicture, TwoDimensionalChartWithAxesGridLegendAndCustomAxes) {
  TChart chart;
  Build(chart, false);
  const QImage img = Render(chart, "chart_2d.png");
  const TRect r = chart.ChartRect();
  TChartSeries* a = chart.Series(0);
  // A pointer's centre holds its series colour.
  EXPECT_EQ(PixelAt(img, a->CalcXPos(3), a->CalcYPos(3)), clGreen);
  TChartSeries* c = chart.Series(2);
  EXPECT_EQ(PixelAt(img, c->CalcXPos(4), c->CalcYPos(4)), clNavy);
  // The custom axis spans 78..100 % of the chart rectangle's height.
  TChartAxis* price = chart.CustomAxes().Items(0);
  EXPECT_EQ(price->IStartPos(), r.Top + Round(r.Height() * 0.78));
  EXPECT_EQ(price->IEndPos(), r.Bottom);
  // The left axis line and a grid line.
  const auto& ticks = chart.LeftAxis()->Tick();
  ASSERT_GE(ticks.size(), 3u);
  EXPECT_EQ(PixelAt(img, r.Left, (r.Top + r.Bottom) / 2), clBlack);
  const std::int32_t gridY = ticks[1];
  EXPECT_EQ(PixelAt(img, (r.Left + r.Right) / 2 + 1, gridY), clBlue);
  // A minor tick between the first two ticks, to the left of the axis.
  const std::int32_t minorY = ticks[0] + Round((ticks[1] - ticks[0]) / 4.0);
  EXPECT_EQ(PixelAt(img, r.Left - 2, minorY), clRed);
  // The legend box stands right of the chart rectangle.
  const TRect lr = chart.Legend()->ShapeBounds();
  EXPECT_GT(lr.Left, r.Right);
  EXPECT_EQ(chart.Legend()->TotalItems(), 3);
  // The title sits above the chart rectangle.
  EXPECT_LT(chart.Title()->ShapeBounds().Bottom, r.Top);
}

TEST(ChartPicture, ThreeDimensionalChartWithWalls) {
  TChart chart;
  Build(chart, true);
  const QImage img = Render(chart, "chart_3d.png");
  const TRect r = chart.ChartRect();
  ASSERT_GT(chart.Width3D(), 0);
  // The left wall is light yellow, the bottom wall white, between the front and the back.
  const TPoint left = chart.Canvas().Calculate3DPosition(r.Left, r.Top + r.Height() / 4, chart.Width3D() / 2);
  EXPECT_EQ(PixelAt(img, left.X, left.Y), 0x80FFFFu);
  const TPoint floor = chart.Canvas().Calculate3DPosition((r.Left + r.Right) / 2 + 3, r.Bottom, chart.Width3D() / 2);
  EXPECT_EQ(PixelAt(img, floor.X, floor.Y + 1), clWhite);
}

}  // namespace
}  // namespace chart

// Covers chart/tools/BandTools.cpp: the colour band's rectangle (clipped to the
// axis, either order of its values, nothing outside the range), its colour
// and transparency in the picture, and the grid band's alternate stripes
// hooked into the axis' grid.
#include <gtest/gtest.h>

#include "ToolTestSupport.h"
#include "chart/tools/BandTools.h"

namespace chart {
namespace {

using testing::PaintPicture;
using testing::ToolChartFixture;

class ColorBandFixture : public ToolChartFixture {
 protected:
  void SetUp() override {
    ToolChartFixture::SetUp();
    Tool = new TColorBandTool(Chart.get());
    Tool->SetAxis(Chart->BottomAxis());
    Tool->SetColor(clRed);
  }
  TColorBandTool* Tool = nullptr;
};

TEST_F(ColorBandFixture, ABandWhollyOutsideTheAxisRangeDrawsNothing) {
  Tool->SetActive(false);
  const QImage plain = PaintPicture(*Chart);
  Tool->SetActive(true);
  for (auto [a, b] : {std::pair{20.0, 30.0}, std::pair{-5.0, -1.0}}) {
    Tool->SetStartValue(a);
    Tool->SetEndValue(b);
    TRect r;
    EXPECT_FALSE(Tool->BandRect(r));
    EXPECT_EQ(PaintPicture(*Chart), plain);
  }
}

TEST_F(ColorBandFixture, EitherOrderGivesTheSameBandClippedToTheAxis) {
  Tool->SetStartValue(4);
  Tool->SetEndValue(2);
  TRect r;
  ASSERT_TRUE(Tool->BandRect(r));
  EXPECT_EQ(r.Left, Bottom().CalcPosValue(2));
  EXPECT_EQ(r.Right, Bottom().CalcPosValue(4));
  EXPECT_EQ(r.Top, Chart->ChartRect().Top);
  EXPECT_EQ(r.Bottom, Chart->ChartRect().Bottom);
  Tool->SetStartValue(2);
  Tool->SetEndValue(4);
  TRect same;
  ASSERT_TRUE(Tool->BandRect(same));
  EXPECT_EQ(same, r);
  // A band reaching past the axis ends at the axis' pixels.
  Tool->SetStartValue(-50);
  Tool->SetEndValue(5);
  ASSERT_TRUE(Tool->BandRect(r));
  EXPECT_EQ(r.Left, Bottom().IStartPos());
  EXPECT_EQ(r.Right, Bottom().CalcPosValue(5));
  // Without a pen the band grows by one pixel where the pen would have been.
  Tool->Pen()->SetVisible(false);
  ASSERT_TRUE(Tool->BandRect(r));
  EXPECT_EQ(r.Right, Bottom().CalcPosValue(5) + 1);
  // Along a vertical axis.
  Tool->SetAxis(Chart->LeftAxis());
  Tool->SetStartValue(70);
  Tool->SetEndValue(1000);
  ASSERT_TRUE(Tool->BandRect(r));
  EXPECT_EQ(r.Top, Left().IStartPos());
  EXPECT_EQ(r.Bottom, Left().CalcPosValue(70) + 1);
  EXPECT_EQ(r.Left, Chart->ChartRect().Left + 1);
}

TEST_F(ColorBandFixture, TheBandShowsItsColourAndBlendsByItsTransparency) {
  Tool->SetStartValue(2.2);
  Tool->SetEndValue(2.8);
  const std::int32_t x = Bottom().CalcPosValue(2.5), y = Left().CalcPosValue(75);
  const QImage solid = PaintPicture(*Chart);
  EXPECT_EQ(FromQRgb(solid.pixel(x, y)), clRed);
  Tool->SetActive(false);
  const TColor back = FromQRgb(PaintPicture(*Chart).pixel(x, y));
  Tool->SetActive(true);
  Tool->SetTransparency(50);
  const TColor mixed = FromQRgb(PaintPicture(*Chart).pixel(x, y));
  EXPECT_NE(mixed, clRed);
  EXPECT_NE(mixed, back);
  // In front of the series the band covers the points.
  Tool->SetTransparency(0);
  Tool->SetDrawBehind(false);
  Tool->SetStartValue(4.8);
  Tool->SetEndValue(5.2);
  const TPoint p = PointPixel(5);
  EXPECT_EQ(FromQRgb(PaintPicture(*Chart).pixel(p.X, p.Y)), clRed);
}

class GridBandFixture : public ToolChartFixture {
 protected:
  void SetUp() override {
    ToolChartFixture::SetUp();
    Tool = new TGridBandTool(Chart.get());
    Tool->SetAxis(Chart->BottomAxis());
  }
  // The colour halfway between two grid lines, away from the left axis' grid too.
  TColor Between(const QImage& picture, std::size_t i) const {
    const auto& ticks = Bottom().Tick();
    const auto& rows = Left().Tick();
    return FromQRgb(picture.pixel((ticks[i] + ticks[i + 1]) / 2, (rows[2] + rows[3]) / 2));
  }
  TGridBandTool* Tool = nullptr;
};

TEST_F(GridBandFixture, ClearBrushesDrawNothing) {
  Tool->Band1()->SetStyle(bsClear);
  Tool->Band2()->SetStyle(bsClear);
  const QImage banded = PaintPicture(*Chart);
  Tool->SetActive(false);
  EXPECT_EQ(PaintPicture(*Chart), banded);
}

TEST_F(GridBandFixture, StripesAlternateBetweenTheGridLines) {
  Tool->Band1()->SetColor(clRed);
  Tool->Band2()->SetColor(clBlue);
  const QImage picture = PaintPicture(*Chart);
  const auto& ticks = Bottom().Tick();
  ASSERT_GE(ticks.size(), 4u);
  // The labels run down from the right end; a stripe before the first grid
  // line takes the first band.
  const std::size_t leading = ticks.front() < Bottom().IEndPos() ? 1 : 0;
  for (std::size_t i = 0; i + 1 < ticks.size(); ++i)
    EXPECT_EQ(Between(picture, i), (i + leading) % 2 == 0 ? clRed : clBlue) << i;
  // With the second band clear every other stripe shows the chart behind.
  Tool->Band2()->SetStyle(bsClear);
  const QImage half = PaintPicture(*Chart);
  EXPECT_EQ(Between(half, leading), clRed);
  EXPECT_NE(Between(half, 1 - leading), clRed);
  EXPECT_NE(Between(half, 1 - leading), clBlue);
}

TEST_F(GridBandFixture, AHatchShowsTheBackWallColourUnlessTheBandHasItsOwn) {
  Chart->BackWall()->SetColor(clYellow);
  Tool->Band1()->SetColor(clRed);
  Tool->Band1()->SetStyle(bsCross);
  Tool->Band2()->SetStyle(bsClear);
  auto countOf = [&](const QImage& picture, TColor colour) {
    const auto& ticks = Bottom().Tick();
    int n = 0;
    const std::size_t i = ticks.front() < Bottom().IEndPos() ? 1 : 0;  // a first-band stripe
    for (std::int32_t x = ticks[i] - 1; x > ticks[i + 1] + 1; --x)
      for (std::int32_t y = Left().CalcPosValue(60); y < Left().CalcPosValue(40); ++y)
        n += FromQRgb(picture.pixel(x, y)) == colour;
    return n;
  };
  const QImage wall = PaintPicture(*Chart);
  EXPECT_GT(countOf(wall, clRed), 0);
  EXPECT_GT(countOf(wall, clYellow), 0);
  Tool->Band1()->SetBackColor(clAqua);
  const QImage own = PaintPicture(*Chart);
  EXPECT_GT(countOf(own, clAqua), 0);
  EXPECT_EQ(countOf(own, clYellow), 0);
}

TEST_F(GridBandFixture, TheStripesFollowTheAxisAndLeaveWithTheTool) {
  EXPECT_TRUE(static_cast<bool>(Bottom().BeforeDrawGrid));
  Tool->SetAxis(Chart->LeftAxis());
  EXPECT_FALSE(static_cast<bool>(Bottom().BeforeDrawGrid));
  EXPECT_TRUE(static_cast<bool>(Left().BeforeDrawGrid));
  delete Tool;
  EXPECT_FALSE(static_cast<bool>(Left().BeforeDrawGrid));
  PaintPicture(*Chart);
}

TEST_F(GridBandFixture, ACustomAxisThatGoesTakesTheToolsLinkWithIt) {
  TChartAxis* custom = Chart->CustomAxes().Add();
  custom->SetHorizontal(false);
  Tool->SetAxis(custom);
  delete custom;
  EXPECT_EQ(Tool->Axis(), nullptr);
  delete Tool;
  PaintPicture(*Chart);
}

}  // namespace
}  // namespace chart

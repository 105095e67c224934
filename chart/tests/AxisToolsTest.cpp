// Covers chart/tools/AxisArrowTool.cpp: the arrows' hit test, the scroll a click
// gives (by percent, inverted, refused), the opposite axis of a series drawn
// against both, the cursor over an arrow, and the arrows in the picture.
#include <gtest/gtest.h>

#include "ToolTestSupport.h"
#include "chart/tools/AxisArrowTool.h"

namespace chart {
namespace {

using testing::PaintPicture;
using testing::ToolChartFixture;

class AxisArrowFixture : public ToolChartFixture {
 protected:
  void SetUp() override {
    ToolChartFixture::SetUp();
    Bottom().SetMinMax(0, 10);
    Tool = new TAxisArrowTool(Chart.get());
    Tool->SetAxis(Chart->BottomAxis());
    Tool->OnClick = [this](TAxisArrowTool&, bool atStart) { Clicks.push_back(atStart); };
    Chart->OnScroll = [this] { ++Scrolls; };
    PaintPicture(*Chart);
  }
  TPoint StartArrow() const { return {Bottom().IStartPos() + 5, Bottom().PosAxis()}; }
  TPoint EndArrow() const { return {Bottom().IEndPos() - 5, Bottom().PosAxis() + 2}; }
  void Click(TPoint p) {
    Chart->MouseDown(mbLeft, 0, p.X, p.Y);
    Chart->MouseUp(mbLeft, 0, p.X, p.Y);
  }

  TAxisArrowTool* Tool = nullptr;
  std::vector<bool> Clicks;
  int Scrolls = 0;
};

TEST_F(AxisArrowFixture, TheArrowsLieAlongTheAxisEnds) {
  const std::int32_t p = Bottom().PosAxis(), s = Bottom().IStartPos(), e = Bottom().IEndPos();
  EXPECT_EQ(Tool->ClickedArrow(s + 1, p), 0);
  EXPECT_EQ(Tool->ClickedArrow(s + 15, p - 2), 0);
  EXPECT_EQ(Tool->ClickedArrow(s + 16, p), -1);
  EXPECT_EQ(Tool->ClickedArrow(s, p), -1);
  EXPECT_EQ(Tool->ClickedArrow(s + 5, p + 3), -1);
  EXPECT_EQ(Tool->ClickedArrow(e - 1, p), 1);
  EXPECT_EQ(Tool->ClickedArrow(e - 16, p), -1);
  Tool->SetPosition(aaEnd);
  EXPECT_EQ(Tool->ClickedArrow(s + 1, p), -1);
  EXPECT_EQ(Tool->ClickedArrow(e - 1, p), 1);
}

TEST_F(AxisArrowFixture, AClickScrollsTheAxisByItsPercent) {
  Click(StartArrow());
  EXPECT_EQ(Bottom().Minimum(), 1);
  EXPECT_EQ(Bottom().Maximum(), 11);
  Click(EndArrow());
  Click(EndArrow());
  EXPECT_EQ(Bottom().Minimum(), -1);
  EXPECT_EQ(Bottom().Maximum(), 9);
  EXPECT_EQ(Clicks, (std::vector<bool>{true, false, false}));
  EXPECT_EQ(Scrolls, 3);
  Tool->SetScrollInverted(true);
  Tool->SetScrollPercent(50);
  Click(StartArrow());
  EXPECT_EQ(Bottom().Minimum(), -6);
  // The press was the arrow's: the chart drew no zoom rectangle.
  EXPECT_FALSE(Chart->Zoomed());
}

TEST_F(AxisArrowFixture, NoPercentIgnoresPresses) {
  Tool->SetScrollPercent(0);
  Click(StartArrow());
  EXPECT_EQ(Bottom().Minimum(), 0);
  EXPECT_TRUE(Clicks.empty());
  EXPECT_EQ(Scrolls, 0);
}

TEST_F(AxisArrowFixture, ARefusedScrollChangesNothing) {
  Series->SetHorizAxis(aBothHorizAxis);
  Chart->TopAxis()->SetMinMax(0, 10);
  double askedMin = 0, askedMax = 0;
  Chart->OnAllowScroll = [&](TChartAxis&, double& mn, double& mx, bool& allow) {
    askedMin = mn;
    askedMax = mx;
    allow = false;
  };
  Click(StartArrow());
  EXPECT_EQ(askedMin, 1);
  EXPECT_EQ(askedMax, 11);
  EXPECT_EQ(Bottom().Minimum(), 0);
  EXPECT_EQ(Chart->TopAxis()->Minimum(), 0);
  EXPECT_EQ(Scrolls, 0);
  EXPECT_EQ(Clicks.size(), 1u);
}

TEST_F(AxisArrowFixture, ASeriesOnBothAxesScrollsTheOppositeToo) {
  Chart->TopAxis()->SetMinMax(0, 10);
  Click(StartArrow());
  EXPECT_EQ(Chart->TopAxis()->Minimum(), 0);
  Series->SetHorizAxis(aBothHorizAxis);
  Click(StartArrow());
  EXPECT_EQ(Bottom().Minimum(), 2);
  EXPECT_EQ(Chart->TopAxis()->Minimum(), 1);
}

TEST_F(AxisArrowFixture, OverAnArrowTheCursorIsAHand) {
  const TPoint a = EndArrow();
  Chart->MouseMove(0, a.X, a.Y);
  EXPECT_EQ(Host.Cursor(), crHandPoint);
  Bottom().SetVisible(false);
  Host.Cursors.clear();
  Chart->MouseMove(0, a.X, a.Y);
  EXPECT_NE(Host.Cursor(), crHandPoint);
  Click(a);
  EXPECT_EQ(Bottom().Maximum(), 10);
}

TEST_F(AxisArrowFixture, TheArrowsArePainted) {
  Tool->Brush()->SetColor(clRed);
  const QImage arrows = PaintPicture(*Chart);
  const std::int32_t p = Bottom().PosAxis();
  int red = 0;
  for (std::int32_t x = Bottom().IEndPos() - 16; x <= Bottom().IEndPos(); ++x)
    for (std::int32_t y = p - 4; y <= p + 4; ++y) red += FromQRgb(arrows.pixel(x, y)) == clRed;
  EXPECT_GT(red, 5);
}

}  // namespace
}  // namespace chart

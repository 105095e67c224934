// Covers chart/Walls.cpp, chart/Titles.cpp and the wall side test of
// chart/ChartControl.cpp: default walls, which side of the 3D box is drawn
// after the series, the room titles take, and their stored font defaults.
#include <gtest/gtest.h>

#include <QImage>

#include "chart/ChartControl.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/testing/ChartProbes.h"
#include "chart/testing/TestPointSeries.h"

namespace chart {
namespace {

using testing::PixelAt;
using testing::TTestPointSeries;

TEST(Walls, DefaultsOfTheFourWalls) {
  TChart chart;
  EXPECT_EQ(chart.BackWall()->Color(), clSilver);
  EXPECT_TRUE(chart.BackWall()->Transparent());
  EXPECT_EQ(chart.BottomWall()->Color(), clWhite);
  EXPECT_EQ(chart.LeftWall()->Color(), 0x80FFFFu);
  EXPECT_TRUE(chart.LeftWall()->Visible());
  EXPECT_EQ(chart.RightWall()->Color(), clSilver);
  EXPECT_FALSE(chart.RightWall()->Visible());
  // The back colour of the panel is the control's colour while the back wall is transparent.
  chart.SetColor(clYellow);
  EXPECT_EQ(chart.GetBackColor(), clYellow);
  chart.BackWall()->SetTransparent(false);
  EXPECT_EQ(chart.GetBackColor(), clSilver);
}

// Seen from the front with depth running up and to the right, the right side
// of the box faces the viewer and the left side lies behind the series; seen
// from the other side it is the reverse.
TEST(Walls, TheSideFacingTheViewerIsTheOneDrawnAfterTheSeries) {
  TChart chart;
  chart.SetBounds(500, 400);
  chart.SetView3D(true);
  chart.RenderToBitmap();
  EXPECT_TRUE(chart.SideInFront(true));
  EXPECT_FALSE(chart.SideInFront(false));
  chart.View3DOptions()->SetOrthoAngle(135);
  chart.RenderToBitmap();
  EXPECT_FALSE(chart.SideInFront(true));
  EXPECT_TRUE(chart.SideInFront(false));
}

// A point at the left end of the back row stays whole: the left wall is drawn
// before the series, not over them.
TEST(Walls, TheLeftWallDoesNotCoverPointsBesideIt) {
  TChart chart;
  chart.SetBounds(500, 400);
  chart.SetView3D(true);
  chart.SetColor(clWhite);
  auto* back = new TTestPointSeries(&chart);
  back->SetParentChart(&chart);
  back->SetSeriesColor(clGreen);
  auto* front = new TTestPointSeries(&chart);
  front->SetParentChart(&chart);
  for (int i = 0; i <= 4; ++i) {
    back->AddXY(i, 10);
    front->AddXY(i, 0);
  }
  const QImage img = chart.RenderToBitmap()->Image();
  const TPoint p = chart.Canvas().Calculate3DPosition(back->CalcXPos(0), back->CalcYPos(0), back->StartZ);
  EXPECT_EQ(PixelAt(img, p.X - 2, p.Y), clGreen);
  EXPECT_EQ(PixelAt(img, p.X + 2, p.Y), clGreen);
}

TEST(Titles, TitlesTakeTheirRoomFromTheChartRectangle) {
  TChart chart;
  chart.SetBounds(400, 300);
  chart.SetView3D(false);
  // The chart rectangle as the titles find it.
  TRect beforeTitles;
  chart.OnBeforeDrawChart = [&] { beforeTitles = chart.ChartRect(); };
  chart.RenderToBitmap();
  const TRect none = chart.ChartRect();
  chart.Title()->SetText({"one", "two"});
  chart.Title()->Pen()->SetVisible(false);  // no frame: only the lines and the gap
  chart.RenderToBitmap();
  chart.Canvas().AssignFont(*chart.Title()->Font());
  const std::int32_t titleHeight = chart.Canvas().FontHeight();
  EXPECT_EQ(chart.ChartRect().Top - none.Top, 2 * titleHeight + 5);
  // Right alignment with a fitted frame keeps the box against the right edge.
  chart.Title()->SetAlignment(taRightJustify);
  chart.RenderToBitmap();
  EXPECT_EQ(chart.Title()->ShapeBounds().Right, beforeTitles.Right);
  // A custom-positioned title leaves the chart rectangle alone.
  chart.Title()->SetLeft(10);
  chart.RenderToBitmap();
  EXPECT_EQ(chart.ChartRect().Top, none.Top);
  // A foot title takes its room from the bottom.
  chart.Foot()->SetCaption("foot");
  chart.RenderToBitmap();
  EXPECT_LT(chart.ChartRect().Bottom, none.Bottom);
  EXPECT_TRUE(chart.Foot()->Clicked(chart.Foot()->ShapeBounds().Left + 1, chart.Foot()->ShapeBounds().Top + 1));
}

// The titles start blue, the foot titles red and italic; those are their
// stored defaults, so a chart writes a title font only when the user changed it.
TEST(Titles, TitleFontsStoreOnlyWhatDiffersFromTheirOwnDefaults) {
  TChart chart;
  const classlib::TPropInfo* color = chart.Title()->Font()->ClassInfo().FindProperty("Color");
  const classlib::TPropInfo* style = chart.Title()->Font()->ClassInfo().FindProperty("Style");
  ASSERT_NE(color, nullptr);
  ASSERT_NE(style, nullptr);
  EXPECT_EQ(chart.Title()->Font()->Color(), clBlue);
  EXPECT_FALSE(color->IsStored(*chart.Title()->Font()));
  EXPECT_EQ(chart.Foot()->Font()->Color(), clRed);
  EXPECT_FALSE(color->IsStored(*chart.Foot()->Font()));
  EXPECT_FALSE(style->IsStored(*chart.SubFoot()->Font()));
  chart.Title()->Font()->SetColor(clBlack);
  EXPECT_TRUE(color->IsStored(*chart.Title()->Font()));
  chart.SubFoot()->Font()->SetStyle(0);
  EXPECT_TRUE(style->IsStored(*chart.SubFoot()->Font()));
  // Resetting to defaults brings each back to its own start.
  classlib::ResetToDefaults(*chart.Title()->Font());
  EXPECT_EQ(chart.Title()->Font()->Color(), clBlue);
}

}  // namespace
}  // namespace chart

// Covers chart/tools/DrawLineTool.cpp: drawing a line by press, moves and release,
// selecting and moving a line or one of its ends, refused selections, the
// hit tests of the three styles, the cursor over lines and handles, and the
// rubber line drawn in XOR over the chart's picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ToolTestSupport.h"
#include "chart/tools/DrawLineTool.h"

namespace chart {
namespace {

using testing::PaintPicture;
using testing::Picture;
using testing::ToolChartFixture;

class DrawLineFixture : public ToolChartFixture {
 protected:
  void SetUp() override {
    ToolChartFixture::SetUp();
    Tool = new TDrawLineTool(Chart.get());
    Tool->SetParentChart(Chart.get());
    Tool->OnNewLine = [this](TDrawLineTool&) { Events.push_back("new"); };
    Tool->OnSelect = [this](TDrawLineTool&) { Events.push_back("select"); };
    Tool->OnDragLine = [this](TDrawLineTool&) { Events.push_back("drag"); };
    Tool->OnDraggedLine = [this](TDrawLineTool&) { Events.push_back("dragged"); };
  }
  // Draws a line from a to b with the mouse.
  void Draw(TPoint a, TPoint b) {
    Chart->MouseDown(mbLeft, 0, a.X, a.Y);
    Chart->MouseMove(0, (a.X + b.X) / 2, (a.Y + b.Y) / 2);
    Chart->MouseMove(0, b.X, b.Y);
    Chart->MouseUp(mbLeft, 0, b.X, b.Y);
  }
  void Drag(TPoint from, TPoint to) {
    Chart->MouseDown(mbLeft, 0, from.X, from.Y);
    Chart->MouseMove(0, to.X, to.Y);
    Chart->MouseUp(mbLeft, 0, to.X, to.Y);
  }
  void ExpectEnds(const TDrawLine& line, TPoint a, TPoint b) {
    EXPECT_EQ(line.X0(), Bottom().CalcPosPoint(a.X));
    EXPECT_EQ(line.Y0(), Left().CalcPosPoint(a.Y));
    EXPECT_EQ(line.X1(), Bottom().CalcPosPoint(b.X));
    EXPECT_EQ(line.Y1(), Left().CalcPosPoint(b.Y));
  }
  TPoint At(int dx, int dy) const { return {Chart->ChartRect().Left + dx, Chart->ChartRect().Top + dy}; }

  TDrawLineTool* Tool = nullptr;
  std::vector<std::string> Events;
};

TEST_F(DrawLineFixture, ALineIsDrawnInAxisValues) {
  const TPoint a = At(40, 50), b = At(300, 200);
  Draw(a, b);
  ASSERT_EQ(Tool->Lines()->Count(), 1);
  ExpectEnds(*Tool->Lines()->Line(0), a, b);
  EXPECT_EQ(Tool->Lines()->Line(0)->Style(), dlLine);
  EXPECT_EQ(Events, (std::vector<std::string>{"drag", "drag", "new"}));
  EXPECT_FALSE(Tool->Drawing());
  // Drawing took the mouse: no zoom.
  EXPECT_FALSE(Chart->Zoomed());
  // The line stays on its values when the axes change.
  const double x0 = Tool->Lines()->Line(0)->X0();
  Bottom().SetMinMax(-10, 20);
  PaintPicture(*Chart);
  EXPECT_EQ(Tool->Lines()->Line(0)->X0(), x0);
  EXPECT_EQ(Tool->AxisPoint(x0, 0).X, Bottom().CalcPosValue(x0));
}

TEST_F(DrawLineFixture, AClickWithoutMovingAddsNoLineAndLeavesNoTrace) {
  const QImage before = Picture(*Chart);
  const TPoint a = At(100, 100);
  Chart->MouseDown(mbLeft, 0, a.X, a.Y);
  Chart->MouseUp(mbLeft, 0, a.X, a.Y);
  EXPECT_EQ(Tool->Lines()->Count(), 0);
  EXPECT_TRUE(Events.empty());
  EXPECT_EQ(Picture(*Chart), before);
}

TEST_F(DrawLineFixture, TheRubberLineIsDrawnInXorOverThePicture) {
  const QImage before = Picture(*Chart);
  const TPoint a = At(100, 100);
  Chart->MouseDown(mbLeft, 0, a.X, a.Y);
  Chart->MouseMove(0, a.X + 120, a.Y + 80);
  EXPECT_NE(Picture(*Chart), before);
  EXPECT_FALSE(dynamic_cast<TKivCanvas3D&>(Chart->Canvas()).Dirty());
  Chart->MouseMove(0, a.X, a.Y);
  Chart->MouseUp(mbLeft, 0, a.X, a.Y);
  EXPECT_EQ(Tool->Lines()->Count(), 0);
  EXPECT_EQ(Picture(*Chart), before);
}

TEST_F(DrawLineFixture, APressOnALineSelectsItAndMovesItWhole) {
  const TPoint a = At(40, 50), b = At(240, 250);
  Draw(a, b);
  PaintPicture(*Chart);
  Events.clear();
  // Pressing at the start of a line not selected moves the whole line.
  Drag(a, {a.X + 30, a.Y - 20});
  ASSERT_EQ(Tool->Selected(), Tool->Lines()->Line(0));
  ExpectEnds(*Tool->Selected(), {a.X + 30, a.Y - 20}, {b.X + 30, b.Y - 20});
  EXPECT_EQ(Events, (std::vector<std::string>{"select", "drag", "dragged"}));
}

TEST_F(DrawLineFixture, AHandleOfTheSelectedLineDragsOnlyItsEnd) {
  const TPoint a = At(40, 50), b = At(240, 250);
  Draw(a, b);
  Tool->SetSelected(Tool->Lines()->Line(0));
  PaintPicture(*Chart);
  // The cursor tells a handle from the line.
  Chart->MouseMove(0, b.X + 1, b.Y - 1);
  EXPECT_EQ(Host.Cursor(), crCross);
  Chart->MouseMove(0, (a.X + b.X) / 2, (a.Y + b.Y) / 2);
  EXPECT_EQ(Host.Cursor(), crHandPoint);
  Chart->MouseDown(mbLeft, 0, b.X + 1, b.Y - 1);
  EXPECT_EQ(Tool->DragState(), 2);
  Chart->MouseMove(0, b.X + 50, b.Y - 90);
  Chart->MouseUp(mbLeft, 0, b.X + 50, b.Y - 90);
  ExpectEnds(*Tool->Lines()->Line(0), a, {b.X + 50, b.Y - 90});
  Chart->MouseDown(mbLeft, 0, a.X, a.Y);
  EXPECT_EQ(Tool->DragState(), 1);
  Chart->MouseMove(0, a.X + 5, a.Y + 7);
  Chart->MouseUp(mbLeft, 0, a.X + 5, a.Y + 7);
  ExpectEnds(*Tool->Lines()->Line(0), {a.X + 5, a.Y + 7}, {b.X + 50, b.Y - 90});
}

TEST_F(DrawLineFixture, ARefusedSelectionKeepsTheOldOneAndMovesNothing) {
  const TPoint a = At(40, 50), b = At(240, 50), c = At(40, 200), d = At(240, 200);
  Draw(a, b);
  Draw(c, d);
  Tool->SetSelected(Tool->Lines()->Line(0));
  TDrawLine* asked = nullptr;
  Tool->OnSelecting = [&](TDrawLineTool&, TDrawLine& line, bool& allow) {
    asked = &line;
    allow = false;
  };
  PaintPicture(*Chart);
  Events.clear();
  Drag({140, c.Y}, {140, c.Y + 40});
  EXPECT_EQ(asked, Tool->Lines()->Line(1));
  EXPECT_EQ(Tool->Selected(), Tool->Lines()->Line(0));
  ExpectEnds(*Tool->Lines()->Line(1), c, d);
  EXPECT_TRUE(Events.empty());
}

TEST_F(DrawLineFixture, ParallelLinesAreHitOnEitherLineNotBetween) {
  const TPoint a = At(50, 50), b = At(250, 250);
  Draw(a, b);
  TDrawLine& line = *Tool->Lines()->Line(0);
  line.SetStyle(dlHorizParallel);
  PaintPicture(*Chart);
  EXPECT_EQ(Tool->LineAt(0, 150, a.Y + 3), &line);
  EXPECT_EQ(Tool->LineAt(0, 150, b.Y - 4), &line);
  EXPECT_EQ(Tool->LineAt(0, 150, (a.Y + b.Y) / 2), nullptr);
  EXPECT_EQ(Tool->LineAt(0, 150, a.Y + 5), nullptr);
  line.SetStyle(dlVertParallel);
  EXPECT_EQ(Tool->LineAt(0, a.X - 2, 150), &line);
  EXPECT_EQ(Tool->LineAt(0, b.X + 4, 150), &line);
  EXPECT_EQ(Tool->LineAt(0, (a.X + b.X) / 2, 150), nullptr);
  line.SetStyle(dlLine);
  EXPECT_EQ(Tool->LineAt(0, (a.X + b.X) / 2, (a.Y + b.Y) / 2), &line);
  EXPECT_EQ(Tool->LineAt(0, (a.X + b.X) / 2 + 10, (a.Y + b.Y) / 2 - 10), nullptr);
}

TEST_F(DrawLineFixture, WithoutSelectingPressesOnLinesDrawNewOnes) {
  const TPoint a = At(50, 50), b = At(250, 250);
  Draw(a, b);
  Tool->SetSelected(Tool->Lines()->Line(0));
  Tool->SetEnableSelect(false);
  EXPECT_EQ(Tool->Selected(), nullptr);
  Draw({(a.X + b.X) / 2, (a.Y + b.Y) / 2}, {300, 60});
  EXPECT_EQ(Tool->Lines()->Count(), 2);
  Tool->SetEnableDraw(false);
  Draw(At(10, 200), At(100, 300));
  EXPECT_EQ(Tool->Lines()->Count(), 2);
  EXPECT_TRUE(Chart->Zoomed());
}

TEST_F(DrawLineFixture, DeletingTheSelectedLineClearsTheSelection) {
  Draw(At(50, 50), At(250, 250));
  Tool->SetSelected(Tool->Lines()->Line(0));
  Tool->Lines()->Delete(0);
  EXPECT_EQ(Tool->Selected(), nullptr);
  PaintPicture(*Chart);
}

TEST_F(DrawLineFixture, AssigningLinesCopiesThem) {
  Draw(At(50, 50), At(250, 250));
  Tool->Lines()->Line(0)->SetStyle(dlVertParallel);
  TDrawLineTool other;
  other.SetLines(*Tool->Lines());
  ASSERT_EQ(other.Lines()->Count(), 1);
  const TDrawLine& copy = *other.Lines()->Line(0);
  const TDrawLine& line = *Tool->Lines()->Line(0);
  EXPECT_EQ(copy.Style(), dlVertParallel);
  EXPECT_EQ(copy.X0(), line.X0());
  EXPECT_EQ(copy.Y1(), line.Y1());
  EXPECT_EQ(copy.Parent(), &other);
}

}  // namespace
}  // namespace chart

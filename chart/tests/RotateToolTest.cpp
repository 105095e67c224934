// Covers chart/tools/RotateTool.cpp: the wrap rules of rotation and elevation, the
// turn per chart width, the 3D view the tool switches on, and the outline
// dragged with a visible pen.
#include <gtest/gtest.h>

#include "ToolTestSupport.h"
#include "chart/tools/RotateTool.h"

namespace chart {
namespace {

using testing::PaintPicture;
using testing::Picture;
using testing::ToolChartFixture;

TEST(RotateWrap, RotationSkipsTheBackHalfAndElevationStaysAbove270) {
  const struct {
    std::int32_t From, Delta, Want;
  } rotations[] = {{345, 10, 355}, {355, 10, 5},   {350, 11, 1},  {359, 1, 360}, {80, 20, 90},
                   {90, 5, 90},    {10, -20, 350}, {280, -20, 270}, {270, -1, 270}, {100, 0, 100},
                   {0, -1, 359}};
  for (const auto& r : rotations)
    EXPECT_EQ(TRotateTool::NextRotation(r.From, r.Delta), r.Want) << r.From << " " << r.Delta;
  const struct {
    std::int32_t From, Delta, Want;
  } elevations[] = {{345, 10, 355}, {355, 10, 360}, {280, -20, 270}, {300, -5, 295}, {345, 0, 345}};
  for (const auto& e : elevations)
    EXPECT_EQ(TRotateTool::NextElevation(e.From, e.Delta), e.Want) << e.From << " " << e.Delta;
}

class RotateFixture : public ToolChartFixture {
 protected:
  void SetUp() override {
    ToolChartFixture::SetUp();
    Tool = new TRotateTool(Chart.get());
    Tool->SetParentChart(Chart.get());
    Tool->OnRotate = [this](TRotateTool&) { ++Rotations; };
  }
  TView3DOptions& View() const { return *Chart->View3DOptions(); }
  TRotateTool* Tool = nullptr;
  int Rotations = 0;
};

TEST_F(RotateFixture, AMoveOfOneChartWidthTurnsNinetyDegrees) {
  const std::int32_t y = 200;
  Chart->MouseDown(mbLeft, 0, 0, y);
  Chart->MouseMove(0, Chart->Width() - 1, y);
  Chart->MouseMove(0, Chart->Width(), y);
  Chart->MouseUp(mbLeft, 0, Chart->Width(), y);
  EXPECT_EQ(View().Rotation(), (345 + 90) - 360);
  EXPECT_EQ(View().Elevation(), 345);
  EXPECT_TRUE(Chart->View3D());
  EXPECT_FALSE(View().Orthogonal());
  EXPECT_EQ(Rotations, 2);
  // Upwards the elevation rises to 360 at most.
  Chart->MouseDown(mbLeft, 0, 100, 300);
  Chart->MouseMove(0, 100, 300 - Chart->Height() / 2);
  Chart->MouseUp(mbLeft, 0, 100, 100);
  EXPECT_EQ(View().Elevation(), 360);
}

TEST_F(RotateFixture, InvertedStylesAndButtons) {
  Tool->SetInverted(true);
  Tool->SetStyle(rsElevation);
  Chart->MouseDown(mbLeft, 0, 300, 200);
  Chart->MouseMove(0, 340, 180);
  Chart->MouseUp(mbLeft, 0, 340, 180);
  EXPECT_EQ(View().Rotation(), 345);
  const std::int32_t dElev = static_cast<std::int32_t>(std::nearbyint(20 * 90.0 / Chart->Height()));
  EXPECT_EQ(View().Elevation(), 345 - dElev);
  Tool->SetButton(mbRight);
  Chart->MouseDown(mbLeft, 0, 300, 200);
  EXPECT_FALSE(Tool->Dragging());
  Chart->MouseUp(mbLeft, 0, 300, 200);
  Chart->MouseDown(mbRight, 0, 300, 200);
  EXPECT_TRUE(Tool->Dragging());
  Chart->MouseUp(mbRight, 0, 300, 200);
}

TEST_F(RotateFixture, AVisiblePenDragsAnOutlineAndRepaintsAtTheEnd) {
  Tool->Pen()->SetVisible(true);
  Chart->SetView3D(true);
  View().SetOrthogonal(false);
  const QImage before = PaintPicture(*Chart);
  Chart->MouseDown(mbLeft, 0, 300, 200);
  Chart->MouseUp(mbLeft, 0, 300, 200);
  // A click without a move leaves repainting on.
  EXPECT_TRUE(Chart->AutoRepaint());
  Chart->MouseDown(mbLeft, 0, 300, 200);
  Chart->MouseMove(0, 330, 200);
  EXPECT_FALSE(Chart->AutoRepaint());
  EXPECT_NE(Picture(*Chart), before);
  EXPECT_FALSE(dynamic_cast<TKivCanvas3D&>(Chart->Canvas()).Dirty());
  Chart->MouseMove(0, 360, 190);
  Chart->MouseUp(mbLeft, 0, 360, 190);
  EXPECT_TRUE(Chart->AutoRepaint());
  EXPECT_TRUE(dynamic_cast<TKivCanvas3D&>(Chart->Canvas()).Dirty());
}

TEST_F(RotateFixture, AChartWithoutSizeIgnoresTheMouse) {
  Chart->SetBounds(0, 0);
  Tool->ChartMouseEvent(cmeDown, mbLeft, 0, 0, 0);
  Tool->ChartMouseEvent(cmeMove, mbLeft, 0, 50, 50);
  Tool->ChartMouseEvent(cmeUp, mbLeft, 0, 50, 50);
  EXPECT_EQ(View().Rotation(), 345);
  EXPECT_EQ(Rotations, 0);
}

}  // namespace
}  // namespace chart

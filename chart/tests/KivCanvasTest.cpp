// Covers chart/KivCanvas.cpp and chart/KivStylesDraw.cpp through the recording surface.
#include <gtest/gtest.h>

#include "chart/KivCanvas.h"
#include "chart/testing/RecordingCanvas.h"

namespace chart {
namespace {

using testing::TRecordingCanvas;

TEST(CanvasStyles, HiddenPenIsClearAndMonochromeForcesColours) {
  TRecordingCanvas c;
  TChartPen pen;
  pen.SetColor(clRed);
  pen.SetVisible(false);
  c.AssignVisiblePen(pen);
  EXPECT_EQ(c.Pen().Style(), psClear);
  c.SetMonochrome(true);
  pen.SetVisible(true);
  c.Pen().SetStyle(psSolid);
  c.AssignVisiblePen(pen);
  EXPECT_EQ(c.Pen().Color(), clBlack);
  TChartBrush brush;
  brush.SetColor(clBlue);
  c.AssignBrush(brush);
  EXPECT_EQ(c.Brush().Color(), clWhite);
  TKivFont font;
  font.SetColor(clRed);
  c.AssignFont(font);
  EXPECT_EQ(c.Font().Color(), clBlack);
}

TEST(CanvasText, ShadowMovesTextOrShadowBySign) {
  TRecordingCanvas c;
  TKivFont font;
  font.Shadow()->SetHorizSize(-2);
  font.Shadow()->SetVertSize(3);
  font.Shadow()->SetColor(clGray);
  c.AssignFont(font);
  c.TextOut(10, 20, "Ab");
  ASSERT_EQ(c.Calls("TextOut").size(), 2u);
  EXPECT_EQ(c.Calls("TextOut")[0], "TextOut 10,23 808080 \"Ab\"");  // shadow 3 below
  EXPECT_EQ(c.Calls("TextOut")[1], "TextOut 12,20 000000 \"Ab\"");  // text 2 right
  font.Shadow()->SetHorizSize(-4);
  EXPECT_EQ(c.TextWidth(""), 4);
  EXPECT_EQ(c.TextHeight("x"), c.LineHeight + 3);
}

TEST(CanvasText, TransparentShadowBlendsOverItsBox) {
  TRecordingCanvas c;
  TKivFont font;
  font.Shadow()->SetSize(2);
  font.Shadow()->SetTransparency(50);
  c.AssignFont(font);
  c.SetTextAlign(TA_CENTER);
  c.TextOut(100, 10, "abcd");  // 24 + 2 wide, 13 + 2 high, centred on the shadow's x
  EXPECT_EQ(c.Calls("BeginBlending")[0], "BeginBlending 89,12,115,27");
  EXPECT_EQ(c.Calls("EndBlending")[0], "EndBlending 89,12,115,27 50");
}

TEST(CanvasText, RotateLabelReducesAnglesAbove360) {
  TRecordingCanvas c;
  c.RotateLabel(5, 5, "x", 450);
  EXPECT_EQ(c.Brush().Style(), bsClear);
  EXPECT_EQ(c.Calls("TextOut").size(), 1u);
}

TEST(CanvasGradient, BandCountsAndEdges) {
  struct Case { TRect r; TGradientDirection dir; size_t bands; };
  const Case cases[] = {
      {{0, 0, 20, 10}, gdTopBottom, 10},
      {{0, 0, 20, 1000}, gdTopBottom, 256},
      {{0, 0, 20, 1}, gdTopBottom, 0},
      {{0, 0, 7, 30}, gdLeftRight, 7},
  };
  for (const Case& k : cases) {
    TRecordingCanvas c;
    c.GradientFill(k.r, clBlack, clWhite, k.dir, 50);
    EXPECT_EQ(c.Calls("FillRect").size(), k.bands);
  }
  TRecordingCanvas c;
  c.GradientFill({0, 0, 20, 10}, clBlack, clWhite, gdTopBottom, 50);
  // The start colour lies at the bottom edge.
  EXPECT_EQ(c.Calls("FillRect").front(), "FillRect 0,9,20,10 000000");
  EXPECT_EQ(c.Calls("FillRect").back(), "FillRect 0,0,20,1 FFFFFF");
}

TEST(CanvasGradient, FromCentreFramesOfA10By6Rectangle) {
  TRecordingCanvas c;
  // Colours exchanged for the centre direction: index 0 shows the end colour.
  c.GradientFill({0, 0, 10, 6}, RGB(0, 0, 0), RGB(80, 0, 0), gdFromCenter, 50);
  // Five frames of colour indices 0, 2, 4, 6, 7 over the divisor 8; strips
  // that collapse to nothing in the last frames are not painted.
  std::vector<std::string> colours;
  for (const std::string& f : c.Calls("FillRect")) {
    const std::string colour = f.substr(f.rfind(' ') + 1);
    if (colours.empty() || colours.back() != colour) colours.push_back(colour);
  }
  EXPECT_EQ(colours, (std::vector<std::string>{"000050", "00003C", "000028", "000014", "00000A"}));
}

TEST(CanvasGradient, MidColourMakesTwoHalves) {
  TRecordingCanvas c;
  TKivGradient g;
  g.SetMidColor(clRed);
  g.Draw(c, TRect{0, 0, 10, 20});
  // top half: mid to end, bottom half: start to mid
  const auto fills = c.Calls("FillRect");
  ASSERT_EQ(fills.size(), 20u);
  EXPECT_EQ(fills.front(), "FillRect 0,9,10,10 0000FF");   // bottom of the upper half: mid colour
  EXPECT_EQ(fills.back(), "FillRect 0,10,10,11 0000FF");   // top of the lower half: mid colour
}

TEST(CanvasShadow, TwoStripsOnlyAndNothingWithoutSize) {
  TRecordingCanvas c;
  TKivShadow s;
  s.SetSize(3);
  s.DrawRect(c, {10, 10, 50, 30});
  ASSERT_EQ(c.Calls("FillRect").size(), 2u);
  EXPECT_EQ(c.Calls("FillRect")[0], "FillRect 13,30,53,33 C0C0C0");
  EXPECT_EQ(c.Calls("FillRect")[1], "FillRect 50,13,53,33 C0C0C0");
  TRecordingCanvas none;
  TKivShadow zero;
  zero.DrawRect(none, {10, 10, 50, 30});
  EXPECT_TRUE(none.Log.empty());
}

TEST(Canvas3D, PlanesAndEllipsesProject) {
  TRecordingCanvas c;
  TView3DOptions o;
  c.InitWindow(nullptr, &o, clWhite, true, {0, 0, 200, 100});
  c.Projection(40, {0, 0, 200, 100});
  c.RectangleWithZ({10, 10, 20, 20}, 5);
  EXPECT_EQ(c.Calls("Polygon")[0], "Polygon 15,5 25,5 25,15 15,15 pen=000000/1 brush=FFFFFF");
  c.Sphere(50, 50, 2.5, 0);  // radius 2.5 rounds to 2
  EXPECT_EQ(c.Calls("Ellipse")[0], "Ellipse 48,48,52,52 pen=000000/1 brush=FFFFFF");
  c.FrontPlaneBegin();
  c.EllipseWithZ(0, 0, 10, 10, 30);
  EXPECT_EQ(c.Calls("Ellipse")[1], "Ellipse 0,0,11,11 pen=000000/1 brush=FFFFFF");
  c.FrontPlaneEnd();
  EXPECT_TRUE(c.Is3D());
}

TEST(Canvas3D, RotatedEllipseIsAFanAndAnOutline) {
  TView3DOptions o;
  o.SetOrthogonal(false);
  for (bool clearBrush : {false, true}) {
    TRecordingCanvas c;
    c.InitWindow(nullptr, &o, clWhite, true, {0, 0, 200, 100});
    c.Projection(40, {0, 0, 200, 100});
    if (clearBrush) c.Brush().SetStyle(bsClear);
    c.EllipseWithZ(40, 40, 80, 60, 10);
    EXPECT_EQ(c.Calls("Polygon").size(), clearBrush ? 0u : 63u);
    EXPECT_EQ(c.Calls("Polyline").size(), 1u);
  }
  TRecordingCanvas c;
  c.InitWindow(nullptr, &o, clWhite, true, {0, 0, 200, 100});
  c.Pen().SetStyle(psClear);
  c.EllipseWithZ(40, 40, 80, 60, 10);
  EXPECT_EQ(c.Calls("Polyline").size(), 0u);
}

TEST(Canvas3D, CubeDrawsAtMostThreeFacesAndKeepsTheLastDarkening) {
  TRecordingCanvas c;
  TView3DOptions o;
  c.InitWindow(nullptr, &o, clWhite, true, {0, 0, 200, 100});
  c.Projection(40, {0, 0, 200, 100});
  c.Brush().SetColor(RGB(200, 200, 200));
  c.Cube(10, 50, 20, 60, 0, 20, true);
  const auto faces = c.Calls("Polygon");
  ASSERT_EQ(faces.size(), 3u);
  EXPECT_NE(faces[0].find("C8C8C8"), std::string::npos);  // front, not darkened
  EXPECT_NE(faces[1].find("484848"), std::string::npos);  // side, darkened by 128
  EXPECT_NE(faces[2].find("888888"), std::string::npos);  // top, darkened by 64
  EXPECT_EQ(c.Brush().Color(), RGB(136, 136, 136));
}

TEST(Canvas3D, ArrowOpenAndFilled) {
  TRecordingCanvas c;
  c.Arrow(false, {0, 0}, {100, 0}, 20, 10, 0);
  EXPECT_EQ(c.Calls("LineTo").size(), 3u);
  EXPECT_EQ(c.Calls("LineTo")[1], "LineTo 90,10 pen=000000/1 brush=FFFFFF");
  c.Log.clear();
  c.Arrow(true, {0, 0}, {100, 0}, 20, 10, 0);
  EXPECT_EQ(c.Calls("Polygon")[0],
            "Polygon 100,0 90,10 90,5 0,5 0,-5 90,-5 90,-10 pen=000000/1 brush=FFFFFF");
  c.Log.clear();
  c.Arrow(true, {5, 5}, {5, 5}, 20, 10, 0);
  EXPECT_TRUE(c.Log.empty());
}

TEST(Canvas3D, ClipCubeByView) {
  TRecordingCanvas flat;
  flat.ClipCube({10, 10, 50, 40}, 0, 10);
  EXPECT_EQ(flat.Log[0], "ClipRectangle 11,11,50,39");
  TRecordingCanvas ortho;
  TView3DOptions o;
  ortho.InitWindow(nullptr, &o, clWhite, true, {0, 0, 200, 100});
  ortho.Projection(40, {0, 0, 200, 100});
  ortho.ClipCube({10, 10, 50, 40}, 0, 10);
  EXPECT_EQ(ortho.Log.back(), "ClipPolygon 10,40 10,10 20,0 60,0 60,30 50,40");
  TRecordingCanvas rotated;
  TView3DOptions r;
  r.SetOrthogonal(false);
  r.SetRotation(200);
  rotated.InitWindow(nullptr, &r, clWhite, true, {0, 0, 200, 100});
  rotated.ClipCube({10, 10, 50, 40}, 0, 10);
  EXPECT_TRUE(rotated.Calls("Clip").empty());
}

TEST(CanvasFrame, Frame3DClosesAndRestoresTheRectangle) {
  TRecordingCanvas c;
  TRect r{0, 0, 10, 8};
  c.Frame3D(r, clWhite, clGray, 2);
  EXPECT_EQ(r, (TRect{2, 2, 8, 6}));
  const auto lines = c.Calls("Polyline");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "Polyline 0,7 0,0 9,0 pen=FFFFFF/1 brush=FFFFFF");
  EXPECT_EQ(lines[1], "Polyline 9,0 9,7 -1,7 pen=808080/1 brush=FFFFFF");
}

}  // namespace
}  // namespace chart

// Covers chart/canvas/KivCanvas.cpp, chart/canvas/KivCanvasSolids.cpp and
// chart/canvas/StyleDrawing.cpp through the recording surface.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "chart/canvas/KivCanvas.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/canvas/StyleDrawing.h"
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
  DrawGradient(c, g, TRect{0, 0, 10, 20});
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
  DrawShadowRect(c, s, {10, 10, 50, 30});
  ASSERT_EQ(c.Calls("FillRect").size(), 2u);
  EXPECT_EQ(c.Calls("FillRect")[0], "FillRect 13,30,53,33 C0C0C0");
  EXPECT_EQ(c.Calls("FillRect")[1], "FillRect 50,13,53,33 C0C0C0");
  TRecordingCanvas none;
  TKivShadow zero;
  DrawShadowRect(none, zero, {10, 10, 50, 30});
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

// The default orthogonal view, in which depth runs up and to the right:
// P(x, y, z) = (x + z, y - z) for this chart rectangle.
struct TSolidView {
  TRecordingCanvas c;
  TView3DOptions o;
  TSolidView() {
    c.InitWindow(nullptr, &o, clWhite, true, {0, 0, 200, 100});
    c.Projection(40, {0, 0, 200, 100});
    c.Log.clear();
    c.Brush().SetColor(RGB(200, 200, 200));
  }
  std::vector<std::string> Faces() const { return c.Calls("Polygon"); }
};

std::size_t PointCount(const std::string& polygon) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < polygon.size(); ++i) n += polygon[i] == ',';
  return n;
}

bool HasBrush(const std::string& face, const char* hex) {
  return face.find(std::string("brush=") + hex) != std::string::npos;
}

TEST(Canvas3D, PyramidFacesByTurnAndDarkness) {
  struct Case {
    const char* name;
    bool vertical;
    TRect r;
    std::vector<const char*> faces;  // the faces in drawing order: first points and brush
  } cases[] = {
      // Upright: front, then the right side darkened 128; the base faces down.
      {"upright", true, {10, 20, 50, 60}, {"10,60 40,10 50,60 pen=000000/1 brush=C8C8C8", "50,60 40,10 70,40 pen=000000/1 brush=484848"}},
      // Upside down: front, right side, and the base on top darkened 64.
      {"inverted", true, {10, 60, 50, 20}, {"10,20 40,50 50,20", "50,20 40,50 70,0", "30,0 70,0 50,20 10,20 pen=000000/1 brush=888888"}},
      // No height: only the base, which faces the viewer.
      {"flat", true, {10, 60, 50, 60}, {"30,40 70,40 50,60 10,60 pen=000000/1 brush=888888"}},
      // Pointing right: front, then the upper side darkened 64.
      {"horizontal", false, {10, 20, 50, 60}, {"10,20 60,30 10,60 pen=000000/1 brush=C8C8C8", "10,20 60,30 30,0 pen=000000/1 brush=888888"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    TSolidView v;
    v.c.Pyramid(k.vertical, k.r.Left, k.r.Top, k.r.Right, k.r.Bottom, 0, 20, true);
    const auto faces = v.Faces();
    ASSERT_EQ(faces.size(), k.faces.size());
    for (std::size_t i = 0; i < faces.size(); ++i) EXPECT_NE(faces[i].find(k.faces[i]), std::string::npos) << faces[i];
  }
  TSolidView plain;
  plain.c.Pyramid(true, 10, 60, 50, 20, 0, 20, false);
  for (const std::string& f : plain.Faces()) EXPECT_TRUE(HasBrush(f, "C8C8C8")) << f;
}

TEST(Canvas3D, TruncatedPyramidDrawsBackToFront) {
  TSolidView v;
  v.c.PyramidTrunc({10, 20, 50, 60}, 0, 20, 5, 3);
  const std::vector<std::string> want = {
      "Polygon 30,40 70,40 50,60 10,60",  // base
      "Polygon 38,7 48,7 70,40 30,40",    // back
      "Polygon 32,13 42,13 50,60 10,60",  // front (the left side faces away)
      "Polygon 42,13 48,7 70,40 50,60",   // right
      "Polygon 38,7 48,7 42,13 32,13",    // top
  };
  const auto faces = v.Faces();
  ASSERT_EQ(faces.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(faces[i].rfind(want[i], 0), 0u) << faces[i];
    EXPECT_TRUE(HasBrush(faces[i], "C8C8C8"));  // none darkened
  }
  TSolidView pointed;  // no top width: no top face
  pointed.c.PyramidTrunc({10, 20, 50, 60}, 0, 20, 0, 3);
  EXPECT_EQ(pointed.Faces().size(), 4u);
  TSolidView hanging;  // top edge below the base: the top face comes first
  hanging.c.PyramidTrunc({10, 60, 50, 20}, 0, 20, 5, 3);
  ASSERT_FALSE(hanging.Faces().empty());
  EXPECT_EQ(hanging.Faces().front().rfind("Polygon 38,47 48,47 42,53 32,53", 0), 0u);
}

TEST(Canvas3D, ConeSidesDarkenInStepsAndThePointCollapses) {
  TSolidView v;
  v.c.Cone(true, 10, 20, 50, 60, 0, 20, true, 0);
  const auto faces = v.Faces();
  // Nine visible sides, the closing side in the last side's shade, and the cap.
  ASSERT_EQ(faces.size(), 11u);
  const char* shades[] = {"C8C8C8", "B8B8B8", "A8A8A8", "989898", "888888",
                          "787878", "686868", "585858", "484848", "484848"};
  for (int k = 0; k < 10; ++k) {
    EXPECT_TRUE(HasBrush(faces[k], shades[k])) << faces[k];
    EXPECT_EQ(faces[k].rfind("Polygon 40,10 ", 0), 0u);  // every side meets at the point
  }
  EXPECT_EQ(PointCount(faces[10]), 16u);
  EXPECT_EQ(faces[10].rfind("Polygon 40,10 40,10 40,10", 0), 0u);  // the cap is one point
  EXPECT_TRUE(HasBrush(faces[10], "888888"));

  TSolidView cylinder;
  cylinder.c.Cylinder(true, 10, 20, 50, 60, 0, 20, false);
  const auto sides = cylinder.Faces();
  ASSERT_EQ(sides.size(), 9u);
  EXPECT_EQ(PointCount(sides.back()), 16u);  // the top ring
  for (const std::string& f : sides) EXPECT_TRUE(HasBrush(f, "C8C8C8"));

  // Seen from the right, a horizontal bar's cap closes its right (top) end.
  TSolidView horizontal;
  horizontal.c.Cylinder(false, 10, 20, 50, 60, 0, 20, false);
  const std::string cap = horizontal.Faces().back();
  EXPECT_EQ(PointCount(cap), 16u);
  EXPECT_EQ(cap.rfind("Polygon 60,10 ", 0), 0u) << cap;  // the ring at x = 50
}

TEST(Canvas3D, EveryConeClosesItsSideWithTheSixteenthFace) {
  // Seen from the left, the face between the last ring point (at the far
  // left) and the first shows, on a cylinder and on any cone alike.
  for (int percent : {100, 99, 50, 0}) {
    TSolidView v;
    v.o.SetOrthoAngle(135);
    v.c.InitWindow(nullptr, &v.o, clWhite, true, {0, 0, 200, 100});
    v.c.Projection(40, {0, 0, 200, 100});
    v.c.Log.clear();
    v.c.Cone(true, 60, 20, 100, 60, 0, 20, false, percent);
    // Base points 16 and 1: (60, 60, 10) and (62, 60, 6).
    const TPoint b16 = v.c.Calculate3DPosition(60, 60, 10), b1 = v.c.Calculate3DPosition(62, 60, 6);
    const std::string edge = std::to_string(b16.X) + "," + std::to_string(b16.Y) + " " +
                             std::to_string(b1.X) + "," + std::to_string(b1.Y) + " ";
    int closing = 0;
    for (const std::string& f : v.Faces()) closing += PointCount(f) == 4 && f.find(edge) != std::string::npos;
    EXPECT_EQ(closing, 1) << percent;
  }
}

TEST(Canvas3D, PieSliceSamplesBandsAndCuts) {
  auto topFace = [](const std::vector<std::string>& faces) {
    for (const std::string& f : faces)
      if (HasBrush(f, "C8C8C8")) return f;
    return std::string();
  };
  {
    TSolidView v;  // 3 degrees: two samples plus the centre
    v.c.Pie3D(100, 50, 40, 30, 0, 10, 0, 3 * M_PI / 180, true, false);
    EXPECT_EQ(PointCount(topFace(v.Faces())), 3u);
  }
  {
    TSolidView v;  // a full turn: 32 samples plus the centre
    v.c.Pie3D(100, 50, 40, 30, 0, 10, 0, 2 * M_PI, true, false);
    EXPECT_EQ(PointCount(topFace(v.Faces())), 33u);
  }
  {
    // The back quarter: its top outline only moves left, so no curved band;
    // the start cut lies right of the centre and shows.
    TSolidView v;
    v.c.Pie3D(100, 50, 40, 30, 0, 10, 0, M_PI / 2, true, true);
    const auto faces = v.Faces();
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_EQ(faces[0], "Polygon 110,40 150,40 140,50 100,50 pen=000000/1 brush=A8A8A8");
    EXPECT_EQ(PointCount(faces[1]), 12u);  // the centre and 11 samples
    EXPECT_TRUE(HasBrush(faces[1], "C8C8C8"));
  }
  {
    // The front-left quarter: the top face, then the whole outer band darkened by 32.
    TSolidView v;
    v.c.Pie3D(100, 50, 40, 30, 0, 10, M_PI, 1.5 * M_PI, true, true);
    const auto faces = v.Faces();
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_TRUE(HasBrush(faces[0], "C8C8C8"));
    EXPECT_EQ(PointCount(faces[1]), 20u);
    EXPECT_TRUE(HasBrush(faces[1], "A8A8A8"));
  }
  {
    // With a hole: the inner band first, then the cut, then a top face of 2n + 1 points.
    TSolidView v;
    v.c.Pie3D(100, 50, 40, 30, 0, 10, 0, M_PI / 2, true, true, 50);
    const auto faces = v.Faces();
    ASSERT_EQ(faces.size(), 3u);
    EXPECT_EQ(PointCount(faces[0]), 22u);
    EXPECT_EQ(PointCount(faces[1]), 4u);
    EXPECT_EQ(PointCount(faces[2]), 23u);
    EXPECT_TRUE(HasBrush(faces[2], "C8C8C8"));
  }
}

TEST(Canvas3D, PictureIntoCellsAndTheEnhancedSphere) {
  TRecordingCanvas c;
  TView3DOptions o;
  c.InitWindow(nullptr, &o, clWhite, false, {0, 0, 200, 100});
  c.Log.clear();
  QImage img(2, 2, QImage::Format_RGB32);
  img.setPixel(0, 0, qRgb(255, 0, 0));
  img.setPixel(1, 0, qRgb(0, 255, 0));
  img.setPixel(0, 1, qRgb(0, 0, 255));
  img.setPixel(1, 1, qRgb(0, 0, 0));
  TBitmap picture(img);
  c.Brush().SetColor(clYellow);
  c.StretchImageInto({10, 10, 30, 20}, &picture, 0);
  const std::vector<std::string> want = {
      "Polygon 10,10 20,10 20,15 10,15 pen=clear brush=0000FF",
      "Polygon 20,10 30,10 30,15 20,15 pen=clear brush=00FF00",
      "Polygon 10,15 20,15 20,20 10,20 pen=clear brush=FF0000",
      "Polygon 20,15 30,15 30,20 20,20 pen=clear brush=000000",
  };
  EXPECT_EQ(c.Calls("Polygon"), want);
  EXPECT_EQ(c.Pen().Style(), psSolid);  // restored
  EXPECT_EQ(c.Brush().Color(), clYellow);
  c.Log.clear();
  TBitmap empty;
  c.StretchImageInto({10, 10, 30, 20}, &empty, 0);
  c.StretchImageInto({10, 10, 30, 20}, nullptr, 0);
  c.StretchImageInto({10, 10, 10, 20}, &picture, 0);
  c.SphereEnh(1, 2, 3, 4, 5);
  EXPECT_TRUE(c.Log.empty());
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

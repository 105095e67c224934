// Covers chart/canvas/KivCanvasQt.cpp and chart/canvas/KivGraphics.cpp by pixel probes on
// rendered images; writes chart_primitives.png into the test's build folder.
#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/KivPanel.h"
#include "chart/canvas/KivCanvasQt.h"

namespace chart {
namespace {

// A surface painting straight into an image of the given size, white at first.
struct TImageSurface {
  QImage image;
  TCanvas device;
  TKivCanvas3D canvas;
  TImageSurface(int w, int h) : image(MakeImage(w, h)), device(image), canvas(&device) {
    canvas.SetBuffered(false);
  }
  static QImage MakeImage(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
  }
  TColor At(int x, int y) const { return FromQRgb(image.pixel(x, y)); }
};

TEST(QtCanvas, LinesLeaveOutTheirEndPixel) {
  TImageSurface s(20, 20);
  s.canvas.Line(2, 5, 8, 5);
  EXPECT_EQ(s.At(2, 5), clBlack);
  EXPECT_EQ(s.At(7, 5), clBlack);
  EXPECT_EQ(s.At(8, 5), clWhite);
}

TEST(QtCanvas, RectanglesExcludeRightAndBottomEdges) {
  TImageSurface s(30, 30);
  s.canvas.Brush().SetColor(clRed);
  s.canvas.Rectangle(2, 2, 10, 10);
  EXPECT_EQ(s.At(2, 2), clBlack);    // outline
  EXPECT_EQ(s.At(9, 9), clBlack);
  EXPECT_EQ(s.At(10, 10), clWhite);  // right and bottom excluded
  EXPECT_EQ(s.At(5, 5), clRed);
  s.canvas.FillRect({12, 12, 15, 15});
  EXPECT_EQ(s.At(14, 14), clRed);
  EXPECT_EQ(s.At(15, 14), clWhite);
  // Without a pen the fill stops one pixel short, as the window system's does.
  s.canvas.Pen().SetStyle(psClear);
  s.canvas.Rectangle(20, 20, 25, 25);
  EXPECT_EQ(s.At(23, 23), clRed);
  EXPECT_EQ(s.At(24, 24), clWhite);
}

TEST(QtCanvas, XorDrawnTwiceRestoresThePicture) {
  TImageSurface s(60, 60);
  s.canvas.Brush().SetColor(clBlue);
  s.canvas.Ellipse(5, 5, 40, 40);
  const QImage before = s.image.copy();
  for (TPenMode mode : {pmXor, pmNotXor}) {
    s.canvas.Pen().SetMode(mode);
    s.canvas.Pen().SetColor(RGB(0x12, 0x34, 0x56));
    s.canvas.Brush().SetStyle(bsClear);
    s.canvas.Rectangle(10, 10, 50, 50);
    EXPECT_NE(s.image, before);
    s.canvas.Rectangle(10, 10, 50, 50);
    EXPECT_EQ(s.image, before);
  }
}

TEST(QtCanvas, AFillCopiesItsBrushWhateverThePenMode) {
  for (const TPenMode mode : {pmCopy, pmXor, pmNotXor, pmNot, pmMask}) {
    TImageSurface s(20, 20);
    s.canvas.Brush().SetColor(clGreen);
    s.canvas.FillRect({0, 0, 20, 20});
    s.canvas.Pen().SetMode(mode);
    s.canvas.Brush().SetColor(clWhite);
    s.canvas.FillRect({0, 0, 10, 20});
    EXPECT_EQ(s.At(5, 5), clWhite) << mode;
    EXPECT_EQ(s.At(15, 5), clGreen) << mode;
  }
}

// Under XOR a hatch changes the pixels of its lines only, twice restores them,
// and the same hatch copied lays the same lines.
TEST(QtCanvas, AHatchUnderXorChangesOnlyItsLines) {
  for (const TPenMode mode : {pmXor, pmNotXor}) {
    TImageSurface s(40, 40);
    s.canvas.Brush().SetColor(RGB(10, 200, 30));
    s.canvas.FillRect({0, 0, 40, 40});
    const QImage before = s.image.copy();
    s.canvas.Pen().SetStyle(psClear);
    s.canvas.Pen().SetMode(mode);
    s.canvas.SetBackMode(TRANSPARENT);
    s.canvas.Brush().SetStyle(bsFDiagonal);
    s.canvas.Brush().SetColor(RGB(90, 90, 90));
    s.canvas.Rectangle(0, 0, 41, 41);
    int same = 0, changed = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) (s.image.pixel(x, y) == before.pixel(x, y) ? same : changed)++;
    EXPECT_GT(changed, 40) << mode;
    EXPECT_GT(same, 4 * changed) << mode;
    s.canvas.Rectangle(0, 0, 41, 41);
    EXPECT_EQ(s.image, before) << mode;
  }
}

TEST(QtCanvas, ClippingHasOneSavedLevel) {
  TImageSurface s(40, 40);
  s.canvas.Brush().SetColor(clGreen);
  s.canvas.ClipRectangle({0, 0, 20, 40});
  s.canvas.ClipRectangle({10, 0, 40, 40});  // intersects: 10..20
  s.canvas.FillRect({0, 0, 40, 10});
  EXPECT_EQ(s.At(5, 5), clWhite);
  EXPECT_EQ(s.At(15, 5), clGreen);
  EXPECT_EQ(s.At(25, 5), clWhite);
  s.canvas.UnClipRectangle();  // back to the first clip
  s.canvas.FillRect({0, 20, 40, 30});
  EXPECT_EQ(s.At(5, 25), clGreen);
  EXPECT_EQ(s.At(25, 25), clWhite);
  s.canvas.UnClipRectangle();  // no saved clip left: clipping removed
  s.canvas.FillRect({0, 32, 40, 40});
  EXPECT_EQ(s.At(35, 35), clGreen);
}

// Every kind of clip holds whatever clipping came before it, in both
// background modes: a clip made after an earlier clip was removed once
// painted outside every shape but the rectangle.
TEST(QtCanvas, EveryClipHoldsAfterAnEarlierClip) {
  TView3DOptions options;
  struct Case {
    const char* name;
    std::function<void(TImageSurface&)> clip;
    TPoint inside;
    std::vector<TPoint> outside;  // within the shape's bounding box
  };
  const Case cases[] = {
      {"rectangle", [](TImageSurface& s) { s.canvas.ClipRectangle({20, 20, 60, 60}); }, {40, 40},
       {{19, 40}, {60, 40}}},
      {"ellipse", [](TImageSurface& s) { s.canvas.ClipEllipse({10, 10, 70, 70}); }, {40, 40},
       {{12, 12}, {67, 67}}},
      {"rounded rectangle", [](TImageSurface& s) { s.canvas.ClipRoundRectangle({10, 10, 70, 70}, 40); },
       {40, 40}, {{11, 11}, {68, 11}}},
      {"polygon",
       [](TImageSurface& s) {
         const TPoint diamond[4] = {{40, 0}, {80, 40}, {40, 80}, {0, 40}};
         s.canvas.ClipPolygon(diamond);
       },
       {40, 40}, {{5, 5}, {75, 75}}},
      {"flat cube", [](TImageSurface& s) { s.canvas.ClipCube({20, 20, 60, 60}, 0, 10); }, {40, 40},
       {{20, 40}, {40, 59}}},
      {"cube in depth",
       [&options](TImageSurface& s) {
         // Depth runs up and right: the box's outline is a hexagon that
         // leaves out the top-left and bottom-right corners.
         s.canvas.InitWindow(&s.device, &options, clWhite, true, {0, 0, 80, 80});
         s.canvas.Projection(20, {0, 0, 80, 80});
         s.canvas.ClipCube({20, 40, 60, 80}, 0, 20);
       },
       {50, 50}, {{22, 22}, {78, 78}}},
  };
  for (int mode : {TRANSPARENT, OPAQUE}) {
    for (bool earlier : {false, true}) {
      for (const Case& k : cases) {
        SCOPED_TRACE(std::string(k.name) + (mode == TRANSPARENT ? ", transparent" : ", opaque") +
                     (earlier ? ", after a clip" : ", first clip"));
        TImageSurface s(80, 80);
        s.canvas.SetBackMode(mode);
        s.canvas.Brush().SetColor(clRed);
        if (earlier) {
          s.canvas.ClipRectangle({0, 0, 80, 80});
          s.canvas.UnClipRectangle();
        }
        k.clip(s);
        s.canvas.FillRect({0, 0, 80, 80});
        EXPECT_EQ(s.At(k.inside.X, k.inside.Y), clRed);
        for (const TPoint& p : k.outside) EXPECT_EQ(s.At(p.X, p.Y), clWhite) << p.X << "," << p.Y;
        s.canvas.UnClipRectangle();
        s.canvas.FillRect({0, 0, 80, 80});
        EXPECT_EQ(s.At(k.outside[0].X, k.outside[0].Y), clRed);
      }
    }
  }
}

TEST(QtCanvas, BlendingMixesByTransparency) {
  TImageSurface s(20, 20);
  s.canvas.Brush().SetColor(RGB(0, 0, 0));
  s.canvas.FillRect({0, 0, 20, 20});
  auto blend = s.canvas.BeginBlending({0, 0, 10, 10}, 25);
  s.canvas.Brush().SetColor(RGB(200, 100, 40));
  s.canvas.FillRect({0, 0, 20, 20});
  s.canvas.EndBlending(std::move(blend));
  EXPECT_EQ(s.At(5, 5), RGB(150, 75, 30));  // 75 percent of the new over the old
  EXPECT_EQ(s.At(15, 15), RGB(200, 100, 40));
}

TEST(QtCanvas, TextIsPlacedByItsTopEdgeAndAlignment) {
  TImageSurface s(200, 60);
  TKivFont font;
  font.SetSize(20);
  s.canvas.AssignFont(font);
  const int w = s.canvas.TextWidth("HH");
  const int h = s.canvas.TextHeight("HH");
  EXPECT_GT(w, 10);
  EXPECT_GE(h, 20);
  s.canvas.TextOut(10, 10, "HH");
  // Ink of the capital lies below the top edge and right of x.
  bool inkAbove = false, ink = false;
  for (int x = 0; x < 200; ++x) {
    for (int y = 0; y < 10; ++y) inkAbove |= s.At(x, y) != clWhite;
    for (int y = 10; y < 10 + h; ++y) ink |= s.At(x, y) != clWhite;
  }
  EXPECT_FALSE(inkAbove);
  EXPECT_TRUE(ink);
  TImageSurface r(200, 60);
  r.canvas.AssignFont(font);
  r.canvas.SetTextAlign(TA_RIGHT);
  r.canvas.TextOut(100, 10, "HH");
  int maxX = 0;
  for (int x = 0; x < 200; ++x)
    for (int y = 0; y < 60; ++y)
      if (r.At(x, y) != clWhite) maxX = std::max(maxX, x);
  EXPECT_LE(maxX, 100);
  EXPECT_GE(maxX, 95);
}

// Pixels of a colour inside a rectangle.
int CountColour(const TImageSurface& s, const TRect& r, TColor colour) {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) n += s.At(x, y) == colour;
  return n;
}

// Text paints a box behind it only in opaque background mode with a brush
// that is not clear; what the last shape left in the painter does not count.
TEST(QtCanvas, TextBackgroundFollowsTheModeNotTheLastShape) {
  const TColor back = clYellow;
  auto hatchedBox = [back](TImageSurface& s) {
    TChartBrush hatch;
    hatch.SetStyle(bsDiagCross);
    s.canvas.AssignBrushColor(hatch, clNavy, back);
    s.canvas.Rectangle(100, 5, 150, 40);
  };
  TKivFont font;
  font.SetSize(14);
  {
    SCOPED_TRACE("transparent text after a hatched box");
    TImageSurface s(160, 80);
    s.canvas.AssignFont(font);
    hatchedBox(s);
    s.canvas.SetBackMode(TRANSPARENT);
    s.canvas.TextOut(10, 50, "Wage");
    const TRect cell{10, 50, 10 + s.canvas.TextWidth("Wage"), 50 + s.canvas.TextHeight("Wage")};
    EXPECT_GT(CountColour(s, cell, clBlack), 0);  // the text is there
    EXPECT_EQ(CountColour(s, cell, back), 0);
  }
  {
    SCOPED_TRACE("turned text after a hatched box");
    TImageSurface s(160, 80);
    s.canvas.AssignFont(font);
    hatchedBox(s);
    ASSERT_EQ(s.canvas.GetBackMode(), OPAQUE);
    s.canvas.RotateLabel(40, 75, "Wage", 90);
    EXPECT_EQ(s.canvas.Brush().Style(), bsClear);
    const TRect around{0, 0, 90, 80};
    EXPECT_GT(CountColour(s, around, clBlack), 0);
    EXPECT_EQ(CountColour(s, around, back), 0);
  }
  {
    SCOPED_TRACE("opaque text with a solid brush keeps its box");
    TImageSurface s(160, 80);
    s.canvas.AssignFont(font);
    hatchedBox(s);
    TChartBrush solid;
    s.canvas.AssignBrushColor(solid, clWhite, back);
    s.canvas.TextOut(10, 50, "Wage");
    const TRect cell{10, 50, 10 + s.canvas.TextWidth("Wage"), 50 + s.canvas.TextHeight("Wage")};
    EXPECT_GT(CountColour(s, cell, back), 0);
  }
}

// A two-colour pattern brush paints its dark bits in the brush colour and its
// light bits in the background colour given with it, or lets the picture
// through where no background colour is given; a colour picture keeps its own.
TEST(QtCanvas, PatternBrushTakesTheColoursItIsGiven) {
  QImage checker(8, 8, QImage::Format_Mono);
  checker.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) checker.setPixel(x, y, (x + y) % 2);
  TChartBrush pattern;
  pattern.Image()->SetGraphic(std::make_shared<TBitmap>(checker));
  {
    TImageSurface s(16, 16);
    s.canvas.AssignBrushColor(pattern, clRed, clBlue);
    s.canvas.FillRect({0, 0, 16, 16});
    EXPECT_EQ(s.At(0, 0), clRed);   // a dark bit
    EXPECT_EQ(s.At(1, 0), clBlue);  // a light bit
    EXPECT_EQ(s.At(9, 10), clBlue);
  }
  {
    TImageSurface s(16, 16);
    s.canvas.Brush().SetColor(clGreen);
    s.canvas.FillRect({0, 0, 16, 16});
    s.canvas.AssignBrush(pattern, clRed);
    s.canvas.FillRect({0, 0, 16, 16});
    EXPECT_EQ(s.At(0, 0), clRed);
    EXPECT_EQ(s.At(1, 0), clGreen);
  }
  {
    // A see-through pattern in black: its ink is no see-through colour.
    auto seeThrough = std::make_shared<TBitmap>(checker);
    seeThrough->SetTransparent(true);
    TChartBrush black;
    black.Image()->SetGraphic(seeThrough);
    TImageSurface s(16, 16);
    s.canvas.Brush().SetColor(clGreen);
    s.canvas.FillRect({0, 0, 16, 16});
    s.canvas.AssignBrush(black, clBlack);
    s.canvas.FillRect({0, 0, 16, 16});
    EXPECT_EQ(s.At(0, 0), clBlack);
    EXPECT_EQ(s.At(1, 0), clGreen);
  }
  {
    QImage colours(2, 1, QImage::Format_RGB32);
    colours.setPixel(0, 0, qRgb(0, 0, 0));
    colours.setPixel(1, 0, qRgb(255, 255, 0));
    TChartBrush picture;
    picture.Image()->SetGraphic(std::make_shared<TBitmap>(colours));
    TImageSurface s(16, 16);
    s.canvas.AssignBrushColor(picture, clRed, clBlue);
    s.canvas.FillRect({0, 0, 16, 16});
    EXPECT_EQ(s.At(0, 0), clBlack);
    EXPECT_EQ(s.At(1, 0), clYellow);
  }
}

// A solid in a system colour darkens its sides from the colour its lit face
// paints in, and a gradient between system colours runs between the same.
TEST(QtCanvas, SystemColoursDarkenAndBlendAsTheyPaint) {
  const TColor face = ColorToRGB(clBtnFace);
  ASSERT_NE(face, ColorToRGB(clBtnFace, nullptr)) << "the palette must differ from the fixed table";
  TImageSurface s(100, 100);
  TView3DOptions o;
  s.canvas.InitWindow(&s.device, &o, clWhite, true, {0, 0, 100, 100});
  s.canvas.Projection(20, {0, 0, 100, 100});
  s.canvas.Pen().SetStyle(psClear);
  s.canvas.Brush().SetColor(clBtnFace);
  // Depth runs up and right: the right side shows right of x = 60, the top above y = 40.
  s.canvas.Cube(20, 60, 40, 80, 0, 20, true);
  EXPECT_EQ(s.At(40, 60), face);
  EXPECT_EQ(s.At(70, 60), ApplyDark(face, KivSideDarkness));
  EXPECT_EQ(s.At(45, 35), ApplyDark(face, KivTopDarkness));
  TImageSurface g(40, 20);
  g.canvas.GradientFill({0, 0, 40, 20}, clBtnFace, clBtnFace, gdTopBottom, 50);
  EXPECT_EQ(g.At(20, 10), face);
  g.canvas.RadialFill({0, 0, 40, 20}, clBtnFace, clBtnFace, 0, 0, 50);
  EXPECT_EQ(g.At(20, 10), face);
}

TEST(QtCanvas, BufferedSurfaceRedrawsFromItsImage) {
  QImage screen(50, 40, QImage::Format_RGB32);
  screen.fill(Qt::white);
  TCanvas screenCanvas(screen);
  TKivCanvas3D canvas(&screenCanvas);
  const TRect r = canvas.InitWindow(&screenCanvas, nullptr, clWhite, false, {0, 0, 50, 40});
  EXPECT_EQ(r, (TRect{0, 0, 50, 40}));
  ASSERT_NE(canvas.Bitmap(), nullptr);
  EXPECT_EQ(screen.pixel(5, 5) & 0xFFFFFF, 0xFFFFFFu);
  canvas.Brush().SetColor(clRed);
  canvas.FillRect({0, 0, 10, 10});
  EXPECT_EQ(FromQRgb(screen.pixel(5, 5)), clWhite);  // not yet shown
  canvas.ShowImage(&screenCanvas, &screenCanvas, r);
  EXPECT_EQ(FromQRgb(screen.pixel(5, 5)), clRed);
  EXPECT_FALSE(canvas.Dirty());
  screen.fill(Qt::white);
  EXPECT_TRUE(canvas.ReDrawBitmap());
  EXPECT_EQ(FromQRgb(screen.pixel(5, 5)), clRed);
  canvas.Invalidate();
  EXPECT_FALSE(canvas.ReDrawBitmap());
  canvas.SetBuffered(false);
  EXPECT_EQ(canvas.Bitmap(), nullptr);
  EXPECT_FALSE(canvas.ReDrawBitmap());
}

// One picture of every 2D primitive, text in every alignment and turned, and a
// shadowed framed shape; checked by probes and written for a person to look at.
TEST(QtCanvas, PrimitivesPicture) {
  TImageSurface s(480, 320);
  TKivCanvas3D& c = s.canvas;
  TKivFont font;
  font.SetSize(10);
  c.AssignFont(font);

  c.Brush().SetColor(clYellow);
  c.Rectangle(10, 10, 70, 50);
  c.Brush().SetColor(clAqua);
  c.Ellipse(80, 10, 140, 50);
  c.Brush().SetColor(clLime);
  c.RoundRect(150, 10, 210, 50, 16, 16);
  c.Brush().SetColor(clFuchsia);
  c.Pie(220, 10, 280, 70, 280, 40, 250, 10);
  c.Arc(290, 10, 350, 70, 350, 40, 290, 40);
  c.Brush().SetColor(clSilver);
  c.Donut(400, 40, 30, 30, 0, 270, 50);
  const TPoint tri[3] = {{10, 120}, {40, 70}, {70, 120}};
  c.Brush().SetColor(clRed);
  c.Polygon(tri);
  const TPoint zig[4] = {{80, 120}, {100, 70}, {120, 120}, {140, 70}};
  c.Pen().SetWidth(3);
  c.Pen().SetColor(clBlue);
  c.Polyline(zig);
  c.Pen().SetWidth(1);
  c.Pen().SetColor(clBlack);
  c.Pen().SetStyle(psDash);
  c.Line(150, 80, 270, 80);
  c.Pen().SetStyle(psSolid);
  c.Pen().SetSmallDots(true);
  c.Line(150, 90, 270, 90);
  c.Pen().SetSmallDots(false);
  c.Brush().SetStyle(bsDiagCross);
  c.Brush().SetColor(clNavy);
  c.Rectangle(280, 75, 340, 120);
  c.Brush().SetStyle(bsSolid);
  c.GradientFill({350, 75, 470, 120}, clBlue, clWhite, gdLeftRight, 50);

  // Text: left, centre and right on one mark, then turned by 90 degrees.
  c.Pen().SetColor(clGray);
  c.DoVertLine(240, 130, 200);
  c.SetTextAlign(TA_LEFT);
  c.TextOut(240, 135, "Left");
  c.SetTextAlign(TA_CENTER);
  c.TextOut(240, 155, "Centre");
  c.SetTextAlign(TA_RIGHT);
  c.TextOut(240, 175, "Right");
  c.SetTextAlign(TA_LEFT);
  c.RotateLabel(30, 300, "Turned 90", 90);

  // A framed shape with a shadow and a raised bevel.
  TKivShape shape;
  shape.SetBevel(bvRaised);
  shape.Shadow()->SetSize(4);
  shape.Shadow()->SetColor(clGray);
  shape.SetShapeBounds({300, 200, 440, 260});
  shape.Pen()->SetWidth(1);
  shape.Brush()->SetColor(clWhite);
  shape.SetColor(RGB(255, 255, 200));
  shape.Draw(c);
  c.AssignFont(*shape.Font());
  c.SetTextAlign(TA_CENTER);
  c.TextOut(370, 222, "Framed");

  const std::string path = std::string(ORVEL_TEST_BINARY_DIR) + "/chart_primitives.png";
  ASSERT_TRUE(s.image.save(QString::fromStdString(path)));

  EXPECT_EQ(s.At(40, 30), clYellow);   // rectangle body
  EXPECT_EQ(s.At(10, 30), clBlack);    // its outline
  EXPECT_EQ(s.At(110, 30), clAqua);    // ellipse centre
  EXPECT_EQ(s.At(180, 30), clLime);    // round rectangle
  EXPECT_EQ(s.At(260, 30), clFuchsia); // pie, quarter up-right... of its sweep
  EXPECT_EQ(s.At(40, 110), clRed);     // triangle
  EXPECT_EQ(s.At(370, 240), RGB(255, 255, 200));  // box body
  EXPECT_EQ(s.At(442, 240), clGray);   // right shadow strip
  EXPECT_EQ(s.At(370, 262), clGray);   // bottom shadow strip
  EXPECT_EQ(s.At(302, 262), clWhite);  // the shadow starts offset, not under the corner
  // The gradient runs from white at the left to blue at the right.
  EXPECT_EQ(s.At(469, 100), clBlue);
  EXPECT_EQ(s.At(350, 100), clWhite);
  // Turned text: its ink lies above the reference point and right of it.
  bool turnedInk = false;
  for (int y = 230; y < 300; ++y)
    for (int x = 30; x < 50; ++x) turnedInk |= s.At(x, y) != clWhite;
  EXPECT_TRUE(turnedInk);
}

TEST(QtCanvas, CylinderShadesItsSidesAndCapsItsTop) {
  TImageSurface s(200, 100);
  TView3DOptions o;
  s.canvas.InitWindow(&s.device, &o, clWhite, true, {0, 0, 200, 100});
  s.canvas.Projection(40, {0, 0, 200, 100});
  const TColor base = RGB(200, 120, 40);
  s.canvas.Brush().SetColor(base);
  s.canvas.Cylinder(true, 60, 20, 100, 60, 0, 20, true);
  // Depth runs up and right: the top ring's centre (80, 20, 10) shows at (90, 10).
  EXPECT_EQ(s.At(90, 10), ApplyDark(base, KivTopDarkness));
  // The side facing the viewer (ring points 4 and 5, from x = 80 at z = 0) is
  // the fourth face, darkened by 48.
  EXPECT_EQ(s.At(83, 45), ApplyDark(base, 48));
  EXPECT_EQ(s.At(40, 40), clWhite);
}

// Cones seen in the default view, where a horizontal bar shows its upper
// side and its right end: pointed, truncated and full, horizontal and
// vertical, each closed all round its side with no gap in its outline.
// Written for a person to look at as chart_cones.png.
TEST(QtCanvas, ConesShowNoGapAtAnyTopPercent) {
  TImageSurface s(420, 230);
  TView3DOptions o;
  s.canvas.InitWindow(&s.device, &o, clWhite, true, {0, 0, 420, 230});
  s.canvas.Projection(40, {0, 0, 420, 230});
  s.canvas.Pen().SetStyle(psClear);
  const std::int32_t percents[] = {0, 50, 100};
  for (int i = 0; i < 3; ++i) {
    s.canvas.Brush().SetColor(RGB(200, 120, 40));
    s.canvas.Cone(false, 10 + 140 * i, 40, 100 + 140 * i, 80, 0, 30, true, percents[i]);
    s.canvas.Brush().SetColor(RGB(40, 120, 200));
    s.canvas.Cone(true, 30 + 140 * i, 130, 70 + 140 * i, 220, 0, 30, true, percents[i]);
  }
  const std::string path = std::string(ORVEL_TEST_BINARY_DIR) + "/chart_cones.png";
  ASSERT_TRUE(s.image.save(QString::fromStdString(path)));
  // A solid's outline is convex: within each of its columns the painted
  // pixels are one unbroken run.
  for (int i = 0; i < 3; ++i) {
    for (const auto& [top, bottom] : {std::pair{0, 100}, std::pair{100, 230}}) {
      SCOPED_TRACE("top percent " + std::to_string(percents[i]) + (top == 0 ? ", horizontal" : ", vertical"));
      int holes = 0, painted = 0;
      for (int x = 140 * i; x < 140 * (i + 1); ++x) {
        int first = -1, last = -1;
        for (int y = top; y < bottom; ++y)
          if (s.At(x, y) != clWhite) {
            if (first < 0) first = y;
            last = y;
          }
        for (int y = first; first >= 0 && y <= last; ++y) {
          ++painted;
          holes += s.At(x, y) == clWhite;
        }
      }
      EXPECT_GT(painted, 1000);
      EXPECT_EQ(holes, 0);
    }
  }
}

}  // namespace
}  // namespace chart

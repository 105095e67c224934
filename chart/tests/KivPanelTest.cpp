// Covers chart/KivPanel.cpp: the panel's drawing pass, checks, listeners,
// buffer reuse, bevels, the zoom rectangle and the framed shapes.
#include <gtest/gtest.h>

#include <QImage>

#include "chart/KivPanel.h"
#include "chart/canvas/KivCanvasQt.h"
#include "chart/core/KivConst.h"
#include "chart/testing/RecordingCanvas.h"
#include "testing/TestSupport.h"

namespace chart {
namespace {

class TTestPanel : public TCustomKivPanelExtended {
 public:
  int draws = 0;
  void InternalDraw(const TRect& bounds) override {
    ++draws;
    DrawPanelBackground(bounds);
  }
};

TEST(Panel, Chart3DPercentRangeIsChecked) {
  TTestPanel p;
  for (std::int32_t bad : {0, 101}) {
    EXPECT_TRUE(orvel::testing::Raises([&] { p.SetChart3DPercent(bad); },
                                       "3D effect percent must be between 1 and 100"))
        << bad;
    EXPECT_EQ(p.Chart3DPercent(), 15);
  }
  p.SetChart3DPercent(1);
  p.SetChart3DPercent(100);
  EXPECT_EQ(p.Chart3DPercent(), 100);
}

TEST(Panel, ChartRectangleOfAPanelWithoutFrame) {
  TTestPanel p;
  p.SetBevelOuter(bvNone);
  auto img = p.CreateChartBitmap(clWhite, {0, 0, 400, 250});
  EXPECT_EQ(p.ChartRect(), (TRect{12, 10, 388, 240}));
  EXPECT_EQ(p.ChartWidth(), 376);
  p.SetBevelOuter(bvRaised);
  img = p.CreateChartBitmap(clWhite, {0, 0, 400, 250});
  EXPECT_EQ(p.ChartRect(), (TRect{13, 11, 387, 239}));
}

TEST(Panel, PaintingTwiceWithoutAChangeDrawsOnce) {
  TTestPanel p;
  p.SetBounds(120, 80);
  QImage screen(120, 80, QImage::Format_RGB32);
  TCanvas screenCanvas(screen);
  p.SetDelegateCanvas(&screenCanvas);
  p.Paint();
  p.Paint();
  EXPECT_EQ(p.draws, 1);
  p.SetColor(clRed);
  p.Paint();
  EXPECT_EQ(p.draws, 2);
  EXPECT_EQ(FromQRgb(screen.pixel(60, 40)), clRed);
}

struct TListener : IKivEventListener {
  TCustomKivPanel* panel = nullptr;
  bool cancel = false;
  int mouse = 0, other = 0;
  void KivEvent(TKivEvent& e) override {
    if (dynamic_cast<TKivMouseEvent*>(&e)) {
      ++mouse;
      if (cancel) panel->SetCancelMouseFlag(true);
    } else {
      ++other;
    }
  }
};

TEST(Panel, CancelMouseStopsLaterListenersOfMouseEventsOnly) {
  TTestPanel p;
  TListener a, b;
  a.panel = b.panel = &p;
  a.cancel = true;
  EXPECT_EQ(p.AddListener(&a), 0);
  EXPECT_EQ(p.AddListener(&b), 1);
  EXPECT_EQ(p.AddListener(&a), 0);
  p.MouseDown(mbLeft, 0, 5, 5);
  EXPECT_EQ(a.mouse, 1);
  EXPECT_EQ(b.mouse, 0);
  p.SetView3D(false);
  EXPECT_EQ(a.other, 1);
  EXPECT_EQ(b.other, 1);
  p.RemoveListener(&a);
  p.MouseMove(0, 6, 6);
  EXPECT_EQ(b.mouse, 1);
}

TEST(Panel, BevelsAndFrameThroughTheRecordingSurface) {
  TTestPanel p;
  // The panel's own surface paints; check the frame arithmetic through a picture.
  p.Border()->SetVisible(true);
  p.Border()->SetColor(clRed);
  p.SetBevelOuter(bvNone);
  auto bmp = p.CreateChartBitmap(clWhite, {0, 0, 60, 40});
  const QImage& img = bmp->Image();
  EXPECT_EQ(FromQRgb(img.pixel(0, 0)), clRed);
  EXPECT_EQ(FromQRgb(img.pixel(59, 39)), clRed);
  EXPECT_EQ(FromQRgb(img.pixel(1, 1)), ColorToRGB(clBtnFace));
}

// The zoom rectangle in XOR: drawn twice it leaves the picture as it was; a
// hatched brush changes the pixels of its lines only, so the picture shows
// between them.
TEST(Panel, ZoomRectangleTwiceLeavesThePictureUnchanged) {
  for (const TBrushStyle style : {bsClear, bsFDiagonal}) {
    TTestPanel p;
    p.SetBounds(100, 80);
    QImage screen(100, 80, QImage::Format_RGB32);
    TCanvas screenCanvas(screen);
    p.Canvas().SetBuffered(false);
    p.Draw(&screenCanvas, {0, 0, 100, 80});
    static_cast<TKivCanvas3D&>(p.Canvas()).SetReferenceCanvas(&screenCanvas);
    const QImage before = screen.copy();
    p.Zoom()->Brush()->SetStyle(style);
    p.Zoom()->Brush()->SetColor(clSilver);
    p.Zoom()->Activate(10, 10);
    p.Zoom()->X1 = 70;
    p.Zoom()->Y1 = 50;
    p.DrawZoomRectangle();
    EXPECT_NE(screen, before) << style;
    int same = 0, changed = 0;
    for (int y = 15; y < 45; ++y)
      for (int x = 15; x < 65; ++x) (screen.pixel(x, y) == before.pixel(x, y) ? same : changed)++;
    if (style == bsClear) {
      EXPECT_EQ(changed, 0);
    } else {
      EXPECT_GT(changed, 0);
      EXPECT_GT(same, 2 * changed);
    }
    p.DrawZoomRectangle();
    EXPECT_EQ(screen, before) << style;
  }
}

TEST(PanelExtended, DefaultsAndBackImage) {
  TTestPanel p;
  EXPECT_EQ(p.AllowPanning(), pmBoth);
  EXPECT_EQ(p.BackImageMode(), pbmStretch);
  EXPECT_FALSE(p.BackImageTransp());
  p.SetBackImageTransp(true);
  EXPECT_FALSE(p.BackImageTransp());
  QImage tile(10, 10, QImage::Format_RGB32);
  tile.fill(Qt::blue);
  p.BackImage()->SetGraphic(std::make_shared<TBitmap>(tile));
  EXPECT_TRUE(p.HasBackImage());
  p.SetBackImageTransp(true);
  EXPECT_TRUE(p.BackImageTransp());
}

TEST(PanelExtended, TilesCoverTheRectangle) {
  TTestPanel p;
  QImage tile(10, 10, QImage::Format_RGB32);
  tile.fill(Qt::blue);
  p.BackImage()->SetGraphic(std::make_shared<TBitmap>(tile));
  p.SetBackImageMode(pbmTile);
  p.SetBevelOuter(bvNone);
  auto bmp = p.CreateChartBitmap(clWhite, {0, 0, 25, 15});
  EXPECT_EQ(FromQRgb(bmp->Image().pixel(24, 14)), clBlue);  // the last tile at (20, 10)
}

// The back image inside a rotated 3D chart is drawn as cells at its depth in
// every mode.
TEST(PanelExtended, BackImageInRotated3DIsDrawnAsCells) {
  class TRotatedPanel : public TCustomKivPanelExtended {
   public:
    void InternalDraw(const TRect& bounds) override {
      Canvas().Projection(20, ChartRect());
      DrawBackImage(ChartRect(), 10);
    }
  };
  for (TKivBackImageMode mode : {pbmStretch, pbmTile, pbmCenter}) {
    TRotatedPanel p;
    p.View3DOptions()->SetOrthogonal(false);
    QImage tile(10, 10, QImage::Format_RGB32);
    tile.fill(Qt::blue);
    p.BackImage()->SetGraphic(std::make_shared<TBitmap>(tile));
    p.SetBackImageMode(mode);
    auto bmp = p.CreateChartBitmap(clWhite, {0, 0, 120, 80});
    int blue = 0;
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 120; ++x) blue += FromQRgb(bmp->Image().pixel(x, y)) == clBlue;
    EXPECT_GT(blue, 60) << mode;
  }
}

TEST(Shapes, ShadowClearBrushTransparentAndPenOffset) {
  struct Case { bool transparent; bool clearBrush; int penWidth; size_t fills; std::string firstShadow; };
  const Case cases[] = {
      {true, false, 1, 0, ""},
      {false, true, 1, 1, ""},
      {false, false, 2, 2, "Rectangle 15,15,45,35 pen=clear"},
  };
  for (const Case& k : cases) {
    testing::TRecordingCanvas c;
    TKivShape s;
    s.SetTransparent(k.transparent);
    if (k.clearBrush) s.Brush()->SetStyle(bsClear);
    s.Pen()->SetWidth(k.penWidth);
    s.SetShapeBounds({10, 10, 40, 30});
    s.Draw(c);
    EXPECT_EQ(c.Calls("Rectangle").size(), k.fills) << k.transparent << k.clearBrush;
    if (!k.firstShadow.empty()) {
      EXPECT_EQ(c.Calls("Rectangle")[0].rfind(k.firstShadow, 0), 0u) << c.Calls("Rectangle")[0];
    }
  }
}

TEST(Shapes, RotationBy90TurnsTheBox) {
  TPoint corners[4];
  RotatedCorners({0, 0, 40, 10}, 90, corners);
  EXPECT_EQ(corners[0], (TPoint{15, 25}));
  EXPECT_EQ(corners[2], (TPoint{25, -15}));
  testing::TRecordingCanvas c;
  TKivShape s;
  s.Shadow()->SetSize(0);
  s.DrawRectRotated(c, {0, 0, 40, 10}, 90, 0);
  EXPECT_EQ(c.Calls("Polygon")[0].rfind("Polygon 15,25 15,-15 25,-15 25,25", 0), 0u) << c.Calls("Polygon")[0];
}

// A shape's bevel is drawn on the surface the shape draws on, with a parent
// panel or without one.
TEST(Shapes, BevelIsDrawnOnTheShapesOwnSurface) {
  TTestPanel panel;
  for (TCustomKivPanel* parent : {static_cast<TCustomKivPanel*>(nullptr), static_cast<TCustomKivPanel*>(&panel)}) {
    SCOPED_TRACE(parent != nullptr ? "with a parent panel" : "without a parent");
    QImage image(80, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas device(image);
    TKivCanvas3D canvas(&device);
    canvas.SetBuffered(false);
    TKivShape shape(parent);
    shape.Shadow()->SetSize(0);
    shape.SetColor(clYellow);
    shape.SetBevel(bvRaised);
    shape.SetShapeBounds({10, 10, 60, 40});
    shape.Draw(canvas);
    auto at = [&image](int x, int y) { return FromQRgb(image.pixel(x, y)); };
    // Two rings of width 2 from the box's edge inwards: light at the top and
    // left, dark at the bottom and right.
    EXPECT_EQ(at(11, 20), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(at(30, 11), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(at(58, 20), ColorToRGB(clBtnShadow));
    EXPECT_EQ(at(30, 38), ColorToRGB(clBtnShadow));
    EXPECT_EQ(at(30, 25), clYellow);
  }
}

TEST(Shapes, DefaultsOfTheShape) {
  TKivShape s;
  EXPECT_EQ(s.Color(), clWhite);
  EXPECT_EQ(s.BevelWidth(), 2);
  EXPECT_EQ(s.Shadow()->Color(), clBlack);
  EXPECT_EQ(s.Shadow()->HorizSize(), 3);
  EXPECT_FALSE(s.ClassInfo().FindProperty("Shadow") == nullptr);
  EXPECT_FALSE(s.Shadow()->ClassInfo().FindProperty("HorizSize")->IsStored(*s.Shadow()));
}

}  // namespace
}  // namespace chart

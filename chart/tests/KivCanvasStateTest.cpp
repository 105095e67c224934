// Covers the painter state the QPainter surface keeps between primitives
// (chart/canvas/KivCanvasQt.cpp): whatever is drawn through it must come out pixel
// for pixel as on the plain road, where every primitive sets the painter afresh.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "chart/ChartControl.h"
#include "chart/canvas/KivCanvasQt.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/series/CandleSeries.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/series/SeriesMarks.h"
#include "chart/series/SeriesRegistry.h"
#include "testing/TestSupport.h"

namespace chart {
namespace {

class TPlainCanvas3D : public TKivCanvas3D {
 public:
  using TKivCanvas3D::TKivCanvas3D;

 protected:
  bool ReusesPainterState() const override { return false; }
};

// Two surfaces painting into two white images: the kept-state one and the plain one.
struct TTwoSurfaces {
  QImage KeptImage, PlainImage;
  TCanvas KeptDevice, PlainDevice;
  TKivCanvas3D Kept;
  TPlainCanvas3D Plain;

  TTwoSurfaces(int w, int h)
      : KeptImage(White(w, h)), PlainImage(White(w, h)), KeptDevice(KeptImage), PlainDevice(PlainImage),
        Kept(&KeptDevice), Plain(&PlainDevice) {
    Kept.SetBuffered(false);
    Plain.SetBuffered(false);
  }
  static QImage White(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
  }
  // Runs the same drawing on both surfaces (and on their devices' painters).
  void Both(const std::function<void(TKivCanvas3D&, TCanvas&)>& draw) {
    draw(Kept, KeptDevice);
    draw(Plain, PlainDevice);
  }
};

// The first differing pixel, for the failure message.
std::string FirstDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return "sizes differ";
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y))
        return "first at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
  return "none";
}

struct TPenCase {
  const char* Name;
  std::int32_t Width;
  TPenStyle Style;
  TPenMode Mode;
  bool SmallDots;
  TPenEndStyle EndStyle;
  int BackMode;
};

const TPenCase PenCases[] = {
    {"solid", 1, psSolid, pmCopy, false, esRound, TRANSPARENT},
    {"solid, width 0", 0, psSolid, pmCopy, false, esRound, TRANSPARENT},
    {"solid, opaque background", 1, psSolid, pmCopy, false, esRound, OPAQUE},
    {"solid, width 0, opaque background", 0, psSolid, pmCopy, false, esRound, OPAQUE},
    {"inside frame, opaque background", 1, psInsideFrame, pmCopy, false, esRound, OPAQUE},
    {"inside frame", 1, psInsideFrame, pmCopy, false, esRound, TRANSPARENT},
    {"dash", 1, psDash, pmCopy, false, esRound, TRANSPARENT},
    {"dot, opaque background", 1, psDot, pmCopy, false, esRound, OPAQUE},
    {"dash dot", 1, psDashDot, pmCopy, false, esRound, TRANSPARENT},
    {"dash dot dot", 1, psDashDotDot, pmCopy, false, esRound, TRANSPARENT},
    {"small dots", 1, psSolid, pmCopy, true, esRound, TRANSPARENT},
    {"xor", 1, psSolid, pmXor, false, esRound, TRANSPARENT},
    {"xor, opaque background", 1, psSolid, pmXor, false, esRound, OPAQUE},
    {"small dots, opaque background", 1, psSolid, pmCopy, true, esRound, OPAQUE},
    {"not xor, dashed", 1, psDash, pmNotXor, false, esRound, TRANSPARENT},
    {"not", 1, psSolid, pmNot, false, esRound, TRANSPARENT},
    {"merge", 1, psSolid, pmMerge, false, esRound, TRANSPARENT},
    {"black", 1, psSolid, pmBlack, false, esRound, TRANSPARENT},
    {"width 2, round", 2, psSolid, pmCopy, false, esRound, TRANSPARENT},
    {"width 3, square", 3, psSolid, pmCopy, false, esSquare, TRANSPARENT},
    {"width 3, flat, xor", 3, psSolid, pmXor, false, esFlat, TRANSPARENT},
    {"width 2, opaque background", 2, psSolid, pmCopy, false, esRound, OPAQUE},
    {"width 3, opaque background", 3, psSolid, pmCopy, false, esRound, OPAQUE},
    {"width 3, square, opaque background", 3, psSolid, pmCopy, false, esSquare, OPAQUE},
    {"width 4, flat, xor, opaque background", 4, psSolid, pmXor, false, esFlat, OPAQUE},
    {"width 2, dashed, opaque background", 2, psDash, pmCopy, false, esRound, OPAQUE},
    {"width 4, dashed", 4, psDash, pmCopy, false, esRound, TRANSPARENT},
};

// Joined segments of every kind a chart line has: long and short, flat, steep
// and diagonal, single pixels, repeated points, ends beyond the picture, and
// runs up and down one column as a dense line draws them.
std::vector<TPoint> Segments(std::mt19937_64& random, int count, int w, int h) {
  std::uniform_int_distribution<int> kind(0, 11), x(-40, w + 40), y(-40, h + 40), step(-6, 6);
  std::vector<TPoint> p{{w / 2, h / 2}};
  for (int i = 1; i < count; ++i) {
    const TPoint last = p.back();
    switch (kind(random)) {
      case 0: p.push_back(last); break;
      case 1: p.push_back({x(random), y(random)}); break;
      case 2: p.push_back({last.X, y(random)}); break;
      case 3: p.push_back({x(random), last.Y}); break;
      case 4: p.push_back({last.X + 1, last.Y}); break;
      case 5: case 6: p.push_back({last.X, last.Y + step(random)}); break;
      default: p.push_back({last.X + step(random), last.Y + step(random)}); break;
    }
  }
  return p;
}

TEST(KeptPainterState, JoinedLinesDrawThePlainPixelsForEveryPen) {
  const std::uint64_t seed = orvel::testing::TestSeed(20240611);
  std::mt19937_64 random(seed);
  constexpr int W = 300, H = 200;
  for (const TPenCase& pen : PenCases) {
    const std::vector<TPoint> points = Segments(random, 1500, W, H);
    TTwoSurfaces s(W, H);
    s.Both([&](TKivCanvas3D& c, TCanvas&) {
      c.Brush().SetColor(clYellow);
      c.FillRect({20, 20, 200, 150});
      c.Pen().SetColor(RGB(0x20, 0x60, 0xC0));
      c.Pen().SetWidth(pen.Width);
      c.Pen().SetStyle(pen.Style);
      c.Pen().SetMode(pen.Mode);
      c.Pen().SetSmallDots(pen.SmallDots);
      c.Pen().SetEndStyle(pen.EndStyle);
      c.SetBackMode(pen.BackMode);
      c.SetBackColor(clLime);
      c.LineSegments(points);
      // Once more inside a clip, with the painter just set by the first run.
      c.ClipRectangle({50, 40, 250, 160});
      c.LineSegments(std::span<const TPoint>(points).subspan(300, 700));
      c.UnClipRectangle();
      // And inside a clip that is no rectangle.
      c.ClipEllipse({30, 20, 270, 180});
      c.LineSegments(std::span<const TPoint>(points).subspan(600, 400));
      c.UnClipRectangle();
      // And one line at a time, through the pen position.
      for (std::size_t i = 1000; i < points.size(); ++i) c.Line(points[i - 1], points[i]);
    });
    EXPECT_TRUE(s.KeptImage == s.PlainImage) << pen.Name << ", seed " << seed << ", "
                                         << FirstDifference(s.KeptImage, s.PlainImage);
    EXPECT_EQ(s.KeptDevice.PenPos, s.PlainDevice.PenPos) << pen.Name;
  }
}

struct TRectangleCase {
  const char* Name;
  bool PenShown;
  TPenStyle PenStyle;
  std::int32_t PenWidth;
  TBrushStyle BrushStyle;
  TPenMode Mode;
  int BackMode;
};

const TRectangleCase RectangleCases[] = {
    {"solid pen, solid brush", true, psSolid, 1, bsSolid, pmCopy, TRANSPARENT},
    {"solid pen, no brush", true, psSolid, 1, bsClear, pmCopy, TRANSPARENT},
    {"no pen, solid brush", false, psSolid, 1, bsSolid, pmCopy, TRANSPARENT},
    {"dotted pen, solid brush", true, psDot, 1, bsSolid, pmCopy, TRANSPARENT},
    {"solid pen, hatched brush", true, psSolid, 1, bsDiagCross, pmCopy, TRANSPARENT},
    {"width 2 pen, solid brush", true, psSolid, 2, bsSolid, pmCopy, TRANSPARENT},
    {"xor pen, solid brush", true, psSolid, 1, bsSolid, pmXor, TRANSPARENT},
    {"solid pen, solid brush, opaque background", true, psSolid, 1, bsSolid, pmCopy, OPAQUE},
    {"solid pen, no brush, opaque background", true, psSolid, 1, bsClear, pmCopy, OPAQUE},
    {"no pen, solid brush, opaque background", false, psSolid, 1, bsSolid, pmCopy, OPAQUE},
    {"dotted pen, solid brush, opaque background", true, psDot, 1, bsSolid, pmCopy, OPAQUE},
    {"solid pen, hatched brush, opaque background", true, psSolid, 1, bsDiagCross, pmCopy, OPAQUE},
};

// Rectangles of every size from none up, either corner first, inside and
// across the picture's edges, over one another, with and without clips.
TEST(KeptPainterState, RectanglesDrawThePlainPixels) {
  const std::uint64_t seed = orvel::testing::TestSeed(20240612);
  std::mt19937_64 random(seed);
  constexpr int W = 160, H = 120;
  std::uniform_int_distribution<int> corner(-10, W + 10), size(-3, 12), big(-40, 60), pick(0, 3);
  for (const TRectangleCase& rc : RectangleCases) {
    std::vector<TRect> rects;
    for (int i = 0; i < 400; ++i) {
      const int x = corner(random), y = corner(random) * H / W;
      const int w = pick(random) == 0 ? big(random) : size(random), h = pick(random) == 0 ? big(random) : size(random);
      rects.push_back({x, y, x + w, y + h});
    }
    TTwoSurfaces s(W, H);
    s.Both([&](TKivCanvas3D& c, TCanvas&) {
      c.Pen().SetColor(RGB(0x20, 0x60, 0xC0));
      c.Pen().SetVisible(rc.PenShown);
      c.Pen().SetStyle(rc.PenStyle);
      c.Pen().SetWidth(rc.PenWidth);
      c.Pen().SetMode(rc.Mode);
      c.Brush().SetStyle(rc.BrushStyle);
      c.SetBackMode(rc.BackMode);
      c.SetBackColor(clLime);
      for (std::size_t i = 0; i < rects.size(); ++i) {
        c.Brush().SetColor(i % 2 == 0 ? clRed : clYellow);
        if (i == 150) c.ClipRectangle({30, 20, 120, 90});
        if (i == 250) {
          c.UnClipRectangle();
          c.ClipEllipse({20, 10, 140, 110});
        }
        if (i == 350) c.UnClipRectangle();
        const TRect& r = rects[i];
        c.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
      }
    });
    EXPECT_TRUE(s.KeptImage == s.PlainImage) << rc.Name << ", seed " << seed << ", "
                                         << FirstDifference(s.KeptImage, s.PlainImage);
  }
}

TEST(KeptPainterState, ShapesDrawnAfterOthersChangedThePainterKeepTheirStyles) {
  TTwoSurfaces s(200, 120);
  s.Both([](TKivCanvas3D& c, TCanvas& device) {
    c.Brush().SetColor(clRed);
    c.Rectangle(5, 5, 40, 40);
    // Someone else draws with the same painter and leaves their pen, brush and mode behind.
    QPainter& p = device.Painter();
    p.setPen(QPen(Qt::green, 3));
    p.setBrush(Qt::blue);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setBackgroundMode(Qt::OpaqueMode);
    p.drawLine(0, 60, 100, 60);
    // The same styles again: the surface must set the painter back to them.
    c.Rectangle(45, 5, 80, 40);
    c.Line(0, 50, 120, 50);
    c.Ellipse(85, 5, 120, 40);
    // A text, a pixel and a blend change the painter inside the surface itself.
    c.TextOut(5, 70, "Orvel");
    c.SetPixel(150, 10, clFuchsia);
    auto blend = c.BeginBlending({120, 60, 190, 110}, 40);
    c.Rectangle(125, 65, 185, 105);
    c.EndBlending(std::move(blend));
    c.Rectangle(125, 20, 150, 50);
    // A pattern brush, and one whose picture changes under the same pointer.
    TBitmap pattern(QImage(8, 8, QImage::Format_Mono));
    QImage bits(8, 8, QImage::Format_Mono);
    bits.fill(0);
    for (int i = 0; i < 8; ++i) bits.setPixel(i, i, 1);
    pattern.SetImage(bits);
    c.Brush().SetBitmap(&pattern);
    c.Rectangle(5, 80, 60, 115);
    bits.fill(1);
    for (int i = 0; i < 8; ++i) bits.setPixel(7 - i, i, 0);
    pattern.SetImage(bits);
    c.Rectangle(65, 80, 120, 115);
    c.Brush().SetBitmap(nullptr);
    c.Rectangle(155, 5, 195, 55);
  });
  EXPECT_TRUE(s.KeptImage == s.PlainImage) << FirstDifference(s.KeptImage, s.PlainImage);
  // The probes the plain road gives: the second square's outline is black, its inside red.
  EXPECT_EQ(FromQRgb(s.KeptImage.pixel(45, 20)), clBlack);
  EXPECT_EQ(FromQRgb(s.KeptImage.pixel(60, 20)), clRed);
}

TEST(KeptPainterState, MonochromeAndSystemColoursTakeTheirPaintedColours) {
  TTwoSurfaces s(120, 60);
  s.Both([](TKivCanvas3D& c, TCanvas&) {
    c.Brush().SetColor(clBtnFace);
    c.Pen().SetColor(clHighlight);
    c.Rectangle(5, 5, 50, 50);
    c.SetMonochrome(true);
    c.Rectangle(60, 5, 110, 50);
    c.SetMonochrome(false);
    c.Rectangle(30, 20, 90, 40);
  });
  EXPECT_TRUE(s.KeptImage == s.PlainImage) << FirstDifference(s.KeptImage, s.PlainImage);
}

// --- whole charts -----------------------------------------------------------------

QImage RenderWith(TChart& chart, std::unique_ptr<TCanvas3D> canvas) {
  chart.ReplaceCanvas(std::move(canvas));
  std::unique_ptr<TBitmap> b = chart.RenderToBitmap();
  return b->Image().copy();
}

// The chart drawn on the plain surface first, then on the default one.
void ExpectSamePicture(TChart& chart, const std::string& what) {
  const QImage plain = RenderWith(chart, std::make_unique<TPlainCanvas3D>());
  const QImage kept = RenderWith(chart, std::make_unique<TKivCanvas3D>());
  EXPECT_TRUE(kept == plain) << what << ": " << FirstDifference(kept, plain);
}

std::vector<double> Walk(int n) {
  std::mt19937_64 random(20240611);
  std::normal_distribution<double> step(0, 1);
  std::vector<double> w(static_cast<std::size_t>(n));
  double v = 0;
  for (double& x : w) x = v += step(random);
  return w;
}

TEST(KeptPainterState, EverySeriesKindAndSubStyleDrawsThePlainPicture) {
  TKivSeriesTypes& types = KivSeriesTypesList();
  int drawn = 0;
  for (int t = 0; t < types.Count(); ++t) {
    const TKivSeriesType& type = types.Get(t);
    if (type.FunctionClass != nullptr) continue;
    int subStyles = 0;
    {
      TChart probe;
      CreateChartSeries(&probe, probe, *type.SeriesClass)->ListSubStyles([&](const std::string&) { ++subStyles; });
    }
    for (int sub = 0; sub <= subStyles; ++sub)
      for (bool view3D : {false, true}) {
        TChart chart;
        chart.SetBounds(360, 260);
        chart.SetView3D(view3D);
        chart.SetColor(clWhite);
        chart.Title()->SetCaption(type.SeriesClass->ClassName());
        TChartSeries* s = CreateChartSeries(&chart, chart, *type.SeriesClass);
        s->FillSampleValues(s->DefaultSampleCount());
        if (sub > 0) s->ApplySubStyle(sub);
        s->Marks()->SetVisible(true);
        ExpectSamePicture(chart, type.SeriesClass->ClassName() + " sub-style " + std::to_string(sub) +
                                     (view3D ? " in 3D" : " in 2D"));
        ++drawn;
      }
  }
  EXPECT_GT(drawn, 20);
}

TEST(KeptPainterState, FullChartsWithManyPointsDrawThePlainPicture) {
  for (bool view3D : {false, true}) {
    TChart chart;
    chart.SetBounds(900, 600);
    chart.SetView3D(view3D);
    chart.SetColor(clWhite);
    chart.Title()->SetCaption("Orvel");
    chart.SubTitle()->SetCaption("equiripple filters");
    chart.Foot()->SetCaption("foot");
    chart.Legend()->SetCheckBoxes(true);
    chart.Gradient()->SetVisible(true);
    chart.Gradient()->SetStartColor(clSilver);
    chart.BackWall()->Brush()->SetStyle(bsDiagCross);
    for (TChartAxis* a : {chart.LeftAxis(), chart.RightAxis(), chart.TopAxis(), chart.BottomAxis()}) {
      a->Title()->SetCaption("values");
      a->MinorTicks()->SetVisible(true);
    }
    const std::vector<double> w = Walk(20001);
    auto* fast = new TFastLineSeries(&chart);
    fast->SetParentChart(&chart);
    auto* line = new TLineSeries(&chart);
    line->SetParentChart(&chart);
    line->LinePen()->SetStyle(psDash);
    auto* candles = new TCandleSeries(&chart);
    candles->SetParentChart(&chart);
    candles->DateValues()->SetDateTime(false);
    candles->SetCandleWidth(0);
    for (int i = 0; i < 20000; ++i) {
      const double o = w[static_cast<std::size_t>(i)], c = w[static_cast<std::size_t>(i) + 1];
      fast->AddXY(i, o + 30);
      if (i % 10 == 0) line->AddXY(i, o - 30);
      if (i % 4 == 0) candles->AddCandle(i, o, std::max(o, c) + 0.5, std::min(o, c) - 0.5, c);
    }
    const std::string what = view3D ? "3D" : "2D";
    ExpectSamePicture(chart, what + ", whole range");
    chart.BottomAxis()->SetMinMax(9000, 9400);
    ExpectSamePicture(chart, what + ", zoomed");
    chart.SetMonochrome(true);
    ExpectSamePicture(chart, what + ", monochrome");
  }
}

}  // namespace
}  // namespace chart

// The QPainter drawing surface: primitives with the window-system pixel rules,
// text placement by alignment flags, clipping with one saved level, blending,
// and the off-screen buffer.
//
// Tested by: chart/tests/KivCanvasQtTest.cpp
#include "chart/canvas/KivCanvasQt.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "chart/canvas/StraightLines.h"
#include "chart/canvas/StyleDrawing.h"

namespace chart {

namespace {

QPolygon ToQPolygon(std::span<const TPoint> points) {
  QPolygon poly(static_cast<int>(points.size()));
  for (std::size_t i = 0; i < points.size(); ++i)
    poly.setPoint(static_cast<int>(i), points[i].X, points[i].Y);
  return poly;
}

// The rectangle whose outline covers left..right-1 and top..bottom-1, and
// whose fill without a pen stops one short of those: the window-system rule.
QRect OutlineRect(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
  if (x0 > x1) std::swap(x0, x1);
  if (y0 > y1) std::swap(y0, y1);
  return QRect(x0, y0, x1 - x0 - 1, y1 - y0 - 1);
}

Qt::BrushStyle ToQtBrushStyle(TBrushStyle s) {
  switch (s) {
    case bsSolid: return Qt::SolidPattern;
    case bsClear: return Qt::NoBrush;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
  }
  return Qt::SolidPattern;
}

// Dash patterns of cosmetic pens, in pixels, as the window system draws them.
QList<qreal> DashPattern(TPenStyle s) {
  switch (s) {
    case psDash: return {18, 6};
    case psDot: return {3, 3};
    case psDashDot: return {9, 6, 3, 6};
    case psDashDotDot: return {9, 3, 3, 3, 3, 3};
    default: return {};
  }
}

// Angle in degrees (counter-clockwise, screen y down) of a point seen from a centre.
double AngleOf(double cx, double cy, double x, double y) {
  return std::atan2(-(y - cy), x - cx) * 180.0 / 3.14159265358979323846;
}

class TQtBlend : public TKivBlend {
 public:
  TQtBlend(TCanvas* canvas, const QRect& rect) : FCanvas(canvas), FRect(rect) {
    if (FCanvas != nullptr && FCanvas->Image() != nullptr)
      FSaved = FCanvas->Image()->copy(FRect).convertToFormat(QImage::Format_RGB32);
  }

  void DoBlend(std::int32_t transparency) override {
    if (FSaved.isNull() || FRect.width() < 2 || FRect.height() < 2) return;
    QImage current = FCanvas->Image()->copy(FRect).convertToFormat(QImage::Format_RGB32);
    const int keep = 100 - transparency;
    for (int y = 0; y < FSaved.height(); ++y) {
      auto* old = reinterpret_cast<const QRgb*>(FSaved.constScanLine(y));
      auto* now = reinterpret_cast<QRgb*>(current.scanLine(y));
      for (int x = 0; x < FSaved.width(); ++x) {
        QRgb s = old[x];
        if ((s & 0xFFFFFF) == 0xFFFFFF) s = qRgb(254, 255, 255);
        auto mix = [keep](int a, int b) { return std::clamp(a + (b - a) * keep / 100, 0, 255); };
        now[x] = qRgb(mix(qRed(s), qRed(now[x])), mix(qGreen(s), qGreen(now[x])),
                      mix(qBlue(s), qBlue(now[x])));
      }
    }
    QPainter& p = FCanvas->Painter();
    const QPainter::CompositionMode mode = p.compositionMode();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(FRect.topLeft(), current);
    p.setCompositionMode(mode);
  }

 private:
  TCanvas* FCanvas;
  QRect FRect;
  QImage FSaved;
};

// The picture ready to paint; a two-colour pattern given as brush takes the
// text and background colours instead of its own, dark bits the text colour.
QImage GraphicImage(const TGraphic* graphic, const QColor* text = nullptr,
                    const QColor* background = nullptr) {
  auto* bitmap = dynamic_cast<const TBitmap*>(graphic);
  if (bitmap == nullptr || bitmap->Image().isNull()) return {};
  QImage source = bitmap->Image();
  if (text != nullptr && background != nullptr && source.depth() == 1) {
    QList<QRgb> table = source.colorTable();
    for (QRgb& entry : table) entry = (qGray(entry) < 128 ? *text : *background).rgba();
    source.setColorTable(table);
  }
  QImage img = source.convertToFormat(QImage::Format_ARGB32);
  if (graphic->Transparent()) {
    // The bottom-left pixel names the colour that lets the background through.
    // A pattern whose light bits are see-through already keys nothing more:
    // its ink may be black, which is what a see-through pixel holds.
    const QRgb key = img.pixel(0, img.height() - 1);
    if (qAlpha(key) != 0) {
      for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
          if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF)) line[x] = 0;
      }
    }
  }
  return img;
}

}  // namespace

TKivCanvas3D::TKivCanvas3D(TCanvas* reference) {
  BindStyles(FIdlePen, FIdleBrush, FIdleFont);
  SetReferenceCanvas(reference);
}

TKivCanvas3D::~TKivCanvas3D() { DeleteBitmap(); }

void TKivCanvas3D::SetReferenceCanvas(TCanvas* canvas) {
  FReference = canvas;
  if (canvas != nullptr)
    BindStyles(canvas->Pen, canvas->Brush, canvas->Font);
  else
    BindStyles(FIdlePen, FIdleBrush, FIdleFont);
  FSavedClip.reset();
}

// --- state ------------------------------------------------------------------

TColor TKivCanvas3D::GetPixel(std::int32_t x, std::int32_t y) {
  if (FReference == nullptr || FReference->Image() == nullptr) return clNone;
  const QImage& img = *FReference->Image();
  if (!img.valid(x, y)) return clNone;
  return FromQRgb(img.pixel(x, y));
}

void TKivCanvas3D::SetPixel(std::int32_t x, std::int32_t y, TColor c) {
  if (QPainter* p = Painter()) {
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->fillRect(QRect(x, y, 1, 1), ToQColor(FMonochrome ? clBlack : c));
  }
}

void TKivCanvas3D::SetMonochrome(bool v) {
  if (FMonochrome == v) return;
  FMonochrome = v;
  FDirty = true;
  if (View3DOptions() != nullptr) View3DOptions()->Invalidate();
}

void TKivCanvas3D::SetBuffered(bool v) {
  if (FBuffered == v) return;
  FBuffered = v;
  if (!v && FBitmap) {
    DeleteBitmap();
    FDirty = true;
  } else if (v && FBitmap) {
    SetReferenceCanvas(&FBitmap->Canvas());
  }
}

void TKivCanvas3D::DeleteBitmap() {
  if (!FBitmap) return;
  if (FReference != nullptr && FReference == FBitmap->OpenCanvas()) SetReferenceCanvas(nullptr);
  FBitmap.reset();
}

// --- pen, brush and raster mode ---------------------------------------------

namespace {

// The raster operation of a pen mode, and the colour it paints in; nullopt
// when the mode paints nothing.
std::optional<QPainter::CompositionMode> PenComposition(TPenMode penMode, TColor& penColor) {
  switch (penMode) {
    case pmNop: return std::nullopt;
    case pmBlack: penColor = clBlack; break;
    case pmWhite: penColor = clWhite; break;
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmNotCopy: return QPainter::RasterOp_NotSource;
    case pmMask: return QPainter::RasterOp_SourceAndDestination;
    case pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergePenNot: return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case pmMergeNotPen: return QPainter::RasterOp_SourceOrNotDestination;
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    case pmCopy: break;
  }
  return QPainter::CompositionMode_SourceOver;
}

}  // namespace

TKivCanvas3D::TPainterStyles TKivCanvas3D::WantedStyles(QPainter::CompositionMode mode, TColor penColor) {
  TPainterStyles w;
  w.Pen.Mode = mode;
  const TChartPen& pen = Pen();
  w.Pen.Shown = pen.Style() != psClear && pen.Visible();
  if (w.Pen.Shown) {
    w.Pen.Color = ToQRgb(FMonochrome ? clBlack : penColor);
    w.Pen.Width = pen.Width();
    w.Pen.Style = pen.Style();
    w.Pen.EndStyle = pen.EndStyle();
    w.Pen.SmallDots = pen.SmallDots();
  }
  const TBrush& brush = Brush();
  w.Brush.Picture = brush.Bitmap() != nullptr;
  w.Brush.Style = brush.Style();
  if (brush.Style() != bsClear) w.Brush.Color = ToQRgb(FMonochrome ? clWhite : brush.Color());
  // A picture brush carries its background in its own pixels; the painter's
  // opaque mode would fill its see-through pixels a second time.
  w.Opaque = GetBackMode() == OPAQUE && !w.Brush.Picture;
  w.BackColor = ToQRgb(GetBackColor());
  // The painter lets a pattern's see-through pixels take part in a raster
  // operation as black, where the window system leaves them out: under XOR
  // they take the colour that leaves a pixel as it is (or the background
  // colour of an opaque hatch, which the window system does combine).
  const bool xor_ = mode == QPainter::RasterOp_SourceXorDestination || mode == QPainter::RasterOp_NotSourceXorDestination;
  if (xor_ && !w.Brush.Picture && w.Brush.Style != bsSolid && w.Brush.Style != bsClear) {
    w.Brush.Baked = true;
    w.Brush.Back = w.Opaque ? w.BackColor
                            : (mode == QPainter::RasterOp_SourceXorDestination ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
  }
  return w;
}

void TKivCanvas3D::BuildPen(const TPenStyles& w) {
  ++FPenBuilds;
  if (!w.Shown) {
    FPainterPen = QPen(Qt::NoPen);
    return;
  }
  QPen q{QColor::fromRgba(w.Color)};
  if (w.SmallDots) {
    q.setWidth(0);
    q.setCapStyle(Qt::FlatCap);
    q.setDashPattern({1, 1});
  } else if (w.Width < 2) {
    // A cosmetic pen with flat ends leaves out a line's end pixel, as the
    // window system's line drawing does.
    q.setWidth(0);
    q.setCapStyle(Qt::FlatCap);
    if (w.Style != psSolid && w.Style != psInsideFrame) q.setDashPattern(DashPattern(w.Style));
  } else {
    q.setWidth(w.Width);
    switch (w.EndStyle) {
      case esRound: q.setCapStyle(Qt::RoundCap); q.setJoinStyle(Qt::RoundJoin); break;
      case esSquare: q.setCapStyle(Qt::SquareCap); q.setJoinStyle(Qt::BevelJoin); break;
      case esFlat: q.setCapStyle(Qt::FlatCap); q.setJoinStyle(Qt::MiterJoin); break;
    }
    switch (w.Style) {
      case psDash: q.setStyle(Qt::DashLine); break;
      case psDot: q.setStyle(Qt::DotLine); break;
      case psDashDot: q.setStyle(Qt::DashDotLine); break;
      case psDashDotDot: q.setStyle(Qt::DashDotDotLine); break;
      default: break;
    }
  }
  FPainterPen = q;
}

void TKivCanvas3D::BuildBrush(const TBrushStyles& w) {
  ++FBrushBuilds;
  const TBrush& brush = Brush();
  if (w.Picture) {
    const QColor text = ToQColor(FMonochrome ? clWhite : brush.Color());
    // Without a background colour the pattern's light bits let through what lies beneath.
    const QColor background = GetBackColor() == clNone ? QColor(Qt::transparent) : ToQColor(GetBackColor());
    const QImage img = GraphicImage(brush.Bitmap(), &text, &background);
    FPainterBrush = img.isNull() ? QBrush() : QBrush(img);
  } else if (w.Style == bsClear) {
    FPainterBrush = QBrush(Qt::NoBrush);
  } else if (w.Baked) {
    // One period of the painter's own hatch over the chosen see-through colour.
    QImage tile(8, 8, QImage::Format_ARGB32);
    tile.fill(QColor::fromRgba(w.Back));
    QPainter p(&tile);
    p.fillRect(tile.rect(), QBrush(QColor::fromRgba(w.Color), ToQtBrushStyle(w.Style)));
    p.end();
    FPainterBrush = QBrush(tile);
  } else {
    FPainterBrush = QBrush(QColor::fromRgba(w.Color), ToQtBrushStyle(w.Style));
  }
}

bool TKivCanvas3D::Prepare(QPainter& p, TDrawing drawing) {
  FPointLinesSkipped = false;
  if (p.testRenderHint(QPainter::Antialiasing)) p.setRenderHint(QPainter::Antialiasing, false);
  TColor penColor = Pen().Color();
  const std::optional<QPainter::CompositionMode> mode = PenComposition(Pen().Mode(), penColor);
  if (!mode) return false;
  TPainterStyles wanted = WantedStyles(*mode, penColor);
  if (!ReusesPainterState()) {
    BuildPen(wanted.Pen);
    BuildBrush(wanted.Brush);
    FPainterBackground = QBrush(QColor::fromRgba(wanted.BackColor));
    p.setCompositionMode(wanted.Pen.Mode);
    p.setPen(FPainterPen);
    p.setBrush(FPainterBrush);
    p.setBackgroundMode(wanted.Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
    p.setBackground(FPainterBackground);
    return true;
  }
  const TPenStyles& pen = wanted.Pen;
  if (drawing == TDrawing::Lines && wanted.Opaque && pen.Shown && !pen.SmallDots &&
      (pen.Style == psSolid || pen.Style == psInsideFrame)) {
    // A solid pen leaves no gaps for the background to show through, yet
    // the painter's opaque mode sends every single line down its slow
    // road. The lines come out the same in either mode but for one of no
    // length: a one-pixel pen draws its dot only without the opaque mode.
    wanted.Opaque = false;
    FPointLinesSkipped = pen.Width < 2;
  }
  const bool fills = drawing == TDrawing::Shape;
  // Each part is built again only when its styles changed. The painter may
  // have been changed since (a text, a pixel, someone else's drawing), so
  // what differs from it is set again; a painter given the value it holds
  // would ignore it anyway. Lines and outlines leave the brush alone: they
  // paint nothing with it, and the brush of a candle's body changes from
  // bar to bar.
  if (!FPenBuilt || !(wanted.Pen == FStyles.Pen)) {
    BuildPen(wanted.Pen);
    FStyles.Pen = wanted.Pen;
    FPenBuilt = true;
  }
  if (!FBackgroundBuilt || wanted.BackColor != FStyles.BackColor) {
    FPainterBackground = QBrush(QColor::fromRgba(wanted.BackColor));
    FStyles.BackColor = wanted.BackColor;
    FBackgroundBuilt = true;
  }
  // A picture brush is made again each time: its picture may change under the same pointer.
  if (fills && (!FBrushBuilt || wanted.Brush.Picture || !(wanted.Brush == FStyles.Brush))) {
    BuildBrush(wanted.Brush);
    FStyles.Brush = wanted.Brush;
    FBrushBuilt = true;
  }
  if (p.compositionMode() != wanted.Pen.Mode) p.setCompositionMode(wanted.Pen.Mode);
  if (!(p.pen() == FPainterPen)) p.setPen(FPainterPen);
  if (fills && !(p.brush() == FPainterBrush)) p.setBrush(FPainterBrush);
  const Qt::BGMode background = wanted.Opaque ? Qt::OpaqueMode : Qt::TransparentMode;
  if (p.backgroundMode() != background) p.setBackgroundMode(background);
  if (!(p.background() == FPainterBackground)) p.setBackground(FPainterBackground);
  FPreparedMode = wanted.Pen.Mode;
  FPreparedBackground = background;
  return true;
}

// --- primitives -------------------------------------------------------------

void TKivCanvas3D::MoveTo(std::int32_t x, std::int32_t y) {
  if (FReference != nullptr) FReference->PenPos = {x, y};
}

void TKivCanvas3D::LineTo(std::int32_t x, std::int32_t y) {
  QPainter* p = Painter();
  if (p == nullptr) return;
  const TPoint from = FReference->PenPos;
  FReference->PenPos = {x, y};
  if (!Prepare(*p, TDrawing::Lines)) return;
  const TPoint to{x, y};
  if (FPointLinesSkipped && from == to) return;
  if (ReusesPainterState() && (from.X == to.X || from.Y == to.Y)) {
    const TStraightLines* straight = StraightLinesFor(*p, TDrawing::Lines);
    if (straight != nullptr && straight->Draw(from, to)) return;
  }
  p->drawLine(from.X, from.Y, x, y);
}

void TKivCanvas3D::Rectangle(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
  QPainter* p = Painter();
  if (p == nullptr || !Prepare(*p)) return;
  const QRect r = OutlineRect(x0, y0, x1, y1);
  if (ReusesPainterState()) {
    const TStraightLines* straight = StraightLinesFor(*p, TDrawing::Shape);
    if (straight != nullptr && straight->Rectangle(r)) return;
  }
  p->drawRect(r);
}

void TKivCanvas3D::Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  QPainter* p = Painter();
  if (p == nullptr || !Prepare(*p)) return;
  p->drawEllipse(OutlineRect(x1, y1, x2, y2));
}

void TKivCanvas3D::RoundRect(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                             std::int32_t x3, std::int32_t y3) {
  QPainter* p = Painter();
  if (p == nullptr || !Prepare(*p)) return;
  p->drawRoundedRect(OutlineRect(x1, y1, x2, y2), x3 / 2.0, y3 / 2.0, Qt::AbsoluteSize);
}

void TKivCanvas3D::FillRect(const TRect& rect) {
  QPainter* p = Painter();
  if (p == nullptr) return;
  Prepare(*p);
  // A fill is no pen drawing: it copies its brush whatever raster mode the
  // pen was left in (a figure dragged in XOR between passes leaves one, and
  // the next pass's background must still cover the last picture).
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  TRect r = rect;
  if (r.Left > r.Right) std::swap(r.Left, r.Right);
  if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
  p->fillRect(QRect(r.Left, r.Top, r.Width(), r.Height()), p->brush());
}

void TKivCanvas3D::Polyline(std::span<const TPoint> points) {
  QPainter* p = Painter();
  if (p == nullptr || points.size() < 2 || !Prepare(*p, TDrawing::Outline)) return;
  p->drawPolyline(ToQPolygon(points));
}

// A polyline rasterises its joints and its steep segments differently from
// single lines; one line call per segment keeps the pixels of LineTo.
void TKivCanvas3D::LineSegments(std::span<const TPoint> points) {
  QPainter* p = Painter();
  if (p == nullptr || points.empty()) return;
  FReference->PenPos = points.back();
  if (points.size() < 2 || !Prepare(*p, TDrawing::Lines)) return;
  // An upright line of a one-pixel pen lights its column from its upper end
  // to the pixel above its lower end, whichever way it runs. Where painting a
  // pixel twice leaves it as painting it once, the upright lines that follow
  // each other in one column light what the one line from the highest of
  // their ends to the lowest does: a dense line's columns cost one call each.
  const bool joinUpright = ReusesPainterState() && PaintsEachPixelOnce(*p);
  // Upright and flat lines go into the pixels straight where the painter
  // allows it; it is asked once, at the first such line.
  const TStraightLines* straight = nullptr;
  bool straightAsked = !ReusesPainterState();
  auto line = [&](const TPoint& from, const TPoint& to) {
    if (from.X == to.X || from.Y == to.Y) {
      if (!straightAsked) {
        straight = StraightLinesFor(*p, TDrawing::Lines);
        straightAsked = true;
      }
      if (straight && straight->Draw(from, to)) return;
    }
    p->drawLine(from.X, from.Y, to.X, to.Y);
  };
  std::size_t i = 1;
  while (i < points.size()) {
    const TPoint& from = points[i - 1];
    const TPoint& to = points[i];
    if (from == to) {
      if (!FPointLinesSkipped) p->drawLine(from.X, from.Y, to.X, to.Y);
      ++i;
      continue;
    }
    if (joinUpright && from.X == to.X) {
      std::int32_t top = std::min(from.Y, to.Y), bottom = std::max(from.Y, to.Y);
      for (++i; i < points.size() && points[i].X == from.X && points[i].Y != points[i - 1].Y; ++i) {
        top = std::min(top, points[i].Y);
        bottom = std::max(bottom, points[i].Y);
      }
      line({from.X, top}, {from.X, bottom});
      continue;
    }
    line(from, to);
    ++i;
  }
}

bool TKivCanvas3D::PaintsEachPixelOnce(const QPainter& p) const {
  return FPainterPen.isCosmetic() && FPainterPen.style() == Qt::SolidLine && FPainterPen.color().alpha() == 255 &&
         p.compositionMode() == QPainter::CompositionMode_SourceOver && p.backgroundMode() == Qt::TransparentMode &&
         p.transform().isIdentity();
}

void TKivCanvas3D::Polygon(std::span<const TPoint> points) {
  QPainter* p = Painter();
  if (p == nullptr || points.empty() || !Prepare(*p)) return;
  p->drawPolygon(ToQPolygon(points), Qt::OddEvenFill);
}

namespace {

// An arc of the ellipse in (x1, y1)-(x2, y2) running counter-clockwise from the
// ray towards (x3, y3) to the ray towards (x4, y4), as QPainter takes it: the
// start and the span in sixteenths of a degree.
struct TArcSpan {
  std::int32_t Start16, Span16;
};

TArcSpan ArcSpan(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t x3,
                 std::int32_t y3, std::int32_t x4, std::int32_t y4) {
  const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
  const double a1 = AngleOf(cx, cy, x3, y3);
  double span = AngleOf(cx, cy, x4, y4) - a1;
  if (span <= 0) span += 360;
  return {Round(a1 * 16), Round(span * 16)};
}

}  // namespace

void TKivCanvas3D::Arc(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                       std::int32_t x3, std::int32_t y3, std::int32_t x4, std::int32_t y4) {
  QPainter* p = Painter();
  if (p == nullptr || !Prepare(*p, TDrawing::Outline)) return;
  const TArcSpan a = ArcSpan(x1, y1, x2, y2, x3, y3, x4, y4);
  p->drawArc(OutlineRect(x1, y1, x2, y2), a.Start16, a.Span16);
}

void TKivCanvas3D::Pie(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                       std::int32_t x3, std::int32_t y3, std::int32_t x4, std::int32_t y4) {
  QPainter* p = Painter();
  if (p == nullptr || !Prepare(*p)) return;
  const TArcSpan a = ArcSpan(x1, y1, x2, y2, x3, y3, x4, y4);
  p->drawPie(OutlineRect(x1, y1, x2, y2), a.Start16, a.Span16);
}

void TKivCanvas3D::Donut(std::int32_t x, std::int32_t y, std::int32_t xRadius, std::int32_t yRadius,
                         double startAngle, double endAngle, double holePercent) {
  QPainter* p = Painter();
  if (p == nullptr || !Prepare(*p)) return;
  const double ix = xRadius * holePercent * 0.01, iy = yRadius * holePercent * 0.01;
  const QRectF outer(x - xRadius, y - yRadius, 2.0 * xRadius, 2.0 * yRadius);
  const QRectF inner(x - ix, y - iy, 2 * ix, 2 * iy);
  const double span = endAngle - startAngle;
  QPainterPath path;
  path.arcMoveTo(outer, startAngle);
  path.arcTo(outer, startAngle, span);
  if (ix > 0 || iy > 0) {
    path.arcTo(inner, endAngle, -span);
  } else {
    path.lineTo(x, y);
  }
  path.closeSubpath();
  p->drawPath(path);
}

void TKivCanvas3D::Draw(std::int32_t x, std::int32_t y, const TGraphic* graphic) {
  QPainter* p = Painter();
  if (p == nullptr || graphic == nullptr || graphic->Empty()) return;
  const QImage img = GraphicImage(graphic);
  if (img.isNull()) return;
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  p->drawImage(x, y, img);
}

void TKivCanvas3D::StretchDraw(const TRect& rect, const TGraphic* graphic) {
  QPainter* p = Painter();
  if (p == nullptr || graphic == nullptr || graphic->Empty()) return;
  const QImage img = GraphicImage(graphic);
  if (img.isNull()) return;
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  p->drawImage(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), img);
}

// --- text -------------------------------------------------------------------

QFont TKivCanvas3D::CurrentQFont() const {
  const TFont& f = const_cast<TKivCanvas3D*>(this)->Font();
  QFont q(QString::fromStdString(f.Name()));
  const std::int32_t size = FTextSize > 0 ? FTextSize : f.Size();
  q.setPixelSize(std::max(1, MulDiv(size, f.PixelsPerInch(), 72)));
  const TFontStyles s = f.Style();
  q.setBold((s & FontStyleBit(fsBold)) != 0);
  q.setItalic((s & FontStyleBit(fsItalic)) != 0);
  q.setUnderline((s & FontStyleBit(fsUnderline)) != 0);
  q.setStrikeOut((s & FontStyleBit(fsStrikeOut)) != 0);
  if (CharacterExtra() != 0) q.setLetterSpacing(QFont::AbsoluteSpacing, CharacterExtra());
  // Turned text is smoothed; level text keeps crisp pixels.
  q.setStyleStrategy(FTextAngle != 0 ? QFont::PreferAntialias : QFont::NoAntialias);
  q.setHintingPreference(QFont::PreferFullHinting);
  return q;
}

namespace {

// The offset from the reference point to the text's baseline start.
QPoint TextOrigin(unsigned align, const QFontMetrics& fm, int width) {
  int dx = 0;
  if ((align & TA_CENTER) == TA_CENTER)
    dx = -width / 2;
  else if ((align & TA_RIGHT) == TA_RIGHT)
    dx = -width;
  int dy = fm.ascent();
  if ((align & TA_BASELINE) == TA_BASELINE)
    dy = 0;
  else if ((align & TA_BOTTOM) == TA_BOTTOM)
    dy = -fm.descent();
  return {dx, dy};
}

}  // namespace

void TKivCanvas3D::RawTextOut(std::int32_t x, std::int32_t y, const std::string& text, TColor color) {
  QPainter* p = Painter();
  if (p == nullptr) return;
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const QFont font = CurrentQFont();
  const QFontMetrics fm(font);
  const int width = fm.horizontalAdvance(s);
  const QPoint origin = TextOrigin(GetTextAlign(), fm, width);
  p->save();
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  // The box behind the text is painted here from the surface's own state; the
  // painter's background mode is whatever the last shape left there.
  p->setBackgroundMode(Qt::TransparentMode);
  p->translate(x, y);
  if (FTextAngle != 0) p->rotate(-FTextAngle);
  // A clear brush draws text without a box, as turned labels and the axis
  // labels (which clear the brush just before their text) rely on.
  if (GetBackMode() == OPAQUE && Brush().Style() != bsClear)
    p->fillRect(QRect(origin.x(), origin.y() - fm.ascent(), width, fm.height()), ToQColor(GetBackColor()));
  p->setFont(font);
  p->setPen(ToQColor(FMonochrome ? clBlack : color));
  p->drawText(origin, s);
  p->restore();
}

void TKivCanvas3D::PathTextOut(std::int32_t x, std::int32_t y, const std::string& text,
                               const TChartPen* outline, TKivFontGradient* gradient) {
  QPainter* p = Painter();
  if (p == nullptr) return;
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  const QFont font = CurrentQFont();
  const QFontMetrics fm(font);
  const QPoint origin = TextOrigin(GetTextAlign(), fm, fm.horizontalAdvance(s));
  QTransform transform;
  transform.translate(x, y);
  if (FTextAngle != 0) transform.rotate(-FTextAngle);
  QPainterPath path;
  path.addText(origin, font, s);
  path = transform.map(path);
  if (gradient != nullptr) {
    QPainterPath area = path;
    if (gradient->Outline()) {
      QPainterPathStroker stroker;
      stroker.setWidth(outline != nullptr ? std::max(outline->Width(), 1) : 1);
      area = stroker.createStroke(path);
    }
    const QRect box = area.boundingRect().toAlignedRect();
    p->save();
    p->setClipPath(area, p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    DrawGradient(*this, *gradient, TRect{box.left(), box.top(), box.right() + 1, box.bottom() + 1});
    p->restore();
    if (gradient->Outline()) return;
  }
  if (outline == nullptr) return;
  p->save();
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  p->setRenderHint(QPainter::Antialiasing, false);
  QPen pen(ToQColor(FMonochrome ? clBlack : outline->Color()));
  pen.setWidth(std::max(outline->Width(), 1));
  p->setPen(pen);
  const TColor fill = Font().Color();
  if (fill == clNone || gradient != nullptr)
    p->setBrush(Qt::NoBrush);
  else
    p->setBrush(ToQColor(FMonochrome ? clBlack : fill));
  p->drawPath(path);
  p->restore();
}

std::int32_t TKivCanvas3D::RawTextWidth(const std::string& text) {
  const QFontMetrics fm(CurrentQFont());
  return fm.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

std::int32_t TKivCanvas3D::RawTextHeight(const std::string&) {
  const QFontMetrics fm(CurrentQFont());
  return fm.height();
}

const TStraightLines* TKivCanvas3D::StraightLinesFor(const QPainter& p, TDrawing drawing) {
  const QImage* image = FReference != nullptr ? FReference->Image() : nullptr;
  const TStraightKey key{FReference,    image != nullptr ? image->constBits() : nullptr,
                         FPenBuilds,    FPreparedMode,
                         p.deviceTransform().isIdentity(), FClipChanges};
  TKeptStraightLines& kept = FStraight[FPreparedBackground == Qt::OpaqueMode ? 1 : 0];
  if (!kept.Key || !(*kept.Key == key)) {
    kept.Writer = TStraightLines::For(p, image);
    kept.Key = key;
    // Lines leave the painter's brush as they find it: the writer's fill
    // is known to be the built brush only when asked for a shape.
    kept.BrushBuilds = drawing == TDrawing::Shape ? FBrushBuilds : ~std::uint64_t{0};
  } else if (drawing == TDrawing::Shape && kept.Writer && kept.BrushBuilds != FBrushBuilds) {
    kept.Writer->SetBrush(p.brush());
    kept.BrushBuilds = FBrushBuilds;
  }
  return kept.Writer ? &*kept.Writer : nullptr;
}

// --- clipping ---------------------------------------------------------------

void TKivCanvas3D::ClipRegion(const QRegion& region) {
  QPainter* p = Painter();
  if (p == nullptr) return;
  ++FClipChanges;
  // One level of saving: a second clip before the unclip replaces the saved one.
  if (p->hasClipping()) {
    FSavedClip = p->clipRegion();
    p->setClipRegion(region, Qt::IntersectClip);
  } else {
    FSavedClip.reset();
    // Qt 6.4's raster engine loses a non-rectangular region replaced while
    // clipping is off (after an unclip) unless another state change follows
    // before the next drawing; switching clipping on first makes it stick.
    p->setClipping(true);
    p->setClipRegion(region, Qt::ReplaceClip);
  }
}

void TKivCanvas3D::ClipRectangle(const TRect& r) {
  ClipRegion(QRegion(QRect(r.Left, r.Top, r.Width(), r.Height()).normalized()));
}

void TKivCanvas3D::ClipEllipse(const TRect& r) {
  ClipRegion(QRegion(QRect(r.Left, r.Top, r.Width(), r.Height()).normalized(), QRegion::Ellipse));
}

void TKivCanvas3D::ClipRoundRectangle(const TRect& r, std::int32_t corner) {
  QPainterPath path;
  path.addRoundedRect(QRectF(r.Left, r.Top, r.Width(), r.Height()), corner / 2.0, corner / 2.0);
  ClipRegion(QRegion(path.toFillPolygon().toPolygon(), Qt::WindingFill));
}

void TKivCanvas3D::ClipPolygon(std::span<const TPoint> points) {
  ClipRegion(QRegion(ToQPolygon(points), Qt::WindingFill));
}

void TKivCanvas3D::UnClipRectangle() {
  QPainter* p = Painter();
  if (p == nullptr) return;
  ++FClipChanges;
  if (FSavedClip)
    p->setClipRegion(*FSavedClip, Qt::ReplaceClip);
  else
    p->setClipping(false);
  FSavedClip.reset();
}

// --- blending ---------------------------------------------------------------

std::unique_ptr<TKivBlend> TKivCanvas3D::NewBlend(const TRect& rect) {
  TRect r = rect;
  if (r.Left > r.Right) std::swap(r.Left, r.Right);
  if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
  QRect q(r.Left, r.Top, r.Width(), r.Height());
  if (FReference != nullptr && FReference->Image() != nullptr) q &= FReference->Image()->rect();
  return std::make_unique<TQtBlend>(FReference, q);
}

// --- passes and buffering ---------------------------------------------------

TRect TKivCanvas3D::InitWindow(TCanvas* dest, TView3DOptions* options, TColor backColor, bool is3D,
                               const TRect& bounds) {
  InitProjection(options, is3D);
  FBounds = bounds;
  if (FBuffered) {
    if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
    if (FBitmap->Width() != bounds.Width() || FBitmap->Height() != bounds.Height()) {
      if (FReference != nullptr && FReference == FBitmap->OpenCanvas()) SetReferenceCanvas(nullptr);
      FBitmap->SetSize(bounds.Width(), bounds.Height());
    }
    SetReferenceCanvas(&FBitmap->Canvas());
    return {0, 0, bounds.Width(), bounds.Height()};
  }
  SetReferenceCanvas(dest);
  return bounds;
}

void TKivCanvas3D::ShowImage(TCanvas* dest, TCanvas* defaultCanvas, const TRect& rect) {
  if (FBuffered && FBitmap && dest != nullptr) {
    BitBltBitmap(rect.Left, rect.Top, *dest);
    FDirty = false;
  }
  SetReferenceCanvas(defaultCanvas);
}

bool TKivCanvas3D::ReDrawBitmap() {
  if (FDirty || !FBitmap || FReference == nullptr) return false;
  BitBltBitmap(0, 0, *FReference);
  return true;
}

void TKivCanvas3D::BitBltBitmap(std::int32_t x, std::int32_t y, TCanvas& dest) {
  if (!FBitmap || &dest == FBitmap->OpenCanvas()) return;
  QPainter& p = dest.Painter();
  p.save();
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.drawImage(x, y, FBitmap->Image());
  p.restore();
}

}  // namespace chart

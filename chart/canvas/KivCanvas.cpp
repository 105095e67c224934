// The drawing operations every surface shares: style selection, text with
// shadows, gradient fills, frames, and the 3D primitives built on the 2D ones
// and the projection.
//
// Tested by: chart/tests/KivCanvasTest.cpp, chart/tests/KivCanvasQtTest.cpp
#include "chart/canvas/KivCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "chart/canvas/KivGraphics.h"

namespace chart {

// --- blending ---------------------------------------------------------------

std::unique_ptr<TKivBlend> TKivCanvas::BeginBlending(const TRect& rect, std::int32_t transparency) {
  FBlendTransparency = transparency & 127;
  return NewBlend(rect);
}

void TKivCanvas::EndBlending(std::unique_ptr<TKivBlend> blend) {
  if (blend) blend->DoBlend(FBlendTransparency);
}

// --- style selection --------------------------------------------------------

void TKivCanvas::AssignVisiblePenColor(const TPen& pen, TColor color) {
  if (IsMonochrome()) color = clBlack;
  if (auto* chartPen = dynamic_cast<const TChartPen*>(&pen)) {
    if (!chartPen->Visible()) {
      Pen().SetStyle(psClear);
      return;
    }
    Pen().Assign(*chartPen);
  } else {
    // A plain pen makes a plain cosmetic or round-ended pen.
    Pen().Assign(pen);
    Pen().SetSmallDots(false);
    Pen().SetEndStyle(esRound);
    Pen().SetVisible(true);
  }
  Pen().SetColor(color);
}

void TKivCanvas::AssignBrushColor(const TChartBrush& brush, TColor color, TColor background) {
  if (IsMonochrome()) color = clWhite;
  if (brush.HasImage()) {
    Brush().SetStyle(bsClear);
    Brush().SetBitmap(brush.Image()->Graphic());
    Brush().SetColor(color);
    SetBackMode(OPAQUE);
    SetBackColor(background);
    return;
  }
  Brush().SetBitmap(nullptr);
  if (Brush().Color() != color) Brush().SetColor(color);
  if (Brush().Style() != brush.Style()) Brush().SetStyle(brush.Style());
  if (background != clNone) {
    SetBackMode(OPAQUE);
    SetBackColor(background);
  } else {
    SetBackMode(TRANSPARENT);
  }
}

void TKivCanvas::AssignBrush(const TChartBrush& brush, TColor color) {
  AssignBrushColor(brush, color, clNone);
}

void TKivCanvas::AssignFont(TKivFont& font) {
  font.SetPixelsPerInch(Font().PixelsPerInch());
  Font().Assign(font);
  if (FFontZoom != 100.0) Font().SetSize(Round(font.Size() * FFontZoom * 0.01));
  if (IsMonochrome()) Font().SetColor(clBlack);
  if (FCharExtra != font.InterCharSize()) FCharExtra = font.InterCharSize();
  FCurrentFont = &font;
  font.SetLastCanvas(dynamic_cast<TCanvas3D*>(this));
}

void TKivCanvas::ResetState() {
  Pen().SetColor(clBlack);
  Pen().SetWidth(1);
  Pen().SetStyle(psSolid);
  Pen().SetMode(pmCopy);
  Pen().SetVisible(true);
  Pen().SetSmallDots(false);
  Brush().SetBitmap(nullptr);
  Brush().SetColor(clWhite);
  Brush().SetStyle(bsSolid);
  Font().SetColor(clBlack);
  Font().SetSize(10);
  FCurrentFont = nullptr;
  FCharExtra = 0;
  SetBackColor(clWhite);
  SetBackMode(TRANSPARENT);
  SetTextAlign(0);
}

void TKivCanvas::SetDarkBrush(TColor color, std::int32_t amount) {
  // A system colour darkens from the colour it paints in, so a dark side
  // matches its own lit face.
  const TColor dark = ApplyDark(ColorToRGB(color), amount);
  if (Brush().Style() == bsSolid)
    Brush().SetColor(dark);
  else
    SetBackColor(dark);
}

// --- lines and frames -------------------------------------------------------

void TKivCanvas::DoHorizLine(std::int32_t x0, std::int32_t x1, std::int32_t y) {
  MoveTo(x0, y);
  LineTo(x1, y);
}

void TKivCanvas::DoVertLine(std::int32_t x, std::int32_t y0, std::int32_t y1) {
  MoveTo(x, y0);
  LineTo(x, y1);
}

void TKivCanvas::LineSegments(std::span<const TPoint> points) {
  if (points.empty()) return;
  MoveTo(points[0].X, points[0].Y);
  for (std::size_t i = 1; i < points.size(); ++i) LineTo(points[i].X, points[i].Y);
}

void TKivCanvas::Line(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
  MoveTo(x0, y0);
  LineTo(x1, y1);
}

void TKivCanvas::Frame3D(TRect& rect, TColor topColor, TColor bottomColor, std::int32_t width) {
  Pen().SetWidth(1);
  Pen().SetStyle(psSolid);
  Pen().SetVisible(true);
  Pen().SetSmallDots(false);
  --rect.Right;
  --rect.Bottom;
  for (std::int32_t i = 0; i < width; ++i) {
    Pen().SetColor(topColor);
    const TPoint top[3] = {{rect.Left, rect.Bottom}, {rect.Left, rect.Top}, {rect.Right, rect.Top}};
    Polyline(top);
    Pen().SetColor(bottomColor);
    // Each polyline leaves out its end pixel: ending one pixel beyond the
    // bottom-left corner closes the frame.
    const TPoint bottom[3] = {
        {rect.Right, rect.Top}, {rect.Right, rect.Bottom}, {rect.Left - 1, rect.Bottom}};
    Polyline(bottom);
    ++rect.Left;
    ++rect.Top;
    --rect.Right;
    --rect.Bottom;
  }
  ++rect.Right;
  ++rect.Bottom;
}

// --- text -------------------------------------------------------------------

namespace {

bool HasShadowOffset(const TKivFont* font) {
  return font != nullptr && font->HasShadow() &&
         (font->Shadow()->HorizSize() != 0 || font->Shadow()->VertSize() != 0);
}

}  // namespace

void TKivCanvas::TextOut(std::int32_t x, std::int32_t y, const std::string& text) {
  TKivFont* font = FCurrentFont;
  if (HasShadowOffset(font)) {
    const TKivShadow& shadow = *font->Shadow();
    std::int32_t sx = x, sy = y;
    // A positive size moves the shadow; a negative one moves the text instead.
    if (shadow.HorizSize() > 0)
      sx += shadow.HorizSize();
    else
      x -= shadow.HorizSize();
    if (shadow.VertSize() > 0)
      sy += shadow.VertSize();
    else
      y -= shadow.VertSize();
    std::unique_ptr<TKivBlend> blend;
    if (shadow.Transparency() != 0) {
      const std::int32_t w = TextWidth(text), h = TextHeight(text);
      std::int32_t left = sx;
      const unsigned horiz = GetTextAlign() & TA_CENTER;
      if (horiz == TA_CENTER)
        left = sx - w / 2;
      else if (horiz == TA_RIGHT)
        left = sx - w;
      blend = BeginBlending({left, sy, left + w, sy + h}, shadow.Transparency());
    }
    RawTextOut(sx, sy, text, shadow.Color());
    if (blend) EndBlending(std::move(blend));
  }
  const bool outline = font != nullptr && font->HasOutLine() && font->OutLine()->Visible();
  const bool gradient = font != nullptr && font->HasGradient() && font->Gradient()->Visible();
  if (!outline && !gradient)
    RawTextOut(x, y, text, Font().Color());
  else
    PathTextOut(x, y, text, outline ? font->OutLine() : nullptr,
                gradient ? font->Gradient() : nullptr);
}

std::int32_t TKivCanvas::TextWidth(const std::string& text) {
  std::int32_t w = RawTextWidth(text);
  if (FCurrentFont != nullptr && FCurrentFont->HasShadow())
    w += std::abs(FCurrentFont->Shadow()->HorizSize());
  return w;
}

std::int32_t TKivCanvas::TextHeight(const std::string& text) {
  std::int32_t h = RawTextHeight(text);
  if (FCurrentFont != nullptr && FCurrentFont->HasShadow())
    h += std::abs(FCurrentFont->Shadow()->VertSize());
  return h;
}

void TKivCanvas::RotateLabel(std::int32_t x, std::int32_t y, const std::string& text, double angle) {
  Brush().SetStyle(bsClear);
  if (angle >= 361) angle -= 360;
  const double savedAngle = FTextAngle;
  FTextAngle = angle;
  TextOut(x, y, text);
  FTextAngle = savedAngle;
}

void TCanvas3D::RotateLabel(std::int32_t x, std::int32_t y, const std::string& text, double angle) {
  const std::int32_t savedSize = FTextSize;
  if (FProjection.ZoomText && FProjection.ZoomFactor != 1.0)
    FTextSize = std::max(Round(Font().Size() * FProjection.ZoomFactor), 1);
  TKivCanvas::RotateLabel(x, y, text, angle);
  FTextSize = savedSize;
}

// --- gradient fills ---------------------------------------------------------

namespace {

TRect Normalised(TRect r) {
  if (r.Left > r.Right) std::swap(r.Left, r.Right);
  if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
  return r;
}

// Paints rectangles in solid colours and puts the brush back afterwards.
class TBandPainter {
 public:
  explicit TBandPainter(TKivCanvas& canvas)
      : FCanvas(canvas),
        FColor(canvas.Brush().Color()),
        FStyle(canvas.Brush().Style()),
        FBitmap(canvas.Brush().Bitmap()) {
    FCanvas.Brush().SetBitmap(nullptr);
    FCanvas.Brush().SetStyle(bsSolid);
  }
  ~TBandPainter() {
    FCanvas.Brush().SetColor(FColor);
    FCanvas.Brush().SetStyle(FStyle);
    FCanvas.Brush().SetBitmap(FBitmap);
  }
  void Fill(TColor color, std::int32_t left, std::int32_t top, std::int32_t right,
            std::int32_t bottom) {
    if (right <= left || bottom <= top) return;
    FCanvas.Brush().SetColor(color);
    FCanvas.FillRect({left, top, right, bottom});
  }

 private:
  TKivCanvas& FCanvas;
  TColor FColor;
  TBrushStyle FStyle;
  const TGraphic* FBitmap;
};

}  // namespace

void TKivCanvas::GradientFill(const TRect& rect, TColor startColor, TColor endColor,
                              TGradientDirection direction, std::int32_t balance) {
  const TRect r = Normalised(rect);
  // Bands mix channels, so system colours become the colours they paint in first.
  startColor = ColorToRGB(startColor);
  endColor = ColorToRGB(endColor);
  if (direction == gdRadial) {
    RadialFill(r, startColor, endColor, 0, 0, balance);
    return;
  }
  if (direction != gdTopBottom && direction != gdLeftRight) std::swap(startColor, endColor);
  const std::int32_t w = r.Width(), h = r.Height();
  switch (direction) {
    case gdTopBottom:
    case gdBottomTop:
    case gdLeftRight:
    case gdRightLeft: {
      const bool horizontal = direction == gdTopBottom || direction == gdBottomTop;
      const std::int32_t e = horizontal ? h : w;
      if (e < 2) return;
      const std::int32_t n = std::min<std::int32_t>(e, 256);
      TBandPainter painter(*this);
      for (std::int32_t i = 0; i < n; ++i) {
        const TColor c = GradientBandColor(startColor, endColor, i, n - 1, balance);
        const std::int32_t from = static_cast<std::int32_t>(static_cast<std::int64_t>(i) * e / n);
        const std::int32_t to = static_cast<std::int32_t>(static_cast<std::int64_t>(i + 1) * e / n);
        // Bands are counted from the bottom (or right) edge.
        if (horizontal)
          painter.Fill(c, r.Left, r.Bottom - to, r.Right, r.Bottom - from);
        else
          painter.Fill(c, r.Right - to, r.Top, r.Right - from, r.Bottom);
      }
      return;
    }
    case gdFromCenter: {
      const std::int32_t hw = w >> 1, hh = h >> 1, d = hw + hh;
      if (d == 0) return;
      TBandPainter painter(*this);
      std::int32_t xk = 0, yk = 0;
      while (yk < hh || xk < hw) {
        const TColor c = GradientBandColor(startColor, endColor, xk + yk, d, balance);
        painter.Fill(c, r.Left + xk, r.Top + yk, r.Left + xk + 1, r.Bottom - yk);
        painter.Fill(c, r.Right - xk - 1, r.Top + yk, r.Right - xk, r.Bottom - yk);
        painter.Fill(c, r.Left + xk, r.Top + yk, r.Right - xk, r.Top + yk + 1);
        painter.Fill(c, r.Left + xk, r.Bottom - yk - 1, r.Right - xk, r.Bottom - yk);
        if (xk < hw) ++xk;
        if (yk < hh) ++yk;
      }
      return;
    }
    case gdFromTopLeft:
    case gdFromBottomLeft: {
      const std::int32_t d = w + h;
      if (d == 0 || w <= 0 || h <= 0) return;
      const bool fromTop = direction == gdFromTopLeft;
      TBandPainter painter(*this);
      std::int32_t a = 0, b = 0;
      while (b < h || a < w) {
        const TColor c = GradientBandColor(startColor, endColor, a + b, d, balance);
        // Band max(a, b) around the corner: the column at a down (or up) to the
        // current row, and the current row from the left edge to the column.
        const std::int32_t row = std::min(b, h - 1), col = std::min(a, w - 1);
        if (fromTop) {
          if (a < w) painter.Fill(c, r.Left + a, r.Top, r.Left + a + 1, r.Top + row + 1);
          if (b < h) painter.Fill(c, r.Left, r.Top + b, r.Left + col + 1, r.Top + b + 1);
        } else {
          if (a < w) painter.Fill(c, r.Left + a, r.Bottom - 1 - row, r.Left + a + 1, r.Bottom);
          if (b < h) painter.Fill(c, r.Left, r.Bottom - 1 - b, r.Left + col + 1, r.Bottom - b);
        }
        if (b < h) ++b;
        if (a < w) ++a;
      }
      return;
    }
    case gdRadial:
      return;
  }
}

void TKivCanvas::RadialFill(const TRect& rect, TColor start, TColor end, std::int32_t radialX,
                            std::int32_t radialY, std::int32_t balance) {
  const TRect r = Normalised(rect);
  start = ColorToRGB(start);
  end = ColorToRGB(end);
  const std::int32_t w = r.Width(), h = r.Height();
  const std::int32_t bigN = std::min<std::int32_t>(255, std::max(w, h));
  std::int32_t n = bigN;
  if (w % 2 != 0)
    --n;
  else if (h % 2 != 0)
    --n;
  // An empty rectangle has no rings to divide into.
  if (n < 0 || bigN == 0) return;
  const double cx = radialX + 1 + (static_cast<double>(r.Left) + r.Right) * 0.5;
  const double cy = radialY + 1 + (static_cast<double>(r.Top) + r.Bottom) * 0.5;
  const double hx = w * 0.5 / bigN, hy = h * 0.5 / bigN;
  const TPenStyle penStyle = Pen().Style();
  const TColor brushColor = Brush().Color();
  const TBrushStyle brushStyle = Brush().Style();
  Pen().SetStyle(psClear);
  Brush().SetStyle(bsSolid);
  Brush().SetColor(end);
  FillRect(r);
  for (std::int32_t k = n; k >= 0; --k) {
    Brush().SetColor(RadialRingColor(start, end, k, n, bigN, balance));
    Ellipse(Round(cx - k * hx), Round(cy - k * hy), Round(cx + k * hx), Round(cy + k * hy));
  }
  Brush().SetColor(brushColor);
  Brush().SetStyle(brushStyle);
  Pen().SetStyle(penStyle);
}

// --- TCanvas3D: projection helpers -----------------------------------------

TRect TCanvas3D::Calculate3DPosition(const TRect& r, std::int32_t z) const {
  const TPoint a = Calculate3DPosition(r.Left, r.Top, z);
  const TPoint b = Calculate3DPosition(r.Right, r.Bottom, z);
  return {a.X, a.Y, b.X, b.Y};
}

TRect TCanvas3D::RectFromRectZ(const TRect& r, std::int32_t z) const {
  const TPoint p[4] = {Calculate3DPosition(r.Left, r.Top, z), Calculate3DPosition(r.Right, r.Top, z),
                       Calculate3DPosition(r.Right, r.Bottom, z),
                       Calculate3DPosition(r.Left, r.Bottom, z)};
  TRect out{p[0].X, p[0].Y, p[0].X, p[0].Y};
  for (const TPoint& q : p) {
    out.Left = std::min(out.Left, q.X);
    out.Top = std::min(out.Top, q.Y);
    out.Right = std::max(out.Right, q.X);
    out.Bottom = std::max(out.Bottom, q.Y);
  }
  ++out.Right;
  ++out.Bottom;
  return out;
}

// --- TCanvas3D: primitives --------------------------------------------------

TColor TCanvas3D::GetPixel3D(std::int32_t x, std::int32_t y, std::int32_t z) {
  const TPoint p = Calculate3DPosition(x, y, z);
  return GetPixel(p.X, p.Y);
}

void TCanvas3D::SetPixel3D(std::int32_t x, std::int32_t y, std::int32_t z, TColor color) {
  const TPoint p = Calculate3DPosition(x, y, z);
  if (Pen().Width() != 1) {
    MoveTo(p.X, p.Y);
    LineTo(p.X, p.Y);
  } else {
    SetPixel(p.X, p.Y, color);
  }
}

void TCanvas3D::MoveTo3D(std::int32_t x, std::int32_t y, std::int32_t z) {
  const TPoint p = Calculate3DPosition(x, y, z);
  MoveTo(p.X, p.Y);
}

void TCanvas3D::LineTo3D(std::int32_t x, std::int32_t y, std::int32_t z) {
  const TPoint p = Calculate3DPosition(x, y, z);
  LineTo(p.X, p.Y);
}

void TCanvas3D::HorizLine3D(std::int32_t x0, std::int32_t x1, std::int32_t y, std::int32_t z) {
  MoveTo3D(x0, y, z);
  LineTo3D(x1, y, z);
}

void TCanvas3D::VertLine3D(std::int32_t x, std::int32_t y0, std::int32_t y1, std::int32_t z) {
  MoveTo3D(x, y0, z);
  LineTo3D(x, y1, z);
}

void TCanvas3D::ZLine3D(std::int32_t x, std::int32_t y, std::int32_t z0, std::int32_t z1) {
  MoveTo3D(x, y, z0);
  LineTo3D(x, y, z1);
}

void TCanvas3D::LineWithZ(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                          std::int32_t z) {
  MoveTo3D(x0, y0, z);
  LineTo3D(x1, y1, z);
}

void TCanvas3D::Plane3D(const TPoint& a, const TPoint& b, std::int32_t z0, std::int32_t z1) {
  FFourPoints[0] = Calculate3DPosition(a, z1);
  FFourPoints[1] = Calculate3DPosition(b, z1);
  FFourPoints[2] = Calculate3DPosition(b, z0);
  FFourPoints[3] = Calculate3DPosition(a, z0);
  PolygonFour();
}

void TCanvas3D::PlaneWithZ(const TPoint& p1, const TPoint& p2, const TPoint& p3, const TPoint& p4,
                           std::int32_t z) {
  FFourPoints[0] = Calculate3DPosition(p1, z);
  FFourPoints[1] = Calculate3DPosition(p2, z);
  FFourPoints[2] = Calculate3DPosition(p3, z);
  FFourPoints[3] = Calculate3DPosition(p4, z);
  PolygonFour();
}

void TCanvas3D::PlaneFour3D(const TPoint (&points)[4], std::int32_t z0, std::int32_t z1) {
  FFourPoints[0] = Calculate3DPosition(points[0], z0);
  FFourPoints[1] = Calculate3DPosition(points[1], z0);
  FFourPoints[2] = Calculate3DPosition(points[2], z1);
  FFourPoints[3] = Calculate3DPosition(points[3], z1);
  PolygonFour();
}

void TCanvas3D::PolygonWithZ(std::span<const TPoint> points, std::int32_t z) {
  std::vector<TPoint> projected;
  projected.reserve(points.size());
  for (const TPoint& p : points) projected.push_back(Calculate3DPosition(p, z));
  Polygon(projected);
}

void TCanvas3D::PolylineWithZ(std::span<const TPoint> points, std::int32_t z) {
  std::vector<TPoint> projected;
  projected.reserve(points.size());
  for (const TPoint& p : points) projected.push_back(Calculate3DPosition(p, z));
  Polyline(projected);
}

void TCanvas3D::RectangleWithZ(const TRect& r, std::int32_t z) {
  PlaneWithZ({r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}, z);
}

void TCanvas3D::RectangleY(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t z0,
                           std::int32_t z1) {
  FFourPoints[0] = Calculate3DPosition(left, top, z1);
  FFourPoints[1] = Calculate3DPosition(right, top, z1);
  FFourPoints[2] = Calculate3DPosition(right, top, z0);
  FFourPoints[3] = Calculate3DPosition(left, top, z0);
  PolygonFour();
}

void TCanvas3D::RectangleZ(std::int32_t left, std::int32_t top, std::int32_t bottom, std::int32_t z0,
                           std::int32_t z1) {
  FFourPoints[0] = Calculate3DPosition(left, top, z1);
  FFourPoints[1] = Calculate3DPosition(left, bottom, z1);
  FFourPoints[2] = Calculate3DPosition(left, bottom, z0);
  FFourPoints[3] = Calculate3DPosition(left, top, z0);
  PolygonFour();
}

void TCanvas3D::TriangleWithZ(const TPoint& p1, const TPoint& p2, const TPoint& p3, std::int32_t z) {
  const TPoint p[3] = {Calculate3DPosition(p1, z), Calculate3DPosition(p2, z),
                       Calculate3DPosition(p3, z)};
  Polygon(p);
}

void TCanvas3D::Triangle3D(const TPoint (&points)[3], const std::int32_t (&z)[3], TColor color) {
  if (Brush().Style() != bsClear) Brush().SetColor(color);
  const TPoint p[3] = {Calculate3DPosition(points[0], z[0]), Calculate3DPosition(points[1], z[1]),
                       Calculate3DPosition(points[2], z[2])};
  Polygon(p);
}

void TCanvas3D::RotateLabel3D(std::int32_t x, std::int32_t y, std::int32_t z, const std::string& text,
                              double angle) {
  const TPoint p = Calculate3DPosition(x, y, z);
  RotateLabel(p.X, p.Y, text, angle);
}

void TCanvas3D::TextOut3D(std::int32_t x, std::int32_t y, std::int32_t z, const std::string& text) {
  const TPoint p = Calculate3DPosition(x, y, z);
  if (FProjection.ZoomText && FProjection.ZoomFactor != 1.0) {
    const std::int32_t size = std::max(Round(Font().Size() * FProjection.ZoomFactor), 1);
    if (size != Font().Size()) {
      const std::int32_t saved = FTextSize;
      FTextSize = size;
      TextOut(p.X, p.Y, text);
      FTextSize = saved;
      return;
    }
  }
  TextOut(p.X, p.Y, text);
}

void TCanvas3D::Sphere(std::int32_t x, std::int32_t y, double radius, std::int32_t z) {
  const std::int32_t r = Round(radius);
  EllipseWithZ(x - r, y - r, x + r, y + r, z);
}

void TCanvas3D::EllipseWithZ(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                             std::int32_t z) {
  if (!FProjection.Is3D) {
    Ellipse(x1, y1, x2 + 1, y2 + 1);
    return;
  }
  if (FProjection.IsOrthogonal) {
    const TPoint a = Calculate3DPosition(x1, y1, z);
    const TPoint b = Calculate3DPosition(x2, y2, z);
    Ellipse(a.X, a.Y, b.X, b.Y);
    return;
  }
  const std::int32_t cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
  const std::int32_t rx = (x2 - x1) / 2, ry = (y2 - y1) / 2;
  // 64 points at steps of 9 degrees: the outline runs past its start, as the
  // original outline does, so a partly hidden ring still closes.
  TPoint p[64];
  p[0] = Calculate3DPosition(cx, y2, z);
  constexpr double Step = 2.0 * 3.14159265358979323846 / 40.0;
  for (int i = 1; i < 64; ++i) {
    const double a = i * Step;
    p[i] = Calculate3DPosition(cx + Trunc(rx * std::sin(a)), cy + Trunc(ry * std::cos(a)), z);
  }
  if (Brush().Style() != bsClear) {
    const TPenStyle saved = Pen().Style();
    Pen().SetStyle(psClear);
    const TPoint centre = Calculate3DPosition(cx, cy, z);
    for (int i = 1; i < 64; ++i) {
      const TPoint tri[3] = {centre, p[i - 1], p[i]};
      Polygon(tri);
    }
    Pen().SetStyle(saved);
  }
  if (Pen().Style() != psClear) Polyline(p);
}

void TCanvas3D::Arrow(bool filled, const TPoint& from, const TPoint& to, std::int32_t headWidth,
                      std::int32_t headHeight, std::int32_t z) {
  const double dx = static_cast<double>(to.X) - from.X, dy = static_cast<double>(to.Y) - from.Y;
  const double length = std::sqrt(dx * dx + dy * dy);
  if (!(length > 0)) return;
  const double ux = dx / length, uy = dy / length;  // along the arrow
  const double vx = -uy, vy = ux;                    // across it
  auto at = [&](double along, double across) {
    return TPoint{Round(from.X + along * ux + across * vx), Round(from.Y + along * uy + across * vy)};
  };
  const double base = length - headHeight;
  const TPoint head1 = at(base, 0.5 * headWidth), head2 = at(base, -0.5 * headWidth);
  if (!filled) {
    MoveTo3D(from.X, from.Y, z);
    LineTo3D(to.X, to.Y, z);
    LineTo3D(head1.X, head1.Y, z);
    MoveTo3D(to.X, to.Y, z);
    LineTo3D(head2.X, head2.Y, z);
    return;
  }
  const TPoint outline[7] = {to,
                             head1,
                             at(base, 0.25 * headWidth),
                             at(0, 0.25 * headWidth),
                             at(0, -0.25 * headWidth),
                             at(base, -0.25 * headWidth),
                             head2};
  PolygonWithZ(outline, z);
}

void TCanvas3D::ClipCube(const TRect& rect, std::int32_t minZ, std::int32_t maxZ) {
  if (!FProjection.Is3D) {
    ClipRectangle({rect.Left + 1, rect.Top + 1, rect.Right, rect.Bottom - 1});
    return;
  }
  const TView3DOptions* options = View3DOptions();
  const std::int32_t elevation = options ? options->Elevation() : 0;
  const std::int32_t rotation = options ? options->Rotation() : 0;
  if (elevation == 270 && (rotation == 270 || rotation == 360)) {
    const TPoint a = Calculate3DPosition(rect.Left, rect.Top, minZ);
    const TPoint b = Calculate3DPosition(rect.Right, rect.Top, maxZ);
    ClipRectangle({a.X, a.Y, b.X, b.Y});
    return;
  }
  if (!FProjection.IsOrthogonal && rotation < 270) return;
  const bool leftwards = options != nullptr && options->OrthoAngle() > 90;
  const std::int32_t nearX = leftwards ? rect.Right : rect.Left;
  const std::int32_t farX = leftwards ? rect.Left : rect.Right;
  const TPoint hexagon[6] = {Calculate3DPosition(nearX, rect.Bottom, minZ),
                             Calculate3DPosition(nearX, rect.Top, minZ),
                             Calculate3DPosition(nearX, rect.Top, maxZ),
                             Calculate3DPosition(farX, rect.Top, maxZ),
                             Calculate3DPosition(farX, rect.Bottom, maxZ),
                             Calculate3DPosition(farX, rect.Bottom, minZ)};
  ClipPolygon(hexagon);
}

void TCanvas3D::Cube(std::int32_t left, std::int32_t right, std::int32_t top, std::int32_t bottom,
                     std::int32_t z0, std::int32_t z1, bool darkSides) {
  const TColor base = Brush().Style() == bsSolid ? Brush().Color() : GetBackColor();
  auto P = [this](std::int32_t x, std::int32_t y, std::int32_t z) { return Calculate3DPosition(x, y, z); };
  auto facing = [this]() {
    const TPoint* q = FFourPoints;
    return static_cast<double>(q[3].X - q[2].X) * (q[1].Y - q[2].Y) -
           static_cast<double>(q[1].X - q[2].X) * (q[3].Y - q[2].Y);
  };
  auto setFour = [this](TPoint a, TPoint b, TPoint c, TPoint d) {
    FFourPoints[0] = a;
    FFourPoints[1] = b;
    FFourPoints[2] = c;
    FFourPoints[3] = d;
  };
  // 1. the near or the far end face
  setFour(P(left, top, z0), P(right, top, z0), P(right, bottom, z0), P(left, bottom, z0));
  if (facing() > 0) {
    PolygonFour();
  } else {
    setFour(P(left, top, z1), P(right, top, z1), P(right, bottom, z1), P(left, bottom, z1));
    PolygonFour();
  }
  // 2. right side
  setFour(P(right, top, z0), P(right, top, z1), P(right, bottom, z1), P(right, bottom, z0));
  if (facing() > 0) {
    if (darkSides) SetDarkBrush(base, KivSideDarkness);
    PolygonFour();
  }
  // 3. left side
  setFour(P(left, top, z0), P(left, top, z1), P(left, bottom, z1), P(left, bottom, z0));
  {
    const TPoint* q = FFourPoints;
    if (static_cast<double>(q[3].X - q[0].X) * (q[1].Y - q[0].Y) -
            static_cast<double>(q[1].X - q[0].X) * (q[3].Y - q[0].Y) > 0) {
      if (darkSides) SetDarkBrush(base, KivSideDarkness);
      PolygonFour();
    }
  }
  // 4. top
  setFour(P(left, top, z0), P(right, top, z0), P(right, top, z1), P(left, top, z1));
  {
    const TPoint* q = FFourPoints;
    if (static_cast<double>(q[0].X - q[1].X) * (q[2].Y - q[1].Y) -
            static_cast<double>(q[2].X - q[1].X) * (q[0].Y - q[1].Y) > 0) {
      if (darkSides) SetDarkBrush(base, KivTopDarkness);
      PolygonFour();
    }
  }
  // 5. bottom
  setFour(P(left, bottom, z0), P(left, bottom, z1), P(right, bottom, z1), P(right, bottom, z0));
  if (facing() < 0) {
    if (darkSides) SetDarkBrush(base, KivTopDarkness);
    PolygonFour();
  }
}

}  // namespace chart

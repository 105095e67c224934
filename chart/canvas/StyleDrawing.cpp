// The drawing of shadows and gradients.
//
// Tested by: chart/tests/KivCanvasTest.cpp, chart/tests/KivCanvasQtTest.cpp
#include "chart/canvas/StyleDrawing.h"

#include <algorithm>

#include "chart/canvas/KivGraphics.h"

namespace chart {

namespace {

void SelectShadowBrush(TCanvas3D& canvas, TColor color) {
  canvas.Brush().SetBitmap(nullptr);
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(color);
  canvas.Pen().SetStyle(psClear);
}

TRect Moved(const TRect& r, std::int32_t dx, std::int32_t dy) {
  return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

}  // namespace

void DrawShadowRect(TCanvas3D& canvas, const TKivShadow& shadow, const TRect& rect) {
  if (shadow.Color() == clNone || (shadow.HorizSize() == 0 && shadow.VertSize() == 0)) return;
  SelectShadowBrush(canvas, shadow.Color());
  std::unique_ptr<TKivBlend> blend;
  const std::int32_t h = shadow.HorizSize(), v = shadow.VertSize();
  if (shadow.Transparency() != 0)
    blend = canvas.BeginBlending(canvas.RectFromRectZ(Moved(rect, h, v), 0), shadow.Transparency());
  // Only the two strips the box does not cover: a see-through box keeps its own body.
  canvas.FillRect({rect.Left + h, rect.Bottom, rect.Right + h, rect.Bottom + v});
  canvas.FillRect({rect.Right, rect.Top + v, rect.Right + h, rect.Bottom + v});
  if (blend) canvas.EndBlending(std::move(blend));
}

void DrawShadowEllipse(TCanvas3D& canvas, const TKivShadow& shadow, const TRect& rect, std::int32_t z) {
  if (shadow.Color() == clNone || (shadow.HorizSize() == 0 && shadow.VertSize() == 0)) return;
  SelectShadowBrush(canvas, shadow.Color());
  const TRect moved = Moved(rect, shadow.HorizSize(), shadow.VertSize());
  std::unique_ptr<TKivBlend> blend;
  if (shadow.Transparency() != 0)
    blend = canvas.BeginBlending(canvas.RectFromRectZ(moved, z), shadow.Transparency());
  canvas.EllipseWithZ(moved, z);
  if (blend) canvas.EndBlending(std::move(blend));
}

void DrawGradient(TCanvas3D& canvas, const TCustomKivGradient& gradient, const TRect& rect, std::int32_t cornerSize) {
  TColor start = ColorToRGB(gradient.StartColor()), end = ColorToRGB(gradient.EndColor()),
         mid = ColorToRGB(gradient.MidColor());
  const TGradientDirection direction = gradient.Direction();
  if (canvas.GetMonochrome()) {
    start = MonochromeGrey(start);
    end = MonochromeGrey(end);
    if (mid != clNone) mid = MonochromeGrey(mid);
  }
  if (cornerSize > 0) canvas.ClipRoundRectangle(rect, cornerSize);
  if (direction == gdRadial) {
    TRect r = rect;
    if (r.Left > r.Right) std::swap(r.Left, r.Right);
    if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
    canvas.ClipRectangle(r);
    canvas.RadialFill(r, start, end, gradient.RadialX(), gradient.RadialY(), gradient.Balance());
    canvas.UnClipRectangle();
  } else if (mid != clNone && direction <= gdRightLeft) {
    // Two halves of balance 50 through the mid colour.
    if (direction == gdTopBottom || direction == gdBottomTop) {
      const std::int32_t m = (rect.Top + rect.Bottom) / 2;
      const TRect upper{rect.Left, rect.Top, rect.Right, m}, lower{rect.Left, m, rect.Right, rect.Bottom};
      if (direction == gdTopBottom) {
        canvas.GradientFill(upper, mid, end, direction, 50);
        canvas.GradientFill(lower, start, mid, direction, 50);
      } else {
        canvas.GradientFill(upper, start, mid, direction, 50);
        canvas.GradientFill(lower, mid, end, direction, 50);
      }
    } else {
      const std::int32_t m = (rect.Left + rect.Right) / 2;
      const TRect left{rect.Left, rect.Top, m, rect.Bottom}, right{m, rect.Top, rect.Right, rect.Bottom};
      if (direction == gdLeftRight) {
        canvas.GradientFill(left, mid, end, direction, 50);
        canvas.GradientFill(right, start, mid, direction, 50);
      } else {
        canvas.GradientFill(left, start, mid, direction, 50);
        canvas.GradientFill(right, mid, end, direction, 50);
      }
    }
  } else {
    canvas.GradientFill(rect, start, end, direction, mid != clNone ? 50 : gradient.Balance());
  }
  if (cornerSize > 0) canvas.UnClipRectangle();
}

void DrawGradient(TCanvas3D& canvas, const TCustomKivGradient& gradient, const TPoint (&points)[4]) {
  canvas.ClipPolygon(points);
  TRect box{points[0].X, points[0].Y, points[0].X, points[0].Y};
  for (const TPoint& p : points) {
    box.Left = std::min(box.Left, p.X);
    box.Top = std::min(box.Top, p.Y);
    box.Right = std::max(box.Right, p.X);
    box.Bottom = std::max(box.Bottom, p.Y);
  }
  DrawGradient(canvas, gradient, box, 0);
  canvas.UnClipRectangle();
}

void DrawGradient(TCanvas3D& canvas, const TCustomKivGradient& gradient, const TPoint (&points)[4],
                  std::int32_t z) {
  const TPoint projected[4] = {canvas.Calculate3DPosition(points[0], z),
                               canvas.Calculate3DPosition(points[1], z),
                               canvas.Calculate3DPosition(points[2], z),
                               canvas.Calculate3DPosition(points[3], z)};
  DrawGradient(canvas, gradient, projected);
}

}  // namespace chart

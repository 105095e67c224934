// The drawing operations of the style objects: shadows of boxes and ellipses,
// and gradient fills of rectangles and faces.
//
// Tested by: chart/tests/KivCanvasTest.cpp, chart/tests/KivCanvasQtTest.cpp
#include <algorithm>

#include "chart/canvas/KivCanvas.h"
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

void TKivShadow::DrawRect(TCanvas3D& canvas, const TRect& rect) {
  if (FColor == clNone || (FHorizSize == 0 && FVertSize == 0)) return;
  SelectShadowBrush(canvas, FColor);
  std::unique_ptr<TKivBlend> blend;
  if (FTransparency != 0)
    blend = canvas.BeginBlending(canvas.RectFromRectZ(Moved(rect, FHorizSize, FVertSize), 0),
                                 FTransparency);
  const std::int32_t h = FHorizSize, v = FVertSize;
  // Only the two strips the box does not cover: a see-through box keeps its own body.
  canvas.FillRect({rect.Left + h, rect.Bottom, rect.Right + h, rect.Bottom + v});
  canvas.FillRect({rect.Right, rect.Top + v, rect.Right + h, rect.Bottom + v});
  if (blend) canvas.EndBlending(std::move(blend));
}

void TKivShadow::DrawEllipse(TCanvas3D& canvas, const TRect& rect, std::int32_t z) {
  if (FColor == clNone || (FHorizSize == 0 && FVertSize == 0)) return;
  SelectShadowBrush(canvas, FColor);
  const TRect moved = Moved(rect, FHorizSize, FVertSize);
  std::unique_ptr<TKivBlend> blend;
  if (FTransparency != 0) blend = canvas.BeginBlending(canvas.RectFromRectZ(moved, z), FTransparency);
  canvas.EllipseWithZ(moved, z);
  if (blend) canvas.EndBlending(std::move(blend));
}

void TCustomKivGradient::Draw(TCanvas3D& canvas, const TRect& rect, std::int32_t cornerSize) {
  TColor start = ColorToRGB(FStartColor), end = ColorToRGB(FEndColor), mid = ColorToRGB(MidColor());
  if (canvas.GetMonochrome()) {
    start = MonochromeGrey(start);
    end = MonochromeGrey(end);
    if (mid != clNone) mid = MonochromeGrey(mid);
  }
  if (cornerSize > 0) canvas.ClipRoundRectangle(rect, cornerSize);
  if (FDirection == gdRadial) {
    TRect r = rect;
    if (r.Left > r.Right) std::swap(r.Left, r.Right);
    if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
    canvas.ClipRectangle(r);
    canvas.RadialFill(r, start, end, FRadialX, FRadialY, FBalance);
    canvas.UnClipRectangle();
  } else if (mid != clNone && FDirection <= gdRightLeft) {
    // Two halves of balance 50 through the mid colour.
    if (FDirection == gdTopBottom || FDirection == gdBottomTop) {
      const std::int32_t m = (rect.Top + rect.Bottom) / 2;
      const TRect upper{rect.Left, rect.Top, rect.Right, m}, lower{rect.Left, m, rect.Right, rect.Bottom};
      if (FDirection == gdTopBottom) {
        canvas.GradientFill(upper, mid, end, FDirection, 50);
        canvas.GradientFill(lower, start, mid, FDirection, 50);
      } else {
        canvas.GradientFill(upper, start, mid, FDirection, 50);
        canvas.GradientFill(lower, mid, end, FDirection, 50);
      }
    } else {
      const std::int32_t m = (rect.Left + rect.Right) / 2;
      const TRect left{rect.Left, rect.Top, m, rect.Bottom}, right{m, rect.Top, rect.Right, rect.Bottom};
      if (FDirection == gdLeftRight) {
        canvas.GradientFill(left, mid, end, FDirection, 50);
        canvas.GradientFill(right, start, mid, FDirection, 50);
      } else {
        canvas.GradientFill(left, start, mid, FDirection, 50);
        canvas.GradientFill(right, mid, end, FDirection, 50);
      }
    }
  } else {
    canvas.GradientFill(rect, start, end, FDirection, mid != clNone ? 50 : FBalance);
  }
  if (cornerSize > 0) canvas.UnClipRectangle();
}

void TCustomKivGradient::Draw(TCanvas3D& canvas, const TPoint (&points)[4]) {
  canvas.ClipPolygon(points);
  TRect box{points[0].X, points[0].Y, points[0].X, points[0].Y};
  for (const TPoint& p : points) {
    box.Left = std::min(box.Left, p.X);
    box.Top = std::min(box.Top, p.Y);
    box.Right = std::max(box.Right, p.X);
    box.Bottom = std::max(box.Bottom, p.Y);
  }
  Draw(canvas, box, 0);
  canvas.UnClipRectangle();
}

void TCustomKivGradient::Draw(TCanvas3D& canvas, const TPoint (&points)[4], std::int32_t z) {
  const TPoint projected[4] = {canvas.Calculate3DPosition(points[0], z),
                               canvas.Calculate3DPosition(points[1], z),
                               canvas.Calculate3DPosition(points[2], z),
                               canvas.Calculate3DPosition(points[3], z)};
  Draw(canvas, projected);
}

}  // namespace chart

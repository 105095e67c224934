// The projection maths of the drawing surface and the 3D view options.
//
// Tested by: chart/tests/KivProjectionTest.cpp
#include "chart/core/KivProjection.h"

#include <algorithm>
#include <cmath>

#include "chart/core/KivStyles.h"

namespace chart {

namespace {

constexpr long double PiDiv180 = 0.017453292519943295L;

// The orthogonal angle folded at 90 degrees: the X sign and the angle in 0..90.
void FoldOrthoAngle(std::int32_t angle, double& xSign, std::int32_t& folded) {
  if (angle > 90) {
    xSign = -1.0;
    folded = 180 - angle;
  } else {
    xSign = 1.0;
    folded = angle;
  }
}

double OrthoYFactor(std::int32_t folded) {
  const long double a = folded * PiDiv180;
  const long double s = std::sin(a), c = std::cos(a);
  return c >= 0.01L ? static_cast<double>(s / c) : 1.0;
}

}  // namespace

double CalcOrthoRatio(const TView3DOptions& options) {
  if (!options.Orthogonal()) return 1.0;
  double sign = 1.0;
  std::int32_t folded = 0;
  FoldOrthoAngle(options.OrthoAngle(), sign, folded);
  return OrthoYFactor(folded);
}

void TProjection3D::InitWindow(const TView3DOptions* options, bool is3D) {
  Options = options;
  Is3D = is3D;
  IsOrthogonal = false;
  ZoomFactor = 1.0;
  if (Is3D && options != nullptr) {
    IsOrthogonal = options->Orthogonal();
    if (IsOrthogonal) {
      std::int32_t folded = 0;
      FoldOrthoAngle(options->OrthoAngle(), OrthoX, folded);
      OrthoY = OrthoYFactor(folded);
    }
    ZoomFactor = options->Zoom() * 0.01;
    ZoomText = options->ZoomText();
  }
  if (Is3D && !IsOrthogonal) {
    const long double rotation = options ? options->Rotation() * PiDiv180 : 0.0L;
    const long double elevation = options ? options->Elevation() * PiDiv180 : 0.0L;
    const long double tilt = options ? options->Tilt() * PiDiv180 : 0.0L;
    sr = std::sin(rotation);
    cr = std::cos(rotation);
    se = std::sin(elevation);
    ce = std::cos(elevation);
    st = std::sin(tilt);
    ct = std::cos(tilt);
    IsPerspective = false;
    PerspectiveFactor = 0;
    c0 = static_cast<double>(ce * sr);
    c1 = static_cast<double>(cr * ce);
    c2 = static_cast<double>(ce * st);
    c3 = std::max(static_cast<double>(ce * ct), 1e-5);
    c4 = std::max(static_cast<double>(sr * se * st + cr * ct), 1e-5);
    c5 = static_cast<double>(ct * sr * se - cr * st);
    c6 = static_cast<double>(cr * se * st - ct * sr);
    c7 = static_cast<double>(cr * ct * se + sr * st);
  }
}

void TProjection3D::Projection(std::int32_t maxDepth, const TRect& r) {
  XCenter = static_cast<std::int32_t>((static_cast<std::int64_t>(r.Left) + r.Right) / 2) +
            Round(RotationCenterX);
  YCenter = static_cast<std::int32_t>((static_cast<std::int64_t>(r.Top) + r.Bottom) / 2) +
            Round(RotationCenterY);
  ZCenter = Round(maxDepth * 0.5 + RotationCenterZ);
  XCenterOffset = XCenter;
  YCenterOffset = YCenter;
  if (Options != nullptr) {
    XCenterOffset += Options->HorizOffset();
    YCenterOffset += Options->VertOffset();
    IsPerspective = Options->Perspective() > 0;
    if (IsPerspective) {
      const double width = static_cast<double>(r.Right) - r.Left;
      // A chart rectangle without width has no perspective to scale by.
      PerspectiveFactor =
          width != 0 ? Options->Perspective() * ZoomFactor * (1.0 / 150.0) / width : 0.0;
    }
  }
}

TPoint TProjection3D::Calculate3DPosition(std::int32_t x, std::int32_t y, std::int32_t z) const {
  if (!Is3D) return {x, y};
  if (IsOrthogonal) {
    const double px = (static_cast<double>(x) - XCenter + z * OrthoX) * ZoomFactor;
    const double py = (static_cast<double>(y) - YCenter - z * OrthoY) * ZoomFactor;
    return {Round(static_cast<double>(Round(px)) + XCenterOffset),
            Round(static_cast<double>(Round(py)) + YCenterOffset)};
  }
  const double x0 = static_cast<double>(x) - XCenter;
  const double y0 = static_cast<double>(y) - YCenter;
  const double z0 = static_cast<double>(z) - ZCenter;
  double f = ZoomFactor;
  if (IsPerspective)
    f = ZoomFactor -
        (x0 * c0 - y0 * static_cast<double>(se) + z0 * c1) * PerspectiveFactor;
  const double px = (x0 * c4 + y0 * c2 + z0 * c6) * f;
  const double py = (x0 * c5 + y0 * c3 + z0 * c7) * f;
  return {Round(static_cast<double>(Round(px)) + XCenterOffset),
          Round(static_cast<double>(Round(py)) + YCenterOffset)};
}

void TProjection3D::Calculate2DPosition(std::int32_t& x, std::int32_t& y, std::int32_t z) const {
  if (!Is3D || ZoomFactor == 0) return;
  const double i = 1.0 / ZoomFactor;
  if (IsOrthogonal) {
    const double nx = (static_cast<double>(x) - XCenterOffset) * i - z * OrthoX;
    const double ny = (static_cast<double>(y) - YCenterOffset) * i + z * OrthoY;
    x = Round(static_cast<double>(Round(nx)) + XCenter);
    y = Round(static_cast<double>(Round(ny)) + YCenter);
    return;
  }
  if (c4 == 0 || c3 == 0) return;
  const double z0 = static_cast<double>(z) - ZCenter;
  const double sx = x, sy = y;
  const double nx = ((sx - XCenterOffset) * i - z0 * c6 - (sy - YCenter) * c2) / c4;
  const double ny = ((sy - YCenterOffset) * i - z0 * c7 - (sx - XCenter) * c5) / c3;
  x = Round(static_cast<double>(Round(nx)) + XCenter);
  y = Round(static_cast<double>(Round(ny)) + YCenter);
}

}  // namespace chart

// The solids of the 3D surface: pyramids, the truncated pyramid, cones and
// cylinders, pie slices, and pictures drawn as cells at a depth. Written on
// the projection and the 2D polygon, so every surface draws them alike.
//
// Tested by: chart/tests/KivCanvasTest.cpp, chart/tests/KivCanvasQtTest.cpp
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "chart/canvas/KivCanvas.h"
#include "chart/canvas/KivGraphics.h"

namespace chart {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The turn test of three projected points: true for a negative cross product.
bool Turn(const TPoint& a, const TPoint& b, const TPoint& c) {
  const std::int64_t v = (static_cast<std::int64_t>(a.X) - b.X) * (static_cast<std::int64_t>(c.Y) - b.Y) -
                         (static_cast<std::int64_t>(c.X) - b.X) * (static_cast<std::int64_t>(a.Y) - b.Y);
  return v < 0;
}

// The facing value of the four-point buffer, as the box's faces use it.
double Facing(const TPoint (&q)[4]) {
  return static_cast<double>(q[3].X - q[2].X) * (q[1].Y - q[2].Y) -
         static_cast<double>(q[1].X - q[2].X) * (q[3].Y - q[2].Y);
}

// Halves of sums and differences of pixel coordinates, rounded down, in 64
// bits: a sum of two large coordinates does not overflow, and a negative
// difference halves to a small negative number instead of a huge one.
std::int32_t Half(std::int64_t v) { return static_cast<std::int32_t>(v >= 0 ? v / 2 : -((-v + 1) / 2)); }

}  // namespace

// --- pyramids -------------------------------------------------------------------

void TCanvas3D::Pyramid(bool vertical, std::int32_t left, std::int32_t top, std::int32_t right,
                        std::int32_t bottom, std::int32_t z0, std::int32_t z1, bool darkSides) {
  const TColor base = Brush().Style() == bsSolid ? Brush().Color() : GetBackColor();
  auto P = [this](std::int32_t x, std::int32_t y, std::int32_t z) { return Calculate3DPosition(x, y, z); };
  auto tri = [this](const TPoint& a, const TPoint& b, const TPoint& c) {
    const TPoint t[3] = {a, b, c};
    Polygon(t);
  };
  auto darken = [&](std::int32_t amount) {
    if (darkSides) SetDarkBrush(base, amount);
  };
  const std::int32_t midZ = static_cast<std::int32_t>((static_cast<std::int64_t>(z0) + z1) / 2);
  if (vertical) {
    const std::int32_t midX = static_cast<std::int32_t>((static_cast<std::int64_t>(left) + right) / 2);
    const TPoint apex = P(midX, top, midZ);
    const TPoint bl0 = P(left, bottom, z0), br0 = P(right, bottom, z0);
    const TPoint bl1 = P(left, bottom, z1), br1 = P(right, bottom, z1);
    const bool up = top < bottom;
    if (top != bottom) {
      tri(bl0, apex, br0);
      if (Turn(bl0, apex, bl1) != up) tri(bl0, apex, bl1);
      darken(KivSideDarkness);
      if (Turn(br0, apex, br1) != !up) tri(br0, apex, br1);
      if (up && Turn(apex, bl1, br1)) tri(apex, bl1, br1);
    }
    if (Turn(bl0, br0, bl1) != !up) {
      darken(KivTopDarkness);
      RectangleY(left, bottom, right, z0, z1);
    }
  } else {
    const std::int32_t midY = static_cast<std::int32_t>((static_cast<std::int64_t>(top) + bottom) / 2);
    const TPoint apex = P(right, midY, midZ);
    const TPoint tl0 = P(left, top, z0), bl0 = P(left, bottom, z0);
    const TPoint tl1 = P(left, top, z1), bl1 = P(left, bottom, z1);
    const bool outwards = left < right;
    if (left != right) {
      tri(tl0, apex, bl0);
      if (Turn(tl1, apex, bl1) != outwards) tri(tl1, apex, bl1);
      darken(KivTopDarkness);
      if (Turn(tl0, apex, tl1) != outwards) tri(tl0, apex, tl1);
      if (Turn(bl1, apex, bl0) != outwards) tri(bl1, apex, bl0);
    }
    if (Turn(tl0, bl0, tl1) != !outwards) {
      darken(KivSideDarkness);
      RectangleZ(left, top, bottom, z0, z1);
    }
  }
}

void TCanvas3D::PyramidTrunc(const TRect& r, std::int32_t z0, std::int32_t z1, std::int32_t w,
                             std::int32_t d) {
  const std::int32_t midX = static_cast<std::int32_t>((static_cast<std::int64_t>(r.Left) + r.Right) / 2);
  const std::int32_t midZ = static_cast<std::int32_t>((static_cast<std::int64_t>(z0) + z1) / 2);
  const bool baseFirst = r.Bottom > r.Top;
  auto baseFace = [&] { RectangleY(r.Left, r.Bottom, r.Right, z0, z1); };
  auto topFace = [&] {
    if (w != 0) RectangleY(midX - w, r.Top, midX + w, midZ - d, midZ + d);
  };
  const TPoint outline[4] = {{midX - w, r.Top}, {midX + w, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}};
  auto side = [&](std::int32_t topX, std::int32_t baseX) {
    FFourPoints[0] = Calculate3DPosition(topX, r.Top, midZ - d);
    FFourPoints[1] = Calculate3DPosition(topX, r.Top, midZ + d);
    FFourPoints[2] = Calculate3DPosition(baseX, r.Bottom, z1);
    FFourPoints[3] = Calculate3DPosition(baseX, r.Bottom, z0);
    return Facing(FFourPoints);
  };
  if (baseFirst)
    baseFace();
  else
    topFace();
  PlaneFour3D(outline, midZ + d, z1);  // back
  if (side(midX - w, r.Left) < 0) PolygonFour();
  PlaneFour3D(outline, midZ - d, z0);  // front
  if (side(midX + w, r.Right) > 0) PolygonFour();
  if (baseFirst)
    topFace();
  else
    baseFace();
}

// --- cones ----------------------------------------------------------------------

void TCanvas3D::Cone(bool vertical, std::int32_t left, std::int32_t top, std::int32_t right,
                     std::int32_t bottom, std::int32_t z0, std::int32_t z1, bool darkSides,
                     std::int32_t topPercent) {
  if (topPercent == 0) topPercent = KivConePercent;
  const TColor base = Brush().Style() == bsSolid ? Brush().Color() : GetBackColor();
  const std::int32_t cz = Half(static_cast<std::int64_t>(z0) + z1);
  const std::int32_t rz = Half(static_cast<std::int64_t>(z1) - z0);
  std::int32_t c = 0, r = 0, h = 0, level = 0;
  if (vertical) {
    c = Half(static_cast<std::int64_t>(left) + right);
    r = Half(static_cast<std::int64_t>(right) - left);
    h = static_cast<std::int32_t>(std::llabs(static_cast<std::int64_t>(bottom) - top));
    level = std::min(top, bottom);
  } else {
    c = Half(static_cast<std::int64_t>(top) + bottom);
    r = Half(static_cast<std::int64_t>(bottom) - top);
    h = static_cast<std::int32_t>(std::llabs(static_cast<std::int64_t>(right) - left));
    level = std::max(left, right);
  }
  const std::int32_t rTop = Round(r * topPercent * 0.01);
  const std::int32_t rzTop = Round(rz * topPercent * 0.01);
  // A point of a ring around the bar's axis at a level along it.
  auto ring = [&](double a, std::int32_t radius, std::int32_t depthRadius, std::int32_t along) {
    const std::int32_t across = c + Round(radius * std::sin(a));
    const std::int32_t z = cz - Round(depthRadius * std::cos(a));
    return vertical ? Calculate3DPosition(across, along, z) : Calculate3DPosition(along, across, z);
  };
  const std::int32_t baseLevel = vertical ? level + h : level - h;
  TPoint tops[16], bases[16];
  for (int k = 1; k <= 16; ++k) {
    const double a = (k - (vertical ? 4 : 5)) * kPi / 8;
    bases[k - 1] = ring(a, r, rz, baseLevel);
    tops[k - 1] = ring(a, rTop, rzTop, level);
  }
  auto face = [&](int k, int next) {
    if (Turn(tops[k], bases[k], bases[next])) return false;
    const TPoint quad[4] = {tops[k], bases[k], bases[next], tops[next]};
    Polygon(quad);
    return true;
  };
  for (int k = 1; k <= 15; ++k) {
    const TPoint quad[4] = {tops[k - 1], bases[k - 1], bases[k], tops[k]};
    if (Turn(quad[0], quad[1], quad[2])) continue;
    if (darkSides && k - 1 <= 8) SetDarkBrush(base, 16 * (k - 1));
    Polygon(quad);
  }
  // The face that closes the side between the last ring point and the first
  // faces the viewer as often on a cone as on a cylinder (the upper side of a
  // horizontal bar in the default view); left out, its neighbour shows as a
  // sliver detached from the body.
  face(15, 0);
  // The end cap. A horizontal bar seen from its left shows its left end (the
  // base ring), any other bar its top ring. The left end faces the viewer when
  // a face at x = 0 passes the box's left-face test. The turn of the points
  // (0, 0, 0), (0, 0, 10), (0, 10, 10) is no such test: it holds in the
  // default view, where depth runs up and right and the left end is hidden,
  // and would cap the hidden end while the right one stayed open.
  if (darkSides) SetDarkBrush(base, KivTopDarkness);
  bool leftEndShows = false;
  if (!vertical) {
    const TPoint q0 = Calculate3DPosition(0, 0, 0), q1 = Calculate3DPosition(0, 0, 10),
                 q3 = Calculate3DPosition(0, 10, 0);
    leftEndShows = static_cast<double>(q3.X - q0.X) * (q1.Y - q0.Y) -
                       static_cast<double>(q1.X - q0.X) * (q3.Y - q0.Y) > 0;
  }
  Polygon(leftEndShows ? bases : tops);
}

// --- pie slices -----------------------------------------------------------------

void TCanvas3D::Pie3D(std::int32_t xCenter, std::int32_t yCenter, std::int32_t xRadius, std::int32_t yRadius,
                      std::int32_t z0, std::int32_t z1, double startAngle, double endAngle, bool darkSides,
                      bool drawSides, std::int32_t holePercent) {
  if (!std::isfinite(startAngle) || !std::isfinite(endAngle)) return;
  const int n = std::min(Round(std::fabs(endAngle - startAngle) * 180.0 / kPi / 10.0), 30) + 2;
  const double step = (endAngle - startAngle) / (n - 1);
  auto onEllipse = [&](double a, double rx, double ry) {
    return TPoint{xCenter + Round(rx * std::cos(a)), yCenter - Round(ry * std::sin(a))};
  };
  const double hole = holePercent > 0 ? holePercent * 0.01 : 0.0;
  auto inner = [&](double a) {
    return hole > 0 ? onEllipse(a, xRadius * hole, yRadius * hole) : TPoint{xCenter, yCenter};
  };
  std::vector<TPoint> top;     // T1..Tn, then (with a hole) the inner points back to the start
  std::vector<TPoint> bottom;  // the outer samples at z0
  top.reserve(2 * n + 1);
  bottom.reserve(n);
  for (int i = 0; i < n; ++i) {
    const TPoint p = onEllipse(startAngle + i * step, xRadius, yRadius);
    top.push_back(Calculate3DPosition(p, z1));
    bottom.push_back(Calculate3DPosition(p, z0));
  }
  const TColor base = Brush().Style() == bsSolid ? Brush().Color() : GetBackColor();
  auto darken = [&] {
    if (darkSides) SetDarkBrush(base, KivPieDarkness);
  };
  if (hole > 0) {
    std::vector<TPoint> band;
    band.reserve(2 * n);
    for (int j = 0; j < n; ++j) {
      const TPoint p = Calculate3DPosition(inner(endAngle - j * step), z1);
      top.push_back(p);
      band.push_back(p);
    }
    for (int j = 0; j < n; ++j) band.push_back(Calculate3DPosition(inner(startAngle + j * step), z0));
    darken();
    Polygon(band);
  }
  if (drawSides) {
    const std::int32_t centre = FProjection.XCenterOffset;
    auto cut = [&](double a, const TPoint& atTop, const TPoint& atBottom) {
      FFourPoints[0] = Calculate3DPosition(inner(a), z1);
      FFourPoints[1] = atTop;
      FFourPoints[2] = atBottom;
      FFourPoints[3] = Calculate3DPosition(inner(a), z0);
      darken();
      PolygonFour();
    };
    if (top[n - 1].X < centre) cut(endAngle, top[n - 1], bottom[n - 1]);
    if (centre < top[0].X) cut(startAngle, top[0], bottom[0]);
  }
  // The top face in the colour the slice started with.
  if (Brush().Style() == bsSolid)
    Brush().SetColor(base);
  else
    SetBackColor(base);
  {
    std::vector<TPoint> face;
    face.reserve(top.size() + 1);
    face.push_back(Calculate3DPosition(hole > 0 ? inner(startAngle) : TPoint{xCenter, yCenter}, z1));
    face.insert(face.end(), top.begin(), top.end());
    Polygon(face);
  }
  // The outer band, in runs where the top outline moves right on the screen.
  auto run = [&](int r0, int r1) {  // 1-based sample numbers
    std::vector<TPoint> band;
    band.reserve(2 * (r1 - r0 + 1));
    for (int i = r0; i <= r1; ++i) band.push_back(top[i - 1]);
    for (int i = r1; i >= r0; --i) band.push_back(bottom[i - 1]);
    darken();
    Polygon(band);
  };
  auto T = [&](int i) { return top[i - 1].X; };
  int j = 0;
  for (int i = 2; i <= n && j == 0; ++i)
    if (T(i) > T(i - 1)) j = i;
  if (j == 0) return;
  int end = n;
  for (int k = j + 1; k <= n; ++k)
    if (T(k) < T(k - 1)) {
      end = k;
      break;
    }
  run(j - 1, end);
  if (end < n && T(n) > T(n - 1)) {
    int m = 0;
    for (int i = 2; i <= n - 1; ++i)
      if (T(i) <= T(i - 1)) m = i;
    if (m > 0) run(m, n);
  }
}

// --- pictures as cells ----------------------------------------------------------

void TCanvas3D::StretchImageInto(const TRect& rect, const TGraphic* graphic, std::int32_t z) {
  const auto* bitmap = dynamic_cast<const TBitmap*>(graphic);
  if (bitmap == nullptr || bitmap->Empty() || rect.Width() <= 0 || rect.Height() <= 0) return;
  const QImage image = bitmap->Image().convertToFormat(QImage::Format_RGB32);
  const double cellW = static_cast<double>(rect.Width()) / image.width();
  const double cellH = static_cast<double>(rect.Height()) / image.height();
  const TPenStyle penStyle = Pen().Style();
  const TBrushStyle brushStyle = Brush().Style();
  const TColor brushColor = Brush().Color();
  Pen().SetStyle(psClear);
  Brush().SetStyle(bsSolid);
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const std::int32_t top = rect.Top + Round(y * cellH), bottomEdge = rect.Top + Round((y + 1) * cellH);
    for (int x = 0; x < image.width(); ++x) {
      const std::int32_t leftEdge = rect.Left + Round(x * cellW), rightEdge = rect.Left + Round((x + 1) * cellW);
      if (leftEdge == rightEdge || top == bottomEdge) continue;  // a cell narrower than a pixel
      Brush().SetColor(FromQRgb(line[x]));
      RectangleWithZ({leftEdge, top, rightEdge, bottomEdge}, z);
    }
  }
  Brush().SetColor(brushColor);
  Brush().SetStyle(brushStyle);
  Pen().SetStyle(penStyle);
}

}  // namespace chart

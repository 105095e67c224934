// The shared routines of the engine: palette, date-time steps, text helpers,
// hit tests, sorting, component names and the panel's margin geometry.
//
// Tested by: chart/tests/KivProcsTest.cpp
#include <cmath>
#include <cstdlib>

#include "chart/core/KivProcsDateTime.h"
#include "chart/core/KivProcsRoutines.h"
#include "chart/core/KivProcsZoom.h"
#include "platform/classlib/TextUtils.h"

namespace chart {

// --- palette and steps -------------------------------------------------------

TColor GetDefaultColor(int index) {
  static const TColor palette[MaxDefaultColors] = {
      clRed,   clGreen, clYellow, clBlue,   clWhite, clGray,   clFuchsia,    clTeal,
      clNavy,  clMaroon, clLime,  clOlive,  clPurple, clSilver, clAqua,      clBlack,
      clMoneyGreen, clSkyBlue, clCream, clMedGray};
  const int i = index % MaxDefaultColors;
  return palette[i < 0 ? i + MaxDefaultColors : i];
}

namespace {
constexpr double OneSecond = 1.0 / 86400.0;
constexpr double OneMicroSecond = 1.0 / 86400000000.0;
}  // namespace

const double DateTimeStep[NumDateTimeSteps] = {
    OneMicroSecond, OneSecond / 1000.0, OneSecond, 5 * OneSecond, 10 * OneSecond,
    15 * OneSecond, 30 * OneSecond, 60 * OneSecond, 5 * 60 * OneSecond, 10 * 60 * OneSecond,
    15 * 60 * OneSecond, 30 * 60 * OneSecond, 1.0 / 24, 2.0 / 24, 6.0 / 24, 12.0 / 24,
    1, 2, 3, 7, 15, 30, 60, 90, 120, 182, 365};

int FindDateTimeStep(double stepInDays) {
  for (int i = NumDateTimeSteps - 1; i >= 0; --i)
    if (std::fabs(DateTimeStep[i] - stepInDays) < OneMicroSecond) return i;
  return dtNone;
}

double NextDateTimeStep(double stepInDays) {
  // A step finer than the table's finest is taken as that finest step, not
  // as "nothing matched" (which would jump to a whole year).
  if (stepInDays < DateTimeStep[0]) stepInDays = DateTimeStep[0];
  for (int i = NumDateTimeSteps - 2; i >= 0; --i)
    if (stepInDays >= DateTimeStep[i]) return DateTimeStep[i + 1];
  return DateTimeStep[NumDateTimeSteps - 1];
}

// --- text -------------------------------------------------------------------

std::string IntToText(std::int64_t value) { return std::to_string(value); }

std::string ReplaceCharInText(const std::string& text, char c, bool asBlank) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    if (ch != c)
      out += ch;
    else if (asBlank)
      out += ' ';
  }
  return out;
}

// --- geometry ---------------------------------------------------------------

bool PointInLineTolerance(const TPoint& p, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                          std::int32_t y1, std::int32_t tolerance) {
  // 64-bit products: pixel coordinates may reach the clamp of 2^26.
  const std::int64_t dx = static_cast<std::int64_t>(x1) - x0, dy = static_cast<std::int64_t>(y1) - y0;
  const std::int64_t cross = (static_cast<std::int64_t>(p.X) - x0) * dy - (static_cast<std::int64_t>(p.Y) - y0) * dx;
  const std::int64_t span = std::max(std::llabs(dx), std::llabs(dy));
  if (std::llabs(cross) > static_cast<std::int64_t>(tolerance) * span) return false;
  return p.X >= std::min(x0, x1) - tolerance && p.X <= std::max(x0, x1) + tolerance &&
         p.Y >= std::min(y0, y1) - tolerance && p.Y <= std::max(y0, y1) + tolerance;
}

bool PointInLine(const TPoint& p, const TPoint& a, const TPoint& b, std::int32_t tolerance) {
  return PointInLineTolerance(p, a.X, a.Y, b.X, b.Y, tolerance);
}

bool PointInPolygon(const TPoint& p, std::span<const TPoint> polygon) {
  bool inside = false;
  const std::size_t n = polygon.size();
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const TPoint& a = polygon[i];
    const TPoint& b = polygon[j];
    if (((a.Y <= p.Y && p.Y < b.Y) || (b.Y <= p.Y && p.Y < a.Y)) &&
        p.X < (static_cast<double>(b.X) - a.X) * (static_cast<double>(p.Y) - a.Y) /
                      (static_cast<double>(b.Y) - a.Y) + a.X)
      inside = !inside;
  }
  return inside;
}

bool PointInTriangle(const TPoint& p, std::int32_t x0, std::int32_t x1, std::int32_t y0,
                     std::int32_t y1) {
  const TPoint tri[3] = {{x0, y1}, {(x0 + x1) / 2, y0}, {x1, y1}};
  return PointInPolygon(p, tri);
}

bool PointInHorizTriangle(const TPoint& p, std::int32_t y0, std::int32_t y1, std::int32_t x0,
                          std::int32_t x1) {
  const TPoint tri[3] = {{x1, y0}, {x0, (y0 + y1) / 2}, {x1, y1}};
  return PointInPolygon(p, tri);
}

bool PointInEllipse(const TPoint& p, std::int32_t left, std::int32_t top, std::int32_t right,
                    std::int32_t bottom) {
  const double rx = (static_cast<double>(right) - left) / 2.0;
  const double ry = (static_cast<double>(bottom) - top) / 2.0;
  if (rx == 0 || ry == 0) return false;
  const double dx = (p.X - (left + rx)) / rx, dy = (p.Y - (top + ry)) / ry;
  return dx * dx + dy * dy <= 1.0;
}

TPoint RectCenter(const TRect& r) {
  return {static_cast<std::int32_t>((static_cast<std::int64_t>(r.Left) + r.Right) / 2),
          static_cast<std::int32_t>((static_cast<std::int64_t>(r.Top) + r.Bottom) / 2)};
}

TRect OrderRect(const TRect& r) {
  TRect o = r;
  if (o.Left > o.Right) std::swap(o.Left, o.Right);
  if (o.Top > o.Bottom) std::swap(o.Top, o.Bottom);
  return o;
}

bool CrossProductSign(const TPoint& p0, const TPoint& p1, const TPoint& p2) {
  const std::int64_t c = (static_cast<std::int64_t>(p1.X) - p0.X) * (static_cast<std::int64_t>(p2.Y) - p0.Y) -
                         (static_cast<std::int64_t>(p2.X) - p0.X) * (static_cast<std::int64_t>(p1.Y) - p0.Y);
  return c < 0;
}

double DistanceOf(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

TPoint PointAtDistance(const TPoint& start, const TPoint& end, double distance) {
  if (end.X == start.X) {
    // A vertical line: straight up or down towards the start.
    const double dir = end.Y > start.Y ? -1.0 : 1.0;
    return {end.X, Round(end.Y + dir * distance)};
  }
  const double dx = static_cast<double>(end.X) - start.X, dy = static_cast<double>(end.Y) - start.Y;
  const double length = DistanceOf(dx, dy);
  return {Round(end.X - dx / length * distance), Round(end.Y - dy / length * distance)};
}

// --- lists and components ---------------------------------------------------

void SortIndexes(int low, int high, const std::function<int(int, int)>& compare,
                 const std::function<void(int, int)>& swap) {
  while (low < high) {
    int i = low, j = high;
    int pivot = (low + high) / 2;
    while (i <= j) {
      while (compare(i, pivot) < 0) ++i;
      while (compare(pivot, j) < 0) --j;
      if (i <= j) {
        if (i != j) {
          swap(i, j);
          // The pivot moves with the swap.
          if (pivot == i)
            pivot = j;
          else if (pivot == j)
            pivot = i;
        }
        ++i;
        --j;
      }
    }
    // Recurse into the smaller part, loop over the larger: the depth stays logarithmic.
    if (j - low < high - i) {
      SortIndexes(low, j, compare, swap);
      low = i;
    } else {
      SortIndexes(i, high, compare, swap);
      high = j;
    }
  }
}

std::string UniqueComponentName(const classlib::TComponent* owner, const std::string& base) {
  for (int n = 1;; ++n) {
    std::string name = base + std::to_string(n);
    if (owner == nullptr || owner->FindComponent(name) == nullptr) return name;
  }
}

// --- panel geometry ---------------------------------------------------------

std::int32_t MarginToPixels(std::int32_t margin, TKivUnits units, std::int32_t size) {
  if (units == muPixels) return margin;
  return static_cast<std::int32_t>(static_cast<std::int64_t>(margin) * size / 100);
}

TChartRectResult CalcChartRect(const TRect& bounds, std::int32_t inset, const std::int32_t (&margins)[4],
                               TKivUnits units, std::int32_t panelWidth, std::int32_t panelHeight) {
  const std::int32_t w = bounds.Width(), h = bounds.Height();
  TChartRectResult out;
  TRect& r = out.ChartRect;
  r.Left = bounds.Left + inset + MarginToPixels(margins[0], units, w);
  r.Top = bounds.Top + inset + MarginToPixels(margins[1], units, h);
  r.Right = bounds.Right - inset - MarginToPixels(margins[2], units, w);
  r.Bottom = bounds.Bottom - inset - MarginToPixels(margins[3], units, h);
  r.Left = std::max(r.Left, bounds.Left);
  r.Top = std::max(r.Top, bounds.Top);
  if (r.Left > r.Right)
    r.Right = r.Left + 1;
  else if (r.Left == r.Right)
    r.Right = r.Left + panelWidth;
  if (r.Top > r.Bottom)
    r.Bottom = r.Top + 1;
  else if (r.Top == r.Bottom)
    r.Bottom = r.Top + panelHeight;
  out.ChartWidth = r.Width();
  out.ChartHeight = r.Height();
  const TPoint c = RectCenter(r);
  out.ChartXCenter = c.X;
  out.ChartYCenter = c.Y;
  return out;
}

// --- zoom settings ----------------------------------------------------------

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TZoomPanning::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TZoomPanning>("TZoomPanning", classlib::TPersistent::StaticClassInfo()).Build();
  return info;
}

const TClassInfo& TKivZoomPen::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TKivZoomPen>("TKivZoomPen", TChartPen::StaticClassInfo()).Creatable().Build();
  return info;
}

const TClassInfo& TKivZoomBrush::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TKivZoomBrush>("TKivZoomBrush", TChartBrush::StaticClassInfo()).Creatable().Build();
  return info;
}

const TClassInfo& TKivZoom::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TKivZoom>("TKivZoom", TZoomPanning::StaticClassInfo())
          .Property("Allow", &TKivZoom::Allow, &TKivZoom::SetAllow, true)
          .Property("Animated", &TKivZoom::Animated, &TKivZoom::SetAnimated, false)
          .Property("AnimatedSteps", &TKivZoom::AnimatedSteps, &TKivZoom::SetAnimatedSteps, 8)
          .SubObject("Brush", &TKivZoom::Brush)
          .TypeName("TKivZoomBrush")
          .Stored([](const TKivZoom& z) { return z.HasBrush(); })
          .Property("Direction", &TKivZoom::Direction, &TKivZoom::SetDirection, tzdBoth)
          .TypeName("TKivZoomDirection")
          .Names({"tzdHorizontal", "tzdVertical", "tzdBoth"})
          .Property("KeyShift", &TKivZoom::KeyShift, &TKivZoom::SetKeyShift, 0)
          .TypeName("TShiftState")
          .AsSet({"ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble"})
          .Property("MinimumPixels", &TKivZoom::MinimumPixels, &TKivZoom::SetMinimumPixels, 16)
          .Property("MouseButton", &TKivZoom::MouseButton, &TKivZoom::SetMouseButton, mbLeft)
          .TypeName("TMouseButton")
          .Names({"mbLeft", "mbRight", "mbMiddle"})
          .SubObject("Pen", &TKivZoom::Pen)
          .TypeName("TKivZoomPen")
          .Creatable()
          .Build();
  return info;
}

TKivZoom::TKivZoom() = default;
TKivZoom::~TKivZoom() = default;

TKivZoomBrush* TKivZoom::Brush() const {
  if (!FBrush) FBrush = std::make_unique<TKivZoomBrush>();
  return FBrush.get();
}

void TKivZoom::SetBrush(TKivZoomBrush* v) {
  if (v == nullptr)
    FBrush.reset();
  else
    Brush()->Assign(*v);
}

TKivZoomPen* TKivZoom::Pen() const {
  if (!FPen) FPen = std::make_unique<TKivZoomPen>();
  return FPen.get();
}

void TKivZoom::SetPen(TKivZoomPen* v) {
  if (v == nullptr)
    FPen.reset();
  else
    Pen()->Assign(*v);
}

void TKivZoom::Assign(const classlib::TPersistent& source) {
  if (auto* z = dynamic_cast<const TKivZoom*>(&source)) {
    FAllow = z->FAllow;
    FAnimated = z->FAnimated;
    FAnimatedSteps = z->FAnimatedSteps;
    SetBrush(z->FBrush.get());
    FDirection = z->FDirection;
    FKeyShift = z->FKeyShift;
    FMinimumPixels = z->FMinimumPixels;
    SetPen(z->FPen.get());
    return;
  }
  TZoomPanning::Assign(source);
}

}  // namespace chart

// The shared routines of the engine: palette, text helpers,
// hit tests, sorting, component names and the panel's margin geometry.
//
// Tested by: chart/tests/KivProcsTest.cpp
#include <cmath>
#include <cstdlib>
#include <utility>

#include "chart/core/KivProcsRoutines.h"
#include "platform/classlib/TextUtils.h"

namespace chart {

// --- palette -------------------------------------------------------

TColor GetDefaultColor(int index) {
  static const TColor palette[MaxDefaultColors] = {
      clRed,   clGreen, clYellow, clBlue,   clWhite, clGray,   clFuchsia,    clTeal,
      clNavy,  clMaroon, clLime,  clOlive,  clPurple, clSilver, clAqua,      clBlack,
      clMoneyGreen, clSkyBlue, clCream, clMedGray};
  const int i = index % MaxDefaultColors;
  return palette[i < 0 ? i + MaxDefaultColors : i];
}

// --- text -------------------------------------------------------------------

std::string IntToText(std::int64_t value) { return std::to_string(value); }

double TextToFloatDef(const std::string& text, double defaultValue) {
  return classlib::StrToFloatDef(text, defaultValue);
}

std::string ToLocaleSeparators(const std::string& text) {
  return ToLocaleSeparators(text, *classlib::CurrentFormatSettings());
}

std::string ToLocaleSeparators(const std::string& text, const classlib::TFormatSettings& settings) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == ',') {
      if (settings.ThousandSeparator != '\0') out += settings.ThousandSeparator;
    } else if (c == '.') {
      out += settings.DecimalSeparator;
    } else {
      out += c;
    }
  }
  return out;
}

std::string FromLocaleSeparators(const std::string& text) {
  return FromLocaleSeparators(text, *classlib::CurrentFormatSettings());
}

std::string FromLocaleSeparators(const std::string& text, const classlib::TFormatSettings& settings) {
  std::string out = text;
  for (char& c : out) {
    if (c == settings.DecimalSeparator)
      c = '.';
    else if (settings.ThousandSeparator != '\0' && c == settings.ThousandSeparator)
      c = ',';
  }
  return out;
}

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

std::vector<std::string> SplitTokens(const std::string& text) {
  std::vector<std::string> tokens;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t cr = text.find('\r', start);
    if (cr == std::string::npos) {
      tokens.push_back(text.substr(start));
      break;
    }
    std::string token = text.substr(start, cr - start);
    if (!token.empty() && token.back() == '\n') token.pop_back();
    tokens.push_back(std::move(token));
    start = cr + 1;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  return tokens;
}

int KivNumTokens(const std::string& text) { return static_cast<int>(SplitTokens(text).size()); }

std::string KivExtractToken(const std::string& text, int index) {
  const std::vector<std::string> tokens = SplitTokens(text);
  if (index < 0 || index >= static_cast<int>(tokens.size())) return "";
  return tokens[static_cast<std::size_t>(index)];
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

}  // namespace chart

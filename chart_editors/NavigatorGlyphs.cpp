// The navigator's button pictures, drawn in code.
//
// Tested by: chart_editors/tests/NavigatorTest.cpp
#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <string>

#include "chart_editors/NavigatorGlyphs.h"
#include "platform/classlib/TextUtils.h"

namespace chart_editors {

namespace {

constexpr int m = NavigatorGlyphMiddle;

using TInk = std::function<bool(int x, int y)>;

// A triangle of nine rows around the middle row with its tip at column tip,
// widening by a column a row towards column base.
TInk Triangle(int tip, int base) {
  return [tip, base](int x, int y) {
    const int d = std::abs(y - m);
    if (d > 4) return false;
    return base > tip ? x >= tip + d && x <= base : x <= tip - d && x >= base;
  };
}

TInk Bar(int left, int right) {
  return [left, right](int x, int y) { return x >= left && x <= right && std::abs(y - m) <= 4; };
}

TInk Either(TInk a, TInk b) {
  return [a = std::move(a), b = std::move(b)](int x, int y) { return a(x, y) || b(x, y); };
}

// A line two pixels wide from (x0, y0) to (x1, y1), straight or at 45 degrees.
TInk Stroke(int x0, int y0, int x1, int y1) {
  return [=](int x, int y) {
    const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int i = 0; i <= steps; ++i) {
      const int px = x0 + (x1 - x0) * i / steps, py = y0 + (y1 - y0) * i / steps;
      if ((x == px || x == px + 1) && y == py) return true;
    }
    return false;
  };
}

TInk Minus() {
  return [](int x, int y) { return std::abs(y - m) <= 1 && std::abs(x - m) <= 4; };
}

struct TGlyphShape {
  const char* Name;
  TInk Ink;
};

// In button order: first, prior, next, last, insert, delete, edit, post, cancel.
const std::array<TGlyphShape, 9>& Shapes() {
  static const std::array<TGlyphShape, 9> shapes{{
      {"FIRST", Either(Bar(1, 2), Triangle(4, 8))},
      {"PRIOR", Triangle(3, 7)},
      {"NEXT", Triangle(7, 3)},
      {"LAST", Either(Triangle(6, 2), Bar(8, 9))},
      {"INSERT", Either(Minus(), [](int x, int y) { return std::abs(x - m) <= 1 && std::abs(y - m) <= 4; })},
      {"DELETE", Minus()},
      {"EDIT", [](int x, int y) { return y >= 3 && y <= 7 && std::abs(x - m) <= y - 3; }},
      {"POST", Either(Stroke(1, 5, 4, 8), Stroke(4, 8, 8, 4))},
      {"CANCEL", Either(Stroke(1, 1, 8, 8), Stroke(8, 1, 1, 8))},
  }};
  return shapes;
}

}  // namespace

std::optional<QImage> NavigatorGlyph(std::string_view name) {
  const std::string upper = classlib::UpperCase(name);
  const std::string_view prefix = "KIVNAV_";
  if (!upper.starts_with(prefix)) return std::nullopt;
  for (const TGlyphShape& shape : Shapes()) {
    if (upper.substr(prefix.size()) != shape.Name) continue;
    constexpr int s = NavigatorGlyphSize;
    QImage image(2 * s, s, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < s; ++y)
      for (int x = 0; x < s; ++x) {
        if (shape.Ink(x, y)) image.setPixel(x, y, NavigatorGlyphInk);
        // The disabled picture: the shape in grey, over its white shadow one pixel down and right.
        if (shape.Ink(x, y))
          image.setPixel(s + x, y, NavigatorGlyphGrey);
        else if (x > 0 && y > 0 && shape.Ink(x - 1, y - 1))
          image.setPixel(s + x, y, NavigatorGlyphShadow);
      }
    return image;
  }
  return std::nullopt;
}

}  // namespace chart_editors

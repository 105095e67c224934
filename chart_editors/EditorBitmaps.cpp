// The editors' pictures, drawn in code.
//
// Tested by: chart_editors/tests/EditorRoutinesTest.cpp
#include "chart_editors/EditorBitmaps.h"
#include "chart_editors/NavigatorGlyphs.h"

#include <QPainter>
#include <QPolygon>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "platform/classlib/Exception.h"
#include "platform/classlib/TextUtils.h"

namespace chart_editors {

namespace {

// Ordered dithering: the fill patterns ink the pixels whose rank is below
// the share they fill, so every share spreads its dots evenly. The rank of
// the bottom-left pixel is the highest, so it stays white in every pattern
// (a pattern's see-through colour is read there).
constexpr std::array<std::array<int, 8>, 8> Rank{{
    {0, 32, 8, 40, 2, 34, 10, 42},
    {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},
    {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},
    {63, 31, 55, 23, 61, 29, 53, 21},
}};

using TInk = std::function<bool(int x, int y)>;

TInk Fill(int pixels) {
  return [pixels](int x, int y) { return Rank[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] < pixels; };
}

// The twelve patterns in the order of the brush editor's list, from
// "Fill 80%" to "Diag. Cross small". Every line pattern leaves the
// bottom-left pixel white as well.
const std::array<TInk, 12>& BrushPatterns() {
  static const std::array<TInk, 12> patterns{{
      Fill(51),  // 80 %
      Fill(38),  // 60 %
      Fill(26),  // 40 %
      Fill(13),  // 20 %
      Fill(6),   // 10 %
      [](int x, int y) {  // a zig zag down and up across the cell
        constexpr std::array<int, 8> zig{0, 1, 2, 3, 4, 3, 2, 1};
        return y == zig[static_cast<std::size_t>(x)];
      },
      [](int x, int) { return x % 4 == 1; },                            // vertical small
      [](int, int y) { return y % 4 == 0; },                            // horizontal small
      [](int x, int y) { return (x - y + 8) % 4 == 0; },                // diagonal small, falling
      [](int x, int y) { return (x + y) % 4 == 1; },                    // back diagonal small, rising
      [](int x, int y) { return y % 4 == 0 || x % 4 == 1; },            // cross small
      [](int x, int y) { return (x - y + 8) % 4 == 0 || (x + y) % 4 == 2; },  // diagonal cross small
  }};
  return patterns;
}

QImage Pattern(const TInk& ink) {
  QImage image(8, 8, QImage::Format_Mono);
  image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) image.setPixel(x, y, ink(x, y) ? 1 : 0);
  return image;
}

// A black arrow pointing up on a see-through 16 x 16 cell.
QImage ArrowUp() {
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawPolygon(QPolygon({QPoint(8, 2), QPoint(14, 8), QPoint(2, 8)}));
  p.drawRect(6, 8, 4, 6);
  return image;
}

}  // namespace

QImage LoadEditorBitmap(std::string_view name) {
  const std::string upper = classlib::UpperCase(name);
  if (upper == "KIVARROWUP") return ArrowUp();
  if (upper == "KIVARROWDOWN") return ArrowUp().mirrored(false, true);
  if (std::optional<QImage> glyph = NavigatorGlyph(name)) return *glyph;
  const std::string_view brush = "KIVBRUSH";
  if (upper.starts_with(brush)) {
    const std::string number = upper.substr(brush.size());
    for (std::size_t i = 0; i < BrushPatterns().size(); ++i)
      if (number == std::to_string(i + 1)) return Pattern(BrushPatterns()[i]);
  }
  throw classlib::Exception("Resource " + std::string(name) + " not found");
}

}  // namespace chart_editors

// Colours as the windows' libraries store them: 0x00BBGGRR (red in the low
// byte), with two markers that are not colours. The conversions to and from
// Qt's colours for the windows that paint them.
//
// Tested by: platform/ui/tests/UiBasicsTest.cpp
#pragma once

#include <cstdint>

#include <QColor>
#include <QRgb>

namespace ui {

using TColor = std::uint32_t;

// "No colour": nothing is painted in it.
constexpr TColor clNone = 0x1FFFFFFF;
// The automatic marker: its owner puts a colour of its own in its place.
constexpr TColor clDefault = 0x20000000;

constexpr TColor RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}
constexpr std::uint8_t GetRValue(TColor c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GetGValue(TColor c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t GetBValue(TColor c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

// The opaque Qt colour of a plain colour; clNone gives a transparent colour
// and clDefault the given default. The high byte of other values is ignored.
QColor ColorToQColor(TColor color, const QColor& defaultColor = QColor(Qt::black));
// The colour of a Qt colour (its alpha is ignored; a fully transparent colour
// is clNone).
TColor QColorToColor(const QColor& color);
// A pixel of a 32-bit image and back; alpha is set opaque and ignored.
QRgb ColorToQRgb(TColor color);
TColor QRgbToColor(QRgb rgb);

}  // namespace ui

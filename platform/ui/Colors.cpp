// Conversions between stored colours and Qt's.
//
// Tested by: platform/ui/tests/UiBasicsTest.cpp
#include "platform/ui/Colors.h"

namespace ui {

QColor ColorToQColor(TColor color, const QColor& defaultColor) {
  if (color == clNone) return QColor(Qt::transparent);
  if (color == clDefault) return defaultColor;
  return QColor(GetRValue(color), GetGValue(color), GetBValue(color));
}

TColor QColorToColor(const QColor& color) {
  if (!color.isValid() || color.alpha() == 0) return clNone;
  const QColor rgb = color.toRgb();
  return RGB(static_cast<std::uint8_t>(rgb.red()), static_cast<std::uint8_t>(rgb.green()),
             static_cast<std::uint8_t>(rgb.blue()));
}

QRgb ColorToQRgb(TColor color) { return qRgb(GetRValue(color), GetGValue(color), GetBValue(color)); }

TColor QRgbToColor(QRgb rgb) {
  return RGB(static_cast<std::uint8_t>(qRed(rgb)), static_cast<std::uint8_t>(qGreen(rgb)),
             static_cast<std::uint8_t>(qBlue(rgb)));
}

}  // namespace ui

// Colour resolution, darkening and the engine's rounding rules.
//
// Tested by: chart/tests/KivTypesTest.cpp
#include "chart/core/KivTypes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace chart {

const TColor* DefaultSystemColors() {
  // The classic theme: grey faces, white windows, navy selection, pale yellow hints.
  static const TColor colors[SystemColorCount] = {
      0xC8C8C8, 0x000000, 0x6A240A, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000,
      0x000000, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x6A240A, 0xFFFFFF, 0xC0C0C0,
      0x808080, 0x808080, 0x000000, 0xC0C0C0, 0xFFFFFF, 0x404040, 0xC0C0C0, 0x000000,
      0xE1FFFF};
  return colors;
}

TColor ColorToRGB(TColor c, const TColor* systemColors) {
  if (!IsSystemColor(c)) return c;
  const int index = SystemColorIndex(c);
  if (index >= SystemColorCount) return clBlack;
  return (systemColors != nullptr ? systemColors : DefaultSystemColors())[index] & 0xFFFFFF;
}

TColor ApplyDark(TColor c, int amount) {
  c = ColorToRGB(c, nullptr);
  auto channel = [amount](int v) { return std::max(0, v - amount); };
  return RGB(channel(GetRValue(c)), channel(GetGValue(c)), channel(GetBValue(c)));
}

TColor ApplyBright(TColor c, int amount) {
  c = ColorToRGB(c, nullptr);
  auto channel = [amount](int v) { return std::min(255, v + amount); };
  return RGB(channel(GetRValue(c)), channel(GetGValue(c)), channel(GetBValue(c)));
}

namespace {

std::int32_t Clamp32(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

}  // namespace

std::int32_t Round(double v) { return Clamp32(std::nearbyint(v)); }

std::int32_t Trunc(double v) { return Clamp32(std::trunc(v)); }

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return -1;
  const std::int64_t p = static_cast<std::int64_t>(a) * b;
  const std::int64_t half = (c < 0 ? -static_cast<std::int64_t>(c) : c) / 2;
  std::int64_t q = ((p < 0) != (c < 0)) ? (p - ((p < 0) ? half : -half)) / c
                                        : (p + ((p < 0) ? -half : half)) / c;
  return Clamp32(static_cast<double>(q));
}

}  // namespace chart

// Checked conversions of doubles to 32-bit integers.
//
// Tested by: platform/ui/tests/UiBasicsTest.cpp
#include "platform/ui/Rounding.h"

#include <cmath>

namespace ui {

namespace {

// An integral double to int32, or the indefinite value when it does not fit.
std::int32_t Checked(double integral) {
  // NaN fails both comparisons.
  if (integral >= -2147483648.0 && integral <= 2147483647.0) return static_cast<std::int32_t>(integral);
  return IntegerIndefinite;
}

}  // namespace

std::int32_t Round(double value) { return Checked(std::nearbyint(value)); }

std::int32_t Trunc(double value) { return Checked(std::trunc(value)); }

}  // namespace ui

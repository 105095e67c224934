// Rounding of the windows' numbers to integers. A conversion from double to
// int of a value outside the int range (or of NaN) is undefined in C++; these
// give the integer-indefinite value -2147483648 there instead, as the
// processor's own conversion does.
//
// Tested by: platform/ui/tests/UiBasicsTest.cpp
#pragma once

#include <cstdint>

namespace ui {

constexpr std::int32_t IntegerIndefinite = INT32_MIN;

// To the nearest integer, halves to the even one (2.5 -> 2, 3.5 -> 4).
std::int32_t Round(double value);
// Toward zero.
std::int32_t Trunc(double value);

}  // namespace ui

// The decimal form of a double that every float format of SysUtils starts
// from (internal to the class library). Tested through SysUtilsFloatTest.cpp.
#pragma once

#include <string>

namespace classlib::detail {

// value = 0.Digits x 10^Exponent. Digits has no trailing zeros and is empty for
// zero (Exponent 0 then). Special values carry no digits.
struct TFloatRec {
  enum TSpecial : unsigned char { fsNone, fsInf, fsNaN };
  TSpecial Special = fsNone;
  bool Negative = false;
  int Exponent = 0;
  std::string Digits;

  bool IsZero() const { return Special == fsNone && Digits.empty(); }
};

// The decimal value of a double: its shortest round-trip digits, rounded
// halves away from zero to at most precision significant digits (1..18).
TFloatRec FloatToDecimal(double value, int precision);

// Rounds rec halves away from zero so that no digit remains past `decimals`
// places after the point (decimals may be negative). A value that rounds to
// zero loses its sign.
void RoundToDecimals(TFloatRec& rec, int decimals);

// Rounds rec halves away from zero to at most count significant digits.
void RoundToDigits(TFloatRec& rec, int count);

}  // namespace classlib::detail

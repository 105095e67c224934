// Real scalar mathematics, integer conversions, range and special-value tests
// of MathCore. Tested by: numeric/tests/MathCoreTest.cpp, MathCoreOracleTest.cpp.
#include "numeric/MathCore.h"

#include <bit>
#include <cfenv>
#include <cmath>

#include "platform/classlib/Exception.h"

namespace numeric {

namespace {

using Extended = long double;

constexpr Extended kTwoPiL = 6.283185307179586476925286766559005768L;
constexpr std::uint64_t kExponentMask = 0x7FF0000000000000ULL;
constexpr std::uint64_t kMantissaMask = 0x000FFFFFFFFFFFFFULL;

// A double already rounded to an integral value, as a 32-bit integer; outside
// that range (and NaN) the x87 "integer indefinite" -2147483648.
std::int32_t IntegralToInt32(double X) {
  if (X >= -2147483648.0 && X <= 2147483647.0) return static_cast<std::int32_t>(X);
  return std::numeric_limits<std::int32_t>::min();
}

}  // namespace

void InitMathCore() { ClearFpuExceptions(); }

// errors and the floating-point environment

void RaiseError(const std::string& Msg) { throw classlib::Exception(Msg); }

std::uint16_t Get8087CW() { return FPU_CW; }

void ClearFpuExceptions() { std::feclearexcept(FE_ALL_EXCEPT); }

std::uint16_t FpuSaveTruncMode() { return FPU_CW; }

void FpuRestoreMode(std::uint16_t) {}

// real functions

double Sin(double X) { return static_cast<double>(std::sin(static_cast<Extended>(X))); }
double Cos(double X) { return static_cast<double>(std::cos(static_cast<Extended>(X))); }
double Tan(double X) { return static_cast<double>(std::tan(static_cast<Extended>(X))); }
double Cot(double X) { return static_cast<double>(1.0L / std::tan(static_cast<Extended>(X))); }

void SinCos(double X, double& S, double& C) {
  const Extended x = X;
  S = static_cast<double>(std::sin(x));
  C = static_cast<double>(std::cos(x));
}

double ArcSin(double X) { return static_cast<double>(std::asin(static_cast<Extended>(X))); }
double ArcTan(double X) { return static_cast<double>(std::atan(static_cast<Extended>(X))); }

double ArcTan2(double Y, double X) {
  return static_cast<double>(std::atan2(static_cast<Extended>(Y), static_cast<Extended>(X)));
}

double Ln(double X) { return static_cast<double>(std::log(static_cast<Extended>(X))); }
double Log10(double X) { return static_cast<double>(std::log10(static_cast<Extended>(X))); }

double LogN(double Base, double X) {
  return static_cast<double>(std::log(static_cast<Extended>(X)) / std::log(static_cast<Extended>(Base)));
}

double Exp(double X) { return static_cast<double>(std::exp(static_cast<Extended>(X))); }
double Exp2(double X) { return static_cast<double>(std::exp2(static_cast<Extended>(X))); }
double Exp10(double X) { return static_cast<double>(std::pow(10.0L, static_cast<Extended>(X))); }

double IntPower(double X, std::int32_t N) {
  // abs(N) as unsigned, so that N = -2147483648 does not overflow.
  std::uint32_t n = N < 0 ? 0u - static_cast<std::uint32_t>(N) : static_cast<std::uint32_t>(N);
  Extended base = X;
  Extended result = 1.0L;
  while (n != 0) {
    if (n & 1u) result *= base;
    n >>= 1;
    if (n != 0) base *= base;
  }
  if (N < 0) result = 1.0L / result;
  return static_cast<double>(result);
}

double Power(double Base, double Exponent) {
  if (Exponent == 0.0) return 1.0;
  // powl is exp(Exponent * ln Base) in extended precision, and for a negative
  // base with an integral exponent it gives the real power (-2)^2 = 4 where
  // the logarithm would give NaN; a negative base with a fractional exponent
  // stays NaN.
  if (IsNan(Exponent)) return Exponent;
  return static_cast<double>(std::pow(static_cast<Extended>(Base), static_cast<Extended>(Exponent)));
}

// The library forms are the same quantities as (e - 1/e)/2 and friends, but
// stay exact near zero and do not turn into inf/inf for large arguments.
double Sinh(double X) { return static_cast<double>(std::sinh(static_cast<Extended>(X))); }
double Cosh(double X) { return static_cast<double>(std::cosh(static_cast<Extended>(X))); }
double Tanh(double X) { return static_cast<double>(std::tanh(static_cast<Extended>(X))); }

double Sech(double X) { return static_cast<double>(1.0L / std::cosh(static_cast<Extended>(X))); }

double ArcSinh(double X) { return static_cast<double>(std::asinh(static_cast<Extended>(X))); }
double ArcCosh(double X) { return static_cast<double>(std::acosh(static_cast<Extended>(X))); }

// Truncation in floating point rather than through a 32-bit integer, so that
// angles and quotients beyond +-2^31 periods are reduced correctly too.
double FixAngle(double X) {
  const Extended x = X;
  return static_cast<double>(x - kTwoPiL * std::trunc(x / kTwoPiL));
}

double DegToRad(double X) { return X * DEG2RAD; }
double RadToDeg(double X) { return X * RAD2DEG; }

double FRem(double X, double Y) {
  const Extended x = X;
  const Extended y = Y;
  return static_cast<double>(x - y * std::trunc(x / y));
}

double Frac(double X) { return X - std::trunc(X); }

double CopySign(double A, double B) {
  const double a = std::fabs(A);
  return B < 0.0 ? -a : a;
}

// log |Gamma(X)| in extended precision. The poles (0 and the negative
// integers) give -INF where C's lgamma gives +INF: the sign keeps a pole apart
// from the overflow beyond MaxLnGammaArg, which gives INF.
double LnGamma(double X) {
  if (X == 0.0) return -INF;
  if (X < 0.0 && Frac(X) == 0.0) return -INF;
  if (X > MaxLnGammaArg) return INF;
  int sign = 0;
  return static_cast<double>(lgammal_r(static_cast<Extended>(X), &sign));
}

// integer conversions and integer routines

std::int32_t Trunc(double X) {
  // NaN fails both comparisons and lands on the indefinite value.
  if (X > -2147483649.0 && X < 2147483648.0) return static_cast<std::int32_t>(X);
  return std::numeric_limits<std::int32_t>::min();
}

std::int32_t Ceil(double X) { return IntegralToInt32(std::ceil(X)); }

std::int32_t Floor(double X) { return IntegralToInt32(std::floor(X)); }

std::int32_t TruncToMultiple(double X, std::int32_t Step) {
  if (Step == 0) RaiseError("TruncToMultiple: Step = 0");
  // In 64 bits: -2147483648 div -1 would trap in 32.
  const std::int64_t t = Trunc(X);
  return static_cast<std::int32_t>(t / Step * Step);
}

std::int32_t TruncToMultiple(std::int32_t A, std::int32_t B) {
  if (B == 0) RaiseError("TruncToMultiple: B = 0");
  const std::int64_t a = A;
  return static_cast<std::int32_t>(a / B * B);
}

std::int32_t LargestExp2(std::int32_t N) {
  if (N < 3) return 2;
  if (N > (1 << 30)) RaiseError("LargestExp2: N > 1073741824");
  return static_cast<std::int32_t>(std::bit_ceil(static_cast<std::uint32_t>(N)));
}

std::int32_t IntLog2(std::int32_t N) {
  if (N < 2) return 0;
  return static_cast<std::int32_t>(std::bit_width(static_cast<std::uint32_t>(N))) - 1;
}

double Min(double A, double B) { return A > B ? B : A; }

// B also when the comparison is unordered (A or B NaN).
double Max(double A, double B) { return A >= B ? A : B; }

std::int32_t Min(std::int32_t A, std::int32_t B) { return A > B ? B : A; }
std::int32_t Max(std::int32_t A, std::int32_t B) { return A < B ? B : A; }

void Swap(double& A, double& B) { std::swap(A, B); }
void Swap(std::int32_t& A, std::int32_t& B) { std::swap(A, B); }
void Swap(TCplx& A, TCplx& B) { std::swap(A, B); }

// range tests

bool CheckRange(std::int32_t Low, std::int32_t Value, std::int32_t High) {
  return Low <= Value && Value <= High;
}

bool InRange(double Low, double Value, double High) { return Low <= Value && Value <= High; }

double EnsureRange(double Low, double Value, double High) {
  if (Value < Low) return Low;
  if (Value > High) return High;
  return Value;
}

std::int32_t EnsureRange(std::int32_t Low, std::int32_t Value, std::int32_t High) {
  if (Value < Low) return Low;
  if (Value > High) return High;
  return Value;
}

void LimitRange(double Low, double& Value, double High) { Value = EnsureRange(Low, Value, High); }

void LimitRange(std::int32_t Low, std::int32_t& Value, std::int32_t High) {
  Value = EnsureRange(Low, Value, High);
}

// special values

bool IsNanInf(double X) { return (std::bit_cast<std::uint64_t>(X) & kExponentMask) == kExponentMask; }

bool IsNanOrInf(double X) { return IsNanInf(X); }

bool IsNan(double X) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(X);
  return (bits & kExponentMask) == kExponentMask && (bits & kMantissaMask) != 0;
}

bool IsInf(double X) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(X);
  return (bits & kExponentMask) == kExponentMask && (bits & kMantissaMask) == 0;
}

bool CIsNanInf(const TCplx& Z) { return IsNanInf(Z.Re) || IsNanInf(Z.Im); }
bool CIsNan(const TCplx& Z) { return IsNan(Z.Re) || IsNan(Z.Im); }
bool CIsInf(const TCplx& Z) { return IsInf(Z.Re) || IsInf(Z.Im); }

// comparisons

bool IsEqual(double A, double B, double Tol) {
  if (!IsNanInf(A) && !IsNanInf(B)) return std::fabs(A - B) <= Tol;
  if (IsNan(A)) return IsNan(B);
  if (IsInf(A)) return IsInf(B);
  return false;
}

bool CIsEqual(const TCplx& Z1, const TCplx& Z2) {
  if (!CIsNanInf(Z1) && !CIsNanInf(Z2)) return Z1.Re == Z2.Re && Z1.Im == Z2.Im;
  if (CIsNan(Z1)) return CIsNan(Z2);
  if (CIsInf(Z1)) return CIsInf(Z2);
  return false;
}

bool IsGreaterTol(double A, double B, double Tol) {
  if (IsNan(A) || IsNan(B)) return false;
  return A - Tol > B;
}

bool IsLessTol(double A, double B, double Tol) {
  if (IsNan(A) || IsNan(B)) return false;
  return A + Tol < B;
}

}  // namespace numeric

// MathCore: the bottom of the numeric core. The complex record TCplx, the
// sample array types, the library's constants, scalar real and complex
// mathematics, range helpers, number/text conversion and RaiseError, through
// which the numeric core and the signal procedures report every failure.
//
// Every routine is a free function without state and may run on any thread.
// Intermediates are computed in long double, the extended precision the
// numeric core computes in; results are doubles.
//
// NAN: the C library's macro NAN already is the positive quiet NaN with only
// the top mantissa bit set, which is exactly this library's NAN; a second
// definition cannot coexist with the macro, so write it unqualified.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace classlib {
struct TFormatSettings;
}

namespace numeric {

// A complex number: real part, then imaginary part, nothing between them, so
// that an array of N TCplx is also an array of 2N doubles.
struct TCplx {
  double Re;
  double Im;
};
static_assert(sizeof(TCplx) == 2 * sizeof(double), "TCplx must be two packed doubles");

using TSampleArray = std::vector<double>;
using TCplxArray = std::vector<TCplx>;
using TIntArray = std::vector<std::int32_t>;
using T2DSampleArray = std::vector<TSampleArray>;
using T2DCplxArray = std::vector<TCplxArray>;

// constants
inline constexpr double PI = 3.141592653589793;
inline constexpr double LN10 = 2.302585092994046;
inline constexpr double LNPI = 1.1447298858494002;
inline constexpr double TWOPI = 6.283185307179586;
inline constexpr double LNSQRT2PI = 0.9189385332046728;
inline constexpr double SQRT2 = 1.4142135623730951;
inline constexpr double INVSQRT2 = 0.7071067811865476;
inline constexpr double DEG2RAD = 0.017453292519943295;
inline constexpr double RAD2DEG = 57.29577951308232;
inline constexpr double EPS = 2.220446049250313e-16;
inline constexpr double MinDouble = 2.225073858507202e-308;
inline constexpr double MaxLnGammaArg = 2.556348e305;
inline constexpr double INF = std::numeric_limits<double>::infinity();
inline constexpr TCplx C_ZERO{0.0, 0.0};
inline constexpr TCplx C_ONE{1.0, 0.0};
inline constexpr TCplx CNAN{std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::quiet_NaN()};
inline constexpr TCplx CINF{INF, INF};
// The library's x87 control word: extended precision, round to nearest, every
// exception masked. It is the value Get8087CW and FpuSaveTruncMode report, so
// that code saving and restoring the control word around a call sees one
// consistent value; nothing loads it here.
inline constexpr std::uint16_t FPU_CW = 0x133F;

// Root key of the libraries' user settings in the settings store.
inline constexpr const char* NumoraSettingsRoot = "\\Software\\Halvane\\Numora";
inline constexpr const char* DefaultDirectory = "C:\\";

// Unit initialisation, called once at start-up before the numeric core is used:
// clears pending floating-point exception flags. Exceptions stay masked (the
// Linux default), so invalid operations give NaN and divisions infinities.
void InitMathCore();

// errors and the floating-point environment

// Raises classlib::Exception with Msg; never returns.
[[noreturn]] void RaiseError(const std::string& Msg);

// On x86-64 the arithmetic is SSE2 double precision and no x87 control word
// steers it, so these keep their signatures for callers and change nothing:
// Get8087CW reports FPU_CW, FpuSaveTruncMode returns it unchanged, and
// FpuRestoreMode ignores its argument. Truncation is done explicitly by Trunc.
std::uint16_t Get8087CW();
void ClearFpuExceptions();
std::uint16_t FpuSaveTruncMode();
void FpuRestoreMode(std::uint16_t CW);

// real functions
double Sin(double X);
double Cos(double X);
double Tan(double X);
double Cot(double X);
void SinCos(double X, double& S, double& C);
double ArcSin(double X);
double ArcTan(double X);
double ArcTan2(double Y, double X);
double Ln(double X);
double Log10(double X);
double LogN(double Base, double X);
double Exp(double X);
double Exp2(double X);
double Exp10(double X);
double IntPower(double X, std::int32_t N);
double Power(double Base, double Exponent);
double Sinh(double X);
double Cosh(double X);
double Tanh(double X);
double Sech(double X);
double ArcSinh(double X);
double ArcCosh(double X);
double FixAngle(double X);
double DegToRad(double X);
double RadToDeg(double X);
double FRem(double X, double Y);
double Frac(double X);
double CopySign(double A, double B);
double LnGamma(double X);

// integer conversions and integer routines
std::int32_t Trunc(double X);
std::int32_t Ceil(double X);
std::int32_t Floor(double X);
std::int32_t TruncToMultiple(double X, std::int32_t Step);
std::int32_t TruncToMultiple(std::int32_t A, std::int32_t B);
std::int32_t LargestExp2(std::int32_t N);
std::int32_t IntLog2(std::int32_t N);

double Min(double A, double B);
double Max(double A, double B);
std::int32_t Min(std::int32_t A, std::int32_t B);
std::int32_t Max(std::int32_t A, std::int32_t B);
void Swap(double& A, double& B);
void Swap(std::int32_t& A, std::int32_t& B);
void Swap(TCplx& A, TCplx& B);

// range tests: lower bound, value, upper bound
bool CheckRange(std::int32_t Low, std::int32_t Value, std::int32_t High);
bool InRange(double Low, double Value, double High);
double EnsureRange(double Low, double Value, double High);
std::int32_t EnsureRange(std::int32_t Low, std::int32_t Value, std::int32_t High);
void LimitRange(double Low, double& Value, double High);
void LimitRange(std::int32_t Low, std::int32_t& Value, std::int32_t High);

// special values, by bit pattern
bool IsNanInf(double X);
bool IsNanOrInf(double X);
bool IsNan(double X);
bool IsInf(double X);
bool CIsNanInf(const TCplx& Z);
bool CIsNan(const TCplx& Z);
bool CIsInf(const TCplx& Z);

// comparisons
bool IsEqual(double A, double B, double Tol);
bool CIsEqual(const TCplx& Z1, const TCplx& Z2);
bool IsGreaterTol(double A, double B, double Tol);
bool IsLessTol(double A, double B, double Tol);

// complex arithmetic
TCplx Cplx(double Re, double Im);
TCplx CAdd(const TCplx& A, const TCplx& B);
TCplx CSub(const TCplx& A, const TCplx& B);
TCplx CMul(const TCplx& A, const TCplx& B);
TCplx CDiv(const TCplx& A, const TCplx& B);
TCplx CAddReal(const TCplx& Z, double R);
TCplx CRSub(double R, const TCplx& Z);
TCplx CMulReal(const TCplx& Z, double R);
TCplx CMulReal(double R, const TCplx& Z);
TCplx CDivReal(const TCplx& Z, double R);
TCplx CRDiv(double R, const TCplx& Z);
TCplx CInv(const TCplx& Z);
TCplx CConj(const TCplx& Z);
TCplx CNeg(const TCplx& Z);
TCplx CSqr(const TCplx& Z);
double CAbs(const TCplx& Z);
TCplx CartToPolar(const TCplx& Z);
TCplx CExpj(double X);
TCplx CLn(const TCplx& Z);
TCplx CIntPower(const TCplx& Z, std::int32_t N);
TCplx CSqrt(const TCplx& Z);
bool CMax(const TCplx& A, const TCplx& B, TCplx& R);
bool CMin(const TCplx& A, const TCplx& B, TCplx& R);

// text conversion

// FormatFloat(Format, X) of the class library; an empty Format gives the
// general format with 15 significant digits.
std::string SampleToStr(double X, const std::string& Format = "");
// The general format with Precision significant digits and Digits exponent digits.
std::string FloatToStrPrec(double X, std::int32_t Precision, std::int32_t Digits);
// a, a+bi, a-bi, bi, i or -i, each part in the general format (15 digits).
std::string FormatCplx(const TCplx& Z, std::int32_t Digits);
// Each part by its own FormatFloat pattern (the imaginary one carries its sign
// and "i"); FormatCplx(Z, 0) when either pattern is empty.
std::string CplxToStr(const TCplx& Z, const std::string& ReFormat, const std::string& ImFormat);
// The same with the given settings in place of the process-wide ones, for a
// caller that writes many numbers or another decimal separator.
std::string SampleToStr(double X, const std::string& Format, const classlib::TFormatSettings& Settings);
std::string CplxToStr(const TCplx& Z, const std::string& ReFormat, const std::string& ImFormat,
                      const classlib::TFormatSettings& Settings);

// Parsing takes the decimal separator as an argument; the overloads without it
// read the process-wide one. Nothing process-wide is ever changed.
//
// A float; else a text containing "NAN" or "INF" (any case; negated when it
// contains "-"); else the float with the other separator (StrToValLocale).
// Raises classlib::EConvertError when nothing fits.
double StrToVal(const std::string& S);
double StrToVal(const std::string& S, char DecimalSeparator);
// The float with the separator that is not DecimalSeparator ("," for ".", else ".").
double StrToValLocale(const std::string& S, char DecimalSeparator);
// Texts of the form a+bi (a, bi, i, -i, a-i, ...).
TCplx StrToCplx(const std::string& S);
TCplx StrToCplx(const std::string& S, char DecimalSeparator);
// 1-based position of SubStr in S at or after Offset; 0 when absent. Offset < 1
// raises "Offset < 1".
std::int32_t PosEx(const std::string& SubStr, const std::string& S, std::int32_t Offset = 1);
// The next Delimiter-separated number of a line from the 1-based Pos; Pos moves
// past the delimiter that ends it (or to Length(S) + 1). Nothing left gives 0.
double StrToValNext(const std::string& S, std::int32_t& Pos, const std::string& Delimiter);
double StrToValNext(const std::string& S, std::int32_t& Pos, const std::string& Delimiter,
                    char DecimalSeparator);
TCplx StrToCplxNext(const std::string& S, std::int32_t& Pos, const std::string& Delimiter);
TCplx StrToCplxNext(const std::string& S, std::int32_t& Pos, const std::string& Delimiter,
                    char DecimalSeparator);

}  // namespace numeric

// Internal to the linear-system and IIR sources: roots as std::complex lists, and the texts
// that the units raise, in one place for the sources and their tests.
#pragma once

#include <cmath>
#include <complex>
#include <cstdint>
#include <vector>

#include "numeric/Numora.h"

namespace dsp::detail {

// The IIR designs' minimisers and Jacobi functions: tolerance 2^-52, and
// iteration limit.
inline constexpr double kIirTol = 2.220446049250313e-16;
inline constexpr std::int32_t kIirMaxIter = 50;

// 10^(0.1 R) - 1, accurate also for a small R.
inline double Pow10m1(double R) { return std::expm1(0.1 * R * numeric::LN10); }

using Cx = std::complex<double>;
using CxList = std::vector<Cx>;

// The elements of a zeros or poles vector as complex values (a real vector's with zero
// imaginary parts).
inline CxList Roots(const numeric::TVec& v) {
  CxList r(static_cast<std::size_t>(v.Length()));
  if (v.Complex()) {
    const numeric::TCplx* z = v.CValues();
    for (std::size_t i = 0; i < r.size(); ++i) r[i] = Cx(z[i].Re, z[i].Im);
  } else {
    const double* x = v.Values();
    for (std::size_t i = 0; i < r.size(); ++i) r[i] = Cx(x[i], 0.0);
  }
  return r;
}

// v := the roots, complex.
inline void SetRoots(numeric::TVec& v, const CxList& r) {
  v.Size(static_cast<std::int32_t>(r.size()), true);
  numeric::TCplx* z = v.CValues();
  for (std::size_t i = 0; i < r.size(); ++i) z[i] = numeric::TCplx{r[i].real(), r[i].imag()};
}

// v := the roots, kept real when v is real (the imaginary parts dropped, the routine knowing
// they are 0), else complex.
inline void SetRootsKeepKind(numeric::TVec& v, const CxList& r) {
  if (v.Complex()) {
    SetRoots(v, r);
    return;
  }
  v.Size(static_cast<std::int32_t>(r.size()), false);
  double* x = v.Values();
  for (std::size_t i = 0; i < r.size(); ++i) x[i] = r[i].real();
}

// prod(x - r) over the list; 1 for an empty one.
inline Cx ProductOfDifferences(Cx x, const CxList& r) {
  Cx p(1.0, 0.0);
  for (const Cx& z : r) p *= x - z;
  return p;
}

inline Cx Product(const CxList& r) {
  Cx p(1.0, 0.0);
  for (const Cx& z : r) p *= z;
  return p;
}

}  // namespace dsp::detail

namespace dsp::msg {

// Linear systems.
inline constexpr const char* ZpSsLengths = "Z.Lenght > P.Length";
inline constexpr const char* ZpLengths = "z.Length > p.Length";
inline constexpr const char* NoPoles = "p.Length = 0";
inline constexpr const char* SsRowsB = "a.Rows <> b.Length";
inline constexpr const char* SsLengthBC = "b.Length <> c.Length";
// Texts of our own for what the unit once let through silently.
inline constexpr const char* RootToInfinity = "AllpassSubstitute: a root maps to infinity";
inline constexpr const char* SsEigenvalues = "StateSpaceToZeroPole: ";
inline constexpr const char* SsZeroEigenvalues = "StateSpaceEigen: ";

// IIR design.
inline constexpr const char* OrderRange = "not (1 < Order < MaxIirOrder)";
inline constexpr const char* RippleRange = "Ripple out of range!";
inline constexpr const char* ButterCutoffLength = "(Length(CuttoffFreq)*2) <> Length(BEdg)";
inline constexpr const char* CutoffLength = "(Length(CuttoffFreq) div 2) <> Length(BEdg)";
inline constexpr const char* TwoEdges = "Length(BEdg) <> 2";
inline constexpr const char* FourEdges = "Length(BEdg) <> 4";
inline constexpr const char* OrderInf = "Order = Inf";
inline constexpr const char* OneCutoff = "(Length(CutoffFreq) <> 1)";
inline constexpr const char* TwoCutoffs = "(Length(CutoffFreq) <> 2)";
inline constexpr const char* AnalogDiscrete = "Analog not supported with ftZeroPoleDiscrete";
inline constexpr const char* OrderMax = "Order > MaxIirOrder";
inline constexpr const char* CutoffMax = "CutoffFreq.Length > 2";
inline constexpr const char* FilterTypeNotSupported = "FilterType not suported!";

}  // namespace dsp::msg

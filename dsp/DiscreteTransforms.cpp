// Gains of zeros and poles at a point, and the digital frequency transformations of a lowpass
// by all-pass substitution.
// Tested by: dsp/tests/LinearSystemsTest.cpp, LinearSystemsOracleTest.cpp
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <span>

#include "dsp/LinearSystems.h"
#include "dsp/LinearSystemsInternal.h"
#include "numeric/Polynoms.h"

namespace dsp {

using detail::Cx;
using detail::CxList;
using numeric::PI;
using numeric::RaiseError;
using numeric::TCachedVec;
using numeric::TCplx;
using numeric::TVec;

namespace {

// The roots of one list after the substitution: the roots of Num - r Den for each root r.
CxList Substitute(const CxList& roots, const CxList& num, const CxList& den) {
  const std::size_t m = num.size();
  CxList out;
  out.reserve(roots.size() * (m - 1));
  TCachedVec poly, found;
  poly->Size(static_cast<std::int32_t>(m), true);
  for (const Cx& r : roots) {
    TCplx* c = poly->CValues();
    for (std::size_t i = 0; i < m; ++i) {
      const Cx v = num[i] - r * den[i];
      c[i] = TCplx{v.real(), v.imag()};
    }
    numeric::PolyRoots(*found, *poly);
    if (found->Length() != static_cast<std::int32_t>(m - 1)) RaiseError(msg::RootToInfinity);
    const CxList s = detail::Roots(*found);
    out.insert(out.end(), s.begin(), s.end());
  }
  return out;
}

// Coefficients of equal length, the shorter padded at the high-order end.
CxList Padded(const TVec& v, std::size_t m) {
  const CxList c = detail::Roots(v);
  CxList out(m - c.size(), Cx(0.0, 0.0));
  out.insert(out.end(), c.begin(), c.end());
  return out;
}

void SubstituteAllpass(TVec& Z, TVec& P, std::initializer_list<double> den, std::initializer_list<double> num) {
  TCachedVec d, n;
  d->SetIt(false, std::span<const double>(den.begin(), den.size()));
  n->SetIt(false, std::span<const double>(num.begin(), num.size()));
  AllpassSubstitute(Z, P, *d, *n);
}

// The band edges back from the geometric centre and the width.
void BandEdges(double Wo, double Bw, double& W1, double& W2) {
  W1 = (std::sqrt(Bw * Bw + 4.0 * Wo * Wo) - Bw) / 2.0;
  W2 = W1 + Bw;
}

}  // namespace

double ZeroPoleGainAt(const TVec& Z, const TVec& P, double X) {
  const Cx x(X, 0.0);
  return detail::ProductOfDifferences(x, detail::Roots(Z)).real() /
         detail::ProductOfDifferences(x, detail::Roots(P)).real();
}

// At a complex point the two products are complex; their quotient is what is real where the
// gain is meant. The real parts of the products alone can both be near 0 there (a bandpass of
// order 2 centred at a quarter of the Nyquist frequency), and their quotient is then noise.
double ZeroPoleGainAtCplx(const TVec& Z, const TVec& P, const TCplx& X) {
  const Cx x(X.Re, X.Im);
  return (detail::ProductOfDifferences(x, detail::Roots(Z)) / detail::ProductOfDifferences(x, detail::Roots(P)))
      .real();
}

void AllpassSubstitute(TVec& Z, TVec& P, const TVec& Den, const TVec& Num) {
  const std::size_t m = static_cast<std::size_t>(std::max(Den.Length(), Num.Length()));
  if (m < 2) RaiseError("AllpassSubstitute: Num and Den need two coefficients or more");
  const CxList num = Padded(Num, m), den = Padded(Den, m);
  const CxList z = Substitute(detail::Roots(Z), num, den);
  const CxList p = Substitute(detail::Roots(P), num, den);
  detail::SetRoots(Z, z);
  detail::SetRoots(P, p);
}

void DiscreteLowpassToLowpass(TVec& Z, TVec& P, double& K, double Wo, double Wc) {
  const double thc = PI * Wc, tho = PI * Wo;
  const double a = std::sin((thc - tho) / 2.0) / std::sin((thc + tho) / 2.0);
  SubstituteAllpass(Z, P, {-a, 1.0}, {1.0, -a});
  K = 1.0 / ZeroPoleGainAt(Z, P, 1.0);
}

void DiscreteLowpassToHighpass(TVec& Z, TVec& P, double& K, double Wo, double Wc) {
  const double thc = PI * Wc, tho = PI * Wo;
  const double a = -std::cos((thc + tho) / 2.0) / std::cos((thc - tho) / 2.0);
  SubstituteAllpass(Z, P, {a, 1.0}, {-1.0, -a});
  K = 1.0 / ZeroPoleGainAt(Z, P, -1.0);
}

void DiscreteLowpassToBandpass(TVec& Z, TVec& P, double& K, double Wo, double Bw, double Wc) {
  double W1, W2;
  BandEdges(Wo, Bw, W1, W2);
  const double th1 = PI * W1, th2 = PI * W2, thc = PI * Wc;
  const double k = std::tan(thc / 2.0) / std::tan((th2 - th1) / 2.0);
  const double a = std::cos((th2 + th1) / 2.0) / std::cos((th2 - th1) / 2.0);
  const double b = 2.0 * a * k / (k + 1.0);
  const double c = (k - 1.0) / (k + 1.0);
  SubstituteAllpass(Z, P, {c, -b, 1.0}, {-1.0, b, -c});
  const double centre = Unwarp(std::sqrt(Prewarp(W1, 2.0) * Prewarp(W2, 2.0)), 2.0);
  K = 1.0 / ZeroPoleGainAtCplx(Z, P, TCplx{std::cos(PI * centre), std::sin(PI * centre)});
}

void DiscreteLowpassToBandstop(TVec& Z, TVec& P, double& K, double Wo, double Bw, double Wc) {
  double W1, W2;
  BandEdges(Wo, Bw, W1, W2);
  const double th1 = PI * W1, th2 = PI * W2, thc = PI * Wc;
  const double k = std::tan((th2 - th1) / 2.0) * std::tan(thc / 2.0);
  const double a = std::cos((th2 + th1) / 2.0) / std::cos((th2 - th1) / 2.0);
  const double b = 2.0 * a / (k + 1.0);
  const double c = (1.0 - k) / (1.0 + k);
  SubstituteAllpass(Z, P, {c, -b, 1.0}, {1.0, -b, c});
  K = 1.0 / ZeroPoleGainAt(Z, P, 1.0);
}

}  // namespace dsp

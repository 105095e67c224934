// Checks shared by the IIR and linear-system tests: roots compared as multisets, coefficient
// lists compared on the scale of their largest element, and the oracle tables' fields as
// vectors.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <sstream>
#include <string>
#include <vector>

#include "dsp/IIRFilters.h"
#include "numeric/Numora.h"
#include "numeric/tests/OracleLines.h"

namespace dsp::testutil {

using Cx = std::complex<double>;

// The unit roundoff of a double: the largest relative error of one rounding. Tolerances below are
// multiples of it, by the error bound of the computation they check.
constexpr double kU = 0x1p-53;

// A prototype by the design method's code: 0 Butterworth, 1 Chebyshev I, 2 Chebyshev II,
// 3 elliptic, any other Bessel.
inline void MakePrototype(int kind, std::int32_t n, double rp, double rs, numeric::TVec& z, numeric::TVec& p,
                          double& k) {
  switch (kind) {
    case 0: ButterPrototype(n, z, p, k); break;
    case 1: Cheby1Prototype(n, z, p, rp, k); break;
    case 2: Cheby2Prototype(n, z, p, rs, k); break;
    case 3: EllipPrototype(n, z, p, rp, rs, k); break;
    default: BesselPrototype(n, z, p, k); break;
  }
}

inline std::vector<Cx> RootsOf(const numeric::TVec& v) {
  std::vector<Cx> r(static_cast<std::size_t>(v.Length()));
  for (std::size_t i = 0; i < r.size(); ++i)
    r[i] = v.Complex() ? Cx(v.CValues()[i].Re, v.CValues()[i].Im) : Cx(v.Values()[i], 0.0);
  return r;
}

inline std::vector<Cx> ToCx(const std::vector<numeric::TCplx>& c) {
  std::vector<Cx> r;
  for (const auto& z : c) r.emplace_back(z.Re, z.Im);
  return r;
}

// The complex field of an oracle table.
inline std::vector<Cx> CxField(const std::string& f) { return ToCx(numeric::testutil::OracleComplex(f)); }

inline numeric::TVec& SetRoots(numeric::TVec& v, const std::vector<Cx>& r) {
  v.Size(static_cast<std::int32_t>(r.size()), true);
  for (std::size_t i = 0; i < r.size(); ++i) v.CValues()[i] = numeric::TCplx{r[i].real(), r[i].imag()};
  return v;
}

inline numeric::TVec& SetReal(numeric::TVec& v, const std::vector<double>& x) {
  v.Size(static_cast<std::int32_t>(x.size()), false);
  std::copy(x.begin(), x.end(), v.Values());
  return v;
}

inline std::string Show(const std::vector<Cx>& r) {
  std::ostringstream s;
  s.precision(17);
  for (const Cx& z : r) s << z << ' ';
  return s.str();
}

// The same multiset of roots: each expected root pairs with the nearest unpaired actual one,
// within tol relative to max(1, |root|).
inline ::testing::AssertionResult SameRoots(const std::vector<Cx>& actual, const std::vector<Cx>& expected,
                                            double tol) {
  if (actual.size() != expected.size())
    return ::testing::AssertionFailure() << actual.size() << " roots, expected " << expected.size()
                                         << "\n actual:   " << Show(actual) << "\n expected: " << Show(expected);
  std::vector<bool> used(actual.size(), false);
  for (const Cx& e : expected) {
    std::size_t best = actual.size();
    double bestDistance = INFINITY;
    for (std::size_t i = 0; i < actual.size(); ++i) {
      if (used[i]) continue;
      const double d = std::abs(actual[i] - e);
      if (d < bestDistance) {
        bestDistance = d;
        best = i;
      }
    }
    if (!(bestDistance <= tol * std::max(1.0, std::abs(e))))
      return ::testing::AssertionFailure() << "root " << e << " off by " << bestDistance << "\n actual:   "
                                           << Show(actual) << "\n expected: " << Show(expected);
    used[best] = true;
  }
  return ::testing::AssertionSuccess();
}

// The same with a bound of its own for each expected root (absolute, in the order of expected).
inline ::testing::AssertionResult SameRoots(const std::vector<Cx>& actual, const std::vector<Cx>& expected,
                                            const std::vector<double>& bounds) {
  if (actual.size() != expected.size() || bounds.size() != expected.size())
    return ::testing::AssertionFailure() << actual.size() << " roots, expected " << expected.size()
                                         << "\n actual:   " << Show(actual) << "\n expected: " << Show(expected);
  std::vector<bool> used(actual.size(), false);
  for (std::size_t e = 0; e < expected.size(); ++e) {
    std::size_t best = actual.size();
    double bestDistance = INFINITY;
    for (std::size_t i = 0; i < actual.size(); ++i) {
      if (used[i]) continue;
      const double d = std::abs(actual[i] - expected[e]);
      if (d < bestDistance) {
        bestDistance = d;
        best = i;
      }
    }
      if (!(bestDistance <= bounds[e]))
      return ::testing::AssertionFailure() << "root " << expected[e] << " off by " << bestDistance << ", bound "
                                           << bounds[e] << "\n actual:   " << Show(actual)
                                           << "\n expected: " << Show(expected);
    used[best] = true;
  }
  return ::testing::AssertionSuccess();
}

// The bounds of the prototypes' closed forms, one side's rounding relative to a root's size.
// Butterworth roots are unit roots at angles below 2 pi: four roundings of the angle and one of
// its cosine or sine, 16u.
inline double ButterRootError() { return 16.0 * kU; }
// Chebyshev roots sinh(mu) cos(t) + i cosh(mu) sin(t) (or their reciprocals): t, below 2 pi from
// four roundings, is off by 13u at most and mu = asinh(1/eps)/N by 5u relative; a change of t
// moves a root near the real axis by coth(mu) times its size. 16u (1 + coth(mu)) covers both.
inline double ChebyshevRootError(double eps, int n) {
  const double mu = std::asinh(1.0 / eps) / n;
  return 16.0 * kU * (1.0 + 1.0 / std::tanh(mu));
}
// Chebyshev II zeros 1 / cos(x), x = a pi / 2N within 3u x: x tan(x) <= N times that, and 2u more.
inline double ChebyshevZeroError(int n) { return 4.0 * kU * (1.0 + n); }
// Bessel poles are polished in quadruple precision (unit roundoff 2^-113) by Horner's rule on the
// coefficients of theta_N = sum a_k s^k, within 2N roundings of sum |a_k| |rho|^k: a root rho
// moves by that over |theta'(rho)|, the product of its distances to the other roots (theta_N is
// monic). Then they are rounded and divided by the geometric mean w of the roots' sizes,
// ((2N)!/N!)^(1/N)/2 computed within 4u: 6u relative. Absolute, for each of the given roots
// (the prototype's, scaled).
inline std::vector<double> BesselRootErrors(int n, const std::vector<Cx>& roots) {
  // a_k = (2N - k)! / (2^(N-k) k! (N-k)!): a_N = 1, a_k = a_(k+1) (2N - k)(k + 1) / (2 (N - k)).
  std::vector<double> a(static_cast<std::size_t>(n) + 1);
  a[static_cast<std::size_t>(n)] = 1.0;
  for (int k = n - 1; k >= 0; --k)
    a[static_cast<std::size_t>(k)] = a[static_cast<std::size_t>(k) + 1] * (2.0 * n - k) * (k + 1) / (2.0 * (n - k));
  double f = 1.0;
  for (int i = n + 1; i <= 2 * n; ++i) f *= i;
  const double w = std::pow(f, 1.0 / n) / 2.0;
  std::vector<double> out;
  for (const Cx& r : roots) {
    double terms = 0.0;
    for (int k = 0; k <= n; ++k) terms += a[static_cast<std::size_t>(k)] * std::pow(std::abs(r * w), k);
    double derivative = 1.0;
    for (const Cx& other : roots)
      if (other != r) derivative *= std::abs(r - other) * w;
    out.push_back(2.0 * n * 0x1p-113 * terms / derivative / w + 6.0 * kU * std::abs(r));
  }
  return out;
}

// 10^(R/10) - 1.
inline double Pow10m1(double r) { return std::expm1(0.1 * r * std::log(10.0)); }

inline std::vector<double> RelativeBounds(const std::vector<Cx>& roots, double relative) {
  std::vector<double> out;
  for (const Cx& r : roots) out.push_back(relative * std::abs(r));
  return out;
}

// The relative error of K prod(x - z) / prod(x - p) when each root is off by its bound (absolute)
// and K by `gain` (relative), to first order: each factor x - r moves by the root's bound over
// its size, and the products round within 4u per factor.
inline double ResponseBound(const std::vector<Cx>& z, const std::vector<double>& zb, const std::vector<Cx>& p,
                            const std::vector<double>& pb, double gain, Cx x) {
  double sum = gain;
  for (std::size_t i = 0; i < z.size(); ++i) sum += zb[i] / std::abs(x - z[i]) + 4.0 * kU;
  for (std::size_t i = 0; i < p.size(); ++i) sum += pb[i] / std::abs(x - p[i]) + 4.0 * kU;
  return sum;
}

// Coefficients equal within tol times the largest magnitude among the expected ones, the
// shorter list taken as padded with leading zeros.
inline ::testing::AssertionResult SameCoefficients(const std::vector<double>& actual,
                                                   const std::vector<double>& expected, double tol) {
  const std::size_t n = std::max(actual.size(), expected.size());
  auto at = [n](const std::vector<double>& v, std::size_t i) {
    const std::size_t pad = n - v.size();
    return i < pad ? 0.0 : v[i - pad];
  };
  double scale = 0.0;
  for (double x : expected) scale = std::max(scale, std::fabs(x));
  for (std::size_t i = 0; i < n; ++i)
    if (!(std::fabs(at(actual, i) - at(expected, i)) <= tol * scale))
      return ::testing::AssertionFailure() << "coefficient " << i << ": " << at(actual, i) << ", expected "
                                           << at(expected, i) << " (scale " << scale << ")";
  return ::testing::AssertionSuccess();
}

// The same with a bound of its own for each coefficient (absolute, aligned with the longer list).
inline ::testing::AssertionResult SameCoefficients(const std::vector<double>& actual,
                                                   const std::vector<double>& expected,
                                                   const std::vector<double>& bounds) {
  const std::size_t n = std::max(actual.size(), expected.size());
  auto at = [n](const std::vector<double>& v, std::size_t i) {
    const std::size_t pad = n - v.size();
    return i < pad ? 0.0 : v[i - pad];
  };
  for (std::size_t i = 0; i < n; ++i)
    if (!(std::fabs(at(actual, i) - at(expected, i)) <= at(bounds, i)))
      return ::testing::AssertionFailure() << "coefficient " << i << ": " << at(actual, i) << ", expected "
                                           << at(expected, i) << " (bound " << at(bounds, i) << ")";
  return ::testing::AssertionSuccess();
}

// K prod(x - z) / prod(x - p).
inline Cx Response(const numeric::TVec& z, const numeric::TVec& p, double k, Cx x) {
  Cx h(k, 0.0);
  for (const Cx& r : RootsOf(z)) h *= x - r;
  for (const Cx& r : RootsOf(p)) h /= x - r;
  return h;
}

// The response of a digital design at W (Nyquist = 1) and of an analog one at W rad/s.
inline double Magnitude(const numeric::TVec& z, const numeric::TVec& p, double k, bool analog, double W) {
  return std::abs(Response(z, p, k, analog ? Cx(0.0, W) : std::polar(1.0, 3.141592653589793 * W)));
}

inline std::vector<double> Reals(const numeric::TVec& v) {
  return std::vector<double>(v.Values(), v.Values() + v.DoubleLength());
}

inline double Db(double gain) { return 20.0 * std::log10(gain); }

}  // namespace dsp::testutil

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

#include "numeric/Numora.h"
#include "numeric/tests/OracleLines.h"

namespace dsp::testutil {

using Cx = std::complex<double>;

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

}  // namespace dsp::testutil

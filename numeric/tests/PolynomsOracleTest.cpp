// Covers numeric/Polynoms.cpp and numeric/PiecePoly.cpp against numpy: the
// table data/polynoms_oracle.txt is made by data/gen_polynoms_oracle.py.
//
// Error model: PolyRoots and numpy.roots take the eigenvalues of the same
// balanced companion matrix, the roots of the polynomial with its
// coefficients a_k perturbed by 4 n u of their sizes (n the degree, u the unit
// roundoff): a simple root r moves by 4 n u sum |a_k| |r|^k / |p'(r)|, p'(r)
// the leading coefficient times the product of r's distances to the other
// roots; on each side, with a margin of 2. The roots are matched pairwise
// (nearest first), as the two eigenvalue routines may list them in different
// orders.
// PolyFromRoots makes the same products and differences as numpy.poly's
// convolutions: a few EPS of the largest coefficient. The interpolant
// computes numpy.interp's slope (as a reciprocal times the difference) and
// its value: a few EPS of the largest |Y|.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/Polynoms.h"
#include "numeric/tests/OracleLines.h"
#include "testing/TestSupport.h"

namespace numeric {
namespace {

using orvel::testing::NearScaled;
using testutil::OracleComplex;
using testutil::OracleNumbers;

void SetValues(TVec& v, const std::vector<TCplx>& values, bool complex) {
  v.Size(static_cast<std::int32_t>(values.size()), complex);
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (complex)
      v.CValues()[i] = values[i];
    else
      v.Values()[i] = values[i].Re;
  }
}

TCplx At(const TVec& v, std::int32_t i) { return v.Complex() ? v.CValues()[i] : TCplx{v.Values()[i], 0.0}; }

double Distance(const TCplx& a, const TCplx& b) { return std::hypot(a.Re - b.Re, a.Im - b.Im); }

TEST(PolynomsOracle, RootsAgreeWithNumpy) {
  int cases = 0;
  for (const auto& f : testutil::ReadOracleLines("polynoms_oracle.txt")) {
    if (f[0] != "roots") continue;
    ++cases;
    SCOPED_TRACE("coefficients " + f[1] + " | " + f[2]);
    TVec poly, roots;
    SetValues(poly, OracleComplex(f[1], f[2]), !f[2].empty());
    PolyRoots(roots, poly);
    const std::vector<TCplx> expected = OracleComplex(f[3], f[4]);
    ASSERT_EQ(roots.Length(), static_cast<std::int32_t>(expected.size()));
    const std::vector<TCplx> coefficients = OracleComplex(f[1], f[2]);
    std::size_t first = 0, last = coefficients.size();
    auto zero = [](const TCplx& c) { return c.Re == 0.0 && c.Im == 0.0; };
    while (first < last && zero(coefficients[first])) ++first;
    while (last > first && zero(coefficients[last - 1])) --last;
    auto boundOf = [&](const TCplx& r) {
      if (zero(r)) return 0.0;
      const double size = std::hypot(r.Re, r.Im);
      double terms = 0.0;
      for (std::size_t k = first; k < last; ++k)
        terms += std::hypot(coefficients[k].Re, coefficients[k].Im) * std::pow(size, static_cast<double>(last - 1 - k));
      double slope = std::hypot(coefficients[first].Re, coefficients[first].Im);
      for (const TCplx& other : expected)
        if (!zero(other) && Distance(other, r) != 0.0) slope *= Distance(r, other);
      const double degree = static_cast<double>(last - first) - 1.0;
      return 2.0 * 2.0 * 4.0 * degree * EPS / 2 * terms / slope;
    };
    std::vector<bool> used(expected.size(), false);
    for (std::int32_t i = 0; i < roots.Length(); ++i) {
      const TCplx got = At(roots, i);
      std::size_t best = expected.size();
      for (std::size_t j = 0; j < expected.size(); ++j)
        if (!used[j] && (best == expected.size() || Distance(got, expected[j]) < Distance(got, expected[best])))
          best = j;
      ASSERT_LT(best, expected.size());
      used[best] = true;
      EXPECT_LE(Distance(got, expected[best]), boundOf(expected[best])) << "root " << i;
    }
  }
  EXPECT_GE(cases, 20);
}

TEST(PolynomsOracle, PolyFromRootsAgreesWithNumpy) {
  int cases = 0;
  for (const auto& f : testutil::ReadOracleLines("polynoms_oracle.txt")) {
    if (f[0] != "poly") continue;
    ++cases;
    SCOPED_TRACE("roots " + f[1] + " | " + f[2]);
    TVec roots, poly;
    SetValues(roots, OracleComplex(f[1], f[2]), !f[2].empty());
    PolyFromRoots(roots, poly);
    const std::vector<TCplx> expected = OracleComplex(f[3], f[4]);
    ASSERT_EQ(poly.Length(), static_cast<std::int32_t>(expected.size()));
    double scale = 0.0;
    for (const TCplx& c : expected) scale = std::max(scale, std::hypot(c.Re, c.Im));
    for (std::int32_t i = 0; i < poly.Length(); ++i) {
      EXPECT_TRUE(NearScaled(At(poly, i).Re, expected[static_cast<std::size_t>(i)].Re, 4 * EPS, scale)) << i;
      EXPECT_TRUE(NearScaled(At(poly, i).Im, expected[static_cast<std::size_t>(i)].Im, 4 * EPS, scale)) << i;
    }
  }
  EXPECT_GE(cases, 4);
}

TEST(PolynomsOracle, LinearInterpolationAgreesWithNumpy) {
  int cases = 0;
  for (const auto& f : testutil::ReadOracleLines("polynoms_oracle.txt")) {
    if (f[0] != "interp") continue;
    ++cases;
    TVec X, Y, x, y;
    X.SetIt(false, OracleNumbers(f[1]));
    Y.SetIt(false, OracleNumbers(f[2]));
    x.SetIt(false, OracleNumbers(f[3]));
    const std::vector<double> expected = OracleNumbers(f[4]);
    double scale = 0.0;
    for (std::int32_t i = 0; i < Y.Length(); ++i) scale = std::max(scale, std::fabs(Y.Values()[i]));
    TPiecePoly pp;
    Linear1D(X, Y, pp);
    for (bool sequential : {true, false}) {
      SCOPED_TRACE(std::string(sequential ? "sequential" : "bisection") + ", " + std::to_string(X.Length()) +
                   " points");
      pp.SetSequential(sequential);
      pp.Evaluate(x, y);
      ASSERT_EQ(y.Length(), static_cast<std::int32_t>(expected.size()));
      for (std::int32_t i = 0; i < y.Length(); ++i)
        EXPECT_TRUE(NearScaled(y.Values()[i], expected[static_cast<std::size_t>(i)], 8 * EPS, scale)) << i;
    }
  }
  EXPECT_GE(cases, 4);
}

}  // namespace
}  // namespace numeric

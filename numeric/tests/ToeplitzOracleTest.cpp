// Covers numeric/Toeplitz.cpp against scipy: the table
// data/toeplitz_oracle.txt is made by data/gen_toeplitz_oracle.py.
//
// Error model: both sides run a Levinson recursion on diagonally dominant
// (or positive definite) systems; its rounding, like an elimination's, makes
// the solution exact for a matrix within a few n u of T, but the recursion's
// n steps each carry the last one's error, so n^2 u (4 n^2 u here) times T's
// condition number (the table's K) of the largest solution element, on each
// side, with a margin of 2.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/Toeplitz.h"
#include "numeric/tests/OracleLines.h"
#include "testing/TestSupport.h"

namespace numeric {
namespace {

using orvel::testing::NearScaled;
using testutil::OracleComplex;

double MaxModulus(const std::vector<TCplx>& v) {
  double m = 0.0;
  for (const TCplx& z : v) m = std::max(m, std::hypot(z.Re, z.Im));
  return m;
}

void ExpectClose(const std::vector<TCplx>& got, const std::vector<TCplx>& expected, double kappa) {
  ASSERT_EQ(got.size(), expected.size());
  const double scale = MaxModulus(expected), n = static_cast<double>(got.size());
  const double tol = 2.0 * 2.0 * 4.0 * n * n * EPS / 2 * kappa;
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_TRUE(NearScaled(got[i].Re, expected[i].Re, tol, scale)) << i;
    EXPECT_TRUE(NearScaled(got[i].Im, expected[i].Im, tol, scale)) << i;
  }
}

TEST(ToeplitzOracle, LevinsonAgreesWithScipy) {
  int cases = 0;
  for (const auto& f : testutil::ReadOracleLines("toeplitz_oracle.txt")) {
    if (f[0] != "levinson") continue;
    ++cases;
    SCOPED_TRACE("row " + f[1]);
    const bool complex = f[1].find('|') != std::string::npos;
    const std::vector<TCplx> row = OracleComplex(f[1]), col = OracleComplex(f[2]), y = OracleComplex(f[3]);
    const std::vector<TCplx> expected = OracleComplex(f[4]);
    const auto n = static_cast<std::int32_t>(row.size());
    std::vector<TCplx> got(row.size());
    if (complex) {
      std::vector<TCplx> h(row.size()), g(row.size());
      ToeplitzLevinsonC(row, col, y, got, h, g, n);
    } else {
      auto re = [](const std::vector<TCplx>& v) {
        std::vector<double> r;
        for (const TCplx& z : v) r.push_back(z.Re);
        return r;
      };
      std::vector<double> x(row.size()), h(row.size()), g(row.size());
      ToeplitzLevinson(re(row), re(col), re(y), x, h, g, n);
      for (std::size_t i = 0; i < x.size(); ++i) got[i] = TCplx{x[i], 0.0};
    }
    ExpectClose(got, expected, std::stod(f[5]));
  }
  EXPECT_GE(cases, 8);
}

TEST(ToeplitzOracle, YuleWalkerAgreesWithScipy) {
  int cases = 0;
  for (const auto& f : testutil::ReadOracleLines("toeplitz_oracle.txt")) {
    if (f[0] != "yule") continue;
    ++cases;
    SCOPED_TRACE("r " + f[1]);
    const bool complex = f[1].find('|') != std::string::npos;
    const std::vector<TCplx> r = OracleComplex(f[1]);
    TVec R, A;
    R.Size(static_cast<std::int32_t>(r.size()), complex);
    for (std::size_t i = 0; i < r.size(); ++i) {
      if (complex)
        R.CValues()[i] = r[i];
      else
        R.Values()[i] = r[i].Re;
    }
    ToeplitzSolve(R, A);
    ASSERT_EQ(A.Complex(), complex);
    std::vector<TCplx> got;
    for (std::int32_t i = 0; i < A.Length(); ++i)
      got.push_back(complex ? A.CValues()[i] : TCplx{A.Values()[i], 0.0});
    ExpectClose(got, OracleComplex(f[2]), std::stod(f[3]));
  }
  EXPECT_GE(cases, 6);
}

}  // namespace
}  // namespace numeric

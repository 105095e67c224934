// Covers numeric/Toeplitz.cpp: small systems by hand, the Yule-Walker
// equations by their residual, real and complex kinds, shared arrays, and
// arrays too short for N. The comparisons with scipy are in
// ToeplitzOracleTest.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/Toeplitz.h"
#include "numeric/tests/VecTestUtil.h"
#include "testing/TestSupport.h"

namespace numeric {
namespace {

using orvel::testing::NearRel;
using orvel::testing::NearScaled;
using orvel::testing::Raises;
using testutil::DoublesOf;
using testutil::Set;

TEST(Toeplitz, ToeplitzSolveOfTwoLags) {
  TVec R, A;
  ToeplitzSolve(Set(R, {1, 0.5}), A);
  EXPECT_EQ(DoublesOf(A), (std::vector<double>{1, -0.5}));
}

TEST(Toeplitz, ToeplitzSolveMeetsTheYuleWalkerEquations) {
  const std::vector<double> r = {3, 1, 0.5, 0.2, 0.1};
  TVec R, A;
  ToeplitzSolve(Set(R, r), A);
  ASSERT_EQ(A.Length(), 5);
  EXPECT_EQ(A.Values()[0], 1.0);
  EXPECT_TRUE(NearRel(A.Values()[1], -0.31297338, 1e-7));
  for (int i = 1; i <= 4; ++i) {
    double sum = 0.0;
    for (int j = 1; j <= 4; ++j) sum += r[static_cast<std::size_t>(std::abs(i - j))] * A.Values()[j];
    EXPECT_TRUE(NearScaled(sum, -r[static_cast<std::size_t>(i)], 4 * EPS, 3.0)) << i;
  }
  // The same values as a complex autocorrelation give the same answer, complex
  // (it divides where the real recursion multiplies by a reciprocal).
  TVec C, AC;
  C.Size(5, true);
  for (int i = 0; i < 5; ++i) C.CValues()[i] = TCplx{r[static_cast<std::size_t>(i)], 0.0};
  ToeplitzSolve(C, AC);
  ASSERT_TRUE(AC.Complex());
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(NearScaled(AC.CValues()[i].Re, A.Values()[i], 4 * EPS, 1.0)) << i;
    EXPECT_EQ(AC.CValues()[i].Im, 0.0) << i;
  }
}

TEST(Toeplitz, ShortAutocorrelationLeavesAAsItWas) {
  TVec R, A;
  Set(A, {4, 5, 6});
  for (std::vector<double> r : {std::vector<double>{}, std::vector<double>{2.0}}) {
    ToeplitzSolve(Set(R, r), A);
    EXPECT_EQ(DoublesOf(A), (std::vector<double>{4, 5, 6}));
  }
}

// Row and Col differ: T = [[4, 1, 2], [-1, 4, 1], [0.5, -1, 4]].
TEST(Toeplitz, LevinsonSolvesANonSymmetricSystem) {
  const std::vector<double> row = {4, 1, 2}, col = {-1, 0.5}, x0 = {1, -2, 3};
  std::vector<double> y(3), x(3), h(3), g(3);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      const double t = j >= i ? row[static_cast<std::size_t>(j - i)] : col[static_cast<std::size_t>(i - j - 1)];
      y[static_cast<std::size_t>(i)] += t * x0[static_cast<std::size_t>(j)];
    }
  ToeplitzLevinson(row, col, y, x, h, g, 3);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(NearScaled(x[i], x0[i], 8 * EPS, 3.0)) << i;
  // X and Y may be the same array.
  ToeplitzLevinson(row, col, y, y, h, g, 3);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(y[i], x[i]) << i;

  const std::vector<TCplx> crow = {{4, 1}, {1, -1}}, ccol = {{0, 2}}, cy = {{1, 0}, {0, 1}};
  std::vector<TCplx> cx(2), ch(2), cg(2);
  ToeplitzLevinsonC(crow, ccol, cy, cx, ch, cg, 2);
  // Row 0: (4+i) x0 + (1-i) x1 = 1; row 1: 2i x0 + (4+i) x1 = i.
  const TCplx r0 = CAdd(CMul(crow[0], cx[0]), CMul(crow[1], cx[1]));
  const TCplx r1 = CAdd(CMul(ccol[0], cx[0]), CMul(crow[0], cx[1]));
  EXPECT_TRUE(NearScaled(r0.Re, 1.0, 8 * EPS, 1.0));
  EXPECT_TRUE(NearScaled(r0.Im, 0.0, 8 * EPS, 1.0));
  EXPECT_TRUE(NearScaled(r1.Re, 0.0, 8 * EPS, 1.0));
  EXPECT_TRUE(NearScaled(r1.Im, 1.0, 8 * EPS, 1.0));
}

TEST(Toeplitz, ArraysShorterThanNAreRefused) {
  std::vector<double> row = {4, 1, 2}, col = {-1}, y = {1, 2, 3}, x(3), h(3), g(2);
  EXPECT_TRUE(Raises([&] { ToeplitzLevinson(row, col, y, x, h, g, 3); }, "ToeplitzLevinson: arrays shorter than N"));
  col.push_back(0.5);
  EXPECT_TRUE(Raises([&] { ToeplitzLevinson(row, col, y, x, h, g, 3); }, "ToeplitzLevinson: arrays shorter than N"));
  g.push_back(0.0);
  EXPECT_NO_THROW(ToeplitzLevinson(row, col, y, x, h, g, 3));
  // Nothing to solve.
  EXPECT_NO_THROW(ToeplitzLevinson({}, {}, {}, {}, {}, {}, 0));
}

}  // namespace
}  // namespace numeric

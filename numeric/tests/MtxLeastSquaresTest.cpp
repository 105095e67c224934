// Covers numeric/MtxLeastSquares.cpp: over- and under-determined solves in
// both forms, the triangular factor of QR and LQ, the refusals, and the
// report of a rank-deficient matrix. Solutions of every shape and operation,
// real and complex, are checked against numpy in MtxOracleTest.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/MtxTestUtil.h"
#include "numeric/tests/VecTestUtil.h"
#include "testing/TestSupport.h"

namespace numeric {
namespace {

using orvel::testing::Raises;
using testutil::Doubles;
using testutil::DoublesNear;
using testutil::DoublesOf;
using testutil::Set;
using testutil::SetC;

using D = std::vector<double>;

TEST(MtxLQRSolve, SmallSystems) {
  TMtx column, row;
  TVec b, x;
  Set(column, 3, 1, {1, 1, 1});
  testutil::Set(b, {1, 2, 3});
  column.LQRSolve(b, x);
  EXPECT_TRUE(DoublesNear(DoublesOf(x), {2}, 8 * EPS));

  // The minimum-norm solution of x0 + x1 = 2.
  Set(row, 1, 2, {1, 1});
  testutil::Set(b, {2});
  row.LQRSolve(b, x);
  EXPECT_TRUE(DoublesNear(DoublesOf(x), {1, 1}, 8 * EPS));

  // Transposed, a 2 x 1 matrix has two unknowns.
  Set(column, 2, 1, {1, 1});
  column.LQRSolve(b, x, nullptr, opTrans);
  EXPECT_TRUE(DoublesNear(DoublesOf(x), {1, 1}, 8 * EPS));
  EXPECT_EQ(column.ErrorText(), "");
}

// R^H R = A^H A for the QR factor of a tall matrix, and A A^H for the factor
// of a wide one (the transpose of its LQ factor L).
void CheckFactor(const TMtx& a, const TMtx& r) {
  const bool tall = a.Rows() >= a.Cols();
  const std::int32_t mn = std::min(a.Rows(), a.Cols());
  ASSERT_EQ(r.Rows(), mn);
  ASSERT_EQ(r.Cols(), mn);
  ASSERT_EQ(r.Complex(), a.Complex());
  TMtx gram, product;
  gram.Mul(a, a, tall ? opHerm : opNone, tall ? opNone : opHerm);
  product.Mul(r, r, opHerm, opNone);
  for (std::int32_t i = 0; i < mn; ++i)
    for (std::int32_t j = 0; j < mn; ++j) {
      if (j < i) {
        EXPECT_EQ(r.GetValue(i, j), 0.0);
      }
      if (a.Complex()) {
        EXPECT_NEAR(product.CRowValues(i)[j].Re, gram.CRowValues(i)[j].Re, 1e-13);
        EXPECT_NEAR(product.CRowValues(i)[j].Im, gram.CRowValues(i)[j].Im, 1e-13);
      } else {
        EXPECT_NEAR(product.RowValues(i)[j], gram.RowValues(i)[j], 1e-13);
      }
    }
}

TEST(MtxLQRSolve, TriangularFactor) {
  TVec b, x;
  for (bool complex : {false, true})
    for (auto [rows, cols] : {std::pair{3, 2}, std::pair{2, 4}, std::pair{3, 3}}) {
      SCOPED_TRACE(std::to_string(rows) + "x" + std::to_string(cols) + (complex ? " complex" : ""));
      TMtx a, r;
      a.Size(rows, cols, complex);
      for (std::int32_t k = 0; k < a.DoubleCount(); ++k) a.Values()[k] = std::sin(1.0 + 3.7 * k);
      b.Size(rows, complex);
      b.SetZero();
      a.LQRSolve(b, x, &r);
      CheckFactor(a, r);
    }
}

TEST(MtxLQRSolve, SeveralRightHandSides) {
  TMtx a, b, x;
  Set(a, 3, 2, {1, 0, 0, 1, 1, 1});
  Set(b, 3, 2, {1, 2, 1, 2, 2, 4});
  a.LQRSolve(b, x);
  ASSERT_EQ(x.Rows(), 2);
  ASSERT_EQ(x.Cols(), 2);
  EXPECT_TRUE(DoublesNear(Doubles(x), {1, 2, 1, 2}, 16 * EPS));
  // X may be B.
  a.LQRSolve(b, b);
  EXPECT_EQ(Doubles(b), Doubles(x));
}

TEST(MtxLQRSolve, Refusals) {
  TMtx a, c, empty;
  Set(a, 3, 2, {1, 0, 0, 1, 1, 1});
  SetC(c, 1, 1, {1, 0});
  TVec b4, b3, bc, x;
  testutil::Set(b4, {1, 2, 3, 4});
  testutil::Set(b3, {1, 2, 3});
  testutil::SetC(bc, {1, 0, 2, 0, 3, 0});
  testutil::Set(x, {9});
  EXPECT_TRUE(Raises([&] { a.LQRSolve(b4, x); }, "fRows <> B.Length"));
  EXPECT_TRUE(Raises([&] { a.LQRSolve(b3, x, nullptr, opTrans); }, "fCols <> B.Length"));
  EXPECT_TRUE(Raises([&] { a.LQRSolve(bc, x); }, "fComplex <> B.Complex"));
  EXPECT_EQ(DoublesOf(x), (D{9}));
  empty.LQRSolve(b4, x);
  EXPECT_EQ(DoublesOf(x), (D{9}));

  TMtx m4, m3, mc, mx;
  Set(m4, 4, 1, {1, 2, 3, 4});
  Set(m3, 3, 1, {1, 2, 3});
  SetC(mc, 3, 1, {1, 0, 2, 0, 3, 0});
  EXPECT_TRUE(Raises([&] { a.LQRSolve(a, mx); }, "B = Self or X = Self"));
  EXPECT_TRUE(Raises([&] { a.LQRSolve(m3, a); }, "B = Self or X = Self"));
  EXPECT_TRUE(Raises([&] { a.LQRSolve(m4, mx); }, "fRows <> B.Rows"));
  EXPECT_TRUE(Raises([&] { a.LQRSolve(m3, mx, nullptr, opHerm); }, "fCols <> B.Rows"));
  EXPECT_TRUE(Raises([&] { a.LQRSolve(mc, mx); }, "fComplex <> B.Complex"));
}

// A rank-deficient matrix is reported in the error text, whether LAPACK
// meets an exact zero on the factor's diagonal (its status says so too) or a
// diagonal element that is zero but for rounding.
TEST(MtxLQRSolve, RankDeficiency) {
  TMtx exact, rounded, full;
  TVec b, x;
  testutil::Set(b, {1, 2, 3});
  Set(exact, 3, 2, {1, 0, 1, 0, 1, 0});
  exact.LQRSolve(b, x);
  EXPECT_EQ(exact.ErrorText(), "LQRSolve: rank deficient matrix");
  EXPECT_EQ(exact.LapackStatus(), 2);

  Set(rounded, 3, 2, {1, 3, 2, 6, 3, 9});
  rounded.LQRSolve(b, x);
  EXPECT_EQ(rounded.ErrorText(), "LQRSolve: rank deficient matrix");

  Set(full, 3, 2, {1, 3, 2, 6, 3, 9.5});
  full.LQRSolve(b, x);
  EXPECT_EQ(full.ErrorText(), "");
  EXPECT_EQ(full.LapackStatus(), 0);
  // The text of a failed solve does not outlive the next one.
  exact.Copy(full);
  exact.LQRSolve(b, x);
  EXPECT_EQ(exact.ErrorText(), "");
}

}  // namespace
}  // namespace numeric

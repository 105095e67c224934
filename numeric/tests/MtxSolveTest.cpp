// Covers numeric/MtxSolve.cpp: the wrappers' checks, the paths' failure
// texts raised behind "LUSolve: ", what a solve leaves in the matrix (status,
// error bounds, condition estimate), solving in place, several right-hand
// sides with refinement, and the norms. Solutions, bounds and estimates of
// every storage type, real and complex, are checked against numpy and scipy
// in MtxOracleTest.cpp.
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

using orvel::testing::NearRel;
using orvel::testing::NearScaled;
using orvel::testing::Raises;
using testutil::Doubles;
using testutil::DoublesNear;
using testutil::DoublesOf;
using testutil::Set;
using testutil::SetC;

using D = std::vector<double>;

// [[4, 1, 0], [1, 3, 1], [0, 1, 2]] x = (5, 5, 3) has x = (1, 1, 1).
void System(TMtx& a, TVec& b) {
  Set(a, 3, 3, {4, 1, 0, 1, 3, 1, 0, 1, 2});
  testutil::Set(b, {5, 5, 3});
}

TEST(MtxLinSolve, EveryRealFullTypeSolvesASymmetricSystem) {
  for (TMtxType type : {mtGeneral, mtSymmetric, mtSymmPosDef, mtHermPosDef}) {
    SCOPED_TRACE(type);
    TMtx a;
    TVec b, x;
    System(a, b);
    a.SetRefineSolution(true);
    a.SetConditionNumber(cnNorm1);
    a.LinSolve(b, x, type);
    EXPECT_TRUE(DoublesNear(DoublesOf(x), {1, 1, 1}, 8 * EPS));
    EXPECT_EQ(a.ErrorText(), "");
    EXPECT_EQ(a.LapackStatus(), 0);
    EXPECT_GT(a.RCond(), 0.1);
    EXPECT_LT(a.ForwardError(), 1e-14);
    EXPECT_LE(a.BackwardError(), 2 * EPS);
    EXPECT_EQ(Doubles(a), (D{4, 1, 0, 1, 3, 1, 0, 1, 2}));
  }
}

TEST(MtxLinSolve, ConditionEstimateOnlyWhenAsked) {
  TMtx a;
  TVec b, x;
  System(a, b);
  a.SetConditionNumber(cnNorm1);
  a.LinSolve(b, x);
  const double rcond = a.RCond();
  // 1 / (|A|_1 |A^-1|_1): |A|_1 = 5, and A^-1 = [[5, -2, 1], [-2, 8, -4], [1, -4, 11]] / 18.
  EXPECT_TRUE(NearRel(rcond, 1.0 / (5 * 16.0 / 18), 1e-12));
  System(a, b);
  a.SetConditionNumber(cnNone);
  Set(a, 3, 3, {2, 1, 0, 1, 3, 1, 0, 1, 2});
  a.LinSolve(b, x);
  EXPECT_EQ(a.RCond(), rcond);
  // Without refinement the bounds keep what they held.
  EXPECT_EQ(a.ForwardError(), 0.0);
}

TEST(MtxLinSolve, SolvesInPlaceWithRefinement) {
  TMtx a;
  TVec b;
  System(a, b);
  a.SetRefineSolution(true);
  a.LinSolve(b, b);
  EXPECT_TRUE(DoublesNear(DoublesOf(b), {1, 1, 1}, 8 * EPS));
  // Refined against the right-hand side as it was, not the solution.
  EXPECT_LE(a.BackwardError(), 2 * EPS);
}

// The refinement of several right-hand sides reads them in the solve's
// column order: every column comes out as its own solve gives it.
TEST(MtxLinSolve, SeveralRightHandSidesAgreeWithSingleSolves) {
  TMtx a, b, x;
  Set(a, 3, 3, {4, 1, 0.5, 1, 3, 1, 0.25, 1, 2});
  Set(b, 3, 2, {1, 5, 2, 6, 3, 7});
  a.SetRefineSolution(true);
  a.LinSolve(b, x);
  ASSERT_EQ(x.Rows(), 3);
  ASSERT_EQ(x.Cols(), 2);
  for (std::int32_t j = 0; j < 2; ++j) {
    TVec column, single;
    column.Size(3, false);
    for (std::int32_t i = 0; i < 3; ++i) column.Values()[i] = b.RowValues(i)[j];
    a.LinSolve(column, single);
    for (std::int32_t i = 0; i < 3; ++i) EXPECT_TRUE(NearScaled(x.RowValues(i)[j], single.Values()[i], 4 * EPS, 1));
  }
  // X may be B.
  a.LinSolve(b, b);
  EXPECT_EQ(Doubles(b), Doubles(x));
}

TEST(MtxLinSolve, FailuresRaiseBehindLUSolve) {
  // 2 x 2 systems, real or complex (values as re, im pairs); the band types
  // in band layout, with SubDiag and SuperDiag.
  struct TCase {
    const char* Name;
    bool Complex;
    D Values;
    TMtxType Type;
    std::int32_t Sub, Super;
    std::string Message;
  };
  const std::vector<TCase> cases{
      {"singular", false, {1, 2, 2, 4}, mtGeneral, 0, 0, "LUSolve: LU factorization: U(2,2) = 0 (singular)"},
      {"singular complex", true, {0, 0, 1, 0, 0, 0, 1, 0}, mtGeneral, 0, 0,
       "LUSolve: LU factorization: U(1,1) = 0 (singular)"},
      {"not positive definite", false, {1, 2, 2, 1}, mtSymmPosDef, 0, 0,
       "LUSolve: Cholesky: leading minor of order 2 is not positive definite"},
      {"not positive definite complex", true, {-1, 0, 0, 0, 0, 0, 1, 0}, mtHermPosDef, 0, 0,
       "LUSolve: Cholesky: leading minor of order 1 is not positive definite"},
      {"singular symmetric", false, {0, 0, 0, 0}, mtSymmetric, 0, 0,
       "LUSolve: Bunch Kauffman: singular at D(2,2) = 0"},
      {"singular symmetric complex", true, {0, 0, 0, 0, 0, 0, 0, 0}, mtSymmetric, 0, 0,
       "LUSolve: Bunch Kauffman: singular at D(2,2) = 0"},
      {"singular hermitian", true, {0, 0, 0, 0, 0, 0, 0, 0}, mtHermitian, 0, 0,
       "LUSolve: Bunch Kauffman: singular at D(2,2) = 0"},
      {"singular triangle", false, {1, 1, 0, 0}, mtTriangle, 0, 0, "LUSolve: Triangle: Erorr at solve:2"},
      {"singular triangle complex", true, {1, 0, 1, 0, 0, 0, 0, 0}, mtTriangle, 0, 0,
       "LUSolve: Triangle: Erorr at solve:2"},
      // Band rows (*, a01) and (a00, a11).
      {"band not positive definite", false, {0, 2, 1, 1}, mtBandSymmPosDef, 0, 1,
       "LUSolve: Cholesky: leading minor of order 2 is not positive definite"},
      {"band not positive definite complex", true, {0, 0, 2, 0, 1, 0, 1, 0}, mtBandHermPosDef, 0, 1,
       "LUSolve: Cholesky: leading minor of order 2is not positive definite"},
      {"band singular", false, {0, 1, 0, 1}, mtBandGeneral, 0, 1, "LUSolve: LU factorization: U(1,1) = 0 (singular)"},
      {"band singular complex", true, {0, 0, 1, 0, 0, 0, 1, 0}, mtBandGeneral, 0, 1,
       "LUSolve: LU factorization: U(1,1) = 0 (singular)"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TMtx a;
    TVec b, x;
    a.SetIt(2, 2, c.Complex, c.Values);
    a.SetSubDiag(c.Sub);
    a.SetSuperDiag(c.Super);
    b.SetIt(c.Complex, c.Complex ? D{1, 0, 2, 0} : D{1, 2});
    EXPECT_TRUE(Raises([&] { a.LinSolve(b, x, c.Type); }, c.Message));
    EXPECT_EQ("LUSolve: " + a.ErrorText(), c.Message);
    EXPECT_GT(a.LapackStatus(), 0);
    // A failed factorisation leaves the copied right-hand side in X.
    if (c.Type != mtTriangle) {
      EXPECT_EQ(DoublesOf(x), DoublesOf(b));
    }
  }
  // The matrix form gives X back in B's shape.
  TMtx a, b, x;
  Set(a, 2, 2, {1, 2, 2, 4});
  Set(b, 2, 3, {1, 2, 3, 4, 5, 6});
  EXPECT_TRUE(Raises([&] { a.LinSolve(b, x); }, "LUSolve: LU factorization: U(2,2) = 0 (singular)"));
  EXPECT_EQ(x.Rows(), 2);
  EXPECT_EQ(Doubles(x), Doubles(b));

}

TEST(MtxLinSolve, Refusals) {
  TMtx a, c, wide, band;
  Set(a, 2, 2, {2, 1, 1, 2});
  SetC(c, 2, 2, {2, 0, 1, 0, 1, 0, 2, 0});
  Set(wide, 2, 3, {1, 2, 3, 4, 5, 6});
  TVec b2, b3, bc, x;
  testutil::Set(b2, {1, 2});
  testutil::Set(b3, {1, 2, 3});
  testutil::SetC(bc, {1, 0, 2, 0});
  TMtx m2, m3;
  Set(m2, 2, 1, {1, 2});
  Set(m3, 3, 1, {1, 2, 3});
  testutil::Set(x, {9});
  EXPECT_TRUE(Raises([&] { a.LinSolve(a, m2); }, "B = Self"));
  EXPECT_TRUE(Raises([&] { a.LinSolve(m2, a); }, "X = Self"));
  EXPECT_TRUE(Raises([&] { a.LinSolve(bc, x); }, "B.Complex <> Complex"));
  EXPECT_TRUE(Raises([&] { wide.LinSolve(b2, x); }, "Quadratic = False"));
  EXPECT_TRUE(Raises([&] { wide.LinSolve(m2, m3); }, "Quadratic = False"));
  EXPECT_TRUE(Raises([&] { a.LinSolve(m3, m2); }, "B.Rows <> Rows"));
  EXPECT_TRUE(Raises([&] { a.LinSolve(b3, x); }, "B.Length <> Rows"));
  EXPECT_TRUE(Raises([&] { a.LinSolve(b2, x, mtHermitian); }, "Hermitian solve: not complex!"));
  EXPECT_TRUE(Raises([&] { c.LinSolve(bc, x, mtSymmPosDef); },
                     "Eig: Complex symmetric positive definite matrix type not supported. Use general!"));
  EXPECT_TRUE(Raises([&] { c.LinSolve(bc, x, mtBandSymmPosDef); },
                     "Eig: Complex band symmetric positive definite matrix type not supported. Use general!"));
  EXPECT_TRUE(Raises([&] { a.LinSolve(b2, x, static_cast<TMtxType>(9)); }, "MtxType not supported"));
  EXPECT_EQ(DoublesOf(x), (D{9}));

  // The band general layout needs SubDiag + SuperDiag + 1 band rows.
  Set(band, 2, 2, {1, 2, 3, 4});
  band.SetSubDiag(1);
  band.SetSuperDiag(1);
  EXPECT_TRUE(Raises([&] { band.LinSolve(b2, x, mtBandGeneral); }, "SubDiag+SuperDiag+1 <> Rows"));
  band.SetSubDiag(-1);
  band.SetSuperDiag(2);
  EXPECT_TRUE(Raises([&] { band.LinSolve(b2, x, mtBandGeneral); }, "SubDiag < 0"));

  // A band holds one column per unknown and KD + 1 (KL + KU + 1) rows, so its storage is square
  // only by chance: B has Cols rows, and the rows are checked against the stated widths.
  TMtx tridiagonal;
  Set(tridiagonal, 2, 3, {0, 1, 1, 4, 4, 4});
  tridiagonal.SetSuperDiag(1);
  TVec b6;
  testutil::Set(b6, {1, 2, 3, 4, 5, 6});
  EXPECT_TRUE(Raises([&] { tridiagonal.LinSolve(b2, x, mtBandSymmPosDef); }, "B.Length <> Cols"));
  EXPECT_TRUE(Raises([&] { tridiagonal.LinSolve(b6, x, mtBandSymmPosDef); }, "B.Length <> Cols"));
  EXPECT_TRUE(Raises([&] { tridiagonal.LinSolve(m2, m3, mtBandSymmPosDef); }, "B.Rows <> Cols"));
  tridiagonal.SetSubDiag(1);
  EXPECT_TRUE(Raises([&] { tridiagonal.LinSolve(b3, x, mtBandGeneral); }, "SubDiag+SuperDiag+1 <> Rows"));
  tridiagonal.SetSuperDiag(2);
  EXPECT_TRUE(Raises([&] { tridiagonal.LinSolve(b3, x, mtBandSymmPosDef); }, "SuperDiag+1 <> Rows"));
  tridiagonal.SetTriangleForm(tfLower);
  tridiagonal.SetSubDiag(2);
  EXPECT_TRUE(Raises([&] { tridiagonal.LinSolve(b3, x, mtBandSymmPosDef); }, "SubDiag+1 <> Rows"));
  tridiagonal.SetSubDiag(-1);
  EXPECT_TRUE(Raises([&] { tridiagonal.LinSolve(b3, x, mtBandSymmPosDef); }, "SubDiag < 0"));
  EXPECT_EQ(DoublesOf(x), (D{9}));
  // Lower storage (a00 a11 a22; a10 a21 *) of [[4, 1, 0], [1, 4, 1], [0, 1, 4]]: x = (1, 1, 1)
  // for b = (5, 6, 5).
  Set(tridiagonal, 2, 3, {4, 4, 4, 1, 1, 0});
  tridiagonal.SetSubDiag(1);
  testutil::Set(b3, {5, 6, 5});
  tridiagonal.LinSolve(b3, x, mtBandSymmPosDef);
  EXPECT_TRUE(DoublesNear(DoublesOf(x), {1, 1, 1}, 8 * EPS));
  testutil::Set(x, {9});

  // An empty matrix returns before looking at B or X.
  TMtx empty;
  empty.LinSolve(bc, x, mtHermitian);
  EXPECT_EQ(DoublesOf(x), (D{9}));
}

TEST(MtxLinSolve, AutoMtxTypeIgnoresTheType) {
  TMtx a;
  TVec b, x;
  System(a, b);
  a.SetAutoMtxType(true);
  a.LinSolve(b, x, mtBandGeneral);
  EXPECT_TRUE(DoublesNear(DoublesOf(x), {1, 1, 1}, 8 * EPS));
}

// A symmetric matrix given by one triangle: the solve and its condition
// estimate read that triangle only, whatever the other holds.
TEST(MtxLinSolve, SymmetricTypesReadTheirTriangle) {
  TMtx full, half;
  TVec b, x, y;
  System(full, b);
  Set(half, 3, 3, {4, 1, 0, 99, 3, 1, -7, 55, 2});
  for (TMtx* m : {&full, &half}) {
    m->SetTriangleForm(tfUpper);
    m->SetConditionNumber(cnNorm1);
  }
  full.LinSolve(b, x, mtSymmetric);
  half.LinSolve(b, y, mtSymmetric);
  EXPECT_EQ(DoublesOf(x), DoublesOf(y));
  EXPECT_EQ(full.RCond(), half.RCond());
}

TEST(MtxNorms, ColumnAndRowSums) {
  TMtx a;
  Set(a, 2, 3, {1, -2, 3, -4, 5, -6});
  EXPECT_EQ(a.Norm1(), 9.0);
  EXPECT_EQ(a.NormInf(), 15.0);
  TMtx c;
  SetC(c, 1, 2, {3, 4, 0, -1});
  EXPECT_EQ(c.Norm1(), 5.0);
  EXPECT_EQ(c.NormInf(), 6.0);
  TMtx empty;
  EXPECT_EQ(empty.Norm1(), 0.0);
}

}  // namespace
}  // namespace numeric

// Covers numeric/MtxProducts.cpp: the checks and texts of the matrix-vector
// and matrix products, the BLAS coefficients a product reads and puts back,
// empty operands and aliasing. The values of every path, real and complex,
// are checked against numpy in MtxOracleTest.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <span>
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
using testutil::DoublesOf;
using testutil::Label;
using testutil::Set;
using testutil::SetC;

using D = std::vector<double>;

TEST(MtxVecProduct, RowVectorTimesMatrix) {
  TMtx a;
  Set(a, 2, 3, {1, 2, 3, 4, 5, 6});
  TVec x, y;
  testutil::Set(x, {1, -1});
  y.MulVecMtx(x, a);
  EXPECT_EQ(DoublesOf(y), (D{-3, -3, -3}));
  TVec three;
  testutil::Set(three, {1, 1, 1});
  EXPECT_TRUE(Raises([&] { y.MulVecMtx(three, a); }, "Length <> Mtx.Rows"));
  // The transposed forms multiply the matrix by a column.
  y.MatVecProduct(three, a, mtGeneral, opTrans);
  EXPECT_EQ(DoublesOf(y), (D{6, 15}));
  y.MatVecProduct(three, a, mtGeneral, opHerm);
  EXPECT_EQ(DoublesOf(y), (D{6, 15}));
}

TEST(MtxVecProduct, ScalarsAreReadAndPutBack) {
  TMtx a;
  Set(a, 2, 2, {1, 2, 3, 4});
  TVec x, y;
  testutil::Set(x, {1, 1});
  testutil::Set(y, {10, 20});
  // y := 2 (x A) + 0.5 y
  y.SetProductScalars(TCplx{2, 0}, TCplx{0.5, 0});
  y.MatVecProduct(x, a, mtGeneral, opNone);
  EXPECT_EQ(DoublesOf(y), (D{13, 22}));
  EXPECT_EQ(y.COne().Re, 1.0);
  EXPECT_EQ(y.CZero().Re, 0.0);
  EXPECT_EQ(DoublesOf(y.MatVecProduct(x, a, mtGeneral, opNone)), (D{4, 6}));

  // An empty operand gives an empty result of its kind, and leaves the
  // scalars as they were set.
  TVec empty, z;
  empty.Size(0, true);
  TMtx c;
  SetC(c, 1, 1, {1, 0});
  z.SetProductScalars(TCplx{3, 0}, TCplx{0, 0});
  z.MatVecProduct(empty, c, mtGeneral, opNone);
  EXPECT_EQ(z.Length(), 0);
  EXPECT_TRUE(z.Complex());
  EXPECT_EQ(z.COne().Re, 3.0);
}

TEST(MtxVecProduct, VectorMayBeTheResult) {
  TMtx a;
  Set(a, 2, 3, {1, 2, 3, 4, 5, 6});
  TVec x;
  testutil::Set(x, {1, -1});
  x.MatVecProduct(x, a, mtGeneral, opNone);
  EXPECT_EQ(DoublesOf(x), (D{-3, -3, -3}));
  // A lower triangle times the column (1, 2).
  Set(a, 2, 2, {2, 0, 1, 3});
  a.SetTriangleForm(tfLower);
  testutil::Set(x, {1, 2});
  x.MatVecProduct(x, a, mtTriangle, opTrans);
  EXPECT_EQ(DoublesOf(x), (D{2, 7}));
}

TEST(MtxVecProduct, Refusals) {
  TMtx real, cplx, wide;
  Set(real, 2, 2, {1, 2, 3, 4});
  SetC(cplx, 1, 1, {1, 0});
  Set(wide, 2, 3, {1, 2, 3, 4, 5, 6});
  TVec x2, x3, c1, y;
  testutil::Set(x2, {1, 2});
  testutil::Set(x3, {1, 2, 3});
  testutil::SetC(c1, {1, 0});
  EXPECT_TRUE(Raises([&] { y.MatVecProduct(c1, real, mtGeneral, opNone); }, "Complex <> Mtx.Complex"));
  EXPECT_TRUE(Raises([&] { y.MatVecProduct(x2, real, mtHermitian, opNone); }, "MtxType not supported"));
  EXPECT_TRUE(Raises([&] { y.MatVecProduct(x2, real, mtBandGeneral, opNone); }, "MtxType not supported"));
  EXPECT_TRUE(Raises([&] { y.MatVecProduct(c1, cplx, mtBandGeneral, opNone); }, "MtxType not supported"));
  EXPECT_TRUE(Raises([&] { y.MatVecProduct(x3, real, mtGeneral, opNone); }, "Vec.Length <> Mtx.Rows"));
  EXPECT_TRUE(Raises([&] { y.MatVecProduct(x2, wide, mtGeneral, opTrans); }, "Vec.Length <> Mtx.Cols"));
  EXPECT_TRUE(Raises([&] { y.MatVecProduct(x2, wide, mtTriangle, opNone); }, "Quadratic = False"));
  EXPECT_TRUE(Raises([&] { y.MatVecProduct(x2, wide, mtSymmetric, opNone); }, "Quadratic = False"));
}

TEST(MtxMul, EmptyOperandsGiveAnEmptyResult) {
  TMtx a, b, r;
  a.Size(0, 3, true);
  SetC(b, 3, 1, {1, 0, 2, 0, 3, 0});
  Set(r, 2, 2, {1, 2, 3, 4});
  r.Mul(a, b);
  EXPECT_EQ(r.Rows(), 0);
  EXPECT_EQ(r.Cols(), 0);
  EXPECT_TRUE(r.Complex());
}

TEST(MtxMul, PreviousValuesNeverEnter) {
  TMtx a, b, r;
  Label(a, 3, 4, false);
  Label(b, 4, 2, false);
  r.Size(3, 2, false);
  for (double& v : std::span<double>(r.Values(), 6)) v = std::numeric_limits<double>::quiet_NaN();
  r.Mul(a, b);
  for (double v : Doubles(r)) EXPECT_TRUE(std::isfinite(v));
  // For a real product opHerm is opTrans.
  TMtx t1, t2;
  t1.Mul(a, a, opTrans, opNone);
  t2.Mul(a, a, opHerm, opNone);
  EXPECT_EQ(Doubles(t1), Doubles(t2));
}

TEST(MtxMul, Refusals) {
  TMtx r22, r23, r32, c22, r33, self;
  Label(r22, 2, 2, false);
  Label(r23, 2, 3, false);
  Label(r32, 3, 2, false);
  Label(c22, 2, 2, true);
  Label(r33, 3, 3, false);
  TMtx c23, c32;
  Label(c23, 2, 3, true);
  Label(c32, 3, 2, true);
  struct TCase {
    const char* Name;
    std::function<void(TMtx&)> Call;
    const char* Message;
  };
  const std::vector<TCase> cases{
      {"kinds", [&](TMtx& r) { r.Mul(r22, c22); }, "Mtx1.Complex <> Mtx2.Complex"},
      {"self first", [&](TMtx& r) { r.Mul(r, r22); }, "(Self = Mtx1) or (Self = Mtx2)"},
      {"self second", [&](TMtx& r) { r.Mul(r22, r); }, "(Self = Mtx1) or (Self = Mtx2)"},
      {"general N N", [&](TMtx& r) { r.Mul(r23, r23); }, "Mtx1.Cols <> Mtx2.Rows"},
      {"general T N", [&](TMtx& r) { r.Mul(r23, r32, opTrans, opNone); }, "Mtx1.Rows <> Mtx2.Rows"},
      {"general N T", [&](TMtx& r) { r.Mul(r23, r32, opNone, opTrans); }, "Mtx1.Cols <> Mtx2.Cols"},
      {"general T T", [&](TMtx& r) { r.Mul(r23, r23, opTrans, opTrans); }, "Mtx1.Rows <> Mtx2.Cols"},
      {"symmetric first square", [&](TMtx& r) { r.Mul(r23, r33, mtSymmetric, mtGeneral); },
       "Mtx1.Symmetric and not Mtx1.Quadratic"},
      {"symmetric second square", [&](TMtx& r) { r.Mul(r33, r23, mtGeneral, mtSymmPosDef); },
       "Mtx2.Symmetric and not Mtx2.Quadratic"},
      {"hermitian first square", [&](TMtx& r) { r.Mul(c23, c22, mtHermitian, mtGeneral); },
       "Mtx1.Hermitian and not Mtx1.Quadratic"},
      {"hermitian second square", [&](TMtx& r) { r.Mul(c22, c23, mtGeneral, mtHermPosDef); },
       "Mtx2.Hermitian and not Mtx2.Quadratic"},
      {"symmetric shapes", [&](TMtx& r) { r.Mul(r33, r22, mtSymmetric, mtGeneral); }, "Mtx1.Cols <> Mtx2.Rows"},
      {"triangle first square", [&](TMtx& r) { r.Mul(r23, r33, mtTriangle, mtGeneral); },
       "Mtx1.Triangle and not Mtx1.Quadratic"},
      {"triangle second square", [&](TMtx& r) { r.Mul(r33, r32, mtGeneral, mtTriangle); },
       "Mtx2.Triangle and not Mtx2.Quadratic"},
      {"triangle first N", [&](TMtx& r) { r.Mul(r33, r23, mtTriangle, mtGeneral); }, "Mtx1.Cols <> Mtx2.Rows"},
      {"triangle first T real", [&](TMtx& r) { r.Mul(r33, r23, mtTriangle, mtGeneral, opTrans); },
       "Mtx1.Cols <> Mtx2.Rows"},
      {"triangle first T complex", [&](TMtx& r) { r.Mul(c22, c32, mtTriangle, mtGeneral, opHerm); },
       "Mtx1.Rows <> Mtx2.Rows"},
      {"triangle second N", [&](TMtx& r) { r.Mul(r32, r33, mtGeneral, mtTriangle); }, "Mtx1.Cols <> Mtx2.Rows"},
      {"triangle second T", [&](TMtx& r) { r.Mul(r32, r33, mtGeneral, mtTriangle, opNone, opTrans); },
       "Mtx1.Cols <> Mtx2.Cols"},
  };
  for (bool checked : {true, false})
    for (const TCase& c : cases) {
      SCOPED_TRACE(std::string(c.Name) + (checked ? " checked" : " unchecked"));
      Label(self, 2, 2, false);
      self.SetConditionCheck(checked);
      // The kinds and the aliasing are refused with the checks off too: the
      // product would read past an operand or resize the one it reads.
      EXPECT_TRUE(Raises([&] { c.Call(self); }, c.Message));
      EXPECT_EQ(Doubles(self), (D{0, 1, 10, 11}));
    }
}

TEST(MtxMul, AutoMtxTypeLeavesTheOperandsAlone) {
  TMtx low, b, r;
  Set(low, 2, 2, {2, 0, 1, 3});
  low.SetAutoMtxType(true);
  low.SetTriangleForm(tfUpper);
  Set(b, 2, 1, {1, 1});
  r.Mul(low, b);
  EXPECT_EQ(Doubles(r), (D{2, 4}));
  EXPECT_EQ(low.TriangleForm(), tfUpper);
}

}  // namespace
}  // namespace numeric

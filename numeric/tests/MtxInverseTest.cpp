// Covers numeric/MtxInverse.cpp: the inverse by type, the failure texts left
// in the matrix (not raised), the refusals, and the whole-matrix results of
// the symmetric, Hermitian and positive definite paths. Inverses of every
// type, real and complex, are checked against numpy in MtxOracleTest.cpp.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/MtxTestUtil.h"
#include "testing/TestSupport.h"

namespace numeric {
namespace {

using orvel::testing::Raises;
using testutil::Doubles;
using testutil::DoublesNear;
using testutil::Set;
using testutil::SetC;

using D = std::vector<double>;

TEST(MtxInv, General) {
  TMtx a;
  Set(a, 2, 2, {4, 7, 2, 6});
  a.Inv(mtGeneral);
  EXPECT_TRUE(DoublesNear(Doubles(a), {0.6, -0.7, -0.2, 0.4}, 4 * EPS));
  EXPECT_EQ(a.ErrorText(), "");
}

TEST(MtxInv, TriangleKeepsItsZeroTriangle) {
  TMtx a;
  Set(a, 2, 2, {1, 2, 0, 1});
  a.SetTriangleForm(tfUpper);
  a.Inv(mtTriangle);
  EXPECT_EQ(Doubles(a), (D{1, -2, 0, 1}));
  Set(a, 2, 2, {2, 0, 1, 4});
  a.SetTriangleForm(tfLower);
  a.Inv(mtTriangle);
  EXPECT_EQ(Doubles(a), (D{0.5, 0, -0.125, 0.25}));
}

// Both triangles hold the inverse, whichever the routine computed.
TEST(MtxInv, SymmetricTypesFillTheWholeMatrix) {
  for (TTriangleForm form : {tfUpper, tfLower})
    for (TMtxType type : {mtSymmetric, mtSymmPosDef, mtHermitian, mtHermPosDef}) {
      SCOPED_TRACE(std::to_string(type) + (form == tfUpper ? " upper" : " lower"));
      TMtx a;
      Set(a, 2, 2, {2, 1, 1, 2});
      a.SetTriangleForm(form);
      a.Inv(type);
      EXPECT_EQ(a.ErrorText(), "");
      EXPECT_TRUE(DoublesNear(Doubles(a), {2.0 / 3, -1.0 / 3, -1.0 / 3, 2.0 / 3}, 4 * EPS));
    }
  // Hermitian: the mirrored triangle is conjugated.
  for (TTriangleForm form : {tfUpper, tfLower})
    for (TMtxType type : {mtHermitian, mtHermPosDef}) {
      TMtx h;
      SetC(h, 2, 2, {2, 0, 0, 1, 0, -1, 2, 0});  // [[2, i], [-i, 2]], inverse [[2, -i], [i, 2]] / 3
      h.SetTriangleForm(form);
      h.Inv(type);
      EXPECT_TRUE(DoublesNear(Doubles(h), {2.0 / 3, 0, 0, -1.0 / 3, 0, 1.0 / 3, 2.0 / 3, 0}, 4 * EPS));
    }
}

TEST(MtxInv, FailuresAreLeftInTheMatrix) {
  struct TCase {
    const char* Name;
    D Values;
    TMtxType Type;
    std::string Text;
  };
  const std::vector<TCase> cases{
      {"singular LU", {1, 2, 2, 4}, mtGeneral, "LU factorization: U(2,2) = 0 (singular)"},
      {"not positive definite",
       {1, 2, 2, 1},
       mtSymmPosDef,
       "Cholesky: leading minor of order 2is not positive definite"},
      {"singular symmetric", {0, 0, 0, 0}, mtSymmetric, "Bunch Kauffman: singular at D(2,2) = 0"},
      {"singular triangle", {0, 1, 0, 1}, mtTriangle, "Triangle: Erorr at inverse:1"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TMtx a;
    Set(a, 2, 2, c.Values);
    a.Inv(c.Type);
    EXPECT_EQ(a.ErrorText(), c.Text);
    EXPECT_GT(a.LapackStatus(), 0);
  }
  TMtx h;
  SetC(h, 2, 2, {0, 0, 0, 0, 0, 0, 0, 0});
  h.Inv(mtHermitian);
  EXPECT_EQ(h.ErrorText(), "Factorization: U(2,2) = 0 (singular)");
  // The next inverse starts with a clean text.
  Set(h, 1, 1, {4});
  h.Inv(mtGeneral);
  EXPECT_EQ(h.ErrorText(), "");
  EXPECT_EQ(Doubles(h), (D{0.25}));
}

TEST(MtxInv, Refusals) {
  TMtx empty;
  empty.Inv(mtGeneral);
  EXPECT_EQ(empty.ErrorText(), "");
  TMtx wide;
  Set(wide, 2, 3, {1, 2, 3, 4, 5, 6});
  EXPECT_TRUE(Raises([&] { wide.Inv(mtGeneral); }, "Quadratic = False"));
  TMtx a;
  Set(a, 2, 2, {4, 7, 2, 6});
  for (TMtxType band : {mtBandGeneral, mtBandSymmPosDef, mtBandHermPosDef})
    EXPECT_TRUE(Raises([&] { a.Inv(band); }, "MtxType not supported"));
  EXPECT_EQ(Doubles(a), (D{4, 7, 2, 6}));
}

TEST(MtxInv, AutoMtxTypeChoosesThePath) {
  TMtx a;
  Set(a, 2, 2, {2, 0, 1, 4});
  a.SetAutoMtxType(true);
  a.SetTriangleForm(tfUpper);
  a.Inv(mtBandGeneral);  // ignored
  EXPECT_EQ(a.TriangleForm(), tfLower);
  EXPECT_EQ(Doubles(a), (D{0.5, 0, -0.125, 0.25}));
}

}  // namespace
}  // namespace numeric

// Covers numeric/MtxStructure.cpp: structure detection (triangles, symmetry,
// the Hermitian property with its real diagonal, the Cholesky trial) and the
// eigenvalue routine's paths, texts and failure reports. Spectra of every
// type, real and complex, are checked against numpy in MtxOracleTest.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
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
using testutil::Set;
using testutil::SetC;

using D = std::vector<double>;

struct TDetectCase {
  const char* Name;
  bool Complex;
  std::int32_t Rows, Cols;
  std::vector<double> Values;
  TMtxType Plain;     // without the trial
  TMtxType Trialled;  // with it
  TTriangleForm Form;
};

TEST(MtxDetect, Table) {
  const std::vector<TDetectCase> cases{
      {"one element", false, 1, 1, {5}, mtTriangle, mtTriangle, tfLower},
      {"zero", false, 2, 2, {0, 0, 0, 0}, mtTriangle, mtTriangle, tfLower},
      {"upper", false, 2, 2, {1, 2, 0, 3}, mtTriangle, mtTriangle, tfUpper},
      {"lower", false, 2, 2, {1, 0, 2, 3}, mtTriangle, mtTriangle, tfLower},
      {"positive definite", false, 2, 2, {2, 1, 1, 2}, mtSymmetric, mtSymmPosDef, tfUpper},
      {"indefinite", false, 2, 2, {1, 2, 2, 1}, mtSymmetric, mtSymmetric, tfUpper},
      {"general", false, 2, 2, {1, 2, 3, 4}, mtGeneral, mtGeneral, tfUpper},
      {"not square", false, 2, 3, {1, 2, 3, 4, 5, 6}, mtGeneral, mtGeneral, tfLower},
      {"hermitian", true, 2, 2, {1, 0, 0, 1, 0, -1, 1, 0}, mtHermitian, mtHermitian, tfUpper},
      {"hermitian positive", true, 2, 2, {2, 0, 0, 1, 0, -1, 2, 0}, mtHermitian, mtHermPosDef, tfUpper},
      {"complex symmetric", true, 2, 2, {1, 0, 0, 1, 0, 1, 1, 0}, mtSymmetric, mtSymmetric, tfUpper},
      // Not Hermitian, though its Hermitian form would pass the trial.
      {"complex symmetric trial", true, 2, 2, {2, 0, 0, 1, 0, 1, 2, 0}, mtSymmetric, mtSymmetric, tfUpper},
      // Hermitian off the diagonal, but a Hermitian matrix's diagonal is real.
      {"complex diagonal", true, 2, 2, {1, 1, 2, 0, 2, 0, 3, 0}, mtSymmetric, mtSymmetric, tfUpper},
      {"real entries", true, 2, 2, {2, 0, 1, 0, 1, 0, 2, 0}, mtHermitian, mtHermPosDef, tfUpper},
      {"nan pair", false, 2, 2, {1, std::nan(""), std::nan(""), 1}, mtGeneral, mtGeneral, tfUpper},
  };
  for (const TDetectCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TMtx a;
    a.SetIt(c.Rows, c.Cols, c.Complex, c.Values);
    a.SetTriangleForm(tfLower);
    EXPECT_EQ(a.DetectMtxType(false), c.Plain);
    EXPECT_EQ(a.TriangleForm(), c.Form);
    EXPECT_EQ(a.DetectMtxType(true), c.Trialled);
    EXPECT_EQ(a.LapackStatus(), 0);
    // Unchanged, NaNs included.
    EXPECT_EQ(std::memcmp(a.Values(), c.Values.data(), c.Values.size() * sizeof(double)), 0);
  }
}

TEST(MtxEig, DiagonalTakesTheTriangularPath) {
  TMtx a;
  Set(a, 2, 2, {2, 0, 0, 3});
  a.SetAutoMtxType(true);
  TVec d;
  a.Eig(d, mtSymmetric);
  EXPECT_TRUE(d.Complex());
  EXPECT_EQ(DoublesOf(d), (D{2, 0, 3, 0}));
  EXPECT_EQ(a.TriangleForm(), tfLower);
}

TEST(MtxEig, SymmetricPathsAreRealAndSelfStays) {
  TMtx a;
  Set(a, 2, 2, {2, 1, 1, 2});
  TVec d;
  for (TMtxType t : {mtSymmetric, mtSymmPosDef}) {
    a.Eig(d, t);
    EXPECT_FALSE(d.Complex());
    d.SortAscend();
    EXPECT_TRUE(orvel::testing::NearRel(d.Values()[0], 1.0, 4 * EPS));
    EXPECT_TRUE(orvel::testing::NearRel(d.Values()[1], 3.0, 4 * EPS));
    EXPECT_EQ(Doubles(a), (D{2, 1, 1, 2}));
    EXPECT_EQ(a.ErrorText(), "");
  }
}

TEST(MtxEig, Refusals) {
  TMtx empty, wide, c;
  TVec d;
  testutil::Set(d, {7});
  empty.Eig(d, mtGeneral);
  EXPECT_EQ(DoublesOf(d), (D{7}));
  Set(wide, 2, 3, {1, 2, 3, 4, 5, 6});
  EXPECT_TRUE(Raises([&] { wide.Eig(d, mtGeneral); }, "Quadratic = False"));
  SetC(c, 1, 1, {1, 0});
  EXPECT_TRUE(Raises([&] { c.Eig(d, mtSymmetric); }, "Eig: Complex symmetric matrix type not supported. Use general!"));
  EXPECT_TRUE(Raises([&] { c.Eig(d, mtBandGeneral); }, "MtxType not supported"));
  EXPECT_EQ(DoublesOf(d), (D{7}));
}

// A failed eigenvalue iteration is told by the error text and the status,
// on every path: a matrix wrongly typed positive definite is one.
TEST(MtxEig, FailuresAreReported) {
  TMtx a;
  Set(a, 2, 2, {1, 2, 2, 1});
  TVec d;
  a.Eig(d, mtSymmPosDef);
  EXPECT_EQ(a.ErrorText(), "Failed to find eigenvalues!");
  EXPECT_GT(a.LapackStatus(), 0);
  // The next call starts with a clean text.
  a.Eig(d, mtSymmetric);
  EXPECT_EQ(a.ErrorText(), "");
  EXPECT_EQ(a.LapackStatus(), 0);
}

}  // namespace
}  // namespace numeric

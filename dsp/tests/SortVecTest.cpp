// The tolerant sort of roots.
//
// Covers: dsp/SortVec.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <vector>

#include "dsp/LinearSystems.h"
#include "dsp/tests/IirTestUtil.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

using numeric::TVec;
using orvel::testing::Raises;
using testutil::Cx;
using testutil::RootsOf;
using testutil::SetRoots;

std::vector<Cx> Sorted(const std::vector<Cx>& roots, double tol) {
  TVec v;
  SetRoots(v, roots);
  SortVec(v, tol);
  return RootsOf(v);
}

TEST(SortVec, ComplexPairsFirstThenRealRootsAscending) {
  EXPECT_EQ(Sorted({Cx(-1, 0), Cx(-0.5, 0.866), Cx(-0.5, -0.866)}, 1e-10),
            (std::vector<Cx>{Cx(-0.5, -0.866), Cx(-0.5, 0.866), Cx(-1, 0)}));
  // Equal real parts: the larger imaginary magnitude first, each pair negative part first.
  EXPECT_EQ(Sorted({Cx(-1, 0.5), Cx(3, 0), Cx(-1, -2), Cx(-2, 0), Cx(-1, -0.5), Cx(-1, 2)}, 1e-10),
            (std::vector<Cx>{Cx(-1, -2), Cx(-1, 2), Cx(-1, -0.5), Cx(-1, 0.5), Cx(-2, 0), Cx(3, 0)}));
  // Real parts that differ by rounding count as equal, so the pairs stay together.
  const std::vector<Cx> s = Sorted({Cx(-1 + 1e-14, 2), Cx(-1, 1), Cx(-1, -2), Cx(-1 - 1e-14, -1)}, 1e-12);
  EXPECT_EQ(s, (std::vector<Cx>{Cx(-1, -2), Cx(-1 + 1e-14, 2), Cx(-1 - 1e-14, -1), Cx(-1, 1)}));
}

TEST(SortVec, NearlyRealRootsBecomeReal) {
  const std::vector<Cx> s = Sorted({Cx(2, 1e-20), Cx(-3, 1), Cx(-3, -1), Cx(1, -1e-20)}, 1e-10);
  EXPECT_EQ(s, (std::vector<Cx>{Cx(-3, -1), Cx(-3, 1), Cx(1, 0), Cx(2, 0)}));
  EXPECT_FALSE(std::signbit(s[2].imag()));
}

TEST(SortVec, RealVectorsAndRanges) {
  TVec v;
  testutil::SetReal(v, {3, -1, 2, 2, -5});
  SortVec(v, 0.0);
  EXPECT_EQ(testutil::Reals(v), (std::vector<double>{-5, -1, 2, 2, 3}));
  testutil::SetReal(v, {9, 3, 1, 2, 0});
  SortVec(v, 1, 3, 0.0);
  EXPECT_EQ(testutil::Reals(v), (std::vector<double>{9, 1, 2, 3, 0}));
  SetRoots(v, {Cx(5, 0), Cx(1, 1), Cx(1, -1), Cx(-7, 0)});
  SortVec(v, 0, 3, 1e-10);
  EXPECT_EQ(RootsOf(v), (std::vector<Cx>{Cx(1, -1), Cx(1, 1), Cx(5, 0), Cx(-7, 0)}));

  TVec empty;
  SortVec(empty, 1e-10);
  EXPECT_EQ(empty.Length(), 0);
  EXPECT_TRUE(Raises([&] { SortVec(v, 2, 3, 1e-10); }, "SortVec: Index 2, Len 3 outside Length 4"));
  EXPECT_TRUE(Raises([&] { SortVec(v, -1, 1, 1e-10); }, "SortVec: Index -1, Len 1 outside Length 4"));
}

// An ordering that a NaN or a tolerance makes inconsistent still ends, inside the vector.
TEST(SortVec, NaNsAndLargeTolerancesStayInside) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<Cx> roots;
  for (int i = 0; i < 200; ++i) roots.emplace_back(i % 7 == 0 ? nan : std::sin(i) * 3, std::cos(i * 1.3));
  for (double tol : {0.0, 0.5, 10.0}) {
    const std::vector<Cx> s = Sorted(roots, tol);
    EXPECT_EQ(s.size(), roots.size());
  }
  TVec v;
  std::vector<double> reals;
  for (int i = 0; i < 500; ++i) reals.push_back(i % 5 == 0 ? nan : std::sin(i));
  testutil::SetReal(v, reals);
  SortVec(v, 0.0);
  EXPECT_EQ(v.Length(), 500);
}

}  // namespace
}  // namespace dsp

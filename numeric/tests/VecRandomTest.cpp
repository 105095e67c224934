// Covers numeric/VecRandom.cpp and platform/spl/Random.cpp: seeded
// sequences that repeat, continue and restart by the re-initialisation rules,
// the parameterless forms, ResetRandom, and the distributions' moments.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "numeric/Numora.h"
#include "testing/TestSupport.h"
#include "numeric/tests/VecTestUtil.h"

namespace numeric {
namespace {

using testutil::DoublesOf;

TEST(VecRandom, SeededSequencesRepeatContinueAndRestart) {
  TVec a, b;
  a.SetLength(16);
  b.SetLength(16);
  a.RandUniform(12345, 0, 1);
  b.RandUniform(12345, 0, 1);
  const std::vector<double> first = DoublesOf(a);
  EXPECT_EQ(first, DoublesOf(b));
  a.RandUniform(12345, 0, 1);  // continues
  EXPECT_NE(DoublesOf(a), first);
  a.RandUniform(999, 0, 1);  // another seed restarts
  b.RandUniform(999, 0, 1);  // b's seed changed too
  EXPECT_EQ(DoublesOf(a), DoublesOf(b));
  a.ResetRandom();
  a.RandUniform(12345, 0, 1);
  EXPECT_EQ(DoublesOf(a), first);
  for (double x : first) {
    EXPECT_GE(x, 0.0);
    EXPECT_LT(x, 1.0);
  }

  a.RandGauss(7, 1, 2);
  b.RandGauss(7, 1, 2);
  EXPECT_EQ(DoublesOf(a), DoublesOf(b));
  const std::vector<double> g = DoublesOf(a);
  a.RandGauss(7, 1, 2);
  EXPECT_NE(DoublesOf(a), g);
  a.ResetRandom();
  a.RandGauss(7, 1, 2);
  EXPECT_EQ(DoublesOf(a), g);
}

TEST(VecRandom, UnseededFormsFollowTheParameterRules) {
  TVec a;
  a.SetLength(8);
  a.RandGauss(0, 1);
  std::vector<double> previous = DoublesOf(a);
  a.RandGauss(0, 1);  // same parameters: the same sequence goes on
  EXPECT_NE(DoublesOf(a), previous);
  a.RandGauss(0, 3);  // re-initialised: a new random seed
  EXPECT_NE(DoublesOf(a), previous);
  // the parameterless form keeps a generator set up with other parameters:
  // the values still spread like a deviation of 3
  a.SetLength(20000);
  a.RandGauss();
  double s2 = 0;
  for (double x : DoublesOf(a)) s2 += x * x;
  EXPECT_TRUE(orvel::testing::NearRel(std::sqrt(s2 / 20000), 3.0, 0.034));

  TVec u;
  u.Size(20000, true);
  u.RandUniform(-2, 2);
  double sum = 0, lo = 0, hi = 0;
  for (double x : DoublesOf(u)) {
    sum += x;
    lo = std::min(lo, x);
    hi = std::max(hi, x);
  }
  EXPECT_TRUE(orvel::testing::NearScaled(sum / 40000, 0.0, 0.05, 1.0));
  EXPECT_GE(lo, -2.0);
  EXPECT_LT(hi, 2.0);
}

TEST(VecRandom, EmptyVectorDrawsNothing) {
  TVec a;
  EXPECT_NO_THROW(a.RandUniform());
  EXPECT_NO_THROW(a.RandGauss(1, 0, 1));
  // the seeded call above did nothing, so the same seed still restarts
  TVec b, c;
  b.SetLength(4);
  c.SetLength(4);
  a.SetLength(4);
  a.RandGauss(1, 0, 1);
  b.RandGauss(1, 0, 1);
  EXPECT_EQ(DoublesOf(a), DoublesOf(b));
}

TEST(VecRandom, CachedVectorsComeBackWithFreshGenerators) {
  std::vector<double> first;
  {
    TCachedVec v;
    v->SetLength(8);
    v->RandUniform(5, 0, 1);
    first = DoublesOf(*v);
  }
  TCachedVec w;
  w->SetLength(8);
  w->RandUniform(5, 0, 1);
  EXPECT_EQ(DoublesOf(*w), first);
}

}  // namespace
}  // namespace numeric

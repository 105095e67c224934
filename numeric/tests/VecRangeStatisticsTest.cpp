// Covers numeric/VecRangeStatistics.cpp and the logarithms of
// numeric/VecMathFunctions.cpp: empty results, windows and their checks,
// extremes with positions, complex means and the magnitude search's
// tie-break by phase.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/NumericTestUtil.h"
#include "numeric/tests/VecTestUtil.h"
#include "numeric/tests/TransformsTestUtil.h"

namespace numeric {
namespace {

using testutil::Set;
using testutil::SetCplx;

using testutil::Raises;



TEST(VecRangeStatistics, EmptyVectors) {
  TVec v;
  EXPECT_EQ(v.Mean(), 0.0);
  EXPECT_TRUE(std::isnan(v.Sum()));
  EXPECT_TRUE(std::isnan(v.Max()));
  EXPECT_TRUE(std::isnan(v.Min()));
  EXPECT_TRUE(std::isnan(v.NormL2()));
  double m = 5;
  std::int32_t at = 5;
  v.MaxIdx(m, at);
  EXPECT_EQ(m, 5.0);  // untouched
  v.MinIdx(m, at);
  EXPECT_TRUE(std::isnan(m));
  EXPECT_EQ(at, 0);
  v.Size(0, true);
  EXPECT_TRUE(Raises([&] { v.Mean(); }, "Complex = True"));
  EXPECT_TRUE(std::isnan(v.Max()));
}

TEST(VecRangeStatistics, RealWindows) {
  TVec v;
  Set(v, {1, 5, 3});
  double r = 9;
  std::int32_t at = 9;
  v.MaxIdx(r, at, 1, 2);
  EXPECT_EQ(r, 5.0);
  EXPECT_EQ(at, 1);
  v.MinIdx(r, at, 1, 2);
  EXPECT_EQ(r, 3.0);
  EXPECT_EQ(at, 2);
  v.MaxIdx(r, at, 1, 0);
  EXPECT_TRUE(std::isnan(r));
  EXPECT_EQ(at, -1);
  v.Mean(r, 1, 2);
  EXPECT_EQ(r, 4.0);
  v.Sum(r, 0, 3);
  EXPECT_EQ(r, 9.0);
  r = 7;
  v.Sum(r, 0, 0);
  EXPECT_EQ(r, 7.0);
  v.Sum(r, -1, 2);
  EXPECT_EQ(r, 7.0);
  EXPECT_EQ(v.Mean(), 3.0);
  EXPECT_EQ(v.Sum(), 9.0);
  EXPECT_EQ(v.Max(), 5.0);
  EXPECT_EQ(v.Min(), 1.0);
  v.MaxIdx(r, at);
  EXPECT_EQ(at, 1);
  EXPECT_EQ(Set(v, {3, 4}).NormL2(), 5.0);
  EXPECT_EQ(v.RealRMS(0, 2), std::sqrt(12.5));
  EXPECT_TRUE(std::isnan(v.RealRMS(1, 0)));
  Set(v, {2, 3, 4}).Product(r, 0, 3);
  EXPECT_EQ(r, 24.0);
  v.Product(r, 1, 0);
  EXPECT_EQ(r, 0.0);
  v.SortAscend();

  struct Case {
    const char* what;
    std::function<void()> call;
    const char* message;
  };
  TVec z;
  SetCplx(z, {{1, 1}});
  const std::vector<Case> cases = {
      {"Mean past", [&] { v.Mean(r, 2, 2); }, "Index+Len > Length"},
      {"Mean complex", [&] { z.Mean(r, 0, 1); }, "Complex = True"},
      {"Sum past", [&] { v.Sum(r, 2, 2); }, "Index+Len > Length"},
      {"Sum complex", [&] { z.Sum(); }, "Complex = True"},
      {"Product past", [&] { v.Product(r, 2, 2); }, "Index+Len > Length"},
      {"RealRMS past", [&] { v.RealRMS(2, 2); }, "Len+Index > Length"},
      {"RealRMS complex", [&] { z.RealRMS(0, 1); }, "Complex = True"},
      {"MaxIdx past", [&] { v.MaxIdx(r, at, 2, 2); }, "Len+Index > Length"},
      {"MinIdx complex", [&] { z.MinIdx(r, at, 0, 1); }, "Complex = True"},
      {"Max complex", [&] { z.Max(); }, "Complex = True"},
      {"MaxIdx negative", [&] { v.MaxIdx(r, at, -1, 2); }, "(Len < 0) or (Index < 0)"},
  };
  for (const Case& k : cases) EXPECT_TRUE(Raises(k.call, k.message)) << k.what;
  // unchecked, the literal checks of the window sum go, the bounds stay
  v.SetConditionCheck(false);
  EXPECT_TRUE(Raises([&] { v.Sum(r, 2, 2); }, "Sum: window outside the vector"));
}

TEST(VecRangeStatistics, ComplexMeansAndMagnitudes) {
  TVec z;
  TCplx s;
  SetCplx(z, {{1, 1}, {2, -1}}).CSum(s);
  EXPECT_EQ(s.Re, 3.0);
  EXPECT_EQ(s.Im, 0.0);
  z.CMean(s, 1, 1);
  EXPECT_EQ(s.Re, 2.0);
  z.CMean(s, -1, 1);
  EXPECT_EQ(s.Re, 0.0);
  EXPECT_TRUE(Raises([&] { z.CMean(s, 1, 2); }, "Index + Len > Length"));
  TVec r;
  Set(r, {1});
  EXPECT_TRUE(Raises([&] { r.CMean(s); }, "Complex = False"));

  SetCplx(z, {{1, 0}, {0, 1}, {-1, 0}, {0, -1}});
  EXPECT_EQ(z.MaxMag(s, 0, 4), 2);
  EXPECT_EQ(s.Re, -1.0);
  EXPECT_EQ(z.MinMag(s, 0, 4), 3);
  EXPECT_EQ(s.Im, -1.0);
  EXPECT_EQ(z.MaxMag(s, 1, 1), 1);
  EXPECT_EQ(z.MaxMag(s, 1, 0), 0);
  EXPECT_TRUE(std::isnan(s.Re));
  SetCplx(z, {{3, 4}, {0, 1}, {5, 0}});
  EXPECT_EQ(z.MinMag(s, 0, 3), 1);
  EXPECT_EQ(z.MaxMag(s, 0, 3), 0);  // |3+4i| = |5|: the larger phase angle
  EXPECT_TRUE(Raises([&] { z.MaxMag(s, 2, 2); }, "Len+Index > Length"));
  EXPECT_TRUE(Raises([&] { r.MaxMag(s, 0, 1); }, "Complex = False"));
}

TEST(VecRangeStatistics, Logarithms) {
  TVec v;
  Set(v, {1, 10, 100}).Log10();
  EXPECT_EQ(v.Values()[2], 2.0);
  SetCplx(v, {{10, 0}}).Log10();
  EXPECT_TRUE(testutil::NearRel(v.CValues()[0], TCplx{1, 0}, 2 * EPS));
  Set(v, {8}).LogN(2);
  EXPECT_TRUE(testutil::NearRel(v.Values()[0], 3.0, 2 * EPS));
  EXPECT_TRUE(Raises([&] { v.LogN(0); }, "N = 0"));
  TVec x;
  testutil::Load(x, testutil::Oracle("cfun_x"), true);
  x.Log10();
  EXPECT_TRUE(testutil::NearScaled(x, testutil::Oracle("cfun_log10"), 8 * EPS));
}

}  // namespace
}  // namespace numeric

// Covers numeric/VecMathFunctions.cpp: real and complex sine, cosine,
// tangent and unit phasors, their ranges and checks. Complex values against
// numpy are in VecTransformsOracleTest.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/NumericTestUtil.h"
#include "numeric/tests/VecTestUtil.h"

namespace numeric {
namespace {

using testutil::Set;
using testutil::SetCplx;

using testutil::NearRel;
using testutil::Raises;


TEST(VecMathFunctions, ComplexIdentities) {
  TVec v;
  v.Size(1, true);
  v.CValues()[0] = {0, 1};
  v.Sin();
  EXPECT_EQ(v.CValues()[0].Re, 0.0);
  EXPECT_TRUE(NearRel(v.CValues()[0].Im, std::sinh(1.0), EPS));
  v.CValues()[0] = {0, 1};
  v.Cos();
  EXPECT_TRUE(NearRel(v.CValues()[0].Re, std::cosh(1.0), EPS));
  EXPECT_EQ(v.CValues()[0].Im, 0.0);
  EXPECT_TRUE(std::signbit(v.CValues()[0].Im));
  v.CValues()[0] = {PI / 4, 0};
  v.Tan();
  EXPECT_TRUE(NearRel(v.CValues()[0], TCplx{1, 0}, 4 * EPS));
}

TEST(VecMathFunctions, RealRangesAndPhasors) {
  TVec x, y;
  Set(x, {0, PI / 2, PI});
  y.Sin(x);
  EXPECT_EQ(y.Values()[1], 1.0);
  Set(y, {7, 7, 7});
  y.Cos(x, 1, 0, 2);
  EXPECT_TRUE(std::fabs(y.Values()[0]) < 1e-16);
  EXPECT_EQ(y.Values()[1], -1.0);
  EXPECT_EQ(y.Values()[2], 7.0);
  y.Sin(x, 0, -1, 2);  // a negative offset does nothing
  EXPECT_EQ(y.Values()[2], 7.0);
  y.Tan(x);
  EXPECT_TRUE(std::fabs(y.Values()[2]) < 1e-15);

  TVec z;
  z.Expj(x);
  ASSERT_TRUE(z.Complex());
  EXPECT_EQ(z.CValues()[0].Re, 1.0);
  EXPECT_TRUE(NearRel(z.CValues()[1], TCplx{0, 1}, EPS));
}

TEST(VecMathFunctions, Checks) {
  TVec x, y, z;
  Set(x, {1, 2, 3});
  Set(y, {1, 2});
  z.Size(2, true);
  struct Case {
    const char* what;
    std::function<void()> call;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"Sin past X", [&] { y.Sin(x, 2, 0, 2); }, "XIndex + Len) > X.Length"},
      {"Sin past Self", [&] { y.Sin(x, 0, 1, 2); }, "(Index + Len) > Length"},
      {"Sin kinds", [&] { z.Sin(x, 0, 0, 2); }, "X.Complex <> Complex"},
      {"Cos past X", [&] { y.Cos(x, 2, 0, 2); }, "XIndex + Len) > X.Length"},
      {"Expj into Omega", [&] { x.Expj(x); }, "Self = Omega"},
      {"Expj range into Omega", [&] { x.Expj(x, 0, 0, 1); }, "Self = Omega"},
      {"Expj past Omega", [&] { z.Expj(y, 1, 0, 2); }, "OmegaIndex + Len) > Omega.Length"},
      {"Expj past Self", [&] { z.Expj(x, 0, 1, 2); }, "(Index + Len) > Length"},
      {"Expj complex Omega", [&] { y.Size(2, true); x.Size(2, true); z.Expj(y, 0, 0, 2); }, "Omega.Complex := True"},
      {"Expj real Self", [&] { Set(x, {1, 2}); Set(y, {0, 0}); y.Expj(x, 0, 0, 2); }, "Complex = False"},
  };
  for (const Case& k : cases) EXPECT_TRUE(Raises(k.call, k.message)) << k.what;

  // Without checks the literal texts go, but no write may leave the vector.
  Set(x, {0, 0, 0, 0});
  Set(y, {1, 1, 1});
  y.SetConditionCheck(false);
  EXPECT_TRUE(Raises([&] { y.Expj(x, 0, 0, 2); }, "Expj: range outside the vectors"));
  EXPECT_EQ(y.Values()[2], 1.0);
}

}  // namespace
}  // namespace numeric

// Covers numeric/Probabilities.cpp and numeric/SpecialFuncs.cpp: identities,
// end points, refused arguments, and the iteration caps that keep degenerate
// arguments from looping forever. The values against scipy are in
// SpecialFuncsOracleTest.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "numeric/MathCore.h"
#include "numeric/Probabilities.h"
#include "numeric/SpecialFuncs.h"
#include "testing/TestSupport.h"

namespace numeric {
namespace {

using orvel::testing::NearRel;
using orvel::testing::NearScaled;
using orvel::testing::Raises;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Probabilities, NormalCDFInvEndsAndInvalidArguments) {
  EXPECT_EQ(NormalCDFInv(0.5, 3.0, 2.0), 3.0);
  EXPECT_TRUE(NearRel(NormalCDFInv(0.975, 0.0, 1.0), 1.959963984540054, 1e-14));
  EXPECT_EQ(NormalCDFInv(0.0, 0.0, 1.0), -INF);
  EXPECT_EQ(NormalCDFInv(1.0, 0.0, 1.0), INF);
  for (const auto& [p, sd] : {std::pair{1.5, 1.0}, {-0.1, 1.0}, {0.5, 0.0}, {0.5, -1.0}, {NAN, 1.0}, {0.5, NAN}})
    EXPECT_TRUE(std::isnan(NormalCDFInv(p, 0.0, sd))) << p << " " << sd;
}

TEST(Probabilities, ErfInvInvertsErf) {
  EXPECT_EQ(ErfInv(0.0), 0.0);
  EXPECT_TRUE(NearRel(ErfInv(0.5), 0.4769362762044699, 1e-14));
  EXPECT_EQ(ErfInv(-0.9), -ErfInv(0.9));
  for (double y : {1e-200, 1e-12, 0.2, 0.69999, 0.7, 0.70001, 0.93, 0.9999})
    EXPECT_TRUE(NearRel(Erf(ErfInv(y)), y, 4 * EPS)) << y;
  EXPECT_TRUE(std::isnan(ErfInv(NAN)));
}

// The inverse is infinite at +-1; a finite "largest double" there would be
// taken for a real abscissa by a caller.
TEST(Probabilities, ErfInvAtPlusMinusOneIsInfinite) {
  EXPECT_EQ(ErfInv(1.0), INF);
  EXPECT_EQ(ErfInv(-1.0), -INF);
  EXPECT_TRUE(Raises([] { ErfInv(1.01); }, "abs(y) > 0"));
  EXPECT_TRUE(Raises([] { ErfInv(-INF); }, "abs(y) > 0"));
}

TEST(Probabilities, ErfIsOddAndReachesItsLimits) {
  EXPECT_EQ(Erf(0.0), 0.0);
  for (double x : {1e-300, 1e-120, 0.3, 1.0, 2.5, 7.0}) EXPECT_EQ(Erf(-x), -Erf(x)) << x;
  // Tiny arguments keep their digits: X^2 would underflow on the way.
  EXPECT_TRUE(NearRel(Erf(1e-200), 1.1283791670955126e-200, 2 * EPS));
  EXPECT_EQ(Erf(INF), 1.0);
  EXPECT_EQ(Erf(-INF), -1.0);
  EXPECT_TRUE(std::isnan(Erf(NAN)));
}

TEST(Probabilities, GammaPIdentitiesAndInvalidArguments) {
  for (double x : {1e-8, 0.1, 1.0, 1.99, 2.0, 5.0, 30.0})
    EXPECT_TRUE(NearRel(GammaP(1.0, x), -std::expm1(-x), 1e-14)) << x;
  // P(A, X) + Q(A, X) = 1 across the switch from the series to the fraction.
  for (double a : {0.5, 3.0, 40.0})
    EXPECT_TRUE(NearRel(IncGammaSeries(a, a + 1.5) + IncGammaCF(a, a + 1.5), 1.0, 1e-14)) << a;
  EXPECT_EQ(GammaP(0.0, 1.0), 0.0);
  EXPECT_EQ(GammaP(-1.0, 1.0), 0.0);
  EXPECT_EQ(GammaP(1.0, 0.0), 0.0);
  EXPECT_EQ(GammaP(NAN, 1.0), 0.0);
  EXPECT_EQ(GammaP(2.0, INF), 1.0);
}

// Arguments for which the series or the fraction never meets its test end
// at the iteration cap with NaN instead of hanging.
TEST(Probabilities, SeriesAndFractionStopAtTheirCap) {
  EXPECT_TRUE(std::isnan(GammaP(INF, 1.0)));
  EXPECT_TRUE(std::isnan(IncGammaSeries(INF, 1.0)));
  EXPECT_TRUE(std::isnan(IncGammaCF(1.0, NAN)));
  // A huge A next to X needs about sqrt(A) terms: far more than the cap.
  EXPECT_TRUE(std::isnan(IncGammaSeries(1e12, 1e12 - 1.0)));
}

TEST(SpecialFuncs, EllipCompleteEndsAndRefusedParameters) {
  double E = 0.0;
  EXPECT_TRUE(NearRel(EllipComplete(0.0, EPS, E), PI / 2, EPS));
  EXPECT_TRUE(NearRel(E, PI / 2, EPS));
  EXPECT_EQ(EllipComplete(1.0, EPS, E), INF);
  EXPECT_EQ(E, 1.0);
  EXPECT_EQ(EllipComplete(0.3), EllipComplete(0.3, EPS, E));
  for (double m : {1.5, -0.1, kNaN})
    EXPECT_TRUE(Raises([&] { EllipComplete(m, EPS, E); }, "EllipComplete: (m < 0) or (1 < m)")) << m;
}

// A tolerance of zero, below zero or NaN would never be met; it counts as EPS.
TEST(SpecialFuncs, TolerancesBelowEpsCountAsEps) {
  double E0 = 0.0, E1 = 0.0;
  for (double tol : {0.0, -1.0, kNaN, 1e-300}) {
    EXPECT_EQ(EllipComplete(0.7, tol, E0), EllipComplete(0.7, EPS, E1)) << tol;
    EXPECT_EQ(E0, E1) << tol;
    double s0, c0, d0, s1, c1, d1;
    EllipJacoby(1.3, 0.7, tol, s0, c0, d0);
    EllipJacoby(1.3, 0.7, EPS, s1, c1, d1);
    EXPECT_EQ(s0, s1) << tol;
    EXPECT_EQ(c0, c1) << tol;
    EXPECT_EQ(d0, d1) << tol;
  }
}

TEST(SpecialFuncs, EllipJacobyLimitsAndIdentities) {
  double Sn, Cn, Dn;
  for (double u : {-2.0, 0.0, 0.4, 3.0, 40.0}) {
    EllipJacoby(u, 0.0, EPS, Sn, Cn, Dn);
    EXPECT_TRUE(NearScaled(Sn, std::sin(u), 2 * EPS, 1.0)) << u;
    EXPECT_TRUE(NearScaled(Cn, std::cos(u), 2 * EPS, 1.0)) << u;
    EXPECT_EQ(Dn, 1.0);
    EllipJacoby(u, 1.0, EPS, Sn, Cn, Dn);
    EXPECT_EQ(Sn, std::tanh(u)) << u;
    EXPECT_TRUE(NearRel(Cn, 1.0 / std::cosh(u), 2 * EPS)) << u;
    EXPECT_EQ(Dn, Cn) << u;
  }
  for (double m : {1e-9, 0.2, 0.5, 0.8, 0.99, 1.0 - 1e-10})
    for (double u : {-5.0, 0.1, 1.0, 2.2, 17.0}) {
      EllipJacoby(u, m, EPS, Sn, Cn, Dn);
      EXPECT_TRUE(NearScaled(Sn * Sn + Cn * Cn, 1.0, 4 * EPS, 1.0)) << m << " " << u;
      EXPECT_TRUE(NearScaled(Dn * Dn + m * Sn * Sn, 1.0, 4 * EPS, 1.0)) << m << " " << u;
    }
  for (double m : {1.5, -0.1, kNaN})
    EXPECT_TRUE(Raises([&] { EllipJacoby(1.0, m, EPS, Sn, Cn, Dn); }, "EllipJacoby: (m < 0) or (1 < m)")) << m;
}

}  // namespace
}  // namespace numeric

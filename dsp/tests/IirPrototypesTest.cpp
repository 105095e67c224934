// The analog lowpass prototypes: their normalisation (where 1 rad/s falls on each), their gains,
// the shapes of small orders, and the elliptic prototype's refusals.
//
// Covers: dsp/IirPrototypes.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "dsp/IIRFilters.h"
#include "dsp/tests/IirTestUtil.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

using numeric::TVec;
using orvel::testing::NearRel;
using orvel::testing::Raises;
using testutil::ButterRootError;
using testutil::ChebyshevRootError;
using testutil::ChebyshevZeroError;
using testutil::Cx;
using testutil::Db;
using testutil::kU;
using testutil::Magnitude;
using testutil::Pow10m1;
using testutil::RelativeBounds;
using testutil::RootsOf;
using testutil::SameRoots;

// Each bound is the prototype's own rounding (IirTestUtil.h) against exact values, times a
// margin of 2.
TEST(IirPrototypes, SmallOrdersHaveTheirTextbookRoots) {
  TVec z, p;
  double k = 0.0;
  ButterPrototype(1, z, p, k);
  EXPECT_EQ(RootsOf(p), std::vector<Cx>{Cx(-1, 0)});
  EXPECT_EQ(z.Length(), 0);
  EXPECT_EQ(k, 1.0);
  ButterPrototype(2, z, p, k);
  const double butter = 2.0 * ButterRootError();
  EXPECT_TRUE(SameRoots(RootsOf(p), {Cx(-M_SQRT1_2, M_SQRT1_2), Cx(-M_SQRT1_2, -M_SQRT1_2)}, butter));
  // The gain is the product of the two roots: their errors add, and the product rounds within 4u.
  EXPECT_TRUE(NearRel(k, 1.0, 2.0 * butter + 4.0 * kU));

  // 3.0103 dB of ripple: a first-order Chebyshev I is the Butterworth one.
  const double rp = 10.0 * std::log10(2.0);
  Cheby1Prototype(1, z, p, rp, k);
  const double cheby = 2.0 * ChebyshevRootError(std::sqrt(Pow10m1(rp)), 1);
  EXPECT_TRUE(SameRoots(RootsOf(p), {Cx(-1, 0)}, cheby));
  EXPECT_TRUE(NearRel(k, 1.0, cheby + 4.0 * kU));

  Cheby2Prototype(3, z, p, 40.0, k);
  EXPECT_TRUE(SameRoots(RootsOf(z), {Cx(0, 1 / std::cos(M_PI / 6)), Cx(0, 1 / std::cos(5 * M_PI / 6))},
                        2.0 * ChebyshevZeroError(3) + 2.0 * kU));
  EXPECT_EQ(p.Length(), 3);

  // Bessel: the reverse Bessel polynomials s + 1, s^2 + 3s + 3, s^3 + 6s^2 + 15s + 15, scaled to
  // a geometric mean of 1.
  BesselPrototype(1, z, p, k);
  EXPECT_TRUE(SameRoots(RootsOf(p), {Cx(-1, 0)}, 2.0 * 6.0 * kU));
  EXPECT_EQ(k, 1.0);
  BesselPrototype(2, z, p, k);
  const double s3 = std::sqrt(3.0);
  const std::vector<Cx> two{Cx(-1.5, s3 / 2) / s3, Cx(-1.5, -s3 / 2) / s3};
  EXPECT_TRUE(SameRoots(RootsOf(p), two, testutil::BesselRootErrors(2, two)));
  // A root of s^3 + 6s^2 + 15s + 15 off by d leaves a residual of |p'(s)| d, and the evaluation
  // rounds within 8u of its terms' sum.
  BesselPrototype(3, z, p, k);
  const std::vector<Cx> three = RootsOf(p);
  const std::vector<double> errors = testutil::BesselRootErrors(3, three);
  for (std::size_t i = 0; i < three.size(); ++i) {
    const double w = std::cbrt(15.0);
    const Cx s = three[i] * w;
    const double terms = std::pow(std::abs(s), 3) + 6.0 * std::norm(s) + 15.0 * std::abs(s) + 15.0;
    const double bound = std::abs(3.0 * s * s + 12.0 * s + 15.0) * 2.0 * (errors[i] + 2.0 * kU * std::abs(three[i])) * w +
                         8.0 * kU * terms;
    EXPECT_LE(std::abs(s * s * s + 6.0 * s * s + 15.0 * s + 15.0), bound) << three[i];
  }
}

// Where 1 rad/s falls: the Butterworth -3.0103 dB point, the Chebyshev I ripple's bottom, the
// Chebyshev II stopband edge, and unit gain at DC. Each root within its rounding (times a margin
// of 2) moves the response by ResponseBound, 8.69 dB per unit of relative error; the elliptic
// prototype's edges are checked against scipy's, whose modulus bounds them, in IirOracleTest.
TEST(IirPrototypes, OneRadianFallsWhereEachKindPutsIt) {
  const double dbPerUnit = 20.0 / std::log(10.0);
  // The logarithm and its scaling round within 4u of the decibels.
  auto rounding = [](double db) { return 4.0 * kU * (1.0 + std::fabs(db)); };
  for (int n = 1; n <= 12; ++n) {
    SCOPED_TRACE("N " + std::to_string(n));
    TVec z, p;
    double k = 0.0;
    auto bound = [&](double zeroError, double poleError, Cx x) {
      const std::vector<Cx> zeros = RootsOf(z), poles = RootsOf(p);
      const std::vector<double> zb = RelativeBounds(zeros, 2.0 * zeroError), pb = RelativeBounds(poles, 2.0 * poleError);
      // The gain is the product of the roots' own errors.
      double gain = 0.0;
      for (std::size_t i = 0; i < zeros.size(); ++i) gain += zb[i] / std::abs(zeros[i]) + 4.0 * kU;
      for (std::size_t i = 0; i < poles.size(); ++i) gain += pb[i] / std::abs(poles[i]) + 4.0 * kU;
      return testutil::ResponseBound(zeros, zb, poles, pb, gain, x);
    };
    ButterPrototype(n, z, p, k);
    EXPECT_NEAR(Db(Magnitude(z, p, k, true, 1.0)), -10 * std::log10(2.0),
                dbPerUnit * bound(0.0, ButterRootError(), Cx(0, 1)) + rounding(3.0103));
    EXPECT_NEAR(Magnitude(z, p, k, true, 0.0), 1.0, bound(0.0, ButterRootError(), 0.0));

    // The ripple's bottom at the passband edge; at DC the top for odd orders, the bottom for even.
    Cheby1Prototype(n, z, p, 0.5, k);
    const double cheby1 = ChebyshevRootError(std::sqrt(Pow10m1(0.5)), n);
    EXPECT_NEAR(Db(Magnitude(z, p, k, true, 1.0)), -0.5, dbPerUnit * bound(0.0, cheby1, Cx(0, 1)) + rounding(0.5));
    EXPECT_NEAR(Db(Magnitude(z, p, k, true, 0.0)), n % 2 ? 0.0 : -0.5, dbPerUnit * bound(0.0, cheby1, 0.0) + rounding(0.5));

    // The stopband edge of the Chebyshev II prototype.
    Cheby2Prototype(n, z, p, 45.0, k);
    const double cheby2 = ChebyshevRootError(1.0 / std::sqrt(Pow10m1(45.0)), n);
    EXPECT_NEAR(Db(Magnitude(z, p, k, true, 1.0)), -45.0,
                dbPerUnit * bound(ChebyshevZeroError(n), cheby2, Cx(0, 1)) + rounding(45.0));
    EXPECT_NEAR(Magnitude(z, p, k, true, 0.0), 1.0, bound(ChebyshevZeroError(n), cheby2, 0.0));

    // The Bessel roots' sizes multiply to 1: their logarithms sum to 0, each within its root's
    // relative error and the logarithm's rounding.
    BesselPrototype(n, z, p, k);
    const std::vector<Cx> poles = RootsOf(p);
    const std::vector<double> errors = testutil::BesselRootErrors(n, poles);
    double logMagnitudes = 0.0, logBound = 0.0;
    for (std::size_t i = 0; i < poles.size(); ++i) {
      logMagnitudes += std::log(std::abs(poles[i]));
      logBound += 2.0 * errors[i] / std::abs(poles[i]) + 4.0 * kU * (1.0 + std::fabs(std::log(std::abs(poles[i]))));
    }
    EXPECT_NEAR(logMagnitudes, 0.0, logBound);
    EXPECT_EQ(k, 1.0);
  }
}

TEST(IirPrototypes, EllipticRootCountsFollowTheOrder) {
  TVec z, p;
  double k = 0.0;
  EllipPrototype(3, z, p, 1.0, 40.0, k);
  EXPECT_EQ(z.Length(), 2);
  ASSERT_EQ(p.Length(), 3);
  int real = 0;
  for (const Cx& r : RootsOf(p)) real += r.imag() == 0.0;
  EXPECT_EQ(real, 1);
  EllipPrototype(4, z, p, 1.0, 40.0, k);
  EXPECT_EQ(z.Length(), 4);
  EXPECT_EQ(p.Length(), 4);

  // Order 1 is the first-order Chebyshev I prototype.
  TVec z1, p1;
  double k1 = 0.0;
  EllipPrototype(1, z, p, 0.7, 40.0, k);
  Cheby1Prototype(1, z1, p1, 0.7, k1);
  // -sqrt(1 / (10^(Rp/10) - 1)) within 4u against the Chebyshev form's own rounding.
  const double bound = 4.0 * kU + ChebyshevRootError(std::sqrt(Pow10m1(0.7)), 1);
  EXPECT_TRUE(SameRoots(RootsOf(p), RootsOf(p1), 2.0 * bound));
  EXPECT_TRUE(NearRel(k, k1, 2.0 * bound));
  EXPECT_EQ(z.Length(), 0);
}

TEST(IirPrototypes, EllipticRefusesBeforeAnythingChanges) {
  TVec z, p;
  testutil::SetRoots(z, {Cx(7, 7)});
  testutil::SetRoots(p, {Cx(8, 8)});
  double k = 9.0;
  EXPECT_TRUE(Raises([&] { EllipPrototype(51, z, p, 1.0, 40.0, k); }, "not (1 < Order < MaxIirOrder)"));
  EXPECT_TRUE(Raises([&] { EllipPrototype(0, z, p, 1.0, 40.0, k); }, "not (1 < Order < MaxIirOrder)"));
  // A ripple so small against the attenuation that the selectivity is 0 in double precision.
  EXPECT_TRUE(Raises([&] { EllipPrototype(4, z, p, 1e-10, 200.0, k); }, "Ripple out of range!"));
  EXPECT_EQ(RootsOf(z), std::vector<Cx>{Cx(7, 7)});
  EXPECT_EQ(RootsOf(p), std::vector<Cx>{Cx(8, 8)});
  EXPECT_EQ(k, 9.0);
  EXPECT_NO_THROW(EllipPrototype(50, z, p, 1.0, 40.0, k));
  EXPECT_EQ(p.Length(), 50);
}

// The poles of theta_N sum to -N (N + 1) / 2 before the scaling (the polynomial's two leading
// coefficients). Each pole is off by its bound (IirTestUtil.h: the polish in quadruple precision,
// whose condition grows to 1e27 at order 50), and the sum rounds within N u of its terms.
TEST(IirPrototypes, BesselPolesStayAccurateUpToTheLargestOrder) {
  for (int n : {20, 30, 40, 50}) {
    TVec z, p;
    double k = 0.0;
    BesselPrototype(n, z, p, k);
    double f = 1.0;
    for (int i = n + 1; i <= 2 * n; ++i) f *= i;
    const double w = std::pow(f, 1.0 / n) / 2.0;
    const std::vector<Cx> poles = RootsOf(p);
    const std::vector<double> errors = testutil::BesselRootErrors(n, poles);
    Cx sum = 0.0;
    double bound = 0.0;
    for (std::size_t i = 0; i < poles.size(); ++i) {
      sum += poles[i] * w;
      // The root's error, and the scaling back by w (4u) twice over.
      bound += 2.0 * (errors[i] + 8.0 * kU * std::abs(poles[i])) * w + n * kU * std::abs(poles[i]) * w;
    }
    EXPECT_NEAR(sum.real(), -n * (n + 1) / 2.0, bound) << n;
    EXPECT_NEAR(sum.imag(), 0.0, bound) << n;
  }
}

}  // namespace
}  // namespace dsp

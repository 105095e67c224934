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
using testutil::Cx;
using testutil::Magnitude;
using testutil::RootsOf;
using testutil::SameRoots;

double Db(double gain) { return 20.0 * std::log10(gain); }

TEST(IirPrototypes, SmallOrdersHaveTheirTextbookRoots) {
  TVec z, p;
  double k = 0.0;
  ButterPrototype(1, z, p, k);
  EXPECT_TRUE(SameRoots(RootsOf(p), {Cx(-1, 0)}, 1e-15));
  EXPECT_EQ(z.Length(), 0);
  EXPECT_TRUE(NearRel(k, 1.0, 1e-15));
  ButterPrototype(2, z, p, k);
  EXPECT_TRUE(SameRoots(RootsOf(p), {Cx(-M_SQRT1_2, M_SQRT1_2), Cx(-M_SQRT1_2, -M_SQRT1_2)}, 1e-15));
  EXPECT_TRUE(NearRel(k, 1.0, 1e-15));

  // 3.0103 dB of ripple: a first-order Chebyshev I is the Butterworth one.
  Cheby1Prototype(1, z, p, 10.0 * std::log10(2.0), k);
  EXPECT_TRUE(SameRoots(RootsOf(p), {Cx(-1, 0)}, 1e-15));
  EXPECT_TRUE(NearRel(k, 1.0, 1e-15));

  Cheby2Prototype(3, z, p, 40.0, k);
  EXPECT_TRUE(SameRoots(RootsOf(z), {Cx(0, 1 / std::cos(M_PI / 6)), Cx(0, 1 / std::cos(5 * M_PI / 6))}, 1e-15));
  EXPECT_EQ(p.Length(), 3);

  // Bessel: the reverse Bessel polynomials s + 1, s^2 + 3s + 3, s^3 + 6s^2 + 15s + 15, scaled to
  // a geometric mean of 1.
  BesselPrototype(1, z, p, k);
  EXPECT_TRUE(SameRoots(RootsOf(p), {Cx(-1, 0)}, 1e-15));
  EXPECT_EQ(k, 1.0);
  BesselPrototype(2, z, p, k);
  const double s3 = std::sqrt(3.0);
  EXPECT_TRUE(SameRoots(RootsOf(p), {Cx(-1.5, s3 / 2) / s3, Cx(-1.5, -s3 / 2) / s3}, 1e-15));
  BesselPrototype(3, z, p, k);
  for (const Cx& r : RootsOf(p)) {
    const Cx s = r * std::cbrt(15.0);
    EXPECT_LT(std::abs(s * s * s + 6.0 * s * s + 15.0 * s + 15.0), 1e-12) << r;
  }
}

TEST(IirPrototypes, OneRadianFallsWhereEachKindPutsIt) {
  for (int n = 1; n <= 12; ++n) {
    SCOPED_TRACE("N " + std::to_string(n));
    TVec z, p;
    double k = 0.0;
    ButterPrototype(n, z, p, k);
    EXPECT_NEAR(Db(Magnitude(z, p, k, true, 1.0)), -10 * std::log10(2.0), 1e-12);
    EXPECT_NEAR(Magnitude(z, p, k, true, 0.0), 1.0, 1e-14);

    // The ripple's bottom at the passband edge; at DC the top for odd orders, the bottom for even.
    Cheby1Prototype(n, z, p, 0.5, k);
    EXPECT_NEAR(Db(Magnitude(z, p, k, true, 1.0)), -0.5, 1e-11);
    EXPECT_NEAR(Db(Magnitude(z, p, k, true, 0.0)), n % 2 ? 0.0 : -0.5, 1e-11);

    // The stopband edge of the Chebyshev II prototype.
    Cheby2Prototype(n, z, p, 45.0, k);
    EXPECT_NEAR(Db(Magnitude(z, p, k, true, 1.0)), -45.0, 1e-9);
    EXPECT_NEAR(Magnitude(z, p, k, true, 0.0), 1.0, 1e-13);

    EllipPrototype(n, z, p, 1.0, 50.0, k);
    EXPECT_NEAR(Db(Magnitude(z, p, k, true, 1.0)), -1.0, 1e-6);
    EXPECT_NEAR(Db(Magnitude(z, p, k, true, 0.0)), n % 2 ? 0.0 : -1.0, 1e-6);

    BesselPrototype(n, z, p, k);
    double logMagnitudes = 0.0;
    for (const Cx& r : RootsOf(p)) logMagnitudes += std::log(std::abs(r));
    EXPECT_NEAR(logMagnitudes, 0.0, 1e-12);
    EXPECT_NEAR(Magnitude(z, p, k, true, 0.0), 1.0, 1e-12);
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
  EXPECT_TRUE(SameRoots(RootsOf(p), RootsOf(p1), 1e-14));
  EXPECT_TRUE(NearRel(k, k1, 1e-14));
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

TEST(IirPrototypes, BesselPolesStayAccurateUpToTheLargestOrder) {
  // The poles of theta_N sum to -N (N + 1) / 2 and multiply to (2N)! / (2^N N!) before the
  // scaling; both follow from the polynomial's two outer coefficients.
  for (int n : {20, 30, 40, 50}) {
    TVec z, p;
    double k = 0.0;
    BesselPrototype(n, z, p, k);
    double f = 1.0;
    for (int i = n + 1; i <= 2 * n; ++i) f *= i;
    const double w = std::pow(f, 1.0 / n) / 2.0;
    Cx sum = 0.0;
    for (const Cx& r : RootsOf(p)) sum += r * w;
    EXPECT_NEAR(sum.real(), -n * (n + 1) / 2.0, n > 40 ? 1e-4 : 1e-9) << n;
    EXPECT_NEAR(sum.imag(), 0.0, n > 40 ? 1e-4 : 1e-9) << n;
  }
}

}  // namespace
}  // namespace dsp

// The design pipelines: what each road returns, the gains each road fixes, agreement of the
// roads up to the largest order, and every refusal.
//
// Covers: dsp/IirDesign.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <functional>
#include <string>
#include <vector>

#include "dsp/IIRFilters.h"
#include "dsp/LinearSystems.h"
#include "dsp/tests/IirTestUtil.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

using numeric::TVec;
using orvel::testing::NearRel;
using orvel::testing::Raises;
using testutil::Cx;
using testutil::Magnitude;
using testutil::Response;
using testutil::RootsOf;
using testutil::SameRoots;

const TIirFrequencyTransform kRoads[] = {ftStateSpaceAnalog, ftZeroPoleAnalog, ftZeroPoleDiscrete};

// One design of a method by its code (0 Butterworth, 1 Chebyshev I, 2 Chebyshev II, 3 elliptic,
// 6 Bessel) with Rp 1 and Rs 40.
double Design(int kind, std::int32_t n, const std::vector<double>& cutoffs, TFilterType type, bool analog, TVec& z,
              TVec& p, double& k, TIirFrequencyTransform road) {
  switch (kind) {
    case 0: return ButterZp(n, cutoffs, type, analog, z, p, k, road);
    case 1: return Cheby1Zp(n, cutoffs, 1.0, type, analog, z, p, k, road);
    case 2: return Cheby2Zp(n, cutoffs, 40.0, type, analog, z, p, k, road);
    case 3: return EllipZp(n, cutoffs, 1.0, 40.0, type, analog, z, p, k, road);
    default: return BesselZp(n, cutoffs, type, analog, z, p, k, road);
  }
}

double DesignTf(int kind, std::int32_t n, const std::vector<double>& cutoffs, TFilterType type, bool analog,
                TVec& b, TVec& a, TIirFrequencyTransform road) {
  switch (kind) {
    case 0: return ButterTf(n, cutoffs, type, analog, b, a, road);
    case 1: return Cheby1Tf(n, cutoffs, 1.0, type, analog, b, a, road);
    case 2: return Cheby2Tf(n, cutoffs, 40.0, type, analog, b, a, road);
    case 3: return EllipTf(n, cutoffs, 1.0, 40.0, type, analog, b, a, road);
    default: return BesselTf(n, cutoffs, type, analog, b, a, road);
  }
}

TEST(IirDesign, RoadsReturnTheirCutoff) {
  TVec z, p, z2, p2, b, a;
  double k = 0.0, k2 = 0.0;
  EXPECT_DOUBLE_EQ(ButterZp(2, std::vector<double>{0.5}, fltLowpass, false, z, p, k, ftZeroPoleAnalog), 4.0);
  EXPECT_TRUE(SameRoots(RootsOf(z), {Cx(-1, 0), Cx(-1, 0)}, 0.0));
  EXPECT_EQ(ButterZp(2, std::vector<double>{0.5}, fltLowpass, false, z2, p2, k2, ftZeroPoleDiscrete), 0.5);
  EXPECT_TRUE(SameRoots(RootsOf(p2), RootsOf(p), 1e-15));
  EXPECT_TRUE(NearRel(k2, k, 1e-15));
  EXPECT_DOUBLE_EQ(ButterZp(3, std::vector<double>{0.2, 0.4}, fltBandpass, false, z, p, k, ftStateSpaceAnalog),
                   std::sqrt(Prewarp(0.2, 2) * Prewarp(0.4, 2)));
  EXPECT_EQ(ButterZp(3, std::vector<double>{1.0, 4.0}, fltBandpass, true, z, p, k, ftStateSpaceAnalog), 2.0);
  // The transfer functions return the zero-pole design's value, and are real and monic.
  for (int kind : {0, 1, 2, 3, 6})
    for (TIirFrequencyTransform road : kRoads) {
      const double wn = Design(kind, 3, {0.2, 0.4}, fltBandstop, false, z, p, k, road);
      EXPECT_EQ(DesignTf(kind, 3, {0.2, 0.4}, fltBandstop, false, b, a, road), wn);
      EXPECT_FALSE(b.Complex());
      EXPECT_FALSE(a.Complex());
      EXPECT_EQ(a.Length(), 7);
      EXPECT_EQ(a.Values()[0], 1.0);
    }
}

TEST(IirDesign, DigitalBandstopOnTheStateSpaceRoadHasItsZerosOnTheCircle) {
  TVec z, p;
  double k = 0.0;
  const double wn = ButterZp(4, std::vector<double>{0.2, 0.4}, fltBandstop, false, z, p, k, ftStateSpaceAnalog);
  const double theta = 2.0 * std::atan2(wn, 4.0);
  ASSERT_EQ(z.Length(), 8);
  for (const Cx& r : RootsOf(z)) {
    EXPECT_NEAR(std::abs(r), 1.0, 1e-15);
    EXPECT_NEAR(std::abs(std::arg(r)), theta, 1e-15);
  }
  EXPECT_NEAR(Magnitude(z, p, k, false, theta / M_PI), 0.0, 1e-15);
  EXPECT_NEAR(Magnitude(z, p, k, false, 0.0), 1.0, 1e-13);
}

// The reference gain of the roads that fix one: 1 at DC for a lowpass and a bandstop, at
// Nyquist for a highpass and at the centre for a bandpass, also for even-order Chebyshev I and
// elliptic designs, whose ripple puts them 10^(-Rp/20) below the peaks elsewhere.
TEST(IirDesign, GainIsOneAtTheReferenceWhereTheRoadFixesIt) {
  const std::vector<double> band{0.2, 0.4};
  const double centre = Unwarp(std::sqrt(Prewarp(0.2, 2) * Prewarp(0.4, 2)), 2);
  for (int kind : {1, 3})
    for (std::int32_t n : {3, 4}) {
      TVec z, p;
      double k = 0.0;
      SCOPED_TRACE("kind " + std::to_string(kind) + " N " + std::to_string(n));
      Design(kind, n, band, fltBandstop, false, z, p, k, ftZeroPoleAnalog);
      EXPECT_NEAR(Magnitude(z, p, k, false, 0.0), 1.0, 1e-14);
      Design(kind, n, {0.3}, fltLowpass, false, z, p, k, ftZeroPoleDiscrete);
      EXPECT_NEAR(Magnitude(z, p, k, false, 0.0), 1.0, 1e-14);
      Design(kind, n, {0.3}, fltHighpass, false, z, p, k, ftZeroPoleDiscrete);
      EXPECT_NEAR(Magnitude(z, p, k, false, 1.0), 1.0, 1e-14);
      Design(kind, n, band, fltBandpass, false, z, p, k, ftZeroPoleDiscrete);
      EXPECT_NEAR(Magnitude(z, p, k, false, centre), 1.0, 1e-13);
      Design(kind, n, band, fltBandstop, false, z, p, k, ftZeroPoleDiscrete);
      EXPECT_NEAR(Magnitude(z, p, k, false, 0.0), 1.0, 1e-14);
      // The analog bandstop too: gain 1 at zero frequency.
      Design(kind, n, {1.0, 3.0}, fltBandstop, true, z, p, k, ftZeroPoleAnalog);
      EXPECT_NEAR(Magnitude(z, p, k, true, 0.0), 1.0, 1e-14);
    }
}

// A bandpass of order 2 centred at a quarter of Nyquist: the products of the root distances at
// the centre are both nearly imaginary there, so their real parts alone gave a gain of noise.
TEST(IirDesign, BandpassCentredAtAQuarterHasUnitGainThere) {
  const double w1 = 0.15;
  const double w2 = 2.0 / M_PI * std::atan(std::pow(std::tan(M_PI / 8), 2) / std::tan(M_PI * w1 / 2));
  for (int kind : {0, 6}) {
    TVec z, p;
    double k = 0.0;
    Design(kind, 2, {w1, w2}, fltBandpass, false, z, p, k, ftZeroPoleDiscrete);
    EXPECT_NEAR(Magnitude(z, p, k, false, 0.25), 1.0, 1e-13) << kind;
  }
}

// Up to the largest order the state-space road and the zero-pole roads give the same filter,
// but for the gain that the analog zero-pole road fixes on even-order bandstops. Not compared:
// analog Chebyshev I band designs of order 50, whose 100 poles are eigenvalues of a state matrix
// that holds them to 1e-2 only near the band edges (the zero-pole roads agree with scipy there).
TEST(IirDesign, RoadsAgreeUpToTheLargestOrder) {
  for (bool analog : {false, true})
    for (int kind : {0, 1, 2, 3, 6})
      for (int t = 0; t < 4; ++t)
        for (std::int32_t n : {10, 25, 50}) {
          if (kind == 3 && n > 25) continue;
          if (analog && kind == 1 && t >= 2 && n == 50) continue;
          const auto type = static_cast<TFilterType>(t);
          const std::vector<double> cutoffs = t < 2 ? std::vector<double>{analog ? 2.0 : 0.3}
                                                    : std::vector<double>{analog ? 1.0 : 0.2, analog ? 3.0 : 0.4};
          SCOPED_TRACE("analog " + std::to_string(analog) + " kind " + std::to_string(kind) + " type " +
                       std::to_string(t) + " N " + std::to_string(n));
          TVec zs, ps, za, pa, zd, pd;
          double ks = 0.0, ka = 0.0, kd = 0.0;
          Design(kind, n, cutoffs, type, analog, zs, ps, ks, ftStateSpaceAnalog);
          Design(kind, n, cutoffs, type, analog, za, pa, ka, ftZeroPoleAnalog);
          if (!analog) Design(kind, n, cutoffs, type, analog, zd, pd, kd, ftZeroPoleDiscrete);
          const bool evenRipple = (kind == 1 || kind == 3) && n % 2 == 0;
          const double fixed = evenRipple ? std::pow(10.0, 1.0 / 20.0) : 1.0;
          for (double w : {0.05, 0.15, 0.25, 0.35, 0.45, 0.6, 0.8}) {
            const Cx x = analog ? Cx(0.0, 5.0 * w) : std::polar(1.0, M_PI * w);
            const Cx hs = Response(zs, ps, ks, x);
            const double scale = std::max(1e-3, std::abs(hs));
            const double tol = n == 50 ? 1e-4 : kind == 3 ? 1e-6 : 1e-7;
            EXPECT_LE(std::abs(Response(za, pa, ka, x) / (type == fltBandstop ? fixed : 1.0) - hs), tol * scale) << w;
            if (!analog) {
              EXPECT_LE(std::abs(Response(zd, pd, kd, x) / fixed - hs), tol * scale) << w;
            }
          }
        }
}

TEST(IirDesign, RefusalsOfEveryRoad) {
  TVec z, p, b, a;
  double k = 0.0;
  const std::vector<double> one{0.3}, two{0.2, 0.4}, three{0.1, 0.2, 0.3};
  for (int kind : {0, 1, 2, 3, 6}) {
    SCOPED_TRACE(kind);
    // No road designs analog filters discretely, Butterworth and Bessel included.
    EXPECT_TRUE(Raises([&] { Design(kind, 3, one, fltLowpass, true, z, p, k, ftZeroPoleDiscrete); },
                       "Analog not supported with ftZeroPoleDiscrete"));
    EXPECT_TRUE(Raises([&] { DesignTf(kind, 3, one, fltLowpass, true, b, a, ftZeroPoleDiscrete); },
                       "Analog not supported with ftZeroPoleDiscrete"));
    for (TIirFrequencyTransform road : kRoads) {
      EXPECT_TRUE(Raises([&] { Design(kind, 3, two, fltLowpass, false, z, p, k, road); }, "(Length(CutoffFreq) <> 1)"));
      EXPECT_TRUE(Raises([&] { Design(kind, 3, one, fltBandpass, false, z, p, k, road); }, "(Length(CutoffFreq) <> 2)"));
      EXPECT_TRUE(Raises([&] { Design(kind, 3, one, static_cast<TFilterType>(4), false, z, p, k, road); },
                         "FilterType not suported!"));
      EXPECT_TRUE(Raises([&] { DesignTf(kind, 3, two, static_cast<TFilterType>(7), false, b, a, road); },
                         "FilterType not suported!"));
    }
  }
  EXPECT_TRUE(Raises([&] { Design(1, 51, one, fltLowpass, false, z, p, k, ftStateSpaceAnalog); }, "Order > MaxIirOrder"));
  EXPECT_TRUE(Raises([&] { Design(2, 3, three, fltBandpass, false, z, p, k, ftStateSpaceAnalog); },
                     "CutoffFreq.Length > 2"));
  for (TIirFrequencyTransform road : kRoads)
    EXPECT_TRUE(Raises([&] { Design(3, 51, one, fltLowpass, false, z, p, k, road); },
                       road == ftStateSpaceAnalog ? "Order > MaxIirOrder" : "not (1 < Order < MaxIirOrder)"));
}

}  // namespace
}  // namespace dsp

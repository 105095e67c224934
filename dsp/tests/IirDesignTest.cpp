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
#include "dsp/tests/RoadBounds.h"
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
using testutil::EigenRounding;
using testutil::EigenvalueBounds;
using testutil::FrobeniusNorm;
using testutil::kU;
using testutil::NearestBound;
using testutil::RoadSystem;
using testutil::SameRoots;
using testutil::ShapeBound;
using testutil::SystemResponseBound;
using testutil::SystemRounding;
using testutil::TBand;
using testutil::TBoundedRoot;
using testutil::TRoad;
using testutil::TRoadSystem;
using testutil::ZeroPoleAnalogGainBound;
using testutil::ZeroBounds;
using testutil::ZeroPoleRootBound;
using testutil::ZeroPoleRootBounds;

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

TRoad RunRoad(int kind, std::int32_t n, const std::vector<double>& cutoffs, TFilterType type, bool analog,
              TIirFrequencyTransform road) {
  TVec z, p;
  TRoad r;
  Design(kind, n, cutoffs, type, analog, z, p, r.k, road);
  r.z = RootsOf(z);
  r.p = RootsOf(p);
  return r;
}

Cx ResponseOf(const TRoad& r, Cx x) {
  Cx h(r.k, 0.0);
  for (const Cx& z : r.z) h *= x - z;
  for (const Cx& p : r.p) h /= x - p;
  return h;
}

std::vector<double> Scaled(const std::vector<double>& bounds, double factor) {
  std::vector<double> out;
  for (double b : bounds) out.push_back(factor * b);
  return out;
}

TEST(IirDesign, RoadsReturnTheirCutoff) {
  TVec z, p, z2, p2, b, a;
  double k = 0.0, k2 = 0.0;
  EXPECT_DOUBLE_EQ(ButterZp(2, std::vector<double>{0.5}, fltLowpass, false, z, p, k, ftZeroPoleAnalog), 4.0);
  EXPECT_TRUE(SameRoots(RootsOf(z), {Cx(-1, 0), Cx(-1, 0)}, 0.0));
  EXPECT_EQ(ButterZp(2, std::vector<double>{0.5}, fltLowpass, false, z2, p2, k2, ftZeroPoleDiscrete), 0.5);
  // Both zero-pole roads within their bounds (RoadBounds.h), times a margin of 2.
  const TBand band{fltLowpass, 4.0, 0.0, false};
  const std::vector<Cx> poles = RootsOf(p);
  EXPECT_TRUE(SameRoots(RootsOf(p2), poles, Scaled(ZeroPoleRootBounds(band, poles), 2.0 * 2.0)));
  // The analog road's gain carries the bilinear transform's product, the discrete road's is the
  // reciprocal of the response at z = 1: each root's bound over its distance to 1, 8u per root.
  TRoad analogRoad{RootsOf(z), poles, k};
  EXPECT_TRUE(NearRel(k2, k,
                      2.0 * (ZeroPoleAnalogGainBound(band, analogRoad, false) +
                             ShapeBound(poles, ZeroPoleRootBounds(band, poles), 1.0) + 8.0 * kU * 4.0)));
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

// The road places the zeros at e^(+-i theta), cos and sin of theta within u each (so |r| within
// 2u of 1 and the angle within 4u theta); the response there has a factor of its own zeros, each
// within a few u of the point: below 8u times the rest of the response. The gain comes from the
// system's response at z = 1 (RoadBounds.h), and the products round within 8u per root.
TEST(IirDesign, DigitalBandstopOnTheStateSpaceRoadHasItsZerosOnTheCircle) {
  TVec z, p;
  double k = 0.0;
  const double wn = ButterZp(4, std::vector<double>{0.2, 0.4}, fltBandstop, false, z, p, k, ftStateSpaceAnalog);
  const double theta = 2.0 * std::atan2(wn, 4.0);
  ASSERT_EQ(z.Length(), 8);
  for (const Cx& r : RootsOf(z)) {
    EXPECT_NEAR(std::abs(r), 1.0, 2.0 * kU);
    EXPECT_NEAR(std::abs(std::arg(r)), theta, 4.0 * kU * theta);
  }
  const Cx at = std::polar(1.0, M_PI * (theta / M_PI));
  TRoad road{RootsOf(z), RootsOf(p), k};
  road.z.erase(std::remove_if(road.z.begin(), road.z.end(), [](Cx r) { return r.imag() > 0.0; }), road.z.end());
  EXPECT_LE(Magnitude(z, p, k, false, theta / M_PI), 8.0 * kU * std::abs(ResponseOf(road, at)));
  TVec z0, p0;
  double k0 = 0.0;
  ButterPrototype(4, z0, p0, k0);
  TRoadSystem system;
  RoadSystem(z0, p0, k0, fltBandstop, wn, Prewarp(0.4, 2) - Prewarp(0.2, 2), false, system);
  Cx h;
  const double bound = SystemResponseBound(system, 1.0, h, SystemRounding(system)) / std::abs(h) + 8.0 * kU * 16.0;
  EXPECT_NEAR(Magnitude(z, p, k, false, 0.0), 1.0, 2.0 * bound);
}

// The reference gain of the roads that fix one: 1 at DC for a lowpass and a bandstop, at
// Nyquist for a highpass and at the centre for a bandpass, also for even-order Chebyshev I and
// elliptic designs, whose ripple puts them 10^(-Rp/20) below the peaks elsewhere. The gain is
// the reciprocal of the response there from the same roots: the products round within 8u per
// root, the magnitude 4u more. The analog bandstop's gain at zero frequency is that of its roots
// alone, each within its bound (RoadBounds.h).
TEST(IirDesign, GainIsOneAtTheReferenceWhereTheRoadFixesIt) {
  const std::vector<double> band{0.2, 0.4};
  const double centre = Unwarp(std::sqrt(Prewarp(0.2, 2) * Prewarp(0.4, 2)), 2);
  for (int kind : {1, 3})
    for (std::int32_t n : {3, 4}) {
      TVec z, p;
      double k = 0.0;
      SCOPED_TRACE("kind " + std::to_string(kind) + " N " + std::to_string(n));
      auto fixed = [&] { return 2.0 * (8.0 * kU * (z.Length() + p.Length()) + 4.0 * kU); };
      Design(kind, n, band, fltBandstop, false, z, p, k, ftZeroPoleAnalog);
      EXPECT_NEAR(Magnitude(z, p, k, false, 0.0), 1.0, fixed());
      Design(kind, n, {0.3}, fltLowpass, false, z, p, k, ftZeroPoleDiscrete);
      EXPECT_NEAR(Magnitude(z, p, k, false, 0.0), 1.0, fixed());
      Design(kind, n, {0.3}, fltHighpass, false, z, p, k, ftZeroPoleDiscrete);
      EXPECT_NEAR(Magnitude(z, p, k, false, 1.0), 1.0, fixed());
      Design(kind, n, band, fltBandpass, false, z, p, k, ftZeroPoleDiscrete);
      EXPECT_NEAR(Magnitude(z, p, k, false, centre), 1.0, fixed());
      Design(kind, n, band, fltBandstop, false, z, p, k, ftZeroPoleDiscrete);
      EXPECT_NEAR(Magnitude(z, p, k, false, 0.0), 1.0, fixed());
      // The analog bandstop too: gain 1 at zero frequency.
      Design(kind, n, {1.0, 3.0}, fltBandstop, true, z, p, k, ftZeroPoleAnalog);
      const TBand analogBand{fltBandstop, std::sqrt(3.0), 2.0, true};
      const std::vector<Cx> zeros = RootsOf(z), poles = RootsOf(p);
      EXPECT_NEAR(Magnitude(z, p, k, true, 0.0), 1.0,
                  2.0 * (ShapeBound(zeros, ZeroPoleRootBounds(analogBand, zeros), 0.0) +
                         ShapeBound(poles, ZeroPoleRootBounds(analogBand, poles), 0.0) + 4.0 * kU));
    }
}

// A bandpass of order 2 centred at a quarter of Nyquist: the products of the root distances at
// the centre are both nearly imaginary there, so their real parts alone gave a gain of noise.
// The road fixes the gain at its own centre, within a few u of 0.25: the response moves by the
// step over each root's distance, and the products round within 8u per root.
TEST(IirDesign, BandpassCentredAtAQuarterHasUnitGainThere) {
  const double w1 = 0.15;
  const double w2 = 2.0 / M_PI * std::atan(std::pow(std::tan(M_PI / 8), 2) / std::tan(M_PI * w1 / 2));
  const double centre = Unwarp(std::sqrt(Prewarp(w1, 2) * Prewarp(w2, 2)), 2);
  for (int kind : {0, 6}) {
    TVec z, p;
    double k = 0.0;
    Design(kind, 2, {w1, w2}, fltBandpass, false, z, p, k, ftZeroPoleDiscrete);
    const Cx at = std::polar(1.0, M_PI * 0.25), fixedAt = std::polar(1.0, M_PI * centre);
    double bound = 4.0 * kU;
    for (const std::vector<Cx>& roots : {RootsOf(z), RootsOf(p)})
      for (const Cx& r : roots) bound += std::abs(at - fixedAt) / std::abs(at - r) + 8.0 * kU;
    EXPECT_NEAR(Magnitude(z, p, k, false, 0.25), 1.0, 2.0 * bound) << kind;
  }
}

// Up to the largest order the state-space road and the zero-pole roads give the same filter, but
// for the gain that the analog zero-pole road fixes on even-order bandstops; each is compared
// within the bounds of RoadBounds.h, with a margin of 2 on their sum. The state-space road's
// poles are eigenvalues of its state matrix, whose condition reaches 1e13 at order 50
// (Butterworth, Chebyshev I and Bessel designs): there they hold no more than 1e-2 near the band
// edges, and the response computed from them is not defined to better than that. What is well
// defined at every order is compared as well: each pole within its own condition, and the
// state-space system's own response, a linear solve.
TEST(IirDesign, RoadsAgreeUpToTheLargestOrder) {
  const double margin = 2.0;
  for (bool analog : {false, true})
    for (int kind : {0, 1, 2, 3, 6})
      for (int t = 0; t < 4; ++t)
        for (std::int32_t n : {10, 25, 50}) {
          if (kind == 3 && n > 25) continue;
          const auto type = static_cast<TFilterType>(t);
          const std::vector<double> cutoffs = t < 2 ? std::vector<double>{analog ? 2.0 : 0.3}
                                                    : std::vector<double>{analog ? 1.0 : 0.2, analog ? 3.0 : 0.4};
          SCOPED_TRACE("analog " + std::to_string(analog) + " kind " + std::to_string(kind) + " type " +
                       std::to_string(t) + " N " + std::to_string(n));
          const TRoad ss = RunRoad(kind, n, cutoffs, type, analog, ftStateSpaceAnalog);
          TRoad za = RunRoad(kind, n, cutoffs, type, analog, ftZeroPoleAnalog);
          const TRoad zd = analog ? TRoad{} : RunRoad(kind, n, cutoffs, type, analog, ftZeroPoleDiscrete);
          const bool evenRipple = (kind == 1 || kind == 3) && n % 2 == 0;
          const bool fixedGain = evenRipple && type == fltBandstop;
          if (fixedGain) za.k /= std::pow(10.0, 1.0 / 20.0);

          double u[2] = {0.0, 0.0};
          for (std::size_t i = 0; i < cutoffs.size(); ++i) u[i] = analog ? cutoffs[i] : Prewarp(cutoffs[i], 2.0);
          const double wo = t < 2 ? u[0] : std::sqrt(u[0] * u[1]), bw = t < 2 ? 0.0 : u[1] - u[0];
          const TBand band{type, wo, bw, analog};
          TVec z0, p0;
          double k0 = 0.0;
          testutil::MakePrototype(kind, n, 1.0, 40.0, z0, p0, k0);
          TRoadSystem system;
          RoadSystem(z0, p0, k0, type, wo, bw, analog, system);
          const double rounding = EigenRounding(system), systemRounding = SystemRounding(system);
          const double size = FrobeniusNorm(system.A, system.B, system.C, system.D);

          // The roots: the state-space poles within their eigenvalue bounds, its zeros within
          // the pencil's (Chebyshev II, elliptic; the zeros of a cascade are its sections', so
          // they keep the rounding of the sections as the poles do) or placed by closed forms;
          // the zero-pole roads' within their own.
          const std::vector<double> zb = ZeroPoleRootBounds(band, za.z), pb = ZeroPoleRootBounds(band, za.p);
          const std::vector<TBoundedRoot> poles = EigenvalueBounds(system.A, rounding);
          const bool computedZeros = kind == 2 || kind == 3;
          const std::vector<TBoundedRoot> zeros =
              computedZeros ? ZeroBounds(system, za.z.size(), rounding) : std::vector<TBoundedRoot>{};
          auto poleBound = [&](Cx r) { return NearestBound(poles, r); };
          auto zeroBound = [&](Cx r) { return computedZeros ? NearestBound(zeros, r) : 16.0 * kU * (1.0 + std::abs(r)); };
          std::vector<double> poleSum, zeroSum, ssPoleBounds, ssZeroBounds;
          for (std::size_t i = 0; i < za.p.size(); ++i) poleSum.push_back(margin * (poleBound(za.p[i]) + pb[i]));
          for (std::size_t i = 0; i < za.z.size(); ++i) zeroSum.push_back(margin * (zeroBound(za.z[i]) + zb[i]));
          for (const Cx& r : ss.p) ssPoleBounds.push_back(poleBound(r));
          for (const Cx& r : ss.z) ssZeroBounds.push_back(zeroBound(r));
          EXPECT_TRUE(SameRoots(ss.p, za.p, poleSum));
          EXPECT_TRUE(SameRoots(ss.z, za.z, zeroSum));
          // The discrete road's constants round more of the band's data (DiscreteDataError).
          const double discreteError = testutil::DiscreteDataError(cutoffs);
          const std::vector<double> zdZeroBounds = ZeroPoleRootBounds(band, zd.z, discreteError, testutil::zpDiscreteRoad),
                                    zdPoleBounds = ZeroPoleRootBounds(band, zd.p, discreteError, testutil::zpDiscreteRoad);
          if (!analog) {
            std::vector<double> zeroPair, polePair;
            const std::vector<double> zdz = ZeroPoleRootBounds(band, za.z, discreteError, testutil::zpDiscreteRoad),
                                      zdp = ZeroPoleRootBounds(band, za.p, discreteError, testutil::zpDiscreteRoad);
            for (std::size_t i = 0; i < za.z.size(); ++i) zeroPair.push_back(margin * (zb[i] + zdz[i]));
            for (std::size_t i = 0; i < za.p.size(); ++i) polePair.push_back(margin * (pb[i] + zdp[i]));
            EXPECT_TRUE(SameRoots(zd.p, za.p, polePair));
            EXPECT_TRUE(SameRoots(zd.z, za.z, zeroPair));
          }

          // The reference point x0, where the discrete road fixes the gain and the state-space
          // road of Butterworth, Chebyshev I and Bessel designs takes it from the system's
          // response; an analog highpass's is infinity, where the response is the gain itself.
          const bool atInfinity = analog && type == fltHighpass;
          const Cx x0 = analog ? (type == fltBandpass ? Cx(0.0, wo) : Cx(0.0, 0.0))
                               : std::polar(1.0, type == fltBandpass ? 2.0 * std::atan2(wo, 4.0)
                                                 : type == fltHighpass ? M_PI
                                                                       : 0.0);
          auto gainAt = [&](const TRoad& r) { return atInfinity ? Cx(r.k, 0.0) : ResponseOf(r, x0); };
          auto rootsAt = [&](const TRoad& r, const std::vector<double>& zeroBounds, const std::vector<double>& poleBounds) {
            return atInfinity ? 0.0 : ShapeBound(r.z, zeroBounds, x0) + ShapeBound(r.p, poleBounds, x0);
          };
          const double zaAt0 = ZeroPoleAnalogGainBound(band, za, fixedGain) + rootsAt(za, zb, pb);
          double ssAt0;
          if (computedZeros) {
            // The gain read from the staircase: D, or the first Markov parameter C A^(r-1) B of
            // relative degree r, exact for a system within the rounding of the reduction; a
            // change dS moves C A^(r-1) B by at most (r + 1) |S|^r |dS|.
            const double r = static_cast<double>(ss.p.size()) - static_cast<double>(ss.z.size());
            ssAt0 = systemRounding * (r + 1.0) * std::pow(size, r + 1.0) / std::fabs(ss.k) +
                    rootsAt(ss, ssZeroBounds, ssPoleBounds);
          } else if (atInfinity) {
            ssAt0 = systemRounding * size / std::fabs(system.D);
          } else {
            // The gain that gives the placed zeros and the poles the system's response at x0:
            // the response there is the system's, and the products round within 8u per root.
            Cx h;
            ssAt0 = SystemResponseBound(system, x0, h, systemRounding) / std::abs(h) +
                    8.0 * kU * static_cast<double>(ss.z.size() + ss.p.size());
          }
          EXPECT_LE(std::abs(gainAt(ss) / gainAt(za) - 1.0), margin * (ssAt0 + zaAt0)) << "gain";
          if (!analog) {
            // The discrete road gives its design (every even-order Chebyshev I and elliptic one
            // too) unit gain at x0 by construction, 8u per root; a Bessel prototype's gain of 1
            // is that of its poles within their bounds, which the analog road carries.
            double besselGain = 0.0;
            if (kind == 6) {
              const std::vector<Cx> p0s = RootsOf(p0);
              const std::vector<double> errors = testutil::BesselRootErrors(n, p0s);
              for (std::size_t i = 0; i < p0s.size(); ++i) besselGain += errors[i] / std::abs(p0s[i]);
            }
            const double zdAt0 = 8.0 * kU * static_cast<double>(zd.z.size() + zd.p.size());
            EXPECT_LE(std::abs(gainAt(zd) / (evenRipple ? std::pow(10.0, 1.0 / 20.0) : 1.0) / gainAt(za) - 1.0),
                      margin * (zdAt0 + zaAt0 + besselGain))
                << "discrete road's gain";
          }

          // The responses against the reference point's: the gains drop out, the roots' bounds
          // remain, at x and at x0.
          for (double w : {0.05, 0.15, 0.25, 0.35, 0.45, 0.6, 0.8}) {
            const Cx x = analog ? Cx(0.0, 5.0 * w) : std::polar(1.0, M_PI * w);
            auto shape = [&](const TRoad& r) { return ResponseOf(r, x) / gainAt(r); };
            auto rootsBound = [&](const TRoad& r, const std::vector<double>& zeroBounds,
                                  const std::vector<double>& poleBounds) {
              return ShapeBound(r.z, zeroBounds, x) + ShapeBound(r.p, poleBounds, x) + rootsAt(r, zeroBounds, poleBounds);
            };
            const Cx expected = shape(za);
            const double zpBound = rootsBound(za, zb, pb);
            EXPECT_LE(std::abs(shape(ss) / expected - 1.0),
                      margin * (rootsBound(ss, ssZeroBounds, ssPoleBounds) + zpBound))
                << w;
            if (!analog) {
              EXPECT_LE(std::abs(shape(zd) / expected - 1.0), margin * (rootsBound(zd, zdZeroBounds, zdPoleBounds) + zpBound))
                  << w << " (discrete road)";
            }
            // The state-space system's own response, a linear solve at x and at x0 (at infinity
            // the response is D, within the rounding of the system): its errors are absolute,
            // |hx - H(x)| <= ex, so the ratio is off by (ex + |hx / h0| e0) / |h0|.
            Cx hx, h0 = system.D;
            const double ex = SystemResponseBound(system, x, hx, systemRounding);
            const double e0 = atInfinity ? systemRounding * size : SystemResponseBound(system, x0, h0, systemRounding);
            EXPECT_LE(std::abs(hx / h0 - expected),
                      margin * ((ex + std::abs(hx / h0) * e0) / std::abs(h0) + std::abs(expected) * zpBound))
                << w << " (system)";
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

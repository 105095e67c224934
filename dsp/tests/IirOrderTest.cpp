// Order estimation: the orders meet the requirements (designs with the estimated order and
// cutoffs reach the attenuation and keep the ripple), the Chebyshev II order is rounded up as a
// whole, the bandstop's moved edges, and every refusal.
//
// Covers: dsp/IirOrder.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "dsp/IIRFilters.h"
#include "dsp/tests/IirTestUtil.h"
#include "dsp/tests/PrototypeBounds.h"
#include "dsp/tests/RoadBounds.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

using numeric::TVec;
using orvel::testing::NearRel;
using orvel::testing::Raises;
using testutil::Db;
using testutil::kU;
using testutil::Magnitude;

using TOrderFn = std::function<std::int32_t(std::span<const double>, TFilterType, double, double, std::span<double>,
                                            bool)>;
const TOrderFn kEstimators[] = {ButterOrder, Cheby1Order, Cheby2Order, EllipOrder};

// How far the decibels of a digital zero-pole design's response at w can be off: its prototype's
// roots and gain within their bounds (PrototypeBounds.h), carried to the design's roots with the
// road's own 16u by their condition (RoadBounds.h), the gain within the band's factors; 8.69 dB
// per unit of relative error, and the logarithm's 4u. The estimates put an edge exactly on the
// requirement where the design meets it with no room (the Butterworth and Chebyshev II stopband,
// the Chebyshev I and elliptic passband), so this is the room the check allows.
double DbBound(int kind, std::int32_t n, const std::vector<double>& cutoffs, TFilterType type, double rp, double rs,
               const TVec& z, const TVec& p, double k, double w) {
  TVec z0, p0;
  double k0 = 0.0;
  testutil::MakePrototype(kind, n, rp, rs, z0, p0, k0);
  const std::vector<testutil::Cx> protoZeros = testutil::RootsOf(z0), protoPoles = testutil::RootsOf(p0);
  const testutil::TPrototypeBounds proto = testutil::PrototypeBoundsFor(kind, n, rp, rs, protoZeros, protoPoles);
  const double protoError = testutil::LargestRelativeBound(proto, protoZeros, protoPoles);
  double u[2] = {0.0, 0.0};
  for (std::size_t i = 0; i < cutoffs.size(); ++i) u[i] = Prewarp(cutoffs[i], 2.0);
  const bool band = cutoffs.size() == 2;
  const testutil::TBand b{type, band ? std::sqrt(u[0] * u[1]) : u[0], band ? u[1] - u[0] : 0.0, false};
  const testutil::TRoad road{testutil::RootsOf(z), testutil::RootsOf(p), k};
  const std::vector<double> zb = testutil::ZeroPoleRootBounds(b, road.z, 16.0 * kU + protoError),
                            pb = testutil::ZeroPoleRootBounds(b, road.p, 16.0 * kU + protoError);
  const bool renormalised = type == fltBandstop && (kind == 1 || kind == 3) && n % 2 == 0;
  const double gain = proto.gain + testutil::ZeroPoleAnalogGainBound(b, road, renormalised);
  const double relative = testutil::ResponseBound(road.z, zb, road.p, pb, gain, std::polar(1.0, M_PI * w));
  return 20.0 / std::log(10.0) * relative + 4.0 * kU * (1.0 + std::fabs(Db(Magnitude(z, p, k, false, w))));
}

TEST(IirOrder, KnownLowpassEstimates) {
  const std::vector<double> edges{0.2, 0.3};
  std::vector<double> cutoff(1);
  EXPECT_EQ(ButterOrder(edges, fltLowpass, 1.0, 40.0, cutoff, false), 12);
  // The reference's five decimals: half a unit of the last.
  EXPECT_NEAR(cutoff[0], 0.21271, 5e-6);
  EXPECT_EQ(Cheby1Order(edges, fltLowpass, 1.0, 40.0, cutoff, false), 6);
  EXPECT_EQ(cutoff[0], 0.2);
}

// Rounding the Chebyshev II order's numerator alone gave 3 here, a design reaching 25.2 dB.
TEST(IirOrder, ChebyshevTwoOrdersMeetTheAttenuation) {
  struct TCase {
    double wp, ws, rp, rs;
    std::int32_t order;
  };
  for (const TCase& c : {TCase{0.2, 0.412, 1.0, 28.0, 4}, TCase{0.1, 0.2, 0.5, 35.0, 5}}) {
    std::vector<double> cutoff(1);
    const std::int32_t n = Cheby2Order(std::vector<double>{c.wp, c.ws}, fltLowpass, c.rp, c.rs, cutoff, false);
    EXPECT_EQ(n, c.order);
    TVec z, p;
    double k = 0.0;
    Cheby2Zp(n, cutoff, c.rs, fltLowpass, false, z, p, k, ftZeroPoleAnalog);
    EXPECT_GE(-Db(Magnitude(z, p, k, false, c.ws)),
              c.rs - 2.0 * DbBound(2, n, cutoff, fltLowpass, c.rp, c.rs, z, p, k, c.ws));
    EXPECT_GE(Db(Magnitude(z, p, k, false, c.wp)),
              -c.rp - 2.0 * DbBound(2, n, cutoff, fltLowpass, c.rp, c.rs, z, p, k, c.wp));
  }
}

// Every estimator on every band type: the design with the order and cutoffs found keeps the
// passband ripple at the passband edges and reaches the attenuation at the stopband edges.
TEST(IirOrder, EstimatesMeetTheRequirements) {
  struct TSpec {
    TFilterType type;
    std::vector<double> edges, pass, stop;
  };
  const TSpec specs[] = {
      {fltLowpass, {0.2, 0.3}, {0.2}, {0.3}},
      {fltHighpass, {0.2, 0.3}, {0.3}, {0.2}},
      {fltBandpass, {0.1, 0.2, 0.5, 0.6}, {0.2, 0.5}, {0.1, 0.6}},
      {fltBandstop, {0.1, 0.2, 0.5, 0.6}, {0.1, 0.6}, {0.2, 0.5}},
  };
  const double rp = 1.0, rs = 40.0;
  for (const TSpec& s : specs) {
    for (int kind = 0; kind < 4; ++kind) {
      SCOPED_TRACE("type " + std::to_string(s.type) + " kind " + std::to_string(kind));
      std::vector<double> cutoffs(s.edges.size() / 2);
      const std::int32_t n = kEstimators[kind](s.edges, s.type, rp, rs, cutoffs, false);
      TVec z, p;
      double k = 0.0;
      switch (kind) {
        case 0: ButterZp(n, cutoffs, s.type, false, z, p, k, ftZeroPoleAnalog); break;
        case 1: Cheby1Zp(n, cutoffs, rp, s.type, false, z, p, k, ftZeroPoleAnalog); break;
        case 2: Cheby2Zp(n, cutoffs, rs, s.type, false, z, p, k, ftZeroPoleAnalog); break;
        default: EllipZp(n, cutoffs, rp, rs, s.type, false, z, p, k, ftZeroPoleAnalog); break;
      }
      // The Butterworth design meets the stopband exactly and the passband with room to spare.
      const double dcPeak = kind == 1 || kind == 3 ? 1.0 : 0.0;
      // The margin of 2 on the bounds (DbBound).
      for (double w : s.pass)
        EXPECT_GE(Db(Magnitude(z, p, k, false, w)), -rp - dcPeak - 2.0 * DbBound(kind, n, cutoffs, s.type, rp, rs, z, p, k, w))
            << w;
      for (double w : s.stop)
        EXPECT_LE(Db(Magnitude(z, p, k, false, w)), -rs + 2.0 * DbBound(kind, n, cutoffs, s.type, rp, rs, z, p, k, w)) << w;
      // One order less no longer meets both.
      if (n > 1 && kind != 0) {
        TVec z1, p1;
        double k1 = 0.0;
        switch (kind) {
          case 1: Cheby1Zp(n - 1, cutoffs, rp, s.type, false, z1, p1, k1, ftZeroPoleAnalog); break;
          case 2: Cheby2Zp(n - 1, cutoffs, rs, s.type, false, z1, p1, k1, ftZeroPoleAnalog); break;
          default: EllipZp(n - 1, cutoffs, rp, rs, s.type, false, z1, p1, k1, ftZeroPoleAnalog); break;
        }
        // It misses by more than the bounds of its computation.
        bool misses = false;
        for (double w : s.stop)
          misses |= Db(Magnitude(z1, p1, k1, false, w)) > -rs + 2.0 * DbBound(kind, n - 1, cutoffs, s.type, rp, rs, z1, p1, k1, w);
        for (double w : s.pass)
          misses |= Db(Magnitude(z1, p1, k1, false, w)) <
                    -rp - dcPeak - 2.0 * DbBound(kind, n - 1, cutoffs, s.type, rp, rs, z1, p1, k1, w);
        EXPECT_TRUE(misses);
      }
    }
  }
}

TEST(IirOrder, BandstopMovesItsPassbandEdgesTowardTheStopband) {
  const std::vector<double> edges{0.1, 0.2, 0.5, 0.6};
  std::vector<double> cutoffs(2);
  Cheby1Order(edges, fltBandstop, 1.0, 40.0, cutoffs, false);
  EXPECT_GE(cutoffs[0], 0.1);
  EXPECT_LT(cutoffs[0], 0.2);
  EXPECT_GT(cutoffs[1], 0.5);
  EXPECT_LE(cutoffs[1], 0.6);
  EXPECT_TRUE(cutoffs[0] != 0.1 || cutoffs[1] != 0.6);
}

TEST(IirOrder, AnalogEdgesAreNotPrewarped) {
  std::vector<double> cutoff(1);
  EXPECT_EQ(Cheby1Order(std::vector<double>{2.0, 3.0}, fltLowpass, 1.0, 40.0, cutoff, true),
            static_cast<std::int32_t>(std::ceil(std::acosh(std::sqrt((1e4 - 1) / (std::pow(10.0, 0.1) - 1))) /
                                                std::acosh(1.5))));
  EXPECT_EQ(cutoff[0], 2.0);
}

TEST(IirOrder, RefusalsLeaveTheCutoffsAlone) {
  const char* lengthTexts[] = {"(Length(CuttoffFreq)*2) <> Length(BEdg)", "(Length(CuttoffFreq) div 2) <> Length(BEdg)",
                               "(Length(CuttoffFreq) div 2) <> Length(BEdg)",
                               "(Length(CuttoffFreq) div 2) <> Length(BEdg)"};
  for (int kind = 0; kind < 4; ++kind) {
    SCOPED_TRACE(kind);
    const TOrderFn& order = kEstimators[kind];
    std::vector<double> one{-7.0}, two{-7.0, -7.0}, three{-7.0, -7.0, -7.0};
    const std::vector<double> lowEdges{0.2, 0.3}, bandEdges{0.1, 0.2, 0.5, 0.6};
    EXPECT_TRUE(Raises([&] { order(lowEdges, fltLowpass, 1, 40, three, false); }, lengthTexts[kind]));
    EXPECT_TRUE(Raises([&] { order(lowEdges, static_cast<TFilterType>(4), 1, 40, one, false); },
                       "FilterType not suported!"));
    EXPECT_TRUE(Raises([&] { order(bandEdges, fltLowpass, 1, 40, two, false); }, "Length(BEdg) <> 2"));
    EXPECT_TRUE(Raises([&] { order(lowEdges, fltBandstop, 1, 40, one, false); }, "Length(BEdg) <> 4"));
    // Coinciding edges and a passband without ripple have no finite order.
    EXPECT_TRUE(Raises([&] { order(std::vector<double>{0.2, 0.2}, fltLowpass, 1, 40, one, false); }, "Order = Inf"));
    EXPECT_TRUE(Raises([&] { order(lowEdges, fltHighpass, 0, 40, one, false); }, "Order = Inf"));
    EXPECT_EQ(one, std::vector<double>{-7.0});
    EXPECT_EQ(two, (std::vector<double>{-7.0, -7.0}));
    EXPECT_EQ(three, (std::vector<double>{-7.0, -7.0, -7.0}));
  }
}

}  // namespace
}  // namespace dsp

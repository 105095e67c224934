// Window-method FIR design by its rules and edge cases: Kaiser beta and
// length, ideal responses of every band type with their centre values and
// cleaned zeros, the edge-count checks (made before H changes), the lengths
// each design makes odd or even, the fractional-step sampling, the Kaiser
// design's extended taps, and Savitzky-Golay filters with their checks.
//
// Covers: dsp/FirWindowDesign.cpp, dsp/SavGolay.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "dsp/SignalUtils.h"
#include "dsp/tests/SavGolayBounds.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

using numeric::TMtx;
using numeric::TVec;
using orvel::testing::NearRel;
using orvel::testing::NearScaled;
using orvel::testing::Raises;

constexpr double kPi = std::numbers::pi;

std::vector<double> Doubles(const TVec& v) { return {v.Values(), v.Values() + v.DoubleLength()}; }

TEST(FirWindowDesign, KaiserBetaAndLength) {
  EXPECT_TRUE(NearRel(KaiserBetaFromRipple(0.001), 0.1102 * 51.3, 1e-14));
  EXPECT_TRUE(NearRel(KaiserBetaFromRipple(0.01), 3.395321, 1e-6));
  EXPECT_EQ(KaiserBetaFromRipple(0.1), 0.0);
  // A = 50 takes the second formula.
  EXPECT_TRUE(NearRel(KaiserBetaFromRipple(std::pow(10.0, -2.5)), 0.5842 * std::pow(29.0, 0.4) + 0.07886 * 29,
                      1e-12));
  const std::vector<double> edges{1000, 1500};
  EXPECT_EQ(KaiserOrder(edges, 0.001, 8000), 58);
  EXPECT_EQ(KaiserOrder({}, 0.001, 8000), 0);
  EXPECT_TRUE(Raises([] { KaiserOrder(std::vector<double>{1000}, 0.001, 8000); }, "Length(W) <> 2"));
  EXPECT_TRUE(Raises([] { KaiserOrder(std::vector<double>{1, 2, 3}, 0.001, 8000); }, "Length(W) <> 2"));
  // No finite length: refused instead of an arbitrary one.
  const char* infinite = "KaiserOrder: no finite length (Ripple <= 0 or equal edges)";
  EXPECT_TRUE(Raises([&] { KaiserOrder(edges, 0, 8000); }, infinite));
  EXPECT_TRUE(Raises([] { KaiserOrder(std::vector<double>{1000, 1000}, 0.001, 8000); }, infinite));
}

TEST(FirWindowDesign, IdealImpulses) {
  TVec h;
  h.Size(5, false);
  IdealImpulse(h, std::vector<double>{1000}, fltLowpass, 8000);
  const std::vector<double> lowpass{std::sin(-kPi / 2) / (-2 * kPi), std::sin(-kPi / 4) / -kPi, 0.25,
                                    std::sin(kPi / 4) / kPi, std::sin(kPi / 2) / (2 * kPi)};
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(NearRel(h.Values()[i], lowpass[i], 1e-15)) << i;
  EXPECT_TRUE(NearRel(h.Values()[0], 0.159155, 1e-5));
  // The Hilbert transformer's even taps are rounding-level and become exact zeros.
  IdealImpulse(h, std::vector<double>{0.5}, fltHilbertOdd, 1);  // the edge is not used
  EXPECT_EQ(h.Values()[0], 0.0);
  EXPECT_EQ(h.Values()[2], 0.0);
  EXPECT_EQ(h.Values()[4], 0.0);
  EXPECT_TRUE(NearRel(h.Values()[1], -2 / kPi, 1e-15));
  EXPECT_TRUE(NearRel(h.Values()[3], 2 / kPi, 1e-15));
  // Centre values of the symmetric types.
  struct Centre {
    TFilterType type;
    std::vector<double> edges;
    double expected;
  };
  const std::vector<Centre> centres{{fltLowpass, {0.3}, 0.3},
                                    {fltHighpass, {0.3}, 0.7},
                                    {fltLowpass, {0.2, 0.4}, 0.3},
                                    {fltBandpass, {0.2, 0.5}, 0.3},
                                    {fltBandstop, {0.2, 0.5}, 0.7},
                                    {fltBandpass, {0.1, 0.3, 0.5, 0.7}, 0.4}};
  for (const Centre& c : centres) {
    IdealImpulse(h, c.edges, c.type, 2);
    EXPECT_TRUE(NearRel(h.Values()[2], c.expected, 1e-15)) << int(c.type);
  }
  // The even-length antisymmetric types at an odd length: their limit 0 at
  // the centre, not 0/0.
  for (TFilterType type : {fltHilbertEven, fltDifferentiatorEven}) {
    IdealImpulse(h, std::vector<double>{0.5}, type, 1);
    EXPECT_EQ(h.Values()[2], 0.0) << int(type);
  }
  // A differentiator's taps scale with the sampling rate.
  IdealImpulse(h, std::vector<double>{0.5}, fltDifferentiatorOdd, 10);
  EXPECT_TRUE(NearRel(h.Values()[3], 10 * std::cos(kPi), 1e-15));
}

TEST(FirWindowDesign, EdgeCountRefusals) {
  struct Case {
    TFilterType type;
    std::vector<double> edges;
    const char* message;
  };
  const std::vector<Case> cases{
      {fltLowpass, {1, 2, 3}, "not (1 < Length(W) < 2)"},  {fltHighpass, {}, "not (1 < Length(W) < 2)"},
      {fltBandpass, {1}, "not (2 < Length(W) < 4)"},       {fltBandstop, {1, 2, 3, 4, 5}, "not (2 < Length(W) < 4)"},
      {fltBandpass, {1, 2, 3}, "Length(W) must be 1,2 or 4"}, {fltHilbertOdd, {}, "Length(W) must be 1,2 or 4"},
  };
  for (const Case& c : cases) {
    TVec h;
    h.SetIt(false, std::vector<double>{9, 9, 9, 9, 9});
    EXPECT_TRUE(Raises([&] { IdealImpulse(h, c.edges, c.type, 2); }, c.message)) << c.message;
    EXPECT_TRUE(Raises([&] { IdealImpulseStep(5, h, c.edges, 0, 0.5, c.type, 2); }, c.message)) << c.message;
    EXPECT_TRUE(Raises([&] { FirWindowDesign(h, c.edges, 0, c.type, wtHanning, 1, 2); }, c.message)) << c.message;
    EXPECT_EQ(Doubles(h), (std::vector<double>{9, 9, 9, 9, 9})) << c.message;
  }
}

TEST(FirWindowDesign, WindowDesignLengths) {
  struct Case {
    TFilterType type;
    int asked, designed;
  };
  const std::vector<Case> cases{{fltLowpass, 4, 4},           {fltBandpass, 6, 6},        {fltHighpass, 4, 5},
                                {fltBandstop, 8, 9},          {fltHilbertOdd, 6, 7},      {fltDifferentiatorOdd, 7, 7},
                                {fltHilbertEven, 7, 8},       {fltDifferentiatorEven, 8, 8}, {fltLowpass, 20000, 10000}};
  for (const Case& c : cases) {
    TVec h;
    h.Size(c.asked, false);
    const std::vector<double> edges = c.type == fltBandpass || c.type == fltBandstop ? std::vector<double>{0.2, 0.4}
                                                                                      : std::vector<double>{0.3};
    FirWindowDesign(h, edges, 0, c.type, wtHamming, 2, 2);
    EXPECT_EQ(h.Length(), c.designed) << int(c.type);
  }
  TVec h;
  h.Size(3, false);
  EXPECT_TRUE(Raises([&] { FirWindowDesign(h, std::vector<double>{0.3}, 0, fltLowpass, wtHanning, 1, 2); },
                     "H.Length < 4"));
  h.Size(6, false);
  for (int type = 8; type <= 14; ++type)
    EXPECT_TRUE(Raises([&] { FirWindowDesign(h, {}, 0, static_cast<TFilterType>(type), wtHanning, 1, 2); },
                       "FilterType not supported!"))
        << type;
  EXPECT_EQ(h.Length(), 6);
  // Ideal response times the window times the gain.
  TVec ideal, window;
  h.Size(9, false);
  FirWindowDesign(h, std::vector<double>{0.3}, 0, fltLowpass, wtBlackmanHarris, -3, 2);
  IdealImpulse(ideal.Size(9, false), std::vector<double>{0.3}, fltLowpass, 2);
  window.Size(9, false);
  WindowBlackmanHarris(window.SetVal(1.0));
  for (int i = 0; i < 9; ++i)
    EXPECT_TRUE(NearScaled(h.Values()[i], -3 * ideal.Values()[i] * window.Values()[i], 1e-16, 1)) << i;
}

TEST(FirWindowDesign, FractionalStepSampling) {
  TVec h, whole;
  IdealImpulseStep(5, h, std::vector<double>{0.4}, 0, 0.5, fltLowpass, 2);
  ASSERT_EQ(h.Length(), 9);
  EXPECT_EQ(h.Values()[4], 0.4);  // the centre value
  for (int i = 0; i < 9; ++i) {
    const double x = kPi * (i * 0.5 - 2);
    if (i == 4) continue;
    EXPECT_TRUE(NearRel(h.Values()[i], std::sin(0.4 * x) / x, 1e-15)) << i;
  }
  // Step 1 and Offset 0 are the plain ideal response.
  IdealImpulseStep(7, h, std::vector<double>{0.2, 0.6}, 0, 1, fltBandstop, 2);
  IdealImpulse(whole.Size(7, false), std::vector<double>{0.2, 0.6}, fltBandstop, 2);
  EXPECT_EQ(Doubles(h), Doubles(whole));
  // An offset moves the grid by a fraction of a tap.
  IdealImpulseStep(4, h, std::vector<double>{0.5}, 0.25, 1, fltLowpass, 2);
  for (int i = 0; i < 4; ++i) {
    const double x = kPi * (i + 0.25 - 1.5);
    EXPECT_TRUE(NearRel(h.Values()[i], std::sin(0.5 * x) / x, 1e-15)) << i;
  }
  h.SetIt(false, std::vector<double>{1, 2});
  for (double step : {0.0, -1.0, std::nan("")})
    EXPECT_TRUE(Raises([&] { IdealImpulseStep(5, h, std::vector<double>{0.4}, 0, step, fltLowpass, 2); }, "Step"));
  EXPECT_EQ(Doubles(h), (std::vector<double>{1, 2}));
}

TEST(FirWindowDesign, KaiserDesignLengthsAndExtendedTaps) {
  // Two transitions estimated at 30 and 41 taps: the larger, odd.
  const std::vector<double> edges{0.1, 0.1 + 0.2415, 0.6, 0.6 + 0.1767};
  EXPECT_EQ(KaiserOrder(std::vector<double>{edges[0], edges[1]}, 0.001, 2), 30);
  EXPECT_EQ(KaiserOrder(std::vector<double>{edges[2], edges[3]}, 0.001, 2), 41);
  TVec h, extended;
  EXPECT_EQ(FirKaiserDesign(h, edges, 0.001, 0, 1, fltBandpass, false, 1, 2), 41);
  EXPECT_EQ(h.Length(), 41);
  // Extended: N + 2 = 43 taps at a quarter-tap spacing (169 samples), the
  // first 4 dropped.
  EXPECT_EQ(FirKaiserDesign(extended, edges, 0.001, 0, 0.25, fltBandpass, true, 1, 2), 41);
  ASSERT_EQ(extended.Length(), 165);
  TVec full;
  IdealImpulseStep(43, full, edges, 0, 0.25, fltBandpass, 2);
  WindowKaiser(full, 0, -1, KaiserBetaFromRipple(0.001));
  for (int i = 0; i < 165; ++i) EXPECT_EQ(extended.Values()[i], full.Values()[i + 4]) << i;
  // A low-pass keeps an even length; lengths are kept within 4 .. 10000.
  EXPECT_EQ(FirKaiserDesign(h, std::vector<double>{0.2, 0.35}, 0.01, 0, 1, fltLowpass, false, 1, 2), 30);
  EXPECT_EQ(FirKaiserDesign(h, std::vector<double>{0.1, 0.9}, 0.5, 0, 1, fltLowpass, false, 1, 2), 4);
  EXPECT_TRUE(Raises([&] { FirKaiserDesign(h, std::vector<double>{0.1, 0.2, 0.3}, 0.01, 0, 1, fltBandpass, false, 1, 2); },
                     "(Length(W) <> 2) and (Length(W) <> 4)"));
  EXPECT_TRUE(Raises([&] { FirKaiserDesign(h, std::vector<double>{0.1, 0.2}, 0.01, 0, 1, fltIntegratorOdd, false, 1, 2); },
                     "FilterType not supported!"));
}

// The centre taps (row 0 of Diff) within the fit's bounds (SavGolayBounds.h).
std::vector<double> CentreBounds(std::int32_t frame, std::int32_t order, const std::vector<double>* weights) {
  TMtx smooth, diff;
  TVec w;
  if (weights) w.SetIt(false, *weights);
  SavGolayDesign(smooth, diff, frame, order, weights ? &w : nullptr);
  double ks = 0.0, rho = 0.0;
  testutil::FitCondition(diff, frame, order, weights, ks, rho);
  return testutil::FitBounds(diff, frame, order, weights, ks, rho)[0];
}

TEST(FirWindowDesign, SavitzkyGolayFilters) {
  TVec h;
  SavGolayFilter(h, 5, 2, nullptr);
  const std::vector<double> quadratic{-3.0 / 35, 12.0 / 35, 17.0 / 35, 12.0 / 35, -3.0 / 35};
  std::vector<double> bounds = CentreBounds(5, 2, nullptr);
  // The fractions round within u of themselves.
  for (int i = 0; i < 5; ++i)
    EXPECT_NEAR(h.Values()[i], quadratic[i], bounds[i] + 0x1p-53 * std::fabs(quadratic[i])) << i;
  SavGolayFilter(h, 5, 0, nullptr);
  bounds = CentreBounds(5, 0, nullptr);
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(h.Values()[i], 0.2, bounds[i] + 0x1p-53 * 0.2) << i;
  // Equal weights are no weights: each within its fit's bound of the exact taps.
  TVec ones, weighted;
  ones.Size(7, false);
  ones.SetVal(2.5);
  SavGolayFilter(h, 7, 3, nullptr);
  SavGolayFilter(weighted, 7, 3, &ones);
  const std::vector<double> equal(7, 2.5);
  const std::vector<double> plain = CentreBounds(7, 3, nullptr), even = CentreBounds(7, 3, &equal);
  for (int i = 0; i < 7; ++i) EXPECT_NEAR(weighted.Values()[i], h.Values()[i], plain[i] + even[i]) << i;
  // Weights act per sample: a line through frame positions 0 and 2 of three
  // points, the middle one nearly ignored, fits the outer two exactly - within
  // the weight 1e-12 that the middle one keeps (its pull on the line, of that
  // order) and the fit's rounding.
  TVec w;
  const std::vector<double> weights{1, 1e-12, 1};
  w.SetIt(false, weights);
  TMtx smooth, diff;
  SavGolayDesign(smooth, diff, 3, 1, &w);
  double ks = 0.0, rho = 0.0;
  testutil::FitCondition(diff, 3, 1, &weights, ks, rho);
  const auto fit = testutil::FitBounds(diff, 3, 1, &weights, ks, rho);
  const double bound = 1e-12 + 2.0 * (fit[0][0] + fit[0][1] + fit[0][2] + fit[1][0] + fit[1][1] + fit[1][2]);
  EXPECT_NEAR(smooth.RowValues(0)[0], 1, bound);
  EXPECT_NEAR(smooth.RowValues(2)[2], 1, bound);
  EXPECT_NEAR(smooth.RowValues(0)[1], 0, bound);
}

TEST(FirWindowDesign, LongSavitzkyGolayFrame) {
  // Past one block of right-hand sides: a smoother keeps constants and lines,
  // and its taps are symmetric, each within its fit's bound; the sums add the
  // taps' bounds and their own rounding (1001 terms, u each).
  TVec h;
  SavGolayFilter(h, 1001, 3, nullptr);
  ASSERT_EQ(h.Length(), 1001);
  const std::vector<double> bounds = CentreBounds(1001, 3, nullptr);
  double sum = 0, moment = 0, sumBound = 0, momentBound = 0, sizes = 0, moments = 0;
  for (int j = 0; j < 1001; ++j) {
    sum += h.Values()[j];
    moment += h.Values()[j] * (j - 500);
    sumBound += bounds[j];
    momentBound += bounds[j] * std::abs(j - 500);
    sizes += std::fabs(h.Values()[j]);
    moments += std::fabs(h.Values()[j]) * std::abs(j - 500);
    EXPECT_NEAR(h.Values()[j], h.Values()[1000 - j], bounds[j] + bounds[1000 - j]) << j;
  }
  EXPECT_NEAR(sum, 1, sumBound + 1001 * 0x1p-53 * sizes);
  EXPECT_NEAR(moment, 0, momentBound + 1001 * 0x1p-53 * moments);
}

TEST(FirWindowDesign, SavitzkyGolayRefusals) {
  TMtx smooth, diff;
  TVec shortWeights, complexWeights, zeroWeight;
  shortWeights.SetIt(false, std::vector<double>{1, 1, 1});
  complexWeights.SetIt(true, std::vector<double>{1, 0, 1, 0, 1, 0, 1, 0, 1, 0});
  zeroWeight.SetIt(false, std::vector<double>{1, 1, 0, 1, 1});
  struct Case {
    std::function<void()> call;
    const char* message;
  };
  const std::vector<Case> cases{
      {[&] { SavGolayDesign(smooth, diff, 4, 1, nullptr); }, "not Odd(FrameSize)!"},
      {[&] { SavGolayDesign(smooth, diff, 5, 5, nullptr); }, "not CheckRange(0,Order,FrameSize-1)"},
      {[&] { SavGolayDesign(smooth, diff, 5, -1, nullptr); }, "not CheckRange(0,Order,FrameSize-1)"},
      {[&] { SavGolayDesign(smooth, diff, 5, 2, &shortWeights); }, "Weights.Length <> FrameSize!"},
      {[&] { SavGolayDesign(smooth, diff, 5, 2, &complexWeights); }, "Weights = complex!"},
      {[&] { SavGolayDesign(smooth, diff, 5, 2, &zeroWeight); }, "Weights.Min <= 0"},
  };
  for (const Case& c : cases) EXPECT_TRUE(Raises(c.call, c.message)) << c.message;
}

}  // namespace
}  // namespace dsp

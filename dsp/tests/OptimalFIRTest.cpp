// Tests of the equiripple design unit: length estimates, the dense grid, the assembly of the taps
// for each symmetry, argument errors, designs that cannot be made, the grid density on worker
// threads, and the band-type wrappers.
//
// Covers: dsp/OptimalFIR.cpp, dsp/OptimalFIRWrappers.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <thread>
#include <vector>

#include "platform/classlib/Exception.h"
#include "dsp/OptimalFIR.h"
#include "testing/TestSupport.h"
#include "dsp/OptimalFIRMessages.h"

namespace dsp {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kInf = std::numeric_limits<double>::infinity();

using orvel::testing::RaisedMessage;

double Amplitude(std::span<const double> h, bool antisymmetric, double g) {
  const double centre = (h.size() - 1) / 2.0;
  double s = 0;
  for (std::size_t i = 0; i < h.size(); ++i) {
    const double t = 2 * kPi * g * (centre - i);
    s += h[i] * (antisymmetric ? std::sin(t) : std::cos(t));
  }
  return s;
}

// ---------------------------------------------------------------------------------------------
// Length estimates

TEST(RemezOrderHerrmann, FormulaValues) {
  EXPECT_TRUE(orvel::testing::NearRel(RemezOrderHerrmann(0.1, 0.2, 0.01, 0.001), 25.259459, 4e-8));
  EXPECT_TRUE(orvel::testing::NearRel(RemezOrderHerrmann(0.1, 0.2, 0.001, 0.01), 26.090407, 4e-8));
  // Only the width of the transition counts.
  EXPECT_DOUBLE_EQ(RemezOrderHerrmann(0.2, 0.1, 0.01, 0.001), RemezOrderHerrmann(0.1, 0.2, 0.01, 0.001));
}

TEST(RemezOrder, LowpassEstimateAndWeights) {
  numeric::TVec w;
  const std::vector<double> gains{1, 0}, dev{0.01, 0.001};
  EXPECT_EQ(RemezOrder(std::vector<double>{0, 0.1, 0.2, 0.5}, gains, dev, w, 1.0), 27);
  ASSERT_EQ(w.Length(), 2);
  EXPECT_DOUBLE_EQ(w.Values()[0], 1.0);
  EXPECT_DOUBLE_EQ(w.Values()[1], 10.0);
  EXPECT_EQ(RemezOrder(std::vector<double>{0, 100, 200, 500}, gains, dev, w, 1000.0), 27);
}

TEST(RemezOrder, EvenEstimateGrowsOnlyWhenTheLastBandPasses) {
  numeric::TVec w;
  const std::vector<double> f{0, 0.1, 0.2, 0.5}, dev{0.01, 0.01};
  EXPECT_EQ(RemezOrder(f, std::vector<double>{1, 0}, dev, w, 1.0), 20);
  EXPECT_EQ(RemezOrder(f, std::vector<double>{0, 1}, dev, w, 1.0), 21);
}

TEST(RemezOrder, GainAboveOneMakesTheDeviationRelative) {
  numeric::TVec w, w2;
  const std::vector<double> f{0, 0.1, 0.2, 0.5};
  EXPECT_EQ(RemezOrder(f, std::vector<double>{2, 0}, std::vector<double>{0.02, 0.01}, w, 1.0),
            RemezOrder(f, std::vector<double>{1, 0}, std::vector<double>{0.01, 0.01}, w2, 1.0));
  // The weights come from the raw deviations: max(Dev) / Dev.
  EXPECT_DOUBLE_EQ(w.Values()[0], 1.0);
  EXPECT_DOUBLE_EQ(w.Values()[1], 2.0);
}

TEST(RemezOrder, NoBandsGivesThreeTaps) {
  numeric::TVec w;
  w.Size(5, false);
  EXPECT_EQ(RemezOrder({}, {}, {}, w, 1.0), 3);
  EXPECT_EQ(w.Length(), 0);
}

TEST(RemezOrder, MismatchedLengthsRaise) {
  numeric::TVec w;
  EXPECT_EQ(RaisedMessage([&] { RemezOrder(std::vector<double>{0, 0.1, 0.2, 0.5}, std::vector<double>{1, 0},
                                    std::vector<double>{0.01}, w, 1.0); }),
            msg::RemezOrderLengths);
  EXPECT_EQ(RaisedMessage([&] { RemezOrder(std::vector<double>{0, 0.1, 0.2}, std::vector<double>{1, 0},
                                    std::vector<double>{0.01, 0.01}, w, 1.0); }),
            msg::RemezOrderLengths);
}

// ---------------------------------------------------------------------------------------------
// The dense grid

TEST(RemezGrid, PointsRunFromEdgeToEdge) {
  const double delf = 0.5 / (16 * (21 / 2));
  EXPECT_DOUBLE_EQ(delf, 0.003125);
  // Band 1: 32 points spaced 0.1 / 31; band 2 a single point (its lower edge); band 3 narrower
  // than one step, no point.
  const std::vector<double> f{0, 0.1, 0.2, 0.2 + 1.5 * delf, 0.3, 0.3 + 0.5 * delf};
  const std::vector<double> gains{1, 0.5, 7}, weights{2, 3, 4};
  std::vector<double> grid(33), des(33), wt(33);
  RemezGrid(3, f, delf, gains, weights, grid, des, wt);
  for (int i = 0; i < 32; ++i) {
    EXPECT_TRUE(orvel::testing::NearScaled(grid[i], i * 0.1 / 31, 2e-15, 0.5));
    EXPECT_EQ(des[i], 1);
    EXPECT_EQ(wt[i], 2);
  }
  EXPECT_EQ(grid[31], 0.1);
  EXPECT_EQ(grid[32], 0.2);
  EXPECT_EQ(des[32], 0.5);
  EXPECT_EQ(wt[32], 3);
}

// ---------------------------------------------------------------------------------------------
// Taps from the cosine coefficients. A target that is itself the amplitude of a short filter
// is met exactly, so the taps must be that filter's, whatever the symmetry.

struct Symmetry {
  int n;
  int neg;
};

class RemezExchangeTaps : public ::testing::TestWithParam<Symmetry> {};

TEST_P(RemezExchangeTaps, AssembleTheFilterWhoseAmplitudeIsTheTarget) {
  const auto [n, neg] = GetParam();
  const bool antisymmetric = neg > 0;
  // A filter of the right symmetry with arbitrary taps.
  std::vector<double> want(n);
  for (int i = 0; i < n / 2; ++i) {
    want[i] = 0.3 / (i + 1) - 0.05 * i;
    want[n - 1 - i] = antisymmetric ? -want[i] : want[i];
  }
  if (n % 2 == 1) want[n / 2] = antisymmetric ? 0.0 : 0.7;
  std::vector<double> grid;
  for (int k = 1; k < 400; ++k) grid.push_back(0.49 * k / 400);
  std::vector<double> des(grid.size()), wt(grid.size(), 1.0), h(n, 99.0);
  for (std::size_t k = 0; k < grid.size(); ++k) des[k] = Amplitude(want, antisymmetric, grid[k]);
  double dev = 0;
  RemezExchange(n, neg, static_cast<int>(grid.size()), des, grid, wt, h, dev);
  for (int i = 0; i < n; ++i) EXPECT_TRUE(orvel::testing::NearScaled(h[i], want[i], 1e-12, 1.0)) << i;
  for (int i = 0; i < n; ++i) EXPECT_EQ(h[n - 1 - i], antisymmetric ? -h[i] : h[i]) << i;
  if (antisymmetric && n % 2 == 1) {
    EXPECT_EQ(h[n / 2], 0.0);
  }
}

INSTANTIATE_TEST_SUITE_P(Symmetries, RemezExchangeTaps,
                         ::testing::Values(Symmetry{3, 0}, Symmetry{4, 0}, Symmetry{9, 0},
                                           Symmetry{10, 0}, Symmetry{3, 1}, Symmetry{4, 1},
                                           Symmetry{5, 1}, Symmetry{11, 1}, Symmetry{12, 1}));

TEST(RemezExchange, ShortestSymmetricFiltersFromTheirCoefficients) {
  // With the target a0 + a1 cos(2 pi g): N = 3 gives (a1/2, a0, a1/2); N = 4 (target times
  // cos(pi g)) gives (a1/4, a0/2 + a1/4, a0/2 + a1/4, a1/4).
  const double a0 = 0.6, a1 = -0.2;
  std::vector<double> grid;
  for (int k = 0; k < 60; ++k) grid.push_back(0.45 * k / 59);
  for (int n : {3, 4}) {
    std::vector<double> des(grid.size()), wt(grid.size(), 1.0), h(n);
    for (std::size_t k = 0; k < grid.size(); ++k)
      des[k] = (a0 + a1 * std::cos(2 * kPi * grid[k])) * (n == 4 ? std::cos(kPi * grid[k]) : 1.0);
    double dev = 0;
    RemezExchange(n, 0, static_cast<int>(grid.size()), des, grid, wt, h, dev);
    const std::vector<double> want = n == 3 ? std::vector<double>{a1 / 2, a0, a1 / 2}
                                            : std::vector<double>{a1 / 4, a0 / 2 + a1 / 4,
                                                                  a0 / 2 + a1 / 4, a1 / 4};
    for (int i = 0; i < n; ++i) EXPECT_TRUE(orvel::testing::NearScaled(h[i], want[i], 1e-13, 1.0)) << n << ' ' << i;
  }
}

// ---------------------------------------------------------------------------------------------
// RemezImpulse

TEST(RemezImpulse, ArgumentErrors) {
  std::vector<double> h(21);
  double dev = 0;
  const std::vector<double> gains{1, 0}, weights{1, 1};
  std::vector<double> f{0, 0.3, 0.2, 0.5};
  EXPECT_EQ(RaisedMessage([&] { RemezImpulse(h, f, gains, weights, rtMultiband, dev, 1.0, false); }),
            msg::RemezOverlappingBands);
  f = {0, 0.1, 0.2, 0.5};
  EXPECT_EQ(RaisedMessage([&] { RemezImpulse(h, f, gains, std::vector<double>{1}, rtMultiband, dev, 1.0, false); }),
            msg::RemezWeightsLength);
  f = {0, 0.1, 0.2, 0.5};
  EXPECT_EQ(RaisedMessage([&] { RemezImpulse(h, f, std::vector<double>{1}, std::vector<double>{1},
                                      rtMultiband, dev, 1.0, false); }),
            msg::RemezGainsLength);
  // Equal neighbouring edges are allowed.
  f = {0, 0.2, 0.2, 0.5};
  EXPECT_EQ(RaisedMessage([&] { RemezImpulse(h, f, gains, weights, rtMultiband, dev, 1.0, false); }), "<none>");
}

TEST(RemezImpulse, LengthsOutsideTheLimitsRaiseNamingThem) {
  for (std::size_t n : {0u, 2u, 10001u}) {
    std::vector<double> h(n), f{0, 100, 200, 500};
    double dev = 0;
    EXPECT_EQ(RaisedMessage([&] { RemezImpulse(h, f, std::vector<double>{1, 0}, std::vector<double>{1, 1},
                                        rtMultiband, dev, 1000.0, false); }),
              msg::RemezLengthRange)
        << n;
    // The edges were already divided by FS.
    EXPECT_EQ(f[1], 0.1);
  }
}

TEST(RemezImpulse, AntisymmetricTypesKeepTheOuterEdgesOffZeroAndNyquist) {
  std::vector<double> h(21), f{0, 0.5};
  double dev = 0;
  RemezImpulse(h, f, std::vector<double>{1}, std::vector<double>{1}, rtDifferentiator, dev, 1.0, false);
  EXPECT_DOUBLE_EQ(f[0], 0.003125);
  EXPECT_DOUBLE_EQ(f[1], 0.5 - 0.003125);
  // The centre tap of an odd antisymmetric filter is exactly 0.
  EXPECT_EQ(h[10], 0.0);
  for (int i = 0; i < 21; ++i) EXPECT_EQ(h[20 - i], -h[i]);
  // Even lengths may reach Nyquist.
  std::vector<double> h2(20), f2{0, 0.5};
  RemezImpulse(h2, f2, std::vector<double>{1}, std::vector<double>{1}, rtDifferentiator, dev, 1.0, false);
  EXPECT_EQ(f2[1], 0.5);
}

TEST(RemezImpulse, HilbertTapsAreNegatedAndUnknownTypesAreNot) {
  std::vector<double> h(31), g(31), f{0.05, 0.45}, f2 = f;
  double dev = 0, dev2 = 0;
  const std::vector<double> one{1};
  RemezImpulse(h, f, one, one, rtHilbert, dev, 1.0, false);
  RemezImpulse(g, f2, one, one, TRemezType(6), dev2, 1.0, false);
  for (int i = 0; i < 31; ++i) EXPECT_EQ(h[i], -g[i]);
  EXPECT_EQ(dev, dev2);
  // A Hilbert transformer's amplitude in its band is about -1 with these taps.
  EXPECT_TRUE(orvel::testing::NearScaled(Amplitude(h, true, 0.25), -1.0, 10, dev));
}

TEST(RemezImpulse, IntegratorsFollowTheirTargets) {
  // 1 / w with w = 2 pi FS g, from a band clear of 0; the taps are negated.
  std::vector<double> h(41), f{0.05, 0.45};
  double dev = 0;
  const int status = RemezImpulse(h, f, std::vector<double>{1}, std::vector<double>{1},
                                  rtIntegrator, dev, 1.0, false);
  ASSERT_LT(status, RemezStatusLimit.load());
  for (double g : {0.1, 0.2, 0.3, 0.4})
    EXPECT_TRUE(orvel::testing::NearScaled(-Amplitude(h, true, g), 1 / (2 * kPi * g), 2, dev / g)) << g;
}

// Designs that cannot be made come back failed, with zero taps, never as converged nonsense.
TEST(RemezImpulse, EvenSymmetricLengthCannotPassTheNyquistFrequency) {
  std::vector<double> h(20, 5.0), f{0, 0.2, 0.3, 0.5};
  double dev = 0;
  const int status = RemezImpulse(h, f, std::vector<double>{0, 1}, std::vector<double>{1, 1},
                                  rtMultiband, dev, 1.0, false);
  EXPECT_GE(status, RemezStatusLimit.load());
  EXPECT_EQ(dev, kInf);
  for (double v : h) EXPECT_EQ(v, 0.0);
  // With gain 0 there it can.
  std::vector<double> h2(20), f2{0, 0.2, 0.3, 0.5};
  EXPECT_LT(RemezImpulse(h2, f2, std::vector<double>{1, 0}, std::vector<double>{1, 1}, rtMultiband,
                         dev, 1.0, false),
            RemezStatusLimit.load());
}

TEST(RemezImpulse, TooFewGridPointsFail) {
  // Bands so narrow that the grid has fewer points than cosine coefficients.
  std::vector<double> h(101, 5.0), f{0, 0.002, 0.499, 0.5};
  double dev = 0;
  EXPECT_GE(RemezImpulse(h, f, std::vector<double>{1, 0}, std::vector<double>{1, 1}, rtMultiband,
                         dev, 1.0, false),
            RemezStatusLimit.load());
  for (double v : h) EXPECT_EQ(v, 0.0);
}

TEST(RemezImpulse, EdgesOutsideTheNyquistRangeFailWithoutRaising) {
  const std::vector<double> gains{1, 0}, weights{1, 1};
  for (double fs : {0.0, 600.0}) {
    std::vector<double> h(21, 5.0), f{0, 100, 200, 500};
    double dev = 0;
    EXPECT_GE(RemezImpulse(h, f, gains, weights, rtMultiband, dev, fs, false), RemezStatusLimit.load()) << fs;
    for (double v : h) EXPECT_EQ(v, 0.0) << fs;
  }
}

TEST(RemezImpulse, DeviationBelowDoublePrecisionFailsWithFiniteTaps) {
  std::vector<double> h(2001), f{0, 0.05, 0.25, 0.5};
  double dev = 0;
  EXPECT_GE(RemezImpulse(h, f, std::vector<double>{1, 0}, std::vector<double>{1, 1}, rtMultiband,
                         dev, 1.0, false),
            RemezStatusLimit.load());
  for (double v : h) ASSERT_TRUE(std::isfinite(v));
}

// A design that fails tells the deviation its taps reach on the design's grid: 1001 taps with a
// transition of 0.02 once reported 8.5e-14, a million times below what its taps reached.
TEST(RemezImpulse, FailedDesignReportsTheErrorItsTapsReach) {
  const std::vector<double> edges{0, 0.2, 0.22, 0.5}, gains{1, 0}, weights{1, 1};
  std::vector<double> h(1001), f = edges;
  double dev = 0;
  ASSERT_GE(RemezImpulse(h, f, gains, weights, rtMultiband, dev, 1.0, false, 16), RemezStatusLimit.load());
  const double delf = 0.5 / (16.0 * (h.size() / 2));
  int ngrid = 0;
  for (int j = 0; j < 2; ++j) ngrid += static_cast<int>((f[2 * j + 1] - f[2 * j]) / delf);
  std::vector<double> grid(ngrid), des(ngrid), wt(ngrid);
  RemezGrid(2, f, delf, gains, weights, grid, des, wt);
  double largest = 0;
  for (int k = 0; k < ngrid; ++k) largest = std::max(largest, std::fabs(wt[k] * (des[k] - Amplitude(h, false, grid[k]))));
  EXPECT_TRUE(orvel::testing::NearRel(dev, largest, 1e-3)) << dev << " reported, " << largest << " reached";
}

TEST(RemezImpulse, GridDensityIsReadPerDesignOrGiven) {
  const std::vector<double> gains{1, 0}, weights{1, 1};
  auto design = [&](int density) {
    std::vector<double> h(41), f{0, 0.1, 0.15, 0.5};
    double dev = 0;
    if (density > 0)
      RemezImpulse(h, f, gains, weights, rtMultiband, dev, 1.0, false, density);
    else
      RemezImpulse(h, f, gains, weights, rtMultiband, dev, 1.0, false);
    return h;
  };
  const std::vector<double> d16 = design(16), d8 = design(8);
  EXPECT_NE(d16, d8);
  EXPECT_EQ(design(0), d16);
  GridDensity = 8;
  EXPECT_EQ(design(0), d8);
  GridDensity = 16;

  // A worker that passes its density is not moved by another thread's setting.
  std::vector<std::vector<double>> got(20);
  std::thread worker([&] { for (auto& h : got) h = design(16); });
  std::thread setter([&] { for (int i = 0; i < 200; ++i) GridDensity = i % 2 ? 4 : 16; });
  worker.join();
  setter.join();
  GridDensity = 16;
  for (const auto& h : got) EXPECT_EQ(h, d16);
}

// ---------------------------------------------------------------------------------------------
// The band-type wrappers

TEST(RemezFirOrder, ParityFollowsTheType) {
  const std::vector<double> w{0.05, 0.45};
  for (TFilterType t : {fltHilbertOdd, fltDifferentiatorOdd, fltDoubleDifferentiatorOdd,
                        fltIntegratorOdd, fltDoubleIntegratorOdd})
    EXPECT_EQ(RemezFirOrder(w, t, 0.01, 1.0) % 2, 1) << int(t);
  for (TFilterType t : {fltHilbertEven, fltDifferentiatorEven, fltDoubleDifferentiatorEven,
                        fltIntegratorEven, fltDoubleIntegratorEven})
    EXPECT_EQ(RemezFirOrder(w, t, 0.01, 1.0) % 2, 0) << int(t);
}

TEST(RemezFirOrder, EstimatesAreClampedToTheDesignRange) {
  EXPECT_EQ(RemezFirOrder(std::vector<double>{0.1, 0.4}, fltLowpass, 0.3, 1.0), 4);
  EXPECT_EQ(RemezFirOrder(std::vector<double>{0.1, 0.10001}, fltLowpass, 1e-6, 1.0), 10000);
  // An odd type clamped to 10000 becomes 10001, which the design refuses by name.
  const std::vector<double> w{0.00001, 0.49999};
  EXPECT_EQ(RemezFirOrder(w, fltHilbertOdd, 1e-6, 1.0), 10001);
  numeric::TVec h;
  EXPECT_EQ(RaisedMessage([&] { RemezFirAuto(h, w, 1e-6, fltHilbertOdd, 1.0, 1.0, false); }), msg::RemezLengthRange);
}

TEST(RemezFirAuto, ForceOddAddsATap) {
  const std::vector<double> w{0.1, 0.166};
  ASSERT_EQ(RemezFirOrder(w, fltLowpass, 0.01, 1.0), 30);
  numeric::TVec h;
  EXPECT_TRUE(RemezFirAuto(h, w, 0.01, fltLowpass, 1.0, 1.0, true));
  EXPECT_EQ(h.Length(), 31);
  EXPECT_TRUE(RemezFirAuto(h, w, 0.01, fltLowpass, 1.0, 1.0, false));
  EXPECT_EQ(h.Length(), 30);
}

TEST(RemezFirDesign, DesignsWhatRemezImpulseDesigns) {
  const double fs = 250;
  struct Case {
    TFilterType type;
    std::vector<double> w, f, gains;
    TRemezType rtype;
  };
  const double nyq = fs / 2, gain = 2;
  const std::vector<Case> cases{
      {fltLowpass, {20, 30}, {0, 20, 30, nyq}, {gain, 0}, rtMultiband},
      {fltHighpass, {20, 30}, {0, 20, 30, nyq}, {0, gain}, rtMultiband},
      {fltBandpass, {10, 20, 40, 50}, {0, 10, 20, 40, 50, nyq}, {0, gain, 0}, rtMultiband},
      {fltBandstop, {10, 20, 40, 50}, {0, 10, 20, 40, 50, nyq}, {gain, 0, gain}, rtMultiband},
      {fltHilbertEven, {5, 120}, {5, 120}, {gain}, rtHilbert},
      {fltDifferentiatorOdd, {0, 100}, {0, 100}, {gain}, rtDifferentiator},
      {fltDifferentiatorEven, {0, 100}, {0, nyq}, {gain}, rtDifferentiator},
      {fltDoubleIntegratorEven, {10, 100}, {10, nyq}, {gain}, rtDoubleIntegrator},
  };
  for (const Case& c : cases) {
    const int n = c.type == fltHilbertEven || c.type == fltDifferentiatorEven ||
                          c.type == fltDoubleIntegratorEven
                      ? 40
                      : 41;
    numeric::TVec h;
    h.SetLength(n);
    const bool ok = RemezFirDesign(h, c.w, c.type, gain, fs);
    std::vector<double> want(n), f = c.f;
    double dev = 0;
    const int status = RemezImpulse(want, f, c.gains, std::vector<double>(c.gains.size(), 1.0),
                                    c.rtype, dev, fs, false);
    EXPECT_EQ(ok, status < RemezStatusLimit.load()) << int(c.type);
    EXPECT_TRUE(ok) << int(c.type);
    for (int i = 0; i < n; ++i) ASSERT_EQ(h.Values()[i], want[i]) << int(c.type) << ' ' << i;
  }
}

TEST(RemezFirDesign, EvenHighpassIsReportedAsFailed) {
  numeric::TVec h;
  h.SetLength(30);
  EXPECT_FALSE(RemezFirDesign(h, std::vector<double>{0.2, 0.3}, fltHighpass, 1.0, 1.0));
  h.SetLength(31);
  EXPECT_TRUE(RemezFirDesign(h, std::vector<double>{0.2, 0.3}, fltHighpass, 1.0, 1.0));
}

TEST(RemezFirDesign, RequirementErrors) {
  numeric::TVec h;
  h.SetLength(31);
  const std::vector<double> two{0.1, 0.2}, three{0.1, 0.2, 0.3};
  EXPECT_EQ(RaisedMessage([&] { RemezFirDesign(h, three, fltLowpass, 1, 1); }), msg::RemezEdgeCount);
  EXPECT_EQ(RaisedMessage([&] { RemezFirOrder(three, fltLowpass, 0.01, 1); }), msg::RemezEdgeCount);
  for (TFilterType t : {fltBandpass, fltBandstop}) {
    EXPECT_EQ(RaisedMessage([&] { RemezFirDesign(h, two, t, 1, 1); }), msg::RemezTwoEdgeBands);
    EXPECT_EQ(RaisedMessage([&] { RemezFirOrder(two, t, 0.01, 1); }), msg::RemezTwoEdgeBands);
  }
  EXPECT_EQ(RaisedMessage([&] { RemezFirDesign(h, two, TFilterType(14), 1, 1); }), msg::RemezFilterType);
  h.SetLength(2);
  EXPECT_EQ(RaisedMessage([&] { RemezFirDesign(h, two, fltLowpass, 1, 1); }), msg::RemezLengthRange);
}

}  // namespace
}  // namespace dsp

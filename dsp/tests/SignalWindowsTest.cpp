// Windows by their edge cases: short segments, the Kaiser ends, the cosine
// taper's lengths, the dispatcher's normalisation (by the window's own mean
// for the five types whose gain depends on their parameter), the checks that
// run before any sample changes, the captions and the conjugate extension.
//
// Covers: dsp/SignalWindows.cpp, platform/spl/Windows.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "dsp/SignalUtils.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

using numeric::TCplx;
using numeric::TVec;
using orvel::testing::NearRel;
using orvel::testing::NearScaled;
using orvel::testing::Raises;

TVec& Real(TVec& v, const std::vector<double>& values) {
  v.Size(static_cast<std::int32_t>(values.size()), false);
  std::copy(values.begin(), values.end(), v.Values());
  return v;
}

TVec& Ones(TVec& v, int n) {
  v.Size(n, false);
  return v.SetVal(1.0);
}

std::vector<double> Doubles(const TVec& v) { return {v.Values(), v.Values() + v.DoubleLength()}; }

::testing::AssertionResult Near(const std::vector<double>& actual, const std::vector<double>& expected,
                                double tol) {
  if (actual.size() != expected.size())
    return ::testing::AssertionFailure() << actual.size() << " values, expected " << expected.size();
  for (std::size_t i = 0; i < actual.size(); ++i)
    if (!NearScaled(actual[i], expected[i], tol, 1.0))
      return ::testing::AssertionFailure() << "at " << i << ": " << actual[i] << ", expected " << expected[i];
  return ::testing::AssertionSuccess();
}

using TRoutine = std::function<void(TVec&, std::int32_t, std::int32_t)>;

struct TNamedRoutine {
  const char* name;
  TRoutine call;
};

const std::vector<TNamedRoutine>& Routines() {
  static const std::vector<TNamedRoutine> routines{
      {"Bartlett", [](TVec& v, std::int32_t i, std::int32_t n) { WindowBartlett(v, i, n); }},
      {"Blackman", [](TVec& v, std::int32_t i, std::int32_t n) { WindowBlackman(v, i, n, -0.16); }},
      {"Hamming", [](TVec& v, std::int32_t i, std::int32_t n) { WindowHamming(v, i, n); }},
      {"Hann", [](TVec& v, std::int32_t i, std::int32_t n) { WindowHann(v, i, n); }},
      {"BlackmanExact", [](TVec& v, std::int32_t i, std::int32_t n) { WindowBlackmanExact(v, i, n); }},
      {"BlackmanHarris", [](TVec& v, std::int32_t i, std::int32_t n) { WindowBlackmanHarris(v, i, n); }},
      {"FlatTop", [](TVec& v, std::int32_t i, std::int32_t n) { WindowFlatTop(v, i, n); }},
      {"Kaiser", [](TVec& v, std::int32_t i, std::int32_t n) { WindowKaiser(v, i, n, 4); }},
      {"Chebyshev", [](TVec& v, std::int32_t i, std::int32_t n) { WindowChebyshev(v, i, n, 60); }},
      {"CosineTaper", [](TVec& v, std::int32_t i, std::int32_t n) { WindowCosineTaper(v, i, n, 50); }},
      {"Exponent", [](TVec& v, std::int32_t i, std::int32_t n) { WindowExponent(v, i, n, 0.1); }},
  };
  return routines;
}

TEST(SignalWindows, TwoSampleSegments) {
  struct Case {
    const char* name;
    double factor;
  };
  // Library windows leave segments below 3 samples alone; the three-term
  // cosine windows multiply both samples by a0 - a1 + a2.
  const std::vector<Case> cases{{"Bartlett", 1},       {"Blackman", 1},          {"Hamming", 1},
                                {"Hann", 1},           {"BlackmanExact", 0.00687876}, {"BlackmanHarris", 0.0049},
                                {"FlatTop", -0.0417934}, {"Chebyshev", 1}};
  for (const Case& c : cases) {
    for (const auto& r : Routines()) {
      if (std::string(r.name) != c.name) continue;
      TVec v;
      Real(v, {5, 1, 1, 5});
      r.call(v, 1, 2);
      EXPECT_TRUE(Near(Doubles(v), {5, c.factor, c.factor, 5}, 1e-15)) << c.name;
    }
  }
}

TEST(SignalWindows, ComputedWindowEdgeCases) {
  TVec v;
  EXPECT_TRUE(Near(Doubles(WindowKaiser(Ones(v, 5), 0, -1, 0)), {0, 1, 1, 1, 0}, 0));
  EXPECT_TRUE(Near(Doubles(WindowExponent(Ones(v, 3), 0, -1, 0.5)), {1, std::sqrt(0.5), 0.5}, 1e-16));
  struct Taper {
    double percent;
    std::vector<double> expected;
  };
  const std::vector<Taper> tapers{
      {60, {0, 0.5, 1, 1, 1, 1, 1, 1, 0.5, 0}}, {40, {0, 1, 1, 1, 1, 1, 1, 1, 1, 0}},
      {20, {0, 1, 1, 1, 1, 1, 1, 1, 1, 0}},     {10, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
      {0, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},      {100, {0, 0.5 * (1 - std::cos(std::numbers::pi / 4)), 0.5, 0.5 * (1 + std::cos(std::numbers::pi / 4)), 1, 1,
                                                  0.5 * (1 + std::cos(std::numbers::pi / 4)), 0.5, 0.5 * (1 - std::cos(std::numbers::pi / 4)), 0}},
  };
  for (const Taper& t : tapers) {
    Ones(v, 11);
    WindowCosineTaper(v, 0, 10, t.percent);
    std::vector<double> expected = t.expected;
    expected.push_back(1);  // the sample after the segment
    EXPECT_TRUE(Near(Doubles(v), expected, 1e-15)) << t.percent << " %";
  }
}

TEST(SignalWindows, KaiserEndsAreSetNotMultiplied) {
  TVec v;
  Real(v, {INFINITY, 1, 1, 1, NAN});
  WindowKaiser(v, 0, 5, 3);
  EXPECT_EQ(v.Values()[0], 0.0);
  EXPECT_EQ(v.Values()[4], 0.0);
}

TEST(SignalWindows, ChebyshevPeaksAtOneAndIsSymmetric) {
  for (int n : {2, 3, 10, 11, 64, 65}) {
    TVec v;
    WindowChebyshev(Ones(v, n), 0, -1, 80);
    EXPECT_TRUE(NearRel(v.Max(), 1.0, 2.3e-16)) << n;
    for (int i = 0; i < n; ++i) EXPECT_EQ(v.Values()[i], v.Values()[n - 1 - i]) << n << " at " << i;
  }
}

TEST(SignalWindows, RefusalsComeBeforeAnySampleChanges) {
  for (const auto& r : Routines()) {
    TVec v;
    Real(v, {1, 2, 3, 4, 5});
    EXPECT_TRUE(Raises([&] { r.call(v, 2, 4); }, "Index+Len > Src.Length")) << r.name;
    EXPECT_TRUE(Raises([&] { r.call(v, -1, 4); }, "Index < 0")) << r.name;
    // A negative length other than -1 leaves the samples alone.
    r.call(v, 0, -3);
    EXPECT_EQ(Doubles(v), (std::vector<double>{1, 2, 3, 4, 5})) << r.name;
  }
  TVec v;
  Real(v, {1, 2, 3});
  // The percentage is checked before the segment.
  EXPECT_TRUE(Raises([&] { WindowCosineTaper(v, 2, 7, 100.5); }, "not (0 < Percent < 100)"));
  EXPECT_TRUE(Raises([&] { WindowCosineTaper(v, 0, 3, -0.5); }, "not (0 < Percent < 100)"));
  EXPECT_TRUE(Raises([&] { WindowCosineTaper(v, 0, 3, NAN); }, "not (0 < Percent < 100)"));
  EXPECT_EQ(Doubles(v), (std::vector<double>{1, 2, 3}));
}

TEST(SignalWindows, ApplyWindowFixedFactors) {
  struct Case {
    TSignalWindowType type;
    double factor;
    std::function<void(TVec&)> window;
  };
  const std::vector<Case> cases{
      {wtRectangular, 1.0, [](TVec&) {}},
      {wtHanning, 2.0, [](TVec& v) { WindowHann(v, 1, 6); }},
      {wtBartlet, 2.0, [](TVec& v) { WindowBartlett(v, 1, 6); }},
      {wtHamming, 1.85185185, [](TVec& v) { WindowHamming(v, 1, 6); }},
      {wtFlatTop, 3.55790978, [](TVec& v) { WindowFlatTop(v, 1, 6); }},
      {wtBlackmanHarris, 2.362782, [](TVec& v) { WindowBlackmanHarris(v, 1, 6); }},
      {wtBlackmanExact, 2.344168, [](TVec& v) { WindowBlackmanExact(v, 1, 6); }},
      {static_cast<TSignalWindowType>(12), 1.0, [](TVec&) {}},
  };
  const std::vector<double> data{7, 1, -2, 3, -4, 5, -6, 9};
  for (const Case& c : cases) {
    TVec applied, expected;
    Real(applied, data);
    ApplyWindow(applied, c.type, true, 0, 1, 6);
    Real(expected, data);
    c.window(expected);
    expected.Scale(c.factor, 1, 6);
    EXPECT_EQ(Doubles(applied), Doubles(expected)) << int(c.type);
  }
}

TEST(SignalWindows, ApplyWindowNormalisesByTheWindowsOwnMean) {
  struct Case {
    TSignalWindowType type;
    double param;
  };
  const std::vector<Case> cases{
      {wtBlackman, -0.16}, {wtCosineTappered, 0}, {wtKaiser, 6}, {wtChebyshev, 70}, {wtExponent, 0.2}};
  const int n = 33;
  for (const Case& c : cases) {
    // A segment of ones ends with mean 1.
    TVec ones;
    Ones(ones, n);
    ApplyWindow(ones, c.type, true, c.param, 0, -1);
    EXPECT_TRUE(NearRel(ones.Mean(), 1.0, 1e-14)) << int(c.type);
    // A signal of zero mean gets the same factor, not an infinite one.
    TVec ac;
    ac.Size(n + 2, false);
    for (int i = 0; i < n + 2; ++i) ac.Values()[i] = i % 2 == 0 ? 1.0 : -1.0;
    ApplyWindow(ac, c.type, true, c.param, 1, n);
    for (int i = 0; i < n; ++i)
      EXPECT_TRUE(NearRel(ac.Values()[i + 1], (i % 2 == 0 ? -1.0 : 1.0) * ones.Values()[i], 1e-15))
          << int(c.type) << " at " << i;
    EXPECT_EQ(ac.Values()[0], 1.0);
    EXPECT_EQ(ac.Values()[n + 1], (n + 1) % 2 == 0 ? 1.0 : -1.0);
    // Complex data are normalised too, both parts by one factor.
    TVec z;
    z.Size(n, true);
    z.SetVal(TCplx{2, -1});
    ApplyWindow(z, c.type, true, c.param, 0, -1);
    for (int i = 0; i < n; ++i) {
      EXPECT_TRUE(NearRel(z.CValues()[i].Re, 2 * ones.Values()[i], 1e-15)) << int(c.type);
      EXPECT_TRUE(NearRel(z.CValues()[i].Im, -ones.Values()[i], 1e-15)) << int(c.type);
    }
  }
  // A window of zeros (Kaiser over two samples) is not scaled into NaN.
  TVec two;
  Real(two, {4, 5});
  ApplyWindow(two, wtKaiser, true, 3, 0, -1);
  EXPECT_EQ(Doubles(two), (std::vector<double>{0, 0}));
}

TEST(SignalWindows, ApplyWindowChecksBeforeWindowing) {
  for (TSignalWindowType type : {wtHanning, wtKaiser, wtExponent, wtRectangular}) {
    TVec v;
    Real(v, {1, 2, 3, 4, 5});
    EXPECT_TRUE(Raises([&] { ApplyWindow(v, type, true, 0.5, 0, -2); }, "(Len <= 0) or (Index < 0)"));
    EXPECT_TRUE(Raises([&] { ApplyWindow(v, type, true, 0.5, 6, -1); }, "(Len <= 0) or (Index < 0)"));
    EXPECT_TRUE(Raises([&] { ApplyWindow(v, type, true, 0.5, 3, 4); }, "Index+Len > Src.Length"));
    EXPECT_EQ(Doubles(v), (std::vector<double>{1, 2, 3, 4, 5}));
  }
}

TEST(SignalWindows, Captions) {
  const std::vector<std::string> captions{"Rectangular",  "Hanning",         "Hamming", "Flat top",
                                          "Bartlet",      "Blackman",        "Blackman-Harris",
                                          "Blackman exact", "Cosine tappered", "Kaiser",  "Chebyshev",
                                          "Exponent down"};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(WindowCaption(static_cast<TSignalWindowType>(i)), captions[i]);
  EXPECT_EQ(WindowCaption(static_cast<TSignalWindowType>(12)), "");
}

TEST(SignalWindows, ConjExtendCompletesTheSpectrum) {
  // The spectrum of 8 real samples: the full one is the complex FFT of the signal.
  const std::vector<double> x{1, -2, 3.5, 0.25, -1, 4, 2, -3};
  TVec signal, half, full;
  Real(signal, x);
  half.FFT(signal);
  ASSERT_EQ(half.Length(), 4);
  full.Size(8, true);
  for (int i = 0; i < 8; ++i) full.CValues()[i] = TCplx{x[i], 0};
  full.FFT();
  ConjExtend(half);
  ASSERT_EQ(half.Length(), 8);
  for (int k = 0; k < 8; ++k) {
    EXPECT_TRUE(NearScaled(half.CValues()[k].Re, full.CValues()[k].Re, 1e-14, 10)) << k;
    EXPECT_TRUE(NearScaled(half.CValues()[k].Im, full.CValues()[k].Im, 1e-14, 10)) << k;
  }
  // Without a known half-rate bin, bin M is 0; the first M bins are kept.
  TVec z;
  z.Size(4, true);
  for (int i = 0; i < 4; ++i) z.CValues()[i] = TCplx{double(i + 1), double(-i)};
  ConjExtend(z);
  ASSERT_EQ(z.Length(), 8);
  const std::vector<double> expected{1, 0, 2, -1, 3, -2, 4, -3, 0, 0, 4, 3, 3, 2, 2, 1};
  EXPECT_EQ(Doubles(z), expected);
  TVec empty, real;
  empty.Size(0, false);
  EXPECT_EQ(ConjExtend(empty).Length(), 0);
  Real(real, {1, 2});
  EXPECT_TRUE(Raises([&] { ConjExtend(real); }, "not Src.Complex"));
}

TEST(SignalWindows, BesselI0Values) {
  EXPECT_EQ(BesselI0(0), 1.0);
  // The series in extended precision rounds to the double nearest I0(1) =
  // 1.26606587775200833560...; 1.2660658777520082 lies a unit lower and farther.
  EXPECT_EQ(BesselI0(1), 1.2660658777520084);
  EXPECT_EQ(BesselI0(-1), 1.2660658777520084);
}

}  // namespace
}  // namespace dsp

// Running filters and generators by their rules and edge cases: the checks
// and their texts, the multirate output counts, a redesign that replaces the
// filter, the tone at every frequency, the triangle's shape, phase and
// frequency wrapping, the wavelet set-up, the median's raw history, the delay
// line across blocks, the frame average, notch and DC-removal designs.
//
// Covers: dsp/FilterStates.cpp, dsp/Generators.cpp, dsp/MedianDelay.cpp,
// platform/spl/Fir.cpp, platform/spl/Iir.cpp, platform/spl/Tone.cpp,
// platform/spl/Wavelet.cpp, platform/spl/MedianFilter.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "dsp/SignalUtils.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

using numeric::TCplx;
using numeric::TVec;
using orvel::testing::NearScaled;
using orvel::testing::Raises;

constexpr double kPi = std::numbers::pi;

TVec& Real(TVec& v, const std::vector<double>& values) {
  v.Size(static_cast<std::int32_t>(values.size()), false);
  std::copy(values.begin(), values.end(), v.Values());
  return v;
}

TVec& Cplx(TVec& v, const std::vector<TCplx>& values) {
  v.Size(static_cast<std::int32_t>(values.size()), true);
  std::copy(values.begin(), values.end(), v.CValues());
  return v;
}

std::vector<double> Doubles(const TVec& v) { return {v.Values(), v.Values() + v.DoubleLength()}; }

// ---------------------------------------------------------------------------
// FIR

TEST(FilterStates, FirRefusals) {
  TVec taps, empty, src, dst;
  Real(taps, {1, 2});
  empty.Size(0, false);
  TFirState state;
  struct Case {
    std::function<void()> call;
    const char* message;
  };
  const std::vector<Case> cases{
      {[&] { FirInitState(empty, state, false); }, "FIRTaps.Length = 0"},
      {[&] { FirInitState(taps, state, false, 0, 0, 1, 0); }, "(DownSample < 1) or (UpSample < 1)"},
      {[&] { FirInitState(taps, state, false, 1, 0, 0, 0); }, "(DownSample < 1) or (UpSample < 1)"},
      {[&] { FirInitState(taps, state, false, 2, 2, 1, 0); }, "(UpPhase < 0) or (UpPhase >= UpSample)"},
      {[&] { FirInitState(taps, state, false, 2, -1, 1, 0); }, "(UpPhase < 0) or (UpPhase >= UpSample)"},
      {[&] { FirInitState(taps, state, false, 1, 0, 3, 3); }, "(DownPhase < 0) or (DownPhase >= DownSample)"},
      {[&] { FirFilter(Real(src, {1, 2}), dst, state); }, "First.Initialized = false"},
  };
  for (const Case& c : cases) EXPECT_TRUE(Raises(c.call, c.message));
  EXPECT_FALSE(state.Initialized);
  // An empty block gives an empty output before anything else is asked.
  src.Size(0, true);
  Real(dst, {7});
  FirFilter(src, dst, state);
  EXPECT_EQ(dst.Length(), 0);
  EXPECT_TRUE(dst.Complex());
  // Data of the other kind than the set-up.
  FirInitState(taps, state, false);
  Cplx(src, {{1, 1}});
  Real(dst, {7});
  EXPECT_TRUE(Raises([&] { FirFilter(src, dst, state); }, "Src.Complex <> ComplexData"));
  EXPECT_EQ(Doubles(dst), (std::vector<double>{7}));
}

TEST(FilterStates, MultirateConsumesEveryInput) {
  TVec taps, src, dst;
  Real(taps, {1});
  TFirState state;
  FirInitState(taps, state, false, 3, 0, 2, 0);
  Real(src, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  FirFilter(src, dst, state);
  EXPECT_EQ(dst.Length(), 15);
  // Ten inputs in two blocks of five: 8, then 7, the same 15 values.
  TFirState halves;
  FirInitState(taps, halves, false, 3, 0, 2, 0);
  TVec a, b;
  FirFilter(Real(src, {1, 2, 3, 4, 5}), a, halves);
  FirFilter(Real(src, {6, 7, 8, 9, 10}), b, halves);
  ASSERT_EQ(a.Length(), 8);
  ASSERT_EQ(b.Length(), 7);
  std::vector<double> joined = Doubles(a);
  for (double v : Doubles(b)) joined.push_back(v);
  EXPECT_EQ(joined, Doubles(dst));
  // Up 3, down 2, taps 1: input q at position 3q, every second position kept.
  EXPECT_EQ(Doubles(dst), (std::vector<double>{1, 0, 0, 3, 0, 0, 5, 0, 0, 7, 0, 0, 9, 0, 0}));
  // Decimating by 2 without remainder loss: 5 + 5 + 5 inputs give 3 + 2 + 3 outputs.
  TFirState decimator;
  FirInitState(taps, decimator, false, 1, 0, 2, 0);
  std::vector<int> counts;
  for (int k = 0; k < 3; ++k) {
    FirFilter(Real(src, {1, 2, 3, 4, 5}), a, decimator);
    counts.push_back(a.Length());
  }
  EXPECT_EQ(counts, (std::vector<int>{3, 2, 3}));
}

TEST(FilterStates, RedesignReplacesTheFilter) {
  TVec taps, src, dst;
  TFirState state;
  FirInitState(Real(taps, {1, 1, 1}), state, false);
  FirFilter(Real(src, {1, 2, 3}), dst, state);
  EXPECT_EQ(Doubles(dst), (std::vector<double>{1, 3, 6}));
  // A new design starts with a clean delay line and the new taps.
  FirInitState(Real(taps, {2}), state, false);
  FirFilter(Real(src, {4, 5}), dst, state);
  EXPECT_EQ(Doubles(dst), (std::vector<double>{8, 10}));
  FirFreeState(state);
  EXPECT_FALSE(state.Initialized);
  FirFreeState(state);
  EXPECT_TRUE(Raises([&] { FirFilter(src, dst, state); }, "First.Initialized = false"));
}

TEST(FilterStates, FirComplexTapsOnRealDataGiveComplexOutput) {
  TVec taps, src, dst;
  TFirState state;
  FirInitState(Cplx(taps, {{1, 0}, {0, 1}}), state, false);
  FirFilter(Real(src, {1, 2, 3}), dst, state);
  ASSERT_TRUE(dst.Complex());
  EXPECT_EQ(Doubles(dst), (std::vector<double>{1, 0, 2, 1, 3, 2}));
  // In place, the real input is read before the complex output overwrites it.
  FirFilter(Real(src, {4, 5}), src, state);
  EXPECT_EQ(Doubles(src), (std::vector<double>{4, 3, 5, 4}));
}

// ---------------------------------------------------------------------------
// IIR

TEST(FilterStates, IirRefusalsLeaveEverythingAsItWas) {
  TVec taps, src, dst;
  TIirState state;
  taps.Size(0, false);
  EXPECT_TRUE(Raises([&] { IirInitState(taps, state, false); }, "Taps.Length = 0"));
  EXPECT_TRUE(Raises([&] { IirInitState(Real(taps, {1}), state, false); }, "Taps.Length < 2"));
  EXPECT_TRUE(Raises([&] { IirInitState(Real(taps, {1, 2, 0, 1}), state, false); }, "Taps[Taps.Length div 2] = 0"));
  EXPECT_FALSE(state.Initialized);
  Real(src, {1, 2});
  Real(dst, {9, 9, 9});
  EXPECT_TRUE(Raises([&] { IirFilter(src, dst, state); }, "not IirState.Initialized"));
  EXPECT_EQ(Doubles(dst), (std::vector<double>{9, 9, 9}));
  // y[n] = x[n] + 0.5 y[n-1]: b = [1, 0], a = [1, -0.5]; the state runs on.
  IirInitState(Real(taps, {1, 0, 1, -0.5}), state, false);
  IirFilter(Real(src, {1, 0}), dst, state);
  EXPECT_EQ(Doubles(dst), (std::vector<double>{1, 0.5}));
  IirFilter(Real(src, {0}), src, state);
  EXPECT_EQ(Doubles(src), (std::vector<double>{0.25}));
  EXPECT_TRUE(Raises([&] { IirFilter(Cplx(src, {{1, 0}}), dst, state); }, "Src.Complex <> ComplexData"));
  // A redesign starts afresh.
  IirInitState(Real(taps, {2, 4}), state, false);
  IirFilter(Real(src, {1, 3}), dst, state);
  EXPECT_EQ(Doubles(dst), (std::vector<double>{0.5, 1.5}));
  IirFreeState(state);
  EXPECT_FALSE(state.Initialized);
}

// ---------------------------------------------------------------------------
// Notch and DC removal

TEST(FilterStates, NotchAndDcRemovalDesigns) {
  TVec num, den;
  NotchDesign(num, den, 50, 0.9, 1000);
  const double c = std::cos(2 * kPi * 50 / 1000);
  EXPECT_EQ(Doubles(num), (std::vector<double>{1, -2 * c, 1}));
  EXPECT_EQ(Doubles(den), (std::vector<double>{1, -2 * 0.9 * c, 0.9 * 0.9}));
  NotchDesign(num, den, 500, 1, 1000);  // both bounds included
  EXPECT_EQ(Doubles(num), Doubles(den));
  for (double r : {-0.1, 1.1, std::nan("")})
    EXPECT_TRUE(Raises([&] { NotchDesign(num, den, 50, r, 1000); }, "not (0 < r < 1)"));
  for (double f : {-1.0, 500.5, std::nan("")})
    EXPECT_TRUE(Raises([&] { NotchDesign(num, den, f, 0.5, 1000); }, "not (0 < NotchFrequency < FS/2)"));

  DcRemovalDesign(num, den, 10, 1000);
  const double a = 1 - kPi * 10 / 1000, g = a / (a + (1 - a) / 2);
  EXPECT_EQ(Doubles(num), (std::vector<double>{g, -g}));
  EXPECT_EQ(Doubles(den), (std::vector<double>{1, -a}));
  for (double tb : {-1.0, 501.0, std::nan("")})
    EXPECT_TRUE(Raises([&] { DcRemovalDesign(num, den, tb, 1000); }, "0 < TransitionBandwidth < FS/2"));
  // The blocker has no gain at 0.
  DcRemovalDesign(num, den, 20, 1000);
  EXPECT_EQ(num.Values()[0] + num.Values()[1], 0.0);
}

// ---------------------------------------------------------------------------
// Generators

TEST(FilterStates, ToneIsMagSineAtEveryFrequency) {
  struct Case {
    double freq, phase, mag;
  };
  // 0 and 0.5 included: a constant Mag sin(Phase) and an alternating tone.
  const std::vector<Case> cases{{0.0, kPi / 2, 3},   {0.0, 0.3, 2},    {0.5, 0.4, 1.5}, {0.1234, 0.7, 2},
                                {0.75, -1.0, 1},     {-0.2, 2.0, 0.5}, {1.3, 0.0, 1}};
  for (const Case& c : cases) {
    const double f = std::fabs(WrapFrequency(false, c.freq));
    TToneState state;
    ToneInit(state, false, c.freq, c.phase, c.mag);
    TVec a, b;
    a.Size(7, false);
    b.Size(9, false);
    ToneGenerate(a, state);
    ToneGenerate(b, state);
    for (int n = 0; n < 16; ++n) {
      const double got = n < 7 ? a.Values()[n] : b.Values()[n - 7];
      const double expected = c.mag * std::sin(2 * kPi * f * n + c.phase);
      EXPECT_TRUE(NearScaled(got, expected, 1e-14, c.mag)) << c.freq << " n=" << n;
    }
  }
  TToneState nyquist;
  ToneInit(nyquist, false, 0.5, kPi / 2, 2);
  TVec v;
  v.Size(4, false);
  ToneGenerate(v, nyquist);
  for (int n = 0; n < 4; ++n) EXPECT_TRUE(NearScaled(v.Values()[n], n % 2 == 0 ? 2 : -2, 1e-15, 2)) << n;
}

TEST(FilterStates, ComplexToneTurnsWithTheFrequencysSign) {
  for (double freq : {0.13, -0.13, 0.5, 0.0}) {
    TToneState state;
    ToneInit(state, true, freq, 0.6, 2);
    TVec z;
    z.Size(12, true);
    ToneGenerate(z, state);
    // Half the sampling rate folds to -0.5, a negative frequency.
    const bool negative = WrapFrequency(true, freq) < 0;
    for (int n = 0; n < 12; ++n) {
      const double theta = 2 * kPi * std::fabs(freq) * n + 0.6;
      const double im = negative ? 2 * std::cos(theta) : -2 * std::cos(theta);
      EXPECT_TRUE(NearScaled(z.CValues()[n].Re, 2 * std::sin(theta), 1e-14, 2)) << freq << " n=" << n;
      EXPECT_TRUE(NearScaled(z.CValues()[n].Im, im, 1e-14, 2)) << freq << " n=" << n;
    }
  }
}

TEST(FilterStates, GeneratorRefusals) {
  TToneState tone;
  TTriangleState triangle;
  TVec empty, real, cplx;
  empty.Size(0, false);
  real.Size(3, false);
  cplx.Size(3, true);
  EXPECT_TRUE(Raises([&] { ToneGenerate(real, tone); }, "not ToneState.Initialized"));
  EXPECT_TRUE(Raises([&] { TriangleGenerate(real, triangle); }, "not ToneState.Initialized"));
  ToneInit(tone, false, 0.1, 0, 1);
  TriangleInit(triangle, true, 0.1, 0, 1, 0);
  EXPECT_TRUE(Raises([&] { ToneGenerate(empty, tone); }, "Tone: Dst.Length = 0!"));
  EXPECT_TRUE(Raises([&] { ToneGenerate(cplx, tone); }, "Dst.Complex <> ToneState.Complex"));
  EXPECT_TRUE(Raises([&] { TriangleGenerate(empty, triangle); }, "Tone: Dst.Length = 0!"));
  EXPECT_TRUE(Raises([&] { TriangleGenerate(real, triangle); }, "Dst.Complex <> ToneState.Complex"));
}

TEST(FilterStates, TriangleShape) {
  // Eight samples a period, symmetric: peaks at the phase 0 like a cosine.
  TTriangleState state;
  TriangleInit(state, false, 0.125, 0, 2, 0);
  TVec v;
  v.Size(10, false);
  TriangleGenerate(v, state);
  const std::vector<double> symmetric{2, 1, 0, -1, -2, -1, 0, 1, 2, 1};
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(NearScaled(v.Values()[i], symmetric[i], 1e-14, 2)) << i;
  // Asymmetry -pi/2: the fall takes a quarter period, the rise three quarters.
  TriangleInit(state, false, 0.125, 0, 1, -kPi / 2);
  TriangleGenerate(v, state);
  const std::vector<double> skewed{1, 0, -1, -2.0 / 3, -1.0 / 3, 0, 1.0 / 3, 2.0 / 3, 1, 0};
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(NearScaled(v.Values()[i], skewed[i], 1e-14, 1)) << i;
  // Complex: the imaginary part runs a quarter period behind.
  TriangleInit(state, true, 0.125, 0, 1, 0);
  TVec z;
  z.Size(8, true);
  TriangleGenerate(z, state);
  const std::vector<double> re{1, 0.5, 0, -0.5, -1, -0.5, 0, 0.5}, im{0, 0.5, 1, 0.5, 0, -0.5, -1, -0.5};
  for (int i = 0; i < 8; ++i) {
    EXPECT_TRUE(NearScaled(z.CValues()[i].Re, re[i], 1e-14, 1)) << i;
    EXPECT_TRUE(NearScaled(z.CValues()[i].Im, im[i], 1e-14, 1)) << i;
  }
}

TEST(FilterStates, Wrapping) {
  struct Freq {
    bool complex;
    double f, expected;
  };
  const std::vector<Freq> freqs{{false, 0.75, 0.25}, {true, 0.75, -0.25}, {true, -0.25, -0.25},
                                {false, -0.25, 0.25}, {true, 0.5, -0.5},   {false, 0.5, 0.5},
                                {true, 1.0, 0.0},     {false, 3.1, 0.1},   {true, -0.6, 0.4}};
  for (const Freq& c : freqs) EXPECT_NEAR(WrapFrequency(c.complex, c.f), c.expected, 1e-15) << c.f;
  EXPECT_NEAR(WrapPhase(-kPi / 2), 3 * kPi / 2, 1e-15);
  EXPECT_EQ(WrapPhase(0), 0.0);
  EXPECT_NEAR(WrapPhase(7 * kPi), kPi, 1e-14);
  // Far beyond the 32-bit range of whole periods, still in [0, 2 pi).
  const double far = WrapPhase(-1e12);
  EXPECT_GE(far, 0.0);
  EXPECT_LT(far, 2 * kPi);
}

TEST(FilterStates, WaveletSetUp) {
  spl::WtState state;
  struct Case {
    std::int32_t length, p1, p2, level;
    TWaveletType type;
    const char* message;
  };
  const std::vector<Case> refusals{
      {0, 1, 1, 1, wtHaar, "Src.Length = 0"},
      {48, 1, 1, 1, wtHaar, "DataLength not power of two!"},
      {-8, 1, 1, 1, wtHaar, "DataLength not power of two!"},
      {64, 0, 1, 1, wtHaar, "Parameter1 < 1"},
      {64, 1, 1, 6, wtHaar, "Level > LagestLog2(Src.Length)!"},
      {64, 11, 1, 2, wtDaublet, "WtInit: par1 11 outside 1 .. 10"},
      {64, 2, 3, 2, wtBSpline, "WtInit: par2 3 is not a B-spline order that par1 2 pairs with"},
      {64, 1, 1, 2, wtByFilter, "WtInit: unknown wavelet family 10"},
  };
  for (const Case& c : refusals)
    EXPECT_TRUE(Raises([&] { WaveletInit(c.length, c.p1, c.p2, c.level, c.type, state); }, c.message)) << c.message;
  EXPECT_FALSE(state.Initialized);
  WaveletInit(64, 3, 7, 5, wtBSplineDual, state);
  EXPECT_TRUE(state.Initialized);
  EXPECT_EQ(state.WtType, 7);
  EXPECT_EQ(state.DataOrder, 6);
  EXPECT_EQ(state.Level, 5);
}

// ---------------------------------------------------------------------------
// Median, delay line, frame average

TEST(FilterStates, MedianKeepsRawInputsAsHistory) {
  TMedianState state;
  MedianInit(4, state);
  EXPECT_EQ(state.Length, 5);
  MedianInit(5, state);
  EXPECT_EQ(state.Length, 5);
  MedianInit(2, state);  // a window of 3
  TVec src, dst;
  // Blocks at least as long as the window: the second block's first outputs
  // come from the first block's raw inputs (5, 9 ...), not from its medians.
  MedianFilter(Real(src, {5, 1, 9, 7}), dst, state);
  EXPECT_EQ(Doubles(dst), (std::vector<double>{0, 0, 1, 5}));
  MedianFilter(Real(src, {2, 8, 3}), dst, state);
  EXPECT_EQ(Doubles(dst), (std::vector<double>{7, 7, 7}));
  MedianFilter(Real(src, {4}), src, state);  // in place, shorter than the window
  EXPECT_EQ(Doubles(src), (std::vector<double>{3}));
  TVec z;
  z.Size(2, true);
  EXPECT_TRUE(Raises([&] { MedianFilter(z, dst, state); }, "Src.Complex = True"));
  MedianFree(state);
  EXPECT_TRUE(Raises([&] { MedianFilter(src, dst, state); }, "MedianInit not called"));
  EXPECT_TRUE(Raises([&] { MedianInit(-1, state); }, "WindowLength < 0"));
}

TEST(FilterStates, DelayLineAcrossBlocks) {
  TMedianState state;
  DelayInit(3, state);
  TVec src, dst;
  DelayFilter(Real(src, {1, 2}), dst, state);
  EXPECT_EQ(Doubles(dst), (std::vector<double>{0, 0}));
  DelayFilter(Real(src, {3, 4, 5}), dst, state);
  EXPECT_EQ(Doubles(dst), (std::vector<double>{0, 1, 2}));
  DelayFilter(Real(src, {6, 7, 8, 9}), src, state);  // in place
  EXPECT_EQ(Doubles(src), (std::vector<double>{3, 4, 5, 6}));
  // Complex data move whole elements.
  DelayInit(1, state);
  DelayFilter(Cplx(src, {{1, -1}, {2, -2}}), dst, state);
  EXPECT_EQ(Doubles(dst), (std::vector<double>{0, 0, 1, -1}));
  DelayFilter(Cplx(src, {{3, -3}}), dst, state);
  EXPECT_EQ(Doubles(dst), (std::vector<double>{2, -2}));
  // No delay: a copy.
  DelayInit(0, state);
  DelayFilter(Real(src, {4, 5}), dst, state);
  EXPECT_EQ(Doubles(dst), (std::vector<double>{4, 5}));
}

TEST(FilterStates, FrameAverage) {
  TVec src, dst;
  FrameAverage(Real(src, {1, -3, 2, 2, -6, 0}), dst, 2);
  EXPECT_EQ(Doubles(dst), (std::vector<double>{2, 2, 3}));
  FrameAverage(Cplx(src, {{3, 4}, {0, -2}}), dst, 2);
  EXPECT_EQ(Doubles(dst), (std::vector<double>{3.5}));
  FrameAverage(Real(src, {1, 2, 3}), src, 3);  // in place
  EXPECT_EQ(Doubles(src), (std::vector<double>{2}));
  Real(src, {1, 2, 3});
  EXPECT_TRUE(Raises([&] { FrameAverage(src, dst, 0); }, "FrameSize < 1"));
  EXPECT_TRUE(Raises([&] { FrameAverage(src, dst, -2); }, "FrameSize < 1"));
  EXPECT_TRUE(Raises([&] { FrameAverage(src, dst, 2); }, "(Src.Length mod FrameSize) <> 0"));
}

}  // namespace
}  // namespace dsp

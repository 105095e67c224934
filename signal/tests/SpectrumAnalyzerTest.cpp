// The spectrum analyser: defaults and clamps, scaling of tones by window, type and
// arrangement, the exact path, the decibel scale, averaging, the other methods, two inputs,
// streams, and the settings of its peaks object.
// Covers signal/SpectrumAnalyzer.cpp, signal/SpectrumAnalyzerUpdate.cpp,
// signal/SpectrumTransform.cpp, signal/SpectrumCZT.cpp, signal/SpectrumPeaks.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "dsp/SignalUtils.h"
#include "numeric/MathCore.h"
#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/StringLists.h"
#include "signal/SignalCollections.h"
#include "signal/SpectrumAnalyzer.h"
#include "signal/SpectrumBands.h"
#include "signal/SpectrumCZT.h"
#include "signal/SpectrumPeaks.h"
#include "signal/SpectrumReport.h"
#include "signal/SpectrumStats.h"
#include "signal/tests/AnalyzerTestSupport.h"
#include "testing/TestSupport.h"

namespace sig {
namespace {

using numeric::TCplx;
using numeric::TVec;
using orvel::testing::NearRel;
using orvel::testing::NearScaled;
using orvel::testing::Raises;
using testsupport::ComplexTone;
using testsupport::Tone;
using testsupport::Values;

constexpr double Pi = numeric::PI;

int MaxLine(const TVec& v) {
  double m = 0;
  int index = 0;
  v.MaxIdx(m, index);
  return index;
}

TEST(SpectrumAnalyzer, ANewAnalyserHasItsDefaults) {
  TSpectrumAnalyzer a;
  EXPECT_EQ(a.SpectrumType(), dsp::spAmplt);
  EXPECT_EQ(a.Window(), dsp::wtRectangular);
  EXPECT_EQ(a.SidelobeAtt(), 40.0);
  EXPECT_EQ(a.LogSpan(), ls120);
  EXPECT_TRUE(a.DCDump());
  EXPECT_EQ(a.AROrder(), 100);
  EXPECT_EQ(a.ZeroPadding(), 1);
  EXPECT_TRUE(a.ConjFlip());
  EXPECT_FALSE(a.ConjExtend());
  EXPECT_EQ(a.ExpWindow(), 0.01);
  EXPECT_EQ(a.Method(), smFFT);
  EXPECT_EQ(a.RunningPhase(), dsp::rpConstPhase);
  EXPECT_EQ(a.ScaleFactor(), 1.0);
  EXPECT_TRUE(a.UsesInputs());
  EXPECT_TRUE(a.MultiChannel());
  EXPECT_TRUE(a.ExactFrequency());
  EXPECT_EQ(a.EditorClassName(), "TSpectrumAnaForm");
  EXPECT_EQ(a.Stats().Averaging(), avNone);
  EXPECT_EQ(a.Peaks().Interpolation().Method(), imNone);
  EXPECT_EQ(a.CZT().StopFrequency(), 0.5);
  EXPECT_EQ(a.Report().ReportItems(), 0);
  EXPECT_EQ(a.Output(), nullptr);
}

TEST(SpectrumAnalyzer, SettersClampWhatCannotBeUsed) {
  TSpectrumAnalyzer a;
  a.SetSidelobeAtt(5);
  EXPECT_EQ(a.SidelobeAtt(), 13.0);
  a.SetSidelobeAtt(1000);
  EXPECT_EQ(a.SidelobeAtt(), 300.0);
  a.SetExpWindow(0);
  EXPECT_EQ(a.ExpWindow(), 2.2250738585072014e-308);
  a.SetExpWindow(-1);
  EXPECT_EQ(a.ExpWindow(), 2.2250738585072014e-308);
  EXPECT_EQ(LogSpanDecibels(ls30), 30);
  EXPECT_EQ(LogSpanDecibels(ls350), 350);
}

TEST(SpectrumAnalyzer, TransformLengthIsThePowerOfTwoTimesThePadding) {
  TSignal x;
  Tone(x, 100, 3, 1);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.Update();
  EXPECT_EQ(a.FftLength(), 128);
  EXPECT_EQ(a.PaddingRatio(), 1.28);
  EXPECT_EQ(a.Length(), 64);
  a.SetZeroPadding(2);
  a.Update();
  EXPECT_EQ(a.FftLength(), 256);
  EXPECT_EQ(a.Length(), 128);
}

struct TTypeCase {
  TSpectrumType Type;
  double Expected;
};

TEST(SpectrumAnalyzer, ASineOnALineShowsItsAmplitudeScaledByTheSpectrumType) {
  const TTypeCase cases[] = {{dsp::spAmplt, 1.5},
                             {dsp::spRMS, 1.5 / std::sqrt(2.0)},
                             {dsp::spPeakPeak, 3.0},
                             {dsp::spPower, 2.25}};
  TSignal x;
  Tone(x, 256, 20, 1.5, 0.3, 1000);
  for (const TTypeCase& c : cases) {
    TSpectrumAnalyzer a;
    a.SetInput(&x);
    a.SetSpectrumType(c.Type);
    a.Update();
    EXPECT_TRUE(NearRel(a.Amplt().GetValue(20), c.Expected, 1e-12)) << c.Type;
    EXPECT_TRUE(NearScaled(a.Amplt().GetValue(21), 0.0, 1e-12, c.Expected)) << c.Type;
    EXPECT_EQ(MaxLine(a.Amplt()), 20);
    EXPECT_EQ(a.HzRes(), 1000.0 / 256);
  }
}

TEST(SpectrumAnalyzer, PhaseOfALineIsTheCosinePhaseInTheChosenUnitsAndRange) {
  TSignal x;
  Tone(x, 128, 10, 1, 0.5, 1, true);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.Update();
  EXPECT_TRUE(NearRel(a.Phase().GetValue(10), 0.5 * 180 / Pi, 1e-10));
  a.SetPhaseUnits(puRad);
  a.SetPhaseRange(prZeroTwoPi);
  a.Update();
  EXPECT_TRUE(NearRel(a.Phase().GetValue(10), 0.5 + Pi, 1e-10));
}

TEST(SpectrumAnalyzer, ComplexToneLandsOnTheLineOfItsFrequency) {
  for (bool flip : {true, false}) {
    for (double cycles : {-24.0, 5.0, 40.0}) {
      TSignal x;
      ComplexTone(x, 128, cycles, 0.8, 64.0);
      TSpectrumAnalyzer a;
      a.SetInput(&x);
      a.SetConjFlip(flip);
      a.Update();
      ASSERT_EQ(a.Length(), 128);
      const int line = MaxLine(a.Amplt());
      // The line's frequency is the tone's (the unflipped circle shows a
      // negative frequency at its sum with Fs).
      double f = cycles * 64.0 / 128;
      if (!flip && f < 0) f += 64.0;
      EXPECT_DOUBLE_EQ(a.StartFrequency() + line * a.HzRes(), f) << flip << " " << cycles;
      EXPECT_TRUE(NearRel(a.Amplt().GetValue(line), 0.8, 1e-12));
    }
  }
}

// Both parts of a complex sample take the same real window value: the tone
// keeps its line and its amplitude, and no mirror line appears.
TEST(SpectrumAnalyzer, WindowedComplexToneKeepsItsLineAndAmplitude) {
  TSignal x;
  ComplexTone(x, 256, 30, 1.0);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetConjFlip(false);
  a.SetWindow(dsp::wtHanning);
  a.Update();
  TVec w;
  w.Size(256, false);
  w.SetVal(1.0);
  dsp::WindowHann(w);
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(30), 2.0 * w.Mean(), 1e-12));
  // The mirror line lies far out on the window's side lobes (below 1e-5); a
  // window that dropped the imaginary parts would leave half the tone there.
  EXPECT_TRUE(NearScaled(a.Amplt().GetValue(256 - 30), 0.0, 1e-5, 1.0));
}

TEST(SpectrumAnalyzer, CalcComplexSpectrumOfAComplexSineGivesItsAmplitudeOnItsLine) {
  TSignal x;
  ComplexTone(x, 64, 7, 2.5);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetConjFlip(false);
  TVec dest;
  a.CalcComplexSpectrum(dest);
  ASSERT_TRUE(dest.Complex());
  ASSERT_EQ(dest.Length(), 64);
  EXPECT_TRUE(NearRel(std::hypot(dest.CValues()[7].Re, dest.CValues()[7].Im), 2.5, 1e-13));
  EXPECT_TRUE(Raises([&] { a.ComputeSpectrum(10, nullptr); }, "TargetLength < Input.Length"));
}

TEST(SpectrumAnalyzer, BlackmanHarrisCorrectionRestoresTheWindowedSine) {
  const int N = 512;
  TSignal x;
  Tone(x, N, 64, 2.0);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetWindow(dsp::wtBlackmanHarris);
  a.Update();
  EXPECT_EQ(a.WindowCorrection(), 2.362782);
  // On its line the windowed sine sums to A N mean(w) / 2 (its image at
  // -f leaks in below 1e-7 of that).
  TVec w;
  w.Size(N, false);
  w.SetVal(1.0);
  dsp::WindowBlackmanHarris(w);
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(64), 2.0 * 2.362782 * w.Mean(), 1e-7));
}

TEST(SpectrumAnalyzer, WindowCorrectionByMethodAndComputedWindows) {
  TSignal x;
  Tone(x, 200, 10, 1);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetWindow(dsp::wtHanning);
  EXPECT_EQ(a.WindowCorrection(), 2.0);
  a.SetMethod(smBurg);
  EXPECT_EQ(a.WindowCorrection(), 1.0);
  a.SetMethod(smFFT);
  TVec w;
  w.Size(200, false);
  w.SetVal(1.0);
  dsp::WindowKaiser(w, 0, -1, dsp::KaiserBetaFromSidelobe(60));
  a.SetSidelobeAtt(60);
  a.SetWindow(dsp::wtKaiser);
  EXPECT_TRUE(NearRel(a.WindowCorrection(), 1.0 / w.Mean(), 1e-14));
  const double before = a.WindowCorrection();
  a.SetSidelobeAtt(120);
  EXPECT_GT(a.WindowCorrection(), before);
  w.SetVal(1.0);
  dsp::WindowExponent(w, 0, -1, 0.1);
  a.SetExpWindow(0.1);
  a.SetWindow(dsp::wtExponent);
  EXPECT_TRUE(NearRel(a.WindowCorrection(), 1.0 / w.Mean(), 1e-14));
}

// The correction follows the end value of the exponential window, so a sine
// on a line shows its amplitude whatever that value (to the leakage of its
// image at -f; a factor fixed for 0.1 would show 1.8 at 0.01).
TEST(SpectrumAnalyzer, ExponentialWindowFollowsItsEndValue) {
  TSignal x;
  Tone(x, 1024, 256, 1.0);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetWindow(dsp::wtExponent);
  for (double end : {0.1, 0.01, 0.5}) {
    a.SetExpWindow(end);
    a.Update();
    EXPECT_TRUE(NearRel(a.Amplt().GetValue(256), 1.0, 1e-2)) << end;
  }
}

TEST(SpectrumAnalyzer, DecibelScaleShowsPeakToneAndFloor) {
  TSignal x;
  x.Data().Size(1024, false);
  for (int j = 0; j < 1024; ++j)
    x.Data().Values()[j] = 2.0 * std::sin(2 * Pi * 64 * j / 1024) + 0.02 * std::sin(2 * Pi * 200 * j / 1024);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetLogarithmic(true);
  a.Update();
  EXPECT_TRUE(NearScaled(a.Amplt().GetValue(64), 0.0, 1e-9, 1.0));
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(200), -40.0, 1e-9));
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(300), -120.0, 1e-14));
  EXPECT_TRUE(NearRel(a.LogReference(), 2.0, 1e-12));
  // Relative: decibels of the values themselves, floored 120 dB below the peak.
  a.SetLogType(ltRelative);
  a.Update();
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(64), 20 * std::log10(2.0), 1e-9));
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(300), 20 * std::log10(2.0) - 120, 1e-12));
  // Power shows the same decibels as the amplitude.
  a.SetLogType(ltAbsolute);
  a.SetSpectrumType(dsp::spPower);
  a.Update();
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(200), -40.0, 1e-9));
}

TEST(SpectrumAnalyzer, SwitchingTheDecibelScaleOnConvertsTheSpectrumAtOnce) {
  TSignal x;
  Tone(x, 256, 16, 4.0);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetSpectrumType(dsp::spPower);
  a.Update();
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(16), 16.0, 1e-12));
  a.SetLogarithmic(true);
  EXPECT_TRUE(NearScaled(a.Amplt().GetValue(16), 0.0, 1e-9, 1.0));
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(40), -120.0, 1e-14));
  EXPECT_TRUE(NearRel(a.LogReference(), 4.0, 1e-12));
  EXPECT_TRUE(a.Dirty());
}

// A sine at line 100.3 of 1024, phase 0.7 rad, rectangular window: at 100.2992 lines the
// Goertzel value of the frame (referenced past its end) gives amplitude and phase.
TEST(SpectrumAnalyzer, ExactPathEvaluatesTheFrameAtAnyFrequency) {
  struct TCase {
    bool DCDump;
    double Amplitude, Degrees;
  };
  const TCase cases[] = {{true, 1.0014203651829416, 40.29261840479458},
                         {false, 1.0014332078583903, 40.292794566559756}};
  for (const TCase& c : cases) {
    TSignal x;
    Tone(x, 1024, 100.3, 1.0, 0.7, 1024);
    TSpectrumAnalyzer a;
    a.SetInput(&x);
    a.SetDCDump(c.DCDump);
    a.Peaks().Interpolation().SetMethod(imNumeric);
    a.Update();
    const double f = 100.2992 * a.HzRes();
    EXPECT_TRUE(NearRel(a.AmpltAt(f), c.Amplitude, 1e-10)) << c.DCDump;
    EXPECT_TRUE(NearRel(a.PhaseAt(f), c.Degrees, 1e-9)) << c.DCDump;
    EXPECT_NEAR(a.AmpltAt(f), c.DCDump ? 1.00142 : 1.00143, 5e-6);
    EXPECT_NEAR(a.PhaseAt(f), 40.29, 5e-3);
    // Without interpolation the nearest line is read.
    a.Peaks().Interpolation().SetMethod(imNone);
    EXPECT_EQ(a.AmpltAt(f), a.Amplt().GetValue(100));
    EXPECT_EQ(a.PhaseAt(f), a.Phase().GetValue(100));
  }
}

TEST(SpectrumAnalyzer, ExactValueAtZeroIsTakenJustAboveIt) {
  TSignal x;
  x.Data().SetIt(false, std::vector<double>{1.0, 2.0, 4.0, -1.0});
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetDCDump(false);
  a.Peaks().Interpolation().SetMethod(imQuadratic);
  a.Update();
  TCplx at0{};
  a.SpectrumAtFrequency(at0, 0.0);
  // sum x[j] exp(-2 pi i g (j - 4)) at g = 2.220446049250313e-16.
  std::complex<double> expected = 0;
  const double g = 2.220446049250313e-16;
  for (int j = 0; j < 4; ++j) expected += x.Data().GetValue(j) * std::polar(1.0, -2 * Pi * g * (j - 4));
  EXPECT_TRUE(NearRel(at0.Re, expected.real(), 1e-15));
  EXPECT_TRUE(NearScaled(at0.Im, expected.imag(), 1e-15, 6.0));
  // Without interpolation there is no copy to evaluate.
  a.Peaks().Interpolation().SetMethod(imNone);
  a.Update();
  a.SpectrumAtFrequency(at0, 0.1);
  EXPECT_EQ(at0.Re, 0.0);
  EXPECT_EQ(at0.Im, 0.0);
}

TEST(SpectrumAnalyzer, ExactValueOfAComplexFrameAtANegativeFrequency) {
  TSignal x;
  ComplexTone(x, 128, -10, 1.0, 128.0);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.Peaks().Interpolation().SetMethod(imNumeric);
  a.Update();
  EXPECT_TRUE(NearRel(a.AmpltAt(-10.0), 1.0, 1e-12));
  EXPECT_TRUE(NearRel(a.AmpltAt(-10.0), a.AmpltAt(118.0), 1e-12));
  EXPECT_TRUE(NearScaled(a.AmpltAt(20.0), 0.0, 1e-12, 1.0));
}

TEST(SpectrumAnalyzer, ScaleToLogOnTheExactPathFollowsReferenceAndSpan) {
  TSignal x;
  Tone(x, 256, 32, 2.0);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.Peaks().Interpolation().SetMethod(imNumeric);
  a.SetLogarithmic(true);
  a.Update();
  ASSERT_TRUE(NearRel(a.LogReference(), 2.0, 1e-12));
  double v = 0.02;
  a.ScaleToLog(v, 0.0);
  EXPECT_TRUE(NearRel(v, -40.0, 1e-9));
  a.SetLogSpan(ls30);
  v = 0.02;
  a.ScaleToLog(v, 0.0);
  EXPECT_EQ(v, -30.0);
  // Off the exact path: the nearest line of the shown spectrum.
  a.Peaks().Interpolation().SetMethod(imNone);
  v = 0.02;
  a.ScaleToLog(v, 32 * a.HzRes());
  EXPECT_EQ(v, a.Amplt().GetValue(32));
}

TEST(SpectrumAnalyzer, InputsThatCannotBeAnalysedAreRefused) {
  TSpectrumAnalyzer a;
  a.SetName("Ana");
  EXPECT_TRUE(Raises([&] { a.Update(); }, "Ana: Inputs[0] = nil!"));
  TSignal stereo;
  Tone(stereo, 64, 4, 1);
  stereo.SetChannelCount(2);
  a.SetInput(&stereo);
  const std::vector<double> before = Values(a.Amplt());
  EXPECT_TRUE(Raises([&] { a.Update(); }, "Ana: Input.ChannelCount > 1 not supported!"));
  EXPECT_EQ(Values(a.Amplt()), before);
  TVec dest;
  EXPECT_TRUE(Raises([&] { a.CalcComplexSpectrum(dest); }, "Input.ChannelCount > 1 not supported!"));
}

TEST(SpectrumAnalyzer, AnEmptyInputLeavesTheSpectrumAsItWas) {
  TSignal x;
  Tone(x, 64, 4, 1);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.Update();
  const std::vector<double> before = Values(a.Amplt());
  x.Data().SetLength(0);
  EXPECT_EQ(a.Update(), 0);
  EXPECT_EQ(Values(a.Amplt()), before);
}

TEST(SpectrumAnalyzer, RotationTurnsThePhaseOfTheCopyAndLeavesTheInputAlone) {
  TSignal x;
  Tone(x, 128, 5, 1, 0.0, 1, true);
  const std::vector<double> samples = Values(x.Data());
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetPhaseUnits(puRad);
  a.Update();
  const double phase = a.Phase().GetValue(5);
  a.SetRotation(3);
  a.Update();
  EXPECT_EQ(Values(x.Data()), samples);
  // A delay of 3 samples turns line 5 by -2 pi 5 3 / 128.
  EXPECT_TRUE(NearScaled(std::remainder(a.Phase().GetValue(5) - phase + 2 * Pi * 15 / 128, 2 * Pi), 0.0, 1e-12, Pi));
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(5), 1.0, 1e-12));
}

TEST(SpectrumAnalyzer, IntegrationDividesAndDifferentiationMultipliesByTwoPiF) {
  struct TCase {
    TIntegration Integration;
    double Factor;
  };
  const double w = 2 * Pi * 8 * (100.0 / 128);
  const TCase cases[] = {{inNone, 1}, {inOnce, 1 / w}, {inTwice, 1 / (w * w)}, {diffOnce, w}, {diffTwice, w * w}};
  TSignal x;
  Tone(x, 128, 8, 1, 0, 100);
  for (const TCase& c : cases) {
    TSpectrumAnalyzer a;
    a.SetInput(&x);
    a.SetIntegration(c.Integration);
    a.Update();
    EXPECT_TRUE(NearRel(a.Amplt().GetValue(8), c.Factor, 1e-12)) << c.Integration;
  }
}

TEST(SpectrumAnalyzer, ConjugateExtensionShowsTheWholeCircle) {
  TSignal x;
  Tone(x, 64, 6, 1.0, 0, 64);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetConjExtend(true);
  a.SetConjFlip(false);
  a.Update();
  ASSERT_EQ(a.Length(), 64);
  EXPECT_EQ(a.StartFrequency(), -32.0);
  EXPECT_EQ(a.HzRes(), 1.0);
  // The tone shows at -6 and +6 Hz, a half amplitude factor each.
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(32 + 6), a.Amplt().GetValue(32 - 6), 1e-12));
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(32 + 6), 0.5, 1e-12));
  // Computing again does not move the grid.
  a.Update();
  EXPECT_EQ(a.HzRes(), 1.0);
  TVec dest;
  a.CalcComplexSpectrum(dest);
  a.CalcComplexSpectrum(dest);
  EXPECT_EQ(a.SamplingFrequency(), 128.0);
}

TEST(SpectrumAnalyzer, LinearAverageStopsAfterItsFramesUntilAParameterRestartsIt) {
  TSignal x;
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.Stats().SetAveraging(avLinear);
  a.Stats().SetAverages(4);
  for (int frame = 0; frame < 4; ++frame) {
    Tone(x, 64, 4, 1.0 + frame);
    a.Update();
  }
  EXPECT_EQ(a.Stats().Averaged(), 4u);
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(4), 2.5, 1e-12));
  Tone(x, 64, 4, 10.0);
  a.Update();
  EXPECT_EQ(a.Stats().Averaged(), 4u);
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(4), 2.5, 1e-12));
  a.SetSpectrumType(dsp::spRMS);
  a.Update();
  EXPECT_EQ(a.Stats().Averaged(), 1u);
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(4), 10.0 / std::sqrt(2.0), 1e-12));
}

TEST(SpectrumAnalyzer, SpectrumParametersRestartTheAverage) {
  const std::vector<std::pair<const char*, std::function<void(TSpectrumAnalyzer&)>>> restarting = {
      {"DCDump", [](TSpectrumAnalyzer& a) { a.SetDCDump(false); }},
      {"Integration", [](TSpectrumAnalyzer& a) { a.SetIntegration(inOnce); }},
      {"SpectrumType", [](TSpectrumAnalyzer& a) { a.SetSpectrumType(dsp::spPower); }},
      {"ZeroPadding", [](TSpectrumAnalyzer& a) { a.SetZeroPadding(2); }},
      {"Window", [](TSpectrumAnalyzer& a) { a.SetWindow(dsp::wtHamming); }},
      {"RealCepstrum", [](TSpectrumAnalyzer& a) { a.SetRealCepstrum(true); }},
      {"ResetAveraging", [](TSpectrumAnalyzer& a) { a.ResetAveraging(); }},
  };
  const std::vector<std::pair<const char*, std::function<void(TSpectrumAnalyzer&)>>> keeping = {
      {"LogType", [](TSpectrumAnalyzer& a) { a.SetLogType(ltRelative); }},
      {"ScaleFactor", [](TSpectrumAnalyzer& a) { a.SetScaleFactor(2.0); }},
      {"LogSpan", [](TSpectrumAnalyzer& a) { a.SetLogSpan(ls60); }},
  };
  for (bool restarts : {true, false}) {
    for (const auto& [name, change] : restarts ? restarting : keeping) {
      TSignal x;
      Tone(x, 64, 4, 1);
      TSpectrumAnalyzer a;
      a.SetInput(&x);
      a.Stats().SetAveraging(avLinearInf);
      a.Update();
      a.Update();
      ASSERT_EQ(a.Stats().Averaged(), 2u);
      change(a);
      EXPECT_EQ(a.Stats().Averaged(), restarts ? 0u : 2u) << name;
    }
  }
}

TEST(SpectrumAnalyzer, ComplexAverageIsTheMeanOfTheComplexSpectra) {
  TSignal x;
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.Stats().SetAveraging(avCplxLinearInf);
  // Two cosines on line 4 in opposite phase cancel; a third brings one back
  // at a third of its amplitude.
  for (double phase : {0.0, Pi, 0.0}) {
    Tone(x, 64, 4, 3.0, phase, 1, true);
    a.Update();
  }
  EXPECT_EQ(a.Stats().Averaged(), 3u);
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(4), 1.0, 1e-12));
  // Exponentially, ExpDecay 2: the mean of the last average and the frame.
  a.Stats().SetAveraging(avCplxExponentInf);
  a.Stats().SetExpDecay(2);
  for (double phase : {0.0, Pi}) {
    Tone(x, 64, 4, 4.0, phase, 1, true);
    a.Update();
  }
  EXPECT_EQ(a.Stats().Averaged(), 2u);
  EXPECT_TRUE(NearScaled(a.Amplt().GetValue(4), 0.0, 1e-12, 4.0));
}

TEST(SpectrumAnalyzer, PeakHoldOverFramesHoldsTheLargestLine) {
  for (TPhaseMode mode : {pm360, pmIgnore}) {
    TSignal x;
    TSpectrumAnalyzer a;
    a.SetInput(&x);
    a.SetPhaseMode(mode);
    a.Stats().SetAveraging(avPeakHoldInf);
    for (double amplitude : {1.0, 3.0, 2.0}) {
      Tone(x, 64, 4, amplitude);
      a.Update();
    }
    EXPECT_EQ(a.Stats().Averaged(), 3u);
    EXPECT_TRUE(NearRel(a.Amplt().GetValue(4), 3.0, 1e-12)) << mode;
    EXPECT_EQ(a.Phase().Length(), mode == pmIgnore ? 0 : 32);
  }
}

// x[n] = 0.8 x[n-1] + e[n]: each estimator's model, shown as E / |A|^2 on the FFT
// method's lines, with the estimator its method names.
TEST(SpectrumAnalyzer, AutoregressiveMethodsShowTheirEstimatorsModel) {
  TSignal x;
  x.Data().Size(512, false);
  TVec e;
  e.Size(512, false);
  e.RandGauss(7.0, 0.0, 1.0);
  double prev = 0;
  for (int j = 0; j < 512; ++j) prev = x.Data().Values()[j] = 0.8 * prev + e.Values()[j];
  using TEstimator = std::function<void(const TVec&, TVec&, double&)>;
  const std::vector<std::pair<TSpectrumMethod, TEstimator>> cases = {
      {smBurg, [](const TVec& v, TVec& a, double& E) { TVec k; dsp::ArBurg(v, 4, a, k, E); }},
      {smCov, [](const TVec& v, TVec& a, double& E) { dsp::ArCovariance(v, 4, a, E); }},
      {smMCov, [](const TVec& v, TVec& a, double& E) { dsp::ArModCovariance(v, 4, a, E); }},
  };
  for (const auto& [method, estimate] : cases) {
    TSpectrumAnalyzer a;
    a.SetInput(&x);
    a.SetMethod(method);
    a.SetAROrder(4);
    a.SetSpectrumType(dsp::spPower);
    a.Update();
    TVec mean_free, coeffs;
    mean_free.Copy(x.Data());
    dsp::RemoveMean(mean_free);
    double E = 0;
    estimate(mean_free, coeffs, E);
    ASSERT_EQ(a.Length(), 256);
    for (int line : {0, 17, 100, 255}) {
      std::complex<double> A = 0;
      for (int k = 0; k < coeffs.Length(); ++k) A += coeffs.GetValue(k) * std::polar(1.0, -2 * Pi * line * k / 512);
      EXPECT_TRUE(NearRel(a.Amplt().GetValue(line), E / std::norm(A), 1e-10)) << method << " line " << line;
    }
  }
}

TEST(SpectrumAnalyzer, AutoregressiveSpectrumOfWhiteNoiseIsItsVariance) {
  TSignal x;
  x.Data().Size(8192, false);
  x.Data().RandGauss(11.0, 0.0, 2.0);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetMethod(smYuleWalker);
  a.SetAROrder(8);
  a.SetSpectrumType(dsp::spPower);
  a.Update();
  const double variance = x.Data().StdDev(x.Data().Mean()) * x.Data().StdDev(x.Data().Mean());
  // Eight coefficients fitted to 8192 samples: their spread is some 1/sqrt(8192).
  EXPECT_TRUE(NearRel(a.Amplt().Mean(), variance, 0.05));
  EXPECT_TRUE(NearRel(a.Amplt().Max(), variance, 0.25));
  EXPECT_TRUE(NearRel(a.Amplt().Min(), variance, 0.25));
}

TEST(SpectrumAnalyzer, AutoregressiveOrderBelowOneIsRefused) {
  TSignal x;
  x.Data().SetIt(false, std::vector<double>{1.0, 2.0});
  TSpectrumAnalyzer a;
  a.SetName("Ana");
  a.SetInput(&x);
  a.SetMethod(smYuleWalker);
  a.SetAROrder(0);
  EXPECT_TRUE(Raises([&] { a.Update(); }, "Ana: Autoregressive order 0 < 1 (AROrder 0, 2 samples)!"));
}

// An impulse and its echo of delay D: the log-magnitude ripples with D
// cycles over the circle (ln|1 + 0.6 exp(-i w D)|, harmonics falling as
// 0.6^m / m), so its transform peaks on line D times the padding.
TEST(SpectrumAnalyzer, RealCepstrumShowsAnEchoAtItsDelay) {
  TSignal x;
  const int N = 1024, D = 40;
  x.Data().Size(N, false);
  x.Data().SetZero();
  x.Data().Values()[0] = 1.0;
  x.Data().Values()[D] = 0.6;
  for (int padding : {1, 2}) {
    TSpectrumAnalyzer a;
    a.SetInput(&x);
    a.SetMethod(smRealCepstrum);
    // A mean-free frame leaves ln|X| at line 0 near ln(1e-16), a spike that
    // the rotation by a third moves under the window's middle.
    a.SetDCDump(false);
    a.SetZeroPadding(padding);
    a.Update();
    EXPECT_EQ(a.Length(), N / 2 * padding);
    double m = 0;
    int line = 0;
    a.Amplt().MaxIdx(m, line, 8, a.Length() - 8);
    EXPECT_EQ(line, D * padding) << padding;
  }
}

TEST(SpectrumAnalyzer, ChirpZRangeIsCheckedBeforeAnyWork) {
  TSignal x;
  Tone(x, 64, 4, 1);
  TSpectrumAnalyzer a;
  a.SetName("Ana");
  a.SetInput(&x);
  a.SetMethod(smCZT);
  const double fs = a.SamplingFrequency();
  const std::string fewer = "Ana: CZT: (StopFrequency - StartFrequency) / FrequencyStep gives fewer than 2 points!";
  a.CZT().SetFrequencyStep(0);
  EXPECT_TRUE(Raises([&] { a.Update(); }, fewer));
  a.CZT().SetFrequencyStep(0.3);
  EXPECT_TRUE(Raises([&] { a.Update(); }, fewer));
  EXPECT_EQ(a.SamplingFrequency(), fs);
  a.CZT().SetFrequencyStep(0.1);
  a.CZT().SetStartRadius(0);
  EXPECT_TRUE(Raises([&] { a.Update(); }, "Ana: CZT: StartRadius and StopRadius must be > 0"));
  a.CZT().SetStartRadius(1);
  a.Update();
  EXPECT_EQ(a.Length(), 5);
  EXPECT_DOUBLE_EQ(a.HzRes(), 0.1);
}

TEST(SpectrumAnalyzer, ChirpZRangeSettersKeepStartBelowStop) {
  TSpectrumCZT czt;
  EXPECT_EQ(czt.FrequencyStep(), 0.0078125);
  EXPECT_EQ(czt.PointCount(), 64);
  czt.SetStartFrequency(0.7);
  EXPECT_EQ(czt.StartFrequency(), 0.7);
  EXPECT_EQ(czt.StopFrequency(), 0.7);
  czt.SetStopFrequency(0.1);
  EXPECT_EQ(czt.StartFrequency(), 0.1);
  EXPECT_EQ(czt.StopFrequency(), 0.1);
  EXPECT_EQ(czt.PointCount(), 0);
  czt.SetFrequencyStep(-1);
  EXPECT_EQ(czt.FrequencyStep(), 0.0);
  czt.SetStartRadius(-0.5);
  EXPECT_EQ(czt.StartRadius(), 0.0);
  czt.SetStopRadius(-3);
  EXPECT_EQ(czt.StopRadius(), -3.0);
  czt.SetStopFrequency(1e9);
  czt.SetFrequencyStep(1e-9);
  EXPECT_EQ(czt.PointCount(), 1000000);
}

TEST(SpectrumAnalyzer, ChirpZOfAComplexInputSpansItsRangeOnce) {
  TSignal x;
  ComplexTone(x, 128, 20, 1.5, 128.0);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetMethod(smCZT);
  a.CZT().SetStopFrequency(30);
  a.CZT().SetStartFrequency(10);
  a.CZT().SetFrequencyStep(0.5);
  a.Update();
  ASSERT_EQ(a.Length(), 40);
  EXPECT_DOUBLE_EQ(a.HzRes(), 0.5);
  EXPECT_EQ(MaxLine(a.Amplt()), 20);
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(20), 1.5, 1e-12));
}

TEST(SpectrumAnalyzer, AutoCalculateRecomputesOnTheSettersThatAskForIt) {
  TSignal x;
  Tone(x, 64, 4, 2);
  TSpectrumAnalyzer a;
  a.SetAutoCalculate(true);
  // Without an input there is nothing to recompute, and nothing fails.
  a.SetSpectrumType(dsp::spPower);
  a.SetSpectrumType(dsp::spAmplt);
  a.SetInput(&x);
  a.SetSpectrumType(dsp::spPower);
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(4), 4.0, 1e-12));
  a.SetScaleFactor(3.0);
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(4), 36.0, 1e-12));
}

TEST(SpectrumAnalyzer, FrequencyResponseIsNumeratorOverDenominator) {
  TSpectrumAnalyzer a;
  EXPECT_TRUE(Raises([&] { a.FrequencyResponse(nullptr, nullptr, 1.0); }, "Num = nil"));
  a.SetDCDump(false);
  a.SetZeroPadding(16);
  // Polynomials of different lengths: the quotient needs no scaling.
  TVec b, den;
  b.SetIt(false, std::vector<double>{0.5, 0.5});
  den.SetIt(false, std::vector<double>{1.0, -0.5, 0.25, 0.0, 0.0});
  TVec amplt, phase;
  a.FrequencyResponseToSpectrum(&b, &den, 10.0, &amplt, &phase);
  ASSERT_EQ(amplt.Length(), 64);
  for (int line : {0, 5, 33, 63}) {
    const double w = 2 * Pi * line / 128;
    const std::complex<double> B = 0.5 + 0.5 * std::polar(1.0, -w);
    const std::complex<double> A = 1.0 - 0.5 * std::polar(1.0, -w) + 0.25 * std::polar(1.0, -2 * w);
    EXPECT_TRUE(NearRel(amplt.GetValue(line), std::abs(B / A), 1e-13)) << line;
    EXPECT_TRUE(NearScaled(phase.GetValue(line), std::arg(B / A) * 180 / Pi, 1e-11, 180)) << line;
  }
  EXPECT_EQ(a.SamplingFrequency(), 10.0);
  // Without a denominator: the numerator's own spectrum, a single input.
  a.FrequencyResponse(&b, nullptr, 10.0);
  EXPECT_EQ(a.Output(), nullptr);
  EXPECT_EQ(a.Inputs()->Count(), 1);
}

TEST(SpectrumAnalyzer, CrossSpectrumIsOutputTimesTheConjugateOfTheInput) {
  TSignal in, out;
  Tone(in, 64, 4, 2.0, 0.0, 1, true);
  Tone(out, 64, 4, 3.0, 0.5, 1, true);
  TSpectrumAnalyzer a;
  a.SetInput(&in);
  a.SetOutput(&out);
  a.SetCrossSpectral(true);
  a.SetPhaseUnits(puRad);
  a.Update();
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(4), 6.0, 1e-12));
  EXPECT_TRUE(NearRel(a.Phase().GetValue(4), 0.5, 1e-12));
  a.SetOutput(nullptr);
  EXPECT_EQ(a.Inputs()->Count(), 1);
  a.Update();
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(4), 2.0, 1e-12));
}

TEST(SpectrumAnalyzer, GroupAndPhaseDelayOfADelayedImpulse) {
  TSignal x;
  x.Data().Size(64, false);
  x.Data().SetZero();
  x.Data().Values()[5] = 1.0;
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetDCDump(false);
  a.SetPhaseMode(pmGroupDelay);
  a.Update();
  ASSERT_EQ(a.Phase().Length(), 32);
  for (int line : {0, 9, 31}) EXPECT_TRUE(NearRel(a.Phase().GetValue(line), 5.0, 1e-12)) << line;
  a.SetPhaseMode(pmPhaseDelay);
  a.Update();
  for (int line : {1, 9, 31}) EXPECT_TRUE(NearRel(a.Phase().GetValue(line), 5.0, 1e-12)) << line;
  // The response of a delay of 7 over one of 2 samples delays by 5.
  TVec num, den;
  num.Size(16, false);
  num.SetZero();
  num.Values()[7] = 1.0;
  den.Size(16, false);
  den.SetZero();
  den.Values()[2] = 1.0;
  a.SetPhaseMode(pmGroupDelay);
  a.FrequencyResponse(&num, &den, 1.0);
  for (int line : {0, 3, 7}) EXPECT_TRUE(NearRel(a.Phase().GetValue(line), 5.0, 1e-12)) << line;
}

TEST(SpectrumAnalyzer, SnapToPeakClimbsToTheNearestMaximum) {
  TSignal x;
  x.Data().Size(256, false);
  for (int j = 0; j < 256; ++j)
    x.Data().Values()[j] = std::sin(2 * Pi * 20 * j / 256) + 0.5 * std::sin(2 * Pi * 60 * j / 256);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetWindow(dsp::wtHanning);
  a.Update();
  EXPECT_EQ(a.SnapToPeak(18.6 * a.HzRes()), 20 * a.HzRes());
  EXPECT_EQ(a.SnapToPeak(61.4 * a.HzRes()), 60 * a.HzRes());
  // A frequency beyond the spectrum climbs from its last line, down the
  // window's leakage to the nearer tone.
  EXPECT_EQ(a.SnapToPeak(1e9), 60 * a.HzRes());
  EXPECT_EQ(a.SnapToPeak(-1e9), 20 * a.HzRes());
}

void Populate(TSpectrumAnalyzer& a, TSignal& x) {
  Tone(x, 128, 9, 1.25, 0.2, 500);
  a.SetInput(&x);
  a.SetWindow(dsp::wtHanning);
  a.SetSpectrumType(dsp::spRMS);
  a.SetAROrder(17);
  a.SetLogSpan(ls90);
  a.SetRotation(3);
  a.SetExpWindow(0.25);
  a.SetConjFlip(false);
  a.Stats().SetAveraging(avExponentInf);
  a.Stats().SetExpDecay(7);
  a.Stats().SetConfidenceInterval(95);
  a.Stats().SetCalcStdDev(true);
  a.CZT().SetStopFrequency(90);
  a.CZT().SetStartFrequency(10);
  a.CZT().SetFrequencyStep(0.5);
  a.CZT().SetStopRadius(1.1);
  a.Peaks().SetTraceInterval(12.5);
  a.Peaks().Interpolation().SetPrecision(ip4);
  a.Report().SetReportItems((1u << sriTHD) | (1u << sriSNR));
  a.Report().SetFrequencyFormat("0.00");
  a.Update();
  a.Marks().AddMark(TMarkRecord{9 * a.HzRes(), 1.0, 2.0, 0.0});
  a.Marks().AddMark(TMarkRecord{20 * a.HzRes(), 0.5, 1.0, 0.0});
  a.Update();
}

void ExpectSameAnalyzer(const TSpectrumAnalyzer& a, const TSpectrumAnalyzer& b) {
  EXPECT_EQ(a.Window(), b.Window());
  EXPECT_EQ(a.SpectrumType(), b.SpectrumType());
  EXPECT_EQ(a.AROrder(), b.AROrder());
  EXPECT_EQ(a.LogSpan(), b.LogSpan());
  EXPECT_EQ(a.Rotation(), b.Rotation());
  EXPECT_EQ(a.ExpWindow(), b.ExpWindow());
  EXPECT_EQ(a.ConjFlip(), b.ConjFlip());
  EXPECT_EQ(a.Stats().Averaging(), b.Stats().Averaging());
  EXPECT_EQ(a.Stats().ExpDecay(), b.Stats().ExpDecay());
  EXPECT_EQ(a.Stats().ConfidenceInterval(), b.Stats().ConfidenceInterval());
  EXPECT_EQ(a.Stats().LimitFactor(), b.Stats().LimitFactor());
  EXPECT_EQ(a.Stats().CalcStdDev(), b.Stats().CalcStdDev());
  EXPECT_EQ(a.CZT().StartFrequency(), b.CZT().StartFrequency());
  EXPECT_EQ(a.CZT().StopFrequency(), b.CZT().StopFrequency());
  EXPECT_EQ(a.CZT().FrequencyStep(), b.CZT().FrequencyStep());
  EXPECT_EQ(a.CZT().StopRadius(), b.CZT().StopRadius());
  EXPECT_EQ(a.Peaks().TraceInterval(), b.Peaks().TraceInterval());
  EXPECT_EQ(a.Peaks().Interpolation().Precision(), b.Peaks().Interpolation().Precision());
  EXPECT_EQ(a.Report().ReportItems(), b.Report().ReportItems());
  EXPECT_EQ(a.Report().FrequencyFormat(), b.Report().FrequencyFormat());
  EXPECT_EQ(a.SamplingFrequency(), b.SamplingFrequency());
  EXPECT_EQ(Values(a.Amplt()), Values(b.Amplt()));
  EXPECT_EQ(Values(a.Phase()), Values(b.Phase()));
  ASSERT_EQ(a.Marks().Count(), b.Marks().Count());
  for (int i = 0; i < a.Marks().Count(); ++i) {
    EXPECT_EQ(a.Marks().GetMark(i).First, b.Marks().GetMark(i).First);
    EXPECT_EQ(a.Marks().GetMark(i).Second, b.Marks().GetMark(i).Second);
  }
}

TEST(SpectrumAnalyzer, RoundTripsThroughTheBinaryAndTheTextComponentStream) {
  TSignal x;
  TSpectrumAnalyzer source;
  Populate(source, x);
  classlib::TMemoryStream binary;
  classlib::WriteComponent(binary, source);
  binary.SetPosition(0);
  TSpectrumAnalyzer fromBinary;
  classlib::ReadComponent(binary, fromBinary);
  ExpectSameAnalyzer(source, fromBinary);

  const std::string text = classlib::ComponentToText(source);
  for (const char* present : {"SpectrumBinaryData", "Stats.ExpDecay", "CZT.StopRadius", "Peaks.TraceInterval"})
    EXPECT_NE(text.find(present), std::string::npos) << present;
  TSpectrumAnalyzer fromText;
  classlib::ReadComponentText(text, fromText);
  ExpectSameAnalyzer(source, fromText);

  classlib::TMemoryStream own;
  source.SaveToStream(own);
  own.SetPosition(0);
  TSpectrumAnalyzer loaded;
  loaded.LoadFromStream(own);
  ExpectSameAnalyzer(source, loaded);
}

TEST(SpectrumAnalyzer, ACutStreamIsRefusedAndChangesNothing) {
  TSignal x;
  TSpectrumAnalyzer source;
  Populate(source, x);
  classlib::TMemoryStream stream;
  source.SaveToStream(stream);
  const std::string bytes(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
  TSignal y;
  TSpectrumAnalyzer target;
  Populate(target, y);
  target.SetAROrder(33);
  target.Stats().SetExpDecay(3);
  for (std::size_t cut : {std::size_t{3}, bytes.size() / 2, bytes.size() - 1}) {
    classlib::TMemoryStream part;
    part.WriteBuffer(bytes.data(), static_cast<std::int64_t>(cut));
    part.SetPosition(0);
    EXPECT_THROW(target.LoadFromStream(part), classlib::Exception) << cut;
    EXPECT_EQ(target.AROrder(), 33) << cut;
    EXPECT_EQ(target.Stats().ExpDecay(), 3) << cut;
    EXPECT_EQ(target.Marks().Count(), 2) << cut;
  }
}

// Read from a stream, a spectrum already in decibels stays as it was written.
TEST(SpectrumAnalyzer, ADecibelSpectrumIsReadBackUnchanged) {
  TSignal x;
  Tone(x, 64, 4, 2);
  TSpectrumAnalyzer source;
  source.SetInput(&x);
  source.SetLogarithmic(true);
  source.SetAutoCalculate(true);
  source.Update();
  classlib::TMemoryStream stream;
  source.SaveToStream(stream);
  stream.SetPosition(0);
  TSpectrumAnalyzer loaded;
  loaded.LoadFromStream(stream);
  EXPECT_TRUE(loaded.Logarithmic());
  EXPECT_EQ(Values(loaded.Amplt()), Values(source.Amplt()));
}

TEST(SpectrumAnalyzer, TemplateModeCarriesParametersWithoutData) {
  TSignal x;
  TSpectrumAnalyzer source;
  Populate(source, x);
  classlib::TMemoryStream stream;
  source.SaveTemplateToStream(stream);
  const std::string bytes(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
  for (const char* absent : {"SpectrumBinaryData", "Amplt", "SamplingFrequency"})
    EXPECT_EQ(bytes.find(absent), std::string::npos) << absent;
  TSpectrumAnalyzer target;
  stream.SetPosition(0);
  target.LoadTemplateFromStream(stream);
  EXPECT_EQ(target.Window(), dsp::wtHanning);
  EXPECT_EQ(target.Stats().ExpDecay(), 7);
  EXPECT_EQ(target.CZT().StopRadius(), 1.1);
  EXPECT_EQ(target.Length(), 64);
  EXPECT_EQ(target.Marks().Count(), 0);
}

TEST(SpectrumAnalyzer, TheRegistryCreatesItByName) {
  const classlib::TClassInfo* info = classlib::GetClass("TSpectrumAnalyzer");
  ASSERT_NE(info, nullptr);
  classlib::TComponent owner;
  classlib::TPersistent* made = info->Create(&owner);
  EXPECT_NE(dynamic_cast<TSpectrumAnalyzer*>(made), nullptr);
  EXPECT_TRUE(info->InheritsFrom(TSpectrum::StaticClassInfo()));
}

TEST(SpectrumAnalyzer, PeaksReReadTheMarksAtTheirFrequencies) {
  TSignal x;
  Tone(x, 256, 16, 1.5);
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.Update();
  a.Marks().AddMark(TMarkRecord{16 * a.HzRes(), 0, 0, 0});
  a.Marks().AddMark(TMarkRecord{16.4 * a.HzRes(), 0, 0, 0});
  a.Update();
  EXPECT_TRUE(NearRel(a.Marks().GetMark(0).Second, 1.5, 1e-12));
  EXPECT_EQ(a.Marks().GetMark(1).Second, a.Amplt().GetValue(16));
  EXPECT_EQ(a.Marks().GetMark(0).Third, a.Phase().GetValue(16));
  // On the exact path they are read between the lines.
  a.Peaks().Interpolation().SetMethod(imNumeric);
  a.Update();
  EXPECT_EQ(a.Marks().Count(), 2);
  EXPECT_EQ(a.Marks().GetMark(1).First, 16.4 * a.HzRes());
  EXPECT_EQ(a.Marks().GetMark(1).Second, a.AmpltAt(16.4 * a.HzRes()));
  EXPECT_LT(a.Marks().GetMark(1).Second, a.Marks().GetMark(0).Second);
  // Inactive peaks leave the marks alone.
  a.Peaks().SetActive(false);
  a.Marks().GetMark(0).Second = -1;
  a.Update();
  EXPECT_EQ(a.Marks().GetMark(0).Second, -1.0);
  // On the decibel scale the marks are in decibels too.
  a.Peaks().SetActive(true);
  a.SetLogarithmic(true);
  a.Update();
  EXPECT_TRUE(NearScaled(a.Marks().GetMark(0).Second, 0.0, 1e-9, 1.0));
}

TEST(SpectrumAnalyzer, PeaksSettersClampAndScaleTheMarksByOrder) {
  TSpectrumAnalyzer a;
  TSpectrumPeaksAnalyzer& p = a.Peaks();
  p.SetTraceInterval(150);
  EXPECT_EQ(p.TraceInterval(), 100.0);
  p.SetTraceInterval(-5);
  EXPECT_EQ(p.TraceInterval(), 0.0);
  p.SetLargestCount(-2);
  EXPECT_EQ(p.LargestCount(), 0);
  p.SetOrderPeakNumber(0);
  EXPECT_EQ(p.OrderPeakNumber(), 1);
  p.SetOrderFrequency(0);
  p.SetOrderFrequency(-3);
  EXPECT_EQ(p.OrderFrequency(), 1.0);
  p.SetHarmonicsCount(4);
  EXPECT_EQ(a.Harmonics(), 4);
  p.Interpolation().SetPrecision(ip2);
  EXPECT_EQ(p.Interpolation().PrecisionDivisor(), 100.0);
  p.Interpolation().SetPrecision(ip8);
  EXPECT_EQ(p.Interpolation().PrecisionDivisor(), 1e8);
  // Lines limits need a grid: none before the first update.
  p.SetBandwidthH(0.3);
  EXPECT_EQ(p.UpperLimit(), a.Length() - 1);
  a.Marks().AddMark(TMarkRecord{50.0, 1, 0, 0});
  p.SetOrderFrequency(25.0);
  p.SetOrderActive(true);
  EXPECT_EQ(a.Marks().GetMark(0).First, 2.0);
  p.SetOrderActive(false);
  EXPECT_EQ(a.Marks().GetMark(0).First, 50.0);
  TSpectrumAnalyzer b;
  b.Peaks().Assign(p);
  EXPECT_EQ(b.Peaks().OrderFrequency(), 25.0);
  EXPECT_EQ(b.Peaks().Interpolation().Precision(), ip8);
  EXPECT_EQ(b.Harmonics(), 4);
}

}  // namespace
}  // namespace sig

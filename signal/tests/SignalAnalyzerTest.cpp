// The time analyser: its parameters and their clamps, the preparation of its inputs (mean,
// integration and differentiation across blocks, rotation of a copy), windows, the
// correlations' edge cases, the cepstra of an echo, refused inputs, the registry; and the
// text forms of the analysis enumerations.
// Covers signal/SignalAnalyzer.cpp, signal/AnalysisTexts.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "numeric/MathCore.h"
#include "platform/classlib/ClassRegistry.h"
#include "signal/AnalysisTexts.h"
#include "signal/SignalAnalyzer.h"
#include "signal/SignalCollections.h"
#include "signal/SignalReport.h"
#include "signal/tests/AnalyzerTestSupport.h"
#include "testing/TestSupport.h"

namespace sig {
namespace {

using orvel::testing::NearRel;
using orvel::testing::NearScaled;
using orvel::testing::RaisedMessage;
using testsupport::Values;

void Fill(TSignal& s, const std::vector<double>& Values, double Fs = 1.0) {
  s.Data().SetIt(false, Values);
  s.SetSamplingFrequency(Fs);
}

TEST(SignalAnalyzer, ANewAnalyserHasItsDefaults) {
  TSignalAnalyzer a;
  EXPECT_TRUE(a.UsesInputs());
  EXPECT_TRUE(a.MultiChannel());
  EXPECT_EQ(a.CorrTaps1(), 100);
  EXPECT_EQ(a.CorrTaps2(), 0);
  EXPECT_EQ(a.SidelobeAtt(), 40.0);
  EXPECT_EQ(a.ScaleFactor(), 1.0);
  EXPECT_EQ(a.ExpWindow(), 0.01);
  EXPECT_EQ(a.Window(), dsp::wtRectangular);
  EXPECT_EQ(a.Transform(), ttWindow);
  EXPECT_EQ(a.Integration(), inNone);
  EXPECT_FALSE(a.RemoveDC());
  EXPECT_EQ(a.EditorClassName(), "TTimeAnaForm");
  EXPECT_EQ(&a.Report().Owner(), &a);
}

TEST(SignalAnalyzer, CorrelationTapsAndAttenuationAreClamped) {
  TSignal x, y;
  TSignalAnalyzer a;
  a.SetCorrTaps1(1);
  EXPECT_EQ(a.CorrTaps1(), 2);
  // The second lag needs a second input.
  a.SetInput(&x);
  a.SetCorrTaps1(10);
  a.SetCorrTaps2(7);
  EXPECT_EQ(a.CorrTaps2(), 0);
  a.Inputs()->Add()->SetInput(&y);
  a.SetCorrTaps2(5);
  EXPECT_EQ(a.CorrTaps2(), 5);
  a.SetCorrTaps1(4);
  EXPECT_EQ(a.CorrTaps2(), 3);
  a.SetCorrTaps2(9);
  EXPECT_EQ(a.CorrTaps2(), 3);
  a.SetCorrTaps2(-2);
  EXPECT_EQ(a.CorrTaps2(), 0);
  a.SetSidelobeAtt(500);
  EXPECT_EQ(a.SidelobeAtt(), 300.0);
  a.SetSidelobeAtt(5);
  EXPECT_EQ(a.SidelobeAtt(), 13.0);
}

// The window weighs the samples; one chosen before there was an input is built for the input
// at the update; both parts of a complex sample take the same weight.
TEST(SignalAnalyzer, WindowWeighsTheSamples) {
  TSignalAnalyzer a;
  a.SetWindow(dsp::wtHanning);
  TSignal x;
  Fill(x, std::vector<double>(16, 2.0));
  a.SetInput(&x);
  a.Update();
  numeric::TVec w;
  w.Size(16, false);
  w.SetVal(2.0);
  dsp::WindowHann(w);
  EXPECT_EQ(Values(a.Data()), Values(w));
  x.Data().Size(4, true);
  for (int j = 0; j < 4; ++j) x.Data().CValues()[j] = numeric::TCplx{1.0, -3.0};
  a.Update();
  w.Size(4, false);
  w.SetVal(1.0);
  dsp::WindowHann(w);
  ASSERT_TRUE(a.Data().Complex());
  for (int j = 0; j < 4; ++j) {
    EXPECT_EQ(a.Data().CValues()[j].Re, w.Values()[j]);
    EXPECT_EQ(a.Data().CValues()[j].Im, -3.0 * w.Values()[j]);
  }
  // A Kaiser window follows the attenuation.
  Fill(x, std::vector<double>(32, 1.0));
  a.SetWindow(dsp::wtKaiser);
  a.SetSidelobeAtt(90);
  a.Update();
  w.Size(32, false);
  w.SetVal(1.0);
  dsp::WindowKaiser(w, 0, -1, dsp::KaiserBetaFromSidelobe(90));
  EXPECT_EQ(Values(a.Data()), Values(w));
}

// Mean removal, scaling and rotation act on the analyser's copy; the input keeps its samples.
TEST(SignalAnalyzer, PreparationWorksOnACopy) {
  TSignal x;
  Fill(x, {1, 2, 3, 4, 5}, 10.0);
  TSignalAnalyzer a;
  a.SetInput(&x);
  a.SetRemoveDC(true);
  a.SetRotation(-2);
  a.SetScaleFactor(10);
  a.Update();
  EXPECT_EQ(Values(a.Data()), (std::vector<double>{0, 10, 20, -20, -10}));
  EXPECT_EQ(Values(x.Data()), (std::vector<double>{1, 2, 3, 4, 5}));
  EXPECT_EQ(a.SamplingFrequency(), 10.0);
  EXPECT_EQ(a.MaxValue(), 20.0);
}

// Integration and differentiation run on across updates: two blocks of a ramp make the same
// result as one block twice as long.
TEST(SignalAnalyzer, IntegrationJoinsConsecutiveBlocks) {
  const struct {
    TIntegration Kind;
  } cases[] = {{inOnce}, {inTwice}, {diffOnce}, {diffTwice}};
  std::vector<double> ramp(16);
  for (int j = 0; j < 16; ++j) ramp[j] = 0.5 * j * j;
  for (const auto& c : cases) {
    TSignal whole, part;
    Fill(whole, ramp, 4.0);
    TSignalAnalyzer once, blocks;
    once.SetInput(&whole);
    blocks.SetInput(&part);
    once.SetIntegration(c.Kind);
    blocks.SetIntegration(c.Kind);
    once.Update();
    std::vector<double> joined;
    for (int b = 0; b < 2; ++b) {
      Fill(part, std::vector<double>(ramp.begin() + 8 * b, ramp.begin() + 8 * b + 8), 4.0);
      blocks.Update();
      const std::vector<double> v = Values(blocks.Data());
      joined.insert(joined.end(), v.begin(), v.end());
    }
    const std::vector<double> expected = Values(once.Data());
    ASSERT_EQ(joined.size(), expected.size());
    for (std::size_t i = 0; i < joined.size(); ++i)
      EXPECT_TRUE(NearScaled(joined[i], expected[i], 1e-13, 1e3)) << c.Kind << " " << i;
  }
  // The derivative of 0.5 j^2 at 4 Hz, one sample late: 4 (j - 1).
  TSignal x;
  Fill(x, ramp, 4.0);
  TSignalAnalyzer a;
  a.SetInput(&x);
  a.SetIntegration(diffOnce);
  a.Update();
  for (int j = 2; j < 16; ++j) EXPECT_TRUE(NearRel(a.Data().Values()[j], 4.0 * (j - 1), 1e-14)) << j;
}

// Only the first two inputs are read: a third one changes nothing.
TEST(SignalAnalyzer, CrossCorrelationReadsTheFirstTwoInputs) {
  TSignal x, y, z;
  Fill(x, {1, 2});
  Fill(y, {3, 4, 5});
  Fill(z, {100});
  TSignalAnalyzer a;
  a.SetInput(&x);
  a.Inputs()->Add()->SetInput(&y);
  a.SetTransform(ttCrossCorr);
  a.SetCorrTaps1(2);
  a.Update();
  // sum x[k] y[k + lag] at lags 0 .. 2: 11, 14, 5.
  EXPECT_EQ(Values(a.Data()), (std::vector<double>{11, 14, 5}));
  a.Inputs()->Add()->SetInput(&z);
  a.Update();
  EXPECT_EQ(Values(a.Data()), (std::vector<double>{11, 14, 5}));
}

TEST(SignalAnalyzer, CrossCorrelationOfOneInputIsZeros) {
  TSignal x;
  Fill(x, {1, 2, 3});
  TSignalAnalyzer a;
  a.SetInput(&x);
  a.SetTransform(ttCrossCorr);
  a.SetCorrTaps1(6);
  a.Update();
  EXPECT_EQ(Values(a.Data()), std::vector<double>(6, 0.0));
}

// The index of the largest value of Data from First to Last.
int LargestAt(const numeric::TVec& Data, int First, int Last) {
  int at = First;
  for (int j = First; j <= Last; ++j)
    if (Data.Values()[j] > Data.Values()[at]) at = j;
  return at;
}

// An echo of half the signal 20 samples late: ln(1 + 0.5 z^-20) puts 0.5 at quefrency 20 of
// the complex cepstrum (over 16 times the length), beside the 1/n terms of the half period of
// linear phase that dsp::ComplexCepstrum takes off (its last line's phase is not 0); the real
// cepstrum's magnitude output, a transform of the log magnitude's half spectrum, shows it at
// index 10.
TEST(SignalAnalyzer, CepstraShowAnEcho) {
  std::vector<double> echo(128, 0.0);
  echo[0] = 1.0;
  echo[20] = 0.5;
  TSignal x;
  Fill(x, echo);
  TSignalAnalyzer a;
  a.SetInput(&x);
  a.SetTransform(ttCplxCepstrum);
  a.Update();
  ASSERT_EQ(a.Data().Length(), 16 * 128);
  EXPECT_NEAR(a.Data().Values()[20], 0.5, 1.0 / 20 + 1e-6);
  EXPECT_NEAR(a.Data().Values()[30], 0.0, 1.0 / 30 + 1e-6);
  a.SetTransform(ttRealCepstrum);
  a.Update();
  EXPECT_EQ(LargestAt(a.Data(), 3, a.Data().Length() / 2 - 1), 10);
}

TEST(SignalAnalyzer, InputsThatCannotBeAnalysedAreRefused) {
  TSignalAnalyzer a;
  a.SetName("Time");
  EXPECT_EQ(RaisedMessage([&] { a.Update(); }), "Time: Inputs[0] = nil!");
  TSignal stereo;
  stereo.SetChannelCount(2);
  a.SetInput(&stereo);
  EXPECT_EQ(RaisedMessage([&] { a.Update(); }), "Time: Input.ChannelCount > 1 not supported!");
  TSignal mono;
  a.SetInput(&mono);
  a.Inputs()->Add()->SetInput(&stereo);
  EXPECT_EQ(RaisedMessage([&] { a.Update(); }), "Time: Input.ChannelCount > 1 not supported!");
}

TEST(SignalAnalyzer, TheRegistryCreatesItByName) {
  const classlib::TClassInfo* info = classlib::GetClass("TSignalAnalyzer");
  ASSERT_NE(info, nullptr);
  classlib::TComponent owner;
  std::unique_ptr<classlib::TPersistent> made(info->Create(&owner));
  EXPECT_NE(dynamic_cast<TSignalAnalyzer*>(made.get()), nullptr);
}

TEST(SignalAnalyzer, SettingsTravelThroughAStream) {
  TSignalAnalyzer a;
  a.SetTransform(ttAutoCorr);
  a.SetAutoCorrType(ctUnbiased);
  a.SetCorrTaps1(33);
  a.SetWindow(dsp::wtChebyshev);
  a.SetSidelobeAtt(70);
  a.SetIntegration(diffTwice);
  a.SetRotation(-5);
  a.Report().SetReportItems(0x0FFF);
  a.Report().SetTimeFormat("0.000");
  classlib::TMemoryStream stream;
  a.SaveToStream(stream);
  stream.SetPosition(0);
  TSignalAnalyzer b;
  b.LoadFromStream(stream);
  EXPECT_EQ(b.Transform(), ttAutoCorr);
  EXPECT_EQ(b.AutoCorrType(), ctUnbiased);
  EXPECT_EQ(b.CorrTaps1(), 33);
  EXPECT_EQ(b.Window(), dsp::wtChebyshev);
  EXPECT_EQ(b.SidelobeAtt(), 70.0);
  EXPECT_EQ(b.Integration(), diffTwice);
  EXPECT_EQ(b.Rotation(), -5);
  EXPECT_EQ(b.Report().ReportItems(), 0x0FFF);
  EXPECT_EQ(b.Report().TimeFormat(), "0.000");
}

// Each value's text; a value without one leaves the string as it was (the time transforms
// clear it first).
TEST(AnalysisTexts, EveryValueHasItsText) {
  const auto text = [](auto Caption, auto Value) {
    std::string s = "old";
    Caption(Value, s);
    return s;
  };
  const std::vector<std::string> precision = {"1/100", "1/10000", "1E-6", "1E-8"};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(text(InterpolationPrecisionCaption, static_cast<TInterpolationPrecision>(i)), precision[i]);
  const std::vector<std::string> transforms = {"Window",        "Autocorreation",
                                               "Cross correlation", "Discrete cosine transform",
                                               "Inverse discrete cosine transform", "Real cepstrum",
                                               "Complex cepstrum"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(text(TimeTransformCaption, static_cast<TTimeTransform>(i)), transforms[i]);
  EXPECT_EQ(text(TimeTransformCaption, static_cast<TTimeTransform>(7)), "");
  const std::vector<std::string> correlations = {"Normal", "Biased", "Unbiased"};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(text(AutoCorrTypeCaption, static_cast<TAutoCorrType>(i)), correlations[i]);
  const std::vector<std::string> methods = {"None",           "Numeric",         "Quadratic", "Barycentric",
                                            "Quinn''s first", "Quinn''s second", "Jain''s"};
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(text(InterpolationMethodCaption, static_cast<TInterpolationMethod>(i)), methods[i]);
  const std::vector<std::string> spectra = {"FFT",        "Yule-Walker",         "Burg",
                                            "Covariance", "Modified covariance", "Chirp-Z transform", "old"};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(text(SpectrumMethodCaption, static_cast<TSpectrumMethod>(i)), spectra[i]);
  const std::vector<std::string> averaging = {"None",      "Linear",         "Exponential",    "Linear",
                                              "Peak-hold", "Peak-hold",      "Peak and decay", "Complex linear",
                                              "Complex linear", "Complex exponential"};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(text(AveragingCaption, static_cast<TAveraging>(i)), averaging[i]);
  const std::vector<std::string> integration = {"None", "Integrate 1x", "Integrate 2x", "Differentiate 1x",
                                                "Differentiate 2x"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(text(IntegrationCaption, static_cast<TIntegration>(i)), integration[i]);
  EXPECT_EQ(text(IntegrationCaption, static_cast<TIntegration>(5)), "old");
}

}  // namespace
}  // namespace sig

// The cross-spectrum analyser: its checks, the averaging modes and their restarts, the
// results it shows by spectrum type, the decibel display, the events and the stream.
// Covers: signal/CrossSpectrumAnalyzer.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/ComponentStream.h"
#include "signal/CrossSpectrumAnalyzer.h"
#include "signal/SpectrumStats.h"
#include "signal/tests/AnalyzerTestSupport.h"
#include "testing/TestSupport.h"

namespace sig {
namespace {

using numeric::TVec;
using orvel::testing::NearRel;
using orvel::testing::Raises;
using orvel::testing::RaisedMessage;
using testsupport::Values;

// An input and an output of noise, frames of N samples; the output is the input passed
// through a two-tap average plus noise of its own, as a measured system gives it.
struct TCrossFixture {
  TSignal X, Y;
  TCrossSpectrumAnalyzer A;
  std::mt19937_64 Random{orvel::testing::TestSeed(32126)};

  TCrossFixture() {
    A.SetName("Cross");
    A.SetInput(&X);
    A.SetOutput(&Y);
  }

  void Frame(int N, double Fs = 1.0) {
    std::normal_distribution<double> noise;
    X.Data().Size(N, false);
    Y.Data().Size(N, false);
    double previous = 0;
    for (int j = 0; j < N; ++j) {
      const double x = noise(Random);
      X.Data().Values()[j] = x;
      Y.Data().Values()[j] = 0.5 * (x + previous) + 0.3 * noise(Random);
      previous = x;
    }
    X.SetSamplingFrequency(Fs);
    Y.SetSamplingFrequency(Fs);
  }

  void Frames(int Count, int N) {
    for (int f = 0; f < Count; ++f) {
      Frame(N);
      A.Update();
    }
  }
};

TEST(CrossSpectrumAnalyzer, StartsAveragingBothResultsOfItsInput) {
  TCrossSpectrumAnalyzer a;
  EXPECT_EQ(a.Stats().Averaging(), avLinearInf);
  EXPECT_TRUE(a.CrossAnalyzer().Recursive());
  EXPECT_TRUE(a.CrossAnalyzer().Has(caCoherence));
  EXPECT_TRUE(a.CrossAnalyzer().Has(caTransferFunction));
  EXPECT_EQ(a.CrossAnalyzer().Transform(), ctInputSpectrum);
  EXPECT_FALSE(a.ExactFrequency());
  EXPECT_EQ(a.EditorClassName(), "TCrossSpectrumAnaForm");
  EXPECT_TRUE(a.CrossAnalyzer().CrossSpectrum().Complex());
  EXPECT_TRUE(classlib::InheritsFromRegistered(TCrossSpectrumAnalyzer::StaticClassInfo(), "TSpectrumAnalyzer"));
}

TEST(CrossSpectrumAnalyzer, RefusesWhatItCannotComputeBeforeAnythingChanges) {
  struct TRow {
    const char* Name;
    std::function<void(TCrossFixture&)> Arrange;
    const char* Message;
  };
  const std::vector<TRow> rows = {
      {"no output", [](TCrossFixture& f) { f.A.SetOutput(nullptr); }, "Cross: Output = nil"},
      {"other rates", [](TCrossFixture& f) { f.Y.SetSamplingFrequency(2.0); },
       "Cross: Input.SamplingFrequency <> Output.SamplingFrequency"},
      {"a model method", [](TCrossFixture& f) { f.A.SetMethod(smBurg); },
       "Cross: not ((Method = smfFFT) or (Method = smfCZT))"},
      {"a stereo output", [](TCrossFixture& f) { f.Y.SetChannelCount(2); },
       "Cross: Input.ChannelCount > 1 not supported!"},
  };
  for (const TRow& row : rows) {
    TCrossFixture f;
    f.Frames(2, 64);
    const std::vector<double> before = Values(f.A.CrossAnalyzer().InputSpectrum());
    f.Frame(64);
    row.Arrange(f);
    EXPECT_TRUE(Raises([&] { f.A.Update(); }, row.Message)) << row.Name;
    EXPECT_EQ(f.A.Stats().Averaged(), 2u) << row.Name;
    EXPECT_EQ(Values(f.A.CrossAnalyzer().InputSpectrum()), before) << row.Name;
  }
}

TEST(CrossSpectrumAnalyzer, IdenticalInputAndOutputAreFullyCoherentWithUnitResponse) {
  TSignal x;
  TCrossSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetOutput(&x);
  std::mt19937_64 random(orvel::testing::TestSeed(32127));
  std::normal_distribution<double> noise;
  for (int f = 0; f < 6; ++f) {
    x.Data().Size(128, false);
    for (int j = 0; j < 128; ++j) x.Data().Values()[j] = noise(random);
    a.Update();
  }
  const TVec& coherence = a.CrossAnalyzer().Coherence();
  ASSERT_EQ(coherence.Length(), 64);
  // |Sxx|^2 / (Sxx Sxx): a few roundings of 1.
  for (int i = 1; i < 64; ++i) EXPECT_TRUE(NearRel(coherence.GetValue(i), 1.0, 1e-14)) << i;
  a.CrossAnalyzer().SetTransform(ctTransferFunction);
  a.CrossToSpectrum();
  for (int i = 1; i < 64; ++i) {
    EXPECT_TRUE(NearRel(a.Amplt().GetValue(i), 1.0, 1e-14)) << i;
    EXPECT_NEAR(a.Phase().GetValue(i), 0.0, 1e-12) << i;
  }
}

TEST(CrossSpectrumAnalyzer, AveragingRestartsWhenTheFrameOrTheModeChanges) {
  TCrossFixture f;
  f.Frames(3, 64);
  EXPECT_EQ(f.A.Stats().Averaged(), 3u);
  f.Frames(1, 128);
  EXPECT_EQ(f.A.Stats().Averaged(), 1u);
  EXPECT_EQ(f.A.CrossAnalyzer().CrossSpectrum().Length(), 64);
  f.Frames(2, 128);
  EXPECT_EQ(f.A.Stats().Averaged(), 3u);
  f.A.CrossAnalyzer().SetRecursive(false);
  EXPECT_EQ(f.A.Stats().Averaged(), 0u);
  f.Frames(2, 128);
  EXPECT_EQ(f.A.Stats().Averaged(), 2u);
  f.A.CrossAnalyzer().SetRecursive(true);
  EXPECT_EQ(f.A.Stats().Averaged(), 0u);
}

TEST(CrossSpectrumAnalyzer, LinearAverageOfTenStopsAfterTenFrames) {
  TCrossFixture f;
  f.A.Stats().SetAveraging(avLinear);
  f.A.Stats().SetAverages(10);
  f.Frames(10, 64);
  EXPECT_EQ(f.A.Stats().Averaged(), 10u);
  const std::vector<double> amplt = Values(f.A.Amplt());
  const std::vector<double> cross = Values(f.A.CrossAnalyzer().OutputSpectrum());
  f.Frames(2, 64);
  EXPECT_EQ(f.A.Stats().Averaged(), 10u);
  EXPECT_EQ(Values(f.A.Amplt()), amplt);
  EXPECT_EQ(Values(f.A.CrossAnalyzer().OutputSpectrum()), cross);
}

TEST(CrossSpectrumAnalyzer, AveragesAreTheMeansOfTheFrames) {
  // Recursive running means and plain sums finished at every update agree to rounding; the
  // exponential mode weighs the newest frame 1 / ExpDecay; other modes take the frame alone.
  struct TRow {
    const char* Name;
    TAveraging Mode;
    bool Recursive;
  };
  const std::vector<TRow> rows = {{"running mean", avLinearInf, true},
                                  {"finished sums", avLinearInf, false},
                                  {"exponential", avExponentInf, true},
                                  {"none", avNone, true}};
  for (const TRow& row : rows) {
    TCrossFixture f;
    f.A.Stats().SetAveraging(row.Mode);
    f.A.Stats().SetExpDecay(4);
    f.A.CrossAnalyzer().SetRecursive(row.Recursive);
    // The expected input power, from single-frame analysers of the same frames.
    std::vector<double> expected;
    for (int frame = 0; frame < 5; ++frame) {
      f.Frame(64);
      TCrossSpectrumAnalyzer single;
      single.Stats().SetAveraging(avNone);
      single.SetInput(&f.X);
      single.SetOutput(&f.Y);
      single.Update();
      const std::vector<double> p = Values(single.CrossAnalyzer().InputSpectrum());
      if (frame == 0 || row.Mode == avNone) {
        expected = p;
      } else {
        const double n = row.Mode == avExponentInf ? 4.0 : frame + 1.0;
        for (std::size_t i = 0; i < p.size(); ++i) expected[i] = (expected[i] * (n - 1) + p[i]) / n;
      }
      f.A.Update();
    }
    const TVec& got = f.A.CrossAnalyzer().InputSpectrum();
    ASSERT_EQ(got.Length(), static_cast<int>(expected.size())) << row.Name;
    for (int i = 1; i < got.Length(); ++i)
      EXPECT_TRUE(NearRel(got.GetValue(i), expected[static_cast<std::size_t>(i)], 1e-13)) << row.Name << " " << i;
    EXPECT_EQ(f.A.Stats().Averaged(), row.Mode == avNone ? 0u : 5u) << row.Name;
  }
}

TEST(CrossSpectrumAnalyzer, OnlyTheRecursiveModeTellsTheChartOfEachFrame) {
  for (const bool recursive : {true, false}) {
    TCrossFixture f;
    f.A.CrossAnalyzer().SetRecursive(recursive);
    int told = 0;
    f.A.SetNotifyMethod([&](classlib::TPersistent*) { ++told; });
    f.Frames(3, 64);
    EXPECT_EQ(told, recursive ? 3 : 0);
    EXPECT_FALSE(f.A.SuspendNotify());
    // Either way the averages are shown.
    EXPECT_EQ(f.A.Amplt().Length(), 32);
    EXPECT_GT(f.A.AmpltMax(), 0.0);
  }
}

TEST(CrossSpectrumAnalyzer, CoherenceIsComputedWhenItsAnalysisIsSwitchedOn) {
  TCrossFixture f;
  f.A.CrossAnalyzer().SetAnalysis(1u << caTransferFunction);
  f.Frames(4, 64);
  EXPECT_EQ(f.A.CrossAnalyzer().Coherence().Length(), 0);
  f.A.CrossAnalyzer().SetAnalysis(1u << caCoherence);
  const TCrossAnalyzer& c = f.A.CrossAnalyzer();
  ASSERT_EQ(c.Coherence().Length(), 32);
  for (int i = 1; i < 32; ++i) {
    const numeric::TCplx s = c.CrossSpectrum().CValues()[i];
    const double expected = (s.Re * s.Re + s.Im * s.Im) / c.InputSpectrum().GetValue(i) / c.OutputSpectrum().GetValue(i);
    EXPECT_TRUE(NearRel(c.Coherence().GetValue(i), expected, 1e-15)) << i;
    EXPECT_LE(c.Coherence().GetValue(i), 1.0 + 1e-14) << i;
  }
}

TEST(CrossSpectrumAnalyzer, PowerSpectraShowBySpectrumType) {
  // A sine of amplitude 3 on line 8 of the input: spAmplt shows 3 there, the other types
  // scale it, spPower squares it; integrating divides by 2 pi f.
  struct TRow {
    dsp::TSpectrumType Type;
    TIntegration Integration;
    double Expected;
  };
  const double w = 2 * numeric::PI * 8.0;  // line 8 at 1 Hz a line
  const std::vector<TRow> rows = {{dsp::spAmplt, inNone, 3.0},
                                  {dsp::spRMS, inNone, 3.0 * numeric::INVSQRT2},
                                  {dsp::spPeakPeak, inNone, 6.0},
                                  {dsp::spPower, inNone, 9.0},
                                  {dsp::spAmplt, inOnce, 3.0 / w},
                                  {dsp::spPower, inOnce, 9.0 / (w * w)}};
  for (const TRow& row : rows) {
    TSignal x, y;
    testsupport::Tone(x, 64, 8, 3.0, 0.3, 64.0);
    testsupport::Tone(y, 64, 8, 1.0, 0.0, 64.0);
    TCrossSpectrumAnalyzer a;
    a.SetInput(&x);
    a.SetOutput(&y);
    a.SetSpectrumType(row.Type);
    a.SetIntegration(row.Integration);
    a.Update();
    EXPECT_TRUE(NearRel(a.Amplt().GetValue(8), row.Expected, 1e-13)) << row.Type << " " << row.Integration;
    // The cross spectrum of amplitudes 3 and 1 shows their geometric mean, with the phase
    // between them (-0.3 rad from input to output).
    a.CrossAnalyzer().SetTransform(ctCrossSpectrum);
    a.CrossToSpectrum();
    EXPECT_TRUE(NearRel(a.Amplt().GetValue(8), row.Type == dsp::spPower ? row.Expected / 3 : row.Expected / std::sqrt(3.0),
                        1e-13))
        << "cross " << row.Type << " " << row.Integration;
    EXPECT_NEAR(a.Phase().GetValue(8), -0.3 * 180 / numeric::PI, 1e-10);
  }
}

TEST(CrossSpectrumAnalyzer, TransferFunctionShowsTheRatioAndItsParts) {
  // Output = 0.5 x input delayed a quarter period on line 8: H = 0.5 exp(-i pi / 2).
  TSignal x, y;
  testsupport::Tone(x, 64, 8, 2.0, 0.0, 64.0);
  testsupport::Tone(y, 64, 8, 1.0, -numeric::PI / 2, 64.0);
  TCrossSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetOutput(&y);
  a.CrossAnalyzer().SetTransform(ctTransferFunction);
  a.Update();
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(8), 0.5, 1e-13));
  EXPECT_NEAR(a.Phase().GetValue(8), -90.0, 1e-10);
  a.SetSpectrumType(dsp::spComplex);
  a.CrossToSpectrum();
  EXPECT_NEAR(a.Amplt().GetValue(8), 0.0, 1e-13);
  EXPECT_NEAR(a.Phase().GetValue(8), -0.5, 1e-13);
  a.SetSpectrumType(dsp::spPower);
  a.CrossToSpectrum();
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(8), 0.25, 1e-13));
}

TEST(CrossSpectrumAnalyzer, DecibelsAreOfTheAmplitudeItselfAndNeverOfTheCoherence) {
  TSignal x, y;
  testsupport::Tone(x, 64, 8, 0.1, 0.0, 64.0);
  testsupport::Tone(y, 64, 8, 0.1, 0.0, 64.0);
  TCrossSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetOutput(&y);
  a.SetLogarithmic(true);
  a.SetLogType(ltAbsolute);  // ignored: the cross analyser's scale is not normalised
  a.Update();
  EXPECT_NEAR(a.Amplt().GetValue(8), -20.0, 1e-10);
  EXPECT_NEAR(a.LogReference(), 0.1, 1e-14);
  a.CrossAnalyzer().SetTransform(ctCoherence);
  a.Update();
  EXPECT_TRUE(NearRel(a.Amplt().GetValue(8), 1.0, 1e-14));
}

TEST(CrossSpectrumAnalyzer, EventsFillTheFrameSpectra) {
  TSignal x, y;
  testsupport::Tone(x, 16, 1, 1.0);
  testsupport::Tone(y, 16, 1, 1.0);
  TCrossSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetOutput(&y);
  int calls = 0;
  a.SetOnGetInputSpectrum([&](classlib::TPersistent*, TVec& s) {
    ++calls;
    s.Size(4, true);
    s.SetVal(numeric::TCplx{2.0, 0.0});
  });
  a.SetOnGetoutputSpectrum([&](classlib::TPersistent*, TVec& s) {
    ++calls;
    s.Size(4, true);
    s.SetVal(numeric::TCplx{0.0, 3.0});
  });
  a.CrossAnalyzer().SetTransform(ctCrossSpectrum);
  a.SetSpectrumType(dsp::spComplex);
  a.Update();
  EXPECT_EQ(calls, 2);
  ASSERT_EQ(a.Amplt().Length(), 4);
  // conj(2) (3 i) = 6 i.
  EXPECT_EQ(a.Amplt().GetValue(2), 0.0);
  EXPECT_EQ(a.Phase().GetValue(2), 6.0);
  a.SetOnGetoutputSpectrum([](classlib::TPersistent*, TVec& s) { s.Size(5, true); });
  EXPECT_EQ(RaisedMessage([&] { a.Update(); }), ": InputSpectrum.Length <> OutputSpectrum.Length");
}

TEST(CrossSpectrumAnalyzer, StreamsItsCrossSettingsButNotTheResult) {
  TCrossSpectrumAnalyzer a;
  a.CrossAnalyzer().SetRecursive(false);
  a.CrossAnalyzer().SetAnalysis(1u << caCoherence);
  a.CrossAnalyzer().SetTransform(ctCoherence);
  const std::string text = classlib::ComponentToText(a);
  EXPECT_NE(text.find("CrossAnalyzer.Recursive = False"), std::string::npos) << text;
  EXPECT_NE(text.find("CrossAnalyzer.Analysis = [caCoherence]"), std::string::npos) << text;
  EXPECT_EQ(text.find("Transform"), std::string::npos) << text;
  TCrossSpectrumAnalyzer b;
  classlib::ReadComponentText(text, b);
  EXPECT_FALSE(b.CrossAnalyzer().Recursive());
  EXPECT_EQ(b.CrossAnalyzer().Analysis(), 1u << caCoherence);
  EXPECT_EQ(b.CrossAnalyzer().Transform(), ctInputSpectrum);
}

}  // namespace
}  // namespace sig

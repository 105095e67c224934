// The bispectrum analyser: bicoherence of coupled and independent triples, single lines
// against the whole matrix, the row shown, the averaging modes and their restarts, the
// settings every frame overwrites and the memory budget.
// Covers: signal/BispectrumAnalyzer.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/classlib/ClassRegistry.h"
#include "signal/BispectrumAnalyzer.h"
#include "signal/SpectrumStats.h"
#include "signal/tests/AnalyzerTestSupport.h"
#include "testing/TestSupport.h"

namespace sig {
namespace {

using numeric::TVec;
using orvel::testing::NearRel;
using orvel::testing::RaisedMessage;
using testsupport::Values;

// Frames of N samples at N Hz (1 Hz a line) of unit cosines on lines F1, F2 and F1 + F2 with
// random phases p1, p2 and, when Coupled, p1 + p2 for the third (else a phase of its own),
// plus Gaussian noise of Noise RMS.
class TTriples {
 public:
  TTriples(int N, int F1, int F2, bool Coupled, double Noise, std::uint64_t Seed)
      : FN(N), FF1(F1), FF2(F2), FCoupled(Coupled), FNoise(Noise), FRandom(Seed) {}

  void Next(TSignal& s) {
    std::uniform_real_distribution<double> phase(0.0, 2 * numeric::PI);
    std::normal_distribution<double> noise(0.0, FNoise);
    const double p1 = phase(FRandom), p2 = phase(FRandom), p3 = FCoupled ? p1 + p2 : phase(FRandom);
    s.Data().Size(FN, false);
    for (int j = 0; j < FN; ++j) {
      const double t = 2 * numeric::PI * j / FN;
      s.Data().Values()[j] = std::cos(FF1 * t + p1) + std::cos(FF2 * t + p2) + std::cos((FF1 + FF2) * t + p3) +
                             noise(FRandom);
    }
    s.SetSamplingFrequency(FN);
  }

 private:
  int FN, FF1, FF2;
  bool FCoupled;
  double FNoise;
  std::mt19937_64 FRandom;
};

void Frames(TBiSpectrumAnalyzer& a, TTriples& source, int Count) {
  TSignal s;
  a.SetInput(&s);
  for (int f = 0; f < Count; ++f) {
    source.Next(s);
    a.Update();
  }
  a.SetInput(nullptr);
}

TEST(BispectrumAnalyzer, StartsWithTheModifiedBicoherenceOfTheWholeMatrix) {
  TBiSpectrumAnalyzer a;
  const TBiAnalyzer& b = a.BiAnalyzer();
  EXPECT_EQ(a.Stats().Averaging(), avLinearInf);
  EXPECT_EQ(b.BicoherenceType(), bctModified);
  EXPECT_EQ(b.Transform(), hoBicoherence);
  EXPECT_TRUE(b.Recursive());
  EXPECT_FALSE(b.SingleLinesOnly());
  EXPECT_EQ(b.Frequency(), 0.0);
  EXPECT_EQ(b.Lines().Length(), 0);
  EXPECT_EQ(a.EditorClassName(), "TBispectrumAnaForm");
}

TEST(BispectrumAnalyzer, CoupledTripleIsCoherentAndAnIndependentOneIsNot) {
  // 256 frames of 256 samples, noise 0.1 RMS: the pair (35, 20) of lines whose sum 55 holds
  // the third tone. Frequency 20 shows the row of first line 20, the pair at Amplt[35].
  for (const bool coupled : {true, false}) {
    TBiSpectrumAnalyzer a;
    a.BiAnalyzer().SetFrequency(20.0);
    TTriples source(256, 20, 35, coupled, 0.1, orvel::testing::TestSeed(coupled ? 32127 : 32128));
    Frames(a, source, 1);
    a.BiAnalyzer().SetFrequency(20.0);  // the first frame gave the lines their spacing
    TSignal s;
    a.SetInput(&s);
    for (int f = 1; f < 256; ++f) {
      source.Next(s);
      a.Update();
    }
    EXPECT_EQ(a.Stats().Averaged(), 256u);
    ASSERT_EQ(a.Length(), 128);
    EXPECT_EQ(a.HzRes(), 1.0);
    const double b = a.Amplt().GetValue(35);
    if (coupled)
      EXPECT_GE(b, 0.999);
    else
      EXPECT_LT(b, 0.05);
    // Lines below the first frequency are no pairs of the row.
    for (int k = 0; k < 20; ++k) EXPECT_EQ(a.Amplt().GetValue(k), 0.0) << k;
  }
}

TEST(BispectrumAnalyzer, SingleLinesEqualTheWholeMatrixsSlice) {
  struct TRow {
    const char* Name;
    TBiAnalysis Transform;
    TBicoherenceType Type;
  };
  const std::vector<TRow> rows = {{"modified", hoBicoherence, bctModified},
                                  {"default", hoBicoherence, bctDefault},
                                  {"bispectrum", hoBispectrum, bctModified}};
  for (const TRow& row : rows)
    for (const double f : {0.0, 5.0, 12.0, 15.0}) {
      TBiSpectrumAnalyzer whole, single;
      for (TBiSpectrumAnalyzer* a : {&whole, &single}) {
        a->BiAnalyzer().SetTransform(row.Transform);
        a->BiAnalyzer().SetBicoherenceType(row.Type);
      }
      single.BiAnalyzer().SetSingleLinesOnly(true);
      single.BiAnalyzer().Lines().SetIt(false, std::vector<double>{3.0, f, 9.0});
      TTriples s1(64, 5, 7, true, 0.3, 7), s2(64, 5, 7, true, 0.3, 7);
      Frames(whole, s1, 1);
      Frames(single, s2, 1);
      whole.BiAnalyzer().SetFrequency(f);
      single.BiAnalyzer().SetFrequency(f);
      Frames(whole, s1, 5);
      Frames(single, s2, 5);
      EXPECT_EQ(single.BiAnalyzer().Bispectrum().Rows(), 3) << row.Name;
      EXPECT_EQ(single.BiAnalyzer().Bispectrum().Cols(), 32) << row.Name;
      const std::vector<double> expected = Values(whole.Amplt());
      EXPECT_EQ(Values(single.Amplt()), expected) << row.Name << " at " << f;
      double largest = 0;
      for (double v : expected) largest = std::max(largest, v);
      if (f < 15.0) {
        EXPECT_GT(largest, 0.0) << row.Name << " at " << f;
      }
    }
}

TEST(BispectrumAnalyzer, RowShownIsThePairsOfItsFirstFrequency) {
  // Amplt[k] of the row at bin r is the pair (k, r) for r <= k < L - r, 0 elsewhere; the
  // pairs come from both triangles of the matrix.
  TBiSpectrumAnalyzer a;
  a.BiAnalyzer().SetTransform(hoBispectrum);
  TTriples source(64, 3, 9, false, 0.5, 11);
  Frames(a, source, 1);
  const numeric::TMtx& m = a.BiAnalyzer().Bispectrum();
  const int L = 32, h = 16;
  for (const int r : {0, 1, 7, 15, 16}) {
    a.BiAnalyzer().SetFrequency(r);
    TSignal s;
    a.SetInput(&s);
    a.Stats().SetAveraging(avLinear);
    a.Stats().SetAverages(1);  // a completed average only shows its row
    source.Next(s);
    a.Update();
    a.SetInput(nullptr);
    for (int k = 0; k < L; ++k) {
      double expected = 0;
      if (k >= r && k < L - r && r < h) expected = k <= h ? m.RowValues(k)[r] : m.RowValues(k - h - 1)[k - h + r];
      EXPECT_EQ(a.Amplt().GetValue(k), expected) << "row " << r << ", line " << k;
    }
  }
}

TEST(BispectrumAnalyzer, SingleLinesShowNothingAwayFromTheirLines) {
  TBiSpectrumAnalyzer a;
  a.BiAnalyzer().SetSingleLinesOnly(true);
  a.BiAnalyzer().Lines().SetIt(false, std::vector<double>{5.0});
  TTriples source(64, 5, 7, true, 0.1, 3);
  Frames(a, source, 1);
  a.BiAnalyzer().SetFrequency(6.0);  // one line away: still line 5's row
  Frames(a, source, 1);
  EXPECT_GT(a.Amplt().GetValue(7), 0.9);
  a.BiAnalyzer().SetFrequency(6.5);
  Frames(a, source, 1);
  for (int k = 0; k < a.Amplt().Length(); ++k) EXPECT_EQ(a.Amplt().GetValue(k), 0.0) << k;
}

TEST(BispectrumAnalyzer, FrequencyStaysWithinTheFirstHalfOfTheLines) {
  TBiSpectrumAnalyzer a;
  TTriples source(64, 5, 7, true, 0.1, 3);
  Frames(a, source, 1);
  ASSERT_EQ(a.Length(), 32);
  ASSERT_EQ(a.HzRes(), 1.0);
  a.BiAnalyzer().SetFrequency(100.0);
  EXPECT_EQ(a.BiAnalyzer().Frequency(), 16.0);
  a.BiAnalyzer().SetFrequency(-1.0);
  EXPECT_EQ(a.BiAnalyzer().Frequency(), 16.0);
  a.BiAnalyzer().SetFrequency(std::nan(""));
  EXPECT_EQ(a.BiAnalyzer().Frequency(), 16.0);
  a.BiAnalyzer().SetFrequency(3.5);
  EXPECT_EQ(a.BiAnalyzer().Frequency(), 3.5);
}

TEST(BispectrumAnalyzer, AveragingRestarts) {
  struct TRow {
    const char* Name;
    std::function<void(TBiSpectrumAnalyzer&)> Change;
  };
  const std::vector<TRow> rows = {
      {"recursive", [](TBiSpectrumAnalyzer& a) { a.BiAnalyzer().SetRecursive(false); }},
      {"single lines", [](TBiSpectrumAnalyzer& a) { a.BiAnalyzer().SetSingleLinesOnly(true); }},
      {"spectrum type", [](TBiSpectrumAnalyzer& a) { a.SetSpectrumType(dsp::spPower); }},
  };
  for (const TRow& row : rows) {
    TBiSpectrumAnalyzer a;
    TTriples source(64, 5, 7, true, 0.1, 3);
    Frames(a, source, 3);
    EXPECT_EQ(a.Stats().Averaged(), 3u) << row.Name;
    row.Change(a);
    EXPECT_EQ(a.Stats().Averaged(), 0u) << row.Name;
  }
  // A new frame length, or other lines, restart at the next frame.
  TBiSpectrumAnalyzer a;
  TTriples short1(64, 5, 7, true, 0.1, 3), long1(128, 5, 7, true, 0.1, 3);
  Frames(a, short1, 3);
  Frames(a, long1, 1);
  EXPECT_EQ(a.Stats().Averaged(), 1u);
  EXPECT_EQ(a.BiAnalyzer().Bispectrum().Rows(), 33);
  a.BiAnalyzer().SetSingleLinesOnly(true);
  a.BiAnalyzer().Lines().SetIt(false, std::vector<double>{5.0});
  Frames(a, long1, 2);
  EXPECT_EQ(a.Stats().Averaged(), 2u);
  a.BiAnalyzer().Lines().SetIt(false, std::vector<double>{6.0});
  Frames(a, long1, 1);
  EXPECT_EQ(a.Stats().Averaged(), 1u);
}

TEST(BispectrumAnalyzer, CompletedLinearAverageOnlyShowsItsResult) {
  TBiSpectrumAnalyzer a;
  a.Stats().SetAveraging(avLinear);
  a.Stats().SetAverages(5);
  TTriples source(64, 5, 7, true, 0.3, 3);
  Frames(a, source, 5);
  a.BiAnalyzer().SetFrequency(5.0);
  Frames(a, source, 1);
  EXPECT_EQ(a.Stats().Averaged(), 5u);
  const std::vector<double> row5 = Values(a.Amplt());
  EXPECT_GT(row5[7], 0.9);  // the coupled pair (5, 7)
  const std::vector<double> result(a.BiAnalyzer().Bispectrum().Values(),
                                   a.BiAnalyzer().Bispectrum().Values() + a.BiAnalyzer().Bispectrum().ElementCount());
  Frames(a, source, 2);
  EXPECT_EQ(a.Stats().Averaged(), 5u);
  EXPECT_EQ(Values(a.Amplt()), row5);
  EXPECT_EQ(std::vector<double>(a.BiAnalyzer().Bispectrum().Values(),
                                a.BiAnalyzer().Bispectrum().Values() + a.BiAnalyzer().Bispectrum().ElementCount()),
            result);
  // Another row of the same average, without a new frame.
  a.BiAnalyzer().SetFrequency(7.0);
  Frames(a, source, 1);
  EXPECT_EQ(a.Stats().Averaged(), 5u);
  EXPECT_NE(Values(a.Amplt()), row5);
  EXPECT_EQ(a.Amplt().GetValue(5), 0.0);
}

TEST(BispectrumAnalyzer, FinishedSumsShowTheRunningAveragesResults) {
  struct TRow {
    const char* Name;
    TBiAnalysis Transform;
    TBicoherenceType Type;
  };
  const std::vector<TRow> rows = {{"modified", hoBicoherence, bctModified},
                                  {"default", hoBicoherence, bctDefault},
                                  {"bispectrum", hoBispectrum, bctModified}};
  for (const TRow& row : rows) {
    TBiSpectrumAnalyzer recursive, sums;
    int told = 0;
    sums.SetNotifyMethod([&](classlib::TPersistent*) { ++told; });
    sums.BiAnalyzer().SetRecursive(false);
    for (TBiSpectrumAnalyzer* a : {&recursive, &sums}) {
      a->BiAnalyzer().SetTransform(row.Transform);
      a->BiAnalyzer().SetBicoherenceType(row.Type);
    }
    TTriples s1(64, 5, 7, true, 0.5, 5), s2(64, 5, 7, true, 0.5, 5);
    Frames(recursive, s1, 7);
    Frames(sums, s2, 7);
    EXPECT_EQ(told, 0) << row.Name;
    const numeric::TMtx& m1 = recursive.BiAnalyzer().Bispectrum();
    const numeric::TMtx& m2 = sums.BiAnalyzer().Bispectrum();
    ASSERT_EQ(m2.ElementCount(), m1.ElementCount()) << row.Name;
    // Seven frames averaged two ways: a few roundings apart, each result's own size.
    for (int e = 0; e < m1.ElementCount(); ++e)
      EXPECT_TRUE(NearRel(m2.Values()[e], m1.Values()[e], 1e-13)) << row.Name << " element " << e;
  }
}

TEST(BispectrumAnalyzer, EveryFrameTakesThePlainTransformAsAmplitude) {
  TBiSpectrumAnalyzer a;
  a.SetMethod(smBurg);
  a.SetSpectrumType(dsp::spPower);
  a.SetAutoCalculate(true);
  TTriples source(64, 5, 7, true, 0.1, 3);
  Frames(a, source, 1);
  EXPECT_EQ(a.Method(), smFFT);
  EXPECT_EQ(a.SpectrumType(), dsp::spAmplt);
  EXPECT_EQ(a.Stats().Averaged(), 1u);
  EXPECT_TRUE(a.AutoCalculate());
}

TEST(BispectrumAnalyzer, ResultsStayFiniteWhereNothingWasMeasured) {
  // The mean-free frame has no power on line 0: its pairs divide nothing by nothing.
  for (const TBicoherenceType type : {bctModified, bctDefault}) {
    TBiSpectrumAnalyzer a;
    a.BiAnalyzer().SetBicoherenceType(type);
    TSignal s;
    s.Data().SetIt(false, std::vector<double>(32, 1.0));  // a constant: no power at all
    a.SetInput(&s);
    a.Update();
    const numeric::TMtx& m = a.BiAnalyzer().Bispectrum();
    ASSERT_GT(m.ElementCount(), 0);
    for (int e = 0; e < m.ElementCount(); ++e) EXPECT_EQ(m.Values()[e], 0.0) << type << " " << e;
  }
}

TEST(BispectrumAnalyzer, WholeMatrixBeyondOneGibibyteIsRefusedNamingItsLines) {
  TBiSpectrumAnalyzer a;
  a.SetName("Bi");
  TTriples small(64, 5, 7, true, 0.1, 3);
  Frames(a, small, 2);
  const int rows = a.BiAnalyzer().Bispectrum().Rows();
  TSignal s;
  s.Data().Size(32768, false);
  s.Data().SetVal(0.5);
  s.Data().Values()[1] = 1.0;
  a.SetInput(&s);
  EXPECT_EQ(RaisedMessage([&] { a.Update(); }),
            "Bi: Bispectrum: a frame of 16384 lines needs 2049 MB, more than 1 GiB! Use single lines "
            "(SingleLinesOnly) for longer frames.");
  EXPECT_EQ(a.Stats().Averaged(), 2u);
  EXPECT_EQ(a.BiAnalyzer().Bispectrum().Rows(), rows);
  // Single lines of the same frame fit.
  a.BiAnalyzer().SetSingleLinesOnly(true);
  a.BiAnalyzer().Lines().SetIt(false, std::vector<double>{100.0});
  a.Update();
  EXPECT_EQ(a.BiAnalyzer().Bispectrum().Rows(), 1);
  EXPECT_EQ(a.BiAnalyzer().Bispectrum().Cols(), 16384);
}

}  // namespace
}  // namespace sig

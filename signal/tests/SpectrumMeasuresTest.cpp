// The distortion and noise measures from hand-built marks.
// Covers signal/SpectrumMeasures.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "dsp/SignalUtils.h"
#include "numeric/MathCore.h"
#include "signal/Spectrum.h"
#include "testing/TestSupport.h"

namespace {

using orvel::testing::NearRel;
using sig::TSpectrum;

// A real spectrum of Lines lines spaced 1 Hz apart, all of amplitude Floor.
std::unique_ptr<TSpectrum> Grid(std::int32_t Lines, double Floor) {
  auto s = std::make_unique<TSpectrum>();
  s->SetLength(Lines);
  s->SetSamplingFrequency(2.0 * Lines);
  s->Amplt().SetVal(Floor);
  return s;
}

// A peak of amplitude A on line F (1 Hz lines from 0 Hz), marked.
void Peak(TSpectrum& S, std::int32_t F, double A) {
  S.Amplt().SetValue(F, A);
  S.Marks().AddMark({double(F), A, 0.0, 0.0});
}

TEST(SpectrumMeasures, ATonesHarmonicsOnAClearSpectrum) {
  // Zero off the marks: 50, 100, 150 Hz at 1, 0.01, 0.005, marked in no order.
  auto s = Grid(200, 0.0);
  Peak(*s, 100, 0.01);
  Peak(*s, 50, 1.0);
  Peak(*s, 150, 0.005);
  EXPECT_TRUE(NearRel(s->THD(), 1.118034, 1e-6));
  EXPECT_TRUE(NearRel(s->SFDR(), 40.0, 1e-13));
  EXPECT_TRUE(NearRel(s->SINAD(1.0), 36.478, 1e-5));
  EXPECT_TRUE(NearRel(s->THDN(1.0), 1.118034, 1e-6));
  // No noise line at all: the ratio to noise cannot be given.
  EXPECT_TRUE(std::isnan(s->SNR(1.0)));
  EXPECT_TRUE(std::isnan(s->NF(1.0)));
  // Harmonics counts the fundamental: 2 keeps only the first harmonic.
  s->SetHarmonics(2);
  EXPECT_TRUE(NearRel(s->THD(), 1.0, 1e-14));
}

TEST(SpectrumMeasures, THDOfEqualHarmonics) {
  auto s = Grid(64, 0.0);
  Peak(*s, 30, 0.1);
  Peak(*s, 10, 1.0);
  Peak(*s, 20, 0.1);
  EXPECT_TRUE(NearRel(s->THD(), 100.0 * std::sqrt(0.02), 1e-14));
}

// Flat noise of 1 on 200 lines, two marked peaks of 10 at 50 and 100 Hz.
// With MainlobeWidth 8 and R = 1 a peak at f excludes f - 4 .. f + 4; the
// gap ranges include or exclude their ends as each measure defines.
TEST(SpectrumMeasures, GapRangesEndAsEachMeasureDefines) {
  struct TCase {
    const char* Name;
    std::function<double(TSpectrum&)> Measure;
    double Expected;
  };
  const TCase cases[] = {
      // [0, 45] 46 lines, [54, 96] 43, [104, 199] 96: 185 squares.
      {"THDN", [](TSpectrum& s) { return s.THDN(1.0); }, 100.0 * std::sqrt(185.0 + 100.0) / 10.0},
      // [0, 46] 47, [54, 96] 43, [104, 199] 96 = 186; count 46 + 42 + 95 = 183.
      {"NF", [](TSpectrum& s) { return s.NF(1.0); }, 20.0 * std::log10(186.0 / (183.0 * 10.0))},
      // [0, 45] 46, [54, 95] 42, [104, 199] 96 = 184.
      {"SINAD", [](TSpectrum& s) { return s.SINAD(1.0); }, 20.0 * std::log10(10.0 / (184.0 + 10.0))},
      // [0, 45] 46, [54, 96] 43, [104, 199] 96 = 185.
      {"SNR", [](TSpectrum& s) { return s.SNR(1.0); }, 20.0 * std::log10(20.0 / 185.0)},
      // [0, 46] 47, [54, 96] 43, [104, 199] 96 = 186 squares.
      {"BandRMS", [](TSpectrum& s) { return s.BandRMS(1.0); }, std::sqrt((200.0 + 186.0) / 2.0)},
      {"SFDR", [](TSpectrum& s) { return s.SFDR(); }, 0.0},
      // R = 2 widens the peaks to f - 8 .. f + 8 and halves the gap sum:
      // [0, 41] 42, [58, 92] 35, [108, 199] 92 = 169.
      {"THDN at R 2", [](TSpectrum& s) { return s.THDN(2.0); }, 100.0 * std::sqrt(169.0 / 2.0 + 100.0) / 10.0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto s = Grid(200, 1.0);
    Peak(*s, 100, 10.0);
    Peak(*s, 50, 10.0);
    EXPECT_TRUE(NearRel(c.Measure(*s), c.Expected, 1e-13));
  }
}

TEST(SpectrumMeasures, EachMeasureLeavesTheMarksInItsOrder) {
  struct TCase {
    const char* Name;
    std::function<void(TSpectrum&)> Measure;
    bool ByAmplitude;
  };
  const TCase cases[] = {
      {"THD", [](TSpectrum& s) { s.THD(); }, false},        {"THDN", [](TSpectrum& s) { s.THDN(1); }, true},
      {"NF", [](TSpectrum& s) { s.NF(1); }, true},          {"SFDR", [](TSpectrum& s) { s.SFDR(); }, false},
      {"SINAD", [](TSpectrum& s) { s.SINAD(1); }, false},   {"SNR", [](TSpectrum& s) { s.SNR(1); }, false},
      {"BandRMS", [](TSpectrum& s) { s.BandRMS(1); }, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto s = Grid(100, 0.1);
    Peak(*s, 20, 0.5);
    Peak(*s, 60, 0.2);
    Peak(*s, 10, 1.0);
    c.Measure(*s);
    const std::vector<double> order = {s->Marks().GetMark(0).First, s->Marks().GetMark(1).First,
                                       s->Marks().GetMark(2).First};
    EXPECT_EQ(order, c.ByAmplitude ? std::vector<double>({60, 20, 10}) : std::vector<double>({10, 20, 60}));
  }
}

TEST(SpectrumMeasures, WithoutMarksTheMeasuresAreZeroAndBandRMSIsTheWholeBand) {
  auto s = Grid(100, 2.0);
  EXPECT_EQ(s->THD(), 0.0);
  EXPECT_EQ(s->THDN(1), 0.0);
  EXPECT_EQ(s->NF(1), 0.0);
  EXPECT_EQ(s->SINAD(1), 0.0);
  EXPECT_EQ(s->SNR(1), 0.0);
  EXPECT_EQ(s->SFDR(), 0.0);
  EXPECT_TRUE(NearRel(s->BandRMS(1.0), std::sqrt(100.0 * 4.0 / 2.0), 1e-14));
  EXPECT_TRUE(NearRel(s->BandRMS(4.0), std::sqrt(100.0 * 4.0 / 2.0 / 4.0), 1e-14));
  Peak(*s, 30, 9.0);
  EXPECT_EQ(s->SFDR(), 0.0);  // one mark
}

TEST(SpectrumMeasures, MarksAtTheEdgesGiveFiniteResults) {
  auto s = Grid(64, 0.01);
  Peak(*s, 0, 1.0);
  Peak(*s, 63, 0.1);
  Peak(*s, 1, 0.05);  // overlapping the first peak's lobe
  for (double value : {s->THD(), s->THDN(1), s->NF(1), s->SFDR(), s->SINAD(1), s->SNR(1), s->BandRMS(1)})
    EXPECT_TRUE(std::isfinite(value)) << value;
  // Marks outside the spectrum altogether.
  auto t = Grid(64, 0.01);
  t->Marks().AddMark({-500.0, 1.0, 0, 0});
  t->Marks().AddMark({1e9, 0.5, 0, 0});
  for (double value : {t->THDN(1), t->NF(1), t->SINAD(1), t->SNR(1), t->BandRMS(1)})
    EXPECT_TRUE(std::isfinite(value)) << value;
}

TEST(SpectrumMeasures, WhatCannotBeComputedIsNaNNotZero) {
  // A zero fundamental.
  auto s = Grid(64, 0.0);
  Peak(*s, 10, 0.0);
  Peak(*s, 20, 0.1);
  EXPECT_TRUE(std::isnan(s->THD()));
  // No frequency grid.
  auto t = Grid(64, 0.1);
  Peak(*t, 10, 1.0);
  t->SetLength(0);
  t->SetSamplingTime(5.0);
  ASSERT_EQ(t->HzRes(), 0.0);
  EXPECT_TRUE(std::isnan(t->THDN(1.0)));
  EXPECT_TRUE(std::isnan(t->SINAD(1.0)));
}

// Parseval: a sum of cosines on the transform's lines (no DC, no half-rate
// line), its amplitude spectrum, and three of its peaks marked. Band RMS from
// the marks and the gaps equals the RMS of the samples.
TEST(SpectrumMeasures, BandRMSEqualsTheTimeDomainRMS) {
  constexpr std::int32_t N = 1024;
  std::mt19937_64 random(orvel::testing::TestSeed(2910));
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  numeric::TVec x;
  x.Size(N, false);
  std::vector<double> amplitude(N / 2, 0.0);
  for (std::int32_t k = 1; k < N / 2; ++k) amplitude[static_cast<std::size_t>(k)] = 0.01 * uniform(random);
  amplitude[100] = 1.0;
  amplitude[200] = 0.3;
  amplitude[300] = 0.2;
  for (std::int32_t n = 0; n < N; ++n) {
    double v = 0.0;
    for (std::int32_t k = 1; k < N / 2; ++k)
      v += amplitude[static_cast<std::size_t>(k)] * std::cos(2 * numeric::PI * k * n / N + 0.7 * k);
    x.SetValue(n, v);
  }
  const double rms = x.RMS();

  numeric::TVec spectrum;
  spectrum.FFT(x);
  TSpectrum s;
  s.SetSamplingFrequency(N);  // 1 Hz lines
  s.Amplt().Mag(spectrum);
  s.Amplt().Scale(2.0 / N);
  ASSERT_EQ(s.Length(), N / 2);
  ASSERT_EQ(s.HzRes(), 1.0);
  s.SetMainlobeWidth(2);  // a mark stands for its own line only
  for (std::int32_t k : {300, 100, 200}) s.Marks().AddMark({double(k), s.Amplt().GetValue(k), 0, 0});
  // The FFT's rounding, log2 N steps of unit roundoff, with a margin of 10.
  const double tol = 10.0 * 10 * numeric::EPS;
  EXPECT_TRUE(NearRel(s.BandRMS(1.0), rms, tol));
  s.Marks().Clear();
  EXPECT_TRUE(NearRel(s.BandRMS(1.0), rms, tol));
}

}  // namespace

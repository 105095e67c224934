// The spectrum analyser against scipy and numpy, through the table
// data/spectrum_analyzer_oracle.txt made by data/gen_spectrum_analyzer_oracle.py: power
// spectra against periodogram and welch, the averages' deviation and limits against
// numpy.std, chirp-z points against zoom_fft and czt, the Yule-Walker model's spectrum
// against solve_toeplitz, and a frequency response against freqz. The values come through
// FFTs, whose last bits vary with the plan: compared with tolerances that the transforms'
// error bound (n log n unit roundoffs of the spectrum's scale, with a margin) allows.
//
// Covers: signal/SpectrumTransform.cpp, signal/SpectrumAnalyzerUpdate.cpp,
// signal/SpectrumStats.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "numeric/tests/OracleLines.h"
#include "signal/SpectrumAnalyzer.h"
#include "signal/SpectrumCZT.h"
#include "signal/SpectrumStats.h"
#include "testing/TestSupport.h"

namespace sig {
namespace {

using numeric::TCplx;
using numeric::TVec;
using numeric::testutil::Largest;
using numeric::testutil::OracleComplex;
using numeric::testutil::OracleNumbers;
using numeric::testutil::ReadOracleCases;
using numeric::testutil::Slice;
using orvel::testing::NearRel;
using orvel::testing::NearScaled;

constexpr const char* kSpectrumAnalyzerTable = "spectrum_analyzer_oracle.txt";

// Transforms of up to a few thousand points: 1e-12 of the spectrum's largest value is some
// hundred times their rounding bound.
constexpr double FftTol = 1e-12;

// A signal at Fs holding Values.
void Fill(TSignal& s, const std::vector<double>& Values, double Fs = 1.0) {
  s.Data().SetIt(false, Values);
  s.SetSamplingFrequency(Fs);
}

TEST(SpectrumAnalyzerOracle, PowerIsTwiceThePeriodogram) {
  const auto c = ReadOracleCases(kSpectrumAnalyzerTable, "periodogram")[0];
  TSignal x;
  Fill(x, OracleNumbers(c[1]));
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetSpectrumType(dsp::spPower);
  a.Update();
  const std::vector<double> p = OracleNumbers(c[2]);
  ASSERT_EQ(a.Length(), 512);
  EXPECT_EQ(a.FftLength(), 1024);
  const double scale = 2 * Largest(p);
  for (int i = 1; i < 512; ++i) EXPECT_TRUE(NearScaled(a.Amplt().GetValue(i), 2 * p[i], FftTol, scale)) << "line " << i;
}

TEST(SpectrumAnalyzerOracle, LinearAverageOfPowerIsTwiceWelch) {
  const auto c = ReadOracleCases(kSpectrumAnalyzerTable, "welch")[0];
  const int n = std::stoi(c[1]);
  const std::vector<double> all = OracleNumbers(c[2]);
  TSignal x;
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetSpectrumType(dsp::spPower);
  a.Stats().SetAveraging(avLinearInf);
  for (int frame = 0; frame < 8; ++frame) {
    Fill(x, Slice(all, static_cast<std::size_t>(frame * n), static_cast<std::size_t>(n)));
    a.Update();
  }
  EXPECT_EQ(a.Stats().Averaged(), 8u);
  const std::vector<double> p = OracleNumbers(c[3]);
  ASSERT_EQ(a.Length(), n / 2);
  const double scale = 2 * Largest(p);
  for (int i = 1; i < n / 2; ++i) EXPECT_TRUE(NearScaled(a.Amplt().GetValue(i), 2 * p[i], FftTol, scale)) << "line " << i;
}

TEST(SpectrumAnalyzerOracle, DeviationAndLimitsOfTheLinearAverageAreNumpys) {
  const auto c = ReadOracleCases(kSpectrumAnalyzerTable, "stats")[0];
  const int n = std::stoi(c[1]);
  const std::vector<double> all = OracleNumbers(c[2]);
  TSignal x;
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.Stats().SetAveraging(avLinearInf);
  a.Stats().SetCalcStdDev(true);
  a.Stats().SetCalcLimits(true);
  EXPECT_TRUE(NearRel(a.Stats().LimitFactor(), std::stod(c[9]), 1e-12));
  EXPECT_TRUE(NearRel(a.Stats().LimitFactor(), 2.5758293035489, 1e-12));
  for (int frame = 0; frame < 8; ++frame) {
    Fill(x, Slice(all, static_cast<std::size_t>(frame * n), static_cast<std::size_t>(n)));
    a.Update();
  }
  const TSpectrumStats& stats = a.Stats();
  ASSERT_EQ(stats.StdDev().Count(), 2);
  ASSERT_EQ(stats.UpperLimit().Count(), 2);
  ASSERT_EQ(stats.LowerLimit().Count(), 2);
  const std::vector<double> mean = OracleNumbers(c[3]), sd = OracleNumbers(c[4]), upper = OracleNumbers(c[5]),
                            lower = OracleNumbers(c[6]), phaseMean = OracleNumbers(c[7]),
                            phaseSd = OracleNumbers(c[8]);
  const double scale = Largest(upper);
  // The deviation comes from running sums of squares: their cancellation
  // costs a factor of mean^2 / variance, a few here.
  constexpr double tol = 1e-10;
  // Line 0 holds the removed mean, rounding noise of no definite phase.
  for (int i = 1; i < n / 2; ++i) {
    EXPECT_TRUE(NearScaled(a.Amplt().GetValue(i), mean[i], tol, scale)) << "line " << i;
    EXPECT_TRUE(NearScaled(stats.StdDev().Items(0).GetValue(i), sd[i], tol, scale)) << "line " << i;
    EXPECT_TRUE(NearScaled(stats.UpperLimit().Items(0).GetValue(i), upper[i], tol, scale)) << "line " << i;
    EXPECT_TRUE(NearScaled(stats.LowerLimit().Items(0).GetValue(i), lower[i], tol, scale)) << "line " << i;
    EXPECT_TRUE(NearScaled(a.Phase().GetValue(i), phaseMean[i], tol, 180.0)) << "line " << i;
    EXPECT_TRUE(NearScaled(stats.StdDev().Items(1).GetValue(i), phaseSd[i], tol, 180.0)) << "line " << i;
  }
}

// The chirp-z cases: zoom_fft on the unit circle, czt on a spiral. The points show amplitude
// 2 |X| / N and phase in degrees, labelled with the frequencies evaluated, f1 + i (f2 - f1) / k.
TEST(SpectrumAnalyzerOracle, ChirpZPointsAreScipysAtTheLabelledFrequencies) {
  struct TCase {
    const char* Tag;
    std::size_t Samples, Points;
  };
  for (const TCase& t : {TCase{"zoom", 5, 6}, TCase{"czt", 7, 8}}) {
    SCOPED_TRACE(t.Tag);
    const auto c = ReadOracleCases(kSpectrumAnalyzerTable, t.Tag)[0];
    const double fs = std::stod(c[1]), f1 = std::stod(c[2]), f2 = std::stod(c[3]);
    const int k = std::stoi(c[4]);
    const std::vector<double> samples = OracleNumbers(c[t.Samples]);
    const int N = static_cast<int>(samples.size());
    TSignal x;
    Fill(x, samples, fs);
    TSpectrumAnalyzer a;
    a.SetInput(&x);
    a.SetMethod(smCZT);
    a.CZT().SetStopFrequency(f2);
    a.CZT().SetStartFrequency(f1);
    a.CZT().SetFrequencyStep((f2 - f1) / k);
    if (t.Samples == 7) {
      a.CZT().SetStartRadius(std::stod(c[5]));
      a.CZT().SetStopRadius(std::stod(c[6]));
    }
    a.Update();
    EXPECT_DOUBLE_EQ(a.StartFrequency(), f1);
    EXPECT_TRUE(NearRel(a.HzRes(), (f2 - f1) / k, 1e-14));
    const std::vector<TCplx> expected = OracleComplex(c[t.Points]);
    ASSERT_EQ(a.Length(), static_cast<int>(expected.size()));
    double scale = 0;
    for (const TCplx& e : expected) scale = std::max(scale, std::hypot(e.Re, e.Im));
    scale *= 2.0 / N;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const std::complex<double> e(expected[i].Re, expected[i].Im);
      const int line = static_cast<int>(i);
      EXPECT_TRUE(NearScaled(a.Amplt().GetValue(line), 2.0 * std::abs(e) / N, FftTol, scale)) << "point " << i;
      EXPECT_TRUE(NearScaled(a.Phase().GetValue(line), std::arg(e) * 180.0 / M_PI, 1e-9, 180.0)) << "point " << i;
    }
  }
}

TEST(SpectrumAnalyzerOracle, YuleWalkerSpectrumComesFromSolveToeplitzCoefficients) {
  const auto c = ReadOracleCases(kSpectrumAnalyzerTable, "yulewalker")[0];
  TSignal x;
  Fill(x, OracleNumbers(c[2]));
  TSpectrumAnalyzer a;
  a.SetInput(&x);
  a.SetMethod(smYuleWalker);
  a.SetAROrder(std::stoi(c[1]));
  a.SetSpectrumType(dsp::spPower);
  a.Update();
  const std::vector<double> p = OracleNumbers(c[5]);
  ASSERT_EQ(a.Length(), static_cast<int>(p.size()));
  EXPECT_EQ(a.AmplitudeFactor(), 1.0);
  // The Levinson recursion of order 12 on a model with poles of radius 0.7:
  // its condition is some hundreds.
  for (std::size_t i = 0; i < p.size(); ++i)
    EXPECT_TRUE(NearRel(a.Amplt().GetValue(static_cast<int>(i)), p[i], 1e-9)) << "line " << i;
}

TEST(SpectrumAnalyzerOracle, FrequencyResponseOfAButterworthIsFreqz) {
  const auto c = ReadOracleCases(kSpectrumAnalyzerTable, "freqz")[0];
  TVec b, den;
  b.SetIt(false, OracleNumbers(c[1]));
  den.SetIt(false, OracleNumbers(c[2]));
  const std::vector<TCplx> h = OracleComplex(c[3]);
  TSpectrumAnalyzer a;
  // The polynomials are taken as they are: no mean removed, no window.
  a.SetDCDump(false);
  a.SetZeroPadding(64);
  a.FrequencyResponse(&b, &den, 2.0);
  ASSERT_EQ(a.Length(), static_cast<int>(h.size()));
  EXPECT_EQ(a.HzRes(), 1.0 / 256);
  for (std::size_t i = 0; i < h.size(); ++i) {
    const std::complex<double> e(h[i].Re, h[i].Im);
    const int line = static_cast<int>(i);
    EXPECT_TRUE(NearScaled(a.Amplt().GetValue(line), std::abs(e), FftTol, 1.0)) << "line " << i;
    if (std::abs(e) > 1e-6) {
      EXPECT_TRUE(NearScaled(a.Phase().GetValue(line), std::arg(e) * 180.0 / M_PI, 1e-8, 180.0)) << "line " << i;
    }
  }
}

}  // namespace
}  // namespace sig

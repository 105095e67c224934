// The time analyser and the peak search against numpy and scipy, through the table
// data/signal_analysis_oracle.txt made by data/gen_signal_analysis_oracle.py: the three
// autocorrelations against numpy.correlate, cross-correlation lags, the DCT and its inverse
// against scipy.fft.dct / idct (norm 'ortho'), and each interpolation of a sine between lines
// with the amplitude and phase read at Quinn's second estimate.
//
// Tolerances: a sum of n products is within n unit roundoffs of the sum of their magnitudes
// (at most the energy of the signal); an orthonormal transform of n points within some log2 n
// roundoffs of the signal's norm; the line estimates come from transforms within 1e-13 of
// their scale, which moves them by far less than the 1e-9 line allowed.
//
// Covers: signal/SignalAnalyzer.cpp, signal/SpectrumPeaks.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "numeric/tests/OracleLines.h"
#include "signal/SignalAnalyzer.h"
#include "signal/SignalCollections.h"
#include "signal/SpectrumAnalyzer.h"
#include "signal/SpectrumPeaks.h"
#include "signal/tests/AnalyzerTestSupport.h"
#include "testing/TestSupport.h"

namespace sig {
namespace {

using numeric::TCplx;
using numeric::testutil::OracleComplex;
using numeric::testutil::OracleNumbers;
using numeric::testutil::ReadOracleCases;
using orvel::testing::NearRel;
using orvel::testing::NearScaled;

constexpr const char* kAnalysisTable = "signal_analysis_oracle.txt";
constexpr double Eps = 2.220446049250313e-16;

// A signal holding the values (complex when the field is).
void Fill(TSignal& s, const std::string& Field) {
  const std::vector<TCplx> v = OracleComplex(Field);
  const bool complex = Field.find('|') != std::string::npos;
  s.Data().Size(static_cast<int>(v.size()), complex);
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (complex)
      s.Data().CValues()[i] = v[i];
    else
      s.Data().Values()[i] = v[i].Re;
  }
}

double Energy(const TSignal& s) {
  double e = 0;
  for (int i = 0; i < s.Data().DoubleLength(); ++i) e += s.Data().Values()[i] * s.Data().Values()[i];
  return e;
}

// Data against the expected values, real and imaginary parts, within Tol of Scale.
void ExpectData(const TSignal& s, const std::string& Field, double Tol, double Scale, const std::string& What) {
  const std::vector<TCplx> expected = OracleComplex(Field);
  ASSERT_EQ(s.Data().Length(), static_cast<int>(expected.size())) << What;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const TCplx got = s.Data().Complex() ? s.Data().CValues()[i] : TCplx{s.Data().Values()[i], 0.0};
    EXPECT_TRUE(NearScaled(got.Re, expected[i].Re, Tol, Scale)) << What << " " << i;
    EXPECT_TRUE(NearScaled(got.Im, expected[i].Im, Tol, Scale)) << What << " " << i;
  }
}

TEST(SignalAnalysisOracle, AutocorrelationsAreNumpysCorrelate) {
  for (const auto& c : ReadOracleCases(kAnalysisTable, "autocorr")) {
    const int lags = std::stoi(c[1]);
    TSignal x;
    Fill(x, c[2]);
    const int n = x.Data().Length();
    const double tol = 4 * n * Eps;
    const TAutoCorrType types[] = {ctNormal, ctBiased, ctUnbiased};
    for (int t = 0; t < 3; ++t) {
      TSignalAnalyzer a;
      a.SetInput(&x);
      a.SetTransform(ttAutoCorr);
      a.SetAutoCorrType(types[t]);
      a.SetCorrTaps1(lags);
      a.Update();
      // The unbiased lags divide by as few as n - lags + 1 products.
      const double scale = Energy(x) / (t == 0 ? 1.0 : t == 1 ? n : n - lags + 1);
      ExpectData(a, c[3 + t], tol, scale, "n " + std::to_string(n) + " type " + std::to_string(t));
    }
  }
}

TEST(SignalAnalysisOracle, CrossCorrelationLagsAreNumpysCorrelate) {
  for (const auto& c : ReadOracleCases(kAnalysisTable, "crosscorr")) {
    TSignal x, y;
    Fill(x, c[3]);
    Fill(y, c[4]);
    TSignalAnalyzer a;
    a.SetInput(&x);
    a.Inputs()->Add()->SetInput(&y);
    a.SetTransform(ttCrossCorr);
    a.SetCorrTaps1(std::stoi(c[2]));
    a.SetCorrTaps2(std::stoi(c[1]));
    a.Update();
    const int n = std::max(x.Data().Length(), y.Data().Length());
    ExpectData(a, c[5], 4 * n * Eps, std::sqrt(Energy(x) * Energy(y)), "lags " + c[1] + " .. " + c[2]);
  }
}

TEST(SignalAnalysisOracle, CosineTransformsAreScipys) {
  for (const auto& c : ReadOracleCases(kAnalysisTable, "dct")) {
    TSignal x;
    Fill(x, c[1]);
    const int n = x.Data().Length();
    const double tol = 16 * (std::log2(n) + 1) * Eps;
    const double norm = std::sqrt(Energy(x));
    for (bool inverse : {false, true}) {
      TSignalAnalyzer a;
      a.SetInput(&x);
      a.SetTransform(inverse ? ttInverseDct : ttDct);
      a.Update();
      ExpectData(a, c[inverse ? 3 : 2], tol, norm, (inverse ? "idct " : "dct ") + std::to_string(n));
    }
  }
}

TEST(SignalAnalysisOracle, InterpolatedPeakOfASineBetweenLines) {
  const auto fields = ReadOracleCases(kAnalysisTable, "peak")[0];
  std::vector<double> v;
  for (std::size_t i = 1; i < fields.size(); ++i) v.push_back(std::stod(fields[i]));
  ASSERT_EQ(v.size(), 8u);
  const struct {
    TInterpolationMethod Method;
    double Line, Tol;
  } cases[] = {
      {imQuadratic, v[0], 1e-9},
      {imBarycentric, v[1], 1e-9},
      {imQuinnFirst, v[2], 1e-9},
      {imQuinnSecond, v[3], 1e-9},
      {imJain, v[4], 1e-9},
      // The amplitude's rounding (1e-15 of it) leaves its flat maximum undetermined to some
      // 1e-8 line.
      {imNumeric, v[5], 1e-6},
  };
  TSignal x;
  testsupport::Tone(x, 1024, 100.3, 1.0, 0.7, 1024);
  for (const auto& c : cases) {
    TSpectrumAnalyzer a;
    a.SetInput(&x);
    a.Peaks().SetTraceMethod(ptLargest);
    a.Peaks().Interpolation().SetMethod(c.Method);
    a.Peaks().Interpolation().SetPrecision(ip8);
    a.Update();
    const TMarkRecord& mark = a.Marks().GetMark(0);
    EXPECT_NEAR(mark.First / a.HzRes(), c.Line, c.Tol) << c.Method;
    if (c.Method == imQuinnSecond) {
      EXPECT_TRUE(NearRel(mark.Second, v[6], 1e-12));
      EXPECT_NEAR(mark.Third, v[7], 1e-9);
    }
  }
}

}  // namespace
}  // namespace sig

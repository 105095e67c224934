// The cross-spectrum and bispectrum analysers against scipy and numpy, through the table
// data/cross_bispectrum_oracle.txt made by data/gen_cross_bispectrum_oracle.py: coherence,
// transfer function, cross and power spectra of 8 frames against scipy.signal.coherence, csd
// and welch; the whole bispectrum matrix (modified and default bicoherence, cube root of |B|)
// against numpy's products of the same frames.
//
// Covers: signal/CrossSpectrumAnalyzer.cpp, signal/BispectrumAnalyzer.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "numeric/tests/OracleLines.h"
#include "signal/BispectrumAnalyzer.h"
#include "signal/CrossSpectrumAnalyzer.h"
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
using orvel::testing::NearScaled;

constexpr const char* kCrossBispectrumTable = "cross_bispectrum_oracle.txt";
constexpr double u = std::numeric_limits<double>::epsilon() / 2;

// --- Cross spectra -------------------------------------------------------------

struct TCrossCase {
  std::vector<double> X, Y, Coherence, Welch, WelchY;
  std::vector<TCplx> Csd;
  int FrameLength = 0;
};

TCrossCase ReadCross() {
  const auto c = ReadOracleCases(kCrossBispectrumTable, "cross")[0];
  TCrossCase r;
  r.FrameLength = std::stoi(c[1]);
  r.X = OracleNumbers(c[2]);
  r.Y = OracleNumbers(c[3]);
  r.Coherence = OracleNumbers(c[4]);
  r.Csd = OracleComplex(c[5]);
  r.Welch = OracleNumbers(c[6]);
  r.WelchY = OracleNumbers(c[7]);
  return r;
}

// Runs the frames of the case through an analyser showing Transform as Type.
void RunCross(TCrossSpectrumAnalyzer& a, const TCrossCase& c, TCrossTransform Transform, dsp::TSpectrumType Type) {
  TSignal x, y;
  a.SetInput(&x);
  a.SetOutput(&y);
  a.SetSpectrumType(Type);
  a.CrossAnalyzer().SetTransform(Transform);
  const int n = c.FrameLength;
  const int frames = static_cast<int>(c.X.size()) / n;
  for (int f = 0; f < frames; ++f) {
    x.Data().SetIt(false, Slice(c.X, static_cast<std::size_t>(f * n), static_cast<std::size_t>(n)));
    y.Data().SetIt(false, Slice(c.Y, static_cast<std::size_t>(f * n), static_cast<std::size_t>(n)));
    x.SetSamplingFrequency(1.0);
    y.SetSamplingFrequency(1.0);
    a.Update();
  }
  EXPECT_EQ(a.Stats().Averaged(), static_cast<std::uint32_t>(frames));
  a.SetInput(nullptr);
  a.SetOutput(nullptr);
}

// The spectra of frames of 256 points are within a few hundred unit roundoffs of their
// largest line (n log2 n u with a margin); 1e-12 of that scale holds them with room.
constexpr double SpectrumTol = 1e-12;

TEST(CrossSpectrumOracle, ResultsAreScipysEstimates) {
  const TCrossCase c = ReadCross();
  const int lines = c.FrameLength / 2;
  std::vector<double> csdMag(c.Csd.size());
  for (std::size_t i = 0; i < c.Csd.size(); ++i) csdMag[i] = std::hypot(c.Csd[i].Re, c.Csd[i].Im);
  const double welchScale = Largest(c.Welch), welchYScale = Largest(c.WelchY), csdScale = Largest(csdMag);

  struct TRow {
    const char* Name;
    TCrossTransform Transform;
    dsp::TSpectrumType Type;
    // The expected value at line i and the tolerance there.
    std::function<double(int)> Expected;
    std::function<double(int)> Tol;
  };
  const std::vector<TRow> rows = {
      // The coherence lies in [0, 1]; its rounding is that of its spectra relative to their
      // scale, a few times 1e-13 at most.
      {"coherence", ctCoherence, dsp::spAmplt, [&](int i) { return c.Coherence[i]; },
       [&](int) { return SpectrumTol; }},
      {"input power", ctInputSpectrum, dsp::spPower, [&](int i) { return 2 * c.Welch[i]; },
       [&](int) { return 2 * SpectrumTol * welchScale; }},
      {"output power", ctOutputSpectrum, dsp::spPower, [&](int i) { return 2 * c.WelchY[i]; },
       [&](int) { return 2 * SpectrumTol * welchYScale; }},
      {"cross power", ctCrossSpectrum, dsp::spPower, [&](int i) { return 2 * csdMag[i]; },
       [&](int) { return 2 * SpectrumTol * csdScale; }},
      // |H1| = |Sxy| / Sxx: the relative errors of both spectra add, each its scale's error
      // over its own value.
      {"transfer function", ctTransferFunction, dsp::spAmplt, [&](int i) { return csdMag[i] / c.Welch[i]; },
       [&](int i) {
         return SpectrumTol * (csdScale / csdMag[i] + welchScale / c.Welch[i]) * csdMag[i] / c.Welch[i];
       }},
  };
  for (const TRow& row : rows) {
    TCrossSpectrumAnalyzer a;
    RunCross(a, c, row.Transform, row.Type);
    ASSERT_EQ(a.Amplt().Length(), lines) << row.Name;
    for (int i = 1; i < lines; ++i)
      EXPECT_NEAR(a.Amplt().GetValue(i), row.Expected(i), row.Tol(i)) << row.Name << ", line " << i;
  }
}

TEST(CrossSpectrumOracle, CrossSpectrumAveragesAreTwiceCsd) {
  const TCrossCase c = ReadCross();
  TCrossSpectrumAnalyzer a;
  RunCross(a, c, ctCrossSpectrum, dsp::spComplex);
  double scale = 0;
  for (const TCplx& z : c.Csd) scale = std::max(scale, std::hypot(z.Re, z.Im));
  const TVec& s = a.CrossAnalyzer().CrossSpectrum();
  ASSERT_TRUE(s.Complex());
  for (int i = 1; i < s.Length(); ++i) {
    EXPECT_TRUE(NearScaled(s.CValues()[i].Re, 2 * c.Csd[i].Re, SpectrumTol, 2 * scale)) << i;
    EXPECT_TRUE(NearScaled(s.CValues()[i].Im, 2 * c.Csd[i].Im, SpectrumTol, 2 * scale)) << i;
    // spComplex shows the real and imaginary parts.
    EXPECT_EQ(a.Amplt().GetValue(i), s.CValues()[i].Re);
    EXPECT_EQ(a.Phase().GetValue(i), s.CValues()[i].Im);
  }
}

// --- Bispectrum ----------------------------------------------------------------

struct TBispectrumCase {
  int FrameLength = 0;
  std::vector<double> X, I, K, Modified, Default, Cbrt;
};

TBispectrumCase ReadBispectrum() {
  const auto c = ReadOracleCases(kCrossBispectrumTable, "bispectrum")[0];
  TBispectrumCase r;
  r.FrameLength = std::stoi(c[1]);
  r.X = OracleNumbers(c[2]);
  r.I = OracleNumbers(c[3]);
  r.K = OracleNumbers(c[4]);
  r.Modified = OracleNumbers(c[5]);
  r.Default = OracleNumbers(c[6]);
  r.Cbrt = OracleNumbers(c[7]);
  return r;
}

// The element of the whole matrix (h + 1 rows of h columns) that holds the pair (i, k), k <= i.
double MatrixAt(const numeric::TMtx& m, int i, int k) {
  const int R = m.Rows();
  if (i < R) return m.RowValues(i)[k];
  return m.RowValues(i - R)[i - R + 1 + k];
}

// What the bounds of a pair need, from the frames' own spectra: the products' largest
// relative error rho (each factor's transform error over its size, both sides' transforms
// counted, and the products' own rounding), the mean |T| and the averaged powers.
struct TPairBounds {
  std::vector<std::vector<TCplx>> Spectra;
  std::vector<double> Error;  // per frame: the transforms' error bound per line

  TPairBounds(const std::vector<double>& All, int n) {
    const int frames = static_cast<int>(All.size()) / n;
    for (int f = 0; f < frames; ++f) {
      TVec v;
      v.SetIt(false, Slice(All, static_cast<std::size_t>(f * n), static_cast<std::size_t>(n)));
      v.Offset(-v.Mean());
      double norm = 0;
      for (int j = 0; j < n; ++j) norm += v.Values()[j] * v.Values()[j];
      // |fl(FFT x) - FFT x| <= c log2(n) u ||FFT x||_2 = c log2(n) u sqrt(n) ||x||_2 per line;
      // c = 5 for a radix-2 transform's twiddles and sums, doubled for numpy's own.
      Error.push_back(2 * 5 * std::log2(n) * u * std::sqrt(n) * std::sqrt(norm));
      v.FFT();
      Spectra.emplace_back(v.CValues(), v.CValues() + n / 2);
    }
  }

  double Rho(int i, int k) const {
    double rho = 0;
    for (std::size_t f = 0; f < Spectra.size(); ++f) {
      const auto mag = [&](int b) { return std::hypot(Spectra[f][b].Re, Spectra[f][b].Im); };
      rho = std::max(rho, Error[f] * (1 / mag(i) + 1 / mag(k) + 1 / mag(i + k)));
    }
    return rho + 8 * u;
  }

  double MeanTripleMagnitude(int i, int k) const {
    double sum = 0;
    for (const auto& X : Spectra) {
      const auto mag = [&](int b) { return std::hypot(X[b].Re, X[b].Im); };
      sum += mag(i) * mag(k) * mag(i + k);
    }
    return sum / Spectra.size();
  }

  double MeanPower(int b) const {
    double sum = 0;
    for (const auto& X : Spectra) sum += X[b].Re * X[b].Re + X[b].Im * X[b].Im;
    return sum / Spectra.size();
  }
};

void RunBispectrum(TBiSpectrumAnalyzer& a, const TBispectrumCase& c) {
  TSignal x;
  a.SetInput(&x);
  const int n = c.FrameLength;
  const int frames = static_cast<int>(c.X.size()) / n;
  for (int f = 0; f < frames; ++f) {
    x.Data().SetIt(false, Slice(c.X, static_cast<std::size_t>(f * n), static_cast<std::size_t>(n)));
    x.SetSamplingFrequency(1.0);
    a.Update();
  }
  a.SetInput(nullptr);
}

TEST(BispectrumOracle, WholeMatrixIsNumpysProducts) {
  const TBispectrumCase c = ReadBispectrum();
  const TPairBounds bounds(c.X, c.FrameLength);
  const int lines = c.FrameLength / 2, h = lines / 2;
  struct TRow {
    const char* Name;
    TBiAnalysis Transform;
    TBicoherenceType Type;
    const std::vector<double>& Expected;
  };
  const std::vector<TRow> rows = {{"modified bicoherence", hoBicoherence, bctModified, c.Modified},
                                  {"default bicoherence", hoBicoherence, bctDefault, c.Default},
                                  {"bispectrum", hoBispectrum, bctModified, c.Cbrt}};
  for (const TRow& row : rows) {
    TBiSpectrumAnalyzer a;
    a.BiAnalyzer().SetTransform(row.Transform);
    a.BiAnalyzer().SetBicoherenceType(row.Type);
    RunBispectrum(a, c);
    const numeric::TMtx& m = a.BiAnalyzer().Bispectrum();
    ASSERT_EQ(m.Rows(), h + 1) << row.Name;
    ASSERT_EQ(m.Cols(), h) << row.Name;
    for (std::size_t p = 0; p < c.I.size(); ++p) {
      const int i = static_cast<int>(c.I[p]), k = static_cast<int>(c.K[p]);
      const double rho = bounds.Rho(i, k), expected = row.Expected[p];
      // With B = <T> and every T within rho of itself: |dB| <= rho <|T|>.
      const double dB = rho * bounds.MeanTripleMagnitude(i, k);
      double tol = 0;
      if (row.Transform == hoBispectrum) {
        // The cube root's change is at most the cube root of the change, and away from 0
        // its slope 1 / (3 |B|^(2/3)) times it.
        tol = std::min(std::cbrt(dB), dB / (3 * std::max(expected * expected, 1e-300))) + 4 * u * expected;
      } else if (row.Type == bctModified) {
        // |B|^2 / N with N = <|T|^2>: at most (2 sqrt(b) + 2 b) rho.
        tol = (2 * std::sqrt(expected) + 2 * expected) * rho + 4 * u;
      } else {
        // |B|^2 / (P P P): 2 |B| dB over the product, plus 2 rho of each power.
        const double product = bounds.MeanPower(i) * bounds.MeanPower(k) * bounds.MeanPower(i + k);
        const double magB = std::sqrt(expected * product);
        tol = 2 * magB * dB / product + 6 * rho * expected + 4 * u;
      }
      EXPECT_NEAR(MatrixAt(m, i, k), expected, tol) << row.Name << " at (" << i << ", " << k << ")";
    }
  }
}

}  // namespace
}  // namespace sig

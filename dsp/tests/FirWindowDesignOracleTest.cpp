// Window-method and Kaiser designs against scipy.signal.firwin (scale=False,
// times the gain), Kaiser beta against scipy.signal.kaiser_beta, and
// Savitzky-Golay filters against scipy.signal.savgol_coeffs and a numpy
// weighted least-squares fit, through the table data/fir_window_design_oracle.txt
// made by data/gen_fir_window_design_oracle.py.
//
// Covers: dsp/FirWindowDesign.cpp, dsp/SavGolay.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "dsp/SignalUtils.h"
#include "dsp/tests/SavGolayBounds.h"
#include "numeric/tests/OracleLines.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

using testutil::FitBounds;

using numeric::TMtx;
using numeric::TVec;
using numeric::testutil::OracleNumbers;
using numeric::testutil::ReadOracleLines;
using orvel::testing::NearRel;
using orvel::testing::NearScaled;

const std::vector<numeric::testutil::TOracleFields>& Cases() {
  static const auto cases = ReadOracleLines("fir_window_design_oracle.txt");
  return cases;
}

// A tap is the window's value times the sum, over the band edges f (Nyquist 1), of
// f sinc(f m) = sin(pi f m) / (pi m), |m| >= 1/2 the tap's distance from the centre: the sine
// rounds within u, its argument within 2u of itself, which moves it by 2u pi f |m|, so each
// term is within u / (pi |m|) + 2u f <= 3u; the window's value (cosines or Bessel functions of
// arguments below 2 pi) within 8u of the tap. Times the gain, on each side, a margin of 2.
double TapBound(std::size_t edges, double gain, double tap) {
  return 2.0 * 2.0 * (std::fabs(gain) * 3.0 * 0x1p-53 * static_cast<double>(edges) + 8.0 * 0x1p-53 * std::fabs(tap));
}

TEST(FirWindowDesignOracle, WindowDesignsMatchFirwin) {
  int checked = 0;
  for (const auto& c : Cases()) {
    if (c[0] != "firwin") continue;
    const auto type = static_cast<TFilterType>(std::stoi(c[1]));
    const std::vector<double> edges = OracleNumbers(c[3]);
    const auto window = static_cast<TSignalWindowType>(std::stoi(c[5]));
    const double fs = std::stod(c[4]), param = std::stod(c[6]), gain = std::stod(c[7]);
    const std::vector<double> expected = OracleNumbers(c[8]);
    TVec h;
    h.Size(std::stoi(c[2]), false);
    FirWindowDesign(h, edges, param, type, window, gain, fs);
    const std::string what = "type " + c[1] + " taps " + c[2] + " window " + c[5] + "(" + c[6] + ")";
    ASSERT_EQ(h.Length(), static_cast<int>(expected.size())) << what;
    for (int i = 0; i < h.Length(); ++i) {
      const bool end = i == 0 || i == h.Length() - 1;
      if (window == wtKaiser && end) {
        EXPECT_EQ(h.Values()[i], 0.0) << what;
        continue;
      }
      EXPECT_NEAR(h.Values()[i], expected[i], TapBound(edges.size(), gain, expected[i])) << what << " tap " << i;
    }
    ++checked;
  }
  EXPECT_EQ(checked, 70);
}

TEST(FirWindowDesignOracle, KaiserDesignMatchesFirwinWithItsBeta) {
  int checked = 0;
  for (const auto& c : Cases()) {
    if (c[0] != "kaiserdesign") continue;
    const auto type = static_cast<TFilterType>(std::stoi(c[1]));
    const std::vector<double> edges = OracleNumbers(c[2]), expected = OracleNumbers(c[7]);
    TVec h;
    const std::int32_t n =
        FirKaiserDesign(h, edges, std::stod(c[3]), 0, 1, type, false, std::stod(c[5]), std::stod(c[4]));
    const std::string what = "type " + c[1] + " edges " + c[2];
    EXPECT_EQ(n, std::stoi(c[6])) << what;
    ASSERT_EQ(h.Length(), static_cast<int>(expected.size())) << what;
    EXPECT_EQ(h.Values()[0], 0.0);
    EXPECT_EQ(h.Values()[n - 1], 0.0);
    for (int i = 1; i + 1 < n; ++i)
      EXPECT_NEAR(h.Values()[i], expected[i], TapBound(edges.size(), std::stod(c[5]), expected[i])) << what << " tap " << i;
    ++checked;
  }
  EXPECT_EQ(checked, 5);
}

TEST(FirWindowDesignOracle, KaiserBetaMatchesScipy) {
  int checked = 0;
  for (const auto& c : Cases()) {
    if (c[0] != "kaiser") continue;
    const double a = std::stod(c[1]);
    // A polynomial in A of a few terms after a logarithm of the ripple: 16u of beta and of A's
    // size on each side, a margin of 2.
    const double beta = std::stod(c[2]);
    EXPECT_NEAR(KaiserBetaFromRipple(std::pow(10.0, -a / 20)), beta, 2.0 * 2.0 * 16.0 * 0x1p-53 * (std::fabs(beta) + a))
        << "A " << a;
    ++checked;
  }
  EXPECT_EQ(checked, 10);
}

TEST(FirWindowDesignOracle, SavitzkyGolayMatchesSavgolCoeffs) {
  int checked = 0;
  for (const auto& c : Cases()) {
    if (c[0] != "savgol") continue;
    const int frame = std::stoi(c[1]), order = std::stoi(c[2]), deriv = std::stoi(c[3]);
    const std::vector<double> expected = OracleNumbers(c[4]);
    const double reference = std::stod(c[7]);
    TMtx smooth, diff;
    SavGolayDesign(smooth, diff, frame, order, nullptr);
    const auto bounds = FitBounds(diff, frame, order, nullptr, std::stod(c[5]), std::stod(c[6]));
    // Row deriv of Diff holds the coefficient of x^deriv; savgol_coeffs
    // gives deriv! times it.
    double factorial = 1;
    for (int k = 2; k <= deriv; ++k) factorial *= k;
    const std::string what = "frame " + c[1] + " order " + c[2] + " deriv " + c[3];
    for (int j = 0; j < frame; ++j)
      EXPECT_NEAR(diff.RowValues(deriv)[j] * factorial, expected[j],
                  reference + factorial * bounds[static_cast<std::size_t>(deriv)][static_cast<std::size_t>(j)])
          << what << " at " << j;
    if (deriv == 0) {
      TVec h;
      SavGolayFilter(h, frame, order, nullptr);
      for (int j = 0; j < frame; ++j)
        EXPECT_NEAR(h.Values()[j], expected[j], reference + bounds[0][static_cast<std::size_t>(j)]) << what;
    }
    ++checked;
  }
  EXPECT_GT(checked, 20);
}

TEST(FirWindowDesignOracle, WeightedSavitzkyGolayIsWeightedLeastSquares) {
  int checked = 0;
  for (const auto& c : Cases()) {
    if (c[0] != "wsavgol") continue;
    const int frame = std::stoi(c[1]), order = std::stoi(c[2]);
    TVec weights, h;
    const std::vector<double> w = OracleNumbers(c[3]);
    weights.SetIt(false, w);
    const std::vector<double> centre = OracleNumbers(c[4]), diffRows = OracleNumbers(c[5]);
    const double reference = std::stod(c[8]);
    TMtx smooth, diff;
    SavGolayDesign(smooth, diff, frame, order, &weights);
    ASSERT_EQ(diff.Rows(), order + 1);
    ASSERT_EQ(diff.Cols(), frame);
    const auto bounds = FitBounds(diff, frame, order, &w, std::stod(c[6]), std::stod(c[7]));
    const std::string what = "frame " + c[1] + " order " + c[2];
    for (int r = 0; r <= order; ++r) {
      const std::vector<double> row(diffRows.begin() + r * frame, diffRows.begin() + (r + 1) * frame);
      for (int j = 0; j < frame; ++j)
        EXPECT_NEAR(diff.RowValues(r)[j], row[j], reference + bounds[static_cast<std::size_t>(r)][static_cast<std::size_t>(j)])
            << what << " Diff[" << r << "][" << j << "]";
    }
    SavGolayFilter(h, frame, order, &weights);
    for (int j = 0; j < frame; ++j)
      EXPECT_NEAR(h.Values()[j], centre[j], reference + bounds[0][static_cast<std::size_t>(j)]) << what << " at " << j;
    ++checked;
  }
  EXPECT_EQ(checked, 4);
}

// Against the exact fits, rounded once: the fit's bound and u of each value.
TEST(FirWindowDesignOracle, ExactSavitzkyGolay) {
  int checked = 0;
  for (const auto& c : Cases()) {
    if (c[0] != "exact") continue;
    const int frame = std::stoi(c[1]), order = std::stoi(c[2]);
    TVec weights;
    const std::vector<double> w = c[3].empty() ? std::vector<double>{} : OracleNumbers(c[3]);
    if (!c[3].empty()) weights.SetIt(false, w);
    const std::vector<double> exact = OracleNumbers(c[4]);
    TMtx smooth, diff;
    SavGolayDesign(smooth, diff, frame, order, c[3].empty() ? nullptr : &weights);
    const auto bounds = FitBounds(diff, frame, order, c[3].empty() ? nullptr : &w, std::stod(c[5]), std::stod(c[6]));
    const std::string what = "frame " + c[1] + " order " + c[2] + (c[3].empty() ? "" : " weighted");
    for (int r = 0; r <= order; ++r) {
      const std::vector<double> row(exact.begin() + r * frame, exact.begin() + (r + 1) * frame);
      for (int j = 0; j < frame; ++j)
        EXPECT_NEAR(diff.RowValues(r)[j], row[j],
                    bounds[static_cast<std::size_t>(r)][static_cast<std::size_t>(j)] + 0x1p-53 * std::fabs(row[j]))
            << what << " Diff[" << r << "][" << j << "]";
    }
    ++checked;
  }
  EXPECT_EQ(checked, 9);
}

}  // namespace
}  // namespace dsp

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
#include "numeric/tests/OracleLines.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

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

double Largest(const std::vector<double>& v) {
  double m = 0;
  for (double x : v) m = std::max(m, std::fabs(x));
  return m;
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
    const double scale = Largest(expected);
    for (int i = 0; i < h.Length(); ++i) {
      const bool end = i == 0 || i == h.Length() - 1;
      if (window == wtKaiser && end) {
        EXPECT_EQ(h.Values()[i], 0.0) << what;
        continue;
      }
      EXPECT_TRUE(NearScaled(h.Values()[i], expected[i], 1e-14, scale)) << what << " tap " << i;
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
      EXPECT_TRUE(NearScaled(h.Values()[i], expected[i], 1e-14, Largest(expected))) << what << " tap " << i;
    ++checked;
  }
  EXPECT_EQ(checked, 5);
}

TEST(FirWindowDesignOracle, KaiserBetaMatchesScipy) {
  int checked = 0;
  for (const auto& c : Cases()) {
    if (c[0] != "kaiser") continue;
    const double a = std::stod(c[1]);
    EXPECT_TRUE(NearScaled(KaiserBetaFromRipple(std::pow(10.0, -a / 20)), std::stod(c[2]), 1e-13, 1)) << "A " << a;
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
    TMtx smooth, diff;
    SavGolayDesign(smooth, diff, frame, order, nullptr);
    // Row deriv of Diff holds the coefficient of x^deriv; savgol_coeffs
    // gives deriv! times it.
    double factorial = 1;
    for (int k = 2; k <= deriv; ++k) factorial *= k;
    // savgol_coeffs itself is off by about 1e-11 at frame 31, degree 6 (see
    // ExactSavitzkyGolay for the last digits).
    const std::string what = "frame " + c[1] + " order " + c[2] + " deriv " + c[3];
    for (int j = 0; j < frame; ++j)
      EXPECT_TRUE(NearScaled(diff.RowValues(deriv)[j] * factorial, expected[j], 1e-9, Largest(expected)))
          << what << " at " << j;
    if (deriv == 0) {
      TVec h;
      SavGolayFilter(h, frame, order, nullptr);
      for (int j = 0; j < frame; ++j) EXPECT_TRUE(NearScaled(h.Values()[j], expected[j], 1e-9, 1)) << what;
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
    TMtx smooth, diff;
    SavGolayDesign(smooth, diff, frame, order, &weights);
    ASSERT_EQ(diff.Rows(), order + 1);
    ASSERT_EQ(diff.Cols(), frame);
    const std::string what = "frame " + c[1] + " order " + c[2];
    for (int r = 0; r <= order; ++r) {
      const std::vector<double> row(diffRows.begin() + r * frame, diffRows.begin() + (r + 1) * frame);
      for (int j = 0; j < frame; ++j)
        EXPECT_TRUE(NearScaled(diff.RowValues(r)[j], row[j], 1e-10, Largest(row)))
            << what << " Diff[" << r << "][" << j << "]";
    }
    SavGolayFilter(h, frame, order, &weights);
    for (int j = 0; j < frame; ++j) EXPECT_TRUE(NearScaled(h.Values()[j], centre[j], 1e-10, 1)) << what << " at " << j;
    ++checked;
  }
  EXPECT_EQ(checked, 4);
}

TEST(FirWindowDesignOracle, ExactSavitzkyGolay) {
  int checked = 0;
  for (const auto& c : Cases()) {
    if (c[0] != "exact") continue;
    const int frame = std::stoi(c[1]), order = std::stoi(c[2]);
    TVec weights;
    if (!c[3].empty()) weights.SetIt(false, OracleNumbers(c[3]));
    const std::vector<double> exact = OracleNumbers(c[4]);
    TMtx smooth, diff;
    SavGolayDesign(smooth, diff, frame, order, c[3].empty() ? nullptr : &weights);
    const std::string what = "frame " + c[1] + " order " + c[2] + (c[3].empty() ? "" : " weighted");
    for (int r = 0; r <= order; ++r) {
      const std::vector<double> row(exact.begin() + r * frame, exact.begin() + (r + 1) * frame);
      for (int j = 0; j < frame; ++j)
        EXPECT_TRUE(NearScaled(diff.RowValues(r)[j], row[j], 1e-13, Largest(row)))
            << what << " Diff[" << r << "][" << j << "]";
    }
    ++checked;
  }
  EXPECT_EQ(checked, 9);
}

}  // namespace
}  // namespace dsp

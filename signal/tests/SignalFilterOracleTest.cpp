// The signal filter against scipy, through the table data/filter_oracle.txt
// made by data/gen_filter_oracle.py: a moving average and a 4th-order
// Butterworth low-pass over four blocks of 250 samples against
// scipy.signal.lfilter, and Parks-McClellan designs against
// scipy.signal.remez with the weights the filter gives its bands.
//
// Covers: signal/SignalFilter.cpp, signal/SignalFilterDesign.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "numeric/tests/OracleLines.h"
#include "signal/SignalFilter.h"
#include "signal/tests/ProcessingTestSupport.h"

namespace sig {
namespace {

using numeric::testutil::Largest;
using numeric::testutil::OracleNumbers;
using numeric::testutil::ReadOracleCases;
using testutil::Band;
using testutil::RunInBlocks;

constexpr const char* kFilterTable = "filter_oracle.txt";

double SumAbs(const std::vector<double>& v) {
  double s = 0;
  for (double x : v) s += std::fabs(x);
  return s;
}

// How far our recursion B / A and the reference's BRef / ARef may part on X
// (Y the reference's output). Each output of a direct form sums m = |B| +
// |A| products, so its rounding is at most gamma_m (|B|_1 max|x| + |A|_1
// max|y|) with gamma_m = m u / (1 - m u), for both sides; the coefficient
// differences add |B - BRef|_1 max|x| + |A - ARef|_1 max|y|. The recursion
// carries every such local error on through 1 / A, whose impulse response g
// sums to |g|_1. A margin of 2 covers the rounding of g and of the norms.
double RecursionBound(const std::vector<double>& B, const std::vector<double>& A, const std::vector<double>& BRef,
                      const std::vector<double>& ARef, const std::vector<double>& X, const std::vector<double>& Y) {
  const double u = std::numeric_limits<double>::epsilon() / 2;
  const double m = static_cast<double>(B.size() + A.size());
  const double gamma = m * u / (1 - m * u);
  std::vector<double> g(4000, 0.0);
  for (std::size_t n = 0; n < g.size(); ++n) {
    double v = n == 0 ? 1.0 : 0.0;
    for (std::size_t k = 1; k < A.size() && k <= n; ++k) v -= A[k] * g[n - k];
    g[n] = v / A[0];
  }
  double db = 0, da = 0;
  for (std::size_t k = 0; k < B.size(); ++k) db += std::fabs(B[k] - BRef[k]);
  for (std::size_t k = 0; k < A.size(); ++k) da += std::fabs(A[k] - ARef[k]);
  const double local = (db + 2 * gamma * SumAbs(B)) * Largest(X) + (da + 2 * gamma * SumAbs(A)) * Largest(Y);
  return 2 * SumAbs(g) * local;
}

TEST(SignalFilterOracle, MovingAverageEqualsLfilter) {
  const auto c = ReadOracleCases(kFilterTable, "movingaverage")[0];
  const std::vector<double> x = OracleNumbers(c[1]), ref = OracleNumbers(c[2]);
  TSignalFilter f;
  f.SetResponse(rstMovingAverage);
  f.SetFirLength(5);
  const std::vector<double> y = RunInBlocks(f, x, 250);
  ASSERT_EQ(y.size(), ref.size());
  const std::vector<double> b(5, 0.2), a{1.0};
  const double bound = RecursionBound(b, a, b, a, x, ref);
  EXPECT_LT(bound, 1e-12);
  for (std::size_t i = 0; i < y.size(); ++i) EXPECT_NEAR(y[i], ref[i], bound) << "sample " << i;
}

TEST(SignalFilterOracle, ButterworthEqualsLfilter) {
  const auto c = ReadOracleCases(kFilterTable, "butter")[0];
  const std::vector<double> bRef = OracleNumbers(c[1]), aRef = OracleNumbers(c[2]);
  const std::vector<double> x = OracleNumbers(c[3]), ref = OracleNumbers(c[4]);
  TSignalFilter f;
  f.SetResponse(rstIIR);
  f.SetIirMethod(dsp::fimButter);
  f.SetAutoFilterOrder(false);
  f.SetOrder(4);
  f.Filters().AddEmptyTemplate("low-pass");
  f.Filters().Template().AddBand(Band(0, 0.2, 1, 1));
  f.Filters().Template().AddBand(Band(0.3, 1, 0, 40));
  const std::vector<double> y = RunInBlocks(f, x, 250);
  ASSERT_TRUE(f.Designed()) << f.ErrorText();
  ASSERT_EQ(f.Taps().Length(), 10);
  const std::vector<double> b(f.Taps().Values(), f.Taps().Values() + 5);
  const std::vector<double> a(f.Taps().Values() + 5, f.Taps().Values() + 10);
  // The design's own check, so that the bound below cannot grow with a
  // wrong design: a 4th-order Butterworth's poles are well apart, and its
  // coefficients come within a thousand roundings of their size.
  const double size = SumAbs(aRef);
  for (int k = 0; k < 5; ++k) {
    EXPECT_NEAR(b[static_cast<std::size_t>(k)], bRef[static_cast<std::size_t>(k)], 1e-13 * size) << "b" << k;
    EXPECT_NEAR(a[static_cast<std::size_t>(k)], aRef[static_cast<std::size_t>(k)], 1e-13 * size) << "a" << k;
  }
  ASSERT_EQ(y.size(), ref.size());
  // About 1.05e-12 for these data: the recursion's bound, a little above the
  // 1e-12 that a plain comparison would take.
  const double bound = RecursionBound(b, a, bRef, aRef, x, ref);
  for (std::size_t i = 0; i < y.size(); ++i) EXPECT_NEAR(y[i], ref[i], bound) << "sample " << i;
}

// The largest weighted error of symmetric taps H over the bands (edges at
// FS = 2), on a grid far finer than either designer's.
double PeakWeightedError(const double* H, std::size_t N, const std::vector<double>& Edges,
                         const std::vector<double>& Gains, const std::vector<double>& Weights) {
  const double centre = (static_cast<double>(N) - 1) / 2;
  double peak = 0;
  for (std::size_t j = 0; j < Gains.size(); ++j)
    for (int i = 0; i <= 20000; ++i) {
      const double g = (Edges[2 * j] + (Edges[2 * j + 1] - Edges[2 * j]) * i / 20000) / 2;
      double a = 0;
      for (std::size_t k = 0; k < N; ++k) a += H[k] * std::cos(2 * std::numbers::pi * g * (centre - static_cast<double>(k)));
      peak = std::max(peak, Weights[j] * std::fabs(Gains[j] - a));
    }
  return peak;
}

// Both designers find the best taps on a grid of the bands, and their grids
// differ: the taps agree within twice the spread of scipy's own answer over
// grid densities, and the designs are equally good on a fine grid.
TEST(SignalFilterOracle, RemezEqualsScipyWithTheBandsWeights) {
  for (const auto& c : ReadOracleCases(kFilterTable, "remez")) {
    const std::vector<double> edges = OracleNumbers(c[2]), gains = OracleNumbers(c[3]);
    const std::vector<double> ripples = OracleNumbers(c[4]), weights = OracleNumbers(c[5]);
    const std::vector<double> h = OracleNumbers(c[6]);
    const double spread = std::stod(c[7]);
    TSignal input;
    input.Data().SetIt(false, std::vector<double>(32, 0.0));
    TSignalFilter f;
    f.SetInput(&input);
    f.SetResponse(rstFIR);
    f.SetFirMethod(fimParksMcClellan);
    f.SetAutoFilterOrder(false);
    // An even length grows by one where the last band passes.
    f.SetFirLength(std::stoi(c[1]) - (gains.back() != 0 ? 1 : 0));
    f.Filters().AddEmptyTemplate("bands");
    for (std::size_t i = 0; i < gains.size(); ++i)
      f.Filters().Template().AddBand(Band(edges[2 * i], edges[2 * i + 1], gains[i], ripples[i]));
    f.Update();
    ASSERT_TRUE(f.Designed()) << f.ErrorText();
    ASSERT_EQ(f.Taps().Length(), static_cast<std::int32_t>(h.size()));
    for (std::size_t k = 0; k < h.size(); ++k)
      EXPECT_NEAR(f.Taps().Values()[k], h[k], 2 * spread) << "gains " << c[3] << ", tap " << k;
    const double ours = PeakWeightedError(f.Taps().Values(), h.size(), edges, gains, weights);
    const double theirs = PeakWeightedError(h.data(), h.size(), edges, gains, weights);
    EXPECT_NEAR(ours, theirs, 1e-3 * theirs) << "gains " << c[3];
  }
}

}  // namespace
}  // namespace sig

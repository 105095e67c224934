// Autoregressive estimators and the chirp-z transform: order 0, exactly predictable signals,
// the complex modified covariance, degenerate data, and the refusals.
//
// Covers: dsp/ArEstimation.cpp, dsp/ChirpZ.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "dsp/SignalUtils.h"
#include "dsp/tests/IirTestUtil.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

using numeric::TCplx;
using numeric::TVec;
using orvel::testing::NearRel;
using orvel::testing::Raises;
using testutil::Cx;
using testutil::RootsOf;

TVec& Sinusoid(TVec& x, int n, double w) {
  std::vector<double> v;
  for (int i = 0; i < n; ++i) v.push_back(std::sin(w * i + 0.3));
  return testutil::SetReal(x, v);
}

TEST(ArEstimation, OrderZeroIsThePower) {
  TVec x, a, k;
  testutil::SetReal(x, {1, -2, 3, 0.5});
  const double power = (1 + 4 + 9 + 0.25) / 4;
  // The mean of four squares: six roundings, with a margin of 2.
  const double tol = 2.0 * 6.0 * testutil::kU;
  double e = 0.0;
  ArBurg(x, 0, a, k, e);
  EXPECT_EQ(testutil::Reals(a), std::vector<double>{1.0});
  EXPECT_EQ(k.Length(), 0);
  EXPECT_TRUE(NearRel(e, power, tol));
  ArCovariance(x, 0, a, e);
  EXPECT_EQ(testutil::Reals(a), std::vector<double>{1.0});
  EXPECT_TRUE(NearRel(e, power, tol));
  ArModCovariance(x, 0, a, e);
  EXPECT_EQ(testutil::Reals(a), std::vector<double>{1.0});
  EXPECT_TRUE(NearRel(e, power, tol));
}

// The bounds of a least-squares prediction of order 2 with a zero residual (the data's rounding
// aside): the solution within 4 m u K of its norm (K the data matrix's condition, from its 2 x 2
// Gram matrix, m its rows). The error power is the data's power less the predicted part's,
// y^T y - y^T X a over the rows: each sum rounds within 4 m u of y^T y, and the coefficients'
// error moves the second by |X^T y| times it. A margin of 2. Stacked backward rows (the
// modified covariance) double m and the sums alike.
void PredictionBounds(const std::vector<double>& x, bool backward, double& coefficient, double& power) {
  const std::size_t n = x.size();
  double g11 = 0.0, g12 = 0.0, g22 = 0.0, yy = 0.0;
  for (std::size_t i = 2; i < n; ++i) {
    g11 += x[i - 1] * x[i - 1];
    g12 += x[i - 1] * x[i - 2];
    g22 += x[i - 2] * x[i - 2];
    yy += x[i] * x[i];
  }
  const double rows = (backward ? 2.0 : 1.0) * static_cast<double>(n - 2);
  const double mean = (g11 + g22) / 2.0, spread = std::sqrt((g11 - g22) * (g11 - g22) / 4.0 + g12 * g12);
  const double kappa = std::sqrt((mean + spread) / (mean - spread));
  const double norm = std::sqrt(4.0 * std::cos(0.7) * std::cos(0.7) + 1.0);
  coefficient = 2.0 * 4.0 * rows * testutil::kU * kappa * norm;
  const double scale = backward ? 2.0 : 1.0;
  power = (2.0 * 2.0 * 4.0 * rows * testutil::kU * scale * yy +
           std::sqrt(scale * (g11 + g22)) * std::sqrt(scale * yy) * coefficient) /
          rows;
}

// A sinusoid is predicted exactly by x[n] = 2 cos(w) x[n-1] - x[n-2]. Burg's recursion is not
// exact for one of finitely many samples: its second reflection comes near 1 and its error near 0.
TEST(ArEstimation, SinusoidIsPredictedByTwoCoefficients) {
  TVec x, a, k;
  Sinusoid(x, 64, 0.7);
  double e = 0.0;
  ArBurg(x, 2, a, k, e);
  EXPECT_NEAR(std::fabs(k.Values()[1]), 1.0, 1e-3);
  EXPECT_LT(e, 1e-3);
  double coefficient = 0.0, power = 0.0;
  PredictionBounds(testutil::Reals(x), false, coefficient, power);
  ArCovariance(x, 2, a, e);
  EXPECT_NEAR(a.Values()[1], -2 * std::cos(0.7), coefficient);
  EXPECT_NEAR(a.Values()[2], 1.0, coefficient);
  EXPECT_LE(std::fabs(e), power);
  PredictionBounds(testutil::Reals(x), true, coefficient, power);
  ArModCovariance(x, 2, a, e);
  EXPECT_NEAR(a.Values()[1], -2 * std::cos(0.7), coefficient);
  EXPECT_NEAR(a.Values()[2], 1.0, coefficient);
  EXPECT_LE(std::fabs(e), power);
}

// The backward errors run on the conjugated signal: a complex exponential is predicted exactly
// both ways by one complex coefficient, which the model keeps complex.
TEST(ArEstimation, ComplexModifiedCovarianceKeepsComplexCoefficients) {
  TVec x, a;
  std::vector<Cx> v;
  for (int i = 0; i < 20; ++i) v.push_back(1.5 * std::polar(1.0, 0.9 * i));
  testutil::SetRoots(x, v);
  double e = 1.0;
  ArModCovariance(x, 1, a, e);
  ASSERT_TRUE(a.Complex());
  // One column, condition 1, 38 rows: the coefficient within 4 m u of its size and the data's
  // own rounding (u), the error power (PredictionBounds) within 4 m u of y^T y = 38 * 1.5^2 and
  // |X^T y| times the coefficient's error, over the rows; a margin of 2.
  const double rows = 38.0, u = testutil::kU, yy = rows * 1.5 * 1.5;
  const double coefficient = 2.0 * (4.0 * rows * u + u);
  EXPECT_LT(std::abs(RootsOf(a)[1] + std::polar(1.0, 0.9)), coefficient);
  EXPECT_LT(std::fabs(e), (2.0 * 4.0 * rows * u * yy + yy * coefficient) / rows);
}

// A signal of zeros has nothing to predict: the models add nothing (Burg's stages instead of
// dividing 0 by 0).
TEST(ArEstimation, SignalOfZeros) {
  TVec x, a, k;
  testutil::SetReal(x, std::vector<double>(10, 0.0));
  double e = 1.0;
  ArBurg(x, 3, a, k, e);
  EXPECT_EQ(testutil::Reals(a), (std::vector<double>{1, 0, 0, 0}));
  EXPECT_EQ(testutil::Reals(k), (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(e, 0.0);
  e = 1.0;
  ArCovariance(x, 2, a, e);
  EXPECT_EQ(testutil::Reals(a), (std::vector<double>{1, 0, 0}));
  EXPECT_EQ(e, 0.0);
}

TEST(ArEstimation, Refusals) {
  TVec x, a, k;
  double e = 0.0;
  testutil::SetReal(x, {1, 2, 3, 4, 5});
  EXPECT_TRUE(Raises([&] { ArBurg(x, 3, a, k, e); }, "Burg: Order*2 > c.Length"));
  EXPECT_TRUE(Raises([&] { ArCovariance(x, 3, a, e); }, "x.Length < 2*Order"));
  EXPECT_NO_THROW(ArModCovariance(x, 3, a, e));
  testutil::SetReal(x, {1, 2, 3, 4});
  EXPECT_TRUE(Raises([&] { ArModCovariance(x, 3, a, e); }, "Order*3/2 > x.Length"));
  EXPECT_TRUE(Raises([&] { ArBurg(x, -1, a, k, e); }, "Burg: Order < 0"));
  EXPECT_TRUE(Raises([&] { ArCovariance(x, -1, a, e); }, "ArCovariance: Order < 0"));
  EXPECT_TRUE(Raises([&] { ArModCovariance(x, -1, a, e); }, "ArModCovariance: Order < 0"));
  TVec empty;
  EXPECT_TRUE(Raises([&] { ArBurg(empty, 0, a, k, e); }, "Burg: x.Length = 0"));
  EXPECT_TRUE(Raises([&] { ArCovariance(empty, 0, a, e); }, "ArCovariance: x.Length = 0"));
  EXPECT_TRUE(Raises([&] { ArModCovariance(empty, 0, a, e); }, "ArModCovariance: x.Length <= Order"));
}

TEST(ChirpZ, OnePointIsTheTransformAtTheStartFrequency) {
  TVec x, y;
  testutil::SetReal(x, {1, -2, 0.5, 3});
  CztSetup(x, 1, y, 3.0, 9.0, 50.0, 1.2, 0.7);
  ASSERT_EQ(y.Length(), 1);
  const Cx a = 1.2 * std::polar(1.0, 2 * M_PI * 3.0 / 50.0);
  Cx expected = 0.0;
  double sizes = 0.0;
  for (int n = 0; n < 4; ++n) {
    expected += x.Values()[n] * std::pow(a, -n);
    sizes += std::fabs(x.Values()[n]) * std::pow(std::abs(a), -n);
  }
  // Each term's power and product round within 16u of its size, on each side; a margin of 2.
  EXPECT_LT(std::abs(RootsOf(y)[0] - expected), 2.0 * 2.0 * 16.0 * testutil::kU * sizes);
  EXPECT_TRUE(std::isfinite(y.CValues()[0].Re));
}

TEST(ChirpZ, EmptyInputsAndRefusal) {
  TVec x, y;
  CztCore(x, 3, TCplx{1, 0}, TCplx{1, 0}, y);
  EXPECT_EQ(RootsOf(y), (std::vector<Cx>{0.0, 0.0, 0.0}));
  testutil::SetReal(x, {1, 2});
  CztCore(x, 0, TCplx{1, 0}, TCplx{1, 0}, y);
  EXPECT_EQ(y.Length(), 0);
  EXPECT_TRUE(Raises([&] { CztCore(x, -1, TCplx{1, 0}, TCplx{1, 0}, y); }, "CztCore: M < 0"));
}

}  // namespace
}  // namespace dsp

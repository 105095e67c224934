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
  double e = 0.0;
  ArBurg(x, 0, a, k, e);
  EXPECT_EQ(testutil::Reals(a), std::vector<double>{1.0});
  EXPECT_EQ(k.Length(), 0);
  EXPECT_TRUE(NearRel(e, power, 1e-15));
  ArCovariance(x, 0, a, e);
  EXPECT_EQ(testutil::Reals(a), std::vector<double>{1.0});
  EXPECT_TRUE(NearRel(e, power, 1e-15));
  ArModCovariance(x, 0, a, e);
  EXPECT_EQ(testutil::Reals(a), std::vector<double>{1.0});
  EXPECT_TRUE(NearRel(e, power, 1e-15));
}

// A sinusoid is predicted exactly by x[n] = 2 cos(w) x[n-1] - x[n-2].
TEST(ArEstimation, SinusoidIsPredictedByTwoCoefficients) {
  TVec x, a, k;
  Sinusoid(x, 64, 0.7);
  double e = 0.0;
  ArBurg(x, 2, a, k, e);
  EXPECT_NEAR(std::fabs(k.Values()[1]), 1.0, 1e-3);
  EXPECT_LT(e, 1e-3);
  ArCovariance(x, 2, a, e);
  EXPECT_NEAR(a.Values()[1], -2 * std::cos(0.7), 1e-12);
  EXPECT_NEAR(a.Values()[2], 1.0, 1e-12);
  // The error power is the data's power less the predicted part's: 0 within the rounding of both.
  EXPECT_LT(std::fabs(e), 1e-13);
  ArModCovariance(x, 2, a, e);
  EXPECT_NEAR(a.Values()[1], -2 * std::cos(0.7), 1e-12);
  EXPECT_NEAR(a.Values()[2], 1.0, 1e-12);
  EXPECT_LT(std::fabs(e), 1e-13);
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
  EXPECT_LT(std::abs(RootsOf(a)[1] + std::polar(1.0, 0.9)), 1e-14);
  EXPECT_LT(std::fabs(e), 1e-13);
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
  for (int n = 0; n < 4; ++n) expected += x.Values()[n] * std::pow(a, -n);
  EXPECT_LT(std::abs(RootsOf(y)[0] - expected), 1e-14);
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

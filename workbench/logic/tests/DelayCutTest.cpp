// The delay cut into indicator coefficients, and the workbench FFT.
// Covers: Classes_Remez_DelayCut.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

#include "workbench/logic/Classes_Remez.h"
#include "testing/TestSupport.h"

namespace workbench {
namespace {

// Taps 1, 2, 3, ...: every cut is easy to state by hand.
void RampResponse(TDesignWorkspace& ws, int n) {
  for (int i = 0; i < n; ++i) ws.ImpulseResponse[i] = i + 1;
}

struct CutCase {
  const char* name;
  int taps, delay, method;
  int count;
  int start;  // first tap kept (negative: missing taps before the response)
};

TEST(DelayCut, KeepsTheTapsFromDelayBeforeTheCentre) {
  const CutCase cases[] = {
      // An odd own response keeps its centre and every tap after it.
      {"own 11, delay 0", 11, 0, 1, 6, 5},
      {"own 11, delay 2", 11, 2, 1, 8, 3},
      {"own 10, delay 0", 10, 0, 1, 5, 5},   // centre 4.5 rounds away from zero
      {"own 10, delay 1", 10, 1, 1, 6, 4},   // start 3.5 rounds to 4
      {"own 10, delay 6", 10, 6, 1, 12, -2}, // start -1.5 rounds to -2
      {"library 10, delay 0", 10, 0, 2, 5, 5},
      {"library 11, delay 3", 11, 3, 2, 9, 2},
      {"own 5, delay 4", 5, 4, 1, 7, -2},    // delay beyond the centre
  };
  for (const CutCase& c : cases) {
    SCOPED_TRACE(c.name);
    TDesignWorkspace ws;
    ws.DesignCoefficients.Coef.fill(9.0);
    RampResponse(ws, c.taps);
    EXPECT_TRUE(TruncateForDelay(ws, c.taps, c.delay, c.method));
    EXPECT_EQ(ws.DesignCoefCount, c.count);
    double sum = 0;
    for (int i = std::max(c.start, 0); i < c.taps; ++i) sum += i + 1;
    for (int k = 0; k < c.count; ++k) {
      const int tap = c.start + k;
      const double expected = tap >= 0 ? (tap + 1) / sum : 0.0;
      EXPECT_DOUBLE_EQ(ws.DesignCoefficients.Coef[k], expected) << k;
    }
    for (int k = c.count; k < MaxCoefficients; ++k) ASSERT_EQ(ws.DesignCoefficients.Coef[k], 0.0) << k;
  }
}

TEST(DelayCut, OwnCentreTapSitsAtTheDelay) {
  TDesignWorkspace ws;
  RampResponse(ws, 11);
  ws.ImpulseResponse[5] = 100;  // the centre
  TruncateForDelay(ws, 11, 2, 1);
  for (int k = 0; k < 8; ++k) {
    if (k != 2) {
      EXPECT_LT(ws.DesignCoefficients.Coef[k], ws.DesignCoefficients.Coef[2]) << k;
    }
  }
}

TEST(DelayCut, ZeroSumLeavesZeros) {
  TDesignWorkspace ws;
  const double taps[] = {1, -2, 3, -3, 2, 1};
  for (int i = 0; i < 6; ++i) ws.ImpulseResponse[i] = taps[i];
  EXPECT_FALSE(TruncateForDelay(ws, 6, 0, 2));
  EXPECT_EQ(ws.DesignCoefCount, 3);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(ws.DesignCoefficients.Coef[k], 0.0);
}

// Below MinUnitSum a sum is too close to 0 to divide by: the coefficients
// would be huge, or rounding rescaled to a unit sum.
TEST(DelayCut, SumBelowTheUnitSumThresholdLeavesZeros) {
  const struct {
    double taps[3];
    bool rescaled;
  } cases[] = {
      {{4e-10, 3e-10, 2e-10}, false},
      {{-4e-10, -3e-10, -2e-10}, false},
      {{1, -1, 1e-12}, false},
      {{4e-9, 3e-9, 2e-9}, true},
  };
  for (const auto& c : cases) {
    TDesignWorkspace ws;
    for (int i = 0; i < 3; ++i) ws.ImpulseResponse[3 + i] = c.taps[i];
    EXPECT_EQ(TruncateForDelay(ws, 6, 0, 2), c.rescaled) << c.taps[0];
    EXPECT_EQ(ws.DesignCoefCount, 3);
    const double sum = c.taps[0] + c.taps[1] + c.taps[2];
    for (int k = 0; k < 3; ++k) EXPECT_DOUBLE_EQ(ws.DesignCoefficients.Coef[k], c.rescaled ? c.taps[k] / sum : 0.0);
  }
}

TEST(DelayCut, EmptyResponseKeepsTheCount) {
  TDesignWorkspace ws;
  ws.DesignCoefCount = 17;
  ws.DesignCoefficients.Coef[3] = 1.0;
  EXPECT_FALSE(TruncateForDelay(ws, 0, 0, 1));
  EXPECT_EQ(ws.DesignCoefCount, 17);
  EXPECT_EQ(ws.DesignCoefficients.Coef[3], 0.0);
}

TEST(DelayCut, RefusesMoreCoefficientsThanTheRecordHolds) {
  TDesignWorkspace ws;
  RampResponse(ws, 101);
  EXPECT_THROW(TruncateForDelay(ws, 101, MaxCoefficients, 2), EFilterCheck);
  EXPECT_THROW(TruncateForDelay(ws, ImpulseCapacity + 1, 0, 2), EFilterCheck);
  // The last count that fits: an odd own response of 101 taps keeps 51 taps
  // beside the delay.
  EXPECT_NO_THROW(TruncateForDelay(ws, 101, MaxCoefficients - 51, 1));
  EXPECT_THROW(TruncateForDelay(ws, 101, MaxCoefficients - 50, 1), EFilterCheck);
}

// The transform of n points with the kernel e^(+i 2 pi k m / n), by definition.
std::vector<std::complex<double>> NaiveTransform(const std::vector<std::complex<double>>& in, bool inverse) {
  const std::size_t n = in.size();
  std::vector<std::complex<double>> out(n);
  const double sign = inverse ? -1 : 1;
  for (std::size_t k = 0; k < n; ++k) {
    for (std::size_t m = 0; m < n; ++m)
      out[k] += in[m] * std::polar(1.0, sign * 2 * std::numbers::pi * static_cast<double>(k * m % n) / n);
    if (inverse) out[k] /= static_cast<double>(n);
  }
  return out;
}

TEST(FourierTransform, MatchesTheTransformByDefinition) {
  std::mt19937 random(12345);
  std::uniform_real_distribution<double> value(-1, 1);
  for (int n : {1, 2, 4, 8, 64, 256}) {
    for (bool inverse : {false, true}) {
      std::vector<std::complex<double>> in(static_cast<std::size_t>(n));
      std::vector<double> data;
      for (auto& c : in) {
        c = {value(random), value(random)};
        data.push_back(c.real());
        data.push_back(c.imag());
      }
      FourierTransform(data, n, inverse);
      const auto expected = NaiveTransform(in, inverse);
      for (int k = 0; k < n; ++k) {
        EXPECT_TRUE(orvel::testing::NearScaled(data[2 * k], expected[k].real(), 1e-12, n)) << "n=" << n << " k=" << k;
        EXPECT_TRUE(orvel::testing::NearScaled(data[2 * k + 1], expected[k].imag(), 1e-12, n)) << "n=" << n << " k=" << k;
      }
    }
  }
}

TEST(FourierTransform, UnitImpulseGivesOnesAndRoundTrips) {
  std::vector<double> data(2 * 16, 0.0);
  data[0] = 1;
  FourierTransform(data, 16, false);
  for (int k = 0; k < 16; ++k) {
    EXPECT_DOUBLE_EQ(data[2 * k], 1.0);
    EXPECT_TRUE(orvel::testing::NearScaled(data[2 * k + 1], 0.0, 1e-15, 1.0));
  }
  FourierTransform(data, 16, true);
  EXPECT_TRUE(orvel::testing::NearRel(data[0], 1.0, 1e-15));
  for (std::size_t i = 1; i < data.size(); ++i) EXPECT_TRUE(orvel::testing::NearScaled(data[i], 0.0, 1e-15, 1.0)) << i;
}

TEST(FourierTransform, RefusesSizesThatAreNotPowersOfTwo) {
  std::vector<double> data(24, 0.0);
  EXPECT_THROW(FourierTransform(data, 12, false), classlib::Exception);
  EXPECT_THROW(FourierTransform(data, 16, false), classlib::Exception);  // needs 32 doubles
}

}  // namespace
}  // namespace workbench

// The generator's response views and the coefficient drag.
// Covers: formRemezViews.cpp, DelayCutBounds in Classes_Remez_DelayCut.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <numeric>
#include <vector>

#include "testing/TestSupport.h"
#include "workbench/logic/formRemezParameters.h"
#include "workbench/logic/formRemezViews.h"

namespace workbench {
namespace {

using orvel::testing::NearRel;
using orvel::testing::NearScaled;

// The default generator design (low-pass 24/12, 40 dB, 0.08 dB) cut for `delay`.
TDesignWorkspace DefaultDesign(int delay = 0, std::uint8_t method = dmOwnExchange) {
  TDesignWorkspace ws;
  TGeneratorInputs in;
  in.Method = method;
  const TFilterRecord f = ComputeDesignParameters(ws, in);
  const TDesignStatus status = DesignImpulseResponse(ws, f.FilterType, f.Order, method);
  EXPECT_EQ(status, dsDone);
  FinishDesign(ws, method, delay, status);
  return ws;
}

TEST(GeneratorViews, TransformSizeGrowsWithTheCoefficients) {
  const struct {
    int count, size;
  } cases[] = {{1, 256}, {51, 256}, {255, 256}, {256, 512}, {1023, 1024}, {2048, 4096}, {4095, 4096},
               {4096, 8192}, {9000, 8192}};
  for (const auto& c : cases) EXPECT_EQ(FftTransformSize(c.count), c.size) << c.count;
}

TEST(GeneratorViews, FftViewsAreTheScaledSpectrumOfTheCoefficients) {
  // 51 coefficients: M = 256, so 129 amplitude points and 128 phase points.
  std::vector<double> c(51);
  for (int k = 0; k < 51; ++k) c[k] = std::sin(0.3 * k + 1) / (k + 2);
  const TFftViews views = ComputeFftViews(c);
  ASSERT_EQ(views.TransformSize, 256);
  ASSERT_EQ(views.Amplitude.size(), 129u);
  ASSERT_EQ(views.Phase.size(), 128u);
  // The workbench's transform has the kernel e^(+i 2 pi k m / M).
  for (int m : {0, 1, 17, 64, 127, 128}) {
    std::complex<double> sum = 0;
    for (int k = 0; k < 51; ++k) sum += 256 * c[k] * std::polar(1.0, 2 * std::numbers::pi * k * m / 256);
    EXPECT_TRUE(NearScaled(views.Amplitude[m], std::abs(sum), 1e-12, 256)) << m;
    if (m < 128) {
      EXPECT_TRUE(NearScaled(views.Phase[m], -sum.imag(), 1e-12, 256)) << m;
    }
  }
  EXPECT_TRUE(ComputeFftViews({}).Amplitude.empty());
}

TEST(GeneratorViews, DefaultIndicatorPassesNear256) {
  const TDesignWorkspace ws = DefaultDesign();
  ASSERT_EQ(ws.DesignCoefCount, 26);
  const TFftViews views =
      ComputeFftViews(std::span<const double>(ws.DesignCoefficients.Coef.data(), ws.DesignCoefCount));
  // The indicator is the causal half of the response, so its amplitude is not
  // the designed filter's: it starts at 256 times the sum of its coefficients,
  // which is 1, keeps near 256 through the pass band (bin m is the frequency
  // m / 256, the band ends at bin 10) and falls well below it at high
  // frequencies.
  double sum = 0;
  for (int k = 0; k < 26; ++k) sum += ws.DesignCoefficients.Coef[k];
  EXPECT_TRUE(NearScaled(views.Amplitude[0], 256 * sum, 1e-13, 256));
  EXPECT_TRUE(NearRel(sum, 1.0, 1e-13));
  for (int m = 0; m <= 10; ++m) EXPECT_NEAR(views.Amplitude[m], 256, 40) << m;
  for (int m = 64; m <= 128; ++m) EXPECT_LT(views.Amplitude[m], 256 * 0.5) << m;
}

TEST(GeneratorViews, LogViewSumsEveryTapOfTheDesign) {
  const TDesignWorkspace ws = DefaultDesign();
  ASSERT_EQ(ws.KernelLength, 51);
  const TLogView view = ComputeLogView(ws.ImpulseResponse, ws.ImpulseLength, ws.KernelLength);
  ASSERT_EQ(view.Values.size(), 250u);
  const double dc = std::accumulate(ws.ImpulseResponse.begin(), ws.ImpulseResponse.begin() + 51, 0.0);
  EXPECT_TRUE(NearScaled(view.Values[0], 10 * std::log10(dc * dc), 1e-12, 1));
  // The pass band holds the ripple of 0.08 dB around 0 dB.
  EXPECT_LT(std::fabs(view.Values[0]), 0.1);
  EXPECT_TRUE(view.FixedRange);
  const auto [mn, mx] = std::minmax_element(view.Values.begin(), view.Values.end());
  EXPECT_EQ(view.Minimum, *mn);
  EXPECT_DOUBLE_EQ(view.Maximum, *mx + 0.05 * (*mx - *mn));
  EXPECT_EQ(DesignedResponseTaps(ws, dmOwnExchange), 51);
  EXPECT_EQ(DesignedResponseTaps(ws, dmLibrary), 50);
}

TEST(GeneratorViews, LogViewPointsFollowTheOrder) {
  std::vector<double> h(ImpulseCapacity, 0.0);
  h[0] = 1;
  EXPECT_EQ(ComputeLogView(h, 100, 101).Values.size(), 250u);
  EXPECT_EQ(ComputeLogView(h, 400, 401).Values.size(), 400u);
  // A single unit tap is 0 dB everywhere: the range keeps its value.
  EXPECT_FALSE(ComputeLogView(h, 100, 101).FixedRange);
  // A zero response shows 0 dB, not minus infinity.
  const TLogView zero = ComputeLogView(std::vector<double>(ImpulseCapacity, 0.0), 100, 101);
  for (double v : zero.Values) EXPECT_EQ(v, 0.0);
  EXPECT_FALSE(zero.FixedRange);
}

TEST(GeneratorViews, DelayCutBoundsTellWhatTheCutWrites) {
  const struct {
    int taps, delay, method, count, start;
  } cases[] = {
      {51, 0, 1, 26, 25},  // odd own design: the centre and every tap after it
      {51, 3, 1, 29, 22},
      {52, 0, 1, 26, 26},  // (N - 1) / 2 = 25.5 rounds away from zero
      {50, 0, 2, 25, 25},
      {50, 4, 2, 29, 21},
  };
  for (const auto& c : cases) {
    const TDelayCut cut = DelayCutBounds(c.taps, c.delay, c.method);
    EXPECT_EQ(cut.Count, c.count) << c.taps << " " << c.delay;
    EXPECT_EQ(cut.Start, c.start) << c.taps << " " << c.delay;
  }
}

TEST(GeneratorViews, DragRescalesEveryCoefficientToAUnitSum) {
  for (const int delay : {0, 3}) {
    TDesignWorkspace ws = DefaultDesign(delay);
    const TDelayCut cut = DelayCutBounds(ws.KernelLength, delay, 1);
    const int centre = delay;  // the response's centre is coefficient `delay`
    TCoefficientRecord c = ws.DesignCoefficients;
    ASSERT_TRUE(ApplyCoefficientDrag(c, cut.Count, centre, c.Coef[centre] + 0.1));
    double sum = 0;
    for (int k = 0; k < cut.Count; ++k) sum += c.Coef[k];
    EXPECT_TRUE(NearRel(sum, 1.0, 1e-14)) << delay;
    // Every other coefficient moved by the same factor.
    const int other = cut.Count - 1;
    const double factor = c.Coef[other] / ws.DesignCoefficients.Coef[other];
    EXPECT_LT(factor, 1.0);
    for (int k = 0; k < cut.Count; ++k)
      if (k != centre) {
        EXPECT_TRUE(NearRel(c.Coef[k], ws.DesignCoefficients.Coef[k] * factor, 1e-14)) << k;
      }
    // Nothing past the coefficients.
    for (int k = cut.Count; k < MaxCoefficients; ++k) EXPECT_EQ(c.Coef[k], 0.0) << k;
  }
}

TEST(GeneratorViews, DragThatMovesNothingChangesNothing) {
  const TDesignWorkspace ws = DefaultDesign();
  TCoefficientRecord c = ws.DesignCoefficients;
  ASSERT_TRUE(ApplyCoefficientDrag(c, 26, 12, c.Coef[12]));
  EXPECT_EQ(c.Coef, ws.DesignCoefficients.Coef);
}

TEST(GeneratorViews, DragToANearZeroSumIsRefused) {
  const TDesignWorkspace ws = DefaultDesign();
  TCoefficientRecord c = ws.DesignCoefficients;
  double others = 0;
  for (int k = 0; k < 26; ++k)
    if (k != 5) others += c.Coef[k];
  for (const double value : {-others, -others + 1e-12, std::nan(""), double(INFINITY)}) {
    EXPECT_FALSE(ApplyCoefficientDrag(c, 26, 5, value)) << value;
    EXPECT_EQ(c.Coef, ws.DesignCoefficients.Coef);
  }
  // Points outside the indicator are not draggable.
  EXPECT_FALSE(ApplyCoefficientDrag(c, 26, 26, 0.5));
  EXPECT_FALSE(ApplyCoefficientDrag(c, 26, -1, 0.5));
}

}  // namespace
}  // namespace workbench

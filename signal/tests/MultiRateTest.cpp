// The power-of-two interpolator and decimator and the sub-band demodulator:
// their settings, stage chains and rates, and what they do to tones: a tone
// at 0.1 of the lower rate keeps its amplitude within 2e-3, and images and
// aliases stay below -60 dB.
// Covers: signal/MultiRate.cpp, signal/SignalDemodulator.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

#include "signal/MultiRate.h"
#include "signal/SignalDemodulator.h"
#include "signal/tests/ProcessingTestSupport.h"
#include "testing/TestSupport.h"

namespace sig {
namespace {

using orvel::testing::RaisedMessage;
using testutil::FitTone;
using testutil::RunInBlocks;
using testutil::Tone;

double PeakBound(const std::vector<double>& y, std::size_t Start, std::size_t Count) {
  double sum = 0;
  for (std::size_t m = Start; m < Start + Count; ++m) sum += y[m] * y[m];
  return std::sqrt(2.0 * sum / static_cast<double>(Count));
}

TEST(MultiRate, FactorsArePowersOfTwo) {
  const std::pair<std::int32_t, std::int32_t> cases[] = {{5, 8},       {3, 4},    {2, 2},   {1, 1},
                                                         {0, 1},       {-4, 1},   {1000, 1024},
                                                         {2147483647, 1073741824}};
  for (auto [value, factor] : cases) {
    TSignalInterpolator up;
    up.SetFactor(value);
    EXPECT_EQ(up.Factor(), factor) << value;
    TSignalDecimator down;
    down.SetFactor(value);
    EXPECT_EQ(down.Factor(), factor) << value;
  }
}

TEST(MultiRate, TransitionWidthIsHeldWithinItsRange) {
  TSignalDecimator d;
  EXPECT_EQ(d.TransBW(), 0.1);
  d.SetTransBW(0);
  EXPECT_EQ(d.TransBW(), 2.22044604925031E-16);
  d.SetTransBW(3);
  EXPECT_EQ(d.TransBW(), 1);
  EXPECT_EQ(d.Ripple(), 0.0001);
  EXPECT_EQ(d.Factor(), 2);
}

TEST(MultiRate, EnvelopeAndFactorFollowEachOther) {
  TSignalDecimator d;
  d.SetFactor(8);
  d.SetEnvelopeFactor(16);
  EXPECT_EQ(d.EnvelopeFactor(), 16);
  EXPECT_EQ(d.Factor(), 16);
  d.SetFactor(4);
  EXPECT_EQ(d.EnvelopeFactor(), 4);
  const std::pair<std::int32_t, std::int32_t> cases[] = {{3, 4}, {1, 1}, {0, 0}, {-2, 0}};
  for (auto [value, envelope] : cases) {
    d.SetEnvelopeFactor(value);
    EXPECT_EQ(d.EnvelopeFactor(), envelope) << value;
  }
  EXPECT_EQ(d.Factor(), 4);
}

TEST(MultiRate, FactorOneCopiesTheInput) {
  const std::vector<double> x{1, -2, 3, 4};
  TSignalInterpolator up;
  up.SetFactor(1);
  EXPECT_EQ(RunInBlocks(up, x, 4), x);
  EXPECT_EQ(up.StageCount(), 0);
  TSignalDecimator down;
  down.SetFactor(0);
  EXPECT_EQ(RunInBlocks(down, x, 4), x);
}

TEST(MultiRate, InterpolatorByFourRunsTwoStages) {
  TSignalInterpolator up;
  up.SetFactor(4);
  int designs = 0;
  up.SetOnGetFilterTaps([&](classlib::TPersistent* Sender) {
    EXPECT_EQ(Sender, &up);
    ++designs;
  });
  const std::vector<double> y = RunInBlocks(up, std::vector<double>(100, 1.0), 100, 1000);
  EXPECT_EQ(y.size(), 400u);
  EXPECT_EQ(up.SamplingFrequency(), 4000);
  EXPECT_EQ(up.StageCount(), 2);
  EXPECT_EQ(designs, 1);
  // The sharp prototype, which serves the first stage, is the longer one.
  EXPECT_GT(up.SharpTaps().Length(), up.WideTaps().Length());
  up.SetRipple(0.001);
  EXPECT_FALSE(up.TapsValid());
  RunInBlocks(up, std::vector<double>(100, 1.0), 100, 1000);
  EXPECT_EQ(designs, 2);
}

TEST(MultiRate, DecimatorByEightRunsThreeStages) {
  TSignalDecimator down;
  down.SetFactor(8);
  std::vector<double> y = RunInBlocks(down, std::vector<double>(800, 1.0), 800, 8000);
  EXPECT_EQ(y.size(), 100u);
  EXPECT_EQ(down.StageCount(), 3);
  EXPECT_EQ(down.SamplingFrequency(), 1000);
  down.SetLastStageFilterOnly(true);
  y = RunInBlocks(down, std::vector<double>(800, 1.0), 800, 8000);
  EXPECT_EQ(y.size(), 200u);
  EXPECT_EQ(down.SamplingFrequency(), 1000);
}

TEST(MultiRate, TheEnvelopeIsTheMagnitudeWhereTheRateHasFallen) {
  const std::vector<double> x = Tone(2048, 0.01);
  TSignalDecimator plain;
  plain.SetFactor(8);
  const std::vector<double> decimated = RunInBlocks(plain, x, 512);
  TSignalDecimator envelope;
  envelope.SetFactor(8);
  envelope.SetEnvelopeFactor(8);
  const std::vector<double> y = RunInBlocks(envelope, x, 512);
  ASSERT_EQ(y.size(), decimated.size());
  for (std::size_t i = 0; i < y.size(); ++i) EXPECT_EQ(y[i], std::fabs(decimated[i])) << i;
  TSignalDecimator rectifier;
  rectifier.SetFactor(1);
  rectifier.SetEnvelopeFactor(1);
  EXPECT_EQ(RunInBlocks(rectifier, {1, -2, 3, -4}, 4), (std::vector<double>{1, 2, 3, 4}));
}

TEST(MultiRate, AnEnvelopeInsideTheChainFiltersItsMagnitude) {
  TSignal input;
  input.Data().SetIt(true, std::vector<double>(128, 0.5));
  TSignalDecimator d;
  d.SetFactor(4);
  d.SetEnvelopeFactor(2);
  d.SetInput(&input);
  d.Update();
  EXPECT_FALSE(d.Data().Complex());
  EXPECT_EQ(d.Length(), 16);
}

TEST(MultiRate, TwoChannelsAreRefused) {
  TSignal input;
  input.SetChannelCount(2);
  TSignalInterpolator up;
  up.SetName("Up");
  up.SetInput(&input);
  EXPECT_EQ(RaisedMessage([&] { up.Update(); }), "Up: MultiRate: Input.ChannelCount > 1 not supported!");
  TSignalDecimator down;
  down.SetName("Down");
  down.SetInput(&input);
  EXPECT_EQ(RaisedMessage([&] { down.Update(); }), "Down: MultiRate: Input.ChannelCount > 1 not supported!");
}

TEST(MultiRate, AnOutputBeyondTheLimitIsRefusedBeforeItIsMade) {
  TSignal input;
  input.SetLength(1024);
  TSignalInterpolator up;
  up.SetName("Up");
  up.SetFactor(1 << 20);
  up.SetInput(&input);
  EXPECT_EQ(RaisedMessage([&] { up.Update(); }),
            "Up: MultiRate: an output block of 1073741824 samples exceeds the limit of 268435456!");
  EXPECT_FALSE(up.TapsValid());
}

TEST(MultiRate, ABadRippleIsTheUpdatesError) {
  TSignal input;
  TSignalDecimator d;
  d.SetName("Down");
  d.SetRipple(0);
  d.SetInput(&input);
  EXPECT_EQ(RaisedMessage([&] { d.Update(); }), "Down: MultiRate: Ripple must lie between 0 and 1!");
}

TEST(MultiRate, ProcessRunsAVectorAndKeepsTheInput) {
  TSignal input;
  TSignalInterpolator up;
  up.SetInput(&input);
  numeric::TVec src, dst;
  src.SetIt(false, std::vector<double>(50, 1.0));
  up.Process(src, dst);
  EXPECT_EQ(dst.Length(), 100);
  EXPECT_EQ(up.Input(), &input);
}

TEST(MultiRate, ComplexDataRunsThroughComplexStages) {
  TSignal input;
  std::vector<double> z;
  for (int n = 0; n < 256; ++n) {
    z.push_back(std::cos(0.1 * n));
    z.push_back(std::sin(0.1 * n));
  }
  input.Data().SetIt(true, z);
  TSignalInterpolator up;
  up.SetInput(&input);
  up.Update();
  EXPECT_TRUE(up.Data().Complex());
  EXPECT_EQ(up.Length(), 512);
  input.Data().SetIt(false, std::vector<double>(256, 1.0));
  up.Update();
  EXPECT_FALSE(up.Data().Complex());
}

// One stage by hand: zeros between the samples (Up 2) or every other
// filtered sample kept (Down 2), the taps times Gain.
std::vector<double> StageByHand(const std::vector<double>& X, const numeric::TVec& Taps, double Gain, int Up,
                                int Down) {
  std::vector<double> u(X.size() * static_cast<std::size_t>(Up), 0.0);
  for (std::size_t i = 0; i < X.size(); ++i) u[i * static_cast<std::size_t>(Up)] = X[i];
  std::vector<double> y;
  for (std::size_t j = 0; j < u.size(); j += static_cast<std::size_t>(Down)) {
    double acc = 0;
    for (int k = 0; k < Taps.Length() && static_cast<std::size_t>(k) <= j; ++k)
      acc += Gain * Taps.Values()[k] * u[j - static_cast<std::size_t>(k)];
    y.push_back(acc);
  }
  return y;
}

// The stages against the textbook form, over blocks of uneven lengths: the
// branches of an interpolating stage and the delay lines join them without a
// seam. Each output sums at most |taps| products of the same terms in
// another order, through two stages of gain up to 2 on samples below 1.1:
// 4e-13 of the two tap sets' sums is some hundred times that rounding.
TEST(MultiRate, StagesEqualTheTextbookForm) {
  std::vector<double> x(100);
  for (std::size_t i = 0; i < x.size(); ++i) x[i] = std::sin(0.37 * static_cast<double>(i * i % 17)) + 0.1;
  const std::size_t blocks[] = {37, 50, 13};
  TSignal input;
  TSignalInterpolator up;
  up.SetFactor(4);
  TSignalDecimator down;
  down.SetFactor(4);
  for (TSignalMultiRate* part : {static_cast<TSignalMultiRate*>(&up), static_cast<TSignalMultiRate*>(&down)}) {
    part->SetInput(&input);
    std::vector<double> y;
    std::size_t at = 0;
    for (std::size_t n : blocks) {
      input.Data().SetIt(false, std::vector<double>(x.begin() + static_cast<std::ptrdiff_t>(at),
                                                    x.begin() + static_cast<std::ptrdiff_t>(at + n)));
      at += n;
      part->Update();
      y.insert(y.end(), part->Data().Values(), part->Data().Values() + part->Data().Length());
    }
    const bool interpolating = part == &up;
    const numeric::TVec& first = interpolating ? part->SharpTaps() : part->WideTaps();
    const numeric::TVec& second = interpolating ? part->WideTaps() : part->SharpTaps();
    const std::vector<double> reference =
        interpolating ? StageByHand(StageByHand(x, first, 2, 2, 1), second, 2, 2, 1)
                      : StageByHand(StageByHand(x, first, 1, 1, 2), second, 1, 1, 2);
    ASSERT_EQ(y.size(), reference.size()) << (interpolating ? "up" : "down");
    double scale = 0;
    for (int k = 0; k < first.Length(); ++k) scale += std::fabs(first.Values()[k]);
    for (int k = 0; k < second.Length(); ++k) scale += std::fabs(second.Values()[k]);
    for (std::size_t i = 0; i < y.size(); ++i) EXPECT_NEAR(y[i], reference[i], 4e-13 * scale) << i;
  }
}

// Tone tests: lengths are whole periods of the tones measured, and the
// stretch measured starts after the filters' delays.

TEST(MultiRateTones, InterpolatorByFourKeepsTheToneAndDropsItsImages) {
  TSignalInterpolator up;
  up.SetFactor(4);
  const std::vector<double> y = RunInBlocks(up, Tone(2048, 0.1), 256);
  ASSERT_EQ(y.size(), 8192u);
  const auto fit = FitTone(y, 2048, 4000, 0.1 / 4);
  EXPECT_NEAR(std::abs(fit.Amplitude), 1.0, 2e-3);
  EXPECT_LT(fit.Rest, 1e-3);
}

TEST(MultiRateTones, DecimatorByEightKeepsTheTone) {
  TSignalDecimator down;
  down.SetFactor(8);
  const std::vector<double> y = RunInBlocks(down, Tone(16384, 0.1 / 8), 1024);
  ASSERT_EQ(y.size(), 2048u);
  const auto fit = FitTone(y, 512, 1500, 0.1);
  EXPECT_NEAR(std::abs(fit.Amplitude), 1.0, 2e-3);
  EXPECT_LT(fit.Rest, 1e-3);
}

TEST(MultiRateTones, DecimatorByEightDropsWhatWouldAlias) {
  // In units of the lower rate: every one folds into the output's band.
  for (double f : {0.6, 0.9, 1.3, 2.1, 2.9, 3.7}) {
    TSignalDecimator down;
    down.SetFactor(8);
    const std::vector<double> y = RunInBlocks(down, Tone(16384, f / 8), 1024);
    EXPECT_LT(PeakBound(y, 512, 1500), 1e-3) << f;
  }
}

TEST(Demodulator, TheBandGivesTheFactor) {
  struct TCase {
    double Frequency, Width;
    std::int32_t Factor;
  };
  const TCase cases[] = {{0.2, 0.1, 8}, {0.2, 0.05, 16}, {0.45, 0.1, 1}, {0.2, 0, 1}, {0, 0.3, 2}, {0.1, 1e-12, 1}};
  for (const TCase& c : cases) {
    TSignalDemodulator d;
    d.SetSubBandFrequency(c.Frequency);
    d.SetSubBandWidth(c.Width);
    EXPECT_EQ(d.Factor(), c.Factor) << c.Frequency << " " << c.Width;
    EXPECT_EQ(d.EnvelopeFactor(), 0);
  }
}

TEST(Demodulator, FactorAndEnvelopeCannotBeSet) {
  TSignalDemodulator d;
  d.SetSubBandWidth(0.1);
  d.SetFactor(64);
  d.SetEnvelopeFactor(4);
  EXPECT_EQ(d.Factor(), 8);
  EXPECT_EQ(d.EnvelopeFactor(), 0);
  d.SetSubBandFrequency(0.7);
  EXPECT_EQ(d.SubBandFrequency(), 0.5);
  d.SetSubBandWidth(-1);
  EXPECT_EQ(d.SubBandWidth(), 0);
}

TEST(Demodulator, ABandThatDoesNotFitPassesTheInput) {
  TSignalDemodulator d;
  d.SetSubBandFrequency(0.45);
  d.SetSubBandWidth(0.1);
  const std::vector<double> x{1, 2, 3, 4};
  EXPECT_EQ(RunInBlocks(d, x, 4), x);
}

TEST(Demodulator, AnOddBlockIsRefused) {
  TSignal input;
  input.SetLength(1001);
  TSignalDemodulator d;
  d.SetName("Zoom");
  d.SetInput(&input);
  EXPECT_EQ(RaisedMessage([&] { d.Update(); }), "Zoom: (Input.Length mod 2) <> 0");
}

TEST(Demodulator, TwoHundredTwentyHertzBecomesTwentyHertz) {
  TSignalDemodulator d;
  d.SetSubBandFrequency(0.2);
  d.SetSubBandWidth(0.05);
  ASSERT_EQ(d.Factor(), 16);
  const std::vector<double> y = RunInBlocks(d, Tone(8192, 220.0 / 1000), 1024, 1000);
  ASSERT_EQ(y.size(), 1024u);
  EXPECT_EQ(d.SamplingFrequency(), 125);
  EXPECT_EQ(d.StartFrequency(), 200);
  const auto fit = FitTone(y, 256, 700, 20.0 / 125);
  EXPECT_NEAR(std::abs(fit.Amplitude), 1.0, 1e-2);
  EXPECT_LT(fit.Rest, 1e-2);
}

}  // namespace
}  // namespace sig

// The band-limited interpolator and the sampling-rate converter: settings,
// the chain each factor takes, the number of samples and the rate of the
// output, and a tone that keeps its frequency through every chain.
// Covers: signal/BandlimitedInterpolator.cpp, signal/RateConverter.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numeric>
#include <string>
#include <vector>

#include "signal/RateConverter.h"
#include "signal/tests/ProcessingTestSupport.h"
#include "testing/TestSupport.h"

namespace sig {
namespace {

using orvel::testing::RaisedMessage;
using testutil::FitTone;
using testutil::RunInBlocks;
using testutil::Tone;

TEST(BandlimitedInterpolator, RippleChoosesTheTable) {
  struct TCase {
    double Ripple, Stored;
    std::int32_t Taps, Oversampling;
  };
  const TCase cases[] = {{0.01, 0.001, 13, 60},   {0.0005, 0.0005, 13, 60}, {1e-4, 1e-4, 17, 400},
                         {1e-5, 1e-5, 21, 600},   {1e-6, 1e-6, 27, 2000},   {1e-7, 1e-7, 37, 10000},
                         {1e-12, 1e-8, 37, 10000}};
  for (const TCase& c : cases) {
    TBandlimitedInterpolator b;
    b.SetRipple(c.Ripple);
    EXPECT_EQ(b.Ripple(), c.Stored);
    b.Design();
    EXPECT_EQ(b.FilterLength(), c.Taps) << c.Ripple;
    EXPECT_EQ(b.Oversampling(), c.Oversampling) << c.Ripple;
    EXPECT_EQ(b.PassBand(), 0.8);
  }
}

TEST(BandlimitedInterpolator, SettersHoldTheirRanges) {
  TBandlimitedInterpolator b;
  EXPECT_EQ(b.ResampleFactor(), 1.0);
  b.SetResampleFactor(0);
  EXPECT_EQ(b.ResampleFactor(), 2.22044604925031E-16);
  b.SetResampleFactor(1e12);
  EXPECT_EQ(b.ResampleFactor(), 2147483647.0);
  b.SetFilterLength(1);
  EXPECT_EQ(b.FilterLength(), 3);
  EXPECT_FALSE(b.Designed());
}

TEST(BandlimitedInterpolator, ABlockShorterThanTheFilterIsRefused) {
  TSignal input;
  input.SetLength(12);
  TBandlimitedInterpolator b;
  b.SetName("Resampler");
  b.SetInput(&input);
  EXPECT_EQ(RaisedMessage([&] { b.Update(); }), "Resampler: Input.Length < FilterLength");
  input.SetChannelCount(2);
  input.SetLength(100);
  EXPECT_EQ(RaisedMessage([&] { b.Update(); }), "Resampler: MultiRate: Input.ChannelCount > 1 not supported!");
}

TEST(BandlimitedInterpolator, ATinyFactorGivesOneSampleThenNone) {
  TBandlimitedInterpolator b;
  b.SetResampleFactor(1e-6);
  std::vector<std::int32_t> lengths;
  RunInBlocks(b, std::vector<double>(500, 1.0), 100, 1.0, &lengths);
  EXPECT_EQ(lengths, (std::vector<std::int32_t>{1, 0, 0, 0, 0}));
  EXPECT_NEAR(b.Position(), 1e6 - 500, 1e-6);
}

TEST(BandlimitedInterpolator, AnOutputBeyondTheLimitIsRefused) {
  TSignal input;
  input.SetLength(100);
  TBandlimitedInterpolator b;
  b.SetName("Resampler");
  b.SetResampleFactor(1e9);
  b.SetInput(&input);
  EXPECT_EQ(RaisedMessage([&] { b.Update(); }),
            "Resampler: Band-limited interpolator: an output block of 100000000001 samples exceeds the limit of "
            "268435456!");
}

TEST(BandlimitedInterpolator, TheFirstBlockHoldsOneSampleMore) {
  TBandlimitedInterpolator b;
  b.SetResampleFactor(0.75);
  std::vector<std::int32_t> lengths;
  RunInBlocks(b, std::vector<double>(400, 1.0), 100, 2000, &lengths);
  EXPECT_EQ(lengths, (std::vector<std::int32_t>{76, 75, 75, 75}));
  EXPECT_EQ(b.SamplingFrequency(), 1500);
}

TEST(BandlimitedInterpolator, ComplexBlocksKeepTheirParts) {
  TSignal input;
  std::vector<double> z;
  for (int n = 0; n < 200; ++n) {
    z.push_back(std::cos(0.05 * n));
    z.push_back(std::sin(0.05 * n));
  }
  input.Data().SetIt(true, z);
  TBandlimitedInterpolator b;
  b.SetResampleFactor(2);
  b.SetInput(&input);
  b.Update();
  ASSERT_TRUE(b.Data().Complex());
  EXPECT_EQ(b.Length(), 401);
  // Past the start-up, a unit phasor keeps its magnitude.
  const numeric::TCplx* v = b.Data().CValues();
  for (int i = 100; i < 380; ++i) EXPECT_NEAR(std::hypot(v[i].Re, v[i].Im), 1.0, 2e-3) << i;
}

struct TChainCase {
  double Factor;
  std::vector<std::string> Chain;
  double Resample;  // the band-limited interpolator's factor, when it runs
  std::int32_t MultiRateFactor;  // of the last power-of-two part in the chain
};

TEST(RateConverter, EachFactorTakesItsChain) {
  const std::vector<TChainCase> cases = {
      {4, {"Interpolator"}, 0, 4},
      {0.25, {"Decimator"}, 0, 4},
      {0.125, {"Decimator"}, 0, 8},
      {4.00001, {"Interpolator"}, 0, 4},
      {1, {}, 0, 0},
      {1.5, {"Interpolator2", "BandlimitedInterpolator"}, 0.75, 2},
      {0.3, {"Decimator", "BandlimitedInterpolator"}, 0.3, 2},
      {0.7, {"Interpolator2", "BandlimitedInterpolator"}, 0.35, 2},
      {3, {"Interpolator2", "BandlimitedInterpolator", "Interpolator"}, 0.75, 2},
      {4.5, {"Interpolator2", "BandlimitedInterpolator", "Interpolator"}, 1.125, 2},
      {5, {"Interpolator2", "BandlimitedInterpolator", "Interpolator"}, 0.625, 4},
      {0.24, {"Decimator", "BandlimitedInterpolator"}, 0.24, 2},
      {0.4, {"Decimator", "BandlimitedInterpolator"}, 0.4, 2},
      {0.1, {"Decimator", "BandlimitedInterpolator"}, 0.4, 8},
  };
  for (const TChainCase& c : cases) {
    TSignalRateConverter conv;
    conv.SetFactor(c.Factor);
    conv.Configure();
    std::vector<std::string> names;
    for (TSignal* part : conv.Chain()) names.push_back(part->Name());
    EXPECT_EQ(names, c.Chain) << c.Factor;
    const TSignalMultiRate* last = nullptr;
    for (TSignal* part : conv.Chain()) {
      if (auto* b = dynamic_cast<TBandlimitedInterpolator*>(part)) {
        EXPECT_NEAR(b->ResampleFactor(), c.Resample, 1e-15) << c.Factor;
      }
      if (auto* m = dynamic_cast<TSignalMultiRate*>(part)) last = m;
    }
    if (last != nullptr) {
      EXPECT_EQ(last->Factor(), c.MultiRateFactor) << c.Factor;
    }
  }
}

TEST(RateConverter, TheFilterOnlyDecimatorAndTheSecondInterpolatorTakeTheirTaps) {
  TSignalRateConverter conv;
  conv.SetFactor(0.3);
  conv.Configure();
  EXPECT_TRUE(conv.Decimator().LastStageFilterOnly());
  EXPECT_TRUE(conv.Decimator().ExternalTaps());
  EXPECT_GT(conv.Decimator().SharpTaps().Length(), 0);
  conv.SetFactor(0.25);
  conv.Configure();
  EXPECT_FALSE(conv.Decimator().LastStageFilterOnly());
  EXPECT_FALSE(conv.Decimator().ExternalTaps());
  conv.SetFactor(0.7);
  conv.Configure();
  EXPECT_TRUE(conv.Interpolator2().ExternalTaps());
  conv.SetFactor(1.5);
  conv.Configure();
  EXPECT_FALSE(conv.Interpolator2().ExternalTaps());
}

TEST(RateConverter, SettersHoldTheirRangesAndConfigureAgain) {
  TSignalRateConverter conv;
  conv.Configure();
  ASSERT_TRUE(conv.Configured());
  conv.SetRipple(1);
  EXPECT_EQ(conv.Ripple(), 0.1);
  EXPECT_FALSE(conv.Configured());
  conv.SetRipple(0);
  EXPECT_EQ(conv.Ripple(), 1e-12);
  conv.SetTransBW(2);
  EXPECT_EQ(conv.TransBW(), 1);
  conv.SetFactor(-1);
  EXPECT_EQ(conv.Factor(), 2.22044604925031E-16);
  conv.SetFactor(1e300);
  EXPECT_EQ(conv.Factor(), 2147483647.0);
}

TEST(RateConverter, FactorOneCopiesTheInput) {
  TSignalRateConverter conv;
  const std::vector<double> x{1, -2, 3, 5};
  EXPECT_EQ(RunInBlocks(conv, x, 4, 100), x);
  EXPECT_EQ(conv.SamplingFrequency(), 100);
}

TEST(RateConverter, FourTimesAHundredSamplesAreFourHundred) {
  TSignalRateConverter conv;
  conv.SetFactor(4);
  EXPECT_EQ(RunInBlocks(conv, std::vector<double>(100, 0.0), 100, 1000).size(), 400u);
  EXPECT_EQ(conv.SamplingFrequency(), 4000);
}

TEST(RateConverter, TwoChannelsAreRefused) {
  TSignal input;
  input.SetChannelCount(2);
  TSignalRateConverter conv;
  conv.SetName("Conv");
  conv.SetFactor(1.5);
  conv.SetInput(&input);
  EXPECT_EQ(RaisedMessage([&] { conv.Update(); }), "Conv: MultiRate: Input.ChannelCount > 1 not supported!");
}

TEST(RateConverter, APartsErrorNamesThePart) {
  TSignal input;
  input.SetLength(4);
  TSignalRateConverter conv;
  conv.SetName("Conv");
  conv.SetFactor(1.5);
  conv.SetInput(&input);
  EXPECT_EQ(RaisedMessage([&] { conv.Update(); }), "Conv: BandlimitedInterpolator: Input.Length < FilterLength");
}

// Every chain, ten blocks of a 30 Hz tone at 1000 Hz: the output holds Factor
// times the samples (the band-limited stage's first block one more), says
// so in its rate, and the tone is still at 30 Hz with its amplitude.
TEST(RateConverter, ToneKeepsItsFrequencyThroughEveryChain) {
  for (double factor : {4.0, 0.25, 0.125, 1.5, 0.3, 0.4, 0.7, 3.0, 4.5, 5.0, 0.24}) {
    TSignalRateConverter conv;
    conv.SetFactor(factor);
    const std::vector<double> y = RunInBlocks(conv, Tone(10000, 30.0 / 1000), 1000, 1000);
    const double rate = 1000 * factor;
    EXPECT_NEAR(conv.SamplingFrequency(), rate, 1e-9 * rate) << factor;
    EXPECT_NEAR(static_cast<double>(y.size()), 10000 * factor, 4) << factor;
    const auto r = static_cast<std::size_t>(std::lround(rate));
    const std::size_t period = r / std::gcd(r, std::size_t{30});
    const std::size_t start = y.size() / 4;
    const std::size_t count = (y.size() - start - 10) / period * period;
    const auto fit = FitTone(y, start, count, 30.0 / rate);
    EXPECT_NEAR(std::abs(fit.Amplitude), 1.0, 1e-2) << factor;
    EXPECT_LT(fit.Rest, 1e-2) << factor;
  }
}

}  // namespace
}  // namespace sig

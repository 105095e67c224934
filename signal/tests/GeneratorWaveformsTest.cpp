// The waveforms of the generator's source lines: their samples, how they run
// on or restart from block to block, and the settings that are errors.
// Covers signal/GeneratorWaveforms.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "signal/SignalGenerator.h"
#include "signal/tests/GeneratorFormulas.h"

namespace {

using namespace generator_tests;
using sig::TSignalGenerator;

// The samples of Blocks updates of a generator of the one line.
std::vector<std::vector<double>> Blocks(const TFuncSignalLine& Line, int Length, double Fs, int Count) {
  TSignalGenerator g;
  Configure(g, Length, Fs);
  SetFormula(g, {Line});
  std::vector<std::vector<double>> blocks;
  for (int b = 0; b < Count; ++b) {
    g.Update();
    EXPECT_EQ(g.ErrorText(), "");
    blocks.push_back(Samples(g));
  }
  return blocks;
}

std::vector<double> Joined(const std::vector<std::vector<double>>& Blocks) {
  std::vector<double> all;
  for (const std::vector<double>& b : Blocks) all.insert(all.end(), b.begin(), b.end());
  return all;
}

TEST(GeneratorWaveforms, ASineRunsOnWhenContinuousAndRepeatsItsBlockOtherwise) {
  std::vector<double> sine;
  for (int i = 0; i < 20; ++i) sine.push_back(std::sin(2 * std::numbers::pi * 0.1 * i));
  const auto continuous = Blocks(Source(sig::gfSine, {10, 0, 1}, true), 10, 100, 2);
  const auto restarted = Blocks(Source(sig::gfSine, {10, 0, 1}, false), 10, 100, 2);
  // Phases below 4 pi rounded a few times on either side.
  for (int i = 0; i < 10; ++i) {
    EXPECT_NEAR(continuous[0][i], sine[i], 1e-14);
    EXPECT_NEAR(continuous[1][i], sine[10 + i], 1e-14);
    EXPECT_EQ(restarted[1][i], restarted[0][i]);
    EXPECT_NEAR(restarted[1][i], sine[i], 1e-14);
  }
  // A frequency of 10 Hz at 100 Hz repeats after 10 samples: the blocks
  // differ only when the phase runs on at another frequency.
  const auto off = Blocks(Source(sig::gfSine, {7, 0, 1}, true), 10, 100, 2);
  EXPECT_NEAR(off[1][0], std::sin(2 * std::numbers::pi * 0.07 * 10), 1e-14);
}

TEST(GeneratorWaveforms, AComplexSineIsTheSineAndMinusTheCosine) {
  const auto blocks = Blocks(Source(sig::gfSine, {10, 30, 2}, true, true), 8, 100, 1);
  ASSERT_EQ(blocks[0].size(), 16u);
  for (int i = 0; i < 8; ++i) {
    const double a = 2 * std::numbers::pi * 0.1 * i + std::numbers::pi / 6;
    EXPECT_NEAR(blocks[0][2 * i], 2 * std::sin(a), 1e-14);
    EXPECT_NEAR(blocks[0][2 * i + 1], -2 * std::cos(a), 1e-14);
  }
}

TEST(GeneratorWaveforms, AnImpulseOfOneSecondEachAtFourHertzHasSixteenSamples) {
  const std::vector<double> period = {0, 0.5, 1, 1.5, 2, 2, 2, 2, 2, 1.5, 1, 0.5, 0, 0, 0, 0};
  // Two periods in blocks of 10: the counter carries the phase on.
  const std::vector<double> made = Joined(Blocks(Source(sig::gfImpulse, {1, 1, 1, 1, 2}), 10, 4, 4));
  for (std::size_t i = 0; i < made.size(); ++i) EXPECT_EQ(made[i], period[i % 16]) << i;
}

TEST(GeneratorWaveforms, UnitImpulseIsHalfTheLengthAtTheFirstSampleOfEveryBlock) {
  for (const auto& block : Blocks(Source(sig::gfUnitImpulse), 128, 1000, 2)) {
    EXPECT_EQ(block[0], 64.0);
    for (std::size_t i = 1; i < block.size(); ++i) EXPECT_EQ(block[i], 0.0) << i;
  }
}

TEST(GeneratorWaveforms, ASquareStartsAtItsPhase) {
  // 10 Hz at 80 Hz: eight samples a period, 45 degrees each.
  const std::vector<double> made = Blocks(Source(sig::gfSquare, {10, 90, 2, 0.5}), 16, 80, 1)[0];
  const std::vector<double> expected = {2.5, 2.5, -1.5, -1.5, -1.5, -1.5, 2.5, 2.5,
                                        2.5, 2.5, -1.5, -1.5, -1.5, -1.5, 2.5, 2.5};
  EXPECT_EQ(made, expected);
  // A phase of -270 degrees is one of 90.
  EXPECT_EQ(Blocks(Source(sig::gfSquare, {10, -270, 2, 0.5}), 16, 80, 1)[0], expected);
}

TEST(GeneratorWaveforms, ATriangleFallsFromItsPeakAndRisesBack) {
  // One period in eight samples, symmetric, amplitude 2.
  const std::vector<double> made = Blocks(Source(sig::gfTriangle, {1, 0, 2, 0}), 8, 8, 1)[0];
  const std::vector<double> expected = {2, 1, 0, -1, -2, -1, 0, 1};
  for (int i = 0; i < 8; ++i) EXPECT_NEAR(made[i], expected[i], 1e-14) << i;
}

TEST(GeneratorWaveforms, AChirpWithDutyHalfSweepsTwiceABlock) {
  const std::vector<double> made = Blocks(Source(sig::gfChirp, {1, 0, 1, 0, 20, 1, 0.5}), 100, 100, 1)[0];
  for (int i = 0; i < 50; ++i) EXPECT_EQ(made[i], made[i + 50]) << i;
  EXPECT_NE(made[10], made[20]);
}

TEST(GeneratorWaveforms, SettingsThatLeaveNothingToDivideAreErrorsOfTheFormula) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const TFuncSignalLine cases[] = {
      Source(sig::gfChirp, {1, 0, 1, 0, 20, 1, 0.004}),  // 100 x 0.004 rounds to no sample
      Source(sig::gfChirp, {1, 0, 1, 0, 20, 1, 0.005}),  // 0.5 rounds to the even 0
      Source(sig::gfChirp, {1, 0, 1, 0, 20, 1, -0.5}),   // a negative duty
      Source(sig::gfChirp, {1, 0, 1, 0, 20, 1, nan}),
      Source(sig::gfImpulse, {1, 1, -1, -1, 2}),         // a period of 0
      Source(sig::gfImpulse, {0, 0, 0, 0, 2}),
  };
  for (const TFuncSignalLine& line : cases) {
    SCOPED_TRACE(line.P7);
    TSignalGenerator g;
    Configure(g, 100, 100);
    g.Data().SetVal(1.0);
    SetFormula(g, {line});
    EXPECT_EQ(g.Update(), 0);
    EXPECT_EQ(g.ErrorText(), "Invalid expression!");
    for (double x : Samples(g)) ASSERT_EQ(x, 0.0);
  }
  // 0.015 of 100 rounds to 2 samples: a sweep.
  TSignalGenerator g;
  Configure(g, 100, 100);
  SetFormula(g, {Source(sig::gfChirp, {1, 0, 1, 0, 20, 1, 0.015})});
  g.Update();
  EXPECT_EQ(g.ErrorText(), "");
}

TEST(GeneratorWaveforms, ANegativeImpulsePeriodRunsTheTrainBackwards) {
  TSignalGenerator g;
  Configure(g, 16, 4);
  // The slot's vector holds 5s from the first formula when the second one
  // is set up: none of them may show through.
  SetFormula(g, {Source(sig::gfConstant, {5})});
  g.Update();
  SetFormula(g, {Source(sig::gfImpulse, {-1, -1, -1, -1, 2})});
  g.Update();
  EXPECT_EQ(g.ErrorText(), "");
  const std::vector<double> period = {0, 0.5, 1, 1.5, 2, 2, 2, 2, 2, 1.5, 1, 0.5, 0, 0, 0, 0};
  const std::vector<double> made = Samples(g);
  for (int n = 0; n < 16; ++n) EXPECT_EQ(made[n], period[(16 - n) % 16]) << n;
}

TEST(GeneratorWaveforms, RandomLinesRepeatWhenRestartedAndRunOnWhenContinuous) {
  for (std::uint8_t type : {sig::gfRandGauss, sig::gfRandUniform}) {
    SCOPED_TRACE(int(type));
    const auto restarted = Blocks(Source(type, {2, 3}, false), 64, 100, 2);
    EXPECT_EQ(restarted[0], restarted[1]);
    // Each restart starts the same sequence, also in another generator.
    EXPECT_EQ(Blocks(Source(type, {2, 3}, false), 64, 100, 1)[0], restarted[0]);
    const auto continuous = Blocks(Source(type, {2, 3}, true), 64, 100, 2);
    EXPECT_NE(continuous[0], continuous[1]);
  }
  for (double x : Joined(Blocks(Source(sig::gfRandUniform, {2, 3}, true), 64, 100, 3))) {
    EXPECT_GE(x, 2.0);
    EXPECT_LE(x, 3.0);
  }
  const std::vector<double> g = Blocks(Source(sig::gfRandGauss, {2, 3}, false, true), 64, 100, 1)[0];
  EXPECT_EQ(g.size(), 128u);
}

TEST(GeneratorWaveforms, AConstantIsRealOrComplex) {
  EXPECT_EQ(Blocks(Source(sig::gfConstant, {1.5, 2}), 3, 10, 1)[0], (std::vector<double>{1.5, 1.5, 1.5}));
  EXPECT_EQ(Blocks(Source(sig::gfConstant, {1.5, 2}, true, true), 2, 10, 1)[0], (std::vector<double>{1.5, 2, 1.5, 2}));
}

TEST(GeneratorWaveforms, ImpulseSquareAndChirpAreRealWhateverTheLineSays) {
  for (std::uint8_t type : {sig::gfImpulse, sig::gfSquare, sig::gfChirp}) {
    TSignalGenerator g;
    Configure(g, 12, 100);
    SetFormula(g, {Source(type, {10, 1, 1, 1, 5, 1, 0}, true, true)});
    g.Update();
    EXPECT_EQ(g.ErrorText(), "") << int(type);
    EXPECT_FALSE(g.Data().Complex()) << int(type);
    EXPECT_EQ(g.Length(), 12);
  }
}

}  // namespace

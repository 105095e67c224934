// The averaging stage on hand-built frames: the mean, exponential, peak-hold
// and peak-and-decay averages, restarts, the deviation and limits, and the
// setters' clamps.
// Covers signal/SpectrumStats.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "signal/Spectrum.h"
#include "signal/SpectrumStats.h"
#include "testing/TestSupport.h"

namespace sig {
namespace {

using orvel::testing::NearRel;

// An owner whose frame is set by hand: amplitudes and phases.
struct TFrames {
  TSpectrum Owner;
  TSpectrumStats Stats{Owner};

  void Frame(const std::vector<double>& Amplt, const std::vector<double>& Phase) {
    Owner.Amplt().SetIt(false, Amplt);
    Owner.Phase().SetIt(false, Phase);
    Stats.Update();
  }
  double Held(int i) const { return Stats.AveragedSpectrum().Amplt().GetValue(i); }
  double HeldPhase(int i) const { return Stats.AveragedSpectrum().Phase().GetValue(i); }
};

TEST(SpectrumStats, NoAveragingCountsNothingAndKeepsNoAverage) {
  TFrames f;
  f.Frame({1, 2}, {3, 4});
  f.Frame({5, 6}, {7, 8});
  EXPECT_EQ(f.Stats.Averaged(), 0u);
  EXPECT_EQ(f.Stats.AveragedSpectrum().Length(), 64);
  EXPECT_EQ(f.Stats.StdDev().Count(), 0);
}

TEST(SpectrumStats, LinearMeanOfThreeFrames) {
  TFrames f;
  f.Stats.SetAveraging(avLinearInf);
  f.Frame({1, 2}, {10, 20});
  f.Frame({3, 6}, {30, 40});
  f.Frame({8, 1}, {50, 0});
  EXPECT_EQ(f.Stats.Averaged(), 3u);
  EXPECT_TRUE(NearRel(f.Held(0), 4.0, 1e-15));
  EXPECT_TRUE(NearRel(f.Held(1), 3.0, 1e-15));
  EXPECT_TRUE(NearRel(f.HeldPhase(0), 30.0, 1e-15));
  EXPECT_TRUE(NearRel(f.HeldPhase(1), 20.0, 1e-15));
}

TEST(SpectrumStats, ExponentialAverageWeighsTheNewestFrameByOneOverExpDecay) {
  TFrames f;
  f.Stats.SetAveraging(avExponentInf);
  f.Stats.SetExpDecay(4);
  f.Frame({8}, {0});
  f.Frame({4}, {40});
  EXPECT_TRUE(NearRel(f.Held(0), (8.0 * 3 + 4) / 4, 1e-15));
  EXPECT_TRUE(NearRel(f.HeldPhase(0), 10.0, 1e-15));
  // ExpDecay 1 gives the newest frame alone (weight n - 1 = 0 on the past).
  f.Stats.SetExpDecay(1);
  f.Frame({8}, {0});
  f.Frame({2}, {5});
  EXPECT_EQ(f.Held(0), 2.0);
  EXPECT_EQ(f.HeldPhase(0), 5.0);
}

TEST(SpectrumStats, PeakHoldWithNoAveragesReplacesAPeakOnTheSecondFrameAfterIt) {
  TFrames f;
  f.Stats.SetAveraging(avPeakHold);
  f.Stats.SetAverages(0);
  f.Frame({5}, {1});
  EXPECT_EQ(f.Held(0), 5.0);
  f.Frame({1}, {1});
  EXPECT_EQ(f.Held(0), 5.0);
  f.Frame({1}, {1});
  EXPECT_EQ(f.Held(0), 1.0);
}

TEST(SpectrumStats, HeldPeakOutlivesAveragesPlusOneFramesAtMost) {
  TFrames f;
  f.Stats.SetAveraging(avPeakHoldInf);
  f.Stats.SetAverages(2);
  f.Frame({9, 1}, {0, 0});
  for (int frame = 0; frame < 3; ++frame) {
    f.Frame({2, 3}, {0, 0});
    EXPECT_EQ(f.Held(0), 9.0) << frame;
    EXPECT_EQ(f.Held(1), 3.0) << frame;
  }
  f.Frame({2, 3}, {0, 0});
  EXPECT_EQ(f.Held(0), 2.0);
}

TEST(SpectrumStats, PeakAndDecayDecaysByOneOverExpDecayAFrame) {
  TFrames f;
  f.Stats.SetAveraging(avPeakAndDecay);
  f.Stats.SetExpDecay(4);
  f.Frame({8}, {4});
  f.Frame({1}, {1});
  EXPECT_EQ(f.Held(0), 6.0);
  EXPECT_EQ(f.HeldPhase(0), 3.0);
  f.Frame({7}, {1});
  EXPECT_EQ(f.Held(0), 7.0);
}

// Without a phase the owner's Phase is empty: the held phase follows it and
// no phase bin is read or written.
TEST(SpectrumStats, PeakModesOfASpectrumWithoutPhaseTouchOnlyItsAmplitudes) {
  for (TAveraging mode : {avPeakHold, avPeakHoldInf, avPeakAndDecay}) {
    TFrames f;
    f.Owner.SetPhaseMode(pmIgnore);
    f.Stats.SetAveraging(mode);
    for (int frame = 0; frame < 3; ++frame) f.Frame({1, 2, 3, 4}, {});
    EXPECT_EQ(f.Stats.AveragedSpectrum().Phase().Length(), 0) << mode;
    EXPECT_EQ(f.Held(3), 4.0) << mode;
  }
}

TEST(SpectrumStats, ALengthChangeRestartsTheAverage) {
  TFrames f;
  f.Stats.SetAveraging(avLinearInf);
  f.Frame({1, 1}, {0, 0});
  f.Frame({3, 3}, {0, 0});
  f.Frame({5, 5, 5}, {0, 0, 0});
  EXPECT_EQ(f.Stats.Averaged(), 1u);
  EXPECT_EQ(f.Held(2), 5.0);
}

TEST(SpectrumStats, StandardDeviationFromTheSecondFrameOnAndLimitsWithIt) {
  TFrames f;
  f.Stats.SetAveraging(avLinear);
  f.Stats.SetCalcStdDev(true);
  f.Stats.SetCalcLimits(true);
  f.Frame({1, 2}, {10, 10});
  f.Frame({3, 2}, {30, 10});
  ASSERT_EQ(f.Stats.StdDev().Count(), 2);
  EXPECT_TRUE(NearRel(f.Stats.StdDev().Items(0).GetValue(0), std::sqrt(2.0), 1e-15));
  EXPECT_EQ(f.Stats.StdDev().Items(0).GetValue(1), 0.0);
  EXPECT_TRUE(NearRel(f.Stats.StdDev().Items(1).GetValue(0), std::sqrt(200.0), 1e-15));
  const double z = f.Stats.LimitFactor();
  EXPECT_TRUE(NearRel(f.Stats.UpperLimit().Items(0).GetValue(0), 2.0 + z * std::sqrt(2.0), 1e-15));
  EXPECT_TRUE(NearRel(f.Stats.LowerLimit().Items(1).GetValue(0), 20.0 - z * std::sqrt(200.0), 1e-15));
}

TEST(SpectrumStats, LimitsNeedTheDeviationAndTheExponentialModeKeepsNone) {
  TFrames f;
  f.Stats.SetAveraging(avLinearInf);
  f.Stats.SetCalcLimits(true);
  f.Frame({1}, {1});
  f.Frame({3}, {1});
  EXPECT_EQ(f.Stats.UpperLimit().Count(), 0);
  EXPECT_EQ(f.Stats.LowerLimit().Count(), 0);
  TFrames e;
  e.Stats.SetAveraging(avExponentInf);
  e.Stats.SetCalcStdDev(true);
  e.Stats.SetCalcLimits(true);
  for (double v : {1.0, 3.0, 2.0}) e.Frame({v}, {v});
  EXPECT_EQ(e.Stats.StdDev().Count(), 0);
  EXPECT_EQ(e.Stats.UpperLimit().Count(), 0);
}

TEST(SpectrumStats, ResetRestartsAndClearsHeldPeaks) {
  TFrames f;
  f.Stats.SetAveraging(avPeakHoldInf);
  f.Frame({4, 5}, {1, 1});
  f.Stats.Reset();
  EXPECT_EQ(f.Stats.Averaged(), 0u);
  EXPECT_EQ(f.Held(0), 0.0);
  EXPECT_EQ(f.Held(1), 0.0);
}

// The analyser averages these modes and counts their frames itself: the
// stats' own (unused) spectrum must not restart that count.
TEST(SpectrumStats, ComplexModesLeaveTheCountToTheAnalyser) {
  TFrames f;
  f.Stats.SetAveraging(avCplxLinearInf);
  f.Stats.SetAveraged(7);
  f.Frame({1, 2, 3}, {0, 0, 0});
  EXPECT_EQ(f.Stats.Averaged(), 7u);
}

TEST(SpectrumStats, TheCountWrapsAfterTheLargestCardinal) {
  TFrames f;
  f.Stats.SetAveraged(std::numeric_limits<std::uint32_t>::max());
  f.Stats.CountFrame();
  EXPECT_EQ(f.Stats.Averaged(), 0u);
}

TEST(SpectrumStats, SettersClampAndRestart) {
  TSpectrum owner;
  TSpectrumStats s(owner);
  EXPECT_EQ(s.ExpDecay(), 5);
  EXPECT_EQ(s.Averages(), 30u);
  EXPECT_EQ(s.ConfidenceInterval(), 99.0);
  EXPECT_TRUE(NearRel(s.LimitFactor(), 2.5758293035489, 1e-12));
  s.SetAveraged(3);
  s.SetExpDecay(0);
  EXPECT_EQ(s.ExpDecay(), 1);
  EXPECT_EQ(s.Averaged(), 0u);
  s.SetExpDecay(-4);
  EXPECT_EQ(s.ExpDecay(), 1);
  s.SetConfidenceInterval(100.0);
  EXPECT_EQ(s.ConfidenceInterval(), 99.99999);
  EXPECT_TRUE(NearRel(s.LimitFactor(), 5.326723886, 1e-9));
  s.SetConfidenceInterval(0.5);
  EXPECT_EQ(s.ConfidenceInterval(), 1.0);
  EXPECT_TRUE(NearRel(s.LimitFactor(), 0.01253347, 1e-6));
  s.SetConfidenceInterval(std::nan(""));
  EXPECT_EQ(s.ConfidenceInterval(), 1.0);
  s.SetAveraged(3);
  s.SetCalcStdDev(true);
  EXPECT_EQ(s.Averaged(), 0u);
  s.SetAveraged(3);
  s.SetAveraging(avLinear);
  EXPECT_EQ(s.Averaged(), 0u);
}

}  // namespace
}  // namespace sig

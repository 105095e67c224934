// The quote spectrum window's range of bars, its texts and the spectrum by
// period.
// Covers: formSpectrumRange.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "testing/TestSupport.h"
#include "workbench/logic/HistoryFile.h"
#include "workbench/logic/formSpectrumRange.h"

namespace workbench {
namespace {

using orvel::testing::RaisedMessage;

TEST(SpectrumRange, TrackBarsOfAHistory) {
  struct TCase {
    int LastIndex;
    TRangeTrackBars Bars;
  };
  const TCase cases[] = {
      {999, {999, 20, 1, 999, 10}},    // a tick every 19.98 bars, rounded
      {1025, {1025, 20, 1, 1025, 10}},  // 20.5 rounds to even
      {1075, {1075, 22, 1, 1075, 10}},  // 21.5 rounds to even
      {4999, {4999, 100, 1, 4999, 10}},
      {24, {24, 0, 1, 24, 10}},
      {5, {5, 0, 1, 5, 5}},      // a short history gives the bars it has
      {1, {1, 0, 1, 1, 1}},
      {0, {0, 0, 0, 0, 0}},   // one bar: the track bars stop at it
      {-1, {0, 0, 0, 0, 0}},  // no bars
  };
  for (const TCase& c : cases) EXPECT_EQ(RangeTrackBars(c.LastIndex), c.Bars) << c.LastIndex;
}

TEST(SpectrumRange, TheRangeKeepsElevenBarsWhereTheHistoryHasThem) {
  struct TCase {
    int From, To, Expected;
  };
  const TCase cases[] = {
      {45, 50, 40},    // tbTo moved to 50 while tbFrom was 45
      {1, 999, 1},     // a wide range stays
      {40, 50, 40},    // exactly 11 bars
      {41, 50, 40},
      {900, 500, 490},  // tbFrom moved past tbTo comes back to 11 bars before it
      {1, 5, 0},        // a history of six bars gives all six
      {0, 0, 0},        // one bar
      {3, 12, 2},
  };
  for (const TCase& c : cases) EXPECT_EQ(RangeFrom(c.From, c.To), c.Expected) << c.From << ".." << c.To;
}

THistory HistoryOf(std::int32_t period, int bars) {
  THistory history;
  history.Period = period;
  history.LastIndex = bars - 1;
  for (int i = 0; i < bars; ++i) {
    THistoryBar bar;
    // 2024-03-15 10:00 UTC plus i periods.
    bar.Time = 1710496800 + i * period * 60;
    bar.Open = 1.1 + i * 0.001;
    bar.Low = bar.Open - 0.002;
    bar.High = bar.Open + 0.003;
    bar.Close = bar.Open + 0.0005 * (i % 3);
    history.Bars.push_back(bar);
  }
  return history;
}

TEST(SpectrumRange, BarLabelsShowTheBarsTime) {
  TPriceChart hourly;
  SetHistoryBars(hourly, HistoryOf(60, 30));
  EXPECT_EQ(RangeBarLabel(hourly, 0), "bar 0 15.03.24 10:00");
  EXPECT_EQ(RangeBarLabel(hourly, 25), "bar 25 16.03.24 11:00");
  TPriceChart daily;
  SetHistoryBars(daily, HistoryOf(1440, 30));
  EXPECT_EQ(RangeBarLabel(daily, 3), "bar 3 18.03.24");
  // A position the track bars may hold before any history is open.
  EXPECT_EQ(RangeBarLabel(TPriceChart{}, 100), "bar 100");
  EXPECT_EQ(RangeBarLabel(daily, 30), "bar 30");
  EXPECT_EQ(RangeBarLabel(daily, -1), "bar -1");
}

TEST(SpectrumRange, ClosesOfTheRange) {
  TPriceChart chart;
  const THistory history = HistoryOf(60, 30);
  SetHistoryBars(chart, history);
  std::vector<double> closes(11, -1.0);
  RangeCloses(chart, 5, 15, closes);
  for (int i = 0; i < 11; ++i) EXPECT_EQ(closes[static_cast<std::size_t>(i)], history.Bars[static_cast<std::size_t>(5 + i)].Close);

  // A range the candles do not hold, or room of another size, writes nothing.
  std::vector<double> untouched(11, -1.0);
  EXPECT_EQ(RaisedMessage([&] { RangeCloses(chart, 20, 30, untouched); }), "The bars 20 .. 30 are not among the 30 candles");
  EXPECT_EQ(RaisedMessage([&] { RangeCloses(chart, -1, 9, untouched); }), "The bars -1 .. 9 are not among the 30 candles");
  EXPECT_EQ(RaisedMessage([&] { RangeCloses(chart, 9, 8, untouched); }), "The bars 9 .. 8 are not among the 30 candles");
  EXPECT_EQ(RaisedMessage([&] { RangeCloses(chart, 0, 11, untouched); }),
            "Room for 11 closes, not for the 12 bars of the range");
  EXPECT_EQ(untouched, std::vector<double>(11, -1.0));
}

TEST(SpectrumRange, SpectrumByPeriod) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  // Lines as a spectrum chart holds them: ascending frequency from 0.
  const std::vector<double> frequencies = {0, 0.0025, 0.004, 0.005, 0.01, 0.25, 0.3, 0.5};
  const std::vector<double> values = {99, 50, 40, 7, 3, 4, nan, 1};
  const TPeriodSpectrum s = SpectrumByPeriod(frequencies, values);
  // Frequency 0 has no period, and a value that is not a number is no point.
  EXPECT_EQ(s.Periods, (std::vector<double>{2, 4, 100, 200, 250, 400}));
  EXPECT_EQ(s.Values, (std::vector<double>{1, 4, 3, 7, 40, 50}));
  // Periods of 200 bars and more are drawn, but the scale follows the
  // shorter ones only; the line at frequency 0 counts for nothing.
  EXPECT_EQ(s.Maximum, 4);
  EXPECT_EQ(s.Minimum, 0);
}

TEST(SpectrumRange, ADecibelSpectrumReachesDownTheScale) {
  // Lines of a logarithmic spectrum lie below 0 dB: the scale spans them,
  // up to 0, by the periods below 200 bars only.
  const TPeriodSpectrum s = SpectrumByPeriod(std::vector<double>{0.001, 0.1, 0.25, 0.5},
                                             std::vector<double>{-150, -20, -3, -60});
  EXPECT_EQ(s.Periods, (std::vector<double>{2, 4, 10, 1000}));
  EXPECT_EQ(s.Minimum, -60);
  EXPECT_EQ(s.Maximum, 0);
}

TEST(SpectrumRange, TinyScalesLabelInExponentForm) {
  struct TCase {
    double Lo, Hi;
    bool Exponent;
  } const cases[] = {
      {0, 1.5e-5, true},   // the power of hourly closes
      {0, 0.0099, true},   //
      {0, 0.01, false},    // three decimals tell 0.001 steps apart
      {-120, 0, false},    // decibels
      {0, 0, false},       // nothing to label
      {-1e-4, 0, true},    //
  };
  for (const TCase& c : cases)
    EXPECT_EQ(SpectrumScaleNeedsExponent(c.Lo, c.Hi), c.Exponent) << c.Lo << " .. " << c.Hi;
}

TEST(SpectrumRange, SpectrumByPeriodOfOtherLines) {
  // A spectrum around 0: the points still come in period order.
  const TPeriodSpectrum around = SpectrumByPeriod(std::vector<double>{-0.5, -0.25, 0, 0.25, 0.5},
                                                  std::vector<double>{1, 2, 3, 4, 5});
  EXPECT_EQ(around.Periods, (std::vector<double>{-4, -2, 2, 4}));
  EXPECT_EQ(around.Values, (std::vector<double>{2, 1, 5, 4}));
  EXPECT_EQ(around.Maximum, 5);
  // Only values above 0 raise the scale.
  const TPeriodSpectrum silent = SpectrumByPeriod(std::vector<double>{0, 0.1, 0.2}, std::vector<double>{0, 0, -1});
  EXPECT_EQ(silent.Periods, (std::vector<double>{5, 10}));
  EXPECT_EQ(silent.Maximum, 0);
  EXPECT_EQ(silent.Minimum, -1);
  EXPECT_TRUE(SpectrumByPeriod({}, {}).Periods.empty());
  // A line so close to 0 that its period overflows has no point either.
  const TPeriodSpectrum tiny = SpectrumByPeriod(std::vector<double>{1e-310, 0.5}, std::vector<double>{8, 2});
  EXPECT_EQ(tiny.Periods, (std::vector<double>{2}));
}

}  // namespace
}  // namespace workbench

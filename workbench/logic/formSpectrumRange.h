// The quote spectrum window without the window: the range of bars its two
// track bars choose, the texts beside them and the close prices of the
// range, and the spectrum drawn again against the period in bars.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "workbench/logic/formRemezPreview.h"

namespace workbench {

// A range spans at least this many bars after its first one (11 bars), as
// far as the history has them.
inline constexpr int MinimumRangeSpan = 10;

// The two track bars once a history of lastIndex + 1 bars is open: both run
// over 0 .. lastIndex with a tick every Round(lastIndex / 50) bars (halves
// to even), and the range runs from bar 1 to the last bar.
struct TRangeTrackBars {
  int Maximum = 0;
  int TickFrequency = 0;
  int From = 0, To = 0;
  // The end of the range stops MinimumRangeSpan bars in, so that no drag
  // leaves fewer than 11 bars where the history has them.
  int ToMinimum = 0;
  friend bool operator==(const TRangeTrackBars&, const TRangeTrackBars&) = default;
};
TRangeTrackBars RangeTrackBars(int lastIndex);

// The first bar of the range after a track bar moved: when to - from is
// below MinimumRangeSpan, to - MinimumRangeSpan, but never before bar 0, so
// that a shorter history gives the bars it has.
int RangeFrom(int from, int to);

// "bar <position> <time>", the time as the candle's label begins (its first
// line: the date, with the time of day below daily bars); "bar <position>"
// where the chart has no such candle.
std::string RangeBarLabel(const TPriceChart& chart, int position);

// The closes of candles from .. to, in order, into closes (one element per
// candle). Raises, writing nothing, when the range is not within the candles
// or closes is not as long as the range.
void RangeCloses(const TPriceChart& chart, int from, int to, std::span<double> closes);

// Periods of this many bars and more are drawn but leave the vertical scale alone.
inline constexpr double SpectrumPeriodLimit = 200;

// A spectrum against the period in bars, the periods ascending.
struct TPeriodSpectrum {
  std::vector<double> Periods;
  std::vector<double> Values;
  // The largest value at a period below SpectrumPeriodLimit, and 0 when
  // there is none above 0.
  double Maximum = 0;
  // The smallest value at a period below SpectrumPeriodLimit, and 0 when
  // there is none below 0: a spectrum in decibels lies below 0, and the
  // scale reaches down to it.
  double Minimum = 0;
};
// The lines (frequency in cycles per bar, value) of a spectrum as points
// (1 / frequency, value). A line at frequency 0 has no period and is left
// out, as are lines whose period or value is not finite.
TPeriodSpectrum SpectrumByPeriod(std::span<const double> frequencies, std::span<const double> values);

// Whether a scale over lo .. hi needs its labels in exponent form: the
// powers of price changes are so small that labels with three decimals
// would all read 0.
bool SpectrumScaleNeedsExponent(double lo, double hi);
// The label format of such a scale.
inline constexpr const char* SpectrumExponentFormat = "0.##E+0";

}  // namespace workbench

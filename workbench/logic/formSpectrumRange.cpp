// The spectrum window's bar range, its texts and the spectrum by period.
// Tested by: tests/SpectrumRangeTest.cpp
#include "workbench/logic/formSpectrumRange.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "platform/classlib/Exception.h"

namespace workbench {

TRangeTrackBars RangeTrackBars(int lastIndex) {
  TRangeTrackBars bars;
  bars.Maximum = std::max(lastIndex, 0);
  bars.TickFrequency = static_cast<int>(std::nearbyint(bars.Maximum / 50.0));
  // Bar 1 is the first of the range as long as there is a bar 1.
  bars.From = std::min(1, bars.Maximum);
  bars.To = bars.Maximum;
  bars.ToMinimum = std::min(MinimumRangeSpan, bars.Maximum);
  return bars;
}

int RangeFrom(int from, int to) {
  if (to - MinimumRangeSpan < from) from = to - MinimumRangeSpan;
  return std::max(from, 0);
}

std::string RangeBarLabel(const TPriceChart& chart, int position) {
  std::string label = "bar " + std::to_string(position);
  if (position < 0 || static_cast<std::size_t>(position) >= chart.Bars.size()) return label;
  const std::string& text = chart.Bars[static_cast<std::size_t>(position)].Label;
  return label + " " + text.substr(0, text.find('\r'));
}

void RangeCloses(const TPriceChart& chart, int from, int to, std::span<double> closes) {
  const auto count = static_cast<std::ptrdiff_t>(chart.Bars.size());
  if (from < 0 || to < from || to >= count)
    throw classlib::Exception("The bars " + std::to_string(from) + " .. " + std::to_string(to) + " are not among the " +
                              std::to_string(count) + " candles");
  if (closes.size() != static_cast<std::size_t>(to - from + 1))
    throw classlib::Exception("Room for " + std::to_string(closes.size()) + " closes, not for the " +
                              std::to_string(to - from + 1) + " bars of the range");
  for (int i = from; i <= to; ++i) closes[static_cast<std::size_t>(i - from)] = chart.Bars[static_cast<std::size_t>(i)].Close;
}

TPeriodSpectrum SpectrumByPeriod(std::span<const double> frequencies, std::span<const double> values) {
  TPeriodSpectrum result;
  const std::size_t n = std::min(frequencies.size(), values.size());
  result.Periods.reserve(n);
  result.Values.reserve(n);
  // The lines come by ascending frequency: from the last one back, the
  // periods ascend, and a chart takes them in order without sorting.
  for (std::size_t k = n; k-- > 0;) {
    const double f = frequencies[k], y = values[k];
    if (f == 0) continue;
    const double period = 1 / f;
    if (!std::isfinite(period) || !std::isfinite(y)) continue;
    result.Periods.push_back(period);
    result.Values.push_back(y);
    if (period < SpectrumPeriodLimit) {
      result.Maximum = std::max(result.Maximum, y);
      result.Minimum = std::min(result.Minimum, y);
    }
  }
  if (!std::is_sorted(result.Periods.begin(), result.Periods.end())) {
    // Lines not in ascending frequency (a spectrum around 0, say): the
    // points still go in period order.
    std::vector<std::size_t> order(result.Periods.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      return result.Periods[a] < result.Periods[b];
    });
    TPeriodSpectrum sorted;
    sorted.Maximum = result.Maximum;
    sorted.Minimum = result.Minimum;
    sorted.Periods.reserve(order.size());
    sorted.Values.reserve(order.size());
    for (const std::size_t i : order) {
      sorted.Periods.push_back(result.Periods[i]);
      sorted.Values.push_back(result.Values[i]);
    }
    return sorted;
  }
  return result;
}

bool SpectrumScaleNeedsExponent(double lo, double hi) {
  const double largest = std::max(std::fabs(lo), std::fabs(hi));
  return largest > 0 && largest < 0.01;
}

}  // namespace workbench

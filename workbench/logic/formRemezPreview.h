// The filter generator's price chart without the window: its candles
// (synthetic, from a CSV quote file or from the loaded history), the preview
// of the indicator over them, and the bars in view with their zoom.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/classlib/SysUtils.h"
#include "workbench/logic/Classes_Remez.h"
#include "workbench/logic/QuoteCsv.h"

namespace workbench {

// One candle of the price chart; X is its position on the bottom axis.
struct TPriceBar {
  double X = 0;
  double Open = 0, High = 0, Low = 0, Close = 0;
  std::string Label;
  friend bool operator==(const TPriceBar&, const TPriceBar&) = default;
};

// The zoom levels of the price chart.
inline constexpr int MinZoomLevel = 1;
inline constexpr int MaxZoomLevel = 5;
inline constexpr int DefaultZoomLevel = 4;

// The candles and the bars in view. Bar indices are indices into Bars; the
// first and last bar index bound the view and the preview.
struct TPriceChart {
  std::vector<TPriceBar> Bars;
  int FirstIndex = 0, LastIndex = 0;
  int ViewStart = 0, ViewEnd = 0;
  int VisibleCount = 0;
  int ZoomLevel = DefaultZoomLevel;
};

// Synthetic candles: how many, and the candle label's price format.
inline constexpr int SyntheticBarCount = 2501;

// A plausible random price walk of SyntheticBarCount candles from `seed`,
// bar i at X = i dated `today` minus (2500 - i) days. Every price is
// positive and low <= open, close <= high; the label is the date "dd.mm.yy"
// and, each after a CR LF, "Open: ", "High: ", "Low: ", "Close: " with the
// price in fixed notation (8 significant digits, 4 decimals).
std::vector<TPriceBar> GenerateSyntheticBars(classlib::TDateTime today, std::uint64_t seed);

// Fill the chart, keeping its zoom level: synthetic candles show bars 1 ..
// 2500; CSV candles (bar n at X = n + 1) bars 0 .. the number of candles; the
// loaded history (bar i at X = i + 1, labelled as HistoryBarLabel says) bars
// 0 .. its last index. The view ends at the last bar.
void SetSyntheticBars(TPriceChart& chart, std::vector<TPriceBar> bars);
void SetQuoteBars(TPriceChart& chart, const std::vector<TQuoteBar>& quotes);
void SetHistoryBars(TPriceChart& chart, const THistory& history);

// The indicator over the candles. Values has one entry per bar and one more;
// bar i from FirstIndex + count + 1 to the last bar gets the sum of
// coefficient k times the price of bar i - k over the bars after bar 0 (the
// close, or (high + low) / 2 with midPrice); each of them but the last bar
// index also gets a point (X of bar i, value) of the preview line.
struct TPreview {
  std::vector<double> Values;
  std::vector<std::pair<double, double>> Points;
};
TPreview ComputePreview(const TPriceChart& chart, std::span<const double> coefficients, bool midPrice);

// Candle width and spacing in pixels of a zoom level (any other level as 4).
struct TCandleZoom {
  int Width = 5, Spacing = 2;
};
TCandleZoom CandleZoomOf(int zoomLevel);
// Zoom In goes on below maxLevel (a window may let it reach a level past the
// table, drawn as level 4), Zoom Out above level 1.
bool CanZoomIn(int zoomLevel, int maxLevel = MaxZoomLevel);
bool CanZoomOut(int zoomLevel);
// The bars a chart of that width shows: (width - 100) / (candle width + 2
// spacings), rounded down, and at least one.
int VisibleBarCount(int chartWidth, int zoomLevel);

// Sets the visible count for the chart width and moves the view so that it
// ends at ViewEnd, or starts at the first bar when it would begin before it;
// the view never ends past the last bar.
void ApplyChartZoom(TPriceChart& chart, int chartWidth);

// Moves the view's end by `bars` (negative: to older bars) within the bars;
// the caller applies the zoom after it.
void ScrollView(TPriceChart& chart, int bars);

enum TViewKey : std::uint8_t { vkHome, vkEnd, vkLeft, vkRight };
// Home shows the first bars, End the last, Left and Right move by 3 bars.
void ApplyViewKey(TPriceChart& chart, TViewKey key);

// The bars whose X lies on the bottom axis of the view, [ViewStart, ViewEnd + 1]:
// the first index and one past the last.
std::pair<int, int> BarsInView(const TPriceChart& chart);

// The smallest and largest of the values in view, zeros left out; Valid is
// false when every value in view is 0.
struct TValueRange {
  bool Valid = false;
  double Min = 0, Max = 0;
};
// Lows and highs of the candles in view.
TValueRange PriceRangeInView(const TPriceChart& chart);
// Preview values of the bars in view.
TValueRange PreviewRangeInView(const TPriceChart& chart, std::span<const double> previewValues);

}  // namespace workbench

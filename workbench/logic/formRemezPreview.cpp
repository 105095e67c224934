// The generator's price chart: candles, preview, view and zoom.
// Tested by: tests/GeneratorPreviewTest.cpp
#include "workbench/logic/formRemezPreview.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include "workbench/logic/HistoryFile.h"

namespace workbench {

namespace {

const classlib::TFormatSettings& PointSettings() {
  static const classlib::TFormatSettings settings = [] {
    classlib::TFormatSettings s;
    s.DecimalSeparator = '.';
    s.DateSeparator = '.';
    return s;
  }();
  return settings;
}

std::string SyntheticLabel(classlib::TDateTime date, const TPriceBar& bar) {
  std::string label = classlib::FormatDateTime("dd.mm.yy", date, PointSettings());
  const auto price = [&](const char* word, double value) {
    label += "\r\n";
    label += word;
    label += classlib::FloatToStrF(value, classlib::ffFixed, 8, 4, PointSettings());
  };
  price("Open: ", bar.Open);
  price("High: ", bar.High);
  price("Low: ", bar.Low);
  price("Close: ", bar.Close);
  return label;
}

void ViewAtEnd(TPriceChart& chart, int firstIndex, int lastIndex, int viewEnd) {
  chart.FirstIndex = firstIndex;
  chart.LastIndex = lastIndex;
  chart.ViewEnd = viewEnd;
  chart.ViewStart = firstIndex;
}

TValueRange RangeOf(const TPriceChart& chart, const auto& valuesOfBar) {
  TValueRange range;
  const auto [first, end] = BarsInView(chart);
  for (int i = first; i < end; ++i) {
    for (const double v : valuesOfBar(i)) {
      if (v == 0 || !std::isfinite(v)) continue;
      if (!range.Valid) {
        range = {true, v, v};
      } else {
        range.Min = std::min(range.Min, v);
        range.Max = std::max(range.Max, v);
      }
    }
  }
  return range;
}

}  // namespace

std::vector<TPriceBar> GenerateSyntheticBars(classlib::TDateTime today, std::uint64_t seed) {
  // A multiplicative walk with daily steps of about 1 % and wicks beyond the
  // body: it looks like prices and never reaches zero.
  std::mt19937_64 random(seed);
  std::normal_distribution<double> step(0.0, 0.01);
  std::normal_distribution<double> wick(0.0, 0.004);
  std::vector<TPriceBar> bars(SyntheticBarCount);
  double close = 100.0;
  for (int i = 0; i < SyntheticBarCount; ++i) {
    TPriceBar& bar = bars[i];
    bar.X = i;
    bar.Open = close;
    close = std::max(close * (1 + step(random)), 1.0);
    bar.Close = close;
    bar.High = std::max(bar.Open, bar.Close) * (1 + std::fabs(wick(random)));
    bar.Low = std::min(bar.Open, bar.Close) * (1 - std::fabs(wick(random)));
    bar.Label = SyntheticLabel(std::floor(today) - (SyntheticBarCount - 1 - i), bar);
  }
  return bars;
}

void SetSyntheticBars(TPriceChart& chart, std::vector<TPriceBar> bars) {
  chart.Bars = std::move(bars);
  ViewAtEnd(chart, 1, SyntheticBarCount - 1, SyntheticBarCount - 1);
}

void SetQuoteBars(TPriceChart& chart, const std::vector<TQuoteBar>& quotes) {
  std::vector<TPriceBar> bars;
  bars.reserve(quotes.size());
  for (std::size_t n = 0; n < quotes.size(); ++n) {
    const TQuoteBar& q = quotes[n];
    bars.push_back({static_cast<double>(n + 1), q.Open, q.High, q.Low, q.Close, q.Label});
  }
  chart.Bars = std::move(bars);
  const int count = static_cast<int>(quotes.size());
  ViewAtEnd(chart, 0, count, count);
}

void SetHistoryBars(TPriceChart& chart, const THistory& history) {
  std::vector<TPriceBar> bars;
  const int last = std::min<int>(history.LastIndex, static_cast<int>(history.Bars.size()) - 1);
  bars.reserve(last + 1);
  for (int i = 0; i <= last; ++i) {
    const THistoryBar& b = history.Bars[i];
    bars.push_back({static_cast<double>(i + 1), b.Open, b.High, b.Low, b.Close, HistoryBarLabel(b, history.Period)});
  }
  chart.Bars = std::move(bars);
  ViewAtEnd(chart, 0, last, last + 1);
}

TPreview ComputePreview(const TPriceChart& chart, std::span<const double> c, bool midPrice) {
  TPreview preview;
  const int bars = static_cast<int>(chart.Bars.size());
  preview.Values.assign(static_cast<std::size_t>(std::max(bars, chart.LastIndex + 1)) + 1, 0.0);
  const int K = static_cast<int>(c.size());
  if (K < 1) return preview;
  const auto price = [&](int j) {
    const TPriceBar& b = chart.Bars[j];
    return midPrice ? (b.High + b.Low) / 2 : b.Close;
  };
  const int last = std::min(chart.LastIndex, bars - 1);
  for (int i = std::max(chart.FirstIndex + K + 1, 0); i <= last; ++i) {
    double y = 0;
    for (int k = 0; k < K && i - k > 0; ++k) y += c[k] * price(i - k);
    if (i < chart.LastIndex) preview.Points.emplace_back(chart.Bars[i].X, y);
    preview.Values[i] = y;
  }
  return preview;
}

TCandleZoom CandleZoomOf(int zoomLevel) {
  switch (zoomLevel) {
    case 1: return {1, 0};
    case 2: return {0, 1};
    case 3: return {3, 1};
    case 5: return {11, 3};
    default: return {5, 2};
  }
}

bool CanZoomIn(int zoomLevel, int maxLevel) { return zoomLevel < maxLevel; }
bool CanZoomOut(int zoomLevel) { return zoomLevel > MinZoomLevel; }

int VisibleBarCount(int chartWidth, int zoomLevel) {
  const TCandleZoom zoom = CandleZoomOf(zoomLevel);
  const int count = static_cast<int>(std::floor((chartWidth - 100.0) / (zoom.Width + 2 * zoom.Spacing)));
  return std::max(count, 1);
}

void ApplyChartZoom(TPriceChart& chart, int chartWidth) {
  chart.VisibleCount = VisibleBarCount(chartWidth, chart.ZoomLevel);
  chart.ViewStart = chart.ViewEnd - chart.VisibleCount;
  if (chart.ViewStart < chart.FirstIndex || chart.ViewEnd - chart.ViewStart < chart.VisibleCount) {
    chart.ViewStart = chart.FirstIndex;
    chart.ViewEnd = chart.FirstIndex + chart.VisibleCount;
  }
  chart.ViewEnd = std::min(chart.ViewEnd, chart.LastIndex);
}

void ScrollView(TPriceChart& chart, int bars) {
  chart.ViewEnd = std::min(chart.ViewEnd + bars, chart.LastIndex);
  chart.ViewStart = std::max(chart.ViewEnd - chart.VisibleCount, chart.FirstIndex);
}

void ApplyViewKey(TPriceChart& chart, TViewKey key) {
  switch (key) {
    case vkHome:
      chart.ViewStart = chart.FirstIndex;
      chart.ViewEnd = chart.FirstIndex + chart.VisibleCount;
      break;
    case vkEnd: chart.ViewEnd = chart.LastIndex; break;
    case vkLeft: chart.ViewEnd -= 3; break;
    case vkRight: chart.ViewEnd += 3; break;
  }
}

std::pair<int, int> BarsInView(const TPriceChart& chart) {
  const auto byX = [](const TPriceBar& bar, double x) { return bar.X < x; };
  const auto first = std::lower_bound(chart.Bars.begin(), chart.Bars.end(), double(chart.ViewStart), byX);
  const auto end = std::upper_bound(first, chart.Bars.end(), chart.ViewEnd + 1.0,
                                    [](double x, const TPriceBar& bar) { return x < bar.X; });
  return {static_cast<int>(first - chart.Bars.begin()), static_cast<int>(end - chart.Bars.begin())};
}

TValueRange PriceRangeInView(const TPriceChart& chart) {
  return RangeOf(chart, [&](int i) {
    return std::array<double, 2>{chart.Bars[i].Low, chart.Bars[i].High};
  });
}

TValueRange PreviewRangeInView(const TPriceChart& chart, std::span<const double> values) {
  return RangeOf(chart, [&](int i) {
    return std::array<double, 1>{static_cast<std::size_t>(i) < values.size() ? values[i] : 0.0};
  });
}

}  // namespace workbench

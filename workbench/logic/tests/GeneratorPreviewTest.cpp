// The generator's price chart: candles, preview, view and zoom.
// Covers: formRemezPreview.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/classlib/SysUtils.h"
#include "workbench/logic/HistoryFile.h"
#include "workbench/logic/formRemezPreview.h"

namespace workbench {
namespace {

std::vector<double> Coefficients(int count) {
  std::vector<double> c(count);
  for (int k = 0; k < count; ++k) c[k] = 1.0 / (k + 1);
  return c;
}

TPriceChart Synthetic() {
  TPriceChart chart;
  SetSyntheticBars(chart, GenerateSyntheticBars(classlib::EncodeDate(2024, 3, 15), 7));
  return chart;
}

TEST(GeneratorPreview, SyntheticBarsArePricesDatedBackFromToday) {
  const std::vector<TPriceBar> bars = GenerateSyntheticBars(classlib::EncodeDate(2024, 3, 15) + 0.75, 7);
  ASSERT_EQ(bars.size(), 2501u);
  for (std::size_t i = 0; i < bars.size(); ++i) {
    const TPriceBar& b = bars[i];
    EXPECT_EQ(b.X, static_cast<double>(i));
    EXPECT_GT(b.Low, 0);
    EXPECT_LE(b.Low, std::min(b.Open, b.Close)) << i;
    EXPECT_GE(b.High, std::max(b.Open, b.Close)) << i;
  }
  EXPECT_EQ(bars[2500].Label.substr(0, 10), "15.03.24\r\n");
  EXPECT_EQ(bars[2499].Label.substr(0, 8), "14.03.24");
  EXPECT_EQ(bars[0].Label.substr(0, 8), "11.05.17");  // 2500 days earlier
  EXPECT_EQ(bars[0].Label.substr(8), "\r\nOpen: 100.0000\r\nHigh: " +
                                         classlib::FloatToStrF(bars[0].High, classlib::ffFixed, 8, 4) +
                                         "\r\nLow: " + classlib::FloatToStrF(bars[0].Low, classlib::ffFixed, 8, 4) +
                                         "\r\nClose: " + classlib::FloatToStrF(bars[0].Close, classlib::ffFixed, 8, 4));
  // The same seed gives the same walk; another seed another one.
  EXPECT_EQ(GenerateSyntheticBars(classlib::EncodeDate(2024, 3, 15), 7)[1000].Close, bars[1000].Close);
  EXPECT_NE(GenerateSyntheticBars(classlib::EncodeDate(2024, 3, 15), 8)[1000].Close, bars[1000].Close);
}

TEST(GeneratorPreview, FiftyOneCoefficientsOverSyntheticCandles) {
  const TPriceChart chart = Synthetic();
  EXPECT_EQ(chart.FirstIndex, 1);
  EXPECT_EQ(chart.LastIndex, 2500);
  EXPECT_EQ(chart.ViewEnd, 2500);
  const std::vector<double> c = Coefficients(51);
  const TPreview preview = ComputePreview(chart, c, false);
  ASSERT_EQ(preview.Values.size(), 2502u);
  ASSERT_FALSE(preview.Points.empty());
  EXPECT_EQ(preview.Points.front().first, 53);
  EXPECT_EQ(preview.Points.back().first, 2499);
  EXPECT_EQ(preview.Points.size(), 2499u - 53 + 1);
  for (int i = 0; i < 53; ++i) EXPECT_EQ(preview.Values[i], 0.0) << i;
  // The newest bar has a value but no point.
  double newest = 0;
  for (int k = 0; k < 51; ++k) newest += c[k] * chart.Bars[2500 - k].Close;
  EXPECT_DOUBLE_EQ(preview.Values[2500], newest);
  double mid = 0;
  for (int k = 0; k < 51; ++k) mid += c[k] * (chart.Bars[1000 - k].High + chart.Bars[1000 - k].Low) / 2;
  EXPECT_DOUBLE_EQ(ComputePreview(chart, c, true).Values[1000], mid);
  EXPECT_TRUE(ComputePreview(chart, {}, false).Points.empty());
}

TEST(GeneratorPreview, CsvBarsEndOnePastTheLastCandleAndAreNeverReadPastIt) {
  std::vector<TQuoteBar> quotes(30);
  for (int n = 0; n < 30; ++n) quotes[n] = {"d t", 1.0 + n, 2.0 + n, 0.5 + n, 1.5 + n};
  TPriceChart chart;
  SetQuoteBars(chart, quotes);
  EXPECT_EQ(chart.Bars[0].X, 1);
  EXPECT_EQ(chart.Bars[29].X, 30);
  EXPECT_EQ(chart.Bars[0].Label, "d t");
  EXPECT_EQ(chart.FirstIndex, 0);
  EXPECT_EQ(chart.LastIndex, 30);
  EXPECT_EQ(chart.ViewEnd, 30);
  const TPreview preview = ComputePreview(chart, Coefficients(3), false);
  ASSERT_EQ(preview.Values.size(), 32u);
  // Bars 4 .. 29 all get points: the last index lies beyond the candles.
  EXPECT_EQ(preview.Points.size(), 26u);
  EXPECT_EQ(preview.Points.back().first, 30);
  EXPECT_EQ(preview.Values[30], 0.0);
}

TEST(GeneratorPreview, HistoryBarsAreLabelledByTheirPeriod) {
  THistory history;
  history.Period = 60;
  for (int i = 0; i < 5; ++i) history.Bars.push_back({1700000000 + 3600 * i, 1.1, 1.0, 1.2, 1.15, 10});
  history.LastIndex = 4;
  TPriceChart chart;
  chart.ZoomLevel = 2;
  SetHistoryBars(chart, history);
  EXPECT_EQ(chart.ZoomLevel, 2);
  ASSERT_EQ(chart.Bars.size(), 5u);
  EXPECT_EQ(chart.Bars[4].X, 5);
  EXPECT_EQ(chart.Bars[4].Label, HistoryBarLabel(history.Bars[4], 60));
  EXPECT_EQ(chart.FirstIndex, 0);
  EXPECT_EQ(chart.LastIndex, 4);
  EXPECT_EQ(chart.ViewEnd, 5);
  // A last index beyond the bars held reads no bar that is not there.
  history.LastIndex = 9;
  SetHistoryBars(chart, history);
  EXPECT_EQ(chart.Bars.size(), 5u);
  EXPECT_EQ(chart.LastIndex, 4);
}

TEST(GeneratorPreview, ZoomLevelsSetCandlesAndVisibleBars) {
  EXPECT_EQ(VisibleBarCount(1000, 1), 900);
  EXPECT_EQ(VisibleBarCount(1000, 5), 52);
  EXPECT_EQ(VisibleBarCount(1000, 4), 100);
  EXPECT_EQ(VisibleBarCount(1000, 9), 100);  // any other level as 4
  EXPECT_EQ(VisibleBarCount(50, 4), 1);      // a chart too narrow still shows a bar
  const struct {
    int level, width, spacing;
    bool in, out;
  } cases[] = {{1, 1, 0, true, false}, {2, 0, 1, true, true}, {3, 3, 1, true, true},
               {4, 5, 2, true, true},  {5, 11, 3, false, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(CandleZoomOf(c.level).Width, c.width) << c.level;
    EXPECT_EQ(CandleZoomOf(c.level).Spacing, c.spacing) << c.level;
    EXPECT_EQ(CanZoomIn(c.level), c.in) << c.level;
    EXPECT_EQ(CanZoomOut(c.level), c.out) << c.level;
  }
}

TEST(GeneratorPreview, ViewMovesWithinTheBars) {
  TPriceChart chart = Synthetic();
  ApplyChartZoom(chart, 1000);  // level 4: 100 bars
  EXPECT_EQ(chart.VisibleCount, 100);
  EXPECT_EQ(chart.ViewStart, 2400);
  EXPECT_EQ(chart.ViewEnd, 2500);

  ApplyViewKey(chart, vkLeft);
  ApplyChartZoom(chart, 1000);
  EXPECT_EQ(chart.ViewEnd, 2497);
  ApplyViewKey(chart, vkRight);
  ApplyViewKey(chart, vkRight);
  ApplyChartZoom(chart, 1000);
  EXPECT_EQ(chart.ViewEnd, 2500);  // never past the last bar
  ApplyViewKey(chart, vkHome);
  ApplyChartZoom(chart, 1000);
  EXPECT_EQ(chart.ViewStart, 1);
  EXPECT_EQ(chart.ViewEnd, 101);
  ApplyViewKey(chart, vkEnd);
  ApplyChartZoom(chart, 1000);
  EXPECT_EQ(chart.ViewEnd, 2500);

  // Dragging to older bars stops at the first one.
  ScrollView(chart, -5000);
  ApplyChartZoom(chart, 1000);
  EXPECT_EQ(chart.ViewStart, 1);
  EXPECT_EQ(chart.ViewEnd, 101);
  ScrollView(chart, 50);
  ApplyChartZoom(chart, 1000);
  EXPECT_EQ(chart.ViewEnd, 151);
  ScrollView(chart, 100000);
  EXPECT_EQ(chart.ViewEnd, 2500);
}

TEST(GeneratorPreview, RangesInViewLeaveZerosOut) {
  TPriceChart chart;
  std::vector<TQuoteBar> quotes = {{"", 5, 6, 4, 5}, {"", 5, 9, 0, 5}, {"", 5, 7, 3, 5}, {"", 5, 20, 1, 5}};
  SetQuoteBars(chart, quotes);  // X = 1 .. 4
  chart.ViewStart = 1;
  chart.ViewEnd = 2;  // the bottom axis shows [1, 3]: bars 0 .. 2
  EXPECT_EQ(BarsInView(chart), (std::pair<int, int>{0, 3}));
  const TValueRange prices = PriceRangeInView(chart);
  EXPECT_TRUE(prices.Valid);
  EXPECT_EQ(prices.Min, 3);
  EXPECT_EQ(prices.Max, 9);
  const std::vector<double> preview = {0, 2.5, 0, 100, 0};
  const TValueRange values = PreviewRangeInView(chart, preview);
  EXPECT_TRUE(values.Valid);
  EXPECT_EQ(values.Min, 2.5);
  EXPECT_EQ(values.Max, 2.5);
  EXPECT_FALSE(PreviewRangeInView(chart, std::vector<double>(5, 0.0)).Valid);
}

}  // namespace
}  // namespace workbench

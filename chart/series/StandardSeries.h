// Start-up registration of the series kinds and functions with the
// series-type registry: the nine standard kinds, the financial kinds and
// functions, and the statistical kinds. InitChartEngine runs them once.
//
// Tested by: chart/tests/ErrorSeriesTest.cpp (registrations)
#pragma once

namespace chart {

// Line, bar, horizontal bar, area, point, pie, fast line, horizontal line and
// horizontal area on the "Standard" page, in that order.
void RegisterStandardSeries();
// Candle and volume series, the ADX and RSI functions, on the "Financial" page.
void RegisterFinancialSeries();
// Error bar, error and high-low series on the "Stats" page.
void RegisterStatsSeries();

}  // namespace chart

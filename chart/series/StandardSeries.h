// Start-up registration of the series kinds and functions with the
// series-type registry: the nine standard kinds, the financial kinds and
// functions, and the statistical kinds. InitChartEngine runs the financial
// and statistical steps; the standard kinds are registered by the series
// gallery's start-up (chart_editors::InitChartEditors), and by the engine's
// own test mains, which stand without the editors.
//
// Tested by: chart/tests/ErrorSeriesTest.cpp (registrations)
#pragma once

namespace chart {

// Line, bar, horizontal bar, area, point, pie, fast line, horizontal line and
// horizontal area on the "Standard" page, in that order.
void RegisterStandardSeries();
// Takes the nine out of the registry again (their stream registration stays).
void UnregisterStandardSeries();
// Candle and volume series, the ADX and RSI functions, on the "Financial" page.
void RegisterFinancialSeries();
// Error bar, error and high-low series on the "Stats" page.
void RegisterStatsSeries();

}  // namespace chart

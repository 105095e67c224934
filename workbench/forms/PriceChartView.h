// The candle chart of the windows that show prices (the generator, the
// comparison and the spectrum window), drawn from the price chart's logic:
// the chart's looks, its candles and the bars in view.
#pragma once

#include "workbench/logic/formRemezPreview.h"

namespace chart {
class TCandleSeries;
class TChart;
class TMarksTipTool;
}  // namespace chart

namespace workbench {

// Black, without legend, title or 3D, no zoom or panning by the mouse, white
// axes; an axis label taken from a candle shows the label's first line (the
// bar's date and time).
void MakePriceChart(chart::TChart& chart);
// Candles on the right axis at positions that are no times, outlined lime,
// the bodies of up and down candles black.
chart::TCandleSeries* NewCandleSeries(chart::TChart& chart, const char* name);
// The tool that shows a candle's label while the mouse rests on it.
chart::TMarksTipTool* NewCandleTip(chart::TChart& chart, chart::TCandleSeries& candles, const char* name);
// The candles of the bars, each with its label.
void FillCandles(chart::TCandleSeries& candles, const TPriceChart& prices);
// The bars in view: the candle width of the zoom level, the bottom axis over
// [ViewStart, ViewEnd + 1] and the right axis over their lows and highs.
void ShowBarsInView(chart::TChart& chart, chart::TCandleSeries& candles, const TPriceChart& prices);

}  // namespace workbench

// The candle chart of the price windows.
// Tested by: tests/GeneratorScreenshotTest.cpp, tests/CompareWindowTest.cpp, tests/SpectrumWindowTest.cpp
#include "workbench/forms/PriceChartView.h"

#include "chart/ChartControl.h"
#include "chart/series/CandleSeries.h"
#include "chart/core/ValueList.h"
#include "chart/series/SeriesMarks.h"
#include "chart/tools/MarksTipTool.h"

namespace workbench {

using namespace chart;

void MakePriceChart(TChart& chart) {
  chart.SetView3D(false);
  chart.Legend()->SetVisible(false);
  chart.Title()->SetVisible(false);
  chart.Zoom()->SetAllow(false);
  chart.SetAllowPanning(pmNone);
  chart.SetColor(clBlack);
  chart.SetBackColor(clBlack);
  for (TChartAxis* axis : {chart.LeftAxis(), chart.BottomAxis(), chart.RightAxis(), chart.TopAxis()}) {
    axis->Axis()->SetColor(clWhite);
    axis->LabelsFont()->SetColor(clWhite);
  }
  // A candle's label holds its date and its prices; the axis shows the date.
  chart.OnGetAxisLabel = [](TChartAxis&, TChartSeries*, int, std::string& text) {
    text = text.substr(0, text.find('\r'));
  };
}

TCandleSeries* NewCandleSeries(TChart& chart, const char* name) {
  auto* candles = new TCandleSeries(&chart);
  candles->SetName(name);
  candles->SetParentChart(&chart);
  candles->SetSeriesColor(clLime);
  candles->Marks()->SetVisible(false);
  candles->SetVertAxis(aRightAxis);
  // Positions, not times: the axis shows the candles' labels, and an empty
  // chart no time of day.
  candles->XValues()->SetDateTime(false);
  candles->Pen()->SetColor(clLime);
  candles->SetUpCloseColor(clBlack);
  candles->SetDownCloseColor(clBlack);
  return candles;
}

TMarksTipTool* NewCandleTip(TChart& chart, TCandleSeries& candles, const char* name) {
  auto* tip = new TMarksTipTool(&chart);
  tip->SetName(name);
  tip->SetParentChart(&chart);
  tip->SetSeries(&candles);
  tip->SetStyle(smsLabel);
  return tip;
}

void FillCandles(TCandleSeries& candles, const TPriceChart& prices) {
  candles.Clear();
  for (const TPriceBar& bar : prices.Bars) {
    const int index = candles.AddCandle(bar.X, bar.Open, bar.High, bar.Low, bar.Close);
    if (index >= 0) candles.Labels().SetLabel(index, bar.Label);
  }
}

void ShowBarsInView(TChart& chart, TCandleSeries& candles, const TPriceChart& prices) {
  candles.SetCandleWidth(CandleZoomOf(prices.ZoomLevel).Width);
  chart.BottomAxis()->SetMinMax(prices.ViewStart, prices.ViewEnd + 1);
  const TValueRange range = PriceRangeInView(prices);
  if (range.Valid) chart.RightAxis()->SetMinMax(range.Min, range.Max);
}

}  // namespace workbench

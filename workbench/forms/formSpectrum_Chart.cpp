// The quote spectrum window's candles: zoom and dragging, by the rules of the
// generator's price chart with this window's zoom limits.
// Tested by: tests/SpectrumWindowTest.cpp
#include <QAction>

#include "chart/ChartControl.h"
#include "chart/series/CandleSeries.h"
#include "chart/widgets/KivPanelWidget.h"
#include "workbench/forms/ChartUpdate.h"
#include "workbench/forms/PriceChartView.h"
#include "workbench/forms/formSpectrum.h"

namespace workbench {

void TfrmSpectrum::FillCandles() {
  TChartUpdate update(*FTimeChart);
  workbench::FillCandles(*Series1, FPriceChart);
}

void TfrmSpectrum::ApplyChartZoom() {
  workbench::ApplyChartZoom(FPriceChart, TimeChart->width());
  actChartZoomIn->setEnabled(CanZoomIn(FPriceChart.ZoomLevel, SpectrumMaxZoomLevel));
  actChartZoomOut->setEnabled(CanZoomOut(FPriceChart.ZoomLevel));
}

void TfrmSpectrum::RedrawTimeChart() {
  if (!HasHistory()) return;
  TChartUpdate update(*FTimeChart);
  ApplyChartZoom();
  ShowBarsInView(*FTimeChart, *Series1, FPriceChart);
}

void TfrmSpectrum::actChartZoomInExecute() {
  if (!HasHistory() || !CanZoomIn(FPriceChart.ZoomLevel, SpectrumMaxZoomLevel)) return;
  ++FPriceChart.ZoomLevel;
  RedrawTimeChart();
}

void TfrmSpectrum::actChartZoomOutExecute() {
  if (!HasHistory() || !CanZoomOut(FPriceChart.ZoomLevel)) return;
  --FPriceChart.ZoomLevel;
  RedrawTimeChart();
}

void TfrmSpectrum::TimeChartMouseDown(int x) {
  FChartDragging = true;
  FDragX = x;
}

void TfrmSpectrum::TimeChartMouseMove(int x) {
  // Over the candles the cursor says they can be dragged sideways (the
  // chart's own cursor, which its move handling keeps showing).
  FTimeChart->SetCursor(chart::crHSplit);
  if (!FChartDragging || !HasHistory()) return;
  // The bars follow the mouse by the distance it moved since the last move.
  ScrollView(FPriceChart, FDragX - x);
  FDragX = x;
  RedrawTimeChart();
}

void TfrmSpectrum::TimeChartMouseUp() {
  FChartDragging = false;
  FTimeChart->SetCursor(chart::crDefault);
}

}  // namespace workbench

// The comparison window's candles, zoom, dragging and row lines.
// Tested by: tests/CompareWindowTest.cpp
#include <random>

#include <QAction>
#include <QLabel>

#include "chart/ChartControl.h"
#include "chart/series/CandleSeries.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/SeriesMarks.h"
#include "chart/widgets/KivPanelWidget.h"
#include "platform/classlib/SysUtils.h"
#include "workbench/forms/ChartUpdate.h"
#include "workbench/forms/PriceChartView.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/forms/formCompare.h"

namespace workbench {

using namespace chart;

namespace {

constexpr int MaxCompareZoomLevel = 6;

}  // namespace

void TfrmCompare::FormCreate() {
  FTable->Candles().ZoomLevel = DefaultZoomLevel;
  if (History.LastIndex < 101) {
    GenerateSyntheticBars();
  } else {
    SetHistoryBars(FTable->Candles(), History);
    FillCandles();
  }
  setMinimumSize(500, TimeChart->parentWidget()->y() + 180);
}

void TfrmCompare::FillCandles() {
  TChartUpdate update(*FChart);
  workbench::FillCandles(*Series1, FTable->Candles());
}

void TfrmCompare::GenerateSyntheticBars() {
  SetSyntheticBars(FTable->Candles(), workbench::GenerateSyntheticBars(classlib::Date(), std::random_device{}()));
  FillCandles();
  RescaleTimeChart();
}

int TfrmCompare::VisibleBarCount() const {
  return workbench::VisibleBarCount(TimeChart->width(), FTable->Candles().ZoomLevel);
}

void TfrmCompare::ApplyChartZoom() {
  TPriceChart& candles = FTable->Candles();
  workbench::ApplyChartZoom(candles, TimeChart->width());
  actChartZoomIn->setEnabled(CanZoomIn(candles.ZoomLevel));
  actChartZoomOut->setEnabled(CanZoomOut(candles.ZoomLevel));
  if (FMain.IsActiveChild(*this)) {
    FMain.EnableCommand(mcZoomIn, actChartZoomIn->isEnabled());
    FMain.EnableCommand(mcZoomOut, actChartZoomOut->isEnabled());
  }
}

void TfrmCompare::RescaleTimeChart() {
  const TPriceChart& candles = FTable->Candles();
  if (candles.Bars.empty()) return;
  TChartUpdate update(*FChart);
  ApplyChartZoom();
  ShowBarsInView(*FChart, *Series1, candles);
}

void TfrmCompare::actChartZoomInExecute() {
  TPriceChart& candles = FTable->Candles();
  candles.ZoomLevel = std::min(candles.ZoomLevel + 1, MaxCompareZoomLevel);
  RescaleTimeChart();
}

void TfrmCompare::actChartZoomOutExecute() {
  TPriceChart& candles = FTable->Candles();
  candles.ZoomLevel = std::max(candles.ZoomLevel - 1, MinZoomLevel);
  RescaleTimeChart();
}

void TfrmCompare::TimeChartMouseDown(int x) {
  FDragging = true;
  FDragX = x;
  FChart->ShowCursor(crHSplit);
}

void TfrmCompare::TimeChartMouseMove(int x) {
  if (!FDragging || FTable->Candles().Bars.empty()) return;
  // The bars follow the mouse by the distance it moved since the last move.
  ScrollView(FTable->Candles(), FDragX - x);
  FDragX = x;
  RescaleTimeChart();
}

void TfrmCompare::TimeChartMouseUp() {
  FDragging = false;
  FChart->RestoreCursor();
}

void TfrmCompare::actChartRefreshExecute() {
  if (!HSTLabel->isHidden() &&
      FDialogs.MessageBox("Заменить данные в графике случайными значениями?", "Открытие файла", mbOKCancel, miQuestion) !=
          mrOK)
    return;
  HSTLabel->hide();
  History = THistory{};
  GenerateSyntheticBars();
  RecomputeRows(false);
  RescaleTimeChart();
}

void TfrmCompare::SetFileLabel(const QString& text, bool visible) {
  HSTLabel->setText(text);
  HSTLabel->setVisible(visible);
}

TFastLineSeries* TfrmCompare::RowSeries(int r) const {
  return r >= 0 && r < static_cast<int>(FRowSeries.size()) ? FRowSeries[static_cast<std::size_t>(r)] : nullptr;
}

TFastLineSeries* TfrmCompare::EnsureRowSeries(int r) {
  if (static_cast<int>(FRowSeries.size()) <= r) FRowSeries.resize(static_cast<std::size_t>(r) + 1, nullptr);
  TFastLineSeries*& series = FRowSeries[static_cast<std::size_t>(r)];
  const TCompareFilterRecord& row = FTable->Row(r);
  if (series == nullptr || row.SeriesIndex < 1) {
    series = new TFastLineSeries(FChart.get());
    series->SetParentChart(FChart.get());
    series->SetVertAxis(aRightAxis);
    series->Marks()->SetVisible(false);
    series->SetActive(row.On != 0);
    FTable->SetSeriesIndex(r, FChart->SeriesCount() - 1);
  }
  return series;
}

void TfrmCompare::DrawRow(int r, const TRowPoints& points) {
  TFastLineSeries* series = RowSeries(r);
  if (series == nullptr) return;
  {
    TChartUpdate update(*FChart);
    series->Clear();
    series->SetSeriesColor(ColorIndexToColor(FTable->Row(r).ColorIndex));
    for (const auto& [x, y] : points) series->AddXY(x, y);
  }
  RescaleTimeChart();
}

}  // namespace workbench

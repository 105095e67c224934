// The filter generator's price chart (candles, preview, zoom and scrolling)
// and the dragging of coefficients.
// Tested by: tests/GeneratorDesignTest.cpp, tests/GeneratorFilesTest.cpp
#include <random>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>

#include "chart/ChartControl.h"
#include "chart/widgets/KivPanelWidget.h"
#include "platform/classlib/SysUtils.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/forms/formRemez.h"

namespace workbench {

namespace {

constexpr const char* capReplaceHistory = "Открытие файла";
constexpr const char* msgReplaceHistory = "Заменить данные в графике случайными значениями?";

}  // namespace

void TfrmRemez::FormShow() { ApplyChartZoom(); }

void TfrmRemez::GenerateSyntheticBars() {
  SetSyntheticBars(FPriceChart, workbench::GenerateSyntheticBars(classlib::Date(), std::random_device{}()));
  FPreview = {};
  FillCandles();
  RedrawTimeChart();
}

void TfrmRemez::ApplyFilterToChart() {
  if (FDesign.ImpulseLength < 1) return;
  FPreview = ComputePreview(FPriceChart,
                            std::span<const double>(FDesign.DesignCoefficients.Coef.data(),
                                                    std::max(FDesign.DesignCoefCount, 0)),
                            rbPrice2->isChecked());
  ShowPreviewLine();
}

int TfrmRemez::VisibleBarCount() const {
  return workbench::VisibleBarCount(TimeChart->width(), FPriceChart.ZoomLevel);
}

void TfrmRemez::ApplyChartZoom() {
  workbench::ApplyChartZoom(FPriceChart, TimeChart->width());
  actChartZoomIn->setEnabled(CanZoomIn(FPriceChart.ZoomLevel));
  actChartZoomOut->setEnabled(CanZoomOut(FPriceChart.ZoomLevel));
}

void TfrmRemez::actChartZoomInExecute() {
  if (!CanZoomIn(FPriceChart.ZoomLevel)) return;
  ++FPriceChart.ZoomLevel;
  RedrawTimeChart();
}

void TfrmRemez::actChartZoomOutExecute() {
  if (!CanZoomOut(FPriceChart.ZoomLevel)) return;
  --FPriceChart.ZoomLevel;
  RedrawTimeChart();
}

void TfrmRemez::TimeChartMouseDown(int x) {
  FChartDragging = true;
  FDragX = x;
  FTimeChart->ShowCursor(chart::crHSplit);
}

void TfrmRemez::TimeChartMouseMove(int x) {
  if (!FChartDragging || FPriceChart.Bars.empty()) return;
  // The bars follow the mouse by the distance it moved since the last move.
  ScrollView(FPriceChart, FDragX - x);
  FDragX = x;
  RedrawTimeChart();
}

void TfrmRemez::TimeChartMouseUp() {
  FChartDragging = false;
  FTimeChart->RestoreCursor();
}

bool TfrmRemez::FormKeyUp(int key) {
  if (pcMain->currentWidget() != tsTimeChart) return false;
  TViewKey viewKey = vkHome;
  switch (key) {
    case Qt::Key_Home: viewKey = vkHome; break;
    case Qt::Key_End: viewKey = vkEnd; break;
    case Qt::Key_Left: viewKey = vkLeft; break;
    case Qt::Key_Right: viewKey = vkRight; break;
    default: return false;
  }
  FPriceChart.VisibleCount = VisibleBarCount();
  ApplyViewKey(FPriceChart, viewKey);
  RedrawTimeChart();
  return true;
}

void TfrmRemez::actChartRefreshExecute() {
  if (FDesign.DesignCoefCount < 2) return;
  if (!HSTLabel->isHidden() &&
      FDialogs.MessageBox(msgReplaceHistory, capReplaceHistory, mbOKCancel, miQuestion) != mrOK)
    return;
  HSTLabel->hide();
  History = THistory{};
  GenerateSyntheticBars();
  ApplyFilterToChart();
  RedrawTimeChart();
}

bool TfrmRemez::ChartTool1DragPoint(int index, double value) {
  if (!ApplyCoefficientDrag(FDesign.DesignCoefficients, FDesign.DesignCoefCount, index, value)) {
    // The point goes back to the coefficient it stands for.
    ShowCoefficientChart();
    return false;
  }
  Memo1->clear();
  FIndicatorText.clear();
  ShowDesignResults();
  // The inputs no longer describe the coefficients until the next design.
  ShadeInputs(true);
  return true;
}

}  // namespace workbench

// The filter generator's charts: the amplitude, phase and logarithmic
// responses, the candles with the preview line, and the draggable
// coefficients, filled from what the logic computed.
// Tested by: tests/GeneratorDesignTest.cpp, tests/GeneratorScreenshotTest.cpp
#include <QCheckBox>

#include "chart/ChartControl.h"
#include "chart/series/CandleSeries.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/series/SeriesMarks.h"
#include "chart/tools/ColorLineTool.h"
#include "chart/tools/DragPointTool.h"
#include "chart/tools/MarksTipTool.h"
#include "chart/widgets/KivPanelWidget.h"
#include "workbench/forms/ChartUpdate.h"
#include "workbench/forms/PriceChartView.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/forms/formRemez.h"

namespace workbench {

namespace {

using namespace chart;

// Custom axes of the price chart: the preview's own scale below the prices,
// and the thin axis whose centre the separator line marks.
constexpr int PreviewAxis = 0;
constexpr int SeparatorAxis = 1;

template <class Series>
Series* NewSeries(TChart& chart, const char* name, TColor colour) {
  auto* series = new Series(&chart);
  series->SetName(name);
  series->SetParentChart(&chart);
  series->SetSeriesColor(colour);
  series->Marks()->SetVisible(false);
  return series;
}

void ColourAxis(TChartAxis& axis, TColor colour) {
  axis.Axis()->SetColor(colour);
  axis.LabelsFont()->SetColor(colour);
}

}  // namespace

TKivPanelWidget* TfrmRemez::NewChart(QWidget* parent, const char* name, std::unique_ptr<TChart>& model, bool dark) {
  model = std::make_unique<TChart>();
  model->SetName(name);
  model->SetView3D(false);
  model->Legend()->SetVisible(false);
  model->Title()->SetVisible(false);
  model->Zoom()->SetAllow(false);
  model->SetAllowPanning(pmNone);
  if (dark) {
    model->SetColor(clBlack);
    model->SetBackColor(clBlack);
  }
  auto* window = new TKivPanelWidget(*model, parent);
  window->setObjectName(name);
  window->OnError = [this](const std::string& message) {
    FDialogs.MessageBox(message, "Orvel", mbOK, miError);
  };
  return window;
}

void TfrmRemez::CreateChartSeries() {
  // The responses: silver axes without labels on the left and at the bottom.
  for (TChart* response : {FChartPower.get(), FChartPhase.get(), FLogChart.get()}) {
    for (TChartAxis* axis : {response->LeftAxis(), response->BottomAxis(), response->RightAxis(), response->TopAxis()})
      axis->Axis()->SetColor(clSilver);
    response->LeftAxis()->SetLabels(false);
    response->BottomAxis()->SetLabels(false);
  }
  Series1 = NewSeries<TLineSeries>(*FChartPower, "Series1", clLime);
  LineSeries1 = NewSeries<TLineSeries>(*FChartPhase, "LineSeries1", clRed);
  LineSeries2 = NewSeries<TLineSeries>(*FLogChart, "LineSeries2", clLime);

  // The prices: white axes, candles and the preview on the right axis.
  TChart& time = *FTimeChart;
  MakePriceChart(time);
  time.BottomAxis()->SetPositionUnits(muPixels);
  time.BottomAxis()->SetPositionPercent(-2);
  Series2 = NewCandleSeries(time, "Series2");
  Series3 = NewSeries<TFastLineSeries>(time, "Series3", clRed);
  Series3->SetVertAxis(aRightAxis);
  TChartAxis* preview = time.CustomAxes().Add();
  preview->SetHorizontal(false);
  preview->SetOtherSide(true);
  preview->SetStartPosition(78);
  preview->SetVisible(false);
  ColourAxis(*preview, clWhite);
  TChartAxis* separator = time.CustomAxes().Add();
  separator->SetHorizontal(false);
  separator->SetStartPosition(76);
  separator->SetEndPosition(77);
  separator->SetVisible(false);
  ChartTool2 = NewCandleTip(time, *Series2, "ChartTool2");
  ChartTool3 = new TColorLineTool(&time);
  ChartTool3->SetName("ChartTool3");
  ChartTool3->SetParentChart(&time);
  ChartTool3->SetAxis(separator);
  ChartTool3->Pen()->SetColor(clWhite);
  ChartTool3->SetAllowDrag(false);
  ChartTool3->SetStyle(clCenter);
  ChartTool3->SetActive(false);

  // The coefficients: red points on a line, dragged up and down.
  TChart& function = *FChartFunct;
  ChartFunct->setToolTip("Двигайте точки на графике для изменения\nкривой передаточной функции фильтра");
  function.LeftAxis()->SetVisible(false);
  Series4 = NewSeries<TLineSeries>(function, "Series4", clRed);
  Series4->SetTitle("LiveChart");
  Series4->SetVertAxis(aRightAxis);
  Series4->SetCursor(crHandPoint);
  Series4->Pointer()->SetVisible(true);
  Series4->Pointer()->SetStyle(psDiamond);
  ChartTool1 = new TDragPointTool(&function);
  ChartTool1->SetName("ChartTool1");
  ChartTool1->SetParentChart(&function);
  ChartTool1->SetSeries(Series4);
  ChartTool1->SetDragStyle(dsY);
  ChartTool1->OnDragPoint = [this](TDragPointTool&, int index) {
    Guarded(FDialogs, [this, index] { ChartTool1DragPoint(index, Series4->YValues()->Value(index)); })();
  };
}

void TfrmRemez::ShowResponseCharts() {
  if (!FFftViews.Amplitude.empty()) {
    TChartUpdate update(*FChartPower);
    Series1->Clear();
    Series1->SetSeriesColor(clLime);
    for (const double v : FFftViews.Amplitude) Series1->Add(v);
  }
  if (!FFftViews.Phase.empty()) {
    TChartUpdate update(*FChartPhase);
    LineSeries1->Clear();
    LineSeries1->SetSeriesColor(clRed);
    for (const double v : FFftViews.Phase) LineSeries1->Add(v);
  }
  if (!FLogView.Values.empty()) {
    TChartUpdate update(*FLogChart);
    LineSeries2->Clear();
    for (const double v : FLogView.Values) LineSeries2->Add(v);
    if (FLogView.FixedRange) FLogChart->LeftAxis()->SetMinMax(FLogView.Minimum, FLogView.Maximum);
  }
}

void TfrmRemez::ClearDesignViews() {
  FFftViews = {};
  FLogView = {};
  FPreview = {};
  for (auto [chart, series] : {std::pair<TChart*, TChartSeries*>{FChartPower.get(), Series1},
                               {FChartPhase.get(), LineSeries1},
                               {FLogChart.get(), LineSeries2},
                               {FTimeChart.get(), Series3},
                               {FChartFunct.get(), Series4}}) {
    TChartUpdate update(*chart);
    series->Clear();
  }
}

void TfrmRemez::FillCandles() {
  TChartUpdate update(*FTimeChart);
  Series3->Clear();
  workbench::FillCandles(*Series2, FPriceChart);
}

void TfrmRemez::ShowPreviewLine() {
  TChartUpdate update(*FTimeChart);
  Series3->Clear();
  for (const auto& [x, y] : FPreview.Points) Series3->AddXY(x, y);
}

void TfrmRemez::ShowCoefficientChart() {
  const int count = std::max(FDesign.DesignCoefCount, 0);
  const auto& c = FDesign.DesignCoefficients.Coef;
  TChartUpdate update(*FChartFunct);
  // The same points keep their places, so a drag under way goes on.
  if (Series4->Count() == count) {
    for (int k = 0; k < count; ++k) Series4->SetYValue(k, c[k]);
    return;
  }
  Series4->Clear();
  for (int k = 0; k < count; ++k) Series4->AddXY(k, c[k]);
}

void TfrmRemez::RedrawTimeChart() {
  if (FPriceChart.Bars.empty()) return;
  TChartUpdate update(*FTimeChart);
  ApplyChartZoom();
  ShowBarsInView(*FTimeChart, *Series2, FPriceChart);
  if (chkSeparate->isChecked()) {
    const TValueRange values = PreviewRangeInView(FPriceChart, FPreview.Values);
    if (values.Valid) FTimeChart->CustomAxes().Items(PreviewAxis)->SetMinMax(values.Min, values.Max);
  }
}

void TfrmRemez::chkSeparateClick() {
  TChart& time = *FTimeChart;
  TChartAxis* preview = time.CustomAxes().Items(PreviewAxis);
  TChartAxis* separator = time.CustomAxes().Items(SeparatorAxis);
  if (chkSeparate->isChecked()) {
    time.RightAxis()->SetEndPosition(75);
    preview->SetVisible(true);
    preview->SetAutomatic(true);
    Series3->SetCustomVertAxis(preview);
    separator->SetVisible(true);
    separator->SetMinMax(0, 0);
    ChartTool3->SetActive(true);
  } else {
    Series3->SetVertAxis(aRightAxis);
    preview->SetVisible(false);
    separator->SetVisible(false);
    time.RightAxis()->SetEndPosition(100);
    ChartTool3->SetActive(false);
  }
  RedrawTimeChart();
  ShowDesignResults();
}

}  // namespace workbench

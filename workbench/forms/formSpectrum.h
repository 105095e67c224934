// The quote spectrum window: the spectrum of a range of close prices, against
// the frequency and against the period in bars, so that a trader sees which
// periods a filter should pass. The user opens a history file, picks the
// range with two track bars over its candles and presses "Расчет"; the
// closes go into a signal, the spectrum analyser computes their power
// spectrum, its chart shows it against the frequency and the window draws it
// again against the period. The program makes the window at start; closing
// it only minimises it.
//
// Sources by concern: formSpectrum.cpp (controls, layout, events, the range
// and the spectrum), formSpectrum_Chart.cpp (candles, zoom and dragging).
#pragma once

#include <memory>
#include <string>

#include <QMdiSubWindow>

#include "workbench/forms/MainCommands.h"
#include "workbench/logic/formRemezPreview.h"

class QAction;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QSplitter;
class QTabWidget;
class QToolBar;

namespace analysis_ui {
class TSpectrumAnalyzerDialog;
class TSpectrumChart;
}  // namespace analysis_ui
namespace chart {
class TCandleSeries;
class TChart;
class TFastLineSeries;
class TKivPanelWidget;
class TMarksTipTool;
}  // namespace chart
namespace sig {
class TSignalGenerator;
class TSpectrumAnalyzer;
}  // namespace sig

namespace workbench {

// Zoom In stops at this level, one past the price chart's table (it draws
// as level 4); Zoom Out stops at the table's first level.
inline constexpr int SpectrumMaxZoomLevel = 6;

class TfrmSpectrum : public QMdiSubWindow {
 public:
  // Makes the window as a maximised child of the main window.
  explicit TfrmSpectrum(IMainCommands& owner);
  ~TfrmSpectrum() override;

  // controls
  QWidget* pnGroup1 = nullptr;
  QLabel* lblHead = nullptr;
  QLabel* Label1 = nullptr;
  QToolBar* tbZoom = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QSlider* tbFrom = nullptr;
  QSlider* tbTo = nullptr;
  QLabel* lblFrom = nullptr;
  QLabel* lblTo = nullptr;
  QPushButton* btnCalc = nullptr;
  QSplitter* Splitter1 = nullptr;
  chart::TKivPanelWidget* TimeChart = nullptr;
  chart::TCandleSeries* Series1 = nullptr;
  chart::TMarksTipTool* ChartTool1 = nullptr;
  QLabel* HSTLabel = nullptr;
  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheet1 = nullptr;
  QWidget* TabSheet2 = nullptr;
  chart::TKivPanelWidget* SpectrumChart = nullptr;
  chart::TFastLineSeries* Series2 = nullptr;
  chart::TKivPanelWidget* SpectrumChart1 = nullptr;
  chart::TFastLineSeries* Series3 = nullptr;
  QAction* actFileOpen = nullptr;
  QAction* actChartZoomIn = nullptr;
  QAction* actChartZoomOut = nullptr;
  QAction* actSpectrumParameters = nullptr;

  // components
  sig::TSignalGenerator& SignalGenerator() const { return *FSignalGenerator; }
  sig::TSpectrumAnalyzer& SpectrumAnalyzer() const { return *FSpectrumAnalyzer; }
  // Opens the analyser's parameter window, modeless and floating, whose
  // changes take effect at once.
  analysis_ui::TSpectrumAnalyzerDialog& SpectrumAnalyzerDialog() const { return *FSpectrumAnalyzerDialog; }

  // properties
  // The candles, the bars in view and the zoom level.
  const TPriceChart& PriceChart() const { return FPriceChart; }
  // The charts the windows show.
  chart::TChart& TimeChartModel() const { return *FTimeChart; }
  chart::TChart& SpectrumChartModel() const { return *FSpectrumChart; }
  analysis_ui::TSpectrumChart& SpectrumChart1Model() const { return *FSpectrumChart1; }

  // events
  void FormCreate();
  void FormClose();
  void actFileOpenExecute();
  // Either track bar moved.
  void TrackBarChange();
  void btnCalcClick();
  void SpectrumAnalyzerParameterUpdate();
  void actSpectrumParametersExecute();
  void actChartZoomInExecute();
  void actChartZoomOutExecute();
  void TimeChartMouseDown(int x);
  void TimeChartMouseMove(int x);
  void TimeChartMouseUp();

  // operations
  // Opens a history file as the open command does after its dialog.
  void OpenFile(const std::string& fileName);
  // Draws the spectrum of the frequency chart again against the period.
  void PlotSpectrumByPeriod();
  void RedrawTimeChart();
  void ApplyChartZoom();
  // Switches the main window's spectrum parameters on when the window has a
  // history to show them for.
  void UpdateMainCommands();

 protected:
  // overrides
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateActions();
  QWidget* CreateHeaderPanel();
  QWidget* CreateTimeChart();
  QWidget* CreatePages();
  void CreateComponents();
  void ConnectEvents();
  void FillCandles();
  bool HasHistory() const { return !FPriceChart.Bars.empty(); }

  IMainCommands& FMain;
  TUserDialogs& FDialogs;
  // The candles are the window's own copy of the history it opened: what
  // another window later loads or clears does not change the range.
  TPriceChart FPriceChart;
  std::unique_ptr<sig::TSignalGenerator> FSignalGenerator;
  std::unique_ptr<sig::TSpectrumAnalyzer> FSpectrumAnalyzer;
  std::unique_ptr<chart::TChart> FTimeChart;
  std::unique_ptr<chart::TChart> FSpectrumChart;
  std::unique_ptr<analysis_ui::TSpectrumChart> FSpectrumChart1;
  // Goes before the analyser, with the parameter window it may have open.
  std::unique_ptr<analysis_ui::TSpectrumAnalyzerDialog> FSpectrumAnalyzerDialog;
  // Set once "Расчет" has filled the signal: until then a parameter change
  // has no spectrum to redraw.
  bool FComputed = false;
  bool FChartDragging = false;
  // The charts' own label format, for scales large enough to show it.
  std::string FValuesFormat;
  int FDragX = 0;
};

}  // namespace workbench

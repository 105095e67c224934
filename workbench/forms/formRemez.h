// The filter generator: a child window of the main window that turns periods,
// ripple, attenuation and delay into a filter designed on a worker thread,
// shows its responses, runs it over the price history as a preview, lets the
// user drag its coefficients, and writes its indicator text.
//
// The window only wires its controls to the logic (formRemezParameters,
// formRemezViews, formRemezPreview and the file readers); its sources are
// split by concern: formRemez.cpp (controls and layout), formRemez_Inputs.cpp
// (inputs and validation), formRemez_Design.cpp (design runs and results),
// formRemez_Preview.cpp (price chart, zoom, coefficient drag),
// formRemez_Files.cpp (files, indicator text, clipboard).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QMdiSubWindow>

#include "workbench/forms/BandInputs.h"
#include "workbench/forms/MainCommands.h"
#include "workbench/forms/RemezThread.h"
#include "workbench/logic/Classes_Remez.h"
#include "workbench/logic/formRemezParameters.h"
#include "workbench/logic/formRemezPreview.h"
#include "workbench/logic/formRemezViews.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSplitter;
class QStatusBar;
class QTabWidget;

namespace chart {
class TCandleSeries;
class TChart;
class TColorLineTool;
class TDragPointTool;
class TFastLineSeries;
class TKivPanelWidget;
class TLineSeries;
class TMarksTipTool;
}  // namespace chart

namespace ui {
class TUserDialogs;
}  // namespace ui

namespace workbench {

class TRadioGroup;
class TSpinEdit;
using TUserDialogs = ui::TUserDialogs;

class TfrmRemez : public QMdiSubWindow, public TBandInputs, public IDesignRunReceiver {
 public:
  // Opens the generator as a maximised child of the main window.
  explicit TfrmRemez(IMainCommands& owner);
  ~TfrmRemez() override;

  // controls: design inputs (besides those of TBandInputs)
  QCheckBox* CheckBoxAuto = nullptr;
  QPushButton* ButtonStart = nullptr;
  QLabel* WarnLabel = nullptr;
  QComboBox* cbxMomentum = nullptr;
  TRadioGroup* FIRTextMode = nullptr;
  QCheckBox* chkSeparate = nullptr;
  QPushButton* btnCopy = nullptr;
  // controls: pages
  QTabWidget* pcMain = nullptr;
  QTabWidget* pcText = nullptr;
  QSplitter* FFTSplitter = nullptr;
  QWidget* pnFFT1 = nullptr;
  QWidget* pnFFT2 = nullptr;
  QWidget* tsTimeChart = nullptr;
  QLabel* HSTLabel = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QWidget* pnSetPrice = nullptr;
  QRadioButton* rbPrice1 = nullptr;
  QRadioButton* rbPrice2 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  // controls: charts (the windows of the chart engine's charts; Panel() is the chart)
  chart::TKivPanelWidget* ChartPower = nullptr;
  chart::TKivPanelWidget* ChartPhase = nullptr;
  chart::TKivPanelWidget* LogChart = nullptr;
  chart::TKivPanelWidget* TimeChart = nullptr;
  chart::TKivPanelWidget* ChartFunct = nullptr;
  chart::TLineSeries* Series1 = nullptr;      // amplitude
  chart::TLineSeries* LineSeries1 = nullptr;  // phase
  chart::TLineSeries* LineSeries2 = nullptr;  // logarithmic amplitude
  chart::TCandleSeries* Series2 = nullptr;    // candles
  chart::TFastLineSeries* Series3 = nullptr;  // the preview
  chart::TLineSeries* Series4 = nullptr;      // the coefficients
  chart::TDragPointTool* ChartTool1 = nullptr;
  chart::TMarksTipTool* ChartTool2 = nullptr;
  chart::TColorLineTool* ChartTool3 = nullptr;
  // commands
  QAction* actFileOpen = nullptr;
  QAction* actFileSave = nullptr;
  QAction* actCopyToClipboard = nullptr;
  QAction* actChartRefresh = nullptr;
  QAction* actChartZoomIn = nullptr;
  QAction* actChartZoomOut = nullptr;
  QAction* actChartCompare = nullptr;

  // properties: what the views show
  const TFilterRecord& CurrentFilter() const { return FCurrentFilter; }
  // The last finished design: its response, its coefficients after the cut.
  const TDesignWorkspace& Design() const { return FDesign; }
  const TDesignWorkspace& Parameters() const { return FWorkspace; }
  const TFftViews& FftViews() const { return FFftViews; }
  const TLogView& LogView() const { return FLogView; }
  const TPriceChart& PriceChart() const { return FPriceChart; }
  const TPreview& Preview() const { return FPreview; }
  // The indicator text as generated (CR LF line ends): what Save and Copy write.
  const std::string& IndicatorText() const { return FIndicatorText; }
  bool DesignRunning() const { return FRun != nullptr; }
  bool Typing() const { return FTyping; }

  // events: inputs
  void FormCreate();
  void FormShow();
  void FormClose();
  bool InputControlKeyPress(int key);
  bool InputControlIntegerKeyPress(int key);
  void ControlKeyDown();
  void ControlFocusExit();
  void ValidateParameters();
  void ComputeDesignParameters();
  // The user's choice of a band type: a band filter starts with A2 = A1.
  void FilterTypeClick();
  // The inputs of the band type enabled, then validated; the values stay.
  void SettleBandType();
  void InputDelayChange();
  void CheckBoxOrderClick();
  void CheckBoxAutoClick();
  // events: design
  void ButtonStartClick();
  void EnableInputs(bool enabled);
  void ShowDesignResults();
  // Synchronised calls of the design thread of run `runNumber`; calls of a
  // stopped or superseded run change nothing.
  void SyncShowStatus(int runNumber, const std::string& status, bool iterationLimit) override;
  void SyncDesignDone(TDesignRun& run) override;
  // events: price chart and coefficients
  void GenerateSyntheticBars();
  void ApplyFilterToChart();
  void RedrawTimeChart();
  void ApplyChartZoom();
  int VisibleBarCount() const;
  void actChartRefreshExecute();
  void actChartZoomInExecute();
  void actChartZoomOutExecute();
  void TimeChartMouseDown(int x);
  void TimeChartMouseMove(int x);
  void TimeChartMouseUp();
  bool FormKeyUp(int key);
  void chkSeparateClick();
  // A dragged coefficient point: false when the drag was refused (the point
  // then returns to its coefficient).
  bool ChartTool1DragPoint(int index, double value);
  // events: files and text
  void actFileOpenExecute();
  void actFileSaveExecute();
  void actCopyToClipboardExecute();
  std::string BuildIndicatorText();
  void FIRTextModeClick();
  void ChangePriceClick();
  // Sends the current filter to the comparison window as a new row.
  void actChartCompareExecute();
  // Opens one file as the open command does after its dialog.
  void OpenFile(const std::string& fileName);

  // operations
  // The main window's Save and Copy follow what the memo holds.
  void UpdateMainCommands();

 protected:
  // overrides
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  // construction, one part of the window each
  void CreateActions();
  // A chart of the window: flat, no legend, title, zoom or panning; black when dark.
  chart::TKivPanelWidget* NewChart(QWidget* parent, const char* name, std::unique_ptr<chart::TChart>& model,
                                   bool dark = true);
  void CreateChartSeries();
  QWidget* CreateInputPanel();
  QWidget* CreateResultPages();
  void ConnectEvents();
  template <class Signal, class Sender, class Body>
  void On(Sender* sender, Signal signal, Body body);

  // inputs
  void EnableBandInputs();
  void ShadeInputs(bool shaded);
  void RestoreAfterRefusal();

  // design
  void StopDesign();
  void FinishRun();
  void UpdateResponseViews(bool designChanged);
  void ShowCoefficientChart();
  void ShowResponseCharts();
  // No view shows a design: after a design failed, none matches the inputs.
  void ClearDesignViews();
  void FillCandles();
  void ShowPreviewLine();
  void ShowStatus(const QString& text);

  // text
  void SetMemoText(const std::string& text);

  IMainCommands& FMain;
  TUserDialogs& FDialogs;

  // The charts; their windows go before them.
  std::unique_ptr<chart::TChart> FChartPower, FChartPhase, FLogChart, FTimeChart, FChartFunct;

  // Input state: the typing flag, re-entrance of the corrections, on the fly.
  bool FTyping = false;
  bool FValidating = false;
  bool FOnTheFly = false;
  bool FClosed = false;

  // The design parameters of the inputs, and the current filter record.
  TDesignWorkspace FWorkspace;
  TFilterRecord FCurrentFilter{};

  // How the design threads reach this window.
  std::shared_ptr<TGeneratorLink> FLink;
  // The running design, if any, and the number of the last run started.
  std::shared_ptr<TDesignRun> FRun;
  int FRunCounter = 0;

  // The last finished design.
  TDesignWorkspace FDesign;
  std::uint8_t FDesignMethod = dmOwnExchange;

  // What the views show.
  TFftViews FFftViews;
  TLogView FLogView;
  TPriceChart FPriceChart;
  TPreview FPreview;
  std::string FIndicatorText;

  // Dragging the price chart.
  bool FChartDragging = false;
  int FDragX = 0;
};

}  // namespace workbench

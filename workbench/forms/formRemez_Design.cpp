// The filter generator's design runs: start and stop, the synchronised calls
// of the design thread, and the processing of a finished design.
// Tested by: tests/GeneratorDesignTest.cpp
#include <cfenv>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>

#include "workbench/forms/Controls.h"
#include "workbench/forms/RemezThread.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/forms/formRemez.h"

namespace workbench {

namespace {

constexpr const char* capStart = "Расчет параметров";
constexpr const char* capStop = "Стоп";
constexpr const char* capOrderTooLarge = "Max error";
constexpr const char* msgDesigning = "Расчет импульсной характеристики фильтра...";
constexpr const char* msgTransforming = "Осуществление преобразования Фурье...";
constexpr const char* msgWritingText = "Вывод рассчитанных коэффициентов...";

}  // namespace

void TfrmRemez::ShowStatus(const QString& text) {
  if (text.isEmpty()) {
    StatusBar1->clearMessage();
  } else {
    StatusBar1->showMessage(text);
  }
}

void TfrmRemez::ButtonStartClick() {
  if (DesignRunning()) {
    StopDesign();
    ShowStatus({});
    EnableInputs(true);
    FMain.EnableCommand(mcFormMethods, true);
    return;
  }

  FMain.EnableCommand(mcFormMethods, false);
  EnableInputs(false);
  Memo1->clear();
  FIndicatorText.clear();
  FIRTextMode->setEnabled(false);
  pnSetPrice->hide();
  UpdateMainCommands();
  try {
    ComputeDesignParameters();
  } catch (...) {
    // An input that does not read must not leave the inputs locked.
    RestoreAfterRefusal();
    throw;
  }
  WarnLabel->hide();
  actCopyToClipboard->setEnabled(false);

  // The order the design uses: the estimate, or the manual order.
  const int order = FCurrentFilter.Order;
  if (order >= MaxFilterOrder) {
    FDialogs.MessageBox(msgOrderTooLarge, capOrderTooLarge, mbOK, miNone);
    RestoreAfterRefusal();
    return;
  }

  auto run = std::make_shared<TDesignRun>();
  run->Number = ++FRunCounter;
  run->Workspace = FWorkspace;
  run->FilterType = FCurrentFilter.FilterType;
  run->Method = FCurrentFilter.Method;
  run->Order = order;
  run->Delay = InputDelay->Value();

  ButtonStart->setText(capStop);
  FRun = run;
  ShowStatus(msgDesigning);
  try {
    (new TRemezThread(run, FLink))->Start();
  } catch (...) {
    FinishRun();
    EnableInputs(true);
    throw;
  }
}

void TfrmRemez::StopDesign() {
  if (!FRun) return;
  // The run ends at its next step (a library design at its end); whatever it
  // reports after this is not looked at.
  FRun->Running.store(false);
  FRun.reset();
  if (!FClosed) ButtonStart->setText(capStart);
}

void TfrmRemez::FinishRun() {
  FRun.reset();
  ButtonStart->setText(capStart);
  ShowStatus({});
}

void TfrmRemez::SyncShowStatus(int runNumber, const std::string& status, bool iterationLimit) {
  if (!FRun || FRun->Number != runNumber) return;
  if (!status.empty()) {
    ShowStatus(QString::fromStdString(status));
    WarnLabel->hide();
  }
  if (iterationLimit) {
    WarnLabel->setText(QString::fromUtf8(msgIterationLimit));
    WarnLabel->show();
  }
}

void TfrmRemez::SyncDesignDone(TDesignRun& run) {
  std::feclearexcept(FE_ALL_EXCEPT);
  if (!FRun || FRun.get() != &run) return;  // stopped or superseded
  {
    // The worker has written its last before it called; the lock says so to
    // every reader of its memory.
    std::lock_guard lock(run.Lock);
    if (!run.Finished) return;
  }
  try {
    if (!run.Failure.empty()) throw EDesignFailed(run.Failure);
    FDesign = std::move(run.Workspace);
    FDesignMethod = run.Method;
    FinishDesign(FDesign, FDesignMethod, run.Delay, run.Status);
    UpdateResponseViews(true);
    ShowDesignResults();
    ButtonStart->setText(capStart);
    ShadeInputs(false);
    chkSeparate->show();
    // The check of the inputs at the end of the results hides the warning;
    // a result at the iteration limit keeps it in view.
    if (FDesign.IterationLimitReached) SyncShowStatus(run.Number, {}, true);
    FRun.reset();
    FMain.EnableCommand(mcFormMethods, true);
  } catch (...) {
    // A failed design leaves nothing to save, copy or look at; the window is
    // idle again before the message shows.
    FDesign.DesignCoefCount = 0;
    FDesign.ImpulseLength = 0;  // nor is there a filter to run over new prices
    ClearDesignViews();
    Memo1->clear();
    FIndicatorText.clear();
    UpdateMainCommands();
    try {
      EnableInputs(true);
    } catch (...) {
      // The inputs read when the run started and stayed locked since; the
      // design's own failure is the one to show.
    }
    FinishRun();
    FMain.EnableCommand(mcFormMethods, true);
    FDialogs.ShowException(std::current_exception());
  }
}

void TfrmRemez::ShowDesignResults() {
  const int count = FDesign.DesignCoefCount;
  if (count > 0) {
    FIRTextMode->setEnabled(true);
    ShowStatus(msgTransforming);
    UpdateResponseViews(false);
    ApplyFilterToChart();
    RedrawTimeChart();
    ShowStatus({});
    ShowCoefficientChart();
    if (count > InputDelay->Value() + 1) {
      if (FDesign.ImpulseLength > StatusReportOrder) ShowStatus(msgWritingText);
      SetMemoText(BuildIndicatorText());
      UpdateMainCommands();
      ShowStatus({});
      pnSetPrice->show();
    }
    btnCopy->show();
  }
  std::feclearexcept(FE_ALL_EXCEPT);
  EnableInputs(true);
}

void TfrmRemez::UpdateResponseViews(bool designChanged) {
  const int count = FDesign.DesignCoefCount;
  if (count > 0) FFftViews = ComputeFftViews(std::span<const double>(FDesign.DesignCoefficients.Coef.data(), count));
  // The logarithmic view shows the designed response, which a drag leaves as it is.
  if (designChanged) {
    const int taps = DesignedResponseTaps(FDesign, FDesignMethod);
    if (FDesign.KernelLength > 1) FLogView = ComputeLogView(FDesign.ImpulseResponse, FDesign.ImpulseLength, taps);
  }
  ShowResponseCharts();
}

void TfrmRemez::UpdateMainCommands() {
  if (FClosed) return;
  const bool hasText = !FIndicatorText.empty();
  actFileSave->setEnabled(hasText);
  actCopyToClipboard->setEnabled(hasText);
  if (FMain.HasChild(*this)) {
    FMain.EnableCommand(mcFileSave, hasText);
    FMain.EnableCommand(mcFormCopy, hasText);
  }
}

}  // namespace workbench

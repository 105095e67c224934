// Orvel: the filter-design workbench.
#include <QMessageBox>
#include <QPointer>

#include "analysis_ui/AnalysisUiInit.h"
#include "chart/tools/ChartEngine.h"
#include "chart_editors/ChartEditors.h"
#include "platform/audio/QtAudioEvents.h"
#include "platform/classlib/Threads.h"
#include "platform/classlib/WarningSink.h"
#include "signal/SignalInit.h"
#include "workbench/forms/FormCompareBruteForce.h"
#include "workbench/forms/OrvelApplication.h"
#include "workbench/forms/RemezThread.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/forms/formMain.h"
#include "workbench/logic/SettingsFile.h"

namespace {

// The libraries' warnings (a property skipped while settings were read, an
// obsolete value) in one message the user can dismiss; warnings that come
// while it is open are added to it rather than piling up boxes.
class TWarningBox : public classlib::TWarningSink {
 public:
  void Warning(const std::string& text) override {
    // A worker may report: the box lives on the GUI thread.
    QMetaObject::invokeMethod(
        qApp, [this, line = QString::fromStdString(text)] { Show(line); }, Qt::QueuedConnection);
  }

 private:
  void Show(const QString& line) {
    if (FBox != nullptr) {
      FBox->setText(FBox->text() + "\n" + line);
      return;
    }
    FBox = new QMessageBox(QMessageBox::Warning, "Orvel", line, QMessageBox::Ok);
    FBox->setObjectName("WarningBox");
    FBox->setAttribute(Qt::WA_DeleteOnClose);
    FBox->setModal(false);
    FBox->show();
  }

  QPointer<QMessageBox> FBox;
};

}  // namespace

int main(int argc, char** argv) {
  workbench::TOrvelApplication app(argc, argv);
  classlib::InstallQtSyncDispatcher();
  // The sound components' device reports run in this event loop.
  audio::InstallQtAudioEvents();
  TWarningBox warnings;
  classlib::SetWarningSink(&warnings);
  // The chart engine's classes and registries, then what its editors add to
  // them (the standard series kinds, the drag point tool, the gallery),
  // before any window makes a chart.
  chart::InitChartEngine();
  chart_editors::InitChartEditors();
  sig::InitSignal();
  analysis_ui::InitAnalysisUi();
  workbench::TQtUserDialogs dialogs;
  app.SetDialogs(&dialogs);
  int result = 0;
  {
    workbench::TfrmMain frmMain(dialogs, workbench::DefaultSettingsFilePath());
    // The search dialog (hidden until the comparison shows it) and the
    // spectrum window live from the start; the generator opens when the main
    // window first shows.
    frmMain.CreateStartWindows();
    frmMain.show();
    result = app.exec();
  }
  // A design stopped by the closing windows may still be on its way out.
  workbench::WaitForDesignThreads();
  workbench::WaitForSearchThreads();
  analysis_ui::DoneAnalysisUi();
  sig::DoneSignal();
  // Its Qt objects go while the application still lives.
  audio::InstallAudioEventSource(nullptr);
  chart_editors::DoneChartEditors();
  app.SetDialogs(nullptr);
  chart::DoneChartEngine();
  classlib::SetWarningSink(nullptr);
  return result;
}

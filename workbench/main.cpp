// Orvel: the filter-design workbench.
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMessageBox>
#include <QPointer>
#include <QStatusBar>

#include "platform/classlib/WarningSink.h"
#include "workbench/logic/HistoryFile.h"

namespace {

// The logic's questions and messages as message boxes.
class TMessageBoxes : public workbench::TUserMessages {
 public:
  workbench::TMessageResult MessageBox(const std::string& text, const std::string& caption,
                                       workbench::TMessageButtons buttons, workbench::TMessageIcon icon) override {
    static constexpr QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                                  QMessageBox::Warning, QMessageBox::Critical, QMessageBox::Question};
    QMessageBox box(icons[icon], QString::fromStdString(caption), QString::fromStdString(text),
                    buttons == workbench::mbOK ? QMessageBox::Ok : QMessageBox::Ok | QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok ? workbench::mrOK : workbench::mrCancel;
  }
};

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
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Orvel");
  QApplication::setApplicationName("Orvel");
  TWarningBox warnings;
  classlib::SetWarningSink(&warnings);
  QMainWindow window;
  window.setObjectName("frmMain");
  window.setWindowTitle("Orvel");
  window.setCentralWidget(new QMdiArea(&window));
  window.resize(1024, 720);
  window.show();

  // Until the windows open files themselves: load the history named on the
  // command line, or the sample history beside the program.
  const QString history = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                   : QApplication::applicationDirPath() + "/SAMPLE60.hst";
  TMessageBoxes messages;
  if (workbench::LoadHistoryFile(history.toStdString(), messages))
    window.statusBar()->showMessage(history + ": " + QString::fromStdString(workbench::HistoryFileLabel(workbench::History)));
  const int result = app.exec();
  classlib::SetWarningSink(nullptr);
  return result;
}

// What the window tests share: dialogs that follow a script instead of
// waiting for a user, and a fixture that starts the workbench as the program
// does, with its settings file in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QImage>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <deque>
#include <fstream>
#include <ostream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "testing/TestSupport.h"
#include "workbench/forms/FormCompareBruteForce.h"
#include "workbench/forms/RemezThread.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/forms/formMain.h"
#include "workbench/forms/formRemez.h"
#include "workbench/logic/Classes_Remez.h"
#include "workbench/logic/tests/ScriptedMessages.h"

// QStrings in test failures as their text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace workbench {

// Records every message and answers from a script. A question, file dialog
// or modal window that the script did not expect fails the test.
class TScriptedDialogs : public TScriptedMessagesOf<TUserDialogs> {
 public:
  struct TFileDialog {
    std::string Filter;
    int FilterIndex;
    bool Save;
  };

  std::deque<std::optional<TFileChoice>> FileChoices;  // for open and save dialogs
  std::vector<TFileDialog> FileDialogs;
  std::deque<std::function<int(QDialog&)>> Modals;   // for modal windows
  std::vector<QUrl> Urls;
  // When set, a message takes the focus from the window while it is up, as
  // the program's own boxes do.
  bool MessagesTakeFocus = false;

  TMessageResult MessageBox(const std::string& text, const std::string& caption, TMessageButtons buttons,
                            TMessageIcon icon) override {
    using TBase = TScriptedMessagesOf<TUserDialogs>;
    if (!MessagesTakeFocus) return TBase::MessageBox(text, caption, buttons, icon);
    QWidget* before = QApplication::activeWindow();
    QDialog box;
    box.setObjectName("ScriptedMessageBox");
    box.show();
    QApplication::setActiveWindow(&box);
    const TMessageResult answer = TBase::MessageBox(text, caption, buttons, icon);
    box.hide();
    if (before != nullptr) QApplication::setActiveWindow(before);
    return answer;
  }

  std::optional<TFileChoice> OpenFileDialog(QWidget*, const std::string& filter, int filterIndex) override {
    return NextFile(filter, filterIndex, false);
  }
  std::optional<TFileChoice> SaveFileDialog(QWidget*, const std::string& filter, int filterIndex) override {
    return NextFile(filter, filterIndex, true);
  }
  int ExecModal(QDialog& dialog) override {
    if (Modals.empty()) {
      ADD_FAILURE() << "unexpected modal window " << dialog.objectName().toStdString();
      return QDialog::Rejected;
    }
    auto script = std::move(Modals.front());
    Modals.pop_front();
    return script(dialog);
  }
  void OpenUrl(const QUrl& url) override { Urls.push_back(url); }

 private:
  std::optional<TFileChoice> NextFile(const std::string& filter, int filterIndex, bool save) {
    FileDialogs.push_back({filter, filterIndex, save});
    if (FileChoices.empty()) {
      ADD_FAILURE() << "unexpected file dialog " << filter;
      return std::nullopt;
    }
    auto choice = FileChoices.front();
    FileChoices.pop_front();
    return choice;
  }
};

// Processes events until `done` holds; false when the time ran out first.
template <class Predicate>
bool WaitUntil(Predicate done, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QTest::qWait(2);
  }
  return true;
}

// Clicks a check box or radio button on its box, where a user clicks it.
inline void ClickButton(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// Starts the workbench as the program does: the main window over a settings
// file in a temporary folder, 1280 x 800, shown, the generator open.
class TWorkbenchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    History = THistory{};
    WorkbenchSettings = TWorkbenchSettings{};
  }
  void TearDown() override {
    FMain.reset();
    WaitForDesignThreads();
    WaitForSearchThreads();
    EXPECT_TRUE(FDialogs.Answers.empty()) << "unused answers";
    EXPECT_TRUE(FDialogs.FileChoices.empty()) << "unused file choices";
  }

  std::string SettingsFile() const { return FDir.File("orvel.ini"); }

  // iniText, when given, is the settings file the program finds.
  TfrmMain& StartWorkbench(const std::string& iniText = {}) {
    if (!iniText.empty()) FDir.Write("orvel.ini", iniText);
    FMain = std::make_unique<TfrmMain>(FDialogs, SettingsFile());
    FMain->resize(1280, 800);
    FMain->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(FMain.get()));
    QApplication::setActiveWindow(FMain.get());
    return *FMain;
  }

  TfrmRemez& Generator() {
    auto* generator = dynamic_cast<TfrmRemez*>(FMain->FindChildWindow("frmremez"));
    if (generator == nullptr) throw std::runtime_error("no generator window");
    return *generator;
  }

  // A control of a window by its name; fails the test when there is none.
  template <class T>
  T& Control(QObject& window, const char* name) {
    T* control = window.findChild<T*>(name);
    if (control == nullptr) throw std::runtime_error(std::string("no control ") + name);
    return *control;
  }

  // Types into an input of the generator as a user does: focus, select all,
  // type, leave.
  void TypeInto(TfrmRemez& generator, QWidget* input, const QString& text, QWidget* next) {
    input->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return input->hasFocus(); }, 2000)) << input->objectName().toStdString();
    QTest::keyClick(input, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(input, Qt::Key_Delete);
    QTest::keyClicks(input, text);
    EXPECT_TRUE(generator.Typing());
    next->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return next->hasFocus(); }, 2000)) << next->objectName().toStdString();
  }

  // Presses the start button and waits until the design has ended.
  void DesignAndWait(TfrmRemez& generator, int timeoutMs = 60000) {
    QTest::mouseClick(generator.ButtonStart, Qt::LeftButton);
    WaitForDesign(generator, timeoutMs);
  }
  void WaitForDesign(TfrmRemez& generator, int timeoutMs = 60000) {
    ASSERT_TRUE(WaitUntil([&] { return !generator.DesignRunning(); }, timeoutMs)) << "the design did not end";
  }

  TScriptedDialogs FDialogs;
  orvel::testing::TTempDir FDir;
  std::unique_ptr<TfrmMain> FMain;
};

// The settings of a generator with the own exchange and otherwise the defaults.
inline const char* OwnMethodSettings = "[OrvelParameters]\nMethod=1\n";

// Writes a window's picture into the test's build folder and returns it.
inline QImage Screenshot(QWidget& window, const std::string& name) {
  const QImage image = window.grab().toImage();
  image.save(QString::fromStdString(std::string(ORVEL_TEST_BINARY_DIR) + "/" + name + ".png"));
  return image;
}

// The bytes of a file as written (empty when there is none).
inline std::string FileText(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

// The order of a narrow low-pass design (P1 10, D1 5) by the own exchange
// that reaches the iteration limit; 0 when every order tried settles.
inline int IterationLimitOrder() {
  TFilterRecord f;
  f.FilterType = ftLowPass;
  f.P1 = 10, f.D1 = 5, f.A1 = 40, f.P2 = 36, f.D2 = 52, f.A2 = 40;
  f.Ripple = 0.08;
  f.Method = dmOwnExchange;
  for (int order = 150; order <= 400; order += 10) {
    TDesignWorkspace ws;
    TCoefficientRecord coefficients{};
    f.Order = order;
    DesignFilterRecord(ws, 0, f, coefficients);
    if (ws.IterationLimitReached) return order;
  }
  return 0;
}

}  // namespace workbench

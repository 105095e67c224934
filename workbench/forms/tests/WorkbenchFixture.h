// What the window tests share: the shared layer's window-test fixture
// (dialogs that follow a script instead of waiting for a user), and a
// fixture on it that starts the workbench as the program does, with its
// settings file in a temporary folder.
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

#include "platform/ui/testing/WindowTest.h"
#include "testing/TestSupport.h"
#include "workbench/forms/FormCompareBruteForce.h"
#include "workbench/forms/RemezThread.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/forms/formMain.h"
#include "workbench/forms/formRemez.h"
#include "workbench/forms/formSpectrum.h"
#include "workbench/logic/Classes_Remez.h"

namespace workbench {

using ui::ClickButton;
using ui::Control;
using ui::Screenshot;
using ui::TScriptedDialogs;

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

// Starts the workbench as the program does: the main window over a settings
// file in a temporary folder, 1280 x 800, shown, the generator open. The
// window test's scripted dialogs are the workbench's dialogs.
class TWorkbenchTest : public ui::TWindowTest {
 protected:
  void SetUp() override {
    ui::TWindowTest::SetUp();
    History = THistory{};
    WorkbenchSettings = TWorkbenchSettings{};
  }
  void TearDown() override {
    FMain.reset();
    WaitForDesignThreads();
    WaitForSearchThreads();
    ui::TWindowTest::TearDown();
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

  // Starts the workbench with the windows the program makes before its main
  // window shows: the search dialog and the spectrum window.
  TfrmMain& StartProgram(const std::string& iniText = {}) {
    if (!iniText.empty()) FDir.Write("orvel.ini", iniText);
    FMain = std::make_unique<TfrmMain>(FDialogs, SettingsFile());
    FMain->CreateStartWindows();
    FMain->resize(1280, 800);
    FMain->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(FMain.get()));
    QApplication::setActiveWindow(FMain.get());
    return *FMain;
  }

  TfrmSpectrum& Spectrum() {
    auto* spectrum = dynamic_cast<TfrmSpectrum*>(FMain->FindChildWindow("frmspectrum"));
    if (spectrum == nullptr) throw std::runtime_error("no spectrum window");
    return *spectrum;
  }

  TfrmRemez& Generator() {
    auto* generator = dynamic_cast<TfrmRemez*>(FMain->FindChildWindow("frmremez"));
    if (generator == nullptr) throw std::runtime_error("no generator window");
    return *generator;
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

  std::unique_ptr<TfrmMain> FMain;
};

// The settings of a generator with the own exchange and otherwise the defaults.
inline const char* OwnMethodSettings = "[OrvelParameters]\nMethod=1\n";

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

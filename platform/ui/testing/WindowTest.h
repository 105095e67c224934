// What the window tests of every layer share: a fixture whose test has its
// own scripted dialogs, its own settings store in a temporary folder and a
// count of the beeps; finding controls by name; clicking a check box where a
// user clicks it; screenshots written beside the test.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QImage>
#include <QListWidget>
#include <QStringList>
#include <QTest>
#include <QWidget>

#include <ostream>
#include <stdexcept>
#include <string>

#include "platform/ui/Beep.h"
#include "platform/ui/RegistryStore.h"
#include "platform/ui/UserDialogs.h"
#include "platform/ui/testing/ScriptedDialogs.h"
#include "testing/TestSupport.h"

// QStrings in test failures as their text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace ui {

class TWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FPreviousDialogs = SetDialogs(&FDialogs);
    FPreviousStore = SetRegistryFile(StoreFile());
    FPreviousBeep = SetBeepHook([this] { ++FBeeps; });
  }
  void TearDown() override {
    FDialogs.ExpectAllUsed();
    SetBeepHook(std::move(FPreviousBeep));
    SetRegistryFile(FPreviousStore);
    SetDialogs(FPreviousDialogs);
  }

  // The settings store of this test.
  std::string StoreFile() const { return FDir.File("registry.ini"); }

  TScriptedDialogs FDialogs;
  orvel::testing::TTempDir FDir;
  int FBeeps = 0;

 private:
  TUserDialogs* FPreviousDialogs = nullptr;
  std::string FPreviousStore;
  TBeepHook FPreviousBeep;
};

// A control of a window by its name; raises when there is none.
template <class T>
T& Control(QObject& window, const char* name) {
  T* control = window.findChild<T*>(name);
  if (control == nullptr) throw std::runtime_error(std::string("no control ") + name);
  return *control;
}

// Clicks a check box or radio button on its box, where a user clicks it.
// The texts a combo box lists, in order.
inline QStringList Items(const QComboBox& combo) {
  QStringList texts;
  for (int i = 0; i < combo.count(); ++i) texts << combo.itemText(i);
  return texts;
}

// The texts of a list's items, in order.
inline QStringList Texts(const QListWidget& list) {
  QStringList texts;
  for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text();
  return texts;
}

inline void ClickButton(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// Writes a window's picture into the test's build folder (outside a test
// target: the working folder) and returns it.
inline QImage Screenshot(QWidget& window, const std::string& name) {
#ifdef ORVEL_TEST_BINARY_DIR
  const std::string folder = ORVEL_TEST_BINARY_DIR;
#else
  const std::string folder = ".";
#endif
  const QImage image = window.grab().toImage();
  image.save(QString::fromStdString(folder + "/" + name + ".png"));
  return image;
}

}  // namespace ui

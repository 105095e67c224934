// What the tests of the component windows share beyond the analysers' window
// support: typing into a field and choosing in a list key by key as a user
// does, and freeing the forms that closed.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "analysis_ui/tests/AnalysisFormTestSupport.h"

namespace analysis_ui::formtests {

// The base dialog over any component, and the dark pixels of a picture, as
// the analysers' window tests have them.
using TSourceDialog = testsupport::TAnalysisDialog;
using testsupport::DarkPixels;

// Forms free themselves after they close, at the next turn of the loop.
inline void FreeClosedForms() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// Types Text over the whole content of an edit, key by key (an empty text
// deletes the content).
inline void Type(QLineEdit& Edit, const QString& Text) {
  Edit.selectAll();
  if (Text.isEmpty())
    QTest::keyClick(&Edit, Qt::Key_Delete);
  else
    QTest::keyClicks(&Edit, Text);
}

// Gives a control of a window shown the keyboard focus, as a click does.
inline void Focus(QWidget& Control) {
  QWidget* window = Control.window();
  window->activateWindow();
  QApplication::setActiveWindow(window);
  Control.setFocus(Qt::MouseFocusReason);
}

// Moves a list's choice to item Index with the arrow keys, as a user does
// (each step is a choice the list reports).
inline void Choose(QComboBox& Box, int Index) {
  QWidget* keys = Box.isEditable() ? static_cast<QWidget*>(Box.lineEdit()) : &Box;
  while (Box.currentIndex() < Index) QTest::keyClick(keys, Qt::Key_Down);
  while (Box.currentIndex() > Index) QTest::keyClick(keys, Qt::Key_Up);
}

}  // namespace analysis_ui::formtests

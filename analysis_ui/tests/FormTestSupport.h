// What the tests of the component windows share: a component dialog over
// any component, typing into a field and choosing in a list as a user does,
// freeing the forms that closed, and counting the dark pixels of a picture.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include "analysis_ui/ComponentDialog.h"
#include "signal/Analysis.h"

namespace analysis_ui::formtests {

// The base dialog over any component (the program has a dialog class for the
// spectrum analyser only).
class TSourceDialog : public TMtxDialog {
 public:
  void SetSource(sig::TAnalysis* Value) { SetSourceComponent(Value); }
};

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

// Moves a list's choice to item Index with the arrow keys, as a user does
// (each step is a choice the list reports).
inline void Choose(QComboBox& Box, int Index) {
  QWidget* keys = Box.isEditable() ? static_cast<QWidget*>(Box.lineEdit()) : &Box;
  while (Box.currentIndex() < Index) QTest::keyClick(keys, Qt::Key_Down);
  while (Box.currentIndex() > Index) QTest::keyClick(keys, Qt::Key_Up);
}

// Pixels darker than text is drawn at its faintest, in a rectangle of a picture.
inline int DarkPixels(const QImage& Picture, const QRect& Area) {
  int n = 0;
  const QRect r = Area.intersected(Picture.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += qGray(Picture.pixel(x, y)) < 110;
  return n;
}

}  // namespace analysis_ui::formtests

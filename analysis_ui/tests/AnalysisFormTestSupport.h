// What the tests of the analysers' windows share: a component dialog over
// any analyser, the fixture that opens its window through it, and counting
// dark pixels of a screenshot.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include <memory>

#include "analysis_ui/ComponentDialog.h"
#include "analysis_ui/ComponentEditorForm.h"
#include "platform/ui/testing/WindowTest.h"
#include "signal/Analysis.h"

namespace analysis_ui::testsupport {

// The base dialog over any analyser (the workbench has a dialog class for the
// spectrum analyser only).
class TAnalysisDialog : public TMtxDialog {
 public:
  void SetSource(sig::TAnalysis* Value) { SetSourceComponent(Value); }
};

// Opens the window of an analyser of kind T through the dialog (live, so
// that every change recomputes) and counts the analyser's parameter updates.
template <class T, class TForm>
class TAnalysisFormTest : public ui::TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    FAnalyzer.SetName("Analyzer1");
    FAnalyzer.SetOnParameterUpdate([this](classlib::TPersistent*) { ++FParameterUpdates; });
    FDialog = std::make_unique<TAnalysisDialog>();
    FDialog->SetName("AnalyzerDialog");
    FDialog->SetSource(&FAnalyzer);
    FDialog->SetShowLive(true);
  }
  void TearDown() override {
    FDialog.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    TWindowTest::TearDown();
  }

  TForm& Open() {
    FDialog->Execute();
    auto* form = dynamic_cast<TForm*>(FDialog->EditorForm());
    if (form == nullptr) throw std::runtime_error("the analyser's window did not open");
    return *form;
  }
  static void FreeClosedForms() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  // Types Text over the whole content of an edit, as a user does.
  static void Type(QLineEdit& Edit, const QString& Text) {
    Edit.setFocus();
    Edit.selectAll();
    QTest::keyClicks(&Edit, Text);
  }
  // Chooses item Index of a list as a user does: the list's current item
  // changes (it is not where it stood).
  static void Choose(QComboBox& Box, int Index) { Box.setCurrentIndex(Index); }

  T FAnalyzer;
  std::unique_ptr<TAnalysisDialog> FDialog;
  int FParameterUpdates = 0;
};

// Pixels darker than a control's text colour is at its faintest, in a
// rectangle of a picture.
inline int DarkPixels(const QImage& Picture, const QRect& Area) {
  int n = 0;
  const QRect r = Area.intersected(Picture.rect());
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += qGray(Picture.pixel(x, y)) < 110;
  return n;
}

// The rectangle a control covers in its window's picture.
inline QRect AreaOf(const QWidget& Control, const QWidget& Window) {
  return QRect(Control.mapTo(&Window, QPoint(0, 0)), Control.size());
}

}  // namespace analysis_ui::testsupport

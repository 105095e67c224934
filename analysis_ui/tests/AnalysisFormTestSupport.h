// What the tests of the analysers' windows share: a component dialog over
// any analyser, the fixture that opens its window through it and drives its
// controls row by row, the report's check boxes, the text a report puts on
// the clipboard, and counting dark pixels of a screenshot.
#pragma once

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "analysis_ui/ComponentDialog.h"
#include "analysis_ui/ComponentEditorForm.h"
#include "platform/classlib/StringLists.h"
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

  // One control as a user changes it, and whether the analyser then holds
  // what it should.
  struct TControlRow {
    const char* Name;
    std::function<void(QWidget&)> Change;
    std::function<bool(const T&)> Written;
  };
  static std::function<void(QWidget&)> ChooseItem(const char* Name, int Index) {
    return [=](QWidget& f) { Choose(ui::Control<QComboBox>(f, Name), Index); };
  }
  static std::function<void(QWidget&)> TypeText(const char* Name, const char* Text) {
    return [=](QWidget& f) { Type(ui::Control<QLineEdit>(f, Name), Text); };
  }
  static std::function<void(QWidget&)> ClickBox(const char* Name) {
    return [=](QWidget& f) { ui::ClickButton(&ui::Control<QCheckBox>(f, Name)); };
  }
  // Each row in turn, with the control's page shown (so that it takes clicks
  // and keys) in a window whose pages are the tabs of "PageControl1": the
  // control is enabled, writes its property and the analyser recomputes.
  void ExpectEachControlWrites(QWidget& Form, const std::vector<TControlRow>& Rows) {
    auto& pages = ui::Control<QTabWidget>(Form, "PageControl1");
    for (const TControlRow& row : Rows) {
      QWidget& control = ui::Control<QWidget>(Form, row.Name);
      for (int p = 0; p < pages.count(); ++p)
        if (pages.widget(p)->isAncestorOf(&control)) pages.setCurrentIndex(p);
      ASSERT_TRUE(control.isEnabled()) << row.Name;
      const int before = FParameterUpdates;
      row.Change(Form);
      EXPECT_TRUE(row.Written(FAnalyzer)) << row.Name;
      EXPECT_GT(FParameterUpdates, before) << row.Name;
    }
  }

  T FAnalyzer;
  std::unique_ptr<TAnalysisDialog> FDialog;
  int FParameterUpdates = 0;
};

// Clicks each named check box of a report page in turn: each switches its
// own item of the set that Items reads, and no other.
template <class TItem>
void ExpectBoxesSwitchItems(QWidget& Form, std::initializer_list<std::pair<const char*, TItem>> Boxes,
                            const std::function<unsigned()>& Items) {
  for (const auto& [name, item] : Boxes) {
    const unsigned before = Items();
    ui::ClickButton(&ui::Control<QCheckBox>(Form, name));
    EXPECT_EQ(Items(), before ^ (1u << item)) << name;
  }
}

// The text a report's lines make on the clipboard: each line ended by a line break.
inline QString ReportText(const classlib::TStrings& Lines) {
  QString text;
  for (int i = 0; i < Lines.Count(); ++i) text += QString::fromStdString(Lines.Strings(i)) + "\n";
  return text;
}

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

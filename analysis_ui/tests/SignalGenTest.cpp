// The signal generator form, opened by a component dialog beside a generator
// that recomputes at every parameter update, as a window holding it would:
// filling from the generator, the fields and captions of each source and
// operator, committing a line (on leaving a field or Enter, or at every
// change while Live is on), adding and deleting lines, the generator's
// errors, resynchronising, Cancel and OK, settings files and a picture.
// Covers: analysis_ui/SignalGen.cpp, analysis_ui/EditorControls.cpp.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "analysis_ui/ComponentDialog.h"
#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/MtxGridView.h"
#include "analysis_ui/SignalGen.h"
#include "analysis_ui/tests/EditorFormTestSupport.h"
#include "platform/ui/testing/WindowTest.h"
#include "signal/SignalGenerator.h"

namespace analysis_ui {
namespace {

using editorformtests::Enter;
using editorformtests::FocusAndType;
using editorformtests::Ink;
using editorformtests::Parameters;
using sig::TFuncSignalLine;
using ui::Control;

TFuncSignalLine Source(std::uint8_t Type, std::vector<double> P, bool Complex = false) {
  TFuncSignalLine line;
  line.Enabled = true;
  line.Kind = 0;
  line.SignalType = Type;
  line.Operator = sig::goNone;
  line.Complex = Complex;
  line.Continuous = true;
  double* p[] = {&line.P1, &line.P2, &line.P3, &line.P4, &line.P5, &line.P6, &line.P7};
  for (std::size_t i = 0; i < P.size(); ++i) *p[i] = P[i];
  return line;
}

TFuncSignalLine Op(std::uint8_t Operator, double P1 = 0, double P2 = 0) {
  TFuncSignalLine line;
  line.Enabled = true;
  line.Kind = 1;
  line.SignalType = sig::gfNone;
  line.Operator = Operator;
  line.P1 = P1;
  line.P2 = P2;
  return line;
}

class TGeneratorDialog : public TMtxDialog {
 public:
  void SetSource(sig::TSignalGenerator* g) { SetSourceComponent(g); }
};

class SignalGen : public ui::TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    FGenerator = std::make_unique<sig::TSignalGenerator>();
    FGenerator->SetName("SignalGenerator1");
    FGenerator->SetLength(64);
    FGenerator->SetSamplingFrequency(1000);
    // The window's redraw: every parameter update recomputes the generator.
    FGenerator->SetOnParameterUpdate([this](classlib::TPersistent*) {
      ++FUpdates;
      FGenerator->Update();
    });
    FDialog = std::make_unique<TGeneratorDialog>();
    FDialog->SetName("GeneratorDialog1");
    FDialog->SetSource(FGenerator.get());
  }
  void TearDown() override {
    FDialog.reset();
    FreeClosedForms();
    FGenerator.reset();
    TWindowTest::TearDown();
  }

  // A template "Mix" holding the lines, current.
  void Formula(const std::vector<TFuncSignalLine>& Lines) {
    FGenerator->Sounds().AddEmptyTemplate("Mix");
    for (const TFuncSignalLine& l : Lines) FGenerator->Sounds().Template().AddLine(l);
  }
  const TFuncSignalLine& Line(int Index) const { return FGenerator->Sounds().Template().GetLine(Index); }

  TSignalGenForm& Open(bool live = false) {
    FDialog->SetShowLive(live);
    FDialog->Execute();
    auto* form = dynamic_cast<TSignalGenForm*>(FDialog->EditorForm());
    if (form == nullptr) throw std::runtime_error("no signal generator form");
    QApplication::setActiveWindow(form);
    return *form;
  }
  static void FreeClosedForms() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
  template <class T>
  T& C(const char* name) {
    return Control<T>(*FDialog->EditorForm(), name);
  }
  TMtxFloatEdit& Param(int k) { return C<TMtxFloatEdit>(("Edit" + std::to_string(k) + "x").c_str()); }
  QLabel& Caption(int k) { return C<QLabel>(("Label" + std::to_string(k) + "x").c_str()); }
  TMtxGridView& List() { return C<TMtxGridView>("SignalBox"); }
  void SelectLine(int Index) { List().setCurrentItem(List().Line(Index)); }
  std::string LineText(int Index) { return List().Line(Index)->text(1).toStdString(); }
  // The captions of the fields on view, in order.
  std::vector<std::string> ShownCaptions() {
    std::vector<std::string> shown;
    QWidget& box = C<QWidget>("SourceGroup");
    for (int k = 0; k < TSignalGenForm::ParamCount; ++k)
      if (Param(k).isVisibleTo(&box)) shown.push_back(Caption(k).text().toStdString());
    return shown;
  }

  std::unique_ptr<sig::TSignalGenerator> FGenerator;
  std::unique_ptr<TGeneratorDialog> FDialog;
  int FUpdates = 0;
};

TEST_F(SignalGen, OpensThroughTheDialogFilledFromTheGenerator) {
  Formula({Source(sig::gfSine, {50, 30, 2}, true), Source(sig::gfRandGauss, {0, 0.1}), Op(sig::goAdd)});
  TSignalGenForm& form = Open();
  EXPECT_EQ(form.windowTitle(), "Signal Generator/Mixer/Modulator");
  EXPECT_TRUE(FGenerator->EditorOpen());
  ASSERT_EQ(C<QComboBox>("TemplateCombo").count(), 1);
  EXPECT_EQ(C<QComboBox>("TemplateCombo").currentText(), "Mix");
  ASSERT_EQ(List().LineCount(), 3);
  EXPECT_EQ(LineText(0), "Sine");
  EXPECT_EQ(LineText(1), "RandGauss");
  EXPECT_EQ(LineText(2), "+");
  EXPECT_EQ(List().Line(0)->text(0), "1");
  EXPECT_EQ(List().Line(0)->checkState(0), Qt::Checked);
  // The first line is in the controls.
  EXPECT_EQ(C<QComboBox>("SignalTypeBox").currentText(), "Sine");
  EXPECT_TRUE(C<QComboBox>("SignalTypeBox").isEnabled());
  EXPECT_FALSE(C<QComboBox>("OpBox").isEnabled());
  EXPECT_EQ(Param(0).Position(), 50);
  EXPECT_EQ(Param(1).Position(), 30);
  EXPECT_EQ(Param(2).Position(), 2);
  EXPECT_TRUE(C<QCheckBox>("CplxCheckBox").isChecked());
  EXPECT_TRUE(C<QCheckBox>("ContinuousBox").isChecked());
  // An operator line: the operator is chosen, the source is not.
  SelectLine(2);
  EXPECT_EQ(C<QComboBox>("OpBox").currentText(), "+");
  EXPECT_TRUE(C<QComboBox>("OpBox").isEnabled());
  EXPECT_FALSE(C<QComboBox>("SignalTypeBox").isEnabled());
  QWidget& box = C<QWidget>("SourceGroup");
  EXPECT_FALSE(C<QCheckBox>("CplxCheckBox").isVisibleTo(&box));
  EXPECT_FALSE(C<QCheckBox>("ContinuousBox").isVisibleTo(&box));
  EXPECT_EQ(FUpdates, 0);
}

// The fields and captions of each source, and whether "Cplx" is offered.
TEST_F(SignalGen, EachSourceShowsTheFieldsItReads) {
  Formula({Source(sig::gfSine, {})});
  Open();
  struct TCase {
    const char* Source;
    std::vector<std::string> Captions;
    bool Cplx;
  };
  const TCase cases[] = {
      {"Sine", {"Freq:", "Phase:", "Amplt:"}, true},
      {"Impulse", {"High:", "Low:", "Raise:", "Fall:", "Amplt:"}, false},
      {"Unit impulse", {}, false},
      {"Triangle", {"Freq:", "Phase:", "Amplt:", "Asym:"}, true},
      {"Square", {"Freq:", "Phase:", "Amplt:", "DC:"}, false},
      {"RandGauss", {"Mean:", "StdDev:"}, true},
      {"RandUniform", {"Low:", "Hi:"}, true},
      {"Chirp", {"Freq:", "Phase:", "Amplt:", "DC:", "Freq2:", "Amplt2:", "Duty:"}, false},
      {"Constant", {"Re:", "Im:"}, true},
  };
  QWidget& box = C<QWidget>("SourceGroup");
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Source);
    C<QComboBox>("SignalTypeBox").setCurrentText(c.Source);
    EXPECT_EQ(Line(0).SignalType, C<QComboBox>("SignalTypeBox").currentIndex());
    EXPECT_EQ(ShownCaptions(), c.Captions);
    // The captions after the last field are empty.
    for (std::size_t k = c.Captions.size(); k < TSignalGenForm::ParamCount; ++k)
      EXPECT_EQ(Caption(static_cast<int>(k)).text(), "") << k;
    EXPECT_EQ(C<QCheckBox>("CplxCheckBox").isVisibleTo(&box), c.Cplx);
    EXPECT_TRUE(C<QCheckBox>("ContinuousBox").isVisibleTo(&box));
    EXPECT_EQ(LineText(0), c.Source);
  }
  // An input reads no field, and leaves "Cplx" as it was: shown after a
  // sine, hidden after a chirp.
  for (const char* before : {"Sine", "Chirp"}) {
    SCOPED_TRACE(before);
    C<QComboBox>("SignalTypeBox").setCurrentText(before);
    const bool cplx = C<QCheckBox>("CplxCheckBox").isVisibleTo(&box);
    C<QComboBox>("SignalTypeBox").setCurrentText("Input 3");
    EXPECT_EQ(Line(0).SignalType, sig::gfInput0 + 3);
    EXPECT_TRUE(ShownCaptions().empty());
    EXPECT_EQ(C<QCheckBox>("CplxCheckBox").isVisibleTo(&box), cplx);
    EXPECT_EQ(LineText(0), "Input 3");
  }
}

TEST_F(SignalGen, LimitIsTheOperatorWithFields) {
  Formula({Source(sig::gfSine, {10, 0, 1}), Op(sig::goAbs)});
  Open(true);
  SelectLine(1);
  EXPECT_TRUE(ShownCaptions().empty());
  C<QComboBox>("OpBox").setCurrentText("Limit");
  EXPECT_EQ(Line(1).Operator, sig::goLimit);
  EXPECT_EQ(ShownCaptions(), (std::vector<std::string>{"Upper:", "Lower:"}));
  EXPECT_EQ(LineText(1), "Limit");
  FocusAndType(Param(0), "0.5");
  FocusAndType(Param(1), "-0.25");
  EXPECT_EQ(Line(1).P1, 0.5);
  EXPECT_EQ(Line(1).P2, -0.25);
  // The generator now clips the sine.
  FGenerator->Update();
  double hi = -1e9, lo = 1e9;
  for (int i = 0; i < FGenerator->Data().Length(); ++i) {
    hi = std::max(hi, FGenerator->Data().Values()[i]);
    lo = std::min(lo, FGenerator->Data().Values()[i]);
  }
  EXPECT_EQ(hi, 0.5);
  EXPECT_EQ(lo, -0.25);
  C<QComboBox>("OpBox").setCurrentText("*");
  EXPECT_TRUE(ShownCaptions().empty());
  // An operator line keeps its past-the-end source code.
  EXPECT_EQ(Line(1).SignalType, sig::gfNone);
  EXPECT_EQ(Line(1).Kind, 1);
}

TEST_F(SignalGen, WithLiveOffAFieldChangesNothingUntilItIsLeftOrEnterIsPressed) {
  Formula({Source(sig::gfSine, {10, 0, 1})});
  Open();
  FocusAndType(Param(0), "25");
  EXPECT_EQ(Line(0).P1, 10);
  Enter(Param(0));
  EXPECT_EQ(Line(0).P1, 25);
  FocusAndType(Param(2), "3");
  EXPECT_EQ(Line(0).P3, 1);
  Param(1).setFocus(Qt::TabFocusReason);
  EXPECT_EQ(Line(0).P3, 3);
  // Nothing recomputes until "Update".
  EXPECT_EQ(FUpdates, 0);
  C<QToolButton>("ToolButton1").click();
  EXPECT_EQ(FUpdates, 1);
  EXPECT_NEAR(FGenerator->Data().Values()[1], 3 * std::sin(2 * std::numbers::pi * 25 / 1000.0), 1e-12);
}

TEST_F(SignalGen, WithLiveOnEveryChangeCommitsAndRecomputes) {
  Formula({Source(sig::gfSine, {10, 0, 1})});
  Open(true);
  FocusAndType(Param(0), "40");
  EXPECT_EQ(Line(0).P1, 40);
  EXPECT_GT(FUpdates, 0);
  EXPECT_NEAR(FGenerator->Data().Values()[1], std::sin(2 * std::numbers::pi * 40 / 1000.0), 1e-12);
  const int updates = FUpdates;
  ui::ClickButton(&C<QCheckBox>("CplxCheckBox"));
  EXPECT_TRUE(Line(0).Complex);
  EXPECT_GT(FUpdates, updates);
  EXPECT_TRUE(FGenerator->Data().Complex());
  // A field emptied or holding a lone sign is not a value yet.
  Param(2).setFocus(Qt::TabFocusReason);
  Param(2).selectAll();
  QTest::keyClick(&Param(2), Qt::Key_Delete);
  EXPECT_EQ(Line(0).P3, 1);
  QTest::keyClicks(&Param(2), "-");
  EXPECT_EQ(Line(0).P3, 1);
  QTest::keyClicks(&Param(2), "2");
  EXPECT_EQ(Line(0).P3, -2);
}

TEST_F(SignalGen, AnEmptyFieldIsRefusedWithAMessage) {
  Formula({Source(sig::gfSine, {10, 0, 1})});
  Open();
  Param(0).setFocus(Qt::TabFocusReason);
  Param(0).selectAll();
  QTest::keyClick(&Param(0), Qt::Key_Delete);
  Enter(Param(0));
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "Enter a value!");
  EXPECT_EQ(Param(0).Position(), 10);
  EXPECT_EQ(Line(0).P1, 10);
}

TEST_F(SignalGen, AddingLinesNeedsATemplateAndFillsThemFromTheControls) {
  Open();
  C<QPushButton>("AddSignalButton").click();
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "Define template name first.");
  EXPECT_EQ(FGenerator->Sounds().Template().Count(), 0);
  EXPECT_EQ(List().LineCount(), 0);
  EXPECT_FALSE(C<QComboBox>("SignalTypeBox").isEnabled());
  EXPECT_FALSE(Param(0).isEnabled());

  FDialogs.InputAnswers.push_back("Tone");
  C<QPushButton>("NewButton").click();
  EXPECT_EQ(C<QComboBox>("TemplateCombo").currentText(), "Tone");
  C<QPushButton>("AddSignalButton").click();
  ASSERT_EQ(FGenerator->Sounds().Template().Count(), 1);
  EXPECT_EQ(Line(0).Kind, 0);
  EXPECT_EQ(Line(0).Operator, sig::goNone);
  EXPECT_TRUE(Line(0).Enabled);
  EXPECT_TRUE(Line(0).Continuous);
  EXPECT_EQ(LineText(0), "Sine");
  EXPECT_TRUE(Param(0).isEnabled());
  FocusAndType(Param(0), "100");
  Enter(Param(0));
  FocusAndType(Param(2), "1");
  Enter(Param(2));
  C<QPushButton>("AddOpButton").click();
  ASSERT_EQ(FGenerator->Sounds().Template().Count(), 2);
  EXPECT_EQ(Line(1).Kind, 1);
  EXPECT_EQ(Line(1).SignalType, sig::gfNone);
  EXPECT_EQ(LineText(1), "+");
  EXPECT_EQ(List().SelectedLine(), 1);
  EXPECT_TRUE(C<QComboBox>("OpBox").isEnabled());
  // The first line kept what was typed into it.
  EXPECT_EQ(Line(0).P1, 100);
  EXPECT_EQ(Line(0).P3, 1);
  C<QPushButton>("DeleteSignalButton").click();
  EXPECT_EQ(FGenerator->Sounds().Template().Count(), 1);
  EXPECT_EQ(List().LineCount(), 1);
}

TEST_F(SignalGen, BrowsingTheLinesLeavesThemAsStored) {
  Formula({Source(sig::gfSine, {1e-7, 1.23456789012345, -3}), Source(sig::gfChirp, {1, 2, 3, 4, 5, 6, 0.5}),
           Op(sig::goMul)});
  FGenerator->Sounds().Template().GetLine(1).Enabled = false;
  const std::string before = Parameters(*FGenerator);
  Open();
  for (int i : {1, 2, 0, 2, 1, 0}) SelectLine(i);
  EXPECT_EQ(Parameters(*FGenerator), before);
  EXPECT_EQ(List().Line(1)->checkState(0), Qt::Unchecked);
}

TEST_F(SignalGen, ALinesCheckBoxSwitchesItOnAndOff) {
  Formula({Source(sig::gfConstant, {2}), Source(sig::gfConstant, {3}), Op(sig::goAdd)});
  Open(true);
  List().Line(2)->setCheckState(0, Qt::Unchecked);
  EXPECT_FALSE(Line(2).Enabled);
  EXPECT_FALSE(FGenerator->Prepared());
  List().Line(2)->setCheckState(0, Qt::Checked);
  EXPECT_TRUE(Line(2).Enabled);
  EXPECT_EQ(FGenerator->Data().Values()[0], 5);
}

TEST_F(SignalGen, TheGeneratorsErrorShowsBelowTheControls) {
  // Two sources and nothing to combine them.
  Formula({Source(sig::gfConstant, {2}), Source(sig::gfConstant, {3})});
  Open(true);
  FGenerator->ParameterUpdate(nullptr);
  EXPECT_EQ(FGenerator->ErrorText(), "Invalid expression: Missing operator!");
  EXPECT_EQ(C<QLabel>("MessageLabel").text(), "Invalid expression: Missing operator!");
  // An operator added mends it.
  C<QPushButton>("AddOpButton").click();
  EXPECT_EQ(FGenerator->ErrorText(), "");
  EXPECT_EQ(C<QLabel>("MessageLabel").text(), "");
  EXPECT_EQ(FGenerator->Data().Values()[0], 5);
}

TEST_F(SignalGen, ResyncRestartsTheSelectedLineOrAll) {
  Formula({Source(sig::gfSine, {10, 0, 1}), Source(sig::gfSine, {20, 0, 1}), Op(sig::goAdd)});
  std::vector<int> resynced;
  FGenerator->SetOnResync([&](classlib::TPersistent*, std::int32_t i) { resynced.push_back(i); });
  Open(true);
  FGenerator->Update();
  SelectLine(1);
  C<QPushButton>("ResyncButton").click();
  EXPECT_EQ(resynced, (std::vector<int>{1}));
  C<QPushButton>("ResyncAllButton").click();
  EXPECT_EQ(resynced, (std::vector<int>{1, 0, 1, 2}));
}

TEST_F(SignalGen, CancelRestoresTheGeneratorAndOkKeepsTheChanges) {
  Formula({Source(sig::gfSine, {10, 0, 1})});
  FGenerator->Sounds().AddEmptyTemplate("Noise");
  FGenerator->Sounds().Template().AddLine(Source(sig::gfRandUniform, {-1, 1}));
  FGenerator->Sounds().SetTemplateIndex(0);
  const std::string before = Parameters(*FGenerator);
  Open(true);
  FocusAndType(Param(0), "33");
  C<QComboBox>("SignalTypeBox").setCurrentText("Square");
  C<QPushButton>("AddOpButton").click();
  ASSERT_NE(Parameters(*FGenerator), before);
  C<QToolButton>("CancelButton").click();
  EXPECT_EQ(Parameters(*FGenerator), before);
  EXPECT_FALSE(FGenerator->EditorOpen());
  EXPECT_FALSE(FGenerator->OnDisplayUpdate());
  FreeClosedForms();

  Open();
  C<QComboBox>("TemplateCombo").setCurrentIndex(1);
  emit C<QComboBox>("TemplateCombo").activated(1);
  EXPECT_EQ(LineText(0), "RandUniform");
  C<QToolButton>("OKButton").click();
  EXPECT_EQ(FGenerator->Sounds().TemplateIndex(), 1);
  EXPECT_EQ(Line(0).SignalType, sig::gfRandUniform);
}

TEST_F(SignalGen, SettingsSavedAndLoadedThroughTheTemplateDialog) {
  Formula({Source(sig::gfSine, {10, 0, 1})});
  Open();
  const std::string file = FDir.File("generator.cfg");
  FDialogs.FileChoices.push_back(ui::TFileChoice{file, 1});
  C<QAction>("Save1").trigger();
  FocusAndType(Param(0), "77");
  Enter(Param(0));
  ASSERT_EQ(Line(0).P1, 77);

  FDialogs.FileChoices.push_back(ui::TFileChoice{file, 1});
  FDialogs.Answers.push_back(ui::mrNo);
  C<QAction>("Load1").trigger();
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "Append existing signal templates?");
  EXPECT_EQ(Line(0).P1, 10);
  EXPECT_EQ(Param(0).Position(), 10);
  EXPECT_EQ(FGenerator->Sounds().Templates().Count(), 1);

  FDialogs.FileChoices.push_back(ui::TFileChoice{file, 1});
  FDialogs.Answers.push_back(ui::mrYes);
  C<QAction>("Load1").trigger();
  EXPECT_EQ(FGenerator->Sounds().Templates().Count(), 2);
  EXPECT_EQ(C<QComboBox>("TemplateCombo").count(), 2);
}

TEST_F(SignalGen, APictureOfAChirpLine) {
  Formula({Source(sig::gfChirp, {10, 0, 1, 0, 100, 1, 0.5})});
  TSignalGenForm& form = Open();
  QApplication::processEvents();
  const QImage shot = ui::Screenshot(form, "SignalGenForm_chirp");
  const auto rect = [&](QWidget& w) { return QRect(w.mapTo(&form, QPoint(0, 0)), w.size()); };
  // Seven fields with their values, each beside its caption; no "Cplx".
  for (int k = 0; k < TSignalGenForm::ParamCount; ++k) {
    EXPECT_GT(Ink(shot, rect(Param(k)).adjusted(2, 2, -20, -2)), 3) << k;
    EXPECT_GT(Ink(shot, rect(Caption(k))), 10) << k;
  }
  EXPECT_EQ(Caption(6).text(), "Duty:");
  QWidget& cplx = C<QWidget>("CplxCheckBox");
  EXPECT_FALSE(cplx.isVisible());
  // The line's text in the list and the source in its box.
  EXPECT_GT(Ink(shot, rect(C<QWidget>("SignalTypeBox")).adjusted(2, 2, -20, -2)), 10);
  QTreeWidgetItem* line = List().Line(0);
  const QRect item = List().visualItemRect(line).translated(List().viewport()->mapTo(&form, QPoint(0, 0)));
  EXPECT_GT(Ink(shot, item), 10);
}

}  // namespace
}  // namespace analysis_ui

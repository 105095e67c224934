// The component dialog and the editor form base: finding the form by class
// name, one form per source, embedding, modal runs, the options handed to the
// form, the live switch, OK, Cancel and Escape, settings files, the settings
// of the form's complex-number edits, and forms and components that go first.
// Covers: analysis_ui/ComponentDialog.cpp, analysis_ui/ComponentEditorForm.cpp,
// analysis_ui/SignalToolsDialogs.cpp.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>
#include <stdexcept>
#include <string>

#include "analysis_ui/ComponentDialog.h"
#include "analysis_ui/ComponentEditorForm.h"
#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/SignalToolsDialogs.h"
#include "chart_editors/EditorForm.h"
#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/WarningSink.h"
#include "platform/ui/testing/WindowTest.h"
#include "signal/Signal.h"

namespace analysis_ui {
namespace {

using ui::Control;

// A component with one parameter, whose editor is TProbeForm.
class TProbe : public sig::TAnalysis {
  ORVEL_CLASS_INFO
 public:
  explicit TProbe(classlib::TComponent* AOwner = nullptr) : sig::TAnalysis(AOwner) {}
  double Gain() const { return FGain; }
  void SetGain(double Value) { FGain = Value; }
  std::string EditorClassName() const override { return FEditorClass; }

  std::string FEditorClass = "TProbeForm";
  // A fill of the form raises while set.
  bool FailFill = false;

 private:
  double FGain = 1.0;
};

const classlib::TClassInfo& TProbe::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TProbe>("TProbe", sig::TAnalysis::StaticClassInfo())
          .Property("Gain", &TProbe::Gain, &TProbe::SetGain, 1.0)
          .Creatable()
          .Build();
  return info;
}

class TProbeForm : public TComponentEditorForm {
 public:
  explicit TProbeForm(QWidget* owner) : TComponentEditorForm(owner) {
    setObjectName("ProbeForm");
    auto* layout = new QVBoxLayout(ClientArea());
    FGainEdit = new TMtxFloatEdit(ClientArea());
    FGainEdit->setObjectName("GainEdit");
    layout->addWidget(FGainEdit);
    // A line edit of another kind, which the dialog's edit settings pass by.
    auto* units = new QComboBox(ClientArea());
    units->setObjectName("UnitBox");
    units->setEditable(true);
    layout->addWidget(units);
    connect(FGainEdit, &QLineEdit::textChanged, this, [this] {
      if (!Ready()) return;
      Probe().SetGain(FGainEdit->Position());
      ApplyChange();
    });
  }
  TProbe& Probe() const { return static_cast<TProbe&>(*Component()); }

  int Fills = 0;
  int Displays = 0;
  int Kept = 0;
  int AfterCloses = 0;

 protected:
  void FillControls() override {
    ++Fills;
    if (Probe().FailFill) throw classlib::Exception("fill failed");
    FGainEdit->SetPosition(Probe().Gain());
  }
  void DisplayUpdate() override { ++Displays; }
  void KeepChanges() override { ++Kept; }
  void AfterClose() override { ++AfterCloses; }

 private:
  TMtxFloatEdit* FGainEdit;
};

class ComponentDialog : public ui::TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    chart_editors::RegisterEditorForm("TProbeForm", chart_editors::EditorFormFactory<TProbeForm>());
    FProbe.SetName("Probe1");
    FProbe.SetGain(2.5);
    FProbe.SetOnParameterUpdate([this](classlib::TPersistent*) { ++FParameterUpdates; });
    FDialog = std::make_unique<TMtxDialogFor>();
    FDialog->SetName("ProbeDialog");
    FDialog->SetProbe(&FProbe);
  }
  void TearDown() override {
    FDialog.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    chart_editors::UnRegisterEditorForm("TProbeForm");
    TWindowTest::TearDown();
  }

  // The base dialog over a probe.
  class TMtxDialogFor : public TMtxDialog {
   public:
    void SetProbe(TProbe* p) { SetSourceComponent(p); }
  };

  TProbeForm* Form() const { return static_cast<TProbeForm*>(FDialog->EditorForm()); }
  static void FreeClosedForms() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
  static int OpenForms() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == "ProbeForm" && !static_cast<TComponentEditorForm*>(w)->Closed()) ++n;
    return n;
  }
  static void Type(QWidget& edit, const QString& text) {
    auto& line = static_cast<QLineEdit&>(edit);
    line.selectAll();
    QTest::keyClicks(&line, text);
  }

  TProbe FProbe;
  std::unique_ptr<TMtxDialogFor> FDialog;
  int FParameterUpdates = 0;
};

TEST_F(ComponentDialog, ExecuteWithoutSourceOpensNothing) {
  FDialog->SetProbe(nullptr);
  FDialog->Execute();
  EXPECT_EQ(FDialog->EditorForm(), nullptr);
  EXPECT_FALSE(FProbe.EditorOpen());
}

TEST_F(ComponentDialog, ExecuteTwiceGivesOneFormAndBringsItUpAgain) {
  FDialog->Execute();
  TProbeForm* first = Form();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->isVisible());
  EXPECT_TRUE(FProbe.EditorOpen());
  EXPECT_EQ(first->Component(), &FProbe);
  EXPECT_EQ(first->Fills, 1);
  EXPECT_EQ(Control<QLineEdit>(*first, "GainEdit").text(), "2.50");

  first->hide();
  FDialog->Execute();
  EXPECT_EQ(Form(), first);
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(first->Fills, 1);
  EXPECT_EQ(OpenForms(), 1);
}

TEST_F(ComponentDialog, TheDialogsOptionsReachTheForm) {
  struct TCase {
    bool Live, OnTop, Dock;
  };
  for (const TCase c : {TCase{true, false, false}, TCase{false, true, true}}) {
    SCOPED_TRACE(c.Live);
    FDialog->SetShowLive(c.Live);
    FDialog->SetStayOnTop(c.OnTop);
    FDialog->SetDocking(c.Dock);
    FDialog->Execute();
    TProbeForm& form = *Form();
    EXPECT_EQ(Control<QAction>(form, "Live1").isChecked(), c.Live);
    EXPECT_EQ(Control<QToolButton>(form, "ToolButton1").isVisible(), !c.Live);
    EXPECT_EQ(Control<QAction>(form, "Stayontop1").isChecked(), c.OnTop);
    EXPECT_EQ(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint), c.OnTop);
    EXPECT_EQ(Control<QAction>(form, "Dock1").isChecked(), c.Dock);
    EXPECT_TRUE(form.isVisible());
    form.CloseForm(false);
    FreeClosedForms();
    EXPECT_EQ(FDialog->EditorForm(), nullptr);
  }
}

TEST_F(ComponentDialog, OnBeforeUpdateSeesTheFormBeforeItIsFilled) {
  int fillsSeen = -1;
  TComponentEditorForm* seen = nullptr;
  FDialog->SetOnBeforeUpdate([&](TComponentEditorForm& f) {
    seen = &f;
    fillsSeen = static_cast<TProbeForm&>(f).Fills;
    EXPECT_TRUE(FProbe.EditorOpen());
    EXPECT_EQ(f.Tag(), &FProbe);
  });
  FDialog->Execute();
  EXPECT_EQ(seen, Form());
  EXPECT_EQ(fillsSeen, 0);
}

TEST_F(ComponentDialog, AnUnregisteredFormClassOpensNothingAndWarns) {
  FProbe.FEditorClass = "TMissingForm";
  classlib::TWarningRecorder warnings;
  FDialog->Execute();
  EXPECT_EQ(FDialog->EditorForm(), nullptr);
  EXPECT_FALSE(FProbe.EditorOpen());
  ASSERT_EQ(warnings.Warnings().size(), 1u);
  EXPECT_EQ(warnings.Warnings()[0], "Class TMissingForm not found");
}

TEST_F(ComponentDialog, AFormClassFoundInAnyLetterCase) {
  FProbe.FEditorClass = "TPROBEFORM";
  FDialog->Execute();
  EXPECT_NE(FDialog->EditorForm(), nullptr);
}

TEST_F(ComponentDialog, WithAParentTheFormIsEmbeddedAndNeverModal) {
  QWidget host;
  host.resize(400, 300);
  host.show();
  FDialog->Execute(true, &host);
  TProbeForm* form = Form();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->parentWidget(), &host);
  EXPECT_FALSE(form->isWindow());
  EXPECT_FALSE(form->isModal());
  EXPECT_TRUE(form->isVisible());
  QApplication::processEvents();
  EXPECT_EQ(form->geometry(), host.contentsRect());
  EXPECT_EQ(form->Fills, 1);
  // Closing the embedded form ends the editor as a window's does.
  Control<QToolButton>(*form, "OKButton").click();
  FreeClosedForms();
  EXPECT_EQ(FDialog->EditorForm(), nullptr);
  EXPECT_FALSE(FProbe.EditorOpen());
}

TEST_F(ComponentDialog, AModalRunShowsTheFilledFormAndEndsWithIt) {
  FDialog->SetShowLive(true);
  FDialogs.Modals.push_back([this](QDialog& d) {
    EXPECT_EQ(&d, Form());
    EXPECT_EQ(Control<QLineEdit>(d, "GainEdit").text(), "2.50");
    Type(Control<QLineEdit>(d, "GainEdit"), "4");
    return int(QDialog::Rejected);
  });
  FDialog->Execute(true);
  FreeClosedForms();
  EXPECT_EQ(FDialog->EditorForm(), nullptr);
  EXPECT_EQ(FProbe.Gain(), 2.5);
  EXPECT_FALSE(FProbe.EditorOpen());
}

TEST_F(ComponentDialog, LiveOffWritesWithoutUpdatingUntilUpdate) {
  FDialog->Execute();
  TProbeForm& form = *Form();
  Type(Control<QLineEdit>(form, "GainEdit"), "7.5");
  EXPECT_EQ(FProbe.Gain(), 7.5);
  EXPECT_EQ(FParameterUpdates, 0);
  Control<QToolButton>(form, "ToolButton1").click();
  EXPECT_EQ(FParameterUpdates, 1);
  // Live on: each change recomputes.
  Control<QAction>(form, "Live1").trigger();
  EXPECT_TRUE(form.ShowLive());
  EXPECT_FALSE(Control<QToolButton>(form, "ToolButton1").isVisible());
  Type(Control<QLineEdit>(form, "GainEdit"), "3");
  EXPECT_EQ(FParameterUpdates, 2);
}

TEST_F(ComponentDialog, CancelRestoresTheParametersOnlyAndFreesTheForm) {
  sig::TSignal input;
  FProbe.SetInput(&input);
  FDialog->Execute();
  TProbeForm& form = *Form();
  Type(Control<QLineEdit>(form, "GainEdit"), "9");
  ASSERT_EQ(FProbe.Gain(), 9.0);
  Control<QToolButton>(form, "CancelButton").click();
  EXPECT_EQ(FProbe.Gain(), 2.5);
  EXPECT_EQ(FParameterUpdates, 1);
  EXPECT_FALSE(FProbe.EditorOpen());
  EXPECT_FALSE(FProbe.OnDisplayUpdate());
  EXPECT_EQ(FProbe.Input(), &input);
  EXPECT_EQ(form.Kept, 0);
  EXPECT_EQ(form.AfterCloses, 1);
  FreeClosedForms();
  EXPECT_EQ(FDialog->EditorForm(), nullptr);
  // The component's own handler still hears changes.
  FProbe.ParameterUpdate(nullptr);
  EXPECT_EQ(FParameterUpdates, 2);
}

TEST_F(ComponentDialog, OkKeepsTheChangesAndEscapeCancels) {
  FDialog->Execute();
  Type(Control<QLineEdit>(*Form(), "GainEdit"), "6");
  TProbeForm* form = Form();
  Control<QToolButton>(*form, "OKButton").click();
  EXPECT_EQ(FProbe.Gain(), 6.0);
  EXPECT_EQ(form->Kept, 1);
  EXPECT_EQ(FParameterUpdates, 1);
  FreeClosedForms();

  FDialog->Execute();
  Type(Control<QLineEdit>(*Form(), "GainEdit"), "8");
  QTest::keyClick(Form(), Qt::Key_Escape);
  EXPECT_EQ(FProbe.Gain(), 6.0);
  FreeClosedForms();
  EXPECT_EQ(FDialog->EditorForm(), nullptr);
}

TEST_F(ComponentDialog, TheWindowsCloseButtonClosesAsOk) {
  FDialog->Execute();
  Type(Control<QLineEdit>(*Form(), "GainEdit"), "5");
  Form()->close();
  EXPECT_EQ(FProbe.Gain(), 5.0);
  EXPECT_FALSE(FProbe.EditorOpen());
}

TEST_F(ComponentDialog, SettingsFilesSaveAndLoadTheParameters) {
  FDialog->Execute();
  TProbeForm& form = *Form();
  const std::string file = FDir.File("probe.cfg");
  FDialogs.FileChoices.push_back(ui::TFileChoice{file, 1});
  Control<QAction>(form, "Save1").trigger();
  Type(Control<QLineEdit>(form, "GainEdit"), "7");
  ASSERT_EQ(FProbe.Gain(), 7.0);
  FDialogs.FileChoices.push_back(ui::TFileChoice{file, 1});
  Control<QAction>(form, "Load1").trigger();
  EXPECT_EQ(FProbe.Gain(), 2.5);
  EXPECT_EQ(Control<QLineEdit>(form, "GainEdit").text(), "2.50");
  EXPECT_EQ(form.Fills, 2);
  // No templates of its own: nothing is asked.
  EXPECT_TRUE(FDialogs.Shown.empty());
  EXPECT_EQ(FParameterUpdates, 0);
}

TEST_F(ComponentDialog, TheDisplayRefreshRunsAfterEachUpdateWhileTheFormIsOpen) {
  FDialog->Execute();
  TProbeForm& form = *Form();
  EXPECT_EQ(form.Displays, 1);
  FProbe.Update();
  FProbe.Update();
  EXPECT_EQ(form.Displays, 3);
}

TEST_F(ComponentDialog, TheContinuousItemFollowsAndSetsTheComponent) {
  FProbe.SetContinuous(false);
  FDialog->Execute();
  QAction& item = Control<QAction>(*Form(), "Continuous1");
  EXPECT_FALSE(item.isChecked());
  item.trigger();
  EXPECT_TRUE(FProbe.Continuous());
}

TEST_F(ComponentDialog, AFormFreedWithItsDialogClosesTheEditor) {
  FDialog->Execute();
  QPointer<TProbeForm> form = Form();
  FDialog.reset();
  EXPECT_TRUE(form.isNull());
  EXPECT_FALSE(FProbe.EditorOpen());
  EXPECT_FALSE(FProbe.OnDisplayUpdate());
  FProbe.Update();  // tells no form
}

TEST_F(ComponentDialog, AComponentFreedWhileItsFormIsOpenClosesTheForm) {
  auto probe = std::make_unique<TProbe>();
  FDialog->SetProbe(probe.get());
  FDialog->Execute();
  QPointer<TProbeForm> form = Form();
  ASSERT_FALSE(form.isNull());
  probe.reset();
  EXPECT_EQ(form->Component(), nullptr);
  EXPECT_FALSE(form->isVisible());
  FreeClosedForms();
  EXPECT_TRUE(form.isNull());
  FDialog->Execute();  // no source any more
  EXPECT_EQ(FDialog->EditorForm(), nullptr);
}

TEST_F(ComponentDialog, AFillThatFailsFreesTheFormAndLeavesTheEditorClosed) {
  FProbe.FailFill = true;
  EXPECT_THROW(FDialog->Execute(), classlib::Exception);
  EXPECT_EQ(FDialog->EditorForm(), nullptr);
  EXPECT_FALSE(FProbe.EditorOpen());
  EXPECT_FALSE(FProbe.OnDisplayUpdate());
  EXPECT_EQ(OpenForms(), 0);
}

TEST_F(ComponentDialog, AClosingUpdateThatFailsStillReleasesTheComponentAndSaysWhy) {
  FDialog->Execute();
  FProbe.SetOnParameterUpdate([](classlib::TPersistent*) { throw classlib::Exception("Probe1: no input"); });
  Control<QToolButton>(*Form(), "OKButton").click();
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "Probe1: no input");
  EXPECT_FALSE(FProbe.EditorOpen());
  EXPECT_FALSE(FProbe.OnDisplayUpdate());
  EXPECT_EQ(Form()->AfterCloses, 1);
}

TEST_F(ComponentDialog, TheFormsEditsKeepTheirSettingsUnderTheDialogsName) {
  {
    ui::TRegIniFile reg(std::string(numeric::NumoraSettingsRoot) + "\\ProbeDialog");
    reg.WriteString("GainEdit", "ReFormat", "0.0000");
    reg.WriteString("GainEdit", "Value", "123");
    reg.UpdateFile();
  }
  // Off: the path is set, nothing is read.
  FDialog->Execute();
  auto& edit = Control<TMtxFloatEdit>(*Form(), "GainEdit");
  EXPECT_EQ(edit.RegistryPath(), std::string(numeric::NumoraSettingsRoot) + "\\ProbeDialog");
  EXPECT_FALSE(edit.StoreInRegistry());
  EXPECT_EQ(edit.text(), "2.50");
  Form()->CloseForm(false);
  FreeClosedForms();

  // On: the stored format takes effect, the component's value is shown.
  FDialog->SetStoreInRegistry(true);
  FDialog->Execute();
  auto& stored = Control<TMtxFloatEdit>(*Form(), "GainEdit");
  EXPECT_TRUE(stored.StoreInRegistry());
  EXPECT_EQ(stored.ReFormat(), "0.0000");
  EXPECT_EQ(stored.text(), "2.5000");
}

TEST(SpectrumAnalyzerDialog, HoldsItsSourceUntilTheSourceGoes) {
  auto analyzer = std::make_unique<sig::TSpectrumAnalyzer>();
  TSpectrumAnalyzerDialog dialog;
  EXPECT_FALSE(dialog.ShowLive());
  EXPECT_FALSE(dialog.StayOnTop());
  EXPECT_FALSE(dialog.Docking());
  EXPECT_FALSE(dialog.StoreInRegistry());
  EXPECT_EQ(dialog.RegistryPath(), "\\Software\\Halvane\\Numora");
  dialog.SetSource(analyzer.get());
  EXPECT_EQ(dialog.Source(), analyzer.get());
  analyzer.reset();
  EXPECT_EQ(dialog.Source(), nullptr);
  EXPECT_NE(classlib::GetClass("TSpectrumAnalyzerDialog"), nullptr);
}

}  // namespace
}  // namespace analysis_ui

// The complex-number spin edit: what it shows, its increment, clamping part
// by part, stepping from the full-precision value, texts that do not read
// yet, the key filter and its beeps, the buttons' repeat, the step editor,
// the settings store and its picture.
// Covers: analysis_ui/MtxFloatEdit.cpp, SpinButtons.cpp, MtxStepEditForm.cpp.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <filesystem>

#include "analysis_ui/MtxComCtrls.h"
#include "analysis_ui/MtxStepEditForm.h"
#include "platform/classlib/WarningSink.h"
#include "platform/ui/RegistryStore.h"
#include "platform/ui/testing/WindowTest.h"

namespace analysis_ui {
namespace {

using ui::Control;

class MtxFloatEdit : public ui::TWindowTest {
 protected:
  // An edit in a window of its own, shown, with the keyboard focus.
  TMtxFloatEdit& ShownEdit(const char* name = "Spin1") {
    FWindow = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(FWindow.get());
    FEdit = new TMtxFloatEdit(FWindow.get());
    FEdit->setObjectName(name);
    FOther = new QLineEdit(FWindow.get());
    FOther->setObjectName("Other");
    layout->addWidget(FEdit);
    layout->addWidget(FOther);
    FWindow->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(FWindow.get()));
    QApplication::setActiveWindow(FWindow.get());
    FEdit->setFocus(Qt::TabFocusReason);
    return *FEdit;
  }
  // Moves the focus on to the other field, as Tab does.
  void Leave() { FOther->setFocus(Qt::TabFocusReason); }
  void Type(const QString& keys) { QTest::keyClicks(FEdit, keys); }
  // Ctrl + double-click, as a user opens the step editor.
  void CtrlDoubleClick(TMtxFloatEdit& edit) {
    QTest::mousePress(&edit, Qt::LeftButton, Qt::ControlModifier, QPoint(10, 5));
    QTest::mouseRelease(&edit, Qt::LeftButton, Qt::ControlModifier, QPoint(10, 5));
    QTest::mouseDClick(&edit, Qt::LeftButton, Qt::ControlModifier, QPoint(10, 5));
    QTest::mouseRelease(&edit, Qt::LeftButton, Qt::ControlModifier, QPoint(10, 5));
  }

  std::unique_ptr<QWidget> FWindow;
  TMtxFloatEdit* FEdit = nullptr;
  QLineEdit* FOther = nullptr;
};

TEST_F(MtxFloatEdit, StartsAtZeroWithItsDefaults) {
  TMtxFloatEdit edit;
  EXPECT_EQ(edit.Value(), "0.00");
  EXPECT_EQ(edit.ReFormat(), "0.00#;-0.00#");
  EXPECT_EQ(edit.ImFormat(), "+0.00#i;-0.00#i");
  EXPECT_EQ(edit.Increment(), "0.1");
  EXPECT_EQ(edit.MinValue(), "0");
  EXPECT_EQ(edit.MaxValue(), "0");
  EXPECT_EQ(edit.RegistryPath(), "\\Software\\Halvane\\Numora");
  EXPECT_FALSE(edit.StoreInRegistry());
  EXPECT_TRUE(edit.EditorEnabled());
  EXPECT_TRUE(edit.AutoSelect());
  EXPECT_FALSE(edit.Scientific());
  EXPECT_FALSE(edit.IntegerIncrement());
  EXPECT_EQ(edit.width(), 90);
}

TEST_F(MtxFloatEdit, ShowsValuesInItsFormats) {
  struct TCase {
    const char* Set;
    const char* Shown;
  };
  const TCase cases[] = {{"0", "0.00"},           {"2.5-1i", "2.50-1.00i"}, {"0+1i", "+1.00i"}, {"i", "+1.00i"},
                         {"-0.125", "-0.125"},   {"1.0005", "1.001"},      {"-3-0.5i", "-3.00-0.50i"},
                         {"1e20", "100000000000000000000.00"}};
  TMtxFloatEdit edit;
  for (const TCase& c : cases) {
    edit.SetValue(c.Set);
    EXPECT_EQ(edit.Value(), c.Shown) << c.Set;
  }
  // An empty text changes nothing; one that does not read raises.
  edit.SetValue("");
  EXPECT_EQ(edit.Value(), "100000000000000000000.00");
  EXPECT_TRUE(orvel::testing::Raises<classlib::EConvertError>([&] { edit.SetValue("abc"); },
                                                              "'abc' is not a valid floating point value"));
  // Scientific shows full precision from the next value on.
  edit.SetScientific(true);
  edit.SetValue("0.1+1e-15i");
  EXPECT_EQ(edit.Value(), "0.1+1E-15i");
  edit.SetPosition(2.5);
  EXPECT_EQ(edit.Value(), "2.5");
  // New formats show the value again.
  edit.SetScientific(false);
  edit.SetReFormat("0.0000");
  EXPECT_EQ(edit.Value(), "2.5000");
}

TEST_F(MtxFloatEdit, PositionsAreTheRealPart) {
  TMtxFloatEdit edit;
  edit.SetValue("2.5+3i");
  EXPECT_EQ(edit.Position(), 2.5);
  EXPECT_EQ(edit.IntPosition(), 2);
  edit.SetPosition(3.5);
  EXPECT_EQ(edit.IntPosition(), 4);
  EXPECT_EQ(edit.Value(), "3.50");
  edit.SetIntPosition(-7);
  EXPECT_EQ(edit.Value(), "-7.00");
  edit.SetPosition(1e300);
  EXPECT_EQ(edit.IntPosition(), -2147483648);
}

TEST_F(MtxFloatEdit, IncrementsAreNeverZeroAndRoundWhenIntegral) {
  struct TCase {
    bool Integral;
    const char* Set;
    const char* Kept;
  };
  const TCase cases[] = {{false, "0", "1"},   {false, "0.25", "0.25"}, {false, "1+2i", "1+2i"}, {false, "-i", "-i"},
                         {true, "2.5", "2"},  {true, "3.5", "4"},      {true, "0.4", "1"},      {true, "-0.4", "1"},
                         {true, "1.5-2.5i", "2-2i"}};
  for (const TCase& c : cases) {
    TMtxFloatEdit edit;
    edit.SetIntegerIncrement(c.Integral);
    edit.SetIncrement(c.Set);
    EXPECT_EQ(edit.Increment(), c.Kept) << c.Set;
  }
  // Turning integral steps on applies the rule to the step already set.
  TMtxFloatEdit edit;
  edit.SetIncrement("2.5");
  edit.SetIntegerIncrement(true);
  EXPECT_EQ(edit.Increment(), "2");
  EXPECT_TRUE(orvel::testing::Raises<classlib::EConvertError>([&] { edit.SetIncrement("x"); },
                                                              "'x' is not a valid floating point value"));
  EXPECT_EQ(edit.Increment(), "2");
}

TEST_F(MtxFloatEdit, BoundsClampEachPartOnItsOwn) {
  TMtxFloatEdit edit;
  // Equal bounds clamp nothing, however large.
  edit.SetValue("1e300-5i");
  EXPECT_EQ(edit.Position(), 1e300);
  // A bound set after the value leaves a value inside the bounds alone.
  edit.SetValue("5");
  edit.SetMaxValue("100");
  EXPECT_EQ(edit.Value(), "5.00");
  edit.SetMinValue("-10");
  EXPECT_EQ(edit.Value(), "5.00");
  edit.SetMaxValue("10");
  EXPECT_EQ(edit.Value(), "5.00");
  // A value outside is shown clamped, each part against its own bound.
  edit.SetValue("12+3i");
  EXPECT_EQ(edit.Value(), "10.00");
  edit.SetValue("-20");
  EXPECT_EQ(edit.Value(), "-10.00");
  edit.SetMinValue("-10-1i");
  edit.SetMaxValue("10+2i");
  edit.SetValue("3+5i");
  EXPECT_EQ(edit.Value(), "3.00+2.00i");
  edit.SetValue("3-5i");
  EXPECT_EQ(edit.Value(), "3.00-1.00i");
  // Bounds of a trigger delay: zero stays zero.
  TMtxFloatEdit delay;
  delay.SetMaxValue("100000");
  delay.SetMinValue("-100000");
  EXPECT_EQ(delay.Value(), "0.00");
  EXPECT_EQ(delay.MaxValue(), "100000");
  EXPECT_EQ(delay.MinValue(), "-100000");
}

TEST_F(MtxFloatEdit, StepsStopAtTheBounds) {
  TMtxFloatEdit edit;
  edit.SetMaxValue("10");
  edit.SetIncrement("3");
  std::vector<std::string> shown;
  for (int i = 0; i < 4; ++i) {
    edit.UpClick();
    shown.push_back(edit.Value());
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"3.00", "6.00", "9.00", "10.00"}));
  edit.DownClick();
  EXPECT_EQ(edit.Value(), "7.00");
  for (int i = 0; i < 4; ++i) edit.DownClick();
  EXPECT_EQ(edit.Value(), "0.00");
  // A complex step moves both parts; the imaginary bounds are both 0 here.
  edit.SetIncrement("1+1i");
  edit.UpClick();
  EXPECT_EQ(edit.Value(), "1.00");
}

TEST_F(MtxFloatEdit, StepsAddToTheFullPrecisionValue) {
  TMtxFloatEdit edit;
  edit.SetReFormat("0.00");
  edit.SetIncrement("0.0001");
  for (int i = 0; i < 3; ++i) edit.UpClick();
  // The step is below the display's last digit, and it still moved the value.
  EXPECT_EQ(edit.Value(), "0.00");
  EXPECT_DOUBLE_EQ(edit.Position(), 0.0003);
  for (int i = 0; i < 47; ++i) edit.UpClick();
  EXPECT_EQ(edit.Value(), "0.01");
  EXPECT_NEAR(edit.Position(), 0.005, 1e-15);
}

TEST_F(MtxFloatEdit, TypingUpdatesTheValueOnlyWhenTheTextReads) {
  TMtxFloatEdit& edit = ShownEdit();
  edit.SetValue("4");
  edit.selectAll();
  Type("-");
  EXPECT_EQ(edit.Value(), "-");
  EXPECT_EQ(edit.Position(), 4);
  Type("2");
  EXPECT_EQ(edit.Position(), -2);
  Type("+");
  EXPECT_EQ(edit.Value(), "-2+");
  EXPECT_EQ(edit.Position(), -2);
  Type("3i");
  EXPECT_EQ(edit.Position(), -2);
  EXPECT_EQ(edit.Value(), "-2+3i");
  // Stepping goes on from the value typed.
  edit.SetIncrement("1");
  QTest::keyClick(&edit, Qt::Key_Up);
  EXPECT_EQ(edit.Value(), "-1.00+3.00i");
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
  EXPECT_EQ(FBeeps, 0);
}

// The shown text stands for the value it shows, also when the user types
// it again after other texts ("50" over "50" passes through "5").
TEST_F(MtxFloatEdit, TypingTheShownTextAgainGivesItsValue) {
  TMtxFloatEdit& edit = ShownEdit();
  edit.SetReFormat("0");
  edit.SetPosition(50);
  edit.selectAll();
  Type("5");
  EXPECT_EQ(edit.Position(), 5);
  Type("0");
  EXPECT_EQ(edit.Value(), "50");
  EXPECT_EQ(edit.Position(), 50);
  // A rounded text typed again stands for the full value it showed.
  edit.SetPosition(0.4);
  ASSERT_EQ(edit.Value(), "0");
  edit.selectAll();
  Type("7");
  EXPECT_EQ(edit.Position(), 7);
  edit.selectAll();
  Type("0");
  EXPECT_EQ(edit.Position(), 0.4);
}

TEST_F(MtxFloatEdit, LeavingWithATextThatDoesNotReadReportsItOnce) {
  TMtxFloatEdit& edit = ShownEdit("Rotation");
  // The message takes the focus as a real box does; that leaves no field.
  FDialogs.MessagesTakeFocus = true;
  edit.SetValue("1.5");
  edit.selectAll();
  Type("7+");
  Leave();
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "'7+' is not a valid floating point value");
  EXPECT_EQ(FDialogs.Shown[0].Icon, ui::miError);
  // The field shows the last value that read (the "7" typed), and leaving
  // again says nothing.
  EXPECT_EQ(edit.Value(), "7.00");
  EXPECT_EQ(edit.Position(), 7);
  edit.setFocus(Qt::TabFocusReason);
  Leave();
  EXPECT_EQ(FDialogs.Shown.size(), 1u);
}

TEST_F(MtxFloatEdit, EnterChecksTheTextAndBeepsOutsideADialog) {
  TMtxFloatEdit& edit = ShownEdit();
  FDialogs.MessagesTakeFocus = true;
  edit.SetMaxValue("10");
  edit.selectAll();
  Type("12");
  EXPECT_EQ(edit.Position(), 12);
  QTest::keyClick(&edit, Qt::Key_Return);
  EXPECT_EQ(edit.Value(), "10.00");
  EXPECT_EQ(FBeeps, 1);
  edit.selectAll();
  Type("+");
  QTest::keyClick(&edit, Qt::Key_Enter);
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(edit.Value(), "10.00");
  EXPECT_EQ(FBeeps, 2);
  EXPECT_TRUE(edit.hasFocus());
}

TEST_F(MtxFloatEdit, InADialogEnterGoesToItsDefaultButtonWithoutABeep) {
  QDialog dialog;
  auto* edit = new TMtxFloatEdit(&dialog);
  edit->SetMaxValue("10");
  auto* ok = new QPushButton("OK", &dialog);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(edit);
  layout->addWidget(ok);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QApplication::setActiveWindow(&dialog);
  edit->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(edit, "12");
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(edit->Value(), "10.00");
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(FBeeps, 0);
}

TEST_F(MtxFloatEdit, LeavingRewritesAValueOutsideTheBounds) {
  TMtxFloatEdit& edit = ShownEdit();
  edit.SetMaxValue("10");
  edit.selectAll();
  Type("12");
  Leave();
  EXPECT_EQ(edit.Value(), "10.00");
  // A value inside keeps the text as typed.
  edit.setFocus(Qt::TabFocusReason);
  edit.selectAll();
  Type("3");
  Leave();
  EXPECT_EQ(edit.Value(), "3");
  // And the imaginary part that the real bounds pin to 0.
  edit.setFocus(Qt::TabFocusReason);
  edit.selectAll();
  Type("5-1i");
  Leave();
  EXPECT_EQ(edit.Value(), "5.00");
  // An empty field reads as 0, which is inside.
  edit.setFocus(Qt::TabFocusReason);
  edit.selectAll();
  QTest::keyClick(&edit, Qt::Key_Delete);
  Leave();
  EXPECT_EQ(edit.Value(), "");
  EXPECT_EQ(edit.Position(), 0);
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(MtxFloatEdit, TheKeyFilterRefusesWhatIsNoPartOfANumber) {
  TMtxFloatEdit& edit = ShownEdit();
  edit.selectAll();
  Type("1");
  for (const char* refused : {"e", "E", "x", " ", ",", "j"}) {
    const int before = FBeeps;
    Type(refused);
    EXPECT_EQ(FBeeps, before + 1) << refused;
  }
  EXPECT_EQ(edit.Value(), "1");
  Type(".5-2i");
  EXPECT_EQ(edit.Value(), "1.5-2i");
  EXPECT_EQ(FBeeps, 6);
  // Editing keys pass.
  QTest::keyClick(&edit, Qt::Key_Backspace);
  QTest::keyClick(&edit, Qt::Key_Home);
  QTest::keyClick(&edit, Qt::Key_Delete);
  EXPECT_EQ(edit.Value(), ".5-2");
  EXPECT_EQ(FBeeps, 6);
  for (const QChar c : {QChar('+'), QChar('-'), QChar('i'), QChar('0'), QChar('9'), QChar('.'), QChar(8), QChar(27)})
    EXPECT_TRUE(edit.IsValidChar(c)) << int{c.unicode()};
  for (const QChar c : {QChar('e'), QChar('I'), QChar(13), QChar(0x0416)}) EXPECT_FALSE(edit.IsValidChar(c)) << int{c.unicode()};
}

TEST_F(MtxFloatEdit, ArrowKeysStepAndAReadOnlyFieldBeeps) {
  TMtxFloatEdit& edit = ShownEdit();
  edit.SetIncrement("0.5");
  QTest::keyClick(&edit, Qt::Key_Up);
  QTest::keyClick(&edit, Qt::Key_Up);
  QTest::keyClick(&edit, Qt::Key_Down);
  EXPECT_EQ(edit.Value(), "0.50");
  edit.setReadOnly(true);
  QTest::keyClick(&edit, Qt::Key_Up);
  QTest::mouseClick(edit.Buttons()->DownButton(), Qt::LeftButton);
  EXPECT_EQ(edit.Value(), "0.50");
  EXPECT_EQ(FBeeps, 2);
}

TEST_F(MtxFloatEdit, CutAndPasteNeedTheEditorEnabled) {
  TMtxFloatEdit& edit = ShownEdit();
  QApplication::clipboard()->setText("42");
  edit.SetEditorEnabled(false);
  edit.selectAll();
  QTest::keySequence(&edit, QKeySequence::Paste);
  EXPECT_EQ(edit.Value(), "0.00");
  QTest::keySequence(&edit, QKeySequence::Cut);
  EXPECT_EQ(edit.Value(), "0.00");
  EXPECT_FALSE(edit.acceptDrops());
  edit.SetEditorEnabled(true);
  edit.selectAll();
  QTest::keySequence(&edit, QKeySequence::Paste);
  EXPECT_EQ(edit.Value(), "42");
  EXPECT_EQ(edit.Position(), 42);
  EXPECT_EQ(FBeeps, 0);
}

TEST_F(MtxFloatEdit, AButtonHeldDownRepeatsFirstAfter400ThenEvery100Ms) {
  TMtxFloatEdit& edit = ShownEdit();
  edit.SetIncrement("1");
  TTimerSpeedButton* up = edit.Buttons()->UpButton();
  EXPECT_EQ(up->RepeatTimer(), nullptr);
  QTest::mousePress(up, Qt::LeftButton);
  ASSERT_NE(up->RepeatTimer(), nullptr);
  EXPECT_TRUE(up->RepeatTimer()->isActive());
  EXPECT_EQ(up->RepeatTimer()->interval(), 400);
  EXPECT_EQ(edit.Value(), "0.00");
  // The timer's ticks, driven by hand.
  up->TimerExpired();
  EXPECT_EQ(up->RepeatTimer()->interval(), 100);
  EXPECT_EQ(edit.Value(), "1.00");
  up->TimerExpired();
  EXPECT_EQ(edit.Value(), "2.00");
  // The release is the click of the button, and ends the repeat.
  QTest::mouseRelease(up, Qt::LeftButton);
  EXPECT_FALSE(up->RepeatTimer()->isActive());
  EXPECT_EQ(edit.Value(), "3.00");
  up->TimerExpired();
  EXPECT_EQ(edit.Value(), "3.00");
  // The press gave the edit the focus.
  EXPECT_TRUE(edit.hasFocus());
  // The down button steps down.
  QTest::mouseClick(edit.Buttons()->DownButton(), Qt::LeftButton);
  EXPECT_EQ(edit.Value(), "2.00");
}

TEST_F(MtxFloatEdit, AFailingRepeatStopsAndIsReported) {
  TUDButton buttons;
  int clicks = 0;
  buttons.OnUpClick = [&] {
    ++clicks;
    throw classlib::Exception("Step failed");
  };
  buttons.show();
  QTest::mousePress(buttons.UpButton(), Qt::LeftButton);
  buttons.UpButton()->TimerExpired();
  EXPECT_FALSE(buttons.UpButton()->RepeatTimer()->isActive());
  ASSERT_EQ(FDialogs.Shown.size(), 1u);
  EXPECT_EQ(FDialogs.Shown[0].Text, "Step failed");
  QTest::mouseRelease(buttons.UpButton(), Qt::LeftButton);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(FDialogs.Shown.size(), 2u);
}

TEST_F(MtxFloatEdit, TheButtonPairTakesKeysWhenItHoldsTheFocus) {
  QWidget window;
  auto* buttons = new TUDButton(&window);
  int ups = 0, downs = 0;
  buttons->OnUpClick = [&] { ++ups; };
  buttons->OnDownClick = [&] { ++downs; };
  EXPECT_FALSE(buttons->TabStop());
  buttons->SetTabStop(true);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QApplication::setActiveWindow(&window);
  buttons->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(buttons->FocusedButton(), buttons->UpButton());
  EXPECT_TRUE(buttons->UpButton()->TimeBtnState() & TTimerSpeedButton::tbFocusRect);
  QTest::keyClick(buttons, Qt::Key_Space);
  QTest::keyClick(buttons, Qt::Key_Down);
  EXPECT_EQ(buttons->FocusedButton(), buttons->DownButton());
  EXPECT_FALSE(buttons->UpButton()->TimeBtnState() & TTimerSpeedButton::tbFocusRect);
  QTest::keyClick(buttons, Qt::Key_Space);
  EXPECT_EQ(ups, 1);
  EXPECT_EQ(downs, 2);
  // A press of the mouse moves the focus rectangle too.
  QTest::mouseClick(buttons->UpButton(), Qt::LeftButton);
  EXPECT_EQ(buttons->FocusedButton(), buttons->UpButton());
  EXPECT_EQ(ups, 2);
  // The pair is at least 15 wide and splits its height.
  buttons->resize(8, 25);
  EXPECT_EQ(buttons->width(), 15);
  EXPECT_EQ(buttons->UpButton()->geometry(), QRect(0, 0, 15, 12));
  EXPECT_EQ(buttons->DownButton()->geometry(), QRect(0, 12, 15, 13));
}

// The five settings the step editor edits.
struct TStepSettings {
  bool AutoSelect, Scientific;
  std::string ReFormat, ImFormat, Increment;
  bool operator==(const TStepSettings&) const = default;
};
TStepSettings SettingsOf(const TMtxFloatEdit& e) {
  return {e.AutoSelect(), e.Scientific(), e.ReFormat(), e.ImFormat(), e.Increment()};
}

TEST_F(MtxFloatEdit, TheStepEditorChangesTheEditAtOnceAndCancelPutsItBack) {
  TMtxFloatEdit& edit = ShownEdit("Spin1");
  edit.SetValue("1.25-2i");
  edit.SetIncrement("0.5");
  const TStepSettings before = SettingsOf(edit);
  bool shown = false;
  FDialogs.Modals.push_back([&](QDialog& dialog) {
    shown = true;
    auto& form = dynamic_cast<TMtxStepEditForm&>(dialog);
    EXPECT_EQ(form.windowTitle(), "Edit number properties");
    EXPECT_EQ(form.Edit(), &edit);
    EXPECT_TRUE(edit.EditorActive());
    auto& re = Control<QLineEdit>(form, "RealPartEdit");
    auto& im = Control<QLineEdit>(form, "ImagPartEdit");
    auto& scientific = Control<QCheckBox>(form, "ScientificBox");
    auto& autoSelect = Control<QCheckBox>(form, "AutoSelectBox");
    auto& increment = Control<QLineEdit>(form, "IncrementEdit");
    EXPECT_EQ(Control<QGroupBox>(form, "GroupBox1").title(), "Number formating");
    EXPECT_EQ(Control<QGroupBox>(form, "GroupBox2").title(), "Up/Down step size");
    EXPECT_EQ(re.text(), "0.00#;-0.00#");
    EXPECT_EQ(im.text(), "+0.00#i;-0.00#i");
    EXPECT_EQ(re.toolTip(), "Formatting of the real part of the complex number");
    EXPECT_FALSE(scientific.isChecked());
    EXPECT_TRUE(autoSelect.isChecked());
    EXPECT_EQ(increment.text(), "0.5");
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    QApplication::setActiveWindow(&form);

    // Each change acts on the edit at once.
    re.selectAll();
    QTest::keyClicks(&re, "0.0");
    EXPECT_EQ(edit.ReFormat(), "0.0");
    EXPECT_EQ(edit.Value(), "1.3-2.00i");
    im.setText("+0i;-0i");
    EXPECT_EQ(edit.Value(), "1.3-2i");
    ui::ClickButton(&autoSelect);
    EXPECT_FALSE(edit.AutoSelect());
    increment.setFocus(Qt::TabFocusReason);
    increment.selectAll();
    QTest::keyClicks(&increment, "0");
    QTest::keyClick(&increment, Qt::Key_Return);
    // Enter took the step, shown as the edit keeps it, and moved on to OK.
    EXPECT_EQ(edit.Increment(), "1");
    EXPECT_EQ(increment.text(), "1");
    EXPECT_TRUE(Control<QPushButton>(form, "OkButton").hasFocus());
    EXPECT_TRUE(form.isVisible());
    ui::ClickButton(&scientific);
    EXPECT_TRUE(edit.Scientific());
    EXPECT_FALSE(re.isEnabled());
    EXPECT_FALSE(im.isEnabled());

    // A second editor of the same edit is refused.
    CtrlDoubleClick(edit);
    EXPECT_EQ(FDialogs.Shown.size(), 1u);
    if (!FDialogs.Shown.empty()) {
      EXPECT_EQ(FDialogs.Shown[0].Text, "Spin1: Editor is already active!");
    }

    QTest::mouseClick(&Control<QPushButton>(form, "CancelButton"), Qt::LeftButton);
    return form.result();
  });
  CtrlDoubleClick(edit);
  ASSERT_TRUE(shown);
  EXPECT_EQ(SettingsOf(edit), before);
  EXPECT_EQ(edit.Value(), "1.25-2.00i");
  EXPECT_FALSE(edit.EditorActive());
  EXPECT_EQ(edit.findChild<TMtxStepEditForm*>(), nullptr);
}

TEST_F(MtxFloatEdit, TheStepEditorKeepsItsChangesOnOK) {
  TMtxFloatEdit& edit = ShownEdit();
  edit.SetIntegerIncrement(true);
  FDialogs.Modals.push_back([&](QDialog& dialog) {
    auto& increment = Control<QLineEdit>(dialog, "IncrementEdit");
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    increment.setFocus(Qt::TabFocusReason);
    increment.setText("2.5");
    // Leaving the field applies it too, rounded by the edit's rule.
    Control<QLineEdit>(dialog, "RealPartEdit").setFocus(Qt::TabFocusReason);
    EXPECT_EQ(increment.text(), "2");
    // A step that does not read is reported and the field shows the edit's step.
    increment.setFocus(Qt::TabFocusReason);
    increment.setText("2x");
    Control<QLineEdit>(dialog, "RealPartEdit").setFocus(Qt::TabFocusReason);
    EXPECT_EQ(increment.text(), "2");
    EXPECT_EQ(FDialogs.Shown.size(), 1u);
    Control<QLineEdit>(dialog, "RealPartEdit").setText("0");
    QTest::mouseClick(&Control<QPushButton>(dialog, "OkButton"), Qt::LeftButton);
    return dialog.result();
  });
  edit.OpenStepEditor(true);
  EXPECT_EQ(edit.Increment(), "2");
  EXPECT_EQ(edit.ReFormat(), "0");
  EXPECT_FALSE(edit.EditorActive());
}

TEST_F(MtxFloatEdit, AModelessStepEditorFreesItselfWhenClosed) {
  TMtxFloatEdit& edit = ShownEdit("Freq");
  edit.OpenStepEditor(false);
  auto* form = edit.findChild<TMtxStepEditForm*>();
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(orvel::testing::Raises([&] { edit.OpenStepEditor(false); }, "Freq: Editor is already active!"));
  QPointer<TMtxStepEditForm> watch = form;
  form->close();
  EXPECT_FALSE(edit.EditorActive());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(watch.isNull());
  // An edit that goes takes its open editor along.
  edit.OpenStepEditor(false);
  watch = edit.findChild<TMtxStepEditForm*>();
  FWindow.reset();
  EXPECT_TRUE(watch.isNull());
}

TEST_F(MtxFloatEdit, SettingsLiveInTheStoreOnlyWhenAsked) {
  const std::string path = "\\Software\\Halvane\\Numora\\SpectrumDialog";
  {
    TMtxFloatEdit edit;
    edit.setObjectName("BandEdit");
    edit.SetRegistryPath(path);
    edit.SetValue("3.5");
  }
  EXPECT_FALSE(std::filesystem::exists(StoreFile()));
  {
    TMtxFloatEdit edit;
    edit.setObjectName("BandEdit");
    edit.SetRegistryPath(path);
    edit.SetStoreInRegistry(true);
    edit.SetValue("3.5-1i");
    edit.SetReFormat("0.0");
    edit.SetImFormat("+0.0i;-0.0i");
    edit.SetScientific(true);
    edit.SetIncrement("0.25");
  }
  const ui::TRegIniFile reg(path);
  EXPECT_EQ(reg.ReadString("BandEdit", "Value", ""), "3.5-1.0i");
  EXPECT_EQ(reg.ReadString("BandEdit", "ReFormat", ""), "0.0");
  EXPECT_EQ(reg.ReadString("BandEdit", "Increment", ""), "0.25");
  EXPECT_TRUE(reg.ReadBool("BandEdit", "Scientific", false));

  TMtxFloatEdit again;
  again.setObjectName("BandEdit");
  again.SetRegistryPath(path);
  again.SetStoreInRegistry(true);
  again.Loaded();
  EXPECT_EQ(SettingsOf(again), (TStepSettings{true, true, "0.0", "+0.0i;-0.0i", "0.25"}));
  EXPECT_EQ(again.Position(), 3.5);
  // The value was shown before Scientific was read; the formats read after it show it again.
  EXPECT_EQ(again.Value(), "3.5-i");

  // While text updates are suppressed the stored value does not show; the settings do.
  TMtxFloatEdit quiet;
  quiet.setObjectName("BandEdit");
  quiet.SetRegistryPath(path);
  quiet.SetStoreInRegistry(true);
  quiet.SetTextUpdatesSuppressed(true);
  quiet.ReadFromRegistry();
  quiet.SetTextUpdatesSuppressed(false);
  EXPECT_EQ(quiet.Value(), "0.00");
  EXPECT_EQ(quiet.Increment(), "0.25");
  quiet.SetStoreInRegistry(false);
}

TEST_F(MtxFloatEdit, ADamagedStoreIsSkippedWithAWarning) {
  const std::string path = "\\Software\\Halvane\\Numora";
  {
    ui::TRegIniFile reg(path);
    reg.WriteString("Gain", "Value", "12 dB");
    reg.WriteString("Gain", "Increment", "");
    reg.WriteString("Gain", "ReFormat", "0.000");
    reg.UpdateFile();
  }
  classlib::TWarningRecorder warnings;
  TMtxFloatEdit edit;
  edit.setObjectName("Gain");
  edit.SetStoreInRegistry(true);
  edit.Loaded();
  EXPECT_EQ(edit.Value(), "0.000");
  EXPECT_EQ(edit.Increment(), "0.1");
  ASSERT_EQ(warnings.Warnings().size(), 2u);
  EXPECT_EQ(warnings.Warnings()[0],
            "Gain: the stored Value \"12 dB\" is skipped: '12 dB' is not a valid floating point value");
  edit.SetStoreInRegistry(false);
}

TEST_F(MtxFloatEdit, ShowsItsValuesBesideClearButtons) {
  QWidget window;
  window.setObjectName("SpinEdits");
  auto* layout = new QVBoxLayout(&window);
  auto* zero = new TMtxFloatEdit(&window);
  auto* complex = new TMtxFloatEdit(&window);
  auto* disabled = new TMtxFloatEdit(&window);
  complex->SetValue("2.5-1i");
  disabled->SetValue("-12345678.9-98765432.1i");
  disabled->setEnabled(false);
  for (TMtxFloatEdit* e : {zero, complex, disabled}) {
    e->setFixedWidth(120);
    layout->addWidget(e);
  }
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  zero->deselect();
  EXPECT_EQ(zero->Value(), "0.00");
  EXPECT_EQ(complex->Value(), "2.50-1.00i");
  const QImage shot = ui::Screenshot(window, "spin_edits");

  // Dark pixels (text or glyph) in a rectangle of the window.
  auto dark = [&](const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) n += qGray(shot.pixel(x, y)) < 110;
    return n;
  };
  auto gray = [&](const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) {
        const int g = qGray(shot.pixel(x, y));
        n += g > 90 && g < 200;
      }
    return n;
  };
  for (TMtxFloatEdit* e : {zero, complex, disabled}) {
    const QRect field(e->mapTo(&window, QPoint(0, 0)), e->size());
    const QRect strip(e->Buttons()->mapTo(&window, QPoint(0, 0)), e->Buttons()->size());
    // The buttons stand inside the field at its right edge, over its full inner height.
    EXPECT_TRUE(field.contains(strip)) << e->Value();
    EXPECT_LE(field.right() - strip.right(), 3);
    EXPECT_GE(strip.height(), field.height() - 6);
    // The text starts at the left, and stops two pixels before the buttons.
    const QRect text(field.left() + 2, field.top() + 4, 24, field.height() - 8);
    const QRect gap(strip.left() - 2, strip.top() + 2, 2, strip.height() - 4);
    if (e == disabled) {
      EXPECT_GT(gray(text), 10);
    } else {
      EXPECT_GT(dark(text), 10) << e->Value();
    }
    EXPECT_EQ(dark(gap), 0) << e->Value();
    EXPECT_EQ(gray(gap), 0) << e->Value();
  }
  // The arrows of the enabled edits are black; the disabled ones are not.
  const auto arrows = [&](TMtxFloatEdit* e) {
    return dark(QRect(e->Buttons()->mapTo(&window, QPoint(2, 2)), e->Buttons()->size() - QSize(4, 4)));
  };
  EXPECT_GE(arrows(zero), 2 * 16);
  EXPECT_EQ(arrows(disabled), 0);
}

}  // namespace
}  // namespace analysis_ui

// The generator's inputs: their start values, keystroke filters, silent
// corrections, band switch, order estimate and what the window keeps of them.
// Covers: formRemez.cpp, formRemez_Inputs.cpp, Controls.cpp.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "platform/classlib/Exception.h"
#include "workbench/forms/Controls.h"
#include "workbench/logic/formRemezParameters.h"
#include "WorkbenchFixture.h"

namespace workbench {
namespace {

class GeneratorInputs : public TWorkbenchTest {
 protected:
  TfrmRemez& Start(const std::string& ini = {}) {
    StartWorkbench(ini);
    return Generator();
  }

  // The order estimate of the logic for the generator's inputs.
  static int Estimate(const TGeneratorInputs& in) {
    TDesignWorkspace ws;
    ComputeDesignParameters(ws, in);
    return ws.ImpulseLength;
  }
};

TEST_F(GeneratorInputs, WithoutSettingsTheDefaultsAndTheLibraryDesign) {
  TfrmRemez& g = Start();
  EXPECT_EQ(g.FilterType->ItemIndex(), 0);
  EXPECT_EQ(g.InputT1->Text(), "24");
  EXPECT_EQ(g.InputTransient1->Text(), "12");
  EXPECT_EQ(g.InputAtten1->Text(), "40");
  EXPECT_EQ(g.InputT2->Text(), "31");
  EXPECT_EQ(g.InputTransient2->Text(), "52");
  EXPECT_EQ(g.InputAtten2->Text(), "40");
  EXPECT_EQ(g.InputRipple->text(), "0.08");
  EXPECT_EQ(g.InputDelay->Text(), "0");
  EXPECT_TRUE(g.Method2->isChecked());
  EXPECT_EQ(g.FIRTextMode->ItemIndex(), tmMQL4);
  EXPECT_FALSE(g.FIRTextMode->isEnabled());
  EXPECT_EQ(g.PriceChart().ZoomLevel, 4);
  for (TSpinEdit* input : {g.InputT2, g.InputTransient2, g.InputAtten2}) EXPECT_FALSE(input->isEnabled());
  TGeneratorInputs in;
  in.Method = dmLibrary;
  EXPECT_EQ(g.LabelOrder->text().toInt(), Estimate(in));
  EXPECT_TRUE(g.LabelOrder->isVisible());
  EXPECT_TRUE(g.Label7->isVisible());
  EXPECT_FALSE(g.InputOrder->isVisible());
  EXPECT_FALSE(g.WarnLabel->isVisible());
  EXPECT_FALSE(g.pnSetPrice->isVisible());
  EXPECT_EQ(g.ButtonStart->text(), "Расчет параметров");
  // The candles are synthetic until a file is opened.
  EXPECT_EQ(g.PriceChart().Bars.size(), static_cast<std::size_t>(SyntheticBarCount));
  EXPECT_TRUE(g.HSTLabel->isHidden());
}

TEST_F(GeneratorInputs, TheSettingsFileGivesTheInputs) {
  TfrmRemez& g = Start(
      "[OrvelParameters]\nP1=30\nD1=10\nA1=55\nP2=40\nD2=60\nA2=33\nRipple=0.5\nDelay=2\nMethod=1\n"
      "FilterType=1\nTextMode=2\nZoom=2\n");
  EXPECT_EQ(g.FilterType->ItemIndex(), ftHighPass);
  // High-pass: D1 must lie above P1, so the correction raised it.
  EXPECT_EQ(g.InputT1->Text(), "30");
  EXPECT_EQ(g.InputTransient1->Text(), "31");
  EXPECT_EQ(g.InputAtten1->Text(), "55");
  EXPECT_EQ(g.InputRipple->text(), "0.5");
  EXPECT_EQ(g.InputDelay->Text(), "2");
  EXPECT_TRUE(g.Method1->isChecked());
  EXPECT_EQ(g.FIRTextMode->ItemIndex(), tmMQL2);
  EXPECT_EQ(g.PriceChart().ZoomLevel, 2);
  EXPECT_EQ(g.FilterType->Button(0)->text(), "ФНЧ (RFTL, RSTL) QZLP");
  TGeneratorInputs in;
  in.FilterType = ftHighPass;
  in.P1 = 30;
  in.D1 = 31;
  in.A1 = 55;
  in.Ripple = "0.5";
  in.Method = dmOwnExchange;
  EXPECT_EQ(g.LabelOrder->text().toInt(), Estimate(in));
}

TEST_F(GeneratorInputs, MethodOneDefaultsEstimateOrderFifty) {
  TfrmRemez& g = Start();
  ClickButton(g.Method1);
  EXPECT_TRUE(g.Method1->isChecked());
  EXPECT_EQ(g.LabelOrder->text(), "50");
  EXPECT_EQ(g.CurrentFilter().Order, 50);
  EXPECT_EQ(g.CurrentFilter().Method, dmOwnExchange);
  EXPECT_EQ(g.CurrentFilter().Name.Str(), "From Orvel window ");
  // Once the library design was chosen, the own exchange keeps its grid.
  EXPECT_EQ(g.Parameters().GridDensity, LibraryGridDensity);
}

TEST_F(GeneratorInputs, TypedPeriodsSettleWhenTheFieldIsLeft) {
  TfrmRemez& g = Start(OwnMethodSettings);
  TypeInto(g, g.InputT1, "2", g.InputAtten1);
  EXPECT_FALSE(g.Typing());
  EXPECT_EQ(g.InputT1->Text(), "4");
  EXPECT_EQ(g.InputTransient1->Text(), "3");

  TypeInto(g, g.InputT1, "24", g.InputAtten1);
  TypeInto(g, g.InputTransient1, "24", g.InputAtten1);
  EXPECT_EQ(g.InputTransient1->Text(), "23");

  // While typing nothing is corrected or estimated.
  g.InputT1->setFocus();
  ASSERT_TRUE(WaitUntil([&] { return g.InputT1->hasFocus(); }, 2000));
  QTest::keyClick(g.InputT1, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(g.InputT1, "9");
  EXPECT_EQ(g.InputT1->Text(), "9");
  EXPECT_EQ(g.InputTransient1->Text(), "23");
  // An emptied field becomes the smallest value its input takes.
  QTest::keyClick(g.InputT1, Qt::Key_Backspace);
  EXPECT_EQ(g.InputT1->Text(), "");
  g.InputAtten1->setFocus();
  ASSERT_TRUE(WaitUntil([&] { return g.InputAtten1->hasFocus(); }, 2000));
  EXPECT_EQ(g.InputT1->Text(), "4");
  EXPECT_EQ(g.InputTransient1->Text(), "3");
}

TEST_F(GeneratorInputs, KeysThatCannotBelongToANumberAreDropped) {
  TfrmRemez& g = Start();
  TypeInto(g, g.InputRipple, "0,a.5x", g.InputAtten1);
  EXPECT_EQ(g.InputRipple->text(), "0.5");
  TypeInto(g, g.InputAtten1, "4x5-", g.InputT1);
  EXPECT_EQ(g.InputAtten1->Text(), "45");
  EXPECT_TRUE(g.InputControlKeyPress('\b'));
  EXPECT_TRUE(g.InputControlIntegerKeyPress(3));
  EXPECT_FALSE(g.InputControlIntegerKeyPress('.'));
}

// A field takes as many digits as the end of its range needs, and once left
// shows the value it stands for.
TEST_F(GeneratorInputs, AFieldHoldsTheDigitsOfItsRange) {
  TfrmRemez& g = Start(OwnMethodSettings);
  ClickButton(g.CheckBoxOrder);  // the manual order shows
  const struct {
    TSpinEdit* field;
    const char* whileTyped;
    const char* left;
  } cases[] = {
      {g.InputTransient1, "999", "23"}, {g.InputT1, "999", "300"}, {g.InputAtten1, "9999", "1000"},
      {g.InputDelay, "99", "99"},  {g.InputOrder, "9999", "9999"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field->objectName().toStdString());
    c.field->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return c.field->hasFocus(); }, 2000));
    QTest::keyClick(c.field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(c.field, "99999");
    EXPECT_EQ(c.field->Text(), c.whileTyped);
    g.InputRipple->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return g.InputRipple->hasFocus(); }, 2000));
    EXPECT_EQ(c.field->Text(), c.left);
  }
  EXPECT_EQ(g.CurrentFilter().A1, 1000);
  EXPECT_EQ(g.CurrentFilter().Delay, 99);
  EXPECT_EQ(g.CurrentFilter().Order, 9999);
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(GeneratorInputs, RippleBelowTheSmallestBecomesIt) {
  TfrmRemez& g = Start();
  TypeInto(g, g.InputRipple, "0.00001", g.InputAtten1);
  EXPECT_EQ(g.InputRipple->text(), "0.0001");
  EXPECT_TRUE(FDialogs.Shown.empty()) << FDialogs.ShownTexts();
}

TEST_F(GeneratorInputs, APastedCommaIsAConversionErrorAndTheTextStays) {
  TfrmRemez& g = Start();
  const QString before = g.LabelOrder->text();
  g.InputRipple->setText("0,08");
  // Called directly, the handler hands the failure to its caller...
  EXPECT_THROW(g.ControlFocusExit(), classlib::EConvertError);
  // ...and from the window's own events it reaches the failure handler.
  g.InputRipple->setFocus();
  ASSERT_TRUE(WaitUntil([&] { return g.InputRipple->hasFocus(); }, 2000));
  g.InputAtten1->setFocus();
  ASSERT_TRUE(WaitUntil([&] { return g.InputAtten1->hasFocus(); }, 2000));
  ASSERT_EQ(FDialogs.Shown.size(), 1u) << FDialogs.ShownTexts();
  EXPECT_EQ(FDialogs.Shown[0].Text, "'0,08' is not a valid floating point value");
  EXPECT_EQ(g.InputRipple->text(), "0,08");
  EXPECT_EQ(g.LabelOrder->text(), before);
}

// The box that reports the error takes the focus from the field that Tab
// went to; that is no leaving of a field, so the check runs once.
TEST_F(GeneratorInputs, AnEmptiedRippleReportsItsErrorOnce) {
  TfrmRemez& g = Start(OwnMethodSettings);
  FDialogs.MessagesTakeFocus = true;
  g.InputRipple->setFocus();
  ASSERT_TRUE(WaitUntil([&] { return g.InputRipple->hasFocus(); }, 2000));
  QTest::keyClick(g.InputRipple, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(g.InputRipple, Qt::Key_Delete);
  QTest::keyClick(g.InputRipple, Qt::Key_Tab);
  ASSERT_EQ(FDialogs.Shown.size(), 1u) << FDialogs.ShownTexts();
  EXPECT_EQ(FDialogs.Shown[0].Text, "'' is not a valid floating point value");
  EXPECT_TRUE(g.InputRipple->text().isEmpty());
  // The focus came back to where Tab took it.
  EXPECT_TRUE(WaitUntil([&] { return g.InputAtten1->hasFocus(); }, 2000));
  EXPECT_EQ(FDialogs.Shown.size(), 1u) << FDialogs.ShownTexts();
}

TEST_F(GeneratorInputs, BandTypesSwitchTheirInputs) {
  TfrmRemez& g = Start(OwnMethodSettings);
  g.InputAtten1->SetValue(45);
  ClickButton(g.FilterType->Button(ftBandPass));
  EXPECT_EQ(g.FilterType->ItemIndex(), ftBandPass);
  for (TSpinEdit* input : {g.InputT1, g.InputT2, g.InputTransient2, g.InputAtten2}) EXPECT_TRUE(input->isEnabled());
  EXPECT_EQ(g.InputAtten2->Text(), "45");
  EXPECT_EQ(g.FIRGroupBox->title(), "Полоса пропускания, бар");
  EXPECT_EQ(g.LabelP2a->palette().color(QPalette::WindowText), g.palette().color(QPalette::WindowText));
  // Band-pass from the defaults: D1 12 < P1 24 < P2 31 < D2 52 already.
  EXPECT_EQ(g.InputT2->Text(), "31");
  EXPECT_EQ(g.CurrentFilter().FilterType, ftBandPass);

  ClickButton(g.FilterType->Button(ftBandStop));
  EXPECT_EQ(g.FIRGroupBox->title(), "Полоса задерживания, бар");
  EXPECT_FALSE(g.InputAtten2->isEnabled());
  EXPECT_TRUE(g.InputT2->isEnabled());

  ClickButton(g.FilterType->Button(ftLowPass));
  EXPECT_EQ(g.FIRGroupBox->title(), "Полоса пропускания, бар");
  for (TSpinEdit* input : {g.InputT2, g.InputTransient2, g.InputAtten2}) EXPECT_FALSE(input->isEnabled());
  EXPECT_EQ(g.LabelP2a->palette().color(QPalette::WindowText), QColor(128, 128, 128));
}

TEST_F(GeneratorInputs, ChangedPeriodsKeepTheBandOrder) {
  TfrmRemez& g = Start(OwnMethodSettings);
  ClickButton(g.FilterType->Button(ftBandPass));
  g.InputTransient2->SetValue(52);
  g.InputT2->SetValue(36);
  g.InputT1->SetValue(10);  // below D1 12: P1 becomes 13
  EXPECT_EQ(g.InputT1->Text(), "13");
  EXPECT_EQ(g.InputT2->Text(), "36");
  EXPECT_EQ(g.InputTransient2->Text(), "52");
  g.InputTransient2->SetValue(30);  // below P2 36: D2 becomes 37
  EXPECT_EQ(g.InputTransient2->Text(), "37");

  ClickButton(g.FilterType->Button(ftHighPass));
  g.InputT1->SetValue(24);
  g.InputTransient1->SetValue(12);
  EXPECT_EQ(g.InputTransient1->Text(), "25");
}

TEST_F(GeneratorInputs, TheDelayRenamesTheLowPassItemOnly) {
  TfrmRemez& g = Start(OwnMethodSettings);
  const TFilterRecord before = g.CurrentFilter();
  g.InputDelay->SetValue(3);
  EXPECT_EQ(g.FilterType->Button(0)->text(), "ФНЧ (RFTL, RSTL) QZLP");
  // No estimate, no validation: the current filter still has the old delay.
  EXPECT_EQ(g.CurrentFilter().Delay, before.Delay);
  g.InputDelay->SetText("");
  EXPECT_EQ(g.InputDelay->Text(), "0");
  EXPECT_EQ(g.FilterType->Button(0)->text(), "ФНЧ (FATL, SATL) QZLP");
}

TEST_F(GeneratorInputs, TheOrderLabelTurnsRedAtTheLimit) {
  TfrmRemez& g = Start(OwnMethodSettings);
  const QColor normal = g.LabelOrder->palette().color(QPalette::WindowText);
  // A transition of 1/299 - 1/300 bars needs thousands of taps.
  g.InputT1->SetValue(300);
  g.InputTransient1->SetValue(299);
  EXPECT_GE(g.LabelOrder->text().toLongLong(), MaxFilterOrder);
  EXPECT_EQ(g.LabelOrder->palette().color(QPalette::WindowText), QColor(Qt::red));
  g.InputTransient1->SetValue(12);
  EXPECT_EQ(g.LabelOrder->palette().color(QPalette::WindowText), normal);
}

TEST_F(GeneratorInputs, AManualOrderStartsFromTheEstimate) {
  TfrmRemez& g = Start(OwnMethodSettings);
  ClickButton(g.CheckBoxOrder);
  EXPECT_FALSE(g.CheckBoxOrder->isChecked());
  EXPECT_TRUE(g.InputOrder->isVisible());
  EXPECT_EQ(g.InputOrder->Text(), "50");
  g.InputOrder->SetValue(70);
  EXPECT_EQ(g.CurrentFilter().Order, 70);
  EXPECT_EQ(g.CurrentFilter().AutoOrder, 0);
  ClickButton(g.CheckBoxOrder);
  EXPECT_FALSE(g.InputOrder->isVisible());
}

TEST_F(GeneratorInputs, ClosingKeepsTheInputsInTheSettings) {
  TfrmRemez& g = Start(OwnMethodSettings);
  ClickButton(g.FilterType->Button(ftBandPass));
  g.InputT2->SetValue(44);
  g.InputRipple->setText("0.3");
  ClickButton(g.Method2);
  g.close();
  EXPECT_EQ(WorkbenchSettings.FilterType, ftBandPass);
  EXPECT_EQ(WorkbenchSettings.P2, 44);
  EXPECT_EQ(WorkbenchSettings.Ripple, 0.3);
  EXPECT_EQ(WorkbenchSettings.Method, dmLibrary);
  EXPECT_EQ(WorkbenchSettings.TextMode, tmMQL4);
}

}  // namespace
}  // namespace workbench

// The filter generator's inputs: restoring and keeping them, keystroke
// filters, the silent corrections and the design parameters.
// Tested by: tests/GeneratorInputsTest.cpp
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/classlib/SysUtils.h"
#include "platform/classlib/TextUtils.h"
#include "workbench/forms/Controls.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/forms/formRemez.h"

namespace workbench {

namespace {

const QColor ShadedInputColour(165, 195, 217);

// Holds a flag set for a scope.
struct TFlagScope {
  explicit TFlagScope(bool& flag) : Flag(flag), Before(flag) { Flag = true; }
  ~TFlagScope() { Flag = Before; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;
  bool& Flag;
  bool Before;
};

}  // namespace

void TfrmRemez::FormCreate() {
  Memo1->clear();
  classlib::SetDecimalSeparator('.');
  FDesign.DesignCoefCount = 0;
  FDesign.KernelLength = 0;
  pnSetPrice->hide();
  FTyping = true;
  const TWorkbenchSettings& s = WorkbenchSettings;
  InputT1->SetValue(s.P1);
  InputTransient1->SetValue(s.D1);
  InputAtten1->SetValue(s.A1);
  InputT2->SetValue(s.P2);
  InputTransient2->SetValue(s.D2);
  InputAtten2->SetValue(s.A2);
  InputRipple->setText(QString::fromStdString(FloatToStrPoint(s.Ripple)));
  InputDelay->SetValue(s.Delay);
  (s.Method == dmOwnExchange ? Method1 : Method2)->setChecked(true);
  FilterType->SetItemIndex(s.FilterType < FilterType->Count() ? s.FilterType : 0);
  cbxMomentum->setCurrentIndex(s.MomentumIndex < cbxMomentum->count() ? s.MomentumIndex : -1);
  FIRTextMode->SetItemIndex(s.TextMode < FIRTextMode->Count() ? s.TextMode : -1);
  FTyping = false;
  SettleBandType();
  ComputeDesignParameters();
  FPriceChart.ZoomLevel = s.Zoom;
  GenerateSyntheticBars();
  FOnTheFly = false;
}

void TfrmRemez::FormClose() {
  if (FClosed) return;
  FClosed = true;
  StopDesign();
  TWorkbenchSettings& s = WorkbenchSettings;
  s.FilterType = static_cast<std::uint8_t>(std::max(FilterType->ItemIndex(), 0));
  s.TextMode = static_cast<std::uint8_t>(std::max(FIRTextMode->ItemIndex(), 0));
  s.P1 = InputT1->Value();
  s.D1 = InputTransient1->Value();
  s.A1 = InputAtten1->Value();
  s.P2 = InputT2->Value();
  s.D2 = InputTransient2->Value();
  s.A2 = InputAtten2->Value();
  s.Delay = InputDelay->Value();
  double ripple = 0;
  if (classlib::TryStrToFloat(InputRipple->text().toStdString(), ripple, '.')) s.Ripple = ripple;
  s.Method = Method1->isChecked() ? dmOwnExchange : dmLibrary;
  for (const TMainCommand command : {mcFormCopy, mcFileSave, mcZoomIn, mcZoomOut, mcRefresh})
    FMain.EnableCommand(command, false);
}

bool TfrmRemez::InputControlKeyPress(int key) { return key < 32 || (key >= '0' && key <= '9') || key == '.'; }

bool TfrmRemez::InputControlIntegerKeyPress(int key) { return key < 32 || (key >= '0' && key <= '9'); }

void TfrmRemez::ControlKeyDown() { FTyping = true; }

void TfrmRemez::ControlFocusExit() {
  SettleBandSpinEdits(*this);
  FTyping = false;
  ValidateParameters();
}

void TfrmRemez::ValidateParameters() {
  if (FTyping || FValidating) return;
  // The corrections below set inputs whose change events would validate
  // again; the corrections already settle, so one pass is enough.
  bool startOnTheFly = false;
  {
    TFlagScope validating(FValidating);

    SettleBandInputs(*this);
    WarnLabel->hide();
    ComputeDesignParameters();
    startOnTheFly = FOnTheFly && !DesignRunning();
  }
  if (startOnTheFly) ButtonStartClick();
}

void TfrmRemez::ComputeDesignParameters() {
  const TGeneratorInputs in = BandInputValues(*this);
  FCurrentFilter = workbench::ComputeDesignParameters(FWorkspace, in);
  FCurrentFilter.CoefCount = FDesign.DesignCoefCount;
  ShowOrderEstimate(*this, FWorkspace.ImpulseLength, palette());
}

void TfrmRemez::EnableBandInputs() {
  ShowBandInputs(*this, palette());
  cbxMomentum->setEnabled(false);
  for (QWidget* input : std::initializer_list<QWidget*>{InputTransient1, InputAtten1, InputRipple, InputDelay}) {
    input->setEnabled(true);
    SetInputColour(input, true, palette());
  }
  InputOrder->setVisible(!CheckBoxOrder->isChecked());
}

void TfrmRemez::FilterTypeClick() {
  const int type = FilterType->ItemIndex();
  if (type == ftBandPass || type == ftBandStop) {
    // Its validation follows with the band switch's own.
    TFlagScope validating(FValidating);
    InputAtten2->SetValue(InputAtten1->Value());
  }
  SettleBandType();
}

void TfrmRemez::SettleBandType() {
  EnableBandInputs();
  ValidateParameters();
}

void TfrmRemez::ShadeInputs(bool shaded) {
  for (QWidget* input : std::initializer_list<QWidget*>{InputT1, InputTransient1, InputRipple, InputAtten1, InputDelay,
                                                        InputT2, InputTransient2, InputAtten2, InputOrder}) {
    if (!input->isEnabled()) continue;
    QPalette palette = input->palette();
    palette.setColor(QPalette::Base, shaded ? ShadedInputColour : this->palette().color(QPalette::Base));
    input->setPalette(palette);
  }
}

void TfrmRemez::InputDelayChange() {
  if (InputDelay->Text().trimmed().isEmpty()) {
    InputDelay->SetValue(0);
    // Selected, so that the next digit typed takes its place within the
    // field's two digits.
    InputDelay->selectAll();
  }
  NameLowPassItem(*this);
}

void TfrmRemez::CheckBoxOrderClick() {
  InputOrder->setVisible(!CheckBoxOrder->isChecked());
  InputOrder->SetValue(FWorkspace.ImpulseLength);
}

void TfrmRemez::CheckBoxAutoClick() {
  FOnTheFly = CheckBoxAuto->isChecked();
  ButtonStart->setEnabled(!FOnTheFly);
  if (FOnTheFly) ButtonStartClick();
}

void TfrmRemez::EnableInputs(bool enabled) {
  if (!enabled) {
    for (QWidget* input : std::initializer_list<QWidget*>{InputT1, InputT2, InputTransient1, InputTransient2,
                                                          InputAtten1, InputAtten2, InputRipple, InputDelay})
      input->setEnabled(false);
    btnCopy->hide();
  }
  for (QWidget* input : std::initializer_list<QWidget*>{Method1, Method2, InputOrder, CheckBoxOrder})
    input->setEnabled(enabled);
  // Last, as its validation may start the next design on the fly.
  if (enabled) SettleBandType();
}

void TfrmRemez::RestoreAfterRefusal() {
  EnableBandInputs();
  for (QWidget* input : std::initializer_list<QWidget*>{Method1, Method2, InputOrder, CheckBoxOrder})
    input->setEnabled(true);
  FMain.EnableCommand(mcFormMethods, true);
}

}  // namespace workbench

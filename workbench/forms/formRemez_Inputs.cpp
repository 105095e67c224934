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
#include "workbench/forms/formMain.h"
#include "workbench/forms/formRemez.h"

namespace workbench {

namespace {

const QColor ShadedInputColour(165, 195, 217);
const QColor DisabledLabelColour(128, 128, 128);

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
  FilterTypeClick();
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
  for (QAction* action : {FMain.actFormCopy, FMain.actFileSave, FMain.actZoomIn, FMain.actZoomOut, FMain.actRefresh})
    action->setEnabled(false);
}

bool TfrmRemez::InputControlKeyPress(int key) { return key < 32 || (key >= '0' && key <= '9') || key == '.'; }

bool TfrmRemez::InputControlIntegerKeyPress(int key) { return key < 32 || (key >= '0' && key <= '9'); }

void TfrmRemez::ControlKeyDown() { FTyping = true; }

void TfrmRemez::ControlFocusExit() {
  for (TSpinEdit* input : {InputT1, InputT2, InputTransient1, InputTransient2, InputAtten1, InputAtten2})
    if (input->Text().trimmed().isEmpty()) input->SetValue(1);
  FTyping = false;
  ValidateParameters();
}

void TfrmRemez::SetPeriod(TSpinEdit* input, std::int32_t value) {
  if (input->Text() != QString::number(value)) input->SetValue(value);
}

void TfrmRemez::ValidateParameters() {
  if (FTyping || FValidating) return;
  // The corrections below set inputs whose change events would validate
  // again; the corrections already settle, so one pass is enough.
  bool startOnTheFly = false;
  {
    TFlagScope validating(FValidating);

    const TGeneratorPeriods read{PeriodOfText(InputT1->Text().toStdString()),
                                 PeriodOfText(InputTransient1->Text().toStdString()),
                                 PeriodOfText(InputT2->Text().toStdString()),
                                 PeriodOfText(InputTransient2->Text().toStdString())};
    const std::string ripple = ValidatedRippleText(InputRipple->text().toStdString());
    if (ripple != InputRipple->text().toStdString()) InputRipple->setText(QString::fromStdString(ripple));

    const TGeneratorPeriods settled = ClampGeneratorPeriods(static_cast<std::uint8_t>(FilterType->ItemIndex()), read);
    if (settled.P1 != read.P1) SetPeriod(InputT1, settled.P1);
    if (settled.D1 != read.D1) SetPeriod(InputTransient1, settled.D1);
    if (settled.P2 != read.P2) SetPeriod(InputT2, settled.P2);
    if (settled.D2 != read.D2) SetPeriod(InputTransient2, settled.D2);

    WarnLabel->hide();
    ComputeDesignParameters();
    startOnTheFly = FOnTheFly && !DesignRunning();
  }
  if (startOnTheFly) ButtonStartClick();
}

TGeneratorInputs TfrmRemez::ReadInputs() const {
  TGeneratorInputs in;
  in.FilterType = static_cast<std::uint8_t>(FilterType->ItemIndex());
  in.P1 = PeriodOfText(InputT1->Text().toStdString());
  in.D1 = PeriodOfText(InputTransient1->Text().toStdString());
  in.P2 = PeriodOfText(InputT2->Text().toStdString());
  in.D2 = PeriodOfText(InputTransient2->Text().toStdString());
  in.A1 = classlib::StrToInt(classlib::Trim(InputAtten1->Text().toStdString()));
  in.A2 = classlib::StrToInt(classlib::Trim(InputAtten2->Text().toStdString()));
  in.Ripple = InputRipple->text().toStdString();
  in.Delay = InputDelay->Value();
  in.Method = Method1->isChecked() ? dmOwnExchange : dmLibrary;
  in.AutoOrder = CheckBoxOrder->isChecked();
  in.InputOrder = InputOrder->Value();
  return in;
}

void TfrmRemez::ComputeDesignParameters() {
  const TGeneratorInputs in = ReadInputs();
  FCurrentFilter = workbench::ComputeDesignParameters(FWorkspace, in);
  FCurrentFilter.CoefCount = FDesign.DesignCoefCount;
  const int N = FWorkspace.ImpulseLength;
  LabelOrder->setText(QString::number(N));
  QPalette palette = LabelOrder->palette();
  palette.setColor(QPalette::WindowText, N >= MaxFilterOrder ? QColor(Qt::red) : this->palette().color(QPalette::WindowText));
  LabelOrder->setPalette(palette);
  LabelOrder->show();
  Label7->show();
}

void TfrmRemez::SetInputColour(QWidget* input, bool enabled) {
  QPalette palette = input->palette();
  palette.setColor(QPalette::Base, enabled ? this->palette().color(QPalette::Base) : this->palette().color(QPalette::Button));
  input->setPalette(palette);
}

void TfrmRemez::EnableBandInputs() {
  const int type = FilterType->ItemIndex();
  const bool bands = type == ftBandPass || type == ftBandStop;
  const QString hintT2 = "Задайте период отсечки Р2 (в барах)";
  const QString hintD2 = "Задайте период отсечки переходного периода D2 (в барах)";
  const QString hintA2 = "Задайте величину затухания в полосе задерживания A2, Дб";
  InputT1->setEnabled(true);
  SetInputColour(InputT1, true);
  for (auto [input, hint] : {std::pair<TSpinEdit*, QString>{InputT2, hintT2}, {InputTransient2, hintD2},
                             {InputAtten2, hintA2}}) {
    input->setEnabled(bands);
    SetInputColour(input, bands);
    input->setToolTip(bands ? hint : QString());
  }
  for (QLabel* label : {LabelP2a, LabelP2b, LabelP2c}) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, bands ? this->palette().color(QPalette::WindowText) : DisabledLabelColour);
    label->setPalette(palette);
  }
  if (bands) {
    // Its validation follows with the band switch's own.
    TFlagScope validating(FValidating);
    InputAtten2->SetValue(InputAtten1->Value());
  }
  cbxMomentum->setEnabled(false);
  for (QWidget* input : std::initializer_list<QWidget*>{InputTransient1, InputAtten1, InputRipple, InputDelay}) {
    input->setEnabled(true);
    SetInputColour(input, true);
  }
  InputOrder->setVisible(!CheckBoxOrder->isChecked());
  if (type == ftBandStop) {
    FIRGroupBox->setTitle("Полоса задерживания, бар");
    InputAtten2->setEnabled(false);
    SetInputColour(InputAtten2, false);
    InputAtten2->setToolTip(QString());
  } else {
    FIRGroupBox->setTitle("Полоса пропускания, бар");
  }
}

void TfrmRemez::FilterTypeClick() {
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
  if (InputDelay->Text().trimmed().isEmpty()) InputDelay->SetValue(0);
  FilterType->SetItem(0, InputDelay->Value() < 1 ? "ФНЧ (FATL, SATL) QZLP" : "ФНЧ (RFTL, RSTL) QZLP");
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
  if (enabled) FilterTypeClick();
}

void TfrmRemez::RestoreAfterRefusal() {
  EnableBandInputs();
  for (QWidget* input : std::initializer_list<QWidget*>{Method1, Method2, InputOrder, CheckBoxOrder})
    input->setEnabled(true);
  FMain.SetMethodsCommandEnabled(true);
}

}  // namespace workbench

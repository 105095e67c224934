// The shared design inputs: creation, corrections and their look.
// Tested by: tests/GeneratorInputsTest.cpp, tests/MethodsWindowTest.cpp
#include "workbench/forms/BandInputs.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <QButtonGroup>
#include <QCheckBox>
#include <QColor>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>

#include "workbench/forms/Controls.h"

namespace workbench {

namespace {

const QColor DisabledLabelColour(128, 128, 128);

}  // namespace

void CreateBandInputs(TBandInputs& b, QWidget* parent, std::int32_t d2, bool delayInGroup) {
  b.FilterType = new TRadioGroup(parent, "FilterType", "Тип фильтра",
                                 {"ФНЧ (FATL, SATL) QZLP", "ФВЧ QZHP", "Полосовой (RBCI) QZBP", "Режекторный QZSP"});

  b.FIRGroupBox = new QGroupBox("Полоса пропускания, бар", parent);
  b.FIRGroupBox->setObjectName("FIRGroupBox");
  auto* grid = new QGridLayout(b.FIRGroupBox);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setVerticalSpacing(3);
  QWidget* group = b.FIRGroupBox;
  b.InputT1 = new TSpinEdit(group, "InputT1", InputT1Range, 24);
  b.InputTransient1 = new TSpinEdit(group, "InputTransient1", InputTransient1Range, 12);
  b.InputRipple = new QLineEdit("0.08", group);
  b.InputRipple->setObjectName("InputRipple");
  b.InputAtten1 = new TSpinEdit(group, "InputAtten1", InputAtten1Range, 40);
  // Created where it stands among the inputs, so that Tab reaches it in that order.
  const auto createDelay = [&](QWidget* owner) {
    b.InputDelay = new TSpinEdit(owner, "InputDelay", InputDelayRange, 0);
    b.InputDelay->setFixedWidth(70);
  };
  if (delayInGroup) createDelay(group);
  b.InputT2 = new TSpinEdit(group, "InputT2", InputT2Range, 36);
  b.InputTransient2 = new TSpinEdit(group, "InputTransient2", InputTransient2Range, d2);
  b.InputAtten2 = new TSpinEdit(group, "InputAtten2", InputAtten2Range, 40);
  if (!delayInGroup) createDelay(parent);
  b.LabelP2a = NewLabel(group, "LabelP2a", "Период отсечки P2");
  b.LabelP2b = NewLabel(group, "LabelP2b", "Период отсечки D2\nпереходного процесса");
  b.LabelP2c = NewLabel(group, "LabelP2c", "Затухание в полосе \nзадержки A2, -Дб");
  std::vector<std::pair<QLabel*, QWidget*>> rows = {
      {NewLabel(group, "Label1", "Период отсечки P1"), b.InputT1},
      {NewLabel(group, "Label2", "Период отсечки D1\nпереходного процесса"), b.InputTransient1},
      {NewLabel(group, "Label3", "Биения в полосе \nпропускания, Дб"), b.InputRipple},
      {NewLabel(group, "Label4", "Затухание в полосе \nзадержки A1, -Дб"), b.InputAtten1},
  };
  if (delayInGroup) rows.emplace_back(NewLabel(group, "Label5", "Задержка, бар"), b.InputDelay);
  rows.insert(rows.end(), {{b.LabelP2a, b.InputT2}, {b.LabelP2b, b.InputTransient2}, {b.LabelP2c, b.InputAtten2}});
  int r = 0;
  for (const auto& [label, input] : rows) {
    input->setFixedWidth(70);
    grid->addWidget(label, r, 0);
    grid->addWidget(input, r++, 1);
  }

  b.Method1 = new QRadioButton("Метод 1", parent);
  b.Method1->setObjectName("Method1");
  b.Method2 = new QRadioButton("Метод 2", parent);
  b.Method2->setObjectName("Method2");
  // The methods are a choice of their own, whatever other buttons share the parent.
  auto* methods = new QButtonGroup(parent);
  methods->addButton(b.Method1);
  methods->addButton(b.Method2);
  b.Method1->setChecked(true);

  b.CheckBoxOrder = new QCheckBox("Автоматически", parent);
  b.CheckBoxOrder->setObjectName("CheckBoxOrder");
  b.CheckBoxOrder->setChecked(true);
  b.InputOrder = new TSpinEdit(parent, "InputOrder", InputOrderRange, 20);
  b.InputOrder->setFixedWidth(70);
  b.InputOrder->hide();
  b.Label7 = NewLabel(parent, "Label7", "Порядок фильтра");
  b.LabelOrder = NewLabel(parent, "LabelOrder", "10");
  QFont bold = b.LabelOrder->font();
  bold.setBold(true);
  b.LabelOrder->setFont(bold);
}

TGeneratorPeriods BandPeriods(const TBandInputs& b) {
  return {b.InputT1->Value(), b.InputTransient1->Value(), b.InputT2->Value(), b.InputTransient2->Value()};
}

TGeneratorInputs BandInputValues(const TBandInputs& b) {
  TGeneratorInputs in;
  in.FilterType = static_cast<std::uint8_t>(std::max(b.FilterType->ItemIndex(), 0));
  const TGeneratorPeriods periods = BandPeriods(b);
  in.P1 = periods.P1;
  in.D1 = periods.D1;
  in.P2 = periods.P2;
  in.D2 = periods.D2;
  in.A1 = b.InputAtten1->Value();
  in.A2 = b.InputAtten2->Value();
  in.Ripple = b.InputRipple->text().toStdString();
  in.Delay = b.InputDelay->Value();
  in.Method = b.Method1->isChecked() ? dmOwnExchange : dmLibrary;
  in.AutoOrder = b.CheckBoxOrder->isChecked();
  in.InputOrder = b.InputOrder->Value();
  return in;
}

void SettleBandInputs(TBandInputs& b) {
  const TGeneratorPeriods read = BandPeriods(b);
  const std::string ripple = ValidatedRippleText(b.InputRipple->text().toStdString());
  if (ripple != b.InputRipple->text().toStdString()) b.InputRipple->setText(QString::fromStdString(ripple));
  const TGeneratorPeriods settled = ClampGeneratorPeriods(static_cast<std::uint8_t>(b.FilterType->ItemIndex()), read);
  const auto set = [](TSpinEdit* input, std::int32_t value) {
    if (input->Text() != QString::number(value)) input->SetValue(value);
  };
  if (settled.P1 != read.P1) set(b.InputT1, settled.P1);
  if (settled.D1 != read.D1) set(b.InputTransient1, settled.D1);
  if (settled.P2 != read.P2) set(b.InputT2, settled.P2);
  if (settled.D2 != read.D2) set(b.InputTransient2, settled.D2);
}

void SettleBandSpinEdits(TBandInputs& b) {
  for (TSpinEdit* input : {b.InputT1, b.InputT2, b.InputTransient1, b.InputTransient2, b.InputAtten1, b.InputAtten2,
                           b.InputDelay, b.InputOrder})
    input->Settle();
}

void NameLowPassItem(TBandInputs& b) {
  b.FilterType->SetItem(0, b.InputDelay->Value() < 1 ? "ФНЧ (FATL, SATL) QZLP" : "ФНЧ (RFTL, RSTL) QZLP");
}

void SetInputColour(QWidget* input, bool enabled, const QPalette& window) {
  QPalette palette = input->palette();
  palette.setColor(QPalette::Base, enabled ? window.color(QPalette::Base) : window.color(QPalette::Button));
  input->setPalette(palette);
}

void ShowBandInputs(TBandInputs& b, const QPalette& window) {
  const int type = b.FilterType->ItemIndex();
  const bool bands = type == ftBandPass || type == ftBandStop;
  b.InputT1->setEnabled(true);
  SetInputColour(b.InputT1, true, window);
  for (auto [input, hint] : {std::pair<TSpinEdit*, const char*>{b.InputT2, "Задайте период отсечки Р2 (в барах)"},
                             {b.InputTransient2, "Задайте период отсечки переходного периода D2 (в барах)"},
                             {b.InputAtten2, "Задайте величину затухания в полосе задерживания A2, Дб"}}) {
    input->setEnabled(bands);
    SetInputColour(input, bands, window);
    input->setToolTip(bands ? QString::fromUtf8(hint) : QString());
  }
  for (QLabel* label : {b.LabelP2a, b.LabelP2b, b.LabelP2c}) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, bands ? window.color(QPalette::WindowText) : DisabledLabelColour);
    label->setPalette(palette);
  }
  if (type == ftBandStop) {
    b.FIRGroupBox->setTitle("Полоса задерживания, бар");
    b.InputAtten2->setEnabled(false);
    SetInputColour(b.InputAtten2, false, window);
    b.InputAtten2->setToolTip(QString());
  } else {
    b.FIRGroupBox->setTitle("Полоса пропускания, бар");
  }
}

void ShowOrderEstimate(TBandInputs& b, std::int32_t N, const QPalette& window) {
  b.LabelOrder->setText(QString::number(N));
  QPalette palette = b.LabelOrder->palette();
  palette.setColor(QPalette::WindowText, N >= MaxFilterOrder ? QColor(Qt::red) : window.color(QPalette::WindowText));
  b.LabelOrder->setPalette(palette);
  b.LabelOrder->show();
  b.Label7->show();
}

}  // namespace workbench

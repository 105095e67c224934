// The filter-parameter dialog: controls, input rules and the result record.
// Tested by: tests/MethodsWindowTest.cpp, tests/MethodEditDialogTest.cpp
#include "workbench/forms/FormMethodEdit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QButtonGroup>
#include <QVBoxLayout>

#include "platform/classlib/SysUtils.h"
#include "platform/classlib/TextUtils.h"
#include "workbench/forms/Controls.h"
#include "workbench/forms/UserDialogs.h"

namespace workbench {

namespace {

const QColor DisabledLabelColour(128, 128, 128);

}  // namespace

TfrmMethodEdit::TfrmMethodEdit(TUserDialogs& dialogs, TDesignWorkspace& workspace, QWidget* parent)
    : QDialog(parent), FDialogs(dialogs), FWorkspace(workspace) {
  setObjectName("frmMethodEdit");
  setWindowTitle("Редактирование фильтра");
  setModal(true);
  CreateControls();
  ConnectEvents();
  FormCreate();
}

void TfrmMethodEdit::CreateControls() {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(6, 6, 6, 6);
  column->setSpacing(4);

  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(NewLabel(this, "Label8", "Название фильтра в MQL-коде"));
  FilterName = new QLineEdit(this);
  FilterName->setObjectName("FilterName");
  FilterName->setMaxLength(static_cast<int>(decltype(TFilterRecord::Name)::Capacity()));
  // Pasted text passes no key filter: the validator keeps the name to what can be typed.
  FilterName->setValidator(new QRegularExpressionValidator(QRegularExpression("[A-Za-z0-9]*"), FilterName));
  nameRow->addWidget(FilterName, 1);
  column->addLayout(nameRow);

  auto* top = new QHBoxLayout;
  FilterType = new TRadioGroup(this, "FilterType", "Тип фильтра",
                               {"ФНЧ (FATL, SATL) QZLP", "ФВЧ QZHP", "Полосовой (RBCI) QZBP", "Режекторный QZSP"});
  FilterType->SetItemIndex(0);
  top->addWidget(FilterType);

  FIRGroupBox = new QGroupBox("Полоса пропускания, бар", this);
  FIRGroupBox->setObjectName("FIRGroupBox");
  auto* grid = new QGridLayout(FIRGroupBox);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setVerticalSpacing(3);
  InputT1 = new TSpinEdit(FIRGroupBox, "InputT1", InputT1Range, 24);
  InputTransient1 = new TSpinEdit(FIRGroupBox, "InputTransient1", InputTransient1Range, 12);
  InputRipple = new QLineEdit("0.08", FIRGroupBox);
  InputRipple->setObjectName("InputRipple");
  InputAtten1 = new TSpinEdit(FIRGroupBox, "InputAtten1", InputAtten1Range, 40);
  InputDelay = new TSpinEdit(FIRGroupBox, "InputDelay", InputDelayRange, 0);
  InputT2 = new TSpinEdit(FIRGroupBox, "InputT2", InputT2Range, 36);
  InputTransient2 = new TSpinEdit(FIRGroupBox, "InputTransient2", InputTransient2Range, 52);
  InputAtten2 = new TSpinEdit(FIRGroupBox, "InputAtten2", InputAtten2Range, 40);
  LabelP2a = NewLabel(FIRGroupBox, "LabelP2a", "Период отсечки P2");
  LabelP2b = NewLabel(FIRGroupBox, "LabelP2b", "Период отсечки D2\nпереходного процесса");
  LabelP2c = NewLabel(FIRGroupBox, "LabelP2c", "Затухание в полосе \nзадержки A2, -Дб");
  const std::pair<QLabel*, QWidget*> rows[] = {
      {NewLabel(FIRGroupBox, "Label1", "Период отсечки P1"), InputT1},
      {NewLabel(FIRGroupBox, "Label2", "Период отсечки D1\nпереходного процесса"), InputTransient1},
      {NewLabel(FIRGroupBox, "Label3", "Биения в полосе \nпропускания, Дб"), InputRipple},
      {NewLabel(FIRGroupBox, "Label4", "Затухание в полосе \nзадержки A1, -Дб"), InputAtten1},
      {NewLabel(FIRGroupBox, "Label5", "Задержка, бар"), InputDelay},
      {LabelP2a, InputT2},
      {LabelP2b, InputTransient2},
      {LabelP2c, InputAtten2},
  };
  int r = 0;
  for (const auto& [label, input] : rows) {
    input->setFixedWidth(70);
    grid->addWidget(label, r, 0);
    grid->addWidget(input, r++, 1);
  }
  top->addWidget(FIRGroupBox);
  column->addLayout(top);

  auto* methods = new QHBoxLayout;
  Method1 = new QRadioButton("Метод 1", this);
  Method1->setObjectName("Method1");
  Method2 = new QRadioButton("Метод 2", this);
  Method2->setObjectName("Method2");
  // The methods and the prices are two choices apart, though the buttons share a parent.
  auto* methodGroup = new QButtonGroup(this);
  methodGroup->addButton(Method1);
  methodGroup->addButton(Method2);
  Method1->setChecked(true);
  methods->addWidget(Method1);
  methods->addWidget(Method2);
  methods->addStretch();
  column->addLayout(methods);

  auto* orderRow = new QHBoxLayout;
  CheckBoxOrder = new QCheckBox("Автоматически", this);
  CheckBoxOrder->setObjectName("CheckBoxOrder");
  CheckBoxOrder->setChecked(true);
  InputOrder = new TSpinEdit(this, "InputOrder", InputOrderRange, 20);
  InputOrder->setFixedWidth(70);
  InputOrder->hide();
  Label7 = NewLabel(this, "Label7", "Порядок фильтра");
  LabelOrder = NewLabel(this, "LabelOrder", "10");
  QFont bold = LabelOrder->font();
  bold.setBold(true);
  LabelOrder->setFont(bold);
  orderRow->addWidget(CheckBoxOrder);
  orderRow->addWidget(InputOrder);
  orderRow->addSpacing(12);
  orderRow->addWidget(Label7);
  orderRow->addWidget(LabelOrder);
  orderRow->addStretch();
  column->addLayout(orderRow);

  auto* priceRow = new QHBoxLayout;
  priceRow->addWidget(NewLabel(this, "Label6", "Исходная цена:"));
  rbPrice1 = new QRadioButton("Close", this);
  rbPrice1->setObjectName("rbPrice1");
  rbPrice2 = new QRadioButton("(High+Low)/2", this);
  rbPrice2->setObjectName("rbPrice2");
  auto* priceGroup = new QButtonGroup(this);
  priceGroup->addButton(rbPrice1);
  priceGroup->addButton(rbPrice2);
  rbPrice1->setChecked(true);
  priceRow->addWidget(rbPrice1);
  priceRow->addWidget(rbPrice2);
  priceRow->addStretch();
  column->addLayout(priceRow);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  btnOK = new QPushButton("OK", this);
  btnOK->setObjectName("btnOK");
  btnOK->setDefault(true);
  btnCancel = new QPushButton("Cancel", this);
  btnCancel->setObjectName("btnCancel");
  buttons->addWidget(btnOK);
  buttons->addWidget(btnCancel);
  column->addLayout(buttons);

}

void TfrmMethodEdit::ConnectEvents() {
  const auto on = [this](auto* sender, auto signal, auto body) {
    connect(sender, signal, this, Guarded(FDialogs, std::move(body)));
  };
  for (TSpinEdit* input : {InputT1, InputTransient1, InputAtten1, InputT2, InputTransient2, InputAtten2})
    on(input, &QLineEdit::textChanged, [this] { ValidateParameters(); });
  on(InputDelay, &QLineEdit::textChanged, [this] { InputDelayChange(); });
  on(InputOrder, &QLineEdit::textChanged, [this] { InputOrderChange(); });
  on(Method1, &QRadioButton::clicked, [this] { ValidateParameters(); });
  on(Method2, &QRadioButton::clicked, [this] { ValidateParameters(); });
  on(CheckBoxOrder, &QCheckBox::clicked, [this] { CheckBoxOrderClick(); });
  on(btnOK, &QPushButton::clicked, [this] { btnOKClick(); });
  on(btnCancel, &QPushButton::clicked, [this] { btnCancelClick(); });
  FilterType->OnClick = Guarded(FDialogs, [this] { FilterTypeClick(); });
  for (QWidget* input : std::initializer_list<QWidget*>{FilterName, InputT1, InputTransient1, InputRipple, InputAtten1,
                                                        InputDelay, InputT2, InputTransient2, InputAtten2, InputOrder})
    input->installEventFilter(this);
}

void TfrmMethodEdit::FormCreate() {
  classlib::SetDecimalSeparator('.');
  FCancelled = true;
  FHold = true;
  EnableBandInputs();
  FHold = false;
}

void TfrmMethodEdit::FormShow() { ValidateParameters(); }

void TfrmMethodEdit::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Guarded(FDialogs, [this] { FormShow(); })();
}

void TfrmMethodEdit::LoadRecord(const TFilterRecord& filter) {
  const TMethodEditInputs in = MethodEditInputsOf(filter);
  FBase = filter;
  FHold = true;
  FilterName->setText(QString::fromStdString(in.Name));
  FilterType->SetItemIndex(in.Design.FilterType);
  InputT1->SetValue(in.Design.P1);
  InputTransient1->SetValue(in.Design.D1);
  InputAtten1->SetValue(in.Design.A1);
  InputT2->SetValue(in.Design.P2);
  InputTransient2->SetValue(in.Design.D2);
  InputAtten2->SetValue(in.Design.A2);
  InputRipple->setText(QString::fromStdString(in.Design.Ripple));
  InputDelay->SetValue(in.Design.Delay);
  (in.Design.Method == dmOwnExchange ? Method1 : Method2)->setChecked(true);
  EnableBandInputs();
  CheckBoxOrder->setChecked(in.Design.AutoOrder);
  InputOrder->SetValue(in.Design.InputOrder);
  InputOrder->setVisible(!in.Design.AutoOrder);
  (in.Price == piClose ? rbPrice1 : rbPrice2)->setChecked(true);
  FHold = false;
}

void TfrmMethodEdit::SetFilterName(const std::string& name) { FilterName->setText(QString::fromStdString(name)); }

TMethodEditInputs TfrmMethodEdit::ReadInputs() const {
  TMethodEditInputs in;
  in.Name = FilterName->text().toStdString();
  TGeneratorInputs& d = in.Design;
  d.FilterType = static_cast<std::uint8_t>(std::max(FilterType->ItemIndex(), 0));
  d.P1 = PeriodOfText(InputT1->Text().toStdString());
  d.D1 = PeriodOfText(InputTransient1->Text().toStdString());
  d.P2 = PeriodOfText(InputT2->Text().toStdString());
  d.D2 = PeriodOfText(InputTransient2->Text().toStdString());
  d.A1 = InputAtten1->Value();
  d.A2 = InputAtten2->Value();
  d.Ripple = InputRipple->text().toStdString();
  d.Delay = InputDelay->Value();
  d.Method = Method1->isChecked() ? dmOwnExchange : dmLibrary;
  d.AutoOrder = CheckBoxOrder->isChecked();
  d.InputOrder = InputOrder->Value();
  in.Price = rbPrice1->isChecked() ? piClose : piMidPrice;
  return in;
}

void TfrmMethodEdit::ValidateParameters() {
  if (FHold || FValidating) return;
  // The corrections set inputs whose change events would validate again; they
  // already settle, so one pass is enough.
  FValidating = true;
  struct TDone {
    bool& Flag;
    ~TDone() { Flag = false; }
  } done{FValidating};

  const TGeneratorPeriods read{PeriodOfText(InputT1->Text().toStdString()),
                               PeriodOfText(InputTransient1->Text().toStdString()),
                               PeriodOfText(InputT2->Text().toStdString()),
                               PeriodOfText(InputTransient2->Text().toStdString())};
  const std::string ripple = ValidatedRippleText(InputRipple->text().toStdString());
  if (ripple != InputRipple->text().toStdString()) InputRipple->setText(QString::fromStdString(ripple));
  const TGeneratorPeriods settled = ClampGeneratorPeriods(static_cast<std::uint8_t>(FilterType->ItemIndex()), read);
  const auto set = [](TSpinEdit* input, std::int32_t value) {
    if (input->Text() != QString::number(value)) input->SetValue(value);
  };
  if (settled.P1 != read.P1) set(InputT1, settled.P1);
  if (settled.D1 != read.D1) set(InputTransient1, settled.D1);
  if (settled.P2 != read.P2) set(InputT2, settled.P2);
  if (settled.D2 != read.D2) set(InputTransient2, settled.D2);

  FilterType->SetItem(0, InputDelay->Value() < 1 ? "ФНЧ (FATL, SATL) QZLP" : "ФНЧ (RFTL, RSTL) QZLP");

  const std::int32_t N = MethodEditOrderEstimate(FWorkspace, ReadInputs().Design);
  LabelOrder->setText(QString::number(N));
  QPalette palette = LabelOrder->palette();
  palette.setColor(QPalette::WindowText, N >= MaxFilterOrder ? QColor(Qt::red) : this->palette().color(QPalette::WindowText));
  LabelOrder->setPalette(palette);
  LabelOrder->show();
  Label7->show();
}

void TfrmMethodEdit::SetInputColour(QWidget* input, bool enabled) {
  QPalette palette = input->palette();
  palette.setColor(QPalette::Base, enabled ? this->palette().color(QPalette::Base) : this->palette().color(QPalette::Button));
  input->setPalette(palette);
}

void TfrmMethodEdit::EnableBandInputs() {
  const int type = FilterType->ItemIndex();
  const bool bands = type == ftBandPass || type == ftBandStop;
  InputT1->setEnabled(true);
  SetInputColour(InputT1, true);
  for (TSpinEdit* input : {InputT2, InputTransient2, InputAtten2}) {
    input->setEnabled(bands);
    SetInputColour(input, bands);
  }
  InputT2->setToolTip(bands ? "Задайте период отсечки Р2 (в барах)" : QString());
  InputTransient2->setToolTip(bands ? "Задайте период отсечки переходного периода D2 (в барах)" : QString());
  InputAtten2->setToolTip(bands ? "Задайте величину затухания в полосе задерживания A2, Дб" : QString());
  for (QLabel* label : {LabelP2a, LabelP2b, LabelP2c}) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, bands ? this->palette().color(QPalette::WindowText) : DisabledLabelColour);
    label->setPalette(palette);
  }
  if (type == ftBandStop) {
    FIRGroupBox->setTitle("Полоса задерживания, бар");
    InputAtten2->setEnabled(false);
    SetInputColour(InputAtten2, false);
  } else {
    FIRGroupBox->setTitle("Полоса пропускания, бар");
  }
}

void TfrmMethodEdit::FilterTypeClick() {
  const int type = FilterType->ItemIndex();
  if (type == ftBandPass || type == ftBandStop) {
    // Its validation follows below.
    const bool hold = FHold;
    FHold = true;
    InputAtten2->SetValue(InputAtten1->Value());
    FHold = hold;
  }
  EnableBandInputs();
  CheckBoxOrder->setChecked(true);
  InputOrder->hide();
  ValidateParameters();
}

void TfrmMethodEdit::CheckBoxOrderClick() {
  InputOrder->setVisible(!CheckBoxOrder->isChecked());
  InputOrder->SetValue(FWorkspace.ImpulseLength);
}

void TfrmMethodEdit::InputOrderChange() {
  if (!CheckBoxOrder->isChecked()) FWorkspace.ImpulseLength = InputOrder->Value();
}

void TfrmMethodEdit::InputDelayChange() { ValidateParameters(); }

void TfrmMethodEdit::ControlFocusExit() {
  for (TSpinEdit* input : {InputT1, InputT2, InputTransient1, InputTransient2, InputAtten1, InputAtten2})
    if (input->Text().trimmed().isEmpty()) input->SetValue(1);
  FHold = false;
  ValidateParameters();
}

void TfrmMethodEdit::btnOKClick() {
  const TMethodEditInputs in = ReadInputs();
  // The estimate of what the controls show now, not of an earlier state.
  const std::int32_t estimate = MethodEditOrderEstimate(FWorkspace, in.Design);
  const std::string refusal = MethodEditRefusal(in.Name, MethodEditEffectiveOrder(in.Design, estimate));
  if (!refusal.empty()) {
    FDialogs.MessageBox(refusal, capPlainMessage, mbOK, miNone);
    return;
  }
  FEditedFilter = MethodEditResult(in, estimate, FBase);
  FCancelled = false;
  accept();
}

void TfrmMethodEdit::btnCancelClick() {
  FCancelled = true;
  reject();
}

bool TfrmMethodEdit::eventFilter(QObject* watched, QEvent* event) {
  bool consumed = false;
  Guarded(FDialogs, [&] {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      const bool integer = watched != FilterName && watched != InputRipple;
      if (integer) FHold = true;
      // Only keys that type a character pass the filters: shortcuts and
      // editing keys such as Delete type none.
      if (key->text().isEmpty() || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return;
      const int code = key->text().front().unicode();
      if (code == 127) return;
      if (watched == FilterName) {
        consumed = !FilterNameKey(code);
      } else if (watched == InputRipple) {
        consumed = !(code < 32 || (code >= '0' && code <= '9') || code == '.');
      } else {
        consumed = !(code < 32 || (code >= '0' && code <= '9'));
      }
    } else if (event->type() == QEvent::FocusOut && watched != FilterName) {
      ControlFocusExit();
    }
  })();
  return consumed || QDialog::eventFilter(watched, event);
}

}  // namespace workbench

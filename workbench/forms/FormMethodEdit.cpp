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

  CreateBandInputs(*this, this, 52, true);
  FilterType->SetItemIndex(0);
  auto* top = new QHBoxLayout;
  top->addWidget(FilterType);
  top->addWidget(FIRGroupBox);
  column->addLayout(top);

  auto* methods = new QHBoxLayout;
  methods->addWidget(Method1);
  methods->addWidget(Method2);
  methods->addStretch();
  column->addLayout(methods);

  auto* orderRow = new QHBoxLayout;
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
  in.Design = BandInputValues(*this);
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

  SettleBandInputs(*this);
  NameLowPassItem(*this);

  ShowOrderEstimate(*this, MethodEditOrderEstimate(FWorkspace, ReadInputs().Design), palette());
}

void TfrmMethodEdit::EnableBandInputs() { ShowBandInputs(*this, palette()); }

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
  SettleBandSpinEdits(*this);
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
    } else if (LeavesTheField(event) && watched != FilterName) {
      ControlFocusExit();
    }
  })();
  return consumed || QDialog::eventFilter(watched, event);
}

}  // namespace workbench

// The step editor of the complex-number edit.
//
// Tested by: analysis_ui/tests/MtxFloatEditTest.cpp
#include "analysis_ui/MtxStepEditForm.h"

#include <exception>

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis_ui/MtxFloatEdit.h"
#include "platform/ui/Focus.h"
#include "platform/ui/Guarded.h"

namespace analysis_ui {

namespace {

template <class T, class... Args>
T* Named(const char* name, Args&&... args) {
  T* control = new T(std::forward<Args>(args)...);
  control->setObjectName(name);
  return control;
}

}  // namespace

TMtxStepEditForm::TMtxStepEditForm(TMtxFloatEdit& edit) : QDialog(&edit), FEdit(&edit) {
  setObjectName("MtxStepEditForm");
  setWindowTitle("Edit number properties");

  GroupBox1 = Named<QGroupBox>("GroupBox1", "Number formating", this);
  Label1 = Named<QLabel>("Label1", "Real part:");
  RealPartEdit = Named<QLineEdit>("RealPartEdit");
  RealPartEdit->setToolTip("Formatting of the real part of the complex number");
  Label2 = Named<QLabel>("Label2", "Imaginary part:");
  ImagPartEdit = Named<QLineEdit>("ImagPartEdit");
  ImagPartEdit->setToolTip("Formatting of the imaginary part of the complex number");
  ScientificBox = Named<QCheckBox>("ScientificBox", "Scientific");
  ScientificBox->setToolTip("Use full precision");
  AutoSelectBox = Named<QCheckBox>("AutoSelectBox", "Auto select");
  AutoSelectBox->setToolTip("Auto selects text when the control gets focus");
  auto* formats = new QGridLayout(GroupBox1);
  formats->addWidget(Label1, 0, 0);
  formats->addWidget(RealPartEdit, 0, 1);
  formats->addWidget(Label2, 1, 0);
  formats->addWidget(ImagPartEdit, 1, 1);
  formats->addWidget(ScientificBox, 2, 0);
  formats->addWidget(AutoSelectBox, 2, 1);

  GroupBox2 = Named<QGroupBox>("GroupBox2", "Up/Down step size", this);
  Label3 = Named<QLabel>("Label3", "Increment:");
  IncrementEdit = Named<QLineEdit>("IncrementEdit");
  IncrementEdit->setToolTip("Complex/real increment");
  auto* step = new QHBoxLayout(GroupBox2);
  step->addWidget(Label3);
  step->addWidget(IncrementEdit, 1);

  OkButton = Named<QPushButton>("OkButton", "OK");
  CancelButton = Named<QPushButton>("CancelButton", "Cancel");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OkButton);
  buttons->addWidget(CancelButton);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(GroupBox1);
  layout->addWidget(GroupBox2);
  layout->addLayout(buttons);

  Label1->setBuddy(RealPartEdit);
  Label2->setBuddy(ImagPartEdit);
  Label3->setBuddy(IncrementEdit);

  connect(RealPartEdit, &QLineEdit::textChanged, this, ui::Guarded([this] { RealPartEditChange(); }));
  connect(ImagPartEdit, &QLineEdit::textChanged, this, ui::Guarded([this] { ImagPartEditChange(); }));
  connect(ScientificBox, &QCheckBox::toggled, this, ui::Guarded([this] { ScientificBoxClick(); }));
  connect(AutoSelectBox, &QCheckBox::toggled, this, ui::Guarded([this] { AutoSelectBoxClick(); }));
  IncrementEdit->installEventFilter(this);
  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &TMtxStepEditForm::reject);
  connect(this, &QDialog::finished, this, [this] { Closed(); });
  OkButton->setDefault(true);

  FillForm();
}

TMtxStepEditForm::~TMtxStepEditForm() { Closed(); }

TMtxFloatEdit* TMtxStepEditForm::Edit() const { return FEdit; }

void TMtxStepEditForm::FillForm() {
  FFilling = true;
  ScientificBox->setChecked(FEdit->Scientific());
  RealPartEdit->setEnabled(!FEdit->Scientific());
  ImagPartEdit->setEnabled(!FEdit->Scientific());
  RealPartEdit->setText(QString::fromStdString(FEdit->ReFormat()));
  ImagPartEdit->setText(QString::fromStdString(FEdit->ImFormat()));
  AutoSelectBox->setChecked(FEdit->AutoSelect());
  IncrementEdit->setText(QString::fromStdString(FEdit->Increment()));
  FSaved = {FEdit->AutoSelect(), FEdit->Scientific(), FEdit->ReFormat(), FEdit->ImFormat(), FEdit->Increment()};
  FFilling = false;
}

void TMtxStepEditForm::RealPartEditChange() {
  if (!FFilling && FEdit) FEdit->SetReFormat(RealPartEdit->text().toStdString());
}

void TMtxStepEditForm::ImagPartEditChange() {
  if (!FFilling && FEdit) FEdit->SetImFormat(ImagPartEdit->text().toStdString());
}

void TMtxStepEditForm::ScientificBoxClick() {
  if (FFilling || !FEdit) return;
  RealPartEdit->setEnabled(!ScientificBox->isChecked());
  ImagPartEdit->setEnabled(!ScientificBox->isChecked());
  FEdit->SetScientific(ScientificBox->isChecked());
}

void TMtxStepEditForm::AutoSelectBoxClick() {
  if (!FFilling && FEdit) FEdit->SetAutoSelect(AutoSelectBox->isChecked());
}

void TMtxStepEditForm::IncrementEditExit() {
  if (!FEdit) return;
  const std::string typed = IncrementEdit->text().toStdString();
  try {
    FEdit->SetIncrement(typed);
  } catch (...) {
    IncrementEdit->setText(QString::fromStdString(FEdit->Increment()));
    throw;
  }
  if (FEdit->Increment() != typed) IncrementEdit->setText(QString::fromStdString(FEdit->Increment()));
}

bool TMtxStepEditForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == IncrementEdit) {
    if (ui::LeavesTheField(event)) ui::RunGuarded([this] { IncrementEditExit(); });
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Enter takes the increment and moves on to OK, without closing.
        ui::RunGuarded([this] { IncrementEditExit(); });
        OkButton->setFocus(Qt::TabFocusReason);
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TMtxStepEditForm::reject() {
  if (FEdit) {
    ui::RunGuarded([this] {
      FEdit->SetAutoSelect(FSaved.AutoSelect);
      FEdit->SetScientific(FSaved.Scientific);
      FEdit->SetReFormat(FSaved.ReFormat);
      FEdit->SetImFormat(FSaved.ImFormat);
      FEdit->SetIncrement(FSaved.Increment);
    });
  }
  QDialog::reject();
}

void TMtxStepEditForm::Closed() {
  if (FEdit) FEdit->StepEditorClosed();
}

}  // namespace analysis_ui

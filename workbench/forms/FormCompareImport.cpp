// The set chooser of the coefficient import.
// Tested by: tests/CompareWindowTest.cpp
#include "workbench/forms/FormCompareImport.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/classlib/Cp1251.h"
#include "workbench/forms/Controls.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/logic/CompareImport.h"

namespace workbench {

TfrmCmpImport::TfrmCmpImport(TUserDialogs& dialogs, const std::vector<TCoefficientRecord>& sets,
                             TCoefficientRecord& target, QWidget* parent)
    : QDialog(parent), FDialogs(dialogs), FSets(sets), FTarget(target) {
  setObjectName("frmCmpImport");
  setWindowTitle("Выбор набора коэффициентов");
  setModal(true);
  auto* column = new QVBoxLayout(this);
  column->addWidget(NewLabel(this, "Label1", "Наборы коэффициентов в файле"));
  cbxFilterName = new QComboBox(this);
  cbxFilterName->setObjectName("cbxFilterName");
  for (const TCoefficientRecord& set : FSets)
    cbxFilterName->addItem(QString::fromStdString(classlib::Cp1251ToUtf8(ImportSetItem(set))));
  column->addWidget(cbxFilterName);
  memFilterText = new QPlainTextEdit(this);
  memFilterText->setObjectName("memFilterText");
  memFilterText->setReadOnly(true);
  QFont fixed("Courier New");
  fixed.setStyleHint(QFont::Monospace);
  memFilterText->setFont(fixed);
  column->addWidget(memFilterText, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  btnOK = new QPushButton("OK", this);
  btnOK->setObjectName("btnOK");
  btnCancel = new QPushButton("Cancel", this);
  btnCancel->setObjectName("btnCancel");
  buttons->addWidget(btnOK);
  buttons->addWidget(btnCancel);
  column->addLayout(buttons);
  resize(360, 420);

  connect(cbxFilterName, &QComboBox::currentIndexChanged, this,
          [this](int) { Guarded(FDialogs, [this] { cbxFilterNameChange(); })(); });
  connect(btnOK, &QPushButton::clicked, this, Guarded(FDialogs, [this] { btnOKClick(); }));
  connect(btnCancel, &QPushButton::clicked, this, Guarded(FDialogs, [this] { btnCancelClick(); }));
  cbxFilterName->setCurrentIndex(0);
  cbxFilterNameChange();
}

void TfrmCmpImport::cbxFilterNameChange() {
  const int index = cbxFilterName->currentIndex();
  if (index < 0 || index >= static_cast<int>(FSets.size())) return;
  memFilterText->setPlainText(
      QString::fromStdString(CoefficientListing(FSets[static_cast<std::size_t>(index)])).replace("\r\n", "\n"));
}

void TfrmCmpImport::btnOKClick() {
  const int index = cbxFilterName->currentIndex();
  if (index >= 0 && index < static_cast<int>(FSets.size())) FTarget = FSets[static_cast<std::size_t>(index)];
  FResult = 1;
  accept();
}

void TfrmCmpImport::btnCancelClick() {
  FResult = 0;
  reject();
}

}  // namespace workbench

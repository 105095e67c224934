// The set chooser of the coefficient import: one of the coefficient sets a
// file holds, chosen from a list that shows each set's coefficients.
#pragma once

#include <vector>

#include <QDialog>

#include "workbench/logic/Classes_Remez.h"

class QComboBox;
class QPlainTextEdit;
class QPushButton;

namespace ui {
class TUserDialogs;
}  // namespace ui

namespace workbench {

using TUserDialogs = ui::TUserDialogs;

class TfrmCmpImport : public QDialog {
 public:
  // The sets to choose from; OK copies the chosen one into `target`.
  TfrmCmpImport(TUserDialogs& dialogs, const std::vector<TCoefficientRecord>& sets, TCoefficientRecord& target,
                QWidget* parent = nullptr);

  // controls
  QComboBox* cbxFilterName = nullptr;
  QPlainTextEdit* memFilterText = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;

  // properties
  // 1 after OK, 0 after Cancel.
  int Result() const { return FResult; }

  // events
  void cbxFilterNameChange();
  void btnOKClick();
  void btnCancelClick();

 private:
  TUserDialogs& FDialogs;
  const std::vector<TCoefficientRecord>& FSets;
  TCoefficientRecord& FTarget;
  int FResult = 0;
};

}  // namespace workbench

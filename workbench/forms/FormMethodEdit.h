// The filter-parameter dialog: one filter record of a method or of a
// comparison row entered or changed with the generator's inputs and input
// rules. It shows the order estimate and designs nothing; on OK it hands
// back the record its controls describe.
#pragma once

#include <cstdint>

#include <QDialog>

#include "workbench/forms/BandInputs.h"
#include "workbench/logic/Classes_Remez.h"
#include "workbench/logic/FormMethodEditParameters.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ui {
class TUserDialogs;
}  // namespace ui

namespace workbench {

class TRadioGroup;
class TSpinEdit;
using TUserDialogs = ui::TUserDialogs;

class TfrmMethodEdit : public QDialog, public TBandInputs {
 public:
  // The order estimate goes into `workspace`, the design state of the caller.
  TfrmMethodEdit(TUserDialogs& dialogs, TDesignWorkspace& workspace, QWidget* parent = nullptr);

  // controls (the design inputs are those of TBandInputs)
  QLineEdit* FilterName = nullptr;
  QRadioButton* rbPrice1 = nullptr;
  QRadioButton* rbPrice2 = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;

  // properties
  // The index of the record being edited; -1 for a new one.
  int RecordIndex() const { return FRecordIndex; }
  void SetRecordIndex(int index) { FRecordIndex = index; }
  bool Cancelled() const { return FCancelled; }
  // The record of the last OK.
  const TFilterRecord& EditedFilter() const { return FEditedFilter; }
  // The current order estimate (what LabelOrder shows).
  std::int32_t OrderEstimate() const { return FWorkspace.ImpulseLength; }

  // operations
  // Shows `filter` in the controls without validating them; OK then keeps
  // what the dialog does not show of it.
  void LoadRecord(const TFilterRecord& filter);
  // Sets the name field, as the callers preset it for a new record.
  void SetFilterName(const std::string& name);

  // events
  void FormCreate();
  void FormShow();
  void ValidateParameters();
  void FilterTypeClick();
  void CheckBoxOrderClick();
  void InputOrderChange();
  void InputDelayChange();
  void ControlFocusExit();
  void btnOKClick();
  void btnCancelClick();

 protected:
  // overrides
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void ConnectEvents();
  void EnableBandInputs();
  TMethodEditInputs ReadInputs() const;

  TUserDialogs& FDialogs;
  TDesignWorkspace& FWorkspace;
  int FRecordIndex = -1;
  bool FHold = false;
  bool FValidating = false;
  bool FCancelled = true;
  TFilterRecord FBase{};
  TFilterRecord FEditedFilter{};
};

// Caption of the plain messages of the workbench's windows.
inline constexpr const char* capPlainMessage = "Orvel";

}  // namespace workbench

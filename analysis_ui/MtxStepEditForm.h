// The step editor of a complex-number edit ("Edit number properties"): the
// formats of the real and imaginary parts, scientific display, auto select
// and the up/down increment. Every change acts on the edit at once; OK keeps
// them, Cancel (or Escape, or closing the window) puts the five settings back
// as they were when the editor opened.
//
// Tested by: analysis_ui/tests/MtxFloatEditTest.cpp
#pragma once

#include <string>

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace analysis_ui {

class TMtxFloatEdit;

class TMtxStepEditForm : public QDialog {
 public:
  // A window of the edit, filled from it; the edit may open it modally or not.
  explicit TMtxStepEditForm(TMtxFloatEdit& edit);
  // Tells the edit that its editor is gone.
  ~TMtxStepEditForm() override;

  TMtxFloatEdit* Edit() const;

  // controls
  QGroupBox* GroupBox1;
  QLabel* Label1;
  QLineEdit* RealPartEdit;
  QLabel* Label2;
  QLineEdit* ImagPartEdit;
  QCheckBox* ScientificBox;
  QCheckBox* AutoSelectBox;
  QGroupBox* GroupBox2;
  QLabel* Label3;
  QLineEdit* IncrementEdit;
  QPushButton* OkButton;
  QPushButton* CancelButton;

  // handlers
  void RealPartEditChange();
  void ImagPartEditChange();
  void ScientificBoxClick();
  void AutoSelectBoxClick();
  // The typed increment goes to the edit; the field then shows the edit's
  // own text of it (rounded, or 1 for 0). Text that does not read is
  // reported and the field shows the edit's increment again.
  void IncrementEditExit();

  // overrides
  // Cancel: the five settings as they were, then closes.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FillForm();
  void Closed();

  struct TSaved {
    bool AutoSelect = true;
    bool Scientific = false;
    std::string ReFormat, ImFormat, Increment;
  };

  QPointer<TMtxFloatEdit> FEdit;
  TSaved FSaved;
  bool FFilling = false;
};

}  // namespace analysis_ui

// The time-signal analysis window (TTimeAnaForm, "Time domain signal
// analysis"): the parameter window of a time analyser (sig::TSignalAnalyzer),
// which a component dialog opens by the name the analyser gives. Every
// control writes one property of the analyser at once (and recomputes it
// while "Live" is checked); the Info page shows the statistics of the
// analyser's output that its boxes choose, refreshed after every update of
// the analyser; the Report page chooses the sections of its text report and
// copies the report to the clipboard. Cancel puts every parameter back.
//
// Tested by: analysis_ui/tests/TimeAnaTest.cpp
#pragma once

#include <QCheckBox>

#include <vector>

#include "analysis_ui/ComponentEditorForm.h"
#include "signal/SignalAnalyzer.h"
#include "signal/SignalReport.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace analysis_ui {

class TMtxFloatEdit;

class TTimeAnaForm : public TComponentEditorForm {
 public:
  explicit TTimeAnaForm(QWidget* owner = nullptr);

  // The analyser in Tag (nullptr before the form is filled).
  sig::TSignalAnalyzer* Analyzer() const { return dynamic_cast<sig::TSignalAnalyzer*>(Component()); }

  // operations
  // The captions of the statistics boxes ("Mean = 0.5" while checked, the
  // bare name otherwise) and the timing labels, from the analyser's Data.
  void UpdateStatistics();

 protected:
  void FillControls() override;
  void DisplayUpdate() override { UpdateStatistics(); }
  // The copy's parameters, and the second correlation length the copy could
  // not take: an analyser keeps one only while it has two inputs, and the
  // copy has none.
  void RestoreBackup() override;

 private:
  struct TReportBox {
    QCheckBox* Box;
    sig::TSignalReportItems Item;
  };

  void BuildParametersPage(QWidget* page);
  void BuildInfoPage(QWidget* page);
  void BuildReportPage(QWidget* page);
  // Connects Changed to run while the form is Ready, then ApplyChange.
  void OnParameter(QComboBox* Box, void (TTimeAnaForm::*Changed)(int));
  void OnParameter(TMtxFloatEdit* Edit, void (TTimeAnaForm::*Changed)());

  void IntDiffBoxChange(int Index);
  void TransformBoxChange(int Index);
  void WindowBoxChange(int Index);
  void AutocorrBoxChange(int Index);
  void ScaleEditChange();
  void RotationEditChange();
  void SidelobeAttEditChange();
  void Taps1EditChange();
  void Taps2EditChange();
  void ReportBoxClick(const TReportBox& Box);
  void ReportButtonClick();

  QTabWidget* FPages;
  QComboBox* FIntDiffBox;
  QComboBox* FTransformBox;
  QCheckBox* FRemoveDCBox;
  TMtxFloatEdit* FScaleEdit;
  TMtxFloatEdit* FRotationEdit;
  QComboBox* FWindowBox;
  TMtxFloatEdit* FSidelobeAttEdit;
  TMtxFloatEdit* FTaps1Edit;
  TMtxFloatEdit* FTaps2Edit;
  QComboBox* FAutocorrBox;
  QCheckBox* FRMSBox;
  QCheckBox* FPeakBox;
  QCheckBox* FCRESTBox;
  QCheckBox* FStdDevBox;
  QCheckBox* FMeanBox;
  QCheckBox* FKurtosisBox;
  QCheckBox* FSkewnessBox;
  QCheckBox* FMinBox;
  QCheckBox* FMaxBox;
  QLabel* FFSLabel;
  QLabel* FBandwidthLabel;
  QLabel* FSamplesAnaLabel;
  QLabel* FSignalLenLabel;
  std::vector<TReportBox> FReportBoxes;
  QLineEdit* FTimeFormatEdit;
  QLineEdit* FAmpltFormatEdit;
  QPushButton* FReportButton;
  // CorrTaps2 when the form first filled, for Cancel; -1 before.
  std::int32_t FTaps2Backup = -1;
};

// Registers the window with the form registry under "TTimeAnaForm", and takes it out again.
void RegisterTimeAna();
void UnregisterTimeAna();

}  // namespace analysis_ui

// TSpectrumAnaForm: the parameter window of a spectrum analyser, caption
// "Spectral analysis", opened by its dialog (SignalToolsDialogs.h). Its
// pages:
// - Basic: method, spectrum type, window, zero padding, integration,
//   logarithmic scale, conjugate extension, AR order, scale, rotation and
//   the chirp-z range;
// - Averaging: the averaging of the analyser's statistics;
// - Peaks: how marked peaks are traced and refined;
// - Bands: the named templates of frequency bands and their levels;
// - Order: order tracking and the chirp-z radii;
// - Phase: how the phase is shown;
// - Info: the analyser's timing and the measures chosen by check boxes,
//   refreshed after every update while the form is open;
// - Report: what the text report holds, its number formats, and copying it
//   to the clipboard.
// Each control writes one property of the analyser as it changes and
// recomputes while Live is on (ComponentEditorForm.h tells the rest of the
// form's life). Controls that a choice makes meaningless are disabled with
// their labels: the AR order without an autoregressive method, the chirp-z
// range without the chirp-z method, the sidelobe attenuation without a
// Kaiser or Chebyshev window, and so on.
//
// A band's four edges stay in order: typing one edge moves the others that
// would cross it, never the one typed.
//
// Tested by: analysis_ui/tests/SpectrumAnaTest.cpp
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis_ui/ComponentEditorForm.h"
#include "signal/SpectrumAnalyzer.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidgetItem;

namespace analysis_ui {

class TMtxFloatEdit;
class TMtxGridView;

class TSpectrumAnaForm : public TComponentEditorForm {
 public:
  explicit TSpectrumAnaForm(QWidget* owner = nullptr);
  ~TSpectrumAnaForm() override;

  // properties
  // The number format of the band levels on the Bands page ("0.000").
  const std::string& FormatFloatRMS() const { return FFormatFloatRMS; }
  void SetFormatFloatRMS(const std::string& Value) { FFormatFloatRMS = Value; }
  sig::TSpectrumAnalyzer* Analyzer() const { return static_cast<sig::TSpectrumAnalyzer*>(Component()); }

  // operations
  // The Info page's refresh: the averages made, the measures checked, the
  // message, the timing labels and the band levels.
  void BuildReport();

  // overrides
  // The band edits stay enabled only while a band is shown.
  void SetStayOnTop(bool Value) override;

 protected:
  void FillControls() override;
  void DisplayUpdate() override { BuildReport(); }
  // The band template chosen in the combo box becomes the analyser's.
  void KeepChanges() override;
  // The band templates reload their current one.
  void AfterClose() override;
  sig::TStreamTemplates* AppendableTemplates() const override;
  std::string AppendTemplatesQuestion() const override { return "Append existing bands templates?"; }

 private:
  // Building the pages (SpectrumAnaControls.cpp).
  void CreateBasicPage(QWidget* Page);
  void CreateAveragingPage(QWidget* Page);
  void CreatePeaksPage(QWidget* Page);
  void CreateBandsPage(QWidget* Page);
  void CreateOrderPage(QWidget* Page);
  void CreatePhasePage(QWidget* Page);
  void CreateInfoPage(QWidget* Page);
  void CreateReportPage(QWidget* Page);

  // The pages Basic to Phase (SpectrumAnaForm.cpp).
  void ConnectHandlers();
  void FillParameters();
  // The enable rules, each from the analyser's state.
  void MethodLayout();
  void WindowLayout();
  void LogarithmicLayout();
  void AveragingLayout();
  // From the trace item chosen: "All" leaves the trace interval and the
  // harmonics as they are.
  void PeakTraceLayout(int Item);
  void InterpolationLayout();
  void FullBandwidthLayout();
  void PhaseModeLayout();
  void UnwrapPhaseLayout();
  // Connects a control's change to Body, which runs only while the form is
  // Ready and failures go to the failure handler.
  void OnChange(QComboBox* Box, void (TSpectrumAnaForm::*Body)());
  void OnChange(QCheckBox* Box, void (TSpectrumAnaForm::*Body)());
  void OnChange(TMtxFloatEdit* Edit, void (TSpectrumAnaForm::*Body)());
  void MethodsBoxChange();
  void SpectrumTypeBoxChange();
  void WindowBoxChange();
  void SidelobeAttBoxChange();
  void ZeroPaddingBoxChange();
  void IntegrationBoxChange();
  void RemoveDCBoxClick();
  void LogarithmicBoxClick();
  void LogSpanBoxChange();
  void LogScaleBoxChange();
  void ConjugateExtendBoxClick();
  void FlipBoxClick();
  void AROrderEditChange();
  void ScaleFactorEditChange();
  void RotationEditChange();
  void CZTStartEditChange();
  void CZTEndEditChange();
  void CZTStepEditChange();
  void CZTRStartEditChange();
  void CZTRStopEditChange();
  void AveragingTypeBoxChange();
  void AveragesEditChange();
  void ExpDecayBoxChange();
  void StdDevBoxClick();
  void PeakTraceBoxChange();
  void LargestEditChange();
  void HarmonicsEditChange();
  void InterpolationBoxChange();
  void InterpolationPrecisionBoxChange();
  void TracedHarmonicsBoxClick();
  void FullBWBoxClick();
  void BandwidthLEditChange();
  void BandwidthHEditChange();
  void TraceIntervalEditChange();
  void OrderEditChange();
  void OrderTracingEditChange();
  void OrderPeakNumberChange();
  void OrderActiveBoxClick();
  void PhaseModeBoxChange();
  void PhaseUnitsBoxChange();
  void PhaseRangeBoxChange();
  void UnwrapPhaseBoxClick();
  void RunningPhaseBoxChange();

  // The Bands page (SpectrumAnaBands.cpp).
  void ConnectBands();
  void FillBands();
  void SetBandEditsEnabled(bool Value);
  void ReferenceLayout();
  // Record LineIndex into the edits (unless the Info page only rewrites the
  // lines) and into its line.
  void ShowBand(std::int32_t LineIndex, QTreeWidgetItem* Item);
  // The edits into record LineIndex, Sender the control that changed.
  void StoreBand(QObject* Sender, std::int32_t LineIndex, QTreeWidgetItem* Item);
  // The selected band from Sender, when the list is ready.
  void CommitBand(QObject* Sender);
  void WriteBandLine(std::int32_t LineIndex, QTreeWidgetItem* Item);
  void AddBandClick();
  void ChangeRmsFormat();

  // The Info and Report pages (SpectrumAnaInfo.cpp).
  void ConnectReport();
  void FillReport();
  void ReportButtonClick();

  std::string FFormatFloatRMS = "0.000";
  // Set while the Info page rewrites the band lines.
  bool FReportRefresh = false;
  // Set while a band is shown in the edits: their changes store nothing.
  bool FShowingBand = false;

  QTabWidget* FPages;
  // Basic
  QComboBox* FMethodsBox;
  QComboBox* FSpectrumTypeBox;
  QComboBox* FWindowBox;
  TMtxFloatEdit* FSidelobeAttBox;
  QComboBox* FZeroPaddingBox;
  QComboBox* FIntegrationBox;
  QCheckBox* FRemoveDCBox;
  QCheckBox* FLogarithmicBox;
  QComboBox* FLogSpanBox;
  QComboBox* FLogScaleBox;
  QCheckBox* FConjugateExtendBox;
  QCheckBox* FFlipBox;
  TMtxFloatEdit* FAROrderEdit;
  TMtxFloatEdit* FScaleFactorEdit;
  TMtxFloatEdit* FRotationEdit;
  TMtxFloatEdit* FCZTStartEdit;
  TMtxFloatEdit* FCZTEndEdit;
  TMtxFloatEdit* FCZTStepEdit;
  // Averaging
  QComboBox* FAveragingTypeBox;
  TMtxFloatEdit* FAveragesEdit;
  TMtxFloatEdit* FExpDecayBox;
  QCheckBox* FStdDevBox;
  QPushButton* FResetButton;
  QLabel* FAveragesMadeLabel;
  // Peaks
  QComboBox* FPeakTraceBox;
  TMtxFloatEdit* FLargestEdit;
  TMtxFloatEdit* FToleranceEdit;
  TMtxFloatEdit* FHarmonicsEdit;
  QComboBox* FInterpolationBox;
  QComboBox* FInterpolationPrecisionBox;
  QCheckBox* FTracedHarmonicsBox;
  QCheckBox* FFullBWBox;
  TMtxFloatEdit* FBandwidthLEdit;
  TMtxFloatEdit* FBandwidthHEdit;
  TMtxFloatEdit* FTraceIntervalEdit;
  QPushButton* FUpdatePeaksButton;
  // Order
  TMtxFloatEdit* FOrderEdit;
  QComboBox* FOrderTracingEdit;
  TMtxFloatEdit* FOrderPeakNumber;
  QCheckBox* FOrderActiveBox;
  TMtxFloatEdit* FCZTRStartEdit;
  TMtxFloatEdit* FCZTRStopEdit;
  // Phase
  QComboBox* FPhaseModeBox;
  QComboBox* FPhaseUnitsBox;
  QComboBox* FPhaseRangeBox;
  QCheckBox* FUnwrapPhaseBox;
  QComboBox* FRunningPhaseBox;
  // Bands
  QComboBox* FTemplateCombo;
  QPushButton* FNewButton;
  QPushButton* FDeleteTemplateButton;
  QPushButton* FSaveAsButton;
  TMtxGridView* FBandsBox;
  QPushButton* FAddSignalButton;
  QPushButton* FDeleteBandButton;
  TMtxFloatEdit* FStartTransEdit;
  TMtxFloatEdit* FStartEdit;
  TMtxFloatEdit* FEndEdit;
  TMtxFloatEdit* FEndTransEdit;
  std::vector<QLabel*> FHzLabels;
  QComboBox* FReferenceBox;
  QLabel* FPeakNumberLabel;
  TMtxFloatEdit* FBandsPeakNumberEdit;
  QCheckBox* FBandsRMSBox;
  // Info
  QLabel* FMessageLabel;
  QLabel* FFSLabel;
  QLabel* FNyquistLabel;
  QLabel* FSamplesAnaLabel;
  QLabel* FSignalLenLabel;
  QLabel* FFreqResLabel;
  QLabel* FFreqBinSpaceLabel;
  QLabel* FFreqBinsLabel;
  QLabel* FAveragesMade;
  QCheckBox* FTHDBox;
  QCheckBox* FNFBox;
  QCheckBox* FSFDRBox;
  QCheckBox* FSNRBox;
  QCheckBox* FRMSBox;
  QCheckBox* FSINADBox;
  QCheckBox* FTHDNBox;
  // Report
  std::vector<QCheckBox*> FIncludeBoxes;  // by TSpectrumReportItems
  QLineEdit* FFreqFormatEdit;
  QLineEdit* FAmpltFormatEdit;
  QLineEdit* FPhaseFormatEdit;
  QPushButton* FReportButton;
};

// Registers the form with the form registry under "TSpectrumAnaForm", the
// name a spectrum analyser gives its editor, and takes it out again.
void RegisterSpectrumAnaForm();
void UnregisterSpectrumAnaForm();

}  // namespace analysis_ui

// TFIRDesignForm: the parameter window of a signal filter, caption "Filter
// design", opened by a component dialog by the name the filter gives its
// editor ("TFIRDesignForm"). Its pages:
// - Parameters: the response, the FIR and IIR methods, the window, the
//   length and order, the wavelet;
// - Designer: the band templates of the filter, one line per band of the
//   current template, and the edits of the selected band;
// - Processing: the up and down factors and delays of the FIR kinds.
// Only the controls the chosen response uses are shown or enabled, and the
// Designer page only for the responses that have bands.
//
// Each control writes one property of the filter. While Live is on the
// filter is designed at once after each change of a response it can design
// live (not the integrators and double kinds, the wavelet and the integer
// delay: "Update" designs those), and the designed length and order are
// shown. The bands of the responses that need them are checked at every
// change: the verdict ("Filter is OK!", or which band is wrong) shows for
// three seconds, and bands that do not pass are never designed. A design
// that failed shows its message below the pages until one succeeds.
//
// A band's start and end stay in order: typing one past the other moves the
// other along. A band edit commits when it is left or Enter is pressed, and
// at every change while Live is on.
//
// Tested by: analysis_ui/tests/FIRDesignTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "analysis_ui/ComponentEditorForm.h"
#include "signal/SignalFilter.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTimer;
class QTreeWidgetItem;

namespace analysis_ui {

class TMtxFloatEdit;
class TMtxGridView;

class TFIRDesignForm : public TComponentEditorForm {
 public:
  explicit TFIRDesignForm(QWidget* owner = nullptr);
  ~TFIRDesignForm() override;

  // properties
  // The number format of the band edges in the band list ("0.000"); takes
  // effect when the lines are written next.
  const std::string& FormatFloatHz() const { return FFormatFloatHz; }
  void SetFormatFloatHz(const std::string& Value) { FFormatFloatHz = Value; }
  sig::TSignalFilter* Filter() const { return static_cast<sig::TSignalFilter*>(Component()); }

  // operations
  // Checks the bands of the current template and shows the verdict for
  // three seconds; returns the check's code (0: the bands are fine).
  std::int32_t VerifyBands();

  // overrides
  // Checks the bands of the responses that need them; while Live is on and
  // the form is Ready, designs a response that may be designed now.
  void ApplyChange() override;

 protected:
  void FillControls() override;
  // The band lines again (the filter's template may have changed) and the
  // design's message.
  void DisplayUpdate() override;
  // The band template chosen in the combo box becomes the filter's.
  void KeepChanges() override;
  // The band templates reload their current one.
  void AfterClose() override;
  // Designs whatever the response, and shows the designed length and order.
  void UpdateClick() override;
  // A load of settings may keep the filter templates there before.
  sig::TStreamTemplates* AppendableTemplates() const override;
  std::string AppendTemplatesQuestion() const override { return "Append existing filter templates?"; }

 private:
  // Building the pages (FIRDesignPages.cpp).
  void CreateParametersPage(QWidget* Page);
  void CreateDesignerPage(QWidget* Page);
  void CreateProcessingPage(QWidget* Page);

  // The parameters (FIRDesignForm.cpp).
  void ConnectHandlers();
  // Runs Body when the form is Ready; a failure is reported.
  void OnChange(QComboBox* Box, void (TFIRDesignForm::*Body)());
  void OnChange(QCheckBox* Box, void (TFIRDesignForm::*Body)());
  void OnChange(TMtxFloatEdit* Edit, void (TFIRDesignForm::*Body)());
  // Runs Body with the form not Ready: what it shows writes nothing back.
  // The pages and controls of the response.
  void ResponseLayout();
  void FirMethodLayout();
  // Which of the length, beta and ignore-attenuation fields a FIR kind uses.
  void WindowLayout();
  void AutoOrderLayout();
  void IirMethodLayout();
  void WaveletLayout();
  void LabelsFollowEdits();
  // The length and order the last design gave.
  void ShowDesignedSize();
  // The order and the delays as the user left them: a length or a factor
  // being typed passes through smaller values ("1" on the way to "15"),
  // which the filter would hold them within.
  void KeepDependents();
  void ShowDesignError();
  void ResponseBoxChange();
  void FirMethodEditChange();
  void WindowEditChange();
  void AutoLengthBoxClick();
  void AutoOrderboxClick();
  void IirMethodEditChange();
  void IirFrequencyTransformBoxChange();
  void WavltEditChange();
  void WavltDecompEditChange();
  void WavltEdit1Change();
  void WavltEdit2Change();
  void GridDensityEditChange();
  void NormalizedFrequencyEditChange();
  void NormalizationBoxClick();
  void FirLengthEditChange();
  void PolyOrderEditChange();
  void BetaEditChange();
  void IgnoreAttBoxClick();
  void DownFactorEditChange();
  void DownDelayEditChange();
  void UpFactorEditChange();
  void UpDelayEditChange();
  void ViewFilterClick();

  // The Designer page (FIRDesignBands.cpp).
  void ConnectBands();
  void FillBands();
  // The band edits take input only while a band is selected.
  void BandEditsLayout();
  // Record LineIndex into the edits (all but Except) and into its line.
  void ShowBand(std::int32_t LineIndex, QTreeWidgetItem* Item, const QObject* Except = nullptr);
  void WriteBandLine(std::int32_t LineIndex, QTreeWidgetItem* Item);
  // The edits into record LineIndex; Sender the control that changed.
  void StoreBand(const QObject* Sender, std::int32_t LineIndex, QTreeWidgetItem* Item);
  // The selected band from Sender: stored, designed while Live is on, shown
  // again. Typing (Final false) leaves the field typed in as it is.
  void CommitBand(const QObject* Sender, bool Final);
  // The gain and the attenuation bounds of the band type chosen.
  void PassStopLayout();
  void AddBandClick();
  void VerifyClick();
  void ChangeHzFormat();
  void BandsDataIsDirty();
  void Timer1Timer();

  std::string FFormatFloatHz = "0.000";
  std::int32_t FOrderKept = 0;
  std::int32_t FDownDelayKept = 0;
  std::int32_t FUpDelayKept = 0;
  // The band just appended while the list defines its line; -1 otherwise.
  std::int32_t FNewBand = -1;

  QTabWidget* FPages;
  QWidget* FParametersPage;
  QWidget* FDesignerPage;
  QWidget* FProcessingPage;
  QLabel* FErrorLabel;
  QAction* FViewFilterItem;
  QTimer* FTimer1;
  // Parameters
  QComboBox* FResponseBox;
  QComboBox* FFirMethodEdit;
  TMtxFloatEdit* FGridDensityEdit;
  QLabel* FGridLabel;
  TMtxFloatEdit* FNormalizedFrequencyEdit;
  TMtxFloatEdit* FFirLengthEdit;
  QLabel* FLengthLabel;
  QCheckBox* FAutoLengthBox;
  TMtxFloatEdit* FPolyOrderEdit;
  QLabel* FPolyLabel;
  QComboBox* FIirMethodEdit;
  QComboBox* FIirFrequencyTransformBox;
  QCheckBox* FAutoOrderbox;
  QComboBox* FWindowEdit;
  TMtxFloatEdit* FBetaEdit;
  QCheckBox* FIgnoreAttBox;
  QComboBox* FWavltEdit;
  QComboBox* FWavltDecompEdit;
  QLabel* FWavltDecompLabel;
  TMtxFloatEdit* FWavltEdit1;
  QLabel* FWavltLabel1;
  TMtxFloatEdit* FWavltEdit2;
  QLabel* FWavltLabel2;
  // Designer
  QComboBox* FTemplateCombo;
  QPushButton* FNewButton;
  QPushButton* FDeleteTemplateButton;
  QPushButton* FSaveAsButton;
  QPushButton* FAddBandButton;
  QPushButton* FDeleteBandButton;
  QPushButton* FSpeedButton1;
  QLabel* FFilterLabel;
  TMtxGridView* FBandsBox;
  TMtxFloatEdit* FBandStartEdit;
  TMtxFloatEdit* FBandEndEdit;
  TMtxFloatEdit* FAttRippleEdit;
  TMtxFloatEdit* FGainEdit;
  QComboBox* FPassStopBox;
  QCheckBox* FNormalizationBox;
  // Processing
  TMtxFloatEdit* FDownFactorEdit;
  TMtxFloatEdit* FDownDelayEdit;
  TMtxFloatEdit* FUpFactorEdit;
  TMtxFloatEdit* FUpDelayEdit;
};

// Registers the form with the form registry under "TFIRDesignForm", the
// name a signal filter gives its editor, and takes it out again.
void RegisterFIRDesignForm();
void UnregisterFIRDesignForm();

}  // namespace analysis_ui

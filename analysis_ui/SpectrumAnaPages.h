// The pages that the parameter windows of the spectrum analysers share (the
// spectrum, cross-spectrum and bispectrum windows build theirs from them):
// spectrum parameters, averaging, peaks, frequency band templates, order
// tracking, phase, the Info page with its spectrum measures and the Report
// page; a load of settings may keep the band templates there before.
//
// A window builds the pages and rows it shows, in its own order; every
// builder creates its controls under the names the windows give them and
// binds each to the analyser property it writes. A control a window does
// not build is simply absent: filling, the enabled states and the Info
// refresh pass over it. Each property handler ends with ApplyChange (the
// live recomputation); the report's items and formats, the Reset and
// "Update peaks" buttons do not recompute.
//
// Lists that offer only some values of a property (the averaging kinds,
// order tracing) show the item of the analyser's value, and stay where they
// were for a value they do not offer.
//
// A band's edges are committed when its field is left or Enter is pressed
// in it: the edited edge stays and the others move to keep the four in
// order. While Live is on every keystroke also reaches the analyser, but as
// typed: the first digits of a number must not push the other edges away.
// The band edits are enabled exactly while a band is selected.
//
// Tested by: analysis_ui/tests/SpectrumAnaTest.cpp,
// analysis_ui/tests/CrossSpectrumAnaTest.cpp,
// analysis_ui/tests/BiSpectrumAnaTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "analysis_ui/ComponentEditorForm.h"
#include "signal/SpectrumAnalyzer.h"
#include "signal/SpectrumPeaks.h"
#include "signal/SpectrumReport.h"
#include "signal/SpectrumStats.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidgetItem;

namespace analysis_ui {

class TMtxFloatEdit;
class TMtxGridView;

class TSpectrumPagesForm : public TComponentEditorForm {
 public:
  // With LabelsNamedAfterControls a row's caption label is named after its
  // control with "Label" appended and its unit with "Unit"; otherwise they
  // carry the row's own names.
  explicit TSpectrumPagesForm(QWidget* owner = nullptr, bool LabelsNamedAfterControls = false);

  // The analyser in Tag (nullptr before the form is filled).
  sig::TSpectrumAnalyzer* Spectrum() const { return dynamic_cast<sig::TSpectrumAnalyzer*>(Component()); }

  // properties
  // The number format of the band RMS values in the band list ("0.000").
  const std::string& FormatFloatRMS() const { return FFormatFloatRMS; }
  void SetFormatFloatRMS(const std::string& Value) { FFormatFloatRMS = Value; }

  // operations
  // The Info page's refresh (the analyser's display handler while the form
  // is open): averages made, the checked measures, the message, the timing,
  // and the RMS values of the band lines.
  void BuildReport();

 protected:
  // One check box of the Report page and the report item it switches.
  struct TReportBox {
    const char* Name;
    const char* Caption;
    sig::TSpectrumReportItems Item;
    QCheckBox* Box = nullptr;
  };

  // What the peaks page offers besides its common controls.
  struct TPeaksOptions {
    // The interpolation group.
    bool Interpolation = false;
    // "Tolerance:", shown but not for editing: it has no setting of its own.
    bool Tolerance = false;
    // Peak trace "All" can be chosen: it keeps the analyser's trace method.
    // Otherwise it is shown disabled.
    bool TraceAll = false;
  };

  QTabWidget* Pages() const { return FPages; }
  // A new page of the page control.
  QWidget* AddPage(const char* Name, const QString& Caption);
  // A caption label (LabelName, unless the labels are named after their
  // controls), the control and, when given, a unit, in the next row of Grid;
  // returns the label.
  QLabel* AddRow(QGridLayout* Grid, QWidget* Parent, const char* LabelName, const QString& Caption, QWidget* Control,
                 const QString& Unit = QString());

  // Rows of the spectrum parameters, each added to the next row of Grid.
  void AddSpectrumTypeRow(QGridLayout* Grid, QWidget* Parent);
  void AddWindowRows(QGridLayout* Grid, QWidget* Parent);
  void AddZeroPaddingRow(QGridLayout* Grid, QWidget* Parent);
  void AddIntegrationRow(QGridLayout* Grid, QWidget* Parent);
  void AddScaleFactorRow(QGridLayout* Grid, QWidget* Parent);
  // "Logarithmic" with its span and scale.
  void AddLogarithmicRows(QGridLayout* Grid, QWidget* Parent);
  // CZT start, stop and step.
  void AddCZTRows(QGridLayout* Grid, QWidget* Parent);
  // "Remove DC", "Conjugate extend", "Conjugate flip".
  QCheckBox* AddRemoveDCRow(QGridLayout* Grid, QWidget* Parent);
  void AddConjugateRows(QGridLayout* Grid, QWidget* Parent);

  // A Basic page of two columns: in the left one FirstRows, the spectrum
  // type, window, zero padding, integration, scale factor and LastRows; in
  // the right one "Remove DC", the conjugate, logarithmic and chirp-z rows.
  // The callbacks add the window's own rows to the grid they are given.
  void BuildBasicPage(QWidget* Page, const std::function<void(QGridLayout*)>& FirstRows,
                      const std::function<void(QGridLayout*)>& LastRows);
  // The chirp-z frequency rows enabled with their labels.
  void EnableCZTRows(bool Value);

  // The averaging controls: the list of the averaging kinds (all seven with
  // AllKinds, else linear infinite, exponential infinite and linear finite),
  // the number of averages, the decay factor, with AllKinds "Compute
  // standard deviation", the averages made and "Reset".
  void BuildAveragingControls(QGridLayout* Grid, QWidget* Parent, bool AllKinds = false);
  // A page of the averaging controls alone.
  void BuildAveragingPage(QWidget* Page, bool AllKinds = false);
  // Peak trace, largest peaks, harmonics, the bandwidth selection and
  // "Update peaks", with what Options add.
  void BuildPeaksPage(QWidget* Page, const TPeaksOptions& Options);
  // The band templates, the band list and the edits of the selected band.
  void BuildBandsPage(QWidget* Page);
  // Order frequency, tracing (none, n'th peak, largest; with AllTracings
  // also first peak), peak number and "Active"; with ChirpZ also the chirp-z
  // radii.
  void BuildOrderPage(QWidget* Page, bool ChirpZ, bool AllTracings = false);
  void BuildPhasePage(QWidget* Page);
  // The timing labels; with Statistics also the measures' boxes and the
  // message label.
  void BuildInfoPage(QWidget* Page, bool Statistics);
  // The report's items offered by Boxes, its three formats and "Copy to
  // clipboard".
  void BuildReportPage(QWidget* Page, std::vector<TReportBox> Boxes);
  // Every item of the report, in the order of its items.
  static std::vector<TReportBox> AllReportBoxes();

  // Connects a control to a handler that runs while the form is Ready and
  // has an analyser, followed by ApplyChange when Apply.
  void Bind(QComboBox* Box, std::function<void(int)> Changed, bool Apply = true);
  void Bind(TMtxFloatEdit* Edit, std::function<void()> Changed, bool Apply = true);
  void Bind(QCheckBox* Box, std::function<void(bool)> Changed, bool Apply = true);

  // Enables a control with its label (the one whose buddy it is) and unit.
  void EnableWithLabel(QWidget* Control, bool Value) const;
  QCheckBox* RemoveDCBox() const { return FRemoveDCBox; }

  // Fills every control the form built; runs the enabled-state rules.
  void FillControls() override;
  void DisplayUpdate() override { BuildReport(); }
  // The band template chosen in the list becomes the analyser's current one.
  void KeepChanges() override;
  // The band templates reload their current template.
  void AfterClose() override;
  // The enabled states that follow the analyser's settings.
  virtual void RunLayouts();
  // A load of settings may keep the band templates there before.
  sig::TStreamTemplates* AppendableTemplates() const override;
  std::string AppendTemplatesQuestion() const override { return "Append existing bands templates?"; }

 private:
  void WindowLayout();
  void LogarithmicLayout();
  void AveragingLayout();
  void PeakTraceLayout();
  void FullBandwidthLayout();
  void InterpolationLayout();
  void PhaseModeLayout();
  void UnwrapPhaseLayout();
  // A CZT frequency edit changed: the other end follows the analyser when it
  // moved it.
  void CZTFrequencyChanged(TMtxFloatEdit* Edit, TMtxFloatEdit* Other, bool Start);

  // The bands: the edits of band LineIndex (all but Typing), and the band
  // from the edits: the field of Sender, with Order the other frequencies
  // moved to keep the edges in order, and the band's other fields.
  void ShowBand(std::int32_t LineIndex, QTreeWidgetItem* Item, const QObject* Typing = nullptr);
  void StoreBand(QObject* Sender, std::int32_t LineIndex, bool Order);
  void WriteBandLine(std::int32_t LineIndex, QTreeWidgetItem* Item);
  // A band edit changed (Commit false: only while Live) or was left.
  void BandEditChanged(QObject* Sender, bool Commit);
  void ReferenceLayout();
  // The band edits with their labels.
  void EnableBandEdits(bool Value);
  void FillBands();
  void AddBandClick();
  void BandsDoubleClick();

  void ReportButtonClick();

  std::string FFormatFloatRMS = "0.000";
  // Set while the Info refresh rewrites the band lines.
  bool FReportRefresh = false;
  bool FLabelsNamedAfterControls;
  QTabWidget* FPages;
  // The unit label of each control that has one.
  std::map<const QWidget*, QLabel*> FUnits;

  // Spectrum parameters.
  QComboBox* FSpectrumTypeBox = nullptr;
  QComboBox* FWindowBox = nullptr;
  TMtxFloatEdit* FSidelobeAttBox = nullptr;
  QComboBox* FZeroPaddingBox = nullptr;
  QComboBox* FIntegrationBox = nullptr;
  TMtxFloatEdit* FScaleFactorEdit = nullptr;
  QCheckBox* FRemoveDCBox = nullptr;
  QCheckBox* FLogarithmicBox = nullptr;
  QComboBox* FLogSpanBox = nullptr;
  QComboBox* FLogScaleBox = nullptr;
  QCheckBox* FConjugateExtendBox = nullptr;
  QCheckBox* FFlipBox = nullptr;
  TMtxFloatEdit* FCZTStartEdit = nullptr;
  TMtxFloatEdit* FCZTEndEdit = nullptr;
  TMtxFloatEdit* FCZTStepEdit = nullptr;
  // Averaging.
  QComboBox* FAveragingTypeBox = nullptr;
  // The averaging kind of each item of the list.
  std::vector<sig::TAveraging> FAveragingKinds;
  TMtxFloatEdit* FAveragesEdit = nullptr;
  TMtxFloatEdit* FExpDecayBox = nullptr;
  QCheckBox* FStdDevBox = nullptr;
  QLabel* FAveragesMadeLabel = nullptr;
  // Peaks.
  TMtxFloatEdit* FLargestEdit = nullptr;
  TMtxFloatEdit* FToleranceEdit = nullptr;
  TMtxFloatEdit* FHarmonicsEdit = nullptr;
  QComboBox* FPeakTraceBox = nullptr;
  QComboBox* FInterpolationBox = nullptr;
  QComboBox* FInterpolationPrecisionBox = nullptr;
  QCheckBox* FTracedHarmonicsBox = nullptr;
  QCheckBox* FFullBWBox = nullptr;
  TMtxFloatEdit* FBandwidthLEdit = nullptr;
  TMtxFloatEdit* FBandwidthHEdit = nullptr;
  TMtxFloatEdit* FTraceIntervalEdit = nullptr;
  // Bands.
  QComboBox* FTemplateCombo = nullptr;
  TMtxGridView* FBandsBox = nullptr;
  TMtxFloatEdit* FStartTransEdit = nullptr;
  TMtxFloatEdit* FStartEdit = nullptr;
  TMtxFloatEdit* FEndEdit = nullptr;
  TMtxFloatEdit* FEndTransEdit = nullptr;
  QComboBox* FReferenceBox = nullptr;
  QLabel* FPeakNumberLabel = nullptr;
  TMtxFloatEdit* FBandsPeakNumberEdit = nullptr;
  QCheckBox* FBandsRMSBox = nullptr;
  std::vector<QLabel*> FHzLabels;
  // Order.
  TMtxFloatEdit* FOrderEdit = nullptr;
  QComboBox* FOrderTracingEdit = nullptr;
  // The order tracing of each item of the list.
  std::vector<sig::TOrderTracing> FOrderTracings;
  TMtxFloatEdit* FOrderPeakNumber = nullptr;
  QCheckBox* FOrderActiveBox = nullptr;
  TMtxFloatEdit* FCZTRStartEdit = nullptr;
  TMtxFloatEdit* FCZTRStopEdit = nullptr;
  // Phase.
  QComboBox* FPhaseModeBox = nullptr;
  QComboBox* FPhaseUnitsBox = nullptr;
  QComboBox* FPhaseRangeBox = nullptr;
  QCheckBox* FUnwrapPhaseBox = nullptr;
  QComboBox* FRunningPhaseBox = nullptr;
  // Info.
  QLabel* FMessageLabel = nullptr;
  QLabel* FFSLabel = nullptr;
  QLabel* FNyquistLabel = nullptr;
  QLabel* FSamplesAnaLabel = nullptr;
  QLabel* FSignalLenLabel = nullptr;
  QLabel* FFreqResLabel = nullptr;
  QLabel* FFreqBinSpaceLabel = nullptr;
  QLabel* FFreqBinsLabel = nullptr;
  QLabel* FAveragesMade = nullptr;
  struct TMeasureBox {
    QCheckBox* Box;
    const char* Name;
    // The measure, its number format (empty: 7 significant digits) and unit.
    std::function<double(sig::TSpectrumAnalyzer&)> Measure;
    const char* Format;
    const char* Unit;
  };
  std::vector<TMeasureBox> FMeasureBoxes;
  // Report.
  std::vector<TReportBox> FReportBoxes;
  QLineEdit* FFreqFormatEdit = nullptr;
  QLineEdit* FAmpltFormatEdit = nullptr;
  QLineEdit* FPhaseFormatEdit = nullptr;
};

}  // namespace analysis_ui

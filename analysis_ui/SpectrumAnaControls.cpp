// The spectrum analyser form's pages: its controls, their captions, items,
// hints, formats and bounds, and where they sit.
//
// A control's caption label is named after it with "Label" appended, its
// unit label with "Unit", so that an enable rule can reach both.
//
// Tested by: analysis_ui/tests/SpectrumAnaTest.cpp
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <initializer_list>

#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/MtxGridView.h"
#include "analysis_ui/SpectrumAna.h"

namespace analysis_ui {

namespace {

// The number formats of the form's fields.
constexpr const char* IntegerFormat = "0";
constexpr const char* ValueFormat = "0.00##";
constexpr const char* FrequencyFormat = "0.########";

QComboBox* NewCombo(QWidget* parent, const char* name, std::initializer_list<const char*> items) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  for (const char* item : items) box->addItem(item);
  return box;
}

QCheckBox* NewCheck(QWidget* parent, const char* name, const char* caption, const char* hint = nullptr) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  if (hint != nullptr) box->setToolTip(hint);
  return box;
}

QPushButton* NewButton(QWidget* parent, const char* name, const char* caption, const char* hint = nullptr) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  // Enter belongs to the fields (a band edit commits on it), never to a button.
  button->setAutoDefault(false);
  if (hint != nullptr) button->setToolTip(hint);
  return button;
}

// A whole-number field steps by 1 and shows no decimals.
TMtxFloatEdit* NewEdit(QWidget* parent, const char* name, const char* format, const char* min = nullptr,
                       const char* max = nullptr) {
  auto* edit = new TMtxFloatEdit(parent);
  edit->setObjectName(name);
  edit->SetReFormat(format);
  if (std::string(format) == IntegerFormat) {
    edit->SetIntegerIncrement(true);
    edit->SetIncrement("1");
  }
  if (min != nullptr) edit->SetMinValue(min);
  if (max != nullptr) edit->SetMaxValue(max);
  return edit;
}

QLabel* NewLabel(QWidget* parent, const QString& name, const char* caption) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  return label;
}

// Rows of caption, control and unit in a grid of column groups.
class TRows {
 public:
  explicit TRows(QWidget* page) : FPage(page), FGrid(new QGridLayout(page)) {
    FGrid->setHorizontalSpacing(6);
    FGrid->setVerticalSpacing(4);
  }
  QGridLayout* Grid() const { return FGrid; }
  // The next rows go into column group Group, from its first row.
  TRows& Group(int group) {
    FGroup = group;
    FRow = 0;
    return *this;
  }
  template <class T>
  T* Add(T* control, const char* caption, const char* unit = nullptr) {
    const int col = FGroup * 4;
    if (caption != nullptr) {
      QLabel* label = NewLabel(FPage, control->objectName() + "Label", caption);
      label->setBuddy(control);
      FGrid->addWidget(label, FRow, col);
    }
    FGrid->addWidget(control, FRow, col + 1);
    if (unit != nullptr) FGrid->addWidget(NewLabel(FPage, control->objectName() + "Unit", unit), FRow, col + 2);
    ++FRow;
    return control;
  }
  // A control over the caption's and the control's columns.
  template <class T>
  T* Wide(T* control) {
    FGrid->addWidget(control, FRow++, FGroup * 4, 1, 3);
    return control;
  }
  // Ends the page: the rest of its room stays empty.
  void Finish() {
    FGrid->setRowStretch(FGrid->rowCount(), 1);
    FGrid->setColumnStretch(3, 1);
    FGrid->setColumnStretch(7, 1);
  }

 private:
  QWidget* FPage;
  QGridLayout* FGrid;
  int FGroup = 0;
  int FRow = 0;
};

}  // namespace

void TSpectrumAnaForm::CreateBasicPage(QWidget* p) {
  TRows rows(p);
  FMethodsBox = rows.Add(NewCombo(p, "MethodsBox",
                                  {"FFT", "YuleWalker", "Burg", "Covariance", "Modified Cov", "CZT", "Real cepstrum"}),
                         "Method:");
  FMethodsBox->setToolTip("Method used to calculate the frequency spectrum");
  FSpectrumTypeBox =
      rows.Add(NewCombo(p, "SpectrumTypeBox", {"Amplt", "RMS", "Power", "PeakPeak", "Complex"}), "Spectrum type:");
  FWindowBox = rows.Add(NewCombo(p, "WindowBox",
                                 {"Rectangular", "Hanning", "Hamming", "FlatTop", "Bartlet", "Blackman",
                                  "BlackmanHarris", "BlackmanExact", "CosineTappered", "Kaiser", "Chebyshev",
                                  "Exponent"}),
                        "Window:");
  // The bounds the analyser holds the attenuation within.
  FSidelobeAttBox = rows.Add(NewEdit(p, "SidelobeAttBox", ValueFormat, "13", "300"), "Sidelobe atten.:", "[dB]");
  FZeroPaddingBox = rows.Add(NewCombo(p, "ZeroPaddingBox", {"1", "2", "4", "8", "16", "32", "64"}), "Zero padding:");
  FZeroPaddingBox->setToolTip("Define FFT interpolation factor for higher amplitude and frequency accuracy");
  FIntegrationBox = rows.Add(NewCombo(p, "IntegrationBox",
                                      {"None", "Integrate once", "Integrate twice", "Differentiate once",
                                       "Differentiate twice"}),
                             "Integration:");
  FLogSpanBox = rows.Add(NewCombo(p, "LogSpanBox", {"30", "45", "60", "90", "120", "150", "200", "350"}),
                         "Logarithmic span:", "[dB]");
  FLogScaleBox = rows.Add(NewCombo(p, "LogScaleBox", {"Absolute", "Relative"}), "Logarithmic scale:");

  rows.Group(1);
  FAROrderEdit = rows.Add(NewEdit(p, "AROrderEdit", IntegerFormat, "1", "1000000"), "AR order:");
  FScaleFactorEdit = rows.Add(NewEdit(p, "ScaleFactorEdit", ValueFormat), "Scale factor:");
  FRotationEdit = rows.Add(NewEdit(p, "RotationEdit", IntegerFormat), "Rotation");
  FRotationEdit->setToolTip("Before applying FFT, the time signal can be circularly rotated by specified number of samples.");
  FCZTStartEdit = rows.Add(NewEdit(p, "CZTStartEdit", FrequencyFormat), "CZT start:");
  FCZTEndEdit = rows.Add(NewEdit(p, "CZTEndEdit", FrequencyFormat), "CZT stop:");
  FCZTStepEdit = rows.Add(NewEdit(p, "CZTStepEdit", FrequencyFormat), "CZT step:");
  FRemoveDCBox = rows.Wide(NewCheck(p, "RemoveDCBox", "Remove DC"));
  FLogarithmicBox = rows.Wide(NewCheck(p, "LogarithmicBox", "Logarithmic"));
  FConjugateExtendBox = rows.Wide(NewCheck(p, "ConjugateExtendBox", "Conjugate extend"));
  FFlipBox = rows.Wide(NewCheck(p, "FlipBox", "Conjugate flip"));
  rows.Finish();
}

void TSpectrumAnaForm::CreateAveragingPage(QWidget* p) {
  TRows rows(p);
  FAveragingTypeBox = rows.Add(NewCombo(p, "AveragingTypeBox",
                                        {"None", "Linear infinite", "Exponential Infinite", "Linear finite",
                                         "Peak-hold", "Peak-hold infinite", "Peak and decay"}),
                               "Averaging type:");
  FAveragesEdit = rows.Add(NewEdit(p, "AveragesEdit", IntegerFormat, "1", "1000000000"), "Number of averages to take:");
  FExpDecayBox = rows.Add(NewEdit(p, "ExpDecayBox", IntegerFormat, "1", "1000000000"), "Exponential decay factor:");
  FStdDevBox = rows.Wide(NewCheck(p, "StdDevBox", "Compute standard deviation"));
  FAveragesMadeLabel = rows.Wide(NewLabel(p, "AveragesMadeLabel", "Averages made: 0"));
  FResetButton = NewButton(p, "ResetButton", "Reset");
  rows.Grid()->addWidget(FResetButton, rows.Grid()->rowCount(), 1, Qt::AlignLeft);
  rows.Finish();
}

void TSpectrumAnaForm::CreatePeaksPage(QWidget* p) {
  TRows rows(p);
  FPeakTraceBox = rows.Add(NewCombo(p, "PeakTraceBox",
                                    {"None", "Current", "Largest", "Amplt harmonics", "Freq harmonics", "All"}),
                           "Peak trace:");
  FLargestEdit = rows.Add(NewEdit(p, "LargestEdit", IntegerFormat, "0", "1000000"), "Largest peaks:");
  FToleranceEdit = rows.Add(NewEdit(p, "MtxFloatEdit4", ValueFormat), "Tolerance:", "%");
  FHarmonicsEdit = rows.Add(NewEdit(p, "HarmonicsEdit", IntegerFormat, "1", "100000"), "Harmonics:");
  FTraceIntervalEdit = rows.Add(NewEdit(p, "TraceIntervalEdit", ValueFormat, "0", "100"), "Trace interval:", "[%]");
  FTraceIntervalEdit->setToolTip("Amount of total bandwidth in % around the marked peak to search for its new position.");
  FUpdatePeaksButton = NewButton(p, "UpdatePeaksButton", "Update peaks");
  rows.Grid()->addWidget(FUpdatePeaksButton, rows.Grid()->rowCount(), 1, Qt::AlignLeft);

  rows.Group(1);
  FInterpolationBox = rows.Add(NewCombo(p, "InterpolationBox",
                                        {"None", "Numeric", "Quadratic", "Barycentric", "Quinn's first",
                                         "Quinn's second", "Jain"}),
                               "Interpolation:");
  FInterpolationPrecisionBox =
      rows.Add(NewCombo(p, "InterpolationPrecisionBox", {"2", "4", "6", "8"}), "Interpolation precision:");
  FTracedHarmonicsBox = rows.Wide(NewCheck(p, "TracedHarmonicsBox", "Interpolate traced harmonics"));
  FFullBWBox = rows.Wide(NewCheck(p, "FullBWBox", "Use full bandwidth"));
  FBandwidthLEdit = rows.Add(NewEdit(p, "BandwidthLEdit", FrequencyFormat), "Low:", "[Hz]");
  FBandwidthHEdit = rows.Add(NewEdit(p, "BandwidthHEdit", FrequencyFormat), "High:", "[Hz]");
  rows.Finish();
}

void TSpectrumAnaForm::CreateBandsPage(QWidget* p) {
  auto* layout = new QVBoxLayout(p);
  auto* templates = new QHBoxLayout;
  FTemplateCombo = NewCombo(p, "TemplateCombo", {});
  QLabel* templatesLabel = NewLabel(p, "TemplateComboLabel", "Templates:");
  templatesLabel->setBuddy(FTemplateCombo);
  FNewButton = NewButton(p, "NewButton", "&New..", "New frequency band template...");
  FDeleteTemplateButton = NewButton(p, "DeleteTemplateButton", "&Delete", "Delete currently selected template");
  FSaveAsButton = NewButton(p, "SaveAsButton", "&Save As..", "Save template under a different name...");
  templates->addWidget(templatesLabel);
  templates->addWidget(FTemplateCombo, 1);
  for (QPushButton* b : {FNewButton, FDeleteTemplateButton, FSaveAsButton}) templates->addWidget(b);
  layout->addLayout(templates);

  auto* body = new QHBoxLayout;
  auto* list = new QVBoxLayout;
  FBandsBox = new TMtxGridView(p);
  FBandsBox->setObjectName("BandsBox");
  FBandsBox->setColumnCount(3);
  FBandsBox->setHeaderLabels({"Nr.", "Band [Hz]", "RMS"});
  FBandsBox->header()->resizeSection(0, 44);
  FBandsBox->header()->resizeSection(1, 150);
  list->addWidget(FBandsBox, 1);
  auto* lineButtons = new QHBoxLayout;
  FAddSignalButton = NewButton(p, "AddSignalButton", "&Add band");
  FDeleteBandButton = NewButton(p, "DeleteBandButton", "D&elete", "Delete selected frequency band definition");
  lineButtons->addWidget(FAddSignalButton);
  lineButtons->addWidget(FDeleteBandButton);
  lineButtons->addStretch(1);
  list->addLayout(lineButtons);
  body->addLayout(list, 3);

  auto* edits = new QWidget(p);
  edits->setObjectName("BandEditsPanel");
  TRows rows(edits);
  struct TEdge {
    const char* Name;
    const char* Caption;
    const char* Hint;
    TMtxFloatEdit** Field;
  };
  const TEdge edges[] = {
      {"StartTransEdit", "Start transition:", "Transition region start frequency", &FStartTransEdit},
      {"StartEdit", "Start:", "Constant region start frequency", &FStartEdit},
      {"EndEdit", "End:", "Transition region start frequency", &FEndEdit},
      {"EndTransEdit", "End transition:", "Transition region end frequency", &FEndTransEdit},
  };
  for (const TEdge& e : edges) {
    *e.Field = rows.Add(NewEdit(edits, e.Name, FrequencyFormat), e.Caption);
    (*e.Field)->setToolTip(e.Hint);
    QLabel* hz = NewLabel(edits, "HzLabel" + QString::number(int(FHzLabels.size()) + 1), "[Hz]");
    rows.Grid()->addWidget(hz, rows.Grid()->rowCount() - 1, 2);
    FHzLabels.push_back(hz);
  }
  FReferenceBox = rows.Add(NewCombo(edits, "ReferenceBox", {"Sampling freq.", "Nyquist freq.", "Order freq.",
                                                            "N'th peak"}),
                           "Reference:");
  FReferenceBox->setToolTip("The frequency band can be selected with a reference");
  FBandsPeakNumberEdit = NewEdit(edits, "BandsPeakNumberEdit", IntegerFormat, "0", "1000000");
  FBandsPeakNumberEdit->setToolTip(
      "If the reference of the frequency band is a selected peak, this defines the peak number.");
  FPeakNumberLabel = NewLabel(edits, "PeakNumberLabel", "Peak number:");
  FPeakNumberLabel->setBuddy(FBandsPeakNumberEdit);
  const int row = rows.Grid()->rowCount();
  rows.Grid()->addWidget(FPeakNumberLabel, row, 0);
  rows.Grid()->addWidget(FBandsPeakNumberEdit, row, 1);
  FBandsRMSBox = NewCheck(edits, "BandsRMSBox", "Adjust for spectrum type",
                          "The RMS of the frequency bands will always be the same, regardless of the spectrum "
                          "type, if checked.");
  rows.Grid()->addWidget(FBandsRMSBox, row + 1, 0, 1, 3);
  rows.Grid()->setRowStretch(row + 2, 1);
  body->addWidget(edits, 2);
  layout->addLayout(body, 1);
}

void TSpectrumAnaForm::CreateOrderPage(QWidget* p) {
  TRows rows(p);
  FOrderEdit = rows.Add(NewEdit(p, "OrderEdit", FrequencyFormat), "Frequency:");
  FOrderTracingEdit =
      rows.Add(NewCombo(p, "OrderTracingEdit", {"None", "First peak", "N'th peak", "Largest peak"}), "Tracing:");
  FOrderPeakNumber = rows.Add(NewEdit(p, "OrderPeakNumber", IntegerFormat, "1", "1000000"), "Peak number:");
  FOrderActiveBox = rows.Wide(NewCheck(p, "OrderActiveBox", "Active"));
  rows.Group(1);
  FCZTRStartEdit = rows.Add(NewEdit(p, "CZTRStartEdit", ValueFormat), "Start radius:");
  FCZTRStopEdit = rows.Add(NewEdit(p, "CZTRStopEdit", ValueFormat), "Stop radius:");
  rows.Finish();
}

void TSpectrumAnaForm::CreatePhasePage(QWidget* p) {
  TRows rows(p);
  FPhaseModeBox =
      rows.Add(NewCombo(p, "PhaseModeBox", {"Ignore", "Default", "Phase delay", "Group delay"}), "Mode:");
  FPhaseUnitsBox = rows.Add(NewCombo(p, "PhaseUnitsBox", {"Radians", "Degrees"}), "Units:");
  FPhaseRangeBox = rows.Add(NewCombo(p, "PhaseRangeBox", {"-Pi ... +Pi", "0 ... 2*Pi"}), "Range:");
  FUnwrapPhaseBox = rows.Wide(NewCheck(p, "UnwrapPhaseBox", "Unwrap phase"));
  FRunningPhaseBox = rows.Add(
      NewCombo(p, "RunningPhaseBox", {"Default", "Constant phase", "Integer lag", "Partial"}), "Running:");
  rows.Finish();
}

void TSpectrumAnaForm::CreateInfoPage(QWidget* p) {
  auto* layout = new QVBoxLayout(p);
  FMessageLabel = NewLabel(p, "MessageLabel", "Message");
  FMessageLabel->setStyleSheet("color: #a00000;");
  layout->addWidget(FMessageLabel);
  auto* groups = new QHBoxLayout;
  auto* general = new QGroupBox("General", p);
  general->setObjectName("GeneralGroup");
  auto* generalLayout = new QVBoxLayout(general);
  for (auto [field, name] : {std::pair{&FFSLabel, "FSLabel"}, std::pair{&FNyquistLabel, "NyquistLabel"},
                             std::pair{&FSamplesAnaLabel, "SamplesAnaLabel"},
                             std::pair{&FSignalLenLabel, "SignalLenLabel"}, std::pair{&FFreqResLabel, "FreqResLabel"},
                             std::pair{&FFreqBinSpaceLabel, "FreqBinSpaceLabel"},
                             std::pair{&FFreqBinsLabel, "FreqBinsLabel"}, std::pair{&FAveragesMade, "AveragesMade"}}) {
    *field = NewLabel(general, name, "");
    generalLayout->addWidget(*field);
  }
  generalLayout->addStretch(1);
  groups->addWidget(general, 3);
  auto* statistics = new QGroupBox("Statistics", p);
  statistics->setObjectName("StatisticsGroup");
  auto* statsLayout = new QVBoxLayout(statistics);
  FTHDBox = NewCheck(statistics, "THDBox", "THD", "Total harmonic distrortion");
  FNFBox = NewCheck(statistics, "NFBox", "NF", "Noise floor");
  FSFDRBox = NewCheck(statistics, "SFDRBox", "SFDR", "Spurious free dynamic range");
  FSNRBox = NewCheck(statistics, "SNRBox", "SNR", "Signal to noise ratio");
  FRMSBox = NewCheck(statistics, "RMSBOx", "RMS", "Root mean square");
  FSINADBox = NewCheck(statistics, "SINADBox", "SINAD", "Signal to noise and distortion");
  FTHDNBox = NewCheck(statistics, "THDNBox", "THDN", "Total harmonic distortion and noise");
  for (QCheckBox* box : {FTHDBox, FNFBox, FSFDRBox, FSNRBox, FRMSBox, FSINADBox, FTHDNBox}) statsLayout->addWidget(box);
  statsLayout->addStretch(1);
  groups->addWidget(statistics, 2);
  layout->addLayout(groups, 1);
}

void TSpectrumAnaForm::CreateReportPage(QWidget* p) {
  auto* layout = new QHBoxLayout(p);
  auto* include = new QGroupBox("Include:", p);
  include->setObjectName("IncludeGroup");
  auto* includeLayout = new QGridLayout(include);
  // In the order of the report's items.
  const std::pair<const char*, const char*> boxes[] = {
      {"IncludeInfoBox", "General info"}, {"IncludePeaksBox", "Marked peaks"},
      {"IncludeLinesBox", "All frequency lines"}, {"IncludePhaseBox", "Phase"},
      {"IncludeTHDBox", "THD"}, {"IncludeTHDNBox", "THDN"},
      {"IncludeNFBox", "NF"}, {"IncludeSFDRBox", "SFDR"},
      {"IncludeBandsBox", "Bands RMS"}, {"IncludeSINADBox", "SINAD"},
      {"IncludeRMSBox", "RMS"}, {"IncludeSNRBox", "SNR"},
      {"DateTimeBox", "Date/Time"},
  };
  int i = 0;
  for (const auto& [name, caption] : boxes) {
    QCheckBox* box = NewCheck(include, name, caption);
    includeLayout->addWidget(box, i % 7, i / 7);
    FIncludeBoxes.push_back(box);
    ++i;
  }
  layout->addWidget(include, 1);

  auto* right = new QVBoxLayout;
  auto* formats = new QGroupBox("Number formating", p);
  formats->setObjectName("FormatGroup");
  auto* formatLayout = new QGridLayout(formats);
  struct TFormat {
    const char* Name;
    const char* Caption;
    const char* Hint;
    QLineEdit** Field;
  };
  const TFormat fields[] = {
      {"FreqFormatEdit", "Frequency:", "Specifies number format of the frequencies: (Example: 0.##)",
       &FFreqFormatEdit},
      {"AmpltFormatEdit", "Amplitude:", "Specifies number format of the amplitudes: (Example: 0.##)",
       &FAmpltFormatEdit},
      {"PhaseFormatEdit", "Phase:", "Specifies number format of the phases: (Example: 0.##)", &FPhaseFormatEdit},
  };
  int row = 0;
  for (const TFormat& f : fields) {
    *f.Field = new QLineEdit(formats);
    (*f.Field)->setObjectName(f.Name);
    (*f.Field)->setToolTip(f.Hint);
    QLabel* label = NewLabel(formats, QString(f.Name) + "Label", f.Caption);
    label->setBuddy(*f.Field);
    formatLayout->addWidget(label, row, 0);
    formatLayout->addWidget(*f.Field, row++, 1);
  }
  right->addWidget(formats);
  FReportButton = NewButton(p, "ReportButton", "Copy to clipboard", "Create report and copy to clipboard");
  right->addWidget(FReportButton);
  right->addStretch(1);
  layout->addLayout(right, 1);
}

}  // namespace analysis_ui

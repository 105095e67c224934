// The time-signal analysis window: its pages, their handlers, the statistics
// and the report.
//
// Tested by: analysis_ui/tests/TimeAnaTest.cpp
#include "analysis_ui/TimeAna.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <string>

#include "analysis_ui/EditorControls.h"
#include "analysis_ui/MtxFloatEdit.h"
#include "chart_editors/EditorForm.h"
#include "platform/classlib/StringLists.h"
#include "platform/ui/Guarded.h"
#include "signal/SignalReport.h"

namespace analysis_ui {

namespace {

using chart_editors::CreateControl;

using editor_controls::AddRow;
using editor_controls::InfoNumber;
using editor_controls::NewCombo;

}  // namespace

TTimeAnaForm::TTimeAnaForm(QWidget* owner) : TComponentEditorForm(owner) {
  setObjectName("TimeAnaForm");
  setWindowTitle("Time domain signal analysis");
  auto* layout = new QVBoxLayout(ClientArea());
  layout->setContentsMargins(0, 0, 0, 0);
  FPages = CreateControl<QTabWidget>(ClientArea(), "PageControl1");
  layout->addWidget(FPages);
  const auto page = [this](const char* name, const QString& caption) {
    auto* sheet = CreateControl<QWidget>(FPages, name);
    FPages->addTab(sheet, caption);
    return sheet;
  };
  BuildParametersPage(page("ParametersSheet", "Parameters"));
  BuildInfoPage(page("InfoSheet", "Info"));
  BuildReportPage(page("ReportSheet", "Report"));

  resize(430, 380);
}

void TTimeAnaForm::OnParameter(QComboBox* Box, void (TTimeAnaForm::*Changed)(int)) {
  connect(Box, &QComboBox::currentIndexChanged, this, ui::Guarded([this, Changed](int index) {
            if (!Ready() || Analyzer() == nullptr || index < 0) return;
            (this->*Changed)(index);
            ApplyChange();
          }));
}

void TTimeAnaForm::OnParameter(TMtxFloatEdit* Edit, void (TTimeAnaForm::*Changed)()) {
  connect(Edit, &QLineEdit::textChanged, this, ui::Guarded([this, Changed] {
            if (!Ready() || Analyzer() == nullptr) return;
            (this->*Changed)();
            ApplyChange();
          }));
}

void TTimeAnaForm::BuildParametersPage(QWidget* page) {
  auto* grid = new QGridLayout(page);
  FIntDiffBox =
      NewCombo(page, "IntDiffBox", {"None", "Integrate", "Integrate twice", "Differentiate", "Differentiate twice"});
  AddRow(grid, page, "IntDiffLabel", "Integrate/diff.", FIntDiffBox);
  FTransformBox = NewCombo(
      page, "TransformBox",
      {"Time series", "Auto correlation", "Cross correlation", "DCT", "IDCT", "Real cepstrum", "Complex cepstrum"});
  AddRow(grid, page, "TransformLabel", "Transform:", FTransformBox);
  FRemoveDCBox = CreateControl<QCheckBox>(page, "RemoveDCBox", "Subtract mean");
  grid->addWidget(FRemoveDCBox, grid->rowCount(), 1);
  FScaleEdit = CreateControl<TMtxFloatEdit>(page, "ScaleEdit");
  AddRow(grid, page, "ScaleLabel", "Scale factor:", FScaleEdit);
  FRotationEdit = CreateControl<TMtxFloatEdit>(page, "RotationEdit");
  FRotationEdit->SetIntegerIncrement(true);
  FRotationEdit->SetReFormat("0");
  AddRow(grid, page, "RotationLabel", "Rotation:", FRotationEdit);
  FWindowBox = NewCombo(page, "WindowBox",
                        {"Rectangular", "Hanning", "Hamming", "FlatTop", "Bartlet", "Blackman", "BlackmanHarris",
                         "BlackmanExact", "CosineTappered", "Kaiser", "Chebyshev", "Exponent"});
  AddRow(grid, page, "WindowLabel", "Window:", FWindowBox);
  FSidelobeAttEdit = CreateControl<TMtxFloatEdit>(page, "SidelobeAttEdit");
  FSidelobeAttEdit->SetIntegerIncrement(true);
  FSidelobeAttEdit->SetReFormat("0");
  // Leaving a field shows the value the analyser keeps.
  FSidelobeAttEdit->SetMinValue("13");
  FSidelobeAttEdit->SetMaxValue("300");
  AddRow(grid, page, "SidelobeAttLabel", "Sidelobe. att", FSidelobeAttEdit, "[dB]");
  FTaps1Edit = CreateControl<TMtxFloatEdit>(page, "Taps1Edit");
  FTaps2Edit = CreateControl<TMtxFloatEdit>(page, "Taps2Edit");
  for (TMtxFloatEdit* taps : {FTaps1Edit, FTaps2Edit}) {
    taps->SetIntegerIncrement(true);
    taps->SetReFormat("0");
  }
  FTaps1Edit->SetMinValue("2");
  FTaps2Edit->SetMinValue("0");
  for (TMtxFloatEdit* taps : {FTaps1Edit, FTaps2Edit}) taps->SetMaxValue("2147483647");
  AddRow(grid, page, "Taps1Label", "Taps 1:", FTaps1Edit);
  AddRow(grid, page, "Taps2Label", "Taps 2:", FTaps2Edit);
  FAutocorrBox = NewCombo(page, "AutocorrBox", {"Normal", "Biased", "Unbiased"});
  AddRow(grid, page, "AutocorrLabel", "Autocorrelation type:", FAutocorrBox);
  grid->setRowStretch(grid->rowCount(), 1);
  grid->setColumnStretch(1, 1);

  OnParameter(FIntDiffBox, &TTimeAnaForm::IntDiffBoxChange);
  OnParameter(FTransformBox, &TTimeAnaForm::TransformBoxChange);
  OnParameter(FWindowBox, &TTimeAnaForm::WindowBoxChange);
  OnParameter(FAutocorrBox, &TTimeAnaForm::AutocorrBoxChange);
  OnParameter(FScaleEdit, &TTimeAnaForm::ScaleEditChange);
  OnParameter(FRotationEdit, &TTimeAnaForm::RotationEditChange);
  OnParameter(FSidelobeAttEdit, &TTimeAnaForm::SidelobeAttEditChange);
  OnParameter(FTaps1Edit, &TTimeAnaForm::Taps1EditChange);
  OnParameter(FTaps2Edit, &TTimeAnaForm::Taps2EditChange);
  connect(FRemoveDCBox, &QCheckBox::toggled, this, ui::Guarded([this](bool on) {
            if (!Ready() || Analyzer() == nullptr) return;
            Analyzer()->SetRemoveDC(on);
            ApplyChange();
          }));
}

void TTimeAnaForm::BuildInfoPage(QWidget* page) {
  auto* layout = new QVBoxLayout(page);
  auto* statistics = CreateControl<QGroupBox>(page, "StatisticsGroup", "Statistics");
  auto* grid = new QGridLayout(statistics);
  const auto box = [&](const char* name, const char* caption, int row, int column) {
    auto* b = CreateControl<QCheckBox>(statistics, name, caption);
    grid->addWidget(b, row, column);
    connect(b, &QCheckBox::clicked, this, ui::Guarded([this] { UpdateStatistics(); }));
    return b;
  };
  FRMSBox = box("RMSBox", "RMS", 0, 0);
  FPeakBox = box("PeakBox", "Peak", 1, 0);
  FCRESTBox = box("CRESTBox", "CREST", 2, 0);
  FStdDevBox = box("StdDevBox", "StdDev", 3, 0);
  FMeanBox = box("MeanBox", "Mean", 4, 0);
  FKurtosisBox = box("KurtosisBox", "Kurtosis", 0, 1);
  FSkewnessBox = box("SkewnessBox", "Skewness", 1, 1);
  FMinBox = box("Minbox", "Min", 2, 1);
  FMaxBox = box("MaxBox", "Max", 3, 1);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  layout->addWidget(statistics);
  auto* general = CreateControl<QGroupBox>(page, "GeneralGroup", "General");
  auto* labels = new QVBoxLayout(general);
  const auto label = [&](const char* name) {
    auto* l = CreateControl<QLabel>(general, name, " ");
    labels->addWidget(l);
    return l;
  };
  FFSLabel = label("FSLabel");
  FBandwidthLabel = label("BandwidthLabel");
  FSamplesAnaLabel = label("SamplesAnaLabel");
  FSignalLenLabel = label("SignalLenLabel");
  layout->addWidget(general);
  layout->addStretch(1);
}

void TTimeAnaForm::BuildReportPage(QWidget* page) {
  auto* layout = new QVBoxLayout(page);
  auto* include = CreateControl<QGroupBox>(page, "IncludeGroup", "Include:");
  auto* grid = new QGridLayout(include);
  const struct {
    const char* Name;
    const char* Caption;
    sig::TSignalReportItems Item;
  } boxes[] = {{"IncludeInfoBox", "General info", sig::srsGeneralInfo},
               {"IncludePeaksBox", "Marked values", sig::srsMarkedValues},
               {"IncludeValuesBox", "Signal values", sig::srsSignalValues},
               {"DateTimeBox", "Date/Time", sig::srsDateTime},
               {"IncludeMeanBox", "Mean", sig::srsMean},
               {"IncludeStdDevBox", "StdDev", sig::srsStdDev},
               {"IncludeRMSBox", "RMS", sig::srsRMS},
               {"IncludePeakBox", "Peak", sig::srsPeak},
               {"IncludeCRESTBox", "CREST", sig::srsCrest},
               {"IncludeSkewnessBox", "Skewness", sig::srsSkewness},
               {"IncludeKurtosisBox", "Kurtosis", sig::srsKurtosis},
               {"IncludeMaxMinBox", "Max, Min", sig::srsMinMax}};
  for (const auto& b : boxes) {
    const int index = static_cast<int>(FReportBoxes.size());
    auto* check = CreateControl<QCheckBox>(include, b.Name, b.Caption);
    grid->addWidget(check, index % 6, index / 6);
    FReportBoxes.push_back({check, b.Item});
  }
  for (const TReportBox& b : FReportBoxes)
    connect(b.Box, &QCheckBox::toggled, this, ui::Guarded([this, b] { ReportBoxClick(b); }));
  layout->addWidget(include);
  auto* formats = CreateControl<QGroupBox>(page, "FormatGroup", "Number formating");
  auto* formatGrid = new QGridLayout(formats);
  FTimeFormatEdit = CreateControl<QLineEdit>(formats, "TimeFormatEdit");
  AddRow(formatGrid, formats, "TimeFormatLabel", "Time:", FTimeFormatEdit);
  FAmpltFormatEdit = CreateControl<QLineEdit>(formats, "AmpltFormatEdit");
  AddRow(formatGrid, formats, "AmpltFormatLabel", "Amplitude:", FAmpltFormatEdit);
  layout->addWidget(formats);
  connect(FTimeFormatEdit, &QLineEdit::textChanged, this, ui::Guarded([this](const QString& text) {
            if (Ready() && Analyzer() != nullptr) Analyzer()->Report().SetTimeFormat(text.toStdString());
          }));
  connect(FAmpltFormatEdit, &QLineEdit::textChanged, this, ui::Guarded([this](const QString& text) {
            if (Ready() && Analyzer() != nullptr) Analyzer()->Report().SetAmplitudeFormat(text.toStdString());
          }));
  FReportButton = CreateControl<QPushButton>(page, "ReportButton", "Copy to clipboard");
  layout->addWidget(FReportButton, 0, Qt::AlignLeft);
  layout->addStretch(1);
  connect(FReportButton, &QPushButton::clicked, this, ui::Guarded([this] { ReportButtonClick(); }));
}

// --- Filling -----------------------------------------------------------------

void TTimeAnaForm::FillControls() {
  const sig::TSignalAnalyzer& a = *Analyzer();
  if (FTaps2Backup < 0 && Backup() != nullptr) FTaps2Backup = a.CorrTaps2();
  FPages->setCurrentIndex(0);
  FIntDiffBox->setCurrentIndex(a.Integration());
  FTransformBox->setCurrentIndex(a.Transform());
  FRemoveDCBox->setChecked(a.RemoveDC());
  FScaleEdit->SetPosition(a.ScaleFactor());
  FRotationEdit->SetIntPosition(a.Rotation());
  FWindowBox->setCurrentIndex(a.Window());
  FSidelobeAttEdit->SetPosition(a.SidelobeAtt());
  FTaps1Edit->SetIntPosition(a.CorrTaps1());
  FTaps2Edit->SetIntPosition(a.CorrTaps2());
  FAutocorrBox->setCurrentIndex(a.AutoCorrType());
  const sig::TSignalReportSet items = a.Report().ReportItems();
  for (const TReportBox& b : FReportBoxes) b.Box->setChecked((items >> b.Item) & 1u);
  FTimeFormatEdit->setText(QString::fromStdString(a.Report().TimeFormat()));
  FAmpltFormatEdit->setText(QString::fromStdString(a.Report().AmplitudeFormat()));
}

void TTimeAnaForm::RestoreBackup() {
  TComponentEditorForm::RestoreBackup();
  if (FTaps2Backup >= 0) Analyzer()->SetCorrTaps2(FTaps2Backup);
}

void TTimeAnaForm::UpdateStatistics() {
  const sig::TSignalAnalyzer* a = Analyzer();
  if (a == nullptr) return;
  const numeric::TVec& data = a->Data();
  struct TCaption {
    QCheckBox* Box;
    const char* Name;
    double sig::TSignalStatistics::*Value;
  };
  const TCaption captions[] = {{FMeanBox, "Mean", &sig::TSignalStatistics::Mean},
                               {FMinBox, "Min", &sig::TSignalStatistics::Minimum},
                               {FMaxBox, "Max", &sig::TSignalStatistics::Maximum},
                               {FStdDevBox, "StdDev", &sig::TSignalStatistics::StdDev},
                               {FRMSBox, "RMS", &sig::TSignalStatistics::RMS},
                               {FPeakBox, "Peak", &sig::TSignalStatistics::Peak},
                               {FCRESTBox, "CREST", &sig::TSignalStatistics::Crest},
                               {FSkewnessBox, "Skewness", &sig::TSignalStatistics::Skewness},
                               {FKurtosisBox, "Kurtosis", &sig::TSignalStatistics::Kurtosis}};
  // Complex samples have no statistics of this kind: the boxes show their names.
  const bool real = !data.Complex();
  sig::TSignalStatistics s;
  if (real)
    s = sig::SignalStatistics(
        data,
        FCRESTBox->isChecked() || FStdDevBox->isChecked() || FSkewnessBox->isChecked() || FKurtosisBox->isChecked(),
        FPeakBox->isChecked() || FCRESTBox->isChecked() || FMinBox->isChecked() || FMaxBox->isChecked(),
        FRMSBox->isChecked() || FSkewnessBox->isChecked() || FKurtosisBox->isChecked());
  for (const TCaption& c : captions) {
    QString text = c.Name;
    if (real && c.Box->isChecked()) text += " = " + InfoNumber(s.*c.Value);
    c.Box->setText(text);
  }
  FFSLabel->setText("Sampling frequency: " + InfoNumber(a->SamplingFrequency()) + " [Hz]");
  FBandwidthLabel->setText("Bandwidth: " + InfoNumber(a->SamplingFrequency() / 2.0) + " [Hz]");
  FSamplesAnaLabel->setText("Samples analyzed: " + QString::number(a->Length()));
  FSignalLenLabel->setText("Signal length: " + InfoNumber(a->Duration()) + " [s]");
}

// --- Handlers ----------------------------------------------------------------

void TTimeAnaForm::IntDiffBoxChange(int Index) { Analyzer()->SetIntegration(static_cast<sig::TIntegration>(Index)); }

void TTimeAnaForm::TransformBoxChange(int Index) { Analyzer()->SetTransform(static_cast<sig::TTimeTransform>(Index)); }

void TTimeAnaForm::WindowBoxChange(int Index) { Analyzer()->SetWindow(static_cast<sig::TSignalWindowType>(Index)); }

void TTimeAnaForm::AutocorrBoxChange(int Index) { Analyzer()->SetAutoCorrType(static_cast<sig::TAutoCorrType>(Index)); }

void TTimeAnaForm::ScaleEditChange() { Analyzer()->SetScaleFactor(FScaleEdit->Position()); }

void TTimeAnaForm::RotationEditChange() { Analyzer()->SetRotation(FRotationEdit->IntPosition()); }

void TTimeAnaForm::SidelobeAttEditChange() { Analyzer()->SetSidelobeAtt(FSidelobeAttEdit->IntPosition()); }

void TTimeAnaForm::Taps1EditChange() { Analyzer()->SetCorrTaps1(FTaps1Edit->IntPosition()); }

void TTimeAnaForm::Taps2EditChange() { Analyzer()->SetCorrTaps2(FTaps2Edit->IntPosition()); }

void TTimeAnaForm::ReportBoxClick(const TReportBox& Box) {
  if (!Ready() || Analyzer() == nullptr) return;
  sig::TSignalReport& report = Analyzer()->Report();
  const sig::TSignalReportSet bit = static_cast<sig::TSignalReportSet>(1u << Box.Item);
  report.SetReportItems(Box.Box->isChecked() ? (report.ReportItems() | bit) : (report.ReportItems() & ~bit));
}

void TTimeAnaForm::ReportButtonClick() {
  if (Analyzer() == nullptr) return;
  classlib::TStringList lines;
  Analyzer()->Report().BuildReport(lines);
  editor_controls::CopyToClipboard(lines);
}

// --- Registration ------------------------------------------------------------

void RegisterTimeAna() {
  chart_editors::RegisterEditorForm("TTimeAnaForm", chart_editors::EditorFormFactory<TTimeAnaForm>());
}

void UnregisterTimeAna() { chart_editors::UnRegisterEditorForm("TTimeAnaForm"); }

}  // namespace analysis_ui

// The bispectrum analysis window: its Basic page with the higher order
// controls; the other pages are the shared ones.
//
// Tested by: analysis_ui/tests/BiSpectrumAnaTest.cpp
#include "analysis_ui/BiSpectrumAna.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "analysis_ui/EditorControls.h"
#include "analysis_ui/MtxFloatEdit.h"
#include "analysis_ui/NumoraEdit.h"
#include "chart_editors/EditorForm.h"
#include "platform/ui/Guarded.h"

namespace analysis_ui {

using editor_controls::NewCombo;

namespace {

using chart_editors::CreateControl;

QGridLayout* Group(QWidget* Page, QVBoxLayout* Layout, const char* Name, const QString& Caption) {
  auto* group = CreateControl<QGroupBox>(Page, Name, Caption);
  auto* grid = new QGridLayout(group);
  grid->setColumnStretch(1, 1);
  Layout->addWidget(group);
  return grid;
}

}  // namespace

TBiSpectrumAnaForm::TBiSpectrumAnaForm(QWidget* owner) : TSpectrumPagesForm(owner) {
  setObjectName("BiSpectrumAnaForm");
  setWindowTitle("Higher order spectral analysis");

  QWidget* basic = AddPage("BasicSheet", "Basic");
  auto* columns = new QHBoxLayout(basic);
  auto* left = new QVBoxLayout();
  auto* right = new QVBoxLayout();
  columns->addLayout(left, 1);
  columns->addLayout(right, 1);
  QGridLayout* spectrum = Group(basic, left, "SpectrumGroup", "Spectrum parameters");
  QWidget* spectrumBox = spectrum->parentWidget();
  AddZeroPaddingRow(spectrum, spectrumBox);
  AddWindowRows(spectrum, spectrumBox);
  AddRemoveDCRow(spectrum, spectrumBox);
  AddConjugateRows(spectrum, spectrumBox);
  left->addStretch(1);
  QGridLayout* averaging = Group(basic, right, "AveragingGroup", "Averaging");
  BuildAveragingControls(averaging, averaging->parentWidget());
  QGridLayout* higher = Group(basic, right, "HigherOrderGroup", "Higher order control");
  QWidget* higherBox = higher->parentWidget();
  FFrequencyEdit = CreateControl<TMtxFloatEdit>(higherBox, "FrequencyEdit");
  // The analyser takes no negative frequency: a left field shows the one it kept.
  FFrequencyEdit->SetMinValue("0");
  FFrequencyEdit->SetMaxValue("1E300");
  AddRow(higher, higherBox, "FrequencyLabel", "Analyze frequency:", FFrequencyEdit);
  FSingleLinesBox = CreateControl<QCheckBox>(higherBox, "SingleLinesBox", "Single lines only");
  higher->addWidget(FSingleLinesBox, higher->rowCount(), 0, 1, 2);
  auto* lines = CreateControl<QToolButton>(higherBox, "SpeedButton1", "Frequency lines...");
  lines->setAutoRaise(true);
  higher->addWidget(lines, higher->rowCount(), 0, 1, 2, Qt::AlignLeft);
  right->addStretch(1);
  Bind(FFrequencyEdit, [this] { BiAnalyzer()->BiAnalyzer().SetFrequency(FFrequencyEdit->Position()); });
  Bind(FSingleLinesBox, [this](bool on) { BiAnalyzer()->BiAnalyzer().SetSingleLinesOnly(on); });
  // The analyser keeps at most its last line: a left field shows what it kept.
  connect(FFrequencyEdit, &QLineEdit::editingFinished, this, ui::Guarded([this] {
            if (!Ready() || BiAnalyzer() == nullptr) return;
            SetReady(false);
            FFrequencyEdit->SetPosition(BiAnalyzer()->BiAnalyzer().Frequency());
            SetReady(true);
          }));
  connect(lines, &QToolButton::clicked, this, ui::Guarded([this] { FrequencyLinesClick(); }));

  BuildPeaksPage(AddPage("PeaksSheet", "Peaks"), {});
  BuildBandsPage(AddPage("BandsSheet", "Bands"));
  BuildOrderPage(AddPage("OrderSheet", "Order"), false);
  BuildInfoPage(AddPage("InfoSheet", "Info"), false);
  BuildReportPage(AddPage("ReportSheet", "Report"), {{"IncludePeaksBox", "Marked peaks", sig::sriMarkedPeaks},
                                                      {"IncludeLinesBox", "All frequency lines", sig::sriFrequencyLines},
                                                      {"IncludePhaseBox", "Phase", sig::sriPhase},
                                                      {"IncludeInfoBox", "General info", sig::sriGeneralInfo},
                                                      {"IncludeBandsBox", "Bands RMS", sig::sriBandsRMS},
                                                      {"DateTimeBox", "Date/Time", sig::sriDateTime}});
  resize(600, 420);
}

void TBiSpectrumAnaForm::FillControls() {
  const sig::TBiAnalyzer& bi = BiAnalyzer()->BiAnalyzer();
  if (FFrequencyBackup < 0 && Backup() != nullptr) FFrequencyBackup = bi.Frequency();
  FFrequencyEdit->SetPosition(bi.Frequency());
  FSingleLinesBox->setChecked(bi.SingleLinesOnly());
  TSpectrumPagesForm::FillControls();
}

void TBiSpectrumAnaForm::RestoreBackup() {
  TSpectrumPagesForm::RestoreBackup();
  if (FFrequencyBackup >= 0) BiAnalyzer()->BiAnalyzer().SetFrequency(FFrequencyBackup);
}

void TBiSpectrumAnaForm::FrequencyLinesClick() {
  if (BiAnalyzer() == nullptr) return;
  ViewValues(BiAnalyzer()->BiAnalyzer().Lines(), "Define spectral lines", true, StayOnTop(), true);
  ApplyChange();
}

void RegisterBiSpectrumAna() {
  chart_editors::RegisterEditorForm("TBiSpectrumAnaForm", chart_editors::EditorFormFactory<TBiSpectrumAnaForm>());
}

void UnregisterBiSpectrumAna() { chart_editors::UnRegisterEditorForm("TBiSpectrumAnaForm"); }

}  // namespace analysis_ui

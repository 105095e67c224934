// The spectrum analyser form's Info and Report pages: the timing and the
// measures of the last update, what the text report holds, and copying it.
//
// Tested by: analysis_ui/tests/SpectrumAnaTest.cpp
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>
#include <functional>
#include <string>
#include <utility>

#include "analysis_ui/MtxGridView.h"
#include "analysis_ui/SpectrumAna.h"
#include "numeric/MathCore.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/SysUtils.h"
#include "platform/ui/Guarded.h"
#include "signal/SpectrumReport.h"
#include "signal/SpectrumStats.h"

namespace analysis_ui {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Numbers of the timing labels and the RMS: 7 significant digits.
std::string General7(double x) { return classlib::FloatToStrF(x, classlib::ffGeneral, 7, 0); }

// A measure that could not be computed reads as the report writes it.
std::string Measure(double x) { return std::isnan(x) ? "n/a" : numeric::SampleToStr(x, "0.00"); }

}  // namespace

void TSpectrumAnaForm::ConnectReport() {
  for (QCheckBox* box : {FTHDBox, FNFBox, FSFDRBox, FSNRBox, FRMSBox, FSINADBox, FTHDNBox})
    connect(box, &QCheckBox::clicked, this, ui::Guarded([this] { BuildReport(); }));
  for (std::size_t item = 0; item < FIncludeBoxes.size(); ++item)
    connect(FIncludeBoxes[item], &QCheckBox::toggled, this, ui::Guarded([this, item](bool on) {
              if (!Ready() || Analyzer() == nullptr) return;
              sig::TSpectrumReport& report = Analyzer()->Report();
              const auto bit = static_cast<sig::TSpectrumReportSet>(1u << item);
              report.SetReportItems(on ? report.ReportItems() | bit : report.ReportItems() & ~bit);
            }));
  using TSetter = void (sig::TSpectrumReport::*)(const std::string&);
  for (auto [edit, setter] : {std::pair<QLineEdit*, TSetter>{FFreqFormatEdit, &sig::TSpectrumReport::SetFrequencyFormat},
                              std::pair<QLineEdit*, TSetter>{FAmpltFormatEdit, &sig::TSpectrumReport::SetAmplitudeFormat},
                              std::pair<QLineEdit*, TSetter>{FPhaseFormatEdit, &sig::TSpectrumReport::SetPhaseFormat}})
    connect(edit, &QLineEdit::textChanged, this, ui::Guarded([this, setter](const QString& text) {
              if (Ready() && Analyzer() != nullptr) (Analyzer()->Report().*setter)(text.toStdString());
            }));
  connect(FReportButton, &QPushButton::clicked, this, ui::Guarded([this] { ReportButtonClick(); }));
}

void TSpectrumAnaForm::FillReport() {
  const sig::TSpectrumReport& report = Analyzer()->Report();
  for (std::size_t item = 0; item < FIncludeBoxes.size(); ++item)
    FIncludeBoxes[item]->setChecked((report.ReportItems() >> item) & 1u);
  FFreqFormatEdit->setText(Q(report.FrequencyFormat()));
  FAmpltFormatEdit->setText(Q(report.AmplitudeFormat()));
  FPhaseFormatEdit->setText(Q(report.PhaseFormat()));
}

void TSpectrumAnaForm::ReportButtonClick() {
  if (Analyzer() == nullptr) return;
  classlib::TStringList lines;
  Analyzer()->Report().BuildReport(lines);
  // Lines end as text on this system does.
  std::string text;
  for (int i = 0; i < lines.Count(); ++i) text += lines.Strings(i) + "\n";
  QApplication::clipboard()->setText(Q(text));
}

void TSpectrumAnaForm::BuildReport() {
  sig::TSpectrumAnalyzer* a = Analyzer();
  if (a == nullptr) return;
  const std::string averaged = "Averages made: " + classlib::IntToStr(a->Stats().Averaged());
  FAveragesMadeLabel->setText(Q(averaged));

  // The measures in this order: some of them sort the marks as they need them.
  const double r = a->PaddingRatio();
  struct TMeasure {
    QCheckBox* Box;
    const char* Name;
    std::function<std::string()> Value;
  };
  const TMeasure measures[] = {
      {FTHDBox, "THD", [&] { return Measure(a->THD()) + " [%]"; }},
      {FTHDNBox, "THDN", [&] { return Measure(a->THDN(r)) + " [%]"; }},
      {FNFBox, "NF", [&] { return Measure(a->NF(r)) + " [dB]"; }},
      {FSFDRBox, "SFDR", [&] { return Measure(a->SFDR()) + " [dB]"; }},
      {FSINADBox, "SINAD", [&] { return Measure(a->SINAD(r)) + " [dB]"; }},
      {FRMSBox, "RMS", [&] {
         const double rms = a->BandRMS(r);
         return std::isnan(rms) ? std::string("n/a") : General7(rms);
       }},
      {FSNRBox, "SNR", [&] { return Measure(a->SNR(r)) + " [dB]"; }},
  };
  for (const TMeasure& m : measures)
    m.Box->setText(Q(m.Box->isChecked() ? std::string(m.Name) + " = " + m.Value() : std::string(m.Name)));

  std::string message;
  const bool distortion = FTHDBox->isChecked() || FTHDNBox->isChecked() || FNFBox->isChecked() ||
                          FSFDRBox->isChecked() || FSINADBox->isChecked() || FSNRBox->isChecked();
  if (distortion) {
    const std::int32_t marks = a->Marks().Count();
    if (marks == 0)
      message = "No peaks have been marked!";
    else if (marks == 1)
      message = "THD and SFDR require at least two marked peaks!";
    if (a->Logarithmic()) message = "Spectrum scale is not linear!";
  }
  if (FRMSBox->isChecked() && a->SpectrumType() != dsp::spAmplt) message = "RMS: spectrum type is not peak amplitude!";
  FMessageLabel->setText(Q(message));

  const double fs = a->SamplingFrequency();
  FFSLabel->setText(Q("Sampling frequency: " + General7(fs) + " [Hz]"));
  FNyquistLabel->setText(Q("Bandwidth: " + General7(fs / 2) + " [Hz]"));
  if (const sig::TSignal* input = a->InputSignal()) {
    FSamplesAnaLabel->setText(Q("Samples analyzed: " + classlib::IntToStr(input->Length())));
    FSignalLenLabel->setText(Q("Signal length: " + General7(input->Duration()) + " [s]"));
    FFreqResLabel->setText(Q("Frequency resolution: " + General7(input->FrequencyStep()) + " [Hz]"));
  }
  FFreqBinsLabel->setText(Q("Frequency bins: " + classlib::IntToStr(a->Length())));
  FFreqBinSpaceLabel->setText(Q("Frequency bin spacing: " + General7(a->HzRes()) + " [Hz]"));
  FAveragesMade->setText(Q(averaged));

  // The band levels change with every update; the edits stay as they are.
  FReportRefresh = true;
  try {
    FBandsBox->UpdateAllLines();
  } catch (...) {
    FReportRefresh = false;
    throw;
  }
  FReportRefresh = false;
}

}  // namespace analysis_ui

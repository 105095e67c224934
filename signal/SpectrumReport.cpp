// TSpectrumReport: the text report of a spectrum analyser.
// Tested by: signal/tests/SpectrumReportTest.cpp.
#include "signal/SpectrumReport.h"

#include <cmath>
#include <string>

#include "dsp/SignalUtils.h"
#include "numeric/MathCore.h"
#include "platform/classlib/StringLists.h"
#include "signal/AnalysisTexts.h"
#include "signal/SignalInternal.h"
#include "signal/SpectrumAnalyzer.h"
#include "signal/SpectrumBands.h"
#include "signal/SpectrumPeaks.h"
#include "signal/SpectrumStats.h"

namespace sig {

const classlib::TClassInfo& TSpectrumReport::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSpectrumReport>("TSpectrumReport", TPersistent::StaticClassInfo())
          .Property("ReportItems", &TSpectrumReport::ReportItems, &TSpectrumReport::SetReportItems, 0)
          .TypeName("TSpectrumReportSet")
          .AsSet({"sriGeneralInfo", "sriMarkedPeaks", "sriFrequencyLines", "sriPhase", "sriTHD", "sriTHDN", "sriNF",
                  "sriSFDR", "sriBandsRMS", "sriSINAD", "sriRMS", "sriSNR", "sriDateTime"})
          .Property("FrequencyFormat", &TSpectrumReport::FrequencyFormat, &TSpectrumReport::SetFrequencyFormat,
                    std::string())
          .Property("AmplitudeFormat", &TSpectrumReport::AmplitudeFormat, &TSpectrumReport::SetAmplitudeFormat,
                    std::string())
          .Property("PhaseFormat", &TSpectrumReport::PhaseFormat, &TSpectrumReport::SetPhaseFormat, std::string())
          .Build();
  return info;
}

TSpectrumReport::TSpectrumReport(TSpectrumAnalyzer* AOwner) : FOwner(AOwner) {
  if (AOwner == nullptr) numeric::RaiseError("AOwner = nil");
}

namespace {

// A measure by its format; one that could not be computed (NaN) as "n/a".
std::string Measure(double X) { return std::isnan(X) ? "n/a" : numeric::SampleToStr(X, "0.00"); }

}  // namespace

void TSpectrumReport::AddGeneralInfo(classlib::TStrings& Strings) const {
  const TSpectrumAnalyzer& a = *FOwner;
  const double fs = a.FrameSamplingFrequency();
  const TSignal* input = a.InputSignal();
  Strings.Add("General info:");
  Strings.Add("");
  Strings.Add("Sampling frequency: " + numeric::SampleToStr(fs, FFrequencyFormat) + " [Hz]");
  Strings.Add("Bandwidth: " + numeric::SampleToStr(fs / 2.0, FFrequencyFormat) + " [Hz]");
  if (input != nullptr) Strings.Add("Samples analyzed: " + std::to_string(input->Length()));
  Strings.Add("Frequency bins: " + std::to_string(a.Length()));
  if (input != nullptr) {
    Strings.Add("Signal length: " + detail::GeneralText(input->Duration()) + " [s]");
    Strings.Add("Frequency resolution: " + numeric::SampleToStr(input->FrequencyStep(), FFrequencyFormat) + " [Hz]");
  }
  Strings.Add("Frequency bin spacing: " + numeric::SampleToStr(a.BinSpacing(), FFrequencyFormat) + " [Hz]");
  Strings.Add("");
  std::string caption;
  if (a.Stats().Averaging() != avNone) {
    AveragingCaption(a.Stats().Averaging(), caption);
    Strings.Add("Averaging type: " + caption);
    Strings.Add("Averages: " + std::to_string(a.Stats().Averaged()));
  }
  caption.clear();
  dsp::SpectrumTypeCaption(a.SpectrumType(), caption);
  Strings.Add("Spectrum type: " + caption);
  caption.clear();
  SpectrumMethodCaption(a.Method(), caption);
  Strings.Add("Spectrum method: " + caption);
  switch (a.Method()) {
    case smFFT:
    case smCZT:
      Strings.Add("Window: " + dsp::WindowCaption(a.Window()));
      break;
    case smYuleWalker:
    case smBurg:
    case smCov:
    case smMCov:
      Strings.Add("Autoregressive order: " + std::to_string(a.AROrder()));
      break;
    case smRealCepstrum:
      break;
  }
  if (a.Window() == dsp::wtKaiser) {
    Strings.Add("Kaiser beta: " + detail::GeneralText(dsp::KaiserBetaFromSidelobe(a.SidelobeAtt())));
    Strings.Add("Kaiser sidelobe attenuation: " + numeric::SampleToStr(a.SidelobeAtt(), "0.00") + " [dB]");
  }
  if (a.ScaleFactor() != 1.0) Strings.Add("Scale factor: " + detail::GeneralText(a.ScaleFactor()));
  if (a.Integration() != inNone) {
    IntegrationCaption(a.Integration(), caption);
    Strings.Add("Integration/differentiation: " + caption);
  }
  Strings.Add("");
}

void TSpectrumReport::AddTable(classlib::TStrings& Strings, TTableText Text, const std::string& PhaseHeader) const {
  const TSpectrumAnalyzer& a = *FOwner;
  // A complex spectrum's lines are its real and imaginary parts, both shown.
  if (a.SpectrumType() == dsp::spComplex) {
    (a.*Text)(Strings, true, "Frequency [Hz]", "Real", "Imaginary", FFrequencyFormat, FAmplitudeFormat,
              FPhaseFormat);
    return;
  }
  std::string type;
  dsp::SpectrumTypeCaption(a.SpectrumType(), type);
  (a.*Text)(Strings, Has(sriPhase), "Frequency [Hz]", type, PhaseHeader, FFrequencyFormat, FAmplitudeFormat,
            FPhaseFormat);
}

void TSpectrumReport::AddMarkedPeaks(classlib::TStrings& Strings, const std::string& PhaseHeader) const {
  const TSpectrumAnalyzer& a = *FOwner;
  Strings.Add("Marked peaks:");
  Strings.Add("");
  AddTable(Strings, &TSpectrum::MarksToText, PhaseHeader);
  Strings.Add("");
  const TSpectrumPeakInterpolation& interpolation = a.Peaks().Interpolation();
  std::string caption;
  if (interpolation.Method() != imNone) {
    InterpolationMethodCaption(interpolation.Method(), caption);
    Strings.Add("Peak interpolation: " + caption);
    if (interpolation.Method() == imNumeric) {
      InterpolationPrecisionCaption(interpolation.Precision(), caption);
      Strings.Add("Interpolation precision: " + caption);
    }
  }
  Strings.Add("");
}

void TSpectrumReport::AddStatistics(classlib::TStrings& Strings) {
  constexpr TSpectrumReportSet measures = (1u << sriTHD) | (1u << sriTHDN) | (1u << sriNF) | (1u << sriSFDR) |
                                          (1u << sriSINAD) | (1u << sriRMS) | (1u << sriSNR);
  if ((FReportItems & measures) == 0) return;
  TSpectrumAnalyzer& a = *FOwner;
  const double r = a.PaddingRatio();
  Strings.Add("Statistics:");
  Strings.Add("");
  if (Has(sriTHD)) Strings.Add("Total harmonic distortion (THD): " + Measure(a.THD()) + " [%]");
  if (Has(sriTHDN)) Strings.Add("Total harmonic distortion and noise (THDN): " + Measure(a.THDN(r)) + " [%]");
  if (Has(sriNF)) Strings.Add("Noise floor (NF): " + Measure(a.NF(r)) + " [dB]");
  if (Has(sriSFDR)) Strings.Add("Spurious free dynamic range (SFDR): " + Measure(a.SFDR()) + " [dB]");
  if (Has(sriRMS)) {
    const double rms = a.BandRMS(r);
    Strings.Add("Root mean square (RMS): " + (std::isnan(rms) ? std::string("n/a") : detail::GeneralText(rms)));
  }
  if (Has(sriSINAD)) Strings.Add("Signal to noise and distortion (SINAD): " + Measure(a.SINAD(r)) + " [dB]");
  if (Has(sriSNR)) Strings.Add("Signal to noise (SNR): " + Measure(a.SNR(r)) + " [dB]");
  const std::int32_t marks = a.Marks().Count();
  if (marks == 0)
    Strings.Add("No peaks have been marked!");
  else if (marks == 1) {
    if (Has(sriTHD) || Has(sriSFDR)) Strings.Add("THD and SFDR require at least two marked peaks!");
  } else {
    Strings.Add("");
  }
  if (a.Logarithmic()) Strings.Add("Spectrum scale is not linear!");
  if (Has(sriRMS) && a.SpectrumType() != dsp::spAmplt) Strings.Add("RMS: spectrum type is not peak amplitude!");
  Strings.Add("");
}

void TSpectrumReport::BuildReport(classlib::TStrings& Strings) {
  TSpectrumAnalyzer& a = *FOwner;
  const std::string phaseHeader = a.PhaseUnits() == puRad ? "Phase [radians]" : "Phase [degrees]";
  if (Has(sriDateTime)) {
    Strings.Add("Date/time: " + detail::NowText());
    Strings.Add("");
  }
  if (Has(sriGeneralInfo)) AddGeneralInfo(Strings);
  if (Has(sriMarkedPeaks) && a.Marks().Count() > 0) AddMarkedPeaks(Strings, phaseHeader);
  if (Has(sriBandsRMS) && a.Bands().Template().Count() > 0) {
    Strings.Add("RMS of frequency bands:");
    Strings.Add("");
    a.Bands().BandsToText(Strings, FFrequencyFormat, "Frequency range [Hz]", "RMS", FAmplitudeFormat);
    Strings.Add("");
  }
  AddStatistics(Strings);
  if (Has(sriFrequencyLines)) {
    Strings.Add("Frequency lines:");
    Strings.Add("");
    AddTable(Strings, &TSpectrum::ValuesToText, phaseHeader);
    Strings.Add("");
  }
}

}  // namespace sig

// TSignalReport: the text report of a time-signal analyser.
// Tested by: signal/tests/SignalReportTest.cpp.
#include "signal/SignalReport.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "numeric/MathCore.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/SysUtils.h"
#include "signal/AnalysisTexts.h"
#include "signal/SignalInternal.h"
#include "signal/SignalAnalyzer.h"

namespace sig {

const classlib::TClassInfo& TSignalReport::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalReport>("TSignalReport", TPersistent::StaticClassInfo())
          .Property("ReportItems", &TSignalReport::ReportItems, &TSignalReport::SetReportItems, 0)
          .TypeName("TSignalReportSet")
          .AsSet({"srsGeneralInfo", "srsMarkedValues", "srsSignalValues", "srsDateTime", "srsMean", "srsStdDev",
                  "srsRMS", "srsPeak", "srsCrest", "srsSkewness", "srsKurtosis", "srsMinMax"})
          .Property("TimeFormat", &TSignalReport::TimeFormat, &TSignalReport::SetTimeFormat, std::string())
          .Property("AmplitudeFormat", &TSignalReport::AmplitudeFormat, &TSignalReport::SetAmplitudeFormat,
                    std::string())
          .Build();
  return info;
}

TSignalReport::TSignalReport(TSignalAnalyzer* AOwner) : FOwner(AOwner) {
  if (AOwner == nullptr) numeric::RaiseError("AOwner = nil");
}

void TSignalReport::AddSettings(classlib::TStrings& Strings) const {
  const TSignalAnalyzer& a = *FOwner;
  std::string caption;
  if (a.ScaleFactor() != 1.0) Strings.Add("Scale factor: " + detail::GeneralText(a.ScaleFactor()));
  if (a.Integration() != inNone) {
    IntegrationCaption(a.Integration(), caption);
    Strings.Add("Integration/differentiation: " + caption);
  }
  if (a.RemoveDC()) Strings.Add("Mean subtracted");
  if (a.Rotation() != 0) Strings.Add("Signal rotated by " + std::to_string(a.Rotation()) + " samples.");
  TimeTransformCaption(a.Transform(), caption);
  Strings.Add("Transform: " + caption);
  switch (a.Transform()) {
    case ttWindow:
      Strings.Add("Window: " + dsp::WindowCaption(a.Window()));
      if (a.Window() == dsp::wtKaiser || a.Window() == dsp::wtChebyshev)
        Strings.Add("Sidelobe attenuation: " + numeric::SampleToStr(a.SidelobeAtt(), "0.00") + " [dB]");
      break;
    case ttAutoCorr:
      AutoCorrTypeCaption(a.AutoCorrType(), caption);
      Strings.Add("Autocorrelation type: " + caption);
      Strings.Add("Autocorrelation taps: " + std::to_string(a.CorrTaps1()));
      break;
    case ttCrossCorr:
      Strings.Add("Autocorrelation taps 1: " + std::to_string(a.CorrTaps1()));
      Strings.Add("Autocorrelation taps 2: " + std::to_string(a.CorrTaps2()));
      break;
    default:
      break;
  }
  Strings.Add("");
}

void TSignalReport::AddStatistics(classlib::TStrings& Strings) const {
  const numeric::TVec& data = FOwner->Data();
  constexpr TSignalReportSet statistics = (1u << srsMean) | (1u << srsStdDev) | (1u << srsRMS) | (1u << srsPeak) |
                                          (1u << srsCrest) | (1u << srsSkewness) | (1u << srsKurtosis) |
                                          (1u << srsMinMax);
  if ((FReportItems & statistics) == 0) return;
  Strings.Add("Statistics:");
  Strings.Add("");
  const TSignalStatistics s =
      SignalStatistics(data, Has(srsStdDev) || Has(srsCrest) || Has(srsSkewness) || Has(srsKurtosis),
                       Has(srsPeak) || Has(srsCrest) || Has(srsMinMax), Has(srsRMS) || Has(srsSkewness) || Has(srsKurtosis));
  if (Has(srsMean)) Strings.Add("Mean: " + detail::GeneralText(s.Mean));
  if (Has(srsStdDev)) Strings.Add("StdDev: " + detail::GeneralText(s.StdDev));
  if (Has(srsMinMax)) {
    Strings.Add("Minimum: " + detail::GeneralText(s.Minimum));
    Strings.Add("Maximum: " + detail::GeneralText(s.Maximum));
  }
  if (Has(srsRMS)) Strings.Add("RMS: " + detail::GeneralText(s.RMS));
  if (Has(srsPeak)) Strings.Add("Peak: " + detail::GeneralText(s.Peak));
  if (Has(srsCrest)) Strings.Add("CREST: " + detail::GeneralText(s.Crest));
  if (Has(srsSkewness)) Strings.Add("Skewness: " + detail::GeneralText(s.Skewness));
  if (Has(srsKurtosis)) Strings.Add("Kurtosis: " + detail::GeneralText(s.Kurtosis));
  Strings.Add("");
}

TSignalStatistics SignalStatistics(const numeric::TVec& Data, bool Deviation, bool Extremes, bool Moments) {
  TSignalStatistics s;
  if (Data.Length() == 0) return s;
  s.Mean = Data.Mean();
  if (Deviation || Moments) s.StdDev = Data.StdDev(s.Mean);
  if (Extremes) {
    s.Minimum = Data.Min();
    s.Maximum = Data.Max();
    s.Peak = std::max(std::fabs(s.Maximum - s.Mean), std::fabs(s.Mean - s.Minimum));
  }
  if (Deviation && Extremes) s.Crest = dsp::SafeDivide(s.StdDev, s.Peak);
  if (Moments) {
    s.RMS = Data.RMS();
    s.Skewness = Data.Skewness(s.Mean, s.StdDev);
    s.Kurtosis = Data.Kurtosis(s.Mean, s.StdDev);
  }
  if (!Deviation) s.StdDev = 0.0;
  return s;
}

void TSignalReport::BuildReport(classlib::TStrings& Strings) const {
  const TSignalAnalyzer& a = *FOwner;
  if (Has(srsDateTime)) {
    Strings.Add("Date/time: " + detail::NowText());
    Strings.Add("");
  }
  if (Has(srsGeneralInfo)) {
    Strings.Add("General info:");
    Strings.Add("");
    Strings.Add("Sampling frequency: " + detail::GeneralText(a.SamplingFrequency()) + " [Hz]");
    Strings.Add("Bandwidth: " + detail::GeneralText(a.SamplingFrequency() / 2.0) + " [Hz]");
    if (const TSignal* input = dynamic_cast<const TSignal*>(a.Input())) {
      Strings.Add("Samples analyzed: " + std::to_string(input->Length()));
      Strings.Add("Signal length: " + detail::GeneralText(input->Duration()) + " [s]");
    }
    Strings.Add("");
  }
  AddSettings(Strings);
  AddStatistics(Strings);
  if (Has(srsMarkedValues) && a.Marks().Count() > 0) {
    Strings.Add("Marked values:");
    Strings.Add("");
    a.MarksToText(Strings, FTimeFormat, "Amplitude", "Time [s]", FAmplitudeFormat);
    Strings.Add("");
  }
  if (Has(srsSignalValues)) {
    Strings.Add("Signal values:");
    Strings.Add("");
    a.ValuesToText(Strings, FTimeFormat, "Amplitude", "Time [s]", FAmplitudeFormat);
    Strings.Add("");
  }
}

}  // namespace sig

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
  const bool empty = data.Length() == 0;
  const double mean = empty ? 0.0 : data.Mean();
  double deviation = 0.0, minimum = 0.0, maximum = 0.0;
  if (!empty && (Has(srsStdDev) || Has(srsCrest) || Has(srsSkewness) || Has(srsKurtosis))) deviation = data.StdDev(mean);
  if (!empty && (Has(srsPeak) || Has(srsCrest) || Has(srsMinMax))) {
    minimum = data.Min();
    maximum = data.Max();
  }
  const double peak = std::max(std::fabs(maximum - mean), std::fabs(mean - minimum));
  if (Has(srsMean)) Strings.Add("Mean: " + detail::GeneralText(mean));
  if (Has(srsStdDev)) Strings.Add("StdDev: " + detail::GeneralText(deviation));
  if (Has(srsMinMax)) {
    Strings.Add("Minimum: " + detail::GeneralText(minimum));
    Strings.Add("Maximum: " + detail::GeneralText(maximum));
  }
  if (Has(srsRMS)) Strings.Add("RMS: " + detail::GeneralText(empty ? 0.0 : data.RMS()));
  if (Has(srsPeak)) Strings.Add("Peak: " + detail::GeneralText(peak));
  if (Has(srsCrest)) Strings.Add("CREST: " + detail::GeneralText(deviation != 0.0 ? peak / deviation : 0.0));
  if (Has(srsSkewness)) Strings.Add("Skewness: " + detail::GeneralText(empty ? 0.0 : data.Skewness(mean, deviation)));
  if (Has(srsKurtosis)) Strings.Add("Kurtosis: " + detail::GeneralText(empty ? 0.0 : data.Kurtosis(mean, deviation)));
  Strings.Add("");
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

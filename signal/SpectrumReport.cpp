// TSpectrumReport: the report settings of a spectrum analyser.
// Tested by: signal/tests/SpectrumAnalyzerTest.cpp.
#include "signal/SpectrumReport.h"

#include "numeric/MathCore.h"

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

void TSpectrumReport::BuildReport(classlib::TStrings&) const {}

}  // namespace sig

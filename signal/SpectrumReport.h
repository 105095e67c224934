// TSpectrumReport: the text report of a spectrum analyser (its published
// Report): which sections it holds (ReportItems) and how it writes
// frequencies, amplitudes and phases.
//
// What stands: the settings. The sections come later: until then
// BuildReport appends nothing.
//
// Tested by: signal/tests/SpectrumAnalyzerTest.cpp.
#pragma once

#include <cstdint>
#include <string>

#include "platform/classlib/Persistent.h"

namespace classlib {
class TStrings;
}

namespace sig {

class TSpectrumAnalyzer;

enum TSpectrumReportItems : std::uint8_t {
  sriGeneralInfo,
  sriMarkedPeaks,
  sriFrequencyLines,
  sriPhase,
  sriTHD,
  sriTHDN,
  sriNF,
  sriSFDR,
  sriBandsRMS,
  sriSINAD,
  sriRMS,
  sriSNR,
  sriDateTime,
};

// A set of TSpectrumReportItems: bit i for item i.
using TSpectrumReportSet = std::uint16_t;

class TSpectrumReport : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  // Raises "AOwner = nil" without an owner (kept, not owned).
  explicit TSpectrumReport(TSpectrumAnalyzer* AOwner);

  // properties
  TSpectrumAnalyzer& Owner() const { return *FOwner; }
  TSpectrumReportSet ReportItems() const { return FReportItems; }
  void SetReportItems(TSpectrumReportSet Value) { FReportItems = Value; }
  const std::string& FrequencyFormat() const { return FFrequencyFormat; }
  void SetFrequencyFormat(const std::string& Value) { FFrequencyFormat = Value; }
  const std::string& AmplitudeFormat() const { return FAmplitudeFormat; }
  void SetAmplitudeFormat(const std::string& Value) { FAmplitudeFormat = Value; }
  const std::string& PhaseFormat() const { return FPhaseFormat; }
  void SetPhaseFormat(const std::string& Value) { FPhaseFormat = Value; }

  // operations
  // Appends the report's lines to Strings (nothing yet).
  void BuildReport(classlib::TStrings& Strings) const;

 private:
  TSpectrumAnalyzer* FOwner;
  TSpectrumReportSet FReportItems = 0;
  std::string FFrequencyFormat;
  std::string FAmplitudeFormat;
  std::string FPhaseFormat;
};

}  // namespace sig

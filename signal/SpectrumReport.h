// TSpectrumReport: the text report of a spectrum analyser (its published
// Report): its timing and settings, the marked peaks, the band levels, the
// distortion and noise measures and the spectral lines, sections chosen by
// ReportItems; frequencies, amplitudes and phases written by their formats
// (an empty format gives 15 significant digits).
//
// Lines are exact texts: each label keeps its blank before the value, each
// unit its blank before it, and a blank line closes each section. An
// analyser without an input leaves out the lines read from the input
// (samples analysed, signal length, frequency resolution). A measure that
// cannot be computed prints "n/a".
//
// Tested by: signal/tests/SpectrumReportTest.cpp.
#pragma once

#include <cstdint>
#include <string>

#include "platform/classlib/Persistent.h"

namespace classlib {
class TStrings;
}

namespace sig {

class TSpectrum;
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
  // Appends the report's lines to Strings. The measures leave the marks
  // sorted as they need them (see TSpectrum).
  void BuildReport(classlib::TStrings& Strings);

 private:
  bool Has(TSpectrumReportItems Item) const { return (FReportItems >> Item) & 1u; }
  void AddGeneralInfo(classlib::TStrings& Strings) const;
  void AddMarkedPeaks(classlib::TStrings& Strings, const std::string& PhaseHeader) const;
  // The marks or the lines (Text) as a table with the report's formats.
  using TTableText = void (TSpectrum::*)(classlib::TStrings&, bool, const std::string&, const std::string&,
                                         const std::string&, const std::string&, const std::string&,
                                         const std::string&) const;
  void AddTable(classlib::TStrings& Strings, TTableText Text, const std::string& PhaseHeader) const;
  void AddStatistics(classlib::TStrings& Strings);

  TSpectrumAnalyzer* FOwner;
  TSpectrumReportSet FReportItems = 0;
  std::string FFrequencyFormat;
  std::string FAmplitudeFormat;
  std::string FPhaseFormat;
};

}  // namespace sig

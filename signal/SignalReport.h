// TSignalReport: the text report of a time-signal analyser (its published
// Report): its timing, its processing settings, statistics of its Data, its
// marked values and its samples, sections chosen by ReportItems.
//
// Lines are exact texts: each label keeps its blank before the value; a
// blank line closes each section. Numbers: the general format with 15
// significant digits, or TimeFormat / AmplitudeFormat for the tables (an
// empty format gives 15 significant digits). The settings section is always
// written.
//
// Tested by: signal/tests/SignalReportTest.cpp.
#pragma once

#include <cstdint>
#include <string>

#include "numeric/Vec.h"
#include "platform/classlib/Persistent.h"

namespace classlib {
class TStrings;
}

namespace sig {

class TSignalAnalyzer;

enum TSignalReportItems : std::uint8_t {
  srsGeneralInfo,
  srsMarkedValues,
  srsSignalValues,
  srsDateTime,
  srsMean,
  srsStdDev,
  srsRMS,
  srsPeak,
  srsCrest,
  srsSkewness,
  srsKurtosis,
  srsMinMax,
};

// A set of TSignalReportItems: bit i for item i.
using TSignalReportSet = std::uint16_t;

// The statistics of a signal's real samples that the report and the time
// analyser's window show, each computed only when asked for (0 otherwise, and
// for no samples): the mean always; the standard deviation about it (n - 1)
// with Deviation; the extremes with Extremes; Peak, the larger distance of
// the mean to an extreme (with Extremes); Crest, Peak over the deviation (0
// when the deviation is 0; with both); RMS, Skewness and Kurtosis (the
// moments about the mean in units of the deviation) with Moments.
struct TSignalStatistics {
  double Mean = 0.0;
  double StdDev = 0.0;
  double Minimum = 0.0;
  double Maximum = 0.0;
  double Peak = 0.0;
  double Crest = 0.0;
  double RMS = 0.0;
  double Skewness = 0.0;
  double Kurtosis = 0.0;
};
TSignalStatistics SignalStatistics(const numeric::TVec& Data, bool Deviation, bool Extremes, bool Moments);

class TSignalReport : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  // Raises "AOwner = nil" without an owner (kept, not owned).
  explicit TSignalReport(TSignalAnalyzer* AOwner);

  // properties
  TSignalAnalyzer& Owner() const { return *FOwner; }
  TSignalReportSet ReportItems() const { return FReportItems; }
  void SetReportItems(TSignalReportSet Value) { FReportItems = Value; }
  const std::string& TimeFormat() const { return FTimeFormat; }
  void SetTimeFormat(const std::string& Value) { FTimeFormat = Value; }
  const std::string& AmplitudeFormat() const { return FAmplitudeFormat; }
  void SetAmplitudeFormat(const std::string& Value) { FAmplitudeFormat = Value; }

  // operations
  // Appends the report's lines to Strings.
  void BuildReport(classlib::TStrings& Strings) const;

 private:
  bool Has(TSignalReportItems Item) const { return (FReportItems >> Item) & 1u; }
  void AddSettings(classlib::TStrings& Strings) const;
  void AddStatistics(classlib::TStrings& Strings) const;

  TSignalAnalyzer* FOwner;
  TSignalReportSet FReportItems = 0;
  std::string FTimeFormat;
  std::string FAmplitudeFormat;
};

}  // namespace sig

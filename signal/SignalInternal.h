// Helpers shared by the signal layer's sources (not part of its interface):
// float-to-index conversions that never meet undefined behaviour, the
// column padding and number and date texts of the text reports, and the
// analysers' windows.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "dsp/SignalUtils.h"
#include "signal/Analysis.h"
#include "signal/SpectrumStats.h"

namespace sig::detail {

// X rounded by Round (std::nearbyint: halves to even; std::trunc: toward
// zero) as a 64-bit index; NaN gives 0 and the infinities the extremes of
// the 32-bit range, so that a clamp that follows always sees a number.
inline std::int64_t ToIndex(double X, double (*Round)(double)) {
  if (std::isnan(X)) return 0;
  constexpr double lo = std::numeric_limits<std::int32_t>::min();
  constexpr double hi = std::numeric_limits<std::int32_t>::max();
  if (X <= lo) return static_cast<std::int64_t>(lo);
  if (X >= hi) return static_cast<std::int64_t>(hi);
  return static_cast<std::int64_t>(Round(X));
}

inline std::int64_t RoundIndex(double X) { return ToIndex(X, [](double v) { return std::nearbyint(v); }); }
inline std::int64_t TruncIndex(double X) { return ToIndex(X, [](double v) { return std::trunc(v); }); }

// Index held within 0 .. Length-1; Length must be at least 1.
// X clamped into the range of a 32-bit integer.
inline std::int32_t ToInt32(std::int64_t X) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(X, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

inline std::int32_t ClampIndex(std::int64_t Index, std::int32_t Length) {
  if (Index < 0) return 0;
  if (Index >= Length) return Length - 1;
  return static_cast<std::int32_t>(Index);
}

// Text padded with blanks to the report column width.
std::string PadColumn(const std::string& Text);
// The reports' general number format: 15 significant digits.
std::string GeneralText(double X);
// The reports' "Date/time: " value: now, in the class library's short date
// and long time formats.
std::string NowText();

// W := the analysers' window of Type over Length real samples, by
// dsp::ApplyWindow with Blackman's -0.16, Kaiser's beta for the side-lobe
// attenuation, Chebyshev's attenuation or the exponential window's end
// value.
void BuildWindow(numeric::TVec& W, std::int32_t Length, dsp::TSignalWindowType Type, double SidelobeAtt,
                 double ExpWindow);
// The value names of TSignalWindowType in the property tables.
std::vector<std::string> WindowTypeNames();

// Holds back a component's chart notification for a scope, restoring what
// it was on every path.
class TSilentScope {
 public:
  explicit TSilentScope(TAnalysis& Component) : FComponent(Component), FWas(Component.SuspendNotify()) {
    Component.SetSuspendNotify(true);
  }
  ~TSilentScope() { FComponent.SetSuspendNotify(FWas); }
  TSilentScope(const TSilentScope&) = delete;
  TSilentScope& operator=(const TSilentScope&) = delete;

 private:
  TAnalysis& FComponent;
  bool FWas;
};

// The averaging modes in which the cross- and bispectrum analysers average
// their frames (every other mode takes the frame alone).
inline bool MeanAveraging(TAveraging Mode) {
  return Mode == avLinearInf || Mode == avExponentInf || Mode == avLinear;
}

// The weight n of the next frame of a running average of those modes:
// Averaged + 1, or ExpDecay for avExponentInf; at most the 32-bit range.
inline double AverageWeight(const TSpectrumStats& Stats) {
  if (Stats.Averaging() == avExponentInf) return Stats.ExpDecay();
  return static_cast<double>(Stats.Averaged()) + 1.0;
}

// Avg := (Avg (n - 1) + Src) / n, the first frame (Count 0) or a weight of
// 1 or less copied.
inline void RunningAverage(numeric::TVec& Avg, const numeric::TVec& Src, std::uint32_t Count, double n) {
  if (Count == 0 || !(n > 1.0)) {
    Avg.Copy(Src);
    return;
  }
  constexpr double most = std::numeric_limits<std::int32_t>::max();
  dsp::AverageVec(Avg, Src, 1, static_cast<std::int32_t>(std::min(n, most)));
}

}  // namespace sig::detail

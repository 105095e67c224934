// TSpectrum's distortion and noise measures from the marked peaks: THD,
// THDN, NF, SFDR, SINAD, SNR and BandRMS.
// Tested by: signal/tests/SpectrumMeasuresTest.cpp.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

#include "dsp/SignalUtils.h"
#include "numeric/MathCore.h"
#include "signal/SignalInternal.h"
#include "signal/Spectrum.h"

namespace sig {

namespace {

// Where the gap ranges of a measure end: the first range runs from line 0 to
// lo_0 + FirstEnd, each middle one from hi_k to lo_k+1 + MiddleEnd, the last
// from hi_last to the last line.
struct TGapEnds {
  std::int32_t FirstEnd;
  std::int32_t MiddleEnd;
};

struct TGap {
  double Sum = 0.0;
  // The measure's line count: the sum of (end - start) over the ranges.
  std::int64_t Count = 0;
};

// A result that cannot stand for a value (a zero fundamental, no noise
// lines) reads as "cannot be computed", never as a perfect 0.
double Finite(double X) { return std::isfinite(X) ? X : NAN; }

// Runs Measure, turning any failure into NaN.
double Guarded(const std::function<double()>& Measure) {
  try {
    return Finite(Measure());
  } catch (const classlib::Exception&) {
    return NAN;
  }
}

// The sum of Term(Amplt[i]) over the gaps between the marks, which must be
// sorted by frequency. Every range is held within the spectrum.
TGap GapSum(const TSpectrum& Spectrum, double R, TGapEnds Ends, bool Square) {
  const numeric::TVec& amplt = Spectrum.Amplt();
  const double res = Spectrum.HzRes();
  if (!(res > 0.0) || !std::isfinite(res) || amplt.Complex()) numeric::RaiseError("No frequency grid");
  const std::int64_t L = amplt.Length();
  const double h = res * Spectrum.MainlobeWidth() * R / 2.0;
  const double start = Spectrum.StartFrequency();
  const double* a = amplt.Values();
  TGap gap;
  const auto range = [&](std::int64_t First, std::int64_t Last) {
    First = std::max<std::int64_t>(First, 0);
    Last = std::min<std::int64_t>(Last, L - 1);
    if (Last < First) return;
    gap.Count += Last - First;
    long double sum = 0.0L;
    for (std::int64_t i = First; i <= Last; ++i) sum += Square ? static_cast<long double>(a[i]) * a[i] : std::fabs(a[i]);
    gap.Sum += static_cast<double>(sum);
  };
  const TMarkList& marks = Spectrum.Marks();
  const auto lo = [&](std::int32_t k) { return detail::RoundIndex((marks.GetMark(k).First - start - h) / res); };
  const auto hi = [&](std::int32_t k) { return detail::RoundIndex((marks.GetMark(k).First - start + h) / res); };
  range(0, lo(0) + Ends.FirstEnd);
  for (std::int32_t k = 0; k + 1 < marks.Count(); ++k) range(hi(k), lo(k + 1) + Ends.MiddleEnd);
  range(hi(marks.Count() - 1), L - 1);
  return gap;
}

// Sums of the marks' amplitudes (their squares, their magnitudes), all of
// them or all but the last.
double MarkSum(const TMarkList& Marks, bool Square, bool SkipLast) {
  long double sum = 0.0L;
  const std::int32_t n = Marks.Count() - (SkipLast ? 1 : 0);
  for (std::int32_t k = 0; k < n; ++k) {
    const double a = Marks.GetMark(k).Second;
    sum += Square ? static_cast<long double>(a) * a : std::fabs(a);
  }
  return static_cast<double>(sum);
}

}  // namespace

double TSpectrum::THD() {
  if (FMarks.Count() == 0) return 0.0;
  return Guarded([&] {
    FMarks.SortByFirst();
    const std::int32_t n = std::min(FHarmonics, FMarks.Count());
    long double sum = 0.0L;
    for (std::int32_t k = 1; k < n; ++k) {
      const double a = FMarks.GetMark(k).Second;
      sum += static_cast<long double>(a) * a;
    }
    return 100.0 * std::sqrt(static_cast<double>(sum)) / std::fabs(FMarks.GetMark(0).Second);
  });
}

double TSpectrum::THDN(double R) {
  if (FMarks.Count() == 0) return 0.0;
  return Guarded([&] {
    FMarks.SortByFirst();
    const TGap gap = GapSum(*this, R, {-1, 0}, true);
    FMarks.SortBySecond();
    const double largest = FMarks.GetMark(FMarks.Count() - 1).Second;
    const double g = gap.Sum / R + MarkSum(FMarks, true, true);
    return 100.0 * std::sqrt(g) / std::fabs(largest);
  });
}

double TSpectrum::NF(double R) {
  if (FMarks.Count() == 0) return 0.0;
  return Guarded([&] {
    FMarks.SortByFirst();
    const TGap gap = GapSum(*this, R, {0, 0}, false);
    FMarks.SortBySecond();
    const double largest = FMarks.GetMark(FMarks.Count() - 1).Second;
    return 20.0 * std::log10(gap.Sum / (static_cast<double>(gap.Count) * R * largest));
  });
}

double TSpectrum::SFDR() {
  if (FMarks.Count() < 2) return 0.0;
  return Guarded([&] {
    FMarks.SortBySecond();
    const double largest = FMarks.GetMark(FMarks.Count() - 1).Second;
    const double second = FMarks.GetMark(FMarks.Count() - 2).Second;
    FMarks.SortByFirst();
    return 20.0 * std::log10(largest / second);
  });
}

double TSpectrum::SINAD(double R) {
  if (FMarks.Count() == 0) return 0.0;
  return Guarded([&] {
    FMarks.SortByFirst();
    const TGap gap = GapSum(*this, R, {-1, -1}, false);
    FMarks.SortBySecond();
    const double largest = FMarks.GetMark(FMarks.Count() - 1).Second;
    const double others = MarkSum(FMarks, false, true);
    FMarks.SortByFirst();
    return 20.0 * std::log10(largest / (gap.Sum / R + others));
  });
}

double TSpectrum::SNR(double R) {
  if (FMarks.Count() == 0) return 0.0;
  return Guarded([&] {
    FMarks.SortByFirst();
    const TGap gap = GapSum(*this, R, {-1, 0}, false);
    return 20.0 * std::log10(MarkSum(FMarks, false, false) / (gap.Sum / R));
  });
}

double TSpectrum::BandRMS(double R) {
  return Guarded([&] {
    if (FMarks.Count() == 0) {
      const double b = dsp::BandRms(*FAmplt, dsp::spAmplt, false, 0, -1);
      return std::sqrt(b * b / R);
    }
    FMarks.SortByFirst();
    const TGap gap = GapSum(*this, R, {0, 0}, true);
    return std::sqrt(MarkSum(FMarks, true, false) + gap.Sum / R) * numeric::INVSQRT2;
  });
}

}  // namespace sig

// TSpectrumStats: the mean, peak and decay averages of the analysers'
// frames, and the standard deviation and confidence limits of the mean.
// Tested by: signal/tests/SpectrumStatsTest.cpp.
#include "signal/SpectrumStats.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "dsp/SignalUtils.h"
#include "numeric/Probabilities.h"
#include "signal/Spectrum.h"

namespace sig {

namespace {

constexpr double MinConfidence = 1.0;
constexpr double MaxConfidence = 99.99999;

double LimitFactorOf(double ConfidenceInterval) {
  return std::fabs(numeric::NormalCDFInv((1.0 - ConfidenceInterval / 100.0) / 2.0, 0.0, 1.0));
}

bool LinearMean(TAveraging Mode) { return Mode == avLinearInf || Mode == avLinear; }

// Held := the current value where it is larger or where the held one has
// outlived MaxAge frames; the age of every other held value grows by one.
void HoldPeaks(const numeric::TVec& Current, numeric::TVec& Held, numeric::TVec& Age, double MaxAge) {
  const std::int32_t n = std::min({Current.Length(), Held.Length(), Age.Length()});
  const double* cur = Current.Values();
  double* held = Held.Values();
  double* age = Age.Values();
  for (std::int32_t i = 0; i < n; ++i) {
    if (age[i] > MaxAge || cur[i] > held[i]) {
      held[i] = cur[i];
      age[i] = 0.0;
    } else {
      age[i] += 1.0;
    }
  }
}

// Held decays by Decay a frame until a larger current value replaces it.
void DecayPeaks(const numeric::TVec& Current, numeric::TVec& Held, double Decay) {
  const std::int32_t n = std::min(Current.Length(), Held.Length());
  const double* cur = Current.Values();
  double* held = Held.Values();
  for (std::int32_t i = 0; i < n; ++i) held[i] = cur[i] <= held[i] ? held[i] * Decay : cur[i];
}

// Mean +- Factor StdDev.
void Limit(numeric::TVec& Dest, const numeric::TVec& Mean, const numeric::TVec& StdDev, double Factor) {
  Dest.Copy(Mean);
  Dest.Add(StdDev, Factor);
}

}  // namespace

const classlib::TClassInfo& TSpectrumStats::StaticClassInfo() {
  // The result lists are no parameters and are not published; Averaged
  // follows the averaging settings, which restart it as they are read.
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSpectrumStats>("TSpectrumStats", TPersistent::StaticClassInfo())
          .Property("ExpDecay", &TSpectrumStats::ExpDecay, &TSpectrumStats::SetExpDecay, 5)
          .Property("CalcStdDev", &TSpectrumStats::CalcStdDev, &TSpectrumStats::SetCalcStdDev, false)
          .Property("CalcLimits", &TSpectrumStats::CalcLimits, &TSpectrumStats::SetCalcLimits, false)
          .Property("ConfidenceInterval", &TSpectrumStats::ConfidenceInterval,
                    &TSpectrumStats::SetConfidenceInterval, 99.0)
          .Property("Averaged", &TSpectrumStats::Averaged, &TSpectrumStats::SetAveraged, 0)
          .TypeName("Cardinal")
          .Property("Averages", &TSpectrumStats::Averages, &TSpectrumStats::SetAverages, 30)
          .TypeName("Cardinal")
          .Property("Averaging", &TSpectrumStats::Averaging, &TSpectrumStats::SetAveraging, avNone)
          .TypeName("TAveraging")
          .Names({"avNone", "avLinearInf", "avExponentInf", "avLinear", "avPeakHold", "avPeakHoldInf",
                  "avPeakAndDecay", "avCplxLinear", "avCplxLinearInf", "avCplxExponentInf"})
          .Build();
  return info;
}

TSpectrumStats::TSpectrumStats(TSpectrum& Owner)
    : FOwner(Owner),
      FAveragedSpectrum(std::make_unique<TSpectrum>()),
      FUpperLimit(std::make_unique<numeric::TVecList>()),
      FLowerLimit(std::make_unique<numeric::TVecList>()),
      FStdDev(std::make_unique<numeric::TVecList>()),
      FWork(std::make_unique<numeric::TVecList>()),
      FLimitFactor(LimitFactorOf(FConfidenceInterval)) {}

TSpectrumStats::~TSpectrumStats() = default;

void TSpectrumStats::SetExpDecay(std::int32_t Value) {
  if (Value == FExpDecay) return;
  FExpDecay = std::max(Value, 1);
  FAveraged = 0;
}

void TSpectrumStats::SetCalcStdDev(bool Value) {
  if (Value == FCalcStdDev) return;
  FCalcStdDev = Value;
  if (Value) FAveraged = 0;
}

void TSpectrumStats::SetConfidenceInterval(double Value) {
  if (std::isnan(Value) || Value == FConfidenceInterval) return;
  FConfidenceInterval = std::clamp(Value, MinConfidence, MaxConfidence);
  FLimitFactor = LimitFactorOf(FConfidenceInterval);
}

void TSpectrumStats::SetAveraging(TAveraging Value) {
  if (Value == FAveraging) return;
  FAveraging = Value;
  FAveraged = 0;
}

bool TSpectrumStats::ComplexAveraging() const {
  return FAveraging == avCplxLinear || FAveraging == avCplxLinearInf || FAveraging == avCplxExponentInf;
}

void TSpectrumStats::CountFrame() {
  FAveraged = FAveraged == std::numeric_limits<std::uint32_t>::max() ? 0 : FAveraged + 1;
}

void TSpectrumStats::Reset() {
  FAveraged = 0;
  if (FAveraging == avPeakHold || FAveraging == avPeakHoldInf || FAveraging == avPeakAndDecay) {
    for (std::int32_t i = 0; i < FWork->Count(); ++i) FWork->Items(i).SetZero();
    FAveragedSpectrum->ClearSpectrum();
  }
}

void TSpectrumStats::Update() {
  // The analyser averages these and counts the frames itself: nothing here
  // may restart its count.
  if (ComplexAveraging()) return;
  const TSpectrum& avg = *FAveragedSpectrum;
  if (avg.Amplt().Length() != FOwner.Amplt().Length() || avg.Phase().Length() != FOwner.Phase().Length())
    FAveraged = 0;
  if (!FCalcStdDev || !LinearMean(FAveraging)) {
    FStdDev->SetCount(0);
    FUpperLimit->SetCount(0);
    FLowerLimit->SetCount(0);
  }
  switch (FAveraging) {
    case avNone:
      FAveraged = 0;
      return;
    case avLinearInf:
    case avExponentInf:
    case avLinear:
      UpdateMean();
      break;
    case avPeakHold:
    case avPeakHoldInf:
      UpdatePeakHold();
      break;
    case avPeakAndDecay:
      UpdatePeakAndDecay();
      break;
    default:
      return;
  }
  CountFrame();
}

void TSpectrumStats::UpdateMean() {
  TSpectrum& avg = *FAveragedSpectrum;
  const numeric::TVec& amplt = FOwner.Amplt();
  const numeric::TVec& phase = FOwner.Phase();
  const bool deviation = FCalcStdDev && LinearMean(FAveraging);
  if (FAveraged == 0) {
    avg.CopySpectrum(FOwner);
    if (deviation) {
      FStdDev->SetCount(2);
      FWork->SetCount(4);
      FWork->Items(0).Sqr(amplt);
      FWork->Items(1).Sqr(phase);
    } else {
      FWork->SetCount(0);
    }
    return;
  }
  const double n = LinearMean(FAveraging) ? static_cast<double>(FAveraged) + 1.0 : static_cast<double>(FExpDecay);
  avg.ScaleSpectrum(n - 1.0);
  avg.AddSpectrum(FOwner);
  const bool withPhase = FOwner.PhaseMode() != pmIgnore;
  if (deviation && FWork->Count() == 4) {
    numeric::TVec& sumSq = FWork->Items(0);
    numeric::TVec& sumSqPhase = FWork->Items(1);
    sumSq.Add(FWork->Items(2).Sqr(amplt));
    sumSqPhase.Add(FWork->Items(3).Sqr(phase));
    // The sums hold every frame since the restart, this one included.
    const std::int32_t m = static_cast<std::int32_t>(
        std::min<std::uint64_t>(static_cast<std::uint64_t>(FAveraged) + 1, std::numeric_limits<std::int32_t>::max()));
    FStdDev->SetCount(2);
    dsp::StdDevFromSums(sumSq, avg.Amplt(), m, FStdDev->Items(0));
    if (withPhase)
      dsp::StdDevFromSums(sumSqPhase, avg.Phase(), m, FStdDev->Items(1));
    else
      FStdDev->Items(1).SetLength(0);
  }
  avg.ScaleSpectrum(1.0 / n);
  if (deviation && FCalcLimits && FStdDev->Count() == 2 && FStdDev->Items(0).Length() == avg.Amplt().Length()) {
    FUpperLimit->SetCount(2);
    FLowerLimit->SetCount(2);
    Limit(FUpperLimit->Items(0), avg.Amplt(), FStdDev->Items(0), FLimitFactor);
    Limit(FLowerLimit->Items(0), avg.Amplt(), FStdDev->Items(0), -FLimitFactor);
    if (withPhase && FStdDev->Items(1).Length() == avg.Phase().Length()) {
      Limit(FUpperLimit->Items(1), avg.Phase(), FStdDev->Items(1), FLimitFactor);
      Limit(FLowerLimit->Items(1), avg.Phase(), FStdDev->Items(1), -FLimitFactor);
    } else {
      FUpperLimit->Items(1).SetLength(0);
      FLowerLimit->Items(1).SetLength(0);
    }
  }
}

void TSpectrumStats::StartHeld() {
  TSpectrum& avg = *FAveragedSpectrum;
  avg.CopyTiming(FOwner);
  avg.Amplt().SetZero();
  // The held phase follows the owner's, which is empty when it keeps none.
  avg.Phase().Size(FOwner.Phase().Length(), false);
  avg.Phase().SetZero();
}

void TSpectrumStats::UpdatePeakHold() {
  TSpectrum& avg = *FAveragedSpectrum;
  // Ages that a stream's count never built start afresh too.
  if (FWork->Count() < 2) FAveraged = 0;
  if (FAveraged == 0) {
    StartHeld();
    FWork->SetCount(2);
    FWork->Items(0).Size(FOwner.Amplt().Length(), false);
    FWork->Items(0).SetZero();
    FWork->Items(1).Size(FOwner.Phase().Length(), false);
    FWork->Items(1).SetZero();
  }
  const double maxAge = static_cast<double>(FAverages);
  HoldPeaks(FOwner.Amplt(), avg.Amplt(), FWork->Items(0), maxAge);
  HoldPeaks(FOwner.Phase(), avg.Phase(), FWork->Items(1), maxAge);
}

void TSpectrumStats::UpdatePeakAndDecay() {
  TSpectrum& avg = *FAveragedSpectrum;
  if (FAveraged == 0) StartHeld();
  const double d = 1.0 - 1.0 / FExpDecay;
  DecayPeaks(FOwner.Amplt(), avg.Amplt(), d);
  DecayPeaks(FOwner.Phase(), avg.Phase(), d);
}

}  // namespace sig

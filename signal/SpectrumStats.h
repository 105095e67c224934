// TSpectrumStats: the averaging stage of the spectrum analysers. After each
// frame's amplitude and phase exist, the analyser calls Update; while
// Averaging is not avNone it then copies AveragedSpectrum over its own, so
// that everything downstream sees the average.
//
// Modes: the mean modes avLinearInf (all frames since the restart),
// avLinear (the first Averages frames, then the analyser stops computing)
// and avExponentInf (weight 1/ExpDecay on the newest frame); the peak modes
// avPeakHold (a held value lives Averages + 1 frames at most), avPeakHoldInf
// and avPeakAndDecay (held values decay by 1 - 1/ExpDecay a frame); the
// complex modes, which the analyser averages itself before amplitude and
// phase are derived (Update leaves them alone).
//
// With CalcStdDev the linear mean modes (avLinearInf, avLinear) also keep
// the standard deviation of every line over the frames taken (StdDev, from
// the second frame on) and, with CalcLimits, Mean +- z StdDev (UpperLimit,
// LowerLimit), z the two-sided normal quantile of ConfidenceInterval. Each
// list holds the amplitude's vector (0) and, when the analyser keeps a
// phase, the phase's (1). The exponential mode has no sample of equal
// weights to take a deviation of: its lists stay empty.
//
// Averaged counts the frames taken since the last restart and wraps to 0
// after 2^32 - 1.
//
// Tested by: signal/tests/SpectrumStatsTest.cpp.
#pragma once

#include <cstdint>
#include <memory>

#include "numeric/VecList.h"
#include "platform/classlib/Persistent.h"

namespace sig {

class TSpectrum;

enum TAveraging : std::uint8_t {
  avNone,
  avLinearInf,
  avExponentInf,
  avLinear,
  avPeakHold,
  avPeakHoldInf,
  avPeakAndDecay,
  avCplxLinear,
  avCplxLinearInf,
  avCplxExponentInf,
};

class TSpectrumStats : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  // Owner is the analyser whose frames are averaged (kept, not owned); the
  // stats object is its published Stats.
  explicit TSpectrumStats(TSpectrum& Owner);
  ~TSpectrumStats() override;

  // properties
  numeric::TVecList& UpperLimit() const { return *FUpperLimit; }
  numeric::TVecList& LowerLimit() const { return *FLowerLimit; }
  numeric::TVecList& StdDev() const { return *FStdDev; }
  std::int32_t ExpDecay() const { return FExpDecay; }
  // On a change: stores max(Value, 1) and restarts.
  void SetExpDecay(std::int32_t Value);
  bool CalcStdDev() const { return FCalcStdDev; }
  // On a change: stores; switching it on restarts.
  void SetCalcStdDev(bool Value);
  bool CalcLimits() const { return FCalcLimits; }
  void SetCalcLimits(bool Value) { FCalcLimits = Value; }
  // In percent.
  double ConfidenceInterval() const { return FConfidenceInterval; }
  // On a change: stores the value held within [1, 99.99999] and the limit
  // factor that belongs to it; a NaN changes nothing.
  void SetConfidenceInterval(double Value);
  std::uint32_t Averaged() const { return FAveraged; }
  void SetAveraged(std::uint32_t Value) { FAveraged = Value; }
  std::uint32_t Averages() const { return FAverages; }
  void SetAverages(std::uint32_t Value) { FAverages = Value; }
  TAveraging Averaging() const { return FAveraging; }
  // On a change: stores and restarts.
  void SetAveraging(TAveraging Value);
  // z: |the inverse standard normal distribution at (1 - CI / 100) / 2|.
  double LimitFactor() const { return FLimitFactor; }
  // The average the owner copies over its own spectrum.
  TSpectrum& AveragedSpectrum() const { return *FAveragedSpectrum; }

  // operations
  // Averaged := 0; the peak modes also clear their held values and ages.
  void Reset();
  // One more frame taken: Averaged + 1, or 0 after 2^32 - 1. The analyser's
  // complex modes count through it too.
  void CountFrame();
  // True for the modes the analyser averages as complex spectra.
  bool ComplexAveraging() const;

  // introduced virtual
  // One averaging step over the owner's current Amplt and Phase.
  virtual void Update();

 private:
  void UpdateMean();
  void UpdatePeakHold();
  void UpdatePeakAndDecay();
  // The averaged spectrum takes the owner's dimensions, cleared to zero.
  void StartHeld();

  TSpectrum& FOwner;
  std::unique_ptr<TSpectrum> FAveragedSpectrum;
  std::unique_ptr<numeric::TVecList> FUpperLimit;
  std::unique_ptr<numeric::TVecList> FLowerLimit;
  std::unique_ptr<numeric::TVecList> FStdDev;
  // Peak modes: the ages of the held amplitudes (0) and phases (1). Linear
  // mean modes with CalcStdDev: the sums of squared amplitudes (0) and
  // phases (1), and the squares of the current frame (2, 3).
  std::unique_ptr<numeric::TVecList> FWork;
  std::int32_t FExpDecay = 5;
  bool FCalcStdDev = false;
  bool FCalcLimits = false;
  double FConfidenceInterval = 99.0;
  double FLimitFactor = 0.0;
  std::uint32_t FAveraged = 0;
  std::uint32_t FAverages = 30;
  TAveraging FAveraging = avNone;
};

}  // namespace sig

// TSpectrumPeaksAnalyzer: the peaks object of a spectrum analyser (its
// published Peaks), which keeps the analyser's marks, and its interpolation
// settings, TSpectrumPeakInterpolation (Peaks.Interpolation).
//
// What stands: the published settings with their defaults and setters, the
// order scaling of the marks, Update re-reading the amplitude (AmpltAt) and
// phase (PhaseAt) of every mark at its frequency, and RescaleMarkAmplitudes.
// The trace methods other than ptNone and the frequency interpolation come
// later; until then every trace method re-reads the marks as ptNone does.
// The analyser takes its exact path (evaluation at any frequency) while
// Interpolation.Method is not imNone.
//
// Tested by: signal/tests/SpectrumAnalyzerTest.cpp.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/classlib/Persistent.h"

namespace sig {

class TSpectrumAnalyzer;

enum TInterpolationPrecision : std::uint8_t { ip2, ip4, ip6, ip8 };
enum TInterpolationMethod : std::uint8_t {
  imNone,
  imNumeric,
  imQuadratic,
  imBarycentric,
  imQuinnFirst,
  imQuinnSecond,
  imJain,
};
enum TPeakTraceMethod : std::uint8_t { ptNone, ptCurrent, ptLargest, ptAmpltHarmonics, ptFreqHarmonics };
enum TOrderTracing : std::uint8_t { otNone, otFirstPeak, otNthPeak, otLargest };

class TSpectrumPeakInterpolation : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  TSpectrumPeakInterpolation() = default;

  // properties
  TInterpolationPrecision Precision() const { return FPrecision; }
  // Stores the precision and its divisor.
  void SetPrecision(TInterpolationPrecision Value);
  // 10^2, 10^4, 10^6 or 10^8 by Precision.
  double PrecisionDivisor() const { return FPrecisionDivisor; }
  bool Harmonics() const { return FHarmonics; }
  void SetHarmonics(bool Value) { FHarmonics = Value; }
  TInterpolationMethod Method() const { return FMethod; }
  void SetMethod(TInterpolationMethod Value) { FMethod = Value; }

 private:
  TInterpolationPrecision FPrecision = ip6;
  double FPrecisionDivisor = 1e6;
  bool FHarmonics = false;
  TInterpolationMethod FMethod = imNone;
};

class TSpectrumPeaksAnalyzer : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  // The owner is kept, not owned.
  explicit TSpectrumPeaksAnalyzer(TSpectrumAnalyzer& Owner);
  ~TSpectrumPeaksAnalyzer() override;

  // properties
  bool Active() const { return FActive; }
  void SetActive(bool Value) { FActive = Value; }
  TSpectrumPeakInterpolation& Interpolation() const { return *FInterpolation; }
  std::int32_t LargestCount() const { return FLargestCount; }
  // Stores max(Value, 0).
  void SetLargestCount(std::int32_t Value);
  TPeakTraceMethod TraceMethod() const { return FTraceMethod; }
  void SetTraceMethod(TPeakTraceMethod Value) { FTraceMethod = Value; }
  // In percent of the spectrum's bandwidth.
  double TraceInterval() const { return FTraceInterval; }
  // Stores the value held within [0, 100]; a NaN as 0.
  void SetTraceInterval(double Value);
  // The owning spectrum's Harmonics.
  std::int32_t HarmonicsCount() const;
  void SetHarmonicsCount(std::int32_t Value);
  // In Hz.
  double BandwidthL() const { return FBandwidthL; }
  // Stores; the lower line limit follows (0 without an input or a spacing).
  void SetBandwidthL(double Value);
  double BandwidthH() const { return FBandwidthH; }
  // Stores; the upper line limit follows (the last line without an input
  // or a spacing).
  void SetBandwidthH(double Value);
  std::int32_t LowerLimit() const { return FLowerLimit; }
  std::int32_t UpperLimit() const { return FUpperLimit; }
  bool UseFullBandwidth() const { return FUseFullBandwidth; }
  void SetUseFullBandwidth(bool Value) { FUseFullBandwidth = Value; }
  double OrderFrequency() const { return FOrderFrequency; }
  // Ignored unless Value > 0 and new; while OrderActive the marks are
  // scaled to the new order and the owner's axis follows.
  void SetOrderFrequency(double Value);
  TOrderTracing OrderTracing() const { return FOrderTracing; }
  void SetOrderTracing(TOrderTracing Value) { FOrderTracing = Value; }
  std::int32_t OrderPeakNumber() const { return FOrderPeakNumber; }
  // Stores max(Value, 1).
  void SetOrderPeakNumber(std::int32_t Value);
  bool OrderActive() const { return FOrderActive; }
  // On a change: switching on divides every mark's frequency by
  // OrderFrequency (the order scale), switching off multiplies it back.
  void SetOrderActive(bool Value);
  // The order scale in force.
  double OrderScale() const { return FOrderScale; }

  // operations
  // While Active: re-reads the amplitude and phase of every mark at its
  // frequency (after the owner's order axis and the line limits follow).
  void Update();
  // Every mark's amplitude converted by the owner's ScaleToLog at its frequency.
  void RescaleMarkAmplitudes();

  // overrides
  // From another TSpectrumPeaksAnalyzer: the interpolation settings, then
  // LargestCount, TraceMethod, TraceInterval, HarmonicsCount, OrderActive,
  // OrderFrequency, OrderTracing and OrderPeakNumber, through the setters.
  void Assign(const classlib::TPersistent& Source) override;

 private:
  TSpectrumAnalyzer& FOwner;
  std::unique_ptr<TSpectrumPeakInterpolation> FInterpolation;
  bool FActive = true;
  std::int32_t FLargestCount = 1;
  TPeakTraceMethod FTraceMethod = ptNone;
  double FTraceInterval = 0.0;
  double FBandwidthL = 0.0;
  double FBandwidthH = 0.0;
  std::int32_t FLowerLimit = 0;
  std::int32_t FUpperLimit = 0;
  bool FUseFullBandwidth = true;
  double FOrderFrequency = 1.0;
  TOrderTracing FOrderTracing = otNone;
  std::int32_t FOrderPeakNumber = 1;
  bool FOrderActive = false;
  double FOrderScale = 1.0;
};

}  // namespace sig

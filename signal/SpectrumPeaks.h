// TSpectrumPeaksAnalyzer: the peaks object of a spectrum analyser (its
// published Peaks), which places, refines and re-reads the analyser's marks
// after every spectrum, and its interpolation settings,
// TSpectrumPeakInterpolation (Peaks.Interpolation).
//
// Update, after the owner's order axis and the line limits follow: the trace
// method (re)places the marks, each mark's frequency is refined between the
// lines (InterpolateFrequency) and its amplitude and phase are read there
// (the owner's AmpltAt and PhaseAt); the owner's MainlobeWidth follows its
// window; and the order frequency tracks the marks.
//
// Interpolation. The peak nearest to a frequency is found by climbing Amplt
// (the owner's SnapToPeak); line k of that peak and its neighbours a, b, c
// (k held within 1 .. Length-2, so that a peak on the first or last line is
// read from the three lines beside the edge) give the refined position. A
// method that would divide by 0 or meets something not finite keeps the
// peak's line.
// The three-line methods (imQuadratic .. imJain) assume the rectangular
// window's main lobe on unpadded lines: another window, a power or complex
// spectrum, or zero padding (a padding ratio other than 1) suspend them to
// imNone. imNumeric and the Quinn methods need the frame's own spectrum:
// averaging or an owner without exact frequencies suspend them.
//
// Harmonic traces place the fundamental F at the largest line of the current
// frame (within the line limits unless UseFullBandwidth) and harmonic h at
// h F, up to the spectrum's stop frequency.
//
// Tested by: signal/tests/SpectrumPeaksTest.cpp, signal/tests/SpectrumAnalyzerTest.cpp.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/classlib/Persistent.h"
#include "signal/MarkList.h"

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
  // See the top of this file.
  void Update();
  // The refined frequency of the peak nearest to Freq by Interpolation's
  // method (or the one it is suspended to).
  double InterpolateFrequency(double Freq) const;
  // Subtracts the tone of mark MarkIndex (its frequency, the spectrum's
  // amplitude and phase there) from the owner's input signal. Raises
  // "Peak interpolation must be numeric and spectrum may not be averaged.
  // Complex spectrum must be available." unless the owner evaluates exact
  // frequencies, does not average and Interpolation.Method is imNumeric;
  // "No peaks have been marked!" without such a mark. Nothing changes then.
  void RemovePeakTone(std::int32_t MarkIndex = 0);
  // Every mark's amplitude converted by the owner's ScaleToLog at its frequency.
  void RescaleMarkAmplitudes();

  // overrides
  // From another TSpectrumPeaksAnalyzer: the interpolation settings, then
  // LargestCount, TraceMethod, TraceInterval, HarmonicsCount, OrderActive,
  // OrderFrequency, OrderTracing and OrderPeakNumber, through the setters.
  void Assign(const classlib::TPersistent& Source) override;

 private:
  // The method InterpolateFrequency applies now.
  TInterpolationMethod MethodInForce() const;
  // The line of the three-line methods for the peak at F, or -1 when the
  // spectrum has fewer than three lines.
  std::int32_t PeakLine(double F) const;
  double InterpolateNumeric(double F) const;
  double InterpolateLines(TInterpolationMethod Method, double F, std::int32_t k) const;
  double InterpolateQuinn(TInterpolationMethod Method, double F, std::int32_t k) const;
  // Frequency F moved to the largest line within TraceInterval around it.
  double SearchNear(double F) const;
  // The mark at F with the owner's amplitude and phase there.
  TMarkRecord MarkAt(double F) const;
  void TraceCurrent();
  void TraceLargest();
  // The marks: F, then its harmonics up to the stop frequency.
  void TraceHarmonics(double F);
  // The frequency of the largest line, within the line limits unless
  // UseFullBandwidth.
  double LargestLineFrequency() const;
  void FollowWindow();
  void TrackOrder();

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

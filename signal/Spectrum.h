// TSpectrum: the frequency-spectrum component, a TAnalysis that owns an
// amplitude vector (Amplt) and a phase vector (Phase) with their frequency
// grid, converts complex spectra into amplitude and phase, integrates and
// differentiates in the frequency domain, and measures distortion and noise
// from its marked peaks.
//
// Timing, with S the side factor (2 for a real, one-sided spectrum, 1 for a
// complex one), L the line count and Z the zero padding:
//   SamplingTime   the duration of the record described = L S / Z / Fs
//   BandWidth      Fs / S;   HzRes = BandWidth / L;   Dt = 1 / Fs
//   line i         lies at StartFrequency + i HzRes
//
// How the analysers plug in: they set UsesInputs and MultiChannel (input 0
// of Inputs is the signal), override PrepareUpdate (after the inherited one,
// which takes the input's complex flag, start frequency and sampling
// frequency), InternalUpdate (fill Amplt and Phase, then UpdateMinMax),
// GroupDelay, PhaseDelay, AmpltAt, PhaseAt, RefineFrequency and PeakFilter,
// and SetZeroPadding (calling the inherited one). The measures take the
// padding ratio R of the analyser's last transform.
//
// The measures (THD, THDN, NF, SFDR, SINAD, SNR, BandRMS) take the marks as
// the peaks of the spectrum. A mark of frequency f excludes the lines
// lo = Round((f - start - H) / HzRes) .. hi = Round((f - start + H) / HzRes),
// H = HzRes MainlobeWidth R / 2, from the noise; the gaps between the peaks
// are summed over the ranges each measure defines, every range clamped into
// the spectrum. A measure returns 0 without marks (SFDR: with fewer than
// two) and NaN when it cannot be computed (a zero fundamental, no noise
// lines, no line spacing). Each sorts the marks as it needs and leaves them
// so: THD, SNR, BandRMS, SFDR and SINAD by frequency, THDN and NF by
// amplitude (ascending).
//
// Tested by: signal/tests/SpectrumTest.cpp, signal/tests/SpectrumMeasuresTest.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "numeric/Vec.h"
#include "signal/Analysis.h"
#include "signal/MarkList.h"

namespace classlib {
class TStrings;
}

namespace sig {

enum TPhaseMode : std::uint8_t { pmIgnore, pm360, pmPhaseDelay, pmGroupDelay };
enum TPhaseUnits : std::uint8_t { puRad, puDeg };

class TSpectrum : public TAnalysis {
  ORVEL_CLASS_INFO
 public:
  explicit TSpectrum(classlib::TComponent* AOwner = nullptr);
  ~TSpectrum() override;

  // properties
  numeric::TVec& Amplt() const { return *FAmplt; }
  void SetAmplt(const numeric::TVec& Value) { FAmplt->Assign(Value); }
  numeric::TVec& Phase() const { return *FPhase; }
  void SetPhase(const numeric::TVec& Value) { FPhase->Assign(Value); }
  // Amplt.Length as last seen.
  std::int32_t Length() const { return FLength; }
  // Sets the length of both vectors.
  void SetLength(std::int32_t Value);
  std::int32_t MainlobeWidth() const { return FMainlobeWidth; }
  // Kept in 2 .. 100.
  void SetMainlobeWidth(std::int32_t Value);
  TPhaseMode PhaseMode() const { return FPhaseMode; }
  void SetPhaseMode(TPhaseMode Value) { FPhaseMode = Value; }
  TPhaseUnits PhaseUnits() const { return FPhaseUnits; }
  void SetPhaseUnits(TPhaseUnits Value) { FPhaseUnits = Value; }
  double SamplingFrequency() const { return FSamplingFrequency; }
  // Fs <= 0 sets SamplingTime to 0; then Fs is stored.
  void SetSamplingFrequency(double Value);
  double SamplingTime() const { return FSamplingTime; }
  // The core of the timing: the spectrum describes T seconds.
  void SetSamplingTime(double Value);
  double Dt() const { return FDt; }
  // SamplingFrequency := 1 / Value.
  void SetDt(double Value) { SetSamplingFrequency(1.0 / Value); }
  double HzRes() const { return FHzRes; }
  double BandWidth() const { return FBandWidth; }
  double StartFrequency() const { return FStartFrequency; }
  double StopFrequency() const { return FStopFrequency; }
  std::int32_t Harmonics() const { return FHarmonics; }
  void SetHarmonics(std::int32_t Value) { FHarmonics = Value; }
  bool Complex() const { return FComplex; }
  void SetComplex(bool Value);
  // 2 for a real (one-sided) spectrum, 1 for a complex one.
  double SideFactor() const { return FSideFactor; }
  std::int32_t ZeroPadding() const { return FZeroPadding; }
  bool ConjExtend() const { return FConjExtend; }
  void SetConjExtend(bool Value) { FConjExtend = Value; }
  bool ConjFlip() const { return FConjFlip; }
  void SetConjFlip(bool Value) { FConjFlip = Value; }
  // Filled by UpdateMinMax.
  double AmpltMax() const { return FAmpltMax; }
  double AmpltMin() const { return FAmpltMin; }
  std::int32_t AmpltMaxIndex() const { return FAmpltMaxIndex; }
  double PhaseMax() const { return FPhaseMax; }
  double PhaseMin() const { return FPhaseMin; }
  TMarkList& Marks() { return FMarks; }
  const TMarkList& Marks() const { return FMarks; }

  // operations
  void SetStartFrequency(double Value);
  // Complex, Length and SamplingFrequency of Source.
  void CopyTiming(const TSpectrum& Source);
  // Amplt += Source's, Phase += Source's.
  void AddSpectrum(const TSpectrum& Source);
  // Amplt and Phase times Factor.
  void ScaleSpectrum(double Factor);
  // Stores the largest amplitude with its index and the smallest; with a
  // phase mode, the largest and smallest phase too.
  void UpdateMinMax();
  // An optional header (the titles in columns of the report column width)
  // and one line per mark: frequency, amplitude and, with WithPhase and a
  // phase mode, phase.
  void MarksToText(classlib::TStrings& Lines, bool WithPhase, const std::string& FreqHeader,
                   const std::string& AmpltHeader, const std::string& PhaseHeader, const std::string& FreqFormat,
                   const std::string& AmpltFormat, const std::string& PhaseFormat) const;
  // The measures (see the top of this file); R is the padding ratio.
  double NF(double R);
  double SFDR();
  double SINAD(double R);
  double SNR(double R);
  double BandRMS(double R);

  // introduced virtual
  // Raise "Not implemented!" and "Not implemented"; analysers compute them.
  virtual void GroupDelay();
  virtual void PhaseDelay();
  // The size-change event of both vectors.
  virtual void UpdateTiming();
  // At least 1; a change re-applies SamplingFrequency.
  virtual void SetZeroPadding(std::int32_t Value);
  virtual void WriteMarks(classlib::TStream& Stream) const;
  virtual void ReadMarks(classlib::TStream& Stream);
  virtual bool AmpltStored() const;
  // From a complex spectrum X by PhaseMode: magnitudes, with angles (in
  // PhaseUnits) for pm360, then PhaseDelay for pmPhaseDelay, GroupDelay for
  // pmGroupDelay; pmIgnore empties Phase.
  virtual void AmpltPhaseFromComplex(const numeric::TVec& X);
  // The line of Amplt / Phase at Trunc((F - StartFrequency) / HzRes), the
  // index held within the vector (0 for an empty vector).
  virtual double AmpltAt(double F) const;
  virtual double PhaseAt(double F) const;
  // F itself here.
  virtual double RefineFrequency(double F);
  // Removes the tone of mark MarkIndex; raises "Peak filter method not
  // supported!" here.
  virtual void PeakFilter(std::int32_t MarkIndex);
  // Amplt and (with a phase mode) Phase of Source, then its SamplingFrequency.
  virtual void CopySpectrum(const TSpectrum& Source);
  virtual void Differentiate();
  // Amplt := Amplt / Source's (protected division), Phase := Phase - Source's.
  virtual void DivideSpectrum(const TSpectrum& Source);
  // Amplt := Source's squared, Phase := Source's squared.
  virtual void SquareSpectrum(const TSpectrum& Source);
  virtual void Integrate();
  // dsp::DecibelScale of Amplt: Flag is its Relative, Reference, Span in dB
  // and Base; returns the floor.
  virtual double DecibelScale(bool Flag, double Reference, double Span, double Base);
  // As AmpltPhaseFromComplex with squared magnitudes.
  virtual void PowerPhaseFromComplex(const numeric::TVec& X);
  // Phase only.
  virtual void PhaseFromComplex(const numeric::TVec& X);
  // AmpltPhaseFromComplex, then Amplt / sqrt(2).
  virtual void RmsFromComplex(const numeric::TVec& X);
  virtual void ClearSpectrum();
  // As MarksToText, one line per spectral line i: i HzRes, Amplt[i], Phase[i].
  virtual void ValuesToText(classlib::TStrings& Lines, bool WithPhase, const std::string& FreqHeader,
                            const std::string& AmpltHeader, const std::string& PhaseHeader,
                            const std::string& FreqFormat, const std::string& AmpltFormat,
                            const std::string& PhaseFormat) const;
  virtual double THD();
  virtual double THDN(double R);

  // overrides
  void DefineProperties(classlib::TFiler& Filer) override;
  // With UsesInputs: the input signal's complex flag, start frequency and
  // sampling frequency, in this order.
  void PrepareUpdate() override;

 private:
  // SetSamplingTime, keeping the sampling frequency Fs exactly when it is
  // positive (it stays when the size, the padding or Fs itself changes).
  void ApplySamplingTime(double T, double Fs);
  // The phase part of the conversions from a complex spectrum, by PhaseMode;
  // pmIgnore empties Phase when EmptyWhenIgnored.
  void PhaseByMode(const numeric::TVec& X, bool EmptyWhenIgnored);
  // The loops of Differentiate and Integrate: each line times (or divided
  // by) 2 pi times its frequency, mirrored by conjugate symmetry.
  void CalculusLoop(bool Divide);

  std::int32_t FMainlobeWidth = 8;
  TPhaseMode FPhaseMode = pm360;
  TPhaseUnits FPhaseUnits = puDeg;
  std::int32_t FLength = 0;
  double FSamplingFrequency = 0.0;
  double FSamplingTime = 0.0;
  double FAmpltMax = 0.0;
  double FPhaseMin = 0.0;
  double FAmpltMin = 0.0;
  double FPhaseMax = 0.0;
  std::unique_ptr<numeric::TVec> FAmplt;
  std::unique_ptr<numeric::TVec> FPhase;
  TMarkList FMarks;
  double FHzRes = 0.0;
  double FBandWidth = 0.0;
  double FStopFrequency = 0.0;
  double FStartFrequency = 0.0;
  std::int32_t FHarmonics = 10;
  bool FComplex = false;
  double FDt = 0.0;
  double FSideFactor = 2.0;
  std::int32_t FZeroPadding = 1;
  std::int32_t FAmpltMaxIndex = 0;
  bool FConjExtend = false;
  bool FConjFlip = true;
};

}  // namespace sig

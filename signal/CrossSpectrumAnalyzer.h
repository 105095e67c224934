// TCrossSpectrumAnalyzer: a spectrum analyser of two signals, its Input (the
// excitation) and its Output (the response). Each frame it transforms both
// (FFT or chirp-z, scaled by the amplitude factor, so that a sine of
// amplitude A on a line shows A), averages the cross spectrum conj(X) Y and
// the two power spectra |X|^2 and |Y|^2 by Stats (avLinearInf, avLinear or
// avExponentInf; every other mode takes the frame alone), and derives
//   coherence          |Sxy|^2 / (Sxx Syy)   (a vanishing power divides as
//                                            one of about 5.56e-309)
//   transfer function  Sxy / Sxx             (the H1 estimate)
// It shows one of five results (CrossAnalyzer.Transform) as its own Amplt
// and Phase, so that peaks, bands, report and charts work on it as on any
// spectrum. With spPower the input spectrum is 2 x scipy's Welch estimate
// with scaling 'spectrum' and the cross spectrum 2 x its csd (the one-sided
// doubling of every line but 0).
//
// Recursive (the default) keeps running averages. Without it the analyser
// keeps plain sums and divides them by the number of frames at every
// update, so both modes show the same averages (the exponential mode then
// weighs every frame alike); in that mode the chart is not told of each
// frame. Switching the mode restarts the average.
//
// On the decibel scale the cross-spectrum analyser shows 20 log10 of the
// amplitude itself (not relative to the largest line, whatever LogType
// says), and never the coherence, which is a ratio.
//
// Tested by: signal/tests/CrossSpectrumAnalyzerTest.cpp,
// signal/tests/CrossBispectrumOracleTest.cpp.
#pragma once

#include <cstdint>
#include <memory>

#include "numeric/Vec.h"
#include "platform/classlib/Persistent.h"
#include "signal/SpectrumAnalyzer.h"

namespace sig {

class TCrossSpectrumAnalyzer;

enum TCrossSpectrumAnalysis : std::uint8_t { caCoherence, caTransferFunction };
// A set of TCrossSpectrumAnalysis: bit i for item i.
using TCrossAnalysisSet = std::uint8_t;
enum TCrossTransform : std::uint8_t {
  ctInputSpectrum,
  ctOutputSpectrum,
  ctCrossSpectrum,
  ctCoherence,
  ctTransferFunction,
};

// The averaged cross quantities of a TCrossSpectrumAnalyzer, its published
// CrossAnalyzer.
class TCrossAnalyzer : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TCrossAnalyzer(TCrossSpectrumAnalyzer& Owner);
  ~TCrossAnalyzer() override;

  // properties
  bool Recursive() const { return FRecursive; }
  // On a change: stores and restarts the average (sums and averages do not
  // mix).
  void SetRecursive(bool Value);
  TCrossAnalysisSet Analysis() const { return FAnalysis; }
  // On a change: stores; with caCoherence in the new set the coherence is
  // computed from the current averages at once.
  void SetAnalysis(TCrossAnalysisSet Value);
  bool Has(TCrossSpectrumAnalysis Item) const { return (FAnalysis >> Item) & 1u; }
  TCrossTransform Transform() const { return FTransform; }
  void SetTransform(TCrossTransform Value) { FTransform = Value; }
  // The averages: complex Sxy, real Coherence, Sxx and Syy.
  numeric::TVec& CrossSpectrum() const { return *FCrossSpectrum; }
  numeric::TVec& Coherence() const { return *FCoherence; }
  numeric::TVec& InputSpectrum() const { return *FInputSpectrum; }
  numeric::TVec& OutputSpectrum() const { return *FOutputSpectrum; }

  // operations
  // Takes one frame: the cross product C = conj(X) Y and the powers |X|^2,
  // |Y|^2, averaged by the owner's Stats (which counts the frame), then
  // finished into the averages.
  void AddFrame(const numeric::TVec& C, const numeric::TVec& InputPower, const numeric::TVec& OutputPower);
  // The coherence from the averages, when caCoherence is in Analysis.
  void ComputeCoherence();

 private:
  TCrossSpectrumAnalyzer& FOwner;
  bool FRecursive = true;
  TCrossAnalysisSet FAnalysis = (1u << caCoherence) | (1u << caTransferFunction);
  TCrossTransform FTransform = ctInputSpectrum;
  std::unique_ptr<numeric::TVec> FCrossSpectrum;
  std::unique_ptr<numeric::TVec> FCoherence;
  std::unique_ptr<numeric::TVec> FInputSpectrum;
  std::unique_ptr<numeric::TVec> FOutputSpectrum;
  // Without Recursive: the sums of the frames since the restart.
  std::unique_ptr<numeric::TVec> FCrossSum;
  std::unique_ptr<numeric::TVec> FInputSum;
  std::unique_ptr<numeric::TVec> FOutputSum;
};

class TCrossSpectrumAnalyzer : public TSpectrumAnalyzer {
  ORVEL_CLASS_INFO
 public:
  explicit TCrossSpectrumAnalyzer(classlib::TComponent* AOwner = nullptr);
  ~TCrossSpectrumAnalyzer() override;

  // properties
  TCrossAnalyzer& CrossAnalyzer() const { return *FCrossAnalyzer; }

  // events
  // They fill the frame's complex spectrum of the input or of the output in
  // place of the analyser's own transform.
  const TNotifyVecEvent& OnGetInputSpectrum() const { return FOnGetInputSpectrum; }
  void SetOnGetInputSpectrum(TNotifyVecEvent Value) { FOnGetInputSpectrum = std::move(Value); }
  const TNotifyVecEvent& OnGetoutputSpectrum() const { return FOnGetoutputSpectrum; }
  void SetOnGetoutputSpectrum(TNotifyVecEvent Value) { FOnGetoutputSpectrum = std::move(Value); }
  // Kept for the host; the analyser never fires it.
  const TNotifyEvent& OnUpdateSpectrum() const { return FOnUpdateSpectrum; }
  void SetOnUpdateSpectrum(TNotifyEvent Value) { FOnUpdateSpectrum = std::move(Value); }

  // introduced virtual
  // Shows CrossAnalyzer.Transform as Amplt and Phase by SpectrumType, then
  // phase unwrapping, peaks, bands, the decibel scale and the extremes.
  virtual void CrossToSpectrum();

  // overrides
  std::string EditorClassName() const override { return "TCrossSpectrumAnaForm"; }
  // Without Recursive the chart is not told of the frame.
  std::uint8_t Update() override;
  // One frame: "Output = nil", "Input.SamplingFrequency <>
  // Output.SamplingFrequency" and "not ((Method = smfFFT) or (Method =
  // smfCZT))" are raised before anything changes. A completed avLinear
  // average (or avPeakHold, avCplxLinear) changes nothing; an empty input or
  // output neither.
  std::uint8_t InternalUpdate() override;

 protected:
  void ApplyLogScale() override;

 private:
  // The frame's spectrum of Source into Dest: the event when assigned, else
  // the analyser's transform over TargetLength points, times its amplitude
  // factor.
  void FrameSpectrum(TSignal& Source, const TNotifyVecEvent& Event, std::int32_t TargetLength,
                     numeric::TVec& Dest);

  std::unique_ptr<TCrossAnalyzer> FCrossAnalyzer;
  TNotifyVecEvent FOnGetInputSpectrum;
  TNotifyVecEvent FOnGetoutputSpectrum;
  TNotifyEvent FOnUpdateSpectrum;
};

// Registers TCrossSpectrumAnalyzer with the class registry, and takes it out again.
void RegisterCrossSpectrumAnalyzerClasses();
void UnregisterCrossSpectrumAnalyzerClasses();

}  // namespace sig

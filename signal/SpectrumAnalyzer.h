// TSpectrumAnalyzer: the spectrum of an input signal. Each update windows
// and transforms the input (by Method: FFT, an autoregressive model,
// chirp-z or real cepstrum), scales the complex result into amplitude and
// phase by SpectrumType, integrates or differentiates, averages (Stats),
// refreshes the marks (Peaks) and band levels (Bands) and, when
// Logarithmic, shows the amplitude in decibels.
//
// Scaling. With N input samples transformed over n points (n the smallest
// power of two >= N, at least 2, times ZeroPadding), the padding ratio is
// R = n / N and the amplitude factor F = ScaleFactor R WindowCorrection / L,
// L the spectrum's line count: a real sine of amplitude A on a line shows A
// (L = n / 2 lines, F = 2 ScaleFactor correction / N); a complex tone the
// same on its one line (L = n). spRMS shows A / sqrt 2, spPeakPeak 2 A,
// spPower A^2. The autoregressive methods show the model's spectrum on the
// FFT method's lines: sqrt(E) / A(e^jw) with F = 1, so spPower shows
// E / |A|^2, a density (white noise shows its variance).
//
// Arrangement. A real input gives the lines 0 .. Fs/2 (without the
// half-rate line); ConjExtend completes them by conjugate symmetry to the
// whole circle, 0 .. Fs, or, without ConjFlip, -Fs/2 .. Fs/2. A complex
// input gives 0 .. Fs, or with ConjFlip (the default) -Fs/2 .. Fs/2. The
// chirp-z method gives the k lines StartFrequency + i (Stop - Start) / k of
// its CZT range (shifted by the input's start frequency).
//
// Rotation shifts the analyser's copy of the input circularly before the
// transform; the input's own samples never change.
//
// With Output set (the second input), the update shows Output's spectrum
// divided by the input's (or, with CrossSpectral, Output's spectrum times
// the conjugate of the input's); FrequencyResponse fills both from a
// numerator and a denominator.
//
// The exact path: while Peaks interpolates, averaging is off and the method
// keeps its transformed sequence, AmpltAt, PhaseAt and ScaleToLog evaluate
// the spectrum at any frequency as the transform of that sequence there
// (dsp::SpectrumAtFrequencies); otherwise they read the nearest line.
//
// Temporaries come from the numeric core's object cache; the work, window
// and exact-frequency vectors live from update to update, and the window is
// rebuilt only when its type, parameter, length or kind change.
//
// Tested by: signal/tests/SpectrumAnalyzerTest.cpp,
// signal/tests/SpectrumAnalyzerOracleTest.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "dsp/SignalUtils.h"
#include "numeric/Vec.h"
#include "signal/Signal.h"
#include "signal/Spectrum.h"

namespace sig {

class TSpectrumBandsAnalyzer;
class TSpectrumCZT;
class TSpectrumPeaksAnalyzer;
class TSpectrumReport;
class TSpectrumStats;

using dsp::TRunningPhase;
using dsp::TSignalWindowType;
using dsp::TSpectrumType;

enum TSpectrumMethod : std::uint8_t { smFFT, smYuleWalker, smBurg, smCov, smMCov, smCZT, smRealCepstrum };
enum TLogType : std::uint8_t { ltAbsolute, ltRelative };
enum TLogSpan : std::uint8_t { ls30, ls45, ls60, ls90, ls120, ls150, ls200, ls350 };
enum TIntegration : std::uint8_t { inNone, inOnce, inTwice, diffOnce, diffTwice };
enum TPhaseRange : std::uint8_t { prPiPi, prZeroTwoPi };

// The events that fill a frame's complex spectrum for an analyser: Sender
// and the vector to fill.
using TNotifyVecEvent = std::function<void(classlib::TPersistent* Sender, numeric::TVec& Spectrum)>;

// The span in dB of a TLogSpan.
std::int32_t LogSpanDecibels(TLogSpan Span);

class TSpectrumAnalyzer : public TSpectrum {
  ORVEL_CLASS_INFO
 public:
  explicit TSpectrumAnalyzer(classlib::TComponent* AOwner = nullptr);
  ~TSpectrumAnalyzer() override;

  // properties
  TSignal* InputSignal() const;
  void SetInputSignal(TSignal* Value) { SetInput(Value); }
  TSpectrumReport& Report() const { return *FReport; }
  bool CrossSpectral() const { return FCrossSpectral; }
  void SetCrossSpectral(bool Value) { FCrossSpectral = Value; }
  std::int32_t AROrder() const { return FAROrder; }
  void SetAROrder(std::int32_t Value) { FAROrder = Value; }
  bool AutoCalculate() const { return FAutoCalculate; }
  void SetAutoCalculate(bool Value) { FAutoCalculate = Value; }
  TSpectrumStats& Stats() const { return *FStats; }
  TSpectrumBandsAnalyzer& Bands() const { return *FBands; }
  TSpectrumCZT& CZT() const { return *FCZT; }
  TSpectrumPeaksAnalyzer& Peaks() const { return *FPeaks; }
  bool DCDump() const { return FDCDump; }
  // On a change: stores, marks, restarts the average, auto.
  void SetDCDump(bool Value);
  double ExpWindow() const { return FExpWindow; }
  // Stores the larger of Value and the smallest normal double
  // (2.2250738585072014e-308); an exponential window is rebuilt.
  void SetExpWindow(double Value);
  TIntegration Integration() const { return FIntegration; }
  // On a change: stores, restarts the average, marks.
  void SetIntegration(TIntegration Value);
  TLogType LogType() const { return FLogType; }
  // On a change: stores, marks, auto.
  void SetLogType(TLogType Value);
  bool Logarithmic() const { return FLogarithmic; }
  // On a change: stores, refreshes the marks and, switching on, shows the
  // current spectrum in decibels at once; then the extremes and the mark.
  void SetLogarithmic(bool Value);
  TLogSpan LogSpan() const { return FLogSpan; }
  // On a change: stores with its span in dB, marks, auto.
  void SetLogSpan(TLogSpan Value);
  TSpectrumMethod Method() const { return FMethod; }
  void SetMethod(TSpectrumMethod Value) { FMethod = Value; }
  bool UnwrapPhase() const { return FUnwrapPhase; }
  void SetUnwrapPhase(bool Value) { FUnwrapPhase = Value; }
  TRunningPhase RunningPhase() const { return FRunningPhase; }
  void SetRunningPhase(TRunningPhase Value) { FRunningPhase = Value; }
  TPhaseRange PhaseRange() const { return FPhaseRange; }
  void SetPhaseRange(TPhaseRange Value) { FPhaseRange = Value; }
  bool RealCepstrum() const { return FRealCepstrum; }
  // On a change: stores and resets the average.
  void SetRealCepstrum(bool Value);
  double ScaleFactor() const { return FScaleFactor; }
  // On a change: stores, marks, auto.
  void SetScaleFactor(double Value);
  // In dB.
  double SidelobeAtt() const { return FSidelobeAtt; }
  // On a change: marks, stores the value held within [13, 300] dB,
  // rebuilds a Kaiser or Chebyshev window, auto.
  void SetSidelobeAtt(double Value);
  TSpectrumType SpectrumType() const { return FSpectrumType; }
  // On a change: stores, restarts the average, marks, auto.
  void SetSpectrumType(TSpectrumType Value);
  TSignalWindowType Window() const { return FWindow; }
  // On a change (or when the window no longer fits the input): stores,
  // marks, restarts the average and builds the window for the input.
  void SetWindow(TSignalWindowType Value);
  std::int32_t Rotation() const { return FRotation; }
  void SetRotation(std::int32_t Value) { FRotation = Value; }
  // The second input (item 1 of Inputs), or nullptr.
  TSignal* Output() const;
  // Nothing when unchanged or in template mode; else Inputs grows to two
  // items and item 1 takes Value.
  void SetOutput(TSignal* Value);
  // The amplitude factor, padding ratio and transform length of the last
  // transform.
  double AmplitudeFactor() const { return FAmplitudeFactor; }
  double PaddingRatio() const { return FPaddingRatio; }
  std::int32_t FftLength() const { return FFftLength; }
  // The complex spectrum of the last frame: the transform the lines were
  // taken from (line i is element i).
  const numeric::TVec& FrameSpectrum() const { return *FWork; }
  // The sampling frequency and line spacing of the last update.
  double FrameSamplingFrequency() const { return FFrameSamplingFrequency; }
  double BinSpacing() const { return FBinSpacing; }
  // Whether the complex spectrum of the frame can be evaluated at any
  // frequency (true unless a descendant says otherwise).
  bool ExactFrequency() const { return FExactFrequency; }
  // The reference of the decibel scale: the largest amplitude when it was
  // last applied.
  double LogReference() const { return FLogReference; }

  // events
  const TNotifyEvent& OnAfterComplexSpectrum() const { return FOnAfterComplexSpectrum; }
  void SetOnAfterComplexSpectrum(TNotifyEvent Value) { FOnAfterComplexSpectrum = std::move(Value); }
  const TNotifyEvent& OnBeforeSpectrumType() const { return FOnBeforeSpectrumType; }
  void SetOnBeforeSpectrumType(TNotifyEvent Value) { FOnBeforeSpectrumType = std::move(Value); }
  const TNotifyEvent& OnBeforeAverage() const { return FOnBeforeAverage; }
  void SetOnBeforeAverage(TNotifyEvent Value) { FOnBeforeAverage = std::move(Value); }
  const TNotifyEvent& OnAfterAverage() const { return FOnAfterAverage; }
  void SetOnAfterAverage(TNotifyEvent Value) { FOnAfterAverage = std::move(Value); }
  // While assigned, they take the place of Peaks.Update and Bands.Update.
  const TNotifyEvent& OnPeaksUpdate() const { return FOnPeaksUpdate; }
  void SetOnPeaksUpdate(TNotifyEvent Value) { FOnPeaksUpdate = std::move(Value); }
  const TNotifyEvent& OnBandsUpdate() const { return FOnBandsUpdate; }
  void SetOnBandsUpdate(TNotifyEvent Value) { FOnBandsUpdate = std::move(Value); }

  // operations
  // Stats.Reset.
  void ResetAveraging();
  // The factor that restores the amplitude of a windowed sine: by Window
  // for the FFT and chirp-z methods (computed from the window itself for
  // the cosine taper, Kaiser, Chebyshev and exponential windows), 1.0 for
  // every other method.
  double WindowCorrection() const;
  // The transform of the input, scaled by the amplitude factor, into Dest
  // (a complex vector the caller owns).
  void CalcComplexSpectrum(numeric::TVec& Dest);
  // Value converted to the display scale at frequency F: on the exact path
  // 20 log10 (Value / reference) (ltAbsolute) or 20 log10 Value
  // (ltRelative), no lower than the span allows; otherwise the line of Amplt
  // nearest to F.
  void ScaleToLog(double& Value, double F) const;
  // The frequency of the local maximum of Amplt uphill from the line
  // nearest to F.
  double SnapToPeak(double F) const;
  // Values[i] := AmpltAt(F[i]); on the exact path one pass over the frame
  // serves all of them.
  void AmpltAtFrequencies(std::span<const double> F, std::span<double> Values) const;

  // introduced virtual
  // The complex spectrum of the input over TargetLength samples (zero
  // padded) into Dest, or the work vector when Dest is nullptr; sets the
  // amplitude factor and the padding ratio. "TargetLength <
  // Input.Length" when TargetLength is below the input's length.
  virtual void ComputeSpectrum(std::int32_t TargetLength, numeric::TVec* Dest);
  // With pm360 and prZeroTwoPi: Phase + pi (or + 180 degrees).
  virtual void ApplyPhaseRange();
  // The spectrum of the frame at frequency F from the exact-frequency copy,
  // referenced one sample past its end as a Goertzel filter gives it:
  // sum x[j] exp(-2 pi i g (j - n)), g the relative frequency, n the copy's
  // length; (0, 0) without a copy.
  virtual void SpectrumAtFrequency(numeric::TCplx& X, double F) const;
  // Makes Num (sampled at Fs) the input and, when Den is given, shows the
  // response Num / Den: Den becomes the input and Num the Output. Then
  // Update. "Num = nil" without Num.
  virtual void FrequencyResponse(const numeric::TVec* Num, const numeric::TVec* Den, double Fs);
  // FrequencyResponse, then Amplt and Phase copied where given.
  virtual void FrequencyResponseToSpectrum(const numeric::TVec* Num, const numeric::TVec* Den, double Fs,
                                           numeric::TVec* AmpltDest, numeric::TVec* PhaseDest);

  // overrides
  std::string EditorClassName() const override { return "TSpectrumAnaForm"; }
  // The current band template is saved into its entry first.
  void SaveToStream(classlib::TStream& Stream) override;
  // No band template is selected before the read.
  void LoadFromStream(classlib::TStream& Stream) override;
  void PrepareUpdate() override;
  std::uint8_t InternalUpdate() override;
  // Inherited, then the average restarts.
  void SetZeroPadding(std::int32_t Value) override;
  void GroupDelay() override;
  void PhaseDelay() override;
  double AmpltAt(double F) const override;
  double PhaseAt(double F) const override;
  // Peaks.InterpolateFrequency.
  double RefineFrequency(double F) override;
  // Peaks.RemovePeakTone of mark MarkIndex.
  void PeakFilter(std::int32_t MarkIndex) override;

 protected:
  void SetExactFrequency(bool Value) { FExactFrequency = Value; }
  void Notification(classlib::TComponent* AComponent, classlib::TOperation Operation) override;
  // ComputeSpectrum of Source, which stands in for the input meanwhile (a
  // second input is transformed without relinking the inputs).
  void ComputeSpectrumOf(TSignal& Source, std::int32_t TargetLength, numeric::TVec* Dest);
  // By Integration: Integrate or Differentiate Amplt once or twice.
  void ApplyIntegration();
  // The phase unwrapping of pm360 with UnwrapPhase.
  void UpdatePhase();
  // Amplt on the decibel scale: the square root of a power spectrum, then
  // (but for spComplex) 20 log10 relative to the largest line when Relative,
  // of the amplitude itself otherwise; the marks follow.
  void ApplyDecibels(bool Relative);
  // The decibel scale of the update and of switching Logarithmic on:
  // ApplyDecibels relative to the largest line for ltAbsolute.
  virtual void ApplyLogScale();
  // Remembers the sampling frequency and line spacing of this update.
  void KeepFrameTiming();
  // OnPeaksUpdate or Peaks.Update, then OnBandsUpdate or Bands.Update.
  void UpdatePeaksAndBands();
  // Phase zeroed to Amplt's length (emptied under pmIgnore), for results
  // that have no phase.
  void ZeroPhase();

 private:
  // Calls Update while AutoCalculate is set, an input exists and the
  // analyser is not being read.
  void AutoUpdate();
  // Averaged := 0.
  void Restart();
  // Builds the window vector for Length samples of the given kind when it
  // does not fit them.
  void PrepareWindow(std::int32_t Length, bool Complex);
  // The source ComputeSpectrum reads: the input, or Output while the update
  // transforms it. Raises when it is missing or has several channels.
  TSignal& Transformed() const;
  // The transform of each method into T (the work vector or Dest).
  void ComputeFft(const TSignal& Source, std::int32_t TargetLength, numeric::TVec& T);
  void ComputeAutoregressive(const TSignal& Source, std::int32_t TargetLength, numeric::TVec& T);
  void ComputeChirpZ(const TSignal& Source, numeric::TVec& T);
  void ComputeCepstrum(const TSignal& Source, std::int32_t TargetLength, numeric::TVec& T);
  // The work vector := n elements of Source's kind: its samples (rotated
  // when Source is the input), mean-free with DCDump, windowed (both parts
  // of a complex sample by the same real value), then zeros; one pass.
  void LoadFrame(const TSignal& Source, std::int32_t n);
  // Keeps a copy of the work vector for SpectrumAtFrequency while Peaks
  // interpolates and the method has a sequence to evaluate; frees it
  // otherwise.
  void KeepExactCopy();
  // Conjugate extension and flipping of the lines in T.
  void Arrange(const TSignal& Source, numeric::TVec& T, bool RealLines);
  // Step 3 of the update with an Output: the quotient or cross spectrum.
  void ComputeTwoInputSpectrum(TSignal& Input, TSignal& Out);
  void ComplexAverage();
  void ApplySpectrumType();
  // Whether an exact-frequency copy can be evaluated.
  bool HasExactCopy() const;
  // F on the spectrum's axis as a frequency of the copy in cycles per
  // sample, held where the copy's transform is defined.
  double RelativeFrequency(double F) const;
  // X[i] := the transform of the exact-frequency copy at F[i], referenced
  // to its first sample ((0, 0) without a copy); F on the spectrum's axis.
  void ExactAt(std::span<const double> F, std::span<numeric::TCplx> X) const;
  // AmpltAt's value on the exact path from the transform X at F.
  double ExactAmplitude(double F, const numeric::TCplx& X) const;
  // Whether AmpltAt, PhaseAt and ScaleToLog take the exact path.
  bool ExactPath() const;
  // Index of the line nearest to F, held within the spectrum.
  std::int32_t NearestLine(double F) const;
  // The Amplt line nearest to F (0 without lines).
  double LineAmplitude(double F) const;

  std::unique_ptr<TSpectrumReport> FReport;
  std::unique_ptr<TSpectrumStats> FStats;
  std::unique_ptr<TSpectrumBandsAnalyzer> FBands;
  std::unique_ptr<TSpectrumCZT> FCZT;
  std::unique_ptr<TSpectrumPeaksAnalyzer> FPeaks;
  bool FCrossSpectral = false;
  std::int32_t FAROrder = 100;
  bool FAutoCalculate = false;
  bool FDCDump = true;
  double FExpWindow = 0.01;
  TIntegration FIntegration = inNone;
  TLogType FLogType = ltAbsolute;
  bool FLogarithmic = false;
  TLogSpan FLogSpan = ls120;
  std::int32_t FSpanDecibels = 120;
  TSpectrumMethod FMethod = smFFT;
  bool FUnwrapPhase = false;
  TRunningPhase FRunningPhase = dsp::rpConstPhase;
  TPhaseRange FPhaseRange = prPiPi;
  bool FRealCepstrum = false;
  double FScaleFactor = 1.0;
  double FSidelobeAtt = 40.0;
  TSpectrumType FSpectrumType = dsp::spAmplt;
  TSignalWindowType FWindow = dsp::wtRectangular;
  std::int32_t FRotation = 0;
  TNotifyEvent FOnAfterComplexSpectrum;
  TNotifyEvent FOnBeforeSpectrumType;
  TNotifyEvent FOnBeforeAverage;
  TNotifyEvent FOnAfterAverage;
  TNotifyEvent FOnPeaksUpdate;
  TNotifyEvent FOnBandsUpdate;

  double FAmplitudeFactor = 1.0;
  std::int32_t FFftLength = 0;
  double FPaddingRatio = 1.0;
  double FLogReference = 0.0;
  double FFrameSamplingFrequency = 0.0;
  double FBinSpacing = 0.0;
  // The windowed, zero-padded input, then its complex spectrum.
  std::unique_ptr<numeric::TVec> FWork;
  // The window for FWindowLength samples (real values, also for complex
  // input), and whether it was built for the current type and parameter.
  std::unique_ptr<numeric::TVec> FWindowVec;
  std::int32_t FWindowLength = -1;
  bool FWindowComplex = false;
  bool FWindowValid = false;
  // 1 / the mean of the window, for the windows whose correction is computed.
  double FComputedCorrection = 1.0;
  std::unique_ptr<numeric::TVec> FComplexAverage;
  // The sequence whose Goertzel value is the spectrum at any frequency.
  std::unique_ptr<numeric::TVec> FExact;
  // The start frequency and sampling frequency of the sequence in FExact.
  double FExactStart = 0.0;
  double FExactFs = 0.0;
  bool FExactFrequency = true;
  // The signal ComputeSpectrum reads while the update transforms Output.
  TSignal* FTransformed = nullptr;
  // The numerator and denominator of FrequencyResponse.
  std::unique_ptr<TSignal> FNumSignal;
  std::unique_ptr<TSignal> FDenSignal;
};

// Registers TSpectrumAnalyzer with the class registry, and takes it out again.
void RegisterSpectrumAnalyzerClasses();
void UnregisterSpectrumAnalyzerClasses();

}  // namespace sig

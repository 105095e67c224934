// TSignalAnalyzer: the time-domain analyser. It turns its input signal (or
// its first two, Inputs[0] and Inputs[1]) into a derived time signal, its
// own Data: the windowed signal, the auto- or cross-correlation, the
// discrete cosine transform or its inverse, or the real or complex
// cepstrum; times ScaleFactor. It owns a Report (TSignalReport) of its
// settings and statistics.
//
// Each input is first prepared on a copy (the inputs never change): its mean
// removed (RemoveDC), integrated or differentiated once or twice (the
// running states carry over from update to update, so consecutive blocks of
// a stream join without a seam), then rotated circularly by Rotation (sample
// j of the copy is the input's (j - Rotation) mod N).
//
// Transforms, x and y the prepared inputs 0 and 1:
//   ttWindow        x times the window (both parts of a complex sample by
//                   the same real weight; the window is built for the
//                   input's length whenever it does not fit it)
//   ttAutoCorr      lags 0 .. CorrTaps1-1 of sum conj(x[k]) x[k+lag], as is
//                   (ctNormal), over N (ctBiased) or over N - lag (ctUnbiased)
//   ttCrossCorr     lags CorrTaps2 .. CorrTaps1 of sum conj(x[k]) y[k+lag];
//                   CorrTaps1 zeros with a single input
//   ttDct           the orthonormal DCT of x (type II); ttInverseDct its
//                   inverse (type III)
//   ttRealCepstrum  dsp::RealCepstrum (mean removed, rectangular window,
//                   magnitude output); ttCplxCepstrum dsp::ComplexCepstrum
//                   over 16 times the input's length
// An input of several channels is refused ("Input.ChannelCount > 1 not
// supported!"): its interleaved samples are no one signal.
//
// Tested by: signal/tests/SignalAnalyzerTest.cpp, signal/tests/SignalAnalysisOracleTest.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "dsp/SignalUtils.h"
#include "signal/Signal.h"
#include "signal/SpectrumAnalyzer.h"

namespace sig {

class TSignalReport;

enum TTimeTransform : std::uint8_t {
  ttWindow,
  ttAutoCorr,
  ttCrossCorr,
  ttDct,
  ttInverseDct,
  ttRealCepstrum,
  ttCplxCepstrum,
};
enum TAutoCorrType : std::uint8_t { ctNormal, ctBiased, ctUnbiased };

class TSignalAnalyzer : public TSignal {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalAnalyzer(classlib::TComponent* AOwner = nullptr);
  ~TSignalAnalyzer() override;

  // properties
  TSignalReport& Report() const { return *FReport; }
  bool RemoveDC() const { return FRemoveDC; }
  void SetRemoveDC(bool Value) { FRemoveDC = Value; }
  TAutoCorrType AutoCorrType() const { return FAutoCorrType; }
  void SetAutoCorrType(TAutoCorrType Value) { FAutoCorrType = Value; }
  std::int32_t CorrTaps1() const { return FCorrTaps1; }
  // Stores at least 2; CorrTaps2 then stays below it.
  void SetCorrTaps1(std::int32_t Value);
  std::int32_t CorrTaps2() const { return FCorrTaps2; }
  // Only while Inputs holds exactly two items: stores at least 0, below
  // CorrTaps1.
  void SetCorrTaps2(std::int32_t Value);
  // In dB.
  double SidelobeAtt() const { return FSidelobeAtt; }
  // On a change: marks, stores the value held within [13, 300] dB and
  // rebuilds a Kaiser or Chebyshev window.
  void SetSidelobeAtt(double Value);
  double ScaleFactor() const { return FScaleFactor; }
  void SetScaleFactor(double Value) { FScaleFactor = Value; }
  TSignalWindowType Window() const { return FWindow; }
  // Stores; with an input the window is built for it at once (nothing when
  // the same window already fits it).
  void SetWindow(TSignalWindowType Value);
  TTimeTransform Transform() const { return FTransform; }
  void SetTransform(TTimeTransform Value) { FTransform = Value; }
  TIntegration Integration() const { return FIntegration; }
  void SetIntegration(TIntegration Value) { FIntegration = Value; }
  // The end value of the exponential window.
  double ExpWindow() const { return FExpWindow; }
  void SetExpWindow(double Value) { FExpWindow = Value; }
  std::int32_t Rotation() const { return FRotation; }
  void SetRotation(std::int32_t Value) { FRotation = Value; }

  // overrides
  std::string EditorClassName() const override { return "TTimeAnaForm"; }
  // Inherited, then inputs of several channels are refused.
  void PrepareUpdate() override;
  std::uint8_t InternalUpdate() override;

 private:
  // The input signal of item Index of Inputs (nullptr without one).
  TSignal* InputItem(std::int32_t Index) const;
  // Builds the window for Length samples when it does not fit them.
  void PrepareWindow(std::int32_t Length, bool Complex);
  // Prepares input Index into Prepared (see the top of this file).
  void PrepareInput(std::int32_t Index, numeric::TVec& Prepared);

  std::unique_ptr<TSignalReport> FReport;
  bool FRemoveDC = false;
  TAutoCorrType FAutoCorrType = ctNormal;
  std::int32_t FCorrTaps1 = 100;
  std::int32_t FCorrTaps2 = 0;
  double FSidelobeAtt = 40.0;
  double FScaleFactor = 1.0;
  TSignalWindowType FWindow = dsp::wtRectangular;
  TTimeTransform FTransform = ttWindow;
  TIntegration FIntegration = inNone;
  double FExpWindow = 0.01;
  std::int32_t FRotation = 0;

  std::unique_ptr<numeric::TVec> FWindowVec;
  std::int32_t FWindowLength = -1;
  bool FWindowComplex = false;
  bool FWindowValid = false;
  // The prepared inputs 0 and 1.
  std::array<std::unique_ptr<numeric::TVec>, 2> FPrepared;
  // Running states per input: two of the integral (6 doubles each) and two
  // of the derivative (4 doubles each).
  std::array<std::array<std::array<double, 6>, 2>, 4> FIntegrationStates{};
  std::array<std::array<std::array<double, 4>, 2>, 4> FDifferentiationStates{};
};

// Registers TSignalAnalyzer with the class registry, and takes it out again.
void RegisterSignalAnalyzerClasses();
void UnregisterSignalAnalyzerClasses();

}  // namespace sig

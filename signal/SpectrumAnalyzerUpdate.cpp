// TSpectrumAnalyzer: the update, from the input's timing to the scaled,
// averaged and marked spectrum.
// Tested by: signal/tests/SpectrumAnalyzerTest.cpp,
// signal/tests/SpectrumAnalyzerOracleTest.cpp.
#include <algorithm>
#include <cmath>

#include "numeric/MathCore.h"
#include "numeric/ObjectCache.h"
#include "signal/SpectrumAnalyzer.h"
#include "signal/SpectrumBands.h"
#include "signal/SpectrumCZT.h"
#include "signal/SpectrumPeaks.h"
#include "signal/SpectrumStats.h"

namespace sig {

namespace {

void CheckChannels(const TSignal& Source) {
  if (Source.ChannelCount() > 1) numeric::RaiseError("Input.ChannelCount > 1 not supported!");
}

}  // namespace

void TSpectrumAnalyzer::PrepareUpdate() {
  TSignal* input = InputSignal();
  if (input != nullptr) CheckChannels(*input);
  // A range without two points is refused before the timing changes.
  if (FMethod == smCZT && FCZT->PointCount() < 2)
    numeric::RaiseError("CZT: (StopFrequency - StartFrequency) / FrequencyStep gives fewer than 2 points!");
  TSpectrum::PrepareUpdate();
  if (input == nullptr) return;
  if (FMethod == smCZT) {
    SetStartFrequency(input->StartFrequency() + FCZT->StartFrequency());
    // The k lines span the range exactly: a real input's spectrum shows
    // Fs / 2, a complex one's Fs.
    const double side = input->Complex() ? 1.0 : 2.0;
    SetSamplingFrequency(side * (FCZT->StopFrequency() - FCZT->StartFrequency()));
  } else if (input->Complex()) {
    if (ConjFlip()) SetStartFrequency(-input->BandWidth() / 2.0);
  } else if (ConjExtend() && !ConjFlip()) {
    SetStartFrequency(input->StartFrequency() - BandWidth());
  }
}

std::uint8_t TSpectrumAnalyzer::InternalUpdate() {
  TSignal* input = InputSignal();
  if (input == nullptr) numeric::RaiseError("Inputs[0] = nil!");
  if (input->Length() == 0) return 0;
  const TAveraging averaging = FStats->Averaging();
  // A completed average of these modes stays as it is.
  if ((averaging == avLinear || averaging == avPeakHold || averaging == avCplxLinear) &&
      FStats->Averaged() >= FStats->Averages())
    return 0;
  if (TSignal* out = Output())
    ComputeTwoInputSpectrum(*input, *out);
  else
    ComputeSpectrum(input->Length(), nullptr);
  if (FOnAfterComplexSpectrum) FOnAfterComplexSpectrum(this);
  ComplexAverage();
  if (FOnBeforeSpectrumType) FOnBeforeSpectrumType(this);
  ApplySpectrumType();
  if (FSpectrumType != dsp::spComplex) UpdatePhase();
  if (FOnBeforeAverage) FOnBeforeAverage(this);
  FStats->Update();
  if (FOnAfterAverage) FOnAfterAverage(this);
  // The complex modes averaged the work vector already; the stats' own
  // spectrum holds nothing of theirs.
  if (averaging != avNone && !FStats->ComplexAveraging()) CopySpectrum(FStats->AveragedSpectrum());
  KeepFrameTiming();
  ApplyPhaseRange();
  UpdatePeaksAndBands();
  if (FLogarithmic) ApplyLogScale();
  UpdateMinMax();
  return 0;
}

void TSpectrumAnalyzer::KeepFrameTiming() {
  FFrameSamplingFrequency = SamplingFrequency();
  FBinSpacing = HzRes();
}

void TSpectrumAnalyzer::UpdatePeaksAndBands() {
  if (FOnPeaksUpdate)
    FOnPeaksUpdate(this);
  else
    FPeaks->Update();
  if (FOnBandsUpdate)
    FOnBandsUpdate(this);
  else
    FBands->Update();
}

void TSpectrumAnalyzer::ZeroPhase() {
  numeric::TVec& phase = Phase();
  if (PhaseMode() == pmIgnore) {
    phase.Size(0, false);
    return;
  }
  phase.Size(Amplt().Length(), false);
  phase.SetZero();
}

void TSpectrumAnalyzer::ComputeSpectrumOf(TSignal& Source, std::int32_t TargetLength, numeric::TVec* Dest) {
  struct TRestore {
    TSignal*& Slot;
    TSignal* Previous;
    ~TRestore() { Slot = Previous; }
  } restore{FTransformed, FTransformed};
  FTransformed = &Source;
  ComputeSpectrum(TargetLength, Dest);
}

void TSpectrumAnalyzer::ComputeTwoInputSpectrum(TSignal& Input, TSignal& Out) {
  CheckChannels(Out);
  const std::int32_t target = std::max(Input.Length(), Out.Length());
  numeric::TVec& w = *FWork;
  numeric::TCachedVec inputSpectrum;
  ComputeSpectrum(target, nullptr);
  const double inputFactor = FAmplitudeFactor;
  inputSpectrum->Copy(w);
  ComputeSpectrumOf(Out, target, nullptr);
  if (FCrossSpectral) {
    w.Scale(FAmplitudeFactor);
    inputSpectrum->Scale(inputFactor);
    inputSpectrum->Conj();
    w.Mul(*inputSpectrum);
  } else {
    // Both spectra come from the same number of points, so a quotient
    // needs no scaling: their own factors would differ where the two
    // lengths do.
    w.Divide(*inputSpectrum);
  }
  FAmplitudeFactor = 1.0;
  if (!FExact) return;
  // The exact path evaluates the sequence whose transform the quotient is.
  numeric::TCachedVec spectrum;
  spectrum->Copy(w);
  const bool realLines = !Input.Complex() && !ConjExtend();
  if (realLines) {
    if (!spectrum->HalfRateBinKnown()) spectrum->SetHalfRateBin(numeric::TCplx{0.0, 0.0});
    FExact->IFFTToReal(*spectrum);
  } else {
    const bool flipped = Input.Complex() ? ConjFlip() : !ConjFlip();
    if (flipped) spectrum->Rotate(-(spectrum->Length() / 2));
    FExact->IFFT(*spectrum);
  }
  FExactStart = Input.StartFrequency();
  FExactFs = Input.SamplingFrequency();
}

void TSpectrumAnalyzer::ComplexAverage() {
  if (!FStats->ComplexAveraging()) {
    FComplexAverage.reset();
    return;
  }
  const numeric::TVec& w = *FWork;
  if (!FComplexAverage) FComplexAverage = std::make_unique<numeric::TVec>();
  numeric::TVec& average = *FComplexAverage;
  if (average.Length() != w.Length() || average.Complex() != w.Complex()) FStats->SetAveraged(0);
  if (FStats->Averaged() == 0) {
    average.Copy(w);
  } else {
    const double k = FStats->Averaging() == avCplxExponentInf ? static_cast<double>(FStats->ExpDecay())
                                                               : static_cast<double>(FStats->Averaged()) + 1.0;
    average.Scale(k - 1.0);
    average.Add(w);
    average.Scale(1.0 / k);
  }
  FStats->CountFrame();
  FWork->Copy(average);
}

void TSpectrumAnalyzer::ApplySpectrumType() {
  numeric::TVec& w = *FWork;
  double factor = FAmplitudeFactor;
  switch (FSpectrumType) {
    case dsp::spComplex:
      w.Scale(factor);
      w.CplxToReal(Amplt(), Phase());
      ApplyIntegration();
      return;
    case dsp::spRMS:
      factor *= numeric::INVSQRT2;
      break;
    case dsp::spPeakPeak:
      factor *= 2.0;
      break;
    case dsp::spAmplt:
    case dsp::spPower:
      break;
  }
  AmpltPhaseFromComplex(w);
  Amplt().Scale(factor);
  ApplyIntegration();
  if (FSpectrumType == dsp::spPower) Amplt().Sqr();
}

void TSpectrumAnalyzer::ApplyIntegration() {
  switch (FIntegration) {
    case inNone:
      break;
    case inOnce:
      Integrate();
      break;
    case inTwice:
      Integrate();
      Integrate();
      break;
    case diffOnce:
      Differentiate();
      break;
    case diffTwice:
      Differentiate();
      Differentiate();
      break;
  }
}

void TSpectrumAnalyzer::UpdatePhase() {
  if (PhaseMode() != pm360 || !FUnwrapPhase) return;
  const TSignal* input = InputSignal();
  const std::int32_t n = input != nullptr ? input->Length() : 0;
  if (n < 2) return;
  const double k = n * FPaddingRatio / (n - 1);
  dsp::PhaseUnwrap(Phase(), Phase(), FRunningPhase, k, PhaseUnits() == puRad, 180.0);
}

void TSpectrumAnalyzer::ApplyPhaseRange() {
  if (PhaseMode() != pm360 || FPhaseRange != prZeroTwoPi) return;
  Phase().Offset(PhaseUnits() == puRad ? numeric::PI : 180.0);
}

void TSpectrumAnalyzer::ApplyLogScale() { ApplyDecibels(FLogType == ltAbsolute); }

void TSpectrumAnalyzer::ApplyDecibels(bool Relative) {
  // The square root makes the decibels of power and amplitude one scale.
  if (FSpectrumType == dsp::spPower) Amplt().Sqrt();
  if (FSpectrumType == dsp::spComplex) return;
  FLogReference = Amplt().Length() > 0 ? Amplt().Max() : 0.0;
  DecibelScale(Relative, FLogReference, FSpanDecibels, 10.0);
  FPeaks->RescaleMarkAmplitudes();
}

}  // namespace sig

// TSpectrumAnalyzer: its parameters and their setters, the second input and
// the frequency response, the lookups at a frequency and the delays. The
// update is in SpectrumAnalyzerUpdate.cpp, windowing and transforms in
// SpectrumTransform.cpp.
// Tested by: signal/tests/SpectrumAnalyzerTest.cpp.
#include "signal/SpectrumAnalyzer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "numeric/MathCore.h"
#include "platform/classlib/ClassRegistry.h"
#include "signal/SignalCollections.h"
#include "signal/SignalInternal.h"
#include "signal/SpectrumBands.h"
#include "signal/SpectrumCZT.h"
#include "signal/SpectrumPeaks.h"
#include "signal/SpectrumReport.h"
#include "signal/SpectrumStats.h"

namespace sig {

std::int32_t LogSpanDecibels(TLogSpan Span) {
  static constexpr std::int32_t spans[] = {30, 45, 60, 90, 120, 150, 200, 350};
  return Span <= ls350 ? spans[Span] : 120;
}

const classlib::TClassInfo& TSpectrumAnalyzer::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSpectrumAnalyzer>("TSpectrumAnalyzer", TSpectrum::StaticClassInfo())
          .Property("Input", &TSpectrumAnalyzer::InputSignal, &TSpectrumAnalyzer::SetInputSignal)
          .Stored(&TSpectrumAnalyzer::InputStored)
          .SubObject("Report", [](const TSpectrumAnalyzer& a) { return &a.Report(); })
          .Property("CrossSpectral", &TSpectrumAnalyzer::CrossSpectral, &TSpectrumAnalyzer::SetCrossSpectral, false)
          .Property("AROrder", &TSpectrumAnalyzer::AROrder, &TSpectrumAnalyzer::SetAROrder, 100)
          .Property("AutoCalculate", &TSpectrumAnalyzer::AutoCalculate, &TSpectrumAnalyzer::SetAutoCalculate, false)
          .SubObject("Stats", [](const TSpectrumAnalyzer& a) { return &a.Stats(); })
          .SubObject("Bands", [](const TSpectrumAnalyzer& a) { return &a.Bands(); })
          .SubObject("CZT", [](const TSpectrumAnalyzer& a) { return &a.CZT(); })
          .Property("DCDump", &TSpectrumAnalyzer::DCDump, &TSpectrumAnalyzer::SetDCDump, true)
          .Property("ExpWindow", &TSpectrumAnalyzer::ExpWindow, &TSpectrumAnalyzer::SetExpWindow, 0.01)
          .Property("Integration", &TSpectrumAnalyzer::Integration, &TSpectrumAnalyzer::SetIntegration, inNone)
          .TypeName("TIntegration")
          .Names({"inNone", "inOnce", "inTwice", "diffOnce", "diffTwice"})
          .Property("LogType", &TSpectrumAnalyzer::LogType, &TSpectrumAnalyzer::SetLogType, ltAbsolute)
          .TypeName("TLogType")
          .Names({"ltAbsolute", "ltRelative"})
          .Property("Logarithmic", &TSpectrumAnalyzer::Logarithmic, &TSpectrumAnalyzer::SetLogarithmic, false)
          .Property("LogSpan", &TSpectrumAnalyzer::LogSpan, &TSpectrumAnalyzer::SetLogSpan, ls120)
          .TypeName("TLogSpan")
          .Names({"ls30", "ls45", "ls60", "ls90", "ls120", "ls150", "ls200", "ls350"})
          .Property("Method", &TSpectrumAnalyzer::Method, &TSpectrumAnalyzer::SetMethod, smFFT)
          .TypeName("TSpectrumMethod")
          .Names({"smFFT", "smYuleWalker", "smBurg", "smCov", "smMCov", "smCZT", "smRealCepstrum"})
          .SubObject("Peaks", [](const TSpectrumAnalyzer& a) { return &a.Peaks(); })
          .Property("UnwrapPhase", &TSpectrumAnalyzer::UnwrapPhase, &TSpectrumAnalyzer::SetUnwrapPhase, false)
          .Property("RunningPhase", &TSpectrumAnalyzer::RunningPhase, &TSpectrumAnalyzer::SetRunningPhase,
                    dsp::rpConstPhase)
          .TypeName("TRunningPhase")
          .Names({"rpDefault", "rpConstPhase", "rpIntegerLag", "rpPartial"})
          .Property("PhaseRange", &TSpectrumAnalyzer::PhaseRange, &TSpectrumAnalyzer::SetPhaseRange, prPiPi)
          .TypeName("TPhaseRange")
          .Names({"prPiPi", "prZeroTwoPi"})
          .Property("RealCepstrum", &TSpectrumAnalyzer::RealCepstrum, &TSpectrumAnalyzer::SetRealCepstrum, false)
          .Property("ScaleFactor", &TSpectrumAnalyzer::ScaleFactor, &TSpectrumAnalyzer::SetScaleFactor, 1.0)
          .Property("SidelobeAtt", &TSpectrumAnalyzer::SidelobeAtt, &TSpectrumAnalyzer::SetSidelobeAtt, 40.0)
          .Property("SpectrumType", &TSpectrumAnalyzer::SpectrumType, &TSpectrumAnalyzer::SetSpectrumType,
                    dsp::spAmplt)
          .TypeName("TSpectrumType")
          .Names({"spAmplt", "spRMS", "spPower", "spPeakPeak", "spComplex"})
          .Property("Window", &TSpectrumAnalyzer::Window, &TSpectrumAnalyzer::SetWindow, dsp::wtRectangular)
          .TypeName("TSignalWindowType")
          .Names(detail::WindowTypeNames())
          .Property("ConjFlip", &TSpectrumAnalyzer::ConjFlip, &TSpectrumAnalyzer::SetConjFlip, true)
          .Property("ConjExtend", &TSpectrumAnalyzer::ConjExtend, &TSpectrumAnalyzer::SetConjExtend, false)
          .Property("Rotation", &TSpectrumAnalyzer::Rotation, &TSpectrumAnalyzer::SetRotation, 0)
          .Creatable()
          .Build();
  return info;
}

TSpectrumAnalyzer::TSpectrumAnalyzer(classlib::TComponent* AOwner)
    : TSpectrum(AOwner),
      FWork(std::make_unique<numeric::TVec>()),
      FWindowVec(std::make_unique<numeric::TVec>()),
      FNumSignal(std::make_unique<TSignal>()),
      FDenSignal(std::make_unique<TSignal>()) {
  SetUsesInputs(true);
  SetMultiChannel(true);
  FBands = std::make_unique<TSpectrumBandsAnalyzer>(*this);
  FPeaks = std::make_unique<TSpectrumPeaksAnalyzer>(*this);
  FStats = std::make_unique<TSpectrumStats>(*this);
  FCZT = std::make_unique<TSpectrumCZT>(this);
  FReport = std::make_unique<TSpectrumReport>(this);
  FSpanDecibels = LogSpanDecibels(FLogSpan);
}

TSpectrumAnalyzer::~TSpectrumAnalyzer() {
  // The own signals leave the inputs before they go, so that nothing is
  // told of them while this analyser is half taken down.
  if (Output() == FNumSignal.get()) SetOutput(nullptr);
  if (InputSignal() == FNumSignal.get() || InputSignal() == FDenSignal.get()) SetInput(nullptr);
  FNumSignal.reset();
  FDenSignal.reset();
}

TSignal* TSpectrumAnalyzer::InputSignal() const { return dynamic_cast<TSignal*>(GetInput()); }

void TSpectrumAnalyzer::Notification(classlib::TComponent* AComponent, classlib::TOperation Operation) {
  if (Operation == classlib::opRemove && AComponent == FTransformed) FTransformed = nullptr;
  TSpectrum::Notification(AComponent, Operation);
}

// --- Parameters ------------------------------------------------------------

void TSpectrumAnalyzer::Restart() { FStats->SetAveraged(0); }

void TSpectrumAnalyzer::ResetAveraging() { FStats->Reset(); }

void TSpectrumAnalyzer::AutoUpdate() {
  // A value read from a stream is only stored: the analyser being read may
  // have no input yet, and its spectrum is the one the stream holds.
  if (!FAutoCalculate || HasState(classlib::csLoading) || GetInput() == nullptr) return;
  Update();
}

void TSpectrumAnalyzer::SetDCDump(bool Value) {
  if (Value == FDCDump) return;
  FDCDump = Value;
  MarkDirty();
  Restart();
  AutoUpdate();
}

void TSpectrumAnalyzer::SetExpWindow(double Value) {
  const double value = std::isnan(Value) ? FExpWindow : std::max(Value, std::numeric_limits<double>::min());
  if (value == FExpWindow) return;
  FExpWindow = value;
  // The exponential window is built from this end value: the next frame
  // builds it anew.
  if (FWindow == dsp::wtExponent) FWindowValid = false;
}

void TSpectrumAnalyzer::SetIntegration(TIntegration Value) {
  if (Value == FIntegration) return;
  FIntegration = Value;
  Restart();
  MarkDirty();
}

void TSpectrumAnalyzer::SetLogType(TLogType Value) {
  if (Value == FLogType) return;
  FLogType = Value;
  MarkDirty();
  AutoUpdate();
}

void TSpectrumAnalyzer::SetLogSpan(TLogSpan Value) {
  if (Value == FLogSpan) return;
  FLogSpan = Value;
  FSpanDecibels = LogSpanDecibels(Value);
  MarkDirty();
  AutoUpdate();
}

void TSpectrumAnalyzer::SetRealCepstrum(bool Value) {
  if (Value == FRealCepstrum) return;
  FRealCepstrum = Value;
  FStats->Reset();
}

void TSpectrumAnalyzer::SetScaleFactor(double Value) {
  if (Value == FScaleFactor) return;
  FScaleFactor = Value;
  MarkDirty();
  AutoUpdate();
}

void TSpectrumAnalyzer::SetSidelobeAtt(double Value) {
  if (Value == FSidelobeAtt) return;
  MarkDirty();
  FSidelobeAtt = std::isnan(Value) ? FSidelobeAtt : std::clamp(Value, 13.0, 300.0);
  if (FWindow == dsp::wtKaiser || FWindow == dsp::wtChebyshev) {
    FWindowValid = false;
    if (const TSignal* input = InputSignal()) PrepareWindow(input->Length(), input->Complex());
  }
  AutoUpdate();
}

void TSpectrumAnalyzer::SetSpectrumType(TSpectrumType Value) {
  if (Value == FSpectrumType) return;
  FSpectrumType = Value;
  Restart();
  MarkDirty();
  AutoUpdate();
}

void TSpectrumAnalyzer::SetZeroPadding(std::int32_t Value) {
  TSpectrum::SetZeroPadding(Value);
  Restart();
}

void TSpectrumAnalyzer::SetLogarithmic(bool Value) {
  if (Value == FLogarithmic) return;
  FLogarithmic = Value;
  // Read from a stream, the spectrum and the marks are already on the
  // scale the stream was written on.
  if (HasState(classlib::csLoading)) return;
  if (FOnPeaksUpdate)
    FOnPeaksUpdate(this);
  else
    FPeaks->Update();
  if (Value) {
    if (!HasState(classlib::csDesigning))
      ApplyLogScale();
    else if (FSpectrumType == dsp::spPower)
      Amplt().Sqrt();
  }
  UpdateMinMax();
  MarkDirty();
}

// --- The second input and the frequency response ---------------------------

TSignal* TSpectrumAnalyzer::Output() const {
  const TSignalCollection* inputs = Inputs();
  return inputs != nullptr && inputs->Count() == 2 ? inputs->Items(1)->Input() : nullptr;
}

void TSpectrumAnalyzer::SetOutput(TSignal* Value) {
  if (Value == Output() || TemplateMode()) return;
  TSignalCollection* inputs = Inputs();
  if (Value == nullptr) {
    // No second item is left behind: an empty one would fail every update
    // as a missing input.
    if (inputs->Count() == 2) inputs->Delete(1);
    return;
  }
  while (inputs->Count() < 2) inputs->Add();
  inputs->Items(1)->SetInput(Value);
}

void TSpectrumAnalyzer::FrequencyResponse(const numeric::TVec* Num, const numeric::TVec* Den, double Fs) {
  if (Num == nullptr) numeric::RaiseError("Num = nil");
  // The update shows Output over input: the numerator is the Output.
  TSignal& num = *FNumSignal;
  num.Data().Copy(*Num);
  num.SetSamplingFrequency(Fs);
  if (Den != nullptr) {
    TSignal& den = *FDenSignal;
    den.Data().Copy(*Den);
    den.SetSamplingFrequency(Fs);
    SetInput(&den);
    SetOutput(&num);
  } else {
    SetOutput(nullptr);
    SetInput(&num);
  }
  Update();
}

void TSpectrumAnalyzer::FrequencyResponseToSpectrum(const numeric::TVec* Num, const numeric::TVec* Den, double Fs,
                                                    numeric::TVec* AmpltDest, numeric::TVec* PhaseDest) {
  FrequencyResponse(Num, Den, Fs);
  if (AmpltDest != nullptr) AmpltDest->Copy(Amplt());
  if (PhaseDest != nullptr) PhaseDest->Copy(Phase());
}

// --- Streams ---------------------------------------------------------------

void TSpectrumAnalyzer::SaveToStream(classlib::TStream& Stream) {
  FBands->RefreshTemplate();
  TSpectrum::SaveToStream(Stream);
}

void TSpectrumAnalyzer::LoadFromStream(classlib::TStream& Stream) {
  FBands->SetTemplateIndex(-1);
  TSpectrum::LoadFromStream(Stream);
}

// --- Values at a frequency -------------------------------------------------

bool TSpectrumAnalyzer::ExactPath() const {
  return FStats->Averaging() == avNone && FPeaks->Interpolation().Method() != imNone && FExactFrequency;
}

std::int32_t TSpectrumAnalyzer::NearestLine(double F) const {
  const double hzRes = HzRes();
  if (!(hzRes > 0.0)) return 0;
  const double offset = std::clamp(F - StartFrequency(), 0.0, std::max(BandWidth() - hzRes, 0.0));
  return static_cast<std::int32_t>(detail::RoundIndex(offset / hzRes));
}

double TSpectrumAnalyzer::LineAmplitude(double F) const {
  const numeric::TVec& a = Amplt();
  if (!(HzRes() > 0.0) || a.Length() == 0) return 0.0;
  return a.GetValue(detail::ClampIndex(NearestLine(F), a.Length()));
}

double TSpectrumAnalyzer::ExactAmplitude(double F, const numeric::TCplx& X) const {
  double value = std::hypot(X.Re, X.Im) * FAmplitudeFactor;
  if (FSpectrumType == dsp::spRMS) value *= numeric::INVSQRT2;
  if (FSpectrumType == dsp::spPeakPeak) value *= 2.0;
  const double w = 2.0 * numeric::PI * F;
  switch (FIntegration) {
    case inOnce:
      value /= w;
      break;
    case inTwice:
      value /= w * w;
      break;
    case diffOnce:
      value *= w;
      break;
    case diffTwice:
      value *= w * w;
      break;
    case inNone:
      break;
  }
  if (FSpectrumType == dsp::spPower && !FLogarithmic) value *= value;
  return value;
}

double TSpectrumAnalyzer::AmpltAt(double F) const {
  double value = 0.0;
  AmpltAtFrequencies({&F, 1}, {&value, 1});
  return value;
}

void TSpectrumAnalyzer::AmpltAtFrequencies(std::span<const double> F, std::span<double> Values) const {
  if (!ExactPath()) {
    for (std::size_t i = 0; i < F.size(); ++i) Values[i] = LineAmplitude(F[i]);
    return;
  }
  std::vector<numeric::TCplx> x(F.size());
  ExactAt(F, x);
  for (std::size_t i = 0; i < F.size(); ++i) Values[i] = ExactAmplitude(F[i], x[i]);
}

double TSpectrumAnalyzer::PhaseAt(double F) const {
  if (PhaseMode() == pmIgnore) return 0.0;
  if (!ExactPath()) {
    const numeric::TVec& p = Phase();
    if (!(HzRes() > 0.0)) return 0.0;
    const std::int32_t line = NearestLine(F);
    return line < p.Length() ? p.GetValue(line) : 0.0;
  }
  numeric::TCplx x{};
  ExactAt({&F, 1}, {&x, 1});
  // A sine's phase is read from its cosine's by a quarter turn.
  double phase = std::remainder(std::atan2(x.Im, x.Re) + numeric::PI / 2.0, 2.0 * numeric::PI);
  if (PhaseUnits() == puDeg) phase *= 180.0 / numeric::PI;
  if (FPhaseRange == prZeroTwoPi) phase += PhaseUnits() == puDeg ? 180.0 : numeric::PI;
  return phase;
}

double TSpectrumAnalyzer::RefineFrequency(double F) { return FPeaks->InterpolateFrequency(F); }

void TSpectrumAnalyzer::PeakFilter(std::int32_t MarkIndex) { FPeaks->RemovePeakTone(MarkIndex); }

void TSpectrumAnalyzer::ScaleToLog(double& Value, double F) const {
  if (!ExactPath()) {
    Value = LineAmplitude(F);
    return;
  }
  const double span = FSpanDecibels;
  if (FLogReference <= 0.0) {
    Value = -span;
    return;
  }
  double floor = -span;
  if (FLogType == ltAbsolute) {
    Value = 20.0 * std::log10(Value / FLogReference);
  } else {
    floor = 20.0 * std::log10(FLogReference) - span;
    Value = 20.0 * std::log10(Value);
  }
  if (!(Value >= floor)) Value = floor;
}

double TSpectrumAnalyzer::SnapToPeak(double F) const {
  const numeric::TVec& a = Amplt();
  const double hzRes = HzRes();
  if (a.Length() == 0 || !(hzRes > 0.0)) return F;
  std::int32_t index = detail::ClampIndex(detail::RoundIndex((F - StartFrequency()) / hzRes), a.Length());
  dsp::FindLocalMaximum(a, index);
  return index * hzRes + StartFrequency();
}

// --- Delays ----------------------------------------------------------------

void TSpectrumAnalyzer::GroupDelay() {
  const TSignal* input = InputSignal();
  if (input == nullptr) numeric::RaiseError("Inputs[0] = nil!");
  // With a second input the delay is that of the response shown, Output
  // over input.
  if (const TSignal* out = Output())
    dsp::GroupDelayFft(Phase(), out->Data(), &input->Data(), ZeroPadding());
  else
    dsp::GroupDelayFft(Phase(), input->Data(), nullptr, ZeroPadding());
}

void TSpectrumAnalyzer::PhaseDelay() {
  dsp::PhaseUnwrap(Phase(), Phase(), dsp::rpDefault, FPaddingRatio, PhaseUnits() == puRad, 180.0);
  const double d = PhaseUnits() == puRad ? -2.0 * numeric::PI * HzRes() : -360.0 * HzRes();
  double* p = Phase().Values();
  for (std::int32_t i = 1; i < Phase().Length(); ++i) p[i] /= i * d;
}

// --- Registration ----------------------------------------------------------

void RegisterSpectrumAnalyzerClasses() { classlib::RegisterClasses({&TSpectrumAnalyzer::StaticClassInfo()}); }

void UnregisterSpectrumAnalyzerClasses() { classlib::UnRegisterClass(TSpectrumAnalyzer::StaticClassInfo()); }

}  // namespace sig

// Power-of-two rate changes: the prototypes and stage chain of
// TSignalMultiRate, the interpolator and the decimator.
// Tested by: signal/tests/MultiRateTest.cpp.
#include "signal/MultiRate.h"

#include <algorithm>
#include <cmath>

#include "numeric/MathCore.h"
#include "signal/SignalFilter.h"

namespace sig {

namespace {

// Below this a prototype's end taps are the rounding of a zero (half-band
// designs of some lengths end in zeros).
constexpr double ZeroEndTap = 2.220446049250313E-14;
constexpr double SmallestTransBW = 2.22044604925031E-16;
constexpr std::int32_t LargestPowerFactor = std::int32_t{1} << 30;

}  // namespace

std::int32_t PowerOfTwoFactor(std::int64_t Value) {
  if (Value < 2) return 1;
  std::int32_t f = 2;
  while (f < Value && f < LargestPowerFactor) f *= 2;
  return f;
}

// --- TSignalMultiRate ------------------------------------------------------

const classlib::TClassInfo& TSignalMultiRate::StaticClassInfo() {
  // Factor, Ripple and TransBW declare no default: they are always stored.
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalMultiRate>("TSignalMultiRate", TSignal::StaticClassInfo())
          .Property(
              "Input", [](const TSignalMultiRate& m) { return m.InputSignal(); },
              [](TSignalMultiRate& m, TSignal* v) { m.SetInput(v); })
          .Stored(&TSignalMultiRate::InputStored)
          .Property("ExternalTaps", &TSignalMultiRate::ExternalTaps, &TSignalMultiRate::SetExternalTaps, false)
          .Property("Ripple", &TSignalMultiRate::Ripple, &TSignalMultiRate::SetRipple)
          .Property("Factor", &TSignalMultiRate::Factor, &TSignalMultiRate::SetFactor)
          .Property("TransBW", &TSignalMultiRate::TransBW, &TSignalMultiRate::SetTransBW)
          .Build();
  return info;
}

TSignalMultiRate::TSignalMultiRate(classlib::TComponent* AOwner)
    : TSignal(AOwner), FWide(std::make_unique<numeric::TVec>()), FSharp(std::make_unique<numeric::TVec>()) {
  SetUsesInputs(true);
}

TSignalMultiRate::~TSignalMultiRate() {
  // The scratch input goes first, so that nothing is told of it while this
  // component is half taken down.
  if (FScratch && GetInput() == FScratch.get()) SetInput(nullptr);
  FScratch.reset();
  FStages.clear();
}

void TSignalMultiRate::SetRipple(double Value) {
  if (Value == FRipple) return;
  FRipple = Value;
  SetTapsValid(false);
}

void TSignalMultiRate::SetTransBW(double Value) {
  if (Value == FTransBW) return;
  FTransBW = std::isnan(Value) ? FTransBW : std::clamp(Value, SmallestTransBW, 1.0);
  SetTapsValid(false);
}

void TSignalMultiRate::SetExternalTaps(bool Value) {
  if (Value == FExternalTaps) return;
  FExternalTaps = Value;
  SetTapsValid(false);
}

void TSignalMultiRate::SetTapsValid(bool Value) {
  if (Value == FTapsValid) return;
  FTapsValid = Value;
  FStagesReady = false;
}

void TSignalMultiRate::SetFactor(std::int32_t Value) {
  const std::int32_t factor = PowerOfTwoFactor(Value);
  if (factor == FFactor) return;
  FFactor = factor;
  FStagesReady = FFactor == 1;
}

std::int32_t TSignalMultiRate::FactorLog2() const {
  std::int32_t n = 0;
  while ((std::int32_t{1} << n) < FFactor) ++n;
  return n;
}

void TSignalMultiRate::FreeStages() {
  for (auto& stage : FStages) {
    dsp::FirFreeState(stage->Fir);
    dsp::FirFreeState(stage->OddBranch);
  }
  FStages.clear();
}

void TSignalMultiRate::AddStage(const numeric::TVec& Taps, double Gain, bool Complex, std::int32_t Up,
                                std::int32_t Down) {
  auto stage = std::make_unique<TStage>();
  numeric::TVec scaled;
  scaled.Copy(Taps);
  if (Gain != 1.0) scaled.Scale(Gain);
  if (Up == 2 && Down == 1 && !scaled.Complex() && scaled.Length() >= 2) {
    numeric::TVec even, odd;
    even.DownSample(scaled, 2, 0);
    odd.DownSample(scaled, 2, 1);
    dsp::FirInitState(even, stage->Fir, Complex);
    dsp::FirInitState(odd, stage->OddBranch, Complex);
    stage->Polyphase = true;
  } else {
    dsp::FirInitState(scaled, stage->Fir, Complex, Up, 0, Down, 0);
  }
  FStages.push_back(std::move(stage));
}

void TSignalMultiRate::RunStage(std::int32_t Index, const numeric::TVec& Src, numeric::TVec& Dst) {
  TStage& stage = Stage(Index);
  if (!stage.Polyphase) {
    dsp::FirFilter(Src, Dst, stage.Fir);
    return;
  }
  dsp::FirFilter(Src, stage.EvenOut, stage.Fir);
  dsp::FirFilter(Src, stage.OddOut, stage.OddBranch);
  const std::int32_t n = stage.EvenOut.Length();
  const bool complex = stage.EvenOut.Complex();
  Dst.Size(2 * n, complex);
  // Output 2i from the even branch, 2i + 1 from the odd one.
  const std::int32_t width = complex ? 2 : 1;
  const double* even = stage.EvenOut.Values();
  const double* odd = stage.OddOut.Values();
  double* out = Dst.Values();
  for (std::int32_t i = 0; i < n; ++i)
    for (std::int32_t w = 0; w < width; ++w) {
      out[(2 * i) * width + w] = even[i * width + w];
      out[(2 * i + 1) * width + w] = odd[i * width + w];
    }
}

void TSignalMultiRate::CheckOutputLength(std::int64_t Length, double Ratio) {
  const double length = static_cast<double>(Length) * Ratio;
  if (length > static_cast<double>(MaxOutputLength))
    numeric::RaiseError("MultiRate: an output block of " + numeric::SampleToStr(std::ceil(length)) +
                        " samples exceeds the limit of " + std::to_string(MaxOutputLength) + "!");
}

void TSignalMultiRate::Prepare() {
  const TSignal* input = InputSignal();
  if (input != nullptr && input->ChannelCount() > 1) numeric::RaiseError(MultiChannelRefusal);
  if (FFactor == 1 && !FStages.empty()) FreeStages();
  if (!FTapsValid) DesignTaps();
  const bool complex = input != nullptr && input->Data().Complex();
  // Stages set up for the other kind of data would refuse the block.
  if (FStagesReady && FFactor > 1 && complex != FStagesComplex) FStagesReady = false;
  if (!FStagesReady) {
    FreeStages();
    FStagesComplex = complex;
    InitStages();
    FStagesReady = true;
  }
}

void TSignalMultiRate::DesignPrototype(numeric::TVec& Taps, double Pass, double Stop) const {
  if (!(FRipple > 0.0 && FRipple < 1.0)) numeric::RaiseError("MultiRate: Ripple must lie between 0 and 1!");
  const double w[2] = {Pass, Stop};
  if (!dsp::RemezFirAuto(Taps, w, FRipple, dsp::fltLowpass, 1.0, 2.0, true))
    numeric::RaiseError("MultiRate: the design of a prototype filter did not converge!");
}

void TSignalMultiRate::TapsDesigned() {
  if (FOnGetFilterTaps) FOnGetFilterTaps(this);
  SetTapsValid(true);
}

void TSignalMultiRate::DesignTaps() {
  if (!FExternalTaps) {
    const double pass = (1.0 - FTransBW) / 2.0;
    DesignPrototype(*FWide, 0.25, 0.75);
    DesignPrototype(*FSharp, pass, pass + FTransBW);
    for (numeric::TVec* taps : {FWide.get(), FSharp.get()}) {
      const std::int32_t n = taps->Length();
      if (n > 2 && std::fabs(taps->Values()[0]) < ZeroEndTap) {
        taps->Shift(-1);
        taps->Resize(n - 2);
      }
    }
  }
  TapsDesigned();
}

void TSignalMultiRate::Process(const numeric::TVec& Src, numeric::TVec& Dst) {
  if (!FScratch) FScratch = std::make_unique<TSignal>();
  FScratch->Data().Copy(Src);
  TAnalysis* previous = GetInput();
  SetInput(FScratch.get());
  try {
    Update();
  } catch (...) {
    SetInput(previous);
    throw;
  }
  SetInput(previous);
  Dst.Copy(Data());
}

// --- TSignalInterpolator ---------------------------------------------------

const classlib::TClassInfo& TSignalInterpolator::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalInterpolator>("TSignalInterpolator", TSignalMultiRate::StaticClassInfo())
          .Creatable()
          .Build();
  return info;
}

TSignalInterpolator::TSignalInterpolator(classlib::TComponent* AOwner) : TSignalMultiRate(AOwner) {}

void TSignalInterpolator::InitStages() {
  // Each stage puts a zero between two samples: twice the gain keeps the
  // level.
  const std::int32_t n = FactorLog2();
  for (std::int32_t k = 0; k < n; ++k) AddStage(k == 0 ? SharpTaps() : WideTaps(), 2.0, StagesComplex(), 2, 1);
}

std::uint8_t TSignalInterpolator::InternalUpdate() {
  TSignal* input = InputSignal();
  if (input == nullptr) numeric::RaiseError("Input = nil!");
  CheckOutputLength(input->Length(), FFactor);
  Prepare();
  SetSamplingFrequency(input->SamplingFrequency() * FFactor);
  const std::int32_t n = StageCount();
  if (n == 0) {
    Data().Copy(input->Data());
    return 0;
  }
  const numeric::TVec* current = &input->Data();
  for (std::int32_t k = 0; k < n; ++k) {
    numeric::TVec& out = k == n - 1 ? Data() : Stage(k).Out;
    RunStage(k, *current, out);
    current = &out;
  }
  return 0;
}

// --- TSignalDecimator ------------------------------------------------------

const classlib::TClassInfo& TSignalDecimator::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalDecimator>("TSignalDecimator", TSignalMultiRate::StaticClassInfo())
          .Property("EnvelopeFactor", &TSignalDecimator::EnvelopeFactor, &TSignalDecimator::SetEnvelopeFactor, 0)
          .Property("LastStageFilterOnly", &TSignalDecimator::LastStageFilterOnly,
                    &TSignalDecimator::SetLastStageFilterOnly, false)
          .Creatable()
          .Build();
  return info;
}

TSignalDecimator::TSignalDecimator(classlib::TComponent* AOwner) : TSignalMultiRate(AOwner) {}

void TSignalDecimator::SetFactor(std::int32_t Value) {
  const std::int32_t factor = PowerOfTwoFactor(Value);
  if (factor == FFactor) return;
  FFactor = factor;
  FEnvelopeFactor = std::min(FFactor, FEnvelopeFactor);
  SetStagesReady(false);
}

void TSignalDecimator::SetEnvelopeFactor(std::int32_t Value) {
  const std::int32_t envelope = Value < 1 ? 0 : PowerOfTwoFactor(Value);
  if (envelope == FEnvelopeFactor) return;
  FEnvelopeFactor = envelope;
  SetFactor(std::max(FFactor, FEnvelopeFactor));
  SetStagesReady(false);
}

void TSignalDecimator::SetLastStageFilterOnly(bool Value) {
  if (Value == FLastStageFilterOnly) return;
  FLastStageFilterOnly = Value;
  SetStagesReady(false);
}

bool TSignalDecimator::RectifiedBefore(std::int32_t Stage) const {
  return FEnvelopeFactor >= 1 && FEnvelopeFactor <= (std::int32_t{1} << Stage);
}

void TSignalDecimator::InitStages() {
  const std::int32_t n = FactorLog2();
  for (std::int32_t k = 0; k < n; ++k) {
    const bool last = k == n - 1;
    // The magnitude is real: the stages after it filter real data.
    const bool complex = StagesComplex() && !RectifiedBefore(k);
    AddStage(last ? SharpTaps() : WideTaps(), 1.0, complex, 1, last && LastStageFilterOnly() ? 1 : 2);
  }
}

void TSignalDecimator::Decimate(const numeric::TVec& Src) {
  const std::int32_t n = StageCount();
  numeric::TCachedVec magnitude;
  const numeric::TVec* current = &Src;
  // The signal is rectified where the rate has fallen by EnvelopeFactor:
  // before stage log2(EnvelopeFactor), or after the last one.
  const auto rectifyAt = [this](std::int32_t Position) {
    return FEnvelopeFactor >= 1 && FEnvelopeFactor == (std::int32_t{1} << Position);
  };
  if (rectifyAt(0)) {
    magnitude->Abs(Src);
    current = &*magnitude;
  }
  if (n == 0) {
    Data().Copy(*current);
    return;
  }
  for (std::int32_t k = 0; k < n; ++k) {
    numeric::TVec& out = k == n - 1 ? Data() : Stage(k).Out;
    RunStage(k, *current, out);
    if (rectifyAt(k + 1)) out.Abs();
    current = &out;
  }
}

std::uint8_t TSignalDecimator::InternalUpdate() {
  TSignal* input = InputSignal();
  if (input == nullptr) numeric::RaiseError("Input = nil!");
  Prepare();
  Decimate(input->Data());
  SetSamplingFrequency(input->SamplingFrequency() / FFactor);
  return 0;
}

}  // namespace sig

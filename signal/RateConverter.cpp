// TSignalRateConverter: the choice of chain for a factor, and the update.
// Tested by: signal/tests/RateConverterTest.cpp, signal/tests/RateConverterOracleTest.cpp.
#include "signal/RateConverter.h"

#include <algorithm>
#include <cmath>

#include "numeric/MathCore.h"
#include "signal/SignalFilter.h"

namespace sig {

namespace {

constexpr double SmallestValue = 2.22044604925031E-16;
constexpr double LargestRateFactor = 2147483647.0;
// How near a factor must lie to a power of two to count as one.
constexpr double PowerTolerance = 1E-5;

// The power of two X lies within the tolerance of, or 0.
std::int32_t NearPowerOfTwo(double X) {
  if (!(X >= 1.0 - PowerTolerance) || X > 1073741824.0 * (1.0 + PowerTolerance)) return 0;
  const double p = std::exp2(std::round(std::log2(X)));
  return std::fabs(X - p) <= PowerTolerance * p ? static_cast<std::int32_t>(p) : 0;
}

double Clamped(double Value, double Low, double High, double Current) {
  return std::isnan(Value) ? Current : std::clamp(Value, Low, High);
}

// An equiripple low-pass prototype with the transition Pass .. Stop (Nyquist
// 1), at pass gain 1.
void DesignLowpass(numeric::TVec& Taps, double Pass, double Stop, double Ripple) {
  const double w[2] = {Pass, Stop};
  if (!dsp::RemezFirAuto(Taps, w, Ripple, dsp::fltLowpass, 1.0, 2.0, true))
    numeric::RaiseError("Rate converter: the design of a prototype filter did not converge!");
}

}  // namespace

const classlib::TClassInfo& TSignalRateConverter::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalRateConverter>("TSignalRateConverter", TSignal::StaticClassInfo())
          .Property(
              "Input", [](const TSignalRateConverter& c) { return c.InputSignal(); },
              [](TSignalRateConverter& c, TSignal* v) { c.SetInput(v); })
          .Stored(&TSignalRateConverter::InputStored)
          .Property("Factor", &TSignalRateConverter::Factor, &TSignalRateConverter::SetFactor, 1.0)
          .Property("Ripple", &TSignalRateConverter::Ripple, &TSignalRateConverter::SetRipple, 0.001)
          .Property("TransBW", &TSignalRateConverter::TransBW, &TSignalRateConverter::SetTransBW, 0.1)
          .Creatable()
          .Build();
  return info;
}

TSignalRateConverter::TSignalRateConverter(classlib::TComponent* AOwner)
    : TSignal(AOwner),
      FDecimator(std::make_unique<TSignalDecimator>()),
      FInterpolator(std::make_unique<TSignalInterpolator>()),
      FInterpolator2(std::make_unique<TSignalInterpolator>()),
      FBandlimited(std::make_unique<TBandlimitedInterpolator>()) {
  SetUsesInputs(true);
  // Named, so that a part's error says which part failed.
  FDecimator->SetName("Decimator");
  FInterpolator->SetName("Interpolator");
  FInterpolator2->SetName("Interpolator2");
  FBandlimited->SetName("BandlimitedInterpolator");
}

TSignalRateConverter::~TSignalRateConverter() {
  for (TSignal* part : {static_cast<TSignal*>(FDecimator.get()), static_cast<TSignal*>(FInterpolator.get()),
                        static_cast<TSignal*>(FInterpolator2.get()), static_cast<TSignal*>(FBandlimited.get())})
    part->SetInput(nullptr);
}

void TSignalRateConverter::SetFactor(double Value) {
  if (Value == FFactor) return;
  FFactor = Clamped(Value, SmallestValue, LargestRateFactor, FFactor);
  FConfigured = false;
}

void TSignalRateConverter::SetRipple(double Value) {
  if (Value == FRipple) return;
  FRipple = Clamped(Value, 1E-12, 0.1, FRipple);
  FConfigured = false;
}

void TSignalRateConverter::SetTransBW(double Value) {
  if (Value == FTransBW) return;
  FTransBW = Clamped(Value, SmallestValue, 1.0, FTransBW);
  FConfigured = false;
}

void TSignalRateConverter::SetInput(TAnalysis* Value) {
  if (Value == GetInput()) return;
  TSignal::SetInput(Value);
  FConfigured = false;
}

void TSignalRateConverter::Configure() {
  TSignal* input = InputSignal();
  const double f = FFactor;
  for (TSignal* part : {static_cast<TSignal*>(FDecimator.get()), static_cast<TSignal*>(FInterpolator.get()),
                        static_cast<TSignal*>(FInterpolator2.get()), static_cast<TSignal*>(FBandlimited.get())})
    part->SetInput(nullptr);
  FChain.clear();
  const auto setUp = [this](TSignalMultiRate& Part, bool External, std::int32_t Factor) {
    Part.SetExternalTaps(External);
    Part.SetRipple(FRipple);
    Part.SetTransBW(FTransBW);
    Part.SetFactor(Factor);
  };
  const auto bandlimited = [this](double R) {
    FBandlimited->SetResampleFactor(R);
    FBandlimited->SetRipple(FRipple);
    FBandlimited->Design();
  };
  if (std::fabs(f - 1.0) <= PowerTolerance) {
    // The input is copied.
  } else if (f > 1.0) {
    if (const std::int32_t power = NearPowerOfTwo(f)) {
      setUp(*FInterpolator, false, power);
      FInterpolator->SetInput(input);
      FChain = {FInterpolator.get()};
    } else {
      setUp(*FInterpolator2, false, 2);
      FInterpolator2->SetInput(input);
      // Up to 2 the interpolator by 2 and the band-limited one do it all.
      const std::int32_t m = f <= 2.0 ? 1 : PowerOfTwoFactor(static_cast<std::int64_t>(f)) / 2;
      const double r = f / (2.0 * m);
      bandlimited(r);
      FBandlimited->SetInput(FInterpolator2.get());
      FChain = {FInterpolator2.get(), FBandlimited.get()};
      if (f > 2.0) {
        setUp(*FInterpolator, true, m);
        const double w = 0.5 / (2.0 * r);
        const double p = w * (1.0 + FTransBW);
        DesignLowpass(FInterpolator->WideTaps(), 0.25, 0.75, FRipple);
        DesignLowpass(FInterpolator->SharpTaps(), p, 1.0 - p, FRipple);
        FInterpolator->SetTapsValid(false);
        FInterpolator->SetInput(FBandlimited.get());
        FChain.push_back(FInterpolator.get());
      }
    }
  } else if (const std::int32_t power = NearPowerOfTwo(1.0 / f)) {
    setUp(*FDecimator, false, power);
    FDecimator->SetLastStageFilterOnly(false);
    FDecimator->SetInput(input);
    FChain = {FDecimator.get()};
  } else if (f <= 0.5) {
    // The decimator whose last stage only filters lowers the rate by M / 2:
    // it needs two stages' worth of factor even where one would do.
    const std::int32_t d = static_cast<std::int32_t>(1.0 / f);
    const std::int32_t m = std::max(2, PowerOfTwoFactor(d) / 2);
    const double r = m * f / 2.0;
    setUp(*FDecimator, true, m);
    FDecimator->SetLastStageFilterOnly(true);
    bandlimited(r);
    DesignLowpass(FDecimator->WideTaps(), 0.25, 0.75, FRipple);
    DesignLowpass(FDecimator->SharpTaps(), (1.0 - FTransBW) * r, (1.0 + FTransBW) * r, FRipple);
    FDecimator->SetTapsValid(false);
    FDecimator->SetInput(input);
    FBandlimited->SetInput(FDecimator.get());
    FChain = {FDecimator.get(), FBandlimited.get()};
  } else {
    const double r = f / 2.0;
    bandlimited(r);
    setUp(*FInterpolator2, true, 2);
    DesignLowpass(FInterpolator2->SharpTaps(), r - FTransBW / 4.0, r + FTransBW / 4.0, FRipple);
    FInterpolator2->SetTapsValid(false);
    FInterpolator2->SetInput(input);
    FBandlimited->SetInput(FInterpolator2.get());
    FChain = {FInterpolator2.get(), FBandlimited.get()};
  }
  FConfigured = true;
}

std::uint8_t TSignalRateConverter::InternalUpdate() {
  TSignal* input = InputSignal();
  if (input == nullptr) numeric::RaiseError("Input = nil!");
  if (!FConfigured) Configure();
  if (FChain.empty()) {
    Data().Copy(input->Data());
    return 0;
  }
  if (input->ChannelCount() > 1) numeric::RaiseError(MultiChannelRefusal);
  if (static_cast<double>(input->Length()) * FFactor > static_cast<double>(MaxOutputLength))
    numeric::RaiseError("Rate converter: an output block of " + numeric::SampleToStr(std::ceil(input->Length() * FFactor)) +
                        " samples exceeds the limit of " + std::to_string(MaxOutputLength) + "!");
  for (TSignal* part : FChain) part->Update();
  Data().Copy(FChain.back()->Data());
  SetSamplingFrequency(input->SamplingFrequency() * FFactor);
  return 0;
}

}  // namespace sig

// TSignalDemodulator: the band, its factor and tones, and the update.
// Tested by: signal/tests/MultiRateTest.cpp.
#include "signal/SignalDemodulator.h"

#include <algorithm>
#include <cmath>

#include "numeric/MathCore.h"

namespace sig {

namespace {

constexpr double LargestBandFactor = 1073741824.0;  // 2^30

double ClampBand(double Value, double Current) { return std::isnan(Value) ? Current : std::clamp(Value, 0.0, 0.5); }

}  // namespace

const classlib::TClassInfo& TSignalDemodulator::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalDemodulator>("TSignalDemodulator", TSignalDecimator::StaticClassInfo())
          .Property("SubBandFrequency", &TSignalDemodulator::SubBandFrequency,
                    &TSignalDemodulator::SetSubBandFrequency, 0.0)
          .Property("SubBandWidth", &TSignalDemodulator::SubBandWidth, &TSignalDemodulator::SetSubBandWidth, 0.0)
          .Creatable()
          .Build();
  return info;
}

TSignalDemodulator::TSignalDemodulator(classlib::TComponent* AOwner) : TSignalDecimator(AOwner) { Reconfigure(); }

void TSignalDemodulator::SetSubBandFrequency(double Value) {
  if (Value == FSubBandFrequency) return;
  FSubBandFrequency = ClampBand(Value, FSubBandFrequency);
  Reconfigure();
}

void TSignalDemodulator::SetSubBandWidth(double Value) {
  if (Value == FSubBandWidth) return;
  FSubBandWidth = ClampBand(Value, FSubBandWidth);
  Reconfigure();
}

void TSignalDemodulator::Reconfigure() {
  // w: the power-of-two fraction of the rate that holds the band.
  const double b = FSubBandWidth;
  double w = 0.0;
  if (b > 0.0 && 0.5 / b <= LargestBandFactor) {
    w = 0.5 / PowerOfTwoFactor(static_cast<std::int64_t>(0.5 / b));
    if (w < b) w *= 2.0;
  }
  if (FSubBandFrequency + w > 0.5 || (w > 0.0 && 1.0 / w > LargestBandFactor)) w = 0.0;
  if (w > 0.0) {
    TSignalDecimator::SetFactor(static_cast<std::int32_t>(1.0 / w));
    dsp::ToneInit(FDownTone, true, FSubBandFrequency + w / 2.0, 0.0, 1.0);
    dsp::ToneInit(FUpTone, true, 0.25, 0.0, 1.0);
  } else {
    TSignalDecimator::SetFactor(1);
  }
}

void TSignalDemodulator::DesignTaps() {
  if (!ExternalTaps()) {
    DesignPrototype(WideTaps(), 0.25, 0.75);
    DesignPrototype(SharpTaps(), 0.45, 0.55);
    SharpTaps().Scale(2.0);
  }
  TapsDesigned();
}

void TSignalDemodulator::InitStages() {
  const std::int32_t n = FactorLog2();
  for (std::int32_t k = 0; k < n; ++k) {
    const bool last = k == n - 1;
    AddStage(last ? SharpTaps() : WideTaps(), 1.0, true, 1, last ? 1 : 2);
  }
}

std::uint8_t TSignalDemodulator::InternalUpdate() {
  TSignal* input = InputSignal();
  if (input == nullptr) numeric::RaiseError("Input = nil!");
  if (input->Length() % 2 != 0) numeric::RaiseError("(Input.Length mod 2) <> 0");
  Prepare();
  if (FFactor < 2) {
    Data().Copy(input->Data());
    return 0;
  }
  const double rate = input->SamplingFrequency();
  if (input->Length() == 0) {
    Data().Size(0, false);
  } else {
    FTone.Size(input->Length(), true);
    dsp::ToneGenerate(FTone, FDownTone);
    FWork.ConjMul(input->Data(), FTone);
    Decimate(FWork);
    if (Data().Length() == 0) {
      Data().Size(0, false);
    } else {
      FTone.Size(Data().Length(), true);
      dsp::ToneGenerate(FTone, FUpTone);
      FWork.Mul(Data(), FTone);
      Data().RealPart(FWork);
    }
  }
  SetStartFrequency(rate * FSubBandFrequency);
  SetSamplingFrequency(rate * 2.0 / FFactor);
  return 0;
}

}  // namespace sig

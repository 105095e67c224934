// TSignalAnalyzer: its parameters, the preparation of its inputs and its
// transforms.
// Tested by: signal/tests/SignalAnalyzerTest.cpp, signal/tests/SignalAnalysisOracleTest.cpp.
#include "signal/SignalAnalyzer.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "numeric/MathCore.h"
#include "numeric/ObjectCache.h"
#include "platform/classlib/ClassRegistry.h"
#include "signal/SignalCollections.h"
#include "signal/SignalInternal.h"
#include "signal/SignalReport.h"

namespace sig {

const classlib::TClassInfo& TSignalAnalyzer::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalAnalyzer>("TSignalAnalyzer", TSignal::StaticClassInfo())
          .SubObject("Report", [](const TSignalAnalyzer& a) { return &a.Report(); })
          .SubObject("Inputs", [](const TSignalAnalyzer& a) { return a.Inputs(); })
          .Stored(&TSignalAnalyzer::InputStored)
          .Property("RemoveDC", &TSignalAnalyzer::RemoveDC, &TSignalAnalyzer::SetRemoveDC, false)
          .Property("AutoCorrType", &TSignalAnalyzer::AutoCorrType, &TSignalAnalyzer::SetAutoCorrType, ctNormal)
          .TypeName("TAutoCorrType")
          .Names({"ctNormal", "ctBiased", "ctUnbiased"})
          .Property("CorrTaps1", &TSignalAnalyzer::CorrTaps1, &TSignalAnalyzer::SetCorrTaps1, 100)
          .Property("CorrTaps2", &TSignalAnalyzer::CorrTaps2, &TSignalAnalyzer::SetCorrTaps2, 0)
          .Property("SidelobeAtt", &TSignalAnalyzer::SidelobeAtt, &TSignalAnalyzer::SetSidelobeAtt, 40.0)
          .Property("ScaleFactor", &TSignalAnalyzer::ScaleFactor, &TSignalAnalyzer::SetScaleFactor, 1.0)
          .Property("Window", &TSignalAnalyzer::Window, &TSignalAnalyzer::SetWindow, dsp::wtRectangular)
          .TypeName("TSignalWindowType")
          .Names(detail::WindowTypeNames())
          .Property("Transform", &TSignalAnalyzer::Transform, &TSignalAnalyzer::SetTransform, ttWindow)
          .TypeName("TTimeTransform")
          .Names({"ttWindow", "ttAutoCorr", "ttCrossCorr", "ttDct", "ttInverseDct", "ttRealCepstrum",
                  "ttCplxCepstrum"})
          .Property("Integration", &TSignalAnalyzer::Integration, &TSignalAnalyzer::SetIntegration, inNone)
          .TypeName("TIntegration")
          .Names({"inNone", "inOnce", "inTwice", "diffOnce", "diffTwice"})
          .Property("ExpWindow", &TSignalAnalyzer::ExpWindow, &TSignalAnalyzer::SetExpWindow, 0.01)
          .Property("Rotation", &TSignalAnalyzer::Rotation, &TSignalAnalyzer::SetRotation, 0)
          .Creatable()
          .Build();
  return info;
}

TSignalAnalyzer::TSignalAnalyzer(classlib::TComponent* AOwner)
    : TSignal(AOwner), FWindowVec(std::make_unique<numeric::TVec>()) {
  SetUsesInputs(true);
  FReport = std::make_unique<TSignalReport>(this);
  SetMultiChannel(true);
  for (auto& prepared : FPrepared) prepared = std::make_unique<numeric::TVec>();
}

TSignalAnalyzer::~TSignalAnalyzer() = default;

TSignal* TSignalAnalyzer::InputItem(std::int32_t Index) const {
  const TSignalCollection* inputs = Inputs();
  return inputs != nullptr && Index < inputs->Count() ? inputs->Items(Index)->Input() : nullptr;
}

// --- Parameters ------------------------------------------------------------

void TSignalAnalyzer::SetCorrTaps1(std::int32_t Value) {
  FCorrTaps1 = std::max(Value, 2);
  if (FCorrTaps1 <= FCorrTaps2) FCorrTaps2 = FCorrTaps1 - 1;
}

void TSignalAnalyzer::SetCorrTaps2(std::int32_t Value) {
  const TSignalCollection* inputs = Inputs();
  if (inputs == nullptr || inputs->Count() != 2) return;
  FCorrTaps2 = std::max(Value, 0);
  if (FCorrTaps1 <= FCorrTaps2) FCorrTaps2 = FCorrTaps1 - 1;
}

void TSignalAnalyzer::SetSidelobeAtt(double Value) {
  if (Value == FSidelobeAtt || std::isnan(Value)) return;
  MarkDirty();
  FSidelobeAtt = std::clamp(Value, 13.0, 300.0);
  if (FWindow == dsp::wtKaiser || FWindow == dsp::wtChebyshev) {
    FWindowValid = false;
    if (const TSignal* input = InputItem(0)) PrepareWindow(input->Length(), input->Complex());
  }
}

void TSignalAnalyzer::SetWindow(TSignalWindowType Value) {
  const TSignal* input = InputItem(0);
  if (input == nullptr) {
    FWindowValid = false;
    FWindow = Value;
    return;
  }
  if (Value != FWindow) FWindowValid = false;
  FWindow = Value;
  PrepareWindow(input->Length(), input->Complex());
}

void TSignalAnalyzer::PrepareWindow(std::int32_t Length, bool Complex) {
  if (FWindowValid && FWindowLength == Length && FWindowComplex == Complex) return;
  detail::BuildWindow(*FWindowVec, Length, FWindow, FSidelobeAtt, FExpWindow);
  FWindowLength = Length;
  FWindowComplex = Complex;
  FWindowValid = true;
}

// --- The update --------------------------------------------------------------

void TSignalAnalyzer::PrepareUpdate() {
  const TSignalCollection* inputs = Inputs();
  for (std::int32_t i = 0; inputs != nullptr && i < inputs->Count(); ++i) {
    const TSignal* input = inputs->Items(i)->Input();
    if (input != nullptr && input->ChannelCount() > 1) numeric::RaiseError("Input.ChannelCount > 1 not supported!");
  }
  TSignal::PrepareUpdate();
}

void TSignalAnalyzer::PrepareInput(std::int32_t Index, numeric::TVec& Prepared) {
  const TSignal* input = InputItem(Index);
  if (input == nullptr) numeric::RaiseError("Inputs[" + std::to_string(Index) + "] = nil!");
  const double dt = SamplePeriod();
  auto& integral = FIntegrationStates[static_cast<std::size_t>(Index)];
  auto& derivative = FDifferentiationStates[static_cast<std::size_t>(Index)];
  numeric::TCachedVec copy;
  copy->Copy(input->Data());
  if (FRemoveDC) dsp::RemoveMean(*copy);
  switch (FIntegration) {
    case inNone:
      Prepared.Copy(*copy);
      break;
    case inOnce:
    case inTwice:
      dsp::Integrate(*copy, Prepared, integral[0], dt);
      if (FRemoveDC) dsp::RemoveMean(Prepared);
      if (FIntegration == inTwice) {
        dsp::Integrate(Prepared, *copy, integral[1], dt);
        if (FRemoveDC) dsp::RemoveMean(*copy);
        Prepared.Copy(*copy);
      }
      break;
    case diffOnce:
    case diffTwice:
      dsp::Differentiate(*copy, Prepared, derivative[0], dt);
      if (FIntegration == diffTwice) dsp::Differentiate(Prepared, Prepared, derivative[1], dt);
      break;
  }
  const std::int32_t n = Prepared.Length();
  if (FRotation != 0 && n > 0) Prepared.Rotate(FRotation % n);
}

std::uint8_t TSignalAnalyzer::InternalUpdate() {
  const TSignalCollection* inputs = Inputs();
  const std::int32_t prepared = std::min(inputs != nullptr ? inputs->Count() : 0, 2);
  if (prepared == 0) numeric::RaiseError("Inputs[0] = nil!");
  for (std::int32_t i = 0; i < prepared; ++i) PrepareInput(i, *FPrepared[static_cast<std::size_t>(i)]);
  const numeric::TVec& x = *FPrepared[0];
  numeric::TVec& data = Data();
  switch (FTransform) {
    case ttWindow:
      data.Copy(x);
      if (FWindow != dsp::wtRectangular && x.Length() > 0) {
        PrepareWindow(x.Length(), x.Complex());
        const double* w = FWindowVec->Values();
        double* d = data.Values();
        const int parts = data.Complex() ? 2 : 1;
        for (std::int32_t j = 0; j < data.Length(); ++j)
          for (int p = 0; p < parts; ++p) d[parts * j + p] *= w[j];
      }
      break;
    case ttAutoCorr:
      FCorrTaps1 = std::max(FCorrTaps1, 2);
      switch (FAutoCorrType) {
        case ctNormal:
          data.AutoCorrNormal(x, FCorrTaps1);
          break;
        case ctBiased:
          data.AutoCorrBiased(x, FCorrTaps1);
          break;
        case ctUnbiased:
          data.AutoCorrUnBiased(x, FCorrTaps1);
          break;
      }
      break;
    case ttCrossCorr:
      if (prepared < 2) {
        data.Size(FCorrTaps1, false);
        data.SetZero();
      } else {
        FCorrTaps1 = std::max(FCorrTaps1, 2);
        FCorrTaps2 = std::clamp(FCorrTaps2, 0, FCorrTaps1 - 1);
        data.CrossCorr(x, *FPrepared[1], FCorrTaps1, FCorrTaps2);
      }
      break;
    case ttDct:
      data.DCT(x);
      break;
    case ttInverseDct:
      data.IDCT(x);
      break;
    case ttRealCepstrum:
      dsp::RealCepstrum(x, data, true, dsp::wtRectangular, true);
      break;
    case ttCplxCepstrum:
      dsp::ComplexCepstrum(x, data, 16);
      break;
  }
  if (FScaleFactor != 1.0) data.Scale(FScaleFactor);
  UpdateMinMax();
  return 0;
}

// --- Registration ----------------------------------------------------------

void RegisterSignalAnalyzerClasses() { classlib::RegisterClasses({&TSignalAnalyzer::StaticClassInfo()}); }

void UnregisterSignalAnalyzerClasses() { classlib::UnRegisterClass(TSignalAnalyzer::StaticClassInfo()); }

}  // namespace sig

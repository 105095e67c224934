// TSignalFilter: its parameters, the running states and the update. The
// designs of the response kinds are in SignalFilterDesign.cpp.
// Tested by: signal/tests/SignalFilterTest.cpp.
#include "signal/SignalFilter.h"

#include <algorithm>

#include "numeric/MathCore.h"

namespace sig {

const classlib::TClassInfo& TSignalFilter::StaticClassInfo() {
  // UpSample before UpDelay, Response before FirLength before Order: each
  // later setter holds its value within what the earlier ones allow.
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalFilter>("TSignalFilter", TSignal::StaticClassInfo())
          .Property(
              "Input", [](const TSignalFilter& f) { return f.InputSignal(); },
              [](TSignalFilter& f, TSignal* v) { f.SetInput(v); })
          .Stored(&TSignalFilter::InputStored)
          .SubObject("Filters", [](const TSignalFilter& f) { return &f.Filters(); })
          .SubObject("Taps", [](const TSignalFilter& f) { return &f.Taps(); })
          .Property("UpSample", &TSignalFilter::UpSample, &TSignalFilter::SetUpSample, 1)
          .Property("UpDelay", &TSignalFilter::UpDelay, &TSignalFilter::SetUpDelay, 0)
          .Property("DownSample", &TSignalFilter::DownSample, &TSignalFilter::SetDownSample, 1)
          .Property("DownDelay", &TSignalFilter::DownDelay, &TSignalFilter::SetDownDelay, 0)
          .Property("ExternalTaps", &TSignalFilter::ExternalTaps, &TSignalFilter::SetExternalTaps, false)
          .Property("FirMethod", &TSignalFilter::FirMethod, &TSignalFilter::SetFirMethod, fimWindow)
          .TypeName("TFirFilterMethod")
          .Names({"fimWindow", "fimParksMcClellan"})
          .Property("IirMethod", &TSignalFilter::IirMethod, &TSignalFilter::SetIirMethod, dsp::fimButter)
          .TypeName("TIirFilterMethod")
          .Names({"fimButter", "fimChebyshevI", "fimChebyshevII", "fimElliptic", "fimDC", "fimNotch", "fimBessel"})
          .Property("IIRFrequencyTransform", &TSignalFilter::IIRFrequencyTransform,
                    &TSignalFilter::SetIIRFrequencyTransform, dsp::ftStateSpaceAnalog)
          .TypeName("TIirFrequencyTransform")
          .Names({"ftStateSpaceAnalog", "ftZeroPoleAnalog", "ftZeroPoleDiscrete"})
          .Property("Window", &TSignalFilter::Window, &TSignalFilter::SetWindow, dsp::wtKaiser)
          .TypeName("TSignalWindowType")
          .Names({"wtRectangular", "wtHanning", "wtHamming", "wtFlatTop", "wtBartlet", "wtBlackman",
                  "wtBlackmanHarris", "wtBlackmanExact", "wtCosineTappered", "wtKaiser", "wtChebyshev",
                  "wtExponent"})
          .Property("Response", &TSignalFilter::Response, &TSignalFilter::SetResponse)
          .TypeName("TResponseType")
          .Names({"rstUnit", "rstFIR", "rstDifferentiator", "rstDoubleDifferentiator", "rstIntegrator",
                  "rstDoubleIntegrator", "rstHilbert", "rstIIR", "rstSavGolay", "rstMovingAverage", "rstMedian",
                  "rstEnvelope", "rstWavelet", "rstIntegerDelay"})
          .Property("Beta", &TSignalFilter::Beta, &TSignalFilter::SetBeta)
          .Property("GridDensity", &TSignalFilter::GridDensity, &TSignalFilter::SetGridDensity, 16)
          .Property("FirLength", &TSignalFilter::FirLength, &TSignalFilter::SetFirLength, 1)
          .Property("Order", &TSignalFilter::Order, &TSignalFilter::SetOrder, 4)
          .Property("NormalizedFrequency", &TSignalFilter::NormalizedFrequency,
                    &TSignalFilter::SetNormalizedFrequency)
          .Property("UseNormalizedFrequency", &TSignalFilter::UseNormalizedFrequency,
                    &TSignalFilter::SetUseNormalizedFrequency, true)
          .Property("AutoFilterOrder", &TSignalFilter::AutoFilterOrder, &TSignalFilter::SetAutoFilterOrder, true)
          .Property("IgnoreAtt", &TSignalFilter::IgnoreAtt, &TSignalFilter::SetIgnoreAtt, false)
          .Property("Wavelet", &TSignalFilter::Wavelet, &TSignalFilter::SetWavelet, dsp::wtHaar)
          .TypeName("TWaveletType")
          .Names({"wtHaar", "wtDaublet", "wtSymmlet", "wtCoiflet", "wtVaidyanathan", "wtBSpline", "wtBSplineDual",
                  "wtLinSpline", "wtQuadSpline", "wtByFilter"})
          .Property("WaveletP1", &TSignalFilter::WaveletP1, &TSignalFilter::SetWaveletP1, 1)
          .Property("WaveletP2", &TSignalFilter::WaveletP2, &TSignalFilter::SetWaveletP2, 1)
          .Property("WaveletDecomp", &TSignalFilter::WaveletDecomp, &TSignalFilter::SetWaveletDecomp,
                    dsp::wtApproximation)
          .TypeName("TWaveletDecomp")
          .Names({"wtApproximation", "wtDetail"})
          .Creatable()
          .Build();
  return info;
}

TSignalFilter::TSignalFilter(classlib::TComponent* AOwner)
    : TSignal(AOwner), FFilters(std::make_unique<TFilterList>(this)), FTaps(std::make_unique<numeric::TVec>()) {
  SetUsesInputs(true);
}

TSignalFilter::~TSignalFilter() {
  dsp::FirFreeState(FFir);
  dsp::IirFreeState(FIir);
  dsp::MedianFree(FMedian);
}

// --- Parameters ------------------------------------------------------------

void TSignalFilter::SetTaps(const numeric::TVec& Value) {
  if (&Value != FTaps.get()) FTaps->Assign(Value);
}

void TSignalFilter::SetUpSample(std::int32_t Value) {
  // A factor of 0 would give an infinite rate and a delay of -1.
  FUpSample = std::max(Value, 1);
  SetUpDelay(FUpDelay);
}

void TSignalFilter::SetUpDelay(std::int32_t Value) { FUpDelay = std::clamp(Value, 0, FUpSample - 1); }

void TSignalFilter::SetDownSample(std::int32_t Value) {
  FDownSample = std::max(Value, 1);
  SetDownDelay(FDownDelay);
}

void TSignalFilter::SetDownDelay(std::int32_t Value) { FDownDelay = std::clamp(Value, 0, FDownSample - 1); }

void TSignalFilter::SetResponse(TResponseType Value) {
  if (Value == FResponse) return;
  FResponse = Value;
  FDesigned = false;
  if (FResponse == rstSavGolay) SetFirLength(FFirLength);
}

void TSignalFilter::SetOrder(std::int32_t Value) {
  FOrder = FResponse == rstSavGolay ? std::min(Value, FFirLength - 1) : std::clamp(Value, 1, dsp::MaxIirOrder);
}

void TSignalFilter::SetFirLength(std::int32_t Value) {
  FFirLength = std::clamp(Value, 1, 10000);
  if (FResponse == rstSavGolay) {
    if (FFirLength % 2 == 0) ++FFirLength;
    SetOrder(FOrder);
  }
}

bool TSignalFilter::IsFirKind() const {
  return (FResponse >= rstFIR && FResponse <= rstHilbert) || FResponse == rstSavGolay ||
         FResponse == rstMovingAverage;
}

double TSignalFilter::DesignFrequency() const {
  if (FUseNormalizedFrequency) return FNormalizedFrequency;
  const TSignal* input = InputSignal();
  const double rate = input != nullptr ? input->SamplingFrequency() : SamplingFrequency();
  // An interpolating FIR runs at the raised rate.
  return IsFirKind() ? rate * FUpSample : rate;
}

// --- Running state ---------------------------------------------------------

bool TSignalFilter::InitFilterState() {
  const TSignal* input = InputSignal();
  const auto missing = [this](const char* What) {
    FErrorText = What;
    return false;
  };
  if (input != nullptr) {
    FStateComplex = input->Data().Complex();
    FStateLength = input->Data().Length();
  }
  switch (FResponse) {
    case rstUnit:
    case rstEnvelope:
      return true;
    case rstIIR:
      if (input == nullptr) return missing("Input = nil!");
      if (FTaps->Length() == 0) return missing("Taps.Length = 0");
      dsp::IirInitState(*FTaps, FIir, FStateComplex);
      return true;
    case rstMedian:
      dsp::MedianInit(FFirLength, FMedian);
      return true;
    case rstWavelet:
      if (input == nullptr) return missing("Input = nil!");
      dsp::WaveletInit(FStateLength, FWaveletP1, FWaveletP2, FOrder, FWavelet, FWaveletState);
      return true;
    case rstIntegerDelay:
      dsp::DelayInit(FFirLength, FMedian);
      return true;
    default:
      if (input == nullptr) return missing("Input = nil!");
      if (FTaps->Length() == 0) return missing("FIRTaps.Length = 0");
      dsp::FirInitState(*FTaps, FFir, FStateComplex, FUpSample, FUpDelay, FDownSample, FDownDelay);
      return true;
  }
}

void TSignalFilter::UpdateFilter() {
  if (FDesigned) return;
  try {
    FErrorText.clear();
    if (!FExternalTaps) DesignTaps();
    FDesigned = InitFilterState();
  } catch (const classlib::Exception& e) {
    FDesigned = false;
    FErrorText = e.Message();
  }
}

bool TSignalFilter::StateFits(const numeric::TVec& Src) const {
  switch (FResponse) {
    case rstWavelet:
      return Src.Length() == FStateLength;
    case rstIIR:
      return Src.Complex() == FStateComplex;
    default:
      return !IsFirKind() || Src.Complex() == FStateComplex;
  }
}

void TSignalFilter::ProcessBlock(const numeric::TVec& Src, numeric::TVec& Dst) {
  // A state set up for another kind of data would refuse the block: it is
  // set up again (the filter starts afresh).
  if (FDesigned && !StateFits(Src)) FDesigned = false;
  UpdateFilter();
  if (!FDesigned) {
    Dst.Copy(Src);
    return;
  }
  switch (FResponse) {
    case rstIIR:
      dsp::IirFilter(Src, Dst, FIir);
      break;
    case rstMedian:
      dsp::MedianFilter(Src, Dst, FMedian);
      break;
    case rstEnvelope:
      dsp::FrameAverage(Src, Dst, FFirLength);
      break;
    case rstIntegerDelay:
      dsp::DelayFilter(Src, Dst, FMedian);
      break;
    case rstUnit:
    case rstWavelet:
      // The wavelet state is set up, but no transform runs on it yet: the
      // block passes unchanged rather than leaving the last block's output.
      Dst.Copy(Src);
      break;
    default:
      dsp::FirFilter(Src, Dst, FFir);
      break;
  }
}

// --- Update and streams ----------------------------------------------------

std::uint8_t TSignalFilter::InternalUpdate() {
  TSignal* input = InputSignal();
  if (input == nullptr) numeric::RaiseError("Input = nil!");
  if (input->ChannelCount() > 1) numeric::RaiseError(MultiChannelRefusal);
  ProcessBlock(input->Data(), Data());
  double rate = input->SamplingFrequency();
  if (FDesigned && IsFirKind())
    rate = rate * FUpSample / FDownSample;
  else if (FDesigned && FResponse == rstEnvelope)
    rate /= FFirLength;
  SetSamplingFrequency(rate);
  return 0;
}

void TSignalFilter::ParameterChanged(classlib::TPersistent* Sender) {
  TSignal::ParameterChanged(Sender);
  FDesigned = false;
}

void TSignalFilter::SaveToStream(classlib::TStream& Stream) {
  FFilters->RefreshTemplate();
  TSignal::SaveToStream(Stream);
}

void TSignalFilter::LoadFromStream(classlib::TStream& Stream) {
  const std::int32_t index = FFilters->TemplateIndex();
  FFilters->SetTemplateIndex(-1);
  try {
    TSignal::LoadFromStream(Stream);
  } catch (...) {
    // Deselecting stored the live bands into their entry: selecting it again
    // brings them back.
    FFilters->SetTemplateIndex(index);
    throw;
  }
  FDesigned = false;
}

}  // namespace sig

// TSpectrum: the amplitude and phase vectors, their frequency grid, the
// conversions from complex spectra, the calculus, lookups and texts. The
// measures are in SpectrumMeasures.cpp.
// Tested by: signal/tests/SpectrumTest.cpp.
#include "signal/Spectrum.h"

#include <algorithm>
#include <cmath>

#include "dsp/SignalUtils.h"
#include "numeric/MathCore.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/StringLists.h"
#include "signal/Signal.h"
#include "signal/SignalInternal.h"

namespace sig {

namespace {

// The divisor threshold of the protected division of two spectra: a
// vanishing amplitude divides as one of this size, never to an infinity.
constexpr double DivideThreshold = 5.56268464626801E-309;

}  // namespace

const classlib::TClassInfo& TSpectrum::StaticClassInfo() {
  // The settings that recompute the timing are read before the sampling
  // frequency, whose setter leaves the stored value exactly; Dt is derived
  // from it and not stored.
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSpectrum>("TSpectrum", TAnalysis::StaticClassInfo())
          .Property("Complex", &TSpectrum::Complex, &TSpectrum::SetComplex, false)
          .Stored(&TSpectrum::DataStored)
          .Property("ZeroPadding", &TSpectrum::ZeroPadding, &TSpectrum::SetZeroPadding, 1)
          .Property("MainlobeWidth", &TSpectrum::MainlobeWidth, &TSpectrum::SetMainlobeWidth, 8)
          .Property("PhaseMode", &TSpectrum::PhaseMode, &TSpectrum::SetPhaseMode, pm360)
          .TypeName("TPhaseMode")
          .Names({"pmIgnore", "pm360", "pmPhaseDelay", "pmGroupDelay"})
          .Property("PhaseUnits", &TSpectrum::PhaseUnits, &TSpectrum::SetPhaseUnits, puDeg)
          .TypeName("TPhaseUnits")
          .Names({"puRad", "puDeg"})
          .Property("Harmonics", &TSpectrum::Harmonics, &TSpectrum::SetHarmonics, 10)
          .Property("Length", &TSpectrum::Length, &TSpectrum::SetLength, 64)
          .Stored(&TSpectrum::DataStored)
          .SubObject("Amplt", [](const TSpectrum& s) { return &s.Amplt(); })
          .Stored(&TSpectrum::AmpltStored)
          .SubObject("Phase", [](const TSpectrum& s) { return &s.Phase(); })
          .Stored(&TSpectrum::AmpltStored)
          .Property("SamplingTime", &TSpectrum::SamplingTime, &TSpectrum::SetSamplingTime)
          .Stored(&TSpectrum::DataStored)
          .Property("SamplingFrequency", &TSpectrum::SamplingFrequency, &TSpectrum::SetSamplingFrequency)
          .Stored(&TSpectrum::DataStored)
          .Property("HzRes", &TSpectrum::HzRes, nullptr)
          .Property("BandWidth", &TSpectrum::BandWidth, nullptr)
          .Property("Dt", &TSpectrum::Dt, &TSpectrum::SetDt)
          .Stored([](const TSpectrum&) { return false; })
          .Creatable()
          .Build();
  return info;
}

TSpectrum::TSpectrum(classlib::TComponent* AOwner)
    : TAnalysis(AOwner), FAmplt(std::make_unique<numeric::TVec>()), FPhase(std::make_unique<numeric::TVec>()) {
  FMarks.SetSortKey(0);
  SetComplex(false);
  FAmplt->SetOnSetSize([this](numeric::TVec&) { UpdateTiming(); });
  FPhase->SetOnSetSize([this](numeric::TVec&) { UpdateTiming(); });
  SetLength(64);
  SetSamplingFrequency(1.0);
}

TSpectrum::~TSpectrum() {
  FAmplt->SetOnSetSize(nullptr);
  FPhase->SetOnSetSize(nullptr);
}

// --- Timing ----------------------------------------------------------------

void TSpectrum::SetLength(std::int32_t Value) {
  FAmplt->SetLength(Value);
  FPhase->SetLength(Value);
}

void TSpectrum::SetSamplingTime(double Value) { ApplySamplingTime(Value, 0.0); }

void TSpectrum::ApplySamplingTime(double T, double Fs) {
  FLength = FAmplt->Length();
  FSamplingTime = T;
  if (T > 0.0) {
    if (FLength >= 1) {
      // A rate that stays is kept as it is, not as T gives it back rounded.
      FSamplingFrequency = Fs > 0.0 ? Fs : FLength * FSideFactor / FZeroPadding / T;
      FDt = 1.0 / FSamplingFrequency;
      FBandWidth = FSamplingFrequency / FSideFactor;
      FHzRes = FBandWidth / FLength;
    } else {
      FBandWidth = 0.0;
      FSamplingTime = 0.0;
      FDt = 0.0;
      FHzRes = 0.0;
    }
  }
  FStopFrequency = FStartFrequency + FBandWidth;
}

void TSpectrum::SetSamplingFrequency(double Value) {
  if (Value <= 0.0 || std::isnan(Value))
    ApplySamplingTime(0.0, 0.0);
  else
    ApplySamplingTime(FLength * FSideFactor / FZeroPadding / Value, Value);
  FSamplingFrequency = Value;
}

void TSpectrum::UpdateTiming() {
  const std::int32_t length = FAmplt->Length();
  if (FSamplingFrequency > 0.0)
    ApplySamplingTime(length * FSideFactor / FZeroPadding / FSamplingFrequency, FSamplingFrequency);
  else if (FSamplingTime > 0.0 && FLength > 0)
    SetSamplingTime(length * FSamplingTime / FLength);
  else
    SetSamplingTime(FSamplingTime);
}

void TSpectrum::SetComplex(bool Value) {
  FComplex = Value;
  FSideFactor = Value ? 1.0 : 2.0;
  if (FZeroPadding > 0) ApplySamplingTime(FLength * FDt * FSideFactor / FZeroPadding, FSamplingFrequency);
}

void TSpectrum::SetZeroPadding(std::int32_t Value) {
  if (Value == FZeroPadding) return;
  FZeroPadding = std::max(Value, 1);
  SetSamplingFrequency(FSamplingFrequency);
}

void TSpectrum::SetStartFrequency(double Value) {
  FStartFrequency = Value;
  FStopFrequency = Value + FBandWidth;
}

void TSpectrum::SetMainlobeWidth(std::int32_t Value) { FMainlobeWidth = std::clamp(Value, 2, 100); }

void TSpectrum::CopyTiming(const TSpectrum& Source) {
  SetComplex(Source.Complex());
  SetLength(Source.Length());
  SetSamplingFrequency(Source.SamplingFrequency());
}

void TSpectrum::PrepareUpdate() {
  if (!UsesInputs()) return;
  auto* input = dynamic_cast<TSignal*>(GetInput());
  if (input == nullptr) return;
  SetComplex(input->Complex());
  SetStartFrequency(input->StartFrequency());
  SetSamplingFrequency(input->SamplingFrequency());
}

// --- Streams ---------------------------------------------------------------

bool TSpectrum::AmpltStored() const { return DataStored() && !HasState(classlib::csDesigning); }

void TSpectrum::WriteMarks(classlib::TStream& Stream) const { FMarks.WriteToStream(Stream); }

void TSpectrum::ReadMarks(classlib::TStream& Stream) { FMarks.ReadFromStream(Stream); }

void TSpectrum::DefineProperties(classlib::TFiler& Filer) {
  TAnalysis::DefineProperties(Filer);
  Filer.DefineBinaryProperty(
      "SpectrumBinaryData", [this](classlib::TStream& s) { ReadMarks(s); },
      [this](classlib::TStream& s) { WriteMarks(s); }, DataStored() && !HasState(classlib::csDesigning));
}

// --- Conversions from a complex spectrum -----------------------------------

namespace {

void ToPhaseUnits(numeric::TVec& Phase, TPhaseUnits Units) {
  if (Units == puDeg) Phase.Scale(180.0 / numeric::PI);
}

}  // namespace

void TSpectrum::PhaseByMode(const numeric::TVec& X, bool EmptyWhenIgnored) {
  switch (FPhaseMode) {
    case pmIgnore:
      if (EmptyWhenIgnored) FPhase->SetLength(0);
      break;
    case pm360:
    case pmPhaseDelay:
      FPhase->Phase(X);
      ToPhaseUnits(*FPhase, FPhaseUnits);
      if (FPhaseMode == pmPhaseDelay) PhaseDelay();
      break;
    case pmGroupDelay:
      GroupDelay();
      break;
  }
}

void TSpectrum::AmpltPhaseFromComplex(const numeric::TVec& X) {
  FAmplt->Mag(X);
  PhaseByMode(X, true);
}

void TSpectrum::PowerPhaseFromComplex(const numeric::TVec& X) {
  FAmplt->PowerSpectrum(X);
  PhaseByMode(X, true);
}

void TSpectrum::PhaseFromComplex(const numeric::TVec& X) { PhaseByMode(X, false); }

void TSpectrum::RmsFromComplex(const numeric::TVec& X) {
  AmpltPhaseFromComplex(X);
  FAmplt->Scale(numeric::INVSQRT2);
}

void TSpectrum::GroupDelay() { numeric::RaiseError("Not implemented!"); }

void TSpectrum::PhaseDelay() { numeric::RaiseError("Not implemented"); }

// --- Two spectra -----------------------------------------------------------

void TSpectrum::CopySpectrum(const TSpectrum& Source) {
  FAmplt->Copy(Source.Amplt());
  if (FPhaseMode != pmIgnore) FPhase->Copy(Source.Phase());
  SetSamplingFrequency(Source.SamplingFrequency());
}

void TSpectrum::AddSpectrum(const TSpectrum& Source) {
  FAmplt->Add(Source.Amplt());
  if (FPhaseMode != pmIgnore) FPhase->Add(Source.Phase());
}

void TSpectrum::ScaleSpectrum(double Factor) {
  FAmplt->Scale(Factor);
  if (FPhaseMode != pmIgnore) FPhase->Scale(Factor);
}

void TSpectrum::DivideSpectrum(const TSpectrum& Source) {
  FAmplt->Divide(Source.Amplt(), DivideThreshold);
  if (FPhaseMode != pmIgnore) FPhase->Sub(Source.Phase());
}

void TSpectrum::SquareSpectrum(const TSpectrum& Source) {
  FAmplt->Sqr(Source.Amplt());
  if (FPhaseMode != pmIgnore) FPhase->Sqr(Source.Phase());
}

void TSpectrum::ClearSpectrum() {
  FAmplt->SetZero();
  if (FPhaseMode != pmIgnore) FPhase->SetZero();
}

// --- Lookup ----------------------------------------------------------------

namespace {

// The line of Vec at Trunc(Position), held within the vector; 0 for an empty one.
double LineAt(const numeric::TVec& Vec, double Position) {
  if (Vec.Length() == 0) return 0.0;
  return Vec.GetValue(detail::ClampIndex(detail::TruncIndex(Position), Vec.Length()));
}

}  // namespace

double TSpectrum::AmpltAt(double F) const { return LineAt(*FAmplt, (F - FStartFrequency) / FHzRes); }

double TSpectrum::PhaseAt(double F) const { return LineAt(*FPhase, (F - FStartFrequency) / FHzRes); }

double TSpectrum::RefineFrequency(double F) { return F; }

void TSpectrum::PeakFilter(std::int32_t) { numeric::RaiseError("Peak filter method not supported!"); }

double TSpectrum::DecibelScale(bool Flag, double Reference, double Span, double Base) {
  return dsp::DecibelScale(*FAmplt, Flag, Base, Span, Reference);
}

void TSpectrum::UpdateMinMax() {
  const auto extremes = [](const numeric::TVec& Vec, double& Max, double& Min, std::int32_t* MaxIndex) {
    if (Vec.Length() == 0 || Vec.Complex()) return;
    std::int32_t index = 0;
    Vec.MaxIdx(Max, index);
    if (MaxIndex != nullptr) *MaxIndex = index;
    Min = Vec.Min();
  };
  extremes(*FAmplt, FAmpltMax, FAmpltMin, &FAmpltMaxIndex);
  if (FPhaseMode != pmIgnore) extremes(*FPhase, FPhaseMax, FPhaseMin, nullptr);
}

// --- Calculus --------------------------------------------------------------

void TSpectrum::CalculusLoop(bool Divide) {
  if (!(FHzRes > 0.0) || FLength == 0 || FAmplt->Complex()) return;
  const double w = 2.0 * numeric::PI * FHzRes;
  const double s = FStartFrequency / FHzRes;
  const std::int32_t L = std::min(FLength, FAmplt->Length());
  const std::int32_t h = L / 2;
  double* a = FAmplt->Values();
  // A line of zero frequency has no finite integral: it stays as it is.
  const auto apply = [&](std::int32_t Line, double Order) {
    if (Divide && Order == 0.0) return;
    a[Line] = Divide ? a[Line] / (Order * w) : a[Line] * (Order * w);
  };
  if (!FConjExtend) {
    for (std::int32_t i = 0; i < L; ++i) apply(i, i + s);
  } else if (FConjFlip) {
    for (std::int32_t i = 0; i < h; ++i) {
      apply(i, i + s);
      // Line 0 is its own mirror.
      if (i > 0) a[L - i] = a[i];
    }
  } else {
    for (std::int32_t i = 0; i < h; ++i) {
      apply(h + i, h + s + i);
      a[h - i] = a[h + i];
    }
  }
}

void TSpectrum::Differentiate() { CalculusLoop(false); }

void TSpectrum::Integrate() { CalculusLoop(true); }

// --- Text ------------------------------------------------------------------

namespace {

void AddTableLine(classlib::TStrings& Lines, const std::string& A, const std::string& B, const std::string* C) {
  Lines.Add(detail::PadColumn(A) + detail::PadColumn(B) + (C != nullptr ? *C : std::string()));
}

}  // namespace

void TSpectrum::MarksToText(classlib::TStrings& Lines, bool WithPhase, const std::string& FreqHeader,
                            const std::string& AmpltHeader, const std::string& PhaseHeader,
                            const std::string& FreqFormat, const std::string& AmpltFormat,
                            const std::string& PhaseFormat) const {
  if (!FreqHeader.empty() || !AmpltHeader.empty() || !PhaseHeader.empty())
    AddTableLine(Lines, FreqHeader, AmpltHeader, &PhaseHeader);
  const bool phase = WithPhase && FPhaseMode != pmIgnore;
  for (std::int32_t i = 0; i < FMarks.Count(); ++i) {
    const TMarkRecord& mark = FMarks.GetMark(i);
    const std::string p = numeric::SampleToStr(mark.Third, PhaseFormat);
    AddTableLine(Lines, numeric::SampleToStr(mark.First, FreqFormat), numeric::SampleToStr(mark.Second, AmpltFormat),
                 phase ? &p : nullptr);
  }
}

void TSpectrum::ValuesToText(classlib::TStrings& Lines, bool WithPhase, const std::string& FreqHeader,
                             const std::string& AmpltHeader, const std::string& PhaseHeader,
                             const std::string& FreqFormat, const std::string& AmpltFormat,
                             const std::string& PhaseFormat) const {
  if (!FreqHeader.empty() || !AmpltHeader.empty() || !PhaseHeader.empty())
    AddTableLine(Lines, FreqHeader, AmpltHeader, &PhaseHeader);
  const bool phase = WithPhase && FPhaseMode != pmIgnore;
  const std::int32_t count = std::min(FLength, FAmplt->DoubleLength());
  for (std::int32_t i = 0; i < count; ++i) {
    // A phase vector shorter than the amplitudes has no value to show.
    const std::string p = i < FPhase->DoubleLength() ? numeric::SampleToStr(FPhase->GetValue(i), PhaseFormat) : "";
    AddTableLine(Lines, numeric::SampleToStr(i * FHzRes, FreqFormat),
                 numeric::SampleToStr(FAmplt->GetValue(i), AmpltFormat), phase ? &p : nullptr);
  }
}

}  // namespace sig

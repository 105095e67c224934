// TSpectrumPeaksAnalyzer and TSpectrumPeakInterpolation: the settings, the
// order scaling of the marks and their refresh.
// Tested by: signal/tests/SpectrumAnalyzerTest.cpp.
#include "signal/SpectrumPeaks.h"

#include <algorithm>
#include <cmath>

#include "signal/SignalInternal.h"
#include "signal/SpectrumAnalyzer.h"

namespace sig {

const classlib::TClassInfo& TSpectrumPeakInterpolation::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSpectrumPeakInterpolation>("TSpectrumPeakInterpolation",
                                                          TPersistent::StaticClassInfo())
          .Property("Precision", &TSpectrumPeakInterpolation::Precision, &TSpectrumPeakInterpolation::SetPrecision,
                    ip6)
          .TypeName("TInterpolationPrecision")
          .Names({"ip2", "ip4", "ip6", "ip8"})
          .Property("Harmonics", &TSpectrumPeakInterpolation::Harmonics, &TSpectrumPeakInterpolation::SetHarmonics,
                    false)
          .Property("Method", &TSpectrumPeakInterpolation::Method, &TSpectrumPeakInterpolation::SetMethod, imNone)
          .TypeName("TInterpolationMethod")
          .Names({"imNone", "imNumeric", "imQuadratic", "imBarycentric", "imQuinnFirst", "imQuinnSecond", "imJain"})
          .Build();
  return info;
}

void TSpectrumPeakInterpolation::SetPrecision(TInterpolationPrecision Value) {
  FPrecision = Value;
  switch (Value) {
    case ip2:
      FPrecisionDivisor = 1e2;
      break;
    case ip4:
      FPrecisionDivisor = 1e4;
      break;
    case ip6:
      FPrecisionDivisor = 1e6;
      break;
    case ip8:
      FPrecisionDivisor = 1e8;
      break;
  }
}

const classlib::TClassInfo& TSpectrumPeaksAnalyzer::StaticClassInfo() {
  // OrderFrequency comes before OrderActive, so that a stream switches the
  // order axis on at its own order frequency.
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSpectrumPeaksAnalyzer>("TSpectrumPeaksAnalyzer", TPersistent::StaticClassInfo())
          .Property("Active", &TSpectrumPeaksAnalyzer::Active, &TSpectrumPeaksAnalyzer::SetActive, true)
          .SubObject("Interpolation", [](const TSpectrumPeaksAnalyzer& p) { return &p.Interpolation(); })
          .Property("LargestCount", &TSpectrumPeaksAnalyzer::LargestCount, &TSpectrumPeaksAnalyzer::SetLargestCount,
                    1)
          .Property("TraceMethod", &TSpectrumPeaksAnalyzer::TraceMethod, &TSpectrumPeaksAnalyzer::SetTraceMethod,
                    ptNone)
          .TypeName("TPeakTraceMethod")
          .Names({"ptNone", "ptCurrent", "ptLargest", "ptAmpltHarmonics", "ptFreqHarmonics"})
          .Property("TraceInterval", &TSpectrumPeaksAnalyzer::TraceInterval,
                    &TSpectrumPeaksAnalyzer::SetTraceInterval, 0.0)
          .Property("HarmonicsCount", &TSpectrumPeaksAnalyzer::HarmonicsCount,
                    &TSpectrumPeaksAnalyzer::SetHarmonicsCount, 10)
          .Property("BandwidthL", &TSpectrumPeaksAnalyzer::BandwidthL, &TSpectrumPeaksAnalyzer::SetBandwidthL, 0.0)
          .Property("BandwidthH", &TSpectrumPeaksAnalyzer::BandwidthH, &TSpectrumPeaksAnalyzer::SetBandwidthH, 0.0)
          .Property("UseFullBandwidth", &TSpectrumPeaksAnalyzer::UseFullBandwidth,
                    &TSpectrumPeaksAnalyzer::SetUseFullBandwidth, true)
          .Property("OrderFrequency", &TSpectrumPeaksAnalyzer::OrderFrequency,
                    &TSpectrumPeaksAnalyzer::SetOrderFrequency, 1.0)
          .Property("OrderTracing", &TSpectrumPeaksAnalyzer::OrderTracing, &TSpectrumPeaksAnalyzer::SetOrderTracing,
                    otNone)
          .TypeName("TOrderTracing")
          .Names({"otNone", "otFirstPeak", "otNthPeak", "otLargest"})
          .Property("OrderPeakNumber", &TSpectrumPeaksAnalyzer::OrderPeakNumber,
                    &TSpectrumPeaksAnalyzer::SetOrderPeakNumber, 1)
          .Property("OrderActive", &TSpectrumPeaksAnalyzer::OrderActive, &TSpectrumPeaksAnalyzer::SetOrderActive,
                    false)
          .Build();
  return info;
}

TSpectrumPeaksAnalyzer::TSpectrumPeaksAnalyzer(TSpectrumAnalyzer& Owner)
    : FOwner(Owner), FInterpolation(std::make_unique<TSpectrumPeakInterpolation>()) {}

TSpectrumPeaksAnalyzer::~TSpectrumPeaksAnalyzer() = default;

void TSpectrumPeaksAnalyzer::SetLargestCount(std::int32_t Value) { FLargestCount = std::max(Value, 0); }

void TSpectrumPeaksAnalyzer::SetTraceInterval(double Value) {
  FTraceInterval = std::isnan(Value) ? 0.0 : std::clamp(Value, 0.0, 100.0);
}

std::int32_t TSpectrumPeaksAnalyzer::HarmonicsCount() const { return FOwner.Harmonics(); }

void TSpectrumPeaksAnalyzer::SetHarmonicsCount(std::int32_t Value) { FOwner.SetHarmonics(Value); }

namespace {

// The line of frequency F on the owner's last grid, or Fallback when there
// is no input or no spacing to place it by.
std::int64_t LineOf(const TSpectrumAnalyzer& Owner, double F, std::int64_t Fallback) {
  const double spacing = Owner.BinSpacing();
  if (Owner.Input() == nullptr || !(spacing > 0.0)) return Fallback;
  return detail::RoundIndex((F - Owner.StartFrequency()) / spacing);
}

}  // namespace

void TSpectrumPeaksAnalyzer::SetBandwidthL(double Value) {
  FBandwidthL = Value;
  const std::int32_t last = std::max(FOwner.Length() - 1, 0);
  FLowerLimit = static_cast<std::int32_t>(std::clamp<std::int64_t>(LineOf(FOwner, Value, 0), 0, last));
}

void TSpectrumPeaksAnalyzer::SetBandwidthH(double Value) {
  FBandwidthH = Value;
  const std::int32_t last = std::max(FOwner.Length() - 1, 0);
  FUpperLimit = static_cast<std::int32_t>(std::clamp<std::int64_t>(LineOf(FOwner, Value, last), 0, last));
}

void TSpectrumPeaksAnalyzer::SetOrderFrequency(double Value) {
  if (!(Value > 0.0) || Value == FOrderFrequency) return;
  FOrderFrequency = Value;
  if (!FOrderActive) return;
  SetOrderActive(false);
  SetOrderActive(true);
  const double fs = FOwner.FrameSamplingFrequency();
  if (fs > 0.0) FOwner.SetSamplingFrequency(fs / FOrderFrequency);
}

void TSpectrumPeaksAnalyzer::SetOrderPeakNumber(std::int32_t Value) { FOrderPeakNumber = std::max(Value, 1); }

void TSpectrumPeaksAnalyzer::SetOrderActive(bool Value) {
  if (Value == FOrderActive) return;
  TMarkList& marks = FOwner.Marks();
  if (Value) {
    FOrderScale = FOrderFrequency;
    for (std::int32_t i = 0; i < marks.Count(); ++i) marks.GetMark(i).First /= FOrderScale;
  } else {
    for (std::int32_t i = 0; i < marks.Count(); ++i) marks.GetMark(i).First *= FOrderScale;
  }
  FOrderActive = Value;
}

void TSpectrumPeaksAnalyzer::Update() {
  if (FOrderActive) {
    const double fs = FOwner.FrameSamplingFrequency();
    if (fs > 0.0) FOwner.SetSamplingFrequency(fs / FOrderFrequency);
  }
  SetBandwidthH(FBandwidthH);
  SetBandwidthL(FBandwidthL);
  if (!FActive) return;
  TMarkList& marks = FOwner.Marks();
  for (std::int32_t i = 0; i < marks.Count(); ++i) {
    TMarkRecord& mark = marks.GetMark(i);
    mark.Second = FOwner.AmpltAt(mark.First);
    mark.Third = FOwner.PhaseAt(mark.First);
  }
}

void TSpectrumPeaksAnalyzer::RescaleMarkAmplitudes() {
  TMarkList& marks = FOwner.Marks();
  for (std::int32_t i = 0; i < marks.Count(); ++i) {
    TMarkRecord& mark = marks.GetMark(i);
    FOwner.ScaleToLog(mark.Second, mark.First);
  }
}

void TSpectrumPeaksAnalyzer::Assign(const classlib::TPersistent& Source) {
  const auto* source = dynamic_cast<const TSpectrumPeaksAnalyzer*>(&Source);
  if (source == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  FInterpolation->SetMethod(source->Interpolation().Method());
  FInterpolation->SetPrecision(source->Interpolation().Precision());
  FInterpolation->SetHarmonics(source->Interpolation().Harmonics());
  SetLargestCount(source->LargestCount());
  SetTraceMethod(source->TraceMethod());
  SetTraceInterval(source->TraceInterval());
  SetHarmonicsCount(source->HarmonicsCount());
  SetOrderActive(source->OrderActive());
  SetOrderFrequency(source->OrderFrequency());
  SetOrderTracing(source->OrderTracing());
  SetOrderPeakNumber(source->OrderPeakNumber());
}

}  // namespace sig

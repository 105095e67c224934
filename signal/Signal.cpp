// TSignal: the samples, their timing, the marks and their texts; TSignalList.
// Tested by: signal/tests/SignalTest.cpp.
#include "signal/Signal.h"

#include <atomic>

#include "dsp/SignalUtils.h"
#include "numeric/MathCore.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/SysUtils.h"
#include "signal/SignalInternal.h"

namespace sig {

namespace {

std::atomic<std::int32_t>& ColumnWidth() {
  static std::atomic<std::int32_t> width{25};
  return width;
}

}  // namespace

std::int32_t ReportColumnWidth() { return ColumnWidth().load(std::memory_order_relaxed); }

void SetReportColumnWidth(std::int32_t Value) { ColumnWidth().store(Value, std::memory_order_relaxed); }

std::string detail::PadColumn(const std::string& Text) {
  std::string padded;
  dsp::PadText(Text, ReportColumnWidth(), 0, padded);
  return padded;
}

std::string detail::GeneralText(double X) { return classlib::FloatToStr(X); }

std::string detail::NowText() { return classlib::FormatDateTime("ddddd tt", classlib::Now()); }

const classlib::TClassInfo& TSignal::StaticClassInfo() {
  // The sampling frequency comes last: the settings before it recompute the
  // timing, and its setter leaves the stored value exactly.
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignal>("TSignal", TAnalysis::StaticClassInfo())
          .Property("ChannelCount", &TSignal::ChannelCount, &TSignal::SetChannelCount, 1)
          .Stored(&TSignal::DataStored)
          .Property("BandWidth", &TSignal::BandWidth, nullptr)
          .SubObject("Data", [](const TSignal& s) { return &s.Data(); })
          .Stored(&TSignal::DataStored)
          .Property("Length", &TSignal::Length, &TSignal::SetLength, 128)
          .Stored(&TSignal::DataStored)
          .Property("Complex", &TSignal::Complex, &TSignal::SetComplex, false)
          .Stored(&TSignal::DataStored)
          .Property("SamplingFrequency", &TSignal::SamplingFrequency, &TSignal::SetSamplingFrequency)
          .Stored(&TSignal::DataStored)
          .Creatable()
          .Build();
  return info;
}

TSignal::TSignal(classlib::TComponent* AOwner) : TAnalysis(AOwner), FData(std::make_unique<numeric::TVec>()) {
  FMarks.SetSortKey(3);
  FData->SetOnSetSize([this](numeric::TVec& Sender) { DataSizeChanged(Sender); });
  SetSamplingFrequency(1.0);
  SetLength(128);
}

TSignal::~TSignal() { FData->SetOnSetSize(nullptr); }

void TSignal::SetData(const numeric::TVec& Value) {
  if (&Value != FData.get()) FData->Assign(Value);
}

void TSignal::SetLength(std::int32_t Value) { FData->SetLength(Value); }

void TSignal::SetComplex(bool Value) { FData->SetComplex(Value); }

void TSignal::SetDuration(double T) { ApplyDuration(T, 0.0); }

void TSignal::ApplyDuration(double T, double Fs) {
  FComplex = FData->Complex();
  FLength = FData->Length();
  FDuration = T;
  if (!(T > 0.0)) return;
  FStopTime = FStartTime + T;
  if (FLength < 1) {
    FBandWidth = 0.0;
    FDuration = 0.0;
    FSamplePeriod = 0.0;
    FFrequencyStep = 0.0;
    return;
  }
  const double perChannel = static_cast<double>(FLength) / FChannelCount;
  // A rate that stays is kept as it is, not as T gives it back rounded.
  FSamplingFrequency = Fs > 0.0 ? Fs : perChannel / T;
  FSamplePeriod = Fs > 0.0 ? 1.0 / Fs : T / perChannel;
  if (FComplex) {
    FFrequencyStep = 1.0 / (2.0 * T);
    FBandWidth = FSamplingFrequency;
  } else {
    FFrequencyStep = 1.0 / T;
    FBandWidth = FSamplingFrequency / 2.0;
  }
  SetStartFrequency(FStartFrequency);
}

void TSignal::SetStartFrequency(double F) {
  FStartFrequency = F;
  FStopFrequency = F + FBandWidth;
}

void TSignal::SetSamplingFrequency(double Value) {
  if (Value > 0.0)
    ApplyDuration(static_cast<double>(FLength) / FChannelCount / Value, Value);
  else
    SetDuration(0.0);
  FSamplingFrequency = Value;
}

void TSignal::SetChannelCount(std::int32_t Value) {
  // A count below one would divide the timing by zero.
  Value = std::max(Value, 1);
  if (Value == FChannelCount) return;
  FChannelCount = Value;
  // The sample period, and so the rate, stays.
  ApplyDuration(static_cast<double>(FLength) / Value * FSamplePeriod, FSamplingFrequency);
}

void TSignal::DataSizeChanged(numeric::TVec& Sender) {
  if (FSamplingFrequency > 0.0)
    ApplyDuration(static_cast<double>(Sender.Length()) / FChannelCount / FSamplingFrequency, FSamplingFrequency);
  else if (FDuration > 0.0 && FLength > 0)
    SetDuration(static_cast<double>(Sender.Length()) * FDuration / FLength);
  else
    SetDuration(FDuration);
}

double TSignal::GetSample(std::int32_t Index) const { return FData->GetValue(Index); }

void TSignal::UpdateMinMax() {
  const numeric::TVec& data = *FData;
  if (data.Length() == 0) {
    FMaxValue = 0.0;
    FMinValue = 0.0;
    return;
  }
  if (!data.Complex()) {
    FMaxValue = data.Max();
    FMinValue = data.Min();
    return;
  }
  numeric::TCplx z;
  data.MaxMag(z, 0, data.Length());
  FMaxValue = numeric::CAbs(z);
  data.MinMag(z, 0, data.Length());
  FMinValue = numeric::CAbs(z);
}

void TSignal::WriteMarks(classlib::TStream& Stream) const { FMarks.WriteToStream(Stream); }

void TSignal::ReadMarks(classlib::TStream& Stream) { FMarks.ReadFromStream(Stream); }

void TSignal::DefineProperties(classlib::TFiler& Filer) {
  TAnalysis::DefineProperties(Filer);
  Filer.DefineBinaryProperty(
      "SignalBinaryData", [this](classlib::TStream& s) { ReadMarks(s); },
      [this](classlib::TStream& s) { WriteMarks(s); }, !HasState(classlib::csDesigning) && DataStored());
}

void TSignal::PrepareUpdate() {
  if (!UsesInputs()) return;
  auto* input = dynamic_cast<TSignal*>(GetInput());
  if (input == nullptr) return;
  SetChannelCount(input->ChannelCount());
  SetComplex(input->Complex());
  SetStartFrequency(input->StartFrequency());
  SetSamplingFrequency(input->SamplingFrequency());
}

void TSignal::MarksToText(classlib::TStrings& Lines, const std::string& XFormat, const std::string& YHeader,
                          const std::string& XHeader, const std::string& YFormat) const {
  if (!XHeader.empty() || !YHeader.empty()) Lines.Add(detail::PadColumn(XHeader) + YHeader);
  for (std::int32_t i = 0; i < FMarks.Count(); ++i) {
    const TMarkRecord& mark = FMarks.GetMark(i);
    Lines.Add(detail::PadColumn(numeric::SampleToStr(mark.Fourth, XFormat)) + numeric::SampleToStr(mark.Second, YFormat));
  }
}

void TSignal::ValuesToText(classlib::TStrings& Lines, const std::string& XFormat, const std::string& YHeader,
                           const std::string& XHeader, const std::string& YFormat) const {
  if (!XHeader.empty() || !YHeader.empty()) Lines.Add(detail::PadColumn(XHeader) + YHeader);
  for (std::int32_t i = 0; i < FLength; ++i)
    Lines.Add(detail::PadColumn(numeric::SampleToStr(i * FSamplePeriod, XFormat)) + numeric::SampleToStr(GetSample(i), YFormat));
}

// --- TSignalList -----------------------------------------------------------

const classlib::TClassInfo& TSignalList::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalList>("TSignalList", TAnalysisList::StaticClassInfo()).Creatable().Build();
  return info;
}

TSignalList::TSignalList(classlib::TComponent* AOwner) : TAnalysisList(AOwner) {}

TAnalysis* TSignalList::CreateItem() { return new TSignal(this); }

}  // namespace sig

// TSignalBrowse: the span over the signal file or its peak file.
// Tested by: signal/tests/SignalBrowseTest.cpp.
#include "signal/SignalBrowse.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>

#include "signal/SignalInternal.h"

namespace sig {

using detail::ToInt32;

namespace {

// The reader's channel count is the file's only once the file is open.
void OpenWhenThere(TSignalRead& Reader) {
  std::error_code error;
  if (!Reader.FileOpen() && !Reader.FileName().empty() && std::filesystem::exists(Reader.FileName(), error))
    Reader.OpenFile();
}

}  // namespace

const classlib::TClassInfo& TSignalBrowse::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalBrowse>("TSignalBrowse", TAnalysis::StaticClassInfo())
          .Property("Increment", &TSignalBrowse::Increment, &TSignalBrowse::SetIncrement, 100)
          .Property("SpanLimit", &TSignalBrowse::SpanLimit, &TSignalBrowse::SetSpanLimit, 8192)
          .Property("SpanLength", &TSignalBrowse::SpanLength, &TSignalBrowse::SetSpanLength, 16384)
          .Property("SpanTime", &TSignalBrowse::SpanTime, &TSignalBrowse::SetSpanTime)
          .Stored([](const TSignalBrowse&) { return false; })
          .Property("RecordPosition", &TSignalBrowse::RecordPosition, &TSignalBrowse::SetRecordPosition)
          .Stored([](const TSignalBrowse&) { return false; })
          .Property("RecordTimePosition", &TSignalBrowse::RecordTimePosition, &TSignalBrowse::SetRecordTimePosition)
          .Stored([](const TSignalBrowse&) { return false; })
          .Property("RecordNumber", &TSignalBrowse::RecordNumber, &TSignalBrowse::SetRecordNumber)
          .Stored([](const TSignalBrowse&) { return false; })
          .Property("RecordTime", &TSignalBrowse::RecordTime, nullptr)
          .Property("Threaded", &TSignalBrowse::Threaded, &TSignalBrowse::SetThreaded, true)
          .Creatable()
          .Build();
  return info;
}

TSignalBrowse::TSignalBrowse(classlib::TComponent* AOwner)
    : TAnalysis(AOwner),
      FSignalFile(std::make_unique<TSignalRead>()),
      FPeakFile(std::make_unique<TSignalRead>()),
      FProgressThread(std::make_unique<TMtxProgressDialog>()),
      FSpanData(std::make_unique<numeric::TVec>()) {}

TSignalBrowse::~TSignalBrowse() = default;

TSignalRead& TSignalBrowse::InUse() const { return FSpanLength <= FSpanLimit ? *FSignalFile : *FPeakFile; }

void TSignalBrowse::SetIncrement(std::int32_t Value) { FIncrement = std::max(Value, 1); }

// The signal file's sampling frequency; 0 while it names no file.
double TSignalBrowse::SignalRate() const {
  const double fs = FSignalFile->SamplingFrequency();
  return FSignalFile->FileName().empty() || !(fs > 0.0) ? 0.0 : fs;
}

void TSignalBrowse::SetSpanLength(std::int32_t Value) {
  FSpanLength = Value;
  const double fs = SignalRate();
  if (fs > 0.0) FSpanTime = FSpanLength / fs;
}

void TSignalBrowse::SetSpanTime(double T) {
  const double fs = SignalRate();
  if (!(fs > 0.0)) {
    FSpanTime = T;
    return;
  }
  FSpanLength = ToInt32(detail::TruncIndex(T * fs));
  FSpanTime = FSpanLength / fs;
}

std::int32_t TSignalBrowse::RecordPosition() const {
  if (&InUse() == FPeakFile.get()) return ToInt32(static_cast<std::int64_t>(FPeakFile->RecordPosition()) * FIncrement);
  return FSignalFile->RecordPosition();
}

void TSignalBrowse::SetRecordPosition(std::int32_t P) {
  TSignalRead& reader = InUse();
  OpenWhenThere(reader);
  const std::int32_t channels = reader.ChannelCount();
  if (&reader == FSignalFile.get()) {
    reader.SetLength(ToInt32(static_cast<std::int64_t>(channels) * FSpanLength));
    reader.SetRecordPosition(P / channels * channels);
  } else {
    const std::int64_t n = FSpanLength / FIncrement;
    reader.SetLength(ToInt32(n * channels));
    reader.SetRecordPosition(P / FIncrement / channels * channels);
  }
  FSpanData->Copy(reader.Data());
}

double TSignalBrowse::RecordTimePosition() const { return InUse().RecordTimePosition(); }

void TSignalBrowse::SetRecordTimePosition(double T) {
  SetRecordPosition(ToInt32(detail::TruncIndex(T * FSignalFile->SamplingFrequency())));
}

std::int32_t TSignalBrowse::RecordNumber() const { return InUse().RecordNumber(); }

void TSignalBrowse::SetRecordNumber(std::int32_t Value) {
  FSignalFile->SetRecordNumber(Value);
  FPeakFile->SetRecordNumber(Value);
}

double TSignalBrowse::RecordTime() const { return InUse().RecordTime(); }

}  // namespace sig

// TSignalRead: its properties, the framing, the update step and the file
// information texts. The formats' own parts are in SignalReadFormats.cpp.
// Tested by: signal/tests/SignalReadTest.cpp.
#include "signal/SignalRead.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>

#include "numeric/MathCore.h"
#include "platform/classlib/Streams.h"
#include "signal/SignalInternal.h"

namespace sig {

using detail::ToInt32;

const classlib::TClassInfo& TSignalRead::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalRead>("TSignalRead", TFileStorage::StaticClassInfo())
          .Property("LastFrameCheck", &TSignalRead::LastFrameCheck, &TSignalRead::SetLastFrameCheck, false)
          .Property("FinalRecordPosition", &TSignalRead::FinalRecordPosition, &TSignalRead::SetFinalRecordPosition, -1)
          .Property("Loop", &TSignalRead::Loop, &TSignalRead::SetLoop, false)
          .Property("ScaleFactor", &TSignalRead::ScaleFactor, &TSignalRead::SetScaleFactor, 1.0)
          .Property("NumberOfRecords", &TSignalRead::NumberOfRecords, nullptr)
          .Property("RecordLength", &TSignalRead::RecordLength, nullptr)
          .Property("RecordTime", &TSignalRead::RecordTime, nullptr)
          .Property("RecordTimePosition", &TSignalRead::RecordTimePosition, &TSignalRead::SetRecordTimePosition)
          .Stored([](const TSignalRead&) { return false; })
          .Property("RecordPosition", &TSignalRead::RecordPosition, &TSignalRead::SetRecordPosition, 0)
          .Property("RecordNumber", &TSignalRead::RecordNumber, &TSignalRead::SetRecordNumber, 0)
          .Property("OverlappingPercent", &TSignalRead::OverlappingPercent, &TSignalRead::SetOverlappingPercent, 0.0)
          .Property("OverlappingSamples", &TSignalRead::OverlappingSamples, &TSignalRead::SetOverlappingSamples, 0)
          .Property("MaxFrames", &TSignalRead::MaxFrames, nullptr)
          .Property("Framing", &TSignalRead::Framing, &TSignalRead::SetFraming, frSingleRecord)
          .TypeName("TFraming")
          .Names({"frSingleRecord", "frAcrossAllRecords"})
          .Property("FramesPerSecond", &TSignalRead::FramesPerSecond, nullptr)
          .Property("FrameNumber", &TSignalRead::FrameNumber, &TSignalRead::SetFrameNumber, 0)
          .Property("Precision", &TSignalRead::Precision, nullptr)
          .TypeName("TPrecision")
          .Names({"prDouble", "prSingle", "prInteger", "prCardinal", "prSmallInt", "prWord", "prShortInt", "prByte",
                  "prMuLaw", "prALaw", "prInt24"})
          .Property("ForceLength", &TSignalRead::ForceLength, &TSignalRead::SetForceLength, true)
          .Creatable()
          .Build();
  return info;
}

TSignalRead::TSignalRead(classlib::TComponent* AOwner)
    : TFileStorage(AOwner), FValues(std::make_unique<numeric::TVec>()), FConverter(std::make_unique<TACMConverter>()) {}

TSignalRead::~TSignalRead() { CloseFile(); }

std::string TSignalRead::EditorClassName() const { return "TFileReadDialogForm"; }

// --- properties ------------------------------------------------------------

void TSignalRead::SetFinalRecordPosition(std::int32_t Value) {
  if (Value == FFinalRecordPosition) return;
  FFinalRecordPosition = Value;
  ApplyFraming();
}

void TSignalRead::SetScaleFactor(double Value) { FScaleFactor = Value == 0.0 ? 1.0 : Value; }

void TSignalRead::SetRecordTimePosition(double T) {
  if (FRecordTime > 0.0 && std::isfinite(FRecordTime))
    SetRecordPosition(ToInt32(detail::RoundIndex(FRecordLength / FRecordTime * T)));
  else
    SetRecordPosition(0);
}

void TSignalRead::SetRecordPosition(std::int32_t P) {
  if (HasState(classlib::csLoading)) {
    FRecordPosition = P;
    return;
  }
  FRecordPosition = std::max(P, 0);
  ReadFrameAt(FRecordPosition, false);
  ApplyFraming();
}

void TSignalRead::SetRecordNumber(std::int32_t Value) {
  if (!FileOpen()) {
    FRecordNumber = Value;
    return;
  }
  const std::int32_t index = std::clamp(Value, 0, std::max(FNumberOfRecords - 1, 0));
  if (index == FCurrentRecord) return;
  SelectRecord(index);
}

void TSignalRead::SetOverlappingPercent(double Value) {
  // NaN would make every step undefined: it counts as no overlap.
  FOverlappingPercent = std::isnan(Value) ? 0.0 : std::min(100.0, Value);
  FOverlappingSamples = ToInt32(detail::RoundIndex(FrameSamples() * FOverlappingPercent * 0.01));
  ApplyFraming();
}

void TSignalRead::SetOverlappingSamples(std::int32_t Value) {
  FOverlappingSamples = Value;
  const std::int32_t l = FrameSamples();
  if (Length() > 0 && l > 0) FOverlappingPercent = std::min(1.0, static_cast<double>(Value) / l) * 100.0;
  ApplyFraming();
}

void TSignalRead::SetFraming(TFraming Value) {
  FFraming = Value;
  ApplyFraming();
}

void TSignalRead::SetFrameNumber(std::int32_t N) {
  const double step = std::max(FrameSamples() * (1.0 - 0.01 * FOverlappingPercent), 1.0);
  SetRecordPosition(ToInt32(detail::TruncIndex(step * N)));
}

void TSignalRead::DataSizeChanged(numeric::TVec& Sender) {
  TSignal::DataSizeChanged(Sender);
  SetOverlappingPercent(FOverlappingPercent);
}

// --- framing -----------------------------------------------------------------

std::int32_t TSignalRead::FrameSamples() const { return Length() / ChannelCount(); }

std::int32_t TSignalRead::FrameStep() const {
  return ToInt32(std::max<std::int64_t>(static_cast<std::int64_t>(FrameSamples()) - FOverlappingSamples, 1));
}

bool TSignalRead::AtEnd() const {
  std::int64_t limit = FRecordLength;
  if (FFinalRecordPosition > 0) limit = std::min<std::int64_t>(limit, FFinalRecordPosition);
  if (FLastFrameCheck) return limit - FRecordPosition < std::max(FrameSamples(), 1);
  return FRecordPosition >= limit;
}

void TSignalRead::ApplyFraming() {
  if (Length() == 0) return;
  if (FFraming == frAcrossAllRecords) {
    FMaxFrames = FNumberOfRecords;
    FFramesPerSecond = 1.0;
    FFrameNumber = FRecordNumber;
    return;
  }
  const std::int32_t l = FrameSamples();
  // A frame moves on by one sample at least, whatever the overlap.
  const double step = std::max((1.0 - 0.01 * FOverlappingPercent) * l, 1.0);
  const bool timed = FRecordTime > 0.0 && std::isfinite(FRecordTime);
  if (FFinalRecordPosition > 0) {
    FMaxFrames = ToInt32(detail::TruncIndex((FFinalRecordPosition - l) / step));
    if (timed && SamplingFrequency() > 0.0) FFramesPerSecond = FMaxFrames / (FFinalRecordPosition / SamplingFrequency());
  } else {
    FMaxFrames = ToInt32(detail::TruncIndex((FRecordLength - l) / step));
    if (timed) FFramesPerSecond = FMaxFrames / FRecordTime;
  }
  FFrameNumber = ToInt32(detail::TruncIndex(FRecordPosition / step));
}

// --- opening, closing, the update step ---------------------------------------

void TSignalRead::OpenFile() {
  CloseFile();
  SetChannelCount(1);
  std::error_code error;
  if (FileName().empty() || !std::filesystem::exists(FileName(), error))
    numeric::RaiseError("File not found: " + FileName());
  try {
    switch (FileFormat()) {
      case ffDat:
      case ffBin:
      case ffDbn:
        OpenBinary();
        break;
      case ffSgl:
        OpenSgl();
        break;
      case ffSfs:
        OpenSfs();
        break;
      case ffAsc:
        OpenAsc();
        break;
      case ffWav:
        OpenWave();
        break;
    }
    FCurrentRecord = -1;
    SetFileOpen(true);
    SetRecordNumber(0);
  } catch (...) {
    CloseFile();
    throw;
  }
}

void TSignalRead::CloseFile() {
  FConverter->Close();
  FStream.reset();
  FRecords.clear();
  FRecords.shrink_to_fit();
  FText.clear();
  FText.shrink_to_fit();
  FLines.clear();
  FLines.shrink_to_fit();
  FCurrentRecord = -1;
  SetFileSize(0);
  FRecordPosition = 0;
  SetFileOpen(false);
}

void TSignalRead::ReadFrameAt(std::int32_t P, bool Sequential) {
  if (!Active()) return;
  if (!FileOpen()) {
    std::error_code error;
    if (FileName().empty() || !std::filesystem::exists(FileName(), error)) return;
    OpenFile();
  }
  FRecordPosition = P;
  FRecordTimePosition = FRecordLength > 0 ? static_cast<double>(P) / FRecordLength * FRecordTime : 0.0;
  switch (FileFormat()) {
    case ffDat:
    case ffBin:
    case ffDbn:
      ReadBinaryFrame(P);
      break;
    case ffSgl:
    case ffSfs:
    case ffAsc:
      ReadValueFrame(P);
      break;
    case ffWav:
      ReadWaveFrame(P, Sequential);
      break;
  }
  if (FScaleFactor != 1.0) Data().Scale(FScaleFactor);
  if (FOnRecordPositionChange) FOnRecordPositionChange(this);
}

std::uint8_t TSignalRead::InternalUpdate() {
  if (!Continuous()) {
    ReadFrameAt(FRecordPosition, false);
    return 0;
  }
  const bool sequential = FileFormat() == ffWav && FOverlappingSamples == 0;
  if (FileOpen() && AtEnd()) {
    if (!FLoop) {
      CloseFile();
      return 2;
    }
    ReadFrameAt(0, sequential);
    if (!sequential) FRecordPosition = FrameStep();
    ApplyFraming();
    return 0;
  }
  if (!FileOpen()) OpenFile();
  const std::int32_t p = FRecordPosition;
  ReadFrameAt(p, sequential);
  if (!sequential) FRecordPosition = ToInt32(static_cast<std::int64_t>(p) + FrameStep());
  ApplyFraming();
  return 0;
}

// --- the file information texts ----------------------------------------------

std::string FileFormatToText(const TSignalRead& Reader) {
  if (!Reader.FileOpen()) return "";
  if (Reader.FileFormat() == ffWav) return WaveFormatTagName(Reader.Converter().SourceFormat().wFormatTag);
  return FileFormatName(Reader.FileFormat());
}

std::string SignalFileInfoText(const TSignalRead& Reader) {
  if (!Reader.FileOpen()) return "";
  if (Reader.FileFormat() == ffWav) {
    const TWaveFormat& source = Reader.Converter().SourceFormat();
    if (source.wFormatTag != WAVE_FORMAT_EXTENSIBLE) return WaveFormatDetails(source);
    return std::to_string(source.nSamplesPerSec) + "Hz, " + std::to_string(source.wBitsPerSample) + "bit, " +
           std::to_string(source.nChannels) + "ch ";
  }
  std::string text = numeric::FloatToStrPrec(Reader.SamplingFrequency(), 7, 0) + " Hz, " +
                     numeric::PrecisionToStr(Reader.Precision()) + ", Ch: " + std::to_string(Reader.ChannelCount());
  if (Reader.NumberOfRecords() > 0) text += ", Records: " + std::to_string(Reader.NumberOfRecords());
  return text;
}

}  // namespace sig

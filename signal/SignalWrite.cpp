// TSignalWrite: records written block by block beside the target file and
// put in its place when the file closes.
// Tested by: signal/tests/SignalWriteTest.cpp.
#include "signal/SignalWrite.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <vector>

#include "numeric/MathCore.h"
#include "platform/classlib/Streams.h"
#include "platform/classlib/SysUtils.h"
#include "platform/classlib/WarningSink.h"
#include "platform/spl/SampleConversions.h"
#include "signal/SignalFileInternal.h"
#include "signal/SignalRead.h"

namespace sig {

using detail::RoundingFlag;

namespace {

constexpr std::int64_t kLargestInt32 = std::numeric_limits<std::int32_t>::max();

bool OneRealChannel(TFileFormat Format) {
  return Format == ffBin || Format == ffDbn || Format == ffSfs || Format == ffAsc;
}

bool Appendable(TFileFormat Format) { return Format == ffDat || Format == ffBin || Format == ffDbn; }

std::int32_t WaveBits(numeric::TPrecision Precision) {
  switch (Precision) {
    case numeric::prSingle:
    case numeric::prInteger:
    case numeric::prSmallInt:
    case numeric::prByte:
    case numeric::prInt24:
      return 8 * numeric::PrecisionBytes(Precision, false);
    default:
      return 0;
  }
}

TWaveFormat WaveFormatOf(const TSignal& Source, numeric::TPrecision Precision) {
  const std::int64_t bits = WaveBits(Precision);
  const std::int64_t channels = Source.ChannelCount();
  const double rate = std::nearbyint(Source.SamplingFrequency());
  const std::int64_t block = channels * bits / 8;
  if (!(rate >= 1.0 && rate <= 4294967295.0))
    numeric::RaiseError("Unsupported wav format: SamplingFrequency " + detail::ValueText(Source.SamplingFrequency()) +
                        " outside 1 .. 4294967295 Hz!");
  if (channels > 0xFFFF || block > 0xFFFF || block * static_cast<std::int64_t>(rate) > 0xFFFFFFFFll)
    numeric::RaiseError("Unsupported wav format: " + std::to_string(channels) + " channels of " +
                        std::to_string(bits) + " bits at " + detail::ValueText(rate) + " Hz!");
  return LinearWaveFormat(static_cast<std::uint16_t>(channels), static_cast<std::uint32_t>(rate),
                          static_cast<std::uint16_t>(bits),
                          Precision == numeric::prSingle ? KSDATAFORMAT_SUBTYPE_IEEE_FLOAT : KSDATAFORMAT_SUBTYPE_PCM);
}

// The settings of a record that every block must keep.
void CheckBlockShape(const TSignal& Source, std::int32_t Channels, bool Complex) {
  if (Source.ChannelCount() != Channels || Source.Complex() != Complex)
    numeric::RaiseError("Input changed its ChannelCount or Complex within a record: the block is not written!");
}

}  // namespace

const classlib::TClassInfo& TSignalWrite::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalWrite>("TSignalWrite", TFileStorage::StaticClassInfo())
          .Property("AuthorInfo", &TSignalWrite::AuthorInfo, &TSignalWrite::SetAuthorInfo, std::string())
          .Property(
              "Input", [](const TSignalWrite& w) { return w.Input(); },
              [](TSignalWrite& w, TSignal* v) { w.SetInput(v); })
          .Stored(&TSignalWrite::InputStored)
          .Property("AppendFile", &TSignalWrite::AppendFile, &TSignalWrite::SetAppendFile, false)
          .Property("Rounding", &TSignalWrite::Rounding, &TSignalWrite::SetRounding, numeric::rnTrunc)
          .TypeName("TRounding")
          .Names({"rnTrunc", "rnTruncNeg", "rnRound"})
          .Property("RecordNumber", &TSignalWrite::RecordNumber, &TSignalWrite::SetRecordNumber, 0)
          .Property("Precision", &TSignalWrite::Precision, &TSignalWrite::SetPrecision, numeric::prDouble)
          .TypeName("TPrecision")
          .Names({"prDouble", "prSingle", "prInteger", "prCardinal", "prSmallInt", "prWord", "prShortInt", "prByte",
                  "prMuLaw", "prALaw", "prInt24"})
          .Property("RecordLength", &TSignalWrite::RecordLength, nullptr)
          .Property("RecordTime", &TSignalWrite::RecordTime, nullptr)
          .Property("TotalRecordLength", &TSignalWrite::TotalRecordLength, nullptr)
          .Creatable()
          .Build();
  return info;
}

TSignalWrite::TSignalWrite(classlib::TComponent* AOwner) : TFileStorage(AOwner) { SetUsesInputs(true); }

TSignalWrite::~TSignalWrite() {
  try {
    CloseFile();
  } catch (const std::exception& e) {
    // A destructor cannot raise: the user still hears that the file was not written.
    classlib::ReportWarning(e.what());
  }
}

TSignal* TSignalWrite::Input() const { return dynamic_cast<TSignal*>(GetInput()); }

void TSignalWrite::SetInput(TAnalysis* Value) {
  if (Value != nullptr && dynamic_cast<TSignal*>(Value) == nullptr)
    numeric::RaiseError("Input must be a TSignal: " + Value->ClassName());
  TFileStorage::SetInput(Value);
}

std::int32_t TSignalWrite::RecordLength() const { return FTotalRecordLength / ChannelCount(); }

double TSignalWrite::RecordTime() const {
  return SamplingFrequency() > 0.0 ? RecordLength() / SamplingFrequency() : 0.0;
}

std::uint8_t TSignalWrite::InternalUpdate() {
  if (const TSignal* source = Input()) {
    SetChannelCount(source->ChannelCount());
    SetSamplingFrequency(source->SamplingFrequency());
  }
  AppendBlock();
  return 0;
}

void TSignalWrite::AppendBlock() {
  if (!Active()) return;
  const TSignal* source = Input();
  if (source == nullptr) numeric::RaiseError("Input = nil!");
  if (!FileOpen()) CreateFile(*source);
  if (!FHeaderWritten) BeginRecord(*source);
  WriteBlock(*source);
}

void TSignalWrite::CreateFile(const TSignal& Source) {
  // Everything a record needs is checked before the file is touched.
  const TFileFormat format = FileFormat();
  const std::string ext = FileFormatExtension(format);
  if (FileName().empty()) numeric::RaiseError("FileName = '' !");
  if (!(std::isfinite(Source.SamplingFrequency()) && Source.SamplingFrequency() > 0.0))
    numeric::RaiseError("Input.SamplingFrequency " + detail::ValueText(Source.SamplingFrequency()) +
                        " is no positive number: nothing is written!");
  if (OneRealChannel(format) && Source.ChannelCount() > 1)
    numeric::RaiseError("A " + ext + " file holds one real channel: Input.ChannelCount = " +
                        std::to_string(Source.ChannelCount()) + "!");
  if ((OneRealChannel(format) || format == ffWav) && Source.Complex())
    numeric::RaiseError("A " + ext + " file holds real samples: Input.Complex = True!");
  if (format == ffDat && numeric::PrecisionBytes(FPrecision, false) == 0)
    numeric::RaiseError("Unknown precision: " + std::to_string(FPrecision));
  if ((format == ffDat || format == ffWav) && FPrecision == numeric::prInt24 && FRounding == numeric::rnTruncNeg)
    numeric::RaiseError("Not supported!");
  TWaveFormat wave;
  if (format == ffWav) {
    FWaveBits = WaveBits(FPrecision);
    if (FWaveBits == 0)
      numeric::RaiseError(
          "Unsupported wav format: Precision <> prInteger (32), prInt24 (24), prSmallInt (16),  prByte (8), "
          "prSingle(32)!");
    wave = WaveFormatOf(Source, FPrecision);
  }
  // With AppendFile the records already there are checked, so that the new
  // one follows records a reader can find.
  std::unique_ptr<classlib::TFileStream> existing;
  std::error_code error;
  if (FAppendFile && Appendable(format) && std::filesystem::exists(FileName(), error)) {
    existing = std::make_unique<classlib::TFileStream>(FileName(), classlib::fmOpenRead | classlib::fmShareDenyWrite);
    ScanSignalRecords(*existing, format, FileName());
  }
  FStream = std::make_unique<classlib::TSafeFileWriter>(FileName());
  try {
    if (existing) FStream->CopyFrom(*existing, 0);
    if (format == ffWav) WriteWaveHeader(*FStream, wave);
  } catch (...) {
    FStream.reset();
    throw;
  }
  FText.clear();
  FWaveDataSize = 0;
  FHeaderWritten = false;
  FTotalRecordLength = 0;
  SetFileOpen(true);
}

void TSignalWrite::BeginRecord(const TSignal& Source) {
  FHeaderPosition = FStream->Position();
  FRecordChannels = Source.ChannelCount();
  FRecordComplex = Source.Complex();
  FRecordRate = Source.SamplingFrequency();
  try {
    // The count and duration of the first block; CloseFile writes the totals.
    const std::int32_t count = Source.Length();
    switch (FileFormat()) {
      case ffDat:
        FStream->WriteInt32(count);
        FStream->WriteDouble(FRecordRate);
        FStream->WriteInt32(FPrecision);
        FStream->WriteInt32(FRecordComplex ? 1 : 0);
        FStream->WriteInt32(FRecordChannels);
        break;
      case ffBin:
        FStream->WriteInt32(count);
        FStream->WriteFloat(static_cast<float>(count / FRecordRate));
        break;
      case ffDbn:
        FStream->WriteInt32(count);
        FStream->WriteDouble(count / FRecordRate);
        break;
      default:
        break;
    }
  } catch (...) {
    ReleaseFile();
    throw;
  }
  FHeaderWritten = true;
}

void TSignalWrite::WriteBlock(const TSignal& Source) {
  if (FileFormat() == ffSgl) numeric::RaiseError("Block save not supported for this FileFormat!");
  CheckBlockShape(Source, FRecordChannels, FRecordComplex);
  const std::int32_t count = Source.Length();
  if (FTotalRecordLength + static_cast<std::int64_t>(count) > kLargestInt32)
    numeric::RaiseError("A record holds at most " + std::to_string(kLargestInt32) + " values: the block is not written!");
  if (FileFormat() == ffWav) {
    WriteWaveBlock(Source);
  } else {
    try {
      const numeric::TVec& data = Source.Data();
      const std::span<const double> values(data.Values(), static_cast<std::size_t>(data.DoubleLength()));
      switch (FileFormat()) {
        case ffDat:
          numeric::WriteSamples(*FStream, values, FPrecision, FRounding, count, FRecordComplex);
          break;
        case ffBin: {
          std::vector<float> singles(values.begin(), values.end());
          if (!singles.empty()) FStream->WriteBuffer(singles.data(), static_cast<std::int64_t>(singles.size()) * 4);
          break;
        }
        case ffDbn:
          if (!values.empty()) FStream->WriteBuffer(values.data(), static_cast<std::int64_t>(values.size()) * 8);
          break;
        default:
          WriteTextBlock(Source);
          break;
      }
    } catch (...) {
      ReleaseFile();
      throw;
    }
  }
  FTotalRecordLength += count;
}

void TSignalWrite::WriteTextBlock(const TSignal& Source) {
  const numeric::TVec& data = Source.Data();
  const double* values = data.Values();
  const std::int32_t count = Source.Length();
  if (FileFormat() == ffSfs) {
    for (std::int32_t i = 0; i < count; ++i) {
      FText += detail::ValueText(values[i]);
      FText += "\r\n";
    }
    return;
  }
  // .asc: the time of each sample counts on from the blocks before.
  std::string lines;
  const double period = 1.0 / FRecordRate;
  for (std::int32_t i = 0; i < count; ++i) {
    lines += detail::ValueText((static_cast<double>(FTotalRecordLength) + i) * period);
    lines += '\t';
    lines += detail::ValueText(values[i]);
    lines += "\r\n";
  }
  if (!lines.empty()) FStream->WriteBuffer(lines.data(), static_cast<std::int64_t>(lines.size()));
}

void TSignalWrite::WriteWaveBlock(const TSignal& Source) {
  const numeric::TVec& data = Source.Data();
  const std::int32_t count = Source.Length();
  const std::int64_t bytes = static_cast<std::int64_t>(count) * (FWaveBits / 8);
  const std::string created = classlib::DateToStr(classlib::Date());
  if (WaveDataStart + FWaveDataSize + bytes + WaveTrailerBytes(FWaveDataSize + bytes, created, FAuthorInfo) >
      FWavSizeLimit) {
    const std::string name = FileName();
    CloseFile();
    numeric::RaiseError("The wav file " + name +
                        " has reached the size limit of a RIFF file: it was closed before this block!");
  }
  if (count == 0) return;
  // The conversions read the input and write a scratch buffer: the input's
  // samples stay as they are.
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(bytes));
  const double* values = data.Values();
  const int flags = spl::NSP_Clip | RoundingFlag(FRounding);
  switch (FPrecision) {
    case numeric::prByte: {
      std::vector<double> shifted(values, values + count);
      for (double& x : shifted) x += 128.0;
      spl::nspdbFloatToInt(shifted.data(), buffer.data(), count, 8, flags | spl::NSP_Unsigned);
      break;
    }
    case numeric::prSmallInt:
      spl::nspdbFloatToInt(values, buffer.data(), count, 16, flags);
      break;
    case numeric::prInteger:
      spl::nspdbFloatToInt(values, buffer.data(), count, 32, flags);
      break;
    case numeric::prInt24:
      numeric::FloatToInt24(count, std::span<const double>(values, static_cast<std::size_t>(count)), buffer, FRounding);
      break;
    case numeric::prSingle:
      for (std::int32_t i = 0; i < count; ++i) {
        const auto x = static_cast<float>(values[i]);
        std::memcpy(buffer.data() + 4 * static_cast<std::size_t>(i), &x, 4);
      }
      break;
    default:
      numeric::RaiseError("Dynamics not supported WaveFormat.wBitsPerSample = " + std::to_string(FWaveBits));
  }
  try {
    FStream->WriteBuffer(buffer.data(), bytes);
  } catch (...) {
    ReleaseFile();
    throw;
  }
  FWaveDataSize += bytes;
}

void TSignalWrite::CloseFile() {
  if (!FileOpen()) {
    FHeaderWritten = false;
    FTotalRecordLength = 0;
    return;
  }
  try {
    const std::int32_t total = FTotalRecordLength;
    const double duration = FRecordRate > 0.0 ? total / FRecordRate : 0.0;
    const auto patch = [&](const std::function<void()>& fields) {
      const std::int64_t end = FStream->Position();
      FStream->SetPosition(FHeaderPosition);
      fields();
      FStream->SetPosition(end);
    };
    switch (FileFormat()) {
      case ffDat:
        if (FHeaderWritten) patch([&] { FStream->WriteInt32(total); });
        break;
      case ffBin:
        if (FHeaderWritten)
          patch([&] {
            FStream->WriteInt32(total);
            FStream->WriteFloat(static_cast<float>(duration));
          });
        break;
      case ffDbn:
        if (FHeaderWritten)
          patch([&] {
            FStream->WriteInt32(total);
            FStream->WriteDouble(duration);
          });
        break;
      case ffSfs: {
        const std::string head = std::to_string(total) + "\r\n" + detail::ValueText(duration) + "\r\n\r\n";
        FStream->WriteBuffer(head.data(), static_cast<std::int64_t>(head.size()));
        if (!FText.empty()) FStream->WriteBuffer(FText.data(), static_cast<std::int64_t>(FText.size()));
        break;
      }
      case ffWav: {
        const std::string created = classlib::DateToStr(classlib::Date());
        // The texts come last: one that would carry the file past its limit is cut.
        const std::int64_t room =
            FWavSizeLimit - WaveDataStart - FWaveDataSize - WaveTrailerBytes(FWaveDataSize, created, "");
        std::string software = FAuthorInfo;
        if (static_cast<std::int64_t>(software.size()) + 1 > room)
          software.resize(static_cast<std::size_t>(std::max<std::int64_t>(room - 1, 0)));
        FinishWave(*FStream, FWaveDataSize, created, software);
        break;
      }
      default:
        break;
    }
    FStream->Commit();
  } catch (...) {
    ReleaseFile();
    throw;
  }
  ReleaseFile();
}

void TSignalWrite::ReleaseFile() {
  FStream.reset();
  FText.clear();
  FHeaderWritten = false;
  FTotalRecordLength = 0;
  FWaveDataSize = 0;
  SetFileOpen(false);
}

}  // namespace sig

// TSignalRead's formats: opening and checking each kind of file, selecting a
// record, and reading a frame of it.
// Tested by: signal/tests/SignalReadTest.cpp, signal/tests/SignalFileFuzzTest.cpp.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "numeric/MathCore.h"
#include "platform/classlib/Streams.h"
#include "platform/spl/SampleConversions.h"
#include "signal/SignalFileInternal.h"
#include "signal/SignalInternal.h"
#include "signal/SignalRead.h"

namespace sig {

namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

std::int32_t HeaderBytes(TFileFormat Format) {
  switch (Format) {
    case ffDat:
      return 24;
    case ffBin:
      return 8;
    default:
      return 12;
  }
}

std::int32_t Int32At(const std::uint8_t* b) {
  std::uint32_t u = 0;
  for (int i = 3; i >= 0; --i) u = (u << 8) | b[i];
  return static_cast<std::int32_t>(u);
}

double DoubleAt(const std::uint8_t* b) {
  double x;
  std::memcpy(&x, b, 8);
  return x;
}

float FloatAt(const std::uint8_t* b) {
  float x;
  std::memcpy(&x, b, 4);
  return x;
}

std::string RecordText(std::size_t Index) { return "record " + std::to_string(Index) + ": "; }

// The lines of a text file: where each lies in Text.
std::vector<std::pair<std::size_t, std::size_t>> LinesOf(const std::string& Text) {
  std::vector<std::pair<std::size_t, std::size_t>> lines;
  detail::ForEachLine(Text, [&](std::string_view line) {
    lines.emplace_back(static_cast<std::size_t>(line.data() - Text.data()), line.size());
  });
  return lines;
}

// The first blank or TAB of a line of an .asc file.
std::size_t ColumnBreak(std::string_view Line) { return Line.find_first_of(" \t"); }

// Parses Count numbers, real or complex, Text(i) the i-th, into Values
// (complex when any of them is); Refuse(i) raises for one that is no number.
// Returns whether they are complex.
template <class FText, class FRefuse>
bool ParseValues(std::size_t Count, FText&& Text, FRefuse&& Refuse, numeric::TVec& Values) {
  std::vector<double> parts(2 * Count);
  bool complex = false;
  for (std::size_t i = 0; i < Count; ++i) {
    bool isComplex = false;
    if (!detail::ParseComplex(Text(i), parts[2 * i], parts[2 * i + 1], isComplex)) Refuse(i);
    complex = complex || isComplex;
  }
  Values.Size(static_cast<std::int32_t>(Count), complex);
  double* v = Values.Values();
  for (std::size_t i = 0; i < Count; ++i) {
    if (complex) {
      v[2 * i] = parts[2 * i];
      v[2 * i + 1] = parts[2 * i + 1];
    } else {
      v[i] = parts[2 * i];
    }
  }
  return complex;
}

// The record of a text format: one channel of double values.
TSignalRecord TextRecord(std::int32_t Count, double Duration, bool Complex) {
  TSignalRecord record;
  record.Count = Count;
  record.Duration = Duration;
  record.SamplingFrequency = Count / Duration;
  record.Complex = Complex;
  return record;
}

}  // namespace

std::vector<TSignalRecord> ScanSignalRecords(classlib::TStream& Stream, TFileFormat Format,
                                             const std::string& FileName) {
  const auto refuse = [&](std::size_t record, const std::string& what) {
    detail::RaiseMalformed(FileName, RecordText(record) + what);
  };
  const std::int64_t size = Stream.Size();
  const std::int32_t header = HeaderBytes(Format);
  std::vector<TSignalRecord> records;
  std::int64_t pos = 0;
  while (pos < size) {
    const std::size_t r = records.size();
    if (r >= static_cast<std::size_t>(kInt32Max)) refuse(r, "more records than a reader can number");
    const std::int64_t left = size - pos;
    if (left < header)
      refuse(r, "header of " + std::to_string(header) + " bytes cut by the end of the file (" + std::to_string(left) +
                    " bytes left)");
    std::uint8_t b[24];
    Stream.SetPosition(pos);
    Stream.ReadBuffer(b, header);
    TSignalRecord rec;
    rec.Offset = pos + header;
    rec.Count = Int32At(b);
    if (rec.Count < 0) refuse(r, "count " + std::to_string(rec.Count) + " is negative");
    std::int64_t bytes = 0;
    if (Format == ffDat) {
      rec.SamplingFrequency = DoubleAt(b + 4);
      const std::int32_t precision = Int32At(b + 12);
      const std::int32_t complex = Int32At(b + 16);
      rec.Channels = Int32At(b + 20);
      if (!(std::isfinite(rec.SamplingFrequency) && rec.SamplingFrequency > 0.0))
        refuse(r, "SamplingFrequency " + detail::ValueText(rec.SamplingFrequency) + " is no positive number");
      if (precision < numeric::prDouble || precision > numeric::prInt24)
        refuse(r, "Precision " + std::to_string(precision) + " is unknown");
      if (complex != 0 && complex != 1) refuse(r, "Complex " + std::to_string(complex) + " is neither 0 nor 1");
      if (rec.Channels < 1) refuse(r, "ChannelCount " + std::to_string(rec.Channels) + " is below 1");
      rec.Precision = static_cast<numeric::TPrecision>(precision);
      rec.Complex = complex == 1;
      rec.Duration = static_cast<double>(rec.Count / rec.Channels) / rec.SamplingFrequency;
      bytes = static_cast<std::int64_t>(rec.Count) * numeric::PrecisionBytes(rec.Precision, rec.Complex);
    } else {
      const bool single = Format == ffBin;
      rec.Duration = single ? FloatAt(b + 4) : DoubleAt(b + 4);
      rec.Precision = single ? numeric::prSingle : numeric::prDouble;
      if (!std::isfinite(rec.Duration) || rec.Duration < 0.0 || (rec.Count > 0 && rec.Duration == 0.0))
        refuse(r, "duration " + detail::ValueText(rec.Duration) + " is no positive number");
      rec.SamplingFrequency = rec.Count > 0 ? rec.Count / rec.Duration : 0.0;
      if (!std::isfinite(rec.SamplingFrequency))
        refuse(r, "duration " + detail::ValueText(rec.Duration) + " gives no finite sampling frequency");
      bytes = static_cast<std::int64_t>(rec.Count) * (single ? 4 : 8);
    }
    if (bytes > left - header)
      refuse(r, "count " + std::to_string(rec.Count) + " needs " + std::to_string(bytes) + " bytes, " +
                    std::to_string(left - header) + " are left");
    records.push_back(rec);
    pos += header + bytes;
  }
  return records;
}

void TSignalRead::OpenBinary() {
  FStream = std::make_unique<classlib::TFileStream>(FileName(), classlib::fmOpenRead | classlib::fmShareDenyWrite);
  SetFileSize(FStream->Size());
  FRecords = ScanSignalRecords(*FStream, FileFormat(), FileName());
  FNumberOfRecords = static_cast<std::int32_t>(FRecords.size());
}

void TSignalRead::OpenSgl() {
  FText = classlib::ReadFileBytes(FileName());
  SetFileSize(static_cast<std::int64_t>(FText.size()));
  FLines = LinesOf(FText);
  if (FLines.empty()) numeric::RaiseError(FileName() + ": Strings.Count = 0!");
  FNumberOfRecords = static_cast<std::int32_t>(std::min<std::size_t>(FLines.size() / 3, kInt32Max));
}

void TSignalRead::ParseSglRecord(std::int32_t Index, TSignalRecord& Info) {
  const auto line = [&](std::size_t i) {
    return std::string_view(FText).substr(FLines[i].first, FLines[i].second);
  };
  const auto refuse = [&](const std::string& what) {
    detail::RaiseMalformed(FileName(), RecordText(static_cast<std::size_t>(Index)) + what);
  };
  const std::size_t first = 3 * static_cast<std::size_t>(Index);
  std::int32_t count = 0;
  double duration = 0.0;
  if (!detail::ParseInt32(line(first), count) || count < 0)
    refuse("count " + detail::Quoted(line(first)) + " is no whole number of at least 0");
  if (!detail::ParseReal(line(first + 1), duration) || !std::isfinite(duration) || duration <= 0.0)
    refuse("duration " + detail::Quoted(line(first + 1)) + " is no positive number");
  // The values: split at ';', a last empty field (a line ending in ';') left out.
  std::vector<std::string_view> fields;
  std::string_view values = line(first + 2);
  while (!values.empty()) {
    const std::size_t semicolon = values.find(';');
    fields.push_back(values.substr(0, semicolon));
    if (semicolon == std::string_view::npos) break;
    values.remove_prefix(semicolon + 1);
  }
  if (static_cast<std::int64_t>(fields.size()) != count)
    refuse("count " + std::to_string(count) + " but " + std::to_string(fields.size()) + " values on its line");
  const bool complex = ParseValues(
      fields.size(), [&](std::size_t i) { return fields[i]; },
      [&](std::size_t i) { refuse("value " + std::to_string(i) + " " + detail::Quoted(fields[i]) + " is no number"); },
      *FValues);
  Info = TextRecord(count, duration, complex);
}

void TSignalRead::OpenSfs() {
  const std::string text = classlib::ReadFileBytes(FileName());
  SetFileSize(static_cast<std::int64_t>(text.size()));
  const auto lines = LinesOf(text);
  const auto line = [&](std::size_t i) { return std::string_view(text).substr(lines[i].first, lines[i].second); };
  const auto refuse = [&](const std::string& what) { detail::RaiseMalformed(FileName(), what); };
  if (lines.size() < 3) refuse(std::to_string(lines.size()) + " lines, a header of 3 needed");
  std::int32_t count = 0;
  double duration = 0.0;
  if (!detail::ParseInt32(line(0), count) || count < 0)
    refuse("count " + detail::Quoted(line(0)) + " is no whole number of at least 0");
  if (!detail::ParseReal(line(1), duration) || !std::isfinite(duration) || duration <= 0.0)
    refuse("duration " + detail::Quoted(line(1)) + " is no positive number");
  if (static_cast<std::size_t>(count) > lines.size() - 3)
    refuse("count " + std::to_string(count) + " but " + std::to_string(lines.size() - 3) + " value lines");
  const bool complex = ParseValues(
      static_cast<std::size_t>(count), [&](std::size_t i) { return line(3 + i); },
      [&](std::size_t i) { refuse("line " + std::to_string(3 + i) + " " + detail::Quoted(line(3 + i)) + " is no number"); },
      *FValues);
  FRecord = TextRecord(count, duration, complex);
  FNumberOfRecords = 1;
}

void TSignalRead::OpenAsc() {
  const std::string text = classlib::ReadFileBytes(FileName());
  SetFileSize(static_cast<std::int64_t>(text.size()));
  auto lines = LinesOf(text);
  // Empty lines at the end are no samples.
  while (!lines.empty() && lines.back().second == 0) lines.pop_back();
  const auto line = [&](std::size_t i) { return std::string_view(text).substr(lines[i].first, lines[i].second); };
  const auto refuse = [&](const std::string& what) { detail::RaiseMalformed(FileName(), what); };
  if (lines.size() < 2) refuse(std::to_string(lines.size()) + " lines, two at least needed for the sampling frequency");
  if (lines.size() > static_cast<std::size_t>(kInt32Max)) refuse("more lines than a record can hold");
  double t[2] = {0.0, 0.0};
  for (int i = 0; i < 2; ++i) {
    const std::string_view l = line(static_cast<std::size_t>(i));
    if (!detail::ParseReal(l.substr(0, ColumnBreak(l)), t[i]))
      refuse("line " + std::to_string(i) + " " + detail::Quoted(l) + " starts with no time");
  }
  const double fs = 1.0 / (t[1] - t[0]);
  if (!(std::isfinite(fs) && fs > 0.0))
    refuse("times " + detail::ValueText(t[0]) + " and " + detail::ValueText(t[1]) + " give no sampling frequency");
  FValues->Size(static_cast<std::int32_t>(lines.size()), false);
  double* v = FValues->Values();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view l = line(i);
    const std::size_t gap = ColumnBreak(l);
    if (gap == std::string_view::npos || !detail::ParseReal(l.substr(gap), v[i]))
      refuse("line " + std::to_string(i) + " " + detail::Quoted(l) + " holds no time and value");
  }
  FRecord = TSignalRecord{};
  FRecord.Count = static_cast<std::int32_t>(lines.size());
  FRecord.SamplingFrequency = fs;
  FRecord.Duration = FRecord.Count / fs;
  FNumberOfRecords = 1;
}

void TSignalRead::OpenWave() {
  FStream = std::make_unique<classlib::TFileStream>(FileName(), classlib::fmOpenRead | classlib::fmShareDenyWrite);
  FWave = ReadWaveLayout(*FStream, FileName());
  const TWaveFormat source = ParseWaveFormat(FWave.FormatBytes);
  CheckWaveFormat(source, FWave.FormatBytes.size(), FileName());
  FConverter->SetSourceFormat(FWave.FormatBytes);
  FConverter->SuggestFormat();
  FConverter->Open();
  const TWaveFormat& destination = FConverter->DestinationFormat();
  FRecord = TSignalRecord{};
  FRecord.Channels = destination.nChannels;
  FRecord.SamplingFrequency = destination.nSamplesPerSec;
  FRecord.Duration = static_cast<double>(FWave.DataSize) / source.nAvgBytesPerSec;
  const double frames = std::nearbyint(source.nSamplesPerSec * FRecord.Duration);
  // No codec stores a sample in less than one bit: a byte rate that promises
  // more samples than that is a broken header, not a long file.
  if (frames * destination.nChannels > 8.0 * (static_cast<double>(FWave.DataSize) + source.nBlockAlign) ||
      frames > static_cast<double>(kInt32Max) / destination.nChannels)
    detail::RaiseMalformed(FileName(), "nAvgBytesPerSec " + std::to_string(source.nAvgBytesPerSec) + " gives " +
                                           detail::ValueText(frames) + " samples, more than the data can hold");
  FRecord.Count = static_cast<std::int32_t>(frames) * destination.nChannels;
  switch (destination.wBitsPerSample) {
    case 8:
      FRecord.Precision = numeric::prByte;
      break;
    case 16:
      FRecord.Precision = numeric::prSmallInt;
      break;
    case 24:
      FRecord.Precision = numeric::prInt24;
      break;
    default:
      FRecord.Precision = IsFloatWave(source) ? numeric::prSingle : numeric::prInteger;
      break;
  }
  SetFileSize(FWave.RiffSize);
  FNumberOfRecords = 1;
}

void TSignalRead::SelectRecord(std::int32_t Index) {
  if (Index >= FNumberOfRecords) {
    FRecordLength = 0;
    FRecordTime = 0.0;
    numeric::RaiseError("Record number: " + std::to_string(Index) + " not found!");
  }
  if (FileFormat() == ffDat || FileFormat() == ffBin || FileFormat() == ffDbn)
    FRecord = FRecords[static_cast<std::size_t>(Index)];
  else if (FileFormat() == ffSgl)
    ParseSglRecord(Index, FRecord);
  FCurrentRecord = Index;
  FRecordNumber = Index;
  SetChannelCount(FRecord.Channels);
  FPrecision = FRecord.Precision;
  FRecordLength = FRecord.Count / FRecord.Channels;
  FRecordTime = FRecord.Duration;
  SetSamplingFrequency(FRecord.SamplingFrequency);
  FRecordTimePosition = 0.0;
  SetRecordPosition(0);
}

void TSignalRead::ReadBinaryFrame(std::int32_t P) {
  const TSignalRecord& rec = FRecord;
  numeric::TVec& data = Data();
  const std::int32_t length = Length();
  data.Size(length, rec.Complex);
  const std::int64_t first = static_cast<std::int64_t>(P) * rec.Channels;
  const std::int64_t n = std::clamp<std::int64_t>(rec.Count - first, 0, length);
  const std::int32_t bytes = numeric::PrecisionBytes(rec.Precision, rec.Complex);
  const std::span<double> values(data.Values(), static_cast<std::size_t>(data.DoubleLength()));
  if (n > 0) {
    FStream->SetPosition(rec.Offset + first * bytes);
    numeric::ReadSamples(*FStream, values, rec.Precision, rec.Complex, static_cast<std::int32_t>(n));
  }
  const std::size_t done = static_cast<std::size_t>(n) * (rec.Complex ? 2 : 1);
  std::fill(values.begin() + static_cast<std::ptrdiff_t>(done), values.end(), 0.0);
}

void TSignalRead::ReadValueFrame(std::int32_t P) {
  numeric::TVec& data = Data();
  const bool complex = FValues->Complex();
  const std::int32_t length = Length();
  data.Size(length, complex);
  const std::int64_t n = std::clamp<std::int64_t>(static_cast<std::int64_t>(FRecordLength) - P, 0, length);
  const std::size_t width = complex ? 2 : 1;
  double* dst = data.Values();
  const double* src = FValues->Values();
  if (n > 0) std::copy_n(src + static_cast<std::size_t>(P) * width, static_cast<std::size_t>(n) * width, dst);
  std::fill(dst + static_cast<std::size_t>(n) * width, dst + static_cast<std::size_t>(length) * width, 0.0);
}

void TSignalRead::ReadWaveFrame(std::int32_t P, bool Sequential) {
  TACMConverter& converter = *FConverter;
  const bool exact = converter.PrepareForLength(Length());
  if (FForceLength && !exact)
    numeric::RaiseError("The suggested Length of the data block can not be used with the current audio format!");
  const std::int64_t dataSize = FWave.DataSize;
  const std::int64_t align = converter.SourceBlockAlign();
  const std::int64_t wholeData = dataSize / align * align;
  std::int64_t pos = 0;
  if (FRecordLength > 0 && dataSize > 0)
    pos = detail::RoundIndex(static_cast<double>(P) / FRecordLength * static_cast<double>(dataSize) / align) * align;
  pos = std::clamp<std::int64_t>(pos, 0, wholeData);
  std::int64_t n = std::min<std::int64_t>(converter.SourceByteCount(), wholeData - pos);
  n -= n % align;
  if (FStream->Seek(FWave.DataStart + pos, classlib::soBeginning) != FWave.DataStart + pos)
    numeric::RaiseError("Seek Error");
  if (n > 0 && FStream->Read(converter.SourceBuffer(), n) != n)
    numeric::RaiseError("Unable to read the file: mmioRead error!");
  converter.SetBytesRead(static_cast<std::int32_t>(n));
  converter.Convert();
  const TWaveFormat& destination = converter.DestinationFormat();
  const int bits = destination.wBitsPerSample;
  const std::int32_t values = converter.ConvertedBytes() / (bits / 8);
  const std::int32_t length = FForceLength ? Length() : values;
  numeric::TVec& data = Data();
  data.Size(length, false);
  double* dst = data.Values();
  const std::int32_t m = std::min(values, length);
  const std::uint8_t* src = converter.Converted();
  switch (bits) {
    case 8:
      spl::nspdbIntToFloat(src, dst, m, 8, spl::NSP_Unsigned);
      for (std::int32_t i = 0; i < m; ++i) dst[i] -= 128.0;
      break;
    case 24:
      numeric::Int24ToFloat(m, std::span<const std::uint8_t>(src, static_cast<std::size_t>(m) * 3),
                            std::span<double>(dst, static_cast<std::size_t>(m)), 0);
      break;
    case 32:
      if (IsFloatWave(converter.SourceFormat())) {
        for (std::int32_t i = 0; i < m; ++i) {
          float x;
          std::memcpy(&x, src + 4 * static_cast<std::size_t>(i), 4);
          dst[i] = x;
        }
      } else {
        spl::nspdbIntToFloat(src, dst, m, 32, 0);
      }
      break;
    default:
      spl::nspdbIntToFloat(src, dst, m, 16, 0);
      break;
  }
  std::fill(dst + m, dst + length, 0.0);
  if (Sequential) {
    const double next = dataSize > 0 ? static_cast<double>(pos + n) / static_cast<double>(dataSize) * FRecordLength : 0.0;
    // Each read moves on, also where the rounding would hold it back.
    FRecordPosition = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::max<std::int64_t>(detail::RoundIndex(next), static_cast<std::int64_t>(P) + 1), 0,
                                 kInt32Max));
  }
}

}  // namespace sig

// The RIFF "WAVE" layout: the format record, the chunk search of a reader
// and the chunks of a writer.
// Tested by: signal/tests/WaveFormatTest.cpp.
#include "signal/WaveFormat.h"

#include <algorithm>
#include <cstring>

#include "platform/classlib/Streams.h"
#include "signal/SignalFileInternal.h"

namespace sig {

using detail::PutLE32;

namespace {

std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
         (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

void Put16(std::uint8_t* b, std::uint16_t v) {
  b[0] = static_cast<std::uint8_t>(v);
  b[1] = static_cast<std::uint8_t>(v >> 8);
}

void WriteId(classlib::TStream& Stream, const char* Id) { Stream.WriteBuffer(Id, 4); }

void WriteU32(classlib::TStream& Stream, std::uint32_t Value) {
  std::uint8_t b[4];
  PutLE32(b, Value);
  Stream.WriteBuffer(b, 4);
}

// A chunk of text without a terminating zero, and its pad byte when odd.
void WriteTextChunk(classlib::TStream& Stream, const char* Id, const std::string& Text) {
  WriteId(Stream, Id);
  WriteU32(Stream, static_cast<std::uint32_t>(Text.size()));
  if (!Text.empty()) Stream.WriteBuffer(Text.data(), static_cast<std::int64_t>(Text.size()));
  if (Text.size() % 2 != 0) Stream.WriteUInt8(0);
}

std::int64_t TextChunkBytes(const std::string& Text) {
  return 8 + static_cast<std::int64_t>(Text.size()) + static_cast<std::int64_t>(Text.size() % 2);
}

std::string TagText(std::uint16_t Tag) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text = "0x";
  for (int shift = 12; shift >= 0; shift -= 4) text += digits[(Tag >> shift) & 0xF];
  return text;
}

}  // namespace

TWaveFormat ParseWaveFormat(std::span<const std::uint8_t> Bytes) {
  TWaveFormat f;
  if (Bytes.size() < 16) return f;
  f.wFormatTag = U16(Bytes, 0);
  f.nChannels = U16(Bytes, 2);
  f.nSamplesPerSec = U32(Bytes, 4);
  f.nAvgBytesPerSec = U32(Bytes, 8);
  f.nBlockAlign = U16(Bytes, 12);
  f.wBitsPerSample = U16(Bytes, 14);
  if (Bytes.size() >= 18) f.cbSize = U16(Bytes, 16);
  if (Bytes.size() >= 40) {
    f.wValidBitsPerSample = U16(Bytes, 18);
    f.dwChannelMask = U32(Bytes, 20);
    std::copy_n(Bytes.begin() + 24, 16, f.SubFormat.begin());
  }
  return f;
}

std::array<std::uint8_t, WrittenWaveFormatBytes> WaveFormatBytes(const TWaveFormat& Format) {
  std::array<std::uint8_t, WrittenWaveFormatBytes> b{};
  Put16(&b[0], Format.wFormatTag);
  Put16(&b[2], Format.nChannels);
  PutLE32(&b[4], Format.nSamplesPerSec);
  PutLE32(&b[8], Format.nAvgBytesPerSec);
  Put16(&b[12], Format.nBlockAlign);
  Put16(&b[14], Format.wBitsPerSample);
  Put16(&b[16], Format.cbSize);
  Put16(&b[18], Format.wValidBitsPerSample);
  PutLE32(&b[20], Format.dwChannelMask);
  std::copy(Format.SubFormat.begin(), Format.SubFormat.end(), b.begin() + 24);
  return b;
}

bool IsFloatWave(const TWaveFormat& Format) {
  return Format.wFormatTag == WAVE_FORMAT_IEEE_FLOAT ||
         (Format.wFormatTag == WAVE_FORMAT_EXTENSIBLE && Format.SubFormat == KSDATAFORMAT_SUBTYPE_IEEE_FLOAT);
}

bool IsLinearExtensible(const TWaveFormat& Format) {
  return Format.wFormatTag == WAVE_FORMAT_EXTENSIBLE &&
         (Format.SubFormat == KSDATAFORMAT_SUBTYPE_PCM || Format.SubFormat == KSDATAFORMAT_SUBTYPE_IEEE_FLOAT);
}

std::uint16_t SubFormatTag(const TWaveFormat& Format) {
  return static_cast<std::uint16_t>(Format.SubFormat[0] | (Format.SubFormat[1] << 8));
}

TWaveFormat LinearWaveFormat(std::uint16_t Channels, std::uint32_t SamplesPerSec, std::uint16_t Bits,
                             const TWaveGuid& SubFormat) {
  TWaveFormat f;
  f.nChannels = Channels;
  f.nSamplesPerSec = SamplesPerSec;
  f.wBitsPerSample = Bits;
  f.nBlockAlign = static_cast<std::uint16_t>(Channels * (Bits / 8));
  f.nAvgBytesPerSec = f.nBlockAlign * SamplesPerSec;
  if (Bits <= 16 && Channels <= 2) {
    f.wFormatTag = WAVE_FORMAT_PCM;
    return f;
  }
  f.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
  f.cbSize = 22;
  f.wValidBitsPerSample = Bits;
  f.dwChannelMask = 3;
  f.SubFormat = SubFormat;
  return f;
}

TWaveLayout ReadWaveLayout(classlib::TStream& Stream, const std::string& FileName) {
  const std::int64_t fileSize = Stream.Size();
  std::uint8_t head[12];
  Stream.SetPosition(0);
  if (Stream.Read(head, 12) != 12 || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0)
    detail::RaiseMalformed(FileName, "no RIFF \"WAVE\" header");
  TWaveLayout layout;
  const std::int64_t riff = static_cast<std::int64_t>(U32(head, 4)) + 8;
  layout.RiffSize = riff >= 12 && riff <= fileSize ? riff : fileSize;
  bool haveFormat = false, haveData = false;
  // Chunks are searched up to the end of the file: the RIFF size of a
  // streamed or cut file says nothing about where its chunks end.
  std::int64_t pos = 12;
  while (pos + 8 <= fileSize && !(haveFormat && haveData)) {
    std::uint8_t chunk[8];
    Stream.SetPosition(pos);
    Stream.ReadBuffer(chunk, 8);
    const std::int64_t size = U32(chunk, 4);
    const std::int64_t start = pos + 8;
    const std::int64_t room = fileSize - start;
    if (!haveFormat && std::memcmp(chunk, "fmt ", 4) == 0) {
      if (size < 16) detail::RaiseMalformed(FileName, "\"fmt \" chunk of " + std::to_string(size) + " bytes, 16 at least");
      if (size > room) detail::RaiseMalformed(FileName, "\"fmt \" chunk cut by the end of the file");
      layout.FormatBytes.resize(static_cast<std::size_t>(std::min<std::int64_t>(size, MaxWaveFormatBytes)));
      Stream.ReadBuffer(layout.FormatBytes.data(), static_cast<std::int64_t>(layout.FormatBytes.size()));
      haveFormat = true;
    } else if (!haveData && std::memcmp(chunk, "data", 4) == 0) {
      layout.DataStart = start;
      layout.DataSize = std::min(size, room);
      haveData = true;
    }
    pos = start + size + (size & 1);
  }
  if (!haveFormat) detail::RaiseMalformed(FileName, "no \"fmt \" chunk");
  if (!haveData) detail::RaiseMalformed(FileName, "no \"data\" chunk");
  return layout;
}

void CheckWaveFormat(const TWaveFormat& Format, std::size_t FormatBytes, const std::string& FileName) {
  const auto refuse = [&](const std::string& what) { detail::RaiseMalformed(FileName, what); };
  if (Format.nChannels < 1) refuse("nChannels 0");
  if (Format.nSamplesPerSec < 1) refuse("nSamplesPerSec 0");
  if (Format.nAvgBytesPerSec < 1) refuse("nAvgBytesPerSec 0");
  if (Format.nBlockAlign < 1) refuse("nBlockAlign 0");
  if (Format.wFormatTag == WAVE_FORMAT_EXTENSIBLE) {
    if (FormatBytes < 40 || Format.cbSize < 22)
      refuse("extensible format of " + std::to_string(FormatBytes) + " bytes with cbSize " +
             std::to_string(Format.cbSize) + ", 40 and 22 at least");
    if (!IsLinearExtensible(Format))
      refuse("extensible sub-format of tag " + TagText(SubFormatTag(Format)) + " not supported");
  }
  const bool linear = Format.wFormatTag == WAVE_FORMAT_PCM || Format.wFormatTag == WAVE_FORMAT_IEEE_FLOAT ||
                      Format.wFormatTag == WAVE_FORMAT_EXTENSIBLE;
  if (!linear) return;
  const int bits = Format.wBitsPerSample;
  const bool known = IsFloatWave(Format) ? bits == 32 : (bits == 8 || bits == 16 || bits == 24 || bits == 32);
  if (!known) refuse("wBitsPerSample " + std::to_string(bits) + " not supported");
  const std::int64_t block = static_cast<std::int64_t>(Format.nChannels) * (bits / 8);
  if (Format.nBlockAlign != block)
    refuse("nBlockAlign " + std::to_string(Format.nBlockAlign) + " <> nChannels x wBitsPerSample / 8 = " +
           std::to_string(block));
  const std::int64_t rate = static_cast<std::int64_t>(Format.nSamplesPerSec) * Format.nBlockAlign;
  if (Format.nAvgBytesPerSec != rate)
    refuse("nAvgBytesPerSec " + std::to_string(Format.nAvgBytesPerSec) + " <> nSamplesPerSec x nBlockAlign = " +
           std::to_string(rate));
}

void WriteWaveHeader(classlib::TStream& Stream, const TWaveFormat& Format) {
  WriteId(Stream, "RIFF");
  WriteU32(Stream, 0);
  WriteId(Stream, "WAVE");
  WriteId(Stream, "fmt ");
  WriteU32(Stream, WrittenWaveFormatBytes);
  const auto bytes = WaveFormatBytes(Format);
  Stream.WriteBuffer(bytes.data(), WrittenWaveFormatBytes);
  WriteId(Stream, "data");
  WriteU32(Stream, 0);
}

std::int64_t WaveTrailerBytes(std::int64_t DataSize, const std::string& Created, const std::string& Software) {
  return (DataSize & 1) + 8 + 4 + TextChunkBytes(Created) + TextChunkBytes(Software);
}

void FinishWave(classlib::TStream& Stream, std::int64_t DataSize, const std::string& Created,
                const std::string& Software) {
  if ((DataSize & 1) != 0) Stream.WriteUInt8(0);
  WriteId(Stream, "LIST");
  WriteU32(Stream, static_cast<std::uint32_t>(4 + TextChunkBytes(Created) + TextChunkBytes(Software)));
  WriteId(Stream, "INFO");
  WriteTextChunk(Stream, "ICRD", Created);
  WriteTextChunk(Stream, "ISFT", Software);
  const std::int64_t end = Stream.Position();
  Stream.SetPosition(4);
  WriteU32(Stream, static_cast<std::uint32_t>(end - 8));
  Stream.SetPosition(WaveDataStart - 4);
  WriteU32(Stream, static_cast<std::uint32_t>(DataSize));
  Stream.SetPosition(end);
}

}  // namespace sig

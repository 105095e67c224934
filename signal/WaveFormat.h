// The RIFF "WAVE" layout of the signal files: the wave format record of the
// "fmt " chunk, the search for the "fmt " and "data" chunks of a file, and
// the chunks a writer puts around its samples.
//
// A file is read from the bytes it holds, whatever its size fields say: a
// RIFF size of 0 or 0xFFFFFFFF (streaming writers) or a "data" size beyond
// the end (a cut file) is clamped to the file, every other field is checked
// before it is used, and a malformed file is refused with a message that
// names the file and the field.
//
// Tested by: signal/tests/WaveFormatTest.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace classlib {
class TStream;
}

namespace sig {

inline constexpr std::uint16_t WAVE_FORMAT_PCM = 0x0001;
inline constexpr std::uint16_t WAVE_FORMAT_IEEE_FLOAT = 0x0003;
inline constexpr std::uint16_t WAVE_FORMAT_EXTENSIBLE = 0xFFFE;

using TWaveGuid = std::array<std::uint8_t, 16>;
// The sub-formats of the extensible form, byte by byte as files hold them.
inline constexpr TWaveGuid KSDATAFORMAT_SUBTYPE_PCM = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                                       0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
inline constexpr TWaveGuid KSDATAFORMAT_SUBTYPE_IEEE_FLOAT = {0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                                              0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// The most bytes of a "fmt " chunk that a reader keeps (the size of the
// format record); a longer chunk is read up to there.
inline constexpr int MaxWaveFormatBytes = 129;
// The "fmt " chunk that the writer puts: always the 40-byte form.
inline constexpr int WrittenWaveFormatBytes = 40;

// The wave format record; the fields after cbSize are those of the
// extensible form (zero in a plain record).
struct TWaveFormat {
  std::uint16_t wFormatTag = 0;
  std::uint16_t nChannels = 0;
  std::uint32_t nSamplesPerSec = 0;
  std::uint32_t nAvgBytesPerSec = 0;
  std::uint16_t nBlockAlign = 0;
  std::uint16_t wBitsPerSample = 0;
  std::uint16_t cbSize = 0;
  std::uint16_t wValidBitsPerSample = 0;
  std::uint32_t dwChannelMask = 0;
  TWaveGuid SubFormat{};

  bool operator==(const TWaveFormat&) const = default;
};

// The fields of stored format bytes (16 at least; cbSize and the extensible
// part only as far as the bytes reach).
TWaveFormat ParseWaveFormat(std::span<const std::uint8_t> Bytes);
// The 40 bytes of a written "fmt " chunk.
std::array<std::uint8_t, WrittenWaveFormatBytes> WaveFormatBytes(const TWaveFormat& Format);
// Samples are IEEE floats: tag 3, or the extensible form with the float sub-format.
bool IsFloatWave(const TWaveFormat& Format);
// The extensible form that carries linear samples (PCM or float sub-format).
bool IsLinearExtensible(const TWaveFormat& Format);
// The format tag that the extensible sub-format names (its first two bytes).
std::uint16_t SubFormatTag(const TWaveFormat& Format);
// The record of linear samples: plain PCM up to 16 bits and 2 channels,
// else the extensible form (22 bytes, all bits valid, channel mask 3,
// SubFormat). The fields are taken as given: the caller checks their ranges.
TWaveFormat LinearWaveFormat(std::uint16_t Channels, std::uint32_t SamplesPerSec, std::uint16_t Bits,
                             const TWaveGuid& SubFormat);

// Where a file's format and samples are.
struct TWaveLayout {
  // The stored "fmt " bytes, at most MaxWaveFormatBytes of them.
  std::vector<std::uint8_t> FormatBytes;
  // Byte offset and length of the samples, the length clamped to the file.
  std::int64_t DataStart = 0;
  std::int64_t DataSize = 0;
  // RIFF chunk size + 8, or the file's size when that field is out of step
  // with the file.
  std::int64_t RiffSize = 0;
};

// Walks the chunks of the RIFF "WAVE" file in Stream (from its start) and
// finds "fmt " and "data". Refuses, naming FileName: a file that is no RIFF
// "WAVE", a missing "fmt " or "data" chunk, a "fmt " shorter than 16 bytes or
// cut by the end of the file.
TWaveLayout ReadWaveLayout(classlib::TStream& Stream, const std::string& FileName);

// Checks the fields of a format before a reader uses them: at least one
// channel, a sampling rate, a byte rate and a block alignment; a linear
// format (PCM, float, linear extensible) with 8, 16, 24 or 32 bits (32 for
// float), a block of channels x bytes per sample and a byte rate of rate x
// block; the extensible form with its 22 bytes and a linear sub-format.
// FormatBytes is the count of stored bytes the format came from.
void CheckWaveFormat(const TWaveFormat& Format, std::size_t FormatBytes, const std::string& FileName);

// The chunks a writer puts before its samples: "RIFF" (size to be patched),
// "WAVE", "fmt " with the 40 bytes of Format, and the "data" header (size to
// be patched). The samples follow at WaveDataStart.
void WriteWaveHeader(classlib::TStream& Stream, const TWaveFormat& Format);
inline constexpr std::int64_t WaveDataStart = 12 + 8 + WrittenWaveFormatBytes + 8;
// Bytes that FinishWave adds after DataSize bytes of samples: the pad byte
// of an odd "data" chunk and the "LIST" chunk of type "INFO" with the texts.
std::int64_t WaveTrailerBytes(std::int64_t DataSize, const std::string& Created, const std::string& Software);
// Writes the trailer at the end of the samples (the stream positioned there)
// and patches the "data" and "RIFF" sizes. Each text is a chunk ("ICRD",
// "ISFT") without a terminating zero; an odd chunk gets its pad byte.
void FinishWave(classlib::TStream& Stream, std::int64_t DataSize, const std::string& Created,
                const std::string& Software);
// The largest RIFF file: its sizes are 32-bit.
inline constexpr std::int64_t MaxWaveFileBytes = 0xFFFFFFFFll + 8;

}  // namespace sig

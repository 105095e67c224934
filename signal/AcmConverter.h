// TACMConverter: turns the sample blocks of a WAV file into linear samples
// for the signal file reader, and the names and descriptions of wave formats.
//
// Linear sources (PCM, IEEE float, the extensible form) are copied: their
// destination format is the source format. Every other format tag of the
// table below is decoded to 16-bit PCM by libsndfile, which reads the blocks
// through a virtual file: the source's own "fmt " bytes, then the blocks.
// A tag outside the table is refused when the format is suggested.
//
// Sizes: a source block is a whole number of the source's block alignment;
// compressed formats decode each block to a fixed number of frames, found by
// decoding one block of silence when the stream opens.
//
// Tested by: signal/tests/AcmConverterTest.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/classlib/Persistent.h"
#include "signal/WaveFormat.h"

namespace sig {

// The texts that a failed suggestion of a destination format leaves in
// LastErrorText.
inline constexpr const char* AcmFlagsInvalidText = "At least one flag is invalid.";
inline constexpr const char* AcmHandleInvalidText = "The specified handle is invalid.";
inline constexpr const char* AcmParameterInvalidText = "At least one parameter is invalid.";

// The name of a format tag: "PCM", "IEEE Float", "ADPCM", "CCITT A-Law",
// "CCITT u-Law", "IMA ADPCM", "GSM 6.10", "G.721 ADPCM"; "Extended format"
// for the extensible form; "Unknown" for others.
std::string WaveFormatTagName(std::uint16_t Tag);
// The tag is one that the converter decodes (compressed) or copies (linear).
bool WaveFormatTagKnown(std::uint16_t Tag);
// "44.100 kHz, 16 Bit, Stereo": the rate in kHz with three decimals, the
// bits per sample (left out when the format stores none) and "Mono",
// "Stereo" or "<n> Channels".
std::string WaveFormatDetails(const TWaveFormat& Format);

class TACMConverter : public classlib::TPersistent {
 public:
  TACMConverter();
  ~TACMConverter() override;

  // The format as stored in the file; closes the stream first. At most
  // MaxWaveFormatBytes of Bytes are kept.
  void SetSourceFormat(std::span<const std::uint8_t> Bytes);
  const TWaveFormat& SourceFormat() const { return FSource; }
  const TWaveFormat& DestinationFormat() const { return FDestination; }
  // Destination := source for linear sources; 16-bit PCM of the same rate
  // and channels otherwise. A tag the converter cannot decode sets
  // LastErrorText and raises "Error calling acmFormatSuggest! Wave format tag
  // <0x....> (<name>) can not be decoded".
  void SuggestFormat();
  // Opens the decoder of a compressed source (nothing for linear ones):
  // "Error opening acm stream!" when it cannot decode a block of the source.
  void Open();
  void Prepare();
  void Unprepare();
  void Close();
  // Sizes of one source block and of its converted bytes.
  void SetSourceSize(std::int32_t Bytes);
  void SetDestinationSize(std::int32_t Bytes);
  // Sizes the buffers for N samples (all channels; -1 means 1024) and
  // returns whether exactly N samples fit one block. When they do not, the
  // source block is the block alignment doubled up to 4096 bytes at least.
  bool PrepareForLength(std::int32_t N);
  // Converts the bytes read into the source buffer (SetBytesRead).
  void Convert();
  // Bytes of the last conversion.
  std::int32_t ConvertedBytes() const { return FConvertedBytes; }
  std::int32_t SourceBlockAlign() const { return FSource.nBlockAlign; }
  void SetBytesRead(std::int32_t Bytes) { FInitialByteCount = Bytes; }

  // The buffer that the reader fills with SourceByteCount bytes at most.
  std::uint8_t* SourceBuffer() { return FSourceBuffer.data(); }
  std::int32_t SourceByteCount() const { return FSrcByteCount; }
  std::int32_t DestinationByteCount() const { return FDstByteCount; }
  // The converted bytes (ConvertedBytes of them).
  const std::uint8_t* Converted() const;
  // The source's samples are copied, not decoded.
  bool Copies() const { return FCopies; }
  const std::string& LastErrorText() const { return FLastErrorText; }

 private:
  struct TDecoder;

  // Destination bytes of Bytes source bytes: whole blocks only.
  std::int64_t StreamSize(std::int64_t Bytes) const;

  std::int32_t FSavedSrcLength = 0;
  std::unique_ptr<TDecoder> FDecoder;
  std::vector<std::uint8_t> FSourceBuffer;
  std::vector<std::int16_t> FDestinationBuffer;
  std::string FLastErrorText;
  std::int32_t FSrcByteCount = 0;
  std::int32_t FDstByteCount = 0;
  std::int32_t FInitialByteCount = 0;
  std::int32_t FConvertedBytes = 0;
  bool FStreamOpen = false;
  bool FHeaderPrepared = false;
  bool FCopies = true;
  std::vector<std::uint8_t> FSourceBytes;
  TWaveFormat FSource;
  TWaveFormat FDestination;
};

}  // namespace sig

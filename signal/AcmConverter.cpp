// TACMConverter: linear sources copied, compressed ones decoded by
// libsndfile through a virtual file; the tag names and format texts.
// Tested by: signal/tests/AcmConverterTest.cpp.
#include "signal/AcmConverter.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <limits>

#include "numeric/MathCore.h"
#include "signal/SignalFileInternal.h"

namespace sig {

using detail::PutLE32;

namespace {

struct TTagRow {
  std::uint16_t Tag;
  const char* Name;
  bool Compressed;
};

// The tags that the converter reads: the linear ones it copies and the
// compressed ones that libsndfile decodes.
constexpr std::array<TTagRow, 9> kTags = {{
    {WAVE_FORMAT_PCM, "PCM", false},
    {0x0002, "ADPCM", true},
    {WAVE_FORMAT_IEEE_FLOAT, "IEEE Float", false},
    {0x0006, "CCITT A-Law", true},
    {0x0007, "CCITT u-Law", true},
    {0x0011, "IMA ADPCM", true},
    {0x0031, "GSM 6.10", true},
    {0x0040, "G.721 ADPCM", true},
    {WAVE_FORMAT_EXTENSIBLE, "Extended format", false},
}};

const TTagRow* TagRow(std::uint16_t Tag) {
  for (const TTagRow& row : kTags)
    if (row.Tag == Tag) return &row;
  return nullptr;
}

std::string TagHex(std::uint16_t Tag) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(Tag));
  return text;
}

// The largest buffer of one block: its sizes are 32-bit.
constexpr std::int64_t kMaxBlockBytes = std::numeric_limits<std::int32_t>::max() / 2;

}  // namespace

std::string WaveFormatTagName(std::uint16_t Tag) {
  const TTagRow* row = TagRow(Tag);
  return row != nullptr ? row->Name : "Unknown";
}

bool WaveFormatTagKnown(std::uint16_t Tag) { return TagRow(Tag) != nullptr; }

std::string WaveFormatDetails(const TWaveFormat& Format) {
  char rate[32];
  std::snprintf(rate, sizeof rate, "%.3f kHz", Format.nSamplesPerSec / 1000.0);
  std::string text = rate;
  if (Format.wBitsPerSample > 0) text += ", " + std::to_string(Format.wBitsPerSample) + " Bit";
  if (Format.nChannels == 1)
    text += ", Mono";
  else if (Format.nChannels == 2)
    text += ", Stereo";
  else
    text += ", " + std::to_string(Format.nChannels) + " Channels";
  return text;
}

// --- the decoder ---------------------------------------------------------

// A WAV file in memory for libsndfile: a header made of the source's "fmt "
// bytes, then the "data" chunk whose bytes are the source block.
struct TACMConverter::TDecoder {
  std::vector<std::uint8_t> Header;
  const std::uint8_t* Data = nullptr;
  std::int64_t DataSize = 0;
  std::int64_t Position = 0;
  std::int64_t FramesPerBlock = 0;
  std::int32_t Channels = 1;

  explicit TDecoder(const std::vector<std::uint8_t>& FormatBytes, std::int32_t AChannels) : Channels(AChannels) {
    const std::size_t fmt = FormatBytes.size();
    Header.resize(12 + 8 + fmt + (fmt & 1) + 8);
    std::uint8_t* h = Header.data();
    std::memcpy(h, "RIFF", 4);
    std::memcpy(h + 8, "WAVE", 4);
    std::memcpy(h + 12, "fmt ", 4);
    PutLE32(h + 16, static_cast<std::uint32_t>(fmt));
    std::memcpy(h + 20, FormatBytes.data(), fmt);
    std::memcpy(h + Header.size() - 8, "data", 4);
  }

  std::int64_t Size() const { return static_cast<std::int64_t>(Header.size()) + DataSize; }

  static sf_count_t GetLength(void* self) { return static_cast<TDecoder*>(self)->Size(); }

  static sf_count_t Seek(sf_count_t offset, int whence, void* self) {
    auto* d = static_cast<TDecoder*>(self);
    std::int64_t to = offset;
    if (whence == SEEK_CUR) to += d->Position;
    if (whence == SEEK_END) to += d->Size();
    if (to < 0 || to > d->Size()) return -1;
    d->Position = to;
    return to;
  }

  static sf_count_t Read(void* ptr, sf_count_t count, void* self) {
    auto* d = static_cast<TDecoder*>(self);
    auto* out = static_cast<std::uint8_t*>(ptr);
    sf_count_t done = 0;
    const auto header = static_cast<std::int64_t>(d->Header.size());
    while (done < count && d->Position < d->Size()) {
      std::int64_t n;
      if (d->Position < header) {
        n = std::min<std::int64_t>(count - done, header - d->Position);
        std::memcpy(out + done, d->Header.data() + d->Position, static_cast<std::size_t>(n));
      } else {
        n = std::min<std::int64_t>(count - done, d->Size() - d->Position);
        std::memcpy(out + done, d->Data + (d->Position - header), static_cast<std::size_t>(n));
      }
      d->Position += n;
      done += n;
    }
    return done;
  }

  static sf_count_t Write(const void*, sf_count_t, void*) { return 0; }

  static sf_count_t Tell(void* self) { return static_cast<TDecoder*>(self)->Position; }

  // Decodes the bytes into Out (room for MaxFrames frames); the frames
  // decoded, or -1 when libsndfile refuses the file.
  std::int64_t Decode(const std::uint8_t* Bytes, std::int64_t Count, std::int16_t* Out, std::int64_t MaxFrames) {
    Data = Bytes;
    DataSize = Count;
    Position = 0;
    PutLE32(Header.data() + 4, static_cast<std::uint32_t>(Size() - 8));
    PutLE32(Header.data() + Header.size() - 4, static_cast<std::uint32_t>(Count));
    SF_VIRTUAL_IO io{&GetLength, &Seek, &Read, &Write, &Tell};
    SF_INFO info{};
    SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, this);
    if (file == nullptr) return -1;
    std::int64_t frames = -1;
    if (info.channels == Channels) frames = sf_readf_short(file, Out, std::min<std::int64_t>(MaxFrames, info.frames));
    sf_close(file);
    return frames;
  }
};

// --- TACMConverter -------------------------------------------------------

TACMConverter::TACMConverter() = default;

TACMConverter::~TACMConverter() = default;

void TACMConverter::SetSourceFormat(std::span<const std::uint8_t> Bytes) {
  Close();
  const std::size_t n = std::min<std::size_t>(Bytes.size(), MaxWaveFormatBytes);
  FSourceBytes.assign(Bytes.begin(), Bytes.begin() + static_cast<std::ptrdiff_t>(n));
  FSource = ParseWaveFormat(FSourceBytes);
  FDestination = FSource;
  FCopies = true;
}

void TACMConverter::SuggestFormat() {
  FDestination = FSource;
  FLastErrorText.clear();
  const TTagRow* row = TagRow(FSource.wFormatTag);
  if (row == nullptr) {
    FLastErrorText = AcmParameterInvalidText;
    numeric::RaiseError("Error calling acmFormatSuggest! Wave format tag " + TagHex(FSource.wFormatTag) + " (" +
                        WaveFormatTagName(FSource.wFormatTag) + ") can not be decoded");
  }
  FCopies = !row->Compressed;
  if (FCopies) return;
  FDestination = TWaveFormat{};
  FDestination.wFormatTag = WAVE_FORMAT_PCM;
  FDestination.nChannels = FSource.nChannels;
  FDestination.nSamplesPerSec = FSource.nSamplesPerSec;
  FDestination.wBitsPerSample = 16;
  FDestination.nBlockAlign = static_cast<std::uint16_t>(FSource.nChannels * 2);
  FDestination.nAvgBytesPerSec = FSource.nSamplesPerSec * FDestination.nBlockAlign;
}

void TACMConverter::Open() {
  if (FCopies || FStreamOpen) return;
  auto decoder = std::make_unique<TDecoder>(FSourceBytes, FSource.nChannels);
  // Blocks of silence tell how many frames a block holds, and whether
  // libsndfile reads this source at all. libsndfile counts some formats in
  // pairs of blocks (GSM: one block or two both give two blocks' frames), so
  // the count is the difference between four blocks and two.
  const std::int64_t align = FSource.nBlockAlign;
  const std::int64_t channels = std::max<int>(FSource.nChannels, 1);
  // No codec of the table stores a sample in less than one bit.
  const std::int64_t room = 4 * (8 * align / channels + 8);
  std::vector<std::uint8_t> blocks(static_cast<std::size_t>(4 * std::max<std::int64_t>(align, 1)), 0);
  std::vector<std::int16_t> out(static_cast<std::size_t>(room * channels));
  const std::int64_t two = align > 0 ? decoder->Decode(blocks.data(), 2 * align, out.data(), room) : -1;
  const std::int64_t four = two > 0 ? decoder->Decode(blocks.data(), 4 * align, out.data(), room) : -1;
  if (four - two <= 0 || (four - two) % 2 != 0) numeric::RaiseError("Error opening acm stream!");
  decoder->FramesPerBlock = (four - two) / 2;
  FDecoder = std::move(decoder);
  FStreamOpen = true;
}

void TACMConverter::Prepare() {
  if (FHeaderPrepared) return;
  Open();
  FSavedSrcLength = FSrcByteCount;
  FHeaderPrepared = true;
}

void TACMConverter::Unprepare() {
  if (!FHeaderPrepared) return;
  FSrcByteCount = FSavedSrcLength;
  FHeaderPrepared = false;
}

void TACMConverter::Close() {
  Unprepare();
  FDecoder.reset();
  FStreamOpen = false;
}

void TACMConverter::SetSourceSize(std::int32_t Bytes) {
  if (Bytes == FSrcByteCount && FSourceBuffer.size() == static_cast<std::size_t>(Bytes)) return;
  FSrcByteCount = Bytes;
  Unprepare();
  FSourceBuffer.resize(static_cast<std::size_t>(std::max(Bytes, 0)));
}

void TACMConverter::SetDestinationSize(std::int32_t Bytes) {
  if (Bytes == FDstByteCount && FDestinationBuffer.size() * 2 >= static_cast<std::size_t>(Bytes)) return;
  FDstByteCount = Bytes;
  Unprepare();
  FDestinationBuffer.resize(static_cast<std::size_t>(std::max(Bytes, 0)) / 2 + 1);
}

std::int64_t TACMConverter::StreamSize(std::int64_t Bytes) const {
  if (FDecoder == nullptr || FSource.nBlockAlign == 0) return 0;
  return Bytes / FSource.nBlockAlign * FDecoder->FramesPerBlock * FSource.nChannels * 2;
}

bool TACMConverter::PrepareForLength(std::int32_t N) {
  if (N == -1) N = 1024;
  N = std::max(N, 0);
  Open();
  const std::int64_t align = FSource.nBlockAlign;
  const std::int64_t srcBytes = static_cast<std::int64_t>(FSource.wBitsPerSample) * N / 8;
  const std::int64_t dstBytes = static_cast<std::int64_t>(FDestination.wBitsPerSample) * N / 8;
  const auto setSizes = [this](std::int64_t src, std::int64_t dst) {
    if (src > kMaxBlockBytes || dst > kMaxBlockBytes)
      numeric::RaiseError("The block of " + std::to_string(src) + " bytes is too large for the audio format!");
    SetSourceSize(static_cast<std::int32_t>(src));
    SetDestinationSize(static_cast<std::int32_t>(dst));
  };
  if (FCopies) {
    // At least one whole block, so that every read moves on.
    const std::int64_t bytes = std::max(srcBytes, align);
    setSizes(bytes, bytes);
    return true;
  }
  const std::int64_t exact = StreamSize(srcBytes);
  if (exact == dstBytes && exact > 0) {
    setSizes(srcBytes, exact);
    return true;
  }
  std::int64_t block = std::max<std::int64_t>(align, 1);
  while (block < 4096) block *= 2;
  const std::int64_t size = StreamSize(block);
  if (size <= 0) numeric::RaiseError("Problem with acmStreamSize!");
  setSizes(block, size);
  return false;
}

void TACMConverter::Convert() {
  if (FCopies) {
    FConvertedBytes = std::clamp(FInitialByteCount, 0, FSrcByteCount);
    return;
  }
  Prepare();
  if (FInitialByteCount > FSrcByteCount) numeric::RaiseError("FinitialByteCount > FSrcByteCount");
  const std::int64_t align = FSource.nBlockAlign;
  const std::int64_t whole = std::max(FInitialByteCount, 0) / align * align;
  FConvertedBytes = 0;
  if (whole == 0) return;
  const std::int64_t frameBytes = 2LL * FSource.nChannels;
  const std::int64_t room = std::min<std::int64_t>(FDstByteCount, static_cast<std::int64_t>(FDestinationBuffer.size()) * 2) /
                            frameBytes;
  // Only the frames of the blocks read: none that the decoder counts beyond them.
  const std::int64_t frames = FDecoder->Decode(FSourceBuffer.data(), whole, FDestinationBuffer.data(),
                                               std::min(room, whole / align * FDecoder->FramesPerBlock));
  if (frames < 0) numeric::RaiseError("Error converting with acm!");
  FConvertedBytes = static_cast<std::int32_t>(frames * frameBytes);
}

const std::uint8_t* TACMConverter::Converted() const {
  if (FCopies) return FSourceBuffer.data();
  return reinterpret_cast<const std::uint8_t*>(FDestinationBuffer.data());
}

}  // namespace sig

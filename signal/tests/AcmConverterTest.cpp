// The compressed-audio converter: linear sources copied, compressed ones
// decoded in whole blocks, the sizes of a block, and the format texts.
// Covers signal/AcmConverter.cpp.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "signal/AcmConverter.h"
#include "signal/tests/SignalFileBytes.h"
#include "testing/TestSupport.h"

namespace {

using orvel::testing::Raises;
using namespace signal_test;

std::vector<std::uint8_t> Bytes(const std::string& Text) { return std::vector<std::uint8_t>(Text.begin(), Text.end()); }

// IMA ADPCM, mono, 256-byte blocks of 505 samples.
std::string ImaFormat() {
  std::string extra;
  PutU16(extra, 505);
  return FormatChunk(0x11, 1, 8000, 4055, 256, 4, extra);
}

TEST(AcmConverter, PcmIsCopiedWithItsOwnFormat) {
  sig::TACMConverter c;
  c.SetSourceFormat(Bytes(PcmFormat(2, 44100, 16)));
  c.SuggestFormat();
  EXPECT_TRUE(c.Copies());
  EXPECT_EQ(c.DestinationFormat(), c.SourceFormat());
  EXPECT_TRUE(c.PrepareForLength(1000));
  EXPECT_EQ(c.SourceByteCount(), 2000);
  std::memcpy(c.SourceBuffer(), "abcd", 4);
  c.SetBytesRead(4);
  c.Convert();
  EXPECT_EQ(c.ConvertedBytes(), 4);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(c.Converted()), 4), "abcd");
}

TEST(AcmConverter, ExtensibleBlocksHoldAtLeastOneAlignment) {
  sig::TACMConverter c;
  c.SetSourceFormat(Bytes(FormatChunk(0xFFFE, 2, 48000, 288000, 6, 24, ExtensiblePart(24, 3, sig::KSDATAFORMAT_SUBTYPE_PCM))));
  c.SuggestFormat();
  EXPECT_TRUE(c.Copies());
  EXPECT_TRUE(c.PrepareForLength(1000));
  EXPECT_EQ(c.SourceByteCount(), 3000);
  EXPECT_TRUE(c.PrepareForLength(1));
  EXPECT_EQ(c.SourceByteCount(), 6);
}

TEST(AcmConverter, CompressedSourcesDecodeTo16BitPcm) {
  sig::TACMConverter c;
  c.SetSourceFormat(Bytes(ImaFormat()));
  c.SuggestFormat();
  EXPECT_FALSE(c.Copies());
  const sig::TWaveFormat& d = c.DestinationFormat();
  EXPECT_EQ(d.wFormatTag, 1);
  EXPECT_EQ(d.nChannels, 1);
  EXPECT_EQ(d.nSamplesPerSec, 8000u);
  EXPECT_EQ(d.wBitsPerSample, 16);
  EXPECT_EQ(d.nBlockAlign, 2);
  EXPECT_EQ(d.nAvgBytesPerSec, 16000u);
  // 1000 samples are no whole number of blocks: the block is 256 bytes
  // doubled up to 4096, sixteen blocks of 505 samples.
  EXPECT_FALSE(c.PrepareForLength(1000));
  EXPECT_EQ(c.SourceByteCount(), 4096);
  EXPECT_EQ(c.DestinationByteCount(), 16 * 505 * 2);
  std::fill(c.SourceBuffer(), c.SourceBuffer() + 4096, 0);
  // Only whole blocks are decoded.
  c.SetBytesRead(600);
  c.Convert();
  EXPECT_EQ(c.ConvertedBytes(), 2 * 505 * 2);
  c.SetBytesRead(5000);
  EXPECT_TRUE(Raises([&] { c.Convert(); }, "FinitialByteCount > FSrcByteCount"));
}

TEST(AcmConverter, ExactBlocksWhereTheCodecAllowsThem) {
  sig::TACMConverter c;
  c.SetSourceFormat(Bytes(FormatChunk(7, 2, 8000, 16000, 2, 8)));
  c.SuggestFormat();
  EXPECT_TRUE(c.PrepareForLength(100));
  EXPECT_EQ(c.SourceByteCount(), 100);
  EXPECT_EQ(c.DestinationByteCount(), 200);
}

TEST(AcmConverter, TagsOutsideTheTableAreRefused) {
  sig::TACMConverter c;
  c.SetSourceFormat(Bytes(FormatChunk(0x55, 2, 44100, 16000, 1, 0)));
  EXPECT_TRUE(Raises([&] { c.SuggestFormat(); },
                     "Error calling acmFormatSuggest! Wave format tag 0x0055 (Unknown) can not be decoded"));
  EXPECT_EQ(c.LastErrorText(), "At least one parameter is invalid.");
  // A tag of the table whose blocks libsndfile cannot read.
  c.SetSourceFormat(Bytes(FormatChunk(0x11, 1, 8000, 4055, 256, 4, std::string("\x00\x00", 2))));
  c.SuggestFormat();
  EXPECT_TRUE(Raises([&] { c.Open(); }, "Error opening acm stream!"));
}

TEST(AcmConverter, TagNamesAndFormatTexts) {
  const struct {
    std::uint16_t Tag;
    const char* Name;
  } names[] = {{1, "PCM"},           {2, "ADPCM"},       {3, "IEEE Float"}, {6, "CCITT A-Law"},
               {7, "CCITT u-Law"},   {0x11, "IMA ADPCM"}, {0x31, "GSM 6.10"}, {0x40, "G.721 ADPCM"},
               {0xFFFE, "Extended format"}, {0x55, "Unknown"}};
  for (const auto& n : names) EXPECT_EQ(sig::WaveFormatTagName(n.Tag), n.Name);
  sig::TWaveFormat f;
  f.nSamplesPerSec = 8000;
  f.nChannels = 1;
  f.wBitsPerSample = 4;
  EXPECT_EQ(sig::WaveFormatDetails(f), "8.000 kHz, 4 Bit, Mono");
  f.wBitsPerSample = 0;
  EXPECT_EQ(sig::WaveFormatDetails(f), "8.000 kHz, Mono");
  f.nSamplesPerSec = 44100;
  f.nChannels = 2;
  f.wBitsPerSample = 16;
  EXPECT_EQ(sig::WaveFormatDetails(f), "44.100 kHz, 16 Bit, Stereo");
  f.nChannels = 6;
  EXPECT_EQ(sig::WaveFormatDetails(f), "44.100 kHz, 16 Bit, 6 Channels");
}

}  // namespace

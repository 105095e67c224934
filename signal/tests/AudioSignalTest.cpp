// The sound components' base: the format properties and their clamps, the
// wave format record, the decoding of buffers, opening a device (its
// errors), and the components by class name through the component stream.
// Covers signal/AudioSignal.cpp.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/ComponentStream.h"
#include "signal/AudioSignal.h"
#include "signal/tests/AudioTestSupport.h"
#include "testing/TestSupport.h"

namespace {

using audio_tests::TBlockSource;
using audio_tests::TFakeAudio;
using orvel::testing::RaisedMessage;
using sig::TSignalIn;
using sig::TSignalOut;

TEST(AudioSignal, StartsAsSixteenBitMonoAt22050Hz) {
  TSignalOut out;
  EXPECT_FALSE(out.Active());
  EXPECT_EQ(out.BufferSize(), 8192);
  EXPECT_EQ(out.NumBuffers(), 4);
  EXPECT_EQ(out.Quantization(), 16);
  EXPECT_EQ(out.WaveDevice(), -1);
  EXPECT_EQ(out.SamplingFrequency(), 22050.0);
  const sig::TWaveFormat& f = out.WaveFormat();
  EXPECT_EQ(f.wFormatTag, 1);
  EXPECT_EQ(f.nChannels, 1);
  EXPECT_EQ(f.nSamplesPerSec, 22050u);
  EXPECT_EQ(f.nBlockAlign, 2);
  EXPECT_EQ(f.nAvgBytesPerSec, 44100u);
  // Setting Active through the property does nothing.
  out.SetActive(true);
  EXPECT_FALSE(out.Active());
}

struct TBufferSizeCase {
  bool Stereo;
  std::int32_t Asked;
  std::int32_t Used;
};

class AudioSignalBufferSize : public testing::TestWithParam<TBufferSizeCase> {};

// The size in use is the size asked, at least 512, in whole frames.
TEST_P(AudioSignalBufferSize, IsWholeFramesOfAtLeast512Bytes) {
  TSignalOut out;
  out.SetStereo(GetParam().Stereo);
  out.SetBufferSize(GetParam().Asked);
  EXPECT_EQ(out.BufferSize(), GetParam().Used);
}

INSTANTIATE_TEST_SUITE_P(Cases, AudioSignalBufferSize,
                         testing::Values(TBufferSizeCase{true, 1000, 1000}, TBufferSizeCase{true, 1001, 1000},
                                         TBufferSizeCase{true, 1002, 1000}, TBufferSizeCase{false, 1001, 1000},
                                         TBufferSizeCase{true, 100, 512}, TBufferSizeCase{false, -5, 512}));

TEST(AudioSignal, ClampsItsSettings) {
  TSignalIn in;
  const std::pair<std::int32_t, std::int32_t> buffers[] = {{1, 2}, {2, 2}, {24, 24}, {30, 24}, {-3, 2}};
  for (const auto& [asked, stored] : buffers) {
    in.SetNumBuffers(asked);
    EXPECT_EQ(in.NumBuffers(), stored) << asked;
  }
  const std::pair<std::uint16_t, std::uint16_t> bits[] = {{20, 16}, {24, 24}, {31, 24}, {8, 8}, {4, 8}, {40, 32}};
  for (const auto& [asked, stored] : bits) {
    in.SetQuantization(asked);
    EXPECT_EQ(in.Quantization(), stored) << asked;
  }
  const std::pair<std::int32_t, std::int32_t> lags[] = {{1000, 500}, {-5, 0}, {300, 300}};
  for (const auto& [asked, stored] : lags) {
    in.SetAutoTriggerLag(asked);
    EXPECT_EQ(in.AutoTriggerLag(), stored) << asked;
  }
  in.SetTriggerPercentage(150);
  EXPECT_EQ(in.TriggerPercentage(), 100);
  in.SetTriggerPercentage(-1);
  EXPECT_EQ(in.TriggerPercentage(), 0);
  in.SetMonitorAggressiveness(800);
  EXPECT_EQ(in.MonitorAggressiveness(), 500);
  TSignalOut out;
  out.SetScaleFactor(0.0);
  EXPECT_EQ(out.ScaleFactor(), 1.0);
}

struct TFormatCase {
  std::int32_t Channels;
  std::uint16_t Bits;
  std::uint16_t Tag;
  std::uint16_t BlockAlign;
};

class AudioSignalFormat : public testing::TestWithParam<TFormatCase> {};

// Up to 16 bits and 2 channels the format is plain PCM; wider samples or
// more channels take the extensible form with the PCM sub-format.
TEST_P(AudioSignalFormat, FollowsChannelsAndWidth) {
  TSignalOut out;
  out.SetChannelCount(GetParam().Channels);
  out.SetQuantization(GetParam().Bits);
  out.SetSamplingFrequency(44100.4);
  const sig::TWaveFormat& f = out.WaveFormat();
  EXPECT_EQ(f.wFormatTag, GetParam().Tag);
  EXPECT_EQ(f.nChannels, GetParam().Channels);
  EXPECT_EQ(f.nBlockAlign, GetParam().BlockAlign);
  EXPECT_EQ(f.nSamplesPerSec, 44100u);
  EXPECT_EQ(f.nAvgBytesPerSec, 44100u * GetParam().BlockAlign);
  EXPECT_EQ(out.Stereo(), GetParam().Channels == 2);
  const bool extensible = GetParam().Tag == 0xFFFE;
  EXPECT_EQ(f.cbSize, extensible ? 22 : 0);
  EXPECT_EQ(f.wValidBitsPerSample, extensible ? GetParam().Bits : 0);
  EXPECT_EQ(f.dwChannelMask, extensible ? 3u : 0u);
  const std::uint8_t pcm[16] = {1, 0, 0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
  const std::uint8_t none[16] = {};
  EXPECT_EQ(std::memcmp(f.SubFormat.data(), extensible ? pcm : none, 16), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, AudioSignalFormat,
                         testing::Values(TFormatCase{1, 8, 1, 1}, TFormatCase{2, 16, 1, 4}, TFormatCase{2, 24, 0xFFFE, 6},
                                         TFormatCase{3, 16, 0xFFFE, 6}, TFormatCase{1, 32, 0xFFFE, 4}));

TEST(AudioSignal, StereoSetsTheChannelCountAndBack) {
  TSignalOut out;
  out.SetStereo(true);
  EXPECT_EQ(out.ChannelCount(), 2);
  out.SetChannelCount(1);
  EXPECT_FALSE(out.Stereo());
  EXPECT_EQ(out.WaveFormat().nChannels, 1);
}

struct TDecodeCase {
  std::uint16_t Bits;
  std::vector<std::uint8_t> Bytes;
  std::vector<double> Values;
};

class AudioSignalDecode : public testing::TestWithParam<TDecodeCase> {};

// Every width decodes to integer units: 8-bit bytes are unsigned around 128.
TEST_P(AudioSignalDecode, GivesIntegerUnits) {
  TSignalIn in;
  in.SetQuantization(GetParam().Bits);
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(in.BufferSize()), 0);
  std::copy(GetParam().Bytes.begin(), GetParam().Bytes.end(), buffer.begin());
  const auto n = static_cast<std::int32_t>(GetParam().Values.size());
  numeric::TVec dst;
  dst.Size(n + 1, false);
  dst.SetVal(-9.0);
  in.DecodeBuffer(buffer, dst, 0, 1, n);
  EXPECT_EQ(dst.Values()[0], -9.0);
  EXPECT_EQ(std::vector<double>(dst.Values() + 1, dst.Values() + n + 1), GetParam().Values);
}

INSTANTIATE_TEST_SUITE_P(
    Widths, AudioSignalDecode,
    testing::Values(TDecodeCase{8, {0, 128, 255}, {-128, 0, 127}},
                    TDecodeCase{16, {0x00, 0x80, 0xFF, 0x7F, 0xFF, 0xFF}, {-32768, 32767, -1}},
                    TDecodeCase{24, {0x00, 0x00, 0x80, 0xFF, 0xFF, 0x7F, 0x01, 0x00, 0x00}, {-8388608, 8388607, 1}},
                    TDecodeCase{32, {0x00, 0x00, 0x00, 0x80, 0x02, 0x00, 0x00, 0x00}, {-2147483648.0, 2}}));

TEST(AudioSignal, DecodeBufferRefusesRangesBeyondTheBufferOrTheTarget) {
  TSignalIn in;
  in.SetStereo(true);
  in.SetBufferSize(1000);  // 250 frames
  std::vector<std::uint8_t> buffer(1000, 0);
  numeric::TVec dst;
  dst.Size(20, false);
  EXPECT_EQ(RaisedMessage([&] { in.DecodeBuffer(buffer, dst, 245, 0, 6); }), "DecodeBuffer: (SrcIndex+Len) > aLen");
  EXPECT_EQ(RaisedMessage([&] { in.DecodeBuffer(buffer, dst, -1, 0, 2); }), "DecodeBuffer: (SrcIndex+Len) > aLen");
  EXPECT_EQ(RaisedMessage([&] { in.DecodeBuffer(buffer, dst, 0, 5, 6); }), "DecodeBuffer: (Index+Len) > aLen");
  EXPECT_EQ(RaisedMessage([&] { in.DecodeBuffer(buffer, dst, 0, 0, 0); }), "<none>");
  EXPECT_EQ(RaisedMessage([&] { in.DecodeBuffer(buffer, dst, 244, 4, 6); }), "<none>");
}

// A device needs the program's event source; a format the device refuses
// and a device that does not exist give their messages, and nothing stays
// open.
TEST(AudioSignal, OpeningTheDeviceTellsWhatWentWrong) {
  TFakeAudio fake;
  fake.System->SetRefuse([](const audio::TWaveFormat& Format) { return Format.BitsPerSample == 24; });
  TBlockSource source(256, 10, 8000.0);
  TSignalOut out;
  out.SetName("Out");
  out.SetInput(&source);
  out.SetQuantization(24);
  EXPECT_EQ(RaisedMessage([&] { out.Start(); }), "Audio format not supported by the specified device.");
  out.SetQuantization(16);
  out.SetWaveDevice(3);
  EXPECT_EQ(RaisedMessage([&] { out.Start(); }), "There is no sound device 3 (1 listed)");
  out.SetWaveDevice(-1);
  {
    const audio::TAudioTestScope noEvents(fake.System, nullptr);
    EXPECT_EQ(RaisedMessage([&] { out.Start(); }), "No audio event source is installed");
  }
  EXPECT_TRUE(fake.System->Streams().empty());
  EXPECT_FALSE(out.Active());
  TSignalIn in;
  in.SetQuantization(24);
  EXPECT_EQ(RaisedMessage([&] { in.Start(); }), "Audio format not supported by the specified device.");
  EXPECT_FALSE(in.Active());
}

// The components are made by class name and carry their settings through the
// component stream.
TEST(AudioSignal, ComponentsByNameThroughTheStream) {
  classlib::TComponent owner;
  std::unique_ptr<classlib::TPersistent> made(classlib::FindClass("TSignalOut").Create(&owner));
  auto* out = dynamic_cast<TSignalOut*>(made.get());
  ASSERT_NE(out, nullptr);
  out->SetScaleFactor(2.5);
  out->SetNumBuffers(6);
  out->SetQuantization(24);
  out->SetStereo(true);
  out->SetBufferSize(3000);
  out->SetRounding(numeric::rnRound);
  out->SetWaveDevice(2);
  TSignalOut outBack;
  classlib::ReadComponentText(classlib::ComponentToText(*out), outBack);
  EXPECT_EQ(outBack.ScaleFactor(), 2.5);
  EXPECT_EQ(outBack.NumBuffers(), 6);
  EXPECT_EQ(outBack.Quantization(), 24);
  EXPECT_TRUE(outBack.Stereo());
  EXPECT_EQ(outBack.BufferSize(), 3000);
  EXPECT_EQ(outBack.Rounding(), numeric::rnRound);
  EXPECT_EQ(outBack.WaveDevice(), 2);
  EXPECT_EQ(outBack.EditorClassName(), "TSignalOutDialogForm");

  std::unique_ptr<classlib::TPersistent> madeIn(classlib::FindClass("TSignalIn").Create(&owner));
  auto* in = dynamic_cast<TSignalIn*>(madeIn.get());
  ASSERT_NE(in, nullptr);
  EXPECT_FALSE(in->UsesInputs());
  in->SetTriggerMode(sig::trPeak);
  in->SetTriggering(sig::trAuto);
  in->SetTriggerChannel(sig::chRight);
  in->SetTriggerPosition(sig::tpCenter);
  in->SetTriggerAbove(0.25);
  in->SetTriggerDelay(12);
  in->SetAutoTriggerLag(100);
  TSignalIn inBack;
  classlib::ReadComponentText(classlib::ComponentToText(*in), inBack);
  EXPECT_EQ(inBack.TriggerMode(), sig::trPeak);
  EXPECT_EQ(inBack.Triggering(), sig::trAuto);
  EXPECT_EQ(inBack.TriggerChannel(), sig::chRight);
  EXPECT_EQ(inBack.TriggerPosition(), sig::tpCenter);
  EXPECT_EQ(inBack.TriggerAbove(), 0.25);
  EXPECT_EQ(inBack.TriggerDelay(), 12);
  EXPECT_EQ(inBack.AutoTriggerLag(), 100);
  EXPECT_EQ(inBack.EditorClassName(), "TSignalInDialogForm");
}

}  // namespace

// ALSA wave streams through the "file" and "null" devices of a configuration
// the test writes: the exact bytes played, the bytes recorded from a raw
// file, the device list, and the errors. No sound card, no user
// configuration, no waiting: the null device plays and records at once.
// Covers platform/audio/AlsaWave.cpp, AlsaAudioSystem.cpp.
#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "platform/audio/AlsaAudio.h"
#include "platform/audio/testing/AlsaTestConfig.h"
#include "testing/TestSupport.h"

namespace {

using audio::TAlsaTestConfig;
using orvel::testing::FileBytes;
using orvel::testing::RaisedMessage;
using orvel::testing::TTempDir;

// Buffers of distinct bytes, one vector each.
std::vector<std::vector<std::uint8_t>> Buffers(int Count, int Bytes) {
  std::vector<std::vector<std::uint8_t>> buffers(static_cast<std::size_t>(Count));
  for (int b = 0; b < Count; ++b)
    for (int i = 0; i < Bytes; ++i) buffers[b].push_back(static_cast<std::uint8_t>(b * 37 + i * 11));
  return buffers;
}

// Services the stream until Done holds (at most a bounded number of rounds).
template <class F>
bool ServiceUntil(audio::TWaveStream& Stream, F Done) {
  for (int i = 0; i < 1000 && !Done(); ++i) Stream.Service();
  return Done();
}

struct TFormatCase {
  std::int32_t Bits;
  std::int32_t Channels;
};

class AlsaWaveFormats : public testing::TestWithParam<TFormatCase> {};

// Every sample width reaches the device as the bytes it was given, buffer
// after buffer, and each buffer is reported once, in order.
TEST_P(AlsaWaveFormats, PlayTheBytesGivenInOrder) {
  TTempDir dir;
  const std::string out = dir.File("out.raw");
  TAlsaTestConfig config(dir.File("asound.conf"), TAlsaTestConfig::FileDevice(out));
  const audio::TWaveFormat format{GetParam().Channels, 8000, GetParam().Bits};
  const int bytes = format.FrameBytes() * 100;
  auto stream = audio::NewAlsaAudioSystem()->OpenWave(audio::wdPlayback, -1, format, {bytes, 3});
  std::vector<std::int32_t> reported;
  stream->SetOnDone([&](std::int32_t Index, std::int32_t Bytes) {
    EXPECT_EQ(Bytes, bytes);
    reported.push_back(Index);
  });
  const auto buffers = Buffers(5, bytes);
  for (int b = 0; b < 5; ++b) stream->Queue(b, const_cast<std::uint8_t*>(buffers[b].data()), bytes);
  ASSERT_TRUE(ServiceUntil(*stream, [&] { return reported.size() == 5; }));
  EXPECT_EQ(reported, (std::vector<std::int32_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(stream->Position(), 5 * 100);
  stream->Close();
  std::string expected;
  for (const auto& b : buffers) expected.append(b.begin(), b.end());
  EXPECT_EQ(FileBytes(out), expected);
}

INSTANTIATE_TEST_SUITE_P(Widths, AlsaWaveFormats,
                         testing::Values(TFormatCase{8, 1}, TFormatCase{16, 2}, TFormatCase{24, 2},
                                         TFormatCase{32, 1}));

// A device that plays at once must not keep one round of reports going when
// every report queues its buffer again: each round reports what had been
// played when it began.
TEST(AlsaWave, ARoundReportsOnlyWhatWasPlayedWhenItBegan) {
  TTempDir dir;
  TAlsaTestConfig config(dir.File("asound.conf"), TAlsaTestConfig::FileDevice(dir.File("out.raw")));
  auto stream = audio::NewAlsaAudioSystem()->OpenWave(audio::wdPlayback, -1, {1, 8000, 16}, {64, 2});
  auto buffers = Buffers(2, 64);
  int reports = 0;
  stream->SetOnDone([&](std::int32_t Index, std::int32_t) {
    ++reports;
    stream->Queue(Index, buffers[static_cast<std::size_t>(Index)].data(), 64);
  });
  for (int b = 0; b < 2; ++b) stream->Queue(b, buffers[b].data(), 64);
  stream->Service();
  EXPECT_EQ(reports, 2);
  stream->Service();
  EXPECT_EQ(reports, 4);
  stream->Close();
}

// Recording reads the raw file through the file device: the buffers come
// back full of the file's bytes in order.
TEST(AlsaWave, RecordsTheRawFileInOrder) {
  TTempDir dir;
  std::string samples;
  for (int i = 0; i < 4000; ++i) samples.push_back(static_cast<char>(i * 7 + i / 256));
  const std::string in = dir.Write("in.raw", samples);
  TAlsaTestConfig config(dir.File("asound.conf"), TAlsaTestConfig::FileDevice("/dev/null", in));
  auto stream = audio::NewAlsaAudioSystem()->OpenWave(audio::wdCapture, -1, {2, 8000, 16}, {400, 3});
  auto buffers = Buffers(6, 400);
  std::string recorded;
  stream->SetOnDone([&](std::int32_t Index, std::int32_t Bytes) {
    EXPECT_EQ(Bytes, 400);
    const auto& b = buffers[static_cast<std::size_t>(Index)];
    recorded.append(b.begin(), b.begin() + Bytes);
  });
  for (int b = 0; b < 6; ++b) stream->Queue(b, buffers[b].data(), 400);
  // Nothing is recorded before the start.
  stream->Service();
  EXPECT_EQ(recorded, "");
  stream->Start();
  ASSERT_TRUE(ServiceUntil(*stream, [&] { return recorded.size() == 2400; }));
  EXPECT_EQ(recorded, samples.substr(0, 2400));
  stream->Close();
}

// A reset forgets the queue without a report; a closed stream refuses more.
TEST(AlsaWave, ResetForgetsAndCloseEnds) {
  TTempDir dir;
  TAlsaTestConfig config(dir.File("asound.conf"), TAlsaTestConfig::FileDevice("/dev/null", dir.Write("in.raw", std::string(800, 'x'))));
  auto stream = audio::NewAlsaAudioSystem()->OpenWave(audio::wdCapture, -1, {1, 8000, 8}, {100, 2});
  auto buffers = Buffers(2, 100);
  int reports = 0;
  stream->SetOnDone([&](std::int32_t, std::int32_t) { ++reports; });
  for (int b = 0; b < 2; ++b) stream->Queue(b, buffers[b].data(), 100);
  stream->Start();
  stream->Reset();
  stream->Service();
  EXPECT_EQ(reports, 0);
  EXPECT_EQ(stream->Position(), 0);
  stream->Close();
  stream->Close();
  EXPECT_EQ(stream->Service(), -1);
  EXPECT_EQ(RaisedMessage<audio::EAudioError>([&] { stream->Queue(0, buffers[0].data(), 100); }),
            "default: the stream is closed");
}

// Devices are listed from the configuration's hints; a number beyond the
// list, a sample width no device has, and a device that cannot open give
// their messages (ALSA's own text for the last).
TEST(AlsaWave, DevicesAndErrors) {
  TTempDir dir;
  const std::string text = TAlsaTestConfig::FileDevice(dir.File("out.raw")) +
                           "pcm.first { type null hint { show on description \"First\" } }\n"
                           "pcm.second { type null hint { show on description \"Second\" } }\n"
                           "pcm.broken { type plug slave.pcm \"undefined\" hint { show on description \"Broken\" } }\n";
  TAlsaTestConfig config(dir.File("asound.conf"), text);
  const auto system = audio::NewAlsaAudioSystem();
  const auto devices = system->WaveDevices(audio::wdPlayback);
  ASSERT_EQ(devices.size(), 3u);
  EXPECT_EQ(devices[0].Name, "first");
  EXPECT_EQ(devices[0].Description, "First");
  EXPECT_EQ(devices[1].Name, "second");
  EXPECT_NO_THROW(system->OpenWave(audio::wdPlayback, 1, {1, 8000, 16}, {64, 2})->Close());
  EXPECT_EQ(RaisedMessage<audio::EAudioError>([&] { system->OpenWave(audio::wdPlayback, 3, {1, 8000, 16}, {64, 2}); }),
            "There is no sound device 3 (3 listed)");
  EXPECT_EQ(RaisedMessage<audio::EFormatRefused>([&] { system->OpenWave(audio::wdPlayback, -1, {1, 8000, 12}, {64, 2}); }),
            "default: no such sample format");
  EXPECT_EQ(RaisedMessage<audio::EAudioError>([&] { system->OpenWave(audio::wdPlayback, 2, {1, 8000, 16}, {64, 2}); }),
            "broken: " + audio::AlsaErrorText(-ENOENT));
}

}  // namespace

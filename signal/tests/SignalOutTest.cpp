// Playback: a generator played through ALSA's file device gives exactly the
// expected bytes; on the fake device, the ring, its refills, the monitor,
// pausing, stopping and a stall of the owner's thread.
// Covers signal/AudioSignalOut.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "platform/audio/AlsaAudio.h"
#include "platform/audio/testing/AlsaTestConfig.h"
#include "signal/AudioSignal.h"
#include "signal/tests/AudioTestSupport.h"
#include "signal/tests/GeneratorFormulas.h"
#include "testing/TestSupport.h"

namespace {

using audio_tests::TBlockSource;
using audio_tests::TFakeAudio;
using orvel::testing::RaisedMessage;
using sig::TSignalOut;

// The int16 a value becomes on its way to the device: toward zero, then
// clipped to the 16-bit range.
std::int16_t TruncClip16(double X) {
  return static_cast<std::int16_t>(std::clamp(std::trunc(X), -32768.0, 32767.0));
}

std::vector<std::int16_t> AsInt16(const std::string& Bytes) {
  std::vector<std::int16_t> v(Bytes.size() / 2);
  std::memcpy(v.data(), Bytes.data(), v.size() * 2);
  return v;
}

std::vector<std::int16_t> AsInt16(const std::vector<std::uint8_t>& Bytes) {
  return AsInt16(std::string(Bytes.begin(), Bytes.end()));
}

// One second of two square waves, whose sum takes 40000.25 (clipped), 0.25,
// -1.25 (truncated toward zero, not down) and -40001.25 (clipped), played
// through ALSA's file device in blocks of 4410 samples: the file holds
// exactly the int16 samples the blocks make, and the generator's values are
// untouched.
TEST(SignalOut, PlaysOneSecondOfAGeneratorToTheFileDeviceExactly) {
  orvel::testing::TTempDir dir;
  const std::string out = dir.File("out.raw");
  audio::TAlsaTestConfig config(dir.File("asound.conf"), audio::TAlsaTestConfig::FileDevice(out));
  const auto events = std::make_shared<audio::TSteppedAudioEvents>();
  audio::TAudioTestScope scope(audio::NewAlsaAudioSystem(), events);

  sig::TSignalGenerator generator;
  generator_tests::Configure(generator, 4410, 44100.0);
  generator_tests::SetFormula(generator, {generator_tests::Source(sig::gfSquare, {10, 0, 20000.75, 0}),
                                          generator_tests::Source(sig::gfSquare, {20, 0, 20000, -0.5}),
                                          generator_tests::Op(sig::goAdd)});
  std::vector<double> given;
  generator.SetOnAfterUpdate([&](classlib::TPersistent*) {
    const numeric::TVec& d = generator.Data();
    given.insert(given.end(), d.Values(), d.Values() + d.Length());
  });
  TSignalOut player;
  player.SetName("Player");
  player.SetInput(&generator);
  int blocks = 0;
  player.SetOnBufferFill([&](std::int32_t&) { return ++blocks <= 10; });
  ASSERT_TRUE(player.Start());
  EXPECT_EQ(player.BufferSize(), 8820);
  ASSERT_TRUE(events->StepUntil([&] { return !player.Active(); }));

  const std::vector<std::int16_t> played = AsInt16(orvel::testing::FileBytes(out));
  ASSERT_EQ(played.size(), 44100u);
  ASSERT_GE(given.size(), 44100u);
  std::vector<std::int16_t> expected;
  for (std::size_t i = 0; i < 44100; ++i) expected.push_back(TruncClip16(given[i]));
  EXPECT_EQ(played, expected);
  for (const std::int16_t v : {std::int16_t{32767}, std::int16_t{0}, std::int16_t{-1}, std::int16_t{-32768}})
    EXPECT_NE(std::find(played.begin(), played.end(), v), played.end()) << v;
  const numeric::TVec& last = generator.Data();
  EXPECT_TRUE(std::equal(last.Values(), last.Values() + last.Length(), given.end() - last.Length()));
}

// Start takes the block's shape from the input: 1024 values of a stereo
// input at 16 bits make buffers of 2048 bytes.
TEST(SignalOut, StartTakesTheBufferSizeFromTheInput) {
  TFakeAudio fake;
  TBlockSource source(1024, 10, 8000.0, 2);
  TSignalOut out;
  out.SetInput(&source);
  ASSERT_TRUE(out.Start());
  EXPECT_EQ(out.BufferSize(), 2048);
  EXPECT_TRUE(out.Stereo());
  EXPECT_EQ(out.SamplingFrequency(), 8000.0);
  const audio::TFakeWaveStream& stream = fake.System->LastStream();
  EXPECT_EQ(stream.Format().Channels, 2);
  EXPECT_EQ(stream.Format().SamplesPerSec, 8000);
  EXPECT_EQ(stream.Ring().BufferBytes, 2048);
  EXPECT_EQ(stream.Ring().NumBuffers, 4);
  EXPECT_EQ(stream.Queued(), 4);
  // While playing, the format stays.
  out.SetBufferSize(4096);
  out.SetNumBuffers(8);
  out.SetQuantization(8);
  EXPECT_EQ(out.BufferSize(), 2048);
  EXPECT_EQ(out.NumBuffers(), 4);
  EXPECT_EQ(out.Quantization(), 16);
  out.Stop();
}

// 8-bit samples are unsigned on the device: -128 is byte 0. The conversion
// reads a copy: the input's values are the same afterwards (a value that
// would not survive +128-128, or a scale and its inverse, included).
TEST(SignalOut, EightBitSamplesAreUnsignedAndTheInputStaysAsItWas) {
  TFakeAudio fake;
  sig::TSignal input;
  input.SetLength(512);
  input.SetSamplingFrequency(1000.0);
  std::vector<double> values = {-128, 0, 127, 1e-20, -0.5, 300, 0.1 / 3.0};
  values.resize(512, 0.0);
  std::copy(values.begin(), values.end(), input.Data().Values());
  TSignalOut out;
  out.SetQuantization(8);
  out.SetBufferSize(512);
  out.SetScaleFactor(1.0);
  out.SetAutoPull(false);
  out.SetOnBufferFill([&](std::int32_t& Length) {
    Length = 7;
    // Converts the input into the buffer handed over.
    out.Update();
    return true;
  });
  out.SetInput(&input);
  ASSERT_TRUE(out.Start());
  EXPECT_TRUE(std::equal(values.begin(), values.end(), input.Data().Values()));
  fake.System->Advance(7);
  const std::vector<std::uint8_t>& played = fake.System->LastStream().Played();
  EXPECT_EQ(played, (std::vector<std::uint8_t>{0, 128, 255, 128, 127, 255, 128}));
  out.Stop();
}

// A sound shorter than the ring plays what it has and no stale bytes after
// it; the device closes once the last buffer is played, and OnStart and
// OnStop come from the event loop.
TEST(SignalOut, ASoundShorterThanTheRingPlaysOnlyItself) {
  TFakeAudio fake;
  TBlockSource source(256, 2, 8000.0);
  TSignalOut out;
  out.SetInput(&source);
  std::vector<std::string> events;
  out.SetOnStart([&](classlib::TPersistent* Sender) { events.push_back(Sender == &out ? "start" : "?"); });
  out.SetOnStop([&](classlib::TPersistent* Sender) { events.push_back(Sender == &out ? "stop" : "?"); });
  ASSERT_TRUE(out.Start());
  audio::TFakeWaveStream& stream = fake.System->LastStream();
  EXPECT_EQ(stream.Queued(), 2);
  EXPECT_TRUE(events.empty());
  fake.Play(256);
  EXPECT_EQ(events, (std::vector<std::string>{"start"}));
  EXPECT_TRUE(out.Active());
  fake.Play(256);
  EXPECT_FALSE(out.Active());
  EXPECT_TRUE(stream.Closed());
  fake.Events->Step();
  EXPECT_EQ(events, (std::vector<std::string>{"start", "stop"}));
  const std::vector<std::int16_t> played = AsInt16(stream.Played());
  ASSERT_EQ(played.size(), 512u);
  for (int i = 0; i < 512; ++i) EXPECT_EQ(played[static_cast<std::size_t>(i)], i);
}

// The owner's thread may stall for less than the queued sound without an
// underrun: the device holds the whole ring. A longer stall does underrun,
// and the fake's clock counts it.
TEST(SignalOut, AStallShorterThanTheQueuedSoundUnderrunsNothing) {
  const std::pair<std::int64_t, std::int64_t> stalls[] = {{3 * 441 + 440, 0}, {4 * 441 + 100, 100}};
  for (const auto& [stall, starved] : stalls) {
    TFakeAudio fake;
    TBlockSource source(441, 1000, 44100.0);
    TSignalOut out;
    out.SetInput(&source);
    ASSERT_TRUE(out.Start());
    for (int i = 0; i < 5; ++i) fake.Play(441);
    // The owner's thread runs nothing while the clock moves on, then catches up.
    fake.System->Advance(stall);
    fake.Events->Step();
    for (int i = 0; i < 5; ++i) fake.Play(441);
    const audio::TFakeWaveStream& stream = fake.System->LastStream();
    EXPECT_EQ(stream.StarvedFrames(), starved) << stall;
    const std::vector<std::int16_t> played = AsInt16(stream.Played());
    for (std::size_t i = 0; i < played.size(); ++i) ASSERT_EQ(played[i], static_cast<std::int16_t>(i)) << i;
    out.Stop();
  }
}

// StopRefill lets the queued buffers play out, then the device closes; Stop
// closes at once.
TEST(SignalOut, StopRefillDrainsAndStopEndsAtOnce) {
  TFakeAudio fake;
  TBlockSource source(256, 1000, 8000.0);
  TSignalOut out;
  out.SetInput(&source);
  ASSERT_TRUE(out.Start());
  fake.Play(256);
  out.StopRefill();
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(out.Active()) << i;
    fake.Play(256);
  }
  fake.Play(256);
  EXPECT_FALSE(out.Active());
  EXPECT_EQ(fake.System->LastStream().Played().size(), 5u * 256 * 2);
  EXPECT_EQ(source.Given(), 5);

  ASSERT_TRUE(out.Start());
  out.Stop();
  EXPECT_FALSE(out.Active());
  EXPECT_TRUE(fake.System->LastStream().Closed());
  EXPECT_EQ(fake.System->LastStream().Resets(), 1);
}

// Paused holds the device; a pause set before Start holds it from the first
// buffer on.
TEST(SignalOut, PausedHoldsTheDevice) {
  TFakeAudio fake;
  TBlockSource source(256, 1000, 8000.0);
  TSignalOut out;
  out.SetInput(&source);
  out.SetPaused(true);
  ASSERT_TRUE(out.Start());
  audio::TFakeWaveStream& stream = fake.System->LastStream();
  EXPECT_TRUE(stream.Paused());
  fake.Play(300);
  EXPECT_EQ(stream.Position(), 0);
  out.SetPaused(false);
  EXPECT_FALSE(stream.Paused());
  fake.Play(300);
  EXPECT_EQ(stream.Position(), 300);
  out.SetPaused(true);
  EXPECT_TRUE(stream.Paused());
  out.Stop();
  EXPECT_FALSE(out.Paused());
}

// An error of the pipeline during a refill stops the device and reaches the
// event source's caller.
TEST(SignalOut, AnErrorOfARefillStopsTheDevice) {
  TFakeAudio fake;
  TBlockSource source(256, 1000, 8000.0);
  source.SetName("Source");
  source.SetFailAt(5);
  TSignalOut out;
  out.SetName("Out");
  out.SetInput(&source);
  ASSERT_TRUE(out.Start());
  EXPECT_EQ(RaisedMessage([&] { fake.Play(256); }), "Source: source failed");
  EXPECT_FALSE(out.Active());
  EXPECT_TRUE(fake.System->LastStream().Closed());
  EXPECT_EQ(RaisedMessage([&] { out.Stop(); }), "<none>");
}

// Without any way to fill a buffer there is nothing to play.
TEST(SignalOut, StartNeedsAFilledBuffer) {
  TFakeAudio fake;
  TSignalOut out;
  out.SetName("Out");
  EXPECT_EQ(RaisedMessage([&] { out.Start(); }), "There must be at least one filled buffer");
  EXPECT_TRUE(fake.System->LastStream().Closed());
  EXPECT_FALSE(out.Active());
  TBlockSource source(600, 1, 8000.0);
  out.SetInput(&source);
  out.SetAutoPull(false);
  out.SetBufferSize(1024);
  out.SetOnBufferFill([&](std::int32_t&) {
    out.Update();
    return true;
  });
  EXPECT_EQ(RaisedMessage([&] { out.Start(); }), "Out: BufferSize < Input.Length!");
  EXPECT_TRUE(fake.System->LastStream().Closed());
}

// The monitor reads the frames now playing from the ring, divided by the
// scale: from the position within the oldest queued buffer on; beyond the
// queued sound it zeroes what it cannot fill; with fewer than two buffers
// queued it leaves the target alone.
TEST(SignalOut, MonitorReadsTheFramesNowPlaying) {
  TFakeAudio fake;
  TBlockSource source(512, 1000, 8000.0);
  TSignalOut out;
  out.SetInput(&source);
  out.SetScaleFactor(2.0);
  ASSERT_TRUE(out.Start());
  const auto read = [&](std::int32_t N) {
    numeric::TVec dst;
    dst.Size(N, false);
    dst.SetVal(-7.0);
    out.UpdatePosition();
    out.ReadMonitor(dst);
    return std::vector<double>(dst.Values(), dst.Values() + N);
  };
  const auto ramp = [](double From, std::int32_t N, std::int32_t Zeros = 0) {
    std::vector<double> v;
    for (std::int32_t i = 0; i < N; ++i) v.push_back(From + i);
    v.resize(static_cast<std::size_t>(N + Zeros), 0.0);
    return v;
  };
  EXPECT_EQ(read(1000), ramp(0, 1000));
  fake.System->Advance(300);
  EXPECT_EQ(read(1000), ramp(300, 1000));
  EXPECT_DOUBLE_EQ(out.Overlapping(), 70.0);
  EXPECT_DOUBLE_EQ(out.MonitorFreq(), 8000.0 / 300);
  fake.Play(212);
  EXPECT_EQ(read(1000), ramp(512, 1000));
  // Three buffers behind the one playing: 1536 frames at most.
  EXPECT_EQ(read(2000), ramp(512, 1536, 464));
  out.Stop();

  TBlockSource once(512, 1, 8000.0);
  TSignalOut single;
  single.SetInput(&once);
  ASSERT_TRUE(single.Start());
  single.UpdatePosition();
  numeric::TVec dst;
  dst.Size(100, false);
  dst.SetVal(-7.0);
  single.ReadMonitor(dst);
  EXPECT_EQ(std::vector<double>(dst.Values(), dst.Values() + 100), std::vector<double>(100, -7.0));
  single.Stop();
}

// Monitor splits the channels into the two signals at the device's rate; a
// mono device gives both the same.
TEST(SignalOut, MonitorSplitsTheChannels) {
  TFakeAudio fake;
  TBlockSource source(1024, 1000, 8000.0, 2);
  TSignalOut out;
  out.SetInput(&source);
  ASSERT_TRUE(out.Start());
  sig::TSignal left;
  sig::TSignal right;
  left.SetLength(4);
  right.SetLength(3);
  out.Monitor(&left, &right);
  const auto values = [](const sig::TSignal& S) {
    return std::vector<double>(S.Data().Values(), S.Data().Values() + S.Length());
  };
  EXPECT_EQ(values(left), (std::vector<double>{0, 2, 4, 6}));
  EXPECT_EQ(values(right), (std::vector<double>{1, 3, 5, 7}));
  EXPECT_EQ(right.SamplingFrequency(), 8000.0);
  out.Monitor(nullptr, &right);
  EXPECT_EQ(values(right), (std::vector<double>{1, 3, 5, 7}));
  out.Stop();

  TBlockSource mono(512, 1000, 8000.0);
  out.SetInput(&mono);
  ASSERT_TRUE(out.Start());
  out.Monitor(&left, &right);
  EXPECT_EQ(values(left), (std::vector<double>{0, 1, 2, 3}));
  EXPECT_EQ(values(right), values(left));
  out.Stop();
}

}  // namespace

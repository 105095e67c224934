// Recording: the samples of a raw file recorded through ALSA's file device
// reach the pipeline, and a .dbn file, in order; on the fake device, buffers the application
// declines, the close once nothing is queued, the monitor and the trigger
// bookkeeping.
// Covers signal/AudioSignalIn.cpp.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/audio/AlsaAudio.h"
#include "platform/audio/testing/AlsaTestConfig.h"
#include "signal/AudioSignal.h"
#include "signal/SignalWrite.h"
#include "signal/tests/AudioTestSupport.h"
#include "testing/TestSupport.h"

namespace {

using audio_tests::TCollector;
using audio_tests::TFakeAudio;
using orvel::testing::RaisedMessage;
using sig::TSignalIn;

// 16-bit samples numbered by their frame (mod 2^16, as int16).
void NumberedFrames(std::int64_t First, std::span<std::uint8_t> Bytes) {
  for (std::size_t i = 0; i + 1 < Bytes.size(); i += 2) {
    const auto v = static_cast<std::uint16_t>(First + static_cast<std::int64_t>(i / 2));
    Bytes[i] = static_cast<std::uint8_t>(v & 0xFF);
    Bytes[i + 1] = static_cast<std::uint8_t>(v >> 8);
  }
}

std::vector<double> Ramp(double From, std::size_t N) {
  std::vector<double> v;
  for (std::size_t i = 0; i < N; ++i) v.push_back(From + static_cast<double>(i));
  return v;
}

// A raw file of 16-bit samples, and the samples it holds.
struct TRawFile {
  std::string Bytes;
  std::vector<double> Samples;
};

TRawFile RawFile(int Count) {
  TRawFile raw;
  for (int i = 0; i < Count; ++i) {
    const auto v = static_cast<std::int16_t>((i * 37) % 65536 - 32768);
    raw.Samples.push_back(v);
    raw.Bytes.append(reinterpret_cast<const char*>(&v), 2);
  }
  return raw;
}

// Records In through ALSA's file device into Consumer at 8000 Hz, in buffers
// of 1024 samples, until the application has taken Buffers of them; the
// recorder closes once it declines the rest and none is left queued.
void RecordThroughTheFileDevice(const orvel::testing::TTempDir& Dir, const std::string& In, sig::TSignal& Consumer,
                                int Buffers) {
  audio::TAlsaTestConfig config(Dir.File("asound.conf"), audio::TAlsaTestConfig::FileDevice("/dev/null", In));
  const auto events = std::make_shared<audio::TSteppedAudioEvents>();
  audio::TAudioTestScope scope(audio::NewAlsaAudioSystem(), events);
  TSignalIn recorder;
  recorder.SetSamplingFrequency(8000.0);
  recorder.SetBufferSize(2048);
  Consumer.SetInput(&recorder);
  recorder.SetInput(&Consumer);
  int taken = 0;
  recorder.SetOnBufferFilled([&] { return ++taken <= Buffers; });
  ASSERT_TRUE(recorder.Start());
  ASSERT_TRUE(events->StepUntil([&] { return !recorder.Active(); }));
  Consumer.SetInput(nullptr);
}

// Ten buffers of a raw file come to the consumer in order, equal to the
// file's first samples.
TEST(SignalIn, RecordsARawFileIntoThePipelineInOrder) {
  orvel::testing::TTempDir dir;
  const TRawFile raw = RawFile(16000);
  TCollector consumer;
  RecordThroughTheFileDevice(dir, dir.Write("in.raw", raw.Bytes), consumer, 10);
  EXPECT_EQ(consumer.Values(), std::vector<double>(raw.Samples.begin(), raw.Samples.begin() + 10240));
  EXPECT_EQ(consumer.SamplingFrequency(), 8000.0);
}

// The same recording written by a .dbn writer: one record of the samples in
// order, with their count and duration.
TEST(SignalIn, RecordsARawFileIntoADbnFile) {
  orvel::testing::TTempDir dir;
  const TRawFile raw = RawFile(16000);
  sig::TSignalWrite writer;
  writer.SetFileName(dir.File("rec.dbn"));
  RecordThroughTheFileDevice(dir, dir.Write("in.raw", raw.Bytes), writer, 10);
  writer.CloseFile();
  const std::string bytes = orvel::testing::FileBytes(dir.File("rec.dbn"));
  ASSERT_EQ(bytes.size(), 12u + 10240 * 8);
  std::int32_t count = 0;
  double duration = 0.0;
  std::memcpy(&count, bytes.data(), 4);
  std::memcpy(&duration, bytes.data() + 4, 8);
  EXPECT_EQ(count, 10240);
  EXPECT_DOUBLE_EQ(duration, 10240 / 8000.0);
  std::vector<double> values(10240);
  std::memcpy(values.data(), bytes.data() + 12, values.size() * 8);
  EXPECT_EQ(values, std::vector<double>(raw.Samples.begin(), raw.Samples.begin() + 10240));
}

// A buffer the application declines leaves the ring; the later buffers are
// still delivered in their own order, none twice; once every buffer is
// declined the device closes when the last one is back.
TEST(SignalIn, DeclinedBuffersLeaveTheRingAndTheRestComeInOrder) {
  TFakeAudio fake;
  fake.System->SetCaptureSource(&NumberedFrames);
  TSignalIn recorder;
  recorder.SetBufferSize(512);  // 256 frames
  TCollector consumer;
  consumer.SetInput(&recorder);
  recorder.SetInput(&consumer);
  int buffers = 0;
  recorder.SetOnBufferFilled([&] {
    ++buffers;
    return buffers != 2 && buffers <= 8;
  });
  ASSERT_TRUE(recorder.Start());
  for (int i = 0; i < 8; ++i) fake.Play(256);
  std::vector<double> expected = Ramp(0, 256);
  const std::vector<double> rest = Ramp(512, 6 * 256);
  expected.insert(expected.end(), rest.begin(), rest.end());
  EXPECT_EQ(consumer.Values(), expected);
  // Three buffers left in the ring, each declined as it comes back.
  for (int i = 0; i < 2; ++i) {
    fake.Play(256);
    EXPECT_TRUE(recorder.Active()) << i;
  }
  fake.Play(256);
  EXPECT_FALSE(recorder.Active());
  EXPECT_TRUE(fake.System->LastStream().Closed());
  EXPECT_EQ(consumer.Values().size(), 7u * 256);
}

// Without OnBufferFilled and an input, every buffer is taken until
// StopRefill; Stop ends at once; an error of the consumer stops the device.
TEST(SignalIn, StopsAndErrors) {
  TFakeAudio fake;
  TSignalIn recorder;
  recorder.SetName("Rec");
  ASSERT_TRUE(recorder.Start());
  EXPECT_EQ(RaisedMessage([&] { recorder.Start(); }), "Wave Input device is already open");
  for (int i = 0; i < 6; ++i) fake.Play(4096);
  EXPECT_TRUE(recorder.Active());
  recorder.StopRefill();
  for (int i = 0; i < 4; ++i) fake.Play(4096);
  EXPECT_FALSE(recorder.Active());
  ASSERT_TRUE(recorder.Start());
  recorder.Stop();
  EXPECT_FALSE(recorder.Active());
  EXPECT_TRUE(fake.System->LastStream().Closed());

  // The recorder's data exist only while a buffer is handed over.
  TCollector consumer;
  consumer.SetName("Consumer");
  consumer.SetInput(&recorder);
  recorder.SetInput(&consumer);
  ASSERT_TRUE(recorder.Start());
  EXPECT_EQ(RaisedMessage([&] { consumer.Pull(); }), "Rec: Buffer not ready!");
  EXPECT_FALSE(recorder.Active());
  consumer.SetOnBeforeUpdate([](classlib::TPersistent*) { numeric::RaiseError("consumer failed"); });
  ASSERT_TRUE(recorder.Start());
  EXPECT_EQ(RaisedMessage([&] { fake.Play(4096); }), "Consumer: consumer failed");
  EXPECT_FALSE(recorder.Active());
  EXPECT_TRUE(fake.System->LastStream().Closed());
}

// The monitor reads the frames that end at the position: right after the
// start, only those recorded so far, with the rest of the target zeroed; with
// fewer than two buffers queued it leaves the target alone.
TEST(SignalIn, MonitorReadsTheLatestFrames) {
  TFakeAudio fake;
  fake.System->SetCaptureSource(&NumberedFrames);
  TSignalIn recorder;
  recorder.SetBufferSize(2048);  // 1024 frames
  recorder.SetOnBufferFilled([] { return true; });
  ASSERT_TRUE(recorder.Start());
  const auto read = [&](std::int32_t N) {
    numeric::TVec dst;
    dst.Size(N, false);
    dst.SetVal(7.0);
    recorder.UpdatePosition();
    recorder.ReadMonitor(dst);
    return std::vector<double>(dst.Values(), dst.Values() + N);
  };
  fake.Play(300);
  std::vector<double> expected = Ramp(0, 300);
  expected.resize(1000, 0.0);
  EXPECT_EQ(read(1000), expected);
  // Across buffers, and past the ring's first round.
  for (int i = 0; i < 5; ++i) fake.Play(1000);
  EXPECT_EQ(read(1500), Ramp(5300 - 1500, 1500));
  EXPECT_DOUBLE_EQ(recorder.Overlapping(), (1.0 - 5000.0 / 1500.0) * 100.0);
  recorder.Stop();

  TSignalIn small;
  small.SetNumBuffers(2);
  small.SetOnBufferFilled([] { return false; });
  ASSERT_TRUE(small.Start());
  fake.Play(4096);
  numeric::TVec dst;
  dst.Size(10, false);
  dst.SetVal(7.0);
  small.UpdatePosition();
  small.ReadMonitor(dst);
  EXPECT_EQ(std::vector<double>(dst.Values(), dst.Values() + 10), std::vector<double>(10, 7.0));
  small.Stop();
}

// Start clears the trigger bookkeeping; the resets clear their parts and
// note the device position.
TEST(SignalIn, TriggerBookkeeping) {
  TFakeAudio fake;
  TSignalIn recorder;
  recorder.SetMonitorAggressiveness(100);
  recorder.SetSamplingFrequency(1000.0);
  ASSERT_TRUE(recorder.Start());
  fake.Play(50);
  recorder.ResetChannelState();
  // 50 frames recorded, plus 100 ms ahead at 1000 Hz.
  EXPECT_EQ(recorder.TriggerState().ChannelPosition[0], 150);
  EXPECT_EQ(recorder.TriggerState().ChannelPosition[1], 150);
  EXPECT_FALSE(recorder.TriggerState().Triggered[0]);
  recorder.ResetCatchUpsA();
  recorder.ResetCatchUpsB();
  EXPECT_EQ(recorder.TriggerState().CatchUpsA[0], 0);
  recorder.Stop();
  ASSERT_TRUE(recorder.Start());
  EXPECT_EQ(recorder.TriggerState().ChannelPosition[0], 0);
  recorder.Stop();
}

}  // namespace

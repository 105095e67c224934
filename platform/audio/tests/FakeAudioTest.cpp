// The fake sound system on its stepped clock, the stepped event source and
// the installed audio of a test scope.
// Covers platform/audio/testing/FakeAudio.cpp, SteppedAudioEvents.cpp,
// platform/audio/AudioDevices.cpp.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/audio/testing/FakeAudio.h"
#include "platform/audio/testing/SteppedAudioEvents.h"
#include "testing/TestSupport.h"

namespace {

using orvel::testing::RaisedMessage;

std::vector<std::uint8_t> Ramp(int Bytes, int Start) {
  std::vector<std::uint8_t> b;
  for (int i = 0; i < Bytes; ++i) b.push_back(static_cast<std::uint8_t>(Start + i));
  return b;
}

// Playback moves with the clock only; what is done is reported at the next
// Service, in order; the clock passing an empty queue counts as starved.
TEST(FakeWaveStream, PlaysByTheClockAndReportsAtService) {
  audio::TFakeAudioSystem fake;
  auto stream = std::static_pointer_cast<audio::TFakeWaveStream>(
      fake.OpenWave(audio::wdPlayback, -1, {1, 1000, 16}, {20, 2}));
  std::vector<std::int32_t> reported;
  stream->SetOnDone([&](std::int32_t Index, std::int32_t Bytes) {
    EXPECT_EQ(Bytes, 20);
    reported.push_back(Index);
  });
  auto a = Ramp(20, 0);
  auto b = Ramp(20, 100);
  stream->Queue(0, a.data(), 20);
  stream->Queue(1, b.data(), 20);
  fake.Advance(15);
  EXPECT_EQ(stream->Position(), 15);
  EXPECT_TRUE(reported.empty());
  stream->Service();
  EXPECT_EQ(reported, (std::vector<std::int32_t>{0}));
  fake.Advance(5);
  stream->Service();
  EXPECT_EQ(reported, (std::vector<std::int32_t>{0, 1}));
  EXPECT_EQ(stream->StarvedFrames(), 0);
  std::vector<std::uint8_t> both = a;
  both.insert(both.end(), b.begin(), b.end());
  EXPECT_EQ(stream->Played(), both);
  fake.Advance(7);
  EXPECT_EQ(stream->StarvedFrames(), 7);
}

// A paused stream holds; a reset forgets without reports.
TEST(FakeWaveStream, PauseHoldsAndResetForgets) {
  audio::TFakeAudioSystem fake;
  auto& stream = static_cast<audio::TFakeWaveStream&>(*fake.OpenWave(audio::wdPlayback, -1, {2, 1000, 8}, {4, 2}));
  int reports = 0;
  stream.SetOnDone([&](std::int32_t, std::int32_t) { ++reports; });
  auto a = Ramp(4, 0);
  stream.Pause();
  stream.Queue(0, a.data(), 4);
  fake.Advance(10);
  EXPECT_EQ(stream.Position(), 0);
  EXPECT_EQ(stream.StarvedFrames(), 0);
  stream.Restart();
  fake.Advance(2);
  stream.Reset();
  stream.Service();
  EXPECT_EQ(reports, 0);
  EXPECT_EQ(stream.Position(), 0);
  EXPECT_EQ(stream.Queued(), 0);
}

// Recording starts with Start, fills the queued buffers from the source in
// order and loses what finds no buffer.
TEST(FakeWaveStream, RecordsFromTheSource) {
  audio::TFakeAudioSystem fake;
  fake.SetCaptureSource([](std::int64_t First, std::span<std::uint8_t> Bytes) {
    for (std::size_t i = 0; i < Bytes.size(); ++i) Bytes[i] = static_cast<std::uint8_t>(First + i);
  });
  auto& stream = static_cast<audio::TFakeWaveStream&>(*fake.OpenWave(audio::wdCapture, -1, {1, 1000, 8}, {3, 2}));
  std::vector<std::uint8_t> recorded;
  std::vector<std::vector<std::uint8_t>> buffers(2, std::vector<std::uint8_t>(3));
  stream.SetOnDone([&](std::int32_t Index, std::int32_t Bytes) {
    recorded.insert(recorded.end(), buffers[Index].begin(), buffers[Index].begin() + Bytes);
  });
  stream.Queue(0, buffers[0].data(), 3);
  stream.Queue(1, buffers[1].data(), 3);
  fake.Advance(4);
  EXPECT_EQ(stream.Position(), 0);
  stream.Start();
  fake.Advance(8);
  stream.Service();
  EXPECT_EQ(recorded, (std::vector<std::uint8_t>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(stream.StarvedFrames(), 2);
  EXPECT_EQ(stream.Position(), 8);
}

TEST(FakeAudioSystem, RefusesFormatsAndUnknownDevices) {
  audio::TFakeAudioSystem fake;
  fake.SetRefuse([](const audio::TWaveFormat& Format) { return Format.BitsPerSample == 24; });
  EXPECT_EQ(RaisedMessage<audio::EFormatRefused>([&] { fake.OpenWave(audio::wdPlayback, -1, {1, 1000, 24}, {30, 2}); }),
            "fake: format refused");
  EXPECT_EQ(RaisedMessage<audio::EFormatRefused>([&] { fake.OpenWave(audio::wdPlayback, -1, {1, 0, 16}, {30, 2}); }),
            "fake: format refused");
  EXPECT_EQ(RaisedMessage<audio::EAudioError>([&] { fake.OpenWave(audio::wdPlayback, 1, {1, 1000, 16}, {30, 2}); }),
            "There is no sound device 1 (1 listed)");
  EXPECT_NO_THROW(fake.OpenWave(audio::wdCapture, 0, {1, 1000, 16}, {30, 2}));
  EXPECT_EQ(fake.LastStream().Device(), 0);
}

TEST(FakeMixerCard, KeepsValuesWithinRangeAndReportsOutsideChanges) {
  audio::TMixerElement master;
  master.Name = "Master";
  master.Playback = {true, true, 2, false, 0, 31};
  audio::TFakeMixerCard card("Card", "drv", {master});
  EXPECT_EQ(card.Volume(0, false), (std::vector<std::int32_t>{0, 0}));
  EXPECT_EQ(card.Switch(0, false), (std::vector<bool>{true, true}));
  EXPECT_TRUE(card.Volume(0, true).empty());
  const std::int32_t values[] = {40, 7};
  card.SetVolume(0, false, values);
  EXPECT_EQ(card.Volume(0, false), (std::vector<std::int32_t>{31, 7}));
  std::vector<std::pair<std::int32_t, bool>> changes;
  card.SetOnChange([&](std::int32_t Element, bool Info) { changes.emplace_back(Element, Info); });
  card.ChangeOutside(0, true);
  EXPECT_TRUE(changes.empty());
  card.Service();
  EXPECT_EQ(changes, (std::vector<std::pair<std::int32_t, bool>>{{0, true}}));
  EXPECT_EQ(RaisedMessage<audio::EAudioError>([&] { card.Volume(1, false); }), "Card: no mixer element 1");
}

// A watch services itself once a step, posted calls run first, a watch that
// unwatches itself in its own work is not called again, and an error of the
// work reaches the caller of Step.
TEST(SteppedAudioEvents, StepsPostedCallsAndWatches) {
  audio::TSteppedAudioEvents events;
  audio::TFakeAudioSystem fake;
  std::shared_ptr<audio::TWaveStream> stream = fake.OpenWave(audio::wdPlayback, -1, {1, 1000, 8}, {1, 2});
  std::vector<std::string> order;
  events.Post([&] { order.push_back("posted"); });
  std::uint8_t byte = 0;
  stream->SetOnDone([&](std::int32_t, std::int32_t) {
    order.push_back("done");
    events.Unwatch(*stream);
  });
  events.Watch(stream);
  stream->Queue(0, &byte, 1);
  stream->Queue(1, &byte, 1);
  fake.Advance(1);
  events.Step();
  fake.Advance(1);
  events.Step();
  EXPECT_EQ(order, (std::vector<std::string>{"posted", "done"}));
  EXPECT_EQ(events.Watches(), 0u);
  events.Watch(stream);
  stream->SetOnDone([](std::int32_t, std::int32_t) { throw audio::EAudioError("handler failed"); });
  EXPECT_EQ(RaisedMessage<audio::EAudioError>([&] { events.Step(); }), "handler failed");
}

// A scope installs the test's system and events and puts back the old ones.
TEST(AudioTestScope, InstallsAndRestores) {
  const auto before = audio::AudioSystem();
  const auto fake = std::make_shared<audio::TFakeAudioSystem>();
  const auto events = std::make_shared<audio::TSteppedAudioEvents>();
  {
    audio::TAudioTestScope scope(fake, events);
    EXPECT_EQ(audio::AudioSystem(), fake);
    EXPECT_EQ(audio::AudioEventSource(), events);
  }
  EXPECT_EQ(audio::AudioSystem(), before);
  EXPECT_EQ(audio::AudioEventSource(), nullptr);
}

}  // namespace

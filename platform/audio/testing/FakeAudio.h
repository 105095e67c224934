// A sound system without hardware, for tests: its streams move by a clock
// the test steps (TFakeAudioSystem::Advance), its mixer cards keep their
// values in memory, and nothing waits in real time.
//
// A playback stream starts with its first queued buffer and plays its
// queue in order as the clock advances; a recording stream starts with
// Start and fills its queued buffers from the capture source. What is done
// is reported at the next Service, as a device reports on the owner's
// thread. Frames the clock moves past with nothing to play (or no buffer to
// fill) while the stream runs are counted, so a test sees every underrun.
//
// Tested by: platform/audio/tests/FakeAudioTest.cpp.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/audio/AudioDevices.h"

namespace audio {

// Fills Bytes with the recorded frames from frame FirstFrame of the
// recording on.
using TFakeCaptureSource = std::function<void(std::int64_t FirstFrame, std::span<std::uint8_t> Bytes)>;

class TFakeWaveStream final : public TWaveStream {
 public:
  TFakeWaveStream(TWaveDirection Direction, std::int32_t Device, const TWaveFormat& Format, const TRingShape& Ring,
                  TFakeCaptureSource Source);

  TWaveDirection Direction() const { return FDirection; }
  std::int32_t Device() const { return FDevice; }
  const TWaveFormat& Format() const { return FFormat; }
  const TRingShape& Ring() const { return FRing; }
  // The bytes played so far, in order.
  const std::vector<std::uint8_t>& Played() const { return FPlayed; }
  // Frames the clock passed while the stream ran with nothing to play or
  // no buffer to fill.
  std::int64_t StarvedFrames() const { return FStarvedFrames; }
  // Buffers queued and not yet reported.
  std::int32_t Queued() const;
  bool Started() const { return FStarted; }
  bool Paused() const { return FPaused; }
  bool Closed() const { return FClosed; }
  std::int32_t Resets() const { return FResets; }

  // The clock moves by Frames.
  void Advance(std::int64_t Frames);

  std::vector<pollfd> PollDescriptors() const override { return {}; }
  std::int64_t Service() override;
  void Queue(std::int32_t Index, std::uint8_t* Data, std::int32_t Bytes) override;
  void Start() override;
  void Pause() override { FPaused = true; }
  void Restart() override { FPaused = false; }
  void Reset() override;
  std::int64_t Position() override { return FPosition; }
  void Close() override;

 private:
  struct TQueued {
    std::int32_t Index = 0;
    std::uint8_t* Data = nullptr;
    std::int32_t Bytes = 0;
    std::int32_t Moved = 0;
  };

  TWaveDirection FDirection;
  std::int32_t FDevice;
  TWaveFormat FFormat;
  TRingShape FRing;
  TFakeCaptureSource FSource;
  std::deque<TQueued> FQueue;
  // Done and waiting for the next Service.
  std::deque<TQueued> FDone;
  std::vector<std::uint8_t> FPlayed;
  std::int64_t FPosition = 0;
  std::int64_t FRecorded = 0;
  std::int64_t FStarvedFrames = 0;
  bool FStarted = false;
  bool FPaused = false;
  bool FClosed = false;
  std::int32_t FResets = 0;
  std::uint64_t FGeneration = 0;
};

// A mixer card whose values live in memory: volumes start at their minimum,
// playback switches on, capture switches off.
class TFakeMixerCard final : public TMixerCard {
 public:
  TFakeMixerCard(std::string Name, std::string Driver, std::vector<TMixerElement> Elements);

  // Another program changed an element: reported at the next Service.
  void ChangeOutside(std::int32_t Element, bool InfoChanged = false);

  std::string Name() const override { return FName; }
  std::string Driver() const override { return FDriver; }
  const std::vector<TMixerElement>& Elements() const override { return FElements; }
  std::vector<std::int32_t> Volume(std::int32_t Element, bool Capture) override;
  void SetVolume(std::int32_t Element, bool Capture, std::span<const std::int32_t> Values) override;
  std::vector<bool> Switch(std::int32_t Element, bool Capture) override;
  void SetSwitch(std::int32_t Element, bool Capture, const std::vector<bool>& Values) override;
  std::vector<pollfd> PollDescriptors() const override { return {}; }
  std::int64_t Service() override;

 private:
  struct TValues {
    std::vector<std::int32_t> Volume[2];
    std::vector<bool> Switch[2];
  };
  TValues& Values(std::int32_t Element);

  std::string FName;
  std::string FDriver;
  std::vector<TMixerElement> FElements;
  std::vector<TValues> FValues;
  std::vector<std::pair<std::int32_t, bool>> FChanges;
};

class TFakeAudioSystem final : public TAudioSystem {
 public:
  TFakeAudioSystem();

  // The devices listed for both directions (one, "fake", at first).
  void SetDevices(std::vector<TDeviceName> Devices) { FDevices = std::move(Devices); }
  // Formats for which Refuse is true are refused (beside sample widths
  // other than 8, 16, 24 and 32 bits, and rates below 1).
  void SetRefuse(std::function<bool(const TWaveFormat&)> Refuse) { FRefuse = std::move(Refuse); }
  // What recording streams opened from now on record (silence at first).
  void SetCaptureSource(TFakeCaptureSource Source) { FSource = std::move(Source); }
  void AddMixerCard(std::shared_ptr<TFakeMixerCard> Card) { FCards.push_back(std::move(Card)); }
  // Moves every open stream by Frames frames.
  void Advance(std::int64_t Frames);
  // Every stream opened, the newest last.
  const std::vector<std::shared_ptr<TFakeWaveStream>>& Streams() const { return FStreams; }
  // The newest stream; raises when none was opened.
  TFakeWaveStream& LastStream() const;

  std::vector<TDeviceName> WaveDevices(TWaveDirection Direction) override;
  std::shared_ptr<TWaveStream> OpenWave(TWaveDirection Direction, std::int32_t Device, const TWaveFormat& Format,
                                        const TRingShape& Ring) override;
  std::int32_t MixerCount() override { return static_cast<std::int32_t>(FCards.size()); }
  std::shared_ptr<TMixerCard> OpenMixer(std::int32_t Index) override;

 private:
  std::vector<TDeviceName> FDevices;
  std::function<bool(const TWaveFormat&)> FRefuse;
  TFakeCaptureSource FSource;
  std::vector<std::shared_ptr<TFakeWaveStream>> FStreams;
  std::vector<std::shared_ptr<TFakeMixerCard>> FCards;
};

}  // namespace audio

// What the tests of the sound components share: the fake sound system with
// its stepped events installed for one test, a source of numbered blocks
// that ends, and a consumer that keeps what it was given.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio/testing/FakeAudio.h"
#include "platform/audio/testing/SteppedAudioEvents.h"
#include "numeric/MathCore.h"
#include "signal/Signal.h"

namespace audio_tests {

// The fake system (one device, no mixer card) and stepped events, installed
// while the object lives.
struct TFakeAudio {
  std::shared_ptr<audio::TFakeAudioSystem> System = std::make_shared<audio::TFakeAudioSystem>();
  std::shared_ptr<audio::TSteppedAudioEvents> Events = std::make_shared<audio::TSteppedAudioEvents>();
  audio::TAudioTestScope Scope{System, Events};

  // Moves the clock by Frames, then lets the owner's thread run once.
  void Play(std::int64_t Frames) {
    System->Advance(Frames);
    Events->Step();
  }
};

// Blocks of Length values (ChannelCount channels) numbered on from First:
// value i of the whole run is First + i. After Blocks blocks it reports the
// end of its data; at block FailAt (counted from 1) it raises.
class TBlockSource : public sig::TSignal {
 public:
  TBlockSource(std::int32_t Length, std::int32_t Blocks, double Fs, std::int32_t Channels = 1, double First = 0.0)
      : FBlocks(Blocks), FNext(First) {
    SetChannelCount(Channels);
    SetLength(Length);
    SetSamplingFrequency(Fs);
  }
  std::int32_t Given() const { return FGiven; }
  void SetFailAt(std::int32_t Block) { FFailAt = Block; }

  std::uint8_t InternalUpdate() override {
    if (FGiven + 1 == FFailAt) numeric::RaiseError("source failed");
    if (FGiven >= FBlocks) return 2;
    double* v = Data().Values();
    for (std::int32_t i = 0; i < Length(); ++i) v[i] = FNext++;
    ++FGiven;
    return 0;
  }

 private:
  std::int32_t FBlocks;
  double FNext;
  std::int32_t FGiven = 0;
  std::int32_t FFailAt = 0;
};

// Appends its input's values at every update.
class TCollector : public sig::TSignal {
 public:
  TCollector() { SetUsesInputs(true); }
  const std::vector<double>& Values() const { return FValues; }

  std::uint8_t InternalUpdate() override {
    const numeric::TVec& in = static_cast<sig::TSignal*>(Input())->Data();
    FValues.insert(FValues.end(), in.Values(), in.Values() + in.Length());
    return 0;
  }

 private:
  std::vector<double> FValues;
};

}  // namespace audio_tests

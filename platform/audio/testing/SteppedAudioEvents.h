// The sound layer's event source for tests: nothing runs until the test
// steps it, and a step ignores the times the watches ask for, so no test
// waits in real time.
//
//   auto events = std::make_shared<audio::TSteppedAudioEvents>();
//   audio::TAudioTestScope scope(fake, events);
//   ... start playing ...
//   fake->Advance(frames);  events->Step();
//
// Tested by: platform/audio/tests/FakeAudioTest.cpp.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "platform/audio/AudioDevices.h"

namespace audio {

class TSteppedAudioEvents final : public TAudioEventSource {
 public:
  // Runs the calls posted so far, then services every watch once, in the
  // order they were watched. An exception of either reaches the caller.
  void Step();
  // Steps until Done holds, at most MaxSteps times; whether it held.
  bool StepUntil(const std::function<bool()>& Done, int MaxSteps = 10000);
  std::size_t Watches() const { return FWatches.size(); }
  std::size_t Posted() const { return FPosted.size(); }

  void Watch(std::shared_ptr<TAudioWatch> Watch) override { FWatches.push_back(std::move(Watch)); }
  void Unwatch(const TAudioWatch& Watch) override;
  void Post(std::function<void()> Call) override { FPosted.push_back(std::move(Call)); }

 private:
  std::vector<std::shared_ptr<TAudioWatch>> FWatches;
  std::vector<std::function<void()>> FPosted;
};

// Installs an audio system and an event source for the life of a scope and
// puts back the ones it replaced.
class TAudioTestScope {
 public:
  TAudioTestScope(std::shared_ptr<TAudioSystem> System, std::shared_ptr<TAudioEventSource> Events);
  ~TAudioTestScope();
  TAudioTestScope(const TAudioTestScope&) = delete;
  TAudioTestScope& operator=(const TAudioTestScope&) = delete;

 private:
  std::shared_ptr<TAudioSystem> FOldSystem;
  std::shared_ptr<TAudioEventSource> FOldEvents;
};

}  // namespace audio

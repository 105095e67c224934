// The stepped event source and the scope that installs a test's audio.
// Tested by: platform/audio/tests/FakeAudioTest.cpp.
#include "platform/audio/testing/SteppedAudioEvents.h"

#include <algorithm>

namespace audio {

void TSteppedAudioEvents::Step() {
  std::vector<std::function<void()>> posted;
  posted.swap(FPosted);
  for (const auto& call : posted) call();
  // A watch unwatched or added by the work of another waits for the next step.
  const std::vector<std::shared_ptr<TAudioWatch>> watches = FWatches;
  for (const auto& watch : watches)
    if (std::find(FWatches.begin(), FWatches.end(), watch) != FWatches.end()) watch->Service();
}

bool TSteppedAudioEvents::StepUntil(const std::function<bool()>& Done, int MaxSteps) {
  for (int i = 0; i < MaxSteps; ++i) {
    if (Done()) return true;
    Step();
  }
  return Done();
}

void TSteppedAudioEvents::Unwatch(const TAudioWatch& Watch) {
  std::erase_if(FWatches, [&](const std::shared_ptr<TAudioWatch>& w) { return w.get() == &Watch; });
}

TAudioTestScope::TAudioTestScope(std::shared_ptr<TAudioSystem> System, std::shared_ptr<TAudioEventSource> Events)
    : FOldSystem(InstallAudioSystem(std::move(System))), FOldEvents(InstallAudioEventSource(std::move(Events))) {}

TAudioTestScope::~TAudioTestScope() {
  InstallAudioEventSource(std::move(FOldEvents));
  InstallAudioSystem(std::move(FOldSystem));
}

}  // namespace audio

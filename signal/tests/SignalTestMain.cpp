// The signal layer's test main: the layer's classes are registered, as the
// program registers them at start-up, before any test runs, and the sound
// layer is a fake one without cards, so that no test of the layer reaches a
// sound card (a test that plays through ALSA installs it in its own scope).
#include <gtest/gtest.h>

#include <memory>

#include "platform/audio/testing/FakeAudio.h"
#include "platform/audio/testing/SteppedAudioEvents.h"
#include "signal/SignalInit.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const audio::TAudioTestScope audio(std::make_shared<audio::TFakeAudioSystem>(), nullptr);
  sig::InitSignal();
  const int result = RUN_ALL_TESTS();
  sig::DoneSignal();
  return result;
}

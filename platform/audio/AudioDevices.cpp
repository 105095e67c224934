// The installed audio system and event source.
// Tested by: platform/audio/tests/FakeAudioTest.cpp.
#include "platform/audio/AudioDevices.h"

#include <mutex>

#include "platform/audio/AlsaAudio.h"

namespace audio {

namespace {

// What the program (or a test) installed; written at start-up and by test
// fixtures, read whenever a component opens a device.
struct TInstalled {
  std::mutex Lock;
  std::shared_ptr<TAudioSystem> System;
  std::shared_ptr<TAudioEventSource> Events;
};

TInstalled& Installed() {
  static TInstalled installed;
  return installed;
}

}  // namespace

std::shared_ptr<TAudioSystem> AudioSystem() {
  TInstalled& installed = Installed();
  std::lock_guard<std::mutex> guard(installed.Lock);
  if (!installed.System) installed.System = NewAlsaAudioSystem();
  return installed.System;
}

std::shared_ptr<TAudioSystem> InstallAudioSystem(std::shared_ptr<TAudioSystem> System) {
  TInstalled& installed = Installed();
  std::lock_guard<std::mutex> guard(installed.Lock);
  std::swap(installed.System, System);
  return System;
}

std::shared_ptr<TAudioEventSource> AudioEventSource() {
  TInstalled& installed = Installed();
  std::lock_guard<std::mutex> guard(installed.Lock);
  return installed.Events;
}

std::shared_ptr<TAudioEventSource> InstallAudioEventSource(std::shared_ptr<TAudioEventSource> Source) {
  TInstalled& installed = Installed();
  std::lock_guard<std::mutex> guard(installed.Lock);
  std::swap(installed.Events, Source);
  return Source;
}

}  // namespace audio

// The audio system over ALSA: the PCM devices of its configuration for
// playback and recording, and the simple mixer of each sound card.
//
// Device -1 is ALSA's "default"; the others are the devices its name hints
// list for the direction, in their order. A stream is non-blocking: its
// Service moves what the device can take or give at that moment and never
// waits.
//
// Tested by: platform/audio/tests/AlsaWaveTest.cpp (through the "file" and
// "null" devices of a configuration the test writes; no sound card).
#pragma once

#include <memory>
#include <string>

#include "platform/audio/AudioDevices.h"

namespace audio {

std::shared_ptr<TAudioSystem> NewAlsaAudioSystem();

// ALSA's text for an error code, the message of the exceptions it raises.
std::string AlsaErrorText(int Error);

}  // namespace audio

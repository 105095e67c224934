// The pieces of the ALSA audio system (sources only).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/AudioDevices.h"

namespace audio {

// Opens the PCM device Name for Format and a device buffer that holds Ring.
std::shared_ptr<TWaveStream> OpenAlsaWave(const std::string& Name, TWaveDirection Direction,
                                          const TWaveFormat& Format, const TRingShape& Ring);
// The PCM devices ALSA's name hints list for Direction.
std::vector<TDeviceName> AlsaWaveDevices(TWaveDirection Direction);

// The sound cards, in ALSA's order.
std::vector<int> AlsaCards();
// The simple mixer of card Card.
std::shared_ptr<TMixerCard> OpenAlsaMixer(int Card);

}  // namespace audio

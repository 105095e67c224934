// The audio system over ALSA: device names, opening a stream on one of them,
// and the mixers of the sound cards.
// Tested by: platform/audio/tests/AlsaWaveTest.cpp.
#include <string>

#include "platform/audio/AlsaAudio.h"
#include "platform/audio/AlsaInternal.h"

namespace audio {

namespace {

class TAlsaAudioSystem final : public TAudioSystem {
 public:
  std::vector<TDeviceName> WaveDevices(TWaveDirection Direction) override { return AlsaWaveDevices(Direction); }

  std::shared_ptr<TWaveStream> OpenWave(TWaveDirection Direction, std::int32_t Device, const TWaveFormat& Format,
                                        const TRingShape& Ring) override {
    if (Device == -1) return OpenAlsaWave("default", Direction, Format, Ring);
    const std::vector<TDeviceName> devices = AlsaWaveDevices(Direction);
    if (Device < 0 || static_cast<std::size_t>(Device) >= devices.size())
      throw EAudioError("There is no sound device " + std::to_string(Device) + " (" +
                        std::to_string(devices.size()) + " listed)");
    return OpenAlsaWave(devices[static_cast<std::size_t>(Device)].Name, Direction, Format, Ring);
  }

  std::int32_t MixerCount() override { return static_cast<std::int32_t>(AlsaCards().size()); }

  std::shared_ptr<TMixerCard> OpenMixer(std::int32_t Index) override {
    const std::vector<int> cards = AlsaCards();
    if (Index < 0 || static_cast<std::size_t>(Index) >= cards.size())
      throw EAudioError("There is no mixer " + std::to_string(Index));
    return OpenAlsaMixer(cards[static_cast<std::size_t>(Index)]);
  }
};

}  // namespace

std::shared_ptr<TAudioSystem> NewAlsaAudioSystem() { return std::make_shared<TAlsaAudioSystem>(); }

}  // namespace audio

// The simple mixer of an ALSA sound card: its active elements with their
// playback and capture volumes and switches, and the changes the driver
// reports.
// Not reached by the tests, which never use a sound card: the element model
// it fills is exercised through the fake card (platform/audio/testing).
#include <alsa/asoundlib.h>

#include <algorithm>
#include <limits>
#include <string>
#include <utility>

#include "platform/audio/AlsaAudio.h"
#include "platform/audio/AlsaInternal.h"

namespace audio {

namespace {

std::int32_t ToInt32(long Value) {
  return static_cast<std::int32_t>(std::clamp<long>(Value, std::numeric_limits<std::int32_t>::min(),
                                                    std::numeric_limits<std::int32_t>::max()));
}

// The channels of one side of an element, in ALSA's order.
using TChannels = std::vector<snd_mixer_selem_channel_id_t>;

class TAlsaMixerCard final : public TMixerCard {
 public:
  TAlsaMixerCard(snd_mixer_t* Mixer, std::string Name, std::string Driver)
      : FMixer(Mixer), FName(std::move(Name)), FDriver(std::move(Driver)) {}
  ~TAlsaMixerCard() override { snd_mixer_close(FMixer); }

  void Load();

  std::string Name() const override { return FName; }
  std::string Driver() const override { return FDriver; }
  const std::vector<TMixerElement>& Elements() const override { return FElements; }
  std::vector<std::int32_t> Volume(std::int32_t Element, bool Capture) override;
  void SetVolume(std::int32_t Element, bool Capture, std::span<const std::int32_t> Values) override;
  std::vector<bool> Switch(std::int32_t Element, bool Capture) override;
  void SetSwitch(std::int32_t Element, bool Capture, const std::vector<bool>& Values) override;
  std::vector<pollfd> PollDescriptors() const override;
  std::int64_t Service() override;

 private:
  struct TEntry {
    snd_mixer_elem_t* Elem = nullptr;
    TChannels Playback;
    TChannels Capture;
    // The driver removed the element.
    bool Gone = false;
  };

  static int ElementEvent(snd_mixer_elem_t* Elem, unsigned int Mask);
  [[noreturn]] void Fail(int Error) const { throw EAudioError(FName + ": " + AlsaErrorText(Error)); }
  TEntry& Entry(std::int32_t Element);
  const TChannels& Channels(std::int32_t Element, bool Capture) { return Capture ? Entry(Element).Capture : Entry(Element).Playback; }

  snd_mixer_t* FMixer;
  std::string FName;
  std::string FDriver;
  std::vector<TMixerElement> FElements;
  std::vector<TEntry> FEntries;
  // The changes heard while the driver's events were handled.
  std::vector<std::pair<std::int32_t, bool>> FChanges;
};

TChannels SideChannels(snd_mixer_elem_t* Elem, bool Capture) {
  TChannels channels;
  const bool mono = Capture ? snd_mixer_selem_is_capture_mono(Elem) : snd_mixer_selem_is_playback_mono(Elem);
  if (mono) return {SND_MIXER_SCHN_MONO};
  for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
    const auto id = static_cast<snd_mixer_selem_channel_id_t>(c);
    if (Capture ? snd_mixer_selem_has_capture_channel(Elem, id) : snd_mixer_selem_has_playback_channel(Elem, id))
      channels.push_back(id);
  }
  return channels;
}

void TAlsaMixerCard::Load() {
  for (snd_mixer_elem_t* elem = snd_mixer_first_elem(FMixer); elem != nullptr; elem = snd_mixer_elem_next(elem)) {
    if (!snd_mixer_selem_is_active(elem)) continue;
    TMixerElement element;
    element.Name = snd_mixer_selem_get_name(elem);
    TEntry entry;
    entry.Elem = elem;
    const auto side = [&](bool capture, TMixerElement::TSide& s, TChannels& channels) {
      s.HasVolume = capture ? snd_mixer_selem_has_capture_volume(elem) : snd_mixer_selem_has_playback_volume(elem);
      s.HasSwitch = capture ? snd_mixer_selem_has_capture_switch(elem) : snd_mixer_selem_has_playback_switch(elem);
      if (!s.HasVolume && !s.HasSwitch) return;
      channels = SideChannels(elem, capture);
      s.Channels = static_cast<std::int32_t>(channels.size());
      s.Joined = capture ? snd_mixer_selem_has_capture_volume_joined(elem)
                         : snd_mixer_selem_has_playback_volume_joined(elem);
      long lo = 0;
      long hi = 0;
      if (s.HasVolume) {
        if (capture)
          snd_mixer_selem_get_capture_volume_range(elem, &lo, &hi);
        else
          snd_mixer_selem_get_playback_volume_range(elem, &lo, &hi);
      }
      s.Minimum = ToInt32(lo);
      s.Maximum = ToInt32(hi);
    };
    side(false, element.Playback, entry.Playback);
    side(true, element.Capture, entry.Capture);
    element.CaptureExclusive = snd_mixer_selem_has_capture_switch_exclusive(elem) != 0;
    snd_mixer_elem_set_callback(elem, &TAlsaMixerCard::ElementEvent);
    snd_mixer_elem_set_callback_private(elem, this);
    FElements.push_back(std::move(element));
    FEntries.push_back(entry);
  }
}

int TAlsaMixerCard::ElementEvent(snd_mixer_elem_t* Elem, unsigned int Mask) {
  auto* card = static_cast<TAlsaMixerCard*>(snd_mixer_elem_get_callback_private(Elem));
  if (card == nullptr) return 0;
  for (std::size_t i = 0; i < card->FEntries.size(); ++i) {
    TEntry& entry = card->FEntries[i];
    if (entry.Elem != Elem) continue;
    const bool removed = Mask == SND_CTL_EVENT_MASK_REMOVE;
    if (removed) entry.Gone = true;
    card->FChanges.emplace_back(static_cast<std::int32_t>(i), removed || (Mask & SND_CTL_EVENT_MASK_INFO) != 0);
  }
  return 0;
}

TAlsaMixerCard::TEntry& TAlsaMixerCard::Entry(std::int32_t Element) {
  if (Element < 0 || static_cast<std::size_t>(Element) >= FEntries.size() ||
      FEntries[static_cast<std::size_t>(Element)].Gone)
    throw EAudioError(FName + ": no mixer element " + std::to_string(Element));
  return FEntries[static_cast<std::size_t>(Element)];
}

std::vector<std::int32_t> TAlsaMixerCard::Volume(std::int32_t Element, bool Capture) {
  snd_mixer_elem_t* elem = Entry(Element).Elem;
  std::vector<std::int32_t> values;
  for (snd_mixer_selem_channel_id_t c : Channels(Element, Capture)) {
    long v = 0;
    const int err = Capture ? snd_mixer_selem_get_capture_volume(elem, c, &v)
                            : snd_mixer_selem_get_playback_volume(elem, c, &v);
    if (err < 0) Fail(err);
    values.push_back(ToInt32(v));
  }
  return values;
}

void TAlsaMixerCard::SetVolume(std::int32_t Element, bool Capture, std::span<const std::int32_t> Values) {
  snd_mixer_elem_t* elem = Entry(Element).Elem;
  const TChannels& channels = Channels(Element, Capture);
  for (std::size_t i = 0; i < channels.size() && i < Values.size(); ++i) {
    const int err = Capture ? snd_mixer_selem_set_capture_volume(elem, channels[i], Values[i])
                            : snd_mixer_selem_set_playback_volume(elem, channels[i], Values[i]);
    if (err < 0) Fail(err);
  }
}

std::vector<bool> TAlsaMixerCard::Switch(std::int32_t Element, bool Capture) {
  snd_mixer_elem_t* elem = Entry(Element).Elem;
  std::vector<bool> values;
  for (snd_mixer_selem_channel_id_t c : Channels(Element, Capture)) {
    int v = 0;
    const int err = Capture ? snd_mixer_selem_get_capture_switch(elem, c, &v)
                            : snd_mixer_selem_get_playback_switch(elem, c, &v);
    if (err < 0) Fail(err);
    values.push_back(v != 0);
  }
  return values;
}

void TAlsaMixerCard::SetSwitch(std::int32_t Element, bool Capture, const std::vector<bool>& Values) {
  snd_mixer_elem_t* elem = Entry(Element).Elem;
  const TChannels& channels = Channels(Element, Capture);
  for (std::size_t i = 0; i < channels.size() && i < Values.size(); ++i) {
    const int err = Capture ? snd_mixer_selem_set_capture_switch(elem, channels[i], Values[i] ? 1 : 0)
                            : snd_mixer_selem_set_playback_switch(elem, channels[i], Values[i] ? 1 : 0);
    if (err < 0) Fail(err);
  }
}

std::vector<pollfd> TAlsaMixerCard::PollDescriptors() const {
  const int count = snd_mixer_poll_descriptors_count(FMixer);
  if (count <= 0) return {};
  std::vector<pollfd> fds(static_cast<std::size_t>(count));
  const int got = snd_mixer_poll_descriptors(FMixer, fds.data(), static_cast<unsigned>(count));
  fds.resize(static_cast<std::size_t>(std::max(got, 0)));
  return fds;
}

std::int64_t TAlsaMixerCard::Service() {
  FChanges.clear();
  const int err = snd_mixer_handle_events(FMixer);
  if (err < 0) Fail(err);
  const auto changes = std::move(FChanges);
  FChanges.clear();
  for (const auto& [element, info] : changes) ReportChange(element, info);
  return -1;
}

}  // namespace

std::vector<int> AlsaCards() {
  std::vector<int> cards;
  int card = -1;
  while (snd_card_next(&card) >= 0 && card >= 0) cards.push_back(card);
  return cards;
}

std::shared_ptr<TMixerCard> OpenAlsaMixer(int Card) {
  const std::string device = "hw:" + std::to_string(Card);
  std::string name = device;
  std::string driver = "Unknown";
  snd_ctl_t* ctl = nullptr;
  if (snd_ctl_open(&ctl, device.c_str(), 0) >= 0) {
    snd_ctl_card_info_t* info = nullptr;
    snd_ctl_card_info_alloca(&info);
    if (snd_ctl_card_info(ctl, info) >= 0) {
      name = snd_ctl_card_info_get_name(info);
      driver = snd_ctl_card_info_get_driver(info);
    }
    snd_ctl_close(ctl);
  }
  snd_mixer_t* mixer = nullptr;
  int err = snd_mixer_open(&mixer, 0);
  if (err < 0) throw EAudioError(device + ": " + AlsaErrorText(err));
  auto card = std::make_shared<TAlsaMixerCard>(mixer, name, driver);
  if ((err = snd_mixer_attach(mixer, device.c_str())) < 0 ||
      (err = snd_mixer_selem_register(mixer, nullptr, nullptr)) < 0 || (err = snd_mixer_load(mixer)) < 0)
    throw EAudioError(device + ": " + AlsaErrorText(err));
  card->Load();
  return card;
}

}  // namespace audio

// TSignalOSMixer: the line tree of a card's mixer, built from its simple
// elements, and the reading and setting of a line's volume, mute and
// selection; the SigMixer unit's class registration.
// Tested by: signal/tests/SigMixerTest.cpp.
#include "signal/SigMixer.h"

#include <algorithm>

#include "platform/classlib/ClassRegistry.h"

namespace sig {

// --- the line tree -----------------------------------------------------------

const TMixerControl* TMixerControls::Items(std::int32_t Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return &FItems[static_cast<std::size_t>(Index)];
}

const TMixerConnection* TMixerConnections::Items(std::int32_t Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[static_cast<std::size_t>(Index)].get();
}

TMixerConnection& TMixerConnections::Add(TMixerLine Line) {
  FItems.push_back(std::make_unique<TMixerConnection>(std::move(Line)));
  return *FItems.back();
}

const TMixerDestination* TMixerDestinations::Items(std::int32_t Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[static_cast<std::size_t>(Index)].get();
}

TMixerDestination& TMixerDestinations::Add(TMixerLine Line) {
  FItems.push_back(std::make_unique<TMixerDestination>(std::move(Line)));
  return *FItems.back();
}

// --- TSignalOSMixer ------------------------------------------------------------

const classlib::TClassInfo& TSignalOSMixer::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalOSMixer>("TSignalOSMixer", classlib::TComponent::StaticClassInfo())
          .Property("MixerId", &TSignalOSMixer::MixerId, &TSignalOSMixer::SetMixerId)
          .Property("ProductName", &TSignalOSMixer::ProductName, nullptr)
          .Property("Manufacturer", &TSignalOSMixer::Manufacturer, nullptr)
          .Property("DriverVersion", &TSignalOSMixer::DriverVersion, nullptr)
          .TypeName("Cardinal")
          .Property("ProductId", &TSignalOSMixer::ProductId, nullptr)
          .TypeName("Word")
          .Property("NumberOfLine", &TSignalOSMixer::NumberOfLine, nullptr)
          .Creatable()
          .Build();
  return info;
}

TSignalOSMixer::TSignalOSMixer(classlib::TComponent* AOwner) : classlib::TComponent(AOwner) {
  FNumDevs = audio::AudioSystem()->MixerCount();
  if (FNumDevs > 0) SetMixerId(0);
}

TSignalOSMixer::~TSignalOSMixer() { CloseCard(); }

void TSignalOSMixer::SetMixerId(std::int32_t Value) {
  if (Value < 0 || Value >= FNumDevs) return;
  CloseCard();
  try {
    FCard = audio::AudioSystem()->OpenMixer(Value);
  } catch (const audio::EAudioError&) {
    // A card that cannot be opened is no card: MixerId stays -1.
    return;
  }
  FMixerId = Value;
  FProductName = FCard->Name();
  FManufacturer = FCard->Driver().empty() ? "Unknown" : FCard->Driver();
  BuildDestinations();
  FCard->SetOnChange([this](std::int32_t Element, bool InfoChanged) { CardChanged(Element, InfoChanged); });
  if (const auto events = audio::AudioEventSource()) events->Watch(FCard);
}

void TSignalOSMixer::CloseCard() {
  if (FCard) {
    if (const auto events = audio::AudioEventSource()) events->Unwatch(*FCard);
    FCard->SetOnChange(nullptr);
    FCard.reset();
  }
  FMixerId = -1;
  FProductName.clear();
  FManufacturer.clear();
  FDestinations = TMixerDestinations();
  FPlaces.clear();
}

std::int32_t TSignalOSMixer::AddControl(TMixerControls& Controls, TMixerControl Control, TControlPlace Place) {
  Control.ControlId = static_cast<std::int32_t>(FPlaces.size());
  FPlaces.push_back(Place);
  Controls.Add(std::move(Control));
  return Controls.Count();
}

void TSignalOSMixer::BuildDestinations() {
  const std::vector<audio::TMixerElement>& elements = FCard->Elements();
  std::int32_t lineId = 0;
  for (std::int32_t d = 0; d < 2; ++d) {
    const bool capture = d == 1;
    TMixerLine destinationLine;
    destinationLine.LineId = lineId++;
    destinationLine.Destination = d;
    destinationLine.Name = capture ? "Capture" : "Playback";
    TMixerDestination& destination = FDestinations.Add(destinationLine);
    std::vector<TMixerListItem> sources;
    bool exclusive = true;
    for (std::size_t e = 0; e < elements.size(); ++e) {
      const audio::TMixerElement& element = elements[e];
      const audio::TMixerElement::TSide& side = capture ? element.Capture : element.Playback;
      if (side.Channels <= 0) continue;
      TMixerLine line;
      line.LineId = lineId++;
      line.Destination = d;
      line.Source = destination.Connections().Count();
      line.Channels = side.Channels;
      line.Name = element.Name;
      line.Element = static_cast<std::int32_t>(e);
      line.Capture = capture;
      TMixerConnection& connection = destination.Connections().Add(line);
      const TControlPlace place{line.Element, capture, side.Channels};
      if (side.HasVolume) {
        TMixerControl volume;
        volume.ControlType = mctVolume;
        volume.Uniform = side.Joined || side.Channels == 1;
        volume.Minimum = side.Minimum;
        volume.Maximum = side.Maximum;
        volume.Name = element.Name + " Volume";
        AddControl(connection.Controls(), volume, place);
      }
      if (side.HasSwitch && !capture) {
        TMixerControl mute;
        mute.ControlType = mctMute;
        mute.Uniform = side.Channels == 1;
        mute.Maximum = 1;
        mute.Name = element.Name + " Mute";
        AddControl(connection.Controls(), mute, place);
      }
      if (side.HasSwitch && capture) {
        sources.push_back({line.LineId, element.Name});
        exclusive = exclusive && element.CaptureExclusive;
      }
      connection.Line().ControlCount = connection.Controls().Count();
      destination.Line().Channels = std::max(destination.Line().Channels, side.Channels);
    }
    if (!sources.empty()) {
      TMixerControl list;
      list.ControlType = exclusive ? mctMux : mctMixer;
      list.Uniform = true;
      list.Multiple = true;
      list.Maximum = 1;
      list.Name = "Capture Source";
      list.Items = std::move(sources);
      AddControl(destination.Controls(), list, TControlPlace{-1, true, 1});
    }
    destination.Line().Connections = destination.Connections().Count();
    destination.Line().ControlCount = destination.Controls().Count();
  }
}

const TMixerLine* TSignalOSMixer::FindLine(std::int32_t Destination, std::int32_t Connection,
                                           const TMixerControls** Controls) const {
  const TMixerDestination* destination = FDestinations.Items(Destination);
  if (destination == nullptr) return nullptr;
  if (Connection == -1) {
    *Controls = &destination->Controls();
    return &destination->Line();
  }
  const TMixerConnection* connection = destination->Connections().Items(Connection);
  if (connection == nullptr) return nullptr;
  *Controls = &connection->Controls();
  return &connection->Line();
}

const TMixerLine* TSignalOSMixer::FindLineById(std::int32_t LineId) const {
  for (std::int32_t d = 0; d < FDestinations.Count(); ++d) {
    const TMixerDestination* destination = FDestinations.Items(d);
    for (std::int32_t c = 0; c < destination->Connections().Count(); ++c)
      if (destination->Connections().Items(c)->Line().LineId == LineId) return &destination->Connections().Items(c)->Line();
  }
  return nullptr;
}

std::vector<std::int32_t> TSignalOSMixer::ReadValues(const TMixerControl& Control) {
  const TControlPlace& place = FPlaces[static_cast<std::size_t>(Control.ControlId)];
  std::vector<std::int32_t> values;
  switch (Control.ControlType) {
    case mctVolume:
      values = FCard->Volume(place.Element, place.Capture);
      break;
    case mctMute:
      for (const bool on : FCard->Switch(place.Element, place.Capture)) values.push_back(on ? 0 : 1);
      break;
    case mctMux:
    case mctMixer:
      for (const TMixerListItem& item : Control.Items) {
        const TMixerLine* line = FindLineById(item.LineId);
        const std::vector<bool> on = FCard->Switch(line->Element, true);
        values.push_back(!on.empty() && on[0] ? 1 : 0);
      }
      return values;
  }
  if (values.empty()) values.push_back(0);
  if (Control.Uniform) values.resize(1);
  return values;
}

void TSignalOSMixer::WriteValues(const TMixerControl& Control, const std::vector<std::int32_t>& Values) {
  const TControlPlace& place = FPlaces[static_cast<std::size_t>(Control.ControlId)];
  const auto channels = static_cast<std::size_t>(place.Channels);
  const auto value = [&](std::size_t i) { return Values[std::min(i, Values.size() - 1)]; };
  switch (Control.ControlType) {
    case mctVolume: {
      std::vector<std::int32_t> volume(channels);
      for (std::size_t i = 0; i < channels; ++i) volume[i] = value(Control.Uniform ? 0 : i);
      FCard->SetVolume(place.Element, place.Capture, volume);
      break;
    }
    case mctMute: {
      std::vector<bool> on(channels);
      for (std::size_t i = 0; i < channels; ++i) on[i] = value(Control.Uniform ? 0 : i) == 0;
      FCard->SetSwitch(place.Element, place.Capture, on);
      break;
    }
    case mctMux:
    case mctMixer:
      for (std::size_t i = 0; i < Control.Items.size() && i < Values.size(); ++i) {
        const TMixerLine* line = FindLineById(Control.Items[i].LineId);
        FCard->SetSwitch(line->Element, true, std::vector<bool>(static_cast<std::size_t>(line->Channels), Values[i] != 0));
      }
      break;
  }
}

bool TSignalOSMixer::GetLineState(std::int32_t Destination, std::int32_t Connection, bool& HasSelect,
                                  bool& MuteDisabled, bool& VolumeDisabled, bool& StereoVolume, std::int32_t& Mute,
                                  std::int32_t& VolumeRight, std::int32_t& VolumeLeft) {
  HasSelect = false;
  MuteDisabled = true;
  VolumeDisabled = true;
  StereoVolume = false;
  Mute = -1;
  VolumeRight = -1;
  VolumeLeft = -1;
  const TMixerControls* controls = nullptr;
  const TMixerLine* line = FindLine(Destination, Connection, &controls);
  if (line == nullptr) return false;
  bool volumeFound = false;
  bool muteFound = false;
  for (std::int32_t i = 0; i < controls->Count() && !(volumeFound && muteFound); ++i) {
    const TMixerControl& control = *controls->Items(i);
    if (control.Multiple) continue;
    if (control.ControlType == mctVolume && !volumeFound) {
      const std::vector<std::int32_t> values = ReadValues(control);
      VolumeDisabled = control.Disabled;
      VolumeLeft = values[0];
      StereoVolume = values.size() >= 2;
      VolumeRight = StereoVolume ? values[1] : values[0];
      volumeFound = true;
    } else if (control.ControlType == mctMute && !muteFound) {
      MuteDisabled = control.Disabled;
      Mute = ReadValues(control)[0] != 0 ? 1 : 0;
      muteFound = true;
    }
  }
  if (muteFound || Connection == -1) return true;
  const TMixerControls& lists = FDestinations.Items(Destination)->Controls();
  for (std::int32_t i = 0; i < lists.Count(); ++i) {
    const TMixerControl& list = *lists.Items(i);
    if (list.ControlType != mctMux && list.ControlType != mctMixer) continue;
    for (std::size_t item = 0; item < list.Items.size(); ++item) {
      if (list.Items[item].LineId != line->LineId) continue;
      Mute = ReadValues(list)[item];
      MuteDisabled = list.Disabled;
      HasSelect = true;
      return true;
    }
  }
  return true;
}

bool TSignalOSMixer::SetLineControl(std::int32_t Destination, std::int32_t Connection, std::int32_t Mute,
                                    std::int32_t VolumeRight, std::int32_t VolumeLeft) {
  const TMixerControls* controls = nullptr;
  const TMixerLine* line = FindLine(Destination, Connection, &controls);
  if (line == nullptr) return false;
  if (VolumeRight == -1) VolumeRight = VolumeLeft;
  bool volumeSet = false;
  bool muteSet = false;
  for (std::int32_t i = 0; i < controls->Count(); ++i) {
    const TMixerControl& control = *controls->Items(i);
    if (control.ControlType == mctVolume && !volumeSet && VolumeLeft != -1) {
      WriteValues(control, {VolumeLeft, VolumeRight});
      volumeSet = true;
    } else if (control.ControlType == mctMute && !muteSet && Mute != -1) {
      WriteValues(control, {Mute});
      muteSet = true;
    }
  }
  // -1 leaves the selection alone, as it leaves a mute alone.
  if (muteSet || Connection == -1 || Mute == -1) return true;
  const TMixerControls& lists = FDestinations.Items(Destination)->Controls();
  for (std::int32_t i = 0; i < lists.Count(); ++i) {
    const TMixerControl& list = *lists.Items(i);
    if (list.ControlType != mctMux && list.ControlType != mctMixer) continue;
    std::vector<std::int32_t> values = ReadValues(list);
    if (list.ControlType == mctMux) std::fill(values.begin(), values.end(), 0);
    for (std::size_t item = 0; item < list.Items.size(); ++item) {
      if (list.Items[item].LineId != line->LineId) continue;
      values[item] = Mute;
      WriteValues(list, values);
    }
    break;
  }
  return true;
}

void TSignalOSMixer::CardChanged(std::int32_t Element, bool InfoChanged) {
  for (std::int32_t d = 0; d < FDestinations.Count(); ++d) {
    const TMixerDestination& destination = *FDestinations.Items(d);
    for (std::int32_t c = 0; c < destination.Connections().Count(); ++c) {
      const TMixerConnection& connection = *destination.Connections().Items(c);
      if (connection.Line().Element != Element) continue;
      if (InfoChanged) {
        if (FOnLineChange) FOnLineChange(this, FMixerId, connection.Line().LineId);
        continue;
      }
      if (!FOnControlChange) continue;
      for (std::int32_t i = 0; i < connection.Controls().Count(); ++i)
        FOnControlChange(this, FMixerId, connection.Controls().Items(i)->ControlId);
      for (std::int32_t i = 0; i < destination.Controls().Count(); ++i) {
        const TMixerControl& list = *destination.Controls().Items(i);
        for (const TMixerListItem& item : list.Items)
          if (item.LineId == connection.Line().LineId) FOnControlChange(this, FMixerId, list.ControlId);
      }
    }
  }
}

// --- the unit's registration -------------------------------------------------

void RegisterSigMixerClasses() { classlib::RegisterClasses({&TSignalOSMixer::StaticClassInfo()}); }

void UnregisterSigMixerClasses() { classlib::UnRegisterClass(TSignalOSMixer::StaticClassInfo()); }

}  // namespace sig

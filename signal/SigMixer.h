// SigMixer: TSignalOSMixer, the audio dialogs' access to a sound card's
// mixer: a tree of its lines (destinations, each with its source
// connections, each line with its controls), the volume, mute and source
// selection of a line, and events when the card reports a change.
//
// The tree is built from the card's simple mixer elements (platform/audio):
// destination 0 is playback and destination 1 recording; each element with
// a playback (or recording) side is a source line of that destination, with
// a volume control (the element's own range, passed through) and, for
// playback, a mute control (its switch, inverted). The recording sources
// with a switch are the items of a selection list on destination 1: a
// multiplexer (one source at a time) when every switch is exclusive, else a
// mixer. A card has no manufacturer number here: Manufacturer is its
// driver's name, DriverVersion and ProductId are 0.
//
// Without a card MixerId is -1, Destinations is empty, and every query
// answers False.
//
// Tested by: signal/tests/SigMixerTest.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/AudioDevices.h"
#include "platform/classlib/Component.h"

namespace sig {

enum TMixerControlType : std::uint8_t { mctVolume, mctMute, mctMux, mctMixer };

// A line: a destination (Source -1) or one of its sources.
struct TMixerLine {
  std::int32_t LineId = 0;
  std::int32_t Destination = 0;
  std::int32_t Source = -1;
  std::int32_t Channels = 1;
  std::int32_t Connections = 0;
  std::int32_t ControlCount = 0;
  std::string Name;
  // The card's element behind a source line; -1 for a destination.
  std::int32_t Element = -1;
  // The element's recording side.
  bool Capture = false;
};

// An item of a selection list: the source line it selects.
struct TMixerListItem {
  std::int32_t LineId = 0;
  std::string Name;
};

struct TMixerControl {
  std::int32_t ControlId = 0;
  TMixerControlType ControlType = mctVolume;
  // One value serves every channel.
  bool Uniform = false;
  // A list: one value for each item.
  bool Multiple = false;
  bool Disabled = false;
  std::int32_t Minimum = 0;
  std::int32_t Maximum = 0;
  std::string Name;
  // A selection list's sources, in order.
  std::vector<TMixerListItem> Items;
};

// The controls of one line.
class TMixerControls {
 public:
  std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
  // nullptr when Index is not below Count.
  const TMixerControl* Items(std::int32_t Index) const;
  void Add(TMixerControl Control) { FItems.push_back(std::move(Control)); }

 private:
  std::vector<TMixerControl> FItems;
};

// A source line of a destination.
class TMixerConnection {
 public:
  explicit TMixerConnection(TMixerLine Line) : FLine(std::move(Line)) {}
  const TMixerLine& Line() const { return FLine; }
  TMixerLine& Line() { return FLine; }
  TMixerControls& Controls() { return FControls; }
  const TMixerControls& Controls() const { return FControls; }

 private:
  TMixerLine FLine;
  TMixerControls FControls;
};

class TMixerConnections {
 public:
  std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
  // nullptr when Index is not below Count.
  const TMixerConnection* Items(std::int32_t Index) const;
  TMixerConnection& Add(TMixerLine Line);

 private:
  std::vector<std::unique_ptr<TMixerConnection>> FItems;
};

class TMixerDestination {
 public:
  explicit TMixerDestination(TMixerLine Line) : FLine(std::move(Line)) {}
  const TMixerLine& Line() const { return FLine; }
  TMixerLine& Line() { return FLine; }
  TMixerControls& Controls() { return FControls; }
  const TMixerControls& Controls() const { return FControls; }
  TMixerConnections& Connections() { return FConnections; }
  const TMixerConnections& Connections() const { return FConnections; }

 private:
  TMixerLine FLine;
  TMixerControls FControls;
  TMixerConnections FConnections;
};

class TMixerDestinations {
 public:
  std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
  // nullptr when Index is not below Count.
  const TMixerDestination* Items(std::int32_t Index) const;
  TMixerDestination& Add(TMixerLine Line);

 private:
  std::vector<std::unique_ptr<TMixerDestination>> FItems;
};

// A line (ID a line id) or a control (ID a control id) of mixer MixerH
// changed.
using TMixerChange = std::function<void(classlib::TPersistent* Sender, std::int32_t MixerH, std::int32_t ID)>;

class TSignalOSMixer : public classlib::TComponent {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalOSMixer(classlib::TComponent* AOwner = nullptr);
  ~TSignalOSMixer() override;

  // properties
  // The open card; -1 when none is open. A number outside the cards is
  // ignored.
  std::int32_t MixerId() const { return FMixerId; }
  void SetMixerId(std::int32_t Value);
  const std::string& ProductName() const { return FProductName; }
  const std::string& Manufacturer() const { return FManufacturer; }
  std::uint32_t DriverVersion() const { return 0; }
  std::uint16_t ProductId() const { return 0; }
  // The destination lines.
  std::int32_t NumberOfLine() const { return FDestinations.Count(); }
  const TMixerDestinations& Destinations() const { return FDestinations; }

  // events
  const TMixerChange& OnLineChange() const { return FOnLineChange; }
  void SetOnLineChange(TMixerChange Value) { FOnLineChange = std::move(Value); }
  const TMixerChange& OnControlChange() const { return FOnControlChange; }
  void SetOnControlChange(TMixerChange Value) { FOnControlChange = std::move(Value); }

  // operations
  // The state of destination Destination's line (Connection -1) or of its
  // source Connection: whether the line exists. Absent controls leave
  // HasSelect False, MuteDisabled and VolumeDisabled True, StereoVolume
  // False and Mute, VolumeRight, VolumeLeft -1. A recording source without a
  // mute reports its selection as Mute (HasSelect True).
  bool GetLineState(std::int32_t Destination, std::int32_t Connection, bool& HasSelect, bool& MuteDisabled,
                    bool& VolumeDisabled, bool& StereoVolume, std::int32_t& Mute, std::int32_t& VolumeRight,
                    std::int32_t& VolumeLeft);
  // Sets the line's volume (VolumeRight -1: as VolumeLeft) and mute, or
  // selects (Mute 1) or deselects (0) a source in its destination's list
  // when it has no mute; -1 leaves a value alone. Selecting in a
  // multiplexer deselects every other source. Whether the line exists.
  bool SetLineControl(std::int32_t Destination, std::int32_t Connection, std::int32_t Mute, std::int32_t VolumeRight,
                      std::int32_t VolumeLeft);

 private:
  // Where a control's values live on the card.
  struct TControlPlace {
    std::int32_t Element = -1;
    bool Capture = false;
    std::int32_t Channels = 1;
  };

  void CloseCard();
  void BuildDestinations();
  void CardChanged(std::int32_t Element, bool InfoChanged);
  // Destination's line (Connection -1) or its source Connection, with its
  // controls; nullptr when there is no such line.
  const TMixerLine* FindLine(std::int32_t Destination, std::int32_t Connection, const TMixerControls** Controls) const;
  const TMixerLine* FindLineById(std::int32_t LineId) const;
  std::vector<std::int32_t> ReadValues(const TMixerControl& Control);
  void WriteValues(const TMixerControl& Control, const std::vector<std::int32_t>& Values);
  std::int32_t AddControl(TMixerControls& Controls, TMixerControl Control, TControlPlace Place);

  std::int32_t FNumDevs = 0;
  std::int32_t FMixerId = -1;
  std::string FProductName;
  std::string FManufacturer;
  TMixerDestinations FDestinations;
  std::shared_ptr<audio::TMixerCard> FCard;
  // By control id.
  std::vector<TControlPlace> FPlaces;
  TMixerChange FOnLineChange;
  TMixerChange FOnControlChange;
};

// Registers TSignalOSMixer with the class registry, and takes it out again.
void RegisterSigMixerClasses();
void UnregisterSigMixerClasses();

}  // namespace sig

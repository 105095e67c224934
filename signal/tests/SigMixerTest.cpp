// The mixer component on a fake card: its line tree, the state of a line,
// setting volume and mute, selecting a recording source, the change events;
// and a system without a card.
// Covers signal/SigMixer.cpp.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/classlib/ClassRegistry.h"
#include "signal/SigMixer.h"
#include "signal/tests/AudioTestSupport.h"

namespace {

using audio::TMixerElement;
using audio_tests::TFakeAudio;
using sig::TSignalOSMixer;

TMixerElement Element(const std::string& Name, TMixerElement::TSide Playback, TMixerElement::TSide Capture,
                      bool Exclusive = false) {
  TMixerElement e;
  e.Name = Name;
  e.Playback = Playback;
  e.Capture = Capture;
  e.CaptureExclusive = Exclusive;
  return e;
}

// A card with a stereo master, a mono PCM line, and three recording sources
// selected one at a time: Mic (mono volume), Line (stereo volume) and CD
// (a switch only).
std::shared_ptr<audio::TFakeMixerCard> Card(bool Exclusive = true) {
  const TMixerElement::TSide none;
  return std::make_shared<audio::TFakeMixerCard>(
      "Fake Card", "fakedrv",
      std::vector<TMixerElement>{
          Element("Master", {true, true, 2, false, 0, 87}, none),
          Element("PCM", {true, false, 1, true, 0, 255}, none),
          Element("Mic", none, {true, true, 1, true, 0, 31}, Exclusive),
          Element("Line", none, {true, true, 2, false, 0, 31}, Exclusive),
          Element("CD", none, {false, true, 2, false, 0, 0}, Exclusive),
      });
}

struct TState {
  bool Exists, HasSelect, MuteDisabled, VolumeDisabled, StereoVolume;
  std::int32_t Mute, Right, Left;
  bool operator==(const TState&) const = default;
};

std::ostream& operator<<(std::ostream& Out, const TState& S) {
  return Out << "{" << S.Exists << S.HasSelect << S.MuteDisabled << S.VolumeDisabled << S.StereoVolume << " mute "
             << S.Mute << " R " << S.Right << " L " << S.Left << "}";
}

TState State(TSignalOSMixer& Mixer, std::int32_t Destination, std::int32_t Connection) {
  TState s{};
  s.Exists = Mixer.GetLineState(Destination, Connection, s.HasSelect, s.MuteDisabled, s.VolumeDisabled,
                                s.StereoVolume, s.Mute, s.Right, s.Left);
  return s;
}

TEST(SigMixer, BuildsPlaybackAndRecordingLinesFromTheCard) {
  TFakeAudio fake;
  fake.System->AddMixerCard(Card());
  TSignalOSMixer mixer;
  EXPECT_EQ(mixer.MixerId(), 0);
  EXPECT_EQ(mixer.ProductName(), "Fake Card");
  EXPECT_EQ(mixer.Manufacturer(), "fakedrv");
  EXPECT_EQ(mixer.DriverVersion(), 0u);
  EXPECT_EQ(mixer.ProductId(), 0);
  ASSERT_EQ(mixer.NumberOfLine(), 2);
  const sig::TMixerDestination& playback = *mixer.Destinations().Items(0);
  const sig::TMixerDestination& capture = *mixer.Destinations().Items(1);
  EXPECT_EQ(mixer.Destinations().Items(2), nullptr);
  EXPECT_EQ(playback.Line().Name, "Playback");
  EXPECT_EQ(playback.Line().Channels, 2);
  ASSERT_EQ(playback.Connections().Count(), 2);
  EXPECT_EQ(playback.Connections().Items(0)->Line().Name, "Master");
  EXPECT_EQ(playback.Connections().Items(0)->Controls().Count(), 2);
  EXPECT_EQ(playback.Connections().Items(1)->Controls().Count(), 1);
  ASSERT_EQ(capture.Connections().Count(), 3);
  ASSERT_EQ(capture.Controls().Count(), 1);
  const sig::TMixerControl& list = *capture.Controls().Items(0);
  EXPECT_EQ(list.ControlType, sig::mctMux);
  ASSERT_EQ(list.Items.size(), 3u);
  EXPECT_EQ(list.Items[1].LineId, capture.Connections().Items(1)->Line().LineId);
  EXPECT_EQ(list.Items[2].Name, "CD");
  EXPECT_EQ(capture.Line().Connections, 3);
}

// The line states: a stereo line with a mute, a mono line (equal volumes),
// recording sources reporting their selection, a destination line without
// controls, and lines that do not exist.
TEST(SigMixer, ReportsLineStates) {
  TFakeAudio fake;
  auto card = Card();
  fake.System->AddMixerCard(card);
  const std::int32_t master[] = {40, 50};
  card->SetVolume(0, false, master);
  const std::int32_t pcm[] = {200};
  card->SetVolume(1, false, pcm);
  card->SetSwitch(3, true, {true, true});
  TSignalOSMixer mixer;
  const std::tuple<std::int32_t, std::int32_t, TState> cases[] = {
      {0, 0, {true, false, false, false, true, 0, 50, 40}},
      {0, 1, {true, false, true, false, false, -1, 200, 200}},
      {1, 0, {true, true, false, false, false, 0, 0, 0}},
      {1, 1, {true, true, false, false, true, 1, 0, 0}},
      {1, 2, {true, true, false, true, false, 0, -1, -1}},
      {0, -1, {true, false, true, true, false, -1, -1, -1}},
      {1, -1, {true, false, true, true, false, -1, -1, -1}},
      {0, 2, {false, false, true, true, false, -1, -1, -1}},
      {2, -1, {false, false, true, true, false, -1, -1, -1}},
      {-1, 0, {false, false, true, true, false, -1, -1, -1}},
  };
  for (const auto& [d, c, expected] : cases) EXPECT_EQ(State(mixer, d, c), expected) << d << "," << c;
}

TEST(SigMixer, SetsVolumeAndMute) {
  TFakeAudio fake;
  auto card = Card();
  fake.System->AddMixerCard(card);
  TSignalOSMixer mixer;
  EXPECT_TRUE(mixer.SetLineControl(0, 0, 1, 30, 20));
  EXPECT_EQ(card->Volume(0, false), (std::vector<std::int32_t>{20, 30}));
  EXPECT_EQ(card->Switch(0, false), (std::vector<bool>{false, false}));
  // Right -1 follows left; mute -1 leaves the mute alone.
  EXPECT_TRUE(mixer.SetLineControl(0, 0, -1, -1, 60));
  EXPECT_EQ(card->Volume(0, false), (std::vector<std::int32_t>{60, 60}));
  EXPECT_EQ(card->Switch(0, false), (std::vector<bool>{false, false}));
  EXPECT_TRUE(mixer.SetLineControl(0, 0, 0, -1, -1));
  EXPECT_EQ(card->Switch(0, false), (std::vector<bool>{true, true}));
  EXPECT_EQ(card->Volume(0, false), (std::vector<std::int32_t>{60, 60}));
  // A mono line takes the left value.
  EXPECT_TRUE(mixer.SetLineControl(0, 1, -1, 99, 10));
  EXPECT_EQ(card->Volume(1, false), (std::vector<std::int32_t>{10}));
  EXPECT_FALSE(mixer.SetLineControl(0, 5, 1, -1, 10));
}

// Selecting a source of a multiplexer deselects all the others; a mixer
// list keeps them; -1 leaves the selection as it is.
TEST(SigMixer, SelectingASourceOfAMultiplexerDeselectsTheOthers) {
  for (const bool exclusive : {true, false}) {
    TFakeAudio fake;
    auto card = Card(exclusive);
    fake.System->AddMixerCard(card);
    card->SetSwitch(2, true, {true});
    card->SetSwitch(4, true, {true, true});
    TSignalOSMixer mixer;
    EXPECT_EQ(mixer.Destinations().Items(1)->Controls().Items(0)->ControlType, exclusive ? sig::mctMux : sig::mctMixer);
    EXPECT_TRUE(mixer.SetLineControl(1, 1, 1, -1, 5));
    EXPECT_EQ(card->Switch(3, true), (std::vector<bool>{true, true}));
    EXPECT_EQ(card->Switch(2, true), (std::vector<bool>{!exclusive}));
    EXPECT_EQ(card->Switch(4, true), (std::vector<bool>{!exclusive, !exclusive}));
    EXPECT_EQ(card->Volume(3, true), (std::vector<std::int32_t>{5, 5}));
    EXPECT_EQ(State(mixer, 1, 1).Mute, 1);
    EXPECT_EQ(State(mixer, 1, 0).Mute, exclusive ? 0 : 1);
    EXPECT_TRUE(mixer.SetLineControl(1, 2, -1, -1, -1));
    EXPECT_EQ(card->Switch(3, true), (std::vector<bool>{true, true}));
  }
}

// Changes the card reports reach OnControlChange (each control of the
// element, and the list that selects it) or OnLineChange, from the event
// source.
TEST(SigMixer, ReportsTheCardsChanges) {
  TFakeAudio fake;
  auto card = Card();
  fake.System->AddMixerCard(card);
  TSignalOSMixer mixer;
  std::vector<std::string> heard;
  mixer.SetOnControlChange([&](classlib::TPersistent* Sender, std::int32_t MixerH, std::int32_t ID) {
    heard.push_back((Sender == &mixer ? "control " : "? ") + std::to_string(MixerH) + " " + std::to_string(ID));
  });
  mixer.SetOnLineChange([&](classlib::TPersistent*, std::int32_t, std::int32_t ID) {
    heard.push_back("line " + std::to_string(ID));
  });
  card->ChangeOutside(0);
  card->ChangeOutside(3);
  card->ChangeOutside(1, true);
  EXPECT_TRUE(heard.empty());
  fake.Events->Step();
  const sig::TMixerDestination& playback = *mixer.Destinations().Items(0);
  const sig::TMixerDestination& capture = *mixer.Destinations().Items(1);
  const auto id = [](const sig::TMixerControls& C, int I) { return std::to_string(C.Items(I)->ControlId); };
  EXPECT_EQ(heard, (std::vector<std::string>{
                       "control 0 " + id(playback.Connections().Items(0)->Controls(), 0),
                       "control 0 " + id(playback.Connections().Items(0)->Controls(), 1),
                       "control 0 " + id(capture.Connections().Items(1)->Controls(), 0),
                       "control 0 " + id(capture.Controls(), 0),
                       "line " + std::to_string(playback.Connections().Items(1)->Line().LineId),
                   }));
}

// Without a card: no mixer is open and every query says False; a number
// beyond the cards is ignored.
TEST(SigMixer, WithoutACardEveryQueryIsFalse) {
  TFakeAudio fake;
  TSignalOSMixer mixer;
  EXPECT_EQ(mixer.MixerId(), -1);
  EXPECT_EQ(mixer.NumberOfLine(), 0);
  EXPECT_EQ(mixer.Destinations().Count(), 0);
  EXPECT_EQ(State(mixer, 0, -1), (TState{false, false, true, true, false, -1, -1, -1}));
  EXPECT_FALSE(mixer.SetLineControl(0, 0, 1, 10, 10));
  mixer.SetMixerId(0);
  EXPECT_EQ(mixer.MixerId(), -1);

  TFakeAudio two;
  two.System->AddMixerCard(Card());
  two.System->AddMixerCard(std::make_shared<audio::TFakeMixerCard>("Second", "", std::vector<TMixerElement>{}));
  TSignalOSMixer chosen;
  chosen.SetMixerId(5);
  EXPECT_EQ(chosen.MixerId(), 0);
  chosen.SetMixerId(1);
  EXPECT_EQ(chosen.MixerId(), 1);
  EXPECT_EQ(chosen.ProductName(), "Second");
  EXPECT_EQ(chosen.Manufacturer(), "Unknown");
  EXPECT_EQ(chosen.Destinations().Items(0)->Connections().Count(), 0);
  EXPECT_EQ(classlib::FindClass("TSignalOSMixer").ClassName(), "TSignalOSMixer");
}

}  // namespace

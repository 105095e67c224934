// The sound system without hardware: streams on a stepped clock and mixer
// cards in memory.
// Tested by: platform/audio/tests/FakeAudioTest.cpp.
#include "platform/audio/testing/FakeAudio.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace audio {

// --- TFakeWaveStream --------------------------------------------------------

TFakeWaveStream::TFakeWaveStream(TWaveDirection Direction, std::int32_t Device, const TWaveFormat& Format,
                                 const TRingShape& Ring, TFakeCaptureSource Source)
    : FDirection(Direction), FDevice(Device), FFormat(Format), FRing(Ring), FSource(std::move(Source)) {}

std::int32_t TFakeWaveStream::Queued() const { return static_cast<std::int32_t>(FQueue.size() + FDone.size()); }

void TFakeWaveStream::Queue(std::int32_t Index, std::uint8_t* Data, std::int32_t Bytes) {
  if (FClosed) throw EAudioError("fake: the stream is closed");
  const std::int32_t frameBytes = FFormat.FrameBytes();
  FQueue.push_back(TQueued{Index, Data, std::max(0, Bytes - Bytes % frameBytes), 0});
  if (FDirection == wdPlayback) FStarted = true;
}

void TFakeWaveStream::Start() {
  if (FClosed) throw EAudioError("fake: the stream is closed");
  if (FDirection == wdCapture) FStarted = true;
}

void TFakeWaveStream::Advance(std::int64_t Frames) {
  if (FClosed || !FStarted || FPaused) return;
  const std::int32_t frameBytes = FFormat.FrameBytes();
  const auto finishFront = [&] {
    while (!FQueue.empty() && FQueue.front().Moved == FQueue.front().Bytes) {
      FDone.push_back(FQueue.front());
      FQueue.pop_front();
    }
  };
  finishFront();
  while (Frames > 0) {
    if (FQueue.empty()) {
      FStarvedFrames += Frames;
      // A recording goes on without a buffer: those frames are lost.
      if (FDirection == wdCapture) {
        FPosition += Frames;
        FRecorded += Frames;
      }
      return;
    }
    TQueued& q = FQueue.front();
    const std::int64_t take = std::min<std::int64_t>(Frames, (q.Bytes - q.Moved) / frameBytes);
    const auto bytes = static_cast<std::size_t>(take * frameBytes);
    std::uint8_t* at = q.Data + q.Moved;
    if (FDirection == wdPlayback) {
      FPlayed.insert(FPlayed.end(), at, at + bytes);
    } else {
      if (FSource)
        FSource(FRecorded, std::span<std::uint8_t>(at, bytes));
      else
        std::memset(at, 0, bytes);
      FRecorded += take;
    }
    q.Moved += static_cast<std::int32_t>(bytes);
    FPosition += take;
    Frames -= take;
    finishFront();
  }
}

std::int64_t TFakeWaveStream::Service() {
  if (FClosed) return -1;
  const std::uint64_t generation = FGeneration;
  while (generation == FGeneration && !FDone.empty()) {
    const TQueued done = FDone.front();
    FDone.pop_front();
    ReportDone(done.Index, done.Moved);
  }
  // A clock that only a test moves: ask to be looked at again at once.
  return FClosed ? -1 : 0;
}

void TFakeWaveStream::Reset() {
  ++FGeneration;
  ++FResets;
  FQueue.clear();
  FDone.clear();
  FPosition = 0;
  FStarted = false;
  FPaused = false;
}

void TFakeWaveStream::Close() {
  if (FClosed) return;
  ++FGeneration;
  FQueue.clear();
  FDone.clear();
  FClosed = true;
}

// --- TFakeMixerCard ---------------------------------------------------------

TFakeMixerCard::TFakeMixerCard(std::string Name, std::string Driver, std::vector<TMixerElement> Elements)
    : FName(std::move(Name)), FDriver(std::move(Driver)), FElements(std::move(Elements)) {
  for (const TMixerElement& element : FElements) {
    TValues values;
    for (int capture = 0; capture < 2; ++capture) {
      const TMixerElement::TSide& side = capture != 0 ? element.Capture : element.Playback;
      const auto channels = static_cast<std::size_t>(side.Channels);
      if (side.HasVolume) values.Volume[capture].assign(channels, side.Minimum);
      if (side.HasSwitch) values.Switch[capture].assign(channels, capture == 0);
    }
    FValues.push_back(std::move(values));
  }
}

TFakeMixerCard::TValues& TFakeMixerCard::Values(std::int32_t Element) {
  if (Element < 0 || static_cast<std::size_t>(Element) >= FValues.size())
    throw EAudioError(FName + ": no mixer element " + std::to_string(Element));
  return FValues[static_cast<std::size_t>(Element)];
}

std::vector<std::int32_t> TFakeMixerCard::Volume(std::int32_t Element, bool Capture) {
  return Values(Element).Volume[Capture ? 1 : 0];
}

void TFakeMixerCard::SetVolume(std::int32_t Element, bool Capture, std::span<const std::int32_t> Values) {
  std::vector<std::int32_t>& volume = this->Values(Element).Volume[Capture ? 1 : 0];
  const TMixerElement::TSide& side = Capture ? FElements[static_cast<std::size_t>(Element)].Capture
                                             : FElements[static_cast<std::size_t>(Element)].Playback;
  for (std::size_t i = 0; i < volume.size() && i < Values.size(); ++i)
    volume[i] = std::clamp(Values[i], side.Minimum, side.Maximum);
}

std::vector<bool> TFakeMixerCard::Switch(std::int32_t Element, bool Capture) {
  return Values(Element).Switch[Capture ? 1 : 0];
}

void TFakeMixerCard::SetSwitch(std::int32_t Element, bool Capture, const std::vector<bool>& Values) {
  std::vector<bool>& value = this->Values(Element).Switch[Capture ? 1 : 0];
  for (std::size_t i = 0; i < value.size() && i < Values.size(); ++i) value[i] = Values[i];
}

void TFakeMixerCard::ChangeOutside(std::int32_t Element, bool InfoChanged) {
  FChanges.emplace_back(Element, InfoChanged);
}

std::int64_t TFakeMixerCard::Service() {
  const auto changes = std::move(FChanges);
  FChanges.clear();
  for (const auto& [element, info] : changes) ReportChange(element, info);
  return -1;
}

// --- TFakeAudioSystem -------------------------------------------------------

TFakeAudioSystem::TFakeAudioSystem() : FDevices{{"fake", "Fake device"}} {}

std::vector<TDeviceName> TFakeAudioSystem::WaveDevices(TWaveDirection) { return FDevices; }

std::shared_ptr<TWaveStream> TFakeAudioSystem::OpenWave(TWaveDirection Direction, std::int32_t Device,
                                                        const TWaveFormat& Format, const TRingShape& Ring) {
  if (Device != -1 && (Device < 0 || static_cast<std::size_t>(Device) >= FDevices.size()))
    throw EAudioError("There is no sound device " + std::to_string(Device) + " (" + std::to_string(FDevices.size()) +
                      " listed)");
  const int bits = Format.BitsPerSample;
  if ((bits != 8 && bits != 16 && bits != 24 && bits != 32) || Format.Channels < 1 || Format.SamplesPerSec < 1 ||
      (FRefuse && FRefuse(Format)))
    throw EFormatRefused("fake: format refused");
  if (Ring.NumBuffers < 1 || Ring.BufferBytes < Format.FrameBytes())
    throw EAudioError("fake: a ring needs a buffer of at least one frame");
  auto stream = std::make_shared<TFakeWaveStream>(Direction, Device, Format, Ring, FSource);
  FStreams.push_back(stream);
  return stream;
}

void TFakeAudioSystem::Advance(std::int64_t Frames) {
  for (const auto& stream : FStreams) stream->Advance(Frames);
}

TFakeWaveStream& TFakeAudioSystem::LastStream() const {
  if (FStreams.empty()) throw EAudioError("fake: no stream was opened");
  return *FStreams.back();
}

std::shared_ptr<TMixerCard> TFakeAudioSystem::OpenMixer(std::int32_t Index) {
  if (Index < 0 || static_cast<std::size_t>(Index) >= FCards.size())
    throw EAudioError("There is no mixer " + std::to_string(Index));
  return FCards[static_cast<std::size_t>(Index)];
}

}  // namespace audio

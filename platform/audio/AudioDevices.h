// The sound layer: wave streams to and from a sound device, the mixer of a
// sound card, and the event source that runs their reports on the thread
// that owns them.
//
// Nothing here starts a thread. A component opens a stream through the
// installed audio system (ALSA's until another is installed), queues its
// buffers and hears back through the stream's done event: every buffer the
// device has played or filled is reported once, in the order it was queued,
// from the stream's Service. The program installs an event source (the Qt
// event loop, QtAudioEvents.h) that calls Service on the owner's thread when
// work is due; tests install a stepped one (testing/SteppedAudioEvents.h)
// and step it by hand, so no test waits for a device.
//
// A stream is opened for a ring of buffers and the device's own buffer is
// made to hold all of them, so an owner that is late by less than the queued
// sound loses nothing.
//
// Tested by: platform/audio/tests/AlsaWaveTest.cpp,
// platform/audio/tests/FakeAudioTest.cpp,
// platform/audio/tests/QtAudioEventsTest.cpp.
#pragma once

#include <poll.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/classlib/Exception.h"

namespace audio {

// A device or a driver failed; the message is the driver's text.
class EAudioError : public classlib::Exception {
 public:
  using Exception::Exception;
};

// The device does not take the sample format, channel count or rate asked.
class EFormatRefused : public EAudioError {
 public:
  using EAudioError::EAudioError;
};

enum TWaveDirection : std::uint8_t { wdPlayback, wdCapture };

// Interleaved linear PCM, little-endian; 8-bit samples are unsigned
// (128 is silence), wider ones signed.
struct TWaveFormat {
  std::int32_t Channels = 1;
  std::int32_t SamplesPerSec = 22050;
  std::int32_t BitsPerSample = 16;

  std::int32_t FrameBytes() const { return Channels * (BitsPerSample / 8); }
};

// The buffers a stream is opened for: NumBuffers of BufferBytes each (a
// whole number of frames).
struct TRingShape {
  std::int32_t BufferBytes = 0;
  std::int32_t NumBuffers = 0;
};

// Something the event source looks after on the owner's thread.
class TAudioWatch {
 public:
  virtual ~TAudioWatch() = default;

  // Descriptors that become ready when there is work; may be empty.
  virtual std::vector<pollfd> PollDescriptors() const = 0;
  // Does the work that is due and reports it. Returns the microseconds after
  // which it wants to be called again at the latest, or -1 when only its
  // descriptors call for it. An exception of a report's handler leaves the
  // watch consistent and reaches the caller.
  virtual std::int64_t Service() = 0;
};

// One open stream of a wave device.
class TWaveStream : public TAudioWatch {
 public:
  // Buffer Index is done: played, or filled with Bytes recorded bytes.
  using TDoneEvent = std::function<void(std::int32_t Index, std::int32_t Bytes)>;

  void SetOnDone(TDoneEvent Value) { FOnDone = std::move(Value); }

  // Queues Bytes (a whole number of frames) at Data as buffer Index: played
  // after the buffers queued before it, or filled by the recording. The
  // memory stays the caller's and must live until the buffer is reported
  // done, the stream is reset or closed.
  virtual void Queue(std::int32_t Index, std::uint8_t* Data, std::int32_t Bytes) = 0;
  // Recording begins; playback begins with its first queued buffer.
  virtual void Start() = 0;
  // Holds the stream where it is, through the device's pause where it has
  // one; otherwise playback stops writing and recording stops reading.
  virtual void Pause() = 0;
  virtual void Restart() = 0;
  // Stops at once and forgets every queued buffer, without reports; the
  // position starts again at 0.
  virtual void Reset() = 0;
  // Frames played (frames written less those still in the device) or
  // recorded (frames read plus those waiting in the device).
  virtual std::int64_t Position() = 0;
  // Reset and release the device; no report follows. A second call does
  // nothing.
  virtual void Close() = 0;

 protected:
  // Reports buffer Index done (nothing when no handler is set).
  void ReportDone(std::int32_t Index, std::int32_t Bytes) {
    if (FOnDone) FOnDone(Index, Bytes);
  }

 private:
  TDoneEvent FOnDone;
};

// One simple control element of a card's mixer, as the mixer offers it.
struct TMixerElement {
  // One direction of the element.
  struct TSide {
    bool HasVolume = false;
    bool HasSwitch = false;
    // The channels it has (1 for a mono element); 0 when it has no side here.
    std::int32_t Channels = 0;
    // One value serves every channel.
    bool Joined = false;
    std::int32_t Minimum = 0;
    std::int32_t Maximum = 0;
  };
  std::string Name;
  TSide Playback;
  TSide Capture;
  // The capture switch selects one source of a group at a time.
  bool CaptureExclusive = false;
};

// An open mixer of one card. Volumes are the element's own units, one value
// per channel; switches are on (true) or off.
class TMixerCard : public TAudioWatch {
 public:
  // Element changed: its values, or (InfoChanged) its description.
  using TChangeEvent = std::function<void(std::int32_t Element, bool InfoChanged)>;

  void SetOnChange(TChangeEvent Value) { FOnChange = std::move(Value); }

  virtual std::string Name() const = 0;
  virtual std::string Driver() const = 0;
  virtual const std::vector<TMixerElement>& Elements() const = 0;
  virtual std::vector<std::int32_t> Volume(std::int32_t Element, bool Capture) = 0;
  virtual void SetVolume(std::int32_t Element, bool Capture, std::span<const std::int32_t> Values) = 0;
  virtual std::vector<bool> Switch(std::int32_t Element, bool Capture) = 0;
  virtual void SetSwitch(std::int32_t Element, bool Capture, const std::vector<bool>& Values) = 0;

 protected:
  void ReportChange(std::int32_t Element, bool InfoChanged) {
    if (FOnChange) FOnChange(Element, InfoChanged);
  }

 private:
  TChangeEvent FOnChange;
};

// A device as the system lists it.
struct TDeviceName {
  std::string Name;
  std::string Description;
};

// The sound devices of the machine.
class TAudioSystem {
 public:
  virtual ~TAudioSystem() = default;

  // The devices that play (or record), in the system's order.
  virtual std::vector<TDeviceName> WaveDevices(TWaveDirection Direction) = 0;
  // Opens device Device (-1: the system's default device; otherwise an index
  // into WaveDevices) for Format and Ring. Raises EFormatRefused for a format
  // the device does not take and EAudioError for any other failure.
  virtual std::shared_ptr<TWaveStream> OpenWave(TWaveDirection Direction, std::int32_t Device,
                                                const TWaveFormat& Format, const TRingShape& Ring) = 0;
  // Cards with a mixer, numbered from 0.
  virtual std::int32_t MixerCount() = 0;
  // Raises EAudioError when the mixer cannot be opened.
  virtual std::shared_ptr<TMixerCard> OpenMixer(std::int32_t Index) = 0;
};

// Runs the audio layer's work on the owner's thread.
class TAudioEventSource {
 public:
  virtual ~TAudioEventSource() = default;

  // Calls Watch->Service on this thread when its time or its descriptors say
  // so, until Unwatch; the watch is kept alive while it is serviced.
  virtual void Watch(std::shared_ptr<TAudioWatch> Watch) = 0;
  // Nothing for a watch not watched. May be called from inside Service.
  virtual void Unwatch(const TAudioWatch& Watch) = 0;
  // Runs Call later on this thread.
  virtual void Post(std::function<void()> Call) = 0;
};

// The installed audio system; ALSA's until another is installed.
std::shared_ptr<TAudioSystem> AudioSystem();
// Installs System (nullptr: ALSA's again) and returns the one it replaces.
std::shared_ptr<TAudioSystem> InstallAudioSystem(std::shared_ptr<TAudioSystem> System);

// The installed event source; nullptr until one is installed.
std::shared_ptr<TAudioEventSource> AudioEventSource();
// Installs Source (nullptr: none) and returns the one it replaces.
std::shared_ptr<TAudioEventSource> InstallAudioEventSource(std::shared_ptr<TAudioEventSource> Source);

}  // namespace audio

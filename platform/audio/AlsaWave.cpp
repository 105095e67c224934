// Wave streams over ALSA PCM devices, non-blocking: Service moves what the
// device takes or gives at that moment and reports the buffers it finished.
// Tested by: platform/audio/tests/AlsaWaveTest.cpp.
#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <deque>
#include <string>

#include "platform/audio/AlsaAudio.h"
#include "platform/audio/AlsaInternal.h"

namespace audio {

std::string AlsaErrorText(int Error) { return snd_strerror(Error); }

namespace {

// How long a stream waits before it looks again when nothing is due
// soon: paused, or nothing queued.
constexpr std::int64_t IdleMicroseconds = 50000;
// The bounds of a wait for a buffer: never spin, never sleep through a
// device whose clock runs ahead of ours.
constexpr std::int64_t MinWaitMicroseconds = 1000;
constexpr std::int64_t MaxWaitMicroseconds = 250000;

snd_pcm_format_t PcmFormat(std::int32_t Bits) {
  switch (Bits) {
    case 8: return SND_PCM_FORMAT_U8;
    case 16: return SND_PCM_FORMAT_S16_LE;
    case 24: return SND_PCM_FORMAT_S24_3LE;
    case 32: return SND_PCM_FORMAT_S32_LE;
    default: return SND_PCM_FORMAT_UNKNOWN;
  }
}

class TAlsaWaveStream final : public TWaveStream {
 public:
  TAlsaWaveStream(snd_pcm_t* Pcm, std::string Name, TWaveDirection Direction)
      : FPcm(Pcm), FName(std::move(Name)), FDirection(Direction) {}
  ~TAlsaWaveStream() override { Release(); }

  void Configure(const TWaveFormat& Format, const TRingShape& Ring);

  std::vector<pollfd> PollDescriptors() const override { return {}; }
  std::int64_t Service() override;
  void Queue(std::int32_t Index, std::uint8_t* Data, std::int32_t Bytes) override;
  void Start() override;
  void Pause() override;
  void Restart() override;
  void Reset() override;
  std::int64_t Position() override;
  void Close() override;

 private:
  struct TQueued {
    std::int32_t Index = 0;
    std::uint8_t* Data = nullptr;
    std::int32_t Bytes = 0;
    // Bytes already written to (or read from) the device.
    std::int32_t Moved = 0;
    // The stream's frame count at the end of this buffer.
    std::int64_t EndFrame = 0;
  };

  [[noreturn]] void Fail(int Error) const { throw EAudioError(FName + ": " + AlsaErrorText(Error)); }
  void CheckOpen() const {
    if (FPcm == nullptr) throw EAudioError(FName + ": the stream is closed");
  }
  // Prepares the device again after an underrun or overrun (recording
  // starts again at once).
  void Recover(int Error);
  // Writes queued sound while the device has room.
  void WriteQueued();
  std::int64_t ServicePlayback();
  std::int64_t ServiceCapture();
  std::int64_t WaitFor(std::int64_t Frames) const;
  void Release() noexcept;

  snd_pcm_t* FPcm;
  std::string FName;
  TWaveDirection FDirection;
  std::int32_t FFrameBytes = 1;
  std::uint32_t FRate = 1;
  bool FCanPause = false;
  std::deque<TQueued> FQueue;
  // Frames written to or read from the device since the start.
  std::int64_t FMoved = 0;
  // Frames queued since the start.
  std::int64_t FQueuedFrames = 0;
  bool FStarted = false;
  bool FPaused = false;
  bool FHardwarePaused = false;
  // Counts resets and the close, so that a report whose handler reset the
  // stream ends the round of reports.
  std::uint64_t FGeneration = 0;
};

void TAlsaWaveStream::Configure(const TWaveFormat& Format, const TRingShape& Ring) {
  FFrameBytes = Format.FrameBytes();
  const snd_pcm_format_t format = PcmFormat(Format.BitsPerSample);
  if (format == SND_PCM_FORMAT_UNKNOWN || Format.Channels < 1 || Format.SamplesPerSec < 1)
    throw EFormatRefused(FName + ": no such sample format");
  if (Ring.NumBuffers < 1 || Ring.BufferBytes < FFrameBytes)
    throw EAudioError(FName + ": a ring needs a buffer of at least one frame");
  snd_pcm_hw_params_t* hw = nullptr;
  snd_pcm_hw_params_alloca(&hw);
  int err = snd_pcm_hw_params_any(FPcm, hw);
  if (err < 0) Fail(err);
  err = snd_pcm_hw_params_set_access(FPcm, hw, SND_PCM_ACCESS_RW_INTERLEAVED);
  if (err < 0) Fail(err);
  if (snd_pcm_hw_params_set_format(FPcm, hw, format) < 0 ||
      snd_pcm_hw_params_set_channels(FPcm, hw, static_cast<unsigned>(Format.Channels)) < 0 ||
      snd_pcm_hw_params_set_rate(FPcm, hw, static_cast<unsigned>(Format.SamplesPerSec), 0) < 0)
    throw EFormatRefused(FName + ": format refused");
  // The device's buffer holds the whole ring, one buffer a period.
  snd_pcm_uframes_t period = static_cast<snd_pcm_uframes_t>(Ring.BufferBytes / FFrameBytes);
  snd_pcm_uframes_t size = period * static_cast<snd_pcm_uframes_t>(Ring.NumBuffers);
  int dir = 0;
  err = snd_pcm_hw_params_set_period_size_near(FPcm, hw, &period, &dir);
  if (err < 0) Fail(err);
  err = snd_pcm_hw_params_set_buffer_size_near(FPcm, hw, &size);
  if (err < 0) Fail(err);
  FCanPause = snd_pcm_hw_params_can_pause(hw) != 0;
  err = snd_pcm_hw_params(FPcm, hw);
  if (err == -EINVAL) throw EFormatRefused(FName + ": format refused");
  if (err < 0) Fail(err);
  snd_pcm_sw_params_t* sw = nullptr;
  snd_pcm_sw_params_alloca(&sw);
  err = snd_pcm_sw_params_current(FPcm, sw);
  if (err < 0) Fail(err);
  // Playback starts with the first frame written: a sound shorter than the
  // device's buffer must play too.
  if (FDirection == wdPlayback) snd_pcm_sw_params_set_start_threshold(FPcm, sw, 1);
  snd_pcm_sw_params_set_avail_min(FPcm, sw, period);
  err = snd_pcm_sw_params(FPcm, sw);
  if (err < 0) Fail(err);
  FRate = static_cast<std::uint32_t>(Format.SamplesPerSec);
}

void TAlsaWaveStream::Recover(int Error) {
  const int err = snd_pcm_recover(FPcm, Error, 1);
  if (err < 0) Fail(err);
  if (FDirection == wdCapture && FStarted) {
    const int started = snd_pcm_start(FPcm);
    if (started < 0) Fail(started);
  }
}

void TAlsaWaveStream::Queue(std::int32_t Index, std::uint8_t* Data, std::int32_t Bytes) {
  CheckOpen();
  TQueued queued;
  queued.Index = Index;
  queued.Data = Data;
  queued.Bytes = std::max(0, Bytes - Bytes % FFrameBytes);
  FQueuedFrames += queued.Bytes / FFrameBytes;
  queued.EndFrame = FQueuedFrames;
  FQueue.push_back(queued);
  if (FDirection == wdPlayback && !FPaused) WriteQueued();
}

void TAlsaWaveStream::WriteQueued() {
  for (TQueued& q : FQueue) {
    while (q.Moved < q.Bytes) {
      const auto frames = static_cast<snd_pcm_uframes_t>((q.Bytes - q.Moved) / FFrameBytes);
      const snd_pcm_sframes_t n = snd_pcm_writei(FPcm, q.Data + q.Moved, frames);
      if (n == -EAGAIN) return;
      if (n == -EPIPE || n == -ESTRPIPE) {
        Recover(static_cast<int>(n));
        continue;
      }
      if (n < 0) Fail(static_cast<int>(n));
      q.Moved += static_cast<std::int32_t>(n) * FFrameBytes;
      FMoved += n;
    }
  }
}

std::int64_t TAlsaWaveStream::WaitFor(std::int64_t Frames) const {
  const std::int64_t us = Frames * 1000000 / FRate;
  return std::clamp(us, MinWaitMicroseconds, MaxWaitMicroseconds);
}

std::int64_t TAlsaWaveStream::Service() {
  if (FPcm == nullptr) return -1;
  return FDirection == wdPlayback ? ServicePlayback() : ServiceCapture();
}

std::int64_t TAlsaWaveStream::ServicePlayback() {
  if (!FPaused) WriteQueued();
  // The buffers played by now; those a handler queues meanwhile wait for
  // the next round, so that a device that plays at once cannot keep this
  // loop going.
  const std::int64_t played = Position();
  const std::uint64_t generation = FGeneration;
  while (generation == FGeneration && !FQueue.empty()) {
    const TQueued front = FQueue.front();
    if (front.Moved < front.Bytes || front.EndFrame > played) break;
    FQueue.pop_front();
    ReportDone(front.Index, front.Bytes);
  }
  if (FPcm == nullptr) return -1;
  if (FPaused || FQueue.empty()) return IdleMicroseconds;
  return WaitFor(FQueue.front().EndFrame - Position());
}

std::int64_t TAlsaWaveStream::ServiceCapture() {
  if (!FStarted || FPaused) return IdleMicroseconds;
  snd_pcm_sframes_t avail = snd_pcm_avail_update(FPcm);
  if (avail == -EPIPE || avail == -ESTRPIPE) {
    Recover(static_cast<int>(avail));
    avail = snd_pcm_avail_update(FPcm);
  }
  if (avail < 0) Fail(static_cast<int>(avail));
  // Only what the device holds now: a device that records at once cannot
  // keep this loop going.
  std::int64_t budget = avail;
  const std::uint64_t generation = FGeneration;
  while (generation == FGeneration && !FQueue.empty()) {
    TQueued& front = FQueue.front();
    if (front.Moved < front.Bytes) {
      const std::int64_t frames = std::min<std::int64_t>(budget, (front.Bytes - front.Moved) / FFrameBytes);
      if (frames == 0) break;
      const snd_pcm_sframes_t n =
          snd_pcm_readi(FPcm, front.Data + front.Moved, static_cast<snd_pcm_uframes_t>(frames));
      if (n == -EAGAIN) break;
      if (n == -EPIPE || n == -ESTRPIPE) {
        Recover(static_cast<int>(n));
        break;
      }
      if (n < 0) Fail(static_cast<int>(n));
      front.Moved += static_cast<std::int32_t>(n) * FFrameBytes;
      FMoved += n;
      budget -= n;
    }
    if (front.Moved < front.Bytes) continue;
    const TQueued done = front;
    FQueue.pop_front();
    ReportDone(done.Index, done.Bytes);
  }
  if (FPcm == nullptr) return -1;
  if (FQueue.empty()) return IdleMicroseconds;
  const TQueued& front = FQueue.front();
  return WaitFor((front.Bytes - front.Moved) / FFrameBytes);
}

void TAlsaWaveStream::Start() {
  CheckOpen();
  if (FDirection != wdCapture || FStarted) return;
  const int err = snd_pcm_start(FPcm);
  if (err < 0) Fail(err);
  FStarted = true;
}

void TAlsaWaveStream::Pause() {
  CheckOpen();
  if (FPaused) return;
  FPaused = true;
  if (FCanPause && snd_pcm_state(FPcm) == SND_PCM_STATE_RUNNING && snd_pcm_pause(FPcm, 1) == 0)
    FHardwarePaused = true;
}

void TAlsaWaveStream::Restart() {
  CheckOpen();
  if (!FPaused) return;
  FPaused = false;
  if (FHardwarePaused) {
    FHardwarePaused = false;
    const int err = snd_pcm_pause(FPcm, 0);
    if (err < 0) Recover(err);
  }
  if (FDirection == wdPlayback) WriteQueued();
}

void TAlsaWaveStream::Reset() {
  CheckOpen();
  ++FGeneration;
  snd_pcm_drop(FPcm);
  FQueue.clear();
  FMoved = 0;
  FQueuedFrames = 0;
  FStarted = false;
  FPaused = false;
  FHardwarePaused = false;
  const int err = snd_pcm_prepare(FPcm);
  if (err < 0) Fail(err);
}

std::int64_t TAlsaWaveStream::Position() {
  if (FPcm == nullptr) return 0;
  if (FDirection == wdPlayback) {
    snd_pcm_sframes_t delay = 0;
    // An underrun means that everything written has been played.
    if (snd_pcm_delay(FPcm, &delay) < 0) delay = 0;
    return FMoved - std::clamp<std::int64_t>(delay, 0, FMoved);
  }
  if (!FStarted) return FMoved;
  const snd_pcm_sframes_t avail = snd_pcm_avail_update(FPcm);
  return FMoved + std::max<std::int64_t>(avail, 0);
}

void TAlsaWaveStream::Close() {
  if (FPcm == nullptr) return;
  ++FGeneration;
  FQueue.clear();
  Release();
}

void TAlsaWaveStream::Release() noexcept {
  if (FPcm == nullptr) return;
  snd_pcm_drop(FPcm);
  snd_pcm_close(FPcm);
  FPcm = nullptr;
}

}  // namespace

std::shared_ptr<TWaveStream> OpenAlsaWave(const std::string& Name, TWaveDirection Direction,
                                          const TWaveFormat& Format, const TRingShape& Ring) {
  snd_pcm_t* pcm = nullptr;
  const int err = snd_pcm_open(&pcm, Name.c_str(),
                               Direction == wdPlayback ? SND_PCM_STREAM_PLAYBACK : SND_PCM_STREAM_CAPTURE,
                               SND_PCM_NONBLOCK);
  if (err < 0) throw EAudioError(Name + ": " + AlsaErrorText(err));
  auto stream = std::make_shared<TAlsaWaveStream>(pcm, Name, Direction);
  stream->Configure(Format, Ring);
  return stream;
}

std::vector<TDeviceName> AlsaWaveDevices(TWaveDirection Direction) {
  std::vector<TDeviceName> devices;
  void** hints = nullptr;
  if (snd_device_name_hint(-1, "pcm", &hints) < 0) return devices;
  const std::string wanted = Direction == wdPlayback ? "Output" : "Input";
  const auto text = [](void* hint, const char* id) {
    char* value = snd_device_name_get_hint(hint, id);
    std::string result = value != nullptr ? value : "";
    std::free(value);
    return result;
  };
  for (void** hint = hints; *hint != nullptr; ++hint) {
    const std::string io = text(*hint, "IOID");
    if (!io.empty() && io != wanted) continue;
    TDeviceName device{text(*hint, "NAME"), text(*hint, "DESC")};
    std::replace(device.Description.begin(), device.Description.end(), '\n', ' ');
    if (!device.Name.empty()) devices.push_back(std::move(device));
  }
  snd_device_name_free_hint(hints);
  return devices;
}

}  // namespace audio

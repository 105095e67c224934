// AudioSignal: the sound-card components. TAudioSignal is the common base (a
// ring of wave buffers, the wave format and the device bookkeeping);
// TSignalOut plays the blocks of its Input, TSignalIn records.
//
// The device is a stream of the sound layer (platform/audio): its reports of
// finished buffers run on the owner's thread through the event source the
// program installs, so Start raises when none is installed. Playback refills
// each buffer the device has played by pulling the pipeline and queues it
// again; recording hands each buffer the device has filled to
// OnBufferFilled and to a pull of its Input. The device's own buffer holds
// the whole ring, so a stall of the owner shorter than the queued sound
// loses nothing.
//
// Samples stay in integer units of the sample width (16 bits: -32768 ..
// 32767); 8-bit samples are unsigned on the device and signed in Data.
// Conversions read from a scratch copy: the input's Data is never changed.
//
// The wave format follows the channel count, the sample width
// (Quantization) and the rounded sampling frequency while the device is
// closed: at most 16 bits and 2 channels are plain PCM (tag 1), anything
// wider is the extensible form (tag 0xFFFE, 22 extra bytes, the PCM
// sub-format).
//
// Tested by: signal/tests/AudioSignalTest.cpp, signal/tests/SignalOutTest.cpp,
// signal/tests/SignalInTest.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "numeric/SampleStreams.h"
#include "platform/audio/AudioDevices.h"
#include "signal/Signal.h"
#include "signal/WaveFormat.h"

namespace sig {

class TAudioSignal : public TSignal {
  ORVEL_CLASS_INFO
 public:
  static constexpr std::int32_t MaxBuffers = 24;
  static constexpr std::int32_t MinBufferSize = 512;

  explicit TAudioSignal(classlib::TComponent* AOwner = nullptr);
  ~TAudioSignal() override;

  // properties
  // Milliseconds added to the device position, 0 .. 500.
  std::int32_t MonitorAggressiveness() const { return FMonitorAggressiveness; }
  void SetMonitorAggressiveness(std::int32_t Value);
  bool AutoPull() const { return FAutoPull; }
  void SetAutoPull(bool Value) { FAutoPull = Value; }
  // 2 .. 24; ignored while Active.
  std::int32_t NumBuffers() const { return FNumBuffers; }
  void SetNumBuffers(std::int32_t Value);
  // Two channels or one; ignored while Active.
  bool Stereo() const { return FStereo; }
  void SetStereo(bool Value);
  // Bits per sample: 8, 16, 24 or 32 (rounded down to a multiple of 8,
  // held within 8 .. 32); ignored while Active.
  std::uint16_t Quantization() const { return FQuantization; }
  void SetQuantization(std::uint16_t Value);
  // -1: the system's default device; otherwise an index into the devices
  // the sound layer lists.
  std::int32_t WaveDevice() const { return FWaveDevice; }
  void SetWaveDevice(std::int32_t Value) { FWaveDevice = Value; }
  // The bytes of a buffer in use: the size asked (at least 512) rounded down
  // to whole frames. A change is ignored while Active.
  std::int32_t BufferSize() const { return FUsedSize; }
  void SetBufferSize(std::int32_t Value);
  // Computed by each monitor read.
  double Overlapping() const { return FOverlapping; }
  double MonitorFreq() const { return FMonitorFreq; }
  // The device's format, in the layout of a WAV file's "fmt " chunk.
  const TWaveFormat& WaveFormat() const { return FFormat; }
  // The device position at the last UpdatePosition, in frames.
  std::int64_t Position() const { return FPosition; }

  // events
  // The device opened and closed; they come from the event source after
  // Start and after the close.
  const TNotifyEvent& OnStart() const { return FOnStart; }
  void SetOnStart(TNotifyEvent Value) { FOnStart = std::move(Value); }
  const TNotifyEvent& OnStop() const { return FOnStop; }
  void SetOnStop(TNotifyEvent Value) { FOnStop = std::move(Value); }

  // operations
  // Len frames of Buffer from frame SrcIndex into Dst from frame Index.
  // Raises "DecodeBuffer: (SrcIndex+Len) > aLen" beyond a buffer and
  // "DecodeBuffer: (Index+Len) > aLen" beyond Dst.
  void DecodeBuffer(std::span<const std::uint8_t> Buffer, numeric::TVec& Dst, std::int32_t SrcIndex,
                    std::int32_t Index, std::int32_t Len) const;
  // The latest samples into Left (channel 0) and Right (channel 1; channel 0
  // of a mono device), as many as the longer of the two holds; either may be
  // nullptr. Then OnDisplayUpdate, when the editor is open.
  void Monitor(TSignal* Left, TSignal* Right);

  // introduced virtual
  // Position := GetPosition.
  virtual void UpdatePosition();
  // The latest samples, interleaved, into Dst.
  virtual void ReadMonitor(numeric::TVec& Dst) = 0;
  // Opens the device and starts; whether it began.
  virtual bool Start() = 0;
  // Active is False, no buffer is refilled, and an open device stops at
  // once and closes.
  virtual void Stop();
  // No buffer is refilled; what is queued plays out (or records).
  virtual void StopRefill();
  // Active is False and the device is released.
  virtual void Close();
  // 0 unless Active; else the device's position in frames, plus
  // MonitorAggressiveness milliseconds when it is not 0.
  virtual std::int64_t GetPosition();

  // overrides
  // Active changes through Start and Stop only.
  void SetActive(bool Value) override;
  // An error stops the device and is raised again.
  std::uint8_t Update() override;
  void SetChannelCount(std::int32_t Value) override;
  void SetSamplingFrequency(double Value) override;

 protected:
  // The hand-over of a buffer to the update step, for the life of a scope.
  class THandOver {
   public:
    THandOver(TAudioSignal& Owner, std::int32_t Index, std::int32_t Bytes);
    ~THandOver();
    THandOver(const THandOver&) = delete;
    THandOver& operator=(const THandOver&) = delete;

   private:
    TAudioSignal& FOwner;
  };

  std::uint8_t* BufferData(std::int32_t Index) const;
  std::span<std::uint8_t> BufferBytes(std::int32_t Index) const;
  std::int32_t FramesPerBuffer() const;
  std::int32_t BytesPerSample() const { return FQuantization / 8; }
  bool BufferReady() const { return FReady; }
  std::int32_t TargetIndex() const { return FTargetIndex; }
  std::int32_t TargetBytes() const { return FTargetBytes; }

  // Opens the device (raising "Audio format not supported by the specified
  // device." for a format it refuses and the device's text otherwise) and
  // has OnDone hear its finished buffers. OnStart follows.
  void OpenDevice(audio::TWaveDirection Direction, std::function<void(std::int32_t, std::int32_t)> OnDone);
  // Releases the device; OnStop follows. Nothing when it is not open.
  void CloseDevice();
  bool DeviceOpen() const { return static_cast<bool>(FStream); }
  audio::TWaveStream& Stream() const { return *FStream; }
  void SetActiveState(bool Value) { TAnalysis::SetActive(Value); }
  // Stop, for a device whose work failed; an error of Stop itself is
  // dropped in favour of the one being raised.
  void StopAfterError() noexcept;
  // Overlapping and MonitorFreq of a monitor read of N frames.
  void MeasureMonitor(std::int32_t N);

  // The ring's bookkeeping: the next buffer to queue, buffers filled, done
  // and pending, and whether buffers are refilled.
  std::int32_t FCurrent = 0;
  std::int32_t FFilled = 0;
  std::int32_t FDone = 0;
  std::int32_t FPending = 0;
  bool FRunning = false;
  // The device position (frames) and the position at the last monitor read.
  std::int64_t FPosition = 0;
  std::int64_t FLastPosition = 0;
  // The bytes each buffer holds for the device.
  std::array<std::int32_t, MaxBuffers> FHeaderBytes{};

 private:
  void RebuildFormat();
  void AllocateBuffers();
  void Post(const TNotifyEvent& Event);

  bool FReady = false;
  std::int32_t FTargetIndex = -1;
  std::int32_t FTargetBytes = 0;
  std::int32_t FRequestedSize = 8192;
  std::int32_t FUsedSize = 8192;
  TWaveFormat FFormat;
  std::int32_t FWaveDevice = -1;
  std::int32_t FNumBuffers = 4;
  bool FStereo = false;
  std::uint16_t FQuantization = 16;
  bool FAutoPull = true;
  std::int32_t FMonitorAggressiveness = 0;
  double FOverlapping = 0.0;
  double FMonitorFreq = 0.0;
  TNotifyEvent FOnStart;
  TNotifyEvent FOnStop;
  // Each buffer's memory, with room to start it on a 32-byte boundary.
  std::vector<std::vector<std::uint8_t>> FBuffers;
  std::shared_ptr<audio::TWaveStream> FStream;
  // Expires with the component, so that a late report finds nothing.
  std::shared_ptr<int> FAlive = std::make_shared<int>(0);
};

// Fills the handed-over buffer: Length is its room in frames and becomes
// the frames filled; the result says whether it was filled.
using TBufferOutEvent = std::function<bool(std::int32_t& Length)>;

class TSignalOut : public TAudioSignal {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalOut(classlib::TComponent* AOwner = nullptr);
  ~TSignalOut() override;

  // properties
  // Multiplies the input's values on their way to the device; 0 is stored
  // as 1.
  double ScaleFactor() const { return FScaleFactor; }
  void SetScaleFactor(double Value);
  numeric::TRounding Rounding() const { return FRounding; }
  void SetRounding(numeric::TRounding Value) { FRounding = Value; }
  TSignal* Input() const { return dynamic_cast<TSignal*>(GetInput()); }
  // Set while Active: the device pauses or plays on.
  bool Paused() const { return FPaused; }
  void SetPaused(bool Value);

  // events
  const TBufferOutEvent& OnBufferFill() const { return FOnBufferFill; }
  void SetOnBufferFill(TBufferOutEvent Value) { FOnBufferFill = std::move(Value); }

  // introduced virtual
  // Fills buffer Index (of Size bytes) from the pipeline or OnBufferFill;
  // False unless refills run, and when the input has no more data.
  virtual bool FillBuffer(std::int32_t Index, std::int32_t Size);
  virtual void Open();

  // overrides
  std::string EditorClassName() const override { return "TSignalOutDialogForm"; }
  // Raises "Input must be a TSignal" for another kind of component.
  void SetInput(TAnalysis* Value) override;
  bool Start() override;
  // Paused is False again.
  void Close() override;
  void ReadMonitor(numeric::TVec& Dst) override;
  // Converts the input's values into the handed-over buffer: "Buffer not
  // ready!" without one, "BufferSize < Input.Length!" when they do not fit.
  std::uint8_t InternalUpdate() override;

 private:
  void BufferDone(std::int32_t Index);
  // Queues buffer Index at the device.
  void WriteBuffer(std::int32_t Index);

  double FScaleFactor = 1.0;
  numeric::TRounding FRounding = numeric::rnTrunc;
  bool FPaused = false;
  TBufferOutEvent FOnBufferFill;
  // Start pulled the input already; the first fill only converts it.
  bool FFirstPulled = false;
  std::uint8_t FFirstResult = 0;
  std::vector<double> FScratch;
};

enum TChannel : std::uint8_t { chLeft, chRight, chThird, chFourth, chFifth, chSixth };
enum TTriggerPosition : std::uint8_t { tpAfter, tpBefore, tpCenter, tpUser };
enum TTriggerMode : std::uint8_t { trCrossing, trAboveBelow, trPeak };
enum TTrigger : std::uint8_t { trNone, trSingle, trAuto };

// The trigger bookkeeping the recording dialog reads and resets; the
// recorder itself records continuously.
struct TTriggerState {
  std::array<bool, 2> Triggered{};
  std::array<std::int64_t, 2> ChannelPosition{};
  std::array<std::int32_t, 2> CatchUpsA{};
  std::array<std::int32_t, 2> CatchUpsB{};
};

// Says whether a recorded buffer was taken.
using TBufferInEvent = std::function<bool()>;

class TSignalIn : public TAudioSignal {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalIn(classlib::TComponent* AOwner = nullptr);
  ~TSignalIn() override;

  // properties
  // The component pulled after each recorded buffer: a consumer whose
  // inputs lead back to this recorder.
  TSignal* Input() const { return dynamic_cast<TSignal*>(GetInput()); }
  // 0 .. 500.
  std::int32_t AutoTriggerLag() const { return FAutoTriggerLag; }
  void SetAutoTriggerLag(std::int32_t Value);
  TChannel TriggerChannel() const { return FTriggerChannel; }
  void SetTriggerChannel(TChannel Value) { FTriggerChannel = Value; }
  double TriggerAbove() const { return FTriggerAbove; }
  void SetTriggerAbove(double Value) { FTriggerAbove = Value; }
  double TriggerBelow() const { return FTriggerBelow; }
  void SetTriggerBelow(double Value) { FTriggerBelow = Value; }
  std::int32_t TriggerDelay() const { return FTriggerDelay; }
  void SetTriggerDelay(std::int32_t Value) { FTriggerDelay = Value; }
  TTriggerPosition TriggerPosition() const { return FTriggerPosition; }
  void SetTriggerPosition(TTriggerPosition Value) { FTriggerPosition = Value; }
  TTriggerMode TriggerMode() const { return FTriggerMode; }
  void SetTriggerMode(TTriggerMode Value) { FTriggerMode = Value; }
  TTrigger Triggering() const { return FTriggering; }
  void SetTriggering(TTrigger Value) { FTriggering = Value; }
  // 0 .. 100.
  std::int32_t TriggerPercentage() const { return FTriggerPercentage; }
  void SetTriggerPercentage(std::int32_t Value);
  const TTriggerState& TriggerState() const { return FTriggerState; }

  // events
  const TBufferInEvent& OnBufferFilled() const { return FOnBufferFilled; }
  void SetOnBufferFilled(TBufferInEvent Value) { FOnBufferFilled = std::move(Value); }

  // operations
  // Clears the flags of channels 0 and 1 and stores the device position
  // for each.
  void ResetChannelState();
  void ResetCatchUpsA();
  void ResetCatchUpsB();

  // introduced virtual
  // Hands buffer Index (Bytes recorded) to OnBufferFilled and to a pull of
  // Input; whether it was taken. False unless refills run.
  virtual bool ProcessBuffer(std::int32_t Index, std::int32_t Bytes);
  virtual void Open();

  // overrides
  std::string EditorClassName() const override { return "TSignalInDialogForm"; }
  // Raises "Input must be a TSignal" for another kind of component.
  void SetInput(TAnalysis* Value) override;
  bool Start() override;
  void ReadMonitor(numeric::TVec& Dst) override;
  // The recorder's data are current once a buffer is handed over.
  std::uint8_t UpdateChain() override { return Update(); }
  void MarkDirty() override {}
  // Decodes the handed-over buffer into Data; "Buffer not ready!" without one.
  std::uint8_t InternalUpdate() override;

 private:
  void BufferDone(std::int32_t Index, std::int32_t Bytes);
  void AddBuffer(std::int32_t Index);

  TBufferInEvent FOnBufferFilled;
  std::int32_t FAutoTriggerLag = 200;
  TChannel FTriggerChannel = chLeft;
  double FTriggerAbove = 0.0;
  double FTriggerBelow = 0.0;
  std::int32_t FTriggerDelay = 0;
  TTriggerPosition FTriggerPosition = tpAfter;
  TTriggerMode FTriggerMode = trCrossing;
  TTrigger FTriggering = trNone;
  std::int32_t FTriggerPercentage = 0;
  TTriggerState FTriggerState;
};

// Registers TSignalOut and TSignalIn with the class registry, and takes them
// out again.
void RegisterAudioSignalClasses();
void UnregisterAudioSignalClasses();

}  // namespace sig

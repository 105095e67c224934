// TSignalIn: recording. Start opens the device and queues the ring; each
// buffer the device has filled goes to OnBufferFilled and to a pull of
// Input (whose inputs lead back here and decode it) and is queued again when
// it was taken. The device closes once no buffer is queued.
// Tested by: signal/tests/SignalInTest.cpp.
#include <algorithm>
#include <string>

#include "numeric/MathCore.h"
#include "signal/AudioSignal.h"

namespace sig {

const classlib::TClassInfo& TSignalIn::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalIn>("TSignalIn", TAudioSignal::StaticClassInfo())
          .Property("BufferSize", &TSignalIn::BufferSize, &TSignalIn::SetBufferSize, 8192)
          .Property("UsesInputs", &TSignalIn::UsesInputs, &TSignalIn::SetUsesInputs, false)
          .Property("Input", &TSignalIn::Input, &TSignalIn::SetInput)
          .TypeName("TSignal")
          .Stored(&TSignalIn::InputStored)
          .Property("AutoTriggerLag", &TSignalIn::AutoTriggerLag, &TSignalIn::SetAutoTriggerLag, 200)
          .Property("TriggerChannel", &TSignalIn::TriggerChannel, &TSignalIn::SetTriggerChannel, chLeft)
          .TypeName("TChannel")
          .Names({"chLeft", "chRight", "chThird", "chFourth", "chFifth", "chSixth"})
          .Property("TriggerAbove", &TSignalIn::TriggerAbove, &TSignalIn::SetTriggerAbove, 0.0)
          .Property("TriggerBelow", &TSignalIn::TriggerBelow, &TSignalIn::SetTriggerBelow, 0.0)
          .Property("TriggerDelay", &TSignalIn::TriggerDelay, &TSignalIn::SetTriggerDelay, 0)
          .Property("TriggerPosition", &TSignalIn::TriggerPosition, &TSignalIn::SetTriggerPosition, tpAfter)
          .TypeName("TTriggerPosition")
          .Names({"tpAfter", "tpBefore", "tpCenter", "tpUser"})
          .Property("TriggerMode", &TSignalIn::TriggerMode, &TSignalIn::SetTriggerMode, trCrossing)
          .TypeName("TTriggerMode")
          .Names({"trCrossing", "trAboveBelow", "trPeak"})
          .Property("Triggering", &TSignalIn::Triggering, &TSignalIn::SetTriggering, trNone)
          .TypeName("TTrigger")
          .Names({"trNone", "trSingle", "trAuto"})
          .Creatable()
          .Build();
  return info;
}

TSignalIn::TSignalIn(classlib::TComponent* AOwner) : TAudioSignal(AOwner) { SetUsesInputs(false); }

TSignalIn::~TSignalIn() {
  try {
    if (DeviceOpen()) Stop();
  } catch (...) {
    // A device that fails to stop is released by the base all the same.
  }
}

void TSignalIn::SetInput(TAnalysis* Value) {
  if (Value != nullptr && dynamic_cast<TSignal*>(Value) == nullptr) numeric::RaiseError("Input must be a TSignal");
  TAudioSignal::SetInput(Value);
}

void TSignalIn::SetAutoTriggerLag(std::int32_t Value) { FAutoTriggerLag = std::clamp(Value, 0, 500); }

void TSignalIn::SetTriggerPercentage(std::int32_t Value) { FTriggerPercentage = std::clamp(Value, 0, 100); }

void TSignalIn::ResetChannelState() {
  const std::int64_t position = GetPosition();
  for (std::size_t c = 0; c < 2; ++c) {
    FTriggerState.Triggered[c] = false;
    FTriggerState.ChannelPosition[c] = position;
  }
}

void TSignalIn::ResetCatchUpsA() { FTriggerState.CatchUpsA.fill(0); }

void TSignalIn::ResetCatchUpsB() { FTriggerState.CatchUpsB.fill(0); }

bool TSignalIn::Start() {
  FTriggerState = TTriggerState{};
  FPosition = 0;
  FLastPosition = 0;
  Open();
  try {
    Stream().Start();
  } catch (const audio::EAudioError& e) {
    Close();
    numeric::RaiseError("Error starting wave record: " + e.Message());
  }
  SetActiveState(true);
  try {
    for (std::int32_t i = 0; i < NumBuffers(); ++i) AddBuffer(i);
  } catch (...) {
    FRunning = false;
    Close();
    throw;
  }
  return true;
}

void TSignalIn::Open() {
  if (DeviceOpen()) numeric::RaiseError("Wave Input device is already open");
  FCurrent = 0;
  OpenDevice(audio::wdCapture, [this](std::int32_t Index, std::int32_t Bytes) { BufferDone(Index, Bytes); });
  FFilled = 0;
  FDone = 0;
  FPending = 0;
  FRunning = true;
  SetActiveState(true);
}

void TSignalIn::AddBuffer(std::int32_t Index) {
  try {
    Stream().Queue(Index, BufferData(Index), BufferSize());
  } catch (const audio::EAudioError& e) {
    FRunning = false;
    numeric::RaiseError(e.Message());
  }
  FCurrent = (Index + 1) % NumBuffers();
  ++FPending;
}

void TSignalIn::BufferDone(std::int32_t Index, std::int32_t Bytes) {
  ++FDone;
  --FPending;
  // The device reports the buffer it filled: a buffer that was not taken
  // leaves the ring, and the others are still processed in their order.
  // A consumer that fails anywhere in the pipeline stops the device, as an
  // error of the recorder's own update does.
  try {
    if (ProcessBuffer(Index, Bytes)) AddBuffer(Index);
  } catch (...) {
    StopAfterError();
    throw;
  }
  SetActiveState(FPending > 0);
  if (!Active()) {
    FRunning = false;
    Close();
  }
}

bool TSignalIn::ProcessBuffer(std::int32_t Index, std::int32_t Bytes) {
  if (!FRunning) return false;
  TAnalysis::MarkDirty();
  THandOver handOver(*this, Index, std::clamp(Bytes, 0, BufferSize()));
  bool result = true;
  if (OnBufferFilled()) result = OnBufferFilled()();
  // A buffer the application declined is not passed on either.
  if (result && AutoPull() && Input() != nullptr) result = Input()->Pull() == 0;
  if (result) ++FFilled;
  return result;
}

std::uint8_t TSignalIn::InternalUpdate() {
  if (!BufferReady()) numeric::RaiseError("Buffer not ready!");
  SetLength(TargetBytes() / BytesPerSample());
  DecodeBuffer(BufferBytes(TargetIndex()), Data(), 0, 0, Length() / WaveFormat().nChannels);
  return 0;
}

void TSignalIn::ReadMonitor(numeric::TVec& Dst) {
  if (FPending < 2) return;
  const std::int32_t channels = WaveFormat().nChannels;
  const std::int32_t frames = FramesPerBuffer();
  std::int32_t n = Dst.Length() / channels;
  const std::int64_t position = std::max<std::int64_t>(FPosition, 0);
  const std::int64_t ring = std::int64_t{NumBuffers()} * frames;
  const std::int64_t available = std::min(FDone >= NumBuffers() ? ring : position, position);
  MeasureMonitor(n);
  if (n > available) {
    Dst.SetZero();
    n = static_cast<std::int32_t>(available);
  }
  // The n frames that end at the position, from the buffer that holds it
  // back to the earlier ones.
  std::int64_t end = position;
  std::int32_t left = n;
  while (left > 0) {
    const auto inBuffer = static_cast<std::int32_t>((end - 1) % frames + 1);
    const auto buffer = static_cast<std::int32_t>((end - 1) / frames % NumBuffers());
    const std::int32_t take = std::min(inBuffer, left);
    DecodeBuffer(BufferBytes(buffer), Dst, inBuffer - take, left - take, take);
    left -= take;
    end -= take;
  }
  FLastPosition = FPosition;
}

}  // namespace sig

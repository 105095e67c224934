// TSignalOut: playback. Start pulls the first block, opens the device and
// queues the filled buffers; each buffer the device has played is refilled
// by pulling the pipeline and queued again, until the input ends or refills
// stop, and the device closes once nothing is queued.
// Tested by: signal/tests/SignalOutTest.cpp.
#include <algorithm>
#include <string>

#include "numeric/MathCore.h"
#include "platform/spl/SampleConversions.h"
#include "signal/AudioSignal.h"
#include "signal/SignalFileInternal.h"

namespace sig {

using detail::RoundingFlag;

const classlib::TClassInfo& TSignalOut::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalOut>("TSignalOut", TAudioSignal::StaticClassInfo())
          .Property("ScaleFactor", &TSignalOut::ScaleFactor, &TSignalOut::SetScaleFactor, 1.0)
          .Property("BufferSize", &TSignalOut::BufferSize, &TSignalOut::SetBufferSize, 8192)
          .Property("Rounding", &TSignalOut::Rounding, &TSignalOut::SetRounding, numeric::rnTrunc)
          .TypeName("TRounding")
          .Names({"rnTrunc", "rnTruncNeg", "rnRound"})
          .Property("Input", &TSignalOut::Input, &TSignalOut::SetInput)
          .TypeName("TSignal")
          .Stored(&TSignalOut::InputStored)
          .Property("Paused", &TSignalOut::Paused, &TSignalOut::SetPaused, false)
          .Creatable()
          .Build();
  return info;
}

TSignalOut::TSignalOut(classlib::TComponent* AOwner) : TAudioSignal(AOwner) { SetUsesInputs(true); }

TSignalOut::~TSignalOut() {
  try {
    if (DeviceOpen()) Stop();
  } catch (...) {
    // A device that fails to stop is released by the base all the same.
  }
}

void TSignalOut::SetScaleFactor(double Value) {
  // A factor of 0 would send silence and make the monitor divide by it.
  FScaleFactor = Value == 0.0 ? 1.0 : Value;
}

void TSignalOut::SetInput(TAnalysis* Value) {
  if (Value != nullptr && dynamic_cast<TSignal*>(Value) == nullptr) numeric::RaiseError("Input must be a TSignal");
  TAudioSignal::SetInput(Value);
}

void TSignalOut::SetPaused(bool Value) {
  FPaused = Value;
  if (!Active() || !DeviceOpen()) return;
  if (Value)
    Stream().Pause();
  else
    Stream().Restart();
}

bool TSignalOut::Start() {
  // Before the first block is pulled, which would otherwise be lost.
  if (DeviceOpen()) numeric::RaiseError("Wave output device already open.");
  FPosition = 0;
  FLastPosition = 0;
  FFirstPulled = false;
  if (Input() != nullptr && AutoPull()) {
    FFirstResult = Input()->Pull();
    SetChannelCount(Input()->ChannelCount());
    SetBufferSize(Input()->Length() * Quantization() / 8);
    SetSamplingFrequency(Input()->SamplingFrequency());
    FFirstPulled = true;
  }
  Open();
  SetActiveState(true);
  if (FPaused) Stream().Pause();
  // Only the buffers that were filled: a sound shorter than the ring plays
  // no stale bytes after its end.
  const std::int32_t filled = FFilled;
  for (std::int32_t i = 0; i < filled; ++i) WriteBuffer(i);
  return true;
}

void TSignalOut::Open() {
  if (DeviceOpen()) numeric::RaiseError("Wave output device already open.");
  OpenDevice(audio::wdPlayback, [this](std::int32_t Index, std::int32_t) { BufferDone(Index); });
  try {
    FCurrent = 0;
    FFilled = 0;
    FDone = 0;
    FPending = 0;
    FRunning = true;
    SetActiveState(true);
    if (!FillBuffer(0, BufferSize())) numeric::RaiseError("There must be at least one filled buffer");
    for (std::int32_t i = 1; i < NumBuffers(); ++i)
      if (!FillBuffer(i, BufferSize())) break;
  } catch (...) {
    Close();
    throw;
  }
}

bool TSignalOut::FillBuffer(std::int32_t Index, std::int32_t Size) {
  if (!FRunning) return false;
  bool result = false;
  const std::int32_t channels = WaveFormat().nChannels;
  const std::int32_t bytes = BytesPerSample();
  THandOver handOver(*this, Index, Size);
  if (AutoPull() && Input() != nullptr) {
    std::uint8_t pulled = 0;
    if (FFirstPulled) {
      FFirstPulled = false;
      pulled = FFirstResult == 0 ? Update() : FFirstResult;
    } else {
      pulled = Pull();
    }
    result = pulled == 0;
    FHeaderBytes[static_cast<std::size_t>(Index)] = channels * (Input()->Length() / channels) * bytes;
  }
  if (FOnBufferFill) {
    std::int32_t length = Size / channels / bytes;
    result = FOnBufferFill(length);
    length = std::clamp(length, 0, Size / channels / bytes);
    FHeaderBytes[static_cast<std::size_t>(Index)] = length * channels * bytes;
  }
  if (result) {
    ++FFilled;
    FPending = FFilled - FDone;
  }
  return result;
}

void TSignalOut::WriteBuffer(std::int32_t Index) {
  try {
    Stream().Queue(Index, BufferData(Index), FHeaderBytes[static_cast<std::size_t>(Index)]);
  } catch (const audio::EAudioError& e) {
    FRunning = false;
    numeric::RaiseError(e.Message());
  }
  FCurrent = (Index + 1) % NumBuffers();
}

void TSignalOut::BufferDone(std::int32_t Index) {
  ++FDone;
  FPending = FFilled - FDone;
  // The device reports the buffer it played; refilling that one keeps the
  // ring in order whatever was queued before. A refill that fails anywhere
  // in the pipeline stops the device, as one that fails here does.
  if (FRunning) {
    try {
      if (FillBuffer(Index, BufferSize()))
        WriteBuffer(Index);
      else
        FRunning = false;
    } catch (...) {
      StopAfterError();
      throw;
    }
  }
  SetActiveState(FPending > 0);
  if (FPending <= 0) {
    FRunning = false;
    Close();
  }
}

void TSignalOut::Close() {
  FPaused = false;
  TAudioSignal::Close();
}

std::uint8_t TSignalOut::InternalUpdate() {
  if (!BufferReady()) numeric::RaiseError("Buffer not ready!");
  const TSignal* input = Input();
  if (input == nullptr) numeric::RaiseError("Input = nil!");
  const std::int32_t n = input->Length();
  const std::int32_t bytes = BytesPerSample();
  if (n > TargetBytes() / bytes) numeric::RaiseError("BufferSize < Input.Length!");
  if (n == 0) return 0;
  if (input->Complex()) numeric::RaiseError("A complex signal cannot be played");
  // The input's values stay as they are: the scaled copy is converted.
  FScratch.assign(input->Data().Values(), input->Data().Values() + n);
  const double offset = Quantization() == 8 ? 128.0 : 0.0;
  for (double& v : FScratch) v = v * FScaleFactor + offset;
  std::uint8_t* target = BufferData(TargetIndex());
  if (Quantization() == 24) {
    numeric::FloatToInt24(n, FScratch, std::span<std::uint8_t>(target, static_cast<std::size_t>(n) * 3), FRounding);
  } else {
    int flags = spl::NSP_Clip | RoundingFlag(FRounding);
    if (Quantization() == 8) flags |= spl::NSP_Unsigned;
    spl::nspdbFloatToInt(FScratch.data(), target, n, Quantization(), flags);
  }
  return 0;
}

void TSignalOut::ReadMonitor(numeric::TVec& Dst) {
  if (FPending < 2) return;
  const std::int32_t channels = WaveFormat().nChannels;
  const std::int32_t frames = FramesPerBuffer();
  std::int32_t n = Dst.Length() / channels;
  const std::int32_t available = (FPending - 1) * frames;
  MeasureMonitor(n);
  if (n > available) {
    Dst.SetZero();
    n = available;
  }
  // The buffer now playing is the oldest one queued.
  std::int32_t buffer = ((FCurrent - FPending) % NumBuffers() + NumBuffers()) % NumBuffers();
  auto frame = static_cast<std::int32_t>(std::max<std::int64_t>(FPosition, 0) % frames);
  std::int32_t index = 0;
  while (index < n) {
    const std::int32_t take = std::min(frames - frame, n - index);
    DecodeBuffer(BufferBytes(buffer), Dst, frame, index, take);
    index += take;
    frame = 0;
    buffer = (buffer + 1) % NumBuffers();
  }
  Dst.Scale(1.0 / FScaleFactor);
  FLastPosition = FPosition;
}

}  // namespace sig

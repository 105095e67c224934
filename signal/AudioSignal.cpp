// TAudioSignal: the wave format, the ring of buffers, the device's opening
// and closing, the decoding of buffers and the monitor; the AudioSignal
// unit's class registration.
// Tested by: signal/tests/AudioSignalTest.cpp.
#include "signal/AudioSignal.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <string>

#include "numeric/MathCore.h"
#include "platform/classlib/ClassRegistry.h"
#include "platform/spl/SampleConversions.h"
#include "signal/SignalInternal.h"

namespace sig {

namespace {

// Room behind a buffer's bytes, and room to start them on a 32-byte boundary.
constexpr std::size_t BufferSlack = 128;
constexpr std::size_t BufferAlign = 32;

}  // namespace

const classlib::TClassInfo& TAudioSignal::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TAudioSignal>("TAudioSignal", TSignal::StaticClassInfo())
          .Property("MonitorAggressiveness", &TAudioSignal::MonitorAggressiveness,
                    &TAudioSignal::SetMonitorAggressiveness, 0)
          .Property("AutoPull", &TAudioSignal::AutoPull, &TAudioSignal::SetAutoPull, true)
          .Property("NumBuffers", &TAudioSignal::NumBuffers, &TAudioSignal::SetNumBuffers, 4)
          .Property("Stereo", &TAudioSignal::Stereo, &TAudioSignal::SetStereo, false)
          .Property("Quantization", &TAudioSignal::Quantization, &TAudioSignal::SetQuantization, 16)
          .TypeName("Word")
          .Property("WaveDevice", &TAudioSignal::WaveDevice, &TAudioSignal::SetWaveDevice, -1)
          .Property("Overlapping", &TAudioSignal::Overlapping, nullptr)
          .TypeName("Single")
          .Property("MonitorFreq", &TAudioSignal::MonitorFreq, nullptr)
          .TypeName("Single")
          .Build();
  return info;
}

TAudioSignal::TAudioSignal(classlib::TComponent* AOwner) : TSignal(AOwner) {
  TAnalysis::SetActive(false);
  TSignal::SetSamplingFrequency(22050.0);
  RebuildFormat();
}

TAudioSignal::~TAudioSignal() {
  // A descendant stops its device in its own destructor; this only makes
  // sure that no stream outlives the buffers it holds.
  if (FStream) {
    FStream->Close();
    if (auto events = audio::AudioEventSource()) events->Unwatch(*FStream);
    FStream.reset();
  }
}

void TAudioSignal::SetActive(bool) {}

void TAudioSignal::SetMonitorAggressiveness(std::int32_t Value) {
  FMonitorAggressiveness = std::clamp(Value, 0, 500);
}

void TAudioSignal::SetNumBuffers(std::int32_t Value) {
  if (Active()) return;
  FNumBuffers = std::clamp(Value, 2, MaxBuffers);
  AllocateBuffers();
}

void TAudioSignal::SetStereo(bool Value) {
  if (Active()) return;
  FStereo = Value;
  TSignal::SetChannelCount(Value ? 2 : 1);
  RebuildFormat();
}

void TAudioSignal::SetQuantization(std::uint16_t Value) {
  if (Active()) return;
  // A width below a byte would make frames of no bytes.
  FQuantization = std::clamp<std::uint16_t>(static_cast<std::uint16_t>(Value - Value % 8), 8, 32);
  RebuildFormat();
}

void TAudioSignal::SetBufferSize(std::int32_t Value) {
  if (Active() || Value == FRequestedSize) return;
  FRequestedSize = std::max(Value, MinBufferSize);
  RebuildFormat();
}

void TAudioSignal::SetChannelCount(std::int32_t Value) {
  if (Value == ChannelCount()) return;
  TSignal::SetChannelCount(Value);
  FStereo = ChannelCount() == 2;
  // The device keeps the format it was opened with.
  if (!Active()) RebuildFormat();
}

void TAudioSignal::SetSamplingFrequency(double Value) {
  if (Value == SamplingFrequency()) return;
  TSignal::SetSamplingFrequency(Value);
  if (!Active()) RebuildFormat();
}

void TAudioSignal::RebuildFormat() {
  // At most 0x3FFF channels of 4 bytes keep a frame within the record's
  // 16-bit block.
  const TWaveFormat f = LinearWaveFormat(
      static_cast<std::uint16_t>(std::clamp(ChannelCount(), 1, 0x3FFF)),
      static_cast<std::uint32_t>(std::max<std::int64_t>(detail::RoundIndex(SamplingFrequency()), 0)), FQuantization,
      KSDATAFORMAT_SUBTYPE_PCM);
  FFormat = f;
  const std::int32_t used = FRequestedSize - FRequestedSize % std::max<std::int32_t>(f.nBlockAlign, 1);
  // A frame wider than the size asked still gets one frame.
  FUsedSize = std::max<std::int32_t>(used, f.nBlockAlign);
  AllocateBuffers();
}

void TAudioSignal::AllocateBuffers() {
  std::vector<std::vector<std::uint8_t>> buffers;
  try {
    buffers.resize(static_cast<std::size_t>(FNumBuffers));
    for (auto& b : buffers) b.assign(static_cast<std::size_t>(FUsedSize) + BufferSlack + BufferAlign, 0);
  } catch (const std::bad_alloc&) {
    numeric::RaiseError("Error allocating wave buffer memory!");
  }
  FBuffers = std::move(buffers);
  FHeaderBytes.fill(0);
}

std::uint8_t* TAudioSignal::BufferData(std::int32_t Index) const {
  auto& memory = const_cast<std::vector<std::uint8_t>&>(FBuffers.at(static_cast<std::size_t>(Index)));
  const auto address = reinterpret_cast<std::uintptr_t>(memory.data());
  return memory.data() + (BufferAlign - address % BufferAlign) % BufferAlign;
}

std::span<std::uint8_t> TAudioSignal::BufferBytes(std::int32_t Index) const {
  return {BufferData(Index), static_cast<std::size_t>(FUsedSize)};
}

// The buffers hold frames of the device's format, which stays while the
// device is open whatever an update does to the channel count.
std::int32_t TAudioSignal::FramesPerBuffer() const { return FUsedSize / FFormat.nBlockAlign; }

TAudioSignal::THandOver::THandOver(TAudioSignal& Owner, std::int32_t Index, std::int32_t Bytes) : FOwner(Owner) {
  FOwner.FReady = true;
  FOwner.FTargetIndex = Index;
  FOwner.FTargetBytes = Bytes;
}

TAudioSignal::THandOver::~THandOver() {
  FOwner.FReady = false;
  FOwner.FTargetIndex = -1;
  FOwner.FTargetBytes = 0;
}

void TAudioSignal::Post(const TNotifyEvent& Event) {
  const auto events = audio::AudioEventSource();
  if (!events || !Event) return;
  events->Post([this, alive = std::weak_ptr<int>(FAlive), Event] {
    if (alive.lock()) Event(this);
  });
}

void TAudioSignal::OpenDevice(audio::TWaveDirection Direction,
                              std::function<void(std::int32_t, std::int32_t)> OnDone) {
  const auto events = audio::AudioEventSource();
  if (!events) numeric::RaiseError("No audio event source is installed");
  audio::TWaveFormat format;
  format.Channels = FFormat.nChannels;
  format.SamplesPerSec = static_cast<std::int32_t>(std::min<std::uint32_t>(FFormat.nSamplesPerSec, 0x7FFFFFFF));
  format.BitsPerSample = FFormat.wBitsPerSample;
  try {
    FStream = audio::AudioSystem()->OpenWave(Direction, FWaveDevice, format, {FUsedSize, FNumBuffers});
  } catch (const audio::EFormatRefused&) {
    numeric::RaiseError("Audio format not supported by the specified device.");
  } catch (const audio::EAudioError& e) {
    numeric::RaiseError(e.Message());
  }
  FStream->SetOnDone(std::move(OnDone));
  events->Watch(FStream);
  Post(FOnStart);
}

void TAudioSignal::CloseDevice() {
  if (!FStream) return;
  const std::shared_ptr<audio::TWaveStream> stream = std::move(FStream);
  if (auto events = audio::AudioEventSource()) events->Unwatch(*stream);
  stream->SetOnDone(nullptr);
  stream->Close();
  Post(FOnStop);
}

void TAudioSignal::Stop() {
  SetActiveState(false);
  FRunning = false;
  if (!DeviceOpen()) return;
  Stream().Reset();
  Close();
}

void TAudioSignal::Close() {
  SetActiveState(false);
  CloseDevice();
}

void TAudioSignal::StopRefill() { FRunning = false; }

std::int64_t TAudioSignal::GetPosition() {
  if (!Active() || !FStream) return 0;
  std::int64_t position = FStream->Position();
  if (position != 0) position += detail::TruncIndex(FMonitorAggressiveness * SamplingFrequency() / 1000.0);
  return position;
}

void TAudioSignal::UpdatePosition() { FPosition = GetPosition(); }

void TAudioSignal::StopAfterError() noexcept {
  try {
    Stop();
  } catch (...) {
    // The error that stopped the device is the one to report.
  }
}

std::uint8_t TAudioSignal::Update() {
  try {
    return TSignal::Update();
  } catch (...) {
    StopAfterError();
    throw;
  }
}

void TAudioSignal::MeasureMonitor(std::int32_t N) {
  if (N <= 0) return;
  const auto moved = static_cast<double>(FPosition - FLastPosition);
  FOverlapping = (1.0 - moved / N) * 100.0;
  // No movement leaves the frequency of reads as it was rather than infinite.
  if (FOverlapping != 0.0 && moved != 0.0) FMonitorFreq = SamplingFrequency() / moved;
}

void TAudioSignal::DecodeBuffer(std::span<const std::uint8_t> Buffer, numeric::TVec& Dst, std::int32_t SrcIndex,
                                std::int32_t Index, std::int32_t Len) const {
  if (Len == 0) return;
  const std::int32_t channels = FFormat.nChannels;
  const std::int32_t bytes = BytesPerSample();
  const std::int64_t frames = std::min<std::int64_t>(FramesPerBuffer(), Buffer.size() / bytes / channels);
  if (SrcIndex < 0 || Len < 0 || std::int64_t{SrcIndex} + Len > frames)
    numeric::RaiseError("DecodeBuffer: (SrcIndex+Len) > aLen");
  if (Index < 0 || (std::int64_t{Index} + Len) * channels > Dst.Length())
    numeric::RaiseError("DecodeBuffer: (Index+Len) > aLen");
  const std::int32_t n = Len * channels;
  const std::uint8_t* src = Buffer.data() + static_cast<std::size_t>(SrcIndex) * channels * bytes;
  double* dst = Dst.Values() + static_cast<std::ptrdiff_t>(Index) * channels;
  switch (FQuantization) {
    case 8:
      spl::nspdbIntToFloat(src, dst, n, 8, spl::NSP_Unsigned);
      for (std::int32_t i = 0; i < n; ++i) dst[i] -= 128.0;
      break;
    case 24:
      numeric::Int24ToFloat(n, std::span<const std::uint8_t>(src, static_cast<std::size_t>(n) * 3),
                            std::span<double>(Dst.Values(), static_cast<std::size_t>(Dst.Length())),
                            Index * channels);
      break;
    default:
      spl::nspdbIntToFloat(src, dst, n, FQuantization, 0);
      break;
  }
}

void TAudioSignal::Monitor(TSignal* Left, TSignal* Right) {
  UpdatePosition();
  const std::int32_t n = std::max(Left != nullptr ? Left->Length() : 0, Right != nullptr ? Right->Length() : 0);
  const std::int32_t channels = FFormat.nChannels;
  numeric::TVec scratch;
  scratch.Size(n * channels, false);
  scratch.SetZero();
  ReadMonitor(scratch);
  const auto fill = [&](TSignal* target, std::int32_t channel) {
    if (target == nullptr) return;
    target->Data().Size(n, false);
    double* values = target->Data().Values();
    const double* all = scratch.Values();
    for (std::int32_t j = 0; j < n; ++j) values[j] = all[static_cast<std::ptrdiff_t>(j) * channels + channel];
    target->SetSamplingFrequency(SamplingFrequency());
  };
  fill(Left, 0);
  fill(Right, std::min(1, channels - 1));
  if (OnDisplayUpdate() && EditorOpen()) OnDisplayUpdate()(this);
}

// --- the unit's registration -------------------------------------------------

namespace {

const std::vector<const classlib::TClassInfo*>& AudioSignalClasses() {
  static const std::vector<const classlib::TClassInfo*> classes = {
      &TSignalOut::StaticClassInfo(),
      &TSignalIn::StaticClassInfo(),
  };
  return classes;
}

}  // namespace

void RegisterAudioSignalClasses() { classlib::RegisterClasses(AudioSignalClasses()); }

void UnregisterAudioSignalClasses() {
  for (const classlib::TClassInfo* info : AudioSignalClasses()) classlib::UnRegisterClass(*info);
}

}  // namespace sig

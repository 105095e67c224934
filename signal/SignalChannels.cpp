// TSignalMux and TSignalDemux: interleaving channels and taking one out.
// Tested by: signal/tests/SignalChannelsTest.cpp.
#include "signal/SignalChannels.h"

#include <algorithm>
#include <string>

#include "numeric/MathCore.h"
#include "signal/SignalCollections.h"

namespace sig {

// --- TSignalMux ------------------------------------------------------------

const classlib::TClassInfo& TSignalMux::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalMux>("TSignalMux", TSignal::StaticClassInfo())
          .SubObject("Inputs", [](const TSignalMux& m) { return m.Inputs(); })
          .Stored(&TSignalMux::InputStored)
          .Creatable()
          .Build();
  return info;
}

TSignalMux::TSignalMux(classlib::TComponent* AOwner) : TSignal(AOwner) {
  SetMultiChannel(true);
  SetUsesInputs(true);
}

std::int32_t TSignalMux::GetChannelCount() const {
  // No inputs make no channels, but a count of 0 would divide the timing
  // by zero.
  return Inputs() != nullptr ? std::max(Inputs()->Count(), 1) : 1;
}

void TSignalMux::PrepareUpdate() {
  TSignal::PrepareUpdate();
  // The timing counts the interleaved channels.
  SetChannelCount(GetChannelCount());
}

std::uint8_t TSignalMux::InternalUpdate() {
  const std::int32_t n = Inputs()->Count();
  if (n == 0) numeric::RaiseError("Inputs[0] = nil!");
  for (std::int32_t i = 0; i < n; ++i)
    if (Inputs()->Items(i)->Input() == nullptr) numeric::RaiseError("Inputs[" + std::to_string(i) + "] = nil!");
  const std::int32_t length = Inputs()->Items(0)->Input()->Length();
  SetLength(length * n);
  numeric::TVec& data = Data();
  const std::int32_t width = data.Complex() ? 2 : 1;
  double* out = data.Values();
  for (std::int32_t i = 0; i < n; ++i) {
    const TSignal& input = *Inputs()->Items(i)->Input();
    const std::string item = "Inputs[" + std::to_string(i) + "]";
    if (input.Data().Complex() != data.Complex()) numeric::RaiseError(item + ".Input.Complex <> Self.Complex!");
    if (input.Data().Length() != Length() / n) numeric::RaiseError(item + ".Input.Length <> Self.Length!");
    const double* in = input.Data().Values();
    for (std::int32_t j = 0; j < length; ++j)
      std::copy_n(in + static_cast<std::ptrdiff_t>(j) * width, width,
                  out + (static_cast<std::ptrdiff_t>(j) * n + i) * width);
  }
  return 0;
}

// --- TSignalDemux ----------------------------------------------------------

const classlib::TClassInfo& TSignalDemux::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalDemux>("TSignalDemux", TSignal::StaticClassInfo())
          .Property(
              "Input", [](const TSignalDemux& d) { return d.InputSignal(); },
              [](TSignalDemux& d, TSignal* v) { d.SetInput(v); })
          .Stored(&TSignalDemux::InputStored)
          .Property("Channel", &TSignalDemux::Channel, &TSignalDemux::SetChannel)
          .Creatable()
          .Build();
  return info;
}

TSignalDemux::TSignalDemux(classlib::TComponent* AOwner) : TSignal(AOwner) { SetUsesInputs(true); }

std::uint8_t TSignalDemux::InternalUpdate() {
  const TSignal* input = InputSignal();
  if (input == nullptr) numeric::RaiseError("Input = nil!");
  SetChannelCount(1);
  Data().DownSample(input->Data(), input->ChannelCount(), FChannel);
  return 0;
}

}  // namespace sig

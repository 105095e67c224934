// Channel routing between pipeline stages, without computing on the samples:
// TSignalMux interleaves its one-channel Inputs into one signal of
// Inputs.Count channels, TSignalDemux takes one channel out of an interleaved
// Input. Sample j of channel c of an n-channel signal stands at index j n + c
// of Data (a complex sample as a whole pair).
//
// Tested by: signal/tests/SignalChannelsTest.cpp.
#pragma once

#include <cstdint>

#include "signal/Signal.h"

namespace sig {

class TSignalMux : public TSignal {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalMux(classlib::TComponent* AOwner = nullptr);

  // The number of inputs (1 while there are none).
  std::int32_t GetChannelCount() const override;
  // Input 0's timing, with one channel per input.
  void PrepareUpdate() override;
  // Raises "Inputs[i].Input.Complex <> Self.Complex!" and
  // "Inputs[i].Input.Length <> Self.Length!" for an input of another kind or
  // length than input 0.
  std::uint8_t InternalUpdate() override;
};

class TSignalDemux : public TSignal {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalDemux(classlib::TComponent* AOwner = nullptr);

  TSignal* InputSignal() const { return dynamic_cast<TSignal*>(GetInput()); }
  // The channel taken out, from 0.
  std::int32_t Channel() const { return FChannel; }
  void SetChannel(std::int32_t Value) { FChannel = Value; }

  // Every ChannelCount-th sample of the input from Channel on; "Phase >=
  // Factor" for a channel the input does not have.
  std::uint8_t InternalUpdate() override;

 private:
  std::int32_t FChannel = 0;
};

}  // namespace sig

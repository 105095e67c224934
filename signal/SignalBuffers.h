// Block buffers between pipeline stages, without computing on the samples.
//
// TSignalIncBuffer keeps a sliding window of the last Factor blocks of its
// Input, oldest first (blocks A, B, C, D with Factor 3 give A; AB; ABC;
// BCD); while it fills, it holds fewer. A shorter input block starts it
// over.
//
// TSignalDecBuffer hands out each block of its Input in Factor consecutive
// parts of Length div Factor samples, in time order: the first update after a
// pull of the input gives the first part, the next updates the following
// parts without pulling the input, and the update after the last part pulls
// it again. When the input reports end of data, so does the buffer, and it
// hands out nothing of the old block again.
//
// Tested by: signal/tests/SignalBuffersTest.cpp.
#pragma once

#include <cstdint>

#include "signal/Signal.h"

namespace sig {

class TSignalIncBuffer : public TSignal {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalIncBuffer(classlib::TComponent* AOwner = nullptr);

  TSignal* InputSignal() const { return dynamic_cast<TSignal*>(GetInput()); }
  // The blocks the window holds; below 1 stored as 1.
  std::int32_t Factor() const { return FFactor; }
  void SetFactor(std::int32_t Value);

  std::uint8_t InternalUpdate() override;

 private:
  std::int32_t FFactor = 1;
};

class TSignalDecBuffer : public TSignal {
  ORVEL_CLASS_INFO
 public:
  explicit TSignalDecBuffer(classlib::TComponent* AOwner = nullptr);

  TSignal* InputSignal() const { return dynamic_cast<TSignal*>(GetInput()); }
  // The parts a block is handed out in; below 1 stored as 1.
  std::int32_t Factor() const { return FFactor; }
  void SetFactor(std::int32_t Value);
  // The part the next update hands out, 0 .. Factor - 1.
  std::int32_t PartCounter() const { return FCounter; }

  // Pulls the input only for the first part of a block.
  std::uint8_t UpdateChain() override;
  std::uint8_t InternalUpdate() override;

 private:
  std::int32_t FFactor = 1;
  std::int32_t FCounter = 0;
};

}  // namespace sig

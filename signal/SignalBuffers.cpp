// TSignalIncBuffer and TSignalDecBuffer: a sliding window of blocks, and a
// block handed out in parts.
// Tested by: signal/tests/SignalBuffersTest.cpp.
#include "signal/SignalBuffers.h"

#include <algorithm>

#include "numeric/MathCore.h"

namespace sig {

namespace {

TSignal& RequireInput(TSignal* Input) {
  if (Input == nullptr) numeric::RaiseError("Input = nil!");
  return *Input;
}

}  // namespace

// --- TSignalIncBuffer ------------------------------------------------------

const classlib::TClassInfo& TSignalIncBuffer::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalIncBuffer>("TSignalIncBuffer", TSignal::StaticClassInfo())
          .Property(
              "Input", [](const TSignalIncBuffer& b) { return b.InputSignal(); },
              [](TSignalIncBuffer& b, TSignal* v) { b.SetInput(v); })
          .Stored(&TSignalIncBuffer::InputStored)
          .Property("Factor", &TSignalIncBuffer::Factor, &TSignalIncBuffer::SetFactor)
          .Creatable()
          .Build();
  return info;
}

TSignalIncBuffer::TSignalIncBuffer(classlib::TComponent* AOwner) : TSignal(AOwner) {
  SetUsesInputs(true);
  SetLength(0);
}

void TSignalIncBuffer::SetFactor(std::int32_t Value) { FFactor = std::max(Value, 1); }

std::uint8_t TSignalIncBuffer::InternalUpdate() {
  const numeric::TVec& block = RequireInput(InputSignal()).Data();
  numeric::TVec& data = Data();
  const std::int32_t n = block.Length();
  const std::int64_t full = static_cast<std::int64_t>(n) * FFactor;
  // A shorter block, or one of the other kind, starts the window over.
  if (full < data.Length() || block.Complex() != data.Complex()) data.Size(0, block.Complex());
  if (n == 0) return 0;
  if (full > data.Length())
    data.Resize(data.Length() + n);
  else
    data.Rotate(-n);
  data.Copy(block, 0, data.Length() - n, n);
  return 0;
}

// --- TSignalDecBuffer ------------------------------------------------------

const classlib::TClassInfo& TSignalDecBuffer::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSignalDecBuffer>("TSignalDecBuffer", TSignal::StaticClassInfo())
          .Property(
              "Input", [](const TSignalDecBuffer& b) { return b.InputSignal(); },
              [](TSignalDecBuffer& b, TSignal* v) { b.SetInput(v); })
          .Stored(&TSignalDecBuffer::InputStored)
          .Property("Factor", &TSignalDecBuffer::Factor, &TSignalDecBuffer::SetFactor)
          .Creatable()
          .Build();
  return info;
}

TSignalDecBuffer::TSignalDecBuffer(classlib::TComponent* AOwner) : TSignal(AOwner) { SetUsesInputs(true); }

void TSignalDecBuffer::SetFactor(std::int32_t Value) {
  FFactor = std::max(Value, 1);
  if (FCounter >= FFactor) FCounter = 0;
}

std::uint8_t TSignalDecBuffer::UpdateChain() {
  // Nothing to hand out: the counter stays where it is.
  if (!Dirty() || !Active()) return 0;
  const std::uint8_t result = FCounter == 0 ? TSignal::UpdateChain() : Update();
  // A block that did not come (end of data, not ready) is not handed out.
  if (result == 0) FCounter = (FCounter + 1) % FFactor;
  return result;
}

std::uint8_t TSignalDecBuffer::InternalUpdate() {
  const numeric::TVec& block = RequireInput(InputSignal()).Data();
  const std::int32_t part = block.Length() / FFactor;
  Data().Size(part, block.Complex());
  Data().Copy(block, FCounter * part, 0, part);
  return 0;
}

}  // namespace sig

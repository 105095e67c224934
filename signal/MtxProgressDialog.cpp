// TMtxProgressDialog: the loop range and the window factory.
// Tested by: signal/tests/SignalBrowseTest.cpp.
#include "signal/MtxProgressDialog.h"

#include <algorithm>
#include <limits>
#include <mutex>

namespace sig {

namespace {

struct TFactoryHolder {
  std::mutex Lock;
  TProgressWindowFactory Factory;
};

TFactoryHolder& Holder() {
  static TFactoryHolder holder;
  return holder;
}

// Max - Min + 1 in the 32-bit range.
std::int32_t Span(std::int32_t Min, std::int32_t Max) {
  return static_cast<std::int32_t>(std::min<std::int64_t>(static_cast<std::int64_t>(Max) - Min + 1,
                                                          std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

TProgressWindowFactory SetProgressWindowFactory(TProgressWindowFactory Factory) {
  TFactoryHolder& holder = Holder();
  std::lock_guard<std::mutex> guard(holder.Lock);
  std::swap(holder.Factory, Factory);
  return Factory;
}

const classlib::TClassInfo& TMtxProgressDialog::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TMtxProgressDialog>("TMtxProgressDialog", TMtxComponent::StaticClassInfo())
          .Property("Loops", &TMtxProgressDialog::Loops, &TMtxProgressDialog::SetLoops, 1)
          .Property("ThreadPriority", &TMtxProgressDialog::ThreadPriority, &TMtxProgressDialog::SetThreadPriority,
                    tpNormal)
          .TypeName("TThreadPriority")
          .Names({"tpIdle", "tpLowest", "tpLower", "tpNormal", "tpHigher", "tpHighest", "tpTimeCritical"})
          .Property("InternalLoop", &TMtxProgressDialog::InternalLoop, &TMtxProgressDialog::SetInternalLoop, true)
          .Property("InfiniteLoop", &TMtxProgressDialog::InfiniteLoop, &TMtxProgressDialog::SetInfiniteLoop, false)
          .Property("Min", &TMtxProgressDialog::Min, &TMtxProgressDialog::SetMin, 0)
          .Property("Max", &TMtxProgressDialog::Max, &TMtxProgressDialog::SetMax, 0)
          .Property("UpdateInterval", &TMtxProgressDialog::UpdateInterval, &TMtxProgressDialog::SetUpdateInterval, 200)
          .Property("ShowDialog", &TMtxProgressDialog::ShowDialog, &TMtxProgressDialog::SetShowDialog, false)
          .Creatable()
          .Build();
  return info;
}

TMtxProgressDialog::TMtxProgressDialog(classlib::TComponent* AOwner) : TMtxComponent(AOwner) {
  TProgressWindowFactory factory;
  {
    TFactoryHolder& holder = Holder();
    std::lock_guard<std::mutex> guard(holder.Lock);
    factory = holder.Factory;
  }
  if (factory) FWindow = factory(*this);
}

TMtxProgressDialog::~TMtxProgressDialog() = default;

void TMtxProgressDialog::SetLoops(std::int32_t Value) {
  FLoops = std::max(Value, 1);
  SetMax(static_cast<std::int32_t>(
      std::min<std::int64_t>(static_cast<std::int64_t>(FMin) + FLoops - 1, std::numeric_limits<std::int32_t>::max())));
}

void TMtxProgressDialog::SetMin(std::int32_t Value) {
  FMin = Value;
  FMax = std::max(FMin, FMax);
  FLoops = Span(FMin, FMax);
  if (FWindow) FWindow->RangeChanged();
}

void TMtxProgressDialog::SetMax(std::int32_t Value) {
  FMax = Value;
  FMin = std::min(FMin, FMax);
  FLoops = Span(FMin, FMax);
  if (FWindow) FWindow->RangeChanged();
}

}  // namespace sig

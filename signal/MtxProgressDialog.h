// TMtxProgressDialog: a non-visual component that describes a counted
// background computation: its loop range, the priority of its worker, its
// compute and progress events, and a small progress window with a Cancel
// button. Nothing in the system starts a computation with it: its
// properties are stored, and the signal browser configures one.
//
// The window belongs to the widget layer, which installs a factory for it;
// without one (headless use) the dialog has no window.
//
// Tested by: signal/tests/SignalBrowseTest.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "numeric/MtxBaseComp.h"
#include "signal/Analysis.h"

namespace sig {

// The priority of a worker thread, lowest first.
enum TThreadPriority : std::uint8_t { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// What a worker reports to OnProgressUpdate; no operation of the system
// reports one, so the values are left to the worker that will.
using TMtxProgressEvent = std::int32_t;
using TProgressUpdateEvent = std::function<void(classlib::TPersistent* Sender, TMtxProgressEvent Event)>;

class TMtxProgressDialog;

// The progress window of a dialog ("Processing", a Cancel button that stops
// the dialog, a progress bar from Min to Max), built by the widget layer.
class TProgressWindow {
 public:
  virtual ~TProgressWindow() = default;
  // The dialog's Min, Max or Loops changed: the window shows the range again.
  virtual void RangeChanged() = 0;
};

using TProgressWindowFactory = std::function<std::unique_ptr<TProgressWindow>(TMtxProgressDialog& Dialog)>;

// Installs the factory that builds each new dialog's window (an empty one:
// none) and returns the factory it replaces.
TProgressWindowFactory SetProgressWindowFactory(TProgressWindowFactory Factory);

class TMtxProgressDialog : public numeric::TMtxComponent {
  ORVEL_CLASS_INFO
 public:
  explicit TMtxProgressDialog(classlib::TComponent* AOwner = nullptr);
  ~TMtxProgressDialog() override;

  // properties
  std::int32_t Loops() const { return FLoops; }
  // Stores max(Value, 1); Max := Min + Loops - 1.
  void SetLoops(std::int32_t Value);
  TThreadPriority ThreadPriority() const { return FThreadPriority; }
  void SetThreadPriority(TThreadPriority Value) { FThreadPriority = Value; }
  bool InternalLoop() const { return FInternalLoop; }
  void SetInternalLoop(bool Value) { FInternalLoop = Value; }
  bool InfiniteLoop() const { return FInfiniteLoop; }
  void SetInfiniteLoop(bool Value) { FInfiniteLoop = Value; }
  std::int32_t Min() const { return FMin; }
  // Stores Value; Max := max(Min, Max); Loops := Max - Min + 1. The window
  // (as for Max and Loops) follows.
  void SetMin(std::int32_t Value);
  std::int32_t Max() const { return FMax; }
  // Stores Value; Min := min(Min, Max); Loops := Max - Min + 1.
  void SetMax(std::int32_t Value);
  // Milliseconds between progress reports.
  std::int32_t UpdateInterval() const { return FUpdateInterval; }
  void SetUpdateInterval(std::int32_t Value) { FUpdateInterval = Value; }
  bool ShowDialog() const { return FShowDialog; }
  void SetShowDialog(bool Value) { FShowDialog = Value; }

  // events
  const TNotifyEvent& OnCompute() const { return FOnCompute; }
  void SetOnCompute(TNotifyEvent Value) { FOnCompute = std::move(Value); }
  const TProgressUpdateEvent& OnProgressUpdate() const { return FOnProgressUpdate; }
  void SetOnProgressUpdate(TProgressUpdateEvent Value) { FOnProgressUpdate = std::move(Value); }

  // operations
  // The Cancel button: asks a running computation to stop.
  void Stop() { FStopped = true; }
  // True until a computation runs, and after Stop.
  bool Stopped() const { return FStopped; }
  // The window the factory built; nullptr without one.
  TProgressWindow* Window() const { return FWindow.get(); }

 private:
  std::int32_t FLoops = 1;
  TThreadPriority FThreadPriority = tpNormal;
  TNotifyEvent FOnCompute;
  TProgressUpdateEvent FOnProgressUpdate;
  bool FInternalLoop = true;
  bool FInfiniteLoop = false;
  std::int32_t FMin = 0;
  std::int32_t FMax = 0;
  std::int32_t FUpdateInterval = 200;
  bool FShowDialog = false;
  bool FStopped = true;
  std::unique_ptr<TProgressWindow> FWindow;
};

}  // namespace sig

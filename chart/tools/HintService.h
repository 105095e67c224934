// The application's one hint window as the engine sees it: a hint asked for
// shows after the pointer has rested for the hint pause, in the window of the
// chart that asked, and a newer hint or a cancel replaces a waiting one. The
// pause is shared by every chart of the program.
//
// The window itself is the host's (a tooltip in the program, a recorder in the
// tests); this service only keeps the pause and the timer.
//
// Tested by: chart/tests/MarksTipToolTest.cpp
#pragma once

#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <string>

#include "chart/core/KivTypes.h"

namespace chart {

class IKivPanelHost;

class TKivHintService {
 public:
  TKivHintService() = default;
  TKivHintService(const TKivHintService&) = delete;
  TKivHintService& operator=(const TKivHintService&) = delete;

  // properties
  // Milliseconds the pointer rests before a hint shows (500 at start; below 0 counts as 0).
  std::int32_t HintPause() const { return FHintPause; }
  void SetHintPause(std::int32_t ms) { FHintPause = ms < 0 ? 0 : ms; }
  // True while a hint waits for its pause to run out.
  bool Pending() const { return FHost != nullptr; }

  // operations
  // Shows text at screenPoint in host's hint window once the pause has run
  // out (at once without an event loop to wait in).
  void ActivateHint(IKivPanelHost& host, const std::string& text, const TPoint& screenPoint);
  // Hides the hint at once and forgets a waiting one.
  void CancelHint(IKivPanelHost* host);
  // A host that goes away takes its waiting hint with it.
  void HostDestroyed(IKivPanelHost& host);

 private:
  void ShowPending();

  std::int32_t FHintPause = 500;
  IKivPanelHost* FHost = nullptr;
  std::string FText;
  TPoint FPoint;
  // Owned by the application, so it goes with it.
  QPointer<QTimer> FTimer;
};

// The program's hint service.
TKivHintService& KivHints();

}  // namespace chart

// The beep and its hook.
//
// Tested by: platform/ui/tests/UiBasicsTest.cpp
#include "platform/ui/Beep.h"

#include <utility>

#include <QApplication>

namespace ui {

namespace {

// Controls beep on the GUI thread only, so the hook needs no lock.
TBeepHook& Hook() {
  static TBeepHook hook;
  return hook;
}

}  // namespace

void MessageBeep() {
  if (Hook()) {
    Hook()();
    return;
  }
  QApplication::beep();
}

TBeepHook SetBeepHook(TBeepHook hook) { return std::exchange(Hook(), std::move(hook)); }

}  // namespace ui

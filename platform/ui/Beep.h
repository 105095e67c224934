// The warning beep of the controls (a refused key, stepping a read-only
// field). It goes through a hook so that tests count beeps instead of
// hearing them.
//
// Tested by: platform/ui/tests/UiBasicsTest.cpp
#pragma once

#include <functional>

namespace ui {

using TBeepHook = std::function<void()>;

// Sounds the beep: the installed hook, or else the desktop's bell.
void MessageBeep();
// Installs a hook (empty: the desktop's bell) and returns the one it replaces.
TBeepHook SetBeepHook(TBeepHook hook);

}  // namespace ui

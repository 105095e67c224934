// The shared routines of the engine that need the window system's widgets:
// the cursors the engine sets, enabling a group of controls, and the hook
// every editor window calls as it shows.
//
// Tested by: chart/tests/KivWidgetsTest.cpp
#pragma once

#include <QCursor>
#include <QWidget>
#include <functional>
#include <span>

#include "chart/core/KivTypes.h"

namespace chart {

// The Qt cursor of an engine cursor number, from the screen cursor table of
// the shared widget layer. The engine's hand cursor (crKivHand, 2020) is the
// pointing hand: Qt has one on every platform, so no cursor resource is
// loaded or registered for it.
QCursor KivCursor(TCursor cursor);

// Sets Enabled on every control of the list that is not nullptr.
void EnableControls(bool enabled, std::span<QWidget* const> controls);

// A procedure that editor windows hand themselves to as they show, for a
// library that translates their texts. Nothing installs one in this program.
using TOptionalGlobalHook = std::function<void(QWidget& form)>;
TOptionalGlobalHook& OptionalGlobalHook();
// Calls the hook with form when one is installed; does nothing otherwise.
void CallOptionalGlobalHook(QWidget& form);

}  // namespace chart

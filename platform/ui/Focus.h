// Whether a focus event means the user left a field: a focus that goes to
// another control does; one taken by a popup menu or by another window does
// not, so opening a context menu or switching windows never commits a half
// typed value.
//
// Tested by: platform/ui/tests/UiBasicsTest.cpp
#pragma once

#include <QFocusEvent>

namespace ui {

inline bool LeavesTheField(const QEvent* event) {
  if (event->type() != QEvent::FocusOut) return false;
  const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace ui

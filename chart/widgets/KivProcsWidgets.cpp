// Cursors, control groups and the editors' show hook of the shared routines.
//
// Tested by: chart/tests/KivWidgetsTest.cpp
#include "chart/widgets/KivProcsWidgets.h"

#include "platform/ui/Cursors.h"

namespace chart {

QCursor KivCursor(TCursor cursor) { return ui::ScreenCursor(cursor); }

void EnableControls(bool enabled, std::span<QWidget* const> controls) {
  for (QWidget* c : controls)
    if (c != nullptr) c->setEnabled(enabled);
}

TOptionalGlobalHook& OptionalGlobalHook() {
  static TOptionalGlobalHook hook;
  return hook;
}

void CallOptionalGlobalHook(QWidget& form) {
  if (OptionalGlobalHook()) OptionalGlobalHook()(form);
}

}  // namespace chart

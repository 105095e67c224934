// The program's application object: the shared layer's guard of the event
// loop, which hands a failure that escaped a handler to the main window's
// dialogs once they are set.
#pragma once

#include <exception>

#include "platform/ui/Application.h"

namespace ui {
class TUserDialogs;
}  // namespace ui

namespace workbench {

using TUserDialogs = ui::TUserDialogs;

class TOrvelApplication : public ui::TApplication {
 public:
  using ui::TApplication::TApplication;

  // The handler of failures; none: the process-wide failure handler.
  void SetDialogs(TUserDialogs* dialogs) { FDialogs = dialogs; }

 protected:
  // overrides
  void HandleException(const std::exception_ptr& error) override;

 private:
  TUserDialogs* FDialogs = nullptr;
};

}  // namespace workbench

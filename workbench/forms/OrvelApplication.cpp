// The program's application object.
// Tested by: tests/MainWindowTest.cpp
#include "workbench/forms/OrvelApplication.h"

#include "workbench/forms/UserDialogs.h"

namespace workbench {

void TOrvelApplication::HandleException(const std::exception_ptr& error) {
  if (FDialogs != nullptr)
    FDialogs->ShowException(error);
  else
    ui::TApplication::HandleException(error);
}

}  // namespace workbench

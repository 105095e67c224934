// The program's application object and its guard of the event loop.
// Tested by: tests/MainWindowTest.cpp
#include "workbench/forms/OrvelApplication.h"

#include "workbench/forms/UserDialogs.h"

namespace workbench {

TOrvelApplication::TOrvelApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName("Orvel");
  setOrganizationName("Orvel");
}

bool TOrvelApplication::notify(QObject* receiver, QEvent* event) {
  // Handlers guard their own bodies; this catches what an event override let
  // through, so that no exception unwinds through Qt's frames any further.
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    if (FDialogs != nullptr) FDialogs->ShowException(std::current_exception());
    return false;
  }
}

}  // namespace workbench

// The application object and its guard of the event loop.
//
// Tested by: platform/ui/tests/UserDialogsTest.cpp
#include "platform/ui/Application.h"

#include <clocale>

#include "platform/ui/UserDialogs.h"

namespace ui {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName("Orvel");
  setOrganizationName("Orvel");
  std::setlocale(LC_NUMERIC, "C");
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  // Handlers guard their own bodies; this catches what an event override let
  // through, so that no exception unwinds through Qt's frames any further.
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    HandleException(std::current_exception());
    return false;
  }
}

void TApplication::HandleException(const std::exception_ptr& error) { ShowException(error); }

}  // namespace ui

// The application object of the program and of the window tests: the last
// guard of the event loop, which hands a failure that escaped a handler to the
// failure handler, and the C numeric locale, which Qt's start replaced with
// the user's (a decimal comma there would change how the C library reads and
// writes numbers).
//
// Tested by: platform/ui/tests/UserDialogsTest.cpp
#pragma once

#include <exception>

#include <QApplication>

namespace ui {

class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);

  // overrides
  bool notify(QObject* receiver, QEvent* event) override;

 protected:
  // introduced virtual
  // A failure that reached the loop: by default the process-wide failure handler.
  virtual void HandleException(const std::exception_ptr& error);
};

}  // namespace ui

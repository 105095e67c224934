// The program's application object: the last guard of the event loop, which
// hands a failure that escaped a handler to the dialogs' failure handler.
#pragma once

#include <QApplication>

namespace workbench {

class TUserDialogs;

class TOrvelApplication : public QApplication {
 public:
  TOrvelApplication(int& argc, char** argv);

  // The handler of failures; none shows nothing (the failure is dropped).
  void SetDialogs(TUserDialogs* dialogs) { FDialogs = dialogs; }

  // overrides
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  TUserDialogs* FDialogs = nullptr;
};

}  // namespace workbench

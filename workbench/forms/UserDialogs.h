// Everything the windows ask of the user: message boxes (the logic's
// questions included), file dialogs, modal windows and opening links. The
// program shows Qt's dialogs; tests put a script in their place, so no modal
// window ever waits in a test.
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include <QAction>
#include <QStringList>

#include "workbench/logic/UserMessages.h"

class QDialog;
class QUrl;
class QWidget;

namespace workbench {

// The file a dialog chose and the filter it chose it with (counted from 1).
struct TFileChoice {
  std::string FileName;  // UTF-8
  int FilterIndex = 1;
};

class TUserDialogs : public TUserMessages {
 public:
  // introduced virtual
  // An existing file to open. `filter` is "description|patterns|..." pairs.
  virtual std::optional<TFileChoice> OpenFileDialog(QWidget* parent, const std::string& filter, int filterIndex) = 0;
  // A file to write; asks before an existing file is replaced.
  virtual std::optional<TFileChoice> SaveFileDialog(QWidget* parent, const std::string& filter, int filterIndex) = 0;
  // Shows a dialog modally and returns its result code.
  virtual int ExecModal(QDialog& dialog) = 0;
  virtual void OpenUrl(const QUrl& url) = 0;

  // operations
  // The one handler of failures that reach the event loop: the message in a
  // box captioned with the program's title.
  void ShowException(const std::exception_ptr& error);
};

// The dialogs of the running program.
class TQtUserDialogs : public TUserDialogs {
 public:
  TMessageResult MessageBox(const std::string& text, const std::string& caption, TMessageButtons buttons,
                            TMessageIcon icon) override;
  std::optional<TFileChoice> OpenFileDialog(QWidget* parent, const std::string& filter, int filterIndex) override;
  std::optional<TFileChoice> SaveFileDialog(QWidget* parent, const std::string& filter, int filterIndex) override;
  int ExecModal(QDialog& dialog) override;
  void OpenUrl(const QUrl& url) override;
};

// "Text (*.txt)|*.txt|Any file|*.*" as Qt's name filters: "Text (*.txt)",
// "Any file (*.*)".
QStringList FileDialogFilters(std::string_view filter);

// The text of a failure: the class library's message, or what() of another exception.
std::string ExceptionText(const std::exception_ptr& error);

// A slot body that hands every exception to the dialogs' handler instead of
// letting it into Qt: connect(button, &QPushButton::clicked, this, Guarded(d, [this] { ... })).
template <class F>
auto Guarded(TUserDialogs& dialogs, F body) {
  return [&dialogs, body = std::move(body)]() {
    try {
      body();
    } catch (...) {
      dialogs.ShowException(std::current_exception());
    }
  };
}

// Connects a command to a handler of its window, guarded as above.
template <class Owner>
void BindCommand(TUserDialogs& dialogs, QAction* action, Owner* owner, void (Owner::*handler)()) {
  QObject::connect(action, &QAction::triggered, owner, Guarded(dialogs, [owner, handler] { (owner->*handler)(); }));
}

}  // namespace workbench

// No exception leaves a Qt slot or event handler: a handler's body runs
// inside a guard that hands any failure to the failure handler, which shows
// its message, and the window goes on.
//
//   connect(button, &QPushButton::clicked, this, Guarded(dialogs, [this] { ... }));
//   connect(edit, &QLineEdit::textChanged, this, Guarded([this](const QString& t) { ... }));
//   void TForm::mouseReleaseEvent(QMouseEvent* e) { RunGuarded([&] { ... }); }
//
// Tested by: platform/ui/tests/UserDialogsTest.cpp
#pragma once

#include <exception>
#include <type_traits>
#include <utility>

#include <QAction>

#include "platform/ui/UserDialogs.h"

namespace ui {

// Calls body (with the signal's arguments when it takes them); a failure
// goes to handler, which takes its std::exception_ptr.
template <class Handler, class F>
auto GuardedWith(Handler handler, F body) {
  return [handler = std::move(handler), body = std::move(body)](auto&&... args) mutable {
    try {
      if constexpr (std::is_invocable_v<F&, decltype(args)...>)
        body(std::forward<decltype(args)>(args)...);
      else
        body();
    } catch (...) {
      handler(std::current_exception());
    }
  };
}

// A failure goes to dialogs' handler.
template <class F>
auto Guarded(TUserDialogs& dialogs, F body) {
  return GuardedWith([&dialogs](const std::exception_ptr& error) { dialogs.ShowException(error); }, std::move(body));
}

// A failure goes to the process-wide dialogs of the moment it happens.
template <class F>
auto Guarded(F body) {
  return GuardedWith([](const std::exception_ptr& error) { ShowException(error); }, std::move(body));
}

// Runs body now; a failure goes to the process-wide failure handler. For the
// bodies of event overrides.
template <class F>
void RunGuarded(F&& body) {
  try {
    std::forward<F>(body)();
  } catch (...) {
    ShowException(std::current_exception());
  }
}

// Connects a command to a handler of its window, guarded as above.
template <class Owner>
void BindCommand(TUserDialogs& dialogs, QAction* action, Owner* owner, void (Owner::*handler)()) {
  QObject::connect(action, &QAction::triggered, owner, Guarded(dialogs, [owner, handler] { (owner->*handler)(); }));
}

}  // namespace ui

// Questions and messages that code without windows puts to the user.
//
// Logic never opens a dialog: a reader that must ask (a very large file) or
// tell (an unknown format) calls this interface. The windows answer it with
// message boxes (ui::TUserDialogs); tests answer it from a script. Texts are
// UTF-8. Nothing here needs Qt, so headless libraries may use it.
#pragma once

#include <cstdint>
#include <string>

namespace ui {

enum TMessageButtons : std::uint8_t { mbOK, mbOKCancel, mbYesNo, mbYesNoCancel };
enum TMessageIcon : std::uint8_t { miNone, miInformation, miWarning, miError, miQuestion };
enum TMessageResult : std::uint8_t { mrOK, mrCancel, mrYes, mrNo };

class TUserMessages {
 public:
  virtual ~TUserMessages() = default;

  // introduced virtual
  // Shows text under caption and waits for a button. Closing the box without
  // a button counts as Cancel where there is one, else as No (or OK).
  virtual TMessageResult MessageBox(const std::string& text, const std::string& caption, TMessageButtons buttons,
                                    TMessageIcon icon) = 0;
};

}  // namespace ui

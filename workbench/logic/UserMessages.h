// Questions and messages that the workbench's logic puts to the user.
//
// Logic code never opens a dialog: a reader that must ask (a very large file)
// or tell (an unknown format) calls this interface. The windows implement it
// with message boxes; tests implement it with a script of answers.
// Texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>

namespace workbench {

enum TMessageButtons : std::uint8_t { mbOK, mbOKCancel };
enum TMessageIcon : std::uint8_t { miNone, miInformation, miWarning, miError, miQuestion };
enum TMessageResult : std::uint8_t { mrOK, mrCancel };

class TUserMessages {
 public:
  virtual ~TUserMessages() = default;

  // introduced virtual
  // Shows text under caption and waits for a button; closing the box without
  // a button counts as Cancel.
  virtual TMessageResult MessageBox(const std::string& text, const std::string& caption,
                                    TMessageButtons buttons, TMessageIcon icon) = 0;
};

}  // namespace workbench

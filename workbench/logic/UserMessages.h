// Questions and messages that the workbench's logic puts to the user.
//
// Logic code never opens a dialog: a reader that must ask (a very large file)
// or tell (an unknown format) calls this interface. The windows implement it
// with message boxes; tests implement it with a script of answers. Texts are
// UTF-8. The interface is the shared widget layer's; these are its names in
// the workbench.
#pragma once

#include "platform/ui/UserMessages.h"

namespace workbench {

using ui::TMessageButtons;
using ui::TMessageIcon;
using ui::TMessageResult;
using ui::TUserMessages;

using ui::mbOK;
using ui::mbOKCancel;
using ui::mbYesNo;
using ui::mbYesNoCancel;
using ui::miError;
using ui::miInformation;
using ui::miNone;
using ui::miQuestion;
using ui::miWarning;
using ui::mrCancel;
using ui::mrNo;
using ui::mrOK;
using ui::mrYes;

}  // namespace workbench

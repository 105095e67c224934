// Everything the windows ask of the user, and the guard of their handlers:
// the shared widget layer's prompts interface (message boxes, file dialogs,
// modal windows, links), its failure handler and Guarded, under the
// workbench's names. The program shows Qt's dialogs; tests put a script in
// their place, so no modal window ever waits in a test.
#pragma once

#include "platform/ui/Guarded.h"
#include "platform/ui/UserDialogs.h"
#include "workbench/logic/UserMessages.h"

namespace workbench {

using ui::BindCommand;
using ui::ExceptionText;
using ui::FileDialogFilters;
using ui::Guarded;
using ui::TFileChoice;
using ui::TQtUserDialogs;
using TUserDialogs = ui::TUserDialogs;

}  // namespace workbench

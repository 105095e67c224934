// A message interface for tests: records every message and answers questions
// from a script (the shared widget layer's, under the workbench's names).
#pragma once

#include "platform/ui/testing/ScriptedMessages.h"
#include "workbench/logic/UserMessages.h"

namespace workbench {

using ui::TScriptedMessages;
using ui::TScriptedMessagesOf;

}  // namespace workbench

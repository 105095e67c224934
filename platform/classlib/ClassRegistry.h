// The class registry: classes found by name, so that a stream or a dialog can
// create an object of a class it knows only by its name.
//
// Units register their classes from their explicit init functions at start-up.
// Names compare case-insensitively; registering a name twice keeps the first.
#pragma once

#include <string_view>
#include <vector>

#include "platform/classlib/Persistent.h"

namespace classlib {

class EClassNotFound : public Exception {
 public:
  using Exception::Exception;
};

void RegisterClass(const TClassInfo& info);
void RegisterClasses(const std::vector<const TClassInfo*>& infos);
void UnRegisterClass(const TClassInfo& info);

// nullptr when no class of that name is registered.
const TClassInfo* GetClass(std::string_view name);
// Raises EClassNotFound ("Class <name> not found") when none is registered.
const TClassInfo& FindClass(std::string_view name);

// True when the class registered under name exists and info is it or descends from it.
bool InheritsFromRegistered(const TClassInfo& info, std::string_view name);

}  // namespace classlib

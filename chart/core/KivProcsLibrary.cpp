// Loading shared libraries quietly.
//
// Tested by: chart/tests/KivProcsTest.cpp
#include <dlfcn.h>

#include "chart/core/KivProcsLibrary.h"

namespace chart {

// The dynamic loader reports failures only through dlerror(), never to the
// user, so there are no error boxes to suppress here.
TLibraryHandle SafeLoadLibrary(const std::string& name) {
  if (name.empty()) return nullptr;
  return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
}

// Unloading is always allowed here: the restriction for code running inside
// a library of its own applies to the other system's loader only.
void FreeLibraryIfAllowed(TLibraryHandle handle) {
  if (handle != nullptr) dlclose(handle);
}

}  // namespace chart

// Loading shared libraries quietly.
//
// Tested by: chart/tests/KivProcsTest.cpp
#pragma once

#include <string>

namespace chart {

using TLibraryHandle = void*;
// Loads a shared library by file name without any message to the user;
// nullptr when it cannot be loaded (as for the other system's library names).
TLibraryHandle SafeLoadLibrary(const std::string& name);
// Unloads a library SafeLoadLibrary loaded; nothing for nullptr.
void FreeLibraryIfAllowed(TLibraryHandle handle);

}  // namespace chart

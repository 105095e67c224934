// The registration of the tools.
//
// Tested by: chart/tests/ToolRegistryTest.cpp
#include "chart/KivTools.h"

#include "chart/Registries.h"

namespace chart {

namespace {

std::vector<const classlib::TClassInfo*> KivToolClasses() {
  return {&TCursorTool::StaticClassInfo(),    &TDrawLineTool::StaticClassInfo(),
          &TNearestTool::StaticClassInfo(),    &TColorLineTool::StaticClassInfo(),
          &TMarksTipTool::StaticClassInfo()};
}

}  // namespace

void RegisterKivTools() { RegisterToolClasses(KivToolClasses()); }

void UnregisterKivTools() { UnregisterToolClasses(KivToolClasses()); }

}  // namespace chart

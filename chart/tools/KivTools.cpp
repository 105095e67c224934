// The registration of the tools.
//
// Tested by: chart/tests/ToolRegistryTest.cpp
#include "chart/tools/KivTools.h"

namespace chart {

namespace {

std::vector<const classlib::TClassInfo*> KivToolClasses() {
  // The grid band tool is not among them.
  return {&TCursorTool::StaticClassInfo(),    &TDragMarksTool::StaticClassInfo(),      &TAxisArrowTool::StaticClassInfo(),
          &TDrawLineTool::StaticClassInfo(),  &TNearestTool::StaticClassInfo(),        &TColorBandTool::StaticClassInfo(),
          &TColorLineTool::StaticClassInfo(), &TRotateTool::StaticClassInfo(),         &TChartImageTool::StaticClassInfo(),
          &TMarksTipTool::StaticClassInfo(),  &TAnnotationTool::StaticClassInfo(),     &TSeriesAnimationTool::StaticClassInfo()};
}

}  // namespace

void RegisterKivTools() { RegisterToolClasses(KivToolClasses()); }

void UnregisterKivTools() { UnregisterToolClasses(KivToolClasses()); }

void RegisterDragPointTool() { RegisterToolClasses({&TDragPointTool::StaticClassInfo()}); }

void UnregisterDragPointTool() { UnregisterToolClasses({&TDragPointTool::StaticClassInfo()}); }

}  // namespace chart

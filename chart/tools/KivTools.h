// The tools of the chart engine and their registration: one header for all of
// them, and the start-up step that adds them to the tool registry.
#pragma once

#include "chart/tools/AnnotationTool.h"
#include "chart/tools/AxisArrowTool.h"
#include "chart/tools/BandTools.h"
#include "chart/tools/ChartImageTool.h"
#include "chart/tools/ColorLineTool.h"
#include "chart/tools/CursorTool.h"
#include "chart/tools/DragMarksTool.h"
#include "chart/tools/DragPointTool.h"
#include "chart/tools/DrawLineTool.h"
#include "chart/tools/MarksTipTool.h"
#include "chart/tools/RotateTool.h"
#include "chart/tools/SeriesAnimationTool.h"

namespace chart {

// Adds the tool classes to the tool registry in their gallery order, once.
void RegisterKivTools();
// Takes them out again.
void UnregisterKivTools();
// Adds the drag point tool after them, once. The drag point tool's editor
// registers it (chart_editors::InitChartEditors), and so do the engine's own
// test mains, which stand without the editors.
void RegisterDragPointTool();
void UnregisterDragPointTool();

}  // namespace chart

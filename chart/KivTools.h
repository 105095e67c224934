// The tools of the chart engine and their registration: one header for all of
// them, and the start-up step that adds them to the tool registry.
#pragma once

#include "chart/AnnotationTool.h"
#include "chart/AxisArrowTool.h"
#include "chart/BandTools.h"
#include "chart/ChartImageTool.h"
#include "chart/ColorLineTool.h"
#include "chart/CursorTool.h"
#include "chart/DragMarksTool.h"
#include "chart/DrawLineTool.h"
#include "chart/DragPointTool.h"
#include "chart/MarksTipTool.h"
#include "chart/RotateTool.h"
#include "chart/SeriesAnimationTool.h"

namespace chart {

// Adds the tool classes to the tool registry in their gallery order, once.
void RegisterKivTools();
// Takes them out again.
void UnregisterKivTools();

}  // namespace chart

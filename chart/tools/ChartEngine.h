// The engine's start-up: the axis classes for the streams, the registries,
// the financial and statistical series kinds and functions, and the tools
// (the standard kinds and the drag point tool are the chart editors' to
// register: chart_editors::InitChartEditors). It stands with the
// tools because they are the engine's top layer: it reaches every layer below.
//
// Tested by: chart/tests/ToolRegistryTest.cpp, chart/tests/ErrorSeriesTest.cpp
#pragma once

namespace chart {

// Once, in unit order; a second call only counts.
void InitChartEngine();
// Frees the registries when the last start-up is undone; InitChartEngine may
// run again afterwards.
void DoneChartEngine();

}  // namespace chart

// The editor forms of the layer's chart tools (the mark cursors and the axis
// scale tool), registered in the chart editors' form registry under the
// class names the tools give, and taken out again.
//
// Tested by: analysis_ui/tests/MarkToolEditorsTest.cpp
#pragma once

namespace analysis_ui {

void RegisterToolEditors();
void UnregisterToolEditors();

}  // namespace analysis_ui

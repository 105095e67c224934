// The chart editors' start-up: the editor forms registered by class name,
// the nine standard series kinds in the series-type registry (the gallery
// shows them on "Standard"), the drag point tool in the tool registry, the
// series gallery as the engine's two gallery entry points, and the colour buttons of every chart control asking through the program's
// prompts (ui::Dialogs()), so a test's script answers them too. The program
// and the window test mains call it after chart::InitChartEngine.
//
// Tested by: chart_editors/tests/EditorFormTest.cpp
#pragma once

namespace chart_editors {

// Once; a second call only counts.
void InitChartEditors();
// Undoes the start-up when the last one is undone (the standard kinds and
// the drag point tool leave their registries too, the gallery its entry points).
void DoneChartEditors();

}  // namespace chart_editors

// The start-up of the analysis forms and controls: one call registers what
// every unit of the layer registers (series kinds, component classes, the
// progress dialogs' window factory); the finalisation takes it out again and
// closes the windows the layer keeps for the whole run. Call it after the chart engine's and the signal layer's
// start-up, and the finalisation while the application still stands. Both
// count their calls, so that nested start-ups (a test main and a test) pair up.
#pragma once

namespace analysis_ui {

void InitAnalysisUi();
void DoneAnalysisUi();

}  // namespace analysis_ui

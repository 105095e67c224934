// The analysis windows' and controls' tests run under the main every window
// layer uses, with the chart engine and its editors, the signal layer and
// this layer started as the program starts them.
#include "analysis_ui/AnalysisUiInit.h"
#include "chart/tools/ChartEngine.h"
#include "chart_editors/ChartEditors.h"
#include "platform/ui/testing/WindowTestMain.h"
#include "signal/SignalInit.h"

int main(int argc, char** argv) {
  ui::TWindowTestHooks hooks;
  hooks.Init = [] {
    chart::InitChartEngine();
    chart_editors::InitChartEditors();
    sig::InitSignal();
    analysis_ui::InitAnalysisUi();
  };
  hooks.Done = [] {
    analysis_ui::DoneAnalysisUi();
    sig::DoneSignal();
    chart_editors::DoneChartEditors();
    chart::DoneChartEngine();
  };
  return ui::RunWindowTests(argc, argv, hooks);
}

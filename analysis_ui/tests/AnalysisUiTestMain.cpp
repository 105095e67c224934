// The analysis windows' and controls' tests run under the main every window
// layer uses, with the chart engine and its editors started as the program
// starts them.
#include "chart/tools/ChartEngine.h"
#include "chart_editors/ChartEditors.h"
#include "platform/ui/testing/WindowTestMain.h"

int main(int argc, char** argv) {
  ui::TWindowTestHooks hooks;
  hooks.Init = [] {
    chart::InitChartEngine();
    chart_editors::InitChartEditors();
  };
  hooks.Done = [] {
    chart_editors::DoneChartEditors();
    chart::DoneChartEngine();
  };
  return ui::RunWindowTests(argc, argv, hooks);
}

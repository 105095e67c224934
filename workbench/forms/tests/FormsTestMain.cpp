// The window tests run under the main every window layer uses, with the
// program's own application object (so its guard of the event loop is under
// test too), Qt's synchronised calls for the design thread and the chart
// engine, the signal components and the analysis layer; design and search
// threads still on their way out are waited for before the windows go.
#include <memory>

#include "analysis_ui/AnalysisUiInit.h"
#include "chart/tools/ChartEngine.h"
#include "chart_editors/ChartEditors.h"
#include "platform/classlib/Threads.h"
#include "platform/ui/testing/WindowTestMain.h"
#include "signal/SignalInit.h"
#include "workbench/forms/FormCompareBruteForce.h"
#include "workbench/forms/OrvelApplication.h"
#include "workbench/forms/RemezThread.h"

int main(int argc, char** argv) {
  return ui::RunWindowTests(
      argc, argv,
      {.MakeApplication = [](int& c, char** v) -> std::unique_ptr<QApplication> {
         return std::make_unique<workbench::TOrvelApplication>(c, v);
       },
       .Init =
           [] {
             classlib::InstallQtSyncDispatcher();
             chart::InitChartEngine();
             chart_editors::InitChartEditors();
             sig::InitSignal();
             analysis_ui::InitAnalysisUi();
           },
       .AfterTests =
           [] {
             workbench::WaitForDesignThreads();
             workbench::WaitForSearchThreads();
           },
       .Done =
           [] {
             analysis_ui::DoneAnalysisUi();
             sig::DoneSignal();
             chart_editors::DoneChartEditors();
             chart::DoneChartEngine();
           }});
}

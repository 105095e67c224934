// The engine's start-up and shut-down.
//
// Tested by: chart/tests/ToolRegistryTest.cpp, chart/tests/ErrorSeriesTest.cpp
#include "chart/tools/ChartEngine.h"

#include "chart/ChartControl.h"
#include "chart/functions/Functions.h"
#include "chart/series/SeriesMarks.h"
#include "chart/series/SeriesRegistry.h"
#include "chart/series/SeriesSource.h"
#include "chart/series/StandardSeries.h"
#include "chart/tools/KivTools.h"
#include "platform/classlib/ClassRegistry.h"

namespace chart {

namespace {
int& InitCount() {
  static int count = 0;
  return count;
}
}  // namespace

void InitChartEngine() {
  if (InitCount()++ > 0) return;
  classlib::RegisterClasses({&TChartAxisTitle::StaticClassInfo(), &TChartAxis::StaticClassInfo(),
                             &TChartDepthAxis::StaticClassInfo(), &TSeriesMarks::StaticClassInfo(),
                             &TChart::StaticClassInfo(), &TKivFunction::StaticClassInfo(),
                             &TKivMovingFunction::StaticClassInfo()});
  KivSeriesTypesList();
  KivToolTypesList();
  // The standard kinds and the drag point tool come with the editors that
  // show them (the series gallery, the drag point tool's editor): their
  // start-up registers them.
  RegisterFinancialSeries();
  RegisterStatsSeries();
  RegisterKivTools();
}

void DoneChartEngine() {
  if (InitCount() == 0 || --InitCount() > 0) return;
  FreeSeriesTypes();
  FreeToolTypes();
  FreeRegisteredSourcesList();
}

}  // namespace chart

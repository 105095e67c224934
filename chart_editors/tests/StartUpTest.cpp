// Covers the registrations of chart_editors/ChartEditors.cpp: what the chart
// editors' start-up adds to the chart engine's registries, and takes out again.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "chart/series/AreaSeries.h"
#include "chart/series/BarSeries.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/series/PieSeries.h"
#include "chart/series/SeriesRegistry.h"
#include "chart/tools/ChartEngine.h"
#include "chart/tools/DragPointTool.h"
#include "chart/tools/ToolBases.h"
#include "chart_editors/ChartEditors.h"
#include "chart_editors/EditorForm.h"
#include "chart_editors/KivDragPoint.h"
#include "platform/ui/testing/WindowTest.h"

namespace chart_editors {
namespace {

std::vector<const classlib::TClassInfo*> StandardKinds() {
  return {&chart::TLineSeries::StaticClassInfo(),     &chart::TBarSeries::StaticClassInfo(),
          &chart::THorizBarSeries::StaticClassInfo(), &chart::TAreaSeries::StaticClassInfo(),
          &chart::TPointSeries::StaticClassInfo(),    &chart::TPieSeries::StaticClassInfo(),
          &chart::TFastLineSeries::StaticClassInfo(), &chart::THorizLineSeries::StaticClassInfo(),
          &chart::THorizAreaSeries::StaticClassInfo()};
}

bool DragPointToolRegistered() {
  const auto& tools = chart::KivToolTypesList();
  return std::find(tools.begin(), tools.end(), &chart::TDragPointTool::StaticClassInfo()) != tools.end();
}

class StartUp : public ui::TWindowTest {};

TEST_F(StartUp, TheEditorsRegisterTheStandardKindsAndTheDragPointTool) {
  // The test main started the engine and the editors: start the engine afresh, alone.
  DoneChartEditors();
  chart::DoneChartEngine();
  chart::InitChartEngine();
  for (const classlib::TClassInfo* kind : StandardKinds())
    EXPECT_EQ(chart::FindSeriesType(*kind), nullptr) << kind->ClassName();
  EXPECT_FALSE(DragPointToolRegistered());
  EXPECT_FALSE(EditorFormRegistered("TDragPointToolEdit"));
  EXPECT_FALSE(chart::GalleryCreateSeriesHook());
  EXPECT_FALSE(chart::GalleryChangeSeriesKindHook());

  InitChartEditors();
  std::vector<const classlib::TClassInfo*> standard;
  const chart::TKivSeriesTypes& types = chart::KivSeriesTypesList();
  for (int i = 0; i < types.Count(); ++i)
    if (types.Get(i).GalleryPage == "Standard") standard.push_back(types.Get(i).SeriesClass);
  EXPECT_EQ(standard, StandardKinds());
  EXPECT_TRUE(DragPointToolRegistered());
  EXPECT_TRUE(chart::GalleryCreateSeriesHook());
  EXPECT_TRUE(chart::GalleryChangeSeriesKindHook());
  // The tool's editor is found by the name the tool gives.
  const chart::TDragPointTool tool;
  QWidget owner;
  EXPECT_NE(dynamic_cast<TDragPointToolEdit*>(CreateEditorForm(tool.EditorClassName(), &owner)), nullptr);

  // A second start-up only counts; the last shut-down takes them out.
  InitChartEditors();
  DoneChartEditors();
  EXPECT_TRUE(DragPointToolRegistered());
  DoneChartEditors();
  EXPECT_FALSE(DragPointToolRegistered());
  EXPECT_EQ(chart::FindSeriesType(chart::TLineSeries::StaticClassInfo()), nullptr);
  EXPECT_FALSE(chart::GalleryChangeSeriesKindHook());
  InitChartEditors();
}

}  // namespace
}  // namespace chart_editors

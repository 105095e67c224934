// Covers chart/tools/KivTools.cpp and the tool row of the engine's start-up: the
// tools registered in their gallery order, the drag point tool by the
// editors' stand-in, once however often the engine starts, and every tool's
// gallery text and editor name.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "chart/tools/ChartEngine.h"
#include "chart/tools/KivTools.h"
#include "chart/tools/ToolBases.h"
#include "platform/classlib/ClassRegistry.h"

namespace chart {
namespace {

TEST(ToolRegistry, TheEngineRegistersTheToolsInGalleryOrderOnce) {
  InitChartEngine();
  InitChartEngine();
  const auto& list = KivToolTypesList();
  const std::vector<std::string> order = {"TCursorTool",     "TDragMarksTool", "TAxisArrowTool",
                                          "TDrawLineTool",   "TNearestTool",   "TColorBandTool",
                                          "TColorLineTool",  "TRotateTool",    "TChartImageTool",
                                          "TMarksTipTool",   "TAnnotationTool", "TSeriesAnimationTool",
                                          "TDragPointTool"};
  std::vector<std::string> names;
  for (const classlib::TClassInfo* c : list) names.push_back(c->ClassName());
  EXPECT_EQ(names, order);
  EXPECT_EQ(std::count(names.begin(), names.end(), "TGridBandTool"), 0);
  // The stream finds them by name.
  std::unique_ptr<classlib::TPersistent> made(classlib::FindClass("TColorBandTool").Create());
  EXPECT_NE(dynamic_cast<TColorBandTool*>(made.get()), nullptr);
  DoneChartEngine();
  DoneChartEngine();
}

TEST(ToolRegistry, EveryToolNamesItsGalleryTextAndEditor) {
  const struct {
    std::unique_ptr<TKivCustomTool> Tool;
    const char* Description;
    const char* Editor;
  } tools[] = {
      {std::make_unique<TCursorTool>(), "Cursor", "TCursorToolEditor"},
      {std::make_unique<TDragMarksTool>(), "Drag Marks", "TDragMarksToolEditor"},
      {std::make_unique<TAxisArrowTool>(), "Axis Arrows", "TAxisArrowToolEditor"},
      {std::make_unique<TDrawLineTool>(), "Draw Line", "TDrawLineEdit"},
      {std::make_unique<TNearestTool>(), "Nearest Point", "TNearestToolEdit"},
      {std::make_unique<TColorBandTool>(), "Color Band", "TColorBandToolEditor"},
      {std::make_unique<TGridBandTool>(), "Grid band tool", "TGridBandToolEdit"},
      {std::make_unique<TColorLineTool>(), "Color Line", "TColorLineToolEditor"},
      {std::make_unique<TRotateTool>(), "Rotate", "TRotateToolEditor"},
      {std::make_unique<TChartImageTool>(), "Image", "TChartImageToolEditor"},
      {std::make_unique<TMarksTipTool>(), "Mark Tips", "TMarksTipToolEdit"},
      {std::make_unique<TAnnotationTool>(), "Annotation", "TAnnotationToolEdit"},
      {std::make_unique<TSeriesAnimationTool>(), "Series Animation", "TSeriesAnimToolEditor"},
      {std::make_unique<TDragPointTool>(), "Drag Point", "TDragPointToolEdit"},
  };
  for (const auto& t : tools) {
    EXPECT_EQ(t.Tool->Description(), t.Description);
    EXPECT_EQ(t.Tool->EditorClassName(), t.Editor);
  }
}

}  // namespace
}  // namespace chart

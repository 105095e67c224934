// The drag point tool: a press on a point of its series picks the point, and
// each move of the mouse writes the mouse position, in axis values, into the
// point's X value, Y value or both, then reports the move.
//
// Tested by: chart/tests/DragPointToolTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "chart/tools/ToolBases.h"

namespace chart {

class TDragPointTool;

enum TDragPointStyle : std::uint8_t { dsX, dsY, dsBoth };

using TDragPointToolEvent = std::function<void(TDragPointTool& sender, int index)>;

class TDragPointTool : public TKivCustomToolSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TDragPointTool(classlib::TComponent* owner = nullptr);

  // properties
  TDragPointStyle DragStyle() const { return FDragStyle; }
  void SetDragStyle(TDragPointStyle v) { FDragStyle = v; }
  // The point picked at the press (-1 while no point is dragged).
  int DraggedIndex() const { return FIndex; }

  // events
  // After each move of a picked point, with the index picked at the press.
  TDragPointToolEvent OnDragPoint;

  // overrides
  void ChartMouseEvent(TChartMouseEvent event, TMouseButton button, TShiftState shift, std::int32_t x,
                       std::int32_t y) override;
  std::string Description() const override { return "Drag Point"; }
  std::string EditorClassName() const override { return "TDragPointToolEdit"; }
  void SetSeries(TChartSeries* series) override;

 protected:
  void Notification(classlib::TComponent* component, classlib::TOperation operation) override;

 private:
  void DragTo(std::int32_t x, std::int32_t y);

  TDragPointStyle FDragStyle = dsBoth;
  int FIndex = -1;
};

}  // namespace chart

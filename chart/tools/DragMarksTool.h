// The drag marks tool: the user drags the marks (labels) of series points
// to places of their own.
//
// Tested by: chart/tests/DragMarksToolTest.cpp
#pragma once

#include <cstdint>
#include <string>

#include "chart/tools/ToolBases.h"

namespace chart {

class TDragMarksTool : public TKivCustomToolSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TDragMarksTool(classlib::TComponent* owner = nullptr);
  ~TDragMarksTool() override;

  // The series whose mark is dragged (nullptr while idle) and the mark's point.
  TChartSeries* DraggedSeries() const { return FDragged; }
  int DraggedIndex() const { return FIndex; }

  // operations
  // The series and point of the mark at (x, y): the tool's series, else the
  // chart's from the last to the first; false when no mark is there.
  bool MarkAt(std::int32_t x, std::int32_t y, TChartSeries*& series, int& index) const;

  // overrides
  void ChartMouseEvent(TChartMouseEvent event, TMouseButton button, TShiftState shift, std::int32_t x,
                       std::int32_t y) override;
  std::string Description() const override { return "Drag Marks"; }
  std::string EditorClassName() const override { return "TDragMarksToolEditor"; }

 protected:
  void Notification(classlib::TComponent* component, classlib::TOperation operation) override;

 private:
  void EndDrag();

  // The mark's position is looked up at each move: the series may rebuild its positions.
  TChartSeries* FDragged = nullptr;
  int FIndex = -1;
  TPoint FLast{0, 0};
};

}  // namespace chart

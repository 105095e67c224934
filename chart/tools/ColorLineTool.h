// The colour line tool: a straight line across the chart at one value of an
// axis (vertical for a horizontal axis, horizontal for a vertical one), in 2D
// or through the 3D frame, which the user may drag. The value is set by the
// program or follows the axis' maximum, minimum or centre.
//
// Tested by: chart/tests/ColorLineToolTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "chart/core/StoreAndInvalidate.h"
#include "chart/tools/ToolBases.h"

namespace chart {

class TColorLineTool;

enum TColorLineStyle : std::uint8_t { clCustom, clMaximum, clCenter, clMinimum };

using TColorLineToolOnDrag = std::function<void(TColorLineTool& sender)>;

class TColorLineTool : public TKivCustomToolAxis {
  ORVEL_CLASS_INFO
 public:
  explicit TColorLineTool(classlib::TComponent* owner = nullptr);

  // properties
  bool AllowDrag() const { return FAllowDrag; }
  void SetAllowDrag(bool v) { FAllowDrag = v; }
  bool DragRepaint() const { return FDragRepaint; }
  void SetDragRepaint(bool v) { FDragRepaint = v; }
  bool Draw3D() const { return FDraw3D; }
  void SetDraw3D(bool v) { StoreAndInvalidate(*this, FDraw3D, v); }
  bool DrawBehind() const { return FDrawBehind; }
  void SetDrawBehind(bool v) { StoreAndInvalidate(*this, FDrawBehind, v); }
  bool NoLimitDrag() const { return FNoLimitDrag; }
  void SetNoLimitDrag(bool v) { FNoLimitDrag = v; }
  TColorLineStyle Style() const { return FStyle; }
  void SetStyle(TColorLineStyle v) { StoreAndInvalidate(*this, FStyle, v); }
  double Value() const { return FValue; }
  // Makes the style custom.
  void SetValue(double v);
  bool Dragging() const { return FDragging; }

  // events
  TColorLineToolOnDrag OnDragLine, OnEndDragLine;

  // operations
  // The value the line marks: the axis' maximum, centre or minimum by the style, else Value.
  double LineValue() const;
  // v pulled into the axis' visible range.
  double LimitValue(double v) const;
  // True when (x, y) is on the line (closer than 3 pixels across it, within the chart rectangle along it).
  bool Clicked(std::int32_t x, std::int32_t y) const;

  // introduced virtual
  // Fires OnEndDragLine.
  virtual void DoEndDragLine();

  // overrides
  void ChartEvent(TChartToolEvent event) override;
  void ChartMouseEvent(TChartMouseEvent event, TMouseButton button, TShiftState shift, std::int32_t x,
                       std::int32_t y) override;
  std::string Description() const override { return "Color Line"; }
  std::string EditorClassName() const override { return "TColorLineToolEditor"; }

 private:
  void DrawColorLine(TCanvas3D& canvas, bool back);
  // Both passes with the canvas pen in XOR, as a drag moves the line.
  void DrawInverted();

  bool FAllowDrag = true;
  bool FDragRepaint = false;
  bool FDraw3D = true;
  bool FDrawBehind = false;
  bool FNoLimitDrag = false;
  TColorLineStyle FStyle = clCustom;
  double FValue = 0;
  bool FDragging = false;
};

}  // namespace chart

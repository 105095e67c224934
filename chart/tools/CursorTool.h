// Two tools that follow the mouse over a chart: the cursor tool draws a
// horizontal line, a vertical line or a cross-hair at an X and a Y value,
// which the user drags (or which follow the mouse), optionally snapping to
// the nearest point of a series; the nearest-point tool marks the point of a
// series nearest to the mouse with a circle, square or diamond and a line to
// it. Both draw after the chart, inverted, so that they move without a
// repaint of the chart.
//
// Tested by: chart/tests/CursorToolTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "chart/core/StoreAndInvalidate.h"
#include "chart/tools/ToolBases.h"

namespace chart {

class TCursorTool;
class TNearestTool;

enum TCursorToolStyle : std::uint8_t { cssHorizontal, cssVertical, cssBoth };

using TCursorToolChangeEvent =
    std::function<void(TCursorTool& sender, std::int32_t x, std::int32_t y, double xValue, double yValue,
                       TChartSeries* series, int valueIndex)>;

class TCursorTool : public TKivCustomToolSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TCursorTool(classlib::TComponent* owner = nullptr);

  // properties
  bool FollowMouse() const { return FFollowMouse; }
  void SetFollowMouse(bool v) { FFollowMouse = v; }
  bool Snap() const { return FSnap; }
  void SetSnap(bool v) { FSnap = v; }
  TCursorToolStyle Style() const { return FStyle; }
  // Snaps to the series; the next pass draws the lines.
  void SetStyle(TCursorToolStyle v);
  double XValue() const { return FXValue; }
  double YValue() const { return FYValue; }
  // The pixel position of the lines ({-1, -1} until first placed).
  TPoint Position() const { return {FX, FY}; }
  // 0 none, 1 the horizontal line, 2 the vertical line, 3 their crossing.
  int DragState() const { return FDragging; }

  // events
  TCursorToolChangeEvent OnChange;

  // operations
  // What of the cursor lies at (x, y): 0 nothing, 1 the horizontal line, 2 the vertical one, 3 the crossing.
  int Clicked(std::int32_t x, std::int32_t y) const;
  // Moves the values to the nearest point of the series; its index, or -1 without snapping.
  int SnapToPoint();
  // The pixel rectangle of the two axes the cursor lies on.
  TRect Bounds() const;

  // introduced virtual
  // Fires OnChange with the position, the values, the series and the point's index.
  virtual void DoChange(int valueIndex);

  // overrides
  void ChartEvent(TChartToolEvent event) override;
  void ChartMouseEvent(TChartMouseEvent event, TMouseButton button, TShiftState shift, std::int32_t x,
                       std::int32_t y) override;
  std::string Description() const override { return "Cursor"; }
  std::string EditorClassName() const override { return "TCursorToolEditor"; }
  void SetSeries(TChartSeries* series) override;

 private:
  void CalcValuePositions(std::int32_t x, std::int32_t y);
  void CalcScreenPositions();
  void DrawCursorLines(TCanvas3D& canvas);
  // The lines over the chart's picture (drawn twice, they vanish).
  void DrawOverChart();

  bool FFollowMouse = false;
  bool FSnap = false;
  TCursorToolStyle FStyle = cssBoth;
  double FXValue = 0, FYValue = 0;
  std::int32_t FX = -1, FY = -1;
  int FDragging = 0;
};

enum TNearestToolStyle : std::uint8_t { hsNone, hsCircle, hsRectangle, hsDiamond };

using TNearestToolNotify = std::function<void(TNearestTool& sender)>;

class TNearestTool : public TKivCustomToolSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TNearestTool(classlib::TComponent* owner = nullptr);

  // properties
  bool DrawLine() const { return FDrawLine; }
  void SetDrawLine(bool v) { StoreAndInvalidate(*this, FDrawLine, v); }
  bool FullRepaint() const { return FFullRepaint; }
  void SetFullRepaint(bool v) { FFullRepaint = v; }
  std::int32_t Size() const { return FSize; }
  void SetSize(std::int32_t v) { StoreAndInvalidate(*this, FSize, v); }
  TNearestToolStyle Style() const { return FStyle; }
  void SetStyle(TNearestToolStyle v) { StoreAndInvalidate(*this, FStyle, v); }
  // The point marked (-1 none) and the mouse position it was found for.
  int Point() const { return FPoint; }
  TPoint MousePoint() const { return FMouse; }

  // events
  TNearestToolNotify OnChange;

  // operations
  // The point of the series in the chart rectangle nearest to (x, y) in
  // pixels; ties keep the earlier one; -1 when none is nearer than 10000 pixels.
  int GetNearestPoint(std::int32_t x, std::int32_t y) const;

  // overrides
  void ChartEvent(TChartToolEvent event) override;
  void ChartMouseEvent(TChartMouseEvent event, TMouseButton button, TShiftState shift, std::int32_t x,
                       std::int32_t y) override;
  std::string Description() const override { return "Nearest Point"; }
  std::string EditorClassName() const override { return "TNearestToolEdit"; }

 private:
  void PaintHint(TCanvas3D& canvas);

  bool FDrawLine = true;
  bool FFullRepaint = true;
  std::int32_t FSize = 20;
  TNearestToolStyle FStyle = hsCircle;
  int FPoint = -1;
  TPoint FMouse{0, 0};
};

}  // namespace chart

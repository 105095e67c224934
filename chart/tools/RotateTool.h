// The rotate tool: the mouse turns and tilts the chart's 3D view; with a
// visible pen an outline of the 3D frame is dragged instead of repainting
// the chart on each move.
//
// Tested by: chart/tests/RotateToolTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "chart/tools/ToolBases.h"

namespace chart {

class TRotateTool;

enum TRotateToolStyles : std::uint8_t { rsAll, rsRotation, rsElevation };

using TRotateToolNotify = std::function<void(TRotateTool& sender)>;

class TRotateTool : public TKivCustomTool {
  ORVEL_CLASS_INFO
 public:
  explicit TRotateTool(classlib::TComponent* owner = nullptr);

  // properties
  TMouseButton Button() const { return FButton; }
  void SetButton(TMouseButton v) { FButton = v; }
  bool Inverted() const { return FInverted; }
  void SetInverted(bool v) { FInverted = v; }
  TRotateToolStyles Style() const { return FStyle; }
  void SetStyle(TRotateToolStyles v) { FStyle = v; }
  bool Dragging() const { return FDragging; }

  // events
  TRotateToolNotify OnRotate;

  // operations
  // The angle after turning by delta on a surface that shows only part of
  // the turn: the rotation skips the back half (91..269), the elevation
  // stays within 270..360.
  static std::int32_t NextRotation(std::int32_t rotation, std::int32_t delta);
  static std::int32_t NextElevation(std::int32_t elevation, std::int32_t delta);

  // overrides
  void ChartMouseEvent(TChartMouseEvent event, TMouseButton button, TShiftState shift, std::int32_t x,
                       std::int32_t y) override;
  std::string Description() const override { return "Rotate"; }
  std::string EditorClassName() const override { return "TRotateToolEditor"; }

 private:
  void DrawOutline();
  void Rotate(std::int32_t x, std::int32_t y);

  TMouseButton FButton = mbLeft;
  bool FInverted = false;
  TRotateToolStyles FStyle = rsAll;
  bool FDragging = false;
  bool FFirstMove = true;
  bool FOutlined = false;
  TPoint FLast{0, 0};
  bool FSavedRepaint = true;
};

}  // namespace chart

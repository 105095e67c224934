// The axis arrow tool: arrows at the ends of an axis that scroll it when
// clicked.
//
// Tested by: chart/tests/AxisToolsTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "chart/core/StoreAndInvalidate.h"
#include "chart/tools/ToolBases.h"

namespace chart {

class TAxisArrowTool;

enum TAxisArrowToolPosition : std::uint8_t { aaStart, aaEnd, aaBoth };

using TAxisArrowClickEvent = std::function<void(TAxisArrowTool& sender, bool atStart)>;

class TAxisArrowTool : public TKivCustomToolAxis {
  ORVEL_CLASS_INFO
 public:
  explicit TAxisArrowTool(classlib::TComponent* owner = nullptr);

  // properties
  TAxisArrowToolPosition Position() const { return FPosition; }
  void SetPosition(TAxisArrowToolPosition v) { StoreAndInvalidate(*this, FPosition, v); }
  // Arrow length in pixels.
  std::int32_t Length() const { return FLength; }
  void SetLength(std::int32_t v) { StoreAndInvalidate(*this, FLength, v); }
  bool ScrollInverted() const { return FScrollInverted; }
  void SetScrollInverted(bool v) { FScrollInverted = v; }
  // Percent of the axis range one click scrolls (0: clicks do nothing).
  std::int32_t ScrollPercent() const { return FScrollPercent; }
  void SetScrollPercent(std::int32_t v) { FScrollPercent = v; }

  // events
  TAxisArrowClickEvent OnClick;

  // operations
  // The arrow at (x, y): 0 the start arrow, 1 the end arrow, -1 none.
  int ClickedArrow(std::int32_t x, std::int32_t y) const;

  // overrides
  void ChartEvent(TChartToolEvent event) override;
  void ChartMouseEvent(TChartMouseEvent event, TMouseButton button, TShiftState shift, std::int32_t x,
                       std::int32_t y) override;
  std::string Description() const override { return "Axis Arrows"; }
  std::string EditorClassName() const override { return "TAxisArrowToolEditor"; }

 private:
  void ScrollBy(double delta);

  TAxisArrowToolPosition FPosition = aaBoth;
  std::int32_t FLength = 16;
  bool FScrollInverted = false;
  std::int32_t FScrollPercent = 10;
};

}  // namespace chart

// Small services the tools ask of the chart they work on: its cursor, its
// cancel-mouse flag and the test whether a pixel lies in a rectangle with its
// far edges included.
#pragma once

#include <cstdint>

#include "chart/AxisPanel.h"

namespace chart {

// Shows cursor over the chart's window (charts drawn only into images have none).
inline void SetChartCursor(TCustomAxisPanel* chart, TCursor cursor) {
  if (chart != nullptr && chart->Host() != nullptr) chart->Host()->SetCursor(cursor);
}

// Keeps the chart (and the tools after this one) from handling the mouse event.
inline void CancelChartMouse(TCustomAxisPanel* chart) {
  if (chart != nullptr) chart->SetCancelMouseFlag(true);
}

// True when (x, y) lies in r, its right and bottom edges included.
inline bool PointInRectInclusive(const TRect& r, std::int32_t x, std::int32_t y) {
  return x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom;
}

}  // namespace chart

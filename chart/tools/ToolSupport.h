// Small services the tools ask of the chart they work on: its cursor, its
// cancel-mouse flag, the test whether a pixel lies in a rectangle with its
// far edges included, and the points of a series in view.
#pragma once

#include <cstdint>

#include "chart/AxisPanel.h"
#include "chart/series/SeriesData.h"

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

// The points of series in view at its last drawing: false when it has none.
inline bool VisibleRange(const TChartSeries& series, int& first, int& last) {
  const int count = series.Count();
  first = series.FirstValueIndex() < 0 ? 0 : series.FirstValueIndex();
  last = series.LastValueIndex();
  if (last < 0 || last >= count) last = count - 1;
  return count >= 1 && first < count && last < count;
}

}  // namespace chart

// Lines that series kinds draw flat in a 2D chart and at a depth in a 3D one.
//
// Used by: chart/series/CandleSeries.cpp, chart/series/ErrorSeries.cpp
#pragma once

#include <cstdint>

#include "chart/canvas/KivCanvas.h"

namespace chart {

inline void SeriesVertLine(TCanvas3D& c, bool is3D, std::int32_t x, std::int32_t y0, std::int32_t y1,
                           std::int32_t z) {
  if (is3D)
    c.VertLine3D(x, y0, y1, z);
  else
    c.DoVertLine(x, y0, y1);
}

inline void SeriesHorizLine(TCanvas3D& c, bool is3D, std::int32_t x0, std::int32_t x1, std::int32_t y,
                            std::int32_t z) {
  if (is3D)
    c.HorizLine3D(x0, x1, y, z);
  else
    c.DoHorizLine(x0, x1, y);
}

}  // namespace chart

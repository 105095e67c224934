// A line through many points drawn as the few that show: consecutive points
// that land in one pixel column become the first, the lowest, the highest
// and the last of them, in the order they came. Joined by lines they light
// the same column ranges as the line through every point, so a series of a
// million points draws a few lines per column.
//
// Tested by: chart/tests/ColumnReducerTest.cpp
#pragma once

#include <span>
#include <vector>

#include "chart/core/AxisScale.h"
#include "chart/core/KivTypes.h"

namespace chart {

// Points one at a time, in pixels: any road (3D, stairs, breaks at null
// points) can feed it.
class TColumnReducer {
 public:
  explicit TColumnReducer(std::vector<TPoint>& out) : FOut(out) {}

  void Add(const TPoint& p);
  // Ends the open column: before the line ends or breaks.
  void Flush();

 private:
  void Emit(const TPoint& p) {
    if (FOut.empty() || !(FOut.back() == p)) FOut.push_back(p);
  }

  std::vector<TPoint>& FOut;
  bool FOpen = false;
  TPoint FFirst, FMin, FMax, FLast;
  int FSeq = 0, FMinSeq = 0, FMaxSeq = 0;
};

// Points first..last of xs and ys through two linear maps, appended to out
// exactly as a TColumnReducer fed with every point would append them.
// xsInOrder: the x values are known to follow one order without NaN, so the
// columns follow it too and a column's end is found from a few of its
// points. The extremes of a column are found from its values, and only the
// points near them are mapped.
void ReduceColumns(std::span<const double> xs, std::span<const double> ys, int first, int last,
                   const TLinearPixelMap& xMap, const TLinearPixelMap& yMap, bool xsInOrder,
                   std::vector<TPoint>& out);

}  // namespace chart

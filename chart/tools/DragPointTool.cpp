// The drag point tool.
//
// Tested by: chart/tests/DragPointToolTest.cpp
#include "chart/tools/DragPointTool.h"

#include <algorithm>
#include <limits>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/series/SeriesData.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TDragPointTool::StaticClassInfo() {
  using C = TDragPointTool;
  static const TClassInfo info = TClassBuilder<C>("TDragPointTool", TKivCustomToolSeries::StaticClassInfo())
                                     .Property("DragStyle", &C::DragStyle, &C::SetDragStyle, dsBoth)
                                     .TypeName("TDragPointStyle")
                                     .Names({"dsX", "dsY", "dsBoth"})
                                     .Property("Series", &C::Series, &C::SetSeries)
                                     .TypeName("TChartSeries")
                                     .Creatable()
                                     .Build();
  return info;
}

TDragPointTool::TDragPointTool(classlib::TComponent* owner) : TKivCustomToolSeries(owner) {}

void TDragPointTool::SetSeries(TChartSeries* series) {
  if (series != Series()) FIndex = -1;
  TKivCustomToolSeries::SetSeries(series);
}

void TDragPointTool::Notification(classlib::TComponent* component, classlib::TOperation operation) {
  TKivCustomToolSeries::Notification(component, operation);
  if (Series() == nullptr) FIndex = -1;
}

void TDragPointTool::ChartMouseEvent(TChartMouseEvent event, TMouseButton, TShiftState, std::int32_t x,
                                     std::int32_t y) {
  TChartSeries* s = Series();
  if (s == nullptr) return;
  switch (event) {
    case cmeDown:
      // Any button picks; a pick keeps the chart from zooming or panning.
      FIndex = s->Clicked(x, y);
      if (FIndex != -1 && ParentChart() != nullptr) ParentChart()->SetCancelMouseFlag(true);
      break;
    case cmeMove:
      if (FIndex != -1) DragTo(x, y);
      break;
    case cmeUp: FIndex = -1; break;
  }
}

void TDragPointTool::DragTo(std::int32_t x, std::int32_t y) {
  TChartSeries& s = *Series();
  if (FIndex >= s.Count()) {
    // Points were deleted under the drag: the picked one is gone.
    FIndex = -1;
    return;
  }
  const int index = FIndex;
  s.BeginUpdate();
  if (FDragStyle != dsY && s.GetHorizAxis() != nullptr) {
    double v = s.GetHorizAxis()->CalcPosPoint(x);
    // The X list stays in its order: the point stops at its neighbours, so
    // the visible range, ordered adds and the lines between points stay right.
    TChartValueList& xs = *s.XValues();
    const bool ascending = xs.Order() == loAscending, descending = xs.Order() == loDescending;
    const bool inOrder = xs.KnownInOrder();
    if (ascending || descending) {
      const int before = index - 1, after = index + 1;
      double low = -std::numeric_limits<double>::infinity(), high = std::numeric_limits<double>::infinity();
      if (before >= 0) (ascending ? low : high) = xs.Value(before);
      if (after < s.Count()) (ascending ? high : low) = xs.Value(after);
      if (low <= high) v = std::clamp(v, low, high);
    }
    s.SetXValue(index, v);
    // A write in place forgets the order; between its neighbours the point keeps it.
    if (inOrder) xs.SetKnownInOrder(true);
  }
  if (FDragStyle != dsX && s.GetVertAxis() != nullptr) s.SetYValue(index, s.GetVertAxis()->CalcPosPoint(y));
  s.EndUpdate();
  if (OnDragPoint) OnDragPoint(*this, index);
}

}  // namespace chart

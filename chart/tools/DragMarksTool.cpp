// The drag marks tool.
//
// Tested by: chart/tests/DragMarksToolTest.cpp
#include "chart/tools/DragMarksTool.h"

#include "chart/AxisPanel.h"
#include "chart/series/SeriesMarks.h"
#include "chart/tools/ToolSupport.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TDragMarksTool::StaticClassInfo() {
  using C = TDragMarksTool;
  static const TClassInfo info = TClassBuilder<C>("TDragMarksTool", TKivCustomToolSeries::StaticClassInfo())
                                     .Property("Series", &C::Series, &C::SetSeries)
                                     .TypeName("TChartSeries")
                                     .Creatable()
                                     .Build();
  return info;
}

TDragMarksTool::TDragMarksTool(classlib::TComponent* owner) : TKivCustomToolSeries(owner) {}

TDragMarksTool::~TDragMarksTool() { EndDrag(); }

void TDragMarksTool::EndDrag() {
  if (FDragged != nullptr && FDragged != Series()) FDragged->RemoveFreeNotification(*this);
  FDragged = nullptr;
  FIndex = -1;
}

void TDragMarksTool::Notification(classlib::TComponent* component, classlib::TOperation operation) {
  if (operation == classlib::opRemove && component == FDragged) {
    FDragged = nullptr;
    FIndex = -1;
  }
  TKivCustomToolSeries::Notification(component, operation);
}

bool TDragMarksTool::MarkAt(std::int32_t x, std::int32_t y, TChartSeries*& series, int& index) const {
  auto tryOne = [&](TChartSeries* s) {
    if (!s->Active() || !s->Marks()->Visible()) return false;
    index = s->Marks()->Clicked(x, y);
    if (index == -1) return false;
    series = s;
    return true;
  };
  if (Series() != nullptr) return tryOne(Series());
  if (ParentChart() == nullptr) return false;
  const TChartSeriesList& list = ParentChart()->SeriesList();
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    if (tryOne(*it)) return true;
  return false;
}

void TDragMarksTool::ChartMouseEvent(TChartMouseEvent event, TMouseButton, TShiftState, std::int32_t x,
                                     std::int32_t y) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  TChartSeries* series = nullptr;
  int index = -1;
  switch (event) {
    case cmeDown:
      if (!MarkAt(x, y, series, index)) break;
      EndDrag();
      FDragged = series;
      FIndex = index;
      if (series != Series()) series->FreeNotification(*this);
      FLast = {x, y};
      CancelChartMouse(chart);
      break;
    case cmeMove:
      if (FDragged != nullptr) {
        TSeriesMarkPosition& p = FDragged->Marks()->Positions().Ensure(FIndex);
        const std::int32_t dx = x - FLast.X, dy = y - FLast.Y;
        // The arrow keeps its start at the point.
        p.Custom = true;
        p.LeftTop = {p.LeftTop.X + dx, p.LeftTop.Y + dy};
        p.ArrowTo = {p.ArrowTo.X + dx, p.ArrowTo.Y + dy};
        FLast = {x, y};
        CancelChartMouse(chart);
        chart->Invalidate();
      } else if (MarkAt(x, y, series, index)) {
        SetChartCursor(chart, crHandPoint);
        CancelChartMouse(chart);
      }
      break;
    case cmeUp: EndDrag(); break;
  }
}

}  // namespace chart

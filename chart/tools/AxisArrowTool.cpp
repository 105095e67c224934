// The axis arrow tool.
//
// Tested by: chart/tests/AxisToolsTest.cpp
#include "chart/tools/AxisArrowTool.h"

#include <cstdlib>

#include "chart/ChartControl.h"
#include "chart/tools/ToolSupport.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TAxisArrowTool::StaticClassInfo() {
  using C = TAxisArrowTool;
  static const TClassInfo info = TClassBuilder<C>("TAxisArrowTool", TKivCustomToolAxis::StaticClassInfo())
                                     .Property("Position", &C::Position, &C::SetPosition, aaBoth)
                                     .TypeName("TAxisArrowToolPosition")
                                     .Names({"aaStart", "aaEnd", "aaBoth"})
                                     .Property("Length", &C::Length, &C::SetLength, 16)
                                     .Property("ScrollInverted", &C::ScrollInverted, &C::SetScrollInverted, false)
                                     .Property("ScrollPercent", &C::ScrollPercent, &C::SetScrollPercent, 10)
                                     .Creatable()
                                     .Build();
  return info;
}

TAxisArrowTool::TAxisArrowTool(classlib::TComponent* owner) : TKivCustomToolAxis(owner) {}

void TAxisArrowTool::ChartEvent(TChartToolEvent event) {
  TChartAxis* a = Axis();
  TCustomAxisPanel* chart = ParentChart();
  if (event != cteAfterDraw || a == nullptr || chart == nullptr) return;
  TCanvas3D& c = chart->Canvas();
  c.AssignBrush(*Brush());
  c.AssignVisiblePen(*Pen());
  const std::int32_t z = chart->View3D() && a->OtherSide() ? chart->Width3D() : 0;
  const std::int32_t p = a->PosAxis(), start = a->IStartPos(), end = a->IEndPos();
  auto along = [&](std::int32_t v) { return a->Horizontal() ? TPoint{v, p} : TPoint{p, v}; };
  if (FPosition != aaEnd) c.Arrow(true, along(start + FLength), along(start), 8, 8, z);
  if (FPosition != aaStart) c.Arrow(true, along(end - FLength), along(end), 8, 8, z);
}

int TAxisArrowTool::ClickedArrow(std::int32_t x, std::int32_t y) const {
  const TChartAxis* a = Axis();
  if (a == nullptr) return -1;
  const std::int32_t along = a->Horizontal() ? x : y, across = a->Horizontal() ? y : x;
  if (std::abs(across - a->PosAxis()) >= 3) return -1;
  const std::int32_t start = a->IStartPos(), end = a->IEndPos();
  if (FPosition != aaEnd && start < along && along < start + FLength) return 0;
  if (FPosition != aaStart && end - FLength < along && along < end) return 1;
  return -1;
}

void TAxisArrowTool::ScrollBy(double delta) {
  TChartAxis& a = *Axis();
  TCustomAxisPanel& chart = *ParentChart();
  auto* full = dynamic_cast<TCustomChart*>(&chart);
  bool allow = true;
  if (full != nullptr && full->OnAllowScroll) {
    double mn = a.Minimum() + delta, mx = a.Maximum() + delta;
    full->OnAllowScroll(a, mn, mx, allow);
  }
  if (!allow) return;
  a.Scroll(delta, false);
  // A series drawn against both axes of a side keeps them together.
  TChartAxis* opposite = nullptr;
  if (&a == chart.BottomAxis()) opposite = chart.TopAxis();
  else if (&a == chart.TopAxis()) opposite = chart.BottomAxis();
  else if (&a == chart.LeftAxis()) opposite = chart.RightAxis();
  else if (&a == chart.RightAxis()) opposite = chart.LeftAxis();
  if (opposite != nullptr)
    for (TChartSeries* s : chart.SeriesList())
      if (s->AssociatedToAxis(&a) &&
          (a.Horizontal() ? s->HorizAxis() == aBothHorizAxis : s->VertAxis() == aBothVertAxis)) {
        opposite->Scroll(delta, false);
        break;
      }
  if (chart.OnScroll) chart.OnScroll();
}

void TAxisArrowTool::ChartMouseEvent(TChartMouseEvent event, TMouseButton, TShiftState, std::int32_t x,
                                     std::int32_t y) {
  TChartAxis* a = Axis();
  TCustomAxisPanel* chart = ParentChart();
  if (a == nullptr || chart == nullptr || !a->Visible()) return;
  if (event == cmeDown) {
    if (FScrollPercent == 0) return;
    const int arrow = ClickedArrow(x, y);
    if (arrow == -1) return;
    double delta = FScrollPercent * (a->Maximum() - a->Minimum()) / 100;
    if (FScrollInverted) delta = -delta;
    ScrollBy(arrow == 0 ? delta : -delta);
    CancelChartMouse(chart);
    if (OnClick) OnClick(*this, arrow == 0);
  } else if (event == cmeMove && ClickedArrow(x, y) != -1) {
    SetChartCursor(chart, crHandPoint);
    CancelChartMouse(chart);
  }
}

}  // namespace chart

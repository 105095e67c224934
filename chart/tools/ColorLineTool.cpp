// The colour line tool.
//
// Tested by: chart/tests/ColorLineToolTest.cpp
#include "chart/tools/ColorLineTool.h"

#include <cstdlib>
#include <utility>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/core/StoreAndInvalidate.h"
#include "chart/tools/ToolSupport.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TColorLineTool::StaticClassInfo() {
  using C = TColorLineTool;
  static const TClassInfo info = TClassBuilder<C>("TColorLineTool", TKivCustomToolAxis::StaticClassInfo())
                                     .Property("AllowDrag", &C::AllowDrag, &C::SetAllowDrag, true)
                                     .Property("DragRepaint", &C::DragRepaint, &C::SetDragRepaint, false)
                                     .Property("Draw3D", &C::Draw3D, &C::SetDraw3D, true)
                                     .Property("DrawBehind", &C::DrawBehind, &C::SetDrawBehind, false)
                                     .Property("NoLimitDrag", &C::NoLimitDrag, &C::SetNoLimitDrag, false)
                                     .Property("Style", &C::Style, &C::SetStyle, clCustom)
                                     .TypeName("TColorLineStyle")
                                     .Names({"clCustom", "clMaximum", "clCenter", "clMinimum"})
                                     .Property("Value", &C::Value, &C::SetValue, 0.0)
                                     .Creatable()
                                     .Build();
  return info;
}

TColorLineTool::TColorLineTool(classlib::TComponent* owner) : TKivCustomToolAxis(owner) {}

void TColorLineTool::SetValue(double v) {
  FStyle = clCustom;
  // While the line is dragged in XOR the picture already shows it.
  if (FDragging && !FDragRepaint) {
    FValue = v;
    return;
  }
  StoreAndInvalidate(*this, FValue, v);
}

double TColorLineTool::LineValue() const {
  const TChartAxis* a = Axis();
  if (a == nullptr) return FValue;
  switch (FStyle) {
    case clMaximum: return a->Maximum();
    case clMinimum: return a->Minimum();
    case clCenter: return (a->Maximum() + a->Minimum()) * 0.5;
    case clCustom: break;
  }
  return FValue;
}

double TColorLineTool::LimitValue(double v) const {
  const TChartAxis* a = Axis();
  if (a == nullptr) return v;
  double low = a->CalcPosPoint(a->Horizontal() ? a->IStartPos() : a->IEndPos());
  double high = a->CalcPosPoint(a->Horizontal() ? a->IEndPos() : a->IStartPos());
  // An inverted axis shows its ends the other way round; the range is the same.
  if (low > high) std::swap(low, high);
  if (v < low) return low;
  if (v > high) return high;
  return v;
}

bool TColorLineTool::Clicked(std::int32_t x, std::int32_t y) const {
  const TChartAxis* a = Axis();
  const TCustomAxisPanel* chart = ParentChart();
  if (a == nullptr || chart == nullptr) return false;
  const std::int32_t p = a->CalcPosValue(LineValue());
  const TRect& r = chart->ChartRect();
  if (a->Horizontal()) return std::abs(x - p) < 3 && y >= r.Top && y <= r.Bottom;
  return std::abs(y - p) < 3 && x >= r.Left && x <= r.Right;
}

void TColorLineTool::DrawColorLine(TCanvas3D& c, bool back) {
  TChartAxis& a = *Axis();
  TCustomAxisPanel& chart = *ParentChart();
  if (!FNoLimitDrag) FValue = LimitValue(FValue);
  const std::int32_t p = a.CalcPosValue(LineValue());
  const TRect r = chart.ChartRect();
  const std::int32_t depth = chart.Width3D();
  if (back) {
    if (a.Horizontal()) {
      if (FDraw3D) c.ZLine3D(p, r.Bottom, 0, depth);
      if (FDraw3D || FDrawBehind) c.VertLine3D(p, r.Top, r.Bottom, depth);
    } else {
      if (FDraw3D) c.ZLine3D(r.Left, p, 0, depth);
      if (FDraw3D || FDrawBehind) c.HorizLine3D(r.Left, r.Right, p, depth);
    }
    return;
  }
  // A 2D line dragged in XOR lives in the picture; the back pass alone draws it.
  if (!chart.View3D() && FDragging && !FDragRepaint) return;
  if (a.Horizontal()) {
    if (FDraw3D) c.ZLine3D(p, r.Top, 0, depth);
    if (!FDrawBehind) c.VertLine3D(p, r.Top, r.Bottom, 0);
  } else {
    if (FDraw3D) c.ZLine3D(r.Right, p, 0, depth);
    if (!FDrawBehind) c.HorizLine3D(r.Left, r.Right, p, 0);
  }
}

void TColorLineTool::ChartEvent(TChartToolEvent event) {
  if (Axis() == nullptr || ParentChart() == nullptr) return;
  if (event != cteBeforeDrawSeries && event != cteAfterDraw) return;
  TCanvas3D& c = ParentChart()->Canvas();
  c.AssignVisiblePen(*Pen());
  c.SetBackMode(TRANSPARENT);
  DrawColorLine(c, event == cteBeforeDrawSeries);
}

void TColorLineTool::DrawInverted() {
  ParentChart()->DrawOverPicture([this](TCanvas3D& c) {
    c.AssignVisiblePen(*Pen());
    c.Pen().SetMode(pmNotXor);
    c.SetBackMode(TRANSPARENT);
    DrawColorLine(c, true);
    DrawColorLine(c, false);
    c.Pen().SetMode(pmCopy);
  });
}

void TColorLineTool::DoEndDragLine() {
  if (OnEndDragLine) OnEndDragLine(*this);
}

void TColorLineTool::ChartMouseEvent(TChartMouseEvent event, TMouseButton, TShiftState, std::int32_t x,
                                     std::int32_t y) {
  TChartAxis* a = Axis();
  TCustomAxisPanel* chart = ParentChart();
  if (!FAllowDrag || a == nullptr || chart == nullptr) return;
  switch (event) {
    case cmeDown:
      FDragging = Clicked(x, y);
      chart->SetCancelMouseFlag(FDragging);
      break;
    case cmeUp:
      // Every release ends here, also one that dragged nothing.
      FDragging = false;
      if (!FDragRepaint) chart->Invalidate();
      DoEndDragLine();
      break;
    case cmeMove: {
      if (!FDragging) {
        if (Clicked(x, y)) {
          SetChartCursor(chart, a->Horizontal() ? crHSplit : crVSplit);
          CancelChartMouse(chart);
        }
        break;
      }
      double v = a->CalcPosPoint(a->Horizontal() ? x : y);
      if (!FNoLimitDrag) v = LimitValue(v);
      bool moved = false;
      if (FDragRepaint) {
        SetValue(v);
      } else if (v != LineValue()) {
        DrawInverted();  // erases the line where it was
        FStyle = clCustom;
        FValue = v;
        moved = true;
      }
      CancelChartMouse(chart);
      if (OnDragLine) OnDragLine(*this);
      // The handler may have ended the drag or unbound the axis.
      if (moved && FDragging && Axis() != nullptr) DrawInverted();
      break;
    }
  }
}

}  // namespace chart

// The cursor and nearest-point tools.
//
// Tested by: chart/tests/CursorToolTest.cpp
#include "chart/tools/CursorTool.h"

#include <cmath>
#include <cstdlib>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/core/KivProcsRoutines.h"
#include "chart/tools/ToolSupport.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

// --- cursor -----------------------------------------------------------------

const TClassInfo& TCursorTool::StaticClassInfo() {
  using C = TCursorTool;
  static const TClassInfo info = TClassBuilder<C>("TCursorTool", TKivCustomToolSeries::StaticClassInfo())
                                     .Property("FollowMouse", &C::FollowMouse, &C::SetFollowMouse, false)
                                     .Property("Series", &C::Series, &C::SetSeries)
                                     .TypeName("TChartSeries")
                                     .Property("Snap", &C::Snap, &C::SetSnap, false)
                                     .Property("Style", &C::Style, &C::SetStyle, cssBoth)
                                     .TypeName("TCursorToolStyle")
                                     .Names({"cssHorizontal", "cssVertical", "cssBoth"})
                                     .Creatable()
                                     .Build();
  return info;
}

TCursorTool::TCursorTool(classlib::TComponent* owner) : TKivCustomToolSeries(owner) {}

TRect TCursorTool::Bounds() const {
  const TChartAxis* h = GetHorizAxis();
  const TChartAxis* v = GetVertAxis();
  if (h == nullptr || v == nullptr) return {};
  return {h->IStartPos(), v->IStartPos(), h->IEndPos(), v->IEndPos()};
}

void TCursorTool::CalcValuePositions(std::int32_t x, std::int32_t y) {
  const TChartAxis* h = GetHorizAxis();
  const TChartAxis* v = GetVertAxis();
  if (h == nullptr || v == nullptr) return;
  if (FDragging != 2) FYValue = v->CalcPosPoint(y);
  if (FDragging != 1) FXValue = h->CalcPosPoint(x);
}

int TCursorTool::SnapToPoint() {
  TChartSeries* s = Series();
  int first = 0, last = -1;
  if (s == nullptr || !FSnap || !VisibleRange(*s, first, last)) return -1;
  const TChartValueList& xs = *s->XValues();
  const TChartValueList& ys = *s->YValues();
  int best = -1;
  double bestDistance = 0;
  for (int i = first; i <= last; ++i) {
    const double dx = FXValue - xs.Value(i), dy = FYValue - ys.Value(i);
    const double d = FStyle == cssHorizontal ? std::abs(dy)
                     : FStyle == cssVertical ? std::abs(dx)
                                             : std::sqrt(dx * dx + dy * dy);
    if (best == -1 || d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  if (best == -1) return -1;
  if (FStyle != cssVertical) FYValue = ys.Value(best);
  if (FStyle != cssHorizontal) FXValue = xs.Value(best);
  return best;
}

void TCursorTool::CalcScreenPositions() {
  const TChartAxis* h = GetHorizAxis();
  const TChartAxis* v = GetVertAxis();
  if (h == nullptr || v == nullptr) return;
  if (FX != -1 && FY != -1) {
    FX = h->CalcPosValue(FXValue);
    FY = v->CalcPosValue(FYValue);
    return;
  }
  // A new cursor starts at the centre of its axes.
  FX = (h->IStartPos() + h->IEndPos()) / 2;
  FY = (v->IStartPos() + v->IEndPos()) / 2;
  CalcValuePositions(FX, FY);
  const int index = SnapToPoint();
  FX = h->CalcPosValue(FXValue);
  FY = v->CalcPosValue(FYValue);
  DoChange(index);
}

void TCursorTool::DrawCursorLines(TCanvas3D& c) {
  TCustomAxisPanel& chart = *ParentChart();
  const TColor chartColor = chart.Color() == clDefault ? clBtnFace : chart.Color();
  c.AssignVisiblePenColor(*Pen(), (ColorToRGB(Pen()->Color()) ^ ColorToRGB(chartColor)) & 0xFFFFFF);
  c.Brush().SetStyle(bsClear);
  c.Pen().SetMode(pmXor);
  const TRect r = Bounds();
  const bool is3D = chart.View3D();
  if (FStyle != cssVertical) {
    if (is3D)
      c.HorizLine3D(r.Left, r.Right, FY, 0);
    else
      c.DoHorizLine(r.Left, r.Right, FY);
  }
  if (FStyle != cssHorizontal) {
    if (is3D)
      c.VertLine3D(FX, r.Top, r.Bottom, 0);
    else
      c.DoVertLine(FX, r.Top, r.Bottom);
  }
  c.Pen().SetMode(pmCopy);
}

void TCursorTool::DrawOverChart() {
  if (ParentChart() == nullptr) return;
  ParentChart()->DrawOverPicture([this](TCanvas3D& c) { DrawCursorLines(c); });
}

int TCursorTool::Clicked(std::int32_t x, std::int32_t y) const {
  if (!PointInRectInclusive(Bounds(), x, y)) return 0;
  const bool onHoriz = std::abs(y - FY) < 3, onVert = std::abs(x - FX) < 3;
  if (FStyle == cssBoth && onHoriz && onVert) return 3;
  if (FStyle != cssVertical && onHoriz) return 1;
  if (FStyle != cssHorizontal && onVert) return 2;
  return 0;
}

void TCursorTool::DoChange(int valueIndex) {
  if (OnChange) OnChange(*this, FX, FY, FXValue, FYValue, Series(), valueIndex);
}

void TCursorTool::SetStyle(TCursorToolStyle v) {
  if (FStyle == v) return;
  FStyle = v;
  SnapToPoint();
  Invalidate();
}

void TCursorTool::SetSeries(TChartSeries* series) {
  TKivCustomToolSeries::SetSeries(series);
  if (HasState(classlib::csLoading) || ParentChart() == nullptr) return;
  SnapToPoint();
  CalcScreenPositions();
  Invalidate();
}

void TCursorTool::ChartEvent(TChartToolEvent event) {
  if (event != cteAfterDraw || ParentChart() == nullptr) return;
  CalcScreenPositions();
  DrawCursorLines(ParentChart()->Canvas());
}

void TCursorTool::ChartMouseEvent(TChartMouseEvent event, TMouseButton, TShiftState, std::int32_t x,
                                  std::int32_t y) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  switch (event) {
    case cmeDown:
      if (!FFollowMouse) {
        FDragging = Clicked(x, y);
        if (FDragging != 0) CancelChartMouse(chart);
      }
      break;
    case cmeUp: FDragging = 0; break;
    case cmeMove:
      if ((FDragging != 0 || FFollowMouse) && PointInRectInclusive(Bounds(), x, y)) {
        DrawOverChart();  // erases the lines where they were
        CalcValuePositions(x, y);
        const int index = SnapToPoint();
        CalcScreenPositions();
        DrawOverChart();
        DoChange(index);
      } else {
        const int hit = Clicked(x, y);
        if (hit == 0) break;
        SetChartCursor(chart, hit == 1 ? crVSplit : hit == 2 ? crHSplit : crSizeAll);
        CancelChartMouse(chart);
      }
      break;
  }
}

// --- nearest point ----------------------------------------------------------

const TClassInfo& TNearestTool::StaticClassInfo() {
  using C = TNearestTool;
  static const TClassInfo info = TClassBuilder<C>("TNearestTool", TKivCustomToolSeries::StaticClassInfo())
                                     .Property("DrawLine", &C::DrawLine, &C::SetDrawLine, true)
                                     .Property("FullRepaint", &C::FullRepaint, &C::SetFullRepaint, true)
                                     .Property("Series", &C::Series, &C::SetSeries)
                                     .TypeName("TChartSeries")
                                     .Property("Size", &C::Size, &C::SetSize, 20)
                                     .Property("Style", &C::Style, &C::SetStyle, hsCircle)
                                     .TypeName("TNearestToolStyle")
                                     .Names({"hsNone", "hsCircle", "hsRectangle", "hsDiamond"})
                                     .Creatable()
                                     .Build();
  return info;
}

TNearestTool::TNearestTool(classlib::TComponent* owner) : TKivCustomToolSeries(owner) {
  Pen()->InitPen(clWhite, 1, psDot);
  Brush()->SetStyle(bsClear);
}

int TNearestTool::GetNearestPoint(std::int32_t x, std::int32_t y) const {
  const TChartSeries* s = Series();
  const TCustomAxisPanel* chart = ParentChart();
  int first = 0, last = -1;
  if (s == nullptr || chart == nullptr || !VisibleRange(*s, first, last)) return -1;
  const TRect& r = chart->ChartRect();
  int best = -1;
  double bestDistance = 10000;
  for (int i = first; i <= last; ++i) {
    const std::int32_t px = s->CalcXPos(i), py = s->CalcYPos(i);
    if (!PointInRect(r, px, py)) continue;
    // Pixels reach the axis clamp of 67108863: their squares need doubles.
    const double dx = static_cast<double>(px) - x, dy = static_cast<double>(py) - y;
    const double d = std::nearbyint(std::sqrt(dx * dx + dy * dy));
    if (d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

void TNearestTool::PaintHint(TCanvas3D& c) {
  TChartSeries* s = Series();
  if (s == nullptr || FPoint == -1 || FPoint >= s->Count() || ParentChart() == nullptr) return;
  const bool is3D = ParentChart()->View3D();
  c.AssignVisiblePen(*Pen());
  if (!FFullRepaint) c.Pen().SetMode(pmNotXor);
  const std::int32_t x = s->CalcXPos(FPoint), y = s->CalcYPos(FPoint), z = s->StartZ;
  if (FStyle != hsNone) {
    c.AssignBrush(*Brush());
    const TRect box{x - FSize, y - FSize, x + FSize, y + FSize};
    switch (FStyle) {
      case hsCircle:
        if (is3D)
          c.EllipseWithZ(box, z);
        else
          c.Ellipse(box);
        break;
      case hsRectangle:
        if (is3D)
          c.RectangleWithZ(box, z);
        else
          c.Rectangle(box);
        break;
      case hsDiamond: {
        const TPoint diamond[4] = {{x, y - FSize}, {x + FSize, y}, {x, y + FSize}, {x - FSize, y}};
        c.PolygonWithZ(diamond, z);
        break;
      }
      case hsNone: break;
    }
  }
  if (FDrawLine) {
    c.Pen().SetStyle(psSolid);
    c.Line(FMouse.X, FMouse.Y, x, y);
  }
  if (!FFullRepaint) c.Pen().SetMode(pmCopy);
}

void TNearestTool::ChartEvent(TChartToolEvent event) {
  if (event == cteAfterDraw && ParentChart() != nullptr) PaintHint(ParentChart()->Canvas());
}

void TNearestTool::ChartMouseEvent(TChartMouseEvent event, TMouseButton, TShiftState, std::int32_t x,
                                   std::int32_t y) {
  TCustomAxisPanel* chart = ParentChart();
  if (event != cmeMove || Series() == nullptr || chart == nullptr) return;
  if (!FFullRepaint) chart->DrawOverPicture([this](TCanvas3D& c) { PaintHint(c); });
  FPoint = GetNearestPoint(x, y);
  FMouse = {x, y};
  if (!FFullRepaint) chart->DrawOverPicture([this](TCanvas3D& c) { PaintHint(c); });
  if (OnChange) OnChange(*this);
  if (FFullRepaint) chart->Invalidate();
}

}  // namespace chart

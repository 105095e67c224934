// The fast line series: the column reduction and its polyline, the
// point-by-point road, the segment of an appended point, legend, marks,
// margins and the click test.
//
// Tested by: chart/tests/FastLineSeriesTest.cpp
#include "chart/series/FastLineSeries.h"

#include <algorithm>
#include <cmath>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/canvas/KivCanvasQt.h"
#include "chart/core/ColumnReducer.h"
#include "chart/core/KivConst.h"
#include "chart/series/SeriesMarks.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TFastLineSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TFastLineSeries>("TFastLineSeries", TCustomLineSeries::StaticClassInfo())
          .Property("AutoRepaint", &TFastLineSeries::AutoRepaint, &TFastLineSeries::SetAutoRepaint, true)
          .Property("DrawAllPoints", &TFastLineSeries::DrawAllPoints, &TFastLineSeries::SetDrawAllPoints, true)
          .Property("IgnoreNulls", &TFastLineSeries::IgnoreNulls, &TFastLineSeries::SetIgnoreNulls, true)
          .Property("InvertedStairs", &TFastLineSeries::InvertedStairs, &TFastLineSeries::SetInvertedStairs, false)
          .SubObject("LinePen", &TFastLineSeries::LinePen)
          .TypeName("TChartPen")
          .Property("Stairs", &TFastLineSeries::Stairs, &TFastLineSeries::SetStairs, false)
          .Creatable()
          .Build();
  return info;
}

TFastLineSeries::TFastLineSeries(classlib::TComponent* owner) : TCustomLineSeries(owner) {
  SetDrawBetweenPoints(true);
  SetSingleResult(false);
}

void TFastLineSeries::Assign(const classlib::TPersistent& source) {
  if (auto* s = dynamic_cast<const TFastLineSeries*>(&source)) {
    FAutoRepaint = s->FAutoRepaint;
    FDrawAllPoints = s->FDrawAllPoints;
    FIgnoreNulls = s->FIgnoreNulls;
    FInvertedStairs = s->FInvertedStairs;
    FStairs = s->FStairs;
  }
  TCustomLineSeries::Assign(source);
}

void TFastLineSeries::SetSeriesColor(TColor v) {
  TCustomLineSeries::SetSeriesColor(v);
  LinePen()->SetColor(v);
}

void TFastLineSeries::SetPen(const TChartPen& v) {
  TCustomLineSeries::SetPen(v);
  SetSeriesColor(v.Color());
}

void TFastLineSeries::CalcHorizMargins(std::int32_t& left, std::int32_t& right) {
  TCustomLineSeries::CalcHorizMargins(left, right);
  const std::int32_t w = LinePen()->Width();
  left += w - (w - 2) / 2;
  right += w - (w - 2) / 2;
}

void TFastLineSeries::CalcVerticalMargins(std::int32_t& top, std::int32_t& bottom) {
  TCustomLineSeries::CalcVerticalMargins(top, bottom);
  const std::int32_t w = LinePen()->Width();
  top += w - (w - 2) / 2;
  bottom += w - (w - 2) / 2;
}

void TFastLineSeries::ListSubStyles(const std::function<void(const std::string&)>& callback) {
  TCustomLineSeries::ListSubStyles(callback);
  for (int m : {183, 180, 184}) callback(KivMsg(m));
}

void TFastLineSeries::ApplySubStyle(int subStyle) {
  switch (subStyle) {
    case 1: Marks()->SetVisible(true); break;
    case 2: LinePen()->SetSmallDots(true); break;
    case 3: SetStairs(true); break;
    default: TCustomLineSeries::ApplySubStyle(subStyle);
  }
}

void TFastLineSeries::DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) {
  Marks()->ApplyArrowLength(position);
  TCustomLineSeries::DrawMark(valueIndex, text, position);
}

void TFastLineSeries::PrepareCanvas() {
  TCustomAxisPanel* chart = ParentChart();
  TCanvas3D& c = chart->Canvas();
  c.AssignVisiblePen(*LinePen());
  chart->HairlinePrintPen(c.Pen());
  c.Brush().SetStyle(bsClear);
}

void TFastLineSeries::PrepareLegendCanvas(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) {
  (void)valueIndex, (void)backColor;
  if (ParentChart() != nullptr) PrepareCanvas();
  brushStyle = bsClear;
}

void TFastLineSeries::DrawLegendShape(int valueIndex, const TRect& rect) {
  (void)valueIndex;
  PrepareCanvas();
  ParentChart()->Canvas().DoHorizLine(rect.Left, rect.Right, (rect.Top + rect.Bottom) / 2);
}

// --- drawing ------------------------------------------------------------------

TPoint TFastLineSeries::PixelOf(int i) const {
  const TChartAxis* h = GetHorizAxis();
  const TChartAxis* v = GetVertAxis();
  return {h != nullptr ? h->CalcXPosValue(XValues()->Value(i)) : 0,
          v != nullptr ? v->CalcYPosValue(YValues()->Value(i)) : 0};
}

void TFastLineSeries::MovePen(std::int32_t x, std::int32_t y) {
  TCanvas3D& c = ParentChart()->Canvas();
  if (ParentChart()->View3D())
    c.MoveTo3D(x, y, MiddleZ);
  else
    c.MoveTo(x, y);
}

void TFastLineSeries::LineToPen(std::int32_t x, std::int32_t y) {
  TCanvas3D& c = ParentChart()->Canvas();
  if (ParentChart()->View3D())
    c.LineTo3D(x, y, MiddleZ);
  else
    c.LineTo(x, y);
}

void TFastLineSeries::DrawValue(int i) {
  const TPoint p = PixelOf(i);
  if (p.X == FOldX) {
    if (!FDrawAllPoints || p.Y == FOldY) return;
  }
  if (!FIgnoreNulls && IsNull(i)) {
    FBroken = true;
    return;
  }
  if (FBroken) {
    // The line starts again at the first point after the null one: a null
    // point's stored value is no place to draw from.
    FBroken = false;
    MovePen(p.X, p.Y);
  } else {
    if (FStairs) {
      if (FInvertedStairs)
        LineToPen(FOldX, p.Y);
      else
        LineToPen(p.X, FOldY);
    }
    LineToPen(p.X, p.Y);
  }
  FOldX = p.X;
  FOldY = p.Y;
}

void TFastLineSeries::DrawReduced(int start, int last) {
  TCustomAxisPanel* chart = ParentChart();
  TCanvas3D& c = chart->Canvas();
  const bool is3D = chart->View3D();
  const TChartAxis& hAxis = *GetHorizAxis();
  const TChartAxis& vAxis = *GetVertAxis();
  const TAxisScale& hScale = hAxis.Scale();
  const TAxisScale& vScale = vAxis.Scale();
  const std::span<const double> xs = XValues()->Values(), ys = YValues()->Values();
  FPolyline.clear();
  const bool checkNulls = !FIgnoreNulls && HasColors();
  if (!is3D && !checkNulls && !FStairs && FDrawAllPoints && hScale.IsLinear() && vScale.IsLinear()) {
    ReduceColumns(xs, ys, start, last, hScale.LinearMap(true), vScale.LinearMap(false), XValues()->KnownInOrder(),
                  FPolyline);
    if (FPolyline.size() >= 2) c.LineSegments(FPolyline);
    FOldX = FPolyline.back().X;
    FOldY = FPolyline.back().Y;
    return;
  }
  const bool xLinear = hScale.IsLinear(), yLinear = vScale.IsLinear();
  const TLinearPixelMap xMap = hScale.LinearMap(true), yMap = vScale.LinearMap(false);
  auto pixel = [&](int i) -> TPoint {
    return {xLinear ? xMap(xs[i]) : hAxis.CalcXPosValue(xs[i]), yLinear ? yMap(ys[i]) : vAxis.CalcYPosValue(ys[i])};
  };
  TColumnReducer reducer(FPolyline);
  auto vertex = [&](std::int32_t x, std::int32_t y) {
    reducer.Add(is3D ? c.Calculate3DPosition(x, y, MiddleZ) : TPoint{x, y});
  };
  auto endLine = [&] {
    reducer.Flush();
    if (FPolyline.size() >= 2) c.LineSegments(FPolyline);
    FPolyline.clear();
  };
  TPoint old = pixel(start);
  bool broken = checkNulls && StoredColor(start) == clNullPoint;
  if (!broken) vertex(old.X, old.Y);
  for (int i = start + 1; i <= last; ++i) {
    const TPoint p = pixel(i);
    if (p.X == old.X && (!FDrawAllPoints || p.Y == old.Y)) continue;
    if (checkNulls && StoredColor(i) == clNullPoint) {
      if (!broken) endLine();
      broken = true;
      continue;
    }
    if (broken) {
      broken = false;
    } else if (FStairs) {
      if (FInvertedStairs)
        vertex(old.X, p.Y);
      else
        vertex(p.X, old.Y);
    }
    vertex(p.X, p.Y);
    old = p;
  }
  endLine();
  FOldX = old.X;
  FOldY = old.Y;
}

void TFastLineSeries::DrawAllValues() {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || GetHorizAxis() == nullptr || GetVertAxis() == nullptr) return;
  const int first = FirstValueIndex(), last = LastValueIndex();
  if (first < 0 || last < first) return;
  PrepareCanvas();
  const int start = first > 0 ? first - 1 : first;
  if (UseColumnReduction()) {
    DrawReduced(start, last);
    return;
  }
  const TPoint p = PixelOf(start);
  FOldX = p.X;
  FOldY = p.Y;
  FBroken = !FIgnoreNulls && IsNull(start);
  MovePen(p.X, p.Y);
  if (first > 0) DrawValue(first);
  for (int i = first + 1; i <= last; ++i) DrawValue(i);
}

void TFastLineSeries::NotifyNewValue(int index) {
  if (FAutoRepaint) {
    TCustomLineSeries::NotifyNewValue(index);
    return;
  }
  // The event and the series fed by this one hear of the point as always;
  // only the repaint is replaced by drawing the new segment.
  if (OnAfterAdd) OnAfterAdd(*this, index);
  NotifyValue(veAdd, index);
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || !Active() || GetHorizAxis() == nullptr || GetVertAxis() == nullptr) return;
  TCanvas3D& c = chart->Canvas();
  // On the screen's surface the segment goes into the finished picture kept
  // off-screen; a stale picture is drawn again whole at the next paint anyway.
  auto* qt = dynamic_cast<TKivCanvas3D*>(&c);
  TCanvas* bound = nullptr;
  if (qt != nullptr) {
    if (qt->Bitmap() == nullptr || qt->Dirty() || !qt->GetBuffered()) return;
    bound = qt->ReferenceCanvas();
    qt->SetReferenceCanvas(&qt->Bitmap()->Canvas());
  }
  const TPoint from = PixelOf(index > 0 ? index - 1 : 0);
  FOldX = from.X;
  FOldY = from.Y;
  FBroken = !FIgnoreNulls && index > 0 && IsNull(index - 1);
  PrepareCanvas();
  const bool clip = chart->ClipPoints();
  if (clip) c.ClipRectangle(chart->ChartRect());
  MovePen(from.X, from.Y);
  DrawValue(index);
  if (clip) c.UnClipRectangle();
  if (qt != nullptr) qt->SetReferenceCanvas(bound);
  if (IKivPanelHost* host = chart->Host()) {
    TPoint a = from, b{FOldX, FOldY};
    if (chart->View3D()) {
      a = c.Calculate3DPosition(a, MiddleZ);
      b = c.Calculate3DPosition(b, MiddleZ);
    }
    const std::int32_t w = std::max(1, LinePen()->Width());
    host->InvalidateWindowRect({std::min(a.X, b.X) - w, std::min(a.Y, b.Y) - w, std::max(a.X, b.X) + w + 1,
                                std::max(a.Y, b.Y) + w + 1});
  }
}

int TFastLineSeries::Clicked(std::int32_t x, std::int32_t y) {
  const int first = FirstValueIndex(), last = LastValueIndex();
  if (first < 0 || last < 0) return -1;
  if (ParentChart() != nullptr) ParentChart()->Canvas().Calculate2DPosition(x, y, MiddleZ);
  const TPoint target{x, y};
  TPoint old;
  for (int i = first; i <= last; ++i) {
    const TPoint p{CalcXPos(i), CalcYPos(i)};
    if (p == target) return i;
    if (i > first && PointInLine(target, old, p)) return i - 1;
    old = p;
  }
  return -1;
}

}  // namespace chart

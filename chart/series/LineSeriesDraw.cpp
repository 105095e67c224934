// Line and point series base: drawing all values (with the outline under the
// line), one value, the segment joining it to the previous value as a line,
// stairs, a 3D ribbon or an area strip, and the pointers over them.
//
// Tested by: chart/tests/LineSeriesTest.cpp
#include "chart/series/LineSeries.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <typeinfo>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/canvas/StyleDrawing.h"

namespace chart {

void TCustomSeries::DrawAllValues() {
  if (FOutLine->Visible() && FDrawLine) {
    TChartPen saved;
    saved.Assign(*LinePen());
    const std::int32_t width = LinePen()->Width() + FOutLine->Width() + 2;
    LinePen()->SetOnChange({});
    LinePen()->Assign(*FOutLine);
    LinePen()->SetVisible(true);
    LinePen()->SetWidth(width);
    FOutlinePass = true;
    try {
      TCustomLineSeries::DrawAllValues();
    } catch (...) {
      FOutlinePass = false;
      LinePen()->Assign(saved);
      LinePen()->SetOnChange([this] { ElementChanged(); });
      throw;
    }
    FOutlinePass = false;
    LinePen()->Assign(saved);
    LinePen()->SetOnChange([this] { ElementChanged(); });
  }
  FOldColor = clNone;
  TCustomLineSeries::DrawAllValues();
}

bool TCustomSeries::DrawLineInOneCall() {
  TCustomAxisPanel* chart = ParentChart();
  const TChartAxis* h = GetHorizAxis();
  const TChartAxis* v = GetVertAxis();
  if (chart == nullptr || h == nullptr || v == nullptr || chart->View3D() || !FDrawLine || FDrawArea || FStairs ||
      FStacked != cssNone || FPointer->Visible() || FOutLine->Visible() ||
      (FColorEachLine && (HasColors() || ColorEachPoint())))
    return false;
  const int first = FirstValueIndex(), last = LastValueIndex();
  if (first < 0 || last < first) return false;
  // A null point leaves out the segment that ends at it.
  if (HasColors())
    for (int i = first; i <= last; ++i)
      if (ValueColor(i) == clNone) return false;
  const TAxisScale& hs = h->Scale();
  const TAxisScale& vs = v->Scale();
  const bool linear = hs.IsLinear() && vs.IsLinear();
  const TLinearPixelMap xMap = hs.LinearMap(true), yMap = vs.LinearMap(false);
  const std::span<const double> xs = XValues()->Values(), ys = YValues()->Values();
  auto pixel = [&](int i) -> TPoint {
    if (linear) return {xMap(xs[i]), yMap(ys[i])};
    return {CalcXPos(i), CalcYPos(i)};
  };
  const bool forward = DrawValuesForward();
  const int from = forward ? first : last, step = forward ? 1 : -1;
  FLinePoints.clear();
  const TPoint start = pixel(from);
  if (forward && first > 0 && !IsNull(first - 1)) {
    // The line enters from the chart's edge, as EnterFromPrevious draws it,
    // even where the segment has no length.
    const std::int32_t px = CalcXPos(first - 1), py = CalcYPos(first - 1);
    const TRect& r = chart->ChartRect();
    TPoint entry{h->Inverted() ? r.Right : r.Left, py};
    if (v->Logarithmic()) {
      entry = {px, py};
    } else {
      const double dx = static_cast<double>(start.X) - px;
      if (!(dx == 0 || std::isnan(dx))) entry.Y = Round(py + (entry.X - px) * (static_cast<double>(start.Y) - py) / dx);
    }
    FLinePoints.push_back(entry);
  }
  FLinePoints.push_back(start);
  for (int i = from + step; i >= first && i <= last; i += step) {
    const TPoint p = pixel(i);
    if (!(p == FLinePoints.back())) FLinePoints.push_back(p);
  }
  TCanvas3D& c = chart->Canvas();
  c.AssignVisiblePenColor(*LinePen(), SeriesColor());
  if (FLinePoints.size() >= 2) c.LineSegments(FLinePoints);
  const int end = forward ? last : first;
  FOldX = FLinePoints.back().X;
  FOldY = FLinePoints.back().Y;
  FOldColor = ValueColor(end);
  FBottomPos = FOldBottomPos = GetOriginPos(end);
  return true;
}

bool TLineSeries::DrawsLineInOneCall() const {
  return typeid(*this) == typeid(TLineSeries) || typeid(*this) == typeid(THorizLineSeries);
}

void TLineSeries::DrawAllValues() {
  if (DrawsLineInOneCall() && DrawLineInOneCall()) return;
  TCustomSeries::DrawAllValues();
}

void TCustomSeries::EnterFromPrevious(int i, std::int32_t x, std::int32_t y) {
  TCustomAxisPanel* chart = ParentChart();
  const std::int32_t px = CalcXPos(i - 1), py = CalcYPos(i - 1);
  if (FDrawArea) {
    FOldX = px;
    FOldY = py;
    FOldBottomPos = GetOriginPos(i - 1);
  } else {
    TChartAxis* h = GetHorizAxis();
    TChartAxis* v = GetVertAxis();
    const TRect& r = chart->ChartRect();
    FOldX = h != nullptr && h->Inverted() ? r.Right : r.Left;
    if (v != nullptr && v->Logarithmic() && !FStairs) {
      FOldX = px;
      FOldY = py;
    } else if (!FStairs) {
      const double dx = static_cast<double>(x) - px;
      FOldY = dx == 0 || std::isnan(dx) ? py : Round(py + (FOldX - px) * (static_cast<double>(y) - py) / dx);
    } else {
      FOldY = py;
    }
  }
  if (IsNull(i - 1)) return;
  const bool outline = FOutlinePass;
  if (FDrawArea && !outline) DrawAreaStrip(x, y, AreaColorOf(i));
  if (FDrawLine || (FDrawArea && chart->View3D())) DrawLineSegment(i, x, y, ValueColor(i), false);
}

void TCustomSeries::DrawValue(int i) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr) return;
  const TColor color = ValueColor(i);
  const std::int32_t x = CalcXPos(i), y = CalcYPos(i);
  if (FOldColor == clNone) {
    FOldX = x;
    FOldY = y;
  }
  FBottomPos = GetOriginPos(i);
  const bool forward = DrawValuesForward();
  const int firstDrawn = forward ? FirstValueIndex() : LastValueIndex();
  const int lastDrawn = forward ? LastValueIndex() : FirstValueIndex();
  if (i == firstDrawn) {
    if (FDark3D) {
      const double ox = chart->SeriesWidth3D(), oy = chart->SeriesHeight3D();
      FDarkRatio = ox == 0 ? 1.0 : std::fabs(oy / ox);
    }
    if (i == FirstValueIndex() && i > 0) EnterFromPrevious(i, x, y);
    if (i == lastDrawn && FPointer->Visible() && !FOutlinePass && color != clNone) DrawPointer(x, y, color, i);
  } else {
    DrawSegment(i, x, y, color);
  }
  FOldX = x;
  FOldY = y;
  FOldBottomPos = FBottomPos;
  FOldColor = color;
}

void TCustomSeries::DrawSegment(int i, std::int32_t x, std::int32_t y, TColor color) {
  TCustomAxisPanel* chart = ParentChart();
  const bool null = color == clNone;
  if (!null && (x != FOldX || y != FOldY)) {
    const bool forward = DrawValuesForward();
    const bool last = i == (forward ? LastValueIndex() : FirstValueIndex());
    if (FDrawArea && !FOutlinePass) DrawAreaStrip(x, y, AreaColorOf(i));
    if (FDrawLine || (FDrawArea && chart->View3D())) DrawLineSegment(i, x, y, color, last);
  }
  if (FOutlinePass || !FPointer->Visible()) return;
  // Pointers lie over the lines: the previous one is drawn once its segment is.
  if (FOldColor != clNone) {
    const int previous = DrawValuesForward() ? i - 1 : i + 1;
    DrawPointer(FOldX, FOldY, FOldColor, previous);
  }
  const bool forward = DrawValuesForward();
  if (!null && i == (forward ? LastValueIndex() : FirstValueIndex())) DrawPointer(x, y, color, i);
}

void TCustomSeries::DrawLineSegment(int i, std::int32_t x, std::int32_t y, TColor color, bool last) {
  TCustomAxisPanel* chart = ParentChart();
  TCanvas3D& c = chart->Canvas();
  const TColor lineColor = FOutlinePass ? FOutLine->Color() : (FColorEachLine ? color : SeriesColor());
  if (chart->View3D()) {
    c.AssignVisiblePenColor(*LinePen(), lineColor);
    const TColor fill = FOutlinePass ? lineColor : AreaColorOf(i);
    c.AssignBrushColor(*Brush(), fill, clNone);
    const TPoint from{FOldX, FOldY}, to{x, y};
    if (!FStairs) {
      if (FLineHeight > 0 && !FDrawArea && last) c.RectangleZ(x, y, y + FLineHeight, StartZ, EndZ);
      if (FDark3D && !c.GetSupportsFullRotation() && x != FOldX &&
          static_cast<double>(y - FOldY) / (x - FOldX) > FDarkRatio)
        c.SetDarkBrush(fill, KivTopDarkness);
      c.Plane3D(from, to, StartZ, EndZ);
      if (FLineHeight > 0 && !FDrawArea) {
        c.AssignBrushColor(*Brush(), fill, clNone);
        c.PlaneWithZ(from, to, {x, y + FLineHeight}, {FOldX, FOldY + FLineHeight}, StartZ);
      }
    } else {
      const std::int32_t yh = FInvertedStairs ? y : FOldY;
      const std::int32_t xv = FInvertedStairs ? FOldX : x;
      c.Plane3D({FOldX, yh}, {x, yh}, StartZ, EndZ);
      if (FDark3D) c.SetDarkBrush(fill, KivSideDarkness);
      c.RectangleZ(xv, FOldY, y, StartZ, EndZ);
    }
    return;
  }
  if (!FDrawLine || FDrawArea) return;
  c.AssignVisiblePenColor(*LinePen(), lineColor);
  if (!FStairs) {
    c.Line(FOldX, FOldY, x, y);
  } else if (FInvertedStairs) {
    c.Line(FOldX, FOldY, FOldX, y);
    c.Line(FOldX, y, x, y);
  } else {
    c.Line(FOldX, FOldY, x, FOldY);
    c.Line(x, FOldY, x, y);
  }
}

void TCustomSeries::DrawAreaStrip(std::int32_t x, std::int32_t y, TColor color) {
  TCustomAxisPanel* chart = ParentChart();
  TCanvas3D& c = chart->Canvas();
  const bool is3D = chart->View3D();
  c.AssignBrushColor(*FAreaBrush, color, clNone);
  if (FAreaLinesPen->Visible())
    c.AssignVisiblePen(*FAreaLinesPen);
  else
    c.Pen().SetStyle(psClear);
  std::array<TPoint, 4> p;
  if (FStairs) {
    const std::int32_t top = FInvertedStairs ? y : FOldY;
    if (YMandatory())
      p = {TPoint{FOldX, top}, TPoint{x, top}, TPoint{x, FBottomPos}, TPoint{FOldX, FBottomPos}};
    else
      p = {TPoint{top == y ? x : FOldX, FOldY}, TPoint{top == y ? x : FOldX, y}, TPoint{FBottomPos, y},
           TPoint{FBottomPos, FOldY}};
  } else if (YMandatory()) {
    p = {TPoint{FOldX, FOldY}, TPoint{x, y}, TPoint{x, FBottomPos}, TPoint{FOldX, FOldBottomPos}};
  } else {
    p = {TPoint{FOldX, FOldY}, TPoint{x, y}, TPoint{FBottomPos, y}, TPoint{FOldBottomPos, FOldY}};
  }
  std::array<TPoint, 4> shown = p;
  if (is3D)
    for (TPoint& q : shown) q = c.Calculate3DPosition(q, StartZ);
  TRect bounds{shown[0].X, shown[0].Y, shown[0].X, shown[0].Y};
  for (const TPoint& q : shown) {
    bounds.Left = std::min(bounds.Left, q.X);
    bounds.Top = std::min(bounds.Top, q.Y);
    bounds.Right = std::max(bounds.Right, q.X + 1);
    bounds.Bottom = std::max(bounds.Bottom, q.Y + 1);
  }
  std::unique_ptr<TKivBlend> blend;
  if (FTransparency > 0) blend = c.BeginBlending(bounds, FTransparency);
  if (FGradient->Visible()) {
    c.ClipPolygon(shown);
    DrawGradient(c, *FGradient, bounds);
    c.UnClipRectangle();
  } else {
    c.Polygon(shown);
  }
  if (blend) c.EndBlending(std::move(blend));
  if (!LinePen()->Visible() || FOutlinePass) return;
  c.AssignVisiblePenColor(*LinePen(), FColorEachLine ? color : SeriesColor());
  auto line = [&](const TPoint& a, const TPoint& b) {
    if (is3D)
      c.LineWithZ(a, b, StartZ);
    else
      c.Line(a, b);
  };
  if (!FStairs) {
    line(p[0], p[1]);
  } else if (FInvertedStairs) {
    line({FOldX, FOldY}, {FOldX, y});
    line({FOldX, y}, {x, y});
  } else {
    line({FOldX, FOldY}, {x, FOldY});
    line({x, FOldY}, {x, y});
  }
}

}  // namespace chart

// The chart control's drawing pass: the tools' and the user's events, the
// 3D sizes, walls, axes (their ranges, positions and the series' margins),
// each series with its marks (a Z group point by point) and the titles and
// legend, in that order.
//
// Tested by: chart/tests/AxisPanelTest.cpp, chart/tests/ChartPictureTest.cpp
#include "chart/ChartControl.h"

#include <algorithm>
#include <vector>

#include "chart/series/SeriesMarks.h"
#include "chart/tools/ToolBases.h"

namespace chart {

void TCustomChart::ToolsEvent(TChartToolEvent event) {
  for (TKivCustomTool* t : std::vector<TKivCustomTool*>(FTools.begin(), FTools.end()))
    if (t->Active()) t->ChartEvent(event);
}

void TCustomChart::DrawAxes() {
  if (!AxisVisible()) return;
  FireBeforeDrawAxes();
  for (TChartAxis* a : FAxes)
    if (IsAxisVisible(*a)) a->Draw(true);
}

bool TCustomChart::SetSeriesClip(const TChartSeries& s) {
  if (!s.UseAxis() || !ClipPoints() || !CanClip()) return false;
  if (View3D())
    Canvas().ClipCube(ChartRect(), 0, FWidth3D);
  else
    Canvas().ClipRectangle(ChartRect());
  return true;
}

void TCustomChart::DrawSeriesMarks(TChartSeries& s) {
  if (s.Count() == 0 || !s.Marks()->Visible()) return;
  const bool clip = s.Marks()->Clip() && SetSeriesClip(s);
  s.DrawMarks();
  if (clip) Canvas().UnClipRectangle();
}

void TCustomChart::DrawOneSeries(TChartSeries& s) {
  if (View3D() && s.DrawInGroup()) {
    DrawSeriesGroup(s);
    return;
  }
  s.CalcFirstLastVisibleIndex();
  if (s.FirstValueIndex() == -1) return;
  s.DoBeforeDrawValues();
  const bool clip = SetSeriesClip(s);
  s.DrawAllValues();
  if (clip) Canvas().UnClipRectangle();
  DrawSeriesMarks(s);
  s.DoAfterDrawValues();
}

// The series of one Z group drawn point by point, so that their points at one
// index stand together (bars side by side in depth); the first series of the
// group draws them all.
void TCustomChart::DrawSeriesGroup(TChartSeries& first) {
  if (!first.FirstInZOrder()) return;
  std::vector<TChartSeries*> group;
  const auto from = std::find(FSeriesList.begin(), FSeriesList.end(), &first);
  for (auto it = from; it != FSeriesList.end(); ++it)
    if ((*it)->Active() && (*it)->GetZOrder() == first.GetZOrder()) group.push_back(*it);
  int low = -1, high = -1;
  for (TChartSeries* s : group) {
    s->CalcFirstLastVisibleIndex();
    low = std::max(low, s->FirstValueIndex());
    high = std::max(high, s->LastValueIndex());
  }
  for (TChartSeries* s : group) s->DoBeforeDrawValues();
  const bool clip = SetSeriesClip(first);
  if (low != -1) {
    const bool forward = first.DrawValuesForward();
    const bool seriesForward = first.DrawSeriesForward();
    for (int k = 0; k <= high - low; ++k) {
      const int index = forward ? low + k : high - k;
      for (std::size_t j = 0; j < group.size(); ++j) {
        TChartSeries* s = group[seriesForward ? j : group.size() - 1 - j];
        if (s->Count() > index) s->DrawValue(index);
      }
    }
  }
  if (clip) Canvas().UnClipRectangle();
  for (TChartSeries* s : group) {
    DrawSeriesMarks(*s);
    s->DoAfterDrawValues();
  }
}

void TCustomChart::InternalDraw(const TRect& bounds) {
  const bool repaint = AutoRepaint();
  SetAutoRepaint(false);
  try {
    TCanvas3D& c = Canvas();
    const TView3DOptions& o = *View3DOptions();
    FReversedView = View3D() && ((o.Orthogonal() && o.OrthoAngle() > 90) || (!o.Orthogonal() && o.Rotation() < 270));
    DrawPanelBackground(bounds);
    ToolsEvent(cteBeforeDraw);
    FireBeforeDrawChart();
    for (TChartSeries* s : FSeriesList)
      if (s->Active()) s->DoBeforeDrawChart();
    if (!c.GetSupportsFullRotation()) DrawTitlesAndLegend(true);
    FMaxZOrder = 0;
    if (ApplyZOrder() && View3D()) {
      FMaxZOrder = -1;
      for (TChartSeries* s : FSeriesList)
        if (s->Active()) s->CalcZOrder();
      for (TChartSeries* s : FSeriesList)
        if (s->Active()) s->ZSlot = FMaxZOrder - s->GetZOrder();
    } else {
      for (TChartSeries* s : FSeriesList)
        if (s->Active()) s->ZSlot = 0;
    }
    // Z position of each series (the first of the list at the back).
    CalcSize3D();
    ComputeWallsRect();
    for (TChartAxis* a : FAxes) a->AdjustMaxMin();
    for (TChartAxis* a : FAxes) a->InternalCalcPositions();
    const TRect before = ChartRect();
    TRect current = before;
    for (int i = 0; i < FAxes.Count(); ++i) {
      TChartAxis* a = FAxes[i];
      if (!IsAxisVisible(*a)) continue;
      TRect reduced = current;
      a->CalcRect(reduced, i < 5);
      const TRect inter{std::max(reduced.Left, before.Left), std::max(reduced.Top, before.Top),
                        std::min(reduced.Right, before.Right), std::min(reduced.Bottom, before.Bottom)};
      if (inter.Left < inter.Right && inter.Top < inter.Bottom) current = inter;
    }
    SetChartRect(current);
    CalcSize3D();
    for (TChartAxis* a : FAxes) a->InternalCalcPositions();
    for (TChartSeries* s : FSeriesList) {
      if (!s->Active()) continue;
      s->StartZ = FSeriesWidth3D * s->ZSlot;
      s->EndZ = s->StartZ + (s->Depth() != -1 ? s->Depth() : FSeriesWidth3D);
      s->MiddleZ = (s->StartZ + s->EndZ) / 2;
      s->Marks()->ZPosition = s->MiddleZ;
    }
    for (TChartAxis* a : FAxes) {
      // Series margins plus the axis' own offsets, summed wide: offsets are the user's.
      std::int64_t low = 0, high = 0;
      for (TChartSeries* s : FSeriesList) {
        if (!s->Active() || !s->AssociatedToAxis(a)) continue;
        std::int32_t p = 0, q = 0;
        if (a->Horizontal()) {
          s->CalcHorizMargins(p, q);
          low = std::max<std::int64_t>(low, p);
          high = std::max<std::int64_t>(high, q);
        } else {
          s->CalcVerticalMargins(p, q);
          high = std::max<std::int64_t>(high, p);
          low = std::max<std::int64_t>(low, q);
        }
      }
      low += a->MinimumOffset();
      high += a->MaximumOffset();
      const auto clip = [](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, -AxisPixelLimit, AxisPixelLimit));
      };
      TRect m{0, 0, 0, 0};
      if (a->Horizontal()) {
        m.Left = clip(low);
        m.Right = clip(high);
      } else {
        m.Bottom = clip(low);
        m.Top = clip(high);
      }
      a->AdjustMaxMinRect(m);
    }
    c.Projection(FWidth3D, ChartRect());
    if (c.GetSupportsFullRotation()) {
      const TRect saved = ChartRect();
      SetChartRect(ChartBounds());
      DrawTitlesAndLegend(true);
      SetChartRect(saved);
    }
    DrawWalls();
    if (AxisBehind()) DrawAxes();
    ToolsEvent(cteBeforeDrawSeries);
    FireBeforeDrawSeries();
    for (TChartSeries* s : std::vector<TChartSeries*>(FSeriesList))
      if (s->Active()) DrawOneSeries(*s);
    if (!AxisBehind()) DrawAxes();
    DrawTitlesAndLegend(false);
    if (Zoom()->Active) DrawZoomRectangle();
    ToolsEvent(cteAfterDraw);
    FireAfterDraw();
  } catch (...) {
    SetAutoRepaint(repaint);
    throw;
  }
  SetAutoRepaint(repaint);
}

}  // namespace chart

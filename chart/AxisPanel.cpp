// The axis panel: series, axes and tools lists, paging, axis ranges, which
// axes show, data-source checks and the drawing pass.
//
// Tested by: chart/tests/AxisPanelTest.cpp
#include "chart/AxisPanel.h"

#include <algorithm>
#include <cmath>

#include "chart/core/KivConst.h"
#include "chart/core/KivProcsRoutines.h"
#include "chart/functions/Functions.h"
#include "chart/series/SeriesMarks.h"
#include "chart/series/SeriesSource.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TCustomAxisPanel::StaticClassInfo() {
  using P = TCustomAxisPanel;
  static const TClassInfo info =
      TClassBuilder<P>("TCustomAxisPanel", TCustomKivPanelExtended::StaticClassInfo())
          .Property("AxisBehind", &P::AxisBehind, &P::SetAxisBehind, true)
          .Property("AxisVisible", &P::AxisVisible, &P::SetAxisVisible, true)
          .SubObject("BottomAxis", &P::BottomAxis)
          .TypeName("TChartAxis")
          .Property("ClipPoints", &P::ClipPoints, &P::SetClipPoints, true)
          .SubObject("CustomAxes", &P::CustomAxesList)
          .TypeName("TChartCustomAxes")
          .SubObject("DepthAxis", &P::DepthAxis)
          .TypeName("TChartDepthAxis")
          .SubObject("LeftAxis", &P::LeftAxis)
          .TypeName("TChartAxis")
          .Property("MaxPointsPerPage", &P::MaxPointsPerPage, &P::SetMaxPointsPerPage, 0)
          .Property("Page", &P::Page, &P::SetPage, 1)
          .SubObject("RightAxis", &P::RightAxis)
          .TypeName("TChartAxis")
          .Property("ScaleLastPage", &P::ScaleLastPage, &P::SetScaleLastPage, true)
          .SubObject("TopAxis", &P::TopAxis)
          .TypeName("TChartAxis")
          .Property("View3DWalls", &P::View3DWalls, &P::SetView3DWalls, true)
          .Build();
  return info;
}

TCustomAxisPanel::TCustomAxisPanel(classlib::TComponent* owner) : TCustomKivPanelExtended(owner) {
  const bool repaint = AutoRepaint();
  SetAutoRepaint(false);
  FCustomAxes = std::make_unique<TChartCustomAxes>(*this);
  FBottomAxis = new TChartAxis(this);
  FTopAxis = new TChartAxis(this);
  FTopAxis->SetOtherSide(true);
  FTopAxis->SetZPosition(100);
  FTopAxis->Grid()->InitZPosition(100);
  FLeftAxis = new TChartAxis(this);
  FLeftAxis->SetHorizontal(false);
  FLeftAxis->Title()->InitAngle(90);
  FRightAxis = new TChartAxis(this);
  FRightAxis->SetHorizontal(false);
  FRightAxis->SetOtherSide(true);
  FRightAxis->SetZPosition(100);
  FRightAxis->Grid()->InitZPosition(100);
  FRightAxis->Title()->InitAngle(270);
  FDepthAxis = new TChartDepthAxis(this);
  FDepthAxis->SetOtherSide(true);
  FDepthAxis->SetVisible(false);
  SetAutoRepaint(repaint);
}

TCustomAxisPanel::~TCustomAxisPanel() {
  IncludeState(classlib::csDestroying);
  SetAutoRepaint(false);
  FreeAllSeries();
  FTools.Clear();
  FAxes.Clear();
}

bool& TCustomAxisPanel::AutoSampleValues() {
  static bool on = false;
  return on;
}

// --- series list ------------------------------------------------------------

TChartSeries* TCustomAxisPanel::AddSeries(TChartSeries* series) {
  if (series != nullptr) series->SetParentChart(this);
  return series;
}

void TCustomAxisPanel::InternalAddSeries(TChartSeries& series) {
  if (std::find(FSeriesList.begin(), FSeriesList.end(), &series) != FSeriesList.end()) return;
  FSeriesList.push_back(&series);
  series.Added();
  BroadcastSeriesEvent(seAdd, &series);
  Invalidate();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* series) {
  auto it = std::find(FSeriesList.begin(), FSeriesList.end(), series);
  if (it == FSeriesList.end()) return;
  BroadcastSeriesEvent(seRemove, series);
  series->Removed();
  FSeriesList.erase(std::find(FSeriesList.begin(), FSeriesList.end(), series));
  Invalidate();
}

void TCustomAxisPanel::FreeAllSeries(const classlib::TClassInfo* ofClass) {
  std::size_t i = 0;
  while (i < FSeriesList.size()) {
    TChartSeries* s = FSeriesList[i];
    if (ofClass == nullptr || s->ClassInfo().InheritsFrom(*ofClass)) {
      s->SetParentChart(nullptr);
      delete s;
    } else {
      ++i;
    }
  }
}

void TCustomAxisPanel::ExchangeSeries(int a, int b) {
  std::swap(FSeriesList.at(static_cast<std::size_t>(a)), FSeriesList.at(static_cast<std::size_t>(b)));
  BroadcastSeriesEvent(seSwap, nullptr);
  Invalidate();
}

void TCustomAxisPanel::BroadcastSeriesEvent(TChartSeriesEventKind kind, TChartSeries* series) {
  TKivSeriesEvent e;
  e.Sender = this;
  e.Event = kind;
  e.Series = series;
  BroadcastEvent(e);
}

int TCustomAxisPanel::CountActiveSeries() const {
  return static_cast<int>(std::count_if(FSeriesList.begin(), FSeriesList.end(), [](TChartSeries* s) { return s->Active(); }));
}

TChartSeries* TCustomAxisPanel::SeriesForLegend(int index, bool onlyActive) const {
  int n = 0;
  for (TChartSeries* s : FSeriesList) {
    if (!s->ShowInLegend() || (onlyActive && !s->Active())) continue;
    if (n++ == index) return s;
  }
  return nullptr;
}

int TCustomAxisPanel::MaxValuesCount() const {
  int n = 0;
  for (TChartSeries* s : FSeriesList)
    if (s->Active()) n = std::max(n, s->Count());
  return n;
}

std::int32_t TCustomAxisPanel::MaxMarkWidth() {
  std::int32_t w = 0;
  for (TChartSeries* s : FSeriesList)
    if (s->Active()) w = std::max(w, s->MaxMarkWidth());
  return w;
}

bool TCustomAxisPanel::AxisHasNoActiveSeries(const TChartAxis& axis) const {
  return std::none_of(FSeriesList.begin(), FSeriesList.end(),
                      [&](TChartSeries* s) { return s->Active() && s->AssociatedToAxis(&axis); });
}

TChartSeries* TCustomAxisPanel::FirstSeriesOfAxis(const TChartAxis& axis) const {
  const bool none = AxisHasNoActiveSeries(axis);
  for (TChartSeries* s : FSeriesList)
    if (s->AssociatedToAxis(&axis) && (s->Active() || none)) return s;
  return nullptr;
}

TChartSeries* TCustomAxisPanel::LargestSeriesOfAxis(const TChartAxis& axis) const {
  const bool none = AxisHasNoActiveSeries(axis);
  TChartSeries* best = nullptr;
  for (TChartSeries* s : FSeriesList)
    if (s->AssociatedToAxis(&axis) && (s->Active() || none) && (best == nullptr || s->Count() > best->Count())) best = s;
  return best;
}

bool TCustomAxisPanel::SeriesClicked(std::int32_t x, std::int32_t y) {
  for (auto it = FSeriesList.rbegin(); it != FSeriesList.rend(); ++it)
    if ((*it)->Active() && (*it)->CheckMouse(x, y)) return true;
  return false;
}

std::int32_t TCustomAxisPanel::MaxLabelTextWidth() {
  std::int32_t w = 0;
  for (TChartSeries* s : FSeriesList)
    for (int i = 0; i < s->Labels().Count(); ++i)
      for (const std::string& piece : TChartAxis::LabelLines(s->Labels().GetLabel(i)))
        w = std::max(w, Canvas().TextWidth(piece));
  return w;
}

TColor TCustomAxisPanel::GetFreeSeriesColor(bool checkBackground) const {
  for (int i = 0; i < MaxDefaultColors; ++i)
    if (IsColorUnused(GetDefaultColor(i), checkBackground)) return GetDefaultColor(i);
  return GetDefaultColor(MaxDefaultColors);
}

bool TCustomAxisPanel::NoActiveSeriesOrSomeUseAxes() const {
  bool anyActive = false;
  for (TChartSeries* s : FSeriesList) {
    if (!s->Active()) continue;
    anyActive = true;
    if (s->UseAxis()) return true;
  }
  return !anyActive;
}

// --- paging -----------------------------------------------------------------

std::int32_t TCustomAxisPanel::AxisPages(const TChartAxis& axis) const {
  int count = 0;
  for (TChartSeries* s : FSeriesList)
    if (s->Active() && s->AssociatedToAxis(&axis)) count = std::max(count, s->Count());
  if (count < 1) return 1;
  return (count + FMaxPointsPerPage - 1) / FMaxPointsPerPage;
}

std::int32_t TCustomAxisPanel::NumPages() const {
  if (FMaxPointsPerPage < 1 || FSeriesList.empty()) return 1;
  if (!FSeriesList.front()->YMandatory()) return std::max(AxisPages(*FLeftAxis), AxisPages(*FRightAxis));
  return std::max(AxisPages(*FBottomAxis), AxisPages(*FTopAxis));
}

void TCustomAxisPanel::SetPage(std::int32_t v) {
  v = std::max(1, std::min(v, NumPages()));
  if (v == FPage) return;
  FPage = v;
  Invalidate();
  TChartChangePage e;
  e.Sender = this;
  BroadcastEvent(e);
  if (OnPageChange) OnPageChange();
}

void TCustomAxisPanel::SetMaxPointsPerPage(std::int32_t v) {
  if (v < 0) throw ChartException(KivMsg(msgMaxPointsPerPage));
  FMaxPointsPerPage = v;
  Invalidate();
  if (FPage > NumPages()) SetPage(NumPages());
  TChartChangePage e;
  e.Sender = this;
  BroadcastEvent(e);
}

// --- axis ranges --------------------------------------------------------------

double TCustomAxisPanel::InternalMinMax(const TChartAxis& axis, bool isMin, bool isX) const {
  if (axis.IsDepthAxis()) {
    if (axis.CalcLabelStyle() == talValue) {
      double r = 0;
      bool first = true;
      for (TChartSeries* s : FSeriesList) {
        if (!s->Active()) continue;
        const double v = isMin ? s->MinZValue() : s->MaxZValue();
        if (first || (isMin ? v < r : v > r)) r = v;
        first = false;
      }
      return r;
    }
    return isMin ? -0.5 : FMaxZOrder + 0.5;
  }
  TChartSeries* firstSeries = FirstSeriesOfAxis(axis);
  const bool alongPoints = firstSeries != nullptr ? (firstSeries->YMandatory() == axis.Horizontal()) : axis.Horizontal();
  if (FMaxPointsPerPage > 0 && alongPoints) {
    TChartSeries* s = LargestSeriesOfAxis(axis);
    if (s == nullptr || s->Count() == 0) return 0;
    const int count = s->Count();
    int first = (FPage - 1) * FMaxPointsPerPage;
    if (first >= count) first = std::max(0, count / FMaxPointsPerPage - 1) * FMaxPointsPerPage;
    int last = first + FMaxPointsPerPage - 1;
    if (last >= count) last = count % FMaxPointsPerPage + first - 1;
    last = std::clamp(last, first, count - 1);
    const TChartValueList& l = isX ? *s->XValues() : *s->YValues();
    double mn = l[first], mx = l[last];
    const int n = last - first + 1;
    if (!FScaleLastPage && n < FMaxPointsPerPage) mx = mn + (mx - mn) * FMaxPointsPerPage / n;
    return isMin ? mn : mx;
  }
  const bool none = AxisHasNoActiveSeries(axis);
  double r = 0;
  bool first = true;
  for (TChartSeries* s : FSeriesList) {
    if (s->Count() == 0 || !(s->Active() || none)) continue;
    const bool drawn = isX ? (s->HorizAxis() == aBothHorizAxis || s->GetHorizAxis() == &axis)
                           : (s->VertAxis() == aBothVertAxis || s->GetVertAxis() == &axis);
    if (!drawn) continue;
    const double v = isX ? (isMin ? s->MinXValue() : s->MaxXValue()) : (isMin ? s->MinYValue() : s->MaxYValue());
    if (first || (isMin ? v < r : v > r)) r = v;
    first = false;
  }
  return r;
}

double TCustomAxisPanel::AxisDataMinimum(const TChartAxis& axis) const {
  return axis.Horizontal() || axis.IsDepthAxis() ? MinXValue(axis) : MinYValue(axis);
}
double TCustomAxisPanel::AxisDataMaximum(const TChartAxis& axis) const {
  return axis.Horizontal() || axis.IsDepthAxis() ? MaxXValue(axis) : MaxYValue(axis);
}

bool TCustomAxisPanel::IsAxisVisible(const TChartAxis& axis) const {
  if (!FAxisVisible || !axis.Visible()) return false;
  if (axis.IsDepthAxis()) return View3D();
  bool anyActive = false;
  for (TChartSeries* s : FSeriesList) {
    if (!s->Active()) continue;
    anyActive = true;
    if (!s->UseAxis()) return false;
    if (s->AssociatedToAxis(&axis)) return true;
  }
  return !anyActive;
}

void TCustomAxisPanel::CalcSize3D() {
  if (!View3D()) {
    FSeriesWidth3D = FSeriesHeight3D = FWidth3D = FHeight3D = 0;
    return;
  }
  double f = Chart3DPercent() * 0.001;
  if (!View3DOptions()->Orthogonal()) f *= 2;
  FSeriesWidth3D = Round(f * ChartWidth());
  const double z = View3DOptions()->Zoom() / 100.0;
  if (z > 1) FSeriesWidth3D = Round(FSeriesWidth3D / z);
  FSeriesHeight3D = Round(FSeriesWidth3D * z);
  const std::int32_t m = FApplyZOrder ? std::max(1, FMaxZOrder + 1) : 1;
  FWidth3D = FSeriesWidth3D * m;
  FHeight3D = FSeriesHeight3D * m;
}

// --- data sources -------------------------------------------------------------

bool TCustomAxisPanel::IsValidDataSource(const TChartSeries& series, const classlib::TComponent& source) const {
  if (auto* s = dynamic_cast<const TChartSeries*>(&source)) return s != &series && series.IsValidSeriesSource(*s);
  if (auto* src = dynamic_cast<const TKivSeriesSource*>(&source)) return src->Available();
  return false;
}

void TCustomAxisPanel::CheckCircularSource(const TChartSeries& series, const classlib::TComponent& source) const {
  std::vector<const classlib::TComponent*> pending{&source};
  std::vector<const classlib::TComponent*> seen;
  while (!pending.empty()) {
    const classlib::TComponent* c = pending.back();
    pending.pop_back();
    if (c == &series) throw ChartException(KivMsg(msgCircularSeries));
    if (std::find(seen.begin(), seen.end(), c) != seen.end()) continue;
    seen.push_back(c);
    if (auto* s = dynamic_cast<const TChartSeries*>(c))
      for (classlib::TComponent* d : s->DataSources()) pending.push_back(d);
  }
}

void TCustomAxisPanel::RemovedDataSource(TChartSeries& series, classlib::TComponent& source) {
  if (auto* src = dynamic_cast<TKivSeriesSource*>(&source); src != nullptr && src->Series() == &series)
    src->SetSeries(nullptr);
}

void TCustomAxisPanel::CheckDatasource(TChartSeries& series) {
  if (series.HasState(classlib::csLoading)) return;
  if (classlib::TComponent* source = series.DataSource()) {
    if (auto* s = dynamic_cast<TChartSeries*>(source))
      series.AddValues(s);
    else if (auto* src = dynamic_cast<TKivSeriesSource*>(source))
      src->Refresh();
    return;
  }
  if (TKivFunction* f = series.FunctionType()) {
    series.BeginUpdate();
    series.Clear();
    series.EndUpdate();
    (void)f;
    return;
  }
  if (!series.ManualData() && (series.HasState(classlib::csDesigning) || AutoSampleValues()))
    series.FillSampleValues(0);
}

// --- drawing ------------------------------------------------------------------

void TCustomAxisPanel::ToolsEvent(TChartToolEvent event) {
  for (TKivCustomTool* t : std::vector<TKivCustomTool*>(FTools.begin(), FTools.end()))
    if (t->Active()) t->ChartEvent(event);
}

void TCustomAxisPanel::DrawAxes() {
  if (!FAxisVisible) return;
  FireBeforeDrawAxes();
  for (TChartAxis* a : FAxes)
    if (IsAxisVisible(*a)) a->Draw(true);
}

bool TCustomAxisPanel::SetSeriesClip(const TChartSeries& s) {
  if (!s.UseAxis() || !FClipPoints || !CanClip()) return false;
  if (View3D())
    Canvas().ClipCube(ChartRect(), 0, FWidth3D);
  else
    Canvas().ClipRectangle(ChartRect());
  return true;
}

void TCustomAxisPanel::DrawSeriesMarks(TChartSeries& s) {
  if (s.Count() == 0 || !s.Marks()->Visible()) return;
  const bool clip = s.Marks()->Clip() && SetSeriesClip(s);
  s.DrawMarks();
  if (clip) Canvas().UnClipRectangle();
}

void TCustomAxisPanel::DrawOneSeries(TChartSeries& s) {
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
void TCustomAxisPanel::DrawSeriesGroup(TChartSeries& first) {
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

void TCustomAxisPanel::InternalDraw(const TRect& bounds) {
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
    if (FApplyZOrder && View3D()) {
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
    if (FAxisBehind) DrawAxes();
    ToolsEvent(cteBeforeDrawSeries);
    FireBeforeDrawSeries();
    for (TChartSeries* s : std::vector<TChartSeries*>(FSeriesList))
      if (s->Active()) DrawOneSeries(*s);
    if (!FAxisBehind) DrawAxes();
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

void TCustomAxisPanel::GetChildren(const std::function<void(classlib::TComponent&)>& proc) const {
  TCustomKivPanelExtended::GetChildren(proc);
  for (TChartSeries* s : FSeriesList)
    if (!s->DontStore()) proc(*s);
}

void TCustomAxisPanel::Assign(const classlib::TPersistent& source) {
  if (auto* p = dynamic_cast<const TCustomAxisPanel*>(&source)) {
    FAxisBehind = p->FAxisBehind;
    FAxisVisible = p->FAxisVisible;
    FBottomAxis->Assign(*p->FBottomAxis);
    FClipPoints = p->FClipPoints;
    FCustomAxes->Assign(*p->FCustomAxes);
    FLeftAxis->Assign(*p->FLeftAxis);
    FDepthAxis->Assign(*p->FDepthAxis);
    FMaxPointsPerPage = p->FMaxPointsPerPage;
    FPage = p->FPage;
    FRightAxis->Assign(*p->FRightAxis);
    FScaleLastPage = p->FScaleLastPage;
    FTopAxis->Assign(*p->FTopAxis);
    FView3DWalls = p->FView3DWalls;
  }
  TCustomKivPanelExtended::Assign(source);
}

}  // namespace chart

// The chart control's series: the series list, paging, the data ranges of
// the axes and which axes show, what axes take from their series, and the
// checks of data sources.
//
// Tested by: chart/tests/AxisPanelTest.cpp
#include "chart/ChartControl.h"

#include <algorithm>
#include <cmath>

#include "chart/core/KivConst.h"
#include "chart/core/KivProcsRoutines.h"
#include "chart/functions/Functions.h"
#include "chart/series/SeriesMarks.h"
#include "chart/series/SeriesSource.h"
#include "chart/tools/ToolBases.h"

namespace chart {

// --- series list ------------------------------------------------------------

TChartSeries* TCustomChart::AddSeries(TChartSeries* series) {
  if (series != nullptr) series->SetParentChart(this);
  return series;
}

void TCustomChart::InternalAddSeries(TChartSeries& series) {
  if (std::find(FSeriesList.begin(), FSeriesList.end(), &series) != FSeriesList.end()) return;
  FSeriesList.push_back(&series);
  series.Added();
  BroadcastSeriesEvent(seAdd, &series);
  Invalidate();
}

void TCustomChart::RemoveSeries(TChartSeries* series) {
  auto it = std::find(FSeriesList.begin(), FSeriesList.end(), series);
  if (it == FSeriesList.end()) return;
  BroadcastSeriesEvent(seRemove, series);
  series->Removed();
  FSeriesList.erase(std::find(FSeriesList.begin(), FSeriesList.end(), series));
  Invalidate();
}

void TCustomChart::FreeAllSeries(const classlib::TClassInfo* ofClass) {
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

void TCustomChart::ExchangeSeries(int a, int b) {
  std::swap(FSeriesList.at(static_cast<std::size_t>(a)), FSeriesList.at(static_cast<std::size_t>(b)));
  BroadcastSeriesEvent(seSwap, nullptr);
  Invalidate();
}

void TCustomChart::BroadcastSeriesEvent(TChartSeriesEventKind kind, TChartSeries* series) {
  TKivSeriesEvent e;
  e.Sender = this;
  e.Event = kind;
  e.Series = series;
  BroadcastEvent(e);
}

int TCustomChart::CountActiveSeries() const {
  return static_cast<int>(std::count_if(FSeriesList.begin(), FSeriesList.end(), [](TChartSeries* s) { return s->Active(); }));
}

TChartSeries* TCustomChart::SeriesForLegend(int index, bool onlyActive) const {
  int n = 0;
  for (TChartSeries* s : FSeriesList) {
    if (!s->ShowInLegend() || (onlyActive && !s->Active())) continue;
    if (n++ == index) return s;
  }
  return nullptr;
}

int TCustomChart::MaxValuesCount() const {
  int n = 0;
  for (TChartSeries* s : FSeriesList)
    if (s->Active()) n = std::max(n, s->Count());
  return n;
}

std::int32_t TCustomChart::MaxMarkWidth() {
  std::int32_t w = 0;
  for (TChartSeries* s : FSeriesList)
    if (s->Active()) w = std::max(w, s->MaxMarkWidth());
  return w;
}

bool TCustomChart::AxisHasNoActiveSeries(const TChartAxis& axis) const {
  return std::none_of(FSeriesList.begin(), FSeriesList.end(),
                      [&](TChartSeries* s) { return s->Active() && s->AssociatedToAxis(&axis); });
}

TChartSeries* TCustomChart::FirstSeriesOfAxis(const TChartAxis& axis) const {
  const bool none = AxisHasNoActiveSeries(axis);
  for (TChartSeries* s : FSeriesList)
    if (s->AssociatedToAxis(&axis) && (s->Active() || none)) return s;
  return nullptr;
}

TChartSeries* TCustomChart::LargestSeriesOfAxis(const TChartAxis& axis) const {
  const bool none = AxisHasNoActiveSeries(axis);
  TChartSeries* best = nullptr;
  for (TChartSeries* s : FSeriesList)
    if (s->AssociatedToAxis(&axis) && (s->Active() || none) && (best == nullptr || s->Count() > best->Count())) best = s;
  return best;
}

bool TCustomChart::SeriesClicked(std::int32_t x, std::int32_t y) {
  for (auto it = FSeriesList.rbegin(); it != FSeriesList.rend(); ++it)
    if ((*it)->Active() && (*it)->CheckMouse(x, y)) return true;
  return false;
}

std::int32_t TCustomChart::MaxLabelTextWidth() {
  std::int32_t w = 0;
  for (TChartSeries* s : FSeriesList)
    for (int i = 0; i < s->Labels().Count(); ++i)
      for (const std::string& piece : TChartAxis::LabelLines(s->Labels().GetLabel(i)))
        w = std::max(w, Canvas().TextWidth(piece));
  return w;
}

TColor TCustomChart::GetFreeSeriesColor(bool checkBackground) const {
  for (int i = 0; i < MaxDefaultColors; ++i)
    if (IsColorUnused(GetDefaultColor(i), checkBackground)) return GetDefaultColor(i);
  return GetDefaultColor(MaxDefaultColors);
}

bool TCustomChart::NoActiveSeriesOrSomeUseAxes() const {
  bool anyActive = false;
  for (TChartSeries* s : FSeriesList) {
    if (!s->Active()) continue;
    anyActive = true;
    if (s->UseAxis()) return true;
  }
  return !anyActive;
}

// --- what axes take from their series ------------------------------------------

TAxisSeriesFacts TCustomChart::SeriesFactsOfAxis(const TChartAxis& axis) const {
  TAxisSeriesFacts facts;
  for (TChartSeries* s : FSeriesList) {
    if (!s->Active()) continue;
    if (s->HasZValues() || s->MinZValue() != s->MaxZValue()) facts.ZValues = true;
    if (!s->AssociatedToAxis(&axis)) continue;
    if (!facts.Any) facts.DateTime = axis.Horizontal() ? s->XValues()->DateTime() : s->YValues()->DateTime();
    facts.Any = true;
    if (s->YMandatory() != axis.Horizontal()) continue;
    facts.FewestPoints = std::min<std::int64_t>(facts.FewestPoints, s->Count());
    if (!s->Labels().Empty() && s->HasPointLabels()) facts.TextLabels = true;
  }
  return facts;
}

void TCustomChart::SeriesLabelsOfAxis(TChartAxis& axis, bool markTexts,
                                      const std::function<void(double value, const std::string& text)>& label) {
  std::vector<TChartSeries*> series;
  for (TChartSeries* s : FSeriesList)
    if (s->Active() && s->AssociatedToAxis(&axis)) series.push_back(s);
  int first = -1, last = -1;
  for (TChartSeries* s : series) {
    s->CalcFirstLastVisibleIndex();
    if (s->FirstValueIndex() < 0) continue;
    first = first < 0 ? s->FirstValueIndex() : std::min(first, s->FirstValueIndex());
    last = std::max(last, s->LastValueIndex());
  }
  if (first < 0) return;
  for (int i = first; i <= last; ++i)
    for (TChartSeries* s : series) {
      if (i < s->FirstValueIndex() || i > s->LastValueIndex()) continue;
      std::string text = markTexts ? s->GetMarkText(i) : s->Labels().GetLabel(i);
      if (OnGetAxisLabel) OnGetAxisLabel(axis, s, i, text);
      if (text.empty()) continue;
      label(axis.Horizontal() ? s->GetXValue(i) : s->GetYValue(i), text);
      break;
    }
}

std::string TCustomChart::SeriesTitleAtDepth(int z) const {
  for (TChartSeries* s : FSeriesList)
    if (s->Active() && s->GetZOrder() == z) return s->Title().empty() ? s->Name() : s->Title();
  return "";
}

void TCustomChart::AxisFreed(const TChartAxis& axis) {
  for (TChartSeries* s : FSeriesList) {
    if (s->CustomHorizAxis() == &axis) s->SetCustomHorizAxis(nullptr);
    if (s->CustomVertAxis() == &axis) s->SetCustomVertAxis(nullptr);
  }
  // Axis tools hold the axis without a free notification: they let go here.
  for (TKivCustomTool* t : FTools)
    if (auto* at = dynamic_cast<TKivCustomToolAxis*>(t); at != nullptr && at->Axis() == &axis) at->AxisFreed();
}

// --- paging -----------------------------------------------------------------

std::int32_t TCustomChart::AxisPages(const TChartAxis& axis) const {
  int count = 0;
  for (TChartSeries* s : FSeriesList)
    if (s->Active() && s->AssociatedToAxis(&axis)) count = std::max(count, s->Count());
  if (count < 1) return 1;
  return (count + MaxPointsPerPage() - 1) / MaxPointsPerPage();
}

std::int32_t TCustomChart::NumPages() const {
  if (MaxPointsPerPage() < 1 || FSeriesList.empty()) return 1;
  if (!FSeriesList.front()->YMandatory()) return std::max(AxisPages(*FLeftAxis), AxisPages(*FRightAxis));
  return std::max(AxisPages(*FBottomAxis), AxisPages(*FTopAxis));
}

// --- axis ranges --------------------------------------------------------------

double TCustomChart::InternalMinMax(const TChartAxis& axis, bool isMin, bool isX) const {
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
  if (MaxPointsPerPage() > 0 && alongPoints) {
    TChartSeries* s = LargestSeriesOfAxis(axis);
    if (s == nullptr || s->Count() == 0) return 0;
    const int count = s->Count();
    int first = (Page() - 1) * MaxPointsPerPage();
    if (first >= count) first = std::max(0, count / MaxPointsPerPage() - 1) * MaxPointsPerPage();
    int last = first + MaxPointsPerPage() - 1;
    if (last >= count) last = count % MaxPointsPerPage() + first - 1;
    last = std::clamp(last, first, count - 1);
    const TChartValueList& l = isX ? *s->XValues() : *s->YValues();
    double mn = l[first], mx = l[last];
    const int n = last - first + 1;
    if (!ScaleLastPage() && n < MaxPointsPerPage()) mx = mn + (mx - mn) * MaxPointsPerPage() / n;
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

double TCustomChart::AxisDataMinimum(const TChartAxis& axis) const {
  return axis.Horizontal() || axis.IsDepthAxis() ? MinXValue(axis) : MinYValue(axis);
}
double TCustomChart::AxisDataMaximum(const TChartAxis& axis) const {
  return axis.Horizontal() || axis.IsDepthAxis() ? MaxXValue(axis) : MaxYValue(axis);
}

bool TCustomChart::IsAxisVisible(const TChartAxis& axis) const {
  if (!AxisVisible() || !axis.Visible()) return false;
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

void TCustomChart::CalcSize3D() {
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
  const std::int32_t m = ApplyZOrder() ? std::max(1, FMaxZOrder + 1) : 1;
  FWidth3D = FSeriesWidth3D * m;
  FHeight3D = FSeriesHeight3D * m;
}

// --- data sources -------------------------------------------------------------

bool TCustomChart::IsValidDataSource(const TChartSeries& series, const classlib::TComponent& source) const {
  if (auto* s = dynamic_cast<const TChartSeries*>(&source)) return s != &series && series.IsValidSeriesSource(*s);
  if (auto* src = dynamic_cast<const TKivSeriesSource*>(&source)) return src->Available();
  return false;
}

void TCustomChart::CheckCircularSource(const TChartSeries& series, const classlib::TComponent& source) const {
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

void TCustomChart::RemovedDataSource(TChartSeries& series, classlib::TComponent& source) {
  if (auto* src = dynamic_cast<TKivSeriesSource*>(&source); src != nullptr && src->Series() == &series)
    src->SetSeries(nullptr);
}

void TCustomChart::CheckDatasource(TChartSeries& series) {
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

}  // namespace chart

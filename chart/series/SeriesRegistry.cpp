// The series-type registry; series creation, replacement and legend symbols.
//
// Tested by: chart/tests/RegistriesTest.cpp
#include "chart/series/SeriesRegistry.h"

#include <algorithm>

#include "chart/AxisPanel.h"
#include "chart/ChartControl.h"
#include "chart/canvas/KivCanvasQt.h"
#include "chart/core/KivConst.h"
#include "chart/core/KivProcsRoutines.h"
#include "chart/functions/Functions.h"
#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/WarningSink.h"

namespace chart {

namespace {
std::unique_ptr<TKivSeriesTypes>& SeriesTypesHolder() {
  static std::unique_ptr<TKivSeriesTypes> holder;
  return holder;
}
void AddType(const classlib::TClassInfo* series, const classlib::TClassInfo* function, const std::string& description,
             const std::string& page, int n) {
  classlib::RegisterClass(series != nullptr ? *series : *function);
  auto& items = KivSeriesTypesList().Items();
  for (const auto& t : items)
    if (t->SeriesClass == series && t->FunctionClass == function) return;
  items.push_back(std::make_unique<TKivSeriesType>(TKivSeriesType{series, function, description, page, n}));
}
}  // namespace

TKivSeriesTypes& KivSeriesTypesList() {
  if (!SeriesTypesHolder()) SeriesTypesHolder() = std::make_unique<TKivSeriesTypes>();
  return *SeriesTypesHolder();
}

void FreeSeriesTypes() { SeriesTypesHolder().reset(); }

void RegisterSeriesType(const classlib::TClassInfo& seriesClass, int description, int galleryPage, int n) {
  AddType(&seriesClass, nullptr, KivMsg(description), KivMsg(galleryPage), n);
}

void RegisterSeriesType(const classlib::TClassInfo& seriesClass, const std::string& description,
                        const std::string& galleryPage, int n) {
  AddType(&seriesClass, nullptr, description, galleryPage, n);
}

void RegisterFunction(const classlib::TClassInfo& functionClass, int description, int galleryPage, int n) {
  AddType(nullptr, &functionClass, KivMsg(description), KivMsg(galleryPage), n);
}

void RegisterFunction(const classlib::TClassInfo& functionClass, const std::string& description,
                      const std::string& galleryPage, int n) {
  AddType(nullptr, &functionClass, description, galleryPage, n);
}

void UnregisterSeriesTypes(const std::vector<const classlib::TClassInfo*>& classes) {
  auto& items = KivSeriesTypesList().Items();
  std::erase_if(items, [&](const auto& t) {
    return t->SeriesClass != nullptr && std::find(classes.begin(), classes.end(), t->SeriesClass) != classes.end();
  });
}

void UnregisterFunctions(const std::vector<const classlib::TClassInfo*>& classes) {
  auto& items = KivSeriesTypesList().Items();
  std::erase_if(items, [&](const auto& t) {
    return t->FunctionClass != nullptr && std::find(classes.begin(), classes.end(), t->FunctionClass) != classes.end();
  });
}

const TKivSeriesType* FindSeriesType(const classlib::TClassInfo& seriesClass) {
  for (const auto& t : KivSeriesTypesList().Items())
    if (t->SeriesClass == &seriesClass && t->FunctionClass == nullptr) return t.get();
  return nullptr;
}

std::string SeriesTypeDescription(const TChartSeries& series) {
  const TKivSeriesType* t = FindSeriesType(series.ClassInfo());
  return t != nullptr ? t->Description : series.ClassName();
}

TGalleryCreateSeries& GalleryCreateSeriesHook() {
  static TGalleryCreateSeries hook;
  return hook;
}

TGalleryChangeSeriesKind& GalleryChangeSeriesKindHook() {
  static TGalleryChangeSeriesKind hook;
  return hook;
}

TChartSeries* CreateChartSeries(classlib::TComponent* owner, TCustomAxisPanel& chart,
                                const classlib::TClassInfo& seriesClass, const classlib::TClassInfo* functionClass) {
  if (owner == nullptr) owner = &chart;
  for (TChartSeries* s : chart.SeriesList())
    if (s->Owner() == &chart) owner = &chart;
  auto* series = dynamic_cast<TChartSeries*>(seriesClass.Create(owner));
  if (series == nullptr) throw ChartException(KivMsg(msgInvalidSeriesType));
  series->SetName(UniqueComponentName(owner, "Series"));
  series->SetParentChart(&chart);
  if (functionClass != nullptr) CreateSeriesFunction(*series, *functionClass);
  return series;
}

TKivFunction* CreateSeriesFunction(TChartSeries& series, const classlib::TClassInfo& functionClass) {
  auto* f = dynamic_cast<TKivFunction*>(functionClass.Create(series.Owner()));
  if (f == nullptr) throw ChartException(KivMsg(msgInvalidSeriesType));
  f->SetName(UniqueComponentName(series.Owner(), "KivFunction"));
  series.SetFunction(f);
  return f;
}

void ChangeSeriesType(TChartSeries*& series, TChartSeries* newSeries) {
  TChartSeries* old = series;
  if (old == nullptr || newSeries == nullptr || old == newSeries) return;
  newSeries->Assign(*old);
  newSeries->AfterDrawValues = old->AfterDrawValues;
  newSeries->BeforeDrawValues = old->BeforeDrawValues;
  newSeries->OnAfterAdd = old->OnAfterAdd;
  newSeries->OnBeforeAdd = old->OnBeforeAdd;
  newSeries->OnClearValues = old->OnClearValues;
  newSeries->OnClick = old->OnClick;
  newSeries->OnDblClick = old->OnDblClick;
  newSeries->OnGetMarkText = old->OnGetMarkText;
  for (TChartSeries* fed : std::vector<TChartSeries*>(old->LinkedSeries())) fed->ReplaceDataSource(*old, *newSeries);
  TCustomAxisPanel* chart = old->ParentChart();
  if (chart != nullptr) {
    for (TKivCustomTool* t : chart->Tools())
      if (auto* st = dynamic_cast<TKivCustomToolSeries*>(t); st != nullptr && st->Series() == old) st->SetSeries(newSeries);
    if (newSeries->ParentChart() != chart) newSeries->SetParentChart(chart);
    const auto& list = chart->SeriesList();
    const auto at = [&](const TChartSeries* s) { return static_cast<int>(std::find(list.begin(), list.end(), s) - list.begin()); };
    chart->ExchangeSeries(at(old), at(newSeries));
  }
  const std::string name = old->Name();
  delete old;
  series = newSeries;
  newSeries->SetName(name);
  if (chart != nullptr) chart->BroadcastSeriesEvent(seChangeTitle, newSeries);
  newSeries->RefreshSeries();
}

void ShowChartMessage(const std::string& text) { classlib::ReportWarning(text); }

void FillSeriesItems(std::vector<std::pair<std::string, TChartSeries*>>& items, const TCustomAxisPanel& chart) {
  for (TChartSeries* s : chart.SeriesList())
    if (!s->DontStore()) items.emplace_back(SeriesTitleOrName(*s), s);
}

void DrawSeriesLegendSymbol(TChartSeries& series, TCanvas& canvas, const TRect& rect) {
  std::unique_ptr<TChart> borrowed;
  TCustomAxisPanel* chart = series.ParentChart();
  if (chart == nullptr) {
    borrowed = std::make_unique<TChart>();
    borrowed->SetAutoRepaint(false);
    series.SetParentChart(borrowed.get());
    chart = borrowed.get();
  }
  canvas.Brush.SetStyle(bsSolid);
  canvas.Brush.SetColor(chart->LegendColor);
  if (auto* full = dynamic_cast<TCustomChart*>(chart)) {
    const TLegendSymbol& symbol = *full->Legend()->Symbol();
    chart->LegendPen = symbol.DefaultPen() ? nullptr : symbol.Pen();
  }
  auto* surface = dynamic_cast<TKivCanvas3D*>(&chart->Canvas());
  if (surface != nullptr && !surface->GetSupportsFullRotation()) {
    TCanvas* previous = surface->ReferenceCanvas();
    surface->SetReferenceCanvas(&canvas);
    try {
      series.DrawLegend(-1, rect);
    } catch (...) {
      surface->SetReferenceCanvas(previous);
      throw;
    }
    surface->SetReferenceCanvas(previous);
  }
  chart->LegendPen = nullptr;
  if (borrowed) series.SetParentChart(nullptr);
}

}  // namespace chart

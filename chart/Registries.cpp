// Series-type and tool-type registries, series creation and naming, start-up.
//
// Tested by: chart/tests/RegistriesTest.cpp
#include "chart/Registries.h"

#include <algorithm>

#include "chart/AxisPanel.h"
#include "chart/ChartControl.h"
#include "chart/Functions.h"
#include "chart/KivConst.h"
#include "chart/KivProcsRoutines.h"
#include "chart/SeriesMarks.h"
#include "platform/classlib/ClassRegistry.h"

namespace chart {

namespace {
std::unique_ptr<TKivSeriesTypes>& SeriesTypesHolder() {
  static std::unique_ptr<TKivSeriesTypes> holder;
  return holder;
}
std::unique_ptr<std::vector<const classlib::TClassInfo*>>& ToolTypesHolder() {
  static std::unique_ptr<std::vector<const classlib::TClassInfo*>> holder;
  return holder;
}
int& InitCount() {
  static int count = 0;
  return count;
}

void AddType(const classlib::TClassInfo* series, const classlib::TClassInfo* function, int description, int page,
             int n) {
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

std::vector<const classlib::TClassInfo*>& KivToolTypesList() {
  if (!ToolTypesHolder()) ToolTypesHolder() = std::make_unique<std::vector<const classlib::TClassInfo*>>();
  return *ToolTypesHolder();
}

void RegisterSeriesType(const classlib::TClassInfo& seriesClass, int description, int galleryPage, int n) {
  AddType(&seriesClass, nullptr, description, galleryPage, n);
}

void RegisterFunction(const classlib::TClassInfo& functionClass, int description, int galleryPage, int n) {
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
  return t != nullptr ? KivMsg(t->Description) : series.ClassName();
}

void RegisterToolClasses(const std::vector<const classlib::TClassInfo*>& classes) {
  auto& list = KivToolTypesList();
  for (const classlib::TClassInfo* c : classes) {
    if (std::find(list.begin(), list.end(), c) != list.end()) continue;
    classlib::RegisterClass(*c);
    list.push_back(c);
  }
}

void UnregisterToolClasses(const std::vector<const classlib::TClassInfo*>& classes) {
  auto& list = KivToolTypesList();
  for (const classlib::TClassInfo* c : classes) std::erase(list, c);
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

std::string SeriesTitleOrName(const TChartSeries& series) {
  if (!series.Title().empty()) return series.Title();
  if (!series.Name().empty()) return series.Name();
  if (TCustomAxisPanel* chart = series.ParentChart()) {
    const auto& list = chart->SeriesList();
    const auto it = std::find(list.begin(), list.end(), &series);
    if (it != list.end()) return "Series" + std::to_string(it - list.begin() + 1);
  }
  return "";
}

void InitChartEngine() {
  if (InitCount()++ > 0) return;
  classlib::RegisterClasses({&TChartAxisTitle::StaticClassInfo(), &TChartAxis::StaticClassInfo(),
                             &TChartDepthAxis::StaticClassInfo(), &TSeriesMarks::StaticClassInfo(),
                             &TChart::StaticClassInfo(), &TKivFunction::StaticClassInfo(),
                             &TKivMovingFunction::StaticClassInfo()});
  KivSeriesTypesList();
  KivToolTypesList();
}

void DoneChartEngine() {
  if (InitCount() == 0 || --InitCount() > 0) return;
  SeriesTypesHolder().reset();
  ToolTypesHolder().reset();
}

}  // namespace chart

// Series sources: loading, emptying and re-pointing their series.
//
// Tested by: chart/tests/RegistriesTest.cpp
#include "chart/series/SeriesSource.h"

#include <algorithm>
#include <memory>

#include "chart/AxisPanel.h"
#include "chart/series/SeriesData.h"

namespace chart {

using classlib::TClassBuilder;
using classlib::TClassInfo;

const TClassInfo& TKivSeriesSource::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TKivSeriesSource>("TKivSeriesSource", classlib::TComponent::StaticClassInfo())
          .Property("Active", &TKivSeriesSource::Active, &TKivSeriesSource::SetActive, false)
          .Build();
  return info;
}

TKivSeriesSource::TKivSeriesSource(classlib::TComponent* owner) : classlib::TComponent(owner) {}

// A source that goes away leaves its series' points as they are.
TKivSeriesSource::~TKivSeriesSource() {
  IncludeState(classlib::csDestroying);
  Close();
  SetSeries(nullptr);
}

void TKivSeriesSource::SetActive(bool v) {
  if (v == FActive) return;
  FActive = v;
  if (FSeries == nullptr) return;
  if (v) {
    if (!HasState(classlib::csLoading)) Load();
  } else if (!HasState(classlib::csDestroying) && !FSeries->HasState(classlib::csDestroying)) {
    FSeries->Clear();
  }
}

void TKivSeriesSource::Close() {
  if (!HasState(classlib::csLoading) && !HasState(classlib::csDestroying)) SetActive(false);
}

void TKivSeriesSource::SetSeries(TChartSeries* series) {
  if (series == FSeries) return;
  Close();
  TChartSeries* old = FSeries;
  if (old != nullptr) RemoveFreeNotification(*old);
  // Set first: the series call back while they drop or take this source.
  FSeries = series;
  if (old != nullptr) {
    const auto& sources = old->DataSources();
    if (std::find(sources.begin(), sources.end(), this) != sources.end()) old->RemoveDataSource(*this);
  }
  if (series == nullptr) return;
  FreeNotification(*series);
  if (series->DataSource() == this) return;
  if (series->ParentChart() != nullptr)
    series->SetDataSource(this);
  else
    series->AddDataSource(*this);
}

bool TKivSeriesSource::IsSeriesSource(const TChartSeries& series) const {
  const classlib::TComponent* source = series.DataSource();
  return source != nullptr && source->ClassName() == ClassName();
}

void TKivSeriesSource::Refresh() {
  if (FActive && FSeries != nullptr && !HasState(classlib::csLoading)) Load();
}

void TKivSeriesSource::Loaded() {
  classlib::TComponent::Loaded();
  Refresh();
}

void TKivSeriesSource::Notification(classlib::TComponent* component, classlib::TOperation operation) {
  classlib::TComponent::Notification(component, operation);
  if (operation == classlib::opRemove && component != nullptr && component == FSeries) FSeries = nullptr;
}

namespace {
std::unique_ptr<std::vector<const classlib::TClassInfo*>>& SourcesHolder() {
  static std::unique_ptr<std::vector<const classlib::TClassInfo*>> holder;
  return holder;
}
}  // namespace

std::vector<const classlib::TClassInfo*>& RegisteredSourcesList() {
  if (!SourcesHolder()) SourcesHolder() = std::make_unique<std::vector<const classlib::TClassInfo*>>();
  return *SourcesHolder();
}

void FreeRegisteredSourcesList() { SourcesHolder().reset(); }

}  // namespace chart

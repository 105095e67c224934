// The process-wide series-type and tool-type registries, the routines that
// create and name series and functions, and the engine's start-up.
//
// Tested by: chart/tests/RegistriesTest.cpp
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/classlib/Component.h"

namespace chart {

class TChartSeries;
class TCustomAxisPanel;
class TKivFunction;

struct TKivSeriesType {
  const classlib::TClassInfo* SeriesClass = nullptr;
  const classlib::TClassInfo* FunctionClass = nullptr;
  int Description = 0;  // message number of the gallery name
  int GalleryPage = 0;  // message number of the gallery tab
  int NumGallerySeries = 1;
};

class TKivSeriesTypes {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  const TKivSeriesType& Get(int index) const { return *FItems.at(static_cast<std::size_t>(index)); }
  std::vector<std::unique_ptr<TKivSeriesType>>& Items() { return FItems; }
  void Clear() { FItems.clear(); }

 private:
  std::vector<std::unique_ptr<TKivSeriesType>> FItems;
};

// The registries (created by InitChartEngine).
TKivSeriesTypes& KivSeriesTypesList();
std::vector<const classlib::TClassInfo*>& KivToolTypesList();

void RegisterSeriesType(const classlib::TClassInfo& seriesClass, int description, int galleryPage,
                        int numGallerySeries = 1);
void RegisterFunction(const classlib::TClassInfo& functionClass, int description, int galleryPage,
                      int numGallerySeries = 1);
void UnregisterSeriesTypes(const std::vector<const classlib::TClassInfo*>& classes);
void UnregisterFunctions(const std::vector<const classlib::TClassInfo*>& classes);
const TKivSeriesType* FindSeriesType(const classlib::TClassInfo& seriesClass);
std::string SeriesTypeDescription(const TChartSeries& series);
void RegisterToolClasses(const std::vector<const classlib::TClassInfo*>& classes);
void UnregisterToolClasses(const std::vector<const classlib::TClassInfo*>& classes);

TChartSeries* CreateChartSeries(classlib::TComponent* owner, TCustomAxisPanel& chart,
                                const classlib::TClassInfo& seriesClass,
                                const classlib::TClassInfo* functionClass = nullptr);
TKivFunction* CreateSeriesFunction(TChartSeries& series, const classlib::TClassInfo& functionClass);
std::string SeriesTitleOrName(const TChartSeries& series);

// The engine's start-up, once, in unit order: the axis classes for the
// streams, the registries, the random seed. A second call does nothing.
void InitChartEngine();
// Frees the registries; InitChartEngine may run again afterwards.
void DoneChartEngine();

}  // namespace chart

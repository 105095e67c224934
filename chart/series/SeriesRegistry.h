// The process-wide series-type registry (the series kinds and functions that
// can be created by name, with their gallery texts) and the routines that
// create, replace and show series.
//
// Tested by: chart/tests/RegistriesTest.cpp
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/classlib/Component.h"

namespace chart {

class TCanvas;
class TChartSeries;
struct TRect;
class TCustomAxisPanel;
class TKivFunction;

struct TKivSeriesType {
  const classlib::TClassInfo* SeriesClass = nullptr;
  const classlib::TClassInfo* FunctionClass = nullptr;
  std::string Description;  // the gallery name (#13 breaks its lines)
  std::string GalleryPage;  // the gallery tab
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

// The registry, created on first use; FreeSeriesTypes empties it for good.
TKivSeriesTypes& KivSeriesTypesList();
void FreeSeriesTypes();

// The engine's own kinds name their texts by message number; the kinds of
// other libraries bring texts of their own.
void RegisterSeriesType(const classlib::TClassInfo& seriesClass, int description, int galleryPage,
                        int numGallerySeries = 1);
void RegisterSeriesType(const classlib::TClassInfo& seriesClass, const std::string& description,
                        const std::string& galleryPage, int numGallerySeries = 1);
void RegisterFunction(const classlib::TClassInfo& functionClass, int description, int galleryPage,
                      int numGallerySeries = 1);
void RegisterFunction(const classlib::TClassInfo& functionClass, const std::string& description,
                      const std::string& galleryPage, int numGallerySeries = 1);
void UnregisterSeriesTypes(const std::vector<const classlib::TClassInfo*>& classes);
void UnregisterFunctions(const std::vector<const classlib::TClassInfo*>& classes);
const TKivSeriesType* FindSeriesType(const classlib::TClassInfo& seriesClass);
std::string SeriesTypeDescription(const TChartSeries& series);

TChartSeries* CreateChartSeries(classlib::TComponent* owner, TCustomAxisPanel& chart,
                                const classlib::TClassInfo& seriesClass,
                                const classlib::TClassInfo* functionClass = nullptr);
TKivFunction* CreateSeriesFunction(TChartSeries& series, const classlib::TClassInfo& functionClass);
// The series gallery's two entry points, installed by the gallery when it
// starts and cleared when it goes; empty until then. The first lets the user
// pick a kind and creates a series of it on chart (nullptr when nothing was
// picked); the second lets the user pick a new kind for series, puts a
// series of that kind in its place and returns the class series has now.
using TGalleryCreateSeries =
    std::function<TChartSeries*(classlib::TComponent* owner, TCustomAxisPanel* chart, TChartSeries* series)>;
using TGalleryChangeSeriesKind =
    std::function<const classlib::TClassInfo*(classlib::TComponent* owner, TChartSeries*& series)>;
TGalleryCreateSeries& GalleryCreateSeriesHook();
TGalleryChangeSeriesKind& GalleryChangeSeriesKindHook();

// Puts newSeries in the place of series (data, events, sources, tools, place
// in the chart and name) and frees the old one; series then holds newSeries.
void ChangeSeriesType(TChartSeries*& series, TChartSeries* newSeries);
// A message of the engine for the user: through the class library's warning
// sink, which the program shows in a message the user can dismiss.
void ShowChartMessage(const std::string& text);
// Adds every streamed series of the chart with its title or name.
void FillSeriesItems(std::vector<std::pair<std::string, TChartSeries*>>& items, const TCustomAxisPanel& chart);
// Draws the series' legend symbol into rect of a foreign canvas (an editor's
// button face); a series without a chart borrows a hidden one meanwhile.
void DrawSeriesLegendSymbol(TChartSeries& series, TCanvas& canvas, const TRect& rect);

}  // namespace chart

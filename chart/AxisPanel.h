// What the parts of a chart (series, axes, tools, legend, titles and walls)
// see of the chart they belong to: its series, axes and tools lists, the
// switches of the drawing pass, paging, the legend's colours and events, and
// the questions the parts ask of it. The chart control (TCustomChart,
// chart/ChartControl.h) owns the parts, answers the questions and runs the
// drawing pass; holding only this panel, no part needs anything above it.
//
// Tested by: chart/tests/AxisPanelTest.cpp
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "chart/KivPanel.h"
#include "chart/core/StoreAndInvalidate.h"

namespace chart {

class TChartAxis;
class TChartCustomAxes;
class TChartDepthAxis;
class TChartSeries;
class TCustomAxisPanel;
class TKivCustomTool;
enum TLegendStyle : std::uint8_t;

class TChartChangePage : public TKivEvent {};

enum TChartSeriesEventKind : std::uint8_t {
  seAdd, seRemove, seChangeTitle, seChangeColor, seSwap, seChangeActive, seDataChanged
};

class TKivSeriesEvent : public TKivEvent {
 public:
  TChartSeriesEventKind Event = seAdd;
  TChartSeries* Series = nullptr;
};

using TChartSeriesList = std::vector<TChartSeries*>;
using TChartNotify = std::function<void()>;
using TAxisOnGetLabel =
    std::function<void(TChartAxis& sender, TChartSeries* series, int valueIndex, std::string& labelText)>;
// Gives the label after labelIndex in labelValue; stop ends the loop.
using TAxisOnGetNextLabel =
    std::function<void(TChartAxis& sender, int labelIndex, double& labelValue, bool& stop)>;
using TOnGetLegendPos =
    std::function<void(TCustomAxisPanel& sender, int index, std::int32_t& x, std::int32_t& y, std::int32_t& xColor)>;
using TOnGetLegendRect = std::function<void(TCustomAxisPanel& sender, TRect& rect)>;
using TOnGetLegendText =
    std::function<void(TCustomAxisPanel& sender, TLegendStyle legendStyle, int index, std::string& legendText)>;

// Something that hears of every change of a series' title, colour or switch.
class ISeriesObserver {
 public:
  virtual ~ISeriesObserver() = default;
  virtual void SeriesChanged(TCustomAxisPanel& chart) = 0;
};

// Every axis of a chart, the five standard ones first. The chart owns them;
// an axis that goes away leaves the list itself.
class TChartAxes {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TChartAxis* operator[](int index) const { return FItems[static_cast<std::size_t>(index)]; }
  void Add(TChartAxis* axis) { FItems.push_back(axis); }
  void Remove(const TChartAxis* axis) { std::erase(FItems, axis); }
  int IndexOf(const TChartAxis* axis) const {
    const auto it = std::find(FItems.begin(), FItems.end(), axis);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
  }
  // Conversions round first and skip the clamp.
  bool FastCalc = false;
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 private:
  std::vector<TChartAxis*> FItems;
};

// The tools of a chart in list order. The chart owns them; a tool that
// leaves its chart leaves the list itself.
class TChartTools {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TKivCustomTool* operator[](int index) const { return FItems[static_cast<std::size_t>(index)]; }
  void Add(TKivCustomTool* tool) { FItems.push_back(tool); }
  void Remove(const TKivCustomTool* tool) { std::erase(FItems, tool); }
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 private:
  std::vector<TKivCustomTool*> FItems;
};

// What an axis needs to know of the active series drawn along it.
struct TAxisSeriesFacts {
  // Whether there is any.
  bool Any = false;
  // Whether the first one's values along the axis are dates.
  bool DateTime = false;
  // Whether one of those whose points run along the axis labels its points.
  bool TextLabels = false;
  // The fewest points of those whose points run along the axis.
  std::int64_t FewestPoints = INT64_MAX;
  // Whether any active series of the chart has depth values of its own
  // (the depth axis then labels values, else the series' titles).
  bool ZValues = false;
};

class TCustomAxisPanel : public TCustomKivPanelExtended {
  ORVEL_CLASS_INFO
 public:
  explicit TCustomAxisPanel(classlib::TComponent* owner = nullptr);
  ~TCustomAxisPanel() override;

  // properties
  bool AxisBehind() const { return FAxisBehind; }
  void SetAxisBehind(bool v) { StoreAndInvalidate(*this, FAxisBehind, v); }
  bool AxisVisible() const { return FAxisVisible; }
  void SetAxisVisible(bool v) { StoreAndInvalidate(*this, FAxisVisible, v); }
  bool ClipPoints() const { return FClipPoints; }
  void SetClipPoints(bool v) { StoreAndInvalidate(*this, FClipPoints, v); }
  bool View3DWalls() const { return FView3DWalls; }
  void SetView3DWalls(bool v) { StoreAndInvalidate(*this, FView3DWalls, v); }
  bool ScaleLastPage() const { return FScaleLastPage; }
  void SetScaleLastPage(bool v) { StoreAndInvalidate(*this, FScaleLastPage, v); }
  std::int32_t Page() const { return FPage; }
  void SetPage(std::int32_t v);
  std::int32_t MaxPointsPerPage() const { return FMaxPointsPerPage; }
  void SetMaxPointsPerPage(std::int32_t v);
  TChartAxis* BottomAxis() const { return FBottomAxis; }
  TChartAxis* TopAxis() const { return FTopAxis; }
  TChartAxis* LeftAxis() const { return FLeftAxis; }
  TChartAxis* RightAxis() const { return FRightAxis; }
  TChartDepthAxis* DepthAxis() const { return FDepthAxis; }
  TChartAxes& AxesList() { return FAxes; }
  const TChartAxes& AxesList() const { return FAxes; }
  TChartCustomAxes& CustomAxes() { return *FCustomAxes; }
  TChartCustomAxes* CustomAxesList() const { return FCustomAxes; }
  const TChartSeriesList& SeriesList() const { return FSeriesList; }
  TChartTools& Tools() { return FTools; }
  std::int32_t MaxZOrder() const { return FMaxZOrder; }
  void SetMaxZOrder(std::int32_t v) { FMaxZOrder = v; }
  std::int32_t SeriesWidth3D() const { return FSeriesWidth3D; }
  std::int32_t SeriesHeight3D() const { return FSeriesHeight3D; }
  std::int32_t Width3D() const { return FWidth3D; }
  std::int32_t Height3D() const { return FHeight3D; }
  bool ReversedView() const { return FReversedView; }
  // The per-series Z-order switch: each series in a slot of its own.
  bool ApplyZOrder() const { return FApplyZOrder; }
  void SetApplyZOrder(bool v) { StoreAndInvalidate(*this, FApplyZOrder, v); }
  // The legend colour (series read it for their symbols).
  TColor LegendColor = clWhite;
  // A legend's own symbol pen, when it has one (series draw with it instead of theirs).
  const TChartPen* LegendPen = nullptr;
  ISeriesObserver* SeriesObserver = nullptr;

  // events
  TAxisOnGetLabel OnGetAxisLabel;
  TAxisOnGetNextLabel OnGetNextAxisLabel;
  TChartNotify OnPageChange, OnBeforeDrawChart, OnBeforeDrawAxes, OnBeforeDrawSeries, OnAfterDraw;
  TOnGetLegendPos OnGetLegendPos;
  TOnGetLegendRect OnGetLegendRect;
  TOnGetLegendText OnGetLegendText;

  // operations
  int SeriesCount() const { return static_cast<int>(FSeriesList.size()); }
  TChartSeries* Series(int index) const { return FSeriesList.at(static_cast<std::size_t>(index)); }
  // The library-wide switch that lets series without data fill themselves with samples.
  static bool& AutoSampleValues();

  // What the parts ask of their chart.
  // The series list: a series joins and leaves it as its ParentChart changes.
  virtual void InternalAddSeries(TChartSeries& series) = 0;
  virtual void RemoveSeries(TChartSeries* series) = 0;
  virtual void ExchangeSeries(int a, int b) = 0;
  virtual void BroadcastSeriesEvent(TChartSeriesEventKind kind, TChartSeries* series) = 0;
  virtual int CountActiveSeries() const = 0;
  virtual TChartSeries* FirstActiveSeries() const = 0;
  virtual TChartSeries* SeriesForLegend(int index, bool onlyActive) const = 0;
  virtual TColor GetFreeSeriesColor(bool checkBackground) const = 0;
  virtual std::int32_t NumPages() const = 0;
  // The axes: their data ranges, whether they show, the series along them.
  virtual bool IsAxisVisible(const TChartAxis& axis) const = 0;
  // The data range of the axis: what its automatic range would be.
  virtual double AxisDataMinimum(const TChartAxis& axis) const = 0;
  virtual double AxisDataMaximum(const TChartAxis& axis) const = 0;
  virtual TAxisSeriesFacts SeriesFactsOfAxis(const TChartAxis& axis) const = 0;
  // The labels an axis takes from its series (their point labels, or their
  // mark texts), each at its point's value, in point order; each index gives
  // the first series' non-empty text after OnGetAxisLabel.
  virtual void SeriesLabelsOfAxis(TChartAxis& axis, bool markTexts,
                                  const std::function<void(double value, const std::string& text)>& label) = 0;
  // The title (or name) of the first active series in Z slot z.
  virtual std::string SeriesTitleAtDepth(int z) const = 0;
  // An axis that goes away: the series and tools holding it let go.
  virtual void AxisFreed(const TChartAxis& axis) = 0;
  virtual std::int32_t WallSizeBeside(const TChartAxis& axis) const = 0;
  virtual std::int32_t MaxMarkWidth() = 0;
  virtual std::int32_t MaxLabelTextWidth() = 0;
  // Data sources.
  virtual bool IsValidDataSource(const TChartSeries& series, const classlib::TComponent& source) const = 0;
  virtual void CheckCircularSource(const TChartSeries& series, const classlib::TComponent& source) const = 0;
  virtual void RemovedDataSource(TChartSeries& series, classlib::TComponent& source) = 0;
  virtual void CheckDatasource(TChartSeries& series) = 0;
  // The legend: one value's text before and after OnGetLegendText.
  virtual std::string FormatLegendValue(TChartSeries* series, int valueIndex) const = 0;
  virtual std::string LegendValueText(TChartSeries* series, int valueIndex) const = 0;

  virtual void FireAfterDraw() { if (OnAfterDraw) OnAfterDraw(); }
  virtual void FireBeforeDrawAxes() { if (OnBeforeDrawAxes) OnBeforeDrawAxes(); }
  virtual void FireBeforeDrawChart() { if (OnBeforeDrawChart) OnBeforeDrawChart(); }
  virtual void FireBeforeDrawSeries() { if (OnBeforeDrawSeries) OnBeforeDrawSeries(); }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 protected:
  // The lists and the standard axes, which the chart control fills and owns.
  TChartSeriesList FSeriesList;
  TChartAxes FAxes;
  TChartTools FTools;
  TChartCustomAxes* FCustomAxes = nullptr;
  TChartAxis* FBottomAxis = nullptr;
  TChartAxis* FTopAxis = nullptr;
  TChartAxis* FLeftAxis = nullptr;
  TChartAxis* FRightAxis = nullptr;
  TChartDepthAxis* FDepthAxis = nullptr;
  // Set by the drawing pass.
  std::int32_t FMaxZOrder = 0;
  std::int32_t FSeriesWidth3D = 0, FSeriesHeight3D = 0, FWidth3D = 0, FHeight3D = 0;
  bool FReversedView = false;

 private:
  bool FAxisBehind = true;
  bool FAxisVisible = true;
  bool FView3DWalls = true;
  bool FClipPoints = true;
  std::int32_t FPage = 1;
  std::int32_t FMaxPointsPerPage = 0;
  bool FScaleLastPage = true;
  bool FApplyZOrder = true;
};

}  // namespace chart

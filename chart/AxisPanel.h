// The layer of the chart control that owns the series, the axes and the
// tools, runs the drawing pass in its fixed order, and answers what series
// and axes ask of their chart: the range along an axis (with paging), which
// axes show, the number of pages, a free colour for a new series and the
// checks of data sources.
//
// Tested by: chart/tests/AxisPanelTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/ChartAxis.h"
#include "chart/KivPanel.h"
#include "chart/core/StoreAndInvalidate.h"
#include "chart/series/SeriesData.h"
#include "chart/tools/ToolBases.h"

namespace chart {

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

// Something that hears of every change of a series' title, colour or switch.
class ISeriesObserver {
 public:
  virtual ~ISeriesObserver() = default;
  virtual void SeriesChanged(TCustomAxisPanel& chart) = 0;
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
  TChartCustomAxes* CustomAxesList() const { return FCustomAxes.get(); }
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

  // operations: series
  int SeriesCount() const { return static_cast<int>(FSeriesList.size()); }
  TChartSeries* Series(int index) const { return FSeriesList.at(static_cast<std::size_t>(index)); }
  TChartSeries* AddSeries(TChartSeries* series);
  void InternalAddSeries(TChartSeries& series);
  void RemoveSeries(TChartSeries* series);
  // Frees every series (of the class or its descendants, when one is given).
  void FreeAllSeries(const classlib::TClassInfo* ofClass = nullptr);
  void ExchangeSeries(int a, int b);
  int CountActiveSeries() const;
  TChartSeries* SeriesForLegend(int index, bool onlyActive) const;
  int MaxValuesCount() const;
  std::int32_t MaxMarkWidth();
  TChartSeries* FirstSeriesOfAxis(const TChartAxis& axis) const;
  TChartSeries* LargestSeriesOfAxis(const TChartAxis& axis) const;
  bool AxisHasNoActiveSeries(const TChartAxis& axis) const;
  bool SeriesClicked(std::int32_t x, std::int32_t y);
  std::int32_t MaxLabelTextWidth();
  TColor GetFreeSeriesColor(bool checkBackground) const;
  bool NoActiveSeriesOrSomeUseAxes() const;
  std::int32_t NumPages() const;
  void BroadcastSeriesEvent(TChartSeriesEventKind kind, TChartSeries* series);

  // operations: axes
  double MinXValue(const TChartAxis& axis) const { return InternalMinMax(axis, true, true); }
  double MaxXValue(const TChartAxis& axis) const { return InternalMinMax(axis, false, true); }
  double MinYValue(const TChartAxis& axis) const { return InternalMinMax(axis, true, false); }
  double MaxYValue(const TChartAxis& axis) const { return InternalMinMax(axis, false, false); }
  bool IsAxisVisible(const TChartAxis& axis) const;
  void CalcSize3D();
  // The data range of the axis: what its automatic range would be.
  double AxisDataMinimum(const TChartAxis& axis) const;
  double AxisDataMaximum(const TChartAxis& axis) const;

  // operations: data sources
  bool IsValidDataSource(const TChartSeries& series, const classlib::TComponent& source) const;
  void CheckCircularSource(const TChartSeries& series, const classlib::TComponent& source) const;
  void RemovedDataSource(TChartSeries& series, classlib::TComponent& source);
  // The library-wide switch that lets series without data fill themselves with samples.
  static bool& AutoSampleValues();

  // operations: drawing
  void DrawAxes();
  void DrawOneSeries(TChartSeries& series);
  void DrawSeriesGroup(TChartSeries& first);
  void ToolsEvent(TChartToolEvent event);

  // introduced virtual
  virtual void ComputeWallsRect() = 0;
  virtual std::int32_t WallSizeBeside(const TChartAxis& axis) const = 0;
  virtual void FireAfterDraw() { if (OnAfterDraw) OnAfterDraw(); }
  virtual void FireBeforeDrawAxes() { if (OnBeforeDrawAxes) OnBeforeDrawAxes(); }
  virtual void FireBeforeDrawChart() { if (OnBeforeDrawChart) OnBeforeDrawChart(); }
  virtual void FireBeforeDrawSeries() { if (OnBeforeDrawSeries) OnBeforeDrawSeries(); }
  virtual void DrawTitlesAndLegend(bool beforeSeries) = 0;
  virtual void DrawWalls() = 0;
  virtual void CheckDatasource(TChartSeries& series);
  virtual std::string LegendValueText(TChartSeries* series, int valueIndex) const {
    (void)series, (void)valueIndex;
    return "";
  }
  virtual bool IsColorUnused(TColor color, bool checkBackground) const = 0;

  // overrides
  void InternalDraw(const TRect& bounds) override;
  void Assign(const classlib::TPersistent& source) override;
  // The series are written inside the chart, after its own children.
  void GetChildren(const std::function<void(classlib::TComponent&)>& proc) const override;

 protected:

 private:
  double InternalMinMax(const TChartAxis& axis, bool isMin, bool isX) const;
  bool SetSeriesClip(const TChartSeries& series);
  void DrawSeriesMarks(TChartSeries& series);
  std::int32_t AxisPages(const TChartAxis& axis) const;

  TChartTools FTools;
  bool FAxisBehind = true;
  bool FAxisVisible = true;
  TChartSeriesList FSeriesList;
  bool FView3DWalls = true;
  bool FClipPoints = true;
  TChartAxes FAxes;
  std::unique_ptr<TChartCustomAxes> FCustomAxes;
  TChartAxis* FBottomAxis = nullptr;
  TChartAxis* FTopAxis = nullptr;
  TChartAxis* FLeftAxis = nullptr;
  TChartAxis* FRightAxis = nullptr;
  TChartDepthAxis* FDepthAxis = nullptr;
  std::int32_t FPage = 1;
  std::int32_t FMaxPointsPerPage = 0;
  bool FScaleLastPage = true;
  std::int32_t FMaxZOrder = 0;
  std::int32_t FSeriesWidth3D = 0, FSeriesHeight3D = 0, FWidth3D = 0, FHeight3D = 0;
  bool FReversedView = false;
  bool FApplyZOrder = true;
};

}  // namespace chart

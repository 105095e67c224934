// The chart control: the axis panel completed with the parts it owns (axes,
// series, tools, titles, legend and walls), the answers to what the parts ask
// of their chart, the drawing pass, the click test with its events, and mouse
// zooming, panning and wheel scrolling with undo. It is a model: the window
// (chart/widgets/KivPanelWidget.h) forwards mouse and key calls to it, and it
// paints into images as well.
//
// Tested by: chart/tests/ChartControlTest.cpp, chart/tests/ChartPictureTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/Legend.h"
#include "chart/Titles.h"
#include "chart/Walls.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/series/SeriesData.h"
#include "chart/tools/ToolBases.h"

namespace chart {

class TCustomChart;

using TChartAllowScrollEvent =
    std::function<void(TChartAxis& sender, double& aMin, double& aMax, bool& allowScroll)>;
using TChartClickAxis = std::function<void(TCustomChart& sender, TChartAxis& axis, TMouseButton button,
                                           TShiftState shift, std::int32_t x, std::int32_t y)>;
using TChartClick =
    std::function<void(TCustomChart& sender, TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)>;
using TChartClickSeries = std::function<void(TCustomChart& sender, TChartSeries& series, int valueIndex,
                                             TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y)>;
using TChartClickTitle = std::function<void(TCustomChart& sender, TChartTitle& title, TMouseButton button,
                                            TShiftState shift, std::int32_t x, std::int32_t y)>;

enum TChartClickedPartStyle : std::uint8_t {
  cpNone, cpLegend, cpAxis, cpSeries, cpTitle, cpFoot, cpChartRect, cpSeriesMarks, cpSubTitle, cpSubFoot
};

struct TChartClickedPart {
  TChartClickedPartStyle Part = cpNone;
  int PointIndex = -1;
  TChartSeries* ASeries = nullptr;
  TChartAxis* AAxis = nullptr;
};

struct TAxisSavedRange {
  bool Automatic = true, AutomaticMinimum = true, AutomaticMaximum = true;
  double Maximum = 0, Minimum = 0;
};

class TCustomChart : public TCustomAxisPanel {
  ORVEL_CLASS_INFO
 public:
  explicit TCustomChart(classlib::TComponent* owner = nullptr);
  ~TCustomChart() override;

  // properties
  TChartFootTitle* Foot() const { return FFoot.get(); }
  TChartFootTitle* SubFoot() const { return FSubFoot.get(); }
  TChartTitle* Title() const { return FTitle.get(); }
  TChartTitle* SubTitle() const { return FSubTitle.get(); }
  TChartLegend* Legend() const { return FLegend.get(); }
  TChartWalls* Walls() const { return FWalls.get(); }
  TChartBackWall* BackWall() const { return FWalls->Back(); }
  TChartWall* BottomWall() const { return FWalls->Bottom(); }
  TChartWall* LeftWall() const { return FWalls->Left(); }
  TChartRightWall* RightWall() const { return FWalls->Right(); }
  TChartPen* Frame() const { return FWalls->Back()->Pen(); }
  TMouseButton ScrollMouseButton() const { return FScrollMouseButton; }
  void SetScrollMouseButton(TMouseButton v) { FScrollMouseButton = v; }
  bool RangesNotSaved() const { return FRangesNotSaved; }
  // Older streams keep the back wall's colour here; it is read, never written.
  TColor BackColor() const { return FWalls->Back()->Color(); }
  void SetBackColor(TColor v);
  // The library-wide wheel switch: on from the start.
  static bool& WheelScrolls();

  // events
  TChartAllowScrollEvent OnAllowScroll;
  TChartClickAxis OnClickAxis;
  TChartClick OnClickBackground, OnClickLegend;
  TChartClickSeries OnClickSeries;
  TChartClickTitle OnClickTitle;

  // operations: series
  TChartSeries* AddSeries(TChartSeries* series);
  // Frees every series (of the class or its descendants, when one is given).
  void FreeAllSeries(const classlib::TClassInfo* ofClass = nullptr);
  int MaxValuesCount() const;
  TChartSeries* FirstSeriesOfAxis(const TChartAxis& axis) const;
  TChartSeries* LargestSeriesOfAxis(const TChartAxis& axis) const;
  bool AxisHasNoActiveSeries(const TChartAxis& axis) const;
  bool SeriesClicked(std::int32_t x, std::int32_t y);
  bool NoActiveSeriesOrSomeUseAxes() const;

  // operations: axes
  double MinXValue(const TChartAxis& axis) const { return InternalMinMax(axis, true, true); }
  double MaxXValue(const TChartAxis& axis) const { return InternalMinMax(axis, false, true); }
  double MinYValue(const TChartAxis& axis) const { return InternalMinMax(axis, true, false); }
  double MaxYValue(const TChartAxis& axis) const { return InternalMinMax(axis, false, false); }
  void CalcSize3D();

  // operations: drawing
  void DrawAxes();
  void DrawOneSeries(TChartSeries& series);
  void DrawSeriesGroup(TChartSeries& first);
  void ToolsEvent(TChartToolEvent event);
  void ComputeWallsRect();
  void DrawTitlesAndLegend(bool beforeSeries);
  void DrawWalls();

  // operations
  TChartClickedPart CalcClickedPart(std::int32_t x, std::int32_t y);
  // True when the right (or left) side of the 3D box faces the viewer.
  bool SideInFront(bool right) const;
  void SaveAxesRanges();
  virtual void ZoomRect(const TRect& rect);
  virtual void UndoZoom();
  void ZoomValues(double topMin, double topMax, double bottomMin, double bottomMax, double leftMin,
                  double leftMax, double rightMin, double rightMax);
  // The whole drawing pass into an image of the chart's size.
  std::unique_ptr<TBitmap> RenderToBitmap();

  // The free colour test of new series: no series and (when asked) no background has it.
  bool IsColorUnused(TColor color, bool checkBackground) const;

  // What the parts ask of their chart.
  void InternalAddSeries(TChartSeries& series) override;
  void RemoveSeries(TChartSeries* series) override;
  void ExchangeSeries(int a, int b) override;
  void BroadcastSeriesEvent(TChartSeriesEventKind kind, TChartSeries* series) override;
  int CountActiveSeries() const override;
  TChartSeries* FirstActiveSeries() const override;
  TChartSeries* SeriesForLegend(int index, bool onlyActive) const override;
  TColor GetFreeSeriesColor(bool checkBackground) const override;
  std::int32_t NumPages() const override;
  bool IsAxisVisible(const TChartAxis& axis) const override;
  double AxisDataMinimum(const TChartAxis& axis) const override;
  double AxisDataMaximum(const TChartAxis& axis) const override;
  TAxisSeriesFacts SeriesFactsOfAxis(const TChartAxis& axis) const override;
  void SeriesLabelsOfAxis(TChartAxis& axis, bool markTexts,
                          const std::function<void(double value, const std::string& text)>& label) override;
  std::string SeriesTitleAtDepth(int z) const override;
  void AxisFreed(const TChartAxis& axis) override;
  std::int32_t WallSizeBeside(const TChartAxis& axis) const override;
  std::int32_t MaxMarkWidth() override;
  std::int32_t MaxLabelTextWidth() override;
  bool IsValidDataSource(const TChartSeries& series, const classlib::TComponent& source) const override;
  void CheckCircularSource(const TChartSeries& series, const classlib::TComponent& source) const override;
  void RemovedDataSource(TChartSeries& series, classlib::TComponent& source) override;
  void CheckDatasource(TChartSeries& series) override;
  std::string FormatLegendValue(TChartSeries* series, int valueIndex) const override;
  std::string LegendValueText(TChartSeries* series, int valueIndex) const override;

  // overrides
  TColor GetBackColor() const override;
  void InternalDraw(const TRect& bounds) override;
  void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
  void MouseMove(TShiftState shift, std::int32_t x, std::int32_t y) override;
  bool DoMouseWheel(TShiftState shift, std::int32_t wheelDelta, const TPoint& mousePos) override;
  void Assign(const classlib::TPersistent& source) override;
  // The series are written inside the chart, after its own children; the tools after the series.
  void GetChildren(const std::function<void(classlib::TComponent&)>& proc) const override;
  // "BackColor" of older streams, a colour's name or a number, read and never written.
  void DefineProperties(classlib::TFiler& filer) override;

 private:
  bool StartZoomOrPan(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);
  void PinZoomCorner(std::int32_t& x, std::int32_t& y) const;
  bool ScrollAxes(bool horizontal, std::int32_t from, std::int32_t to);
  bool SizeIsEmpty() const { return Width() < 1 || Height() < 1; }
  void RedrawSideOverWall(bool right);
  double InternalMinMax(const TChartAxis& axis, bool isMin, bool isX) const;
  bool SetSeriesClip(const TChartSeries& series);
  void DrawSeriesMarks(TChartSeries& series);
  std::int32_t AxisPages(const TChartAxis& axis) const;

  std::unique_ptr<TChartCustomAxes> FOwnedCustomAxes;
  std::unique_ptr<TChartFootTitle> FFoot, FSubFoot;
  std::unique_ptr<TChartTitle> FTitle, FSubTitle;
  std::unique_ptr<TChartLegend> FLegend;
  std::unique_ptr<TChartWalls> FWalls;
  std::vector<TAxisSavedRange> FSavedRanges;
  TMouseButton FScrollMouseButton = mbRight;
  bool FRangesNotSaved = true;
};

class TChart : public TCustomChart {
  ORVEL_CLASS_INFO
 public:
  using TCustomChart::TCustomChart;
};

}  // namespace chart

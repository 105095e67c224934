// The chart control: the axis panel completed with titles, legend and walls,
// the click test with its events, and mouse zooming, panning and wheel
// scrolling with undo. It is a model: the window (chart/widgets/KivPanelWidget.h)
// forwards mouse and key calls to it, and it paints into images as well.
//
// Tested by: chart/tests/ChartControlTest.cpp, chart/tests/ChartPictureTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "chart/AxisPanel.h"
#include "chart/Legend.h"
#include "chart/Titles.h"
#include "chart/Walls.h"
#include "chart/canvas/KivGraphics.h"

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
using TOnGetLegendPos =
    std::function<void(TCustomChart& sender, int index, std::int32_t& x, std::int32_t& y, std::int32_t& xColor)>;
using TOnGetLegendRect = std::function<void(TCustomChart& sender, TRect& rect)>;
using TOnGetLegendText =
    std::function<void(TCustomAxisPanel& sender, TLegendStyle legendStyle, int index, std::string& legendText)>;

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
  TOnGetLegendPos OnGetLegendPos;
  TOnGetLegendRect OnGetLegendRect;
  TOnGetLegendText OnGetLegendText;

  // operations
  TChartClickedPart CalcClickedPart(std::int32_t x, std::int32_t y);
  TChartSeries* FirstActiveSeries() const;
  // The legend text of one value before OnGetLegendText sees it.
  std::string FormatLegendValue(TChartSeries* series, int valueIndex) const;
  // True when the right (or left) side of the 3D box faces the viewer.
  bool SideInFront(bool right) const;
  void SaveAxesRanges();
  virtual void ZoomRect(const TRect& rect);
  virtual void UndoZoom();
  void ZoomValues(double topMin, double topMax, double bottomMin, double bottomMax, double leftMin,
                  double leftMax, double rightMin, double rightMax);
  // The whole drawing pass into an image of the chart's size.
  std::unique_ptr<TBitmap> RenderToBitmap();

  // overrides
  TColor GetBackColor() const override;
  void ComputeWallsRect() override;
  std::int32_t WallSizeBeside(const TChartAxis& axis) const override;
  void DrawTitlesAndLegend(bool beforeSeries) override;
  void DrawWalls() override;
  std::string LegendValueText(TChartSeries* series, int valueIndex) const override;
  bool IsColorUnused(TColor color, bool checkBackground) const override;
  void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
  void MouseMove(TShiftState shift, std::int32_t x, std::int32_t y) override;
  bool DoMouseWheel(TShiftState shift, std::int32_t wheelDelta, const TPoint& mousePos) override;
  void Assign(const classlib::TPersistent& source) override;
  // The tools are written after the series.
  void GetChildren(const std::function<void(classlib::TComponent&)>& proc) const override;
  // "BackColor" of older streams, a colour's name or a number, read and never written.
  void DefineProperties(classlib::TFiler& filer) override;

 private:
  bool StartZoomOrPan(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);
  void PinZoomCorner(std::int32_t& x, std::int32_t& y) const;
  bool ScrollAxes(bool horizontal, std::int32_t from, std::int32_t to);
  bool SizeIsEmpty() const { return Width() < 1 || Height() < 1; }
  void RedrawSideOverWall(bool right);

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

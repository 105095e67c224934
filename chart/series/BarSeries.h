// Bar series: each point a bar from an origin to its value, in one of nine
// shapes, in 2D or 3D; several bar series of a chart side by side, stacked
// (in groups), stacked to 100 %, laid one after another, or stacked on
// themselves. Vertical and horizontal bars share one implementation over a
// position axis and a value axis.
//
// Tested by: chart/tests/BarSeriesTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "chart/core/StoreAndInvalidate.h"
#include "chart/series/SeriesData.h"

namespace chart {

enum TBarStyle : std::uint8_t {
  bsRectangle, bsPyramid, bsInvPyramid, bsCilinder, bsEllipse, bsArrow, bsRectGradient, bsCone, bsBevel
};
enum TMultiBar : std::uint8_t { mbNone, mbSide, mbStacked, mbStacked100, mbSideAll, mbSelfStack };

class TBarSeriesGradient : public TKivGradient {
  ORVEL_CLASS_INFO
 public:
  explicit TBarSeriesGradient(TNotifyEvent onChange = {});
  // The end colour follows the bar's value between the base and the list's maximum.
  bool Relative() const { return FRelative; }
  void SetRelative(bool v);
  void Assign(const classlib::TPersistent& source) override;

 private:
  bool FRelative = false;
};

class TCustomBarSeries;
using TGetBarStyleEvent = std::function<void(TCustomBarSeries& sender, int valueIndex, TBarStyle& style)>;

class TCustomBarSeries : public TChartSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TCustomBarSeries(classlib::TComponent* owner = nullptr);
  ~TCustomBarSeries() override;

  // properties
  bool AutoBarSize() const { return FAutoBarSize; }
  void SetAutoBarSize(bool v) { StoreAndInvalidate(*this, FAutoBarSize, v); }
  bool AutoMarkPosition() const { return FAutoMarkPosition; }
  void SetAutoMarkPosition(bool v) { StoreAndInvalidate(*this, FAutoMarkPosition, v); }
  TBarStyle BarStyle() const { return FBarStyle; }
  void SetBarStyle(TBarStyle v) { StoreAndInvalidate(*this, FBarStyle, v); }
  std::int32_t BarWidthPercent() const { return FBarWidthPercent; }
  void SetBarWidthPercent(std::int32_t v) { StoreAndInvalidate(*this, FBarWidthPercent, v); }
  std::int32_t BevelSize() const { return FBevelSize; }
  void SetBevelSize(std::int32_t v) { StoreAndInvalidate(*this, FBevelSize, v); }
  bool Dark3D() const { return FDark3D; }
  void SetDark3D(bool v) { StoreAndInvalidate(*this, FDark3D, v); }
  TBarSeriesGradient* Gradient() const { return FGradient.get(); }
  TMultiBar MultiBar() const { return FMultiBar; }
  // Also sets every bar series of the same kind in the chart.
  void SetMultiBar(TMultiBar v);
  std::int32_t OffsetPercent() const { return FOffsetPercent; }
  void SetOffsetPercent(std::int32_t v) { StoreAndInvalidate(*this, FOffsetPercent, v); }
  bool SideMargins() const { return FSideMargins; }
  void SetSideMargins(bool v);
  std::int32_t StackGroup() const { return FStackGroup; }
  void SetStackGroup(std::int32_t v) { StoreAndInvalidate(*this, FStackGroup, v); }
  bool UseYOrigin() const { return FUseYOrigin; }
  void SetUseYOrigin(bool v) { StoreAndInvalidate(*this, FUseYOrigin, v); }
  double YOrigin() const { return FYOrigin; }
  void SetYOrigin(double v) { StoreAndInvalidate(*this, FYOrigin, v); }
  TChartBrush* BarBrush() const { return Brush(); }
  TChartPen* BarPen() const { return Pen(); }

  // drawing state of the current pass
  std::int32_t BarWidth() const { return FBarWidth; }
  std::int32_t NumBars() const { return FNumBars; }
  std::int32_t BarIndex() const { return FBarIndex; }
  std::int32_t MaxBarPoints() const { return FMaxBarPoints; }
  std::int32_t PrecedingPoints() const { return FPrecedingPoints; }
  const TRect& BarBounds() const { return FBarBounds; }

  // events
  TGetBarStyleEvent OnGetBarStyle;

  // operations
  TBarStyle BarStyleOf(int valueIndex);
  // The pixel where the bar of a point starts (its origin end).
  std::int32_t OriginPos(int valueIndex) const;
  // Recomputes the bar width from the axis and the points.
  void CalcBarWidth();

  // introduced virtual
  // The value a point's bar starts from: the sum below it when stacked, else YOrigin.
  virtual double PointOrigin(int valueIndex, bool sumAll) const;
  // Whether the gallery's sub-styles include the stacking modes.
  virtual bool SubStylesIncludeStacking() const { return true; }
  // Draws the bar of a point in its bounds (BarBounds, ends ordered).
  virtual void DrawBar(int valueIndex, std::int32_t start, std::int32_t end);

  // overrides
  void Assign(const classlib::TPersistent& source) override;
  std::string EditorClassName() const override { return "TBarSeriesEditor"; }
  void SetParentChart(TCustomAxisPanel* chart) override;
  void DoBeforeDrawChart() override;
  void DoBeforeDrawValues() override;
  void CalcZOrder() override;
  bool MoreSameZOrder() const override;
  void ListSubStyles(const std::function<void(const std::string&)>& callback) override;
  void DrawLegendShape(int valueIndex, const TRect& rect) override;
  void PrepareLegendCanvas(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) override;
  void ApplySubStyle(int subStyle) override;
  int Clicked(std::int32_t x, std::int32_t y) override;
  void CalcHorizMargins(std::int32_t& left, std::int32_t& right) override;
  void CalcVerticalMargins(std::int32_t& top, std::int32_t& bottom) override;
  void DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) override;
  void DrawValue(int valueIndex) override;
  double MaxXValue() const override;
  double MaxYValue() const override;
  double MinXValue() const override;
  double MinYValue() const override;
  std::int32_t CalcXPos(int valueIndex) const override;
  std::int32_t CalcYPos(int valueIndex) const override;
  bool DrawSeriesForward() const override;
  void AddSampleValues(int numValues) override;
  int DefaultSampleCount() const override;
  void PrepareForGallery(bool enabled) override;

 protected:
  std::int32_t FCustomBarSize = 0;

 private:
  TChartAxis* PositionAxis() const { return YMandatory() ? GetHorizAxis() : GetVertAxis(); }
  TChartAxis* ValueAxis() const { return YMandatory() ? GetVertAxis() : GetHorizAxis(); }
  std::int32_t SlotPos(int valueIndex) const;
  std::int32_t ValueEnd(int valueIndex) const;
  std::int32_t StackedPixel(int valueIndex, double value) const;
  double ValueMax(double inherited) const;
  double ValueMin(double inherited) const;
  int IndexInChart() const;
  bool ClickedBar(int valueIndex, const TPoint& p);
  void BarRect(int valueIndex, TRect& r, std::int32_t& start, std::int32_t& end, bool& upward);
  std::int32_t MarkSize();

  bool FAutoBarSize = false;
  bool FAutoMarkPosition = true;
  TBarStyle FBarStyle = bsRectangle;
  std::int32_t FBarWidthPercent = 70;
  std::int32_t FBevelSize = 1;
  bool FDark3D = true;
  std::unique_ptr<TBarSeriesGradient> FGradient;
  TMultiBar FMultiBar = mbSide;
  std::int32_t FOffsetPercent = 0;
  bool FSideMargins = true;
  std::int32_t FStackGroup = 0;
  bool FUseYOrigin = true;
  double FYOrigin = 0;
  TRect FBarBounds;
  std::int32_t FNumBars = 1, FMaxBarPoints = -1, FBarIndex = 1, FPrecedingPoints = 0, FBarWidth = 0;
  TColor FBarColor = clDefault;
};

class TBarSeries : public TCustomBarSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TBarSeries(classlib::TComponent* owner = nullptr);
  std::int32_t CustomBarWidth() const { return FCustomBarSize; }
  void SetCustomBarWidth(std::int32_t v) { StoreAndInvalidate(*this, FCustomBarSize, v); }
};

class THorizBarSeries : public TCustomBarSeries {
  ORVEL_CLASS_INFO
 public:
  explicit THorizBarSeries(classlib::TComponent* owner = nullptr);
  std::int32_t CustomBarHeight() const { return FCustomBarSize; }
  void SetCustomBarHeight(std::int32_t v) { StoreAndInvalidate(*this, FCustomBarSize, v); }
};

}  // namespace chart

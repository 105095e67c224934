// One axis of a chart: its range (automatic or set), logarithmic mode and
// pixel span, the conversions between values and pixels, the label texts and
// their placing, the ticks, grid and minor marks, scrolling, and the custom
// label items, title and grid pen that belong to it.
//
// Tested by: chart/tests/ChartAxisTest.cpp, chart/tests/AxisDrawTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/KivPanel.h"
#include "chart/core/AxisScale.h"
#include "chart/core/KivStyles.h"
#include "chart/core/StoreAndInvalidate.h"
#include "platform/classlib/Collections.h"

namespace chart {

class TChartAxis;
class TChartSeries;
class TCustomAxisPanel;

// The grid pen of an axis: a dotted grey pen with the depth at which its
// lines along the walls start.
class TAxisGridPen : public TDottedGrayPen {
  ORVEL_CLASS_INFO
 public:
  explicit TAxisGridPen(TNotifyEvent onChange = {});
  double ZPosition() const { return FZPosition; }
  void SetZPosition(double v);
  bool Centered() const { return FCentered; }
  void SetCentered(bool v);
  void InitZPosition(double v) { FZPosition = FDefaultZPosition = v; }
  double DefaultZPosition() const { return FDefaultZPosition; }
  void Assign(const classlib::TPersistent& source) override;

 private:
  double FZPosition = 0;
  double FDefaultZPosition = 0;
  bool FCentered = false;
};

class TChartAxisTitle : public TKivCustomShape {
  ORVEL_CLASS_INFO
 public:
  explicit TChartAxisTitle(TCustomKivPanel* parent = nullptr);
  std::int32_t Angle() const { return FAngle; }
  void SetAngle(std::int32_t v);
  void InitAngle(std::int32_t v) { FAngle = FDefaultAngle = v; }
  std::int32_t DefaultAngle() const { return FDefaultAngle; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& v);
  void Assign(const classlib::TPersistent& source) override;

 private:
  std::int32_t FAngle = 0;
  std::int32_t FDefaultAngle = 0;
  std::string FCaption;
};

class TAxisItems;

// A custom label of an axis: its own text at a value.
class TAxisItem : public TKivCustomShape {
  ORVEL_CLASS_INFO
 public:
  explicit TAxisItem(TAxisItems* owner);
  double Value() const { return FValue; }
  void SetValue(double v);
  const std::string& Text() const { return FText; }
  void SetText(const std::string& v);

 private:
  TAxisItems* FOwner;
  double FValue = 0;
  std::string FText;
};

class TAxisItems {
 public:
  explicit TAxisItems(TChartAxis& axis);
  ~TAxisItems();
  TKivShape* Format() const { return FFormat.get(); }
  int Count() const { return static_cast<int>(FItems.size()); }
  TAxisItem* operator[](int index) const { return FItems[static_cast<std::size_t>(index)].get(); }
  TAxisItem* Add(double value);
  TAxisItem* Add(double value, const std::string& text);
  void Clear();
  void Assign(const TAxisItems& other);
  TChartAxis& Axis() const { return FAxis; }

 private:
  TChartAxis& FAxis;
  std::unique_ptr<TKivShape> FFormat;
  std::vector<std::unique_ptr<TAxisItem>> FItems;
};

enum TAxisLabelStyle : std::uint8_t { talAuto, talNone, talValue, talMark, talText };
enum TAxisLabelAlign : std::uint8_t { alDefault, alOpposite };

using TAxisDrawHook = std::function<void(TChartAxis& axis)>;

class TChartAxis : public classlib::TCollectionItem {
  ORVEL_CLASS_INFO
 public:
  // Joins the chart's axes list; beyond the five standard axes also its custom axes.
  explicit TChartAxis(TCustomAxisPanel* chart);
  ~TChartAxis() override;

  // properties: range
  bool Automatic() const { return FAutomatic; }
  void SetAutomatic(bool v);
  bool AutomaticMaximum() const { return FAutomaticMaximum; }
  void SetAutomaticMaximum(bool v);
  bool AutomaticMinimum() const { return FAutomaticMinimum; }
  void SetAutomaticMinimum(bool v);
  double Maximum() const { return FMaximum; }
  void SetMaximum(double v);
  double Minimum() const { return FMinimum; }
  void SetMinimum(double v);
  std::int32_t MaximumOffset() const { return FMaximumOffset; }
  void SetMaximumOffset(std::int32_t v) { StoreAndInvalidate(*this, FMaximumOffset, v); }
  std::int32_t MinimumOffset() const { return FMinimumOffset; }
  void SetMinimumOffset(std::int32_t v) { StoreAndInvalidate(*this, FMinimumOffset, v); }
  double Increment() const { return FIncrement; }
  void SetIncrement(double v);
  bool Inverted() const { return FScale.Inverted; }
  void SetInverted(bool v);
  bool Logarithmic() const { return FLogarithmic; }
  void SetLogarithmic(bool v);
  double LogarithmicBase() const { return FLogarithmicBase; }
  void SetLogarithmicBase(double v);
  bool Horizontal() const { return FHorizontal; }
  void SetHorizontal(bool v);
  bool OtherSide() const { return FOtherSide; }
  void SetOtherSide(bool v) { StoreAndInvalidate(*this, FOtherSide, v); }
  double StartPosition() const { return FStartPosition; }
  void SetStartPosition(double v) { StoreAndInvalidate(*this, FStartPosition, v); }
  double EndPosition() const { return FEndPosition; }
  void SetEndPosition(double v) { StoreAndInvalidate(*this, FEndPosition, v); }
  double PositionPercent() const { return FPositionPercent; }
  void SetPositionPercent(double v) { StoreAndInvalidate(*this, FPositionPercent, v); }
  TKivUnits PositionUnits() const { return FPositionUnits; }
  void SetPositionUnits(TKivUnits v) { StoreAndInvalidate(*this, FPositionUnits, v); }
  double ZPosition() const { return FZPosition; }
  void SetZPosition(double v) { StoreAndInvalidate(*this, FZPosition, v); }
  bool Visible() const { return FVisible; }
  void SetVisible(bool v) { StoreAndInvalidate(*this, FVisible, v); }

  // properties: labels
  const std::string& AxisValuesFormat() const { return FAxisValuesFormat; }
  void SetAxisValuesFormat(const std::string& v) { StoreAndInvalidate(*this, FAxisValuesFormat, v); }
  const std::string& DateTimeFormat() const { return FDateTimeFormat; }
  void SetDateTimeFormat(const std::string& v) { StoreAndInvalidate(*this, FDateTimeFormat, v); }
  bool ExactDateTime() const { return FExactDateTime; }
  void SetExactDateTime(bool v) { StoreAndInvalidate(*this, FExactDateTime, v); }
  bool Labels() const;
  void SetLabels(bool v);
  TAxisLabelAlign LabelsAlign() const { return FLabelsAlign; }
  void SetLabelsAlign(TAxisLabelAlign v) { StoreAndInvalidate(*this, FLabelsAlign, v); }
  std::int32_t LabelsAngle() const { return FLabelsAngle; }
  void SetLabelsAngle(std::int32_t v);
  bool LabelsExponent() const { return FLabelsExponent; }
  void SetLabelsExponent(bool v) { StoreAndInvalidate(*this, FLabelsExponent, v); }
  bool LabelsMultiLine() const { return FLabelsMultiLine; }
  void SetLabelsMultiLine(bool v) { StoreAndInvalidate(*this, FLabelsMultiLine, v); }
  TKivFont* LabelsFont() const { return FLabelsFont.get(); }
  bool LabelsOnAxis() const { return FLabelsOnAxis; }
  void SetLabelsOnAxis(bool v) { StoreAndInvalidate(*this, FLabelsOnAxis, v); }
  std::int32_t LabelsSeparation() const { return FLabelsSeparation; }
  void SetLabelsSeparation(std::int32_t v);
  std::int32_t LabelsSize() const { return FLabelsSize; }
  void SetLabelsSize(std::int32_t v) { StoreAndInvalidate(*this, FLabelsSize, v); }
  TAxisLabelStyle LabelStyle() const { return FLabelStyle; }
  void SetLabelStyle(TAxisLabelStyle v) { StoreAndInvalidate(*this, FLabelStyle, v); }
  bool RoundFirstLabel() const { return FRoundFirstLabel; }
  void SetRoundFirstLabel(bool v) { StoreAndInvalidate(*this, FRoundFirstLabel, v); }
  TAxisItems* Items() const { return FItems.get(); }

  // properties: pens, ticks and title
  TChartAxisPen* Axis() const { return FAxisPen.get(); }
  TAxisGridPen* Grid() const { return FGrid.get(); }
  bool GridCentered() const { return FGrid->Centered(); }
  void SetGridCentered(bool v) { FGrid->SetCentered(v); }
  TChartHiddenPen* MinorGrid() const { return FMinorGrid.get(); }
  std::int32_t MinorTickCount() const { return FMinorTickCount; }
  void SetMinorTickCount(std::int32_t v) { StoreAndInvalidate(*this, FMinorTickCount, v); }
  std::int32_t MinorTickLength() const { return FMinorTickLength; }
  void SetMinorTickLength(std::int32_t v) { StoreAndInvalidate(*this, FMinorTickLength, v); }
  TDarkGrayPen* MinorTicks() const { return FMinorTicks.get(); }
  std::int32_t TickInnerLength() const { return FTickInnerLength; }
  void SetTickInnerLength(std::int32_t v) { StoreAndInvalidate(*this, FTickInnerLength, v); }
  std::int32_t TickLength() const { return FTickLength; }
  void SetTickLength(std::int32_t v) { StoreAndInvalidate(*this, FTickLength, v); }
  TDarkGrayPen* Ticks() const { return FTicks.get(); }
  TDarkGrayPen* TicksInner() const { return FTicksInner.get(); }
  bool TickOnLabelsOnly() const { return FTickOnLabelsOnly; }
  void SetTickOnLabelsOnly(bool v) { StoreAndInvalidate(*this, FTickOnLabelsOnly, v); }
  TChartAxisTitle* Title() const { return FTitle.get(); }
  std::int32_t TitleSize() const { return FTitleSize; }
  void SetTitleSize(std::int32_t v) { StoreAndInvalidate(*this, FTitleSize, v); }

  // properties: state
  TCustomAxisPanel* ParentChart() const { return FChart; }
  bool IsDepthAxis() const { return FScale.IsDepthAxis; }
  void SetDepthAxis(bool v) { FScale.IsDepthAxis = v; }
  bool IsDateTime() const { return FIsDateTime; }
  bool IsCustom() const;
  const TAxisScale& Scale() const { return FScale; }
  double IMinimum() const { return FScale.IMinimum; }
  double IMaximum() const { return FScale.IMaximum; }
  double IRange() const { return FScale.IRange; }
  std::int32_t IStartPos() const { return FScale.IStartPos; }
  std::int32_t IEndPos() const { return FScale.IEndPos; }
  std::int32_t IAxisSize() const { return FScale.IAxisSize; }
  std::int32_t ICenterPos() const { return FScale.ICenterPos; }
  std::int32_t PosAxis() const { return FPosAxis; }
  std::int32_t PosLabels() const { return FPosLabels; }
  std::int32_t PosTitle() const { return FPosTitle; }
  std::int32_t IZPos() const { return FZPos; }
  // Pixel positions of this pass' ticks, in the order recorded.
  const std::vector<std::int32_t>& Tick() const { return FTicks_; }
  // Called by every Draw after the axis line and outer ticks, before the grid.
  TAxisDrawHook BeforeDrawGrid;
  // Set by the chart while it draws the axis again over a side wall.
  bool RedrawnOverWall = false;

  // Marks the chart's picture stale.
  void Invalidate() const;

  // operations: range and conversions
  void SetMinMax(double minimum, double maximum);
  // The range the axis takes from its data: the chart's data range of the
  // active series on it for each automatic end, the set end otherwise.
  void CalcMinMax(double& minimum, double& maximum) const;
  void AdjustMaxMin();
  void AdjustMaxMinRect(const TRect& rect);
  void InternalCalcPositions();
  void ApplyMargins(std::int32_t lowMargin, std::int32_t highMargin);
  std::int32_t CalcXPosValue(double value) const { return FScale.CalcXPosValue(value); }
  std::int32_t CalcYPosValue(double value) const { return FScale.CalcYPosValue(value); }
  std::int32_t CalcPosValue(double value) const { return FScale.CalcPosValue(value); }
  std::int32_t CalcSizeValue(double value) const { return FScale.CalcSizeValue(value); }
  double CalcPosPoint(std::int32_t pixel) const { return FScale.CalcPosPoint(pixel); }
  double CalcIncrement();
  virtual TAxisLabelStyle CalcLabelStyle() const;
  bool Clicked(std::int32_t x, std::int32_t y);
  void Scroll(double offset, bool checkLimits);
  void RefreshDateTimeFlag();

  // operations: labels and drawing
  std::string LabelValue(double value) const;
  std::int32_t MaxLabelsWidth();
  std::int32_t LabelWidth(const std::string& text);
  std::int32_t LabelHeight(const std::string& text);
  void CalcRect(TRect& rect, bool inside);
  void Draw(bool calcPosition);
  void DrawAxisLabel(std::int32_t x, std::int32_t y, std::int32_t angle, const std::string& text,
                     TKivCustomShape* item = nullptr);
  // The line count of a label text and its lines.
  static int LabelLineCount(const std::string& text);
  static std::vector<std::string> LabelLines(const std::string& text);

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  bool ChartLoading() const;
  void RecordTick(std::int32_t pixel) { FTicks_.push_back(pixel); }
  void DrawValueLabels(double increment, int stepIndex);
  void DrawLogLabels();
  void DrawSeriesLabels(TAxisLabelStyle style);
  void DrawDepthTextLabels();
  void DrawItemLabels();
  void DrawOneLabel(double value);
  void DrawTicksAndGrid();
  void DrawAxisLine(std::int32_t w);
  void DrawTick(std::int32_t p, std::int32_t offset, std::int32_t length, std::int32_t w);
  void DrawGridLine(std::int32_t p);
  void DrawMinorMarks(bool grid, std::int32_t w);
  void DrawLabelLine(std::int32_t x, std::int32_t y, const std::string& line);
  std::int32_t InwardMove(std::int32_t size) const;
  std::int32_t SizeTickAxis() const;
  std::int32_t SizeLabels();
  std::int32_t SizeTitle();

  TCustomAxisPanel* FChart;
  TAxisScale FScale;
  bool FAutomatic = true, FAutomaticMaximum = true, FAutomaticMinimum = true;
  double FMaximum = 0, FMinimum = 0;
  std::int32_t FMaximumOffset = 0, FMinimumOffset = 0;
  double FIncrement = 0;
  bool FLogarithmic = false;
  double FLogarithmicBase = 10;
  bool FHorizontal = true;
  bool FOtherSide = false;
  double FStartPosition = 0, FEndPosition = 100;
  double FPositionPercent = 0;
  TKivUnits FPositionUnits = muPercent;
  double FZPosition = 0;
  bool FVisible = true;
  std::string FAxisValuesFormat;
  std::string FDateTimeFormat;
  bool FExactDateTime = true;
  TAxisLabelAlign FLabelsAlign = alDefault;
  std::int32_t FLabelsAngle = 0;
  bool FLabelsExponent = false, FLabelsMultiLine = false;
  std::unique_ptr<TKivFont> FLabelsFont;
  bool FLabelsOnAxis = true;
  std::int32_t FLabelsSeparation = 10;
  std::int32_t FLabelsSize = 0;
  TAxisLabelStyle FLabelStyle = talAuto;
  bool FRoundFirstLabel = true;
  std::unique_ptr<TAxisItems> FItems;
  std::unique_ptr<TChartAxisPen> FAxisPen;
  std::unique_ptr<TAxisGridPen> FGrid;
  std::unique_ptr<TChartHiddenPen> FMinorGrid;
  std::int32_t FMinorTickCount = 3, FMinorTickLength = 2;
  std::unique_ptr<TDarkGrayPen> FMinorTicks;
  std::int32_t FTickInnerLength = 0, FTickLength = 4;
  std::unique_ptr<TDarkGrayPen> FTicks, FTicksInner;
  bool FTickOnLabelsOnly = true;
  std::unique_ptr<TChartAxisTitle> FTitle;
  std::int32_t FTitleSize = 0;
  bool FIsDateTime = false;
  std::int32_t FPosAxis = 0, FPosLabels = 0, FPosTitle = 0, FZPos = 0;
  std::vector<std::int32_t> FTicks_;
  double FLabelIncrement = 0;
  bool FMeasuring = false;
};

class TChartDepthAxis : public TChartAxis {
  ORVEL_CLASS_INFO
 public:
  explicit TChartDepthAxis(TCustomAxisPanel* chart);
  TAxisLabelStyle CalcLabelStyle() const override;
};

// The user-added axes of a chart (also in its axes list), a collection of the
// class library, so the stream writes them as the chart's "CustomAxes".
class TChartCustomAxes : public classlib::TCollection {
  ORVEL_CLASS_INFO
 public:
  explicit TChartCustomAxes(TCustomAxisPanel& chart);
  TChartAxis* Items(int index) const;
  // A new custom axis (the chart's axes list holds it too).
  TChartAxis* Add();
  int IndexOf(const TChartAxis* axis) const;
  TCustomAxisPanel& Chart() const { return FChart; }

 protected:
  classlib::TCollectionItem* CreateItem() override;

 private:
  TCustomAxisPanel& FChart;
};

}  // namespace chart

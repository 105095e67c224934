// The series kinds that join their points by a line or mark them with a
// pointer: the common base (line pen; pointer, stairs, stacking, outline and
// area strip; the drawing of one value in 2D and 3D and the click test), and
// the line, horizontal line and point kinds that fix its switches.
//
// Tested by: chart/tests/LineSeriesTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/core/StoreAndInvalidate.h"
#include "chart/series/SeriesData.h"
#include "chart/series/SeriesPointer.h"

namespace chart {

enum TCustomSeriesStack : std::uint8_t { cssNone, cssOverlap, cssStack, cssStack100 };

class TCustomSeries;
using TSeriesClickPointerEvent =
    std::function<void(TCustomSeries& sender, int valueIndex, std::int32_t x, std::int32_t y)>;
using TOnGetPointerStyle = std::function<TSeriesPointerStyle(TCustomSeries& sender, int valueIndex)>;

// The base of every kind drawn with a line pen.
class TCustomLineSeries : public TChartSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TCustomLineSeries(classlib::TComponent* owner = nullptr) : TChartSeries(owner) {}

  // properties
  TChartPen* LinePen() const { return Pen(); }
  void SetLinePen(const TChartPen& v) { SetPen(v); }
};

class TCustomSeries : public TCustomLineSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TCustomSeries(classlib::TComponent* owner = nullptr);
  ~TCustomSeries() override;

  // properties
  TChartBrush* AreaChartBrush() const { return FAreaBrush.get(); }
  void SetAreaChartBrush(const TChartBrush& v) { FAreaBrush->Assign(v); }
  TBrushStyle AreaBrush() const { return FAreaBrush->Style(); }
  void SetAreaBrush(TBrushStyle v) { FAreaBrush->SetStyle(v); }
  TColor AreaColor() const { return FAreaColor; }
  void SetAreaColor(TColor v) { StoreAndInvalidate(*this, FAreaColor, v); }
  TChartHiddenPen* AreaLinesPen() const { return FAreaLinesPen.get(); }
  void SetAreaLinesPen(const TChartPen& v) { FAreaLinesPen->Assign(v); }
  bool ClickableLine() const { return FClickableLine; }
  void SetClickableLine(bool v) { StoreAndInvalidate(*this, FClickableLine, v); }
  bool ColorEachLine() const { return FColorEachLine; }
  void SetColorEachLine(bool v) { StoreAndInvalidate(*this, FColorEachLine, v); }
  bool Dark3D() const { return FDark3D; }
  void SetDark3D(bool v) { StoreAndInvalidate(*this, FDark3D, v); }
  bool DrawArea() const { return FDrawArea; }
  void SetDrawArea(bool v) { StoreAndInvalidate(*this, FDrawArea, v); }
  bool DrawLine() const { return FDrawLine; }
  void SetDrawLine(bool v) { StoreAndInvalidate(*this, FDrawLine, v); }
  bool InvertedStairs() const { return FInvertedStairs; }
  void SetInvertedStairs(bool v) { StoreAndInvalidate(*this, FInvertedStairs, v); }
  std::int32_t LineHeight() const { return FLineHeight; }
  void SetLineHeight(std::int32_t v) { StoreAndInvalidate(*this, FLineHeight, v); }
  // The line's fill style in 3D (the element brush's style).
  TBrushStyle LineBrush() const { return Brush()->Style(); }
  void SetLineBrush(TBrushStyle v) { Brush()->SetStyle(v); }
  TChartHiddenPen* OutLine() const { return FOutLine.get(); }
  void SetOutLine(const TChartPen& v) { FOutLine->Assign(v); }
  TSeriesPointer* Pointer() const { return FPointer.get(); }
  void SetPointer(const TSeriesPointer& v) { FPointer->Assign(v); }
  TCustomSeriesStack Stacked() const { return FStacked; }
  // Also sets every series of the chart of this class or a class derived from it.
  void SetStacked(TCustomSeriesStack v);
  bool Stairs() const { return FStairs; }
  void SetStairs(bool v) { StoreAndInvalidate(*this, FStairs, v); }
  TKivTransparency Transparency() const { return FTransparency; }
  void SetTransparency(TKivTransparency v) { StoreAndInvalidate(*this, FTransparency, v); }
  TKivGradient* Gradient() const { return FGradient.get(); }
  void SetGradient(const TKivGradient& v) { FGradient->Assign(v); }

  // events
  TSeriesClickPointerEvent OnClickPointer;
  TOnGetPointerStyle OnGetPointerStyle;

  // operations
  // The pointer style of a point: the event's answer when assigned, else the pointer's.
  TSeriesPointerStyle PointerStyleOf(int valueIndex);
  // The colour the area strip of a point is filled with.
  TColor AreaColorOf(int valueIndex) const;
  // Sum of the values at index of the earlier stacked series (this one too when includeSelf).
  double PointOrigin(int valueIndex, bool includeSelf) const;

  // introduced virtual
  virtual bool ClickedPointer(int valueIndex, std::int32_t px, std::int32_t py, std::int32_t x, std::int32_t y);
  virtual void DrawPointer(std::int32_t x, std::int32_t y, TColor color, int valueIndex);
  virtual std::int32_t GetOriginPos(int valueIndex) const;

  // overrides
  void Assign(const classlib::TPersistent& source) override;
  std::string EditorClassName() const override { return "TCustomSeriesEditor"; }
  void SetParentChart(TCustomAxisPanel* chart) override;
  void CalcHorizMargins(std::int32_t& left, std::int32_t& right) override;
  void CalcVerticalMargins(std::int32_t& top, std::int32_t& bottom) override;
  void CalcZOrder() override;
  void DrawAllValues() override;
  void DrawLegendShape(int valueIndex, const TRect& rect) override;
  void DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) override;
  void DrawValue(int valueIndex) override;
  double MaxXValue() const override;
  double MaxYValue() const override;
  double MinXValue() const override;
  double MinYValue() const override;
  std::int32_t CalcXPos(int valueIndex) const override;
  std::int32_t CalcYPos(int valueIndex) const override;
  int Clicked(std::int32_t x, std::int32_t y) override;

 protected:
  // The value axis: vertical for vertical kinds, horizontal for horizontal ones.
  TChartAxis* ValueAxis() const { return YMandatory() ? GetVertAxis() : GetHorizAxis(); }
  // The pixel of a stacked total on the value axis.
  std::int32_t StackedPos(int valueIndex, double value) const;
  std::int32_t ValueAxisEnd() const;

  // The pass of a plain 2D line in one call to the surface: the segments the
  // point-by-point road draws, in its order and with its pen, where they all
  // take the series' colour and nothing is drawn between them (no pointers,
  // stairs, area, outline, depth, stacking or null points). False, having
  // drawn nothing, for any other line.
  bool DrawLineInOneCall();

  // Drawing state of the current pass.
  std::int32_t FBottomPos = 0, FOldBottomPos = 0, FOldX = 0, FOldY = 0;
  TColor FOldColor = clNone;
  double FDarkRatio = 1.0;

 private:
  void DrawSegment(int valueIndex, std::int32_t x, std::int32_t y, TColor color);
  void DrawLineSegment(int valueIndex, std::int32_t x, std::int32_t y, TColor color, bool last);
  void DrawAreaStrip(std::int32_t x, std::int32_t y, TColor color);
  void EnterFromPrevious(int valueIndex, std::int32_t x, std::int32_t y);
  bool ClickedSegment(int valueIndex, const TPoint& from, const TPoint& to, std::int32_t x, std::int32_t y);

  std::unique_ptr<TChartBrush> FAreaBrush;
  TColor FAreaColor = clDefault;
  std::unique_ptr<TChartHiddenPen> FAreaLinesPen;
  bool FClickableLine = true;
  bool FColorEachLine = true;
  bool FDark3D = true;
  bool FDrawArea = false;
  bool FDrawLine = false;
  bool FInvertedStairs = false;
  std::int32_t FLineHeight = 0;
  std::unique_ptr<TChartHiddenPen> FOutLine;
  std::unique_ptr<TSeriesPointer> FPointer;
  TCustomSeriesStack FStacked = cssNone;
  bool FStairs = false;
  TKivTransparency FTransparency = 0;
  std::unique_ptr<TKivGradient> FGradient;
  // Set while the outline is drawn under the line: only lines, in the outline's colour.
  bool FOutlinePass = false;
  // Reused between passes: the vertices of a line drawn in one call.
  std::vector<TPoint> FLinePoints;
};

class TLineSeries : public TCustomSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TLineSeries(classlib::TComponent* owner = nullptr);

  void Assign(const classlib::TPersistent& source) override;
  void ListSubStyles(const std::function<void(const std::string&)>& callback) override;
  void PrepareLegendCanvas(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) override;
  void ApplySubStyle(int subStyle) override;
  void DrawAllValues() override;

 protected:
  // Whether a pass may draw a plain line in one call. A kind of its own keeps
  // the point-by-point road, which calls its DrawValue for every point: only
  // the line kinds here take the other.
  virtual bool DrawsLineInOneCall() const;
};

// A line series whose values run along the vertical axis, drawn in stored order.
class THorizLineSeries : public TLineSeries {
  ORVEL_CLASS_INFO
 public:
  explicit THorizLineSeries(classlib::TComponent* owner = nullptr);
};

class TPointSeries : public TCustomSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TPointSeries(classlib::TComponent* owner = nullptr);

  // introduced virtual
  // Whether the gallery's sub-styles include the pointer styles.
  virtual bool SubStylesIncludePointerStyles() const { return true; }

  // overrides
  void Assign(const classlib::TPersistent& source) override;
  std::string EditorClassName() const override { return "TSeriesPointerEditor"; }
  void ListSubStyles(const std::function<void(const std::string&)>& callback) override;
  void SetColorEachPoint(bool v) override;
  void ApplySubStyle(int subStyle) override;
  void PrepareForGallery(bool enabled);

 private:
  void ApplyPointKind();
};

}  // namespace chart

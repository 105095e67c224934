// The marker a point-style series draws at each point, flat or as a 3D
// solid; the callout (an arrow from a point to a label) built on it; and the
// callout of series marks.
//
// Tested by: chart/tests/SeriesPointerTest.cpp
#pragma once

#include <cstdint>
#include <memory>

#include "chart/KivPanel.h"
#include "chart/core/StoreAndInvalidate.h"

namespace chart {

class TCustomChartSeries;

enum TSeriesPointerStyle : std::uint8_t {
  psRectangle, psCircle, psTriangle, psDownTriangle, psCross, psDiagCross, psStar, psDiamond,
  psSmallDot, psNothing, psLeftTriangle, psRightTriangle
};

class TSeriesPointer : public TKivCustomShapeBrushPen {
  ORVEL_CLASS_INFO
 public:
  explicit TSeriesPointer(TCustomChartSeries* series = nullptr);
  ~TSeriesPointer() override;

  // properties
  bool Dark3D() const { return FDark3D; }
  void SetDark3D(bool v) { StoreAndInvalidate(*this, FDark3D, v); }
  bool Draw3D() const { return FDraw3D; }
  void SetDraw3D(bool v) { StoreAndInvalidate(*this, FDraw3D, v); }
  // Callouts start flat: their stored default.
  bool DefaultDraw3D() const { return FDefaultDraw3D; }
  // Created on first read.
  TKivGradient* Gradient() const;
  bool HasGradient() const { return FGradient != nullptr; }
  std::int32_t HorizSize() const { return FHorizSize; }
  void SetHorizSize(std::int32_t v);
  std::int32_t VertSize() const { return FVertSize; }
  void SetVertSize(std::int32_t v);
  bool InflateMargins() const { return FInflateMargins; }
  void SetInflateMargins(bool v) { StoreAndInvalidate(*this, FInflateMargins, v); }
  TSeriesPointerStyle Style() const { return FStyle; }
  void SetStyle(TSeriesPointerStyle v) { StoreAndInvalidate(*this, FStyle, v); }
  TColor Color() const { return Brush()->Color(); }
  void SetColor(TColor v) { Brush()->SetColor(v); }
  TCustomChartSeries* Series() const { return FSeries; }
  void SetSeries(TCustomChartSeries* s) { FSeries = s; }
  // Whether the sizes may be changed by the user (a kind that sizes its
  // pointers from its data says no); the editors hide the sizes then.
  bool AllowChangeSize() const { return FAllowChangeSize; }
  void SetAllowChangeSize(bool v) { FAllowChangeSize = v; }

  // operations
  void CalcHorizMargins(std::int32_t& left, std::int32_t& right) const;
  void CalcVerticalMargins(std::int32_t& top, std::int32_t& bottom) const;
  void PrepareCanvas(TCanvas3D& canvas, TColor pointColor);
  // Draws at (x, y) on the series' chart, in 3D when the chart is.
  void DrawPointer(std::int32_t x, std::int32_t y, TColor color, TSeriesPointerStyle style);
  void Draw(TCanvas3D& canvas, bool is3D, std::int32_t x, std::int32_t y, std::int32_t h, std::int32_t v,
            TColor color, TSeriesPointerStyle style);

  // introduced virtual
  // Whether the gradient's end colour follows the point colour.
  virtual bool GradientFollowsPoint() const { return true; }

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 protected:
  void DrawGradient(TCanvas3D& canvas, bool is3D, const TRect& box, TColor color, TSeriesPointerStyle style);

 protected:
  bool FDraw3D = true;
  bool FDefaultDraw3D = true;

 private:
  bool FDark3D = true;
  mutable std::unique_ptr<TKivGradient> FGradient;
  std::int32_t FHorizSize = 4, FVertSize = 4;
  bool FInflateMargins = true;
  bool FAllowChangeSize = true;
  TCustomChartSeries* FSeries;
  TSeriesPointerStyle FStyle = psRectangle;
};

enum TArrowHeadStyle : std::uint8_t { ahNone, ahLine, ahSolid };

class TCallout : public TSeriesPointer {
  ORVEL_CLASS_INFO
 public:
  explicit TCallout(TCustomChartSeries* series = nullptr);
  ~TCallout() override;

  TWhitePen* Arrow() const { return FArrow.get(); }
  void SetArrow(const TChartPen& v) { FArrow->Assign(v); }
  TArrowHeadStyle ArrowHead() const { return FArrowHead; }
  void SetArrowHead(TArrowHeadStyle v) { StoreAndInvalidate(*this, FArrowHead, v); }
  std::int32_t ArrowHeadSize() const { return FArrowHeadSize; }
  void SetArrowHeadSize(std::int32_t v) { StoreAndInvalidate(*this, FArrowHeadSize, v); }
  std::int32_t Distance() const { return FDistance; }
  void SetDistance(std::int32_t v) { StoreAndInvalidate(*this, FDistance, v); }

  // Draws the arrow from `from` to `to` in the point's colour, at depth z.
  void DrawCallout(TColor color, const TPoint& from, std::int32_t z, const TPoint& to);

  bool GradientFollowsPoint() const override { return false; }
  void Assign(const classlib::TPersistent& source) override;

 private:
  std::unique_ptr<TWhitePen> FArrow;
  TArrowHeadStyle FArrowHead = ahNone;
  std::int32_t FArrowHeadSize = 8;
  std::int32_t FDistance = 0;
};

class TMarksCallout : public TCallout {
  ORVEL_CLASS_INFO
 public:
  explicit TMarksCallout(TCustomChartSeries* series = nullptr);
  std::int32_t Length() const { return FLength; }
  void SetLength(std::int32_t v) { StoreAndInvalidate(*this, FLength, v); }
  void Assign(const classlib::TPersistent& source) override;

 private:
  std::int32_t FLength = 8;
};

}  // namespace chart

// The fast line: one polyline through every point, with the least work per
// point, and a point appended to a shown chart drawn as one segment when the
// chart is not to repaint.
//
// Drawing every point of a large series one line call at a time is what
// makes a chart slow, so the drawing reduces the points first: consecutive
// points that land in one pixel column become the first, the lowest, the
// highest and the last of them, joined in the order they came, which covers
// the same pixels. The one-line-per-point road stays for whatever the
// reduction is not proven equal to (see UseColumnReduction).
//
// Tested by: chart/tests/FastLineSeriesTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "chart/core/StoreAndInvalidate.h"
#include "chart/series/LineSeries.h"

namespace chart {

class TFastLineSeries : public TCustomLineSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TFastLineSeries(classlib::TComponent* owner = nullptr);

  // properties
  // Off: adding a point draws only its segment instead of repainting the chart.
  bool AutoRepaint() const { return FAutoRepaint; }
  void SetAutoRepaint(bool v) { FAutoRepaint = v; }
  bool DrawAllPoints() const { return FDrawAllPoints; }
  void SetDrawAllPoints(bool v) { StoreAndInvalidate(*this, FDrawAllPoints, v); }
  bool IgnoreNulls() const { return FIgnoreNulls; }
  void SetIgnoreNulls(bool v) { StoreAndInvalidate(*this, FIgnoreNulls, v); }
  bool InvertedStairs() const { return FInvertedStairs; }
  void SetInvertedStairs(bool v) { StoreAndInvalidate(*this, FInvertedStairs, v); }
  bool Stairs() const { return FStairs; }
  void SetStairs(bool v) { StoreAndInvalidate(*this, FStairs, v); }
  std::int32_t OldX() const { return FOldX; }
  std::int32_t OldY() const { return FOldY; }

  // overrides
  void Assign(const classlib::TPersistent& source) override;
  std::string EditorClassName() const override { return "TFastLineSeriesEditor"; }
  void SetPen(const TChartPen& v) override;
  void CalcHorizMargins(std::int32_t& left, std::int32_t& right) override;
  void CalcVerticalMargins(std::int32_t& top, std::int32_t& bottom) override;
  void ListSubStyles(const std::function<void(const std::string&)>& callback) override;
  void DrawAllValues() override;
  void DrawLegendShape(int valueIndex, const TRect& rect) override;
  void DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) override;
  void DrawValue(int valueIndex) override;
  void NotifyNewValue(int valueIndex) override;
  void PrepareLegendCanvas(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) override;
  void SetSeriesColor(TColor v) override;
  void ApplySubStyle(int subStyle) override;
  int Clicked(std::int32_t x, std::int32_t y) override;

 protected:
  // Whether a pass draws through the column reduction; off, every point is
  // drawn by DrawValue, the road the tests compare the reduction with.
  virtual bool UseColumnReduction() const { return true; }

 private:
  TPoint PixelOf(int valueIndex) const;
  void PrepareCanvas();
  void MovePen(std::int32_t x, std::int32_t y);
  void LineToPen(std::int32_t x, std::int32_t y);
  void DrawReduced(int start, int last);

  bool FAutoRepaint = true;
  bool FDrawAllPoints = true;
  bool FIgnoreNulls = true;
  bool FInvertedStairs = false;
  bool FStairs = false;
  std::int32_t FOldX = 0, FOldY = 0;
  // After a null point (nulls not ignored) the line starts again at the next point.
  bool FBroken = false;
  // Reused between passes: the polyline of the reduced points.
  std::vector<TPoint> FPolyline;
};

}  // namespace chart

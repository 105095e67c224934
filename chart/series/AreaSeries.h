// Area series: the region between the line and an origin (the value axis'
// minimum end, a fixed origin, or the series stacked below) filled by the
// line base's area strips; vertical and horizontal.
//
// Tested by: chart/tests/AreaSeriesTest.cpp
#pragma once

#include "chart/core/StoreAndInvalidate.h"
#include "chart/series/LineSeries.h"

namespace chart {

enum TMultiArea : std::uint8_t { maNone, maStacked, maStacked100 };

class TAreaSeries : public TCustomSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TAreaSeries(classlib::TComponent* owner = nullptr);

  // properties
  bool UseYOrigin() const { return FUseYOrigin; }
  void SetUseYOrigin(bool v) { StoreAndInvalidate(*this, FUseYOrigin, v); }
  double YOrigin() const { return FYOrigin; }
  void SetYOrigin(double v) { StoreAndInvalidate(*this, FYOrigin, v); }
  // A view of Stacked: stack gives maStacked, stack 100 % maStacked100, the rest maNone.
  TMultiArea MultiArea() const;
  void SetMultiArea(TMultiArea v);

  // overrides
  void Assign(const classlib::TPersistent& source) override;
  std::string EditorClassName() const override { return "TAreaSeriesEditor"; }
  void ListSubStyles(const std::function<void(const std::string&)>& callback) override;
  void DrawLegendShape(int valueIndex, const TRect& rect) override;
  void PrepareLegendCanvas(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) override;
  void ApplySubStyle(int subStyle) override;
  double MaxXValue() const override;
  double MaxYValue() const override;
  double MinXValue() const override;
  double MinYValue() const override;
  bool DrawSeriesForward() const override;
  std::int32_t GetOriginPos(int valueIndex) const override;

 private:
  bool FUseYOrigin = false;
  double FYOrigin = 0;
};

class THorizAreaSeries : public TAreaSeries {
  ORVEL_CLASS_INFO
 public:
  explicit THorizAreaSeries(classlib::TComponent* owner = nullptr);

  void DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) override;
  int DefaultSampleCount() const override { return 10; }
};

}  // namespace chart

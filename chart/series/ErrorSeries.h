// Statistical series: error whiskers around each value (with or without a
// bar under them), and the high-low band: two value lines with the area
// between them filled by one brush where high is above low and another
// where it is not.
//
// Tested by: chart/tests/ErrorSeriesTest.cpp
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "chart/core/StoreAndInvalidate.h"
#include "chart/series/BarSeries.h"

namespace chart {

enum TErrorWidthUnits : std::uint8_t { ewuPercent, ewuPixels };
enum TErrorSeriesStyle : std::uint8_t { essLeft, essRight, essLeftRight, essTop, essBottom, essTopBottom };

class TCustomErrorSeries : public TBarSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TCustomErrorSeries(classlib::TComponent* owner = nullptr);
  ~TCustomErrorSeries() override;

  // properties
  TChartPen* ErrorPen() const { return FErrorPen.get(); }
  // Without bars the series takes the pen's colour.
  void SetErrorPen(const TChartPen& v);
  TChartValueList* ErrorValues() const { return FErrorValues; }
  std::int32_t ErrorWidth() const { return FErrorWidth; }
  void SetErrorWidth(std::int32_t v) { StoreAndInvalidate(*this, FErrorWidth, v); }
  TErrorWidthUnits ErrorWidthUnits() const { return FErrorWidthUnits; }
  void SetErrorWidthUnits(TErrorWidthUnits v) { StoreAndInvalidate(*this, FErrorWidthUnits, v); }
  TErrorSeriesStyle ErrorStyle() const { return FErrorStyle; }
  void SetErrorStyle(TErrorSeriesStyle v) { StoreAndInvalidate(*this, FErrorStyle, v); }
  bool DrawBars() const { return FDrawBar; }

  // operations
  int AddErrorBar(double x, double y, double error, const std::string& label = "", TColor color = clDefault);

  // overrides
  void Assign(const classlib::TPersistent& source) override;
  std::string EditorClassName() const override { return "TErrorSeriesEditor"; }
  void SetSeriesColor(TColor v) override;
  void DrawBar(int valueIndex, std::int32_t start, std::int32_t end) override;
  void DrawLegendShape(int valueIndex, const TRect& rect) override;
  double MaxYValue() const override;
  double MinYValue() const override;
  void CalcHorizMargins(std::int32_t& left, std::int32_t& right) override;
  void CalcVerticalMargins(std::int32_t& top, std::int32_t& bottom) override;
  bool SubStylesIncludeStacking() const override { return false; }
  void AddSampleValues(int numValues) override;
  void PrepareForGallery(bool enabled) override;

 protected:
  void InitDrawBar(bool v) { FDrawBar = v; }
  void DrawWhiskers(std::int32_t x, std::int32_t y, std::int32_t length, std::int32_t width, bool is3D);

 private:
  std::unique_ptr<TChartPen> FErrorPen;
  TChartValueList* FErrorValues;
  std::int32_t FErrorWidth = 100;
  TErrorWidthUnits FErrorWidthUnits = ewuPercent;
  TErrorSeriesStyle FErrorStyle = essTopBottom;
  bool FDrawBar = false;
};

class TErrorSeries : public TCustomErrorSeries {
  ORVEL_CLASS_INFO
 public:
  using TCustomErrorSeries::TCustomErrorSeries;
};

class TErrorBarSeries : public TCustomErrorSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TErrorBarSeries(classlib::TComponent* owner = nullptr);
  void PrepareForGallery(bool enabled) override;
};

class THighLowSeries : public TChartSeries {
  ORVEL_CLASS_INFO
 public:
  explicit THighLowSeries(classlib::TComponent* owner = nullptr);
  ~THighLowSeries() override;

  // properties
  TChartBrush* HighBrush() const { return Brush(); }
  TChartPen* HighPen() const { return FHighPen.get(); }
  TChartValueList* HighValues() const { return YValues(); }
  TChartBrush* LowBrush() const { return FLowBrush.get(); }
  TChartPen* LowPen() const { return FLowPen.get(); }
  TChartValueList* LowValues() const { return FLow; }
  TKivTransparency Transparency() const { return FTransparency; }
  void SetTransparency(TKivTransparency v) { StoreAndInvalidate(*this, FTransparency, v); }

  // operations
  int AddHighLow(double x, double high, double low);

  // overrides
  void Assign(const classlib::TPersistent& source) override;
  std::string EditorClassName() const override { return "THighLowEditor"; }
  void ListSubStyles(const std::function<void(const std::string&)>& callback) override;
  void ApplySubStyle(int subStyle) override;
  void DrawValue(int valueIndex) override;
  double MaxYValue() const override;
  double MinYValue() const override;
  bool IsValidSeriesSource(const TChartSeries& source) const override;
  void AddSampleValues(int numValues) override;

 private:
  std::unique_ptr<TChartPen> FHighPen, FLowPen;
  std::unique_ptr<TChartBrush> FLowBrush;
  TChartValueList* FLow;
  TKivTransparency FTransparency = 0;
  std::int32_t FOldX = 0, FOldHigh = 0, FOldLow = 0;
};

}  // namespace chart

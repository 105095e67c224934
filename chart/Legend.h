// The legend: the chart's series, or the values of one series, in a framed
// box beside, above or below the chart rectangle, with colour symbols,
// optional check boxes and up to two text columns per item.
//
// Tested by: chart/tests/LegendTest.cpp
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "chart/Titles.h"
#include "chart/core/StoreAndInvalidate.h"
#include "chart/series/SeriesData.h"

namespace chart {

class TCustomAxisPanel;

enum TLegendSymbolPosition : std::uint8_t { spLeft, spRight };
enum TLegendSymbolSize : std::uint8_t { lcsPercent, lcsPixels };
enum TLegendAlignment : std::uint8_t { laLeft, laRight, laTop, laBottom };
enum TLegendStyle : std::uint8_t { lsAuto, lsSeries, lsValues, lsLastValues };

class TCustomChartLegend;

class TLegendSymbol : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TLegendSymbol(TCustomChartLegend& legend);
  ~TLegendSymbol() override;
  bool Continuous() const { return FContinuous; }
  void SetContinuous(bool v);
  bool DefaultPen() const { return FDefaultPen; }
  void SetDefaultPen(bool v);
  TChartPen* Pen() const { return FPen.get(); }
  TLegendSymbolPosition Position() const { return FPosition; }
  void SetPosition(TLegendSymbolPosition v);
  bool Squared() const { return FSquared; }
  void SetSquared(bool v);
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  std::int32_t Width() const { return FWidth; }
  void SetWidth(std::int32_t v);
  TLegendSymbolSize WidthUnits() const { return FWidthUnits; }
  void SetWidthUnits(TLegendSymbolSize v);
  // The symbol's width in pixels beside texts of the given width.
  std::int32_t CalcWidth(std::int32_t textWidth, std::int32_t itemHeight) const;
  void Assign(const classlib::TPersistent& source) override;
  // Marks the legend's chart picture stale.
  void Invalidate() const;

 private:
  TCustomChartLegend& FLegend;
  bool FContinuous = false;
  bool FDefaultPen = true;
  std::unique_ptr<TChartPen> FPen;
  TLegendSymbolPosition FPosition = spLeft;
  bool FSquared = false;
  bool FVisible = true;
  std::int32_t FWidth = 20;
  TLegendSymbolSize FWidthUnits = lcsPercent;
};

class TChartLegendGradient : public TKivGradient {
  ORVEL_CLASS_INFO
 public:
  explicit TChartLegendGradient(TNotifyEvent onChange = {});
};

class TCustomChartLegend : public TKivCustomShapePosition {
  ORVEL_CLASS_INFO
 public:
  explicit TCustomChartLegend(TCustomAxisPanel* chart = nullptr);
  ~TCustomChartLegend() override;

  // properties
  TLegendAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TLegendAlignment v) { StoreAndInvalidate(*this, FAlignment, v); }
  bool CheckBoxes() const { return FCheckBoxes; }
  void SetCheckBoxes(bool v) { StoreAndInvalidate(*this, FCheckBoxes, v); }
  bool CurrentPage() const { return FCurrentPage; }
  void SetCurrentPage(bool v) { StoreAndInvalidate(*this, FCurrentPage, v); }
  TChartHiddenPen* DividingLines() const { return FDividingLines.get(); }
  std::int32_t FirstValue() const { return FFirstValue; }
  void SetFirstValue(std::int32_t v);
  bool FontSeriesColor() const { return FFontSeriesColor; }
  void SetFontSeriesColor(bool v) { StoreAndInvalidate(*this, FFontSeriesColor, v); }
  std::int32_t HorizMargin() const { return FHorizMargin; }
  void SetHorizMargin(std::int32_t v) { StoreAndInvalidate(*this, FHorizMargin, v); }
  bool Inverted() const { return FInverted; }
  void SetInverted(bool v) { StoreAndInvalidate(*this, FInverted, v); }
  TLegendStyle LegendStyle() const { return FLegendStyle; }
  void SetLegendStyle(TLegendStyle v) { StoreAndInvalidate(*this, FLegendStyle, v); }
  std::int32_t MaxNumRows() const { return FMaxNumRows; }
  void SetMaxNumRows(std::int32_t v) { StoreAndInvalidate(*this, FMaxNumRows, v); }
  bool ResizeChart() const { return FResizeChart; }
  void SetResizeChart(bool v) { StoreAndInvalidate(*this, FResizeChart, v); }
  TChartSeries* Series() const { return FSeries; }
  void SetSeries(TChartSeries* v) { StoreAndInvalidate(*this, FSeries, v); }
  TLegendSymbol* Symbol() const { return FSymbol.get(); }
  TLegendTextStyle TextStyle() const { return FTextStyle; }
  void SetTextStyle(TLegendTextStyle v) { StoreAndInvalidate(*this, FTextStyle, v); }
  std::int32_t TopPos() const { return FTopPos; }
  void SetTopPos(std::int32_t v) { StoreAndInvalidate(*this, FTopPos, v); }
  std::int32_t VertMargin() const { return FVertMargin; }
  void SetVertMargin(std::int32_t v) { StoreAndInvalidate(*this, FVertMargin, v); }
  std::int32_t VertSpacing() const { return FVertSpacing; }
  void SetVertSpacing(std::int32_t v) { StoreAndInvalidate(*this, FVertSpacing, v); }
  std::int32_t ColorWidth() const { return FSymbol->Width(); }
  void SetColorWidth(std::int32_t v) { FSymbol->SetWidth(v); }

  // layout of the last draw
  std::int32_t TotalItems() const { return FTotalItems; }
  std::int32_t LastValue() const { return FLastValue; }
  std::int32_t NumCols() const { return FNumCols; }
  std::int32_t NumRows() const { return FNumRows; }
  std::int32_t ItemHeight() const { return FItemHeight; }
  TLegendStyle ResolvedStyle() const;
  bool HasCheckBoxes() const { return FCheckBoxes && ResolvedStyle() != lsValues; }
  bool Vertical() const { return FAlignment == laLeft || FAlignment == laRight; }

  // operations
  // The item's text (before the split into columns).
  std::string ItemText(int index) const;
  int ItemCount() const;
  TChartSeries* LegendSeries() const;
  // The item under the point, or -1.
  int Clicked(std::int32_t x, std::int32_t y) const;
  // Check-box clicks toggle the series; true when the click was used.
  bool DoMouseDown(std::int32_t x, std::int32_t y);
  bool ShouldDraw() const;
  void DrawLegend();

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  std::int32_t CalcItemHeight();
  std::int32_t FrameWidth() const;
  TCustomAxisPanel& Chart() const;
  void DrawItems(std::int32_t gap, std::int32_t symbolWidth, std::int32_t itemWidth);

  TLegendAlignment FAlignment = laRight;
  bool FCheckBoxes = false;
  bool FCurrentPage = true;
  std::unique_ptr<TChartHiddenPen> FDividingLines;
  std::int32_t FFirstValue = 0;
  bool FFontSeriesColor = false;
  std::int32_t FHorizMargin = 0;
  bool FInverted = false;
  TLegendStyle FLegendStyle = lsAuto;
  std::int32_t FMaxNumRows = 10;
  bool FResizeChart = true;
  TChartSeries* FSeries = nullptr;
  std::unique_ptr<TLegendSymbol> FSymbol;
  TLegendTextStyle FTextStyle = ltsLeftValue;
  std::int32_t FTopPos = 10;
  std::int32_t FVertMargin = 0;
  std::int32_t FVertSpacing = 0;
  // layout state
  TLegendStyle FStyleInDraw = lsSeries;
  std::int32_t FFirstInDraw = 0;
  std::int32_t FTotalItems = 0, FLastValue = -1, FNumCols = 0, FNumRows = 0, FItemHeight = 0;
  std::int32_t FColumnWidths[2] = {0, 0};
  std::vector<std::string> FItemTexts[2];
};

class TChartLegend : public TCustomChartLegend {
  ORVEL_CLASS_INFO
 public:
  using TCustomChartLegend::TCustomChartLegend;
};

}  // namespace chart

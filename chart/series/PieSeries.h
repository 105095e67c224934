// Series drawn inside an ellipse that takes the chart's rectangle instead of
// axes, and the pie: each value a slice whose angle follows its absolute
// size, with exploded slices, a shadow, patterns, dark borders, a partial
// circle and an "other" slice that gathers the small values.
//
// Tested by: chart/tests/PieSeriesTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/core/StoreAndInvalidate.h"
#include "chart/series/SeriesData.h"

namespace chart {

class TCircledSeries : public TChartSeries {
  ORVEL_CLASS_INFO
 public:
  explicit TCircledSeries(classlib::TComponent* owner = nullptr);
  ~TCircledSeries() override;

  // properties
  TColor CircleBackColor() const { return FCircleBackColor; }
  void SetCircleBackColor(TColor v) { StoreAndInvalidate(*this, FCircleBackColor, v); }
  bool Circled() const { return FCircled; }
  // Also sets every series of this class in the chart (their custom radii reset).
  void SetCircled(bool v);
  TKivGradient* CircleGradient() const { return FGradient.get(); }
  std::int32_t CustomXRadius() const { return FCustomXRadius; }
  void SetCustomXRadius(std::int32_t v);
  std::int32_t CustomYRadius() const { return FCustomYRadius; }
  void SetCustomYRadius(std::int32_t v);
  std::int32_t RotationAngle() const { return FRotationAngle; }
  // Stored modulo 360.
  void SetRotationAngle(std::int32_t v);
  double RotationRadians() const { return FRotationRadians; }
  std::int32_t XRadius() const { return FXRadius; }
  std::int32_t YRadius() const { return FYRadius; }
  std::int32_t CircleXCenter() const { return FCircleXCenter; }
  std::int32_t CircleYCenter() const { return FCircleYCenter; }
  const TRect& CircleRect() const { return FCircleRect; }

  // operations
  // The screen's pixel aspect that makes a circle round (1 without a screen).
  static double ScreenAspect();
  // The colour behind the circle.
  TColor CalcCircleBackColor() const;
  // Places the circle in rect (made round with Circled), with the radii.
  void SetCircleRect(TRect rect);

  // overrides
  void Assign(const classlib::TPersistent& source) override;
  void SetActive(bool v) override;
  void SetParentChart(TCustomAxisPanel* chart) override;
  void DoBeforeDrawValues() override;
  void PrepareLegendCanvas(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) override;
  bool UseAxis() const override { return false; }

 protected:
  void SaveChartView();
  void RestoreChartView();
  virtual void CalcCircleGeometry();

  std::int32_t FXRadius = 0, FYRadius = 0;

 private:
  TColor FCircleBackColor = clDefault;
  bool FCircled = false;
  std::unique_ptr<TKivGradient> FGradient;
  std::int32_t FCustomXRadius = 0, FCustomYRadius = 0;
  std::int32_t FRotationAngle = 0;
  double FRotationRadians = 0;
  std::int32_t FCircleWidth = 0, FCircleHeight = 0, FCircleXCenter = 0, FCircleYCenter = 0;
  TRect FCircleRect;
  std::unique_ptr<TView3DOptions> FSavedView;
};

enum TPieOtherStyle : std::uint8_t { poNone, poBelowPercent, poBelowValue };

class TPieSeries;
class TChartLegend;

class TPieOtherSlice : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TPieOtherSlice(TPieSeries* pie = nullptr);
  ~TPieOtherSlice() override;

  TColor Color() const { return FColor; }
  void SetColor(TColor v);
  TPieOtherStyle Style() const { return FStyle; }
  void SetStyle(TPieOtherStyle v);
  // "Other" while empty.
  std::string Text() const;
  void SetText(const std::string& v);
  double Value() const { return FValue; }
  void SetValue(double v);
  // A legend of the gathered values, created hidden on first read; nullptr frees it.
  TChartLegend* Legend() const;
  void SetLegend(const TChartLegend* v);
  bool HasLegend() const { return FLegend != nullptr; }
  void Assign(const classlib::TPersistent& source) override;
  // Marks the pie's chart picture stale.
  void Invalidate() const;

 private:
  TPieSeries* FPie;
  mutable std::unique_ptr<TChartLegend> FLegend;
  TColor FColor = clDefault;
  TPieOtherStyle FStyle = poNone;
  std::string FText;
  double FValue = 0;
};

class TPieSeries : public TCircledSeries {
  ORVEL_CLASS_INFO
 public:
  // The X value of the point that gathers the small values, and of a gathered value.
  static constexpr double OtherSliceX = 2147483647.0;
  static constexpr double GatheredX = -1.0;

  explicit TPieSeries(classlib::TComponent* owner = nullptr);
  ~TPieSeries() override;

  // properties
  std::int32_t AngleSize() const { return FAngleSize; }
  void SetAngleSize(std::int32_t v) { StoreAndInvalidate(*this, FAngleSize, v); }
  bool AutoMarkPosition() const { return FAutoMarkPosition; }
  void SetAutoMarkPosition(bool v) { StoreAndInvalidate(*this, FAutoMarkPosition, v); }
  bool Dark3D() const { return FDark3D; }
  void SetDark3D(bool v) { StoreAndInvalidate(*this, FDark3D, v); }
  bool DarkPen() const { return FDarkPen; }
  void SetDarkPen(bool v) { StoreAndInvalidate(*this, FDarkPen, v); }
  std::int32_t ExplodeBiggest() const { return FExplodeBiggest; }
  void SetExplodeBiggest(std::int32_t v) { StoreAndInvalidate(*this, FExplodeBiggest, v); }
  // Explode percent of a slice (0 beyond the list); setting grows the list.
  std::int32_t ExplodedSlice(int index) const;
  void SetExplodedSlice(int index, std::int32_t percent);
  int ExplodedSliceCount() const { return static_cast<int>(FExploded.size()); }
  TPieOtherSlice* OtherSlice() const { return FOtherSlice.get(); }
  TKivShadow* Shadow() const { return FShadow.get(); }
  bool UsePatterns() const { return FUsePatterns; }
  void SetUsePatterns(bool v) { StoreAndInvalidate(*this, FUsePatterns, v); }
  TChartPen* PiePen() const { return Pen(); }
  TChartValueList* PieValues() const { return YValues(); }

  // operations
  // Slice angles in radians, counter-clockwise, before the rotation.
  double StartAngle(int index) const { return FAngles.at(static_cast<std::size_t>(index)).Start; }
  double EndAngle(int index) const { return FAngles.at(static_cast<std::size_t>(index)).End; }
  double MiddleAngle(int index) const { return FAngles.at(static_cast<std::size_t>(index)).Middle; }
  void CalcAngles();
  // The offset of an exploded slice from the centre.
  TPoint ExplodeOffset(int index) const;
  bool Gathered(int index) const { return XValues()->Value(index) == GatheredX; }

  // overrides
  void Assign(const classlib::TPersistent& source) override;
  std::string EditorClassName() const override { return "TPieSeriesEditor"; }
  void DoBeforeDrawChart() override;
  void ClearLists() override;
  void ListSubStyles(const std::function<void(const std::string&)>& callback) override;
  void DrawAllValues() override;
  void DrawValue(int valueIndex) override;
  void DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) override;
  void DrawLegendShape(int valueIndex, const TRect& rect) override;
  void PrepareLegendCanvas(int valueIndex, TColor& backColor, TBrushStyle& brushStyle) override;
  void ApplySubStyle(int subStyle) override;
  int CountLegendItems() const override;
  int LegendToValueIndex(int legendIndex) const override;
  double MaxXValue() const override;
  double MaxYValue() const override;
  double MinXValue() const override;
  double MinYValue() const override;
  std::int32_t CalcXPos(int valueIndex) const override;
  int Clicked(std::int32_t x, std::int32_t y) override;
  void SwapValueIndex(int a, int b) override;
  void AddSampleValues(int numValues) override;
  int DefaultSampleCount() const override { return 8; }
  void PrepareForGallery(bool enabled) override;
  // In 3D the pie is seen from above at a slant; in 2D it stays round.
  void SetChartView3D(bool v) override;

 private:
  struct TSliceAngles {
    double Start = 0, Middle = 0, End = 0;
  };
  void SliceBrush(int valueIndex, TColor color);

  std::int32_t FAngleSize = 360;
  bool FAutoMarkPosition = true;
  bool FDark3D = true;
  bool FDarkPen = false;
  std::vector<std::int32_t> FExploded;
  std::int32_t FExplodeBiggest = 0;
  std::unique_ptr<TPieOtherSlice> FOtherSlice;
  std::unique_ptr<TKivShadow> FShadow;
  bool FUsePatterns = false;
  std::vector<TSliceAngles> FAngles;
  // Set while the other slice's legend draws: the legend lists the gathered values.
  bool FOtherLegendPass = false;
};

}  // namespace chart

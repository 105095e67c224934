// Two tools that colour the chart behind or over the series along an axis:
// the colour band fills the band between two values of the axis; the grid
// band fills alternate stripes between the axis' grid lines with two brushes.
//
// Tested by: chart/tests/BandToolsTest.cpp
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "chart/core/StoreAndInvalidate.h"
#include "chart/tools/ToolBases.h"

namespace chart {

class TColorBandTool : public TKivCustomToolAxis {
  ORVEL_CLASS_INFO
 public:
  explicit TColorBandTool(classlib::TComponent* owner = nullptr);
  ~TColorBandTool() override;

  // properties
  TColor Color() const { return FColor; }
  void SetColor(TColor v) { StoreAndInvalidate(*this, FColor, v); }
  bool DrawBehind() const { return FDrawBehind; }
  void SetDrawBehind(bool v) { StoreAndInvalidate(*this, FDrawBehind, v); }
  double EndValue() const { return FEndValue; }
  void SetEndValue(double v) { StoreAndInvalidate(*this, FEndValue, v); }
  TKivGradient* Gradient() const { return FGradient.get(); }
  void SetGradient(const TKivGradient& v) { FGradient->Assign(v); }
  double StartValue() const { return FStartValue; }
  void SetStartValue(double v) { StoreAndInvalidate(*this, FStartValue, v); }
  TKivTransparency Transparency() const { return FTransparency; }
  void SetTransparency(TKivTransparency v) { StoreAndInvalidate(*this, FTransparency, v); }

  // operations
  // The band's rectangle in pixels; false when the band lies wholly outside the axis range.
  bool BandRect(TRect& rect) const;

  // overrides
  void ChartEvent(TChartToolEvent event) override;
  std::string Description() const override { return "Color Band"; }
  std::string EditorClassName() const override { return "TColorBandToolEditor"; }

 private:
  void DrawBand();

  TColor FColor = clWhite;
  bool FDrawBehind = true;
  double FEndValue = 0;
  std::unique_ptr<TKivGradient> FGradient;
  double FStartValue = 0;
  TKivTransparency FTransparency = 0;
};

// A brush of a grid band: its fill, the background behind a hatch and how
// much of the chart shows through it.
class TGridBandBrush : public TChartBrush {
  ORVEL_CLASS_INFO
 public:
  explicit TGridBandBrush(TNotifyEvent onChange = {});

  // properties
  // clNone takes the back wall's colour.
  TColor BackColor() const { return FBackColor; }
  void SetBackColor(TColor v);
  TKivTransparency Transparency() const { return FTransparency; }
  void SetTransparency(TKivTransparency v);

  // overrides
  void Assign(const classlib::TPersistent& source) override;

 private:
  TColor FBackColor = clNone;
  TKivTransparency FTransparency = 0;
};

class TGridBandTool : public TKivCustomToolAxis {
  ORVEL_CLASS_INFO
 public:
  explicit TGridBandTool(classlib::TComponent* owner = nullptr);
  // Takes its stripes off the axis.
  ~TGridBandTool() override;

  // properties
  TGridBandBrush* Band1() const { return FBand1.get(); }
  void SetBand1(const TGridBandBrush& v) { FBand1->Assign(v); }
  TGridBandBrush* Band2() const { return FBand2.get(); }
  void SetBand2(const TGridBandBrush& v) { FBand2->Assign(v); }

  // overrides
  // Moves the stripes to the new axis' grid.
  void SetAxis(TChartAxis* axis) override;
  std::string Description() const override { return "Grid band tool"; }
  std::string EditorClassName() const override { return "TGridBandToolEdit"; }

 private:
  void DrawGrids(TChartAxis& axis);
  void DrawStripe(TChartAxis& axis, const TGridBandBrush& band, std::int32_t pos0, std::int32_t pos1);

  std::unique_ptr<TGridBandBrush> FBand1, FBand2;
};

}  // namespace chart

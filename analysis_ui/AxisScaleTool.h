// "Axis scale": a chart tool that rescales one axis before every pass so
// that live analysis data stays in view. amAuto follows the data with the
// margins; amPeakHold only ever widens the range (until ResetPeakHold, or
// until the spectrum's scale turns logarithmic or back). A spectrum's
// amplitudes (DataIsSpectrum) start at 0 on a linear scale. An end the axis
// computes itself (AutomaticMinimum, AutomaticMaximum) is left to the axis,
// and a zoomed chart is left alone.
//
//   auto* scale = new TAxisScaleTool(&chart);
//   scale->SetAxis(chart.LeftAxis());    // joins the axis' chart
//   chart.LeftAxis()->SetAutomatic(false);
//   scale->SetAxisScaleMode(amAuto);
//
// Tested by: analysis_ui/tests/AxisScaleToolTest.cpp
#pragma once

#include <cstdint>
#include <string>

#include "chart/tools/ToolBases.h"

namespace analysis_ui {

enum TAxisScaleMode : std::uint8_t { amNone, amPeakHold, amAuto };

class TAxisScaleTool : public chart::TKivCustomToolAxis {
  ORVEL_CLASS_INFO
 public:
  explicit TAxisScaleTool(classlib::TComponent* AOwner = nullptr);

  // properties
  // Room above the data maximum and below the data minimum, in percent of
  // the data's span.
  std::int32_t UpperMargin() const { return FUpperMargin; }
  void SetUpperMargin(std::int32_t Value);
  std::int32_t LowerMargin() const { return FLowerMargin; }
  void SetLowerMargin(std::int32_t Value);
  TAxisScaleMode AxisScaleMode() const { return FAxisScaleMode; }
  void SetAxisScaleMode(TAxisScaleMode Value);
  // The axis shows spectrum amplitudes.
  bool DataIsSpectrum() const { return FDataIsSpectrum; }
  void SetDataIsSpectrum(bool Value);
  // The range held in amPeakHold (the largest double below and above when
  // nothing is held).
  double HeldMinimum() const { return FHeldMinimum; }
  double HeldMaximum() const { return FHeldMaximum; }

  // operations
  // Forgets the held range: the next pass starts it afresh.
  void ResetPeakHold();

  // overrides
  std::string EditorClassName() const override { return "TAxisScaleToolEditor"; }
  std::string Description() const override { return "Axis scale"; }
  void ChartEvent(chart::TChartToolEvent Event) override;

 private:
  // True when a spectrum mark cursor of the chart shows a spectrum in
  // decibels; a cursor whose spectrum changed scale rebuilds its marks.
  bool SpectrumIsLogarithmic();
  void Rescale();

  std::int32_t FUpperMargin = 0;
  std::int32_t FLowerMargin = 0;
  TAxisScaleMode FAxisScaleMode = amNone;
  bool FDataIsSpectrum = false;
  double FHeldMaximum = 0;
  double FHeldMinimum = 0;
  bool FLogarithmic = false;
};

}  // namespace analysis_ui

// The axis scale tool.
//
// Tested by: analysis_ui/tests/AxisScaleToolTest.cpp
#include "analysis_ui/AxisScaleTool.h"

#include <cmath>
#include <limits>
#include <vector>

#include "analysis_ui/MarkToolSupport.h"
#include "analysis_ui/MarkTools.h"
#include "chart/AxisPanel.h"
#include "chart/ChartAxis.h"
#include "chart/core/StoreAndInvalidate.h"
#include "signal/SpectrumAnalyzer.h"

namespace analysis_ui {

using classlib::TClassBuilder;
using classlib::TClassInfo;

namespace {

// Writes the ends the tool owns in an order the axis accepts (it refuses a
// minimum above its maximum and the reverse). An end the axis computes
// itself is recomputed at the pass anyway, so it may give way; an end the
// user fixed is kept, and the other end is then left as it is.
void SetAxisEnds(chart::TChartAxis& axis, bool setMinimum, double minimum, bool setMaximum, double maximum) {
  if (setMinimum && setMaximum) {
    if (minimum > maximum) return;
    if (maximum >= axis.Minimum()) {
      axis.SetMaximum(maximum);
      axis.SetMinimum(minimum);
    } else {
      axis.SetMinimum(minimum);
      axis.SetMaximum(maximum);
    }
  } else if (setMinimum) {
    if (minimum > axis.Maximum()) {
      if (!axis.AutomaticMaximum()) return;
      axis.SetMaximum(minimum);
    }
    axis.SetMinimum(minimum);
  } else if (setMaximum) {
    if (maximum < axis.Minimum()) {
      if (!axis.AutomaticMinimum()) return;
      axis.SetMinimum(maximum);
    }
    axis.SetMaximum(maximum);
  }
}

}  // namespace

const TClassInfo& TAxisScaleTool::StaticClassInfo() {
  using C = TAxisScaleTool;
  static const TClassInfo info = TClassBuilder<C>("TAxisScaleTool", chart::TKivCustomToolAxis::StaticClassInfo())
                                     .Property("UpperMargin", &C::UpperMargin, &C::SetUpperMargin, 0)
                                     .Property("LowerMargin", &C::LowerMargin, &C::SetLowerMargin, 0)
                                     .Property("AxisScaleMode", &C::AxisScaleMode, &C::SetAxisScaleMode, amNone)
                                     .TypeName("TAxisScaleMode")
                                     .Names({"amNone", "amPeakHold", "amAuto"})
                                     .Property("DataIsSpectrum", &C::DataIsSpectrum, &C::SetDataIsSpectrum, false)
                                     .Creatable()
                                     .Build();
  return info;
}

TAxisScaleTool::TAxisScaleTool(classlib::TComponent* AOwner) : chart::TKivCustomToolAxis(AOwner) { ResetPeakHold(); }

void TAxisScaleTool::SetUpperMargin(std::int32_t Value) { chart::StoreAndInvalidate(*this, FUpperMargin, Value); }
void TAxisScaleTool::SetLowerMargin(std::int32_t Value) { chart::StoreAndInvalidate(*this, FLowerMargin, Value); }

void TAxisScaleTool::SetAxisScaleMode(TAxisScaleMode Value) {
  if (Value > amAuto) Value = amNone;
  chart::StoreAndInvalidate(*this, FAxisScaleMode, Value);
}

void TAxisScaleTool::SetDataIsSpectrum(bool Value) { chart::StoreAndInvalidate(*this, FDataIsSpectrum, Value); }

void TAxisScaleTool::ResetPeakHold() {
  FHeldMaximum = -std::numeric_limits<double>::max();
  FHeldMinimum = std::numeric_limits<double>::max();
}

bool TAxisScaleTool::SpectrumIsLogarithmic() {
  bool log = false;
  chart::TCustomAxisPanel* chart = ParentChart();
  for (chart::TKivCustomTool* t : std::vector<chart::TKivCustomTool*>(chart->Tools().begin(), chart->Tools().end())) {
    auto* marks = dynamic_cast<TSpectrumMarkTool*>(t);
    if (marks == nullptr || !marks->Active()) continue;
    const auto* analyzer = dynamic_cast<const sig::TSpectrumAnalyzer*>(marks->Spectrum());
    log = analyzer != nullptr && analyzer->Logarithmic();
    // Its marks were placed on the other scale: they are taken again on this one.
    if (log != FLogarithmic) marks->ChartEvent(chart::cteBeforeDraw);
  }
  return log;
}

void TAxisScaleTool::ChartEvent(chart::TChartToolEvent Event) {
  chart::TKivCustomToolAxis::ChartEvent(Event);
  if (Event != chart::cteBeforeDraw || Axis() == nullptr || ParentChart() == nullptr || ParentChart()->Zoomed())
    return;
  Rescale();
}

void TAxisScaleTool::Rescale() {
  chart::TChartAxis& axis = *Axis();
  const bool log = FDataIsSpectrum && SpectrumIsLogarithmic();
  if (FAxisScaleMode == amNone || (axis.AutomaticMinimum() && axis.AutomaticMaximum())) {
    ResetPeakHold();
    return;
  }
  // The range of the active series on the axis, as a fully automatic axis takes it.
  const chart::TCustomAxisPanel& chart = *ParentChart();
  const TScaleRange r = AxisScaleRange(chart.AxisDataMinimum(axis), chart.AxisDataMaximum(axis), FUpperMargin,
                                       FLowerMargin, FDataIsSpectrum && !log);
  if (!std::isfinite(r.Minimum) || !std::isfinite(r.Maximum)) return;
  if (FAxisScaleMode == amPeakHold) {
    if (FDataIsSpectrum && log != FLogarithmic) {
      FLogarithmic = log;
      ResetPeakHold();
    }
    const bool lower = r.Minimum < FHeldMinimum && !axis.AutomaticMinimum();
    const bool higher = r.Maximum > FHeldMaximum && !axis.AutomaticMaximum();
    if (lower) FHeldMinimum = r.Minimum;
    if (higher) FHeldMaximum = r.Maximum;
    SetAxisEnds(axis, lower, r.Minimum, higher, r.Maximum);
    return;
  }
  ResetPeakHold();
  SetAxisEnds(axis, !axis.AutomaticMinimum(), r.Minimum, !axis.AutomaticMaximum(), r.Maximum);
}

}  // namespace analysis_ui

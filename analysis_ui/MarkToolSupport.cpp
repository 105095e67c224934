// What the mark cursors and the axis scale tool compute without a chart.
//
// Tested by: analysis_ui/tests/MarkToolSupportTest.cpp
#include "analysis_ui/MarkToolSupport.h"

#include <algorithm>
#include <cmath>

#include "chart/core/ValueList.h"
#include "numeric/MathCore.h"
#include "platform/classlib/SysUtils.h"
#include "signal/MarkList.h"

namespace analysis_ui {

std::int32_t LineUnder(double F, double Start, double Step, std::int32_t Length) {
  if (Length <= 0 || !(Step > 0)) return 0;
  const std::int32_t last = Length - 1;
  // Held within the lines before the index is taken, so no position of the
  // mouse gives an index outside them (nor a conversion out of range).
  const double lines = (F - Start) / Step;
  if (!(lines > 0)) return 0;
  if (lines >= last) return last;
  return static_cast<std::int32_t>(lines);
}

std::int32_t SampleNear(double T, double Period, std::int32_t Length) {
  if (Length <= 0 || !(Period > 0)) return 0;
  const std::int32_t last = Length - 1;
  const double samples = std::max(T, 0.0) / Period;
  if (!(samples > 0)) return 0;
  if (samples >= last) return last;
  return static_cast<std::int32_t>(std::nearbyint(samples));
}

namespace {

double KeyOf(const sig::TMarkRecord& mark, TMarkKey key) { return key == mkFirst ? mark.First : mark.Fourth; }

bool Near(double a, double b, double halfWidth) { return a == b || std::abs(a - b) < halfWidth; }

}  // namespace

std::int32_t FindMarkNear(const sig::TMarkList& Marks, TMarkKey Key, double Value, double HalfWidth) {
  for (std::int32_t i = 0; i < Marks.Count(); ++i)
    if (Near(KeyOf(Marks.GetMark(i), Key), Value, HalfWidth)) return i;
  return -1;
}

bool HoldsValueNear(const chart::TChartValueList& List, double Value, double HalfWidth) {
  for (int i = 0; i < List.Count(); ++i)
    if (Near(List.Value(i), Value, HalfWidth)) return true;
  return false;
}

std::string SpectrumMarkText(TSpectrumPart Part, TSpectrumMarkType Type, bool Headers, double Amplitude,
                             double Phase, const std::string& AmpltFormat, const std::string& PhaseFormat) {
  const std::string phase = classlib::FormatFloat(PhaseFormat, Phase);
  if (Part == sppPhase) return phase;
  const std::string amplitude = numeric::SampleToStr(Amplitude, AmpltFormat);
  const std::string a = Headers ? "A=" : "", p = Headers ? "P=" : "";
  switch (Type) {
    case mtPhase: return p + phase;
    case mtAmpltPhase: return a + amplitude + "\r" + p + phase;
    case mtAmplt: break;
  }
  return amplitude;
}

std::string MarkPointLabel(std::int32_t K, const std::string& Format, double Value) {
  return (K % 2 != 0 ? "\r" : "") + classlib::FormatFloat(Format, Value);
}

TScaleRange AxisScaleRange(double Minimum, double Maximum, std::int32_t UpperMargin, std::int32_t LowerMargin,
                           bool ZeroBased) {
  const double span = Maximum - Minimum;
  TScaleRange r;
  r.Maximum = Maximum + 0.01 * UpperMargin * span;
  r.Minimum = ZeroBased ? 0.0 : Minimum;
  r.Minimum -= 0.01 * LowerMargin * span;
  return r;
}

}  // namespace analysis_ui

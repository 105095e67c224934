// Axis conversions and the label increment.
//
// Tested by: chart/tests/AxisScaleTest.cpp
#include "chart/core/AxisScale.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "chart/core/KivProcsDateTime.h"
#include "chart/core/KivTypes.h"

namespace chart {

void TAxisScale::SetRange(double minimum, double maximum) {
  IMinimum = minimum;
  IMaximum = maximum;
  IRange = maximum - minimum;
  if (!std::isfinite(IRange)) IRange = 0;
  RecalcScales();
}

// Sums of pixels reach the axis in 64 bits and stop at the limit here, so far
// start or end positions and wide margins cannot wrap round.
void TAxisScale::SetPixels(std::int64_t start, std::int64_t end) {
  start = std::clamp<std::int64_t>(start, -AxisPixelLimit, AxisPixelLimit);
  end = std::clamp<std::int64_t>(end, -AxisPixelLimit, AxisPixelLimit);
  IStartPos = static_cast<std::int32_t>(start);
  IEndPos = static_cast<std::int32_t>(end);
  IAxisSize = static_cast<std::int32_t>(end - start);
  ICenterPos = static_cast<std::int32_t>((start + end) / 2);
  RecalcScales();
}

void TAxisScale::RecalcScales() {
  IRangeZero = IRange == 0;
  IAxisScale = IRangeZero ? 0 : IAxisSize / IRange;
  ILogMax = IMaximum > 0 ? std::log(IMaximum) : 0;
  ILogMin = IMinimum > 0 ? std::log(IMinimum) : 0;
  ILogRange = ILogMax - ILogMin;
  ILogScale = ILogRange == 0 ? 0 : IAxisSize / ILogRange;
}

std::int32_t TAxisScale::Clamp(double pixel) const {
  if (Fast) return Round(pixel);
  if (std::isnan(pixel)) return -AxisPixelLimit;
  if (pixel > AxisPixelLimit) return AxisPixelLimit;
  if (pixel < -AxisPixelLimit) return -AxisPixelLimit;
  return Round(pixel);
}

std::int32_t TAxisScale::LogPos(double value, bool xForm) const {
  if (ILogRange == 0) return ICenterPos;
  if (!(value > 0)) {
    if (xForm) return Inverted ? IEndPos : IStartPos;
    return Inverted ? IStartPos : IEndPos;
  }
  const double d = Inverted ? (ILogMax - std::log(value)) * ILogScale : (std::log(value) - ILogMin) * ILogScale;
  const double r = std::nearbyint(d);
  return Clamp(xForm ? IStartPos + r : IEndPos - r);
}

std::int32_t TAxisScale::CalcXPosValue(double value) const {
  if (Logarithmic) return LogPos(value, true);
  if (IRangeZero) return ICenterPos;
  if (!Fast) return LinearMap(true)(value);
  const double p = std::nearbyint((value - IMinimum) * IAxisScale);
  return Clamp(Inverted ? IEndPos - p : IStartPos + p);
}

std::int32_t TAxisScale::CalcYPosValue(double value) const {
  if (Logarithmic) return LogPos(value, false);
  if (IRangeZero) return ICenterPos;
  if (!Fast) return LinearMap(false)(value);
  const double p = std::nearbyint((value - IMinimum) * IAxisScale);
  return Clamp(Inverted ? IStartPos + p : IEndPos - p);
}

std::int32_t TAxisScale::CalcDepthPosValue(double value) const {
  if (IRangeZero) return ICenterPos;
  return Clamp(Inverted ? (IMaximum - value) * IAxisScale : (value - IMinimum) * IAxisScale);
}

std::int32_t TAxisScale::CalcPosValue(double value) const {
  if (IsDepthAxis) return CalcDepthPosValue(value);
  return Horizontal ? CalcXPosValue(value) : CalcYPosValue(value);
}

std::int32_t TAxisScale::CalcSizeValue(double value) const {
  if (!(value > 0)) return 0;
  if (Logarithmic) return ILogRange == 0 ? 0 : Clamp(std::log(value) * ILogScale);
  return IRangeZero ? 0 : Clamp(value * IAxisScale);
}

double TAxisScale::CalcPosPoint(std::int32_t pixel) const {
  const bool horiz = Horizontal || IsDepthAxis;
  if (Logarithmic) {
    if (ILogRange == 0 || IAxisSize == 0) return IMinimum;
    const double low = horiz ? IMinimum : IMaximum, high = horiz ? IMaximum : IMinimum;
    if (pixel == IStartPos) return Inverted ? high : low;
    if (pixel == IEndPos) return Inverted ? low : high;
    const double d = (Inverted ? static_cast<double>(IEndPos) - pixel : static_cast<double>(pixel) - IStartPos) *
                     ILogRange / IAxisSize;
    return horiz ? std::exp(ILogMin + d) : std::exp(ILogMax - d);
  }
  if (IAxisSize < 1) return 0;
  const double d = (Inverted ? static_cast<double>(IEndPos) - pixel : static_cast<double>(pixel) - IStartPos) *
                   IRange / IAxisSize;
  return horiz ? IMinimum + d : IMaximum - d;
}

double NextLadderStep(double step) {
  if (!(step > 0) || !std::isfinite(step)) return step;
  int k = static_cast<int>(std::floor(std::log10(step)));
  double p = std::pow(10.0, k);
  double m = step / p;
  if (m >= 10) {
    ++k;
    p *= 10;
    m /= 10;
  } else if (m < 1) {
    --k;
    p /= 10;
    m *= 10;
  }
  if (m < 2) return 2 * p;
  if (m < 5) return 5 * p;
  return 10 * p;
}

std::int32_t MaxLabelsCount(const TIncrementInput& in) {
  double s = in.LabelSize;
  if (!(s >= 1)) return 1;
  if (in.LabelsSeparation > 0) s += std::nearbyint(s * in.LabelsSeparation * 0.01);
  return Round(in.AxisSize / s);
}

double CalcIncrementValue(const TIncrementInput& in) {
  const std::int32_t count = MaxLabelsCount(in);
  const double range = std::isfinite(in.Range) ? std::fabs(in.Range) : 0;
  if (count <= 0) return in.IsDateTime ? DateTimeStep[dtOneMicroSecond] : MinAxisIncrement;
  if (!in.IsDateTime) {
    double step;
    if (in.Increment > 0) {
      step = in.Increment;
    } else {
      step = range == 0 ? 1.0 : range / (count + 1.0);
      if (in.FewestSeriesPoints <= count && step < 1.0) step = 1.0;
    }
    // The ladder walk is bounded: each step multiplies by 2 at least.
    for (int guard = 0; in.LabelsSeparation >= 0 && guard < 4000; ++guard) {
      const double ratio = range / step;
      if (std::fabs(ratio) > 2147483647.0 || std::nearbyint(ratio) > count) step = NextLadderStep(step);
      if (std::nearbyint(range / step) <= count || step > range || std::isinf(step)) break;
    }
    if (std::isfinite(step) && step < MinAxisIncrement) step = MinAxisIncrement;
    return step;
  }
  double step = std::max(DateTimeStep[dtOneMicroSecond], in.Increment);
  if (step > 0) {
    if (range / step >= 1e6) step = range / 1e6;
    for (int guard = 0; std::nearbyint(range / step) > count && guard < 4000; ++guard) {
      if (step >= DateTimeStep[dtOneYear])
        step *= 2;
      else if (step >= DateTimeStep[dtOneSecond])
        step = NextDateTimeStep(step);
      else
        step = NextLadderStep(step);
    }
  }
  return std::max(step, DateTimeStep[dtOneMicroSecond]);
}

}  // namespace chart

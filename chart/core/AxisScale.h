// The arithmetic of an axis: value to pixel and back (linear, logarithmic,
// inverted, depth) and the choice of the label increment. Plain data, so the
// axis' drawing, the series' loops over their points and the tests share one
// implementation without a canvas.
//
// Tested by: chart/tests/AxisScaleTest.cpp
#pragma once

#include <cstdint>

namespace chart {

// The largest pixel coordinate an axis conversion gives; values beyond it clamp.
constexpr std::int32_t AxisPixelLimit = 0x3FFFFFF;
// The smallest range and the smallest label increment an axis uses.
constexpr double MinAxisRange = 1e-10;
constexpr double MinAxisIncrement = 1e-12;

// Value to pixel along a linear axis as a plain function: the pixels the
// axis' conversions give (a non-finite pixel goes to -AxisPixelLimit, far
// ones stop at the limit, halves round to even), so that a loop over many
// points maps them without a call each.
struct TLinearPixelMap {
  double Minimum = 0, Scale = 0, Start = 0;
  // Pixels run from Start against the values (vertical axes, inverted
  // horizontal ones).
  bool Negate = false;

  std::int32_t operator()(double value) const {
    const double p = (value - Minimum) * Scale;
    const double pixel = Negate ? Start - p : Start + p;
    if (!(pixel >= -AxisPixelLimit)) return -AxisPixelLimit;  // NaN too
    if (pixel > AxisPixelLimit) return AxisPixelLimit;
    return RoundPixel(pixel);
  }

  // Halves to even, as std::nearbyint in the default rounding mode, without a
  // library call: adding 1.5 * 2^52 leaves no bits below the units of a
  // pixel within the limit.
  static std::int32_t RoundPixel(double pixel) {
    constexpr double Shift = 6755399441055744.0;
    return static_cast<std::int32_t>((pixel + Shift) - Shift);
  }
};

struct TAxisScale {
  // state
  double IMinimum = 0, IMaximum = 0, IRange = 0;
  bool IRangeZero = true;
  double IAxisScale = 0;  // pixels per unit
  double ILogMin = 0, ILogMax = 0, ILogRange = 0, ILogScale = 0;
  std::int32_t IStartPos = 0, IEndPos = 0, IAxisSize = 0, ICenterPos = 0;
  bool Horizontal = true;
  bool Inverted = false;
  bool Logarithmic = false;
  bool IsDepthAxis = false;
  // Round first and skip the clamp (the axes list's fast-calculation switch).
  bool Fast = false;

  // operations
  // Stores the internal ends (a non-finite range counts as zero) and the scales.
  void SetRange(double minimum, double maximum);
  // Stores the pixel ends (clamped to the pixel limit) and the scales.
  void SetPixels(std::int64_t start, std::int64_t end);
  void RecalcScales();

  std::int32_t CalcXPosValue(double value) const;
  std::int32_t CalcYPosValue(double value) const;
  // True when the conversions are the linear map (not logarithmic, no zero
  // range, no fast switch).
  bool IsLinear() const { return !Logarithmic && !IRangeZero && !Fast; }
  // The map of CalcXPosValue (xForm) or CalcYPosValue while IsLinear holds.
  TLinearPixelMap LinearMap(bool xForm) const {
    // X grows from the start, Y from the end; inverted axes the other way.
    const bool fromEnd = xForm ? Inverted : !Inverted;
    return {IMinimum, IAxisScale, static_cast<double>(fromEnd ? IEndPos : IStartPos), fromEnd};
  }
  // The axis' own form: X for horizontal axes, Y for vertical ones, depth for the depth axis.
  std::int32_t CalcPosValue(double value) const;
  std::int32_t CalcDepthPosValue(double value) const;
  std::int32_t CalcSizeValue(double value) const;
  double CalcPosPoint(std::int32_t pixel) const;

 private:
  std::int32_t Clamp(double pixel) const;
  std::int32_t LogPos(double value, bool xForm) const;
};

// The next step of the 1-2-5 ladder above step (2 x 10^k, 5 x 10^k or 10^(k+1)).
double NextLadderStep(double step);

struct TIncrementInput {
  double LabelSize = 0;              // pixels a label takes along the axis
  std::int32_t LabelsSeparation = 10;  // percent
  std::int32_t AxisSize = 0;         // pixel span
  double Range = 0;
  double Increment = 0;              // the axis' own; 0 = automatic
  bool IsDateTime = false;
  // The fewest points of an associated active series of the axis' orientation
  // (a very large number when there is none).
  std::int64_t FewestSeriesPoints = INT64_MAX;
};

// The maximum number of labels that fit (0 or less when none does).
std::int32_t MaxLabelsCount(const TIncrementInput& in);
// The label increment of an axis.
double CalcIncrementValue(const TIncrementInput& in);

}  // namespace chart

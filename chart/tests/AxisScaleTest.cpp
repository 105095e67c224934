// Covers chart/core/AxisScale.cpp: conversions both ways and the label increment.
#include <gtest/gtest.h>

#include <cmath>

#include "chart/core/AxisScale.h"
#include "chart/core/KivProcsDateTime.h"

namespace chart {
namespace {

TAxisScale Axis(double mn, double mx, std::int32_t start, std::int32_t end, bool horizontal) {
  TAxisScale a;
  a.Horizontal = horizontal;
  a.SetPixels(start, end);
  a.SetRange(mn, mx);
  return a;
}

TEST(AxisScale, LinearInvertedAndBack) {
  TAxisScale h = Axis(0, 10, 100, 600, true);
  EXPECT_EQ(h.CalcPosValue(5), 350);
  EXPECT_EQ(h.CalcPosValue(2), 200);
  EXPECT_DOUBLE_EQ(h.CalcPosPoint(350), 5);
  h.Inverted = true;
  EXPECT_EQ(h.CalcPosValue(5), 350);
  EXPECT_EQ(h.CalcPosValue(2), 500);
  EXPECT_DOUBLE_EQ(h.CalcPosPoint(500), 2);
  TAxisScale v = Axis(0, 10, 50, 450, false);
  EXPECT_EQ(v.CalcPosValue(0), 450);
  EXPECT_EQ(v.CalcPosValue(10), 50);
  // Every pixel maps back within a pixel.
  for (std::int32_t p = 50; p <= 450; p += 7) EXPECT_EQ(v.CalcPosValue(v.CalcPosPoint(p)), p);
}

TEST(AxisScale, FarValuesClampAndZeroRangesGoToTheCentre) {
  const TAxisScale h = Axis(0, 1, 0, 100, true);
  EXPECT_EQ(h.CalcPosValue(1e300), AxisPixelLimit);
  EXPECT_EQ(h.CalcPosValue(-1e300), -AxisPixelLimit);
  const TAxisScale z = Axis(3, 3, 0, 100, true);
  EXPECT_EQ(z.CalcPosValue(3), 50);
  EXPECT_EQ(z.CalcSizeValue(5), 0);
  const TAxisScale n = Axis(0, std::nan(""), 0, 100, true);
  EXPECT_TRUE(n.IRangeZero);
}

// Half pixels round to even, a value that is no number goes to the far
// negative end, infinities stop at the limit: both forms, both directions.
TEST(AxisScale, PixelsRoundHalvesToEvenAndNonFiniteValuesStopAtTheLimit) {
  TAxisScale h = Axis(0, 10, 100, 600, true);  // 50 pixels per unit
  EXPECT_EQ(h.CalcXPosValue(0.01), 100);       // 100.5
  EXPECT_EQ(h.CalcXPosValue(0.03), 102);       // 101.5
  EXPECT_EQ(h.CalcXPosValue(std::nan("")), -AxisPixelLimit);
  EXPECT_EQ(h.CalcXPosValue(HUGE_VAL), AxisPixelLimit);
  EXPECT_EQ(h.CalcXPosValue(-HUGE_VAL), -AxisPixelLimit);
  h.Inverted = true;
  EXPECT_EQ(h.CalcXPosValue(0.01), 600);  // 599.5
  EXPECT_EQ(h.CalcXPosValue(0.03), 598);  // 598.5
  const TAxisScale v = Axis(0, 10, 50, 450, false);  // 40 pixels per unit
  EXPECT_EQ(v.CalcYPosValue(0.0125), 450);  // 449.5
  EXPECT_EQ(v.CalcYPosValue(0.0375), 448);  // 448.5
  EXPECT_EQ(v.CalcYPosValue(HUGE_VAL), -AxisPixelLimit);
  EXPECT_EQ(v.CalcYPosValue(std::nan("")), -AxisPixelLimit);
  // The loops' map gives the same pixels.
  ASSERT_TRUE(v.IsLinear());
  for (double x : {0.0125, 0.0375, 3.3, HUGE_VAL, std::nan("")}) EXPECT_EQ(v.LinearMap(false)(x), v.CalcYPosValue(x));
}

TEST(AxisScale, LogarithmicAndDepth) {
  TAxisScale l = Axis(1, 1000, 0, 300, true);
  l.Logarithmic = true;
  l.RecalcScales();
  EXPECT_EQ(l.CalcPosValue(10), 100);
  EXPECT_EQ(l.CalcPosValue(100), 200);
  EXPECT_EQ(l.CalcPosValue(-5), 0);  // the low end
  EXPECT_NEAR(l.CalcPosPoint(100), 10, 1e-9);
  TAxisScale d = Axis(0, 4, 0, 40, true);
  d.IsDepthAxis = true;
  EXPECT_EQ(d.CalcPosValue(1), 10);
  d.Inverted = true;
  EXPECT_EQ(d.CalcPosValue(1), 30);
}

TEST(AxisScale, LabelIncrementFollowsTheLadder) {
  TIncrementInput in;
  in.LabelSize = 30;
  in.LabelsSeparation = 10;
  in.AxisSize = 330;
  in.Range = 100;
  EXPECT_EQ(MaxLabelsCount(in), 10);
  EXPECT_DOUBLE_EQ(CalcIncrementValue(in), 10);
  in.Increment = 3;  // a set increment climbs the ladder only while labels would crowd: 3, 5, 10
  EXPECT_DOUBLE_EQ(CalcIncrementValue(in), 10);
  in.Increment = 25;
  EXPECT_DOUBLE_EQ(CalcIncrementValue(in), 25);
  in.Increment = 0;
  in.AxisSize = 0;
  EXPECT_DOUBLE_EQ(CalcIncrementValue(in), MinAxisIncrement);
  EXPECT_DOUBLE_EQ(NextLadderStep(1), 2);
  EXPECT_DOUBLE_EQ(NextLadderStep(2), 5);
  EXPECT_DOUBLE_EQ(NextLadderStep(5), 10);
  EXPECT_DOUBLE_EQ(NextLadderStep(0.3), 0.5);
}

TEST(AxisScale, DateTimeIncrementsStepThroughTheTable) {
  TIncrementInput in;
  in.LabelSize = 50;
  in.LabelsSeparation = 0;
  in.AxisSize = 500;  // ten labels
  in.IsDateTime = true;
  in.Range = 1.0;  // one day: at most ten labels -> 6 hours
  EXPECT_DOUBLE_EQ(CalcIncrementValue(in), DateTimeStep[dtSixHours]);
  in.Range = 60.0 / 86400;  // one minute -> 10 seconds
  EXPECT_DOUBLE_EQ(CalcIncrementValue(in), DateTimeStep[dtTenSeconds]);
}

}  // namespace
}  // namespace chart

// Covers chart/KivProcsRoutines.cpp: palette, date-time steps, hit tests, panel geometry.
#include <gtest/gtest.h>

#include "chart/KivProcs.h"

namespace chart {
namespace {

TEST(Palette, CyclesThroughTwentyColours) {
  EXPECT_EQ(GetDefaultColor(0), clRed);
  EXPECT_EQ(GetDefaultColor(19), clMedGray);
  EXPECT_EQ(GetDefaultColor(20), clRed);
  EXPECT_EQ(GetDefaultColor(16), clMoneyGreen);
}

TEST(DateTimeSteps, FindAndNext) {
  EXPECT_EQ(FindDateTimeStep(1.0 / 24), dtOneHour);
  EXPECT_EQ(FindDateTimeStep(0.3), dtNone);
  EXPECT_EQ(FindDateTimeStep(365), dtOneYear);
  EXPECT_DOUBLE_EQ(NextDateTimeStep(1.0 / 24), 2.0 / 24);
  EXPECT_DOUBLE_EQ(NextDateTimeStep(200), 365);
  EXPECT_DOUBLE_EQ(NextDateTimeStep(182), 365);
  // Below the finest step: the next one after a microsecond, not a year.
  EXPECT_DOUBLE_EQ(NextDateTimeStep(1e-15), DateTimeStep[dtOneMillisecond]);
}

TEST(Text, ReplaceChar) {
  EXPECT_EQ(ReplaceCharInText("a,b,c", ',', true), "a b c");
  EXPECT_EQ(ReplaceCharInText("a,b,c", ',', false), "abc");
  EXPECT_EQ(IntToText(-42), "-42");
}

TEST(HitTests, LinesPolygonsTrianglesEllipses) {
  EXPECT_TRUE(PointInLineTolerance({5, 5}, 0, 0, 10, 10, 0));
  EXPECT_TRUE(PointInLineTolerance({5, 7}, 0, 0, 10, 10, 2));
  EXPECT_FALSE(PointInLineTolerance({5, 9}, 0, 0, 10, 10, 2));
  EXPECT_FALSE(PointInLineTolerance({15, 15}, 0, 0, 10, 10, 2));  // beyond the segment
  // Far-off pixel coordinates do not overflow the cross product.
  EXPECT_TRUE(PointInLineTolerance({67108863, 67108863}, 0, 0, 67108863, 67108863, 0));
  const TPoint square[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_TRUE(PointInPolygon({5, 5}, square));
  EXPECT_FALSE(PointInPolygon({15, 5}, square));
  EXPECT_TRUE(PointInTriangle({5, 8}, 0, 10, 0, 10));
  EXPECT_FALSE(PointInTriangle({1, 1}, 0, 10, 0, 10));
  EXPECT_TRUE(PointInHorizTriangle({8, 5}, 0, 10, 0, 10));
  EXPECT_TRUE(PointInEllipse({50, 50}, 0, 0, 100, 100));
  EXPECT_FALSE(PointInEllipse({95, 95}, 0, 0, 100, 100));
  EXPECT_FALSE(PointInEllipse({0, 0}, 0, 0, 0, 10));
  EXPECT_TRUE(PointInRect({0, 0, 10, 10}, 0, 0));
  EXPECT_FALSE(PointInRect({0, 0, 10, 10}, 10, 5));
}

TEST(Geometry, RecordsAndDistances) {
  EXPECT_EQ(RectCenter({0, 0, 5, 7}), (TPoint{2, 3}));
  EXPECT_EQ(OrderRect({10, 8, 2, 1}), (TRect{2, 1, 10, 8}));
  EXPECT_DOUBLE_EQ(DistanceOf(3, 4), 5);
  EXPECT_EQ(PointAtDistance({0, 0}, {0, 10}, 4), (TPoint{0, 6}));
  EXPECT_EQ(PointAtDistance({0, 0}, {6, 8}, 5), (TPoint{3, 4}));
  EXPECT_TRUE(CrossProductSign({0, 0}, {10, 0}, {0, -10}));
}

TEST(Lists, SortIndexesAndUniqueAdds) {
  std::vector<int> v = {5, 3, 9, 1, 7, 3, 0, 8};
  SortIndexes(0, static_cast<int>(v.size()) - 1, [&](int a, int b) { return v[a] - v[b]; },
              [&](int a, int b) { std::swap(v[a], v[b]); });
  EXPECT_TRUE(std::is_sorted(v.begin(), v.end()));
  std::vector<int> list;
  EXPECT_EQ(AddUniqueToList(list, 4), 0);
  EXPECT_EQ(AddUniqueToList(list, 5), 1);
  EXPECT_EQ(AddUniqueToList(list, 4), 0);
}

TEST(Components, UniqueNameTakesTheLowestFreeNumber) {
  classlib::TComponent owner;
  auto* a = new classlib::TComponent(&owner);
  a->SetName("Series1");
  auto* b = new classlib::TComponent(&owner);
  b->SetName("Series3");
  EXPECT_EQ(UniqueComponentName(&owner, "Series"), "Series2");
}

TEST(PanelGeometry, ChartRectangleFromMargins) {
  struct Case { TRect bounds; std::int32_t inset; std::int32_t margins[4]; TKivUnits units; TRect want; };
  const Case cases[] = {
      {{0, 0, 400, 250}, 0, {3, 4, 3, 4}, muPercent, {12, 10, 388, 240}},
      {{0, 0, 400, 250}, 2, {3, 4, 3, 4}, muPercent, {14, 12, 386, 238}},
      {{0, 0, 400, 250}, 0, {10, 5, 20, 5}, muPixels, {10, 5, 380, 245}},
      // collapsed: left beyond right gets one pixel
      {{0, 0, 40, 30}, 0, {30, 0, 30, 0}, muPixels, {30, 0, 31, 30}},
  };
  for (const Case& c : cases) {
    const TChartRectResult r = CalcChartRect(c.bounds, c.inset, c.margins, c.units, 400, 250);
    EXPECT_EQ(r.ChartRect, c.want);
    EXPECT_EQ(r.ChartWidth, c.want.Width());
  }
  const std::int32_t equal[4] = {20, 0, 20, 0};
  EXPECT_EQ(CalcChartRect({0, 0, 40, 30}, 0, equal, muPixels, 400, 250).ChartRect.Right, 420);
}

TEST(ZoomSettings, DefaultsAndLazyObjects) {
  TKivZoom z;
  EXPECT_TRUE(z.Allow());
  EXPECT_FALSE(z.Animated());
  EXPECT_EQ(z.AnimatedSteps(), 8);
  EXPECT_EQ(z.Direction(), tzdBoth);
  EXPECT_EQ(z.MinimumPixels(), 16);
  EXPECT_EQ(z.MouseButton(), mbLeft);
  EXPECT_EQ(z.KeyShift(), 0);
  EXPECT_FALSE(z.HasBrush());
  EXPECT_EQ(z.Brush()->Style(), bsClear);
  EXPECT_EQ(z.Pen()->Color(), clWhite);
  EXPECT_FALSE(z.Pen()->ClassInfo().FindProperty("Color")->IsStored(*z.Pen()));
  z.Activate(10, 20);
  z.X1 = 2;
  z.Check();
  EXPECT_EQ(z.X0, 2);
  EXPECT_EQ(z.X1, 10);
}

}  // namespace
}  // namespace chart

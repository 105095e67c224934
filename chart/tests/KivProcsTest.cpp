// Covers chart/core/KivProcsRoutines.cpp and chart/core/KivProcsDateTime.cpp: palette,
// date-time steps and date arithmetic, locale helpers, hit tests, panel geometry.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "chart/core/KivProcs.h"

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

using classlib::EncodeDate;
using classlib::EncodeTime;

TEST(DateTimeSteps, DefaultFormatFollowsTheStep) {
  classlib::TFormatSettings fs;
  fs.LongTimeFormat = "hh:nn:ss";
  fs.ShortDateFormat = "dd.MM.yyyy";
  EXPECT_EQ(DateTimeDefaultFormat(DateTimeStep[dtTwelveHours], fs), "hh:nn:ss");
  EXPECT_EQ(DateTimeDefaultFormat(1.0, fs), "hh:nn:ss");
  EXPECT_EQ(DateTimeDefaultFormat(DateTimeStep[dtTwoDays], fs), "dd.MM.yyyy");
  EXPECT_EQ(DateTimeDefaultFormat(1.0), classlib::FormatSettings().LongTimeFormat);
}

TEST(DateTimeSteps, TruncAlignsToTheStep) {
  const double march17 = EncodeDate(2003, 3, 17) + EncodeTime(10, 30, 0, 0);
  struct Case {
    int step;
    double date, want;
  } cases[] = {
      {dtHalfMonth, march17, EncodeDate(2003, 3, 15)},
      {dtHalfMonth, EncodeDate(2003, 3, 14), EncodeDate(2003, 3, 1)},
      {dtOneMonth, march17, EncodeDate(2003, 3, 1)},
      {dtSixMonths, march17, EncodeDate(2003, 3, 1)},
      {dtOneYear, march17, EncodeDate(2003, 1, 1)},
      {dtOneWeek, march17, march17},                       // not a month step
      {dtOneDay, march17, march17},
      {dtOneYear, EncodeDate(1899, 12, 31), EncodeDate(1899, 12, 31)},  // before 1900
      {dtOneYear, 1e12, 1e12},                             // beyond the calendar
  };
  for (const Case& c : cases) EXPECT_EQ(TruncDateTime(c.step, c.date), c.want) << c.step << " " << c.date;
  EXPECT_TRUE(std::isnan(TruncDateTime(dtOneMonth, std::nan(""))));
}

TEST(DateTimeSteps, IncDecMovesByCalendarMonths) {
  const double t = EncodeTime(6, 0, 0, 0);
  struct Case {
    bool inc;
    double from;
    int step;
    double want;
  } cases[] = {
      {true, EncodeDate(2003, 3, 1) + t, dtHalfMonth, EncodeDate(2003, 3, 15) + t},
      {true, EncodeDate(2003, 3, 15), dtHalfMonth, EncodeDate(2003, 4, 1)},
      {true, EncodeDate(2003, 12, 20), dtHalfMonth, EncodeDate(2004, 1, 1)},
      {false, EncodeDate(2003, 3, 15), dtHalfMonth, EncodeDate(2003, 3, 1)},
      {false, EncodeDate(2003, 3, 20), dtHalfMonth, EncodeDate(2003, 3, 15)},
      {false, EncodeDate(2003, 1, 1), dtHalfMonth, EncodeDate(2002, 12, 15)},
      {true, EncodeDate(2003, 12, 10) + t, dtOneMonth, EncodeDate(2004, 1, 10) + t},
      {false, EncodeDate(2003, 1, 10), dtTwoMonths, EncodeDate(2002, 11, 10)},
      {true, EncodeDate(2003, 11, 30), dtThreeMonths, EncodeDate(2004, 2, 29)},  // held at the month's end
      {true, EncodeDate(2003, 1, 5), dtFourMonths, EncodeDate(2003, 5, 5)},
      {false, EncodeDate(2003, 5, 5), dtSixMonths, EncodeDate(2002, 11, 5)},
      {true, EncodeDate(2003, 5, 5), dtOneYear, EncodeDate(2004, 5, 5)},
      {true, EncodeDate(2003, 5, 5), dtOneWeek, EncodeDate(2003, 5, 12)},
      {false, EncodeDate(2003, 5, 5) + t, dtSixHours, EncodeDate(2003, 5, 5)},
      {true, EncodeDate(9999, 12, 1), dtOneMonth, EncodeDate(9999, 12, 31)},     // past the calendar: in days
  };
  for (const Case& c : cases) {
    double v = c.from;
    IncDecDateTime(c.inc, v, c.step, DateTimeStep[c.step]);
    EXPECT_DOUBLE_EQ(v, c.want) << c.inc << " " << c.from << " step " << c.step;
  }
}

TEST(Text, NumbersAndLocaleSeparators) {
  classlib::TFormatSettings german;
  german.DecimalSeparator = ',';
  german.ThousandSeparator = '.';
  EXPECT_EQ(ToLocaleSeparators("1,234.5", german), "1.234,5");
  EXPECT_EQ(FromLocaleSeparators("1.234,5", german), "1,234.5");
  classlib::TFormatSettings noGrouping;
  noGrouping.DecimalSeparator = ',';
  noGrouping.ThousandSeparator = '\0';
  EXPECT_EQ(ToLocaleSeparators("#,##0.###", noGrouping), "###0,###");
  EXPECT_EQ(ToLocaleSeparators("1,234.5"), "1,234.5");  // the default English settings
  EXPECT_DOUBLE_EQ(TextToFloatDef(" 12.5 ", -1), 12.5);
  EXPECT_DOUBLE_EQ(TextToFloatDef("12,5", -1), -1);
  EXPECT_DOUBLE_EQ(TextToFloatDef("", 7), 7);
}

TEST(Libraries, LoadQuietlyOrGiveNothing) {
  TLibraryHandle math = SafeLoadLibrary("libm.so.6");
  EXPECT_NE(math, nullptr);
  FreeLibraryIfAllowed(math);
  EXPECT_EQ(SafeLoadLibrary("liborvel-no-such-library.so"), nullptr);
  EXPECT_EQ(SafeLoadLibrary(""), nullptr);
  FreeLibraryIfAllowed(nullptr);
}

TEST(Text, ReplaceChar) {
  EXPECT_EQ(ReplaceCharInText("a,b,c", ',', true), "a b c");
  EXPECT_EQ(ReplaceCharInText("a,b,c", ',', false), "abc");
  EXPECT_EQ(IntToText(-42), "-42");
}

TEST(Text, TokensBetweenCarriageReturns) {
  struct TCase {
    const char* Text;
    std::vector<std::string> Tokens;
  };
  const TCase cases[] = {
      {"", {}},
      {"Fast Line", {"Fast Line"}},
      {"Mtx\rGrid", {"Mtx", "Grid"}},
      {"a\r", {"a"}},
      {"a\r\rb", {"a", "", "b"}},
      {"\rb", {"", "b"}},
      {"a\r\nb\n\rc", {"a", "b", "c"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(KivNumTokens(c.Text), static_cast<int>(c.Tokens.size()));
    for (int i = 0; i < static_cast<int>(c.Tokens.size()); ++i)
      EXPECT_EQ(KivExtractToken(c.Text, i), c.Tokens[static_cast<std::size_t>(i)]);
    EXPECT_EQ(KivExtractToken(c.Text, static_cast<int>(c.Tokens.size())), "");
    EXPECT_EQ(KivExtractToken(c.Text, -1), "");
  }
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

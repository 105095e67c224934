// Covers SysUtils_IncMonth.cpp: month arithmetic with the day held at the
// month's end, the time of day kept, and the calendar's limits.
#include <gtest/gtest.h>

#include "testing/TestSupport.h"

#include <string>

#include "platform/classlib/SysUtils.h"

namespace {

using namespace classlib;

TEST(IncMonth, Table) {
  struct Case {
    int y, m, d, months;
    int wy, wm, wd;
  } cases[] = {
      {2003, 3, 17, 1, 2003, 4, 17},    {2003, 12, 15, 1, 2004, 1, 15},
      {2003, 1, 15, -1, 2002, 12, 15},  {2004, 1, 31, 1, 2004, 2, 29},   // leap February
      {2003, 1, 31, 1, 2003, 2, 28},    {2003, 8, 31, -2, 2003, 6, 30},
      {2003, 5, 10, 12, 2004, 5, 10},   {2003, 5, 10, -12, 2002, 5, 10},
      {2003, 5, 10, -29, 2000, 12, 10}, {2003, 5, 10, 0, 2003, 5, 10},
      {1899, 12, 29, 1, 1900, 1, 29},   {1, 1, 1, 119987, 9999, 12, 1},
  };
  for (const Case& c : cases) {
    const TDateTime got = IncMonth(EncodeDate(c.y, c.m, c.d), c.months);
    EXPECT_EQ(got, EncodeDate(c.wy, c.wm, c.wd)) << c.y << "-" << c.m << "-" << c.d << " + " << c.months;
  }
}

TEST(IncMonth, KeepsTheTimeOfDayOnBothSidesOfTheEpoch) {
  const TDateTime noonish = EncodeTime(13, 45, 10, 500);
  EXPECT_EQ(IncMonth(EncodeDate(2003, 3, 17) + noonish, 2), EncodeDate(2003, 5, 17) + noonish);
  // 1899-12-29 06:00 is -1.25; one month earlier the time still counts forwards.
  const TDateTime before = IncMonth(-1.25, -1);
  int y = 0, m = 0, d = 0, h = 0, mi = 0, s = 0, ms = 0;
  DecodeDateTime(before, y, m, d, h, mi, s, ms);
  EXPECT_EQ(y * 10000 + m * 100 + d, 18991129);
  EXPECT_EQ(h, 6);
}

TEST(IncMonth, OutsideTheCalendarRaises) {
  auto message = orvel::testing::RaisedMessage<EConvertError>;
  EXPECT_EQ(message([] { IncMonth(EncodeDate(9999, 12, 1), 1); }), "Invalid argument to date encode");
  EXPECT_EQ(message([] { IncMonth(EncodeDate(1, 1, 31), -1); }), "Invalid argument to date encode");
  EXPECT_EQ(message([] { IncMonth(1e9, 1); }), "Invalid argument to date decode");
  EXPECT_EQ(message([] { IncMonth(EncodeDate(2000, 1, 1), 2147483647); }), "Invalid argument to date encode");
}

}  // namespace

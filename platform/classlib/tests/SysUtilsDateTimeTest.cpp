// Covers SysUtils_DateTime.cpp: encoding and decoding, Unix time, the clock,
// FormatDateTime with the English default settings, and reading times of day.
#include <gtest/gtest.h>

#include "testing/TestSupport.h"

#include <cmath>
#include <string>

#include "platform/classlib/SysUtils.h"

namespace {

using namespace classlib;

constexpr auto Message = orvel::testing::RaisedMessage<EConvertError>;

TEST(DateTime, EncodeKnownDays) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1970, 1, 1), UnixDateDelta);
  EXPECT_EQ(EncodeDate(2000, 2, 29), 36585);
  EXPECT_EQ(EncodeDate(2024, 3, 5), 45356);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
}

TEST(DateTime, EncodeRefusesImpossibleDatesAndTimes) {
  const int dates[][3] = {{2001, 2, 29}, {1900, 2, 29}, {0, 1, 1},    {10000, 1, 1},
                          {2000, 13, 1}, {2000, 0, 1},  {2000, 1, 0}, {2000, 4, 31}};
  for (const auto& d : dates)
    EXPECT_EQ(Message([&] { EncodeDate(d[0], d[1], d[2]); }), "Invalid argument to date encode")
        << d[0] << "-" << d[1] << "-" << d[2];
  const int times[][4] = {{24, 0, 0, 0}, {12, 60, 0, 0}, {12, 0, 60, 0}, {12, 0, 0, 1000}, {-1, 0, 0, 0}};
  for (const auto& t : times)
    EXPECT_EQ(Message([&] { EncodeTime(t[0], t[1], t[2], t[3]); }), "Invalid argument to time encode");
}

TEST(DateTime, DateRoundTripOverTheWholeCalendar) {
  int checked = 0;
  for (double day = -693593; day <= 2958465; day += 37) {
    int y, m, d;
    DecodeDate(day, y, m, d);
    ASSERT_EQ(EncodeDate(y, m, d), day) << y << "-" << m << "-" << d;
    ++checked;
  }
  EXPECT_GT(checked, 90000);
  int y, m, d;
  DecodeDate(2958465, y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 99991231);
}

TEST(DateTime, TimeRoundTripAndRounding) {
  for (int h : {0, 1, 11, 12, 23})
    for (int n : {0, 7, 59})
      for (int s : {0, 30, 59})
        for (int ms : {0, 1, 500, 999}) {
          int h2, n2, s2, ms2;
          DecodeTime(EncodeDate(2020, 6, 15) + EncodeTime(h, n, s, ms), h2, n2, s2, ms2);
          ASSERT_EQ((((h2 * 60 + n2) * 60 + s2) * 1000 + ms2), (((h * 60 + n) * 60 + s) * 1000 + ms));
        }
  // 0.4 ms before midnight rounds to midnight of the next day.
  int y, m, d, h, n, s, ms;
  DecodeDateTime(EncodeDate(2020, 12, 31) + (MSecsPerDay - 0.4) / MSecsPerDay, y, m, d, h, n, s, ms);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20210101);
  EXPECT_EQ(h + n + s + ms, 0);
}

TEST(DateTime, NegativeValuesCountDaysBackAndTimeForward) {
  int y, m, d, h, n, s, ms;
  DecodeDateTime(-1.25, y, m, d, h, n, s, ms);
  EXPECT_EQ(y * 10000 + m * 100 + d, 18991229);
  EXPECT_EQ(h, 6);
  EXPECT_EQ(DayOfWeek(0), 7);  // 1899-12-30 was a Saturday
  EXPECT_EQ(DayOfWeek(1), 1);
  EXPECT_EQ(DayOfWeek(-1), 6);
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 1, 1)), 2);
}

TEST(DateTime, DecodeRefusesValuesOutsideTheCalendar) {
  int y, m, d;
  for (double v : {double(NAN), double(INFINITY), -693594.0, 2958466.0})
    EXPECT_EQ(Message([&] { DecodeDate(v, y, m, d); }), "Invalid argument to date decode") << v;
}

TEST(DateTime, UnixTime) {
  EXPECT_EQ(UnixToDateTime(0), UnixDateDelta);
  EXPECT_EQ(UnixToDateTime(86400 * 365), EncodeDate(1971, 1, 1));
  EXPECT_EQ(UnixToDateTime(-86400), UnixDateDelta - 1);
  EXPECT_EQ(DateTimeToUnix(EncodeDate(2021, 3, 4) + EncodeTime(5, 6, 7, 0)), 1614834367);
  // 1899-12-29 06:00 in the runtime's form is -1.25.
  const std::int64_t before = -2209161600LL - 86400 + 6 * 3600;
  EXPECT_EQ(UnixToDateTime(before), -1.25);
  EXPECT_EQ(DateTimeToUnix(-1.25), before);
  for (std::int64_t t = -4000000000LL; t < 4000000000LL; t += 7777777)
    ASSERT_EQ(DateTimeToUnix(UnixToDateTime(t)), t) << t;
}

TEST(DateTime, ClockAgreesWithItself) {
  const TDateTime now = Now();
  EXPECT_GT(now, EncodeDate(2020, 1, 1));
  EXPECT_LE(Date(), now);
  EXPECT_GE(Time(), 0);
  EXPECT_LT(Time(), 1);
}

TEST(FormatDateTime, TokenTable) {
  const TDateTime t = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);
  const TDateTime am = EncodeDate(2024, 3, 5) + EncodeTime(0, 30, 0, 0);
  const TDateTime noon = EncodeDate(2024, 3, 5) + EncodeTime(12, 0, 0, 0);
  const TDateTime midnight = EncodeDate(2024, 3, 5);
  const struct {
    const char* format;
    TDateTime value;
    const char* text;
  } cases[] = {
      {"yyyy-mm-dd hh:nn:ss.zzz", t, "2024-03-05 14:07:09.045"},
      {"d/m/yy", t, "5/3/24"},
      {"dd.mm.yyyy", t, "05.03.2024"},
      {"ddd dddd", t, "Tue Tuesday"},
      {"mmm mmmm", t, "Mar March"},
      {"hh:mm", t, "14:07"},   // m after h is minutes
      {"h:mm am/pm", t, "2:07 pm"},
      {"H:MM AM/PM", t, "2:07 PM"},
      {"h a/p", t, "2 p"},
      {"hh:nn ampm", t, "02:07 PM"},
      {"h:nn am/pm", am, "12:30 am"},
      {"h:nn am/pm", noon, "12:00 pm"},
      {"c", t, "3/5/2024 2:07:09 PM"},
      {"c", midnight, "3/5/2024"},
      {"ddddd", t, "3/5/2024"},
      {"dddddd", t, "Tuesday, March 5, 2024"},
      {"t", t, "2:07 PM"},
      {"tt", t, "2:07:09 PM"},
      {"z zzz", t, "45 045"},
      {" h\":\"n\":\"s", t, " 14:7:9"},
      {"yyyy 'year'", t, "2024 year"},
      {"[yyyy]", t, "[2024]"},
      {"", t, "3/5/2024 2:07:09 PM"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.format, c.value), c.text) << c.format;
}

TEST(FormatDateTime, FollowsTheSettings) {
  const TDateTime t = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0);
  TFormatSettings s;
  s.TimeSeparator = '.';
  s.DateSeparator = '-';
  s.ShortDateFormat = "dd/mm/yyyy";
  s.LongTimeFormat = "hh:nn:ss";
  EXPECT_EQ(FormatDateTime("hh:nn", t, s), "14.07");
  EXPECT_EQ(FormatDateTime("h\":\"n", t, s), "14:7");  // quoted colons stay colons
  EXPECT_EQ(FormatDateTime("c", t, s), "05-03-2024 14.07.09");
  // A format that names itself stops after two levels instead of recursing.
  s.ShortDateFormat = "ddddd|";
  EXPECT_EQ(FormatDateTime("ddddd", t, s), "||");

  const TFormatSettings saved = FormatSettings();
  TFormatSettings process = saved;
  process.ShortDateFormat = "dd.mm.yyyy";
  process.DateSeparator = '.';
  SetFormatSettings(process);
  EXPECT_EQ(DateToStr(t), "05.03.2024");
  EXPECT_EQ(DateTimeToStr(t), "05.03.2024 2:07:09 PM");
  SetFormatSettings(saved);
  EXPECT_EQ(DateToStr(t), "3/5/2024");
  EXPECT_EQ(TimeToStr(t), "2:07:09 PM");
}

TEST(StrToTime, ReadsWhatTheSettingsWrite) {
  struct Case {
    const char* text;
    int hour, min, sec, msec;
  } cases[] = {
      {"6:00", 6, 0, 0, 0},           {"06:00:00", 6, 0, 0, 0},     {" 18:30:15 ", 18, 30, 15, 0},
      {"0:00:00.250", 0, 0, 0, 250},  {"1:02:03.5", 1, 2, 3, 500},  {"12:00:00 AM", 0, 0, 0, 0},
      {"12:00:00 pm", 12, 0, 0, 0},   {"2:07:09 PM", 14, 7, 9, 0},  {"23:59:59.999", 23, 59, 59, 999},
  };
  for (const Case& c : cases) EXPECT_EQ(StrToTime(c.text), EncodeTime(c.hour, c.min, c.sec, c.msec)) << c.text;
  // Every time the long format writes reads back.
  for (int m = 0; m < 24 * 60; m += 7) {
    const TDateTime t = EncodeTime(m / 60, m % 60, m % 60, 0);
    EXPECT_EQ(StrToTime(TimeToStr(t)), t) << TimeToStr(t);
  }
}

TEST(StrToTime, RefusesWhatIsNoTime) {
  for (const char* text : {"", "6", "6:", "abc", "24:00", "6:60", "6:00:60", "13:00 PM", "0:00 AM", "6:00 xy",
                           "6:00:00.", "6:00:00.1234", "6.00"}) {
    TDateTime t = -1;
    EXPECT_FALSE(TryStrToTime(text, t)) << text;
    EXPECT_EQ(t, -1) << text;
    EXPECT_EQ(Message([&] { StrToTime(text); }), "'" + std::string(text) + "' is not a valid time");
  }
  TFormatSettings s;
  s.TimeSeparator = '.';
  s.DecimalSeparator = ',';
  EXPECT_EQ(StrToTime("6.30.00,5", s), EncodeTime(6, 30, 0, 500));
  EXPECT_FALSE([&] { TDateTime t; return TryStrToTime("6:30", t, s); }());
}

TEST(StrToDateTime, ReadsWhatDateTimeToStrWrites) {
  struct Case {
    const char* text;
    TDateTime value;
  } cases[] = {
      {"12/31/1899", 1},
      {"12/31/1899 12:00:00 PM", 1.5},
      {" 1/2/2024  06:30 ", EncodeDate(2024, 1, 2) + EncodeTime(6, 30, 0, 0)},
      {"6:00:00 AM", 0.25},
      {"12/29/1899 6:00", -1.25},
      {"2/29/2024 23:59:59.5", EncodeDate(2024, 2, 29) + EncodeTime(23, 59, 59, 500)},
  };
  for (const Case& c : cases) EXPECT_EQ(StrToDateTime(c.text), c.value) << c.text;
  for (TDateTime v : {1.0, 1.5, 2.75, 45000.125, -1.25, 0.25, 0.0})
    EXPECT_EQ(StrToDateTime(DateTimeToStr(v)), v) << DateTimeToStr(v);
  // A short year lies in this century; without a year the date is this year's.
  int year = 0, month = 0, day = 0;
  DecodeDate(Date(), year, month, day);
  EXPECT_EQ(StrToDateTime("3/4/24"), EncodeDate(year / 100 * 100 + 24, 3, 4));
  EXPECT_EQ(StrToDateTime("3/4"), EncodeDate(year, 3, 4));
}

TEST(StrToDateTime, FollowsTheOrderAndSeparatorOfTheSettings) {
  TFormatSettings s;
  s.ShortDateFormat = "dd.mm.yyyy";
  s.DateSeparator = '.';
  EXPECT_EQ(StrToDateTime("31.12.1899 18:00:00", s), 1.75);
  s.ShortDateFormat = "yyyy-MM-dd";
  s.DateSeparator = '-';
  EXPECT_EQ(StrToDateTime("2024-01-02", s), EncodeDate(2024, 1, 2));
  int year = 0, month = 0, day = 0;
  DecodeDate(Date(), year, month, day);
  EXPECT_EQ(StrToDateTime("01-02", s), EncodeDate(year, 1, 2));
}

TEST(StrToDateTime, RefusesWhatIsNoDateAndTime) {
  for (const char* text : {"", "abc", "12", "13/1/2024", "2/30/2024", "1/2/2024 25:00", "1/2/2024 x", "1/2/2024/5",
                           "1/2/10000", "6:00 xy"}) {
    TDateTime t = -7;
    EXPECT_FALSE(TryStrToDateTime(text, t)) << text;
    EXPECT_EQ(t, -7) << text;
    EXPECT_EQ(Message([&] { StrToDateTime(text); }), "'" + std::string(text) + "' is not a valid date and time");
  }
}

}  // namespace

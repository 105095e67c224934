// The steps of date-time axes and the calendar arithmetic that moves and
// aligns dates by them.
//
// Tested by: chart/tests/KivProcsTest.cpp
#pragma once

#include <string>

#include "platform/classlib/SysUtils.h"

namespace chart {

constexpr int NumDateTimeSteps = 27;
// The increments of date-time axes in days, from one microsecond to one year.
extern const double DateTimeStep[NumDateTimeSteps];
enum TDateTimeStep : int {
  dtOneMicroSecond, dtOneMillisecond, dtOneSecond, dtFiveSeconds, dtTenSeconds,
  dtFifteenSeconds, dtThirtySeconds, dtOneMinute, dtFiveMinutes, dtTenMinutes,
  dtFifteenMinutes, dtThirtyMinutes, dtOneHour, dtTwoHours, dtSixHours, dtTwelveHours,
  dtOneDay, dtTwoDays, dtThreeDays, dtOneWeek, dtHalfMonth, dtOneMonth, dtTwoMonths,
  dtThreeMonths, dtFourMonths, dtSixMonths, dtOneYear, dtNone
};
// The index of the step equal to the given one within a microsecond; dtNone when none is.
int FindDateTimeStep(double stepInDays);
// The next larger table step; steps below one microsecond count as one microsecond.
double NextDateTimeStep(double stepInDays);

// The label format of a date-time axis with this step: the long time format
// for steps up to one day, else the short date format.
std::string DateTimeDefaultFormat(double stepInDays);
std::string DateTimeDefaultFormat(double stepInDays, const classlib::TFormatSettings& settings);

// The earliest date the step arithmetic aligns (1900-01-01); earlier ones stay as they are.
constexpr double KivMinDateTime = 2.0;
// The date aligned to the start of its step: a half month to the 1st or the
// 15th, the month steps to the 1st, a year to January 1st, at midnight. Other
// steps, dates before KivMinDateTime and dates the calendar cannot hold are
// returned unchanged.
double TruncDateTime(int stepIndex, double date);
// Moves value one step forwards (increment) or backwards. The month steps move
// by whole calendar months (a half month between the 1st and the 15th), the
// day held at the end of a shorter month and the time of day kept; the other
// steps, and a month step that would leave the calendar, add or subtract stepInDays.
void IncDecDateTime(bool increment, double& value, int stepIndex, double stepInDays);

}  // namespace chart

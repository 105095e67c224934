// The steps of date-time axes and the date arithmetic by them.
//
// Tested by: chart/tests/KivProcsTest.cpp
#include <cmath>

#include "chart/core/KivProcsDateTime.h"

namespace chart {

namespace {
constexpr double OneSecond = 1.0 / 86400.0;
constexpr double OneMicroSecond = 1.0 / 86400000000.0;
}  // namespace

const double DateTimeStep[NumDateTimeSteps] = {
    OneMicroSecond, OneSecond / 1000.0, OneSecond, 5 * OneSecond, 10 * OneSecond,
    15 * OneSecond, 30 * OneSecond, 60 * OneSecond, 5 * 60 * OneSecond, 10 * 60 * OneSecond,
    15 * 60 * OneSecond, 30 * 60 * OneSecond, 1.0 / 24, 2.0 / 24, 6.0 / 24, 12.0 / 24,
    1, 2, 3, 7, 15, 30, 60, 90, 120, 182, 365};

int FindDateTimeStep(double stepInDays) {
  for (int i = NumDateTimeSteps - 1; i >= 0; --i)
    if (std::fabs(DateTimeStep[i] - stepInDays) < OneMicroSecond) return i;
  return dtNone;
}

double NextDateTimeStep(double stepInDays) {
  // A step finer than the table's finest is taken as that finest step, not
  // as "nothing matched" (which would jump to a whole year).
  if (stepInDays < DateTimeStep[0]) stepInDays = DateTimeStep[0];
  for (int i = NumDateTimeSteps - 2; i >= 0; --i)
    if (stepInDays >= DateTimeStep[i]) return DateTimeStep[i + 1];
  return DateTimeStep[NumDateTimeSteps - 1];
}

namespace {

// One past the last day the calendar holds (10000-01-01).
constexpr double kEndOfCalendar = 2958466;

bool InCalendar(double date) { return date >= KivMinDateTime && date < kEndOfCalendar; }

// Months per step of the month steps (half month through one year).
int MonthsOfStep(int stepIndex) {
  switch (stepIndex) {
    case dtOneMonth: return 1;
    case dtTwoMonths: return 2;
    case dtThreeMonths: return 3;
    case dtFourMonths: return 4;
    case dtSixMonths: return 6;
    case dtOneYear: return 12;
    default: return 0;
  }
}

// The half-month step: forwards from before the 15th to the 15th, else to the
// 1st of the next month; backwards from after the 15th to the 15th, from the
// 2nd..15th to the 1st, and from the 1st to the 15th of the previous month.
double StepHalfMonth(bool increment, double value) {
  int year = 0, month = 0, day = 0, hour = 0, min = 0, sec = 0, msec = 0;
  classlib::DecodeDateTime(value, year, month, day, hour, min, sec, msec);
  double target = 0;
  if (increment)
    target = day < 15 ? classlib::EncodeDate(year, month, 15)
                      : classlib::IncMonth(classlib::EncodeDate(year, month, 1), 1);
  else if (day > 15)
    target = classlib::EncodeDate(year, month, 15);
  else if (day > 1)
    target = classlib::EncodeDate(year, month, 1);
  else
    target = classlib::IncMonth(classlib::EncodeDate(year, month, 15), -1);
  const double time = classlib::EncodeTime(hour, min, sec, msec);
  return target < 0 ? target - time : target + time;
}

}  // namespace

std::string DateTimeDefaultFormat(double stepInDays) {
  return DateTimeDefaultFormat(stepInDays, *classlib::CurrentFormatSettings());
}

std::string DateTimeDefaultFormat(double stepInDays, const classlib::TFormatSettings& settings) {
  return stepInDays <= 1 ? settings.LongTimeFormat : settings.ShortDateFormat;
}

double TruncDateTime(int stepIndex, double date) {
  if (stepIndex < dtHalfMonth || stepIndex > dtOneYear || !InCalendar(date)) return date;
  int year = 0, month = 0, day = 0;
  classlib::DecodeDate(date, year, month, day);
  if (stepIndex == dtHalfMonth)
    day = day >= 15 ? 15 : 1;
  else
    day = 1;
  if (stepIndex == dtOneYear) month = 1;
  return classlib::EncodeDate(year, month, day);
}

void IncDecDateTime(bool increment, double& value, int stepIndex, double stepInDays) {
  if (stepIndex >= dtHalfMonth && stepIndex <= dtOneYear && std::isfinite(value)) {
    try {
      if (stepIndex == dtHalfMonth)
        value = StepHalfMonth(increment, value);
      else
        value = classlib::IncMonth(value, increment ? MonthsOfStep(stepIndex) : -MonthsOfStep(stepIndex));
      return;
    } catch (const classlib::EConvertError&) {
      // Past the calendar's ends the step is taken in days, so that a label
      // loop always moves on.
    }
  }
  value += increment ? stepInDays : -stepInDays;
}

}  // namespace chart

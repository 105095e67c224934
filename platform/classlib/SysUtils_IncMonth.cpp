// Calendar month arithmetic on date-times.
// Tested by: tests/SysUtilsIncMonthTest.cpp.
#include <algorithm>
#include <cstdint>

#include "platform/classlib/SysUtils.h"

namespace classlib {

TDateTime IncMonth(TDateTime value, int numberOfMonths) {
  int year = 0, month = 0, day = 0, hour = 0, min = 0, sec = 0, msec = 0;
  DecodeDateTime(value, year, month, day, hour, min, sec, msec);
  // Months counted from year 0 in 64 bits, so that no count overflows.
  const std::int64_t total = static_cast<std::int64_t>(year) * 12 + (month - 1) + numberOfMonths;
  const std::int64_t newYear = total >= 0 ? total / 12 : -((-total + 11) / 12);
  const int newMonth = static_cast<int>(total - newYear * 12) + 1;
  if (newYear < 1 || newYear > 9999) throw EConvertError("Invalid argument to date encode");
  const int y = static_cast<int>(newYear);
  const TDateTime date = EncodeDate(y, newMonth, std::min(day, DaysInMonth(y, newMonth)));
  const TDateTime time = EncodeTime(hour, min, sec, msec);
  // Before 1899-12-30 the time of day still counts forwards from the day's start.
  return date < 0 ? date - time : date + time;
}

}  // namespace classlib

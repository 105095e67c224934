// The date-time type: encoding, decoding, the clock, Unix time and
// FormatDateTime with the runtime's tokens.
// Tested by: tests/SysUtilsDateTimeTest.cpp.
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <string>

#include "platform/classlib/SysUtils.h"

namespace classlib {

namespace {

constexpr std::int64_t kMSecsPerDay = 86400000;
// Serial days of 0001-01-01 and 9999-12-31, the range the calendar functions cover.
constexpr double kMinDate = -693593;
constexpr double kMaxDate = 2958466;  // exclusive: 10000-01-01

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's method).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(y + (month <= 2));
}

constexpr std::int64_t kUnixToSerial = 25569;

// A date-time split into its day (1899-12-30 is 0) and the milliseconds of
// that day, the time rounded to the millisecond and carried into the next day.
struct TSplit {
  std::int64_t Day;
  std::int64_t MSec;
};

TSplit Split(TDateTime value) {
  if (!std::isfinite(value) || value < kMinDate || value >= kMaxDate)
    throw EConvertError("Invalid argument to date decode");
  const double day = std::trunc(value);
  auto msec = static_cast<std::int64_t>(std::nearbyint(std::fabs(value - day) * static_cast<double>(kMSecsPerDay)));
  auto d = static_cast<std::int64_t>(day);
  if (msec >= kMSecsPerDay) {
    msec -= kMSecsPerDay;
    ++d;
  }
  return {d, msec};
}

// A day and time back to the runtime's form: for days before 1899-12-30 the
// time still counts forwards, so it is subtracted.
TDateTime Combine(std::int64_t day, double timeFraction) {
  const auto d = static_cast<double>(day);
  return day < 0 ? d - timeFraction : d + timeFraction;
}

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& value) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
    return false;
  value = static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                              kUnixToSerial);
  return true;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& value) {
  if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999)
    return false;
  const std::int64_t total = ((static_cast<std::int64_t>(hour) * 60 + min) * 60 + sec) * 1000 + msec;
  value = static_cast<double>(total) / static_cast<double>(kMSecsPerDay);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime value = 0;
  if (!TryEncodeDate(year, month, day, value)) throw EConvertError("Invalid argument to date encode");
  return value;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  TDateTime value = 0;
  if (!TryEncodeTime(hour, min, sec, msec, value)) throw EConvertError("Invalid argument to time encode");
  return value;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  CivilFromDays(Split(value).Day - kUnixToSerial, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec) {
  std::int64_t ms = Split(value).MSec;
  msec = static_cast<int>(ms % 1000);
  ms /= 1000;
  sec = static_cast<int>(ms % 60);
  ms /= 60;
  min = static_cast<int>(ms % 60);
  hour = static_cast<int>(ms / 60);
}

void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& min, int& sec,
                    int& msec) {
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, min, sec, msec);
}

int DayOfWeek(TDateTime value) {
  // 1899-12-30 was a Saturday (7).
  const std::int64_t day = Split(value).Day;
  return static_cast<int>(((day % 7) + 7 + 6) % 7) + 1;
}

TDateTime Now() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), static_cast<int>(ms < 0 ? 0 : ms));
}

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time() {
  const TDateTime now = Now();
  return now - std::trunc(now);
}

TDateTime UnixToDateTime(std::int64_t unixTime) {
  const std::int64_t day = (unixTime >= 0 ? unixTime / 86400 : (unixTime - 86399) / 86400);
  const std::int64_t second = unixTime - day * 86400;
  return Combine(day + kUnixToSerial, static_cast<double>(second) / SecsPerDay);
}

std::int64_t DateTimeToUnix(TDateTime value) {
  const TSplit split = Split(value);
  const std::int64_t seconds = (split.Day - kUnixToSerial) * 86400;
  // To the nearest second, halves to even: the seconds stored in history
  // files must round-trip through TDateTime whatever the millisecond noise.
  return seconds + static_cast<std::int64_t>(std::nearbyint(static_cast<double>(split.MSec) / 1000.0));
}

// ---------------------------------------------------------------------------

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool StartsWithNoCase(std::string_view s, std::size_t at, std::string_view word) {
  if (s.size() - at < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (Upper(s[at + i]) != Upper(word[i])) return false;
  return true;
}

class TDateFormatter {
 public:
  TDateFormatter(TDateTime value, const TFormatSettings& settings) : FSettings(settings) {
    DecodeDateTime(value, FYear, FMonth, FDay, FHour, FMin, FSec, FMsec);
    FMidnight = FHour == 0 && FMin == 0 && FSec == 0 && FMsec == 0;
    FDayOfWeek = DayOfWeek(value);
  }

  std::string Run(std::string_view format) {
    Append(format, 0);
    return FOut;
  }

 private:
  void Number(int value, int width) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    FOut += digits;
  }

  // Whether an am/pm token follows at or after `from` (outside quotes).
  static bool TwelveHourClock(std::string_view f, std::size_t from) {
    char quote = 0;
    for (std::size_t i = from; i < f.size(); ++i) {
      if (quote) {
        if (f[i] == quote) quote = 0;
      } else if (f[i] == '\'' || f[i] == '"') {
        quote = f[i];
      } else if (StartsWithNoCase(f, i, "am/pm") || StartsWithNoCase(f, i, "a/p") ||
                 StartsWithNoCase(f, i, "ampm")) {
        return true;
      }
    }
    return false;
  }

  // Nested formats (c, t, ddddd) go two levels deep at most, so a settings
  // format that names itself cannot recurse without end.
  void Append(std::string_view f, int level) {
    if (level > 2) return;
    char lastToken = 0;
    std::size_t i = 0;
    while (i < f.size()) {
      const char c = f[i];
      const char token = Upper(c);
      std::size_t count = 1;
      while (i + count < f.size() && Upper(f[i + count]) == token) ++count;
      switch (token) {
        case '\'':
        case '"': {
          const std::size_t close = f.find(c, i + 1);
          const std::size_t end = close == std::string_view::npos ? f.size() : close;
          FOut.append(f.substr(i + 1, end - i - 1));
          i = end + 1;
          continue;
        }
        case 'C':
          Append(FSettings.ShortDateFormat, level + 1);
          if (!FMidnight) {
            FOut.push_back(' ');
            Append(FSettings.LongTimeFormat, level + 1);
          }
          break;
        case 'D':
          if (count == 1) Number(FDay, 1);
          else if (count == 2) Number(FDay, 2);
          else if (count == 3) FOut += FSettings.ShortDayNames[static_cast<std::size_t>(FDayOfWeek - 1)];
          else if (count == 4) FOut += FSettings.LongDayNames[static_cast<std::size_t>(FDayOfWeek - 1)];
          else if (count == 5) Append(FSettings.ShortDateFormat, level + 1);
          else Append(FSettings.LongDateFormat, level + 1);
          break;
        case 'M':
          if (lastToken == 'H') {
            Number(FMin, count >= 2 ? 2 : 1);
          } else if (count <= 2) {
            Number(FMonth, static_cast<int>(count));
          } else {
            const auto& names = count == 3 ? FSettings.ShortMonthNames : FSettings.LongMonthNames;
            FOut += names[static_cast<std::size_t>(FMonth - 1)];
          }
          break;
        case 'Y':
          if (count <= 2) Number(FYear % 100, 2);
          else Number(FYear, 4);
          break;
        case 'H': {
          int hour = FHour;
          if (TwelveHourClock(f, i + count)) {
            hour %= 12;
            if (hour == 0) hour = 12;
          }
          Number(hour, count >= 2 ? 2 : 1);
          break;
        }
        case 'N': Number(FMin, count >= 2 ? 2 : 1); break;
        case 'S': Number(FSec, count >= 2 ? 2 : 1); break;
        case 'Z': Number(FMsec, count >= 3 ? 3 : 1); break;
        case 'T':
          Append(count == 1 ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat, level + 1);
          break;
        case 'A':
          if (StartsWithNoCase(f, i, "am/pm")) {
            FOut.append(f.substr(FHour < 12 ? i : i + 3, 2));
            i += 5;
          } else if (StartsWithNoCase(f, i, "a/p")) {
            FOut.push_back(f[FHour < 12 ? i : i + 2]);
            i += 3;
          } else if (StartsWithNoCase(f, i, "ampm")) {
            FOut += FHour < 12 ? FSettings.TimeAMString : FSettings.TimePMString;
            i += 4;
          } else {
            FOut.push_back(c);
            ++i;
          }
          lastToken = 'A';
          continue;
        case '/':
        case ':': {
          // Separators, like literals, leave the last token as it was: "h:mm" shows minutes.
          const char separator = token == '/' ? FSettings.DateSeparator : FSettings.TimeSeparator;
          if (separator != '\0') FOut.append(count, separator);
          i += count;
          continue;
        }
        default:
          FOut.append(f.substr(i, count));
          i += count;
          continue;
      }
      lastToken = token;
      i += count;
    }
  }

  const TFormatSettings& FSettings;
  std::string FOut;
  int FYear = 0, FMonth = 0, FDay = 0, FHour = 0, FMin = 0, FSec = 0, FMsec = 0, FDayOfWeek = 1;
  bool FMidnight = false;
};

}  // namespace

std::string FormatDateTime(std::string_view format, TDateTime value, const TFormatSettings& settings) {
  if (format.empty()) format = "c";
  return TDateFormatter(value, settings).Run(format);
}

std::string FormatDateTime(std::string_view format, TDateTime value) {
  const auto settings = CurrentFormatSettings();
  return FormatDateTime(format, value, *settings);
}

void DateTimeToString(std::string& result, std::string_view format, TDateTime value) {
  result = FormatDateTime(format, value);
}

std::string DateToStr(TDateTime value) { return FormatDateTime("ddddd", value); }
std::string TimeToStr(TDateTime value) { return FormatDateTime("tt", value); }
std::string DateTimeToStr(TDateTime value) { return FormatDateTime("c", value); }

// ---------------------------------------------------------------------------

namespace {

class TTimeScanner {
 public:
  explicit TTimeScanner(std::string_view s) : FText(s) {}

  void SkipBlanks() {
    while (FAt < FText.size() && FText[FAt] == ' ') ++FAt;
  }
  bool Char(char c) {
    if (c == '\0' || FAt >= FText.size() || FText[FAt] != c) return false;
    ++FAt;
    return true;
  }
  // Up to maxDigits decimal digits, at least one; their count in digits.
  bool Number(int maxDigits, int& value, int& digits) {
    value = 0;
    digits = 0;
    while (FAt < FText.size() && FText[FAt] >= '0' && FText[FAt] <= '9' && digits < maxDigits) {
      value = value * 10 + (FText[FAt++] - '0');
      ++digits;
    }
    return digits > 0;
  }
  bool Word(std::string_view word) {
    if (word.empty() || !StartsWithNoCase(FText, FAt, word)) return false;
    FAt += word.size();
    return true;
  }
  bool AtEnd() const { return FAt == FText.size(); }
  std::string_view Rest() const { return FText.substr(FAt); }

 private:
  std::string_view FText;
  std::size_t FAt = 0;
};

}  // namespace

bool TryStrToTime(std::string_view s, TDateTime& value, const TFormatSettings& settings) {
  TTimeScanner scan(s);
  int hour = 0, min = 0, sec = 0, msec = 0, digits = 0;
  scan.SkipBlanks();
  if (!scan.Number(2, hour, digits) || !scan.Char(settings.TimeSeparator) || !scan.Number(2, min, digits))
    return false;
  if (scan.Char(settings.TimeSeparator)) {
    if (!scan.Number(2, sec, digits)) return false;
    if (scan.Char(settings.DecimalSeparator)) {
      if (!scan.Number(3, msec, digits)) return false;
      for (; digits < 3; ++digits) msec *= 10;  // ".25" is 250 ms
    }
  }
  scan.SkipBlanks();
  const bool am = scan.Word(settings.TimeAMString) || scan.Word("AM");
  const bool pm = !am && (scan.Word(settings.TimePMString) || scan.Word("PM"));
  scan.SkipBlanks();
  if (!scan.AtEnd()) return false;
  if (am || pm) {
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + (pm ? 12 : 0);
  }
  return TryEncodeTime(hour, min, sec, msec, value);
}

bool TryStrToTime(std::string_view s, TDateTime& value) {
  const auto settings = CurrentFormatSettings();
  return TryStrToTime(s, value, *settings);
}

TDateTime StrToTime(std::string_view s, const TFormatSettings& settings) {
  TDateTime value = 0;
  if (!TryStrToTime(s, value, settings)) throw EConvertError("'" + std::string(s) + "' is not a valid time");
  return value;
}

TDateTime StrToTime(std::string_view s) {
  const auto settings = CurrentFormatSettings();
  return StrToTime(s, *settings);
}

namespace {

enum TDatePart : std::uint8_t { dpDay, dpMonth, dpYear };

// The order in which a date format writes day, month and year: by the first
// letter of each ("M/d/yyyy" is month, day, year).
std::array<TDatePart, 3> DateOrder(std::string_view format) {
  std::array<TDatePart, 3> order{dpMonth, dpDay, dpYear};
  std::size_t found = 0;
  for (char c : format) {
    const char u = Upper(c);
    const TDatePart part = u == 'D' ? dpDay : u == 'M' ? dpMonth : dpYear;
    if ((u != 'D' && u != 'M' && u != 'Y') || std::find(order.begin(), order.begin() + found, part) != order.begin() + found)
      continue;
    order[found++] = part;
    if (found == order.size()) break;
  }
  return found == order.size() ? order : std::array<TDatePart, 3>{dpMonth, dpDay, dpYear};
}

bool TryScanDate(TTimeScanner& scan, TDateTime& value, const TFormatSettings& settings) {
  int numbers[3] = {0, 0, 0}, digits[3] = {0, 0, 0};
  int count = 0;
  scan.SkipBlanks();
  while (count < 3) {
    if (count > 0 && !scan.Char(settings.DateSeparator)) break;
    if (!scan.Number(4, numbers[count], digits[count])) return false;
    ++count;
  }
  if (count < 2) return false;
  std::array<TDatePart, 3> order = DateOrder(settings.ShortDateFormat);
  int year = 0, month = 0, day = 0;
  int yearDigits = 4;
  if (count == 2) {
    // Day and month in the order the format has them; the year is this one.
    int y = 0, m = 0, d = 0;
    DecodeDate(Date(), y, m, d);
    year = y;
    const bool dayFirst = std::find(order.begin(), order.end(), dpDay) < std::find(order.begin(), order.end(), dpMonth);
    order = dayFirst ? std::array<TDatePart, 3>{dpDay, dpMonth, dpYear} : std::array<TDatePart, 3>{dpMonth, dpDay, dpYear};
  }
  for (int i = 0; i < count; ++i) {
    switch (order[static_cast<std::size_t>(i)]) {
      case dpDay: day = numbers[i]; break;
      case dpMonth: month = numbers[i]; break;
      case dpYear:
        year = numbers[i];
        yearDigits = digits[i];
        break;
    }
  }
  if (yearDigits <= 2) {
    int y = 0, m = 0, d = 0;
    DecodeDate(Date(), y, m, d);
    year += y / 100 * 100;
  }
  return TryEncodeDate(year, month, day, value);
}

}  // namespace

bool TryStrToDateTime(std::string_view s, TDateTime& value, const TFormatSettings& settings) {
  TTimeScanner scan(s);
  TDateTime date = 0;
  if (!TryScanDate(scan, date, settings)) return TryStrToTime(s, value, settings);
  scan.SkipBlanks();
  TDateTime time = 0;
  if (!scan.AtEnd() && !TryStrToTime(scan.Rest(), time, settings)) return false;
  value = Combine(static_cast<std::int64_t>(date), time);
  return true;
}

bool TryStrToDateTime(std::string_view s, TDateTime& value) {
  const auto settings = CurrentFormatSettings();
  return TryStrToDateTime(s, value, *settings);
}

TDateTime StrToDateTime(std::string_view s, const TFormatSettings& settings) {
  TDateTime value = 0;
  if (!TryStrToDateTime(s, value, settings))
    throw EConvertError("'" + std::string(s) + "' is not a valid date and time");
  return value;
}

TDateTime StrToDateTime(std::string_view s) {
  const auto settings = CurrentFormatSettings();
  return StrToDateTime(s, *settings);
}

}  // namespace classlib

// Number and date-time text of the whole system: the process-wide format
// settings (decimal separator first), the float formats with their rounding
// rules, FormatFloat patterns, Format, integer and float parsing, and the
// date-time type with its encoding, decoding and formatting.
//
// This is the one place where numbers and dates become text; every layer
// (numeric core, chart engine, workbench) formats through it, so that one
// decimal separator and one set of rounding rules hold everywhere.
//
// Rounding. A double is first taken as its decimal value: the shortest decimal
// text that reads back as the same double, rounded to 15 significant digits
// (the digits a user sees from FloatToStr). Every format then rounds that
// decimal value, halves away from zero: FormatFloat("0.00", 1.005) is "1.01",
// FormatFloat("0", 2.5) is "3", FormatFloat("0", -2.5) is "-3". A value that
// rounds to zero prints without a minus sign. Infinities and NaN print as
// "INF", "-INF" and "NAN" in every format.
//
// Threads. The settings are read by formatting on any thread and changed by
// the GUI thread; a change publishes a new snapshot, so a formatting call sees
// either the old settings or the new ones, never half of each. Parsing never
// changes the settings: callers that need another decimal separator pass it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/classlib/Exception.h"

namespace classlib {

// ---------------------------------------------------------------------------
// Format settings

// The English (United States) defaults, which the workbench's files and
// indicator texts are written in:
//   DecimalSeparator '.', ThousandSeparator ',', DateSeparator '/',
//   TimeSeparator ':', ListSeparator ',';
//   ShortDateFormat "M/d/yyyy", LongDateFormat "dddd, MMMM d, yyyy",
//   ShortTimeFormat "h:mm AMPM", LongTimeFormat "h:mm:ss AMPM",
//   TimeAMString "AM", TimePMString "PM";
//   CurrencyString "$", CurrencyFormat 0 ("$1"), NegCurrFormat 0 ("($1)"),
//   CurrencyDecimals 2; English month and day names.
// A separator of '\0' means "none" (a ThousandSeparator of '\0' turns grouping off).
struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char ListSeparator = ',';
  std::string CurrencyString = "$";
  std::uint8_t CurrencyFormat = 0;   // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $"
  std::uint8_t NegCurrFormat = 0;    // 0 "($1)" ... 15 "(1 $)", the runtime's table
  std::uint8_t CurrencyDecimals = 2;
  std::string ShortDateFormat = "M/d/yyyy";
  std::string LongDateFormat = "dddd, MMMM d, yyyy";
  std::string ShortTimeFormat = "h:mm AMPM";
  std::string LongTimeFormat = "h:mm:ss AMPM";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames{"January", "February", "March",     "April",
                                             "May",     "June",     "July",      "August",
                                             "September", "October", "November", "December"};
  // Sunday first, as the runtime numbers the days of the week.
  std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};
};

// The process-wide settings: a snapshot that stays valid while held.
std::shared_ptr<const TFormatSettings> CurrentFormatSettings();
// A copy of the process-wide settings, to change and pass to the overloads below.
TFormatSettings FormatSettings();
void SetFormatSettings(const TFormatSettings& settings);

char DecimalSeparator();
void SetDecimalSeparator(char separator);
char ThousandSeparator();
void SetThousandSeparator(char separator);

// ---------------------------------------------------------------------------
// Integers

std::string IntToStr(std::int64_t value);
// Upper-case hexadecimal, at least digits long.
std::string IntToHex(std::int64_t value, int digits);
// Decimal, or hexadecimal after "$" or "0x"; leading blanks and a sign allowed.
// Raises EConvertError "'<s>' is not a valid integer value" for anything else or
// for a value outside the 32-bit range.
std::int32_t StrToInt(std::string_view s);
std::int64_t StrToInt64(std::string_view s);
bool TryStrToInt(std::string_view s, std::int32_t& value);
bool TryStrToInt64(std::string_view s, std::int64_t& value);
std::int32_t StrToIntDef(std::string_view s, std::int32_t defaultValue);

// ---------------------------------------------------------------------------
// Floats: parsing

// Blanks around, an optional sign, digits with at most one decimal separator
// (at least one digit in all), and an optional exponent "E" or "e" with an
// optional sign and digits. No grouping, no "INF"/"NAN" (the numeric core's
// StrToVal handles those). A value too large for a double is refused; one too
// small becomes zero. StrToFloat raises EConvertError
// "'<s>' is not a valid floating point value".
double StrToFloat(std::string_view s);
double StrToFloat(std::string_view s, char decimalSeparator);
bool TryStrToFloat(std::string_view s, double& value);
bool TryStrToFloat(std::string_view s, double& value, char decimalSeparator);
double StrToFloatDef(std::string_view s, double defaultValue);

// ---------------------------------------------------------------------------
// Floats: formatting

enum TFloatFormat : std::uint8_t { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// The general format with 15 significant digits: the shorter of fixed and
// scientific, no trailing zeros, a point only when needed. Fixed while the
// value has at most 15 digits before the point and is at least 0.0001 in
// magnitude; otherwise scientific with a capital E, a sign only for negative
// exponents and no leading zeros: "1E15", "1.5E-5", "1.23456789012346E17".
std::string FloatToStr(double value);
std::string FloatToStr(double value, const TFormatSettings& settings);

// precision: significant digits (1..18; the decimal value has at most 17).
// digits: ffGeneral and ffExponent, the minimum number of exponent digits (0..4);
// ffFixed, ffNumber and ffCurrency, the number of decimals (0..18).
//   ffGeneral  as FloatToStr, with the given precision;
//   ffExponent "-d.dddE+dd": precision digits, an exponent with its sign;
//   ffFixed    "-ddd.ddd"; ffNumber with thousand separators; ffCurrency after
//              the currency settings. These three fall back to the general
//              format when the value has more than precision digits before the point.
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits);
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings& settings);

// Patterns: '0' a digit or a zero, '#' a digit or nothing, '.' the decimal
// separator (the first one counts), ',' anywhere turns on thousand separators,
// "E+" "E-" "e+" "e-" followed by up to four '0' give scientific notation
// (E+ always writes the exponent's sign, E- only a minus), text between ' or "
// is copied, other characters are copied as they stand. Up to three sections
// separated by ';': positive;negative;zero. The negative section writes no minus
// of its own; an empty or missing one means the first section with a minus.
// The zero section serves values that round to zero. An empty pattern gives FloatToStr.
std::string FormatFloat(std::string_view pattern, double value);
std::string FormatFloat(std::string_view pattern, double value, const TFormatSettings& settings);

// ---------------------------------------------------------------------------
// Format: "%" [index ":"] ["-"] [width] ["." precision] type, where index,
// width and precision may be "*" (taken from the arguments), and type is one of
//   d  integer (precision: minimum digits, zero-padded)   u  unsigned integer
//   x  upper-case hexadecimal (precision as for d)          s  text (precision: maximum length)
//   f  ffFixed, precision decimals (default 2)             n  ffNumber (default 2)
//   m  ffCurrency (default CurrencyDecimals)               e  ffExponent, precision digits
//                                                             (default 15), 3 exponent digits
//   g  ffGeneral with precision digits (default 15)        p  pointer, 8 hex digits or more
// and "%%" is a percent sign. Integers are taken where a float is expected.
// Raises EConvertError "Format '<format>' invalid or incompatible with argument"
// or "No argument for format '<format>'".
class TFormatArg {
 public:
  enum TKind : std::uint8_t { akInteger, akUnsigned, akFloat, akString, akPointer };

  template <class T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char>)
  TFormatArg(T value) {  // NOLINT(google-explicit-constructor): argument lists convert implicitly
    FWide = sizeof(T) > 4;
    if constexpr (std::is_signed_v<T>) {
      FKind = akInteger;
      FInt = value;
    } else {
      FKind = akUnsigned;
      FUInt = value;
    }
  }
  TFormatArg(bool value) : FKind(akInteger), FInt(value ? 1 : 0) {}
  TFormatArg(char value) : FKind(akString), FText(&FChar, 1), FChar(value) {}
  TFormatArg(double value) : FKind(akFloat), FFloat(value) {}
  TFormatArg(float value) : FKind(akFloat), FFloat(value) {}
  TFormatArg(long double value) : FKind(akFloat), FFloat(static_cast<double>(value)) {}
  TFormatArg(std::string_view value) : FKind(akString), FText(value) {}
  TFormatArg(const std::string& value) : FKind(akString), FText(value) {}
  TFormatArg(const char* value) : FKind(akString), FText(value ? value : "") {}
  TFormatArg(const void* value) : FKind(akPointer), FPointer(value) {}

  TFormatArg(const TFormatArg& other) { *this = other; }
  TFormatArg& operator=(const TFormatArg& other);

  TKind Kind() const { return FKind; }
  std::int64_t AsInteger() const { return FInt; }
  // True for 64-bit integers: %x and %u show a negative 32-bit one in 32 bits.
  bool Wide() const { return FWide; }
  std::uint64_t AsUnsigned() const { return FUInt; }
  double AsFloat() const { return FFloat; }
  std::string_view AsString() const { return FText; }
  const void* AsPointer() const { return FPointer; }

 private:
  TKind FKind = akInteger;
  std::int64_t FInt = 0;
  std::uint64_t FUInt = 0;
  double FFloat = 0;
  std::string_view FText;
  char FChar = 0;
  const void* FPointer = nullptr;
  bool FWide = false;
};

std::string FormatArgs(std::string_view format, std::span<const TFormatArg> args,
                       const TFormatSettings& settings);
std::string FormatArgs(std::string_view format, std::span<const TFormatArg> args);

template <class... Args>
std::string Format(std::string_view format, const Args&... args) {
  if constexpr (sizeof...(Args) == 0) {
    return FormatArgs(format, {});
  } else {
    const TFormatArg list[] = {TFormatArg(args)...};
    return FormatArgs(format, list);
  }
}

// ---------------------------------------------------------------------------
// Date and time: days since 1899-12-30, the time of day as the fraction. A
// negative value counts days backwards, its fraction still forwards in the day
// (-1.25 is 1899-12-29 06:00).
using TDateTime = double;

constexpr double HoursPerDay = 24;
constexpr double MinsPerDay = 24 * 60;
constexpr double SecsPerDay = 24 * 60 * 60;
constexpr double MSecsPerDay = 24.0 * 60 * 60 * 1000;
constexpr double UnixDateDelta = 25569;  // 1970-01-01 as a TDateTime

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// Raise EConvertError "Invalid argument to date encode" / "Invalid argument to
// time encode" for a date outside 1..9999 or an impossible day or time.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& value);
// The time of day is rounded to the millisecond; a value that rounds up to
// midnight belongs to the next day. A value that is not finite or lies outside
// 0001-01-01 .. 9999-12-31 raises EConvertError "Invalid argument to date decode"
// (so do DayOfWeek, DateTimeToUnix and FormatDateTime).
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& min, int& sec, int& msec);
void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& min,
                    int& sec, int& msec);
// 1 = Sunday ... 7 = Saturday.
int DayOfWeek(TDateTime value);

TDateTime Now();   // local time
TDateTime Date();  // local date, midnight
TDateTime Time();  // local time of day

// Seconds since 1970-01-01 00:00 (no time zone applied) and back.
TDateTime UnixToDateTime(std::int64_t unixTime);
std::int64_t DateTimeToUnix(TDateTime value);

// Tokens (letters in either case):
//   c       ShortDateFormat, then a blank and LongTimeFormat unless the time is midnight
//   d dd    day; ddd dddd short / long day name; ddddd ShortDateFormat; dddddd LongDateFormat
//   m mm    month; mmm mmmm short / long month name (after an h or hh token: minutes)
//   yy yyyy two- / four-digit year
//   h hh    hour (12-hour clock when an am/pm token follows); n nn minutes; s ss seconds
//   z zzz   milliseconds
//   t tt    ShortTimeFormat / LongTimeFormat
//   am/pm a/p   "am"/"pm" or "a"/"p" in the case written; ampm TimeAMString/TimePMString
//   /       DateSeparator;  :  TimeSeparator
//   '...' "..."  copied as they stand; any other character is copied too.
std::string FormatDateTime(std::string_view format, TDateTime value);
std::string FormatDateTime(std::string_view format, TDateTime value,
                           const TFormatSettings& settings);
void DateTimeToString(std::string& result, std::string_view format, TDateTime value);
std::string DateToStr(TDateTime value);      // "ddddd"
std::string TimeToStr(TDateTime value);      // "tt"
std::string DateTimeToStr(TDateTime value);  // "c"

// A time of day as the settings write one: hours and minutes, optionally
// seconds and then milliseconds after the decimal separator, separated by the
// TimeSeparator, and optionally the am or pm text (either case) for a
// 12-hour clock; blanks around. "6:00", "18:30:15", "06:00:00.250",
// "6:00:00 PM". StrToTime raises EConvertError "'<s>' is not a valid time".
TDateTime StrToTime(std::string_view s);
TDateTime StrToTime(std::string_view s, const TFormatSettings& settings);
bool TryStrToTime(std::string_view s, TDateTime& value);
bool TryStrToTime(std::string_view s, TDateTime& value, const TFormatSettings& settings);

// A date as the settings write one, optionally followed by a time as
// StrToTime reads it; or a time alone. The date is two or three numbers
// separated by the DateSeparator, in the order of day, month and year that
// ShortDateFormat writes them; without the year it is the current one, and a
// year of one or two digits lies in the current century. "12/31/1899",
// "12/31/1899 6:00:00 PM", "6:00:00 AM". StrToDateTime raises EConvertError
// "'<s>' is not a valid date and time".
TDateTime StrToDateTime(std::string_view s);
TDateTime StrToDateTime(std::string_view s, const TFormatSettings& settings);
bool TryStrToDateTime(std::string_view s, TDateTime& value);
bool TryStrToDateTime(std::string_view s, TDateTime& value, const TFormatSettings& settings);

}  // namespace classlib

namespace classlib {

// The same day numberOfMonths months later (earlier when negative), held at the
// last day of a shorter month (January 31 plus one month is February 28 or 29),
// the time of day kept. Raises EConvertError "Invalid argument to date encode"
// when the result lies outside the years 1..9999, and "Invalid argument to date
// decode" for a value outside them.
TDateTime IncMonth(TDateTime value, int numberOfMonths = 1);

}  // namespace classlib

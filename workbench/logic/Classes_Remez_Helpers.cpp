// Shared helpers of the workbench windows: time conversion, string splitting
// and replacing, the real power, rounding, period and filter texts, the
// ripple text and the program's version text.
// Tested by: tests/HelpersTest.cpp
#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <limits>
#include <system_error>

#include "numeric/MathCore.h"
#include "platform/classlib/SysUtils.h"
#include "workbench/logic/Classes_Remez.h"
#include "workbench/logic/Classes_Remez_Math.h"

#ifndef ORVEL_VERSION_MAJOR
#define ORVEL_VERSION_MAJOR 0
#define ORVEL_VERSION_MINOR 0
#define ORVEL_VERSION_RELEASE 0
#define ORVEL_VERSION_BUILD 0
#endif

namespace workbench {

using detail::Round32;
using detail::Trunc32;

namespace {
constexpr long double UnixEpochDay = 25569.0L;  // 1 January 1970 as a date-time
constexpr long double SecondsPerDay = 86400.0L;
}  // namespace

double UnixToDateTime(std::int32_t seconds) {
  return static_cast<double>(static_cast<long double>(seconds) / SecondsPerDay + UnixEpochDay);
}

std::int64_t DateTimeToUnix(double value) {
  const long double seconds = std::nearbyint((static_cast<long double>(value) - UnixEpochDay) * SecondsPerDay);
  if (!(seconds > -9.2e18L && seconds < 9.2e18L)) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(seconds);
}

std::vector<std::string> SplitString(std::string_view delimiter, std::string_view text) {
  std::vector<std::string> pieces;
  if (text.empty()) return pieces;
  std::string piece;
  for (char c : text) {
    // The delimiter is compared with one character at a time, so a longer
    // delimiter never matches.
    if (delimiter.size() == 1 && c == delimiter[0]) {
      pieces.push_back(piece);
      piece.clear();
    } else {
      piece += c;
    }
  }
  pieces.push_back(piece);
  return pieces;
}

std::string ReplaceFirst(std::string_view text, std::string_view searched, std::string_view replacement) {
  std::string result(text);
  if (searched.empty()) return result;
  const std::size_t at = result.find(searched);
  if (at != std::string::npos) result.replace(at, searched.size(), replacement);
  return result;
}

std::string ReplaceAll(std::string_view text, std::string_view searched, std::string_view replacement) {
  // Replacing a text by one that contains it would never end.
  if (replacement.find(searched) != std::string_view::npos) return {};
  std::string current(text);
  for (;;) {
    std::string next = ReplaceFirst(current, searched, replacement);
    if (next == current) return current;
    current = std::move(next);
  }
}

long double PowerEx(long double base, long double exponent) {
  if (base < 0 && exponent != 0) {
    const long double root = 1.0L / exponent;
    const long double sixDecimals = static_cast<long double>(Trunc32(root * 1000000.0L)) / 1000000.0L;
    if (sixDecimals == std::trunc(sixDecimals)) {
      const std::int32_t n = Round32(root);
      return (n % 2 != 0) ? -std::exp(exponent * std::log(-base)) : 0.0L;
    }
  }
  if (exponent == 0) return 1.0L;
  if (base == 0 && exponent > 0) return 0.0L;
  if (exponent == std::trunc(exponent) && std::fabs(exponent) <= 2147483647.0L)
    return numeric::IntPower(static_cast<double>(base), static_cast<std::int32_t>(exponent));
  return std::exp(exponent * std::log(base));
}

std::int32_t RoundToInt(long double x) {
  if (x > 0) return Trunc32(x + 0.5L);
  if (x < 0) return Trunc32(x - 0.5L);
  if (x == 0) return 0;
  return Trunc32(x);  // NaN
}

std::string PeriodName(std::int32_t minutes) {
  static constexpr const char* Minute = "\u041C";  // Cyrillic capital em
  if (minutes < 60) return std::to_string(minutes) + Minute;
  if (minutes < 1440) {
    const std::int32_t hours = numeric::Floor(minutes / 60.0);
    std::string text = std::to_string(hours) + "H";
    if (minutes % 60 != 0) text += std::to_string(minutes % 60) + Minute;
    return text;
  }
  if (minutes == 1440) return "Daily";
  if (minutes == 10080) return "Weekly";
  return std::to_string(numeric::Ceil(minutes / 60.0)) + "H";
}

std::string FilterDescription(const TFilterRecord& f) {
  static constexpr const char* TypeNames[] = {"Low Pass", "High Pass", "Band Pass", "Band Stop"};
  std::string text = f.FilterType < 4 ? TypeNames[f.FilterType] : "";
  text += " P1=" + std::to_string(f.P1) + "," + " D1=" + std::to_string(f.D1) + "," +
          " A1=" + std::to_string(f.A1) + " P2=" + std::to_string(f.P2) + "," +
          " D2=" + std::to_string(f.D2) + "," + " A2=" + std::to_string(f.A2) + "," +
          " Ripple=" + FloatToStrPoint(f.Ripple) + "," + " Delay=" + std::to_string(f.Delay) + ",";
  text += f.AutoOrder ? " Order [Auto]=" : " Order=";
  text += std::to_string(f.Order) + "," + " Calculate method=" + std::to_string(f.Method);
  return text;
}

void DeleteFilterRecord(std::vector<TFilterRecord>& filters, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= filters.size()) return;
  filters.erase(filters.begin() + index);
}

std::string GetFileVersionString() {
  // The version is compiled in; there is no version block to miss.
  std::string text = std::to_string(ORVEL_VERSION_MAJOR) + "." + std::to_string(ORVEL_VERSION_MINOR);
  if (ORVEL_VERSION_RELEASE != 0) text += "." + std::to_string(ORVEL_VERSION_RELEASE);
  if (ORVEL_VERSION_BUILD != 0) text += "." + std::to_string(ORVEL_VERSION_BUILD);
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return text;
  const auto written = std::filesystem::last_write_time(executable, error);
  if (error) return text;
  const std::time_t time =
      std::chrono::system_clock::to_time_t(std::chrono::time_point_cast<std::chrono::system_clock::duration>(std::chrono::file_clock::to_sys(written)));
  std::tm local{};
  if (localtime_r(&time, &local) == nullptr) return text;
  classlib::TDateTime date = 0;
  if (classlib::TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, date))
    text += " at " + classlib::DateToStr(date);
  return text;
}

std::string FloatToStrPoint(double value) {
  // The texts never depend on the process-wide separator.
  static const classlib::TFormatSettings pointSettings = [] {
    classlib::TFormatSettings settings;
    settings.DecimalSeparator = '.';
    return settings;
  }();
  return classlib::FloatToStr(value, pointSettings);
}

}  // namespace workbench

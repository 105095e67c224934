// Integers to text and back, and text to floats with an explicit or the
// process-wide decimal separator.
// Tested by: tests/SysUtilsParseTest.cpp.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "platform/classlib/SysUtils.h"

namespace classlib {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

[[noreturn]] void InvalidInteger(std::string_view s) {
  throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
}

[[noreturn]] void InvalidFloat(std::string_view s) {
  throw EConvertError("'" + std::string(s) + "' is not a valid floating point value");
}

// Decimal, or hexadecimal after "$", "0x" or "0X". Hexadecimal texts may use
// every bit of the type's unsigned range (as "$FFFFFFFF" is -1 in 32 bits).
template <class Int>
bool ParseInteger(std::string_view s, Int& value) {
  using UInt = std::make_unsigned_t<Int>;
  s = TrimBlanks(s);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (!s.empty() && s.front() == '$') {
    base = 16;
    s.remove_prefix(1);
  } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return false;
  std::uint64_t magnitude = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
  if (ec != std::errc() || end != s.data() + s.size()) return false;
  if (base == 16) {
    if (magnitude > std::numeric_limits<UInt>::max()) return false;
    const auto bits = static_cast<UInt>(magnitude);
    value = static_cast<Int>(negative ? static_cast<UInt>(UInt(0) - bits) : bits);
    return true;
  }
  const auto limit = static_cast<std::uint64_t>(std::numeric_limits<Int>::max()) + (negative ? 1u : 0u);
  if (magnitude > limit) return false;
  value = negative ? static_cast<Int>(UInt(0) - static_cast<UInt>(magnitude)) : static_cast<Int>(magnitude);
  return true;
}

}  // namespace

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

std::string IntToHex(std::int64_t value, int digits) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::uint64_t>(value), 16).ptr;
  std::string text(buffer, end);
  for (char& c : text)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  if (static_cast<int>(text.size()) < digits) text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
  return text;
}

bool TryStrToInt(std::string_view s, std::int32_t& value) { return ParseInteger(s, value); }
bool TryStrToInt64(std::string_view s, std::int64_t& value) { return ParseInteger(s, value); }

std::int32_t StrToInt(std::string_view s) {
  std::int32_t value = 0;
  if (!ParseInteger(s, value)) InvalidInteger(s);
  return value;
}

std::int64_t StrToInt64(std::string_view s) {
  std::int64_t value = 0;
  if (!ParseInteger(s, value)) InvalidInteger(s);
  return value;
}

std::int32_t StrToIntDef(std::string_view s, std::int32_t defaultValue) {
  std::int32_t value = 0;
  return ParseInteger(s, value) ? value : defaultValue;
}

bool TryStrToFloat(std::string_view s, double& value, char decimalSeparator) {
  s = TrimBlanks(s);
  // Check the grammar here and hand from_chars a plain text with a point: it
  // reads the same in every C locale, which the Qt windows may change.
  std::string plain;
  plain.reserve(s.size());
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  // The decimal order of the value's first significant digit, to tell an
  // overflow from an underflow: 1 for "5", 0 for "0.5", -2 for "0.005".
  long long order = 0;
  bool significant = false, point = false;
  int mantissaDigits = 0;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      ++mantissaDigits;
      if (c != '0') significant = true;
      if (!point && significant) ++order;
      if (point && !significant) --order;
      plain.push_back(c);
    } else if (c == decimalSeparator && !point) {
      point = true;
      plain.push_back('.');
    } else {
      break;
    }
  }
  if (mantissaDigits == 0) return false;
  long long exponent = 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    plain.push_back('e');
    ++i;
    bool exponentNegative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
      exponentNegative = s[i] == '-';
      plain.push_back(s[i++]);
    }
    int exponentDigits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
      if (exponent < 100000000) exponent = exponent * 10 + (s[i] - '0');
      plain.push_back(s[i++]);
      ++exponentDigits;
    }
    if (exponentDigits == 0) return false;
    if (exponentNegative) exponent = -exponent;
  }
  if (i != s.size()) return false;
  double result = 0;
  const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), result);
  if (end != plain.data() + plain.size()) return false;
  if (ec == std::errc::result_out_of_range) {
    // Too small becomes zero. Too large has no double to be, except the
    // largest double as the formats write it with 15 digits (1.79769313486232E308),
    // which must read back.
    if (order + exponent > 0) {
      long double wide = 0;
      const auto [wideEnd, wideEc] = std::from_chars(plain.data(), plain.data() + plain.size(), wide);
      if (wideEc != std::errc() || wideEnd != plain.data() + plain.size() || wide > 1.79769313486232e308L)
        return false;
      result = std::numeric_limits<double>::max();
    } else {
      result = 0;
    }
  } else if (ec != std::errc()) {
    return false;
  }
  value = negative ? -result : result;
  return true;
}

bool TryStrToFloat(std::string_view s, double& value) {
  return TryStrToFloat(s, value, DecimalSeparator());
}

double StrToFloat(std::string_view s, char decimalSeparator) {
  double value = 0;
  if (!TryStrToFloat(s, value, decimalSeparator)) InvalidFloat(s);
  return value;
}

double StrToFloat(std::string_view s) { return StrToFloat(s, DecimalSeparator()); }

double StrToFloatDef(std::string_view s, double defaultValue) {
  double value = 0;
  return TryStrToFloat(s, value) ? value : defaultValue;
}

}  // namespace classlib

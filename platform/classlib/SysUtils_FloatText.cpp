// Floats to text: the decimal value of a double, the general, exponent, fixed,
// number and currency formats, and FormatFloat patterns.
// Tested by: tests/SysUtilsFloatTest.cpp.
#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "platform/classlib/SysUtils.h"
#include "platform/classlib/SysUtils_FloatDecimal.h"

namespace classlib {

namespace detail {

namespace {

// Drops trailing zeros; a rec left without digits is zero, unsigned.
void Normalize(TFloatRec& rec) {
  while (!rec.Digits.empty() && rec.Digits.back() == '0') rec.Digits.pop_back();
  if (rec.Digits.empty()) {
    rec.Exponent = 0;
    rec.Negative = false;
  }
}

}  // namespace

void RoundToDigits(TFloatRec& rec, int count) {
  if (rec.Special != TFloatRec::fsNone || rec.Digits.empty()) return;
  if (count < 0) {
    rec.Digits.clear();
    Normalize(rec);
    return;
  }
  if (rec.Digits.size() <= static_cast<std::size_t>(count)) return;
  const bool up = rec.Digits[static_cast<std::size_t>(count)] >= '5';
  rec.Digits.resize(static_cast<std::size_t>(count));
  if (up) {
    int i = count - 1;
    while (i >= 0 && rec.Digits[static_cast<std::size_t>(i)] == '9') {
      rec.Digits[static_cast<std::size_t>(i)] = '0';
      --i;
    }
    if (i >= 0) {
      ++rec.Digits[static_cast<std::size_t>(i)];
    } else {
      // 999.5 -> 1000: one digit more in front, the zeros drop off below.
      rec.Digits.insert(rec.Digits.begin(), '1');
      ++rec.Exponent;
    }
  }
  Normalize(rec);
}

void RoundToDecimals(TFloatRec& rec, int decimals) {
  if (rec.Special != TFloatRec::fsNone || rec.Digits.empty()) return;
  // Guard the sum: an exponent near 308 plus a few decimals cannot overflow an
  // int, but a caller's decimals might be anything.
  const long long count = static_cast<long long>(rec.Exponent) + decimals;
  RoundToDigits(rec, count < 0 ? -1 : static_cast<int>(std::min<long long>(count, INT_MAX)));
}

TFloatRec FloatToDecimal(double value, int precision) {
  TFloatRec rec;
  if (std::isnan(value)) {
    rec.Special = TFloatRec::fsNaN;
    return rec;
  }
  rec.Negative = std::signbit(value);
  if (std::isinf(value)) {
    rec.Special = TFloatRec::fsInf;
    return rec;
  }
  if (value == 0) {
    rec.Negative = false;
    return rec;
  }
  // The shortest text that reads back as this double: "d.ddde+xx".
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                    std::chars_format::scientific);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const std::size_t e = text.find('e');
  for (std::size_t i = 0; i < e; ++i)
    if (text[i] != '.') rec.Digits.push_back(text[i]);
  int exponent = 0;
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
  rec.Exponent = exponent + 1;
  Normalize(rec);
  RoundToDigits(rec, std::clamp(precision, 1, 18));
  return rec;
}

}  // namespace detail

using detail::TFloatRec;

namespace {

constexpr int kDecimalValueDigits = 15;

std::string SpecialText(const TFloatRec& rec) {
  if (rec.Special == TFloatRec::fsNaN) return "NAN";
  return rec.Negative ? "-INF" : "INF";
}

void AppendSeparator(std::string& out, char separator) {
  if (separator != '\0') out.push_back(separator);
}

// The integer digits of rec (at least "0"), grouped by thousands when asked.
std::string IntegerPart(const TFloatRec& rec, char thousandSeparator) {
  std::string out;
  const int count = std::max(rec.Exponent, 0);
  if (count == 0) return "0";
  for (int i = 0; i < count; ++i) {
    out.push_back(i < static_cast<int>(rec.Digits.size()) ? rec.Digits[static_cast<std::size_t>(i)] : '0');
    const int left = count - 1 - i;
    if (left > 0 && left % 3 == 0) AppendSeparator(out, thousandSeparator);
  }
  return out;
}

// The first `decimals` digits after the point, zero-padded.
std::string DecimalPart(const TFloatRec& rec, int decimals) {
  std::string out;
  for (int j = 0; j < decimals; ++j) {
    const long long index = static_cast<long long>(rec.Exponent) + j;
    out.push_back(index >= 0 && index < static_cast<long long>(rec.Digits.size())
                      ? rec.Digits[static_cast<std::size_t>(index)]
                      : '0');
  }
  return out;
}

std::string ExponentText(int exponent, bool alwaysSign, int minDigits) {
  std::string out;
  if (exponent < 0) out.push_back('-');
  else if (alwaysSign) out.push_back('+');
  std::string digits = std::to_string(std::abs(exponent));
  if (static_cast<int>(digits.size()) < minDigits)
    digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
  return out + digits;
}

std::string GeneralText(const TFloatRec& rec, int precision, int exponentDigits,
                        const TFormatSettings& settings) {
  if (rec.Special != TFloatRec::fsNone) return SpecialText(rec);
  if (rec.IsZero()) return "0";
  std::string out = rec.Negative ? "-" : "";
  const std::string& d = rec.Digits;
  if (rec.Exponent > precision || rec.Exponent < -3) {
    out.push_back(d[0]);
    if (d.size() > 1) {
      AppendSeparator(out, settings.DecimalSeparator);
      out.append(d, 1, std::string::npos);
    }
    out.push_back('E');
    out += ExponentText(rec.Exponent - 1, false, exponentDigits);
    return out;
  }
  if (rec.Exponent <= 0) {
    out.push_back('0');
    AppendSeparator(out, settings.DecimalSeparator);
    out.append(static_cast<std::size_t>(-rec.Exponent), '0');
    out += d;
    return out;
  }
  const auto whole = static_cast<std::size_t>(rec.Exponent);
  out.append(d, 0, std::min(whole, d.size()));
  if (d.size() < whole) out.append(whole - d.size(), '0');
  if (d.size() > whole) {
    AppendSeparator(out, settings.DecimalSeparator);
    out.append(d, whole, std::string::npos);
  }
  return out;
}

std::string ExponentFormText(const TFloatRec& rec, int precision, int exponentDigits,
                             const TFormatSettings& settings) {
  if (rec.Special != TFloatRec::fsNone) return SpecialText(rec);
  std::string out = rec.Negative ? "-" : "";
  std::string digits = rec.Digits;
  digits.resize(static_cast<std::size_t>(precision), '0');
  out.push_back(digits[0]);
  if (precision > 1) {
    AppendSeparator(out, settings.DecimalSeparator);
    out.append(digits, 1, std::string::npos);
  }
  out.push_back('E');
  out += ExponentText(rec.IsZero() ? 0 : rec.Exponent - 1, true, exponentDigits);
  return out;
}

// Places an amount text (digits and separators, no sign) after the currency settings.
std::string CurrencyText(const std::string& amount, bool negative, const TFormatSettings& s) {
  const std::string& c = s.CurrencyString;
  if (!negative) {
    switch (s.CurrencyFormat) {
      case 1: return amount + c;
      case 2: return c + " " + amount;
      case 3: return amount + " " + c;
      default: return c + amount;
    }
  }
  switch (s.NegCurrFormat) {
    case 1: return "-" + c + amount;
    case 2: return c + "-" + amount;
    case 3: return c + amount + "-";
    case 4: return "(" + amount + c + ")";
    case 5: return "-" + amount + c;
    case 6: return amount + "-" + c;
    case 7: return amount + c + "-";
    case 8: return "-" + amount + " " + c;
    case 9: return "-" + c + " " + amount;
    case 10: return amount + " " + c + "-";
    case 11: return c + " " + amount + "-";
    case 12: return c + " -" + amount;
    case 13: return amount + "- " + c;
    case 14: return "(" + c + " " + amount + ")";
    case 15: return "(" + amount + " " + c + ")";
    default: return "(" + c + amount + ")";
  }
}

// ---------------------------------------------------------------------------
// FormatFloat patterns

struct TSection {
  std::string_view Text;
  int DigitCount = 0;        // '0' and '#' placeholders, outside the exponent
  int DecimalIndex = -1;     // placeholders before the decimal point
  int FirstZero = INT_MAX;   // index of the first '0' placeholder
  int LastZero = -1;         // index of the last '0' placeholder
  bool Thousands = false;
  bool Scientific = false;
};

// Splits at ';' outside quotes; at most three sections count.
std::vector<std::string_view> SplitSections(std::string_view pattern) {
  std::vector<std::string_view> sections;
  std::size_t start = 0;
  char quote = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == ';') {
      sections.push_back(pattern.substr(start, i - start));
      start = i + 1;
      if (sections.size() == 3) return sections;
    }
  }
  sections.push_back(pattern.substr(start));
  return sections;
}

bool IsExponentAt(std::string_view s, std::size_t i) {
  return (s[i] == 'E' || s[i] == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
}

TSection ScanSection(std::string_view text) {
  TSection sec;
  sec.Text = text;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '0' || c == '#') {
      if (c == '0') {
        sec.FirstZero = std::min(sec.FirstZero, sec.DigitCount);
        sec.LastZero = sec.DigitCount;
      }
      ++sec.DigitCount;
    } else if (c == '.') {
      if (sec.DecimalIndex < 0) sec.DecimalIndex = sec.DigitCount;
    } else if (c == ',') {
      sec.Thousands = true;
    } else if (c == '\'' || c == '"') {
      const std::size_t close = text.find(c, i + 1);
      i = close == std::string_view::npos ? text.size() : close;
    } else if (IsExponentAt(text, i)) {
      if (sec.Scientific) continue;  // only the first exponent counts; later ones are copied
      sec.Scientific = true;
      i += 2;
      while (i < text.size() && text[i] == '0') ++i;
      --i;
    }
  }
  if (sec.DecimalIndex < 0) sec.DecimalIndex = sec.DigitCount;
  return sec;
}

// Formats the magnitude of value with one section; `minus` puts a minus sign
// in front. Returns false, writing nothing, when the value rounds to zero and
// the caller should choose again.
bool FormatSection(const TSection& sec, double magnitude, bool minus, bool zeroAllowed,
                   const TFormatSettings& settings, std::string& out) {
  TFloatRec rec = detail::FloatToDecimal(magnitude, kDecimalValueDigits);
  int exponentValue = 0;
  if (sec.Scientific) {
    detail::RoundToDigits(rec, std::max(sec.DigitCount, 1));
    if (!rec.IsZero()) exponentValue = rec.Exponent - sec.DecimalIndex;
  } else {
    detail::RoundToDecimals(rec, sec.DigitCount - sec.DecimalIndex);
  }
  if (rec.IsZero() && !zeroAllowed) return false;

  const std::string& d = rec.Digits;
  const int size = static_cast<int>(d.size());
  auto digitAt = [&](long long index) {
    return index >= 0 && index < size ? d[static_cast<std::size_t>(index)] : '0';
  };

  // Integer digits of the value and how many placeholders precede the first.
  const int intDigits = sec.Scientific ? sec.DecimalIndex : std::max(rec.Exponent, 0);
  const int offset = sec.DecimalIndex - intDigits;
  // How far the decimals run: to the last '0' placeholder, or to the last
  // significant digit, whichever is further.
  const int significantDecimals = sec.Scientific ? size - sec.DecimalIndex : size - rec.Exponent;
  const int decimalsShown = std::max(sec.LastZero - sec.DecimalIndex + 1, significantDecimals);
  const char thousand = sec.Thousands && !sec.Scientific ? settings.ThousandSeparator : '\0';

  std::string text;
  auto putIntegerDigit = [&](int position, char digit) {
    // position counts the integer digits from the left; grouping counts from the right.
    text.push_back(digit);
    const int left = intDigits - 1 - position;
    if (thousand != '\0' && left > 0 && left % 3 == 0) text.push_back(thousand);
  };
  auto putAllIntegerDigits = [&] {
    for (int p = 0; p < intDigits; ++p) putIntegerDigit(p, digitAt(p));
  };

  int placeholder = 0;
  bool pointDone = false;
  const std::string_view s = sec.Text;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '0' || c == '#') {
      const int k = placeholder++;
      if (k < sec.DecimalIndex) {
        if (rec.IsZero() && sec.Scientific) {
          if (k >= sec.FirstZero || k == sec.DecimalIndex - 1) text.push_back('0');
        } else if (k == 0 && offset < 0) {
          for (int p = 0; p <= -offset; ++p) putIntegerDigit(p, digitAt(p));
        } else if (k - offset >= 0) {
          putIntegerDigit(k - offset, digitAt(k - offset));
        } else if (k >= sec.FirstZero) {
          putIntegerDigit(k - offset, '0');
        }
      } else {
        const int j = k - sec.DecimalIndex;
        if (j < decimalsShown) {
          const long long index = sec.Scientific ? static_cast<long long>(sec.DecimalIndex) + j
                                                 : static_cast<long long>(rec.Exponent) + j;
          text.push_back(digitAt(index));
        }
      }
    } else if (c == '.') {
      if (pointDone) continue;
      pointDone = true;
      // A pattern without integer placeholders still shows the integer digits.
      if (sec.DecimalIndex == 0 && !sec.Scientific) putAllIntegerDigits();
      if (decimalsShown > 0) AppendSeparator(text, settings.DecimalSeparator);
    } else if (c == ',') {
      // Only a switch; the separators go where the digits say.
    } else if (c == '\'' || c == '"') {
      const std::size_t close = s.find(c, i + 1);
      const std::size_t end = close == std::string_view::npos ? s.size() : close;
      text.append(s.substr(i + 1, end - i - 1));
      i = end;
    } else if (IsExponentAt(s, i) && sec.Scientific) {
      const bool alwaysSign = s[i + 1] == '+';
      std::size_t j = i + 2;
      int zeros = 0;
      while (j < s.size() && s[j] == '0') {
        ++zeros;
        ++j;
      }
      text.push_back(c);
      text += ExponentText(exponentValue, alwaysSign, std::min(zeros, 4));
      i = j - 1;
    } else {
      text.push_back(c);
    }
  }
  out = minus ? "-" + text : text;
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------

std::string FloatToStr(double value) { return FloatToStr(value, *CurrentFormatSettings()); }

std::string FloatToStr(double value, const TFormatSettings& settings) {
  return FloatToStrF(value, ffGeneral, kDecimalValueDigits, 0, settings);
}

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits) {
  return FloatToStrF(value, format, precision, digits, *CurrentFormatSettings());
}

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings& settings) {
  precision = std::clamp(precision, 1, 18);
  TFloatRec rec = detail::FloatToDecimal(value, precision);
  if (rec.Special != TFloatRec::fsNone) return SpecialText(rec);
  switch (format) {
    case ffExponent:
      return ExponentFormText(rec, precision, std::clamp(digits, 0, 4), settings);
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
      if (rec.Exponent > precision) return GeneralText(rec, precision, 0, settings);
      const int decimals = std::clamp(digits, 0, 18);
      detail::RoundToDecimals(rec, decimals);
      const char thousand = format == ffFixed ? '\0' : settings.ThousandSeparator;
      std::string amount = IntegerPart(rec, thousand);
      if (decimals > 0) {
        AppendSeparator(amount, settings.DecimalSeparator);
        amount += DecimalPart(rec, decimals);
      }
      if (format == ffCurrency) return CurrencyText(amount, rec.Negative, settings);
      return rec.Negative ? "-" + amount : amount;
    }
    case ffGeneral:
    default:
      return GeneralText(rec, precision, std::clamp(digits, 0, 4), settings);
  }
}

std::string FormatFloat(std::string_view pattern, double value) {
  return FormatFloat(pattern, value, *CurrentFormatSettings());
}

std::string FormatFloat(std::string_view pattern, double value, const TFormatSettings& settings) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  const std::vector<std::string_view> parts = SplitSections(pattern);
  auto section = [&](std::size_t i) { return i < parts.size() ? parts[i] : std::string_view(); };
  const std::string_view positive = section(0), negative = section(1), zero = section(2);
  const double magnitude = std::fabs(value);

  std::string out;
  auto formatWith = [&](std::string_view text, bool minus, bool zeroAllowed) {
    if (text.empty()) {
      out = FloatToStr(minus ? -magnitude : magnitude, settings);
      return true;
    }
    return FormatSection(ScanSection(text), magnitude, minus, zeroAllowed, settings, out);
  };
  // A value that rounds to zero in its own section is shown by the zero
  // section, or by the positive one without a sign.
  auto formatZero = [&] {
    formatWith(zero.empty() ? positive : zero, false, true);
  };

  if (value > 0) {
    if (!formatWith(positive, false, zero.empty())) formatZero();
  } else if (value < 0) {
    const bool own = !negative.empty();
    if (!formatWith(own ? negative : positive, !own, false)) formatZero();
  } else {
    formatZero();
  }
  return out;
}

}  // namespace classlib

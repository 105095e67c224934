// Number/text conversion of MathCore: formatting of samples and complex
// numbers, parsing of floats, NAN/INF words and a+bi texts, and the reading
// of delimited numbers from a line. Tested by: numeric/tests/MathTextTest.cpp.
#include <limits>

#include "numeric/MathCore.h"
#include "platform/classlib/SysUtils.h"
#include "platform/classlib/TextUtils.h"

namespace numeric {

namespace {

bool Contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

// 1-based slice S[from..to], empty when to < from.
std::string Slice(const std::string& s, std::int32_t from, std::int32_t to) {
  if (to < from || from > static_cast<std::int32_t>(s.size())) return std::string();
  return s.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from + 1));
}

bool DelimiterAt(const std::string& s, std::int32_t pos, const std::string& delimiter) {
  return !delimiter.empty() && pos >= 1 && pos <= static_cast<std::int32_t>(s.size()) &&
         s.compare(static_cast<std::size_t>(pos - 1), delimiter.size(), delimiter) == 0;
}

// The text of the next number from Pos, with Pos moved past it.
std::string NextField(const std::string& s, std::int32_t& pos, const std::string& delimiter) {
  if (pos < 1) RaiseError("Offset < 1");
  while (DelimiterAt(s, pos, delimiter)) ++pos;
  const std::int32_t length = static_cast<std::int32_t>(s.size());
  const std::int32_t found = delimiter.empty() || pos > length ? 0 : PosEx(delimiter, s, pos);
  std::string field;
  if (found > 0) {
    field = Slice(s, pos, found - 1);
    pos = found + static_cast<std::int32_t>(delimiter.size());
  } else {
    field = Slice(s, pos, length);
    pos = length + 1;
  }
  return field;
}

std::string FormatCplx(const TCplx& Z, std::int32_t Digits, const classlib::TFormatSettings& settings) {
  const std::string re = classlib::FloatToStrF(Z.Re, classlib::ffGeneral, 15, Digits, settings);
  const std::string im = classlib::FloatToStrF(Z.Im, classlib::ffGeneral, 15, Digits, settings);
  if (Z.Im == 0.0) return re;
  if (Z.Re == 0.0) {
    if (Z.Im == 1.0) return "i";
    if (Z.Im == -1.0) return "-i";
    return im + "i";
  }
  if (Z.Im < 0.0) return re + (Z.Im == -1.0 ? std::string("-i") : im + "i");
  // Positive, and NaN too: a NaN part is shown rather than dropped.
  return re + "+" + (Z.Im == 1.0 ? std::string("i") : im + "i");
}

}  // namespace

std::string SampleToStr(double X, const std::string& Format) {
  return SampleToStr(X, Format, *classlib::CurrentFormatSettings());
}

std::string SampleToStr(double X, const std::string& Format, const classlib::TFormatSettings& Settings) {
  if (Format.empty()) return classlib::FloatToStr(X, Settings);
  return classlib::FormatFloat(Format, X, Settings);
}

std::string FloatToStrPrec(double X, std::int32_t Precision, std::int32_t Digits) {
  return classlib::FloatToStrF(X, classlib::ffGeneral, Precision, Digits);
}

std::string FormatCplx(const TCplx& Z, std::int32_t Digits) {
  return FormatCplx(Z, Digits, *classlib::CurrentFormatSettings());
}

std::string CplxToStr(const TCplx& Z, const std::string& ReFormat, const std::string& ImFormat) {
  return CplxToStr(Z, ReFormat, ImFormat, *classlib::CurrentFormatSettings());
}

std::string CplxToStr(const TCplx& Z, const std::string& ReFormat, const std::string& ImFormat,
                      const classlib::TFormatSettings& Settings) {
  if (ReFormat.empty() || ImFormat.empty()) return FormatCplx(Z, 0, Settings);
  if (Z.Im == 0.0) return classlib::FormatFloat(ReFormat, Z.Re, Settings);
  if (Z.Re == 0.0) return classlib::FormatFloat(ImFormat, Z.Im, Settings);
  return classlib::FormatFloat(ReFormat, Z.Re, Settings) + classlib::FormatFloat(ImFormat, Z.Im, Settings);
}

double StrToVal(const std::string& S) { return StrToVal(S, classlib::DecimalSeparator()); }

double StrToVal(const std::string& S, char DecimalSeparator) {
  double value = 0.0;
  if (classlib::TryStrToFloat(S, value, DecimalSeparator)) return value;
  const std::string upper = classlib::UpperCase(S);
  const bool negative = Contains(S, "-");
  if (Contains(upper, "NAN")) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return negative ? -nan : nan;
  }
  if (Contains(upper, "INF")) return negative ? -INF : INF;
  return StrToValLocale(S, DecimalSeparator);
}

double StrToValLocale(const std::string& S, char DecimalSeparator) {
  return classlib::StrToFloat(S, DecimalSeparator == '.' ? ',' : '.');
}

TCplx StrToCplx(const std::string& S) { return StrToCplx(S, classlib::DecimalSeparator()); }

TCplx StrToCplx(const std::string& S, char DecimalSeparator) {
  const std::size_t i = S.find('i');
  if (i == std::string::npos) return TCplx{StrToVal(S, DecimalSeparator), 0.0};
  const std::int32_t p = static_cast<std::int32_t>(i) + 1;  // 1-based, as the rules count

  // The sign of the imaginary part: a '+' or '-' first in the text or not
  // following an exponent's marker. The marker may be 'e' as well as 'E': the
  // sign of "1e-3" belongs to the number (taking it for the imaginary part's
  // made "2+1e-3i" the imaginary -3 beside a real part that failed to convert).
  std::int32_t q = 0;
  for (std::int32_t k = p - 1; k >= 1; --k) {
    const char c = S[static_cast<std::size_t>(k - 1)];
    const char before = k > 1 ? S[static_cast<std::size_t>(k - 2)] : '\0';
    if ((c == '+' || c == '-') && before != 'E' && before != 'e') {
      q = k;
      break;
    }
  }

  TCplx z{0.0, 0.0};
  if (q == 0) {
    const std::string imText = Slice(S, 1, p - 1);
    z.Im = imText.empty() ? 1.0 : StrToVal(imText, DecimalSeparator);
    return z;
  }
  const std::string imText = Slice(S, q, p - 1);
  if (imText == "+")
    z.Im = 1.0;
  else if (imText == "-")
    z.Im = -1.0;
  else
    z.Im = StrToVal(imText, DecimalSeparator);
  const std::string reText = Slice(S, 1, q - 1);
  if (!reText.empty() && reText != " ") {
    try {
      z.Re = StrToVal(reText, DecimalSeparator);
    } catch (const classlib::Exception&) {
      z.Re = 0.0;
    }
  }
  return z;
}

std::int32_t PosEx(const std::string& SubStr, const std::string& S, std::int32_t Offset) {
  if (Offset < 1) RaiseError("Offset < 1");
  const auto length = static_cast<std::int64_t>(S.size());
  if (SubStr.empty()) return Offset <= length + 1 ? Offset : 0;
  if (Offset > length) return 0;
  const std::size_t found = S.find(SubStr, static_cast<std::size_t>(Offset - 1));
  return found == std::string::npos ? 0 : static_cast<std::int32_t>(found) + 1;
}

double StrToValNext(const std::string& S, std::int32_t& Pos, const std::string& Delimiter) {
  return StrToValNext(S, Pos, Delimiter, classlib::DecimalSeparator());
}

double StrToValNext(const std::string& S, std::int32_t& Pos, const std::string& Delimiter,
                    char DecimalSeparator) {
  const std::string field = NextField(S, Pos, Delimiter);
  return field.empty() ? 0.0 : StrToVal(field, DecimalSeparator);
}

TCplx StrToCplxNext(const std::string& S, std::int32_t& Pos, const std::string& Delimiter) {
  return StrToCplxNext(S, Pos, Delimiter, classlib::DecimalSeparator());
}

TCplx StrToCplxNext(const std::string& S, std::int32_t& Pos, const std::string& Delimiter,
                    char DecimalSeparator) {
  const std::string field = NextField(S, Pos, Delimiter);
  return field.empty() ? C_ZERO : StrToCplx(field, DecimalSeparator);
}

}  // namespace numeric

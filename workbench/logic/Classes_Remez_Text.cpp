// The indicator text generator: coefficient terms and the five text forms
// (Omega ProSuite, MetaStock, MQL2, MQL4, bare list), ASCII with CR LF.
// Tested by: tests/IndicatorTextTest.cpp
#include <charconv>
#include <cmath>
#include <string>

#include "numeric/MathCore.h"
#include "platform/classlib/SysUtils.h"
#include "workbench/logic/Classes_Remez.h"
#include "workbench/logic/Classes_Remez_Math.h"

namespace workbench {

namespace {

constexpr const char* CRLF = "\r\n";

// The author lines of the headers: neutral texts of this program.
constexpr const char* AuthorName = "Orvel";
constexpr const char* CopyrightNotice = "Copyright (c) Orvel";
constexpr const char* ContactText = "Orvel filter workbench";
// Box lines are 70 characters: a prefix of three, 65 of text, " |".
constexpr const char* OmegaCopyrightLine =
    "  |                       Copyright (c) Orvel                        |";
constexpr const char* OmegaContactLine =
    "  |                      Orvel filter workbench                      |";
constexpr const char* MqlCopyrightLine =
    "//|                       Copyright (c) Orvel                        |";
constexpr const char* MqlContactLine =
    "//|                      Orvel filter workbench                      |";
static_assert(std::char_traits<char>::length(OmegaCopyrightLine) == 70);
static_assert(std::char_traits<char>::length(OmegaContactLine) == 70);
static_assert(std::char_traits<char>::length(MqlCopyrightLine) == 70);
static_assert(std::char_traits<char>::length(MqlContactLine) == 70);

constexpr const char* WideTypeTexts[] = {
    "Low Pass (FATL/SATL, QZLP) Filter |",
    "High Pass (QZHP) Filter           |",
    "Band Pass (RBCI, QZLP) Filter     |",
    "Band Stop (QZSP) Filter           |",
};
constexpr const char* ShortTypeTexts[] = {
    "Low Pass (FATL/SATL, QZLP)",
    "High Pass (QZHP)",
    "Band Pass (RBCI, QZLP)",
    "Band Stop (QZSP)",
};

std::string WideType(std::uint8_t type) { return type < 4 ? WideTypeTexts[type] : ""; }
std::string ShortType(std::uint8_t type) { return type < 4 ? ShortTypeTexts[type] : ""; }
std::string Int(long long v) { return std::to_string(v); }

std::string ParameterLines(const TFilterRecord& f, int n, const char* first, const char* second,
                           const char* third) {
  std::string text = first + Int(f.P1) + "," + " D1=" + Int(f.D1) + ", A1=" + Int(f.A1);
  text += CRLF + std::string(second) + Int(f.P2) + "," + " D2=" + Int(f.D2) + "," +
          " A2=" + Int(f.A2) + "," + " Ripple=" + FloatToStrPoint(f.Ripple) + "," +
          " Delay=" + Int(f.Delay);
  text += CRLF + std::string(third) + (f.AutoOrder ? " Order [Auto]=" : " Order=") + Int(n) + "," +
          " Calculate method=" + Int(f.Method);
  return text;
}

// The exact decimal expansion of a finite non-zero magnitude: its digits and
// the power of ten of the first one.
struct DecimalDigits {
  std::string digits;
  int exponent = 0;
};

DecimalDigits ExactDigits(double magnitude) {
  // 800 significant digits hold every double's exact expansion.
  char buffer[900];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 799);
  std::string_view sci(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const std::size_t ePos = sci.find('e');
  DecimalDigits d;
  for (char c : sci.substr(0, ePos))
    if (c != '.') d.digits += c;
  std::from_chars(sci.data() + ePos + 1 + (sci[ePos + 1] == '+' ? 1 : 0), sci.data() + sci.size(), d.exponent);
  return d;
}

// Fixed-point text with precision 18 and `decimals` decimals: rounded once to
// the fewer of 18 significant digits and `decimals` decimals (a first dropped
// digit of 5 or more rounds up), at most 18 decimals written.
std::string FixedText(double value, int decimals) {
  DecimalDigits d = ExactDigits(std::fabs(value));
  int keep = d.exponent + 1 + decimals;
  if (keep > 18) keep = 18;
  std::string kept;
  if (keep > 0) {
    kept = d.digits.substr(0, static_cast<std::size_t>(keep));
    const bool roundUp = static_cast<std::size_t>(keep) < d.digits.size() && d.digits[keep] >= '5';
    if (roundUp) {
      int i = keep - 1;
      while (i >= 0 && kept[i] == '9') kept[i--] = '0';
      if (i >= 0) {
        ++kept[i];
      } else {
        kept.insert(kept.begin(), '1');
        ++d.exponent;
      }
    }
  } else if (keep == 0 && d.digits[0] >= '5') {
    kept = "1";
    ++d.exponent;
  }
  // kept[i] is the digit of 10^(exponent - i).
  const auto digitAt = [&](int power) -> char {
    const int i = d.exponent - power;
    return (i >= 0 && static_cast<std::size_t>(i) < kept.size()) ? kept[i] : '0';
  };
  std::string text = value < 0 ? "-" : "";
  if (d.exponent < 0 || kept.empty()) {
    text += '0';
  } else {
    for (int p = d.exponent; p >= 0; --p) text += digitAt(p);
  }
  const int written = decimals > 18 ? 18 : decimals;
  if (written > 0) {
    text += '.';
    for (int p = -1; p >= -written; --p) text += digitAt(p);
  }
  return text;
}

}  // namespace

std::string FormatCoefficientText(int k, double value) {
  if (numeric::IsNanOrInf(value)) throw ETextGeneration(msgNoFiniteCoefficient + std::to_string(k));
  // Every term after the first carries its sign, a zero included, so the
  // terms always form one sum.
  const std::string sign = (k > 0 && value > 0) ? "+" : "";
  if (value == 0) return k == 0 ? "0" : "+0.000000000000";
  if (std::fabs(value) >= 1e18) {
    classlib::TFormatSettings point;
    point.DecimalSeparator = '.';
    return sign + classlib::FloatToStrF(value, classlib::ffGeneral, 18, 0, point);
  }
  const int e = detail::Round32(std::log10(static_cast<long double>(std::fabs(value))));
  const int decimals = e < 1 ? 12 - e : 18 - e;
  return sign + FixedText(value, decimals);
}

std::string GenerateIndicatorText(const TFilterRecord& f, const TCoefficientRecord& c) {
  const int n = f.CoefCount;
  if (n < 1) return {};
  if (n > MaxCoefficients) throw ETextGeneration(msgTooManyCoefficients + std::to_string(n));
  std::vector<std::string> terms(static_cast<std::size_t>(n));
  for (int k = 0; k < n; ++k) terms[k] = FormatCoefficientText(k, c.Coef[k]);
  const bool highLow = f.Price == 1;
  std::string t;

  switch (c.TextMode) {
    case tmOmega:
      t += "{ +------------------------------------------------------------------+";
      t += CRLF + std::string("  |                        Digital ") + WideType(f.FilterType);
      t += CRLF + std::string(OmegaCopyrightLine) + CRLF + OmegaContactLine + CRLF;
      t += "  +------------------------------------------------------------------+";
      t += CRLF + ParameterLines(f, n, "  Parameters: P1=", "  P2=", " ");
      t += CRLF + std::string("} ") + CRLF + CRLF + CRLF + "Value1 = ";
      for (int k = 0; k < n; ++k) t += CRLF + terms[k] + "*Close[" + Int(k) + "]";
      t += std::string(";") + CRLF + "Plot1(Value1, \"Plot1\");";
      break;

    case tmMetaStock: {
      const int blocks = numeric::Ceil(n / 20.0);
      for (int b = 0; b <= blocks; ++b) {
        t += CRLF + std::string("------------------------") + CRLF;
        for (int k = 20 * b; k <= std::min(20 * b + 19, n - 1); ++k) t += terms[k] + "*Ref(C,-" + Int(k) + ")" + CRLF;
      }
      break;
    }

    case tmMQL2:
      t += std::string("/*[[") + CRLF + "Name := Digital " + ShortType(f.FilterType) + " Filter" + CRLF;
      t += std::string("Author := ") + AuthorName + CRLF;
      t += std::string("Link := ") + ContactText + CRLF;
      t += std::string("Separate Window := ") + (c.Separate ? "Yes" : "No");
      t += CRLF + std::string("First Color := Red") + CRLF + "First Draw Type := Line" + CRLF +
           "First Symbol := 217" + CRLF + "Use Second Data := No" + CRLF + "Second Color := Red" + CRLF +
           "Second Draw Type := Line" + CRLF + "Second Symbol := 218" + CRLF + "]]*/" + CRLF;
      t += ParameterLines(f, n, "// --- Parameters: P1=", "// --- P2=", "// ---");
      t += CRLF + std::string("Variables : shift(0),j(0),digf(0),AccountedBars(0),FirstTime(True);") + CRLF +
           "Inputs: CountBars(300);" + CRLF + CRLF + "SetLoopCount(0);" + CRLF + "If FirstTime Then Begin" +
           CRLF + "\tAccountedBars=CountBars;" + CRLF + "\tFirstTime=False;" + CRLF + "End;" + CRLF + CRLF +
           "For  shift = AccountedBars DownTo 0 Begin" + CRLF + "digf=";
      for (int k = 0; k < n; ++k) {
        t += CRLF + terms[k];
        t += highLow ? "*(High[shift+" + Int(k) + "]+Low[shift+" + Int(k) + "])/2" : "*Close[shift+" + Int(k) + "]";
      }
      t += std::string(";") + CRLF + CRLF + "SetIndexValue(shift, digf);" + CRLF +
           "If shift>0 Then AccountedBars=AccountedBars-1;" + CRLF + "End;" + CRLF;
      break;

    case tmMQL4: {
      t += "//+------------------------------------------------------------------+";
      t += CRLF + std::string("//|                        Digital ") + WideType(f.FilterType);
      t += CRLF + std::string(MqlCopyrightLine) + CRLF + MqlContactLine + CRLF;
      t += std::string("//+------------------------------------------------------------------+") + CRLF;
      t += std::string("#property copyright \"") + CopyrightNotice + "\"" + CRLF;
      t += std::string("#property link      \"") + ContactText + "\"" + CRLF + CRLF;
      t += ParameterLines(f, n, "// --- Parameters: P1=", "// --- P2=", "// ---") + CRLF + CRLF;
      t += c.Separate ? "#property indicator_separate_window" : "#property indicator_chart_window";
      const std::string N = Int(n);
      const std::string lines[] = {
          "#property indicator_buffers 1",
          "#property indicator_color1 Red",
          "",
          "//---- buffers",
          "double FilterBuffer[];",
          "",
          "//+------------------------------------------------------------------+",
          "//| Digital filter indicator initialization function                 |",
          "//+------------------------------------------------------------------+",
          "int init()",
          "{",
          "string short_name;",
          "//---- indicator line",
          "SetIndexStyle(0,DRAW_LINE);",
          "SetIndexBuffer(0,FilterBuffer);",
          "SetIndexDrawBegin(0," + N + ");",
          "//----",
          "return(0);",
          "}",
          "//+------------------------------------------------------------------+",
          "//| Digital filter main function                                     |",
          "//+------------------------------------------------------------------+",
          "int start()",
          "{",
          "int i,counted_bars=IndicatorCounted();",
          "//----",
          "if(Bars<=" + N + ") return(0);",
          "//---- initial zero",
          "if(counted_bars<" + N + ")",
          "for(i=1;i<=0;i++) FilterBuffer[Bars-i]=0.0;",
          "//----",
          "i=Bars-" + N + "-1;",
          "if(counted_bars>=" + N + ") i=Bars-counted_bars-1;",
          "while(i>=0)",
          "{",
          "FilterBuffer[i]=",
      };
      for (const std::string& line : lines) t += CRLF + line;
      for (int k = 0; k < n; ++k) {
        t += CRLF + std::string(" ") + terms[k];
        t += highLow ? "*((High[i+" + Int(k) + "]+Low[i+" + Int(k) + "])/2)" : "*Close[i+" + Int(k) + "]";
      }
      t += std::string(";") + CRLF + CRLF + "i--;" + CRLF + "}" + CRLF + "return(0);" + CRLF + "}";
      break;
    }

    default:
      for (int k = 0; k < n; ++k) t += terms[k] + CRLF;
      break;
  }
  return t;
}

}  // namespace workbench

// Covers SysUtils_FloatText.cpp and SysUtils_FormatSettings.cpp: the general,
// exponent, fixed, number and currency formats and FormatFloat patterns.
// Expectations are derived by hand from the runtime's documented rules.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "platform/classlib/SysUtils.h"

namespace {

using namespace classlib;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Restores the process-wide settings a test changes.
class SettingsGuard {
 public:
  SettingsGuard() : FSaved(FormatSettings()) {}
  ~SettingsGuard() { SetFormatSettings(FSaved); }

 private:
  TFormatSettings FSaved;
};

struct GeneralCase {
  double value;
  const char* text;
};

TEST(FloatToStr, GeneralFormatTable) {
  const GeneralCase cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {1.5, "1.5"},
      {-1234.5, "-1234.5"},
      {100, "100"},
      {999999999999999.0, "999999999999999"},  // 15 digits before the point: still fixed
      {1e15, "1E15"},                          // 16 digits: scientific
      {1e16, "1E16"},
      {1e20, "1E20"},
      {123456789012345678.0, "1.23456789012346E17"},
      {1000000000000005.0, "1.00000000000001E15"},  // an exact tie at the 16th digit rounds away
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {0.0001, "0.0001"},   // the smallest magnitude in fixed notation
      {0.00005, "5E-5"},
      {1e-5, "1E-5"},
      {1.5e-5, "1.5E-5"},
      {-2.5e-10, "-2.5E-10"},
      {1e300, "1E300"},
      {DBL_MAX, "1.79769313486232E308"},
      {5e-324, "5E-324"},  // the decimal value is the shortest text that reads back
      {kInf, "INF"},
      {-kInf, "-INF"},
      {kNaN, "NAN"},
  };
  for (const auto& c : cases) EXPECT_EQ(FloatToStr(c.value), c.text) << "value " << c.value;
}

TEST(FloatToStr, UsesTheProcessWideDecimalSeparator) {
  SettingsGuard guard;
  SetDecimalSeparator(',');
  EXPECT_EQ(FloatToStr(123.456), "123,456");
  EXPECT_EQ(FloatToStr(1.5e-7), "1,5E-7");
  SetDecimalSeparator('.');
  EXPECT_EQ(FloatToStr(123.456), "123.456");
}

struct FormatFCase {
  double value;
  TFloatFormat format;
  int precision;
  int digits;
  const char* text;
};

TEST(FloatToStrF, Table) {
  const FormatFCase cases[] = {
      {1234.5678, ffExponent, 5, 2, "1.2346E+03"},
      {0.0, ffExponent, 4, 2, "0.000E+00"},
      {-0.000123, ffExponent, 3, 0, "-1.23E-4"},
      {9.999, ffExponent, 2, 1, "1.0E+1"},
      {1234.5678, ffFixed, 15, 2, "1234.57"},
      {1.25, ffFixed, 15, 1, "1.3"},    // halves away from zero
      {-1.25, ffFixed, 15, 1, "-1.3"},
      {0.5, ffFixed, 15, 0, "1"},
      {-0.004, ffFixed, 15, 2, "0.00"}, // rounds to zero: no minus
      {2.0, ffFixed, 15, 3, "2.000"},
      {1.23456, ffFixed, 3, 4, "1.2300"},  // precision rounds first
      {1234.5678, ffFixed, 3, 2, "1.23E3"},  // more integer digits than precision
      {1234567.891, ffNumber, 15, 2, "1,234,567.89"},
      {-999.999, ffNumber, 15, 2, "-1,000.00"},
      {123.0, ffNumber, 15, 0, "123"},
      {1234.5, ffCurrency, 15, 2, "$1,234.50"},
      {-1234.5, ffCurrency, 15, 2, "($1,234.50)"},
      {100000.0, ffGeneral, 3, 2, "1E05"},
      {0.1 + 0.2, ffGeneral, 17, 0, "0.30000000000000004"},
      {123.456, ffGeneral, 4, 0, "123.5"},
      {kNaN, ffFixed, 15, 2, "NAN"},
      {-kInf, ffExponent, 15, 2, "-INF"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FloatToStrF(c.value, c.format, c.precision, c.digits), c.text)
        << "value " << c.value << " format " << int(c.format) << " precision " << c.precision
        << " digits " << c.digits;
}

TEST(FloatToStrF, CurrencyPlacementFollowsTheSettings) {
  TFormatSettings s;
  s.CurrencyString = "EUR";
  s.CurrencyFormat = 3;
  s.NegCurrFormat = 8;
  s.DecimalSeparator = ',';
  s.ThousandSeparator = '.';
  EXPECT_EQ(FloatToStrF(1234.5, ffCurrency, 15, 2, s), "1.234,50 EUR");
  EXPECT_EQ(FloatToStrF(-1234.5, ffCurrency, 15, 2, s), "-1.234,50 EUR");
}

struct PatternCase {
  const char* pattern;
  double value;
  const char* text;
};

// The runtime's own documentation table (1234, -1234, 0.5, 0 for each pattern),
// then the patterns the system's windows and libraries pass.
TEST(FormatFloat, PatternTable) {
  const PatternCase cases[] = {
      {"0", 1234, "1234"}, {"0", -1234, "-1234"}, {"0", 0.5, "1"}, {"0", 0, "0"},
      {"0.00", 1234, "1234.00"}, {"0.00", -1234, "-1234.00"}, {"0.00", 0.5, "0.50"}, {"0.00", 0, "0.00"},
      {"#.##", 1234, "1234"}, {"#.##", -1234, "-1234"}, {"#.##", 0.5, ".5"}, {"#.##", 0, ""},
      {"#,##0.00", 1234, "1,234.00"}, {"#,##0.00", -1234, "-1,234.00"}, {"#,##0.00", 0.5, "0.50"},
      {"#,##0.00", 0, "0.00"},
      {"#,##0.00;(#,##0.00)", 1234, "1,234.00"}, {"#,##0.00;(#,##0.00)", -1234, "(1,234.00)"},
      {"#,##0.00;(#,##0.00)", 0.5, "0.50"}, {"#,##0.00;(#,##0.00)", 0, "0.00"},
      {"#,##0.00;;Zero", 1234, "1,234.00"}, {"#,##0.00;;Zero", -1234, "-1,234.00"},
      {"#,##0.00;;Zero", 0.5, "0.50"}, {"#,##0.00;;Zero", 0, "Zero"},
      {"0.000E+00", 1234, "1.234E+03"}, {"0.000E+00", -1234, "-1.234E+03"},
      {"0.000E+00", 0.5, "5.000E-01"}, {"0.000E+00", 0, "0.000E+00"},
      {"#.###E-0", 1234, "1.234E3"}, {"#.###E-0", -1234, "-1.234E3"}, {"#.###E-0", 0.5, "5E-1"},
      {"#.###E-0", 0, "0E0"},

      {"#,##0.###", 1234567.8915, "1,234,567.892"},
      {"#,##0.###", 1.5, "1.5"},
      {"#,##0.###", 0, "0"},
      {"#,##0.###", -0.0004, "0"},  // rounds to zero: no minus sign
      {"0.0E+00", 12345, "1.2E+04"},
      {"0.0E+00", 0.00015, "1.5E-04"},
      {"0.0E+00", -2.5e-10, "-2.5E-10"},
      {"0.0E+00", 9.96, "1.0E+01"},
      {"0.0e+0", 1234, "1.2e+3"},
      {"00.00E+00", 1234, "12.34E+02"},
      {"0.00;(0.00);\"zero\"", 1.005, "1.01"},
      {"0.00;(0.00);\"zero\"", -3.14159, "(3.14)"},
      {"0.00;(0.00);\"zero\"", 0, "zero"},
      {"0.00;(0.00);\"zero\"", -0.001, "zero"},
      {"0.00;(0.00);\"zero\"", 0.004, "zero"},
      {"#.##", 0.125, ".13"},
      {"#.##", 1.999, "2"},
      {"0000", 7, "0007"},
      {"0000", 12345, "12345"},
      {"0,000", 5, "0,005"},
      {"00.##", 3.1, "03.1"},
      {" 0.0000;-0.0000", -1.5, "-1.5000"},
      {" 0.0000;-0.0000", 1.5, " 1.5000"},
      {"+0.0000i;-0.0000i", 0.25, "+0.2500i"},
      {"+0.0000i;-0.0000i", -0.25, "-0.2500i"},
      {"##0.## %", 50, "50 %"},
      {"##0.## %", 12.345, "12.35 %"},
      {" 0.00#;-0.00#", 2.5, " 2.50"},
      {" 0.00#;-0.00#", 2.1234, " 2.123"},
      {"0.00##########", 1.0 / 3, "0.333333333333"},
      {"0.00##############", 1.0 / 3, "0.333333333333333"},  // 15 significant digits, no more
      {"'$'#,##0.00", -5, "-$5.00"},
      {"0.00", 1e20, "100000000000000000000.00"},
      {".00", 12.5, "12.50"},
      {"", 1.5, "1.5"},
      {"0.00", kInf, "INF"},
      {"0.00", -kInf, "-INF"},
      {"0.00", kNaN, "NAN"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatFloat(c.pattern, c.value), c.text) << "pattern '" << c.pattern << "' value " << c.value;
}

// Halves round away from zero on the decimal value the user sees, not on the
// binary value below it (1.005 is stored as 1.00499999999999989...).
TEST(FormatFloat, RoundsHalvesAwayFromZeroOnTheDecimalValue) {
  const PatternCase cases[] = {
      {"0", 2.5, "3"},      {"0", -2.5, "-3"},     {"0", 3.5, "4"},          {"0", 0.5, "1"},
      {"0.00", 1.005, "1.01"}, {"0.00", 2.675, "2.68"}, {"0.00", -2.675, "-2.68"}, {"0.0", 0.25, "0.3"},
      {"0.00", 0.125, "0.13"}, {"0", 999.5, "1000"}, {"#,##0", 999999.5, "1,000,000"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatFloat(c.pattern, c.value), c.text) << "pattern '" << c.pattern << "' value " << c.value;
}

TEST(FormatFloat, UsesTheGivenSeparators) {
  TFormatSettings s;
  s.DecimalSeparator = ',';
  s.ThousandSeparator = '.';
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5, s), "1.234,50");
  EXPECT_EQ(FormatFloat("0.0E+00", 1234.5, s), "1,2E+03");
  s.ThousandSeparator = '\0';
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5, s), "1234,50");
}

}  // namespace

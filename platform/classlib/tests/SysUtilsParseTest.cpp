// Covers SysUtils_Parse.cpp: integer and float parsing, with the process-wide
// or an explicit decimal separator, and their error texts.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

#include "platform/classlib/SysUtils.h"

namespace {

using namespace classlib;

struct FloatParseCase {
  const char* text;
  char separator;
  bool ok;
  double value;
};

TEST(StrToFloat, GrammarTable) {
  const FloatParseCase cases[] = {
      {"1.5", '.', true, 1.5},
      {"1,5", ',', true, 1.5},
      {"1,5", '.', false, 0},
      {"1.5", ',', false, 0},
      {"  -2.5e3 ", '.', true, -2500},
      {"+1E+2", '.', true, 100},
      {"1e-2", '.', true, 0.01},
      {".5", '.', true, 0.5},
      {"5.", '.', true, 5},
      {"007", '.', true, 7},
      {"0.1", '.', true, 0.1},
      {"1e-400", '.', true, 0},      // too small: zero
      {"0.0000001e-320", '.', true, 0},
      {"1e400", '.', false, 0},      // too large: no double
      {"1.79769313486232E308", '.', true, 1.7976931348623157e308},  // the largest, as FloatToStr writes it
      {"-1.79769313486232E308", '.', true, -1.7976931348623157e308},
      {"1.79769313486233E308", '.', false, 0},
      {"12345678901234567890e300", '.', false, 0},
      {"", '.', false, 0},
      {"   ", '.', false, 0},
      {".", '.', false, 0},
      {"-", '.', false, 0},
      {"1e", '.', false, 0},
      {"1e+", '.', false, 0},
      {"e5", '.', false, 0},
      {"1.2.3", '.', false, 0},
      {"1,000.5", '.', false, 0},
      {"- 1", '.', false, 0},
      {"1.5x", '.', false, 0},
      {"0x10", '.', false, 0},
      {"INF", '.', false, 0},
      {"nan", '.', false, 0},
  };
  for (const auto& c : cases) {
    double value = -99;
    EXPECT_EQ(TryStrToFloat(c.text, value, c.separator), c.ok) << "'" << c.text << "' with " << c.separator;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << "'" << c.text << "'";
    } else {
      EXPECT_EQ(value, -99) << "a failed parse leaves the value alone";
    }
  }
}

// 17 significant digits are the shortest text of every double, so they read
// back exactly; 15 read back to the decimal value.
TEST(StrToFloat, ReadsBackWhatTheFormatsWrite) {
  for (double v : {0.1, -123.456, 1e-5, 6.02214076e23, 1.0 / 3, 4.9e-300, 5e-324, 1.7976931348623157e308}) {
    EXPECT_EQ(StrToFloat(FloatToStrF(v, ffGeneral, 17, 0)), v);
    EXPECT_EQ(FloatToStr(StrToFloat(FloatToStr(v))), FloatToStr(v));
  }
}

TEST(StrToFloat, RaisesWithTheTextQuoted) {
  try {
    StrToFloat("abc");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
  }
  EXPECT_EQ(StrToFloatDef("abc", 2.5), 2.5);
}

// The numeric core falls back to the other separator from the design and
// search threads while the GUI thread formats: an explicit separator must
// neither read nor change the process-wide one.
TEST(StrToFloat, ExplicitSeparatorLeavesTheProcessWideOneAlone) {
  const char saved = DecimalSeparator();
  SetDecimalSeparator(',');
  EXPECT_EQ(StrToFloat("1,25"), 1.25);
  EXPECT_EQ(StrToFloat("1.25", '.'), 1.25);
  EXPECT_EQ(DecimalSeparator(), ',');

  std::vector<std::thread> workers;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t)
    workers.emplace_back([t, &failures] {
      for (int i = 0; i < 2000; ++i) {
        double v = 0;
        if (!TryStrToFloat("2.5", v, '.') || v != 2.5) ++failures[static_cast<std::size_t>(t)];
        if (!TryStrToFloat("2,5", v, ',') || v != 2.5) ++failures[static_cast<std::size_t>(t)];
      }
    });
  for (int i = 0; i < 2000; ++i) SetDecimalSeparator(i % 2 ? '.' : ',');
  for (auto& w : workers) w.join();
  for (int f : failures) EXPECT_EQ(f, 0);
  SetDecimalSeparator(saved);
}

struct IntParseCase {
  const char* text;
  bool ok;
  std::int32_t value;
};

TEST(StrToInt, Table) {
  const IntParseCase cases[] = {
      {"123", true, 123},
      {" -42", true, -42},
      {"+7", true, 7},
      {"$FF", true, 255},
      {"0x1f", true, 31},
      {"-$10", true, -16},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, INT32_MIN},
      {"$FFFFFFFF", true, -1},  // hexadecimal uses all 32 bits
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"$100000000", false, 0},
      {"12a", false, 0},
      {"1.0", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {"$", false, 0},
  };
  for (const auto& c : cases) {
    std::int32_t value = -99;
    EXPECT_EQ(TryStrToInt(c.text, value), c.ok) << "'" << c.text << "'";
    if (c.ok) {
      EXPECT_EQ(value, c.value) << "'" << c.text << "'";
    }
  }
  EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(StrToIntDef("x", 5), 5);
}

TEST(StrToInt, RaisesWithTheTextQuoted) {
  try {
    StrToInt("12a");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'12a' is not a valid integer value");
  }
}

TEST(IntToStr, DecimalAndHexadecimal) {
  EXPECT_EQ(IntToStr(-5), "-5");
  EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(-1, 0), "FFFFFFFFFFFFFFFF");
}

}  // namespace

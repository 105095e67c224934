// Covers numeric/MathText.cpp: formatting of samples and complex numbers,
// StrToVal with its fallbacks, StrToCplx, PosEx and the delimited readers.
#include <gtest/gtest.h>

#include <string>

#include "numeric/MathCore.h"
#include "numeric/tests/NumericTestUtil.h"
#include "platform/classlib/SysUtils.h"

namespace numeric {
namespace {

using testutil::Raises;

// Restores the process-wide decimal separator a test changes.
class DecimalSeparatorGuard {
 public:
  explicit DecimalSeparatorGuard(char separator) : saved_(classlib::DecimalSeparator()) {
    classlib::SetDecimalSeparator(separator);
  }
  ~DecimalSeparatorGuard() { classlib::SetDecimalSeparator(saved_); }

 private:
  char saved_;
};

TEST(MathText, FormatCplx) {
  const std::pair<TCplx, const char*> cases[] = {
      {{0, -1}, "-i"},         {{2, 1}, "2+i"},          {{2, -3}, "2-3i"},
      {{2, -1}, "2-i"},        {{0, 2.5}, "2.5i"},       {{0, 1}, "i"},
      {{1.5, 0}, "1.5"},       {{-0.25, 4}, "-0.25+4i"}, {{1e20, 0.5}, "1E20+0.5i"},
      {{1, NAN}, "1+NANi"},    {{0, 0}, "0"},
  };
  for (const auto& [z, text] : cases) EXPECT_EQ(FormatCplx(z, 0), text) << z.Re << " " << z.Im;
}

TEST(MathText, CplxToStrJoinsTheTwoPatterns) {
  const std::string re = "0.00", im = "+0.00i;-0.00i";
  EXPECT_EQ(CplxToStr(TCplx{1.5, -2.25}, re, im), "1.50-2.25i");
  EXPECT_EQ(CplxToStr(TCplx{1.5, 2.25}, re, im), "1.50+2.25i");
  EXPECT_EQ(CplxToStr(TCplx{1.5, 0}, re, im), "1.50");
  EXPECT_EQ(CplxToStr(TCplx{0, 3}, re, im), "+3.00i");
  EXPECT_EQ(CplxToStr(TCplx{2, 1}, "", im), "2+i");
}

TEST(MathText, SampleToStrAndPrecision) {
  EXPECT_EQ(SampleToStr(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(SampleToStr(1.0 / 3.0, "0.00"), "0.33");
  EXPECT_EQ(SampleToStr(INF), "INF");
  EXPECT_EQ(FloatToStrPrec(1234.5678, 6, 0), "1234.57");
}

TEST(MathText, StrToValFallbacks) {
  const std::pair<const char*, double> cases[] = {
      {"1.5", 1.5}, {" 2.5e3 ", 2500}, {"-Inf", -INF}, {"INF", INF}, {"1,5", 1.5}, {"-7", -7},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(StrToVal(text, '.'), value) << text;
  EXPECT_TRUE(IsNan(StrToVal("nan", '.')));
  EXPECT_TRUE(std::signbit(StrToVal("-NaN", '.')));
  EXPECT_EQ(StrToVal("1.5", ','), 1.5);
  EXPECT_EQ(StrToValLocale("2,25", '.'), 2.25);
  EXPECT_EQ(StrToValLocale("2.25", ','), 2.25);
  EXPECT_THROW(StrToVal("abc", '.'), classlib::Exception);
  EXPECT_THROW(StrToValLocale("2.25", '.'), classlib::Exception);
}

TEST(MathText, ParsingLeavesTheProcessSeparatorAlone) {
  DecimalSeparatorGuard comma(',');
  EXPECT_EQ(StrToVal("3,5"), 3.5);
  EXPECT_EQ(StrToVal("3.5"), 3.5);  // the other separator, without switching
  EXPECT_EQ(classlib::DecimalSeparator(), ',');
  const TCplx z = StrToCplx("1,5+2,5i");
  EXPECT_EQ(z.Re, 1.5);
  EXPECT_EQ(z.Im, 2.5);
}

TEST(MathText, StrToCplx) {
  const std::pair<const char*, TCplx> cases[] = {
      {"3-4i", {3, -4}},        {"-i", {0, -1}},          {"2.5E-3+i", {0.0025, 1}},
      {"7", {7, 0}},            {"4i", {0, 4}},           {"i", {0, 1}},
      {"1.5-2.5E-2i", {1.5, -0.025}},                     {" +2i", {0, 2}},
      {"abc+2i", {0, 2}},       {"-2.5", {-2.5, 0}},      {"-1-i", {-1, -1}},
      // An exponent marker of either case keeps its sign.
      {"2+1e-3i", {2, 0.001}},  {"1e+5i", {0, 1e5}},      {"-2.5e-1-1e-2i", {-0.25, -0.01}},
      {"1E+2+3e+1i", {100, 30}},
  };
  for (const auto& [text, z] : cases) {
    const TCplx r = StrToCplx(text, '.');
    EXPECT_EQ(r.Re, z.Re) << text;
    EXPECT_EQ(r.Im, z.Im) << text;
  }
  // The imaginary part's failure is not hidden.
  EXPECT_THROW(StrToCplx("1+xi", '.'), classlib::Exception);
}

TEST(MathText, PosEx) {
  EXPECT_EQ(PosEx("a", "banana", 3), 4);
  EXPECT_EQ(PosEx("na", "banana", 5), 5);
  EXPECT_EQ(PosEx("x", "banana", 1), 0);
  EXPECT_EQ(PosEx("a", "banana", 7), 0);
  EXPECT_EQ(PosEx("", "abc", 4), 4);
  EXPECT_EQ(PosEx("", "abc", 5), 0);
  EXPECT_TRUE(Raises([] { PosEx("a", "banana", 0); }, "Offset < 1"));
}

TEST(MathText, StrToValNextWalksALine) {
  const std::string line = "1.5;;2;3.25";
  std::int32_t pos = 1;
  EXPECT_EQ(StrToValNext(line, pos, ";", '.'), 1.5);
  EXPECT_EQ(pos, 5);
  EXPECT_EQ(StrToValNext(line, pos, ";", '.'), 2);
  EXPECT_EQ(pos, 8);
  EXPECT_EQ(StrToValNext(line, pos, ";", '.'), 3.25);
  EXPECT_EQ(pos, 12);
  EXPECT_EQ(StrToValNext(line, pos, ";", '.'), 0);  // nothing left
  EXPECT_EQ(pos, 12);
}

TEST(MathText, StrToCplxNextWalksALine) {
  const std::string line = "1+2i, -i, 3";
  std::int32_t pos = 1;
  const TCplx expected[] = {{1, 2}, {0, -1}, {3, 0}, {0, 0}};
  for (const TCplx& z : expected) {
    const TCplx r = StrToCplxNext(line, pos, ", ", '.');
    EXPECT_EQ(r.Re, z.Re);
    EXPECT_EQ(r.Im, z.Im);
  }
  EXPECT_EQ(pos, 12);
}

}  // namespace
}  // namespace numeric

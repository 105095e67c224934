// The indicator text generator: coefficient terms and the five text forms,
// byte for byte against texts written by hand from the text rules (data/text_*.txt).
// Covers: Classes_Remez_Text.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "workbench/logic/Classes_Remez.h"

namespace workbench {
namespace {

TEST(FormatCoefficientText, WritesDecimalsByMagnitude) {
  const struct {
    int k;
    double value;
    const char* text;
  } cases[] = {
      {0, 0.5, "0.500000000000"},                // e = 0: 12 decimals, no sign on the first term
      {1, 0.3, "+0.3000000000000"},              // e = -1: 13 decimals
      {2, -0.1, "-0.1000000000000"},
      {1, 5, "+5.00000000000000000"},            // e = 1: 17 decimals
      {3, 0.00002, "+0.00002000000000000"},      // e = -5: 17 decimals
      {4, 0.0000001, "+0.000000100000000000"},   // e = -7: rounded at 19 decimals, 18 written
      {0, -0.5, "-0.500000000000"},
      {1, 12.34, "+12.33999999999999990"},       // 18 significant digits of the double
      {1, 0.123456789012345678, "+0.1234567890123"},
      {1, 0.0123456789012375, "+0.01234567890124"},  // e = -2: 14 decimals, rounded up
      {1, 0.99999999999999, "+1.000000000000"},           // rounds up across the point
      {0, 0, "0"},
      // Every term after the first carries its sign, a zero too.
      {5, 0, "+0.000000000000"},
      {5, -0.0, "+0.000000000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatCoefficientText(c.k, c.value), c.text) << c.value;
}

TEST(FormatCoefficientText, RefusesValuesThatAreNotFinite) {
  EXPECT_THROW(FormatCoefficientText(1, std::numeric_limits<double>::quiet_NaN()), ETextGeneration);
  EXPECT_THROW(FormatCoefficientText(0, std::numeric_limits<double>::infinity()), ETextGeneration);
}

std::string Fixture(const char* name) {
  std::ifstream in(std::string(ORVEL_TEST_SOURCE_DIR) + "/data/" + name, std::ios::binary);
  EXPECT_TRUE(in.good()) << name;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TFilterRecord SampleFilter(std::uint8_t type) {
  TFilterRecord f;
  f.FilterType = type;
  f.P1 = 24;
  f.D1 = 12;
  f.A1 = 40;
  f.P2 = 36;
  f.D2 = 52;
  f.A2 = 30;
  f.Ripple = 0.08;
  f.Delay = 0;
  f.Order = 50;  // the text shows the count of coefficients, not this
  f.CoefCount = 3;
  f.AutoOrder = 1;
  f.Method = 1;
  return f;
}

TCoefficientRecord SampleCoefficients(std::uint8_t mode, std::uint8_t separate) {
  TCoefficientRecord c;
  c.TextMode = mode;
  c.Separate = separate;
  c.Coef[0] = 0.5;
  c.Coef[1] = 0.3;
  c.Coef[2] = -0.1;
  c.Coef[3] = 0.7;  // beyond the count: never written
  return c;
}

TEST(GenerateIndicatorText, WritesEachFormByteForByte) {
  const struct {
    const char* fixture;
    std::uint8_t type, mode, separate, price, autoOrder;
  } cases[] = {
      // Omega ProSuite and MetaStock always use the close, whatever the price input.
      {"text_omega.txt", ftLowPass, tmOmega, 0, 1, 1},
      {"text_metastock.txt", ftLowPass, tmMetaStock, 0, 1, 1},
      {"text_mql2.txt", ftLowPass, tmMQL2, 1, 1, 1},
      {"text_mql4.txt", ftBandPass, tmMQL4, 0, 1, 0},
      {"text_list.txt", ftLowPass, 7, 0, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture);
    TFilterRecord f = SampleFilter(c.type);
    f.Price = c.price;
    f.AutoOrder = c.autoOrder;
    EXPECT_EQ(GenerateIndicatorText(f, SampleCoefficients(c.mode, c.separate)), Fixture(c.fixture));
  }
}

TEST(GenerateIndicatorText, MqlFormsWriteTheClose) {
  TFilterRecord f = SampleFilter(ftLowPass);
  const std::string mql2 = GenerateIndicatorText(f, SampleCoefficients(tmMQL2, 0));
  EXPECT_NE(mql2.find("+0.3000000000000*Close[shift+1]\r\n"), std::string::npos);
  EXPECT_NE(mql2.find("Separate Window := No\r\n"), std::string::npos);
  const std::string mql4 = GenerateIndicatorText(f, SampleCoefficients(tmMQL4, 1));
  EXPECT_NE(mql4.find(" -0.1000000000000*Close[i+2];\r\n"), std::string::npos);
  EXPECT_NE(mql4.find("#property indicator_separate_window\r\n"), std::string::npos);
}

TEST(GenerateIndicatorText, MetaStockBlocksHoldTwentyTerms) {
  TCoefficientRecord c;
  c.TextMode = tmMetaStock;
  for (int k = 0; k < 21; ++k) c.Coef[k] = 0.01 * (k + 1);
  const std::string separator = "\r\n------------------------\r\n";
  for (int n : {20, 21}) {
    TFilterRecord f = SampleFilter(ftLowPass);
    f.CoefCount = n;
    const std::string text = GenerateIndicatorText(f, c);
    std::vector<int> termsPerBlock;
    for (std::size_t at = text.find(separator); at != std::string::npos;) {
      const std::size_t next = text.find(separator, at + 1);
      const std::string block = text.substr(at + separator.size(), next == std::string::npos ? std::string::npos : next - at - separator.size());
      int terms = 0;
      for (std::size_t p = block.find("*Ref("); p != std::string::npos; p = block.find("*Ref(", p + 1)) ++terms;
      termsPerBlock.push_back(terms);
      at = next;
    }
    EXPECT_EQ(termsPerBlock, n == 20 ? std::vector<int>({20, 0}) : std::vector<int>({20, 1, 0})) << n;
    EXPECT_TRUE(text.ends_with(separator));
  }
}

TEST(GenerateIndicatorText, EmptyWithoutCoefficients) {
  TFilterRecord f = SampleFilter(ftLowPass);
  f.CoefCount = 0;
  for (int mode : {0, 1, 2, 3, 9})
    EXPECT_EQ(GenerateIndicatorText(f, SampleCoefficients(static_cast<std::uint8_t>(mode), 0)), "") << mode;
}

TEST(GenerateIndicatorText, RefusesNonFiniteCoefficientsAndOverlongCounts) {
  TFilterRecord f = SampleFilter(ftLowPass);
  TCoefficientRecord c = SampleCoefficients(tmMQL4, 0);
  c.Coef[2] = std::numeric_limits<double>::infinity();
  EXPECT_THROW(GenerateIndicatorText(f, c), ETextGeneration);
  f.CoefCount = MaxCoefficients + 1;
  EXPECT_THROW(GenerateIndicatorText(f, SampleCoefficients(tmMQL4, 0)), ETextGeneration);
}

}  // namespace
}  // namespace workbench

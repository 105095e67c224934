// Covers SysUtils_Format.cpp: Format's conversions, widths, precisions,
// argument indexes and error texts.
#include <gtest/gtest.h>

#include "testing/TestSupport.h"

#include <cstdint>
#include <string>

#include "platform/classlib/SysUtils.h"

namespace {

using namespace classlib;

TEST(Format, Conversions) {
  const std::int64_t wide = -1;
  const struct {
    std::string got;
    const char* want;
  } cases[] = {
      {Format("%d", 42), "42"},
      {Format("%5d", 42), "   42"},
      {Format("%-5d|", 42), "42   |"},
      {Format("%.3d", 7), "007"},
      {Format("%.3d", -7), "-007"},
      {Format("%*d", 5, 42), "   42"},
      {Format("%x", 255), "FF"},
      {Format("%.4x", 255), "00FF"},
      {Format("%x", -1), "FFFFFFFF"},
      {Format("%x", wide), "FFFFFFFFFFFFFFFF"},
      {Format("%u", -1), "4294967295"},
      {Format("%s of %s", "a", std::string("b")), "a of b"},
      {Format("%.2s", "abcdef"), "ab"},
      {Format("%10s", "ab"), "        ab"},
      {Format("%s", 'c'), "c"},
      {Format("%f", 3.14159), "3.14"},
      {Format("%.3f", 2.0), "2.000"},
      {Format("%f", 2), "2.00"},
      {Format("%n", 1234567.891), "1,234,567.89"},
      {Format("%e", 1234.5), "1.23450000000000E+003"},
      {Format("%.3e", 1234.5), "1.23E+003"},
      {Format("%g", 1e20), "1E20"},
      {Format("%g", 0.5), "0.5"},
      {Format("%m", 1234.5), "$1,234.50"},
      {Format("%1:s %0:s", "a", "b"), "b a"},
      {Format("%0:s-%0:s", "a"), "a-a"},
      {Format("100%%"), "100%"},
      {Format("KivNav%s", "FIRST"), "KivNavFIRST"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(Format, UsesTheGivenDecimalSeparator) {
  TFormatSettings s;
  s.DecimalSeparator = ',';
  const TFormatArg args[] = {1.25};
  EXPECT_EQ(FormatArgs("%.1f", args, s), "1,3");
}

TEST(Format, ErrorTexts) {
  auto message = orvel::testing::RaisedMessage<EConvertError>;
  EXPECT_EQ(message([] { Format("%d", "x"); }), "Format '%d' invalid or incompatible with argument");
  EXPECT_EQ(message([] { Format("%s", 5); }), "Format '%s' invalid or incompatible with argument");
  EXPECT_EQ(message([] { Format("%y", 5); }), "Format '%y' invalid or incompatible with argument");
  EXPECT_EQ(message([] { Format("abc%", 5); }), "Format 'abc%' invalid or incompatible with argument");
  EXPECT_EQ(message([] { Format("%d %d", 1); }), "No argument for format '%d %d'");
  EXPECT_EQ(message([] { Format("%5:d", 1); }), "No argument for format '%5:d'");
}

}  // namespace

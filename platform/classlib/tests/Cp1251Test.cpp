// Covers Cp1251.cpp: the table against the C library's own Windows-1251
// converter (iconv, used here only as an oracle), both directions, and the
// replacement of what cannot be converted.
#include <gtest/gtest.h>

#include <iconv.h>

#include <string>

#include "platform/classlib/Cp1251.h"

namespace {

using namespace classlib;

// Converts with iconv; empty when iconv refuses the input.
std::string Iconv(const char* to, const char* from, const std::string& in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return "<no converter>";
  std::string inCopy = in;
  char* src = inCopy.data();
  std::size_t srcLeft = inCopy.size();
  std::string out(in.size() * 4 + 4, '\0');
  char* dst = out.data();
  std::size_t dstLeft = out.size();
  const std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (r == static_cast<std::size_t>(-1)) return "";
  out.resize(out.size() - dstLeft);
  return out;
}

TEST(Cp1251, EveryHighByteAgreesWithIconv) {
  int defined = 0;
  for (int b = 0x80; b <= 0xFF; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::string expected = Iconv("UTF-8", "CP1251", byte);
    ASSERT_NE(expected, "<no converter>");
    if (expected.empty()) {
      EXPECT_EQ(Cp1251ToUtf8(byte), "?") << "byte " << b << " is undefined";
      continue;
    }
    ++defined;
    EXPECT_EQ(Cp1251ToUtf8(byte), expected) << "byte " << b;
    EXPECT_EQ(Utf8ToCp1251(expected), byte) << "byte " << b;
  }
  EXPECT_EQ(defined, 127);
}

TEST(Cp1251, RoundTripOfText) {
  std::string all;
  for (int b = 1; b <= 0xFF; ++b)
    if (b != 0x98) all.push_back(static_cast<char>(b));
  EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
  // "Расчет комбинации" as the workbench writes it.
  const std::string utf8 = "\xD0\xA0\xD0\xB0\xD1\x81\xD1\x87\xD0\xB5\xD1\x82 OK";
  EXPECT_EQ(Utf8ToCp1251(utf8), "\xD0\xE0\xF1\xF7\xE5\xF2 OK");
  EXPECT_EQ(Cp1251ToUtf8("\xD0\xE0\xF1\xF7\xE5\xF2 OK"), utf8);
}

TEST(Cp1251, WhatCannotBeConvertedBecomesAQuestionMark) {
  const struct {
    std::string utf8;
    std::string cp1251;
  } cases[] = {
      {"\xE4\xB8\xAD", "?"},                    // a character the code page lacks
      {"\xF0\x9F\x98\x80x", "?x"},              // beyond the basic plane
      {"\xC3\xA9", "?"},                        // e acute is not in Windows-1251
      {"\xC0\xAF", "??"},                       // overlong form of '/'
      {"\xED\xA0\x80", "???"},                  // a surrogate
      {"\xD0", "?"},                            // cut short
      {"\xD0" "A", "?A"},
      {"\x80\xBF", "??"},                       // stray continuation bytes
      {"\xE2\x82\xAC", "\x88"},                 // the euro sign is there
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToCp1251(c.utf8), c.cp1251);
}

}  // namespace

// Windows-1251 case tables, built once from the code page's letter pairs.
// Tested by: regex/tests/RegexCaseTest.cpp.
#include "regex/RegexCase1251.h"

#include <array>

namespace regex {
namespace {

struct TCaseTables {
  std::array<unsigned char, 256> Upper;
  std::array<unsigned char, 256> Lower;
};

// {lower, upper} pairs outside the two contiguous alphabets.
constexpr unsigned char CyrillicPairs[][2] = {
    {0x90, 0x80},  // ђ Ђ
    {0x83, 0x81},  // ѓ Ѓ
    {0x9A, 0x8A},  // љ Љ
    {0x9C, 0x8C},  // њ Њ
    {0x9D, 0x8D},  // ќ Ќ
    {0x9E, 0x8E},  // ћ Ћ
    {0x9F, 0x8F},  // џ Џ
    {0xA2, 0xA1},  // ў Ў
    {0xBC, 0xA3},  // ј Ј
    {0xB4, 0xA5},  // ґ Ґ
    {0xB8, 0xA8},  // ё Ё
    {0xBA, 0xAA},  // є Є
    {0xBF, 0xAF},  // ї Ї
    {0xB3, 0xB2},  // і І
    {0xBE, 0xBD},  // ѕ Ѕ
};

constexpr TCaseTables MakeTables() {
  TCaseTables t{};
  for (int c = 0; c < 256; ++c) {
    t.Upper[c] = static_cast<unsigned char>(c);
    t.Lower[c] = static_cast<unsigned char>(c);
  }
  auto pair = [&t](int lower, int upper) {
    t.Upper[lower] = static_cast<unsigned char>(upper);
    t.Lower[upper] = static_cast<unsigned char>(lower);
  };
  for (int c = 'a'; c <= 'z'; ++c) pair(c, c - 'a' + 'A');
  for (int c = 0xE0; c <= 0xFF; ++c) pair(c, c - 0x20);  // а..я, А..Я
  for (const auto& p : CyrillicPairs) pair(p[0], p[1]);
  return t;
}

constexpr TCaseTables Tables = MakeTables();

}  // namespace

unsigned char UpperCase1251(unsigned char c) { return Tables.Upper[c]; }
unsigned char LowerCase1251(unsigned char c) { return Tables.Lower[c]; }

}  // namespace regex

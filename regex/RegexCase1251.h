// Case conversion of single Windows-1251 characters: the Latin letters, the
// Russian letters 0xC0..0xFF with Ё/ё, and the other Cyrillic letters of the
// code page. Other bytes have no case.
// Tested by: regex/tests/RegexCaseTest.cpp (against Perl's Unicode case mapping).
#pragma once

namespace regex {

unsigned char UpperCase1251(unsigned char c);
unsigned char LowerCase1251(unsigned char c);

}  // namespace regex

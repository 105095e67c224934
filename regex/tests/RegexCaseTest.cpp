// The Windows-1251 case tables (RegexCase1251.cpp) and the test library's
// code-page table (regex/testing/PatternGenerator.cpp) against Perl: the
// code page decoded by Encode, upper and lower case by Perl's Unicode rules.
#include <gtest/gtest.h>

#include <sstream>

#include "regex/Classes_Regex.h"
#include "regex/RegexCase1251.h"
#include "regex/testing/PatternGenerator.h"
#include "regex/testing/PerlOracle.h"

namespace regex {
namespace {

// For each byte: its code point, and the bytes of its upper and lower case
// (the byte itself when the case is not in the code page).
const char* const CaseScript = R"(
use strict; use warnings; use Encode qw(decode encode);
for my $b (0 .. 255) {
  my $c = decode('cp1251', chr($b));
  my ($u, $l) = (uc $c, lc $c);
  my $ub = length($u) == 1 ? encode('cp1251', $u, sub { '' }) : '';
  my $lb = length($l) == 1 ? encode('cp1251', $l, sub { '' }) : '';
  printf "%d %d %d %d\n", $b, ord($c), length($ub) == 1 ? ord($ub) : $b, length($lb) == 1 ? ord($lb) : $b;
}
)";

TEST(RegexCaseOracle, Windows1251CaseMatchesPerl) {
  if (!testlib::PerlAvailable()) GTEST_SKIP() << "perl with the Encode module is not installed";
  std::istringstream lines(testlib::RunPerlScript(CaseScript));
  int count = 0;
  int b, codePoint, upper, lower;
  while (lines >> b >> codePoint >> upper >> lower) {
    ++count;
    const auto c = static_cast<unsigned char>(b);
    EXPECT_EQ(testlib::Cp1251ToUnicode(c), static_cast<std::uint32_t>(codePoint)) << "byte " << b;
    EXPECT_EQ(UpperCase1251(c), upper) << "byte " << b;
    EXPECT_EQ(LowerCase1251(c), lower) << "byte " << b;
    EXPECT_EQ(TRegex::InvertCase(c), upper != b ? upper : lower) << "byte " << b;
  }
  EXPECT_EQ(count, 256);
}

}  // namespace
}  // namespace regex

// A second opinion for the differential test: PCRE2 (interpreter, UTF mode)
// runs the Perl rendering of a case. Used only where Perl 5.36 is known to
// be at fault (see regex/tests/PerlDifferences.md).
// Tested by: regex/tests/RegexPerlTest.cpp.
#pragma once

#include <string>

#include "regex/testing/PerlOracle.h"

namespace regex::testlib {

// Matches the Perl-syntax pattern on the Windows-1251 subject from the 1-based
// offset; spans are in characters, like Perl's.
TPerlResult MatchWithPcre2(const std::string& perlPattern, const std::string& subject, int offset, int groups);

}  // namespace regex::testlib

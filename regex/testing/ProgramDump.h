// Text dumps of a compiled TRegex for tests: the p-code node by node and the
// start analysis. Linked only into tests.
// Tested by: regex/tests/RegexCompileTest.cpp, whose expected results are dumps.
#pragma once

#include <string>

#include "regex/Classes_Regex.h"

namespace regex::testlib {

// The p-code, one token per node: "offset:Name operand ->next", e.g.
// "1:Branch->25 6:Literal'a'->13 13:Star->25 18:Literal'b' 25:End".
// The regex must be compiled.
std::string DumpProgram(const TRegex& r);

// The start analysis: "first='a'", "anchored", "must='text'" and the set of
// possible first characters ("set=[...]", the end of input shown as \0).
std::string DumpStart(const TRegex& r);

// A character set as ranges, e.g. "0-9A-Z_a-z"; bytes outside 0x21..0x7E as \xHH.
std::string DumpCharSet(const bool (&members)[256]);

}  // namespace regex::testlib

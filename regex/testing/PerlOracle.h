// Runs match cases through Perl (regex/testing/perl_match.pl) in one process.
// Tested by: regex/tests/RegexPerlTest.cpp, RegexCaseTest.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace regex::testlib {

struct TPerlCase {
  std::string Pattern;   // Perl syntax, ASCII
  std::string Subject;   // Windows-1251 bytes
  std::int32_t Offset = 1;
  int Groups = 0;
};

struct TPerlResult {
  bool Refused = false;  // Perl did not compile the pattern
  bool Matched = false;
  std::vector<std::pair<int, int>> Spans;  // [0] the match, [n] group n; -1 when not taken part
};

// Whether a perl with the Encode module can be run.
bool PerlAvailable();

// One result per case, in order. Throws std::runtime_error when perl fails.
std::vector<TPerlResult> RunPerl(const std::vector<TPerlCase>& cases);

// Runs a short perl program and returns its standard output.
std::string RunPerlScript(const std::string& program);

}  // namespace regex::testlib

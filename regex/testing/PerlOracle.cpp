// The Perl driver: writes the cases to a file, runs perl once over it and
// reads one result line per case.
// Tested by: regex/tests/RegexPerlTest.cpp.
#include "regex/testing/PerlOracle.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "testing/TestSupport.h"

namespace regex::testlib {
namespace {

#ifndef ORVEL_REGEX_TESTING_DIR
#error "ORVEL_REGEX_TESTING_DIR must name regex/testing"
#endif

std::string TempPath(const char* stem) {
  std::string path = std::string("/tmp/") + stem + "XXXXXX";
  int fd = mkstemp(path.data());
  if (fd < 0) throw std::runtime_error("cannot create a temporary file");
  close(fd);
  return path;
}

}  // namespace

bool PerlAvailable() { return std::system("perl -MEncode -e 1 >/dev/null 2>&1") == 0; }

std::string RunPerlScript(const std::string& program) {
  const std::string path = TempPath("orvel-regex-perl-");
  {
    std::ofstream out(path, std::ios::binary);
    out << program;
  }
  std::string result;
  try {
    result = orvel::testing::CommandOutput("perl '" + path + "'");
  } catch (...) {
    std::remove(path.c_str());
    throw;
  }
  std::remove(path.c_str());
  return result;
}

std::vector<TPerlResult> RunPerl(const std::vector<TPerlCase>& cases) {
  const std::string path = TempPath("orvel-regex-cases-");
  {
    std::ofstream out(path, std::ios::binary);
    static const char* const digits = "0123456789abcdef";
    for (const TPerlCase& c : cases) {
      std::string hex;
      for (unsigned char b : c.Subject) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
      }
      out << c.Pattern << '\t' << hex << '\t' << c.Offset << '\t' << c.Groups << '\n';
    }
  }
  std::string output;
  try {
    output = orvel::testing::CommandOutput("perl '" ORVEL_REGEX_TESTING_DIR "/perl_match.pl' < '" + path + "'");
  } catch (...) {
    std::remove(path.c_str());
    throw;
  }
  std::remove(path.c_str());

  std::vector<TPerlResult> results;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    TPerlResult r;
    std::istringstream fields(line);
    std::string tag;
    fields >> tag;
    if (tag == "E") {
      r.Refused = true;
    } else if (tag == "M") {
      r.Matched = true;
      int s, e;
      while (fields >> s >> e) r.Spans.emplace_back(s, e);
    }
    results.push_back(std::move(r));
  }
  if (results.size() != cases.size()) throw std::runtime_error("perl answered a different number of cases");
  return results;
}

}  // namespace regex::testlib

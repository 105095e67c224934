#include <gtest/gtest.h>
#include "regex/Classes_Regex.h"
#include "regex/testing/ProgramDump.h"
using namespace regex;
TEST(Tmp, Dump) {
  for (const char* e : {"ab*", "(ab)*c", "(ab)+c", "a?", "(a|b){2,3}", "x(ab)*?y", "[a-c]", "\\w+"}) {
    TRegex r; r.SetExpression(e); r.CompileExpression();
    std::printf("%s\n  %s\n  %s\n", e, testlib::DumpProgram(r).c_str(), testlib::DumpStart(r).c_str());
  }
}

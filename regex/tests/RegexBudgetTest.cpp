// The default step budget ends a search that explodes where the memo of
// failed states cannot help (a back-reference is in play). Slow on purpose:
// the budget is meant to be far above any linear search, so reaching it
// takes about a second, several under the sanitizers.
// Covers: Classes_Regex_Memo.cpp (Checkpoint).
#include <gtest/gtest.h>

#include <string>

#include "regex/Classes_Regex.h"

namespace regex {
namespace {

TEST(RegexBudget, DefaultBudgetEndsAnExplodingSearch) {
  std::string subject;
  for (int i = 0; i < 30; ++i) subject += "ab";
  TRegex r;
  r.SetExpression("(a|b|ab)*\\1[cd]");
  try {
    r.Exec(subject);
    FAIL() << "no error";
  } catch (const ERegex& e) {
    EXPECT_EQ(e.ErrorCode(), reStepBudgetExceeded);
    EXPECT_STREQ(e.what(), "TRegex(exec): Step Budget Exceeded");
  }
}

}  // namespace
}  // namespace regex

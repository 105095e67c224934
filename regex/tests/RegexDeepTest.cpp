// Long subjects and large expressions: the matcher's backtracking state lives
// on the heap, so neither overflows the C++ stack; its bound is an error.
// Covers: Classes_Regex_Match.cpp (frames, loops, the stack bound),
// Classes_Regex_Compile.cpp and Classes_Regex_Start.cpp (linear work on
// long expressions).
#include <gtest/gtest.h>

#include <string>

#include "regex/Classes_Regex.h"
#include "regex/RegexProgram.h"
#include "regex/tests/RegexTestSupport.h"

namespace regex {
namespace {

constexpr std::size_t TenMegabytes = 10u << 20;

using testsupport::Repeat;

TEST(RegexDeep, StarredGroupOverTenMegabytes) {
  const std::string subject = Repeat("ab", TenMegabytes) + "c";
  TRegex r;
  r.SetExpression("(ab)*c");
  try {
    ASSERT_TRUE(r.Exec(subject));
    EXPECT_EQ(TRegexInternals::StartP(r, 0), 0);
    EXPECT_EQ(TRegexInternals::EndP(r, 0), static_cast<std::int32_t>(subject.size()));
    EXPECT_EQ(r.Match(1), "ab");
    EXPECT_EQ(TRegexInternals::StartP(r, 1), static_cast<std::int32_t>(subject.size()) - 3);
  } catch (const ERegex& e) {
    EXPECT_EQ(e.ErrorCode(), reBacktrackStackExceeded);
  }
}

TEST(RegexDeep, AlternativesInAStarOverTwoMegabytes) {
  std::string subject = Repeat("abba", 2u << 20);
  TRegex r;
  r.SetExpression("(a|b)*$");
  try {
    ASSERT_TRUE(r.Exec(subject));
    EXPECT_EQ(TRegexInternals::EndP(r, 0), static_cast<std::int32_t>(subject.size()));
    EXPECT_EQ(r.Match(1), "a");
  } catch (const ERegex& e) {
    EXPECT_EQ(e.ErrorCode(), reBacktrackStackExceeded);
  }
}

TEST(RegexDeep, SimpleRepeatsNeedNoStack) {
  const std::string subject = std::string(TenMegabytes, 'a') + "b";
  TRegex r;
  r.SetExpression("a*b");
  ASSERT_TRUE(r.Exec(subject));
  EXPECT_EQ(r.Match(0).size(), subject.size());
  r.SetExpression("[a-c]+?b");
  ASSERT_TRUE(r.Exec(subject));
  EXPECT_EQ(r.Match(0).size(), subject.size());
}

TEST(RegexDeep, NonGreedyAndCountedLoopsOverOneMegabyte) {
  const std::string subject = Repeat("ab", 1u << 20) + "c";
  TRegex r;
  r.SetExpression("x?(ab)*?c");
  ASSERT_TRUE(r.Exec(subject));
  EXPECT_EQ(r.Match(0).size(), subject.size());
  r.SetExpression("(ab){2,}c");
  ASSERT_TRUE(r.Exec(subject));
  EXPECT_EQ(r.Match(1), "ab");
  r.SetModifierS(false);
  r.SetExpression(".+c");
  ASSERT_TRUE(r.Exec(subject));
  EXPECT_EQ(r.Match(0).size(), subject.size());
}

// The bound of the stack is an error of the engine's own, and the object
// stays usable after it.
TEST(RegexDeep, StackBoundRaisesItsError) {
  TRegex r;
  TRegexInternals::SetMaxFrames(r, 1000);
  r.SetExpression("(ab)*c");
  try {
    r.Exec(Repeat("ab", 10000) + "c");
    FAIL() << "no error";
  } catch (const ERegex& e) {
    EXPECT_EQ(e.ErrorCode(), reBacktrackStackExceeded);
    EXPECT_STREQ(e.what(), "TRegex(exec): Backtrack Stack Exceeded");
  }
  EXPECT_TRUE(r.Exec("ababc"));
  EXPECT_EQ(r.Match(1), "ab");
}

TEST(RegexDeep, ManyAlternativesAndPieces) {
  std::string alternatives;
  for (int i = 0; i < 20000; ++i) alternatives += "x" + std::to_string(i) + "y|";
  alternatives += "z";
  TRegex r;
  r.SetExpression(alternatives);
  ASSERT_TRUE(r.Exec("..x19999y.."));
  EXPECT_EQ(r.Match(0), "x19999y");

  std::string optional;
  for (int i = 0; i < 50000; ++i) optional += "a?";
  r.SetExpression(optional + "b");
  ASSERT_TRUE(r.Exec(std::string(10, 'a') + "b"));
  EXPECT_EQ(r.Match(0), std::string(10, 'a') + "b");
}

}  // namespace
}  // namespace regex

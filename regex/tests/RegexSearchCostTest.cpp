// What a search costs: inputs that once took minutes (quadratic or
// exponential backtracking) as a table of expected results, the memo of
// failed states against the plain search, and the step budget's error.
// No test here measures time: the subjects are long enough (100 000
// characters) that a search gone quadratic again runs for minutes, which
// the test run's timeout catches, or stops at the step budget with error
// 1018, which fails the case. Speed is measured in bench/regex_bench.cpp.
// Covers: Classes_Regex_Memo.cpp, Classes_Regex_Start.cpp (shortest match,
// literals in order, follow sets, lead repeat), Classes_Regex.cpp (Search),
// Classes_Regex_Match.cpp (loops that cannot fit, repeats with the memo).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regex/Classes_Regex.h"
#include "regex/RegexProgram.h"
#include "regex/testing/PatternGenerator.h"
#include "regex/tests/RegexTestSupport.h"
#include "testing/TestSupport.h"

namespace regex {
namespace {

using testsupport::CountSpans;
using testsupport::HeaderExpression;
using testsupport::Long;
using testsupport::Repeat;
using testsupport::Spans;
using testsupport::TermExpression;

struct TCostCase {
  const char* Name;
  const char* Expression;
  std::string Subject;
  std::string Expected;  // "(start,end)" of the match and each group, or "no match"
};

// Faults found by fuzzing, and neighbours of them that get past the cheap
// checks (the literals in order, the shortest match) to the search itself.
const TCostCase CostCases[] = {
    // A literal holding byte 0 crashed the start analysis.
    {"ZeroByteLiteral", "\\x00abc{", "abc", "no match"},
    {"ZeroByteAlternative", "q\\x00|(ab)*c", "abc", "(0,3)(0,2)"},
    // The term expression on a long number: each start re-read the number.
    {"TermOnDigits30k", TermExpression, std::string(30000, '1') + "]", "no match"},
    {"TermOnDigits", TermExpression, std::string(Long, '1') + "]", "no match"},
    {"TermOnDigitsNearMatch", TermExpression, std::string(Long, '1') + "*a[b+1x]", "no match"},
    {"TermOnSignsNearMatch", TermExpression, Repeat("+-", Long) + "1*a[b+1x]", "no match"},
    {"TermOnDigitsMatch", TermExpression, std::string(Long, '7') + "*a[b+12]",
     "(0,100008)(-1,-1)(0,100000)(100001,100002)(100003,100004)(100005,100007)"},
    {"TermAfterSigns", TermExpression, Repeat("+-", Long) + "5*a[b+1]",
     "(0,100008)(99999,100000)(100000,100001)(100002,100003)(100004,100005)(100006,100007)"},
    // The header expression on a long name: each start re-read the name.
    {"HeaderOnLetters30k", HeaderExpression, std::string(30000, 'a') + "= x", "no match"},
    {"HeaderOnLetters", HeaderExpression, std::string(Long, 'a') + "= x", "no match"},
    {"HeaderOnAssignments", HeaderExpression, Repeat("a = ", Long) + "x", "no match"},
    {"HeaderOnBlanks", HeaderExpression, "a" + std::string(Long, ' ') + "= x", "no match"},
    {"HeaderAtTheEnd", HeaderExpression, std::string(Long, 'a') + " = ", "(0,100003)(0,100000)"},
    // A repeat whose follower never comes.
    {"StarBeforeSet", "x*[y]", std::string(Long, 'x'), "no match"},
    {"StarBeforeSetMatch", "x*[y]", std::string(Long, 'x') + "y", "(0,100001)"},
    {"StarBeforeGroup", "x*(y|z)", std::string(Long, 'x'), "no match"},
    // Nested repeats: exponential in the length without the memo.
    {"NestedPlus26", "(a+)+$", std::string(26, 'a') + "!", "no match"},
    {"NestedPlus", "(a+)+$", std::string(Long, 'a') + "!", "no match"},
    {"NestedPlusMatch", "(a+)+$", std::string(Long, 'a'), "(0,100000)(0,100000)"},
    {"AlternativesInStar", "(a|aa)*[bd]", std::string(Long, 'a') + "c", "no match"},
    {"AlternativesInLazyStar", "(a|aa)*?[cd]", std::string(Long, 'a') + "b", "no match"},
    {"CountedLoopInStar", "((a|aa){2,3})*[cd]", std::string(Long, 'a') + "b", "no match"},
    {"StarOfPlus", "(a+b?)*[cd]", std::string(Long, 'a'), "no match"},
    {"StarOfPlusMatch", "(a+b?)*[cd]", std::string(Long, 'a') + "bd", "(0,100002)(0,100001)"},
    // Counted loops that need more text than there is.
    {"HugeCount", "(a){99999999}", std::string(Long, 'a'), "no match"},
    {"HugeCountAlternative", "b|(a){99999999}", std::string(Long, 'a'), "no match"},
    {"HugeCountSimple", "x|a{99999}", std::string(Long - 10, 'a'), "no match"},
    {"HugeCountInGroup", "(ab{99999})|c", Repeat("ab", Long), "no match"},
};

class RegexSearchCost : public ::testing::TestWithParam<TCostCase> {};

TEST_P(RegexSearchCost, GivesTheExpectedResult) {
  const TCostCase& c = GetParam();
  TRegex r;
  r.SetExpression(c.Expression);
  const bool matched = r.Exec(c.Subject);
  if (c.Expected == "no match") {
    EXPECT_FALSE(matched);
  } else {
    ASSERT_TRUE(matched);
    EXPECT_EQ(Spans(r, CountSpans(c.Expected) - 1), c.Expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Fuzz, RegexSearchCost, ::testing::ValuesIn(CostCases),
                         [](const ::testing::TestParamInfo<TCostCase>& info) { return info.param.Name; });

// Whether the search keeps a memo, and from when, changes nothing of its
// answer, nor does running a program that never chooses in one pass: random
// expressions and subjects, every span compared with the plain backtracking
// search.
TEST(RegexMemo, AnswersAsThePlainSearch) {
  testlib::TPatternGenerator generator(orvel::testing::TestSeed(20240917));
  int compared = 0;
  int memoised = 0;
  int onePass = 0;
  for (int i = 0; i < 6000; ++i) {
    const testlib::TGeneratedPattern p = generator.NextPattern();
    TRegex plain;
    TRegex memo;
    TRegex fast;  // as a caller gets it
    for (TRegex* r : {&plain, &memo, &fast}) {
      r->SetExpression(p.Expression);
      r->SetModifierI(p.Modifiers.I);
      r->SetModifierR(p.Modifiers.R);
      r->SetModifierS(p.Modifiers.S);
      r->SetModifierG(p.Modifiers.G);
      r->SetModifierM(p.Modifiers.M);
      r->SetModifierX(p.Modifiers.X);
    }
    TRegexInternals::SetMemoAfterSteps(plain, std::int64_t{1} << 62);
    TRegexInternals::SetMemoAfterSteps(memo, 0);
    TRegexInternals::SetOnePassAllowed(plain, false);
    TRegexInternals::SetOnePassAllowed(memo, false);
    for (int k = 0; k < 4; ++k) {
      // Longer subjects than the generator's own give the memo more to keep.
      const std::string subject = generator.NextSubject(p) + generator.NextSubject(p) + generator.NextSubject(p);
      const std::int32_t offset = generator.NextOffset(subject);
      auto search = [&](TRegex& r) {
        bool matched = r.Exec(subject);
        if (offset != 1) matched = r.ExecFrom(offset);
        return matched;
      };
      bool matched = false;
      try {
        matched = search(plain);
      } catch (const ERegex& e) {
        // Without the memo an exploding expression runs out of steps; the
        // memo and the one-pass search still answer, and alike, unless a
        // back-reference keeps the memo out.
        ASSERT_EQ(e.ErrorCode(), reStepBudgetExceeded) << "/" << p.Expression << "/ on \"" << subject << "\"";
        try {
          matched = search(memo);
        } catch (const ERegex& again) {
          ASSERT_EQ(again.ErrorCode(), reStepBudgetExceeded);
          ASSERT_FALSE(TRegexInternals::MemoUsed(memo)) << "/" << p.Expression << "/ on \"" << subject << "\"";
          continue;
        }
        ASSERT_EQ(matched, search(fast)) << "/" << p.Expression << "/ on \"" << subject << "\" from " << offset;
        if (matched) {
          ASSERT_EQ(Spans(memo, p.Groups), Spans(fast, p.Groups))
              << "/" << p.Expression << "/ on \"" << subject << "\" from " << offset;
        }
        continue;
      }
      for (TRegex* r : {&memo, &fast}) {
        ASSERT_EQ(matched, search(*r)) << "/" << p.Expression << "/ on \"" << subject << "\" from " << offset
                                       << (r == &memo ? " with the memo" : " in one pass");
        if (matched) {
          ASSERT_EQ(Spans(plain, p.Groups), Spans(*r, p.Groups))
              << "/" << p.Expression << "/ on \"" << subject << "\" from " << offset
              << (r == &memo ? " with the memo" : " in one pass");
        }
      }
      ++compared;
      if (TRegexInternals::MemoUsed(memo)) ++memoised;
      if (TRegexInternals::OnePass(fast)) ++onePass;
    }
  }
  // Expressions with back-references go without the memo; most have none.
  EXPECT_GT(memoised, compared / 2);
  EXPECT_GT(onePass, compared / 20);
}

// A search that cannot use the memo (a back-reference is in play) and
// explodes stops at its budget with an error of its own; the object stays
// usable.
TEST(RegexMemo, BudgetEndsAnExplodingSearch) {
  TRegex r;
  r.SetExpression("(a|b|ab)*\\1[cd]");
  TRegexInternals::SetStepBudget(r, 1000000);
  try {
    r.Exec(Repeat("ab", 60));
    FAIL() << "no error";
  } catch (const ERegex& e) {
    EXPECT_EQ(e.ErrorCode(), reStepBudgetExceeded);
    EXPECT_STREQ(e.what(), "TRegex(exec): Step Budget Exceeded");
    EXPECT_EQ(e.CompilePosition(), 0);
  }
  EXPECT_EQ(r.LastError(), reStepBudgetExceeded);
  EXPECT_TRUE(r.Exec("ababbc"));
  EXPECT_EQ(r.Match(0), "ababbc");
}

// The default budget leaves room for the workbench's expressions on long
// lines of every shape: each of these 1 MB lines is searched to its end.
TEST(RegexMemo, LongLinesStayWithinTheDefaultBudget) {
  const std::size_t megabyte = std::size_t{1} << 20;
  struct TLine {
    const char* Expression;
    std::string Subject;
    const char* Found;  // the match, or "" for none
  };
  const TLine lines[] = {
      {TermExpression, Repeat("+0.5*close[shift+1", megabyte) + "-2*c[i+3]", "-2*c[i+3]"},
      {TermExpression, std::string(megabyte, '9') + "*a[b+1x]", ""},
      {TermExpression, Repeat("+-", megabyte) + "1*a[b+1x]", ""},
      {TermExpression, Repeat("1*a[b+", megabyte) + "2]", "+1*a[b+2]"},
      {HeaderExpression, Repeat("a = ", megabyte) + "x", ""},
      {HeaderExpression, Repeat("a=", megabyte) + "b=", "b="},
      {HeaderExpression, Repeat("fatl ", megabyte) + "=", "fatl ="},
  };
  for (const TLine& line : lines) {
    TRegex r;
    r.SetExpression(line.Expression);
    const bool found = r.Exec(line.Subject);
    EXPECT_EQ(found, *line.Found != 0) << line.Subject.substr(0, 40);
    if (found) {
      EXPECT_EQ(r.Match(0), line.Found);
    }
  }
}

// The fewest characters of a match, which a search checks before trying.
TEST(RegexSearchAnalysis, ShortestMatch) {
  struct TCase {
    const char* Expression;
    std::int32_t Length;
  };
  const TCase cases[] = {
      {"abc", 3},          {"a*b", 1},           {"a+b{2,3}", 3},       {"(ab)*", 0},
      {"(ab)+c", 3},       {"(ab){3,}", 6},      {"(ab){2,5}?", 4},     {"x|yz", 1},
      {"(a|bc)d", 2},      {"a?b", 1},           {"(a)\\1", 1},         {"^$", 0},
      {"\\d\\s[a-z].", 4}, {"(a(b(c)?)?)?d", 1}, {"(a){99999999}", 99999999},
  };
  for (const TCase& c : cases) {
    TRegex r;
    r.SetExpression(c.Expression);
    r.CompileExpression();
    EXPECT_EQ(TRegexInternals::MinLength(r), c.Length) << c.Expression;
  }
  TRegex r;
  r.SetExpression("((ab){9999}){9999}");
  r.CompileExpression();
  EXPECT_EQ(TRegexInternals::MinLength(r), 2 * 9999 * 9999);
  EXPECT_FALSE(r.Exec("abab"));
}

// The literals every match holds are looked for in order and as far apart
// as what lies between them needs; an offset moves where they are sought.
TEST(RegexSearchAnalysis, LiteralsInOrder) {
  TRegex r;
  r.SetExpression("a\\d+b..c");
  EXPECT_FALSE(r.Exec("a1bc"));
  EXPECT_FALSE(r.Exec("c a1b"));
  EXPECT_TRUE(r.Exec("a1b--c"));
  EXPECT_FALSE(r.Exec("a1b-c a1b-c"));
  EXPECT_TRUE(r.Exec("xa12b--ca1b--c"));
  EXPECT_TRUE(r.ExecFrom(2));
  EXPECT_EQ(r.Match(0), "a12b--c");
  EXPECT_TRUE(r.ExecFrom(3));
  EXPECT_EQ(r.Match(0), "a1b--c");
  EXPECT_FALSE(r.ExecFrom(10));
  // In a long text too, and again once a start has failed, from there on.
  const std::string gap(5000, 'x');
  EXPECT_TRUE(r.Exec("a1b-c" + gap + "a22b..c"));
  EXPECT_EQ(r.Match(0), "a22b..c");
  EXPECT_FALSE(r.Exec("a1b-c" + gap + "a22b.c"));
  EXPECT_FALSE(r.Exec("a1b--" + gap + "a22b-"));
  EXPECT_TRUE(r.Exec(gap + "a1b--c"));
  EXPECT_TRUE(r.ExecFrom(5001));
  EXPECT_FALSE(r.ExecFrom(5002));
}

// A literal every match holds that the text lacks (or holds too early for
// the loops before it) ends the search before its first step, at every
// length of the text: the counted loops would otherwise try their ways of
// sharing out the text, too many to remember, until the budget ran out.
// The low budget only makes such a fault fail fast.
TEST(RegexSearchAnalysis, AMissingLiteralEndsTheSearchBeforeAnyStep) {
  struct TCase {
    const char* Expression;
    const char* Before;  // what precedes the run of "a"
    const char* After;   // and what follows it
  };
  const TCase cases[] = {
      {"(a|aa){1,100}c", "", ""},
      {"(a|aa){1,100}c", "c", ""},
      {"(a|aa){1,100}c", "", "b"},
      {"((a{1,10}){1,10}){1,10}b", "", ""},
      {"((a{1,10}){1,10}){1,10}b", "b", "c"},
      {"(a|aa){1,100}cd", "", "c"},
  };
  for (const TCase& c : cases) {
    TRegex r;
    r.SetExpression(c.Expression);
    TRegexInternals::SetStepBudget(r, 100000);
    for (std::size_t n : {1u, 100u, 1000u, 1023u, 1024u, 1025u, 1026u, 1100u, 2048u, 2049u, 100000u}) {
      const std::string subject = c.Before + std::string(n, 'a') + c.After;
      const std::string what = std::string(c.Expression) + " on " + c.Before + "a{" + std::to_string(n) + "}" + c.After;
      EXPECT_FALSE(r.Exec(subject)) << what;
      EXPECT_EQ(TRegexInternals::Steps(r), 0) << what;
      EXPECT_FALSE(r.ExecFrom(2)) << what << " from 2";
      EXPECT_EQ(TRegexInternals::Steps(r), 0) << what << " from 2";
    }
  }
}

// What is kept of where the literals stand belongs to one input and one
// program: a new input, expression or modifier looks again, and searches
// from offsets in any order answer as a fresh search of the text from there
// does (the expression looks at nothing before its match).
TEST(RegexSearchAnalysis, WhereTheLiteralsStandIsKeptForOneInputAndProgram) {
  const std::string gap(3000, 'x');
  const std::string text = "a1b--c" + gap + "a22b..c" + gap + "A3B..C" + gap;
  const auto size = static_cast<std::int32_t>(text.size());
  TRegex r;
  r.SetExpression("a\\d+b..c");
  ASSERT_TRUE(r.Exec(text));
  // Offsets from the end back, then forward, then around the matches.
  std::vector<std::int32_t> offsets;
  for (std::int32_t offset = size + 1; offset >= 1; offset -= 97) offsets.push_back(offset);
  for (std::int32_t offset = 1; offset <= size + 1; offset += 89) offsets.push_back(offset);
  for (std::int32_t offset : {1, 2, 3006, 3007, 3008, 6014, 6015, 6016}) offsets.push_back(offset);
  for (std::int32_t offset : offsets) {
    TRegex fresh;
    fresh.SetExpression("a\\d+b..c");
    const bool expected = fresh.Exec(text.substr(static_cast<std::size_t>(offset - 1)));
    ASSERT_EQ(r.ExecFrom(offset), expected) << offset;
    if (expected) {
      EXPECT_EQ(r.Match(0), fresh.Match(0)) << offset;
      EXPECT_EQ(TRegexInternals::StartP(r, 0), TRegexInternals::StartP(fresh, 0) + offset - 1) << offset;
    }
  }
  EXPECT_TRUE(r.ExecFrom(3007));
  EXPECT_FALSE(r.ExecFrom(3008));
  // A new input.
  EXPECT_TRUE(r.Exec(gap + "a4b--c"));
  EXPECT_EQ(r.Match(0), "a4b--c");
  EXPECT_FALSE(r.Exec("a4b-c" + gap));
  EXPECT_FALSE(r.ExecFrom(1));
  // A modifier changes what the literals are.
  r.SetModifierI(true);
  ASSERT_TRUE(r.Exec(text));
  EXPECT_TRUE(r.ExecFrom(3008));
  EXPECT_EQ(r.Match(0), "A3B..C");
  // A new expression on the same input.
  r.SetModifierI(false);
  r.SetExpression("x{10}a\\d");
  EXPECT_TRUE(r.ExecFrom(1));
  EXPECT_EQ(r.Match(0), std::string(10, 'x') + "a2");
  EXPECT_FALSE(r.ExecFrom(3008));
}

}  // namespace
}  // namespace regex

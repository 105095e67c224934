// Programs that never have to choose, searched in one pass and from their
// pivot back, against the plain backtracking search: every start offset of
// random subjects over each expression's own few characters, every span
// compared. The random expressions of the Perl and memo comparisons seldom
// give a long run before a rare character; these do, and they are the shapes
// where a start found from the pivot back could go wrong (runs taken too far
// left, a start that reaches the pivot later than its neighbours).
// The second table holds long lines of the shapes that once made a search
// quadratic: each must stay in one pass, a bounded number of steps per
// character (steps, not time: speed is measured in bench/regex_bench.cpp).
// Covers: Classes_Regex_OnePass.cpp (run steps, pivot), Classes_Regex_OnePassSearch.cpp.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "regex/Classes_Regex.h"
#include "regex/RegexProgram.h"
#include "regex/tests/RegexTestSupport.h"
#include "testing/TestSupport.h"

namespace regex {
namespace {

using testsupport::ApplyModifiers;
using testsupport::HeaderExpression;
using testsupport::Long;
using testsupport::Repeat;
using testsupport::Spans;
using testsupport::TermExpression;

struct TShape {
  const char* Name;
  const char* Expression;
  const char* Modifiers;
  int Groups;
  const char* Pieces;  // what the random subjects are made of, apart by blanks (written "\\x20" and "\\t" within them)
  bool Pivot;          // whether every start reaches some step at one place
};

std::vector<std::string> PiecesOf(const char* text) {
  std::vector<std::string> pieces;
  std::istringstream in(text);
  for (std::string piece; in >> piece;) {
    for (const auto& [name, c] : {std::pair{"\\x20", ' '}, std::pair{"\\t", '\t'}}) {
      for (std::size_t at; (at = piece.find(name)) != std::string::npos;) piece.replace(at, std::strlen(name), 1, c);
    }
    pieces.push_back(piece);
  }
  return pieces;
}

const TShape Shapes[] = {
    {"term", TermExpression, "", 5, "+ - 1 9 . * a b [ ] 1*a[b+1] +1.5*c[i+2] b+2]", true},
    {"term_few_characters", TermExpression, "", 5, "+ 1 * a[b+1 ] 1* a[b+1] 1*a[b+1", true},
    {"header", HeaderExpression, "", 1, "a z 9 \\t = x b= a\\t= \\x20", true},
    {"header_few_characters", HeaderExpression, "", 1, "a \\x20 =", true},
    {"run_then_set", "x*[y]", "", 0, "x y z", false},
    {"plus_then_byte", "a+b", "", 0, "a b", true},
    {"at_least_two", "a{2,}b", "", 0, "a b", true},
    {"two_empty_runs", "(a*)(b*)c", "", 2, "a b c", true},
    {"runs_about_a_byte", "(a*)x(b+)c", "", 2, "a b x c", true},
    {"line_start", "^a*b", "", 0, "a b", true},
    {"line_end", "a*b*c$", "", 0, "a b c", true},
    {"assignment", "([a-z]*)=([0-9]+);", "", 2, "a b = 1 ; b=1;", true},
    {"number", "q[0-9]+\\.[0-9]*e", "", 0, "q 1 . e q1.", true},
    {"lazy_signs", "(\\+|\\-)*?x", "", 1, "+ - x", true},
    {"negated_class", "ab[^c]*c", "", 0, "a b c d ab", true},
    {"lazy_class", "[ab]*?c", "", 0, "a b c", true},
    {"no_case", "AB+c", "i", 0, "a A b B c", false},
    {"two_pivots", "a[0-9]*b[0-9]*c", "", 0, "a b 1 c", true},
    {"byte_read_again", "ab*ab*c", "", 0, "a b c", true},
    // The pivot analysis stops at these steps.
    {"bounded_first", "a{0,3}b*c", "", 0, "a b c", false},
    {"word_boundary", "\\bab*c", "", 0, "a b \\x20 c", false},
    {"bounded_later", "a*b{2,4}c", "", 0, "a b c", false},
    {"digits_to_the_end", "[0-9]+[a-z]*$", "", 0, "1 a", true},
};

class RegexOnePass : public ::testing::TestWithParam<TShape> {};

TEST_P(RegexOnePass, AnswersAsTheBacktracker) {
  const TShape& shape = GetParam();
  TRegex fast;
  TRegex plain;
  for (TRegex* r : {&fast, &plain}) {
    r->SetExpression(shape.Expression);
    ApplyModifiers(*r, shape.Modifiers);
    r->CompileExpression();
  }
  TRegexInternals::SetOnePassAllowed(plain, false);
  if (!TRegexInternals::OnePass(fast)) {
    EXPECT_FALSE(shape.Pivot);
    return;
  }
  EXPECT_EQ(TRegexInternals::RunPivot(fast) >= 0, shape.Pivot);
  std::mt19937_64 random(orvel::testing::TestSeed(20261210));
  const std::vector<std::string> pieces = PiecesOf(shape.Pieces);
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> length(0, 40);
  int matched = 0;
  for (int i = 0; i < 400; ++i) {
    // Runs of one piece, as in the long lines, and single pieces.
    std::string subject;
    for (int n = length(random); static_cast<int>(subject.size()) < n;) {
      const std::string& piece = pieces[pick(random)];
      for (auto k = random() % 3 == 0 ? 1 + random() % 6 : 1; k > 0; --k) subject += piece;
    }
    for (std::int32_t offset = 1; offset <= static_cast<std::int32_t>(subject.size()) + 1; ++offset) {
      const bool expected = offset == 1 ? plain.Exec(subject) : (plain.Exec(subject), plain.ExecFrom(offset));
      const bool found = offset == 1 ? fast.Exec(subject) : (fast.Exec(subject), fast.ExecFrom(offset));
      ASSERT_EQ(found, expected) << "/" << shape.Expression << "/ on \"" << subject << "\" from " << offset;
      if (expected) {
        ++matched;
        ASSERT_EQ(Spans(fast, shape.Groups), Spans(plain, shape.Groups))
            << "/" << shape.Expression << "/ on \"" << subject << "\" from " << offset;
      }
    }
  }
  // The subjects reach matches, not only failures.
  EXPECT_GT(matched, 0);
}

INSTANTIATE_TEST_SUITE_P(Shapes, RegexOnePass, ::testing::ValuesIn(Shapes),
                         [](const ::testing::TestParamInfo<TShape>& info) { return info.param.Name; });

struct TLongLine {
  const char* Expression;
  int Groups;
  std::string Subject;
};

// A start at every character, or every other, each of which reads far.
const TLongLine LongLines[] = {
    {TermExpression, 5, std::string(Long, '1') + "]"},
    {TermExpression, 5, std::string(Long, '9') + "*a[b+1x]"},
    {TermExpression, 5, Repeat("+-", Long) + "1*a[b+1x]"},
    {TermExpression, 5, Repeat("+0.5*close[shift+1", Long) + "-2*c[i+3]"},
    {TermExpression, 5, Repeat("1*a[b+", Long) + "2]"},
    {TermExpression, 5, Repeat("1+", Long) + "1*a[b+1]"},
    {TermExpression, 5, Repeat("1*", Long) + "a[b+1]"},
    {TermExpression, 5, Repeat("-.", Long) + "*a[b+1x]"},
    {TermExpression, 5, Repeat("1*a[b+1", Long) + "]"},
    {HeaderExpression, 1, std::string(Long, 'a') + "= x"},
    {HeaderExpression, 1, "a" + std::string(Long, ' ') + "= x"},
    {HeaderExpression, 1, Repeat("a = ", Long) + "x"},
    {HeaderExpression, 1, Repeat("a=", Long) + "x"},
    {HeaderExpression, 1, Repeat("a ", Long) + "="},
    {HeaderExpression, 1, Repeat("a = ", Long) + "b ="},
    {HeaderExpression, 1, Repeat("fatl0=", Long)},
    {"x*[y]", 0, std::string(Long, 'x')},
};

class RegexOnePassLongLine : public ::testing::TestWithParam<TLongLine> {};

TEST_P(RegexOnePassLongLine, ReadsEachCharacterABoundedNumberOfTimes) {
  const TLongLine& line = GetParam();
  TRegex r;
  TRegex plain;
  r.SetExpression(line.Expression);
  plain.SetExpression(line.Expression);
  TRegexInternals::SetOnePassAllowed(plain, false);
  const bool found = r.Exec(line.Subject);
  const std::int64_t steps = TRegexInternals::Steps(r);
  ASSERT_EQ(found, plain.Exec(line.Subject));
  if (found) {
    EXPECT_EQ(Spans(r, line.Groups), Spans(plain, line.Groups));
  }
  EXPECT_LE(steps, 4 * static_cast<std::int64_t>(line.Subject.size()));
}

INSTANTIATE_TEST_SUITE_P(Shapes, RegexOnePassLongLine, ::testing::ValuesIn(LongLines));

}  // namespace
}  // namespace regex

// Match tests: expression x subject -> match and group positions.
// Covers: Classes_Regex_Match.cpp (every node kind through the table),
// Classes_Regex.cpp (search driver, offsets, Match, ExecRegex),
// RegexCase1251.cpp (case-insensitive Cyrillic).
#include <gtest/gtest.h>

#include <string>

#include "regex/Classes_Regex.h"
#include "regex/RegexProgram.h"
#include "regex/tests/RegexTestSupport.h"

namespace regex {
namespace {

using testsupport::HeaderExpression;
using testsupport::TermExpression;

struct TMatchCase {
  const char* Expression;
  const char* Modifiers;
  std::string Subject;
  std::int32_t Offset;
  const char* Expected;  // "(start,end)" of the match and each group, or "no match"
};

const TMatchCase MatchCases[] = {
    // The workbench's set header: a lower-case name, optional blanks, "=", the end.
    {HeaderExpression, "", "digf=", 1, "(0,5)(0,4)"},
    {HeaderExpression, "", "fatl2  =  ", 1, "(0,10)(0,5)"},
    {HeaderExpression, "", "Digf=", 1, "(1,5)(1,4)"},
    {HeaderExpression, "", "digf=x", 1, "no match"},
    // Its coefficient term: sign, unsigned number, array, index, bar offset.
    {TermExpression, "", "-0.001234*close[shift+5]", 1, "(0,24)(0,1)(1,9)(10,15)(16,21)(22,23)"},
    {TermExpression, "", "+0.5*close[shift+12];", 1, "(0,20)(0,1)(1,4)(5,10)(11,16)(17,19)"},
    {TermExpression, "", "digf=0.25*Close[shift+0]", 1, "(5,24)(-1,-1)(5,9)(10,15)(16,21)(22,23)"},
    {TermExpression, "", "- 0.3*close[i+1]", 1, "(2,16)(-1,-1)(2,5)(6,11)(12,13)(14,15)"},
    // Quantifiers.
    {"ab?c", "", "ac", 1, "(0,2)"},
    {"ab?c", "", "abc", 1, "(0,3)"},
    {"a{3}", "", "aaaa", 1, "(0,3)"},
    {"a{,2}", "", "aa{,2}", 1, "(1,6)"},
    {"{a", "", "x{a", 1, "(1,3)"},
    {"(a|b)*?c", "", "abcbc", 1, "(0,3)(1,2)"},
    {"(?-g)a+", "", "aaa", 1, "(0,1)"},
    {"a+", "-g", "aaa", 1, "(0,1)"},
    {"a+?b", "", "aaab", 1, "(0,4)"},
    {"x(ab){2,3}", "", "xabababab", 1, "(0,7)(5,7)"},
    {"x(ab){2,3}?", "", "xabababab", 1, "(0,5)(3,5)"},
    {".+", "-s", "ab\r\ncd", 1, "(0,2)"},
    // Back-references, also repeated: each repetition gives back one copy.
    {"(ab)\\1*ab", "", "ababab", 1, "(0,6)(0,2)"},
    {"(a)\\1", "i", "aA", 1, "(0,2)(0,1)"},
    {"(a)|\\5", "", "b", 1, "no match"},
    // A non-greedy inner loop and a counted outer loop keep their own counters.
    {"((ab)*?c){2}", "", "cabc", 1, "(0,4)(1,4)(1,3)"},
    // Anchors and multi-line mode: "^" after CR LF, never between CR and LF.
    {"^b", "m", "a\r\nb", 1, "(3,4)"},
    {"^\\n", "m", "a\r\nb", 1, "no match"},
    {"^\\n", "m", "a\n\nb", 1, "(2,3)"},
    {"a$", "m", "a\r\nb", 1, "(0,1)"},
    {"\\r$", "m", "a\r\nb", 1, "no match"},
    {"^b", "", "a\nb", 1, "no match"},
    {"b$", "", "ab\n", 1, "no match"},
    {"(?m)$", "", "ab\ncd", 1, "(2,2)"},
    {"\\bab\\b", "", "xab ab", 1, "(4,6)"},
    {"\\Bb", "", "ab b", 1, "(1,2)"},
    // Windows-1251 text: Russian ranges (Ё/ё with r on) and case.
    {"[\xE0-\xFF]", "", "\xB8", 1, "(0,1)"},
    {"[\xE0-\xFF]", "-r", "\xB8", 1, "no match"},
    {"[\xC0-\xDF]+", "", "\xA8\xC0\xDF\xE0", 1, "(0,3)"},
    {"\xEF\xF0\xE8\xE2\xE5\xF2", "i", "\xCF\xD0\xC8\xC2\xC5\xD2", 1, "(0,6)"},
    {"\xB8", "i", "\xA8", 1, "(0,1)"},
    {"[\xA8]", "i", "\xB8", 1, "(0,1)"},
    // An inline (?i) holds to the end of its group.
    {"(a(?i)b)c", "", "aBc", 1, "(0,3)(0,2)"},
    {"(a(?i)b)c", "", "aBC", 1, "no match"},
    // Extended syntax.
    {"a b", "x", "ab", 1, "(0,2)"},
    {"a\\ b # note", "x", "a b", 1, "(0,3)"},
    // Offsets: a 1-based start; the previous character still counts for \b.
    {"b", "", "abab", 3, "(3,4)"},
    {"\\bb", "", "ab b", 2, "(3,4)"},
    {"^a", "", "aa", 2, "no match"},
    {"a*", "", "aa", 3, "(2,2)"},
    {"a", "", "aa", 4, "no match"},
    // A zero byte ends the input; a literal zero therefore never matches.
    {"b", "", std::string("a\0b", 3), 1, "no match"},
    {"a\\x00", "", "a", 1, "no match"},
    {"[\\x00]", "", "", 1, "no match"},
    // A literal holding byte 0 keeps the program in step: the nodes after it
    // are found and run (these two crashed the start analysis).
    {"\\x00abc{", "", "abc", 1, "no match"},
    {"q\\x00|(ab)*c", "", "abc", 1, "(0,3)(0,2)"},
    {"x*\\x00", "", "xx", 1, "no match"},
    {"(\\x00)?b", "", "ab", 1, "(1,2)(-1,-1)"},
    {"a\\x00?b", "i", "xAB", 1, "(1,3)"},

    // Former bugs and mended faults.
    // A back-reference inside its own group refers to the group's last
    // complete match (starting the group again does not change it).
    {"(a|b\\1)+", "", "aba", 1, "(0,3)(1,3)"},
    // A loop whose iteration matches empty text (through a back-reference to
    // an empty group) stops instead of looping for ever.
    {"(x?)(\\1)*y", "", "y", 1, "(0,1)(0,0)(0,0)"},
    {"(x?)(\\1)+y", "", "y", 1, "(0,1)(0,0)(0,0)"},
    {"(x?)(\\1){2,}y", "", "y", 1, "(0,1)(0,0)(0,0)"},
    {"(x?)(\\1)*?y", "", "y", 1, "(0,1)(0,0)(-1,-1)"},
    {"(x?)\\1*y", "", "y", 1, "(0,1)(0,0)"},
    // Backing up into an iteration of a counted loop restores its counter:
    // the second try of iteration 1 ("ab") still has a second iteration left.
    {"(a|ab){1,2}c", "", "abac", 1, "(0,4)(2,3)"},
    {"(a|ab){1,2}?c", "", "abac", 1, "(0,4)(2,3)"},
    // Sub-expression 0 is set by a successful match.
    {"b+", "", "abbc", 1, "(1,3)"},
};

class RegexMatch : public ::testing::TestWithParam<TMatchCase> {};

TEST_P(RegexMatch, FindsMatchAndGroups) {
  const TMatchCase& c = GetParam();
  TRegex r;
  r.SetExpression(c.Expression);
  testsupport::ApplyModifiers(r, c.Modifiers);
  bool matched = r.Exec(c.Subject);
  if (c.Offset != 1) matched = r.ExecFrom(c.Offset);
  if (std::string(c.Expected) == "no match") {
    EXPECT_FALSE(matched);
  } else {
    ASSERT_TRUE(matched);
    EXPECT_EQ(testsupport::Spans(r, testsupport::CountSpans(c.Expected) - 1), c.Expected);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, RegexMatch, ::testing::ValuesIn(MatchCases));

TEST(RegexMatchText, SubExpressionTexts) {
  TRegex r;
  r.SetExpression("(a)|(b)");
  ASSERT_TRUE(r.Exec("xb"));
  EXPECT_EQ(r.Match(0), "b");
  EXPECT_EQ(r.Match(1), "");  // inside an alternative that did not take part
  EXPECT_EQ(r.Match(2), "b");
  EXPECT_EQ(r.Match(15), "");
  EXPECT_EQ(r.Match(-1), "");
}

TEST(RegexMatchText, FailedSearchClearsEverySubExpression) {
  TRegex r;
  r.SetExpression("(a)(b)?");
  ASSERT_TRUE(r.Exec("ab"));
  EXPECT_EQ(r.Match(2), "b");
  EXPECT_FALSE(r.Exec("xyz"));
  for (int n = 0; n <= 2; ++n) EXPECT_EQ(r.Match(n), "") << n;
}

TEST(RegexMatchText, NoInputGivesEmptyTexts) {
  TRegex r;
  r.SetExpression("a");
  EXPECT_EQ(r.Match(0), "");
}

TEST(RegexMatchText, TermSignTouchesItsNumber) {
  TRegex r;
  r.SetExpression(TermExpression);
  ASSERT_TRUE(r.Exec("-0.0625*close[shift+3]"));
  EXPECT_EQ(r.Match(1), "-");
  EXPECT_EQ(r.Match(2), "0.0625");
  EXPECT_EQ(r.Match(5), "3");
  ASSERT_TRUE(r.Exec("0.0625*close[shift+3]"));
  EXPECT_EQ(r.Match(1), "");
}

TEST(RegexMatchText, FindsEveryMatchThroughOffsets) {
  TRegex r;
  r.SetExpression("[0-9]+");
  ASSERT_TRUE(r.Exec("a12b345c6"));
  std::string found;
  std::int32_t offset = 1;
  while (r.ExecFrom(offset)) {
    found += r.Match(0) + ";";
    offset = TRegexInternals::EndP(r, 0) + 1;
  }
  EXPECT_EQ(found, "12;345;6;");
}

TEST(RegexMatchText, ExecRegexIsOneShot) {
  EXPECT_TRUE(ExecRegex(HeaderExpression, "digf="));
  EXPECT_FALSE(ExecRegex(HeaderExpression, "digf=1"));
}

// Without the CR LF pair a CR and a LF are two separators.
TEST(RegexMatchText, LinePairedSeparatorCanBeRemoved) {
  TRegex r;
  r.SetModifierM(true);
  r.SetExpression("^\\n");
  EXPECT_FALSE(r.Exec("a\r\nb"));
  r.SetLinePairedSeparator("");
  EXPECT_EQ(r.LinePairedSeparator(), "");
  ASSERT_TRUE(r.Exec("a\r\nb"));
  EXPECT_EQ(TRegexInternals::StartP(r, 0), 2);
}

TEST(RegexCase, InvertCaseFollowsWindows1251) {
  struct TPair {
    unsigned char In, Out;
  };
  const TPair pairs[] = {{'a', 'A'}, {'Z', 'z'},   {0xE0, 0xC0}, {0xDF, 0xFF}, {0xB8, 0xA8},
                         {0xA8, 0xB8}, {0xB3, 0xB2}, {'1', '1'},   {0xB5, 0xB5}, {0xA0, 0xA0}};
  for (const TPair& p : pairs) EXPECT_EQ(TRegex::InvertCase(p.In), p.Out) << int(p.In);
}

// Counted loops nest up to ten deep.
TEST(RegexLoops, TenNestedCountedLoopsMatch) {
  std::string expression;
  for (int i = 0; i < 10; ++i) expression = "(" + expression + "a){1,2}";
  TRegex r;
  r.SetExpression(expression);
  ASSERT_TRUE(r.Exec("aaaaaaaaaaaaaaaaaaaa"));
  EXPECT_EQ(TRegexInternals::StartP(r, 0), 0);
}

}  // namespace
}  // namespace regex

// Compile tests: expression -> p-code dump and start analysis.
// Covers: Classes_Regex_Compile.cpp (node layouts of every construct),
// Classes_Regex_Start.cpp (first character, anchor, required literal,
// first-character set); dumps by regex/testing/ProgramDump.cpp.
#include <gtest/gtest.h>

#include "regex/Classes_Regex.h"
#include "regex/testing/ProgramDump.h"
#include "regex/tests/RegexTestSupport.h"

namespace regex {
namespace {

struct TCompileCase {
  const char* Expression;
  const char* Modifiers;
  const char* Program;
  const char* Start;
};

// Expected dumps: "offset:Node operand ->next"; a repeat's operand node
// follows it without a next of its own.
const TCompileCase CompileCases[] = {
    // A literal run, and the last character of a run left to its quantifier.
    {"abc", "", "1:Branch->15 6:Literal'abc'->15 15:End", "first='a' set=[a]"},
    {"ab*", "", "1:Branch->25 6:Literal'a'->13 13:Star->25 18:Literal'b' 25:End", "first='a' set=[a]"},
    {"a +", "", "1:Branch->25 6:Literal'a'->13 13:Plus->25 18:Literal'\\x20' 25:End", "first='a' set=[a]"},
    // Simple atoms take repeat nodes; greedy "?" is two branches for them too.
    {"a+?", "", "1:Branch->18 6:PlusLazy->18 11:Literal'a' 18:End", "set=[a]"},
    {"a{2,5}", "", "1:Branch->26 6:Range{2,5}->26 19:Literal'a' 26:End", "set=[a]"},
    {"a{3}?", "", "1:Branch->26 6:RangeLazy{3,3}->26 19:Literal'a' 26:End", "set=[a]"},
    {"a??", "", "1:Branch->26 6:RangeLazy{0,1}->26 19:Literal'a' 26:End", "set=[\\x00-\\xFF]"},
    {"ab?c", "",
     "1:Branch->42 6:Literal'a'->13 13:Branch->25 18:Literal'b'->30 25:Branch->30 30:Nothing->35 "
     "35:Literal'c'->42 42:End",
     "first='a' set=[a]"},
    // Complex atoms: branch loops when greedy, counted loops otherwise.
    {"(ab)*", "",
     "1:Branch->49 6:Branch->39 11:Open1->16 16:Branch->29 21:Literal'ab'->29 29:Close1->34 34:Back->6 "
     "39:Branch->44 44:Nothing->49 49:End",
     "set=[\\x00-\\xFF]"},
    {"(ab)+", "",
     "1:Branch->49 6:Open1->11 11:Branch->24 16:Literal'ab'->24 24:Close1->29 29:Branch->39 34:Back->6 "
     "39:Branch->44 44:Nothing->49 49:End",
     "set=[a]"},
    {"(ab)?", "",
     "1:Branch->44 6:Branch->34 11:Open1->16 16:Branch->29 21:Literal'ab'->29 29:Close1->39 34:Branch->39 "
     "39:Nothing->44 44:End",
     "set=[\\x00-\\xFF]"},
    {"(ab)*?", "",
     "1:Branch->51 6:LoopEntry->34 11:Open1->16 16:Branch->29 21:Literal'ab'->29 29:Close1->34 "
     "34:LoopLazy{0,2147483646}<-11->51 51:End",
     "set=[\\x00-\\xFF]"},
    {"(ab)??", "",
     "1:Branch->51 6:LoopEntry->34 11:Open1->16 16:Branch->29 21:Literal'ab'->29 29:Close1->34 "
     "34:LoopLazy{0,1}<-11->51 51:End",
     "set=[\\x00-\\xFF]"},
    {"(a|b){2,}", "",
     "1:Branch->62 6:LoopEntry->45 11:Open1->16 16:Branch->28 21:Literal'a'->40 28:Branch->40 "
     "33:Literal'b'->40 40:Close1->45 45:Loop{2,2147483646}<-11->62 62:End",
     "set=[ab]"},
    {".+", "-s",
     "1:Branch->31 6:AnyCharNoLineSep->11 11:Branch->21 16:Back->6 21:Branch->26 26:Nothing->31 31:End",
     "set=[\\x00-\\xFF]"},
    // With g off every quantifier is non-greedy.
    {"a*", "-g", "1:Branch->18 6:StarLazy->18 11:Literal'a' 18:End", "set=[\\x00-\\xFF]"},
    {"(a)+", "-g",
     "1:Branch->50 6:LoopEntry->33 11:Open1->16 16:Branch->28 21:Literal'a'->28 28:Close1->33 "
     "33:LoopLazy{1,2147483646}<-11->50 50:End",
     "set=[a]"},
    // Sets: up to three characters in a small node, sorted, the highest repeated.
    {"[cab]", "", "1:Branch->14 6:AnyOfSmall'abc'->14 14:End", "set=[a-c]"},
    {"[^a]", "i", "1:Branch->14 6:AnyButSmall'Aaa'->14 14:End", "set=[\\x00-@B-`b-\\xFF]"},
    {"[a-d]", "", "1:Branch->43 6:AnyOfSet[a-d]->43 43:End", "set=[a-d]"},
    {"[a-c-e]", "", "1:Branch->43 6:AnyOfSet[-a-ce]->43 43:End", "set=[-a-ce]"},
    {"[]a]", "", "1:Branch->14 6:AnyOfSmall']aa'->14 14:End", "set=[]a]"},
    {"[\\D]", "", "1:Branch->14 6:AnyOfSmall'DDD'->14 14:End", "set=[D]"},
    {"[a-\\d]", "", "1:Branch->43 6:AnyOfSet[-0-9a]->43 43:End", "set=[-0-9a]"},
    // Russian ranges: with r on the alphabets include Ё/ё (0xA8/0xB8).
    {"[\xE0-\xFF]", "", "1:Branch->43 6:AnyOfSet[\\xB8\\xE0-\\xFF]->43 43:End", "set=[\\xB8\\xE0-\\xFF]"},
    {"[\xE0-\xFF]", "-r", "1:Branch->43 6:AnyOfSet[\\xE0-\\xFF]->43 43:End", "set=[\\xE0-\\xFF]"},
    {"[\xE0-\xDF]", "", "1:Branch->43 6:AnyOfSet[\\xA8\\xB8\\xC0-\\xFF]->43 43:End",
     "set=[\\xA8\\xB8\\xC0-\\xFF]"},
    {"\\w\\s", "",
     "1:Branch->80 6:AnyOfSet[0-9A-Z_a-z]->43 43:AnyOfSet[\\x09\\x0A\\x0C\\x0D\\x20]->80 80:End",
     "set=[0-9A-Z_a-z]"},
    // Anchors by modifier m; \A and \Z regardless of it.
    {"^a$", "", "1:Branch->23 6:LineStart->11 11:Literal'a'->18 18:LineEnd->23 23:End", "anchored set=[a]"},
    {"^a$", "m", "1:Branch->23 6:LineStartMulti->11 11:Literal'a'->18 18:LineEndMulti->23 23:End", "set=[a]"},
    {"\\A\\Z\\b\\B", "m",
     "1:Branch->26 6:LineStart->11 11:LineEnd->16 16:WordBoundary->21 21:NotWordBoundary->26 26:End",
     "anchored set=[\\x00]"},
    // An inline (?m) makes "$" multi-line: a match may start before a separator.
    {"(?m)$", "", "1:Branch->16 6:Comment->11 11:LineEndMulti->16 16:End", "set=[\\x00\\x0A\\x0D]"},
    // Case: i gives the no-case nodes; an inline (?i) holds to the end of its group.
    {"(a)\\1", "i",
     "1:Branch->34 6:Open1->11 11:Branch->23 16:LiteralNoCase'a'->23 23:Close1->28 28:BackRefNoCase\\1->34 "
     "34:End",
     "set=[Aa]"},
    {"(a(?i)b)c", "",
     "1:Branch->47 6:Open1->11 11:Branch->35 16:Literal'a'->23 23:Comment->28 28:LiteralNoCase'b'->35 "
     "35:Close1->40 40:Literal'c'->47 47:End",
     "set=[a]"},
    // Extended syntax: blanks leave the run, a comment runs to the line end.
    {"a b # c\n d", "x", "1:Branch->31 6:Literal'ab'->14 14:Comment->19 19:Comment->24 24:Literal'd'->31 31:End",
     "first='a' set=[a]"},
    // A "{" that forms no brace is literal text.
    {"x{,2}", "", "1:Branch->23 6:Literal'x'->13 13:Literal'{,2}'->23 23:End", "first='x' set=[x]"},
    {"{a", "", "1:Branch->14 6:Literal'{a'->14 14:End", "first='{' set=[{]"},
    {"\\x41\\x{0042}\\t\\q\\0", "",
     "1:Branch->41 6:Literal'A'->13 13:Literal'B'->20 20:Literal'\\x09'->27 27:Literal'q'->34 34:Literal'0'->41 "
     "41:End",
     "first='A' set=[A]"},
    // Alternatives; an empty one is OpNothing.
    {"a|b|", "",
     "1:Branch->13 6:Literal'a'->35 13:Branch->25 18:Literal'b'->35 25:Branch->35 30:Nothing->35 35:End",
     "set=[\\x00-\\xFF]"},
    // Required literal: only when the expression starts with a repeat; the
    // longest top-level literal, a later one of equal length winning.
    {"x*yz", "", "1:Branch->26 6:Star->18 11:Literal'x' 18:Literal'yz'->26 26:End", "must='yz' set=[xy]"},
    {"x*y(zz)w", "",
     "1:Branch->55 6:Star->18 11:Literal'x' 18:Literal'y'->25 25:Open1->30 30:Branch->43 35:Literal'zz'->43 "
     "43:Close1->48 48:Literal'w'->55 55:End",
     "must='w' set=[xy]"},
    {"(a*)b", "",
     "1:Branch->40 6:Open1->11 11:Branch->28 16:Star->28 21:Literal'a' 28:Close1->33 33:Literal'b'->40 40:End",
     "must='b' set=[ab]"},
    {"a{0}b", "", "1:Branch->33 6:Range{0,0}->26 19:Literal'a' 26:Literal'b'->33 33:End", "set=[ab]"},
};

class RegexCompile : public ::testing::TestWithParam<TCompileCase> {};

TEST_P(RegexCompile, DumpsProgramAndStart) {
  const TCompileCase& c = GetParam();
  TRegex r;
  r.SetExpression(c.Expression);
  testsupport::ApplyModifiers(r, c.Modifiers);
  r.CompileExpression();
  EXPECT_EQ(testlib::DumpProgram(r), c.Program);
  EXPECT_EQ(testlib::DumpStart(r), c.Start);
}

INSTANTIATE_TEST_SUITE_P(Table, RegexCompile, ::testing::ValuesIn(CompileCases));

// A program compiled with other modifiers is dropped before the next match.
TEST(RegexCompileState, ChangedModifiersRecompileBeforeMatching) {
  TRegex r;
  r.SetExpression("ab");
  EXPECT_FALSE(r.Exec("AB"));
  r.SetModifierI(true);
  EXPECT_TRUE(r.Exec("AB"));
  EXPECT_EQ(testlib::DumpProgram(r), "1:Branch->14 6:LiteralNoCase'ab'->14 14:End");
}

}  // namespace
}  // namespace regex

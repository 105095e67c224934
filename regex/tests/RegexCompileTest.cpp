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
    {"abc", "", "1:Branch->18 6:Literal'abc'->18 18:End", "first='a' set=[a]"},
    {"ab*", "", "1:Branch->31 6:Literal'a'->16 16:Star->31 21:Literal'b' 31:End", "first='a' set=[a]"},
    {"a +", "", "1:Branch->31 6:Literal'a'->16 16:Plus->31 21:Literal'\\x20' 31:End", "first='a' set=[a]"},
    // Simple atoms take repeat nodes; greedy "?" is two branches for them too.
    {"a+?", "", "1:Branch->21 6:PlusLazy->21 11:Literal'a' 21:End", "set=[a]"},
    {"a{2,5}", "", "1:Branch->29 6:Range{2,5}->29 19:Literal'a' 29:End", "set=[a]"},
    {"a{3}?", "", "1:Branch->29 6:RangeLazy{3,3}->29 19:Literal'a' 29:End", "set=[a]"},
    {"a??", "", "1:Branch->29 6:RangeLazy{0,1}->29 19:Literal'a' 29:End", "set=[\\x00-\\xFF]"},
    {"ab?c", "",
     "1:Branch->51 6:Literal'a'->16 16:Branch->31 21:Literal'b'->36 31:Branch->36 36:Nothing->41 "
     "41:Literal'c'->51 51:End",
     "first='a' set=[a]"},
    // Complex atoms: branch loops when greedy, counted loops otherwise.
    {"(ab)*", "",
     "1:Branch->52 6:Branch->42 11:Open1->16 16:Branch->32 21:Literal'ab'->32 32:Close1->37 37:Back->6 "
     "42:Branch->47 47:Nothing->52 52:End",
     "set=[\\x00-\\xFF]"},
    {"(ab)+", "",
     "1:Branch->52 6:Open1->11 11:Branch->27 16:Literal'ab'->27 27:Close1->32 32:Branch->42 37:Back->6 "
     "42:Branch->47 47:Nothing->52 52:End",
     "set=[a]"},
    {"(ab)?", "",
     "1:Branch->47 6:Branch->37 11:Open1->16 16:Branch->32 21:Literal'ab'->32 32:Close1->42 37:Branch->42 "
     "42:Nothing->47 47:End",
     "set=[\\x00-\\xFF]"},
    {"(ab)*?", "",
     "1:Branch->54 6:LoopEntry->37 11:Open1->16 16:Branch->32 21:Literal'ab'->32 32:Close1->37 "
     "37:LoopLazy{0,2147483646}<-11->54 54:End",
     "set=[\\x00-\\xFF]"},
    {"(ab)??", "",
     "1:Branch->54 6:LoopEntry->37 11:Open1->16 16:Branch->32 21:Literal'ab'->32 32:Close1->37 "
     "37:LoopLazy{0,1}<-11->54 54:End",
     "set=[\\x00-\\xFF]"},
    {"(a|b){2,}", "",
     "1:Branch->68 6:LoopEntry->51 11:Open1->16 16:Branch->31 21:Literal'a'->46 31:Branch->46 "
     "36:Literal'b'->46 46:Close1->51 51:Loop{2,2147483646}<-11->68 68:End",
     "set=[ab]"},
    {".+", "-s",
     "1:Branch->31 6:AnyCharNoLineSep->11 11:Branch->21 16:Back->6 21:Branch->26 26:Nothing->31 31:End",
     "set=[\\x00-\\xFF]"},
    // With g off every quantifier is non-greedy.
    {"a*", "-g", "1:Branch->21 6:StarLazy->21 11:Literal'a' 21:End", "set=[\\x00-\\xFF]"},
    {"(a)+", "-g",
     "1:Branch->53 6:LoopEntry->36 11:Open1->16 16:Branch->31 21:Literal'a'->31 31:Close1->36 "
     "36:LoopLazy{1,2147483646}<-11->53 53:End",
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
    {"^a$", "", "1:Branch->26 6:LineStart->11 11:Literal'a'->21 21:LineEnd->26 26:End", "anchored set=[a]"},
    {"^a$", "m", "1:Branch->26 6:LineStartMulti->11 11:Literal'a'->21 21:LineEndMulti->26 26:End", "set=[a]"},
    {"\\A\\Z\\b\\B", "m",
     "1:Branch->26 6:LineStart->11 11:LineEnd->16 16:WordBoundary->21 21:NotWordBoundary->26 26:End",
     "anchored set=[\\x00]"},
    // An inline (?m) makes "$" multi-line: a match may start before a separator.
    {"(?m)$", "", "1:Branch->16 6:Comment->11 11:LineEndMulti->16 16:End", "set=[\\x00\\x0A\\x0D]"},
    // Case: i gives the no-case nodes; an inline (?i) holds to the end of its group.
    {"(a)\\1", "i",
     "1:Branch->37 6:Open1->11 11:Branch->26 16:LiteralNoCase'a'->26 26:Close1->31 31:BackRefNoCase\\1->37 "
     "37:End",
     "set=[Aa]"},
    {"(a(?i)b)c", "",
     "1:Branch->56 6:Open1->11 11:Branch->41 16:Literal'a'->26 26:Comment->31 31:LiteralNoCase'b'->41 "
     "41:Close1->46 46:Literal'c'->56 56:End",
     "set=[a]"},
    // Extended syntax: blanks leave the run, a comment runs to the line end.
    {"a b # c\n d", "x", "1:Branch->37 6:Literal'ab'->17 17:Comment->22 22:Comment->27 27:Literal'd'->37 37:End",
     "first='a' set=[a]"},
    // A "{" that forms no brace is literal text.
    {"x{,2}", "", "1:Branch->29 6:Literal'x'->16 16:Literal'{,2}'->29 29:End", "first='x' set=[x]"},
    {"{a", "", "1:Branch->17 6:Literal'{a'->17 17:End", "first='{' set=[{]"},
    {"\\x41\\x{0042}\\t\\q\\0", "",
     "1:Branch->56 6:Literal'A'->16 16:Literal'B'->26 26:Literal'\\x09'->36 36:Literal'q'->46 "
     "46:Literal'0'->56 56:End",
     "first='A' set=[A]"},
    // A literal carries its length, so byte 0 is text like any other.
    {"\\x00abc{", "",
     "1:Branch->47 6:Literal'\\x00'->16 16:Literal'ab'->27 27:Literal'c'->37 37:Literal'{'->47 47:End",
     "first='\\x00' set=[\\x00]"},
    {"x*\\x00", "", "1:Branch->31 6:Star->21 11:Literal'x' 21:Literal'\\x00'->31 31:End",
     "must='\\x00' set=[\\x00x]"},
    // Alternatives; an empty one is OpNothing.
    {"a|b|", "",
     "1:Branch->16 6:Literal'a'->41 16:Branch->31 21:Literal'b'->41 31:Branch->41 36:Nothing->41 41:End",
     "set=[\\x00-\\xFF]"},
    // Required literal: only when the expression starts with a repeat; the
    // longest top-level literal, a later one of equal length winning.
    {"x*yz", "", "1:Branch->32 6:Star->21 11:Literal'x' 21:Literal'yz'->32 32:End", "must='yz' set=[xy]"},
    {"x*y(zz)w", "",
     "1:Branch->67 6:Star->21 11:Literal'x' 21:Literal'y'->31 31:Open1->36 36:Branch->52 "
     "41:Literal'zz'->52 52:Close1->57 57:Literal'w'->67 67:End",
     "must='w' set=[xy]"},
    {"(a*)b", "",
     "1:Branch->46 6:Open1->11 11:Branch->31 16:Star->31 21:Literal'a' 31:Close1->36 36:Literal'b'->46 46:End",
     "must='b' set=[ab]"},
    {"a{0}b", "", "1:Branch->39 6:Range{0,0}->29 19:Literal'a' 29:Literal'b'->39 39:End", "set=[ab]"},
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
  EXPECT_EQ(testlib::DumpProgram(r), "1:Branch->17 6:LiteralNoCase'ab'->17 17:End");
}

}  // namespace
}  // namespace regex

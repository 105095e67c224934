// Error tests: every compile error the grammar raises, with its code, text
// and position; the match errors; the message table.
// Covers: Classes_Regex_Compile.cpp (error paths), Classes_Regex.cpp (Error,
// CheckProgram, ExecFrom checks), Classes_Regex_Errors.cpp (ErrorMsg).
#include <gtest/gtest.h>

#include <string>

#include "regex/Classes_Regex.h"
#include "regex/tests/RegexTestSupport.h"

namespace regex {
namespace {

struct TErrorCase {
  const char* Expression;
  const char* Modifiers;
  std::int32_t Code;
  std::int32_t Position;
};

const TErrorCase CompileErrors[] = {
    {"((((((((((((((((a)))))))))))))))", "", reTooManyGroups, 14},
    {"(a", "", reUnmatchedOpen, 2},
    {"(a|(b)", "", reUnmatchedOpen, 6},
    {"a)", "", reUnmatchedClose, 1},
    {"(a*)*", "", reOperandCouldBeEmpty, 4},
    {"(a|)+", "", reOperandCouldBeEmpty, 4},
    {"(a{0,2})+", "", reOperandCouldBeEmpty, 8},
    {"^*", "", reOperandCouldBeEmpty, 1},
    {"^{x", "", reOperandCouldBeEmpty, 1},
    {"\\b{2}", "", reOperandCouldBeEmpty, 2},
    {"(?i)+", "", reOperandCouldBeEmpty, 4},
    {"a +", "x", reOperandCouldBeEmpty, 2},
    {"a**", "", reNestedQuantifier, 2},
    {"a*??", "", reNestedQuantifier, 3},
    {"a{2}{3}", "", reNestedQuantifier, 4},
    {"a?{x", "", reNestedQuantifier, 2},
    {"\\xG1", "", reBadHexDigit, 2},
    {"\\x4G", "", reBadHexDigit, 3},
    {"\\x{12G}", "", reBadHexDigit, 5},
    {"[z-a]", "", reInvalidSetRange, 4},
    {"[\xE0-\xDF]", "-r", reInvalidSetRange, 4},
    {"[a\\", "", reSetTrailingEscape, 3},
    {"[a-\\", "", reSetTrailingEscape, 4},
    {"\\x", "", reNoHexCode, 2},
    {"\\x4", "", reNoHexCode, 3},
    {"\\x{41", "", reNoHexCode, 5},
    {"[\\x", "", reNoHexCode, 3},
    {"\\x{100}", "", reHexCodeTooBig, 5},
    {"[", "", reUnmatchedSet, 1},
    {"[^", "", reUnmatchedSet, 2},
    {"[]", "", reUnmatchedSet, 2},
    {"[a-", "", reUnmatchedSet, 3},
    {"*a", "", reQuantifierFollowsNothing, 0},
    {"a|?b", "", reQuantifierFollowsNothing, 2},
    {"(+)", "", reQuantifierFollowsNothing, 1},
    {"a\\", "", reTrailingEscape, 2},
    {"a{123456789}", "", reBracesArgTooBig, 2},
    {"a{1,000000000}", "", reBracesArgTooBig, 4},
    {"a{3,2}", "", reBraceMinAboveMax, 5},
    {"(?#abc", "", reUnclosedComment, 6},
    {"(?q)", "", reUnknownModifier, 2},
    {"(?i", "", reUnknownModifier, 3},
    {"(?\xE0)", "", reUnknownModifier, 2},
};

class RegexCompileError : public ::testing::TestWithParam<TErrorCase> {};

TEST_P(RegexCompileError, RaisesCodeTextAndPosition) {
  const TErrorCase& c = GetParam();
  TRegex r;
  r.SetExpression(c.Expression);
  testsupport::ApplyModifiers(r, c.Modifiers);
  try {
    r.Exec("abc");
    FAIL() << "no error";
  } catch (const ERegex& e) {
    EXPECT_EQ(e.ErrorCode(), c.Code);
    EXPECT_EQ(e.CompilePosition(), c.Position);
    EXPECT_EQ(e.Message(), r.ErrorMsg(c.Code) + " (pos " + std::to_string(c.Position) + ")");
    EXPECT_EQ(r.LastError(), c.Code);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, RegexCompileError, ::testing::ValuesIn(CompileErrors));

template <typename F>
ERegex Caught(F&& f) {
  try {
    f();
  } catch (const ERegex& e) {
    return e;
  }
  ADD_FAILURE() << "no error";
  return ERegex("", -1, -1);
}

TEST(RegexErrors, EmptyExpression) {
  TRegex r;
  ERegex compile = Caught([&] { r.CompileExpression(); });
  EXPECT_EQ(compile.ErrorCode(), reNullArgument);
  EXPECT_STREQ(compile.what(), "TRegex(comp): Null Argument (pos 0)");
  // The matcher checks for a missing expression first.
  ERegex exec = Caught([&] { r.Exec("a"); });
  EXPECT_EQ(exec.ErrorCode(), reNoExpression);
  EXPECT_STREQ(exec.what(), "TRegex(exec): Not Assigned Expression Property");
  EXPECT_THROW(ExecRegex("", "a"), ERegex);
}

// After a compile error the program stays absent: the next match compiles
// again and fails again.
TEST(RegexErrors, CompileErrorLeavesNoProgram) {
  TRegex r;
  r.SetExpression("(a");
  EXPECT_THROW(r.Exec("a"), ERegex);
  EXPECT_THROW(r.Exec("a"), ERegex);
  r.SetExpression("(a)");
  EXPECT_TRUE(r.Exec("a"));
}

TEST(RegexErrors, LinePairedSeparatorNeedsTwoDifferentCharactersOrNone) {
  TRegex r;
  for (const char* pair : {"a", "aa", "abc"}) {
    ERegex e = Caught([&] { r.SetLinePairedSeparator(pair); });
    EXPECT_EQ(e.ErrorCode(), reBadPairedSeparator);
    EXPECT_EQ(e.CompilePosition(), 0);
    EXPECT_STREQ(e.what(),
                 "TRegex(comp): LinePairedSeparator must countain two different chars or no chars at all (pos 0)");
  }
  EXPECT_EQ(r.LinePairedSeparator(), "\r\n");
  r.SetLinePairedSeparator("ab");
  EXPECT_EQ(r.LinePairedSeparator(), "ab");
}

TEST(RegexErrors, MatchErrorsHaveNoPosition) {
  TRegex r;
  r.SetExpression("a");
  ERegex noInput = Caught([&] { r.ExecFrom(1); });
  EXPECT_EQ(noInput.ErrorCode(), reNoInputString);
  EXPECT_STREQ(noInput.what(), "TRegex(exec): No Input String Specified");
  r.Exec("abc");
  ERegex offset = Caught([&] { r.ExecFrom(0); });
  EXPECT_EQ(offset.ErrorCode(), reOffsetBelowOne);
  EXPECT_STREQ(offset.what(), "TRegex(exec): Offset Must Be Greater Then 0");
  // An offset beyond the input's length + 1 is no match, not an error.
  EXPECT_FALSE(r.ExecFrom(5));
  EXPECT_TRUE(r.ExecFrom(1));
}

TEST(RegexErrors, ModifierIndexOutOfRange) {
  TRegex r;
  for (std::int32_t index : {0, 7}) {
    ERegex e = Caught([&] { r.Modifier(index); });
    EXPECT_EQ(e.ErrorCode(), reModifierIndex);
    EXPECT_STREQ(e.what(), "Unknown error");
    EXPECT_THROW(r.SetModifier(index, true), ERegex);
  }
  EXPECT_TRUE(r.Modifier(rmR));
  EXPECT_FALSE(r.Modifier(rmI));
}

TEST(RegexErrors, ElevenNestedCountedLoopsExceedTheLoopStack) {
  std::string expression = "a";
  for (int i = 0; i < 11; ++i) expression = "(" + expression + "){1,2}";
  TRegex r;
  r.SetExpression(expression);
  ERegex e = Caught([&] { r.Exec("aaaa"); });
  EXPECT_EQ(e.ErrorCode(), reLoopStackExceeded);
  EXPECT_STREQ(e.what(), "TRegex(exec): Loop Stack Exceeded");
}

TEST(RegexErrors, EmptySpaceCharactersStopTheCompilation) {
  TRegex r;
  r.SetSpaceCharacters("");
  r.SetExpression("a\\s");
  try {
    r.CompileExpression();
    FAIL() << "no error";
  } catch (const ERegex&) {
    FAIL() << "an internal check, not a numbered error";
  } catch (const classlib::Exception& e) {
    EXPECT_STREQ(e.what(), "TRegex.ParseAtom(subroutine EmitRangeC): empty range");
  }
  // Inside brackets the empty list adds nothing.
  r.SetExpression("a[\\sb]");
  EXPECT_TRUE(r.Exec("ab"));
  EXPECT_FALSE(r.Exec("a "));
}

// Messages go through the second virtual operation.
TEST(RegexErrors, ErrorMsgCanBeReplaced) {
  class TLocalRegex : public TRegex {
   public:
    std::string ErrorMsg(std::int32_t code) override { return "code " + std::to_string(code); }
  };
  TLocalRegex r;
  r.SetExpression("a{3,2}");
  ERegex e = Caught([&] { r.Exec("a"); });
  EXPECT_STREQ(e.what(), "code 124 (pos 5)");
}

struct TMessage {
  std::int32_t Code;
  const char* Text;
};

// The engine's message table, typed again here on purpose: a changed text
// breaks callers that match on it, so it must fail a test.
const TMessage Messages[] = {
    {0, "No errors"},
    {100, "TRegex(comp): Null Argument"},
    {101, "TRegex(comp): Regexp Too Big"},
    {102, "TRegex(comp): ParseReg Too Many ()"},
    {103, "TRegex(comp): ParseReg Unmatched ()"},
    {104, "TRegex(comp): ParseReg Unmatched ()"},
    {105, "TRegex(comp): ParseReg Junk On End"},
    {106, "TRegex(comp): *+ Operand Could Be Empty"},
    {107, "TRegex(comp): Nested *?+"},
    {108, "TRegex(comp): Bad Hex Digit"},
    {109, "TRegex(comp): Invalid [] Range"},
    {110, "TRegex(comp): Parse Atom Trailing \\"},
    {111, "TRegex(comp): No Hex Code After \\x"},
    {112, "TRegex(comp): Hex Code After \\x Is Too Big"},
    {113, "TRegex(comp): Unmatched []"},
    {114, "TRegex(comp): Internal Urp"},
    {115, "TRegex(comp): ?+*{ Follows Nothing"},
    {116, "TRegex(comp): Trailing \\"},
    {119, "TRegex(comp): RarseAtom Internal Disaster"},
    {122, "TRegex(comp): BRACES Argument Too Big"},
    {124, "TRegex(comp): BRACE Min Param Greater then Max"},
    {125, "TRegex(comp): Unclosed (?#Comment)"},
    {126,
     "TRegex(comp): If you want take part in beta-testing BRACES '{min,max}' and non-greedy ops '*?', '+?', "
     "'?" "?' for complex cases - remove '.' from {.$DEFINE ComplexBraces}"},
    {127, "TRegex(comp): Urecognized Modifier"},
    {128, "TRegex(comp): LinePairedSeparator must countain two different chars or no chars at all"},
    {1000, "TRegex(exec): RegRepeat Called Inappropriately"},
    {1001, "TRegex(exec): MatchPrim Memory Corruption"},
    {1002, "TRegex(exec): MatchPrim Corrupted Pointers"},
    {1003, "TRegex(exec): Not Assigned Expression Property"},
    {1004, "TRegex(exec): Corrupted Program"},
    {1005, "TRegex(exec): No Input String Specified"},
    {1006, "TRegex(exec): Offset Must Be Greater Then 0"},
    {1007, "TRegex(exec): ExecNext Without Exec[Pos]"},
    {1008, "TRegex(exec): GetInputString Without InputString"},
    {1011, "TRegex(dump): Corrupted Opcode"},
    {1013, "Unknown error"},
    {1014, "TRegex(exec): Loop Stack Exceeded"},
    {1015, "TRegex(exec): Loop Without LoopEntry !"},
    {1016, "TRegex(exec): Backtrack Stack Exceeded"},
    {1017, "TRegex(exec): Input String Too Long"},
    {1018, "TRegex(exec): Step Budget Exceeded"},
    {2000, "TRegex(misc): Bad p-code imported"},
    {117, "Unknown error"},
    {-1, "Unknown error"},
};

TEST(RegexErrors, MessageTable) {
  TRegex r;
  for (const TMessage& m : Messages) EXPECT_EQ(r.ErrorMsg(m.Code), m.Text) << m.Code;
}

TEST(RegexErrors, ErrorRaisesWithPositionOnlyForCompileCodes) {
  TRegex r;
  ERegex compile = Caught([&] { r.Error(reJunkOnEnd); });
  EXPECT_STREQ(compile.what(), "TRegex(comp): ParseReg Junk On End (pos 0)");
  ERegex exec = Caught([&] { r.Error(reLoopWithoutEntry); });
  EXPECT_STREQ(exec.what(), "TRegex(exec): Loop Without LoopEntry !");
  EXPECT_EQ(r.LastError(), reLoopWithoutEntry);
}

}  // namespace
}  // namespace regex

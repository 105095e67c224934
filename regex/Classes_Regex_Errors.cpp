// The message table of TRegex: one fixed English text per error code.
// Tested by: regex/tests/RegexErrorTest.cpp (every code has its text, every
// compile error is raised with it).
#include "regex/Classes_Regex.h"

namespace regex {

std::string TRegex::ErrorMsg(std::int32_t code) {
  switch (code) {
    case reNoErrors: return "No errors";
    case reNullArgument: return "TRegex(comp): Null Argument";
    case reRegexpTooBig: return "TRegex(comp): Regexp Too Big";
    case reTooManyGroups: return "TRegex(comp): ParseReg Too Many ()";
    case reUnmatchedOpen:
    case reUnmatchedClose: return "TRegex(comp): ParseReg Unmatched ()";
    case reJunkOnEnd: return "TRegex(comp): ParseReg Junk On End";
    case reOperandCouldBeEmpty: return "TRegex(comp): *+ Operand Could Be Empty";
    case reNestedQuantifier: return "TRegex(comp): Nested *?+";
    case reBadHexDigit: return "TRegex(comp): Bad Hex Digit";
    case reInvalidSetRange: return "TRegex(comp): Invalid [] Range";
    case reSetTrailingEscape: return "TRegex(comp): Parse Atom Trailing \\";
    case reNoHexCode: return "TRegex(comp): No Hex Code After \\x";
    case reHexCodeTooBig: return "TRegex(comp): Hex Code After \\x Is Too Big";
    case reUnmatchedSet: return "TRegex(comp): Unmatched []";
    case reInternalUrp: return "TRegex(comp): Internal Urp";
    case reQuantifierFollowsNothing: return "TRegex(comp): ?+*{ Follows Nothing";
    case reTrailingEscape: return "TRegex(comp): Trailing \\";
    case reAtomInternalDisaster: return "TRegex(comp): RarseAtom Internal Disaster";
    case reBracesArgTooBig: return "TRegex(comp): BRACES Argument Too Big";
    case reBraceMinAboveMax: return "TRegex(comp): BRACE Min Param Greater then Max";
    case reUnclosedComment: return "TRegex(comp): Unclosed (?#Comment)";
    case reComplexBraces:
      return "TRegex(comp): If you want take part in beta-testing BRACES '{min,max}' and non-greedy "
             "ops '*?', '+?', '?" "?' for complex cases - remove '.' from {.$DEFINE ComplexBraces}";
    case reUnknownModifier: return "TRegex(comp): Urecognized Modifier";
    case reBadPairedSeparator:
      return "TRegex(comp): LinePairedSeparator must countain two different chars or no chars at all";
    case reRepeatOperand: return "TRegex(exec): RegRepeat Called Inappropriately";
    case reMemoryCorruption: return "TRegex(exec): MatchPrim Memory Corruption";
    case reCorruptedPointers: return "TRegex(exec): MatchPrim Corrupted Pointers";
    case reNoExpression: return "TRegex(exec): Not Assigned Expression Property";
    case reCorruptedProgram: return "TRegex(exec): Corrupted Program";
    case reNoInputString: return "TRegex(exec): No Input String Specified";
    case reOffsetBelowOne: return "TRegex(exec): Offset Must Be Greater Then 0";
    case reExecNextWithoutExec: return "TRegex(exec): ExecNext Without Exec[Pos]";
    case reGetInputWithoutInput: return "TRegex(exec): GetInputString Without InputString";
    case reDumpCorruptedOpcode: return "TRegex(dump): Corrupted Opcode";
    case reLoopStackExceeded: return "TRegex(exec): Loop Stack Exceeded";
    case reLoopWithoutEntry: return "TRegex(exec): Loop Without LoopEntry !";
    case reBacktrackStackExceeded: return "TRegex(exec): Backtrack Stack Exceeded";
    case reInputTooLong: return "TRegex(exec): Input String Too Long";
    case reStepBudgetExceeded: return "TRegex(exec): Step Budget Exceeded";
    case reBadPCodeImported: return "TRegex(misc): Bad p-code imported";
    default: return "Unknown error";
  }
}

}  // namespace regex

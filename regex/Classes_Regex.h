// The regular-expression engine: TRegex compiles a Perl-style expression into
// a byte program ("p-code") and runs it against single-byte text by
// backtracking; ERegex reports its numbered errors.
//
// Stages, each in its own file:
//   Classes_Regex_Compile.cpp  expression text -> p-code (ParseReg ... ParseCharEscape)
//   Classes_Regex_Start.cpp    p-code -> start analysis (first characters, anchor, required text)
//                              and what keeps a search cheap (shortest match, literals in order,
//                              what may follow a choice, counted loops, memo points)
//   Classes_Regex_Match.cpp    p-code x input -> match (explicit backtracking stack on the heap)
//   Classes_Regex_Memo.cpp     the step budget of a search and its memo of failed states
//   Classes_Regex_OnePass.cpp  p-code -> run steps, for a program that never has to choose
//   Classes_Regex_OnePassSearch.cpp  run steps x input -> match, one pass per start, or from
//                              the pivot character back
//   Classes_Regex_Errors.cpp   error codes -> message texts
//   Classes_Regex.cpp          the object: properties, Exec, Match, Error
//   RegexCase1251.cpp          Windows-1251 case conversion
// The p-code layout is declared in RegexProgram.h; regex/testing/ dumps it.
//
// Characters are bytes, Windows-1251 text. An input (and an expression) ends
// at its first zero byte.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/classlib/Exception.h"

namespace regex {

// Error codes. Codes below 1000 are compile errors, whose message carries the
// compile position.
enum TRegexErrorCode : std::int32_t {
  reNoErrors = 0,
  reNullArgument = 100,
  reRegexpTooBig = 101,
  reTooManyGroups = 102,
  reUnmatchedOpen = 103,
  reUnmatchedClose = 104,
  reJunkOnEnd = 105,
  reOperandCouldBeEmpty = 106,
  reNestedQuantifier = 107,
  reBadHexDigit = 108,
  reInvalidSetRange = 109,
  reSetTrailingEscape = 110,
  reNoHexCode = 111,
  reHexCodeTooBig = 112,
  reUnmatchedSet = 113,
  reInternalUrp = 114,
  reQuantifierFollowsNothing = 115,
  reTrailingEscape = 116,
  reAtomInternalDisaster = 119,
  reBracesArgTooBig = 122,
  reBraceMinAboveMax = 124,
  reUnclosedComment = 125,
  reComplexBraces = 126,
  reUnknownModifier = 127,
  reBadPairedSeparator = 128,
  reRepeatOperand = 1000,
  reMemoryCorruption = 1001,
  reCorruptedPointers = 1002,
  reNoExpression = 1003,
  reCorruptedProgram = 1004,
  reNoInputString = 1005,
  reOffsetBelowOne = 1006,
  reExecNextWithoutExec = 1007,
  reGetInputWithoutInput = 1008,
  reDumpCorruptedOpcode = 1011,
  reModifierIndex = 1013,
  reLoopStackExceeded = 1014,
  reLoopWithoutEntry = 1015,
  // The matcher keeps its backtracking state on the heap; these two bound it.
  reBacktrackStackExceeded = 1016,
  reInputTooLong = 1017,
  // A search that has run out of steps (RegexStepBudgetBase ...) stops with this.
  reStepBudgetExceeded = 1018,
  reBadPCodeImported = 2000,
};

// Every error of the engine: the message, the code and the compile position
// (the number of characters parsed when a compile error was found, else 0).
class ERegex : public classlib::Exception {
 public:
  ERegex(std::string message, std::int32_t errorCode, std::int32_t compilePosition)
      : Exception(std::move(message)), FErrorCode(errorCode), FCompilePosition(compilePosition) {}

  std::int32_t ErrorCode() const noexcept { return FErrorCode; }
  std::int32_t CompilePosition() const noexcept { return FCompilePosition; }

 private:
  std::int32_t FErrorCode;
  std::int32_t FCompilePosition;
};

// The unit's default modifiers, taken by every new TRegex.
constexpr bool RegexModifierI = false;
constexpr bool RegexModifierR = true;
constexpr bool RegexModifierS = true;
constexpr bool RegexModifierG = true;
constexpr bool RegexModifierM = false;
constexpr bool RegexModifierX = false;

// Modifier indexes of TRegex::Modifier.
enum TRegexModifierIndex : std::int32_t {
  rmI = 1,  // case-insensitive
  rmR = 2,  // Russian ranges in sets
  rmS = 3,  // dot matches line separators
  rmG = 4,  // greedy quantifiers (off: every quantifier is non-greedy)
  rmM = 5,  // multi-line anchors
  rmX = 6,  // extended syntax: blanks and # comments ignored
};

// Number of sub-expressions: 0 is the whole match, 1 .. 14 the groups.
constexpr int RegexSubExpressions = 15;
// Counted loops nest at most this deep.
constexpr int RegexLoopDepth = 10;
// Bound on the matcher's backtracking stack, in bytes.
constexpr std::size_t RegexBacktrackLimitBytes = std::size_t{1} << 30;
// Steps one search may take (a step is a node run or a repeat count looked
// at): the base and so many more per character searched. Far above what a
// linear search needs; a search that reaches it is error 1018.
constexpr std::int64_t RegexStepBudgetBase = std::int64_t{1} << 28;
constexpr std::int64_t RegexStepBudgetPerChar = 1024;

struct TRegexInternals;

class TRegex {
 public:
  struct TModifiers {
    bool I = RegexModifierI;
    bool R = RegexModifierR;
    bool S = RegexModifierS;
    bool G = RegexModifierG;
    bool M = RegexModifierM;
    bool X = RegexModifierX;
    bool operator==(const TModifiers&) const = default;
  };

  TRegex();
  virtual ~TRegex();
  TRegex(const TRegex&) = delete;
  TRegex& operator=(const TRegex&) = delete;

  // properties
  const std::string& Expression() const { return FExpression; }
  void SetExpression(std::string_view expression);  // drops the program
  bool Modifier(std::int32_t index);                // index 1 .. 6, else error 1013
  void SetModifier(std::int32_t index, bool value);
  bool ModifierI() const { return FModifiers.I; }
  bool ModifierR() const { return FModifiers.R; }
  bool ModifierS() const { return FModifiers.S; }
  bool ModifierG() const { return FModifiers.G; }
  bool ModifierM() const { return FModifiers.M; }
  bool ModifierX() const { return FModifiers.X; }
  void SetModifierI(bool value) { SetModifier(rmI, value); }
  void SetModifierR(bool value) { SetModifier(rmR, value); }
  void SetModifierS(bool value) { SetModifier(rmS, value); }
  void SetModifierG(bool value) { SetModifier(rmG, value); }
  void SetModifierM(bool value) { SetModifier(rmM, value); }
  void SetModifierX(bool value) { SetModifier(rmX, value); }
  // "" or the two characters of the pair; anything else is error 128.
  std::string LinePairedSeparator() const;
  void SetLinePairedSeparator(std::string_view pair);
  // Character lists of \s, \w and the line separators; a change drops the program.
  const std::string& SpaceCharacters() const { return FSpaceCharacters; }
  void SetSpaceCharacters(std::string_view chars);
  const std::string& WordCharacters() const { return FWordCharacters; }
  void SetWordCharacters(std::string_view chars);
  const std::string& LineSeparatorChars() const { return FLineSeparatorChars; }
  void SetLineSeparatorChars(std::string_view chars);
  std::int32_t LastError() const { return FLastError; }

  // operations
  void CompileExpression();
  bool Exec(std::string_view input);   // sets the input, searches from its first character
  bool ExecFrom(std::int32_t offset);  // searches the current input from a 1-based offset
  std::string Match(std::int32_t n) const;
  // The character's upper case when that differs, else its lower case (Windows-1251).
  static unsigned char InvertCase(unsigned char c);

  // introduced virtual
  // Stores the code and raises ERegex with the code's message.
  virtual void Error(std::int32_t code);
  virtual std::string ErrorMsg(std::int32_t code);

 private:
  friend struct TRegexInternals;

  struct TPieceFlags {
    bool Width = false;         // always consumes at least one character
    bool Simple = false;        // consumes exactly one character (or a group's text)
    bool StartsRepeat = false;  // begins with a *, + or brace quantifier
  };

  // Raises through Error; an override of Error that returns still ends the operation.
  [[noreturn]] void Fail(std::int32_t code);
  void DropProgram();
  void CheckProgram();
  void SetInput(std::string_view input);

  // compilation (Classes_Regex_Compile.cpp)
  int ParseReg(bool paren, TPieceFlags& flags);
  int ParseBranch(TPieceFlags& flags);
  int ParseQuantifier(TPieceFlags& flags);
  int ParseAtom(TPieceFlags& flags);
  unsigned char ParseCharEscape();
  int ParseSet();
  int ParseModifierGroup();
  int ParseLiteralRun(TPieceFlags& flags);
  bool ReadBraces(std::int32_t& min, std::int32_t& max);
  int EmitCharSet(const std::array<bool, 256>& members, bool negated);
  int EmitNode(std::uint8_t op);
  void EmitByte(std::uint8_t b);
  void EmitInt(std::int32_t v);
  void InsertNode(std::uint8_t op, int at, std::size_t operandSize);
  void Tail(int node, int target);
  void OperandTail(int node, int target);
  unsigned char Cur() const;
  unsigned char At(std::size_t i) const;
  bool AtEnd() const;

  // start analysis (Classes_Regex_Start.cpp)
  void AnalyseStart(bool startsWithRepeat);
  void FillFirstCharSet(int node);
  bool CharsAt(int start, std::array<bool, 256>& set, bool loopsMayExit, std::size_t limit);
  std::int32_t CharSetAt(int start);
  void IndexLoops();

  // search analysis (Classes_Regex_Start.cpp): counted loops, memo points,
  // the fewest characters a match takes, the literals it must hold
  struct TCountedLoop {
    int Loop = 0;                 // its OpLoop or OpLoopLazy node
    int Parent = -1;              // the counted loop around it, -1 when none
    int Depth = 1;                // the index of its counter while it runs
    std::int32_t Min = 0;
    std::int32_t Max = 0;
    std::int32_t BodyMin = 0;     // fewest characters one iteration consumes
    std::int32_t BodyFirst = -1;  // what an iteration can start with (FCharSets; -1: any)
    std::int32_t ExitFirst = -1;  // what follows the loop can start with (the same)
    // Set when a memo starts: whether counts at or above Min all act alike
    // (Max out of reach), and the number of counter values that act apart.
    bool Saturates = false;
    std::int32_t States = 0;
  };
  struct TRequiredLiteral {
    int Node;          // a top-level OpLiteral
    std::int32_t Gap;  // fewest characters between the one before (or the start) and it
  };
  void AnalyseSearch();
  std::int64_t MinLength(int from, int stop) const;

  // matching (Classes_Regex.cpp, Classes_Regex_Match.cpp)
  bool Search(std::int32_t from);
  // Whether the input from a position on holds the literals every match
  // holds; mostly known already for a start after one that failed.
  bool HoldsRequiredLiterals(std::int32_t from) {
    return FRequiredLiterals.empty() || from <= FLiteralsHeldTo || LookForRequiredLiterals(from);
  }
  bool LookForRequiredLiterals(std::int32_t from);
  bool LiteralsStillAhead(std::int32_t next);  // RegexProgram.h
  void ForgetLiteralStarts() {
    FLiteralsLookedFor = false;
    FLiteralsHeldTo = -1;
    FLiteralsLackFrom = std::numeric_limits<std::int32_t>::max();
  }
  std::int32_t LeadRunEnd(std::int32_t failed);
  bool MatchAt(std::int32_t position);
  bool OnePassSearch(std::int32_t& from, std::int32_t last);
  bool PivotSearch(std::int32_t& from, std::int32_t last);
  bool RunForward(std::int32_t start, std::int32_t& resume, std::int32_t& failed);
  std::int32_t RunBackward(int step, std::int32_t pos, std::int32_t lo);
  void GrowStack();
  std::int32_t RegRepeat(int operand, std::int32_t from, std::int32_t max);

  // step budget and memo of failed states (Classes_Regex_Memo.cpp)
  void BeginSearch(std::int32_t from);
  void EndSearch();
  void Checkpoint();
  void StartMemo();
  std::int32_t MemoRow(int node) const;
  bool MemoTest(std::int32_t row, std::int32_t pos) const;
  bool MemoTestAndSet(std::int32_t row, std::int32_t pos);
  void MemoMarkFailedRun(std::int32_t row, std::int32_t from, std::int32_t to);
  std::int32_t MemoFirstFailed(std::int32_t row, std::int32_t from, std::int32_t to) const;
  std::int32_t MemoNextClear(std::int32_t row, std::int32_t from, std::int32_t to) const;
  std::int32_t MemoRunEnd(int node, int operand, std::int32_t pos);

  // one pass (Classes_Regex_OnePass.cpp)
  struct TRunStep {
    std::uint8_t Kind;
    // A run that every match starts with, nothing before it testing the
    // start: a failed start rules out the later starts in its run.
    bool Lead;
    std::uint8_t Byte;  // the character after a run, for a run so followed
    std::int32_t Min;
    std::int32_t Max;
    std::int32_t Arg;  // a literal's node, a character, or the FRunTables index of a class
  };
  // A group of a one-pass program. Its bounds are where a step starts, or
  // one character before (code: step * 2 + 1), within a run followed by a
  // character; a group repeated by run step From keeps the run's last
  // character.
  struct TRunGroup {
    std::int32_t Group;
    std::int32_t From;
    std::int32_t To;
    bool Last;
  };
  void AnalyseOnePass();
  bool OneCharTo(int node, int join, std::array<bool, 256>& set, int depth);
  bool EndsTrivially(int node) const;
  void FindRunPivot();

  std::string FExpression;
  std::size_t FExpressionLength = 0;  // up to the first zero byte
  std::vector<std::uint8_t> FProgram;
  TModifiers FModifiers;         // the object's modifiers
  TModifiers FWorkModifiers;     // changed by (?...) groups while compiling
  TModifiers FProgramModifiers;  // the modifiers the program was compiled with
  std::string FSpaceCharacters;
  std::string FWordCharacters;
  std::string FLineSeparatorChars;
  bool FPairSet = true;
  unsigned char FPair1 = '\r';
  unsigned char FPair2 = '\n';
  std::array<bool, 256> FLineSeparators{};
  std::array<bool, 256> FWordSet{};
  bool FCharSetsValid = false;

  // compile data
  bool FCompiling = false;
  std::size_t FParse = 0;  // parse point
  int FGroupCount = 0;
  std::vector<std::uint8_t> FCode;  // the program being emitted

  // start analysis
  int FFirstChar = -1;  // required first character, -1 when none
  bool FAnchored = false;
  std::array<bool, 256> FFirstCharSet{};
  std::string FRequired;  // required literal substring
  std::vector<std::int32_t> FLoopIndex;  // Branch node -> loop of a starred/plussed atom
  std::vector<bool> FLoopIsPlus;

  // search analysis
  std::int32_t FMinLength = 0;  // fewest characters of a match
  // The literals of the top level, in the order and at least as far apart as
  // every match holds them.
  std::vector<TRequiredLiteral> FRequiredLiterals;
  // A simple repeat every match starts with (nothing before it tests or
  // chooses), -1 when none: a start that fails rules out the rest of its run.
  int FLeadRepeat = -1;
  bool FLeadAfterLoops = false;  // counted loops come before the lead repeat
  int FStartPoint = -1;          // the first memo point of every attempt, -1 when none
  // Character sets of what can come next at a point of the program (code 0:
  // the end of the input), where a choice can be ruled out by one character.
  std::vector<std::array<bool, 256>> FCharSets;
  // simple repeat -> what follows it can start with (FCharSets), -1 when any
  std::vector<std::int32_t> FRepeatFollow;
  // OpBranch of a choice between alternatives -> what its alternative can
  // start with (FCharSets), -1 when any
  std::vector<std::int32_t> FBranchFirst;
  std::vector<TCountedLoop> FCountedLoops;
  std::vector<std::int32_t> FNodeLoop;  // node -> innermost counted loop holding it, -1
  // node -> its first memo row while a memo runs; -1 for a node that is no
  // memo point, -2 for a memo point left without one (0 until a memo starts)
  std::vector<std::int32_t> FMemoRow;
  // Without back-references the outcome of a state depends only on its
  // node, position and loop counters, so a failed state may be remembered.
  bool FMemoAllowed = false;
  // The program as run steps when it never has to choose (empty: it may),
  // and their character classes, byte 0 (the end of the input) in none.
  std::vector<TRunStep> FRunSteps;
  std::vector<TRunGroup> FRunGroups;
  std::vector<std::array<bool, 256>> FRunTables;
  std::vector<std::int32_t> FRunAt;  // where each step of the present start began
  // The pivot step (-1: none), which every start reaches, if at all, at
  // the first place after it where the pivot character stands (-1: the end
  // of the input); the steps before it run backwards from there.
  std::int32_t FRunPivot = -1;
  std::int32_t FRunPivotChar = -1;
  bool FOnePassAllowed = true;    // tests: off runs every program by backtracking
  std::int64_t FOnePassLimit = 0;  // steps after which a search goes on by backtracking

  // match data
  bool FHasInput = false;
  std::string FInput;          // the copy, ended by a zero byte
  std::int32_t FInputEnd = 0;  // up to the first zero byte
  // What is known of the starts from which the input holds the literals
  // every match holds: every start up to FLiteralsHeldTo does, none from
  // FLiteralsLackFrom on; once looked for from the end, that is all of them.
  // Kept for one input and one program.
  bool FLiteralsLookedFor = false;
  std::int32_t FLiteralsHeldTo = -1;
  std::int32_t FLiteralsLackFrom = std::numeric_limits<std::int32_t>::max();
  std::array<std::int32_t, RegexSubExpressions> FStartP{};
  std::array<std::int32_t, RegexSubExpressions> FEndP{};
  std::array<std::int32_t, RegexSubExpressions> FOpenP{};  // group opened, not yet closed
  std::array<std::int32_t, RegexLoopDepth + 1> FLoopCount{};
  std::array<std::int32_t, RegexLoopDepth + 1> FLoopStart{};
  std::int32_t FLoopDepth = 0;
  std::int32_t FPos = 0;
  std::int32_t FLastError = 0;
  struct TFrame;
  std::vector<TFrame> FStack;
  std::size_t FMaxFrames;
  std::vector<std::int32_t> FLoopMarks;

  // step budget and memo of the current search
  std::int64_t FSteps = 0;
  std::int64_t FStepCheck = 0;   // the step count at which Checkpoint runs
  std::int64_t FStartSteps = 0;  // the step count when the present start position was taken
  std::int64_t FStepBudget = 0;
  std::int64_t FMemoAfterSteps = -1;    // tests: steps before the memo starts (-1: by the input)
  std::int64_t FStepBudgetOverride = -1;  // tests: the budget (-1: by the input)
  bool FMemoOn = false;
  std::int32_t FMemoFrom = 0;   // the first position the memo covers
  std::int32_t FMemoWidth = 0;  // positions per memo row
  std::vector<std::uint64_t> FMemo;
  std::vector<std::int32_t> FRunFrom;  // per memo row of a repeat: a run of its operand ...
  std::vector<std::int32_t> FRunEnd;   // ... and where that run ends
};

// One-shot match: compiles the expression with the default modifiers and runs
// it on the input.
bool ExecRegex(std::string_view expression, std::string_view input);

}  // namespace regex

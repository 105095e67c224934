// The p-code of TRegex: opcodes, node layout and the matcher's stack frame.
// Internal to the engine and its test library (regex/testing/); callers use
// Classes_Regex.h only.
//
// A program is the mark byte 216 followed by nodes. A node is its opcode
// (1 byte), the signed 32-bit little-endian offset from the node to the next
// one in sequence (0 = none, negative only for OpBack) and its operand.
// A literal's operand is its length (32-bit) and then its bytes: a literal
// may hold byte 0 (from \x00), so no terminator can mark its end.
#pragma once

#include <cstdint>
#include "regex/Classes_Regex.h"

namespace regex {

enum TRegexOpcode : std::uint8_t {
  OpEnd = 0,
  OpLineStart = 1,
  OpLineEnd = 2,
  OpAnyChar = 3,
  OpBranch = 6,
  OpBack = 7,
  OpLiteral = 8,
  OpNothing = 9,
  OpStar = 10,
  OpPlus = 11,
  OpDigit = 12,
  OpNotDigit = 13,
  OpRange = 18,
  OpComment = 19,
  OpLiteralNoCase = 20,
  OpLoopEntry = 23,
  OpLoop = 24,
  OpAnyOfSmall = 25,
  OpAnyButSmall = 26,
  OpAnyOfSet = 27,
  OpBackRef = 28,
  OpBackRefNoCase = 29,
  OpStarLazy = 30,
  OpPlusLazy = 31,
  OpRangeLazy = 32,
  OpLoopLazy = 33,
  OpLineStartMulti = 34,
  OpLineEndMulti = 35,
  OpAnyCharNoLineSep = 36,
  OpWordBoundary = 37,
  OpNotWordBoundary = 38,
  OpOpen = 39,   // group n opens with OpOpen + n, n = 1 .. 14
  OpClose = 54,  // group n closes with OpClose + n
  OpLastCode = 68,
};

constexpr std::uint8_t RegexProgramMark = 216;
constexpr int NodeHeaderSize = 5;         // opcode + next offset
constexpr int SmallSetSize = 3;           // OpAnyOfSmall / OpAnyButSmall
constexpr int BitSetSize = 32;            // OpAnyOfSet
constexpr int RangeOperandSize = 8;       // min, max before the operand node
constexpr int LoopOperandSize = 12;       // min, max, offset back to the body
constexpr int LiteralLengthSize = 4;      // the length before a literal's bytes
constexpr std::int32_t RegexInfinity = 0x7FFFFFFF;        // max of * and +
constexpr std::int32_t RegexBraceInfinity = 0x7FFFFFFE;   // max of {n,} and non-greedy loops

inline std::int32_t ReadInt32(const std::uint8_t* p) {
  std::uint32_t v = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                    std::uint32_t(p[3]) << 24;
  return static_cast<std::int32_t>(v);
}

inline void WriteInt32(std::uint8_t* p, std::int32_t value) {
  std::uint32_t v = static_cast<std::uint32_t>(value);
  p[0] = std::uint8_t(v);
  p[1] = std::uint8_t(v >> 8);
  p[2] = std::uint8_t(v >> 16);
  p[3] = std::uint8_t(v >> 24);
}

inline bool IsOpenCode(std::uint8_t op) { return op > OpOpen && op < OpOpen + RegexSubExpressions; }
inline bool IsCloseCode(std::uint8_t op) { return op > OpClose && op < OpClose + RegexSubExpressions; }

// The node that follows a node in sequence, -1 when none.
inline int NextNode(const std::vector<std::uint8_t>& program, int node) {
  const std::int32_t offset = ReadInt32(&program[static_cast<std::size_t>(node) + 1]);
  return offset == 0 ? -1 : node + offset;
}

// Whether an opcode is one the compiler can emit.
inline bool IsKnownOpcode(std::uint8_t op) {
  switch (op) {
    case 4: case 5: case 14: case 15: case 16: case 17: case 21: case 22: case OpOpen: case OpClose:
      return false;
    default:
      return op <= OpLastCode;
  }
}

// The text of an OpLiteral or OpLiteralNoCase node.
inline std::int32_t LiteralLength(const std::uint8_t* node) { return ReadInt32(node + NodeHeaderSize); }
inline const std::uint8_t* LiteralText(const std::uint8_t* node) {
  return node + NodeHeaderSize + LiteralLengthSize;
}

// Size of a node's operand bytes that belong to the node itself (an operand
// node of a repeat is a node of its own and is not counted).
inline int OperandSize(const std::uint8_t* node) {
  switch (node[0]) {
    case OpLiteral:
    case OpLiteralNoCase:
      return LiteralLengthSize + LiteralLength(node);
    case OpRange:
    case OpRangeLazy:
      return RangeOperandSize;
    case OpLoop:
    case OpLoopLazy:
      return LoopOperandSize;
    case OpAnyOfSmall:
    case OpAnyButSmall:
      return SmallSetSize;
    case OpAnyOfSet:
      return BitSetSize;
    case OpBackRef:
    case OpBackRefNoCase:
      return 1;
    default:
      return 0;
  }
}

inline bool SetHas(const std::uint8_t* bits, unsigned char c) { return (bits[c >> 3] >> (c & 7)) & 1; }

inline bool IsRepeatCode(std::uint8_t op) {
  return op == OpStar || op == OpPlus || op == OpRange || op == OpStarLazy || op == OpPlusLazy || op == OpRangeLazy;
}

// The bounds of a simple-repeat node and where its operand node is.
struct TRepeatShape {
  std::int32_t Min;
  std::int32_t Max;
  int Operand;
};

inline TRepeatShape RepeatShape(const std::uint8_t* program, int node) {
  const std::uint8_t* n = program + node;
  switch (n[0]) {
    case OpStar:
    case OpStarLazy:
      return {0, RegexInfinity, node + NodeHeaderSize};
    case OpPlus:
    case OpPlusLazy:
      return {1, RegexInfinity, node + NodeHeaderSize};
    default:
      return {ReadInt32(n + NodeHeaderSize), ReadInt32(n + NodeHeaderSize + 4),
              node + NodeHeaderSize + RangeOperandSize};
  }
}

// The steps of a program that runs in one pass (Classes_Regex_OnePass.cpp).
enum TRunKind : std::uint8_t {
  rkByte,             // the character Arg
  rkLiteral,          // the literal of node Arg
  rkChar,             // one character of class Arg
  rkRun,              // the whole run of class Arg, Min .. Max long
  rkRunByte,          // such a run, then the character Byte
  rkRunFirst,         // Min characters of class Arg (a lazy repeat before the end)
  rkRunLast,          // as many characters of class Arg as there are, up to Max (a greedy one)
  rkLineStart,        // the start of the input
  rkLineEnd,          // the end of the input
  rkWordBoundary,     // between a word character and another
  rkNotWordBoundary,  // not so
  rkEnd,              // the match
};

// One entry of the matcher's backtracking stack: a choice to resume or a
// change to undo.
struct TRegex::TFrame {
  std::int32_t Kind;
  std::int32_t Node;
  std::int32_t Pos;
  std::int32_t A;
  std::int32_t B;
};

// The memo of failed states (Classes_Regex_Memo.cpp): the reads on the
// matcher's hot path, inline.

// The memo row of a node in the present state of the loop counters, -1 when
// the node keeps none. Counts at or above a loop's minimum act alike when its
// maximum is out of reach, so they share a row.
inline std::int32_t TRegex::MemoRow(int node) const {
  const std::int32_t base = FMemoRow[static_cast<std::size_t>(node)];
  if (base < 0) return -1;
  std::int32_t offset = 0;
  std::int32_t stride = 1;
  for (int l = FNodeLoop[static_cast<std::size_t>(node)]; l >= 0;) {
    const TCountedLoop& loop = FCountedLoops[static_cast<std::size_t>(l)];
    const std::int32_t count = FLoopCount[static_cast<std::size_t>(loop.Depth)];
    offset += (loop.Saturates && count >= loop.Min ? loop.Min : count) * stride;
    stride *= loop.States;
    l = loop.Parent;
  }
  return base + offset;
}

inline bool TRegex::MemoTest(std::int32_t row, std::int32_t pos) const {
  const std::uint64_t bit = static_cast<std::uint64_t>(row) * static_cast<std::uint64_t>(FMemoWidth) +
                            static_cast<std::uint64_t>(pos - FMemoFrom);
  return (FMemo[bit >> 6] >> (bit & 63)) & 1;
}

inline bool TRegex::MemoTestAndSet(std::int32_t row, std::int32_t pos) {
  const std::uint64_t bit = static_cast<std::uint64_t>(row) * static_cast<std::uint64_t>(FMemoWidth) +
                            static_cast<std::uint64_t>(pos - FMemoFrom);
  std::uint64_t& word = FMemo[bit >> 6];
  const std::uint64_t mask = std::uint64_t{1} << (bit & 63);
  const bool set = (word & mask) != 0;
  word |= mask;
  return set;
}

// The literals every match holds are looked for again after a failed start
// only when more of the text than this is left: the short rest of a text is
// tried start by start, which costs less than looking through it again.
constexpr std::int32_t LiteralsLookAgainAbove = 256;

// After a failed start: whether a later one may still find the literals.
inline bool TRegex::LiteralsStillAhead(std::int32_t next) {
  return FInputEnd - next < LiteralsLookAgainAbove || HoldsRequiredLiterals(next);
}

// Test access to the compiled program and the match positions (regex/testing/).
struct TRegexInternals {
  static const std::vector<std::uint8_t>& Program(const TRegex& r) { return r.FProgram; }
  static int FirstChar(const TRegex& r) { return r.FFirstChar; }
  static bool Anchored(const TRegex& r) { return r.FAnchored; }
  static const std::array<bool, 256>& FirstCharSet(const TRegex& r) { return r.FFirstCharSet; }
  static const std::string& Required(const TRegex& r) { return r.FRequired; }
  static std::int32_t StartP(const TRegex& r, int n) { return r.FStartP[n]; }
  static std::int32_t EndP(const TRegex& r, int n) { return r.FEndP[n]; }
  // Lowers the bound of the backtracking stack, to reach its error in a test.
  static void SetMaxFrames(TRegex& r, std::size_t frames) { r.FMaxFrames = frames; }
  static std::int32_t MinLength(const TRegex& r) { return r.FMinLength; }
  // Steps before the memo of failed states starts (0: at once; -1: the default).
  static void SetMemoAfterSteps(TRegex& r, std::int64_t steps) { r.FMemoAfterSteps = steps; }
  // The step budget of a search (-1: the default).
  static void SetStepBudget(TRegex& r, std::int64_t steps) { r.FStepBudgetOverride = steps; }
  // Whether the last search ran with the memo.
  static bool MemoUsed(const TRegex& r) { return r.FMemoOn; }
  // Whether the compiled program runs in one pass, and switching that off.
  static bool OnePass(const TRegex& r) { return !r.FRunSteps.empty(); }
  static void SetOnePassAllowed(TRegex& r, bool allowed) { r.FOnePassAllowed = allowed; }
  // The step of a one-pass program that every start reaches at one place (-1: none).
  static std::int32_t RunPivot(const TRegex& r) { return r.FRunPivot; }
  // The steps the last search took.
  static std::int64_t Steps(const TRegex& r) { return r.FSteps; }
};

}  // namespace regex

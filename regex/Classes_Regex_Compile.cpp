// Compilation of an expression into p-code: groups and alternatives
// (ParseReg, ParseBranch), quantifiers (ParseQuantifier), atoms, sets and
// escapes (ParseAtom, ParseSet, ParseCharEscape).
// Tested by: regex/tests/RegexCompileTest.cpp (p-code dumps), RegexErrorTest.cpp.
//
// One pass emits into a growing buffer. A quantifier inserts its node before
// the atom it applies to; nothing outside the atom points into it yet, and the
// offsets inside it are relative, so the move keeps them valid.
#include <cstring>

#include "regex/Classes_Regex.h"
#include "regex/RegexProgram.h"

namespace regex {
namespace {

// The characters that end a literal run.
bool IsMeta(unsigned char c) { return c != 0 && std::strchr("^$.[()|?+*\\{", c) != nullptr; }

bool IsQuantifierChar(unsigned char c) { return c == '*' || c == '+' || c == '?' || c == '{'; }

// Blanks that extended syntax skips; a form feed is not one of them.
bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

int HexValue(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The Russian alphabets with Ё/ё, which the code ranges А..Я and а..я lack.
constexpr unsigned char RussianCapitalYo = 0xA8;
constexpr unsigned char RussianSmallYo = 0xB8;

struct TCompilingFlag {
  explicit TCompilingFlag(bool& flag) : Flag(flag) { Flag = true; }
  ~TCompilingFlag() { Flag = false; }
  bool& Flag;
};

}  // namespace

unsigned char TRegex::At(std::size_t i) const {
  return i < FExpressionLength ? static_cast<unsigned char>(FExpression[i]) : 0;
}
unsigned char TRegex::Cur() const { return At(FParse); }
bool TRegex::AtEnd() const { return FParse >= FExpressionLength; }

int TRegex::EmitNode(std::uint8_t op) {
  int node = static_cast<int>(FCode.size());
  FCode.push_back(op);
  FCode.insert(FCode.end(), 4, 0);
  return node;
}

void TRegex::EmitByte(std::uint8_t b) { FCode.push_back(b); }

void TRegex::EmitInt(std::int32_t v) {
  std::size_t at = FCode.size();
  FCode.insert(FCode.end(), 4, 0);
  WriteInt32(&FCode[at], v);
}

void TRegex::InsertNode(std::uint8_t op, int at, std::size_t operandSize) {
  FCode.insert(FCode.begin() + at, NodeHeaderSize + operandSize, 0);
  FCode[static_cast<std::size_t>(at)] = op;
}

// Sets the next offset of the last node of the chain that starts at node.
void TRegex::Tail(int node, int target) {
  int scan = node;
  for (;;) {
    std::int32_t offset = ReadInt32(&FCode[static_cast<std::size_t>(scan) + 1]);
    if (offset == 0) break;
    scan += offset;
  }
  WriteInt32(&FCode[static_cast<std::size_t>(scan) + 1], target - scan);
}

// Tail of a branch's alternative; nothing for other nodes.
void TRegex::OperandTail(int node, int target) {
  if (FCode[static_cast<std::size_t>(node)] == OpBranch) Tail(node + NodeHeaderSize, target);
}

void TRegex::CompileExpression() {
  FWorkModifiers = FModifiers;
  FProgramModifiers = FModifiers;
  DropProgram();
  TCompilingFlag compiling(FCompiling);
  FParse = 0;
  if (FExpressionLength == 0) Fail(reNullArgument);
  FGroupCount = 0;
  FCode.clear();
  FCode.push_back(RegexProgramMark);
  TPieceFlags flags;
  try {
    ParseReg(false, flags);
    FProgram.swap(FCode);
    FCode.clear();
    AnalyseStart(flags.StartsRepeat);
    IndexLoops();
    AnalyseSearch();
    AnalyseOnePass();
  } catch (...) {
    FCode.clear();
    DropProgram();
    throw;
  }
}

// An expression or a parenthesised group: its alternatives, each an OpBranch,
// joined at the group's close (OpEnd at the top level).
int TRegex::ParseReg(bool paren, TPieceFlags& flags) {
  flags = TPieceFlags{};
  flags.Width = true;
  int ret = -1;
  int group = 0;
  const TModifiers saved = FWorkModifiers;
  if (paren) {
    group = ++FGroupCount;
    ret = EmitNode(static_cast<std::uint8_t>(OpOpen + group));
  }
  int last = ret;  // the chain's last node so far: linking stays linear in the alternatives
  for (bool first = true;; first = false) {
    if (!first) ++FParse;  // the '|'
    TPieceFlags branchFlags;
    int branch = ParseBranch(branchFlags);
    if (ret < 0) {
      ret = branch;
    } else {
      Tail(last, branch);
    }
    last = branch;
    if (!branchFlags.Width) flags.Width = false;
    if (branchFlags.StartsRepeat) flags.StartsRepeat = true;
    if (AtEnd() || Cur() != '|') break;
  }
  int ender = EmitNode(paren ? static_cast<std::uint8_t>(OpClose + group) : std::uint8_t{OpEnd});
  Tail(ret, ender);
  for (int br = ret;;) {
    OperandTail(br, ender);
    std::int32_t offset = ReadInt32(&FCode[static_cast<std::size_t>(br) + 1]);
    if (offset == 0) break;
    br += offset;
  }
  if (paren) {
    if (AtEnd()) Fail(reUnmatchedOpen);
    ++FParse;  // the ')'
    FWorkModifiers = saved;
  } else if (!AtEnd()) {
    Fail(Cur() == ')' ? reUnmatchedClose : reJunkOnEnd);
  }
  return ret;
}

// One alternative: an OpBranch followed by its pieces in sequence.
int TRegex::ParseBranch(TPieceFlags& flags) {
  flags = TPieceFlags{};
  int ret = EmitNode(OpBranch);
  int chain = -1;
  while (!AtEnd() && Cur() != '|' && Cur() != ')') {
    TPieceFlags pieceFlags;
    int latest = ParseQuantifier(pieceFlags);
    if (pieceFlags.Width) flags.Width = true;
    if (chain < 0) {
      flags.StartsRepeat = pieceFlags.StartsRepeat;
    } else {
      Tail(chain, latest);
    }
    chain = latest;
  }
  if (chain < 0) EmitNode(OpNothing);
  return ret;
}

// An atom and its quantifier, if any.
int TRegex::ParseQuantifier(TPieceFlags& flags) {
  TPieceFlags atomFlags;
  const int atom = ParseAtom(atomFlags);
  if (AtEnd() || !IsQuantifierChar(Cur())) {
    flags = atomFlags;
    return atom;
  }
  const unsigned char op = Cur();
  if (op != '?' && !atomFlags.Width) Fail(reOperandCouldBeEmpty);
  std::int32_t min = 0;
  std::int32_t max = 0;
  if (op == '{') {
    if (!ReadBraces(min, max)) {  // not a brace: read again as literal text
      flags = atomFlags;
      return atom;
    }
  } else {
    ++FParse;
    min = op == '+' ? 1 : 0;
    max = op == '?' ? 1 : RegexInfinity;
  }
  bool lazy = false;
  if (!AtEnd() && Cur() == '?') {
    lazy = true;
    ++FParse;
  }
  if (!FWorkModifiers.G) lazy = true;

  // Counted loop over a complex atom: OpLoopEntry, the atom, OpLoop.
  auto emitLoop = [&](std::int32_t loopMin, std::int32_t loopMax, std::uint8_t loopOp) {
    InsertNode(OpLoopEntry, atom, 0);
    const int body = atom + NodeHeaderSize;
    const int loop = EmitNode(loopOp);
    EmitInt(loopMin);
    EmitInt(loopMax);
    EmitInt(body - loop);
    Tail(body, loop);
    Tail(atom, loop);
  };
  auto insertRange = [&](std::uint8_t rangeOp, std::int32_t rangeMin, std::int32_t rangeMax) {
    InsertNode(rangeOp, atom, RangeOperandSize);
    WriteInt32(&FCode[static_cast<std::size_t>(atom) + NodeHeaderSize], rangeMin);
    WriteInt32(&FCode[static_cast<std::size_t>(atom) + NodeHeaderSize + 4], rangeMax);
  };

  const bool simple = atomFlags.Simple;
  if (op == '*') {
    if (simple) {
      InsertNode(lazy ? OpStarLazy : OpStar, atom, 0);
    } else if (lazy) {
      emitLoop(0, RegexBraceInfinity, OpLoopLazy);
    } else {
      // (atom OpBack-to-this-branch | OpNothing)
      InsertNode(OpBranch, atom, 0);
      const int back = EmitNode(OpBack);
      OperandTail(atom, back);
      OperandTail(atom, atom);
      Tail(atom, EmitNode(OpBranch));
      Tail(atom, EmitNode(OpNothing));
    }
  } else if (op == '+') {
    if (simple) {
      InsertNode(lazy ? OpPlusLazy : OpPlus, atom, 0);
    } else if (lazy) {
      emitLoop(1, RegexBraceInfinity, OpLoopLazy);
    } else {
      // atom (OpBack-to-the-atom | OpNothing)
      const int branch = EmitNode(OpBranch);
      Tail(atom, branch);
      const int back = EmitNode(OpBack);
      Tail(back, atom);
      Tail(branch, EmitNode(OpBranch));
      Tail(atom, EmitNode(OpNothing));
    }
  } else if (op == '?') {
    if (!lazy) {
      // (atom | OpNothing)
      InsertNode(OpBranch, atom, 0);
      Tail(atom, EmitNode(OpBranch));
      const int nothing = EmitNode(OpNothing);
      Tail(atom, nothing);
      OperandTail(atom, nothing);
    } else if (simple) {
      insertRange(OpRangeLazy, 0, 1);
    } else {
      emitLoop(0, 1, OpLoopLazy);
    }
  } else if (simple) {
    insertRange(lazy ? OpRangeLazy : OpRange, min, max);
  } else {
    emitLoop(min, max, lazy ? OpLoopLazy : OpLoop);
  }

  flags = TPieceFlags{};
  // A piece with a brace of minimum 0 can match empty, like "?" and "*".
  flags.Width = op == '+' || (op == '{' && min > 0);
  flags.StartsRepeat = op != '?' && (op != '{' || max > 0);
  if (!AtEnd() && IsQuantifierChar(Cur())) Fail(reNestedQuantifier);
  return atom;
}

// "{n}", "{n,}" or "{n,m}" at the parse point. Anything else is no brace and
// leaves the parse point where it is.
bool TRegex::ReadBraces(std::int32_t& min, std::int32_t& max) {
  std::size_t p = FParse + 1;
  const std::size_t minStart = p;
  while (p < FExpressionLength && IsDigit(At(p))) ++p;
  const std::size_t minEnd = p;
  if (minEnd == minStart) return false;
  std::size_t maxStart = 0;
  std::size_t maxEnd = 0;
  bool single = false;
  bool open = false;
  if (At(p) == '}' && p < FExpressionLength) {
    single = true;
  } else if (At(p) == ',' && p < FExpressionLength) {
    ++p;
    if (p < FExpressionLength && At(p) == '}') {
      open = true;
    } else {
      maxStart = p;
      while (p < FExpressionLength && IsDigit(At(p))) ++p;
      maxEnd = p;
      if (maxEnd == maxStart || p >= FExpressionLength || At(p) != '}') return false;
    }
  } else {
    return false;
  }
  auto number = [this](std::size_t from, std::size_t to) {
    if (to - from > 8) {
      FParse = from;
      Fail(reBracesArgTooBig);
    }
    std::int32_t v = 0;
    for (std::size_t i = from; i < to; ++i) v = v * 10 + (At(i) - '0');
    return v;
  };
  min = number(minStart, minEnd);
  max = single ? min : open ? RegexBraceInfinity : number(maxStart, maxEnd);
  if (min > max) {
    FParse = p;
    Fail(reBraceMinAboveMax);
  }
  FParse = p + 1;
  return true;
}

int TRegex::ParseAtom(TPieceFlags& flags) {
  flags = TPieceFlags{};
  if (AtEnd()) Fail(reInternalUrp);
  const bool lineSeparators = !FLineSeparatorChars.empty() || FPairSet;
  const unsigned char c = Cur();
  switch (c) {
    case '^':
      ++FParse;
      return EmitNode(FWorkModifiers.M && lineSeparators ? OpLineStartMulti : OpLineStart);
    case '$':
      ++FParse;
      return EmitNode(FWorkModifiers.M && lineSeparators ? OpLineEndMulti : OpLineEnd);
    case '.':
      ++FParse;
      flags.Width = true;
      flags.Simple = FWorkModifiers.S;
      return EmitNode(FWorkModifiers.S ? OpAnyChar : OpAnyCharNoLineSep);
    case '[':
      flags.Width = true;
      flags.Simple = true;
      return ParseSet();
    case '(': {
      if (FParse + 1 < FExpressionLength && At(FParse + 1) == '?') return ParseModifierGroup();
      if (FGroupCount >= RegexSubExpressions - 1) Fail(reTooManyGroups);
      ++FParse;
      TPieceFlags groupFlags;
      int ret = ParseReg(true, groupFlags);
      flags.Width = groupFlags.Width;
      flags.StartsRepeat = groupFlags.StartsRepeat;
      return ret;
    }
    case '|':
    case ')':
      Fail(reInternalUrp);
    case '*':
    case '+':
    case '?':
      Fail(reQuantifierFollowsNothing);
    case '\\': {
      ++FParse;
      if (AtEnd()) Fail(reTrailingEscape);
      const unsigned char e = Cur();
      switch (e) {
        case 'A': ++FParse; return EmitNode(OpLineStart);
        case 'Z': ++FParse; return EmitNode(OpLineEnd);
        case 'b': ++FParse; return EmitNode(OpWordBoundary);
        case 'B': ++FParse; return EmitNode(OpNotWordBoundary);
        case 'd':
        case 'D':
          ++FParse;
          flags.Width = flags.Simple = true;
          return EmitNode(e == 'd' ? OpDigit : OpNotDigit);
        case 'w':
        case 'W':
        case 's':
        case 'S': {
          ++FParse;
          const std::string& chars = (e == 'w' || e == 'W') ? FWordCharacters : FSpaceCharacters;
          if (chars.empty()) {
            throw classlib::Exception("TRegex.ParseAtom(subroutine EmitRangeC): empty range");
          }
          std::array<bool, 256> members{};
          for (char ch : chars) members[static_cast<unsigned char>(ch)] = true;
          flags.Width = flags.Simple = true;
          return EmitCharSet(members, e == 'W' || e == 'S');
        }
        default:
          if (e >= '1' && e <= '9') {
            ++FParse;
            flags.Width = flags.Simple = true;
            int node = EmitNode(FWorkModifiers.I ? OpBackRefNoCase : OpBackRef);
            EmitByte(static_cast<std::uint8_t>(e - '0'));
            return node;
          }
          const unsigned char ch = ParseCharEscape();
          flags.Width = flags.Simple = true;
          int node = EmitNode(FWorkModifiers.I ? OpLiteralNoCase : OpLiteral);
          EmitInt(1);
          EmitByte(ch);
          return node;
      }
    }
    default:
      if (FWorkModifiers.X && IsBlank(c)) {
        while (!AtEnd() && IsBlank(Cur())) ++FParse;
        return EmitNode(OpComment);
      }
      if (FWorkModifiers.X && c == '#') {
        while (!AtEnd() && Cur() != '\r' && Cur() != '\n') ++FParse;
        while (!AtEnd() && (Cur() == '\r' || Cur() == '\n')) ++FParse;
        return EmitNode(OpComment);
      }
      return ParseLiteralRun(flags);
  }
}

// "(?#...)" or "(?" modifier letters ")": both compile to OpComment.
int TRegex::ParseModifierGroup() {
  if (FParse + 2 < FExpressionLength && At(FParse + 2) == '#') {
    std::size_t p = FParse + 3;
    while (p < FExpressionLength && At(p) != ')') ++p;
    if (p >= FExpressionLength) {
      FParse = p;
      Fail(reUnclosedComment);
    }
    FParse = p + 1;
    return EmitNode(OpComment);
  }
  FParse += 2;
  TModifiers m = FWorkModifiers;
  bool on = true;
  for (;;) {
    if (AtEnd()) Fail(reUnknownModifier);
    const unsigned char c = Cur();
    if (c == ')') {
      ++FParse;
      break;
    }
    switch (c) {
      case '-': on = false; break;
      case 'i': case 'I': m.I = on; break;
      case 'r': case 'R': m.R = on; break;
      case 's': case 'S': m.S = on; break;
      case 'g': case 'G': m.G = on; break;
      case 'm': case 'M': m.M = on; break;
      case 'x': case 'X': m.X = on; break;
      default: Fail(reUnknownModifier);
    }
    ++FParse;
  }
  FWorkModifiers = m;
  return EmitNode(OpComment);
}

// Literal text up to the next special character. A run of two or more followed
// by a quantifier leaves its last character to be the quantifier's atom.
int TRegex::ParseLiteralRun(TPieceFlags& flags) {
  const bool extended = FWorkModifiers.X;
  const std::size_t start = FParse;
  std::size_t p = start;
  if (At(p) == '{') ++p;
  while (p < FExpressionLength && !IsMeta(At(p)) && !(extended && At(p) == '#')) ++p;
  std::size_t length = p - start;
  if (length >= 2 && p < FExpressionLength && IsQuantifierChar(At(p))) --length;
  flags.Width = true;
  flags.Simple = length == 1;
  int node = EmitNode(FWorkModifiers.I ? OpLiteralNoCase : OpLiteral);
  const std::size_t lengthAt = FCode.size();
  EmitInt(0);
  for (std::size_t i = start; i < start + length; ++i) {
    const unsigned char ch = At(i);
    if (!(extended && IsBlank(ch))) EmitByte(ch);
  }
  WriteInt32(&FCode[lengthAt], static_cast<std::int32_t>(FCode.size() - lengthAt - LiteralLengthSize));
  FParse = start + length;
  return node;
}

// The character after a backslash (the parse point), as a literal.
unsigned char TRegex::ParseCharEscape() {
  const unsigned char c = Cur();
  ++FParse;
  switch (c) {
    case 't': return 9;
    case 'n': return 10;
    case 'r': return 13;
    case 'f': return 12;
    case 'a': return 7;
    case 'e': return 27;
    case 'x': {
      if (AtEnd()) Fail(reNoHexCode);
      if (Cur() == '{') {
        ++FParse;
        int value = 0;
        for (;;) {
          if (AtEnd()) Fail(reNoHexCode);
          if (Cur() == '}') {
            ++FParse;
            return static_cast<unsigned char>(value);
          }
          int digit = HexValue(Cur());
          if (digit < 0) Fail(reBadHexDigit);
          value = value * 16 + digit;
          if (value > 255) Fail(reHexCodeTooBig);
          ++FParse;
        }
      }
      int high = HexValue(Cur());
      if (high < 0) Fail(reBadHexDigit);
      ++FParse;
      if (AtEnd()) Fail(reNoHexCode);
      int low = HexValue(Cur());
      if (low < 0) Fail(reBadHexDigit);
      ++FParse;
      return static_cast<unsigned char>(high * 16 + low);
    }
    default:
      return c;
  }
}

// "[" ... "]" at the parse point.
int TRegex::ParseSet() {
  ++FParse;
  bool negated = false;
  if (!AtEnd() && Cur() == '^') {
    negated = true;
    ++FParse;
  }
  std::array<bool, 256> members{};
  const bool caseless = FWorkModifiers.I;
  auto add = [&](unsigned char ch) {
    members[ch] = true;
    if (caseless) members[InvertCase(ch)] = true;
  };
  auto addChars = [&](const std::string& chars) {
    for (char ch : chars) add(static_cast<unsigned char>(ch));
  };
  auto addRange = [&](unsigned char lo, unsigned char hi) {
    if (FWorkModifiers.R) {
      const bool small = lo == 0xE0 && (hi == 0xFF || hi == 0xDF);  // а-я or а-Я
      const bool capital = (lo == 0xC0 && hi == 0xDF) || (lo == 0xE0 && hi == 0xDF);
      if (small || capital) {
        if (small) {
          for (int ch = 0xE0; ch <= 0xFF; ++ch) add(static_cast<unsigned char>(ch));
          add(RussianSmallYo);
        }
        if (capital) {
          for (int ch = 0xC0; ch <= 0xDF; ++ch) add(static_cast<unsigned char>(ch));
          add(RussianCapitalYo);
        }
        return;
      }
    }
    if (hi < lo) Fail(reInvalidSetRange);
    for (int ch = lo; ch <= hi; ++ch) add(static_cast<unsigned char>(ch));
  };

  for (bool first = true;; first = false) {
    if (AtEnd()) Fail(reUnmatchedSet);
    const unsigned char c = Cur();
    if (c == ']' && !first) {
      ++FParse;
      break;
    }
    unsigned char single;
    if (c == '\\') {
      ++FParse;
      if (AtEnd()) Fail(reSetTrailingEscape);
      const unsigned char e = Cur();
      if (e == 'd' || e == 's' || e == 'w') {
        ++FParse;
        if (e == 'd') {
          addChars("0123456789");
        } else {
          addChars(e == 's' ? FSpaceCharacters : FWordCharacters);
        }
        continue;
      }
      single = ParseCharEscape();
    } else {
      single = c;
      ++FParse;
    }
    const std::size_t dash = FParse;
    if (At(dash) == '-' && dash + 1 < FExpressionLength && At(dash + 1) != ']') {
      unsigned char last;
      if (At(dash + 1) == '\\') {
        if (dash + 2 >= FExpressionLength) {
          FParse = dash + 2;
          Fail(reSetTrailingEscape);
        }
        const unsigned char e = At(dash + 2);
        if (std::strchr("dswDSW", e) != nullptr) {
          // Not a range: the dash is a member and the escape the next one.
          add(single);
          add('-');
          FParse = dash + 1;
          continue;
        }
        FParse = dash + 2;
        last = ParseCharEscape();
      } else {
        last = At(dash + 1);
        FParse = dash + 2;
      }
      addRange(single, last);
      continue;
    }
    add(single);
  }
  return EmitCharSet(members, negated);
}

// Up to three characters give a small set node, more the 256-bit set.
int TRegex::EmitCharSet(const std::array<bool, 256>& members, bool negated) {
  unsigned char chars[3] = {0, 0, 0};
  int count = 0;
  for (int ch = 0; ch < 256; ++ch) {
    if (!members[ch]) continue;
    if (count < 3) chars[count] = static_cast<unsigned char>(ch);
    ++count;
  }
  if (count >= 1 && count <= 3) {
    int node = EmitNode(negated ? OpAnyButSmall : OpAnyOfSmall);
    for (int i = 0; i < 3; ++i) EmitByte(chars[i < count ? i : count - 1]);
    return node;
  }
  // An empty set (\s inside brackets with no space characters) matches nothing.
  int node = EmitNode(OpAnyOfSet);
  for (int k = 0; k < 32; ++k) {
    std::uint8_t byte = 0;
    for (int b = 0; b < 8; ++b) {
      if (members[k * 8 + b] != negated) byte |= static_cast<std::uint8_t>(1u << b);
    }
    EmitByte(byte);
  }
  return node;
}

}  // namespace regex

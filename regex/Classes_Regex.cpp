// TRegex as an object: defaults, properties, the search driver, sub-expression
// texts and error raising.
// Tested by: regex/tests/RegexMatchTest.cpp, RegexErrorTest.cpp, RegexDeepTest.cpp.
#include "regex/Classes_Regex.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "regex/RegexCase1251.h"
#include "regex/RegexProgram.h"

namespace regex {

TRegex::TRegex()
    : FSpaceCharacters(" \t\n\r\f"),
      FWordCharacters("0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_"),
      FLineSeparatorChars("\r\n"),
      FMaxFrames(RegexBacktrackLimitBytes / sizeof(TFrame)) {
  FStartP.fill(-1);
  FEndP.fill(-1);
  FOpenP.fill(-1);
}

TRegex::~TRegex() = default;

void TRegex::DropProgram() {
  FProgram.clear();
  FLoopIndex.clear();
  FLoopIsPlus.clear();
  FRequiredLiterals.clear();
  FLeadRepeat = -1;
  FStartPoint = -1;
  FCountedLoops.clear();
  FNodeLoop.clear();
  FMemoRow.clear();
  FRepeatFollow.clear();
  FBranchFirst.clear();
  FCharSets.clear();
  FRunSteps.clear();
  FRunGroups.clear();
  FRunTables.clear();
  FRunPivot = -1;
  ForgetLiteralStarts();
}

void TRegex::SetExpression(std::string_view expression) {
  FExpression.assign(expression);
  FExpressionLength = std::strlen(FExpression.c_str());
  DropProgram();
}

bool TRegex::Modifier(std::int32_t index) {
  switch (index) {
    case rmI: return FModifiers.I;
    case rmR: return FModifiers.R;
    case rmS: return FModifiers.S;
    case rmG: return FModifiers.G;
    case rmM: return FModifiers.M;
    case rmX: return FModifiers.X;
    default: Fail(reModifierIndex);
  }
}

// The program is kept: CheckProgram drops it before the next match when the
// modifiers differ from those it was compiled with.
void TRegex::SetModifier(std::int32_t index, bool value) {
  switch (index) {
    case rmI: FModifiers.I = value; break;
    case rmR: FModifiers.R = value; break;
    case rmS: FModifiers.S = value; break;
    case rmG: FModifiers.G = value; break;
    case rmM: FModifiers.M = value; break;
    case rmX: FModifiers.X = value; break;
    default: Fail(reModifierIndex);
  }
}

std::string TRegex::LinePairedSeparator() const {
  if (!FPairSet) return std::string();
  return std::string{static_cast<char>(FPair1), static_cast<char>(FPair2)};
}

void TRegex::SetLinePairedSeparator(std::string_view pair) {
  if (pair.size() == 2 && pair[0] != pair[1]) {
    auto p1 = static_cast<unsigned char>(pair[0]);
    auto p2 = static_cast<unsigned char>(pair[1]);
    if (!FPairSet || p1 != FPair1 || p2 != FPair2) {
      FPairSet = true;
      FPair1 = p1;
      FPair2 = p2;
      DropProgram();
    }
  } else if (pair.empty()) {
    if (FPairSet) {
      FPairSet = false;
      DropProgram();
    }
  } else {
    Fail(reBadPairedSeparator);
  }
}

void TRegex::SetSpaceCharacters(std::string_view chars) {
  FSpaceCharacters.assign(chars);
  DropProgram();
}

void TRegex::SetWordCharacters(std::string_view chars) {
  FWordCharacters.assign(chars);
  FCharSetsValid = false;
  DropProgram();
}

void TRegex::SetLineSeparatorChars(std::string_view chars) {
  FLineSeparatorChars.assign(chars);
  FCharSetsValid = false;
  DropProgram();
}

unsigned char TRegex::InvertCase(unsigned char c) {
  unsigned char upper = UpperCase1251(c);
  return upper != c ? upper : LowerCase1251(c);
}

void TRegex::Error(std::int32_t code) {
  FLastError = code;
  std::int32_t position = FCompiling ? static_cast<std::int32_t>(FParse) : 0;
  std::string message = ErrorMsg(code);
  if (code < 1000) message += " (pos " + std::to_string(position) + ")";
  throw ERegex(std::move(message), code, position);
}

void TRegex::Fail(std::int32_t code) {
  Error(code);
  // An override of Error returned: the operation cannot go on regardless.
  std::int32_t position = FCompiling ? static_cast<std::int32_t>(FParse) : 0;
  throw ERegex(ErrorMsg(code), code, position);
}

void TRegex::CheckProgram() {
  if (!FProgram.empty() && !(FProgramModifiers == FModifiers)) DropProgram();
  // The character sets change only through their setters, which clear the
  // flag; rebuilding them for every search would cost more than short inputs.
  if (!FCharSetsValid) {
    FLineSeparators.fill(false);
    for (char c : FLineSeparatorChars) FLineSeparators[static_cast<unsigned char>(c)] = true;
    FWordSet.fill(false);
    for (char c : FWordCharacters) FWordSet[static_cast<unsigned char>(c)] = true;
    FCharSetsValid = true;
  }
  if (FProgram.empty()) {
    if (FExpressionLength == 0) Fail(reNoExpression);
    CompileExpression();
  }
  if (FProgram[0] != RegexProgramMark) Fail(reCorruptedProgram);
}

void TRegex::SetInput(std::string_view input) {
  std::size_t length = std::min(input.size(), input.find('\0'));
  // Positions are 32-bit, and one past the end must be representable.
  if (length > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() - 2)) {
    Fail(reInputTooLong);
  }
  FInput.assign(input.substr(0, length));
  FInputEnd = static_cast<std::int32_t>(length);
  FHasInput = true;
  ForgetLiteralStarts();
}

bool TRegex::Exec(std::string_view input) {
  SetInput(input);
  return ExecFrom(1);
}

bool TRegex::ExecFrom(std::int32_t offset) {
  FStartP.fill(-1);
  FEndP.fill(-1);
  CheckProgram();
  FSteps = 0;
  if (!FHasInput) Fail(reNoInputString);
  if (offset < 1) Fail(reOffsetBelowOne);
  if (offset > FInputEnd + 1) return false;
  const std::int32_t from = offset - 1;
  // A text too short for a match is not searched, nor one without the
  // literals every match holds: before its first step, since a search that
  // cannot succeed may otherwise try every way of sharing out the text
  // between counted loops until its budget runs out.
  if (FInputEnd - from < FMinLength) return false;
  if (!HoldsRequiredLiterals(from)) return false;
  FLoopDepth = 0;
  BeginSearch(from);
  const bool found = Search(from);
  EndSearch();
  return found;
}

namespace {

// Whether the rest of a literal's text follows its first character at `at`
// (mostly none or a few characters to compare).
bool RestStandsAt(const unsigned char* input, std::int64_t at, const std::uint8_t* text, std::int64_t length) {
  std::int64_t k = 1;
  while (k < length && input[at + k] == text[k]) ++k;
  return k == length;
}

// The first place from `at` on where a literal node's text stands whole in
// the input, -1 when none: by its first character, then the rest.
std::int64_t FindLiteral(const unsigned char* input, std::int64_t inputEnd, const std::uint8_t* node,
                         std::int64_t at) {
  const std::uint8_t* text = LiteralText(node);
  const std::int64_t length = LiteralLength(node);
  const std::int64_t last = inputEnd - length;  // the last place it fits
  for (; at <= last; ++at) {
    const void* hit = std::memchr(input + at, text[0], static_cast<std::size_t>(last - at + 1));
    if (hit == nullptr) return -1;
    at = static_cast<const unsigned char*>(hit) - input;
    if (RestStandsAt(input, at, text, length)) return at;
  }
  return -1;
}

// The last place up to `at` where a literal node's text stands whole, -1
// when none.
std::int64_t FindLiteralBack(const unsigned char* input, const std::uint8_t* node, std::int64_t at) {
  const std::uint8_t* text = LiteralText(node);
  const std::int64_t length = LiteralLength(node);
  for (; at >= 0; --at) {
    const void* hit = ::memrchr(input, text[0], static_cast<std::size_t>(at + 1));
    if (hit == nullptr) return -1;
    at = static_cast<const unsigned char*>(hit) - input;
    if (RestStandsAt(input, at, text, length)) return at;
  }
  return -1;
}

}  // namespace

// Whether the input from a position on holds the literals every match
// holds, in their order and as far apart as they must be (the required
// substring is one of them), where that is not known yet. The starts that do
// are those up to one last start, so what is known of it is kept for the
// input: finding every match of a long text in turn then looks through the
// text at most twice in all, not once per match.
bool TRegex::LookForRequiredLiterals(std::int32_t from) {
  if (from >= FLiteralsLackFrom) return false;
  const unsigned char* input = reinterpret_cast<const unsigned char*>(FInput.data());
  const std::uint8_t* program = FProgram.data();
  const TRequiredLiteral* first = FRequiredLiterals.data();
  const TRequiredLiteral* end = first + FRequiredLiterals.size();
  if (FLiteralsLookedFor) {
    // Looked for before from elsewhere: the last start that holds them, from
    // the last places they can stand, the input's end back.
    std::int64_t at = FInputEnd;  // where the literal looked for ends at the latest
    for (const TRequiredLiteral* required = end; required != first;) {
      --required;
      at = FindLiteralBack(input, program + required->Node, at - LiteralLength(program + required->Node));
      if (at < 0) break;
      at -= required->Gap;
    }
    FLiteralsHeldTo = at < 0 ? -1 : static_cast<std::int32_t>(at);
    FLiteralsLackFrom = FLiteralsHeldTo + 1;
    return from <= FLiteralsHeldTo;
  }
  // The first search of an input looks ahead from where it starts, which
  // costs no more than the text up to a match found early.
  FLiteralsLookedFor = true;
  std::int64_t after = from;  // where the one before ended (the start, for the first)
  for (const TRequiredLiteral* required = first; required != end; ++required) {
    const std::int64_t at = FindLiteral(input, FInputEnd, program + required->Node, after + required->Gap);
    if (at < 0) {
      FLiteralsLackFrom = from;
      return false;
    }
    after = at + LiteralLength(program + required->Node);
  }
  FLiteralsHeldTo = from;
  return true;
}

// Tries the start positions from `from` on, the first that succeeds wins.
// Once a start has failed, the starts after it are given up as soon as the
// literals are known to lie before them.
bool TRegex::Search(std::int32_t from) {
  // The last start that leaves room for the shortest match.
  const std::int32_t last = FAnchored ? from : FInputEnd - FMinLength;
  if (FOnePassAllowed && !FRunSteps.empty()) {
    if (OnePassSearch(from, last)) return true;
    if (from > last) return false;
  }
  if (FAnchored) return MatchAt(from);
  const char* input = FInput.data();
  if (FFirstChar >= 0) {
    const char* p = input + from;
    const char* end = input + std::min(last + 1, FInputEnd);
    while (p < end) {
      p = static_cast<const char*>(std::memchr(p, FFirstChar, static_cast<std::size_t>(end - p)));
      if (p == nullptr) return false;
      if (MatchAt(static_cast<std::int32_t>(p - input))) return true;
      ++p;
      if (!LiteralsStillAhead(static_cast<std::int32_t>(p - input))) return false;
    }
    return false;
  }
  for (std::int32_t p = from; p <= last; ++p) {
    if (FMemoOn && FStartPoint >= 0 && FMemoRow[static_cast<std::size_t>(FStartPoint)] >= 0) {
      // Starts whose first memo state has failed fail again. (Starting,
      // every counted loop on the way has count 0: the point's first row.)
      p = MemoNextClear(FMemoRow[static_cast<std::size_t>(FStartPoint)], p, last);
      if (p > last) break;
    }
    unsigned char c = p < FInputEnd ? static_cast<unsigned char>(input[p]) : 0;
    if (!FFirstCharSet[c]) continue;
    if (MatchAt(p)) return true;
    if (!LiteralsStillAhead(p + 1)) return false;
    if (FLeadRepeat >= 0) p = LeadRunEnd(p);
  }
  return false;
}

// After a failed start: the last start of the lead repeat's run that is sure
// to fail too. Each start later in the run can only end its repeat where the
// failed one already tried (when no maximum cut the run short), and nothing
// before the repeat tells the starts apart.
std::int32_t TRegex::LeadRunEnd(std::int32_t failed) {
  const TRepeatShape repeat = RepeatShape(FProgram.data(), FLeadRepeat);
  const std::int32_t run = RegRepeat(repeat.Operand, failed, repeat.Max);
  if (run >= repeat.Max || run == 0) return failed;
  // Where the run ends, a loop before the repeat may start an iteration.
  return FLeadAfterLoops ? failed + run - 1 : failed + run;
}

std::string TRegex::Match(std::int32_t n) const {
  if (n < 0 || n >= RegexSubExpressions || !FHasInput) return std::string();
  std::int32_t start = FStartP[n];
  std::int32_t end = FEndP[n];
  if (start < 0 || end < start) return std::string();
  return FInput.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

bool ExecRegex(std::string_view expression, std::string_view input) {
  TRegex r;
  r.SetExpression(expression);
  return r.Exec(input);
}

}  // namespace regex

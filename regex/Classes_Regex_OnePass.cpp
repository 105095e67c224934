// Programs that never have to choose, run in one pass from each start.
//
// Many expressions are a plain sequence: literals, single characters,
// anchors, groups, and repeats of one character class whose next character
// can never be one of the class (`[0-9.]+\*`, `\s*?=`). Such a repeat can
// only end where the run of its class ends: a count short of that leaves a
// character of the class next, which nothing after the repeat can start
// with. So every match from a start position follows one path, whatever the
// repeat's greed, and the backtracker's choices would all be undone again.
// The program is then compiled a second time into run steps, which read the
// input once per start and keep no stack. A repeat at the very end, where
// anything may follow, takes its first count (lazy) or its last (greedy),
// since the rest cannot fail. A counted loop whose body is one character
// (`(\+|\-)*?`, a group of one-character alternatives) is such a repeat too;
// its group keeps the last character.
//
// With one path per start, a failed start also rules out later ones. If the
// match begins with runs R1 .. Rk, nothing before them testing the start,
// each but the last of minimum 0, their classes pairwise apart and none of
// them bounded above, then a start q inside a run Ri that the failed start p
// read (Ri from x(i-1) to x(i)) passes R1 .. R(i-1) with nothing taken,
// takes Ri on to x(i) as p did, and from there on repeats p's failure. So
// the search goes on at the end of the last such run p read.
//
// A program whose starts reread the same text (`x[a-z]*y` on "xxxx...")
// would be quadratic here: after a number of steps proportional to the
// input the search goes on by backtracking, where the memo of failed states
// bounds it. The answers are those of the backtracker in every case.
// Tested by: regex/tests/RegexOnePassTest.cpp, RegexPerlTest.cpp, RegexSearchCostTest.cpp.
#include <algorithm>

#include "regex/Classes_Regex.h"
#include "regex/RegexProgram.h"

namespace regex {
namespace {

enum TRunKind : std::uint8_t {
  rkLiteral,          // the literal of node Arg
  rkChar,             // one character of class Arg
  rkRun,              // the whole run of class Arg, Min .. Max long
  rkRunFirst,         // Min characters of class Arg (a lazy repeat before the end)
  rkRunLast,          // as many characters of class Arg as there are, up to Max (a greedy one)
  rkOpen,             // group Group opens
  rkClose,            // group Group closes
  rkLineStart,        // the start of the input
  rkLineEnd,          // the end of the input
  rkWordBoundary,     // between a word character and another
  rkNotWordBoundary,  // not so
  rkEnd,              // the match
};

// Single-character nodes that a run can repeat.
bool IsCharNode(const std::uint8_t* n) {
  switch (n[0]) {
    case OpLiteral:
    case OpLiteralNoCase:
      return LiteralLength(n) == 1;
    case OpAnyChar:
    case OpDigit:
    case OpNotDigit:
    case OpAnyOfSmall:
    case OpAnyButSmall:
    case OpAnyOfSet:
      return true;
    default:
      return false;
  }
}

bool Apart(const std::array<bool, 256>& a, const std::array<bool, 256>& b) {
  for (int c = 1; c < 256; ++c) {
    if (a[static_cast<std::size_t>(c)] && b[static_cast<std::size_t>(c)]) return false;
  }
  return true;
}

}  // namespace

// Whether every way from a node takes exactly one character (one single-
// character node, or a choice between such) and then reaches join; adds the
// characters to the set.
bool TRegex::OneCharTo(int node, int join, std::array<bool, 256>& set, int depth) {
  const std::vector<std::uint8_t>& p = FProgram;
  if (node < 0 || depth > 4) return false;
  const std::uint8_t* n = &p[static_cast<std::size_t>(node)];
  if (n[0] == OpBranch) {
    int b = node;
    for (; b >= 0 && p[static_cast<std::size_t>(b)] == OpBranch; b = NextNode(p, b)) {
      if (!OneCharTo(b + NodeHeaderSize, join, set, depth + 1)) return false;
    }
    return b == join;
  }
  if (!IsCharNode(n) || NextNode(p, node) != join) return false;
  CharsAt(node, set, true, 0);
  return true;
}

// Whether what runs from a node always succeeds: nothing but group marks
// before the end of the program.
bool TRegex::EndsTrivially(int node) const {
  const std::vector<std::uint8_t>& p = FProgram;
  for (std::size_t hops = 0; node >= 0 && hops < p.size(); ++hops) {
    const std::uint8_t op = p[static_cast<std::size_t>(node)];
    if (op == OpEnd) return true;
    if (op == OpBranch) {
      const int next = NextNode(p, node);
      if (next >= 0 && p[static_cast<std::size_t>(next)] == OpBranch) return false;
      node += NodeHeaderSize;
    } else if (IsOpenCode(op) || IsCloseCode(op) || op == OpComment || op == OpNothing) {
      node = NextNode(p, node);
    } else {
      return false;
    }
  }
  return false;
}

// Compiles the program into run steps when it never has to choose; leaves
// FRunSteps empty otherwise.
void TRegex::AnalyseOnePass() {
  FRunSteps.clear();
  FRunTables.clear();
  const std::vector<std::uint8_t>& p = FProgram;
  const int top = NextNode(p, 1);
  if (top < 0 || p[static_cast<std::size_t>(top)] != OpEnd) return;  // several alternatives

  std::vector<TRunStep> steps;
  std::vector<std::array<bool, 256>> tables;
  std::array<bool, 256> leadChars{};  // the classes of the lead runs so far
  bool leading = true;                // whether a run here may still be a lead run
  auto table = [&tables](std::array<bool, 256> set) {
    set[0] = false;  // the end of the input, never a character
    tables.push_back(set);
    return static_cast<std::int32_t>(tables.size() - 1);
  };
  auto single = [&](std::uint8_t kind, std::int32_t arg) {
    steps.push_back({kind, false, 0, 0, 0, arg});
    leading = false;
  };
  // How a run of a class followed by what starts at `after` (which can start
  // with the characters of the set `follow`) takes its count; -1 when the
  // count is not certain.
  auto runKind = [&](const std::array<bool, 256>& set, std::int32_t follow, int after, bool lazy) -> int {
    if (follow >= 0 && Apart(set, FCharSets[static_cast<std::size_t>(follow)])) return rkRun;
    if (EndsTrivially(after)) return lazy ? rkRunFirst : rkRunLast;
    return -1;
  };
  auto run = [&](const std::array<bool, 256>& set, int kind, std::int32_t min, std::int32_t max,
                 std::int32_t group) {
    TRunStep s{static_cast<std::uint8_t>(kind), false, min, max, group, table(set)};
    if (leading && kind == rkRun && max >= RegexBraceInfinity && Apart(set, leadChars)) {
      s.Lead = true;
      for (int c = 1; c < 256; ++c) leadChars[static_cast<std::size_t>(c)] |= set[static_cast<std::size_t>(c)];
    }
    leading = s.Lead && min == 0;
    steps.push_back(s);
  };

  int node = 1 + NodeHeaderSize;
  for (std::size_t hops = 0; node >= 0 && hops < p.size(); ++hops) {
    const std::uint8_t* n = &p[static_cast<std::size_t>(node)];
    const std::uint8_t op = n[0];
    int next = NextNode(p, node);
    if (IsOpenCode(op) || IsCloseCode(op)) {
      const bool open = IsOpenCode(op);
      steps.push_back({open ? std::uint8_t{rkOpen} : std::uint8_t{rkClose}, false, 0, 0,
                       open ? op - OpOpen : op - OpClose, 0});
      node = next;
      continue;
    }
    switch (op) {
      case OpEnd:
        steps.push_back({rkEnd, false, 0, 0, 0, 0});
        FRunSteps = std::move(steps);
        FRunTables = std::move(tables);
        return;
      case OpComment:
      case OpNothing:
        break;
      case OpBranch:
        if (next >= 0 && p[static_cast<std::size_t>(next)] == OpBranch) return;
        next = node + NodeHeaderSize;  // a single alternative is a plain sequence
        break;
      case OpLiteral:
        single(rkLiteral, node);
        break;
      case OpLiteralNoCase:
        for (std::int32_t k = 0; k < LiteralLength(n); ++k) {
          std::array<bool, 256> set{};
          const unsigned char c = LiteralText(n)[k];
          set[c] = true;
          set[InvertCase(c)] = true;
          single(rkChar, table(set));
        }
        break;
      case OpAnyChar:
      case OpDigit:
      case OpNotDigit:
      case OpAnyOfSmall:
      case OpAnyButSmall:
      case OpAnyOfSet: {
        std::array<bool, 256> set{};
        CharsAt(node, set, true, 0);
        single(rkChar, table(set));
        break;
      }
      case OpLineStart:
        single(rkLineStart, 0);
        break;
      case OpLineEnd:
        single(rkLineEnd, 0);
        break;
      case OpWordBoundary:
        single(rkWordBoundary, 0);
        break;
      case OpNotWordBoundary:
        single(rkNotWordBoundary, 0);
        break;
      case OpStar:
      case OpPlus:
      case OpRange:
      case OpStarLazy:
      case OpPlusLazy:
      case OpRangeLazy: {
        const TRepeatShape shape = RepeatShape(p.data(), node);
        if (!IsCharNode(&p[static_cast<std::size_t>(shape.Operand)])) return;
        std::array<bool, 256> set{};
        CharsAt(shape.Operand, set, true, 0);
        const bool lazy = op == OpStarLazy || op == OpPlusLazy || op == OpRangeLazy;
        const int kind = runKind(set, FRepeatFollow[static_cast<std::size_t>(node)], next, lazy);
        if (kind < 0) return;
        run(set, kind, shape.Min, shape.Max, 0);
        break;
      }
      case OpLoopEntry: {
        const int loop = next;
        if (loop < 0 || (p[static_cast<std::size_t>(loop)] != OpLoop && p[static_cast<std::size_t>(loop)] != OpLoopLazy)) {
          return;
        }
        const int body = node + NodeHeaderSize;
        std::int32_t group = 0;
        std::array<bool, 256> set{};
        if (IsOpenCode(p[static_cast<std::size_t>(body)])) {
          // The group is the whole body: its close is the last node before the loop's.
          group = p[static_cast<std::size_t>(body)] - OpOpen;
          const int close = loop - NodeHeaderSize;
          if (close <= body || p[static_cast<std::size_t>(close)] != OpClose + group || NextNode(p, close) != loop ||
              !OneCharTo(NextNode(p, body), close, set, 0)) {
            return;
          }
        } else if (!OneCharTo(body, loop, set, 0)) {
          return;
        }
        const std::uint8_t* l = &p[static_cast<std::size_t>(loop)];
        const TCountedLoop& info =
            FCountedLoops[static_cast<std::size_t>(FNodeLoop[static_cast<std::size_t>(loop)])];
        next = NextNode(p, loop);
        const int kind = runKind(set, info.ExitFirst, next, l[0] == OpLoopLazy);
        if (kind < 0) return;
        run(set, kind, ReadInt32(l + NodeHeaderSize), ReadInt32(l + NodeHeaderSize + 4), group);
        break;
      }
      default:
        return;  // choices, loops of other bodies, back-references, multi-line anchors
    }
    node = next;
  }
}

// Runs the steps from a start. After a failure, `resume` is the next start
// that may succeed.
bool TRegex::OnePassAt(std::int32_t start, std::int32_t& resume) {
  const unsigned char* in = reinterpret_cast<const unsigned char*>(FInput.data());
  const std::int32_t end = FInputEnd;
  const std::uint8_t* prog = FProgram.data();
  const std::array<bool, 256>* tables = FRunTables.data();
  std::int32_t pos = start;
  std::int32_t reach = start;  // the furthest character a run read
  resume = start + 1;
  // The classes hold no byte 0, so a run stops at the input's terminating zero.
  for (const TRunStep& s : FRunSteps) {
    switch (s.Kind) {
      case rkLiteral: {
        const std::uint8_t* node = prog + s.Arg;
        const std::int32_t length = LiteralLength(node);
        const std::uint8_t* text = LiteralText(node);
        if (end - pos < length) goto fail;
        for (std::int32_t k = 0; k < length; ++k) {
          if (in[pos + k] != text[k]) goto fail;
        }
        pos += length;
        break;
      }
      case rkChar:
        if (!tables[s.Arg][in[pos]]) goto fail;
        ++pos;
        break;
      case rkRun: {
        const bool* t = tables[s.Arg].data();
        std::int32_t to = pos;
        while (t[in[to]]) ++to;
        reach = to;
        if (s.Lead) resume = std::max(resume, to);
        const std::int32_t count = to - pos;
        if (count < s.Min || count > s.Max) goto fail;
        if (s.Group > 0 && count > 0) {
          FStartP[static_cast<std::size_t>(s.Group)] = to - 1;
          FEndP[static_cast<std::size_t>(s.Group)] = to;
        }
        pos = to;
        break;
      }
      case rkRunFirst:
      case rkRunLast: {
        const bool* t = tables[s.Arg].data();
        const std::int32_t most = s.Kind == rkRunFirst ? s.Min : s.Max;
        std::int32_t count = 0;
        while (count < most && t[in[pos + count]]) ++count;
        if (count < s.Min) goto fail;
        if (s.Group > 0 && count > 0) {
          FStartP[static_cast<std::size_t>(s.Group)] = pos + count - 1;
          FEndP[static_cast<std::size_t>(s.Group)] = pos + count;
        }
        pos += count;
        break;
      }
      case rkOpen:
        FOpenP[static_cast<std::size_t>(s.Group)] = pos;
        break;
      case rkClose:
        FStartP[static_cast<std::size_t>(s.Group)] = FOpenP[static_cast<std::size_t>(s.Group)];
        FEndP[static_cast<std::size_t>(s.Group)] = pos;
        break;
      case rkLineStart:
        if (pos != 0) goto fail;
        break;
      case rkLineEnd:
        if (pos != end) goto fail;
        break;
      case rkWordBoundary:
      case rkNotWordBoundary: {
        const bool before = pos > 0 && FWordSet[in[pos - 1]];
        const bool here = pos < end && FWordSet[in[pos]];
        if ((before != here) != (s.Kind == rkWordBoundary)) goto fail;
        break;
      }
      case rkEnd:
        FSteps += std::max(pos, reach) - start + 1;
        FPos = pos;
        FStartP[0] = start;
        FEndP[0] = pos;
        return true;
    }
  }
fail:
  FSteps += std::max(pos, reach) - start + 1;
  FStartP.fill(-1);
  FEndP.fill(-1);
  return false;
}

}  // namespace regex

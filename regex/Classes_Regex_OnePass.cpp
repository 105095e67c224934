// Programs that never have to choose: the run steps of a one-pass search
// (run by Classes_Regex_OnePassSearch.cpp).
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
// The lead runs and the pivot, which let a search pass over starts that
// cannot succeed, are described where the search uses them.
// Tested by: regex/tests/RegexOnePassTest.cpp, RegexPerlTest.cpp, RegexSearchCostTest.cpp.
#include <algorithm>

#include "regex/Classes_Regex.h"
#include "regex/RegexProgram.h"

namespace regex {
namespace {


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
  FRunGroups.clear();
  FRunTables.clear();
  FRunPivot = -1;
  const std::vector<std::uint8_t>& p = FProgram;
  const int top = NextNode(p, 1);
  if (top < 0 || p[static_cast<std::size_t>(top)] != OpEnd) return;  // several alternatives

  std::vector<TRunStep> steps;
  std::vector<TRunGroup> groups;
  std::array<std::int32_t, RegexSubExpressions> opened{};  // group -> where it opens (a bound's code)
  std::vector<std::array<bool, 256>> tables;
  std::array<bool, 256> leadChars{};  // the classes of the lead runs so far
  bool leading = true;                // whether a run here may still be a lead run
  auto table = [&tables](std::array<bool, 256> set) {
    set[0] = false;  // the end of the input, never a character
    tables.push_back(set);
    return static_cast<std::int32_t>(tables.size() - 1);
  };
  auto here = [&steps] { return static_cast<std::int32_t>(steps.size() * 2); };
  auto single = [&](std::uint8_t kind, std::int32_t arg) {
    steps.push_back({kind, false, 0, 0, 0, arg});
    leading = false;
  };
  // A character right after a run is checked with it: one step fewer for
  // every start. A group bound between them moves one character back from
  // the next step's start.
  auto runThenByte = [&](unsigned char c) {
    if (steps.empty() || steps.back().Kind != rkRun) return false;
    const std::int32_t runStep = static_cast<std::int32_t>(steps.size()) - 1;
    for (const TRunGroup& g : groups) {
      if (g.Last && g.From == runStep) return false;  // its last character is the run's
    }
    for (TRunGroup& g : groups) {
      if (!g.Last && g.From == here()) g.From = here() + 1;
      if (!g.Last && g.To == here()) g.To = here() + 1;
    }
    for (std::int32_t& bound : opened) {
      if (bound == here()) bound = here() + 1;
    }
    steps.back().Kind = rkRunByte;
    steps.back().Byte = c;
    leading = false;
    return true;
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
    if (group > 0) groups.push_back({group, static_cast<std::int32_t>(steps.size()), 0, true});
    TRunStep s{static_cast<std::uint8_t>(kind), false, 0, min, max, table(set)};
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
    // A group spans from where one step starts to where another does.
    if (IsOpenCode(op)) {
      opened[static_cast<std::size_t>(op - OpOpen)] = here();
      node = next;
      continue;
    }
    if (IsCloseCode(op)) {
      const int group = op - OpClose;
      groups.push_back({group, opened[static_cast<std::size_t>(group)], here(), false});
      node = next;
      continue;
    }
    switch (op) {
      case OpEnd:
        steps.push_back({rkEnd, false, 0, 0, 0, 0});
        FRunAt.assign(steps.size(), 0);
        FRunSteps = std::move(steps);
        FRunGroups = std::move(groups);
        FRunTables = std::move(tables);
        FindRunPivot();
        return;
      case OpComment:
      case OpNothing:
        break;
      case OpBranch:
        if (next >= 0 && p[static_cast<std::size_t>(next)] == OpBranch) return;
        next = node + NodeHeaderSize;  // a single alternative is a plain sequence
        break;
      case OpLiteral:
        if (LiteralLength(n) == 1) {
          if (!runThenByte(LiteralText(n)[0])) single(rkByte, LiteralText(n)[0]);
        } else {
          single(rkLiteral, node);
        }
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

// The pivot: the last step k such that the steps before it can run
// backwards and never read the character the step begins with (for a run
// followed by a character: that character, its run included among the steps
// before). A start then reaches step k, if at all, at the first place after
// it where that character stands. The line end just before the match's end
// is a pivot too, at the end of the input, and the best one.
//
// A step runs backwards when where it began follows from where it ended:
// a literal, a character, the line start, and a run unbounded above that
// the steps before it cannot end with a character of (they end with one of
// its Precede set: the last character of each step back to one that cannot
// be empty).
void TRegex::FindRunPivot() {
  FRunPivot = -1;
  FRunPivotChar = -1;
  const std::vector<TRunStep>& steps = FRunSteps;
  const int count = static_cast<int>(steps.size());
  auto classOf = [this](const TRunStep& s) -> const std::array<bool, 256>& {
    return FRunTables[static_cast<std::size_t>(s.Arg)];
  };
  // The characters a step's text may end with.
  auto lastChars = [&](const TRunStep& s, std::array<bool, 256>& set) {
    switch (s.Kind) {
      case rkByte:
        set[static_cast<std::size_t>(s.Arg)] = true;
        break;
      case rkLiteral: {
        const std::uint8_t* node = FProgram.data() + s.Arg;
        set[LiteralText(node)[LiteralLength(node) - 1]] = true;
        break;
      }
      case rkRunByte:
        set[s.Byte] = true;
        break;
      case rkChar:
      case rkRun:
        for (int c = 0; c < 256; ++c) set[static_cast<std::size_t>(c)] |= classOf(s)[static_cast<std::size_t>(c)];
        break;
      default:
        break;
    }
  };
  // Whether the run of step k can run backwards.
  auto runBackwards = [&](int k) {
    const TRunStep& s = steps[static_cast<std::size_t>(k)];
    if (s.Max < RegexBraceInfinity) return false;
    std::array<bool, 256> precede{};
    for (int j = k - 1; j >= 0; --j) {
      const TRunStep& before = steps[static_cast<std::size_t>(j)];
      lastChars(before, precede);
      if (before.Kind != rkRun || before.Min > 0) break;  // a step that cannot be empty
    }
    for (int c = 1; c < 256; ++c) {
      if (precede[static_cast<std::size_t>(c)] && classOf(s)[static_cast<std::size_t>(c)]) return false;
    }
    return true;
  };
  std::array<bool, 256> read{};  // what the steps before k can read
  auto readAll = [&](const TRunStep& s) {
    if (s.Kind == rkLiteral) {
      const std::uint8_t* node = FProgram.data() + s.Arg;
      for (std::int32_t i = 0; i < LiteralLength(node); ++i) read[LiteralText(node)[i]] = true;
    } else if (s.Kind == rkRunByte) {
      for (int c = 0; c < 256; ++c) read[static_cast<std::size_t>(c)] |= classOf(s)[static_cast<std::size_t>(c)];
      read[s.Byte] = true;
    } else {
      lastChars(s, read);
    }
  };
  for (int k = 0; k < count; ++k) {
    const TRunStep& s = steps[static_cast<std::size_t>(k)];
    int pivotChar = -1;
    switch (s.Kind) {
      case rkLineEnd:
        if (k == count - 2) {
          FRunPivot = k;
          FRunPivotChar = -1;
        }
        return;
      case rkByte:
        pivotChar = s.Arg;
        break;
      case rkLiteral:
        pivotChar = LiteralText(FProgram.data() + s.Arg)[0];
        break;
      case rkRunByte:
        if (!runBackwards(k)) return;
        for (int c = 0; c < 256; ++c) read[static_cast<std::size_t>(c)] |= classOf(s)[static_cast<std::size_t>(c)];
        pivotChar = s.Byte;
        break;
      case rkRun:
        if (!runBackwards(k)) return;
        break;
      case rkChar:
      case rkLineStart:
        break;
      default:
        return;  // cannot run backwards
    }
    if (pivotChar > 0 && !read[static_cast<std::size_t>(pivotChar)]) {
      FRunPivot = k;
      FRunPivotChar = pivotChar;
    }
    readAll(s);
  }
}

}  // namespace regex

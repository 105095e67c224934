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
#include <cstring>

#include "regex/Classes_Regex.h"
#include "regex/RegexProgram.h"

namespace regex {
namespace {

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

// Tries the starts from `from` to `last` in turn, as Search does. A start
// that fails gives the next start that may succeed. Returns whether one
// matched; otherwise `from` is where the search goes on by backtracking, or
// past `last` when nothing can match.
bool TRegex::OnePassSearch(std::int32_t& from, std::int32_t last, bool& looked) {
  const unsigned char* in = reinterpret_cast<const unsigned char*>(FInput.data());
  const std::int32_t end = FInputEnd;
  const std::uint8_t* prog = FProgram.data();
  const std::array<bool, 256>* tables = FRunTables.data();
  const TRunStep* steps = FRunSteps.data();
  const std::int32_t firstChar = FFirstChar;
  std::int32_t* const first = FRunAt.data();
  std::int64_t stepCount = FSteps;
  const std::int64_t limit = FOnePassLimit;
  std::int32_t start = from;
  while (start <= last) {
    if (firstChar >= 0) {
      const void* hit = std::memchr(in + start, firstChar, static_cast<std::size_t>(std::min(last + 1, end) - start));
      if (hit == nullptr) break;
      start = static_cast<std::int32_t>(static_cast<const unsigned char*>(hit) - in);
    } else if (!FFirstCharSet[in[start]]) {  // in[end] is 0, the end's own code
      ++start;
      continue;
    }
    std::int32_t pos = start;
    std::int32_t reach = start;       // the furthest character a run read
    std::int32_t resume = start + 1;  // the next start that may succeed
    std::int32_t* at = first;
    // The classes hold no byte 0, so a run stops at the input's terminating zero.
    for (const TRunStep* s = steps;; ++s, ++at) {
      *at = pos;
      switch (s->Kind) {
        case rkByte:
          if (in[pos] != s->Arg || pos == end) goto failed;
          ++pos;
          continue;
        case rkLiteral: {
          const std::uint8_t* node = prog + s->Arg;
          const std::int32_t length = LiteralLength(node);
          const std::uint8_t* text = LiteralText(node);
          if (end - pos < length) goto failed;
          for (std::int32_t k = 0; k < length; ++k) {
            if (in[pos + k] != text[k]) goto failed;
          }
          pos += length;
          continue;
        }
        case rkChar:
          if (!tables[s->Arg][in[pos]]) goto failed;
          ++pos;
          continue;
        case rkRun: {
          const bool* t = tables[s->Arg].data();
          std::int32_t to = pos;
          while (t[in[to]]) ++to;
          reach = to;
          if (s->Lead) resume = std::max(resume, to);
          const std::int32_t count = to - pos;
          if (count < s->Min || count > s->Max) goto failed;
          pos = to;
          continue;
        }
        case rkRunByte: {
          const bool* t = tables[s->Arg].data();
          std::int32_t to = pos;
          while (t[in[to]]) ++to;
          reach = to;
          if (s->Lead) resume = std::max(resume, to);
          const std::int32_t count = to - pos;
          if (count < s->Min || count > s->Max || in[to] != s->Byte || to == end) goto failed;
          pos = to + 1;
          continue;
        }
        case rkRunFirst:
        case rkRunLast: {
          const bool* t = tables[s->Arg].data();
          const std::int32_t most = s->Kind == rkRunFirst ? s->Min : s->Max;
          std::int32_t count = 0;
          while (count < most && t[in[pos + count]]) ++count;
          if (count < s->Min) goto failed;
          pos += count;
          continue;
        }
        case rkLineStart:
          if (pos != 0) goto failed;
          continue;
        case rkLineEnd:
          if (pos != end) goto failed;
          continue;
        case rkWordBoundary:
        case rkNotWordBoundary: {
          const bool before = pos > 0 && FWordSet[in[pos - 1]];
          const bool here = pos < end && FWordSet[in[pos]];
          if ((before != here) != (s->Kind == rkWordBoundary)) goto failed;
          continue;
        }
        case rkEnd:
          break;
      }
      // The match. Its groups are filled in here only: a failed start
      // leaves them all unset, as they were.
      FSteps = stepCount + std::max(pos, reach) - start + 1;
      for (const TRunGroup& g : FRunGroups) {
        const auto group = static_cast<std::size_t>(g.Group);
        if (!g.Last) {
          FStartP[group] = first[g.From >> 1] - (g.From & 1);
          FEndP[group] = first[g.To >> 1] - (g.To & 1);
        } else if (first[g.From + 1] > first[g.From]) {
          FStartP[group] = first[g.From + 1] - 1;
          FEndP[group] = first[g.From + 1];
        }
      }
      FPos = pos;
      FStartP[0] = start;
      FEndP[0] = pos;
      return true;
    }
  failed:
    stepCount += std::max(pos, reach) - start + 1;
    start = resume;
    if (!looked) {
      looked = true;
      if (!HoldsRequiredLiterals(start)) {
        start = last + 1;
        break;
      }
    }
    // Starts that reread the same text again and again go on by
    // backtracking, which the memo of failed states keeps linear.
    if (stepCount >= limit) break;
  }
  FSteps = stepCount;
  from = start;
  return false;
}

}  // namespace regex

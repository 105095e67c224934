// Start analysis of a compiled program: the characters a match can begin
// with, a required first character, the anchor and a required literal; the
// index of the loops built from OpBranch/OpBack, which the matcher needs to
// stop a loop whose iteration matched empty text; and what keeps a search
// cheap: the fewest characters a match takes, the literals every match holds
// in order, the counted loops with their least iteration, and the nodes
// where the memo of failed states is kept.
// Tested by: regex/tests/RegexCompileTest.cpp (start dumps), RegexMatchTest.cpp,
// RegexSearchCostTest.cpp.
#include <algorithm>
#include <limits>

#include "regex/Classes_Regex.h"
#include "regex/RegexProgram.h"

namespace regex {
namespace {

// Nodes a walk for what may come next at a point of the program (after a
// repeat, in an alternative, in or after a counted loop) looks at before it
// gives up; a longer walk would cost more than it saves.
constexpr std::size_t FollowWalkLimit = 64;

}  // namespace

void TRegex::AnalyseStart(bool startsWithRepeat) {
  FillFirstCharSet(1);
  FFirstChar = -1;
  FAnchored = false;
  FRequired.clear();
  const int first = 1;
  const int next = NextNode(FProgram, first);
  if (next < 0 || FProgram[static_cast<std::size_t>(next)] != OpEnd) return;  // several alternatives
  int scan = first + NodeHeaderSize;
  const std::uint8_t op = FProgram[static_cast<std::size_t>(scan)];
  if (op == OpLiteral) {
    FFirstChar = LiteralText(&FProgram[static_cast<std::size_t>(scan)])[0];
  } else if (op == OpLineStart) {
    FAnchored = true;
  }
  if (!startsWithRepeat) return;
  std::int32_t longest = 0;
  const std::uint8_t* best = nullptr;
  for (; scan >= 0; scan = NextNode(FProgram, scan)) {
    const std::uint8_t* n = &FProgram[static_cast<std::size_t>(scan)];
    if (n[0] != OpLiteral) continue;
    const std::int32_t length = LiteralLength(n);
    if (length >= longest) {
      longest = length;
      best = LiteralText(n);
    }
  }
  if (best != nullptr) FRequired.assign(reinterpret_cast<const char*>(best), static_cast<std::size_t>(longest));
}

void TRegex::FillFirstCharSet(int start) {
  FFirstCharSet.fill(false);
  CharsAt(start, FFirstCharSet, false, 0);
}

// Walks from a node to every node that can consume the next character and
// adds the characters it may be (code 0 for the end of the input). Each node
// is visited once, so sequences of optional pieces stay linear and the walk
// needs no recursion. From the start of a match a counted loop is met with
// its counter at 0; from within one (loopsMayExit) its counter is unknown, so
// what follows the loop counts too. A walk given a limit (0: none) gives up
// after that many nodes and answers false: then any character may come.
bool TRegex::CharsAt(int start, std::array<bool, 256>& set, bool loopsMayExit, std::size_t limit) {
  const std::vector<std::uint8_t>& p = FProgram;
  std::vector<bool> visited;
  std::vector<int> walked;  // the visited nodes of a limited walk, few
  if (limit == 0) visited.assign(p.size(), false);
  auto firstVisit = [&](int node) {
    if (limit == 0) {
      if (visited[static_cast<std::size_t>(node)]) return false;
      visited[static_cast<std::size_t>(node)] = true;
      return true;
    }
    if (std::find(walked.begin(), walked.end(), node) != walked.end()) return false;
    walked.push_back(node);
    return true;
  };
  std::vector<int> pending{start};
  auto addAll = [&set] { set.fill(true); };
  while (!pending.empty()) {
    int node = pending.back();
    pending.pop_back();
    while (node >= 0 && firstVisit(node)) {
      if (limit != 0 && walked.size() > limit) return false;
      const std::uint8_t* n = &p[static_cast<std::size_t>(node)];
      const std::uint8_t* operand = n + NodeHeaderSize;
      const std::uint8_t op = n[0];
      int next = NextNode(p, node);
      switch (op) {
        case OpLiteral:
          set[LiteralText(n)[0]] = true;
          next = -1;
          break;
        case OpLiteralNoCase:
          set[LiteralText(n)[0]] = true;
          set[InvertCase(LiteralText(n)[0])] = true;
          next = -1;
          break;
        case OpAnyOfSmall:
          for (int i = 0; i < SmallSetSize; ++i) set[operand[i]] = true;
          next = -1;
          break;
        case OpAnyButSmall:
          for (int c = 0; c < 256; ++c) {
            if (c != operand[0] && c != operand[1] && c != operand[2]) set[c] = true;
          }
          next = -1;
          break;
        case OpAnyOfSet:
          for (int c = 0; c < 256; ++c) {
            if (SetHas(operand, static_cast<unsigned char>(c))) set[c] = true;
          }
          next = -1;
          break;
        case OpDigit:
        case OpNotDigit:
          for (int c = 0; c < 256; ++c) {
            if ((c >= '0' && c <= '9') == (op == OpDigit)) set[c] = true;
          }
          next = -1;
          break;
        case OpBranch:
          if (next >= 0 && p[static_cast<std::size_t>(next)] == OpBranch) {
            for (int b = node; b >= 0 && p[static_cast<std::size_t>(b)] == OpBranch; b = NextNode(p, b)) {
              pending.push_back(b + NodeHeaderSize);
            }
            next = -1;
          } else {
            next = node + NodeHeaderSize;
          }
          break;
        case OpStar:
        case OpStarLazy:
          pending.push_back(node + NodeHeaderSize);
          break;
        case OpPlus:
        case OpPlusLazy:
          pending.push_back(node + NodeHeaderSize);
          next = -1;
          break;
        case OpRange:
        case OpRangeLazy:
          pending.push_back(node + NodeHeaderSize + RangeOperandSize);
          if (ReadInt32(operand) != 0) next = -1;
          break;
        case OpLoopEntry:
          break;
        case OpLoop:
        case OpLoopLazy:
          pending.push_back(node + ReadInt32(operand + 8));
          if (ReadInt32(operand) != 0 && !loopsMayExit) next = -1;
          break;
        case OpLineStart:
        case OpLineStartMulti:
        case OpWordBoundary:
        case OpNotWordBoundary:
        case OpBack:
        case OpNothing:
        case OpComment:
          break;
        case OpLineEnd:
          set[0] = true;
          next = -1;
          break;
        case OpLineEndMulti:
          // A multi-line end can hold before any separator, also when only an
          // inline (?m) made it multi-line.
          set[0] = true;
          for (char c : FLineSeparatorChars) set[static_cast<unsigned char>(c)] = true;
          if (FPairSet) set[FPair1] = true;
          next = -1;
          break;
        case OpEnd:
        case OpAnyChar:
        case OpAnyCharNoLineSep:
        case OpBackRef:
        case OpBackRefNoCase:
          addAll();
          return true;
        default:
          if (IsOpenCode(op) || IsCloseCode(op)) break;
          Fail(reMemoryCorruption);
      }
      node = next;
    }
  }
  return true;
}

// Finds the loops of starred and plussed complex atoms. A star loop's OpBack
// leads back to its OpBranch; a plus loop's OpBack is the alternative of the
// OpBranch that follows the atom. Both branches get a loop number.
void TRegex::IndexLoops() {
  const std::vector<std::uint8_t>& p = FProgram;
  FLoopIndex.assign(p.size(), -1);
  FLoopIsPlus.clear();
  for (std::size_t node = 1; node < p.size();) {
    const std::uint8_t* n = &p[node];
    if (n[0] == OpBack) {
      const std::size_t target = node + static_cast<std::size_t>(static_cast<std::ptrdiff_t>(ReadInt32(n + 1)));
      if (p[target] == OpBranch) {
        FLoopIndex[target] = static_cast<std::int32_t>(FLoopIsPlus.size());
        FLoopIsPlus.push_back(false);
      } else {
        FLoopIndex[node - NodeHeaderSize] = static_cast<std::int32_t>(FLoopIsPlus.size());
        FLoopIsPlus.push_back(true);
      }
    }
    node += static_cast<std::size_t>(NodeHeaderSize + OperandSize(n));
  }
  FLoopMarks.assign(FLoopIsPlus.size(), -1);
}

// The characters what runs from a node can start with, as an index into
// FCharSets; -1 when that may be any (or the walk would be long).
std::int32_t TRegex::CharSetAt(int start) {
  if (start < 0) return -1;
  std::array<bool, 256> set{};
  if (!CharsAt(start, set, true, FollowWalkLimit) || std::find(set.begin(), set.end(), false) == set.end()) {
    return -1;
  }
  FCharSets.push_back(set);
  return static_cast<std::int32_t>(FCharSets.size() - 1);
}

// The fewest characters a match consumes from node `from` until it reaches
// node `stop` (or the end). A lower bound: a loop's way back adds nothing, a
// back-reference may be empty. Alternatives recurse, so the depth is that of
// the nesting of groups and loops, never of the expression's length.
std::int64_t TRegex::MinLength(int from, int stop) const {
  const std::vector<std::uint8_t>& p = FProgram;
  constexpr std::int64_t Cap = std::numeric_limits<std::int32_t>::max();
  std::int64_t total = 0;
  for (int node = from; node >= 0 && node != stop && total < Cap;) {
    const std::uint8_t* n = &p[static_cast<std::size_t>(node)];
    const int next = NextNode(p, node);
    switch (n[0]) {
      case OpEnd:
      case OpBack:
      case OpLoop:
      case OpLoopLazy:
        return std::min(total, Cap);
      case OpLiteral:
      case OpLiteralNoCase:
        total += LiteralLength(n);
        break;
      case OpAnyChar:
      case OpAnyCharNoLineSep:
      case OpDigit:
      case OpNotDigit:
      case OpAnyOfSmall:
      case OpAnyButSmall:
      case OpAnyOfSet:
        total += 1;
        break;
      case OpStar:
      case OpPlus:
      case OpRange:
      case OpStarLazy:
      case OpPlusLazy:
      case OpRangeLazy: {
        const TRepeatShape repeat = RepeatShape(p.data(), node);
        const std::uint8_t op = p[static_cast<std::size_t>(repeat.Operand)];
        if (op != OpBackRef && op != OpBackRefNoCase) total += repeat.Min;
        break;
      }
      case OpBranch: {
        if (next < 0 || p[static_cast<std::size_t>(next)] != OpBranch) {
          node += NodeHeaderSize;
          continue;
        }
        // Every alternative's chain ends at the join, the next of the last one.
        int join = next;
        while (join >= 0 && p[static_cast<std::size_t>(join)] == OpBranch) join = NextNode(p, join);
        std::int64_t best = Cap;
        for (int b = node; b >= 0 && b != join; b = NextNode(p, b)) {
          best = std::min(best, MinLength(b + NodeHeaderSize, join));
        }
        total += best;
        node = join;
        continue;
      }
      case OpLoopEntry: {
        const int loop = next;
        const std::uint8_t* l = &p[static_cast<std::size_t>(loop)];
        total += std::int64_t{ReadInt32(l + NodeHeaderSize)} * MinLength(node + NodeHeaderSize, loop);
        node = NextNode(p, loop);
        continue;
      }
      default:
        break;  // anchors, boundaries, group marks, back-references, comments, joins
    }
    node = next;
  }
  return std::min(total, Cap);
}

void TRegex::AnalyseSearch() {
  const std::vector<std::uint8_t>& p = FProgram;
  FMinLength = static_cast<std::int32_t>(MinLength(1, -1));

  // The literals of a single top-level alternative are met in order, each
  // at least as far after the one before as what lies between them needs: a
  // text without them so placed holds no match.
  FRequiredLiterals.clear();
  const int next = NextNode(p, 1);
  const bool single = next >= 0 && p[static_cast<std::size_t>(next)] == OpEnd;
  if (single) {
    int after = 1 + NodeHeaderSize;
    for (int scan = after; scan >= 0; scan = NextNode(p, scan)) {
      if (p[static_cast<std::size_t>(scan)] != OpLiteral) continue;
      FRequiredLiterals.push_back({scan, static_cast<std::int32_t>(MinLength(after, scan))});
      after = NextNode(p, scan);
    }
  }

  // Counted loops, the loop holding each node, and the memo points: the
  // nodes a search comes back to, with a choice made there or just before.
  FCountedLoops.clear();
  FNodeLoop.assign(p.size(), -1);
  FMemoRow.assign(p.size(), -1);
  FRepeatFollow.assign(p.size(), -1);
  FBranchFirst.assign(p.size(), -1);
  FCharSets.clear();
  FMemoAllowed = true;
  std::vector<int> open;  // counted loops around the scan point, innermost last
  for (std::size_t at = 1; at < p.size();) {
    const int node = static_cast<int>(at);
    const std::uint8_t* n = &p[at];
    while (!open.empty() && node > FCountedLoops[static_cast<std::size_t>(open.back())].Loop) open.pop_back();
    FNodeLoop[at] = open.empty() ? -1 : open.back();
    const int after = NextNode(p, node);
    auto memoPoint = [this](int target) {
      if (target >= 0) FMemoRow[static_cast<std::size_t>(target)] = 0;
    };
    switch (n[0]) {
      case OpLoopEntry: {
        TCountedLoop loop;
        loop.Loop = after;
        loop.Parent = open.empty() ? -1 : open.back();
        loop.Depth = static_cast<int>(open.size()) + 1;
        const std::uint8_t* l = &p[static_cast<std::size_t>(after)];
        loop.Min = ReadInt32(l + NodeHeaderSize);
        loop.Max = ReadInt32(l + NodeHeaderSize + 4);
        loop.BodyMin = static_cast<std::int32_t>(MinLength(node + NodeHeaderSize, after));
        loop.BodyFirst = CharSetAt(node + NodeHeaderSize);
        loop.ExitFirst = CharSetAt(NextNode(p, after));
        open.push_back(static_cast<int>(FCountedLoops.size()));
        FCountedLoops.push_back(loop);
        break;
      }
      case OpBranch:
        if (after >= 0 && p[static_cast<std::size_t>(after)] == OpBranch) {
          memoPoint(node);
          memoPoint(after);
          FBranchFirst[at] = CharSetAt(node + NodeHeaderSize);
          FBranchFirst[static_cast<std::size_t>(after)] = CharSetAt(after + NodeHeaderSize);
        }
        break;
      case OpStar:
      case OpPlus:
      case OpRange:
      case OpStarLazy:
      case OpPlusLazy:
      case OpRangeLazy:
        if (after >= 0) FRepeatFollow[at] = CharSetAt(after);
        memoPoint(node);
        memoPoint(after);
        break;
      case OpLoop:
      case OpLoopLazy:
        memoPoint(node);
        memoPoint(after);
        break;
      case OpBackRef:
      case OpBackRefNoCase:
        FMemoAllowed = false;
        break;
      default:
        break;
    }
    at += static_cast<std::size_t>(NodeHeaderSize + OperandSize(n));
  }

  // The lead repeat: reached from the start through nodes that neither test
  // nor choose, its operand one character, no counted loop around it. A
  // counted loop of minimum 0 on the way is passed when none of its
  // iterations can start with a character of the operand: within the
  // operand's run such a loop can only be left at once.
  FLeadRepeat = -1;
  FLeadAfterLoops = false;
  if (single && FMemoAllowed) {
    std::vector<std::int32_t> passed;  // BodyFirst of each loop passed
    int node = 1 + NodeHeaderSize;
    for (int hops = 0; node >= 0 && hops < 64; ++hops) {
      const std::uint8_t op = p[static_cast<std::size_t>(node)];
      if (IsOpenCode(op) || op == OpComment || op == OpNothing) {
        node = NextNode(p, node);
        continue;
      }
      if (op == OpBranch) {
        const int after = NextNode(p, node);
        if (after >= 0 && p[static_cast<std::size_t>(after)] == OpBranch) break;
        node += NodeHeaderSize;
        continue;
      }
      if (op == OpLoopEntry) {
        const TCountedLoop& loop = FCountedLoops[static_cast<std::size_t>(FNodeLoop[static_cast<std::size_t>(
            node + NodeHeaderSize)])];
        if (loop.Min != 0 || loop.BodyFirst < 0) break;
        passed.push_back(loop.BodyFirst);
        node = NextNode(p, loop.Loop);
        continue;
      }
      if (IsRepeatCode(op)) {
        std::array<bool, 256> operand{};
        CharsAt(RepeatShape(p.data(), node).Operand, operand, true, FollowWalkLimit);
        bool disjoint = true;
        for (const std::int32_t body : passed) {
          for (int c = 0; c < 256 && disjoint; ++c) {
            disjoint = !(operand[static_cast<std::size_t>(c)] && FCharSets[static_cast<std::size_t>(body)][static_cast<std::size_t>(c)]);
          }
        }
        if (disjoint) {
          FLeadRepeat = node;
          FLeadAfterLoops = !passed.empty();
        }
      }
      break;
    }
  }

  // The first memo point of every attempt, reached from the start through
  // nodes that neither consume nor choose: a start whose state there has
  // failed before fails again, and a search with the memo passes it over.
  FStartPoint = -1;
  for (int node = 1, hops = 0; node >= 0 && hops < 64; ++hops) {
    const std::uint8_t op = p[static_cast<std::size_t>(node)];
    if (FMemoRow[static_cast<std::size_t>(node)] != -1) {
      FStartPoint = node;
      break;
    }
    if (op == OpBranch) {
      node += NodeHeaderSize;  // not a choice, or it would be a memo point
    } else if (IsOpenCode(op) || IsCloseCode(op) || op == OpComment || op == OpNothing || op == OpLineStart ||
               op == OpLineStartMulti || op == OpLineEnd || op == OpLineEndMulti || op == OpWordBoundary ||
               op == OpNotWordBoundary || op == OpLoopEntry) {
      node = NextNode(p, node);
    } else {
      break;
    }
  }
}

}  // namespace regex

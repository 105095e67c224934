// The backtracking matcher: runs the p-code from one start position.
// Tested by: regex/tests/RegexMatchTest.cpp, RegexDeepTest.cpp and the Perl
// differential test RegexPerlTest.cpp.
//
// The recursion of a classic backtracker (one call per node on the success
// path) is replaced by a stack on the heap, so long inputs and deep patterns
// cannot overflow the C++ stack. The stack holds choices to resume (the next
// alternative, a shorter or longer repeat count, leaving or extending a
// counted loop) and the old values of everything a forward step changes
// (group positions, loop counters and depth), so that backing up to a choice
// restores the exact state in which it was made. While no choice is pending a
// failure ends the attempt, so no old values are kept then.
//
// Each node run is a step of the search's budget; once a search has taken
// many steps it keeps a memo of failed states (Classes_Regex_Memo.cpp), which
// this loop consults where a node has a memo row.
#include <algorithm>
#include <cstring>

#include "regex/Classes_Regex.h"
#include "regex/RegexCase1251.h"
#include "regex/RegexProgram.h"

namespace regex {
namespace {

enum TFrameKind : std::int32_t {
  fkBranch,        // resume at the OpBranch Node at Pos; A = previous loop mark, B = loop or -1
  fkRepeatGreedy,  // repeat Node started at Pos, count A was tried: try fewer
  fkRepeatLazy,    // repeat Node started at Pos, count A was tried, B the most: try more
  fkLoopExit,      // greedy OpLoop Node at Pos: leave the loop instead of iterating
  fkLoopMore,      // lazy OpLoop Node at Pos: iterate once more instead of leaving
  fkUndoOpen,      // group Node was opened at A
  fkUndoGroup,     // group Node had start A and end B
  fkUndoCounter,   // loop depth Node had counter A and iteration start B
  fkUndoDepth,     // the loop depth was A
  fkRepeatFailed,  // memo row Node: the simple repeat at Pos failed; so did its run's starts up to A
};

// A stack that grew past this is given back after the search.
constexpr std::size_t KeptFrames = std::size_t{1} << 16;

}  // namespace

// Count of consecutive matches of a simple operand from a position, at most max.
std::int32_t TRegex::RegRepeat(int operand, std::int32_t from, std::int32_t max) {
  const std::uint8_t* o = FProgram.data() + operand;
  const std::uint8_t* data = o + NodeHeaderSize;
  const unsigned char* in = reinterpret_cast<const unsigned char*>(FInput.data());
  const std::int32_t end = FInputEnd;
  const std::int32_t limit = static_cast<std::int32_t>(std::min<std::int64_t>(max, end - from));
  std::int32_t n = 0;
  switch (o[0]) {
    case OpAnyChar:
      return limit;
    case OpLiteral: {
      const unsigned char c = LiteralText(o)[0];
      while (n < limit && in[from + n] == c) ++n;
      return n;
    }
    case OpLiteralNoCase: {
      const unsigned char c = LiteralText(o)[0];
      const unsigned char other = InvertCase(c);
      while (n < limit && (in[from + n] == c || in[from + n] == other)) ++n;
      return n;
    }
    case OpDigit:
      while (n < limit && in[from + n] >= '0' && in[from + n] <= '9') ++n;
      return n;
    case OpNotDigit:
      while (n < limit && !(in[from + n] >= '0' && in[from + n] <= '9')) ++n;
      return n;
    case OpAnyOfSmall:
      while (n < limit && (in[from + n] == data[0] || in[from + n] == data[1] || in[from + n] == data[2])) ++n;
      return n;
    case OpAnyButSmall:
      while (n < limit && in[from + n] != data[0] && in[from + n] != data[1] && in[from + n] != data[2]) ++n;
      return n;
    case OpAnyOfSet:
      while (n < limit && SetHas(data, in[from + n])) ++n;
      return n;
    case OpBackRef:
    case OpBackRefNoCase: {
      const int group = data[0];
      const std::int32_t start = FStartP[group];
      const std::int32_t length = FEndP[group] - start;
      if (start < 0 || FEndP[group] < 0 || length <= 0) return 0;
      std::int32_t p = from;
      while (n < max && end - p >= length) {
        bool same = true;
        for (std::int32_t k = 0; k < length && same; ++k) {
          const unsigned char a = in[p + k];
          const unsigned char b = in[start + k];
          same = a == b || (o[0] == OpBackRefNoCase && a == InvertCase(b));
        }
        if (!same) break;
        p += length;
        ++n;
      }
      return n;
    }
    default:
      Fail(reRepeatOperand);
  }
}

// Doubles the stack, up to its bound.
void TRegex::GrowStack() {
  if (FStack.size() >= FMaxFrames) {
    std::vector<TFrame>().swap(FStack);  // the attempt ends here; keep no memory for it
    Fail(reBacktrackStackExceeded);
  }
  FStack.resize(std::min(FMaxFrames, std::max<std::size_t>(256, FStack.size() * 2)));
}

bool TRegex::MatchAt(std::int32_t start) {
  static const std::array<unsigned char, 256> invert = [] {
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c) t[static_cast<std::size_t>(c)] = InvertCase(static_cast<unsigned char>(c));
    return t;
  }();
  const std::uint8_t* prog = FProgram.data();
  const unsigned char* in = reinterpret_cast<const unsigned char*>(FInput.data());
  const std::int32_t end = FInputEnd;
  const bool pair = FPairSet;
  const unsigned char pair1 = FPair1;
  const unsigned char pair2 = FPair2;

  std::int32_t pos = start;
  // The steps are counted here and handed back to FSteps where the memo or
  // the checkpoint reads them.
  FStartSteps = FSteps;
  std::int64_t steps = FSteps;
  std::int64_t stepCheck = FStepCheck;
  std::int32_t choices = 0;  // choice frames on the stack
  std::size_t top = 0;  // frames in use in FStack
  std::fill(FLoopMarks.begin(), FLoopMarks.end(), -1);
  FLoopDepth = 0;
  FOpenP.fill(-1);

  auto push = [&](const TFrame& f) {
    if (top == FStack.size()) GrowStack();
    FStack[top++] = f;
  };
  auto undoCounter = [&](std::int32_t depth) {
    if (choices > 0) push({fkUndoCounter, depth, 0, FLoopCount[depth], FLoopStart[depth]});
  };
  auto undoDepth = [&]() {
    if (choices > 0) push({fkUndoDepth, 0, 0, FLoopDepth, 0});
  };
  // Whether what a set describes can start at a position (in[end] is 0).
  auto startsAt = [&](std::int32_t set, std::int32_t at) {
    return set < 0 || FCharSets[static_cast<std::size_t>(set)][in[at]];
  };
  auto nextOf = [prog](int node) {
    const std::int32_t offset = ReadInt32(prog + node + 1);
    return offset == 0 ? -1 : node + offset;
  };
  // Repeat parameters of a simple-repeat node: min, max, operand, and the
  // length one repetition consumes (a back-reference's text, else 1).
  struct TRepeat {
    std::int32_t Min, Max;
    int Operand;
    std::int32_t Unit;
    const bool* Follow;  // the characters what follows can start with, or nullptr: any
  };
  auto repeatOf = [&](int node) {
    const TRepeatShape shape = RepeatShape(prog, node);
    TRepeat r{};
    r.Min = shape.Min;
    r.Max = shape.Max;
    r.Operand = shape.Operand;
    r.Unit = 1;
    const std::uint8_t operandOp = prog[r.Operand];
    if (operandOp == OpBackRef || operandOp == OpBackRefNoCase) {
      // A group that has not matched leaves the unit at 1: RegRepeat counts 0.
      const int group = prog[r.Operand + NodeHeaderSize];
      if (FStartP[group] >= 0 && FEndP[group] >= 0) r.Unit = FEndP[group] - FStartP[group];
    }
    if (nextOf(node) < 0) Fail(reCorruptedPointers);
    const std::int32_t follow = FRepeatFollow[static_cast<std::size_t>(node)];
    r.Follow = follow < 0 ? nullptr : FCharSets[static_cast<std::size_t>(follow)].data();
    return r;
  };
  auto fits = [&](const TRepeat& r, std::int32_t from, std::int32_t count) {
    return r.Follow == nullptr || r.Follow[in[from + static_cast<std::int64_t>(count) * r.Unit]];
  };
  // Whether a count of a repeat is worth trying: what follows can start
  // there and has not failed there before (cont: its memo row, or -1).
  auto worth = [&](const TRepeat& r, std::int32_t from, std::int32_t count, std::int32_t cont) {
    ++steps;
    return fits(r, from, count) && (cont < 0 || !MemoTest(cont, from + count * r.Unit));
  };
  // After count c of a repeat was taken: a choice of the counts still to try
  // (greedy: below c down to Min; lazy: above c up to most).
  auto pushRest = [&](int node, std::int32_t from, std::int32_t min, std::int32_t c, std::int32_t most,
                      bool greedy) {
    if (greedy ? c > min : c < most) {
      push(greedy ? TFrame{fkRepeatGreedy, node, from, c, 0} : TFrame{fkRepeatLazy, node, from, c, most});
      ++choices;
    }
  };

  int node = 1;
  for (;;) {
    {
      if (++steps >= stepCheck) {
        FSteps = steps;
        Checkpoint();
        stepCheck = FStepCheck;
      }
      if (FMemoOn) {
        const std::int32_t row = MemoRow(node);
        if (row >= 0 && MemoTestAndSet(row, pos)) goto fail;
      }
      const std::uint8_t* n = prog + node;
      const std::uint8_t op = n[0];
      const std::int32_t offset = ReadInt32(n + 1);
      const int next = node + offset;
      if (offset == 0 && op != OpEnd) Fail(reCorruptedPointers);
      const std::uint8_t* operand = n + NodeHeaderSize;
      switch (op) {
        case OpEnd:
          FSteps = steps;
          FPos = pos;
          FStartP[0] = start;
          FEndP[0] = pos;
          if (FStack.size() > KeptFrames) std::vector<TFrame>().swap(FStack);
          return true;
        case OpLineStart:
          if (pos != 0) goto fail;
          node = next;
          break;
        case OpLineEnd:
          if (pos != end) goto fail;
          node = next;
          break;
        case OpLineStartMulti:
          if (pos != 0) {
            const bool afterPair = pair && pos >= 2 && in[pos - 2] == pair1 && in[pos - 1] == pair2;
            if (!afterPair) {
              if (pair && in[pos - 1] == pair1 && pos < end && in[pos] == pair2) goto fail;
              if (!FLineSeparators[in[pos - 1]]) goto fail;
            }
          }
          node = next;
          break;
        case OpLineEndMulti:
          if (pos != end) {
            const bool beforePair = pair && pos + 1 < end && in[pos] == pair1 && in[pos + 1] == pair2;
            if (!beforePair) {
              if (pair && pos > 0 && in[pos - 1] == pair1 && in[pos] == pair2) goto fail;
              if (!FLineSeparators[in[pos]]) goto fail;
            }
          }
          node = next;
          break;
        case OpAnyChar:
          if (pos >= end) goto fail;
          ++pos;
          node = next;
          break;
        case OpAnyCharNoLineSep:
          if (pos >= end || FLineSeparators[in[pos]]) goto fail;
          if (pair && in[pos] == pair1 && pos + 1 < end && in[pos + 1] == pair2) goto fail;
          ++pos;
          node = next;
          break;
        case OpLiteral: {
          // The input holds no zero byte, so a literal zero never matches.
          const std::int32_t length = LiteralLength(n);
          const std::uint8_t* t = LiteralText(n);
          if (end - pos < length || in[pos] != t[0]) goto fail;
          // Most literals are a few characters: compared here, not by a call.
          if (length > 16) {
            if (std::memcmp(in + pos + 1, t + 1, static_cast<std::size_t>(length - 1)) != 0) goto fail;
          } else {
            for (std::int32_t k = 1; k < length; ++k) {
              if (in[pos + k] != t[k]) goto fail;
            }
          }
          pos += length;
          node = next;
          break;
        }
        case OpLiteralNoCase: {
          const std::int32_t length = LiteralLength(n);
          if (end - pos < length) goto fail;
          const std::uint8_t* t = LiteralText(n);
          for (std::int32_t k = 0; k < length; ++k, ++pos) {
            if (in[pos] != t[k] && in[pos] != invert[t[k]]) goto fail;
          }
          node = next;
          break;
        }
        case OpDigit:
          if (pos >= end || in[pos] < '0' || in[pos] > '9') goto fail;
          ++pos;
          node = next;
          break;
        case OpNotDigit:
          if (pos >= end || (in[pos] >= '0' && in[pos] <= '9')) goto fail;
          ++pos;
          node = next;
          break;
        case OpAnyOfSmall:
          if (pos >= end || (in[pos] != operand[0] && in[pos] != operand[1] && in[pos] != operand[2])) goto fail;
          ++pos;
          node = next;
          break;
        case OpAnyButSmall:
          if (pos >= end || in[pos] == operand[0] || in[pos] == operand[1] || in[pos] == operand[2]) goto fail;
          ++pos;
          node = next;
          break;
        case OpAnyOfSet:
          if (pos >= end || !SetHas(operand, in[pos])) goto fail;
          ++pos;
          node = next;
          break;
        case OpWordBoundary:
        case OpNotWordBoundary: {
          const bool before = pos > 0 && FWordSet[in[pos - 1]];
          const bool here = pos < end && FWordSet[in[pos]];
          if ((before != here) != (op == OpWordBoundary)) goto fail;
          node = next;
          break;
        }
        case OpBackRef:
        case OpBackRefNoCase: {
          const int group = operand[0];
          const std::int32_t groupStart = FStartP[group];
          const std::int32_t groupEnd = FEndP[group];
          if (groupStart < 0 || groupEnd < 0) goto fail;
          const std::int32_t length = groupEnd - groupStart;
          if (end - pos < length) goto fail;
          for (std::int32_t k = 0; k < length; ++k) {
            const unsigned char a = in[pos + k];
            const unsigned char b = in[groupStart + k];
            if (a != b && !(op == OpBackRefNoCase && a == invert[b])) goto fail;
          }
          pos += length;
          node = next;
          break;
        }
        case OpBranch: {
          if (prog[next] != OpBranch) {  // a single alternative is a plain sequence
            node += NodeHeaderSize;
            break;
          }
          const std::int32_t loop = FLoopIndex[static_cast<std::size_t>(node)];
          if (loop < 0) {
            // Alternatives that cannot start with the character here are
            // passed over; with one left there is nothing to come back to.
            int alternative = node;
            while (prog[nextOf(alternative)] == OpBranch &&
                   !startsAt(FBranchFirst[static_cast<std::size_t>(alternative)], pos)) {
              alternative = nextOf(alternative);
            }
            if (prog[nextOf(alternative)] != OpBranch) {  // the last alternative
              if (!startsAt(FBranchFirst[static_cast<std::size_t>(alternative)], pos)) goto fail;
              node = alternative + NodeHeaderSize;
              break;
            }
            int other = nextOf(alternative);
            while (prog[nextOf(other)] == OpBranch && !startsAt(FBranchFirst[static_cast<std::size_t>(other)], pos)) {
              other = nextOf(other);
            }
            if (prog[nextOf(other)] == OpBranch || startsAt(FBranchFirst[static_cast<std::size_t>(other)], pos)) {
              push({fkBranch, other, pos, -1, -1});
              ++choices;
            }
            node = alternative + NodeHeaderSize;
            break;
          }
          // A loop's branch keeps its frame: the frame marks where the
          // iteration began.
          const std::int32_t mark = FLoopMarks[static_cast<std::size_t>(loop)];
          // A plus loop whose last iteration matched empty text stops.
          if (FLoopIsPlus[static_cast<std::size_t>(loop)] && mark >= 0 &&
              FStack[static_cast<std::size_t>(mark)].Pos == pos) {
            node = next;
            break;
          }
          push({fkBranch, next, pos, mark, loop});
          FLoopMarks[static_cast<std::size_t>(loop)] = static_cast<std::int32_t>(top - 1);
          ++choices;
          node += NodeHeaderSize;
          break;
        }
        case OpBack: {
          // A star loop whose iteration matched empty text stops.
          const std::int32_t loop = FLoopIndex[static_cast<std::size_t>(next)];
          if (loop >= 0 && !FLoopIsPlus[static_cast<std::size_t>(loop)]) {
            const std::int32_t mark = FLoopMarks[static_cast<std::size_t>(loop)];
            if (mark >= 0 && FStack[static_cast<std::size_t>(mark)].Pos == pos) {
              node = nextOf(next);
              break;
            }
          }
          node = next;
          break;
        }
        case OpNothing:
        case OpComment:
          node = next;
          break;
        case OpStar:
        case OpPlus:
        case OpRange:
        case OpStarLazy:
        case OpPlusLazy:
        case OpRangeLazy: {
          const TRepeat r = repeatOf(node);
          if (r.Unit == 0) {
            // The group matched empty text: every count ends where it starts,
            // so the minimum is taken once instead of counting to the maximum.
            node = next;
            break;
          }
          // A repeat that needs more characters than are left cannot match.
          if (std::int64_t{r.Min} * r.Unit > end - pos) goto fail;
          std::int32_t count;
          std::int64_t most;       // the most repetitions worth trying
          std::int32_t cont = -1;  // the memo row of what follows
          if (FMemoOn && FMemoRow[static_cast<std::size_t>(node)] >= 0) {
            FSteps = steps;
            const std::int32_t runEnd = MemoRunEnd(node, r.Operand, pos);
            steps = FSteps;
            count = std::min(runEnd - pos, r.Max);
            most = count;
            cont = MemoRow(next);
            if (runEnd - pos < r.Max) {
              // Every later start of this run that failed has tried all the
              // ends from its own minimum on.
              const std::int32_t row = MemoRow(node);
              const std::int32_t failed = MemoFirstFailed(row, pos + 1, runEnd);
              most = std::min<std::int64_t>(count, std::int64_t{failed} - 1 + r.Min - pos);
              push({fkRepeatFailed, row, pos, failed, 0});
            }
          } else {
            count = RegRepeat(r.Operand, pos, r.Max);
            most = count;
            steps += count;
          }
          if (count < r.Min) goto fail;
          const bool greedy = op == OpStar || op == OpPlus || op == OpRange;
          std::int32_t c;
          if (greedy) {
            c = static_cast<std::int32_t>(most);
            while (c >= r.Min && !worth(r, pos, c, cont)) --c;
            if (c < r.Min) goto fail;
          } else {
            c = r.Min;
            while (c <= most && !worth(r, pos, c, cont)) ++c;
            if (c > most) goto fail;
          }
          pushRest(node, pos, r.Min, c, static_cast<std::int32_t>(most), greedy);
          pos += c * r.Unit;
          node = next;
          break;
        }
        case OpLoopEntry: {
          if (FLoopDepth >= RegexLoopDepth) Fail(reLoopStackExceeded);
          undoDepth();
          const std::int32_t depth = ++FLoopDepth;
          undoCounter(depth);
          FLoopCount[depth] = 0;
          FLoopStart[depth] = pos;
          node = next;
          break;
        }
        case OpLoop:
        case OpLoopLazy: {
          if (FLoopDepth == 0) Fail(reLoopWithoutEntry);
          const std::int32_t depth = FLoopDepth;
          const std::int32_t count = FLoopCount[depth];
          const std::int32_t min = ReadInt32(operand);
          const std::int32_t max = ReadInt32(operand + 4);
          const int body = node + ReadInt32(operand + 8);
          const TCountedLoop& info =
              FCountedLoops[static_cast<std::size_t>(FNodeLoop[static_cast<std::size_t>(node)])];
          const std::int32_t bodyMin = info.BodyMin;
          if (count < min) {
            // The iterations still owed need more characters than are left,
            // or the next one cannot start here.
            if (std::int64_t{min - count} * bodyMin > end - pos || !startsAt(info.BodyFirst, pos)) goto fail;
            undoCounter(depth);
            FLoopCount[depth] = count + 1;
            FLoopStart[depth] = pos;
            node = body;
            break;
          }
          // An iteration that matched empty text ends the loop. Another one
          // is tried only where it fits and can start, and the loop is left
          // only where what follows can start.
          const bool more = count < max && !(count > 0 && pos == FLoopStart[depth]) &&
                            end - pos >= bodyMin && startsAt(info.BodyFirst, pos);
          const bool leave = startsAt(info.ExitFirst, pos);
          if (!more && !leave) goto fail;
          if (more && (op == OpLoop || !leave)) {
            if (leave) {
              push({fkLoopExit, node, pos, 0, 0});
              ++choices;
            }
            undoCounter(depth);
            FLoopCount[depth] = count + 1;
            FLoopStart[depth] = pos;
            node = body;
            break;
          }
          if (op == OpLoopLazy && more) {
            push({fkLoopMore, node, pos, count, 0});
            ++choices;
          }
          undoDepth();
          --FLoopDepth;
          node = next;
          break;
        }
        default:
          if (IsOpenCode(op)) {
            const int group = op - OpOpen;
            if (choices > 0) push({fkUndoOpen, group, 0, FOpenP[group], 0});
            FOpenP[group] = pos;
            node = next;
            break;
          }
          if (IsCloseCode(op)) {
            const int group = op - OpClose;
            if (choices > 0) push({fkUndoGroup, group, 0, FStartP[group], FEndP[group]});
            FStartP[group] = FOpenP[group];
            FEndP[group] = pos;
            node = next;
            break;
          }
          Fail(reMemoryCorruption);
      }
      continue;
    }
  fail:
    for (;;) {
      if (top == 0) {
        FSteps = steps;
        FStartP.fill(-1);
        FEndP.fill(-1);
        if (FStack.size() > KeptFrames) std::vector<TFrame>().swap(FStack);
        return false;
      }
      // Field by field: a frame pushed just before is still in the store
      // buffer, and one wide load of it would wait for the stores to drain.
      const TFrame& slot = FStack[--top];
      const TFrame f{slot.Kind, slot.Node, slot.Pos, slot.A, slot.B};
      bool resumed = false;
      switch (f.Kind) {
        case fkUndoOpen:
          FOpenP[f.Node] = f.A;
          break;
        case fkUndoGroup:
          FStartP[f.Node] = f.A;
          FEndP[f.Node] = f.B;
          break;
        case fkUndoCounter:
          FLoopCount[f.Node] = f.A;
          FLoopStart[f.Node] = f.B;
          break;
        case fkUndoDepth:
          FLoopDepth = f.A;
          break;
        case fkRepeatFailed:
          MemoMarkFailedRun(f.Node, f.Pos + 1, f.A);
          break;
        case fkBranch:
          --choices;
          if (f.B >= 0) FLoopMarks[static_cast<std::size_t>(f.B)] = f.A;
          pos = f.Pos;
          node = f.Node;
          resumed = true;
          break;
        case fkRepeatGreedy: {
          --choices;
          const TRepeat r = repeatOf(f.Node);
          const std::int32_t cont = FMemoOn ? MemoRow(nextOf(f.Node)) : -1;
          std::int32_t c = f.A - 1;
          while (c >= r.Min && !worth(r, f.Pos, c, cont)) --c;
          if (c < r.Min) break;
          pushRest(f.Node, f.Pos, r.Min, c, 0, true);
          pos = f.Pos + c * r.Unit;
          node = nextOf(f.Node);
          resumed = true;
          break;
        }
        case fkRepeatLazy: {
          --choices;
          const TRepeat r = repeatOf(f.Node);
          const std::int32_t cont = FMemoOn ? MemoRow(nextOf(f.Node)) : -1;
          std::int32_t c = f.A + 1;
          while (c <= f.B && !worth(r, f.Pos, c, cont)) ++c;
          if (c > f.B) break;
          pushRest(f.Node, f.Pos, r.Min, c, f.B, false);
          pos = f.Pos + c * r.Unit;
          node = nextOf(f.Node);
          resumed = true;
          break;
        }
        case fkLoopExit:
          --choices;
          pos = f.Pos;
          undoDepth();
          --FLoopDepth;
          node = nextOf(f.Node);
          resumed = true;
          break;
        case fkLoopMore: {
          --choices;
          pos = f.Pos;
          const std::int32_t depth = FLoopDepth;
          undoCounter(depth);
          FLoopCount[depth] = f.A + 1;
          FLoopStart[depth] = pos;
          node = f.Node + ReadInt32(prog + f.Node + NodeHeaderSize + 8);
          resumed = true;
          break;
        }
      }
      if (resumed) break;
    }
  }
}

}  // namespace regex

// What a search may cost. Every search counts its steps (a node run, a
// repeat count looked at); at its budget it stops with error 1018.
//
// A backtracking search can try the same state (node, position) again and
// again: once from every start position, or once for every way the pieces
// before it can share out the text. When a program has no back-references,
// what happens from a state depends only on its node, its position and the
// counters of the counted loops around it, so a state that was entered once
// need never be entered again: either it led to the match that ended the
// search, or everything after it failed. A search that has taken many steps
// for its input keeps such a memo, one bit per state, at the nodes where the
// matcher comes back to (choices and what follows them); from then on it runs
// in time bounded by the memo's size. The answer is the same either way.
//
// A simple repeat also passes its failure on along its run: when X* fails at
// position p, where its run of X ends at e, it fails from every start in
// p .. e as well, because each of those can only end at places p already tried.
// Tested by: regex/tests/RegexSearchCostTest.cpp.
#include <algorithm>
#include <bit>

#include "regex/Classes_Regex.h"
#include "regex/RegexProgram.h"

namespace regex {
namespace {

// The memo starts once a search has taken this many steps per character
// searched, and the base, and one start position has taken at least
// MemoAfterStartSteps: many cheap starts are a linear search that the memo
// would only slow down.
constexpr std::int64_t MemoAfterStepsPerChar = 2;
constexpr std::int64_t MemoAfterStepsBase = 4096;
constexpr std::int64_t MemoAfterStartSteps = 1024;
// A search in one pass goes on by backtracking after this many steps per
// character searched, and the base: its starts reread the same text.
constexpr std::int64_t OnePassStepsPerChar = 8;
constexpr std::int64_t OnePassStepsBase = 4096;
// A memo point inside counted loops is kept for at most this many
// combinations of their counters; beyond that it goes without a memo.
constexpr std::int64_t MemoCounterStates = 64;
// The largest memo, in bits (32 MB); a larger one is not started.
constexpr std::int64_t MemoLimitBits = std::int64_t{1} << 28;
// A memo that grew past this many words is given back after its search.
constexpr std::size_t KeptMemoWords = std::size_t{1} << 14;

constexpr std::int32_t NoMemoPoint = -1;
constexpr std::int32_t MemoPointWithoutRow = -2;

}  // namespace

void TRegex::BeginSearch(std::int32_t from) {
  const std::int64_t width = std::int64_t{FInputEnd} - from + 1;
  FSteps = 0;
  FStepBudget = FStepBudgetOverride >= 0 ? FStepBudgetOverride
                                         : RegexStepBudgetBase + RegexStepBudgetPerChar * width;
  const std::int64_t memoAfter =
      FMemoAfterSteps >= 0 ? FMemoAfterSteps : MemoAfterStepsBase + MemoAfterStepsPerChar * width;
  FStepCheck = FMemoAllowed ? std::min(memoAfter, FStepBudget) : FStepBudget;
  FOnePassLimit = OnePassStepsBase + OnePassStepsPerChar * width;
  FMemoOn = false;
  FMemoFrom = from;
  FMemoWidth = static_cast<std::int32_t>(width);
}

void TRegex::EndSearch() {
  if (FMemo.size() > KeptMemoWords) {
    std::vector<std::uint64_t>().swap(FMemo);
    std::vector<std::int32_t>().swap(FRunFrom);
    std::vector<std::int32_t>().swap(FRunEnd);
  }
}

void TRegex::Checkpoint() {
  if (FSteps >= FStepBudget) {
    EndSearch();
    Fail(reStepBudgetExceeded);
  }
  if (!FMemoOn && FMemoAllowed) {
    if (FMemoAfterSteps < 0 && FSteps - FStartSteps < MemoAfterStartSteps) {
      FStepCheck = std::min(FSteps + MemoAfterStartSteps, FStepBudget);
      return;
    }
    StartMemo();
  }
  FStepCheck = FStepBudget;
}

void TRegex::StartMemo() {
  // No counter gets past the number of iterations that consume a character,
  // plus one that matched empty and ended its loop.
  const std::int64_t reach = std::int64_t{FInputEnd} + 1;
  for (TCountedLoop& loop : FCountedLoops) {
    loop.Saturates = loop.Max > reach;
    const std::int64_t states = std::int64_t{loop.Saturates ? loop.Min : loop.Max} + 1;
    loop.States = states > MemoCounterStates ? 0 : static_cast<std::int32_t>(states);
  }
  std::int64_t rows = 0;
  for (std::size_t node = 0; node < FMemoRow.size(); ++node) {
    if (FMemoRow[node] == NoMemoPoint) continue;
    std::int64_t states = 1;
    for (int l = FNodeLoop[node]; l >= 0 && states > 0; l = FCountedLoops[static_cast<std::size_t>(l)].Parent) {
      const TCountedLoop& loop = FCountedLoops[static_cast<std::size_t>(l)];
      states = loop.Depth > RegexLoopDepth ? 0 : states * loop.States;
      if (states > MemoCounterStates) states = 0;
    }
    if (states == 0) {
      FMemoRow[node] = MemoPointWithoutRow;
      continue;
    }
    FMemoRow[node] = static_cast<std::int32_t>(rows);
    rows += states;
  }
  if (rows == 0 || rows * FMemoWidth > MemoLimitBits) return;
  FMemo.assign(static_cast<std::size_t>((rows * FMemoWidth + 63) / 64), 0);
  FRunFrom.assign(static_cast<std::size_t>(rows), -1);
  FRunEnd.assign(static_cast<std::size_t>(rows), -1);
  FMemoOn = true;
}

// Marks the states of positions from .. to - 1 of a row as failed.
void TRegex::MemoMarkFailedRun(std::int32_t row, std::int32_t from, std::int32_t to) {
  for (std::int32_t pos = from; pos < to; ++pos) MemoTestAndSet(row, pos);
}

// The first position in from .. to whose state in a repeat's row is marked,
// or to + 1. Along one run of the repeat's operand the marks above a start
// that has not failed form one block reaching the run's end, so a binary
// search finds it; whatever it lands on is a failed start.
std::int32_t TRegex::MemoFirstFailed(std::int32_t row, std::int32_t from, std::int32_t to) const {
  std::int32_t lo = from;
  std::int32_t hi = to + 1;
  while (lo < hi) {
    const std::int32_t mid = lo + (hi - lo) / 2;
    if (MemoTest(row, mid)) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

// The first position in from .. to whose state in a row is not marked, or
// to + 1; a word of marks at a time.
std::int32_t TRegex::MemoNextClear(std::int32_t row, std::int32_t from, std::int32_t to) const {
  if (from > to) return to + 1;
  const std::uint64_t base = static_cast<std::uint64_t>(row) * static_cast<std::uint64_t>(FMemoWidth);
  std::uint64_t bit = base + static_cast<std::uint64_t>(from - FMemoFrom);
  const std::uint64_t last = base + static_cast<std::uint64_t>(to - FMemoFrom);
  while (bit <= last) {
    const std::uint64_t clear = ~FMemo[bit >> 6] >> (bit & 63);
    if (clear != 0) {
      bit += static_cast<std::uint64_t>(std::countr_zero(clear));
      break;
    }
    bit = (bit | 63) + 1;
  }
  return bit > last ? to + 1 : static_cast<std::int32_t>(bit - base) + FMemoFrom;
}

// Where the run of a simple repeat's operand that passes pos ends. The last
// run found is kept, so visits along one run, in either direction, read each
// character once.
std::int32_t TRegex::MemoRunEnd(int node, int operand, std::int32_t pos) {
  const std::size_t base = static_cast<std::size_t>(FMemoRow[static_cast<std::size_t>(node)]);
  std::int32_t& runFrom = FRunFrom[base];
  std::int32_t& runEnd = FRunEnd[base];
  if (runFrom >= 0 && pos >= runFrom && pos <= runEnd) return runEnd;
  if (runFrom >= 0 && pos < runFrom) {
    const std::int32_t gap = runFrom - pos;
    const std::int32_t n = RegRepeat(operand, pos, gap);
    FSteps += n;
    if (n == gap) {
      runFrom = pos;
      return runEnd;
    }
  }
  const std::int32_t n = RegRepeat(operand, pos, RegexInfinity);
  FSteps += n;
  runFrom = pos;
  runEnd = pos + n;
  return runEnd;
}

}  // namespace regex

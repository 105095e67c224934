// Choosing the next extremal set of the Remez exchange from candidate extrema.
//
// Tested by: platform/lapack/tests/RemezTest.cpp (through RemezSolve).
#include "platform/lapack/RemezInternal.h"

#include <cmath>
#include <functional>
#include <queue>
#include <utility>

namespace lapack::remez {

bool SelectExtremals(std::vector<Candidate>& cands, std::span<const double> x, int count,
                     std::vector<int>& out) {
  // One pass keeps the alternation: a candidate that repeats the sign of the last kept one, or
  // sits at its abscissa (two bands sharing an edge), replaces it only when its error is larger.
  // A replacement may leave the last two kept ones of one sign, which are merged in turn.
  std::vector<Candidate> kept;
  kept.reserve(cands.size());
  for (const Candidate& c : cands) {
    if (!kept.empty() &&
        (kept.back().positive == c.positive || x[kept.back().k] == x[c.k])) {
      if (std::fabs(c.e) > std::fabs(kept.back().e)) kept.back() = c;
      while (kept.size() >= 2 && kept[kept.size() - 2].positive == kept.back().positive) {
        const Candidate last = kept.back();
        kept.pop_back();
        if (std::fabs(last.e) > std::fabs(kept.back().e)) kept.back() = last;
      }
    } else {
      kept.push_back(c);
    }
  }
  // Too many: the smallest error goes, with its smaller neighbour when it is not at an end (two
  // neighbours of opposite signs leave the alternation intact), and the smaller end goes when a
  // single one is left over. The largest errors stay, also where rounding has scattered many
  // small extrema over the grid. A heap finds the smallest; the kept ones form a linked list.
  const int n = static_cast<int>(kept.size());
  if (n < count) return false;
  std::vector<int> prev(n), next(n);
  std::vector<char> gone(n, 0);
  for (int i = 0; i < n; ++i) {
    prev[i] = i - 1;
    next[i] = i + 1 < n ? i + 1 : -1;
  }
  int head = 0, tail = n - 1, alive = n;
  auto size = [&](int i) { return std::fabs(kept[i].e); };
  auto remove = [&](int i) {
    gone[i] = 1;
    --alive;
    if (prev[i] >= 0) next[prev[i]] = next[i]; else head = next[i];
    if (next[i] >= 0) prev[next[i]] = prev[i]; else tail = prev[i];
  };
  using Entry = std::pair<double, int>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> heap;
  for (int i = 0; i < n; ++i) heap.push({size(i), i});
  while (alive > count) {
    if (alive == count + 1) {
      remove(size(head) < size(tail) ? head : tail);
      break;
    }
    int i = -1;
    while (!heap.empty() && i < 0) {
      const int top = heap.top().second;
      heap.pop();
      if (!gone[top]) i = top;
    }
    if (i == head || i == tail) {
      remove(i);
    } else {
      const int other = size(prev[i]) < size(next[i]) ? prev[i] : next[i];
      remove(i);
      remove(other);
    }
  }
  out.clear();
  for (int i = head; i >= 0; i = next[i]) out.push_back(kept[i].k);
  return true;
}

}  // namespace lapack::remez

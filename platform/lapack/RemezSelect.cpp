// Choosing the next extremal set of the Remez exchange from candidate extrema.
//
// Tested by: platform/lapack/tests/RemezTest.cpp (through RemezSolve).
#include "platform/lapack/RemezInternal.h"

#include <cmath>

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
  // Dropping an end keeps the alternation and never drops the largest error.
  std::size_t first = 0, last = kept.size();
  while (last - first > static_cast<std::size_t>(count)) {
    if (std::fabs(kept[first].e) < std::fabs(kept[last - 1].e))
      ++first;
    else
      --last;
  }
  if (last - first < static_cast<std::size_t>(count)) return false;
  out.clear();
  for (std::size_t i = first; i < last; ++i) out.push_back(kept[i].k);
  return true;
}

}  // namespace lapack::remez

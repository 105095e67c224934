// The Remez exchange iteration (Parks-McClellan): level the weighted error on an extremal set,
// move the set to the extrema of the new error, repeat until the error is level on the grid.
//
// Each iteration searches around the current extremal points only, which costs a few
// evaluations per point. When that search finds nothing to move, or the levelled deviation stops
// growing, the error is evaluated on the whole grid: that scan decides convergence, and catches
// any extremum the local search could not see, by an exchange over every extremum of the grid.
//
// Tested by: platform/lapack/tests/RemezTest.cpp, RemezOracleTest.cpp.
#include "platform/lapack/Remez.h"
#include "platform/lapack/RemezInternal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

namespace lapack {
namespace {

using remez::Candidate;
using remez::Interpolant;

// Below this relative gap the whole-grid scan stops the iteration even when it found another set:
// the remaining exchanges would move the deviation by less than the rounding of the evaluation.
constexpr double kPolishTolerance = 1e-9;

// The levelled deviation grows at every exchange; when it has not grown by more than this
// (relative) for kStallLimit iterations in a row, the exchange has stalled. A fall counts as no
// growth too: in exact arithmetic the deviation never falls, so a fall is rounding at work.
constexpr double kGrowth = 1e-12;
constexpr int kStallLimit = 3;

// A numerator of the levelled deviation within this many units of rounding of the sum of the
// magnitudes of its terms is rounding. Where the deviation is rounding, the numerator lies within
// a few units of it; where it carries a level, mostly hundreds of units and more beyond it.
constexpr double kNumeratorRounding = 8;

// Relative to the largest weighted target, the size of rounding in the weighted error: a design
// whose error is this small cannot be levelled in double precision.
constexpr double kRoundingFloor = 64 * std::numeric_limits<double>::epsilon();

// The grid as the iteration sees it: the points with a non-zero weight, at abscissa cos(2 pi g).
struct ActiveGrid {
  std::vector<double> x, d, w;
  std::vector<int> origin;  // position in the caller's grid
};

class Exchange {
 public:
  // Errors below `noise` are rounding: they have no sign and are never extrema.
  Exchange(const ActiveGrid& g, int count, double noise)
      : g_(g), count_(count), noise_(noise), errors_(g.x.size()), stamp_(g.x.size(), 0) {}

  // Levels the error on `set`. False (and nothing changed) when the arithmetic breaks down.
  bool Level(const std::vector<int>& set) {
    Interpolant next;
    next.x.resize(count_);
    next.y.resize(count_);
    for (int j = 0; j < count_; ++j) next.x[j] = g_.x[set[j]];
    if (!remez::ComputeWeights(next)) return false;
    double num = 0, den = 0, size = 0;
    for (int j = 0; j < count_; ++j) {
      const int k = set[j];
      num += next.b[j] * g_.d[k];
      size += std::fabs(next.b[j] * g_.d[k]);
      den += (j % 2 == 0 ? next.b[j] : -next.b[j]) / g_.w[k];
    }
    const double delta = num / den;
    if (!std::isfinite(delta)) return false;
    for (int j = 0; j < count_; ++j) {
      const int k = set[j];
      next.y[j] = g_.d[k] - (j % 2 == 0 ? delta : -delta) / g_.w[k];
      if (!std::isfinite(next.y[j])) return false;
    }
    ip_ = std::move(next);
    set_ = set;
    delta_ = delta;
    rounding_ = std::fabs(num) <= kNumeratorRounding * std::numeric_limits<double>::epsilon() * size;
    ++epoch_;
    for (int j = 0; j < count_; ++j) Remember(set_[j], NodeError(j));
    return true;
  }

  double Deviation() const { return std::fabs(delta_); }
  // Whether the deviation's numerator lies within the rounding of its terms: then the
  // polynomial through the targets meets them all, as where the set misses a band or where the
  // deviation lies below double precision, and the deviation is only rounding.
  bool Rounding() const { return rounding_; }
  const std::vector<int>& Set() const { return set_; }

  // A levelled state, kept so that the iteration can fall back to its best one.
  struct Snapshot {
    Interpolant ip;
    std::vector<int> set;
    double delta = 0;
    double largest = std::numeric_limits<double>::infinity();
  };
  Snapshot Save(double largest) const { return {ip_, set_, delta_, largest}; }
  void Restore(const Snapshot& s) {
    ip_ = s.ip;
    set_ = s.set;
    delta_ = s.delta;
    ++epoch_;
  }

  // The next extremal set from a search around the current one (the current set when nothing
  // better is found).
  std::vector<int> LocalStep() {
    const int grid = static_cast<int>(g_.x.size());
    std::vector<int> pos(set_), dir(count_, 0), pending;
    auto isNode = [&](int k, int j) {
      return (j > 0 && set_[j - 1] == k) || (j + 1 < count_ && set_[j + 1] == k);
    };
    for (int j = 0; j < count_; ++j) {
      const int k = set_[j];
      if (k > 0 && !isNode(k - 1, j)) pending.push_back(k - 1);
      if (k + 1 < grid && !isNode(k + 1, j)) pending.push_back(k + 1);
    }
    Errors(pending);
    std::vector<int> walking;
    for (int j = 0; j < count_; ++j) {
      const int k = set_[j];
      const double s = Sign(j), here = s * errors_[k];
      if (k + 1 < grid && !isNode(k + 1, j) && s * errors_[k + 1] > here) {
        pos[j] = k + 1;
        dir[j] = 1;
      } else if (k > 0 && !isNode(k - 1, j) && s * errors_[k - 1] > here) {
        pos[j] = k - 1;
        dir[j] = -1;
      }
      if (dir[j] != 0) walking.push_back(j);
    }
    // Walk every moving point uphill in its direction, one batch of evaluations per step.
    // Between two extremal points the error changes sign, so a walk never reaches a neighbour.
    while (!walking.empty()) {
      pending.clear();
      std::vector<int> still;
      for (int j : walking) {
        const int next = pos[j] + dir[j];
        const bool inside = dir[j] > 0 ? (next < grid && (j + 1 == count_ || next < set_[j + 1]))
                                       : (next >= 0 && (j == 0 || next > set_[j - 1]));
        if (inside) {
          pending.push_back(next);
          still.push_back(j);
        }
      }
      Errors(pending);
      walking.clear();
      for (int j : still) {
        const int next = pos[j] + dir[j];
        if (Sign(j) * errors_[next] > Sign(j) * errors_[pos[j]]) {
          pos[j] = next;
          walking.push_back(j);
        }
      }
    }
    std::vector<Candidate> cands;
    EndCandidates(0, pos.front(), 0, cands);
    for (int j = 0; j < count_; ++j) cands.push_back({pos[j], errors_[pos[j]], Sign(j) > 0});
    EndCandidates(pos.back() + 1, grid, count_ - 1, cands);
    std::vector<int> next;
    if (!remez::SelectExtremals(cands, g_.x, count_, next)) return set_;
    return next;
  }

  // Evaluates the error on the whole grid; `next` receives the set of the largest alternating
  // extrema (the current set when none is found). Returns the largest absolute error.
  double FullStep(std::vector<int>& next) {
    const int grid = static_cast<int>(g_.x.size());
    std::vector<int> all(grid);
    for (int k = 0; k < grid; ++k) all[k] = k;
    Errors(all);
    const double least = std::max(Deviation(), noise_);
    double largest = 0;
    // The largest error of each run of one sign is a candidate, and so is every point of the
    // current set: where the levelled error is 0, those keep the alternation going, and where
    // it is rounding, the few true extrema replace some of them instead of a scatter of signs.
    std::vector<Candidate> cands;
    for (int j = 0; j < count_; ++j) cands.push_back({set_[j], NodeError(j), Sign(j) > 0});
    auto flush = [&](int best, int sign) {
      if (sign != 0 && std::fabs(errors_[best]) >= least) cands.push_back({best, errors_[best], sign > 0});
    };
    int best = 0, runSign = 0;
    for (int k = 0; k < grid; ++k) {
      const double e = errors_[k];
      const double a = std::fabs(e);
      if (a > largest) largest = a;
      if (!(a <= largest)) largest = std::numeric_limits<double>::infinity();  // NaN
      const int sign = e > noise_ ? 1 : (e < -noise_ ? -1 : 0);
      if (sign != runSign) {
        flush(best, runSign);
        runSign = sign;
        best = k;
      } else if (a > std::fabs(errors_[best])) {
        best = k;
      }
    }
    if (grid > 0) flush(best, runSign);
    std::stable_sort(cands.begin(), cands.end(),
                     [](const Candidate& a, const Candidate& b) { return a.k < b.k; });
    cands.erase(std::unique(cands.begin(), cands.end(),
                            [](const Candidate& a, const Candidate& b) { return a.k == b.k; }),
                cands.end());
    if (!remez::SelectExtremals(cands, g_.x, count_, next)) next = set_;
    return largest;
  }

  // Cosine coefficients of the current polynomial.
  void Coefficients(std::span<double> alpha) const { remez::CosineCoefficients(ip_, alpha); }

 private:
  double Sign(int j) const { return (j % 2 == 0) == (delta_ >= 0) ? 1.0 : -1.0; }
  double NodeError(int j) const { return j % 2 == 0 ? delta_ : -delta_; }

  void Remember(int k, double e) {
    errors_[k] = e;
    stamp_[k] = epoch_;
  }

  // Makes errors_[k] current for every k in ks.
  void Errors(const std::vector<int>& ks) {
    std::vector<int> todo;
    std::vector<double> at;
    for (int k : ks) {
      if (stamp_[k] == epoch_) continue;
      stamp_[k] = epoch_;  // also guards against duplicates in ks
      todo.push_back(k);
      at.push_back(g_.x[k]);
    }
    std::vector<double> value(todo.size());
    remez::Evaluate(ip_, at, value);
    for (std::size_t i = 0; i < todo.size(); ++i) {
      const int k = todo[i];
      errors_[k] = g_.w[k] * (g_.d[k] - value[i]);
    }
  }

  // Candidates in [from, to), beyond the extremal point j at an end of the set: the largest
  // error of the opposite sign (a new extremum outside the set), and a larger one of the same sign.
  void EndCandidates(int from, int to, int j, std::vector<Candidate>& cands) {
    if (from >= to) return;
    std::vector<int> region;
    for (int k = from; k < to; ++k) region.push_back(k);
    Errors(region);
    const double s = Sign(j), least = std::max(Deviation(), noise_);
    int opposite = -1, same = -1;
    for (int k = from; k < to; ++k) {
      if (-s * errors_[k] >= least && (opposite < 0 || -s * errors_[k] > -s * errors_[opposite]))
        opposite = k;
      if (s * errors_[k] > least && (same < 0 || s * errors_[k] > s * errors_[same]))
        same = k;
    }
    Candidate pick[2] = {{opposite, 0, s < 0}, {same, 0, s > 0}};
    if (pick[0].k > pick[1].k) std::swap(pick[0], pick[1]);
    for (Candidate& c : pick) {
      if (c.k < 0) continue;
      c.e = errors_[c.k];
      cands.push_back(c);
    }
  }

  const ActiveGrid& g_;
  const int count_;
  const double noise_;
  Interpolant ip_;
  std::vector<int> set_;
  double delta_ = 0;
  bool rounding_ = false;
  std::vector<double> errors_;
  std::vector<int> stamp_;
  int epoch_ = 0;
};

// count positions spread evenly over the candidates.
std::vector<int> Spread(const std::vector<int>& from, int count) {
  std::vector<int> set(count);
  const std::int64_t last = static_cast<std::int64_t>(from.size()) - 1;
  for (int j = 0; j < count; ++j) set[j] = from[static_cast<std::size_t>(j * last / (count - 1))];
  return set;
}

}  // namespace

RemezOutcome RemezSolve(std::span<const double> grid, std::span<const double> des,
                        std::span<const double> wt, int nfcns, std::span<int> extremals,
                        std::span<double> alpha) {
  RemezOutcome out;
  out.Deviation = std::numeric_limits<double>::infinity();
  out.Status = RemezBadInput;
  if (nfcns < 1 || alpha.size() < static_cast<std::size_t>(nfcns) ||
      extremals.size() < static_cast<std::size_t>(nfcns) + 1 || des.size() != grid.size() ||
      wt.size() != grid.size())
    return out;
  const int count = nfcns + 1;
  std::fill(alpha.begin(), alpha.begin() + nfcns, 0.0);
  for (std::size_t k = 0; k < grid.size(); ++k)
    if (!std::isfinite(grid[k]) || !std::isfinite(des[k]) || !std::isfinite(wt[k])) return out;

  // Points of zero weight constrain nothing. `distinct` lists the usable points, one per abscissa
  // (where two bands share an edge, the first of the two).
  ActiveGrid g;
  std::vector<int> activeOf(grid.size(), -1), distinct;
  for (std::size_t k = 0; k < grid.size(); ++k) {
    if (wt[k] == 0) continue;
    activeOf[k] = static_cast<int>(g.x.size());
    g.x.push_back(std::cos(2 * std::numbers::pi * grid[k]));
    g.d.push_back(des[k]);
    g.w.push_back(std::fabs(wt[k]));
    g.origin.push_back(static_cast<int>(k));
    if (distinct.empty() || g.x[distinct.back()] != g.x.back())
      distinct.push_back(static_cast<int>(g.x.size()) - 1);
  }
  if (distinct.size() < static_cast<std::size_t>(count)) {
    out.Status = RemezGridTooSmall;
    return out;
  }

  // The caller's start when it is usable: ascending, distinct abscissae, non-zero weights.
  std::vector<int> set(count);
  bool usable = true;
  for (int j = 0; j < count && usable; ++j) {
    const int k = extremals[j];
    usable = k >= 0 && static_cast<std::size_t>(k) < grid.size() && activeOf[k] >= 0;
    if (usable) set[j] = activeOf[k];
    if (usable && j > 0) usable = set[j] > set[j - 1] && g.x[set[j]] != g.x[set[j - 1]];
  }
  if (!usable) set = Spread(distinct, count);

  // Below this the largest error is rounding, and no exchange can lower it.
  double scale = 0;
  for (std::size_t k = 0; k < g.x.size(); ++k) scale = std::max(scale, std::fabs(g.w[k] * g.d[k]));
  const double floor = kRoundingFloor * scale;
  Exchange ex(g, count, floor);
  Exchange::Snapshot best;  // the state with the smallest largest error seen on the whole grid
  bool levelled = false, finished = false, restarted = false, beyondRounding = false;
  bool gaveUp = false;  // ended on a restart that did not take, without a scan of its own
  double largest = std::numeric_limits<double>::quiet_NaN(), highest = 0;
  // stall: iterations in a row in which the deviation did not grow.
  int stall = 0, iter = 0;
  out.Status = RemezNoConvergence;
  for (iter = 1; iter <= RemezIterationLimit; ++iter) {
    if (!ex.Level(set)) {
      out.Status = RemezBreakdown;
      break;
    }
    levelled = true;
    const double dev = ex.Deviation();
    // A deviation that is only rounding does not grow, however it moves.
    const bool grew = !ex.Rounding() && dev > highest * (1 + kGrowth);
    stall = grew ? 0 : stall + 1;
    beyondRounding = beyondRounding || !ex.Rounding();
    highest = std::max(highest, dev);
    // A restart whose level is still rounding after as many rounds as end any stalled exchange
    // has not taken, and the exchange ends here with the best state scanned on the whole grid.
    // This state goes unscanned: its level is rounding like every one before it, and a scan
    // would cost as much as all the rounds since the restart to confirm what they show.
    if (restarted && !beyondRounding && stall >= kStallLimit && std::isfinite(best.largest)) {
      gaveUp = true;
      break;
    }
    std::vector<int> next = ex.LocalStep();
    if (next != set && stall < kStallLimit) {
      set = std::move(next);
      continue;
    }
    // The scan of the whole grid is the convergence test.
    std::vector<int> full;
    largest = ex.FullStep(full);
    if (largest < best.largest) best = ex.Save(largest);
    const double gap = largest > 0 ? (largest - dev) / largest : 0;
    if (gap <= kPolishTolerance || full == set || largest <= floor) {
      finished = true;
      break;
    }
    if (stall >= kStallLimit) {
      // The test failed on a stalled exchange, which no further round will get going: it ends
      // here rather than at the iteration limit. Except once, for a deviation that never was
      // more than rounding: a start whose points all sit where one polynomial meets every target
      // levels at 0, and an exchange over the whole grid gets it going.
      if (beyondRounding || restarted) {
        finished = true;
        break;
      }
      restarted = true;
      stall = 0;
    }
    set = std::move(full);
  }
  out.Iterations = std::min(iter, RemezIterationLimit);
  if (!levelled) {
    out.Status = RemezBreakdown;
    return out;
  }
  if (gaveUp) {
    ex.Restore(best);
    largest = best.largest;
  } else if (!finished) {
    std::vector<int> unused;
    largest = ex.FullStep(unused);
  }
  // Where rounding drove the last exchanges, an earlier state can be the better one.
  if (std::isfinite(best.largest) && !(largest <= best.largest)) {
    ex.Restore(best);
    largest = best.largest;
  }
  const double dev = ex.Deviation();
  const bool converged = std::isfinite(largest) && largest - dev <= RemezConvergenceTolerance * largest;
  out.Status = converged ? RemezConverged : out.Status == RemezBreakdown ? RemezBreakdown : RemezNoConvergence;
  ex.Coefficients(alpha.first(nfcns));
  if (!std::all_of(alpha.begin(), alpha.begin() + nfcns, [](double a) { return std::isfinite(a); })) {
    std::fill(alpha.begin(), alpha.begin() + nfcns, 0.0);
    out.Status = RemezBreakdown;
    out.Deviation = std::numeric_limits<double>::infinity();
  } else {
    // The coefficients are what the caller gets, so the deviation it is told is theirs. Near
    // the limits of double precision they can miss the level that the interpolant reached (a
    // design of 1001 taps levelled at 8e-14 has coefficients that reach 5e-8): then the design
    // has not converged, and its deviation is their largest weighted error on the grid.
    const std::vector<double> fitted = remez::ChebyshevSum(alpha.first(nfcns), g.x);
    double worst = 0;
    for (std::size_t k = 0; k < fitted.size(); ++k)
      worst = std::max(worst, std::fabs(g.w[k] * (g.d[k] - fitted[k])));
    if (out.Status == RemezConverged && worst - dev <= RemezConvergenceTolerance * worst) {
      out.Deviation = dev;
    } else {
      if (out.Status == RemezConverged) out.Status = RemezNoConvergence;
      out.Deviation = worst;
    }
  }
  for (int j = 0; j < count; ++j) extremals[j] = g.origin[ex.Set()[j]];
  return out;
}

}  // namespace lapack

// The workbench's own Parks-McClellan (Remez) exchange for symmetric filters:
// dense grid, barycentric interpolation, exchange step and frequency sampling.
// Tested by: tests/ExchangeTest.cpp, tests/DesignOracleTest.cpp,
// tests/ExchangeSweepTest.cpp
#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>
#include <string>

#include "workbench/logic/Classes_Remez.h"
#include "workbench/logic/Classes_Remez_Math.h"

namespace workbench {

using detail::Round32;

namespace {

constexpr double Pi = std::numbers::pi;
// The cosines here take the double cosine of the C library: the exchange
// evaluates one per grid point and round, and the numeric core's extended
// cosine would make a design five times slower for no digit of the result.

// Only a denominator whose reciprocal would overflow is raised to this floor.
// A floor of 1e-5 (as the exchange was first laid out) clamps true
// denominators: those of long designs fall below it in the first rounds (to
// 4e-6 for 301 taps of the default low-pass), the clamped weights no longer
// describe the polynomial through the extremals, and some such designs never
// converge (a band-pass of 383 taps that scipy designs; of 400 random filters,
// 86 instead of 67 reach the iteration limit).
constexpr double InterpolationGuard = 1e-300;
// Frequencies closer than this to an extremal take its value directly.
const double CoincidenceTolerance = static_cast<double>(PowerEx(10, -7));
constexpr double StopThreshold = 0.0001;

bool KeepRunning(const TExchangeMonitor* monitor) {
  return monitor == nullptr || !monitor->Running || monitor->Running();
}

}  // namespace

int ExchangeExtremalCount(int taps) {
  const int half = Round32(static_cast<long double>(taps) / 2);
  return 2 * half != taps ? half + 1 : half;
}

int BuildDenseGrid(TDesignWorkspace& ws, int r, int bands) {
  const double delf = 0.5 / (static_cast<double>(ws.GridDensity) * r);
  int j = 0;
  ws.GridBandStarts.clear();
  for (int b = 0; b < bands; ++b) {
    double lowf = ws.BandEdges[2 * b];
    const double highf = ws.BandEdges[2 * b + 1];
    int k = Round32((highf - lowf) / delf);
    // A band too narrow for a point of its own replaces the last point of the
    // band before it; the first band has none before it and keeps one point.
    if (k < 1 && j == 0) k = 1;
    if (k < 0) k = 0;
    if (j + k > GridCapacity) throw EFilterCheck(msgBandsTooNarrow);
    if (b > 0 && k > 0) ws.GridBandStarts.push_back(j);
    for (int i = 0; i < k; ++i) {
      ws.Grid[j] = lowf;
      ws.D[j] = ws.BandGains[b];
      ws.W[j] = ws.BandWeights[b];
      lowf += delf;
      ++j;
    }
    ws.Grid[j - 1] = highf;
  }
  ws.GridSize = j;
  return j;
}

void InitialExtremals(TDesignWorkspace& ws, int r, int gridSize) {
  for (int i = 0; i <= r; ++i)
    ws.Ext[i] = Round32(static_cast<long double>(i) * (gridSize - 1) / r);
}

void ComputeInterpolation(TDesignWorkspace& ws, int r) {
  for (int i = 0; i <= r; ++i) ws.x[i] = std::cos(2 * Pi * ws.Grid[ws.Ext[i]]);

  // The products take their factors interleaved by a stride, which keeps
  // their magnitude from drifting as it would in index order.
  const int ld = Round32(static_cast<long double>(r - 1) / 15) + 1;
  for (int i = 0; i <= r; ++i) {
    double denom = 1.0;
    for (int j = 0; j < ld; ++j)
      for (int k = j; k <= r; k += ld)
        if (k != i) denom *= 2.0 * (ws.x[i] - ws.x[k]);
    if (std::fabs(denom) < InterpolationGuard) denom = InterpolationGuard;
    ws.ad[i] = 1.0 / denom;
  }

  double numer = 0.0;
  double den = 0.0;
  double sign = 1.0;
  for (int i = 0; i <= r; ++i) {
    numer += ws.ad[i] * ws.D[ws.Ext[i]];
    den += sign * ws.ad[i] / ws.W[ws.Ext[i]];
    sign = -sign;
  }
  const double delta = den != 0.0 ? numer / den : 0.0;

  sign = 1.0;
  for (int i = 0; i <= r; ++i) {
    ws.y[i] = ws.D[ws.Ext[i]] - sign * delta / ws.W[ws.Ext[i]];
    sign = -sign;
  }
}

double EvaluateResponse(const TDesignWorkspace& ws, int r, double frequency) {
  const double xc = std::cos(2 * Pi * frequency);
  double numer = 0.0;
  double den = 0.0;
  for (int i = 0; i <= r; ++i) {
    double c = xc - ws.x[i];
    if (std::fabs(c) < CoincidenceTolerance) return ws.y[i];
    c = ws.ad[i] / c;
    den += c;
    numer += c * ws.y[i];
  }
  return den != 0.0 ? numer / den : 0.0;
}

namespace {

// The polynomial through the extremals in the first barycentric form: with a
// constant c, P = c + (product of the factors 2 (xc - x[i])) times half the
// sum of ad[i] (y[i] - c) / (xc - x[i]).
//
// The exchange's error scan evaluates the polynomial this way and not by
// EvaluateResponse's quotient form (the sum of ad[i] y[i] / (xc - x[i])
// divided by the sum of ad[i] / (xc - x[i])), which is accurate only while
// the extremals are spread well. The first rounds of a long design start from
// sets far from that: their weights span twenty and more orders of magnitude,
// the quotient's denominator is then the rounding left over from the
// cancellation of its largest terms, and the response evaluates to about 0
// over the whole pass band. The exchange chases that rounding instead of the
// error and collapses (301 taps of the default low-pass ended after 40 rounds
// at a response summing to 1e-9). The product has no such cancellation; its
// factors of 2 match those of the weights, and it is renormalised every 16
// factors.
//
// Its rounding grows with the terms of the sum, and the largest terms belong
// to the nodes of the largest weights. So c is the value at the node of the
// largest weight, which takes those terms out wherever their nodes share one
// value (the stop band of a long low-pass). And a set that misses a narrow
// band, whose values are then all one gain, gets that gain back exactly, as
// from the quotient form: the flat error there has no extrema of rounding
// for the search to take.
//
// The response of the final set is sampled by EvaluateResponse: on a
// converged set the quotient form is the more accurate of the two.
double EvaluateProductForm(const TDesignWorkspace& ws, int r, double frequency, double centre) {
  const double xc = std::cos(2 * Pi * frequency);
  double sum = 0.0;
  double prod = 1.0;
  int scale = 0;
  for (int i = 0; i <= r; ++i) {
    const double c = xc - ws.x[i];
    if (std::fabs(c) < CoincidenceTolerance) return ws.y[i];
    sum += ws.ad[i] * (ws.y[i] - centre) / c;
    prod *= 2.0 * c;
    if ((i & 15) == 15) {
      int e = 0;
      prod = std::frexp(prod, &e);
      scale += e;
    }
  }
  return centre + std::ldexp(prod * sum * 0.5, scale);
}

}  // namespace

void ComputeGridError(TDesignWorkspace& ws, int r, int gridSize) {
  int heaviest = 0;
  for (int i = 1; i <= r; ++i)
    if (std::fabs(ws.ad[i]) > std::fabs(ws.ad[heaviest])) heaviest = i;
  const double centre = ws.y[heaviest];
  for (int i = 0; i < gridSize; ++i)
    ws.E[i] = ws.W[i] * (ws.D[i] - EvaluateProductForm(ws, r, ws.Grid[i], centre));
}

void SearchExtremals(TDesignWorkspace& ws, int r, int gridSize) {
  const std::vector<double>& E = ws.E;
  const int G = gridSize;
  std::vector<int> found;
  found.reserve(static_cast<std::size_t>(G));

  // Each band is searched on its own: a point is compared with its
  // neighbours, except across a transition band. There the error jumps, and
  // comparing the last point of one band with the first of the next lets a
  // larger error in one band hide an extremum of the other. (A band-pass of
  // 186 taps lost the first point of its upper stop band behind the error at
  // the end of its pass band in every round, and stalled at a levelled
  // deviation of about 0.)
  int begin = 0;
  for (std::size_t b = 0; b <= ws.GridBandStarts.size(); ++b) {
    const int end = b < ws.GridBandStarts.size() ? std::clamp(ws.GridBandStarts[b], begin, G) : G;
    for (int i = begin; i < end; ++i) {
      const bool left = i > begin, right = i + 1 < end;
      // The last point of the grid must exceed its left neighbour; inside
      // the grid, matching the left neighbour is enough.
      const bool strictLeft = i == G - 1;
      const double e = E[i];
      const bool maximum = e > 0 && (!left || (strictLeft ? e > E[i - 1] : e >= E[i - 1])) && (!right || e > E[i + 1]);
      const bool minimum = e < 0 && (!left || (strictLeft ? e < E[i - 1] : e <= E[i - 1])) && (!right || e < E[i + 1]);
      if (maximum || minimum) found.push_back(i);
    }
    begin = end;
  }

  // Too few extremals (a band the current set misses entirely leaves the
  // error flat there): keep the previous ones beside those found, so the set
  // stays ordered and distinct instead of repeating grid point 0, from which
  // the exchange would never recover.
  if (static_cast<int>(found.size()) < r + 1) {
    std::vector<int> merged;
    merged.reserve(found.size() + static_cast<std::size_t>(r) + 1);
    std::merge(found.begin(), found.end(), ws.Ext.begin(), ws.Ext.begin() + r + 1, std::back_inserter(merged));
    merged.erase(std::unique(merged.begin(), merged.end()), merged.end());
    found = std::move(merged);
  }

  // Too many extremals: drop the smallest error, or where two neighbours do
  // not alternate the smaller of those two; the last one to go is whichever
  // end has the smaller error. (Dropping the smallest error seen before the
  // break instead, wherever it lies, can leave the pair that broke the
  // alternation in the set: the levelled deviation of such a set means
  // nothing, and the exchange then cycles between two sets without end.)
  int extra = static_cast<int>(found.size()) - (r + 1);
  while (extra > 0) {
    const int k = static_cast<int>(found.size());
    bool up = E[found[0]] > 0;
    int l = 0;
    bool alternating = true;
    for (int j = 1; j < k; ++j) {
      if (std::fabs(E[found[j]]) < std::fabs(E[found[l]])) l = j;
      if (up && E[found[j]] < 0) {
        up = false;
      } else if (!up && E[found[j]] > 0) {
        up = true;
      } else {
        alternating = false;
        l = std::fabs(E[found[j]]) < std::fabs(E[found[j - 1]]) ? j : j - 1;
        break;
      }
    }
    if (alternating && extra == 1) l = std::fabs(E[found[k - 1]]) < std::fabs(E[found[0]]) ? k - 1 : 0;
    found.erase(found.begin() + l);
    --extra;
  }

  for (int i = 0; i <= r; ++i)
    ws.Ext[i] = static_cast<std::size_t>(i) < found.size() ? found[i] : 0;
}

bool ExchangeConverged(const TDesignWorkspace& ws, int r) {
  double min = std::fabs(ws.E[ws.Ext[0]]);
  double max = min;
  for (int i = 1; i <= r; ++i) {
    const double v = std::fabs(ws.E[ws.Ext[i]]);
    if (v < min) min = v;
    if (v > max) max = v;
  }
  return (max - min) / max < StopThreshold;
}

void FrequencySampling(TDesignWorkspace& ws, int taps) {
  const int N = taps;
  const double M = (N - 1) / 2.0;
  const int K = (N % 2 != 0) ? (N - 1) / 2 : N / 2 - 1;
  for (int n = 0; n < N; ++n) {
    const double xn = 2 * Pi * (n - M) / N;
    double val = ws.A[0];
    for (int k = 1; k <= K; ++k) val += 2.0 * ws.A[k] * std::cos(k * xn);
    ws.ImpulseResponse[n] = val / N;
  }
}

TDesignStatus RemezExchangeDesign(TDesignWorkspace& ws, int taps, int bands, const TExchangeMonitor* monitor) {
  ws.IterationLimitReached = 0;
  const int N = taps;
  const int r = ExchangeExtremalCount(N);
  if (N < 1 || N > ImpulseCapacity || r + 1 > ExtremalCapacity || Round32(N / 2.0L) + 1 > ExtremalCapacity)
    throw EFilterCheck(msgBadOrder + std::to_string(N));
  if (bands < 1 || bands > 3 || ws.GridDensity < 1) throw EFilterCheck(msgBandsTooNarrow);

  const int G = BuildDenseGrid(ws, r, bands);
  // The exchange compares neighbours on the grid and needs distinct extremals.
  if (G < 2) throw EFilterCheck(msgBandsTooNarrow);
  InitialExtremals(ws, r, G);

  if (N % 2 == 0) {
    // An even-length symmetric filter is cos(pi f) times a cosine series.
    for (int i = 0; i < G; ++i) {
      const double c = std::cos(Pi * ws.Grid[i]);
      ws.D[i] /= c;
      ws.W[i] *= c;
    }
  }

  int round = 0;
  for (; round < MaxIterations; ++round) {
    if (monitor != nullptr && monitor->OnRound) monitor->OnRound(round + 1);
    ComputeInterpolation(ws, r);
    if (!KeepRunning(monitor)) return dsStopped;
    ComputeGridError(ws, r, G);
    if (!KeepRunning(monitor)) return dsStopped;
    SearchExtremals(ws, r, G);
    if (!KeepRunning(monitor)) return dsStopped;
    if (ExchangeConverged(ws, r)) break;
  }
  if (round == MaxIterations) {
    ws.IterationLimitReached = 1;
  } else {
    ComputeInterpolation(ws, r);
  }

  const int half = Round32(N / 2.0L);
  for (int i = 0; i <= half; ++i) {
    const double c = (N % 2 == 0) ? std::cos(Pi * i / N) : 1.0;
    ws.A[i] = EvaluateResponse(ws, r, static_cast<double>(i) / N) * c;
  }
  FrequencySampling(ws, N);
  return ws.IterationLimitReached ? dsIterationLimit : dsDone;
}

}  // namespace workbench

// Private pieces of the Remez exchange: the barycentric interpolant through an extremal set and
// the selection of a new extremal set. Not part of the layer's interface.
//
// Tested by: platform/lapack/tests/RemezTest.cpp (through RemezSolve).
#pragma once

#include <span>
#include <vector>

namespace lapack::remez {

// The polynomial through the extremal set, in barycentric form:
//   P(t) = sum_j b[j] y[j] / (t - x[j])  /  sum_j b[j] / (t - x[j]).
// The weights carry a common power-of-two factor: b[j] = 2^scale / prod_{i != j} (x[j] - x[i]),
// so that their magnitudes stay in range for thousands of nodes.
struct Interpolant {
  std::vector<double> x;
  std::vector<double> b;
  std::vector<double> y;
  int scale = 0;
};

// Fills b and scale from x (distinct abscissae). False when a weight is not finite.
bool ComputeWeights(Interpolant& p);

// Values of P at the points `at` (second barycentric form, for points among the nodes).
// Every point goes through the same arithmetic whichever batch it comes in, so a value computed
// twice is the same value.
void Evaluate(const Interpolant& p, std::span<const double> at, std::span<double> out);

// P(t) by the first barycentric form, which stays backward stable away from the nodes too.
double EvaluateFirstForm(const Interpolant& p, double t);

// The coefficients of P(cos(2 pi g)) = sum_k alpha[k] cos(2 pi k g), k < alpha.size(), from its
// values at the Chebyshev points of [-1, 1] (alpha.size() of them).
void CosineCoefficients(const Interpolant& p, std::span<double> alpha);

// sum alpha[k] T_k(t) at every point of `at`.
std::vector<double> ChebyshevSum(std::span<const double> alpha, std::span<const double> at);

// A candidate extremum: grid position, weighted error there, and the sign it stands for. The sign
// is the error's own, except at a point of the current extremal set, which keeps the sign of its
// place in the alternation even where the levelled error is exactly 0.
struct Candidate {
  int k;
  double e;
  bool positive;
};

// Reduces candidates (ascending positions) to `count` alternating extrema: neighbours of one sign
// keep the larger error, neighbours at the same abscissa keep the larger error, and while there
// are too many the smallest errors go, in a way that keeps the alternation. False when fewer than
// `count` remain.
bool SelectExtremals(std::vector<Candidate>& cands, std::span<const double> x, int count,
                     std::vector<int>& out);

}  // namespace lapack::remez

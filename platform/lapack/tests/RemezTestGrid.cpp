// Builds grids the way scipy.signal.remez does, for comparing the exchange with it.
//
// Covers: platform/lapack/RemezSolve.cpp (as input to it).
#include "platform/lapack/tests/RemezTestGrid.h"

#include <cmath>
#include <numbers>

namespace lapack::testing {
namespace {

constexpr double kPi = std::numbers::pi;

double Desired(double f, double fx, ScipyType type) { return type == kDifferentiator ? fx * f : fx; }

double Weight(double f, double fx, double wtx, ScipyType type) {
  if (type == kDifferentiator && fx >= 0.0001) return wtx / f;
  return wtx;
}

}  // namespace

TestGrid ScipyGrid(int numtaps, const std::vector<double>& bands,
                   const std::vector<double>& desired, const std::vector<double>& weights,
                   ScipyType type, int density) {
  TestGrid g;
  g.numtaps = numtaps;
  const bool neg = type != kBandpass;
  const int nodd = numtaps % 2;
  g.antisymmetric = neg;
  g.nfcns = numtaps / 2 + ((nodd == 1 && !neg) ? 1 : 0);
  const double delf = 0.5 / (density * g.nfcns);
  const int nbands = static_cast<int>(desired.size());
  for (int band = 0; band < nbands; ++band) {
    double lo = bands[2 * band];
    const double hi = bands[2 * band + 1];
    if (band == 0 && neg && lo < delf) lo = delf;
    // Steps of delf from the lower edge while below the upper edge; the last point is the edge.
    double f = lo;
    for (;;) {
      g.grid.push_back(f);
      g.des.push_back(Desired(f, desired[band], type));
      g.wt.push_back(Weight(f, desired[band], weights[band], type));
      f += delf;
      if (!(f <= hi)) break;
    }
    g.grid.back() = hi;
    g.des.back() = Desired(hi, desired[band], type);
    g.wt.back() = Weight(hi, desired[band], weights[band], type);
  }
  if (neg == (nodd == 1) && g.grid.back() > 0.5 - delf) {
    g.grid.pop_back();
    g.des.pop_back();
    g.wt.pop_back();
  }
  for (std::size_t k = 0; k < g.grid.size(); ++k) {
    const double q = SymmetryFactor(g, g.grid[k]);
    g.des[k] /= q;
    g.wt[k] *= q;
  }
  const int ngrid = static_cast<int>(g.grid.size());
  const double temp = double(ngrid - 1) / g.nfcns;
  for (int j = 0; j < g.nfcns; ++j) g.iext.push_back(static_cast<int>(j * temp));
  g.iext.push_back(ngrid - 1);
  return g;
}

double SymmetryFactor(const TestGrid& g, double f) {
  const bool odd = g.numtaps % 2 == 1;
  if (!g.antisymmetric) return odd ? 1.0 : std::cos(kPi * f);
  return odd ? std::sin(2 * kPi * f) : std::sin(kPi * f);
}

double CosineSum(const std::vector<double>& alpha, double f) {
  double s = 0;
  for (std::size_t k = 0; k < alpha.size(); ++k) s += alpha[k] * std::cos(2 * kPi * k * f);
  return s;
}

double Amplitude(const std::vector<double>& h, bool antisymmetric, double f) {
  const int n = static_cast<int>(h.size());
  const double centre = (n - 1) / 2.0;
  double s = 0;
  for (int i = 0; i < n; ++i) {
    const double t = 2 * kPi * f * (centre - i);
    s += h[i] * (antisymmetric ? std::sin(t) : std::cos(t));
  }
  return s;
}

}  // namespace lapack::testing

// Test helpers for the Remez exchange: the dense grid built the way scipy.signal.remez builds it,
// so that the exchange can be compared with scipy on exactly the same discrete problem, and the
// amplitude of a filter from its taps.
//
// Covers: platform/lapack/RemezSolve.cpp (as input to it).
#pragma once

#include <vector>

namespace lapack::testing {

// scipy's filter types: 1 band pass/stop, 2 differentiator, 3 Hilbert transformer.
enum ScipyType { kBandpass = 1, kDifferentiator = 2, kHilbert = 3 };

struct TestGrid {
  std::vector<double> grid, des, wt;  // after the change of variables of the filter's symmetry
  int nfcns = 0;
  bool antisymmetric = false;
  int numtaps = 0;
  std::vector<int> iext;  // 0-based initial extremal positions
};

// bands are edges in cycles per sample (fs = 1), two per band.
TestGrid ScipyGrid(int numtaps, const std::vector<double>& bands,
                   const std::vector<double>& desired, const std::vector<double>& weights,
                   ScipyType type, int density = 16);

// The factor q(g) by which the cosine polynomial is multiplied for this symmetry.
double SymmetryFactor(const TestGrid& g, double f);

// sum alpha[k] cos(2 pi k f)
double CosineSum(const std::vector<double>& alpha, double f);

// The real amplitude of a linear-phase filter with taps h at frequency f (cycles per sample).
double Amplitude(const std::vector<double>& h, bool antisymmetric, double f);

}  // namespace lapack::testing

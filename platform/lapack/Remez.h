// The Remez exchange iteration of the linear-algebra layer: the minimax cosine polynomial on a
// dense frequency grid, for the equiripple FIR design of dsp/OptimalFIR.
//
// Two faces over one core. RemezSolve is the C++ entry: spans in, spans out, no state of its own,
// every work array allocated by the call, so designs on different threads share nothing.
// REMEZ keeps the sixteen-argument shape that the filter designer calls (all by address), and
// forwards to RemezSolve.
//
// Tested by: platform/lapack/tests/RemezTest.cpp, RemezOracleTest.cpp.
#pragma once

#include <span>

namespace lapack {

// Status of an exchange. Values below RemezFailed mean the iteration converged: the largest
// weighted error of the delivered coefficients on the grid exceeds the deviation by at most
// RemezConvergenceTolerance of it.
// Every other value is a failure; the coefficients are then finite (the last iterate, or zeros
// when nothing could be iterated).
enum RemezStatus : int {
  RemezConverged = 0,
  RemezFailed = 50,            // the first failure value; callers test status < RemezFailed
  RemezNoConvergence = 50,     // iteration limit reached, or the iteration stalled short of the optimum
                               // (its levelled deviation did not grow for 3 iterations in a row)
  RemezGridTooSmall = 51,      // fewer than nfcns + 1 usable grid points (distinct, weight non-zero)
  RemezBadInput = 52,          // nfcns < 1, or a grid value, desired value or weight not finite
  RemezBreakdown = 53,         // the arithmetic broke down (non-finite deviation, lost alternation)
};

// Relative gap between the largest weighted error and the deviation that counts as converged.
// The iteration itself goes on until the error is level to rounding; the margin is for designs
// near the limits of double precision, whose coefficients carry a little more rounding.
inline constexpr double RemezConvergenceTolerance = 1e-3;

// The largest number of exchange iterations.
inline constexpr int RemezIterationLimit = 100;

struct RemezOutcome {
  // Converged: the levelled error |delta| of the final extremal set. Otherwise the largest
  // weighted error that the returned coefficients reach on the grid (infinite when there are
  // none).
  double Deviation = 0;
  int Status = RemezBadInput;
  int Iterations = 0;
};

// Finds alpha[0 .. nfcns-1] of P(g) = sum alpha[k] cos(2 pi k g) minimising
// max |wt[k] (des[k] - P(grid[k]))| over the grid (grid in cycles per sample).
// extremals holds nfcns + 1 initial extremal positions (0-based grid indices, ascending); on return
// it holds the final extremal set. Positions that are not usable are replaced by an even spread.
// alpha needs nfcns elements.
RemezOutcome RemezSolve(std::span<const double> grid, std::span<const double> des,
                        std::span<const double> wt, int nfcns, std::span<int> extremals,
                        std::span<double> alpha);

// The sixteen-argument face, every argument by address:
//   ad, x, y      out: barycentric weights, abscissae cos(2 pi g) and values of the final
//                 extremal set (nfcns + 1 elements each);
//   scratch       not used;
//   grid, des, wt the grid (ngrid elements each), read only;
//   alpha         out: nfcns cosine coefficients;
//   iext          in: nfcns + 1 initial extremal positions, 1-based grid positions stored as
//                 doubles (fractions are truncated); out: the final positions;
//   nfcns, ngrid  the number of coefficients and of grid points;
//   work1..work3  not used (the core owns its work arrays);
//   deviation     out: the deviation; status out: a RemezStatus.
// Returns the status as well.
int REMEZ(double* ad, double* scratch, double* x, double* y, const double* grid,
          const double* des, const double* wt, double* alpha, double* iext, const int* nfcns,
          const int* ngrid, double* work1, double* work2, double* work3, double* deviation,
          int* status);

}  // namespace lapack

// The sixteen-argument face of the Remez exchange, over RemezSolve.
//
// Tested by: platform/lapack/tests/RemezTest.cpp.
#include "platform/lapack/Remez.h"

#include <cmath>
#include <limits>
#include <vector>

namespace lapack {

int REMEZ(double* /*ad*/, double* /*scratch*/, double* /*x*/, double* /*y*/, const double* grid,
          const double* des, const double* wt, double* alpha, double* iext, const int* nfcns,
          const int* ngrid, double* /*work1*/, double* /*work2*/, double* /*work3*/,
          double* deviation, int* status) {
  const int c = *nfcns, n = *ngrid;
  if (c < 1 || n < 0) {
    *deviation = std::numeric_limits<double>::infinity();
    *status = RemezBadInput;
    return *status;
  }
  // 1-based positions held as doubles; the fraction of a computed start position is dropped.
  std::vector<int> ext(static_cast<std::size_t>(c) + 1);
  for (int j = 0; j <= c; ++j) {
    const double v = iext[j];
    ext[j] = std::isfinite(v) && v >= 1 && v <= n ? static_cast<int>(v) - 1 : -1;
  }
  const RemezOutcome o = RemezSolve({grid, static_cast<std::size_t>(n)},
                                    {des, static_cast<std::size_t>(n)},
                                    {wt, static_cast<std::size_t>(n)}, c, ext,
                                    {alpha, static_cast<std::size_t>(c)});
  if (o.Status != RemezBadInput && o.Status != RemezGridTooSmall)
    for (int j = 0; j <= c; ++j) iext[j] = ext[j] + 1;
  *deviation = o.Deviation;
  *status = o.Status;
  return *status;
}

}  // namespace lapack

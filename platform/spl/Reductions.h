// Reductions of the signal-primitives layer: mean, extremes with their
// positions, norms and dot products.
//
// A count of zero or less gives NaN (the extremes' position -1, a complex
// dot product (NaN, NaN)); callers test for empty data first. A NaN among the
// values makes a mean, an extreme, a norm or a dot product NaN; the extremes
// then report the position of the first NaN.
//
// Sums run in several interleaved partial sums, so that they vectorise and
// keep the rounding error growth of a blocked sum; the result does not depend
// on the machine.
//
// Tested by: platform/spl/tests/ReductionsTest.cpp
#pragma once

#include "platform/spl/SplTypes.h"

namespace spl {

// Norm selectors of nspdNorm and nspzNorm.
enum : int {
  NSP_C = 1,   // largest magnitude (Chebyshev)
  NSP_L1 = 2,  // sum of magnitudes
  NSP_L2 = 4   // square root of the sum of squared magnitudes
};

// The arithmetic mean of n doubles.
double nspdMean(const double* vec, int n);
// The largest and the smallest of n doubles.
double nspdMax(const double* vec, int n);
double nspdMin(const double* vec, int n);
// The same with the position of the extreme: the first one when it repeats.
double nspdMaxExt(const double* vec, int n, int& index);
double nspdMinExt(const double* vec, int n, int& index);

// The norm of a - b, or of a alone when b is null, by flag (NSP_C, NSP_L1,
// NSP_L2; any other flag gives NaN). The L2 norm neither overflows nor
// underflows in its squares.
double nspdNorm(const double* a, const double* b, int n, int flag);
double nspzNorm(const DCplx* a, const DCplx* b, int n, int flag);

// Sums of a[i] * b[i], without conjugation.
double nspdDotProd(const double* a, const double* b, int n);
DCplx nspzDotProd(const DCplx* a, const DCplx* b, int n);
DCplx nspdzDotProd(const double* a, const DCplx* b, int n);
DCplx nspzdDotProd(const DCplx* a, const double* b, int n);

}  // namespace spl

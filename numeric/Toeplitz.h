// toeplitz: linear systems whose matrix is Toeplitz (constant along every
// diagonal) solved in O(n^2) by a Levinson recursion for general, not
// necessarily symmetric, matrices, and the Yule-Walker equations of an
// autocorrelation sequence.
//
// A Toeplitz matrix T of order N is given by Row[0 .. N-1], its first row
// (T[i][j] = Row[j - i] for j >= i), and Col[0 .. N-2], its first column
// below the diagonal (T[i][j] = Col[i - j - 1] for i > j). There is no
// pivoting: a singular leading minor gives infinities or NaN.
//
// Tested by: numeric/tests/ToeplitzTest.cpp.
#pragma once

#include <cstdint>
#include <span>

#include "numeric/MathCore.h"

namespace numeric {

class TVec;

// X := T^-1 Y for real data; H and G are work arrays of N elements. X and Y
// may be the same array. N < 1 does nothing; arrays shorter than N (Col
// shorter than N - 1) raise "ToeplitzLevinson: arrays shorter than N".
void ToeplitzLevinson(std::span<const double> Row, std::span<const double> Col, std::span<const double> Y,
                      std::span<double> X, std::span<double> H, std::span<double> G, std::int32_t N);
// The same in complex arithmetic; nothing is conjugated inside.
void ToeplitzLevinsonC(std::span<const TCplx> Row, std::span<const TCplx> Col, std::span<const TCplx> Y,
                       std::span<TCplx> X, std::span<TCplx> H, std::span<TCplx> G, std::int32_t N);

// A := (1, a[1], ..., a[n-1]) of R's kind, where a solves the Yule-Walker
// equations sum_j T[i][j] a[j+1] = -r[i+1] of the autocorrelation r = R,
// T[i][j] = r[i - j] for i >= j and conj(r[j - i]) above. R of fewer than two
// elements leaves A as it was.
void ToeplitzSolve(const TVec& R, TVec& A);

}  // namespace numeric

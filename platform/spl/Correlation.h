// Linear convolution, autocorrelation and cross-correlation of the
// signal-primitives layer.
//
// Definitions (terms whose index falls outside an array count as zero):
// - convolution: y[k] = sum_j x[j] h[k-j], k = 0 .. xLen + hLen - 2;
// - cross-correlation: r[lag] = sum_k conj(x1[k]) x2[k + lag] for lag from
//   loLag to hiLag, stored from dst[0] on (a real array is its own conjugate);
// - autocorrelation: the cross-correlation of x with itself at lags
//   0 .. nLags - 1, divided by n (NSP_Biased), by n - lag (NSP_UnBiased) or
//   not at all (NSP_Normal).
// Short operands are summed directly, long ones through power-of-two FFTs;
// both give the same values to rounding. Counts of zero or less give nothing
// to sum (zeros where dst has room). dst must not overlap the sources.
//
// Tested by: numeric/tests/VecTransformsOracleTest.cpp, numeric/tests/VecTransformsTest.cpp
#pragma once

#include "platform/spl/SplTypes.h"

namespace spl {

enum : int { NSP_Normal = 0, NSP_Biased = 1, NSP_UnBiased = 2 };

void nspdConv(const double* x, int xLen, const double* h, int hLen, double* dst);
void nspzConv(const DCplx* x, int xLen, const DCplx* h, int hLen, DCplx* dst);
void nspzdConv(const DCplx* x, int xLen, const double* h, int hLen, DCplx* dst);
void nspdzConv(const double* x, int xLen, const DCplx* h, int hLen, DCplx* dst);

void nspdAutoCorr(const double* src, int len, double* dst, int nLags, int type);
void nspzAutoCorr(const DCplx* src, int len, DCplx* dst, int nLags, int type);

void nspdCrossCorr(const double* src1, int len1, const double* src2, int len2, double* dst, int loLag, int hiLag);
void nspzCrossCorr(const DCplx* src1, int len1, const DCplx* src2, int len2, DCplx* dst, int loLag, int hiLag);
void nspzdCrossCorr(const DCplx* src1, int len1, const double* src2, int len2, DCplx* dst, int loLag, int hiLag);
void nspdzCrossCorr(const double* src1, int len1, const DCplx* src2, int len2, DCplx* dst, int loLag, int hiLag);

}  // namespace spl

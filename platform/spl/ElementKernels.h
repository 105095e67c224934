// Element-wise arithmetic kernels of the signal-primitives layer.
//
// Names: d works on doubles, z on complex samples (interleaved re, im); the
// letter b and a digit give the arity: 1 works in place on one array, 2 reads
// a source and changes (or writes) a destination, 3 reads two sources and
// writes a destination. A count of zero or less does nothing. A real kernel
// may be handed a complex array as twice as many doubles.
//
// Aliasing: a destination may be one of the sources exactly (the same first
// element); partially overlapping arrays are not supported.
//
// Complex products use the plain formula (ac - bd, ad + bc), so that the
// loops vectorise; an infinite operand gives NaN parts as the formula does.
//
// Tested by: platform/spl/tests/ElementKernelsTest.cpp
#pragma once

#include "platform/spl/SplTypes.h"

namespace spl {

// Relation codes of the threshold kernels.
enum : int {
  NSP_LT = 0,  // values below the level are raised to it
  NSP_GT = 1   // values above the level are lowered to it
};

// dst[i] += val
void nspdbAdd1(double val, double* dst, int n);
void nspzbAdd1(DCplx val, DCplx* dst, int n);
// dst[i] += src[i]
void nspdbAdd2(const double* src, double* dst, int n);
// dst[i] := srcA[i] + srcB[i]
void nspdbAdd3(const double* srcA, const double* srcB, double* dst, int n);

// dst[i] -= src[i]
void nspdbSub2(const double* src, double* dst, int n);
// dst[i] := srcA[i] - srcB[i]
void nspdbSub3(const double* srcA, const double* srcB, double* dst, int n);

// dst[i] *= val
void nspdbMpy1(double val, double* dst, int n);
void nspzbMpy1(DCplx val, DCplx* dst, int n);
// dst[i] *= src[i]
void nspdbMpy2(const double* src, double* dst, int n);
void nspzbMpy2(const DCplx* src, DCplx* dst, int n);
// dst[i] := srcA[i] * srcB[i]
void nspdbMpy3(const double* srcA, const double* srcB, double* dst, int n);
void nspzbMpy3(const DCplx* srcA, const DCplx* srcB, DCplx* dst, int n);

// Squares: x * x; complex z * z.
void nspdbSqr1(double* vec, int n);
void nspzbSqr1(DCplx* vec, int n);
void nspdbSqr2(const double* src, double* dst, int n);
void nspzbSqr2(const DCplx* src, DCplx* dst, int n);

// Principal complex square roots: non-negative real part, the imaginary
// part's sign kept.
void nspzbSqrt1(DCplx* vec, int n);
void nspzbSqrt2(const DCplx* src, DCplx* dst, int n);

// |x| of real values.
void nspdbAbs1(double* vec, int n);
void nspdbAbs2(const double* src, double* dst, int n);

// Complex conjugates.
void nspzbConj1(DCplx* vec, int n);
void nspzbConj2(const DCplx* src, DCplx* dst, int n);
// Completes a conjugate-symmetric spectrum: vec holds the n bins 0 .. n-1 of a
// spectrum of 2(n - 1) points and has room for all of them; the bins above
// n - 1 become vec[2(n-1) - k] := conj(vec[k]) for k = 1 .. n - 2.
void nspzbConjExtend1(DCplx* vec, int n);

// Thresholded reciprocals: 1 / x, where an element whose magnitude is below
// thresh is first replaced by one of magnitude thresh and the same sign
// (complex: the same phase; a zero becomes thresh itself). So no element
// smaller than thresh gives an infinite or overflowing reciprocal. A threshold
// of zero or less (or NaN) leaves plain IEEE reciprocals; NaN stays NaN.
void nspdbInvThresh1(double* vec, int n, double thresh);
void nspzbInvThresh1(DCplx* vec, int n, double thresh);
void nspdbInvThresh2(const double* src, double* dst, int n, double thresh);
void nspzbInvThresh2(const DCplx* src, DCplx* dst, int n, double thresh);

// Clipping against a level, relOp NSP_LT or NSP_GT. Real values are compared
// as they are; complex values by magnitude, a clipped one keeping its phase
// (a zero raised to the level becomes (level, 0)); for them a negative level
// acts as zero. NaN values are left alone, a NaN level or any other relOp
// changes nothing.
void nspdbThresh1(double* vec, int n, double level, int relOp);
void nspzbThresh1(DCplx* vec, int n, double level, int relOp);

}  // namespace spl

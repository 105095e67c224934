// The vector-mathematics routines of the linear-algebra layer: one elementary
// function over n doubles, y[i] := f(x[i]).
//
// Every routine takes the count first, then the source, then the destination.
// The destination may be the source itself (the numeric core computes in place
// that way); other overlaps are not supported. A count of zero or less does
// nothing. Results are those of the C++ standard functions, with IEEE special
// values as they give them (VDLN(0) = -inf, VDSQRT(-1) = NaN, VDINV(0) = inf).
//
// Tested by: platform/lapack/tests/LapackFaceTest.cpp
#pragma once

namespace lapack {

void VDSIN(int n, const double* x, double* y);
void VDCOS(int n, const double* x, double* y);
void VDTAN(int n, const double* x, double* y);
void VDSINH(int n, const double* x, double* y);
void VDCOSH(int n, const double* x, double* y);
void VDEXP(int n, const double* x, double* y);
void VDLN(int n, const double* x, double* y);
void VDLOG10(int n, const double* x, double* y);
void VDSQRT(int n, const double* x, double* y);
void VDCBRT(int n, const double* x, double* y);
// y[i] := 1 / x[i]
void VDINV(int n, const double* x, double* y);
// sine[i] := sin(x[i]), cosine[i] := cos(x[i]); x may be either output.
void VDSINCOS(int n, const double* x, double* sine, double* cosine);
// y[i] := a[i] / b[i]; y may be a or b.
void VDDIV(int n, const double* a, const double* b, double* y);
// y[i] := x[i * incx], read and written from i = 0 upward, so y may be x when
// incx >= 1 (a decimation in place).
void VDPACKI(int n, const double* x, int incx, double* y);

}  // namespace lapack

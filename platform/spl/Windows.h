// The library windows of the signal-primitives layer: Bartlett, Blackman,
// Hamming and Hann, multiplied in place into n real or complex samples (both
// parts of a complex sample by the same factor).
//
// The windows are symmetric: the first and the last sample fall on the ends
// of the window, with t = 2 pi i / (n - 1) for i = 0 .. n-1:
//   Bartlett        1 - |2 i / (n - 1) - 1|
//   Blackman(a)     (1 + a)/2 - cos(t)/2 - (a/2) cos(2t)  (a = -0.16 gives the
//                   classic 0.42 - 0.5 cos t + 0.08 cos 2t)
//   Hamming         0.54 - 0.46 cos t
//   Hann            0.5 - 0.5 cos t
// Each factor is computed once for i and n-1-i, so the window is exactly
// symmetric. One sample is multiplied by 1; a count below 1 does nothing.
//
// Tested by: dsp/tests/SignalWindowsOracleTest.cpp, dsp/tests/SignalWindowsTest.cpp
#pragma once

#include "platform/spl/SplTypes.h"

namespace spl {

void nspdWinBartlett(double* vec, int n);
void nspzWinBartlett(DCplx* vec, int n);
void nspdWinBlackman(double* vec, int n, double alpha);
void nspzWinBlackman(DCplx* vec, int n, double alpha);
void nspdWinHamming(double* vec, int n);
void nspzWinHamming(DCplx* vec, int n);
void nspdWinHann(double* vec, int n);
void nspzWinHann(DCplx* vec, int n);

}  // namespace spl

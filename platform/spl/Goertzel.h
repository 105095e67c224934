// The single-frequency Goertzel filter of the signal-primitives layer.
//
// GoertzInit fixes the frequency f in cycles per sample; bGoertz runs the
// second-order recursion over a block, continuing from the state, and returns
// the transform of all samples since the last reset referenced one sample past
// the last of them: for the samples x[0..n-1] that is
//   sum x[j] exp(-2 pi i f (j - n)) = exp(2 pi i f n) X(f),
// where X(f) = sum x[j] exp(-2 pi i f j) is the Fourier transform at f. Real
// and complex data share the state record; one record serves one kind of
// data between resets.
//
// Tested by: numeric/tests/VecTransformsOracleTest.cpp, numeric/tests/VecTransformsTest.cpp
#pragma once

#include "platform/spl/SplTypes.h"

namespace spl {

struct GoertzState {
  double Freq = 0.0;
  // Computed in extended precision: a long block drives the recursion's
  // rounding up with the square of its length near f = 0.
  long double Coeff = 0.0L;  // 2 cos(2 pi f)
  long double CosW = 1.0L;
  long double SinW = 0.0L;
  long double S1Re = 0.0L, S1Im = 0.0L;  // s[n-1]
  long double S2Re = 0.0L, S2Im = 0.0L;  // s[n-2]
};

void nspdGoertzInit(double freq, GoertzState& state);
void nspzGoertzInit(double freq, GoertzState& state);
void nspdGoertzReset(GoertzState& state);
void nspzGoertzReset(GoertzState& state);
DCplx nspdbGoertz(GoertzState& state, const double* src, int len);
DCplx nspzbGoertz(GoertzState& state, const DCplx* src, int len);

}  // namespace spl

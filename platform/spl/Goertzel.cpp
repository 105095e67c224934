// The Goertzel recursion s[n] = x[n] + 2 cos(w) s[n-1] - s[n-2], read out as
// exp(iw) s[n-1] - s[n-2].
// Tested by: numeric/tests/VecTransformsOracleTest.cpp, numeric/tests/VecTransformsTest.cpp
#include "platform/spl/Goertzel.h"

#include <cmath>
#include <numbers>

namespace spl {

namespace {

void Init(double freq, GoertzState& state) {
  const long double w = 2.0L * std::numbers::pi_v<long double> * static_cast<long double>(freq);
  state.Freq = freq;
  state.CosW = std::cos(w);
  state.SinW = std::sin(w);
  state.Coeff = 2.0L * state.CosW;
  state.S1Re = state.S1Im = state.S2Re = state.S2Im = 0.0L;
}

void Reset(GoertzState& state) { state.S1Re = state.S1Im = state.S2Re = state.S2Im = 0.0L; }

DCplx Output(const GoertzState& s) {
  // exp(iw) s1 - s2
  const long double re = s.CosW * s.S1Re - s.SinW * s.S1Im - s.S2Re;
  const long double im = s.CosW * s.S1Im + s.SinW * s.S1Re - s.S2Im;
  return DCplx{static_cast<double>(re), static_cast<double>(im)};
}

}  // namespace

void nspdGoertzInit(double freq, GoertzState& state) { Init(freq, state); }
void nspzGoertzInit(double freq, GoertzState& state) { Init(freq, state); }
void nspdGoertzReset(GoertzState& state) { Reset(state); }
void nspzGoertzReset(GoertzState& state) { Reset(state); }

DCplx nspdbGoertz(GoertzState& state, const double* src, int len) {
  long double s1 = state.S1Re, s2 = state.S2Re;
  for (int n = 0; n < len; ++n) {
    const long double s0 = src[n] + state.Coeff * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  state.S1Re = s1;
  state.S2Re = s2;
  state.S1Im = state.S2Im = 0.0L;
  return Output(state);
}

DCplx nspzbGoertz(GoertzState& state, const DCplx* src, int len) {
  long double r1 = state.S1Re, r2 = state.S2Re, i1 = state.S1Im, i2 = state.S2Im;
  for (int n = 0; n < len; ++n) {
    const long double r0 = src[n].re + state.Coeff * r1 - r2;
    const long double i0 = src[n].im + state.Coeff * i1 - i2;
    r2 = r1;
    r1 = r0;
    i2 = i1;
    i1 = i0;
  }
  state.S1Re = r1;
  state.S2Re = r2;
  state.S1Im = i1;
  state.S2Im = i2;
  return Output(state);
}

}  // namespace spl

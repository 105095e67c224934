// The chirp-z transform: the z-transform of a signal at points along a spiral, as one
// convolution with a chirp (Bluestein).
// Tested by: dsp/tests/ArEstimationTest.cpp, ArChirpZOracleTest.cpp
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>

#include "dsp/SignalUtils.h"

namespace dsp {

using numeric::TCachedVec;
using numeric::TCplx;
using numeric::TVec;

namespace {

using Cx = std::complex<double>;

void Set(TVec& v, std::int32_t i, Cx z) { v.CValues()[i] = TCplx{z.real(), z.imag()}; }
Cx Get(const TVec& v, std::int32_t i) {
  return v.Complex() ? Cx(v.CValues()[i].Re, v.CValues()[i].Im) : Cx(v.Values()[i], 0.0);
}

}  // namespace

void CztCore(const TVec& x, std::int32_t M, const TCplx& W, const TCplx& A, TVec& Y) {
  if (M < 0) numeric::RaiseError("CztCore: M < 0");
  const std::int32_t N = x.Length();
  if (N == 0 || M == 0) {
    Y.Size(M, true);
    Y.SetZero();
    return;
  }
  // The chirp W^(k^2/2) for k = -(N-1) .. max(M, N) - 1, by one branch of the logarithm of W
  // so that its half powers agree with each other: the signal is weighted by k = 0 .. N-1, the
  // convolution kernel takes k = -(N-1) .. M-1.
  const Cx lnW = std::log(Cx(W.Re, W.Im));
  const std::int32_t len = M + N - 1, chirpLen = std::max(M, N) + N - 1;
  TCachedVec t, g, h, c;
  t->Size(chirpLen, true);
  for (std::int32_t i = 0; i < chirpLen; ++i) {
    const double k = static_cast<double>(i) - (N - 1);
    Set(*t, i, std::exp(k * k * 0.5 * lnW));
  }
  // g[n] = x[n] A^-n W^(n^2/2), the powers of A through its polar form.
  const double absA = std::abs(Cx(A.Re, A.Im)), argA = std::arg(Cx(A.Re, A.Im));
  g->Size(N, true);
  for (std::int32_t n = 0; n < N; ++n)
    Set(*g, n, Get(x, n) * std::polar(std::pow(absA, -static_cast<double>(n)), -n * argA) * Get(*t, N - 1 + n));
  h->Size(len, true);
  for (std::int32_t i = 0; i < len; ++i) Set(*h, i, 1.0 / Get(*t, i));
  c->Convolve(*g, *h);
  Y.Size(M, true);
  for (std::int32_t k = 0; k < M; ++k) Set(Y, k, Get(*c, N - 1 + k) * Get(*t, N - 1 + k));
}

void CztSetup(const TVec& x, std::int32_t M, TVec& Y, double F1, double F2, double FS, double R1, double R2) {
  // One point: the spiral is that point alone, W does not matter.
  Cx w(1.0, 0.0);
  if (M > 1) {
    const double steps = static_cast<double>(M - 1);
    w = std::pow(R2 / R1, -1.0 / steps) * std::polar(1.0, -numeric::TWOPI * (F2 - F1) / (steps * FS));
  }
  const Cx a = R1 * std::polar(1.0, numeric::TWOPI * F1 / FS);
  CztCore(x, M, TCplx{w.real(), w.imag()}, TCplx{a.real(), a.imag()}, Y);
}

}  // namespace dsp

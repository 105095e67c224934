// Running FIR filters of the signal-primitives layer: single-rate and
// multirate (polyphase up- and down-sampling), over real or complex data with
// real or complex taps. The delay line runs on across blocks.
//
// Names: the first letter is the data, the second the taps (dz: real data,
// complex taps, complex output; zd: complex data, real taps).
//
// Single rate: y[n] = sum_k h[k] x[n - k], the samples before the first block
// being 0. The blocks are filtered in chunks by a register-blocked direct
// form; long filters go through FFT convolution (overlap-save), which gives
// the same values to rounding.
//
// Multirate with factors up, down and phases upPhase (0 .. up-1), downPhase
// (0 .. down-1): input sample q stands at position q up + upPhase of the
// up-sampled stream (zeros between), which is filtered by h; the outputs are
// the filtered stream at positions m down + downPhase. A block of n inputs
// owns the positions [T up, (T + n) up) of the stream (T: inputs before it)
// and gives the outputs at those positions: FirMrOutputs tells how many.
// Every input is consumed, and over blocks the count is exact (up n / down
// on average).
//
// A state belongs to one thread at a time. Init replaces a state's previous
// filter (its memory is released); nspFirFree releases it.
//
// Tested by: dsp/tests/FilterStatesTest.cpp, dsp/tests/FilterStatesOracleTest.cpp
#pragma once

#include <cstdint>
#include <memory>

#include "platform/spl/SplTypes.h"

namespace spl {

namespace detail {
class FirEngine;
}

struct FirState {
  FirState();
  ~FirState();
  FirState(FirState&&) noexcept;
  FirState& operator=(FirState&&) noexcept;
  std::unique_ptr<detail::FirEngine> Engine;
};

// Single rate. tapsLen >= 1; a null or empty tap set raises classlib::Exception.
void nspdFirInit(const double* taps, int tapsLen, FirState& state);
void nspzFirInit(const DCplx* taps, int tapsLen, FirState& state);
void nspdzFirInit(const DCplx* taps, int tapsLen, FirState& state);
void nspzdFirInit(const double* taps, int tapsLen, FirState& state);

// Multirate. Factors below 1 or phases outside 0 .. factor-1 raise
// classlib::Exception.
void nspdFirInitMr(const double* taps, int tapsLen, int up, int upPhase, int down, int downPhase, FirState& state);
void nspzFirInitMr(const DCplx* taps, int tapsLen, int up, int upPhase, int down, int downPhase, FirState& state);
void nspdzFirInitMr(const DCplx* taps, int tapsLen, int up, int upPhase, int down, int downPhase, FirState& state);
void nspzdFirInitMr(const double* taps, int tapsLen, int up, int upPhase, int down, int downPhase, FirState& state);

// The number of outputs that n more inputs give (n for a single-rate filter).
int nspFirOutputs(const FirState& state, int n);

// Filters n inputs into nspFirOutputs(state, n) outputs; returns that count.
// The variant must match the set-up (else classlib::Exception). in and out
// may be the same array for a single-rate filter whose output has the
// input's kind; otherwise they must not overlap.
int nspdbFir(FirState& state, const double* in, double* out, int n);
int nspzbFir(FirState& state, const DCplx* in, DCplx* out, int n);
int nspdzbFir(FirState& state, const double* in, DCplx* out, int n);
int nspzdbFir(FirState& state, const DCplx* in, DCplx* out, int n);

// Releases the state's filter; nothing when it has none.
void nspFirFree(FirState& state);

}  // namespace spl

// Running IIR filters of the signal-primitives layer over real or complex
// data with real or complex coefficients. The state runs on across blocks.
//
// The taps are the numerator b[0 .. order] followed by the denominator
// a[0 .. order], in descending powers of z: H(z) = B(z) / A(z). Both are
// divided by a[0] at set-up. Real coefficients run the direct form I,
//   y[n] = sum_k b_k x[n-k] - sum_{k>=1} a_k y[n-k],
// the denominator's terms added oldest first by fused multiply-adds; complex
// ones the transposed direct form II with the state z of order values:
//   y = z[0] + b0 x;  z[k] = (z[k+1] + b[k+1] x) - a[k+1] y;  z[order-1] = b[order] x - a[order] y
// Both equal the textbook recursion to rounding.
// Names: the first letter is the data, the second the taps.
//
// A state belongs to one thread at a time. Init replaces a state's previous
// filter; nspIirFree releases it.
//
// Tested by: dsp/tests/FilterStatesTest.cpp, dsp/tests/FilterStatesOracleTest.cpp,
// platform/spl/tests/IirLongRunTest.cpp
#pragma once

#include <memory>

#include "platform/spl/SplTypes.h"

namespace spl {

// The filter kind of the set-up: the taps are copied into the state.
enum : int { NSP_IirDefault = 1 };

namespace detail {
class IirEngine;
}

struct IirState {
  IirState();
  ~IirState();
  IirState(IirState&&) noexcept;
  IirState& operator=(IirState&&) noexcept;
  std::unique_ptr<detail::IirEngine> Engine;
};

// order >= 0; a kind other than NSP_IirDefault, a negative order or a[0] = 0
// raise classlib::Exception.
void nspdIirInit(int iirType, const double* taps, int order, IirState& state);
void nspzdIirInit(int iirType, const double* taps, int order, IirState& state);
void nspdzIirInit(int iirType, const DCplx* taps, int order, IirState& state);
void nspzIirInit(int iirType, const DCplx* taps, int order, IirState& state);

// Filters n samples; in may be out where both have the same kind (else they
// must not overlap). The variant must match the set-up.
void nspdbIir(IirState& state, const double* in, double* out, int n);
void nspzdbIir(IirState& state, const DCplx* in, DCplx* out, int n);
void nspdzbIir(IirState& state, const double* in, DCplx* out, int n);
void nspzbIir(IirState& state, const DCplx* in, DCplx* out, int n);

void nspIirFree(IirState& state);

}  // namespace spl

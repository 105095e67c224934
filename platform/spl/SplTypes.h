// Types shared by the signal-primitives layer's calls.
#pragma once

namespace spl {

// A double-precision complex sample: real part, then imaginary part, packed,
// so that n samples are also 2n doubles (the layout of numeric::TCplx).
struct DCplx {
  double re;
  double im;
};
static_assert(sizeof(DCplx) == 2 * sizeof(double), "DCplx must be two packed doubles");

}  // namespace spl

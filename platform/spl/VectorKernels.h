// Element-wise vector kernels of the signal-primitives layer: copy and fill.
//
// Counts are 32-bit element counts; a count of zero or less does nothing.
// Real kernels may be handed a complex array as twice as many doubles.
#pragma once

#include "platform/spl/SplTypes.h"

namespace spl {

// dst[i] := src[i]. The two arrays may overlap.
void nspdbCopy(const double* src, double* dst, int n);
// dst[i] := 0.
void nspdbZero(double* dst, int n);
// dst[i] := val.
void nspdbSet(double val, double* dst, int n);
// dst[i] := val.
void nspzbSet(DCplx val, DCplx* dst, int n);

}  // namespace spl

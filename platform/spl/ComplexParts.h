// Complex-part kernels of the signal-primitives layer: real and imaginary
// parts, magnitude, phase, power, polar form, and splitting into or joining
// from two real arrays.
//
// A count of zero or less does nothing. Outputs never overlap the inputs,
// except that a real output may start where the complex input starts.
//
// Tested by: platform/spl/tests/ComplexPartsTest.cpp
#pragma once

#include "platform/spl/SplTypes.h"

namespace spl {

// dst[i] := re of src[i]
void nspzbReal(const DCplx* src, double* dst, int n);
// dst[i] := im of src[i]
void nspzbImag(const DCplx* src, double* dst, int n);
// mag[i] := |src[i]|, without overflow or underflow in the squares.
void nspzbMag(const DCplx* src, double* mag, int n);
// phase[i] := the angle of src[i] in (-pi, pi], atan2(im, re).
void nspzbPhase(const DCplx* src, double* phase, int n);
// dst[i] := re^2 + im^2
void nspzbPowerSpectr(const DCplx* src, double* dst, int n);
// mag[i] := |src[i]|, phase[i] := its angle, as the two kernels above.
void nspzbCartToPolar(const DCplx* src, double* mag, double* phase, int n);
// dst[i] := (srcRe[i], srcIm[i]); a null srcRe or srcIm stands for zeros.
void nspzb2RealToCplx(const double* srcRe, const double* srcIm, DCplx* dst, int n);
// dstRe[i] := re of src[i], dstIm[i] := im of src[i]; either output may be null.
void nspzbCplxTo2Real(const DCplx* src, double* dstRe, double* dstIm, int n);

}  // namespace spl

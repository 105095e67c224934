// Fast Fourier transforms and the discrete cosine transform of the
// signal-primitives layer, computed by FFTW3.
//
// Conventions:
// - Lengths of the Fourier transforms are powers of two given by their order
//   (n = 2^order, order 1 .. 30); the cosine transform takes any length.
// - Flags: NSP_Forw (1) forward, NSP_Inv (2) inverse, NSP_NoScal (16) added to
//   the inverse for no scaling. The forward transform is unscaled,
//   X[k] = sum x[j] exp(-2 pi i jk/n); the inverse uses exp(+2 pi i jk/n) and
//   divides by n unless NSP_NoScal is given.
// - Real spectra (conjugate-symmetric, "CCS" layout): an n-point real signal
//   has n/2 + 1 complex bins, bin 0 (the mean) to bin n/2 (half the sampling
//   rate), both with a zero imaginary part; bins above n/2 are the conjugates
//   of those below and are not stored. An array that holds a real spectrum
//   therefore needs n + 2 doubles: the n of the signal and two more for the
//   half-rate bin. The inverse ignores the imaginary parts of bins 0 and n/2.
// - Cosine transform: type II forward and type III inverse, orthonormal, so
//   the inverse undoes the forward exactly and both keep the energy.
//
// Plans are kept for the life of the process and shared by all threads; no
// transform waits for more than a quick plan, and a measured plan replaces it
// later (FftPlanning.h). Arrays of any alignment are accepted: an array that
// is not aligned for FFTW's SIMD code is transformed by a plan made for
// unaligned data. Two plans may differ in the last bits of their results, so
// no result may depend on them.
//
// Tested by: numeric/tests/VecTransformsTest.cpp, numeric/tests/VecTransformsOracleTest.cpp,
// platform/spl/tests/FftPlanningTest.cpp
#pragma once

#include "platform/spl/SplTypes.h"

namespace spl {

enum : int { NSP_Forw = 1, NSP_Inv = 2, NSP_NoScal = 16 };

// The largest order the Fourier transforms accept.
inline constexpr int MaxFftOrder = 30;

// Complex transform of 2^order values in place.
void nspzFft(DCplx* data, int order, int flags);
// Complex transform from src into dst (distinct arrays); src is not changed.
void nspzFftNip(const DCplx* src, DCplx* dst, int order, int flags);
// Forward real transform in place: data holds the 2^order samples and room for
// two more doubles; afterwards it holds the 2^(order-1) + 1 bins of the real
// spectrum. Only NSP_Forw is accepted.
void nspdRealFft(double* data, int order, int flags);
// Forward real transform of 2^order samples into the 2^(order-1) + 1 bins at
// dst. src is not changed.
void nspdRealFftNip(const double* src, DCplx* dst, int order, int flags);
// Inverse of a real spectrum: src holds the 2^(order-1) + 1 bins, dst receives
// the 2^order real samples. src is not changed. Only NSP_Inv, optionally with
// NSP_NoScal, is accepted.
void nspdCcsFftNip(const DCplx* src, double* dst, int order, int flags);

// Cosine transform of n values from src into dst (which may be src): flags 1
// forward (type II), 2 inverse (type III), orthonormal.
void nspdDct(const double* src, double* dst, int n, int flags);

}  // namespace spl

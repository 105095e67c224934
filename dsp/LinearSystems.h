// LinearSystems: a single-input single-output linear system in its three descriptions and the
// conversions between them, the bilinear transform, and the frequency transformations that move
// a normalised analog lowpass prototype to the requested band, in the analog domain (on zeros and
// poles or on state-space matrices) or in the digital one (all-pass substitutions); and the
// tolerant sort that orders the roots for the state-space cascade.
//
// The descriptions:
// - zeros Z and poles P (TVec, complex once any routine has run; a real vector given in counts
//   with zero imaginary parts) and the gain K;
// - state space A (TMtx, n x n, real), B and C (TVec, length n, real) and D: x' = A x + B u,
//   y = C x + D u;
// - numerator Num and denominator Den (TVec, real), descending powers, Den[0] = 1.
// Analog frequencies are in rad/s, digital ones normalised to the Nyquist frequency (1 = half
// the sampling rate); the bilinear transform maps them by Wa = 2 FS tan(pi W / 2).
//
// Vectors and matrices passed in are changed in place unless the routine says otherwise. No
// state between calls; any thread may call with its own objects.
//
// Tested by: dsp/tests/LinearSystemsTest.cpp, LinearSystemsOracleTest.cpp, SortVecTest.cpp.
#pragma once

#include <cstdint>

#include "numeric/Numora.h"

namespace dsp {

// ---------------------------------------------------------------------------
// Sorting with tolerance (SortVec.cpp)
//
// A complex vector: the elements whose imaginary part is 0 within Tol are real roots and go
// last, ascending, with imaginary parts exactly 0; the others come first, ascending by real
// part, and among equal real parts (within Tol) the larger imaginary magnitude first, the
// negative imaginary part of a pair before the positive one. A real vector is sorted ascending.

void SortVec(numeric::TVec& Vec, double Tol);
// The same over Len elements from Index. Nothing for an empty range; a range outside the
// vector raises "SortVec: Index i, Len n outside Length l".
void SortVec(numeric::TVec& Vec, std::int32_t Index, std::int32_t Len, double Tol);

// ---------------------------------------------------------------------------
// Frequency warping of the bilinear transform (LinearSystems.cpp)

// 2 FS tan(pi W / 2).
double Prewarp(double W, double FS);
// (2/pi) arctan(Wa / (2 FS)).
double Unwarp(double Wa, double FS);

// ---------------------------------------------------------------------------
// Conversions (ZeroPoleStateSpace.cpp, SystemZeros.cpp, LinearSystems.cpp)

// A, B, C, D := a cascade of first- and second-order sections realising Z, P, K. Z and P come
// back sorted by SortVec and complex. Z.Length > P.Length raises "Z.Lenght > P.Length".
void ZeroPoleToStateSpace(numeric::TMtx& A, numeric::TVec& B, numeric::TVec& C, double& D, numeric::TVec& Z,
                          numeric::TVec& P, double K);
// P := the eigenvalues of A, then Z and K as StateSpaceEigen gives them. An empty A gives K := D
// and leaves Z and P alone. A failed eigenvalue iteration raises "StateSpaceToZeroPole: " and the
// matrix's error text.
void StateSpaceToZeroPole(numeric::TVec& Z, numeric::TVec& P, double& K, const numeric::TMtx& A,
                          const numeric::TVec& B, const numeric::TVec& C, double D);
// Z := the finite zeros of the system and K its gain (the leading coefficient of the numerator
// over a monic denominator), by a staircase reduction of the system matrix. A.Rows <> B.Length
// raises "a.Rows <> b.Length", B.Length <> C.Length "b.Length <> c.Length"; empty B and C give
// no zeros and K := D.
void StateSpaceEigen(numeric::TVec& Z, double& K, const numeric::TMtx& A, const numeric::TVec& B,
                     const numeric::TVec& C, double D);
// Num, Den := the transfer function of Z, P, K (real parts), Num as long as Den. No poles raise
// "p.Length = 0", more zeros than poles "z.Length > p.Length".
void ZeroPoleToTransfer(numeric::TVec& Num, numeric::TVec& Den, const numeric::TVec& Z, const numeric::TVec& P,
                        double K);

// ---------------------------------------------------------------------------
// Bilinear transform (LinearSystems.cpp); FS is the sampling frequency in Hz.

// The discrete system in place. A singular I - A/(2 FS) raises the solver's error.
void BilinearStateSpace(numeric::TMtx& A, numeric::TVec& B, numeric::TVec& C, double& D, double FS);
// The discrete zeros, poles and gain in place; with AddZeros the zeros the analog system lacks
// are added at z = -1. Z.Length > P.Length raises "z.Length > p.Length".
void BilinearZeroPole(numeric::TVec& Z, numeric::TVec& P, double& K, double FS, bool AddZeros);

// ---------------------------------------------------------------------------
// Analog frequency transformations (AnalogTransforms.cpp). Wo is the cutoff (lowpass,
// highpass) or the geometric band centre, Bw the bandwidth, both in rad/s.

void LowpassToLowpassZp(numeric::TVec& Z, numeric::TVec& P, double& K, double Wo);
void LowpassToHighpassZp(numeric::TVec& Z, numeric::TVec& P, double& K, double Wo);
void LowpassToBandpassZp(numeric::TVec& Z, numeric::TVec& P, double& K, double Wo, double Bw);
// K := 1: the gain at zero frequency is that of the prototype's zeros and poles alone.
void LowpassToBandstopZp(numeric::TVec& Z, numeric::TVec& P, double& K, double Wo, double Bw);

// The same on state-space matrices. ScaleStateSpace leaves C and D, LowpassToBandpassSs D
// alone; the highpass and bandstop forms invert A (a singular A raises the solver's error).
void ScaleStateSpace(numeric::TMtx& A, numeric::TVec& B, numeric::TVec& C, double& D, double Wo);
void LowpassToHighpassSs(numeric::TMtx& A, numeric::TVec& B, numeric::TVec& C, double& D, double Wo);
void LowpassToBandpassSs(numeric::TMtx& A, numeric::TVec& B, numeric::TVec& C, double& D, double Wo, double Bw);
void LowpassToBandstopSs(numeric::TMtx& A, numeric::TVec& B, numeric::TVec& C, double& D, double Wo, double Bw);

// ---------------------------------------------------------------------------
// Gains and discrete frequency transformations (DiscreteTransforms.cpp). In the discrete
// transformations Wo, Bw and Wc (the cutoff of the digital lowpass prototype) are normalised
// to the Nyquist frequency.

// prod(X - z) / prod(X - p) without the gain (real at a real X for roots in conjugate pairs).
double ZeroPoleGainAt(const numeric::TVec& Z, const numeric::TVec& P, double X);
// The real part of prod(X - z) / prod(X - p): the gain where the response is real and
// positive, as at the centre of a bandpass.
double ZeroPoleGainAtCplx(const numeric::TVec& Z, const numeric::TVec& P, const numeric::TCplx& X);
// Every root r of Z and P is replaced by the roots of Num - r Den (Num and Den real, descending
// powers): the lists grow by the factor max(Num.Length, Den.Length) - 1, the roots of one r
// staying together in its place. A root that the substitution sends to infinity raises
// "AllpassSubstitute: a root maps to infinity".
void AllpassSubstitute(numeric::TVec& Z, numeric::TVec& P, const numeric::TVec& Den, const numeric::TVec& Num);
// Each sets K so that the gain is 1 at z = 1 (lowpass, bandstop), at z = -1 (highpass) or at
// the centre of the band (bandpass); the prototype's gain is discarded.
void DiscreteLowpassToLowpass(numeric::TVec& Z, numeric::TVec& P, double& K, double Wo, double Wc);
void DiscreteLowpassToHighpass(numeric::TVec& Z, numeric::TVec& P, double& K, double Wo, double Wc);
void DiscreteLowpassToBandpass(numeric::TVec& Z, numeric::TVec& P, double& K, double Wo, double Bw, double Wc);
void DiscreteLowpassToBandstop(numeric::TVec& Z, numeric::TVec& P, double& K, double Wo, double Bw, double Wc);

}  // namespace dsp

// SignalUtils: the procedural signal routines of the filter-design and DSP
// layer. Each group of routines sits in a section of its own below and is
// implemented in its own file.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "numeric/Numora.h"

namespace dsp {

// How a spectrum's values are scaled: amplitude, RMS, power, peak-to-peak or
// complex.
enum TSpectrumType : std::uint8_t { spAmplt, spRMS, spPower, spPeakPeak, spComplex };

// ---------------------------------------------------------------------------
// Window functions (SignalWindows.cpp)
//
// Each window multiplies Len samples of Src from Index in place (complex
// elements: both parts by one factor) and returns Src; Len = -1 means "to the
// end". The window is computed for the segment's length n: its first value
// falls on Src[Index], its last on Src[Index + n - 1]. The library windows
// (Bartlett, Blackman, Hamming, Hann) leave segments shorter than 3 samples
// alone; the computed ones leave an empty segment (or a negative Len other
// than -1) alone. A segment past the end raises "Index+Len > Src.Length", a
// negative Index "Index < 0", before any sample changes.

// The data windows, in the order of their codes.
enum TSignalWindowType : std::uint8_t {
  wtRectangular,
  wtHanning,
  wtHamming,
  wtFlatTop,
  wtBartlet,
  wtBlackman,
  wtBlackmanHarris,
  wtBlackmanExact,
  wtCosineTappered,
  wtKaiser,
  wtChebyshev,
  wtExponent,
};

numeric::TVec& WindowBartlett(numeric::TVec& Src, std::int32_t Index = 0, std::int32_t Len = -1);
numeric::TVec& WindowHamming(numeric::TVec& Src, std::int32_t Index = 0, std::int32_t Len = -1);
numeric::TVec& WindowHann(numeric::TVec& Src, std::int32_t Index = 0, std::int32_t Len = -1);
// (1 + Alpha)/2 - cos(t)/2 - (Alpha/2) cos(2t); Alpha = -0.16 is the classic Blackman.
numeric::TVec& WindowBlackman(numeric::TVec& Src, std::int32_t Index, std::int32_t Len, double Alpha);
// Three-term cosine windows a0 - a1 cos(t) + a2 cos(2t), t = 2 pi i / (n - 1).
numeric::TVec& WindowBlackmanExact(numeric::TVec& Src, std::int32_t Index = 0, std::int32_t Len = -1);
numeric::TVec& WindowBlackmanHarris(numeric::TVec& Src, std::int32_t Index = 0, std::int32_t Len = -1);
numeric::TVec& WindowFlatTop(numeric::TVec& Src, std::int32_t Index = 0, std::int32_t Len = -1);
// I0(Beta sqrt(1 - ((i - M)/M)^2)) / I0(Beta), M = (n - 1)/2, with both end
// samples exactly 0.
numeric::TVec& WindowKaiser(numeric::TVec& Src, std::int32_t Index, std::int32_t Len, double Beta);
// A Dolph-Chebyshev window for a side-lobe attenuation of Atten dB, its
// largest value 1.
numeric::TVec& WindowChebyshev(numeric::TVec& Src, std::int32_t Index, std::int32_t Len, double Atten);
// Raised-cosine tapers over Round(n Percent / 200) samples at each end;
// Percent outside 0 .. 100 raises "not (0 < Percent < 100)" first.
numeric::TVec& WindowCosineTaper(numeric::TVec& Src, std::int32_t Index, std::int32_t Len, double Percent);
// exp(i ln(EndValue) / (n - 1)): from 1 down (or up) to EndValue.
numeric::TVec& WindowExponent(numeric::TVec& Src, std::int32_t Index, std::int32_t Len, double EndValue);

// Applies the window of WindowType (Param: Blackman's Alpha, Kaiser's Beta,
// Chebyshev's attenuation, the exponent's end value; the cosine taper takes
// 20 %). With Normalize the segment is then scaled so that the window's mean
// gain is 1: by the fixed factor of its type, or, for the Blackman, cosine
// taper, Kaiser, Chebyshev and exponent windows, by 1 / the mean of the
// window itself (a window that is all zeros is not scaled). Every check runs
// before a sample changes; a Normalize over a negative Len other than -1
// raises "(Len <= 0) or (Index < 0)".
void ApplyWindow(numeric::TVec& Src, TSignalWindowType WindowType, bool Normalize, double Param,
                 std::int32_t Index = 0, std::int32_t Len = -1);
// The display caption of a window type; "" for an unknown code.
std::string WindowCaption(TSignalWindowType WindowType);
// Completes the M complex bins 0 .. M-1 of a real signal's spectrum to the
// 2M bins of its full spectrum by conjugate symmetry; bin M is the half-rate
// bin when known, else 0. An empty Src is left alone; a real one raises
// "not Src.Complex". Returns Src.
numeric::TVec& ConjExtend(numeric::TVec& Src);
// The modified Bessel function of the first kind and order 0, by its power
// series in extended precision.
double BesselI0(double X);

// ---------------------------------------------------------------------------
// Signal measurement helpers (SignalMeasure.cpp)
//
// Ranges: Len = -1 means "to the end". Searches read real data only and
// refuse data too short for them. The running derivative and integral keep
// their state in the caller's array, which the caller zeroes before the first
// block; consecutive blocks then join without a seam. Real data use the real
// parts (doubles 0, 2, 4) of the state, complex data all of it.

// Subtracts the mean of Len samples from Index (the complex mean for complex
// data) from each of them. Returns Src.
numeric::TVec& RemoveMean(numeric::TVec& Src, std::int32_t Index = 0, std::int32_t Len = -1);
// Dst[n] := (x[n] - x[n-2]) / (2 dt): the central difference, one sample late.
// State (4 doubles): x[-2], x[-1] as complex values; afterwards the block's
// last two samples. Dst may be Src. Returns Dst.
numeric::TVec& Differentiate(const numeric::TVec& Src, numeric::TVec& Dst, std::span<double> State, double dt);
// y[n] := y[n-1] + dt/6 (x[n-2] + 4 x[n-1] + x[n]) (Simpson's rule).
// State (6 doubles): y[-1], x[-1], x[-2] as complex values. Dst may be Src.
// Returns Dst.
numeric::TVec& Integrate(const numeric::TVec& Src, numeric::TVec& Dst, std::span<double> State, double dt);
// Kaiser window beta for a side-lobe attenuation of A dB (A limited to 13 .. 300).
double KaiserBetaFromSidelobe(double A);
// RMS of a band of an amplitude spectrum of the given type (spAmplt when
// UseSpectrumType is false); spComplex raises. A complex spectrum counts by
// the magnitudes of its elements.
double BandRms(const numeric::TVec& Amplt, TSpectrumType SpectrumType, bool UseSpectrumType, std::int32_t Index,
               std::int32_t Len);
// Index of the first element closest to Value.
std::int32_t FindNearest(const numeric::TVec& Vec, double Value);
// The crossing of Level nearest to X in the direction the data take at X;
// X and Y receive its position and value (interpolated, or the sample).
void FindCrossingOfLevel(const numeric::TVec& Data, double& X, double& Y, double Level, bool Interpolate);
// The same at level 0.
void FindLevelCrossing(const numeric::TVec& Data, double& X, double& Y, bool Interpolate);
// Climbs (descends) from Index to a local maximum (minimum); Index receives
// it. True when it lies inside the data, not at either end.
bool FindLocalMaximum(const numeric::TVec& Data, std::int32_t& Index);
bool FindLocalMinimum(const numeric::TVec& Data, std::int32_t& Index);

}  // namespace dsp

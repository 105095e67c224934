// SignalUtils: the procedural signal routines of the filter-design and DSP
// layer. Each group of routines sits in a section of its own below and is
// implemented in its own file.
#pragma once

#include <cstdint>
#include <span>

#include "numeric/Numora.h"

namespace dsp {

// How a spectrum's values are scaled: amplitude, RMS, power, peak-to-peak or
// complex.
enum TSpectrumType : std::uint8_t { spAmplt, spRMS, spPower, spPeakPeak, spComplex };

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

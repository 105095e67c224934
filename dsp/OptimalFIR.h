// OptimalFIR: equiripple linear-phase FIR design by the Parks-McClellan method (the Remez
// exchange), the length estimate for multiband requirements, and the band-type wrappers that
// the signal components call on a TVec.
//
// Band edges are in Hz with the sampling frequency FS; every routine that takes edges divides them
// by FS, so that inside the unit frequencies are in cycles per sample (Nyquist = 0.5).
//
// Threads: no state between calls. Every call owns its grid and work space, so designs may run
// on several threads at once. GridDensity is read afresh by each design; a thread that must not
// see another thread's setting passes the density to RemezImpulse explicitly.
//
// Tested by: dsp/tests/OptimalFIRTest.cpp, OptimalFIROracleTest.cpp.
#pragma once

#include <atomic>
#include <cstdint>
#include <span>

#include "numeric/Numora.h"

namespace dsp {

// How the desired value and the weight vary inside a band, and the symmetry of the taps.
// g is the grid frequency in cycles per sample, w = 2 pi FS g.
enum TRemezType : std::uint8_t {
  rtMultiband,             // band gain, band weight; symmetric
  rtDifferentiator,        // gain * w, weight / g; antisymmetric
  rtHilbert,               // band gain, band weight; antisymmetric, taps negated
  rtIntegrator,            // gain / w, weight * g; antisymmetric, taps negated
  rtDoubleDifferentiator,  // gain * w^2, weight / g^2; antisymmetric
  rtDoubleIntegrator,      // gain / w^2, weight * g^2; antisymmetric, taps negated
};

// The band type of the FIR and IIR design routines.
enum TFilterType : std::uint8_t {
  fltLowpass,
  fltHighpass,
  fltBandpass,
  fltBandstop,
  fltHilbertOdd,
  fltHilbertEven,
  fltDifferentiatorOdd,
  fltDifferentiatorEven,
  fltDoubleDifferentiatorOdd,
  fltDoubleDifferentiatorEven,
  fltIntegratorOdd,
  fltIntegratorEven,
  fltDoubleIntegratorOdd,
  fltDoubleIntegratorEven,
};

// Dense-grid points per cosine coefficient, read by every design that is not given a density.
// Atomic only so that a setting made on one thread while another designs is not a data race.
inline std::atomic<std::int32_t> GridDensity{16};

// RemezFirDesign reports success when the exchange status is below this value.
inline std::atomic<std::int32_t> RemezStatusLimit{50};

// The estimated number of taps for one transition band from F1 to F2 (cycles per sample) with
// pass-band deviation Dp and stop-band deviation Ds (Herrmann's formula).
double RemezOrderHerrmann(double F1, double F2, double Dp, double Ds);

// The estimated number of taps of a multiband design: F edges (two per band, Hz), Gains and Dev
// (allowed deviation) per band. Weights receives max(Dev) / Dev[j] per band.
std::int32_t RemezOrder(std::span<const double> F, std::span<const double> Gains,
                        std::span<const double> Dev, numeric::TVec& Weights, double FS);

// Designs H.size() taps (3 to 10000) into H. F is divided by FS in place (and, for RType other
// than rtMultiband, its outer edges are kept a grid step away from 0 and, for odd lengths, from
// the Nyquist frequency). Returns the exchange status: below RemezStatusLimit when the design
// converged. Dev receives the deviation: the levelled weighted error of a converged design, else
// the largest weighted error that the returned taps reach. A design that cannot be made — fewer
// usable grid points than cosine coefficients, an edge outside 0..FS/2, a symmetric even length
// asked for gain at the Nyquist frequency (such a filter is 0 there) — returns a failed status
// with zero taps and an infinite Dev, never a meaningless result. Taps are never NaN.
std::int32_t RemezImpulse(std::span<double> H, std::span<double> F, std::span<const double> Gains,
                          std::span<const double> Weights, TRemezType RType, double& Dev,
                          double FS, bool KeepWeights);
// The same with the grid density given (GridDensity is not read).
std::int32_t RemezImpulse(std::span<double> H, std::span<double> F, std::span<const double> Gains,
                          std::span<const double> Weights, TRemezType RType, double& Dev,
                          double FS, bool KeepWeights, std::int32_t AGridDensity);

// Fills the dense grid: per band, Trunc((hi - lo) / Delf) points evenly from its lower to its
// upper edge with the band's gain and weight (internal).
void RemezGrid(std::int32_t NBands, std::span<const double> F, double Delf,
               std::span<const double> Gains, std::span<const double> Weights,
               std::span<double> Grid, std::span<double> Des, std::span<double> Wt);

// Runs the exchange on a prepared grid and assembles the N taps into H; Neg > 0 selects an
// antisymmetric response. Des and Wt are changed in place (internal).
std::int32_t RemezExchange(std::int32_t N, std::int32_t Neg, std::int32_t NGrid,
                           std::span<double> Des, std::span<const double> Grid,
                           std::span<double> Wt, std::span<double> H, double& Dev);

// The estimated length for the wrappers: W holds two edges (one transition) or four (two), Hz.
std::int32_t RemezFirOrder(std::span<const double> W, TFilterType FilterType, double Ripple,
                           double FS);

// Designs H.Length taps of the band type; true when the exchange converged.
bool RemezFirDesign(numeric::TVec& H, std::span<const double> W, TFilterType FilterType,
                    double Gain, double FS);

// Sizes H by RemezFirOrder (one more tap when ForceOdd and the length is even) and designs it.
bool RemezFirAuto(numeric::TVec& H, std::span<const double> W, double Ripple,
                  TFilterType FilterType, double Gain, double FS, bool ForceOdd);

}  // namespace dsp

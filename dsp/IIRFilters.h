// IIRFilters: IIR design from analog prototypes. The normalised lowpass prototypes
// (Butterworth, Chebyshev I and II, elliptic, Bessel), the order and cutoff estimates of
// given requirements, and the design pipelines that move a prototype to a lowpass, highpass,
// bandpass or bandstop filter, analog or digital, as zeros, poles and gain or as a transfer
// function. The conversions and transformations are those of dsp/LinearSystems.h.
//
// Frequencies: digital ones normalised to the Nyquist frequency (1 = half the sampling rate),
// analog ones in rad/s. Digital designs use the bilinear transform with FS = 2, so the prewarped
// analog frequency of a digital W is 4 tan(pi W / 2). Rp is the passband ripple, Rs the stopband
// attenuation, both in dB.
//
// No state between calls; any thread may call with its own vectors.
//
// Tested by: dsp/tests/IirPrototypesTest.cpp, IirOrderTest.cpp, IirDesignTest.cpp and the
// oracle tests beside them.
#pragma once

#include <cstdint>
#include <span>

#include "dsp/OptimalFIR.h"
#include "numeric/Numora.h"

namespace dsp {

// The IIR methods the callers choose from; fimDC and fimNotch are designed elsewhere.
enum TIirFilterMethod : std::uint8_t {
  fimButter,
  fimChebyshevI,
  fimChebyshevII,
  fimElliptic,
  fimDC,
  fimNotch,
  fimBessel,
};

// Where the band transformation happens: on the state-space matrices of the analog prototype,
// on its zeros and poles in the analog domain, or on the digital zeros and poles after the
// bilinear transform.
enum TIirFrequencyTransform : std::uint8_t {
  ftStateSpaceAnalog,
  ftZeroPoleAnalog,
  ftZeroPoleDiscrete,
};

// The largest order of a design; 1 is the smallest.
inline constexpr std::int32_t MaxIirOrder = 50;

// ---------------------------------------------------------------------------
// Analog lowpass prototypes (IirPrototypes.cpp): zeros Z and poles P (complex; sized here) and
// gain K of order N, normalised to 1 rad/s: the Butterworth -3 dB point, the Chebyshev I and
// elliptic passband edge and the Chebyshev II stopband edge lie there, and the Bessel poles
// have a geometric-mean magnitude of 1. The gain K = prod(-P) / prod(-Z) gives unit gain at DC,
// divided by sqrt(1 + eps^2) (the ripple's depth) for even-order Chebyshev I and elliptic.

void ButterPrototype(std::int32_t N, numeric::TVec& Z, numeric::TVec& P, double& K);
void Cheby1Prototype(std::int32_t N, numeric::TVec& Z, numeric::TVec& P, double Rp, double& K);
void Cheby2Prototype(std::int32_t N, numeric::TVec& Z, numeric::TVec& P, double Rs, double& K);
// N outside 1 .. MaxIirOrder raises "not (1 < Order < MaxIirOrder)"; Rp so small against Rs
// that the selectivity vanishes in double precision raises "Ripple out of range!". Both before
// Z, P or K change.
void EllipPrototype(std::int32_t N, numeric::TVec& Z, numeric::TVec& P, double Rp, double Rs, double& K);
void BesselPrototype(std::int32_t N, numeric::TVec& Z, numeric::TVec& P, double& K);

// ---------------------------------------------------------------------------
// Order estimation (IirOrder.cpp): the smallest order that meets the requirements, and the
// cutoffs to design it with.
//
// BEdg: the band edges, ascending: [Wp, Ws] lowpass, [Ws, Wp] highpass, [Ws1, Wp1, Wp2, Ws2]
// bandpass, [Wp1, Ws1, Ws2, Wp2] bandstop. CutoffFreq receives one cutoff (lowpass, highpass)
// or two (band types), in the units of BEdg. A bandstop estimate first moves the passband
// edges toward the stopband as far as that lowers the order. The Butterworth cutoff meets the
// stopband attenuation exactly; the Chebyshev I and elliptic cutoffs are the passband edges.
//
// Checks, before CutoffFreq is written: a CutoffFreq not half as long as BEdg raises
// "(Length(CuttoffFreq)*2) <> Length(BEdg)" (ButterOrder) or "(Length(CuttoffFreq) div 2) <>
// Length(BEdg)" (the others); a band type other than the four raises "FilterType not
// suported!"; a wrong edge count "Length(BEdg) <> 2" or "Length(BEdg) <> 4"; requirements
// whose order is not finite (coinciding edges, no passband ripple, ...) "Order = Inf".

std::int32_t ButterOrder(std::span<const double> BEdg, TFilterType FilterType, double Rp, double Rs,
                         std::span<double> CutoffFreq, bool Analog);
std::int32_t Cheby1Order(std::span<const double> BEdg, TFilterType FilterType, double Rp, double Rs,
                         std::span<double> CutoffFreq, bool Analog);
std::int32_t Cheby2Order(std::span<const double> BEdg, TFilterType FilterType, double Rp, double Rs,
                         std::span<double> CutoffFreq, bool Analog);
std::int32_t EllipOrder(std::span<const double> BEdg, TFilterType FilterType, double Rp, double Rs,
                        std::span<double> CutoffFreq, bool Analog);

// ---------------------------------------------------------------------------
// Design pipelines (IirDesign.cpp).
//
// CutoffFreq: one cutoff (lowpass, highpass) or the lower and upper band edge (bandpass,
// bandstop). The result is Wn, the cutoff or the geometric band centre: prewarped for digital
// designs on ftStateSpaceAnalog and ftZeroPoleAnalog, as given on ftZeroPoleDiscrete and for
// analog designs.
//
// Gains: the designs have unit gain at the centre of the passband, except where the passband
// ripple starts below it (even-order Chebyshev I and elliptic), where they reach 1 at the
// ripple's peaks. Even-order Chebyshev I and elliptic designs are scaled to gain 1 at the
// reference frequency instead, by 10^(Rp/20), on ftZeroPoleDiscrete (every band type) and as
// bandstops on ftZeroPoleAnalog (gain 1 at zero frequency).
//
// Checks: a band type other than the four raises "FilterType not suported!", a cutoff count
// that does not fit it "(Length(CutoffFreq) <> 1)" or "(Length(CutoffFreq) <> 2)", an analog
// design on ftZeroPoleDiscrete "Analog not supported with ftZeroPoleDiscrete"; on
// ftStateSpaceAnalog Chebyshev and elliptic orders above MaxIirOrder raise "Order >
// MaxIirOrder" and Chebyshev II and elliptic cutoff counts above 2 "CutoffFreq.Length > 2";
// and the prototypes' own checks.

double ButterZp(std::int32_t Order, std::span<const double> CutoffFreq, TFilterType FilterType, bool Analog,
                numeric::TVec& Z, numeric::TVec& P, double& K, TIirFrequencyTransform Transform);
double Cheby1Zp(std::int32_t Order, std::span<const double> CutoffFreq, double Rp, TFilterType FilterType,
                bool Analog, numeric::TVec& Z, numeric::TVec& P, double& K, TIirFrequencyTransform Transform);
double Cheby2Zp(std::int32_t Order, std::span<const double> CutoffFreq, double Rs, TFilterType FilterType,
                bool Analog, numeric::TVec& Z, numeric::TVec& P, double& K, TIirFrequencyTransform Transform);
double EllipZp(std::int32_t Order, std::span<const double> CutoffFreq, double Rp, double Rs, TFilterType FilterType,
               bool Analog, numeric::TVec& Z, numeric::TVec& P, double& K, TIirFrequencyTransform Transform);
double BesselZp(std::int32_t Order, std::span<const double> CutoffFreq, TFilterType FilterType, bool Analog,
                numeric::TVec& Z, numeric::TVec& P, double& K, TIirFrequencyTransform Transform);

// The same designs as numerator and denominator (real, descending powers, Den[0] = 1); the
// result is that of the zero-pole design.
double ButterTf(std::int32_t Order, std::span<const double> CutoffFreq, TFilterType FilterType, bool Analog,
                numeric::TVec& Num, numeric::TVec& Den, TIirFrequencyTransform Transform);
double Cheby1Tf(std::int32_t Order, std::span<const double> CutoffFreq, double Rp, TFilterType FilterType,
                bool Analog, numeric::TVec& Num, numeric::TVec& Den, TIirFrequencyTransform Transform);
double Cheby2Tf(std::int32_t Order, std::span<const double> CutoffFreq, double Rs, TFilterType FilterType,
                bool Analog, numeric::TVec& Num, numeric::TVec& Den, TIirFrequencyTransform Transform);
double EllipTf(std::int32_t Order, std::span<const double> CutoffFreq, double Rp, double Rs, TFilterType FilterType,
               bool Analog, numeric::TVec& Num, numeric::TVec& Den, TIirFrequencyTransform Transform);
double BesselTf(std::int32_t Order, std::span<const double> CutoffFreq, TFilterType FilterType, bool Analog,
                numeric::TVec& Num, numeric::TVec& Den, TIirFrequencyTransform Transform);

}  // namespace dsp

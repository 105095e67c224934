// SignalUtils: the procedural signal routines of the filter-design and DSP
// layer. Each group of routines sits in a section of its own below and is
// implemented in its own file.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "dsp/OptimalFIR.h"
#include "numeric/Numora.h"
#include "platform/spl/Fir.h"
#include "platform/spl/Iir.h"
#include "platform/spl/Tone.h"
#include "platform/spl/Wavelet.h"

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
// Window-method FIR design (FirWindowDesign.cpp, SavGolay.cpp)
//
// Edges W are in Hz with the sampling frequency FS; cutoffs are relative to
// the Nyquist frequency: one edge is the cutoff, two edges of a low- or
// high-pass the middle of the transition, two edges of a band-pass or
// band-stop its two cutoffs, four edges the middles of its two transitions.
// Ripple is a linear deviation (0.001 is 60 dB). The designs handle the band
// types up to fltDifferentiatorEven and refuse the others. Every check runs
// before H changes.

// Kaiser beta for a ripple: 0.1102 (A - 8.7) above 50 dB, 0.5842 (A - 21)^0.4
// + 0.07886 (A - 21) from 21 dB, else 0, with A = -20 log10(Ripple).
double KaiserBetaFromRipple(double Ripple);
// Kaiser's length for the transition between two edges: Round((A - 8) /
// (2.285 dw)), dw in radians per sample (no 1 added); no edges give 0.
// "Length(W) <> 2"; a ripple of 0 or less or equal edges, which give no
// finite length, are refused.
std::int32_t KaiserOrder(std::span<const double> W, double Ripple, double FS);
// H.Length samples of the ideal impulse response of the band type, centred
// on (H.Length - 1) / 2; the antisymmetric types' rounding-level taps become
// exact zeros, and they are 0 at the centre. "not (1 < Length(W) < 2)",
// "not (2 < Length(W) < 4)", "Length(W) must be 1,2 or 4".
void IdealImpulse(numeric::TVec& H, std::span<const double> W, TFilterType FilterType, double FS);
// The same response for N taps sampled every Step taps from Offset:
// Round((N - 1) / Step) + 1 samples. Step <= 0 raises "Step".
void IdealImpulseStep(std::int32_t N, numeric::TVec& H, std::span<const double> W, double Offset, double Step,
                      TFilterType FilterType, double FS);
// H.Length taps (made odd for high-pass, band-stop and the odd types, even
// for the even types; at most 10000) of the ideal response times the window
// (Param its parameter, not normalised) times Gain. "H.Length < 4",
// "FilterType not supported!".
void FirWindowDesign(numeric::TVec& H, std::span<const double> W, double Param, TFilterType FilterType,
                     TSignalWindowType WindowType, double Gain, double FS);
// The Kaiser design: the length from KaiserOrder (the larger of two
// transitions; odd but for the low-pass; 4 .. 10000), the ideal response
// sampled every Step taps from Offset, the Kaiser window of
// KaiserBetaFromRipple, Gain. ExtendTaps samples two taps more and drops the
// first Round(1 / Step) samples. Returns the length before the extension.
// "(Length(W) <> 2) and (Length(W) <> 4)", "FilterType not supported!".
std::int32_t FirKaiserDesign(numeric::TVec& H, std::span<const double> W, double Ripple, double Offset, double Step,
                             TFilterType FilterType, bool ExtendTaps, double Gain, double FS);
// Savitzky-Golay design over an odd frame of FrameSize samples at -h .. h
// with a polynomial of degree Order: Diff ((Order + 1) x FrameSize) maps a
// frame to the fitted polynomial's coefficients (row r: of x^r), Smooth
// (FrameSize x FrameSize) to its values (row c: at frame position c).
// Weights, when given, weigh the samples of the fit (weighted least squares).
// "not Odd(FrameSize)!", "not CheckRange(0,Order,FrameSize-1)",
// "Weights.Length <> FrameSize!", "Weights = complex!", "Weights.Min <= 0".
void SavGolayDesign(numeric::TMtx& Smooth, numeric::TMtx& Diff, std::int32_t FrameSize, std::int32_t Order,
                    const numeric::TVec* Weights = nullptr);
// H := the centre row of Smooth: the taps of the centred smoothing filter.
void SavGolayFilter(numeric::TVec& H, std::int32_t FrameSize, std::int32_t Order,
                    const numeric::TVec* Weights = nullptr);

// ---------------------------------------------------------------------------
// Frequency response, group delay and cepstrum (FreqResponse.cpp)
//
// Spectra come from the vector FFT: a real signal of n samples gives the n/2
// bins 0 .. n/2-1 with the half-rate bin beside them; a complex one n bins.
// Transform lengths are the smallest power of two (2 or more) that holds the
// padded data. FFT results vary in their last bits with the transform's plan.

// How PhaseUnwrap continues the phase.
enum TRunningPhase : std::uint8_t { rpDefault, rpConstPhase, rpIntegerLag, rpPartial };

// H := the response of B / A (A may be nil) at the bins of an n-point
// transform, n >= PadFactor x the longer polynomial. With A, the plain
// polynomials are transformed (a window would change the filter) and H :=
// FFT(B) / FFT(A), returning H.Length / B.Length. Without A, B is windowed
// over its own length, padded and transformed; the return value r is n /
// B.Length (2 H.Length / B.Length real, H.Length / B.Length complex), and
// Normalize scales H by r / H.Length. "FreqResponseFft: B.Length = 0",
// "FreqResponseFft: A.Length = 0", "FreqResponseFft: PadFactor < 1".
double FreqResponseFft(const numeric::TVec& B, const numeric::TVec* A, numeric::TVec& H, std::int32_t PadFactor,
                       bool Normalize, TSignalWindowType Window, double WindowParam);
// Result := the group delay of B / A in samples per bin, Re(FFT(n b[n]) /
// FFT(b)) - Re(FFT(n a[n]) / FFT(a)) over an n-point transform, n >= the
// longer polynomial x ZeroPadding. A bin where B or A is 0 gives no finite
// delay. "ZeroPadding < 1", "GroupDelayFft: B.Length = 0".
void GroupDelayFft(numeric::TVec& Result, const numeric::TVec& B, const numeric::TVec* A, std::int32_t ZeroPadding);
// Y := the real cepstrum of X: the inverse transform (first half) of ln |FFT
// of the windowed X| (zero magnitudes giving 0), or with MagnitudeOutput the
// magnitudes of the windowed transform of that logarithm. RemoveMean removes
// the mean of X and of the logarithm. Returns Y.
numeric::TVec& RealCepstrum(const numeric::TVec& X, numeric::TVec& Y, bool RemoveMean, TSignalWindowType Window,
                            bool MagnitudeOutput);
// Y := the complex cepstrum of the real X over n >= PadFactor x X.Length
// samples: ln |FFT| + i (unwrapped phase less the integer lag). Returns the
// lag. "X.Complex = True".
std::int32_t ComplexCepstrum(const numeric::TVec& X, numeric::TVec& Y, std::int32_t PadFactor);
// Dst := Src unwrapped (period 2 pi in radians, else 360; jumps beyond the
// period less Cutoff, in degrees, fold), then by Mode: rpConstPhase adds the
// slope period / (2 Param) per point and returns its total; rpIntegerLag
// removes the linear phase of Ceil(|last| / half period) half periods
// (negated for a positive last value) and returns that count; rpPartial
// skips the unwrapping and adds (i mod L) period / (2 Param) to Src, L the
// power of two at or below Param, folding values above half a period.
// Returns 0 otherwise. Dst may be Src. "Src.Complex", "PhaseUnwrap: Param
// outside 1 .. 2^30" (rpPartial).
double PhaseUnwrap(const numeric::TVec& Src, numeric::TVec& Dst, TRunningPhase Mode, double Param, bool Radians,
                   double Cutoff);

// ---------------------------------------------------------------------------
// Primitive filter and generator states (FilterStates.cpp, Generators.cpp,
// MedianDelay.cpp)
//
// The owner of a running filter or generator keeps one record and passes it
// to every call; a record belongs to one thread at a time. A call that fails
// its checks leaves the record as it was. Frequencies of the generators are
// in cycles per sample, phases in radians; the notch and DC-removal designs
// take Hz with the sampling rate FS.

// A running FIR filter, single rate or multirate.
struct TFirState {
  spl::FirState Library;
  std::int32_t UpSample = 1;
  std::int32_t DownSample = 1;
  bool ComplexTaps = false;
  bool Initialized = false;
  bool ComplexData = false;
};

// A running IIR filter.
struct TIirState {
  spl::IirState Library;
  bool ComplexTaps = false;
  bool Initialized = false;
  bool ComplexData = false;
};

// A sine generator: Mag sin(2 pi f n + Phase).
struct TToneState {
  spl::ToneState RealTone;
  spl::ToneState CplxTone;
  bool Complex = false;
  bool NegativeFrequency = false;
  // The tone stands still (f = 0) or alternates (f = 0.5); it is generated
  // like any other.
  bool Constant = false;
  bool Initialized = false;
  double Phase = 0.0;
};

// A triangle-wave generator.
struct TTriangleState {
  spl::TrnglState RealTriangle;
  spl::TrnglState CplxTriangle;
  bool Complex = false;
  bool Initialized = false;
};

// A running median (Length: the odd window, Buffer: the last Length raw
// inputs) or a delay line (Length: the delay, Buffer: the samples still to
// come out).
struct TMedianState {
  std::int32_t Length = 0;
  std::vector<double> Buffer;
};

// The wavelet families of the library's wavelet state, in its order.
enum TWaveletType : std::uint8_t {
  wtHaar,
  wtDaublet,
  wtSymmlet,
  wtCoiflet,
  wtVaidyanathan,
  wtBSpline,
  wtBSplineDual,
  wtLinSpline,
  wtQuadSpline,
  wtByFilter,
};

// Which half of a wavelet decomposition a step keeps: the low-pass
// approximation or the high-pass detail.
enum TWaveletDecomp : std::uint8_t { wtApproximation, wtDetail };

// Sets up a FIR filter of Taps for real or complex data: single rate when
// UpSample = DownSample = 1, else the multirate filter that puts each input
// at UpPhase of its UpSample positions and keeps DownPhase of every
// DownSample filtered positions (phases 0 .. factor-1). A previous filter in
// the record is released first. "FIRTaps.Length = 0", "(DownSample < 1) or
// (UpSample < 1)", "(UpPhase < 0) or (UpPhase >= UpSample)", "(DownPhase < 0)
// or (DownPhase >= DownSample)".
void FirInitState(const numeric::TVec& Taps, TFirState& State, bool ComplexData, std::int32_t UpSample = 1,
                  std::int32_t UpPhase = 0, std::int32_t DownSample = 1, std::int32_t DownPhase = 0);
// Filters one block: Dst is complex when Src or the taps are, and receives
// every output the block gives (Src.Length for a single-rate filter; for a
// multirate one the outputs whose positions the block's inputs reach, which
// over blocks come to UpSample / DownSample per input). Every input is
// consumed. Dst may be Src. "First.Initialized = false"; data of the other
// kind than the set-up raises "Src.Complex <> ComplexData".
void FirFilter(const numeric::TVec& Src, numeric::TVec& Dst, TFirState& State);
void FirFreeState(TFirState& State);

// Sets up an IIR filter: Taps hold the numerator and the denominator, each of
// Taps.Length div 2 coefficients in descending powers. A previous filter is
// released first. "Taps.Length = 0", "Taps.Length < 2", "the denominator's
// leading coefficient is 0".
void IirInitState(const numeric::TVec& Taps, TIirState& State, bool ComplexData);
// Filters one block into Dst (complex when Src or the taps are; Dst may be
// Src). "not IirState.Initialized"; data of the other kind than the set-up
// raises "Src.Complex <> ComplexData".
void IirFilter(const numeric::TVec& Src, numeric::TVec& Dst, TIirState& State);
void IirFreeState(TIirState& State);

// A second-order notch at NotchFrequency with pole radius r:
// Num = [1, -2 cos w, 1], Den = [1, -2 r cos w, r^2], w = 2 pi NotchFrequency / FS.
void NotchDesign(numeric::TVec& Num, numeric::TVec& Den, double NotchFrequency, double r, double FS);
// A first-order DC blocker whose transition band is TransitionBandwidth wide.
void DcRemovalDesign(numeric::TVec& Num, numeric::TVec& Den, double TransitionBandwidth, double FS);

// Sets up a tone: Mag sin(2 pi Freq n + Phase) from n = 0, at every frequency
// (also 0 and half the sampling rate); complex tones are Mag (sin, -cos) of
// that angle, conjugated for a negative frequency.
void ToneInit(TToneState& State, bool Complex, double Freq, double Phase, double Mag);
// Fills Dst with the next Dst.Length samples. "Tone: Dst.Length = 0!",
// "Dst.Complex <> ToneState.Complex", "not ToneState.Initialized".
void ToneGenerate(numeric::TVec& Dst, TToneState& State);
// Sets up a triangle wave of asymmetry Asym (radians, -pi .. pi; 0 is
// symmetric), peaking at Mag where the phase angle is a multiple of 2 pi.
void TriangleInit(TTriangleState& State, bool Complex, double Freq, double Phase, double Mag, double Asym);
void TriangleGenerate(numeric::TVec& Dst, TTriangleState& State);
// The phase in [0, 2 pi).
double WrapPhase(double Phase);
// The frequency folded into one period: [-0.5, 0.5] complex, [0, 0.5] real.
double WrapFrequency(bool Complex, double Freq);

// Sets up the library wavelet state for DataLength samples (a power of two).
// "Src.Length = 0", "DataLength not power of two!", "Parameter1 < 1",
// "Level > LagestLog2(Src.Length)!", and the library's refusal of parameters
// the family does not have.
void WaveletInit(std::int32_t DataLength, std::int32_t Parameter1, std::int32_t Parameter2, std::int32_t Level,
                 TWaveletType WaveletType, spl::WtState& State);

// A running median over WindowLength samples (made odd) with a zero history.
void MedianInit(std::int32_t WindowLength, TMedianState& State);
// Dst[i] := the median of the Length inputs before Src[i] (the history, then
// Src); the history keeps the last Length raw inputs. Real data only: a
// complex Src raises "Src.Complex = True". Dst may be Src.
void MedianFilter(const numeric::TVec& Src, numeric::TVec& Dst, TMedianState& State);
void MedianFree(TMedianState& State);
// A delay line of Delay zero samples.
void DelayInit(std::int32_t Delay, TMedianState& State);
// Dst := Src delayed by the line's length across blocks (complex data in
// complex elements). Dst may be Src.
void DelayFilter(const numeric::TVec& Src, numeric::TVec& Dst, TMedianState& State);
// Dst[i] := the mean magnitude of frame i of FrameSize samples of Src.
// "FrameSize < 1", "(Src.Length mod FrameSize) <> 0".
void FrameAverage(const numeric::TVec& Src, numeric::TVec& Dst, std::int32_t FrameSize);

// ---------------------------------------------------------------------------
// Spectrum utilities (SpectrumUtils.cpp)

// Res := S padded with blanks to Width (never cut): Align 0 left-aligned, 1
// right-aligned, 2 centred with (Width - Length(S)) div 2 blanks each side;
// another Align leaves Res as it was.
void PadText(const std::string& S, std::int32_t Width, std::uint8_t Align, std::string& Res);
// S := "Peak amplitude", "Peak RMS", "Peak power", "Peak-peak" or "Complex";
// another value leaves S as it was.
void SpectrumTypeCaption(TSpectrumType SpectrumType, std::string& S);
// Vec := log to the base Base^0.05 of Vec (Base 10: 20 log10, Base 100:
// 10 log10), relative to Ref when Relative, each value first raised to the
// floor: -Span relative, log(Ref) - Span absolute. A Ref of 0 or less sets
// every value to -Span. Returns the floor.
double DecibelScale(numeric::TVec& Vec, bool Relative, double Base, double Span, double Ref);
// Res := sqrt((N SumSq - Sum^2) / (N (N - 1))) element by element: the
// standard deviation of N records from their sums (0 where rounding makes the
// difference negative). Res may be one of the sums.
void StdDevFromSums(const numeric::TVec& SumSq, const numeric::TVec& Sum, std::int32_t N, numeric::TVec& Res);
// Avg := (Avg (N - 1) + Src) / N after Count records (N < 2: Count + 1, the
// mean of all); the first record (Count 0) is copied. A record that does not
// fit raises and leaves Avg as it was.
void AverageVec(numeric::TVec& Avg, const numeric::TVec& Src, std::int32_t Count, std::int32_t N);
void AverageMtx(numeric::TMtx& Avg, const numeric::TMtx& Src, std::int32_t Count, std::int32_t N);
// Dest[k] := X[i] X[i + k] conj(X[2i + k]), k < n - 2i (i = Index, n =
// X.Length); Full places them from Dest[i] in n elements, zeros around.
// Fewer than 2 elements give an empty complex Dest. "Index > (Spectrum.Length
// div 2) -1", "Index < 0".
void BispectrumSlice(numeric::TVec& Dest, const numeric::TVec& X, std::int32_t Index, bool Full);
// Dest[k] := X[i] X[k] conj(X[i + k]) over the whole spectrum (i + 1 or n - i
// products) or, with Half, the n div 2 products of the half spectrum, those
// past bin i taken from bin n div 2 + i + 1. "Index > (Spectrum.Length-1)",
// "Index > (Spectrum.Length div 2)", "Index < 0".
void BispectrumSliceFull(numeric::TVec& Dest, const numeric::TVec& X, std::int32_t Index, bool Half);
// The rows of the two routines above over plain arrays in double arithmetic,
// for callers that build many rows (a bispectrum frame): BispectrumRow
// writes the n div 2 products of BispectrumSliceFull with Half, n =
// X.size(), into Dest[0 .. n div 2 - 1]; BispectrumLine the products of
// BispectrumSlice with Full into Dest[Index .. n - Index - 1]. Elements no
// product reaches are left as they are. The products are a b conj(c) as a
// complex multiply gives them: (a b) conj(c), each product rounded to double.
// Dest holds at least n div 2 (BispectrumRow) or n (BispectrumLine)
// elements; the index errors are those of the routines above.
void BispectrumRow(std::span<const numeric::TCplx> X, std::int32_t Index, std::span<numeric::TCplx> Dest);
void BispectrumRow(std::span<const double> X, std::int32_t Index, std::span<double> Dest);
void BispectrumLine(std::span<const numeric::TCplx> X, std::int32_t Index, std::span<numeric::TCplx> Dest);
void BispectrumLine(std::span<const double> X, std::int32_t Index, std::span<double> Dest);
// Nm / D, or 0 when D is 0 (the divisor comes first).
double SafeDivide(double D, double Nm);
// max(|A - X|, |X - B|).
double FarthestDistance(double A, double B, double X);
// Result[i] := sum X[j] exp(-2 pi i Freqs[i] j), the transform of X (real
// or complex) at each frequency in cycles per sample, all of them in one pass
// over X (SpectrumAtFrequencies.cpp). Each value is within a few units of
// rounding times the sum of |X[j]|, at any frequency and length (no
// recursion whose error grows with the length). "Result holds fewer values
// than Freqs".
void SpectrumAtFrequencies(const numeric::TVec& X, std::span<const double> Freqs, std::span<numeric::TCplx> Result);

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

// ---------------------------------------------------------------------------
// Autoregressive estimation (ArEstimation.cpp) and the chirp-z transform (ChirpZ.cpp)
//
// The model of order p: x[n] + A[1] x[n-1] + ... + A[p] x[n-p] = e[n], A[0] = 1, with E the
// variance of e. A follows the complexity of x; E is real. Burg also gives the p reflection
// coefficients K. The modified covariance method fits the forward and the conjugated backward
// prediction errors together.

// 2 Order > x.Length raises "Burg: Order*2 > c.Length".
void ArBurg(const numeric::TVec& x, std::int32_t Order, numeric::TVec& A, numeric::TVec& K, double& E);
// x.Length < 2 Order raises "x.Length < 2*Order"; data whose least-squares problem has no
// unique solution raises "ArCovariance: " and the solver's text.
void ArCovariance(const numeric::TVec& x, std::int32_t Order, numeric::TVec& A, double& E);
// x.Length < 1.5 Order raises "Order*3/2 > x.Length"; a singular system the solver's error.
void ArModCovariance(const numeric::TVec& x, std::int32_t Order, numeric::TVec& A, double& E);

// Y := the z-transform of x at the M points z_k = A W^-k, k = 0 .. M-1 (M complex values),
// by Bluestein's convolution.
void CztCore(const numeric::TVec& x, std::int32_t M, const numeric::TCplx& W, const numeric::TCplx& A,
             numeric::TVec& Y);
// The M points run along a spiral from radius R1 at frequency F1 to R2 at F2 (F1, F2 in the
// units of the sampling frequency FS); M = 1 gives the single point at F1.
void CztSetup(const numeric::TVec& x, std::int32_t M, numeric::TVec& Y, double F1, double F2, double FS, double R1,
              double R2);

}  // namespace dsp

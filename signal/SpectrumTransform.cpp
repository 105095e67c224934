// TSpectrumAnalyzer: the window and its correction, the frame, the
// transform of each method, the arrangement of the lines, the amplitude
// factor and the evaluation at an exact frequency.
// Tested by: signal/tests/SpectrumAnalyzerTest.cpp,
// signal/tests/SpectrumAnalyzerOracleTest.cpp.
#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <string>
#include <vector>

#include "numeric/MathCore.h"
#include "numeric/ObjectCache.h"
#include "numeric/Toeplitz.h"
#include "signal/SignalInternal.h"
#include "signal/SpectrumAnalyzer.h"
#include "signal/SpectrumCZT.h"
#include "signal/SpectrumPeaks.h"
#include "signal/SpectrumStats.h"

namespace sig {

namespace {

// The longest transform: its length and its index stay within 32 bits.
constexpr std::int64_t MaxTransformLength = std::int64_t{1} << 30;

// The smallest power of two >= Length (at least 2), times Padding.
std::int32_t TransformLength(std::int32_t Length, std::int32_t Padding) {
  std::int64_t n = 2;
  while (n < Length) n *= 2;
  n *= std::max(Padding, 1);
  if (n > MaxTransformLength)
    numeric::RaiseError("Transform length " + std::to_string(n) + " exceeds 2^30 points!");
  return static_cast<std::int32_t>(n);
}

bool KeepsSequence(TSpectrumMethod Method) {
  return Method == smFFT || Method == smCZT || Method == smRealCepstrum;
}

double InverseMean(const numeric::TVec& Window) {
  const double mean = Window.Length() > 0 ? Window.Mean() : 0.0;
  return mean > 0.0 ? 1.0 / mean : 1.0;
}

}  // namespace

void detail::BuildWindow(numeric::TVec& W, std::int32_t Length, dsp::TSignalWindowType Type, double SidelobeAtt,
                         double ExpWindow) {
  double parameter = 0.0;
  switch (Type) {
    case dsp::wtBlackman:
      parameter = -0.16;
      break;
    case dsp::wtKaiser:
      parameter = dsp::KaiserBetaFromSidelobe(SidelobeAtt);
      break;
    case dsp::wtChebyshev:
      parameter = SidelobeAtt;
      break;
    case dsp::wtExponent:
      parameter = ExpWindow;
      break;
    default:
      break;
  }
  W.Size(Length, false);
  W.SetVal(1.0);
  dsp::ApplyWindow(W, Type, false, parameter);
}

std::vector<std::string> detail::WindowTypeNames() {
  return {"wtRectangular",    "wtHanning",       "wtHamming",        "wtFlatTop", "wtBartlet",   "wtBlackman",
          "wtBlackmanHarris", "wtBlackmanExact", "wtCosineTappered", "wtKaiser",  "wtChebyshev", "wtExponent"};
}

// --- The window ------------------------------------------------------------

void TSpectrumAnalyzer::SetWindow(TSignalWindowType Value) {
  const TSignal* input = InputSignal();
  if (input == nullptr) {
    FWindowValid = false;
    FWindow = Value;
    return;
  }
  const bool fits = FWindowValid && FWindowLength == input->Length() && FWindowComplex == input->Complex();
  if (Value == FWindow && fits) return;
  FWindow = Value;
  FWindowValid = false;
  MarkDirty();
  Restart();
  PrepareWindow(input->Length(), input->Complex());
}

void TSpectrumAnalyzer::PrepareWindow(std::int32_t Length, bool Complex) {
  if (FWindowValid && FWindowLength == Length && FWindowComplex == Complex) return;
  numeric::TVec& w = *FWindowVec;
  detail::BuildWindow(w, Length, FWindow, FSidelobeAtt, FExpWindow);
  FComputedCorrection = 1.0;
  if (FWindow == dsp::wtCosineTappered || FWindow == dsp::wtKaiser || FWindow == dsp::wtChebyshev ||
      FWindow == dsp::wtExponent)
    FComputedCorrection = InverseMean(w);
  FWindowLength = Length;
  FWindowComplex = Complex;
  FWindowValid = true;
}

double TSpectrumAnalyzer::WindowCorrection() const {
  if (FMethod != smFFT && FMethod != smCZT) return 1.0;
  switch (FWindow) {
    case dsp::wtRectangular:
      return 1.0;
    case dsp::wtHanning:
      return 2.0;
    case dsp::wtHamming:
      return 1.85185185;
    case dsp::wtFlatTop:
      return 3.55790978;
    case dsp::wtBartlet:
      return 2.0;
    case dsp::wtBlackman:
      return 2.38095238;
    case dsp::wtBlackmanHarris:
      return 2.362782;
    case dsp::wtBlackmanExact:
      return 2.344168;
    case dsp::wtCosineTappered:
    case dsp::wtKaiser:
    case dsp::wtChebyshev:
    case dsp::wtExponent:
      // These windows change with their parameter: the factor is taken
      // from the window built (the exponential one with an end value of
      // 0.1 gives the 2.558 of a fixed table, 0.01 gives 4.65).
      return FComputedCorrection;
  }
  return 1.0;
}

void TSpectrumAnalyzer::KeepExactCopy() {
  if (FPeaks->Interpolation().Method() == imNone || !KeepsSequence(FMethod)) {
    FExact.reset();
    return;
  }
  if (!FExact) FExact = std::make_unique<numeric::TVec>();
  FExact->Copy(*FWork);
  const TSignal& source = Transformed();
  FExactStart = source.StartFrequency();
  FExactFs = source.SamplingFrequency();
}

// --- The frame -------------------------------------------------------------

TSignal& TSpectrumAnalyzer::Transformed() const {
  TSignal* source = FTransformed != nullptr ? FTransformed : InputSignal();
  if (source == nullptr) numeric::RaiseError("Inputs[0] = nil!");
  if (source->ChannelCount() > 1) numeric::RaiseError("Input.ChannelCount > 1 not supported!");
  return *source;
}

void TSpectrumAnalyzer::LoadFrame(const TSignal& Source, std::int32_t n) {
  const numeric::TVec& x = Source.Data();
  const bool complex = x.Complex();
  const std::int32_t N = x.Length();
  numeric::TVec& w = *FWork;
  w.Size(n, complex);
  if (FWindow != dsp::wtRectangular) PrepareWindow(N, complex);
  numeric::TCplx mean{0.0, 0.0};
  if (FDCDump && N > 0) {
    if (complex)
      x.CMean(mean);
    else
      mean.Re = x.Mean();
  }
  // The copy is rotated, not the input: element j is the input's
  // (j - Rotation) mod N.
  std::int32_t r = 0;
  if (&Source == InputSignal() && N > 0) r = static_cast<std::int32_t>(((FRotation % N) + N) % N);
  const double* window = FWindow != dsp::wtRectangular ? FWindowVec->Values() : nullptr;
  const int parts = complex ? 2 : 1;
  const double* src = x.Values();
  double* dst = w.Values();
  // One pass: each sample less the mean, times its window value.
  const auto load = [&](std::int32_t To, std::int32_t From, std::int32_t Count) {
    for (std::int32_t j = 0; j < Count; ++j) {
      const std::int32_t t = To + j;
      const double g = window != nullptr ? window[t] : 1.0;
      const double* s = src + static_cast<std::ptrdiff_t>(From + j) * parts;
      double* d = dst + static_cast<std::ptrdiff_t>(t) * parts;
      d[0] = (s[0] - mean.Re) * g;
      if (parts == 2) d[1] = (s[1] - mean.Im) * g;
    }
  };
  load(0, N - r, r);
  load(r, 0, N - r);
  if (n > N) w.SetZero(N, n - N);
}

// --- The transforms --------------------------------------------------------

void TSpectrumAnalyzer::ComputeSpectrum(std::int32_t TargetLength, numeric::TVec* Dest) {
  const TSignal& source = Transformed();
  if (TargetLength < source.Length()) numeric::RaiseError("TargetLength < Input.Length");
  if (source.Length() == 0) numeric::RaiseError("Input.Length = 0");
  numeric::TVec& t = Dest != nullptr ? *Dest : *FWork;
  switch (FMethod) {
    case smFFT:
      ComputeFft(source, TargetLength, t);
      break;
    case smYuleWalker:
    case smBurg:
    case smCov:
    case smMCov:
      ComputeAutoregressive(source, TargetLength, t);
      break;
    case smCZT:
      ComputeChirpZ(source, t);
      break;
    case smRealCepstrum:
      ComputeCepstrum(source, TargetLength, t);
      break;
  }
}

void TSpectrumAnalyzer::ComputeFft(const TSignal& Source, std::int32_t TargetLength, numeric::TVec& T) {
  const std::int32_t n = TransformLength(TargetLength, ZeroPadding());
  FFftLength = n;
  FPaddingRatio = static_cast<double>(n) / Source.Length();
  LoadFrame(Source, n);
  KeepExactCopy();
  if (&T == FWork.get())
    FWork->FFT();
  else
    T.FFT(*FWork);
  Arrange(Source, T, !Source.Complex());
  FAmplitudeFactor = FScaleFactor * FPaddingRatio * WindowCorrection() / T.Length();
}

void TSpectrumAnalyzer::ComputeAutoregressive(const TSignal& Source, std::int32_t TargetLength, numeric::TVec& T) {
  const std::int32_t N = Source.Length();
  numeric::TCachedVec x, a;
  x->Copy(Source.Data());
  if (&Source == InputSignal() && FRotation != 0) x->Rotate(FRotation % N);
  if (FDCDump) dsp::RemoveMean(*x);
  double e = 0.0;
  const auto order = [&](std::int32_t Limit) {
    const std::int32_t p = std::min(FAROrder, Limit);
    if (p < 1)
      numeric::RaiseError("Autoregressive order " + std::to_string(p) + " < 1 (AROrder " +
                          std::to_string(FAROrder) + ", " + std::to_string(N) + " samples)!");
    return p;
  };
  switch (FMethod) {
    case smYuleWalker: {
      // Order N - 1 at most: the biased autocorrelation has N lags.
      const std::int32_t p = order(N - 1);
      numeric::TCachedVec r;
      r->AutoCorrBiased(*x, p + 1);
      numeric::ToeplitzSolve(*r, *a);
      // The prediction error's variance: r0 + sum a_k conj(r_k).
      if (r->Complex()) {
        std::complex<double> sum(r->CValues()[0].Re, r->CValues()[0].Im);
        for (std::int32_t k = 1; k <= p; ++k) {
          const numeric::TCplx ak = a->CValues()[k];
          const numeric::TCplx rk = r->CValues()[k];
          sum += std::complex<double>(ak.Re, ak.Im) * std::complex<double>(rk.Re, -rk.Im);
        }
        e = sum.real();
      } else {
        e = r->Values()[0];
        for (std::int32_t k = 1; k <= p; ++k) e += a->Values()[k] * r->Values()[k];
      }
      break;
    }
    case smBurg: {
      numeric::TCachedVec reflection;
      dsp::ArBurg(*x, order(N / 2), *a, *reflection, e);
      break;
    }
    case smCov:
      dsp::ArCovariance(*x, order(N / 2), *a, e);
      break;
    case smMCov:
      dsp::ArModCovariance(*x, order(N / 2), *a, e);
      break;
    default:
      return;
  }
  // The model's spectrum on the FFT method's lines: sqrt(E) / A(e^jw).
  const std::int32_t n = TransformLength(TargetLength, ZeroPadding());
  FFftLength = n;
  FPaddingRatio = static_cast<double>(n) / N;
  T.Size(n, a->Complex());
  T.SetZero();
  T.Copy(*a, 0, 0, std::min(a->Length(), n));
  T.FFT();
  T.Inv(std::numeric_limits<double>::min());
  T.Scale(std::sqrt(std::max(e, 0.0)));
  Arrange(Source, T, !Source.Complex());
  FAmplitudeFactor = 1.0;
  FExact.reset();
}

void TSpectrumAnalyzer::ComputeChirpZ(const TSignal& Source, numeric::TVec& T) {
  const TSpectrumCZT& czt = *FCZT;
  const std::int32_t k = czt.PointCount();
  if (k < 2) numeric::RaiseError("CZT: (StopFrequency - StartFrequency) / FrequencyStep gives fewer than 2 points!");
  const double fs = Source.SamplingFrequency();
  if (!(fs > 0.0)) numeric::RaiseError("CZT: Input.SamplingFrequency <= 0");
  const double r1 = czt.StartRadius();
  const double r2 = czt.StopRadius();
  if (!(r1 > 0.0) || !(r2 > 0.0)) numeric::RaiseError("CZT: StartRadius and StopRadius must be > 0");
  const std::int32_t N = Source.Length();
  LoadFrame(Source, N);
  KeepExactCopy();
  const double side = Source.Complex() ? 1.0 : 2.0;
  FFftLength = N;
  FPaddingRatio = side * k / N;
  // Point i at Start + i (Stop - Start) / k on the spiral from r1 toward r2.
  const double span = czt.StopFrequency() - czt.StartFrequency();
  const std::complex<double> w =
      std::pow(r2 / r1, -1.0 / k) * std::polar(1.0, -2.0 * numeric::PI * span / (k * fs));
  const std::complex<double> a = r1 * std::polar(1.0, 2.0 * numeric::PI * czt.StartFrequency() / fs);
  numeric::TCachedVec y;
  dsp::CztCore(*FWork, k, numeric::TCplx{w.real(), w.imag()}, numeric::TCplx{a.real(), a.imag()}, *y);
  T.Copy(*y);
  FAmplitudeFactor = FScaleFactor * FPaddingRatio * WindowCorrection() / T.Length();
}

void TSpectrumAnalyzer::ComputeCepstrum(const TSignal& Source, std::int32_t TargetLength, numeric::TVec& T) {
  const std::int32_t n = TransformLength(TargetLength, 1);
  LoadFrame(Source, n);
  numeric::TVec& w = *FWork;
  w.FFT();
  numeric::TCachedVec logMag;
  logMag->Mag(w);
  logMag->Ln();
  logMag->Replace(std::numeric_limits<double>::quiet_NaN(), 0.0, 1e-4);
  logMag->Replace(std::numeric_limits<double>::infinity(), 0.0, 1e-4);
  const std::int32_t len = logMag->Length();
  const std::int32_t padded = TransformLength(n, ZeroPadding());
  FFftLength = padded;
  FPaddingRatio = static_cast<double>(padded) / len;
  logMag->Rotate(len / 3);
  w.Size(padded, false);
  w.SetZero();
  w.Copy(*logMag, 0, 0, len);
  if (FDCDump) dsp::RemoveMean(w, 0, len);
  dsp::ApplyWindow(w, dsp::wtHanning, true, 0.0, 0, len);
  KeepExactCopy();
  // The weighted log-magnitude sequence is shown through its transform.
  if (&T == FWork.get())
    w.FFT();
  else
    T.FFT(w);
  Arrange(Source, T, true);
  FAmplitudeFactor = FScaleFactor * FPaddingRatio * WindowCorrection() / T.Length();
}

void TSpectrumAnalyzer::Arrange(const TSignal& Source, numeric::TVec& T, bool RealLines) {
  if (RealLines) {
    if (!ConjExtend()) return;
    dsp::ConjExtend(T);
    if (!ConjFlip()) T.Rotate(T.Length() / 2);
    // The whole circle: the lines now span the input's rate.
    SetSamplingFrequency(2.0 * Source.SamplingFrequency());
  } else if (ConjFlip()) {
    T.Rotate(T.Length() / 2);
  }
}

void TSpectrumAnalyzer::CalcComplexSpectrum(numeric::TVec& Dest) {
  ComputeSpectrum(Transformed().Length(), &Dest);
  Dest.Scale(FAmplitudeFactor);
}

// --- The spectrum at any frequency -----------------------------------------

bool TSpectrumAnalyzer::HasExactCopy() const {
  return FExact && FExact->Length() > 0 && FExactFs > 0.0 && KeepsSequence(FMethod);
}

double TSpectrumAnalyzer::RelativeFrequency(double F) const {
  const bool complex = FExact->Complex();
  // While Peaks tracks orders the axis counts multiples of the order
  // frequency; the copy's frequencies are in Hz.
  const double scale = FPeaks->OrderActive() ? FPeaks->OrderScale() : 1.0;
  double g = (F * scale - FExactStart) / FExactFs;
  // A complex sequence's spectrum repeats every Fs: a negative frequency is
  // the same point of the circle as its sum with Fs.
  if (complex) g -= std::floor(g);
  constexpr double lowest = 2.220446049250313e-16;
  const double highest = complex ? 0.9999999999999998 : 0.4999999999999998;
  return std::isnan(g) ? lowest : std::clamp(g, lowest, highest);
}

void TSpectrumAnalyzer::ExactAt(std::span<const double> F, std::span<numeric::TCplx> X) const {
  std::fill(X.begin(), X.end(), numeric::TCplx{0.0, 0.0});
  if (!HasExactCopy()) return;
  std::vector<double> g(F.size());
  for (std::size_t i = 0; i < F.size(); ++i) g[i] = RelativeFrequency(F[i]);
  dsp::SpectrumAtFrequencies(*FExact, g, X);
}

void TSpectrumAnalyzer::SpectrumAtFrequency(numeric::TCplx& X, double F) const {
  ExactAt({&F, 1}, {&X, 1});
  if (!HasExactCopy()) return;
  // Referenced one sample past the end of the copy, as a Goertzel filter
  // run over it gives it: turned by exp(2 pi i g n).
  const double g = RelativeFrequency(F);
  const double n = FExact->Length();
  const double t = g * n;
  const double turn = 2.0 * numeric::PI * ((t - std::floor(t)) + std::fma(g, n, -t));
  const double c = std::cos(turn), s = std::sin(turn);
  X = numeric::TCplx{X.Re * c - X.Im * s, X.Re * s + X.Im * c};
}

}  // namespace sig

// Window functions: the four library windows, the computed windows (three-term
// cosine, Kaiser, Chebyshev, cosine taper, exponent), the dispatcher with its
// normalisation, the captions, the conjugate extension of a half spectrum and
// the Bessel function I0 that the Kaiser window rests on.
// Tested by: dsp/tests/SignalWindowsTest.cpp, dsp/tests/SignalWindowsOracleTest.cpp
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "dsp/SignalUtils.h"
#include "platform/spl/ElementKernels.h"
#include "platform/spl/Reductions.h"
#include "platform/spl/Windows.h"

namespace dsp {

using numeric::RaiseError;
using numeric::TCplx;
using numeric::TVec;

namespace {

bool PastEnd(std::int32_t index, std::int32_t len, const TVec& src) {
  return static_cast<std::int64_t>(index) + len > src.Length();
}

// The segment of a library window: false when it is left alone (shorter
// than 3 samples).
bool LibrarySegment(const TVec& src, std::int32_t index, std::int32_t& len) {
  if (len == -1) len = src.Length() - index;
  if (len < 3) return false;
  if (PastEnd(index, len, src)) RaiseError("Index+Len > Src.Length");
  if (index < 0) RaiseError("Index < 0");
  return true;
}

// The segment of a computed window: false when it is left alone (empty, or
// a negative length other than -1).
bool ComputedSegment(const TVec& src, std::int32_t index, std::int32_t& len) {
  if (len == -1) len = src.Length() - index;
  if (len == 0) return false;
  if (PastEnd(index, len, src)) RaiseError("Index+Len > Src.Length");
  if (len < 0) return false;
  if (index < 0) RaiseError("Index < 0");
  return true;
}

// Multiplies the n samples of src from index by the factors w.
void MultiplySegment(TVec& src, std::int32_t index, const std::vector<double>& w) {
  const auto n = static_cast<std::int32_t>(w.size());
  if (src.Complex()) {
    TCplx* z = src.CValues() + index;
    for (std::int32_t i = 0; i < n; ++i) {
      z[i].Re *= w[i];
      z[i].Im *= w[i];
    }
  } else {
    spl::nspdbMpy2(w.data(), src.Values() + index, n);
  }
}

// A window computed factor by factor over a segment.
template <class Factor>
TVec& ComputedWindow(TVec& src, std::int32_t index, std::int32_t len, Factor factor) {
  if (!ComputedSegment(src, index, len)) return src;
  std::vector<double> w(len);
  for (std::int32_t i = 0; i < len; ++i) w[i] = factor(i, len);
  MultiplySegment(src, index, w);
  return src;
}

TVec& ThreeTermCosine(TVec& src, std::int32_t index, std::int32_t len, double a0, double a1, double a2) {
  return ComputedWindow(src, index, len, [=](std::int32_t i, std::int32_t n) {
    const double t = 2 * std::numbers::pi * i / (n - 1);
    return a0 - a1 * std::cos(t) + a2 * std::cos(2 * t);
  });
}

// The Dolph-Chebyshev window of n samples by its closed-form sum, scaled so
// that its largest value is 1.
std::vector<double> ChebyshevFactors(std::int32_t n, double atten) {
  std::int32_t h = n / 2;
  std::vector<double> a(h + 1);
  for (std::int32_t k = 0; k < h; ++k) a[k] = 1.0 / ((k + 1.0) * (k + 2.0));
  const double r = std::pow(10.0, 2.5 * atten / 20.0);
  const double x = std::tanh(std::log10(r + std::sqrt(r * r - 1.0)) / (n - 1));
  const double q = x * x;
  std::vector<double> w(n + 1);
  w[0] = w[n - 1] = 1.0 / (n - 1);
  double wmax = 1.0 / (n - 1);
  if (n % 2 == 1) ++h;
  for (std::int32_t j = 2; j <= h; ++j) {
    double p = q;
    double s = 0.0;
    for (std::int32_t i = 1; i <= j - 2; ++i) {
      p = p * q * (j - 1 - i) * (n - j - i) * a[i - 1];
      s += p;
    }
    w[n - j] = w[j - 1] = q + s;
    if (w[j - 1] > wmax) wmax = w[j - 1];
  }
  w.resize(n);
  spl::nspdbMpy1(1.0 / wmax, w.data(), n);
  return w;
}

}  // namespace

// ---------------------------------------------------------------------------
// Library windows

TVec& WindowBartlett(TVec& Src, std::int32_t Index, std::int32_t Len) {
  if (!LibrarySegment(Src, Index, Len)) return Src;
  if (Src.Complex())
    spl::nspzWinBartlett(reinterpret_cast<spl::DCplx*>(Src.CValues() + Index), Len);
  else
    spl::nspdWinBartlett(Src.Values() + Index, Len);
  return Src;
}

TVec& WindowBlackman(TVec& Src, std::int32_t Index, std::int32_t Len, double Alpha) {
  if (!LibrarySegment(Src, Index, Len)) return Src;
  if (Src.Complex())
    spl::nspzWinBlackman(reinterpret_cast<spl::DCplx*>(Src.CValues() + Index), Len, Alpha);
  else
    spl::nspdWinBlackman(Src.Values() + Index, Len, Alpha);
  return Src;
}

TVec& WindowHamming(TVec& Src, std::int32_t Index, std::int32_t Len) {
  if (!LibrarySegment(Src, Index, Len)) return Src;
  if (Src.Complex())
    spl::nspzWinHamming(reinterpret_cast<spl::DCplx*>(Src.CValues() + Index), Len);
  else
    spl::nspdWinHamming(Src.Values() + Index, Len);
  return Src;
}

TVec& WindowHann(TVec& Src, std::int32_t Index, std::int32_t Len) {
  if (!LibrarySegment(Src, Index, Len)) return Src;
  if (Src.Complex())
    spl::nspzWinHann(reinterpret_cast<spl::DCplx*>(Src.CValues() + Index), Len);
  else
    spl::nspdWinHann(Src.Values() + Index, Len);
  return Src;
}

// ---------------------------------------------------------------------------
// Computed windows

TVec& WindowBlackmanExact(TVec& Src, std::int32_t Index, std::int32_t Len) {
  return ThreeTermCosine(Src, Index, Len, 0.42659071, 0.49656062, 0.07684867);
}

TVec& WindowBlackmanHarris(TVec& Src, std::int32_t Index, std::int32_t Len) {
  return ThreeTermCosine(Src, Index, Len, 0.42323, 0.49755, 0.07922);
}

TVec& WindowFlatTop(TVec& Src, std::int32_t Index, std::int32_t Len) {
  return ThreeTermCosine(Src, Index, Len, 0.2810639, 0.5208972, 0.1980399);
}

TVec& WindowKaiser(TVec& Src, std::int32_t Index, std::int32_t Len, double Beta) {
  if (!ComputedSegment(Src, Index, Len)) return Src;
  const double i0Beta = BesselI0(Beta);
  const double m = (Len - 1) / 2.0;
  std::vector<double> w(Len);
  for (std::int32_t i = 0; i < Len; ++i) {
    const double u = (i - m) / m;
    const double r = 1.0 - u * u;
    w[i] = r > 0 ? BesselI0(Beta * std::sqrt(r)) / i0Beta : 0.0;
  }
  MultiplySegment(Src, Index, w);
  // The ends are set to 0 (not 1 / I0(Beta)), whatever the samples held.
  if (Src.Complex()) {
    Src.CValues()[Index] = numeric::C_ZERO;
    Src.CValues()[Index + Len - 1] = numeric::C_ZERO;
  } else {
    Src.Values()[Index] = 0.0;
    Src.Values()[Index + Len - 1] = 0.0;
  }
  return Src;
}

TVec& WindowChebyshev(TVec& Src, std::int32_t Index, std::int32_t Len, double Atten) {
  if (!ComputedSegment(Src, Index, Len)) return Src;
  MultiplySegment(Src, Index, ChebyshevFactors(Len, Atten));
  return Src;
}

TVec& WindowCosineTaper(TVec& Src, std::int32_t Index, std::int32_t Len, double Percent) {
  if (!(Percent >= 0 && Percent <= 100)) RaiseError("not (0 < Percent < 100)");
  if (!ComputedSegment(Src, Index, Len)) return Src;
  const auto m = static_cast<std::int32_t>(std::nearbyint(Len * Percent / 200.0));
  std::vector<double> w(Len, 1.0);
  // Where the two tapers meet (odd lengths at 100 %), the shared sample gets
  // the taper's last factor, 1, from both sides.
  for (std::int32_t j = 0; j < m; ++j) {
    const double f = j == 0 ? 0.0 : 0.5 * (1.0 - std::cos(std::numbers::pi * j / (m - 1)));
    w[j] *= f;
    w[Len - 1 - j] *= f;
  }
  MultiplySegment(Src, Index, w);
  return Src;
}

TVec& WindowExponent(TVec& Src, std::int32_t Index, std::int32_t Len, double EndValue) {
  return ComputedWindow(Src, Index, Len, [=](std::int32_t i, std::int32_t n) {
    const double a = std::log(EndValue) / (n - 1);
    return std::exp(i * a);
  });
}

// ---------------------------------------------------------------------------
// Dispatcher, captions, conjugate extension

namespace {

constexpr double kCosineTaperPercent = 20.0;

void WindowByType(TVec& src, TSignalWindowType type, double param, std::int32_t index, std::int32_t len) {
  switch (type) {
    case wtHanning: WindowHann(src, index, len); break;
    case wtHamming: WindowHamming(src, index, len); break;
    case wtFlatTop: WindowFlatTop(src, index, len); break;
    case wtBartlet: WindowBartlett(src, index, len); break;
    case wtBlackman: WindowBlackman(src, index, len, param); break;
    case wtBlackmanHarris: WindowBlackmanHarris(src, index, len); break;
    case wtBlackmanExact: WindowBlackmanExact(src, index, len); break;
    case wtCosineTappered: WindowCosineTaper(src, index, len, kCosineTaperPercent); break;
    case wtKaiser: WindowKaiser(src, index, len, param); break;
    case wtChebyshev: WindowChebyshev(src, index, len, param); break;
    case wtExponent: WindowExponent(src, index, len, param); break;
    default: break;
  }
}

// The factor that gives a window of len samples a mean gain of 1: fixed per
// type, or from the mean of the window itself for the types whose mean
// depends on their parameter and length. Windowing the data and then taking
// its mean would make the factor depend on the signal (infinite for any
// signal of zero mean).
double NormalizingFactor(TSignalWindowType type, double param, std::int32_t len) {
  switch (type) {
    case wtHanning:
    case wtBartlet: return 2.0;
    case wtHamming: return 1.85185185;
    case wtFlatTop: return 3.55790978;
    case wtBlackmanHarris: return 2.362782;
    case wtBlackmanExact: return 2.344168;
    case wtBlackman:
    case wtCosineTappered:
    case wtKaiser:
    case wtChebyshev:
    case wtExponent: {
      if (len <= 0) return 1.0;
      numeric::TCachedVec window;
      window->Size(len, false);
      window->SetVal(1.0);
      WindowByType(*window, type, param, 0, len);
      const double mean = spl::nspdMean(window->Values(), len);
      // A window that is all zeros stays zeros whatever the factor.
      return mean != 0.0 ? 1.0 / mean : 1.0;
    }
    default: return 1.0;
  }
}

}  // namespace

void ApplyWindow(TVec& Src, TSignalWindowType WindowType, bool Normalize, double Param, std::int32_t Index,
                 std::int32_t Len) {
  if (Len == -1) Len = Src.Length() - Index;
  double factor = 1.0;
  if (Normalize) {
    if (Len < 0 || Index < 0) RaiseError("(Len <= 0) or (Index < 0)");
    if (PastEnd(Index, Len, Src)) RaiseError("Index+Len > Src.Length");
    factor = NormalizingFactor(WindowType, Param, Len);
  }
  WindowByType(Src, WindowType, Param, Index, Len);
  if (Normalize) Src.Scale(factor, Index, Len);
}

std::string WindowCaption(TSignalWindowType WindowType) {
  switch (WindowType) {
    case wtRectangular: return "Rectangular";
    case wtHanning: return "Hanning";
    case wtHamming: return "Hamming";
    case wtFlatTop: return "Flat top";
    case wtBartlet: return "Bartlet";
    case wtBlackman: return "Blackman";
    case wtBlackmanHarris: return "Blackman-Harris";
    case wtBlackmanExact: return "Blackman exact";
    case wtCosineTappered: return "Cosine tappered";
    case wtKaiser: return "Kaiser";
    case wtChebyshev: return "Chebyshev";
    case wtExponent: return "Exponent down";
  }
  return "";
}

TVec& ConjExtend(TVec& Src) {
  if (Src.Length() == 0) return Src;
  if (!Src.Complex()) RaiseError("not Src.Complex");
  const std::int32_t m = Src.Length();
  const TCplx halfRate = Src.HalfRateBinKnown() ? Src.HalfRateBin() : numeric::C_ZERO;
  Src.Resize(2 * m, false);
  Src.CValues()[m] = halfRate;
  spl::nspzbConjExtend1(reinterpret_cast<spl::DCplx*>(Src.CValues()), m + 1);
  return Src;
}

// ---------------------------------------------------------------------------
// Bessel I0

double BesselI0(double X) {
  constexpr long double eps = 2.220446049250313e-16L;
  const long double x2 = static_cast<long double>(X) * X;
  long double sum = 1.0L;
  long double term = 1.0L;
  long double k = 0.0L;
  do {
    k += 2.0L;
    term = term * x2 / (k * k);
    sum += term;
  } while (term > 2.0L * eps * sum);
  return static_cast<double>(sum);
}

}  // namespace dsp

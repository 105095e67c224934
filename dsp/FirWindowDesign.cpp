// Window-method FIR design: ideal impulse responses of the band types sampled
// on the tap grid or a finer and shifted one, the windowed design, and the
// Kaiser design with its length and beta from a ripple.
// Tested by: dsp/tests/FirWindowDesignTest.cpp, dsp/tests/FirWindowDesignOracleTest.cpp
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <span>

#include "dsp/SignalUtils.h"

namespace dsp {

using numeric::RaiseError;
using numeric::TVec;

namespace {

// Below this a tap of the antisymmetric types is the rounding of a zero.
constexpr double kZeroTap = 1e-25;

// The cutoffs w0, w1 (relative to the Nyquist frequency) that the edges W
// give the band type, after the checks of the edge count.
struct TCutoffs {
  double w0 = 0.0;
  double w1 = 0.0;
};

TCutoffs Cutoffs(std::span<const double> W, TFilterType FilterType, double FS) {
  const std::size_t n = W.size();
  const bool lowHigh = FilterType == fltLowpass || FilterType == fltHighpass;
  const bool band = FilterType == fltBandpass || FilterType == fltBandstop;
  if (lowHigh && (n < 1 || n > 2)) RaiseError("not (1 < Length(W) < 2)");
  if (band && (n < 2 || n > 4)) RaiseError("not (2 < Length(W) < 4)");
  if (n != 1 && n != 2 && n != 4) RaiseError("Length(W) must be 1,2 or 4");
  TCutoffs c;
  if (lowHigh) {
    c.w0 = n == 1 ? W[0] / (FS / 2) : (W[0] + W[1]) / FS;
  } else if (band) {
    if (n == 2) {
      c.w0 = W[0] / (FS / 2);
      c.w1 = W[1] / (FS / 2);
    } else {
      c.w0 = (W[0] + W[1]) / FS;
      c.w1 = (W[2] + W[3]) / FS;
    }
  }
  return c;
}

bool Antisymmetric(TFilterType t) { return t >= fltHilbertOdd && t <= fltDifferentiatorEven; }

// The ideal response at k taps from the centre, x = pi k; centre: k is the
// centre itself. The antisymmetric types are 0 there (their limit), also
// for the even lengths that never sample it.
double IdealTap(TFilterType type, double k, double x, bool centre, const TCutoffs& c, double FS) {
  switch (type) {
    case fltLowpass: return centre ? c.w0 : std::sin(c.w0 * x) / x;
    case fltHighpass: return centre ? 1 - c.w0 : -std::sin(c.w0 * x) / x;
    case fltBandpass: return centre ? c.w1 - c.w0 : (std::sin(c.w1 * x) - std::sin(c.w0 * x)) / x;
    case fltBandstop: return centre ? 1 - c.w1 + c.w0 : (std::sin(c.w0 * x) - std::sin(c.w1 * x)) / x;
    case fltHilbertOdd:
    case fltHilbertEven: {
      if (centre) return 0.0;
      const double s = std::sin(x / 2);
      return 2 * s * s / x;
    }
    case fltDifferentiatorOdd:
    case fltDifferentiatorEven:
      return centre ? 0.0 : FS * (std::cos(x) / k - std::sin(x) / (x * k));
    default: return 0.0;
  }
}

void CleanTinyTaps(TVec& H, TFilterType type) {
  if (!Antisymmetric(type)) return;
  double* h = H.Values();
  for (std::int32_t i = 0; i < H.Length(); ++i)
    if (std::fabs(h[i]) < kZeroTap) h[i] = 0.0;
}

// The lengths FirWindowDesign and FirKaiserDesign make odd (true), even
// (false) or leave (no value); types they do not design raise.
enum class TParity { Keep, Odd, Even };

TParity ParityOf(TFilterType type, bool bandpassOdd) {
  switch (type) {
    case fltLowpass: return TParity::Keep;
    case fltBandpass: return bandpassOdd ? TParity::Odd : TParity::Keep;
    case fltHighpass:
    case fltBandstop:
    case fltHilbertOdd:
    case fltDifferentiatorOdd: return TParity::Odd;
    case fltHilbertEven:
    case fltDifferentiatorEven: return TParity::Even;
    default: RaiseError("FilterType not supported!");
  }
}

std::int32_t WithParity(std::int32_t n, TParity parity) {
  if (parity == TParity::Odd && n % 2 == 0) return n + 1;
  if (parity == TParity::Even && n % 2 != 0) return n + 1;
  return n;
}

// Round, halves to even, of a finite value, saturated to the 32-bit range.
std::int32_t RoundToInt32(double x) {
  const double r = std::nearbyint(x);
  if (r >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  if (r <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(r);
}

}  // namespace

double KaiserBetaFromRipple(double Ripple) {
  const double a = -20 * std::log10(Ripple);
  if (a > 50) return 0.1102 * (a - 8.7);
  if (a >= 21) return 0.5842 * numeric::Power(a - 21, 0.4) + 0.07886 * (a - 21);
  return 0.0;
}

std::int32_t KaiserOrder(std::span<const double> W, double Ripple, double FS) {
  if (W.empty()) return 0;
  if (W.size() != 2) RaiseError("Length(W) <> 2");
  const double a = -20 * std::log10(Ripple);
  const double dw = std::fabs(W[1] - W[0]) / (FS / 2) * std::numbers::pi;
  const double length = (a - 8) / (2.285 * dw);
  // A ripple of 0 or less, or equal edges, give no length at all: refused
  // rather than turned into an arbitrary one.
  if (!std::isfinite(length)) RaiseError("KaiserOrder: no finite length (Ripple <= 0 or equal edges)");
  return RoundToInt32(length);
}

void IdealImpulse(TVec& H, std::span<const double> W, TFilterType FilterType, double FS) {
  const TCutoffs c = Cutoffs(W, FilterType, FS);
  if (FilterType > fltDifferentiatorEven) return;
  const std::int32_t n = H.Length();
  if (H.Complex()) H.Size(n, false);
  const double m = (n - 1) / 2.0;
  double* h = H.Values();
  for (std::int32_t i = 0; i < n; ++i) {
    const double k = i - m;
    h[i] = IdealTap(FilterType, k, std::numbers::pi * k, k == 0, c, FS);
  }
  CleanTinyTaps(H, FilterType);
}

void IdealImpulseStep(std::int32_t N, TVec& H, std::span<const double> W, double Offset, double Step,
                      TFilterType FilterType, double FS) {
  if (!(Step > 0)) RaiseError("Step");
  // The edges are checked before H changes.
  const TCutoffs c = Cutoffs(W, FilterType, FS);
  const double count = std::nearbyint((N - 1) / Step) + 1;
  if (!(count >= 0 && count <= std::numeric_limits<std::int32_t>::max()))
    RaiseError("IdealImpulseStep: (N - 1) / Step + 1 samples do not fit a vector");
  H.Size(static_cast<std::int32_t>(count), false);
  if (FilterType > fltDifferentiatorEven) return;
  const double m = (N - 1) / 2.0;
  double* h = H.Values();
  for (std::int32_t i = 0; i < H.Length(); ++i) {
    const double k = i * Step + Offset - m;
    const double x = std::numbers::pi * k;
    h[i] = IdealTap(FilterType, k, x, std::fabs(x) <= kZeroTap, c, FS);
  }
  CleanTinyTaps(H, FilterType);
}

void FirWindowDesign(TVec& H, std::span<const double> W, double Param, TFilterType FilterType,
                     TSignalWindowType WindowType, double Gain, double FS) {
  if (H.Length() < 4) RaiseError("H.Length < 4");
  std::int32_t n = WithParity(H.Length(), ParityOf(FilterType, false));
  // Every check before H changes: the edges too.
  Cutoffs(W, FilterType, FS);
  numeric::LimitRange(1, n, 10000);
  H.Size(n, false);
  IdealImpulse(H, W, FilterType, FS);
  ApplyWindow(H, WindowType, false, Param, 0, -1);
  H.Scale(Gain);
}

std::int32_t FirKaiserDesign(TVec& H, std::span<const double> W, double Ripple, double Offset, double Step,
                             TFilterType FilterType, bool ExtendTaps, double Gain, double FS) {
  std::int32_t n = 0;
  if (W.size() == 2)
    n = KaiserOrder(W, Ripple, FS);
  else if (W.size() == 4)
    n = std::max(KaiserOrder(W.subspan(0, 2), Ripple, FS), KaiserOrder(W.subspan(2, 2), Ripple, FS));
  else
    RaiseError("(Length(W) <> 2) and (Length(W) <> 4)");
  n = WithParity(n, ParityOf(FilterType, true));
  numeric::LimitRange(4, n, 10000);
  const std::int32_t designed = n;
  if (ExtendTaps) n += 2;
  IdealImpulseStep(n, H, W, Offset, Step, FilterType, FS);
  ApplyWindow(H, wtKaiser, false, KaiserBetaFromRipple(Ripple), 0, -1);
  if (ExtendTaps) {
    const std::int32_t s = RoundToInt32(1 / Step);
    const std::int32_t dropped = std::clamp(s, 0, H.Length());
    H.Shift(-dropped);
    H.Resize(H.Length() - dropped);
  }
  H.Scale(Gain);
  return designed;
}

}  // namespace dsp

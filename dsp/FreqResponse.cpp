// Frequency response and group delay of a filter by FFT, the real and the
// complex cepstrum, and phase unwrapping.
// Tested by: dsp/tests/FreqResponseTest.cpp, dsp/tests/FreqResponseOracleTest.cpp
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "dsp/SignalUtils.h"

namespace dsp {

using numeric::RaiseError;
using numeric::TCachedVec;
using numeric::TCplx;
using numeric::TVec;

namespace {

// Below this a divisor is taken as this large, so a spectrum's zero gives a
// large but finite quotient.
constexpr double kDivideThreshold = 5.56268464626801e-309;

// The smallest power of two (2 or more) that holds n samples.
std::int32_t PowerOfTwoFor(std::int64_t n) {
  std::int64_t p = 2;
  while (p < n) p *= 2;
  if (p > (std::int64_t{1} << 30)) RaiseError("FreqResponseFft: the transform length exceeds 2^30");
  return static_cast<std::int32_t>(p);
}

// Dst := Src followed by zeros up to n elements, of Src's kind (complex when
// asComplex).
void ZeroPadded(TVec& dst, const TVec& src, std::int32_t n, bool asComplex) {
  if (asComplex && !src.Complex()) {
    dst.Size(n, true);
    dst.SetZero();
    for (std::int32_t i = 0; i < src.Length(); ++i) dst.CValues()[i] = TCplx{src.Values()[i], 0.0};
    return;
  }
  dst.Resize(src, n, true);
}

// Replaces the NaN and infinite values (logarithms of zero magnitudes) by 0,
// so that a spectrum's exact zeros do not spread.
void ZeroNonFinite(TVec& v) {
  v.Replace(NAN, 0.0, 1e-4);
  v.Replace(numeric::INF, 0.0, 1e-4);
}

// Re(FFT(n p[n]) / FFT(p)) per bin of an n-point transform: the group delay
// of the polynomial p in samples.
void PolynomialDelay(TVec& delay, const TVec& p, std::int32_t n, bool asComplex) {
  TCachedVec padded, x, y, ramp;
  ZeroPadded(*padded, p, n, asComplex);
  x->FFT(*padded);
  ramp->Size(n, false);
  ramp->Ramp(0, 1);
  if (padded->Complex()) {
    for (std::int32_t i = 0; i < n; ++i) {
      padded->CValues()[i].Re *= ramp->Values()[i];
      padded->CValues()[i].Im *= ramp->Values()[i];
    }
  } else {
    padded->Mul(*ramp);
  }
  y->FFT(*padded);
  delay.Size(x->Length(), false);
  for (std::int32_t k = 0; k < x->Length(); ++k) {
    const TCplx a = x->CValues()[k], b = y->CValues()[k];
    delay.Values()[k] = (a.Re * b.Re + a.Im * b.Im) / (a.Re * a.Re + a.Im * a.Im);
  }
}

}  // namespace

double FreqResponseFft(const TVec& B, const TVec* A, TVec& H, std::int32_t PadFactor, bool Normalize,
                       TSignalWindowType Window, double WindowParam) {
  if (B.Length() == 0) RaiseError("FreqResponseFft: B.Length = 0");
  if (PadFactor < 1) RaiseError("FreqResponseFft: PadFactor < 1");
  if (A != nullptr) {
    if (A->Length() == 0) RaiseError("FreqResponseFft: A.Length = 0");
    const std::int32_t n =
        PowerOfTwoFor(static_cast<std::int64_t>(PadFactor) * std::max(B.Length(), A->Length()));
    // A window would change the filter itself (a Hann window zeroes b[0] and
    // a[0]): the ratio of the plain polynomials is the filter's response.
    const bool complex = B.Complex() || A->Complex();
    TCachedVec bp, ap, fa;
    ZeroPadded(*bp, B, n, complex);
    ZeroPadded(*ap, *A, n, complex);
    fa->FFT(*ap);
    const std::int32_t bLength = B.Length();
    H.FFT(*bp);
    H.Divide(*fa, kDivideThreshold);
    return static_cast<double>(H.Length()) / bLength;
  }
  const std::int32_t n = PowerOfTwoFor(static_cast<std::int64_t>(PadFactor) * B.Length());
  const std::int32_t bLength = B.Length();
  const bool complex = B.Complex();
  TCachedVec padded;
  ZeroPadded(*padded, B, n, complex);
  ApplyWindow(*padded, Window, false, WindowParam, 0, bLength);
  H.FFT(*padded);
  const double r = (complex ? 1.0 : 2.0) * H.Length() / bLength;
  if (Normalize) H.Scale(r / H.Length());
  return r;
}

void GroupDelayFft(TVec& Result, const TVec& B, const TVec* A, std::int32_t ZeroPadding) {
  if (ZeroPadding < 1) RaiseError("ZeroPadding < 1");
  if (B.Length() == 0) RaiseError("GroupDelayFft: B.Length = 0");
  const std::int32_t len = A != nullptr ? std::max(B.Length(), A->Length()) : B.Length();
  const std::int32_t n = PowerOfTwoFor(static_cast<std::int64_t>(len) * ZeroPadding);
  // A complex polynomial has bins all round the circle: then both are taken so.
  const bool complex = B.Complex() || (A != nullptr && A->Complex());
  TCachedVec delay;
  PolynomialDelay(*delay, B, n, complex);
  if (A != nullptr && A->Length() > 0) {
    TCachedVec denominator;
    PolynomialDelay(*denominator, *A, n, complex);
    delay->Sub(*denominator);
  }
  Result.Copy(*delay);
}

TVec& RealCepstrum(const TVec& X, TVec& Y, bool RemoveMeanFirst, TSignalWindowType Window, bool MagnitudeOutput) {
  TCachedVec t, h;
  t->Copy(X);
  if (RemoveMeanFirst) RemoveMean(*t);
  FreqResponseFft(*t, nullptr, *h, 1, false, Window, 40);
  t->Abs(*h);
  t->Ln();
  ZeroNonFinite(*t);
  if (RemoveMeanFirst) RemoveMean(*t);
  if (MagnitudeOutput) {
    FreqResponseFft(*t, nullptr, *h, 1, false, Window, 40);
    Y.Abs(*h);
    return Y;
  }
  t->ExtendToComplex(true);
  t->SetHalfRateBin(numeric::C_ZERO);
  Y.IFFTToReal(*t, false);
  Y.Resize(Y.Length() / 2);
  return Y;
}

std::int32_t ComplexCepstrum(const TVec& X, TVec& Y, std::int32_t PadFactor) {
  if (X.Complex()) RaiseError("X.Complex = True");
  TCachedVec h, m, phi;
  FreqResponseFft(X, nullptr, *h, PadFactor, false, wtRectangular, 40);
  const TCplx half = h->HalfRateBin();
  const double halfMag = std::hypot(half.Re, half.Im);
  m->Mag(*h);
  phi->Phase(*h);
  const double halfPeriods = PhaseUnwrap(*phi, *phi, rpIntegerLag, 1, true, 180);
  // NaN or infinite samples leave no phase to take a lag from.
  if (!std::isfinite(halfPeriods)) RaiseError("ComplexCepstrum: X holds values that are not finite");
  const auto lag = static_cast<std::int32_t>(halfPeriods);
  m->Ln();
  ZeroNonFinite(*m);
  h->RealToCplx(*m, *phi);
  h->SetHalfRateBin(TCplx{std::log(halfMag), 0.0});
  Y.IFFTToReal(*h, false);
  return lag;
}

double PhaseUnwrap(const TVec& Src, TVec& Dst, TRunningPhase Mode, double Param, bool Radians, double Cutoff) {
  if (Src.Complex()) RaiseError("Src.Complex");
  const std::int32_t n = Src.Length();
  const double period = Radians ? 2 * std::numbers::pi : 360.0;
  const double jump = period - (Radians ? Cutoff * std::numbers::pi / 180 : Cutoff);
  std::int32_t cycle = 1;
  if (Mode == rpPartial) {
    const double whole = std::trunc(Param);
    if (!(whole >= 1 && whole <= (1 << 30))) RaiseError("PhaseUnwrap: Param outside 1 .. 2^30");
    while (cycle < whole) cycle *= 2;
    // The power of two at or below Param: for Param between 1 and 2 that is 1 itself, and halving
    // it would leave no cycle to count the points in.
    if (!(std::fabs(Param - cycle) <= 1e-4) && cycle > 1) cycle /= 2;
  }
  // Dst starts as Src, also where it was another vector's values before.
  if (&Dst != &Src) Dst.Copy(Src);
  if (n == 0) return 0.0;
  double* d = Dst.Values();
  if (Mode != rpPartial) {
    double offset = 0.0, previous = d[0];
    for (std::int32_t i = 1; i < n; ++i) {
      const double current = d[i];
      const double step = current - previous;
      if (step > jump)
        offset -= period;
      else if (step < -jump)
        offset += period;
      d[i] = current + offset;
      previous = current;
    }
  }
  switch (Mode) {
    case rpDefault: return 0.0;
    case rpConstPhase: {
      const double s = period / (2 * Param);
      for (std::int32_t i = 1; i < n; ++i) d[i] += i * s;
      return (n - 1) * s;
    }
    case rpIntegerLag: {
      const double last = d[n - 1];
      double c = std::ceil(std::fabs(last) / (period / 2));
      if (last > 0) c = -c;
      const double s = c * (period / 2) / n;
      for (std::int32_t i = 1; i < n; ++i) d[i] += i * s;
      return c;
    }
    case rpPartial: {
      const double s = period / (2 * Param);
      for (std::int32_t i = 0; i < n; ++i) {
        d[i] += (i % cycle) * s;
        if (d[i] > period / 2) d[i] -= period;
      }
      return 0.0;
    }
  }
  return 0.0;
}

}  // namespace dsp

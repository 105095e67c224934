// TVec transforms and sequence operations: Fourier and cosine transforms,
// convolution, correlations, decimation, the first difference and the
// Goertzel filter.
// Tested by: numeric/tests/VecTransformsTest.cpp, numeric/tests/VecTransformsOracleTest.cpp
#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "numeric/Numora.h"
#include "numeric/VecChecks.h"
#include "platform/lapack/VectorMath.h"
#include "platform/spl/Correlation.h"
#include "platform/spl/DownSample.h"
#include "platform/spl/ElementKernels.h"
#include "platform/spl/Fft.h"
#include "platform/spl/VectorKernels.h"

namespace numeric {

using detail::AsSpl;

namespace {

constexpr const char* kNotPowerOfTwo = "Length is not power of two!";

// log2 of Length, or -1 when it is no power of two of at least 2.
std::int32_t Log2Length(std::int32_t length) {
  if (length < 2 || (length & (length - 1)) != 0) return -1;
  std::int32_t order = 0;
  while ((std::int32_t{1} << order) < length) ++order;
  return order;
}

// The test on a source vector, which stays untouched: its cached order is
// trusted only when it still matches the length (switching Complex moves the
// order by one, and a real vector of two becomes a complex one of one).
std::int32_t SourceOrder(const TVec& v) {
  if (!v.SizeChanged() && v.FFTOrder() >= 1 && v.FFTOrder() <= 30 &&
      (std::int32_t{1} << v.FFTOrder()) == v.Length())
    return v.FFTOrder();
  const std::int32_t order = Log2Length(v.Length());
  if (order < 0) RaiseError(kNotPowerOfTwo);
  return order;
}

// The test on the vector transformed in place, caching the result in it.
std::int32_t OwnOrder(TVec& v) {
  if (v.SizeChanged() && !IsPowerOf2(v)) RaiseError(kNotPowerOfTwo);
  return SourceOrder(v);
}

std::int32_t CheckedLength(std::int64_t length) {
  if (length > std::numeric_limits<std::int32_t>::max()) RaiseError("Out of memory");
  return static_cast<std::int32_t>(length);
}

}  // namespace

bool IsPowerOf2(TVec& Vec) {
  std::int64_t p = 2;
  std::int32_t k = 1;
  while (p < Vec.Length()) {
    p *= 2;
    ++k;
  }
  Vec.SetFFTOrder(k);
  Vec.SetSizeChanged(p != Vec.Length());
  return p == Vec.Length();
}

// ---------------------------------------------------------------------------
// Fourier transforms

// A real vector's spectrum needs n + 2 doubles: the half-rate bin goes into
// the reserve behind the block, and from there into the vector's field. A
// window onto a matrix has no such reserve (the doubles behind it are the
// matrix's), so its transform is made in a temporary and only the n/2 bins
// within the window are written back.
TVec& TVec::FFT() {
  if (FLength == 0) return *this;
  const std::int32_t order = OwnOrder(*this);
  if (FComplex) {
    spl::nspzFft(AsSpl(CValues()), order, spl::NSP_Forw);
    return *this;
  }
  TCplx halfRate;
  if (FIsSubRange) {
    TCachedVec spectrum;
    spectrum->Size(FLength / 2 + 1, true);
    spl::nspdRealFftNip(Values(), AsSpl(spectrum->CValues()), order, spl::NSP_Forw);
    spl::nspdbCopy(spectrum->Values(), Values(), FLength);
    halfRate = std::as_const(*spectrum).CValues()[FLength / 2];
  } else {
    spl::nspdRealFft(Values(), order, spl::NSP_Forw);
    halfRate = reinterpret_cast<const TCplx*>(std::as_const(*this).Values())[FLength / 2];
  }
  SetComplex(true);
  SetHalfRateBin(halfRate);
  return *this;
}

TVec& TVec::FFT(const TVec& Vec) {
  if (&Vec == this) RaiseError("Self = Vec");
  const std::int32_t resultLength = Vec.Complex() ? Vec.Length() : Vec.Length() / 2;
  const std::int32_t order = resultLength > 0 ? SourceOrder(Vec) : 0;
  SetComplex(true);
  SetLength(resultLength);
  if (resultLength == 0) return *this;
  if (Vec.Complex()) {
    spl::nspzFftNip(AsSpl(Vec.CValues()), AsSpl(CValues()), order, spl::NSP_Forw);
  } else if (FIsSubRange) {
    TCachedVec spectrum;
    spectrum->Size(resultLength + 1, true);
    spl::nspdRealFftNip(Vec.Values(), AsSpl(spectrum->CValues()), order, spl::NSP_Forw);
    spl::nspdbCopy(spectrum->Values(), Values(), 2 * resultLength);
    SetHalfRateBin(std::as_const(*spectrum).CValues()[resultLength]);
  } else {
    spl::nspdRealFftNip(Vec.Values(), AsSpl(CValues()), order, spl::NSP_Forw);
    SetHalfRateBin(std::as_const(*this).CValues()[resultLength]);
  }
  return *this;
}

TVec& TVec::IFFT(const TVec& Vec, bool NoScale) {
  const std::int32_t order = SourceOrder(Vec);
  if (!Vec.Complex()) RaiseError("Vec.Complex = False");
  const int flags = NoScale ? spl::NSP_Inv | spl::NSP_NoScal : spl::NSP_Inv;
  if (&Vec == this) {
    // Sizes already agree: the inverse runs in place.
    spl::nspzFft(AsSpl(CValues()), order, flags);
    return *this;
  }
  SetComplex(true);
  SetLength(Vec.Length());
  spl::nspzFftNip(AsSpl(Vec.CValues()), AsSpl(CValues()), order, flags);
  return *this;
}

TVec& TVec::IFFTToReal(const TVec& Vec, bool NoScale) {
  if (!Vec.Complex()) RaiseError("Vec.Complex = False");
  if (&Vec == this) RaiseError("Self = Vec");
  // One bin (and the half-rate one) is the spectrum of two samples: the
  // length test, which needs 2 or more, would make that pair uninvertible.
  const std::int32_t order = Vec.Length() == 1 ? 0 : SourceOrder(Vec);
  // Whatever stands past Vec's elements is no evidence of the bin: only a
  // bin that travelled with the spectrum is used.
  if (!Vec.HalfRateBinKnown())
    RaiseError("IFFTToReal: the half-rate bin of Vec is unknown (set it with SetHalfRateBin)");
  const TCplx halfRate = Vec.HalfRateBin();
  const std::int32_t bins = Vec.Length();
  SetComplex(false);
  SetLength(CheckedLength(2 * static_cast<std::int64_t>(bins)));
  if (bins == 0) return *this;
  const int flags = NoScale ? spl::NSP_Inv | spl::NSP_NoScal : spl::NSP_Inv;

  // The inverse works in place on a copy of the n + 1 bins, so that Vec is
  // left as it was: in Self's own block (2n + 2 doubles) or, for a window, in
  // a temporary.
  TCachedVec work;
  double* buffer = Values();
  if (FIsSubRange) {
    work->Size(2 * bins + 2, false);
    buffer = work->Values();
  }
  spl::nspdbCopy(Vec.Values(), buffer, 2 * bins);
  auto* spectrum = reinterpret_cast<TCplx*>(buffer);
  spectrum[bins] = halfRate;
  // Both edge bins of a real signal's spectrum are real.
  spectrum[0].Im = 0.0;
  spectrum[bins].Im = 0.0;
  spl::nspdCcsFftNip(AsSpl(spectrum), buffer, order + 1, flags);
  if (FIsSubRange) spl::nspdbCopy(buffer, Values(), 2 * bins);
  return *this;
}

// ---------------------------------------------------------------------------
// Cosine transforms

TVec& TVec::DCT(const TVec& Vec) {
  if (Vec.Complex()) RaiseError("TVec.DCT: Vec.Complex = True");
  if (&Vec == this) RaiseError("TVec.DCT: Self = Vec");
  Size(Vec.Length(), false);
  if (FLength > 0) spl::nspdDct(Vec.Values(), Values(), FLength, 1);
  return *this;
}

TVec& TVec::IDCT(const TVec& Vec) {
  if (Vec.Complex()) RaiseError("Vec.Complex = True");
  if (&Vec == this) RaiseError("Self = Vec");
  Size(Vec.Length(), false);
  if (FLength > 0) spl::nspdDct(Vec.Values(), Values(), FLength, 2);
  return *this;
}

// ---------------------------------------------------------------------------
// Convolution and correlation

TVec& TVec::Convolve(const TVec& X, const TVec& H) {
  if (&X == this || &H == this) RaiseError("TVec.Convolve: (Self = X) or (Self = H)");
  SetComplex(X.Complex() || H.Complex());
  SetLength(CheckedLength(static_cast<std::int64_t>(X.Length()) + H.Length() - 1));
  if (FLength == 0) return *this;
  // With one operand empty there is nothing to add up: every value is 0.
  if (X.Length() == 0 || H.Length() == 0) return SetZero();
  if (!X.Complex() && !H.Complex())
    spl::nspdConv(X.Values(), X.Length(), H.Values(), H.Length(), Values());
  else if (X.Complex() && H.Complex())
    spl::nspzConv(AsSpl(X.CValues()), X.Length(), AsSpl(H.CValues()), H.Length(), AsSpl(CValues()));
  else if (X.Complex())
    spl::nspzdConv(AsSpl(X.CValues()), X.Length(), H.Values(), H.Length(), AsSpl(CValues()));
  else
    spl::nspdzConv(X.Values(), X.Length(), AsSpl(H.CValues()), H.Length(), AsSpl(CValues()));
  return *this;
}

namespace {

TVec& AutoCorr(TVec& self, const TVec& vec, std::int32_t lags, int kind, const char* name) {
  if (lags > vec.Length()) RaiseError(std::string(name) + ": Lags > Vec.Length");
  if (&vec == &self) RaiseError(std::string(name) + ": Self = Vec");
  self.SetComplex(vec.Complex());
  self.SetLength(lags);
  if (lags == 0) return self;
  if (vec.Complex())
    spl::nspzAutoCorr(AsSpl(vec.CValues()), vec.Length(), AsSpl(self.CValues()), lags, kind);
  else
    spl::nspdAutoCorr(vec.Values(), vec.Length(), self.Values(), lags, kind);
  return self;
}

}  // namespace

TVec& TVec::AutoCorrBiased(const TVec& Vec, std::int32_t Lags) {
  return AutoCorr(*this, Vec, Lags, spl::NSP_Biased, "TVec.AutoCorrBiased");
}

TVec& TVec::AutoCorrNormal(const TVec& Vec, std::int32_t Lags) {
  return AutoCorr(*this, Vec, Lags, spl::NSP_Normal, "TVec.AutoCorrNormal");
}

TVec& TVec::AutoCorrUnBiased(const TVec& Vec, std::int32_t Lags) {
  return AutoCorr(*this, Vec, Lags, spl::NSP_UnBiased, "TVec.AutoCorrUnBiased");
}

TVec& TVec::CrossCorr(const TVec& Vec1, const TVec& Vec2, std::int32_t HiLag, std::int32_t LoLag) {
  if (HiLag <= LoLag) RaiseError("TVec.CrossCorr: HiLag <= LoLag");
  if (&Vec1 == this || &Vec2 == this) RaiseError("TVec.CrossCorr: (Self = Vec1) or (Self = Vec2)");
  SetComplex(Vec1.Complex() || Vec2.Complex());
  SetLength(CheckedLength(static_cast<std::int64_t>(HiLag) - LoLag + 1));
  const std::int32_t n1 = Vec1.Length(), n2 = Vec2.Length();
  if (!Vec1.Complex() && !Vec2.Complex())
    spl::nspdCrossCorr(Vec1.Values(), n1, Vec2.Values(), n2, Values(), LoLag, HiLag);
  else if (Vec1.Complex() && Vec2.Complex())
    spl::nspzCrossCorr(AsSpl(Vec1.CValues()), n1, AsSpl(Vec2.CValues()), n2, AsSpl(CValues()), LoLag, HiLag);
  else if (Vec1.Complex())
    spl::nspzdCrossCorr(AsSpl(Vec1.CValues()), n1, Vec2.Values(), n2, AsSpl(CValues()), LoLag, HiLag);
  else
    spl::nspdzCrossCorr(Vec1.Values(), n1, AsSpl(Vec2.CValues()), n2, AsSpl(CValues()), LoLag, HiLag);
  return *this;
}

// ---------------------------------------------------------------------------
// Decimation and difference

TVec& TVec::DownSample(const TVec& Src, std::int32_t Factor, std::int32_t Phase) {
  if (Phase >= Factor) RaiseError("Phase >= Factor");
  if (&Src == this) RaiseError("Self = Src");
  if (Factor < 1) RaiseError("Factor < 1");
  // A negative phase would read in front of Src.
  if (Phase < 0) RaiseError("Phase < 0");
  if (Factor == 1) return Copy(Src);
  const std::int32_t count =
      Phase < Src.Length() ? static_cast<std::int32_t>((static_cast<std::int64_t>(Src.Length()) - Phase + Factor - 1) / Factor)
                           : 0;
  SetComplex(Src.Complex());
  SetLength(count);
  if (count == 0) return *this;
  if (FComplex) {
    std::int32_t produced = 0;
    std::int32_t phase = Phase;
    spl::nspzDownSample(AsSpl(Src.CValues()), Src.Length(), AsSpl(CValues()), produced, Factor, phase);
  } else {
    lapack::VDPACKI(count, Src.Values() + Phase, Factor, Values());
  }
  return *this;
}

TVec& TVec::Difference(const TVec& Vec) {
  if (&Vec == this) RaiseError("TVec.Difference: Self = Vec");
  Size(Vec.Length() - 1, Vec.Complex());
  // Part by part over the doubles: complex differences are the differences
  // of the real and of the imaginary parts.
  const std::int32_t step = FComplex ? 2 : 1;
  spl::nspdbSub3(Vec.Values() + step, Vec.Values(), Values(), DoubleLength());
  return *this;
}

// ---------------------------------------------------------------------------
// Goertzel filter

TVec& TVec::GoertzInit(double Freq) {
  if (FConditionCheck) {
    if (!FComplex && Freq >= 0.5) RaiseError("(not Complex) and (Freq >= 0.5)");
    if (Freq >= 1) RaiseError("Freq >= 1)");
    if (!(Freq > 0)) RaiseError("Freq <= 0)");
  }
  if (FComplex)
    spl::nspzGoertzInit(Freq, FGoertzState);
  else
    spl::nspdGoertzInit(Freq, FGoertzState);
  return *this;
}

TVec& TVec::GoertzReset() {
  if (FComplex)
    spl::nspzGoertzReset(FGoertzState);
  else
    spl::nspdGoertzReset(FGoertzState);
  return *this;
}

TCplx TVec::Goertz() {
  if (FLength == 0) return C_ZERO;
  GoertzReset();
  // Read through the const view: the samples, and a spectrum's half-rate
  // bin, stay as they are.
  const TVec& samples = *this;
  const spl::DCplx r = FComplex ? spl::nspzbGoertz(FGoertzState, AsSpl(samples.CValues()), FLength)
                                : spl::nspdbGoertz(FGoertzState, samples.Values(), FLength);
  return TCplx{r.re, r.im};
}

}  // namespace numeric

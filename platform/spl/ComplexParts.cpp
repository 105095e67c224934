// Complex-part kernels: plain loops over interleaved complex samples.
// Tested by: platform/spl/tests/ComplexPartsTest.cpp
#include "platform/spl/ComplexParts.h"

#include <cmath>

namespace spl {

namespace {

// sqrt(re^2 + im^2) is exact enough and fast for ordinary values; hypot takes
// over where the squares would overflow or lose precision as subnormals
// (and for zeros, infinities and NaN, where it gives the IEEE answers).
inline double Magnitude(double re, double im) {
  const double m = std::sqrt(re * re + im * im);
  if (m > 1e-150 && m < 1e150) return m;
  return std::hypot(re, im);
}

}  // namespace

void nspzbReal(const DCplx* src, double* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] = src[i].re;
}

void nspzbImag(const DCplx* src, double* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] = src[i].im;
}

void nspzbMag(const DCplx* src, double* mag, int n) {
  for (int i = 0; i < n; ++i) mag[i] = Magnitude(src[i].re, src[i].im);
}

void nspzbPhase(const DCplx* src, double* phase, int n) {
  for (int i = 0; i < n; ++i) phase[i] = std::atan2(src[i].im, src[i].re);
}

void nspzbPowerSpectr(const DCplx* src, double* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] = src[i].re * src[i].re + src[i].im * src[i].im;
}

void nspzbCartToPolar(const DCplx* src, double* mag, double* phase, int n) {
  for (int i = 0; i < n; ++i) {
    const double re = src[i].re;
    const double im = src[i].im;
    mag[i] = Magnitude(re, im);
    phase[i] = std::atan2(im, re);
  }
}

void nspzb2RealToCplx(const double* srcRe, const double* srcIm, DCplx* dst, int n) {
  for (int i = 0; i < n; ++i)
    dst[i] = DCplx{srcRe != nullptr ? srcRe[i] : 0.0, srcIm != nullptr ? srcIm[i] : 0.0};
}

void nspzbCplxTo2Real(const DCplx* src, double* dstRe, double* dstIm, int n) {
  for (int i = 0; i < n; ++i) {
    const DCplx z = src[i];
    if (dstRe != nullptr) dstRe[i] = z.re;
    if (dstIm != nullptr) dstIm[i] = z.im;
  }
}

}  // namespace spl

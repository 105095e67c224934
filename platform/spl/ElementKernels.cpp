// Element-wise arithmetic kernels: plain loops that the compiler vectorises.
// Tested by: platform/spl/tests/ElementKernelsTest.cpp
#include "platform/spl/ElementKernels.h"

#include <cmath>
#include <complex>

// The simplest loops run at memory or load/store speed; on processors with
// AVX2 a second copy of them (ORVEL_WIDE_LOOP), chosen once at load time,
// moves twice as many doubles per instruction. Each element is one IEEE
// operation either way, so the results are the same bits.
#include "platform/spl/SimdLoops.h"

namespace spl {

namespace {

// The reciprocal of a complex value without overflow or underflow in the
// intermediate |z|^2: both parts are scaled by the larger magnitude first.
inline DCplx Reciprocal(double re, double im) {
  const double scale = std::fabs(re) >= std::fabs(im) ? std::fabs(re) : std::fabs(im);
  if (!(scale > 0.0) || std::isinf(scale)) {
    // Zero, infinity and NaN: IEEE division gives the limits (inf, 0, NaN).
    const double d = re * re + im * im;
    return DCplx{re / d, -im / d};
  }
  const double r = re / scale;
  const double i = im / scale;
  const double d = (r * r + i * i) * scale;
  return DCplx{r / d, -i / d};
}

inline double InvThresh(double x, double thresh) {
  if (std::fabs(x) < thresh) x = std::copysign(thresh, x);
  return 1.0 / x;
}

inline DCplx InvThresh(DCplx z, double thresh) {
  if (thresh > 0.0) {
    const double mag = std::hypot(z.re, z.im);
    if (mag < thresh) {
      if (mag == 0.0) return DCplx{1.0 / thresh, 0.0};
      const double k = thresh / mag;
      z = DCplx{z.re * k, z.im * k};
    }
  }
  return Reciprocal(z.re, z.im);
}

inline DCplx Sqrt(DCplx z) {
  const std::complex<double> r = std::sqrt(std::complex<double>(z.re, z.im));
  return DCplx{r.real(), r.imag()};
}

}  // namespace

ORVEL_WIDE_LOOP void nspdbAdd1(double val, double* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] += val;
}

void nspzbAdd1(DCplx val, DCplx* dst, int n) {
  for (int i = 0; i < n; ++i) {
    dst[i].re += val.re;
    dst[i].im += val.im;
  }
}

ORVEL_WIDE_LOOP void nspdbAdd2(const double* src, double* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] += src[i];
}

ORVEL_WIDE_LOOP void nspdbAdd3(const double* srcA, const double* srcB, double* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] = srcA[i] + srcB[i];
}

ORVEL_WIDE_LOOP void nspdbSub2(const double* src, double* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] -= src[i];
}

ORVEL_WIDE_LOOP void nspdbSub3(const double* srcA, const double* srcB, double* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] = srcA[i] - srcB[i];
}

ORVEL_WIDE_LOOP void nspdbMpy1(double val, double* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] *= val;
}

ORVEL_WIDE_LOOP void nspzbMpy1(DCplx val, DCplx* dst, int n) {
  for (int i = 0; i < n; ++i) {
    const double re = dst[i].re;
    const double im = dst[i].im;
    dst[i].re = re * val.re - im * val.im;
    dst[i].im = re * val.im + im * val.re;
  }
}

ORVEL_WIDE_LOOP void nspdbMpy2(const double* src, double* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] *= src[i];
}

ORVEL_WIDE_LOOP void nspzbMpy2(const DCplx* src, DCplx* dst, int n) {
  for (int i = 0; i < n; ++i) {
    const double ar = dst[i].re, ai = dst[i].im;
    const double br = src[i].re, bi = src[i].im;
    dst[i].re = ar * br - ai * bi;
    dst[i].im = ar * bi + ai * br;
  }
}

ORVEL_WIDE_LOOP void nspdbMpy3(const double* srcA, const double* srcB, double* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] = srcA[i] * srcB[i];
}

ORVEL_WIDE_LOOP void nspzbMpy3(const DCplx* srcA, const DCplx* srcB, DCplx* dst, int n) {
  for (int i = 0; i < n; ++i) {
    const double ar = srcA[i].re, ai = srcA[i].im;
    const double br = srcB[i].re, bi = srcB[i].im;
    dst[i].re = ar * br - ai * bi;
    dst[i].im = ar * bi + ai * br;
  }
}

void nspdbSqr1(double* vec, int n) {
  for (int i = 0; i < n; ++i) vec[i] *= vec[i];
}

void nspzbSqr1(DCplx* vec, int n) { nspzbSqr2(vec, vec, n); }

void nspdbSqr2(const double* src, double* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] = src[i] * src[i];
}

void nspzbSqr2(const DCplx* src, DCplx* dst, int n) {
  for (int i = 0; i < n; ++i) {
    const double re = src[i].re, im = src[i].im;
    dst[i].re = re * re - im * im;
    dst[i].im = 2.0 * re * im;
  }
}

void nspzbSqrt1(DCplx* vec, int n) { nspzbSqrt2(vec, vec, n); }

void nspzbSqrt2(const DCplx* src, DCplx* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] = Sqrt(src[i]);
}

void nspdbAbs1(double* vec, int n) {
  for (int i = 0; i < n; ++i) vec[i] = std::fabs(vec[i]);
}

void nspdbAbs2(const double* src, double* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] = std::fabs(src[i]);
}

void nspzbConj1(DCplx* vec, int n) {
  for (int i = 0; i < n; ++i) vec[i].im = -vec[i].im;
}

void nspzbConj2(const DCplx* src, DCplx* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] = DCplx{src[i].re, -src[i].im};
}

void nspzbConjExtend1(DCplx* vec, int n) {
  const int points = 2 * (n - 1);
  for (int k = 1; k <= n - 2; ++k) vec[points - k] = DCplx{vec[k].re, -vec[k].im};
}

void nspdbInvThresh1(double* vec, int n, double thresh) { nspdbInvThresh2(vec, vec, n, thresh); }

void nspzbInvThresh1(DCplx* vec, int n, double thresh) { nspzbInvThresh2(vec, vec, n, thresh); }

void nspdbInvThresh2(const double* src, double* dst, int n, double thresh) {
  if (thresh > 0.0) {
    for (int i = 0; i < n; ++i) dst[i] = InvThresh(src[i], thresh);
  } else {
    for (int i = 0; i < n; ++i) dst[i] = 1.0 / src[i];
  }
}

void nspzbInvThresh2(const DCplx* src, DCplx* dst, int n, double thresh) {
  for (int i = 0; i < n; ++i) dst[i] = InvThresh(src[i], thresh);
}

void nspdbThresh1(double* vec, int n, double level, int relOp) {
  if (relOp == NSP_LT) {
    for (int i = 0; i < n; ++i)
      if (vec[i] < level) vec[i] = level;
  } else if (relOp == NSP_GT) {
    for (int i = 0; i < n; ++i)
      if (vec[i] > level) vec[i] = level;
  }
}

void nspzbThresh1(DCplx* vec, int n, double level, int relOp) {
  if (relOp != NSP_LT && relOp != NSP_GT) return;
  if (std::isnan(level)) return;
  // A magnitude is never negative: a level below zero acts as zero.
  if (level < 0.0) level = 0.0;
  for (int i = 0; i < n; ++i) {
    const double mag = std::hypot(vec[i].re, vec[i].im);
    const bool clip = relOp == NSP_LT ? mag < level : mag > level;
    if (!clip) continue;
    if (mag == 0.0) {
      vec[i] = DCplx{level, 0.0};
    } else {
      const double k = level / mag;
      vec[i] = DCplx{vec[i].re * k, vec[i].im * k};
    }
  }
}

}  // namespace spl

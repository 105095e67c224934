// Convolution and correlation: direct sums for short operands, power-of-two
// complex FFTs for long ones.
// Tested by: numeric/tests/VecTransformsOracleTest.cpp, numeric/tests/VecTransformsTest.cpp
#include "platform/spl/Correlation.h"

#include <algorithm>
#include <complex>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "platform/classlib/Exception.h"
#include "platform/spl/Fft.h"

namespace spl {

namespace {

using Cplx = std::complex<double>;

// Below this many multiply-adds the direct sum is at least as fast as three
// FFTs, and it is exact to the last rounding of each product.
constexpr double kDirectWork = 65536.0;

const Cplx* AsStd(const DCplx* p) { return reinterpret_cast<const Cplx*>(p); }
Cplx* AsStd(DCplx* p) { return reinterpret_cast<Cplx*>(p); }

inline double Conj(double v) { return v; }
inline Cplx Conj(const Cplx& v) { return std::conj(v); }

template <class R>
void Store(R& dst, const Cplx& v) {
  if constexpr (std::is_same_v<R, double>)
    dst = v.real();
  else
    dst = v;
}

int FftOrderFor(std::int64_t n) {
  int order = 1;
  while ((std::int64_t{1} << order) < n) ++order;
  if (order > MaxFftOrder) throw classlib::Exception("Convolution: operands too long");
  return order;
}

// full[k] = sum_j a[j] b[k-j] through FFTs, k = 0 .. na + nb - 2.
template <class A, class B>
std::vector<Cplx> FftConvolve(const A* a, int na, const B* b, int nb, bool conjReverseA) {
  const int order = FftOrderFor(static_cast<std::int64_t>(na) + nb - 1);
  const std::size_t n = std::size_t{1} << order;
  std::vector<Cplx> fa(n), fb(n);
  for (int j = 0; j < na; ++j) fa[j] = conjReverseA ? Cplx(Conj(a[na - 1 - j])) : Cplx(a[j]);
  for (int j = 0; j < nb; ++j) fb[j] = Cplx(b[j]);
  auto* pa = reinterpret_cast<DCplx*>(fa.data());
  auto* pb = reinterpret_cast<DCplx*>(fb.data());
  nspzFft(pa, order, NSP_Forw);
  nspzFft(pb, order, NSP_Forw);
  for (std::size_t k = 0; k < n; ++k) fa[k] *= fb[k];
  nspzFft(pa, order, NSP_Inv);
  fa.resize(static_cast<std::size_t>(na) + nb - 1);
  return fa;
}

template <class X, class H, class R>
void Convolve(const X* x, int nx, const H* h, int nh, R* y) {
  if (nx <= 0 || nh <= 0) return;
  const std::int64_t ny = static_cast<std::int64_t>(nx) + nh - 1;
  if (std::min(nx, nh) <= 64 || static_cast<double>(nx) * nh <= kDirectWork) {
    for (std::int64_t k = 0; k < ny; ++k) {
      R sum{};
      const std::int64_t lo = std::max<std::int64_t>(0, k - nh + 1);
      const std::int64_t hi = std::min<std::int64_t>(k, nx - 1);
      for (std::int64_t j = lo; j <= hi; ++j) sum += x[j] * h[k - j];
      y[k] = sum;
    }
    return;
  }
  const std::vector<Cplx> full = FftConvolve(x, nx, h, nh, false);
  for (std::int64_t k = 0; k < ny; ++k) Store(y[k], full[k]);
}

// r[lag - loLag] = sum_k conj(a[k]) b[k + lag].
template <class A, class B, class R>
void CrossCorrelate(const A* a, int na, const B* b, int nb, R* r, int loLag, int hiLag) {
  if (hiLag < loLag) return;
  const std::int64_t lags = static_cast<std::int64_t>(hiLag) - loLag + 1;
  if (na <= 0 || nb <= 0) {
    std::fill_n(r, lags, R{});
    return;
  }
  if (static_cast<double>(lags) * std::min(na, nb) <= kDirectWork || std::min(na, nb) <= 64) {
    for (std::int64_t i = 0; i < lags; ++i) {
      const std::int64_t lag = loLag + i;
      const std::int64_t lo = std::max<std::int64_t>(0, -lag);
      const std::int64_t hi = std::min<std::int64_t>(na - 1, nb - 1 - lag);
      R sum{};
      for (std::int64_t k = lo; k <= hi; ++k) sum += Conj(a[k]) * b[k + lag];
      r[i] = sum;
    }
    return;
  }
  // conj(a) reversed convolved with b holds lag l at index l + na - 1.
  const std::vector<Cplx> full = FftConvolve(a, na, b, nb, true);
  for (std::int64_t i = 0; i < lags; ++i) {
    const std::int64_t index = loLag + i + na - 1;
    if (index < 0 || index >= static_cast<std::int64_t>(full.size()))
      r[i] = R{};
    else
      Store(r[i], full[index]);
  }
}

template <class T>
void AutoCorrelate(const T* x, int n, T* r, int nLags, int type) {
  if (nLags <= 0) return;
  CrossCorrelate(x, n, x, n, r, 0, nLags - 1);
  if (type == NSP_Normal) return;
  for (int lag = 0; lag < nLags; ++lag) {
    const int divisor = type == NSP_Biased ? n : n - lag;
    // Lags at or past the length have nothing to average; leave them 0.
    if (divisor > 0) r[lag] /= static_cast<double>(divisor);
  }
}

}  // namespace

void nspdConv(const double* x, int xLen, const double* h, int hLen, double* dst) {
  Convolve(x, xLen, h, hLen, dst);
}
void nspzConv(const DCplx* x, int xLen, const DCplx* h, int hLen, DCplx* dst) {
  Convolve(AsStd(x), xLen, AsStd(h), hLen, AsStd(dst));
}
void nspzdConv(const DCplx* x, int xLen, const double* h, int hLen, DCplx* dst) {
  Convolve(AsStd(x), xLen, h, hLen, AsStd(dst));
}
void nspdzConv(const double* x, int xLen, const DCplx* h, int hLen, DCplx* dst) {
  Convolve(x, xLen, AsStd(h), hLen, AsStd(dst));
}

void nspdAutoCorr(const double* src, int len, double* dst, int nLags, int type) {
  AutoCorrelate(src, len, dst, nLags, type);
}
void nspzAutoCorr(const DCplx* src, int len, DCplx* dst, int nLags, int type) {
  AutoCorrelate(AsStd(src), len, AsStd(dst), nLags, type);
}

void nspdCrossCorr(const double* src1, int len1, const double* src2, int len2, double* dst, int loLag, int hiLag) {
  CrossCorrelate(src1, len1, src2, len2, dst, loLag, hiLag);
}
void nspzCrossCorr(const DCplx* src1, int len1, const DCplx* src2, int len2, DCplx* dst, int loLag, int hiLag) {
  CrossCorrelate(AsStd(src1), len1, AsStd(src2), len2, AsStd(dst), loLag, hiLag);
}
void nspzdCrossCorr(const DCplx* src1, int len1, const double* src2, int len2, DCplx* dst, int loLag, int hiLag) {
  CrossCorrelate(AsStd(src1), len1, src2, len2, AsStd(dst), loLag, hiLag);
}
void nspdzCrossCorr(const double* src1, int len1, const DCplx* src2, int len2, DCplx* dst, int loLag, int hiLag) {
  CrossCorrelate(src1, len1, AsStd(src2), len2, AsStd(dst), loLag, hiLag);
}

}  // namespace spl

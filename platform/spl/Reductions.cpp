// Reductions: mean, extremes, norms and dot products over blocked partial sums.
// Tested by: platform/spl/tests/ReductionsTest.cpp
#include "platform/spl/Reductions.h"

#include <cmath>
#include <limits>

namespace spl {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Four interleaved partial sums of f(i), combined pairwise at the end.
template <class F>
double BlockedSum(int n, F f) {
  double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    s0 += f(i);
    s1 += f(i + 1);
    s2 += f(i + 2);
    s3 += f(i + 3);
  }
  for (; i < n; ++i) s0 += f(i);
  return (s0 + s1) + (s2 + s3);
}

// The first NaN's position, or -1.
int FirstNaN(const double* vec, int n) {
  for (int i = 0; i < n; ++i)
    if (std::isnan(vec[i])) return i;
  return -1;
}

template <bool Largest>
double Extreme(const double* vec, int n, int& index) {
  if (n <= 0) {
    index = -1;
    return kNaN;
  }
  double best = vec[0];
  int at = 0;
  for (int i = 1; i < n; ++i) {
    const double x = vec[i];
    if (Largest ? x > best : x < best) {
      best = x;
      at = i;
    }
  }
  // Comparisons pass NaN over; a NaN anywhere makes the result NaN.
  const int nan = FirstNaN(vec, n);
  if (nan >= 0) {
    index = nan;
    return kNaN;
  }
  index = at;
  return best;
}

// The L2 norm of n magnitudes given by mag(i): the plain sum of squares where
// it is safe, else the sum of squares scaled by the largest magnitude.
template <class Mag>
double NormL2(int n, Mag mag) {
  const double plain = BlockedSum(n, [&](int i) {
    const double m = mag(i);
    return m * m;
  });
  if (plain >= 1e-280 && plain <= 1e280) return std::sqrt(plain);
  double largest = 0.0;
  for (int i = 0; i < n; ++i) {
    const double m = std::fabs(mag(i));
    if (std::isnan(m)) return kNaN;
    if (m > largest) largest = m;
  }
  if (largest == 0.0 || std::isinf(largest)) return largest;
  const double scaled = BlockedSum(n, [&](int i) {
    const double m = mag(i) / largest;
    return m * m;
  });
  return largest * std::sqrt(scaled);
}

template <class Mag>
double Norm(int n, int flag, Mag mag) {
  if (n <= 0) return kNaN;
  switch (flag) {
    case NSP_C: {
      double largest = 0.0;
      for (int i = 0; i < n; ++i) {
        const double m = std::fabs(mag(i));
        if (std::isnan(m)) return kNaN;
        if (m > largest) largest = m;
      }
      return largest;
    }
    case NSP_L1:
      return BlockedSum(n, [&](int i) { return std::fabs(mag(i)); });
    case NSP_L2:
      return NormL2(n, mag);
    default:
      return kNaN;
  }
}

}  // namespace

double nspdMean(const double* vec, int n) {
  if (n <= 0) return kNaN;
  return BlockedSum(n, [vec](int i) { return vec[i]; }) / n;
}

double nspdMax(const double* vec, int n) {
  int index;
  return Extreme<true>(vec, n, index);
}

double nspdMin(const double* vec, int n) {
  int index;
  return Extreme<false>(vec, n, index);
}

double nspdMaxExt(const double* vec, int n, int& index) { return Extreme<true>(vec, n, index); }

double nspdMinExt(const double* vec, int n, int& index) { return Extreme<false>(vec, n, index); }

double nspdNorm(const double* a, const double* b, int n, int flag) {
  if (b == nullptr) return Norm(n, flag, [a](int i) { return a[i]; });
  return Norm(n, flag, [a, b](int i) { return a[i] - b[i]; });
}

double nspzNorm(const DCplx* a, const DCplx* b, int n, int flag) {
  // Magnitudes through hypot keep the complex L1 and C norms exact; the L2
  // norm of a complex array is that of its 2n parts.
  if (flag == NSP_L2) {
    const double* x = reinterpret_cast<const double*>(a);
    if (b == nullptr) return n <= 0 ? kNaN : NormL2(2 * n, [x](int i) { return x[i]; });
    const double* y = reinterpret_cast<const double*>(b);
    return n <= 0 ? kNaN : NormL2(2 * n, [x, y](int i) { return x[i] - y[i]; });
  }
  if (b == nullptr) return Norm(n, flag, [a](int i) { return std::hypot(a[i].re, a[i].im); });
  return Norm(n, flag, [a, b](int i) { return std::hypot(a[i].re - b[i].re, a[i].im - b[i].im); });
}

double nspdDotProd(const double* a, const double* b, int n) {
  if (n <= 0) return kNaN;
  return BlockedSum(n, [a, b](int i) { return a[i] * b[i]; });
}

DCplx nspzDotProd(const DCplx* a, const DCplx* b, int n) {
  if (n <= 0) return DCplx{kNaN, kNaN};
  const double re = BlockedSum(n, [a, b](int i) { return a[i].re * b[i].re - a[i].im * b[i].im; });
  const double im = BlockedSum(n, [a, b](int i) { return a[i].re * b[i].im + a[i].im * b[i].re; });
  return DCplx{re, im};
}

DCplx nspdzDotProd(const double* a, const DCplx* b, int n) {
  if (n <= 0) return DCplx{kNaN, kNaN};
  return DCplx{BlockedSum(n, [a, b](int i) { return a[i] * b[i].re; }),
               BlockedSum(n, [a, b](int i) { return a[i] * b[i].im; })};
}

DCplx nspzdDotProd(const DCplx* a, const double* b, int n) { return nspdzDotProd(b, a, n); }

}  // namespace spl

// The vector-mathematics routines: plain loops over the C++ standard functions.
//
// Each routine runs one of two loops: in place (one array, nothing to alias)
// or between two arrays that the caller guarantees apart (restrict), so the
// compiler can vectorise either without a run-time overlap test.
//
// Tested by: platform/lapack/tests/LapackFaceTest.cpp
#include "platform/lapack/VectorMath.h"

#include <cmath>
#include <cstddef>

namespace lapack {

namespace {

template <class F>
void MapApart(std::size_t n, const double* __restrict x, double* __restrict y, F f) {
  for (std::size_t i = 0; i < n; ++i) y[i] = f(x[i]);
}

template <class F>
void MapInPlace(std::size_t n, double* y, F f) {
  for (std::size_t i = 0; i < n; ++i) y[i] = f(y[i]);
}

template <class F>
void Map(int n, const double* x, double* y, F f) {
  if (n <= 0) return;
  if (x == y)
    MapInPlace(static_cast<std::size_t>(n), y, f);
  else
    MapApart(static_cast<std::size_t>(n), x, y, f);
}

// The three ways VDDIV's output can sit: apart from both inputs (which may be
// one array, as they are only read), over the numerator, or over the divisor.
void DivApart(std::size_t n, const double* __restrict a, const double* __restrict b,
              double* __restrict y) {
  for (std::size_t i = 0; i < n; ++i) y[i] = a[i] / b[i];
}

void DivIntoNumerator(std::size_t n, double* __restrict y, const double* __restrict b) {
  for (std::size_t i = 0; i < n; ++i) y[i] = y[i] / b[i];
}

void DivIntoDenominator(std::size_t n, const double* __restrict a, double* __restrict y) {
  for (std::size_t i = 0; i < n; ++i) y[i] = a[i] / y[i];
}

}  // namespace

void VDSIN(int n, const double* x, double* y) { Map(n, x, y, [](double v) { return std::sin(v); }); }
void VDCOS(int n, const double* x, double* y) { Map(n, x, y, [](double v) { return std::cos(v); }); }
void VDTAN(int n, const double* x, double* y) { Map(n, x, y, [](double v) { return std::tan(v); }); }
void VDSINH(int n, const double* x, double* y) { Map(n, x, y, [](double v) { return std::sinh(v); }); }
void VDCOSH(int n, const double* x, double* y) { Map(n, x, y, [](double v) { return std::cosh(v); }); }
void VDEXP(int n, const double* x, double* y) { Map(n, x, y, [](double v) { return std::exp(v); }); }
void VDLN(int n, const double* x, double* y) { Map(n, x, y, [](double v) { return std::log(v); }); }
void VDLOG10(int n, const double* x, double* y) { Map(n, x, y, [](double v) { return std::log10(v); }); }
void VDSQRT(int n, const double* x, double* y) { Map(n, x, y, [](double v) { return std::sqrt(v); }); }
void VDCBRT(int n, const double* x, double* y) { Map(n, x, y, [](double v) { return std::cbrt(v); }); }
void VDINV(int n, const double* x, double* y) { Map(n, x, y, [](double v) { return 1.0 / v; }); }

void VDSINCOS(int n, const double* x, double* sine, double* cosine) {
  // Element by element, each source value read before either output is
  // written, because the source is often one of the outputs.
  for (std::size_t i = 0; i < static_cast<std::size_t>(n > 0 ? n : 0); ++i) {
    const double v = x[i];
    const double s = std::sin(v);
    const double c = std::cos(v);
    sine[i] = s;
    cosine[i] = c;
  }
}

void VDDIV(int n, const double* a, const double* b, double* y) {
  if (n <= 0) return;
  const std::size_t count = static_cast<std::size_t>(n);
  if (y != a && y != b)
    DivApart(count, a, b, y);
  else if (y != b)
    DivIntoNumerator(count, y, b);
  else if (y != a)
    DivIntoDenominator(count, a, y);
  else
    MapInPlace(count, y, [](double v) { return v / v; });
}

void VDPACKI(int n, const double* x, int incx, double* y) {
  const std::ptrdiff_t step = incx;
  for (std::ptrdiff_t i = 0; i < n; ++i) y[i] = x[i * step];
}

}  // namespace lapack

// Autoregressive models of a signal: Burg's lattice recursion, the covariance method (least
// squares of the forward prediction error) and the modified covariance method (forward and
// backward errors together).
// Tested by: dsp/tests/ArEstimationTest.cpp, ArChirpZOracleTest.cpp
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "dsp/SignalUtils.h"

namespace dsp {

using numeric::RaiseError;
using numeric::TCachedMtx;
using numeric::TCachedVec;
using numeric::TMtx;
using numeric::TVec;

namespace {

using Cx = std::complex<double>;

double Conj(double x) { return x; }
Cx Conj(const Cx& z) { return std::conj(z); }
double Norm(double x) { return x * x; }
double Norm(const Cx& z) { return std::norm(z); }
double Re(double x) { return x; }
double Re(const Cx& z) { return z.real(); }

template <class T>
std::vector<T> Samples(const TVec& x);
template <>
std::vector<double> Samples(const TVec& x) {
  return std::vector<double>(x.Values(), x.Values() + x.Length());
}
template <>
std::vector<Cx> Samples(const TVec& x) {
  const numeric::TCplx* z = x.CValues();
  std::vector<Cx> v(static_cast<std::size_t>(x.Length()));
  for (std::size_t i = 0; i < v.size(); ++i) v[i] = Cx(z[i].Re, z[i].Im);
  return v;
}

void Store(TVec& v, const std::vector<double>& a) {
  v.Size(static_cast<std::int32_t>(a.size()), false);
  std::copy(a.begin(), a.end(), v.Values());
}
void Store(TVec& v, const std::vector<Cx>& a) {
  v.Size(static_cast<std::int32_t>(a.size()), true);
  for (std::size_t i = 0; i < a.size(); ++i) v.CValues()[i] = numeric::TCplx{a[i].real(), a[i].imag()};
}

template <class T>
void Burg(const TVec& x, std::int32_t p, TVec& A, TVec& K, double& E) {
  std::vector<T> f = Samples<T>(x), b = f;
  const std::size_t n = f.size();
  std::vector<T> a(static_cast<std::size_t>(p) + 1, T{}), k(static_cast<std::size_t>(p), T{});
  a[0] = T{1.0};
  double e = 0.0;
  for (const T& v : f) e += Norm(v);
  e /= static_cast<double>(n);
  for (std::size_t m = 0; m < static_cast<std::size_t>(p); ++m) {
    // Forward errors from sample 1 on against backward errors one sample earlier.
    const std::size_t len = n - 1 - m;
    T num{};
    double den = 0.0;
    for (std::size_t i = 0; i < len; ++i) {
      num += f[i + 1] * Conj(b[i]);
      den += Norm(f[i + 1]) + Norm(b[i]);
    }
    // Nothing left to predict (a signal of zeros): the stage adds nothing.
    const T km = den > 0.0 ? T{-2.0} * num / den : T{};
    k[m] = km;
    for (std::size_t i = 0; i < len; ++i) {
      const T F = f[i + 1], G = b[i];
      f[i] = F + km * G;
      b[i] = G + Conj(km) * F;
    }
    const std::vector<T> prev(a.begin(), a.begin() + m + 2);
    for (std::size_t i = 1; i <= m + 1; ++i) a[i] = prev[i] + km * Conj(prev[m + 1 - i]);
    e *= 1.0 - Norm(km);
  }
  Store(A, a);
  Store(K, k);
  E = e;
}

// R[i][j] = sum over the rows n of conj(x[n + p - i]) x[n + p - j], i, j = 0 .. p: the
// products of the columns of the data matrix X[n][j] = x[n + p - j].
template <class T>
std::vector<std::vector<T>> Covariances(const std::vector<T>& x, std::size_t p) {
  const std::size_t rows = x.size() - p;
  std::vector<std::vector<T>> R(p + 1, std::vector<T>(p + 1, T{}));
  for (std::size_t i = 0; i <= p; ++i)
    for (std::size_t j = i; j <= p; ++j) {
      T s{};
      for (std::size_t r = 0; r < rows; ++r) s += Conj(x[r + p - i]) * x[r + p - j];
      R[i][j] = s;
      R[j][i] = Conj(s);
    }
  return R;
}

template <class T>
void ModCovariance(const TVec& x, std::int32_t order, TVec& A, double& E) {
  const std::vector<T> v = Samples<T>(x);
  const std::size_t p = static_cast<std::size_t>(order), rows = v.size() - p;
  const auto R = Covariances(v, p);
  std::vector<T> a(p + 1, T{});
  a[0] = T{1.0};
  if (p > 0) {
    // The normal equations of forward errors x[n] + sum a_k x[n-k] and backward errors
    // conj(x[n-p]) + sum a_k conj(x[n-p+k]) together: Hermitian and persymmetric.
    TCachedMtx m, rhs, sol;
    const bool complex = x.Complex();
    m->Size(static_cast<std::int32_t>(p), static_cast<std::int32_t>(p), complex);
    rhs->Size(static_cast<std::int32_t>(p), 1, complex);
    for (std::size_t j = 1; j <= p; ++j) {
      for (std::size_t k = 1; k <= p; ++k) {
        const T c = R[j][k] + R[p - k][p - j];
        if constexpr (std::is_same_v<T, Cx>)
          m->CRowValues(static_cast<std::int32_t>(j - 1))[k - 1] = numeric::TCplx{c.real(), c.imag()};
        else
          m->RowValues(static_cast<std::int32_t>(j - 1))[k - 1] = c;
      }
      const T r = -(R[j][0] + R[p][p - j]);
      if constexpr (std::is_same_v<T, Cx>)
        rhs->CRowValues(static_cast<std::int32_t>(j - 1))[0] = numeric::TCplx{r.real(), r.imag()};
      else
        rhs->RowValues(static_cast<std::int32_t>(j - 1))[0] = r;
    }
    m->SetRefineSolution(true);
    m->LinSolve(*rhs, *sol);
    for (std::size_t k = 1; k <= p; ++k) {
      if constexpr (std::is_same_v<T, Cx>) {
        const numeric::TCplx z = sol->CRowValues(static_cast<std::int32_t>(k - 1))[0];
        a[k] = Cx(z.Re, z.Im);
      } else {
        a[k] = sol->RowValues(static_cast<std::int32_t>(k - 1))[0];
      }
    }
  }
  // At the solution the residuals are orthogonal to the data: the error power is the
  // targets' power plus their products with the data times the coefficients.
  T s = R[0][0] + R[p][p];
  for (std::size_t k = 1; k <= p; ++k) s += (R[0][k] + R[p - k][p]) * a[k];
  Store(A, a);
  E = 0.5 * Re(s) / static_cast<double>(rows);
}

}  // namespace

void ArBurg(const TVec& x, std::int32_t Order, TVec& A, TVec& K, double& E) {
  if (Order < 0) RaiseError("Burg: Order < 0");
  if (2 * static_cast<std::int64_t>(Order) > x.Length()) RaiseError("Burg: Order*2 > c.Length");
  if (x.Length() == 0) RaiseError("Burg: x.Length = 0");
  if (x.Complex())
    Burg<Cx>(x, Order, A, K, E);
  else
    Burg<double>(x, Order, A, K, E);
}

void ArCovariance(const TVec& x, std::int32_t Order, TVec& A, double& E) {
  if (Order < 0) RaiseError("ArCovariance: Order < 0");
  if (x.Length() < 2 * static_cast<std::int64_t>(Order)) RaiseError("x.Length < 2*Order");
  if (x.Length() == 0) RaiseError("ArCovariance: x.Length = 0");
  const std::int32_t n = x.Length(), p = Order, rows = n - p;
  const bool complex = x.Complex();
  TCachedVec y;
  y->Size(rows, complex);
  y->Copy(x, p, 0, rows);
  if (p == 0) {
    A.Size(1, complex);
    A.SetVal(1.0);
    E = y->RMS() * y->RMS();
    return;
  }
  // X[i][j] = x[p - 1 + i - j]: the p samples before each target, latest first.
  TCachedMtx X, work;
  X->Size(rows, p, complex);
  for (std::int32_t i = 0; i < rows; ++i)
    for (std::int32_t j = 0; j < p; ++j) {
      if (complex)
        X->CRowValues(i)[j] = x.CValues()[p - 1 + i - j];
      else
        X->RowValues(i)[j] = x.Values()[p - 1 + i - j];
    }
  work->Copy(*X);
  TCachedVec a;
  work->LQRSolve(*y, *a);
  if (work->LapackStatus() != 0) RaiseError("ArCovariance: " + work->ErrorText());
  a->Neg();
  // The residual power: y^H y + (y^H X) a.
  TCachedVec yc, t;
  yc->Copy(*y);
  if (complex) yc->Conj();
  t->MulVecMtx(*yc, *X);
  double e = 0.0;
  if (complex) {
    numeric::TCplx ta{0.0, 0.0};
    for (std::int32_t j = 0; j < p; ++j) {
      const numeric::TCplx u = t->CValues()[j], v = a->CValues()[j];
      ta.Re += u.Re * v.Re - u.Im * v.Im;
    }
    e = ta.Re;
  } else {
    e = t->DotProd(*a, 0, 0, p);
  }
  const double rms = y->RMS();
  E = (rms * rms * rows + e) / rows;
  A.Size(p + 1, complex);
  A.SetZero();
  A.SetVal(1.0, 0, 1);
  A.Copy(*a, 0, 1, p);
}

void ArModCovariance(const TVec& x, std::int32_t Order, TVec& A, double& E) {
  if (Order < 0) RaiseError("ArModCovariance: Order < 0");
  if (static_cast<double>(x.Length()) < 3.0 * Order / 2.0) RaiseError("Order*3/2 > x.Length");
  if (x.Length() <= Order) RaiseError("ArModCovariance: x.Length <= Order");
  if (x.Complex())
    ModCovariance<Cx>(x, Order, A, E);
  else
    ModCovariance<double>(x, Order, A, E);
}

}  // namespace dsp

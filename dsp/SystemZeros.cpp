// State space to zeros, poles and gain: the poles are the eigenvalues of A; the zeros and the
// gain come from a staircase reduction of the system matrix [B A; D C] by Householder
// reflections, which takes away one state for every step of relative degree and keeps the
// factor each step contributes to the leading coefficient of the numerator.
// Tested by: dsp/tests/LinearSystemsTest.cpp, LinearSystemsOracleTest.cpp
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "dsp/LinearSystems.h"
#include "dsp/LinearSystemsInternal.h"

namespace dsp {

using numeric::RaiseError;
using numeric::TCachedMtx;
using numeric::TCachedVec;
using numeric::TMtx;
using numeric::TVec;

namespace {

// A single-input single-output system on its own storage: A by rows, k states.
struct TSystem {
  std::int32_t k = 0;
  std::vector<double> a, b, c;
  double d = 0.0;
  double& A(std::int32_t i, std::int32_t j) { return a[static_cast<std::size_t>(i) * k + j]; }
};

// The reflection I - factor u u^T that takes u onto its last axis: u is overwritten by the
// reflection vector, s receives the value u then has there. False (u unchanged) when the norm
// of u is within the tolerance: the vector counts as zero.
bool HouseholderVector(std::vector<double>& u, double tol, double& s, double& factor) {
  double sum = 0.0;
  for (double x : u) sum += x * x;
  s = std::sqrt(sum);
  if (!(s > tol)) return false;
  const double last = u.back();
  if (last > 0.0) s = -s;
  u.back() = last - s;
  factor = 1.0 / (sum - s * last);
  return true;
}

// Rows 0 .. rows-1 of a row-major block with `cols` columns (stride `stride`), times the
// reflection from the right.
void ReflectColumns(double* m, std::int32_t rows, std::int32_t cols, std::int32_t stride,
                    const std::vector<double>& u, double factor) {
  for (std::int32_t i = 0; i < rows; ++i) {
    double* row = m + static_cast<std::ptrdiff_t>(i) * stride;
    double t = 0.0;
    for (std::int32_t j = 0; j < cols; ++j) t += row[j] * u[j];
    t *= factor;
    for (std::int32_t j = 0; j < cols; ++j) row[j] -= t * u[j];
  }
}

// The reflection from the left, on every column of a k x k block.
void ReflectRows(TSystem& s, const std::vector<double>& u, double factor) {
  for (std::int32_t j = 0; j < s.k; ++j) {
    double t = 0.0;
    for (std::int32_t i = 0; i < s.k; ++i) t += u[i] * s.A(i, j);
    t *= factor;
    for (std::int32_t i = 0; i < s.k; ++i) s.A(i, j) -= t * u[i];
  }
}

// While D vanishes, C is turned onto the last state, whose equation becomes the output of a
// system with one state less: its derivative's dependence on the other states is the new C
// and on the input the new D. The numerator of the transfer function is the step's factor
// times that of the smaller system, so the factors accumulate into the gain. Returns false
// when no D above the tolerance remains: the system has no finite zeros.
bool StaircaseReduce(TSystem& s, double tol, double& gain) {
  while (!(std::fabs(s.d) > tol)) {
    if (s.k == 0) return false;
    std::vector<double> u = s.c;
    double alpha = 0.0, factor = 0.0;
    if (!HouseholderVector(u, tol, alpha, factor)) return false;
    ReflectRows(s, u, factor);
    ReflectColumns(s.a.data(), s.k, s.k, s.k, u, factor);
    double t = 0.0;
    for (std::int32_t i = 0; i < s.k; ++i) t += u[i] * s.b[i];
    t *= factor;
    for (std::int32_t i = 0; i < s.k; ++i) s.b[i] -= t * u[i];
    gain *= alpha;

    const std::int32_t k = s.k - 1;
    TSystem r;
    r.k = k;
    r.a.resize(static_cast<std::size_t>(k) * k);
    for (std::int32_t i = 0; i < k; ++i)
      for (std::int32_t j = 0; j < k; ++j) r.A(i, j) = s.A(i, j);
    r.b.assign(s.b.begin(), s.b.begin() + k);
    r.c.resize(k);
    for (std::int32_t j = 0; j < k; ++j) r.c[j] = s.A(k, j);
    r.d = s.b[k];
    s = std::move(r);
  }
  return true;
}

// The eigenvalues of the general real matrix M into Z; a failed iteration raises.
void Eigenvalues(TMtx& M, TVec& Z, const char* routine) {
  M.Eig(Z, numeric::mtGeneral);
  if (M.LapackStatus() != 0)
    RaiseError(std::string(routine) +
               (M.ErrorText().empty() ? std::string("Failed to find eigenvalues!") : M.ErrorText()));
}

}  // namespace

void StateSpaceEigen(TVec& Z, double& K, const TMtx& A, const TVec& B, const TVec& C, double D) {
  if (A.Rows() != B.Length()) RaiseError(msg::SsRowsB);
  if (B.Length() != C.Length()) RaiseError(msg::SsLengthBC);
  const std::int32_t n = B.Length();
  if (n == 0) {
    Z.Size(0, false);
    K = D;
    return;
  }
  if (A.Cols() != n || A.Complex() || B.Complex() || C.Complex())
    RaiseError("StateSpaceEigen: A must be real and square, B and C real");
  const double tol = 4.440892098500626e-16 * A.MeanSquare();

  TSystem s;
  s.k = n;
  s.a.assign(A.Values(), A.Values() + static_cast<std::size_t>(n) * n);
  s.b.assign(B.Values(), B.Values() + n);
  s.c.assign(C.Values(), C.Values() + n);
  s.d = D;
  double gain = 1.0;
  if (!StaircaseReduce(s, tol, gain) || s.k == 0) {
    Z.Size(0, true);
    K = gain * s.d;
    return;
  }

  // The pencil [A - lambda I, B; C, D]: a reflection from the right takes [C D] onto its last
  // column, and the leading blocks of [A B] and [I 0] after it hold the pencil Y - lambda X
  // whose eigenvalues are the zeros.
  const std::int32_t k = s.k;
  std::vector<double> u(s.c);
  u.push_back(s.d);
  double alpha = 0.0, factor = 0.0;
  HouseholderVector(u, tol, alpha, factor);
  std::vector<double> m(static_cast<std::size_t>(k) * (k + 1)), e(m.size(), 0.0);
  for (std::int32_t i = 0; i < k; ++i) {
    for (std::int32_t j = 0; j < k; ++j) m[static_cast<std::size_t>(i) * (k + 1) + j] = s.A(i, j);
    m[static_cast<std::size_t>(i) * (k + 1) + k] = s.b[i];
    e[static_cast<std::size_t>(i) * (k + 1) + i] = 1.0;
  }
  ReflectColumns(m.data(), k, k + 1, k + 1, u, factor);
  ReflectColumns(e.data(), k, k + 1, k + 1, u, factor);

  TCachedMtx x, y, w;
  x->Size(k, k, false);
  y->Size(k, k, false);
  for (std::int32_t i = 0; i < k; ++i)
    for (std::int32_t j = 0; j < k; ++j) {
      x->RowValues(i)[j] = e[static_cast<std::size_t>(i) * (k + 1) + j];
      y->RowValues(i)[j] = m[static_cast<std::size_t>(i) * (k + 1) + j];
    }
  // Y X^-1 through X^T W^T = Y^T.
  TCachedMtx xt, yt, wt;
  xt->Transp(*x);
  yt->Transp(*y);
  xt->LinSolve(*yt, *wt);
  w->Transp(*wt);
  Eigenvalues(*w, Z, msg::SsZeroEigenvalues);
  K = gain * s.d;
}

void StateSpaceToZeroPole(TVec& Z, TVec& P, double& K, const TMtx& A, const TVec& B, const TVec& C, double D) {
  if (A.Rows() * A.Cols() == 0) {
    K = D;
    return;
  }
  TCachedMtx a;
  a->Copy(A);
  TCachedVec poles;
  Eigenvalues(*a, *poles, msg::SsEigenvalues);
  StateSpaceEigen(Z, K, A, B, C, D);
  P.Copy(*poles);
}

}  // namespace dsp

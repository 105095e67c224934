// TMtx structure: detection of triangular, symmetric, Hermitian and positive
// definite matrices, and the eigenvalues by matrix type through LAPACK.
// Tested by: numeric/tests/MtxStructureTest.cpp, numeric/tests/MtxOracleTest.cpp
#include <cstddef>
#include <cstdint>

#include "numeric/MtxInternal.h"
#include "numeric/Numora.h"
#include "platform/lapack/Lapack.h"

namespace numeric {

using detail::Lz;

namespace detail {

namespace {

bool IsZero(double x) { return x == 0.0; }
bool IsZero(const TCplx& z) { return z.Re == 0.0 && z.Im == 0.0; }
bool Same(double a, double b) { return a == b; }
bool Same(const TCplx& a, const TCplx& b) { return CIsEqual(a, b); }
bool RealValued(double) { return true; }
bool RealValued(const TCplx& z) { return z.Im == 0.0; }

// Whether every element of the strict upper (Upper) or lower triangle is zero.
template <class T>
bool TriangleIsZero(const T* a, std::ptrdiff_t n, bool upper) {
  for (std::ptrdiff_t i = 0; i < n; ++i) {
    const std::ptrdiff_t from = upper ? i + 1 : 0;
    const std::ptrdiff_t to = upper ? n : i;
    for (std::ptrdiff_t j = from; j < to; ++j)
      if (!IsZero(a[i * n + j])) return false;
  }
  return true;
}

struct TSymmetry {
  bool Symmetric = true;
  bool Hermitian = true;
};

template <class T>
TSymmetry Symmetry(const T* a, std::ptrdiff_t n, bool complex) {
  TSymmetry s;
  s.Hermitian = complex;
  // A Hermitian matrix has a real diagonal: one that has not must not be
  // handed to the routines that read only the real parts of it.
  if (complex)
    for (std::ptrdiff_t i = 0; i < n && s.Hermitian; ++i)
      if (!RealValued(a[i * n + i])) s.Hermitian = false;
  for (std::ptrdiff_t i = 0; i < n && (s.Symmetric || s.Hermitian); ++i)
    for (std::ptrdiff_t j = i + 1; j < n; ++j) {
      const T& upper = a[i * n + j];
      const T& lower = a[j * n + i];
      if (s.Symmetric && !Same(upper, lower)) s.Symmetric = false;
      if (s.Hermitian && !Same(upper, Conjugated(lower))) s.Hermitian = false;
      if (!s.Symmetric && !s.Hermitian) break;
    }
  return s;
}

// The Cholesky trial on a transposed copy, with the triangle letter of Form.
bool CholeskySucceeds(const TMtx& Mtx, TTriangleForm Form) {
  TCachedMtx trial;
  TransposeInto(Mtx, *trial, false);
  const std::int32_t n = Mtx.Rows();
  const int info = Mtx.Complex() ? lapack::ZPOTRF(TriangleLetter(Form), n, Lz(*trial), n)
                                 : lapack::DPOTRF(TriangleLetter(Form), n, trial->Values(), n);
  return info <= 0;
}

template <class T>
TMtxType Classify(const TMtx& Mtx, const T* a, bool TestPositive, TTriangleForm& Form) {
  const std::ptrdiff_t n = Mtx.Rows();
  Form = tfLower;
  if (TriangleIsZero(a, n, true)) return mtTriangle;
  Form = tfUpper;
  if (TriangleIsZero(a, n, false)) return mtTriangle;

  const TSymmetry s = Symmetry(a, n, Mtx.Complex());
  // A complex matrix is tried only when Hermitian: the complex Cholesky
  // factorisation reads a Hermitian matrix, and would take a symmetric one
  // that is not for a different one.
  const bool tried = Mtx.Complex() ? s.Hermitian : s.Symmetric;
  const bool positive = tried && TestPositive && CholeskySucceeds(Mtx, Form);
  TMtxType result = mtGeneral;
  if (s.Symmetric) result = mtSymmetric;
  if (s.Hermitian) result = mtHermitian;
  if (positive && s.Symmetric) result = mtSymmPosDef;
  if (positive && s.Hermitian) result = mtHermPosDef;
  return result;
}

}  // namespace

TMtxType DetectStructure(const TMtx& Mtx, bool TestPositive, TTriangleForm& Form) {
  if (Mtx.Rows() != Mtx.Cols()) return mtGeneral;
  if (Mtx.Complex()) return Classify(Mtx, Mtx.CValues(), TestPositive, Form);
  return Classify(Mtx, Mtx.Values(), TestPositive, Form);
}

}  // namespace detail

TMtxType TMtx::DetectMtxType(bool TestPositive) {
  TTriangleForm form = FTriangleForm;
  const TMtxType result = detail::DetectStructure(*this, TestPositive, form);
  FTriangleForm = form;
  FLapackStatus = 0;
  return result;
}

TMtxType TMtx::EffectiveType(TMtxType MtxType) { return FAutoMtxType ? DetectMtxType(false) : MtxType; }

void TMtx::Eig(TVec& D, TMtxType MtxType) {
  FErrorText.clear();
  const std::int32_t n = FRows;
  const std::int32_t lwork = 32 * n;
  if (ElementCount() == 0) return;
  if (FRows != FCols) RaiseError("Quadratic = False");
  const char letter = detail::TriangleLetter(FTriangleForm);

  TCachedMtx copy;
  TCachedVec work, real;
  copy->Copy(*this);
  MtxType = EffectiveType(MtxType);

  // Real scratch: e (n), then room for the tridiagonal QL work (4n), or the
  // balancing scale (n) and the real and imaginary parts (2n).
  real->Size(6 * n, false);
  double* e = real->Values();
  double* rest = e + n;
  auto failed = [this](int info) {
    FLapackStatus = info;
    if (info > 0) FErrorText = "Failed to find eigenvalues!";
    return info != 0;
  };

  switch (MtxType) {
    case mtSymmPosDef:
    case mtHermPosDef:
    case mtSymmetric:
    case mtHermitian: {
      const bool positive = MtxType == mtSymmPosDef || MtxType == mtHermPosDef;
      if (FComplex && MtxType == mtSymmetric)
        RaiseError("Eig: Complex symmetric matrix type not supported. Use general!");
      D.Size(n, false);
      double* d = D.Values();
      work->Size(lwork + n, FComplex);
      int info;
      if (FComplex) {
        lapack::Complex* tau = Lz(work->CValues());
        info = lapack::ZHETRD(letter, n, Lz(*copy), n, d, e, tau, tau + n, lwork);
      } else {
        double* tau = work->Values();
        info = lapack::DSYTRD(letter, n, copy->Values(), n, d, e, tau, tau + n, lwork);
      }
      if (failed(info)) return;
      if (positive)
        info = FComplex ? lapack::ZPTEQR('N', n, d, e, Lz(*copy), n, rest)
                        : lapack::DPTEQR('N', n, d, e, copy->Values(), n, rest);
      else
        info = lapack::DSTERF(n, d, e);
      failed(info);
      return;
    }
    case mtTriangle:
    case mtGeneral: {
      static constexpr char kBalance[] = {'N', 'S', 'P', 'B'};
      const char job = kBalance[FBalance <= btFull ? FBalance : btFull];
      D.Size(n, true);
      work->Size(lwork + n, FComplex);
      double* scale = rest;
      int ilo = 1, ihi = n;
      if (FComplex) {
        lapack::Complex* a = Lz(*copy);
        lapack::Complex* tau = Lz(work->CValues());
        if (failed(lapack::ZGEBAL(job, n, a, n, ilo, ihi, scale))) return;
        if (failed(lapack::ZGEHRD(n, ilo, ihi, a, n, tau, tau + n, lwork))) return;
        failed(lapack::ZHSEQR('E', 'N', n, ilo, ihi, a, n, Lz(D.CValues()), a, n, tau + n, lwork));
        return;
      }
      double* a = copy->Values();
      double* tau = work->Values();
      double* wr = scale + n;
      double* wi = wr + n;
      if (failed(lapack::DGEBAL(job, n, a, n, ilo, ihi, scale))) return;
      if (failed(lapack::DGEHRD(n, ilo, ihi, a, n, tau, tau + n, lwork))) return;
      const int info = lapack::DHSEQR('E', 'N', n, ilo, ihi, a, n, wr, wi, a, n, tau + n, lwork);
      for (std::int32_t k = 0; k < n; ++k) D.CValues()[k] = TCplx{wr[k], wi[k]};
      failed(info);
      return;
    }
    default:
      RaiseError("MtxType not supported");
  }
}

}  // namespace numeric

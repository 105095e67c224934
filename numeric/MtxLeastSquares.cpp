// TMtx.LQRSolve: over-determined systems in the least-squares sense and
// under-determined ones in the minimum-norm sense, by QR or LQ (?GELS), for
// one right-hand side or several, with the triangular factor on request.
// Tested by: numeric/tests/MtxLeastSquaresTest.cpp, numeric/tests/MtxOracleTest.cpp
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "numeric/MtxInternal.h"
#include "numeric/Numora.h"
#include "platform/lapack/Lapack.h"
#include "platform/spl/VectorKernels.h"

namespace numeric {

using detail::Lz;

namespace {

constexpr const char* kRankDeficient = "LQRSolve: rank deficient matrix";

// ?GELS with its workspace query; B in column order, ldb rows a column.
int SolveReal(char trans, std::int32_t m, std::int32_t n, std::int32_t nrhs, TMtx& a, double* b, std::int32_t ldb,
              TVec& work) {
  double query = 0.0;
  lapack::DGELS(trans, m, n, nrhs, a.Values(), m, b, ldb, &query, -1);
  const std::int32_t lwork = std::max(1, static_cast<std::int32_t>(std::nearbyint(query)));
  work.Size(lwork, false);
  return lapack::DGELS(trans, m, n, nrhs, a.Values(), m, b, ldb, work.Values(), lwork);
}

int SolveComplex(char trans, std::int32_t m, std::int32_t n, std::int32_t nrhs, TMtx& a, TCplx* b, std::int32_t ldb,
                 TVec& work) {
  lapack::Complex query;
  lapack::ZGELS(trans, m, n, nrhs, Lz(a), m, Lz(b), ldb, &query, -1);
  const std::int32_t lwork = std::max(1, static_cast<std::int32_t>(std::nearbyint(query.real())));
  work.Size(lwork, true);
  return lapack::ZGELS(trans, m, n, nrhs, Lz(a), m, Lz(b), ldb, Lz(work.CValues()), lwork);
}

double Modulus(double x) { return std::fabs(x); }
double Modulus(const TCplx& z) { return std::hypot(z.Re, z.Im); }

// The factored array f (m x n in column order) holds R above its diagonal
// (QR, m >= n) or L below it (LQ, m < n). R := the upper-triangular factor:
// R itself, or L^H for an LQ factorisation, whose transpose is the factor of
// A^H. Returns false when a diagonal element is at the rounding level of the
// factorisation, max(m, n) EPS |A|_F (|A|_F being the factor's Frobenius
// norm): the matrix is then rank deficient in all but rounding, which DGELS
// does not report (it stops at exact zeros only).
template <class T>
bool TriangularFactor(const T* f, std::int32_t m, std::int32_t n, T* r) {
  const std::int32_t mn = std::min(m, n);
  const bool lq = m < n;
  auto factor = [&](std::int32_t row, std::int32_t col) {  // R(row, col), row <= col
    return lq ? detail::Conjugated(f[col + static_cast<std::ptrdiff_t>(row) * m])
              : f[row + static_cast<std::ptrdiff_t>(col) * m];
  };
  double squares = 0.0, smallest = INF;
  for (std::int32_t i = 0; i < mn; ++i)
    for (std::int32_t j = i; j < mn; ++j) {
      const double modulus = Modulus(factor(i, j));
      squares += modulus * modulus;
      if (i == j) smallest = std::min(smallest, modulus);
    }
  if (r != nullptr)
    for (std::int32_t i = 0; i < mn; ++i)
      for (std::int32_t j = 0; j < mn; ++j) r[static_cast<std::ptrdiff_t>(i) * mn + j] = j < i ? T{} : factor(i, j);
  return smallest > std::max(m, n) * EPS * std::sqrt(squares);
}

}  // namespace

TMtx& TMtx::LQRSolve(const TVec& B, TVec& X, TMtx* R, TMtxOperation Operation) {
  if (ElementCount() == 0) return *this;
  if (Operation == opNone) {
    if (B.Length() != FRows) RaiseError("fRows <> B.Length");
  } else if (B.Length() != FCols) {
    RaiseError("fCols <> B.Length");
  }
  // Checked before X changes, so that a refused call leaves X as it was.
  if (B.Complex() != FComplex) RaiseError("fComplex <> B.Complex");
  X.Resize(B, std::max(FRows, FCols), true);
  LQRSolveCore(X.Values(), 1, R, Operation);
  const std::int32_t unknowns = Operation == opNone ? FCols : FRows;
  if (X.Length() > unknowns) X.Resize(unknowns);
  return *this;
}

TMtx& TMtx::LQRSolve(const TMtx& B, TMtx& X, TMtx* R, TMtxOperation Operation) {
  if (&B == this || &X == this) RaiseError("B = Self or X = Self");
  if (ElementCount() == 0) return *this;
  if (Operation == opNone) {
    if (B.Rows() != FRows) RaiseError("fRows <> B.Rows");
  } else if (B.Rows() != FCols) {
    RaiseError("fCols <> B.Rows");
  }
  if (B.Complex() != FComplex) RaiseError("fComplex <> B.Complex");
  if (&X == &B) {
    TCachedMtx copy;
    copy->Copy(B);
    return LQRSolve(*copy, X, R, Operation);
  }
  // X's rows are B's columns padded to max(M, N): LAPACK's column-major
  // right-hand sides, with room for the longer solutions.
  const std::int32_t ldb = std::max(FRows, FCols);
  X.ResizeCopy(B, ldb, B.Cols(), true);
  const std::int32_t w = FComplex ? 2 : 1;
  if (ldb > B.Rows())
    for (std::int32_t k = 0; k < X.Rows(); ++k) spl::nspdbZero(X.RowValues(k) + B.Rows() * w, (ldb - B.Rows()) * w);
  LQRSolveCore(X.Values(), B.Cols(), R, Operation);
  X.Resize(B.Cols(), Operation == opNone ? FCols : FRows);
  X.Transp();
  return *this;
}

void TMtx::LQRSolveCore(double* BData, std::int32_t NRHS, TMtx* R, TMtxOperation Operation) {
  FErrorText.clear();
  const std::int32_t m = FRows, n = FCols;
  const std::int32_t ldb = std::max(m, n), mn = std::min(m, n);
  // 'C' reaches the real routine too, which takes it as 'T'.
  const char trans = detail::OperationLetter(Operation, true);
  TCachedMtx a;
  TCachedVec work;
  // The transpose, read by columns, is A itself; A is not changed.
  detail::TransposeInto(*this, *a, false);

  int info;
  if (FComplex) {
    // ZGELS solves with A or A^H only. A^T x = b is A^H conj(x) = conj(b),
    // with the same residual and solution norms: solved so and conjugated back.
    const bool conjugated = Operation == opTrans;
    TCplx* b = reinterpret_cast<TCplx*>(BData);
    const std::int32_t count = ldb * NRHS;
    auto conjugate = [&] {
      for (std::int32_t i = 0; i < count; ++i) b[i].Im = -b[i].Im;
    };
    if (conjugated) conjugate();
    info = SolveComplex(conjugated ? 'C' : trans, m, n, NRHS, *a, b, ldb, *work);
    if (conjugated) conjugate();
  } else {
    info = SolveReal(trans, m, n, NRHS, *a, BData, ldb, *work);
  }
  FLapackStatus = info;
  if (info < 0) return;
  // A zero on the diagonal (info > 0) stops the solve but not the
  // factorisation, which the array still holds.
  if (R != nullptr) R->Size(mn, mn, FComplex);
  const bool fullRank = FComplex ? TriangularFactor(a->CValues(), m, n, R ? R->CValues() : nullptr)
                                 : TriangularFactor(a->Values(), m, n, R ? R->Values() : nullptr);
  if (info > 0 || !fullRank) FErrorText = kRankDeficient;
}

}  // namespace numeric

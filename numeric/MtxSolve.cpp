// TMtx.LinSolve: linear systems by the LAPACK family that fits the matrix's
// structure (LU, Cholesky, Bunch-Kaufman, triangular, and their band forms),
// with iterative refinement and the condition-number estimate on request;
// TMtx.Norm1 and TMtx.NormInf.
// Tested by: numeric/tests/MtxSolveTest.cpp, numeric/tests/MtxOracleTest.cpp
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "numeric/MtxInternal.h"
#include "numeric/Numora.h"
#include "platform/lapack/Lapack.h"
#include "platform/spl/VectorKernels.h"

namespace numeric {

using detail::IntText;
using detail::Lz;

namespace {

// The texts one solver path stores (n is the LAPACK status).
struct TSolveTexts {
  // factorisation status n > 0: SingularHead n SingularTail, or with
  // SingularTwice SingularHead n "," n SingularTail
  const char* SingularHead;
  bool SingularTwice;
  const char* SingularTail;
  const char* Invalid;   // n Invalid, for a factorisation status < 0
  const char* Solve;     // Solve n
  const char* Refine;    // Refine n
  const char* Estimate;  // Estimate n
};

constexpr const char* kCholesky = "Cholesky: leading minor of order ";
constexpr const char* kLU = "LU factorization: U(";
constexpr const char* kBK = "Bunch Kauffman: singular at D(";
constexpr const char* kBKRefine = "Bunch-Kauffman: Erorr at refine solution: ";
constexpr const char* kBKEstimate = "Bunch-Kauffman: Erorr at condition number estimate: ";
constexpr const char* kLURefine = "LU: Erorr at refine solution: ";

constexpr TSolveTexts kPosDefReal{
    kCholesky, false,      " is not positive definite", "parameter is invalid!", "Erorr at inverse:",
    kBKRefine, kBKEstimate};
constexpr TSolveTexts kPosDefCplx{
    kCholesky, false,      " is not positive definite", "parameter is invalid!", "Cholesky: Erorr at solve: ",
    kLURefine, kBKEstimate};
constexpr TSolveTexts kBandPosDefReal{
    kCholesky, false,      " is not positive definite", " parameter is invalid!", "Erorr at inverse:",
    kBKRefine, kBKEstimate};
constexpr TSolveTexts kBandPosDefCplx{
    kCholesky, false,      "is not positive definite", " parameter is invalid!", "Cholesky: Erorr at solve:",
    kLURefine, kBKEstimate};
constexpr TSolveTexts kSymmetricReal{
    kBK, true, ") = 0", "parameter is invalid!", "Bunch-Kauffman: Erorr at solve: ", kBKRefine, kBKEstimate};
constexpr TSolveTexts kSymmetricCplx{
    kBK, true, ") = 0", "parameter is invalid!", "Bunch-Kauffman: Erorr at solve:", kBKRefine, kBKEstimate};
constexpr TSolveTexts kTriangle{"",
                                false,
                                "",
                                "",
                                "Triangle: Erorr at solve:",
                                "Triangle: Erorr at refine solution: ",
                                "Triangle: Erorr at condition number estimate: "};
constexpr TSolveTexts kGeneralReal{kLU,
                                   true,
                                   ") = 0 (singular)",
                                   "parameter is invalid!",
                                   "LU solve: Erorr at solve: ",
                                   kLURefine,
                                   "LU: Erorr at condition number estimate: "};
constexpr TSolveTexts kGeneralCplx{kLU,
                                   true,
                                   ") = 0 (singular)",
                                   "parameter is invalid!",
                                   "LU: Erorr at solve:",
                                   kLURefine,
                                   "LU: Erorr at condition number estimate: "};
constexpr TSolveTexts kBandGeneralReal{kLU,
                                       true,
                                       ") = 0 (singular)",
                                       "parameter is invalid!",
                                       "Erorr at inverse: ",
                                       "Erorr at refine solution: ",
                                       "Band general: Erorr at condition number estimate: "};
constexpr TSolveTexts kBandGeneralCplx{kLU,
                                       true,
                                       ") = 0 (singular)",
                                       " parameter is invalid!",
                                       "Erorr at solve: ",
                                       "Erorr at refine solution: ",
                                       "Erorr at condition number estimate: "};

double SolveModulus(double x) { return std::fabs(x); }
double SolveModulus(const TCplx& z) { return std::sqrt(z.Re * z.Re + z.Im * z.Im); }

// Largest of the sums, each compared with "greater than" from 0, so that a
// NaN sum is passed over as the running maximum would pass it.
double Largest(const std::vector<double>& sums) {
  double result = 0.0;
  for (double s : sums)
    if (s > result) result = s;
  return result;
}

// Column (OneNorm) or row sums of the moduli of a full row-major matrix.
template <class T>
double FullNorm(const T* a, std::int32_t rows, std::int32_t cols, bool oneNorm) {
  std::vector<double> sums(static_cast<std::size_t>(oneNorm ? cols : rows), 0.0);
  for (std::int32_t i = 0; i < rows; ++i)
    for (std::int32_t j = 0; j < cols; ++j)
      sums[oneNorm ? j : i] += SolveModulus(a[static_cast<std::ptrdiff_t>(i) * cols + j]);
  return Largest(sums);
}

// The norm of the matrix that the solver reads, which for the symmetric and
// band types is not the storage itself: a symmetric matrix given by one
// triangle counts the other by symmetry, a band matrix only the elements
// inside its band. The 1- and infinity-norms of a symmetric matrix agree.
template <class T>
double SolverNorm(const TMtx& Self, const T* a, TMtxType Type, bool oneNorm) {
  const std::int32_t rows = Self.Rows(), cols = Self.Cols();
  const bool upper = Self.TriangleForm() == tfUpper;
  switch (Type) {
    case mtSymmPosDef:
    case mtSymmetric:
    case mtHermPosDef:
    case mtHermitian: {
      std::vector<double> sums(static_cast<std::size_t>(cols), 0.0);
      for (std::int32_t i = 0; i < rows; ++i)
        for (std::int32_t j = upper ? i : 0; j < (upper ? cols : i + 1); ++j) {
          const double v = SolveModulus(a[static_cast<std::ptrdiff_t>(i) * cols + j]);
          sums[j] += v;
          if (i != j) sums[i] += v;
        }
      return Largest(sums);
    }
    case mtBandSymmPosDef:
    case mtBandHermPosDef: {
      // Band row r, column j holds A(j - kd + r, j) (upper) or A(j + r, j).
      const std::int32_t kd = upper ? Self.SuperDiag() : Self.SubDiag();
      std::vector<double> sums(static_cast<std::size_t>(cols), 0.0);
      for (std::int32_t r = 0; r < rows && r <= kd; ++r)
        for (std::int32_t j = 0; j < cols; ++j) {
          const std::int32_t i = upper ? j - kd + r : j + r;
          if (i < 0 || i >= cols) continue;
          const double v = SolveModulus(a[static_cast<std::ptrdiff_t>(r) * cols + j]);
          sums[j] += v;
          if (i != j) sums[i] += v;
        }
      return Largest(sums);
    }
    case mtBandGeneral: {
      // Band row r, column j holds A(j - ku + r, j).
      const std::int32_t ku = Self.SuperDiag();
      std::vector<double> sums(static_cast<std::size_t>(cols), 0.0);
      for (std::int32_t r = 0; r < rows; ++r)
        for (std::int32_t j = 0; j < cols; ++j) {
          const std::int32_t i = j - ku + r;
          if (i < 0 || i >= cols) continue;
          sums[oneNorm ? j : i] += SolveModulus(a[static_cast<std::ptrdiff_t>(r) * cols + j]);
        }
      return Largest(sums);
    }
    default:
      return FullNorm(a, rows, cols, oneNorm);
  }
}

bool IsBand(TMtxType Type) { return Type == mtBandSymmPosDef || Type == mtBandHermPosDef || Type == mtBandGeneral; }

// A full matrix is the square system itself, with one right-hand-side row per row. A band
// matrix holds one band row per matrix row and one column per unknown: its order is Cols,
// whatever its few rows are.
void CheckRightHandSide(const TMtx& Self, TMtxType Type, std::int32_t Count, const char* Name) {
  if (IsBand(Type)) {
    if (Count != Self.Cols()) RaiseError(std::string(Name) + " <> Cols");
    return;
  }
  if (Self.Rows() != Self.Cols()) RaiseError("Quadratic = False");
  if (Count != Self.Rows()) RaiseError(std::string(Name) + " <> Rows");
}

}  // namespace

double TMtx::Norm1() const {
  return FComplex ? FullNorm(CValues(), FRows, FCols, true) : FullNorm(FData, FRows, FCols, true);
}

double TMtx::NormInf() const {
  return FComplex ? FullNorm(CValues(), FRows, FCols, false) : FullNorm(FData, FRows, FCols, false);
}

// ---------------------------------------------------------------------------
// Wrappers

void TMtx::LinSolve(const TMtx& B, TMtx& X, TMtxType MtxType, TMtxOperation Operation) {
  if (&B == this) RaiseError("B = Self");
  if (&X == this) RaiseError("X = Self");
  if (ElementCount() == 0) return;
  if (B.Complex() != FComplex) RaiseError("B.Complex <> Complex");
  const TMtxType type = SolveType(MtxType);
  CheckRightHandSide(*this, type, B.Rows(), "B.Rows");
  if (&X == &B) {
    TCachedMtx copy;
    copy->Copy(B);
    LinSolve(*copy, X, MtxType, Operation);
    return;
  }
  // X := B in column order, the layout the solve works in and overwrites.
  detail::TransposeInto(B, X, false);
  TCachedMtx columns;
  const double* b = B.Values();
  if (FRefineSolution && B.Cols() > 1) {
    // The refinement reads the right-hand sides in the solve's order.
    detail::TransposeInto(B, *columns, false);
    b = columns->Values();
  }
  try {
    LinSolveCore(b, X.Values(), B.Cols(), type, Operation);
  } catch (...) {
    X.Transp();
    throw;
  }
  X.Transp();
}

void TMtx::LinSolve(const TVec& B, TVec& X, TMtxType MtxType, TMtxOperation Operation) {
  if (ElementCount() == 0) return;
  if (B.Complex() != FComplex) RaiseError("B.Complex <> Complex");
  const TMtxType type = SolveType(MtxType);
  CheckRightHandSide(*this, type, B.Length(), "B.Length");
  TCachedVec saved;
  const double* b = B.Values();
  if (&X == &B) {
    // Solved in place: the refinement needs the right-hand side as it was.
    if (FRefineSolution) {
      saved->Copy(B);
      b = saved->Values();
    }
  } else {
    X.Copy(B);
  }
  LinSolveCore(b, X.Values(), 1, type, Operation);
}

// ---------------------------------------------------------------------------
// The solve

TMtxType TMtx::SolveType(TMtxType MtxType) {
  FErrorText.clear();
  MtxType = EffectiveType(MtxType);
  switch (MtxType) {
    case mtSymmPosDef:
      if (FComplex) RaiseError("Eig: Complex symmetric positive definite matrix type not supported. Use general!");
      break;
    case mtHermitian:
      if (!FComplex) RaiseError("Hermitian solve: not complex!");
      break;
    case mtBandSymmPosDef:
    case mtBandHermPosDef: {
      if (FComplex && MtxType == mtBandSymmPosDef)
        RaiseError("Eig: Complex band symmetric positive definite matrix type not supported. Use general!");
      // KD + 1 band rows, the diagonal in the last (upper) or first (lower) of them.
      const bool upper = FTriangleForm == tfUpper;
      const std::int32_t kd = upper ? FSuperDiag : FSubDiag;
      if (kd < 0) RaiseError(upper ? "SuperDiag < 0" : "SubDiag < 0");
      if (static_cast<std::int64_t>(kd) + 1 != FRows) RaiseError(upper ? "SuperDiag+1 <> Rows" : "SubDiag+1 <> Rows");
      break;
    }
    case mtBandGeneral:
      // Negative widths would place the band outside the work array.
      if (FSubDiag < 0) RaiseError("SubDiag < 0");
      if (FSuperDiag < 0) RaiseError("SuperDiag < 0");
      if (static_cast<std::int64_t>(FSubDiag) + FSuperDiag + 1 != FRows) RaiseError("SubDiag+SuperDiag+1 <> Rows");
      break;
    case mtHermPosDef:
    case mtSymmetric:
    case mtTriangle:
    case mtGeneral:
      break;
    default:
      RaiseError("MtxType not supported");
  }
  return MtxType;
}

void TMtx::LinSolveCore(const double* B, double* X, std::int32_t NRHS, TMtxType MtxType, TMtxOperation Operation) {
  FErrorText.clear();
  // The order of the system: Rows = Cols for full storage, Cols for a band.
  const std::int32_t n = FCols;
  const std::int32_t kl = FSubDiag, ku = FSuperDiag;
  const bool band = MtxType == mtBandGeneral;
  const std::int32_t ldab = band ? 2 * kl + ku + 1 : n;
  const bool refine = FRefineSolution;
  const bool estimate = FConditionNumber != cnNone;

  TCachedMtx w, w2;
  TCachedVec work, rwork;
  // W, read by columns, is A (the transpose of the row-major block); for the
  // band general type it is the band with kl leading rows for the fill-in of
  // the factorisation.
  if (band) {
    w->Size(FCols, ldab, FComplex);
    w->SetZero();
    const std::int32_t e = FComplex ? 2 : 1;
    for (std::int32_t r = 0; r < FRows; ++r)
      for (std::int32_t j = 0; j < FCols; ++j) {
        const double* from = RowValues(r) + static_cast<std::ptrdiff_t>(j) * e;
        double* to = w->RowValues(j) + static_cast<std::ptrdiff_t>(kl + r) * e;
        to[0] = from[0];
        if (e == 2) to[1] = from[1];
      }
  } else {
    detail::TransposeInto(*this, *w, false);
  }
  if (refine && MtxType != mtTriangle) w2->Copy(*w);

  const char uplo = detail::TriangleLetter(FTriangleForm);
  const char trans = detail::OperationLetter(Operation, FComplex);
  const char diag = detail::DiagLetter(FTriangleUnit);
  const char norm = FConditionNumber == cnNormInf ? 'I' : '1';
  const std::int32_t kd = FTriangleForm == tfUpper ? FSuperDiag : FSubDiag;
  const std::int32_t lwork = std::max(32 * n, 4 * n);
  work->Size(lwork, FComplex);
  rwork->Size(2 * n, false);
  std::vector<int> ipiv(static_cast<std::size_t>(n)), iwork(static_cast<std::size_t>(n));
  std::vector<double> ferr(static_cast<std::size_t>(NRHS)), berr(static_cast<std::size_t>(NRHS));
  double* rw = rwork->Values();
  double* rcond = &FRCond;
  double anorm = 0.0;
  if (estimate) {
    anorm = FComplex ? SolverNorm(*this, CValues(), MtxType, FConditionNumber == cnNorm1)
                     : SolverNorm(*this, FData, MtxType, FConditionNumber == cnNorm1);
  }

  // Real and complex views of the arrays.
  double* a = w->Values();
  const double* a2 = w2->Values();
  double* x = X;
  const double* b = B;
  double* wk = work->Values();
  lapack::Complex* za = Lz(w->CValues());
  const lapack::Complex* za2 = Lz(w2->CValues());
  lapack::Complex* zx = reinterpret_cast<lapack::Complex*>(X);
  const lapack::Complex* zb = reinterpret_cast<const lapack::Complex*>(B);
  lapack::Complex* zwk = Lz(work->CValues());
  int* piv = ipiv.data();
  int* iw = iwork.data();
  double* fe = ferr.data();
  double* be = berr.data();

  // One path: factorisation (none for a triangle), solve, refinement and
  // estimate, each while the status is 0.
  auto run = [&](const TSolveTexts& t, auto factor, auto solve, auto improve, auto condition) {
    int info = factor();
    FLapackStatus = info;
    if (info < 0) FErrorText = IntText(info) + t.Invalid;
    if (info > 0)
      FErrorText = t.SingularHead + IntText(info) + (t.SingularTwice ? "," + IntText(info) : "") + t.SingularTail;
    auto step = [&](int status, const char* text) {
      FLapackStatus = status;
      if (status != 0) FErrorText = text + IntText(status);
    };
    if (FLapackStatus == 0) step(solve(), t.Solve);
    if (FLapackStatus == 0 && refine) {
      step(improve(), t.Refine);
      // One bound for all right-hand sides: the worst of them.
      FForwardError = *std::max_element(ferr.begin(), ferr.end());
      FBackwardError = *std::max_element(berr.begin(), berr.end());
    }
    if (FLapackStatus == 0 && estimate) step(condition(), t.Estimate);
  };
  auto none = [] { return 0; };

  if (!FComplex) {
    switch (MtxType) {
      case mtSymmPosDef:
      case mtHermPosDef:
        run(
            kPosDefReal, [&] { return lapack::DPOTRF(uplo, n, a, n); },
            [&] { return lapack::DPOTRS(uplo, n, NRHS, a, n, x, n); },
            [&] { return lapack::DPORFS(uplo, n, NRHS, a2, n, a, n, b, n, x, n, fe, be, wk, iw); },
            [&] { return lapack::DPOCON(uplo, n, a, n, anorm, *rcond, wk, iw); });
        break;
      case mtSymmetric:
        run(
            kSymmetricReal, [&] { return lapack::DSYTRF(uplo, n, a, n, piv, wk, lwork); },
            [&] { return lapack::DSYTRS(uplo, n, NRHS, a, n, piv, x, n); },
            [&] { return lapack::DSYRFS(uplo, n, NRHS, a2, n, a, n, piv, b, n, x, n, fe, be, wk, iw); },
            [&] { return lapack::DSYCON(uplo, n, a, n, piv, anorm, *rcond, wk, iw); });
        break;
      case mtTriangle:
        run(
            kTriangle, none, [&] { return lapack::DTRTRS(uplo, trans, diag, n, NRHS, a, n, x, n); },
            [&] { return lapack::DTRRFS(uplo, trans, diag, n, NRHS, a, n, b, n, x, n, fe, be, wk, iw); },
            [&] { return lapack::DTRCON(norm, uplo, diag, n, a, n, *rcond, wk, iw); });
        break;
      case mtGeneral:
        run(
            kGeneralReal, [&] { return lapack::DGETRF(n, n, a, n, piv); },
            [&] { return lapack::DGETRS(trans, n, NRHS, a, n, piv, x, n); },
            [&] { return lapack::DGERFS(trans, n, NRHS, a2, n, a, n, piv, b, n, x, n, fe, be, wk, iw); },
            [&] { return lapack::DGECON(norm, n, a, n, anorm, *rcond, wk, iw); });
        break;
      case mtBandSymmPosDef:
      case mtBandHermPosDef:
        run(
            kBandPosDefReal, [&] { return lapack::DPBTRF(uplo, n, kd, a, FRows); },
            [&] { return lapack::DPBTRS(uplo, n, kd, NRHS, a, FRows, x, n); },
            [&] { return lapack::DPBRFS(uplo, n, kd, NRHS, a2, FRows, a, FRows, b, n, x, n, fe, be, wk, iw); },
            [&] { return lapack::DPBCON(uplo, n, kd, a, FRows, anorm, *rcond, wk, iw); });
        break;
      default:  // mtBandGeneral
        // The refinement reads the band as it was given, without the fill-in rows.
        run(
            kBandGeneralReal, [&] { return lapack::DGBTRF(n, n, kl, ku, a, ldab, piv); },
            [&] { return lapack::DGBTRS(trans, n, kl, ku, NRHS, a, ldab, piv, x, n); },
            [&] {
              return lapack::DGBRFS(trans, n, kl, ku, NRHS, a2 + kl, ldab, a, ldab, piv, b, n, x, n, fe, be, wk, iw);
            },
            [&] { return lapack::DGBCON(norm, n, kl, ku, a, ldab, piv, anorm, *rcond, wk, iw); });
        break;
    }
  } else {
    switch (MtxType) {
      case mtHermPosDef:
        run(
            kPosDefCplx, [&] { return lapack::ZPOTRF(uplo, n, za, n); },
            [&] { return lapack::ZPOTRS(uplo, n, NRHS, za, n, zx, n); },
            [&] { return lapack::ZPORFS(uplo, n, NRHS, za2, n, za, n, zb, n, zx, n, fe, be, zwk, rw); },
            [&] { return lapack::ZPOCON(uplo, n, za, n, anorm, *rcond, zwk, rw); });
        break;
      case mtSymmetric:
        run(
            kSymmetricCplx, [&] { return lapack::ZSYTRF(uplo, n, za, n, piv, zwk, lwork); },
            [&] { return lapack::ZSYTRS(uplo, n, NRHS, za, n, piv, zx, n); },
            [&] { return lapack::ZSYRFS(uplo, n, NRHS, za2, n, za, n, piv, zb, n, zx, n, fe, be, zwk, rw); },
            [&] { return lapack::ZSYCON(uplo, n, za, n, piv, anorm, *rcond, zwk); });
        break;
      case mtHermitian:
        run(
            kSymmetricReal, [&] { return lapack::ZHETRF(uplo, n, za, n, piv, zwk, lwork); },
            [&] { return lapack::ZHETRS(uplo, n, NRHS, za, n, piv, zx, n); },
            [&] { return lapack::ZHERFS(uplo, n, NRHS, za2, n, za, n, piv, zb, n, zx, n, fe, be, zwk, rw); },
            [&] { return lapack::ZHECON(uplo, n, za, n, piv, anorm, *rcond, zwk); });
        break;
      case mtTriangle:
        run(
            kTriangle, none, [&] { return lapack::ZTRTRS(uplo, trans, diag, n, NRHS, za, n, zx, n); },
            [&] { return lapack::ZTRRFS(uplo, trans, diag, n, NRHS, za, n, zb, n, zx, n, fe, be, zwk, rw); },
            [&] { return lapack::ZTRCON(norm, uplo, diag, n, za, n, *rcond, zwk, rw); });
        break;
      case mtGeneral:
        run(
            kGeneralCplx, [&] { return lapack::ZGETRF(n, n, za, n, piv); },
            [&] { return lapack::ZGETRS(trans, n, NRHS, za, n, piv, zx, n); },
            [&] { return lapack::ZGERFS(trans, n, NRHS, za2, n, za, n, piv, zb, n, zx, n, fe, be, zwk, rw); },
            [&] { return lapack::ZGECON(norm, n, za, n, anorm, *rcond, zwk, rw); });
        break;
      case mtBandHermPosDef:
        run(
            kBandPosDefCplx, [&] { return lapack::ZPBTRF(uplo, n, kd, za, FRows); },
            [&] { return lapack::ZPBTRS(uplo, n, kd, NRHS, za, FRows, zx, n); },
            [&] { return lapack::ZPBRFS(uplo, n, kd, NRHS, za2, FRows, za, FRows, zb, n, zx, n, fe, be, zwk, rw); },
            [&] { return lapack::ZPBCON(uplo, n, kd, za, FRows, anorm, *rcond, zwk, rw); });
        break;
      default:  // mtBandGeneral
        run(
            kBandGeneralCplx, [&] { return lapack::ZGBTRF(n, n, kl, ku, za, ldab, piv); },
            [&] { return lapack::ZGBTRS(trans, n, kl, ku, NRHS, za, ldab, piv, zx, n); },
            [&] {
              return lapack::ZGBRFS(trans, n, kl, ku, NRHS, za2 + kl, ldab, za, ldab, piv, zb, n, zx, n, fe, be, zwk,
                                    rw);
            },
            [&] { return lapack::ZGBCON(norm, n, kl, ku, za, ldab, piv, anorm, *rcond, zwk, rw); });
        break;
    }
  }
  if (FLapackStatus != 0) RaiseError("LUSolve: " + FErrorText);
}

}  // namespace numeric

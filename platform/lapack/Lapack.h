// The linear-algebra layer: the BLAS and LAPACK routines that the numeric core
// calls, in double (D) and double-complex (Z) precision, computed by OpenBLAS.
//
// One rule for every routine, so that a call reads like the routine's own
// documentation:
// - The function has the routine's name (DGETRF, ZGETRF, ...) and takes the
//   routine's arguments in the routine's order. Real and complex routines are
//   separate functions, not overloads, because their argument lists differ
//   (the complex condition estimates take a real RWORK instead of IWORK, ...).
// - Matrices are column-major, as LAPACK reads them. A caller that stores by
//   rows hands over the transpose, with the opposite triangle letter.
// - Counts, increments, leading dimensions, band widths and pivots are 32-bit
//   ints; character arguments are single chars ('N', 'T', 'C', 'U', 'L', ...),
//   upper or lower case.
// - Scalars that the routine only reads are passed by value; scalars it writes
//   (RCOND, ILO, IHI) by reference; arrays by pointer.
// - A complex element is std::complex<double>: two doubles, real part first,
//   so an array of any such pair type can be handed over as it is.
// - LAPACK routines return INFO: 0 is success, -i means the i-th argument had
//   an illegal value (the routine then does nothing), and i > 0 is the
//   routine's own failure (a zero pivot, a matrix that is not positive
//   definite, an eigenvalue iteration that did not converge). Reporting INFO is
//   the caller's business; nothing here raises for it.
// - BLAS routines return nothing, except the scalar results of DDOT and DASUM;
//   ZDOTC hands its complex result back through its first argument. A letter
//   the routine does not know raises EBlasArgument.
//
// Threads: OpenBLAS runs every call on the calling thread alone, so results do
// not depend on the number of cores of the machine (a blocked product split
// over threads may round differently). Initialize() sets this once; every
// routine also makes sure of it before its first call, so a program that
// forgets Initialize() still gets the same numbers. The routines keep no state
// of their own and may be called from several threads at once on separate data.
//
// Tested by: platform/lapack/tests/LapackFaceTest.cpp
#pragma once

#include <complex>

#include "platform/classlib/Exception.h"

namespace lapack {

using Complex = std::complex<double>;

// A BLAS call with a letter argument that the routine does not accept.
class EBlasArgument : public classlib::Exception {
 public:
  using Exception::Exception;
};

// Puts OpenBLAS on one thread. Safe to call more than once and from any thread;
// only the first call acts.
void Initialize();

// ---------------------------------------------------------------- BLAS level 1

// y := alpha * x + y
void DAXPY(int n, double alpha, const double* x, int incx, double* y, int incy);
void ZAXPY(int n, Complex alpha, const Complex* x, int incx, Complex* y, int incy);
// y := x
void DCOPY(int n, const double* x, int incx, double* y, int incy);
void ZCOPY(int n, const Complex* x, int incx, Complex* y, int incy);
// Sum of x[i] * y[i].
double DDOT(int n, const double* x, int incx, const double* y, int incy);
// dotc := sum of conj(x[i]) * y[i]; the first vector is the conjugated one.
void ZDOTC(Complex& dotc, int n, const Complex* x, int incx, const Complex* y, int incy);
// Sum of |x[i]|.
double DASUM(int n, const double* x, int incx);

// ---------------------------------------------------------------- BLAS level 2

// y := alpha * op(A) * x + beta * y, A m x n, op by TRANS 'N', 'T' or 'C'.
void DGEMV(char trans, int m, int n, double alpha, const double* a, int lda, const double* x,
           int incx, double beta, double* y, int incy);
void ZGEMV(char trans, int m, int n, Complex alpha, const Complex* a, int lda, const Complex* x,
           int incx, Complex beta, Complex* y, int incy);
// y := alpha * A * x + beta * y, A symmetric (Hermitian) read from the UPLO triangle.
void DSYMV(char uplo, int n, double alpha, const double* a, int lda, const double* x, int incx,
           double beta, double* y, int incy);
void ZHEMV(char uplo, int n, Complex alpha, const Complex* a, int lda, const Complex* x, int incx,
           Complex beta, Complex* y, int incy);
// x := op(A) * x, A triangular (UPLO), unit diagonal when DIAG = 'U'.
void DTRMV(char uplo, char trans, char diag, int n, const double* a, int lda, double* x, int incx);
void ZTRMV(char uplo, char trans, char diag, int n, const Complex* a, int lda, Complex* x,
           int incx);

// ---------------------------------------------------------------- BLAS level 3

// C := alpha * op(A) * op(B) + beta * C, C m x n, inner dimension k.
void DGEMM(char transa, char transb, int m, int n, int k, double alpha, const double* a, int lda,
           const double* b, int ldb, double beta, double* c, int ldc);
void ZGEMM(char transa, char transb, int m, int n, int k, Complex alpha, const Complex* a, int lda,
           const Complex* b, int ldb, Complex beta, Complex* c, int ldc);
// C := alpha * A * B + beta * C (SIDE 'L') or alpha * B * A + beta * C (SIDE 'R'),
// A symmetric (Hermitian) read from the UPLO triangle; C is m x n.
void DSYMM(char side, char uplo, int m, int n, double alpha, const double* a, int lda,
           const double* b, int ldb, double beta, double* c, int ldc);
void ZHEMM(char side, char uplo, int m, int n, Complex alpha, const Complex* a, int lda,
           const Complex* b, int ldb, Complex beta, Complex* c, int ldc);
// B := alpha * op(A) * B (SIDE 'L') or alpha * B * op(A) (SIDE 'R'), A triangular.
void DTRMM(char side, char uplo, char transa, char diag, int m, int n, double alpha,
           const double* a, int lda, double* b, int ldb);
void ZTRMM(char side, char uplo, char transa, char diag, int m, int n, Complex alpha,
           const Complex* a, int lda, Complex* b, int ldb);

// ------------------------------------------------------- LAPACK: general (LU)

int DGETRF(int m, int n, double* a, int lda, int* ipiv);
int ZGETRF(int m, int n, Complex* a, int lda, int* ipiv);
int DGETRS(char trans, int n, int nrhs, const double* a, int lda, const int* ipiv, double* b,
           int ldb);
int ZGETRS(char trans, int n, int nrhs, const Complex* a, int lda, const int* ipiv, Complex* b,
           int ldb);
int DGETRI(int n, double* a, int lda, const int* ipiv, double* work, int lwork);
int ZGETRI(int n, Complex* a, int lda, const int* ipiv, Complex* work, int lwork);
int DGECON(char norm, int n, const double* a, int lda, double anorm, double& rcond, double* work,
           int* iwork);
int ZGECON(char norm, int n, const Complex* a, int lda, double anorm, double& rcond, Complex* work,
           double* rwork);
int DGERFS(char trans, int n, int nrhs, const double* a, int lda, const double* af, int ldaf,
           const int* ipiv, const double* b, int ldb, double* x, int ldx, double* ferr,
           double* berr, double* work, int* iwork);
int ZGERFS(char trans, int n, int nrhs, const Complex* a, int lda, const Complex* af, int ldaf,
           const int* ipiv, const Complex* b, int ldb, Complex* x, int ldx, double* ferr,
           double* berr, Complex* work, double* rwork);

// ------------------------------------------------------ LAPACK: general band

int DGBTRF(int m, int n, int kl, int ku, double* ab, int ldab, int* ipiv);
int ZGBTRF(int m, int n, int kl, int ku, Complex* ab, int ldab, int* ipiv);
int DGBTRS(char trans, int n, int kl, int ku, int nrhs, const double* ab, int ldab,
           const int* ipiv, double* b, int ldb);
int ZGBTRS(char trans, int n, int kl, int ku, int nrhs, const Complex* ab, int ldab,
           const int* ipiv, Complex* b, int ldb);
int DGBCON(char norm, int n, int kl, int ku, const double* ab, int ldab, const int* ipiv,
           double anorm, double& rcond, double* work, int* iwork);
int ZGBCON(char norm, int n, int kl, int ku, const Complex* ab, int ldab, const int* ipiv,
           double anorm, double& rcond, Complex* work, double* rwork);
int DGBRFS(char trans, int n, int kl, int ku, int nrhs, const double* ab, int ldab,
           const double* afb, int ldafb, const int* ipiv, const double* b, int ldb, double* x,
           int ldx, double* ferr, double* berr, double* work, int* iwork);
int ZGBRFS(char trans, int n, int kl, int ku, int nrhs, const Complex* ab, int ldab,
           const Complex* afb, int ldafb, const int* ipiv, const Complex* b, int ldb, Complex* x,
           int ldx, double* ferr, double* berr, Complex* work, double* rwork);

// ----------------------------------- LAPACK: symmetric (Hermitian) positive definite

int DPOTRF(char uplo, int n, double* a, int lda);
int ZPOTRF(char uplo, int n, Complex* a, int lda);
int DPOTRS(char uplo, int n, int nrhs, const double* a, int lda, double* b, int ldb);
int ZPOTRS(char uplo, int n, int nrhs, const Complex* a, int lda, Complex* b, int ldb);
int DPOTRI(char uplo, int n, double* a, int lda);
int ZPOTRI(char uplo, int n, Complex* a, int lda);
int DPOCON(char uplo, int n, const double* a, int lda, double anorm, double& rcond, double* work,
           int* iwork);
int ZPOCON(char uplo, int n, const Complex* a, int lda, double anorm, double& rcond,
           Complex* work, double* rwork);
int DPORFS(char uplo, int n, int nrhs, const double* a, int lda, const double* af, int ldaf,
           const double* b, int ldb, double* x, int ldx, double* ferr, double* berr, double* work,
           int* iwork);
int ZPORFS(char uplo, int n, int nrhs, const Complex* a, int lda, const Complex* af, int ldaf,
           const Complex* b, int ldb, Complex* x, int ldx, double* ferr, double* berr,
           Complex* work, double* rwork);

// ------------------------------ LAPACK: symmetric (Hermitian) positive definite band

int DPBTRF(char uplo, int n, int kd, double* ab, int ldab);
int ZPBTRF(char uplo, int n, int kd, Complex* ab, int ldab);
int DPBTRS(char uplo, int n, int kd, int nrhs, const double* ab, int ldab, double* b, int ldb);
int ZPBTRS(char uplo, int n, int kd, int nrhs, const Complex* ab, int ldab, Complex* b, int ldb);
int DPBCON(char uplo, int n, int kd, const double* ab, int ldab, double anorm, double& rcond,
           double* work, int* iwork);
int ZPBCON(char uplo, int n, int kd, const Complex* ab, int ldab, double anorm, double& rcond,
           Complex* work, double* rwork);
int DPBRFS(char uplo, int n, int kd, int nrhs, const double* ab, int ldab, const double* afb,
           int ldafb, const double* b, int ldb, double* x, int ldx, double* ferr, double* berr,
           double* work, int* iwork);
int ZPBRFS(char uplo, int n, int kd, int nrhs, const Complex* ab, int ldab, const Complex* afb,
           int ldafb, const Complex* b, int ldb, Complex* x, int ldx, double* ferr, double* berr,
           Complex* work, double* rwork);

// ------------------------- LAPACK: symmetric indefinite (Bunch-Kaufman), real and complex

int DSYTRF(char uplo, int n, double* a, int lda, int* ipiv, double* work, int lwork);
int ZSYTRF(char uplo, int n, Complex* a, int lda, int* ipiv, Complex* work, int lwork);
int DSYTRS(char uplo, int n, int nrhs, const double* a, int lda, const int* ipiv, double* b,
           int ldb);
int ZSYTRS(char uplo, int n, int nrhs, const Complex* a, int lda, const int* ipiv, Complex* b,
           int ldb);
int DSYTRI(char uplo, int n, double* a, int lda, const int* ipiv, double* work);
int ZSYTRI(char uplo, int n, Complex* a, int lda, const int* ipiv, Complex* work);
int DSYCON(char uplo, int n, const double* a, int lda, const int* ipiv, double anorm,
           double& rcond, double* work, int* iwork);
int ZSYCON(char uplo, int n, const Complex* a, int lda, const int* ipiv, double anorm,
           double& rcond, Complex* work);
int DSYRFS(char uplo, int n, int nrhs, const double* a, int lda, const double* af, int ldaf,
           const int* ipiv, const double* b, int ldb, double* x, int ldx, double* ferr,
           double* berr, double* work, int* iwork);
int ZSYRFS(char uplo, int n, int nrhs, const Complex* a, int lda, const Complex* af, int ldaf,
           const int* ipiv, const Complex* b, int ldb, Complex* x, int ldx, double* ferr,
           double* berr, Complex* work, double* rwork);

// -------------------------------------------- LAPACK: Hermitian indefinite (complex)

int ZHETRF(char uplo, int n, Complex* a, int lda, int* ipiv, Complex* work, int lwork);
int ZHETRS(char uplo, int n, int nrhs, const Complex* a, int lda, const int* ipiv, Complex* b,
           int ldb);
// The inverse from the ZHETRF factor, for the matrix inverse of a Hermitian matrix.
int ZHETRI(char uplo, int n, Complex* a, int lda, const int* ipiv, Complex* work);
int ZHECON(char uplo, int n, const Complex* a, int lda, const int* ipiv, double anorm,
           double& rcond, Complex* work);
int ZHERFS(char uplo, int n, int nrhs, const Complex* a, int lda, const Complex* af, int ldaf,
           const int* ipiv, const Complex* b, int ldb, Complex* x, int ldx, double* ferr,
           double* berr, Complex* work, double* rwork);

// ---------------------------------------------------------- LAPACK: triangular

int DTRTRS(char uplo, char trans, char diag, int n, int nrhs, const double* a, int lda, double* b,
           int ldb);
int ZTRTRS(char uplo, char trans, char diag, int n, int nrhs, const Complex* a, int lda,
           Complex* b, int ldb);
int DTRTRI(char uplo, char diag, int n, double* a, int lda);
int ZTRTRI(char uplo, char diag, int n, Complex* a, int lda);
int DTRCON(char norm, char uplo, char diag, int n, const double* a, int lda, double& rcond,
           double* work, int* iwork);
int ZTRCON(char norm, char uplo, char diag, int n, const Complex* a, int lda, double& rcond,
           Complex* work, double* rwork);
// Error bounds only: X is read, not refined.
int DTRRFS(char uplo, char trans, char diag, int n, int nrhs, const double* a, int lda,
           const double* b, int ldb, const double* x, int ldx, double* ferr, double* berr,
           double* work, int* iwork);
int ZTRRFS(char uplo, char trans, char diag, int n, int nrhs, const Complex* a, int lda,
           const Complex* b, int ldb, const Complex* x, int ldx, double* ferr, double* berr,
           Complex* work, double* rwork);

// ------------------------------------------------------- LAPACK: least squares

// Least squares (m >= n) or minimum norm (m < n) by QR or LQ. LWORK = -1 asks
// for the optimal work length, returned in WORK[0] (its real part for ZGELS).
// DGELS takes TRANS 'C' as 'T', as every other real routine does: the
// conjugate transpose of a real matrix is its transpose.
int DGELS(char trans, int m, int n, int nrhs, double* a, int lda, double* b, int ldb,
          double* work, int lwork);
int ZGELS(char trans, int m, int n, int nrhs, Complex* a, int lda, Complex* b, int ldb,
          Complex* work, int lwork);

// ---------------------------------------------------------- LAPACK: eigenvalues

int DGEBAL(char job, int n, double* a, int lda, int& ilo, int& ihi, double* scale);
int ZGEBAL(char job, int n, Complex* a, int lda, int& ilo, int& ihi, double* scale);
int DGEHRD(int n, int ilo, int ihi, double* a, int lda, double* tau, double* work, int lwork);
int ZGEHRD(int n, int ilo, int ihi, Complex* a, int lda, Complex* tau, Complex* work, int lwork);
int DHSEQR(char job, char compz, int n, int ilo, int ihi, double* h, int ldh, double* wr,
           double* wi, double* z, int ldz, double* work, int lwork);
int ZHSEQR(char job, char compz, int n, int ilo, int ihi, Complex* h, int ldh, Complex* w,
           Complex* z, int ldz, Complex* work, int lwork);
int DSYTRD(char uplo, int n, double* a, int lda, double* d, double* e, double* tau, double* work,
           int lwork);
int ZHETRD(char uplo, int n, Complex* a, int lda, double* d, double* e, Complex* tau,
           Complex* work, int lwork);
int DPTEQR(char compz, int n, double* d, double* e, double* z, int ldz, double* work);
int ZPTEQR(char compz, int n, double* d, double* e, Complex* z, int ldz, double* work);
int DSTERF(int n, double* d, double* e);

// The eigenvalues of a general matrix with their reciprocal condition numbers (RCONDE, with SENSE
// 'E' and both JOBVL and JOBVR 'V'), and the 1-norm of the balanced matrix (ABNRM): the error
// bounds of the tests that check eigenvalues. LWORK -1 asks for the optimal work length.
int DGEEVX(char balanc, char jobvl, char jobvr, char sense, int n, double* a, int lda, double* wr,
           double* wi, double* vl, int ldvl, double* vr, int ldvr, int& ilo, int& ihi,
           double* scale, double& abnrm, double* rconde, double* rcondv, double* work, int lwork,
           int* iwork);
// The generalized eigenvalues (alphar + i alphai) / beta of the pencil (A, B) and their left and
// right eigenvectors: the tests' condition numbers of a system's zeros.
int DGGEV(char jobvl, char jobvr, int n, double* a, int lda, double* b, int ldb, double* alphar,
          double* alphai, double* beta, double* vl, int ldvl, double* vr, int ldvr, double* work,
          int lwork);

}  // namespace lapack

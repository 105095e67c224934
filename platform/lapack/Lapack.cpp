// The BLAS and LAPACK routines of the numeric core over OpenBLAS: BLAS through
// its C interface (column-major), LAPACK through the Fortran symbols with the
// hidden length argument of each character argument.
//
// Tested by: platform/lapack/tests/LapackFaceTest.cpp
#include "platform/lapack/Lapack.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <string>
#include <type_traits>

// The complex element of LAPACK's Fortran interface, seen from C++: must be
// set before lapack.h picks its own.
#define lapack_complex_float std::complex<float>
#define lapack_complex_double std::complex<double>
#include <cblas.h>
#include <lapack.h>

// Declared here as well, because the generic cblas.h of another BLAS may be the
// one installed under that name; the symbol itself must come from OpenBLAS.
extern "C" void openblas_set_num_threads(int numThreads);

namespace lapack {

static_assert(std::is_same_v<lapack_int, int> && sizeof(int) == 4,
              "LAPACK must take 32-bit integers (not an ILP64 build)");
static_assert(std::is_same_v<blasint, int>, "BLAS must take 32-bit integers (not an ILP64 build)");
static_assert(sizeof(Complex) == 2 * sizeof(double), "a complex element is two doubles");

namespace {

std::once_flag threadsSet;

// Every routine passes here first, so that no call ever runs multi-threaded.
inline void Ready() { std::call_once(threadsSet, [] { openblas_set_num_threads(1); }); }

char Upper(char letter) { return letter >= 'a' && letter <= 'z' ? char(letter - 'a' + 'A') : letter; }

[[noreturn]] void BadLetter(const char* routine, const char* argument, char letter,
                            const char* allowed) {
  const std::string shown = letter >= ' ' && letter <= '~'
                                ? std::string("'") + letter + "'"
                                : "character " + std::to_string(static_cast<unsigned char>(letter));
  throw EBlasArgument(std::string(routine) + ": " + argument + " is " + shown + ", not one of " +
                      allowed);
}

CBLAS_TRANSPOSE Trans(const char* routine, const char* argument, char letter) {
  switch (Upper(letter)) {
    case 'N': return CblasNoTrans;
    case 'T': return CblasTrans;
    case 'C': return CblasConjTrans;
  }
  BadLetter(routine, argument, letter, "N, T, C");
}

CBLAS_UPLO Uplo(const char* routine, char letter) {
  switch (Upper(letter)) {
    case 'U': return CblasUpper;
    case 'L': return CblasLower;
  }
  BadLetter(routine, "UPLO", letter, "U, L");
}

CBLAS_DIAG Diag(const char* routine, char letter) {
  switch (Upper(letter)) {
    case 'N': return CblasNonUnit;
    case 'U': return CblasUnit;
  }
  BadLetter(routine, "DIAG", letter, "N, U");
}

CBLAS_SIDE Side(const char* routine, char letter) {
  switch (Upper(letter)) {
    case 'L': return CblasLeft;
    case 'R': return CblasRight;
  }
  BadLetter(routine, "SIDE", letter, "L, R");
}

// OpenBLAS's own ?GETRS reports an illegal argument through its error handler
// but leaves INFO as it was, so the call would pass for a successful solve. The
// arguments are checked here first, in LAPACK's order, with LAPACK's numbers.
int GetrsArguments(char trans, int n, int nrhs, int lda, int ldb) {
  const char t = Upper(trans);
  if (t != 'N' && t != 'T' && t != 'C') return -1;
  if (n < 0) return -2;
  if (nrhs < 0) return -3;
  if (lda < std::max(1, n)) return -5;
  if (ldb < std::max(1, n)) return -8;
  return 0;
}

}  // namespace

void Initialize() { Ready(); }

// ---------------------------------------------------------------- BLAS level 1

void DAXPY(int n, double alpha, const double* x, int incx, double* y, int incy) {
  Ready();
  cblas_daxpy(n, alpha, x, incx, y, incy);
}

void ZAXPY(int n, Complex alpha, const Complex* x, int incx, Complex* y, int incy) {
  Ready();
  cblas_zaxpy(n, &alpha, x, incx, y, incy);
}

void DCOPY(int n, const double* x, int incx, double* y, int incy) {
  Ready();
  cblas_dcopy(n, x, incx, y, incy);
}

void ZCOPY(int n, const Complex* x, int incx, Complex* y, int incy) {
  Ready();
  cblas_zcopy(n, x, incx, y, incy);
}

double DDOT(int n, const double* x, int incx, const double* y, int incy) {
  Ready();
  return cblas_ddot(n, x, incx, y, incy);
}

void ZDOTC(Complex& dotc, int n, const Complex* x, int incx, const Complex* y, int incy) {
  Ready();
  cblas_zdotc_sub(n, x, incx, y, incy, &dotc);
}

double DASUM(int n, const double* x, int incx) {
  Ready();
  return cblas_dasum(n, x, incx);
}

// ---------------------------------------------------------------- BLAS level 2

void DGEMV(char trans, int m, int n, double alpha, const double* a, int lda, const double* x,
           int incx, double beta, double* y, int incy) {
  const CBLAS_TRANSPOSE t = Trans("DGEMV", "TRANS", trans);
  Ready();
  cblas_dgemv(CblasColMajor, t, m, n, alpha, a, lda, x, incx, beta, y, incy);
}

void ZGEMV(char trans, int m, int n, Complex alpha, const Complex* a, int lda, const Complex* x,
           int incx, Complex beta, Complex* y, int incy) {
  const CBLAS_TRANSPOSE t = Trans("ZGEMV", "TRANS", trans);
  Ready();
  cblas_zgemv(CblasColMajor, t, m, n, &alpha, a, lda, x, incx, &beta, y, incy);
}

void DSYMV(char uplo, int n, double alpha, const double* a, int lda, const double* x, int incx,
           double beta, double* y, int incy) {
  const CBLAS_UPLO u = Uplo("DSYMV", uplo);
  Ready();
  cblas_dsymv(CblasColMajor, u, n, alpha, a, lda, x, incx, beta, y, incy);
}

void ZHEMV(char uplo, int n, Complex alpha, const Complex* a, int lda, const Complex* x, int incx,
           Complex beta, Complex* y, int incy) {
  const CBLAS_UPLO u = Uplo("ZHEMV", uplo);
  Ready();
  cblas_zhemv(CblasColMajor, u, n, &alpha, a, lda, x, incx, &beta, y, incy);
}

void DTRMV(char uplo, char trans, char diag, int n, const double* a, int lda, double* x,
           int incx) {
  const CBLAS_UPLO u = Uplo("DTRMV", uplo);
  const CBLAS_TRANSPOSE t = Trans("DTRMV", "TRANS", trans);
  const CBLAS_DIAG d = Diag("DTRMV", diag);
  Ready();
  cblas_dtrmv(CblasColMajor, u, t, d, n, a, lda, x, incx);
}

void ZTRMV(char uplo, char trans, char diag, int n, const Complex* a, int lda, Complex* x,
           int incx) {
  const CBLAS_UPLO u = Uplo("ZTRMV", uplo);
  const CBLAS_TRANSPOSE t = Trans("ZTRMV", "TRANS", trans);
  const CBLAS_DIAG d = Diag("ZTRMV", diag);
  Ready();
  cblas_ztrmv(CblasColMajor, u, t, d, n, a, lda, x, incx);
}

// ---------------------------------------------------------------- BLAS level 3

void DGEMM(char transa, char transb, int m, int n, int k, double alpha, const double* a, int lda,
           const double* b, int ldb, double beta, double* c, int ldc) {
  const CBLAS_TRANSPOSE ta = Trans("DGEMM", "TRANSA", transa);
  const CBLAS_TRANSPOSE tb = Trans("DGEMM", "TRANSB", transb);
  Ready();
  cblas_dgemm(CblasColMajor, ta, tb, m, n, k, alpha, a, lda, b, ldb, beta, c, ldc);
}

void ZGEMM(char transa, char transb, int m, int n, int k, Complex alpha, const Complex* a, int lda,
           const Complex* b, int ldb, Complex beta, Complex* c, int ldc) {
  const CBLAS_TRANSPOSE ta = Trans("ZGEMM", "TRANSA", transa);
  const CBLAS_TRANSPOSE tb = Trans("ZGEMM", "TRANSB", transb);
  Ready();
  cblas_zgemm(CblasColMajor, ta, tb, m, n, k, &alpha, a, lda, b, ldb, &beta, c, ldc);
}

void DSYMM(char side, char uplo, int m, int n, double alpha, const double* a, int lda,
           const double* b, int ldb, double beta, double* c, int ldc) {
  const CBLAS_SIDE s = Side("DSYMM", side);
  const CBLAS_UPLO u = Uplo("DSYMM", uplo);
  Ready();
  cblas_dsymm(CblasColMajor, s, u, m, n, alpha, a, lda, b, ldb, beta, c, ldc);
}

void ZHEMM(char side, char uplo, int m, int n, Complex alpha, const Complex* a, int lda,
           const Complex* b, int ldb, Complex beta, Complex* c, int ldc) {
  const CBLAS_SIDE s = Side("ZHEMM", side);
  const CBLAS_UPLO u = Uplo("ZHEMM", uplo);
  Ready();
  cblas_zhemm(CblasColMajor, s, u, m, n, &alpha, a, lda, b, ldb, &beta, c, ldc);
}

void DTRMM(char side, char uplo, char transa, char diag, int m, int n, double alpha,
           const double* a, int lda, double* b, int ldb) {
  const CBLAS_SIDE s = Side("DTRMM", side);
  const CBLAS_UPLO u = Uplo("DTRMM", uplo);
  const CBLAS_TRANSPOSE t = Trans("DTRMM", "TRANSA", transa);
  const CBLAS_DIAG d = Diag("DTRMM", diag);
  Ready();
  cblas_dtrmm(CblasColMajor, s, u, t, d, m, n, alpha, a, lda, b, ldb);
}

void ZTRMM(char side, char uplo, char transa, char diag, int m, int n, Complex alpha,
           const Complex* a, int lda, Complex* b, int ldb) {
  const CBLAS_SIDE s = Side("ZTRMM", side);
  const CBLAS_UPLO u = Uplo("ZTRMM", uplo);
  const CBLAS_TRANSPOSE t = Trans("ZTRMM", "TRANSA", transa);
  const CBLAS_DIAG d = Diag("ZTRMM", diag);
  Ready();
  cblas_ztrmm(CblasColMajor, s, u, t, d, m, n, &alpha, a, lda, b, ldb);
}

// LAPACK from here on: every argument by address, each character argument
// followed by its hidden length 1 (the LAPACK_x macros of lapack.h append it).

// ------------------------------------------------------- LAPACK: general (LU)

int DGETRF(int m, int n, double* a, int lda, int* ipiv) {
  Ready();
  int info = 0;
  LAPACK_dgetrf(&m, &n, a, &lda, ipiv, &info);
  return info;
}

int ZGETRF(int m, int n, Complex* a, int lda, int* ipiv) {
  Ready();
  int info = 0;
  LAPACK_zgetrf(&m, &n, a, &lda, ipiv, &info);
  return info;
}

int DGETRS(char trans, int n, int nrhs, const double* a, int lda, const int* ipiv, double* b,
           int ldb) {
  if (const int illegal = GetrsArguments(trans, n, nrhs, lda, ldb)) return illegal;
  Ready();
  int info = 0;
  LAPACK_dgetrs(&trans, &n, &nrhs, a, &lda, ipiv, b, &ldb, &info);
  return info;
}

int ZGETRS(char trans, int n, int nrhs, const Complex* a, int lda, const int* ipiv, Complex* b,
           int ldb) {
  if (const int illegal = GetrsArguments(trans, n, nrhs, lda, ldb)) return illegal;
  Ready();
  int info = 0;
  LAPACK_zgetrs(&trans, &n, &nrhs, a, &lda, ipiv, b, &ldb, &info);
  return info;
}

int DGETRI(int n, double* a, int lda, const int* ipiv, double* work, int lwork) {
  Ready();
  int info = 0;
  LAPACK_dgetri(&n, a, &lda, ipiv, work, &lwork, &info);
  return info;
}

int ZGETRI(int n, Complex* a, int lda, const int* ipiv, Complex* work, int lwork) {
  Ready();
  int info = 0;
  LAPACK_zgetri(&n, a, &lda, ipiv, work, &lwork, &info);
  return info;
}

int DGECON(char norm, int n, const double* a, int lda, double anorm, double& rcond, double* work,
           int* iwork) {
  Ready();
  int info = 0;
  LAPACK_dgecon(&norm, &n, a, &lda, &anorm, &rcond, work, iwork, &info);
  return info;
}

int ZGECON(char norm, int n, const Complex* a, int lda, double anorm, double& rcond, Complex* work,
           double* rwork) {
  Ready();
  int info = 0;
  LAPACK_zgecon(&norm, &n, a, &lda, &anorm, &rcond, work, rwork, &info);
  return info;
}

int DGERFS(char trans, int n, int nrhs, const double* a, int lda, const double* af, int ldaf,
           const int* ipiv, const double* b, int ldb, double* x, int ldx, double* ferr,
           double* berr, double* work, int* iwork) {
  Ready();
  int info = 0;
  LAPACK_dgerfs(&trans, &n, &nrhs, a, &lda, af, &ldaf, ipiv, b, &ldb, x, &ldx, ferr, berr, work,
                iwork, &info);
  return info;
}

int ZGERFS(char trans, int n, int nrhs, const Complex* a, int lda, const Complex* af, int ldaf,
           const int* ipiv, const Complex* b, int ldb, Complex* x, int ldx, double* ferr,
           double* berr, Complex* work, double* rwork) {
  Ready();
  int info = 0;
  LAPACK_zgerfs(&trans, &n, &nrhs, a, &lda, af, &ldaf, ipiv, b, &ldb, x, &ldx, ferr, berr, work,
                rwork, &info);
  return info;
}

// ------------------------------------------------------ LAPACK: general band

int DGBTRF(int m, int n, int kl, int ku, double* ab, int ldab, int* ipiv) {
  Ready();
  int info = 0;
  LAPACK_dgbtrf(&m, &n, &kl, &ku, ab, &ldab, ipiv, &info);
  return info;
}

int ZGBTRF(int m, int n, int kl, int ku, Complex* ab, int ldab, int* ipiv) {
  Ready();
  int info = 0;
  LAPACK_zgbtrf(&m, &n, &kl, &ku, ab, &ldab, ipiv, &info);
  return info;
}

int DGBTRS(char trans, int n, int kl, int ku, int nrhs, const double* ab, int ldab,
           const int* ipiv, double* b, int ldb) {
  Ready();
  int info = 0;
  LAPACK_dgbtrs(&trans, &n, &kl, &ku, &nrhs, ab, &ldab, ipiv, b, &ldb, &info);
  return info;
}

int ZGBTRS(char trans, int n, int kl, int ku, int nrhs, const Complex* ab, int ldab,
           const int* ipiv, Complex* b, int ldb) {
  Ready();
  int info = 0;
  LAPACK_zgbtrs(&trans, &n, &kl, &ku, &nrhs, ab, &ldab, ipiv, b, &ldb, &info);
  return info;
}

int DGBCON(char norm, int n, int kl, int ku, const double* ab, int ldab, const int* ipiv,
           double anorm, double& rcond, double* work, int* iwork) {
  Ready();
  int info = 0;
  LAPACK_dgbcon(&norm, &n, &kl, &ku, ab, &ldab, ipiv, &anorm, &rcond, work, iwork, &info);
  return info;
}

int ZGBCON(char norm, int n, int kl, int ku, const Complex* ab, int ldab, const int* ipiv,
           double anorm, double& rcond, Complex* work, double* rwork) {
  Ready();
  int info = 0;
  LAPACK_zgbcon(&norm, &n, &kl, &ku, ab, &ldab, ipiv, &anorm, &rcond, work, rwork, &info);
  return info;
}

int DGBRFS(char trans, int n, int kl, int ku, int nrhs, const double* ab, int ldab,
           const double* afb, int ldafb, const int* ipiv, const double* b, int ldb, double* x,
           int ldx, double* ferr, double* berr, double* work, int* iwork) {
  Ready();
  int info = 0;
  LAPACK_dgbrfs(&trans, &n, &kl, &ku, &nrhs, ab, &ldab, afb, &ldafb, ipiv, b, &ldb, x, &ldx, ferr,
                berr, work, iwork, &info);
  return info;
}

int ZGBRFS(char trans, int n, int kl, int ku, int nrhs, const Complex* ab, int ldab,
           const Complex* afb, int ldafb, const int* ipiv, const Complex* b, int ldb, Complex* x,
           int ldx, double* ferr, double* berr, Complex* work, double* rwork) {
  Ready();
  int info = 0;
  LAPACK_zgbrfs(&trans, &n, &kl, &ku, &nrhs, ab, &ldab, afb, &ldafb, ipiv, b, &ldb, x, &ldx, ferr,
                berr, work, rwork, &info);
  return info;
}

// ----------------------------------- LAPACK: symmetric (Hermitian) positive definite

int DPOTRF(char uplo, int n, double* a, int lda) {
  Ready();
  int info = 0;
  LAPACK_dpotrf(&uplo, &n, a, &lda, &info);
  return info;
}

int ZPOTRF(char uplo, int n, Complex* a, int lda) {
  Ready();
  int info = 0;
  LAPACK_zpotrf(&uplo, &n, a, &lda, &info);
  return info;
}

int DPOTRS(char uplo, int n, int nrhs, const double* a, int lda, double* b, int ldb) {
  Ready();
  int info = 0;
  LAPACK_dpotrs(&uplo, &n, &nrhs, a, &lda, b, &ldb, &info);
  return info;
}

int ZPOTRS(char uplo, int n, int nrhs, const Complex* a, int lda, Complex* b, int ldb) {
  Ready();
  int info = 0;
  LAPACK_zpotrs(&uplo, &n, &nrhs, a, &lda, b, &ldb, &info);
  return info;
}

int DPOTRI(char uplo, int n, double* a, int lda) {
  Ready();
  int info = 0;
  LAPACK_dpotri(&uplo, &n, a, &lda, &info);
  return info;
}

int ZPOTRI(char uplo, int n, Complex* a, int lda) {
  Ready();
  int info = 0;
  LAPACK_zpotri(&uplo, &n, a, &lda, &info);
  return info;
}

int DPOCON(char uplo, int n, const double* a, int lda, double anorm, double& rcond, double* work,
           int* iwork) {
  Ready();
  int info = 0;
  LAPACK_dpocon(&uplo, &n, a, &lda, &anorm, &rcond, work, iwork, &info);
  return info;
}

int ZPOCON(char uplo, int n, const Complex* a, int lda, double anorm, double& rcond,
           Complex* work, double* rwork) {
  Ready();
  int info = 0;
  LAPACK_zpocon(&uplo, &n, a, &lda, &anorm, &rcond, work, rwork, &info);
  return info;
}

int DPORFS(char uplo, int n, int nrhs, const double* a, int lda, const double* af, int ldaf,
           const double* b, int ldb, double* x, int ldx, double* ferr, double* berr, double* work,
           int* iwork) {
  Ready();
  int info = 0;
  LAPACK_dporfs(&uplo, &n, &nrhs, a, &lda, af, &ldaf, b, &ldb, x, &ldx, ferr, berr, work, iwork,
                &info);
  return info;
}

int ZPORFS(char uplo, int n, int nrhs, const Complex* a, int lda, const Complex* af, int ldaf,
           const Complex* b, int ldb, Complex* x, int ldx, double* ferr, double* berr,
           Complex* work, double* rwork) {
  Ready();
  int info = 0;
  LAPACK_zporfs(&uplo, &n, &nrhs, a, &lda, af, &ldaf, b, &ldb, x, &ldx, ferr, berr, work, rwork,
                &info);
  return info;
}

// ------------------------------ LAPACK: symmetric (Hermitian) positive definite band

int DPBTRF(char uplo, int n, int kd, double* ab, int ldab) {
  Ready();
  int info = 0;
  LAPACK_dpbtrf(&uplo, &n, &kd, ab, &ldab, &info);
  return info;
}

int ZPBTRF(char uplo, int n, int kd, Complex* ab, int ldab) {
  Ready();
  int info = 0;
  LAPACK_zpbtrf(&uplo, &n, &kd, ab, &ldab, &info);
  return info;
}

int DPBTRS(char uplo, int n, int kd, int nrhs, const double* ab, int ldab, double* b, int ldb) {
  Ready();
  int info = 0;
  LAPACK_dpbtrs(&uplo, &n, &kd, &nrhs, ab, &ldab, b, &ldb, &info);
  return info;
}

int ZPBTRS(char uplo, int n, int kd, int nrhs, const Complex* ab, int ldab, Complex* b, int ldb) {
  Ready();
  int info = 0;
  LAPACK_zpbtrs(&uplo, &n, &kd, &nrhs, ab, &ldab, b, &ldb, &info);
  return info;
}

int DPBCON(char uplo, int n, int kd, const double* ab, int ldab, double anorm, double& rcond,
           double* work, int* iwork) {
  Ready();
  int info = 0;
  LAPACK_dpbcon(&uplo, &n, &kd, ab, &ldab, &anorm, &rcond, work, iwork, &info);
  return info;
}

int ZPBCON(char uplo, int n, int kd, const Complex* ab, int ldab, double anorm, double& rcond,
           Complex* work, double* rwork) {
  Ready();
  int info = 0;
  LAPACK_zpbcon(&uplo, &n, &kd, ab, &ldab, &anorm, &rcond, work, rwork, &info);
  return info;
}

int DPBRFS(char uplo, int n, int kd, int nrhs, const double* ab, int ldab, const double* afb,
           int ldafb, const double* b, int ldb, double* x, int ldx, double* ferr, double* berr,
           double* work, int* iwork) {
  Ready();
  int info = 0;
  LAPACK_dpbrfs(&uplo, &n, &kd, &nrhs, ab, &ldab, afb, &ldafb, b, &ldb, x, &ldx, ferr, berr, work,
                iwork, &info);
  return info;
}

int ZPBRFS(char uplo, int n, int kd, int nrhs, const Complex* ab, int ldab, const Complex* afb,
           int ldafb, const Complex* b, int ldb, Complex* x, int ldx, double* ferr, double* berr,
           Complex* work, double* rwork) {
  Ready();
  int info = 0;
  LAPACK_zpbrfs(&uplo, &n, &kd, &nrhs, ab, &ldab, afb, &ldafb, b, &ldb, x, &ldx, ferr, berr, work,
                rwork, &info);
  return info;
}

// ------------------------- LAPACK: symmetric indefinite (Bunch-Kaufman), real and complex

int DSYTRF(char uplo, int n, double* a, int lda, int* ipiv, double* work, int lwork) {
  Ready();
  int info = 0;
  LAPACK_dsytrf(&uplo, &n, a, &lda, ipiv, work, &lwork, &info);
  return info;
}

int ZSYTRF(char uplo, int n, Complex* a, int lda, int* ipiv, Complex* work, int lwork) {
  Ready();
  int info = 0;
  LAPACK_zsytrf(&uplo, &n, a, &lda, ipiv, work, &lwork, &info);
  return info;
}

int DSYTRS(char uplo, int n, int nrhs, const double* a, int lda, const int* ipiv, double* b,
           int ldb) {
  Ready();
  int info = 0;
  LAPACK_dsytrs(&uplo, &n, &nrhs, a, &lda, ipiv, b, &ldb, &info);
  return info;
}

int ZSYTRS(char uplo, int n, int nrhs, const Complex* a, int lda, const int* ipiv, Complex* b,
           int ldb) {
  Ready();
  int info = 0;
  LAPACK_zsytrs(&uplo, &n, &nrhs, a, &lda, ipiv, b, &ldb, &info);
  return info;
}

int DSYTRI(char uplo, int n, double* a, int lda, const int* ipiv, double* work) {
  Ready();
  int info = 0;
  LAPACK_dsytri(&uplo, &n, a, &lda, ipiv, work, &info);
  return info;
}

int ZSYTRI(char uplo, int n, Complex* a, int lda, const int* ipiv, Complex* work) {
  Ready();
  int info = 0;
  LAPACK_zsytri(&uplo, &n, a, &lda, ipiv, work, &info);
  return info;
}

int DSYCON(char uplo, int n, const double* a, int lda, const int* ipiv, double anorm,
           double& rcond, double* work, int* iwork) {
  Ready();
  int info = 0;
  LAPACK_dsycon(&uplo, &n, a, &lda, ipiv, &anorm, &rcond, work, iwork, &info);
  return info;
}

int ZSYCON(char uplo, int n, const Complex* a, int lda, const int* ipiv, double anorm,
           double& rcond, Complex* work) {
  Ready();
  int info = 0;
  LAPACK_zsycon(&uplo, &n, a, &lda, ipiv, &anorm, &rcond, work, &info);
  return info;
}

int DSYRFS(char uplo, int n, int nrhs, const double* a, int lda, const double* af, int ldaf,
           const int* ipiv, const double* b, int ldb, double* x, int ldx, double* ferr,
           double* berr, double* work, int* iwork) {
  Ready();
  int info = 0;
  LAPACK_dsyrfs(&uplo, &n, &nrhs, a, &lda, af, &ldaf, ipiv, b, &ldb, x, &ldx, ferr, berr, work,
                iwork, &info);
  return info;
}

int ZSYRFS(char uplo, int n, int nrhs, const Complex* a, int lda, const Complex* af, int ldaf,
           const int* ipiv, const Complex* b, int ldb, Complex* x, int ldx, double* ferr,
           double* berr, Complex* work, double* rwork) {
  Ready();
  int info = 0;
  LAPACK_zsyrfs(&uplo, &n, &nrhs, a, &lda, af, &ldaf, ipiv, b, &ldb, x, &ldx, ferr, berr, work,
                rwork, &info);
  return info;
}

// -------------------------------------------- LAPACK: Hermitian indefinite (complex)

int ZHETRF(char uplo, int n, Complex* a, int lda, int* ipiv, Complex* work, int lwork) {
  Ready();
  int info = 0;
  LAPACK_zhetrf(&uplo, &n, a, &lda, ipiv, work, &lwork, &info);
  return info;
}

int ZHETRS(char uplo, int n, int nrhs, const Complex* a, int lda, const int* ipiv, Complex* b,
           int ldb) {
  Ready();
  int info = 0;
  LAPACK_zhetrs(&uplo, &n, &nrhs, a, &lda, ipiv, b, &ldb, &info);
  return info;
}

int ZHETRI(char uplo, int n, Complex* a, int lda, const int* ipiv, Complex* work) {
  Ready();
  int info = 0;
  LAPACK_zhetri(&uplo, &n, a, &lda, ipiv, work, &info);
  return info;
}

int ZHECON(char uplo, int n, const Complex* a, int lda, const int* ipiv, double anorm,
           double& rcond, Complex* work) {
  Ready();
  int info = 0;
  LAPACK_zhecon(&uplo, &n, a, &lda, ipiv, &anorm, &rcond, work, &info);
  return info;
}

int ZHERFS(char uplo, int n, int nrhs, const Complex* a, int lda, const Complex* af, int ldaf,
           const int* ipiv, const Complex* b, int ldb, Complex* x, int ldx, double* ferr,
           double* berr, Complex* work, double* rwork) {
  Ready();
  int info = 0;
  LAPACK_zherfs(&uplo, &n, &nrhs, a, &lda, af, &ldaf, ipiv, b, &ldb, x, &ldx, ferr, berr, work,
                rwork, &info);
  return info;
}

// ---------------------------------------------------------- LAPACK: triangular

int DTRTRS(char uplo, char trans, char diag, int n, int nrhs, const double* a, int lda, double* b,
           int ldb) {
  Ready();
  int info = 0;
  LAPACK_dtrtrs(&uplo, &trans, &diag, &n, &nrhs, a, &lda, b, &ldb, &info);
  return info;
}

int ZTRTRS(char uplo, char trans, char diag, int n, int nrhs, const Complex* a, int lda,
           Complex* b, int ldb) {
  Ready();
  int info = 0;
  LAPACK_ztrtrs(&uplo, &trans, &diag, &n, &nrhs, a, &lda, b, &ldb, &info);
  return info;
}

int DTRTRI(char uplo, char diag, int n, double* a, int lda) {
  Ready();
  int info = 0;
  LAPACK_dtrtri(&uplo, &diag, &n, a, &lda, &info);
  return info;
}

int ZTRTRI(char uplo, char diag, int n, Complex* a, int lda) {
  Ready();
  int info = 0;
  LAPACK_ztrtri(&uplo, &diag, &n, a, &lda, &info);
  return info;
}

int DTRCON(char norm, char uplo, char diag, int n, const double* a, int lda, double& rcond,
           double* work, int* iwork) {
  Ready();
  int info = 0;
  LAPACK_dtrcon(&norm, &uplo, &diag, &n, a, &lda, &rcond, work, iwork, &info);
  return info;
}

int ZTRCON(char norm, char uplo, char diag, int n, const Complex* a, int lda, double& rcond,
           Complex* work, double* rwork) {
  Ready();
  int info = 0;
  LAPACK_ztrcon(&norm, &uplo, &diag, &n, a, &lda, &rcond, work, rwork, &info);
  return info;
}

int DTRRFS(char uplo, char trans, char diag, int n, int nrhs, const double* a, int lda,
           const double* b, int ldb, const double* x, int ldx, double* ferr, double* berr,
           double* work, int* iwork) {
  Ready();
  int info = 0;
  LAPACK_dtrrfs(&uplo, &trans, &diag, &n, &nrhs, a, &lda, b, &ldb, x, &ldx, ferr, berr, work,
                iwork, &info);
  return info;
}

int ZTRRFS(char uplo, char trans, char diag, int n, int nrhs, const Complex* a, int lda,
           const Complex* b, int ldb, const Complex* x, int ldx, double* ferr, double* berr,
           Complex* work, double* rwork) {
  Ready();
  int info = 0;
  LAPACK_ztrrfs(&uplo, &trans, &diag, &n, &nrhs, a, &lda, b, &ldb, x, &ldx, ferr, berr, work,
                rwork, &info);
  return info;
}

// ------------------------------------------------------- LAPACK: least squares

int DGELS(char trans, int m, int n, int nrhs, double* a, int lda, double* b, int ldb,
          double* work, int lwork) {
  Ready();
  // DGELS alone among the real routines refuses 'C' (INFO = -1, nothing
  // solved); a caller asking for the conjugate transpose of a real matrix
  // means its transpose.
  if (Upper(trans) == 'C') trans = 'T';
  int info = 0;
  LAPACK_dgels(&trans, &m, &n, &nrhs, a, &lda, b, &ldb, work, &lwork, &info);
  return info;
}

int ZGELS(char trans, int m, int n, int nrhs, Complex* a, int lda, Complex* b, int ldb,
          Complex* work, int lwork) {
  Ready();
  int info = 0;
  LAPACK_zgels(&trans, &m, &n, &nrhs, a, &lda, b, &ldb, work, &lwork, &info);
  return info;
}

// ---------------------------------------------------------- LAPACK: eigenvalues

int DGEBAL(char job, int n, double* a, int lda, int& ilo, int& ihi, double* scale) {
  Ready();
  int info = 0;
  LAPACK_dgebal(&job, &n, a, &lda, &ilo, &ihi, scale, &info);
  return info;
}

int ZGEBAL(char job, int n, Complex* a, int lda, int& ilo, int& ihi, double* scale) {
  Ready();
  int info = 0;
  LAPACK_zgebal(&job, &n, a, &lda, &ilo, &ihi, scale, &info);
  return info;
}

int DGEHRD(int n, int ilo, int ihi, double* a, int lda, double* tau, double* work, int lwork) {
  Ready();
  int info = 0;
  LAPACK_dgehrd(&n, &ilo, &ihi, a, &lda, tau, work, &lwork, &info);
  return info;
}

int ZGEHRD(int n, int ilo, int ihi, Complex* a, int lda, Complex* tau, Complex* work, int lwork) {
  Ready();
  int info = 0;
  LAPACK_zgehrd(&n, &ilo, &ihi, a, &lda, tau, work, &lwork, &info);
  return info;
}

int DHSEQR(char job, char compz, int n, int ilo, int ihi, double* h, int ldh, double* wr,
           double* wi, double* z, int ldz, double* work, int lwork) {
  Ready();
  int info = 0;
  LAPACK_dhseqr(&job, &compz, &n, &ilo, &ihi, h, &ldh, wr, wi, z, &ldz, work, &lwork, &info);
  return info;
}

int ZHSEQR(char job, char compz, int n, int ilo, int ihi, Complex* h, int ldh, Complex* w,
           Complex* z, int ldz, Complex* work, int lwork) {
  Ready();
  int info = 0;
  LAPACK_zhseqr(&job, &compz, &n, &ilo, &ihi, h, &ldh, w, z, &ldz, work, &lwork, &info);
  return info;
}

int DSYTRD(char uplo, int n, double* a, int lda, double* d, double* e, double* tau, double* work,
           int lwork) {
  Ready();
  int info = 0;
  LAPACK_dsytrd(&uplo, &n, a, &lda, d, e, tau, work, &lwork, &info);
  return info;
}

int ZHETRD(char uplo, int n, Complex* a, int lda, double* d, double* e, Complex* tau,
           Complex* work, int lwork) {
  Ready();
  int info = 0;
  LAPACK_zhetrd(&uplo, &n, a, &lda, d, e, tau, work, &lwork, &info);
  return info;
}

int DPTEQR(char compz, int n, double* d, double* e, double* z, int ldz, double* work) {
  Ready();
  int info = 0;
  LAPACK_dpteqr(&compz, &n, d, e, z, &ldz, work, &info);
  return info;
}

int ZPTEQR(char compz, int n, double* d, double* e, Complex* z, int ldz, double* work) {
  Ready();
  int info = 0;
  LAPACK_zpteqr(&compz, &n, d, e, z, &ldz, work, &info);
  return info;
}

int DSTERF(int n, double* d, double* e) {
  Ready();
  int info = 0;
  LAPACK_dsterf(&n, d, e, &info);
  return info;
}

int DGEEVX(char balanc, char jobvl, char jobvr, char sense, int n, double* a, int lda, double* wr,
           double* wi, double* vl, int ldvl, double* vr, int ldvr, int& ilo, int& ihi,
           double* scale, double& abnrm, double* rconde, double* rcondv, double* work, int lwork,
           int* iwork) {
  Ready();
  int info = 0;
  LAPACK_dgeevx(&balanc, &jobvl, &jobvr, &sense, &n, a, &lda, wr, wi, vl, &ldvl, vr, &ldvr, &ilo, &ihi, scale,
                &abnrm, rconde, rcondv, work, &lwork, iwork, &info);
  return info;
}

int DGGEV(char jobvl, char jobvr, int n, double* a, int lda, double* b, int ldb, double* alphar,
          double* alphai, double* beta, double* vl, int ldvl, double* vr, int ldvr, double* work,
          int lwork) {
  Ready();
  int info = 0;
  LAPACK_dggev(&jobvl, &jobvr, &n, a, &lda, b, &ldb, alphar, alphai, beta, vl, &ldvl, vr, &ldvr, work, &lwork,
               &info);
  return info;
}

}  // namespace lapack

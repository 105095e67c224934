// Tests of the linear-algebra layer's face: that every BLAS and LAPACK routine
// reaches OpenBLAS with its arguments in the right order and meaning (storage
// by columns, leading dimensions, band layouts, triangle and transpose letters,
// work arrays, INFO), that OpenBLAS runs on one thread, and the vector-math
// routines.
//
// Covers: platform/lapack/Lapack.cpp, platform/lapack/VectorMath.cpp.
// Expected values are hand-computed, products by the naive loops below, or
// numpy's through LapackFaceOracle.h (made by LapackFaceOracle.py).
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <limits>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/lapack/Lapack.h"
#include "platform/lapack/VectorMath.h"
#include "platform/lapack/tests/LapackFaceOracle.h"
#include "testing/TestSupport.h"

extern "C" void openblas_set_num_threads(int numThreads);
extern "C" int openblas_get_num_threads(void);

namespace {

using lapack::Complex;

constexpr double kEps = std::numeric_limits<double>::epsilon();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

template <class T>
constexpr bool kIsComplex = std::is_same_v<T, Complex>;

template <class T>
T Conj(T v) {
  if constexpr (kIsComplex<T>)
    return std::conj(v);
  else
    return v;
}

template <class T>
T Poison() {
  if constexpr (kIsComplex<T>)
    return {kNaN, kNaN};
  else
    return kNaN;
}

// A test value that differs by position (and has an imaginary part when complex).
template <class T>
T Value(int i, int k) {
  const double re = 1.0 + i - 0.75 * k + 0.125 * i * k;
  if constexpr (kIsComplex<T>)
    return {re, 0.5 - 0.25 * i + 0.5 * k};
  else
    return re;
}

// The real and complex routine of one name, picked by the element type.
#define ORVEL_DZ(name, dname, zname)                                 \
  template <class T, class... A>                                     \
  auto name(A&&... args) {                                           \
    if constexpr (kIsComplex<T>)                                     \
      return lapack::zname(std::forward<A>(args)...);                \
    else                                                             \
      return lapack::dname(std::forward<A>(args)...);                \
  }
ORVEL_DZ(AXPY, DAXPY, ZAXPY)
ORVEL_DZ(COPY, DCOPY, ZCOPY)
ORVEL_DZ(GEMV, DGEMV, ZGEMV)
ORVEL_DZ(SYHEMV, DSYMV, ZHEMV)
ORVEL_DZ(TRMV, DTRMV, ZTRMV)
ORVEL_DZ(GEMM, DGEMM, ZGEMM)
ORVEL_DZ(SYHEMM, DSYMM, ZHEMM)
ORVEL_DZ(TRMM, DTRMM, ZTRMM)
ORVEL_DZ(GETRF, DGETRF, ZGETRF)
ORVEL_DZ(GETRS, DGETRS, ZGETRS)
ORVEL_DZ(GETRI, DGETRI, ZGETRI)
ORVEL_DZ(GECON, DGECON, ZGECON)
ORVEL_DZ(GERFS, DGERFS, ZGERFS)
ORVEL_DZ(GBTRF, DGBTRF, ZGBTRF)
ORVEL_DZ(GBTRS, DGBTRS, ZGBTRS)
ORVEL_DZ(GBCON, DGBCON, ZGBCON)
ORVEL_DZ(GBRFS, DGBRFS, ZGBRFS)
ORVEL_DZ(POTRF, DPOTRF, ZPOTRF)
ORVEL_DZ(POTRS, DPOTRS, ZPOTRS)
ORVEL_DZ(POTRI, DPOTRI, ZPOTRI)
ORVEL_DZ(POCON, DPOCON, ZPOCON)
ORVEL_DZ(PORFS, DPORFS, ZPORFS)
ORVEL_DZ(PBTRF, DPBTRF, ZPBTRF)
ORVEL_DZ(PBTRS, DPBTRS, ZPBTRS)
ORVEL_DZ(PBCON, DPBCON, ZPBCON)
ORVEL_DZ(PBRFS, DPBRFS, ZPBRFS)
ORVEL_DZ(SYTRF, DSYTRF, ZSYTRF)
ORVEL_DZ(SYTRS, DSYTRS, ZSYTRS)
ORVEL_DZ(SYTRI, DSYTRI, ZSYTRI)
ORVEL_DZ(SYRFS, DSYRFS, ZSYRFS)
ORVEL_DZ(TRTRS, DTRTRS, ZTRTRS)
ORVEL_DZ(TRTRI, DTRTRI, ZTRTRI)
ORVEL_DZ(TRCON, DTRCON, ZTRCON)
ORVEL_DZ(TRRFS, DTRRFS, ZTRRFS)
ORVEL_DZ(GELS, DGELS, ZGELS)
ORVEL_DZ(GEBAL, DGEBAL, ZGEBAL)
ORVEL_DZ(GEHRD, DGEHRD, ZGEHRD)
ORVEL_DZ(SYHETRD, DSYTRD, ZHETRD)
ORVEL_DZ(PTEQR, DPTEQR, ZPTEQR)
#undef ORVEL_DZ

// A column-major matrix whose leading dimension exceeds its row count; the rows
// between hold NaN, so a routine told the wrong leading dimension shows it.
template <class T>
struct Matrix {
  int rows = 0;
  int cols = 0;
  int ld = 1;
  std::vector<T> data;

  Matrix(int r, int c, int pad = 2)
      : rows(r), cols(c), ld(r + pad), data(static_cast<std::size_t>(ld) * c, Poison<T>()) {}
  Matrix(int r, int c, T fill) : Matrix(r, c) {
    for (int j = 0; j < c; ++j)
      for (int i = 0; i < r; ++i) (*this)(i, j) = fill;
  }
  T& operator()(int i, int j) { return data[i + static_cast<std::size_t>(j) * ld]; }
  const T& operator()(int i, int j) const { return data[i + static_cast<std::size_t>(j) * ld]; }
  T* p() { return data.data(); }
  const T* p() const { return data.data(); }
};

template <class T>
Matrix<T> FromRows(const oracle::Rows<T>& rows) {
  Matrix<T> m(static_cast<int>(rows.size()), static_cast<int>(rows[0].size()));
  for (int i = 0; i < m.rows; ++i)
    for (int j = 0; j < m.cols; ++j) m(i, j) = rows[i][j];
  return m;
}

template <class T>
Matrix<T> Filled(int rows, int cols, int shift = 0) {
  Matrix<T> m(rows, cols);
  for (int j = 0; j < cols; ++j)
    for (int i = 0; i < rows; ++i) m(i, j) = Value<T>(i + shift, j);
  return m;
}

template <class T>
Matrix<T> Identity(int n) {
  Matrix<T> m(n, n, T(0));
  for (int i = 0; i < n; ++i) m(i, i) = T(1);
  return m;
}

// op(A) for the letters 'N', 'T', 'C' (for real data 'C' is the transpose).
template <class T>
Matrix<T> Op(const Matrix<T>& a, char letter) {
  if (letter == 'N') return a;
  Matrix<T> t(a.cols, a.rows);
  for (int i = 0; i < a.rows; ++i)
    for (int j = 0; j < a.cols; ++j) t(j, i) = letter == 'C' ? Conj(a(i, j)) : a(i, j);
  return t;
}

template <class T>
Matrix<T> Mul(const Matrix<T>& a, const Matrix<T>& b) {
  Matrix<T> c(a.rows, b.cols);
  for (int i = 0; i < a.rows; ++i)
    for (int j = 0; j < b.cols; ++j) {
      T s(0);
      for (int k = 0; k < a.cols; ++k) s += a(i, k) * b(k, j);
      c(i, j) = s;
    }
  return c;
}

// The full matrix of which the UPLO triangle of a is stored (conjugate mirror
// when hermitian); the other strict triangle of a is not read.
template <class T>
Matrix<T> Mirror(const Matrix<T>& a, char uplo, bool hermitian) {
  Matrix<T> full(a.rows, a.cols);
  for (int i = 0; i < a.rows; ++i)
    for (int j = 0; j < a.cols; ++j) {
      const bool stored = uplo == 'U' ? i <= j : i >= j;
      full(i, j) = stored ? a(i, j) : (hermitian ? Conj(a(j, i)) : a(j, i));
    }
  return full;
}

// A copy of a with NaN in the strict triangle opposite to UPLO.
template <class T>
Matrix<T> KeepTriangle(const Matrix<T>& a, char uplo) {
  Matrix<T> t = a;
  for (int i = 0; i < a.rows; ++i)
    for (int j = 0; j < a.cols; ++j)
      if (uplo == 'U' ? i > j : i < j) t(i, j) = Poison<T>();
  return t;
}

// The triangular matrix that TRMV, TRMM, TRTRS ... see: the UPLO triangle,
// with ones on the diagonal when DIAG = 'U'.
template <class T>
Matrix<T> Triangle(const Matrix<T>& a, char uplo, char diag) {
  Matrix<T> t(a.rows, a.cols, T(0));
  for (int i = 0; i < a.rows; ++i)
    for (int j = 0; j < a.cols; ++j)
      if (i == j)
        t(i, j) = diag == 'U' ? T(1) : a(i, j);
      else if (uplo == 'U' ? i < j : i > j)
        t(i, j) = a(i, j);
  return t;
}

template <class T>
double Norm1(const Matrix<T>& a) {
  double best = 0;
  for (int j = 0; j < a.cols; ++j) {
    double s = 0;
    for (int i = 0; i < a.rows; ++i) s += std::abs(a(i, j));
    best = std::max(best, s);
  }
  return best;
}

template <class T>
double NormInf(const Matrix<T>& a) { return Norm1(Op(a, 'T')); }

// Largest element-wise difference, relative to the largest expected element
// (at least 1), with the worst position in the message.
template <class T>
testing::AssertionResult Near(const Matrix<T>& actual, const Matrix<T>& expected, double tol) {
  if (actual.rows < expected.rows || actual.cols < expected.cols)
    return testing::AssertionFailure() << "shape " << actual.rows << "x" << actual.cols;
  double scale = 1, worst = -1;
  int wi = 0, wj = 0;
  for (int j = 0; j < expected.cols; ++j)
    for (int i = 0; i < expected.rows; ++i) scale = std::max(scale, std::abs(expected(i, j)));
  for (int j = 0; j < expected.cols; ++j)
    for (int i = 0; i < expected.rows; ++i) {
      const double d = std::abs(actual(i, j) - expected(i, j));
      if (!(d <= worst) || std::isnan(d)) {
        worst = std::isnan(d) ? kInf : d;
        wi = i;
        wj = j;
      }
    }
  if (worst <= tol * scale) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "at (" << wi << ", " << wj << ") got " << actual(wi, wj)
                                     << ", expected " << expected(wi, wj) << ", relative error "
                                     << worst / scale << " > " << tol;
}

template <class T>
Matrix<T> Column(const std::vector<T>& v) {
  Matrix<T> m(static_cast<int>(v.size()), 1);
  for (int i = 0; i < m.rows; ++i) m(i, 0) = v[i];
  return m;
}

// Work arrays large enough for any routine here; the second one is IWORK for
// the real routines and RWORK for the complex ones.
template <class T>
struct Work {
  explicit Work(int n) : work(64 * n + 64), iwork(n + 1), rwork(2 * n + 2) {}
  std::vector<T> work;
  std::vector<int> iwork;
  std::vector<double> rwork;
  T* w() { return work.data(); }
  int lwork() const { return static_cast<int>(work.size()); }
  auto extra() {
    if constexpr (kIsComplex<T>)
      return rwork.data();
    else
      return iwork.data();
  }
};

// Error bound of a solve with a matrix of reciprocal condition rcond.
double SolveTol(double rcond) { return 200 * kEps / rcond; }

template <class T>
class LapackFace : public testing::Test {};
using ElementTypes = testing::Types<double, Complex>;
TYPED_TEST_SUITE(LapackFace, ElementTypes);

template <class T>
const auto& System(const oracle::System<double>& real, const oracle::System<Complex>& cplx) {
  if constexpr (kIsComplex<T>)
    return cplx;
  else
    return real;
}

// ============================================================== threads

// Each runs in a fresh process (the death-test machinery re-executes the test
// binary), so the one-time set-up has not happened there yet; OpenBLAS is first
// put on two threads to show that the layer brings it back to one.
void ExitWithThreadCountAfterInitialize() {
  openblas_set_num_threads(2);
  lapack::Initialize();
  lapack::Initialize();
  std::exit(openblas_get_num_threads());
}

void ExitWithThreadCountAfterFirstRoutine() {
  openblas_set_num_threads(2);
  const double x[] = {1, 2};
  if (lapack::DASUM(2, x, 1) != 3) std::exit(99);
  std::exit(openblas_get_num_threads());
}

TEST(LapackThreadsDeathTest, InitializeLeavesOpenBlasOnOneThread) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(ExitWithThreadCountAfterInitialize(), testing::ExitedWithCode(1), "");
}

TEST(LapackThreadsDeathTest, FirstRoutineCalledWithoutInitializeSetsOneThread) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(ExitWithThreadCountAfterFirstRoutine(), testing::ExitedWithCode(1), "");
}

// ============================================================== BLAS level 1

TEST(Blas1, RealRoutinesStepThroughTheirIncrements) {
  const double x[] = {1, 100, 2, 100, 3};  // read with increment 2: 1, 2, 3
  double y[] = {10, 20, 30};
  lapack::DAXPY(3, 2.0, x, 2, y, 1);
  EXPECT_EQ(std::vector<double>(y, y + 3), (std::vector<double>{12, 24, 36}));

  double z[] = {0, -1, 0, -1, 0};
  lapack::DCOPY(3, y, 1, z, 2);
  EXPECT_EQ(std::vector<double>(z, z + 5), (std::vector<double>{12, -1, 24, -1, 36}));

  EXPECT_EQ(lapack::DDOT(3, x, 2, y, 1), 1 * 12 + 2 * 24 + 3 * 36);
  const double signs[] = {-1, 9, 2, 9, -3};
  EXPECT_EQ(lapack::DASUM(3, signs, 2), 6);
  EXPECT_EQ(lapack::DASUM(0, signs, 1), 0);
}

TEST(Blas1, ComplexAxpyCopyAndConjugatedDot) {
  const Complex x[] = {{1, 2}, {3, -1}};
  Complex y[] = {{1, 0}, {1, 0}};
  lapack::ZAXPY(2, Complex(0, 1), x, 1, y, 1);  // i(1+2i) = -2+i, i(3-i) = 1+3i
  EXPECT_EQ(y[0], Complex(-1, 1));
  EXPECT_EQ(y[1], Complex(2, 3));

  Complex z[] = {{9, 9}, {9, 9}, {9, 9}};
  lapack::ZCOPY(2, x, 1, z, 2);
  EXPECT_EQ(z[0], x[0]);
  EXPECT_EQ(z[1], Complex(9, 9));
  EXPECT_EQ(z[2], x[1]);

  // conj(1+2i)(2-i) + conj(3-i)(1+i) = -5i + (2+4i): the first vector is conjugated.
  const Complex u[] = {{2, -1}, {1, 1}};
  Complex dot(kNaN, kNaN);
  lapack::ZDOTC(dot, 2, x, 1, u, 1);
  EXPECT_EQ(dot, Complex(2, -1));
  lapack::ZDOTC(dot, 2, u, 1, x, 1);
  EXPECT_EQ(dot, Complex(2, 1));
  lapack::ZDOTC(dot, 0, u, 1, x, 1);
  EXPECT_EQ(dot, Complex(0, 0));
}

// ============================================================== BLAS level 2

TYPED_TEST(LapackFace, GemvAppliesTransposeAlphaAndBeta) {
  using T = TypeParam;
  const Matrix<T> a = Filled<T>(3, 4);
  const T alpha = Value<T>(1, 0), beta = Value<T>(-2, 1);
  for (char trans : {'N', 'T', 'C'}) {
    const Matrix<T> opA = Op(a, trans);
    const Matrix<T> x = Filled<T>(opA.cols, 1, 3);
    Matrix<T> y = Filled<T>(opA.rows, 1, 5);
    Matrix<T> expected = Mul(opA, x);
    for (int i = 0; i < y.rows; ++i) expected(i, 0) = alpha * expected(i, 0) + beta * y(i, 0);
    GEMV<T>(trans, a.rows, a.cols, alpha, a.p(), a.ld, x.p(), 1, beta, y.p(), 1);
    EXPECT_TRUE(Near(y, expected, 1e-15)) << "TRANS " << trans;
  }
}

TYPED_TEST(LapackFace, SymvHemvReadOnlyTheNamedTriangle) {
  using T = TypeParam;
  const Matrix<T> base = Filled<T>(4, 4);
  const T alpha = Value<T>(2, 1), beta = Value<T>(0, 3);
  for (char uplo : {'U', 'L'}) {
    const Matrix<T> a = KeepTriangle(base, uplo);
    Matrix<T> full = Mirror(a, uplo, kIsComplex<T>);
    if constexpr (kIsComplex<T>)
      for (int i = 0; i < 4; ++i) full(i, i) = full(i, i).real();  // a Hermitian diagonal is real
    const Matrix<T> x = Filled<T>(4, 1, 7);
    Matrix<T> y = Filled<T>(4, 1, 2);
    Matrix<T> expected = Mul(full, x);
    for (int i = 0; i < 4; ++i) expected(i, 0) = alpha * expected(i, 0) + beta * y(i, 0);
    SYHEMV<T>(uplo, 4, alpha, a.p(), a.ld, x.p(), 1, beta, y.p(), 1);
    EXPECT_TRUE(Near(y, expected, 1e-15)) << "UPLO " << uplo;
  }
}

TYPED_TEST(LapackFace, TrmvCoversTriangleTransposeAndUnitDiagonal) {
  using T = TypeParam;
  const Matrix<T> base = Filled<T>(4, 4);
  for (char uplo : {'U', 'L'})
    for (char trans : {'N', 'T', 'C'})
      for (char diag : {'N', 'U'}) {
        const Matrix<T> a = KeepTriangle(base, uplo);
        Matrix<T> x = Filled<T>(4, 1, 3);
        const Matrix<T> expected = Mul(Op(Triangle(base, uplo, diag), trans), x);
        TRMV<T>(uplo, trans, diag, 4, a.p(), a.ld, x.p(), 1);
        EXPECT_TRUE(Near(x, expected, 1e-15)) << uplo << trans << diag;
      }
}

// ============================================================== BLAS level 3

TYPED_TEST(LapackFace, GemmWithEveryPairOfTransposes) {
  using T = TypeParam;
  const int m = 3, n = 4, k = 2;
  const T alpha = Value<T>(1, 1), beta = Value<T>(-1, 0);
  for (char ta : {'N', 'T', 'C'})
    for (char tb : {'N', 'T', 'C'}) {
      // Stored shapes such that op(A) is m x k and op(B) is k x n.
      const Matrix<T> a = ta == 'N' ? Filled<T>(m, k) : Filled<T>(k, m);
      const Matrix<T> b = tb == 'N' ? Filled<T>(k, n, 2) : Filled<T>(n, k, 2);
      Matrix<T> c = Filled<T>(m, n, 4);
      Matrix<T> expected = Mul(Op(a, ta), Op(b, tb));
      for (int j = 0; j < n; ++j)
        for (int i = 0; i < m; ++i) expected(i, j) = alpha * expected(i, j) + beta * c(i, j);
      GEMM<T>(ta, tb, m, n, k, alpha, a.p(), a.ld, b.p(), b.ld, beta, c.p(), c.ld);
      EXPECT_TRUE(Near(c, expected, 1e-15)) << ta << tb;
    }
}

TYPED_TEST(LapackFace, SymmHemmOnEitherSide) {
  using T = TypeParam;
  const int m = 3, n = 4;
  const T alpha = Value<T>(0, 2), beta = Value<T>(1, 1);
  for (char side : {'L', 'R'})
    for (char uplo : {'U', 'L'}) {
      const int order = side == 'L' ? m : n;
      const Matrix<T> a = KeepTriangle(Filled<T>(order, order), uplo);
      Matrix<T> full = Mirror(a, uplo, kIsComplex<T>);
      if constexpr (kIsComplex<T>)
        for (int i = 0; i < order; ++i) full(i, i) = full(i, i).real();
      const Matrix<T> b = Filled<T>(m, n, 3);
      Matrix<T> c = Filled<T>(m, n, 6);
      Matrix<T> expected = side == 'L' ? Mul(full, b) : Mul(b, full);
      for (int j = 0; j < n; ++j)
        for (int i = 0; i < m; ++i) expected(i, j) = alpha * expected(i, j) + beta * c(i, j);
      SYHEMM<T>(side, uplo, m, n, alpha, a.p(), a.ld, b.p(), b.ld, beta, c.p(), c.ld);
      EXPECT_TRUE(Near(c, expected, 1e-15)) << side << uplo;
    }
}

TYPED_TEST(LapackFace, TrmmOnEitherSide) {
  using T = TypeParam;
  const int m = 3, n = 4;
  const T alpha = Value<T>(2, 2);
  for (char side : {'L', 'R'})
    for (char uplo : {'U', 'L'})
      for (char trans : {'N', 'T', 'C'})
        for (char diag : {'N', 'U'}) {
          const int order = side == 'L' ? m : n;
          const Matrix<T> base = Filled<T>(order, order, 1);
          const Matrix<T> a = KeepTriangle(base, uplo);
          Matrix<T> b = Filled<T>(m, n, 5);
          const Matrix<T> opA = Op(Triangle(base, uplo, diag), trans);
          Matrix<T> expected = side == 'L' ? Mul(opA, b) : Mul(b, opA);
          for (int j = 0; j < n; ++j)
            for (int i = 0; i < m; ++i) expected(i, j) *= alpha;
          TRMM<T>(side, uplo, trans, diag, m, n, alpha, a.p(), a.ld, b.p(), b.ld);
          EXPECT_TRUE(Near(b, expected, 1e-15)) << side << uplo << trans << diag;
        }
}

TEST(Blas, LettersAreTakenInEitherCase) {
  const Matrix<double> a = Filled<double>(2, 3);
  const Matrix<double> x = Filled<double>(2, 1);
  Matrix<double> upper(3, 1, 0.0), lower(3, 1, 0.0);
  lapack::DGEMV('T', 2, 3, 1.0, a.p(), a.ld, x.p(), 1, 0.0, upper.p(), 1);
  lapack::DGEMV('t', 2, 3, 1.0, a.p(), a.ld, x.p(), 1, 0.0, lower.p(), 1);
  EXPECT_TRUE(Near(lower, upper, 0));
}

TEST(Blas, UnknownLetterRaisesNamingRoutineAndArgument) {
  double a[4] = {1, 0, 0, 1}, b[4] = {1, 2, 3, 4}, c[4] = {};
  const Complex za[1] = {{1, 0}};
  Complex zb[1] = {{1, 0}}, zc[1] = {};
  struct Case {
    std::function<void()> call;
    const char* message;
  };
  const std::vector<Case> cases = {
      {[&] { lapack::DGEMM('X', 'N', 2, 2, 2, 1, a, 2, b, 2, 0, c, 2); },
       "DGEMM: TRANSA is 'X', not one of N, T, C"},
      {[&] { lapack::DGEMM('N', 'h', 2, 2, 2, 1, a, 2, b, 2, 0, c, 2); },
       "DGEMM: TRANSB is 'h', not one of N, T, C"},
      {[&] { lapack::ZHEMM('Q', 'U', 1, 1, 1.0, za, 1, zb, 1, 0.0, zc, 1); },
       "ZHEMM: SIDE is 'Q', not one of L, R"},
      {[&] { lapack::DSYMV('B', 2, 1, a, 2, b, 1, 0, c, 1); },
       "DSYMV: UPLO is 'B', not one of U, L"},
      {[&] { lapack::DTRMV('U', 'N', '\0', 2, a, 2, b, 1); },
       "DTRMV: DIAG is character 0, not one of N, U"},
  };
  for (const Case& test : cases) {
    const std::vector<double> before(c, c + 4);
    try {
      test.call();
      ADD_FAILURE() << "no exception, expected: " << test.message;
    } catch (const lapack::EBlasArgument& e) {
      EXPECT_EQ(e.Message(), test.message);
    }
    EXPECT_EQ(std::vector<double>(c, c + 4), before) << "a refused call wrote its output";
  }
}

// ============================================================== LAPACK solvers
//
// Each family on a system with two right-hand sides: factor, solve, refine a
// perturbed solution, estimate the condition number (against numpy's exact
// value), invert. The leading dimensions all exceed the orders.

// X true, B := op(A) X, and a start for refinement that is off by about 1e-6.
template <class T>
struct Problem {
  Matrix<T> x, b, start;
};

template <class T>
Problem<T> MakeProblem(const Matrix<T>& opA) {
  Problem<T> p{Filled<T>(opA.cols, 2, 1), Matrix<T>(opA.rows, 2), Matrix<T>(opA.cols, 2)};
  p.b = Mul(opA, p.x);
  p.start = p.x;
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < opA.cols; ++i) p.start(i, j) += T(1e-6 * (i + j + 1));
  return p;
}

template <class T>
void ExpectRefined(const Matrix<T>& refined, const Problem<T>& p, const std::vector<double>& ferr,
                   const std::vector<double>& berr, double rcond, const std::string& label) {
  EXPECT_TRUE(Near(refined, p.x, SolveTol(rcond))) << label;
  for (int k = 0; k < 2; ++k) {
    EXPECT_LT(berr[k], 10 * kEps) << label;
    EXPECT_GE(ferr[k], 0) << label;
    EXPECT_LT(ferr[k], 1e-12) << label;
  }
}

template <class T>
void ExpectInverse(const Matrix<T>& a, const Matrix<T>& inverse, double rcond,
                   const std::string& label) {
  EXPECT_TRUE(Near(Mul(a, inverse), Identity<T>(a.rows), SolveTol(rcond))) << label;
}

// The condition estimate of the dense LU route (checked against numpy's exact
// value below), against which the band and triangular estimates are held: the
// estimator sees the same inverse, so it must reach the same number. An
// estimate can exceed the exact reciprocal condition number, never fall below.
template <class T>
double DenseEstimate(const Matrix<T>& a, char norm) {
  const int n = a.rows;
  Matrix<T> lu = a;
  std::vector<int> ipiv(n);
  Work<T> work(n);
  double rcond = -1;
  EXPECT_EQ(GETRF<T>(n, n, lu.p(), lu.ld, ipiv.data()), 0);
  EXPECT_EQ(GECON<T>(norm, n, lu.p(), lu.ld, norm == '1' ? Norm1(a) : NormInf(a), rcond, work.w(),
                     work.extra()),
            0);
  return rcond;
}

void ExpectEstimate(double rcond, double dense, double exact, const std::string& label) {
  EXPECT_TRUE(orvel::testing::NearRel(rcond, dense, 1e-12)) << label;
  if (exact > 0) {
    EXPECT_GE(rcond, exact * (1 - 1e-12)) << label;
    EXPECT_LE(rcond, 3 * exact) << label;
  }
}

TYPED_TEST(LapackFace, GeneralLuFamily) {
  using T = TypeParam;
  const auto& sys = System<T>(oracle::kRealGeneral, oracle::kComplexGeneral);
  const Matrix<T> a = FromRows(sys.a);
  const int n = a.rows;
  Matrix<T> af = a;
  std::vector<int> ipiv(n);
  ASSERT_EQ(GETRF<T>(n, n, af.p(), af.ld, ipiv.data()), 0);
  EXPECT_NE(ipiv[0], 1) << "the first column needs a row exchange";
  Work<T> work(n);

  for (char trans : {'N', 'T', 'C'}) {
    const std::string label(1, trans);
    const Problem<T> p = MakeProblem(Op(a, trans));
    Matrix<T> x = p.b;
    ASSERT_EQ(GETRS<T>(trans, n, 2, af.p(), af.ld, ipiv.data(), x.p(), x.ld), 0);
    EXPECT_TRUE(Near(x, p.x, SolveTol(sys.rcond1))) << label;

    Matrix<T> refined = p.start;
    std::vector<double> ferr(2), berr(2);
    ASSERT_EQ(GERFS<T>(trans, n, 2, a.p(), a.ld, af.p(), af.ld, ipiv.data(), p.b.p(), p.b.ld,
                       refined.p(), refined.ld, ferr.data(), berr.data(), work.w(), work.extra()),
              0);
    ExpectRefined(refined, p, ferr, berr, sys.rcond1, label);
  }

  double rcond = -1;
  ASSERT_EQ(GECON<T>('1', n, af.p(), af.ld, Norm1(a), rcond, work.w(), work.extra()), 0);
  EXPECT_TRUE(orvel::testing::NearRel(rcond, sys.rcond1, 1e-11));
  ASSERT_EQ(GECON<T>('I', n, af.p(), af.ld, NormInf(a), rcond, work.w(), work.extra()), 0);
  EXPECT_TRUE(orvel::testing::NearRel(rcond, sys.rcondInf, 1e-11));

  Matrix<T> inverse = af;
  ASSERT_EQ(GETRI<T>(n, inverse.p(), inverse.ld, ipiv.data(), work.w(), work.lwork()), 0);
  ExpectInverse(a, inverse, sys.rcond1, "GETRI");
}

// Band storage: A(i, j) in row offset + i - j of column j, where offset is KU
// for the plain layout and KL + KU for the factor's (KL more rows for fill-in).
template <class T>
Matrix<T> BandOf(const Matrix<T>& a, int kl, int ku, int offset, int ldab) {
  Matrix<T> ab(ldab, a.cols, 1);
  for (int j = 0; j < a.cols; ++j)
    for (int i = std::max(0, j - ku); i <= std::min(a.rows - 1, j + kl); ++i)
      ab(offset + i - j, j) = a(i, j);
  return ab;
}

TYPED_TEST(LapackFace, GeneralBandFamily) {
  using T = TypeParam;
  const auto& sys = System<T>(oracle::kRealBand, oracle::kComplexBand);
  const Matrix<T> a = FromRows(sys.a);
  const int n = a.rows, kl = 1, ku = 2;
  // Fill-in rows start as zero; the rest of the band array as NaN.
  Matrix<T> afb = BandOf(a, kl, ku, kl + ku, 2 * kl + ku + 1);
  for (int j = 0; j < n; ++j)
    for (int r = 0; r < kl; ++r) afb(r, j) = T(0);
  const Matrix<T> ab = BandOf(a, kl, ku, ku, kl + ku + 1);
  std::vector<int> ipiv(n);
  ASSERT_EQ(GBTRF<T>(n, n, kl, ku, afb.p(), afb.ld, ipiv.data()), 0);
  Work<T> work(n);

  for (char trans : {'N', 'T', 'C'}) {
    const std::string label(1, trans);
    const Problem<T> p = MakeProblem(Op(a, trans));
    Matrix<T> x = p.b;
    ASSERT_EQ(GBTRS<T>(trans, n, kl, ku, 2, afb.p(), afb.ld, ipiv.data(), x.p(), x.ld), 0);
    EXPECT_TRUE(Near(x, p.x, SolveTol(sys.rcond1))) << label;

    Matrix<T> refined = p.start;
    std::vector<double> ferr(2), berr(2);
    ASSERT_EQ(GBRFS<T>(trans, n, kl, ku, 2, ab.p(), ab.ld, afb.p(), afb.ld, ipiv.data(), p.b.p(),
                       p.b.ld, refined.p(), refined.ld, ferr.data(), berr.data(), work.w(),
                       work.extra()),
              0);
    ExpectRefined(refined, p, ferr, berr, sys.rcond1, label);
  }

  double rcond = -1;
  ASSERT_EQ(GBCON<T>('1', n, kl, ku, afb.p(), afb.ld, ipiv.data(), Norm1(a), rcond, work.w(),
                     work.extra()),
            0);
  ExpectEstimate(rcond, DenseEstimate(a, '1'), sys.rcond1, "1");
  ASSERT_EQ(GBCON<T>('I', n, kl, ku, afb.p(), afb.ld, ipiv.data(), NormInf(a), rcond, work.w(),
                     work.extra()),
            0);
  ExpectEstimate(rcond, DenseEstimate(a, 'I'), sys.rcondInf, "I");
}

TYPED_TEST(LapackFace, PositiveDefiniteFamily) {
  using T = TypeParam;
  const auto& sys = System<T>(oracle::kRealPosDef, oracle::kComplexPosDef);
  const Matrix<T> full = FromRows(sys.a);
  const int n = full.rows;
  Work<T> work(n);
  for (char uplo : {'U', 'L'}) {
    const std::string label(1, uplo);
    const Matrix<T> a = KeepTriangle(full, uplo);
    Matrix<T> af = a;
    ASSERT_EQ(POTRF<T>(uplo, n, af.p(), af.ld), 0) << label;

    const Problem<T> p = MakeProblem(full);
    Matrix<T> x = p.b;
    ASSERT_EQ(POTRS<T>(uplo, n, 2, af.p(), af.ld, x.p(), x.ld), 0);
    EXPECT_TRUE(Near(x, p.x, SolveTol(sys.rcond1))) << label;

    Matrix<T> refined = p.start;
    std::vector<double> ferr(2), berr(2);
    ASSERT_EQ(PORFS<T>(uplo, n, 2, a.p(), a.ld, af.p(), af.ld, p.b.p(), p.b.ld, refined.p(),
                       refined.ld, ferr.data(), berr.data(), work.w(), work.extra()),
              0);
    ExpectRefined(refined, p, ferr, berr, sys.rcond1, label);

    double rcond = -1;
    ASSERT_EQ(POCON<T>(uplo, n, af.p(), af.ld, Norm1(full), rcond, work.w(), work.extra()), 0);
    EXPECT_TRUE(orvel::testing::NearRel(rcond, sys.rcond1, 1e-11)) << label;

    Matrix<T> inverse = af;
    ASSERT_EQ(POTRI<T>(uplo, n, inverse.p(), inverse.ld), 0);
    ExpectInverse(full, Mirror(inverse, uplo, true), sys.rcond1, label);
  }
}

TYPED_TEST(LapackFace, CholeskyFactorOfAKnownMatrix) {
  using T = TypeParam;
  // [[4, 2], [2, 3]] = L L^H with L = [[2, 0], [1, sqrt 2]]; only the named triangle changes.
  for (char uplo : {'U', 'L'}) {
    Matrix<T> a(2, 2, T(0));
    a(0, 0) = T(4);
    a(1, 1) = T(3);
    a(1, 0) = a(0, 1) = T(2);
    ASSERT_EQ(POTRF<T>(uplo, 2, a.p(), a.ld), 0);
    EXPECT_EQ(a(0, 0), T(2));
    EXPECT_EQ(a(1, 0), T(uplo == 'L' ? 1 : 2)) << uplo;
    EXPECT_EQ(a(0, 1), T(uplo == 'U' ? 1 : 2)) << uplo;
    EXPECT_LE(std::abs(a(1, 1) - T(std::sqrt(2.0))), 4 * kEps * std::sqrt(2.0));
  }
}

// Band storage of the UPLO triangle of a Hermitian band matrix, KD off-diagonals.
template <class T>
Matrix<T> SymmetricBandOf(const Matrix<T>& a, char uplo, int kd) {
  Matrix<T> ab(kd + 1, a.cols, 1);
  for (int j = 0; j < a.cols; ++j)
    for (int i = 0; i < a.rows; ++i) {
      if (uplo == 'U' && i <= j && j - i <= kd) ab(kd + i - j, j) = a(i, j);
      if (uplo == 'L' && i >= j && i - j <= kd) ab(i - j, j) = a(i, j);
    }
  return ab;
}

TYPED_TEST(LapackFace, PositiveDefiniteBandFamily) {
  using T = TypeParam;
  const auto& sys = System<T>(oracle::kRealPosDefBand, oracle::kComplexPosDefBand);
  const Matrix<T> full = FromRows(sys.a);
  const int n = full.rows, kd = 2;
  Work<T> work(n);
  for (char uplo : {'U', 'L'}) {
    const std::string label(1, uplo);
    const Matrix<T> ab = SymmetricBandOf(full, uplo, kd);
    Matrix<T> afb = ab;
    ASSERT_EQ(PBTRF<T>(uplo, n, kd, afb.p(), afb.ld), 0) << label;

    const Problem<T> p = MakeProblem(full);
    Matrix<T> x = p.b;
    ASSERT_EQ(PBTRS<T>(uplo, n, kd, 2, afb.p(), afb.ld, x.p(), x.ld), 0);
    EXPECT_TRUE(Near(x, p.x, SolveTol(sys.rcond1))) << label;

    Matrix<T> refined = p.start;
    std::vector<double> ferr(2), berr(2);
    ASSERT_EQ(PBRFS<T>(uplo, n, kd, 2, ab.p(), ab.ld, afb.p(), afb.ld, p.b.p(), p.b.ld,
                       refined.p(), refined.ld, ferr.data(), berr.data(), work.w(), work.extra()),
              0);
    ExpectRefined(refined, p, ferr, berr, sys.rcond1, label);

    double rcond = -1;
    ASSERT_EQ(PBCON<T>(uplo, n, kd, afb.p(), afb.ld, Norm1(full), rcond, work.w(), work.extra()),
              0);
    ExpectEstimate(rcond, DenseEstimate(full, '1'), sys.rcond1, label);
  }
}

// Bunch-Kaufman: real symmetric (DSY*), complex symmetric (ZSY*, no conjugate).
TYPED_TEST(LapackFace, SymmetricIndefiniteFamily) {
  using T = TypeParam;
  const auto& sys = System<T>(oracle::kRealSymmetric, oracle::kComplexSymmetric);
  const Matrix<T> full = FromRows(sys.a);
  const int n = full.rows;
  Work<T> work(n);
  for (char uplo : {'U', 'L'}) {
    const std::string label(1, uplo);
    const Matrix<T> a = KeepTriangle(full, uplo);
    Matrix<T> af = a;
    std::vector<int> ipiv(n);
    T optimal(0);
    ASSERT_EQ(SYTRF<T>(uplo, n, af.p(), af.ld, ipiv.data(), &optimal, -1), 0);
    EXPECT_GE(std::real(optimal), 1);
    ASSERT_EQ(SYTRF<T>(uplo, n, af.p(), af.ld, ipiv.data(), work.w(), work.lwork()), 0);

    const Problem<T> p = MakeProblem(full);
    Matrix<T> x = p.b;
    ASSERT_EQ(SYTRS<T>(uplo, n, 2, af.p(), af.ld, ipiv.data(), x.p(), x.ld), 0);
    EXPECT_TRUE(Near(x, p.x, SolveTol(sys.rcond1))) << label;

    Matrix<T> refined = p.start;
    std::vector<double> ferr(2), berr(2);
    ASSERT_EQ(SYRFS<T>(uplo, n, 2, a.p(), a.ld, af.p(), af.ld, ipiv.data(), p.b.p(), p.b.ld,
                       refined.p(), refined.ld, ferr.data(), berr.data(), work.w(), work.extra()),
              0);
    ExpectRefined(refined, p, ferr, berr, sys.rcond1, label);

    double rcond = -1;
    if constexpr (kIsComplex<T>)
      ASSERT_EQ(lapack::ZSYCON(uplo, n, af.p(), af.ld, ipiv.data(), Norm1(full), rcond, work.w()),
                0);
    else
      ASSERT_EQ(lapack::DSYCON(uplo, n, af.p(), af.ld, ipiv.data(), Norm1(full), rcond, work.w(),
                               work.iwork.data()),
                0);
    EXPECT_TRUE(orvel::testing::NearRel(rcond, sys.rcond1, 1e-11)) << label;

    Matrix<T> inverse = af;
    ASSERT_EQ(SYTRI<T>(uplo, n, inverse.p(), inverse.ld, ipiv.data(), work.w()), 0);
    ExpectInverse(full, Mirror(inverse, uplo, false), sys.rcond1, label);
  }
}

TEST(LapackHermitian, HermitianIndefiniteFamily) {
  using T = Complex;
  const auto& sys = oracle::kComplexHermitian;
  const Matrix<T> full = FromRows(sys.a);
  const int n = full.rows;
  Work<T> work(n);
  for (char uplo : {'U', 'L'}) {
    const std::string label(1, uplo);
    const Matrix<T> a = KeepTriangle(full, uplo);
    Matrix<T> af = a;
    std::vector<int> ipiv(n);
    ASSERT_EQ(lapack::ZHETRF(uplo, n, af.p(), af.ld, ipiv.data(), work.w(), work.lwork()), 0);

    const Problem<T> p = MakeProblem(full);
    Matrix<T> x = p.b;
    ASSERT_EQ(lapack::ZHETRS(uplo, n, 2, af.p(), af.ld, ipiv.data(), x.p(), x.ld), 0);
    EXPECT_TRUE(Near(x, p.x, SolveTol(sys.rcond1))) << label;

    Matrix<T> refined = p.start;
    std::vector<double> ferr(2), berr(2);
    ASSERT_EQ(lapack::ZHERFS(uplo, n, 2, a.p(), a.ld, af.p(), af.ld, ipiv.data(), p.b.p(), p.b.ld,
                             refined.p(), refined.ld, ferr.data(), berr.data(), work.w(),
                             work.rwork.data()),
              0);
    ExpectRefined(refined, p, ferr, berr, sys.rcond1, label);

    double rcond = -1;
    ASSERT_EQ(lapack::ZHECON(uplo, n, af.p(), af.ld, ipiv.data(), Norm1(full), rcond, work.w()), 0);
    EXPECT_TRUE(orvel::testing::NearRel(rcond, sys.rcond1, 1e-11)) << label;

    Matrix<T> inverse = af;
    ASSERT_EQ(lapack::ZHETRI(uplo, n, inverse.p(), inverse.ld, ipiv.data(), work.w()), 0);
    ExpectInverse(full, Mirror(inverse, uplo, true), sys.rcond1, label);
  }
}

TYPED_TEST(LapackFace, TriangularFamily) {
  using T = TypeParam;
  const auto& sys = System<T>(oracle::kRealTriangle, oracle::kComplexTriangle);
  // The oracle's matrix is upper triangular; its transpose serves for 'L'.
  const Matrix<T> upper = FromRows(sys.a);
  const int n = upper.rows;
  Work<T> work(n);
  for (char uplo : {'U', 'L'})
    for (char diag : {'N', 'U'}) {
      const Matrix<T> stored = KeepTriangle(uplo == 'U' ? upper : Op(upper, 'T'), uplo);
      const Matrix<T> a = Triangle(stored, uplo, diag);
      // The rcond of A^T in one norm is that of A in the other; unit diagonals have their own.
      const double rcond1 = uplo == 'U' ? sys.rcond1 : sys.rcondInf;
      const double rcondInf = uplo == 'U' ? sys.rcondInf : sys.rcond1;
      for (char trans : {'N', 'T', 'C'}) {
        const std::string label = std::string() + uplo + diag + trans;
        const Problem<T> p = MakeProblem(Op(a, trans));
        Matrix<T> x = p.b;
        ASSERT_EQ(TRTRS<T>(uplo, trans, diag, n, 2, stored.p(), stored.ld, x.p(), x.ld), 0);
        EXPECT_TRUE(Near(x, p.x, SolveTol(0.1))) << label;

        std::vector<double> ferr(2), berr(2);
        ASSERT_EQ(TRRFS<T>(uplo, trans, diag, n, 2, stored.p(), stored.ld, p.b.p(), p.b.ld, x.p(),
                           x.ld, ferr.data(), berr.data(), work.w(), work.extra()),
                  0);
        for (int k = 0; k < 2; ++k) {
          EXPECT_LT(berr[k], 10 * kEps) << label;
          EXPECT_LT(ferr[k], 1e-13) << label;
        }
        // A start that is off shows in the bounds: TRRFS measures, it does not refine.
        const Matrix<T> off = p.start;
        ASSERT_EQ(TRRFS<T>(uplo, trans, diag, n, 2, stored.p(), stored.ld, p.b.p(), p.b.ld,
                           off.p(), off.ld, ferr.data(), berr.data(), work.w(), work.extra()),
                  0);
        EXPECT_GT(berr[0], 1e-9) << label;
        EXPECT_TRUE(Near(off, p.start, 0)) << "TRRFS changed X";
      }

      for (char norm : {'1', 'I'}) {
        double rcond = -1;
        ASSERT_EQ(TRCON<T>(norm, uplo, diag, n, stored.p(), stored.ld, rcond, work.w(),
                           work.extra()),
                  0);
        const double exact = diag == 'U' ? 0 : norm == '1' ? rcond1 : rcondInf;
        ExpectEstimate(rcond, DenseEstimate(a, norm), exact, std::string() + uplo + diag + norm);
      }

      Matrix<T> inverse = stored;
      ASSERT_EQ(TRTRI<T>(uplo, diag, n, inverse.p(), inverse.ld), 0);
      ExpectInverse(a, Triangle(inverse, uplo, diag), 0.1, std::string() + uplo + diag);
    }
}

// ============================================================== least squares

template <class T>
std::vector<T> SolveGels(char trans, const oracle::Rows<T>& rows, const std::vector<T>& rhs) {
  Matrix<T> a = FromRows(rows);
  const int m = a.rows, n = a.cols;
  const int unknowns = trans == 'N' ? n : m;
  Matrix<T> b(std::max(m, n), 1);
  for (std::size_t i = 0; i < rhs.size(); ++i) b(static_cast<int>(i), 0) = rhs[i];
  T query(kNaN);
  EXPECT_EQ(GELS<T>(trans, m, n, 1, a.p(), a.ld, b.p(), b.ld, &query, -1), 0);
  const int lwork = static_cast<int>(std::lround(std::real(query)));
  EXPECT_GE(lwork, std::min(m, n) + 1) << "workspace query";
  std::vector<T> work(static_cast<std::size_t>(lwork));
  EXPECT_EQ(GELS<T>(trans, m, n, 1, a.p(), a.ld, b.p(), b.ld, work.data(), lwork), 0);
  std::vector<T> x(static_cast<std::size_t>(unknowns));
  for (int i = 0; i < unknowns; ++i) x[i] = b(i, 0);
  return x;
}

TEST(LapackGels, LeastSquaresAndMinimumNormAgainstNumpy) {
  EXPECT_TRUE(Near(Column(SolveGels('N', oracle::kLsqReal, oracle::kLsqRealB)),
                   Column(oracle::kLsqRealX), 1e-14));
  EXPECT_TRUE(Near(Column(SolveGels('T', oracle::kLsqReal, oracle::kLsqRealBT)),
                   Column(oracle::kLsqRealXT), 1e-14));
  EXPECT_TRUE(Near(Column(SolveGels('N', oracle::kLsqComplex, oracle::kLsqComplexB)),
                   Column(oracle::kLsqComplexX), 1e-14));
  EXPECT_TRUE(Near(Column(SolveGels('C', oracle::kLsqComplex, oracle::kLsqComplexBH)),
                   Column(oracle::kLsqComplexXH), 1e-14));
}

TEST(LapackGels, RealConjugateTransposeSolvesAsTranspose) {
  // The conjugate transpose of a real matrix is its transpose; refusing 'C'
  // would leave the right-hand side in place of a solution.
  EXPECT_EQ(SolveGels('C', oracle::kLsqReal, oracle::kLsqRealBT),
            SolveGels('T', oracle::kLsqReal, oracle::kLsqRealBT));
}

TEST(LapackGels, SmallCasesByHand) {
  // Three equal equations x = 1, 2, 3: the mean. One equation x1 + x2 = 2: (1, 1).
  EXPECT_TRUE(orvel::testing::NearRel(SolveGels<double>('N', {{1}, {1}, {1}}, {1, 2, 3})[0], 2, 2 * kEps));
  const std::vector<double> minNorm = SolveGels<double>('N', {{1, 1}}, {2});
  ASSERT_EQ(minNorm.size(), 2u);
  EXPECT_TRUE(orvel::testing::NearRel(minNorm[0], 1, 4 * kEps));
  EXPECT_TRUE(orvel::testing::NearRel(minNorm[1], 1, 4 * kEps));
}

// ============================================================== eigenvalues

std::vector<Complex> Sorted(std::vector<Complex> v) {
  std::sort(v.begin(), v.end(), [](Complex a, Complex b) {
    const double ar = std::round(a.real() * 1e9), br = std::round(b.real() * 1e9);
    return ar != br ? ar < br : a.imag() < b.imag();
  });
  return v;
}

// Balance, reduce to Hessenberg form, QR iteration for the eigenvalues only.
template <class T>
std::vector<Complex> GeneralEigenvalues(Matrix<T> a, char balance) {
  const int n = a.rows;
  int ilo = -1, ihi = -1;
  std::vector<double> scale(n);
  EXPECT_EQ(GEBAL<T>(balance, n, a.p(), a.ld, ilo, ihi, scale.data()), 0);
  EXPECT_GE(ilo, 1);
  EXPECT_LE(ihi, n);
  Work<T> work(n);
  std::vector<T> tau(n);
  EXPECT_EQ(GEHRD<T>(n, ilo, ihi, a.p(), a.ld, tau.data(), work.w(), work.lwork()), 0);
  T z(0);
  if constexpr (kIsComplex<T>) {
    std::vector<Complex> w(n);
    EXPECT_EQ(lapack::ZHSEQR('E', 'N', n, ilo, ihi, a.p(), a.ld, w.data(), &z, 1, work.w(),
                             work.lwork()),
              0);
    return Sorted(w);
  } else {
    std::vector<double> wr(n), wi(n);
    EXPECT_EQ(lapack::DHSEQR('E', 'N', n, ilo, ihi, a.p(), a.ld, wr.data(), wi.data(), &z, 1,
                             work.w(), work.lwork()),
              0);
    std::vector<Complex> w(n);
    for (int i = 0; i < n; ++i) w[i] = {wr[i], wi[i]};
    return Sorted(w);
  }
}

TEST(LapackEigen, GeneralMatricesAgainstNumpy) {
  for (char balance : {'N', 'P', 'S', 'B'}) {
    EXPECT_TRUE(Near(Column(GeneralEigenvalues(FromRows(oracle::kEigRealMatrix), balance)),
                     Column(oracle::kEigRealValues), 1e-13))
        << balance;
    EXPECT_TRUE(Near(Column(GeneralEigenvalues(FromRows(oracle::kEigComplexMatrix), balance)),
                     Column(oracle::kEigComplexValues), 1e-13))
        << balance;
  }
}

TEST(LapackEigen, PermutationIsolatesTheEigenvaluesOfATriangle) {
  // An upper triangle: balancing by permutation leaves nothing to iterate on.
  Matrix<double> a = FromRows<double>({{2, 5, -1}, {0, -3, 4}, {0, 0, 7}});
  int ilo = -1, ihi = -1;
  std::vector<double> scale(3);
  ASSERT_EQ(lapack::DGEBAL('P', 3, a.p(), a.ld, ilo, ihi, scale.data()), 0);
  EXPECT_EQ(ilo, ihi);
  EXPECT_TRUE(Near(Column(GeneralEigenvalues(FromRows<double>({{2, 5, -1}, {0, -3, 4}, {0, 0, 7}}),
                                             'B')),
                   Column(std::vector<Complex>{{-3, 0}, {2, 0}, {7, 0}}), 1e-15));
}

// [[1, t], [0, 2]]: the eigenvector of 1 is e1, of 2 is (t, 1); the left ones (1, -t) and e2.
// Each eigenvalue's reciprocal condition |y^T x| / (|x| |y|) is 1 / sqrt(1 + t^2), computed
// from the eigenvectors within a few roundings (4u).
TEST(LapackEigen, ExpertDriverGivesTheConditionOfEachEigenvalue) {
  const double t = 3.0;
  Matrix<double> a = FromRows<double>({{1, t}, {0, 2}});
  std::vector<double> wr(2), wi(2), vl(4), vr(4), scale(2), rconde(2), rcondv(2), work(64);
  std::vector<int> iwork(2);
  int ilo = 0, ihi = 0;
  double abnrm = 0.0;
  ASSERT_EQ(lapack::DGEEVX('N', 'V', 'V', 'E', 2, a.p(), a.ld, wr.data(), wi.data(), vl.data(), 2, vr.data(), 2, ilo,
                           ihi, scale.data(), abnrm, rconde.data(), rcondv.data(), work.data(), 64, iwork.data()),
            0);
  // The 1-norm: the larger column sum, t + 2.
  EXPECT_EQ(abnrm, t + 2.0);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(wr[i], i == 0 ? 1.0 : 2.0);
    EXPECT_EQ(wi[i], 0.0);
    EXPECT_NEAR(rconde[i], 1.0 / std::sqrt(1.0 + t * t), 0x1p-51);
  }
  EXPECT_LT(lapack::DGEEVX('N', 'V', 'N', 'E', 2, a.p(), a.ld, wr.data(), wi.data(), vl.data(), 2, vr.data(), 2,
                           ilo, ihi, scale.data(), abnrm, rconde.data(), rcondv.data(), work.data(), 64,
                           iwork.data()),
            0);
}

// The pencil (diag(2, 3), diag(1, 0)): a finite eigenvalue 2 with eigenvectors e1, and an
// infinite one (beta 0).
TEST(LapackEigen, GeneralizedEigenvaluesAndVectorsOfAPencil) {
  Matrix<double> a = FromRows<double>({{2, 0}, {0, 3}});
  Matrix<double> b = FromRows<double>({{1, 0}, {0, 0}});
  std::vector<double> ar(2), ai(2), beta(2), vl(4), vr(4), work(64);
  ASSERT_EQ(lapack::DGGEV('V', 'V', 2, a.p(), a.ld, b.p(), b.ld, ar.data(), ai.data(), beta.data(), vl.data(), 2,
                          vr.data(), 2, work.data(), 64),
            0);
  int finite = beta[0] != 0.0 ? 0 : 1;
  EXPECT_EQ(beta[1 - finite], 0.0);
  // Diagonal already: the QZ steps leave it, and the quotient rounds once.
  EXPECT_NEAR(ar[finite] / beta[finite], 2.0, 0x1p-52);
  EXPECT_EQ(ai[finite], 0.0);
  EXPECT_NEAR(std::fabs(vr[2 * finite]), 1.0, 0x1p-52);
  EXPECT_EQ(vr[2 * finite + 1], 0.0);
}

// Reduce the UPLO triangle to tridiagonal form, then the eigenvalues of the
// tridiagonal matrix by DSTERF or, positive definite, by ?PTEQR.
template <class T>
std::vector<double> SymmetricEigenvalues(const Matrix<T>& full, char uplo, bool positive) {
  const int n = full.rows;
  Matrix<T> a = KeepTriangle(full, uplo);
  std::vector<double> d(n), e(n);
  std::vector<T> tau(n);
  Work<T> work(n);
  EXPECT_EQ(SYHETRD<T>(uplo, n, a.p(), a.ld, d.data(), e.data(), tau.data(), work.w(),
                       work.lwork()),
            0);
  if (positive) {
    T z(0);
    std::vector<double> scratch(4 * n);
    EXPECT_EQ(PTEQR<T>('N', n, d.data(), e.data(), &z, 1, scratch.data()), 0);
  } else {
    EXPECT_EQ(lapack::DSTERF(n, d.data(), e.data()), 0);
  }
  std::sort(d.begin(), d.end());
  return d;
}

TYPED_TEST(LapackFace, SymmetricAndHermitianEigenvaluesAgainstNumpy) {
  using T = TypeParam;
  const Matrix<T> definite = FromRows(System<T>(oracle::kRealPosDef, oracle::kComplexPosDef).a);
  const Matrix<T> indefinite =
      FromRows(System<T>(oracle::kRealSymmetric, oracle::kComplexHermitian).a);
  const auto& definiteValues =
      kIsComplex<T> ? oracle::kComplexPosDefEigenvalues : oracle::kRealPosDefEigenvalues;
  const auto& indefiniteValues =
      kIsComplex<T> ? oracle::kComplexHermitianEigenvalues : oracle::kRealSymmetricEigenvalues;
  for (char uplo : {'U', 'L'}) {
    EXPECT_TRUE(Near(Column(SymmetricEigenvalues(definite, uplo, true)), Column(definiteValues),
                     1e-14))
        << uplo;
    EXPECT_TRUE(Near(Column(SymmetricEigenvalues(definite, uplo, false)), Column(definiteValues),
                     1e-14))
        << uplo;
    EXPECT_TRUE(Near(Column(SymmetricEigenvalues(indefinite, uplo, false)),
                     Column(indefiniteValues), 1e-14))
        << uplo;
  }
}

// ============================================================== INFO

TEST(LapackInfo, FailuresAndIllegalArgumentsComeBackAsInfo) {
  std::vector<int> ipiv(2);
  Matrix<double> singular = FromRows<double>({{1, 2}, {2, 4}});
  EXPECT_EQ(lapack::DGETRF(2, 2, singular.p(), singular.ld, ipiv.data()), 2);
  Matrix<Complex> zsingular = FromRows<Complex>({{{0, 1}, {0, 2}}, {{0, 2}, {0, 4}}});
  EXPECT_EQ(lapack::ZGETRF(2, 2, zsingular.p(), zsingular.ld, ipiv.data()), 2);
  Matrix<double> indefinite = FromRows<double>({{1, 2}, {2, 1}});
  EXPECT_EQ(lapack::DPOTRF('L', 2, indefinite.p(), indefinite.ld), 2);
  Matrix<double> eigen = FromRows<double>({{2, 0}, {0, 3}});
  Matrix<double> before = eigen;
  EXPECT_EQ(lapack::DGETRF(2, 2, eigen.p(), 1, ipiv.data()), -4) << "LDA < M";
  EXPECT_EQ(lapack::DPOTRF('X', 2, eigen.p(), eigen.ld), -1);
  double b[2] = {1, 1}, work[8];
  EXPECT_EQ(lapack::DGELS('X', 2, 2, 1, eigen.p(), eigen.ld, b, 2, work, 8), -1);
  EXPECT_EQ(lapack::DSTERF(-1, b, work), -1);
  EXPECT_TRUE(Near(eigen, before, 0)) << "a refused call changed its matrix";
}

// OpenBLAS's own ?GETRS leaves INFO alone on an illegal argument; the layer
// must still report it, or a solve that never ran would pass for a success.
TEST(LapackInfo, GetrsReportsIllegalArguments) {
  const std::vector<int> ipiv = {1, 2};
  const double a[] = {2, 0, 0, 4};  // diag(2, 4), already its own LU factor
  const Complex za[] = {2, 0, 0, 4};
  struct Case {
    char trans;
    int n, nrhs, lda, ldb, info;
  };
  const Case cases[] = {
      {'X', 2, 1, 2, 2, -1}, {'N', -1, 1, 2, 2, -2}, {'T', 2, -1, 2, 2, -3},
      {'C', 2, 1, 1, 2, -5}, {'N', 2, 1, 2, 1, -8},  {'n', 2, 1, 2, 2, 0},
  };
  for (const Case& c : cases) {
    double b[2] = {2, 8};
    EXPECT_EQ(lapack::DGETRS(c.trans, c.n, c.nrhs, a, c.lda, ipiv.data(), b, c.ldb), c.info)
        << c.trans << " " << c.n << " " << c.nrhs << " " << c.lda << " " << c.ldb;
    Complex zb[2] = {{2, 0}, {8, 0}};
    EXPECT_EQ(lapack::ZGETRS(c.trans, c.n, c.nrhs, za, c.lda, ipiv.data(), zb, c.ldb), c.info);
    const bool solved = c.info == 0;
    EXPECT_EQ(b[0], solved ? 1 : 2);
    EXPECT_EQ(b[1], solved ? 2 : 8);
    EXPECT_EQ(zb[1], Complex(solved ? 2 : 8, 0));
  }
}

// ============================================================== vector maths

using UnaryRoutine = void (*)(int, const double*, double*);

struct UnaryCase {
  const char* name;
  UnaryRoutine routine;
};

const std::vector<UnaryCase> kUnary = {
    {"Sin", lapack::VDSIN},   {"Cos", lapack::VDCOS},     {"Tan", lapack::VDTAN},
    {"Sinh", lapack::VDSINH}, {"Cosh", lapack::VDCOSH},   {"Exp", lapack::VDEXP},
    {"Ln", lapack::VDLN},     {"Log10", lapack::VDLOG10}, {"Sqrt", lapack::VDSQRT},
    {"Cbrt", lapack::VDCBRT}, {"Inv", lapack::VDINV},
};

// Distance in units in the last place between two finite doubles of one sign.
std::int64_t UlpDistance(double a, double b) {
  const auto key = [](double v) {
    const auto bits = std::bit_cast<std::int64_t>(v);
    return bits < 0 ? std::numeric_limits<std::int64_t>::min() - bits : bits;
  };
  const std::int64_t d = key(a) - key(b);
  return d < 0 ? -d : d;
}

TEST(VectorMath, ElementaryFunctionsAgainstNumpyApartAndInPlace) {
  ASSERT_EQ(oracle::kFunctions.size(), kUnary.size());
  for (std::size_t f = 0; f < kUnary.size(); ++f) {
    const auto& values = oracle::kFunctions[f];
    ASSERT_STREQ(values.name, kUnary[f].name);
    const int n = static_cast<int>(values.x.size());
    std::vector<double> apart(n, kNaN), inPlace = values.x;
    kUnary[f].routine(n, values.x.data(), apart.data());
    kUnary[f].routine(n, inPlace.data(), inPlace.data());
    for (int i = 0; i < n; ++i) {
      EXPECT_LE(UlpDistance(apart[i], values.y[i]), 2)
          << values.name << "(" << values.x[i] << ") = " << apart[i] << ", numpy " << values.y[i];
      EXPECT_EQ(std::bit_cast<std::uint64_t>(inPlace[i]), std::bit_cast<std::uint64_t>(apart[i]))
          << values.name << " in place at " << i;
    }
  }
}

TEST(VectorMath, SpecialValuesFollowIeee) {
  struct Case {
    UnaryRoutine routine;
    double x, y;
  };
  const Case cases[] = {
      {lapack::VDLN, 0.0, -kInf},      {lapack::VDLOG10, 0.0, -kInf}, {lapack::VDLN, kInf, kInf},
      {lapack::VDINV, 0.0, kInf},      {lapack::VDINV, -0.0, -kInf},  {lapack::VDINV, kInf, 0.0},
      {lapack::VDEXP, 1000.0, kInf},   {lapack::VDEXP, -kInf, 0.0},   {lapack::VDCBRT, -8.0, -2.0},
      {lapack::VDSQRT, -0.0, -0.0},    {lapack::VDCOSH, -kInf, kInf}, {lapack::VDSINH, -kInf, -kInf},
  };
  for (const Case& c : cases) {
    double y = kNaN;
    c.routine(1, &c.x, &y);
    EXPECT_EQ(y, c.y) << "at " << c.x;
    EXPECT_EQ(std::signbit(y), std::signbit(c.y)) << "at " << c.x;
  }
  const UnaryRoutine nanOutside[] = {lapack::VDLN, lapack::VDLOG10, lapack::VDSQRT};
  for (UnaryRoutine routine : nanOutside) {
    const double x = -1;
    double y = 0;
    routine(1, &x, &y);
    EXPECT_TRUE(std::isnan(y));
  }
  for (const UnaryCase& c : kUnary) {
    const double x = kNaN;
    double y = 0;
    c.routine(1, &x, &y);
    EXPECT_TRUE(std::isnan(y)) << c.name;
  }
}

TEST(VectorMath, NoCountWritesNothing) {
  const double x[2] = {1, 2};
  for (int n : {0, -1, -1000}) {
    double y[2] = {7, 7}, s[2] = {7, 7}, c[2] = {7, 7};
    for (const UnaryCase& unary : kUnary) unary.routine(n, x, y);
    lapack::VDSINCOS(n, x, s, c);
    lapack::VDDIV(n, x, x, y);
    lapack::VDPACKI(n, x, 1, y);
    for (double v : {y[0], y[1], s[0], s[1], c[0], c[1]}) EXPECT_EQ(v, 7) << "count " << n;
  }
}

// Lengths around the vector widths (and a long one), so that the vectorised
// body and its tail both run; sqrt and division are exactly rounded, so the
// results must be those of the scalar functions bit for bit.
TEST(VectorMath, EveryLengthAndTailMatchesTheScalarResult) {
  for (int n : {1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 1023, 1025}) {
    std::vector<double> x(n), d(n);
    for (int i = 0; i < n; ++i) {
      x[i] = 0.37 * (i + 1) + 1.0 / (i + 3);
      d[i] = 1.5 - 0.01 * i;
    }
    std::vector<double> sq(n), inv = x, div(n);
    lapack::VDSQRT(n, x.data(), sq.data());
    lapack::VDINV(n, inv.data(), inv.data());
    lapack::VDDIV(n, x.data(), d.data(), div.data());
    for (int i = 0; i < n; ++i) {
      ASSERT_EQ(sq[i], std::sqrt(x[i])) << n << " at " << i;
      ASSERT_EQ(inv[i], 1.0 / x[i]) << n << " at " << i;
      ASSERT_EQ(div[i], x[i] / d[i]) << n << " at " << i;
    }
  }
}

TEST(VectorMath, SinCosWithTheSourceAsEitherOutput) {
  const std::vector<double> x = {-2.5, 0, 0.5, 1, 3, 100};
  const int n = static_cast<int>(x.size());
  std::vector<double> s(n), c(n);
  lapack::VDSINCOS(n, x.data(), s.data(), c.data());
  for (int i = 0; i < n; ++i) {
    EXPECT_EQ(s[i], std::sin(x[i]));
    EXPECT_EQ(c[i], std::cos(x[i]));
  }
  std::vector<double> intoSine = x, cosine(n);
  lapack::VDSINCOS(n, intoSine.data(), intoSine.data(), cosine.data());
  EXPECT_EQ(intoSine, s);
  EXPECT_EQ(cosine, c);
  std::vector<double> intoCosine = x, sine(n);
  lapack::VDSINCOS(n, intoCosine.data(), sine.data(), intoCosine.data());
  EXPECT_EQ(sine, s);
  EXPECT_EQ(intoCosine, c);
}

TEST(VectorMath, DivisionWithTheOutputOverEitherOperand) {
  const std::vector<double> a = {1, -1, 0, 6, 1e300, -3};
  const std::vector<double> b = {0, 0, 0, 4, 1e-10, -0.5};
  const std::vector<double> quotient = {kInf, -kInf, kNaN, 1.5, kInf, 6};
  const auto same = [&](const std::vector<double>& y, const std::vector<double>& expected) {
    for (std::size_t i = 0; i < y.size(); ++i)
      if (!(y[i] == expected[i] || (std::isnan(y[i]) && std::isnan(expected[i])))) return false;
    return true;
  };
  const int n = static_cast<int>(a.size());
  std::vector<double> y(n);
  lapack::VDDIV(n, a.data(), b.data(), y.data());
  EXPECT_TRUE(same(y, quotient));
  std::vector<double> overA = a;
  lapack::VDDIV(n, overA.data(), b.data(), overA.data());
  EXPECT_TRUE(same(overA, quotient));
  std::vector<double> overB = b;
  lapack::VDDIV(n, a.data(), overB.data(), overB.data());
  EXPECT_TRUE(same(overB, quotient));
  std::vector<double> all = {2, -3, 0, kInf};
  lapack::VDDIV(4, all.data(), all.data(), all.data());
  EXPECT_TRUE(same(all, {1, 1, kNaN, kNaN}));
}

TEST(VectorMath, PackTakesEveryIncxthElement) {
  const std::vector<double> x = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  std::vector<double> y(4, kNaN);
  lapack::VDPACKI(4, x.data() + 1, 3, y.data());  // phase 1, factor 3
  EXPECT_EQ(y, (std::vector<double>{1, 4, 7, 10}));
  std::vector<double> copy(3);
  lapack::VDPACKI(3, x.data() + 2, 1, copy.data());
  EXPECT_EQ(copy, (std::vector<double>{2, 3, 4}));
  std::vector<double> inPlace = x;
  lapack::VDPACKI(6, inPlace.data(), 2, inPlace.data());
  EXPECT_EQ(inPlace, (std::vector<double>{0, 2, 4, 6, 8, 10, 6, 7, 8, 9, 10}));
}

}  // namespace

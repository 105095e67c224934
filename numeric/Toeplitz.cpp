// The Levinson recursion for general Toeplitz systems, real and complex, and
// the Yule-Walker solve built on it.
// Tested by: numeric/tests/ToeplitzTest.cpp.
#include "numeric/Toeplitz.h"

#include <algorithm>
#include <type_traits>

#include "numeric/ObjectCache.h"
#include "numeric/Vec.h"

namespace numeric {

namespace {

template <class T>
void CheckLengths(std::span<const T> Row, std::span<const T> Col, std::span<const T> Y, std::span<T> X,
                  std::span<T> H, std::span<T> G, std::int32_t N) {
  const auto n = static_cast<std::size_t>(N);
  if (Row.size() < n || Col.size() < n - 1 || Y.size() < n || X.size() < n || H.size() < n || G.size() < n)
    RaiseError("ToeplitzLevinson: arrays shorter than N");
}

// The arithmetic of the two variants: the real one keeps 1/alpha and
// multiplies by it, the complex one divides.
struct TRealOps {
  using T = double;
  static T Mul(T a, T b) { return a * b; }
  static T Add(T a, T b) { return a + b; }
  static T Sub(T a, T b) { return a - b; }
  static T Neg(T a) { return -a; }
  static T Zero() { return 0.0; }
  struct TDivisor {
    double Inv;
    explicit TDivisor(T Alpha) : Inv(1.0 / Alpha) {}
    T Divide(T a) const { return a * Inv; }
  };
};

struct TCplxOps {
  using T = TCplx;
  static T Mul(T a, T b) { return CMul(a, b); }
  static T Add(T a, T b) { return CAdd(a, b); }
  static T Sub(T a, T b) { return CSub(a, b); }
  static T Neg(T a) { return CNeg(a); }
  static T Zero() { return C_ZERO; }
  struct TDivisor {
    T Alpha;
    explicit TDivisor(T A) : Alpha(A) {}
    T Divide(T a) const { return CDiv(a, Alpha); }
  };
};

template <class Ops>
void Levinson(std::span<const typename Ops::T> Row, std::span<const typename Ops::T> Col,
              std::span<const typename Ops::T> Y, std::span<typename Ops::T> X, std::span<typename Ops::T> H,
              std::span<typename Ops::T> G, std::int32_t N) {
  using T = typename Ops::T;
  if (N < 1) return;
  CheckLengths<T>(Row, Col, Y, X, H, G, N);
  T alpha = Row[0];
  X[0] = typename Ops::TDivisor(alpha).Divide(Y[0]);
  T eta = Ops::Zero();
  for (std::size_t m = 1; m < static_cast<std::size_t>(N); ++m) {
    T sc = Col[m - 1];
    T sr = Row[m];
    if (m >= 2) {
      H[m - 1] = eta;
      for (std::size_t j = 1; j < m; ++j) {
        sc = Ops::Add(sc, Ops::Mul(Col[j - 1], H[m - j]));
        sr = Ops::Add(sr, Ops::Mul(Row[j], G[j - 1]));
      }
    }
    const typename Ops::TDivisor divisor(alpha);
    eta = Ops::Neg(divisor.Divide(sc));
    const T gamma = Ops::Neg(divisor.Divide(sr));
    alpha = Ops::Add(alpha, Ops::Mul(sc, gamma));
    if (m >= 2) {
      T t = G[0];
      G[m - 1] = Ops::Zero();
      for (std::size_t j = 1; j < m; ++j) {
        const T old = G[j];
        G[j] = Ops::Add(Ops::Mul(H[j], gamma), t);
        H[j] = Ops::Add(H[j], Ops::Mul(t, eta));
        t = old;
      }
    }
    G[0] = gamma;
    T s = Ops::Zero();
    for (std::size_t j = 1; j <= m; ++j) s = Ops::Add(s, Ops::Mul(Col[j - 1], X[m - j]));
    const T mu = typename Ops::TDivisor(alpha).Divide(Ops::Sub(Y[m], s));
    for (std::size_t j = 0; j < m; ++j) X[j] = Ops::Add(X[j], Ops::Mul(G[j], mu));
    X[m] = mu;
  }
}

}  // namespace

void ToeplitzLevinson(std::span<const double> Row, std::span<const double> Col, std::span<const double> Y,
                      std::span<double> X, std::span<double> H, std::span<double> G, std::int32_t N) {
  Levinson<TRealOps>(Row, Col, Y, X, H, G, N);
}

void ToeplitzLevinsonC(std::span<const TCplx> Row, std::span<const TCplx> Col, std::span<const TCplx> Y,
                       std::span<TCplx> X, std::span<TCplx> H, std::span<TCplx> G, std::int32_t N) {
  Levinson<TCplxOps>(Row, Col, Y, X, H, G, N);
}

namespace {

double Negated(double X) { return -X; }
TCplx Negated(const TCplx& Z) { return CNeg(Z); }
double Conjugated(double X) { return X; }
TCplx Conjugated(const TCplx& Z) { return CConj(Z); }
double One(double) { return 1.0; }
TCplx One(const TCplx&) { return C_ONE; }
const double* ValuesOf(const TVec& V, double) { return V.Values(); }
const TCplx* ValuesOf(const TVec& V, const TCplx&) { return V.CValues(); }
double* ValuesOf(TVec& V, double) { return V.Values(); }
TCplx* ValuesOf(TVec& V, const TCplx&) { return V.CValues(); }

// A := (1, a) with T a = -r[1 ..]; the first row of T is r conjugated, its
// first column r.
template <class T>
void YuleWalker(const TVec& R, TVec& A) {
  const auto n = R.Length();
  const auto k = static_cast<std::size_t>(n - 1);
  const bool complex = R.Complex();
  const T* r = ValuesOf(R, T{});
  TCachedVec work;
  // P1 (row) and P3 (right-hand side and solution) of n - 1, P2 (column) of
  // n - 2, then G and H of n - 1 each.
  work->Size(static_cast<std::int32_t>(5 * k), complex);
  T* p1 = ValuesOf(*work, T{});
  T* p2 = p1 + k;
  T* p3 = p2 + k;
  T* g = p3 + k;
  T* h = g + k;
  std::copy(r, r + k, p1);
  std::copy(r + 1, r + k, p2);
  for (std::size_t i = 0; i < k; ++i) p3[i] = Negated(r[i + 1]);
  for (std::size_t i = 1; i < k; ++i) p1[i] = Conjugated(p1[i]);
  if constexpr (std::is_same_v<T, TCplx>)
    ToeplitzLevinsonC({p1, k}, {p2, k - 1}, {p3, k}, {p3, k}, {h, k}, {g, k}, n - 1);
  else
    ToeplitzLevinson({p1, k}, {p2, k - 1}, {p3, k}, {p3, k}, {h, k}, {g, k}, n - 1);
  A.Size(n, complex);
  T* a = ValuesOf(A, T{});
  a[0] = One(T{});
  std::copy(p3, p3 + k, a + 1);
}

}  // namespace

void ToeplitzSolve(const TVec& R, TVec& A) {
  if (R.Length() < 2) return;
  if (R.Complex())
    YuleWalker<TCplx>(R, A);
  else
    YuleWalker<double>(R, A);
}

}  // namespace numeric

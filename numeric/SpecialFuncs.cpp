// Complete elliptic integrals and Jacobi elliptic functions by the
// arithmetic-geometric mean, computed in extended precision.
// Tested by: numeric/tests/SpecialFuncsTest.cpp, SpecialFuncsOracleTest.cpp.
#include "numeric/SpecialFuncs.h"

#include <array>
#include <cmath>

namespace numeric {

namespace {

using Extended = long double;

constexpr Extended kPiExt = 3.141592653589793238462643383279502884L;
constexpr Extended kTwoPiExt = 2.0L * kPiExt;

double EffectiveTol(double Tol) { return Tol >= EPS ? Tol : EPS; }

// The angle reduced into (-2 pi, 2 pi) without leaving extended precision.
Extended FixAngleL(Extended X) { return X - kTwoPiExt * std::trunc(X / kTwoPiExt); }

}  // namespace

double EllipComplete(double m, double Tol, double& E) {
  if (!(m >= 0.0 && m <= 1.0)) RaiseError("EllipComplete: (m < 0) or (1 < m)");
  if (m == 1.0) {
    E = 1.0;
    return INF;
  }
  const double tol = EffectiveTol(Tol);
  Extended a = 1.0L;
  Extended b = std::sqrt(1.0L - m);
  Extended s = m;
  Extended a1 = 1.0L;
  Extended w = 1.0L;
  Extended power = 1.0L;  // 2^i
  int i = 0;
  while (w > tol) {
    if (i == EllipMaxIterations) {
      E = NAN;
      return NAN;
    }
    a1 = (a + b) / 2.0L;
    const Extended b1 = std::sqrt(a * b);
    const Extended c1 = (a - b) / 2.0L;
    ++i;
    power *= 2.0L;
    w = power * c1 * c1;
    s += w;
    a = a1;
    b = b1;
  }
  const Extended K = kPiExt / (2.0L * a1);
  E = static_cast<double>((1.0L - s / 2.0L) * K);
  return static_cast<double>(K);
}

double EllipComplete(double m) {
  double E = 0.0;
  return EllipComplete(m, EPS, E);
}

void EllipJacoby(double U, double m, double Tol, double& Sn, double& Cn, double& Dn) {
  if (!(m >= 0.0 && m <= 1.0)) RaiseError("EllipJacoby: (m < 0) or (1 < m)");
  if (m == 1.0) {
    Sn = Tanh(U);
    Cn = Sech(U);
    Dn = Sech(U);
    return;
  }
  const double tol = EffectiveTol(Tol);
  std::array<Extended, EllipMaxIterations + 1> a{}, b{}, c{};
  a[0] = 1.0L;
  c[0] = std::sqrt(static_cast<Extended>(m));
  b[0] = std::sqrt(1.0L - m);
  int i = 0;
  while (std::fabs(c[static_cast<std::size_t>(i)]) > tol) {
    if (i == EllipMaxIterations) {
      Sn = Cn = Dn = NAN;
      return;
    }
    ++i;
    const auto k = static_cast<std::size_t>(i);
    a[k] = (a[k - 1] + b[k - 1]) / 2.0L;
    b[k] = std::sqrt(a[k - 1] * b[k - 1]);
    c[k] = (a[k - 1] - b[k - 1]) / 2.0L;
  }
  Extended phi = std::ldexp(a[static_cast<std::size_t>(i)], i) * U;
  for (int j = i - 1; j >= 0; --j) {
    const auto k = static_cast<std::size_t>(j + 1);
    phi = (std::asin(c[k] * std::sin(FixAngleL(phi)) / a[k]) + phi) / 2.0L;
  }
  const Extended phi0 = FixAngleL(phi);
  const Extended sn = std::sin(phi0);
  Sn = static_cast<double>(sn);
  Cn = static_cast<double>(std::cos(phi0));
  Dn = static_cast<double>(std::sqrt(1.0L - m * sn * sn));
}

}  // namespace numeric

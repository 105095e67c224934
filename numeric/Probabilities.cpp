// The normal distribution's inverse, the error function and its inverse, and
// the regularized incomplete gamma function.
// Tested by: numeric/tests/SpecialFuncsTest.cpp, SpecialFuncsOracleTest.cpp.
#include "numeric/Probabilities.h"

#include <cmath>

#include "numeric/MathCore.h"

namespace numeric {

namespace {

using Extended = long double;

// Below this |X| the square X^2 loses digits to underflow, while erf(X) is
// 2X/sqrt(pi) to far more than double precision (the next term is X^2/3 of it).
constexpr double kErfLinearBound = 1e-100;
constexpr Extended kTwoOverSqrtPi = 1.128379167095512573896158903121545172L;

// exp(A ln X - X - ln Gamma(A)), the factor that ends the series and the fraction.
Extended IncGammaFactor(Extended A, Extended X) { return std::exp(A * std::log(X) - X - std::lgamma(A)); }

}  // namespace

double NormalCDFInv(double P, double Mean, double StdDev) {
  if (!(P >= 0.0 && P <= 1.0 && StdDev > 0.0)) return NAN;
  if (P == 0.0) return -INF;
  if (P == 1.0) return INF;
  return ErfInv(2.0 * P - 1.0) * (SQRT2 * StdDev) + Mean;
}

double ErfInv(double y) {
  if (std::isnan(y)) return NAN;
  if (std::fabs(y) > 1.0) RaiseError("abs(y) > 0");
  // The inverse is infinite at both ends.
  if (y == 1.0) return INF;
  if (y == -1.0) return -INF;

  Extended x = 0.0L;
  if (std::fabs(y) <= 0.7) {
    const Extended z = static_cast<Extended>(y) * y;
    x = y * (((-0.140543331L * z + 0.914624893L) * z - 1.645349621L) * z + 0.886226899L) /
        ((((0.012229801L * z - 0.329097515L) * z + 1.442710462L) * z - 2.118377725L) * z + 1.0L);
  } else {
    const Extended tail = y > 0.0 ? 1.0L - y : 1.0L + y;
    const Extended z = std::sqrt(-std::log(tail / 2.0L));
    x = (((1.641345311L * z + 3.429567803L) * z - 1.624906493L) * z - 1.970840454L) /
        ((1.6370678L * z + 3.5438892L) * z + 1.0L);
    if (y < 0.0) x = -x;
  }
  for (int step = 0; step < 2; ++step) {
    const double xd = static_cast<double>(x);
    x -= (static_cast<Extended>(Erf(xd)) - y) / (kTwoOverSqrtPi * std::exp(-x * x));
  }
  return static_cast<double>(x);
}

double Erf(double X) {
  if (std::isnan(X)) return NAN;
  if (std::fabs(X) < kErfLinearBound) return static_cast<double>(kTwoOverSqrtPi * X);
  const double p = GammaP(0.5, X * X);
  return X >= 0.0 ? p : -p;
}

double GammaP(double A, double X) {
  if (!(A > 0.0 && X > 0.0)) return 0.0;
  // The limit; the fraction would meet INF - INF in its factor.
  if (std::isinf(X) && std::isfinite(A)) return 1.0;
  if (X < A + 1.0) return IncGammaSeries(A, X);
  return static_cast<double>(1.0L - IncGammaCF(A, X));
}

double IncGammaSeries(double A, double X) {
  Extended ap = A;
  Extended sum = 1.0L / A;
  Extended del = sum;
  for (int n = 0; n < IncGammaMaxIterations; ++n) {
    ap += 1.0L;
    del = del * X / ap;
    sum += del;
    if (std::fabs(del) < std::fabs(sum) * EPS) return static_cast<double>(sum * IncGammaFactor(A, X));
  }
  return NAN;
}

double IncGammaCF(double A, double X) {
  const Extended tiny = MinDouble;
  Extended b = static_cast<Extended>(X) + 1.0L - A;
  Extended c = 1.0L / tiny;
  Extended d = 1.0L / b;
  Extended h = d;
  for (int i = 1; i <= IncGammaMaxIterations; ++i) {
    const Extended an = -static_cast<Extended>(i) * (i - static_cast<Extended>(A));
    b += 2.0L;
    d = an * d + b;
    if (std::fabs(d) < tiny) d = tiny;
    c = b + an / c;
    if (std::fabs(c) < tiny) c = tiny;
    d = 1.0L / d;
    const Extended del = d * c;
    h *= del;
    if (std::fabs(del - 1.0L) < EPS) return static_cast<double>(IncGammaFactor(A, X) * h);
  }
  return NAN;
}

}  // namespace numeric

// The normalised analog lowpass prototypes: Butterworth, Chebyshev I and II, elliptic, Bessel.
// Tested by: dsp/tests/IirPrototypesTest.cpp, IirOracleTest.cpp
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "dsp/IIRFilters.h"
#include "dsp/LinearSystemsInternal.h"
#include "numeric/Optimization.h"
#include "numeric/Polynoms.h"
#include "numeric/SpecialFuncs.h"

namespace dsp {

using detail::Cx;
using detail::CxList;
using detail::kIirMaxIter;
using detail::kIirTol;
using detail::Pow10m1;
using numeric::EPS;
using numeric::PI;
using numeric::RaiseError;
using numeric::TVec;

namespace {

// The angle of the k-th pole (k = 1 .. N) of a Butterworth prototype of order N.
double PoleAngle(std::int32_t k, std::int32_t N) { return (2.0 * k - 1.0) * PI / (2.0 * N) + PI / 2.0; }

// K = Re(prod(-P) / prod(-Z)): unit gain at DC.
double DcGain(const CxList& z, const CxList& p) {
  Cx num(1.0, 0.0), den(1.0, 0.0);
  for (const Cx& r : p) num *= -r;
  for (const Cx& r : z) den *= -r;
  return (num / den).real();
}

double EllipK(double m) {
  double e = 0.0;
  return numeric::EllipComplete(m, kIirTol, e);
}

// |K(m)/K(1-m) - krat|: 0 where the modulus m gives the selectivity of the order.
double KRatioCost(std::span<const double> x, std::span<const double> c, std::span<classlib::TPersistent* const>) {
  const double m = std::clamp(x[0], 0.0, 1.0);
  double r;
  if (std::fabs(m) > EPS && std::fabs(m) + EPS < 1.0)
    r = EllipK(m) / EllipK(1.0 - m) - c[0];
  else if (std::fabs(m) <= EPS)
    r = -c[0];
  else
    r = std::bit_cast<double>(std::uint64_t{0x7FEFFFFFFFFFFFFB});
  return std::fabs(r);
}

// K(1 - k^2) = pi / (2 agm(1, k)), from k itself: the parameter 1 - k^2 rounded to a double keeps
// few digits of the small k^2 that sets K there (a stopband 80 dB down loses 9 of them).
double EllipKOfComplement(double k) {
  long double a = 1.0L, b = k;
  for (int i = 0; i < numeric::EllipMaxIterations && a - b > a * std::numeric_limits<long double>::epsilon(); ++i) {
    const long double mean = (a + b) / 2.0L;
    b = std::sqrt(a * b);
    a = mean;
  }
  return static_cast<double>(std::acos(-1.0L) / (2.0L * a));
}

// The minimiser leaves the modulus where |K(m)/K(1-m) - krat| stops changing to its own
// precision, 2^-26 relative: the poles and zeros would keep that error. Newton's steps on the
// ratio itself, whose slope is pi / (4 m (1 - m) K(1-m)^2) by Legendre's relation, take it to the
// rounding of the ratio in a step or two; they stop where a step no longer halves.
double PolishModulus(double m, double krat) {
  double previous = INFINITY;
  for (int i = 0; i < 8; ++i) {
    const double mc = 1.0 - m;
    if (!(m > 0.0 && mc > 0.0)) break;
    const double Kc = EllipKOfComplement(std::sqrt(m));
    const double step = (EllipK(m) / Kc - krat) * 4.0 * m * mc * Kc * Kc / PI;
    const double next = m - step;
    if (!(std::fabs(step) < previous / 2.0) || !(next > 0.0 && next < 1.0)) break;
    m = next;
    previous = std::fabs(step);
  }
  return m;
}

// The same for the argument u where sc(u|m) = 1/eps, which the simplex search leaves to its own
// tolerance: sc rises with u with the slope dn / cn^2.
double PolishScArgument(double u, double target, double m) {
  double previous = INFINITY;
  for (int i = 0; i < 8; ++i) {
    double sn, cn, dn;
    numeric::EllipJacoby(u, m, kIirTol, sn, cn, dn);
    const double step = (sn / cn - target) * cn * cn / dn;
    if (!(std::fabs(step) < previous / 2.0)) break;
    u -= step;
    previous = std::fabs(step);
  }
  return u;
}

// |c0 - sn(u)/cn(u)| for the parameter c1: 0 where sc(u) = 1/eps.
double VRatioCost(std::span<const double> u, std::span<const double> c, std::span<classlib::TPersistent* const>) {
  double sn, cn, dn;
  numeric::EllipJacoby(u[0], c[1], kIirTol, sn, cn, dn);
  return std::fabs(c[0] - sn / cn);
}

// The roots of the reverse Bessel polynomial theta_N, from the eigenvalues of its companion
// matrix, polished by Aberth's simultaneous iteration. Past order 20 the eigenvalues alone are
// wrong (by 10 % of their size at order 30): the roots are very sensitive to the coefficients, and
// theta_N evaluated in double precision near them is all rounding. The iteration evaluates
// theta_N and its derivative by Horner's rule on the integer coefficients in quadruple
// precision, within 2N roundings of the sum of the terms' sizes; that sum is up to 1e27 times
// the derivative at a root of order 50 (1e21 at order 40, 5e15 at order 30), so the roots keep
// the last digit of a double up to order 30, 1e-13 of their size at order 40 and 1e-8 at 50.
using Quad = __float128;
struct TQuadCx {
  Quad re, im;
};
TQuadCx operator+(TQuadCx a, TQuadCx b) { return {a.re + b.re, a.im + b.im}; }
TQuadCx operator-(TQuadCx a, TQuadCx b) { return {a.re - b.re, a.im - b.im}; }
TQuadCx operator*(TQuadCx a, TQuadCx b) { return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re}; }
Quad Norm(TQuadCx a) { return a.re * a.re + a.im * a.im; }
TQuadCx operator/(TQuadCx a, TQuadCx b) {
  const Quad d = Norm(b);
  return {(a.re * b.re + a.im * b.im) / d, (a.im * b.re - a.re * b.im) / d};
}

void PolishBesselRoots(CxList& roots, std::int32_t N) {
  // a_k = (2N - k)! / (2^(N-k) k! (N-k)!), from a_N = 1 down by a_k = a_(k+1) (2N - k)(k + 1) /
  // (2 (N - k)): exact up to 2^113, within N roundings above.
  std::vector<Quad> a(static_cast<std::size_t>(N) + 1);
  a[static_cast<std::size_t>(N)] = 1;
  for (std::int32_t k = N - 1; k >= 0; --k)
    a[static_cast<std::size_t>(k)] = a[static_cast<std::size_t>(k) + 1] * Quad(2 * N - k) * Quad(k + 1) / Quad(2 * (N - k));
  const std::size_t n = roots.size();
  std::vector<TQuadCx> r(n);
  for (std::size_t i = 0; i < n; ++i) r[i] = {roots[i].real(), roots[i].imag()};
  const TQuadCx one{1, 0};
  // The steps shrink cubically once the roots are near; where rounding stops them first, the
  // iteration ends when a few passes have not made the steps smaller.
  Quad best = 1;
  int sinceBest = 0;
  for (int iteration = 0; iteration < 100 && sinceBest < 6; ++iteration) {
    Quad largest = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const TQuadCx s = r[i];
      TQuadCx t{a[static_cast<std::size_t>(N)], 0}, d{0, 0};
      for (std::int32_t k = N - 1; k >= 0; --k) {
        d = d * s + t;
        t = t * s + TQuadCx{a[static_cast<std::size_t>(k)], 0};
      }
      const TQuadCx ratio = t / d;
      TQuadCx repulsion{0, 0};
      for (std::size_t j = 0; j < n; ++j)
        if (j != i) repulsion = repulsion + one / (s - r[j]);
      const TQuadCx step = ratio / (one - ratio * repulsion);
      r[i] = s - step;
      largest = std::max(largest, Norm(step) / Norm(r[i]));
    }
    if (!(largest == largest)) return;  // NaN: keep the eigenvalues
    if (largest < Quad(1e-36)) break;
    if (largest < best / 4) {
      best = largest;
      sinceBest = 0;
    } else if (best < Quad(1e-10)) {
      ++sinceBest;
    }
  }
  for (std::size_t i = 0; i < n; ++i) roots[i] = Cx(static_cast<double>(r[i].re), static_cast<double>(r[i].im));
  // Each root moved on its own, so a pair ends conjugate only to the polish's accuracy (1e-8 at
  // order 50): the pair is made exactly conjugate, and the real root of an odd order real, so
  // that the filter realised in real sections is the one the roots describe.
  std::vector<bool> paired(n, false);
  for (std::size_t i = 0; i < n; ++i) {
    if (paired[i]) continue;
    std::size_t partner = i;
    double distance = INFINITY;
    for (std::size_t j = 0; j < n; ++j)
      if (j != i && !paired[j] && std::abs(roots[j] - std::conj(roots[i])) < distance) {
        distance = std::abs(roots[j] - std::conj(roots[i]));
        partner = j;
      }
    if (partner == i || distance > std::abs(roots[i].imag())) {
      roots[i] = Cx(roots[i].real(), 0.0);
      paired[i] = true;
      continue;
    }
    const Cx mean = (roots[i] + std::conj(roots[partner])) / 2.0;
    roots[i] = mean;
    roots[partner] = std::conj(mean);
    paired[i] = paired[partner] = true;
  }
}

}  // namespace

void ButterPrototype(std::int32_t N, TVec& Z, TVec& P, double& K) {
  CxList p(static_cast<std::size_t>(std::max(N, 0)));
  for (std::int32_t k = 1; k <= N / 2; ++k) {
    const Cx r = std::polar(1.0, PoleAngle(k, N));
    p[2 * k - 2] = r;
    p[2 * k - 1] = std::conj(r);
  }
  if (N % 2 == 1) p[N - 1] = Cx(-1.0, 0.0);
  P.Size(N, true);
  detail::SetRoots(P, p);
  Z.Size(0, true);
  K = DcGain({}, p);
}

void Cheby1Prototype(std::int32_t N, TVec& Z, TVec& P, double Rp, double& K) {
  const double eps = std::sqrt(Pow10m1(Rp));
  const double mu = std::asinh(1.0 / eps) / N;
  P.Size(N, true);
  CxList p(static_cast<std::size_t>(N));
  for (std::int32_t k = 1; k <= N; ++k) {
    const double theta = PoleAngle(k, N);
    p[k - 1] = Cx(std::sinh(mu) * std::cos(theta), std::cosh(mu) * std::sin(theta));
  }
  detail::SetRoots(P, p);
  Z.Size(0, true);
  K = DcGain({}, p);
  if (N % 2 == 0) K /= std::sqrt(eps * eps + 1.0);
}

void Cheby2Prototype(std::int32_t N, TVec& Z, TVec& P, double Rs, double& K) {
  const double delta = 1.0 / std::sqrt(Pow10m1(Rs));
  const double mu = std::asinh(1.0 / delta) / N;
  P.Size(N, true);
  CxList z;
  auto zero = [N](std::int32_t a) { return Cx(0.0, 1.0 / std::cos(a * PI / (2.0 * N))); };
  if (N % 2 == 1) {
    // The middle index, where the cosine vanishes, has no zero.
    for (std::int32_t j = 0; j < N / 2; ++j) {
      const std::int32_t a = 2 * j + 1;
      z.push_back(zero(a));
      z.push_back(zero(2 * N - a));
    }
  } else {
    for (std::int32_t k = 1; k <= N; ++k) z.push_back(zero(2 * k - 1));
  }
  CxList p(static_cast<std::size_t>(N));
  for (std::int32_t k = 1; k <= N; ++k) {
    const double theta = PoleAngle(k, N);
    p[k - 1] = 1.0 / Cx(std::sinh(mu) * std::cos(theta), std::cosh(mu) * std::sin(theta));
  }
  detail::SetRoots(Z, z);
  detail::SetRoots(P, p);
  K = DcGain(z, p);
}

void EllipPrototype(std::int32_t N, TVec& Z, TVec& P, double Rp, double Rs, double& K) {
  if (N < 1 || N > MaxIirOrder) RaiseError(msg::OrderRange);
  if (N == 1) {
    const double p = -std::sqrt(1.0 / Pow10m1(Rp));
    Z.Size(0, true);
    detail::SetRoots(P, {Cx(p, 0.0)});
    K = -p;
    return;
  }
  const double eps = std::sqrt(Pow10m1(Rp));
  const double k1 = eps / std::sqrt(Pow10m1(Rs));
  const double k1p = std::sqrt(1.0 - k1 * k1);
  if (k1p == 1.0) RaiseError(msg::RippleRange);

  // The modulus m whose ratio of quarter periods is N times that of the stated band edges.
  const double K1 = EllipK(k1 * k1), K1p = EllipKOfComplement(k1);
  const std::array<double, 1> kratio{N * K1 / K1p};
  double m = 0.0;
  numeric::MinBrent(KRatioCost, kratio, 0.0, 1.0, {}, m, kIirMaxIter, kIirTol);
  m = PolishModulus(m, kratio[0]);
  const double capk = EllipK(m);

  // The argument where the ripple's sc reaches 1/eps places the poles off the axis.
  const std::array<double, 2> vratio{1.0 / eps, k1p * k1p};
  std::array<double, 1> u{EllipK(1.0 - m)};
  double fmin = 0.0;
  std::uint8_t stop = 0;
  numeric::Simplex(VRatioCost, u, vratio, {}, fmin, stop, kIirMaxIter, kIirTol);
  const double vp = capk * PolishScArgument(u[0], vratio[0], vratio[1]) / (N * K1);
  double sv, cv, dv;
  numeric::EllipJacoby(vp, 1.0 - m, kIirTol, sv, cv, dv);

  CxList z, p;
  for (std::int32_t j = 0; j <= (N - 1) / 2; ++j) {
    const double cj = N % 2 == 1 ? 2.0 * j : 2.0 * j + 1.0;
    double s, c, d;
    numeric::EllipJacoby(cj * capk / N, m, kIirTol, s, c, d);
    if (std::fabs(s) > EPS) {
      const Cx zero(0.0, 1.0 / (std::sqrt(m) * s));
      z.push_back(zero);
      z.push_back(std::conj(zero));
    }
    Cx pole = Cx(-c * d * sv * cv, -s * dv) / (1.0 - (d * sv) * (d * sv));
    if (N % 2 == 0) {
      p.push_back(pole);
      p.push_back(std::conj(pole));
    } else if (std::fabs(pole.imag()) > 2.0 * EPS) {
      p.push_back(pole);
      if (static_cast<std::int32_t>(p.size()) < N) p.push_back(std::conj(pole));
    } else {
      p.push_back(Cx(pole.real(), 0.0));
    }
  }
  detail::SetRoots(Z, z);
  detail::SetRoots(P, p);
  K = DcGain(z, p);
  if (N % 2 == 0) K /= std::sqrt(eps * eps + 1.0);
}

void BesselPrototype(std::int32_t N, TVec& Z, TVec& P, double& K) {
  K = 1.0;
  Z.Size(0, true);
  if (N <= 0) {
    P.Size(0, true);
    return;
  }
  // (2N)! / N!, whose N-th root over 2 is the geometric mean of the roots' magnitudes.
  double f = 1.0;
  for (std::int32_t i = N + 1; i <= 2 * N; ++i) f *= i;
  const double w = std::pow(f, 1.0 / N) / 2.0;

  // The reverse Bessel polynomial by theta_k = (2k - 1) theta_(k-1) + s^2 theta_(k-2).
  std::vector<double> b{1.0, 1.0}, c;
  if (N >= 2) {
    c = b;
    b = {1.0, 3.0, 3.0};
    for (std::int32_t k = 3; k <= N; ++k) {
      std::vector<double> a(c);
      a.resize(c.size() + 2, 0.0);
      for (std::size_t i = 0; i < b.size(); ++i) a[a.size() - b.size() + i] += (2.0 * k - 1.0) * b[i];
      c = b;
      b = a;
    }
  }
  numeric::TCachedVec theta;
  theta->SetIt(false, b);
  numeric::PolyRoots(P, *theta);
  CxList p = detail::Roots(P);
  PolishBesselRoots(p, N);
  for (Cx& r : p) r /= w;
  detail::SetRoots(P, p);
}

}  // namespace dsp

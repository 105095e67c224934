// The bounds within which our IIR prototypes and scipy's agree, derived from each computation's
// rounding and condition; the elliptic prototype's from the modulus and sc-argument that the
// oracle table data/iir_oracle.txt gives with their sensitivities.
#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "dsp/tests/IirTestUtil.h"
#include "numeric/SpecialFuncs.h"
#include "numeric/tests/OracleLines.h"

namespace dsp::testutil {

// The bounds a prototype is compared within. Each root is a closed form of the prototype's
// parameters but for the elliptic modulus and sc-argument, which are roots of equations, and the
// Bessel poles, which are the zeros of a polynomial. A bound is the error of one side's
// computation (ours, scipy's), times 2 for the two sides and a margin of 2, unless it says
// otherwise.
struct TPrototypeBounds {
  std::vector<double> zeros, poles;  // absolute, for each expected root
  double gain = 0.0;                 // relative
};

// The error of a product of roots: the roots' own relative errors add up, and each of the two
// sides' complex products rounds within 4u per factor.
inline double ProductBound(const std::vector<Cx>& roots, const std::vector<double>& bounds) {
  double sum = 0.0;
  for (std::size_t i = 0; i < roots.size(); ++i) sum += bounds[i] / std::abs(roots[i]);
  return sum + 2.0 * 4.0 * kU * static_cast<double>(roots.size());
}

// The elliptic prototype (order 2 and more) takes its roots from the modulus m, the root of
// K(m)/K(1-m) = krat, and from the argument r where sc(r | 1 - k1^2) = 1/eps; the oracle gives
// both as scipy finds them and the roots' sensitivities to each (S, V per root; Sk, Vk for the
// gain). Our Newton steps stop where the equations' residuals are rounding: K(m), K(1-m), their
// quotient and krat (N K1 / K1', three roundings) make 8u of R = krat, so m is off by
// 8u R / R'(m) with R'(m) = pi / (4 m (1-m) K(1-m)^2), plus u m for m's own rounding; sc(r) is
// within 8u/eps of 1/eps, so r is off by 8u/eps cn^2/dn, plus u r. scipy's m comes from the
// nome q = exp(-pi/R): the exponent's three roundings give 3u pi/R relative, q's power and m's
// series 12u more; its r comes from five or so Landen steps, 16u r. Both sides then evaluate the
// same formulas from m and r: 32u per root, and the gain's product of 2N roots 8u each.
inline TPrototypeBounds EllipticBounds(const numeric::testutil::TOracleFields& f, int n, double rp, double rs,
                                const std::vector<Cx>& zeros, const std::vector<Cx>& poles) {
  const double m = std::stod(f[8]), S = std::stod(f[9]), Sk = std::stod(f[10]);
  const double r = std::stod(f[11]), V = std::stod(f[12]), Vk = std::stod(f[13]);
  const double epsSq = Pow10m1(rp), k1Sq = epsSq / Pow10m1(rs);
  const double K = numeric::EllipComplete(m), Kc = numeric::EllipComplete(1.0 - m);
  const double R = K / Kc;
  const double slope = M_PI / (4.0 * m * (1.0 - m) * Kc * Kc);
  const double dm = 8.0 * kU * R / slope + kU * m + m * kU * (3.0 * M_PI / R + 12.0);
  double sn = 0.0, cn = 0.0, dn = 0.0;
  numeric::EllipJacoby(r, 1.0 - k1Sq, kU, sn, cn, dn);
  const double dr = (8.0 * kU / std::sqrt(epsSq) * cn * cn / dn + kU * r + 16.0 * kU * r) / r;
  const double margin = 2.0;
  const double root = margin * (S * dm + V * dr + 2.0 * 32.0 * kU);
  return TPrototypeBounds{RelativeBounds(zeros, root), RelativeBounds(poles, root),
                          margin * (Sk * dm + Vk * dr + 2.0 * 8.0 * kU * 2.0 * n)};
}

inline TPrototypeBounds PrototypeBounds(const numeric::testutil::TOracleFields& f, const std::vector<Cx>& zeros,
                                 const std::vector<Cx>& poles) {
  const int kind = std::stoi(f[1]), n = std::stoi(f[2]);
  const double rp = std::stod(f[3]), rs = std::stod(f[4]);
  TPrototypeBounds b;
  switch (kind) {
    case 0:
      b.poles = RelativeBounds(poles, 2.0 * 2.0 * ButterRootError());
      break;
    case 1:
      b.poles = RelativeBounds(poles, 2.0 * 2.0 * ChebyshevRootError(std::sqrt(Pow10m1(rp)), n));
      break;
    case 2:
      b.zeros = RelativeBounds(zeros, 2.0 * 2.0 * ChebyshevZeroError(n));
      b.poles = RelativeBounds(poles, 2.0 * 2.0 * ChebyshevRootError(1.0 / std::sqrt(Pow10m1(rs)), n));
      break;
    case 3:
      // Order 1 is the closed form sqrt(1 / (10^(Rp/10) - 1)): 4u a side.
      if (n == 1) {
        b.poles = RelativeBounds(poles, 2.0 * 2.0 * 4.0 * kU);
        break;
      }
      return EllipticBounds(f, n, rp, rs, zeros, poles);
    default:
      // The oracle's Bessel poles are exact to their rounding.
      b.poles = BesselRootErrors(n, poles);
      for (std::size_t i = 0; i < poles.size(); ++i) b.poles[i] = 2.0 * (b.poles[i] + kU * std::abs(poles[i]));
      break;
  }
  b.gain = ProductBound(zeros, b.zeros) + ProductBound(poles, b.poles);
  return b;
}

// The bounds for a prototype of the given requirements, from the oracle's prototype line of the
// same requirements where the elliptic one needs its modulus; zeros and poles are the roots the
// bounds are for.
inline TPrototypeBounds PrototypeBoundsFor(int kind, int n, double rp, double rs, const std::vector<Cx>& zeros,
                                           const std::vector<Cx>& poles) {
  numeric::testutil::TOracleFields f{"proto", std::to_string(kind), std::to_string(n), std::to_string(rp),
                                     std::to_string(rs)};
  if (kind == 3 && n > 1)
    for (const auto& line : numeric::testutil::ReadOracleCases("iir_oracle.txt", "proto"))
      if (std::stoi(line[1]) == 3 && std::stoi(line[2]) == n && std::stod(line[3]) == rp && std::stod(line[4]) == rs)
        f = line;
  EXPECT_TRUE(kind != 3 || n == 1 || f.size() > 8) << "no elliptic prototype line for Rp " << rp << ", Rs " << rs;
  return PrototypeBounds(f, zeros, poles);
}

// The largest relative bound over a prototype's roots: how far any of them may be off.
inline double LargestRelativeBound(const TPrototypeBounds& b, const std::vector<Cx>& zeros,
                                   const std::vector<Cx>& poles) {
  double largest = 0.0;
  for (std::size_t i = 0; i < zeros.size(); ++i) largest = std::max(largest, b.zeros[i] / std::abs(zeros[i]));
  for (std::size_t i = 0; i < poles.size(); ++i) largest = std::max(largest, b.poles[i] / std::abs(poles[i]));
  return largest;
}

}  // namespace dsp::testutil

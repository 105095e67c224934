// IIR prototypes, order estimates and designs against scipy.signal, through the committed table
// data/iir_oracle.txt (made by data/gen_iir_oracle.py): every prototype, every estimator on every
// band type, and every design method and band type on every road, analog and digital, as zeros,
// poles and gain and as a transfer function.
//
// Where the gains differ from scipy's by design, the expected gain is scipy's times 10^(Rp/20):
// even-order Chebyshev I and elliptic designs on ftZeroPoleDiscrete (unit gain at the reference
// frequency of every band type), and the same as bandstops on ftZeroPoleAnalog (unit gain at
// zero frequency); scipy keeps the ripple's peaks at 1, its DC gain at -Rp dB.
//
// Covers: dsp/IirPrototypes.cpp, IirOrder.cpp, IirDesign.cpp and the conversions under them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "dsp/IIRFilters.h"
#include "numeric/SpecialFuncs.h"
#include "dsp/tests/IirTestUtil.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

using numeric::TVec;
using numeric::testutil::OracleNumbers;
using orvel::testing::NearRel;
using testutil::Cx;
using testutil::CxField;
using testutil::BesselRootErrors;
using testutil::ButterRootError;
using testutil::ChebyshevRootError;
using testutil::ChebyshevZeroError;
using testutil::kU;
using testutil::Pow10m1;
using testutil::RelativeBounds;
using testutil::RootsOf;
using testutil::SameCoefficients;
using testutil::SameRoots;

std::vector<numeric::testutil::TOracleFields> Cases(const std::string& tag) {
  return numeric::testutil::ReadOracleCases("iir_oracle.txt", tag);
}

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
double ProductBound(const std::vector<Cx>& roots, const std::vector<double>& bounds) {
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
TPrototypeBounds EllipticBounds(const numeric::testutil::TOracleFields& f, int n, double rp, double rs,
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

TPrototypeBounds PrototypeBounds(const numeric::testutil::TOracleFields& f, const std::vector<Cx>& zeros,
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

TEST(IirOracle, PrototypesMatchScipy) {
  const auto cases = Cases("proto");
  ASSERT_GT(cases.size(), 100u);
  for (const auto& f : cases) {
    const int kind = std::stoi(f[1]), n = std::stoi(f[2]);
    const double rp = std::stod(f[3]), rs = std::stod(f[4]);
    SCOPED_TRACE("kind " + f[1] + " N " + f[2] + " Rp " + f[3] + " Rs " + f[4]);
    TVec z, p;
    double k = 0.0;
    switch (kind) {
      case 0: ButterPrototype(n, z, p, k); break;
      case 1: Cheby1Prototype(n, z, p, rp, k); break;
      case 2: Cheby2Prototype(n, z, p, rs, k); break;
      case 3: EllipPrototype(n, z, p, rp, rs, k); break;
      default: BesselPrototype(n, z, p, k); break;
    }
    const std::vector<Cx> zeros = CxField(f[5]), poles = CxField(f[6]);
    const TPrototypeBounds b = PrototypeBounds(f, zeros, poles);
    EXPECT_TRUE(SameRoots(RootsOf(z), zeros, b.zeros));
    EXPECT_TRUE(SameRoots(RootsOf(p), poles, b.poles));
    EXPECT_TRUE(NearRel(k, std::stod(f[7]), b.gain));
    // The ripple's bottom at the passband edge, 1 rad/s; at DC the top for odd orders, the bottom
    // for even ones. The roots and the gain within their bounds move the response by
    // ResponseBound, and the target 10^(-Rp/20) rounds within 2u.
    if (kind == 1 || kind == 3) {
      const double bottom = std::pow(10.0, -rp / 20.0);
      for (double w : {1.0, 0.0}) {
        const double target = w == 1.0 || n % 2 == 0 ? bottom : 1.0;
        const double bound = testutil::ResponseBound(zeros, b.zeros, poles, b.poles, b.gain, Cx(0.0, w)) + 2.0 * kU;
        EXPECT_TRUE(NearRel(testutil::Magnitude(z, p, k, true, w), target, bound)) << "at " << w << " rad/s";
      }
    }
  }
}

TEST(IirOracle, OrdersAndCutoffsMatchScipy) {
  const auto cases = Cases("order");
  ASSERT_EQ(cases.size(), 60u);
  for (const auto& f : cases) {
    const int kind = std::stoi(f[1]);
    const auto type = static_cast<TFilterType>(std::stoi(f[2]));
    const bool analog = f[3] == "1";
    const std::vector<double> edges = OracleNumbers(f[4]);
    const double rp = std::stod(f[5]), rs = std::stod(f[6]);
    const std::vector<double> expected = OracleNumbers(f[8]);
    SCOPED_TRACE(f[0] + ";" + f[1] + ";" + f[2] + ";" + f[3] + ";" + f[4] + ";" + f[5] + ";" + f[6]);
    std::vector<double> cutoffs(edges.size() / 2);
    std::int32_t n = 0;
    switch (kind) {
      case 0: n = ButterOrder(edges, type, rp, rs, cutoffs, analog); break;
      case 1: n = Cheby1Order(edges, type, rp, rs, cutoffs, analog); break;
      case 2: n = Cheby2Order(edges, type, rp, rs, cutoffs, analog); break;
      default: n = EllipOrder(edges, type, rp, rs, cutoffs, analog); break;
    }
    EXPECT_EQ(n, std::stoi(f[7]));
    // A bandstop's moved passband edges are minimisers: scipy stops within 1e-5 of them.
    const double tol = type == fltBandstop ? 1e-4 : 1e-12;
    ASSERT_EQ(cutoffs.size(), expected.size());
    for (std::size_t i = 0; i < cutoffs.size(); ++i) EXPECT_TRUE(NearRel(cutoffs[i], expected[i], tol)) << i;
  }
}

struct TDesignCase {
  int kind;
  TFilterType type;
  bool analog;
  std::int32_t n;
  double rp, rs;
  std::vector<double> cutoffs;
  std::vector<testutil::Cx> z, p;
  double k;
  std::vector<double> b, a;
};

std::vector<TDesignCase> Designs() {
  std::vector<TDesignCase> out;
  for (const auto& f : Cases("design"))
    out.push_back(TDesignCase{std::stoi(f[1]), static_cast<TFilterType>(std::stoi(f[2])), f[3] == "1",
                              std::stoi(f[4]), std::stod(f[5]), std::stod(f[6]), OracleNumbers(f[7]),
                              CxField(f[8]), CxField(f[9]), std::stod(f[10]), OracleNumbers(f[11]),
                              OracleNumbers(f[12])});
  return out;
}

double DesignZp(const TDesignCase& c, TVec& z, TVec& p, double& k, TIirFrequencyTransform t) {
  switch (c.kind) {
    case 0: return ButterZp(c.n, c.cutoffs, c.type, c.analog, z, p, k, t);
    case 1: return Cheby1Zp(c.n, c.cutoffs, c.rp, c.type, c.analog, z, p, k, t);
    case 2: return Cheby2Zp(c.n, c.cutoffs, c.rs, c.type, c.analog, z, p, k, t);
    case 3: return EllipZp(c.n, c.cutoffs, c.rp, c.rs, c.type, c.analog, z, p, k, t);
    default: return BesselZp(c.n, c.cutoffs, c.type, c.analog, z, p, k, t);
  }
}

double DesignTf(const TDesignCase& c, TVec& b, TVec& a, TIirFrequencyTransform t) {
  switch (c.kind) {
    case 0: return ButterTf(c.n, c.cutoffs, c.type, c.analog, b, a, t);
    case 1: return Cheby1Tf(c.n, c.cutoffs, c.rp, c.type, c.analog, b, a, t);
    case 2: return Cheby2Tf(c.n, c.cutoffs, c.rs, c.type, c.analog, b, a, t);
    case 3: return EllipTf(c.n, c.cutoffs, c.rp, c.rs, c.type, c.analog, b, a, t);
    default: return BesselTf(c.n, c.cutoffs, c.type, c.analog, b, a, t);
  }
}

// scipy's gain, or the gain of unit response at the reference frequency where the road sets it.
double ExpectedGainFactor(const TDesignCase& c, TIirFrequencyTransform t) {
  const bool rippleBelowOne = (c.kind == 1 || c.kind == 3) && c.n % 2 == 0;
  if (!rippleBelowOne) return 1.0;
  if (t == ftZeroPoleDiscrete || (t == ftZeroPoleAnalog && c.type == fltBandstop))
    return std::pow(10.0, c.rp / 20.0);
  return 1.0;
}

TEST(IirOracle, DesignsMatchScipyOnEveryRoad) {
  const auto designs = Designs();
  ASSERT_GT(designs.size(), 200u);
  for (const TDesignCase& c : designs) {
    for (TIirFrequencyTransform t : {ftStateSpaceAnalog, ftZeroPoleAnalog, ftZeroPoleDiscrete}) {
      if (c.analog && t == ftZeroPoleDiscrete) continue;
      SCOPED_TRACE("kind " + std::to_string(c.kind) + " type " + std::to_string(c.type) + " analog " +
                   std::to_string(c.analog) + " N " + std::to_string(c.n) + " road " + std::to_string(t));
      const double tol = c.kind == 3 ? 1e-7 : 1e-12;
      TVec z, p, b, a;
      double k = 0.0;
      const double wn = DesignZp(c, z, p, k, t);
      EXPECT_TRUE(SameRoots(RootsOf(z), c.z, tol));
      EXPECT_TRUE(SameRoots(RootsOf(p), c.p, tol));
      const double factor = ExpectedGainFactor(c, t);
      EXPECT_TRUE(NearRel(k, c.k * factor, 10 * tol));
      EXPECT_EQ(DesignTf(c, b, a, t), wn);
      ASSERT_FALSE(b.Complex());
      ASSERT_FALSE(a.Complex());
      std::vector<double> expectedB = c.b;
      for (double& x : expectedB) x *= factor;
      EXPECT_TRUE(SameCoefficients(testutil::Reals(b), expectedB, 10 * tol));
      EXPECT_TRUE(SameCoefficients(testutil::Reals(a), c.a, 10 * tol));
    }
  }
}

}  // namespace
}  // namespace dsp

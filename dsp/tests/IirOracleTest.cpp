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
#include "dsp/tests/PrototypeBounds.h"
#include "dsp/tests/RoadBounds.h"
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
using testutil::CoefficientBounds;
using testutil::PrototypeBounds;
using testutil::PrototypeBoundsFor;
using testutil::TPrototypeBounds;
using testutil::EigenRounding;
using testutil::EigenvalueBounds;
using testutil::FrobeniusNorm;
using testutil::NearestBound;
using testutil::RoadSystem;
using testutil::ShapeBound;
using testutil::SystemResponseBound;
using testutil::SystemRounding;
using testutil::TBand;
using testutil::TBoundedRoot;
using testutil::TRoad;
using testutil::TRoadSystem;
using testutil::ZeroPoleAnalogGainBound;
using testutil::ZeroBounds;
using testutil::ZeroPoleRootBounds;

std::vector<numeric::testutil::TOracleFields> Cases(const std::string& tag) {
  return numeric::testutil::ReadOracleCases("iir_oracle.txt", tag);
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
    testutil::MakePrototype(kind, n, rp, rs, z, p, k);
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
    // Each side derives the cutoffs from the edges by prewarping them (a tangent), a handful of
    // operations, powers and roots, and an unwarp (an arctangent): 16u of the edges and 16u of
    // the result, the former carried over by the cutoffs' sensitivity Sr to relative changes of
    // the edges. A bandstop's pass edges are minimisers, ours within 2^-26 |x| + 2^-52 / 3 (the
    // minimiser's stopping test at the tolerance it is given), scipy's fminbound within
    // 2 (sqrt(eps) |x| + 1e-5 / 3) at its default tolerance; Sa carries that over. A margin of 2.
    const double relative = std::stod(f[9]), absolute = std::stod(f[10]);
    double minimiser = 0.0;
    if (type == fltBandstop)
      for (double x : OracleNumbers(f[11]))
        minimiser = std::max(minimiser, 0x1p-26 * std::fabs(x) + 0x1p-52 / 3.0 +
                                            2.0 * (std::sqrt(0x1p-52) * std::fabs(x) + 1e-5 / 3.0));
    ASSERT_EQ(cutoffs.size(), expected.size());
    for (std::size_t i = 0; i < cutoffs.size(); ++i)
      EXPECT_NEAR(cutoffs[i], expected[i],
                  2.0 * (2.0 * 16.0 * kU * (relative + std::fabs(expected[i])) + absolute * minimiser))
          << i;
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


// Every design against scipy's, each road within what its computation and scipy's hold: both
// prototypes within their bounds (PrototypesMatchScipy), carried to the design's roots by their
// condition against the prototype's roots (RoadBounds.h); scipy's road and our zero-pole roads
// rounding 16u of their data; the state-space road's roots within their eigenvalue bounds. The
// gains add the prototypes' gains, each side's band factors, and the responses at the reference
// point where a road fixes the gain; the transfer functions carry the roots' and the gain's
// bounds to their coefficients. A margin of 2 on every sum.
TEST(IirOracle, DesignsMatchScipyOnEveryRoad) {
  const double margin = 2.0;
  const auto designs = Designs();
  ASSERT_GT(designs.size(), 200u);
  for (const TDesignCase& c : designs) {
    TVec z0, p0;
    double k0 = 0.0;
    testutil::MakePrototype(c.kind, c.n, c.rp, c.rs, z0, p0, k0);
    const TPrototypeBounds proto = PrototypeBoundsFor(c.kind, c.n, c.rp, c.rs, RootsOf(z0), RootsOf(p0));
    // The prototype's roots differ by at most this, relative.
    const double protoError = testutil::LargestRelativeBound(proto, RootsOf(z0), RootsOf(p0));

    double u[2] = {0.0, 0.0};
    for (std::size_t i = 0; i < c.cutoffs.size(); ++i) u[i] = c.analog ? c.cutoffs[i] : Prewarp(c.cutoffs[i], 2.0);
    const bool band = c.cutoffs.size() == 2;
    const double wo = band ? std::sqrt(u[0] * u[1]) : u[0], bw = band ? u[1] - u[0] : 0.0;
    const TBand bandOf{c.type, wo, bw, c.analog};
    const bool atInfinity = c.analog && c.type == fltHighpass;
    const Cx x0 = c.analog ? (c.type == fltBandpass ? Cx(0.0, wo) : Cx(0.0, 0.0))
                           : std::polar(1.0, c.type == fltBandpass ? 2.0 * std::atan2(wo, 4.0)
                                             : c.type == fltHighpass ? M_PI
                                                                     : 0.0);
    auto at0 = [&](const std::vector<Cx>& roots, const std::vector<double>& bounds) {
      return atInfinity ? 0.0 : ShapeBound(roots, bounds, x0);
    };
    // scipy's road: 16u of its data and the prototypes' difference.
    const std::vector<double> scipyZeros = ZeroPoleRootBounds(bandOf, c.z, 16.0 * kU + protoError);
    const std::vector<double> scipyPoles = ZeroPoleRootBounds(bandOf, c.p, 16.0 * kU + protoError);
    const double scipyGain = ZeroPoleAnalogGainBound(bandOf, TRoad{c.z, c.p, c.k}, false) + at0(c.z, scipyZeros) +
                             at0(c.p, scipyPoles) + proto.gain;

    for (TIirFrequencyTransform t : {ftStateSpaceAnalog, ftZeroPoleAnalog, ftZeroPoleDiscrete}) {
      if (c.analog && t == ftZeroPoleDiscrete) continue;
      SCOPED_TRACE("kind " + std::to_string(c.kind) + " type " + std::to_string(c.type) + " analog " +
                   std::to_string(c.analog) + " N " + std::to_string(c.n) + " road " + std::to_string(t));
      TVec z, p, b, a;
      double k = 0.0;
      const double wn = DesignZp(c, z, p, k, t);
      const TRoad ours{RootsOf(z), RootsOf(p), k};
      std::vector<double> zeroBounds, poleBounds, ourZeros, ourPoles;
      double ourGain = 0.0;
      if (t == ftStateSpaceAnalog) {
        TVec zs, ps;
        double ks = 0.0;
        testutil::MakePrototype(c.kind, c.n, c.rp, c.rs, zs, ps, ks);
        TRoadSystem system;
        RoadSystem(zs, ps, ks, c.type, wo, bw, c.analog, system);
        const std::vector<TBoundedRoot> poles = EigenvalueBounds(system.A, EigenRounding(system));
        const bool computedZeros = c.kind == 2 || c.kind == 3;
        const std::vector<TBoundedRoot> zeros =
            computedZeros ? ZeroBounds(system, c.z.size(), EigenRounding(system)) : std::vector<TBoundedRoot>{};
        auto zeroBound = [&](Cx r) { return computedZeros ? NearestBound(zeros, r) : 16.0 * kU * (1.0 + std::abs(r)); };
        for (const Cx& r : ours.z) ourZeros.push_back(zeroBound(r));
        for (const Cx& r : ours.p) ourPoles.push_back(NearestBound(poles, r));
        for (const Cx& r : c.z) zeroBounds.push_back(zeroBound(r));
        for (const Cx& r : c.p) poleBounds.push_back(NearestBound(poles, r));
        const double size = FrobeniusNorm(system.A, system.B, system.C, system.D);
        if (computedZeros) {
          // The staircase's gain, a Markov parameter (RoadsAgreeUpToTheLargestOrder).
          const double r = static_cast<double>(ours.p.size()) - static_cast<double>(ours.z.size());
          ourGain = SystemRounding(system) * (r + 1.0) * std::pow(size, r + 1.0) / std::fabs(k);
        } else if (atInfinity) {
          ourGain = SystemRounding(system) * size / std::fabs(system.D);
        } else {
          Cx h;
          ourGain = SystemResponseBound(system, x0, h, SystemRounding(system)) / std::abs(h);
        }
      } else {
        const bool discrete = t == ftZeroPoleDiscrete;
        const double dataError = discrete ? testutil::DiscreteDataError(c.cutoffs) : 16.0 * kU;
        const testutil::TZeroPoleRoad road = discrete ? testutil::zpDiscreteRoad : testutil::zpAnalogRoad;
        ourZeros = ZeroPoleRootBounds(bandOf, ours.z, dataError, road);
        ourPoles = ZeroPoleRootBounds(bandOf, ours.p, dataError, road);
        zeroBounds = ZeroPoleRootBounds(bandOf, c.z, dataError, road);
        poleBounds = ZeroPoleRootBounds(bandOf, c.p, dataError, road);
        const bool renormalised =
            t == ftZeroPoleDiscrete || (!c.analog && c.type == fltBandstop && (c.kind == 1 || c.kind == 3) && c.n % 2 == 0);
        ourGain = renormalised ? 8.0 * kU * static_cast<double>(ours.z.size() + ours.p.size())
                               : ZeroPoleAnalogGainBound(bandOf, ours, false);
      }
      ourGain += at0(ours.z, ourZeros) + at0(ours.p, ourPoles);
      for (std::size_t i = 0; i < c.z.size(); ++i) zeroBounds[i] = margin * (zeroBounds[i] + scipyZeros[i]);
      for (std::size_t i = 0; i < c.p.size(); ++i) poleBounds[i] = margin * (poleBounds[i] + scipyPoles[i]);
      EXPECT_TRUE(SameRoots(ours.z, c.z, zeroBounds));
      EXPECT_TRUE(SameRoots(ours.p, c.p, poleBounds));
      const double factor = ExpectedGainFactor(c, t);
      const double gainBound = margin * (ourGain + scipyGain);
      EXPECT_TRUE(NearRel(k, c.k * factor, gainBound));
      EXPECT_EQ(DesignTf(c, b, a, t), wn);
      ASSERT_FALSE(b.Complex());
      ASSERT_FALSE(a.Complex());
      std::vector<double> expectedB = c.b;
      for (double& x : expectedB) x *= factor;
      EXPECT_TRUE(SameCoefficients(testutil::Reals(b), expectedB,
                                   CoefficientBounds(c.z, zeroBounds, c.k * factor, gainBound, c.a.size())));
      EXPECT_TRUE(SameCoefficients(testutil::Reals(a), c.a, CoefficientBounds(c.p, poleBounds, 1.0, 0.0, c.a.size())));
    }
  }
}

}  // namespace
}  // namespace dsp

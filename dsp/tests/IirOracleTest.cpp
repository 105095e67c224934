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
#include "dsp/tests/IirTestUtil.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

using numeric::TVec;
using numeric::testutil::OracleNumbers;
using orvel::testing::NearRel;
using testutil::CxField;
using testutil::RootsOf;
using testutil::SameCoefficients;
using testutil::SameRoots;

std::vector<numeric::testutil::TOracleFields> Cases(const std::string& tag) {
  return numeric::testutil::ReadOracleCases("iir_oracle.txt", tag);
}

// Root tolerance of a method: the elliptic prototype finds its modulus by minimisation, to a
// few parts in 1e8 (its gain, the product of all roots, to a few parts in 1e7); the Bessel poles
// of the highest orders lose digits even to a polish in quadruple precision.
double RootTolerance(int kind, int n) {
  if (kind == 3) return 1e-7;
  if (kind == 6) return n > 40 ? 1e-6 : n > 30 ? 1e-12 : 1e-13;
  return 1e-14;
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
    EXPECT_TRUE(SameRoots(RootsOf(z), CxField(f[5]), RootTolerance(kind, n)));
    EXPECT_TRUE(SameRoots(RootsOf(p), CxField(f[6]), RootTolerance(kind, n)));
    EXPECT_TRUE(NearRel(k, std::stod(f[7]), RootTolerance(kind, n) * 10));
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

// The linear-system conversions and transformations against scipy.signal, through the committed
// table data/linear_systems_oracle.txt (made by data/gen_linear_systems_oracle.py): zeros and
// poles to a transfer function, state space of relative degree 0 to 3 to zeros, poles and gain,
// the bilinear transform and the analog band transformations of zeros and poles, and the
// state-space forms of the same transformations, reached through the cascade realisation and
// read back as zeros and poles.
//
// Every comparison is within a bound derived from the computations (RoadBounds.h), with a margin
// of 2: the closed forms on both sides within their rounding and their condition, the roots read
// from a state space within their eigenvalue bounds against the table's exact ones.
//
// Covers: dsp/LinearSystems.cpp, ZeroPoleStateSpace.cpp, SystemZeros.cpp, AnalogTransforms.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "dsp/LinearSystems.h"
#include "dsp/tests/IirTestUtil.h"
#include "dsp/tests/RoadBounds.h"
#include "numeric/Polynoms.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

using numeric::TMtx;
using numeric::TVec;
using numeric::testutil::OracleNumbers;
using orvel::testing::NearRel;
using testutil::CoefficientBounds;
using testutil::Cx;
using testutil::CxField;
using testutil::EigenvalueBounds;
using testutil::FrobeniusNorm;
using testutil::kU;
using testutil::NearestBound;
using testutil::RootsOf;
using testutil::SameCoefficients;
using testutil::SameRoots;
using testutil::SetRoots;
using testutil::TBand;
using testutil::TBoundedRoot;
using testutil::TRoad;
using testutil::TRoadSystem;
using testutil::ZeroBounds;
using testutil::ZeroPoleAnalogGainBound;
using testutil::ZeroPoleRootBounds;

constexpr double kMargin = 2.0;

std::vector<numeric::testutil::TOracleFields> Cases(const std::string& tag) {
  return numeric::testutil::ReadOracleCases("linear_systems_oracle.txt", tag);
}

// K times the monic polynomial of the zeros, real parts.
std::vector<double> Numerator(const TVec& zeros, double k) {
  TVec poly, re;
  numeric::PolyFromRoots(zeros, poly);
  re.RealPart(poly);
  re.Scale(k);
  return testutil::Reals(re);
}

std::vector<double> Scaled(std::vector<double> bounds, double factor) {
  for (double& b : bounds) b *= factor;
  return bounds;
}

// Both sides multiply the same roots out (CoefficientBounds: 2n u of the majorant each).
TEST(LinearSystemsOracle, ZeroPoleToTransferMatchesZpk2tf) {
  const auto cases = Cases("zpk2tf");
  ASSERT_EQ(cases.size(), 7u);
  for (const auto& f : cases) {
    TVec z, p, num, den;
    const std::vector<Cx> zeros = CxField(f[1]), poles = CxField(f[2]);
    SetRoots(z, zeros);
    SetRoots(p, poles);
    const double k = std::stod(f[3]);
    ZeroPoleToTransfer(num, den, z, p, k);
    EXPECT_EQ(num.Length(), den.Length());
    const std::vector<double> none(zeros.size() + poles.size(), 0.0);
    EXPECT_TRUE(SameCoefficients(testutil::Reals(num), OracleNumbers(f[4]),
                                 Scaled(CoefficientBounds(zeros, none, k, 0.0, poles.size() + 1), kMargin)));
    EXPECT_TRUE(SameCoefficients(testutil::Reals(den), OracleNumbers(f[5]),
                                 Scaled(CoefficientBounds(poles, none, 1.0, 0.0, poles.size() + 1), kMargin)));
  }
}

// The table's roots are exact (Newton steps on the system's exact polynomials); ours are
// eigenvalues of A and of the system's pencil, within their bounds for a backward error of
// 4 n u |S|, and the gain the first Markov parameter (RoadsAgreeUpToTheLargestOrder).
TEST(LinearSystemsOracle, StateSpaceToZeroPoleMatchesSs2zpk) {
  const auto cases = Cases("ss2zpk");
  ASSERT_EQ(cases.size(), 21u);
  for (const auto& f : cases) {
    SCOPED_TRACE(f[1] + " states, " + std::to_string(CxField(f[6]).size()) + " zeros");
    const int n = std::stoi(f[1]);
    TRoadSystem s;
    TVec z, p;
    s.A.SetIt(n, n, false, OracleNumbers(f[2]));
    testutil::SetReal(s.B, OracleNumbers(f[3]));
    testutil::SetReal(s.C, OracleNumbers(f[4]));
    s.D = std::stod(f[5]);
    double k = 0.0;
    StateSpaceToZeroPole(z, p, k, s.A, s.B, s.C, s.D);
    const double rounding = 4.0 * n * kU;
    const std::vector<Cx> zeros = CxField(f[6]), poles = CxField(f[7]);
    const std::vector<TBoundedRoot> eigen = EigenvalueBounds(s.A, rounding), pencil = ZeroBounds(s, zeros.size(), rounding);
    std::vector<double> zb, pb;
    for (const Cx& r : zeros) zb.push_back(kMargin * (NearestBound(pencil, r) + kU * std::abs(r)));
    for (const Cx& r : poles) pb.push_back(kMargin * (NearestBound(eigen, r) + kU * std::abs(r)));
    EXPECT_TRUE(SameRoots(RootsOf(z), zeros, zb));
    EXPECT_TRUE(SameRoots(RootsOf(p), poles, pb));
    const double degree = static_cast<double>(poles.size() - zeros.size());
    const double size = FrobeniusNorm(s.A, s.B, s.C, s.D);
    EXPECT_TRUE(NearRel(k, std::stod(f[8]), kMargin * (rounding * (degree + 1.0) * std::pow(size, degree + 1.0) /
                                                            std::fabs(std::stod(f[8])) + kU)));
  }
}

// (f + s) / (f - s), f = 2 FS, on both sides: s / f rounds once, the quotient's three operations
// 3u of |z|, and a change of s / f by u of itself moves z by 2 |s/f| / |1 - s/f|^2 times that.
// The zeros added at -1 are exact. The gain: K Re(prod(f - z) / prod(f - p)), each factor's
// rounding, u |s| / |f - s| and 4u.
TEST(LinearSystemsOracle, BilinearZeroPoleMatchesBilinearZpk) {
  const auto cases = Cases("bilinear_zpk");
  ASSERT_EQ(cases.size(), 4u);
  for (const auto& f : cases) {
    TVec z, p;
    const std::vector<Cx> z0 = CxField(f[1]), p0 = CxField(f[2]);
    SetRoots(z, z0);
    SetRoots(p, p0);
    double k = std::stod(f[3]);
    const double fs2 = 2.0 * std::stod(f[4]);
    BilinearZeroPole(z, p, k, std::stod(f[4]), true);
    auto bounds = [&](const std::vector<Cx>& roots) {
      std::vector<double> out;
      for (const Cx& x : roots) {
        const Cx t = (x - 1.0) / (x + 1.0);  // s / f
        out.push_back(std::abs(x + 1.0) == 0.0
                          ? 0.0
                          : kMargin * 2.0 * kU * (3.0 * std::abs(x) + 2.0 * std::abs(t) / std::norm(1.0 - t)));
      }
      return out;
    };
    const std::vector<Cx> zd = CxField(f[5]), pd = CxField(f[6]);
    EXPECT_TRUE(SameRoots(RootsOf(z), zd, bounds(zd)));
    EXPECT_TRUE(SameRoots(RootsOf(p), pd, bounds(pd)));
    double gain = 0.0;
    for (const std::vector<Cx>* roots : {&z0, &p0})
      for (const Cx& s : *roots) gain += kU * std::abs(s) / std::abs(fs2 - s) + 4.0 * kU;
    EXPECT_TRUE(NearRel(k, std::stod(f[7]), kMargin * 2.0 * gain));
  }
}

// The band transformations on both sides, each within 16u of its data times the root's
// condition and the split's rounding (RoadBounds.h); the gains within their factors' rounding.
TEST(LinearSystemsOracle, AnalogTransformationsMatchScipy) {
  const TFilterType types[] = {fltLowpass, fltHighpass, fltBandpass, fltBandstop};
  const char* tags[] = {"lp2lp_zpk", "lp2hp_zpk", "lp2bp_zpk", "lp2bs_zpk"};
  for (int t = 0; t < 4; ++t) {
    const auto cases = Cases(tags[t]);
    ASSERT_EQ(cases.size(), 7u) << tags[t];
    for (const auto& f : cases) {
      SCOPED_TRACE(std::string(tags[t]) + " " + f[1] + " / " + f[2]);
      TVec z, p;
      SetRoots(z, CxField(f[1]));
      SetRoots(p, CxField(f[2]));
      double k = std::stod(f[3]);
      const double wo = std::stod(f[4]), bw = std::stod(f[5]);
      switch (types[t]) {
        case fltLowpass: LowpassToLowpassZp(z, p, k, wo); break;
        case fltHighpass: LowpassToHighpassZp(z, p, k, wo); break;
        case fltBandpass: LowpassToBandpassZp(z, p, k, wo, bw); break;
        default: LowpassToBandstopZp(z, p, k, wo, bw); break;
      }
      const TBand band{types[t], wo, bw, true};
      const std::vector<Cx> zeros = CxField(f[6]), poles = CxField(f[7]);
      EXPECT_TRUE(SameRoots(RootsOf(z), zeros, Scaled(ZeroPoleRootBounds(band, zeros), 2.0 * kMargin)));
      EXPECT_TRUE(SameRoots(RootsOf(p), poles, Scaled(ZeroPoleRootBounds(band, poles), 2.0 * kMargin)));
      // The bandstop's gain is 1 whatever the prototype's (its zeros and poles alone set the
      // response at zero frequency); scipy carries the prototype's DC gain over.
      if (types[t] != fltBandstop) {
        EXPECT_TRUE(NearRel(k, std::stod(f[8]), 2.0 * kMargin * ZeroPoleAnalogGainBound(band, TRoad{zeros, poles, k}, false)));
      }
    }
  }
}

// The coefficient c_m of s^(n-m) in the numerator of a system S of n states sums the minors of
// m + 1 rows and columns that take the output and the input, C(n, m) of them; a change dS moves
// such a minor by at most (m + 1) |S|^m |dS|. The numerator multiplied out from the zeros found
// also rounds within 2n u of its majorant.
std::vector<double> NumeratorBounds(const TRoadSystem& s, const std::vector<Cx>& zeros, double k, double rounding) {
  const int n = s.A.Rows();
  const double size = FrobeniusNorm(s.A, s.B, s.C, s.D);
  const std::vector<double> none(zeros.size(), 0.0);
  std::vector<double> out = CoefficientBounds(zeros, none, k, 0.0, zeros.size() + 1);
  const std::size_t length = out.size();
  double choose = 1.0;
  for (int m = 0; m <= n; ++m) {
    if (m > 0) choose = choose * (n - m + 1) / m;
    const std::size_t i = static_cast<std::size_t>(m) - (static_cast<std::size_t>(n) + 1 - length);
    if (m + length >= static_cast<std::size_t>(n) + 1 && i < length)
      out[i] += choose * (m + 1.0) * std::pow(size, m + 1.0) * rounding;
  }
  return out;
}

TEST(LinearSystemsOracle, StateSpaceTransformationsMatchScipy) {
  for (const char* tag : {"ss_bilinear", "ss_lp", "ss_hp", "ss_bp", "ss_bs"}) {
    const auto cases = Cases(tag);
    ASSERT_EQ(cases.size(), 7u) << tag;
    for (const auto& f : cases) {
      SCOPED_TRACE(std::string(tag) + " " + f[1] + " / " + f[2]);
      TVec z, p;
      SetRoots(z, CxField(f[1]));
      SetRoots(p, CxField(f[2]));
      const double wo = std::stod(f[4]), bw = std::stod(f[5]), fs = std::stod(f[6]);
      const std::string t = tag;
      TRoadSystem s;
      if (t == "ss_bilinear") {
        ZeroPoleToStateSpace(s.A, s.B, s.C, s.D, z, p, std::stod(f[3]));
        TMtx m;
        m.Eye(s.A.Rows(), s.A.Rows(), false);
        m.Add(s.A, -1.0 / (2.0 * fs));
        s.conditionT = testutil::ConditionOf(m);
        BilinearStateSpace(s.A, s.B, s.C, s.D, fs);
      } else {
        const TFilterType type = t == "ss_lp" ? fltLowpass : t == "ss_hp" ? fltHighpass : t == "ss_bp" ? fltBandpass
                                                                                                      : fltBandstop;
        testutil::RoadSystem(z, p, std::stod(f[3]), type, wo, bw, true, s);
      }
      TVec zt, pt;
      double k = 0.0;
      StateSpaceToZeroPole(zt, pt, k, s.A, s.B, s.C, s.D);
      const std::vector<Cx> poles = CxField(f[8]);
      const std::vector<TBoundedRoot> eigen = EigenvalueBounds(s.A, testutil::EigenRounding(s));
      std::vector<double> pb;
      for (const Cx& r : poles) pb.push_back(kMargin * (NearestBound(eigen, r) + kU * std::abs(r)));
      EXPECT_TRUE(SameRoots(RootsOf(pt), poles, pb));
      // The transformations of an all-pole system give multiple zeros (at -1, 0 or +-j wo),
      // which an eigenvalue routine finds only to a root of the rounding; their polynomial is
      // what the zeros must get right, within the bounds of its coefficients.
      TVec expectedZeros;
      SetRoots(expectedZeros, CxField(f[7]));
      const double expectedK = std::stod(f[9]);
      EXPECT_TRUE(SameCoefficients(
          Numerator(zt, k), Numerator(expectedZeros, expectedK),
          Scaled(NumeratorBounds(s, CxField(f[7]), expectedK, testutil::SystemRounding(s)), kMargin)));
    }
  }
}

}  // namespace
}  // namespace dsp

// The linear-system conversions and transformations against scipy.signal, through the committed
// table data/linear_systems_oracle.txt (made by data/gen_linear_systems_oracle.py): zeros and
// poles to a transfer function, state space of relative degree 0 to 3 to zeros, poles and gain,
// the bilinear transform and the analog band transformations of zeros and poles, and the
// state-space forms of the same transformations, reached through the cascade realisation and
// read back as zeros and poles.
//
// Covers: dsp/LinearSystems.cpp, ZeroPoleStateSpace.cpp, SystemZeros.cpp, AnalogTransforms.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "dsp/LinearSystems.h"
#include "dsp/tests/IirTestUtil.h"
#include "numeric/Polynoms.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

using numeric::TMtx;
using numeric::TVec;
using numeric::testutil::OracleNumbers;
using orvel::testing::NearRel;
using testutil::CxField;
using testutil::RootsOf;
using testutil::SameCoefficients;
using testutil::SameRoots;
using testutil::SetRoots;

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

TEST(LinearSystemsOracle, ZeroPoleToTransferMatchesZpk2tf) {
  const auto cases = Cases("zpk2tf");
  ASSERT_EQ(cases.size(), 7u);
  for (const auto& f : cases) {
    TVec z, p, num, den;
    SetRoots(z, CxField(f[1]));
    SetRoots(p, CxField(f[2]));
    ZeroPoleToTransfer(num, den, z, p, std::stod(f[3]));
    EXPECT_EQ(num.Length(), den.Length());
    EXPECT_TRUE(SameCoefficients(testutil::Reals(num), OracleNumbers(f[4]), 1e-14));
    EXPECT_TRUE(SameCoefficients(testutil::Reals(den), OracleNumbers(f[5]), 1e-14));
  }
}

TEST(LinearSystemsOracle, StateSpaceToZeroPoleMatchesSs2zpk) {
  const auto cases = Cases("ss2zpk");
  ASSERT_EQ(cases.size(), 21u);
  for (const auto& f : cases) {
    SCOPED_TRACE(f[1] + " states, " + std::to_string(CxField(f[6]).size()) + " zeros");
    const int n = std::stoi(f[1]);
    TMtx a;
    TVec b, c, z, p;
    a.SetIt(n, n, false, OracleNumbers(f[2]));
    testutil::SetReal(b, OracleNumbers(f[3]));
    testutil::SetReal(c, OracleNumbers(f[4]));
    double k = 0.0;
    StateSpaceToZeroPole(z, p, k, a, b, c, std::stod(f[5]));
    // The zeros of a random system are as sensitive as its numerator's roots.
    EXPECT_TRUE(SameRoots(RootsOf(z), CxField(f[6]), 1e-8));
    EXPECT_TRUE(SameRoots(RootsOf(p), CxField(f[7]), 1e-10));
    EXPECT_TRUE(NearRel(k, std::stod(f[8]), 1e-10));
  }
}

TEST(LinearSystemsOracle, BilinearZeroPoleMatchesBilinearZpk) {
  const auto cases = Cases("bilinear_zpk");
  ASSERT_EQ(cases.size(), 4u);
  for (const auto& f : cases) {
    TVec z, p;
    SetRoots(z, CxField(f[1]));
    SetRoots(p, CxField(f[2]));
    double k = std::stod(f[3]);
    BilinearZeroPole(z, p, k, std::stod(f[4]), true);
    EXPECT_TRUE(SameRoots(RootsOf(z), CxField(f[5]), 1e-14));
    EXPECT_TRUE(SameRoots(RootsOf(p), CxField(f[6]), 1e-14));
    EXPECT_TRUE(NearRel(k, std::stod(f[7]), 1e-13));
  }
}

TEST(LinearSystemsOracle, AnalogTransformationsMatchScipy) {
  for (const char* tag : {"lp2lp_zpk", "lp2hp_zpk", "lp2bp_zpk", "lp2bs_zpk"}) {
    const auto cases = Cases(tag);
    ASSERT_EQ(cases.size(), 7u) << tag;
    for (const auto& f : cases) {
      SCOPED_TRACE(std::string(tag) + " " + f[1] + " / " + f[2]);
      TVec z, p;
      SetRoots(z, CxField(f[1]));
      SetRoots(p, CxField(f[2]));
      double k = std::stod(f[3]);
      const double wo = std::stod(f[4]), bw = std::stod(f[5]);
      const std::string t = tag;
      if (t == "lp2lp_zpk")
        LowpassToLowpassZp(z, p, k, wo);
      else if (t == "lp2hp_zpk")
        LowpassToHighpassZp(z, p, k, wo);
      else if (t == "lp2bp_zpk")
        LowpassToBandpassZp(z, p, k, wo, bw);
      else
        LowpassToBandstopZp(z, p, k, wo, bw);
      EXPECT_TRUE(SameRoots(RootsOf(z), CxField(f[6]), 1e-13));
      EXPECT_TRUE(SameRoots(RootsOf(p), CxField(f[7]), 1e-13));
      // The bandstop's gain is 1 whatever the prototype's (its zeros and poles alone set the
      // response at zero frequency); scipy carries the prototype's DC gain over.
      if (t != "lp2bs_zpk") {
        EXPECT_TRUE(NearRel(k, std::stod(f[8]), 1e-13));
      }
    }
  }
}

TEST(LinearSystemsOracle, StateSpaceTransformationsMatchScipy) {
  for (const char* tag : {"ss_bilinear", "ss_lp", "ss_hp", "ss_bp", "ss_bs"}) {
    const auto cases = Cases(tag);
    ASSERT_EQ(cases.size(), 7u) << tag;
    for (const auto& f : cases) {
      SCOPED_TRACE(std::string(tag) + " " + f[1] + " / " + f[2]);
      TVec z, p, b, c;
      TMtx a;
      SetRoots(z, CxField(f[1]));
      SetRoots(p, CxField(f[2]));
      double d = 0.0;
      ZeroPoleToStateSpace(a, b, c, d, z, p, std::stod(f[3]));
      const double wo = std::stod(f[4]), bw = std::stod(f[5]), fs = std::stod(f[6]);
      const std::string t = tag;
      if (t == "ss_bilinear")
        BilinearStateSpace(a, b, c, d, fs);
      else if (t == "ss_lp")
        ScaleStateSpace(a, b, c, d, wo);
      else if (t == "ss_hp")
        LowpassToHighpassSs(a, b, c, d, wo);
      else if (t == "ss_bp")
        LowpassToBandpassSs(a, b, c, d, wo, bw);
      else
        LowpassToBandstopSs(a, b, c, d, wo, bw);
      TVec zt, pt;
      double k = 0.0;
      StateSpaceToZeroPole(zt, pt, k, a, b, c, d);
      // scipy transforms the transfer function, whose coefficients hold the roots to fewer digits.
      EXPECT_TRUE(SameRoots(RootsOf(pt), CxField(f[8]), 1e-10));
      // The transformations of an all-pole system give multiple zeros (at -1, 0 or +-j wo),
      // which no eigenvalue routine finds to more than a root of the precision; their
      // polynomial is what the zeros must get right.
      TVec expectedZeros;
      SetRoots(expectedZeros, CxField(f[7]));
      EXPECT_TRUE(SameCoefficients(Numerator(zt, k), Numerator(expectedZeros, std::stod(f[9])), 1e-10));
    }
  }
}

}  // namespace
}  // namespace dsp

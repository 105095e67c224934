// Covers numeric/MathCore.cpp and numeric/MathComplex.cpp: integer
// conversions, range helpers, special values, comparisons and the rules of the
// complex routines. Values that numpy/scipy also compute are checked in
// MathCoreOracleTest.cpp.
#include <gtest/gtest.h>

#include <bit>
#include <cfenv>
#include <cstdint>
#include <limits>

#include "numeric/MathCore.h"
#include "numeric/tests/NumericTestUtil.h"

namespace numeric {
namespace {

using testutil::NearRel;
using testutil::Raises;

constexpr std::int32_t kIndefinite = std::numeric_limits<std::int32_t>::min();

TEST(MathCoreConstants, NanAndInfHaveTheIeeeQuietNanAndInfinityBits) {
  EXPECT_EQ(std::bit_cast<std::uint64_t>(static_cast<double>(NAN)), 0x7FF8000000000000ULL);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(INF), 0x7FF0000000000000ULL);
  EXPECT_TRUE(CIsNan(CNAN));
  EXPECT_TRUE(CIsInf(CINF));
  EXPECT_EQ(EPS, std::ldexp(1.0, -52));
}

TEST(MathCoreEnvironment, FloatingPointExceptionsStayMasked) {
  InitMathCore();
  volatile double zero = 0.0;
  EXPECT_EQ(1.0 / zero, INF);
  EXPECT_TRUE(IsNan(zero / zero));
  ClearFpuExceptions();
  EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), 0);
  // The control-word routines keep their contract without an x87 to steer.
  const std::uint16_t saved = FpuSaveTruncMode();
  EXPECT_EQ(saved, FPU_CW);
  FpuRestoreMode(saved);
  EXPECT_EQ(Get8087CW(), FPU_CW);
}

TEST(MathCoreErrors, RaiseErrorCarriesTheMessage) {
  EXPECT_TRUE(Raises([] { RaiseError("Vec.Length <> Length"); }, "Vec.Length <> Length"));
  EXPECT_TRUE(Raises([] { RaiseError(""); }, ""));
}

struct TruncCase {
  double X;
  std::int32_t Trunc, Ceil, Floor;
};

TEST(MathCoreIntegers, TruncCeilFloor) {
  const TruncCase cases[] = {
      {-2.7, -2, -2, -3},
      {2.0, 2, 2, 2},
      {2.5, 2, 3, 2},
      {-0.5, 0, 0, -1},
      {2147483647.9, 2147483647, kIndefinite, 2147483647},
      {-2147483647.5, -2147483647, -2147483647, -2147483647 - 1},
      {3e9, kIndefinite, kIndefinite, kIndefinite},
      {-3e9, kIndefinite, kIndefinite, kIndefinite},
      {INF, kIndefinite, kIndefinite, kIndefinite},
      {NAN, kIndefinite, kIndefinite, kIndefinite},
  };
  for (const TruncCase& c : cases) {
    SCOPED_TRACE(c.X);
    EXPECT_EQ(Trunc(c.X), c.Trunc);
    EXPECT_EQ(Ceil(c.X), c.Ceil);
    EXPECT_EQ(Floor(c.X), c.Floor);
  }
}

TEST(MathCoreIntegers, TruncToMultiple) {
  EXPECT_EQ(TruncToMultiple(17.9, 5), 15);
  EXPECT_EQ(TruncToMultiple(-17.9, 5), -15);
  EXPECT_EQ(TruncToMultiple(17, -5), 15);
  // The quotient that traps in 32-bit division.
  EXPECT_EQ(TruncToMultiple(kIndefinite, -1), kIndefinite);
  EXPECT_EQ(TruncToMultiple(-3e9, -1), kIndefinite);
  EXPECT_TRUE(Raises([] { TruncToMultiple(3.0, 0); }, "TruncToMultiple: Step = 0"));
  EXPECT_TRUE(Raises([] { TruncToMultiple(3, 0); }, "TruncToMultiple: B = 0"));
}

TEST(MathCoreIntegers, PowersOfTwo) {
  const std::pair<std::int32_t, std::int32_t> exp2[] = {
      {-5, 2}, {0, 2}, {2, 2}, {3, 4}, {1024, 1024}, {1025, 2048}, {1 << 30, 1 << 30}};
  for (auto [n, expected] : exp2) EXPECT_EQ(LargestExp2(n), expected) << n;
  EXPECT_TRUE(Raises([] { LargestExp2((1 << 30) + 1); }, "LargestExp2: N > 1073741824"));

  const std::pair<std::int32_t, std::int32_t> log2[] = {
      {-1, 0}, {1, 0}, {2, 1}, {3, 1}, {1023, 9}, {1024, 10}, {2147483647, 30}};
  for (auto [n, expected] : log2) EXPECT_EQ(IntLog2(n), expected) << n;
}

TEST(MathCoreIntegers, MinMaxKeepAWhenEqualWhileUnorderedMinKeepsAAndMaxTakesB) {
  EXPECT_EQ(Min(1.0, 2.0), 1.0);
  EXPECT_EQ(Max(1.0, 2.0), 2.0);
  // Unordered comparisons: Min keeps A, Max takes B.
  EXPECT_TRUE(IsNan(Min(NAN, 1.0)));
  EXPECT_EQ(Min(1.0, NAN), 1.0);
  EXPECT_EQ(Max(NAN, 1.0), 1.0);
  EXPECT_TRUE(IsNan(Max(1.0, NAN)));
  // Equal values: A itself (the sign of zero shows which).
  EXPECT_TRUE(std::signbit(Min(-0.0, 0.0)));
  EXPECT_TRUE(std::signbit(Max(-0.0, 0.0)));
  EXPECT_EQ(Min(3, -4), -4);
  EXPECT_EQ(Max(3, -4), 3);

  TCplx a{1, 2}, b{3, 4};
  Swap(a, b);
  EXPECT_EQ(a.Re, 3);
  EXPECT_EQ(b.Im, 2);
}

TEST(MathCoreRanges, LowerBoundValueUpperBound) {
  EXPECT_EQ(EnsureRange(0.0, 5.0, 3.0), 3.0);
  EXPECT_EQ(EnsureRange(0.0, -1.0, 3.0), 0.0);
  EXPECT_EQ(EnsureRange(0, 5, 3), 3);
  EXPECT_TRUE(CheckRange(1, 1, 1));
  EXPECT_FALSE(CheckRange(1, 2, 1));
  EXPECT_TRUE(InRange(-1.0, 0.0, 1.0));
  EXPECT_FALSE(InRange(-1.0, NAN, 1.0));
  double d = 7.5;
  LimitRange(0.0, d, 2.0);
  EXPECT_EQ(d, 2.0);
  std::int32_t i = -7;
  LimitRange(0, i, 2);
  EXPECT_EQ(i, 0);
}

TEST(MathCoreSpecialValues, ByBitPattern) {
  const double negNan = -std::numeric_limits<double>::quiet_NaN();
  const double signalling = std::numeric_limits<double>::signaling_NaN();
  const double denormal = std::numeric_limits<double>::denorm_min();
  EXPECT_TRUE(IsNan(negNan));
  EXPECT_TRUE(IsNan(signalling));
  EXPECT_FALSE(IsInf(negNan));
  EXPECT_TRUE(IsInf(-INF));
  EXPECT_FALSE(IsNan(-INF));
  EXPECT_TRUE(IsNanInf(-INF) && IsNanOrInf(negNan));
  EXPECT_FALSE(IsNanInf(denormal) || IsNanInf(std::numeric_limits<double>::max()));
  EXPECT_TRUE(CIsNan(TCplx{1, NAN}));
  EXPECT_TRUE(CIsInf(TCplx{-INF, 0}));
  EXPECT_FALSE(CIsNanInf(TCplx{1, 2}));
}

TEST(MathCoreComparisons, IsEqualTreatsSpecialValuesAsClasses) {
  EXPECT_TRUE(IsEqual(NAN, NAN, 0));
  EXPECT_TRUE(IsEqual(INF, -INF, 0));
  EXPECT_FALSE(IsEqual(1, NAN, 10));
  EXPECT_FALSE(IsEqual(INF, NAN, 10));
  EXPECT_TRUE(IsEqual(1.0, 1.1, 0.1000001));
  EXPECT_FALSE(IsEqual(1.0, 1.2, 0.1));

  EXPECT_TRUE(CIsEqual(TCplx{1, 2}, TCplx{1, 2}));
  EXPECT_FALSE(CIsEqual(TCplx{1, 2}, TCplx{1, 2.0000000001}));
  EXPECT_TRUE(CIsEqual(TCplx{NAN, 0}, TCplx{3, NAN}));
  EXPECT_TRUE(CIsEqual(TCplx{0, INF}, TCplx{-INF, 1}));
  EXPECT_FALSE(CIsEqual(TCplx{1, 2}, TCplx{NAN, 2}));

  EXPECT_TRUE(IsGreaterTol(2.0, 1.0, 0.5));
  EXPECT_FALSE(IsGreaterTol(1.4, 1.0, 0.5));
  EXPECT_FALSE(IsGreaterTol(NAN, 1.0, 0.0));
  EXPECT_TRUE(IsLessTol(1.0, 2.0, 0.5));
  EXPECT_FALSE(IsLessTol(1.0, NAN, 0.0));
}

TEST(MathCoreReal, PowerRules) {
  EXPECT_EQ(Power(0, 0), 1);
  EXPECT_EQ(Power(-3, 0), 1);
  EXPECT_EQ(Power(NAN, 0), 1);
  EXPECT_TRUE(IsNan(Power(-8, 1.0 / 3.0)));
  // A negative base with an integral exponent is the real power.
  EXPECT_EQ(Power(-2, 2), 4);
  EXPECT_EQ(Power(-2, 3), -8);
  EXPECT_EQ(IntPower(2, -2), 0.25);
  EXPECT_EQ(IntPower(-3, 3), -27);
  EXPECT_EQ(IntPower(5, 0), 1);
  EXPECT_EQ(IntPower(2, kIndefinite), 0);
  EXPECT_EQ(IntPower(0.5, kIndefinite), INF);
}

TEST(MathCoreReal, ReductionsAndSigns) {
  EXPECT_EQ(CopySign(-3, 2), 3);
  EXPECT_EQ(CopySign(3, -2), -3);
  EXPECT_EQ(CopySign(-3, -0.0), 3);  // -0 is not below zero
  EXPECT_EQ(Frac(-2.75), -0.75);
  EXPECT_EQ(Frac(1e10 + 0.5), 0.5);
  EXPECT_EQ(FRem(7.5, 2), 1.5);
  EXPECT_EQ(FRem(-7.5, 2), -1.5);
  EXPECT_TRUE(NearRel(FixAngle(7.0), 7.0 - TWOPI, 4 * EPS));
  EXPECT_TRUE(NearRel(FixAngle(-7.0), -7.0 + TWOPI, 4 * EPS));
  EXPECT_EQ(FixAngle(1.0), 1.0);
  // Beyond 2^31 periods the reduction still lands within one period.
  const double big = FixAngle(1e12);
  EXPECT_GT(big, 0.0);
  EXPECT_LT(big, TWOPI);
  EXPECT_TRUE(NearRel(DegToRad(180), PI, EPS));
  EXPECT_TRUE(NearRel(RadToDeg(PI / 2), 90, EPS));
  EXPECT_TRUE(NearRel(Cot(0.25), 1.0 / std::tan(0.25), 4 * EPS));
  EXPECT_EQ(ArcTan2(0.0, -1.0), PI);
  double s = 0, c = 0;
  SinCos(0.5, s, c);
  EXPECT_TRUE(NearRel(s, std::sin(0.5), EPS));
  EXPECT_TRUE(NearRel(c, std::cos(0.5), EPS));
  EXPECT_TRUE(NearRel(Sech(0.5), 1.0 / std::cosh(0.5), 2 * EPS));
  EXPECT_EQ(Tanh(1000.0), 1.0);  // no inf/inf
}

TEST(MathCoreReal, LnGammaPolesAndLimits) {
  EXPECT_EQ(LnGamma(0.0), -INF);
  EXPECT_EQ(LnGamma(-3.0), -INF);
  EXPECT_EQ(LnGamma(-1e10), -INF);
  EXPECT_EQ(LnGamma(3e305), INF);
  EXPECT_EQ(LnGamma(1.0), 0.0);
  EXPECT_EQ(LnGamma(2.0), 0.0);
  EXPECT_TRUE(IsNan(LnGamma(NAN)));
}

TEST(MathCoreComplex, SqrtOfZeroIsZero) {
  const TCplx r = CSqrt(C_ZERO);
  EXPECT_EQ(r.Re, 0.0);
  EXPECT_EQ(r.Im, 0.0);
  // The branch cut: a negative real with Im = -0 is not "below zero".
  const TCplx n = CSqrt(TCplx{-4.0, -0.0});
  EXPECT_EQ(n.Re, 0.0);
  EXPECT_EQ(n.Im, 2.0);
}

TEST(MathCoreComplex, ArithmeticIdentities) {
  const TCplx a{1.5, -2.0}, b{-0.5, 4.0};
  EXPECT_TRUE(CIsEqual(CAdd(a, b), TCplx{1.0, 2.0}));
  EXPECT_TRUE(CIsEqual(CSub(a, b), TCplx{2.0, -6.0}));
  EXPECT_TRUE(CIsEqual(CAddReal(a, 1), TCplx{2.5, -2.0}));
  EXPECT_TRUE(CIsEqual(CRSub(1, a), TCplx{-0.5, 2.0}));
  EXPECT_TRUE(CIsEqual(CMulReal(a, 2), TCplx{3.0, -4.0}));
  EXPECT_TRUE(CIsEqual(CMulReal(2, a), TCplx{3.0, -4.0}));
  EXPECT_TRUE(CIsEqual(CDivReal(a, 2), TCplx{0.75, -1.0}));
  EXPECT_TRUE(NearRel(CRDiv(2, a), CMulReal(CInv(a), 2), 2 * EPS));
  EXPECT_TRUE(CIsEqual(CConj(a), TCplx{1.5, 2.0}));
  EXPECT_TRUE(CIsEqual(CNeg(a), TCplx{-1.5, 2.0}));
  EXPECT_TRUE(CIsEqual(Cplx(3, 4), TCplx{3, 4}));
  EXPECT_TRUE(NearRel(CMul(CDiv(a, b), b), a, 4 * EPS));
  EXPECT_TRUE(CIsEqual(CIntPower(a, 0), C_ONE));
  const TCplx polar = CartToPolar(TCplx{0, -2});
  EXPECT_EQ(polar.Re, 2);
  EXPECT_TRUE(NearRel(polar.Im, -PI / 2, EPS));
  EXPECT_TRUE(NearRel(CExpj(PI / 3), TCplx{0.5, std::sqrt(3.0) / 2}, 2 * EPS));
  // Division by zero gives infinities and NaN, never a trap.
  EXPECT_TRUE(CIsNanInf(CDiv(a, C_ZERO)));
}

struct ChoiceCase {
  TCplx A, B;
  bool MaxTakesA, MinTakesA;
};

TEST(MathCoreComplex, MaxAndMinByMagnitudeThenAngle) {
  const ChoiceCase cases[] = {
      {{3, 4}, {1, 1}, true, false},      // larger magnitude
      {{0, 1}, {1, 0}, true, false},      // same magnitude, larger angle
      {{-1, 0}, {0, 1}, true, false},     // quadrant 4 above quadrant 3
      {{0, -1}, {-1, -1e-300}, true, false},  // quadrant 2 above quadrant 1
      {{-0.6, -0.8}, {-0.8, -0.6}, true, false},  // quadrant 1: larger Re, larger angle
      {{1, 0}, {1, 0}, false, false},     // a complete tie takes B
  };
  for (const ChoiceCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "(" << c.A.Re << "," << c.A.Im << ") vs (" << c.B.Re << ","
                                    << c.B.Im << ")");
    TCplx r{};
    EXPECT_EQ(CMax(c.A, c.B, r), c.MaxTakesA);
    EXPECT_TRUE(CIsEqual(r, c.MaxTakesA ? c.A : c.B));
    EXPECT_EQ(CMin(c.A, c.B, r), c.MinTakesA);
    EXPECT_TRUE(CIsEqual(r, c.MinTakesA ? c.A : c.B));
  }
}

}  // namespace
}  // namespace numeric

// Frequency response, group delay, cepstra and phase unwrapping by their
// rules and edge cases: transform lengths and return values, a denominator
// that no window changes, a pure delay's group delay, the complex cepstrum of
// a minimum-phase pair and of a delay, and the unwrapping modes (the partial
// one starting from the source whatever Dst held).
//
// Covers: dsp/FreqResponse.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "dsp/SignalUtils.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

using numeric::TCplx;
using numeric::TVec;
using orvel::testing::NearRel;
using orvel::testing::NearScaled;
using orvel::testing::Raises;

constexpr double kPi = std::numbers::pi;

std::vector<double> Doubles(const TVec& v) { return {v.Values(), v.Values() + v.DoubleLength()}; }

TEST(FreqResponse, LengthsAndReturnValues) {
  TVec b, h;
  b.Size(100, false);
  b.Ramp(1, 0.5);
  EXPECT_DOUBLE_EQ(FreqResponseFft(b, nullptr, h, 1, false, wtRectangular, 0), 1.28);
  EXPECT_EQ(h.Length(), 64);
  EXPECT_TRUE(h.HalfRateBinKnown());
  EXPECT_DOUBLE_EQ(FreqResponseFft(b, nullptr, h, 4, false, wtRectangular, 0), 5.12);
  EXPECT_EQ(h.Length(), 256);
  // Normalised, a constant real signal's response is 2 at 0 Hz (one side).
  b.SetVal(1.0);
  FreqResponseFft(b, nullptr, h, 1, true, wtRectangular, 0);
  EXPECT_TRUE(NearRel(h.CValues()[0].Re, 2.0, 1e-14));
  // Complex data: every bin round the circle, 1 / B.Length when normalised.
  TVec z;
  z.Size(100, true);
  z.SetVal(TCplx{1, 0});
  EXPECT_DOUBLE_EQ(FreqResponseFft(z, nullptr, h, 1, true, wtRectangular, 0), 1.28);
  EXPECT_EQ(h.Length(), 128);
  EXPECT_TRUE(NearRel(h.CValues()[0].Re, 1.0, 1e-14));
  EXPECT_TRUE(Raises([&] { FreqResponseFft(b, nullptr, h, 0, false, wtRectangular, 0); },
                     "FreqResponseFft: PadFactor < 1"));
  TVec empty;
  empty.Size(0, false);
  EXPECT_TRUE(Raises([&] { FreqResponseFft(empty, nullptr, h, 1, false, wtRectangular, 0); },
                     "FreqResponseFft: B.Length = 0"));
}

TEST(FreqResponse, NoWindowChangesAFilterWithDenominator) {
  // b = a = [1, 0.5]: the response is 1 everywhere. A Hann window over the
  // padded polynomials would zero both leading coefficients.
  TVec b, a, h;
  b.SetIt(false, std::vector<double>{1, 0.5});
  a.SetIt(false, std::vector<double>{1, 0.5});
  for (TSignalWindowType window : {wtHanning, wtKaiser, wtRectangular}) {
    const double r = FreqResponseFft(b, &a, h, 8, false, window, 6);
    EXPECT_DOUBLE_EQ(r, 4.0);
    ASSERT_EQ(h.Length(), 8);
    for (int k = 0; k < 8; ++k) {
      EXPECT_TRUE(NearScaled(h.CValues()[k].Re, 1, 1e-15, 1)) << k;
      EXPECT_TRUE(NearScaled(h.CValues()[k].Im, 0, 1e-15, 1)) << k;
    }
  }
}

TEST(FreqResponse, GroupDelayOfADelay) {
  TVec b, d;
  b.SetIt(false, std::vector<double>{0, 0, 1});
  GroupDelayFft(d, b, nullptr, 4);
  ASSERT_EQ(d.Length(), 8);
  for (int k = 0; k < 8; ++k) EXPECT_TRUE(NearScaled(d.Values()[k], 2.0, 1e-14, 2)) << k;
  // Numerator over a denominator of one delay: one sample less.
  TVec a;
  a.SetIt(false, std::vector<double>{0, 1});
  GroupDelayFft(d, b, &a, 4);
  for (int k = 0; k < d.Length(); ++k) EXPECT_TRUE(NearScaled(d.Values()[k], 1.0, 1e-14, 2)) << k;
  EXPECT_TRUE(Raises([&] { GroupDelayFft(d, b, nullptr, 0); }, "ZeroPadding < 1"));
}

TEST(FreqResponse, ComplexCepstrum) {
  // A minimum-phase pair 1 - a z^-1 one sample late: the lag taken out is
  // 1, and c[k] = -a^k / k, c[0] = 0 remain. (With 1 + a z^-1 the phase
  // ends just past -pi, and the lag, rounded up, would be 2.)
  const double alpha = 0.6;
  TVec x, y;
  x.SetIt(false, std::vector<double>{0, 1, -alpha});
  EXPECT_EQ(ComplexCepstrum(x, y, 64), 1);
  ASSERT_EQ(y.Length(), 256);
  EXPECT_TRUE(NearScaled(y.Values()[0], 0, 1e-14, 1));
  for (int k = 1; k < 20; ++k)
    EXPECT_TRUE(NearScaled(y.Values()[k], -std::pow(alpha, k) / k, 1e-13, 1)) << k;
  // A delay of one sample: the lag taken out is 1, and nothing is left.
  x.SetIt(false, std::vector<double>{0, 1});
  EXPECT_EQ(ComplexCepstrum(x, y, 8), 1);
  for (int k = 0; k < y.Length(); ++k) EXPECT_TRUE(NearScaled(y.Values()[k], 0, 1e-14, 1)) << k;
  x.SetIt(true, std::vector<double>{1, 0, 0.5, 0});
  EXPECT_TRUE(Raises([&] { ComplexCepstrum(x, y, 1); }, "X.Complex = True"));
  x.SetIt(false, std::vector<double>{1, std::nan(""), 0.5});
  EXPECT_TRUE(Raises([&] { ComplexCepstrum(x, y, 2); }, "ComplexCepstrum: X holds values that are not finite"));
}

TEST(FreqResponse, PhaseUnwrapModes) {
  TVec src, dst;
  src.SetIt(false, std::vector<double>{0, 3, -3});
  EXPECT_EQ(PhaseUnwrap(src, dst, rpDefault, 0, true, 180), 0.0);
  EXPECT_EQ(Doubles(dst), (std::vector<double>{0, 3, 2 * kPi - 3}));
  // Degrees: the same jump in degrees.
  src.SetIt(false, std::vector<double>{170, -170, -160});
  PhaseUnwrap(src, dst, rpDefault, 0, false, 180);
  EXPECT_EQ(Doubles(dst), (std::vector<double>{170, 190, 200}));
  // Integer lag: a phase ending at -2.5 pi over N points gives 3 and adds
  // 3 pi i / N to point i.
  const int n = 5;
  src.Size(n, false);
  for (int i = 0; i < n; ++i) src.Values()[i] = -2.5 * kPi * i / (n - 1);
  EXPECT_EQ(PhaseUnwrap(src, dst, rpIntegerLag, 1, true, 180), 3.0);
  for (int i = 0; i < n; ++i)
    EXPECT_TRUE(NearScaled(dst.Values()[i], src.Values()[i] + 3 * kPi * i / n, 1e-15, 10)) << i;
  // Constant phase: T / (2 Param) per point.
  src.SetIt(false, std::vector<double>{0.5, 0.5, 0.5});
  EXPECT_TRUE(NearRel(PhaseUnwrap(src, dst, rpConstPhase, 4, true, 180), 2 * kPi / 8 * 2, 1e-15));
  EXPECT_TRUE(NearRel(dst.Values()[2], 0.5 + 2 * kPi / 8 * 2, 1e-15));
  // Partial: from the source's values, whatever Dst held before.
  src.SetIt(false, std::vector<double>{0.1, 0.1, 0.1, 0.1, 0.1});
  dst.SetIt(false, std::vector<double>{100, 100, 100, 100, 100});
  EXPECT_EQ(PhaseUnwrap(src, dst, rpPartial, 4, false, 180), 0.0);
  // L = 4 (Param a power of two), s = 360 / 8 = 45; values above 180 wrap.
  EXPECT_EQ(Doubles(dst), (std::vector<double>{0.1, 45.1, 90.1, 135.1, 0.1}));
  // In place too.
  PhaseUnwrap(src, src, rpPartial, 5, false, 180);  // L = 8 halved to 4, s = 36
  EXPECT_EQ(Doubles(src), (std::vector<double>{0.1, 36.1, 72.1, 108.1, 0.1}));
  // Between 1 and 2 the cycle is one point long: nothing is added, values above 180 still wrap.
  for (double param : {1.0, 1.00005, 1.5, 1.9999}) {
    src.SetIt(false, std::vector<double>{0.1, 200, -170, 179});
    PhaseUnwrap(src, dst, rpPartial, param, false, 180);
    EXPECT_EQ(Doubles(dst), (std::vector<double>{0.1, -160, -170, 179})) << param;
  }
  EXPECT_TRUE(Raises([&] { PhaseUnwrap(src, dst, rpPartial, 0.5, false, 180); }, "PhaseUnwrap: Param outside 1 .. 2^30"));
  TVec z, empty;
  z.Size(2, true);
  EXPECT_TRUE(Raises([&] { PhaseUnwrap(z, dst, rpDefault, 1, true, 180); }, "Src.Complex"));
  empty.Size(0, false);
  EXPECT_EQ(PhaseUnwrap(empty, dst, rpIntegerLag, 1, true, 180), 0.0);
  EXPECT_EQ(dst.Length(), 0);
}

}  // namespace
}  // namespace dsp

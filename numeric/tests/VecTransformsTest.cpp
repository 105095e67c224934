// Covers numeric/VecTransforms.cpp and, through it, platform/spl/Fft.cpp,
// Correlation.cpp, DownSample.cpp and Goertzel.cpp: length rules and the
// cached power-of-two test, the real-spectrum layout and its half-rate bin,
// round trips at every power of two, windows onto a matrix, and the argument
// checks with their literal messages. Values against numpy and scipy are in
// VecTransformsOracleTest.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/NumericTestUtil.h"
#include "numeric/tests/TransformsTestUtil.h"
#include "numeric/tests/VecTestUtil.h"

namespace numeric {
namespace {

using testutil::DoublesOf;
using testutil::FftTol;
using testutil::NearScaled;
using testutil::Raises;

unsigned Seed() { return static_cast<unsigned>(orvel::testing::TestSeed(20261210u)); }

void FillRandom(TVec& v, std::int32_t n, bool complex, std::mt19937_64& rng) {
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  v.Size(n, complex);
  for (std::int32_t i = 0; i < v.DoubleLength(); ++i) v.Values()[i] = u(rng);
}

TEST(VecTransforms, PowerOfTwoTestCachesOrderUntilLengthChanges) {
  TVec v;
  for (std::int32_t n : {0, 1, 3, 6, 1023}) {
    v.SetLength(n);
    EXPECT_FALSE(IsPowerOf2(v)) << n;
    EXPECT_TRUE(v.SizeChanged()) << n;
  }
  v.SetLength(2);
  EXPECT_TRUE(IsPowerOf2(v));
  EXPECT_EQ(v.FFTOrder(), 1);
  v.SetLength(1024);
  EXPECT_TRUE(IsPowerOf2(v));
  EXPECT_EQ(v.FFTOrder(), 10);
  EXPECT_FALSE(v.SizeChanged());
}

// IFFT(FFT(x)) = x at every power of two from 2 to 2^20, real and complex.
TEST(VecTransforms, RoundTripAtEveryPowerOfTwo) {
  std::mt19937_64 rng(Seed());
  TVec x, spectrum, back;
  for (int order = 1; order <= 20; ++order) {
    const std::int32_t n = 1 << order;
    for (bool complex : {false, true}) {
      FillRandom(x, n, complex, rng);
      spectrum.FFT(x);
      if (complex)
        back.IFFT(spectrum);
      else
        back.IFFTToReal(spectrum);
      ASSERT_EQ(back.Complex(), complex);
      ASSERT_EQ(back.Length(), n);
      EXPECT_TRUE(NearScaled(back, DoublesOf(x), 1e-12)) << "n " << n << (complex ? " complex" : " real")
                                                        << ", seed " << Seed();
    }
  }
}

TEST(VecTransforms, InPlaceRealTransformGivesTheHalfRateBin) {
  TVec x;
  x.Size(8, false);
  for (int i = 0; i < 8; ++i) x.Values()[i] = (i % 2 == 0) ? 1.0 : -1.0;  // all at half the rate
  x.FFT();
  ASSERT_TRUE(x.Complex());
  ASSERT_EQ(x.Length(), 4);
  const TVec& spectrum = x;  // read without touching the bin
  // Plans differ in their rounding: within it of the exact bins.
  for (int k = 0; k < 4; ++k) EXPECT_LE(CAbs(spectrum.CValues()[k]), 8.0 * FftTol(8)) << k;
  ASSERT_TRUE(x.HalfRateBinKnown());
  EXPECT_NEAR(x.HalfRateBin().Re, 8.0, 8.0 * FftTol(8));
  EXPECT_EQ(x.HalfRateBin().Im, 0.0);

  // and the inverse takes it from there
  TVec y;
  y.IFFTToReal(x);
  for (int i = 0; i < 8; ++i) EXPECT_DOUBLE_EQ(y.Values()[i], (i % 2 == 0) ? 1.0 : -1.0);
}

TEST(VecTransforms, NoScaleInverseIsLengthTimesInput) {
  std::mt19937_64 rng(Seed());
  TVec x, s, y;
  FillRandom(x, 64, true, rng);
  s.FFT(x);
  y.IFFT(s, true);
  std::vector<double> expected = DoublesOf(x);
  for (double& e : expected) e *= 64.0;
  EXPECT_TRUE(NearScaled(y, expected, 1e-13));
  s.IFFT(s);  // in place
  EXPECT_TRUE(NearScaled(s, DoublesOf(x), 1e-13));
}

// A window onto a matrix has no reserve: the real transform in place must
// leave the matrix's next elements alone.
TEST(VecTransforms, RealTransformOnWindowStaysInsideIt) {
  TMtx m;
  m.Size(3, 8, false);
  for (int i = 0; i < 24; ++i) m.Values()[i] = 100.0 + i;
  TVec w, reference;
  w.SetSubRange(m, 8, 8);  // the middle row
  reference.Copy(w);
  w.FFT();
  EXPECT_TRUE(w.Complex());
  EXPECT_EQ(w.Length(), 4);
  for (int i = 16; i < 24; ++i) EXPECT_EQ(m.Values()[i], 100.0 + i) << i;
  for (int i = 0; i < 8; ++i) EXPECT_EQ(m.Values()[i], 100.0 + i) << i;
  TVec full;
  full.FFT(reference);
  EXPECT_TRUE(NearScaled(w.Values(), std::vector<double>(full.Values(), full.Values() + 8), FftTol(8)));

  // out of place into a window, too
  TMtx target;
  target.Size(2, 8, false);
  target.Values()[8] = 7.0;
  TVec t;
  t.SetSubRange(target, 0, 8);
  t.SetComplex(true);  // a 4-element complex window
  t.FFT(reference);
  EXPECT_EQ(target.Values()[8], 7.0);
  EXPECT_TRUE(NearScaled(t.Values(), std::vector<double>(full.Values(), full.Values() + 8), FftTol(8)));
}

// Sub-range windows at odd offsets are not aligned for FFTW's SIMD plans.
TEST(VecTransforms, UnalignedWindowsTransformAsAlignedVectors) {
  std::mt19937_64 rng(Seed());
  TMtx m;
  m.Size(1, 1 + 2 * 256, true);
  for (int i = 0; i < m.DoubleCount(); ++i) m.Values()[i] = std::uniform_real_distribution<double>(-1, 1)(rng);
  TVec window, copy, expected;
  window.SetSubRange(m, 1, 256);
  copy.Copy(window);
  expected.FFT(copy);
  window.FFT();
  EXPECT_TRUE(NearScaled(window, DoublesOf(expected), FftTol(256)));
}

TEST(VecTransforms, ResultSizes) {
  TVec x, y;
  x.Size(8, false);
  x.SetZero();
  y.FFT(x);
  EXPECT_TRUE(y.Complex());
  EXPECT_EQ(y.Length(), 4);
  x.SetLength(1);  // a single real sample has no bins to give, and no test
  y.FFT(x);
  EXPECT_EQ(y.Length(), 0);
  x.SetLength(0);
  x.FFT();  // nothing to do
  EXPECT_EQ(x.Length(), 0);

  x.Size(4, false);
  TVec h;
  h.Size(3, true);
  h.SetZero();
  x.SetZero();
  y.Convolve(x, h);
  EXPECT_TRUE(y.Complex());
  EXPECT_EQ(y.Length(), 6);
  h.SetLength(0);  // nothing to convolve with: zeros
  y.Convolve(x, h);
  EXPECT_EQ(y.Length(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(CAbs(y.CValues()[i]), 0.0);

  y.CrossCorr(x, x, 2, -2);
  EXPECT_EQ(y.Length(), 5);
  y.AutoCorrNormal(x, 3);
  EXPECT_EQ(y.Length(), 3);
}

TEST(VecTransforms, DownSampleAndDifference) {
  TVec s, d;
  s.SetLength(10);
  for (int i = 0; i < 10; ++i) s.Values()[i] = i;
  d.DownSample(s, 3, 0);
  EXPECT_EQ(DoublesOf(d), (std::vector<double>{0, 3, 6, 9}));
  d.DownSample(s, 3, 1);
  EXPECT_EQ(DoublesOf(d), (std::vector<double>{1, 4, 7}));
  d.DownSample(s, 1, 0);
  EXPECT_EQ(DoublesOf(d), DoublesOf(s));
  s.SetComplex(true);  // (0,1) (2,3) (4,5) (6,7) (8,9)
  d.DownSample(s, 2, 1);
  EXPECT_TRUE(d.Complex());
  EXPECT_EQ(DoublesOf(d), (std::vector<double>{2, 3, 6, 7}));

  s.Size(3, false);
  s.Values()[0] = 1;
  s.Values()[1] = 4;
  s.Values()[2] = 9;
  d.Difference(s);
  EXPECT_EQ(DoublesOf(d), (std::vector<double>{3, 5}));
  s.SetComplex(false);
  s.Size(2, true);
  s.CValues()[0] = {1, 10};
  s.CValues()[1] = {4, 7};
  d.Difference(s);
  EXPECT_EQ(DoublesOf(d), (std::vector<double>{3, -3}));
}

TEST(VecTransforms, GoertzelMatchesTheTransformBin) {
  // At a bin frequency k/n the reference one past the end changes nothing:
  // exp(2 pi i k) = 1, so Goertz equals FFT bin k.
  std::mt19937_64 rng(Seed());
  TVec x, s;
  FillRandom(x, 32, false, rng);
  s.FFT(x);
  x.GoertzInit(5.0 / 32);
  const TCplx g = x.Goertz();
  EXPECT_TRUE(testutil::NearRel(g, s.CValues()[5], 1e-13));
  // every call starts afresh
  EXPECT_TRUE(testutil::NearRel(x.Goertz(), g, 0.0));
  x.SetLength(0);
  EXPECT_EQ(x.Goertz().Re, 0.0);
}

TEST(VecTransforms, ArgumentChecks) {
  TVec a, b, c, empty;
  a.SetLength(6);
  a.SetZero();
  b.Size(4, false);
  b.SetZero();
  c.Size(4, true);
  c.SetZero();
  struct Case {
    const char* what;
    std::function<void()> call;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"FFT of 6", [&] { a.FFT(); }, "Length is not power of two!"},
      {"FFT of itself", [&] { b.FFT(b); }, "Self = Vec"},
      {"FFT from 6", [&] { b.FFT(a); }, "Length is not power of two!"},
      {"IFFT of empty", [&] { b.IFFT(empty); }, "Length is not power of two!"},
      {"IFFT of real", [&] { a.IFFT(b); }, "Vec.Complex = False"},
      {"IFFTToReal of real", [&] { a.IFFTToReal(b); }, "Vec.Complex = False"},
      {"IFFTToReal of itself", [&] { c.IFFTToReal(c); }, "Self = Vec"},
      {"DCT of complex", [&] { a.DCT(c); }, "TVec.DCT: Vec.Complex = True"},
      {"DCT of itself", [&] { a.DCT(a); }, "TVec.DCT: Self = Vec"},
      {"IDCT of complex", [&] { a.IDCT(c); }, "Vec.Complex = True"},
      {"IDCT of itself", [&] { a.IDCT(a); }, "Self = Vec"},
      {"Convolve into X", [&] { a.Convolve(a, b); }, "TVec.Convolve: (Self = X) or (Self = H)"},
      {"Convolve of empties", [&] { a.Convolve(empty, empty); }, "Value < 0"},
      {"AutoCorrNormal lags", [&] { a.AutoCorrNormal(b, 5); }, "TVec.AutoCorrNormal: Lags > Vec.Length"},
      {"AutoCorrBiased itself", [&] { b.AutoCorrBiased(b, 2); }, "TVec.AutoCorrBiased: Self = Vec"},
      {"AutoCorrUnBiased lags", [&] { a.AutoCorrUnBiased(b, 5); }, "TVec.AutoCorrUnBiased: Lags > Vec.Length"},
      {"AutoCorr negative lags", [&] { a.AutoCorrNormal(b, -1); }, "Value < 0"},
      {"CrossCorr equal lags", [&] { a.CrossCorr(b, c, 1, 1); }, "TVec.CrossCorr: HiLag <= LoLag"},
      {"CrossCorr into Vec2", [&] { b.CrossCorr(c, b, 2, 1); }, "TVec.CrossCorr: (Self = Vec1) or (Self = Vec2)"},
      {"DownSample phase", [&] { b.DownSample(a, 3, 3); }, "Phase >= Factor"},
      {"DownSample itself", [&] { a.DownSample(a, 3, 0); }, "Self = Src"},
      {"DownSample factor", [&] { b.DownSample(a, 0, -1); }, "Factor < 1"},
      {"DownSample negative phase", [&] { b.DownSample(a, 2, -1); }, "Phase < 0"},
      {"Difference itself", [&] { a.Difference(a); }, "TVec.Difference: Self = Vec"},
      {"Difference of empty", [&] { a.Difference(empty); }, "Value < 0"},
      {"GoertzInit real 0.5", [&] { b.GoertzInit(0.5); }, "(not Complex) and (Freq >= 0.5)"},
      {"GoertzInit 1", [&] { c.GoertzInit(1.0); }, "Freq >= 1)"},
      {"GoertzInit 0", [&] { c.GoertzInit(0.0); }, "Freq <= 0)"},
      {"GoertzInit NaN", [&] { c.GoertzInit(NAN); }, "Freq <= 0)"},
  };
  for (const Case& k : cases) EXPECT_TRUE(Raises(k.call, k.message)) << k.what;

  // the frequency checks are the gated ones
  EXPECT_NO_THROW(c.GoertzInit(0.5));
  b.SetConditionCheck(false);
  EXPECT_NO_THROW(b.GoertzInit(0.7));
}

}  // namespace
}  // namespace numeric

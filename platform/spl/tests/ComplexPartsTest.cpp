// Covers platform/spl/ComplexParts.cpp and platform/spl/UpSample.cpp: the
// parts, magnitude, phase and power of complex samples, splitting and
// joining, and zero insertion.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "platform/spl/ComplexParts.h"
#include "platform/spl/UpSample.h"
#include "testing/TestSupport.h"

namespace spl {
namespace {

using orvel::testing::kNaN;
using orvel::testing::kInf;

constexpr double kPi = 3.141592653589793;

TEST(ComplexParts, PartsMagnitudePhaseAndPower) {
  const std::vector<DCplx> z = {{3.0, 4.0}, {-1.0, 0.0}, {-1.0, -0.0}, {0.0, -2.0}, {0.0, 0.0}};
  const int n = static_cast<int>(z.size());
  std::vector<double> re(z.size()), im(z.size()), mag(z.size()), phase(z.size()), power(z.size());
  nspzbReal(z.data(), re.data(), n);
  nspzbImag(z.data(), im.data(), n);
  nspzbMag(z.data(), mag.data(), n);
  nspzbPhase(z.data(), phase.data(), n);
  nspzbPowerSpectr(z.data(), power.data(), n);
  EXPECT_EQ(re, (std::vector<double>{3.0, -1.0, -1.0, 0.0, 0.0}));
  EXPECT_EQ(im, (std::vector<double>{4.0, 0.0, -0.0, -2.0, 0.0}));
  EXPECT_EQ(mag, (std::vector<double>{5.0, 1.0, 1.0, 2.0, 0.0}));
  EXPECT_EQ(power, (std::vector<double>{25.0, 1.0, 1.0, 4.0, 0.0}));
  // The angle of a negative real follows the sign of its zero imaginary part.
  EXPECT_EQ(phase, (std::vector<double>{std::atan2(4.0, 3.0), kPi, -kPi, -kPi / 2, 0.0}));

  std::vector<double> m2(z.size()), p2(z.size());
  nspzbCartToPolar(z.data(), m2.data(), p2.data(), n);
  EXPECT_EQ(m2, mag);
  EXPECT_EQ(p2, phase);
}

TEST(ComplexParts, MagnitudeNeitherOverflowsNorUnderflows) {
  const std::vector<DCplx> z = {{3e200, 4e200}, {3e-200, -4e-200}, {kInf, 1.0}, {kNaN, kInf}, {kNaN, 1.0}};
  std::vector<double> mag(z.size());
  nspzbMag(z.data(), mag.data(), static_cast<int>(z.size()));
  EXPECT_DOUBLE_EQ(mag[0], 5e200);
  EXPECT_DOUBLE_EQ(mag[1], 5e-200);
  EXPECT_EQ(mag[2], kInf);
  EXPECT_EQ(mag[3], kInf);
  EXPECT_TRUE(std::isnan(mag[4]));
}

TEST(ComplexParts, SplittingAndJoining) {
  const std::vector<double> re = {1.0, 2.0, 3.0};
  const std::vector<double> im = {-1.0, -2.0, -3.0};
  std::vector<DCplx> z(3);
  nspzb2RealToCplx(re.data(), im.data(), z.data(), 3);
  EXPECT_EQ(z[2].re, 3.0);
  EXPECT_EQ(z[2].im, -3.0);
  nspzb2RealToCplx(nullptr, im.data(), z.data(), 3);
  EXPECT_EQ(z[1].re, 0.0);
  EXPECT_EQ(z[1].im, -2.0);
  nspzb2RealToCplx(re.data(), nullptr, z.data(), 3);
  EXPECT_EQ(z[0].re, 1.0);
  EXPECT_EQ(z[0].im, 0.0);

  const std::vector<DCplx> w = {{1.5, 2.5}, {-3.5, 4.5}};
  std::vector<double> r(2), i(2);
  nspzbCplxTo2Real(w.data(), r.data(), i.data(), 2);
  EXPECT_EQ(r, (std::vector<double>{1.5, -3.5}));
  EXPECT_EQ(i, (std::vector<double>{2.5, 4.5}));
  nspzbCplxTo2Real(w.data(), nullptr, i.data(), 2);
  EXPECT_EQ(i, (std::vector<double>{2.5, 4.5}));
}

TEST(ComplexParts, RealPartsMayOverwriteTheirSource) {
  std::vector<double> v = {1, 2, 3, 4, 5, 6};
  nspzbReal(reinterpret_cast<const DCplx*>(v.data()), v.data(), 3);
  EXPECT_EQ(v[0], 1.0);
  EXPECT_EQ(v[1], 3.0);
  EXPECT_EQ(v[2], 5.0);
  std::vector<double> w = {3, 4, 0, 1};
  std::vector<double> phase(2);
  nspzbCartToPolar(reinterpret_cast<const DCplx*>(w.data()), w.data(), phase.data(), 2);
  EXPECT_EQ(w[0], 5.0);
  EXPECT_EQ(w[1], 1.0);
  EXPECT_DOUBLE_EQ(phase[1], kPi / 2);
}

TEST(UpSample, InsertsZerosAtThePhase) {
  const std::vector<double> src = {1.0, 2.0, 3.0};
  std::vector<double> dst(9, -1.0);
  int dstLen = -1;
  int phase = 1;
  nspdUpSample(src.data(), 3, dst.data(), dstLen, 3, phase);
  EXPECT_EQ(dstLen, 9);
  EXPECT_EQ(phase, 1);
  EXPECT_EQ(dst, (std::vector<double>{0, 1, 0, 0, 2, 0, 0, 3, 0}));

  phase = 0;
  nspdUpSample(src.data(), 3, dst.data(), dstLen, 2, phase);
  EXPECT_EQ(dstLen, 6);
  EXPECT_EQ(std::vector<double>(dst.begin(), dst.begin() + 6), (std::vector<double>{1, 0, 2, 0, 3, 0}));

  for (int badPhase : {-1, 2}) {
    phase = badPhase;
    std::vector<double> untouched(6, 7.0);
    nspdUpSample(src.data(), 3, untouched.data(), dstLen, 2, phase);
    EXPECT_EQ(dstLen, 0);
    EXPECT_EQ(untouched, std::vector<double>(6, 7.0));
  }
}

}  // namespace
}  // namespace spl

// Covers platform/spl/Reductions.cpp: means and dot products against long
// double sums (error model: a blocked sum of n terms is within n EPS of the
// exact sum relative to the sum of magnitudes), the extremes and their
// positions, NaN propagation, and norms without overflow or underflow.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "platform/spl/Reductions.h"
#include "testing/TestSupport.h"

namespace spl {
namespace {

using orvel::testing::kNaN;

constexpr double kEps = std::numeric_limits<double>::epsilon();

std::vector<double> Random(int n, unsigned seed) {
  std::mt19937 generator(seed);
  std::uniform_real_distribution<double> value(-10.0, 10.0);
  std::vector<double> v(static_cast<std::size_t>(n));
  for (double& x : v) x = value(generator);
  return v;
}

TEST(Reductions, MeanAndDotProductAgreeWithExtendedSums) {
  for (int n : {1, 3, 4, 5, 7, 8, 9, 1023, 100000}) {
    const std::vector<double> a = Random(n, 7u + static_cast<unsigned>(n));
    const std::vector<double> b = Random(n, 11u + static_cast<unsigned>(n));
    long double sum = 0, magnitudes = 0, dot = 0, dotMagnitudes = 0;
    for (int i = 0; i < n; ++i) {
      sum += a[static_cast<std::size_t>(i)];
      magnitudes += std::fabs(a[static_cast<std::size_t>(i)]);
      dot += static_cast<long double>(a[static_cast<std::size_t>(i)]) * b[static_cast<std::size_t>(i)];
      dotMagnitudes += std::fabs(a[static_cast<std::size_t>(i)] * b[static_cast<std::size_t>(i)]);
    }
    EXPECT_TRUE(orvel::testing::NearScaled(nspdMean(a.data(), n), static_cast<double>(sum / n), n * kEps,
                                               static_cast<double>(magnitudes / n)))
        << "n = " << n;
    EXPECT_TRUE(orvel::testing::NearScaled(nspdDotProd(a.data(), b.data(), n), static_cast<double>(dot), n * kEps,
                                               static_cast<double>(dotMagnitudes)))
        << "n = " << n;
  }
}

TEST(Reductions, ComplexDotProductsWithoutConjugation) {
  const std::vector<DCplx> a = {{1, 2}, {3, -1}, {0.5, 0.25}, {-2, 4}, {1, 1}};
  const std::vector<DCplx> b = {{2, -1}, {1, 1}, {4, 8}, {0.5, -0.5}, {3, 0}};
  const std::vector<double> r = {2, -1, 0.5, 3, -4};
  // sum a*b = (4+3i) + (4+2i) + (0+5i) + (1+3i) + (3+3i)
  const DCplx zz = nspzDotProd(a.data(), b.data(), 5);
  EXPECT_EQ(zz.re, 12.0);
  EXPECT_EQ(zz.im, 16.0);
  // sum r*b = (4-2i) + (-1-i) + (2+4i) + (1.5-1.5i) + (-12+0i)
  const DCplx dz = nspdzDotProd(r.data(), b.data(), 5);
  EXPECT_EQ(dz.re, -5.5);
  EXPECT_EQ(dz.im, -0.5);
  const DCplx zd = nspzdDotProd(b.data(), r.data(), 5);
  EXPECT_EQ(zd.re, dz.re);
  EXPECT_EQ(zd.im, dz.im);
  EXPECT_TRUE(std::isnan(nspzDotProd(a.data(), b.data(), 0).re));
}

TEST(Reductions, ExtremesReportTheFirstPosition) {
  const std::vector<double> v = {3, -1, 7, 7, -1, 2};
  int index = -2;
  EXPECT_EQ(nspdMaxExt(v.data(), 6, index), 7.0);
  EXPECT_EQ(index, 2);
  EXPECT_EQ(nspdMinExt(v.data(), 6, index), -1.0);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(nspdMax(v.data(), 6), 7.0);
  EXPECT_EQ(nspdMin(v.data(), 6), -1.0);
  EXPECT_EQ(nspdMax(v.data(), 1), 3.0);
}

TEST(Reductions, NaNPropagatesAndEmptyGivesNaN) {
  const std::vector<double> v = {1, kNaN, 5, kNaN};
  int index = -2;
  EXPECT_TRUE(std::isnan(nspdMaxExt(v.data(), 4, index)));
  EXPECT_EQ(index, 1);
  EXPECT_TRUE(std::isnan(nspdMinExt(v.data() + 2, 2, index)));
  EXPECT_EQ(index, 1);
  EXPECT_TRUE(std::isnan(nspdMean(v.data(), 4)));
  EXPECT_TRUE(std::isnan(nspdNorm(v.data(), nullptr, 4, NSP_L2)));

  EXPECT_TRUE(std::isnan(nspdMean(v.data(), 0)));
  EXPECT_TRUE(std::isnan(nspdMax(v.data(), 0)));
  EXPECT_TRUE(std::isnan(nspdMinExt(v.data(), -1, index)));
  EXPECT_EQ(index, -1);
  EXPECT_TRUE(std::isnan(nspdDotProd(v.data(), v.data(), 0)));
  EXPECT_TRUE(std::isnan(nspdNorm(v.data(), nullptr, 0, NSP_L2)));
}

TEST(Reductions, NormsByFlag) {
  const std::vector<double> a = {3, -4, 0, 12};
  const std::vector<double> b = {1, -1, 2, 0};
  EXPECT_EQ(nspdNorm(a.data(), nullptr, 4, NSP_L2), 13.0);
  EXPECT_EQ(nspdNorm(a.data(), nullptr, 4, NSP_L1), 19.0);
  EXPECT_EQ(nspdNorm(a.data(), nullptr, 4, NSP_C), 12.0);
  // a - b = (2, -3, -2, 12)
  EXPECT_DOUBLE_EQ(nspdNorm(a.data(), b.data(), 4, NSP_L2), std::sqrt(161.0));
  EXPECT_EQ(nspdNorm(a.data(), b.data(), 4, NSP_L1), 19.0);
  EXPECT_TRUE(std::isnan(nspdNorm(a.data(), nullptr, 4, 3)));

  const std::vector<DCplx> z = {{3, 4}, {0, -12}, {-5, 0}};
  const std::vector<DCplx> w = {{3, 3}, {0, 0}, {0, 0}};
  EXPECT_EQ(nspzNorm(z.data(), nullptr, 3, NSP_L2), std::sqrt(194.0));
  EXPECT_EQ(nspzNorm(z.data(), nullptr, 3, NSP_L1), 22.0);
  EXPECT_EQ(nspzNorm(z.data(), nullptr, 3, NSP_C), 12.0);
  EXPECT_EQ(nspzNorm(z.data(), w.data(), 3, NSP_L1), 18.0);
  EXPECT_DOUBLE_EQ(nspzNorm(z.data(), w.data(), 3, NSP_L2), std::sqrt(170.0));
}

TEST(Reductions, EuclideanNormNeitherOverflowsNorUnderflows) {
  for (double scale : {1e200, 1e-160, 1e-300}) {
    const std::vector<double> a = {3 * scale, -4 * scale};
    EXPECT_TRUE(orvel::testing::NearRel(nspdNorm(a.data(), nullptr, 2, NSP_L2), 5 * scale, 4 * kEps)) << scale;
    const std::vector<DCplx> z = {{3 * scale, 0}, {0, 4 * scale}};
    EXPECT_TRUE(orvel::testing::NearRel(nspzNorm(z.data(), nullptr, 2, NSP_L2), 5 * scale, 4 * kEps)) << scale;
  }
  const std::vector<double> zeros = {0, 0, 0};
  EXPECT_EQ(nspdNorm(zeros.data(), nullptr, 3, NSP_L2), 0.0);
  const std::vector<double> infinite = {1, std::numeric_limits<double>::infinity()};
  EXPECT_EQ(nspdNorm(infinite.data(), nullptr, 2, NSP_L2), std::numeric_limits<double>::infinity());
}

}  // namespace
}  // namespace spl

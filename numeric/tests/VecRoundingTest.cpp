// Rounding and truncation to integers, the shift without wrapping and the
// reduction for drawing.
//
// Covers: numeric/VecRounding.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/tests/VecTestUtil.h"
#include "testing/TestSupport.h"

namespace numeric {
namespace {

using orvel::testing::Raises;
using testutil::DoublesOf;
using testutil::Set;
using testutil::SetC;

TEST(VecRounding, RoundAndTruncTable) {
  struct Case {
    double x, rounded, truncated;
  };
  const std::vector<Case> cases{
      {1.5, 2, 1},          {2.5, 2, 2},  // halves to even
      {2.7, 3, 2},          {-2.7, -3, -2},       {-1.5, -2, -1}, {-0.4, 0, 0},
      {3e9, 2147483647, 2147483647},              // clipped to the 32-bit range
      {-3e9, -2147483648.0, -2147483648.0},       {1e300, 2147483647, 2147483647},
  };
  for (const Case& c : cases) {
    TVec v;
    Set(v, {c.x});
    EXPECT_EQ(v.Round().Values()[0], c.rounded) << c.x;
    Set(v, {c.x});
    EXPECT_EQ(v.Trunc().Values()[0], c.truncated) << c.x;
  }
}

TEST(VecRounding, RoundIntoOtherVectorTakesItsSizeAndKind) {
  TVec src, dst;
  SetC(src, {1.5, -2.5, 0.49, 7.6});
  Set(dst, {9, 9, 9, 9, 9, 9, 9});
  dst.Round(src);
  ASSERT_TRUE(dst.Complex());
  EXPECT_EQ(DoublesOf(dst), (std::vector<double>{2, -2, 0, 8}));
  dst.Trunc(src);
  EXPECT_EQ(DoublesOf(dst), (std::vector<double>{1, -2, 0, 7}));
  EXPECT_EQ(DoublesOf(src), (std::vector<double>{1.5, -2.5, 0.49, 7.6}));
}

TEST(VecRounding, EmptySourceLeavesTargetAsItWas) {
  TVec empty, dst;
  Set(dst, {1.25, 2.5});
  dst.Round(empty);
  EXPECT_EQ(DoublesOf(dst), (std::vector<double>{1.25, 2.5}));
  dst.Trunc(empty);
  EXPECT_EQ(DoublesOf(dst), (std::vector<double>{1.25, 2.5}));
}

TEST(VecRounding, ShiftTable) {
  struct Case {
    int offset;
    std::vector<double> expected;
  };
  const std::vector<Case> cases{
      {2, {1, 2, 1, 2, 3}},  {-2, {3, 4, 5, 4, 5}}, {6, {1, 2, 3, 4, 5}}, {-6, {1, 2, 3, 4, 5}},
      {5, {1, 2, 3, 4, 5}},  {-5, {1, 2, 3, 4, 5}}, {0, {1, 2, 3, 4, 5}}, {1, {1, 1, 2, 3, 4}},
      {-4, {5, 2, 3, 4, 5}}, {4, {1, 2, 3, 4, 1}},
  };
  for (const Case& c : cases) {
    TVec v;
    Set(v, {1, 2, 3, 4, 5});
    v.Shift(c.offset);
    EXPECT_EQ(DoublesOf(v), c.expected) << "offset " << c.offset;
  }
}

TEST(VecRounding, ShiftMovesWholeComplexElements) {
  TVec v;
  SetC(v, {1, 10, 2, 20, 3, 30});
  v.Shift(1);
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{1, 10, 1, 10, 2, 20}));
  SetC(v, {1, 10, 2, 20, 3, 30});
  v.Shift(-1);
  EXPECT_EQ(DoublesOf(v), (std::vector<double>{2, 20, 3, 30, 3, 30}));
}

// The expected pairs by a plain loop over runs of step samples.
std::vector<double> PairsOfRuns(const std::vector<double>& x, int step) {
  std::vector<double> out;
  for (std::size_t b = 0; b < x.size(); b += step) {
    const auto first = x.begin() + b, last = x.begin() + std::min(x.size(), b + step);
    out.push_back(*std::max_element(first, last));
    out.push_back(*std::min_element(first, last));
  }
  return out;
}

std::vector<double> Wiggle(int n) {
  std::vector<double> x(n);
  for (int i = 0; i < n; ++i) x[i] = std::sin(0.37 * i) * (1 + i % 7) + (i % 13 == 0 ? 5 : 0);
  return x;
}

TEST(VecRounding, DownSizeForDrawingByIndex) {
  struct Case {
    int n, maxPoints, step, destLength;
  };
  const std::vector<Case> cases{{1000, 100, 10, 200}, {1005, 100, 10, 202}, {1000, 400, 2, 1000},
                                {1000, 333, 3, 668},  {7, 1, 7, 2},         {1000, 0, 0, 1000}};
  for (const Case& c : cases) {
    const std::vector<double> values = Wiggle(c.n);
    TVec src, x, dest, nx;
    Set(src, values);
    x.Size(c.n, false);
    x.Ramp(10, 0.5);
    DownSizeForDrawing(dest, c.maxPoints, src, &x, &nx, true);
    ASSERT_EQ(dest.Length(), c.destLength) << c.n << "/" << c.maxPoints;
    ASSERT_EQ(nx.Length(), c.destLength);
    if (c.step <= 2) {
      EXPECT_EQ(DoublesOf(dest), values);
      EXPECT_EQ(DoublesOf(nx), DoublesOf(x));
      continue;
    }
    EXPECT_EQ(DoublesOf(dest), PairsOfRuns(values, c.step));
    for (int i = 0; i < nx.Length(); ++i) EXPECT_EQ(nx.Values()[i], 10 + i * c.step / 2.0);
  }
}

TEST(VecRounding, DownSizeForDrawingIntoItsOwnSource) {
  const std::vector<double> values = Wiggle(1000);
  TVec v;
  Set(v, values);
  DownSizeForDrawing(v, 100, v, nullptr, nullptr, true);
  EXPECT_EQ(DoublesOf(v), PairsOfRuns(values, 10));
}

TEST(VecRounding, DownSizeForDrawingByX) {
  // Unevenly spaced abscissae: the bins are equal in X, not in samples, so
  // the dense start shares few bins and the sparse end leaves some empty.
  const int n = 1000, maxPoints = 100, bins = n / (n / maxPoints);
  std::vector<double> xs(n);
  const std::vector<double> values = Wiggle(n);
  for (int i = 0; i < n; ++i) xs[i] = 2.0 + 100.0 * std::pow(i / double(n - 1), 3);
  TVec src, x, dest, nx;
  Set(src, values);
  Set(x, xs);
  DownSizeForDrawing(dest, maxPoints, src, &x, &nx, false);
  ASSERT_EQ(dest.Length(), nx.Length());
  ASSERT_EQ(dest.Length() % 2, 0);
  ASSERT_GT(dest.Length(), 0);
  ASSERT_LE(dest.Length(), 2 * bins);
  const double dx = 100.0 / bins;
  // Each pair is exactly the extremes of the samples in its bin.
  for (int j = 0; j < dest.Length() / 2; ++j) {
    const double start = nx.Values()[2 * j];
    EXPECT_NEAR(nx.Values()[2 * j + 1] - start, dx / 2, 1e-12);
    const int b = static_cast<int>(std::lround((start - 2.0) / dx));
    double hi = -INFINITY, lo = INFINITY;
    for (int i = 0; i < n; ++i) {
      const int bi = std::min(bins - 1, static_cast<int>((xs[i] - 2.0) / dx));
      if (bi != b) continue;
      hi = std::max(hi, values[i]);
      lo = std::min(lo, values[i]);
    }
    EXPECT_EQ(dest.Values()[2 * j], hi) << "pair " << j;
    EXPECT_EQ(dest.Values()[2 * j + 1], lo) << "pair " << j;
  }
  EXPECT_EQ(*std::max_element(dest.Values(), dest.Values() + dest.Length()),
            *std::max_element(values.begin(), values.end()));
  EXPECT_EQ(*std::min_element(dest.Values(), dest.Values() + dest.Length()),
            *std::min_element(values.begin(), values.end()));
}

TEST(VecRounding, DownSizeForDrawingByXWithNaNAbscissae) {
  // A NaN abscissa goes to the first bin: no undefined conversion, no crash.
  std::vector<double> xs(300), values = Wiggle(300);
  for (int i = 0; i < 300; ++i) xs[i] = i;
  xs[7] = NAN;
  TVec src, x, dest, nx;
  Set(src, values);
  Set(x, xs);
  DownSizeForDrawing(dest, 30, src, &x, &nx, false);
  EXPECT_GT(dest.Length(), 0);
  EXPECT_EQ(dest.Length(), nx.Length());
}

TEST(VecRounding, DownSizeForDrawingRefusals) {
  TVec real, cplx, shortX, dest, nx;
  Set(real, Wiggle(100));
  SetC(cplx, Wiggle(100));
  Set(shortX, {1, 2, 3});
  EXPECT_TRUE(Raises([&] { DownSizeForDrawing(dest, 10, cplx, nullptr, nullptr, true); }, "Src.Complex = True"));
  EXPECT_TRUE(Raises([&] { DownSizeForDrawing(dest, 10, real, nullptr, &nx, false); }, "(X = nil) or (NX = nil)"));
  EXPECT_TRUE(Raises([&] { DownSizeForDrawing(dest, 10, real, &shortX, nullptr, false); },
                     "(X = nil) or (NX = nil)"));
  EXPECT_TRUE(Raises([&] { DownSizeForDrawing(dest, 10, real, &shortX, &nx, false); }, "SrcX.Length <> SrcY.Length"));
  EXPECT_EQ(dest.Length(), 0);
}

}  // namespace
}  // namespace numeric

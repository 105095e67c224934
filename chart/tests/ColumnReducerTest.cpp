// Covers chart/core/ColumnReducer.cpp: the reduction one point at a time on a
// hand-made line, and the one-call reduction against it on random lines of
// every shape the maps and the values take.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "chart/core/ColumnReducer.h"
#include "testing/TestSupport.h"

namespace chart {
namespace {

TEST(ColumnReducer, AColumnBecomesItsFirstLowestHighestAndLastInTheirOrder) {
  std::vector<TPoint> out;
  TColumnReducer r(out);
  const std::vector<TPoint> line = {{0, 5}, {0, 9}, {0, 1}, {0, 4}, {1, 3}, {1, 3},
                                    {2, 7}, {2, 2}, {2, 8}, {2, 6}, {0, 4}};
  for (const TPoint& p : line) r.Add(p);
  r.Flush();
  // Column 0 meets its highest before its lowest, column 2 the other way; a
  // column met again later is a new one.
  EXPECT_EQ(out, (std::vector<TPoint>{{0, 5}, {0, 9}, {0, 1}, {0, 4}, {1, 3}, {2, 7}, {2, 2}, {2, 8}, {2, 6},
                                      {0, 4}}));
}

struct TLineShape {
  const char* Name;
  int Points;
  double XScale;  // pixels per unit along x
  bool XNegate;
  double YScale;
  bool YNegate;
  bool SortedX;        // x ascending and known so
  int NanEvery;        // a NaN y value every so many points (0: none)
  int FarEvery;        // a value beyond the pixel limit (or infinite) every so many points
  int RepeatX;         // each x value this many times (0: sorted x with uneven gaps)
};

const TLineShape Shapes[] = {
    {"dense walk", 200000, 1920.0 / 200000, false, 0.5, true, true, 0, 0, 1},
    {"dense walk, inverted axes", 200000, 1920.0 / 200000, true, 0.5, false, true, 0, 0, 1},
    {"fewer points than pixels", 500, 3.7, false, 2.0, true, true, 0, 0, 1},
    {"unsorted x", 50000, 0.01, false, 0.5, true, false, 0, 0, 1},
    {"NaN values", 50000, 0.02, false, 0.5, true, true, 97, 0, 1},
    {"values beyond the pixel limit", 50000, 0.02, false, 0.5, true, true, 0, 101, 1},
    {"repeated x values", 60000, 0.05, false, 3.0, true, true, 0, 0, 7},
    {"a reversed axis size", 30000, -0.03, false, -0.8, true, true, 0, 0, 1},
    {"a flat vertical axis", 30000, 0.03, false, 0.0, true, true, 0, 0, 1},
    {"many pixels per unit", 20000, 1e6, false, 1e5, true, true, 0, 0, 1},
    {"uneven gaps between sorted x", 100000, 0.3, false, 0.5, true, true, 0, 0, 0},
    {"uneven gaps, inverted axis", 100000, 0.3, true, 0.5, true, true, 0, 0, 0},
};

class ColumnReduction : public ::testing::TestWithParam<TLineShape> {};

TEST_P(ColumnReduction, OneCallGivesWhatThePointByPointReducerGives) {
  const TLineShape& shape = GetParam();
  const std::uint64_t seed = orvel::testing::TestSeed(20240611);
  std::mt19937_64 random(seed);
  std::normal_distribution<double> step(0, 1);
  std::uniform_real_distribution<double> anywhere(-1000, 1000);
  std::exponential_distribution<double> gap(1.0 / 0.03);
  const int n = shape.Points;
  std::vector<double> xs(static_cast<std::size_t>(n)), ys(static_cast<std::size_t>(n));
  double y = 0;
  for (int i = 0; i < n; ++i) {
    if (!shape.SortedX)
      xs[i] = anywhere(random);
    else if (shape.RepeatX == 0)
      xs[i] = i == 0 ? 10.0 : xs[i - 1] + gap(random) * (i % 1000 < 500 ? 1 : 40);
    else
      xs[i] = 10.0 + i / shape.RepeatX;
    ys[i] = y += step(random);
    if (shape.NanEvery > 0 && i % shape.NanEvery == 5) ys[i] = std::nan("");
    if (shape.FarEvery > 0 && i % shape.FarEvery == 3)
      ys[i] = i % 2 == 0 ? std::numeric_limits<double>::infinity() : -1e300;
  }
  const TLinearPixelMap xMap{10.0, shape.XScale, shape.XNegate ? 1970.0 : 50.0, shape.XNegate};
  const TLinearPixelMap yMap{-40.0, shape.YScale, shape.YNegate ? 1000.0 : 20.0, shape.YNegate};
  // A whole line and a slice of it.
  for (auto [first, last] : {std::pair{0, n - 1}, std::pair{n / 3, n / 3 + n / 10}}) {
    std::vector<TPoint> expected;
    TColumnReducer reducer(expected);
    for (int i = first; i <= last; ++i) reducer.Add({xMap(xs[i]), yMap(ys[i])});
    reducer.Flush();
    std::vector<TPoint> got;
    ReduceColumns(xs, ys, first, last, xMap, yMap, shape.SortedX, got);
    ASSERT_EQ(got.size(), expected.size()) << "points " << first << ".." << last << ", seed " << seed;
    for (std::size_t k = 0; k < got.size(); ++k)
      ASSERT_EQ(got[k], expected[k]) << "vertex " << k << ", points " << first << ".." << last << ", seed " << seed;
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, ColumnReduction, ::testing::ValuesIn(Shapes),
                         [](const ::testing::TestParamInfo<TLineShape>& info) { return std::to_string(info.index); });

}  // namespace
}  // namespace chart

// Tests of the Remez exchange on grids built here: the equiripple property, the failure
// statuses, the sixteen-argument face, and designs on two threads at once.
//
// Covers: platform/lapack/Remez.cpp, RemezSolve.cpp, RemezInterpolation.cpp, RemezSelect.cpp.
#include "platform/lapack/Remez.h"
#include "platform/lapack/tests/RemezTestGrid.h"
#include "testing/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <thread>
#include <vector>

namespace lapack {
namespace {

using testing::ScipyGrid;
using testing::TestGrid;

struct Design {
  TestGrid grid;
  std::vector<double> alpha;
  RemezOutcome outcome;
};

Design Solve(TestGrid g) {
  Design d{std::move(g), {}, {}};
  d.alpha.assign(d.grid.nfcns, 0.0);
  std::vector<int> ext = d.grid.iext;
  d.outcome = RemezSolve(d.grid.grid, d.grid.des, d.grid.wt, d.grid.nfcns, ext, d.alpha);
  return d;
}

std::vector<double> WeightedErrors(const TestGrid& g, const std::vector<double>& alpha) {
  std::vector<double> e(g.grid.size());
  for (std::size_t k = 0; k < e.size(); ++k)
    e[k] = g.wt[k] * (g.des[k] - testing::CosineSum(alpha, g.grid[k]));
  return e;
}

// The equiripple property of a converged design, measured from its coefficients: the largest
// weighted error exceeds the deviation by at most 0.1 %, and at least nfcns + 1 grid points
// alternate in sign at 99.9 % of it.
::testing::AssertionResult Equiripple(const Design& d) {
  if (d.outcome.Status >= RemezFailed)
    return ::testing::AssertionFailure() << "status " << d.outcome.Status;
  const double dev = d.outcome.Deviation;
  const std::vector<double> e = WeightedErrors(d.grid, d.alpha);
  double largest = 0;
  int alternations = 0, lastSign = 0;
  for (double v : e) {
    largest = std::max(largest, std::fabs(v));
    if (std::fabs(v) >= 0.999 * dev) {
      const int sign = v > 0 ? 1 : -1;
      if (sign != lastSign) ++alternations;
      lastSign = sign;
    }
  }
  if (largest > dev * 1.001)
    return ::testing::AssertionFailure() << "largest error " << largest << " deviation " << dev;
  if (alternations < d.grid.nfcns + 1)
    return ::testing::AssertionFailure()
           << alternations << " alternations, " << d.grid.nfcns + 1 << " needed";
  return ::testing::AssertionSuccess();
}

struct Spec {
  const char* name;
  int numtaps;
  testing::ScipyType type;
  std::vector<double> edges, desired, weights;
};

void PrintTo(const Spec& s, std::ostream* os) { *os << s.name; }

class RemezEquiripple : public ::testing::TestWithParam<Spec> {};

TEST_P(RemezEquiripple, LevelsTheErrorOnTheGrid) {
  const Spec& s = GetParam();
  const Design d = Solve(ScipyGrid(s.numtaps, s.edges, s.desired, s.weights, s.type));
  EXPECT_TRUE(Equiripple(d));
  EXPECT_GT(d.outcome.Deviation, 0);
}

// Every symmetry (the change of variables makes each a cosine problem), narrow and wide
// transitions, unequal weights, and a length where the grid leaves a wide gap.
INSTANTIATE_TEST_SUITE_P(
    Designs, RemezEquiripple,
    ::testing::Values(
        Spec{"lowpass3", 3, testing::kBandpass, {0, 0.1, 0.3, 0.5}, {1, 0}, {1, 1}},
        Spec{"lowpass4", 4, testing::kBandpass, {0, 0.1, 0.3, 0.5}, {1, 0}, {1, 1}},
        Spec{"lowpass31", 31, testing::kBandpass, {0, 0.2, 0.25, 0.5}, {1, 0}, {1, 1}},
        Spec{"lowpass64", 64, testing::kBandpass, {0, 0.2, 0.25, 0.5}, {1, 0}, {1, 10}},
        Spec{"bandstop151", 151, testing::kBandpass, {0, 0.1, 0.12, 0.3, 0.32, 0.5}, {1, 0, 1}, {1, 1, 1}},
        Spec{"fourbands201", 201, testing::kBandpass, {0, 0.05, 0.07, 0.2, 0.22, 0.3, 0.32, 0.5},
             {0, 1, 0, 1}, {1, 1, 2, 1}},
        Spec{"gap51", 51, testing::kBandpass, {0, 0.2, 0.4, 0.5}, {1, 0}, {1, 1}},
        Spec{"hilbert31", 31, testing::kHilbert, {0.05, 0.45}, {1}, {1}},
        Spec{"hilbert64", 64, testing::kHilbert, {0.1, 0.5}, {1}, {1}},
        Spec{"differentiator41", 41, testing::kDifferentiator, {0, 0.4}, {1}, {1}},
        Spec{"differentiator40", 40, testing::kDifferentiator, {0, 0.5}, {1}, {1}},
        Spec{"lowpass1001", 1001, testing::kBandpass, {0, 0.1, 0.102, 0.5}, {1, 0}, {1, 1}},
        Spec{"bandpass2001", 2001, testing::kBandpass, {0, 0.1, 0.101, 0.2, 0.201, 0.5},
             {0, 1, 0}, {1, 1, 1}}),
    [](const ::testing::TestParamInfo<Spec>& info) { return std::string(info.param.name); });

TEST(RemezSolve, StartsFromAnySetWhenTheGivenOneIsUnusable) {
  TestGrid g = ScipyGrid(41, {0, 0.2, 0.25, 0.5}, {1, 0}, {1, 1}, testing::kBandpass);
  const Design reference = Solve(g);
  for (std::vector<int> start : {std::vector<int>(g.iext.rbegin(), g.iext.rend()),
                                 std::vector<int>(g.iext.size(), 0),
                                 std::vector<int>(g.iext.size(), -7)}) {
    std::vector<double> alpha(g.nfcns);
    const RemezOutcome o = RemezSolve(g.grid, g.des, g.wt, g.nfcns, start, alpha);
    ASSERT_EQ(o.Status, RemezConverged);
    EXPECT_TRUE(orvel::testing::NearScaled(o.Deviation, reference.outcome.Deviation, 1e-12, 1.0));
    for (int k = 0; k < g.nfcns; ++k) EXPECT_TRUE(orvel::testing::NearScaled(alpha[k], reference.alpha[k], 1e-10, 1.0));
  }
}

TEST(RemezSolve, PointsOfZeroWeightConstrainNothing) {
  // A third band of weight 0 with a wild target changes nothing.
  TestGrid plain = ScipyGrid(41, {0, 0.1, 0.2, 0.3}, {1, 0}, {1, 1}, testing::kBandpass);
  TestGrid extra = ScipyGrid(41, {0, 0.1, 0.2, 0.3, 0.35, 0.5}, {1, 0, 50}, {1, 1, 0},
                             testing::kBandpass);
  const Design a = Solve(plain), b = Solve(extra);
  ASSERT_EQ(a.outcome.Status, RemezConverged);
  ASSERT_EQ(b.outcome.Status, RemezConverged);
  EXPECT_TRUE(orvel::testing::NearScaled(a.outcome.Deviation, b.outcome.Deviation, 1e-12, 1.0));
  for (int k = 0; k < a.grid.nfcns; ++k) EXPECT_TRUE(orvel::testing::NearScaled(a.alpha[k], b.alpha[k], 1e-9, 1.0));
}

TEST(RemezSolve, BandsSharingAnEdgeDoNotBreakTheExchange) {
  // Two grid points at one frequency with different targets: the exchange may use only one.
  const Design d = Solve(ScipyGrid(21, {0, 0.2, 0.2, 0.5}, {1, 0}, {1, 1}, testing::kBandpass));
  for (double a : d.alpha) EXPECT_TRUE(std::isfinite(a));
  EXPECT_TRUE(std::isfinite(d.outcome.Deviation));
  // No polynomial can be closer than half the jump at the shared edge.
  EXPECT_GE(d.outcome.Deviation, 0.5 - 1e-9);
}

// Failures leave finite coefficients (zeros when nothing could be iterated) and say so.
TEST(RemezSolve, TooFewPointsFailWithZeroCoefficients) {
  const std::vector<double> grid{0.0, 0.1, 0.2, 0.3}, des{1, 1, 0, 0}, wt{1, 1, 1, 1};
  std::vector<double> alpha(4, 99.0);
  std::vector<int> ext{0, 1, 2, 3, 3};
  const RemezOutcome o = RemezSolve(grid, des, wt, 4, ext, alpha);
  EXPECT_EQ(o.Status, RemezGridTooSmall);
  EXPECT_EQ(o.Deviation, std::numeric_limits<double>::infinity());
  for (double a : alpha) EXPECT_EQ(a, 0.0);

  // Repeated frequencies and zero weights do not count as points.
  const std::vector<double> g2{0.0, 0.1, 0.1, 0.2, 0.3}, d2{1, 1, 0, 0, 0}, w2{1, 1, 1, 1, 0};
  std::vector<int> ext2{0, 1, 3, 4};
  std::vector<double> alpha2(3);
  EXPECT_EQ(RemezSolve(g2, d2, w2, 3, ext2, alpha2).Status, RemezGridTooSmall);

  std::vector<int> ext3{0, 0};
  std::vector<double> alpha3(1);
  EXPECT_EQ(RemezSolve({}, {}, {}, 1, ext3, alpha3).Status, RemezGridTooSmall);
}

TEST(RemezSolve, NonFiniteInputFails) {
  TestGrid g = ScipyGrid(21, {0, 0.1, 0.2, 0.5}, {1, 0}, {1, 1}, testing::kBandpass);
  for (int which = 0; which < 3; ++which) {
    TestGrid bad = g;
    std::vector<double>& v = which == 0 ? bad.grid : which == 1 ? bad.des : bad.wt;
    v[5] = std::numeric_limits<double>::quiet_NaN();
    const Design d = Solve(bad);
    EXPECT_EQ(d.outcome.Status, RemezBadInput);
    for (double a : d.alpha) EXPECT_EQ(a, 0.0);
  }
  std::vector<int> ext(1);
  std::vector<double> alpha(1);
  EXPECT_EQ(RemezSolve(g.grid, g.des, g.wt, 0, ext, alpha).Status, RemezBadInput);
}

TEST(RemezSolve, DeviationBelowDoublePrecisionFailsWithFiniteCoefficients) {
  // A wide transition for this many taps: the optimal deviation is far below 1e-16.
  for (int numtaps : {201, 2001}) {
    const Design d = Solve(ScipyGrid(numtaps, {0, 0.05, 0.25, 0.5}, {1, 0}, {1, 1}, testing::kBandpass));
    EXPECT_GE(d.outcome.Status, RemezFailed) << numtaps;
    for (double a : d.alpha) ASSERT_TRUE(std::isfinite(a)) << numtaps;
  }
  // A target that is itself a short cosine sum: the error is rounding, the iteration cannot
  // certify a level, and the coefficients still are the target's.
  TestGrid g = ScipyGrid(21, {0, 0.5}, {0}, {1}, testing::kBandpass);
  for (std::size_t k = 0; k < g.grid.size(); ++k)
    g.des[k] = 0.5 + 0.25 * std::cos(2 * std::numbers::pi * g.grid[k]) -
               0.125 * std::cos(6 * std::numbers::pi * g.grid[k]);
  const Design d = Solve(g);
  EXPECT_GE(d.outcome.Status, RemezFailed);
  const std::vector<double> expected{0.5, 0.25, 0, -0.125};
  for (int k = 0; k < g.nfcns; ++k)
    EXPECT_TRUE(orvel::testing::NearScaled(d.alpha[k], k < 4 ? expected[k] : 0.0, 1e-12, 1.0)) << k;
}

// 1001 taps with a transition of 0.02: the optimal deviation lies at the rounding of double
// precision. The exchange gives up once its deviation has stalled, long before its iteration
// limit, and the deviation it reports is what its coefficients reach on the grid, not the
// rounding its last level came to.
TEST(RemezSolve, StalledExchangeReportsWhatItsCoefficientsReach) {
  const Design d = Solve(ScipyGrid(1001, {0, 0.2, 0.22, 0.5}, {1, 0}, {1, 1}, testing::kBandpass));
  EXPECT_EQ(d.outcome.Status, RemezNoConvergence);
  EXPECT_LE(d.outcome.Iterations, 4 * 3);
  double largest = 0;
  for (double e : WeightedErrors(d.grid, d.alpha)) largest = std::max(largest, std::fabs(e));
  EXPECT_TRUE(orvel::testing::NearRel(d.outcome.Deviation, largest, 1e-6))
      << d.outcome.Deviation << " reported, " << largest << " reached";
}

TEST(RemezSolve, DesignsOnTwoThreadsMatchTheSameDesignsInTurn) {
  const TestGrid a = ScipyGrid(301, {0, 0.1, 0.11, 0.5}, {1, 0}, {1, 1}, testing::kBandpass);
  const TestGrid b = ScipyGrid(200, {0.02, 0.5}, {1}, {1}, testing::kHilbert);
  const Design ra = Solve(a), rb = Solve(b);
  Design ta, tb;
  std::thread t1([&] { for (int i = 0; i < 3; ++i) ta = Solve(a); });
  std::thread t2([&] { for (int i = 0; i < 3; ++i) tb = Solve(b); });
  t1.join();
  t2.join();
  EXPECT_EQ(ta.alpha, ra.alpha);
  EXPECT_EQ(tb.alpha, rb.alpha);
  EXPECT_EQ(ta.outcome.Deviation, ra.outcome.Deviation);
  EXPECT_EQ(tb.outcome.Deviation, rb.outcome.Deviation);
}

TEST(REMEZ, SixteenArgumentsGiveWhatRemezSolveGives) {
  const TestGrid g = ScipyGrid(51, {0, 0.15, 0.2, 0.5}, {1, 0}, {1, 4}, testing::kBandpass);
  const Design reference = Solve(g);
  const int c = g.nfcns, ngrid = static_cast<int>(g.grid.size());
  std::vector<double> ad(c + 1), x(c + 1), y(c + 1), alpha(c), iext(c + 1);
  std::vector<double> w1(c + 1), w2(c + 1), w3(c + 1);
  // 1-based positions as doubles, with the fractions the designer's spread leaves in them.
  for (int j = 0; j < c; ++j) iext[j] = j * (double(ngrid - 1) / c) + 1;
  iext[c] = ngrid;
  double scratch = 0, deviation = 0;
  int status = -1;
  const int rc = REMEZ(ad.data(), &scratch, x.data(), y.data(), g.grid.data(), g.des.data(),
                       g.wt.data(), alpha.data(), iext.data(), &c, &ngrid, w1.data(), w2.data(),
                       w3.data(), &deviation, &status);
  EXPECT_EQ(rc, status);
  EXPECT_EQ(status, RemezConverged);
  EXPECT_DOUBLE_EQ(deviation, reference.outcome.Deviation);
  for (int k = 0; k < c; ++k) EXPECT_TRUE(orvel::testing::NearScaled(alpha[k], reference.alpha[k], 1e-13, 1.0));
  // The final extremal set comes back 1-based and ascending.
  for (int j = 0; j <= c; ++j) {
    EXPECT_GE(iext[j], 1);
    EXPECT_LE(iext[j], ngrid);
    if (j > 0) {
      EXPECT_GT(iext[j], iext[j - 1]);
    }
  }

  const int none = 0;
  REMEZ(ad.data(), &scratch, x.data(), y.data(), g.grid.data(), g.des.data(), g.wt.data(),
        alpha.data(), iext.data(), &none, &ngrid, w1.data(), w2.data(), w3.data(), &deviation,
        &status);
  EXPECT_EQ(status, RemezBadInput);
}

}  // namespace
}  // namespace lapack

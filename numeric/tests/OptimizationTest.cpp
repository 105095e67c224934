// Covers numeric/Optimization.cpp: Brent's minimiser on functions of known
// minimum, the Nelder-Mead simplex on Rosenbrock's function and its friends,
// iteration limits and stop reasons, the start simplex, the re-evaluation
// after a shrink, the traces, and errors raised by the objective.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

#include "numeric/Numora.h"
#include "numeric/Optimization.h"
#include "platform/classlib/StringLists.h"
#include "testing/TestSupport.h"

namespace numeric {
namespace {

using orvel::testing::Raises;

using TObjects = std::span<classlib::TPersistent* const>;

// A function of one variable as an objective.
TMinFunc Of1(double (*f)(double)) {
  return [f](std::span<const double> p, std::span<const double>, TObjects) { return f(p[0]); };
}

TEST(MinBrent, FindsKnownMinimaFromEitherOrder) {
  struct Case {
    double (*F)(double);
    double A, B, XMin;
  };
  const Case cases[] = {
      {[](double x) { return (x - 2) * (x - 2); }, 0.0, 5.0, 2.0},
      {[](double x) { return std::cos(x); }, 3.0, 4.0, PI},
      {[](double x) { return x * x * x * x - 3 * x; }, -1.0, 3.0, std::cbrt(0.75)},
      {[](double x) { return std::fabs(x - 0.3); }, -2.0, 1.0, 0.3},
      {[](double x) { return std::exp(x) - 4 * x; }, 0.0, 3.0, std::log(4.0)},
  };
  for (const Case& c : cases) {
    double x1 = 0.0, x2 = 0.0;
    const std::int32_t passes = MinBrent(Of1(c.F), {}, c.A, c.B, {}, x1, 100, 1e-10);
    MinBrent(Of1(c.F), {}, c.B, c.A, {}, x2, 100, 1e-10);
    EXPECT_EQ(x1, x2);
    const double tol1 = 1.4901161194e-08 * std::fabs(x1) + 1e-10 / 3;
    EXPECT_LE(std::fabs(x1 - c.XMin), 3 * tol1) << c.XMin;
    EXPECT_LT(passes, 100);
  }
}

TEST(MinBrent, PassesConstantsAndStopsAfterMaxIterPlusOnePasses) {
  int calls = 0;
  const std::vector<double> consts = {1.75};
  classlib::TStringList marker;
  classlib::TPersistent* objects[] = {&marker};
  const TMinFunc f = [&](std::span<const double> p, std::span<const double> c, TObjects o) {
    ++calls;
    EXPECT_EQ(c.size(), 1u);
    EXPECT_EQ(o.size(), 1u);
    EXPECT_EQ(o[0], &marker);
    return (p[0] - c[0]) * (p[0] - c[0]);
  };
  double x = 0.0;
  MinBrent(f, consts, -10.0, 10.0, objects, x, 100, 1e-12);
  EXPECT_NEAR(x, 1.75, 1e-7);
  // One evaluation at the start and one a pass.
  calls = 0;
  EXPECT_EQ(MinBrent(f, consts, -10.0, 10.0, objects, x, 0, 1e-12), 1);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(MinBrent(f, consts, -10.0, 10.0, objects, x, 3, 1e-12), 4);
}

TEST(MinBrent, TraceNumbersItsPassesFromTwo) {
  classlib::TStringList trace;
  double x = 0.0;
  const std::int32_t passes =
      MinBrent(Of1([](double v) { return (v - 2) * (v - 2); }), {}, 0.0, 5.0, {}, x, 100, 1e-6, &trace);
  ASSERT_EQ(trace.Count(), passes + 2);
  EXPECT_EQ(trace.Strings(0), "MinBrent");
  EXPECT_EQ(trace.Strings(1), "Iteration x");
  // x = 0 + 0.381966 * 5, shown to one significant digit with 6 decimals.
  EXPECT_EQ(trace.Strings(2), "0002      2.000000");
  EXPECT_EQ(trace.Strings(3).substr(0, 10), "0003      ");
}

double Rosenbrock(std::span<const double> p) { return 100 * std::pow(p[1] - p[0] * p[0], 2) + std::pow(1 - p[0], 2); }
double Beale(std::span<const double> p) {
  const double x = p[0], y = p[1];
  return std::pow(1.5 - x + x * y, 2) + std::pow(2.25 - x + x * y * y, 2) + std::pow(2.625 - x + x * y * y * y, 2);
}
double Booth(std::span<const double> p) { return std::pow(p[0] + 2 * p[1] - 7, 2) + std::pow(2 * p[0] + p[1] - 5, 2); }
double Sphere4(std::span<const double> p) {
  double s = 0;
  for (std::size_t i = 0; i < 4; ++i) s += (p[i] - static_cast<double>(i)) * (p[i] - static_cast<double>(i));
  return s;
}

TEST(Simplex, ReachesTheMinimaOfRosenbrockAndFriends) {
  struct Case {
    const char* Name;
    double (*F)(std::span<const double>);
    std::vector<double> Start, Min;
  };
  const Case cases[] = {
      {"Rosenbrock", Rosenbrock, {-1.2, 1.0}, {1.0, 1.0}},
      {"Beale", Beale, {1.0, 1.0}, {3.0, 0.5}},
      {"Booth", Booth, {0.0, 0.0}, {1.0, 3.0}},
      {"Sphere4", Sphere4, {1.0, 1.0, 1.0, 1.0}, {0.0, 1.0, 2.0, 3.0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<double> pars = c.Start;
    double fmin = -1.0;
    std::uint8_t stop = 0;
    const TMinFunc f = [&](std::span<const double> p, std::span<const double>, TObjects) { return c.F(p); };
    const std::int32_t iterations = Simplex(f, pars, {}, {}, fmin, stop, 10000, 1e-10);
    EXPECT_EQ(stop, 7);
    EXPECT_LT(iterations, 10000);
    for (std::size_t i = 0; i < pars.size(); ++i) EXPECT_NEAR(pars[i], c.Min[i], 1e-7) << i;
    EXPECT_LT(fmin, 1e-14);
    EXPECT_EQ(fmin, c.F(pars));
  }
}

TEST(Simplex, StartSimplexScalesEachCoordinateOrSetsIt) {
  std::vector<std::vector<double>> points;
  const TMinFunc f = [&](std::span<const double> p, std::span<const double>, TObjects) {
    points.emplace_back(p.begin(), p.end());
    return p[0] * p[0] + p[1] * p[1];
  };
  std::vector<double> pars = {2.0, 0.0};
  double fmin = 0.0;
  std::uint8_t stop = 0;
  // MaxIter 0: one iteration, then the limit.
  EXPECT_EQ(Simplex(f, pars, {}, {}, fmin, stop, 0, 1e-12), 1);
  EXPECT_EQ(stop, 6);
  ASSERT_GE(points.size(), 3u);
  EXPECT_EQ(points[0], (std::vector<double>{2.1, 0.0}));
  EXPECT_EQ(points[1], (std::vector<double>{2.0, 0.0025}));
  EXPECT_EQ(points[2], (std::vector<double>{2.0, 0.0}));
}

TEST(Simplex, LimitWinsOverSizeInTheSameIteration) {
  // A tolerance the first iteration already meets.
  const TMinFunc f = [](std::span<const double> p, std::span<const double>, TObjects) { return p[0] * p[0]; };
  std::vector<double> pars = {1.0};
  double fmin = 0.0;
  std::uint8_t stop = 0;
  EXPECT_EQ(Simplex(f, pars, {}, {}, fmin, stop, 0, 10.0), 1);
  EXPECT_EQ(stop, 6);
  pars = {1.0};
  EXPECT_EQ(Simplex(f, pars, {}, {}, fmin, stop, 5, 10.0), 1);
  EXPECT_EQ(stop, 7);
}

// From 1: the vertices 1.05 (value 1) and 1 (value 0); the reflection 0.95
// and the contraction 1.025 are both worse than 1.05, so the simplex shrinks
// 1.05 onto 1.025, where the function is 5, not the 1 it had at 1.05.
TEST(Simplex, ShrunkVerticesAreEvaluatedAgain) {
  std::vector<double> points;
  const TMinFunc f = [&](std::span<const double> p, std::span<const double>, TObjects) {
    points.push_back(p[0]);
    if (p[0] == 1.0) return 0.0;
    if (std::fabs(p[0] - 1.05) < 1e-12) return 1.0;
    if (std::fabs(p[0] - 0.95) < 1e-12) return 2.0;
    return 5.0;
  };
  std::vector<double> pars = {1.0};
  double fmin = 0.0;
  std::uint8_t stop = 0;
  EXPECT_EQ(Simplex(f, pars, {}, {}, fmin, stop, 0, 1e-9), 1);
  // Start (2), reflection, contraction, and the shrunk vertex again.
  ASSERT_EQ(points.size(), 5u);
  EXPECT_NEAR(points[3], 1.025, 1e-15);
  EXPECT_EQ(points[4], points[3]);
  EXPECT_EQ(pars[0], 1.0);
  EXPECT_EQ(fmin, 0.0);
}

TEST(Simplex, TraceShowsTheBestValueEachIteration) {
  classlib::TStringList trace;
  const TMinFunc f = [](std::span<const double> p, std::span<const double>, TObjects) { return Booth(p); };
  std::vector<double> pars = {0.0, 0.0};
  double fmin = 0.0;
  std::uint8_t stop = 0;
  const std::int32_t iterations = Simplex(f, pars, {}, {}, fmin, stop, 3, 1e-6, &trace);
  ASSERT_EQ(trace.Count(), iterations + 2);
  EXPECT_EQ(trace.Strings(0), "Simplex");
  EXPECT_EQ(trace.Strings(1), "Iteration Fun");
  EXPECT_EQ(trace.Strings(2).substr(0, 10), "0000      ");
  EXPECT_EQ(trace.Strings(5).substr(0, 10), "0003      ");
}

TEST(Simplex, ErrorsOfTheObjectivePassThroughAndReturnTheWorkObjects) {
  const TCacheState vecs = VecCacheState(), mtxs = MtxCacheState();
  int calls = 0;
  const TMinFunc f = [&](std::span<const double> p, std::span<const double>, TObjects) {
    if (++calls == 5) RaiseError("objective failed");
    return p[0] * p[0];
  };
  std::vector<double> pars = {1.0, 2.0};
  double fmin = 0.0;
  std::uint8_t stop = 0;
  EXPECT_TRUE(Raises([&] { Simplex(f, pars, {}, {}, fmin, stop, 100, 1e-9); }, "objective failed"));
  EXPECT_EQ(VecCacheState().UsedCount, vecs.UsedCount);
  EXPECT_EQ(MtxCacheState().UsedCount, mtxs.UsedCount);
  calls = 0;
  double x = 0.0;
  EXPECT_TRUE(Raises([&] { MinBrent(f, {}, 0.0, 1.0, {}, x, 100, 1e-9); }, "objective failed"));
}

}  // namespace
}  // namespace numeric

// Designs of filter records against scipy.signal.remez (fixtures in
// data/remez_designs.txt, made by gen_remez_fixtures.py).
// Covers: Classes_Remez_Exchange.cpp, Classes_Remez_Design.cpp,
// Classes_Remez_DelayCut.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "workbench/logic/Classes_Remez.h"
#include "workbench/logic/formRemezParameters.h"

namespace workbench {
namespace {

struct Fixture {
  std::string name;
  TFilterRecord filter;
  int gridDensity = DefaultGridDensity;
  std::vector<double> impulse;
  int count = 0;
  std::vector<double> coef;  // every entry the cut writes
};

std::vector<Fixture> LoadFixtures() {
  std::ifstream in(std::string(ORVEL_TEST_SOURCE_DIR) + "/data/remez_designs.txt");
  EXPECT_TRUE(in.good()) << "missing data/remez_designs.txt";
  std::vector<Fixture> fixtures;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream s(line);
    std::string tag;
    s >> tag;
    if (tag == "design") {
      Fixture f;
      int type = 0;
      TFilterRecord& r = f.filter;
      int method = 0;
      s >> f.name >> type >> r.P1 >> r.D1 >> r.A1 >> r.P2 >> r.D2 >> r.A2 >> r.Ripple >> r.Order >> r.Delay >> method >>
          f.gridDensity;
      r.FilterType = static_cast<std::uint8_t>(type);
      r.Method = static_cast<std::uint8_t>(method);
      r.Name = f.name;
      fixtures.push_back(f);
    } else if (tag == "impulse") {
      int n = 0;
      s >> n;
      fixtures.back().impulse.resize(static_cast<std::size_t>(n));
      for (double& v : fixtures.back().impulse) s >> v;
    } else if (tag == "coef") {
      int written = 0;
      s >> fixtures.back().count >> written;
      fixtures.back().coef.resize(static_cast<std::size_t>(written));
      for (double& v : fixtures.back().coef) s >> v;
    }
  }
  return fixtures;
}

// Worst difference of two equally long sequences, with its index, against a
// tolerance relative to the larger of 1 and the largest expected magnitude.
testing::AssertionResult Near(std::span<const double> actual, std::span<const double> expected, double tol) {
  if (actual.size() != expected.size())
    return testing::AssertionFailure() << "length " << actual.size() << " != " << expected.size();
  double scale = 1;
  for (double v : expected) scale = std::max(scale, std::fabs(v));
  tol *= scale;
  double worst = 0;
  std::size_t at = 0;
  for (std::size_t i = 0; i < actual.size(); ++i) {
    const double d = std::fabs(actual[i] - expected[i]);
    if (!(d <= worst)) {
      worst = d;
      at = i;
    }
  }
  if (worst <= tol) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "worst difference " << worst << " at " << at << ": " << actual[at]
                                     << " vs " << expected[at];
}

// The library builds its grid by other rules than scipy does (points per band
// truncated rather than stepped up to the edge), so its extremals sit up to a
// grid step apart: at 16 points per coefficient the taps differ by about 2e-5.
double LibraryTolerance(int gridDensity) { return gridDensity >= 32 ? 1e-5 : 5e-5; }

TEST(DesignOracle, FilterRecordsMatchScipy) {
  const std::vector<Fixture> fixtures = LoadFixtures();
  ASSERT_GE(fixtures.size(), 20u);
  TDesignWorkspace ws;
  for (const Fixture& f : fixtures) {
    SCOPED_TRACE(f.name);
    ws.GridDensity = f.gridDensity;
    const double tol = f.filter.Method == dmOwnExchange ? 1e-9 : LibraryTolerance(f.gridDensity);
    TCoefficientRecord result;
    ASSERT_NO_THROW(DesignFilterRecord(ws, 7, f.filter, result));
    EXPECT_EQ(ws.IterationLimitReached, 0);
    const int taps = f.filter.Method == dmOwnExchange ? ws.KernelLength : ws.ImpulseLength;
    ASSERT_EQ(static_cast<std::size_t>(taps), f.impulse.size());
    EXPECT_TRUE(Near(std::span(ws.ImpulseResponse).first(f.impulse.size()), f.impulse, tol));

    EXPECT_EQ(result.Tag, 7);
    EXPECT_EQ(result.Name.Str(), f.name.substr(0, 25));
    EXPECT_EQ(result.Count, f.count);
    EXPECT_EQ(ws.DesignCoefCount, f.count);
    EXPECT_TRUE(Near(std::span(ws.DesignCoefficients.Coef).first(f.coef.size()), f.coef, tol));
    // The record carries exactly Count coefficients, nothing beyond.
    EXPECT_TRUE(Near(std::span(result.Coef).first(static_cast<std::size_t>(f.count)),
                     std::span(f.coef).first(static_cast<std::size_t>(f.count)), tol));
    for (std::size_t k = static_cast<std::size_t>(f.count); k < result.Coef.size(); ++k)
      ASSERT_EQ(result.Coef[k], 0.0) << k;
  }
}

const Fixture& Find(const std::vector<Fixture>& fixtures, const std::string& name) {
  for (const Fixture& f : fixtures)
    if (f.name == name) return f;
  throw std::runtime_error("no fixture " + name);
}

// The generator's road: its inputs, its parameters and estimate, the design
// of the order the record carries, the cut.
TEST(DesignOracle, GeneratorDefaultDesignByOwnExchange) {
  const std::vector<Fixture> fixtures = LoadFixtures();
  const Fixture& expected = Find(fixtures, "default");
  TDesignWorkspace ws;
  const TFilterRecord current = ComputeDesignParameters(ws, TGeneratorInputs{});
  ASSERT_EQ(current.Order, 50);
  ASSERT_NO_THROW(CheckFilterRecord(current));
  ASSERT_EQ(DesignImpulseResponse(ws, current.FilterType, current.Order, current.Method), dsDone);
  ASSERT_EQ(ws.KernelLength, 51);
  TruncateForDelay(ws, ws.KernelLength, current.Delay, 1);
  EXPECT_TRUE(Near(std::span(ws.ImpulseResponse).first(51), expected.impulse, 1e-9));
  EXPECT_EQ(ws.DesignCoefCount, expected.count);
  EXPECT_TRUE(Near(std::span(ws.DesignCoefficients.Coef).first(expected.coef.size()), expected.coef, 1e-9));
}

// The same road by the library: its order estimate (Herrmann's, at least 10),
// the generator's grid density of 32, the library design, the cut.
TEST(DesignOracle, GeneratorDefaultDesignByLibrary) {
  const std::vector<Fixture> fixtures = LoadFixtures();
  const Fixture& expected = Find(fixtures, "default_library_generator");
  TDesignWorkspace ws;
  TGeneratorInputs inputs;
  inputs.Method = dmLibrary;
  const TFilterRecord current = ComputeDesignParameters(ws, inputs);
  ASSERT_EQ(current.Order, expected.filter.Order);
  EXPECT_EQ(ws.KernelLength, current.Order + 1);
  EXPECT_EQ(ws.GridDensity, 32);
  ASSERT_NO_THROW(CheckFilterRecord(current));
  ASSERT_EQ(DesignImpulseResponse(ws, current.FilterType, current.Order, current.Method), dsDone);
  TruncateForDelay(ws, ws.ImpulseLength, current.Delay, 2);
  const double tol = LibraryTolerance(32);
  EXPECT_TRUE(Near(std::span(ws.ImpulseResponse).first(expected.impulse.size()), expected.impulse, tol));
  EXPECT_EQ(ws.DesignCoefCount, expected.count);
  EXPECT_TRUE(Near(std::span(ws.DesignCoefficients.Coef).first(expected.coef.size()), expected.coef, tol));
}

}  // namespace
}  // namespace workbench

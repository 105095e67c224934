// The Remez exchange against scipy.signal.remez on scipy's own dense grid (fixture
// data/remez_scipy.txt, made by data/gen_remez_scipy.py).
//
// Covers: platform/lapack/RemezSolve.cpp, RemezInterpolation.cpp, RemezSelect.cpp.
#include "platform/lapack/Remez.h"
#include "platform/lapack/tests/RemezTestGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace lapack {
namespace {

struct ScipyDesign {
  std::string name;
  int numtaps = 0;
  int type = 0;
  std::vector<double> edges, desired, weights, taps;
};

std::vector<ScipyDesign> LoadDesigns() {
  std::ifstream in(std::string(ORVEL_TEST_SOURCE_DIR) + "/data/remez_scipy.txt");
  std::vector<ScipyDesign> designs;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream s(line);
    std::string tag;
    s >> tag;
    if (tag == "design") {
      ScipyDesign d;
      int nbands = 0;
      s >> d.name >> d.numtaps >> d.type >> nbands;
      auto read = [&](std::vector<double>& v, int n) {
        v.resize(n);
        for (double& x : v) s >> x;
      };
      read(d.edges, 2 * nbands);
      read(d.desired, nbands);
      read(d.weights, nbands);
      designs.push_back(d);
    } else if (tag == "taps" && !designs.empty()) {
      double v;
      while (s >> v) designs.back().taps.push_back(v);
    }
  }
  return designs;
}

TEST(RemezOracle, MatchesScipyOnItsOwnGrid) {
  const std::vector<ScipyDesign> designs = LoadDesigns();
  ASSERT_EQ(designs.size(), 14u);
  for (const ScipyDesign& sd : designs) {
    SCOPED_TRACE(sd.name);
    ASSERT_EQ(sd.taps.size(), static_cast<std::size_t>(sd.numtaps));
    const testing::TestGrid g = testing::ScipyGrid(sd.numtaps, sd.edges, sd.desired, sd.weights,
                                                   testing::ScipyType(sd.type));
    std::vector<double> alpha(g.nfcns);
    std::vector<int> ext = g.iext;
    const RemezOutcome o = RemezSolve(g.grid, g.des, g.wt, g.nfcns, ext, alpha);
    ASSERT_EQ(o.Status, RemezConverged);
    // Compare the amplitudes, and the largest weighted error of both on the common grid: both
    // solve the same discrete problem, so ours must be as good, to the rounding of designs
    // whose deviation is near 1e-8.
    double ampDiff = 0, oursWorst = 0, scipyWorst = 0;
    for (std::size_t k = 0; k < g.grid.size(); ++k) {
      const double f = g.grid[k];
      const double q = testing::SymmetryFactor(g, f);
      const double ours = testing::CosineSum(alpha, f);
      const double theirs = testing::Amplitude(sd.taps, g.antisymmetric, f) / q;
      ampDiff = std::max(ampDiff, std::fabs(q * (ours - theirs)));
      oursWorst = std::max(oursWorst, std::fabs(g.wt[k] * (g.des[k] - ours)));
      scipyWorst = std::max(scipyWorst, std::fabs(g.wt[k] * (g.des[k] - theirs)));
    }
    EXPECT_LT(ampDiff, 1e-5);
    EXPECT_LE(oursWorst, scipyWorst * (1 + 1e-5));
    EXPECT_LE(o.Deviation, scipyWorst * (1 + 1e-5));
    EXPECT_GE(o.Deviation, scipyWorst * 0.99);
  }
}

}  // namespace
}  // namespace lapack

// The equiripple design against scipy.signal.remez: a table of designs of every kind checked tap
// by tap, with the equiripple property on the design's own grid, and a sweep of low-pass and
// band-pass requirements that scipy converges on (data/optimal_fir_*.txt, made by
// data/gen_optimal_fir_scipy.py).
//
// Covers: dsp/OptimalFIR.cpp, platform/lapack/RemezSolve.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "dsp/OptimalFIR.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

std::string DataPath(const char* name) { return std::string(ORVEL_TEST_SOURCE_DIR) + "/data/" + name; }

std::vector<double> ReadValues(std::istringstream& s, std::size_t n) {
  std::vector<double> v(n);
  for (double& x : v) s >> x;
  return v;
}

struct ScipyDesign {
  std::string name;
  int numtaps = 0, rtype = 0;
  double fs = 1, scipyDev = 0;
  std::vector<double> edges, gains, weights, taps;
};

std::vector<ScipyDesign> LoadDesigns() {
  std::ifstream in(DataPath("optimal_fir_designs.txt"));
  std::vector<ScipyDesign> out;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream s(line);
    std::string tag;
    s >> tag;
    if (tag == "design") {
      ScipyDesign d;
      std::size_t nbands = 0;
      s >> d.name >> d.numtaps >> d.rtype >> d.fs >> nbands;
      d.edges = ReadValues(s, 2 * nbands);
      d.gains = ReadValues(s, nbands);
      d.weights = ReadValues(s, nbands);
      s >> d.scipyDev;
      out.push_back(d);
    } else if (tag == "taps" && !out.empty()) {
      double v;
      while (s >> v) out.back().taps.push_back(v);
    }
  }
  return out;
}

// The real amplitude of linear-phase taps at g cycles per sample.
double Amplitude(const std::vector<double>& h, bool antisymmetric, double g) {
  const double centre = (h.size() - 1) / 2.0;
  double s = 0;
  for (std::size_t i = 0; i < h.size(); ++i) {
    const double t = 2 * std::numbers::pi * g * (centre - i);
    s += h[i] * (antisymmetric ? std::sin(t) : std::cos(t));
  }
  return s;
}

// The equiripple property of a design on its own grid: the grid of edges F (already divided by
// FS and clamped by the design), the desired values and weights of the design type, and the
// weighted error of the taps there.
::testing::AssertionResult EquirippleOnDesignGrid(const ScipyDesign& d, const std::vector<double>& f,
                                                  const std::vector<double>& h, double dev) {
  const int n = d.numtaps;
  const double delf = 0.5 / (16.0 * (n / 2));
  const int nbands = static_cast<int>(d.gains.size());
  int ngrid = 0;
  for (int j = 0; j < nbands; ++j) ngrid += static_cast<int>((f[2 * j + 1] - f[2 * j]) / delf);
  std::vector<double> grid(ngrid), des(ngrid), wt(ngrid);
  RemezGrid(nbands, f, delf, d.gains, d.weights, grid, des, wt);
  const bool antisymmetric = d.rtype != rtMultiband;
  // The Hilbert transformer's taps are negated after the exchange.
  const double tapSign = d.rtype == rtHilbert ? -1.0 : 1.0;
  const int c = n / 2 + (n % 2 == 1 && !antisymmetric ? 1 : 0);
  double largest = 0;
  int alternations = 0, lastSign = 0;
  std::vector<double> err(ngrid);
  for (int k = 0; k < ngrid; ++k) {
    const double g = grid[k];
    double target = des[k], weight = wt[k];
    if (d.rtype == rtDifferentiator) {
      target *= 2 * std::numbers::pi * d.fs * g;
      if (g > 1e-6) weight /= g;
    }
    err[k] = weight * (target - tapSign * Amplitude(h, antisymmetric, g));
    largest = std::max(largest, std::fabs(err[k]));
  }
  for (double e : err) {
    if (std::fabs(e) >= 0.999 * dev) {
      const int sign = e > 0 ? 1 : -1;
      if (sign != lastSign) ++alternations;
      lastSign = sign;
    }
  }
  if (largest > 1.001 * dev)
    return ::testing::AssertionFailure() << "largest error " << largest << ", deviation " << dev;
  if (alternations < c + 1)
    return ::testing::AssertionFailure() << alternations << " alternations, " << c + 1 << " needed";
  return ::testing::AssertionSuccess();
}

TEST(OptimalFIROracle, DesignsMatchScipyTapByTap) {
  const std::vector<ScipyDesign> designs = LoadDesigns();
  ASSERT_EQ(designs.size(), 25u);
  for (const ScipyDesign& d : designs) {
    SCOPED_TRACE(d.name);
    ASSERT_EQ(d.taps.size(), static_cast<std::size_t>(d.numtaps));
    std::vector<double> h(d.numtaps), f = d.edges;
    double dev = 0;
    const int status = RemezImpulse(h, f, d.gains, d.weights, TRemezType(d.rtype), dev, d.fs, false);
    ASSERT_LT(status, RemezStatusLimit.load());
    // The designer's Hilbert taps are the negative of scipy's; its differentiator's desired
    // value is gain * 2 pi FS g where scipy's is gain * g.
    const double factor = d.rtype == rtHilbert         ? -1.0
                          : d.rtype == rtDifferentiator ? 2 * std::numbers::pi * d.fs
                                                        : 1.0;
    double worst = 0;
    for (int i = 0; i < d.numtaps; ++i) worst = std::max(worst, std::fabs(h[i] - factor * d.taps[i]));
    EXPECT_LE(worst, 1e-4);
    EXPECT_TRUE(orvel::testing::NearRel(dev, std::fabs(factor) * d.scipyDev, 0.01));
    EXPECT_TRUE(EquirippleOnDesignGrid(d, f, h, dev));
  }
}

TEST(OptimalFIROracle, ConvergesWhereverScipyConverges) {
  std::ifstream in(DataPath("optimal_fir_sweep.txt"));
  std::string line;
  int specs = 0, converged = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream s(line);
    int n = 0, scipyConverged = 0;
    std::size_t nbands = 0;
    std::string devText;
    s >> n >> scipyConverged >> devText >> nbands;
    std::vector<double> f = ReadValues(s, 2 * nbands);
    const std::vector<double> gains = ReadValues(s, nbands), weights(nbands, 1.0);
    const std::vector<double> edges = f;
    std::vector<double> h(n);
    double dev = 0;
    const int status = RemezImpulse(h, f, gains, weights, rtMultiband, dev, 1.0, false);
    ++specs;
    for (double v : h) ASSERT_TRUE(std::isfinite(v)) << line;
    if (scipyConverged) {
      ++converged;
      EXPECT_LT(status, RemezStatusLimit.load()) << line;
      EXPECT_TRUE(orvel::testing::NearRel(dev, std::stod(devText), 0.01)) << line;
    }
  }
  EXPECT_EQ(specs, 300);
  EXPECT_GT(converged, 150);
}

}  // namespace
}  // namespace dsp

// Shared by the tests of the transforms, statistics, functions and fills: the
// numpy/scipy table data/transforms_oracle.csv (made by
// data/gen_transforms_oracle.py), vectors filled from it, and a comparison
// whose tolerance is scaled to the size of the expected data.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "numeric/Numora.h"

namespace numeric::testutil {

// The numbers of one case of the table; a missing case fails the test that asks.
inline const std::vector<double>& Oracle(const std::string& key) {
  static const std::map<std::string, std::vector<double>> table = [] {
    std::map<std::string, std::vector<double>> rows;
    std::ifstream file(std::string(ORVEL_TEST_SOURCE_DIR) + "/data/transforms_oracle.csv");
    std::string line;
    while (std::getline(file, line)) {
      if (line.empty() || line[0] == '#') continue;
      std::stringstream s(line);
      std::string name, cell;
      std::getline(s, name, ',');
      std::vector<double>& values = rows[name];
      while (std::getline(s, cell, ',')) values.push_back(std::stod(cell));
    }
    return rows;
  }();
  static const std::vector<double> none;
  const auto it = table.find(key);
  EXPECT_NE(it, table.end()) << "no case " << key << " in transforms_oracle.csv";
  return it == table.end() ? none : it->second;
}

// v := the doubles d, as a real vector or as complex pairs.
inline TVec& Load(TVec& v, const std::vector<double>& d, bool complex) {
  v.Size(complex ? static_cast<std::int32_t>(d.size() / 2) : static_cast<std::int32_t>(d.size()), complex);
  std::copy(d.begin(), d.end(), v.Values());
  return v;
}

// max |actual - expected| <= tol * max |expected| over the doubles, so that
// rounding errors are measured against the scale of the data. NaN matches
// only NaN.
inline ::testing::AssertionResult NearScaled(const double* actual, const std::vector<double>& expected,
                                             double tol) {
  double scale = 0.0;
  for (double e : expected)
    if (std::isfinite(e)) scale = std::max(scale, std::fabs(e));
  double worst = 0.0;
  std::size_t worstAt = 0;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const bool nanMismatch = std::isnan(expected[i]) != std::isnan(actual[i]);
    const double error = nanMismatch ? INF : std::isnan(expected[i]) ? 0.0 : std::fabs(actual[i] - expected[i]);
    if (!(error <= worst)) {
      worst = error;
      worstAt = i;
    }
  }
  if (worst <= tol * scale) return ::testing::AssertionSuccess();
  std::ostringstream s;
  s.precision(17);
  s << "double " << worstAt << ": actual " << actual[worstAt] << ", expected " << expected[worstAt]
    << "; error " << worst << " > " << tol << " * scale " << scale;
  return ::testing::AssertionFailure() << s.str();
}

inline ::testing::AssertionResult NearScaled(const TVec& actual, const std::vector<double>& expected, double tol) {
  if (static_cast<std::size_t>(actual.DoubleLength()) != expected.size())
    return ::testing::AssertionFailure() << "length " << actual.DoubleLength() << " doubles, expected "
                                         << expected.size();
  return NearScaled(actual.Values(), expected, tol);
}

// The tolerance for n-point transforms and sums: c log2(n) eps, c n eps.
inline double FftTol(double n) { return 8.0 * std::max(1.0, std::log2(n)) * EPS; }
inline double SumTol(double n) { return 4.0 * std::max(1.0, n) * EPS; }

}  // namespace numeric::testutil

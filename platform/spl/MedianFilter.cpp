// The running median over a window kept sorted: each step removes the sample
// that leaves and inserts the one that enters.
// Tested by: dsp/tests/FilterStatesTest.cpp, dsp/tests/FilterStatesOracleTest.cpp
#include "platform/spl/MedianFilter.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/classlib/Exception.h"

namespace spl {

namespace {

// A strict order in which NaN follows every number (and equals NaN).
bool Before(double a, double b) { return !std::isnan(a) && (std::isnan(b) || a < b); }

void Insert(std::vector<double>& sorted, double x) {
  sorted.insert(std::upper_bound(sorted.begin(), sorted.end(), x, Before), x);
}

void Remove(std::vector<double>& sorted, double x) {
  // The first element not before x is x itself (or an equal one).
  sorted.erase(std::lower_bound(sorted.begin(), sorted.end(), x, Before));
}

}  // namespace

void nspdbMedianFilter1(double* vec, int len, int maskSize) {
  if (maskSize < 1 || maskSize % 2 == 0)
    throw classlib::Exception("MedianFilter1: mask size " + std::to_string(maskSize) + " is not odd and positive");
  if (len <= 0) return;
  const int h = maskSize / 2;
  const std::vector<double> x(vec, vec + len);
  auto at = [&](long long i) { return x[static_cast<std::size_t>(std::clamp<long long>(i, 0, len - 1))]; };
  std::vector<double> window;
  window.reserve(maskSize);
  for (int i = -h; i <= h; ++i) Insert(window, at(i));
  for (int i = 0; i < len; ++i) {
    vec[i] = window[h];
    if (i + 1 < len) {
      Remove(window, at(static_cast<long long>(i) - h));
      Insert(window, at(static_cast<long long>(i) + 1 + h));
    }
  }
}

}  // namespace spl

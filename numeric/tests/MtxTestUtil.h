// Matrices for the tests of the matrix operations, filled in place (TMtx is
// not copyable): Set(m, 2, 3, {...}) real, SetC(m, 2, 2, {re, im, ...})
// complex; Doubles(m) reads the values back in row order, DoublesNear
// compares them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "numeric/Numora.h"
#include "testing/TestSupport.h"

namespace numeric::testutil {

inline TMtx& Set(TMtx& m, std::int32_t rows, std::int32_t cols, std::vector<double> values) {
  return m.SetIt(rows, cols, false, values);
}

inline TMtx& SetC(TMtx& m, std::int32_t rows, std::int32_t cols, std::vector<double> pairs) {
  return m.SetIt(rows, cols, true, pairs);
}

inline std::vector<double> Doubles(const TMtx& m) {
  return std::vector<double>(m.Values(), m.Values() + m.DoubleCount());
}

// Element (i, j) := a value that tells where it came from: 10 i + j (complex:
// (10 i + j, -(10 i + j))).
inline TMtx& Label(TMtx& m, std::int32_t rows, std::int32_t cols, bool complex) {
  m.Size(rows, cols, complex);
  for (std::int32_t i = 0; i < rows; ++i)
    for (std::int32_t j = 0; j < cols; ++j) {
      const double v = 10.0 * i + j;
      if (complex)
        m.CRowValues(i)[j] = TCplx{v, -v};
      else
        m.RowValues(i)[j] = v;
    }
  return m;
}

// Element by element within tol of 1 (the tables' values are of order one).
inline ::testing::AssertionResult DoublesNear(const std::vector<double>& actual, const std::vector<double>& expected,
                                              double tol) {
  if (actual.size() != expected.size())
    return ::testing::AssertionFailure() << "size " << actual.size() << ", expected " << expected.size();
  for (std::size_t i = 0; i < actual.size(); ++i) {
    ::testing::AssertionResult r = orvel::testing::NearScaled(actual[i], expected[i], tol, 1.0);
    if (!r) return r << " at " << i;
  }
  return ::testing::AssertionSuccess();
}

}  // namespace numeric::testutil

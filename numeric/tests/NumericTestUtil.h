// The numeric core's tests: the shared checks of testing/TestSupport.h, and
// the relative comparison of complex values.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <utility>

#include "numeric/MathCore.h"
#include "testing/TestSupport.h"

namespace numeric::testutil {

using orvel::testing::NearRel;
using orvel::testing::Raises;

// The complex error measured against the magnitude of the expected value.
inline ::testing::AssertionResult NearRel(const TCplx& actual, const TCplx& expected, double tol) {
  const bool expectedNan = std::isnan(expected.Re) || std::isnan(expected.Im);
  const bool expectedInf = std::isinf(expected.Re) || std::isinf(expected.Im);
  bool ok;
  if (expectedNan || expectedInf) {
    ok = NearRel(actual.Re, expected.Re, tol) && NearRel(actual.Im, expected.Im, tol);
  } else {
    const double error = std::hypot(actual.Re - expected.Re, actual.Im - expected.Im);
    ok = error <= tol * std::hypot(expected.Re, expected.Im);
  }
  if (ok) return ::testing::AssertionSuccess();
  std::ostringstream s;
  s.precision(17);
  s << "actual (" << actual.Re << ", " << actual.Im << "), expected (" << expected.Re << ", "
    << expected.Im << "), tolerance " << tol;
  return ::testing::AssertionFailure() << s.str();
}

}  // namespace numeric::testutil

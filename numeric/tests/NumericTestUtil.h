// Shared checks of the numeric core's tests: relative comparison with a
// stated tolerance, and "raises exactly this message".
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <utility>

#include "numeric/MathCore.h"
#include "platform/classlib/Exception.h"

namespace numeric::testutil {

// |actual - expected| <= tol * |expected|; NaN matches NaN, an infinity only
// itself. tol is in units of the relative error (multiples of EPS by the
// error model of the routine under test).
inline ::testing::AssertionResult NearRel(double actual, double expected, double tol) {
  const bool ok = std::isnan(expected)   ? std::isnan(actual)
                  : std::isinf(expected) ? actual == expected
                                         : std::fabs(actual - expected) <= tol * std::fabs(expected);
  if (ok) return ::testing::AssertionSuccess();
  std::ostringstream s;
  s.precision(17);
  s << "actual " << actual << ", expected " << expected << ", relative error "
    << std::fabs(actual - expected) / std::fabs(expected) << " > " << tol;
  return ::testing::AssertionFailure() << s.str();
}

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

// Runs f and succeeds when it raises classlib::Exception with exactly message.
template <class F>
::testing::AssertionResult Raises(F&& f, const std::string& message) {
  try {
    std::forward<F>(f)();
  } catch (const classlib::Exception& e) {
    if (e.Message() == message) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "raised \"" << e.Message() << "\", expected \"" << message
                                         << "\"";
  }
  return ::testing::AssertionFailure() << "nothing raised, expected \"" << message << "\"";
}

}  // namespace numeric::testutil

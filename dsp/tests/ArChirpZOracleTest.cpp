// Autoregressive models and the chirp-z transform against numpy and scipy, through the committed
// table data/ar_czt_oracle.txt (made by data/gen_ar_czt_oracle.py): Burg by its textbook
// recursion, the covariance and modified covariance methods by least squares, real and complex
// signals, orders 0 to 7; scipy.signal.czt on given and set-up spirals, and the DFT.
//
// Covers: dsp/ArEstimation.cpp, dsp/ChirpZ.cpp.
#include <gtest/gtest.h>

#include <complex>
#include <string>
#include <vector>

#include "dsp/SignalUtils.h"
#include "dsp/tests/IirTestUtil.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

using numeric::TVec;
using numeric::testutil::ReadOracleLines;
using orvel::testing::NearRel;
using testutil::Cx;
using testutil::CxField;
using testutil::RootsOf;

// A signal of the table: complex when any imaginary part is not 0.
void Signal(const std::string& f, TVec& v) {
  const std::vector<Cx> x = CxField(f);
  bool complex = false;
  for (const Cx& z : x) complex |= z.imag() != 0.0;
  if (complex) {
    testutil::SetRoots(v, x);
    return;
  }
  std::vector<double> re;
  for (const Cx& z : x) re.push_back(z.real());
  testutil::SetReal(v, re);
}

::testing::AssertionResult SameValues(const std::vector<Cx>& actual, const std::vector<Cx>& expected, double tol) {
  if (actual.size() != expected.size())
    return ::testing::AssertionFailure() << actual.size() << " values, expected " << expected.size();
  double scale = 0.0;
  for (const Cx& e : expected) scale = std::max(scale, std::abs(e));
  for (std::size_t i = 0; i < actual.size(); ++i)
    if (!(std::abs(actual[i] - expected[i]) <= tol * scale))
      return ::testing::AssertionFailure() << "value " << i << ": " << actual[i] << ", expected " << expected[i];
  return ::testing::AssertionSuccess();
}

TEST(ArChirpZOracle, AutoregressiveModelsMatchNumpy) {
  int count = 0;
  for (const auto& f : ReadOracleLines("ar_czt_oracle.txt")) {
    if (f.empty() || f[0] != "ar") continue;
    ++count;
    const std::string& method = f[1];
    const int order = std::stoi(f[2]);
    SCOPED_TRACE(method + " order " + f[2] + " of " + std::to_string(CxField(f[3]).size()) + " samples");
    TVec x;
    Signal(f[3], x);
    TVec a, k;
    double e = 0.0;
    if (method == "burg")
      ArBurg(x, order, a, k, e);
    else if (method == "cov")
      ArCovariance(x, order, a, e);
    else
      ArModCovariance(x, order, a, e);
    EXPECT_EQ(a.Complex(), x.Complex());
    EXPECT_TRUE(SameValues(RootsOf(a), CxField(f[4]), 1e-12));
    if (method == "burg") {
      EXPECT_EQ(k.Complex(), x.Complex());
      EXPECT_TRUE(SameValues(RootsOf(k), CxField(f[5]), 1e-12));
    }
    EXPECT_TRUE(NearRel(e, std::stod(f[6]), 1e-11));
  }
  EXPECT_EQ(count, 60);
}

TEST(ArChirpZOracle, ChirpZMatchesScipy) {
  int count = 0;
  for (const auto& f : ReadOracleLines("ar_czt_oracle.txt")) {
    if (f.empty() || (f[0] != "czt" && f[0] != "cztsetup")) continue;
    ++count;
    TVec x;
    Signal(f[1], x);
    const int m = std::stoi(f[2]);
    SCOPED_TRACE(f[0] + " N " + std::to_string(x.Length()) + " M " + f[2]);
    TVec y;
    std::vector<Cx> expected;
    if (f[0] == "czt") {
      const Cx w = CxField(f[3])[0], a = CxField(f[4])[0];
      CztCore(x, m, numeric::TCplx{w.real(), w.imag()}, numeric::TCplx{a.real(), a.imag()}, y);
      expected = CxField(f[5]);
    } else {
      CztSetup(x, m, y, std::stod(f[3]), std::stod(f[4]), std::stod(f[5]), std::stod(f[6]), std::stod(f[7]));
      expected = CxField(f[8]);
    }
    ASSERT_TRUE(y.Complex());
    EXPECT_TRUE(SameValues(RootsOf(y), expected, 1e-11));
  }
  EXPECT_EQ(count, 11);
}

}  // namespace
}  // namespace dsp

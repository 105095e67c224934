// Frequency response, group delay and real cepstrum against scipy.signal.freqz,
// scipy.signal.group_delay and numpy, through the table
// data/freq_response_oracle.txt made by data/gen_freq_response_oracle.py. The
// values come through FFTs, whose last bits vary with the plan: compared with
// tolerances.
//
// Covers: dsp/FreqResponse.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "dsp/SignalUtils.h"
#include "numeric/tests/OracleLines.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

using numeric::TCplx;
using numeric::TVec;
using numeric::testutil::OracleComplex;
using numeric::testutil::OracleNumbers;
using numeric::testutil::ReadOracleLines;
using orvel::testing::NearScaled;

const std::vector<numeric::testutil::TOracleFields>& Cases() {
  static const auto cases = ReadOracleLines("freq_response_oracle.txt");
  return cases;
}

TEST(FreqResponseOracle, ResponseMatchesFreqz) {
  int checked = 0;
  for (const auto& c : Cases()) {
    if (c[0] != "freqz") continue;
    TVec b, a, h;
    b.SetIt(false, OracleNumbers(c[1]));
    const bool withA = !c[2].empty();
    if (withA) a.SetIt(false, OracleNumbers(c[2]));
    const std::vector<TCplx> expected = OracleComplex(c[6]);
    const auto window = c[4] == "1" ? wtHanning : wtRectangular;
    const double r = FreqResponseFft(b, withA ? &a : nullptr, h, std::stoi(c[3]), c[5] == "1", window, 0);
    const std::string what = c[0] + (withA ? " b/a" : " b") + " pad " + c[3] + " window " + c[4] + " norm " + c[5];
    ASSERT_EQ(h.Length(), static_cast<int>(expected.size())) << what;
    const double n = 2.0 * h.Length();
    EXPECT_DOUBLE_EQ(r, withA ? h.Length() / double(b.Length()) : n / b.Length()) << what;
    double scale = 0;
    for (const TCplx& e : expected) scale = std::max(scale, std::hypot(e.Re, e.Im));
    for (int k = 0; k < h.Length(); ++k) {
      EXPECT_TRUE(NearScaled(h.CValues()[k].Re, expected[k].Re, 1e-12, scale)) << what << " bin " << k;
      EXPECT_TRUE(NearScaled(h.CValues()[k].Im, expected[k].Im, 1e-12, scale)) << what << " bin " << k;
    }
    ++checked;
  }
  EXPECT_EQ(checked, 18);
}

TEST(FreqResponseOracle, GroupDelayMatchesScipy) {
  int checked = 0;
  for (const auto& c : Cases()) {
    if (c[0] != "gd") continue;
    TVec b, a, d;
    b.SetIt(false, OracleNumbers(c[1]));
    const bool withA = !c[2].empty();
    if (withA) a.SetIt(false, OracleNumbers(c[2]));
    GroupDelayFft(d, b, withA ? &a : nullptr, std::stoi(c[3]));
    const std::vector<double> expected = OracleNumbers(c[4]);
    ASSERT_EQ(d.Length(), static_cast<int>(expected.size())) << c[1];
    double scale = 1;
    for (double e : expected) scale = std::max(scale, std::fabs(e));
    for (int k = 0; k < d.Length(); ++k)
      EXPECT_TRUE(NearScaled(d.Values()[k], expected[k], 1e-10, scale)) << c[1] << " bin " << k;
    ++checked;
  }
  EXPECT_EQ(checked, 4);
}

TEST(FreqResponseOracle, RealCepstrumMatchesNumpy) {
  int checked = 0;
  for (const auto& c : Cases()) {
    if (c[0] != "rceps") continue;
    TVec x, y;
    x.SetIt(false, OracleNumbers(c[1]));
    RealCepstrum(x, y, c[2] == "1", c[3] == "1" ? wtHanning : wtRectangular, c[4] == "1");
    const std::vector<double> expected = OracleNumbers(c[5]);
    const std::string what = "remove mean " + c[2] + " window " + c[3] + " magnitude " + c[4];
    ASSERT_EQ(y.Length(), static_cast<int>(expected.size())) << what;
    ASSERT_FALSE(y.Complex());
    double scale = 0;
    for (double e : expected) scale = std::max(scale, std::fabs(e));
    for (int k = 0; k < y.Length(); ++k)
      EXPECT_TRUE(NearScaled(y.Values()[k], expected[k], 1e-11, scale)) << what << " at " << k;
    ++checked;
  }
  EXPECT_EQ(checked, 8);
}

}  // namespace
}  // namespace dsp

// The windows against their defining formulas (evaluated with numpy) and
// against scipy.signal.windows where the definitions coincide, through the
// table data/windows_oracle.txt made by data/gen_windows_oracle.py. Each
// window runs over a segment inside a longer vector, real and complex, so
// that the samples around the segment are seen to keep their values.
//
// Covers: dsp/SignalWindows.cpp, platform/spl/Windows.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "dsp/SignalUtils.h"
#include "numeric/tests/OracleLines.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

using numeric::TVec;
using numeric::testutil::OracleNumbers;
using numeric::testutil::ReadOracleLines;
using orvel::testing::NearScaled;

using TWindowCall = std::function<void(TVec&, std::int32_t, std::int32_t, double)>;

const std::map<std::string, TWindowCall>& Windows() {
  static const std::map<std::string, TWindowCall> windows{
      {"Bartlett", [](TVec& v, std::int32_t i, std::int32_t n, double) { WindowBartlett(v, i, n); }},
      {"Blackman", [](TVec& v, std::int32_t i, std::int32_t n, double p) { WindowBlackman(v, i, n, p); }},
      {"Hamming", [](TVec& v, std::int32_t i, std::int32_t n, double) { WindowHamming(v, i, n); }},
      {"Hann", [](TVec& v, std::int32_t i, std::int32_t n, double) { WindowHann(v, i, n); }},
      {"BlackmanExact", [](TVec& v, std::int32_t i, std::int32_t n, double) { WindowBlackmanExact(v, i, n); }},
      {"BlackmanHarris", [](TVec& v, std::int32_t i, std::int32_t n, double) { WindowBlackmanHarris(v, i, n); }},
      {"FlatTop", [](TVec& v, std::int32_t i, std::int32_t n, double) { WindowFlatTop(v, i, n); }},
      {"Kaiser", [](TVec& v, std::int32_t i, std::int32_t n, double p) { WindowKaiser(v, i, n, p); }},
      {"KaiserInterior", [](TVec& v, std::int32_t i, std::int32_t n, double p) { WindowKaiser(v, i, n, p); }},
      {"Chebyshev", [](TVec& v, std::int32_t i, std::int32_t n, double p) { WindowChebyshev(v, i, n, p); }},
      {"CosineTaper", [](TVec& v, std::int32_t i, std::int32_t n, double p) { WindowCosineTaper(v, i, n, p); }},
      {"Exponent", [](TVec& v, std::int32_t i, std::int32_t n, double p) { WindowExponent(v, i, n, p); }},
  };
  return windows;
}

TEST(SignalWindowsOracle, WindowsMatchTheirFormulasAndScipy) {
  const auto cases = ReadOracleLines("windows_oracle.txt");
  ASSERT_GT(cases.size(), 200u);
  int checked = 0;
  for (const auto& c : cases) {
    if (c[0] == "i0") continue;
    const std::string& name = c[1];
    const double param = std::stod(c[2]);
    const int n = std::stoi(c[3]);
    const std::vector<double> expected = OracleNumbers(c[4]);
    ASSERT_EQ(static_cast<int>(expected.size()), n);
    const bool interiorOnly = name == "KaiserInterior";
    for (const bool complex : {false, true}) {
      // The segment sits at 2 .. n+1 of n + 5 elements of value 3 (complex: 3 - 2i).
      const int index = 2, total = n + 5;
      TVec v;
      v.Size(total, complex);
      if (complex)
        v.SetVal(numeric::TCplx{3, -2});
      else
        v.SetVal(3.0);
      Windows().at(name)(v, index, n, param);
      const std::string what = c[0] + " " + name + "(" + c[2] + ") n=" + c[3] + (complex ? " complex" : " real");
      for (int k = 0; k < total; ++k) {
        const bool inside = k >= index && k < index + n;
        const bool atEnd = k == index || k == index + n - 1;
        if (inside && interiorOnly && atEnd) continue;
        const double w = inside ? expected[k - index] : 1.0;
        if (complex) {
          EXPECT_TRUE(NearScaled(v.CValues()[k].Re, 3 * w, 4e-15, 3)) << what << " at " << k;
          EXPECT_TRUE(NearScaled(v.CValues()[k].Im, -2 * w, 4e-15, 2)) << what << " at " << k;
        } else {
          EXPECT_TRUE(NearScaled(v.Values()[k], 3 * w, 4e-15, 3)) << what << " at " << k;
        }
      }
      ++checked;
    }
  }
  EXPECT_GT(checked, 400);
}

TEST(SignalWindowsOracle, BesselI0MatchesScipy) {
  int checked = 0;
  for (const auto& c : ReadOracleLines("windows_oracle.txt")) {
    if (c[0] != "i0") continue;
    const double x = std::stod(c[2]);
    EXPECT_TRUE(orvel::testing::NearRel(BesselI0(x), OracleNumbers(c[4])[0], 2e-15)) << "I0(" << x << ")";
    ++checked;
  }
  EXPECT_GE(checked, 7);
}

}  // namespace
}  // namespace dsp

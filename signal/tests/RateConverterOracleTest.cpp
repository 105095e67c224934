// The rate converter at factor 1.5 against scipy.signal.resample_poly(x, 3,
// 2), through the table data/filter_oracle.txt made by
// data/gen_filter_oracle.py, on unit tones at 0.05 and 0.2 of the input
// rate in blocks of 250.
//
// resample_poly compensates its filter's delay and ours does not: the two
// are compared lag-aligned, over a stretch of whole periods past both
// start-ups. The lag is the phase by which our tone trails the reference's;
// at that lag every sample of ours must lie within 1e-2 of the reference's
// tone, so both its amplitude and whatever else the chain leaves count.
//
// Covers: signal/RateConverter.cpp, signal/BandlimitedInterpolator.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

#include "numeric/tests/OracleLines.h"
#include "signal/RateConverter.h"
#include "signal/tests/ProcessingTestSupport.h"

namespace sig {
namespace {

using numeric::testutil::OracleNumbers;
using numeric::testutil::ReadOracleCases;
using testutil::FitTone;
using testutil::Tone;

TEST(RateConverterOracle, OneAndAHalfMatchesResamplePoly) {
  for (const auto& c : ReadOracleCases("filter_oracle.txt", "resample")) {
    const double f = std::stod(c[1]);
    const std::size_t n = std::stoul(c[2]);
    const std::vector<double> ref = OracleNumbers(c[3]);
    ASSERT_EQ(ref.size(), n * 3 / 2);
    const std::vector<double> x = Tone(n, f);
    TSignal input;
    TSignalRateConverter conv;
    conv.SetFactor(1.5);
    conv.SetInput(&input);
    std::vector<double> y;
    for (std::size_t start = 0; start < n; start += 250) {
      input.Data().SetIt(false, std::vector<double>(x.begin() + static_cast<std::ptrdiff_t>(start),
                                                    x.begin() + static_cast<std::ptrdiff_t>(start + 250)));
      conv.Update();
      y.insert(y.end(), conv.Data().Values(), conv.Data().Values() + conv.Data().Length());
    }
    // One more sample than n x 1.5: the band-limited stage's first block.
    ASSERT_EQ(y.size(), ref.size() + 1);
    const double w = f / 1.5;
    const std::size_t start = 600, count = 2100;
    const auto ours = FitTone(y, start, count, w);
    const auto theirs = FitTone(ref, start, count, w);
    ASSERT_LT(theirs.Rest, 1e-3) << "the reference is a tone";
    // The reference's tone, moved to our phase.
    const std::complex<double> aligned = std::abs(theirs.Amplitude) * ours.Amplitude / std::abs(ours.Amplitude);
    double worst = 0;
    for (std::size_t m = 0; m < count; ++m) {
      const double r = std::real(aligned * std::polar(1.0, 2 * std::numbers::pi * w * static_cast<double>(m)));
      worst = std::max(worst, std::fabs(y[start + m] - r));
    }
    EXPECT_LT(worst, 1e-2) << "tone at " << f;
  }
}

}  // namespace
}  // namespace sig

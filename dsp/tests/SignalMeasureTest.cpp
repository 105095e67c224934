// Covers dsp/SignalMeasure.cpp: mean removal, the running derivative and
// integral across blocks, Kaiser beta, band RMS by spectrum type, and the
// searches with their length checks.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "dsp/SignalUtils.h"
#include "testing/TestSupport.h"
#include "platform/classlib/Exception.h"

namespace dsp {
namespace {

using numeric::TCplx;
using numeric::TVec;

TVec& Real(TVec& v, std::vector<double> values) {
  v.Size(static_cast<std::int32_t>(values.size()), false);
  std::copy(values.begin(), values.end(), v.Values());
  return v;
}

std::vector<double> Doubles(const TVec& v) { return {v.Values(), v.Values() + v.DoubleLength()}; }

using orvel::testing::Raises;

TEST(SignalMeasure, RemoveMean) {
  TVec v;
  EXPECT_EQ(Doubles(RemoveMean(Real(v, {1, 2, 3}), 0, -1)), (std::vector<double>{-1, 0, 1}));
  EXPECT_EQ(Doubles(RemoveMean(Real(v, {1, 2, 3}), 0, 0)), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(Doubles(RemoveMean(Real(v, {5, 1, 3}), 1, 2)), (std::vector<double>{5, -1, 1}));
  v.Size(2, true);
  v.CValues()[0] = {1, 4};
  v.CValues()[1] = {3, 0};
  RemoveMean(v);
  EXPECT_EQ(Doubles(v), (std::vector<double>{-1, 2, 1, -2}));
  EXPECT_TRUE(Raises([&] { RemoveMean(v, 1, 2); }, "(Index + Len) > Src.Length"));
  EXPECT_TRUE(Raises([&] { RemoveMean(v, -1, 2); }, "(Len < 0) or (Index < 0)"));
}

TEST(SignalMeasure, DifferentiateJoinsBlocks) {
  TVec x, y;
  std::array<double, 4> state{};
  Differentiate(Real(x, {1, 2, 3, 4}), y, state, 1.0);
  EXPECT_EQ(Doubles(y), (std::vector<double>{0.5, 1, 1, 1}));
  Differentiate(Real(x, {5, 6}), y, state, 1.0);
  EXPECT_EQ(Doubles(y), (std::vector<double>{1, 1}));
  // one sample at a time gives the same stream, in place
  Differentiate(Real(x, {7}), x, state, 1.0);
  EXPECT_EQ(Doubles(x), (std::vector<double>{1}));
  // complex data use the imaginary parts of the state too
  std::array<double, 4> cstate{};
  x.Size(3, true);
  for (int i = 0; i < 3; ++i) x.CValues()[i] = TCplx{double(i), -2.0 * i};
  Differentiate(x, y, cstate, 0.5);
  EXPECT_EQ(Doubles(y), (std::vector<double>{0, 0, 1, -2, 2, -4}));
  std::array<double, 2> tooSmall{};
  EXPECT_TRUE(Raises([&] { Differentiate(x, y, tooSmall, 1.0); }, "Differentiate: State holds 2 values, 4 needed"));
}

TEST(SignalMeasure, IntegrateIsSimpsonAcrossBlocks) {
  TVec x, y;
  std::array<double, 6> state{};
  Integrate(Real(x, {1, 1, 1, 1}), y, state, 1.0);
  EXPECT_DOUBLE_EQ(y.Values()[0], 1.0 / 6);
  EXPECT_DOUBLE_EQ(y.Values()[1], 1.0);
  EXPECT_DOUBLE_EQ(y.Values()[2], 2.0);
  EXPECT_DOUBLE_EQ(y.Values()[3], 3.0);
  Integrate(Real(x, {1, 1}), y, state, 1.0);
  EXPECT_DOUBLE_EQ(y.Values()[0], 4.0);
  EXPECT_DOUBLE_EQ(y.Values()[1], 5.0);
  std::array<double, 6> cstate{};
  x.Size(2, true);
  x.CValues()[0] = {0, 1};
  x.CValues()[1] = {0, 1};
  Integrate(x, x, cstate, 6.0);
  EXPECT_EQ(Doubles(x), (std::vector<double>{0, 1, 0, 6}));
}

TEST(SignalMeasure, KaiserBeta) {
  EXPECT_EQ(KaiserBetaFromSidelobe(10), 0.0);
  EXPECT_EQ(KaiserBetaFromSidelobe(300), KaiserBetaFromSidelobe(1000));
  EXPECT_TRUE(orvel::testing::NearRel(KaiserBetaFromSidelobe(300), 0.12438 * 306.3, 1e-14));
  EXPECT_TRUE(orvel::testing::NearRel(KaiserBetaFromSidelobe(50), 0.76609 * std::pow(36.74, 0.4) + 0.09834 * 36.74, 1e-14));
}

TEST(SignalMeasure, BandRmsByType) {
  TVec a;
  Real(a, {1, 1, 2});
  EXPECT_EQ(BandRms(a, spRMS, true, 0, 2), std::sqrt(2.0));
  EXPECT_DOUBLE_EQ(BandRms(a, spRMS, false, 0, 2), 1.0);  // taken as amplitude
  EXPECT_DOUBLE_EQ(BandRms(a, spPeakPeak, true, 0, 2), 2.0);
  EXPECT_TRUE(orvel::testing::NearRel(BandRms(a, spPower, true, 1, -1), std::sqrt(1.5), 1e-15));
  EXPECT_EQ(BandRms(a, spRMS, true, 1, 0), 0.0);
  EXPECT_TRUE(Raises([&] { BandRms(a, spComplex, true, 0, 2); }, "RMS of complex SpectrumType not supported!"));
  EXPECT_TRUE(Raises([&] { BandRms(a, spRMS, true, 2, 2); }, "(Index+Len) > Amplt.Length"));
}

// A complex spectrum counts by its magnitudes, element by element.
TEST(SignalMeasure, BandRmsOfComplexAmplitudes) {
  TVec a;
  a.Size(3, true);
  a.CValues()[0] = {3, 4};
  a.CValues()[1] = {3, 4};
  a.CValues()[2] = {0, 2};
  EXPECT_TRUE(orvel::testing::NearRel(BandRms(a, spRMS, true, 0, 2), std::sqrt(50.0), 1e-15));
  EXPECT_TRUE(orvel::testing::NearRel(BandRms(a, spAmplt, false, 0, 2), 5.0, 1e-15));
  EXPECT_TRUE(orvel::testing::NearRel(BandRms(a, spPeakPeak, true, 1, -1), std::sqrt(29.0) * std::sqrt(2.0), 1e-15));
  EXPECT_TRUE(orvel::testing::NearRel(BandRms(a, spPower, true, 1, 2), std::sqrt(3.5), 1e-15));
  EXPECT_TRUE(Raises([&] { BandRms(a, spRMS, true, 2, 2); }, "(Index+Len) > Amplt.Length"));
}

TEST(SignalMeasure, Searches) {
  TVec d;
  EXPECT_EQ(FindNearest(Real(d, {5, NAN, 2.2, 1.9, 2.2}), 2), 3);
  EXPECT_EQ(FindNearest(Real(d, {1, 3, 3}), 2), 0);  // the first of equals
  EXPECT_TRUE(Raises([&] { FindNearest(Real(d, {}), 2); }, "Vec.Length = 0"));

  double x = 0, y = 0;
  FindLevelCrossing(Real(d, {-1, 1}), x, y, true);
  EXPECT_EQ(x, 0.5);
  EXPECT_EQ(y, 0.0);
  // from the last sample, which has no successor to compare with
  Real(d, {0, 1, 2, 3, 2, 1});
  x = 5;
  FindCrossingOfLevel(d, x, y, 2.5, false);  // falling below: search down
  EXPECT_EQ(x, 3.0);
  EXPECT_EQ(y, 3.0);
  x = 0;
  FindCrossingOfLevel(d, x, y, 2.5, true);  // rising below: search up
  EXPECT_EQ(x, 2.5);
  EXPECT_EQ(y, 2.5);
  x = 0;
  FindCrossingOfLevel(d, x, y, 10, false);  // no crossing: the last pair
  EXPECT_EQ(x, 4.0);
  x = 1;
  FindCrossingOfLevel(Real(d, {3, 3, 3}), x, y, 3, true);  // flat: its first sample
  EXPECT_EQ(x, 1.0);
  EXPECT_EQ(y, 3.0);
  EXPECT_TRUE(Raises([&] { FindLevelCrossing(Real(d, {1}), x, y, false); }, "Data.Length < 2"));
  d.Size(2, true);
  EXPECT_TRUE(Raises([&] { FindLevelCrossing(d, x, y, false); }, "Data.Complex = True"));

  std::int32_t i = 0;
  EXPECT_TRUE(FindLocalMaximum(Real(d, {0, 1, 2, 1}), i));
  EXPECT_EQ(i, 2);
  i = 0;
  EXPECT_FALSE(FindLocalMaximum(Real(d, {0, 1, 2}), i));
  EXPECT_EQ(i, 2);
  i = 7;  // past the end starts at the last sample
  EXPECT_TRUE(FindLocalMinimum(Real(d, {3, 1, 2, 5}), i));
  EXPECT_EQ(i, 1);
  EXPECT_TRUE(Raises([&] { FindLocalMaximum(Real(d, {}), i); }, "Data.Length < 1"));
  i = -1;
  EXPECT_TRUE(Raises([&] { FindLocalMinimum(Real(d, {1, 2}), i); }, "Index < 0"));
}

}  // namespace
}  // namespace dsp

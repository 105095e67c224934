// Spectrum utilities by their tables and edge cases: padding, captions,
// decibels with a floor, standard deviations from sums (equal records give 0,
// not NaN), running averages, the bispectrum slices, the tolerant division
// and the farthest distance; the transform at any frequencies against a sum in
// extended precision.
//
// Covers: dsp/SpectrumUtils.cpp, dsp/SpectrumAtFrequencies.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "dsp/SignalUtils.h"
#include "testing/TestSupport.h"

namespace dsp {
namespace {

using numeric::TCplx;
using numeric::TMtx;
using numeric::TVec;
using orvel::testing::NearScaled;
using orvel::testing::Raises;
using orvel::testing::TestSeed;

std::vector<double> Doubles(const TVec& v) { return {v.Values(), v.Values() + v.DoubleLength()}; }

TEST(SpectrumUtils, PadText) {
  struct Case {
    std::string s;
    int width, align;
    std::string expected;
  };
  const std::vector<Case> cases{{"abc", 8, 0, "abc     "}, {"abc", 8, 1, "     abc"}, {"abc", 8, 2, "  abc  "},
                                {"abc", 9, 2, "   abc   "}, {"abc", 2, 0, "abc"},     {"abc", 2, 1, "abc"},
                                {"abc", 2, 2, "abc"},       {"", 3, 1, "   "}};
  for (const Case& c : cases) {
    std::string res = "old";
    PadText(c.s, c.width, static_cast<std::uint8_t>(c.align), res);
    EXPECT_EQ(res, c.expected) << c.s << " " << c.width << " " << c.align;
  }
  std::string res = "kept";
  PadText("abc", 8, 3, res);
  EXPECT_EQ(res, "kept");
}

TEST(SpectrumUtils, Captions) {
  const std::vector<std::string> captions{"Peak amplitude", "Peak RMS", "Peak power", "Peak-peak", "Complex"};
  for (int t = 0; t < 5; ++t) {
    std::string s;
    SpectrumTypeCaption(static_cast<TSpectrumType>(t), s);
    EXPECT_EQ(s, captions[t]);
  }
  std::string s = "kept";
  SpectrumTypeCaption(static_cast<TSpectrumType>(5), s);
  EXPECT_EQ(s, "kept");
}

TEST(SpectrumUtils, DecibelScale) {
  TVec v;
  v.SetIt(false, std::vector<double>{1e-6, 0.1, 1, 2});
  EXPECT_EQ(DecibelScale(v, true, 10, 100, 1), -100.0);
  const std::vector<double> relative{-100, -20, 0, 20 * std::log10(2.0)};
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(NearScaled(v.Values()[i], relative[i], 1e-13, 100)) << i;
  // Absolute, power scale (Base 100 is 10 log10): the floor is log(Ref) - Span.
  v.SetIt(false, std::vector<double>{1e-9, 10, 1000});
  EXPECT_TRUE(NearScaled(DecibelScale(v, false, 100, 60, 1000), -30, 1e-13, 60));
  const std::vector<double> absolute{-30, 10, 30};
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(NearScaled(v.Values()[i], absolute[i], 1e-13, 60)) << i;
  // Relative to a reference of 2.
  v.SetIt(false, std::vector<double>{2, 0.2});
  DecibelScale(v, true, 10, 50, 2);
  EXPECT_TRUE(NearScaled(v.Values()[0], 0, 1e-13, 50));
  EXPECT_TRUE(NearScaled(v.Values()[1], -20, 1e-13, 50));
  // No reference: everything at the floor.
  v.SetIt(false, std::vector<double>{5, 6});
  EXPECT_EQ(DecibelScale(v, true, 10, 100, 0), -100.0);
  EXPECT_EQ(Doubles(v), (std::vector<double>{-100, -100}));
}

TEST(SpectrumUtils, StdDevFromSums) {
  // Records 1, 2, 3, 6 and 4, 4, 4, 4 per element.
  TVec sumSq, sum, res;
  sumSq.SetIt(false, std::vector<double>{1 + 4 + 9 + 36, 4 * 16});
  sum.SetIt(false, std::vector<double>{12, 16});
  StdDevFromSums(sumSq, sum, 4, res);
  EXPECT_TRUE(NearScaled(res.Values()[0], std::sqrt((4.0 * 50 - 144) / 12), 1e-15, 1));
  EXPECT_EQ(res.Values()[1], 0.0);
  // Equal records whose sums round: a spread of 0, not NaN.
  const double x = 0.1;
  sumSq.SetIt(false, std::vector<double>{x * x + x * x + x * x});
  sum.SetIt(false, std::vector<double>{x + x + x});
  StdDevFromSums(sumSq, sum, 3, res);
  EXPECT_TRUE(std::isfinite(res.Values()[0]));
  EXPECT_LT(res.Values()[0], 1e-8);
  // In place.
  sumSq.SetIt(false, std::vector<double>{5});
  sum.SetIt(false, std::vector<double>{3});
  StdDevFromSums(sumSq, sum, 2, sumSq);
  EXPECT_TRUE(NearScaled(sumSq.Values()[0], std::sqrt(0.5), 1e-15, 1));
}

TEST(SpectrumUtils, RunningAverages) {
  TVec avg, src;
  src.SetIt(false, std::vector<double>{4, 8});
  avg.SetIt(true, std::vector<double>{9, 9});
  AverageVec(avg, src, 0, 0);  // a copy, kind included
  EXPECT_FALSE(avg.Complex());
  EXPECT_EQ(Doubles(avg), (std::vector<double>{4, 8}));
  avg.SetIt(false, std::vector<double>{2, 4});
  AverageVec(avg, src, 3, 0);  // N := Count + 1: (3 Avg + Src) / 4
  EXPECT_EQ(Doubles(avg), (std::vector<double>{2.5, 5}));
  AverageVec(avg, src, 7, 3);  // fixed length 3: (2 Avg + Src) / 3
  EXPECT_EQ(Doubles(avg), (std::vector<double>{3, 6}));
  AverageVec(avg, src, 0, 3);  // the first record
  EXPECT_EQ(Doubles(avg), (std::vector<double>{4, 8}));
  // A record of another length leaves the average as it was.
  TVec longer;
  longer.SetIt(false, std::vector<double>{1, 2, 3});
  avg.SetIt(false, std::vector<double>{2, 4});
  EXPECT_ANY_THROW(AverageVec(avg, longer, 3, 0));
  EXPECT_EQ(Doubles(avg), (std::vector<double>{2, 4}));

  TMtx mavg, msrc;
  msrc.SetIt(1, 2, false, std::vector<double>{4, 8});
  mavg.SetIt(2, 2, false, std::vector<double>{0, 0, 0, 0});
  AverageMtx(mavg, msrc, 0, 5);
  EXPECT_EQ(mavg.Rows(), 1);
  mavg.SetIt(1, 2, false, std::vector<double>{2, 4});
  AverageMtx(mavg, msrc, 3, 0);
  EXPECT_EQ(mavg.Values()[0], 2.5);
  EXPECT_EQ(mavg.Values()[1], 5.0);
}

TEST(SpectrumUtils, BispectrumSlice) {
  TVec x, dest;
  x.Size(8, true);
  for (int k = 0; k < 8; ++k) x.CValues()[k] = TCplx{1.0 + k, 0.5 * k - 1};
  auto triple = [&](int a, int b, int c) {
    return numeric::CMul(numeric::CMul(x.CValues()[a], x.CValues()[b]), numeric::CConj(x.CValues()[c]));
  };
  BispectrumSlice(dest, x, 3, false);
  ASSERT_EQ(dest.Length(), 2);
  ASSERT_TRUE(dest.Complex());
  for (int k = 0; k < 2; ++k) {
    EXPECT_EQ(dest.CValues()[k].Re, triple(3, 3 + k, 6 + k).Re);
    EXPECT_EQ(dest.CValues()[k].Im, triple(3, 3 + k, 6 + k).Im);
  }
  BispectrumSlice(dest, x, 2, true);
  ASSERT_EQ(dest.Length(), 8);
  for (int k = 0; k < 8; ++k) {
    const TCplx expected = k >= 2 && k < 6 ? triple(2, k, k + 2) : TCplx{0, 0};
    EXPECT_EQ(dest.CValues()[k].Re, expected.Re) << k;
    EXPECT_EQ(dest.CValues()[k].Im, expected.Im) << k;
  }
  EXPECT_TRUE(Raises([&] { BispectrumSlice(dest, x, 4, false); }, "Index > (Spectrum.Length div 2) -1"));
  EXPECT_TRUE(Raises([&] { BispectrumSlice(dest, x, -1, false); }, "Index < 0"));
  EXPECT_EQ(dest.Length(), 8);
  // A real spectrum gives real products; one element gives an empty complex slice.
  TVec r;
  r.SetIt(false, std::vector<double>{1, 2, 3, 4});
  BispectrumSlice(dest, r, 1, false);
  EXPECT_EQ(Doubles(dest), (std::vector<double>{2 * 2 * 3, 2 * 3 * 4}));
  r.SetIt(false, std::vector<double>{5});
  BispectrumSlice(dest, r, 0, true);
  EXPECT_EQ(dest.Length(), 0);
  EXPECT_TRUE(dest.Complex());
}

TEST(SpectrumUtils, BispectrumSliceFull) {
  TVec x, dest;
  std::vector<double> values(9);
  for (int k = 0; k < 9; ++k) values[k] = 1.0 + k;
  x.SetIt(false, values);  // n = 9, h = 4
  auto triple = [&](int a, int b, int c) { return values[a] * values[b] * values[c]; };
  BispectrumSliceFull(dest, x, 2, false);  // i < h: i + 1 products
  EXPECT_EQ(Doubles(dest), (std::vector<double>{triple(2, 0, 2), triple(2, 1, 3), triple(2, 2, 4)}));
  BispectrumSliceFull(dest, x, 6, false);  // i >= h: n - i products
  EXPECT_EQ(Doubles(dest), (std::vector<double>{triple(6, 0, 6), triple(6, 1, 7), triple(6, 2, 8)}));
  BispectrumSliceFull(dest, x, 1, true);  // e = 1, q = h + i + e = 6
  EXPECT_EQ(Doubles(dest), (std::vector<double>{triple(1, 0, 1), triple(1, 1, 2), triple(6, 0, 6), triple(6, 1, 7)}));
  BispectrumSliceFull(dest, x, 4, true);  // i = h: e = 0
  EXPECT_EQ(Doubles(dest), (std::vector<double>{triple(4, 0, 4), triple(4, 1, 5), triple(4, 2, 6), triple(4, 3, 7)}));
  EXPECT_TRUE(Raises([&] { BispectrumSliceFull(dest, x, 9, false); }, "Index > (Spectrum.Length-1)"));
  EXPECT_TRUE(Raises([&] { BispectrumSliceFull(dest, x, 5, true); }, "Index > (Spectrum.Length div 2)"));
}

TEST(SpectrumUtils, BispectrumRowsOverArraysAreTheSlicesProducts) {
  // The array roads place the products where the vector routines do; their double
  // arithmetic rounds each of the two complex products once more than the extended one, so
  // they agree to a few units of rounding of the product's size.
  for (const int n : {8, 9, 16}) {
    TVec x;
    x.Size(n, true);
    for (int k = 0; k < n; ++k) x.CValues()[k] = TCplx{1.0 + 0.37 * k, 0.5 * k - 1.3};
    const std::span<const TCplx> xs(x.CValues(), static_cast<std::size_t>(n));
    const auto near = [](const TCplx& a, const TCplx& b) {
      const double scale = std::hypot(b.Re, b.Im) + 1;
      return std::fabs(a.Re - b.Re) <= 8e-16 * scale && std::fabs(a.Im - b.Im) <= 8e-16 * scale;
    };
    for (int i = 0; i <= n / 2; ++i) {
      TVec expected;
      BispectrumSliceFull(expected, x, i, true);
      std::vector<TCplx> row(static_cast<std::size_t>(n / 2), TCplx{-7, -7});
      BispectrumRow(xs, i, row);
      for (int k = 0; k < n / 2; ++k) {
        const TCplx e = expected.CValues()[k];
        // Elements no pair reaches keep what they held.
        if (e.Re == 0 && e.Im == 0)
          EXPECT_TRUE(row[k].Re == -7 && row[k].Im == -7) << n << " row " << i << " " << k;
        else
          EXPECT_TRUE(near(row[k], e)) << n << " row " << i << " " << k;
      }
    }
    for (int i = 0; i < n / 2; ++i) {
      TVec expected;
      BispectrumSlice(expected, x, i, true);
      std::vector<TCplx> line(static_cast<std::size_t>(n), TCplx{0, 0});
      BispectrumLine(xs, i, line);
      for (int k = 0; k < n; ++k) EXPECT_TRUE(near(line[k], expected.CValues()[k])) << n << " line " << i << " " << k;
    }
    std::vector<TCplx> small(static_cast<std::size_t>(n / 2 - 1));
    EXPECT_TRUE(Raises([&] { BispectrumRow(xs, 0, small); }, "Dest.Length < Spectrum.Length div 2"));
    EXPECT_TRUE(Raises([&] { BispectrumRow(xs, n / 2 + 1, small); }, "Index > (Spectrum.Length div 2)"));
    EXPECT_TRUE(Raises([&] { BispectrumLine(xs, n / 2, small); }, "Index > (Spectrum.Length div 2) -1"));
  }
  // Real spectra: plain products.
  const std::vector<double> v{1, 2, 3, 4, 5, 6, 7, 8};
  std::vector<double> row(4, 0.0), line(8, 0.0);
  BispectrumRow(std::span<const double>(v), 1, row);
  EXPECT_EQ(row, (std::vector<double>{2 * 1 * 2, 2 * 2 * 3, 7 * 1 * 7, 7 * 2 * 8}));
  BispectrumLine(std::span<const double>(v), 2, line);
  EXPECT_EQ(line, (std::vector<double>{0, 0, 3 * 3 * 5, 3 * 4 * 6, 3 * 5 * 7, 3 * 6 * 8, 0, 0}));
}

TEST(SpectrumUtils, SafeDivideAndFarthestDistance) {
  EXPECT_EQ(SafeDivide(0, 5), 0.0);
  EXPECT_EQ(SafeDivide(2, 5), 2.5);
  EXPECT_EQ(FarthestDistance(0, 10, 3), 7.0);
  EXPECT_EQ(FarthestDistance(0, 10, 8), 8.0);
  EXPECT_EQ(FarthestDistance(5, 5, 5), 0.0);
}

// The transform at each frequency within its error bound, against the defining sum in
// extended precision (each phase from the exact fraction of a turn). Bound: every product and
// table entry a few units of rounding, a block's lanes summing up to half a block of terms and
// the blocks one each, all of the sum of magnitudes.
TEST(SpectrumUtils, SpectrumAtFrequenciesIsTheDefiningSum) {
  const std::uint64_t seed = TestSeed(20240611);
  std::mt19937_64 random(seed);
  std::uniform_real_distribution<double> uniform(-1.0, 1.0);
  const double freqs[] = {0.0, 1e-12, 0.1234567, 0.25, 0.4999999, -0.3, 0.75, 123.456};
  for (bool complex : {false, true}) {
    for (int n : {1, 3, 1023, 1024, 1025, 5000, 70000}) {
      TVec x;
      x.Size(n, complex);
      for (int i = 0; i < x.DoubleLength(); ++i) x.Values()[i] = uniform(random);
      std::vector<TCplx> result(std::size(freqs));
      SpectrumAtFrequencies(x, freqs, result);
      long double magnitudes = 0.0L;
      for (int j = 0; j < n; ++j) magnitudes += complex ? std::hypot(x.CValues()[j].Re, x.CValues()[j].Im) : std::fabs(x.Values()[j]);
      const double blocks = std::ceil(n / 1024.0);
      const double bound = (512 + blocks + 16) * 2.220446049250313e-16 * static_cast<double>(magnitudes);
      for (std::size_t k = 0; k < std::size(freqs); ++k) {
        long double re = 0.0L, im = 0.0L;
        for (int j = 0; j < n; ++j) {
          const long double t = static_cast<long double>(freqs[k]) * j;
          const long double turn = (t - std::floor(t)) + std::fma(static_cast<long double>(freqs[k]), static_cast<long double>(j), -t);
          const long double angle = -2.0L * 3.14159265358979323846264338327950288L * turn;
          const long double c = std::cos(angle), s = std::sin(angle);
          const long double xr = complex ? x.CValues()[j].Re : x.Values()[j];
          const long double xi = complex ? x.CValues()[j].Im : 0.0;
          re += xr * c - xi * s;
          im += xr * s + xi * c;
        }
        EXPECT_TRUE(NearScaled(result[k].Re, static_cast<double>(re), 1.0, bound)) << seed << " " << n << " " << freqs[k];
        EXPECT_TRUE(NearScaled(result[k].Im, static_cast<double>(im), 1.0, bound)) << seed << " " << n << " " << freqs[k];
      }
    }
  }
  TVec x;
  x.Size(4, false);
  std::vector<TCplx> one(1);
  EXPECT_TRUE(Raises([&] { SpectrumAtFrequencies(x, std::vector<double>{0.1, 0.2}, one); },
                     "Result holds fewer values than Freqs"));
}

}  // namespace
}  // namespace dsp

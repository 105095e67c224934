// Covers platform/spl/ElementKernels.cpp: the element-wise arithmetic against
// plain scalar loops (exact, since each element is one rounding), in place and
// at lengths around the vector width, and the rules of the thresholded
// reciprocals, the clipping and the complex square root.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "platform/spl/ElementKernels.h"
#include "testing/TestSupport.h"

namespace spl {
namespace {

using orvel::testing::kNaN;
using orvel::testing::kInf;

const int kLengths[] = {0, 1, 3, 4, 5, 8, 9, 1023, 1025};

std::vector<double> Ramp(int n, double start, double step) {
  std::vector<double> v(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) v[static_cast<std::size_t>(i)] = start + step * i;
  return v;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Every double of actual equals expected bit for bit; the message names the
// first difference.
::testing::AssertionResult SameDoubles(const std::vector<double>& actual, const std::vector<double>& expected) {
  if (actual.size() != expected.size()) return ::testing::AssertionFailure() << "sizes differ";
  for (std::size_t i = 0; i < actual.size(); ++i)
    if (!SameBits(actual[i], expected[i]))
      return ::testing::AssertionFailure() << "at " << i << ": " << actual[i] << " <> " << expected[i];
  return ::testing::AssertionSuccess();
}

DCplx* Z(std::vector<double>& v) { return reinterpret_cast<DCplx*>(v.data()); }

// A kernel over n elements of a destination (and a source of the same kind),
// with the scalar loop it must equal. Complex kernels see n complex elements,
// that is 2n doubles.
struct TBinaryCase {
  std::string Name;
  bool Complex;
  std::function<void(const std::vector<double>& a, std::vector<double>& b, int n)> Kernel;
  std::function<void(const double* a, double* b, int i)> Element;  // i counts elements
};

std::vector<TBinaryCase> BinaryCases() {
  using V = std::vector<double>;
  return {
      {"dbAdd2", false, [](const V& a, V& b, int n) { nspdbAdd2(a.data(), b.data(), n); },
       [](const double* a, double* b, int i) { b[i] += a[i]; }},
      {"dbSub2", false, [](const V& a, V& b, int n) { nspdbSub2(a.data(), b.data(), n); },
       [](const double* a, double* b, int i) { b[i] -= a[i]; }},
      {"dbMpy2", false, [](const V& a, V& b, int n) { nspdbMpy2(a.data(), b.data(), n); },
       [](const double* a, double* b, int i) { b[i] *= a[i]; }},
      {"dbAdd3", false, [](const V& a, V& b, int n) { nspdbAdd3(a.data(), b.data(), b.data(), n); },
       [](const double* a, double* b, int i) { b[i] = a[i] + b[i]; }},
      {"dbSub3", false, [](const V& a, V& b, int n) { nspdbSub3(a.data(), b.data(), b.data(), n); },
       [](const double* a, double* b, int i) { b[i] = a[i] - b[i]; }},
      {"dbMpy3", false, [](const V& a, V& b, int n) { nspdbMpy3(a.data(), b.data(), b.data(), n); },
       [](const double* a, double* b, int i) { b[i] = a[i] * b[i]; }},
      {"dbAdd1", false, [](const V&, V& b, int n) { nspdbAdd1(0.3, b.data(), n); },
       [](const double*, double* b, int i) { b[i] += 0.3; }},
      {"dbMpy1", false, [](const V&, V& b, int n) { nspdbMpy1(-1.7, b.data(), n); },
       [](const double*, double* b, int i) { b[i] *= -1.7; }},
      {"dbSqr2", false, [](const V& a, V& b, int n) { nspdbSqr2(a.data(), b.data(), n); },
       [](const double* a, double* b, int i) { b[i] = a[i] * a[i]; }},
      {"dbSqr1", false, [](const V&, V& b, int n) { nspdbSqr1(b.data(), n); },
       [](const double*, double* b, int i) { b[i] = b[i] * b[i]; }},
      {"dbAbs2", false, [](const V& a, V& b, int n) { nspdbAbs2(a.data(), b.data(), n); },
       [](const double* a, double* b, int i) { b[i] = std::fabs(a[i]); }},
      {"dbAbs1", false, [](const V&, V& b, int n) { nspdbAbs1(b.data(), n); },
       [](const double*, double* b, int i) { b[i] = std::fabs(b[i]); }},
      {"zbAdd1", true, [](const V&, V& b, int n) { nspzbAdd1(DCplx{0.5, -2.0}, Z(b), n); },
       [](const double*, double* b, int i) {
         b[2 * i] += 0.5;
         b[2 * i + 1] += -2.0;
       }},
      {"zbMpy1", true, [](const V&, V& b, int n) { nspzbMpy1(DCplx{0.5, -2.0}, Z(b), n); },
       [](const double*, double* b, int i) {
         const double re = b[2 * i], im = b[2 * i + 1];
         b[2 * i] = re * 0.5 - im * -2.0;
         b[2 * i + 1] = re * -2.0 + im * 0.5;
       }},
      {"zbMpy2", true,
       [](const V& a, V& b, int n) { nspzbMpy2(reinterpret_cast<const DCplx*>(a.data()), Z(b), n); },
       [](const double* a, double* b, int i) {
         const double ar = b[2 * i], ai = b[2 * i + 1], br = a[2 * i], bi = a[2 * i + 1];
         b[2 * i] = ar * br - ai * bi;
         b[2 * i + 1] = ar * bi + ai * br;
       }},
      {"zbMpy3", true,
       [](const V& a, V& b, int n) { nspzbMpy3(reinterpret_cast<const DCplx*>(a.data()), Z(b), Z(b), n); },
       [](const double* a, double* b, int i) {
         const double ar = a[2 * i], ai = a[2 * i + 1], br = b[2 * i], bi = b[2 * i + 1];
         b[2 * i] = ar * br - ai * bi;
         b[2 * i + 1] = ar * bi + ai * br;
       }},
      {"zbSqr2", true,
       [](const V& a, V& b, int n) { nspzbSqr2(reinterpret_cast<const DCplx*>(a.data()), Z(b), n); },
       [](const double* a, double* b, int i) {
         const double re = a[2 * i], im = a[2 * i + 1];
         b[2 * i] = re * re - im * im;
         b[2 * i + 1] = 2.0 * re * im;
       }},
      {"zbSqr1", true, [](const V&, V& b, int n) { nspzbSqr1(Z(b), n); },
       [](const double*, double* b, int i) {
         const double re = b[2 * i], im = b[2 * i + 1];
         b[2 * i] = re * re - im * im;
         b[2 * i + 1] = 2.0 * re * im;
       }},
      {"zbConj2", true,
       [](const V& a, V& b, int n) { nspzbConj2(reinterpret_cast<const DCplx*>(a.data()), Z(b), n); },
       [](const double* a, double* b, int i) {
         b[2 * i] = a[2 * i];
         b[2 * i + 1] = -a[2 * i + 1];
       }},
      {"zbConj1", true, [](const V&, V& b, int n) { nspzbConj1(Z(b), n); },
       [](const double*, double* b, int i) { b[2 * i + 1] = -b[2 * i + 1]; }},
  };
}

TEST(ElementKernels, EqualScalarLoopsAtEveryLength) {
  for (const TBinaryCase& c : BinaryCases()) {
    for (int n : kLengths) {
      const int doubles = c.Complex ? 2 * n : n;
      // One guard double past the end must stay untouched.
      const std::vector<double> a = Ramp(doubles + 1, -3.25, 0.37);
      std::vector<double> b = Ramp(doubles + 1, 1.5, -0.11);
      std::vector<double> expected = b;
      for (int i = 0; i < n; ++i) c.Element(a.data(), expected.data(), i);
      c.Kernel(a, b, n);
      EXPECT_TRUE(SameDoubles(b, expected)) << c.Name << ", n = " << n;
    }
  }
}

TEST(ElementKernels, SourceMayBeTheDestination) {
  std::vector<double> v = Ramp(9, -2.0, 0.5);
  std::vector<double> expected = v;
  for (double& x : expected) x = x + x;
  nspdbAdd2(v.data(), v.data(), 9);
  EXPECT_TRUE(SameDoubles(v, expected));

  std::vector<double> z = Ramp(10, -2.0, 0.75);
  std::vector<double> squares = z;
  nspzbSqr1(Z(squares), 5);
  nspzbMpy2(Z(z), Z(z), 5);
  EXPECT_TRUE(SameDoubles(z, squares));
}

TEST(ElementKernels, NegativeCountsDoNothing) {
  std::vector<double> v = {1.0, 2.0};
  nspdbAdd1(1.0, v.data(), -1);
  nspdbMpy2(v.data(), v.data(), -5);
  nspzbConjExtend1(Z(v), -3);
  nspdbInvThresh1(v.data(), -1, 0.1);
  EXPECT_EQ(v, (std::vector<double>{1.0, 2.0}));
}

TEST(ElementKernels, RealThresholdedReciprocal) {
  struct Case {
    double X, Thresh, Expected;
  };
  const Case cases[] = {
      {2.0, 1e-3, 0.5},         {-0.5, 1e-3, -2.0},      {1e-10, 1e-3, 1000.0},
      {-1e-10, 1e-3, -1000.0},  {0.0, 1e-3, 1000.0},     {-0.0, 1e-3, -1000.0},
      {1e-3, 1e-3, 1000.0},     {kInf, 1e-3, 0.0},       {0.0, 0.0, kInf},
      {-0.0, -1.0, -kInf},      {0.0, kNaN, kInf},   {4.0, 10.0, 0.1},
  };
  for (const Case& c : cases) {
    double out = 0.0;
    nspdbInvThresh2(&c.X, &out, 1, c.Thresh);
    EXPECT_EQ(out, c.Expected) << "x = " << c.X << ", threshold " << c.Thresh;
  }
  double nan = kNaN;
  nspdbInvThresh1(&nan, 1, 1.0);
  EXPECT_TRUE(std::isnan(nan));
}

TEST(ElementKernels, ComplexThresholdedReciprocalKeepsThePhase) {
  struct Case {
    DCplx Z;
    double Thresh;
    DCplx Expected;
  };
  const Case cases[] = {
      {{3.0, 4.0}, 1e-3, {0.12, -0.16}},
      // below the threshold: magnitude 10 with the phase of (3, 4)
      {{3e-6, 4e-6}, 10.0, {0.06, -0.08}},
      {{0.0, 0.0}, 0.5, {2.0, 0.0}},
      // squares that would underflow or overflow
      {{1e-200, 1e-200}, 1e-300, {5e199, -5e199}},
      {{1e200, -1e200}, 1e-3, {5e-201, 5e-201}},
  };
  for (const Case& c : cases) {
    DCplx out{};
    nspzbInvThresh2(&c.Z, &out, 1, c.Thresh);
    EXPECT_TRUE(orvel::testing::NearScaled(out.re, c.Expected.re, 4e-16, std::hypot(c.Expected.re, c.Expected.im))) << c.Z.re;
    EXPECT_TRUE(orvel::testing::NearScaled(out.im, c.Expected.im, 4e-16, std::hypot(c.Expected.re, c.Expected.im))) << c.Z.re;
  }
  DCplx zero{0.0, 0.0};
  nspzbInvThresh1(&zero, 1, 0.0);
  EXPECT_TRUE(std::isinf(zero.re) || std::isnan(zero.re));
}

TEST(ElementKernels, RealClipping) {
  std::vector<double> v = {-2.0, 0.5, 3.0, kNaN, -kInf};
  nspdbThresh1(v.data(), 5, 0.0, NSP_LT);
  EXPECT_EQ(v[0], 0.0);
  EXPECT_EQ(v[1], 0.5);
  EXPECT_EQ(v[2], 3.0);
  EXPECT_TRUE(std::isnan(v[3]));
  EXPECT_EQ(v[4], 0.0);
  nspdbThresh1(v.data(), 5, 1.0, NSP_GT);
  EXPECT_EQ(v[1], 0.5);
  EXPECT_EQ(v[2], 1.0);
  nspdbThresh1(v.data(), 5, -10.0, 7);  // unknown relation: nothing
  EXPECT_EQ(v[0], 0.0);
}

TEST(ElementKernels, ComplexClippingByMagnitude) {
  std::vector<double> v = {3.0, 4.0, 0.3, 0.4, 0.0, 0.0, kNaN, 1.0};
  nspzbThresh1(Z(v), 4, 1.0, NSP_LT);
  EXPECT_DOUBLE_EQ(v[0], 3.0);
  EXPECT_DOUBLE_EQ(v[2], 0.6);
  EXPECT_DOUBLE_EQ(v[3], 0.8);
  EXPECT_EQ(v[4], 1.0);
  EXPECT_EQ(v[5], 0.0);
  EXPECT_TRUE(std::isnan(v[6]));
  nspzbThresh1(Z(v), 4, 2.5, NSP_GT);
  EXPECT_DOUBLE_EQ(v[0], 1.5);
  EXPECT_DOUBLE_EQ(v[1], 2.0);
  EXPECT_DOUBLE_EQ(v[2], 0.6);
  // A negative level acts as zero: the element becomes 0.
  nspzbThresh1(Z(v), 1, -1.0, NSP_GT);
  EXPECT_EQ(v[0], 0.0);
  EXPECT_EQ(v[1], 0.0);
}

TEST(ElementKernels, PrincipalComplexSquareRoot) {
  struct Case {
    DCplx Z, Expected;
  };
  const Case cases[] = {
      {{4.0, 0.0}, {2.0, 0.0}},   {{-4.0, 0.0}, {0.0, 2.0}},  {{-4.0, -0.0}, {0.0, -2.0}},
      {{3.0, 4.0}, {2.0, 1.0}},   {{3.0, -4.0}, {2.0, -1.0}}, {{0.0, 0.0}, {0.0, 0.0}},
      {{0.0, 2.0}, {1.0, 1.0}},   {{1e300, 1e300}, {1.09868411346781e150, 4.550898605622274e149}},
  };
  for (const Case& c : cases) {
    DCplx out{};
    nspzbSqrt2(&c.Z, &out, 1);
    EXPECT_TRUE(orvel::testing::NearRel(out.re, c.Expected.re, 4e-16)) << c.Z.re << " " << c.Z.im;
    EXPECT_TRUE(orvel::testing::NearRel(out.im, c.Expected.im, 4e-16)) << c.Z.re << " " << c.Z.im;
    EXPECT_EQ(std::signbit(out.im), std::signbit(c.Expected.im));
  }
}

TEST(ElementKernels, ConjugateExtensionCompletesTheSpectrum) {
  // Bins 0 .. 4 of an 8-point spectrum; bins 5, 6, 7 mirror 3, 2, 1.
  std::vector<double> v = {1, 0, 2, 3, 4, 5, 6, 7, 8, 0, -1, -1, -1, -1, -1, -1};
  nspzbConjExtend1(Z(v), 5);
  EXPECT_EQ(v, (std::vector<double>{1, 0, 2, 3, 4, 5, 6, 7, 8, 0, 6, -7, 4, -5, 2, -3}));
}

}  // namespace
}  // namespace spl

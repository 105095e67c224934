// Autoregressive models and the chirp-z transform against numpy and scipy, through the committed
// table data/ar_czt_oracle.txt (made by data/gen_ar_czt_oracle.py): Burg by its textbook
// recursion, the covariance and modified covariance methods by least squares, real and complex
// signals, orders 0 to 7; scipy.signal.czt on given and set-up spirals, and the DFT.
//
// Covers: dsp/ArEstimation.cpp, dsp/ChirpZ.cpp.
#include <gtest/gtest.h>

#include <cmath>
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

// The bounds of one side's Burg recursion, carried step by step (first order): each sum of L
// products rounds within 2L u of the sum of their sizes, the reflection k's quotient adds its
// operands' errors over their sizes, and each update adds its operands' errors and 2u of its
// terms. The values are the recursion's own, in double, good enough for bounds.
struct TBurgBounds {
  std::vector<double> a, k;
  double e = 0.0;
};

TBurgBounds BurgBounds(const std::vector<Cx>& x, int order) {
  const double u = testutil::kU;
  std::vector<Cx> f = x, b = x, a{1.0};
  std::vector<double> ef(x.size(), 0.0), eb(x.size(), 0.0), ea{0.0};
  double e = 0.0;
  for (const Cx& v : x) e += std::norm(v);
  e /= static_cast<double>(x.size());
  TBurgBounds out;
  out.e = static_cast<double>(x.size()) * u * e;
  for (int m = 0; m < order; ++m) {
    const std::size_t L = f.size() - 1;
    Cx num = 0.0;
    double den = 0.0, sizes = 0.0, eNum = 0.0, eDen = 0.0;
    for (std::size_t i = 0; i < L; ++i) {
      const Cx F = f[i + 1], G = b[i];
      num += F * std::conj(G);
      den += std::norm(F) + std::norm(G);
      sizes += std::abs(F) * std::abs(G);
      eNum += std::abs(F) * eb[i] + std::abs(G) * ef[i + 1];
      eDen += 2.0 * (std::abs(F) * ef[i + 1] + std::abs(G) * eb[i]);
    }
    eNum += 2.0 * L * u * sizes;
    eDen += 2.0 * L * u * den;
    const Cx k = -2.0 * num / den;
    const double ek = 2.0 * (eNum / den + std::abs(num) * eDen / (den * den)) + 2.0 * u * std::abs(k);
    std::vector<Cx> nf(L), nb(L);
    std::vector<double> nef(L), neb(L);
    for (std::size_t i = 0; i < L; ++i) {
      const Cx F = f[i + 1], G = b[i];
      nf[i] = F + k * G;
      nb[i] = G + std::conj(k) * F;
      nef[i] = ef[i + 1] + std::abs(k) * eb[i] + ek * std::abs(G) + 2.0 * u * (std::abs(F) + std::abs(k) * std::abs(G));
      neb[i] = eb[i] + std::abs(k) * ef[i + 1] + ek * std::abs(F) + 2.0 * u * (std::abs(G) + std::abs(k) * std::abs(F));
    }
    f = nf;
    b = nb;
    ef = nef;
    eb = neb;
    std::vector<Cx> na(a.size() + 1, 0.0);
    std::vector<double> nea(a.size() + 1, 0.0);
    for (std::size_t i = 0; i < a.size(); ++i) {
      na[i] = a[i];
      nea[i] = ea[i];
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
      const Cx other = std::conj(a[a.size() - i]);
      na[i] = (i < a.size() ? a[i] : Cx(0.0)) + k * other;
      nea[i] = (i < a.size() ? ea[i] : 0.0) + std::abs(k) * ea[a.size() - i] + ek * std::abs(other) +
               2.0 * u * (std::abs(na[i]) + std::abs(k) * std::abs(other));
    }
    a = na;
    ea = nea;
    out.k.push_back(ek);
    const double shrink = 1.0 - std::norm(k);
    out.e = out.e * shrink + e * 2.0 * std::abs(k) * ek + 3.0 * u * e * shrink;
    e *= shrink;
  }
  out.a = ea;
  return out;
}

// Within per-element bounds, on each of the two sides, with a margin of 2.
::testing::AssertionResult WithinBounds(const std::vector<Cx>& actual, const std::vector<Cx>& expected,
                                        const std::vector<double>& bounds) {
  if (actual.size() != expected.size())
    return ::testing::AssertionFailure() << actual.size() << " values, expected " << expected.size();
  for (std::size_t i = 0; i < actual.size(); ++i)
    if (!(std::abs(actual[i] - expected[i]) <= 2.0 * 2.0 * bounds[i]))
      return ::testing::AssertionFailure() << "value " << i << ": " << actual[i] << ", expected " << expected[i]
                                           << ", bound " << 4.0 * bounds[i];
  return ::testing::AssertionSuccess();
}

// Burg within its running bounds (BurgBounds). The covariance methods solve least-squares
// problems of m rows by Householder QR: the coefficients within 4 m u (K + K^2 rho) of their
// norm (K the matrix's condition, rho the residual ratio, from the table); the error power,
// which the solution's error moves only to second order (the residual is orthogonal to the
// columns), within the residual's rounding, 4 m u (2 / rho + 1) relative, twice.
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
    const std::vector<Cx> expectedA = CxField(f[4]);
    const double expectedE = std::stod(f[6]);
    if (method == "burg") {
      const TBurgBounds bounds = BurgBounds(CxField(f[3]), order);
      EXPECT_TRUE(WithinBounds(RootsOf(a), expectedA, bounds.a));
      EXPECT_EQ(k.Complex(), x.Complex());
      EXPECT_TRUE(WithinBounds(RootsOf(k), CxField(f[5]), bounds.k));
      EXPECT_NEAR(e, expectedE, 2.0 * 2.0 * bounds.e);
    } else {
      const double samples = static_cast<double>(CxField(f[3]).size());
      const double rows = (method == "cov" ? 1.0 : 2.0) * (samples - order);
      const double kappa = std::stod(f[7]), rho = std::stod(f[8]);
      double norm = 0.0;
      for (std::size_t i = 1; i < expectedA.size(); ++i) norm += std::norm(expectedA[i]);
      const double coefficient = 4.0 * rows * testutil::kU * (kappa + kappa * kappa * rho) * std::sqrt(norm);
      std::vector<double> bounds(expectedA.size(), coefficient);
      bounds[0] = 0.0;
      EXPECT_TRUE(WithinBounds(RootsOf(a), expectedA, bounds));
      const double power = 4.0 * rows * testutil::kU * (order == 0 ? 1.0 : 2.0 / rho + 1.0);
      EXPECT_NEAR(e, expectedE, 2.0 * 2.0 * 2.0 * power * expectedE);
    }
  }
  EXPECT_EQ(count, 60);
}

// The chirp-z transform by convolution (both sides): X_k = w^(k^2/2) sum_n y_n v_(k-n) with
// y_n = x_n a^-n w^(n^2/2) and v_m = w^(-m^2/2). A chirp's power rounds within u of its
// exponent, (m^2/2) |log w| + m |log a|, and 4u more; the convolution by transforms of L points
// within 8 log2(L) u sqrt(L) |y|_2 |v|_2 (TransformError of FreqResponseOracleTest, for the
// product of two transforms), L >= N + M - 1.
std::vector<double> CztBounds(const std::vector<Cx>& x, int m, Cx w, Cx a) {
  const double u = testutil::kU;
  const int n = static_cast<int>(x.size());
  const double lw = std::abs(std::log(w)), la = std::abs(std::log(a));
  auto chirpError = [&](double k) { return u * (k * k / 2.0 * lw + k * la) + 4.0 * u; };
  std::vector<Cx> y(static_cast<std::size_t>(n));
  double ny = 0.0, nv = 0.0;
  for (int i = 0; i < n; ++i) {
    y[static_cast<std::size_t>(i)] = x[static_cast<std::size_t>(i)] * std::pow(a, -i) * std::pow(w, i * i / 2.0);
    ny += std::norm(y[static_cast<std::size_t>(i)]);
  }
  for (int j = -(n - 1); j < m; ++j) nv += std::norm(std::pow(w, -j * static_cast<double>(j) / 2.0));
  double points = 1.0;
  while (points < n + m - 1) points *= 2.0;
  const double transform = 8.0 * std::log2(std::max(2.0, points)) * u * std::sqrt(points * ny * nv);
  std::vector<double> out;
  for (int k = 0; k < m; ++k) {
    double sum = 0.0;
    Cx value = 0.0;
    for (int i = 0; i < n; ++i) {
      const Cx v = std::pow(w, -(k - i) * static_cast<double>(k - i) / 2.0);
      const Cx term = y[static_cast<std::size_t>(i)] * v;
      value += term;
      sum += std::abs(term) * (chirpError(i) + chirpError(std::abs(k - i)));
    }
    const double outer = std::abs(std::pow(w, k * static_cast<double>(k) / 2.0));
    out.push_back(outer * (sum + transform) + outer * std::abs(value) * chirpError(k));
  }
  return out;
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
    Cx w, a;
    if (f[0] == "czt") {
      w = CxField(f[3])[0];
      a = CxField(f[4])[0];
      CztCore(x, m, numeric::TCplx{w.real(), w.imag()}, numeric::TCplx{a.real(), a.imag()}, y);
      expected = CxField(f[5]);
    } else {
      const double f1 = std::stod(f[3]), f2 = std::stod(f[4]), fs = std::stod(f[5]), r1 = std::stod(f[6]),
                   r2 = std::stod(f[7]);
      CztSetup(x, m, y, f1, f2, fs, r1, r2);
      w = m == 1 ? Cx(1.0) : std::pow(r2 / r1, -1.0 / (m - 1)) * std::polar(1.0, -2.0 * M_PI * (f2 - f1) / ((m - 1) * fs));
      a = r1 * std::polar(1.0, 2.0 * M_PI * f1 / fs);
      expected = CxField(f[8]);
    }
    ASSERT_TRUE(y.Complex());
    EXPECT_TRUE(WithinBounds(RootsOf(y), expected, CztBounds(CxField(f[1]), m, w, a)));
  }
  EXPECT_EQ(count, 11);
}

}  // namespace
}  // namespace dsp

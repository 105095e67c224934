// Frequency response, group delay and real cepstrum against scipy.signal.freqz,
// scipy.signal.group_delay and numpy, through the table
// data/freq_response_oracle.txt made by data/gen_freq_response_oracle.py. The
// values come through FFTs, whose last bits vary with the plan: each is compared
// within the bound of its transforms' rounding, derived below, on each of the two
// sides and with a margin of 2.
//
// Covers: dsp/FreqResponse.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
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
using Cx = std::complex<double>;

constexpr double kU = 0x1p-53;
constexpr double kMargin = 2.0;

const std::vector<numeric::testutil::TOracleFields>& Cases() {
  static const auto cases = ReadOracleLines("freq_response_oracle.txt");
  return cases;
}

// A transform of n points by radix-2 steps is within 8 log2(n) u of its output's
// 2-norm, sqrt(n) |x|_2 (the butterflies' rounding and the twiddles'): so is every
// bin.
double TransformError(const std::vector<double>& x, std::int32_t n) {
  double norm = 0.0;
  for (double v : x) norm += v * v;
  return 8.0 * std::log2(static_cast<double>(n)) * kU * std::sqrt(static_cast<double>(n) * norm);
}

// The n-point DFT of x at bins 0 .. count - 1, in long double: the exact transform to
// far better than the bounds need.
std::vector<Cx> Dft(const std::vector<double>& x, std::int32_t n, std::int32_t count) {
  std::vector<Cx> out;
  const long double w = -2.0L * std::acos(-1.0L) / n;
  for (std::int32_t k = 0; k < count; ++k) {
    long double re = 0.0L, im = 0.0L;
    for (std::size_t j = 0; j < x.size(); ++j) {
      const long double a = w * static_cast<long double>((static_cast<std::int64_t>(k) * static_cast<std::int64_t>(j)) % n);
      re += x[j] * std::cos(a);
      im += x[j] * std::sin(a);
    }
    out.emplace_back(static_cast<double>(re), static_cast<double>(im));
  }
  return out;
}

std::int32_t PowerOfTwo(std::int64_t n) {
  std::int32_t p = 2;
  while (p < n) p *= 2;
  return p;
}

// The symmetric Hann window, as both sides apply it before the transform.
std::vector<double> Windowed(std::vector<double> b, bool hann) {
  if (!hann) return b;
  const std::size_t n = b.size();
  for (std::size_t i = 0; i < n; ++i) b[i] *= 0.5 - 0.5 * std::cos(2.0 * M_PI * i / (n - 1.0));
  return b;
}

// H = B / A at each bin, B and A each off by their transform's error (TransformError),
// so H by |H| (EB / |B| + EA / |A|) and the quotient's rounding; without A, B's error,
// the window's rounding (u per sample) and the normalisation's.
TEST(FreqResponseOracle, ResponseMatchesFreqz) {
  int checked = 0;
  for (const auto& c : Cases()) {
    if (c[0] != "freqz") continue;
    TVec b, a, h;
    const std::vector<double> bv = OracleNumbers(c[1]);
    b.SetIt(false, bv);
    const bool withA = !c[2].empty();
    const std::vector<double> av = withA ? OracleNumbers(c[2]) : std::vector<double>{};
    if (withA) a.SetIt(false, av);
    const std::vector<TCplx> expected = OracleComplex(c[6]);
    const bool hann = c[4] == "1", normalise = c[5] == "1";
    const auto window = hann ? wtHanning : wtRectangular;
    const double r = FreqResponseFft(b, withA ? &a : nullptr, h, std::stoi(c[3]), normalise, window, 0);
    const std::string what = c[0] + (withA ? " b/a" : " b") + " pad " + c[3] + " window " + c[4] + " norm " + c[5];
    ASSERT_EQ(h.Length(), static_cast<int>(expected.size())) << what;
    const double n = 2.0 * h.Length();
    EXPECT_DOUBLE_EQ(r, withA ? h.Length() / double(b.Length()) : n / b.Length()) << what;
    const std::int32_t points = static_cast<std::int32_t>(n);
    const std::vector<double> bw = withA ? bv : Windowed(bv, hann);
    const std::vector<Cx> B = Dft(bw, points, h.Length()), A = withA ? Dft(av, points, h.Length()) : std::vector<Cx>{};
    double sumB = 0.0;
    for (double v : bw) sumB += std::fabs(v);
    const double eb = TransformError(bw, points) + kU * sumB, ea = withA ? TransformError(av, points) : 0.0;
    const double scale = normalise ? 2.0 / bv.size() : 1.0;
    for (int k = 0; k < h.Length(); ++k) {
      const Cx e(expected[k].Re, expected[k].Im), got(h.CValues()[k].Re, h.CValues()[k].Im);
      const double side = withA ? std::abs(B[k] / A[k]) * (eb / std::abs(B[k]) + ea / std::abs(A[k]) + 2.0 * kU)
                                : scale * (eb + 2.0 * kU * std::abs(B[k]));
      EXPECT_LE(std::abs(got - e), kMargin * 2.0 * side) << what << " bin " << k;
    }
    ++checked;
  }
  EXPECT_EQ(checked, 18);
}

// The delay of a polynomial q at a bin is Re(Q' / Q), Q' the transform of k q[k]:
// both off by their transform's error, so the delay by (E(k q) + |d| E(q)) / |Q|.
// Ours takes the denominator's delay from the numerator's; scipy transforms
// c = b * reversed(a) the same way.
double DelayError(const std::vector<double>& q, std::int32_t n, std::int32_t bin, double delay) {
  std::vector<double> ramp(q.size());
  for (std::size_t i = 0; i < q.size(); ++i) ramp[i] = static_cast<double>(i) * q[i];
  const Cx Q = Dft(q, n, bin + 1).back();
  return (TransformError(ramp, n) + std::fabs(delay) * TransformError(q, n)) / std::abs(Q) + 4.0 * kU * std::fabs(delay);
}

TEST(FreqResponseOracle, GroupDelayMatchesScipy) {
  int checked = 0;
  for (const auto& c : Cases()) {
    if (c[0] != "gd") continue;
    TVec b, a, d;
    const std::vector<double> bv = OracleNumbers(c[1]);
    b.SetIt(false, bv);
    const bool withA = !c[2].empty();
    const std::vector<double> av = withA ? OracleNumbers(c[2]) : std::vector<double>{};
    if (withA) a.SetIt(false, av);
    GroupDelayFft(d, b, withA ? &a : nullptr, std::stoi(c[3]));
    const std::vector<double> expected = OracleNumbers(c[4]);
    ASSERT_EQ(d.Length(), static_cast<int>(expected.size())) << c[1];
    const std::int32_t n = 2 * d.Length();
    std::vector<double> conv;
    if (withA) {
      conv.assign(bv.size() + av.size() - 1, 0.0);
      for (std::size_t i = 0; i < bv.size(); ++i)
        for (std::size_t j = 0; j < av.size(); ++j) conv[i + j] += bv[i] * av[av.size() - 1 - j];
    }
    for (int k = 0; k < d.Length(); ++k) {
      // The numerator's and denominator's own delays, from the exact transforms.
      auto exactDelay = [&](const std::vector<double>& q) {
        std::vector<double> ramp(q.size());
        for (std::size_t i = 0; i < q.size(); ++i) ramp[i] = static_cast<double>(i) * q[i];
        const Cx Q = Dft(q, n, k + 1).back(), R = Dft(ramp, n, k + 1).back();
        return (R / Q).real();
      };
      double ours = DelayError(bv, n, k, exactDelay(bv)), theirs;
      if (withA) {
        ours += DelayError(av, n, k, exactDelay(av));
        theirs = DelayError(conv, n, k, exactDelay(conv));
      } else {
        theirs = ours;
      }
      EXPECT_NEAR(d.Values()[k], expected[k], kMargin * (ours + theirs)) << c[1] << " bin " << k;
    }
    ++checked;
  }
  EXPECT_EQ(checked, 4);
}

// The cepstrum: L = log |X| at each bin is off by X's error over |X| (bins where X is
// exactly 0 give 0 on both sides) and the logarithm's rounding; the mean of L, when it
// is removed, by the mean of those. The output transform carries L's error over (its
// 2-norm over sqrt(n) for the inverse, the sum of the windowed errors for the forward
// magnitudes) and adds its own rounding.
TEST(FreqResponseOracle, RealCepstrumMatchesNumpy) {
  int checked = 0;
  for (const auto& c : Cases()) {
    if (c[0] != "rceps") continue;
    TVec x, y;
    std::vector<double> xv = OracleNumbers(c[1]);
    x.SetIt(false, xv);
    const bool remove = c[2] == "1", hann = c[3] == "1", magnitude = c[4] == "1";
    RealCepstrum(x, y, remove, hann ? wtHanning : wtRectangular, magnitude);
    const std::vector<double> expected = OracleNumbers(c[5]);
    const std::string what = "remove mean " + c[2] + " window " + c[3] + " magnitude " + c[4];
    ASSERT_EQ(y.Length(), static_cast<int>(expected.size())) << what;
    ASSERT_FALSE(y.Complex());
    if (remove) {
      double mean = 0.0;
      for (double v : xv) mean += v;
      mean /= static_cast<double>(xv.size());
      for (double& v : xv) v -= mean;
    }
    const std::vector<double> xw = Windowed(xv, hann);
    const std::int32_t n = PowerOfTwo(static_cast<std::int64_t>(xw.size()));
    const std::vector<Cx> X = Dft(xw, n, n / 2);
    double sumX = 0.0;
    for (double v : xw) sumX += std::fabs(v);
    const double ex = TransformError(xw, n) + kU * sumX;
    std::vector<double> L, dL;
    for (const Cx& v : X) {
      const double size = std::abs(v);
      // A bin that is 0 by the data is 0 in both transforms: sums of integers.
      const bool zero = size <= ex;
      L.push_back(zero ? 0.0 : std::log(size));
      dL.push_back(zero ? 0.0 : ex / size + 2.0 * kU * std::fabs(std::log(size)));
    }
    double meanError = 0.0;
    if (remove) {
      double mean = 0.0;
      for (std::size_t i = 0; i < L.size(); ++i) {
        mean += L[i];
        meanError += dL[i];
      }
      mean /= static_cast<double>(L.size());
      meanError /= static_cast<double>(L.size());
      for (double& v : L) v -= mean;
      for (double& v : dL) v += meanError;
    }
    double bound = 0.0;
    if (magnitude) {
      const std::vector<double> Lw = Windowed(L, hann);
      const std::int32_t m = PowerOfTwo(static_cast<std::int64_t>(L.size()));
      for (double v : dL) bound += v;
      bound += TransformError(Lw, m);
    } else {
      double norm2 = 0.0, errors2 = 0.0;
      for (std::size_t i = 0; i < L.size(); ++i) {
        norm2 += L[i] * L[i];
        errors2 += dL[i] * dL[i];
      }
      // The inverse of n points divides by n: the half-spectrum's errors count twice.
      bound = std::sqrt(2.0 * errors2 / n) + 8.0 * std::log2(static_cast<double>(n)) * kU * std::sqrt(2.0 * norm2 / n);
    }
    for (int k = 0; k < y.Length(); ++k)
      EXPECT_NEAR(y.Values()[k], expected[k], kMargin * 2.0 * bound) << what << " at " << k;
    ++checked;
  }
  EXPECT_EQ(checked, 8);
}

}  // namespace
}  // namespace dsp

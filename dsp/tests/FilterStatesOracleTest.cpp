// The running filters against scipy and numpy, through the table
// data/filter_states_oracle.txt made by data/gen_filter_states_oracle.py:
// FIR and IIR filtering of every data and tap kind over blocks of odd sizes
// against scipy.signal.lfilter of the whole input (the state carried across
// blocks), multirate FIR against scipy.signal.upfirdn at every phase, and the
// causal running median against numpy.
//
// Covers: dsp/FilterStates.cpp, dsp/MedianDelay.cpp, platform/spl/Fir.cpp,
// platform/spl/Iir.cpp, platform/spl/MedianFilter.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
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
  static const auto cases = ReadOracleLines("filter_states_oracle.txt");
  return cases;
}

// The table's input generator: s := (1103515245 s + 12345) mod 2^31, value s / 2^30 - 1.
std::vector<double> Input(std::uint64_t seed, int doubles) {
  std::vector<double> x(doubles);
  std::uint64_t s = seed;
  for (double& v : x) {
    s = (1103515245u * s + 12345u) % (1u << 31);
    v = static_cast<double>(s) / (1u << 30) - 1.0;
  }
  return x;
}

void Fill(TVec& v, const std::vector<double>& doubles, bool complex) {
  v.Size(static_cast<std::int32_t>(complex ? doubles.size() / 2 : doubles.size()), complex);
  std::copy(doubles.begin(), doubles.end(), v.Values());
}

void FillTaps(TVec& v, const std::string& field) {
  const std::vector<TCplx> taps = OracleComplex(field);
  const bool complex = field.find('|') != std::string::npos;
  v.Size(static_cast<std::int32_t>(taps.size()), complex);
  for (std::size_t i = 0; i < taps.size(); ++i) {
    if (complex)
      v.CValues()[i] = taps[i];
    else
      v.Values()[i] = taps[i].Re;
  }
}

// Odd block sizes that add up to n, small and large, so that blocks of one
// sample, blocks shorter and longer than the filter, and chunks through
// either convolution all occur.
std::vector<int> OddBlocks(int n) {
  static const int sizes[] = {1, 3, 7, 13, 1, 31, 57, 101, 5, 233, 601, 9, 511, 17};
  std::vector<int> blocks;
  for (int done = 0, i = 0; done < n; ++i) {
    const int b = std::min(sizes[i % std::size(sizes)], n - done);
    blocks.push_back(b);
    done += b;
  }
  return blocks;
}

// Runs filter over src block by block (a fresh Dst each time) and joins the outputs.
template <class Filter>
std::vector<TCplx> RunInBlocks(const std::vector<double>& doubles, bool complex, Filter filter) {
  const int width = complex ? 2 : 1;
  const int n = static_cast<int>(doubles.size()) / width;
  std::vector<TCplx> out;
  int done = 0;
  for (int b : OddBlocks(n)) {
    TVec src, dst;
    Fill(src, std::vector<double>(doubles.begin() + done * width, doubles.begin() + (done + b) * width), complex);
    filter(src, dst);
    for (int i = 0; i < dst.Length(); ++i)
      out.push_back(dst.Complex() ? dst.CValues()[i] : TCplx{dst.Values()[i], 0});
    done += b;
  }
  return out;
}

using Cx = std::complex<double>;
constexpr double kU = 0x1p-53;

std::vector<Cx> AsComplex(const std::vector<double>& doubles, bool complex) {
  std::vector<Cx> out;
  for (std::size_t i = 0; i < doubles.size(); i += complex ? 2 : 1)
    out.emplace_back(doubles[i], complex ? doubles[i + 1] : 0.0);
  return out;
}

std::vector<Cx> AsComplex(const std::vector<TCplx>& values) {
  std::vector<Cx> out;
  for (const TCplx& v : values) out.emplace_back(v.Re, v.Im);
  return out;
}

// The error bounds of a running FIR filter, each output on its own: the direct sum of L
// products rounds within 2L u of sum |b_k| |x_(n-k)|, and a transform-based convolution
// within 8 log2(N) u of |b|_2 |x|_2, N below 4 (L + n) (which of the two a block takes
// depends on its size); on each of the two sides, with a margin of 2.
std::vector<double> FirBounds(const std::vector<Cx>& taps, const std::vector<Cx>& x) {
  double tapsNorm = 0.0, inputNorm = 0.0;
  for (const Cx& b : taps) tapsNorm += std::norm(b);
  for (const Cx& v : x) inputNorm += std::norm(v);
  const double length = static_cast<double>(taps.size());
  const double transform =
      8.0 * std::log2(4.0 * (length + static_cast<double>(x.size()))) * kU * std::sqrt(tapsNorm * inputNorm);
  std::vector<double> out;
  for (std::size_t n = 0; n < x.size(); ++n) {
    double sum = 0.0;
    for (std::size_t k = 0; k < taps.size() && k <= n; ++k) sum += std::abs(taps[k]) * std::abs(x[n - k]);
    out.push_back(2.0 * 2.0 * (2.0 * length * kU * sum + transform));
  }
  return out;
}

// A running IIR filter: each step rounds within 2 (Lb + La) u of the sizes it sums,
// sum |b_k| |x_(n-k)| + sum |a_k| |y_(n-k)| (a_0 = 1), and each step's error runs on through
// the recursion as the impulse response g of 1 / A does: |dy_n| <= sum_j |g_j| e_(n-j). On
// each of the two sides, with a margin of 2.
std::vector<double> IirBounds(std::vector<Cx> b, std::vector<Cx> a, const std::vector<Cx>& x,
                              const std::vector<Cx>& y) {
  const Cx a0 = a[0];
  for (Cx& v : b) v /= a0;
  for (Cx& v : a) v /= a0;
  const std::size_t n = x.size();
  std::vector<std::complex<long double>> g(n);
  for (std::size_t i = 0; i < n; ++i) {
    std::complex<long double> v = i == 0 ? 1.0L : 0.0L;
    for (std::size_t k = 1; k < a.size() && k <= i; ++k) v -= std::complex<long double>(a[k]) * g[i - k];
    g[i] = v;
  }
  const double steps = 2.0 * static_cast<double>(b.size() + a.size()) * kU;
  std::vector<double> local(n), out(n, 0.0);
  for (std::size_t i = 0; i < n; ++i) {
    double sum = 0.0;
    for (std::size_t k = 0; k < b.size() && k <= i; ++k) sum += std::abs(b[k]) * std::abs(x[i - k]);
    for (std::size_t k = 1; k < a.size() && k <= i; ++k) sum += std::abs(a[k]) * std::abs(y[i - k]);
    local[i] = steps * sum;
  }
  for (std::size_t i = 0; i < n; ++i) {
    double sum = 0.0;
    for (std::size_t j = 0; j <= i; ++j) sum += static_cast<double>(std::abs(g[j])) * local[i - j];
    out[i] = 2.0 * 2.0 * sum;
  }
  return out;
}

::testing::AssertionResult SameOutputWithin(const std::vector<TCplx>& actual, const std::vector<TCplx>& expected,
                                            const std::vector<double>& bounds) {
  if (actual.size() != expected.size())
    return ::testing::AssertionFailure() << actual.size() << " outputs, expected " << expected.size();
  for (std::size_t i = 0; i < actual.size(); ++i)
    if (!(std::hypot(actual[i].Re - expected[i].Re, actual[i].Im - expected[i].Im) <= bounds[i]))
      return ::testing::AssertionFailure() << "output " << i << ": (" << actual[i].Re << ", " << actual[i].Im
                                           << "), expected (" << expected[i].Re << ", " << expected[i].Im
                                           << "), bound " << bounds[i];
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult SameOutput(const std::vector<TCplx>& actual, const std::vector<TCplx>& expected,
                                      double tol) {
  if (actual.size() != expected.size())
    return ::testing::AssertionFailure() << actual.size() << " outputs, expected " << expected.size();
  double scale = 0;
  for (const TCplx& e : expected) scale = std::max({scale, std::fabs(e.Re), std::fabs(e.Im)});
  for (std::size_t i = 0; i < actual.size(); ++i) {
    if (!NearScaled(actual[i].Re, expected[i].Re, tol, scale) || !NearScaled(actual[i].Im, expected[i].Im, tol, scale))
      return ::testing::AssertionFailure() << "output " << i << ": (" << actual[i].Re << ", " << actual[i].Im
                                           << "), expected (" << expected[i].Re << ", " << expected[i].Im << ")";
  }
  return ::testing::AssertionSuccess();
}

TEST(FilterStatesOracle, FirOverOddBlocksMatchesLfilter) {
  int checked = 0;
  for (const auto& c : Cases()) {
    if (c[0] != "fir") continue;
    TVec taps;
    FillTaps(taps, c[2]);
    const bool complex = c[5] == "1";
    const int n = std::stoi(c[4]);
    const std::vector<double> x = Input(std::stoull(c[3]), complex ? 2 * n : n);
    TFirState state;
    FirInitState(taps, state, complex);
    const auto y = RunInBlocks(x, complex, [&](TVec& src, TVec& dst) { FirFilter(src, dst, state); });
    EXPECT_TRUE(SameOutputWithin(y, OracleComplex(c[6]), FirBounds(AsComplex(OracleComplex(c[2])), AsComplex(x, complex))))
        << c[1];
    FirFreeState(state);
    ++checked;
  }
  EXPECT_EQ(checked, 12);
}

TEST(FilterStatesOracle, FirInPlaceMatchesLfilter) {
  for (const auto& c : Cases()) {
    if (c[0] != "fir" || (c[1] != "d150" && c[1] != "zd5")) continue;
    TVec taps;
    FillTaps(taps, c[2]);
    const bool complex = c[5] == "1";
    const int n = std::stoi(c[4]);
    TVec v;
    Fill(v, Input(std::stoull(c[3]), complex ? 2 * n : n), complex);
    TFirState state;
    FirInitState(taps, state, complex);
    FirFilter(v, v, state);
    std::vector<TCplx> y(n);
    for (int i = 0; i < n; ++i) y[i] = complex ? v.CValues()[i] : TCplx{v.Values()[i], 0};
    const std::vector<double> x = Input(std::stoull(c[3]), complex ? 2 * n : n);
    EXPECT_TRUE(SameOutputWithin(y, OracleComplex(c[6]), FirBounds(AsComplex(OracleComplex(c[2])), AsComplex(x, complex))))
        << c[1];
  }
}

TEST(FilterStatesOracle, IirOverOddBlocksMatchesLfilter) {
  int checked = 0;
  for (const auto& c : Cases()) {
    if (c[0] != "iir") continue;
    const std::vector<TCplx> b = OracleComplex(c[2]), a = OracleComplex(c[3]);
    const bool complexTaps = c[2].find('|') != std::string::npos;
    TVec taps;
    taps.Size(static_cast<std::int32_t>(b.size() + a.size()), complexTaps);
    for (std::size_t i = 0; i < b.size() + a.size(); ++i) {
      const TCplx t = i < b.size() ? b[i] : a[i - b.size()];
      if (complexTaps)
        taps.CValues()[i] = t;
      else
        taps.Values()[i] = t.Re;
    }
    const bool complex = c[6] == "1";
    const int n = std::stoi(c[5]);
    const std::vector<double> x = Input(std::stoull(c[4]), complex ? 2 * n : n);
    TIirState state;
    IirInitState(taps, state, complex);
    const auto y = RunInBlocks(x, complex, [&](TVec& src, TVec& dst) { IirFilter(src, dst, state); });
    const std::vector<TCplx> expected = OracleComplex(c[7]);
    EXPECT_TRUE(SameOutputWithin(y, expected, IirBounds(AsComplex(b), AsComplex(a), AsComplex(x, complex), AsComplex(expected))))
        << c[1];
    IirFreeState(state);
    ++checked;
  }
  EXPECT_EQ(checked, 14);
}

TEST(FilterStatesOracle, MultirateFirMatchesUpfirdnAtEveryPhase) {
  int checked = 0;
  for (const auto& c : Cases()) {
    if (c[0] != "upfirdn") continue;
    const int up = std::stoi(c[2]), down = std::stoi(c[3]);
    TVec taps;
    FillTaps(taps, c[4]);
    const int n = std::stoi(c[6]);
    const std::vector<double> x = Input(std::stoull(c[5]), n);
    const std::vector<double> stream = OracleNumbers(c[7]);
    for (int upPhase = 0; upPhase < up; ++upPhase) {
      for (int downPhase = 0; downPhase < down; ++downPhase) {
        TFirState state;
        FirInitState(taps, state, false, up, upPhase, down, downPhase);
        const auto y = RunInBlocks(x, false, [&](TVec& src, TVec& dst) { FirFilter(src, dst, state); });
        // The outputs at the positions m down + downPhase below n up of the
        // stream whose input q stands at q up + upPhase.
        std::vector<TCplx> expected;
        for (int j = downPhase; j < n * up; j += down) {
          const int k = j - upPhase;
          expected.push_back(TCplx{k >= 0 && k < static_cast<int>(stream.size()) ? stream[k] : 0.0, 0});
        }
        // The bounds of the upsampled stream's filtering (FirBounds), at the outputs kept.
        std::vector<Cx> upsampled(static_cast<std::size_t>(n * up), 0.0);
        for (int q = 0; q < n; ++q)
          if (q * up + upPhase < n * up) upsampled[static_cast<std::size_t>(q * up + upPhase)] = x[static_cast<std::size_t>(q)];
        const std::vector<double> streamBounds = FirBounds(AsComplex(OracleComplex(c[4])), upsampled);
        std::vector<double> bounds;
        for (int j = downPhase; j < n * up; j += down) bounds.push_back(streamBounds[static_cast<std::size_t>(j)]);
        EXPECT_TRUE(SameOutputWithin(y, expected, bounds)) << c[1] << " phases " << upPhase << ", " << downPhase;
        if (upPhase == 0 && downPhase == 0) {
          // upfirdn with the factor itself: the same values, then the filter's tail.
          const std::vector<double> decimated = OracleNumbers(c[8]);
          ASSERT_LE(y.size(), decimated.size());
          for (std::size_t m = 0; m < y.size(); ++m)
            EXPECT_LE(std::fabs(y[m].Re - decimated[m]), bounds[m]) << c[1] << " output " << m;
        }
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 30);
}

TEST(FilterStatesOracle, RunningMedianOfThePrecedingSamples) {
  int checked = 0;
  for (const auto& c : Cases()) {
    if (c[0] != "median") continue;
    const int w = std::stoi(c[2]), n = std::stoi(c[4]);
    std::vector<double> x = Input(std::stoull(c[3]), n);
    for (int i = 0; i < n; i += 17) x[i] = 5.0;
    for (int i = 100; i < 110; ++i) x[i] = 0.25;
    TMedianState state;
    MedianInit(w, state);
    const auto y = RunInBlocks(x, false, [&](TVec& src, TVec& dst) { MedianFilter(src, dst, state); });
    EXPECT_TRUE(SameOutput(y, OracleComplex(c[5]), 0)) << c[1];
    ++checked;
  }
  EXPECT_EQ(checked, 5);
}

}  // namespace
}  // namespace dsp

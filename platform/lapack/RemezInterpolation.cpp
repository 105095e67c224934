// The barycentric interpolant of the Remez exchange: weights, evaluation on the grid, and the
// conversion of the final polynomial to cosine coefficients.
//
// Tested by: platform/lapack/tests/RemezTest.cpp, RemezOracleTest.cpp.
#include "platform/lapack/RemezInternal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numbers>

// The barycentric loops get copies for wider vector units, chosen once at load
// time. ThreadSanitizer cannot run the resolver that picks the copy (it runs
// before the sanitizer's runtime is up), so its builds keep the plain loop.
#if defined(__GNUC__) && defined(__x86_64__) && !defined(__SANITIZE_THREAD__)
#define ORVEL_REMEZ_WIDE __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define ORVEL_REMEZ_WIDE
#endif

namespace lapack::remez {
namespace {

// Points evaluated together. Each point keeps its own running sums, added in node order, so the
// blocking changes no result; it only lets the compiler overlap the divisions of several points.
constexpr int kBlock = 8;

// Products of up to this many factors stay in range before they are renormalised: a factor is a
// difference of two abscissae in [-1, 1], at least about 1e-10 apart on any grid the designer
// builds, so 16 of them lie between 1e-160 and 2^16.
constexpr int kRenormEvery = 16;

// The most refinement steps of the cosine coefficients.
constexpr int kRefinements = 4;

// The node whose abscissa equals t, for points where the barycentric quotient is 0/0.
// Nodes are stored in decreasing order of abscissa (increasing frequency).
const double* NodeValueAt(const Interpolant& p, double t) {
  auto it = std::lower_bound(p.x.begin(), p.x.end(), t, [](double a, double v) { return a > v; });
  if (it != p.x.end() && *it == t) return &p.y[it - p.x.begin()];
  return nullptr;
}

// Splits a normal, non-zero x into a mantissa of size in [1, 2) (returned) and a power of two
// (added to e), by its bits: the weights renormalise thousands of products per node.
inline double SplitExponent(double x, std::int64_t& e) {
  std::uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  e += static_cast<std::int64_t>((bits >> 52) & 0x7ff) - 1023;
  bits = (bits & ~(std::uint64_t{0x7ff} << 52)) | (std::uint64_t{1023} << 52);
  std::memcpy(&x, &bits, sizeof x);
  return x;
}

}  // namespace

ORVEL_REMEZ_WIDE
bool ComputeWeights(Interpolant& p) {
  const int n = static_cast<int>(p.x.size());
  // Padded to whole blocks; what the padding accumulates is never read.
  const int padded = (n + kBlock - 1) / kBlock * kBlock;
  std::vector<double> mant(padded, 1.0), xs(padded, 0.0), factor(padded);
  std::vector<std::int64_t> expo(padded, 0);
  std::copy(p.x.begin(), p.x.end(), xs.begin());
  double* m = mant.data();
  double* f = factor.data();
  const double* x = xs.data();
  for (int i = 0; i < n; ++i) {
    const double xi = x[i];
    for (int j0 = 0; j0 < padded; j0 += kBlock)
      for (int u = 0; u < kBlock; ++u) f[j0 + u] = x[j0 + u] - xi;
    f[i] = 1.0;
    for (int j0 = 0; j0 < padded; j0 += kBlock)
      for (int u = 0; u < kBlock; ++u) m[j0 + u] *= f[j0 + u];
    if (i % kRenormEvery == kRenormEvery - 1 || i == n - 1) {
      for (int j = 0; j < n; ++j) {
        if (!std::isnormal(m[j])) return false;
        m[j] = SplitExponent(m[j], expo[j]);
      }
    }
  }
  const std::int64_t emin = n > 0 ? *std::min_element(expo.begin(), expo.begin() + n) : 0;
  p.b.resize(n);
  for (int j = 0; j < n; ++j) {
    const std::int64_t shift = std::max<std::int64_t>(emin - expo[j], -2000);
    p.b[j] = std::ldexp(1.0 / m[j], static_cast<int>(shift));
  }
  p.scale = static_cast<int>(std::clamp<std::int64_t>(emin, -1000000, 1000000));
  return true;
}

// The divisions dominate the whole exchange; wider vector units run more of them at once. Every
// clone does the same IEEE operations in the same order, so results do not depend on the clone.
ORVEL_REMEZ_WIDE
void Evaluate(const Interpolant& p, std::span<const double> at, std::span<double> out) {
  const int n = static_cast<int>(p.x.size());
  const int count = static_cast<int>(at.size());
  const double* bs = p.b.data();
  const double* xs = p.x.data();
  const double* ys = p.y.data();
  for (int p0 = 0; p0 < count; p0 += kBlock) {
    const int m = std::min(kBlock, count - p0);
    double t[kBlock], num[kBlock] = {}, den[kBlock] = {};
    for (int u = 0; u < kBlock; ++u) t[u] = at[p0 + std::min(u, m - 1)];
    for (int j = 0; j < n; ++j) {
      const double bj = bs[j], xj = xs[j], yj = ys[j];
      for (int u = 0; u < kBlock; ++u) {
        const double q = bj / (t[u] - xj);
        num[u] += q * yj;
        den[u] += q;
      }
    }
    for (int u = 0; u < m; ++u) {
      double v = num[u] / den[u];
      if (!std::isfinite(v)) {
        // A point on a node: the quotient is 0/0 there, and the value is the node's.
        if (const double* y = NodeValueAt(p, t[u])) v = *y;
      }
      out[p0 + u] = v;
    }
  }
}

double EvaluateFirstForm(const Interpolant& p, double t) {
  const int n = static_cast<int>(p.x.size());
  double lmant = 1.0, sum = 0.0;
  int lexp = 0;
  for (int j = 0; j < n; ++j) {
    const double diff = t - p.x[j];
    if (diff == 0) return p.y[j];
    lmant *= diff;
    sum += p.b[j] * p.y[j] / diff;
    if (j % kRenormEvery == kRenormEvery - 1) {
      int e;
      lmant = std::frexp(lmant, &e);
      lexp += e;
    }
  }
  return std::ldexp(lmant * sum, lexp - p.scale);
}

namespace {

// Values of p at the points `at`: the second form inside the span of the nodes, where it is the
// more accurate (the rounding of numerator and denominator largely cancels), the first form
// beyond it, where only that one stays stable.
std::vector<double> Values(const Interpolant& p, const std::vector<double>& at) {
  std::vector<double> value(at.size());
  Evaluate(p, at, value);
  const double lo = *std::min_element(p.x.begin(), p.x.end());
  const double hi = *std::max_element(p.x.begin(), p.x.end());
  for (std::size_t m = 0; m < at.size(); ++m)
    if (at[m] < lo || at[m] > hi) value[m] = EvaluateFirstForm(p, at[m]);
  return value;
}

// Adds to alpha the Chebyshev coefficients of the polynomial with these values at the points
// cos((2m + 1) pi / (2c)); cosTab[r] = cos(pi r / (2c)), r < 4c.
void AddTransform(const std::vector<double>& value, const std::vector<double>& cosTab,
                  std::span<double> alpha) {
  const int c = static_cast<int>(alpha.size());
  const int period = 4 * c;
  // The index of the table entry moves on by `step` modulo the period from one k to the next, a
  // chain of dependent steps; kChains stretches of k, each with its own index, run side by side.
  // Every acc[k] still adds its terms in the order of m.
  constexpr int kChains = 8;
  const int stretch = (c + kChains - 1) / kChains;
  std::vector<double> acc(static_cast<std::size_t>(stretch) * kChains, 0.0);
  const double* table = cosTab.data();
  double* sum = acc.data();
  for (int m = 0; m < c; ++m) {
    const int step = 2 * m + 1;
    const double v = value[m];
    int r[kChains];
    for (int u = 0; u < kChains; ++u)
      r[u] = static_cast<int>(static_cast<std::int64_t>(step) * (u * stretch) % period);
    for (int i = 0; i < stretch; ++i) {
      for (int u = 0; u < kChains; ++u) {
        sum[u * stretch + i] += v * table[r[u]];
        r[u] += step;
        if (r[u] >= period) r[u] -= period;
      }
    }
  }
  alpha[0] += acc[0] / c;
  for (int k = 1; k < c; ++k) alpha[k] += 2.0 * acc[k] / c;
}

}  // namespace

// sum alpha[k] T_k(t) at every point of `at` (Clenshaw's recurrence, points side by side).
ORVEL_REMEZ_WIDE
std::vector<double> ChebyshevSum(std::span<const double> alpha, std::span<const double> at) {
  // The recurrence is a chain of dependent steps for each point; enough points side by side
  // keep the arithmetic units busy. A step is a multiplication, an addition and a subtraction in
  // turn, so it takes eight vectors of the widest unit to cover the latency of the chain.
  constexpr int kSumBlock = 64;
  const int c = static_cast<int>(alpha.size());
  const int count = static_cast<int>(at.size());
  std::vector<double> out(count);
  for (int p0 = 0; p0 < count; p0 += kSumBlock) {
    const int m = std::min(kSumBlock, count - p0);
    double t2[kSumBlock], b1[kSumBlock] = {}, b2[kSumBlock] = {};
    for (int u = 0; u < kSumBlock; ++u) t2[u] = 2 * at[p0 + std::min(u, m - 1)];
    for (int k = c - 1; k >= 1; --k) {
      const double a = alpha[k];
      for (int u = 0; u < kSumBlock; ++u) {
        const double b0 = a + t2[u] * b1[u] - b2[u];
        b2[u] = b1[u];
        b1[u] = b0;
      }
    }
    for (int u = 0; u < m; ++u) out[p0 + u] = alpha[0] + 0.5 * t2[u] * b1[u] - b2[u];
  }
  return out;
}

void CosineCoefficients(const Interpolant& p, std::span<double> alpha) {
  const int c = static_cast<int>(alpha.size());
  if (c == 0) return;
  const int period = 4 * c;
  std::vector<double> cosTab(period);
  for (int r = 0; r < period; ++r) cosTab[r] = std::cos(std::numbers::pi * r / (2.0 * c));
  std::vector<double> at(c);
  for (int m = 0; m < c; ++m) at[m] = cosTab[2 * m + 1];
  std::fill(alpha.begin(), alpha.end(), 0.0);
  AddTransform(Values(p, at), cosTab, alpha);

  // Where the bands leave wide gaps, or end short of 0 or the Nyquist frequency, the values
  // sampled there carry rounding errors that the interpolation amplifies, and the transform
  // spreads them over the bands. Refinement removes them: the residual at c of the nodes is
  // interpolated by a polynomial of degree c - 1, whose own rounding is smaller by the size of
  // the residual. It goes on while the residual keeps shrinking.
  // The residual left at the node that is left out is the degree-c part of the residual divided
  // by that node's barycentric weight, so the node with the largest weight is left out.
  if (static_cast<int>(p.x.size()) != c + 1) return;
  int out = 0;
  for (int j = 1; j <= c; ++j)
    if (std::fabs(p.b[j]) > std::fabs(p.b[out])) out = j;
  Interpolant fix;
  std::vector<int> from;
  for (int j = 0; j <= c; ++j)
    if (j != out) from.push_back(j);
  fix.scale = p.scale;
  for (int j : from) {
    fix.x.push_back(p.x[j]);
    fix.b.push_back(p.b[j] * (p.x[j] - p.x[out]));
  }
  fix.y.resize(c);
  // A residual at the rounding of the values themselves is as good as it gets.
  double settled = 0;
  for (double v : p.y) settled = std::max(settled, std::fabs(v));
  settled *= 4 * std::numeric_limits<double>::epsilon();
  double previous = std::numeric_limits<double>::infinity();
  for (int step = 0; step < kRefinements; ++step) {
    const std::vector<double> fitted = ChebyshevSum(alpha, fix.x);
    double residual = 0;
    for (int i = 0; i < c; ++i) {
      fix.y[i] = p.y[from[i]] - fitted[i];
      residual = std::max(residual, std::fabs(fix.y[i]));
    }
    if (!(residual < 0.5 * previous) || residual <= settled) break;
    previous = residual;
    AddTransform(Values(fix, at), cosTab, alpha);
  }
}

}  // namespace lapack::remez

// The equiripple design: length estimate, dense grid, weighting by design type, and the exchange
// with the assembly of the taps from its cosine coefficients.
//
// Tested by: dsp/tests/OptimalFIRTest.cpp, OptimalFIROracleTest.cpp.
#include "dsp/OptimalFIR.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "dsp/OptimalFIRMessages.h"
#include "numeric/MathCore.h"
#include "platform/lapack/Remez.h"

namespace dsp {
namespace {

constexpr std::int32_t kMinTaps = 3;
constexpr std::int32_t kMaxTaps = 10000;

// A symmetric filter of even length is 0 at the Nyquist frequency: a grid point where the factor
// cos(pi g) is below this is at that frequency (the factor there is about 6e-17, not 0).
constexpr double kAtNyquist = 1e-12;

// A failed design that never reached the exchange: zero taps and no deviation achieved.
std::int32_t Undesignable(std::span<double> H, double& Dev) {
  std::fill(H.begin(), H.end(), 0.0);
  Dev = std::numeric_limits<double>::infinity();
  return lapack::RemezBadInput;
}

}  // namespace

double RemezOrderHerrmann(double F1, double F2, double Dp, double Ds) {
  const long double a = numeric::Log10(Dp);
  const long double b = numeric::Log10(Ds);
  const long double d = (0.005309L * a * a + 0.07114L * a - 0.4761L) * b -
                        (0.00266L * a * a + 0.5941L * a + 0.4278L);
  const long double f = 11.01217L + 0.51244L * (a - b);
  const long double dF = std::fabs(static_cast<long double>(F2) - F1);
  return static_cast<double>(d / dF - f * dF + 1);
}

std::int32_t RemezOrder(std::span<const double> F, std::span<const double> Gains,
                        std::span<const double> Dev, numeric::TVec& Weights, double FS) {
  if (Gains.size() != Dev.size() || F.size() != 2 * Gains.size())
    numeric::RaiseError(msg::RemezOrderLengths);
  std::vector<double> f(F.begin(), F.end());
  for (double& v : f) v /= FS;
  const auto nBands = static_cast<std::int32_t>(Dev.size());
  Weights.Size(nBands, false);
  std::copy(Dev.begin(), Dev.end(), Weights.Values());
  // Above unit gain the allowed deviation is relative; the weights keep the raw values.
  std::vector<double> dev(Dev.begin(), Dev.end());
  for (std::int32_t j = 0; j < nBands; ++j)
    if (Gains[j] > 1) dev[j] /= Gains[j];
  double length = 0;
  for (std::int32_t i = 0; i + 1 < nBands; ++i) {
    const double lo = f[2 * i + 1], hi = f[2 * i + 2];
    length = numeric::Max(length, numeric::Max(RemezOrderHerrmann(lo, hi, dev[i], dev[i + 1]),
                                               RemezOrderHerrmann(lo, hi, dev[i + 1], dev[i])));
  }
  std::int32_t n = std::max(numeric::Ceil(length), kMinTaps);
  if (nBands > 0) {
    Weights.Scale(1.0 / Weights.Max()).Inv(5.56268464626801E-309);
    // A symmetric filter of even length is 0 at the Nyquist frequency.
    if (Gains[nBands - 1] != 0 && n % 2 == 0) ++n;
  }
  return n;
}

void RemezGrid(std::int32_t NBands, std::span<const double> F, double Delf,
               std::span<const double> Gains, std::span<const double> Weights,
               std::span<double> Grid, std::span<double> Des, std::span<double> Wt) {
  // The caller sizes the arrays; these bounds only keep a wrong size from reaching past them.
  NBands = static_cast<std::int32_t>(std::min<std::size_t>(
      {static_cast<std::size_t>(std::max(NBands, 0)), F.size() / 2, Gains.size(), Weights.size()}));
  std::size_t k = 0;
  for (std::int32_t j = 0; j < NBands; ++j) {
    const double lo = F[2 * j], hi = F[2 * j + 1];
    const std::int32_t npts = std::max(numeric::Trunc((hi - lo) / Delf), 0);
    for (std::int32_t i = 0; i < npts && k < Grid.size() && k < Des.size() && k < Wt.size(); ++i, ++k) {
      // A band of one point is its lower edge (the spacing formula would divide 0 by 0).
      Grid[k] = npts == 1 ? lo : lo + i * (hi - lo) / (npts - 1);
      Des[k] = Gains[j];
      Wt[k] = Weights[j];
    }
  }
}

std::int32_t RemezExchange(std::int32_t N, std::int32_t Neg, std::int32_t NGrid,
                           std::span<double> Des, std::span<const double> Grid,
                           std::span<double> Wt, std::span<double> H, double& Dev) {
  if (N < kMinTaps || N > kMaxTaps || H.size() < static_cast<std::size_t>(N))
    numeric::RaiseError(msg::RemezLengthRange);
  NGrid = std::clamp<std::int64_t>(NGrid, 0, std::min({Des.size(), Grid.size(), Wt.size()}));
  const std::int32_t nodd = N % 2;
  const std::int32_t c = N / 2 + (nodd == 1 && Neg == 0 ? 1 : 0);
  const auto room = static_cast<std::size_t>(c) + 2;
  std::vector<double> ad(room), x(room), y(room), alpha(room), iext(room);
  std::vector<double> work1(room), work2(room), work3(room);

  // The taps are a cosine sum times a factor fixed by the symmetry; the exchange approximates
  // Des / q with weight Wt q.
  bool unreachable = false;
  for (std::int32_t k = 0; k < NGrid; ++k) {
    const double g = Grid[k];
    double q;
    if (Neg == 0)
      q = nodd == 1 ? 1.0 : std::fabs(std::cos(numeric::PI * g));
    else
      q = nodd == 1 ? std::fabs(std::sin(2 * numeric::PI * g)) : std::fabs(std::sin(numeric::PI * g));
    if (Neg == 0 && nodd == 0 && q < kAtNyquist && Des[k] != 0) unreachable = true;
    if (Neg == 0 && nodd == 1) continue;
    Des[k] /= q;
    Wt[k] *= q;
  }
  if (unreachable) return Undesignable(H.first(N), Dev);

  // 1-based starting positions, spread evenly (kept as doubles, as the exchange takes them).
  for (std::int32_t j = 0; j < c; ++j) iext[j] = j * (double(NGrid - 1) / c) + 1;
  iext[c] = NGrid;
  double scratch = 0, deviation = 0;
  std::int32_t status = 0;
  lapack::REMEZ(ad.data(), &scratch, x.data(), y.data(), Grid.data(), Des.data(), Wt.data(),
                alpha.data(), iext.data(), &c, &NGrid, work1.data(), work2.data(), work3.data(),
                &deviation, &status);
  Dev = deviation;

  auto a = [&](std::int32_t k) { return k < c ? alpha[k] : 0.0; };
  std::fill(H.begin(), H.begin() + N, 0.0);
  if (Neg == 0 && nodd == 1) {
    for (std::int32_t i = 0; i <= c - 2; ++i) H[i] = 0.5 * a(c - 1 - i);
    H[c - 1] = a(0);
  } else if (Neg == 0) {
    H[0] = 0.25 * a(c - 1);
    for (std::int32_t i = 1; i <= c - 2; ++i) H[i] = 0.25 * (a(c - 1 - i) + a(c - i));
    H[c - 1] = 0.5 * a(0) + 0.25 * a(1);
  } else if (nodd == 1) {
    H[0] = 0.25 * a(c - 1);
    if (c >= 2) H[1] = 0.25 * a(c - 2);
    for (std::int32_t i = 2; i <= c - 2; ++i) H[i] = 0.25 * (a(c - 1 - i) - a(c + 1 - i));
    H[c - 1] = 0.5 * a(0) - 0.25 * a(2);
    H[c] = 0;
  } else {
    H[0] = 0.25 * a(c - 1);
    for (std::int32_t i = 1; i <= c - 2; ++i) H[i] = 0.25 * (a(c - 1 - i) - a(c - i));
    H[c - 1] = 0.5 * a(0) - 0.25 * a(1);
  }
  const std::int32_t m = N / 2;
  const double sign = Neg == 0 ? 1.0 : -1.0;
  const std::int32_t shift = nodd;  // odd lengths keep their centre tap
  for (std::int32_t i = 0; i < m; ++i) H[m + shift + i] = sign * H[m - 1 - i];
  return status;
}

std::int32_t RemezImpulse(std::span<double> H, std::span<double> F, std::span<const double> Gains,
                          std::span<const double> Weights, TRemezType RType, double& Dev,
                          double FS, bool KeepWeights) {
  return RemezImpulse(H, F, Gains, Weights, RType, Dev, FS, KeepWeights, GridDensity.load());
}

std::int32_t RemezImpulse(std::span<double> H, std::span<double> F, std::span<const double> Gains,
                          std::span<const double> Weights, TRemezType RType, double& Dev,
                          double FS, bool KeepWeights, std::int32_t AGridDensity) {
  if (Weights.size() != Gains.size()) numeric::RaiseError(msg::RemezWeightsLength);
  for (double& f : F) f /= FS;
  for (std::size_t i = 0; i + 1 < F.size(); ++i)
    if (F[i] > F[i + 1]) numeric::RaiseError(msg::RemezOverlappingBands);
  const auto nBands = static_cast<std::int32_t>(F.size() / 2);
  if (Gains.size() < static_cast<std::size_t>(nBands)) numeric::RaiseError(msg::RemezGainsLength);
  const std::size_t n = H.size();
  const double delf = 0.5 / (static_cast<double>(AGridDensity) * static_cast<double>(n / 2));
  if (RType != rtMultiband && !F.empty()) {
    if (delf > F[0]) F[0] = delf;
    if (n % 2 == 1 && 0.5 - delf < F.back()) F.back() = 0.5 - delf;
  }
  if (n < kMinTaps || n > kMaxTaps) numeric::RaiseError(msg::RemezLengthRange);
  const auto N = static_cast<std::int32_t>(n);

  // Edges beyond 0 .. Nyquist (FS = 0 gives infinities and NaN) fold the grid onto itself.
  std::int64_t nGrid = 0;
  for (std::int32_t j = 0; j < nBands; ++j) {
    if (!(F[2 * j] >= 0 && F[2 * j + 1] <= 0.5)) return Undesignable(H, Dev);
    nGrid += std::max(numeric::Trunc((F[2 * j + 1] - F[2 * j]) / delf), 0);
  }
  if (nGrid > std::numeric_limits<std::int32_t>::max()) return Undesignable(H, Dev);

  std::vector<double> grid(nGrid), des(nGrid), wt(nGrid);
  RemezGrid(nBands, F, delf, Gains, Weights, grid, des, wt);
  const double w0 = 2 * numeric::PI * FS;
  for (std::int64_t k = 0; k < nGrid; ++k) {
    const double g = grid[k], w = w0 * g;
    const bool reweight = !KeepWeights && g > 1e-6;
    switch (RType) {
      case rtDifferentiator:
        des[k] *= w;
        if (reweight) wt[k] /= g;
        break;
      case rtDoubleDifferentiator:
        des[k] *= w * w;
        if (reweight) wt[k] /= g * g;
        break;
      case rtIntegrator:
        des[k] /= w;
        if (reweight) wt[k] *= g;
        break;
      case rtDoubleIntegrator:
        des[k] /= w * w;
        if (reweight) wt[k] *= g * g;
        break;
      default:
        break;
    }
  }
  const std::int32_t status = RemezExchange(N, RType != rtMultiband ? 1 : 0,
                                            static_cast<std::int32_t>(nGrid), des, grid, wt, H, Dev);
  if (RType == rtHilbert || RType == rtIntegrator || RType == rtDoubleIntegrator)
    for (double& h : H) h = -h;
  return status;
}

}  // namespace dsp

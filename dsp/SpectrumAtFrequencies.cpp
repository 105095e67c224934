// The transform of a sequence at any frequencies, several of them in one pass.
//
// A refining peak search reads the transform of a long frame at many single
// frequencies. A second-order recursion (Goertzel's) costs a serial chain of
// operations per sample and loses accuracy with the square of the length near
// the ends of the band; here each block of samples is summed against a table
// of its own phases (independent products, which the vector units take in
// lanes) and then turned by the block's phase. Every phase comes from the
// exact fraction of a turn, so the error stays a few units of rounding of
// the sum of magnitudes, whatever the length.
//
// Tested by: dsp/tests/SpectrumUtilsTest.cpp
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "dsp/SignalUtils.h"

namespace dsp {

using numeric::RaiseError;
using numeric::TCplx;
using numeric::TVec;

namespace {

// Samples per block: a pass makes a phase table of one block and one turn
// per block.
constexpr std::int32_t BlockLength = 1024;
// Frequencies summed in one pass over the samples.
constexpr std::size_t PassWidth = 4;

// Two doubles, one SSE register: the baseline build's widest.
typedef double TV2 __attribute__((vector_size(16)));

// exp(-2 pi i F J), with the product F J split exactly into its rounded value
// and that rounding's error, so that only the fraction of a turn meets the
// sine and cosine.
TCplx Turn(double F, double J) {
  const double t = F * J;
  const double e = std::fma(F, J, -t);
  const double angle = -2.0 * std::numbers::pi * ((t - std::floor(t)) + e);
  return TCplx{std::cos(angle), std::sin(angle)};
}

// C[j] + i S[j] := exp(-2 pi i F Step j) for j < Count, as the products of
// a fine and a coarse table of exact turns: about 2 sqrt(Count) sines and
// cosines, each entry within three units of rounding.
void TurnTable(double F, double Step, std::int32_t Count, double* C, double* S) {
  std::int32_t fine = 1;
  while (fine * fine < Count) ++fine;
  std::vector<TCplx> low(static_cast<std::size_t>(fine));
  for (std::int32_t j = 0; j < fine; ++j) low[static_cast<std::size_t>(j)] = Turn(F, Step * j);
  for (std::int32_t q = 0; q * fine < Count; ++q) {
    const TCplx high = Turn(F, Step * fine * q);
    const std::int32_t end = std::min(fine, Count - q * fine);
    for (std::int32_t j = 0; j < end; ++j) {
      const TCplx& w = low[static_cast<std::size_t>(j)];
      C[q * fine + j] = w.Re * high.Re - w.Im * high.Im;
      S[q * fine + j] = w.Re * high.Im + w.Im * high.Re;
    }
  }
}

// sum x[r] (c[r] + i s[r]) over Len real samples, in two pairs of lanes.
TCplx RealBlock(const double* x, const double* c, const double* s, std::int32_t Len) {
  TV2 re0 = {0, 0}, re1 = {0, 0}, im0 = {0, 0}, im1 = {0, 0};
  std::int32_t r = 0;
  for (; r + 4 <= Len; r += 4) {
    TV2 x0, x1, c0, c1, s0, s1;
    std::memcpy(&x0, x + r, sizeof x0);
    std::memcpy(&x1, x + r + 2, sizeof x1);
    std::memcpy(&c0, c + r, sizeof c0);
    std::memcpy(&c1, c + r + 2, sizeof c1);
    std::memcpy(&s0, s + r, sizeof s0);
    std::memcpy(&s1, s + r + 2, sizeof s1);
    re0 += x0 * c0;
    re1 += x1 * c1;
    im0 += x0 * s0;
    im1 += x1 * s1;
  }
  double sre = (re0[0] + re0[1]) + (re1[0] + re1[1]);
  double sim = (im0[0] + im0[1]) + (im1[0] + im1[1]);
  for (; r < Len; ++r) {
    sre += x[r] * c[r];
    sim += x[r] * s[r];
  }
  return TCplx{sre, sim};
}

// sum z[r] (c[r] + i s[r]) over Len complex samples (interleaved pairs).
TCplx ComplexBlock(const double* z, const double* c, const double* s, std::int32_t Len) {
  double re0 = 0, im0 = 0, re1 = 0, im1 = 0;
  std::int32_t r = 0;
  for (; r + 2 <= Len; r += 2) {
    const double* a = z + 2 * r;
    re0 += a[0] * c[r] - a[1] * s[r];
    im0 += a[0] * s[r] + a[1] * c[r];
    re1 += a[2] * c[r + 1] - a[3] * s[r + 1];
    im1 += a[2] * s[r + 1] + a[3] * c[r + 1];
  }
  if (r < Len) {
    const double* a = z + 2 * r;
    re0 += a[0] * c[r] - a[1] * s[r];
    im0 += a[0] * s[r] + a[1] * c[r];
  }
  return TCplx{re0 + re1, im0 + im1};
}

void Pass(const TVec& X, std::span<const double> Freqs, std::span<TCplx> Result) {
  const std::int32_t n = X.Length();
  const std::int32_t width = std::min(BlockLength, n);
  const std::size_t count = Freqs.size();
  const std::int32_t blocks = (n + BlockLength - 1) / BlockLength;
  // Per frequency the phase table of one block (cosines, then sines) and
  // the turns of the blocks (cosines, then sines).
  const std::size_t tableSize = 2 * static_cast<std::size_t>(width);
  const std::size_t turnSize = 2 * static_cast<std::size_t>(blocks);
  std::vector<double> tables(count * (tableSize + turnSize));
  for (std::size_t k = 0; k < count; ++k) {
    double* c = tables.data() + k * (tableSize + turnSize);
    TurnTable(Freqs[k], 1.0, width, c, c + width);
    double* t = c + tableSize;
    TurnTable(Freqs[k], BlockLength, blocks, t, t + blocks);
  }
  std::vector<TCplx> sums(count, TCplx{0.0, 0.0});
  const bool complex = X.Complex();
  const double* values = X.Values();
  for (std::int32_t b = 0; b < blocks; ++b) {
    const std::int32_t start = b * BlockLength;
    const std::int32_t len = std::min(BlockLength, n - start);
    for (std::size_t k = 0; k < count; ++k) {
      const double* c = tables.data() + k * (tableSize + turnSize);
      const TCplx p = complex ? ComplexBlock(values + 2 * static_cast<std::ptrdiff_t>(start), c, c + width, len)
                              : RealBlock(values + start, c, c + width, len);
      const double* t = c + tableSize;
      const double wr = t[b], wi = t[blocks + b];
      sums[k].Re += p.Re * wr - p.Im * wi;
      sums[k].Im += p.Re * wi + p.Im * wr;
    }
  }
  std::copy(sums.begin(), sums.end(), Result.begin());
}

}  // namespace

void SpectrumAtFrequencies(const TVec& X, std::span<const double> Freqs, std::span<TCplx> Result) {
  if (Result.size() < Freqs.size()) RaiseError("Result holds fewer values than Freqs");
  for (std::size_t first = 0; first < Freqs.size(); first += PassWidth) {
    const std::size_t count = std::min(PassWidth, Freqs.size() - first);
    Pass(X, Freqs.subspan(first, count), Result.subspan(first, count));
  }
}

}  // namespace dsp

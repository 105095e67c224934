// TVec rounding and truncation to integers, the shift without wrapping, and
// the reduction of a long vector to maximum and minimum pairs for drawing.
// Tested by: numeric/tests/VecRoundingTest.cpp
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "numeric/Numora.h"
#include "platform/spl/Reductions.h"
#include "platform/spl/SampleConversions.h"
#include "platform/spl/VectorKernels.h"

namespace numeric {

namespace {

// Through 32-bit integers, so that the values are integers of that range
// however large they were; the integers wait in a cached vector.
void RoundThroughIntegers(TVec& self, const TVec& vec, int flags) {
  const std::int32_t n = vec.DoubleLength();
  if (n == 0) return;
  TCachedVec buffer;
  buffer->Size((n + 1) / 2, false);
  spl::nspdbFloatToInt(vec.Values(), buffer->Values(), n, 32, flags);
  self.Size(vec);
  spl::nspdbIntToFloat(buffer->Values(), self.Values(), n, 32, 0);
}

}  // namespace

TVec& TVec::Round(const TVec& Vec) {
  RoundThroughIntegers(*this, Vec, spl::NSP_Round | spl::NSP_Clip);
  return *this;
}

TVec& TVec::Round() { return Round(*this); }

TVec& TVec::Trunc(const TVec& Vec) {
  RoundThroughIntegers(*this, Vec, spl::NSP_TruncZero | spl::NSP_Clip);
  return *this;
}

TVec& TVec::Trunc() { return Trunc(*this); }

TVec& TVec::Shift(std::int32_t Offset) {
  const std::int64_t n = FLength;
  const std::int64_t a = std::abs(static_cast<std::int64_t>(Offset));
  if (n == 0 || n < a || a == 0) return *this;
  const std::int64_t width = FComplex ? 2 : 1;
  double* x = Values();
  // The copy kernel allows overlap, so one call moves the block either way.
  const std::int64_t moved = (n - a) * width;
  if (Offset < 0)
    spl::nspdbCopy(x + a * width, x, static_cast<int>(moved));
  else
    spl::nspdbCopy(x, x + a * width, static_cast<int>(moved));
  return *this;
}

namespace {

// Maximum and minimum of n doubles from first into pair[0], pair[1].
void MaxMin(const double* first, std::int32_t n, double* pair) {
  int index = 0;
  pair[0] = spl::nspdMaxExt(first, n, index);
  pair[1] = spl::nspdMinExt(first, n, index);
}

// Dest := pairs of each run of step samples of src; the last run may be short.
void ReduceByIndex(TVec& dest, const TVec& src, std::int32_t step) {
  const std::int32_t len = src.Length();
  const std::int32_t bins = len / step;
  const std::int32_t extra = len % step != 0 ? 1 : 0;
  dest.Size(2 * (bins + extra), false);
  const double* s = src.Values();
  double* d = dest.Values();
  for (std::int32_t b = 0; b < bins; ++b) MaxMin(s + static_cast<std::ptrdiff_t>(b) * step, step, d + 2 * b);
  if (extra == 1) MaxMin(s + static_cast<std::ptrdiff_t>(bins) * step, len - bins * step, d + 2 * bins);
}

// Dest := pairs of the samples falling into each of bins equal bins of the X
// range (X in any order); empty bins give nothing. NX: each pair's bin start
// and the point half a bin later.
void ReduceByX(TVec& dest, TVec& nx, const TVec& src, const TVec& x, std::int32_t bins) {
  const std::int32_t len = src.Length();
  const double* xs = x.Values();
  const double* s = src.Values();
  const double lo = spl::nspdMin(xs, len);
  const double hi = spl::nspdMax(xs, len);
  const double dx = (hi - lo) / bins;
  std::vector<double> maxima(bins, -INF), minima(bins, INF);
  std::vector<char> used(bins, 0);
  for (std::int32_t i = 0; i < len; ++i) {
    // The bin by comparisons before any conversion: a NaN abscissa lands in
    // bin 0 rather than in an undefined integer.
    const double at = dx > 0 ? (xs[i] - lo) / dx : 0.0;
    const std::int32_t b = at >= 1 ? static_cast<std::int32_t>(std::min<double>(at, bins - 1)) : 0;
    maxima[b] = std::max(maxima[b], s[i]);
    minima[b] = std::min(minima[b], s[i]);
    used[b] = 1;
  }
  const auto pairs = static_cast<std::int32_t>(std::count(used.begin(), used.end(), 1));
  dest.Size(2 * pairs, false);
  nx.Size(2 * pairs, false);
  double* d = dest.Values();
  double* p = nx.Values();
  std::int32_t j = 0;
  for (std::int32_t b = 0; b < bins; ++b) {
    if (!used[b]) continue;
    d[2 * j] = maxima[b];
    d[2 * j + 1] = minima[b];
    p[2 * j] = lo + b * dx;
    p[2 * j + 1] = lo + (b + 0.5) * dx;
    ++j;
  }
}

}  // namespace

void DownSizeForDrawing(TVec& Dest, std::int32_t MaxPoints, const TVec& Src, const TVec* X, TVec* NX,
                        bool ByIndex) {
  const std::int32_t len = Src.Length();
  if (!ByIndex) {
    if (X == nullptr || NX == nullptr) RaiseError("(X = nil) or (NX = nil)");
    if (X->Length() != len) RaiseError("SrcX.Length <> SrcY.Length");
    if (X->Complex()) RaiseError("X.Complex = True");
  }
  if (Src.Complex()) RaiseError("Src.Complex = True");
  // Without a positive budget there is nothing to reduce to: a copy.
  const std::int32_t step = MaxPoints > 0 ? numeric::Trunc(static_cast<double>(len) / MaxPoints) : 0;
  const bool withX = X != nullptr && NX != nullptr;
  if (step <= 2) {
    Dest.Copy(Src);
    if (withX) NX->Copy(*X);
    return;
  }
  // Into temporaries first: Dest or NX may be Src or X.
  TCachedVec dest;
  if (ByIndex) {
    ReduceByIndex(*dest, Src, step);
    if (withX) {
      const double x0 = X->Length() > 0 ? X->Values()[0] : 0.0;
      TCachedVec nx;
      nx->Size(dest->Length(), false);
      for (std::int32_t i = 0; i < nx->Length(); ++i) nx->Values()[i] = x0 + i * (step / 2.0);
      NX->Copy(*nx);
    }
  } else {
    TCachedVec nx;
    ReduceByX(*dest, *nx, Src, *X, len / step);
    NX->Copy(*nx);
  }
  Dest.Copy(*dest);
}

}  // namespace numeric

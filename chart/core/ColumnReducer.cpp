// The column reduction of a line's points.
//
// Tested by: chart/tests/ColumnReducerTest.cpp
#include "chart/core/ColumnReducer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace chart {

void TColumnReducer::Add(const TPoint& p) {
  if (FOpen && p.X == FFirst.X) {
    ++FSeq;
    if (p.Y < FMin.Y) {
      FMin = p;
      FMinSeq = FSeq;
    } else if (p.Y > FMax.Y) {
      FMax = p;
      FMaxSeq = FSeq;
    }
    FLast = p;
    return;
  }
  Flush();
  FOpen = true;
  FFirst = FMin = FMax = FLast = p;
  FSeq = FMinSeq = FMaxSeq = 0;
}

void TColumnReducer::Flush() {
  if (!FOpen) return;
  FOpen = false;
  Emit(FFirst);
  if (FMinSeq < FMaxSeq) {
    Emit(FMin);
    Emit(FMax);
  } else {
    Emit(FMax);
    Emit(FMin);
  }
  Emit(FLast);
}

namespace {

void Put(std::vector<TPoint>& out, const TPoint& p) {
  if (out.empty() || !(out.back() == p)) out.push_back(p);
}

// One past the last point from `from` on that lies in `column`, looking at
// every point.
int ColumnEnd(std::span<const double> xs, int from, int last, const TLinearPixelMap& xMap, std::int32_t column) {
  int k = from + 1;
  while (k <= last && xMap(xs[k]) == column) ++k;
  return k;
}

// The same where the columns follow the points' order: a point in the
// column puts every point before it there too. Evenly spaced values make
// columns of alike lengths, so the guess (the previous column's length) is
// tried first; from there the end is galloped to and bisected, reading a few
// values of the column instead of all of them.
int ColumnEndInOrder(std::span<const double> xs, int from, int last, const TLinearPixelMap& xMap,
                     std::int32_t column, int guess) {
  auto inColumn = [&](int k) { return xMap(xs[k]) == column; };
  // lo lies in the column; hi lies past its end or past the last point.
  int lo = from, hi = 0;
  const int g = last - from < guess ? last + 1 : from + std::max(1, guess);
  std::int64_t step = 1;
  if (g <= last && inColumn(g)) {
    lo = g;
    hi = lo + 1;
    while (hi <= last && inColumn(hi)) {
      lo = hi;
      step *= 2;
      hi = last - lo < step ? last + 1 : lo + static_cast<int>(step);
    }
  } else {
    hi = g;
    int probe = hi - 1;
    while (probe > from && !inColumn(probe)) {
      hi = probe;
      step *= 2;
      probe = hi - from <= step ? from : hi - static_cast<int>(step);
    }
    lo = probe;
  }
  while (hi - lo > 1) {
    const int mid = lo + (hi - lo) / 2;
    if (inColumn(mid))
      lo = mid;
    else
      hi = mid;
  }
  return hi;
}

// The first point of a..b at pixel target among those whose value times
// sign is at most cut, four points to a test. The column's extreme value is
// among them, so one is always found.
int FirstNear(std::span<const double> ys, int a, int b, double sign, double cut, const TLinearPixelMap& yMap,
              std::int32_t target) {
  int k = a;
#if defined(__SSE2__)
  const __m128d s2 = _mm_set1_pd(sign), cut2 = _mm_set1_pd(cut);
  for (; b - k >= 3; k += 4) {
    const __m128d w01 = _mm_mul_pd(_mm_loadu_pd(&ys[k]), s2), w23 = _mm_mul_pd(_mm_loadu_pd(&ys[k + 2]), s2);
    if (_mm_movemask_pd(_mm_or_pd(_mm_cmple_pd(w01, cut2), _mm_cmple_pd(w23, cut2))) == 0) continue;
    for (int j = k; j < k + 4; ++j)
      if (ys[j] * sign <= cut && yMap(ys[j]) == target) return j;
  }
#endif
  for (; k <= b; ++k)
    if (ys[k] * sign <= cut && yMap(ys[k]) == target) return k;
  return b;
}

// Appends the column's first, lowest, highest and last point of a..b.
void ReduceColumn(std::span<const double> ys, int a, int b, std::int32_t column, const TLinearPixelMap& yMap,
                  std::vector<TPoint>& out) {
  const TPoint firstPoint{column, yMap(ys[a])}, lastPoint{column, yMap(ys[b])};
  // The extremes of the values in four independent lanes, so that no lane
  // waits for the one before; NaN, which maps to the pixel limit, is left to
  // the plain scan below.
  double lo0 = ys[a], lo1 = lo0, lo2 = lo0, lo3 = lo0, hi0 = lo0, hi1 = lo0, hi2 = lo0, hi3 = lo0;
  bool nan = false;
  int k = a;
#if defined(__SSE2__)
  {
    __m128d lo01 = _mm_set1_pd(lo0), lo23 = lo01, hi01 = lo01, hi23 = lo01, unordered = _mm_setzero_pd();
    for (; b - k >= 3; k += 4) {
      const __m128d v01 = _mm_loadu_pd(&ys[k]), v23 = _mm_loadu_pd(&ys[k + 2]);
      lo01 = _mm_min_pd(v01, lo01);
      lo23 = _mm_min_pd(v23, lo23);
      hi01 = _mm_max_pd(v01, hi01);
      hi23 = _mm_max_pd(v23, hi23);
      unordered = _mm_or_pd(unordered, _mm_cmpunord_pd(v01, v23));
    }
    double l[4], h[4];
    _mm_storeu_pd(l, lo01);
    _mm_storeu_pd(l + 2, lo23);
    _mm_storeu_pd(h, hi01);
    _mm_storeu_pd(h + 2, hi23);
    lo0 = l[0], lo1 = l[1], lo2 = l[2], lo3 = l[3], hi0 = h[0], hi1 = h[1], hi2 = h[2], hi3 = h[3];
    nan = _mm_movemask_pd(unordered) != 0;
  }
#else
  for (; b - k >= 3; k += 4) {
    const double v0 = ys[k], v1 = ys[k + 1], v2 = ys[k + 2], v3 = ys[k + 3];
    lo0 = v0 < lo0 ? v0 : lo0;
    lo1 = v1 < lo1 ? v1 : lo1;
    lo2 = v2 < lo2 ? v2 : lo2;
    lo3 = v3 < lo3 ? v3 : lo3;
    hi0 = v0 > hi0 ? v0 : hi0;
    hi1 = v1 > hi1 ? v1 : hi1;
    hi2 = v2 > hi2 ? v2 : hi2;
    hi3 = v3 > hi3 ? v3 : hi3;
    nan |= (v0 != v0) | (v1 != v1) | (v2 != v2) | (v3 != v3);
  }
#endif
  for (; k <= b; ++k) {
    const double v = ys[k];
    lo0 = v < lo0 ? v : lo0;
    hi0 = v > hi0 ? v : hi0;
    nan |= v != v;
  }
  const double vMin = std::fmin(std::fmin(lo0, lo1), std::fmin(lo2, lo3));
  const double vMax = std::fmax(std::fmax(hi0, hi1), std::fmax(hi2, hi3));
  std::int32_t pa = yMap(vMin), pb = yMap(vMax);
  std::int32_t low = pa < pb ? pa : pb, high = pa < pb ? pb : pa;
  // The first point at each extreme pixel: only values within two pixels of
  // the extreme value can lie there. NaN (whose pixel is the limit), a
  // clamped extreme or a window that is no number leaves the choice to a
  // plain scan of every point's pixel.
  int lowAt = -1, highAt = -1;
  const double window = 2 / std::fabs(yMap.Scale);
  if (nan || low <= -AxisPixelLimit || high >= AxisPixelLimit || !std::isfinite(window)) {
    low = high = firstPoint.Y;
    lowAt = highAt = a;
    for (k = a + 1; k <= b; ++k) {
      const std::int32_t p = yMap(ys[k]);
      if (p < low) {
        low = p;
        lowAt = k;
      } else if (p > high) {
        high = p;
        highAt = k;
      }
    }
  } else {
    // In the map's own direction the low pixel lies at the small values.
    const double sign = (yMap.Scale < 0) != yMap.Negate ? -1.0 : 1.0;
    const double lowCut = (pa <= pb ? vMin : vMax) * sign + window;
    const double highCut = (pa <= pb ? vMax : vMin) * sign - window;
    lowAt = FirstNear(ys, a, b, sign, lowCut, yMap, low);
    highAt = FirstNear(ys, a, b, -sign, -highCut, yMap, high);
  }
  Put(out, firstPoint);
  if (lowAt < highAt) {
    Put(out, {column, low});
    Put(out, {column, high});
  } else {
    Put(out, {column, high});
    Put(out, {column, low});
  }
  Put(out, lastPoint);
}

}  // namespace

void ReduceColumns(std::span<const double> xs, std::span<const double> ys, int first, int last,
                   const TLinearPixelMap& xMap, const TLinearPixelMap& yMap, bool xsInOrder,
                   std::vector<TPoint>& out) {
  int guess = 1;
  for (int i = first; i <= last;) {
    const std::int32_t column = xMap(xs[i]);
    const int end = xsInOrder ? ColumnEndInOrder(xs, i, last, xMap, column, guess) : ColumnEnd(xs, i, last, xMap, column);
    ReduceColumn(ys, i, end - 1, column, yMap, out);
    guess = end - i;
    i = end;
  }
}

}  // namespace chart

// DrawValues and DrawGrid: vectors and matrices written into series.
//
// Tested by: analysis_ui/tests/DrawValuesTest.cpp
#include <cfenv>
#include <cmath>
#include <cstring>
#include <span>

#include "analysis_ui/NumoraKiv.h"
#include "numeric/MathCore.h"
#include "numeric/ObjectCache.h"

namespace analysis_ui {

namespace {

// Two doubles (or 64-bit integers) at a time, the width of the registers
// every x86-64 processor has: the loops below run after every update of an
// analyser, over up to millions of samples.
typedef double TV2 __attribute__((vector_size(16)));

// Copies n samples and tells whether all of them are finite, in one pass:
// x - x is 0 for every finite x and NaN for NaN and the infinities, and a
// NaN stays in a sum.
bool CopyAllFinite(double* y, const double* v, std::int32_t n) {
  TV2 sum0 = {0, 0}, sum1 = {0, 0};
  std::int32_t k = 0;
  for (; k + 4 <= n; k += 4) {
    TV2 a, b;
    std::memcpy(&a, v + k, sizeof a);
    std::memcpy(&b, v + k + 2, sizeof b);
    std::memcpy(y + k, &a, sizeof a);
    std::memcpy(y + k + 2, &b, sizeof b);
    sum0 += a - a;
    sum1 += b - b;
  }
  double sum = sum0[0] + sum0[1] + sum1[0] + sum1[1];
  for (; k < n; ++k) {
    y[k] = v[k];
    sum += v[k] - v[k];
  }
  return sum == 0;
}

// x[k] := k dx + x0: the same operations on every element, four at a time.
void FillPositions(double* x, std::int32_t n, double x0, double dx) {
  TV2 k0 = {0, 1}, k1 = {2, 3};
  const TV2 four = {4, 4};
  std::int32_t k = 0;
  for (; k + 4 <= n; k += 4) {
    const TV2 p0 = k0 * dx + x0, p1 = k1 * dx + x0;
    std::memcpy(x + k, &p0, sizeof p0);
    std::memcpy(x + k + 2, &p1, sizeof p1);
    k0 += four;
    k1 += four;
  }
  for (; k < n; ++k) x[k] = k * dx + x0;
}

}  // namespace

bool NeedsPixelDownSample(std::int32_t length, std::int32_t width) {
  return width > 0 && static_cast<std::int64_t>(length) > 3 * static_cast<std::int64_t>(width);
}

void FillSeriesValues(const numeric::TVec& Values, chart::TChartSeries& Series, double X0, double Dx) {
  const std::int32_t n = Values.Length();
  chart::TChartValueList& xs = *Series.NotMandatoryValueList();
  chart::TChartValueList& ys = *Series.MandatoryValueList();
  xs.SetCount(n);
  ys.SetCount(n);
  const std::span<double> x = xs.WritableValues();
  const std::span<double> y = ys.WritableValues();
  const double* v = Values.Values();
  // The position of every sample comes from its own index, so a long vector
  // gathers no rounding along its length and a left-out sample leaves its
  // gap. It is k Dx + X0 rounded twice in doubles (the build contracts
  // nothing): the same bits on every processor, and the same as the
  // frequency of line k that the spectra compute.
  std::int32_t kept = n;
  if (CopyAllFinite(y.data(), v, n)) {
    FillPositions(x.data(), n, X0, Dx);
  } else {
    kept = 0;
    for (std::int32_t k = 0; k < n; ++k) {
      const double value = v[k];
      x[static_cast<std::size_t>(kept)] = k * Dx + X0;
      y[static_cast<std::size_t>(kept)] = value;
      kept += std::isfinite(value) ? 1 : 0;
    }
  }
  if (kept < n) {
    xs.SetCount(kept);
    ys.SetCount(kept);
  }
  // A kind with further lists keeps them as long as its points, so that no
  // drawing reads past their ends.
  for (int i = 2; i < Series.ValuesList().Count(); ++i) Series.ValuesList()[i]->SetCount(kept);
  // Written in index order: ascending for a forward step, which lets the
  // drawing find the points in view by bisection.
  if (Dx > 0 && std::isfinite(X0) && std::isfinite(Dx) && xs.Order() == chart::loAscending) xs.SetKnownInOrder(true);
  Series.RefreshSeries();
  Series.Invalidate();
}

void DrawValues(const numeric::TVec& Values, chart::TChartSeries& Series, bool PixelDownSample, double X0,
                double Dx) {
  if (Values.Complex()) numeric::RaiseError("Y.Complex");
  std::feclearexcept(FE_ALL_EXCEPT);
  const chart::TCustomAxisPanel* chart = Series.ParentChart();
  if (chart != nullptr && PixelDownSample && NeedsPixelDownSample(Values.Length(), chart->Width())) {
    numeric::TCachedVec scratch;
    numeric::DownSizeForDrawing(*scratch, 3 * chart->Width(), Values, nullptr, nullptr, true);
    if (scratch->Length() > 0) Dx = Dx * Values.Length() / scratch->Length();
    FillSeriesValues(*scratch, Series, X0, Dx);
    return;
  }
  FillSeriesValues(Values, Series, X0, Dx);
}

void DrawGrid(const numeric::TMtx& Values, TMtxGridSeries& Series) {
  if (Values.Complex()) numeric::RaiseError("A.Complex");
  std::feclearexcept(FE_ALL_EXCEPT);
  Series.SetMatrix(Values);
}

}  // namespace analysis_ui

// DrawValues and DrawGrid: vectors and matrices written into series.
//
// Tested by: analysis_ui/tests/DrawValuesTest.cpp
#include <cfenv>
#include <cmath>
#include <span>

#include "analysis_ui/NumoraKiv.h"
#include "numeric/MathCore.h"
#include "numeric/ObjectCache.h"

namespace analysis_ui {

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
  // The position of every sample is computed from its own index in extended
  // precision, so a long vector gathers no rounding along its length and a
  // left-out sample leaves its gap.
  const long double x0 = X0, dx = Dx;
  std::int32_t kept = 0;
  for (std::int32_t k = 0; k < n; ++k) {
    const double value = v[k];
    x[static_cast<std::size_t>(kept)] = static_cast<double>(static_cast<long double>(k) * dx + x0);
    y[static_cast<std::size_t>(kept)] = value;
    kept += std::isfinite(value) ? 1 : 0;
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

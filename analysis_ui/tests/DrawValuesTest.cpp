// DrawValues and DrawGrid: what a vector leaves in a series' lists (gaps of
// non-finite samples, positions from each sample's own index), the reduction
// to the chart's width, the refusal of complex data, and what is left alone.
// Covers: analysis_ui/DrawValues.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "analysis_ui/NumoraKiv.h"
#include "chart/series/ErrorSeries.h"
#include "chart/series/FastLineSeries.h"
#include "chart/testing/ChartProbes.h"
#include "chart/testing/RecordingHost.h"
#include "numeric/ObjectCache.h"
#include "testing/TestSupport.h"

namespace analysis_ui {
namespace {

using chart::testing::Values;
using orvel::testing::kInf;
using orvel::testing::kNaN;
using orvel::testing::Raises;

std::unique_ptr<numeric::TVec> Vector(const std::vector<double>& values) {
  auto v = std::make_unique<numeric::TVec>();
  v->Size(static_cast<std::int32_t>(values.size()), false);
  for (std::size_t i = 0; i < values.size(); ++i) v->Values()[i] = values[i];
  return v;
}

// A fast line on a chart of the given width in pixels.
struct TChartFixture {
  explicit TChartFixture(std::int32_t width = 400) {
    chart.SetBounds(width, 300);
    chart.SetHost(&host);
    series = new chart::TFastLineSeries(&chart);
    series->SetParentChart(&chart);
  }
  ~TChartFixture() { chart.SetHost(nullptr); }
  chart::testing::TRecordingHost host;
  chart::TChart chart;
  chart::TFastLineSeries* series;
};

struct TDrawCase {
  const char* Name;
  std::vector<double> Samples;
  double X0, Dx;
  std::vector<double> X, Y;
};

TEST(DrawValues, KeepsEveryFiniteSampleAtThePositionOfItsIndex) {
  std::vector<double> ten{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  std::vector<double> tenWithNaN = ten;
  tenWithNaN[3] = kNaN;
  const TDrawCase cases[] = {
      {"empty", {}, 0, 1, {}, {}},
      {"plain", {4, -1, 2}, 10, 0.5, {10, 10.5, 11}, {4, -1, 2}},
      {"NaN at index 3 of 10", tenWithNaN, 100, 2, {100, 102, 104, 108, 110, 112, 114, 116, 118},
       {0, 1, 2, 4, 5, 6, 7, 8, 9}},
      {"all NaN", {kNaN, kNaN, kNaN}, 0, 1, {}, {}},
      {"infinities", {kInf, 1, -kInf, 2}, 0, 1, {1, 3}, {1, 2}},
      {"backward step", {1, 2, 3}, 5, -1, {5, 4, 3}, {1, 2, 3}},
  };
  for (const TDrawCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TChartFixture f;
    // What was there before goes.
    for (int i = 0; i < 5; ++i) f.series->AddXY(i, 50 + i);
    DrawValues(*Vector(c.Samples), *f.series, false, c.X0, c.Dx);
    EXPECT_EQ(Values(*f.series->XValues()), c.X);
    EXPECT_EQ(Values(*f.series->YValues()), c.Y);
    EXPECT_EQ(f.series->Count(), static_cast<int>(c.X.size()));
  }
}

TEST(DrawValues, PositionsComeFromEachIndexNotFromASum) {
  TChartFixture f;
  const std::int32_t n = 1000000;
  numeric::TVec v;
  v.Size(n, false);
  v.SetVal(1.0);
  DrawValues(v, *f.series, false, 0, 0.1);
  // Adding 0.1 a million times drifts by thousands of units in the last
  // place; the position of the last sample is the double nearest to it.
  const double last = f.series->XValues()->Last();
  EXPECT_LE(std::fabs(last - 99999.9), std::nextafter(99999.9, 1e6) - 99999.9);
}

TEST(DrawValues, WritesTheListsWithoutAddingPointByPoint) {
  TChartFixture f;
  int adds = 0;
  f.series->OnAfterAdd = [&](chart::TChartSeries&, int) { ++adds; };
  f.series->Labels().SetLabel(0, "kept");
  const int invalidatesBefore = f.host.Invalidates;
  DrawValues(*Vector({1, 2, 3}), *f.series, false, 0, 1);
  EXPECT_EQ(adds, 0);
  EXPECT_EQ(f.series->Labels().GetLabel(0), "kept");
  // The chart is asked to show the new values.
  EXPECT_GT(f.host.Invalidates, invalidatesBefore);
  // Forward steps leave X known to ascend; backward ones do not.
  EXPECT_TRUE(f.series->XValues()->KnownInOrder());
  DrawValues(*Vector({1, 2, 3}), *f.series, false, 0, -1);
  EXPECT_FALSE(f.series->XValues()->KnownInOrder());
}

TEST(DrawValues, AKindWithFurtherListsKeepsThemAsLongAsItsPoints) {
  chart::TChart chart;
  auto* series = new chart::THighLowSeries(&chart);
  series->SetParentChart(&chart);
  DrawValues(*Vector({1, kNaN, 3, 4}), *series, false, 0, 1);
  for (chart::TChartValueList* list : series->ValuesList()) EXPECT_EQ(list->Count(), 3) << list->Name();
}

TEST(DrawValues, AComplexVectorIsRefusedAndTheSeriesLeftAlone) {
  TChartFixture f;
  f.series->AddXY(1, 2);
  numeric::TVec v;
  v.Size(4, true);
  EXPECT_TRUE(Raises([&] { DrawValues(v, *f.series, false, 0, 1); }, "Y.Complex"));
  EXPECT_TRUE(Raises([&] { DrawValues(v, *f.series, true, 0, 1); }, "Y.Complex"));
  EXPECT_EQ(Values(*f.series->XValues()), std::vector<double>{1});
  EXPECT_EQ(Values(*f.series->YValues()), std::vector<double>{2});
}

TEST(DrawValues, ReducesOnlyVectorsLongerThanThreeSamplesAPixel) {
  struct TCase {
    std::int32_t Length, Width;
    bool Reduce;
  };
  for (const TCase& c : {TCase{300, 100, false}, TCase{301, 100, true}, TCase{0, 100, false}, TCase{5, 0, false},
                         TCase{899, 300, false}, TCase{2147483647, 715827882, true}})
    EXPECT_EQ(NeedsPixelDownSample(c.Length, c.Width), c.Reduce) << c.Length << " at " << c.Width;

  const auto ramp = [](std::int32_t n) {
    std::vector<double> v;
    for (std::int32_t i = 0; i < n; ++i) v.push_back(std::sin(0.01 * i) + (i % 7 == 0 ? 1 : 0));
    return Vector(v);
  };
  // 300 samples at 100 pixels are drawn whole.
  {
    TChartFixture f(100);
    DrawValues(*ramp(300), *f.series, true, 0, 1);
    EXPECT_EQ(f.series->Count(), 300);
  }
  // 301 take the reduction, whose target of 300 values makes bins of one
  // sample: every sample stays where it was.
  {
    TChartFixture f(100);
    const auto v = ramp(301);
    DrawValues(*v, *f.series, true, 0, 1);
    ASSERT_EQ(f.series->Count(), 301);
    EXPECT_EQ(f.series->YValues()->Value(300), v->Values()[300]);
    EXPECT_EQ(f.series->XValues()->Value(300), 300);
  }
  // 900 samples at 100 pixels: bins of 3, each giving its largest and then
  // its smallest value, half a bin apart.
  {
    TChartFixture f(100);
    const auto v = ramp(900);
    const numeric::TCacheState before = numeric::VecCacheState();
    DrawValues(*v, *f.series, true, 10, 2);
    EXPECT_EQ(numeric::VecCacheState().UsedCount, before.UsedCount);
    ASSERT_EQ(f.series->Count(), 600);
    for (int b = 0; b < 300; ++b) {
      const double* bin = v->Values() + 3 * b;
      EXPECT_EQ(f.series->YValues()->Value(2 * b), std::max({bin[0], bin[1], bin[2]})) << b;
      EXPECT_EQ(f.series->YValues()->Value(2 * b + 1), std::min({bin[0], bin[1], bin[2]})) << b;
      EXPECT_DOUBLE_EQ(f.series->XValues()->Value(2 * b), 10 + 2 * 3 * b);
      EXPECT_DOUBLE_EQ(f.series->XValues()->Value(2 * b + 1), 10 + 2 * (3 * b + 1.5));
    }
  }
  // Without the switch, or without a chart, every sample is drawn.
  {
    TChartFixture f(100);
    DrawValues(*ramp(900), *f.series, false, 0, 1);
    EXPECT_EQ(f.series->Count(), 900);
    chart::TFastLineSeries loose;
    DrawValues(*ramp(900), loose, true, 0, 1);
    EXPECT_EQ(loose.Count(), 900);
  }
}

TEST(DrawGrid, AComplexMatrixIsRefusedAndTheSeriesLeftAlone) {
  TMtxGridSeries series;
  numeric::TMtx real;
  real.Size(2, 3, false);
  DrawGrid(real, series);
  numeric::TMtx complex;
  complex.Size(4, 4, true);
  EXPECT_TRUE(Raises([&] { DrawGrid(complex, series); }, "A.Complex"));
  EXPECT_EQ(series.Matrix().Rows(), 2);
  EXPECT_EQ(series.Matrix().Cols(), 3);
  EXPECT_FALSE(series.Matrix().Complex());
}

}  // namespace
}  // namespace analysis_ui

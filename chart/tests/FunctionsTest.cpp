// Covers chart/functions/Functions.cpp: results by periods of points or of a value
// range, their alignment, single results, moving windows and several sources.
#include <gtest/gtest.h>

#include <vector>

#include "chart/ChartControl.h"
#include "chart/core/KivConst.h"
#include "chart/functions/Functions.h"
#include "chart/testing/ChartProbes.h"
#include "chart/testing/TestPointSeries.h"
#include "testing/TestSupport.h"

namespace chart {
namespace {

using orvel::testing::Raises;
using testing::AddPointSeries;
using testing::TTestPointSeries;
using testing::Values;

::testing::AssertionResult SameValues(const TChartValueList& l, const std::vector<double>& want) {
  const std::vector<double> got = Values(l);
  if (got.size() != want.size()) return ::testing::AssertionFailure() << got.size() << " values, want " << want.size();
  for (std::size_t i = 0; i < got.size(); ++i)
    if (!orvel::testing::NearRel(got[i], want[i], 1e-15))
      return ::testing::AssertionFailure() << "value " << i << " is " << got[i] << ", want " << want[i];
  return ::testing::AssertionSuccess();
}

class TAverage : public TKivFunction {
 public:
  using TKivFunction::TKivFunction;
  double Calculate(TChartSeries& source, int first, int last) override {
    if (first < 0) first = 0, last = source.Count() - 1;
    double sum = 0;
    for (int i = first; i <= last; ++i) sum += source.YValues()->Value(i);
    return sum / (last - first + 1);
  }
};

class TMovingAverage : public TKivMovingFunction {
 public:
  using TKivMovingFunction::TKivMovingFunction;
  double Calculate(TChartSeries& source, int first, int last) override {
    return TAverage(nullptr).Calculate(source, first, last);
  }
};

TEST(Functions, PeriodsByPointsAlignAndMovingWindows) {
  TChart chart;
  auto* src = new TTestPointSeries(&chart);
  auto* dst = new TTestPointSeries(&chart);
  src->SetParentChart(&chart);
  dst->SetParentChart(&chart);
  for (int i = 0; i < 7; ++i) src->AddXY(i * 10, i);
  auto* f = new TAverage(&chart);
  dst->SetFunction(f);
  dst->SetDataSource(src);
  EXPECT_EQ(Values(*dst->YValues()), (std::vector<double>{3}));  // period 0: one result
  EXPECT_EQ(Values(*dst->XValues()), (std::vector<double>{30}));
  f->SetPeriod(3);
  EXPECT_EQ(Values(*dst->YValues()), (std::vector<double>{1, 4}));  // point 6 is an incomplete period
  EXPECT_EQ(Values(*dst->XValues()), (std::vector<double>{10, 40}));
  f->SetPeriodAlign(paFirst);
  EXPECT_EQ(Values(*dst->XValues()), (std::vector<double>{0, 30}));
  f->SetPeriodAlign(paLast);
  EXPECT_EQ(Values(*dst->XValues()), (std::vector<double>{20, 50}));
  f->SetPeriod(0.4);  // rounds to 0: each point is its own period
  EXPECT_EQ(dst->Count(), 7);
  EXPECT_TRUE(Raises<ChartException>([&] { f->SetPeriod(-1); }, "Function Period should be >= 0"));

  auto* mov = new TTestPointSeries(&chart);
  mov->SetParentChart(&chart);
  auto* m = new TMovingAverage(&chart);
  m->SetPeriod(3);
  mov->SetFunction(m);
  mov->SetDataSource(src);
  EXPECT_EQ(Values(*mov->XValues()), (std::vector<double>{20, 30, 40, 50, 60}));
  EXPECT_EQ(Values(*mov->YValues()), (std::vector<double>{1, 2, 3, 4, 5}));
}

// The sum of the sources' values at one index.
class TSum : public TKivFunction {
 public:
  using TKivFunction::TKivFunction;
  double CalculateMany(const std::vector<TChartSeries*>& sources, int index) override {
    double sum = 0;
    for (TChartSeries* s : sources)
      if (index < s->Count()) sum += s->YValues()->Value(index);
    return sum;
  }
};

TEST(Functions, PeriodsOfAValueRange) {
  TChart chart;
  auto* src = AddPointSeries(chart);
  auto* dst = AddPointSeries(chart);
  for (double x : {0.0, 1.0, 2.5, 4.0, 4.5, 9.0}) src->AddXY(x, x);
  auto* f = new TAverage(&chart);
  f->SetPeriodStyle(psRange);
  f->SetPeriod(3);
  dst->SetFunction(f);
  dst->SetDataSource(src);
  // Periods start at 0 (0, 1, 2.5), 4 (4, 4.5) and 9 (9); each result at the
  // middle of its start and its end less a thousandth of the period.
  EXPECT_TRUE(SameValues(*dst->YValues(), {3.5 / 3, 4.25, 9}));
  EXPECT_TRUE(SameValues(*dst->XValues(), {(0 + 2.997) / 2, (4 + 6.997) / 2, (9 + 11.997) / 2}));
}

TEST(Functions, AResultOverAllPointsLiesInTheMiddleOrAtBothEnds) {
  TChart chart;
  auto* src = AddPointSeries(chart);
  auto* dst = AddPointSeries(chart);
  for (int i = 0; i < 5; ++i) src->AddXY(10 + i, i);
  dst->SetSingleResult(false);
  dst->SetFunction(new TAverage(&chart));
  dst->SetDataSource(src);
  EXPECT_EQ(Values(*dst->XValues()), (std::vector<double>{10, 14}));
  EXPECT_EQ(Values(*dst->YValues()), (std::vector<double>{2, 2}));
}

TEST(Functions, AMovingWindowLongerThanTheSourceAddsNothing) {
  TChart chart;
  auto* src = AddPointSeries(chart);
  auto* dst = AddPointSeries(chart);
  for (int i = 0; i < 3; ++i) src->AddXY(i, i);
  auto* m = new TMovingAverage(&chart);
  m->SetPeriod(5);
  dst->SetFunction(m);
  dst->SetDataSource(src);
  EXPECT_EQ(dst->Count(), 0);
  m->SetPeriod(0);  // a window of no points counts as one point
  EXPECT_EQ(Values(*dst->YValues()), (std::vector<double>{0, 1, 2}));
}

TEST(Functions, SettingsThatDoNotChangeDoNotRecalculate) {
  TChart chart;
  auto* src = AddPointSeries(chart);
  auto* dst = AddPointSeries(chart);
  for (int i = 0; i < 6; ++i) src->AddXY(i, i);
  auto* f = new TAverage(&chart);
  f->SetPeriod(2);
  dst->SetFunction(f);
  dst->SetDataSource(src);
  int clears = 0;
  dst->OnClearValues = [&](TChartSeries&) { ++clears; };
  f->SetPeriod(2);
  f->SetPeriodAlign(paCenter);
  f->SetPeriodStyle(psNumPoints);
  EXPECT_EQ(clears, 0);
  f->SetPeriodAlign(paLast);
  EXPECT_EQ(clears, 1);
  // While updating nothing recalculates; the end of the update does once.
  f->BeginUpdate();
  f->SetPeriod(3);
  f->SetPeriodAlign(paFirst);
  EXPECT_EQ(clears, 1);
  f->EndUpdate();
  EXPECT_EQ(clears, 2);
  EXPECT_EQ(Values(*dst->XValues()), (std::vector<double>{0, 3}));
}

TEST(Functions, SeveralSourcesCombineIndexByIndexAlongTheLongest) {
  TChart chart;
  auto* a = AddPointSeries(chart);
  auto* b = AddPointSeries(chart);
  auto* dst = AddPointSeries(chart);
  for (int i = 0; i < 3; ++i) a->AddXY(i, 1);
  for (int i = 0; i < 4; ++i) b->AddXY(i * 10, 2, "p" + std::to_string(i));
  dst->SetFunction(new TSum(&chart));
  dst->AddDataSource(*a);
  dst->AddDataSource(*b);
  dst->CheckDatasource();
  EXPECT_EQ(Values(*dst->XValues()), (std::vector<double>{0, 10, 20, 30}));
  EXPECT_EQ(Values(*dst->YValues()), (std::vector<double>{3, 3, 3, 2}));
  EXPECT_EQ(dst->Labels().GetLabel(3), "p3");
  // The result follows a change of a source.
  a->YValues()->SetValue(0, 5);
  EXPECT_EQ(dst->YValues()->Value(0), 7);
}

TEST(Functions, AssignAndParentSeries) {
  TChart chart;
  auto* s = AddPointSeries(chart);
  TAverage f(nullptr), g(nullptr);
  f.SetPeriod(4);
  f.SetPeriodAlign(paLast);
  f.SetPeriodStyle(psRange);
  g.Assign(f);
  EXPECT_EQ(g.Period(), 4);
  EXPECT_EQ(g.PeriodAlign(), paLast);
  EXPECT_EQ(g.PeriodStyle(), psRange);
  EXPECT_EQ(g.EditorClassName(), "TKivFunctionEditor");
  auto* h = new TAverage(&chart);
  h->SetParentComponent(s);  // the stream re-attaches a function to its series this way
  EXPECT_EQ(s->FunctionType(), h);
  EXPECT_EQ(h->GetParentComponent(), s);
  delete h;
  EXPECT_EQ(s->FunctionType(), nullptr);
}

}  // namespace
}  // namespace chart

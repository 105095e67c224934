// Covers chart/series/SeriesData.cpp: points with colours and labels in step,
// linked series, the visible range and the axes a series draws against.
#include <gtest/gtest.h>

#include <vector>

#include "chart/ChartControl.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/core/KivConst.h"
#include "chart/functions/Functions.h"
#include "chart/series/SeriesMarks.h"
#include "chart/testing/ChartProbes.h"
#include "chart/testing/RecordingHost.h"
#include "chart/testing/TestPointSeries.h"
#include "platform/classlib/ClassRegistry.h"
#include "testing/TestSupport.h"

namespace chart {
namespace {

using orvel::testing::Raises;
using testing::TTestPointSeries;
using testing::Values;

TEST(SeriesData, AddXYKeepsXInOrderAndEverythingInStep) {
  TChart chart;
  auto* s = new TTestPointSeries(&chart);
  s->SetParentChart(&chart);
  s->AddXY(5, 50, "five");
  s->AddXY(3, 30, "", clRed);
  s->AddXY(4, 40);
  EXPECT_EQ(Values(*s->XValues()), (std::vector<double>{3, 4, 5}));
  EXPECT_EQ(Values(*s->YValues()), (std::vector<double>{30, 40, 50}));
  EXPECT_EQ(s->Labels().GetLabel(2), "five");
  EXPECT_EQ(s->StoredColor(0), clRed);
  EXPECT_EQ(s->StoredColor(1), clDefault);
  EXPECT_EQ(s->ValueColor(1), s->SeriesColor());
  s->OnBeforeAdd = [](TChartSeries&) { return false; };
  EXPECT_EQ(s->AddXY(1, 1), -1);
  EXPECT_EQ(s->Count(), 3);
  s->OnBeforeAdd = nullptr;
  const int n = s->AddNullXY(6, 0);
  EXPECT_TRUE(s->IsNull(n));
  EXPECT_EQ(s->YValues()->Value(n), 0);
  s->Delete(0);
  EXPECT_EQ(s->Labels().GetLabel(1), "five");
  EXPECT_EQ(s->StoredColor(0), clDefault);
}

TEST(SeriesData, TheGalleryLookColoursEachSeriesByItsPlace) {
  TChart chart;
  auto* first = new TTestPointSeries(&chart);
  first->SetParentChart(&chart);
  auto* second = new TTestPointSeries(&chart);
  second->SetParentChart(&chart);
  first->Marks()->SetVisible(true);
  first->SetColorEachPoint(true);
  first->PrepareForGallery(true);
  second->PrepareForGallery(true);
  EXPECT_EQ(first->SeriesColor(), GetDefaultColor(0));
  EXPECT_EQ(second->SeriesColor(), GetDefaultColor(1));
  EXPECT_FALSE(first->Marks()->Visible());
  EXPECT_EQ(first->Marks()->DrawEvery(), 2);
  EXPECT_FALSE(first->ColorEachPoint());
  second->PrepareForGallery(false);
  EXPECT_EQ(second->SeriesColor(), clSilver);
}

TEST(SeriesData, DeleteChecksBothEnds) {
  TChart chart;
  auto* s = new TTestPointSeries(&chart);
  s->SetParentChart(&chart);
  for (int i = 0; i < 3; ++i) s->Add(i);
  EXPECT_TRUE(Raises<ChartException>([&] { s->Delete(3); }, "Series Delete: ValueIndex 3 out of bounds (0 to 2)."));
  EXPECT_TRUE(Raises<ChartException>([&] { s->Delete(-1); }, "Series Delete: ValueIndex -1 out of bounds (0 to 2)."));
  s->DeleteRange(1, 100);
  EXPECT_EQ(s->Count(), 1);
  EXPECT_TRUE(Raises<ChartException>([&] { s->FillSampleValues(-1); }, "FillSampleValues NumValues must be > 0"));
  s->FillSampleValues(0);
  EXPECT_EQ(s->Count(), 25);
}

TEST(SeriesData, LinkedSeriesFollowTheirSourceAndCirclesAreRefused) {
  TChart chart;
  auto* a = new TTestPointSeries(&chart);
  auto* b = new TTestPointSeries(&chart);
  auto* c = new TTestPointSeries(&chart);
  for (auto* s : {a, b, c}) s->SetParentChart(&chart);
  a->AddXY(0, 1);
  b->SetDataSource(a);
  c->SetDataSource(b);
  EXPECT_EQ(Values(*b->YValues()), (std::vector<double>{1}));
  a->AddXY(1, 2, "x");
  EXPECT_EQ(Values(*c->YValues()), (std::vector<double>{1, 2}));
  EXPECT_EQ(c->Labels().GetLabel(1), "x");
  a->YValues()->SetValue(0, 9);  // a modify re-copies everything
  EXPECT_EQ(Values(*c->YValues()), (std::vector<double>{9, 2}));
  a->Delete(0);
  EXPECT_EQ(Values(*b->YValues()), (std::vector<double>{2}));
  EXPECT_TRUE(Raises<ChartException>([&] { a->SetDataSource(c); }, "Circular Series dependences are not allowed"));
  EXPECT_TRUE(a->DataSources().empty());
  TTestPointSeries loose;
  EXPECT_TRUE(Raises<ChartException>([&] { loose.SetDataSource(a); }, "No ParentChart to validate DataSource"));
  a->Clear();
  EXPECT_EQ(c->Count(), 0);
}

TEST(SeriesData, VisibleRangeAndAxisBinding) {
  TChart chart;
  chart.SetBounds(600, 400);
  chart.SetView3D(false);
  auto* s = new TTestPointSeries(&chart);
  s->SetParentChart(&chart);
  for (int i = 0; i <= 10; ++i) s->AddXY(i, i);
  chart.BottomAxis()->SetMinMax(2.5, 7.5);
  chart.RenderToBitmap();
  s->CalcFirstLastVisibleIndex();
  EXPECT_EQ(s->FirstValueIndex(), 3);
  EXPECT_EQ(s->LastValueIndex(), 7);
  s->SetDrawBetweenPoints(true);
  s->CalcFirstLastVisibleIndex();
  EXPECT_EQ(s->LastValueIndex(), 8);
  s->SetHorizAxis(aTopAxis);
  EXPECT_EQ(s->GetHorizAxis(), chart.TopAxis());
  s->SetHorizAxis(aBottomAxis);
  EXPECT_EQ(s->GetHorizAxis(), chart.BottomAxis());
  TChartAxis* custom = chart.CustomAxes().Add();
  custom->SetHorizontal(false);
  s->SetCustomVertAxis(custom);
  EXPECT_EQ(s->GetVertAxis(), custom);
  delete custom;  // the series falls back to the left axis
  EXPECT_EQ(s->GetVertAxis(), chart.LeftAxis());
}

TEST(SeriesData, CursorValuesReadTheMousePositionThroughTheSeriesAxes) {
  TChart chart;
  testing::TRecordingHost host;
  chart.SetHost(&host);
  chart.SetBounds(700, 500);
  chart.SetView3D(false);
  auto* s = new TTestPointSeries(&chart);
  s->SetParentChart(&chart);
  s->AddXY(0, 0);
  double x = -1, y = -1;
  chart.BottomAxis()->SetMinMax(0, 10);
  chart.LeftAxis()->SetMinMax(-1, 1);
  chart.RenderToBitmap();
  const TChartAxis& b = *chart.BottomAxis();
  const TChartAxis& l = *chart.LeftAxis();
  host.MousePos = {b.CalcXPosValue(2.5), l.CalcYPosValue(0.5)};
  s->GetCursorValues(x, y);
  EXPECT_NEAR(x, 2.5, 10.0 / b.IAxisSize());
  EXPECT_NEAR(y, 0.5, 2.0 / l.IAxisSize());
  s->SetHorizAxis(aTopAxis);
  chart.TopAxis()->SetMinMax(100, 200);
  chart.RenderToBitmap();
  host.MousePos.X = chart.TopAxis()->CalcXPosValue(150);
  s->GetCursorValues(x, y);
  EXPECT_NEAR(x, 150, 100.0 / chart.TopAxis()->IAxisSize());
  chart.SetHost(nullptr);
  // A series without a chart has neither cursor nor axes.
  TTestPointSeries loose;
  loose.GetCursorValues(x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}

}  // namespace
}  // namespace chart

// Covers chart/series/BarSeries.cpp and chart/series/AreaSeries.cpp: bar widths and the
// multi-bar modes, stacking by sign and by group, 100 % stacks, touching bars,
// shapes, horizontal bars, marks, the click test and sub-styles; area origins
// and stacked areas.
#include <gtest/gtest.h>

#include "chart/series/AreaSeries.h"
#include "chart/series/BarSeries.h"
#include "chart/series/SeriesMarks.h"
#include "chart/testing/RecordedChart.h"

namespace chart {
namespace {

using testing::TRecordedChart;

std::string Box(const TRect& r) {
  return "Rectangle " + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
         std::to_string(r.Bottom);
}

struct BarChart : ::testing::Test {
  TRecordedChart rc;
  TBarSeries* a = nullptr;
  TBarSeries* b = nullptr;
  void SetUp() override {
    rc.Chart.LeftAxis()->SetMinMax(-50, 100);
    a = rc.Add<TBarSeries>();
    b = rc.Add<TBarSeries>();
    a->Marks()->SetVisible(false);
    b->Marks()->SetVisible(false);
    for (int i = 0; i < 4; ++i) {
      a->Add(10 * (i + 1));
      b->Add(5);
    }
  }
  std::vector<std::string> Rects(const TChartSeries& s) const { return rc.Of(s, "Rectangle"); }
};

TEST_F(BarChart, SideBySideBarsSplitTheRoomOfEachPointAroundItsValue) {
  rc.Draw();
  TChartAxis* bottom = rc.Chart.BottomAxis();
  EXPECT_EQ(a->NumBars(), 2);
  EXPECT_EQ(a->BarIndex(), 1);
  EXPECT_EQ(b->BarIndex(), 2);
  EXPECT_EQ(a->MaxBarPoints(), 5);  // four points and the side margins
  std::int32_t w = Round(70 * 0.01 * (bottom->IAxisSize() / 5)) / 2;
  if (w % 2 != 0) ++w;
  EXPECT_EQ(a->BarWidth(), w);
  const std::int32_t x1 = bottom->CalcXPosValue(1);
  EXPECT_EQ(a->CalcXPos(1), x1 - w);
  EXPECT_EQ(b->CalcXPos(1), x1);
  const TChartAxis* left = rc.Chart.LeftAxis();
  const auto rects = Rects(*a);
  ASSERT_EQ(rects.size(), 4u);
  EXPECT_EQ(rects[1].rfind(Box({x1 - w, left->CalcYPosValue(20), x1 + 1, left->CalcYPosValue(0)}), 0), 0u);
}

TEST_F(BarChart, StacksSumBySignAndStayApartByGroup) {
  a->SetMultiBar(mbStacked);
  EXPECT_EQ(b->MultiBar(), mbStacked);
  b->SetYValue(2, -15);
  rc.Draw();
  const TChartAxis* left = rc.Chart.LeftAxis();
  EXPECT_EQ(a->NumBars(), 1);
  EXPECT_EQ(b->CalcXPos(0), a->CalcXPos(0));
  EXPECT_EQ(b->CalcYPos(1), left->CalcYPosValue(25));
  EXPECT_EQ(b->OriginPos(1), left->CalcYPosValue(20));
  // A negative value stacks on the negative sum (none below it): from the origin down.
  EXPECT_EQ(b->OriginPos(2), left->CalcYPosValue(0));
  EXPECT_EQ(b->CalcYPos(2), left->CalcYPosValue(-15));
  EXPECT_EQ(b->MaxYValue(), 45);
  b->SetStackGroup(1);
  rc.Draw();
  EXPECT_EQ(a->NumBars(), 2);
  EXPECT_EQ(b->BarIndex(), 2);
  EXPECT_NE(b->CalcXPos(0), a->CalcXPos(0));
  EXPECT_EQ(b->OriginPos(1), left->CalcYPosValue(0));
}

TEST_F(BarChart, HundredPercentStacksFillTheAxisAndZeroSumsStayAtItsEnd) {
  a->SetMultiBar(mbStacked100);
  a->SetYValue(3, 0);
  b->SetYValue(3, 0);
  rc.Draw();
  const TChartAxis* left = rc.Chart.LeftAxis();
  EXPECT_EQ(b->MaxYValue(), 100);
  EXPECT_EQ(b->CalcYPos(0), left->CalcYPosValue(100));
  EXPECT_EQ(a->CalcYPos(0), left->CalcYPosValue(10 * 100.0 / 15));
  EXPECT_EQ(b->CalcYPos(3), left->IEndPos());
  EXPECT_EQ(b->OriginPos(3), left->IEndPos());
}

TEST_F(BarChart, TouchingBarsEndAtTheirNeighbourAndTheLastTakesItsOwnWidth) {
  b->SetActive(false);
  a->SetBarWidthPercent(100);
  rc.Draw();
  const auto rects = Rects(*a);
  ASSERT_EQ(rects.size(), 4u);
  const std::int32_t top = rc.Chart.LeftAxis()->CalcYPosValue(10), bottom = rc.Chart.LeftAxis()->CalcYPosValue(0);
  EXPECT_EQ(rects[0].rfind(Box({a->CalcXPos(0), top, a->CalcXPos(1), bottom}), 0), 0u);
  const std::int32_t last = a->CalcXPos(3);
  EXPECT_EQ(rects[3].rfind(Box({last, rc.Chart.LeftAxis()->CalcYPosValue(40), last + a->BarWidth() + 1, bottom}), 0),
            0u);
}

TEST_F(BarChart, ModesAlongTheWholeAxisAndStackedOnItself) {
  a->SetMultiBar(mbSideAll);
  rc.Draw();
  EXPECT_EQ(b->PrecedingPoints(), 4);
  EXPECT_EQ(b->MaxXValue(), 7);
  EXPECT_EQ(b->CalcXPos(0), rc.Chart.BottomAxis()->CalcXPosValue(4) - b->BarWidth() / 2);
  a->SetMultiBar(mbSelfStack);
  EXPECT_FALSE(a->CalcVisiblePoints());
  EXPECT_EQ(a->MaxYValue(), 100);
  EXPECT_EQ(a->PointOrigin(2, false), 30);
  EXPECT_EQ(b->MinXValue(), 1);  // its place in the chart
}

TEST_F(BarChart, ClickHitsInsideTheBarOnly) {
  rc.Draw();
  const std::int32_t x = a->CalcXPos(2) + 1;
  const std::int32_t y = (a->CalcYPos(2) + a->OriginPos(2)) / 2;
  EXPECT_EQ(a->Clicked(x, y), 2);
  EXPECT_EQ(a->Clicked(x, a->CalcYPos(2) - 3), -1);
  EXPECT_EQ(b->Clicked(x, y), -1);
  a->SetBarStyle(bsPyramid);
  // Beside the apex of the triangle.
  EXPECT_EQ(a->Clicked(a->CalcXPos(2) + 1, a->CalcYPos(2) + 2), -1);
  EXPECT_EQ(a->Clicked(a->CalcXPos(2) + a->BarWidth() / 2, a->OriginPos(2) - 2), 2);
}

TEST_F(BarChart, ShapesAndPenlessBars) {
  a->SetBarStyle(bsPyramid);
  a->SetColorEachPoint(false);
  rc.Draw();
  EXPECT_EQ(rc.Of(*a, "Polygon").size(), 4u);
  a->SetBarStyle(bsEllipse);
  rc.Draw();
  EXPECT_EQ(rc.Of(*a, "Ellipse").size(), 4u);
  a->SetBarStyle(bsRectangle);
  a->BarPen()->SetVisible(false);
  rc.Draw();
  const std::int32_t x = a->CalcXPos(0);
  EXPECT_EQ(Rects(*a)[0].rfind(Box({x, rc.Chart.LeftAxis()->CalcYPosValue(10), x + a->BarWidth() + 2,
                                    rc.Chart.LeftAxis()->CalcYPosValue(0) + 1}),
                               0),
            0u);
}

TEST(BarSeries3D, BarsAreBoxesAndTheGroupSharesOneDepth) {
  TRecordedChart rc(true);
  auto* a = rc.Add<TBarSeries>();
  auto* b = rc.Add<TBarSeries>();
  a->Add(3);
  b->Add(4);
  a->SetMultiBar(mbStacked);
  rc.Draw();
  EXPECT_EQ(a->GetZOrder(), b->GetZOrder());
  EXPECT_GE(rc.Of(*a, "Polygon").size(), 2u);
}

TEST(HorizBarSeries, BarsRunFromTheLeftAlongTheVerticalPositions) {
  TRecordedChart rc;
  auto* h = rc.Add<THorizBarSeries>();
  h->Marks()->SetVisible(false);
  h->Add(30);
  h->Add(60);
  rc.Draw();
  EXPECT_EQ(h->XValues()->Name(), "Bar");
  TChartAxis* bottom = rc.Chart.BottomAxis();
  TChartAxis* left = rc.Chart.LeftAxis();
  const auto rects = rc.Of(*h, "Rectangle");
  ASSERT_EQ(rects.size(), 2u);
  const std::int32_t top = left->CalcYPosValue(1) - h->BarWidth() / 2;
  EXPECT_EQ(rects[1].rfind(Box({bottom->CalcXPosValue(0), top, bottom->CalcXPosValue(60), top + h->BarWidth() + 2}), 0),
            0u);
  EXPECT_EQ(h->Clicked(bottom->CalcXPosValue(30), top + 2), 1);
}

TEST(BarMarks, StandAboveTheBarCentre) {
  TRecordedChart rc;
  rc.Chart.LeftAxis()->SetMinMax(0, 100);
  auto* a = rc.Add<TBarSeries>();
  a->Add(50);
  rc.Draw();
  TSeriesMarkPosition* p = a->Marks()->Positions().Position(0);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->ArrowTo.X, a->CalcXPos(0) + a->BarWidth() / 2);
  EXPECT_EQ(p->ArrowTo.Y, a->CalcYPos(0) - a->Marks()->ArrowLength());
  std::int32_t top = 0, bottom = 0;
  a->CalcVerticalMargins(top, bottom);
  EXPECT_GT(top, a->Marks()->ArrowLength());
}

TEST(BarGallery, SubStylesWithTheStackingModes) {
  TBarSeries s;
  std::vector<std::string> names;
  s.ListSubStyles([&](const std::string& n) { names.push_back(n); });
  EXPECT_EQ(names, (std::vector<std::string>{"Normal", "Colors", "Pyramid", "Ellipse", "Inv. Pyramid", "Gradient",
                                             "Stack", "Stack 100%", "Self Stacked", "Sides", "Side All"}));
  s.ApplySubStyle(4);
  EXPECT_EQ(s.BarStyle(), bsInvPyramid);
  s.ApplySubStyle(8);
  EXPECT_EQ(s.MultiBar(), mbSelfStack);
}

// --- areas ------------------------------------------------------------------------

TEST(AreaSeries, OriginWidensTheRangeAndStripsReachIt) {
  TRecordedChart rc;
  auto* area = rc.Add<TAreaSeries>();
  area->AddXY(1, 30);
  area->AddXY(2, 50);
  EXPECT_EQ(area->MinYValue(), 30);
  area->SetUseYOrigin(true);
  area->SetYOrigin(10);
  EXPECT_EQ(area->MinYValue(), 10);
  rc.Draw();
  const std::int32_t origin = rc.Chart.LeftAxis()->CalcYPosValue(10);
  EXPECT_EQ(area->GetOriginPos(0), origin);
  const auto polys = rc.Of(*area, "Polygon");
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_NE(polys[0].find(" " + testing::Pt(area->CalcXPos(1), origin) + " "), std::string::npos);
  // The top edge in the line pen.
  EXPECT_EQ(rc.Lines(*area).size(), 1u);
}

TEST(AreaSeries, MultiAreaIsAViewOfStacked) {
  TAreaSeries area;
  area.SetStacked(cssOverlap);
  EXPECT_EQ(area.MultiArea(), maNone);
  area.SetMultiArea(maNone);
  EXPECT_EQ(area.Stacked(), cssOverlap);
  area.SetMultiArea(maStacked100);
  EXPECT_EQ(area.Stacked(), cssStack100);
  std::vector<std::string> names;
  area.ListSubStyles([&](const std::string& n) { names.push_back(n); });
  EXPECT_EQ(names.size(), 10u);
  EXPECT_EQ(names[6], "Stack");
}

TEST(AreaSeries, TwoHundredPercentAreasFillTheHeight) {
  TRecordedChart rc;
  auto* a = rc.Add<TAreaSeries>();
  auto* b = rc.Add<TAreaSeries>();
  for (int i = 0; i < 3; ++i) {
    a->AddXY(i, 1 + i);
    b->AddXY(i, 3);
  }
  a->SetMultiArea(maStacked100);
  rc.Draw();
  TChartAxis* left = rc.Chart.LeftAxis();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(b->CalcYPos(i), left->CalcYPosValue(100));
  EXPECT_EQ(b->GetOriginPos(1), a->CalcYPos(1));
  EXPECT_EQ(a->GetOriginPos(1), left->CalcYPosValue(0));
}

TEST(HorizAreaSeries, FillsTowardsTheLeftAxis) {
  TRecordedChart rc;
  auto* h = rc.Add<THorizAreaSeries>();
  h->Add(30);
  h->Add(50);
  rc.Draw();
  EXPECT_EQ(h->GetOriginPos(0), rc.Chart.BottomAxis()->IStartPos());
  const auto polys = rc.Of(*h, "Polygon");
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_NE(polys[0].find(testing::Pt(rc.Chart.BottomAxis()->IStartPos(), h->CalcYPos(1))), std::string::npos);
  EXPECT_EQ(h->DefaultSampleCount(), 10);
}

}  // namespace
}  // namespace chart

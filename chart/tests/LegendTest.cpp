// Covers chart/Legend.cpp and the legend texts of chart/ChartControl.cpp:
// what the legend lists, its layouts beside, above and below the chart, its
// hit test and check boxes, paging, and the texts handlers may change.
#include <gtest/gtest.h>

#include "chart/ChartControl.h"
#include "chart/core/KivConst.h"
#include "chart/testing/TestPointSeries.h"
#include "testing/TestSupport.h"

namespace chart {
namespace {

using orvel::testing::Raises;
using testing::TTestPointSeries;
using testing::AddPointSeries;

class LegendFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Chart.SetBounds(600, 400);
    Chart.SetView3D(false);
    Series = AddPointSeries(Chart);
    for (int i = 0; i <= 10; ++i) Series->AddXY(i, i * 10);
    Chart.RenderToBitmap();
  }
  TChart Chart;
  TTestPointSeries* Series = nullptr;
};

TEST_F(LegendFixture, ListsValuesOrSeriesAndHitTests) {
  Chart.Legend()->SetAlignment(laRight);
  Chart.RenderToBitmap();
  EXPECT_EQ(Chart.Legend()->ResolvedStyle(), lsValues);
  EXPECT_EQ(Chart.Legend()->NumRows(), 11);
  const TRect lr = Chart.Legend()->ShapeBounds();
  const std::int32_t h = Chart.Legend()->ItemHeight();
  EXPECT_EQ(Chart.Legend()->Clicked(lr.Left + 5, lr.Top + 1 + h * 3 + 2), 3);
  EXPECT_EQ(Chart.Legend()->Clicked(lr.Left - 5, lr.Top + 5), -1);
  EXPECT_LE(Chart.ChartRect().Right, lr.Left);
  auto* second = new TTestPointSeries(&Chart);
  second->SetParentChart(&Chart);
  second->AddXY(0, 1);
  Chart.Legend()->SetCheckBoxes(true);
  Chart.RenderToBitmap();
  EXPECT_EQ(Chart.Legend()->ResolvedStyle(), lsSeries);
  const TRect r2 = Chart.Legend()->ShapeBounds();
  Chart.MouseDown(mbLeft, 0, r2.Left + 8, r2.Top + 1 + Chart.Legend()->ItemHeight() + 4);
  EXPECT_FALSE(second->Active());
  Chart.RenderToBitmap();
  EXPECT_EQ(Chart.Legend()->TotalItems(), 2);  // inactive series stay listed
  EXPECT_TRUE(Raises<LegendException>([&] { Chart.Legend()->SetFirstValue(-1); }, "First Legend Value must be > 0"));
  Chart.Legend()->SetFirstValue(0);
}

TEST(Legend, ATopLegendNarrowerThanOneItemShowsNone) {
  TChart chart;
  chart.SetBounds(60, 300);
  chart.SetView3D(false);
  auto* s = new TTestPointSeries(&chart);
  s->SetParentChart(&chart);
  s->AddXY(0, 1, "a rather long label that cannot fit");
  chart.Legend()->SetAlignment(laTop);
  const TRect before = [&] {
    chart.Legend()->SetVisible(false);
    chart.RenderToBitmap();
    return chart.ChartRect();
  }();
  chart.Legend()->SetVisible(true);
  chart.RenderToBitmap();
  EXPECT_EQ(chart.Legend()->NumCols(), 0);
  EXPECT_EQ(chart.ChartRect(), before);
}

TEST_F(LegendFixture, TextsOfValuesAndSeriesAndTheHandlerThatChangesThem) {
  Series->SetTitle("Close");
  Series->Labels().SetLabel(2, "two\rlines");
  Chart.Legend()->SetTextStyle(ltsRightValue);
  EXPECT_EQ(Chart.Legend()->ItemText(2), std::string("two lines") + LegendColumnSeparator + "20");
  EXPECT_EQ(Chart.LegendValueText(Series, -1), "");
  std::vector<int> indexes;
  Chart.OnGetLegendText = [&](TCustomAxisPanel&, TLegendStyle style, int index, std::string& text) {
    EXPECT_EQ(style, lsValues);
    indexes.push_back(index);
    text = "#" + std::to_string(index);
  };
  EXPECT_EQ(Chart.LegendValueText(Series, 4), "#4");
  Chart.RenderToBitmap();
  EXPECT_EQ(Chart.Legend()->ItemText(7), "#7");
  EXPECT_EQ(indexes.front(), 4);
  // Series styles word an item by the series' title, or its name, or its place.
  auto* second = AddPointSeries(Chart);
  Chart.OnGetLegendText = nullptr;
  EXPECT_EQ(Chart.Legend()->ResolvedStyle(), lsSeries);
  EXPECT_EQ(Chart.Legend()->ItemText(0), "Close");
  EXPECT_EQ(Chart.Legend()->ItemText(1), "Series2");
  // The last values of each series.
  second->AddXY(0, 5);
  Chart.Legend()->SetLegendStyle(lsLastValues);
  Chart.Legend()->SetTextStyle(ltsValue);
  EXPECT_EQ(Chart.Legend()->ItemText(0), "100");
  EXPECT_EQ(Chart.Legend()->ItemText(1), "5");
}

TEST_F(LegendFixture, AValuesLegendListsTheCurrentPage) {
  for (int i = 11; i < 25; ++i) Series->AddXY(i, i);
  Chart.SetMaxPointsPerPage(10);
  Chart.SetPage(2);
  Chart.RenderToBitmap();
  EXPECT_EQ(Chart.Legend()->TotalItems(), 10);
  EXPECT_EQ(Chart.Legend()->LastValue(), 19);
  Chart.Legend()->SetTextStyle(ltsXValue);
  EXPECT_EQ(Chart.Legend()->ItemText(10), "10");
}

TEST_F(LegendFixture, ABottomLegendShowsNoMoreThanItsRows) {
  for (int i = 0; i < 30; ++i) AddPointSeries(Chart)->AddXY(0, i);
  Chart.Legend()->SetAlignment(laBottom);
  Chart.Legend()->SetMaxNumRows(2);
  Chart.RenderToBitmap();
  const TChartLegend& l = *Chart.Legend();
  ASSERT_GT(l.NumCols(), 0);
  EXPECT_EQ(l.NumRows(), 2);
  EXPECT_EQ(l.LastValue(), l.NumCols() * 2 - 1);
  EXPECT_LT(l.NumCols() * 2, l.TotalItems());
  // The chart rectangle gives way above the legend.
  EXPECT_LE(Chart.ChartRect().Bottom, l.ShapeBounds().Top);
  // The hit test splits the box evenly into the columns.
  const TRect r = l.ShapeBounds();
  const std::int32_t colWidth = r.Width() / l.NumCols();
  EXPECT_EQ(l.Clicked(r.Left + colWidth + 2, r.Top + 2 + l.ItemHeight()), l.NumCols() + 1);
  Chart.Legend()->SetInverted(true);
  EXPECT_EQ(l.Clicked(r.Left + 2, r.Top + 2), l.NumCols() - 1);
}

TEST_F(LegendFixture, ACustomPositionedLegendLeavesTheChartRectangle) {
  Chart.Legend()->SetVisible(false);
  Chart.RenderToBitmap();
  const TRect without = Chart.ChartRect();
  Chart.Legend()->SetVisible(true);
  Chart.Legend()->SetLeft(20);
  Chart.Legend()->SetTop(30);
  Chart.RenderToBitmap();
  EXPECT_EQ(Chart.ChartRect(), without);
  EXPECT_EQ(Chart.Legend()->ShapeBounds().Left, 20);
  EXPECT_EQ(Chart.Legend()->ShapeBounds().Top, 30);
  EXPECT_GT(Chart.Legend()->TotalItems(), 0);
}

TEST(Legend, AssignAndSymbolWidth) {
  TChart a, b;
  a.Legend()->SetAlignment(laLeft);
  a.Legend()->SetCheckBoxes(true);
  a.Legend()->SetTopPos(30);
  a.Legend()->SetColorWidth(40);
  a.Legend()->Symbol()->SetWidthUnits(lcsPixels);
  b.Legend()->Assign(*a.Legend());
  EXPECT_EQ(b.Legend()->Alignment(), laLeft);
  EXPECT_TRUE(b.Legend()->CheckBoxes());
  EXPECT_EQ(b.Legend()->TopPos(), 30);
  EXPECT_EQ(b.Legend()->Symbol()->CalcWidth(100, 17), 40);
  b.Legend()->Symbol()->SetWidthUnits(lcsPercent);
  EXPECT_EQ(b.Legend()->Symbol()->CalcWidth(100, 17), 40);
  b.Legend()->Symbol()->SetWidth(25);
  EXPECT_EQ(b.Legend()->Symbol()->CalcWidth(100, 17), 25);
  b.Legend()->Symbol()->SetSquared(true);
  EXPECT_EQ(b.Legend()->Symbol()->CalcWidth(100, 17), 12);
  b.Legend()->Symbol()->SetVisible(false);
  EXPECT_EQ(b.Legend()->Symbol()->CalcWidth(100, 17), 0);
}

}  // namespace
}  // namespace chart

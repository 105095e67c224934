// Covers chart/series/PieSeries.cpp: slice angles, half pies, the "other" slice and
// the legend over it, explode offsets, the click test inside each slice's
// ellipse, rotation, the chart's pie view, drawing and the gallery.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "chart/series/PieSeries.h"
#include "chart/series/SeriesMarks.h"
#include "chart/testing/RecordedChart.h"

namespace chart {
namespace {

using testing::TRecordedChart;
constexpr double Pi = std::numbers::pi;

struct PieChart : ::testing::Test {
  TRecordedChart rc;
  TPieSeries* pie = nullptr;
  void SetUp() override {
    rc.Chart.SetView3D(false);
    pie = rc.Add<TPieSeries>();
    pie->Marks()->SetVisible(false);
    pie->Add(10, "a");
    pie->Add(-30, "b");  // slices take the absolute value
    pie->Add(60, "c");
  }
  // A point at angle a (radians, counter-clockwise) and a fraction of the radii from the centre.
  TPoint At(double a, double fraction) const {
    return {pie->CircleXCenter() + Round(pie->XRadius() * fraction * std::cos(a)),
            pie->CircleYCenter() - Round(pie->YRadius() * fraction * std::sin(a))};
  }
};

TEST_F(PieChart, SliceAnglesFollowTheAbsoluteValues) {
  pie->CalcAngles();
  EXPECT_DOUBLE_EQ(pie->StartAngle(0), 0);
  EXPECT_DOUBLE_EQ(pie->EndAngle(0), 2 * Pi * 0.1);
  EXPECT_DOUBLE_EQ(pie->EndAngle(1), 2 * Pi * 0.4);
  EXPECT_DOUBLE_EQ(pie->EndAngle(2), 2 * Pi);
  EXPECT_DOUBLE_EQ(pie->MiddleAngle(2), (2 * Pi * 0.4 + 2 * Pi) / 2);
  pie->SetAngleSize(180);
  pie->CalcAngles();
  EXPECT_DOUBLE_EQ(pie->EndAngle(1), Pi * 0.4);
  EXPECT_DOUBLE_EQ(pie->EndAngle(2), Pi);
  TPieSeries zeros;
  zeros.Add(0);
  zeros.Add(0);
  zeros.CalcAngles();
  EXPECT_DOUBLE_EQ(zeros.EndAngle(0), 2 * Pi);
  EXPECT_DOUBLE_EQ(zeros.EndAngle(1) - zeros.StartAngle(1), 0);
}

TEST_F(PieChart, SmallValuesGatherIntoTheOtherSlice) {
  pie->Add(2, "d");
  pie->OtherSlice()->SetStyle(poBelowPercent);
  pie->OtherSlice()->SetValue(10);
  rc.Draw();
  ASSERT_EQ(pie->Count(), 5);
  EXPECT_TRUE(pie->Gathered(3));
  EXPECT_TRUE(pie->Gathered(0));  // 10 of 102 is under 10 %
  EXPECT_FALSE(pie->Gathered(1));
  EXPECT_EQ(pie->Labels().GetLabel(4), "Other");
  EXPECT_EQ(pie->YValues()->Value(4), 12);
  EXPECT_EQ(pie->CountLegendItems(), 3);
  EXPECT_EQ(pie->LegendToValueIndex(0), 1);
  EXPECT_EQ(pie->LegendToValueIndex(2), 4);
  // Percentages count the gathered values once.
  EXPECT_EQ(pie->PercentText(4), "11.76 %");
  // The other slice's own legend lists the gathered values.
  pie->OtherSlice()->Legend()->SetVisible(true);
  rc.Draw();
  const auto texts = rc.Of(*pie, "TextOut");
  EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const std::string& t) { return t.find("\"d\"") != std::string::npos; }));
  EXPECT_FALSE(std::any_of(texts.begin(), texts.end(), [](const std::string& t) { return t.find("\"c\"") != std::string::npos; }));
  pie->OtherSlice()->SetLegend(nullptr);
  EXPECT_FALSE(pie->OtherSlice()->HasLegend());
  // Drawing again replaces the gathered point instead of adding another.
  pie->OtherSlice()->SetText("Rest");
  rc.Draw();
  EXPECT_EQ(pie->Count(), 5);
  EXPECT_EQ(pie->Labels().GetLabel(4), "Rest");
  EXPECT_EQ(rc.Of(*pie, "Pie").size(), 3u);
}

TEST_F(PieChart, ClickHitsTheSliceUnderTheMouseAndNothingBesideTheRim) {
  rc.Draw();
  ASSERT_GT(pie->XRadius(), 20);
  EXPECT_EQ(pie->Clicked(At(2 * Pi * 0.05, 0.5).X, At(2 * Pi * 0.05, 0.5).Y), 0);
  EXPECT_EQ(pie->Clicked(At(2 * Pi * 0.7, 0.9).X, At(2 * Pi * 0.7, 0.9).Y), 2);
  // Beyond the rim: within the reach of a distance test on the radii sums, but outside the pie.
  const TPoint outside = At(Pi / 4, 1.3);
  EXPECT_EQ(pie->Clicked(outside.X, outside.Y), -1);
  // An exploded slice is hit where it was moved to.
  pie->SetExplodedSlice(0, 40);
  rc.Draw();
  const TPoint moved = At(2 * Pi * 0.05, 1.25);
  EXPECT_EQ(pie->Clicked(moved.X, moved.Y), 0);
  const TPoint d = pie->ExplodeOffset(0);
  EXPECT_EQ(d.X, Round(pie->XRadius() * 0.4 * std::cos(pie->MiddleAngle(0))));
  EXPECT_EQ(d.Y, Round(pie->YRadius() * 0.4 * std::sin(pie->MiddleAngle(0))));
}

TEST_F(PieChart, RotationIsStoredModulo360AndTurnsTheSlices) {
  pie->SetRotationAngle(370);
  EXPECT_EQ(pie->RotationAngle(), 10);
  pie->SetRotationAngle(90);
  rc.Draw();
  // What lay at 3 o'clock now lies at 12.
  const TPoint top = At(Pi / 2 + 2 * Pi * 0.05, 0.5);
  EXPECT_EQ(pie->Clicked(top.X, top.Y), 0);
}

TEST_F(PieChart, SlicesAreDrawnWithPatternsAndDarkBorders) {
  pie->SetUsePatterns(true);
  pie->SetDarkPen(true);
  rc.Draw();
  const auto pies = rc.Of(*pie, "Pie");
  ASSERT_EQ(pies.size(), 3u);
  // Explicit colours: pen darkened from the slice colour.
  pie->SetValueColor(0, clRed);
  rc.Draw();
  EXPECT_NE(rc.Of(*pie, "Pie")[0].find("pen=00007F/1"), std::string::npos);
  // A visible circle gradient fills the circle under the slices.
  pie->CircleGradient()->SetVisible(true);
  rc.Draw();
  const auto calls = rc.Of(*pie);
  ASSERT_FALSE(calls.empty());
  const TRect r = pie->CircleRect();
  EXPECT_EQ(calls[0], "ClipEllipse " + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," +
                          std::to_string(r.Right) + "," + std::to_string(r.Bottom));
}

TEST_F(PieChart, CircledPiesTakeTheScreensAspect) {
  rc.Draw();
  EXPECT_NE(pie->XRadius(), pie->YRadius());  // the chart rectangle is wider than high
  pie->SetCircled(true);
  rc.Draw();
  const double aspect = TCircledSeries::ScreenAspect();
  EXPECT_GT(aspect, 0);
  EXPECT_NEAR(static_cast<double>(pie->XRadius()) / pie->YRadius(), aspect, 2.0 / pie->YRadius());
  pie->SetCustomXRadius(30);
  rc.Draw();
  EXPECT_EQ(pie->XRadius(), 30);
  pie->SetCircled(false);
  EXPECT_EQ(pie->CustomXRadius(), 0);
}

TEST(PieView, TheChartShowsThePieFromAboveWhileItIsOnIt) {
  TChart chart;
  chart.View3DOptions()->SetElevation(345);
  {
    auto* pie = new TPieSeries(&chart);
    pie->SetParentChart(&chart);
    EXPECT_FALSE(chart.View3DOptions()->Orthogonal());
    EXPECT_EQ(chart.View3DOptions()->Elevation(), 315);
    pie->SetActive(false);
    EXPECT_EQ(chart.View3DOptions()->Elevation(), 345);
    pie->SetActive(true);
    EXPECT_EQ(chart.View3DOptions()->Elevation(), 315);
    delete pie;
  }
  EXPECT_TRUE(chart.View3DOptions()->Orthogonal());
  EXPECT_EQ(chart.View3DOptions()->Elevation(), 345);
}

TEST(PieSeries3D, SlicesAreSolids) {
  TRecordedChart rc(true);
  auto* pie = rc.Add<TPieSeries>();
  pie->Add(1);
  pie->Add(2);
  rc.Draw();
  EXPECT_GT(rc.Of(*pie, "Polygon").size(), 2u);
  EXPECT_TRUE(rc.Of(*pie, "Pie").empty());
}

TEST(PieGallery, SamplesAndSubStyles) {
  TPieSeries pie;
  pie.FillSampleValues(0);
  ASSERT_EQ(pie.Count(), 8);
  EXPECT_EQ(pie.Labels().GetLabel(0), "Cars");
  EXPECT_EQ(pie.Labels().GetLabel(7), "Chairs");
  for (int i = 0; i < 8; ++i) {
    EXPECT_GE(pie.YValues()->Value(i), 1);
    EXPECT_LE(pie.YValues()->Value(i), 1000);
  }
  std::vector<std::string> names;
  pie.ListSubStyles([&](const std::string& n) { names.push_back(n); });
  EXPECT_EQ(names, (std::vector<std::string>{"Normal", "Patterns", "Exploded", "Shadow", "Marks", "Semi Pie",
                                             "No Border", "Dark Border"}));
  pie.ApplySubStyle(4);
  ASSERT_EQ(pie.Count(), 2);
  EXPECT_EQ(pie.Labels().GetLabel(1), "B");
  pie.SetExplodedSlice(5, 20);
  EXPECT_EQ(pie.ExplodedSliceCount(), 6);
  pie.Clear();
  EXPECT_EQ(pie.ExplodedSliceCount(), 0);
  EXPECT_TRUE(pie.ColorEachPoint());
  EXPECT_FALSE(pie.UseAxis());
}

TEST(PieGallery, TheGallerysTwoAndThreeDimensionsKeepThePieRoundOrSlanted) {
  TRecordedChart rc;
  auto* pie = rc.Add<TPieSeries>();
  pie->SetChartView3D(false);
  EXPECT_FALSE(rc.Chart.View3D());
  EXPECT_TRUE(pie->Circled());
  pie->SetChartView3D(true);
  EXPECT_TRUE(rc.Chart.View3D());
  EXPECT_FALSE(pie->Circled());
  const TView3DOptions& o = *rc.Chart.View3DOptions();
  EXPECT_FALSE(o.Orthogonal());
  EXPECT_EQ(o.Rotation(), 0);
  EXPECT_EQ(o.Elevation(), 305);
}

}  // namespace
}  // namespace chart

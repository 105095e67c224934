// Covers chart/AxisRange.cpp and the label texts of chart/AxisLabels.cpp: an
// axis' range checks and their texts, its conversions inside a chart, pixel
// spans far beyond the screen, scrolling, label texts through the number and
// date formats, and the label loop's ends.
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

TEST(ChartAxis, RangeChecksAndTheirTexts) {
  TChart chart;
  TChartAxis& a = *chart.LeftAxis();
  a.SetMinMax(5, 1);
  EXPECT_EQ(a.Minimum(), 1);
  EXPECT_EQ(a.Maximum(), 5);
  EXPECT_FALSE(a.Automatic() || a.AutomaticMinimum() || a.AutomaticMaximum());
  a.SetMinMax(3, 3);
  EXPECT_DOUBLE_EQ(a.Maximum(), 3 + 1e-10);
  a.SetMinMax(1e7, 1e7);
  EXPECT_GT(a.Maximum(), a.Minimum());  // the smallest range survives large values
  a.SetMinMax(0, 10);
  EXPECT_TRUE(Raises<AxisException>([&] { a.SetMinimum(11); }, "Axis Minimum Value must be <= Maximum"));
  EXPECT_TRUE(Raises<AxisException>([&] { a.SetMaximum(-1); }, "Axis Maximum Value must be >= Minimum"));
  EXPECT_TRUE(Raises<AxisException>([&] { a.SetIncrement(-1); }, "Axis increment must be >= 0"));
  EXPECT_TRUE(Raises<AxisException>([&] { a.SetLabelsSeparation(-1); }, "Labels Separation % must be greater than 0"));
  EXPECT_TRUE(Raises<AxisException>([&] { a.SetLogarithmicBase(1); }, "Axis Logarithmic Base should be >= 2"));
  a.SetMinMax(-5, 10);
  EXPECT_TRUE(Raises<AxisException>([&] { a.SetLogarithmic(true); }, "Logarithmic Axis Min and Max values should be >= 0"));
  EXPECT_FALSE(a.Logarithmic());
  auto* s = new TTestPointSeries(&chart);
  s->SetParentChart(&chart);
  s->XValues()->SetDateTime(true);
  s->AddXY(40000, 1);
  EXPECT_TRUE(Raises<AxisException>([&] { chart.BottomAxis()->SetLogarithmic(true); }, "DateTime Axis cannot be Logarithmic"));
  a.SetLabelsSeparation(0);
  EXPECT_EQ(a.LabelsSeparation(), 0);
  EXPECT_EQ(chart.BottomAxis()->LabelValue(-1), "");  // date-time axes label negative values with nothing
}

TEST(ChartAxis, ScrollWithLimits) {
  TChart chart;
  auto* s = new TTestPointSeries(&chart);
  s->SetParentChart(&chart);
  for (int i = 0; i <= 10; ++i) s->AddXY(i, i);
  TChartAxis& b = *chart.BottomAxis();
  b.SetMinMax(0, 10);
  b.Scroll(5, true);  // already showing the data maximum
  EXPECT_EQ(b.Maximum(), 10);
  b.Scroll(5, false);
  EXPECT_EQ(b.Minimum(), 5);
  EXPECT_EQ(b.Maximum(), 15);
}

TEST(ChartAxis, ValueLabelsKeepTheBottomEndOfANegativeRange) {
  TChart chart;
  chart.SetBounds(400, 600);
  chart.SetView3D(false);
  auto* s = new TTestPointSeries(&chart);
  s->SetParentChart(&chart);
  s->AddXY(0, -100);
  s->AddXY(1, 0);
  chart.LeftAxis()->SetMinMax(-100, 0);
  chart.LeftAxis()->SetIncrement(10);
  chart.RenderToBitmap();
  const auto& ticks = chart.LeftAxis()->Tick();
  ASSERT_EQ(ticks.size(), 11u);
  EXPECT_EQ(ticks.front(), chart.LeftAxis()->CalcPosValue(0));
  EXPECT_EQ(ticks.back(), chart.LeftAxis()->CalcPosValue(-100));
  chart.LeftAxis()->SetMinMax(0, 100);
  chart.RenderToBitmap();
  EXPECT_EQ(chart.LeftAxis()->Tick().size(), 11u);
}

// The conversions of an axis inside a chart: a horizontal axis from 0 to 10
// over pixels 100..600 and a vertical one over 50..450.
TEST(ChartAxis, ConversionsInsideAChart) {
  TChart chart;
  chart.SetBounds(700, 500);
  chart.SetView3D(false);
  chart.SetChartRect({100, 50, 600, 450});
  TChartAxis& b = *chart.BottomAxis();
  TChartAxis& l = *chart.LeftAxis();
  b.SetMinMax(0, 10);
  l.SetMinMax(0, 10);
  for (TChartAxis* a : {&b, &l}) {
    a->AdjustMaxMin();
    a->InternalCalcPositions();
  }
  EXPECT_EQ(b.CalcPosValue(5), 350);
  EXPECT_EQ(b.CalcPosValue(2), 200);
  EXPECT_DOUBLE_EQ(b.CalcPosPoint(350), 5);
  EXPECT_EQ(l.CalcPosValue(0), 450);
  EXPECT_EQ(l.CalcPosValue(10), 50);
  EXPECT_DOUBLE_EQ(l.CalcPosPoint(250), 5);
  b.SetInverted(true);
  EXPECT_EQ(b.CalcPosValue(5), 350);
  EXPECT_EQ(b.CalcPosValue(2), 500);
  EXPECT_EQ(b.CalcSizeValue(2), 100);
  // A value far beyond the range stops at the pixel limit.
  EXPECT_EQ(b.CalcPosValue(-1e300), AxisPixelLimit);
  // A custom axis over 78..100 % of the height.
  TChartAxis* custom = chart.CustomAxes().Add();
  custom->SetHorizontal(false);
  custom->SetStartPosition(78);
  custom->SetEndPosition(100);
  custom->InternalCalcPositions();
  EXPECT_EQ(custom->IStartPos(), 50 + Round(400 * 0.78));
  EXPECT_EQ(custom->IEndPos(), 450);
}

// The data range counts the active series on the axis only, and a set end
// stays what it was set to.
TEST(ChartAxis, DataRangeOfTheActiveSeries) {
  TChart chart;
  TTestPointSeries* a = AddPointSeries(chart);
  TTestPointSeries* b = AddPointSeries(chart);
  a->AddXY(1, 10);
  a->AddXY(4, 30);
  b->AddXY(-5, -20);
  b->AddXY(9, 90);
  TChartAxis& bottom = *chart.BottomAxis();
  TChartAxis& left = *chart.LeftAxis();
  double mn = 0, mx = 0;
  bottom.CalcMinMax(mn, mx);
  EXPECT_EQ(mn, -5);
  EXPECT_EQ(mx, 9);
  b->SetActive(false);
  bottom.CalcMinMax(mn, mx);
  EXPECT_EQ(mn, 1);
  EXPECT_EQ(mx, 4);
  left.CalcMinMax(mn, mx);
  EXPECT_EQ(mn, 10);
  EXPECT_EQ(mx, 30);
  // A fixed minimum is kept while the maximum follows the data; the axis'
  // own range is not changed by the question.
  left.SetMinMax(0, 100);
  left.SetAutomaticMaximum(true);
  left.CalcMinMax(mn, mx);
  EXPECT_EQ(mn, 0);
  EXPECT_EQ(mx, 30);
  EXPECT_EQ(left.Maximum(), 100);
}

// Positions far outside the chart and huge offsets are summed in 64 bits and
// stop at the pixel limit instead of wrapping round.
TEST(ChartAxis, FarPositionsAndOffsetsDoNotWrap) {
  TChart chart;
  chart.SetBounds(700, 500);
  chart.SetView3D(false);
  auto* s = AddPointSeries(chart);
  s->AddXY(0, 0);
  s->AddXY(10, 10);
  TChartAxis& b = *chart.BottomAxis();
  b.SetStartPosition(-3e7);
  b.SetEndPosition(3e7);
  b.SetMaximumOffset(2000000000);
  b.SetMinimumOffset(2000000000);
  chart.RenderToBitmap();
  EXPECT_EQ(b.IStartPos(), -AxisPixelLimit);
  EXPECT_EQ(b.IEndPos(), AxisPixelLimit);
  EXPECT_GT(b.IAxisSize(), 0);
  EXPECT_LE(b.IMinimum(), 0);
  EXPECT_GE(b.IMaximum(), 10);
}

TEST(ChartAxis, LabelTextsThroughTheNumberAndDateFormats) {
  TChart chart;
  chart.SetBounds(500, 300);
  auto* s = AddPointSeries(chart);
  s->AddXY(0, 1234.5678);
  s->AddXY(1, -0.5);
  TChartAxis& l = *chart.LeftAxis();
  EXPECT_EQ(l.LabelValue(1234.5678), "1,234.568");  // the default "#,##0.###"
  l.SetAxisValuesFormat("0.0");
  EXPECT_EQ(l.LabelValue(-0.25), "-0.3");
  l.SetAxisValuesFormat("#.0 \"x10\" E+0");
  EXPECT_EQ(l.LabelValue(1234.5678), "1.2 x10 E+3");
  l.SetLabelsMultiLine(true);
  EXPECT_EQ(l.LabelValue(1234.5678), "1.2\rx10\rE+3");
  EXPECT_EQ(TChartAxis::LabelLineCount(l.LabelValue(1234.5678)), 3);
  // A handler may change any label.
  chart.OnGetAxisLabel = [](TChartAxis&, TChartSeries* series, int index, std::string& text) {
    EXPECT_EQ(series, nullptr);
    EXPECT_EQ(index, -1);
    text = "<" + text + ">";
  };
  l.SetLabelsMultiLine(false);
  l.SetAxisValuesFormat("0");
  EXPECT_EQ(l.LabelValue(7), "<7>");
  chart.OnGetAxisLabel = nullptr;

  // Dates: the axis' own format, or by the range the short date or the long time.
  s->XValues()->SetDateTime(true);
  s->Clear();
  s->AddXY(45000, 1);
  s->AddXY(45030, 2);
  TChartAxis& b = *chart.BottomAxis();
  chart.RenderToBitmap();
  ASSERT_TRUE(b.IsDateTime());
  b.SetDateTimeFormat("dd.mm.yyyy");
  EXPECT_EQ(b.LabelValue(45000), "15.03.2023");
  b.SetDateTimeFormat("");
  EXPECT_EQ(b.LabelValue(45000), "3/15/2023");
  b.SetMinMax(45000, 45000.5);
  chart.RenderToBitmap();
  EXPECT_EQ(b.LabelValue(45000.25), "6:00:00 AM");
  EXPECT_EQ(b.LabelValue(-1), "");
}

TEST(ChartAxis, LineCountsOfLabelTexts) {
  EXPECT_EQ(TChartAxis::LabelLineCount(""), 0);
  EXPECT_EQ(TChartAxis::LabelLineCount("a"), 1);
  EXPECT_EQ(TChartAxis::LabelLineCount("a\rb"), 2);
  EXPECT_EQ(TChartAxis::LabelLineCount("a\r"), 1);
  EXPECT_EQ(TChartAxis::LabelLineCount("a\r\r"), 2);
  EXPECT_EQ(TChartAxis::LabelLines("a\r\rb"), (std::vector<std::string>{"a", "", "b"}));
}

TEST(ChartAxis, AutomaticFlagsAndAnglesFollowEachOther) {
  TChart chart;
  TChartAxis& a = *chart.BottomAxis();
  a.SetAutomaticMinimum(false);
  EXPECT_FALSE(a.Automatic());
  a.SetAutomaticMinimum(true);
  EXPECT_TRUE(a.Automatic());  // both ends automatic again
  a.SetAutomatic(false);
  EXPECT_FALSE(a.AutomaticMinimum() || a.AutomaticMaximum());
  a.SetLabelsAngle(450);
  EXPECT_EQ(a.LabelsAngle(), 90);
  a.Title()->SetAngle(-90 + 720);
  EXPECT_EQ(a.Title()->Angle(), 270);
  // The label style follows the series: none without any, texts for labelled points.
  EXPECT_EQ(a.CalcLabelStyle(), talNone);
  auto* s = AddPointSeries(chart);
  s->AddXY(0, 1);
  EXPECT_EQ(a.CalcLabelStyle(), talValue);
  s->AddXY(1, 2, "b");
  EXPECT_EQ(a.CalcLabelStyle(), talText);
  EXPECT_EQ(chart.LeftAxis()->CalcLabelStyle(), talValue);
}

}  // namespace
}  // namespace chart

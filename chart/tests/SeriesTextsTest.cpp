// Covers chart/series/SeriesTexts.cpp: mark and legend texts in every style, and
// the legend symbol a series draws.
#include <gtest/gtest.h>

#include <string>

#include "chart/ChartControl.h"
#include "chart/series/SeriesMarks.h"
#include "chart/testing/RecordingCanvas.h"
#include "chart/testing/TestPointSeries.h"

namespace chart {
namespace {

using testing::TRecordingCanvas;
using testing::TTestPointSeries;

TEST(SeriesTexts, MarkAndLegendTextsInEveryStyle) {
  TChart chart;
  auto* s = new TTestPointSeries(&chart);
  s->SetParentChart(&chart);
  s->AddXY(1, 25, "a");
  s->AddXY(2, 75);
  struct M { TSeriesMarksStyle style; int index; const char* want; } marks[] = {
      {smsValue, 0, "25"}, {smsPercent, 0, "25 %"}, {smsLabel, 0, "a"}, {smsLabel, 1, "75"},
      {smsLabelPercent, 0, "a 25 %"}, {smsLabelValue, 0, "a 25"}, {smsPercentTotal, 1, "75 % of 100"},
      {smsLabelPercentTotal, 0, "a 25 % of 100"}, {smsXValue, 1, "2"}, {smsXY, 1, "2 75"}};
  for (const M& m : marks) {
    s->Marks()->SetStyle(m.style);
    EXPECT_EQ(s->GetMarkText(m.index), m.want) << int(m.style);
  }
  s->Marks()->SetMultiLine(true);
  s->Marks()->SetStyle(smsLabelValue);
  EXPECT_EQ(s->GetMarkText(0), "a\r25");
  const std::string sep(1, LegendColumnSeparator);
  struct L { TLegendTextStyle style; int index; std::string want; } legend[] = {
      {ltsPlain, 0, "a"}, {ltsLeftValue, 0, "25" + sep + "a"}, {ltsRightValue, 0, "a" + sep + "25"},
      {ltsRightValue, 1, "75"}, {ltsLeftPercent, 0, "25 %" + sep + "a"}, {ltsXValue, 1, "2"},
      {ltsValue, 1, "75"}, {ltsPercent, 1, "75 %"}, {ltsXAndValue, 1, "2" + sep + "75"},
      {ltsXAndPercent, 0, "1" + sep + "25 %"}};
  for (const L& l : legend) EXPECT_EQ(s->LegendString(l.index, l.style), l.want) << int(l.style);
  TTestPointSeries zeros;
  zeros.Add(0);
  zeros.Marks()->SetStyle(smsPercent);
  EXPECT_EQ(zeros.GetMarkText(0), "100 %");
}

TEST(SeriesTexts, LegendMarksTotalsOnTwoLinesAndDates) {
  TChart chart;
  auto* s = new TTestPointSeries(&chart);
  s->SetParentChart(&chart);
  s->AddXY(1, 25, "a");
  s->AddXY(2, 75);
  // A legend-styled mark is the chart's legend text of the point (its column
  // separator included), through the chart's handler.
  chart.Legend()->SetTextStyle(ltsRightValue);
  s->Marks()->SetStyle(smsLegend);
  EXPECT_EQ(s->GetMarkText(0), std::string("a") + LegendColumnSeparator + "25");
  chart.OnGetLegendText = [](TCustomAxisPanel&, TLegendStyle, int index, std::string& text) {
    text += "/" + std::to_string(index);
  };
  EXPECT_EQ(s->GetMarkText(1), "75/1");
  chart.OnGetLegendText = nullptr;
  s->Marks()->SetStyle(smsPercentTotal);
  s->Marks()->SetMultiLine(true);
  EXPECT_EQ(s->GetMarkText(1), "75 %\rof 100");
  // A date-time value list words legend values as dates.
  s->YValues()->SetDateTime(true);
  s->YValues()->SetValue(1, 45000);
  EXPECT_EQ(s->LegendString(1, ltsValue), "3/15/2023");
  s->YValues()->SetValue(1, 45000.25);
  EXPECT_EQ(s->LegendString(1, ltsValue), "3/15/2023 6:00:00 AM");
  // A handler may change any mark text.
  s->Marks()->SetStyle(smsValue);
  s->OnGetMarkText = [](TChartSeries&, int, std::string& text) { text = "[" + text + "]"; };
  EXPECT_EQ(s->GetMarkText(0), "[25]");
}

// The symbol is a rectangle in the point's colour; one in the legend's own
// colour gets an outline so that it stays visible.
TEST(SeriesTexts, LegendSymbols) {
  TChart chart;
  auto canvas = std::make_unique<TRecordingCanvas>();
  TRecordingCanvas& log = *canvas;
  chart.ReplaceCanvas(std::move(canvas));
  auto* s = new TTestPointSeries(&chart);
  s->SetParentChart(&chart);
  s->SetSeriesColor(clRed);
  s->AddXY(0, 1);
  s->AddXY(1, 2, "", clWhite);
  chart.LegendColor = clWhite;
  s->DrawLegend(0, {10, 10, 30, 20});
  ASSERT_EQ(log.Calls("Rectangle").size(), 1u);
  EXPECT_NE(log.Calls("Rectangle")[0].find("brush=0000FF"), std::string::npos) << log.Calls("Rectangle")[0];
  log.Log.clear();
  s->DrawLegend(1, {10, 10, 30, 20});
  ASSERT_EQ(log.Calls("Rectangle").size(), 2u);
  EXPECT_NE(log.Calls("Rectangle")[1].find("pen=000000/1 brush=clear"), std::string::npos) << log.Calls("Rectangle")[1];
  // A whole series that colours each point has no single symbol; a null point none.
  log.Log.clear();
  s->SetColorEachPoint(true);
  s->DrawLegend(-1, {10, 10, 30, 20});
  s->SetValueColor(0, clNullPoint);
  s->DrawLegend(0, {10, 10, 30, 20});
  EXPECT_TRUE(log.Calls("Rectangle").empty());
}

}  // namespace
}  // namespace chart

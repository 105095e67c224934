// Covers chart/series/ErrorSeries.cpp, chart/functions/FinancialFunctions.cpp and
// chart/series/StandardSeries.cpp: whiskers by style and width, error bars below
// their origin, extremes, copies with their own pens; the high-low band;
// ADX (worked by hand, and over flat prices) and RSI; the registered kinds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "chart/core/KivConst.h"
#include "chart/functions/FinancialFunctions.h"
#include "chart/series/CandleSeries.h"
#include "chart/series/ErrorSeries.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/series/PieSeries.h"
#include "chart/series/SeriesRegistry.h"
#include "chart/series/StandardSeries.h"
#include "chart/testing/RecordedChart.h"
#include "chart/tools/ChartEngine.h"
#include "chart/tools/KivTools.h"
#include "testing/TestSupport.h"

namespace chart {
namespace {

using testing::Seg;
using testing::TRecordedChart;

TEST(ErrorSeries, WhiskersAndCapsFollowTheStyleAndWidth) {
  TRecordedChart rc;
  rc.Chart.LeftAxis()->SetMinMax(0, 100);
  auto* e = rc.Add<TErrorSeries>();
  e->SetSeriesColor(clRed);
  EXPECT_EQ(e->ErrorPen()->Color(), clRed);
  e->AddErrorBar(1, 50, 10);
  e->AddErrorBar(2, 60, 0);  // no whisker
  rc.Draw();
  const TRect bar = e->BarBounds();
  (void)bar;
  TChartAxis* left = rc.Chart.LeftAxis();
  const std::int32_t len = left->CalcSizeValue(10);
  const std::int32_t y = left->CalcYPosValue(50);
  const auto lines = rc.Lines(*e);
  ASSERT_EQ(lines.size(), 4u);
  const std::int32_t x = std::stoi(lines[0].substr(0, lines[0].find(',')));
  const std::int32_t w = e->BarWidth() + 1;  // the whisker is as wide as the bar at 100 %
  EXPECT_EQ(lines[0], Seg(x, y, x, y - len));
  EXPECT_EQ(lines[1], Seg(x - w / 2, y - len, x + w / 2, y - len));
  EXPECT_EQ(lines[2], Seg(x, y, x, y + len));
  e->SetErrorWidth(50);
  e->SetErrorStyle(essLeft);
  rc.Draw();
  const auto left50 = rc.Lines(*e);
  ASSERT_EQ(left50.size(), 2u);
  const std::int32_t lenX = rc.Chart.BottomAxis()->CalcSizeValue(10);
  const std::int32_t half = Round(50 * w * 0.01) / 2;
  EXPECT_EQ(left50[0], Seg(x, y, x - lenX, y));
  EXPECT_EQ(left50[1], Seg(x - lenX, y - half, x - lenX, y + half));
  EXPECT_EQ(e->MaxYValue(), 60);
  EXPECT_EQ(e->MinYValue(), 40);
  TErrorSeries empty;
  EXPECT_EQ(empty.MaxYValue(), 0);
}

TEST(ErrorBarSeries, ANegativeValueHasItsWhiskerBelowTheBar) {
  TRecordedChart rc;
  rc.Chart.LeftAxis()->SetMinMax(-100, 100);
  auto* e = rc.Add<TErrorBarSeries>();
  EXPECT_EQ(e->ErrorStyle(), essTop);
  e->ErrorPen()->SetColor(clBlack);
  e->AddErrorBar(1, -40, 10);
  rc.Draw();
  EXPECT_EQ(rc.Of(*e, "Rectangle").size(), 1u);
  TChartAxis* left = rc.Chart.LeftAxis();
  const auto lines = rc.Lines(*e);
  ASSERT_EQ(lines.size(), 2u);
  const std::string& whisker = lines[0];
  EXPECT_NE(whisker.find("," + std::to_string(left->CalcYPosValue(-40) + left->CalcSizeValue(10))), std::string::npos);
  EXPECT_EQ(e->MinYValue(), -50);
  // Copies keep their own pen.
  TErrorBarSeries copy;
  copy.Assign(*e);
  EXPECT_NE(copy.ErrorPen(), e->ErrorPen());
  copy.ErrorPen()->SetWidth(4);
  EXPECT_EQ(e->ErrorPen()->Width(), 1);
  std::vector<std::string> names;
  copy.ListSubStyles([&](const std::string& n) { names.push_back(n); });
  EXPECT_EQ(names, (std::vector<std::string>{"Normal", "Colors", "Pyramid", "Ellipse", "Inv. Pyramid", "Gradient",
                                             "Sides", "Side All"}));
  copy.ApplySubStyle(7);
  EXPECT_EQ(copy.MultiBar(), mbSideAll);
}

TEST(HighLowSeries, FillsBetweenTheLinesWithTheBrushOfItsDirection) {
  TRecordedChart rc;
  auto* hl = rc.Add<THighLowSeries>();
  hl->AddHighLow(1, 50, 30);
  hl->AddHighLow(2, 40, 40);  // equal: the low brush
  hl->AddHighLow(3, 70, 20);
  EXPECT_EQ(hl->MaxYValue(), 70);
  EXPECT_EQ(hl->MinYValue(), 20);
  hl->LowBrush()->SetStyle(bsSolid);
  hl->LowBrush()->SetColor(clYellow);
  rc.Draw();
  // Only the segment into the equal point is filled (the high brush is clear).
  EXPECT_EQ(rc.Of(*hl, "Polygon").size(), 1u);
  // Two segments of two lines each, and the vertical lines of all points but the last.
  EXPECT_EQ(rc.Lines(*hl).size(), 6u);
  EXPECT_FALSE(hl->IsValidSeriesSource(TLineSeries()));
  EXPECT_TRUE(hl->IsValidSeriesSource(THighLowSeries()));
}

// --- functions --------------------------------------------------------------------

struct TFunctionChart {
  TChart Chart;
  TCandleSeries* Bars;
  TLineSeries* Result;
  TFunctionChart() {
    Bars = new TCandleSeries(&Chart);
    Bars->SetParentChart(&Chart);
    Result = new TLineSeries(&Chart);
    Result->SetParentChart(&Chart);
  }
};

TEST(ADXFunction, HandWorkedValuesOfPeriodTwo) {
  TFunctionChart f;
  const double bars[4][4] = {{10, 8, 9, 9}, {12, 9, 11, 11}, {11, 9, 10, 10}, {11.5, 7, 10, 10}};
  for (int i = 0; i < 4; ++i) f.Bars->AddOHLC(i, bars[i][2], bars[i][0], bars[i][1], bars[i][3]);
  auto* adx = new TADXFunction(&f.Chart);
  adx->SetPeriod(2);
  f.Result->SetFunction(adx);
  f.Result->SetDataSource(f.Bars);
  ASSERT_EQ(adx->UpLine()->Count(), 2);
  EXPECT_EQ(adx->UpLine()->XValues()->Value(0), 2);
  EXPECT_DOUBLE_EQ(adx->UpLine()->YValues()->Value(0), 40);
  EXPECT_DOUBLE_EQ(adx->DownLine()->YValues()->Value(0), 0);
  EXPECT_NEAR(adx->UpLine()->YValues()->Value(1), 100.0 / 7, 1e-12);
  EXPECT_NEAR(adx->DownLine()->YValues()->Value(1), 200.0 / 7, 1e-12);
  ASSERT_EQ(f.Result->Count(), 2);
  EXPECT_DOUBLE_EQ(f.Result->YValues()->Value(0), 100);
  EXPECT_NEAR(f.Result->YValues()->Value(1), (100 + 100.0 / 3) / 2, 1e-12);
  EXPECT_EQ(adx->UpLine()->SeriesColor(), clGreen);
  EXPECT_EQ(adx->DownLine()->SeriesColor(), clRed);
  EXPECT_FALSE(adx->UpLine()->ShowInLegend());
  EXPECT_EQ(adx->UpLine()->ParentChart(), &f.Chart);
  // A line series is no source for it.
  TLineSeries line;
  EXPECT_FALSE(f.Result->IsValidSeriesSource(line));
}

TEST(ADXFunction, StartsAfterTwoPeriodsAndStaysFiniteOverFlatPrices) {
  TFunctionChart f;
  for (int i = 0; i < 28; ++i) f.Bars->AddOHLC(i, 5, 5, 5, 5);
  auto* adx = new TADXFunction(&f.Chart);
  f.Result->SetFunction(adx);
  f.Result->SetDataSource(f.Bars);
  ASSERT_EQ(adx->UpLine()->Count(), 14);
  EXPECT_EQ(adx->UpLine()->XValues()->Value(0), 14);
  ASSERT_EQ(f.Result->Count(), 2);
  EXPECT_EQ(f.Result->XValues()->Value(0), 26);
  for (int i = 0; i < f.Result->Count(); ++i) EXPECT_EQ(f.Result->YValues()->Value(i), 0);
  for (int i = 0; i < 14; ++i) EXPECT_EQ(adx->DownLine()->YValues()->Value(i), 0);
  f.Bars->Delete(27);
  f.Result->CheckDatasource();
  EXPECT_EQ(f.Result->Count(), 0);
  EXPECT_EQ(adx->UpLine()->Count(), 0);
  // A period below 2 leaves the lines as they were.
  f.Bars->AddOHLC(27, 5, 6, 4, 5);
  const int before = adx->UpLine()->Count();
  adx->SetPeriod(1);
  EXPECT_EQ(adx->UpLine()->Count(), before);
}

TEST(RSIFunction, RisesToAHundredFallsToZeroAndWeighsUpsAgainstDowns) {
  TFunctionChart f;
  auto* rsi = new TRSIFunction(&f.Chart);
  rsi->SetPeriod(3);
  rsi->SetStyle(rsiClose);
  f.Result->SetFunction(rsi);
  for (double c : {10.0, 11.0, 12.0}) f.Bars->AddOHLC(f.Bars->Count(), c, c, c, c);
  f.Result->SetDataSource(f.Bars);
  ASSERT_EQ(f.Result->Count(), 1);
  EXPECT_EQ(f.Result->YValues()->Value(0), 100);
  f.Bars->Clear();
  for (double c : {12.0, 11.0, 10.0}) f.Bars->AddOHLC(f.Bars->Count(), c, c, c, c);
  f.Result->CheckDatasource();
  EXPECT_EQ(f.Result->YValues()->Value(0), 0);
  f.Bars->Clear();
  for (double c : {10.0, 11.0, 10.5}) f.Bars->AddOHLC(f.Bars->Count(), c, c, c, c);
  f.Result->CheckDatasource();
  EXPECT_NEAR(f.Result->YValues()->Value(0), 100 - 100.0 / 3, 1e-12);
  // Open-close: a bar whose open equals its close counts its close as up.
  rsi->SetStyle(rsiOpenClose);
  EXPECT_EQ(f.Result->YValues()->Value(0), 100);
}

// --- registrations ----------------------------------------------------------------

TEST(Registrations, TheEngineLeavesTheStandardKindsToTheGallery) {
  // The test main registered them as the gallery's start-up does: from a
  // fresh start, the engine's own start-up lists none of them.
  DoneChartEngine();
  InitChartEngine();
  EXPECT_EQ(FindSeriesType(TLineSeries::StaticClassInfo()), nullptr);
  EXPECT_NE(FindSeriesType(TCandleSeries::StaticClassInfo()), nullptr);
  const auto& tools = KivToolTypesList();
  EXPECT_EQ(std::find(tools.begin(), tools.end(), &TDragPointTool::StaticClassInfo()), tools.end());
  RegisterStandardSeries();
  RegisterDragPointTool();
  EXPECT_NE(FindSeriesType(TLineSeries::StaticClassInfo()), nullptr);
  EXPECT_EQ(KivToolTypesList().back(), &TDragPointTool::StaticClassInfo());
  UnregisterStandardSeries();
  UnregisterDragPointTool();
  EXPECT_EQ(FindSeriesType(TPieSeries::StaticClassInfo()), nullptr);
  RegisterStandardSeries();
  RegisterDragPointTool();
}

TEST(Registrations, StandardKindsKeepTheirGalleryOrder) {
  InitChartEngine();
  const TKivSeriesTypes& types = KivSeriesTypesList();
  ASSERT_GE(types.Count(), 16);
  const std::vector<std::string> expected = {"TLineSeries",  "TBarSeries",      "THorizBarSeries",
                                             "TAreaSeries",  "TPointSeries",    "TPieSeries",
                                             "TFastLineSeries", "THorizLineSeries", "THorizAreaSeries"};
  const std::vector<std::string> names = {"Line", "Bar", "Horizontal\rBar", "Area", "Point",
                                          "Pie",  "Fast Line", "Horizontal\rLine", "Horizontal\rArea"};
  // They stand together, in their order, wherever the start-ups put them.
  std::vector<const TKivSeriesType*> standard;
  std::vector<int> at;
  for (int i = 0; i < types.Count(); ++i)
    if (types.Get(i).GalleryPage == "Standard") {
      standard.push_back(&types.Get(i));
      at.push_back(i);
    }
  ASSERT_EQ(standard.size(), 9u);
  for (std::size_t i = 0; i < 9; ++i) {
    EXPECT_EQ(standard[i]->SeriesClass->ClassName(), expected[i]);
    EXPECT_EQ(standard[i]->Description, names[i]);
    EXPECT_EQ(at[i], at[0] + static_cast<int>(i));
  }
  EXPECT_EQ(standard[0]->NumGallerySeries, 2);
  EXPECT_EQ(standard[5]->NumGallerySeries, 1);
  const TKivSeriesType* candle = FindSeriesType(TCandleSeries::StaticClassInfo());
  ASSERT_NE(candle, nullptr);
  EXPECT_EQ(candle->GalleryPage, "Financial");
  const TKivSeriesType* highLow = FindSeriesType(THighLowSeries::StaticClassInfo());
  ASSERT_NE(highLow, nullptr);
  EXPECT_EQ(highLow->Description, "High-Low");
  EXPECT_EQ(highLow->GalleryPage, "Stats");
  // Registering again keeps one entry.
  const int count = types.Count();
  RegisterSeriesType(TLineSeries::StaticClassInfo(), 27, 47, 2);
  EXPECT_EQ(KivSeriesTypesList().Count(), count);
  // Every registered series kind can be made by name and draws its samples.
  TRecordedChart rc;
  for (int i = 0; i < types.Count(); ++i) {
    if (types.Get(i).SeriesClass == nullptr) continue;
    TChartSeries* s = CreateChartSeries(&rc.Chart, rc.Chart, *types.Get(i).SeriesClass);
    s->FillSampleValues(0);
    EXPECT_GT(s->Count(), 0) << types.Get(i).SeriesClass->ClassName();
  }
  rc.Draw();
  DoneChartEngine();
}

}  // namespace
}  // namespace chart

// Covers chart/series/OHLCSeries.cpp and chart/series/CandleSeries.cpp: bars kept aligned,
// extremes over the four prices, sample bars, candle colours and halves, the
// four styles in 2D and 3D, the click test, volume origins, gallery styles;
// the candle chart in the workbench's style over the bundled history; and the
// flat candles drawn in one loop against the road through DrawValue (pixels).
#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

#include "chart/ChartControl.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/series/CandleSeries.h"
#include "chart/testing/PlainChart.h"
#include "chart/testing/RecordedChart.h"
#include "testing/TestSupport.h"

namespace chart {
namespace {

using testing::TRecordedChart;

std::string Box(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b) {
  return "Rectangle " + std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) + "," +
         std::to_string(b);
}

TEST(OHLCSeries, BarsAddedOutOfOrderStayAlignedAndTheRangeSpansAllFourPrices) {
  TCandleSeries s;
  EXPECT_TRUE(s.DateValues()->DateTime());
  EXPECT_EQ(s.DateValues()->Name(), "Date");
  EXPECT_EQ(s.CloseValues()->Name(), "Close");
  EXPECT_EQ(s.AddOHLC(5, 10, 12, 9, 11), 0);
  EXPECT_EQ(s.AddOHLC(3, 20, 25, 1, 21), 0);
  EXPECT_EQ(s.AddCandle(4, 30, 29, 28, 31), 1);  // a high below open and close is kept
  EXPECT_EQ(s.OpenValues()->Value(0), 20);
  EXPECT_EQ(s.HighValues()->Value(1), 29);
  EXPECT_EQ(s.LowValues()->Value(2), 9);
  EXPECT_EQ(s.CloseValues()->Value(2), 11);
  EXPECT_EQ(s.MaxYValue(), 31);
  EXPECT_EQ(s.MinYValue(), 1);
  s.SetCandleStyle(csLine);
  EXPECT_EQ(s.MaxYValue(), 31);
  EXPECT_EQ(s.MinYValue(), 11);
  TVolumeSeries v;
  EXPECT_FALSE(s.IsValidSourceOf(v));
  EXPECT_TRUE(s.IsValidSourceOf(s));
}

TEST(OHLCSeries, SampleBarsHaveTheirHighAndLowOutsideTheBody) {
  TCandleSeries s;
  s.DateValues()->SetDateTime(false);
  s.FillSampleValues(2501);
  ASSERT_EQ(s.Count(), 2501);
  EXPECT_EQ(s.DateValues()->Value(0), 0);
  EXPECT_EQ(s.DateValues()->Value(2500), 2500);
  for (int i = 0; i < s.Count(); ++i) {
    const double o = s.OpenValues()->Value(i), c = s.CloseValues()->Value(i);
    EXPECT_GE(s.HighValues()->Value(i), std::max(o, c)) << i;
    EXPECT_LE(s.LowValues()->Value(i), std::min(o, c)) << i;
  }
  TCandleSeries none;
  none.FillSampleValues(0);
  EXPECT_EQ(none.Count(), 40);
}

TEST(CandleSeries, ColourFollowsTheCloseAgainstTheOpenThenThePreviousClose) {
  TCandleSeries s;
  s.SetSeriesColor(clGray);
  s.AddCandle(0, 10, 12, 8, 10);  // open = close, first: up
  s.AddCandle(1, 10, 12, 8, 11);  // up
  s.AddCandle(2, 11, 12, 8, 9);   // down
  s.AddCandle(3, 9, 12, 8, 9);    // equal, previous close equal: the previous point's own colour
  s.AddCandle(4, 5, 12, 4, 5);    // equal, below the previous close
  s.AddCandle(5, 8, 12, 4, 8);    // equal, above the previous close
  s.AddXY(6, 1, "", clNavy);      // a colour of its own wins
  EXPECT_EQ(s.CandleColor(0), clWhite);
  EXPECT_EQ(s.CandleColor(1), clWhite);
  EXPECT_EQ(s.CandleColor(2), clRed);
  EXPECT_EQ(s.CandleColor(3), clGray);
  EXPECT_EQ(s.CandleColor(4), clRed);
  EXPECT_EQ(s.CandleColor(5), clWhite);
  EXPECT_EQ(s.CandleColor(6), clNavy);
  EXPECT_EQ(s.LegendItemColor(2), clRed);
}

struct CandleChart : ::testing::Test {
  TRecordedChart rc;
  TCandleSeries* s = nullptr;
  void SetUp() override {
    rc.Chart.BottomAxis()->SetMinMax(0, 10);
    rc.Chart.LeftAxis()->SetMinMax(0, 100);
    s = rc.Add<TCandleSeries>();
    s->SetCandleWidth(5);
    s->AddCandle(2, 40, 70, 20, 60);  // up
    s->AddCandle(4, 60, 80, 30, 50);  // down
  }
  std::int32_t Y(double v) const { return rc.Chart.LeftAxis()->CalcYPosValue(v); }
  std::int32_t X(double v) const { return rc.Chart.BottomAxis()->CalcXPosValue(v); }
};

TEST_F(CandleChart, StickDrawsTheWickThenTheBodyInTheCandleColour) {
  rc.Draw();
  const std::int32_t x = X(2);
  EXPECT_EQ(rc.Lines(*s)[0], testing::Seg(x, Y(20), x, Y(70)));
  const auto rects = rc.Of(*s, "Rectangle");
  ASSERT_EQ(rects.size(), 2u);
  // Width 5: two pixels left of the date, three right, and the right edge one further.
  EXPECT_EQ(rects[0], Box(x - 2, Y(40), x + 4, Y(60)) + " pen=000000/1 brush=FFFFFF");
  EXPECT_EQ(rects[1], Box(X(4) - 2, Y(60), X(4) + 4, Y(50)) + " pen=000000/1 brush=0000FF");
  // Without a pen the upper end moves up one pixel.
  s->Pen()->SetVisible(false);
  rc.Draw();
  EXPECT_EQ(rc.Of(*s, "Rectangle")[0].rfind(Box(x - 2, Y(40), x + 4, Y(60) - 1), 0), 0u);
  // An open equal to the close still draws a body, one pixel high.
  s->Pen()->SetVisible(true);
  s->AddCandle(6, 45, 70, 20, 45);
  rc.Draw();
  EXPECT_EQ(rc.Of(*s, "Rectangle")[2].rfind(Box(X(6) - 2, Y(45), X(6) + 4, Y(45) - 1), 0), 0u);
}

TEST_F(CandleChart, BarStyleDrawsTicksBesideTheRange) {
  s->SetCandleStyle(csCandleBar);
  rc.Draw();
  const std::int32_t x = X(2);
  const auto lines = rc.Lines(*s);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], testing::Seg(x, Y(20), x, Y(70)));
  EXPECT_EQ(lines[1], testing::Seg(x, Y(40), x - 3, Y(40)));
  EXPECT_EQ(lines[2], testing::Seg(x, Y(60), x + 4, Y(60)));
  EXPECT_NE(rc.Of(*s, "LineTo")[3].find("pen=0000FF"), std::string::npos);
  s->SetShowOpenTick(false);
  rc.Draw();
  EXPECT_EQ(rc.Lines(*s).size(), 4u);
}

TEST_F(CandleChart, LineStyleJoinsClosesSkippingNullsAndHidesThePointer) {
  s->AddNullXY(6, 0);
  s->AddCandle(8, 50, 60, 40, 45);
  s->SetCandleStyle(csLine);
  EXPECT_FALSE(s->Pointer()->Visible());
  rc.Draw();
  EXPECT_EQ(rc.Lines(*s), (std::vector<std::string>{testing::Seg(X(2), Y(60), X(4), Y(50)),
                                                    testing::Seg(X(6), Y(0), X(8), Y(45))}));
  s->SetCandleStyle(csOpenClose);
  EXPECT_TRUE(s->Pointer()->Visible());
  rc.Draw();
  EXPECT_TRUE(rc.Lines(*s).empty());  // no wicks
}

TEST_F(CandleChart, ClickHitsTheBodyAndTheWick) {
  rc.Draw();
  const std::int32_t x = X(2);
  EXPECT_EQ(s->Clicked(x + 3, (Y(40) + Y(60)) / 2), 0);
  EXPECT_EQ(s->Clicked(x, Y(65)), 0);
  EXPECT_EQ(s->Clicked(x + 4, (Y(40) + Y(60)) / 2), -1);  // the right edge is outside
  EXPECT_EQ(s->Clicked(X(4), Y(75)), 1);
  EXPECT_EQ(s->Clicked(X(3), Y(50)), -1);
  s->SetCandleStyle(csCandleBar);
  EXPECT_EQ(s->Clicked(x - 3, Y(40)), 0);
  EXPECT_EQ(s->Clicked(x + 4, Y(60)), 0);
}

TEST(CandleSeries3D, BodiesAreBoxesWhenDrawn3D) {
  TRecordedChart rc(true);
  auto* s = rc.Add<TCandleSeries>();
  s->AddCandle(1, 40, 70, 20, 60);
  s->AddCandle(2, 60, 80, 30, 50);
  rc.Draw();
  // Flat bodies at the middle depth.
  EXPECT_EQ(rc.Of(*s, "Polygon").size(), 2u);
  s->SetDraw3D(true);
  rc.Draw();
  EXPECT_GE(rc.Of(*s, "Polygon").size(), 4u);  // at least two faces a box
}

TEST(VolumeSeries, LinesRunFromTheAxisEndOrFromTheOrigin) {
  TRecordedChart rc;
  rc.Chart.BottomAxis()->SetMinMax(0, 10);
  rc.Chart.LeftAxis()->SetMinMax(-50, 100);
  auto* v = rc.Add<TVolumeSeries>();
  v->SetSeriesColor(clTeal);
  EXPECT_EQ(v->LinePen()->Color(), clTeal);
  v->AddXY(2, 40);
  v->AddXY(3, -20);
  rc.Draw();
  TChartAxis* left = rc.Chart.LeftAxis();
  EXPECT_EQ(rc.Lines(*v), (std::vector<std::string>{testing::Seg(v->CalcXPos(0), left->IEndPos(), v->CalcXPos(0),
                                                                 v->CalcYPos(0)),
                                                    testing::Seg(v->CalcXPos(1), left->IEndPos(), v->CalcXPos(1),
                                                                 v->CalcYPos(1))}));
  v->SetUseYOrigin(true);
  rc.Draw();
  EXPECT_EQ(rc.Lines(*v)[1], testing::Seg(v->CalcXPos(1), left->CalcYPosValue(0), v->CalcXPos(1), v->CalcYPos(1)));
  v->SetUseYOrigin(false);
  left->SetInverted(true);
  rc.Draw();
  EXPECT_EQ(rc.Lines(*v)[0], testing::Seg(v->CalcXPos(0), left->IStartPos(), v->CalcXPos(0), v->CalcYPos(0)));
  // The pen is set up only when the colour changes.
  EXPECT_EQ(rc.Of(*v, "LineTo").size(), 2u);
  TVolumeSeries sample;
  sample.FillSampleValues(0);
  EXPECT_EQ(sample.Count(), 40);
  for (int i = 0; i < sample.Count(); ++i) EXPECT_LT(sample.YValues()->Value(i), 1000 / 15);
}

TEST(CandleGallery, SubStyles) {
  TCandleSeries s;
  std::vector<std::string> names;
  s.ListSubStyles([&](const std::string& n) { names.push_back(n); });
  EXPECT_EQ(names, (std::vector<std::string>{"Normal", "Bar", "No Open", "No Close", "No Border", "Line"}));
  s.ApplySubStyle(3);
  EXPECT_EQ(s.CandleStyle(), csCandleBar);
  EXPECT_FALSE(s.ShowCloseTick());
  s.ApplySubStyle(4);
  EXPECT_FALSE(s.Pen()->Visible());
  EXPECT_EQ(s.EditorClassName(), "TCandleEditor");
  TVolumeSeries v;
  names.clear();
  v.ListSubStyles([&](const std::string& n) { names.push_back(n); });
  EXPECT_EQ(names, (std::vector<std::string>{"Normal", "Dotted", "Colors", "Origin"}));
  TCandleSeries copy;
  s.SetCandleWidth(9);
  s.SetUpCloseColor(clLime);
  copy.Assign(s);
  EXPECT_EQ(copy.CandleWidth(), 9);
  EXPECT_EQ(copy.UpCloseColor(), clLime);
}

// --- the workbench's candles over the bundled history ------------------------------

struct THistoryBar {
  double Time = 0, Open = 0, High = 0, Low = 0, Close = 0;
};

// The bars of a version-400 history file: 148 bytes of header, then 44 bytes
// a bar (time, open, low, high, close, volume).
std::vector<THistoryBar> ReadHistory(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<THistoryBar> bars;
  std::int32_t version = 0;
  if (bytes.size() < 148) return bars;
  std::memcpy(&version, bytes.data(), 4);
  if (version != 400) return bars;
  for (std::size_t at = 148; at + 44 <= bytes.size(); at += 44) {
    std::int32_t time;
    double open, low, high, close;
    std::memcpy(&time, bytes.data() + at, 4);
    std::memcpy(&open, bytes.data() + at + 4, 8);
    std::memcpy(&low, bytes.data() + at + 12, 8);
    std::memcpy(&high, bytes.data() + at + 20, 8);
    std::memcpy(&close, bytes.data() + at + 28, 8);
    bars.push_back({static_cast<double>(time), open, high, low, close});
  }
  return bars;
}

TEST(CandlePicture, WorkbenchCandlesOverTheSampleHistory) {
  const std::vector<THistoryBar> bars = ReadHistory(ORVEL_SAMPLE_HISTORY);
  ASSERT_GE(bars.size(), 200u);
  TChart chart;
  chart.SetBounds(900, 500);
  chart.SetView3D(false);
  chart.SetColor(clBlack);
  chart.Legend()->SetVisible(false);
  chart.BackWall()->SetTransparent(true);
  auto* s = new TCandleSeries(&chart);
  s->SetParentChart(&chart);
  s->SetVertAxis(aRightAxis);
  s->SetUpCloseColor(clBlack);
  s->SetDownCloseColor(clLime);
  s->Pen()->SetColor(clLime);
  s->SetCandleWidth(5);
  s->DateValues()->SetDateTime(false);
  const std::size_t first = bars.size() - 120;
  for (std::size_t i = first; i < bars.size(); ++i)
    s->AddCandle(static_cast<double>(i), bars[i].Open, bars[i].High, bars[i].Low, bars[i].Close);
  TChartAxis* right = chart.RightAxis();
  for (TChartAxis* a : {right, chart.BottomAxis()}) {
    a->Axis()->SetColor(clWhite);
    a->LabelsFont()->SetColor(clWhite);
  }
  std::unique_ptr<TBitmap> b = chart.RenderToBitmap();
  const QImage img = b->Image().copy();
  img.save(QString::fromStdString(std::string(ORVEL_TEST_BINARY_DIR) + "/candles_workbench.png"));
  int up = -1, down = -1;
  for (int i = 0; i < s->Count() && (up < 0 || down < 0); ++i) {
    const double o = s->OpenValues()->Value(i), c = s->CloseValues()->Value(i);
    const std::int32_t height = std::abs(right->CalcYPosValue(o) - right->CalcYPosValue(c));
    if (height < 6) continue;
    if (c > o && up < 0) up = i;
    if (c < o && down < 0) down = i;
  }
  ASSERT_GE(up, 0);
  ASSERT_GE(down, 0);
  auto pixel = [&](std::int32_t x, std::int32_t y) { return FromQRgb(img.pixel(x, y)); };
  auto middle = [&](int i) {
    return (right->CalcYPosValue(s->OpenValues()->Value(i)) + right->CalcYPosValue(s->CloseValues()->Value(i))) / 2;
  };
  // An up candle is a lime outline around black, a down candle is lime through.
  const std::int32_t xu = s->CalcXPos(up), yu = middle(up);
  EXPECT_EQ(pixel(xu - 2, yu), clLime);
  EXPECT_EQ(pixel(xu + 3, yu), clLime);
  EXPECT_EQ(pixel(xu + 1, yu), clBlack);
  const std::int32_t xd = s->CalcXPos(down), yd = middle(down);
  EXPECT_EQ(pixel(xd + 1, yd), clLime);
  EXPECT_EQ(pixel(xd - 1, yd), clLime);
  // Between two candles the background shows.
  EXPECT_EQ(pixel((s->CalcXPos(0) + s->CalcXPos(1)) / 2, chart.ChartRect().Top + 2), clBlack);
}

// --- flat candles in one loop --------------------------------------------------

// The same bars drawn through DrawValue, one at a time.
class TCandleByCandle : public TCandleSeries {
 public:
  using TCandleSeries::TCandleSeries;

 protected:
  bool DrawsCandlesInOneLoop() const override { return false; }
};

enum TCandleShape { cpWidthZero, cpWidthFive, cpBoxes, cpNoPen, cpOwnColours, cpInvertedAndScrolled, cpLogarithmic };

template <class S>
QImage DrawCandles(int n, TCandleShape shape, std::uint64_t seed) {
  TChart chart;
  chart.SetBounds(900, 500);
  auto* s = testing::AddPlainSeries<S>(chart);
  s->DateValues()->SetDateTime(false);
  s->SetCandleWidth(shape == cpWidthZero ? 0 : 5);
  if (shape == cpBoxes) s->SetCandleStyle(csOpenClose);
  if (shape == cpNoPen) s->Pen()->SetVisible(false);
  std::mt19937_64 random(seed);
  std::normal_distribution<double> step(0, 1);
  double close = 100;
  s->BeginUpdate();
  for (int i = 0; i < n; ++i) {
    const double open = close;
    close = std::max(1.0, open + step(random));
    const double high = std::max(open, close) + std::abs(step(random)), low = std::min(open, close) - 0.5;
    s->AddCandle(i, open, high, std::max(0.5, low), i % 17 == 3 ? open : close);
    if (shape == cpOwnColours && i % 5 == 0) s->SetValueColor(i, clGreen);
  }
  s->EndUpdate();
  if (shape == cpInvertedAndScrolled) {
    s->GetHorizAxis()->SetMinMax(n / 4 + 0.3, 3 * n / 4);
    s->GetHorizAxis()->SetInverted(true);
  }
  if (shape == cpLogarithmic) s->GetVertAxis()->SetLogarithmic(true);
  return testing::RenderedPicture(chart);
}

class FlatCandlePixels : public ::testing::TestWithParam<TCandleShape> {};

TEST_P(FlatCandlePixels, OneLoopDrawsWhatTheRoadThroughDrawValueDraws) {
  const std::uint64_t seed = orvel::testing::TestSeed(20240611);
  for (int n : {60, 6000}) {
    const QImage reference = DrawCandles<TCandleByCandle>(n, GetParam(), seed);
    const QImage oneLoop = DrawCandles<TCandleSeries>(n, GetParam(), seed);
    int differing = 0;
    for (int y = 0; y < reference.height(); ++y)
      for (int x = 0; x < reference.width(); ++x) differing += reference.pixel(x, y) != oneLoop.pixel(x, y);
    EXPECT_EQ(differing, 0) << "bars " << n << ", seed " << seed;
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, FlatCandlePixels,
                         ::testing::Values(cpWidthZero, cpWidthFive, cpBoxes, cpNoPen, cpOwnColours,
                                           cpInvertedAndScrolled, cpLogarithmic));

}  // namespace
}  // namespace chart

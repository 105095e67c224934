// Covers chart/series/LineSeries.cpp and chart/series/LineSeriesDraw.cpp: segments, stairs,
// nulls, the segment entering from the left edge, pointers over lines,
// stacking, area strips, 3D ribbons, legend symbols, margins, the click test,
// copying between kinds, the gallery sub-styles, and a plain line drawn in one
// call against the point-by-point road (pixels).
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <random>

#include "chart/ChartControl.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/series/LineSeries.h"
#include "chart/testing/PlainChart.h"
#include "chart/testing/RecordedChart.h"
#include "testing/TestSupport.h"

namespace chart {
namespace {

using testing::Seg;
using testing::TRecordedChart;

std::vector<std::string> SubStyles(TChartSeries& s) {
  std::vector<std::string> names;
  s.ListSubStyles([&](const std::string& n) { names.push_back(n); });
  return names;
}

struct LineChart : ::testing::Test {
  TRecordedChart rc;
  TLineSeries* line = nullptr;
  void SetUp() override {
    rc.Chart.BottomAxis()->SetMinMax(0, 10);
    rc.Chart.LeftAxis()->SetMinMax(0, 100);
    line = rc.Add<TLineSeries>();
    line->SetSeriesColor(clBlue);
  }
  std::string SegOf(TChartSeries& s, int a, int b) const {
    return Seg(s.CalcXPos(a), s.CalcYPos(a), s.CalcXPos(b), s.CalcYPos(b));
  }
};

TEST_F(LineChart, JoinsPointsInTheColourOfThePointThatEndsEachSegment) {
  line->AddXY(1, 10);
  line->AddXY(2, 50, "", clRed);
  line->AddXY(3, 30);
  rc.Draw();
  EXPECT_EQ(rc.Lines(*line), (std::vector<std::string>{SegOf(*line, 0, 1), SegOf(*line, 1, 2)}));
  const auto lineTo = rc.Of(*line, "LineTo");
  ASSERT_EQ(lineTo.size(), 2u);
  EXPECT_NE(lineTo[0].find("pen=0000FF"), std::string::npos);
  EXPECT_NE(lineTo[1].find("pen=FF0000"), std::string::npos);
  line->SetColorEachLine(false);
  rc.Draw();
  EXPECT_NE(rc.Of(*line, "LineTo")[0].find("pen=FF0000"), std::string::npos);
}

TEST_F(LineChart, NullPointBreaksBothSegmentsAndHasNoPointer) {
  line->Pointer()->SetVisible(true);
  for (int i = 0; i < 5; ++i) {
    if (i == 2)
      line->AddNullXY(i + 1, 40);
    else
      line->AddXY(i + 1, 10 + 10 * i);
  }
  rc.Draw();
  EXPECT_EQ(rc.Lines(*line), (std::vector<std::string>{SegOf(*line, 0, 1), SegOf(*line, 3, 4)}));
  // One pointer for each point but the null one, each drawn after the line under it.
  const auto rects = rc.Of(*line, "Rectangle");
  ASSERT_EQ(rects.size(), 4u);
  for (int i : {0, 1, 3, 4}) {
    const std::int32_t x = line->CalcXPos(i), y = line->CalcYPos(i);
    const std::string box = "Rectangle " + std::to_string(x - 4) + "," + std::to_string(y - 4) + "," +
                            std::to_string(x + 5) + "," + std::to_string(y + 5);
    EXPECT_EQ(std::count_if(rects.begin(), rects.end(), [&](const std::string& r) { return r.rfind(box, 0) == 0; }),
              1)
        << i;
  }
  const auto all = rc.Of(*line);
  const auto firstLine = std::find_if(all.begin(), all.end(), [](auto& l) { return l.rfind("LineTo", 0) == 0; });
  const auto firstRect = std::find_if(all.begin(), all.end(), [](auto& l) { return l.rfind("Rectangle", 0) == 0; });
  EXPECT_LT(firstLine, firstRect);
}

TEST_F(LineChart, StairsDrawTwoLegs) {
  line->AddXY(1, 10);
  line->AddXY(2, 50);
  line->SetStairs(true);
  rc.Draw();
  const std::int32_t x0 = line->CalcXPos(0), y0 = line->CalcYPos(0), x1 = line->CalcXPos(1), y1 = line->CalcYPos(1);
  EXPECT_EQ(rc.Lines(*line), (std::vector<std::string>{Seg(x0, y0, x1, y0), Seg(x1, y0, x1, y1)}));
  line->SetInvertedStairs(true);
  rc.Draw();
  EXPECT_EQ(rc.Lines(*line), (std::vector<std::string>{Seg(x0, y0, x0, y1), Seg(x0, y1, x1, y1)}));
}

TEST_F(LineChart, ScrolledLineEntersFromTheLeftEdgeAtTheInterpolatedHeight) {
  for (int i = 0; i <= 10; ++i) line->AddXY(i, i % 2 == 0 ? 20 : 80);
  rc.Chart.BottomAxis()->SetMinMax(2.5, 7.5);
  rc.Draw();
  EXPECT_EQ(line->FirstValueIndex(), 3);
  EXPECT_EQ(line->LastValueIndex(), 8);  // one beyond the right edge
  const auto lines = rc.Lines(*line);
  ASSERT_FALSE(lines.empty());
  const TRect r = rc.Chart.ChartRect();
  const std::int32_t x2 = line->CalcXPos(2), y2 = line->CalcYPos(2), x3 = line->CalcXPos(3), y3 = line->CalcYPos(3);
  const std::int32_t yEdge = Round(y2 + (r.Left - x2) * static_cast<double>(y3 - y2) / (x3 - x2));
  EXPECT_EQ(lines.front(), Seg(r.Left, yEdge, x3, y3));
  EXPECT_EQ(lines.size(), 6u);
}

TEST_F(LineChart, OneVisibleValueDrawsItsPointerAndNoLine) {
  line->Pointer()->SetVisible(true);
  line->AddXY(5, 50);
  rc.Draw();
  EXPECT_TRUE(rc.Lines(*line).empty());
  EXPECT_EQ(rc.Of(*line, "Rectangle").size(), 1u);
}

TEST_F(LineChart, OutlineIsAWiderLineUnderTheLine) {
  line->AddXY(1, 10);
  line->AddXY(2, 50);
  line->OutLine()->SetVisible(true);
  line->OutLine()->SetColor(clYellow);
  line->OutLine()->SetWidth(2);
  rc.Draw();
  const auto lineTo = rc.Of(*line, "LineTo");
  ASSERT_EQ(lineTo.size(), 2u);
  EXPECT_NE(lineTo[0].find("pen=00FFFF/5"), std::string::npos);
  EXPECT_NE(lineTo[1].find("pen=FF0000/1"), std::string::npos);
  EXPECT_EQ(line->LinePen()->Width(), 1);
}

TEST_F(LineChart, StackedSeriesSitOnTheSumOfTheEarlierOnes) {
  auto* second = rc.Add<TLineSeries>();
  auto* point = rc.Add<TPointSeries>();
  for (int i = 0; i < 3; ++i) {
    line->AddXY(i, 10 * (i + 1));
    second->AddXY(i, 5);
    point->AddXY(i, 1000);
  }
  second->AddXY(3, 7);
  line->SetStacked(cssStack);
  EXPECT_EQ(second->Stacked(), cssStack);  // same class
  EXPECT_EQ(point->Stacked(), cssNone);
  rc.Chart.LeftAxis()->SetMinMax(0, 100);
  rc.Draw();
  TChartAxis* v = rc.Chart.LeftAxis();
  EXPECT_EQ(second->CalcYPos(1), v->CalcYPosValue(25));
  EXPECT_EQ(second->CalcYPos(3), v->CalcYPosValue(7));  // the first series has no fourth point
  EXPECT_EQ(second->GetOriginPos(1), v->CalcYPosValue(20));
  EXPECT_EQ(second->MaxYValue(), 35);
  line->SetStacked(cssStack100);
  EXPECT_EQ(second->MaxYValue(), 100);
  EXPECT_EQ(second->MinYValue(), 0);
  rc.Draw();
  EXPECT_EQ(second->CalcYPos(0), v->CalcYPosValue(100));
  EXPECT_EQ(line->CalcYPos(0), v->CalcYPosValue(10 * 100.0 / 15));
  // All stacked values 0 at an index: the value sits at the axis' far end.
  line->SetYValue(2, 0);
  second->SetYValue(2, 0);
  EXPECT_EQ(second->CalcYPos(2), v->IEndPos());
}

TEST_F(LineChart, AreaStripIsFilledDownToTheOrigin) {
  line->AddXY(1, 10);
  line->AddXY(2, 50);
  line->SetDrawArea(true);
  line->SetAreaColor(clYellow);
  rc.Draw();
  const auto polys = rc.Of(*line, "Polygon");
  ASSERT_EQ(polys.size(), 1u);
  const std::int32_t bottom = rc.Chart.LeftAxis()->IEndPos();
  const std::string expected = "Polygon " + testing::Pt(line->CalcXPos(0), line->CalcYPos(0)) + " " +
                               testing::Pt(line->CalcXPos(1), line->CalcYPos(1)) + " " +
                               testing::Pt(line->CalcXPos(1), bottom) + " " +
                               testing::Pt(line->CalcXPos(0), bottom) + " pen=clear brush=00FFFF";
  EXPECT_EQ(polys[0], expected);
  line->SetTransparency(40);
  rc.Draw();
  EXPECT_EQ(rc.Of(*line, "BeginBlending").size(), 1u);
  EXPECT_EQ(rc.Of(*line, "EndBlending").size(), 1u);
}

TEST(LineSeries3D, SegmentsAreRibbonsBetweenTheDepthPlanes) {
  TRecordedChart rc(true);
  auto* line = rc.Add<TLineSeries>();
  line->AddXY(1, 10);
  line->AddXY(2, 50);
  line->AddXY(3, 20);
  rc.Draw();
  ASSERT_GT(line->EndZ, line->StartZ);
  const auto polys = rc.Of(*line, "Polygon");
  ASSERT_EQ(polys.size(), 2u);
  TCanvas3D& c = rc.Chart.Canvas();
  const TPoint a = c.Calculate3DPosition(line->CalcXPos(0), line->CalcYPos(0), line->EndZ);
  EXPECT_EQ(polys[0].rfind("Polygon " + testing::Pt(a.X, a.Y) + " ", 0), 0u);
  line->SetLineHeight(5);
  rc.Draw();
  // The end face of the last value, then a ribbon and a front face per segment.
  EXPECT_EQ(rc.Of(*line, "Polygon").size(), 5u);
}

TEST_F(LineChart, LegendSymbolIsALineThroughTheBoxWithThePointerOverIt) {
  line->AddXY(1, 1);
  rc.Draw();
  rc.Canvas->Log.clear();
  line->DrawLegendShape(-1, {10, 10, 30, 20});
  EXPECT_EQ(rc.Canvas->Calls("LineTo").size(), 1u);
  EXPECT_EQ(rc.Canvas->Calls("MoveTo")[0], "MoveTo 10,15");
  line->Pointer()->SetVisible(true);
  rc.Canvas->Log.clear();
  line->DrawLegendShape(-1, {10, 10, 30, 20});
  // The pointer centred in the box, a third of its size at most.
  EXPECT_EQ(rc.Canvas->Calls("Rectangle")[0].rfind("Rectangle 16,12,25,19", 0), 0u);
}

TEST_F(LineChart, MarginsMakeRoomForPointersAndStairs) {
  std::int32_t l = 0, r = 0, t = 0, b = 0;
  line->CalcHorizMargins(l, r);
  EXPECT_EQ(l, 0);
  line->Pointer()->SetVisible(true);
  line->Pointer()->SetHorizSize(6);
  line->CalcHorizMargins(l, r);
  EXPECT_EQ(l, 7);
  EXPECT_EQ(r, 7);
  line->Pointer()->SetVisible(false);
  line->SetStairs(true);
  line->LinePen()->SetWidth(3);
  line->CalcVerticalMargins(t, b);
  EXPECT_EQ(t, 3);
  EXPECT_EQ(b, 3);
}

TEST_F(LineChart, ClickHitsPointsAndTheSegmentsAfterThem) {
  for (int i = 1; i <= 3; ++i) line->AddXY(i, 20 * i);
  rc.Draw();
  EXPECT_EQ(line->Clicked(line->CalcXPos(1), line->CalcYPos(1)), 1);
  const std::int32_t mx = (line->CalcXPos(1) + line->CalcXPos(2)) / 2;
  const std::int32_t my = (line->CalcYPos(1) + line->CalcYPos(2)) / 2;
  EXPECT_EQ(line->Clicked(mx, my), 1);
  EXPECT_EQ(line->Clicked(mx, my - 30), -1);
  line->SetClickableLine(false);
  EXPECT_EQ(line->Clicked(mx, my), -1);
  line->Pointer()->SetVisible(true);
  int clicked = -1;
  line->OnClickPointer = [&](TCustomSeries&, int index, std::int32_t, std::int32_t) { clicked = index; };
  EXPECT_EQ(line->Clicked(line->CalcXPos(2) + 3, line->CalcYPos(2) - 3), 2);
  EXPECT_EQ(clicked, 2);
  EXPECT_EQ(line->Clicked(line->CalcXPos(2) + 4, line->CalcYPos(2)), -1);  // the box is strict
}

TEST_F(LineChart, PointSeriesIsHitOnlyOnItsPointers) {
  auto* points = rc.Add<TPointSeries>();
  points->AddXY(1, 20);
  points->AddXY(3, 60);
  rc.Draw();
  EXPECT_TRUE(rc.Lines(*points).empty());
  EXPECT_EQ(rc.Of(*points, "Rectangle").size(), 2u);
  const std::int32_t mx = (points->CalcXPos(0) + points->CalcXPos(1)) / 2;
  const std::int32_t my = (points->CalcYPos(0) + points->CalcYPos(1)) / 2;
  EXPECT_EQ(points->Clicked(mx, my), -1);
  EXPECT_EQ(points->Clicked(points->CalcXPos(1) - 2, points->CalcYPos(1) + 2), 1);
}

TEST_F(LineChart, CopyingAPointSeriesHidesTheLineSeriesPointer) {
  TPointSeries points;
  line->Pointer()->SetVisible(true);
  line->Assign(points);
  EXPECT_FALSE(line->Pointer()->Visible());
  EXPECT_TRUE(line->DrawLine());
  TLineSeries other;
  other.Pointer()->SetVisible(true);
  line->Assign(other);
  EXPECT_TRUE(line->Pointer()->Visible());
  TLineSeries copy;
  copy.Assign(points);
  TPointSeries back;
  back.Assign(*line);
  EXPECT_FALSE(back.DrawLine());
  EXPECT_TRUE(back.Pointer()->Visible());
}

TEST(HorizLineSeries, DrawsPointsInStoredOrderAlongTheVerticalAxis) {
  TRecordedChart rc;
  auto* h = rc.Add<THorizLineSeries>();
  EXPECT_FALSE(h->YMandatory());
  h->AddXY(5, 3);
  h->AddXY(1, 1);
  h->AddXY(9, 2);
  rc.Draw();
  EXPECT_EQ(h->YValues()->Value(0), 3);  // kept as added
  EXPECT_EQ(h->FirstValueIndex(), 0);
  EXPECT_EQ(h->LastValueIndex(), 2);
  const auto lines = rc.Lines(*h);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], Seg(h->CalcXPos(0), h->CalcYPos(0), h->CalcXPos(1), h->CalcYPos(1)));
  EXPECT_EQ(h->CalcYPos(1), rc.Chart.LeftAxis()->CalcYPosValue(1));
}

TEST(LineSeriesGallery, SubStylesAreListedAndApplied) {
  TLineSeries line;
  EXPECT_EQ(SubStyles(line), (std::vector<std::string>{"Normal", "Stairs", "Points", "Height", "Hollow", "Colors",
                                                       "Marks", "No Border"}));
  line.ApplySubStyle(3);
  EXPECT_EQ(line.LineHeight(), 5);
  line.ApplySubStyle(7);
  EXPECT_FALSE(line.LinePen()->Visible());
  TPointSeries points;
  const auto names = SubStyles(points);
  ASSERT_EQ(names.size(), 13u);
  EXPECT_EQ(names[5], "Gradient");
  EXPECT_EQ(names[12], "Diamond");
  points.ApplySubStyle(9);
  EXPECT_EQ(points.Pointer()->Style(), psCircle);
  EXPECT_EQ(points.Pointer()->HorizSize(), 8);
  points.SetColorEachPoint(true);
  EXPECT_EQ(points.Pointer()->Brush()->Color(), clDefault);
}

// --- a plain line in one call -------------------------------------------------

// The same kinds drawn through DrawValue, point by point.
template <class S>
class TPointByPoint : public S {
 public:
  using S::S;

 protected:
  bool DrawsLineInOneCall() const override { return false; }
};

enum TLineShape { lsPlain, lsScrolled, lsInvertedAndScrolled, lsHorizontal, lsDashed, lsWide, lsColouredPoints,
                  lsLogarithmic };

template <class S>
QImage DrawLine(const std::vector<double>& walk, TLineShape shape) {
  TChart chart;
  chart.SetBounds(800, 500);
  auto* s = testing::AddPlainSeries<S>(chart);
  if (shape == lsDashed) s->LinePen()->SetStyle(psDash);
  if (shape == lsWide) s->LinePen()->SetWidth(3);
  if (shape == lsColouredPoints) {
    s->SetColorEachPoint(true);
    s->SetColorEachLine(false);
  }
  const int n = static_cast<int>(walk.size());
  s->BeginUpdate();
  for (int i = 0; i < n; ++i) {
    const double v = shape == lsLogarithmic ? std::exp(walk[i] / 40) : walk[i];
    if (shape == lsColouredPoints)
      s->AddXY(i, v, "", i % 3 == 0 ? clRed : clDefault);
    else
      s->AddXY(i, v);
  }
  s->EndUpdate();
  if (shape == lsScrolled || shape == lsInvertedAndScrolled) s->GetHorizAxis()->SetMinMax(n / 3 + 0.37, 2 * n / 3);
  if (shape == lsInvertedAndScrolled) s->GetHorizAxis()->SetInverted(true);
  if (shape == lsLogarithmic) s->GetVertAxis()->SetLogarithmic(true);
  return testing::RenderedPicture(chart);
}

class LinePixels : public ::testing::TestWithParam<TLineShape> {};

TEST_P(LinePixels, OneCallDrawsWhatThePointByPointRoadDraws) {
  const std::uint64_t seed = orvel::testing::TestSeed(20240611);
  std::mt19937_64 random(seed);
  std::normal_distribution<double> step(0, 1);
  for (int n : {300, 40000}) {
    std::vector<double> walk(static_cast<std::size_t>(n));
    double v = 0;
    for (double& w : walk) w = v += step(random);
    QImage reference, oneCall;
    if (GetParam() == lsHorizontal) {
      reference = DrawLine<TPointByPoint<THorizLineSeries>>(walk, GetParam());
      oneCall = DrawLine<THorizLineSeries>(walk, GetParam());
    } else {
      reference = DrawLine<TPointByPoint<TLineSeries>>(walk, GetParam());
      oneCall = DrawLine<TLineSeries>(walk, GetParam());
    }
    int differing = 0;
    for (int y = 0; y < reference.height(); ++y)
      for (int x = 0; x < reference.width(); ++x) differing += reference.pixel(x, y) != oneCall.pixel(x, y);
    EXPECT_EQ(differing, 0) << "points " << n << ", seed " << seed;
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, LinePixels,
                         ::testing::Values(lsPlain, lsScrolled, lsInvertedAndScrolled, lsHorizontal, lsDashed, lsWide,
                                           lsColouredPoints, lsLogarithmic));

}  // namespace
}  // namespace chart

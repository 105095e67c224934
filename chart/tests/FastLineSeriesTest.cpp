// Covers chart/series/FastLineSeries.cpp: the point-by-point rules, the column
// reduction against them on random walks (pixels), nulls, stairs, the
// appended segment with the chart not repainting, margins, colours, legend
// and the click test.
#include <gtest/gtest.h>

#include <QImage>
#include <random>

#include "chart/canvas/KivCanvasQt.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/series/FastLineSeries.h"
#include "chart/testing/PlainChart.h"
#include "chart/testing/RecordedChart.h"
#include "testing/TestSupport.h"

namespace chart {
namespace {

using testing::Seg;
using testing::TRecordedChart;

// The same series drawn one line call per point.
class TPointByPointFastLine : public TFastLineSeries {
 public:
  using TFastLineSeries::TFastLineSeries;

 protected:
  bool UseColumnReduction() const override { return false; }
};

struct FastLineRoads : ::testing::Test {
  TRecordedChart rc;
  TFastLineSeries* line = nullptr;
  void SetUp() override {
    rc.Chart.BottomAxis()->SetMinMax(0, 10);
    rc.Chart.LeftAxis()->SetMinMax(0, 100);
    line = rc.Add<TPointByPointFastLine>();
  }
};

TEST_F(FastLineRoads, RepeatedPixelsDrawNothingAndColumnsAreSkippedWithoutDrawAllPoints) {
  line->AddXY(1, 10);
  line->AddXY(1, 10);      // the same pixel
  line->AddXY(1.001, 50);  // the same column, another height
  line->AddXY(3, 30);
  rc.Draw();
  const std::int32_t x1 = line->CalcXPos(0), x3 = line->CalcXPos(3);
  const std::int32_t y10 = line->CalcYPos(0), y50 = line->CalcYPos(2), y30 = line->CalcYPos(3);
  ASSERT_EQ(line->CalcXPos(2), x1);
  EXPECT_EQ(rc.Lines(*line), (std::vector<std::string>{Seg(x1, y10, x1, y50), Seg(x1, y50, x3, y30)}));
  line->SetDrawAllPoints(false);
  rc.Draw();
  EXPECT_EQ(rc.Lines(*line), (std::vector<std::string>{Seg(x1, y10, x3, y30)}));
}

TEST_F(FastLineRoads, NullPointsBreakTheLineOnlyWhenNotIgnored) {
  line->AddXY(1, 10);
  line->AddXY(2, 50);
  line->AddNullXY(3, 0);
  line->AddXY(4, 30);
  line->AddXY(5, 40);
  rc.Draw();
  EXPECT_EQ(rc.Lines(*line).size(), 4u);
  line->SetIgnoreNulls(false);
  rc.Draw();
  // Neither the segment into the null point nor one out of its stored value.
  auto seg = [&](int a, int b) {
    return Seg(line->CalcXPos(a), line->CalcYPos(a), line->CalcXPos(b), line->CalcYPos(b));
  };
  EXPECT_EQ(rc.Lines(*line), (std::vector<std::string>{seg(0, 1), seg(3, 4)}));
}

TEST_F(FastLineRoads, StairsGoAcrossFirstOrDownFirst) {
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

TEST_F(FastLineRoads, ScrolledLineStartsAtThePointBeforeTheFirstVisible) {
  for (int i = 0; i <= 10; ++i) line->AddXY(i, 10 * i);
  rc.Chart.BottomAxis()->SetMinMax(2.5, 7.5);
  rc.Draw();
  const auto lines = rc.Lines(*line);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), Seg(line->CalcXPos(2), line->CalcYPos(2), line->CalcXPos(3), line->CalcYPos(3)));
  EXPECT_EQ(lines.back(), Seg(line->CalcXPos(7), line->CalcYPos(7), line->CalcXPos(8), line->CalcYPos(8)));
}

TEST(FastLineReduction, PolylineKeepsFirstLowestHighestAndLastOfAColumn) {
  TRecordedChart rc;
  rc.Chart.BottomAxis()->SetMinMax(0, 10);
  rc.Chart.LeftAxis()->SetMinMax(0, 100);
  auto* line = rc.Add<TFastLineSeries>();
  for (double y : {40.0, 90.0, 10.0, 60.0, 30.0}) line->AddXY(1 + 0.0001 * line->Count(), y);
  line->AddXY(5, 50);
  rc.Draw();
  const std::int32_t x = line->CalcXPos(0), x5 = line->CalcXPos(5);
  auto y = [&](double v) { return rc.Chart.LeftAxis()->CalcYPosValue(v); };
  EXPECT_EQ(rc.Lines(*line), (std::vector<std::string>{Seg(x, y(40), x, y(90)), Seg(x, y(90), x, y(10)),
                                                       Seg(x, y(10), x, y(30)), Seg(x, y(30), x5, y(50))}));
}

// --- pixels of the two roads ----------------------------------------------------

enum TWalkStyle { wsPlain, wsStairs, wsNulls, wsWidth2, wsWidth3 };

template <class S>
QImage DrawWalk(const std::vector<double>& walk, TWalkStyle style) {
  TChart chart;
  chart.SetBounds(800, 500);
  auto* s = testing::AddPlainSeries<S>(chart);
  s->SetStairs(style == wsStairs);
  s->SetIgnoreNulls(style != wsNulls);
  if (style == wsWidth2) s->LinePen()->SetWidth(2);
  if (style == wsWidth3) s->LinePen()->SetWidth(3);
  s->BeginUpdate();
  for (std::size_t i = 0; i < walk.size(); ++i) {
    if (style == wsNulls && i % 997 == 500)
      s->AddNullXY(static_cast<double>(i), walk[i]);
    else
      s->AddXY(static_cast<double>(i), walk[i]);
  }
  s->EndUpdate();
  chart.LeftAxis()->SetVisible(false);
  chart.BottomAxis()->SetVisible(false);
  return testing::RenderedPicture(chart);
}

struct TPixelComparison {
  std::int64_t Differing = 0, Total = 0, Unexplained = 0;
};

TPixelComparison Compare(const QImage& reference, const QImage& fast) {
  TPixelComparison r;
  r.Total = static_cast<std::int64_t>(reference.width()) * reference.height();
  auto line = [](const QImage& img, int x, int y) {
    return x >= 0 && y >= 0 && x < img.width() && y < img.height() && (img.pixel(x, y) & 0xFFFFFF) == 0;
  };
  for (int y = 0; y < reference.height(); ++y)
    for (int x = 0; x < reference.width(); ++x) {
      if (reference.pixel(x, y) == fast.pixel(x, y)) continue;
      ++r.Differing;
      bool near = false;
      for (int dy = -1; dy <= 1 && !near; ++dy)
        for (int dx = -1; dx <= 1 && !near; ++dx) near = line(reference, x + dx, y + dy);
      if (!near) ++r.Unexplained;
    }
  return r;
}

class FastLinePixels : public ::testing::TestWithParam<TWalkStyle> {};

TEST_P(FastLinePixels, ReductionDrawsWhatThePointByPointRoadDraws) {
  const std::uint64_t seed = orvel::testing::TestSeed(20240611);
  std::mt19937_64 random(seed);
  std::normal_distribution<double> step(0, 1);
  for (int n : {3000, 200000}) {
    std::vector<double> walk(static_cast<std::size_t>(n));
    double v = 0;
    for (double& w : walk) w = v += step(random);
    const QImage reference = DrawWalk<TPointByPointFastLine>(walk, GetParam());
    const QImage fast = DrawWalk<TFastLineSeries>(walk, GetParam());
    const TPixelComparison c = Compare(reference, fast);
    EXPECT_LE(c.Differing, c.Total * 5 / 10000) << "points " << n << ", seed " << seed;
    EXPECT_EQ(c.Unexplained, 0) << "points " << n << ", seed " << seed;
    if (n == 3000 && GetParam() == wsPlain)
      fast.save(QString::fromStdString(std::string(ORVEL_TEST_BINARY_DIR) + "/fast_line_walk.png"));
  }
}

INSTANTIATE_TEST_SUITE_P(Styles, FastLinePixels, ::testing::Values(wsPlain, wsStairs, wsNulls, wsWidth2, wsWidth3));

// --- appending without a repaint ------------------------------------------------

class TRecordingHost : public IKivPanelHost {
 public:
  std::vector<TRect> Rects;
  int Whole = 0;
  void InvalidateWindow() override { ++Whole; }
  void InvalidateWindowRect(const TRect& r) override { Rects.push_back(r); }
  void RepaintWindow() override { ++Whole; }
  TColor ParentColor() const override { return clNone; }
  void SetWindowRound(std::int32_t) override {}
  void ReleaseMouse() override {}
  void SetCursor(TCursor) override {}
  TPoint CursorPos() const override { return {}; }
  TPoint ClientToScreen(const TPoint& p) const override { return p; }
  void ShowHint(const std::string&, const TPoint&) override {}
  void CancelHint() override {}
  std::int32_t HintPause() const override { return 0; }
  void SetHintPause(std::int32_t) override {}
};

TEST(FastLineAppend, WithoutAutoRepaintAPointDrawsOneSegmentIntoThePicture) {
  TChart chart;
  TRecordingHost host;
  chart.SetHost(&host);
  chart.SetBounds(400, 300);
  chart.SetView3D(false);
  chart.SetColor(clWhite);
  chart.BottomAxis()->SetMinMax(0, 10);
  chart.LeftAxis()->SetMinMax(0, 100);
  auto* line = new TFastLineSeries(&chart);
  line->SetParentChart(&chart);
  line->SetSeriesColor(clRed);
  line->AddXY(1, 10);
  line->AddXY(2, 20);
  QImage screen(400, 300, QImage::Format_RGB32);
  TCanvas screenCanvas(screen);
  chart.Draw(&screenCanvas, chart.GetRectangle());
  auto* canvas = dynamic_cast<TKivCanvas3D*>(&chart.Canvas());
  ASSERT_NE(canvas, nullptr);
  ASSERT_FALSE(canvas->Dirty());
  host.Whole = 0;
  int added = -1;
  line->OnAfterAdd = [&](TChartSeries&, int i) { added = i; };
  line->SetAutoRepaint(false);
  line->AddXY(3, 90);
  EXPECT_EQ(added, 2);
  EXPECT_EQ(host.Whole, 0);
  EXPECT_FALSE(canvas->Dirty());
  ASSERT_EQ(host.Rects.size(), 1u);
  const std::int32_t x0 = line->CalcXPos(1), y0 = line->CalcYPos(1), x1 = line->CalcXPos(2), y1 = line->CalcYPos(2);
  EXPECT_EQ(host.Rects[0], (TRect{x0 - 1, y1 - 1, x1 + 2, y0 + 2}));
  const QImage& img = canvas->Bitmap()->Image();
  const std::int32_t mx = (x0 + x1) / 2;
  const std::int32_t my = Round(y0 + (mx - x0) * static_cast<double>(y1 - y0) / (x1 - x0));
  bool found = false;
  for (int dy = -1; dy <= 1; ++dy) found = found || FromQRgb(img.pixel(mx, my + dy)) == clRed;
  EXPECT_TRUE(found);
  // The first point of a series moves the pen there and draws nothing.
  auto* other = new TFastLineSeries(&chart);
  other->SetParentChart(&chart);
  chart.Draw(&screenCanvas, chart.GetRectangle());
  other->SetAutoRepaint(false);
  host.Rects.clear();
  other->AddXY(5, 50);
  ASSERT_EQ(host.Rects.size(), 1u);
  EXPECT_EQ(host.Rects[0].Width(), 3);
  chart.SetHost(nullptr);
}

// --- the rest -------------------------------------------------------------------

TEST(FastLineSeries, MarginsGrowWithThePenWidth) {
  TFastLineSeries line;
  for (auto [width, margin] : {std::pair{1, 1}, {2, 2}, {3, 3}, {4, 3}, {5, 4}}) {
    line.LinePen()->SetWidth(width);
    std::int32_t l = 0, r = 0, t = 0, b = 0;
    line.CalcHorizMargins(l, r);
    line.CalcVerticalMargins(t, b);
    EXPECT_EQ(l, margin) << width;
    EXPECT_EQ(b, margin) << width;
  }
}

TEST(FastLineSeries, SeriesColourAndLineColourStayTheSame) {
  TFastLineSeries line;
  line.SetSeriesColor(clGreen);
  EXPECT_EQ(line.LinePen()->Color(), clGreen);
  TChartPen pen;
  pen.SetColor(clNavy);
  line.SetPen(pen);
  EXPECT_EQ(line.SeriesColor(), clNavy);
  TFastLineSeries copy;
  line.SetDrawAllPoints(false);
  line.SetStairs(true);
  copy.Assign(line);
  EXPECT_FALSE(copy.DrawAllPoints());
  EXPECT_TRUE(copy.Stairs());
  std::vector<std::string> names;
  copy.ListSubStyles([&](const std::string& n) { names.push_back(n); });
  EXPECT_EQ(names, (std::vector<std::string>{"Normal", "Marks", "Dotted", "Stairs"}));
  copy.ApplySubStyle(2);
  EXPECT_TRUE(copy.LinePen()->SmallDots());
}

TEST(FastLineSeries, ClickHitsPointsAndSegmentsAndTheLegendIsOneLine) {
  TRecordedChart rc;
  rc.Chart.BottomAxis()->SetMinMax(0, 10);
  rc.Chart.LeftAxis()->SetMinMax(0, 100);
  auto* line = rc.Add<TFastLineSeries>();
  for (int i = 1; i <= 3; ++i) line->AddXY(i, i < 3 ? 25 : 75);
  rc.Draw();
  EXPECT_EQ(line->Clicked(line->CalcXPos(2), line->CalcYPos(2)), 2);
  const std::int32_t mx = (line->CalcXPos(0) + line->CalcXPos(1)) / 2;
  const std::int32_t my = (line->CalcYPos(0) + line->CalcYPos(1)) / 2;
  EXPECT_EQ(line->Clicked(mx, my), 0);
  EXPECT_EQ(line->Clicked(mx, my + 20), -1);
  rc.Canvas->Log.clear();
  line->DrawLegendShape(-1, {0, 0, 20, 11});
  EXPECT_EQ(rc.Canvas->Calls("MoveTo"), (std::vector<std::string>{"MoveTo 0,5"}));
}

}  // namespace
}  // namespace chart

// Covers chart/series/SeriesPointer.cpp: the size checks, the margins pointers ask
// for, the shape of every style on the recording surface, the canvas a point
// colour prepares, the gradient's end colour and the callouts' defaults.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "chart/ChartControl.h"
#include "chart/core/KivConst.h"
#include "chart/series/SeriesMarks.h"
#include "chart/series/SeriesPointer.h"
#include "chart/testing/RecordingCanvas.h"
#include "chart/testing/TestPointSeries.h"
#include "testing/TestSupport.h"

namespace chart {
namespace {

using orvel::testing::Raises;
using testing::TRecordingCanvas;
using testing::TTestPointSeries;

TEST(SeriesPointer, SizesBelowOneAreRefused) {
  TSeriesPointer p;
  EXPECT_TRUE(Raises<ChartException>([&] { p.SetHorizSize(0); }, "Pointer size must be greater than zero"));
  EXPECT_TRUE(Raises<ChartException>([&] { p.SetVertSize(-2); }, "Pointer size must be greater than zero"));
  EXPECT_EQ(p.HorizSize(), 4);
  EXPECT_EQ(p.VertSize(), 4);
  p.SetHorizSize(1);
  EXPECT_EQ(p.HorizSize(), 1);
}

TEST(SeriesPointer, MarginsFitAVisibleInflatingPointer) {
  TSeriesPointer p;
  p.SetHorizSize(6);
  std::int32_t left = 2, right = 9, top = 0, bottom = 0;
  p.CalcHorizMargins(left, right);
  p.CalcVerticalMargins(top, bottom);
  EXPECT_EQ(left, 7);
  EXPECT_EQ(right, 9);  // a wider margin stays
  EXPECT_EQ(top, 5);
  EXPECT_EQ(bottom, 5);
  for (bool hide : {true, false}) {
    TSeriesPointer q;
    if (hide)
      q.SetVisible(false);
    else
      q.SetInflateMargins(false);
    std::int32_t l = 0, r = 0;
    q.CalcHorizMargins(l, r);
    EXPECT_EQ(l, 0);
    EXPECT_EQ(r, 0);
  }
}

// What each style asks the surface for, in 2D around (50, 40) with half-sizes 4 and 3.
TEST(SeriesPointer, TheShapeOfEveryStyle) {
  struct TCase {
    TSeriesPointerStyle Style;
    std::string First;  // the first call, up to its points
  } cases[] = {
      {psRectangle, "Rectangle 46,37,55,44"},
      {psCircle, "Ellipse 46,37,55,44"},
      {psTriangle, "Polygon 46,43 50,37 54,43"},
      {psDownTriangle, "Polygon 46,37 50,43 54,37"},
      {psLeftTriangle, "Polygon 46,40 54,37 54,43"},
      {psRightTriangle, "Polygon 54,40 46,37 46,43"},
      {psDiamond, "Polygon 50,37 54,40 50,43 46,40"},
      {psCross, "MoveTo 46,40"},
      {psDiagCross, "MoveTo 46,37"},
      {psStar, "MoveTo 46,40"},
      {psSmallDot, "SetPixel 50,40 0000FF"},
  };
  for (const TCase& c : cases) {
    TRecordingCanvas canvas;
    TSeriesPointer p;
    p.PrepareCanvas(canvas, clRed);
    p.Draw(canvas, false, 50, 40, 4, 3, clRed, c.Style);
    ASSERT_FALSE(canvas.Log.empty()) << c.Style;
    EXPECT_EQ(canvas.Log.front().rfind(c.First, 0), 0u) << c.Style << ": " << canvas.Log.front();
  }
  TRecordingCanvas canvas;
  TSeriesPointer p;
  p.Draw(canvas, false, 50, 40, 4, 3, clRed, psNothing);
  EXPECT_TRUE(canvas.Log.empty());
}

TEST(SeriesPointer, TheCanvasTakesThePointColour) {
  TRecordingCanvas canvas;
  TSeriesPointer p;
  p.Pen()->SetColor(clDefault);
  p.Brush()->SetColor(clDefault);
  p.PrepareCanvas(canvas, clRed);
  EXPECT_EQ(canvas.Pen().Color(), clRed);
  EXPECT_EQ(canvas.Brush().Color(), clRed);
  p.Brush()->SetStyle(bsCross);
  p.PrepareCanvas(canvas, clRed);
  EXPECT_EQ(canvas.Brush().Color(), clBlack);  // hatches of an automatic colour are black
  p.Pen()->SetVisible(false);
  p.PrepareCanvas(canvas, clRed);
  EXPECT_EQ(canvas.Pen().Style(), psClear);
  p.Brush()->SetStyle(bsSolid);
  p.Brush()->SetColor(clBlue);
  p.PrepareCanvas(canvas, clRed);
  EXPECT_EQ(canvas.Brush().Color(), clBlue);
}

// A gradient fills what has an area: a star takes none; the pointer's
// gradient always ends in the point's colour, a callout's keeps its own.
TEST(SeriesPointer, GradientsFillShapesWithAnArea) {
  auto clips = [](const TRecordingCanvas& c) {
    return std::count_if(c.Log.begin(), c.Log.end(), [](const std::string& l) { return l.rfind("Clip", 0) == 0; });
  };
  TSeriesPointer p;
  p.Gradient()->SetVisible(true);
  p.Gradient()->SetEndColor(clYellow);
  {
    TRecordingCanvas canvas;
    p.Draw(canvas, false, 50, 40, 4, 4, clRed, psStar);
    EXPECT_EQ(clips(canvas), 0);
  }
  {
    TRecordingCanvas canvas;
    p.Draw(canvas, false, 50, 40, 4, 4, clRed, psTriangle);
    EXPECT_EQ(clips(canvas), 1);
  }
  EXPECT_EQ(p.Gradient()->EndColor(), clRed);
  TCallout callout;
  callout.Gradient()->SetVisible(true);
  callout.Gradient()->SetEndColor(clYellow);
  TRecordingCanvas canvas;
  callout.Draw(canvas, false, 50, 40, 4, 4, clRed, psRectangle);
  EXPECT_EQ(callout.Gradient()->EndColor(), clYellow);
}

TEST(SeriesPointer, CalloutDefaultsAndAssign) {
  TCallout c;
  EXPECT_FALSE(c.Draw3D());
  EXPECT_TRUE(c.Visible());
  EXPECT_EQ(c.Brush()->Color(), clBlack);
  EXPECT_EQ(c.ArrowHead(), ahNone);
  EXPECT_EQ(c.ArrowHeadSize(), 8);
  TMarksCallout m;
  EXPECT_FALSE(m.Visible());
  EXPECT_EQ(m.Arrow()->Color(), clWhite);
  EXPECT_EQ(m.Length(), 8);
  m.SetLength(12);
  m.SetDistance(2);
  m.SetArrowHead(ahSolid);
  m.SetStyle(psCircle);
  m.SetHorizSize(7);
  TMarksCallout n;
  n.Assign(m);
  EXPECT_EQ(n.Length(), 12);
  EXPECT_EQ(n.Distance(), 2);
  EXPECT_EQ(n.ArrowHead(), ahSolid);
  EXPECT_EQ(n.Style(), psCircle);
  EXPECT_EQ(n.HorizSize(), 7);
}

// In a 3D chart a flat pointer lies at the series' front depth, a solid one spans its depth.
TEST(SeriesPointer, FlatOrSolidIn3D) {
  TChart chart;
  auto canvas = std::make_unique<TRecordingCanvas>();
  TRecordingCanvas& log = *canvas;
  chart.ReplaceCanvas(std::move(canvas));
  chart.SetBounds(400, 300);
  chart.SetView3D(true);
  auto* s = new TTestPointSeries(&chart);  // the first series stands at the back
  s->SetParentChart(&chart);
  auto* front = new TTestPointSeries(&chart);
  front->SetParentChart(&chart);
  for (auto* x : {s, front}) {
    x->AddXY(0, 0);
    x->AddXY(1, 1);
  }
  chart.Draw(nullptr, chart.GetRectangle());
  ASSERT_GT(s->StartZ, 0);
  TSeriesPointer& p = *s->Pointer();
  p.SetDraw3D(false);
  log.Log.clear();
  p.Draw(log, true, 100, 100, 4, 4, clRed, psRectangle);
  std::vector<TPoint> corners;
  for (auto [x, y] : {std::pair{96, 96}, {105, 96}, {105, 105}, {96, 105}})
    corners.push_back(log.Calculate3DPosition(x, y, s->StartZ));
  ASSERT_EQ(log.Log.size(), 1u);
  EXPECT_EQ(log.Log.front().rfind("Polygon " + testing::PointsText(corners), 0), 0u) << log.Log.front();
  p.SetDraw3D(true);
  log.Log.clear();
  p.Draw(log, true, 100, 100, 4, 4, clRed, psRectangle);
  EXPECT_GT(log.Log.size(), 1u);  // the faces of a cube
}

}  // namespace
}  // namespace chart

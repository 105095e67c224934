// Covers chart/tools/CursorTool.cpp: where a new cursor stands, dragging its lines
// by their hit test, following the mouse, snapping by style, the inverted
// drawing over the picture, and the nearest-point tool's choice of point and
// its marker.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "ToolTestSupport.h"
#include "chart/tools/CursorTool.h"

namespace chart {
namespace {

using testing::PaintPicture;
using testing::Picture;
using testing::ToolChartFixture;

struct TChange {
  std::int32_t X, Y;
  double XValue, YValue;
  TChartSeries* Series;
  int Index;
};

class CursorFixture : public ToolChartFixture {
 protected:
  void SetUp() override {
    ToolChartFixture::SetUp();
    Tool = new TCursorTool(Chart.get());
    Tool->OnChange = [this](TCursorTool&, std::int32_t x, std::int32_t y, double xv, double yv, TChartSeries* s,
                            int index) { Changes.push_back({x, y, xv, yv, s, index}); };
    Tool->SetParentChart(Chart.get());
    PaintPicture(*Chart);
  }
  TCursorTool* Tool = nullptr;
  std::vector<TChange> Changes;
};

TEST_F(CursorFixture, ANewCursorStandsAtTheCentreOfItsAxes) {
  const std::int32_t cx = (Bottom().IStartPos() + Bottom().IEndPos()) / 2;
  const std::int32_t cy = (Left().IStartPos() + Left().IEndPos()) / 2;
  EXPECT_EQ(Tool->Position(), (TPoint{cx, cy}));
  EXPECT_EQ(Tool->XValue(), Bottom().CalcPosPoint(cx));
  EXPECT_EQ(Tool->YValue(), Left().CalcPosPoint(cy));
  ASSERT_EQ(Changes.size(), 1u);
  EXPECT_EQ(Changes[0].Index, -1);
  EXPECT_EQ(Changes[0].X, cx);
  // A later drawing keeps it where it is.
  PaintPicture(*Chart);
  EXPECT_EQ(Tool->Position(), (TPoint{cx, cy}));
  EXPECT_EQ(Changes.size(), 1u);
}

TEST_F(CursorFixture, EachLineDragsByItsHitTestAndTheCrossingDragsBoth) {
  const TPoint c = Tool->Position();
  const struct {
    std::int32_t Dx, Dy;
    int State;
    TCursor Cursor;
  } cases[] = {{40, 2, 1, crVSplit}, {-2, 40, 2, crHSplit}, {2, -2, 3, crSizeAll}, {30, 30, 0, crDefault}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.State);
    const TPoint p = Tool->Position();
    Host.Cursors.clear();
    Chart->MouseMove(0, p.X + k.Dx, p.Y + k.Dy);
    if (k.State != 0) {
      EXPECT_EQ(Host.Cursor(), k.Cursor);
    }
    Chart->MouseDown(mbLeft, 0, p.X + k.Dx, p.Y + k.Dy);
    EXPECT_EQ(Tool->DragState(), k.State);
    const double x = Tool->XValue(), y = Tool->YValue();
    const std::int32_t tx = p.X + k.Dx + 15, ty = p.Y + k.Dy + 11;
    Chart->MouseMove(0, tx, ty);
    EXPECT_EQ(Tool->XValue(), k.State >= 2 ? Bottom().CalcPosPoint(tx) : x);
    EXPECT_EQ(Tool->YValue(), k.State == 1 || k.State == 3 ? Left().CalcPosPoint(ty) : y);
    Chart->MouseUp(mbLeft, 0, tx, ty);
    EXPECT_EQ(Tool->DragState(), 0);
  }
  // Three drags reported, and the last press (beside the lines) drew a zoom rectangle instead.
  EXPECT_EQ(Changes.size(), 4u);
  EXPECT_NE(Tool->Position(), c);
}

TEST_F(CursorFixture, FollowingTheMouseAPressDoesNothingAndTheLinesFollowInsideTheAxes) {
  Tool->SetFollowMouse(true);
  const TPoint c = Tool->Position();
  Chart->MouseDown(mbLeft, 0, c.X, c.Y);
  EXPECT_EQ(Tool->DragState(), 0);
  Chart->MouseUp(mbLeft, 0, c.X, c.Y);
  Chart->MouseMove(0, c.X - 50, c.Y + 30);
  EXPECT_EQ(Tool->Position(), (TPoint{c.X - 50, c.Y + 30}));
  EXPECT_EQ(Tool->XValue(), Bottom().CalcPosPoint(c.X - 50));
  // Outside the axes the lines stay.
  Chart->MouseMove(0, Bottom().IEndPos() + 5, c.Y);
  EXPECT_EQ(Tool->Position(), (TPoint{c.X - 50, c.Y + 30}));
  ASSERT_EQ(Changes.size(), 2u);
  EXPECT_EQ(Changes[1].XValue, Tool->XValue());
}

TEST_F(CursorFixture, SnappingMovesOnlyTheValuesOfItsStyle) {
  Tool->SetFollowMouse(true);
  Tool->SetSnap(true);
  Tool->SetSeries(Series);
  const struct {
    TCursorToolStyle Style;
    bool X, Y;
  } cases[] = {{cssVertical, true, false}, {cssHorizontal, false, true}, {cssBoth, true, true}};
  const TPoint p3 = PointPixel(3);
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Style));
    Tool->SetStyle(c.Style);
    const std::int32_t mx = p3.X + 4, my = p3.Y - 5;
    Chart->MouseMove(0, mx, my);
    EXPECT_EQ(Tool->XValue(), c.X ? 3.0 : Bottom().CalcPosPoint(mx));
    EXPECT_EQ(Tool->YValue(), c.Y ? 30.0 : Left().CalcPosPoint(my));
    EXPECT_EQ(Changes.back().Index, 3);
    EXPECT_EQ(Changes.back().Series, Series);
  }
}

// Binding the cursor to a series snaps it to the series' nearest point and
// leaves the drawing to the next pass: the picture is only marked stale.
TEST_F(CursorFixture, SettingTheSeriesSnapsWithoutDrawingAndTheNextPassShowsTheLines) {
  Tool->SetSnap(true);
  const TPoint c = Tool->Position();
  const TPoint p3 = PointPixel(3);
  Chart->MouseDown(mbLeft, 0, c.X, c.Y);
  Chart->MouseMove(0, p3.X + 9, p3.Y - 8);
  Chart->MouseUp(mbLeft, 0, p3.X + 9, p3.Y - 8);
  ASSERT_EQ(Tool->Position(), (TPoint{p3.X + 9, p3.Y - 8}));
  const QImage before = PaintPicture(*Chart);
  const int invalidates = Host.Invalidates;
  Tool->SetSeries(Series);
  EXPECT_EQ(Tool->Position(), p3);
  EXPECT_EQ(Picture(*Chart), before);
  EXPECT_GT(Host.Invalidates, invalidates);
  const QImage after = PaintPicture(*Chart);
  const std::int32_t y = Left().IStartPos() + 5;
  EXPECT_NE(after.pixel(p3.X, y), before.pixel(p3.X, y));
  EXPECT_NE(after.pixel(p3.X + 9, y), before.pixel(p3.X + 9, y));
}

TEST_F(CursorFixture, TheLinesMoveInXorAndComingBackRestoresThePictureBitForBit) {
  const QImage before = Picture(*Chart);
  const TPoint c = Tool->Position();
  Chart->MouseDown(mbLeft, 0, c.X, c.Y);
  Chart->MouseMove(0, c.X + 37, c.Y - 21);
  EXPECT_NE(Picture(*Chart), before);
  Chart->MouseMove(0, c.X, c.Y);
  Chart->MouseUp(mbLeft, 0, c.X, c.Y);
  EXPECT_EQ(Picture(*Chart), before);
}

TEST_F(CursorFixture, TheLinesShowInThePensColourOverTheChartsColour) {
  Tool->Pen()->SetColor(clRed);
  const TPoint c = Tool->Position();
  const std::int32_t x = Bottom().IStartPos() + 3;
  Tool->SetActive(false);
  const TColor under = FromQRgb(PaintPicture(*Chart).pixel(x, c.Y));
  Tool->SetActive(true);
  const TColor over = FromQRgb(PaintPicture(*Chart).pixel(x, c.Y));
  EXPECT_EQ(over, (under ^ ColorToRGB(clRed) ^ ColorToRGB(Chart->Color())) & 0xFFFFFF);
}

class NearestFixture : public ToolChartFixture {
 protected:
  void SetUp() override {
    ToolChartFixture::SetUp();
    Tool = new TNearestTool(Chart.get());
    Tool->SetParentChart(Chart.get());
    Tool->SetSeries(Series);
    Tool->OnChange = [this](TNearestTool&) { ++Changes; };
  }
  TNearestTool* Tool = nullptr;
  int Changes = 0;
};

TEST_F(NearestFixture, TheNearestPointInsideTheChartIsMarked) {
  const TPoint p = PointPixel(4);
  Chart->MouseMove(0, p.X + 6, p.Y - 7);
  EXPECT_EQ(Tool->Point(), 4);
  EXPECT_EQ(Tool->MousePoint(), (TPoint{p.X + 6, p.Y - 7}));
  EXPECT_EQ(Changes, 1);
  // Points outside the chart rectangle are never chosen.
  Bottom().SetMinMax(0, 5);
  PaintPicture(*Chart);
  const TPoint p8 = PointPixel(8);
  EXPECT_FALSE(PointInRect(Chart->ChartRect(), p8.X, p8.Y));
  Chart->MouseMove(0, p8.X, PointPixel(5).Y);
  EXPECT_EQ(Tool->Point(), 5);
}

TEST_F(NearestFixture, ATieKeepsTheEarlierPoint) {
  Series->Clear();
  for (int i = 0; i < 3; ++i) Series->AddXY(5, 50);
  PaintPicture(*Chart);
  const TPoint p = PointPixel(0);
  EXPECT_EQ(Tool->GetNearestPoint(p.X + 3, p.Y), 0);
}

TEST_F(NearestFixture, FarAwayMousePositionsFindNothingWithoutOverflow) {
  constexpr std::int32_t far = std::numeric_limits<std::int32_t>::max() - 1;
  EXPECT_EQ(Tool->GetNearestPoint(far, far), -1);
  EXPECT_EQ(Tool->GetNearestPoint(-far, 10), -1);
  const TPoint p = PointPixel(0);
  EXPECT_EQ(Tool->GetNearestPoint(p.X, p.Y + 9999), 0);
  EXPECT_EQ(Tool->GetNearestPoint(p.X, p.Y + 10000), -1);
}

TEST_F(NearestFixture, InvertedMarkersComeAndGoWithoutARepaint) {
  Tool->SetFullRepaint(false);
  // A white pen in NOT-XOR changes no pixel: the marker needs a dark one.
  Tool->Pen()->SetColor(clBlack);
  const struct {
    TNearestToolStyle Style;
    int Point;
  } cases[] = {{hsCircle, 6}, {hsRectangle, 2}, {hsDiamond, 8}, {hsNone, 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Style));
    Tool->SetStyle(c.Style);
    const QImage before = PaintPicture(*Chart);
    const TPoint p = PointPixel(c.Point);
    const int invalidates = Host.Invalidates;
    Chart->MouseMove(0, p.X + 5, p.Y + 5);
    EXPECT_EQ(Tool->Point(), c.Point);
    EXPECT_NE(Picture(*Chart), before);
    EXPECT_FALSE(dynamic_cast<TKivCanvas3D&>(Chart->Canvas()).Dirty());
    EXPECT_GT(Host.Invalidates, invalidates);
    // The same move again erases the marker and draws it in the same place.
    const QImage marked = Picture(*Chart);
    Chart->MouseMove(0, p.X + 5, p.Y + 5);
    EXPECT_EQ(Picture(*Chart), marked);
  }
}

TEST_F(NearestFixture, WithFullRepaintEachMoveRepaintsTheChart) {
  PaintPicture(*Chart);
  const TPoint p = PointPixel(2);
  Chart->MouseMove(0, p.X, p.Y);
  EXPECT_TRUE(dynamic_cast<TKivCanvas3D&>(Chart->Canvas()).Dirty());
  // The pass draws the marker around the point in the white pen.
  const QImage marked = PaintPicture(*Chart);
  Tool->SetActive(false);
  const QImage plain = PaintPicture(*Chart);
  int changed = 0;
  for (int dy = -21; dy <= 21; ++dy)
    for (int dx = -21; dx <= 21; ++dx)
      if (marked.pixel(p.X + dx, p.Y + dy) != plain.pixel(p.X + dx, p.Y + dy)) {
        ++changed;
        EXPECT_EQ(FromQRgb(marked.pixel(p.X + dx, p.Y + dy)), clWhite) << dx << "," << dy;
      }
  EXPECT_GT(changed, 20);
}

TEST_F(NearestFixture, WithoutSeriesMovesDoNothing) {
  Tool->SetSeries(nullptr);
  Chart->MouseMove(0, 100, 100);
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(Tool->Point(), -1);
}

}  // namespace
}  // namespace chart

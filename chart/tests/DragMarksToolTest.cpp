// Covers chart/tools/DragMarksTool.cpp: a mark picked by a press and dragged to a
// custom place, its arrow keeping its start at the point, the cursor over a
// mark, and a drag whose series goes.
#include <gtest/gtest.h>

#include "ToolTestSupport.h"
#include "chart/series/SeriesMarks.h"
#include "chart/tools/DragMarksTool.h"

namespace chart {
namespace {

using testing::PaintPicture;
using testing::ToolChartFixture;

class DragMarksFixture : public ToolChartFixture {
 protected:
  void SetUp() override {
    ToolChartFixture::SetUp();
    Series->Marks()->SetVisible(true);
    Tool = new TDragMarksTool(Chart.get());
    Tool->SetParentChart(Chart.get());
    PaintPicture(*Chart);
  }
  TSeriesMarkPosition& Mark(int index) const { return *Series->Marks()->Positions().Position(index); }
  TPoint MarkCentre(int index) const {
    const TRect b = Mark(index).Bounds();
    return {(b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2};
  }
  TDragMarksTool* Tool = nullptr;
};

TEST_F(DragMarksFixture, ADraggedMarkBecomesCustomAndItsArrowKeepsItsStart) {
  ASSERT_NE(Series->Marks()->Positions().Position(4), nullptr);
  const TSeriesMarkPosition before = Mark(4);
  const TPoint c = MarkCentre(4);
  Chart->MouseDown(mbLeft, 0, c.X, c.Y);
  EXPECT_EQ(Tool->DraggedSeries(), Series);
  EXPECT_EQ(Tool->DraggedIndex(), 4);
  Chart->MouseMove(0, c.X + 10, c.Y - 4);
  Chart->MouseMove(0, c.X + 25, c.Y - 30);
  Chart->MouseUp(mbLeft, 0, c.X + 25, c.Y - 30);
  const TSeriesMarkPosition& after = Mark(4);
  EXPECT_TRUE(after.Custom);
  EXPECT_EQ(after.LeftTop, (TPoint{before.LeftTop.X + 25, before.LeftTop.Y - 30}));
  EXPECT_EQ(after.ArrowTo, (TPoint{before.ArrowTo.X + 25, before.ArrowTo.Y - 30}));
  EXPECT_EQ(after.ArrowFrom, before.ArrowFrom);
  EXPECT_EQ(Tool->DraggedSeries(), nullptr);
  EXPECT_FALSE(Chart->Zoomed());
  // The next drawing keeps the mark where it was put.
  PaintPicture(*Chart);
  EXPECT_EQ(Mark(4).LeftTop, after.LeftTop);
}

TEST_F(DragMarksFixture, OverAMarkTheCursorIsAHand) {
  const TPoint c = MarkCentre(7);
  Chart->MouseMove(0, c.X, c.Y);
  EXPECT_EQ(Host.Cursor(), crHandPoint);
  Series->Marks()->SetVisible(false);
  TChartSeries* s = nullptr;
  int index = -1;
  EXPECT_FALSE(Tool->MarkAt(c.X, c.Y, s, index));
}

TEST_F(DragMarksFixture, ASeriesFreedMidDragEndsTheDrag) {
  const TPoint c = MarkCentre(2);
  Chart->MouseDown(mbLeft, 0, c.X, c.Y);
  delete Series;
  Series = nullptr;
  EXPECT_EQ(Tool->DraggedSeries(), nullptr);
  Chart->MouseMove(0, c.X + 10, c.Y);
  Chart->MouseUp(mbLeft, 0, c.X + 10, c.Y);
}

}  // namespace
}  // namespace chart

// Covers chart/tools/DragPointTool.cpp: picking a point by a press, the values a
// drag writes by style, the event per move, neighbours that stop a point
// dragged along X, and drags that end because the series or the chart went.
#include <gtest/gtest.h>

#include <vector>

#include "ToolTestSupport.h"
#include "chart/tools/DragPointTool.h"

namespace chart {
namespace {

using testing::ToolChartFixture;

class DragPointFixture : public ToolChartFixture {
 protected:
  void SetUp() override {
    ToolChartFixture::SetUp();
    Tool = new TDragPointTool(Chart.get());
    Tool->SetParentChart(Chart.get());
    Tool->SetSeries(Series);
    Tool->OnDragPoint = [this](TDragPointTool& sender, int index) {
      EXPECT_EQ(&sender, Tool);
      Events.push_back(index);
    };
  }
  TDragPointTool* Tool = nullptr;
  std::vector<int> Events;
};

TEST_F(DragPointFixture, EachStyleWritesItsCoordinatesAndReportsEveryMove) {
  struct TCase {
    TDragPointStyle Style;
    bool X, Y;
  };
  for (const TCase& c : {TCase{dsY, false, true}, TCase{dsX, true, false}, TCase{dsBoth, true, true}}) {
    SCOPED_TRACE(static_cast<int>(c.Style));
    Series->SetXValue(5, 5);
    Series->SetYValue(5, 50);
    Events.clear();
    Tool->SetDragStyle(c.Style);
    const TPoint p = PointPixel(5);
    Chart->MouseDown(mbLeft, 0, p.X + 2, p.Y - 3);
    EXPECT_EQ(Tool->DraggedIndex(), 5);
    // Small moves keep the point between its neighbours at 4 and 6.
    const std::int32_t x1 = p.X + 9, y1 = p.Y - 40, x2 = p.X - 7, y2 = p.Y + 25;
    Chart->MouseMove(0, x1, y1);
    EXPECT_EQ(Series->XValues()->Value(5), c.X ? Bottom().CalcPosPoint(x1) : 5.0);
    EXPECT_EQ(Series->YValues()->Value(5), c.Y ? Left().CalcPosPoint(y1) : 50.0);
    Chart->MouseMove(0, x2, y2);
    EXPECT_EQ(Series->XValues()->Value(5), c.X ? Bottom().CalcPosPoint(x2) : 5.0);
    EXPECT_EQ(Series->YValues()->Value(5), c.Y ? Left().CalcPosPoint(y2) : 50.0);
    Chart->MouseUp(mbLeft, 0, x2, y2);
    EXPECT_EQ(Events, (std::vector<int>{5, 5}));
    // The press picked a point: the chart neither zoomed nor panned.
    EXPECT_FALSE(Chart->Zoomed());
    // After the release a move drags nothing.
    const double x = Series->XValues()->Value(5), y = Series->YValues()->Value(5);
    Chart->MouseMove(0, p.X + 30, p.Y + 30);
    EXPECT_EQ(Series->XValues()->Value(5), x);
    EXPECT_EQ(Series->YValues()->Value(5), y);
    EXPECT_EQ(Events.size(), 2u);
  }
}

TEST_F(DragPointFixture, APressBesideEveryPointLeavesTheChartToZoom) {
  const TPoint p = PointPixel(5);
  Chart->MouseDown(mbLeft, 0, p.X + 20, p.Y + 20);
  EXPECT_EQ(Tool->DraggedIndex(), -1);
  Chart->MouseMove(0, p.X + 150, p.Y + 120);
  Chart->MouseUp(mbLeft, 0, p.X + 150, p.Y + 120);
  EXPECT_TRUE(Events.empty());
  EXPECT_TRUE(Chart->Zoomed());
  for (int i = 0; i <= 10; ++i) EXPECT_EQ(Series->YValues()->Value(i), i * 10.0);
}

TEST_F(DragPointFixture, AnyButtonPicks) {
  const TPoint p = PointPixel(2);
  Chart->MouseDown(mbRight, 0, p.X, p.Y);
  Chart->MouseMove(0, p.X, p.Y - 10);
  EXPECT_EQ(Events, std::vector<int>{2});
  EXPECT_EQ(Series->YValues()->Value(2), Left().CalcPosPoint(p.Y - 10));
}

TEST_F(DragPointFixture, AlongXAPointStopsAtItsNeighbours) {
  Tool->SetDragStyle(dsX);
  const TPoint p = PointPixel(5);
  Chart->MouseDown(mbLeft, 0, p.X, p.Y);
  Chart->MouseMove(0, PointPixel(8).X, p.Y);
  EXPECT_EQ(Series->XValues()->Value(5), 6.0);
  Chart->MouseMove(0, PointPixel(1).X, p.Y);
  EXPECT_EQ(Series->XValues()->Value(5), 4.0);
  // The first and the last point have one neighbour only.
  Chart->MouseUp(mbLeft, 0, p.X, p.Y);
  const TPoint last = PointPixel(10);
  Chart->MouseDown(mbLeft, 0, last.X, last.Y);
  Chart->MouseMove(0, last.X + 40, last.Y);
  EXPECT_EQ(Series->XValues()->Value(10), Bottom().CalcPosPoint(last.X + 40));
  Chart->MouseMove(0, PointPixel(3).X, last.Y);
  EXPECT_EQ(Series->XValues()->Value(10), 9.0);
  Chart->MouseUp(mbLeft, 0, last.X, last.Y);
  EXPECT_EQ(Events, (std::vector<int>{5, 5, 10, 10}));
  for (int i = 1; i < Series->Count(); ++i)
    EXPECT_LE(Series->XValues()->Value(i - 1), Series->XValues()->Value(i)) << i;
  EXPECT_TRUE(Series->XValues()->KnownInOrder());
  // The index picked at the press stays the reported one.
  EXPECT_EQ(Series->Count(), 11);
}

TEST_F(DragPointFixture, WithoutSeriesTheToolDoesNothing) {
  Tool->SetSeries(nullptr);
  const TPoint p = PointPixel(5);
  Chart->MouseDown(mbLeft, 0, p.X, p.Y);
  Chart->MouseMove(0, p.X, p.Y - 30);
  EXPECT_TRUE(Events.empty());
  EXPECT_EQ(Series->YValues()->Value(5), 50.0);
}

TEST_F(DragPointFixture, FreeingTheSeriesMidDragEndsTheDragSilently) {
  const TPoint p = PointPixel(5);
  Chart->MouseDown(mbLeft, 0, p.X, p.Y);
  Chart->MouseMove(0, p.X, p.Y - 5);
  delete Series;
  Series = nullptr;
  EXPECT_EQ(Tool->Series(), nullptr);
  Chart->MouseMove(0, p.X, p.Y - 30);
  Chart->MouseUp(mbLeft, 0, p.X, p.Y - 30);
  EXPECT_EQ(Events, std::vector<int>{5});
}

TEST_F(DragPointFixture, PointsDeletedUnderTheDragEndIt) {
  const TPoint p = PointPixel(10);
  Chart->MouseDown(mbLeft, 0, p.X, p.Y);
  Series->Delete(10);
  Chart->MouseMove(0, p.X, p.Y - 30);
  EXPECT_TRUE(Events.empty());
  EXPECT_EQ(Tool->DraggedIndex(), -1);
}

TEST_F(DragPointFixture, ClosingTheChartMidDragFreesTheTool) {
  const TPoint p = PointPixel(5);
  Chart->MouseDown(mbLeft, 0, p.X, p.Y);
  Chart->MouseMove(0, p.X, p.Y - 5);
  Chart.reset();  // the tool and the series go with the chart
  EXPECT_EQ(Events, std::vector<int>{5});
}

}  // namespace
}  // namespace chart

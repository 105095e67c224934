// Covers chart/tools/ColorLineTool.cpp: the value the line marks by its style,
// the limit to the axis range, the hit test across the line, dragging in XOR
// over the chart's picture, the events of a drag, and which pass draws what.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ToolTestSupport.h"
#include "chart/testing/RecordingCanvas.h"
#include "chart/tools/ColorLineTool.h"

namespace chart {
namespace {

using testing::PaintPicture;
using testing::Picture;
using testing::ToolChartFixture;

class ColorLineFixture : public ToolChartFixture {
 protected:
  void SetUp() override {
    ToolChartFixture::SetUp();
    Tool = new TColorLineTool(Chart.get());
    Tool->SetAxis(Chart->BottomAxis());
    Tool->SetValue(4);
    Tool->OnDragLine = [this](TColorLineTool&) { ++Drags; };
    Tool->OnEndDragLine = [this](TColorLineTool&) { ++Ends; };
    PaintPicture(*Chart);
  }
  std::int32_t LinePixel() const { return Tool->Axis()->CalcPosValue(Tool->LineValue()); }
  std::int32_t MidY() const { return (Chart->ChartRect().Top + Chart->ChartRect().Bottom) / 2; }

  TColorLineTool* Tool = nullptr;
  int Drags = 0, Ends = 0;
};

TEST_F(ColorLineFixture, StylesMarkTheAxisEndsAndCentreAndFollowThem) {
  Bottom().SetMinMax(2, 8);
  const struct {
    TColorLineStyle Style;
    double Want;
  } cases[] = {{clMaximum, 8}, {clMinimum, 2}, {clCenter, 5}, {clCustom, 4}};
  for (const auto& c : cases) {
    Tool->SetStyle(c.Style);
    EXPECT_EQ(Tool->LineValue(), c.Want) << static_cast<int>(c.Style);
  }
  Tool->SetStyle(clCenter);
  Bottom().SetMinMax(0, 3);
  EXPECT_EQ(Tool->LineValue(), 1.5);
  // Setting a value makes the style custom.
  Tool->SetValue(2.5);
  EXPECT_EQ(Tool->Style(), clCustom);
  EXPECT_EQ(Tool->LineValue(), 2.5);
}

TEST_F(ColorLineFixture, APressTwoPixelsAwayPicksTheLineThreeDoNot) {
  const std::int32_t p = LinePixel();
  const struct {
    std::int32_t Dx;
    bool Picked;
  } cases[] = {{0, true}, {2, true}, {-2, true}, {3, false}, {-3, false}};
  for (const auto& c : cases) {
    Chart->MouseDown(mbLeft, 0, p + c.Dx, MidY());
    EXPECT_EQ(Tool->Dragging(), c.Picked) << c.Dx;
    Chart->MouseUp(mbLeft, 0, p + c.Dx, MidY());
  }
  // Along the line only the chart rectangle counts, its edges included.
  const TRect r = Chart->ChartRect();
  EXPECT_TRUE(Tool->Clicked(p, r.Top));
  EXPECT_TRUE(Tool->Clicked(p, r.Bottom));
  EXPECT_FALSE(Tool->Clicked(p, r.Bottom + 1));
  // On a vertical axis the distance is measured along Y.
  Tool->SetAxis(Chart->LeftAxis());
  Tool->SetValue(50);
  const std::int32_t q = LinePixel();
  EXPECT_TRUE(Tool->Clicked(r.Left + 10, q + 2));
  EXPECT_FALSE(Tool->Clicked(r.Left + 10, q - 3));
  EXPECT_FALSE(Tool->Clicked(r.Left - 1, q));
}

TEST_F(ColorLineFixture, ADragMovesTheValueAndFiresItsEvents) {
  Tool->SetStyle(clCenter);
  const std::int32_t p = LinePixel();
  Chart->MouseDown(mbLeft, 0, p, MidY());
  ASSERT_TRUE(Tool->Dragging());
  Chart->MouseMove(0, p + 40, MidY());
  EXPECT_EQ(Tool->Style(), clCustom);
  EXPECT_EQ(Tool->Value(), Bottom().CalcPosPoint(p + 40));
  EXPECT_EQ(Drags, 1);
  EXPECT_EQ(Ends, 0);
  Chart->MouseUp(mbLeft, 0, p + 40, MidY());
  EXPECT_FALSE(Tool->Dragging());
  EXPECT_EQ(Ends, 1);
  // The press picked the line: no zoom rectangle was started.
  EXPECT_FALSE(Chart->Zoomed());
  // A release without a drag ends one too.
  Chart->MouseDown(mbLeft, 0, p + 100, MidY());
  Chart->MouseUp(mbLeft, 0, p + 100, MidY());
  EXPECT_EQ(Ends, 2);
  EXPECT_EQ(Drags, 1);
}

TEST_F(ColorLineFixture, DraggedPastTheChartEdgeTheLineStopsAtTheAxisEnd) {
  const std::int32_t p = LinePixel();
  Chart->MouseDown(mbLeft, 0, p, MidY());
  Chart->MouseMove(0, Chart->ChartRect().Right + 80, MidY());
  EXPECT_EQ(Tool->Value(), Bottom().CalcPosPoint(Bottom().IEndPos()));
  Chart->MouseMove(0, -50, MidY());
  EXPECT_EQ(Tool->Value(), Bottom().CalcPosPoint(Bottom().IStartPos()));
  Chart->MouseUp(mbLeft, 0, -50, MidY());
  // A value set outside the range is pulled in when the line is drawn.
  Tool->SetValue(1e6);
  PaintPicture(*Chart);
  EXPECT_EQ(Tool->Value(), Bottom().CalcPosPoint(Bottom().IEndPos()));
  // Without the limit the value goes where the mouse goes.
  Tool->SetNoLimitDrag(true);
  Tool->SetValue(1e6);
  PaintPicture(*Chart);
  EXPECT_EQ(Tool->Value(), 1e6);
}

TEST_F(ColorLineFixture, OnAnInvertedAxisTheLimitIsTheSameRange) {
  Bottom().SetInverted(true);
  PaintPicture(*Chart);
  // The end pixels show the right end first; the range between them is the same.
  const double high = Bottom().CalcPosPoint(Bottom().IStartPos());
  const double low = Bottom().CalcPosPoint(Bottom().IEndPos());
  ASSERT_LT(low, high);
  for (double v : {low + 1, (low + high) / 2, high - 1}) EXPECT_EQ(Tool->LimitValue(v), v);
  EXPECT_EQ(Tool->LimitValue(high + 100), high);
  EXPECT_EQ(Tool->LimitValue(low - 100), low);
}

TEST_F(ColorLineFixture, DraggingDrawsInXorOverThePictureAndBackRestoresItBitForBit) {
  const QImage before = Picture(*Chart);
  const std::int32_t p = LinePixel(), y = MidY();
  const int invalidates = Host.Invalidates;
  Chart->MouseDown(mbLeft, 0, p, y);
  Chart->MouseMove(0, p + 60, y);
  const QImage moved = Picture(*Chart);
  EXPECT_NE(moved, before);
  // The line left its old place and stands at the new one.
  EXPECT_NE(moved.pixel(p, y + 3), before.pixel(p, y + 3));
  EXPECT_NE(moved.pixel(p + 60, y + 3), before.pixel(p + 60, y + 3));
  EXPECT_GT(Host.Invalidates, invalidates);
  // Only the picture changed: no pass ran.
  EXPECT_EQ(Host.Repaints, 0);
  Chart->MouseMove(0, p, y);
  EXPECT_EQ(Picture(*Chart), before);
  Chart->MouseUp(mbLeft, 0, p, y);
}

TEST_F(ColorLineFixture, OverTheLineTheCursorSplits) {
  Chart->MouseMove(0, LinePixel() + 1, MidY());
  EXPECT_EQ(Host.Cursor(), crHSplit);
  Tool->SetAxis(Chart->LeftAxis());
  Tool->SetValue(50);
  Chart->MouseMove(0, Chart->ChartRect().Left + 20, LinePixel());
  EXPECT_EQ(Host.Cursor(), crVSplit);
}

TEST_F(ColorLineFixture, WithoutAllowDragPressesPassThrough) {
  Tool->SetAllowDrag(false);
  const std::int32_t p = LinePixel();
  Chart->MouseDown(mbLeft, 0, p, MidY());
  EXPECT_FALSE(Tool->Dragging());
  Chart->MouseUp(mbLeft, 0, p, MidY());
  EXPECT_EQ(Ends, 0);
}

// The lines each pass asks of the surface, as the recording surface logs them.
std::vector<std::string> PassLines(TColorLineTool& tool, TCustomAxisPanel& chart, TChartToolEvent event) {
  auto* rec = new testing::TRecordingCanvas();
  chart.ReplaceCanvas(std::unique_ptr<TCanvas3D>(rec));
  tool.ChartEvent(event);
  return rec->Calls("Line");
}

TEST_F(ColorLineFixture, DrawBehindWithout3DDrawsInTheBackPassOnly) {
  Tool->SetDraw3D(false);
  Tool->SetDrawBehind(true);
  EXPECT_FALSE(PassLines(*Tool, *Chart, cteBeforeDrawSeries).empty());
  EXPECT_TRUE(PassLines(*Tool, *Chart, cteAfterDraw).empty());
  Tool->SetDrawBehind(false);
  EXPECT_TRUE(PassLines(*Tool, *Chart, cteBeforeDrawSeries).empty());
  EXPECT_FALSE(PassLines(*Tool, *Chart, cteAfterDraw).empty());
}

}  // namespace
}  // namespace chart

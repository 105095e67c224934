// Covers chart/tools/AnnotationTool.cpp: the box around the text at each corner or
// at a position of its own, one blank for an empty text, several lines, the
// click and cursor over the box, and the callout from the box's edge.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "ToolTestSupport.h"
#include "chart/testing/RecordingCanvas.h"
#include "chart/tools/AnnotationTool.h"

namespace chart {
namespace {

using testing::PaintPicture;
using testing::ToolChartFixture;

class AnnotationFixture : public ToolChartFixture {
 protected:
  void SetUp() override {
    ToolChartFixture::SetUp();
    Tool = new TAnnotationTool(Chart.get());
    Tool->SetParentChart(Chart.get());
  }
  // Width and height of text in the annotation's font.
  std::int32_t TextWidth(const std::string& text) {
    Chart->Canvas().AssignFont(*Tool->Shape()->Font());
    return Chart->Canvas().TextWidth(text);
  }
  std::int32_t LineHeight() {
    Chart->Canvas().AssignFont(*Tool->Shape()->Font());
    return Chart->Canvas().FontHeight();
  }
  TAnnotationTool* Tool = nullptr;
};

TEST_F(AnnotationFixture, AnEmptyTextGetsABoxAroundOneBlank) {
  PaintPicture(*Chart);
  const std::int32_t w = TextWidth(" "), h = LineHeight();
  EXPECT_EQ(Tool->Shape()->ShapeBounds(), (TRect{6, 8, 10 + w + 2, 10 + h + 2}));
}

TEST_F(AnnotationFixture, EachCornerPlacesTheBoxAndLinesStackUp) {
  Tool->SetText("Close 12.5\r\nLow 11");
  const std::int32_t w = TextWidth("Close 12.5"), h = 2 * LineHeight();
  const std::int32_t W = Chart->Width(), H = Chart->Height();
  const struct {
    TAnnotationPosition Position;
    std::int32_t X, Y;
  } cases[] = {{ppLeftTop, 10, 10}, {ppLeftBottom, 10, H - h - 8}, {ppRightTop, W - w - 8, 10},
               {ppRightBottom, W - w - 8, H - h - 8}};
  for (const auto& c : cases) {
    Tool->SetPosition(c.Position);
    PaintPicture(*Chart);
    EXPECT_EQ(Tool->Shape()->ShapeBounds(), (TRect{c.X - 4, c.Y - 2, c.X + w + 2, c.Y + h + 2}))
        << static_cast<int>(c.Position);
  }
}

TEST_F(AnnotationFixture, APositionOfItsOwnUntilACornerIsChosen) {
  Tool->SetText("A");
  Tool->Shape()->SetLeft(200);
  Tool->Shape()->SetTop(120);
  EXPECT_TRUE(Tool->Shape()->CustomPosition());
  PaintPicture(*Chart);
  EXPECT_EQ(Tool->Shape()->ShapeBounds().Left, 200);
  EXPECT_EQ(Tool->Shape()->ShapeBounds().Top, 120);
  Tool->SetPosition(ppRightBottom);
  EXPECT_FALSE(Tool->Shape()->CustomPosition());
}

TEST_F(AnnotationFixture, TheBoxIsDrawnWithItsText) {
  Tool->SetText("WWWW");
  Tool->Shape()->SetColor(clYellow);
  const QImage picture = PaintPicture(*Chart);
  const TRect b = Tool->Shape()->ShapeBounds();
  EXPECT_EQ(FromQRgb(picture.pixel(b.Left + 2, b.Top + 1)), clYellow);
  int dark = 0;
  for (std::int32_t x = b.Left + 4; x < b.Right - 2; ++x)
    for (std::int32_t y = b.Top + 2; y < b.Bottom - 2; ++y) dark += FromQRgb(picture.pixel(x, y)) == clBlack;
  EXPECT_GT(dark, 10);
}

TEST_F(AnnotationFixture, APressOnTheBoxIsItsClickAndTheCursorIsItsOwn) {
  PaintPicture(*Chart);
  int clicks = 0;
  Tool->OnClick = [&](TAnnotationTool&, TMouseButton button, TShiftState, std::int32_t, std::int32_t) {
    EXPECT_EQ(button, mbRight);
    ++clicks;
  };
  const TRect b = Tool->Shape()->ShapeBounds();
  Chart->MouseDown(mbRight, 0, b.Left + 1, b.Top + 1);
  Chart->MouseUp(mbRight, 0, b.Left + 1, b.Top + 1);
  Chart->MouseDown(mbRight, 0, b.Right + 1, b.Top + 1);
  Chart->MouseUp(mbRight, 0, b.Right + 1, b.Top + 1);
  EXPECT_EQ(clicks, 1);
  Chart->MouseMove(0, b.Left + 1, b.Top + 1);
  EXPECT_TRUE(Host.Cursors.empty() || Host.Cursor() != crHandPoint);
  Tool->SetCursor(crHandPoint);
  Chart->MouseMove(0, b.Left + 1, b.Top + 1);
  EXPECT_EQ(Host.Cursor(), crHandPoint);
}

TEST_F(AnnotationFixture, TheCalloutLeavesTheBoxOnTheSideOfItsPoint) {
  Tool->SetText("Peak");
  Tool->Callout()->Arrow()->SetVisible(true);
  Tool->Callout()->SetXPosition(300);
  Tool->Callout()->SetYPosition(200);
  PaintPicture(*Chart);
  auto* rec = new testing::TRecordingCanvas();
  Chart->ReplaceCanvas(std::unique_ptr<TCanvas3D>(rec));
  Tool->ChartEvent(cteAfterDraw);
  const TRect box = Tool->Shape()->ShapeBounds();
  EXPECT_EQ(rec->Calls("MoveTo " + std::to_string(box.Right) + "," + std::to_string(box.Bottom)).size(), 1u);
  EXPECT_EQ(rec->Calls("LineTo 300,200").size(), 1u);
  // A point level with the box takes the middle of its side.
  Tool->Callout()->SetXPosition(box.Left - 50);
  Tool->Callout()->SetYPosition((box.Top + box.Bottom) / 2);
  rec->Log.clear();
  Tool->ChartEvent(cteAfterDraw);
  EXPECT_EQ(rec->Calls("MoveTo " + std::to_string(box.Left) + "," + std::to_string((box.Top + box.Bottom) / 2)).size(),
            1u);
}

}  // namespace
}  // namespace chart

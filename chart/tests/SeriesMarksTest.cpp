// Covers chart/series/SeriesMarks.cpp and the mark drawing of chart/series/SeriesTexts.cpp:
// where marks are drawn and remembered, marks the user moved, every n-th
// mark, hit tests, multi-line texts, the callout's lift and the anti-overlap.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/ChartControl.h"
#include "chart/series/SeriesMarks.h"
#include "chart/testing/RecordedChart.h"
#include "chart/testing/TestPointSeries.h"

namespace chart {
namespace {

using testing::TRecordedChart;
using testing::TTestPointSeries;

class MarksFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Series = R.Add<TTestPointSeries>();
    Series->Pointer()->SetVisible(false);
    for (int i = 0; i < 5; ++i) Series->AddXY(i, 10 + i);
    Marks().SetVisible(true);
    Marks().SetStyle(smsValue);
    Marks().Pen()->SetVisible(false);
  }
  TSeriesMarks& Marks() { return *Series->Marks(); }
  std::vector<std::string> Texts() const { return R.Of(*Series, "TextOut"); }
  TRecordedChart R;
  TTestPointSeries* Series = nullptr;
};

// A mark is the text's width plus a "W" wide and one line high plus a pixel
// (no frame), standing on its point; every drawn mark leaves its place.
TEST_F(MarksFixture, MarksStandOnTheirPointsAndLeaveTheirPlaces) {
  R.Draw();
  EXPECT_EQ(Texts().size(), 5u);
  const std::int32_t cw = R.Canvas->CharWidth, lh = R.Canvas->LineHeight;
  for (int i = 0; i < 5; ++i) {
    const TSeriesMarkPosition* p = Marks().Positions().Position(i);
    ASSERT_NE(p, nullptr) << i;
    const std::int32_t w = 2 * cw + cw, h = lh + 1;  // "1x" and a "W"
    EXPECT_EQ(p->Width, w);
    EXPECT_EQ(p->Height, h);
    EXPECT_EQ(p->ArrowTo, (TPoint{Series->CalcXPos(i), Series->CalcYPos(i)}));
    EXPECT_EQ(p->LeftTop, (TPoint{Series->CalcXPos(i) - w / 2, Series->CalcYPos(i) - h + 1}));
    EXPECT_FALSE(p->Custom);
  }
  // The hit test finds a mark by its rectangle.
  const TRect b = Marks().Positions().Position(3)->Bounds();
  EXPECT_EQ(Marks().Clicked(b.Left + 1, b.Top + 1), 3);
  EXPECT_EQ(Marks().Clicked(b.Left - 100, b.Top - 100), -1);
}

TEST_F(MarksFixture, EveryNthMarkAndNothingBelowOne) {
  Marks().SetDrawEvery(2);
  R.Draw();
  EXPECT_EQ(Texts().size(), 3u);  // points 0, 2 and 4
  EXPECT_EQ(Marks().Positions().Position(1), nullptr);
  // The hit test skips what drawing skips.
  const TRect b = Marks().Positions().Position(2)->Bounds();
  EXPECT_EQ(Marks().Clicked(b.Left + 1, b.Top + 1), 2);
  Marks().SetDrawEvery(0);
  EXPECT_EQ(Marks().DrawEvery(), 1);
  Marks().SetDrawEvery(-3);
  EXPECT_EQ(Marks().DrawEvery(), 1);
  R.Draw();
  EXPECT_EQ(Texts().size(), 5u);
}

TEST_F(MarksFixture, NullPointsAndEmptyTextsHaveNoMark) {
  Series->SetValueColor(1, clNullPoint);
  Series->OnGetMarkText = [](TChartSeries&, int index, std::string& text) {
    if (index == 3) text.clear();
  };
  R.Draw();
  EXPECT_EQ(Texts().size(), 3u);
}

TEST_F(MarksFixture, AMarkTheUserMovedStaysWhereItWasPut) {
  R.Draw();
  TSeriesMarkPosition& moved = Marks().Positions().Ensure(2);
  moved.Custom = true;
  moved.LeftTop = {30, 40};
  R.Draw();
  EXPECT_EQ(Marks().Positions().Position(2)->LeftTop, (TPoint{30, 40}));
  const auto texts = Texts();
  const std::string at = "TextOut " + std::to_string(30 + moved.Width / 2) + "," + std::to_string(40 + 2);
  EXPECT_NE(std::find_if(texts.begin(), texts.end(), [&](const std::string& t) { return t.rfind(at, 0) == 0; }),
            texts.end());
  // A mark that was not moved follows its point.
  Series->YValues()->SetValue(3, 0);
  R.Draw();
  EXPECT_EQ(Marks().Positions().Position(3)->ArrowTo.Y, Series->CalcYPos(3));
}

TEST_F(MarksFixture, TwoLinesOneFontHeightApart) {
  Marks().SetStyle(smsXY);
  Marks().SetMultiLine(true);
  R.Draw();
  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 10u);
  const TSeriesMarkPosition& p = *Marks().Positions().Position(0);
  EXPECT_EQ(p.Height, 2 * R.Canvas->LineHeight + 1);
  const std::string x = std::to_string(p.LeftTop.X + p.Width / 2);
  EXPECT_EQ(texts[0].rfind("TextOut " + x + "," + std::to_string(p.LeftTop.Y + 2), 0), 0u) << texts[0];
  EXPECT_EQ(texts[1].rfind("TextOut " + x + "," + std::to_string(p.LeftTop.Y + 2 + R.Canvas->LineHeight), 0), 0u)
      << texts[1];
}

TEST_F(MarksFixture, ItemsGiveSingleMarksTheirOwnLook) {
  EXPECT_EQ(&Marks().MarkItem(1), &Marks());
  TMarksItem& item = Marks().Item(1);
  EXPECT_EQ(&Marks().MarkItem(1), &item);
  EXPECT_EQ(item.Color(), clInfoBk);
  item.SetVisible(false);
  R.Draw();
  EXPECT_EQ(Texts().size(), 4u);
  // Items stay with their points when points come and go.
  Series->Delete(0);
  EXPECT_EQ(&Marks().MarkItem(0), &item);
  // Clearing the series forgets items, unless they came from a stream.
  Marks().Items().LoadedFromStream = true;
  Series->Clear();
  EXPECT_EQ(&Marks().MarkItem(0), &item);
  Marks().Items().LoadedFromStream = false;
  Series->Clear();
  EXPECT_EQ(&Marks().MarkItem(0), &Marks());
}

TEST(SeriesMarks, TheCalloutLiftsTheMarkAndOverlapsMoveItUp) {
  TChart chart;
  auto* s = new TTestPointSeries(&chart);
  s->SetParentChart(&chart);
  TSeriesMarks& m = *s->Marks();
  m.SetArrowLength(10);
  m.Callout()->SetDistance(3);
  TSeriesMarkPosition p;
  p.LeftTop = {0, 100};
  p.ArrowTo = {5, 110};
  p.ArrowFrom = {5, 110};
  m.ApplyArrowLength(p);
  EXPECT_EQ(p.LeftTop.Y, 87);
  EXPECT_EQ(p.ArrowTo.Y, 97);
  EXPECT_EQ(p.ArrowFrom.Y, 107);
  // An earlier mark at 40..60 and this one at 50..70: it moves up to stand on it.
  m.Pen()->SetVisible(false);
  m.Shadow()->SetSize(0);
  TSeriesMarkPosition& earlier = m.Positions().Ensure(0);
  earlier.LeftTop = {0, 40};
  earlier.Width = 20;
  earlier.Height = 20;
  TSeriesMarkPosition current;
  current.LeftTop = {10, 50};
  current.Width = 20;
  current.Height = 20;
  m.AntiOverlap(0, 1, current);
  EXPECT_EQ(current.LeftTop.Y, 20);
  EXPECT_EQ(current.ArrowTo.Y, -30);
}

TEST(SeriesMarks, AssignCopiesTheLookAndTheItems) {
  TTestPointSeries a(nullptr), b(nullptr);
  a.Marks()->SetAngle(45);
  a.Marks()->SetDrawEvery(3);
  a.Marks()->SetMultiLine(true);
  a.Marks()->SetStyle(smsPercent);
  a.Marks()->SetClip(true);
  a.Marks()->Item(2).SetColor(clRed);
  b.Marks()->Assign(*a.Marks());
  EXPECT_EQ(b.Marks()->Angle(), 45);
  EXPECT_EQ(b.Marks()->DrawEvery(), 3);
  EXPECT_TRUE(b.Marks()->MultiLine());
  EXPECT_EQ(b.Marks()->Style(), smsPercent);
  EXPECT_TRUE(b.Marks()->Clip());
  EXPECT_EQ(b.Marks()->MarkItem(2).Color(), clRed);
  EXPECT_NE(&b.Marks()->MarkItem(2), &a.Marks()->MarkItem(2));
}

}  // namespace
}  // namespace chart

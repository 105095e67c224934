// Covers chart/tools/MarksTipTool.cpp and chart/tools/HintService.cpp: the tip text of
// the point under the mouse, shown after the hint pause and not shown again
// for the same text, cleared off the points, by click or by move, changed by
// the program, the pause shared by every chart, and hints that wait for a
// window that goes away.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ToolTestSupport.h"
#include "chart/series/SeriesMarks.h"
#include "chart/tools/MarksTipTool.h"

namespace chart {
namespace {

using testing::ProcessEventsFor;
using testing::ProcessEventsUntil;
using testing::TRecordingHost;
using testing::ToolChartFixture;

class MarksTipFixture : public ToolChartFixture {
 protected:
  void SetUp() override {
    ToolChartFixture::SetUp();
    for (int i = 0; i <= 10; ++i) Series->Labels().SetLabel(i, "Bar " + std::to_string(i) + "\r\nClose " + std::to_string(i * 10));
    Series->Labels().SetLabel(7, Series->Labels().GetLabel(6));
    Tool = new TMarksTipTool(Chart.get());
    Tool->SetParentChart(Chart.get());
    KivHints().SetHintPause(0);  // shown at once unless a test waits for the pause
  }
  void MoveOver(int index, std::int32_t dx = 0) {
    const TPoint p = PointPixel(index);
    Chart->MouseMove(0, p.X + dx, p.Y);
  }
  TPoint Empty() const { return {Chart->ChartRect().Left + 5, Chart->ChartRect().Top + 5}; }

  TMarksTipTool* Tool = nullptr;
};

TEST_F(MarksTipFixture, TheTipOfThePointUnderTheMouseShowsItsMultiLineLabel) {
  MoveOver(3, 2);
  ASSERT_EQ(Host.Hints.size(), 1u);
  EXPECT_EQ(Host.Hints[0].Text, "Bar 3\r\nClose 30");
  const TPoint p = PointPixel(3);
  EXPECT_EQ(Host.Hints[0].ScreenPoint, (TPoint{p.X + 2 + Host.ScreenOrigin.X, p.Y + Host.ScreenOrigin.Y}));
  EXPECT_EQ(Chart->Hint(), "Bar 3\r\nClose 30");
  EXPECT_TRUE(Chart->ShowHint());
  // The marks keep their own style, and the chart repaints as before.
  EXPECT_EQ(Series->Marks()->Style(), smsLabel);
  EXPECT_TRUE(Chart->AutoRepaint());
}

TEST_F(MarksTipFixture, APointWithTheSameTextKeepsTheTipWithoutShowingItAgain) {
  MoveOver(6);
  MoveOver(6, 1);
  MoveOver(7);
  EXPECT_EQ(Host.Hints.size(), 1u);
  MoveOver(8);
  ASSERT_EQ(Host.Hints.size(), 2u);
  EXPECT_EQ(Host.Hints[1].Text, "Bar 8\r\nClose 80");
}

TEST_F(MarksTipFixture, OffThePointsTheTipIsCleared) {
  MoveOver(2);
  Chart->MouseMove(0, Empty().X, Empty().Y);
  EXPECT_EQ(Chart->Hint(), "");
  EXPECT_EQ(Host.Cancels, 1);
  // The same point shows its tip again afterwards.
  MoveOver(2);
  EXPECT_EQ(Host.Hints.size(), 2u);
}

TEST_F(MarksTipFixture, TheToolsStyleBuildsTheText) {
  Tool->SetStyle(smsXY);
  Series->Marks()->SetMultiLine(true);
  MoveOver(4);
  ASSERT_EQ(Host.Hints.size(), 1u);
  EXPECT_EQ(Host.Hints[0].Text, "4\r40");
  EXPECT_EQ(Series->Marks()->Style(), smsLabel);
}

TEST_F(MarksTipFixture, ByClickMovesChangeNothingAndAPressOnEmptyAreaClears) {
  Tool->SetMouseAction(mtmClick);
  MoveOver(5);
  EXPECT_TRUE(Host.Hints.empty());
  const TPoint p = PointPixel(5);
  Chart->MouseDown(mbLeft, 0, p.X, p.Y);
  Chart->MouseUp(mbLeft, 0, p.X, p.Y);
  ASSERT_EQ(Host.Hints.size(), 1u);
  EXPECT_EQ(Chart->Hint(), "Bar 5\r\nClose 50");
  Chart->MouseDown(mbLeft, 0, Empty().X, Empty().Y);
  Chart->MouseUp(mbLeft, 0, Empty().X, Empty().Y);
  EXPECT_EQ(Chart->Hint(), "");
  EXPECT_EQ(Host.Cancels, 1);
}

TEST_F(MarksTipFixture, TheProgramMayChangeTheText) {
  Tool->OnGetText = [](TMarksTipTool&, std::string& text) { text = "[" + text + "]"; };
  MoveOver(1);
  ASSERT_EQ(Host.Hints.size(), 1u);
  EXPECT_EQ(Host.Hints[0].Text, "[Bar 1\r\nClose 10]");
  // A handler that answers the tip already shown leaves it alone.
  Tool->OnGetText = [this](TMarksTipTool&, std::string& text) { text = Chart->Hint(); };
  MoveOver(9);
  EXPECT_EQ(Host.Hints.size(), 1u);
}

TEST_F(MarksTipFixture, SettingTheActionOrSwitchingOffClearsTheChartsHint) {
  MoveOver(1);
  Tool->SetMouseAction(mtmMove);
  EXPECT_EQ(Chart->Hint(), "");
  MoveOver(2);
  Tool->SetActive(false);
  EXPECT_EQ(Chart->Hint(), "");
  MoveOver(3);
  EXPECT_EQ(Host.Hints.size(), 2u);
}

TEST_F(MarksTipFixture, WithSeveralTipToolsNoneClearsTheTip) {
  auto* other = new TMarksTipTool(Chart.get());
  other->SetParentChart(Chart.get());
  other->SetSeries(Series);
  MoveOver(2);
  Chart->MouseMove(0, Empty().X, Empty().Y);
  EXPECT_EQ(Chart->Hint(), "Bar 2\r\nClose 20");
  EXPECT_EQ(Host.Cancels, 0);
}

TEST_F(MarksTipFixture, HiddenSeriesGiveNoTips) {
  Series->SetActive(false);
  MoveOver(2);
  EXPECT_TRUE(Host.Hints.empty());
}

TEST_F(MarksTipFixture, TheTipWaitsForThePauseAndANewerOneReplacesIt) {
  Tool->SetMouseDelay(40);
  MoveOver(2);
  EXPECT_TRUE(Host.Hints.empty());
  EXPECT_TRUE(KivHints().Pending());
  MoveOver(3);
  ASSERT_TRUE(ProcessEventsUntil([&] { return !Host.Hints.empty(); }));
  ASSERT_EQ(Host.Hints.size(), 1u);
  EXPECT_EQ(Host.Hints[0].Text, "Bar 3\r\nClose 30");
  // Leaving the points before the pause has run out shows nothing.
  MoveOver(4);
  Chart->MouseMove(0, Empty().X, Empty().Y);
  EXPECT_FALSE(KivHints().Pending());
  ProcessEventsFor(100);
  EXPECT_EQ(Host.Hints.size(), 1u);
}

TEST_F(MarksTipFixture, ThePauseIsOneForTheWholeProgram) {
  TMarksTipTool second;
  Tool->SetMouseDelay(750);
  EXPECT_EQ(second.MouseDelay(), 750);
  EXPECT_EQ(Host.HintPause(), 750);
  second.SetMouseDelay(-1);
  EXPECT_EQ(Tool->MouseDelay(), 0);
}

TEST_F(MarksTipFixture, AHintWaitingForAWindowThatCloses) {
  Tool->SetMouseDelay(20);
  auto host = std::make_unique<TRecordingHost>();
  Chart->SetHost(host.get());
  MoveOver(5);
  EXPECT_TRUE(KivHints().Pending());
  Chart->SetHost(&Host);
  host.reset();
  EXPECT_FALSE(KivHints().Pending());
  ProcessEventsFor(100);
  EXPECT_TRUE(Host.Hints.empty());
}

TEST_F(MarksTipFixture, ClosingTheChartWhileATipWaits) {
  Tool->SetMouseDelay(20);
  MoveOver(5);
  Chart.reset();
  ASSERT_TRUE(ProcessEventsUntil([&] { return !Host.Hints.empty(); }));
  EXPECT_EQ(Host.Hints[0].Text, "Bar 5\r\nClose 50");
}

}  // namespace
}  // namespace chart

// Covers chart/tools/SeriesAnimationTool.cpp: the frames of a run from the start
// value to the real values, groups of points one after another, at least one
// step, the exact values at the end, a second start while one runs, and runs
// that end because the series, the tool or the chart went.
#include <gtest/gtest.h>

#include <vector>

#include "ToolTestSupport.h"
#include "chart/tools/SeriesAnimationTool.h"

namespace chart {
namespace {

using testing::ProcessEventsUntil;
using testing::ToolChartFixture;

class AnimationFixture : public ToolChartFixture {
 protected:
  void SetUp() override {
    ToolChartFixture::SetUp();
    Tool = new TSeriesAnimationTool(Chart.get());
    Tool->SetParentChart(Chart.get());
    Tool->SetSeries(Series);
    Tool->OnStep = [this](TSeriesAnimationTool&, int step) {
      Steps.push_back(step);
      Frames.emplace_back(Series->YValues()->Values().begin(), Series->YValues()->Values().end());
    };
  }
  bool RunToEnd() {
    Tool->Execute();
    return ProcessEventsUntil([&] { return !Tool->Running(); });
  }
  std::vector<double> Targets() const {
    std::vector<double> v;
    for (int i = 0; i <= 10; ++i) v.push_back(i * 10.0);
    return v;
  }
  TSeriesAnimationTool* Tool = nullptr;
  std::vector<int> Steps;
  std::vector<std::vector<double>> Frames;
};

TEST_F(AnimationFixture, AllPointsRiseTogetherInStepsPlusOneFrames) {
  Tool->SetSteps(4);
  ASSERT_TRUE(RunToEnd());
  EXPECT_EQ(Steps, (std::vector<int>{0, 1, 2, 3, 4}));
  // StartAtMin: every value starts from the smallest one, 0.
  for (int s = 0; s <= 4; ++s)
    for (int i = 0; i <= 10; ++i) EXPECT_EQ(Frames[s][i], (i * 10.0 - 0) * s * (1.0 / 4) + 0) << s << "," << i;
  EXPECT_EQ(Frames.back(), Targets());
  EXPECT_FALSE(Series->Updating());
}

TEST_F(AnimationFixture, GroupsRiseOneAfterAnother) {
  Tool->SetSteps(2);
  Tool->SetDrawEvery(4);
  Tool->SetStartAtMin(false);
  Tool->SetStartValue(-5);
  ASSERT_TRUE(RunToEnd());
  // Eleven points in groups of four: three groups of three frames.
  EXPECT_EQ(Steps, (std::vector<int>{0, 1, 2, 0, 1, 2, 0, 1, 2}));
  // While the first group rises the others wait at the start value.
  EXPECT_EQ(Frames[1][2], (20.0 + 5) * 0.5 - 5);
  EXPECT_EQ(Frames[1][4], -5);
  EXPECT_EQ(Frames[2][3], 30);
  EXPECT_EQ(Frames[4][5], (50.0 + 5) * 0.5 - 5);
  EXPECT_EQ(Frames[4][8], -5);
  EXPECT_EQ(Frames.back(), Targets());
}

TEST_F(AnimationFixture, NoStepsStillEndsOnTheRealValues) {
  for (int steps : {0, -3}) {
    Steps.clear();
    Frames.clear();
    Tool->SetSteps(steps);
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(Steps, (std::vector<int>{0, 1}));
    EXPECT_EQ(Frames.back(), Targets());
  }
}

TEST_F(AnimationFixture, TheLastFrameIsExactFromAFarStart) {
  Tool->SetStartAtMin(false);
  Tool->SetStartValue(1e17);
  Tool->SetSteps(7);
  ASSERT_TRUE(RunToEnd());
  EXPECT_EQ(Frames.back(), Targets());
  for (int i = 0; i <= 10; ++i) EXPECT_EQ(Series->YValues()->Value(i), i * 10.0);
}

TEST_F(AnimationFixture, ASecondStartWhileRunningDoesNothing) {
  Tool->SetSteps(3);
  Tool->Execute();
  EXPECT_TRUE(Tool->Running());
  Tool->Execute();
  ASSERT_TRUE(ProcessEventsUntil([&] { return !Tool->Running(); }));
  EXPECT_EQ(Steps.size(), 4u);
  EXPECT_EQ(Frames.back(), Targets());
}

TEST_F(AnimationFixture, FreeingTheSeriesMidRunEndsIt) {
  Tool->SetSteps(50);
  Tool->OnStep = [this](TSeriesAnimationTool&, int step) {
    Steps.push_back(step);
    if (step == 3) {
      delete Series;
      Series = nullptr;
    }
  };
  Tool->Execute();
  ASSERT_TRUE(ProcessEventsUntil([&] { return !Tool->Running(); }));
  EXPECT_EQ(Steps.back(), 3);
  testing::ProcessEventsFor(30);
  EXPECT_EQ(Steps.size(), 4u);
}

TEST_F(AnimationFixture, AToolFreedMidRunLeavesTheRealValues) {
  Tool->SetSteps(50);
  Tool->Execute();
  ASSERT_TRUE(ProcessEventsUntil([&] { return Steps.size() >= 3; }));
  delete Tool;
  Tool = nullptr;
  testing::ProcessEventsFor(30);
  EXPECT_FALSE(Series->Updating());
  for (int i = 0; i <= 10; ++i) EXPECT_EQ(Series->YValues()->Value(i), i * 10.0);
}

TEST_F(AnimationFixture, ClosingTheChartMidRunEndsIt) {
  Tool->SetSteps(50);
  Tool->Execute();
  ASSERT_TRUE(ProcessEventsUntil([&] { return Steps.size() >= 3; }));
  Chart.reset();
  const std::size_t frames = Steps.size();
  testing::ProcessEventsFor(30);
  EXPECT_EQ(Steps.size(), frames);
}

}  // namespace
}  // namespace chart

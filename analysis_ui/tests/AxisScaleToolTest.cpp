// The axis scale tool on charts painted in memory: the data's range with the
// margins in amAuto (a spectrum from 0), a held range that never shrinks
// until it is reset or the spectrum changes scale, axes that compute their
// ends themselves, a zoomed chart and margins that would cross left alone,
// and the tool's published properties and registration.
// Covers: analysis_ui/AxisScaleTool.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <utility>

#include "MarkToolTestSupport.h"
#include "analysis_ui/AxisScaleTool.h"
#include "analysis_ui/MarkTools.h"
#include "analysis_ui/SignalToolsKiv.h"
#include "chart/ChartAxis.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/tools/ToolBases.h"
#include "numeric/MathCore.h"
#include "platform/classlib/ComponentStream.h"
#include "signal/Signal.h"
#include "signal/SpectrumAnalyzer.h"

namespace analysis_ui {
namespace {

using testing::PaintChart;

// A 600 x 400 chart with one line whose values run from Low to High, its
// left axis scaled by the tool (fixed ends, so the tool sets them).
class AxisScale : public ::testing::Test {
 protected:
  void SetUp() override {
    Chart.SetBounds(600, 400);
    Chart.SetView3D(false);
    Line = new chart::TFastLineSeries(&Chart);
    Line->SetParentChart(&Chart);
    Fill(0, 100);
    Tool = new TAxisScaleTool(&Chart);
    Tool->SetAxis(Chart.LeftAxis());
    Left().SetAutomatic(false);
    Left().SetMinMax(0, 1);
  }
  void Fill(double low, double high) {
    Line->Clear();
    for (int i = 0; i <= 10; ++i) Line->AddXY(i, low + (high - low) * i / 10);
  }
  chart::TChartAxis& Left() { return *Chart.LeftAxis(); }
  // The axis' range after a pass.
  std::pair<double, double> Range() {
    PaintChart(Chart);
    return {Left().Minimum(), Left().Maximum()};
  }

  chart::TChart Chart;
  chart::TFastLineSeries* Line = nullptr;
  TAxisScaleTool* Tool = nullptr;
};

using TRange = std::pair<double, double>;

TEST_F(AxisScale, AutoFollowsTheDataWithTheMargins) {
  Tool->SetAxisScaleMode(amAuto);
  Tool->SetUpperMargin(10);
  Tool->SetLowerMargin(5);
  EXPECT_EQ(Range(), TRange(-5, 110));
  // It follows down as well as up.
  Fill(20, 60);
  EXPECT_EQ(Range(), TRange(18, 64));
}

TEST_F(AxisScale, ASpectrumStartsAtZeroBeforeTheLowerMargin) {
  Tool->SetAxisScaleMode(amAuto);
  Tool->SetUpperMargin(10);
  Tool->SetLowerMargin(5);
  Tool->SetDataIsSpectrum(true);
  Fill(20, 100);
  EXPECT_EQ(Range(), TRange(-4, 108));
}

TEST_F(AxisScale, PeakHoldNeverShrinksUntilItIsReset) {
  Tool->SetAxisScaleMode(amPeakHold);
  Tool->SetUpperMargin(10);
  EXPECT_EQ(Range(), TRange(0, 110));
  Fill(20, 50);
  EXPECT_EQ(Range(), TRange(0, 110));
  EXPECT_EQ(Tool->HeldMaximum(), 110);
  Fill(-10, 200);
  EXPECT_EQ(Range(), TRange(-10, 221));
  Tool->ResetPeakHold();
  Fill(20, 50);
  EXPECT_EQ(Range(), TRange(20, 53));
}

TEST_F(AxisScale, EndsTheAxisComputesItselfAreLeftToIt) {
  Tool->SetAxisScaleMode(amAuto);
  Tool->SetUpperMargin(10);
  Tool->SetLowerMargin(10);
  // Only the maximum is the tool's.
  Left().SetAutomaticMinimum(true);
  EXPECT_EQ(Range(), TRange(0, 110));
  // Fully automatic: the data's own range, no margins, nothing held.
  Tool->SetAxisScaleMode(amPeakHold);
  Left().SetAutomatic(true);
  EXPECT_EQ(Range(), TRange(0, 100));
  EXPECT_TRUE(Left().Automatic());
  EXPECT_EQ(Tool->HeldMaximum(), -std::numeric_limits<double>::max());
}

TEST_F(AxisScale, NoneZoomedOrNoAxisLeaveTheAxisAlone) {
  EXPECT_EQ(Range(), TRange(0, 1));  // amNone
  Tool->SetAxisScaleMode(amAuto);
  Chart.SetZoomed(true);
  EXPECT_EQ(Range(), TRange(0, 1));
  Chart.SetZoomed(false);
  Tool->SetAxis(nullptr);
  EXPECT_EQ(Tool->ParentChart(), nullptr);
  EXPECT_EQ(Range(), TRange(0, 1));
}

TEST_F(AxisScale, ARangeBeyondTheAxisIsWrittenInAnOrderItAccepts) {
  Tool->SetAxisScaleMode(amAuto);
  // The data lie wholly above the axis' range, then wholly below.
  Fill(500, 600);
  EXPECT_EQ(Range(), TRange(500, 600));
  Fill(-600, -500);
  EXPECT_EQ(Range(), TRange(-600, -500));
  // Only the minimum is the tool's, above the maximum of the last pass.
  Left().SetAutomaticMaximum(true);
  Fill(1000, 2000);
  EXPECT_EQ(Range(), TRange(1000, 2000));
}

TEST_F(AxisScale, MarginsThatWouldCrossTheEndsLeaveTheAxisAlone) {
  Tool->SetAxisScaleMode(amAuto);
  Tool->SetUpperMargin(-60);
  Tool->SetLowerMargin(-60);
  EXPECT_EQ(Range(), TRange(0, 1));
  Tool->SetUpperMargin(-40);
  Tool->SetLowerMargin(-40);
  EXPECT_EQ(Range(), TRange(40, 60));
}

// A spectrum chart (with a spectrum mark cursor, through which the tool
// learns the scale) whose analyser switches to decibels and back: the held
// range starts again each time, and only the linear scale starts at 0.
TEST(AxisScaleTool, ASpectrumThatChangesScaleStartsTheHoldAfresh) {
  testing::TAnalyzerChart a;
  sig::TSpectrumAnalyzer& analyzer = a.Analyzer;
  TSpectrumChart& owner = a.Chart;
  chart::TPointSeries* points = a.Points;
  a.Tool->SetCursorActive(false);
  auto* scale = new TAxisScaleTool(&owner);
  scale->SetAxis(owner.LeftAxis());
  scale->SetAxisScaleMode(amPeakHold);
  scale->SetDataIsSpectrum(true);
  scale->SetUpperMargin(10);
  owner.LeftAxis()->SetAutomatic(false);
  analyzer.Marks().AddMark({100, analyzer.AmpltAt(100), 0, 0});
  // The range of the values on the axis: the spectrum's (the mark lies within it).
  const auto span = [&] {
    const double* amplt = analyzer.Amplt().Values();
    const auto [low, high] = std::minmax_element(amplt, amplt + analyzer.Amplt().Length());
    return std::pair<double, double>{*low, *high};
  };
  PaintChart(owner);
  auto [low, high] = span();
  EXPECT_NEAR(owner.LeftAxis()->Maximum(), high + 0.1 * (high - low), 1e-12);
  EXPECT_EQ(owner.LeftAxis()->Minimum(), 0);
  EXPECT_EQ(points->Count(), 1);
  // In decibels the floor lies far below 0: the hold starts again instead of
  // keeping the linear range, and no longer starts at 0.
  analyzer.SetLogarithmic(true);
  analyzer.Update();
  PaintChart(owner);
  std::tie(low, high) = span();
  ASSERT_LT(low, -20);
  EXPECT_NEAR(owner.LeftAxis()->Maximum(), high + 0.1 * (high - low), 1e-9);
  EXPECT_EQ(owner.LeftAxis()->Minimum(), low);
  EXPECT_EQ(points->Count(), 1);
  // Back on the linear scale the hold starts once more.
  analyzer.SetLogarithmic(false);
  analyzer.Update();
  PaintChart(owner);
  std::tie(low, high) = span();
  EXPECT_NEAR(owner.LeftAxis()->Maximum(), high + 0.1 * (high - low), 1e-12);
  EXPECT_EQ(owner.LeftAxis()->Minimum(), 0);
}

TEST(AxisScaleTool, PublishesItsPropertiesAndItsAxisByNumber) {
  chart::TChart owner;
  owner.SetName("Chart1");
  auto* tool = new TAxisScaleTool(&owner);
  tool->SetName("ChartTool1");
  tool->SetAxis(owner.BottomAxis());
  tool->SetAxisScaleMode(amPeakHold);
  tool->SetUpperMargin(12);
  tool->SetLowerMargin(3);
  tool->SetDataIsSpectrum(true);
  chart::TChart copy;
  classlib::ReadComponentText(classlib::ComponentToText(owner), copy);
  ASSERT_EQ(copy.Tools().Count(), 1);
  auto* read = dynamic_cast<TAxisScaleTool*>(copy.Tools()[0]);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Axis(), copy.BottomAxis());
  EXPECT_EQ(read->AxisScaleMode(), amPeakHold);
  EXPECT_EQ(read->UpperMargin(), 12);
  EXPECT_EQ(read->LowerMargin(), 3);
  EXPECT_TRUE(read->DataIsSpectrum());
  EXPECT_EQ(read->Description(), "Axis scale");
  EXPECT_EQ(read->EditorClassName(), "TAxisScaleToolEditor");
}

TEST(SignalToolsKiv, RegistersItsToolsWithTheChartsToolKinds) {
  const auto& kinds = chart::KivToolTypesList();
  for (const classlib::TClassInfo* info :
       {&TSpectrumMarkTool::StaticClassInfo(), &TSignalMarkTool::StaticClassInfo(), &TAxisScaleTool::StaticClassInfo()})
    EXPECT_NE(std::find(kinds.begin(), kinds.end(), info), kinds.end()) << info->ClassName();
  EXPECT_EQ(std::find(kinds.begin(), kinds.end(), &TCursorMarkTool::StaticClassInfo()), kinds.end());
}

}  // namespace
}  // namespace analysis_ui

// The signal mark cursor on a signal chart painted in memory, driven by the
// mouse as the chart's window hands it on: free marks on the sample nearest
// the mouse (held within the signal), local maxima and minima, interpolated
// zero crossings, a second click taking a mark away, marks at one time shown
// once, the point labels and mark texts, a double click clearing, and the
// chart kind it needs.
// Covers: analysis_ui/SignalMarkTool.cpp, analysis_ui/CursorMarkTool.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "MarkToolTestSupport.h"
#include "analysis_ui/MarkTools.h"
#include "analysis_ui/SignalToolsKiv.h"
#include "chart/ChartAxis.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/series/SeriesMarks.h"
#include "numeric/MathCore.h"
#include "platform/classlib/ComponentStream.h"
#include "signal/Signal.h"
#include "testing/TestSupport.h"

namespace analysis_ui {
namespace {

using orvel::testing::Raises;
using testing::PaintChart;
using testing::XValues;

// The samples (at 1000 Hz) the marks or points stand on.
std::vector<long> MarkSamples(const sig::TMarkList& marks) {
  std::vector<long> k;
  for (std::int32_t i = 0; i < marks.Count(); ++i) k.push_back(std::lround(marks.GetMark(i).Fourth * 1000));
  return k;
}
std::vector<long> PointSamples(const chart::TChartSeries& s) {
  std::vector<long> k;
  for (const double x : XValues(s)) k.push_back(std::lround(x * 1000));
  return k;
}

// A 600 x 400 signal chart: 100 samples at 1000 Hz (0 .. 99 ms) of a 20 Hz
// sine of amplitude 2 (maxima at 12.5 and 62.5 ms, zero crossings every 25
// ms); series 0 the signal, series 1 the marks.
class SignalMarks : public ::testing::Test {
 protected:
  void SetUp() override {
    Signal.Data().Size(100, false);
    for (int j = 0; j < 100; ++j) Signal.Data().Values()[j] = 2 * std::sin(2 * numeric::PI * 20 * j / 1000.0);
    Signal.SetSamplingFrequency(1000);
    Chart.SetBounds(600, 400);
    Chart.BottomAxis()->Title()->SetCaption("Time [s]");
    Chart.Signals()->Add()->SetInput(&Signal);
    Line = new chart::TFastLineSeries(&Chart);
    Line->SetParentChart(&Chart);
    Points = new chart::TPointSeries(&Chart);
    Points->SetParentChart(&Chart);
    Points->Marks()->SetVisible(true);
    Tool = new TSignalMarkTool(&Chart);
    Tool->SetParentChart(&Chart);
    Tool->SetSeries(Line);
    Tool->SetMarkSeries(Points);
    Tool->SetTimeFormat("0.000");
    Signal.Update();
    PaintChart(Chart);
  }

  sig::TSignal Signal;
  TSignalChart Chart;
  chart::TFastLineSeries* Line = nullptr;
  chart::TPointSeries* Points = nullptr;
  TSignalMarkTool* Tool = nullptr;
  testing::TChartMouse Mouse{Chart};
};

TEST_F(SignalMarks, FreeStyleMarksTheNearestSampleHeldWithinTheSignal) {
  Tool->SetMarkMode(tmFreeStyle);
  const std::int32_t x = Mouse.XOf(0.0123);
  const double t = Chart.BottomAxis()->CalcPosPoint(x);
  ASSERT_GT(t, 0.0115);
  ASSERT_LT(t, 0.0125);
  Mouse.Click(x);
  ASSERT_EQ(Signal.Marks().Count(), 1);
  EXPECT_DOUBLE_EQ(Signal.Marks().GetMark(0).Fourth, 0.012);
  EXPECT_EQ(Signal.Marks().GetMark(0).Second, Signal.Data().Values()[12]);
  EXPECT_EQ(Points->Labels().GetLabel(0), "0.012");
  // Beyond the last sample and before the first.
  Mouse.Click(Chart.ChartRect().Right + 50);
  Mouse.Click(Chart.ChartRect().Left - 50);
  EXPECT_EQ(MarkSamples(Signal.Marks()), (std::vector<long>{0, 12, 99}));
  EXPECT_DOUBLE_EQ(Signal.Marks().GetMark(2).Fourth, 0.099);
  EXPECT_EQ(Signal.Marks().GetMark(2).Second, Signal.Data().Values()[99]);
  // Every other label a line lower.
  EXPECT_EQ(Points->Labels().GetLabel(1), "\r0.012");
}

TEST_F(SignalMarks, ASecondClickOnAMarkTakesItAway) {
  Tool->SetMarkMode(tmFreeStyle);
  Mouse.Click(Mouse.XOf(0.030));
  Mouse.Click(Mouse.XOf(0.050));
  EXPECT_EQ(Signal.Marks().Count(), 2);
  EXPECT_EQ(Chart.BottomAxis()->Title()->Caption(), "\rTime [s]");
  Mouse.Click(Mouse.XOf(0.030));
  EXPECT_EQ(MarkSamples(Signal.Marks()), std::vector<long>{50});
  Mouse.Click(Mouse.XOf(0.050));
  EXPECT_EQ(Signal.Marks().Count(), 0);
  EXPECT_EQ(Points->Count(), 0);
  EXPECT_EQ(Chart.BottomAxis()->Title()->Caption(), "Time [s]");
  EXPECT_EQ(Chart.BottomAxis()->TitleSize(), 0);
}

TEST_F(SignalMarks, AMarkAlreadyShownIsNotShownTwice) {
  Tool->SetMarkMode(tmFreeStyle);
  Mouse.Click(Mouse.XOf(0.040));
  Mouse.Move(Mouse.XOf(0.040));
  EXPECT_EQ(PointSamples(*Points), std::vector<long>{40});
  Mouse.Move(Mouse.XOf(0.041));
  EXPECT_EQ(PointSamples(*Points), (std::vector<long>{40, 41}));
}

TEST_F(SignalMarks, MaximaAndMinimaAreTheNearestLocalOnes) {
  Tool->SetMarkMode(tmMaximum);
  Mouse.Click(Mouse.XOf(0.004));
  Tool->SetMarkMode(tmMinimum);
  Mouse.Click(Mouse.XOf(0.030));
  // The maximum of samples 12 and 13 (equal) is 12; the minimum 37 or 38 the first reached.
  ASSERT_EQ(Signal.Marks().Count(), 2);
  const sig::TMarkRecord& top = Signal.Marks().GetMark(0);
  const sig::TMarkRecord& bottom = Signal.Marks().GetMark(1);
  const auto index = [](double t) { return static_cast<int>(std::lround(t * 1000)); };
  const int i = index(top.Fourth), j = index(bottom.Fourth);
  EXPECT_TRUE(i == 12 || i == 13) << i;
  EXPECT_TRUE(j == 37 || j == 38) << j;
  EXPECT_GE(top.Second, Signal.Data().Values()[i - 1]);
  EXPECT_GE(top.Second, Signal.Data().Values()[i + 1]);
  EXPECT_LE(bottom.Second, Signal.Data().Values()[j - 1]);
  EXPECT_LE(bottom.Second, Signal.Data().Values()[j + 1]);
  EXPECT_NEAR(top.Second, 2, 0.01);
  EXPECT_NEAR(bottom.Second, -2, 0.01);
}

TEST_F(SignalMarks, AZeroCrossingLiesBetweenTwoSamples) {
  // A ramp crossing zero a third of the way from sample 40 to sample 41.
  for (int j = 0; j < 100; ++j) Signal.Data().Values()[j] = (j - 40 - 1.0 / 3.0) * 0.5;
  Signal.Update();
  PaintChart(Chart);
  Tool->SetMarkMode(tmZeroCrossing);
  Mouse.Click(Mouse.XOf(0.035));
  ASSERT_EQ(Signal.Marks().Count(), 1);
  EXPECT_NEAR(Signal.Marks().GetMark(0).Fourth, (40 + 1.0 / 3.0) * 0.001, 1e-15);
  EXPECT_NEAR(Signal.Marks().GetMark(0).Second, 0, 1e-14);
  EXPECT_EQ(Points->GetMarkText(0), numeric::SampleToStr(Signal.Marks().GetMark(0).Second, "0.00#"));
}

TEST_F(SignalMarks, ASingleSampleHasNoCrossingButItsOtherMarks) {
  Signal.Data().Size(1, false);
  Signal.Data().Values()[0] = 3;
  Signal.Update();
  PaintChart(Chart);
  Tool->SetMarkMode(tmZeroCrossing);
  Mouse.Click(Mouse.XOf(0));
  EXPECT_EQ(Signal.Marks().Count(), 0);
  Tool->SetMarkMode(tmMaximum);
  Mouse.Click(Mouse.XOf(0));
  EXPECT_EQ(MarkSamples(Signal.Marks()), std::vector<long>{0});
  EXPECT_EQ(Signal.Marks().GetMark(0).Second, 3);
}

TEST_F(SignalMarks, AmplitudeTextsTakeTheToolsFormat) {
  Tool->SetMarkMode(tmMaximum);
  Mouse.Click(Mouse.XOf(0.012));
  EXPECT_EQ(Points->GetMarkText(0), numeric::SampleToStr(Signal.Marks().GetMark(0).Second, "0.00#"));
  Tool->SetAmpltFormat("0.0000");
  EXPECT_EQ(Points->GetMarkText(0), numeric::SampleToStr(Signal.Marks().GetMark(0).Second, "0.0000"));
}

TEST_F(SignalMarks, ADoubleClickClearsEveryMark) {
  Tool->SetMarkMode(tmFreeStyle);
  Mouse.Click(Mouse.XOf(0.010));
  Mouse.DoubleClick(Mouse.XOf(0.020));
  EXPECT_EQ(Signal.Marks().Count(), 0);
  EXPECT_EQ(Points->Count(), 0);
  // Off, the double click is a click that places and one that takes away.
  Tool->SetDoubleClickClear(false);
  Mouse.DoubleClick(Mouse.XOf(0.020));
  EXPECT_EQ(Signal.Marks().Count(), 1);
}

TEST_F(SignalMarks, AClickMarksWhereItIsWithoutAMoveBeforeIt) {
  Tool->SetMarkMode(tmFreeStyle);
  const std::int32_t x = Mouse.XOf(0.070);
  Mouse.Press(x, 0);
  Mouse.Release(x);
  ASSERT_EQ(MarkSamples(Signal.Marks()), std::vector<long>{70});
  EXPECT_EQ(Signal.Marks().GetMark(0).Second, Signal.Data().Values()[70]);
}

TEST_F(SignalMarks, ComplexDataTakeNoMarks) {
  Signal.Data().SetComplex(true);
  Mouse.Click(Mouse.XOf(0.020));
  EXPECT_EQ(Signal.Marks().Count(), 0);
}

TEST(SignalMarkTool, NeedsASignalChart) {
  TSignalMarkTool tool;
  TSpectrumChart spectra;
  EXPECT_TRUE(Raises([&] { tool.SetParentChart(&spectra); }, "TSignalChart type required!"));
  EXPECT_EQ(tool.ParentChart(), nullptr);
  TSignalChart signalChart;
  tool.SetParentChart(&signalChart);
  EXPECT_EQ(signalChart.Tools().Count(), 1);
  EXPECT_EQ(tool.Description(), "Signal mark cursor");
  EXPECT_EQ(tool.EditorClassName(), "TSignalMarkToolEditor");
  tool.SetParentChart(nullptr);
  EXPECT_EQ(signalChart.Tools().Count(), 0);
}

TEST(SignalMarkTool, PublishesItsPropertiesForStreamsAndEditors) {
  TSignalChart owner;
  owner.SetName("SignalChart1");
  auto* line = new chart::TFastLineSeries(&owner);
  line->SetName("Series1");
  line->SetParentChart(&owner);
  auto* tool = new TSignalMarkTool(&owner);
  tool->SetName("ChartTool1");
  tool->SetParentChart(&owner);
  auto* points = new chart::TPointSeries(&owner);
  points->SetName("Series2");
  points->SetParentChart(&owner);
  tool->SetSeries(line);
  tool->SetMarkSeries(points);
  tool->SetMarkMode(tmZeroCrossing);
  tool->SetTimeFormat("0.0000");
  tool->SetDoubleClickClear(false);
  TSignalChart copy;
  classlib::ReadComponentText(classlib::ComponentToText(owner), copy);
  auto* read = dynamic_cast<TSignalMarkTool*>(copy.Tools()[0]);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->MarkMode(), tmZeroCrossing);
  EXPECT_EQ(read->TimeFormat(), "0.0000");
  EXPECT_EQ(read->AmpltFormat(), "0.00#");
  EXPECT_FALSE(read->DoubleClickClear());
  EXPECT_EQ(read->Series(), copy.Series(0));
  EXPECT_EQ(read->MarkSeries(), copy.Series(1));
}

}  // namespace
}  // namespace analysis_ui

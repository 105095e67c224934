// The spectrum mark cursor on a spectrum chart painted in memory, driven by
// the mouse as the chart's window hands it on: the preview and the marks a
// click places in every mark mode (free style on the line under the mouse,
// single peaks, harmonic series, side bands and mode pairs in two clicks),
// the chart's OnAfterMarkPeak, clicks that place nothing, the mark texts and
// point labels with the axis title's second line, marks kept out when they
// are no numbers, the peak filter, the cursor off, the preview following a
// spectrum that changes, the chart kind it needs and its published
// properties.
// Covers: analysis_ui/SpectrumMarkTool.cpp, analysis_ui/CursorMarkTool.cpp.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "MarkToolTestSupport.h"
#include "analysis_ui/MarkTools.h"
#include "analysis_ui/SignalToolsKiv.h"
#include "chart/ChartAxis.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/series/SeriesMarks.h"
#include "chart/tools/ToolBases.h"
#include "platform/classlib/ComponentStream.h"
#include "signal/Spectrum.h"
#include "signal/SpectrumAnalyzer.h"
#include "signal/SpectrumPeaks.h"
#include "testing/TestSupport.h"

namespace analysis_ui {
namespace {

using orvel::testing::Raises;
using testing::MakeSpectrum;
using testing::MarkFrequencies;
using testing::PaintChart;
using testing::XValues;

// A 600 x 400 spectrum chart: series 0 the spectrum (a fast line), series 1
// the marks (points with their texts), the cursor on series 0. The spectrum
// peaks at 60 Hz (1.5), 200 Hz (2) and 260 Hz (1).
class SpectrumMarks : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeSpectrum(Spectrum, {{6, 1.5}, {20, 2.0}, {26, 1.0}});
    Chart.SetBounds(600, 400);
    Chart.BottomAxis()->Title()->SetCaption("Frequency [Hz]");
    Chart.Spectrums()->Add()->SetInput(&Spectrum);
    Line = new chart::TFastLineSeries(&Chart);
    Line->SetParentChart(&Chart);
    Points = new chart::TPointSeries(&Chart);
    Points->SetParentChart(&Chart);
    Points->Marks()->SetVisible(true);
    Tool = new TSpectrumMarkTool(&Chart);
    Tool->SetParentChart(&Chart);
    Tool->SetSeries(Line);
    Tool->SetMarkSeries(Points);
    Chart.OnAfterMarkPeak = [this](classlib::TPersistent* sender) {
      EXPECT_EQ(sender, &Chart);
      ++AfterMarkPeak;
    };
    Spectrum.Update();
    PaintChart(Chart);
  }

  sig::TSpectrum Spectrum;
  TSpectrumChart Chart;
  chart::TFastLineSeries* Line = nullptr;
  chart::TPointSeries* Points = nullptr;
  TSpectrumMarkTool* Tool = nullptr;
  testing::TChartMouse Mouse{Chart};
  int AfterMarkPeak = 0;
};

TEST_F(SpectrumMarks, FreeStyleMarksTheLineUnderTheMouse) {
  Tool->SetMarkMode(mmFreeStyle);
  const std::int32_t x = Mouse.XOf(123.7);
  const double f = Chart.BottomAxis()->CalcPosPoint(x);
  ASSERT_GT(f, 120);
  ASSERT_LT(f, 130);
  Mouse.Move(x);
  EXPECT_EQ(Tool->CursorX(), 120);
  EXPECT_EQ(XValues(*Points), std::vector<double>{120});
  EXPECT_TRUE(Spectrum.Marks().Count() == 0);  // a preview only
  Mouse.Click(x);
  EXPECT_EQ(MarkFrequencies(Spectrum.Marks()), std::vector<double>{120});
  EXPECT_EQ(Spectrum.Marks().GetMark(0).Second, Spectrum.Amplt().Values()[12]);
  EXPECT_EQ(Spectrum.Marks().GetMark(0).Third, Spectrum.Phase().Values()[12]);
  EXPECT_EQ(AfterMarkPeak, 1);
}

TEST_F(SpectrumMarks, MousePositionsOutsideTheSpectrumAreHeldAtItsEnds) {
  Tool->SetMarkMode(mmFreeStyle);
  Mouse.Move(Chart.ChartRect().Right + 40);
  EXPECT_EQ(Tool->CursorX(), 490);
  Mouse.Move(Chart.ChartRect().Left - 40);
  EXPECT_EQ(Tool->CursorX(), 0);
  // A peak search starts at line 1 at least and climbs from there.
  Tool->SetMarkMode(mmSingle);
  Mouse.Move(0);
  EXPECT_EQ(Tool->CursorX(), 10);
}

TEST_F(SpectrumMarks, ASingleMarkSnapsToThePeakAndASecondClickOnItAddsNothing) {
  Mouse.Move(Mouse.XOf(182));  // two lines below the peak at 200 Hz
  EXPECT_EQ(Tool->CursorX(), 200);
  EXPECT_EQ(XValues(*Points), std::vector<double>{200});
  Mouse.Click(Mouse.XOf(182));
  Mouse.Click(Mouse.XOf(200));
  EXPECT_EQ(MarkFrequencies(Spectrum.Marks()), std::vector<double>{200});
  EXPECT_EQ(AfterMarkPeak, 2);
  // Hovering over it shows it once.
  Mouse.Move(Mouse.XOf(205));
  EXPECT_EQ(XValues(*Points), std::vector<double>{200});
}

TEST_F(SpectrumMarks, APressAndAReleaseAtDifferentPixelsPlaceNothing) {
  const std::int32_t x = Mouse.XOf(200);
  Mouse.Move(x);
  Mouse.Press(x, 0);
  Mouse.Release(x + 3);
  EXPECT_EQ(Spectrum.Marks().Count(), 0);
  EXPECT_EQ(AfterMarkPeak, 0);
  // Nor does the right button, or a move with a button held.
  Chart.MouseDown(chart::mbRight, 1u << chart::ssRight, x, Mouse.MidY());
  Chart.MouseUp(chart::mbRight, 0, x, Mouse.MidY());
  EXPECT_EQ(Spectrum.Marks().Count(), 0);
  Chart.MouseMove(1u << chart::ssLeft, Mouse.XOf(60), Mouse.MidY());
  EXPECT_EQ(Tool->CursorX(), 200);
}

TEST_F(SpectrumMarks, AHarmonicSeriesStopsAtTheEndOfTheSpectrum) {
  ASSERT_EQ(Spectrum.Harmonics(), 10);
  Tool->SetMarkMode(mmHarmonic);
  Mouse.Move(Mouse.XOf(58));
  const std::vector<double> harmonics{60, 120, 180, 240, 300, 360, 420, 480};
  EXPECT_EQ(XValues(*Points), harmonics);
  Mouse.Click(Mouse.XOf(58));
  EXPECT_EQ(MarkFrequencies(Spectrum.Marks()), harmonics);
  EXPECT_EQ(AfterMarkPeak, 1);
  // Each point's label is its frequency, every other one a line lower.
  ASSERT_EQ(Points->Count(), 8);
  EXPECT_EQ(Points->Labels().GetLabel(0), "60.00");
  EXPECT_EQ(Points->Labels().GetLabel(1), "\r120.00");
  EXPECT_EQ(Points->Labels().GetLabel(2), "180.00");
}

TEST_F(SpectrumMarks, SideBandsTakeTheCarrierFromTheFirstClick) {
  Tool->SetMarkMode(mmSideBand);
  Mouse.Click(Mouse.XOf(200));
  EXPECT_EQ(Tool->ReferenceFrequency(), 200);
  EXPECT_EQ(MarkFrequencies(Spectrum.Marks()), std::vector<double>{200});
  EXPECT_EQ(AfterMarkPeak, 0);  // the second click is still to come
  // The preview shows the side band, its mirror and the modulation frequency.
  Mouse.Move(Mouse.XOf(258));
  EXPECT_EQ(XValues(*Points), (std::vector<double>{60, 140, 200, 260}));
  Mouse.Click(Mouse.XOf(258));
  EXPECT_EQ(MarkFrequencies(Spectrum.Marks()), (std::vector<double>{60, 140, 200, 260}));
  EXPECT_EQ(Tool->ReferenceFrequency(), -1);
  EXPECT_EQ(AfterMarkPeak, 1);
}

TEST_F(SpectrumMarks, ModePairsLieAroundThePeakAtTheFirstModesDistance) {
  Tool->SetMarkMode(mmModes);
  Mouse.Click(Mouse.XOf(60));
  EXPECT_EQ(Tool->ReferenceFrequency(), 60);
  EXPECT_EQ(AfterMarkPeak, 0);
  Mouse.Move(Mouse.XOf(200));
  EXPECT_EQ(XValues(*Points), (std::vector<double>{60, 140, 200, 260}));
  Mouse.Click(Mouse.XOf(200));
  EXPECT_EQ(MarkFrequencies(Spectrum.Marks()), (std::vector<double>{60, 140, 200, 260}));
  EXPECT_EQ(AfterMarkPeak, 1);
  // A single mark forgets a pending first click.
  Mouse.Click(Mouse.XOf(200));
  EXPECT_EQ(Tool->ReferenceFrequency(), 200);
  Tool->SetMarkMode(mmSingle);
  Mouse.Move(Mouse.XOf(200));
  EXPECT_EQ(Tool->ReferenceFrequency(), -1);
}

TEST_F(SpectrumMarks, TheMarkTextsShowAmplitudeAndPhaseAsTheTypeAndTheChartAsk) {
  Spectrum.Phase().Values()[6] = -0.25;
  Tool->SetMarkType(mtAmpltPhase);
  Mouse.Click(Mouse.XOf(60));
  ASSERT_EQ(Points->Count(), 1);
  EXPECT_EQ(Points->YValues()->Value(0), 1.5);
  EXPECT_EQ(Points->GetMarkText(0), "A=1.50\rP=-0.25");
  Tool->SetLabelHeaders(false);
  EXPECT_EQ(Points->GetMarkText(0), "1.50\r-0.25");
  // A phase chart puts the marks at their phase.
  Chart.SetSpectrumPart(sppPhase);
  PaintChart(Chart);
  EXPECT_EQ(Points->YValues()->Value(0), -0.25);
  EXPECT_EQ(Points->GetMarkText(0), "-0.25");
}

TEST_F(SpectrumMarks, TheAxisTitleTakesASecondLineWhileMarksAreShown) {
  chart::TChartAxis& axis = *Chart.BottomAxis();
  Mouse.Click(Mouse.XOf(200));
  EXPECT_EQ(axis.Title()->Caption(), "\rFrequency [Hz]");
  EXPECT_EQ(axis.TitleSize(), std::lround(-axis.Title()->Font()->Height() * 2.5));
  EXPECT_GT(axis.TitleSize(), 0);
  // Once only, however many marks follow.
  Mouse.Click(Mouse.XOf(60));
  EXPECT_EQ(axis.Title()->Caption(), "\rFrequency [Hz]");
  // A double click clears every mark and the second line.
  Mouse.DoubleClick(Mouse.XOf(260));
  EXPECT_EQ(Spectrum.Marks().Count(), 0);
  EXPECT_EQ(axis.Title()->Caption(), "Frequency [Hz]");
  EXPECT_EQ(axis.TitleSize(), 0);
  EXPECT_EQ(AfterMarkPeak, 4);  // two clicks, the double click's first click, the clearing
  // Without it a double click is two clicks on one mark.
  Tool->SetDoubleClickClear(false);
  Mouse.DoubleClick(Mouse.XOf(260));
  EXPECT_EQ(MarkFrequencies(Spectrum.Marks()), std::vector<double>{260});
}

TEST_F(SpectrumMarks, AnAxisTitleOfItsOwnStyleOrNoneStaysAsItIs) {
  chart::TChartAxis& axis = *Chart.BottomAxis();
  axis.SetLabelStyle(chart::talValue);
  Mouse.Click(Mouse.XOf(200));
  EXPECT_EQ(axis.Title()->Caption(), "Frequency [Hz]");
  axis.SetLabelStyle(chart::talAuto);
  axis.Title()->SetCaption("");
  Mouse.Click(Mouse.XOf(60));
  EXPECT_EQ(axis.Title()->Caption(), "");
  EXPECT_EQ(axis.TitleSize(), 0);
}

TEST_F(SpectrumMarks, ValuesThatAreNoNumbersNeverReachTheMarks) {
  Spectrum.Amplt().Values()[30] = std::numeric_limits<double>::quiet_NaN();
  Spectrum.Phase().Values()[31] = std::numeric_limits<double>::infinity();
  Tool->SetMarkMode(mmFreeStyle);
  // An amplitude that is no number: no point, and no mark for the spectrum's measures.
  Mouse.Move(Mouse.XOf(303));
  EXPECT_EQ(Tool->CursorX(), 300);
  EXPECT_EQ(Points->Count(), 0);
  Mouse.Click(Mouse.XOf(303));
  EXPECT_EQ(Spectrum.Marks().Count(), 0);
  // A phase that is none shows on the amplitude chart, and a phase chart leaves the point out.
  Mouse.Click(Mouse.XOf(313));
  EXPECT_EQ(MarkFrequencies(Spectrum.Marks()), std::vector<double>{310});
  EXPECT_EQ(XValues(*Points), std::vector<double>{310});
  Chart.SetSpectrumPart(sppPhase);
  PaintChart(Chart);
  EXPECT_EQ(Points->Count(), 0);
  EXPECT_EQ(Tool->ShownMarks().size(), 0u);
}

TEST_F(SpectrumMarks, APeakFilterThatFailsLeavesNoMarkBehind) {
  Tool->SetPeakFilterMode(true);
  Mouse.Move(Mouse.XOf(200));
  EXPECT_TRUE(Raises([&] { Mouse.Click(Mouse.XOf(200)); }, "Peak filter method not supported!"));
  EXPECT_EQ(Spectrum.Marks().Count(), 0);
  // The clearing buttons of an editor: FilterPeaks reports the same, ClearPeaks empties.
  Tool->SetPeakFilterMode(false);
  Mouse.Click(Mouse.XOf(200));
  EXPECT_TRUE(Raises([&] { Tool->FilterPeaks(); }, "Peak filter method not supported!"));
  EXPECT_EQ(Spectrum.Marks().Count(), 1);
  Tool->ClearPeaks();
  EXPECT_EQ(Spectrum.Marks().Count(), 0);
  EXPECT_EQ(Points->Count(), 0);
}

TEST_F(SpectrumMarks, WithTheCursorOffTheMouseOnlyMovesTheCursorPosition) {
  Mouse.Click(Mouse.XOf(60));
  Tool->SetCursorActive(false);
  PaintChart(Chart);
  EXPECT_EQ(XValues(*Points), std::vector<double>{60});
  // A cursor not yet placed starts in the middle of its axes; from then on it follows the mouse.
  const std::int32_t x = Mouse.XOf(300);
  Mouse.Move(x);
  const chart::TChartAxis& bottom = *Chart.BottomAxis();
  EXPECT_EQ(Tool->CursorPixels().X, bottom.CalcPosValue(bottom.CalcPosPoint((bottom.IStartPos() + bottom.IEndPos()) / 2)));
  Mouse.Move(x);
  EXPECT_EQ(Tool->CursorX(), Chart.BottomAxis()->CalcPosPoint(x));
  EXPECT_EQ(Tool->CursorY(), Chart.LeftAxis()->CalcPosPoint(Mouse.MidY()));
  EXPECT_EQ(Tool->CursorPixels().X, x);
  EXPECT_EQ(XValues(*Points), std::vector<double>{60});
  Mouse.Click(x);
  EXPECT_EQ(MarkFrequencies(Spectrum.Marks()), std::vector<double>{60});
  EXPECT_EQ(AfterMarkPeak, 1);
}

TEST_F(SpectrumMarks, ThePreviewFollowsTheSpectrumUnderAMouseAtRest) {
  Mouse.Move(Mouse.XOf(200));
  EXPECT_EQ(XValues(*Points), std::vector<double>{200});
  // The peak moves to 220 Hz: the next pass shows the preview there.
  MakeSpectrum(Spectrum, {{22, 2.0}});
  Spectrum.Update();
  PaintChart(Chart);
  EXPECT_EQ(Tool->CursorX(), 220);
  EXPECT_EQ(XValues(*Points), std::vector<double>{220});
}

TEST_F(SpectrumMarks, ASpectrumWithoutLinesTakesNoMarks) {
  Spectrum.SetLength(0);
  Spectrum.Update();
  Mouse.Click(Mouse.XOf(200));
  EXPECT_EQ(Spectrum.Marks().Count(), 0);
  EXPECT_EQ(AfterMarkPeak, 0);
  PaintChart(Chart);
  // The tool's series beyond the chart's spectra has no spectrum either.
  Tool->SetSeries(Points);
  EXPECT_EQ(Tool->Spectrum(), nullptr);
}

TEST_F(SpectrumMarks, AFreedMarkSeriesLeavesTheToolWithoutOne) {
  Mouse.Click(Mouse.XOf(200));
  delete Points;
  EXPECT_EQ(Tool->MarkSeries(), nullptr);
  Mouse.Click(Mouse.XOf(60));
  PaintChart(Chart);
  EXPECT_EQ(MarkFrequencies(Spectrum.Marks()), std::vector<double>{200});
}

TEST_F(SpectrumMarks, AnotherMarkSeriesTakesOverTheTexts) {
  Mouse.Click(Mouse.XOf(200));
  auto* other = new chart::TPointSeries(&Chart);
  other->SetParentChart(&Chart);
  Tool->SetMarkSeries(other);
  EXPECT_FALSE(static_cast<bool>(Points->OnGetMarkText));
  EXPECT_TRUE(static_cast<bool>(other->OnGetMarkText));
  PaintChart(Chart);
  EXPECT_EQ(XValues(*other), std::vector<double>{200});
  EXPECT_EQ(other->GetMarkText(0), "2.00");
}

// A point series that can be drawn on another series' plane, recording the
// Z orders it is given.
class TPlaneSeries : public chart::TPointSeries, public IFixedZOrderSeries {
 public:
  using chart::TPointSeries::TPointSeries;
  void SetFixedZOrder(std::int32_t Value) override { Fixed.push_back(Value); }
  std::vector<std::int32_t> Fixed;
};

TEST_F(SpectrumMarks, AMarkSeriesThatCanTakeAPlaneTakesTheAnalysedSeriesOne) {
  auto* front = new chart::TFastLineSeries(&Chart);
  front->SetParentChart(&Chart);
  auto* plane = new TPlaneSeries(&Chart);
  plane->SetParentChart(&Chart);
  Tool->SetMarkSeries(plane);
  Chart.SetView3D(true);
  PaintChart(Chart);
  ASSERT_GT(Chart.MaxZOrder(), 0);
  Mouse.Click(Mouse.XOf(200));
  EXPECT_EQ(plane->Count(), 1);
  ASSERT_FALSE(plane->Fixed.empty());
  EXPECT_EQ(plane->Fixed.back(), Chart.MaxZOrder() - Line->GetZOrder());
  EXPECT_NE(plane->Fixed.back(), Chart.MaxZOrder() - front->GetZOrder());
}

TEST(SpectrumMarkTool, NeedsASpectrumChart) {
  TSpectrumMarkTool tool;
  TSignalChart signalChart;
  chart::TChart plain;
  EXPECT_TRUE(Raises([&] { tool.SetParentChart(&signalChart); }, "TSpectrumChart type required!"));
  EXPECT_TRUE(Raises([&] { tool.SetParentChart(&plain); }, "TSpectrumChart type required!"));
  EXPECT_EQ(tool.ParentChart(), nullptr);
  TSpectrumChart spectra;
  tool.SetParentChart(&spectra);
  tool.SetParentChart(nullptr);
  EXPECT_EQ(spectra.Tools().Count(), 0);
}

TEST(SpectrumMarkTool, PublishesItsPropertiesForStreamsAndEditors) {
  TSpectrumChart owner;
  owner.SetName("SpectrumChart1");
  auto* line = new chart::TFastLineSeries(&owner);
  line->SetName("Series1");
  line->SetParentChart(&owner);
  auto* points = new chart::TPointSeries(&owner);
  points->SetName("Series2");
  points->SetParentChart(&owner);
  auto* tool = new TSpectrumMarkTool(&owner);
  tool->SetName("ChartTool1");
  tool->SetParentChart(&owner);
  tool->SetSeries(line);
  tool->SetMarkSeries(points);
  const std::string fresh = classlib::ComponentToText(owner);
  // The two switches are always written, the defaults of the others never.
  EXPECT_NE(fresh.find("CursorActive = True"), std::string::npos) << fresh;
  EXPECT_NE(fresh.find("DoubleClickClear = True"), std::string::npos) << fresh;
  for (const char* name : {"MarkMode", "MarkType", "AmpltFormat", "LabelHeaders", "PeakZoomBand", "PeakFilterMode"})
    EXPECT_EQ(fresh.find(name), std::string::npos) << name;
  tool->SetMarkMode(mmSideBand);
  tool->SetMarkType(mtAmpltPhase);
  tool->SetFreqFormat("0.0");
  tool->SetLabelHeaders(false);
  tool->SetCursorActive(false);
  tool->SetUpperLimitSeries(points);
  tool->SetConfMarksOnly(true);
  const std::string text = classlib::ComponentToText(owner);
  TSpectrumChart copy;
  classlib::ReadComponentText(text, copy);
  ASSERT_EQ(copy.Tools().Count(), 1);
  auto* read = dynamic_cast<TSpectrumMarkTool*>(copy.Tools()[0]);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->MarkMode(), mmSideBand);
  EXPECT_EQ(read->MarkType(), mtAmpltPhase);
  EXPECT_EQ(read->FreqFormat(), "0.0");
  EXPECT_FALSE(read->LabelHeaders());
  EXPECT_FALSE(read->CursorActive());
  EXPECT_TRUE(read->ConfMarksOnly());
  EXPECT_EQ(read->Series(), copy.Series(0));
  EXPECT_EQ(read->MarkSeries(), copy.Series(1));
  EXPECT_EQ(read->UpperLimitSeries(), copy.Series(1));
  EXPECT_EQ(read->LowerLimitSeries(), nullptr);
  EXPECT_TRUE(static_cast<bool>(copy.Series(1)->OnGetMarkText));
  EXPECT_EQ(read->Description(), "Spectrum mark cursor");
  EXPECT_EQ(read->EditorClassName(), "TSpectrumMarkToolEditor");
}

TEST(SpectrumMarkTool, TheLimitSeriesLetGoOfASeriesThatIsFreed) {
  TSpectrumChart owner;
  auto* upper = new chart::TPointSeries(&owner);
  auto* lower = new chart::TPointSeries(&owner);
  TSpectrumMarkTool tool;
  tool.SetUpperLimitSeries(upper);
  tool.SetLowerLimitSeries(lower);
  delete upper;
  EXPECT_EQ(tool.UpperLimitSeries(), nullptr);
  EXPECT_EQ(tool.LowerLimitSeries(), lower);
}

TEST(SpectrumMarkTool, AnAnalysersPeakSearchFollowsTheFrequenciesInView) {
  testing::TAnalyzerChart a;
  sig::TSpectrumAnalyzer& analyzer = a.Analyzer;
  TSpectrumChart& owner = a.Chart;
  TSpectrumMarkTool* tool = a.Tool;
  owner.BottomAxis()->SetMinMax(50, 300);
  PaintChart(owner);
  EXPECT_EQ(analyzer.Peaks().BandwidthL(), 0);
  tool->SetPeakZoomBand(true);
  PaintChart(owner);
  EXPECT_EQ(analyzer.Peaks().BandwidthL(), 50);
  EXPECT_EQ(analyzer.Peaks().BandwidthH(), 300);
}

}  // namespace
}  // namespace analysis_ui

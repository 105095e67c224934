// The analysis charts, shown offscreen in a window the way a host window
// shows them: a spectrum chart bound to a spectrum analyser redraws its
// series at every update of the analyser (not while AutoAnalysisUpdate is
// off), switches between amplitude and phase, redraws two items bound to one
// component in item order, lets go of a freed component, and paints a
// two-tone spectrum as a red line; the signal chart draws a signal over time;
// the charts' own defaults stay out of their streams.
// Covers: analysis_ui/AnalysisCharts.cpp.
#include <gtest/gtest.h>

#include <QVBoxLayout>
#include <QWidget>

#include <cmath>
#include <memory>
#include <vector>

#include "analysis_ui/SignalToolsKiv.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/series/FastLineSeries.h"
#include "chart/testing/ChartProbes.h"
#include "chart/widgets/KivPanelWidget.h"
#include "numeric/MathCore.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/ui/testing/WindowTest.h"
#include "signal/Signal.h"
#include "signal/SpectrumAnalyzer.h"
#include "signal/tests/AnalyzerTestSupport.h"

namespace analysis_ui {
namespace {

using chart::testing::Values;
using sig::testsupport::Values;
using ui::Control;

// 1024 samples at 1024 Hz: tones of amplitude 1 at 100 Hz and `second` at
// 250 Hz, both on a line of the spectrum.
void TwoTones(sig::TSignal& s, double second = 0.5) {
  s.Data().Size(1024, false);
  for (int j = 0; j < 1024; ++j)
    s.Data().Values()[j] =
        std::sin(2 * numeric::PI * 100 * j / 1024.0) + second * std::sin(2 * numeric::PI * 250 * j / 1024.0 + 0.3);
  s.SetSamplingFrequency(1024);
}

// Records which series told the chart its data changed, in order.
class TDataChanges : public chart::IKivEventListener {
 public:
  void KivEvent(chart::TKivEvent& event) override {
    if (auto* e = dynamic_cast<chart::TKivSeriesEvent*>(&event); e != nullptr && e->Event == chart::seDataChanged)
      Series.push_back(e->Series);
  }
  std::vector<chart::TChartSeries*> Series;
};

// A host window with one spectrum chart bound to an analyser of a two-tone
// signal through one red fast line, as the workbench's spectrum window holds it.
class SpectrumChartWindow : public ui::TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    TwoTones(FSignal);
    FAnalyzer = std::make_unique<sig::TSpectrumAnalyzer>();
    FAnalyzer->SetName("SpectrumAnalyzer1");
    FAnalyzer->SetInput(&FSignal);
    FChart = std::make_unique<TSpectrumChart>();
    FChart->SetName("SpectrumChart");
    FChart->Spectrums()->Add()->SetInput(FAnalyzer.get());
    FLine = AddLine();
    FWindow = std::make_unique<QWidget>();
    FWindow->setObjectName("SpectrumWindow");
    auto* layout = new QVBoxLayout(FWindow.get());
    layout->setContentsMargins(0, 0, 0, 0);
    auto* view = new chart::TKivPanelWidget(*FChart, FWindow.get());
    view->setObjectName("SpectrumChart");
    layout->addWidget(view);
    FWindow->resize(640, 400);
    FWindow->show();
  }
  void TearDown() override {
    FWindow.reset();
    FChart.reset();
    FAnalyzer.reset();
    TWindowTest::TearDown();
  }

  chart::TFastLineSeries* AddLine() {
    auto* line = new chart::TFastLineSeries(FChart.get());
    line->SetSeriesColor(chart::clRed);
    line->SetParentChart(FChart.get());
    return line;
  }
  chart::TKivPanelWidget& View() { return Control<chart::TKivPanelWidget>(*FWindow, "SpectrumChart"); }
  TSpectrumChart& ChartOfView() { return dynamic_cast<TSpectrumChart&>(View().Panel()); }

  sig::TSignal FSignal;
  std::unique_ptr<sig::TSpectrumAnalyzer> FAnalyzer;
  std::unique_ptr<TSpectrumChart> FChart;
  chart::TFastLineSeries* FLine = nullptr;
  std::unique_ptr<QWidget> FWindow;
};

TEST_F(SpectrumChartWindow, AnUpdateOfTheAnalyserRedrawsItsSeries) {
  TSpectrumChart& chart = ChartOfView();
  EXPECT_EQ(&chart, FChart.get());
  const QImage empty = View().grab().toImage();
  EXPECT_EQ(FLine->Count(), 0);
  FAnalyzer->Update();
  const numeric::TVec& amplt = FAnalyzer->Amplt();
  ASSERT_GT(amplt.Length(), 0);
  EXPECT_EQ(Values(*FLine->YValues()), Values(amplt));
  EXPECT_EQ(FLine->XValues()->First(), FAnalyzer->StartFrequency());
  EXPECT_DOUBLE_EQ(FLine->XValues()->Value(100), FAnalyzer->StartFrequency() + 100 * FAnalyzer->HzRes());
  EXPECT_NE(View().grab().toImage(), empty);

  // Switched off, an update leaves the series and the picture as they are.
  chart.SetAutoAnalysisUpdate(false);
  const std::vector<double> before = Values(*FLine->YValues());
  const QImage shown = View().grab().toImage();
  TwoTones(FSignal, 0.9);
  FAnalyzer->Update();
  EXPECT_NE(Values(FAnalyzer->Amplt()), before);
  EXPECT_EQ(Values(*FLine->YValues()), before);
  EXPECT_EQ(View().grab().toImage(), shown);
}

TEST_F(SpectrumChartWindow, TheSpectrumPartSwitchesBetweenAmplitudeAndPhase) {
  FAnalyzer->Update();
  int modes = 0;
  FChart->OnSpectrumMode = [&](classlib::TPersistent* sender) {
    EXPECT_EQ(sender, FChart.get());
    ++modes;
  };
  // The switch redraws even while updates are ignored.
  FChart->SetAutoAnalysisUpdate(false);
  FChart->SetSpectrumPart(sppPhase);
  EXPECT_EQ(modes, 1);
  EXPECT_EQ(Values(*FLine->YValues()), Values(FAnalyzer->Phase()));
  // The same part again: no event, no redraw.
  FLine->Clear();
  FChart->SetSpectrumPart(sppPhase);
  EXPECT_EQ(modes, 1);
  EXPECT_EQ(FLine->Count(), 0);
  // A value that names no part is the amplitude.
  FChart->SetSpectrumPart(static_cast<TSpectrumPart>(7));
  EXPECT_EQ(FChart->SpectrumPart(), sppAmplt);
  EXPECT_EQ(modes, 2);
  EXPECT_EQ(Values(*FLine->YValues()), Values(FAnalyzer->Amplt()));
}

TEST_F(SpectrumChartWindow, TwoItemsOnOneComponentRedrawInItemOrder) {
  chart::TFastLineSeries* second = AddLine();
  FChart->Spectrums()->Add()->SetInput(FAnalyzer.get());
  TDataChanges changes;
  FChart->AddListener(&changes);
  FAnalyzer->Update();
  FChart->RemoveListener(&changes);
  EXPECT_EQ(changes.Series, (std::vector<chart::TChartSeries*>{FLine, second}));
  EXPECT_EQ(Values(*second->YValues()), Values(FAnalyzer->Amplt()));
}

TEST_F(SpectrumChartWindow, AnItemWithoutASeriesDrawsNothing) {
  // A second analyser on item 1; the chart has one series only.
  sig::TSpectrumAnalyzer other;
  other.SetInput(&FSignal);
  FChart->Spectrums()->Add()->SetInput(&other);
  TDataChanges changes;
  FChart->AddListener(&changes);
  other.Update();
  FChart->RemoveListener(&changes);
  EXPECT_TRUE(changes.Series.empty());
  EXPECT_EQ(FLine->Count(), 0);
}

TEST_F(SpectrumChartWindow, AFreedComponentLeavesItsItemsEmptyAndTheSeriesAsTheyWere) {
  sig::TSpectrumAnalyzer other;
  other.SetInput(&FSignal);
  chart::TFastLineSeries* second = AddLine();
  FChart->Spectrums()->Add()->SetInput(&other);
  FAnalyzer->Update();
  const std::vector<double> last = Values(*FLine->YValues());
  FAnalyzer.reset();
  EXPECT_EQ(FChart->Spectrums()->Items(0)->Input(), nullptr);
  EXPECT_EQ(Values(*FLine->YValues()), last);
  // The other component still reaches its series; the empty item is skipped.
  other.Update();
  EXPECT_EQ(Values(*second->YValues()), Values(other.Amplt()));
  FChart->SetSpectrumPart(sppPhase);
  EXPECT_EQ(Values(*FLine->YValues()), last);
}

TEST_F(SpectrumChartWindow, AComponentNotifiesTheChartThatBoundItLast) {
  TSpectrumChart other;
  auto* line = new chart::TFastLineSeries(&other);
  line->SetParentChart(&other);
  other.Spectrums()->Add()->SetInput(FAnalyzer.get());
  FAnalyzer->Update();
  EXPECT_EQ(FLine->Count(), 0);
  EXPECT_EQ(line->Count(), FAnalyzer->Amplt().Length());
}

TEST_F(SpectrumChartWindow, ShowsATwoToneSpectrumAsARedLine) {
  FAnalyzer->Update();
  const QImage shot = ui::Screenshot(View(), "spectrum_chart_two_tones");
  const chart::TChartAxis& b = *FChart->BottomAxis();
  const chart::TChartAxis& l = *FChart->LeftAxis();
  // The highest red pixel of the columns at 100 Hz, 250 Hz and 175 Hz.
  const auto topRed = [&](double hz) {
    const int x = b.CalcXPosValue(hz);
    for (int y = 0; y < shot.height(); ++y)
      if (chart::FromQRgb(shot.pixel(x, y)) == chart::clRed) return y;
    return -1;
  };
  const auto near = [](int y, int expected) { return std::abs(y - expected) <= 2; };
  EXPECT_PRED2(near, topRed(100), l.CalcYPosValue(1.0));
  EXPECT_PRED2(near, topRed(250), l.CalcYPosValue(0.5));
  EXPECT_PRED2(near, topRed(175), l.CalcYPosValue(0.0));
  // Between the lines the chart is white.
  EXPECT_EQ(chart::FromQRgb(shot.pixel(b.CalcXPosValue(175), l.CalcYPosValue(0.5))), chart::clWhite);
}

TEST(SignalChart, DrawsTheSamplesOfItsSignalOverTime) {
  sig::TSignal signal;
  signal.Data().Size(50, false);
  for (int j = 0; j < 50; ++j) signal.Data().Values()[j] = j % 5;
  signal.SetSamplingFrequency(200);
  TSignalChart chart;
  auto* line = new chart::TFastLineSeries(&chart);
  line->SetParentChart(&chart);
  chart.Signals()->Add()->SetInput(&signal);
  signal.Update();
  ASSERT_EQ(line->Count(), 50);
  EXPECT_EQ(Values(*line->YValues()), Values(signal.Data()));
  EXPECT_DOUBLE_EQ(line->XValues()->Value(10), signal.StartTime() + 10 / 200.0);
  // Copying a collection binds the same signals.
  TSignalChart copy;
  copy.SetSignals(*chart.Signals());
  EXPECT_EQ(copy.Signals()->Items(0)->Input(), &signal);
}

TEST(AnalysisCharts, TheirOwnDefaultsStayOutOfTheirStreams) {
  TSpectrumChart chart;
  chart.SetName("SpectrumChart1");
  EXPECT_FALSE(chart.View3D());
  EXPECT_EQ(chart.BevelOuter(), chart::bvLowered);
  EXPECT_EQ(chart.Color(), chart::clWhite);
  EXPECT_TRUE(chart.AutoAnalysisUpdate());
  EXPECT_FALSE(chart.PixelDownSample());
  EXPECT_EQ(chart.SpectrumPart(), sppAmplt);
  const std::string fresh = classlib::ComponentToText(chart);
  for (const char* name : {"View3D", "BevelOuter", "Color =", "AutoAnalysisUpdate", "SpectrumPart"})
    EXPECT_EQ(fresh.find(name), std::string::npos) << name << " in\n" << fresh;
  chart.SetView3D(true);
  chart.SetSpectrumPart(sppPhase);
  chart.SetAutoAnalysisUpdate(false);
  const std::string changed = classlib::ComponentToText(chart);
  EXPECT_NE(changed.find("View3D = True"), std::string::npos) << changed;
  EXPECT_NE(changed.find("SpectrumPart = sppPhase"), std::string::npos) << changed;
  EXPECT_NE(changed.find("AutoAnalysisUpdate = False"), std::string::npos) << changed;
  classlib::ResetToDefaults(chart);
  EXPECT_FALSE(chart.View3D());
  EXPECT_EQ(chart.SpectrumPart(), sppAmplt);
  EXPECT_TRUE(chart.AutoAnalysisUpdate());
  // A plain chart keeps the engine's defaults.
  chart::TChart plain;
  EXPECT_TRUE(plain.View3D());
}

}  // namespace
}  // namespace analysis_ui

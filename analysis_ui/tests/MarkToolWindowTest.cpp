// The mark cursors in a window, offscreen, driven by the mouse as a user
// drives it: a harmonic series marked on a live analyser's spectrum, its
// points, mark texts and frequency labels (every other one a line lower)
// checked by pixel probes on the screenshot; on a signal chart a click marks
// a maximum and a double click clears every mark.
// Covers: analysis_ui/SpectrumMarkTool.cpp, analysis_ui/SignalMarkTool.cpp,
// analysis_ui/CursorMarkTool.cpp.
#include <gtest/gtest.h>

#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <cmath>
#include <memory>
#include <vector>

#include "analysis_ui/MarkTools.h"
#include "analysis_ui/SignalToolsKiv.h"
#include "chart/ChartAxis.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/series/SeriesMarks.h"
#include "chart/widgets/KivPanelWidget.h"
#include "numeric/MathCore.h"
#include "platform/ui/testing/WindowTest.h"
#include "signal/Signal.h"
#include "signal/SpectrumAnalyzer.h"

namespace analysis_ui {
namespace {

using ui::Control;

// A window holding one analysis chart of a fixed size, as a host window holds it.
std::unique_ptr<QWidget> ChartWindow(chart::TCustomKivPanel& panel, const char* name) {
  auto window = std::make_unique<QWidget>();
  auto* layout = new QVBoxLayout(window.get());
  layout->setContentsMargins(0, 0, 0, 0);
  auto* view = new chart::TKivPanelWidget(panel, window.get());
  view->setObjectName(name);
  view->setFixedSize(640, 400);
  layout->addWidget(view);
  window->show();
  return window;
}

// A double click as the window system delivers it: a click, then a press
// followed by the double-click event, and the release.
void DoubleClick(QWidget& view, QPoint p) {
  QTest::mouseClick(&view, Qt::LeftButton, {}, p);
  QTest::mousePress(&view, Qt::LeftButton, {}, p);
  QTest::mouseDClick(&view, Qt::LeftButton, {}, p);
  QTest::mouseRelease(&view, Qt::LeftButton, {}, p);
}

bool IsWhite(QRgb p) { return chart::FromQRgb(p) == chart::clWhite; }

// The lowest row, from the given one down to the picture's foot, that holds
// a pixel other than white within two columns of x; -1 when none does.
int LowestInkBelow(const QImage& shot, int x, int fromY) {
  int lowest = -1;
  for (int y = fromY; y < shot.height(); ++y)
    for (int dx = -2; dx <= 2; ++dx)
      if (!IsWhite(shot.pixel(x + dx, y))) lowest = y;
  return lowest;
}

// 1024 samples at 1024 Hz (lines 1 Hz apart up to 512 Hz): a 60 Hz tone of
// amplitude 1.5 and its third harmonic.
class SpectrumMarkWindow : public ui::TWindowTest {
 protected:
  void SetUp() override {
    TWindowTest::SetUp();
    FSignal.Data().Size(1024, false);
    for (int j = 0; j < 1024; ++j)
      FSignal.Data().Values()[j] = 1.5 * std::sin(2 * numeric::PI * 60 * j / 1024.0) +
                                   0.5 * std::sin(2 * numeric::PI * 180 * j / 1024.0);
    FSignal.SetSamplingFrequency(1024);
    FAnalyzer.SetInput(&FSignal);
    FChart.BottomAxis()->Title()->SetCaption("Frequency [Hz]");
    FChart.Spectrums()->Add()->SetInput(&FAnalyzer);
    FLine = new chart::TFastLineSeries(&FChart);
    FLine->SetSeriesColor(chart::clRed);
    FLine->SetParentChart(&FChart);
    FPoints = new chart::TPointSeries(&FChart);
    FPoints->SetSeriesColor(chart::clBlue);
    FPoints->SetParentChart(&FChart);
    FPoints->Marks()->SetVisible(true);
    FTool = new TSpectrumMarkTool(&FChart);
    FTool->SetParentChart(&FChart);
    FTool->SetSeries(FLine);
    FTool->SetMarkSeries(FPoints);
    FTool->SetMarkMode(mmHarmonic);
    FTool->SetMarkType(mtAmpltPhase);
    FAnalyzer.Update();
    FWindow = ChartWindow(FChart, "SpectrumChart");
  }
  void TearDown() override {
    FWindow.reset();
    TWindowTest::TearDown();
  }
  chart::TKivPanelWidget& View() { return Control<chart::TKivPanelWidget>(*FWindow, "SpectrumChart"); }
  QPoint At(double hz) {
    const chart::TRect r = FChart.ChartRect();
    return {FChart.BottomAxis()->CalcXPosValue(hz), (r.Top + r.Bottom) / 2};
  }

  sig::TSignal FSignal;
  sig::TSpectrumAnalyzer FAnalyzer;
  TSpectrumChart FChart;
  chart::TFastLineSeries* FLine = nullptr;
  chart::TPointSeries* FPoints = nullptr;
  TSpectrumMarkTool* FTool = nullptr;
  std::unique_ptr<QWidget> FWindow;
};

TEST_F(SpectrumMarkWindow, AHarmonicSeriesIsMarkedWithTheMouse) {
  const QImage before = View().grab().toImage();
  const int axisBefore = FChart.BottomAxis()->PosAxis();
  const int titleBefore = LowestInkBelow(before, View().width() / 2, axisBefore + 2);
  int peaks = 0;
  FChart.OnAfterMarkPeak = [&](classlib::TPersistent*) { ++peaks; };

  // The mouse comes near the 60 Hz peak: the preview snaps to it.
  QTest::mouseMove(&View(), At(57));
  EXPECT_NEAR(FTool->CursorX(), 60, 0.5);
  EXPECT_EQ(FPoints->Count(), 8);  // 60 .. 480 Hz; 540 Hz lies beyond the spectrum
  EXPECT_EQ(FAnalyzer.Marks().Count(), 0);
  QTest::mouseClick(&View(), Qt::LeftButton, {}, At(57));
  EXPECT_EQ(peaks, 1);
  ASSERT_EQ(FAnalyzer.Marks().Count(), 8);
  for (int k = 0; k < 8; ++k) EXPECT_NEAR(FAnalyzer.Marks().GetMark(k).First, 60.0 * (k + 1), 1.0) << k;
  EXPECT_NEAR(FAnalyzer.Marks().GetMark(0).Second, 1.5, 0.05);
  EXPECT_NEAR(FAnalyzer.Marks().GetMark(2).Second, 0.5, 0.05);
  ASSERT_EQ(FPoints->Count(), 8);
  EXPECT_EQ(FPoints->GetMarkText(0).substr(0, 2), "A=");
  EXPECT_NE(FPoints->GetMarkText(0).find("\rP="), std::string::npos);

  const QImage shot = ui::Screenshot(View(), "spectrum_harmonic_marks");
  // Every mark is a blue point on the spectrum.
  for (int k = 0; k < 8; ++k) {
    const int x = FPoints->CalcXPos(k), y = FPoints->CalcYPos(k);
    bool blue = false;
    for (int dx = -3; dx <= 3 && !blue; ++dx)
      for (int dy = -3; dy <= 3 && !blue; ++dy) blue = chart::FromQRgb(shot.pixel(x + dx, y + dy)) == chart::clBlue;
    EXPECT_TRUE(blue) << "mark " << k << " at " << x << ", " << y;
  }
  // The first mark's text stands above its point.
  const int x0 = FPoints->CalcXPos(0), y0 = FPoints->CalcYPos(0);
  int ink = 0;
  for (int y = std::max(0, y0 - 45); y < y0 - 6; ++y)
    for (int x = x0 - 20; x <= x0 + 20; ++x) ink += IsWhite(shot.pixel(x, y)) ? 0 : 1;
  EXPECT_GT(ink, 20);
  // The frequencies stand under the axis, the second one a line lower than
  // the first, and the axis title has moved further from the axis to make room.
  const int axisY = FChart.BottomAxis()->PosAxis();
  const int first = LowestInkBelow(shot, FPoints->CalcXPos(0), axisY + 2);
  const int second = LowestInkBelow(shot, FPoints->CalcXPos(1), axisY + 2);
  ASSERT_GT(first, axisY);
  EXPECT_GT(second, first + 6);
  const int titleAfter = LowestInkBelow(shot, View().width() / 2, axisY + 2);
  EXPECT_GT(titleAfter - axisY, titleBefore - axisBefore + 6);

  // A double click clears the marks and the second line.
  DoubleClick(View(), At(57));
  EXPECT_EQ(FAnalyzer.Marks().Count(), 0);
  EXPECT_EQ(FChart.BottomAxis()->Title()->Caption(), "Frequency [Hz]");
}

TEST(SignalMarkWindow, AClickMarksAMaximumAndADoubleClickClears) {
  sig::TSignal signal;
  signal.Data().Size(200, false);
  for (int j = 0; j < 200; ++j) signal.Data().Values()[j] = std::sin(2 * numeric::PI * 10 * j / 1000.0);
  signal.SetSamplingFrequency(1000);
  TSignalChart owner;
  owner.Signals()->Add()->SetInput(&signal);
  auto* line = new chart::TFastLineSeries(&owner);
  line->SetParentChart(&owner);
  auto* points = new chart::TPointSeries(&owner);
  points->SetParentChart(&owner);
  auto* tool = new TSignalMarkTool(&owner);
  tool->SetParentChart(&owner);
  tool->SetSeries(line);
  tool->SetMarkSeries(points);
  signal.Update();
  auto window = ChartWindow(owner, "SignalChart");
  auto& view = Control<chart::TKivPanelWidget>(*window, "SignalChart");
  view.grab();  // a first paint lays out the axes
  const chart::TRect r = owner.ChartRect();
  // The first maximum of the 10 Hz sine is at 25 ms.
  const QPoint p(owner.BottomAxis()->CalcXPosValue(0.020), (r.Top + r.Bottom) / 2);
  QTest::mouseMove(&view, p);
  QTest::mouseClick(&view, Qt::LeftButton, {}, p);
  ASSERT_EQ(signal.Marks().Count(), 1);
  EXPECT_NEAR(signal.Marks().GetMark(0).Fourth, 0.025, 1e-12);
  EXPECT_NEAR(signal.Marks().GetMark(0).Second, 1, 1e-12);
  DoubleClick(view, p);
  EXPECT_EQ(signal.Marks().Count(), 0);
  EXPECT_EQ(points->Count(), 0);
  window.reset();
}

}  // namespace
}  // namespace analysis_ui

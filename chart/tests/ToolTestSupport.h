// The chart the tool tests work on: a 2D chart with a window that records
// what the chart asks of it, a point series of eleven points (x 0..10,
// y 0..100), and the picture a window would show.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <functional>
#include <memory>

#include "chart/ChartControl.h"
#include "chart/canvas/KivCanvasQt.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/testing/RecordingHost.h"
#include "chart/testing/TestPointSeries.h"
#include "chart/tools/HintService.h"

namespace chart::testing {

// Paints the chart as its window does (through the off-screen picture) and
// returns a copy of that picture.
inline QImage PaintPicture(TCustomKivPanel& chart) {
  TBitmap screen;
  screen.SetSize(chart.Width(), chart.Height());
  chart.Draw(&screen.Canvas(), chart.GetRectangle());
  return dynamic_cast<TKivCanvas3D&>(chart.Canvas()).Bitmap()->Image().copy();
}

// The off-screen picture as it stands (figures dragged over it included).
inline QImage Picture(TCustomKivPanel& chart) {
  return dynamic_cast<TKivCanvas3D&>(chart.Canvas()).Bitmap()->Image().copy();
}

// Runs the event loop until done() holds or two seconds pass.
inline bool ProcessEventsUntil(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

// Runs the event loop for ms milliseconds.
inline void ProcessEventsFor(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

class ToolChartFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Chart = std::make_unique<TChart>();
    Chart->SetBounds(600, 400);
    Chart->SetView3D(false);
    Chart->SetHost(&Host);
    Series = new TTestPointSeries(Chart.get());
    Series->SetParentChart(Chart.get());
    for (int i = 0; i <= 10; ++i) Series->AddXY(i, i * 10);
    PaintPicture(*Chart);
  }
  void TearDown() override {
    Chart.reset();
    KivHints().CancelHint(nullptr);
    KivHints().SetHintPause(500);
  }

  TChartAxis& Bottom() const { return *Chart->BottomAxis(); }
  TChartAxis& Left() const { return *Chart->LeftAxis(); }
  TPoint PointPixel(int index) const { return {Series->CalcXPos(index), Series->CalcYPos(index)}; }

  TRecordingHost Host;
  std::unique_ptr<TChart> Chart;
  TTestPointSeries* Series = nullptr;
};

}  // namespace chart::testing

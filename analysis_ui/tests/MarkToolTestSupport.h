// What the tests of the mark cursors and the axis scale tool share: a chart
// painted as its window paints it (so that its axes know their pixels), the
// mouse as the chart receives it from its window, and a spectrum of 50 lines
// 10 Hz apart (0 .. 500 Hz) with peaks where a test wants them.
#pragma once

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <cstdint>
#include <vector>

#include "analysis_ui/MarkTools.h"
#include "analysis_ui/SignalToolsKiv.h"
#include "chart/ChartControl.h"
#include "chart/canvas/KivCanvasQt.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/series/SeriesData.h"
#include "numeric/MathCore.h"
#include "signal/Signal.h"
#include "signal/Spectrum.h"
#include "signal/SpectrumAnalyzer.h"

namespace analysis_ui::testing {

// Paints the chart through its off-screen picture and returns a copy of it.
inline QImage PaintChart(chart::TCustomKivPanel& chart) {
  chart::TBitmap screen;
  screen.SetSize(chart.Width(), chart.Height());
  chart.Draw(&screen.Canvas(), chart.GetRectangle());
  return dynamic_cast<chart::TKivCanvas3D&>(chart.Canvas()).Bitmap()->Image().copy();
}

// The mouse over a chart, as its window hands it on: moves without a button,
// and clicks (press and release at one pixel) with the left button.
class TChartMouse {
 public:
  explicit TChartMouse(chart::TCustomChart& chart) : FChart(chart) {}

  // The pixel of a value of the bottom axis, at mid height of the plot.
  std::int32_t XOf(double value) const { return FChart.BottomAxis()->CalcXPosValue(value); }
  std::int32_t MidY() const { return (FChart.ChartRect().Top + FChart.ChartRect().Bottom) / 2; }

  void Move(std::int32_t x) { FChart.MouseMove(0, x, MidY()); }
  void Click(std::int32_t x) {
    Move(x);
    Press(x, 0);
    FChart.MouseUp(chart::mbLeft, 0, x, MidY());
  }
  // A double click as the window reports it: a click, then a second press
  // flagged double and its release.
  void DoubleClick(std::int32_t x) {
    Click(x);
    Press(x, 1u << chart::ssDouble);
    FChart.MouseUp(chart::mbLeft, 0, x, MidY());
  }
  void Press(std::int32_t x, chart::TShiftState extra) {
    FChart.MouseDown(chart::mbLeft, static_cast<chart::TShiftState>((1u << chart::ssLeft) | extra), x, MidY());
  }
  void Release(std::int32_t x) { FChart.MouseUp(chart::mbLeft, 0, x, MidY()); }

 private:
  chart::TCustomChart& FChart;
};

// A 600 x 400 spectrum chart bound to an analyser of a sine at 100 Hz
// (1024 samples at 1024 Hz), updated: series 0 the spectrum, series 1 the
// marks, a spectrum mark cursor on them.
struct TAnalyzerChart {
  TAnalyzerChart() {
    Signal.Data().Size(1024, false);
    for (int j = 0; j < 1024; ++j) Signal.Data().Values()[j] = std::sin(2 * numeric::PI * 100 * j / 1024.0);
    Signal.SetSamplingFrequency(1024);
    Analyzer.SetInput(&Signal);
    Chart.SetBounds(600, 400);
    Chart.Spectrums()->Add()->SetInput(&Analyzer);
    Line = new chart::TFastLineSeries(&Chart);
    Line->SetParentChart(&Chart);
    Points = new chart::TPointSeries(&Chart);
    Points->SetParentChart(&Chart);
    Tool = new TSpectrumMarkTool(&Chart);
    Tool->SetParentChart(&Chart);
    Tool->SetSeries(Line);
    Tool->SetMarkSeries(Points);
    Analyzer.Update();
  }

  sig::TSignal Signal;
  sig::TSpectrumAnalyzer Analyzer;
  TSpectrumChart Chart;
  chart::TFastLineSeries* Line = nullptr;
  chart::TPointSeries* Points = nullptr;
  TSpectrumMarkTool* Tool = nullptr;
};

// A peak of Height at line Line of an amplitude vector: half of it on each
// neighbour, a quarter two lines off, so the climb to it starts two lines away.
inline void AddPeak(numeric::TVec& amplt, std::int32_t line, double height) {
  double* a = amplt.Values();
  for (std::int32_t d = -2; d <= 2; ++d) {
    const std::int32_t k = line + d;
    if (k < 0 || k >= amplt.Length()) continue;
    const double v = height / (d == 0 ? 1 : d == -1 || d == 1 ? 2 : 4);
    if (v > a[k]) a[k] = v;
  }
}

// 50 lines, 10 Hz apart, from 0 Hz; stop frequency 500 Hz. Amplitude 0.05
// between the peaks, phase -line / 100.
inline void MakeSpectrum(sig::TSpectrum& s, const std::vector<std::pair<std::int32_t, double>>& peaks) {
  s.SetLength(50);
  s.SetSamplingFrequency(1000);
  for (std::int32_t i = 0; i < 50; ++i) {
    s.Amplt().Values()[i] = 0.05;
    s.Phase().Values()[i] = -i / 100.0;
  }
  for (const auto& [line, height] : peaks) AddPeak(s.Amplt(), line, height);
}

inline std::vector<double> MarkFrequencies(const sig::TMarkList& marks) {
  std::vector<double> f;
  for (std::int32_t i = 0; i < marks.Count(); ++i) f.push_back(marks.GetMark(i).First);
  return f;
}

inline std::vector<double> XValues(const chart::TChartSeries& s) {
  std::vector<double> x;
  for (int i = 0; i < s.Count(); ++i) x.push_back(s.XValues()->Value(i));
  return x;
}

}  // namespace analysis_ui::testing

// What the spectrum window's tests share: the program started as it starts,
// the spectrum window brought forward, history files of any length, and the
// error bound of a power spectrum computed twice.
#pragma once

#include <cmath>
#include <span>
#include <string>
#include <vector>

#include <QAction>

#include "chart/ChartControl.h"
#include "chart/series/FastLineSeries.h"
#include "workbench/logic/testing/HistoryFileBuilder.h"
#include "WorkbenchFixture.h"

namespace workbench {

class TSpectrumTest : public TWorkbenchTest {
 protected:
  // The program as it starts, then the spectrum command.
  TfrmSpectrum& OpenSpectrumWindow() {
    StartProgram();
    FMain->actFormSpectrum->trigger();
    return Spectrum();
  }

  // File > Open with the spectrum window in front.
  void Open(const std::string& fileName) {
    FDialogs.FileChoices.push_back(TFileChoice{fileName, 1});
    FMain->actFileOpen->trigger();
    EXPECT_EQ(FDialogs.FileDialogs.back().Filter, "MetaTrader 3.x, 4.x history (*.hst)|*.hst");
  }

  // A history file of `bars` hourly bars from 2024-03-15 10:00 whose closes
  // carry a cycle of 25 bars.
  std::string HistoryFile(int bars, std::int32_t period = 60) {
    testing::THistoryFileSpec spec;
    spec.Period = period;
    for (int i = 0; i < bars; ++i) {
      THistoryBar bar;
      bar.Time = 1710496800 + i * period * 60;
      bar.Close = 1.2 + 0.01 * std::sin(2 * M_PI * i / 25.0) + 0.0001 * (i % 7);
      bar.Open = bar.Close - 0.001;
      bar.High = bar.Close + 0.002;
      bar.Low = bar.Open - 0.002;
      bar.Volume = 10;
      spec.Bars.push_back(bar);
    }
    return FDir.Write("HIST" + std::to_string(bars) + ".hst", testing::HistoryFileBytes(spec));
  }
};

// The points of a series.
struct TSeriesPoints {
  std::vector<double> X, Y;
};
inline TSeriesPoints PointsOf(const chart::TChartSeries& series) {
  TSeriesPoints points;
  for (int i = 0; i < series.Count(); ++i) {
    points.X.push_back(series.XValues()->Value(i));
    points.Y.push_back(series.YValues()->Value(i));
  }
  return points;
}

// How far two computations of the power (2 |X_k| / N)^2 of N closes over an
// FFT of n points may differ at a line of power `power`, each by its own
// rounding: the transform's error (at most margin log2(n) u sqrt(n) |x|_2 on
// any line, x the closes less their mean) and the error of the mean (at most
// (N - 1) u mean|x| on each sample, which reaches a line at most N times),
// both counted twice.
inline double PowerTolerance(std::span<const double> closes, int n, double power) {
  const double N = static_cast<double>(closes.size());
  const double u = std::ldexp(1.0, -53), margin = 5;
  double mean = 0, absMean = 0;
  for (const double c : closes) {
    mean += c / N;
    absMean += std::fabs(c) / N;
  }
  double norm = 0;
  for (const double c : closes) norm += (c - mean) * (c - mean);
  const double lineError = 2 * (margin * std::log2(n) * u * std::sqrt(n) * std::sqrt(norm) + N * (N - 1) * u * absMean);
  const double line = N / 2 * std::sqrt(std::max(power, 0.0));
  return (2 / N) * (2 / N) * (2 * line * lineError + lineError * lineError);
}

}  // namespace workbench

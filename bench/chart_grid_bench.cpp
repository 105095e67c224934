// The value grid over a fast-line series of 1e6 random-walk points, opened
// in a 1024 x 768 window and scrolled to the last point (a new grid each
// time: layout, headers, the paint of the last page), beside the series'
// own redraw: the chart with that series drawn into a picture of the same
// size. The repetitions run in one shuffled order; the figures are medians.
//
//   chart_grid_bench [benchmark flags]
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QScrollBar>

#include <cstdio>
#include <memory>
#include <random>

#include "RunReporter.h"
#include "chart/ChartControl.h"
#include "chart/series/FastLineSeries.h"
#include "chart_editors/KivChartGrid.h"

namespace {

using namespace chart;

constexpr int Width = 1024, Height = 768, Points = 1000000;

std::unique_ptr<TChart> WalkChart() {
  auto chart = std::make_unique<TChart>();
  chart->SetBounds(Width, Height);
  chart->SetView3D(false);
  chart->SetColor(clWhite);
  chart->Legend()->SetVisible(false);
  auto* s = new TFastLineSeries(chart.get());
  std::mt19937_64 random(20240611);
  std::normal_distribution<double> step(0, 1);
  double v = 0;
  s->BeginUpdate();
  for (int i = 0; i < Points; ++i) s->AddXY(i, v += step(random));
  s->EndUpdate();
  s->SetParentChart(chart.get());
  return chart;
}

void BM_GridOpenScrollToEnd1e6(benchmark::State& state) {
  auto chart = WalkChart();
  TChartSeries* series = chart->Series(0);
  QImage picture(Width, Height, QImage::Format_RGB32);
  for (auto _ : state) {
    chart_editors::TChartGrid grid;
    grid.resize(Width, Height);
    grid.show();
    grid.SetSeries(series);
    grid.SetCell(grid.ColCount() - 1, grid.RowCount() - 1);
    grid.render(&picture);
    if (grid.verticalScrollBar()->value() != grid.verticalScrollBar()->maximum()) state.SkipWithError("not at the end");
    benchmark::ClobberMemory();
  }
}

void BM_FastLineRedraw1e6(benchmark::State& state) {
  auto chart = WalkChart();
  chart->Draw(nullptr, chart->GetRectangle());  // the first pass sizes the buffer
  for (auto _ : state) {
    chart->Invalidate();
    chart->Draw(nullptr, chart->GetRectangle());
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_GridOpenScrollToEnd1e6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastLineRedraw1e6)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  orvel_bench::TRunReporter reporter;
  orvel_bench::RunShuffled(argc, argv, reporter);
  const double grid = reporter.Time("BM_GridOpenScrollToEnd1e6"), line = reporter.Time("BM_FastLineRedraw1e6");
  std::printf("\n%-34s %10s %10s %7s %7s\n", "", "grid", "fast line", "ratio", "aim");
  std::printf("%-34s %7.2f ms %7.2f ms %7.2f %7s\n", "open and scroll to the end, 1e6", grid, line, grid / line,
              "<= 1");
  benchmark::Shutdown();
  return 0;
}

// Vectors and matrices drawn into charts:
//   DrawValues of 10^6 samples into a fast line on a 1920 x 1080 chart,
//     beside a plain copy of the same doubles (the write: aim within 3x);
//   the same with the reduction to the chart's width;
//   the redraw of that chart after the write, whole and reduced;
//   a 2000 x 2000 matrix grid drawn whole into an 800 x 600 chart (see
//     mtx_grid_vs_matplotlib.py for matplotlib's imshow on the same data).
//
//   analysis_charts_bench [benchmark flags]
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "RunReporter.h"
#include "analysis_ui/NumoraKiv.h"
#include "chart/series/FastLineSeries.h"

namespace {

using namespace analysis_ui;

constexpr int Samples = 1000000;

// A tone in noise from a fixed linear congruential generator, so that the
// Python peer can make the same matrix.
void Fill(double* x, std::int64_t n) {
  std::uint64_t s = 1;
  for (std::int64_t i = 0; i < n; ++i) {
    s = (1103515245 * s + 12345) % 2147483648ULL;
    x[i] = std::sin(0.001 * static_cast<double>(i)) + static_cast<double>(s) / 1073741824.0 - 1;
  }
}

std::unique_ptr<chart::TChart> NewChart(int width, int height) {
  auto chart = std::make_unique<chart::TChart>();
  chart->SetBounds(width, height);
  chart->SetView3D(false);
  chart->SetColor(chart::clWhite);
  chart->Legend()->SetVisible(false);
  return chart;
}

struct TLineChart {
  TLineChart() : chart(NewChart(1920, 1080)) {
    values.Size(Samples, false);
    Fill(values.Values(), Samples);
    line = new chart::TFastLineSeries(chart.get());
    line->SetParentChart(chart.get());
  }
  numeric::TVec values;
  std::unique_ptr<chart::TChart> chart;
  chart::TFastLineSeries* line;
};

void BM_PlainCopy1e6(benchmark::State& state) {
  TLineChart c;
  std::vector<double> target(Samples);
  for (auto _ : state) {
    std::memcpy(target.data(), c.values.Values(), sizeof(double) * Samples);
    benchmark::ClobberMemory();
  }
}

void BM_DrawValues1e6(benchmark::State& state) {
  TLineChart c;
  const bool reduce = state.range(0) != 0;
  for (auto _ : state) {
    DrawValues(c.values, *c.line, reduce, 0, 1e-3);
    benchmark::ClobberMemory();
  }
}

void BM_DrawValuesAndRedraw1e6(benchmark::State& state) {
  TLineChart c;
  const bool reduce = state.range(0) != 0;
  c.chart->Draw(nullptr, c.chart->GetRectangle());  // the first pass sizes the buffer
  for (auto _ : state) {
    DrawValues(c.values, *c.line, reduce, 0, 1e-3);
    c.chart->Draw(nullptr, c.chart->GetRectangle());
    benchmark::ClobberMemory();
  }
}

void BM_MtxGrid2000Into800x600(benchmark::State& state) {
  auto chart = NewChart(800, 600);
  numeric::TMtx m;
  m.Size(2000, 2000, false);
  Fill(m.Values(), 2000LL * 2000);
  auto* grid = new TMtxGridSeries(chart.get());
  grid->SetParentChart(chart.get());
  DrawGrid(m, *grid);
  chart->Draw(nullptr, chart->GetRectangle());
  for (auto _ : state) {
    chart->Draw(nullptr, chart->GetRectangle());
    benchmark::ClobberMemory();
  }
}

// The same pass with no series: the axes, grid and frame every figure includes.
void BM_EmptyChart800x600(benchmark::State& state) {
  auto chart = NewChart(800, 600);
  chart->BottomAxis()->SetMinMax(-0.5, 1999.5);
  chart->LeftAxis()->SetMinMax(-0.5, 1999.5);
  chart->Draw(nullptr, chart->GetRectangle());
  for (auto _ : state) {
    chart->Draw(nullptr, chart->GetRectangle());
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_PlainCopy1e6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawValues1e6)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawValuesAndRedraw1e6)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MtxGrid2000Into800x600)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EmptyChart800x600)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  orvel_bench::TRunReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double copy = reporter.Time("BM_PlainCopy1e6");
  auto ratio = [&](const char* title, const char* name) {
    std::printf("%-34s %8.3f ms   plain copy %8.3f ms   ratio %.2f\n", title, reporter.Time(name), copy,
                reporter.Time(name) / copy);
  };
  ratio("DrawValues 1e6, whole", "BM_DrawValues1e6/0");
  ratio("DrawValues 1e6, reduced", "BM_DrawValues1e6/1");
  ratio("DrawValues 1e6 + redraw, whole", "BM_DrawValuesAndRedraw1e6/0");
  ratio("DrawValues 1e6 + redraw, reduced", "BM_DrawValuesAndRedraw1e6/1");
  std::printf("%-34s %8.3f ms (axes, grid and frame alone %.3f ms)\n", "2000 x 2000 grid into 800 x 600",
              reporter.Time("BM_MtxGrid2000Into800x600"), reporter.Time("BM_EmptyChart800x600"));
  benchmark::Shutdown();
  return 0;
}

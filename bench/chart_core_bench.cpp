// The chart core's own costs:
//   appending 1e6 points (ascending X, as the workbench fills its charts) to a
//   series on a chart, against std::vector::push_back of the same X and Y
//   values into two vectors;
//   one full drawing pass of a 1920 x 1080 chart with its four side axes,
//   grids, four titles and a legend and no series, in 2D and in 3D.
//
//   chart_core_bench [benchmark flags]
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "RunReporter.h"
#include "chart/ChartControl.h"
#include "chart/tools/ChartEngine.h"

namespace {

using namespace chart;

constexpr int Points = 1000000;

const std::vector<double>& Walk() {
  static const std::vector<double> w = [] {
    std::mt19937_64 random(20240611);
    std::normal_distribution<double> step(0, 1);
    std::vector<double> v(Points);
    double y = 0;
    for (double& x : v) x = y += step(random);
    return v;
  }();
  return w;
}

// A plain series kind: the base's storage and notifications, no drawing.
class TBareSeries : public TChartSeries {
 public:
  using TChartSeries::TChartSeries;
};

void BM_SeriesAppend1e6(benchmark::State& state) {
  const std::vector<double>& w = Walk();
  TChart chart;
  for (auto _ : state) {
    state.PauseTiming();
    auto series = std::make_unique<TBareSeries>(&chart);
    series->SetParentChart(&chart);
    state.ResumeTiming();
    for (int i = 0; i < Points; ++i) series->AddXY(i, w[static_cast<std::size_t>(i)]);
    benchmark::DoNotOptimize(series->YValues()->Values().data());
    state.PauseTiming();
    series.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * Points);
}

void BM_VectorPushBack1e6(benchmark::State& state) {
  const std::vector<double>& w = Walk();
  for (auto _ : state) {
    std::vector<double> x, y;
    for (int i = 0; i < Points; ++i) {
      x.push_back(i);
      y.push_back(w[static_cast<std::size_t>(i)]);
    }
    benchmark::DoNotOptimize(x.data());
    benchmark::DoNotOptimize(y.data());
  }
  state.SetItemsProcessed(state.iterations() * Points);
}

std::unique_ptr<TChart> FullChart(bool view3D) {
  auto chart = std::make_unique<TChart>();
  chart->SetBounds(1920, 1080);
  chart->SetView3D(view3D);
  chart->SetColor(clWhite);
  chart->Title()->SetCaption("Orvel");
  chart->SubTitle()->SetCaption("equiripple filters");
  chart->Foot()->SetCaption("foot");
  chart->SubFoot()->SetCaption("sub foot");
  chart->Legend()->SetCheckBoxes(true);
  for (TChartAxis* a : {chart->LeftAxis(), chart->RightAxis(), chart->TopAxis(), chart->BottomAxis()}) {
    a->SetMinMax(0, 1000);
    a->Title()->SetCaption("values");
    a->MinorTicks()->SetVisible(true);
  }
  return chart;
}

void DrawPasses(benchmark::State& state, bool view3D) {
  auto chart = FullChart(view3D);
  chart->Draw(nullptr, chart->GetRectangle());  // the first pass sizes the buffer
  for (auto _ : state) {
    chart->Draw(nullptr, chart->GetRectangle());
    benchmark::ClobberMemory();
  }
}

void BM_RedrawFourAxes2D(benchmark::State& state) { DrawPasses(state, false); }
void BM_RedrawFourAxes3D(benchmark::State& state) { DrawPasses(state, true); }

BENCHMARK(BM_SeriesAppend1e6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VectorPushBack1e6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawFourAxes2D)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawFourAxes3D)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  chart::InitChartEngine();
  benchmark::Initialize(&argc, argv);
  orvel_bench::TRunReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double append = reporter.Time("BM_SeriesAppend1e6"), push = reporter.Time("BM_VectorPushBack1e6");
  std::printf("append 1e6 points       %8.2f ms   two vectors %8.2f ms   ratio %.2f\n", append, push, append / push);
  std::printf("redraw 1920x1080, 2D    %8.2f ms\n", reporter.Time("BM_RedrawFourAxes2D"));
  std::printf("redraw 1920x1080, 3D    %8.2f ms\n", reporter.Time("BM_RedrawFourAxes3D"));
  chart::DoneChartEngine();
  return 0;
}

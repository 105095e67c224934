// The series kinds drawn into a 1920 x 1080 chart picture, each beside the
// same data drawn by bare QPainter calls into an image of the same size:
//   fast line, 1e6 random-walk points, whole range and zoomed to 1 % of it;
//   line series, 1e5 points; candles, 1e4 bars.
// A chart pass includes its axes, grid and frame (BM_EmptyChart times them
// alone). The bare side gets its points already in pixels.
//
//   chart_series_bench [benchmark flags]
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "RunReporter.h"
#include "chart/ChartControl.h"
#include "chart/canvas/KivGraphics.h"
#include "chart/series/CandleSeries.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"

namespace {

using namespace chart;

constexpr int Width = 1920, Height = 1080;

std::vector<double> Walk(int n) {
  std::mt19937_64 random(20240611);
  std::normal_distribution<double> step(0, 1);
  std::vector<double> w(static_cast<std::size_t>(n));
  double v = 0;
  for (double& x : w) x = v += step(random);
  return w;
}

std::unique_ptr<TChart> NewChart() {
  auto chart = std::make_unique<TChart>();
  chart->SetBounds(Width, Height);
  chart->SetView3D(false);
  chart->SetColor(clWhite);
  chart->Legend()->SetVisible(false);
  return chart;
}

template <class S>
S* AddWalk(TChart& chart, int n) {
  auto* s = new S(&chart);
  s->SetParentChart(&chart);
  const std::vector<double> w = Walk(n);
  s->BeginUpdate();
  for (int i = 0; i < n; ++i) s->AddXY(i, w[static_cast<std::size_t>(i)]);
  s->EndUpdate();
  return s;
}

void DrawChart(benchmark::State& state, TChart& chart) {
  chart.Draw(nullptr, chart.GetRectangle());  // the first pass sizes the buffer
  for (auto _ : state) {
    chart.Draw(nullptr, chart.GetRectangle());
    benchmark::ClobberMemory();
  }
}

// The pixels of the walk as the chart put them (its last pass).
QPolygon Pixels(const TChartSeries& s, int first, int last) {
  QPolygon p;
  p.reserve(last - first + 1);
  for (int i = first; i <= last; ++i) p << QPoint(s.CalcXPos(i), s.CalcYPos(i));
  return p;
}

void DrawBarePolyline(benchmark::State& state, const QPolygon& points) {
  QImage image(Width, Height, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 0));
    p.drawPolyline(points);
    p.end();
    benchmark::ClobberMemory();
  }
}

void BM_FastLine1e6(benchmark::State& state) {
  auto chart = NewChart();
  AddWalk<TFastLineSeries>(*chart, 1000000);
  DrawChart(state, *chart);
}

void BM_FastLine1e6Zoomed(benchmark::State& state) {
  auto chart = NewChart();
  AddWalk<TFastLineSeries>(*chart, 1000000);
  chart->BottomAxis()->SetMinMax(500000, 510000);
  DrawChart(state, *chart);
}

// The same pass with no series: what every figure above includes.
void BM_EmptyChart(benchmark::State& state) {
  auto chart = NewChart();
  chart->BottomAxis()->SetMinMax(0, 1000000);
  chart->LeftAxis()->SetMinMax(-1000, 1000);
  DrawChart(state, *chart);
}

void BM_BarePolyline1e6(benchmark::State& state) {
  auto chart = NewChart();
  auto* s = AddWalk<TFastLineSeries>(*chart, 1000000);
  chart->Draw(nullptr, chart->GetRectangle());
  DrawBarePolyline(state, Pixels(*s, 0, s->Count() - 1));
}

void BM_BarePolyline1e6Zoomed(benchmark::State& state) {
  auto chart = NewChart();
  auto* s = AddWalk<TFastLineSeries>(*chart, 1000000);
  chart->BottomAxis()->SetMinMax(500000, 510000);
  chart->Draw(nullptr, chart->GetRectangle());
  DrawBarePolyline(state, Pixels(*s, s->FirstValueIndex(), s->LastValueIndex()));
}

void BM_LineSeries1e5(benchmark::State& state) {
  auto chart = NewChart();
  AddWalk<TLineSeries>(*chart, 100000);
  DrawChart(state, *chart);
}

void BM_BarePolyline1e5(benchmark::State& state) {
  auto chart = NewChart();
  auto* s = AddWalk<TLineSeries>(*chart, 100000);
  chart->Draw(nullptr, chart->GetRectangle());
  DrawBarePolyline(state, Pixels(*s, 0, s->Count() - 1));
}

TCandleSeries* AddCandles(TChart& chart, int n) {
  auto* s = new TCandleSeries(&chart);
  s->SetParentChart(&chart);
  s->DateValues()->SetDateTime(false);
  s->SetCandleWidth(0);
  const std::vector<double> w = Walk(n + 1);
  s->BeginUpdate();
  for (int i = 0; i < n; ++i) {
    const double o = w[static_cast<std::size_t>(i)], c = w[static_cast<std::size_t>(i) + 1];
    s->AddCandle(i, o, std::max(o, c) + 0.5, std::min(o, c) - 0.5, c);
  }
  s->EndUpdate();
  return s;
}

void BM_Candles1e4(benchmark::State& state) {
  auto chart = NewChart();
  AddCandles(*chart, 10000);
  DrawChart(state, *chart);
}

void BM_BareCandles1e4(benchmark::State& state) {
  auto chart = NewChart();
  auto* s = AddCandles(*chart, 10000);
  chart->Draw(nullptr, chart->GetRectangle());
  TChartAxis* v = chart->LeftAxis();
  struct TBar {
    int X, Open, Close, High, Low;
  };
  std::vector<TBar> bars;
  for (int i = 0; i < s->Count(); ++i)
    bars.push_back({s->CalcXPos(i), v->CalcYPosValue(s->OpenValues()->Value(i)),
                    v->CalcYPosValue(s->CloseValues()->Value(i)), v->CalcYPosValue(s->HighValues()->Value(i)),
                    v->CalcYPosValue(s->LowValues()->Value(i))});
  QImage image(Width, Height, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QPen(Qt::black, 0));
    for (const TBar& b : bars) {
      p.drawLine(b.X, b.Low, b.X, b.High);
      p.fillRect(QRect(b.X, std::min(b.Open, b.Close), 1, std::abs(b.Open - b.Close) + 1),
                 b.Close < b.Open ? Qt::red : Qt::white);
    }
    p.end();
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_FastLine1e6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BarePolyline1e6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastLine1e6Zoomed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BarePolyline1e6Zoomed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineSeries1e5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BarePolyline1e5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Candles1e4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareCandles1e4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EmptyChart)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  orvel_bench::TRunReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto ratio = [&](const char* series, const char* bare) {
    std::printf("%-22s %8.2f ms   bare %8.2f ms   ratio %.2f\n", series, reporter.Time(series),
                reporter.Time(bare), reporter.Time(series) / reporter.Time(bare));
  };
  ratio("BM_FastLine1e6", "BM_BarePolyline1e6");
  ratio("BM_FastLine1e6Zoomed", "BM_BarePolyline1e6Zoomed");
  ratio("BM_LineSeries1e5", "BM_BarePolyline1e5");
  ratio("BM_Candles1e4", "BM_BareCandles1e4");
  std::printf("%-22s %8.2f ms (axes, grid and frame alone)\n", "BM_EmptyChart", reporter.Time("BM_EmptyChart"));
  benchmark::Shutdown();
  return 0;
}

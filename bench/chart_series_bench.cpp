// The series kinds drawn into a 1920 x 1080 chart picture, each beside bare
// QPainter drawing the same into an image of the same size:
//   fast line, 1e6 random-walk points, whole range and zoomed to 1 % of it,
//   beside one polyline through the pixels of every point (computed before);
//   line series, 1e5 points, beside the same segments mapped from the values
//   in the loop and drawn by one drawLines call;
//   candles, 1e4 bars, beside the same wicks and bodies mapped from the
//   values in the loop, a line and a rectangle each.
// A chart pass includes its axes, grid and frame (BM_EmptyChart times them
// alone). The repetitions of all of them run in one shuffled order, so that
// a change of load falls on both sides of a ratio; the figures are medians.
//
//   chart_series_bench [benchmark flags]
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
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

// The pen of the chart's one-pixel lines: cosmetic, flat ends.
QPen BarePen(const QColor& color) {
  QPen pen(color, 0);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
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
    p.setPen(BarePen(Qt::black));
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

// The same pass with no series: what every chart figure includes.
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

// The segments between consecutive points of another pixel, mapped in the
// loop as the axes map them, in one call.
void BM_BareLines1e5(benchmark::State& state) {
  auto chart = NewChart();
  auto* s = AddWalk<TLineSeries>(*chart, 100000);
  chart->Draw(nullptr, chart->GetRectangle());
  const TLinearPixelMap x = chart->BottomAxis()->Scale().LinearMap(true);
  const TLinearPixelMap y = chart->LeftAxis()->Scale().LinearMap(false);
  const std::span<const double> xs = s->XValues()->Values(), ys = s->YValues()->Values();
  const QColor color = ToQColor(s->SeriesColor());
  QImage image(Width, Height, QImage::Format_RGB32);
  std::vector<QLine> lines;
  for (auto _ : state) {
    image.fill(Qt::white);
    lines.clear();
    QPoint from(x(xs[0]), y(ys[0]));
    for (std::size_t i = 1; i < xs.size(); ++i) {
      const QPoint to(x(xs[i]), y(ys[i]));
      if (to == from) continue;
      lines.emplace_back(from, to);
      from = to;
    }
    QPainter p(&image);
    p.setPen(BarePen(color));
    p.drawLines(lines.data(), static_cast<int>(lines.size()));
    p.end();
    benchmark::ClobberMemory();
  }
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

// Each bar's wick from its low to its high, then its body in the colour of
// its direction under the wick pen, mapped in the loop as the axes map them.
void BM_BareCandles1e4(benchmark::State& state) {
  auto chart = NewChart();
  auto* s = AddCandles(*chart, 10000);
  chart->Draw(nullptr, chart->GetRectangle());
  const TLinearPixelMap x = chart->BottomAxis()->Scale().LinearMap(true);
  const TLinearPixelMap y = chart->LeftAxis()->Scale().LinearMap(false);
  const std::span<const double> xs = s->XValues()->Values(), open = s->OpenValues()->Values(),
                                high = s->HighValues()->Values(), low = s->LowValues()->Values(),
                                close = s->CloseValues()->Values();
  const QBrush up(ToQColor(s->UpCloseColor())), down(ToQColor(s->DownCloseColor()));
  QImage image(Width, Height, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(BarePen(Qt::black));
    for (std::size_t i = 0; i < xs.size(); ++i) {
      const int px = x(xs[i]), o = y(open[i]);
      int c = y(close[i]);
      if (c == o) --c;
      p.drawLine(px, y(low[i]), px, y(high[i]));
      p.setBrush(close[i] >= open[i] ? up : down);
      p.drawRect(px, std::min(o, c), 0, std::abs(o - c) - 1);
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
BENCHMARK(BM_BareLines1e5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Candles1e4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareCandles1e4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EmptyChart)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  orvel_bench::TRunReporter reporter;
  orvel_bench::RunShuffled(argc, argv, reporter);
  std::printf("\n%-22s %10s %10s %7s %7s\n", "", "chart", "bare", "ratio", "aim");
  auto ratio = [&](const char* series, const char* bare, const char* aim) {
    const double a = reporter.Time(series), b = reporter.Time(bare);
    std::printf("%-22s %7.2f ms %7.2f ms %7.2f %7s\n", series, a, b, a / b, aim);
  };
  ratio("BM_FastLine1e6", "BM_BarePolyline1e6", "0.10");
  ratio("BM_FastLine1e6Zoomed", "BM_BarePolyline1e6Zoomed", "");
  ratio("BM_LineSeries1e5", "BM_BareLines1e5", "1.30");
  ratio("BM_Candles1e4", "BM_BareCandles1e4", "1.30");
  std::printf("%-22s %7.2f ms (axes, grid and frame alone)\n", "BM_EmptyChart", reporter.Time("BM_EmptyChart"));
  benchmark::Shutdown();
  return 0;
}

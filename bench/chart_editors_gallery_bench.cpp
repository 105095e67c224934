// The series gallery dialog as the user meets it: opened on the "Standard"
// page, every sample chart built, filled and drawn (the dialog painted into a
// picture), then closed; and, in an open dialog, a switch to the next page
// with its charts built and drawn. The repetitions run in one shuffled order;
// the figures are medians, beside the aim of a step the user does not wait on.
//
//   chart_editors_gallery_bench [benchmark flags]   (pin it: taskset -c 5 ...)
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include <cstdio>

#include "RunReporter.h"
#include "chart/tools/ChartEngine.h"
#include "chart_editors/ChartEditors.h"
#include "chart_editors/KivGally.h"

namespace {

using chart_editors::TKivGallery;

constexpr double AimMs = 150;

// Lays the dialog out as the event loop would, then paints it whole.
void Paint(TKivGallery& dialog, QImage& picture) {
  QApplication::processEvents();
  dialog.render(&picture);
  benchmark::DoNotOptimize(picture.constBits());
}

void BM_GalleryOpenStandard(benchmark::State& state) {
  QImage picture(480, 360, QImage::Format_RGB32);
  int charts = 0;
  for (auto _ : state) {
    TKivGallery dialog;
    dialog.resize(480, 360);
    dialog.show();
    Paint(dialog, picture);
    charts = dialog.ChartGalleryPanel1->Charts().Count();
    dialog.hide();
  }
  if (charts != 9) state.SkipWithError("not the standard page");
  state.counters["charts"] = charts;
}

void BM_GallerySwitchPage(benchmark::State& state) {
  TKivGallery dialog;
  dialog.resize(480, 360);
  dialog.show();
  QImage picture(480, 360, QImage::Format_RGB32);
  Paint(dialog, picture);
  int page = 0;
  for (auto _ : state) {
    page = (page + 1) % dialog.TabPages->count();
    dialog.TabPages->setCurrentIndex(page);
    Paint(dialog, picture);
  }
  state.counters["pages"] = dialog.TabPages->count();
}

BENCHMARK(BM_GalleryOpenStandard)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GallerySwitchPage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  chart::InitChartEngine();
  chart_editors::InitChartEditors();
  orvel_bench::TRunReporter reporter;
  orvel_bench::RunShuffled(argc, argv, reporter);
  std::printf("\n%-40s %10s %10s\n", "", "median", "aim");
  std::printf("%-40s %7.2f ms %7.0f ms\n", "open on \"Standard\", nine charts drawn",
              reporter.Time("BM_GalleryOpenStandard"), AimMs);
  std::printf("%-40s %7.2f ms %7.0f ms\n", "switch page, its charts drawn", reporter.Time("BM_GallerySwitchPage"),
              AimMs);
  benchmark::Shutdown();
  chart_editors::DoneChartEditors();
  chart::DoneChartEngine();
  return 0;
}

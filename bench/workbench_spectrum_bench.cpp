// The quote spectrum window driven as a user drives it, offscreen: a history
// opened, its whole range chosen (bars 1 .. the last, as the window opens it),
// then "Расчет" until both spectrum charts are drawn: the closes into the
// signal, the analyser's transform and update, the frequency chart, the
// conversion to periods and the period chart, each chart painted. On the
// 5 000 bars of the sample history that the README has a new user open, and
// on a synthetic history of 10^6 bars.
//
// The synthetic history is written into ORVEL_BENCH_DIR when that is set
// (bench/spectrum_window_vs_numpy.py reads the same closes from it), else
// into a temporary folder.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "analysis_ui/AnalysisUiInit.h"
#include "chart/ChartControl.h"
#include "chart/series/FastLineSeries.h"
#include "chart/tools/ChartEngine.h"
#include "chart/widgets/KivPanelWidget.h"
#include "platform/classlib/Threads.h"
#include "signal/SignalInit.h"
#include "workbench/forms/RemezThread.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/forms/formMain.h"
#include "workbench/forms/formSpectrum.h"
#include "workbench/logic/Classes_Remez.h"
#include "workbench/logic/testing/HistoryFileBuilder.h"

namespace {

using namespace workbench;

constexpr int SyntheticBars = 1000000;

// No dialog may show during a measurement: every message is an error.
class TNoDialogs : public TQtUserDialogs {
 public:
  TMessageResult MessageBox(const std::string& text, const std::string&, TMessageButtons, TMessageIcon) override {
    std::fprintf(stderr, "unexpected message: %s\n", text.c_str());
    std::abort();
  }
};

// The folder of the synthetic history.
std::string BenchFolder() {
  static QTemporaryDir temporary;
  if (const char* folder = std::getenv("ORVEL_BENCH_DIR")) return folder;
  return temporary.path().toStdString();
}

// Minute bars (10^6 of them span two years) of a random walk of the close,
// from the benchmarks' noise (bench/LcgNoise.h), 0.1 % a bar.
std::string SyntheticHistory() {
  const std::string fileName = BenchFolder() + "/SYNTH1.hst";
  testing::THistoryFileSpec spec;
  spec.Symbol = "SYNTH";
  spec.Period = 1;
  spec.Bars.reserve(SyntheticBars);
  std::uint64_t s = 1;
  double close = 1.1;
  for (int i = 0; i < SyntheticBars; ++i) {
    s = (1103515245u * s + 12345u) % (1u << 31);
    const double noise = static_cast<double>(s) / (1u << 30) - 1.0;
    THistoryBar bar;
    bar.Time = 1704067200 + i * 60;
    bar.Open = close;
    close *= 1 + 0.001 * noise;
    bar.Close = close;
    bar.High = std::max(bar.Open, bar.Close) + 0.0005;
    bar.Low = std::min(bar.Open, bar.Close) - 0.0005;
    bar.Volume = 1;
    spec.Bars.push_back(bar);
  }
  std::ofstream(fileName, std::ios::binary) << testing::HistoryFileBytes(spec);
  return fileName;
}

struct TWorkbench {
  QTemporaryDir Dir;
  TNoDialogs Dialogs;
  std::unique_ptr<TfrmMain> Main;

  TWorkbench() {
    WorkbenchSettings = TWorkbenchSettings{};
    Main = std::make_unique<TfrmMain>(Dialogs, (Dir.path() + "/orvel.ini").toStdString());
    Main->CreateStartWindows();
    Main->resize(1280, 800);
    Main->show();
    if (!QTest::qWaitForWindowExposed(Main.get())) std::abort();
    Main->actFormSpectrum->trigger();
    QCoreApplication::processEvents();
  }
  ~TWorkbench() {
    Main.reset();
    WaitForDesignThreads();
  }
  TfrmSpectrum& Spectrum() { return *dynamic_cast<TfrmSpectrum*>(Main->FindChildWindow("frmspectrum")); }
};

void ComputeAndDraw(benchmark::State& state, const std::string& history) {
  TWorkbench bench;
  TfrmSpectrum& s = bench.Spectrum();
  s.OpenFile(history);
  QCoreApplication::processEvents();
  for (auto _ : state) {
    s.btnCalc->click();
    // Both charts painted, the one on the page in view and the other.
    benchmark::DoNotOptimize(s.SpectrumChart->grab());
    benchmark::DoNotOptimize(s.SpectrumChart1->grab());
  }
  state.counters["bars"] = s.tbTo->value() - s.tbFrom->value() + 1;
  state.counters["lines"] = s.Series3->Count();
}

void BM_SpectrumSampleHistory(benchmark::State& state) { ComputeAndDraw(state, ORVEL_SAMPLE_HISTORY); }
BENCHMARK(BM_SpectrumSampleHistory)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SpectrumMillionBars(benchmark::State& state) { ComputeAndDraw(state, SyntheticHistory()); }
BENCHMARK(BM_SpectrumMillionBars)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  classlib::InstallQtSyncDispatcher();
  chart::InitChartEngine();
  sig::InitSignal();
  analysis_ui::InitAnalysisUi();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  WaitForDesignThreads();
  analysis_ui::DoneAnalysisUi();
  sig::DoneSignal();
  chart::DoneChartEngine();
  return 0;
}

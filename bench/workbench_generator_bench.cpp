// The filter generator driven as a user drives it, offscreen, over the 5 000
// bars of the sample history that the README has a new user open first:
// pressing the start button with the default own-exchange filter until every
// page is refreshed (thread start, design, delay cut, views, price preview,
// text), and one step of a coefficient drag (views, preview, text, and the
// repaint of the live and price charts in view), which must stay well inside
// a frame for the point to follow the mouse.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTabWidget>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <memory>

#include "chart/tools/ChartEngine.h"
#include "chart/widgets/KivPanelWidget.h"
#include "platform/classlib/Threads.h"
#include "workbench/forms/RemezThread.h"
#include "workbench/forms/UserDialogs.h"
#include "workbench/forms/formMain.h"
#include "workbench/forms/formRemez.h"
#include "workbench/logic/Classes_Remez.h"

namespace {

using namespace workbench;

// No dialog may show during a measurement: every message is an error.
class TNoDialogs : public TQtUserDialogs {
 public:
  TMessageResult MessageBox(const std::string& text, const std::string&, TMessageButtons, TMessageIcon) override {
    std::fprintf(stderr, "unexpected message: %s\n", text.c_str());
    std::abort();
  }
};

struct TWorkbench {
  QTemporaryDir Dir;
  TNoDialogs Dialogs;
  std::unique_ptr<TfrmMain> Main;

  TWorkbench() {
    Dir.setAutoRemove(true);
    WorkbenchSettings = TWorkbenchSettings{};
    Main = std::make_unique<TfrmMain>(Dialogs, (Dir.path() + "/orvel.ini").toStdString());
    Main->resize(1280, 800);
    Main->show();
    if (!QTest::qWaitForWindowExposed(Main.get())) std::abort();
    Generator().Method1->click();
  }
  ~TWorkbench() {
    Main.reset();
    WaitForDesignThreads();
  }
  TfrmRemez& Generator() { return *dynamic_cast<TfrmRemez*>(Main->FindChildWindow("frmremez")); }

  void DesignAndWait() {
    TfrmRemez& g = Generator();
    g.ButtonStart->click();
    QDeadlineTimer deadline(60000);
    while (g.DesignRunning() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  }
};

void BM_GeneratorDefaultDesign(benchmark::State& state) {
  TWorkbench bench;
  bench.Generator().OpenFile(ORVEL_SAMPLE_HISTORY);
  for (auto _ : state) {
    bench.DesignAndWait();
    benchmark::DoNotOptimize(bench.Generator().IndicatorText().size());
  }
  state.counters["coefficients"] = bench.Generator().Design().DesignCoefCount;
  state.counters["bars"] = static_cast<double>(bench.Generator().PriceChart().Bars.size());
}
BENCHMARK(BM_GeneratorDefaultDesign)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GeneratorDragStep(benchmark::State& state) {
  TWorkbench bench;
  TfrmRemez& g = bench.Generator();
  g.OpenFile(ORVEL_SAMPLE_HISTORY);
  bench.DesignAndWait();
  // The user drags on the live page while the price page shows.
  g.pcMain->setCurrentWidget(g.tsTimeChart);
  g.pcText->setCurrentIndex(1);
  QCoreApplication::processEvents();
  const double centre = g.Design().DesignCoefficients.Coef[0];
  int step = 0;
  for (auto _ : state) {
    // The mouse moves the centre point up and down by a little each step.
    g.ChartTool1DragPoint(0, centre + ((++step & 1) ? 0.01 : -0.01));
    // And both charts in view paint what changed.
    g.ChartFunct->repaint();
    g.TimeChart->repaint();
    benchmark::DoNotOptimize(g.IndicatorText().size());
  }
  state.counters["bars"] = static_cast<double>(g.PriceChart().Bars.size());
}
BENCHMARK(BM_GeneratorDragStep)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  classlib::InstallQtSyncDispatcher();
  chart::InitChartEngine();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  WaitForDesignThreads();
  chart::DoneChartEngine();
  return 0;
}

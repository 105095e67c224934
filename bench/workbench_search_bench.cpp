// The brute-force search over the sample history (5000 hourly bars) against
// the output of the generator's default filter, with the default low-pass
// ranges of the settings file (P1 10..80, D1 10..80, A1 10..60 step 5, ripple
// 0.001 and 0.006, delay 0..5: 328 020 combinations).
//
// BM_SearchCombinations/<workers> runs the first P1 values of those ranges
// (every D1, A1, ripple and delay) and reports combinations per second; the
// scaling of all cores against one is printed after the runs.
// BM_DefaultSearch runs the whole default search once on all cores.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <stdexcept>
#include <thread>

#include "RunReporter.h"
#include "workbench/logic/BruteForceSearch.h"
#include "workbench/logic/CompareRows.h"
#include "workbench/logic/HistoryFile.h"
#include "workbench/logic/SettingsFile.h"
#include "workbench/logic/formRemezPreview.h"

namespace {

using namespace workbench;

class TQuietMessages : public TUserMessages {
 public:
  TMessageResult MessageBox(const std::string& text, const std::string&, TMessageButtons, TMessageIcon) override {
    throw std::runtime_error(text);
  }
};

// The sample history and the generator's default filter over it, as the
// comparison holds them.
const TSearchData& SampleData() {
  static const TSearchData data = [] {
    TQuietMessages messages;
    THistory history;
    if (!LoadHistoryFile(ORVEL_SAMPLE_HISTORY, messages, history)) throw std::runtime_error("no sample history");
    TPriceChart chart;
    SetHistoryBars(chart, history);
    TFilterRecord f;
    f.Name = "fatl";
    f.FilterType = ftLowPass;
    f.P1 = 24, f.D1 = 12, f.A1 = 40, f.P2 = 31, f.D2 = 52, f.A2 = 40;
    f.Ripple = 0.08;
    f.Method = dmLibrary;
    TDesignWorkspace ws;
    f.Order = SearchOrderEstimate(ws, f);
    TCompareRows rows{NewSourceRow(f)};
    TCoefficientRecord work{};
    TRowPoints points;
    CalculateFilterOutput(ws, rows, 0, chart, work, points);
    TSearchData d;
    for (const TPriceBar& bar : chart.Bars) d.Closes.push_back(bar.Close);
    d.LastBar = chart.LastIndex;
    d.Reference = rows[0].Output;
    d.CorrelationBars = 100;
    return d;
  }();
  return data;
}

TSearchRanges DefaultRanges() { return SearchRangesOf(DefaultWorkbenchSettings(), ftLowPass); }

int AllCores() { return static_cast<int>(std::max(std::thread::hardware_concurrency(), 1u)); }

void BM_SearchCombinations(benchmark::State& state) {
  TSearchRanges ranges = DefaultRanges();
  ranges.P1to = ranges.P1from + 14;  // P1 10 .. 24
  const int workers = static_cast<int>(state.range(0));
  std::int64_t combinations = 0;
  for (auto _ : state) {
    TBruteForceSearch search(ranges, SampleData());
    search.CountCombinations();
    search.Search(workers);
    combinations += search.CombinationsDone();
    benchmark::DoNotOptimize(search.Results().size());
  }
  state.counters["combinations/s"] = benchmark::Counter(static_cast<double>(combinations), benchmark::Counter::kIsRate);
}

void BM_DefaultSearch(benchmark::State& state) {
  for (auto _ : state) {
    TBruteForceSearch search(DefaultRanges(), SampleData());
    state.counters["combinations"] = static_cast<double>(search.CountCombinations());
    search.Search(AllCores());
    state.counters["listed"] = static_cast<double>(search.Results().size());
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("BM_SearchCombinations", BM_SearchCombinations)
      ->Arg(1)
      ->Arg(2)
      ->Arg(4)
      ->Arg(AllCores())
      ->Unit(benchmark::kSecond)
      ->UseRealTime()
      ->MinTime(2);
  benchmark::RegisterBenchmark("BM_DefaultSearch", BM_DefaultSearch)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
  benchmark::Initialize(&argc, argv);
  orvel_bench::TRunReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double one = reporter.Counter("BM_SearchCombinations/1/min_time:2.000/real_time", "combinations/s");
  const std::string all = "BM_SearchCombinations/" + std::to_string(AllCores()) + "/min_time:2.000/real_time";
  const double many = reporter.Counter(all, "combinations/s");
  for (int workers : {2, 4}) {
    const double some = reporter.Counter("BM_SearchCombinations/" + std::to_string(workers) + "/min_time:2.000/real_time",
                                         "combinations/s");
    if (one > 0 && some > 0)
      std::printf("Search on %d workers: %.2f x one (%.2f per worker)\n", workers, some / one, some / one / workers);
  }
  if (one > 0 && many > 0)
    std::printf("Search on %d cores: %.0f combinations/s against %.0f on one: %.2f x (%.2f per core)\n", AllCores(),
                many, one, many / one, many / one / AllCores());
  benchmark::Shutdown();
  return 0;
}

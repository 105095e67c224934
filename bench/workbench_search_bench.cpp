// The brute-force search over the sample history (5000 hourly bars) against
// the output of the generator's default filter, with the default low-pass
// ranges of the settings file (P1 10..80, D1 10..80, A1 10..60 step 5, ripple
// 0.001 and 0.006, delay 0..5: 328 020 combinations).
//
// BM_SearchCombinations/<workers> runs the first P1 values of those ranges
// (every D1, A1, ripple and delay) and reports combinations per second; the
// scaling of all cores against one is printed after the runs.
// BM_DefaultSearchSlice runs a slice across the whole default search on all
// cores and gives the time of the whole from it; BM_DefaultSearch runs the
// whole once on all cores. "All cores" are those the process may run on.
#include <benchmark/benchmark.h>

#include <sched.h>

#include <algorithm>
#include <chrono>
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

// The cores this process may run on (a taskset narrows them).
int AllCores() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) == 0) return std::max(CPU_COUNT(&set), 1);
  return static_cast<int>(std::max(std::thread::hardware_concurrency(), 1u));
}

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

// Every seventh P1 of the default ranges (10, 17, .., 80) with all the rest:
// a slice of the whole search across its orders, on all cores; the time of
// the whole follows from its share of the combinations.
void BM_DefaultSearchSlice(benchmark::State& state) {
  TSearchRanges slice = DefaultRanges();
  slice.P1step = 7;
  const double whole = static_cast<double>(TBruteForceSearch(DefaultRanges(), {}).CountCombinations());
  double seconds = 0, combinations = 0;
  for (auto _ : state) {
    TBruteForceSearch search(slice, SampleData());
    combinations = static_cast<double>(search.CountCombinations());
    const auto start = std::chrono::steady_clock::now();
    search.Search(AllCores());
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }
  state.counters["combinations"] = combinations;
  state.counters["whole_combinations"] = whole;
  state.counters["whole_seconds"] = combinations > 0 ? seconds * whole / combinations : 0;
}

}  // namespace

int main(int argc, char** argv) {
  auto* perWorkers = benchmark::RegisterBenchmark("BM_SearchCombinations", BM_SearchCombinations);
  for (int workers : {1, 2, 4})
    if (workers < AllCores()) perWorkers->Arg(workers);
  perWorkers->Arg(AllCores())->Unit(benchmark::kSecond)->UseRealTime()->MinTime(2);
  benchmark::RegisterBenchmark("BM_DefaultSearchSlice", BM_DefaultSearchSlice)
      ->Iterations(1)
      ->Unit(benchmark::kSecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("BM_DefaultSearch", BM_DefaultSearch)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
  benchmark::Initialize(&argc, argv);
  orvel_bench::TRunReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double one = reporter.Counter("BM_SearchCombinations/1/min_time:2.000/real_time", "combinations/s");
  const std::string all = "BM_SearchCombinations/" + std::to_string(AllCores()) + "/min_time:2.000/real_time";
  const double many = reporter.Counter(all, "combinations/s");
  for (int workers : {2, 4}) {
    if (workers >= AllCores()) continue;
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

// Keeps what each benchmark measured, by name, so that a benchmark can print
// its ratio against a peer measured in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace orvel_bench {

class TRunReporter : public benchmark::ConsoleReporter {
 public:
  // Real time per iteration, by the benchmark's name with its arguments
  // ("BM_Add/1000"); with --benchmark_repetitions, the median of the repetitions.
  std::map<std::string, double> Times;
  // The counters of the same runs (bytes_per_second, ...), by the same names.
  std::map<std::string, benchmark::UserCounters> Counters;

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (!single && !median) continue;
      const std::string name = run.run_name.str();
      Times[name] = run.GetAdjustedRealTime();
      Counters[name] = run.counters;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // NaN when the run is missing.
  double Time(const std::string& name) const {
    const auto it = Times.find(name);
    return it == Times.end() ? std::nan("") : it->second;
  }

  double Counter(const std::string& name, const std::string& counter) const {
    const auto run = Counters.find(name);
    if (run == Counters.end()) return std::nan("");
    const auto it = run->second.find(counter);
    return it == run->second.end() ? std::nan("") : it->second.value;
  }
};

// Runs the benchmarks the command line names into reporter: unless it says
// otherwise, repetitions of every benchmark in one shuffled order, so that a
// change of load falls on both sides of a ratio, their medians reported.
inline void RunShuffled(int argc, char** argv, TRunReporter& reporter) {
  std::vector<char*> args(argv, argv + argc);
  std::string repetitions = "--benchmark_repetitions=9", interleave = "--benchmark_enable_random_interleaving=true",
              aggregates = "--benchmark_report_aggregates_only=true", minTime = "--benchmark_min_time=0.2";
  auto given = [&](const char* flag) {
    return std::any_of(args.begin() + 1, args.end(), [&](const char* a) { return std::string(a).starts_with(flag); });
  };
  if (!given("--benchmark_repetitions")) {
    args.insert(args.begin() + 1, {repetitions.data(), interleave.data(), aggregates.data()});
    if (!given("--benchmark_min_time")) args.insert(args.begin() + 1, minTime.data());
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  benchmark::RunSpecifiedBenchmarks(&reporter);
}

}  // namespace orvel_bench

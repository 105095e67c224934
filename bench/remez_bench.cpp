// Times RemezImpulse on low-pass designs: pass band 0 to 0.1, stop band 0.1 + t to 0.5, grid
// density 16, for (taps, t) = (101, 0.02), (501, 0.004), (1001, 0.002), (2001, 0.001).
// bench/remez_vs_scipy.py runs this beside scipy.signal.remez and prints the ratios.
#include <benchmark/benchmark.h>

#include <vector>

#include "dsp/OptimalFIR.h"

namespace {

void BM_RemezImpulseLowpass(benchmark::State& state) {
  const int taps = static_cast<int>(state.range(0));
  const double t = state.range(1) * 1e-6;  // transition width, in millionths of the sample rate
  const std::vector<double> gains{1, 0}, weights{1, 1};
  std::vector<double> h(taps);
  double dev = 0;
  int status = 0;
  for (auto _ : state) {
    std::vector<double> f{0, 0.1, 0.1 + t, 0.5};
    status = dsp::RemezImpulse(h, f, gains, weights, dsp::rtMultiband, dev, 1.0, false, 16);
    benchmark::DoNotOptimize(h.data());
  }
  state.counters["converged"] = status < dsp::RemezStatusLimit.load() ? 1 : 0;
  state.counters["deviation"] = dev;
}

BENCHMARK(BM_RemezImpulseLowpass)
    ->Args({101, 20000})
    ->Args({501, 4000})
    ->Args({1001, 2000})
    ->Args({2001, 1000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

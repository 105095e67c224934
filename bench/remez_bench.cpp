// Times RemezImpulse on low-pass designs at grid density 16: pass band 0 to fp, stop band
// fp + t to 0.5, for (taps, fp, t) = (101, 0.1, 0.02), (501, 0.1, 0.004), (1001, 0.1, 0.002),
// (2001, 0.1, 0.001), and (1001, 0.2, 0.02), whose deviation lies below double precision: the
// exchange cannot level it and must give up soon.
// bench/remez_vs_scipy.py runs this beside scipy.signal.remez and prints the ratios. Both
// sides make the edges alike, millionths divided by 10^6 and the stop edge as fp + t, so that
// they design the very same doubles; the edges are reported (counters f1, f2) for the script to
// check.
#include <benchmark/benchmark.h>

#include <vector>

#include "dsp/OptimalFIR.h"

namespace {

// Edges in millionths of the sample rate: the division rounds once, to the double nearest the
// decimal edge, as the decimal literal does on the other side.
void BM_RemezImpulseLowpass(benchmark::State& state) {
  const int taps = static_cast<int>(state.range(0));
  const double fp = static_cast<double>(state.range(1)) / 1e6, t = static_cast<double>(state.range(2)) / 1e6;
  const std::vector<double> gains{1, 0}, weights{1, 1};
  std::vector<double> h(taps);
  double dev = 0;
  int status = 0;
  for (auto _ : state) {
    std::vector<double> f{0, fp, fp + t, 0.5};
    status = dsp::RemezImpulse(h, f, gains, weights, dsp::rtMultiband, dev, 1.0, false, 16);
    benchmark::DoNotOptimize(h.data());
  }
  state.counters["converged"] = status < dsp::RemezStatusLimit.load() ? 1 : 0;
  state.counters["deviation"] = dev;
  state.counters["f1"] = fp;
  state.counters["f2"] = fp + t;
}

BENCHMARK(BM_RemezImpulseLowpass)
    ->Args({101, 100000, 20000})
    ->Args({501, 100000, 4000})
    ->Args({1001, 100000, 2000})
    ->Args({2001, 100000, 1000})
    ->Args({1001, 200000, 20000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

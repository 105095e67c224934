// Times the signal filter and the sampling-rate converter on real noise: s := (1103515245 s +
// 12345) mod 2^31 from s = 1, sample s / 2^30 - 1.
//   BM_FilterFir2001      one update of 10^6 samples through a filter component with 2001
//                         external taps h[k] = sin(0.3 (k + 1)) / (k + 1).
//   BM_FilterIirButter8   one update of 10^6 samples through a filter component that designs
//                         the 8th-order Butterworth low-pass at 0.2 of the Nyquist frequency.
//   BM_RateConverter/i    60 s of mono 48 kHz (2 880 000 samples) in blocks of 4800 (0.1 s)
//                         through the rate converter at factor 4, 1/8, 1.5 or 0.3 (i = 0 .. 3),
//                         default ripple and transition; the counter RealTime says how many
//                         times faster than real time it ran.
// bench/signal_filters_vs_scipy.py makes the same data, times scipy.signal.lfilter and
// scipy.signal.resample_poly on it on the same pinned core and prints the ratios.
#include <benchmark/benchmark.h>

#include <cmath>

#include "LcgNoise.h"
#include "platform/spl/FftPlanning.h"
#include "signal/RateConverter.h"
#include "signal/SignalFilter.h"

namespace {

constexpr int kSamples = 1000000;
constexpr int kRate = 48000;
constexpr int kSeconds = 60;
constexpr int kBlock = 4800;
constexpr double kFactors[] = {4.0, 0.125, 1.5, 0.3};

void BM_FilterFir2001(benchmark::State& state) {
  sig::TSignal input;
  orvel_bench::LcgNoise(input.Data(), kSamples);
  sig::TSignalFilter filter;
  filter.SetInput(&input);
  filter.SetResponse(sig::rstFIR);
  filter.SetExternalTaps(true);
  numeric::TVec taps;
  taps.Size(2001, false);
  for (int k = 0; k < 2001; ++k) taps.Values()[k] = std::sin(0.3 * (k + 1)) / (k + 1);
  filter.SetTaps(taps);
  // Plans the transforms of the long filter and waits for the measured plans.
  filter.Update();
  spl::WaitForFftPlans();
  for (auto _ : state) {
    filter.Update();
    benchmark::DoNotOptimize(filter.Data().Values());
  }
  state.SetItemsProcessed(state.iterations() * kSamples);
}

void BM_FilterIirButter8(benchmark::State& state) {
  sig::TSignal input;
  orvel_bench::LcgNoise(input.Data(), kSamples);
  sig::TSignalFilter filter;
  filter.SetInput(&input);
  filter.SetResponse(sig::rstIIR);
  filter.SetAutoFilterOrder(false);
  filter.SetOrder(8);
  filter.Filters().AddEmptyTemplate("low-pass");
  sig::TFilterBand pass, stop;
  pass.Stop = 0.2;
  pass.Gain = 1;
  pass.Ripple = 1;
  stop.Start = 0.3;
  stop.Stop = 1;
  stop.Ripple = 40;
  filter.Filters().Template().AddBand(pass);
  filter.Filters().Template().AddBand(stop);
  filter.Update();
  if (!filter.Designed()) state.SkipWithError(filter.ErrorText().c_str());
  for (auto _ : state) {
    filter.Update();
    benchmark::DoNotOptimize(filter.Data().Values());
  }
  state.SetItemsProcessed(state.iterations() * kSamples);
}

void BM_RateConverter(benchmark::State& state) {
  const double factor = kFactors[state.range(0)];
  numeric::TVec all;
  orvel_bench::LcgNoise(all, kRate * kSeconds);
  sig::TSignal input;
  sig::TSignalRateConverter conv;
  conv.SetFactor(factor);
  conv.SetInput(&input);
  const auto run = [&] {
    for (int start = 0; start < all.Length(); start += kBlock) {
      input.Data().Size(kBlock, false);
      input.Data().Copy(all, start, 0, kBlock);
      input.SetSamplingFrequency(kRate);
      conv.Update();
      benchmark::DoNotOptimize(conv.Data().Values());
    }
  };
  // The first run designs the filters.
  run();
  for (auto _ : state) run();
  state.SetItemsProcessed(state.iterations() * all.Length());
  state.counters["RealTime"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kSeconds, benchmark::Counter::kIsRate);
}

BENCHMARK(BM_FilterFir2001)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FilterIirButter8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RateConverter)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

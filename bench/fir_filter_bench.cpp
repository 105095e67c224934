// Times the running filters on 10^6 real samples in one block: FirFilter with 64 and 512 taps
// and IirFilter with the 6th-order Butterworth low-pass at 0.2 of the Nyquist frequency.
// Input: s := (1103515245 s + 12345) mod 2^31 from s = 1, sample s / 2^30 - 1; taps
// h[k] = sin(0.3 (k + 1)) / (k + 1). bench/fir_filter_vs_scipy.py makes the same data, times
// scipy.signal.lfilter on it and prints the ratios.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "dsp/SignalUtils.h"
#include "platform/spl/FftPlanning.h"

namespace {

constexpr int kSamples = 1000000;

void Input(numeric::TVec& x) {
  x.Size(kSamples, false);
  std::uint64_t s = 1;
  for (int i = 0; i < kSamples; ++i) {
    s = (1103515245u * s + 12345u) % (1u << 31);
    x.Values()[i] = static_cast<double>(s) / (1u << 30) - 1.0;
  }
}

void BM_FirFilter(benchmark::State& state) {
  const int taps = static_cast<int>(state.range(0));
  numeric::TVec x, y, h;
  Input(x);
  h.Size(taps, false);
  for (int k = 0; k < taps; ++k) h.Values()[k] = std::sin(0.3 * (k + 1)) / (k + 1);
  dsp::TFirState fir;
  dsp::FirInitState(h, fir, false);
  // Plans the transforms a long filter uses, and waits for the measured plans.
  dsp::FirFilter(x, y, fir);
  spl::WaitForFftPlans();
  for (auto _ : state) {
    dsp::FirFilter(x, y, fir);
    benchmark::DoNotOptimize(y.Values());
  }
  state.SetItemsProcessed(state.iterations() * kSamples);
}

void BM_IirFilterButter6(benchmark::State& state) {
  // scipy.signal.butter(6, 0.2): numerator, then denominator.
  const double taps[] = {0.00034053765272012797, 0.0020432259163207676, 0.0051080647908019194,
                         0.0068107530544025598,  0.0051080647908019194, 0.0020432259163207676,
                         0.00034053765272012797, 1,                     -3.5794347983311914,
                         5.6586671659336236,     -4.9654152287785678,   2.529494905841446,
                         -0.70527411450990019,   0.083756479618678881};
  numeric::TVec x, y, h;
  Input(x);
  h.SetIt(false, taps);
  dsp::TIirState iir;
  dsp::IirInitState(h, iir, false);
  for (auto _ : state) {
    dsp::IirFilter(x, y, iir);
    benchmark::DoNotOptimize(y.Values());
  }
  state.SetItemsProcessed(state.iterations() * kSamples);
}

BENCHMARK(BM_FirFilter)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_IirFilterButter6)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

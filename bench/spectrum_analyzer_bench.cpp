// Times the spectrum analyser on real noise: s := (1103515245 s + 12345) mod 2^31 from s = 1,
// sample s / 2^30 - 1.
//   BM_UpdateAmpltHann/N   one Update of N samples (2^20 and 10^6, both over 2^20 points),
//                          spAmplt with the Hann window and the defaults otherwise.
//   BM_WelchLinearAverage  60 s at 48 kHz (2 880 000 samples) as 4096-sample frames with
//                          50 % overlap (1405 frames), each put into the input and updated:
//                          spPower, Hann, avLinearInf; the phase is not kept, as a Welch
//                          estimate has none.
//   BM_UpdateLargestPeaksNumeric  one Update of 2^20 samples: ten tones (tone k at line
//                          1000 + 40000 k + 0.37 k, amplitude 1 / (k + 1)) over the noise
//                          times 1e-3; spAmplt, rectangular window, the ten largest peaks
//                          (ptLargest) refined by imNumeric at ip8 (1e-8 of a line), each
//                          mark's amplitude and phase read at its refined frequency.
// bench/spectrum_analyzer_vs_scipy.py makes the same data, times scipy.signal.periodogram and
// scipy.signal.welch on it on the same pinned core and prints the ratios.
#include <benchmark/benchmark.h>

#include <cmath>

#include "LcgNoise.h"
#include "numeric/MathCore.h"
#include "platform/spl/FftPlanning.h"
#include "signal/SpectrumAnalyzer.h"
#include "signal/SpectrumPeaks.h"
#include "signal/SpectrumStats.h"

namespace {

void BM_UpdateAmpltHann(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  sig::TSignal input;
  orvel_bench::LcgNoise(input.Data(), n);
  input.SetSamplingFrequency(48000.0);
  sig::TSpectrumAnalyzer a;
  a.SetInput(&input);
  a.SetWindow(dsp::wtHanning);
  // Plans the transform and waits for its measured plan.
  a.Update();
  spl::WaitForFftPlans();
  a.Update();
  for (auto _ : state) {
    a.Update();
    benchmark::DoNotOptimize(a.Amplt().Values());
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_WelchLinearAverage(benchmark::State& state) {
  constexpr int total = 60 * 48000, frame = 4096, step = frame / 2;
  numeric::TVec x;
  orvel_bench::LcgNoise(x, total);
  sig::TSignal input;
  input.Data().Size(frame, false);
  input.SetSamplingFrequency(48000.0);
  sig::TSpectrumAnalyzer a;
  a.SetInput(&input);
  a.SetWindow(dsp::wtHanning);
  a.SetSpectrumType(dsp::spPower);
  a.SetPhaseMode(sig::pmIgnore);
  a.Stats().SetAveraging(sig::avLinearInf);
  a.Update();
  spl::WaitForFftPlans();
  int frames = 0;
  for (auto _ : state) {
    a.ResetAveraging();
    frames = 0;
    for (int start = 0; start + frame <= total; start += step, ++frames) {
      input.Data().Copy(x, start, 0, frame);
      a.Update();
    }
    benchmark::DoNotOptimize(a.Amplt().Values());
  }
  state.counters["frames"] = frames;
  state.SetItemsProcessed(state.iterations() * total);
}

void BM_UpdateLargestPeaksNumeric(benchmark::State& state) {
  constexpr int n = 1 << 20;
  sig::TSignal input;
  orvel_bench::LcgNoise(input.Data(), n);
  double* x = input.Data().Values();
  for (int j = 0; j < n; ++j) x[j] *= 1e-3;
  for (int k = 0; k < 10; ++k) {
    const double line = 1000.0 + 40000.0 * k + 0.37 * k;
    for (int j = 0; j < n; ++j) x[j] += std::sin(2.0 * numeric::PI * line * j / n) / (k + 1);
  }
  input.SetSamplingFrequency(48000.0);
  sig::TSpectrumAnalyzer a;
  a.SetInput(&input);
  a.Peaks().SetTraceMethod(sig::ptLargest);
  a.Peaks().SetLargestCount(10);
  a.Peaks().Interpolation().SetMethod(sig::imNumeric);
  a.Peaks().Interpolation().SetPrecision(sig::ip8);
  a.Update();
  spl::WaitForFftPlans();
  for (auto _ : state) {
    a.Update();
    benchmark::DoNotOptimize(a.Marks().GetMark(9).First);
  }
  state.counters["peaks"] = a.Marks().Count();
}

BENCHMARK(BM_UpdateAmpltHann)->Arg(1 << 20)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WelchLinearAverage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UpdateLargestPeaksNumeric)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

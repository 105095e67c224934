// Times the cross-spectrum and bispectrum analysers on real noise: s := (1103515245 s + 12345)
// mod 2^31 from s = 1, sample s / 2^30 - 1.
//   BM_CrossWelch        60 s at 48 kHz (2 880 000 samples) of x and of y[j] = (x[j] +
//                        x[j - 1]) / 2 as 4096-sample frames with 50 % overlap (1405 frames),
//                        each put into the input and the output and updated: Hann window,
//                        avLinearInf, the coherence shown (the cross and both power spectra
//                        are averaged on the way).
//   BM_BispectrumFrame   one update of an 8192-sample frame (the next slice of the noise, 4096
//                        lines) into a running average of 16 frames before it: modified
//                        bicoherence of the whole principal domain (2049 x 2048 pairs), the row
//                        at 1000 Hz shown. The counter MatrixMB is what the averages and the
//                        result hold, PeakRssMB the process's largest resident size.
// bench/cross_bispectrum_vs_scipy.py makes the same data, times scipy.signal.csd and
// scipy.signal.coherence and numpy's products on it on the same pinned core and prints the
// ratios.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include "LcgNoise.h"
#include "platform/spl/FftPlanning.h"
#include "signal/BispectrumAnalyzer.h"
#include "signal/CrossSpectrumAnalyzer.h"
#include "signal/SpectrumStats.h"

namespace {

double PeakRssMB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

void BM_CrossWelch(benchmark::State& state) {
  constexpr int total = 60 * 48000, frame = 4096, step = frame / 2;
  numeric::TVec x, y;
  orvel_bench::LcgNoise(x, total);
  y.Size(total, false);
  y.Values()[0] = x.Values()[0] / 2;
  for (int j = 1; j < total; ++j) y.Values()[j] = (x.Values()[j] + x.Values()[j - 1]) / 2;
  sig::TSignal input, output;
  for (sig::TSignal* s : {&input, &output}) {
    s->Data().Size(frame, false);
    s->SetSamplingFrequency(48000.0);
  }
  sig::TCrossSpectrumAnalyzer a;
  a.SetInput(&input);
  a.SetOutput(&output);
  a.SetWindow(dsp::wtHanning);
  a.CrossAnalyzer().SetTransform(sig::ctCoherence);
  a.Update();
  spl::WaitForFftPlans();
  int frames = 0;
  for (auto _ : state) {
    a.ResetAveraging();
    frames = 0;
    for (int start = 0; start + frame <= total; start += step, ++frames) {
      input.Data().Copy(x, start, 0, frame);
      output.Data().Copy(y, start, 0, frame);
      a.Update();
    }
    benchmark::DoNotOptimize(a.Amplt().Values());
  }
  state.counters["frames"] = frames;
  state.SetItemsProcessed(state.iterations() * total);
}

void BM_BispectrumFrame(benchmark::State& state) {
  constexpr int frame = 8192, slices = 64;
  numeric::TVec x;
  orvel_bench::LcgNoise(x, frame * slices);
  sig::TSignal input;
  input.Data().Size(frame, false);
  input.SetSamplingFrequency(8192.0);
  sig::TBiSpectrumAnalyzer a;
  a.SetInput(&input);
  int slice = 0;
  const auto next = [&] {
    input.Data().Copy(x, (slice++ % slices) * frame, 0, frame);
    a.Update();
  };
  next();
  spl::WaitForFftPlans();
  a.BiAnalyzer().SetFrequency(1000.0);
  for (int f = 0; f < 16; ++f) next();
  for (auto _ : state) {
    next();
    benchmark::DoNotOptimize(a.Amplt().Values());
  }
  const numeric::TMtx& m = a.BiAnalyzer().Bispectrum();
  // B (complex), N and the result, each of the result's shape.
  state.counters["MatrixMB"] = static_cast<double>(m.ElementCount()) * (16 + 8 + 8) / (1 << 20);
  state.counters["PeakRssMB"] = PeakRssMB();
}

BENCHMARK(BM_CrossWelch)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BispectrumFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

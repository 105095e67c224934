// Fourier transforms through the project's API (TVec.FFT of a complex and of
// a real vector, out of place) against a bare FFTW plan made with the same
// flags (FFTW_MEASURE, the planner's time limit the layer sets) on arrays of
// the same alignment. The table at the end gives TVec / bare FFTW.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "RunReporter.h"
#include "numeric/Numora.h"

namespace {

using numeric::TVec;

void Fill(TVec& v, std::int32_t n, bool complex) {
  std::mt19937_64 rng(1);
  std::uniform_real_distribution<double> u(-1, 1);
  v.Size(n, complex);
  for (std::int32_t i = 0; i < v.DoubleLength(); ++i) v.Values()[i] = u(rng);
}

void BM_TVecComplexFft(benchmark::State& state) {
  TVec x, y;
  Fill(x, static_cast<std::int32_t>(state.range(0)), true);
  y.FFT(x);  // plans outside the timing
  for (auto _ : state) {
    y.FFT(x);
    benchmark::DoNotOptimize(y.Values());
  }
}

void BM_FftwComplexFft(benchmark::State& state) {
  TVec x, y;
  const auto n = static_cast<std::int32_t>(state.range(0));
  Fill(x, n, true);
  y.FFT(x);  // the layer sets the planner's limits first, as in the peer
  auto* in = reinterpret_cast<fftw_complex*>(x.Values());
  auto* out = reinterpret_cast<fftw_complex*>(y.Values());
  TVec scratchIn, scratchOut;
  scratchIn.Size(n, true);
  scratchOut.Size(n, true);
  fftw_plan plan = fftw_plan_dft_1d(n, reinterpret_cast<fftw_complex*>(scratchIn.Values()),
                                    reinterpret_cast<fftw_complex*>(scratchOut.Values()), FFTW_FORWARD, FFTW_MEASURE);
  for (auto _ : state) {
    fftw_execute_dft(plan, in, out);
    benchmark::DoNotOptimize(out);
  }
  fftw_destroy_plan(plan);
}

void BM_TVecRealFft(benchmark::State& state) {
  TVec x, y;
  Fill(x, static_cast<std::int32_t>(state.range(0)), false);
  y.FFT(x);
  for (auto _ : state) {
    y.FFT(x);
    benchmark::DoNotOptimize(y.Values());
  }
}

void BM_FftwRealFft(benchmark::State& state) {
  TVec x, y;
  const auto n = static_cast<std::int32_t>(state.range(0));
  Fill(x, n, false);
  y.FFT(x);
  TVec scratchIn, scratchOut;
  scratchIn.Size(n, false);
  scratchOut.Size(n / 2 + 1, true);
  fftw_plan plan = fftw_plan_dft_r2c_1d(n, scratchIn.Values(), reinterpret_cast<fftw_complex*>(scratchOut.Values()),
                                        FFTW_MEASURE);
  auto* out = reinterpret_cast<fftw_complex*>(y.Values());
  for (auto _ : state) {
    fftw_execute_dft_r2c(plan, x.Values(), out);
    benchmark::DoNotOptimize(out);
  }
  fftw_destroy_plan(plan);
}

BENCHMARK(BM_TVecComplexFft)->Arg(1024)->Arg(65536);
BENCHMARK(BM_FftwComplexFft)->Arg(1024)->Arg(65536);
BENCHMARK(BM_TVecRealFft)->Arg(1024)->Arg(65536);
BENCHMARK(BM_FftwRealFft)->Arg(1024)->Arg(65536);


}  // namespace

int main(int argc, char** argv) {
  numeric::InitNumora();
  benchmark::Initialize(&argc, argv);
  orvel_bench::TRunReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nTVec / bare FFTW (time per transform)\n");
  for (const char* kind : {"Complex", "Real"}) {
    for (const char* n : {"1024", "65536"}) {
      const double ours = reporter.Time(std::string("BM_TVec") + kind + "Fft/" + n);
      const double peer = reporter.Time(std::string("BM_Fftw") + kind + "Fft/" + n);
      if (peer > 0) std::printf("  %-8s %6s points  %.3f\n", kind, n, ours / peer);
    }
  }
  benchmark::Shutdown();
  numeric::DoneNumora();
  return 0;
}

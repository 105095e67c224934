// The workbench's default filter (low-pass, P1 24, D1 12, A1 40, ripple 0.08,
// delay 0): one design by each method (and a long one by the own exchange),
// its delay cut and its indicator text.
#include <benchmark/benchmark.h>

#include "workbench/logic/Classes_Remez.h"

namespace {

using namespace workbench;

TFilterRecord DefaultFilter(std::uint8_t method, int order) {
  TFilterRecord f;
  f.Name = "Default";
  f.FilterType = ftLowPass;
  f.P1 = 24;
  f.D1 = 12;
  f.A1 = 40;
  f.Ripple = 0.08;
  f.Order = order;
  f.AutoOrder = 1;
  f.Method = method;
  return f;
}

// The own exchange designs order + 1 = 51 taps.
void BM_DesignOwnExchange(benchmark::State& state) {
  TDesignWorkspace ws;
  TCoefficientRecord result;
  const TFilterRecord f = DefaultFilter(dmOwnExchange, 50);
  for (auto _ : state) {
    DesignFilterRecord(ws, 0, f, result);
    benchmark::DoNotOptimize(result.Coef.data());
  }
}
BENCHMARK(BM_DesignOwnExchange)->Unit(benchmark::kMicrosecond);

// A long design: 301 taps, whose first extremal sets are far from level.
void BM_DesignOwnExchangeLong(benchmark::State& state) {
  TDesignWorkspace ws;
  TCoefficientRecord result;
  const TFilterRecord f = DefaultFilter(dmOwnExchange, 300);
  for (auto _ : state) {
    DesignFilterRecord(ws, 0, f, result);
    benchmark::DoNotOptimize(result.Coef.data());
  }
  state.counters["converged"] = ws.IterationLimitReached ? 0 : 1;
}
BENCHMARK(BM_DesignOwnExchangeLong)->Unit(benchmark::kMillisecond);

// The library designs its estimate of 48 taps.
void BM_DesignLibrary(benchmark::State& state) {
  TDesignWorkspace ws;
  TCoefficientRecord result;
  const TFilterRecord f = DefaultFilter(dmLibrary, 48);
  for (auto _ : state) {
    DesignFilterRecord(ws, 0, f, result);
    benchmark::DoNotOptimize(result.Coef.data());
  }
}
BENCHMARK(BM_DesignLibrary)->Unit(benchmark::kMicrosecond);

void BM_DelayCut(benchmark::State& state) {
  TDesignWorkspace ws;
  TCoefficientRecord result;
  DesignFilterRecord(ws, 0, DefaultFilter(dmOwnExchange, 50), result);
  for (auto _ : state) {
    TruncateForDelay(ws, ws.KernelLength, 0, 1);
    benchmark::DoNotOptimize(ws.DesignCoefficients.Coef.data());
  }
}
BENCHMARK(BM_DelayCut);

void BM_IndicatorTextMQL4(benchmark::State& state) {
  TDesignWorkspace ws;
  TCoefficientRecord result;
  TFilterRecord f = DefaultFilter(dmOwnExchange, 50);
  DesignFilterRecord(ws, 0, f, result);
  f.CoefCount = result.Count;
  result.TextMode = tmMQL4;
  for (auto _ : state) benchmark::DoNotOptimize(GenerateIndicatorText(f, result));
}
BENCHMARK(BM_IndicatorTextMQL4)->Unit(benchmark::kMicrosecond);

}  // namespace

// Element-wise arithmetic of real vectors through TVec: Self := Self + Vec,
// Self := Self * Vec and Self := Factor * Self, at 1e3 (cache), 1e5 and 1e7
// doubles (memory). The peer is memcpy of the same number of doubles: the
// table at the end gives each operation's memory bandwidth (bytes read plus
// bytes written per second) as a fraction of memcpy's (bytes read plus
// written per second) from the same run.
//
// Bytes per element: add and multiply read two doubles and write one (24),
// scale reads one and writes one (16), memcpy reads one and writes one (16).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "RunReporter.h"
#include "numeric/Numora.h"

namespace {

using numeric::TVec;

void Fill(TVec& v, std::int32_t n, double start) {
  v.Size(n, false);
  for (std::int32_t i = 0; i < n; ++i) v.Values()[i] = start + 1e-3 * i;
}

void BM_Memcpy(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  TVec src, dst;
  Fill(src, static_cast<std::int32_t>(n), 1.0);
  Fill(dst, static_cast<std::int32_t>(n), 2.0);
  for (auto _ : state) {
    std::memcpy(dst.Values(), src.Values(), n * sizeof(double));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 16 * static_cast<std::int64_t>(n));
}

void BM_Add(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  TVec self, vec;
  Fill(self, n, 1.0);
  Fill(vec, n, 0.0);
  for (auto _ : state) {
    self.Add(vec);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 24 * n);
}

void BM_Mul(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  TVec self, vec;
  Fill(self, n, 1.0);
  vec.Size(n, false);
  vec.SetVal(1.0);  // keeps the values finite however often it runs
  for (auto _ : state) {
    self.Mul(vec);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 24 * n);
}

void BM_Scale(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  TVec self;
  Fill(self, n, 1.0);
  double factor = -1.0;
  for (auto _ : state) {
    self.Scale(factor);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 16 * n);
}

BENCHMARK(BM_Memcpy)->Arg(1000)->Arg(100000)->Arg(10000000);
BENCHMARK(BM_Add)->Arg(1000)->Arg(100000)->Arg(10000000);
BENCHMARK(BM_Mul)->Arg(1000)->Arg(100000)->Arg(10000000);
BENCHMARK(BM_Scale)->Arg(1000)->Arg(100000)->Arg(10000000);


}  // namespace

int main(int argc, char** argv) {
  numeric::InitNumora();
  benchmark::Initialize(&argc, argv);
  orvel_bench::TRunReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nbandwidth (bytes read + written per second) / memcpy's\n");
  for (const char* op : {"BM_Add", "BM_Mul", "BM_Scale"}) {
    for (const char* size : {"1000", "100000", "10000000"}) {
      const double own = reporter.Counter(std::string(op) + "/" + size, "bytes_per_second");
      const double peer = reporter.Counter(std::string("BM_Memcpy/") + size, "bytes_per_second");
      if (!(own > 0) || !(peer > 0)) continue;
      std::printf("  %-9s %9s doubles  %6.1f GB/s  memcpy %6.1f GB/s  ratio %.2f\n", op + 3, size, own / 1e9,
                  peer / 1e9, own / peer);
    }
  }
  benchmark::Shutdown();
  numeric::DoneNumora();
  return 0;
}

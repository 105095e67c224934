// Temporaries from the object cache (CreateIt/FreeIt through TCachedVec)
// against vectors created and freed on the spot, at lengths below, at and
// above the cache's pre-size, and with four threads sharing the cache's lock.
// The peer is the plain vector; the table at the end gives cached / plain.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "RunReporter.h"
#include "numeric/Numora.h"

namespace {

using numeric::TCachedVec;
using numeric::TVec;

void BM_CachedTemporary(benchmark::State& state) {
  const auto length = static_cast<std::int32_t>(state.range(0));
  for (auto _ : state) {
    TCachedVec v;
    v->SetLength(length);
    v->SetVal(1.0);
    benchmark::DoNotOptimize(v->Values());
  }
}

void BM_PlainTemporary(benchmark::State& state) {
  const auto length = static_cast<std::int32_t>(state.range(0));
  for (auto _ : state) {
    TVec v;
    v.SetLength(length);
    v.SetVal(1.0);
    benchmark::DoNotOptimize(v.Values());
  }
}

BENCHMARK(BM_CachedTemporary)->Arg(16)->Arg(1024)->Arg(4096);
BENCHMARK(BM_PlainTemporary)->Arg(16)->Arg(1024)->Arg(4096);
BENCHMARK(BM_CachedTemporary)->Arg(16)->Threads(4);
BENCHMARK(BM_PlainTemporary)->Arg(16)->Threads(4);


}  // namespace

int main(int argc, char** argv) {
  numeric::InitNumora();
  benchmark::Initialize(&argc, argv);
  orvel_bench::TRunReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\ncached / plain (time per temporary)\n");
  for (const auto& [name, cached] : reporter.Times) {
    const std::string prefix = "BM_CachedTemporary";
    if (name.rfind(prefix, 0) != 0) continue;
    const std::string peer = "BM_PlainTemporary" + name.substr(prefix.size());
    if (const double plain = reporter.Time(peer); plain > 0)
      std::printf("  %-36s %.2f\n", name.substr(prefix.size() + 1).c_str(), cached / plain);
  }
  benchmark::Shutdown();
  numeric::DoneNumora();
  return 0;
}

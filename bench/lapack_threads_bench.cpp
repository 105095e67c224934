// The linear-algebra layer keeps OpenBLAS on one thread so that results do not
// depend on the machine. This measures what that costs: each case is timed on
// one thread (the figure shown) and its counter speedup4 gives how much faster
// the same work runs on four threads, measured in the same run.
//
// Sizes: products and LU solves of the orders the matrix operations see, and
// the tall least-squares problem of an autoregressive fit (thousands of
// equations, tens of unknowns).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include "platform/lapack/Lapack.h"

extern "C" void openblas_set_num_threads(int numThreads);

namespace {

std::vector<double> Filled(int count, double seed) {
  std::vector<double> v(count);
  for (int i = 0; i < count; ++i) v[i] = 1.0 / (1.0 + ((i * 7919 + int(seed * 104729)) % 1009));
  return v;
}

double Seconds(int threads, int repeats, const std::function<void()>& work) {
  openblas_set_num_threads(threads);
  work();  // warm: threads started, pages touched
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < repeats; ++i) work();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count();
}

// Times work on one thread for the benchmark, then once more on one and on
// four threads for the ratio; leaves OpenBLAS on one thread.
void Compare(benchmark::State& state, const std::function<void()>& work) {
  lapack::Initialize();
  for (auto _ : state) work();
  const int repeats = static_cast<int>(std::max<benchmark::IterationCount>(state.iterations(), 3));
  const double one = Seconds(1, repeats, work);
  const double four = Seconds(4, repeats, work);
  openblas_set_num_threads(1);
  state.counters["speedup4"] = one / four;
}

void BM_DGEMM(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::vector<double> a = Filled(n * n, 1), b = Filled(n * n, 2);
  std::vector<double> c(static_cast<std::size_t>(n) * n);
  Compare(state, [&] {
    lapack::DGEMM('N', 'T', n, n, n, 1.0, a.data(), n, b.data(), n, 0.0, c.data(), n);
    benchmark::DoNotOptimize(c.data());
  });
}

void BM_DGETRF_DGETRS(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<double> a0 = Filled(n * n, 3);
  for (int i = 0; i < n; ++i) a0[i + static_cast<std::size_t>(i) * n] += n;  // well conditioned
  const std::vector<double> b0 = Filled(n, 4);
  std::vector<double> a, b;
  std::vector<int> ipiv(n);
  Compare(state, [&] {
    a = a0;
    b = b0;
    lapack::DGETRF(n, n, a.data(), n, ipiv.data());
    lapack::DGETRS('N', n, 1, a.data(), n, ipiv.data(), b.data(), n);
    benchmark::DoNotOptimize(b.data());
  });
}

void BM_DGELS_Tall(benchmark::State& state) {
  const int m = static_cast<int>(state.range(0)), n = 50;
  const std::vector<double> a0 = Filled(m * n, 5), b0 = Filled(m, 6);
  std::vector<double> a = a0, b = b0;
  double query = 0;
  lapack::DGELS('N', m, n, 1, a.data(), m, b.data(), m, &query, -1);
  std::vector<double> work(static_cast<std::size_t>(query));
  Compare(state, [&] {
    a = a0;
    b = b0;
    lapack::DGELS('N', m, n, 1, a.data(), m, b.data(), m, work.data(),
                  static_cast<int>(work.size()));
    benchmark::DoNotOptimize(b.data());
  });
}

}  // namespace

BENCHMARK(BM_DGEMM)->Arg(16)->Arg(64)->Arg(256)->Arg(512)->ArgName("n");
BENCHMARK(BM_DGETRF_DGETRS)->Arg(32)->Arg(128)->Arg(512)->ArgName("n");
BENCHMARK(BM_DGELS_Tall)->Arg(1000)->Arg(8000)->ArgName("m");

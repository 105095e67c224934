// The matrix operations against bare OpenBLAS on the same data and the same
// single thread: a real 1000 x 1000 and a complex 500 x 500 product against
// dgemm/zgemm on column-major arrays, and a real 1000 x 1000 solve (with the
// transposed copies the row-major storage needs) against dgesv on a copy.
// The table at the end gives each operation's time over its peer's.
#include <benchmark/benchmark.h>

#include <complex>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/RunReporter.h"
#include "numeric/Numora.h"
#include "platform/lapack/Lapack.h"

extern "C" {
void dgemm_(const char* transa, const char* transb, const int* m, const int* n, const int* k, const double* alpha,
            const double* a, const int* lda, const double* b, const int* ldb, const double* beta, double* c,
            const int* ldc, std::size_t, std::size_t);
void zgemm_(const char* transa, const char* transb, const int* m, const int* n, const int* k,
            const std::complex<double>* alpha, const std::complex<double>* a, const int* lda,
            const std::complex<double>* b, const int* ldb, const std::complex<double>* beta,
            std::complex<double>* c, const int* ldc, std::size_t, std::size_t);
void dgesv_(const int* n, const int* nrhs, double* a, const int* lda, int* ipiv, double* b, const int* ldb,
            int* info);
}

namespace {

// Deterministic values in (0, 1]; the diagonal made dominant when asked, so
// that a solve is well conditioned.
void Fill(double* values, std::size_t count, int seed) {
  for (std::size_t i = 0; i < count; ++i) values[i] = 1.0 / (1.0 + static_cast<double>((i * 7919 + seed * 104729) % 1009));
}

void DominantDiagonal(double* values, int n) {
  for (int i = 0; i < n; ++i) values[static_cast<std::size_t>(i) * n + i] += n;
}

void BM_MtxMulReal(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  numeric::TMtx a, b, c;
  a.Size(n, n, false);
  b.Size(n, n, false);
  Fill(a.Values(), a.DoubleCount(), 1);
  Fill(b.Values(), b.DoubleCount(), 2);
  for (auto _ : state) {
    c.Mul(a, b);
    benchmark::DoNotOptimize(c.Values());
  }
}

void BM_Dgemm(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<double> a(static_cast<std::size_t>(n) * n), b(a.size()), c(a.size());
  Fill(a.data(), a.size(), 1);
  Fill(b.data(), b.size(), 2);
  const double one = 1, zero = 0;
  for (auto _ : state) {
    dgemm_("N", "N", &n, &n, &n, &one, a.data(), &n, b.data(), &n, &zero, c.data(), &n, 1, 1);
    benchmark::DoNotOptimize(c.data());
  }
}

void BM_MtxMulComplex(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  numeric::TMtx a, b, c;
  a.Size(n, n, true);
  b.Size(n, n, true);
  Fill(a.Values(), a.DoubleCount(), 3);
  Fill(b.Values(), b.DoubleCount(), 4);
  for (auto _ : state) {
    c.Mul(a, b);
    benchmark::DoNotOptimize(c.Values());
  }
}

void BM_Zgemm(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<std::complex<double>> a(static_cast<std::size_t>(n) * n), b(a.size()), c(a.size());
  Fill(reinterpret_cast<double*>(a.data()), 2 * a.size(), 3);
  Fill(reinterpret_cast<double*>(b.data()), 2 * b.size(), 4);
  const std::complex<double> one = 1, zero = 0;
  for (auto _ : state) {
    zgemm_("N", "N", &n, &n, &n, &one, a.data(), &n, b.data(), &n, &zero, c.data(), &n, 1, 1);
    benchmark::DoNotOptimize(c.data());
  }
}

void BM_MtxLinSolve(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  numeric::TMtx a;
  numeric::TVec b, x;
  a.Size(n, n, false);
  Fill(a.Values(), a.DoubleCount(), 5);
  DominantDiagonal(a.Values(), n);
  b.Size(n, false);
  Fill(b.Values(), b.DoubleLength(), 6);
  for (auto _ : state) {
    a.LinSolve(b, x);
    benchmark::DoNotOptimize(x.Values());
  }
}

// dgesv destroys its matrix, so each call gets a fresh copy, as the solver
// works on one.
void BM_Dgesv(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<double> a0(static_cast<std::size_t>(n) * n), b0(n), a(a0.size()), b(n);
  Fill(a0.data(), a0.size(), 5);
  DominantDiagonal(a0.data(), n);
  Fill(b0.data(), b0.size(), 6);
  std::vector<int> ipiv(n);
  const int one = 1;
  int info = 0;
  for (auto _ : state) {
    std::memcpy(a.data(), a0.data(), a.size() * sizeof(double));
    std::memcpy(b.data(), b0.data(), b.size() * sizeof(double));
    dgesv_(&n, &one, a.data(), &n, ipiv.data(), b.data(), &n, &info);
    benchmark::DoNotOptimize(b.data());
  }
}

}  // namespace

BENCHMARK(BM_MtxMulReal)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dgemm)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MtxMulComplex)->Arg(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Zgemm)->Arg(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MtxLinSolve)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dgesv)->Arg(1000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  numeric::InitNumora();
  // OpenBLAS on one thread for both sides, as the numeric core runs it.
  lapack::Initialize();
  benchmark::Initialize(&argc, argv);
  orvel_bench::TRunReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\ntime / bare OpenBLAS time (one thread)\n");
  const struct {
    const char* Label;
    const char* Own;
    const char* Peer;
  } pairs[] = {{"real product 1000", "BM_MtxMulReal/1000", "BM_Dgemm/1000"},
               {"complex product 500", "BM_MtxMulComplex/500", "BM_Zgemm/500"},
               {"real solve 1000", "BM_MtxLinSolve/1000", "BM_Dgesv/1000"}};
  for (const auto& p : pairs) {
    const double own = reporter.Time(p.Own), peer = reporter.Time(p.Peer);
    if (!(own > 0) || !(peer > 0)) continue;
    std::printf("  %-20s %9.2f ms  OpenBLAS %9.2f ms  ratio %.3f\n", p.Label, own, peer, own / peer);
  }
  benchmark::Shutdown();
  numeric::DoneNumora();
  return 0;
}

// Fourier and cosine transforms over FFTW3, through the plan cache.
// Tested by: numeric/tests/VecTransformsTest.cpp, numeric/tests/VecTransformsOracleTest.cpp,
// platform/spl/tests/FftPlanningTest.cpp
#include "platform/spl/Fft.h"

#include <fftw3.h>

#include <array>
#include <cmath>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

#include "platform/classlib/Exception.h"
#include "platform/spl/FftPlanCache.h"

namespace spl {

namespace {

// One slot per kind, order, in-place and alignment, for the life of the
// process (never destroyed: other threads may transform during exit).
constexpr int kFftKinds = fkRealInverse + 1;
using TFftSlots = std::array<TPlanSlot, kFftKinds * (MaxFftOrder + 1) * 4>;
TFftSlots& FftSlots() {
  static auto* const slots = new TFftSlots;
  return *slots;
}

int AlignmentOf(const void* p) { return fftw_alignment_of(static_cast<double*>(const_cast<void*>(p))); }

TFftwProblem ProblemOf(TFftwKind kind, int length, const void* in, const void* out) {
  return TFftwProblem{kind, length, in == out, AlignmentOf(in), AlignmentOf(out)};
}

fftw_plan FftPlan(TFftwKind kind, int order, const void* in, const void* out) {
  if (order < 1 || order > MaxFftOrder)
    throw classlib::Exception("FFT: order " + std::to_string(order) + " out of range");
  const TFftwProblem problem = ProblemOf(kind, 1 << order, in, out);
  const std::size_t index =
      ((static_cast<std::size_t>(kind) * (MaxFftOrder + 1) + order) * 2 + (problem.InPlace ? 1 : 0)) * 2 +
      (problem.Aligned() ? 1 : 0);
  return PlanOf(FftSlots()[index], problem, in, out);
}

void Scale(double* data, std::size_t count, double factor) {
  for (std::size_t i = 0; i < count; ++i) data[i] *= factor;
}

// The direction part of the flags; anything else is refused.
bool IsInverse(int flags, const char* routine) {
  const int direction = flags & ~NSP_NoScal;
  if (direction == NSP_Forw && (flags & NSP_NoScal) == 0) return false;
  if (direction == NSP_Inv) return true;
  throw classlib::Exception(std::string(routine) + ": unsupported flags " + std::to_string(flags));
}

fftw_complex* AsFftw(DCplx* p) { return reinterpret_cast<fftw_complex*>(p); }
fftw_complex* AsFftw(const DCplx* p) { return reinterpret_cast<fftw_complex*>(const_cast<DCplx*>(p)); }

void ComplexTransform(const DCplx* src, DCplx* dst, int order, int flags, const char* routine) {
  const bool inverse = IsInverse(flags, routine);
  fftw_plan plan = FftPlan(inverse ? fkComplexInverse : fkComplexForward, order, src, dst);
  fftw_execute_dft(plan, AsFftw(src), AsFftw(dst));
  if (inverse && (flags & NSP_NoScal) == 0) {
    const std::size_t n = std::size_t{1} << order;
    Scale(reinterpret_cast<double*>(dst), 2 * n, 1.0 / static_cast<double>(n));
  }
}

// ---------------------------------------------------------------------------
// Cosine transform plans, for any length.

fftw_plan DctPlan(TFftwKind kind, int n, const double* in, const double* out) {
  using TKey = std::tuple<int, int, bool, bool>;  // kind, n, in place, aligned
  // Slots live as long as the process, like the Fourier ones; the map only
  // grows, so a slot once found stays where it is.
  static auto* const slots = new std::map<TKey, TPlanSlot>;
  static auto* const lock = new std::mutex;
  const TFftwProblem problem = ProblemOf(kind, n, in, out);
  TPlanSlot* slot = nullptr;
  {
    std::lock_guard<std::mutex> guard(*lock);
    slot = &(*slots)[TKey{kind, n, problem.InPlace, problem.Aligned()}];
  }
  return PlanOf(*slot, problem, in, out);
}

}  // namespace

void nspzFft(DCplx* data, int order, int flags) { ComplexTransform(data, data, order, flags, "nspzFft"); }

void nspzFftNip(const DCplx* src, DCplx* dst, int order, int flags) {
  ComplexTransform(src, dst, order, flags, "nspzFftNip");
}

void nspdRealFft(double* data, int order, int flags) {
  if (flags != NSP_Forw) throw classlib::Exception("nspdRealFft: unsupported flags " + std::to_string(flags));
  fftw_plan plan = FftPlan(fkRealForward, order, data, data);
  fftw_execute_dft_r2c(plan, data, reinterpret_cast<fftw_complex*>(data));
}

void nspdRealFftNip(const double* src, DCplx* dst, int order, int flags) {
  if (flags != NSP_Forw) throw classlib::Exception("nspdRealFftNip: unsupported flags " + std::to_string(flags));
  fftw_plan plan = FftPlan(fkRealForward, order, src, dst);
  fftw_execute_dft_r2c(plan, const_cast<double*>(src), AsFftw(dst));
}

void nspdCcsFftNip(const DCplx* src, double* dst, int order, int flags) {
  if (!IsInverse(flags, "nspdCcsFftNip")) throw classlib::Exception("nspdCcsFftNip: unsupported flags 1");
  fftw_plan plan = FftPlan(fkRealInverse, order, src, dst);
  fftw_execute_dft_c2r(plan, AsFftw(src), dst);
  if ((flags & NSP_NoScal) == 0) {
    const std::size_t n = std::size_t{1} << order;
    Scale(dst, n, 1.0 / static_cast<double>(n));
  }
}

void nspdDct(const double* src, double* dst, int n, int flags) {
  if (n <= 0) return;
  const double length = static_cast<double>(n);
  if (flags == 1) {
    fftw_execute_r2r(DctPlan(fkCosineForward, n, src, dst), const_cast<double*>(src), dst);
    // FFTW's type II is twice the unnormalised sum; the orthonormal weights
    // are sqrt(1/(4n)) for the mean and sqrt(1/(2n)) for the others.
    dst[0] *= std::sqrt(0.25 / length);
    Scale(dst + 1, static_cast<std::size_t>(n - 1), std::sqrt(0.5 / length));
  } else if (flags == 2) {
    // Weight the coefficients first, so that FFTW's type III (mean once, the
    // others twice) becomes the orthonormal inverse.
    const double first = src[0] / std::sqrt(length);
    const double others = 1.0 / std::sqrt(2.0 * length);
    for (int i = 1; i < n; ++i) dst[i] = src[i] * others;
    dst[0] = first;
    fftw_execute_r2r(DctPlan(fkCosineInverse, n, dst, dst), dst, dst);
  } else {
    throw classlib::Exception("nspdDct: unsupported flags " + std::to_string(flags));
  }
}

}  // namespace spl

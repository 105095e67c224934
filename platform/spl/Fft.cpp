// Fourier and cosine transforms over FFTW3, with a process-wide plan cache.
// Tested by: numeric/tests/VecTransformsTest.cpp, numeric/tests/VecTransformsOracleTest.cpp
#include "platform/spl/Fft.h"

#include <fftw3.h>

#include <array>
#include <atomic>
#include <cmath>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

#include "platform/classlib/Exception.h"

namespace spl {

namespace {

enum PlanKind : int { pkComplexForward, pkComplexInverse, pkRealForward, pkRealInverse, pkKinds };
enum DctKind : int { dkForward, dkInverse };

// Measuring every candidate algorithm for a million points takes FFTW tens
// of seconds, during which the first spectrum of that size waits; past this
// many seconds it settles for the best plan found so far. bench/fft_bench.cpp
// compares the plans against bare FFTW plans.
constexpr double kPlanningSeconds = 1.0;

// FFTW's planner is not re-entrant: every plan is made under this lock.
// Executing a plan on new arrays is thread-safe and needs no lock.
std::mutex& PlannerLock() {
  static std::mutex lock;
  static std::once_flag limit;
  std::call_once(limit, [] { fftw_set_timelimit(kPlanningSeconds); });
  return lock;
}

// One slot per kind, order, in-place and alignment. Read without the lock on
// the hot path; written once, under the lock.
using PlanSlots = std::array<std::atomic<fftw_plan>, pkKinds * (MaxFftOrder + 1) * 4>;
PlanSlots& Slots() {
  static PlanSlots slots{};
  return slots;
}

std::size_t SlotIndex(PlanKind kind, int order, bool inPlace, bool aligned) {
  return ((static_cast<std::size_t>(kind) * (MaxFftOrder + 1) + order) * 2 + (inPlace ? 1 : 0)) * 2 +
         (aligned ? 1 : 0);
}

// Scratch arrays for the planner, which overwrites what it is given.
struct TScratch {
  explicit TScratch(std::size_t doubles) : Data(fftw_alloc_real(doubles)) {
    if (Data == nullptr) throw classlib::Exception("Out of memory");
  }
  ~TScratch() { fftw_free(Data); }
  TScratch(const TScratch&) = delete;
  TScratch& operator=(const TScratch&) = delete;
  double* Data;
};

fftw_plan MakeFftPlan(PlanKind kind, int order, bool inPlace, bool aligned) {
  const int n = 1 << order;
  const std::size_t doubles = 2 * static_cast<std::size_t>(n) + 2;
  TScratch in(doubles);
  TScratch out(inPlace ? 1 : doubles);
  double* const inData = in.Data;
  double* const outData = inPlace ? in.Data : out.Data;
  unsigned flags = FFTW_MEASURE | (aligned ? 0u : FFTW_UNALIGNED);
  fftw_plan plan = nullptr;
  switch (kind) {
    case pkComplexForward:
    case pkComplexInverse:
      plan = fftw_plan_dft_1d(n, reinterpret_cast<fftw_complex*>(inData), reinterpret_cast<fftw_complex*>(outData),
                              kind == pkComplexForward ? FFTW_FORWARD : FFTW_BACKWARD, flags);
      break;
    case pkRealForward:
      plan = fftw_plan_dft_r2c_1d(n, inData, reinterpret_cast<fftw_complex*>(outData), flags);
      break;
    case pkRealInverse:
      // The caller's spectrum must survive the inverse.
      if (!inPlace) flags |= FFTW_PRESERVE_INPUT;
      plan = fftw_plan_dft_c2r_1d(n, reinterpret_cast<fftw_complex*>(inData), outData, flags);
      break;
    default:
      break;
  }
  if (plan == nullptr) throw classlib::Exception("FFT: no plan for length " + std::to_string(n));
  return plan;
}

bool IsAligned(const void* p) {
  return fftw_alignment_of(static_cast<double*>(const_cast<void*>(p))) == 0;
}

fftw_plan FftPlan(PlanKind kind, int order, const void* in, const void* out) {
  if (order < 1 || order > MaxFftOrder)
    throw classlib::Exception("FFT: order " + std::to_string(order) + " out of range");
  const bool inPlace = in == out;
  const bool aligned = IsAligned(in) && IsAligned(out);
  std::atomic<fftw_plan>& slot = Slots()[SlotIndex(kind, order, inPlace, aligned)];
  fftw_plan plan = slot.load(std::memory_order_acquire);
  if (plan != nullptr) return plan;
  std::lock_guard<std::mutex> guard(PlannerLock());
  plan = slot.load(std::memory_order_relaxed);
  if (plan == nullptr) {
    plan = MakeFftPlan(kind, order, inPlace, aligned);
    slot.store(plan, std::memory_order_release);
  }
  return plan;
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
  fftw_plan plan = FftPlan(inverse ? pkComplexInverse : pkComplexForward, order, src, dst);
  fftw_execute_dft(plan, AsFftw(src), AsFftw(dst));
  if (inverse && (flags & NSP_NoScal) == 0) {
    const std::size_t n = std::size_t{1} << order;
    Scale(reinterpret_cast<double*>(dst), 2 * n, 1.0 / static_cast<double>(n));
  }
}

// ---------------------------------------------------------------------------
// Cosine transform plans, for any length.

using DctKey = std::tuple<int, int, bool, bool>;  // kind, n, in place, aligned

fftw_plan DctPlan(DctKind kind, int n, const double* in, const double* out) {
  const bool inPlace = in == out;
  const bool aligned = IsAligned(in) && IsAligned(out);
  // Plans live as long as the process, like the Fourier slots: the map is
  // never destroyed, so no exit-time destructor drops plans still in use.
  static auto* const plans = new std::map<DctKey, fftw_plan>;
  std::lock_guard<std::mutex> guard(PlannerLock());
  auto& plan = (*plans)[DctKey{kind, n, inPlace, aligned}];
  if (plan == nullptr) {
    TScratch a(static_cast<std::size_t>(n));
    TScratch b(inPlace ? 1 : static_cast<std::size_t>(n));
    const unsigned flags = FFTW_MEASURE | (aligned ? 0u : FFTW_UNALIGNED);
    plan = fftw_plan_r2r_1d(n, a.Data, inPlace ? a.Data : b.Data, kind == dkForward ? FFTW_REDFT10 : FFTW_REDFT01,
                            flags);
    if (plan == nullptr) throw classlib::Exception("DCT: no plan for length " + std::to_string(n));
  }
  return plan;
}

}  // namespace

void nspzFft(DCplx* data, int order, int flags) { ComplexTransform(data, data, order, flags, "nspzFft"); }

void nspzFftNip(const DCplx* src, DCplx* dst, int order, int flags) {
  ComplexTransform(src, dst, order, flags, "nspzFftNip");
}

void nspdRealFft(double* data, int order, int flags) {
  if (flags != NSP_Forw) throw classlib::Exception("nspdRealFft: unsupported flags " + std::to_string(flags));
  fftw_plan plan = FftPlan(pkRealForward, order, data, data);
  fftw_execute_dft_r2c(plan, data, reinterpret_cast<fftw_complex*>(data));
}

void nspdRealFftNip(const double* src, DCplx* dst, int order, int flags) {
  if (flags != NSP_Forw) throw classlib::Exception("nspdRealFftNip: unsupported flags " + std::to_string(flags));
  fftw_plan plan = FftPlan(pkRealForward, order, src, dst);
  fftw_execute_dft_r2c(plan, const_cast<double*>(src), AsFftw(dst));
}

void nspdCcsFftNip(const DCplx* src, double* dst, int order, int flags) {
  if (!IsInverse(flags, "nspdCcsFftNip")) throw classlib::Exception("nspdCcsFftNip: unsupported flags 1");
  fftw_plan plan = FftPlan(pkRealInverse, order, src, dst);
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
    fftw_execute_r2r(DctPlan(dkForward, n, src, dst), const_cast<double*>(src), dst);
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
    fftw_execute_r2r(DctPlan(dkInverse, n, dst, dst), dst, dst);
  } else {
    throw classlib::Exception("nspdDct: unsupported flags " + std::to_string(flags));
  }
}

}  // namespace spl

// A caller pinned to one core, transforming through a quick plan while the
// FFT planning helper measures plans for it. The helper inherits the
// caller's core; it must take only the time the caller leaves, so that the
// caller's transforms stay within 1.2 times the quick plan's own speed.
//
// The caller times batches of about 20 ms of complex forward transforms
// through an FFTW_ESTIMATE plan (what a first call of a new size gets): alone,
// then while the helper measures larger problems, then alone again once the
// helper has ended. A batch counts as "while measuring" only when the helper
// was running from before it began until after it ended.
//
//   fft_helper_priority_bench [--cpu=N] [--points=N] [--seconds=S]
//       --cpu=N      the core to pin to: by default the last one this process
//                    may use
//       --points=N   the caller's transform length (default 16384)
//       --seconds=S  how long each phase times (default 3)
// ORVEL_FFTW_PLANNER chooses another helper program, to compare two.
#include <fftw3.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "CpuPinning.h"
#include "platform/spl/FftwPlannerProcess.h"
#include "platform/spl/FftwProblem.h"

namespace {

using TClock = std::chrono::steady_clock;

constexpr double kBatchSeconds = 0.02;
// Enough work that the helper, at any priority, measures for longer than a
// phase: complex and real transforms of 2^16 points, three times each.
const spl::TFftwProblem kHelperProblems[] = {
    {spl::fkComplexForward, 65536, false, 0, 0},
    {spl::fkRealForward, 131072, false, 0, 0},
    {spl::fkComplexInverse, 65536, false, 0, 0},
};

double Seconds(TClock::duration d) { return std::chrono::duration<double>(d).count(); }

double Median(std::vector<double> v) {
  if (v.empty()) return std::nan("");
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

class TCaller {
 public:
  explicit TCaller(int points) : FProblem{spl::fkComplexForward, points, false, 0, 0}, FScratch(FProblem) {
    if (!FScratch.Ok()) return;
    FPlan = spl::MakeFftwPlan(FProblem, FFTW_ESTIMATE, FScratch.In(), FScratch.Out());
    for (int i = 0; i < 2 * points; ++i) FScratch.In()[i] = std::sin(0.1 * i);
  }
  ~TCaller() {
    if (FPlan != nullptr) fftw_destroy_plan(FPlan);
  }
  TCaller(const TCaller&) = delete;
  TCaller& operator=(const TCaller&) = delete;

  bool Ok() const { return FPlan != nullptr; }

  // Sets the batch to about kBatchSeconds of transforms.
  void Calibrate() {
    long count = 0;
    const TClock::time_point start = TClock::now();
    do {
      fftw_execute(FPlan);
      ++count;
    } while (Seconds(TClock::now() - start) < 0.2);
    FBatch = std::max(1L, static_cast<long>(kBatchSeconds / (Seconds(TClock::now() - start) / count)));
  }

  // Seconds per transform of one batch.
  double Batch() {
    const TClock::time_point start = TClock::now();
    for (long k = 0; k < FBatch; ++k) fftw_execute(FPlan);
    return Seconds(TClock::now() - start) / static_cast<double>(FBatch);
  }

  // Batches for the given time, each kept when keep() holds before and after it.
  template <typename TKeep>
  std::vector<double> Batches(double seconds, const TKeep& keep) {
    std::vector<double> times;
    const TClock::time_point start = TClock::now();
    while (Seconds(TClock::now() - start) < seconds) {
      const bool before = keep();
      const double time = Batch();
      if (before && keep()) times.push_back(time);
    }
    return times;
  }

 private:
  spl::TFftwProblem FProblem;
  spl::TFftwScratch FScratch;
  fftw_plan FPlan = nullptr;
  long FBatch = 1;
};

int Run(int cpu, int points, double seconds) {
  if (!orvel_bench::PinTo(cpu)) {
    std::fprintf(stderr, "fft_helper_priority_bench: cannot pin to CPU %d\n", cpu);
    return 1;
  }
  if (spl::FftwPlannerProgram().empty()) {
    std::fprintf(stderr, "fft_helper_priority_bench: no helper program\n");
    return 1;
  }
  TCaller caller(points);
  if (!caller.Ok()) {
    std::fprintf(stderr, "fft_helper_priority_bench: no plan for %d points\n", points);
    return 1;
  }
  caller.Calibrate();
  const auto always = [] { return true; };
  std::vector<double> alone = caller.Batches(seconds, always);

  // The helper is started from a thread of this pinned process, as the plan
  // cache starts it, and so inherits the core.
  std::atomic<int> state{0};  // 0 starting, 1 measuring, 2 ended
  std::atomic<bool> started{false};
  std::thread measuring([&] {
    const std::vector<spl::TFftwProblem> problems(std::begin(kHelperProblems), std::end(kHelperProblems));
    state = 1;
    started = spl::MeasureInHelper(problems, [](const std::string&) {});
    state = 2;
  });
  while (state.load() == 0) std::this_thread::yield();
  // Past its start-up, which at any priority takes a few milliseconds.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const std::vector<double> beside = caller.Batches(seconds, [&] { return state.load() == 1; });
  const bool helperOutlasted = state.load() == 1;
  measuring.join();  // the caller stands idle: the helper finishes its problems
  if (!started) {
    std::fprintf(stderr, "fft_helper_priority_bench: the helper did not start\n");
    return 1;
  }
  const std::vector<double> after = caller.Batches(seconds, always);
  alone.insert(alone.end(), after.begin(), after.end());

  const double own = Median(alone), busy = Median(beside);
  std::printf("Caller pinned to CPU %d: complex forward transforms of %d points through a quick plan\n", cpu, points);
  std::printf("helper: %s\n", spl::FftwPlannerProgram().c_str());
  std::printf("%-34s %10s %8s\n", "", "us each", "batches");
  std::printf("%-34s %10.3f %8zu\n", "alone (before and after)", own * 1e6, alone.size());
  std::printf("%-34s %10.3f %8zu\n", "while the helper measures", busy * 1e6, beside.size());
  std::printf("ratio while measuring / alone: %.3f (within 1.2: %s)\n", busy / own, busy / own <= 1.2 ? "yes" : "no");
  if (!helperOutlasted || beside.empty()) {
    std::printf("the helper ended within the phase: only the batches while it ran count\n");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int cpu = orvel_bench::LastAllowedCpu();
  int points = 16384;
  double seconds = 3;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a.rfind("--cpu=", 0) == 0) {
      cpu = std::atoi(a.c_str() + 6);
    } else if (a.rfind("--points=", 0) == 0) {
      points = std::atoi(a.c_str() + 9);
    } else if (a.rfind("--seconds=", 0) == 0) {
      seconds = std::atof(a.c_str() + 10);
    } else {
      std::fprintf(stderr, "usage: fft_helper_priority_bench [--cpu=N] [--points=N] [--seconds=S]\n");
      return 2;
    }
  }
  if (points < 2 || !(seconds > 0)) {
    std::fprintf(stderr, "fft_helper_priority_bench: --points must be 2 or more and --seconds above 0\n");
    return 2;
  }
  return Run(cpu, points, seconds);
}

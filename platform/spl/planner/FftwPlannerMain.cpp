// orvel_fftw_planner: measures FFTW plans for the process that started it.
//
//   orvel_fftw_planner <parent pid> <problem>...
//
// Each problem is a TFftwProblem in its text form. After measuring each one
// it writes all of its wisdom to standard output, ended by a NUL, so that the
// parent can put the better plans to use one by one. It dies with its parent.
//
// FFTW_MEASURE chooses among plans by timings taken once, and two runs on a
// busy machine often choose plans 10 to 15 per cent apart. Measuring is off
// the caller's path here, so each problem is measured a few times afresh and
// the wisdom of the plan that runs fastest is kept.
//
// It measures at idle priority (SCHED_IDLE, else nice 19): it inherits its
// caller's cores, and at the caller's own priority it would take half of a
// core that a pinned caller transforms on, for as long as it measures.
// Tested by: platform/spl/tests/FftPlanningTest.cpp
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "platform/spl/FftwProblem.h"

namespace {

using TClock = std::chrono::steady_clock;

constexpr int kAttempts = 3;

// Enough single runs of a plan for a steady median: at least 15, for at
// least 20 ms.
constexpr int kLeastRuns = 15;
constexpr double kLeastSeconds = 0.02;

// Doubles of a problem's input that a run reads.
std::size_t InputDoubles(const spl::TFftwProblem& problem) {
  const auto n = static_cast<std::size_t>(problem.Length);
  switch (problem.Kind) {
    case spl::fkComplexForward:
    case spl::fkComplexInverse:
      return 2 * n;
    case spl::fkRealInverse:
      return 2 * (n / 2 + 1);
    default:
      return n;
  }
}

// The median time of one run of the plan, each on the same small values (an
// in-place plan would otherwise grow them run by run towards overflow).
double RunTime(fftw_plan plan, const spl::TFftwProblem& problem, const spl::TFftwScratch& scratch) {
  const std::size_t doubles = InputDoubles(problem);
  std::vector<double> times;
  const TClock::time_point begin = TClock::now();
  while (static_cast<int>(times.size()) < kLeastRuns ||
         std::chrono::duration<double>(TClock::now() - begin).count() < kLeastSeconds) {
    for (std::size_t i = 0; i < doubles; ++i) scratch.In()[i] = static_cast<double>(i % 7) - 3.0;
    const TClock::time_point start = TClock::now();
    fftw_execute(plan);
    times.push_back(std::chrono::duration<double>(TClock::now() - start).count());
  }
  std::nth_element(times.begin(), times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2), times.end());
  return times[times.size() / 2];
}

// The wisdom of the fastest of kAttempts fresh measurements of the problem,
// added to kept (that of the problems before); empty when FFTW plans none.
std::string MeasureBest(const spl::TFftwProblem& problem, const std::string& kept) {
  spl::TFftwScratch scratch(problem);
  if (!scratch.Ok()) return {};  // no memory for this one: the parent keeps its quick plan
  std::string best;
  double bestTime = std::numeric_limits<double>::infinity();
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    fftw_forget_wisdom();
    if (!kept.empty()) fftw_import_wisdom_from_string(kept.c_str());
    fftw_plan plan = spl::MakeFftwPlan(problem, FFTW_MEASURE, scratch.In(), scratch.Out());
    if (plan == nullptr) continue;
    const double time = RunTime(plan, problem, scratch);
    fftw_destroy_plan(plan);
    if (time < bestTime) {
      char* wisdom = fftw_export_wisdom_to_string();
      if (wisdom == nullptr) continue;
      best = wisdom;
      bestTime = time;
      std::free(wisdom);
    }
  }
  return best;
}

// From here on the helper runs only on time no other program wants.
void TakeOnlySpareTime() {
#ifdef SCHED_IDLE
  const sched_param none{};
  if (::sched_setscheduler(0, SCHED_IDLE, &none) == 0) return;
#endif
  ::setpriority(PRIO_PROCESS, 0, 19);
}

bool WriteAll(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(STDOUT_FILENO, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: orvel_fftw_planner <parent pid> <problem>...\n");
    return 2;
  }
  // Measuring for a process that is gone is wasted: die with it, and do not
  // start if it is gone already.
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (std::to_string(::getppid()) != argv[1]) return 1;
  TakeOnlySpareTime();

  fftw_set_timelimit(FFTW_NO_TIMELIMIT);
  std::string kept;
  for (int i = 2; i < argc; ++i) {
    const auto problem = spl::TFftwProblem::FromText(argv[i]);
    if (!problem) {
      std::fprintf(stderr, "orvel_fftw_planner: not a problem: %s\n", argv[i]);
      return 2;
    }
    std::string wisdom = MeasureBest(*problem, kept);
    if (wisdom.empty()) continue;
    kept = std::move(wisdom);
    if (!WriteAll(kept.c_str(), kept.size() + 1)) return 1;
  }
  return 0;
}

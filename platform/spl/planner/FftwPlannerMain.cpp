// orvel_fftw_planner: measures FFTW plans for the process that started it.
//
//   orvel_fftw_planner <parent pid> <problem>...
//
// Each problem is a TFftwProblem in its text form. After measuring each one
// it writes all of its wisdom to standard output, ended by a NUL, so that the
// parent can put the better plans to use one by one. It dies with its parent.
// Tested by: platform/spl/tests/FftPlanningTest.cpp
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/spl/FftwProblem.h"

namespace {

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

  fftw_set_timelimit(FFTW_NO_TIMELIMIT);
  for (int i = 2; i < argc; ++i) {
    const auto problem = spl::TFftwProblem::FromText(argv[i]);
    if (!problem) {
      std::fprintf(stderr, "orvel_fftw_planner: not a problem: %s\n", argv[i]);
      return 2;
    }
    spl::TFftwScratch scratch(*problem);
    if (!scratch.Ok()) continue;  // no memory for this one: the parent keeps its quick plan
    fftw_plan plan = spl::MakeFftwPlan(*problem, FFTW_MEASURE, scratch.In(), scratch.Out());
    if (plan == nullptr) continue;
    fftw_destroy_plan(plan);
    char* wisdom = fftw_export_wisdom_to_string();
    if (wisdom == nullptr) return 1;
    const bool written = WriteAll(wisdom, std::strlen(wisdom) + 1);
    std::free(wisdom);
    if (!written) return 1;
  }
  return 0;
}

// Measuring FFTW plans in a helper process. FFTW has one planner per process
// and it is not re-entrant: measuring a million-point plan here would hold
// every other thread's first transform of a new size for seconds. The helper
// (planner/FftwPlannerMain.cpp) measures with a planner of its own and hands
// back its wisdom, which this process imports in milliseconds.
//
// Tested by: platform/spl/tests/FftPlanningTest.cpp
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/spl/FftwProblem.h"

namespace spl {

// The helper program: the environment's ORVEL_FFTW_PLANNER if set, else the
// one built beside this library, else one of its name beside the running
// program.
std::string FftwPlannerProgram();

// Runs the helper on the problems and blocks until it ends, calling onWisdom
// with all of the helper's wisdom each time it has measured one more problem.
// False when the helper could not be started. The helper dies with the thread
// that started it.
bool MeasureInHelper(const std::vector<TFftwProblem>& problems,
                     const std::function<void(const std::string& wisdom)>& onWisdom);

}  // namespace spl

// The process-wide FFTW plans of the transforms, one slot per problem.
// Tested by: platform/spl/tests/FftPlanningTest.cpp
#pragma once

#include <fftw3.h>

#include <atomic>

#include "platform/spl/FftwProblem.h"

namespace spl {

// The plan in use for one problem. Read without a lock; set once with the
// first plan, then swapped once for a measured plan.
struct TPlanSlot {
  std::atomic<fftw_plan> Plan{nullptr};
  TFftwProblem Problem;  // set with the first plan
};

// The slot's plan, made now when it has none. in and out are the caller's
// arrays, laid out as the problem says; making the plan does not touch them.
fftw_plan FirstPlan(TPlanSlot& slot, const TFftwProblem& problem, const void* in, const void* out);

inline fftw_plan PlanOf(TPlanSlot& slot, const TFftwProblem& problem, const void* in, const void* out) {
  const fftw_plan plan = slot.Plan.load(std::memory_order_acquire);
  return plan != nullptr ? plan : FirstPlan(slot, problem, in, out);
}

}  // namespace spl

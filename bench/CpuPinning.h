// Pinning a benchmark to one core, for measurements that compare sides
// taking turns on that core.
#pragma once

#include <sched.h>

namespace orvel_bench {

// Pins this thread, and threads and processes it starts later, to the core
// (-1: leaves it as it is).
inline bool PinTo(int cpu) {
  if (cpu < 0) return true;
  cpu_set_t set;
  CPU_ZERO(&set);
  CPU_SET(cpu, &set);
  return sched_setaffinity(0, sizeof set, &set) == 0;
}

// Lets this thread run on any core but that one.
inline bool AvoidCpu(int cpu) {
  if (cpu < 0) return true;
  cpu_set_t set;
  CPU_ZERO(&set);
  for (int other = 0; other < CPU_SETSIZE; ++other)
    if (other != cpu) CPU_SET(other, &set);
  return sched_setaffinity(0, sizeof set, &set) == 0;
}

// The last core this process may run on, -1 when that cannot be told.
inline int LastAllowedCpu() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) != 0) return -1;
  for (int cpu = CPU_SETSIZE - 1; cpu >= 0; --cpu)
    if (CPU_ISSET(cpu, &set)) return cpu;
  return -1;
}

}  // namespace orvel_bench

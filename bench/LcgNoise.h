// The benchmarks' noise, which their Python peers make alike:
// s := (1103515245 s + 12345) mod 2^31 from s = 1, sample s / 2^30 - 1.
#pragma once

#include <cstdint>

#include "numeric/Vec.h"

namespace orvel_bench {

// x := n real samples of the noise.
inline void LcgNoise(numeric::TVec& x, int n) {
  x.Size(n, false);
  std::uint64_t s = 1;
  for (int i = 0; i < n; ++i) {
    s = (1103515245u * s + 12345u) % (1u << 31);
    x.Values()[i] = static_cast<double>(s) / (1u << 30) - 1.0;
  }
}

}  // namespace orvel_bench

// Seeded uniform and Gaussian generators over std::mt19937_64.
// Tested by: numeric/tests/VecRandomTest.cpp
#include "platform/spl/Random.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace spl {

namespace {

std::uint64_t SeedBits(double seed) {
  // -0 and +0 are the same seed.
  return seed == 0.0 ? 0u : std::bit_cast<std::uint64_t>(seed);
}

// A value in [0, 1) from the engine's top 53 bits.
double Unit(std::mt19937_64& engine) { return static_cast<double>(engine() >> 11) * 0x1.0p-53; }

double Uniform(RandUniState& s) { return s.Low + (s.High - s.Low) * Unit(s.Engine); }

double Gaussian(RandGausState& s) {
  if (s.HasSpare) {
    s.HasSpare = false;
    return s.Mean + s.StdDev * s.Spare;
  }
  double u, v, r;
  do {
    u = 2.0 * Unit(s.Engine) - 1.0;
    v = 2.0 * Unit(s.Engine) - 1.0;
    r = u * u + v * v;
  } while (r >= 1.0 || r == 0.0);
  const double f = std::sqrt(-2.0 * std::log(r) / r);
  s.Spare = v * f;
  s.HasSpare = true;
  return s.Mean + s.StdDev * (u * f);
}

}  // namespace

void nspdRandUniInit(double seed, double low, double high, RandUniState& state) {
  state.Low = low;
  state.High = high;
  state.Engine.seed(SeedBits(seed));
}

void nspdbRandUni(RandUniState& state, double* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] = Uniform(state);
}

void nspzbRandUni(RandUniState& state, DCplx* dst, int n) {
  for (int i = 0; i < n; ++i) {
    dst[i].re = Uniform(state);
    dst[i].im = Uniform(state);
  }
}

void nspdRandGausInit(double seed, double mean, double stdDev, RandGausState& state) {
  state.Mean = mean;
  state.StdDev = stdDev;
  state.Engine.seed(SeedBits(seed));
  state.HasSpare = false;
  state.Spare = 0.0;
}

void nspdbRandGaus(RandGausState& state, double* dst, int n) {
  for (int i = 0; i < n; ++i) dst[i] = Gaussian(state);
}

void nspzbRandGaus(RandGausState& state, DCplx* dst, int n) {
  for (int i = 0; i < n; ++i) {
    dst[i].re = Gaussian(state);
    dst[i].im = Gaussian(state);
  }
}

}  // namespace spl

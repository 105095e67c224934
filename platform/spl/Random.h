// Uniform and Gaussian random generators of the signal-primitives layer.
//
// Each generator lives in a state record of its own: initialised with a seed
// and its parameters, it continues its sequence from call to call. The same
// seed and parameters always give the same sequence (a 64-bit Mersenne
// twister seeded with the bit pattern of the seed, uniform values from its top
// 53 bits, Gaussian values by Marsaglia's polar method), on every machine.
// Complex arrays receive the real part, then the imaginary part, of each
// element from consecutive draws.
//
// Tested by: numeric/tests/VecRandomTest.cpp
#pragma once

#include <random>

#include "platform/spl/SplTypes.h"

namespace spl {

struct RandUniState {
  double Low = 0.0;
  double High = 1.0;
  std::mt19937_64 Engine;
};

struct RandGausState {
  // The parameters of the last initialisation stand first.
  double Mean = 0.0;
  double StdDev = 1.0;
  std::mt19937_64 Engine;
  bool HasSpare = false;
  double Spare = 0.0;
};

// Values uniform in [low, high).
void nspdRandUniInit(double seed, double low, double high, RandUniState& state);
void nspdbRandUni(RandUniState& state, double* dst, int n);
void nspzbRandUni(RandUniState& state, DCplx* dst, int n);

// Values normal with the given mean and standard deviation.
void nspdRandGausInit(double seed, double mean, double stdDev, RandGausState& state);
void nspdbRandGaus(RandGausState& state, double* dst, int n);
void nspzbRandGaus(RandGausState& state, DCplx* dst, int n);

}  // namespace spl

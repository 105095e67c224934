// TVec random numbers: the per-vector uniform and Gaussian generators, their
// seeding, warm-up and re-initialisation rules.
// Tested by: numeric/tests/VecRandomTest.cpp
#include <cstdint>
#include <mutex>
#include <random>

#include "numeric/Numora.h"

namespace numeric {

namespace {

// The runtime's process-wide pseudo-random generator, which draws the seeds
// and warm-up counts of generators that are not seeded explicitly. Any thread
// may draw from it.
std::int32_t RuntimeRandom(std::int32_t range) {
  static std::mutex lock;
  static std::mt19937 engine{std::random_device{}()};
  std::lock_guard<std::mutex> guard(lock);
  return std::uniform_int_distribution<std::int32_t>(0, range - 1)(engine);
}

double RandomSeed() { return static_cast<double>(RuntimeRandom(2147418111) + 65536); }

// Advances a freshly seeded generator by 100 .. 199 values plus one block, so
// that vectors seeded close together in time do not start alike.
template <class Draw>
void WarmUp(std::int32_t length, Draw draw) {
  const std::int32_t n = 100 + RuntimeRandom(100);
  for (std::int32_t i = 0; i < n / length + 1; ++i) draw(length);
  if (n % length != 0) draw(n % length);
}

}  // namespace

TVec& TVec::RandUniform(double Low, double High) {
  if (FLength == 0) return *this;
  if (Low != FRandLow || !FUniInitialized || FRandHigh != High) {
    FRandLow = Low;
    FRandHigh = High;
    spl::nspdRandUniInit(RandomSeed(), Low, High, UniState());
    WarmUp(FLength, [this](std::int32_t n) { DrawUniform(n); });
    FUniInitialized = true;
  }
  DrawUniform(FLength);
  return *this;
}

TVec& TVec::RandUniform(double Seed, double Low, double High) {
  if (FLength == 0) return *this;
  if (Low != FRandLow || !FUniInitialized || FRandHigh != High || Seed != FUniSeed) {
    FRandLow = Low;
    FRandHigh = High;
    FUniSeed = Seed;
    spl::nspdRandUniInit(Seed, Low, High, UniState());
    FUniInitialized = true;
  }
  DrawUniform(FLength);
  return *this;
}

TVec& TVec::RandUniform() {
  if (FLength == 0) return *this;
  if (!FUniInitialized) {
    spl::nspdRandUniInit(RandomSeed(), 0.0, 1.0, UniState());
    WarmUp(FLength, [this](std::int32_t n) { DrawUniform(n); });
    FUniInitialized = true;
  }
  DrawUniform(FLength);
  return *this;
}

TVec& TVec::RandGauss(double Mean, double StdDev) {
  if (FLength == 0) return *this;
  if (!FGausInitialized || GausState().Mean != Mean || GausState().StdDev != StdDev) {
    spl::nspdRandGausInit(RandomSeed(), Mean, StdDev, GausState());
    WarmUp(FLength, [this](std::int32_t n) { DrawGauss(n); });
    FGausInitialized = true;
  }
  DrawGauss(FLength);
  return *this;
}

TVec& TVec::RandGauss(double Seed, double Mean, double StdDev) {
  if (FLength == 0) return *this;
  if (!FGausInitialized || GausState().Mean != Mean || GausState().StdDev != StdDev || Seed != FGausSeed) {
    FGausSeed = Seed;
    spl::nspdRandGausInit(Seed, Mean, StdDev, GausState());
    FGausInitialized = true;
  }
  DrawGauss(FLength);
  return *this;
}

TVec& TVec::RandGauss() {
  if (FLength == 0) return *this;
  if (!FGausInitialized) {
    spl::nspdRandGausInit(RandomSeed(), 0.0, 1.0, GausState());
    WarmUp(FLength, [this](std::int32_t n) { DrawGauss(n); });
    FGausInitialized = true;
  }
  DrawGauss(FLength);
  return *this;
}

void TVec::ResetRandom() {
  FUniInitialized = false;
  FGausInitialized = false;
}

spl::RandUniState& TVec::UniState() {
  if (!FUniState) FUniState = std::make_unique<spl::RandUniState>();
  return *FUniState;
}

spl::RandGausState& TVec::GausState() {
  if (!FGausState) FGausState = std::make_unique<spl::RandGausState>();
  return *FGausState;
}

void TVec::DrawUniform(std::int32_t Count) {
  if (FComplex)
    spl::nspzbRandUni(*FUniState, reinterpret_cast<spl::DCplx*>(CValues()), Count);
  else
    spl::nspdbRandUni(*FUniState, Values(), Count);
}

void TVec::DrawGauss(std::int32_t Count) {
  if (FComplex)
    spl::nspzbRandGaus(*FGausState, reinterpret_cast<spl::DCplx*>(CValues()), Count);
  else
    spl::nspdbRandGaus(*FGausState, Values(), Count);
}

}  // namespace numeric

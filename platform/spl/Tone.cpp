// Tone and triangle generators, each sample from its own index.
// Tested by: dsp/tests/FilterStatesTest.cpp, dsp/tests/FilterStatesOracleTest.cpp
#include "platform/spl/Tone.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "platform/classlib/Exception.h"

namespace spl {

namespace {

constexpr long double kTwoPi = 2.0L * std::numbers::pi_v<long double>;

// theta of sample n: 2 pi times the fractional cycles of f n, plus the phase.
double Angle(double freq, double phase, std::int64_t n) {
  const long double cycles = static_cast<long double>(freq) * static_cast<long double>(n);
  const long double fraction = cycles - std::trunc(cycles);
  return static_cast<double>(kTwoPi * fraction + phase);
}

// The triangle at theta: falls from 1 at 0 to -1 at pi + h, rises to 1 at 2 pi.
double Triangle(double theta, double h) {
  const double twoPi = 2.0 * std::numbers::pi;
  double t = std::fmod(theta, twoPi);
  if (t < 0) t += twoPi;
  const double fall = std::numbers::pi + h;
  if (t < fall) return 1.0 - 2.0 * t / fall;
  return -1.0 + 2.0 * (t - fall) / (twoPi - fall);
}

template <class State>
void Check(const State& state, bool complex, const char* routine) {
  if (!state.Initialized) throw classlib::Exception(std::string(routine) + ": the state is not initialised");
  if (state.Complex != complex) throw classlib::Exception(std::string(routine) + ": the state is of the other kind");
}

void InitTone(ToneState& state, bool complex, double freq, double phase, double mag) {
  state = ToneState{true, complex, freq, phase, mag, 0};
}

void InitTrngl(TrnglState& state, bool complex, double freq, double phase, double mag, double asym) {
  const double pi = std::numbers::pi;
  state = TrnglState{true, complex, freq, phase, mag, std::clamp(asym, -pi, pi), 0};
}

}  // namespace

void nspdToneInit(double freq, double phase, double mag, ToneState& state) {
  InitTone(state, false, freq, phase, mag);
}
void nspzToneInit(double freq, double phase, double mag, ToneState& state) { InitTone(state, true, freq, phase, mag); }

void nspdbTone(ToneState& state, double* dst, int n) {
  Check(state, false, "bTone");
  for (int i = 0; i < n; ++i) dst[i] = state.Mag * std::cos(Angle(state.Freq, state.Phase, state.Next + i));
  if (n > 0) state.Next += n;
}

void nspzbTone(ToneState& state, DCplx* dst, int n) {
  Check(state, true, "bTone");
  for (int i = 0; i < n; ++i) {
    const double theta = Angle(state.Freq, state.Phase, state.Next + i);
    dst[i] = DCplx{state.Mag * std::cos(theta), state.Mag * std::sin(theta)};
  }
  if (n > 0) state.Next += n;
}

void nspdTrnglInit(double freq, double phase, double mag, double asym, TrnglState& state) {
  InitTrngl(state, false, freq, phase, mag, asym);
}
void nspzTrnglInit(double freq, double phase, double mag, double asym, TrnglState& state) {
  InitTrngl(state, true, freq, phase, mag, asym);
}

void nspdbTrngl(TrnglState& state, double* dst, int n) {
  Check(state, false, "bTrngl");
  for (int i = 0; i < n; ++i)
    dst[i] = state.Mag * Triangle(Angle(state.Freq, state.Phase, state.Next + i), state.Asym);
  if (n > 0) state.Next += n;
}

void nspzbTrngl(TrnglState& state, DCplx* dst, int n) {
  Check(state, true, "bTrngl");
  const double quarter = std::numbers::pi / 2;
  for (int i = 0; i < n; ++i) {
    const double theta = Angle(state.Freq, state.Phase, state.Next + i);
    dst[i] = DCplx{state.Mag * Triangle(theta, state.Asym), state.Mag * Triangle(theta - quarter, state.Asym)};
  }
  if (n > 0) state.Next += n;
}

}  // namespace spl

// Tone and triangle generators of the signal-primitives layer. Sample n of
// a generator (n counted from its set-up, on across blocks) stands at the
// phase angle theta = 2 pi f n + phase, the cycles f n reduced to one period
// in extended precision so that long runs keep their phase.
//
// Tone: mag cos(theta); complex: mag (cos(theta), sin(theta)).
// Triangle with asymmetry h (limited to -pi .. pi): over one period, theta
// wrapped into [0, 2 pi), it falls in a straight line from mag at 0 to -mag
// at pi + h and rises back to mag at 2 pi, so that h = 0 is the symmetric
// triangle that follows the cosine; complex: (T(theta), T(theta - pi/2)).
// Frequencies are in cycles per sample (negative ones turn a complex
// generator the other way), phases in radians.
//
// Tested by: dsp/tests/FilterStatesTest.cpp, dsp/tests/FilterStatesOracleTest.cpp
#pragma once

#include <cstdint>

#include "platform/spl/SplTypes.h"

namespace spl {

struct ToneState {
  bool Initialized = false;
  bool Complex = false;
  double Freq = 0.0;
  double Phase = 0.0;
  double Mag = 0.0;
  std::int64_t Next = 0;  // index of the next sample
};

struct TrnglState {
  bool Initialized = false;
  bool Complex = false;
  double Freq = 0.0;
  double Phase = 0.0;
  double Mag = 0.0;
  double Asym = 0.0;
  std::int64_t Next = 0;
};

void nspdToneInit(double freq, double phase, double mag, ToneState& state);
void nspzToneInit(double freq, double phase, double mag, ToneState& state);
// The next n samples; a state of the other kind or not set up raises
// classlib::Exception.
void nspdbTone(ToneState& state, double* dst, int n);
void nspzbTone(ToneState& state, DCplx* dst, int n);

void nspdTrnglInit(double freq, double phase, double mag, double asym, TrnglState& state);
void nspzTrnglInit(double freq, double phase, double mag, double asym, TrnglState& state);
void nspdbTrngl(TrnglState& state, double* dst, int n);
void nspzbTrngl(TrnglState& state, DCplx* dst, int n);

}  // namespace spl

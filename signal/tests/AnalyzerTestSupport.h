// Signals and text helpers for the tests of the signal layer's analysers.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "numeric/MathCore.h"
#include "numeric/Vec.h"
#include "signal/Signal.h"

namespace sig::testsupport {

// N samples of A sin(2 pi Cycles j / N + Phase) (or A cos) at Fs, added to
// what Data holds when Add.
inline void Tone(TSignal& s, int N, double Cycles, double A, double Phase = 0.0, double Fs = 1.0, bool Cosine = false,
                 bool Add = false) {
  if (!Add) {
    s.Data().Size(N, false);
    s.Data().SetZero();
  }
  for (int j = 0; j < N; ++j) {
    const double t = 2 * numeric::PI * Cycles * j / N + Phase;
    s.Data().Values()[j] += A * (Cosine ? std::cos(t) : std::sin(t));
  }
  s.SetSamplingFrequency(Fs);
}

// N complex samples A exp(2 pi i Cycles j / N) at Fs.
inline void ComplexTone(TSignal& s, int N, double Cycles, double A, double Fs = 1.0) {
  s.Data().Size(N, true);
  for (int j = 0; j < N; ++j)
    s.Data().CValues()[j] =
        numeric::TCplx{A * std::cos(2 * numeric::PI * Cycles * j / N), A * std::sin(2 * numeric::PI * Cycles * j / N)};
  s.SetSamplingFrequency(Fs);
}

// 1024 samples at 1024 Hz of tones of 1, 0.01 and 0.005 at 50, 100 and 150 Hz: a THD of
// 100 sqrt(0.01^2 + 0.005^2) = 1.118034 %.
inline void ThreeTones(TSignal& s) {
  Tone(s, 1024, 50, 1.0, 0, 1024);
  Tone(s, 1024, 100, 0.01, 0, 1024, false, true);
  Tone(s, 1024, 150, 0.005, 0, 1024, false, true);
}

// Every double of v (of a complex vector, re, im pairs).
inline std::vector<double> Values(const numeric::TVec& v) { return {v.Values(), v.Values() + v.DoubleLength()}; }

}  // namespace sig::testsupport

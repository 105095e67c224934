// Tones for the tests of the signal layer's analysers.
#pragma once

#include <cmath>

#include "numeric/MathCore.h"
#include "signal/Signal.h"

namespace sig::testtones {

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

}  // namespace sig::testtones

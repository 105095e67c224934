// The library windows: one factor per mirrored pair of samples.
// Tested by: dsp/tests/SignalWindowsOracleTest.cpp, dsp/tests/SignalWindowsTest.cpp
#include "platform/spl/Windows.h"

#include <cmath>
#include <numbers>

namespace spl {

namespace {

// Multiplies sample i and sample n-1-i by w(i) for the first half (the middle
// one of an odd count once).
template <class Sample, class Window>
void ApplySymmetric(Sample* vec, int n, Window w) {
  if (n < 2) return;  // a window of one sample is 1
  const double last = n - 1;
  for (int i = 0, j = n - 1; i <= j; ++i, --j) {
    const double f = w(i, last);
    if constexpr (sizeof(Sample) == sizeof(double)) {
      vec[i] *= f;
      if (j != i) vec[j] *= f;
    } else {
      vec[i].re *= f;
      vec[i].im *= f;
      if (j != i) {
        vec[j].re *= f;
        vec[j].im *= f;
      }
    }
  }
}

inline double Angle(int i, double last) { return 2.0 * std::numbers::pi * i / last; }

inline double Bartlett(int i, double last) { return 1.0 - std::fabs(2.0 * i / last - 1.0); }
inline double Hamming(int i, double last) { return 0.54 - 0.46 * std::cos(Angle(i, last)); }
inline double Hann(int i, double last) { return 0.5 - 0.5 * std::cos(Angle(i, last)); }

struct TBlackman {
  double alpha;
  double operator()(int i, double last) const {
    const double t = Angle(i, last);
    return (1.0 + alpha) / 2.0 - std::cos(t) / 2.0 - (alpha / 2.0) * std::cos(2.0 * t);
  }
};

}  // namespace

void nspdWinBartlett(double* vec, int n) { ApplySymmetric(vec, n, Bartlett); }
void nspzWinBartlett(DCplx* vec, int n) { ApplySymmetric(vec, n, Bartlett); }
void nspdWinBlackman(double* vec, int n, double alpha) { ApplySymmetric(vec, n, TBlackman{alpha}); }
void nspzWinBlackman(DCplx* vec, int n, double alpha) { ApplySymmetric(vec, n, TBlackman{alpha}); }
void nspdWinHamming(double* vec, int n) { ApplySymmetric(vec, n, Hamming); }
void nspzWinHamming(DCplx* vec, int n) { ApplySymmetric(vec, n, Hamming); }
void nspdWinHann(double* vec, int n) { ApplySymmetric(vec, n, Hann); }
void nspzWinHann(DCplx* vec, int n) { ApplySymmetric(vec, n, Hann); }

}  // namespace spl

// Measuring a tone in the output of a rate changer: the complex amplitude of
// a known frequency over a stretch that holds whole periods of it, and what
// is left beside it.
#pragma once

#include <cmath>
#include <complex>
#include <cstddef>
#include <numbers>
#include <vector>

namespace sig::testutil {

struct TToneFit {
  // y[m] ~ Re(Amplitude e^(2 pi i F m)) over the stretch, m counted from
  // its start.
  std::complex<double> Amplitude;
  // sqrt(2) times the RMS of what the tone leaves: no other component of the
  // stretch is larger than this.
  double Rest = 0.0;
};

// The tone of F cycles per sample in y[Start .. Start + Count); F x Count
// must be a whole number (whole periods), so that the tone is the only one
// the sum picks up.
inline TToneFit FitTone(const std::vector<double>& y, std::size_t Start, std::size_t Count, double F) {
  std::complex<double> sum = 0;
  for (std::size_t m = 0; m < Count; ++m)
    sum += y[Start + m] * std::polar(1.0, -2 * std::numbers::pi * F * static_cast<double>(m));
  TToneFit fit;
  fit.Amplitude = 2.0 * sum / static_cast<double>(Count);
  double rest = 0;
  for (std::size_t m = 0; m < Count; ++m) {
    const double tone =
        std::real(fit.Amplitude * std::polar(1.0, 2 * std::numbers::pi * F * static_cast<double>(m)));
    rest += (y[Start + m] - tone) * (y[Start + m] - tone);
  }
  fit.Rest = std::sqrt(2.0 * rest / static_cast<double>(Count));
  return fit;
}

inline std::vector<double> Tone(std::size_t Count, double F, double Amplitude = 1.0, std::size_t From = 0) {
  std::vector<double> x(Count);
  for (std::size_t n = 0; n < Count; ++n)
    x[n] = Amplitude * std::cos(2 * std::numbers::pi * F * static_cast<double>(From + n));
  return x;
}

}  // namespace sig::testutil

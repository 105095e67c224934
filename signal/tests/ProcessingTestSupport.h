// What the tests of the processing components share: filter bands, blocks
// run through a component, and the measure of a tone in its output (the
// complex amplitude of a known frequency over a stretch that holds whole
// periods of it, and what is left beside it).
#pragma once

#include <cmath>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <numbers>
#include <vector>

#include "signal/SignalFilter.h"

namespace sig::testutil {

inline TFilterBand Band(double Start, double Stop, double Gain, double Ripple) {
  TFilterBand b;
  b.Start = Start;
  b.Stop = Stop;
  b.Gain = Gain;
  b.Ripple = Ripple;
  return b;
}

// A new template of Filter, selected, that holds Bands.
inline void UseBands(TSignalFilter& Filter, const std::vector<TFilterBand>& Bands) {
  Filter.Filters().AddEmptyTemplate("bands");
  for (const TFilterBand& b : Bands) Filter.Filters().Template().AddBand(b);
}

// The doubles of v (both parts of complex elements).
inline std::vector<double> Values(const numeric::TVec& v) {
  return std::vector<double>(v.Values(), v.Values() + (v.Complex() ? 2 : 1) * v.Length());
}

// Each block into Input and one update of Part; every output in order.
inline std::vector<double> RunBlocks(TSignal& Part, TSignal& Input, const std::vector<std::vector<double>>& Blocks) {
  std::vector<double> out;
  for (const auto& block : Blocks) {
    Input.Data().SetIt(false, block);
    Part.Update();
    const std::vector<double> y = Values(Part.Data());
    out.insert(out.end(), y.begin(), y.end());
  }
  return out;
}

// X through Part in blocks of Block samples at Rate, from an input of its
// own; the outputs in order, and each block's output length in Lengths.
inline std::vector<double> RunInBlocks(TSignal& Part, const std::vector<double>& X, std::size_t Block,
                                       double Rate = 1.0, std::vector<std::int32_t>* Lengths = nullptr) {
  TSignal input;
  Part.SetInput(&input);
  std::vector<double> y;
  for (std::size_t start = 0; start + Block <= X.size(); start += Block) {
    input.Data().SetIt(false, std::vector<double>(X.begin() + static_cast<std::ptrdiff_t>(start),
                                                  X.begin() + static_cast<std::ptrdiff_t>(start + Block)));
    input.SetSamplingFrequency(Rate);
    Part.Update();
    const std::vector<double> out = Values(Part.Data());
    y.insert(y.end(), out.begin(), out.end());
    if (Lengths != nullptr) Lengths->push_back(Part.Length());
  }
  Part.SetInput(nullptr);
  return y;
}

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

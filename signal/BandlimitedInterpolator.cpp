// TBandlimitedInterpolator: the tabulated prototype and the resampling of
// each block.
// Tested by: signal/tests/RateConverterTest.cpp, signal/tests/RateConverterOracleTest.cpp.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "numeric/MathCore.h"
#include "signal/RateConverter.h"
#include "signal/SignalFilter.h"

namespace sig {

namespace {

constexpr double SmallestFactor = 2.22044604925031E-16;
constexpr double LargestFactor = 2147483647.0;

struct TTableRow {
  double Ripple;  // the row serves ripples above this one
  std::int32_t Oversampling;
  double WindowRipple;
  std::int32_t Taps;
};

// Finer tables and longer filters for smaller ripples.
constexpr TTableRow Rows[] = {
    {1E-4, 60, 1E-5, 13}, {1E-5, 400, 1E-8, 17}, {1E-6, 600, 1E-8, 21}, {1E-7, 2000, 1E-9, 27}, {0.0, 10000, 1E-11, 37},
};

}  // namespace

const classlib::TClassInfo& TBandlimitedInterpolator::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TBandlimitedInterpolator>("TBandlimitedInterpolator", TSignal::StaticClassInfo())
          .Property(
              "Input", [](const TBandlimitedInterpolator& b) { return b.InputSignal(); },
              [](TBandlimitedInterpolator& b, TSignal* v) { b.SetInput(v); })
          .Stored(&TBandlimitedInterpolator::InputStored)
          .Property("Ripple", &TBandlimitedInterpolator::Ripple, &TBandlimitedInterpolator::SetRipple, 0.001)
          .Property("ResampleFactor", &TBandlimitedInterpolator::ResampleFactor,
                    &TBandlimitedInterpolator::SetResampleFactor, 1.0)
          .Creatable()
          .Build();
  return info;
}

TBandlimitedInterpolator::TBandlimitedInterpolator(classlib::TComponent* AOwner) : TSignal(AOwner) {
  SetUsesInputs(true);
}

void TBandlimitedInterpolator::SetRipple(double Value) {
  if (Value == FRipple || std::isnan(Value)) return;
  FRipple = std::clamp(Value, 1E-8, 0.001);
  FDesigned = false;
}

void TBandlimitedInterpolator::SetResampleFactor(double Value) {
  if (std::isnan(Value)) return;
  FResampleFactor = std::clamp(Value, SmallestFactor, LargestFactor);
}

void TBandlimitedInterpolator::SetFilterLength(std::int32_t Value) {
  FFilterLength = std::clamp(Value, 3, 10000);
  FDesigned = false;
}

void TBandlimitedInterpolator::Design() {
  FPosition = 0.0;
  FPassBand = 0.8;
  const TTableRow* choice = &Rows[0];
  while (FRipple <= choice->Ripple && choice->Ripple > 0.0) ++choice;
  FOversampling = choice->Oversampling;
  FFilterLength = choice->Taps;
  const std::int32_t taps = FFilterLength;
  const std::int32_t os = FOversampling;
  // The ideal low-pass over taps + 2 input samples, so that the Kaiser
  // window's zeros fall one sample outside the taps.
  const double edges[2] = {FPassBand, std::max(1.0, FPassBand)};
  numeric::TVec h;
  dsp::IdealImpulseStep(taps + 2, h, edges, 0.0, 1.0 / os, dsp::fltLowpass, 2.0);
  dsp::ApplyWindow(h, dsp::wtKaiser, false, dsp::KaiserBetaFromRipple(choice->WindowRipple), 0, -1);
  // The first input sample's points go; the table runs over taps input
  // samples and keeps the window's zero at its end, so that every weight a
  // read needs lies inside it.
  const double* points = h.Values() + os;
  FRowLength = (taps + 3) / 4 * 4;
  const std::size_t row = static_cast<std::size_t>(FRowLength);
  FTable.assign(static_cast<std::size_t>(os) * row, 0.0);
  FSlopes.assign(static_cast<std::size_t>(os) * row, 0.0);
  for (std::int32_t j = 0; j < os; ++j)
    for (std::int32_t m = 0; m < taps; ++m) {
      const std::size_t at = static_cast<std::size_t>(j + m * os);
      const std::size_t to = static_cast<std::size_t>(j) * row + static_cast<std::size_t>(m);
      FTable[to] = points[at];
      FSlopes[to] = points[at + 1] - points[at];
    }
  FHistory.assign(static_cast<std::size_t>(taps), 0.0);
  FHistoryFill = FHistory.size();
  FHistoryComplex = false;
  FDesigned = true;
}

std::uint8_t TBandlimitedInterpolator::InternalUpdate() {
  TSignal* input = InputSignal();
  if (input == nullptr) numeric::RaiseError("Input = nil!");
  if (input->ChannelCount() > 1) numeric::RaiseError(MultiChannelRefusal);
  if (!FDesigned) Design();
  const numeric::TVec& src = input->Data();
  const std::int32_t taps = FFilterLength;
  const std::int32_t n = src.Length();
  const double r = FResampleFactor;
  double p = FPosition;
  if (n < taps) numeric::RaiseError("Input.Length < FilterLength");
  // Outputs fall at t = p + i / r up to the block's end; a read position
  // beyond the block gives none.
  const double outputs = p > n ? 0.0 : std::trunc((n - p) * r) + 1.0;
  if (outputs > static_cast<double>(MaxOutputLength))
    numeric::RaiseError("Band-limited interpolator: an output block of " + numeric::SampleToStr(outputs) +
                        " samples exceeds the limit of " + std::to_string(MaxOutputLength) + "!");
  const bool complex = src.Complex();
  const std::size_t width = complex ? 2 : 1;
  if (complex != FHistoryComplex) {
    // The other kind of data starts a new signal.
    FHistory.assign(static_cast<std::size_t>(taps) * width, 0.0);
    FHistoryFill = FHistory.size();
    FHistoryComplex = complex;
  }
  // The last taps' worth of history, then the block, then zeros that the
  // padded rows read.
  const std::size_t keep = static_cast<std::size_t>(taps) * width;
  const std::size_t block = static_cast<std::size_t>(n) * width;
  std::memmove(FHistory.data(), FHistory.data() + FHistoryFill - keep, keep * sizeof(double));
  FHistory.resize(keep + block + static_cast<std::size_t>(FRowLength) * width);
  std::memcpy(FHistory.data() + keep, src.Values(), block * sizeof(double));
  std::fill(FHistory.begin() + static_cast<std::ptrdiff_t>(keep + block), FHistory.end(), 0.0);
  FHistoryFill = keep + block;

  const std::int32_t count = static_cast<std::int32_t>(outputs);
  numeric::TVec& out = Data();
  out.Size(count, complex);
  const std::int32_t os = FOversampling;
  const std::size_t row = static_cast<std::size_t>(FRowLength);
  double* y = out.Values();
  for (std::int32_t i = 0; i < count; ++i) {
    const double t = p + i / r;
    // d = 1 - frac(t), and 0 where t is whole.
    const double c = std::min(std::ceil(t), static_cast<double>(n));
    const double x = (c - t) * os;
    const std::int32_t j0 = std::clamp(static_cast<std::int32_t>(x), 0, os - 1);
    const double fraction = x - j0;
    const double* a = FTable.data() + static_cast<std::size_t>(j0) * row;
    const double* d = FSlopes.data() + static_cast<std::size_t>(j0) * row;
    const double* h = FHistory.data() + static_cast<std::size_t>(c) * width;
    // Four sums, so that the products of a row run side by side.
    if (complex) {
      double r0 = 0, r1 = 0, r2 = 0, r3 = 0, i0 = 0, i1 = 0, i2 = 0, i3 = 0;
      for (std::size_t m = 0; m < row; m += 4) {
        const double w0 = a[m] + fraction * d[m], w1 = a[m + 1] + fraction * d[m + 1];
        const double w2 = a[m + 2] + fraction * d[m + 2], w3 = a[m + 3] + fraction * d[m + 3];
        const double* z = h + 2 * m;
        r0 += w0 * z[0];
        i0 += w0 * z[1];
        r1 += w1 * z[2];
        i1 += w1 * z[3];
        r2 += w2 * z[4];
        i2 += w2 * z[5];
        r3 += w3 * z[6];
        i3 += w3 * z[7];
      }
      y[2 * i] = (r0 + r1) + (r2 + r3);
      y[2 * i + 1] = (i0 + i1) + (i2 + i3);
    } else {
      double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
      for (std::size_t m = 0; m < row; m += 4) {
        s0 += (a[m] + fraction * d[m]) * h[m];
        s1 += (a[m + 1] + fraction * d[m + 1]) * h[m + 1];
        s2 += (a[m + 2] + fraction * d[m + 2]) * h[m + 2];
        s3 += (a[m + 3] + fraction * d[m + 3]) * h[m + 3];
      }
      y[i] = (s0 + s1) + (s2 + s3);
    }
  }
  p += count / r - n;
  FPosition = p < 0.0 ? 0.0 : p;
  SetSamplingFrequency(input->SamplingFrequency() * r);
  return 0;
}

}  // namespace sig

// Signal measurement helpers: mean removal, running derivative and integral,
// Kaiser beta from a side-lobe level, band RMS, and the searches that place
// markers and cursors (nearest value, level crossing, local extrema).
// Tested by: dsp/tests/SignalMeasureTest.cpp
#include <algorithm>
#include <cmath>
#include <string>

#include "dsp/SignalUtils.h"

namespace dsp {

using numeric::RaiseError;
using numeric::TCplx;
using numeric::TVec;

namespace {

void CheckState(std::span<double> state, std::size_t needed, const char* routine) {
  if (state.size() < needed)
    RaiseError(std::string(routine) + ": State holds " + std::to_string(state.size()) + " values, " +
               std::to_string(needed) + " needed");
}

void CheckSearchable(const TVec& data, std::int32_t minimum) {
  if (data.Complex()) RaiseError("Data.Complex = True");
  if (data.Length() < minimum) RaiseError("Data.Length < " + std::to_string(minimum));
}

}  // namespace

// ---------------------------------------------------------------------------
// Mean removal

TVec& RemoveMean(TVec& Src, std::int32_t Index, std::int32_t Len) {
  if (Len == -1) Len = Src.Length() - Index;
  if (Len == 0) return Src;
  if (static_cast<std::int64_t>(Index) + Len > Src.Length()) RaiseError("(Index + Len) > Src.Length");
  if (Index < 0 || Len < 0) RaiseError("(Len < 0) or (Index < 0)");
  if (Src.Complex()) {
    TCplx mean;
    Src.CMean(mean, Index, Len);
    Src.Offset(TCplx{-mean.Re, -mean.Im}, Index, Len);
  } else {
    double mean;
    Src.Mean(mean, Index, Len);
    Src.Offset(-mean, Index, Len);
  }
  return Src;
}

// ---------------------------------------------------------------------------
// Running derivative and integral. Each sample is read before its output is
// stored, so Dst may be Src; a block of one sample continues the stream too.

TVec& Differentiate(const TVec& Src, TVec& Dst, std::span<double> State, double dt) {
  CheckState(State, 4, "Differentiate");
  Dst.Size(Src);
  const std::int32_t n = Src.Length();
  if (n == 0) return Dst;
  const double h = 1.0 / (2.0 * dt);
  if (Src.Complex()) {
    TCplx xm2{State[0], State[1]}, xm1{State[2], State[3]};
    for (std::int32_t i = 0; i < n; ++i) {
      const TCplx x = Src.CValues()[i];
      Dst.CValues()[i] = TCplx{(x.Re - xm2.Re) * h, (x.Im - xm2.Im) * h};
      xm2 = xm1;
      xm1 = x;
    }
    State[0] = xm2.Re;
    State[1] = xm2.Im;
    State[2] = xm1.Re;
    State[3] = xm1.Im;
  } else {
    double xm2 = State[0], xm1 = State[2];
    for (std::int32_t i = 0; i < n; ++i) {
      const double x = Src.Values()[i];
      Dst.Values()[i] = (x - xm2) * h;
      xm2 = xm1;
      xm1 = x;
    }
    State[0] = xm2;
    State[2] = xm1;
  }
  return Dst;
}

TVec& Integrate(const TVec& Src, TVec& Dst, std::span<double> State, double dt) {
  CheckState(State, 6, "Integrate");
  Dst.Size(Src);
  const std::int32_t n = Src.Length();
  if (n == 0) return Dst;
  const double c = dt / 6.0;
  // the doubles of the real parts; complex data add the imaginary ones
  const int parts = Src.Complex() ? 2 : 1;
  for (int part = 0; part < parts; ++part) {
    double y = State[0 + part], xm1 = State[2 + part], xm2 = State[4 + part];
    for (std::int32_t i = 0; i < n; ++i) {
      const double x = Src.Values()[i * parts + part];
      y = y + c * (xm2 + 4.0 * xm1 + x);
      Dst.Values()[i * parts + part] = y;
      xm2 = xm1;
      xm1 = x;
    }
    State[0 + part] = y;
    State[2 + part] = xm1;
    State[4 + part] = xm2;
  }
  return Dst;
}

// ---------------------------------------------------------------------------
// Kaiser beta

double KaiserBetaFromSidelobe(double A) {
  const long double a = std::clamp(A, 13.0, 300.0);
  if (a < 13.26L) return 0.0;
  if (a <= 60.0L)
    return static_cast<double>(0.76609L * std::pow(a - 13.26L, 0.4L) + 0.09834L * (a - 13.26L));
  return static_cast<double>(0.12438L * (a + 6.3L));
}

// ---------------------------------------------------------------------------
// Band RMS

double BandRms(const TVec& Amplt, TSpectrumType SpectrumType, bool UseSpectrumType, std::int32_t Index,
               std::int32_t Len) {
  if (Len == -1) Len = Amplt.Length() - Index;
  if (Len == 0) return 0.0;
  if (static_cast<std::int64_t>(Index) + Len > Amplt.Length()) RaiseError("(Index+Len) > Amplt.Length");
  if (Index < 0 || Len < 0) RaiseError("(Len < 0) or (Index < 0)");
  const TSpectrumType type = UseSpectrumType ? SpectrumType : spAmplt;
  if (type == spComplex) RaiseError("RMS of complex SpectrumType not supported!");
  // A complex amplitude counts by its magnitudes: its interleaved doubles read
  // as reals would sum the parts of the wrong elements, each as a sample.
  const bool complex = Amplt.Complex();
  // The plain value of a real element, the magnitude of a complex one.
  const auto value = [&](std::int32_t i) -> long double {
    if (!complex) return Amplt.Values()[Index + i];
    const TCplx z = Amplt.CValues()[Index + i];
    return std::hypot(static_cast<long double>(z.Re), static_cast<long double>(z.Im));
  };
  const auto square = [&](std::int32_t i) -> long double {
    if (!complex) return static_cast<long double>(Amplt.Values()[Index + i]) * Amplt.Values()[Index + i];
    const TCplx z = Amplt.CValues()[Index + i];
    return static_cast<long double>(z.Re) * z.Re + static_cast<long double>(z.Im) * z.Im;
  };
  if (type == spPower) {
    long double s1 = 0.0L;
    for (std::int32_t i = 0; i < Len; ++i) s1 += value(i);
    return std::sqrt(static_cast<double>(s1)) * numeric::INVSQRT2;
  }
  long double s2 = 0.0L;
  for (std::int32_t i = 0; i < Len; ++i) s2 += square(i);
  const double root = std::sqrt(static_cast<double>(s2));
  switch (type) {
    case spAmplt:
      return root * numeric::INVSQRT2;
    case spPeakPeak:
      return root * numeric::SQRT2;
    default:
      return root;
  }
}

// ---------------------------------------------------------------------------
// Searches

// A NaN sample is near nothing: it is passed over.
std::int32_t FindNearest(const TVec& Vec, double Value) {
  if (Vec.Length() == 0) RaiseError("Vec.Length = 0");
  std::int32_t best = 0;
  double bestDistance = numeric::INF;
  for (std::int32_t i = 0; i < Vec.Length(); ++i) {
    const double d = Vec.Complex() ? numeric::CAbs(TCplx{Value - Vec.CValues()[i].Re, -Vec.CValues()[i].Im})
                                   : std::fabs(Value - Vec.Values()[i]);
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return best;
}

// The shape tests read the sample after i, so i stays below N - 1 from the
// start; a search that finds nothing ends at the last pair of samples or the
// first.
void FindCrossingOfLevel(const TVec& Data, double& X, double& Y, double Level, bool Interpolate) {
  CheckSearchable(Data, 2);
  const std::int32_t n = Data.Length();
  const double* d = Data.Values();
  const double l = Level;
  std::int32_t i = 0;
  if (X >= n - 1)
    i = n - 1;
  else if (X > 0)
    i = static_cast<std::int32_t>(std::nearbyint(X));
  i = std::min(i, n - 2);

  auto rising = [&](std::int32_t k) { return d[k] <= l && l <= d[k + 1]; };
  auto falling = [&](std::int32_t k) { return d[k] >= l && l >= d[k + 1]; };
  auto up = [&](auto matches) {
    while (i < n - 1 && !matches(i)) ++i;
  };
  auto down = [&](auto matches) {
    while (i > 0 && !matches(i)) --i;
  };
  if (d[i] <= l && d[i] < d[i + 1])
    up(rising);
  else if (d[i] >= l && d[i] > d[i + 1])
    up(falling);
  else if (d[i] >= l && d[i] < d[i + 1])
    down(rising);
  else if (d[i] <= l && d[i] > d[i + 1])
    down(falling);
  if (i >= n - 1) i = n - 2;

  if (Interpolate) {
    const double slope = d[i + 1] - d[i];
    const double b = d[i + 1] - (i + 1) * slope;
    // A flat pair has no single crossing: its first sample stands for it.
    X = slope == 0 ? i : (l - b) / slope;
    Y = slope * X + b;
  } else {
    X = i;
    Y = d[i];
  }
}

void FindLevelCrossing(const TVec& Data, double& X, double& Y, bool Interpolate) {
  FindCrossingOfLevel(Data, X, Y, 0.0, Interpolate);
}

namespace {

bool FindLocalExtreme(const TVec& data, std::int32_t& index, bool maximum) {
  CheckSearchable(data, 1);
  if (index < 0) RaiseError("Index < 0");
  const std::int32_t n = data.Length();
  const double* d = data.Values();
  auto better = [&](double a, double b) { return maximum ? a > b : a < b; };
  std::int32_t i = std::min(index, n - 1);
  while (i > 0 && better(d[i - 1], d[i])) --i;
  while (i < n - 1 && better(d[i + 1], d[i])) ++i;
  index = i;
  return i > 0 && i < n - 1;
}

}  // namespace

bool FindLocalMaximum(const TVec& Data, std::int32_t& Index) { return FindLocalExtreme(Data, Index, true); }

bool FindLocalMinimum(const TVec& Data, std::int32_t& Index) { return FindLocalExtreme(Data, Index, false); }

}  // namespace dsp

// The IIR design pipelines: prototype, band transformation and bilinear transform, on the road
// the caller chooses, as zeros, poles and gain or as a transfer function.
// Tested by: dsp/tests/IirDesignTest.cpp, IirDesignOracleTest.cpp
#include <cmath>
#include <cstdint>

#include "dsp/IIRFilters.h"
#include "dsp/LinearSystems.h"
#include "dsp/LinearSystemsInternal.h"

namespace dsp {

using numeric::PI;
using numeric::RaiseError;
using numeric::TCachedMtx;
using numeric::TCachedVec;
using numeric::TMtx;
using numeric::TVec;

namespace {

// Digital designs run the bilinear transform at this sampling frequency, so that a Nyquist
// normalised W prewarps to 4 tan(pi W / 2).
constexpr double kFS = 2.0;

struct TMethod {
  TIirFilterMethod method;
  std::int32_t order;
  double Rp = 0.0;
  double Rs = 0.0;
};

void Prototype(const TMethod& m, TVec& Z, TVec& P, double& K) {
  switch (m.method) {
    case fimChebyshevI:
      Cheby1Prototype(m.order, Z, P, m.Rp, K);
      break;
    case fimChebyshevII:
      Cheby2Prototype(m.order, Z, P, m.Rs, K);
      break;
    case fimElliptic:
      EllipPrototype(m.order, Z, P, m.Rp, m.Rs, K);
      break;
    case fimBessel:
      BesselPrototype(m.order, Z, P, K);
      break;
    default:
      ButterPrototype(m.order, Z, P, K);
      break;
  }
}

// Bw := the bandwidth (0 for lowpass and highpass), Wn := the cutoff or the geometric band
// centre, prewarped unless analog.
void PrewarpCutoff(double& Bw, double& Wn, std::span<const double> CutoffFreq, TFilterType FilterType,
                   bool Analog) {
  if (FilterType > fltBandstop) RaiseError(msg::FilterTypeNotSupported);
  const bool band = FilterType == fltBandpass || FilterType == fltBandstop;
  if (!band && CutoffFreq.size() != 1) RaiseError(msg::OneCutoff);
  if (band && CutoffFreq.size() != 2) RaiseError(msg::TwoCutoffs);
  double u[2] = {0.0, 0.0};
  for (std::size_t i = 0; i < CutoffFreq.size(); ++i) u[i] = Analog ? CutoffFreq[i] : Prewarp(CutoffFreq[i], kFS);
  Bw = 0.0;
  if (band) {
    Bw = u[1] - u[0];
    Wn = std::sqrt(u[0] * u[1]);
  } else {
    Wn = u[0];
  }
}

// The gain at the frequency whose response the ripple normalisation fixes to 1.
double NormalizeRippleGain(const TVec& Z, const TVec& P, TFilterType FilterType, double W) {
  switch (FilterType) {
    case fltLowpass:
    case fltBandstop:
      return ZeroPoleGainAt(Z, P, 1.0);
    case fltHighpass:
      return ZeroPoleGainAt(Z, P, -1.0);
    case fltBandpass: {
      const double w = PI * Unwarp(W, kFS);
      return ZeroPoleGainAtCplx(Z, P, numeric::TCplx{std::cos(w), std::sin(w)});
    }
    default:
      RaiseError(msg::FilterTypeNotSupported);
  }
}

double ZeroPoleAnalog(const TMethod& m, std::span<const double> CutoffFreq, TFilterType FilterType, bool Analog,
                      TVec& Z, TVec& P, double& K) {
  double Bw, Wn;
  PrewarpCutoff(Bw, Wn, CutoffFreq, FilterType, Analog);
  Prototype(m, Z, P, K);
  switch (FilterType) {
    case fltLowpass:
      LowpassToLowpassZp(Z, P, K, Wn);
      break;
    case fltHighpass:
      LowpassToHighpassZp(Z, P, K, Wn);
      break;
    case fltBandpass:
      LowpassToBandpassZp(Z, P, K, Wn, Bw);
      break;
    default:
      LowpassToBandstopZp(Z, P, K, Wn, Bw);
      break;
  }
  if (!Analog) {
    BilinearZeroPole(Z, P, K, kFS, true);
    if ((m.method == fimChebyshevI || m.method == fimElliptic) && FilterType == fltBandstop)
      K = 1.0 / NormalizeRippleGain(Z, P, fltBandstop, Wn);
  }
  return Wn;
}

double ZeroPoleDiscrete(const TMethod& m, std::span<const double> CutoffFreq, TFilterType FilterType, bool Analog,
                        TVec& Z, TVec& P, double& K) {
  // Every method: this road designs digital filters only, and a caller asking for an analog
  // one must not receive a digital one as if it were.
  if (Analog) RaiseError(msg::AnalogDiscrete);
  double Bw, Wn;
  PrewarpCutoff(Bw, Wn, CutoffFreq, FilterType, true);
  Prototype(m, Z, P, K);
  BilinearZeroPole(Z, P, K, kFS, true);
  // The digital cutoff of the prototype after the bilinear transform.
  const double Wc = Unwarp(1.0, kFS);
  switch (FilterType) {
    case fltLowpass:
      DiscreteLowpassToLowpass(Z, P, K, Wn, Wc);
      break;
    case fltHighpass:
      DiscreteLowpassToHighpass(Z, P, K, Wn, Wc);
      break;
    case fltBandpass:
      DiscreteLowpassToBandpass(Z, P, K, Wn, Bw, Wc);
      break;
    default:
      DiscreteLowpassToBandstop(Z, P, K, Wn, Bw, Wc);
      break;
  }
  return Wn;
}

double StateSpaceDesign(const TMethod& m, std::span<const double> CutoffFreq, TFilterType FilterType, bool Analog,
                        TMtx& A, TVec& B, TVec& C, double& D) {
  if ((m.method == fimChebyshevI || m.method == fimChebyshevII || m.method == fimElliptic) &&
      m.order > MaxIirOrder)
    RaiseError(msg::OrderMax);
  if ((m.method == fimChebyshevII || m.method == fimElliptic) && CutoffFreq.size() > 2) RaiseError(msg::CutoffMax);
  double Bw, Wn;
  PrewarpCutoff(Bw, Wn, CutoffFreq, FilterType, Analog);
  TCachedVec z, p;
  double k = 0.0;
  Prototype(m, *z, *p, k);
  ZeroPoleToStateSpace(A, B, C, D, *z, *p, k);
  switch (FilterType) {
    case fltLowpass:
      ScaleStateSpace(A, B, C, D, Wn);
      break;
    case fltHighpass:
      LowpassToHighpassSs(A, B, C, D, Wn);
      break;
    case fltBandpass:
      LowpassToBandpassSs(A, B, C, D, Wn, Bw);
      break;
    default:
      LowpassToBandstopSs(A, B, C, D, Wn, Bw);
      break;
  }
  if (!Analog) BilinearStateSpace(A, B, C, D, kFS);
  return Wn;
}

// The zeros a Butterworth, Chebyshev I or Bessel design has, exactly where they belong.
void PlaceIirZeros(std::int32_t N, TFilterType FilterType, bool Analog, double Wn, TVec& Z) {
  if (Analog) {
    switch (FilterType) {
      case fltLowpass:
        Z.Size(0, false);
        break;
      case fltHighpass:
      case fltBandpass:
        Z.Size(N, false);
        Z.SetZero();
        break;
      default: {
        Z.Size(2 * N, true);
        for (std::int32_t i = 0; i < N; ++i) {
          Z.CValues()[2 * i] = numeric::TCplx{0.0, Wn};
          Z.CValues()[2 * i + 1] = numeric::TCplx{0.0, -Wn};
        }
        break;
      }
    }
    return;
  }
  switch (FilterType) {
    case fltLowpass:
      Z.Size(N, false);
      Z.SetVal(-1.0);
      break;
    case fltHighpass:
      Z.Size(N, false);
      Z.SetVal(1.0);
      break;
    case fltBandpass:
      Z.Size(2 * N, false);
      Z.SetVal(1.0, 0, N);
      Z.SetVal(-1.0, N, N);
      break;
    default: {
      const double theta = 2.0 * std::atan2(Wn, 4.0);
      Z.Size(2 * N, true);
      for (std::int32_t i = 0; i < N; ++i) {
        Z.CValues()[2 * i] = numeric::TCplx{std::cos(theta), std::sin(theta)};
        Z.CValues()[2 * i + 1] = numeric::TCplx{std::cos(theta), -std::sin(theta)};
      }
      break;
    }
  }
}

// C (x I - A)^-1 B + D: the response of the state-space system at x.
detail::Cx StateSpaceResponse(const TMtx& A, const TVec& B, const TVec& C, double D, detail::Cx x) {
  const std::int32_t n = A.Rows();
  TCachedMtx m;
  TCachedVec rhs, v;
  m->Size(n, n, true);
  rhs->Size(n, true);
  for (std::int32_t i = 0; i < n; ++i) {
    for (std::int32_t j = 0; j < n; ++j) m->CRowValues(i)[j] = numeric::TCplx{-A.RowValues(i)[j], 0.0};
    m->CRowValues(i)[i].Re += x.real();
    m->CRowValues(i)[i].Im += x.imag();
    rhs->CValues()[i] = numeric::TCplx{B.Values()[i], 0.0};
  }
  m->LinSolve(*rhs, *v);
  detail::Cx h(D, 0.0);
  for (std::int32_t i = 0; i < n; ++i) h += C.Values()[i] * detail::Cx(v->CValues()[i].Re, v->CValues()[i].Im);
  return h;
}

// The gain that gives the placed zeros and the poles the system's own response at the centre
// of the passband. The gain read from the system matrix is the leading coefficient of its
// numerator, which a digital design of high order holds below the rounding of the bilinear
// transform (an order-50 lowpass has a gain near 1e-22); the response in the passband is
// computed to full precision.
double PassbandGain(const TMtx& A, const TVec& B, const TVec& C, double D, const TVec& Z, const TVec& P,
                    TFilterType FilterType, bool Analog, double Wn) {
  detail::Cx x;
  if (Analog) {
    // An analog highpass is at its passband's centre at infinity, where the response is D.
    if (FilterType == fltHighpass) return D;
    x = FilterType == fltBandpass ? detail::Cx(0.0, Wn) : detail::Cx(0.0, 0.0);
  } else {
    const double w = FilterType == fltBandpass   ? 2.0 * std::atan2(Wn, 4.0)
                     : FilterType == fltHighpass ? PI
                                                 : 0.0;
    x = std::polar(1.0, w);
  }
  const detail::Cx shape =
      detail::ProductOfDifferences(x, detail::Roots(Z)) / detail::ProductOfDifferences(x, detail::Roots(P));
  return (StateSpaceResponse(A, B, C, D, x) / shape).real();
}

double StateSpaceAnalog(const TMethod& m, std::span<const double> CutoffFreq, TFilterType FilterType, bool Analog,
                        TVec& Z, TVec& P, double& K) {
  TCachedMtx a;
  TCachedVec b, c;
  double d = 0.0;
  const double Wn = StateSpaceDesign(m, CutoffFreq, FilterType, Analog, *a, *b, *c, d);
  StateSpaceToZeroPole(Z, P, K, *a, *b, *c, d);
  if (m.method == fimButter || m.method == fimChebyshevI || m.method == fimBessel) {
    PlaceIirZeros(m.order, FilterType, Analog, Wn, Z);
    K = PassbandGain(*a, *b, *c, d, Z, P, FilterType, Analog, Wn);
  }
  return Wn;
}

double DesignZp(const TMethod& m, std::span<const double> CutoffFreq, TFilterType FilterType, bool Analog,
                TVec& Z, TVec& P, double& K, TIirFrequencyTransform Transform) {
  switch (Transform) {
    case ftZeroPoleAnalog:
      return ZeroPoleAnalog(m, CutoffFreq, FilterType, Analog, Z, P, K);
    case ftZeroPoleDiscrete:
      return ZeroPoleDiscrete(m, CutoffFreq, FilterType, Analog, Z, P, K);
    default:
      return StateSpaceAnalog(m, CutoffFreq, FilterType, Analog, Z, P, K);
  }
}

double DesignTf(const TMethod& m, std::span<const double> CutoffFreq, TFilterType FilterType, bool Analog,
                TVec& Num, TVec& Den, TIirFrequencyTransform Transform) {
  TCachedVec z, p, num, den;
  double k = 0.0;
  const double Wn = DesignZp(m, CutoffFreq, FilterType, Analog, *z, *p, k, Transform);
  ZeroPoleToTransfer(*num, *den, *z, *p, k);
  Num.RealPart(*num);
  Den.RealPart(*den);
  return Wn;
}

}  // namespace

double ButterZp(std::int32_t Order, std::span<const double> CutoffFreq, TFilterType FilterType, bool Analog, TVec& Z,
                TVec& P, double& K, TIirFrequencyTransform Transform) {
  return DesignZp({fimButter, Order}, CutoffFreq, FilterType, Analog, Z, P, K, Transform);
}

double Cheby1Zp(std::int32_t Order, std::span<const double> CutoffFreq, double Rp, TFilterType FilterType, bool Analog,
                TVec& Z, TVec& P, double& K, TIirFrequencyTransform Transform) {
  return DesignZp({fimChebyshevI, Order, Rp}, CutoffFreq, FilterType, Analog, Z, P, K, Transform);
}

double Cheby2Zp(std::int32_t Order, std::span<const double> CutoffFreq, double Rs, TFilterType FilterType, bool Analog,
                TVec& Z, TVec& P, double& K, TIirFrequencyTransform Transform) {
  return DesignZp({fimChebyshevII, Order, 0.0, Rs}, CutoffFreq, FilterType, Analog, Z, P, K, Transform);
}

double EllipZp(std::int32_t Order, std::span<const double> CutoffFreq, double Rp, double Rs, TFilterType FilterType,
               bool Analog, TVec& Z, TVec& P, double& K, TIirFrequencyTransform Transform) {
  return DesignZp({fimElliptic, Order, Rp, Rs}, CutoffFreq, FilterType, Analog, Z, P, K, Transform);
}

double BesselZp(std::int32_t Order, std::span<const double> CutoffFreq, TFilterType FilterType, bool Analog, TVec& Z,
                TVec& P, double& K, TIirFrequencyTransform Transform) {
  return DesignZp({fimBessel, Order}, CutoffFreq, FilterType, Analog, Z, P, K, Transform);
}

double ButterTf(std::int32_t Order, std::span<const double> CutoffFreq, TFilterType FilterType, bool Analog,
                TVec& Num, TVec& Den, TIirFrequencyTransform Transform) {
  return DesignTf({fimButter, Order}, CutoffFreq, FilterType, Analog, Num, Den, Transform);
}

double Cheby1Tf(std::int32_t Order, std::span<const double> CutoffFreq, double Rp, TFilterType FilterType, bool Analog,
                TVec& Num, TVec& Den, TIirFrequencyTransform Transform) {
  return DesignTf({fimChebyshevI, Order, Rp}, CutoffFreq, FilterType, Analog, Num, Den, Transform);
}

double Cheby2Tf(std::int32_t Order, std::span<const double> CutoffFreq, double Rs, TFilterType FilterType, bool Analog,
                TVec& Num, TVec& Den, TIirFrequencyTransform Transform) {
  return DesignTf({fimChebyshevII, Order, 0.0, Rs}, CutoffFreq, FilterType, Analog, Num, Den, Transform);
}

double EllipTf(std::int32_t Order, std::span<const double> CutoffFreq, double Rp, double Rs, TFilterType FilterType,
               bool Analog, TVec& Num, TVec& Den, TIirFrequencyTransform Transform) {
  return DesignTf({fimElliptic, Order, Rp, Rs}, CutoffFreq, FilterType, Analog, Num, Den, Transform);
}

double BesselTf(std::int32_t Order, std::span<const double> CutoffFreq, TFilterType FilterType, bool Analog,
                TVec& Num, TVec& Den, TIirFrequencyTransform Transform) {
  return DesignTf({fimBessel, Order}, CutoffFreq, FilterType, Analog, Num, Den, Transform);
}

}  // namespace dsp

// The band-type wrappers of the equiripple design: requirements built from a TFilterType and
// two or four edges, for the signal components.
//
// Tested by: dsp/tests/OptimalFIRTest.cpp, OptimalFIROracleTest.cpp.
#include <vector>

#include "dsp/OptimalFIR.h"
#include "dsp/OptimalFIRMessages.h"
#include "numeric/MathCore.h"

namespace dsp {
namespace {

struct BandSpec {
  std::vector<double> F, Gains, Dev;
};

void CheckEdges(std::span<const double> W, TFilterType FilterType) {
  if (W.size() != 4 && W.size() != 2) numeric::RaiseError(msg::RemezEdgeCount);
  if (W.size() == 2 && (FilterType == fltBandpass || FilterType == fltBandstop))
    numeric::RaiseError(msg::RemezTwoEdgeBands);
  if (W.size() == 2 && FilterType > fltDoubleIntegratorEven) numeric::RaiseError(msg::RemezFilterType);
}

bool OddLength(TFilterType t) {
  return t == fltHilbertOdd || t == fltDifferentiatorOdd || t == fltDoubleDifferentiatorOdd ||
         t == fltIntegratorOdd || t == fltDoubleIntegratorOdd;
}

// The bands whose length the wrappers estimate. The special types get transitions of
// twice the distance of their edge from 0 or from the Nyquist frequency.
BandSpec OrderSpec(std::span<const double> W, TFilterType t, double Ripple, double Nyq) {
  const double r = Ripple, h = Ripple / 2;
  if (W.size() == 4) {
    const std::vector<double> f{0, W[0], W[1], W[2], W[3], Nyq};
    if (t == fltBandpass) return {f, {0, 1, 0}, {r, r, r}};
    if (t == fltBandstop) return {f, {1, 0, 1}, {r, r, r}};
    return {f, {0, 0, 0}, {r, r, r}};
  }
  switch (t) {
    case fltLowpass:
      return {{0, W[0], W[1], Nyq}, {1, 0}, {r, r}};
    case fltHighpass:
      return {{0, W[0], W[1], Nyq}, {0, 1}, {r, r}};
    case fltDifferentiatorOdd:
    case fltDifferentiatorEven:
    case fltDoubleDifferentiatorOdd:
    case fltDoubleDifferentiatorEven:
      return {{0, Nyq - 2 * (Nyq - W[1]), Nyq, Nyq}, {1, 0}, {h, h}};
    case fltHilbertEven:
    case fltIntegratorEven:
    case fltDoubleIntegratorEven:
      return {{0, 0, 2 * W[0], Nyq}, {1, 0}, {h, h}};
    default:  // fltHilbertOdd, fltIntegratorOdd, fltDoubleIntegratorOdd
      return {{0, 0, 2 * W[0], Nyq - 2 * (Nyq - W[1]), Nyq, Nyq}, {0, 1, 0}, {h, h, h}};
  }
}

}  // namespace

std::int32_t RemezFirOrder(std::span<const double> W, TFilterType FilterType, double Ripple,
                           double FS) {
  CheckEdges(W, FilterType);
  const BandSpec spec = OrderSpec(W, FilterType, Ripple, FS / 2);
  numeric::TCachedVec weights;  // the estimate's weights are not wanted here
  std::int32_t n = RemezOrder(spec.F, spec.Gains, spec.Dev, *weights, FS);
  n = numeric::EnsureRange(4, n, 10000);
  if (FilterType >= fltHilbertOdd && FilterType <= fltDoubleIntegratorEven &&
      (n % 2 == 1) != OddLength(FilterType))
    ++n;
  return n;
}

bool RemezFirDesign(numeric::TVec& H, std::span<const double> W, TFilterType FilterType,
                    double Gain, double FS) {
  CheckEdges(W, FilterType);
  const double nyq = FS / 2;
  std::vector<double> f, gains;
  TRemezType rtype = rtMultiband;
  if (W.size() == 4) {
    f = {0, W[0], W[1], W[2], W[3], nyq};
    gains = FilterType == fltBandpass   ? std::vector<double>{0, Gain, 0}
            : FilterType == fltBandstop ? std::vector<double>{Gain, 0, Gain}
                                        : std::vector<double>{0, 0, 0};
  } else if (FilterType == fltLowpass || FilterType == fltHighpass) {
    f = {0, W[0], W[1], nyq};
    gains = FilterType == fltLowpass ? std::vector<double>{Gain, 0} : std::vector<double>{0, Gain};
  } else {
    // One band: the even-length differentiators and integrators run it up to the Nyquist
    // frequency; both Hilbert transformers use W0 to W1.
    const bool toNyquist = FilterType >= fltDifferentiatorEven && !OddLength(FilterType);
    f = {W[0], toNyquist ? nyq : W[1]};
    gains = {Gain};
    switch (FilterType) {
      case fltHilbertOdd:
      case fltHilbertEven:
        rtype = rtHilbert;
        break;
      case fltDifferentiatorOdd:
      case fltDifferentiatorEven:
        rtype = rtDifferentiator;
        break;
      case fltDoubleDifferentiatorOdd:
      case fltDoubleDifferentiatorEven:
        rtype = rtDoubleDifferentiator;
        break;
      case fltIntegratorOdd:
      case fltIntegratorEven:
        rtype = rtIntegrator;
        break;
      default:
        rtype = rtDoubleIntegrator;
        break;
    }
  }
  const std::vector<double> weights(gains.size(), 1.0);
  double dev = 0;
  const std::int32_t status =
      RemezImpulse({H.Values(), static_cast<std::size_t>(H.Length())}, f, gains, weights, rtype,
                   dev, FS, false);
  return status < RemezStatusLimit.load();
}

bool RemezFirAuto(numeric::TVec& H, std::span<const double> W, double Ripple,
                  TFilterType FilterType, double Gain, double FS, bool ForceOdd) {
  H.SetLength(RemezFirOrder(W, FilterType, Ripple, FS));
  if (ForceOdd && H.Length() % 2 == 0) H.SetLength(H.Length() + 1);
  return RemezFirDesign(H, W, FilterType, Gain, FS);
}

}  // namespace dsp

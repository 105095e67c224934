// TSignalFilter: the coefficients of each response kind from the current
// band template.
// Tested by: signal/tests/SignalFilterTest.cpp, signal/tests/SignalFilterOracleTest.cpp.
#include <algorithm>
#include <cmath>
#include <vector>

#include "dsp/OptimalFIR.h"
#include "numeric/MathCore.h"
#include "signal/SignalFilter.h"

namespace sig {

namespace {

// The bands of the live template in order of their starts; the template
// itself stays as the user left it.
void SortedCopy(const TBandFilterList& Source, TBandFilterList& Bands) {
  for (std::int32_t i = 0; i < Source.Count(); ++i) Bands.AddBand(Source.GetBand(i));
  Bands.Sort();
}

// Adds H into Taps element by element; Taps grows to the longer length.
void AddInto(numeric::TVec& Taps, const numeric::TVec& H) {
  if (Taps.Length() < H.Length()) Taps.Resize(H.Length(), true);
  double* t = Taps.Values();
  const double* h = H.Values();
  for (std::int32_t i = 0; i < H.Length(); ++i) t[i] += h[i];
}

void RequireConverged(bool Converged) {
  if (!Converged) numeric::RaiseError("Remez: the exchange did not converge!");
}

}  // namespace

void TSignalFilter::DesignTaps() {
  FTaps->Size(0, false);
  TBandFilterList bands;
  SortedCopy(FFilters->Template(), bands);
  const double fs = DesignFrequency();
  const bool remez = FFirMethod == fimParksMcClellan;
  switch (FResponse) {
    case rstFIR:
      remez ? DesignRemezFir(bands, fs) : DesignWindowFir(bands, fs);
      break;
    case rstDifferentiator:
      DesignSingleBand(bands, fs, dsp::fltDifferentiatorOdd, remez);
      break;
    case rstHilbert:
      DesignSingleBand(bands, fs, dsp::fltHilbertOdd, remez);
      break;
    case rstDoubleDifferentiator:
      DesignSingleBand(bands, fs, dsp::fltDoubleDifferentiatorOdd, true);
      break;
    case rstIntegrator:
      DesignSingleBand(bands, fs, dsp::fltIntegratorOdd, true);
      break;
    case rstDoubleIntegrator:
      DesignSingleBand(bands, fs, dsp::fltDoubleIntegratorOdd, true);
      break;
    case rstIIR:
      DesignIir(bands, fs);
      break;
    case rstSavGolay:
      dsp::SavGolayFilter(*FTaps, FFirLength, FOrder);
      break;
    case rstMovingAverage:
      FTaps->Size(FFirLength, false);
      FTaps->SetVal(1.0 / FFirLength);
      break;
    default:
      break;
  }
}

void TSignalFilter::DesignWindowFir(const TBandFilterList& Bands, double FS) {
  const std::int32_t n = Bands.Count();
  if (n != 2 && n != 3) numeric::RaiseError("Windowed filter design: 2 or 3 bands required!");
  const TFilterBand& b0 = Bands.GetBand(0);
  const TFilterBand& b1 = Bands.GetBand(1);
  dsp::TFilterType type;
  double gain;
  std::vector<double> edges{b0.Stop, b1.Start};
  double d = std::min(b0.Deviation(), b1.Deviation());
  if (n == 2) {
    type = b1.Gain == 0.0 ? dsp::fltLowpass : dsp::fltHighpass;
    gain = type == dsp::fltLowpass ? b0.Gain : b1.Gain;
  } else {
    const TFilterBand& b2 = Bands.GetBand(2);
    type = b1.Gain == 0.0 ? dsp::fltBandstop : dsp::fltBandpass;
    gain = type == dsp::fltBandpass ? b1.Gain : b0.Gain;
    edges.push_back(b1.Stop);
    edges.push_back(b2.Start);
    d = std::min(d, b2.Deviation());
  }
  if (FAutoFilterOrder && FWindow == dsp::wtKaiser) {
    const std::span<const double> w(edges);
    FFirLength = dsp::KaiserOrder(w.subspan(0, 2), d, FS);
    if (edges.size() == 4) FFirLength = std::max(FFirLength, dsp::KaiserOrder(w.subspan(2, 2), d, FS));
  }
  FFirLength = std::clamp(FFirLength, 3, 10000);
  double param = 0.0;
  if (FWindow == dsp::wtBlackman)
    param = FBeta;
  else if (FWindow == dsp::wtKaiser)
    param = FIgnoreAtt ? FBeta : dsp::KaiserBetaFromRipple(d);
  else if (FWindow == dsp::wtChebyshev)
    param = -20.0 * std::log10(d) * 0.8;
  numeric::TVec h;
  h.Size(FFirLength, false);
  dsp::FirWindowDesign(h, edges, param, type, FWindow, gain, FS);
  AddInto(*FTaps, h);
  FFirLength = FTaps->Length();
}

void TSignalFilter::DesignRemezFir(const TBandFilterList& Bands, double FS) {
  const std::int32_t n = Bands.Count();
  if (n < 1) numeric::RaiseError("Remez filter design: no bands!");
  std::vector<double> f, gains, dev;
  for (std::int32_t i = 0; i < n; ++i) {
    const TFilterBand& b = Bands.GetBand(i);
    f.push_back(b.Start);
    f.push_back(b.Stop);
    gains.push_back(b.Gain);
    dev.push_back(b.Deviation());
  }
  numeric::TVec weights;
  if (FAutoFilterOrder) {
    FFirLength = dsp::RemezOrder(f, gains, dev, weights, FS);
  } else {
    const double largest = *std::max_element(dev.begin(), dev.end());
    weights.Size(n, false);
    for (std::int32_t i = 0; i < n; ++i) weights.Values()[i] = largest / dev[static_cast<std::size_t>(i)];
    // A symmetric filter of even length is 0 at half the rate.
    if (gains.back() != 0.0 && FFirLength % 2 == 0) ++FFirLength;
  }
  FFirLength = std::clamp(FFirLength, 4, 10000);
  FTaps->Size(FFirLength, false);
  dsp::GridDensity = FGridDensity;
  double deviation = 0.0;
  const std::int32_t status =
      dsp::RemezImpulse({FTaps->Values(), static_cast<std::size_t>(FFirLength)}, f, gains,
                        {weights.Values(), static_cast<std::size_t>(weights.Length())}, dsp::rtMultiband, deviation,
                        FS, false);
  RequireConverged(status < dsp::RemezStatusLimit.load());
}

void TSignalFilter::DesignSingleBand(const TBandFilterList& Bands, double FS, dsp::TFilterType OddType, bool Remez) {
  if (FFilters->Templates().Count() < 1) numeric::RaiseError("Filters.Templates.Count < 1");
  if (Bands.Count() < 1) numeric::RaiseError("Filters.Template.Count < 1");
  const TFilterBand& band = Bands.GetBand(0);
  const double edge = band.Stop;
  const double d = band.PassDeviation();
  const auto typeFor = [OddType](std::int32_t Length) {
    return static_cast<dsp::TFilterType>(Length % 2 == 1 ? OddType : OddType + 1);
  };
  if (!Remez) {
    if (FAutoFilterOrder && FWindow == dsp::wtKaiser) {
      const double w[2] = {edge, FS / 2.0};
      FFirLength = dsp::KaiserOrder(w, d, FS);
      if (FFirLength % 2 == 0) ++FFirLength;
    }
    FFirLength = std::clamp(FFirLength, 4, 10000);
    FTaps->Size(FFirLength, false);
    const double param = FWindow == dsp::wtKaiser && !FIgnoreAtt ? dsp::KaiserBetaFromRipple(d / 2.0) : FBeta;
    const double w[1] = {edge};
    dsp::FirWindowDesign(*FTaps, w, param, typeFor(FFirLength), FWindow, band.Gain, FS);
    FFirLength = FTaps->Length();
    return;
  }
  // The exchange designs the band from its start to its stop.
  const double w[2] = {band.Start, band.Stop};
  dsp::GridDensity = FGridDensity;
  if (FAutoFilterOrder) {
    FFirLength = dsp::RemezFirOrder(w, OddType, d, FS);
    if (FFirLength % 2 == 0) ++FFirLength;
  }
  FFirLength = std::clamp(FFirLength, 4, 10000);
  FTaps->Size(FFirLength, false);
  RequireConverged(dsp::RemezFirDesign(*FTaps, w, typeFor(FFirLength), band.Gain, FS));
}

void TSignalFilter::DesignIir(const TBandFilterList& Bands, double FS) {
  const std::int32_t n = Bands.Count();
  if (n != 2 && n != 3) numeric::RaiseError("IIR filter design: 2 or 3 bands required!");
  const TFilterBand& b0 = Bands.GetBand(0);
  const TFilterBand& b1 = Bands.GetBand(1);
  std::vector<double> edges{b0.Stop, b1.Start};
  dsp::TFilterType type;
  double rp, rs;
  if (n == 2) {
    type = b0.Gain == 0.0 ? dsp::fltHighpass : dsp::fltLowpass;
    rp = type == dsp::fltLowpass ? b0.Ripple : b1.Ripple;
    rs = type == dsp::fltLowpass ? b1.Ripple : b0.Ripple;
  } else {
    const TFilterBand& b2 = Bands.GetBand(2);
    type = b0.Gain == 0.0 ? dsp::fltBandpass : dsp::fltBandstop;
    edges.push_back(b1.Stop);
    edges.push_back(b2.Start);
    const double outer = std::max(b0.Ripple, b2.Ripple);
    rp = type == dsp::fltBandpass ? b1.Ripple : outer;
    rs = type == dsp::fltBandpass ? outer : b1.Ripple;
  }
  numeric::TVec num, den;
  if (FIirMethod == dsp::fimDC || FIirMethod == dsp::fimNotch) {
    // Both take their frequencies in the units of FS.
    if (FIirMethod == dsp::fimDC)
      dsp::DcRemovalDesign(num, den, edges[0], FS);
    else if (n == 2)
      dsp::NotchDesign(num, den, (edges[0] + edges[1]) / 2.0, 0.9999, FS);
    else
      dsp::NotchDesign(num, den, (edges[1] + edges[2]) / 2.0, 0.99, FS);
    FOrder = 1;
  } else {
    // The prototype designs take frequencies relative to half the design
    // frequency; at the default FS of 2 that changes nothing.
    std::vector<double> w(edges);
    for (double& e : w) e /= FS / 2.0;
    std::vector<double> cutoff(w.size() / 2);
    if (FAutoFilterOrder) {
      switch (FIirMethod) {
        case dsp::fimChebyshevI:
          FOrder = dsp::Cheby1Order(w, type, rp, rs, cutoff, false);
          break;
        case dsp::fimChebyshevII:
          FOrder = dsp::Cheby2Order(w, type, rp, rs, cutoff, false);
          break;
        case dsp::fimElliptic:
          FOrder = dsp::EllipOrder(w, type, rp, rs, cutoff, false);
          break;
        default:
          FOrder = dsp::ButterOrder(w, type, rp, rs, cutoff, false);
          break;
      }
    } else if (type == dsp::fltLowpass) {
      cutoff = {w[0]};
    } else if (type == dsp::fltHighpass) {
      cutoff = {w[1]};
    } else if (type == dsp::fltBandpass) {
      cutoff = {w[1], w[2]};
    } else {
      cutoff = {w[0], w[3]};
    }
    FOrder = std::clamp(FOrder, 1, dsp::MaxIirOrder);
    const auto t = FIIRFrequencyTransform;
    switch (FIirMethod) {
      case dsp::fimChebyshevI:
        dsp::Cheby1Tf(FOrder, cutoff, rp, type, false, num, den, t);
        break;
      case dsp::fimChebyshevII:
        dsp::Cheby2Tf(FOrder, cutoff, rs, type, false, num, den, t);
        break;
      case dsp::fimElliptic:
        dsp::EllipTf(FOrder, cutoff, rp, rs, type, false, num, den, t);
        break;
      case dsp::fimBessel:
        dsp::BesselTf(FOrder, cutoff, type, false, num, den, t);
        break;
      default:
        dsp::ButterTf(FOrder, cutoff, type, false, num, den, t);
        break;
    }
  }
  // The running IIR takes a numerator and a denominator of equal length.
  const std::int32_t length = std::max(num.Length(), den.Length());
  num.Resize(length, true);
  den.Resize(length, true);
  FTaps->Concat(num, den);
}

}  // namespace sig

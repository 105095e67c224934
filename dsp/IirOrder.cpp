// Order and cutoff estimates of Butterworth, Chebyshev I and II and elliptic designs.
// Tested by: dsp/tests/IirOrderTest.cpp, IirOrderOracleTest.cpp
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "dsp/IIRFilters.h"
#include "dsp/LinearSystemsInternal.h"
#include "numeric/Optimization.h"
#include "numeric/SpecialFuncs.h"

namespace dsp {

using detail::kIirMaxIter;
using detail::kIirTol;
using detail::Pow10m1;
using numeric::PI;
using numeric::RaiseError;

namespace {

constexpr double kBandstopMargin = 1e-12;

enum TDesignKind : std::int32_t { dkButter, dkCheby1, dkCheby2, dkEllip };

// The orders before rounding up, from the stopband edge WA of the normalised lowpass.
double ButterOrderOf(double WA, double Rp, double Rs) {
  return std::log10(Pow10m1(std::fabs(Rs)) / Pow10m1(std::fabs(Rp))) / (2.0 * std::log10(WA));
}

double ChebyOrderOf(double WA, double Rp, double Rs) {
  return std::acosh(std::sqrt(Pow10m1(std::fabs(Rs)) / Pow10m1(std::fabs(Rp)))) / std::acosh(WA);
}

double EllipOrderOf(double WA, double Rp, double Rs) {
  const double k1sq = Pow10m1(Rp) / Pow10m1(Rs);
  const double k = 1.0 / WA;
  return numeric::EllipComplete(k * k) * numeric::EllipComplete(1.0 - k1sq) /
         (numeric::EllipComplete(1.0 - k * k) * numeric::EllipComplete(k1sq));
}

double OrderOf(TDesignKind kind, double WA, double Rp, double Rs) {
  switch (kind) {
    case dkButter:
      return ButterOrderOf(WA, Rp, Rs);
    case dkCheby1:
    case dkCheby2:
      return ChebyOrderOf(WA, Rp, Rs);
    case dkEllip:
      return EllipOrderOf(WA, Rp, Rs);
  }
  return 0.0;
}

// The smaller of the two stopband ratios of a bandstop.
double BandstopRatio(double WP1, double WP2, double WS1, double WS2) {
  const double a1 = std::fabs(WS1 * (WP1 - WP2) / (WS1 * WS1 - WP1 * WP2));
  const double a2 = std::fabs(WS2 * (WP1 - WP2) / (WS2 * WS2 - WP1 * WP2));
  return std::min(a1, a2);
}

// The unrounded order with passband edge c[0] (1 or 2) moved to x; constants
// [edge, WP1, WP2, WS1, WS2, Rs, Rp, kind].
double BandstopOrderCost(std::span<const double> x, std::span<const double> c,
                         std::span<classlib::TPersistent* const>) {
  double wp1 = c[1], wp2 = c[2];
  if (std::nearbyint(c[0]) == 1.0)
    wp1 = x[0];
  else
    wp2 = x[0];
  const double WA = BandstopRatio(wp1, wp2, c[3], c[4]);
  const auto kind = static_cast<std::int32_t>(std::nearbyint(c[7]));
  if (kind < dkButter || kind > dkEllip) return 0.0;
  return OrderOf(static_cast<TDesignKind>(kind), WA, c[6], c[5]);
}

// The requirements in the working form: passband edges first, prewarped unless analog.
struct TSpec {
  TFilterType type;
  std::vector<double> edges;  // WP (one or two), then WS
  bool analog;
  double WP(std::size_t i) const { return edges[i]; }
  double WS(std::size_t i) const { return edges[edges.size() / 2 + i]; }
};

TSpec PrepareSpec(std::span<const double> BEdg, TFilterType FilterType, std::span<double> CutoffFreq, bool Analog,
                  const char* lengthMessage) {
  if (2 * CutoffFreq.size() != BEdg.size()) RaiseError(lengthMessage);
  TSpec s{FilterType, {}, Analog};
  switch (FilterType) {
    case fltLowpass:
    case fltHighpass:
      if (BEdg.size() != 2) RaiseError(msg::TwoEdges);
      s.edges = FilterType == fltLowpass ? std::vector<double>{BEdg[0], BEdg[1]}
                                         : std::vector<double>{BEdg[1], BEdg[0]};
      break;
    case fltBandpass:
      if (BEdg.size() != 4) RaiseError(msg::FourEdges);
      s.edges = {BEdg[1], BEdg[2], BEdg[0], BEdg[3]};
      break;
    case fltBandstop:
      if (BEdg.size() != 4) RaiseError(msg::FourEdges);
      s.edges = {BEdg[0], BEdg[3], BEdg[1], BEdg[2]};
      break;
    default:
      RaiseError(msg::FilterTypeNotSupported);
  }
  if (!Analog)
    for (double& w : s.edges) w = std::tan(PI * w / 2.0);
  return s;
}

// WA, the stopband edge of the equivalent normalised lowpass. A bandstop first moves its
// passband edges (written back into the requirements) to where they give the lowest order.
double TransitionRatio(TSpec& s, TDesignKind kind, double Rp, double Rs) {
  switch (s.type) {
    case fltLowpass:
      return s.WS(0) / s.WP(0);
    case fltHighpass:
      return s.WP(0) / s.WS(0);
    case fltBandpass: {
      const double p1 = s.WP(0), p2 = s.WP(1);
      const double a1 = std::fabs((s.WS(0) * s.WS(0) - p1 * p2) / ((p1 - p2) * s.WS(0)));
      const double a2 = std::fabs((s.WS(1) * s.WS(1) - p1 * p2) / ((p1 - p2) * s.WS(1)));
      return std::min(a1, a2);
    }
    default: {
      std::array<double, 8> c{1.0, s.WP(0), s.WP(1), s.WS(0), s.WS(1), Rs, Rp, static_cast<double>(kind)};
      double x = 0.0;
      numeric::MinBrent(BandstopOrderCost, c, s.WP(0), s.WS(0) - kBandstopMargin, {}, x, kIirMaxIter, kIirTol);
      s.edges[0] = x;
      c = {2.0, s.WP(0), s.WP(1), s.WS(0), s.WS(1), Rs, Rp, static_cast<double>(kind)};
      numeric::MinBrent(BandstopOrderCost, c, s.WS(1) + kBandstopMargin, s.WP(1), {}, x, kIirMaxIter, kIirTol);
      s.edges[1] = x;
      return BandstopRatio(s.WP(0), s.WP(1), s.WS(0), s.WS(1));
    }
  }
}

// Rounds the order up; a set of requirements that has no finite order is refused.
std::int32_t RoundOrder(double order) {
  if (!std::isfinite(order)) RaiseError(msg::OrderInf);
  return numeric::Ceil(order);
}

void WriteCutoffs(const TSpec& s, std::span<double> CutoffFreq, std::span<const double> w) {
  for (std::size_t i = 0; i < CutoffFreq.size(); ++i)
    CutoffFreq[i] = s.analog ? w[i] : (2.0 / PI) * std::atan(w[i]);
}

void PassbandCutoffs(const TSpec& s, std::span<double> CutoffFreq) {
  WriteCutoffs(s, CutoffFreq, std::span<const double>(s.edges.data(), CutoffFreq.size()));
}

}  // namespace

std::int32_t ButterOrder(std::span<const double> BEdg, TFilterType FilterType, double Rp, double Rs,
                         std::span<double> CutoffFreq, bool Analog) {
  TSpec s = PrepareSpec(BEdg, FilterType, CutoffFreq, Analog, msg::ButterCutoffLength);
  const double WA = TransitionRatio(s, dkButter, Rp, Rs);
  const std::int32_t N = RoundOrder(ButterOrderOf(WA, Rp, Rs));
  // The natural frequency that meets the stopband attenuation exactly.
  const double W0 = WA / std::pow(Pow10m1(std::fabs(Rs)), 1.0 / (2.0 * N));
  std::array<double, 2> w{};
  switch (FilterType) {
    case fltLowpass:
      w[0] = W0 * s.WP(0);
      break;
    case fltHighpass:
      w[0] = s.WP(0) / W0;
      break;
    case fltBandpass: {
      const double bw = s.WP(1) - s.WP(0), root = std::sqrt(W0 * W0 / 4.0 * bw * bw + s.WP(0) * s.WP(1));
      w = {std::fabs(root + W0 * bw / 2.0), std::fabs(root - W0 * bw / 2.0)};
      break;
    }
    default: {
      const double bw = s.WP(1) - s.WP(0), root = std::sqrt(bw * bw + 4.0 * W0 * W0 * s.WP(0) * s.WP(1));
      w = {std::fabs((bw + root) / (2.0 * W0)), std::fabs((bw - root) / (2.0 * W0))};
      break;
    }
  }
  if (w[0] > w[1] && CutoffFreq.size() == 2) std::swap(w[0], w[1]);
  WriteCutoffs(s, CutoffFreq, w);
  return N;
}

std::int32_t Cheby1Order(std::span<const double> BEdg, TFilterType FilterType, double Rp, double Rs,
                         std::span<double> CutoffFreq, bool Analog) {
  TSpec s = PrepareSpec(BEdg, FilterType, CutoffFreq, Analog, msg::CutoffLength);
  const double WA = TransitionRatio(s, dkCheby1, Rp, Rs);
  const std::int32_t N = RoundOrder(ChebyOrderOf(WA, Rp, Rs));
  PassbandCutoffs(s, CutoffFreq);
  return N;
}

std::int32_t Cheby2Order(std::span<const double> BEdg, TFilterType FilterType, double Rp, double Rs,
                         std::span<double> CutoffFreq, bool Analog) {
  TSpec s = PrepareSpec(BEdg, FilterType, CutoffFreq, Analog, msg::CutoffLength);
  const double WA = TransitionRatio(s, dkCheby2, Rp, Rs);
  // Rounded up as a whole: an order rounded down misses the attenuation.
  const double G = Pow10m1(std::fabs(Rs)) / Pow10m1(std::fabs(Rp));
  const std::int32_t N = RoundOrder(ChebyOrderOf(WA, Rp, Rs));
  // The frequency of the normalised lowpass where the response is down by Rp.
  const double Wn = 1.0 / std::cosh(std::acosh(std::sqrt(G)) / N);
  std::array<double, 2> w{};
  const double p1 = s.WP(0);
  switch (FilterType) {
    case fltLowpass:
      w[0] = p1 / Wn;
      break;
    case fltHighpass:
      w[0] = p1 * Wn;
      break;
    case fltBandpass: {
      const double p2 = s.WP(1);
      w[0] = std::sqrt((p2 - p1) * (p2 - p1) / (4.0 * Wn * Wn) + p1 * p2) + (p1 - p2) / (2.0 * Wn);
      w[1] = p1 * p2 / w[0];
      break;
    }
    default: {
      const double p2 = s.WP(1);
      w[0] = std::sqrt(Wn * Wn * (p2 - p1) * (p2 - p1) / 4.0 + p1 * p2) + (p1 - p2) * Wn / 2.0;
      w[1] = p1 * p2 / w[0];
      break;
    }
  }
  WriteCutoffs(s, CutoffFreq, w);
  return N;
}

std::int32_t EllipOrder(std::span<const double> BEdg, TFilterType FilterType, double Rp, double Rs,
                        std::span<double> CutoffFreq, bool Analog) {
  TSpec s = PrepareSpec(BEdg, FilterType, CutoffFreq, Analog, msg::CutoffLength);
  const double WA = TransitionRatio(s, dkEllip, Rp, Rs);
  const double k1sq = Pow10m1(Rp) / Pow10m1(Rs);
  const double k = 1.0 / WA;
  if (1.0 - k1sq == 1.0 || k * k == 1.0) RaiseError(msg::OrderInf);
  const std::int32_t N = RoundOrder(EllipOrderOf(WA, Rp, Rs));
  PassbandCutoffs(s, CutoffFreq);
  return N;
}

}  // namespace dsp

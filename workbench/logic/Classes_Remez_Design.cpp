// The design of a filter record: its check, its bands, the choice of method,
// the delay cut and the coefficient record.
// Tested by: tests/DesignTest.cpp, tests/DesignOracleTest.cpp
#include <algorithm>
#include <cmath>
#include <string>

#include "workbench/logic/Classes_Remez.h"
#include "workbench/logic/Classes_Remez_Library.h"

namespace workbench {

namespace {

std::string PeriodsText(const TFilterRecord& f) {
  std::string text = "P1=" + std::to_string(f.P1) + ", D1=" + std::to_string(f.D1);
  if (f.FilterType == ftBandPass || f.FilterType == ftBandStop)
    text += ", P2=" + std::to_string(f.P2) + ", D2=" + std::to_string(f.D2);
  return text;
}

// A bound on the coefficients a delay cut of this record writes (an odd
// own-exchange response writes one beyond its count).
long long CutEntries(const TFilterRecord& f) {
  const long long taps = f.Method == dmOwnExchange ? OwnExchangeTaps(f.FilterType, f.Order) : f.Order;
  return taps / 2 + 2 + static_cast<long long>(f.Delay);
}

}  // namespace

void CheckFilterRecord(const TFilterRecord& f) {
  if (f.FilterType > ftBandStop) throw EFilterCheck(msgBadFilterType + std::to_string(f.FilterType));
  if (f.Order >= MaxFilterOrder) throw EFilterCheck(msgOrderTooLarge);
  if (f.Order < 1) throw EFilterCheck(msgBadOrder + std::to_string(f.Order));

  // Every edge must lie within the Nyquist frequency (a period of 2 bars),
  // and the edges must rise in the order of the bands.
  bool ordered = false;
  switch (f.FilterType) {
    case ftLowPass: ordered = f.D1 >= 2 && f.P1 > f.D1; break;
    case ftHighPass: ordered = f.P1 >= 2 && f.D1 > f.P1; break;
    default: ordered = f.D1 >= 2 && f.P1 > f.D1 && f.P2 > f.P1 && f.D2 > f.P2; break;
  }
  if (!ordered) throw EFilterCheck(msgBadPeriods + PeriodsText(f));

  if (!std::isfinite(f.Ripple) || f.Ripple <= 0) throw EFilterCheck(msgBadRipple + FloatToStrPoint(f.Ripple));
  if (f.A1 <= 0) throw EFilterCheck(msgBadAttenuation + ("A1=" + std::to_string(f.A1)));
  if (f.FilterType == ftBandPass && f.A2 <= 0)
    throw EFilterCheck(msgBadAttenuation + ("A2=" + std::to_string(f.A2)));
  if (f.Delay < 0) throw EFilterCheck(msgBadDelay + std::to_string(f.Delay));
  const long long entries = CutEntries(f);
  if (entries > MaxCoefficients) throw EFilterCheck(msgTooManyCoefficients + std::to_string(entries));
}

void SetDesignBands(TDesignWorkspace& ws, const TFilterRecord& f) {
  const long double d1 = (1 - PowerEx(10, -0.05L * f.Ripple)) * 0.5L;
  const long double d2 = PowerEx(10, -0.05L * f.A1);
  const long double d3 = PowerEx(10, -0.05L * f.A2);
  ws.PassDeviation = static_cast<double>(d1);
  ws.StopDeviation1 = static_cast<double>(d2);
  ws.StopDeviation2 = static_cast<double>(d3);
  const double w1 = static_cast<double>(d1 / d2);
  const double w2 = static_cast<double>(d1 / d3);

  const double p1 = 1.0 / f.P1, d1f = 1.0 / f.D1, p2 = 1.0 / f.P2, d2f = 1.0 / f.D2;
  switch (f.FilterType) {
    case ftLowPass:
      ws.BandCount = 2;
      ws.BandEdges = {0, p1, d1f, 0.5, 0, 0};
      ws.BandGains = {1, 0, 0};
      ws.BandWeights = {1, w1, 0};
      break;
    case ftHighPass:
      ws.BandCount = 2;
      ws.BandEdges = {0, d1f, p1, 0.5, 0, 0};
      ws.BandGains = {0, 1, 0};
      ws.BandWeights = {w1, 1, 0};
      break;
    case ftBandPass:
      ws.BandCount = 3;
      ws.BandEdges = {0, d2f, p2, p1, d1f, 0.5};
      ws.BandGains = {0, 1, 0};
      ws.BandWeights = {w1, 1, w2};
      break;
    case ftBandStop:
      ws.BandCount = 3;
      ws.BandEdges = {0, d2f, p2, p1, d1f, 0.5};
      ws.BandGains = {1, 0, 1};
      ws.BandWeights = {1, w1, 1};
      break;
    default:
      throw EFilterCheck(msgBadFilterType + std::to_string(f.FilterType));
  }
}

int OwnExchangeTaps(std::uint8_t filterType, int order) {
  const int taps = order + 1;
  const bool needsNyquist = filterType == ftHighPass || filterType == ftBandStop;
  return (needsNyquist && taps % 2 == 0) ? taps + 1 : taps;
}

TDesignStatus DesignImpulseResponse(TDesignWorkspace& ws, std::uint8_t filterType, int order, std::uint8_t method,
                                    const TExchangeMonitor* monitor) {
  if (filterType > ftBandStop) throw EFilterCheck(msgBadFilterType + std::to_string(filterType));
  if (order < 1 || order >= MaxFilterOrder) {
    if (order >= MaxFilterOrder) throw EFilterCheck(msgOrderTooLarge);
    throw EFilterCheck(msgBadOrder + std::to_string(order));
  }
  std::fill(ws.ImpulseResponse.begin(), ws.ImpulseResponse.end(), 0.0);
  ws.ImpulseLength = order;
  const int bands = (filterType == ftLowPass || filterType == ftHighPass) ? 2 : 3;
  ws.BandCount = bands;
  if (method == dmOwnExchange) {
    ws.KernelLength = OwnExchangeTaps(filterType, order);
    return RemezExchangeDesign(ws, ws.KernelLength, bands, monitor);
  }
  ws.KernelLength = order + 1;
  ws.IterationLimitReached = 0;
  // A single tap is no filter: the response stays zero.
  if (order > 1 && !detail::LibraryImpulseResponse(ws, filterType, order)) return dsLibraryFailed;
  return dsDone;
}

int DesignedResponseTaps(const TDesignWorkspace& ws, std::uint8_t method) {
  return method == dmOwnExchange ? ws.KernelLength : ws.ImpulseLength;
}

void FinishDesign(TDesignWorkspace& ws, std::uint8_t method, int delay, TDesignStatus status) {
  if (status == dsLibraryFailed) throw EDesignFailed(msgLibraryDesignFailed);
  const int taps = DesignedResponseTaps(ws, method);
  for (int i = 0; i < taps; ++i)
    if (!std::isfinite(ws.ImpulseResponse[i])) throw EDesignFailed(msgResponseNotFinite);
  const bool designedNothing = method != dmOwnExchange && ws.ImpulseLength <= 1;
  if (!TruncateForDelay(ws, taps, delay, method == dmOwnExchange ? 1 : 2) && !designedNothing)
    throw EDesignFailed(msgCoefficientSumNearZero);
  ws.IterationLimitReached = status == dsIterationLimit ? 1 : 0;
}

void DesignFilterRecord(TDesignWorkspace& ws, std::int32_t tag, const TFilterRecord& filter,
                        TCoefficientRecord& result) {
  CheckFilterRecord(filter);
  SetDesignBands(ws, filter);
  // An own exchange that ran out of rounds is no failure: its last round's
  // response is used, and IterationLimitReached tells the caller so.
  const TDesignStatus status = DesignImpulseResponse(ws, filter.FilterType, filter.Order, filter.Method);
  if (filter.Method == dmOwnExchange || ws.ImpulseLength > 1) {
    FinishDesign(ws, filter.Method, filter.Delay, status);
  } else {
    // A record keeps no coefficients of a design of nothing, and nothing of
    // an earlier design may show through.
    ws.DesignCoefficients.Coef.fill(0.0);
    ws.DesignCoefCount = 0;
  }

  result = TCoefficientRecord{};
  result.Tag = tag;
  result.Name = filter.Name;
  result.Count = ws.DesignCoefCount;
  for (int k = 0; k < result.Count && k < MaxCoefficients; ++k) result.Coef[k] = ws.DesignCoefficients.Coef[k];
}

}  // namespace workbench

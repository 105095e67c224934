// The filter generator's design parameters and order estimate.
// Tested by: tests/GeneratorParametersTest.cpp, tests/DesignOracleTest.cpp
#include "workbench/logic/formRemezParameters.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "numeric/MathCore.h"
#include "platform/classlib/SysUtils.h"
#include "platform/classlib/TextUtils.h"
#include "workbench/logic/Classes_Remez_Library.h"
#include "workbench/logic/Classes_Remez_Math.h"

namespace workbench {

long double TextToFloat(std::string_view text) {
  std::string converted(text);
  std::replace(converted.begin(), converted.end(), ',', '.');
  return classlib::StrToFloat(converted, '.');
}

std::int32_t OwnOrderEstimate(long double passDeviation, long double stopDeviation, long double transition) {
  const long double estimate =
      (-10.0L * numeric::Log10(static_cast<double>(passDeviation * stopDeviation)) - 13.0L) / (14.6L * transition);
  const std::int32_t n = detail::SaturatingRound(estimate);
  return std::max(n, MinEstimatedOrder);
}

TGeneratorPeriods ClampGeneratorPeriods(std::uint8_t filterType, TGeneratorPeriods p) {
  // Every correction changes a value toward the order or stops at a range's
  // end, so the rounds end; the bound only guards against a rule that would not.
  for (int round = 0; round < 4 * 300; ++round) {
    const TGeneratorPeriods before = p;
    switch (filterType) {
      case ftLowPass:
        if (p.P1 < 4) p.P1 = InputT1Range.Clamp(4);
        if (p.P1 <= p.D1) p.D1 = InputTransient1Range.Clamp(p.P1 - 1);
        break;
      case ftHighPass:
        if (p.P1 < 3) p.P1 = InputT1Range.Clamp(3);
        if (p.P1 >= p.D1) p.D1 = InputTransient1Range.Clamp(p.P1 + 1);
        break;
      case ftBandPass:
      case ftBandStop:
        if (p.D1 < 3) p.D1 = InputTransient1Range.Clamp(3);
        if (p.D1 >= p.P1) p.P1 = InputT1Range.Clamp(p.D1 + 1);
        if (p.P1 >= p.P2) p.P2 = InputT2Range.Clamp(p.P1 + 1);
        if (p.D2 <= p.P2) p.D2 = InputTransient2Range.Clamp(p.P2 + 1);
        break;
      default:
        return p;
    }
    if (p == before) break;
  }
  return p;
}

std::string ValidatedRippleText(std::string_view text) {
  const double value = classlib::StrToFloat(text, '.');
  if (value < MinimumRipple) return "0.0001";
  return std::string(text);
}

TFilterRecord ComputeDesignParameters(TDesignWorkspace& ws, const TGeneratorInputs& in) {
  ws.KernelLength = 0;
  ws.ImpulseLength = 0;

  const long double R = TextToFloat(in.Ripple);
  const std::int32_t A1 = std::abs(in.A1);
  const std::int32_t A2 = std::abs(in.A2);

  const long double d1 = (1 - PowerEx(10, -0.05L * R)) * 0.5L;
  const long double d2 = PowerEx(10, -0.05L * A1);
  const long double W1 = d1 / d2;
  const long double d3 = PowerEx(10, -0.05L * A2);
  const long double W2 = d1 / d3;
  ws.PassDeviation = static_cast<double>(d1);
  ws.StopDeviation1 = static_cast<double>(d2);
  ws.StopDeviation2 = static_cast<double>(d3);

  const std::int32_t P1 = std::abs(in.P1), P2 = std::abs(in.P2), D1 = std::abs(in.D1), D2 = std::abs(in.D2);
  const double f1 = 1.0 / P1, f2 = 1.0 / P2, fd1 = 1.0 / D1, fd2 = 1.0 / D2;
  const double w1 = static_cast<double>(W1), w2 = static_cast<double>(W2);
  const bool bandType = in.FilterType == ftBandPass || in.FilterType == ftBandStop;
  switch (in.FilterType) {
    case ftLowPass:
      ws.BandGains = {1, 0, 0};
      ws.BandEdges = {0, f1, fd1, 0.5, 0, 0};
      ws.BandWeights = {1, w1, 0};
      break;
    case ftHighPass:
      ws.BandGains = {0, 1, 0};
      ws.BandEdges = {0, fd1, f1, 0.5, 0, 0};
      ws.BandWeights = {w1, 1, 0};
      break;
    case ftBandPass:
      ws.BandGains = {0, 1, 0};
      ws.BandEdges = {0, fd2, f2, f1, fd1, 0.5};
      ws.BandWeights = {w1, 1, w2};
      break;
    case ftBandStop:
      ws.BandGains = {1, 0, 1};
      ws.BandEdges = {0, fd2, f2, f1, fd1, 0.5};
      ws.BandWeights = {1, w1, 1};
      break;
    default:
      throw EFilterCheck(msgBadFilterType + std::to_string(in.FilterType));
  }
  ws.BandCount = bandType ? 3 : 2;

  std::int32_t N = 0;
  if (in.Method == dmOwnExchange) {
    N = OwnOrderEstimate(d1, d2, std::fabs(static_cast<long double>(fd1) - f1));
    if (bandType) N = std::max(N, OwnOrderEstimate(d1, d2, std::fabs(static_cast<long double>(f2) - fd2)));
  } else {
    ws.GridDensity = LibraryGridDensity;
    N = std::max(detail::LibraryOrderEstimate(ws, in.FilterType), MinLibraryOrder);
    ws.KernelLength = N + 1;
  }
  ws.ImpulseLength = N;

  TFilterRecord current;
  current.Name = CurrentFilterName;
  current.FilterType = in.FilterType;
  current.P1 = P1;
  current.D1 = D1;
  current.A1 = A1;
  current.P2 = P2;
  current.D2 = D2;
  current.A2 = A2;
  current.Ripple = static_cast<double>(R);
  current.Delay = in.Delay;
  current.AutoOrder = in.AutoOrder ? 1 : 0;
  current.Method = in.Method == dmOwnExchange ? dmOwnExchange : dmLibrary;
  current.Order = in.AutoOrder ? N : in.InputOrder;
  current.CoefCount = ws.DesignCoefCount;
  return current;
}

}  // namespace workbench

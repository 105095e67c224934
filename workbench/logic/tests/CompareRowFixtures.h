// What the tests of the comparison rows and table build them from: candles of
// known prices, a Coefficients row, and a low-pass record.
#pragma once

#include <cstdint>
#include <vector>

#include "workbench/logic/CompareRows.h"

namespace workbench {

// Candles 0 .. count - 1 at X = i + 1 with close i + 1 and midpoint 100 (i + 1).
inline TPriceChart Candles(int count, int firstIndex, int lastIndex) {
  TPriceChart chart;
  for (int i = 0; i < count; ++i) {
    const double v = i + 1;
    chart.Bars.push_back({v, v, 101 * v, 99 * v, v, {}});
  }
  chart.FirstIndex = firstIndex;
  chart.LastIndex = lastIndex;
  return chart;
}

inline TCompareFilterRecord CoefficientsRow(std::vector<double> coefficients) {
  TCompareFilterRecord row = ImportRow("f.mql");
  row.Coefficients.Count = static_cast<std::int32_t>(coefficients.size());
  for (std::size_t k = 0; k < coefficients.size(); ++k) row.Coefficients.Coef[k] = coefficients[k];
  return row;
}

// Low-pass 24/12 at 40 dB and 0.08 dB, its order estimated when designed.
inline TFilterRecord LowPass(std::uint8_t method, std::int32_t order) {
  TFilterRecord f;
  f.Name = "lp";
  f.FilterType = ftLowPass;
  f.P1 = 24, f.D1 = 12, f.A1 = 40, f.P2 = 36, f.D2 = 52, f.A2 = 40;
  f.Ripple = 0.08;
  f.Order = order;
  f.AutoOrder = 1;
  f.Method = method;
  return f;
}

}  // namespace workbench

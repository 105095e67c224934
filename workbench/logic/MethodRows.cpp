// The methods grid's texts and the design of a whole method.
// Tested by: tests/MethodRowsTest.cpp
#include "workbench/logic/MethodRows.h"

#include <cmath>

namespace workbench {

std::vector<std::string> MethodGridRow(int row, const TFilterRecord& f) {
  static const char* const TypeCodes[] = {"LP", "HP", "BP", "BS"};
  const auto Int = [](std::int64_t v) { return std::to_string(v); };
  const std::string type = f.FilterType <= ftBandStop ? TypeCodes[f.FilterType] : Int(f.FilterType);
  const std::string order = f.AutoOrder ? "Auto (" + Int(f.Order) + ")" : Int(f.Order);
  return {Int(row),  f.Name.Str(),   type,           Int(f.P1),    Int(f.D1), Int(f.A1),    Int(f.P2),
          Int(f.D2), Int(f.A2),      FloatToStrPoint(f.Ripple), Int(f.Delay), order, Int(f.Method)};
}

TMethodDesign CalculateMethod(TDesignWorkspace& ws, const TMethod& method,
                              const std::function<void(int percent)>& progress) {
  TMethodDesign design;
  const auto n = static_cast<int>(method.Filters.size());
  design.Coefficients.reserve(method.Filters.size());
  for (int i = 0; i < n; ++i) {
    TCoefficientRecord result{};
    DesignFilterRecord(ws, i, method.Filters[static_cast<std::size_t>(i)], result);
    design.Coefficients.push_back(result);
    design.IterationLimit.push_back(ws.IterationLimitReached != 0);
    if (progress) progress(static_cast<int>(std::nearbyint((i + 1) / static_cast<double>(n) * 100)));
  }
  return design;
}

}  // namespace workbench

// The methods window without its window: the texts of its grid rows and the
// design of every filter of a method.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "workbench/logic/Classes_Remez.h"
#include "workbench/logic/MethodFile.h"

namespace workbench {

// The headings of the methods grid, one per column.
inline constexpr const char* MethodGridHeadings[] = {"#",  "Name", "Type", "P1",    "D1",    "A1",  "P2",
                                                    "D2", "A2",   "Ripple", "Delay", "Order", "Alg."};
inline constexpr int MethodGridColumns = 13;

// The cells of grid row `row` (counted from 1) showing `filter`.
std::vector<std::string> MethodGridRow(int row, const TFilterRecord& filter);

// Every filter of a method designed, in method order.
struct TMethodDesign {
  std::vector<TCoefficientRecord> Coefficients;  // one per filter; Tag is the filter's index
  std::vector<bool> IterationLimit;               // the own exchange ran out of rounds for that filter
};

// Designs every filter of `method` with ws, filter i tagged i; after each one
// `progress` gets the percentage done, Round((i + 1) / n x 100). A filter that
// cannot be designed raises its design's exception.
TMethodDesign CalculateMethod(TDesignWorkspace& ws, const TMethod& method,
                              const std::function<void(int percent)>& progress = {});

}  // namespace workbench

// The filter-parameter dialog's order estimate, refusals and result record.
// Tested by: tests/MethodEditParametersTest.cpp
#include "workbench/logic/FormMethodEditParameters.h"

#include <algorithm>
#include <cstdlib>

namespace workbench {

std::int32_t MethodEditOrderEstimate(TDesignWorkspace& ws, const TGeneratorInputs& inputs) {
  ComputeDesignParameters(ws, inputs);
  // The estimate does not depend on the grid; the dialog's library designs
  // use the default density where the generator's use its own.
  if (inputs.Method != dmOwnExchange) ws.GridDensity = DefaultGridDensity;
  return ws.ImpulseLength;
}

std::int32_t MethodEditEffectiveOrder(const TGeneratorInputs& inputs, std::int32_t estimate) {
  return inputs.AutoOrder ? estimate : inputs.InputOrder;
}

std::string MethodEditRefusal(const std::string& name, std::int32_t effectiveOrder) {
  if (effectiveOrder >= MaxFilterOrder) return msgFilterTooLong;
  if (name.empty()) return msgEnterFilterName;
  return {};
}

TFilterRecord MethodEditResult(const TMethodEditInputs& in, std::int32_t estimate, const TFilterRecord& base) {
  const TGeneratorInputs& d = in.Design;
  TFilterRecord f = base;
  f.Ripple = static_cast<double>(TextToFloat(d.Ripple));
  f.Name = in.Name;
  f.FilterType = d.FilterType;
  f.P1 = d.P1;
  f.D1 = d.D1;
  f.A1 = d.A1;
  f.P2 = d.P2;
  f.D2 = d.D2;
  f.A2 = d.A2;
  f.Delay = d.Delay;
  f.AutoOrder = d.AutoOrder ? 1 : 0;
  f.Order = MethodEditEffectiveOrder(d, estimate);
  f.Method = d.Method == dmOwnExchange ? dmOwnExchange : dmLibrary;
  f.Price = in.Price == piClose ? piClose : piMidPrice;
  return f;
}

TMethodEditInputs MethodEditInputsOf(const TFilterRecord& filter) {
  TMethodEditInputs in;
  in.Name = filter.Name.Str();
  in.Design.FilterType = filter.FilterType;
  in.Design.P1 = filter.P1;
  in.Design.D1 = filter.D1;
  in.Design.A1 = filter.A1;
  in.Design.P2 = filter.P2;
  in.Design.D2 = filter.D2;
  in.Design.A2 = filter.A2;
  in.Design.Ripple = FloatToStrPoint(filter.Ripple);
  in.Design.Delay = filter.Delay;
  in.Design.Method = filter.Method == dmOwnExchange ? dmOwnExchange : dmLibrary;
  in.Design.AutoOrder = filter.AutoOrder != 0;
  in.Design.InputOrder = filter.Order;
  in.Price = filter.Price == piClose ? piClose : piMidPrice;
  return in;
}

bool FilterNameKey(int key) {
  return key < 32 || (key >= 'a' && key <= 'z') || (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
}

}  // namespace workbench

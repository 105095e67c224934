// The filter-parameter dialog without its window: its inputs, the order it
// estimates, the refusals of its OK button and the record it hands back.
//
// The dialog has the generator's inputs and input rules (formRemezParameters)
// plus a name and a price input, and designs nothing.
#pragma once

#include <cstdint>
#include <string>

#include "workbench/logic/Classes_Remez.h"
#include "workbench/logic/formRemezParameters.h"

namespace workbench {

inline constexpr const char* msgEnterFilterName = "Введите название фильтра";
inline constexpr const char* msgFilterTooLong = "Длина фильтра превышает максимальное значение";

// Price inputs of TFilterRecord.Price.
enum : std::uint8_t { piClose = 0, piMidPrice = 1 };

// The dialog's inputs as its controls hold them.
struct TMethodEditInputs {
  std::string Name;          // FilterName (single-byte text)
  TGeneratorInputs Design;   // the inputs it shares with the generator
  std::uint8_t Price = piClose;
};

// The order the dialog shows: the generator's estimate of the inputs into
// ws (ImpulseLength, deviations and bands), with a library design estimated
// at the grid density of 16 that the dialog leaves in ws.
std::int32_t MethodEditOrderEstimate(TDesignWorkspace& ws, const TGeneratorInputs& inputs);

// The order a record made by the dialog designs with: the estimate when the
// order is automatic, else the manual order.
std::int32_t MethodEditEffectiveOrder(const TGeneratorInputs& inputs, std::int32_t estimate);

// Why OK is refused, or empty: an empty name, then an order of MaxFilterOrder
// or more (the order the record would design with, manual or estimated).
std::string MethodEditRefusal(const std::string& name, std::int32_t effectiveOrder);

// The record the dialog hands back: `base` (the record being edited, or a
// zero record for a new one) with every field the dialog shows taken from the
// inputs; its coefficient count stays `base`'s. Raises classlib::EConvertError
// for a ripple text that is no number.
TFilterRecord MethodEditResult(const TMethodEditInputs& inputs, std::int32_t estimate, const TFilterRecord& base);

// The inputs that show `filter`, for editing it.
TMethodEditInputs MethodEditInputsOf(const TFilterRecord& filter);

// Keys the name accepts: Latin letters, digits and control characters.
bool FilterNameKey(int key);

}  // namespace workbench

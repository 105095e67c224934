// The filter generator's design parameters, without its window: the inputs
// turned into deviations, band edges, gains, weights, the order estimate and
// the current filter record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "workbench/logic/Classes_Remez.h"

namespace workbench {

// The generator's inputs as its controls hold them.
struct TGeneratorInputs {
  std::uint8_t FilterType = ftLowPass;
  std::int32_t P1 = 24, D1 = 12, A1 = 40;  // InputT1, InputTransient1, InputAtten1
  std::int32_t P2 = 36, D2 = 12, A2 = 40;  // InputT2, InputTransient2, InputAtten2
  std::string Ripple = "0.08";             // InputRipple's text
  std::int32_t Delay = 0;                  // InputDelay
  std::uint8_t Method = dmOwnExchange;     // Method1 checked: 1, Method2: 2
  bool AutoOrder = true;                   // CheckBoxOrder
  std::int32_t InputOrder = 20;            // the manual order
};

inline constexpr const char* CurrentFilterName = "From Orvel window ";
inline constexpr int LibraryGridDensity = 32;  // the generator's library designs
inline constexpr int MinLibraryOrder = 10;

// A floating value of a text, commas taken as points; raises
// classlib::EConvertError "'<text>' is not a valid floating point value".
long double TextToFloat(std::string_view text);

// The own exchange's order estimate from the deviations and the transition
// widths; never below MinEstimatedOrder, and a non-finite estimate comes out
// as the largest integer so that the order limit refuses it.
std::int32_t OwnOrderEstimate(long double passDeviation, long double stopDeviation, long double transition);

// Reads the inputs into the workspace's deviations and bands, estimates the
// order into ImpulseLength (and KernelLength for a library design) and returns
// the current filter record, whose Order is the order a design will use.
TFilterRecord ComputeDesignParameters(TDesignWorkspace& ws, const TGeneratorInputs& inputs);

}  // namespace workbench

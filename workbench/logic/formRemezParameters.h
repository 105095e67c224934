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

// The ranges of the generator's integer inputs; a value set outside one is
// stored as the nearer bound.
struct TInputRange {
  std::int32_t Min, Max;
  std::int32_t Clamp(std::int32_t value) const { return value < Min ? Min : (value > Max ? Max : value); }
};
inline constexpr TInputRange InputT1Range{4, 300};
inline constexpr TInputRange InputTransient1Range{3, 300};
inline constexpr TInputRange InputAtten1Range{1, 1000};
inline constexpr TInputRange InputDelayRange{0, 99};
inline constexpr TInputRange InputT2Range{1, 300};
inline constexpr TInputRange InputTransient2Range{3, 300};
inline constexpr TInputRange InputAtten2Range{1, 1000};
inline constexpr TInputRange InputOrderRange{1, 9999};

// The periods of the band edges as the generator's inputs hold them.
struct TGeneratorPeriods {
  std::int32_t P1 = 0, D1 = 0, P2 = 0, D2 = 0;
  friend bool operator==(const TGeneratorPeriods&, const TGeneratorPeriods&) = default;
};

// The periods after the generator's silent corrections, which keep the band
// edges in the band type's order: low-pass P1 >= 4 and D1 < P1; high-pass
// P1 >= 3 and D1 > P1; band types D1 >= 3 and D1 < P1 < P2 < D2. Each
// correction is clamped to its input's range, and they repeat until none
// changes a value, so the result is what the inputs show once they settle
// (at the ends of the ranges the order may stay broken: the order estimate
// then refuses the design).
TGeneratorPeriods ClampGeneratorPeriods(std::uint8_t filterType, TGeneratorPeriods periods);

// The ripple text after validation: read as it stands with the point as
// decimal separator (raises classlib::EConvertError "'<text>' is not a valid
// floating point value" otherwise); a value below MinimumRipple becomes
// "0.0001", any other keeps its text.
inline constexpr double MinimumRipple = 0.0001;
std::string ValidatedRippleText(std::string_view text);

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

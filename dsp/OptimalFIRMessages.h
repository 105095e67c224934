// The texts that the equiripple design raises, in one place for the unit and its tests.
#pragma once

namespace dsp::msg {

inline constexpr const char* RemezOrderLengths = "Length(gains) <> Length(weigth)";
inline constexpr const char* RemezWeightsLength = "Length(weights) <> Length(gains)";
inline constexpr const char* RemezOverlappingBands = "Remez: Overlapping bands!";
inline constexpr const char* RemezEdgeCount = "(Length(W) <> 4) and (Length(W) <> 2)";
// Texts of our own for what the unit once let through silently.
inline constexpr const char* RemezGainsLength = "Length(gains) < Length(F) div 2";
inline constexpr const char* RemezLengthRange = "Remez: (Length(H) < 3) or (Length(H) > 10000)";
inline constexpr const char* RemezTwoEdgeBands =
    "(Length(W) = 2) and (FilterType in [fltBandpass, fltBandstop])";
inline constexpr const char* RemezFilterType = "FilterType > fltDoubleIntegratorEven";

}  // namespace dsp::msg

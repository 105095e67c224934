// Decimation of complex data by the signal-primitives layer.
// Tested by: numeric/tests/VecTransformsTest.cpp
#pragma once

#include "platform/spl/SplTypes.h"

namespace spl {

// dst receives src[phase + i factor] for every i with phase + i factor below
// srcLen; dstLen is set to their count and phase to the offset at which the
// next block continues the same decimation. factor >= 1 and
// 0 <= phase < factor; dst has room for the result and does not overlap src.
void nspzDownSample(const DCplx* src, int srcLen, DCplx* dst, int& dstLen, int factor, int& phase);

}  // namespace spl

// Up-sampling by the signal-primitives layer: zeros inserted between samples.
// Tested by: platform/spl/tests/ComplexPartsTest.cpp
#pragma once

namespace spl {

// dstLen := srcLen * factor; dst[phase + i * factor] := src[i] and every other
// element of dst := 0; phase is not changed. A factor below 1, a phase outside
// 0 .. factor - 1 or a count of zero or less produce nothing (dstLen 0). The
// source and destination must not overlap.
void nspdUpSample(const double* src, int srcLen, double* dst, int& dstLen, int factor, int& phase);

}  // namespace spl

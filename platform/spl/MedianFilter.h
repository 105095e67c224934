// The running median of the signal-primitives layer.
//
// Tested by: dsp/tests/FilterStatesTest.cpp, dsp/tests/FilterStatesOracleTest.cpp
#pragma once

namespace spl {

// In place: vec[i] := the median of vec[i - h .. i + h] as they were before
// the call (h = maskSize div 2), the samples beyond either end taken as the
// end sample. NaN counts as larger than every number. maskSize must be odd
// and at least 1 (else classlib::Exception, nothing changed).
void nspdbMedianFilter1(double* vec, int len, int maskSize);

}  // namespace spl

// Complex decimation: every factor-th element from a phase.
// Tested by: numeric/tests/VecTransformsTest.cpp
#include "platform/spl/DownSample.h"

namespace spl {

void nspzDownSample(const DCplx* src, int srcLen, DCplx* dst, int& dstLen, int factor, int& phase) {
  int count = 0;
  int i = phase;
  for (; i < srcLen; i += factor) dst[count++] = src[i];
  dstLen = count;
  phase = i - srcLen;
}

}  // namespace spl

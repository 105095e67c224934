// Up-sampling: zero insertion.
// Tested by: platform/spl/tests/ComplexPartsTest.cpp
#include "platform/spl/UpSample.h"

#include <algorithm>

namespace spl {

void nspdUpSample(const double* src, int srcLen, double* dst, int& dstLen, int factor, int& phase) {
  dstLen = 0;
  if (srcLen <= 0 || factor < 1 || phase < 0 || phase >= factor) return;
  const long long total = static_cast<long long>(srcLen) * factor;
  std::fill_n(dst, total, 0.0);
  for (int i = 0; i < srcLen; ++i) dst[phase + static_cast<long long>(i) * factor] = src[i];
  dstLen = static_cast<int>(total);
}

}  // namespace spl

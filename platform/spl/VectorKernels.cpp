// Copy and fill kernels: plain loops, which the compiler vectorises.
// Tested through numeric/tests/VecStorageTest.cpp.
#include "platform/spl/VectorKernels.h"

#include <algorithm>
#include <cstring>

namespace spl {

void nspdbCopy(const double* src, double* dst, int n) {
  if (n <= 0 || src == dst) return;
  std::memmove(dst, src, static_cast<std::size_t>(n) * sizeof(double));
}

void nspdbZero(double* dst, int n) {
  if (n <= 0) return;
  std::fill_n(dst, n, 0.0);
}

void nspdbSet(double val, double* dst, int n) {
  if (n <= 0) return;
  std::fill_n(dst, n, val);
}

void nspzbSet(DCplx val, DCplx* dst, int n) {
  if (n <= 0) return;
  std::fill_n(dst, n, val);
}

}  // namespace spl

// The tolerant sort of roots: complex roots first, conjugate pairs side by side, real roots
// last in ascending order.
// Tested by: dsp/tests/SortVecTest.cpp
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "dsp/LinearSystems.h"

namespace dsp {

using numeric::IsEqual;
using numeric::TCplx;
using numeric::TVec;

namespace {

// a before b: ascending real part; among equal real parts the larger imaginary magnitude first,
// and of two equal magnitudes (a pair) the negative imaginary part first.
bool Less(const TCplx& a, const TCplx& b, double tol) {
  if (a.Re + tol < b.Re) return true;
  if (!IsEqual(a.Re, b.Re, tol)) return false;
  if (IsEqual(std::fabs(a.Im), std::fabs(b.Im), tol)) return a.Im + tol < b.Im;
  return std::fabs(a.Im) - tol > std::fabs(b.Im);
}

bool Greater(const TCplx& a, const TCplx& b, double tol) {
  if (a.Re - tol > b.Re) return true;
  if (!IsEqual(a.Re, b.Re, tol)) return false;
  if (IsEqual(std::fabs(a.Im), std::fabs(b.Im), tol)) return a.Im - tol > b.Im;
  return std::fabs(a.Im) + tol < std::fabs(b.Im);
}

// Hoare partition around the middle element. Both scans stop at the pivot's own value, so they
// never leave the range whatever the tolerance or a NaN makes of the ordering. The smaller side
// is sorted by recursion and the larger one by the loop, so the depth stays logarithmic.
template <class T, class LessFn, class GreaterFn>
void QuickSort(std::vector<T>& a, std::int64_t lo, std::int64_t hi, LessFn less, GreaterFn greater) {
  while (lo < hi) {
    const T pivot = a[static_cast<std::size_t>((lo + hi) / 2)];
    std::int64_t i = lo, j = hi;
    do {
      while (less(a[static_cast<std::size_t>(i)], pivot)) ++i;
      while (greater(a[static_cast<std::size_t>(j)], pivot)) --j;
      if (j >= i) {
        std::swap(a[static_cast<std::size_t>(i)], a[static_cast<std::size_t>(j)]);
        ++i;
        --j;
      }
    } while (j >= i);
    if (j - lo < hi - i) {
      if (j > lo) QuickSort(a, lo, j, less, greater);
      lo = i;
    } else {
      if (i < hi) QuickSort(a, i, hi, less, greater);
      hi = j;
    }
  }
}

void SortReal(std::vector<double>& a) {
  if (a.empty()) return;
  QuickSort(
      a, 0, static_cast<std::int64_t>(a.size()) - 1, [](double x, double y) { return x < y; },
      [](double x, double y) { return x > y; });
}

}  // namespace

void SortVec(TVec& Vec, double Tol) { SortVec(Vec, 0, Vec.Length(), Tol); }

void SortVec(TVec& Vec, std::int32_t Index, std::int32_t Len, double Tol) {
  if (Index < 0 || Len < 0 || static_cast<std::int64_t>(Index) + Len > Vec.Length())
    numeric::RaiseError("SortVec: Index " + std::to_string(Index) + ", Len " + std::to_string(Len) +
                        " outside Length " + std::to_string(Vec.Length()));
  if (Len == 0) return;

  if (!Vec.Complex()) {
    double* x = Vec.Values() + Index;
    std::vector<double> values(x, x + Len);
    SortReal(values);
    std::copy(values.begin(), values.end(), x);
    return;
  }

  TCplx* x = Vec.CValues() + Index;
  std::vector<TCplx> complexRoots;
  std::vector<double> realRoots;
  for (std::int32_t i = 0; i < Len; ++i) {
    if (IsEqual(x[i].Im, 0.0, Tol))
      realRoots.push_back(x[i].Re);
    else
      complexRoots.push_back(x[i]);
  }
  if (!complexRoots.empty())
    QuickSort(
        complexRoots, 0, static_cast<std::int64_t>(complexRoots.size()) - 1,
        [Tol](const TCplx& a, const TCplx& b) { return Less(a, b, Tol); },
        [Tol](const TCplx& a, const TCplx& b) { return Greater(a, b, Tol); });
  SortReal(realRoots);
  std::size_t k = 0;
  for (const TCplx& z : complexRoots) x[k++] = z;
  for (double r : realRoots) x[k++] = TCplx{r, 0.0};
}

}  // namespace dsp

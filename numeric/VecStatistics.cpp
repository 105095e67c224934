// TVec statistics: root mean square, standard deviation, skewness and
// kurtosis, products, dot products, the ascending sort and the median.
// Tested by: numeric/tests/VecStatisticsTest.cpp, numeric/tests/VecTransformsOracleTest.cpp
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "numeric/Numora.h"
#include "numeric/VecChecks.h"
#include "platform/lapack/Lapack.h"
#include "platform/spl/ComplexParts.h"
#include "platform/spl/Reductions.h"

namespace numeric {

using detail::AsSpl;
using detail::Quadrant;

namespace {

// ---------------------------------------------------------------------------
// Quicksort with the middle element as pivot. The tail call goes to the
// larger part, so the depth stays logarithmic; the parts are disjoint, so the
// order of the two calls does not change the result.

void QuickSortReal(double* a, std::int32_t l, std::int32_t r) {
  while (l < r) {
    std::int32_t i = l, j = r;
    const double pivot = a[(l + r) / 2];
    // A NaN pivot compares false with everything: that part stays as it is.
    if (std::isnan(pivot)) return;
    do {
      while (i < r && a[i] < pivot) ++i;
      while (j > l && a[j] > pivot) --j;
      if (i <= j) {
        std::swap(a[i], a[j]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - l < r - i) {
      if (l < j) QuickSortReal(a, l, j);
      l = i;
    } else {
      if (i < r) QuickSortReal(a, i, r);
      r = j;
    }
  }
}

// a comes before b among equal magnitudes.
bool PhasePrecedes(const TCplx& a, const TCplx& b) {
  const int qa = Quadrant(a), qb = Quadrant(b);
  if (qa != qb) return qa < qb;
  return qa >= 3 ? a.Re > b.Re : a.Re < b.Re;
}

void QuickSortCplx(TCplx* z, double* keys, std::int32_t l, std::int32_t r) {
  while (l < r) {
    std::int32_t i = l, j = r;
    const std::int32_t m = (l + r) / 2;
    const TCplx pz = z[m];
    const double pk = keys[m];
    do {
      while (i < r && (keys[i] < pk || (keys[i] == pk && PhasePrecedes(z[i], pz)))) ++i;
      while (j > l && (keys[j] > pk || (keys[j] == pk && PhasePrecedes(pz, z[j])))) --j;
      if (i <= j) {
        std::swap(z[i], z[j]);
        std::swap(keys[i], keys[j]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - l < r - i) {
      if (l < j) QuickSortCplx(z, keys, l, j);
      l = i;
    } else {
      if (i < r) QuickSortCplx(z, keys, i, r);
      r = j;
    }
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Moments

double TVec::RMS() const { return RMS(0, FLength); }

// Complex elements count with |z|^2: the root of the mean power. (The square
// of the complex sum of squares would cancel: (1, 0) and (0, 1) would give 0.)
double TVec::RMS(std::int32_t Index, std::int32_t Len) const {
  if (static_cast<std::int64_t>(Index) + Len > FLength) RaiseError("Index+Len > Vec.Length");
  if (Index < 0 || Len < 0) RaiseError("(Len < 0) or (Index < 0)");
  if (Len == 0) return NAN;
  long double sum = 0.0L;
  if (FComplex) {
    const TCplx* z = CValues() + Index;
    for (std::int32_t i = 0; i < Len; ++i)
      sum += static_cast<long double>(z[i].Re) * z[i].Re + static_cast<long double>(z[i].Im) * z[i].Im;
  } else {
    const double* x = Values() + Index;
    for (std::int32_t i = 0; i < Len; ++i) sum += static_cast<long double>(x[i]) * x[i];
  }
  return static_cast<double>(std::sqrt(sum / Len));
}

// One element has no spread to estimate: NAN (the division by n - 1 = 0
// would otherwise give +INF for any value but Mean).
double TVec::StdDev(double Mean) const {
  if (FLength == 0) return 0.0;
  if (FComplex) RaiseError("Complex = True");
  if (FLength == 1) return NAN;
  long double s = 0.0L;
  const double* x = Values();
  for (std::int32_t i = 0; i < FLength; ++i) {
    const long double d = static_cast<long double>(x[i]) - Mean;
    s += d * d;
  }
  return static_cast<double>(std::sqrt(std::fabs(s / (FLength - 1))));
}

double TVec::Kurtosis(double Mean, double StdDev) const {
  if (FComplex) RaiseError("Complex = True");
  if (FLength == 0) return NAN;
  const long double n = FLength;
  const long double f = std::sqrt(n / (n - 1)) / StdDev;
  long double s = 0.0L;
  const double* x = Values();
  for (std::int32_t i = 0; i < FLength; ++i) {
    const long double d = (static_cast<long double>(x[i]) - Mean) * f;
    s += d * d * d * d;
  }
  return static_cast<double>(s / n);
}

double TVec::Skewness(double Mean, double StdDev) const {
  if (FComplex) RaiseError("Complex = True");
  if (FLength == 0) return NAN;
  long double s = 0.0L;
  const double* x = Values();
  for (std::int32_t i = 0; i < FLength; ++i) {
    const long double d = (static_cast<long double>(x[i]) - Mean) / StdDev;
    s += d * d * d;
  }
  return static_cast<double>(s / FLength);
}

// ---------------------------------------------------------------------------
// Products

void TVec::Product(double& X) const {
  X = 1.0;
  if (FLength == 0) return;
  if (FComplex) RaiseError("Complex = True");
  const double* x = Values();
  for (std::int32_t i = 0; i < FLength; ++i) X *= x[i];
}

void TVec::CProduct(TCplx& Z) const {
  if (FLength == 0) {
    Z = C_ONE;
    return;
  }
  if (!FComplex) {
    double p;
    Product(p);
    Z = TCplx{p, 0.0};
    return;
  }
  const TCplx* z = CValues();
  Z = z[0];
  for (std::int32_t i = 1; i < FLength; ++i) Z = CMul(Z, z[i]);
}

// ---------------------------------------------------------------------------
// Dot products

namespace {

// The common checks: ALength -1 resolved, the literal range check, then the
// offsets against both vectors, which keep the reads inside them.
std::int32_t DotLength(const TVec& self, const TVec& vec, std::int32_t vecIndex, std::int32_t index,
                       std::int32_t aLength) {
  const std::int32_t shorter = std::min(vec.Length(), self.Length());
  if (aLength == -1) aLength = shorter;
  if (!CheckRange(0, aLength, shorter)) RaiseError("not CheckRange(0,ALength,Min(Vec.Length,Length))");
  if (index < 0 || vecIndex < 0) RaiseError("(Index < 0) or (VecIndex < 0)");
  if (static_cast<std::int64_t>(index) + aLength > self.Length()) RaiseError("Index + ALength > Length");
  if (static_cast<std::int64_t>(vecIndex) + aLength > vec.Length()) RaiseError("VecIndex + ALength > Vec.Length");
  return aLength;
}

const lapack::Complex* AsBlas(const TCplx* p) { return reinterpret_cast<const lapack::Complex*>(p); }
TCplx FromSpl(const spl::DCplx& z) { return TCplx{z.re, z.im}; }

}  // namespace

double TVec::DotProd(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t ALength) const {
  const std::int32_t n = DotLength(*this, Vec, VecIndex, Index, ALength);
  if (n == 0) return NAN;
  if (Vec.Complex() || FComplex) RaiseError("Vec.Complex or Self.Complex");
  return spl::nspdDotProd(Values() + Index, Vec.Values() + VecIndex, n);
}

TCplx TVec::DotProdC(const TVec& Vec, bool Conj, std::int32_t VecIndex, std::int32_t Index,
                     std::int32_t ALength) const {
  const std::int32_t n = DotLength(*this, Vec, VecIndex, Index, ALength);
  if (!Vec.Complex() && !FComplex) RaiseError("not (Vec.Complex or Complex)");
  if (n <= 0) return C_ZERO;
  if (Vec.Complex() && FComplex) {
    if (Conj) {
      lapack::Complex r;
      lapack::ZDOTC(r, n, AsBlas(Vec.CValues() + VecIndex), 1, AsBlas(CValues() + Index), 1);
      return TCplx{r.real(), r.imag()};
    }
    return FromSpl(spl::nspzDotProd(AsSpl(CValues() + Index), AsSpl(Vec.CValues() + VecIndex), n));
  }
  if (Conj) RaiseError("Operation not supported: Conj(complex vector)*(real vector)!");
  if (FComplex) return FromSpl(spl::nspzdDotProd(AsSpl(CValues() + Index), Vec.Values() + VecIndex, n));
  return FromSpl(spl::nspdzDotProd(Values() + Index, AsSpl(Vec.CValues() + VecIndex), n));
}

// ---------------------------------------------------------------------------
// Sorting and the median

TVec& TVec::SortAscend(std::int32_t Index, std::int32_t Len) {
  if (Len <= 0 || Index < 0) return *this;
  if (static_cast<std::int64_t>(Index) + Len > FLength) RaiseError("Index+Len > Length");
  if (!FComplex) {
    QuickSortReal(Values(), Index, Index + Len - 1);
    return *this;
  }
  // Magnitudes once per element, at the elements' own positions.
  TCachedVec keys;
  keys->Size(FLength, false);
  spl::nspzbPowerSpectr(AsSpl(CValues() + Index), keys->Values() + Index, Len);
  QuickSortCplx(CValues(), keys->Values(), Index, Index + Len - 1);
  return *this;
}

TVec& TVec::SortAscend() { return SortAscend(0, FLength); }

double TVec::Median(std::int32_t Index, std::int32_t Len) const {
  if (Len == -1) Len = FLength - Index;
  if (static_cast<std::int64_t>(Index) + Len > FLength) RaiseError("(Index + Len) > FLength");
  if (Index < 0 || Len < 0) RaiseError("(Len < 0) or (Index < 0)");
  if (Len == 0) return NAN;
  // The range copy into a real temporary refuses a complex Self.
  TCachedVec sorted;
  sorted->Size(Len, false);
  sorted->Copy(*this, Index, 0, Len);
  sorted->SortAscend(0, Len);
  const double* s = sorted->Values();
  return Len % 2 == 1 ? s[Len / 2] : (s[Len / 2 - 1] + s[Len / 2]) * 0.5;
}

}  // namespace numeric

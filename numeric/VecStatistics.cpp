// TVec statistics: root mean square, standard deviation, skewness and
// kurtosis, products, dot products, the ascending sort and the median.
// Tested by: numeric/tests/VecStatisticsTest.cpp, numeric/tests/VecTransformsOracleTest.cpp
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>

#include "numeric/Numora.h"
#include "platform/lapack/Lapack.h"

namespace numeric {

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

// The phase-order quadrant: 1 (Re < 0, Im < 0), 2 (Re >= 0, Im < 0),
// 3 (Re >= 0, Im >= 0), 4 (Re < 0, Im >= 0), in increasing phase angle.
int Quadrant(const TCplx& z) {
  if (z.Im < 0) return z.Re < 0 ? 1 : 2;
  return z.Re < 0 ? 4 : 3;
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

}  // namespace

double TVec::DotProd(const TVec& Vec, std::int32_t VecIndex, std::int32_t Index, std::int32_t ALength) const {
  const std::int32_t n = DotLength(*this, Vec, VecIndex, Index, ALength);
  if (n == 0) return NAN;
  if (Vec.Complex() || FComplex) RaiseError("Vec.Complex or Self.Complex");
  return lapack::DDOT(n, Values() + Index, 1, Vec.Values() + VecIndex, 1);
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
    std::complex<double> sum = 0.0;
    const auto* a = AsBlas(CValues() + Index);
    const auto* b = AsBlas(Vec.CValues() + VecIndex);
    for (std::int32_t i = 0; i < n; ++i) sum += a[i] * b[i];
    return TCplx{sum.real(), sum.imag()};
  }
  if (Conj) RaiseError("Operation not supported: Conj(complex vector)*(real vector)!");
  TCplx sum = C_ZERO;
  if (FComplex) {
    const TCplx* z = CValues() + Index;
    const double* x = Vec.Values() + VecIndex;
    for (std::int32_t i = 0; i < n; ++i) {
      sum.Re += z[i].Re * x[i];
      sum.Im += z[i].Im * x[i];
    }
  } else {
    const double* x = Values() + Index;
    const TCplx* z = Vec.CValues() + VecIndex;
    for (std::int32_t i = 0; i < n; ++i) {
      sum.Re += x[i] * z[i].Re;
      sum.Im += x[i] * z[i].Im;
    }
  }
  return sum;
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
  const TCplx* z = CValues();
  double* k = keys->Values();
  for (std::int32_t i = Index; i < Index + Len; ++i) k[i] = z[i].Re * z[i].Re + z[i].Im * z[i].Im;
  QuickSortCplx(CValues(), k, Index, Index + Len - 1);
  return *this;
}

TVec& TVec::SortAscend() { return SortAscend(0, FLength); }

double TVec::Median(std::int32_t Index, std::int32_t Len) const {
  if (Len == -1) Len = FLength - Index;
  if (static_cast<std::int64_t>(Index) + Len > FLength) RaiseError("(Index + Len) > FLength");
  if (Index < 0 || Len < 0) RaiseError("(Len < 0) or (Index < 0)");
  if (Len == 0) return NAN;
  if (FComplex && FConditionCheck) RaiseError("Vec.Complex <> Complex");
  // Unchecked, a complex vector is read as its doubles, which stay in range.
  TCachedVec sorted;
  sorted->Size(Len, false);
  std::copy_n(Values() + Index, Len, sorted->Values());
  sorted->SortAscend(0, Len);
  const double* s = sorted->Values();
  return Len % 2 == 1 ? s[Len / 2] : (s[Len / 2 - 1] + s[Len / 2]) * 0.5;
}

}  // namespace numeric

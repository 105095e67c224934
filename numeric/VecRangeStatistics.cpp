// TVec range statistics: mean, sum, product, RMS and norm over the vector or
// a window, extremes with their positions, complex means and sums, and the
// complex elements of largest and smallest magnitude.
// Tested by: numeric/tests/VecRangeStatisticsTest.cpp
#include <cmath>
#include <cstdint>

#include "numeric/Numora.h"
#include "numeric/VecChecks.h"
#include "platform/spl/ComplexParts.h"
#include "platform/spl/Reductions.h"

namespace numeric {

using detail::AsSpl;
using detail::Quadrant;

namespace {

constexpr const char* kComplex = "Complex = True";

// Negative windows have no message of their own; they would read in front of
// the data, so they are refused always.
void RefuseNegative(std::int32_t index, std::int32_t len) {
  if (index < 0 || len < 0) RaiseError("(Len < 0) or (Index < 0)");
}

bool Exceeds(std::int32_t index, std::int32_t len, std::int32_t length) {
  return static_cast<std::int64_t>(index) + len > length;
}

}  // namespace

// ---------------------------------------------------------------------------
// Real statistics

double TVec::Mean() const {
  if (FComplex) RaiseError(kComplex);
  if (FLength == 0) return 0.0;
  return spl::nspdMean(Values(), FLength);
}

void TVec::Mean(double& AMean, std::int32_t Index, std::int32_t Len) const {
  AMean = 0.0;
  if (Len == 0) return;
  if (Exceeds(Index, Len, FLength)) RaiseError("Index+Len > Length");
  RefuseNegative(Index, Len);
  if (FComplex) RaiseError(kComplex);
  AMean = spl::nspdMean(Values() + Index, Len);
}

double TVec::Sum() const {
  if (FLength == 0) return NAN;
  if (FComplex) RaiseError(kComplex);
  return spl::nspdMean(Values(), FLength) * FLength;
}

void TVec::Sum(double& ASum, std::int32_t Index, std::int32_t Len) const {
  if (Len == 0) return;
  if (Len < 0 || Index < 0) return;
  if (FConditionCheck) {
    if (Exceeds(Index, Len, FLength)) RaiseError("Index+Len > Length");
    if (FComplex) RaiseError(kComplex);
  }
  // Unchecked, a complex vector is summed as its doubles; the window must
  // still lie within them.
  if (Exceeds(Index, Len, DoubleLength())) RaiseError("Sum: window outside the vector");
  ASum = spl::nspdMean(Values() + Index, Len) * Len;
}

void TVec::Product(double& AProduct, std::int32_t Index, std::int32_t Len) const {
  AProduct = 0.0;
  if (Len == 0) return;
  if (Exceeds(Index, Len, FLength)) RaiseError("Index+Len > Length");
  RefuseNegative(Index, Len);
  if (FComplex) RaiseError(kComplex);
  const double* x = Values() + Index;
  double p = x[0];
  for (std::int32_t i = 1; i < Len; ++i) p *= x[i];
  AProduct = p;
}

double TVec::RealRMS(std::int32_t Index, std::int32_t Len) const {
  if (Exceeds(Index, Len, FLength)) RaiseError("Len+Index > Length");
  RefuseNegative(Index, Len);
  if (Len == 0) return NAN;
  if (FComplex) RaiseError(kComplex);
  TCachedVec squares;
  squares->Size(Len, false);
  squares->Sqr(*this, Index, 0, Len);
  return std::sqrt(squares->Sum() / Len);
}

double TVec::NormL2() const {
  if (FLength == 0) return NAN;
  return FComplex ? spl::nspzNorm(AsSpl(CValues()), nullptr, FLength, spl::NSP_L2)
                  : spl::nspdNorm(Values(), nullptr, FLength, spl::NSP_L2);
}

double TVec::Max() const {
  if (FLength == 0) return NAN;
  if (FComplex) RaiseError(kComplex);
  return spl::nspdMax(Values(), FLength);
}

double TVec::Min() const {
  if (FLength == 0) return NAN;
  if (FComplex) RaiseError(kComplex);
  return spl::nspdMin(Values(), FLength);
}

void TVec::MaxIdx(double& AMax, std::int32_t& AIndex) const {
  if (FLength == 0) return;
  if (FComplex) RaiseError(kComplex);
  int index = 0;
  AMax = spl::nspdMaxExt(Values(), FLength, index);
  AIndex = index;
}

void TVec::MinIdx(double& AMin, std::int32_t& AIndex) const {
  if (FLength == 0) {
    AMin = NAN;
    AIndex = 0;
    return;
  }
  if (FComplex) RaiseError(kComplex);
  int index = 0;
  AMin = spl::nspdMinExt(Values(), FLength, index);
  AIndex = index;
}

namespace {

template <class Ext>
void RangeExtreme(const TVec& v, double& value, std::int32_t& position, std::int32_t index, std::int32_t len,
                  Ext ext) {
  if (v.Complex()) RaiseError(kComplex);
  if (Exceeds(index, len, v.Length())) RaiseError("Len+Index > Length");
  if (len <= 0) {
    value = NAN;
    position = -1;
    return;
  }
  RefuseNegative(index, len);
  int at = 0;
  value = ext(v.Values() + index, len, at);
  position = index + at;
}

}  // namespace

void TVec::MaxIdx(double& AMax, std::int32_t& AIndex, std::int32_t Index, std::int32_t Len) const {
  RangeExtreme(*this, AMax, AIndex, Index, Len, spl::nspdMaxExt);
}

void TVec::MinIdx(double& AMin, std::int32_t& AIndex, std::int32_t Index, std::int32_t Len) const {
  RangeExtreme(*this, AMin, AIndex, Index, Len, spl::nspdMinExt);
}

// ---------------------------------------------------------------------------
// Complex statistics

void TVec::CMean(TCplx& AMean, std::int32_t Index, std::int32_t Len) const {
  AMean = C_ZERO;
  if (Len <= 0 || Index < 0) return;
  if (Exceeds(Index, Len, FLength)) RaiseError("Index + Len > Length");
  if (!FComplex) RaiseError("Complex = False");
  const TCplx* z = CValues() + Index;
  TCplx sum = z[0];
  for (std::int32_t i = 1; i < Len; ++i) sum = CAdd(sum, z[i]);
  AMean = CDivReal(sum, Len);
}

void TVec::CMean(TCplx& AMean) const { CMean(AMean, 0, FLength); }

void TVec::CSum(TCplx& ASum) const {
  CMean(ASum);
  ASum.Re *= FLength;
  ASum.Im *= FLength;
}

namespace {

// Among equal magnitudes, MaxMag keeps the largest phase angle and MinMag
// the smallest; complete ties keep the earlier element.
std::int32_t MagSearch(const TVec& v, TCplx& value, std::int32_t index, std::int32_t len, bool largest) {
  if (!v.Complex()) RaiseError("Complex = False");
  if (Exceeds(index, len, v.Length())) RaiseError("Len+Index > Length");
  if (len <= 0) {
    value = CNAN;
    return 0;
  }
  RefuseNegative(index, len);
  TCachedVec power;
  power->Size(len, false);
  spl::nspzbPowerSpectr(AsSpl(v.CValues() + index), power->Values(), len);
  const double* p = power->Values();
  const TCplx* z = v.CValues() + index;
  std::int32_t best = 0;
  for (std::int32_t i = 0; i < len; ++i) {
    bool take;
    if (p[i] != p[best]) {
      take = largest ? p[i] > p[best] : p[i] < p[best];
    } else {
      const int qi = Quadrant(z[i]), qb = Quadrant(z[best]);
      if (qi != qb)
        take = largest ? qi > qb : qi < qb;
      else if (qi <= 2)
        take = largest ? z[i].Re > z[best].Re : z[i].Re < z[best].Re;
      else
        take = largest ? z[i].Re < z[best].Re : z[i].Re > z[best].Re;
    }
    if (take) best = i;
  }
  value = z[best];
  return index + best;
}

}  // namespace

std::int32_t TVec::MaxMag(TCplx& AValue, std::int32_t Index, std::int32_t Len) const {
  return MagSearch(*this, AValue, Index, Len, true);
}

std::int32_t TVec::MinMag(TCplx& AValue, std::int32_t Index, std::int32_t Len) const {
  return MagSearch(*this, AValue, Index, Len, false);
}

}  // namespace numeric

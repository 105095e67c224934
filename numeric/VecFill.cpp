// TVec fill routines: a complex constant, a complex array, arithmetic
// sequences and unit phasors in place.
// Tested by: numeric/tests/VecFillTest.cpp
#include <algorithm>
#include <cstdint>
#include <optional>

#include "numeric/Numora.h"
#include "platform/spl/VectorKernels.h"

namespace numeric {

TVec& TVec::SetVal(const TCplx& Value) {
  const std::optional<TCplx> bin = KnownHalfRateBin();
  if (FLength > 0) {
    if (FComplex)
      spl::nspzbSet(spl::DCplx{Value.Re, Value.Im}, reinterpret_cast<spl::DCplx*>(CValues()), FLength);
    else
      spl::nspdbSet(Value.Re, Values(), FLength);
  }
  return CarryHalfRateBin(bin, bin, [&Value](TVec& out, const TVec&, const TVec&) { out.SetVal(Value); });
}

TVec& TVec::SetCplxArray(std::span<const TCplx> A) {
  Size(static_cast<std::int32_t>(A.size()), true);
  std::copy(A.begin(), A.end(), CValues());
  return *this;
}

namespace {

// Each element from its own index, never by a running sum, so that element i
// is Offset + i Step rounded once.
void FillRamp(TVec& v, double offset, double step, std::int32_t index, std::int32_t len) {
  for (std::int32_t i = 0; i < len; ++i) {
    const double value =
        static_cast<double>(static_cast<long double>(offset) + static_cast<long double>(i) * step);
    if (v.Complex())
      v.CValues()[index + i] = TCplx{value, 0.0};
    else
      v.Values()[index + i] = value;
  }
}

}  // namespace

TVec& TVec::Ramp(double Offset, double Step) {
  FillRamp(*this, Offset, Step, 0, FLength);
  return *this;
}

TVec& TVec::Ramp(double Offset, double Step, std::int32_t Index, std::int32_t Len) {
  if (static_cast<std::int64_t>(Index) + Len > FLength) RaiseError("Index+Len > fLength");
  // A negative window would write in front of the data.
  if (Index < 0 || Len < 0) RaiseError("(Len < 0) or (Index < 0)");
  FillRamp(*this, Offset, Step, Index, Len);
  return *this;
}

TVec& TVec::Expj() {
  if (FComplex) RaiseError("Complex = True");
  TCachedVec angles;
  angles->Copy(*this);
  return Expj(*angles);
}

}  // namespace numeric
